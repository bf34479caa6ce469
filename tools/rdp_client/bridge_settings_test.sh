#!/usr/bin/env bash
# What each setting of the settings window does to a real session: bridge_settings_test.sh
# WINE-RUN LUMORACTL.EXE MSTSC.EXE, run by scripts/rdp/with-test-server. For each case a
# config.ini as the settings window stores it, the session file lumoractl writes from it, and
# mstsc.exe on that file. Passes when sesman logs the session at the size and colour depth the
# client was meant to ask for (the display's size in full screen), and the bridge hands FreeRDP the
# arguments that carry every other option.
set -u
wine_run=$1 ctl=$2 bridge=$3
rdp="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts/rdp" && pwd)"
server="$RDP_TEST_SERVER_DIR" work="$RDP_TEST_WORK" user="$RDP_TEST_USER" port="$RDP_TEST_PORT"
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

program="$work/settings-program"
mkdir -p "$program"
ctl_run() { "$wine_run" "$ctl" "$@" >>"$work/ctl.log" 2>&1; }
ctl_run catalogue create "Z:$program/mstsc.mdb" || { echo "FAILED: catalogue create"; exit 1; }
ctl_run catalogue add "Z:$program/mstsc.mdb" 127.0.0.1 --port "$port" --user "$user" \
  --password "$(head -n 1 "$RDP_TEST_PASSWORD_FILE")" || { echo "FAILED: catalogue add"; exit 1; }

display_size="$(xdpyinfo 2>/dev/null | sed -n 's/^ *dimensions: *\([0-9]*x[0-9]*\) pixels.*/\1/p')"
[[ -n "$display_size" ]] || { echo "FAILED: the display's size is unknown"; exit 1; }

# config.ini as the settings window writes it: GBK, CR LF, the nineteen keys of [RDP].
write_settings() {  # KEY=VALUE... over the defaults
  local -A values=(
    [窗口模式]=1 [窗口数据]=800×600 [监视器颜色]=32 [磁盘映射]=0 [本地驱动器]= [剪贴板]=1
    [打印机]=0 [串行口]=0 [智能卡]=0 [重连]=1 [强制模式]=0 [压缩]=1 [全屏栏]=1 [桌面背景]=1
    [桌面主题]=0 [PnP设备]=0 [录音]=0 [音频播放]=2 [组合键]=2)
  local pair key
  for pair in "$@"; do values[${pair%%=*}]=${pair#*=}; done
  {
    printf '[RDP]\r\n'
    for key in 窗口模式 窗口数据 监视器颜色 磁盘映射 本地驱动器 剪贴板 打印机 串行口 智能卡 重连 \
      强制模式 压缩 全屏栏 桌面背景 桌面主题 PnP设备 录音 音频播放 组合键; do
      printf '%s=%s\r\n' "$key" "${values[$key]}"
    done
  } | iconv -f UTF-8 -t GBK >"$program/config.ini"
}

# Serial ports go over as Wine maps them (COM1 is the first serial device, where there is one).
serial=/serial:COM1
[[ -e /dev/ttyS0 ]] || serial=

# name | settings | the session sesman must log (WIDTHxHEIGHT BPP) | arguments FreeRDP must get
# (each word must stand on the bridge's "starting:" line; "!word" must not).
cases=(
  "everything on|窗口数据=800×600 监视器颜色=16 剪贴板=1 打印机=1 串行口=1 磁盘映射=1 智能卡=1 本地驱动器=Z:; 音频播放=0 录音=1 组合键=0 压缩=1 重连=1|800x600 16|/size:800x600 /bpp:16 +clipboard /printer $serial /smartcard /drive:Z,/ /sound /microphone -grab-keyboard +compression +auto-reconnect !/f"
  "everything off, the first colour step|窗口数据=1024×768 监视器颜色=4 剪贴板=0 音频播放=1 组合键=1 压缩=0 重连=0 全屏栏=0|1024x768 8|/size:1024x768 /bpp:8 -clipboard /audio-mode:1 +grab-keyboard -compression !+auto-reconnect !/printer !/serial !/smartcard !/drive !/microphone !/floatbar"
  "8 bits, no sound, keys in full screen only|窗口数据=1280×800 监视器颜色=8 音频播放=2 组合键=2 重连=0|1280x800 8|/size:1280x800 /bpp:8 /audio-mode:2 -grab-keyboard !/sound"
  "24 bits|窗口数据=1280×1024 监视器颜色=24|1280x1024 24|/size:1280x1024 /bpp:24"
  "32 bits|窗口数据=1440×900 监视器颜色=32|1440x900 32|/size:1440x900 /bpp:32"
  "a fresh config.ini's 31 bits|窗口数据=1680×1050 监视器颜色=31|1680x1050 32|/size:1680x1050 /bpp:32"
  "full screen|窗口模式=0 窗口数据=1024×768 组合键=2 全屏栏=1|$display_size 32|/f +grab-keyboard /floatbar !/size"
)

# Ends the case's client and its bridge (which may be showing why the connection ended: Xvnc
# sessions take no 8-bit colour, and xrdp then drops them).
end_clients() {
  pkill -f "xfreerdp.*/v:127.0.0.1:$port" 2>/dev/null
  pkill -f "$program/History/" 2>/dev/null
  for _ in $(seq 1 100); do
    pgrep -f "xfreerdp.*/v:127.0.0.1:$port|$program/History/" >/dev/null || break
    sleep 0.1
  done
  wait 2>/dev/null
}

for entry in "${cases[@]}"; do
  IFS='|' read -r name settings session words <<<"$entry"
  read -r size bpp <<<"$session"
  # FreeRDP keeps its window within the display: a larger size is cut to the display's.
  width=${size%x*} height=${size#*x}
  ((width <= ${display_size%x*})) || width=${display_size%x*}
  ((height <= ${display_size#*x})) || height=${display_size#*x}
  size=${width}x$height
  # shellcheck disable=SC2086
  write_settings $settings
  rm -f "$program/History/127.0.0.1.rdp"
  ctl_run session "Z:$program" 127.0.0.1 || { fail "$name: no session file"; continue; }
  "$rdp/wait-session" mark "$server"
  (cd "$program" && HOME="$work/home" LUMORA_RDP_CLIENT_IGNORE_CERTIFICATES=1 \
    "$wine_run" "$bridge" "Z:$program/History/127.0.0.1.rdp" >"$work/bridge.log" 2>&1) &
  if ! "$rdp/wait-session" "$server" "$user" "$size" 60 >"$work/session.log"; then
    fail "$name: no session at $size; bridge: $(tail -n 5 "$work/bridge.log")"
  elif ! grep -qF "width ${size%x*}, height ${size#*x}, bpp $bpp," "$work/session.log"; then
    fail "$name: the session is not at $bpp bits: $(head -n 1 "$work/session.log")"
  fi
  started="$(grep -F 'starting: ' "$work/bridge.log" | tail -n 1) "
  for word in $words; do
    # An argument is a whole word, or the part before its value (",", ":").
    if [[ "$word" == !* ]]; then
      [[ "$started" != *" ${word#!}"[\ ,:]* ]] || fail "$name: FreeRDP got ${word#!}: $started"
    else
      [[ "$started" == *" $word"[\ ,:]* ]] || fail "$name: FreeRDP did not get $word: $started"
    fi
  done
  if grep -iE "invalid value|unknown (option|argument)" "$work/bridge.log"; then
    fail "$name: FreeRDP refused part of its command line"
  fi
  end_clients
done

if ((failures)); then
  echo "bridge_settings_test: $failures failed"
  exit 1
fi
echo "bridge_settings_test: ${#cases[@]} sessions as the settings asked"
