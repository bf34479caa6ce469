#!/bin/sh
# Memory and time of `lumoractl catalogue import` of a large CSV into a new catalogue, measured by
# /usr/bin/time -v. Run by hand: bench/import_memory.sh [MEGABYTES] (default 50), after
# `scripts/build native lumoractl`.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
ctl=${LUMORACTL:-$root/build/native/tools/lumoractl/lumoractl}
megabytes=${1:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

awk 'BEGIN {
  print "服务器名,端口,用户名,密码,域,备注"
  for (i = 0; i < 16000000; i++)
    printf "\"10.%d.%d.%d\",\"3389\",\"管理员\",\"password-%d\",,\"机房%d号机柜 第%d排\"\n",
           int(i / 65536) % 256, int(i / 256) % 256, i % 256, i, i, i % 40
}' | head -c $((megabytes * 1048576)) | sed '$d' >"$work/servers.csv"
rows=$(($(wc -l <"$work/servers.csv") - 1))
"$ctl" catalogue create "$work/import.mdb"
/usr/bin/time -v "$ctl" catalogue import "$work/import.mdb" "$work/servers.csv" \
  >"$work/out" 2>"$work/time"
echo "CSV: $(wc -c <"$work/servers.csv") bytes, $rows rows; $(cat "$work/out")"
grep -E "Maximum resident set size|Elapsed" "$work/time"
echo "catalogue: $(wc -c <"$work/import.mdb") bytes"
"$ctl" catalogue check "$work/import.mdb" | tail -n 1
