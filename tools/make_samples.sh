#!/usr/bin/env bash
# Regenerates the bundled sample logs with loggen ($1: the loggen program).
set -euo pipefail
loggen="${1:?usage: make_samples.sh path/to/loggen}"
samples="$(cd "$(dirname "$0")/../samples" && pwd)"
"$loggen" --records 60 --seed 1 "$samples/20130501_0001_w.bin"
"$loggen" --energy --records 48 --seed 2 --interval 1800 --zero-every 10 "$samples/20130501_0001_wh.bin"
"$loggen" --outlets 1 --records 30 --seed 3 --start 1367452800 --trailing 7 "$samples/1p_20130501_0002_w.bin"
