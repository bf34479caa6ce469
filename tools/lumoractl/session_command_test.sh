#!/bin/sh
# lumoractl session: the session file a connect would write. session_command_test.sh LUMORACTL CASE
. "$(dirname "$0")/test_work.sh"

case $2 in
without_catalogue)
  set +e
  "$ctl" session "$work" host
  test $? -eq 1 || exit 1
  set -e
  ;;
writes_the_file)
  "$ctl" catalogue create "$work/mstsc.mdb" --demo >/dev/null
  path=$("$ctl" session "$work" 127.0.0.3)
  test "$path" = "$work/History/127.0.0.3.rdp"
  grep -q 'domain:s:WORKGROUP' "$path"
  # A server the catalogue does not hold, and a name that is no file name, write nothing.
  if "$ctl" session "$work" 127.0.0.9; then exit 1; fi
  if "$ctl" session "$work" ..; then exit 1; fi
  ;;
*)
  echo "unknown case $2" >&2
  exit 2
  ;;
esac
