#!/usr/bin/env bash
# Converts a generated tree of 10,000 small logs in 100 folders with the native
# tabrix-convert and sets its time beside that of `cp -r` of the same tree.
#   bench_tree.sh BUILD_ROOT
set -euo pipefail
build_root="${1:?usage: bench_tree.sh BUILD_ROOT}"
convert="$build_root/native/cli/tabrix-convert"
loggen="$build_root/native/tools/loggen"
[ -x "$convert" ] || { echo "bench_tree: $convert is not built" >&2; exit 1; }
folders=100
per_folder=100
files=$((folders * per_folder))

work="$(mktemp -d "${TMPDIR:-/tmp}/tbxbench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# One small log (50 records), written into every name of a folder by one tee.
if [ -x "$loggen" ]; then
    "$loggen" --records 50 "$work/one_w.bin" >/dev/null
else
    { head -c 232 /dev/zero
      for i in $(seq 50); do printf '\121\200\157\000\000\012\000\013\000\014\000\015\027\160\007\010\200\144\000\000'; done
    } > "$work/one_w.bin"
fi
for f in $(seq -w 0 $((folders - 1))); do
    mkdir -p "$work/tree/site$f"
    names=()
    for n in $(seq -w 0 $((per_folder - 1))); do names+=("$work/tree/site$f/plug${n}_w.bin"); done
    tee "${names[@]}" < "$work/one_w.bin" >/dev/null
done
sync

now() { date +%s.%N; }
t0=$(now)
cp -r "$work/tree" "$work/copy"
t1=$(now)
"$convert" --dest "$work/out" --overwrite "$work/tree" > "$work/lines.txt"
t2=$(now)

csvs=$(find "$work/out" -name '*.csv' | wc -l)
if [ "$csvs" -ne "$files" ]; then
    echo "bench_tree: expected $files CSV files, found $csvs" >&2
    tail -n 3 "$work/lines.txt" >&2
    exit 1
fi
awk -v f="$files" -v folders="$folders" -v a="$t0" -v b="$t1" -v c="$t2" 'BEGIN {
    cp = b - a; conv = c - b;
    printf "bench_tree: %d logs in %d folders: tabrix-convert %.3f s (%.0f files/s), cp -r %.3f s (%.0f files/s), ratio %.1f\n",
        f, folders, conv, f / conv, cp, f / cp, conv / cp }'
