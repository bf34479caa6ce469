// The bridge's parts that need no server: reading the session file, the command lines it makes
// and reads, and what it says when xfreerdp ends. Built into the Windows tree, run under Wine.
#include <windows.h>

#include <shellapi.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "arguments.h"
#include "client_end.h"
#include "freerdp_start.h"
#include "session_file.h"

namespace rdp_client {
namespace {

// The lines of a session file that the bridge reads, as the program spells them (GBK, CR LF).
std::string SessionText(const std::string& passwordHex) {
  return "screen mode id:i:1\r\ndesktopwidth:i:1024\r\ndesktopheight:i:768\r\n"
         "session bpp:i:16\r\nfull address:s:10.0.0.5:3390\r\nredirectclipboard:i:1\r\n"
         "audiomode:i:0\r\nusername:s:运维\r\ndomain:s:CORP\r\ndisable wallpaper:i:1\r\n"
         "disable themes:i:0\r\nautoreconnection enabled:i:1\r\nredirectprinters:i:1\r\n"
         "compression:i:0\r\nkeyboardhook:i:1\r\naudiocapturemode:i:1\r\n"
         "displayconnectionbar:i:0\r\nredirectcomports:i:1\r\n"
         "drivestoredirect:s:C:;D:\\;\r\npassword 51:b:" +
         passwordHex + "\r\nauthentication level:i:0\r\n";
}

TEST(SessionFileTest, ReadsWhatTheBridgeCarriesOver) {
  const auto settings = ParseSessionText(SessionText("01A0ff7"));
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->address, L"10.0.0.5:3390");
  EXPECT_EQ(settings->user, L"运维");
  EXPECT_EQ(settings->domain, L"CORP");
  EXPECT_EQ(settings->width + L"x" + settings->height, L"1024x768");
  EXPECT_EQ(settings->colourDepth, L"16");
  EXPECT_FALSE(settings->fullScreen);
  EXPECT_TRUE(settings->clipboard && settings->autoReconnect && settings->recording);
  EXPECT_EQ(settings->audioMode, 0);
  EXPECT_EQ(settings->keyboardHook, 1);
  EXPECT_FALSE(settings->compression || settings->connectionBar);
  EXPECT_FALSE(settings->wallpaper);
  EXPECT_TRUE(settings->themes);
  EXPECT_TRUE(settings->printers);
  EXPECT_FALSE(settings->smartCards);
  EXPECT_TRUE(settings->serialPorts);
  EXPECT_EQ(settings->drives, (std::vector<std::wstring>{L"C:", L"D:\\"}));
  // The odd digit after the last pair is the program's own addition, not part of the blob.
  EXPECT_EQ(settings->passwordBlob, (std::vector<std::uint8_t>{0x01, 0xA0, 0xFF}));
  EXPECT_FALSE(ParseSessionText("username:s:admin\r\n"));
  // Lines that are missing or hold no value the client knows keep the client's defaults.
  const auto bare = ParseSessionText("full address:s:h\r\naudiomode:i:7\r\nkeyboardhook:i:\r\n");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->audioMode, 2);
  EXPECT_EQ(bare->keyboardHook, 2);
  EXPECT_TRUE(bare->compression && bare->connectionBar);
}

TEST(SessionFileTest, HexBlobs) {
  EXPECT_EQ(DecodeHexBlob(""),
            std::optional<std::vector<std::uint8_t>>(std::vector<std::uint8_t>{}));
  EXPECT_EQ(DecodeHexBlob("0a1B2"), std::optional(std::vector<std::uint8_t>{0x0A, 0x1B}));
  EXPECT_FALSE(DecodeHexBlob("0g"));
}

TEST(SessionFileTest, APasswordProtectedHereIsRecovered) {
  const std::wstring password = L"密码-pw";
  DATA_BLOB in{static_cast<DWORD>(password.size() * 2 + 2),
               reinterpret_cast<BYTE*>(const_cast<wchar_t*>(password.c_str()))};
  DATA_BLOB out{};
  ASSERT_TRUE(CryptProtectData(&in, L"psw", nullptr, nullptr, nullptr, 0, &out));
  const std::vector<std::uint8_t> blob(out.pbData, out.pbData + out.cbData);
  LocalFree(out.pbData);
  const auto recovered = RecoverPassword(blob);
  ASSERT_TRUE(recovered);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(recovered->data()), recovered->size()),
            "\xE5\xAF\x86\xE7\xA0\x81-pw");  // UTF-8 for xfreerdp
  EXPECT_FALSE(RecoverPassword({1, 2, 3}));
}

TEST(InvocationTest, TheSystemClientsCommandLine) {
  struct Case {
    const wchar_t* line;
    const wchar_t* file;
    bool admin;
    std::size_t ignored;
  };
  for (const Case& c : {
           Case{LR"(mstsc "C:\测试 一\History\127.0.0.1.rdp" /admin )",
                LR"(C:\测试 一\History\127.0.0.1.rdp)", true, 0},
           Case{L"mstsc a.rdp /CONSOLE", L"a.rdp", true, 0},
           Case{L"mstsc a.rdp", L"a.rdp", false, 0},
           Case{L"mstsc /v:host /f a.rdp b.rdp", L"a.rdp", false, 3},
           Case{L"mstsc", L"", false, 0},
       }) {
    const Invocation invocation = ParseInvocation(c.line);
    EXPECT_EQ(invocation.sessionFile, c.file) << c.line;
    EXPECT_EQ(invocation.admin, c.admin) << c.line;
    EXPECT_EQ(invocation.ignored.size(), c.ignored) << c.line;
  }
}

TEST(FreeRdpCommandTest, SettingsBecomeOptions) {
  auto settings = ParseSessionText(SessionText(""));
  ASSERT_TRUE(settings);
  EXPECT_EQ(FreeRdpArguments(*settings, true, CertificatePolicy::kTrustOnFirstUse,
                             {{L"C", L"/root/.wine/drive_c/"}, {L"D", L"/a,b"}},
                             {{L"COM1", L"/root/.wine/dosdevices/com1"}}),
            (std::vector<std::wstring>{L"/usr/bin/xfreerdp",
                                       L"/v:10.0.0.5:3390",
                                       L"/u:运维",
                                       L"/d:CORP",
                                       L"/size:1024x768",
                                       L"/bpp:16",
                                       L"/admin",
                                       L"+clipboard",
                                       L"/sound",
                                       L"/microphone",
                                       L"+grab-keyboard",
                                       L"-compression",
                                       L"-wallpaper",
                                       L"+auto-reconnect",
                                       L"/drive:C,/root/.wine/drive_c/",
                                       L"/printer",
                                       L"/serial:COM1,/root/.wine/dosdevices/com1",
                                       L"/log-filters:com.freerdp.channels.rdpdr.client:DEBUG",
                                       L"/from-stdin:force",
                                       L"/cert:tofu"}));
  settings->fullScreen = true;
  settings->clipboard = settings->autoReconnect = settings->recording = false;
  settings->audioMode = 2;
  settings->keyboardHook = 2;
  settings->compression = settings->connectionBar = true;
  settings->wallpaper = true;
  settings->themes = false;
  settings->user.clear();
  settings->printers = settings->serialPorts = false;
  EXPECT_EQ(FreeRdpArguments(*settings, false, CertificatePolicy::kIgnore, {},
                             {{L"COM1", L"/dev/ttyS0"}}),
            (std::vector<std::wstring>{
                L"/usr/bin/xfreerdp", L"/v:10.0.0.5:3390", L"/d:CORP", L"/f", L"/bpp:16",
                L"-clipboard", L"/audio-mode:2", L"+grab-keyboard",
                L"/floatbar:sticky:off,default:visible,show:fullscreen", L"+compression",
                L"-themes", L"/log-filters:com.freerdp.channels.rdpdr.client:DEBUG",
                L"/from-stdin:force", L"/cert:ignore"}));
}

// Where key combinations go, by "keyboardhook" and the screen mode.
TEST(FreeRdpCommandTest, KeyCombinationsGoWhereTheSettingSays) {
  auto settings = ParseSessionText(SessionText(""));
  ASSERT_TRUE(settings);
  const struct {
    int hook;
    bool fullScreen;
    const wchar_t* grab;
  } cases[] = {{0, false, L"-grab-keyboard"}, {0, true, L"-grab-keyboard"},
               {1, false, L"+grab-keyboard"}, {1, true, L"+grab-keyboard"},
               {2, false, L"-grab-keyboard"}, {2, true, L"+grab-keyboard"}};
  for (const auto& c : cases) {
    settings->keyboardHook = c.hook;
    settings->fullScreen = c.fullScreen;
    const auto words = FreeRdpArguments(*settings, false, CertificatePolicy::kIgnore);
    EXPECT_NE(std::find(words.begin(), words.end(), c.grab), words.end())
        << c.hook << (c.fullScreen ? " full screen" : " window");
  }
}

TEST(FreeRdpCommandTest, ColourDepthsAreOnesFreeRdpTakes) {
  auto settings = ParseSessionText(SessionText(""));
  ASSERT_TRUE(settings);
  for (const auto& [stored, passed] :
       std::vector<std::pair<std::wstring, std::wstring>>{{L"31", L"/bpp:32"},
                                                          {L"32", L"/bpp:32"},
                                                          {L"24", L"/bpp:24"},
                                                          {L"16", L"/bpp:16"},
                                                          {L"12", L"/bpp:15"},
                                                          {L"4", L"/bpp:8"},
                                                          {L"999999", L"/bpp:32"}}) {
    settings->colourDepth = stored;
    const auto words = FreeRdpArguments(*settings, false, CertificatePolicy::kIgnore);
    EXPECT_NE(std::find(words.begin(), words.end(), passed), words.end()) << passed;
  }
}

TEST(FreeRdpCommandTest, EveryWordComesBackWhole) {
  const std::vector<std::wstring> words = ReportingExitCode(
      {L"/usr/bin/xfreerdp", L"/u:a b", L"", LR"(say "hi")", LR"(C:\dir\)", LR"(a\\"b)", L"运维"});
  int count = 0;
  wchar_t** split = CommandLineToArgvW(JoinCommandLine(words).c_str(), &count);
  ASSERT_NE(split, nullptr);
  const std::vector<std::wstring> back(split, split + count);
  LocalFree(split);
  EXPECT_EQ(back, words);
  EXPECT_EQ(words[0], L"/bin/sh");
}

TEST(ClientEndTest, TheExitCodeIsTheLastLine) {
  EXPECT_EQ(ReportedExitCode("[INFO] x\nxfreerdp exit code: 147\n"), std::optional(147));
  EXPECT_EQ(ReportedExitCode("xfreerdp exit code: 0"), std::optional(0));
  EXPECT_FALSE(ReportedExitCode("xfreerdp exit code: 12\n[INFO] later\n"));
  EXPECT_FALSE(ReportedExitCode("xfreerdp exit code: x\n"));
  EXPECT_FALSE(ReportedExitCode(""));
}

TEST(ClientEndTest, OnlyFailuresAreTold) {
  const std::string failed = "[ERROR][com.freerdp.core] - failed\n";
  struct Case {
    int code;
    std::string output;
    const wchar_t* expectedPart;  // nullptr: nothing is said
  };
  for (const Case& c : {
           Case{0, "", nullptr},
           Case{11, "", nullptr},
           Case{12, "[rdpdr] server announces version 1.12, client uses 1.12\n", nullptr},
           Case{12, "RDPDR_USER_LOGGEDON_PDU, client supported, server not found\n", nullptr},
           // Logged off before the server opened the device channel: its log-on screen refused.
           Case{12, failed, L"远程计算机 h:1 拒绝了登录：用户名或密码可能不正确。"},
           Case{145, failed, nullptr},
           Case{147, failed, L"无法连接到远程计算机 h:1"},
           Case{140, failed, L"找不到远程计算机 h:1"},
           Case{132, failed, L"用户名或密码不正确"},
           Case{143, failed, L"证书"},
           Case{143, "", nullptr},  // SIGTERM, not a failed TLS connection
           Case{200, failed, L"FreeRDP 退出码 200"},
       }) {
    const std::wstring message = EndMessage(c.code, L"h:1", c.output);
    if (c.expectedPart == nullptr) {
      EXPECT_EQ(message, L"") << c.code;
    } else {
      EXPECT_NE(message.find(c.expectedPart), std::wstring::npos) << c.code;
    }
  }
}

}  // namespace
}  // namespace rdp_client
