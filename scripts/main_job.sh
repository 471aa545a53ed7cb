#!/usr/bin/env bash
# The main job: converts the bundled sample logs with the native tabrix-convert
# into a fresh output folder, and shows the lines, the CSV files and one of them.
set -euo pipefail
source "$(dirname "$0")/common.sh"
convert="$BUILD_ROOT/native/cli/tabrix-convert"
[ -x "$convert" ] || build_native
out="$BUILD_ROOT/samples-out"
rm -rf "$out"

say "tabrix-convert --dest $out $TABRIX_ROOT/samples"
# The folder is rebuilt under the destination: $out/samples/*.csv.
status=0
"$convert" --dest "$out" --overwrite "$TABRIX_ROOT/samples" | tr -d '\r' || status=$?

say "CSV files"
find "$out" -name '*.csv' -printf '%P  (%s bytes)\n' | sort
first="$(find "$out" -name '*.csv' | sort | head -n 1)"
if [ -n "$first" ]; then
    say "the first lines of ${first#$out/}"
    head -n 10 "$first" | iconv -f CP932 -t UTF-8 2>/dev/null | tr -d '\r' || head -n 10 "$first"
fi
exit "$status"
