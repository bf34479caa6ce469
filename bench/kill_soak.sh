#!/usr/bin/env bash
# kill_soak.sh [TRIALS] [LUMORACTL]: changes of a catalogue killed with SIGKILL at random moments.
#
# Each trial starts one `lumoractl catalogue add`, `modify` (to a longer name, so that the row
# moves), `delete`, or `import` of 20 servers (with or without --replace) on a catalogue of 30, kills it at a random moment within the time the same change takes when left alone, and then reads
# the file the way the next start would: the rows must be exactly those of before or exactly
# those of after the change, `catalogue check` must pass, mdb-export (and mdb-reader, when
# built) must read the same rows, and a further add must work. Run by hand (it depends on timing,
# so it is no test); prints how many kills fell inside a write and which state each left.
set -u
trials=${1:-300}
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ctl=${2:-$root/build/native/tools/lumoractl/lumoractl}
[[ -x "$ctl" ]] || { echo "build lumoractl first: scripts/build native lumoractl" >&2; exit 2; }
command -v mdb-export >/dev/null || { echo "needs mdb-export (mdbtools)" >&2; exit 2; }
reader="$root/tests/services/jet/mdb_reader_dump.mjs"
node_modules="$root/build/node/node_modules"
export LC_ALL=C.UTF-8

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
file="$work/mstsc.mdb"
"$ctl" catalogue create "$work/base.mdb" >/dev/null || exit 1
for i in $(seq 1 30); do
  "$ctl" catalogue add "$work/base.mdb" "10.1.0.$i" --user "u$i" --password "p$i" \
    --remark "第 $i 台" >/dev/null || exit 1
done

rows() { "$ctl" catalogue list "$1" 2>/dev/null | sort; }
cp "$work/base.mdb" "$file"
before="$(rows "$file")"
{
  echo "服务器名,端口,用户名,密码,域,备注"
  for i in $(seq 1 20); do echo "\"10.4.0.$i\",\"3389\",\"u$i\",\"p$i\",,\"导入 $i\""; done
} >"$work/import.csv"

inside=0 lost=0 before_count=0 after_count=0 unreadable=0 failed_checks=0 refused_adds=0 mismatch=0
for trial in $(seq 1 "$trials"); do
  cp "$work/base.mdb" "$file"
  case $((trial % 5)) in
    0) change=(add "$file" "10.2.0.$trial" --user new) ;;
    1) change=(modify "$file" "10.1.0.$((trial % 30 + 1))" --new-host "10.1.0.$((trial % 30 + 1)).a-much-longer-name.lan") ;;
    2) change=(delete "$file" "10.1.0.$((trial % 30 + 1))") ;;
    3) change=(import "$file" "$work/import.csv") ;;
    4) change=(import "$file" "$work/import.csv" --replace) ;;
  esac
  # The same change done whole, for the state after it.
  cp "$work/base.mdb" "$work/whole.mdb"
  start=$(date +%s%N)
  "$ctl" catalogue "${change[0]}" "$work/whole.mdb" "${change[@]:2}" >/dev/null 2>&1
  took_us=$((($(date +%s%N) - start) / 1000))
  after="$(rows "$work/whole.mdb")"
  # The kill falls anywhere in the time the whole change took.
  delay_us=$(((RANDOM * 32768 + RANDOM) % (took_us + 1)))

  "$ctl" catalogue "${change[@]}" >/dev/null 2>&1 &
  pid=$!
  sleep "$(printf '%d.%06d' $((delay_us / 1000000)) $((delay_us % 1000000)))"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  # A journal left behind: the kill fell inside the write itself.
  [[ -e "$file-journal" ]] && inside=$((inside + 1))

  # What the next start sees (a journal left behind is played back on open).
  now="$(rows "$file")"
  if [[ -z "$now" ]]; then
    unreadable=$((unreadable + 1))
  elif [[ "$now" == "$before" ]]; then
    before_count=$((before_count + 1))
  elif [[ "$now" == "$after" ]]; then
    after_count=$((after_count + 1))
  else
    lost=$((lost + 1))
    echo "trial $trial (${change[0]}): rows neither before nor after"
  fi
  "$ctl" catalogue check "$file" >/dev/null 2>&1 || failed_checks=$((failed_checks + 1))
  exported=$(($(mdb-export "$file" Server 2>/dev/null | wc -l) - 1))
  [[ "$exported" -eq "$(printf '%s\n' "$now" | grep -c .)" ]] || mismatch=$((mismatch + 1))
  if [[ -f "$reader" && -d "$node_modules/mdb-reader" ]]; then
    counted="$(node "$reader" "$node_modules" "$file" Server 2>/dev/null |
      python3 -c 'import json, sys; print(len(json.load(sys.stdin)["rows"]))' 2>/dev/null)"
    [[ "$counted" -eq "$exported" ]] || mismatch=$((mismatch + 1))
  fi
  "$ctl" catalogue add "$file" 10.3.0.1 >/dev/null 2>&1 || refused_adds=$((refused_adds + 1))
done

echo "$trials kills ($inside inside a write, a journal left behind):" \
  "$before_count left the rows of before, $after_count those of after," \
  "$lost neither, $unreadable unreadable; $failed_checks failed checks," \
  "$mismatch disagreements with mdb-export/mdb-reader, $refused_adds refused next adds"
((lost + unreadable + failed_checks + mismatch + refused_adds == 0))
