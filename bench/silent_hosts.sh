#!/usr/bin/env bash
# silent_hosts.sh [SERVERS]: the reachability pass when half the servers never answer, beside
# fping on the same addresses. Makes its own test hosts: a network namespace behind a veth pair,
# whose side holds the first half of the addresses (those answer); the second half is in the same
# subnet but held by nobody (the neighbour lookup fails and no echo ever comes back). No packet
# leaves the machine. Needs root (ip netns), fping and the win32 tree with bench_fill_list built.
# What bounds it: at most 30 probes in flight, each silent one waiting its full 2 s.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-1000}
[[ $EUID -eq 0 ]] || { echo "silent_hosts.sh: needs root for its network namespace" >&2; exit 2; }
tree="$root/build/win32"
[[ -f "$tree/bench/bench_fill_list.exe" ]] || { echo "build bench_fill_list first" >&2; exit 2; }

ns="lumora-silent-$$"
here="ls$$a" there="ls$$b"
work=$(mktemp -d)
cleanup() {
  ip link del "$here" 2>/dev/null || true
  ip netns del "$ns" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
ip netns add "$ns"
ip link add "$here" type veth peer name "$there"
ip link set "$there" netns "$ns"
ip addr add 10.213.0.1/16 dev "$here"
ip link set "$here" up
ip -n "$ns" link set lo up
ip -n "$ns" link set "$there" up

half=$((count / 2))
for ((i = 0; i < count; i++)); do
  address="10.213.$((1 + i / 250)).$((1 + i % 250))"
  echo "$address" >>"$work/hosts.txt"
  if ((i < half)); then
    ip -n "$ns" addr add "$address/16" dev "$there"
  fi
done
echo "$count addresses of test hosts in $ns, $half of them answering"

windows_name() { printf 'Z:%s' "$1" | tr / '\\'; }
locations="$root/build/node/node_modules/lib-qqwry/data/qqwry.dat"
cd "$tree"
"$root/scripts/with-display" "$root/scripts/wine-run" bench/bench_fill_list.exe \
  "$(windows_name "$locations")" "$count" 1 "$(windows_name "$work/hosts.txt")" 2>/dev/null |
  tr -d '\r' | grep -E "reachability pass|clicks during"
for interval in 1 0; do
  start=$(date +%s%N)
  fping -q -c1 -t2000 -i"$interval" -f "$work/hosts.txt" >/dev/null 2>&1 || true
  echo "fping -c1 -t2000 -i$interval: $((($(date +%s%N) - start) / 1000000)) ms"
done
echo "bound: $((count - half)) silent servers, 30 at a time, 2 s each: $(((count - half + 29) / 30 * 2)) s"
