#!/bin/sh
# lumoractl catalogue add, modify, delete: the host editor's operations on a catalogue file.
#   catalogue_edit_commands_test.sh LUMORACTL CASE
# Refusals exit 1 and leave the rows as they were; options not given keep the stored values.
. "$(dirname "$0")/test_work.sh"
file=$work/c.mdb

case $2 in
add_modify_delete)
  "$ctl" catalogue create "$file"
  "$ctl" catalogue add "$file" ' 127.0.0. 1 ' --port 3390 >/dev/null
  "$ctl" catalogue add "$file" 127.0.0.2 --user root --remark r >/dev/null
  # A name stored already, a host with no dot, a blank port.
  if "$ctl" catalogue add "$file" 127.0.0.1 2>/dev/null; then exit 1; fi
  if "$ctl" catalogue add "$file" nodot 2>/dev/null; then exit 1; fi
  if "$ctl" catalogue add "$file" 127.0.0.3 --port ' ' 2>/dev/null; then exit 1; fi
  "$ctl" catalogue modify "$file" 127.0.0.2 --new-host 127.0.0.9 --port 3391 >/dev/null
  test "$("$ctl" catalogue list "$file" | cut -f1-4 | tr '\t\n' ',;')" = \
    '127.0.0.1,3390,Administrator,;127.0.0.9,3391,root,r;'
  # One name that is not stored: nothing is deleted.
  if "$ctl" catalogue delete "$file" 127.0.0.1 127.0.0.5 2>/dev/null; then exit 1; fi
  "$ctl" catalogue delete "$file" 127.0.0.1 127.0.0.9 >/dev/null
  test -z "$("$ctl" catalogue list "$file")"
  "$ctl" catalogue check "$file" >/dev/null
  ;;
refusals_write_nothing)
  # Too long a host, a port that is no number from 1 to 65535, a letter-case twin of a stored
  # host, a port or mask in the host: refused before anything is written.
  "$ctl" catalogue create "$file"
  long=$(printf '%0256d' 0).x
  if "$ctl" catalogue add "$file" "$long" 2>/dev/null; then exit 1; fi
  if "$ctl" catalogue add "$file" 127.0.0.1 --port 99999 2>/dev/null; then exit 1; fi
  if "$ctl" catalogue add "$file" 127.0.0.1 --port abc 2>/dev/null; then exit 1; fi
  if "$ctl" catalogue add "$file" 127.0.0.1 --password "$long" 2>/dev/null; then exit 1; fi
  test -z "$("$ctl" catalogue list "$file")"
  "$ctl" catalogue add "$file" SRV.x >/dev/null
  if "$ctl" catalogue add "$file" srv.x 2>/dev/null; then exit 1; fi
  if "$ctl" catalogue add "$file" 127.0.0.1:3390 2>/dev/null; then exit 1; fi
  if "$ctl" catalogue add "$file" 10.0.0.0/24 2>/dev/null; then exit 1; fi
  test "$("$ctl" catalogue list "$file" | cut -f1)" = SRV.x
  "$ctl" catalogue check "$file" >/dev/null
  ;;
*)
  echo "unknown case $2" >&2
  exit 2
  ;;
esac
