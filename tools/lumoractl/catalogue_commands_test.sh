#!/bin/sh
# lumoractl catalogue create/list/export/check on real files: catalogue_commands_test.sh LUMORACTL CASE
# Exit 77 marks a case skipped because Debian's mdbtools are missing.
set -eu
ctl=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=$work/mstsc.mdb

utf8() { iconv -f GBK -t UTF-8; }

case $2 in
create_keeps_existing_file)
  "$ctl" catalogue create "$file"
  cp "$file" "$work/before"
  if "$ctl" catalogue create "$file" --demo; then exit 1; fi
  cmp "$file" "$work/before"
  # A path that is not a file: nothing is made, and the failure is reported.
  if "$ctl" catalogue create "$work/missing/dir/mstsc.mdb"; then exit 1; fi
  test ! -e "$work/missing"
  ;;
empty_catalogue)
  "$ctl" catalogue create "$file"
  test -z "$("$ctl" catalogue list "$file")"
  test "$("$ctl" catalogue export "$file" | utf8)" = "编号,服务器名,端口,用户名,密码,域,备注"
  "$ctl" catalogue check "$file"
  ;;
demo_export_matches_mdb_export)
  command -v mdb-export >/dev/null || exit 77
  "$ctl" catalogue create "$file" --demo
  "$ctl" catalogue export "$file" | utf8 >"$work/ours.csv"
  mdb-export "$file" Server >"$work/theirs.csv"
  test "$(wc -l <"$work/ours.csv")" -eq 6
  diff "$work/ours.csv" "$work/theirs.csv"
  ;;
demo_list)
  "$ctl" catalogue create "$file" --demo
  "$ctl" catalogue list "$file" | utf8 >"$work/list"
  test "$(wc -l <"$work/list")" -eq 5
  grep -qx "$(printf '127.0.0.3\t3390\tbackup\t备份服务器（夜间同步）\tWORKGROUP')" "$work/list"
  # With a table name every column shows, the record number first.
  "$ctl" catalogue list "$file" Server | utf8 | grep -qx "$(printf '1\t127.0.0.1\t3389\tadministrator\tdemo-1\t\t本机演示服务器')"
  ;;
check_reports_damage)
  "$ctl" catalogue create "$file" --demo
  "$ctl" catalogue check "$file"
  # The row count of table Server (page 9 of 4096 bytes, offset 16) no longer matches its rows.
  printf '\011' | dd of="$file" bs=1 seek=36880 conv=notrunc 2>/dev/null
  if "$ctl" catalogue check "$file" >"$work/report"; then exit 1; fi
  grep -q "problems found" "$work/report"
  test "$(wc -l <"$work/report")" -ge 2
  ;;
unreadable_files_fail)
  printf 'not a database' >"$file"
  for command in list export check; do
    if "$ctl" catalogue $command "$file" 2>"$work/error"; then exit 1; fi
    grep -q "not a readable Access database\|cannot read table Server" "$work/error"
  done
  "$ctl" catalogue create "$work/other.mdb"
  if "$ctl" catalogue export "$work/other.mdb" NoSuchTable 2>"$work/error"; then exit 1; fi
  grep -q "no readable table NoSuchTable" "$work/error"
  ;;
*)
  echo "unknown case $2" >&2
  exit 2
  ;;
esac
