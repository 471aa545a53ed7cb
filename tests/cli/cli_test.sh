#!/bin/sh
# Golden tests of tabrix-convert: lines, files, exit status and settings.ini.
#   cli_test.sh PROGRAM [wine]
# With "wine" the Windows program runs under Wine; its lines are then code page
# 932 and its own lines end in CR LF.
set -u
program="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
mode="${2:-native}"
failures=0
scratch="$(mktemp -d "${TMPDIR:-/tmp}/tbxcli.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1

run() {
    if [ "$mode" = wine ]; then wine "$program" "$@"; else "$program" "$@"; fi
}
# The expected bytes of a text written in UTF-8 with \r\n for the job lines and
# \n for the program's own line ends.
expect_text() {
    if [ "$mode" = wine ]; then
        printf "$1" | sed 's/$/\r/; s/\r\r$/\r/' | iconv -f UTF-8 -t CP932
    else
        printf "$1"
    fi
}
check() {  # check NAME CONDITION-RESULT
    if [ "$2" -ne 0 ]; then echo "FAIL: $1"; failures=$((failures + 1)); else echo "ok: $1"; fi
}
# A small power log: a zero header and two records.
mklog() {
    mkdir -p "$(dirname "$1")"
    { head -c 232 /dev/zero
      printf '\121\200\157\000\000\012\000\013\000\014\000\015\027\160\007\010\200\144\000\000'
      printf '\121\200\157\074\000\012\000\013\000\014\000\015\027\160\007\010\000\144\000\000'
    } > "$1"
}

# Usage errors: status 2, one line on standard error, nothing converted.
run > out.txt 2> err.txt; status=$?
check "no path: status 2" $([ $status -eq 2 ]; echo $?)
check "no path: one line on stderr" $([ "$(wc -l < err.txt)" -eq 1 ] && [ ! -s out.txt ]; echo $?)
run --frobnicate x_w.bin > out.txt 2> err.txt; status=$?
check "unknown option: status 2" $([ $status -eq 2 ] && [ "$(wc -l < err.txt)" -eq 1 ]; echo $?)
run --dest > out.txt 2> err.txt; status=$?
check "--dest without value: status 2" $([ $status -eq 2 ]; echo $?)
run --version > out.txt; status=$?
check "--version" $([ $status -eq 0 ] && expect_text "tabrix-convert V0.2R10\n" | cmp -s - out.txt; echo $?)
run --help > out.txt; status=$?
check "--help" $([ $status -eq 0 ] && grep -q -- "--no-overwrite" out.txt; echo $?)

# One drop in the order given: a file, a folder, a file, a file that is not a
# log, a path that does not exist (reported in its place, counted as failed)
# and a last file.
mklog x_w.bin
mklog logs/sub/z1p_w.bin
printf 'not a log' > logs/notes.txt
mklog y_wh.bin
printf 'text' > notes.txt
mklog w_w.bin
run --dest out x_w.bin logs y_wh.bin notes.txt missing_w.bin w_w.bin > out.txt 2> err.txt; status=$?
expect_text " x_w.bin 変換開始⇒完了\r\n z1p_w.bin 変換開始⇒完了\r\n y_wh.bin 変換開始⇒完了\r\n missing_w.bin 見つかりません\n w_w.bin 変換開始⇒完了\r\n完了 4 件, 失敗 1 件\n" > want.txt
check "drop: lines" $(cmp -s want.txt out.txt; echo $?)
check "drop: status 1 for the missing path" $([ $status -eq 1 ]; echo $?)
check "drop: files" $([ -f out/x_w.csv ] && [ -f out/logs/sub/z1p_w.csv ] && [ -f out/y_wh.csv ] \
    && [ -f out/w_w.csv ] && [ "$(find out -type f | wc -l)" -eq 4 ]; echo $?)
check "drop: settings.ini not written" $([ ! -e settings.ini ]; echo $?)
run --dest source x_w.bin > out.txt; status=$?
check "beside the log, status 0" $([ $status -eq 0 ] && cmp -s x_w.csv out/x_w.csv; echo $?)

# settings.ini of the current folder gives the defaults; options win over it.
printf '[setting]\r\ntype=2\r\ndir=fromini\r\noverwr=0\r\n' > settings.ini
cp settings.ini settings.before
run x_w.bin > out.txt && run x_w.bin > out.txt
check "settings.ini: chosen folder, numbered names" $([ -f fromini/x_w.csv ] && [ -f fromini/x_w_1.csv ]; echo $?)
run --overwrite x_w.bin > out.txt
check "--overwrite over overwr=0" $([ ! -e fromini/x_w_2.csv ]; echo $?)
run --dest=other --no-overwrite x_w.bin x_w.bin > out.txt
check "--dest=DIR and --no-overwrite" $([ -f other/x_w.csv ] && [ -f other/x_w_1.csv ]; echo $?)
check "settings.ini never written" $(cmp -s settings.ini settings.before; echo $?)

# A failed conversion: a file stands where the output folder must go.
printf 'x' > blocked
run --dest blocked/deeper y_wh.bin > out.txt; status=$?
expect_text " y_wh.bin 変換開始⇒失敗(作成不可)\r\n完了 0 件, 失敗 1 件\n" > want.txt
check "failure: line and status 1" $([ $status -eq 1 ] && cmp -s want.txt out.txt; echo $?)

# Nothing to convert is not a failure.
run notes.txt > out.txt; status=$?
expect_text "完了 0 件, 失敗 0 件\n" > want.txt
check "no log file: status 0" $([ $status -eq 0 ] && cmp -s want.txt out.txt; echo $?)

[ $failures -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
