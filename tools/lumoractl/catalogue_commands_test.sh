#!/bin/sh
# lumoractl catalogue create/list/export/check on real files: catalogue_commands_test.sh LUMORACTL CASE
# Exit 77 marks a case skipped because Debian's mdbtools are missing.
. "$(dirname "$0")/test_work.sh"
file=$work/mstsc.mdb
# lumoractl speaks the terminal's encoding: these cases type and read UTF-8.
export LC_ALL=C.UTF-8

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
  test "$("$ctl" catalogue export "$file")" = "编号,服务器名,端口,用户名,密码,域,备注"
  "$ctl" catalogue check "$file"
  ;;
demo_export_matches_mdb_export)
  command -v mdb-export >/dev/null || exit 77
  "$ctl" catalogue create "$file" --demo
  "$ctl" catalogue export "$file" >"$work/ours.csv"
  mdb-export "$file" Server >"$work/theirs.csv"
  test "$(wc -l <"$work/ours.csv")" -eq 6
  diff "$work/ours.csv" "$work/theirs.csv"
  ;;
demo_list)
  "$ctl" catalogue create "$file" --demo
  "$ctl" catalogue list "$file" >"$work/list"
  test "$(wc -l <"$work/list")" -eq 5
  grep -qx "$(printf '127.0.0.3\t3390\tbackup\t备份服务器（夜间同步）\tWORKGROUP')" "$work/list"
  # With a table name every column shows, the record number first.
  "$ctl" catalogue list "$file" Server | grep -qx "$(printf '1\t127.0.0.1\t3389\tadministrator\tdemo-1\t\t本机演示服务器')"
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
truncated_files_are_damaged)
  # A file cut short, inside a page or on a page's edge, passes no check and shows no rows.
  "$ctl" catalogue create "$file" --demo
  size=$(wc -c <"$file")
  for cut in 1000 4096 12288 36900 $((size - 4096)) $((size - 100)); do
    head -c "$cut" "$file" >"$work/cut.mdb"
    if "$ctl" catalogue check "$work/cut.mdb" >/dev/null 2>&1; then echo "check passed at $cut"; exit 1; fi
    for command in list export; do
      set +e
      "$ctl" catalogue $command "$work/cut.mdb" >"$work/out" 2>"$work/error"
      code=$?
      set -e
      test $code -eq 1 || { echo "$command exited $code at $cut"; exit 1; }
      test ! -s "$work/out"
      grep -q "damaged\|not a readable\|cannot read" "$work/error"
    done
  done
  ;;
changes_refused_with_their_reason)
  command -v flock >/dev/null || exit 77
  "$ctl" catalogue create "$file" --demo
  # Another program holding the writer's lock (flock, as the engine takes it).
  for change in "add $file 10.0.0.1" "modify $file 127.0.0.1 --port 3390" "delete $file 127.0.0.2"; do
    if flock -n "$file" "$ctl" catalogue $change 2>"$work/error"; then exit 1; fi
    grep -q "数据文件正被其他程序使用" "$work/error"
  done
  test "$("$ctl" catalogue list "$file" | wc -l)" -eq 5
  # Once it has let go, the change goes through.
  "$ctl" catalogue add "$file" 10.0.0.1 >/dev/null
  test "$("$ctl" catalogue list "$file" | wc -l)" -eq 6
  # A damaged file is not changed either, and says so.
  head -c $(($(wc -c <"$file") - 100)) "$file" >"$work/cut.mdb"
  if "$ctl" catalogue add "$work/cut.mdb" 10.0.0.2 2>"$work/error"; then exit 1; fi
  grep -q "damaged" "$work/error"
  ;;
damaged_files_name_the_check)
  # A data page of table Server (page 12 of 4096 bytes, its owner at offset 4) that names another
  # table, and a file cut short: each command that writes says which check refused it, and the
  # file stays as it was.
  "$ctl" catalogue create "$file" --demo
  cp "$file" "$work/owner.mdb"
  printf '\002' | dd of="$work/owner.mdb" bs=1 seek=49156 conv=notrunc 2>/dev/null
  head -c $(($(wc -c <"$file") - 100)) "$file" >"$work/cut.mdb"
  printf '服务器名\n"10.0.0.9"\n' >"$work/new.csv"
  for damage in "owner|Server: owned page 12 is not one of its data pages" \
                "cut|the file ends inside page"; do
    name=${damage%%|*}
    cp "$work/$name.mdb" "$work/before"
    for change in "add $work/$name.mdb 10.0.0.1" "modify $work/$name.mdb 127.0.0.1 --port 3390" \
                  "delete $work/$name.mdb 127.0.0.2" "import $work/$name.mdb $work/new.csv"; do
      # shellcheck disable=SC2086
      if "$ctl" catalogue $change 2>"$work/error"; then exit 1; fi
      grep -qF "refused: consistency check: ${damage#*|}" "$work/error" ||
        { echo "$change:"; cat "$work/error"; exit 1; }
      cmp "$work/$name.mdb" "$work/before"
    done
  done
  ;;
import_says_why_nothing_was_stored)
  # A catalogue that is read-only (the file, or its folder: marked so, which stops even root
  # here), or held by another program: the import says which, and stores nothing.
  command -v flock >/dev/null || exit 77
  mkdir "$work/folder"
  file=$work/folder/mstsc.mdb
  "$ctl" catalogue create "$file" --demo
  "$ctl" catalogue export "$file" | sed 's/127\.0\.0\./10.9.9./' >"$work/new.csv"
  cp "$file" "$work/before"
  for fault in file folder held; do
    case $fault in
    file) chmod a-w "$file"; run="" ;;
    folder) chmod a-w "$work/folder"; run="" ;;
    held) run="flock -n $file" ;;
    esac
    # shellcheck disable=SC2086
    if $run "$ctl" catalogue import "$file" "$work/new.csv" 2>"$work/error"; then exit 1; fi
    chmod u+w "$file" "$work/folder"
    case $fault in
    held) grep -q "数据文件正被其他程序使用" "$work/error" ;;
    *) grep -q "数据文件是只读的" "$work/error" ;;
    esac
    cmp "$file" "$work/before"
  done
  test "$("$ctl" catalogue import "$file" "$work/new.csv")" = "5 servers imported"
  ;;
delete_and_pipes)
  # A name given twice is deleted once, and that is a success.
  "$ctl" catalogue create "$file" --demo
  "$ctl" catalogue delete "$file" 127.0.0.2 127.0.0.2 >/dev/null
  test "$("$ctl" catalogue list "$file" | wc -l)" -eq 4
  # A pipe where the catalogue should be: refused at once, never waited on.
  command -v mkfifo >/dev/null && command -v timeout >/dev/null || exit 77
  mkfifo "$work/pipe.mdb"
  for command in "add $work/pipe.mdb 10.0.0.1" "list $work/pipe.mdb" "check $work/pipe.mdb" \
                 "import $work/pipe.mdb $work/none.csv"; do
    printf '服务器名\n"10.0.0.1"\n' >"$work/none.csv"
    set +e
    # shellcheck disable=SC2086
    timeout 20 "$ctl" catalogue $command 2>"$work/error"
    code=$?
    set -e
    test $code -eq 1 || { echo "$command exited $code"; exit 1; }
    grep -q "数据文件不是普通文件" "$work/error"
  done
  ;;
foreign_journal_set_aside)
  # A whole journal that no change of this file left (it names a file of one page): every command
  # leaves the file as it is, the first one sets the journal aside and says so.
  "$ctl" catalogue create "$file" --demo
  cp "$file" "$work/before"
  printf '\114\165\155\157\162\141\112\062\000\020\000\000\000\000\000\000\000\020\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\007\014\366\260\266\171\115\017' >"$file-journal"
  cp "$file-journal" "$work/journal"
  "$ctl" catalogue list "$file" >"$work/list" 2>"$work/error"
  test "$(wc -l <"$work/list")" -eq 5
  grep -qx "lumoractl: $file: 发现不属于当前数据文件的恢复日志，已保留为 $file-journal.other-1" "$work/error"
  cmp "$file" "$work/before"
  cmp "$file-journal.other-1" "$work/journal"
  test ! -e "$file-journal"
  # A journal that can be neither played back nor moved away (a folder under its name): the
  # catalogue is read as it is, and a change says what is wrong.
  mkdir -p "$file-journal/inside"
  test "$("$ctl" catalogue list "$file" | wc -l)" -eq 5
  if "$ctl" catalogue add "$file" 10.0.0.1 2>"$work/error"; then exit 1; fi
  grep -q "数据文件旁的恢复日志无法处理（它不是普通文件）" "$work/error"
  rm -r "$file-journal"
  # create sets a leftover journal aside too, and says so.
  cp "$work/journal" "$work/new.mdb-journal"
  "$ctl" catalogue create "$work/new.mdb" 2>"$work/error"
  grep -q "已保留为 $work/new.mdb-journal.other-1" "$work/error"
  test ! -e "$work/new.mdb-journal"
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
utf8_terminal_round_trip)
  # A Chinese remark typed on a UTF-8 terminal is stored as GBK and shown again as typed.
  "$ctl" catalogue create "$file"
  "$ctl" catalogue add "$file" 127.0.0.7 --user 运维 --remark '收银台，二楼' >/dev/null
  test "$("$ctl" catalogue list "$file")" = "$(printf '127.0.0.7\t3389\t运维\t收银台，二楼\t')"
  "$ctl" catalogue export "$file" | grep -qx '1,"127.0.0.7","3389","运维",,,"收银台，二楼"'
  # Inside the file the text is GBK, as mdb-export (which reads it as such) shows.
  if command -v mdb-export >/dev/null; then
    mdb-export "$file" Server | grep -q '收银台，二楼'
  fi
  # Asked for GBK, the output is GBK; the same name finds the row.
  test "$("$ctl" --encoding gbk catalogue list "$file" | cut -f4 | iconv -f GBK -t UTF-8)" = '收银台，二楼'
  "$ctl" catalogue delete "$file" 127.0.0.7 >/dev/null
  # Bytes that are no UTF-8 are refused, not stored as something else.
  if "$ctl" catalogue add "$file" 127.0.0.8 --remark "$(printf '\377\376')" 2>"$work/error"; then exit 1; fi
  grep -q "not valid in the terminal's encoding" "$work/error"
  # Bytes that are no GBK, said to be GBK, are refused as bad arguments too, not stored as '?'.
  set +e
  "$ctl" --encoding gbk catalogue add "$file" 127.0.0.8 --remark "$(printf '\201\060')" 2>/dev/null
  test $? -eq 2 || exit 1
  set -e
  test -z "$("$ctl" catalogue list "$file")"
  # The time-out text of probe, in the terminal's encoding (a time-out of 0 ms always runs out).
  test "$("$ctl" probe 127.0.0.1 --timeout 0)" = "$(printf '127.0.0.1\t超时')"
  ;;
import_round_trip)
  # export, then import into an empty catalogue: the same export, byte for byte, from UTF-8 with
  # and without a byte-order mark and from GBK.
  "$ctl" catalogue create "$file" --demo
  "$ctl" catalogue export "$file" >"$work/demo.csv"
  printf '\357\273\277' | cat - "$work/demo.csv" >"$work/bom.csv"
  iconv -f UTF-8 -t GBK "$work/demo.csv" >"$work/gbk.csv"
  for csv in demo bom gbk; do
    "$ctl" catalogue create "$work/$csv.mdb"
    test "$("$ctl" catalogue import "$work/$csv.mdb" "$work/$csv.csv")" = "5 servers imported"
    "$ctl" catalogue export "$work/$csv.mdb" | cmp - "$work/demo.csv"
    "$ctl" catalogue check "$work/$csv.mdb" >/dev/null
  done
  # --replace: the stored servers go first, so the same rows import again.
  "$ctl" catalogue import "$work/demo.mdb" "$work/demo.csv" --replace >/dev/null
  test "$("$ctl" catalogue list "$work/demo.mdb" | wc -l)" -eq 5
  ;;
import_refusals)
  "$ctl" catalogue create "$file"
  "$ctl" catalogue add "$file" 127.0.0.1 >/dev/null
  printf '服务器名,端口,用户名,备注\n"127.0.0.2","3389","u","多行\n备注"\n"127.0.0.1","3389","u",\n"nodot","3389","u",\n"127.0.0.3","70000","u",\n"127.0.0.4","3389"\n"127.0.0.5",,"u",\n' >"$work/bad.csv"
  if "$ctl" catalogue import "$file" "$work/bad.csv" 2>"$work/error"; then exit 1; fi
  # Each refused row by its line (the remark of line 2 runs on to line 3), nothing stored.
  grep -q 'CSV line 4: 目标服务器已存在' "$work/error"
  grep -q 'CSV line 5: 请填写正确的IP或域名' "$work/error"
  grep -q 'CSV line 6: 远程端口必须是1到65535之间的数字' "$work/error"
  grep -q 'CSV line 7: 4 fields expected, 2 found' "$work/error"
  grep -q 'CSV line 8: 远程端口不能为空' "$work/error"
  test "$("$ctl" catalogue list "$file" | wc -l)" -eq 1
  test "$("$ctl" catalogue import "$file" "$work/bad.csv" --skip-bad 2>/dev/null)" = "1 servers imported, 5 rows skipped"
  "$ctl" catalogue list "$file" | grep -q "$(printf '^127.0.0.2\t3389\tu\t多行\\\\n备注')"
  # A NUL byte in a name (no command could name that server again), text after a closing quote.
  printf '服务器名,端口\n"10.0.0.1\000x","3389"\n"10.0.0.2"junk,"3389"\n' >"$work/hidden.csv"
  if "$ctl" catalogue import "$file" "$work/hidden.csv" --skip-bad 2>"$work/error"; then
    grep -q 'CSV line 2: a field holds a NUL byte' "$work/error"
    grep -q 'CSV line 3: text after a closing quote' "$work/error"
  else
    exit 1
  fi
  test "$("$ctl" catalogue list "$file" | wc -l)" -eq 2
  # A header that names a column the catalogue lacks, a quote left open: nothing happens.
  printf '服务器名,颜色\n"127.0.0.9","红"\n' >"$work/column.csv"
  if "$ctl" catalogue import "$file" "$work/column.csv" 2>"$work/error"; then exit 1; fi
  grep -q 'unknown or repeated column' "$work/error"
  printf '服务器名\n"127.0.0.9\n' >"$work/open.csv"
  if "$ctl" catalogue import "$file" "$work/open.csv" 2>"$work/error"; then exit 1; fi
  grep -q 'CSV line 2: a quoted field is not closed' "$work/error"
  test "$("$ctl" catalogue list "$file" | wc -l)" -eq 2
  "$ctl" catalogue check "$file" >/dev/null
  ;;
help_and_exit_codes)
  # Every command explains itself and exits 0; bad arguments exit 2, a failed operation 1.
  "$ctl" --help | grep -q 'Exit codes: 0 success, 1 the operation failed, 2 bad arguments'
  for command in "password encrypt" "password set" "catalogue create" "catalogue list" \
                 "catalogue import" "catalogue add" "session" "locate" "probe"; do
    # shellcheck disable=SC2086
    "$ctl" $command --help | grep -q "^usage: lumoractl $command"
  done
  set +e
  "$ctl" catalogue import "$file" 2>/dev/null; test $? -eq 2 || exit 1
  "$ctl" --encoding latin1 catalogue list "$file" 2>/dev/null; test $? -eq 2 || exit 1
  "$ctl" catalogue list "$work/missing.mdb" 2>/dev/null; test $? -eq 1 || exit 1
  # Through ADO only Server is read; without ADO (not Windows) no connection string opens.
  "$ctl" catalogue list "$file" Server --ado "Data Source=x" 2>/dev/null; test $? -eq 2 || exit 1
  "$ctl" catalogue export "$file" --ado 2>/dev/null; test $? -eq 2 || exit 1
  "$ctl" catalogue export "$file" --ado "Data Source=x" 2>"$work/error"; test $? -eq 1 || exit 1
  grep -q 'the connection string opens nothing: Data Source=x' "$work/error"
  set -e
  ;;
*)
  echo "unknown case $2" >&2
  exit 2
  ;;
esac
