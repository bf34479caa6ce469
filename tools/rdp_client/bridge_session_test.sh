#!/usr/bin/env bash
# A real remote-desktop session through mstsc.exe under Wine: bridge_session_test.sh WINE-RUN
# LUMORACTL.EXE MSTSC.EXE SCREENS-DIR, run by scripts/rdp/with-test-server (a private xrdp on
# 127.0.0.1 and a test user). A catalogue row with that user and password written by lumoractl,
# its session file, and mstsc.exe on it as the program starts it. Passes when sesman logs a session
# for the user at the settings' size and the password is on no process's command line or
# environment.
set -u
wine_run=$1 ctl=$2 bridge=$3 screens=$4
rdp="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts/rdp" && pwd)"
server="$RDP_TEST_SERVER_DIR" work="$RDP_TEST_WORK" user="$RDP_TEST_USER" port="$RDP_TEST_PORT"
fail() { echo "FAILED: $*"; tail -n 20 "$server/log/sesman.log" 2>/dev/null; exit 1; }

program="$work/program"
mkdir -p "$program"
run() { "$wine_run" "$ctl" "$@" >>"$work/ctl.log" 2>&1; }
run catalogue create "Z:$program/mstsc.mdb" || fail "catalogue create"
run catalogue add "Z:$program/mstsc.mdb" 127.0.0.1 --port "$port" --user "$user" \
  --password "$(head -n 1 "$RDP_TEST_PASSWORD_FILE")" || fail "catalogue add: $(cat "$work/ctl.log")"
run session "Z:$program" 127.0.0.1 || fail "session file"

"$rdp/wait-session" mark "$server"
# As the program starts it: mstsc "<file>" /admin. It stays for the session. Tests alone ignore
# the self-signed certificate.
(cd "$program" && HOME="$work/home" LUMORA_RDP_CLIENT_IGNORE_CERTIFICATES=1 \
  "$wine_run" "$bridge" "Z:$program/History/127.0.0.1.rdp" /admin \
  >"$work/bridge.log" 2>&1) &
# The settings' default window size is 800×600.
"$rdp/wait-session" "$server" "$user" 800x600 60 >"$work/session.log" ||
  fail "no session for $user at 800x600; bridge: $(cat "$work/bridge.log")"
"$rdp/password-hidden" "$RDP_TEST_PASSWORD_FILE" || fail "password exposed"
sleep 3
mkdir -p "$screens"
import -window root "$screens/rdp_session.png" 2>/dev/null
echo "session started: $(head -n 1 "$work/session.log")"
