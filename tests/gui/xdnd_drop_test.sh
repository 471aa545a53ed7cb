#!/usr/bin/env bash
# Drops real files and a folder onto the running tabrix.exe from the X side, like a Linux
# file manager, then checks the CSV files on disk and the log box; closes the window by its
# close box and leaves a screenshot in the artifacts folder.
#   xdnd_drop_test.sh TABRIX_EXE PROBE_EXE ARTIFACTS_DIR
# Needs DISPLAY (Xvfb), the Wine prefix of the scripts (WINEPREFIX, LANG=ja_JP.UTF-8), xdotool,
# ImageMagick and a C compiler with libX11 (or XDND_DROP naming a built drag source).
set -uo pipefail
tabrix_exe="$1"; probe_exe="$2"; artifacts="$3"
here="$(cd "$(dirname "$0")" && pwd)"

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "SKIP: no X display"; exit 77
fi

work="$(mktemp -d /tmp/tabrix-xdnd.XXXXXX)"
tabrix_pid=""
cleanup() {
    if [ -n "$tabrix_pid" ] && kill -0 "$tabrix_pid" 2>/dev/null; then
        timeout 10 wine "$probe_exe" exit >/dev/null 2>&1
        sleep 1
        kill "$tabrix_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    if [ -n "$tabrix_pid" ]; then
        echo "log box:"; timeout 10 wine "$probe_exe" log 2>&1 | sed 's/^/  | /'
    fi
    exit 1
}

# A device log: 232-byte header (host name "gateway", power log, port 1) and one 20-byte record.
write_log() {
    {
        printf 'gateway'; head -c 25 /dev/zero
        printf '\x01'; head -c 11 /dev/zero; printf '\x01\x01'; head -c 3 /dev/zero
        printf 'port'; head -c 179 /dev/zero
        printf '\x00\x00\x0e\x10\x00\x01\x00\x00\x00\x64\xff\xff\x17\x70\x09\xe6\x80\x64\x00\x00'
    } >"$1"
    [ "$(stat -c %s "$1")" = 252 ] || fail "test log $1 has the wrong size"
}

mkdir -p "$work/data/logs/sub" "$work/other/deep" "$work/out" "$work/run"
write_log "$work/data/a_w.bin"
write_log "$work/data/logs/b_wh.bin"
write_log "$work/data/logs/sub/c_w.bin"
write_log "$work/other/deep/d_wh.bin"
echo "not a log" >"$work/data/logs/notes.txt"
# The chosen folder: the dropped folder's name must survive, or its files land beside it.
winout="Z:$(echo "$work/out" | tr / '\\')"
printf '[setting]\r\ntype=2\r\ndir=%s\r\noverwr=1\r\n' "$winout" >"$work/run/settings.ini"

drop_tool="${XDND_DROP:-}"
if [ -z "$drop_tool" ]; then
    drop_tool="$work/xdnd_drop"
    cc -O2 -o "$drop_tool" "$here/xdnd_drop.c" -lX11 || fail "cannot build the drag source"
fi

(cd "$work/run" && exec wine "$tabrix_exe") &
tabrix_pid=$!
timeout 30 wine "$probe_exe" wait || fail "tabrix.exe showed no window with its usage text"
wid="$(timeout 20 xdotool search --sync --onlyvisible --name 'V0.2R10' | head -n 1)"
[ -n "$wid" ] || fail "no X window named like the caption"
eval "$(xdotool getwindowgeometry --shell "$wid")"
echo "window $wid at $X,$Y size ${WIDTH}x$HEIGHT"

# Into the log box, near the top of the window: a file, a folder, and a folder named with a
# trailing slash, which reaches the program with a trailing backslash.
timeout 40 "$drop_tool" $((X + WIDTH / 2)) $((Y + HEIGHT / 4)) \
    "$work/data/a_w.bin" "$work/data/logs" "$work/other/deep/" || fail "the drop was not taken"

expect_csv() {
    local csv="$1"
    for _ in $(seq 1 100); do [ -s "$csv" ] && break; sleep 0.1; done
    [ -s "$csv" ] || fail "missing $csv"
    local row; row="$(printf '1970/01/01,01:00:00, on,0001,0000,0100,65535,100,60.00,25.34,\r\n' | od -An -tx1)"
    [ "$(tail -c 63 "$csv" | od -An -tx1)" = "$row" ] || fail "wrong last row in $csv"
    head -c 18 "$csv" | grep -q '^hostname,gateway,' || fail "wrong first line in $csv"
}
expect_csv "$work/out/a_w.csv"
expect_csv "$work/out/logs/b_wh.csv"
expect_csv "$work/out/logs/sub/c_w.csv"
expect_csv "$work/out/deep/d_wh.csv"
[ ! -e "$work/out/b_wh.csv" ] || fail "the dropped folder lost its name"
[ ! -e "$work/out/logs/notes.csv" ] || fail "a file that is not a log was converted"

log="$(timeout 20 wine "$probe_exe" log)" || fail "cannot read the log box"
for line in " a_w.bin 変換開始⇒完了" " b_wh.bin 変換開始⇒完了" " c_w.bin 変換開始⇒完了" " d_wh.bin 変換開始⇒完了"; do
    printf '%s' "$log" | grep -qF "$line" || { printf '%s\n' "$log"; fail "log box lacks: $line"; }
done
printf '%s' "$log" | head -n 1 | grep -qF "・RK-3890HB" || fail "log box lost its usage text"
[ "$(printf '%s' "$log" | grep -c '変換開始')" = 4 ] || { printf '%s\n' "$log"; fail "not four progress lines"; }

# The window as it looks now, caption included.
mkdir -p "$artifacts"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$artifacts/tabrix-window.png" \
    || fail "no screenshot"
echo "screenshot: $artifacts/tabrix-window.png"

# The close box at the right end of the caption that Wine draws.
xdotool mousemove $((X + WIDTH - 12)) $((Y + 12)) click 1
for _ in $(seq 1 100); do kill -0 "$tabrix_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$tabrix_pid" 2>/dev/null; then fail "the close box did not end tabrix.exe"; fi
wait "$tabrix_pid"; code=$?
tabrix_pid=""
[ "$code" = 0 ] || fail "tabrix.exe ended with exit code $code"
[ "$(sed -n 2p "$work/run/settings.ini" | tr -d '\r')" = "type=2" ] || fail "settings.ini changed on the way out"
echo "PASS"
