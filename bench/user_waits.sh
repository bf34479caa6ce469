#!/usr/bin/env bash
# user_waits.sh [ROUNDS]: what the user waits for in the Windows build under Wine, with its floors,
# in one run, for catalogues of 10, 1,000 and 10,000 loopback servers: start to the login window
# beside a bare window, the start button to a filled list (bench_startup), the fill beside a bare
# list view and the reachability pass with clicks during it (bench_fill_list), and fping over the
# same addresses (pass_floor.sh). Needs the win32 tree with the two benchmarks built:
#   scripts/build win32 bench_startup bench_fill_list
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-5}
tree="$root/build/win32"
locations="$root/build/node/node_modules/lib-qqwry/data/qqwry.dat"
windows_name() { printf 'Z:%s' "$1" | tr / '\\'; }
for file in "$tree/bench/bench_startup.exe" "$tree/bench/bench_fill_list.exe" "$tree/src/Lumora.exe" \
  "$locations"; do
  [[ -f "$file" ]] || { echo "user_waits.sh: $file is missing (see the header)" >&2; exit 2; }
done
# The program as it ships: stripped of its debug information (scripts/release does the same),
# which a start under Wine would otherwise spend some 30 ms mapping.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
i686-w64-mingw32-strip -o "$work/Lumora.exe" "$tree/src/Lumora.exe"
cd "$tree"
run() { "$root/scripts/with-display" "$root/scripts/wine-run" "$@" 2>/dev/null | tr -d '\r'; }
echo "$(date -u '+%Y-%m-%d %H:%M') UTC, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
for servers in 10 1000 10000; do
  echo "=== $servers servers"
  run bench/bench_startup.exe "$(windows_name "$work/Lumora.exe")" $((rounds * 2)) "$servers" \
    "$(windows_name "$locations")"
  # Each round of the fill waits for its pass: over 10,000 rows that is most of the run.
  run bench/bench_fill_list.exe "$(windows_name "$locations")" "$servers" \
    $((servers >= 10000 ? (rounds + 1) / 2 : rounds))
  bash "$root/bench/pass_floor.sh" "$servers"
done
