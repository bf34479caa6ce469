#!/bin/sh
# lumoractl catalogue import against one `catalogue add` per row, and catalogue export against
# mdb-export on the imported file. Run by hand: bench/import_bench.sh [ROWS] [ADD-ROWS]
# (after `scripts/build native lumoractl`). ROWS defaults to 10,000; ADD-ROWS, the rows added
# one at a time, to ROWS.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
ctl=${LUMORACTL:-$root/build/native/tools/lumoractl/lumoractl}
rows=${1:-10000}
add_rows=${2:-$rows}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

now() { date +%s.%N; }
seconds() { echo "$2 - $1" | bc; }

awk -v rows="$rows" 'BEGIN {
  print "服务器名,端口,用户名,密码,域,备注"
  for (i = 0; i < rows; i++)
    printf "\"127.%d.%d.%d\",\"3389\",\"管理员\",\"pw%d\",,\"机房%d号机柜\"\n",
           int(i / 65536) % 256, int(i / 256) % 256, i % 256 + 1, i, i
}' >"$work/servers.csv"

"$ctl" catalogue create "$work/import.mdb"
start=$(now)
"$ctl" catalogue import "$work/import.mdb" "$work/servers.csv" >/dev/null
import_s=$(seconds "$start" "$(now)")

"$ctl" catalogue create "$work/add.mdb"
head -n $((add_rows + 1)) "$work/servers.csv" | tail -n +2 | tr -d '"' >"$work/add.txt"
start=$(now)
while IFS=, read -r host port user password domain remark; do
  "$ctl" catalogue add "$work/add.mdb" "$host" --port "$port" --user "$user" \
    --password "$password" --remark "$remark" >/dev/null
done <"$work/add.txt"
add_s=$(seconds "$start" "$(now)")

start=$(now)
"$ctl" catalogue export "$work/import.mdb" >"$work/ours.csv"
export_s=$(seconds "$start" "$(now)")
start=$(now)
mdb-export "$work/import.mdb" Server >"$work/theirs.csv"
mdb_s=$(seconds "$start" "$(now)")
cmp -s "$work/ours.csv" "$work/theirs.csv" && same=yes || same=no

printf 'import of %d rows: %.2f s, %.0f rows/s\n' "$rows" "$import_s" "$(echo "$rows / $import_s" | bc -l)"
printf 'catalogue add, %d rows one at a time: %.2f s, %.0f rows/s (%.1fx the import per row)\n' \
  "$add_rows" "$add_s" "$(echo "$add_rows / $add_s" | bc -l)" \
  "$(echo "($add_s / $add_rows) / ($import_s / $rows)" | bc -l)"
printf 'export of %d rows: %.3f s; mdb-export: %.3f s (%.1fx ours); outputs identical: %s\n' \
  "$rows" "$export_s" "$mdb_s" "$(echo "$mdb_s / $export_s" | bc -l)" "$same"
