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

# The Windows program: started under Wine when an X display is at hand, after the samples.
tabrix_exe="$BUILD_ROOT/windows/app/tabrix.exe"
[ -f "$tabrix_exe" ] || build_windows
run_dir="$BUILD_ROOT/tabrix-run"   # its current directory, where settings.ini is kept
mkdir -p "$run_dir"
if [ -n "${DISPLAY:-}" ] && command -v xdpyinfo >/dev/null && xdpyinfo >/dev/null 2>&1; then
    wine_env
    say "starting tabrix.exe under Wine on $DISPLAY (settings.ini in $run_dir)"
    (cd "$run_dir" && exec setsid wine "$tabrix_exe") </dev/null >/dev/null 2>&1 &
    if ! command -v xdotool >/dev/null; then
        echo "tabrix.exe started: drop log files or folders on its window; close it with 終了."
    elif timeout 30 xdotool search --sync --onlyvisible --name 'V0.2R10' >/dev/null 2>&1; then
        echo "tabrix.exe is running: drop log files or folders on its window; close it with 終了."
    else
        echo "tabrix.exe showed no window within 30 seconds" >&2
        status=1
    fi
else
    say "no X display: how to start the Windows program"
    echo "  on Windows: copy $tabrix_exe anywhere and start it (settings.ini goes to its current folder)"
    echo "  on a Linux desktop: cd $run_dir && WINEPREFIX=$BUILD_ROOT/wineprefix LANG=ja_JP.UTF-8 wine $tabrix_exe"
fi
exit "$status"
