#!/usr/bin/env bash
# pass_floor.sh [SERVERS]: the floor for a reachability pass over SERVERS loopback addresses (the
# ones bench_fill_list puts in its catalogue): fping sending one echo to each, one every 1 ms
# (-i1) and as fast as it may (-i0, root only). Prints the wall time of each.
set -u
count=${1:-10000}
command -v fping >/dev/null || { echo "needs fping" >&2; exit 2; }
hosts="$(mktemp)"
trap 'rm -f "$hosts"' EXIT
for ((i = 0; i < count; i++)); do
  echo "127.$((i / 65536 % 256)).$((i / 256 % 256)).$((i % 256 == 0 ? 1 : i % 256))"
done | sort -u >"$hosts"
echo "$(wc -l <"$hosts") distinct loopback addresses"
for interval in 1 0; do
  start=$(date +%s%N)
  if fping -q -c1 -i"$interval" -f "$hosts" >/dev/null 2>&1 || [[ $? -le 1 ]]; then
    echo "fping -c1 -i$interval: $((($(date +%s%N) - start) / 1000000)) ms"
  else
    echo "fping -c1 -i$interval: refused here"
  fi
done
