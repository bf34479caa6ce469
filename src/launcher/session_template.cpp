#include "launcher/session_template.h"

namespace lumora::launcher {
namespace {

// The client's own text format: one "name:type:value" setting per line, CR LF between lines and
// none after the last. Line 20's key is spelt exactly "password 51:b:".
constexpr char kTemplate[] =
    "screen mode id:i:%窗口模式%\r\n"
    "desktopwidth:i:%窗口宽度%\r\n"
    "desktopheight:i:%窗口高度%\r\n"
    "session bpp:i:%监视器颜色%\r\n"
    "winposstr:s:2,3,0,0,900,700\r\n"
    "full address:s:%服务器地址%\r\n"
    "compression:i:%压缩%\r\n"
    "keyboardhook:i:%组合键%\r\n"
    "audiomode:i:%音频播放%\r\n"
    "redirectdrives:i:0\r\n"
    "redirectprinters:i:%打印机%\r\n"
    "redirectcomports:i:%串行口%\r\n"
    "redirectsmartcards:i:%智能卡%\r\n"
    "displayconnectionbar:i:%全屏栏%\r\n"
    "autoreconnection enabled:i:%重连%\r\n"
    "username:s:%账号%\r\n"
    "domain:s:%域%\r\n"
    "alternate shell:s:\r\n"
    "shell working directory:s:\r\n"
    "password 51:b:%密码%\r\n"
    "disable wallpaper:i:%桌面背景%\r\n"
    "disable full window drag:i:1\r\n"
    "disable menu anims:i:1\r\n"
    "disable themes:i:%桌面主题%\r\n"
    "disable cursor setting:i:0\r\n"
    "bitmapcachepersistenable:i:1\r\n"
    "use multimon:i:0\r\n"
    "audiocapturemode:i:%录音%\r\n"
    "videoplaybackmode:i:1\r\n"
    "connection type:i:2\r\n"
    "allow font smoothing:i:0\r\n"
    "allow desktop composition:i:0\r\n"
    "redirectclipboard:i:%剪贴板%\r\n"
    "redirectposdevices:i:0\r\n"
    "redirectdirectx:i:1\r\n"
    "drivestoredirect:s:%映射磁盘%\r\n"
    "devicestoredirect:s:%PnP设备%\r\n"
    "authentication level:i:0\r\n"
    "prompt for credentials:i:0\r\n"
    "negotiate security layer:i:1\r\n"
    "remoteapplicationmode:i:0\r\n"
    "gatewayhostname:s:\r\n"
    "gatewayusagemethod:i:4\r\n"
    "gatewaycredentialssource:i:4\r\n"
    "gatewayprofileusagemethod:i:0\r\n"
    "promptcredentialonce:i:1\r\n"
    "use redirection server name:i:0";

}  // namespace

std::string_view SessionTemplate() {
  return std::string_view(kTemplate, sizeof kTemplate - 1);
}

}  // namespace lumora::launcher
