#!/usr/bin/env bash
# Runs every benchmark against the builds under BUILD_ROOT ($1).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build_root="${1:-$here/../build}"
status=0
for b in "$here"/bench_*.sh; do
    [ -x "$b" ] || continue
    "$b" "$build_root" || status=1
done
exit $status
