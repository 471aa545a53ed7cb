#!/usr/bin/env bash
# Sets up a fresh machine if needed, builds, and converts the bundled sample logs.
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_packages
build_native
build_windows
"$TABRIX_ROOT/scripts/main_job.sh"
