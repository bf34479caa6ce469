#!/usr/bin/env bash
# A real remote-desktop session through mstsc.exe under Wine: bridge_session_test.sh WINE-RUN
# LUMORACTL.EXE MSTSC.EXE SCREENS-DIR. A private xrdp on 127.0.0.1, a test user made and removed
# here, a catalogue row with that user and password written by lumoractl, its session file, and
# mstsc.exe on it as the program starts it. Passes when sesman logs a session for the user at the
# settings' size and the password is on no process's command line or environment. Exit 77
# (skipped) without root, unshare or the packages of scripts/rdp/install.
set -u
wine_run=$1 ctl=$2 bridge=$3 screens=$4
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts/rdp" && pwd)"

skip() { echo "skipped: $*"; exit 77; }
[[ $(id -u) -eq 0 ]] || skip "needs root for the test user"
for command in xrdp xrdp-sesman Xvnc xfreerdp unshare; do
  command -v "$command" >/dev/null || skip "$command is missing (scripts/rdp/install)"
done
[[ -n "${DISPLAY:-}" ]] || skip "no display for the client"

work="$(mktemp -d)"
user="lumbridge$$"
password="Pw-$RANDOM-中-$RANDOM"
port=$((34000 + $$ % 1000))
server="$work/server"
user_made=0
cleanup() {
  pkill -f "xfreerdp /v:127.0.0.1:$port" 2>/dev/null
  "$here/server" stop "$server" >/dev/null 2>&1
  ((user_made)) && "$here/user" remove "$user" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; tail -n 20 "$server/log/sesman.log" 2>/dev/null; exit 1; }

"$here/user" add "$user" "$password" >"$work/user.log" 2>&1 && user_made=1 || fail "test user"
"$here/server" start "$server" "$port" >"$work/server.log" 2>&1 || fail "server start: $(cat "$work/server.log")"

program="$work/program"
mkdir -p "$program"
run() { "$wine_run" "$ctl" "$@" >>"$work/ctl.log" 2>&1; }
run catalogue create "Z:$program/mstsc.mdb" || fail "catalogue create"
run catalogue add "Z:$program/mstsc.mdb" 127.0.0.1 --port "$port" --user "$user" \
  --password "$password" || fail "catalogue add"
run session "Z:$program" 127.0.0.1 || fail "session file"

"$here/wait-session" mark "$server"
# As the program starts it: mstsc "<file>" /admin. Tests alone ignore the self-signed certificate.
(cd "$program" && HOME="$work/home" LUMORA_RDP_CLIENT_IGNORE_CERTIFICATES=1 \
  "$wine_run" "$bridge" "Z:$program/History/127.0.0.1.rdp" /admin \
  >"$work/bridge.log" 2>&1) || true
# The settings' default window size is 800×600.
"$here/wait-session" "$server" "$user" 800x600 60 >"$work/session.log" ||
  fail "no session for $user at 800x600; bridge: $(cat "$work/bridge.log")"

for process in /proc/[0-9]*; do
  if grep -qF -- "$password" "$process/cmdline" "$process/environ" 2>/dev/null; then
    fail "the password is on the command line or in the environment of $(tr '\0' ' ' <"$process/cmdline")"
  fi
done
sleep 3
mkdir -p "$screens"
import -window root "$screens/rdp_session.png" 2>/dev/null
echo "session started: $(head -n 1 "$work/session.log")"
