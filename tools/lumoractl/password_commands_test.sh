#!/bin/sh
# lumoractl password: password_commands_test.sh LUMORACTL CASE
# A stored value reads back as its password; set, check and clear work as the settings window's
# checks and the login window's test.
. "$(dirname "$0")/test_work.sh"

case $2 in
round_trip)
  value=$("$ctl" password encrypt qwerty --hex)
  test "$("$ctl" password decrypt "$value" --hex)" = qwerty
  ;;
set_and_clear)
  # The two entries differ only by a blank, which is not part of a password.
  printf 'qwe rty\nqwerty\n' | "$ctl" password set "$work"
  test "$("$ctl" password status "$work")" = set
  "$ctl" password clear "$work"
  test "$("$ctl" password status "$work")" = 'not set'
  ;;
set_refuses_different_entries)
  if printf 'qwerty\nqwertz\n' | "$ctl" password set "$work"; then exit 1; fi
  test "$("$ctl" password status "$work")" = 'not set'
  ;;
check_admits_what_was_set)
  # pwN whose enciphered record holds a zero byte (its raw value is not whole 8-byte blocks) is
  # stored all the same and admitted; a wrong one exits 1, no password at all 2.
  n=0
  while [ $n -lt 100 ] &&
    [ $(($(printf %s "$("$ctl" password encrypt "pw$n" --hex)" | wc -c) % 16)) -eq 0 ]; do
    n=$((n + 1))
  done
  test $n -lt 100
  printf 'pw%s\npw%s\n' $n $n | "$ctl" password set "$work" >/dev/null
  printf 'pw%s\n' $n | "$ctl" password check "$work" >/dev/null
  set +e
  printf 'pw%sx\n' $n | "$ctl" password check "$work" 2>/dev/null
  test $? -eq 1 || exit 1
  "$ctl" password check "$work" </dev/null 2>/dev/null
  test $? -eq 2 || exit 1
  set -e
  ;;
*)
  echo "unknown case $2" >&2
  exit 2
  ;;
esac
