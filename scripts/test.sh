#!/usr/bin/env bash
# Sets up a fresh machine if needed, builds every flavour and runs every test:
# native, native with ASan+UBSan, the fuzzer for a bounded time, and the
# Windows build under Wine (with its windows drawn on a private Xvfb).
set -euo pipefail
source "$(dirname "$0")/common.sh"
ensure_packages

build_native
build_asan
build_windows
build_fuzz

failed=0
run_ctest() {
    local name="$1"
    say "tests: $name"
    ctest --test-dir "$BUILD_ROOT/$name" --output-on-failure --timeout 300 || failed=1
}

run_ctest native
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest asan

say "fuzzing the converter (bounded)"
"$TABRIX_ROOT/fuzz/run_fuzz.sh" "$BUILD_ROOT/fuzz" || failed=1

wine_env
start_xvfb
trap 'stop_xvfb; wine_stop' EXIT
run_ctest windows
mkdir -p "$BUILD_ROOT/artifacts"

say "benchmark"
"$TABRIX_ROOT/bench/run_bench.sh" "$BUILD_ROOT" || failed=1

if [ "$failed" = 0 ]; then say "all tests passed"; else say "some tests FAILED"; fi
exit "$failed"
