#!/usr/bin/env bash
# real_session_gui_test.sh WINE-RUN LUMORA_GUI_TESTS.EXE SCREENS-DIR, run by
# scripts/rdp/with-test-server: the RealSessionGuiTest cases of the GUI tests against that
# server, with tools/rdp_client's mstsc.exe as the client. Then, while the first case's session is
# still on, checks that no process shows the password and photographs the remote desktop.
set -u
wine_run=$1 gui=$2 screens=$3
rdp="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts/rdp" && pwd)"
work="$RDP_TEST_WORK"
under_wine() { local path="$1"; printf 'Z:%s' "${path//\//\\}"; }

# The password stays out of the environment: the test reads it from this file.
{
  echo "port=$RDP_TEST_PORT"
  echo "down_port=$RDP_TEST_DOWN_PORT"
  echo "user=$RDP_TEST_USER"
  echo "password=$(head -n 1 "$RDP_TEST_PASSWORD_FILE")"
  echo "sesman_log=$(under_wine "$RDP_TEST_SERVER_DIR/log/sesman.log")"
} >"$work/server.txt"

# The test command's folder of reports gets this run's cases under this test's own name.
report="${GTEST_OUTPUT:-}"
[[ "$report" == *\\ ]] && report="${report}real_session_gui_on_loopback_xrdp.xml"
cd "$(dirname "$gui")" || exit 1
# Into a file, not a pipe: the clients the cases leave running would hold a pipe open.
GTEST_OUTPUT="$report" HOME="$work/home" LUMORA_RDP_CLIENT_IGNORE_CERTIFICATES=1 \
  LUMORA_RDP_TEST_SERVER="$(under_wine "$work/server.txt")" \
  "$wine_run" "$gui" --gtest_filter='RealSessionGuiTest.*' >"$work/gui.log" 2>&1
rc=$?
cat "$work/gui.log"
if grep -q '^\[  SKIPPED \]' "$work/gui.log" || ! grep -q '^\[  PASSED  \] 5 tests' "$work/gui.log"; then
  echo "FAILED: the five cases did not all run and pass"
  rc=1
fi
# FreeRDP takes every option the bridge gives it.
if grep -iE "invalid value|unknown (option|argument)" "$work/gui.log"; then
  echo "FAILED: FreeRDP refused part of its command line"
  rc=1
fi
"$rdp/password-hidden" "$RDP_TEST_PASSWORD_FILE" || rc=1
mkdir -p "$screens"
import -window root "$screens/rdp_session_from_lumora.png" 2>/dev/null
exit "$rc"
