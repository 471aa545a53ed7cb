#!/usr/bin/env bash
# Runs the converter's fuzz target for a bounded time ($2 seconds, 30 by
# default, at most 60), seeded with the sample logs. $1: the fuzz build folder.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: run_fuzz.sh FUZZ_BUILD_DIR [SECONDS]}"
seconds="${2:-30}"
((seconds > 60)) && seconds=60
target="$build/fuzz/fuzz_convert"
if [ ! -x "$target" ]; then
    echo "run_fuzz.sh: $target is missing; build the fuzz flavour first" >&2
    exit 1
fi
work="$(mktemp -d "${TMPDIR:-/tmp}/tabrix-fuzz-run.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/tmp" "$build/fuzz-artifacts"
cp "$here"/../samples/*.bin "$work/corpus/"
# A header alone, and a header with a trailing piece, as further seeds.
head -c 232 "$here/../samples/20130501_0001_w.bin" >"$work/corpus/header_only"
head -c 263 "$here/../samples/20130501_0001_w.bin" >"$work/corpus/trailing_piece"
echo "== fuzzing convertLogToCsv for ${seconds}s"
status=0
TMPDIR="$work/tmp" timeout $((seconds + 30)) "$target" -max_total_time="$seconds" -timeout=10 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" "$work/corpus" \
    >"$work/fuzz.log" 2>&1 || status=$?
grep -E '^(#[0-9]+ +DONE|Done |stat::number_of_executed_units|==[0-9]+==|SUMMARY|CSV differs|conversion of)' \
    "$work/fuzz.log" || true
if [ "$status" != 0 ]; then tail -n 40 "$work/fuzz.log" >&2; fi
if [ "$status" != 0 ]; then
    echo "run_fuzz.sh: the fuzzer failed (status $status); inputs are kept in $build/fuzz-artifacts" >&2
fi
exit "$status"
