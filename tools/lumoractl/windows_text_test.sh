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

# Standard output is written byte for byte: a remark with line breaks comes out of export with LF
# alone inside its quotes, and imports again as it was (a 249-character remark, 10 line breaks).
remark=$(awk 'BEGIN { for (i = 0; i < 10; i++) printf "第%d行备注内容写在这里abcdefghijkl\n", i; printf "结尾结尾结尾结尾结" }')
printf '服务器名,备注\n"127.0.0.8","%s"\n' "$remark" >"$work/lines.csv"
run catalogue create "Z:$work/lines.mdb" >/dev/null
"$wine_run" "$ctl" catalogue import "Z:$work/lines.mdb" "Z:$work/lines.csv" >/dev/null
"$wine_run" "$ctl" catalogue export "Z:$work/lines.mdb" >"$work/exported.csv"
if tr -d '\n' <"$work/exported.csv" | grep -q "$(printf '\r')"; then
  echo "export wrote CR bytes" >&2
  exit 1
fi
run catalogue create "Z:$work/again.mdb" >/dev/null
"$wine_run" "$ctl" catalogue import "Z:$work/again.mdb" "Z:$work/exported.csv" >/dev/null
"$wine_run" "$ctl" catalogue export "Z:$work/again.mdb" >"$work/again.csv"
cmp "$work/exported.csv" "$work/again.csv"
