#!/bin/sh
# lumoractl.exe under Wine in the Chinese locale: windows_text_test.sh WINE-RUN LUMORACTL.EXE
# A Chinese argument arrives through the UTF-16 command line; output into a pipe is in the ANSI
# code page (936, GBK), or in UTF-8 when --encoding says so.
set -eu
wine_run=$1
ctl=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file="Z:$work/c.mdb"
# Into a file, not a pipe: Wine's own processes, which outlive the program while other programs
# of the prefix run, would hold a pipe open.
run() { "$wine_run" "$ctl" "$@" >"$work/out" && tr -d '\r' <"$work/out"; }

run catalogue create "$file"
run catalogue add "$file" 127.0.0.7 --remark '收银台，二楼' >/dev/null
test "$(run catalogue list "$file" | cut -f4 | iconv -f GBK -t UTF-8)" = '收银台，二楼'
test "$(run --encoding utf-8 catalogue list "$file" | cut -f4)" = '收银台，二楼'
run catalogue export "$file" | iconv -f GBK -t UTF-8 | grep -qx '1,"127.0.0.7","3389","Administrator",,,"收银台，二楼"'
