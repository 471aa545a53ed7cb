#!/usr/bin/env bash
# Speed and memory of the converter against a plain fprintf converter.
# $1: the build root holding the native build.
set -euo pipefail
build_root="${1:?usage: bench_convert.sh BUILD_ROOT}"
program="$build_root/native/bench/bench_convert"
if [ ! -x "$program" ]; then
    echo "bench_convert.sh: $program is missing; build the native flavour first" >&2
    exit 1
fi
work="$(mktemp -d "${TMPDIR:-/tmp}/tabrix-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
echo "== converter benchmark"
"$program" "$work"
