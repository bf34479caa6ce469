#include "launcher/session_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/mode_switch.h"
#include "launcher/session_template.h"
#include "platform/program_directory.h"
#include "session_lines.h"
#include "settings/settings_store.h"
#include "support/temp_directory.h"

namespace lumora::launcher {
namespace {

namespace key = settings::key;
using testing::SplitCrLf;

settings::ConnectionSettings DefaultSettings() {
  settings::ConnectionSettings values;
  for (const settings::SettingDefault& entry : settings::SessionDefaults()) {
    values.Set(entry.key, entry.value);
  }
  return values;
}

ServerValues Server() {
  return ServerValues{"10.0.0.7", "3389", "administrator", "0102AB0", ""};
}

// Line `number` (counted from 1) of the content.
std::string Line(const Text& content, std::size_t number) {
  const std::vector<std::string> lines = SplitCrLf(content);
  return number - 1 < lines.size() ? lines[number - 1] : "<no such line>";
}

TEST(SessionFileContentTest, DefaultsFillEveryPlaceholder) {
  const Text content = SessionFileContent(Server(), DefaultSettings());
  const std::vector<std::string> lines = SplitCrLf(content);
  ASSERT_EQ(lines.size(), 47u);
  EXPECT_EQ(content.find('%'), Text::npos);
  EXPECT_EQ(lines[0], "screen mode id:i:1");
  EXPECT_EQ(lines[1], "desktopwidth:i:800");
  EXPECT_EQ(lines[2], "desktopheight:i:600");
  EXPECT_EQ(lines[3], "session bpp:i:32");
  EXPECT_EQ(lines[5], "full address:s:10.0.0.7:3389");
  EXPECT_EQ(lines[6], "compression:i:1");
  EXPECT_EQ(lines[7], "keyboardhook:i:2");
  EXPECT_EQ(lines[8], "audiomode:i:2");
  EXPECT_EQ(lines[10], "redirectprinters:i:0");
  EXPECT_EQ(lines[11], "redirectcomports:i:0");
  EXPECT_EQ(lines[12], "redirectsmartcards:i:0");
  EXPECT_EQ(lines[13], "displayconnectionbar:i:1");
  EXPECT_EQ(lines[14], "autoreconnection enabled:i:1");
  EXPECT_EQ(lines[15], "username:s:administrator");
  EXPECT_EQ(lines[16], "domain:s:");
  EXPECT_EQ(lines[19], "password 51:b:0102AB0");
  // Shown by default: the wallpaper ("1", so not disabled); the themes are not ("0").
  EXPECT_EQ(lines[20], "disable wallpaper:i:0");
  EXPECT_EQ(lines[23], "disable themes:i:1");
  EXPECT_EQ(lines[27], "audiocapturemode:i:0");
  EXPECT_EQ(lines[32], "redirectclipboard:i:1");
  EXPECT_EQ(lines[35], "drivestoredirect:s:");
  EXPECT_EQ(lines[36], "devicestoredirect:s:");
}

TEST(SessionFileContentTest, FixedLinesStayAsInTheTemplate) {
  const std::vector<std::string> filled =
      SplitCrLf(SessionFileContent(Server(), DefaultSettings()));
  const std::vector<std::string> fixed = SplitCrLf(SessionTemplate());
  ASSERT_EQ(filled.size(), fixed.size());
  for (std::size_t i = 0; i < fixed.size(); ++i) {
    if (fixed[i].find('%') == std::string::npos) {
      EXPECT_EQ(filled[i], fixed[i]) << "line " << i + 1;
    }
  }
}

TEST(SessionFileContentTest, LineEndsAreCrLfWithNoneAfterTheLastLine) {
  const Text content = SessionFileContent(Server(), DefaultSettings());
  EXPECT_EQ(content.substr(content.size() - 31), "use redirection server name:i:0");
  EXPECT_EQ(content.substr(0, 20), "screen mode id:i:1\r\n");
  EXPECT_EQ(content.find('\0'), Text::npos);
}

TEST(SessionFileContentTest, MissingSettingsGiveWhatTheSettingsWindowShows) {
  const Text content = SessionFileContent(Server(), settings::ConnectionSettings());
  EXPECT_EQ(Line(content, 1), "screen mode id:i:1");
  EXPECT_EQ(Line(content, 2), "desktopwidth:i:800");
  EXPECT_EQ(Line(content, 3), "desktopheight:i:600");
  EXPECT_EQ(Line(content, 4), "session bpp:i:32");
  EXPECT_EQ(Line(content, 33), "redirectclipboard:i:1");
  EXPECT_EQ(content.find('%'), Text::npos);
}

TEST(SessionFileContentTest, WindowSizeIsSplitAtTheTimesSign) {
  settings::ConnectionSettings values = DefaultSettings();
  values.Set(key::kWindowSize, "1024×768");
  Text content = SessionFileContent(Server(), values);
  EXPECT_EQ(Line(content, 2), "desktopwidth:i:1024");
  EXPECT_EQ(Line(content, 3), "desktopheight:i:768");

  values.Set(key::kWindowSize, "1280×1024×32");
  content = SessionFileContent(Server(), values);
  EXPECT_EQ(Line(content, 2), "desktopwidth:i:1280");
  EXPECT_EQ(Line(content, 3), "desktopheight:i:1024");

  // No width: no size the client takes.
  values.Set(key::kWindowSize, "×768");
  content = SessionFileContent(Server(), values);
  EXPECT_EQ(Line(content, 2), "desktopwidth:i:800");
  EXPECT_EQ(Line(content, 3), "desktopheight:i:600");

  values.Set(key::kWindowSize, "1440");
  content = SessionFileContent(Server(), values);
  EXPECT_EQ(Line(content, 2), "desktopwidth:i:800");
  EXPECT_EQ(Line(content, 3), "desktopheight:i:600");
}

TEST(SessionFileContentTest, WindowModeDoesNotAffectTheSize) {
  settings::ConnectionSettings values = DefaultSettings();
  values.Set(key::kWindowMode, "0");
  values.Set(key::kWindowSize, "");
  const Text content = SessionFileContent(Server(), values);
  EXPECT_EQ(Line(content, 1), "screen mode id:i:2");
  EXPECT_EQ(Line(content, 2), "desktopwidth:i:800");
}

TEST(SessionFileContentTest, DriveLineCarriesTheDriveListNotTheMappingSwitch) {
  settings::ConnectionSettings values = DefaultSettings();
  values.Set(key::kDriveMapping, "1");
  values.Set(key::kLocalDrives, "C:;E:;");
  const Text content = SessionFileContent(Server(), values);
  EXPECT_EQ(Line(content, 10), "redirectdrives:i:0");
  EXPECT_EQ(Line(content, 36), "drivestoredirect:s:C:;E:;");
}

// Each setting fills its own line and no other: a stored value unlike the default shows where.
TEST(SessionFileContentTest, EverySettingLandsOnItsLine) {
  struct Case {
    const char* key;
    const char* stored;
    std::size_t line;
    const char* expected;
  };
  const Case cases[] = {
      {key::kWindowMode, "0", 1, "screen mode id:i:2"},
      {key::kColourDepth, "15", 4, "session bpp:i:15"},
      {key::kCompression, "0", 7, "compression:i:0"},
      {key::kKeyCombinations, "1", 8, "keyboardhook:i:1"},
      {key::kAudioPlayback, "1", 9, "audiomode:i:1"},
      {key::kPrinters, "1", 11, "redirectprinters:i:1"},
      {key::kSerialPorts, "1", 12, "redirectcomports:i:1"},
      {key::kSmartCards, "1", 13, "redirectsmartcards:i:1"},
      {key::kConnectionBar, "0", 14, "displayconnectionbar:i:0"},
      {key::kReconnect, "0", 15, "autoreconnection enabled:i:0"},
      {key::kRecording, "1", 28, "audiocapturemode:i:1"},
      {key::kClipboard, "0", 33, "redirectclipboard:i:0"},
      {key::kLocalDrives, "V:;", 36, "drivestoredirect:s:V:;"},
      {key::kPnpDevices, "1", 37, "devicestoredirect:s:*"},
  };
  const std::vector<std::string> defaults =
      SplitCrLf(SessionFileContent(Server(), DefaultSettings()));
  for (const Case& c : cases) {
    settings::ConnectionSettings values = DefaultSettings();
    values.Set(c.key, c.stored);
    const std::vector<std::string> lines = SplitCrLf(SessionFileContent(Server(), values));
    ASSERT_EQ(lines.size(), defaults.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i], i + 1 == c.line ? c.expected : defaults[i])
          << c.key << ", line " << i + 1;
    }
  }
}

TEST(SessionFileContentTest, LaterPlaceholderInsideAValueIsReplacedToo) {
  settings::ConnectionSettings values = DefaultSettings();
  values.Set(key::kRecording, "1");
  ServerValues server = Server();
  server.user = "u%录音%";
  server.domain = "%录音%d";
  const Text content = SessionFileContent(server, values);
  EXPECT_EQ(Line(content, 16), "username:s:u1");
  EXPECT_EQ(Line(content, 17), "domain:s:1d");
}

TEST(SessionFileContentTest, UserHoldingTheDomainPlaceholderReceivesTheDomain) {
  ServerValues server = Server();
  server.user = "%域%\\admin";
  server.domain = "CORP";
  const Text content = SessionFileContent(server, DefaultSettings());
  EXPECT_EQ(Line(content, 16), "username:s:CORP\\admin");
  EXPECT_EQ(Line(content, 17), "domain:s:CORP");
}

TEST(SessionFileContentTest, EarlierPlaceholderInsideAValueStaysAsWritten) {
  ServerValues server = Server();
  server.domain = "%账号%";
  const Text content = SessionFileContent(server, DefaultSettings());
  EXPECT_EQ(Line(content, 17), "domain:s:%账号%");
}

TEST(SessionFileContentTest, PlaceholderLettersMatchInAnyCaseInsideValues) {
  settings::ConnectionSettings values = DefaultSettings();
  values.Set(key::kPnpDevices, "1");
  ServerValues server = Server();
  server.user = "%pnp设备%";
  EXPECT_EQ(Line(SessionFileContent(server, values), 16), "username:s:*");
}

// A stored setting is written as a value the client reads, so it can carry no placeholder; a
// drive list edited by hand keeps only its drives.
TEST(SessionFileContentTest, SettingsCarryNoPlaceholderAndDriveListsOnlyDrives) {
  settings::ConnectionSettings values = DefaultSettings();
  values.Set(key::kReconnect, "%桌面背景%");
  values.Set(key::kLocalDrives, "C:;d:\\;%桌面背景%;junk;Z:;;");
  values.Set(key::kDesktopBackground, "1");
  const Text content = SessionFileContent(Server(), values);
  EXPECT_EQ(Line(content, 15), "autoreconnection enabled:i:1");
  EXPECT_EQ(Line(content, 36), "drivestoredirect:s:C:;D:\\;Z:;");
}

TEST(SessionFileContentTest, TickedWallpaperAndThemesAreNotDisabled) {
  struct Case {
    const char* stored;
    const char* line;
  };
  // Anything but a ticked box ("1") leaves the wallpaper or themes off, as the box shows it.
  const Case cases[] = {{"1", "0"}, {"0", "1"}, {"", "1"}, {"2", "1"}};
  for (const Case& c : cases) {
    settings::ConnectionSettings values = DefaultSettings();
    values.Set(key::kDesktopBackground, c.stored);
    values.Set(key::kDesktopTheme, c.stored);
    const Text content = SessionFileContent(Server(), values);
    EXPECT_EQ(Line(content, 21), std::string("disable wallpaper:i:") + c.line) << c.stored;
    EXPECT_EQ(Line(content, 24), std::string("disable themes:i:") + c.line) << c.stored;
  }
}

TEST(SessionFileContentTest, PercentSignsSemicolonsAndChineseGoInVerbatim) {
  ServerValues server = Server();
  server.user = "张三;50%";
  server.domain = "研发部";
  const Text content = SessionFileContent(server, DefaultSettings());
  EXPECT_EQ(Line(content, 16), "username:s:张三;50%");
  EXPECT_EQ(Line(content, 17), "domain:s:研发部");
}

TEST(SessionFileContentTest, LineBreaksInAUserNameAddNoLines) {
  ServerValues server = Server();
  server.user = "eve\r\nalternate shell:s:cmd.exe\r\nx";
  const Text content = SessionFileContent(server, DefaultSettings());
  const std::vector<std::string> lines = SplitCrLf(content);
  ASSERT_EQ(lines.size(), 47u);
  EXPECT_EQ(lines[15], "username:s:evealternate shell:s:cmd.exex");
  EXPECT_EQ(lines[17], "alternate shell:s:");
  EXPECT_EQ(content.find("\nalternate shell:s:cmd.exe"), Text::npos);
}

TEST(SessionFileContentTest, LineBreaksAreRemovedFromEveryValue) {
  settings::ConnectionSettings values;
  for (const settings::SettingDefault& entry : settings::SessionDefaults()) {
    values.Set(entry.key, std::string("\n") + entry.value + "\r");
  }
  values.Set(key::kWindowSize, "10\r24×7\n68");
  const ServerValues server{"h\n", "\r33\n89", "\nu", "AB\r\n0", "d\r"};
  const Text content = SessionFileContent(server, values);
  const std::vector<std::string> lines = SplitCrLf(content);
  ASSERT_EQ(lines.size(), 47u);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
  }
  EXPECT_EQ(lines[1], "desktopwidth:i:1024");
  EXPECT_EQ(lines[2], "desktopheight:i:768");
  EXPECT_EQ(lines[5], "full address:s:h:3389");
  EXPECT_EQ(lines[15], "username:s:u");
  EXPECT_EQ(lines[16], "domain:s:d");
  EXPECT_EQ(lines[19], "password 51:b:AB0");
  EXPECT_EQ(lines[0], "screen mode id:i:1");
}

class BuildSessionFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SetProgramDirectory(directory_.Path()); }

  static SessionInputs Inputs() { return SessionInputs{"srv1", "3389", "admin", "secret", ""}; }

  testing_support::TempDirectory directory_;
};

TEST_F(BuildSessionFileTest, PathIsTheHostInTheHistoryFolder) {
  settings::WriteDefaults();
  const SessionFile file = BuildSessionFile(Inputs());
  EXPECT_EQ(file.path, directory_.Path() + "\\History\\srv1.rdp");
  EXPECT_EQ(SessionFilePath("a b"), directory_.Path() + "\\History\\a b.rdp");
  EXPECT_EQ(HistoryFolder(), directory_.Path() + "\\History");
}

TEST_F(BuildSessionFileTest, DefaultsGiveTheAdminSwitchAndTheDefaultSize) {
  settings::WriteDefaults();
  const SessionFile file = BuildSessionFile(Inputs());
  EXPECT_EQ(file.modeSwitch, " /admin ");
  EXPECT_EQ(CurrentModeSwitch(), " /admin ");
  EXPECT_EQ(Line(file.content, 2), "desktopwidth:i:800");
  EXPECT_EQ(Line(file.content, 3), "desktopheight:i:600");
  EXPECT_EQ(Line(file.content, 6), "full address:s:srv1:3389");
  EXPECT_EQ(Line(file.content, 16), "username:s:admin");
  EXPECT_EQ(Line(file.content, 17), "domain:s:");
}

TEST_F(BuildSessionFileTest, PasswordLineIsAnOddLengthHexTextEndingInZero) {
  settings::WriteDefaults();
  const std::string line = Line(BuildSessionFile(Inputs()).content, 20);
  const std::string prefix = "password 51:b:";
  ASSERT_EQ(line.substr(0, prefix.size()), prefix);
  const std::string blob = line.substr(prefix.size());
  ASSERT_FALSE(blob.empty());
  EXPECT_EQ(blob.size() % 2, 1u);
  EXPECT_EQ(blob.back(), '0');
  EXPECT_EQ(blob.find_first_not_of("0123456789ABCDEF"), std::string::npos);
}

TEST_F(BuildSessionFileTest, TwoBuildsDifferAtMostInThePasswordLine) {
  settings::WriteDefaults();
  const SessionFile first = BuildSessionFile(Inputs());
  const SessionFile second = BuildSessionFile(Inputs());
  EXPECT_EQ(first.path, second.path);
  const std::vector<std::string> a = SplitCrLf(first.content);
  const std::vector<std::string> b = SplitCrLf(second.content);
  ASSERT_EQ(a.size(), 47u);
  ASSERT_EQ(b.size(), 47u);
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (i != 19) {
      EXPECT_EQ(a[i], b[i]) << "line " << i + 1;
    }
  }
#ifdef _WIN32
  // The system's protection salts every blob.
  EXPECT_NE(a[19], b[19]);
#endif
}

TEST_F(BuildSessionFileTest, SettingsAreReadAfreshForEveryConnection) {
  settings::WriteDefaults();
  EXPECT_EQ(Line(BuildSessionFile(Inputs()).content, 2), "desktopwidth:i:800");
  settings::WriteSetting(settings::kSessionSection, key::kWindowSize, "1680×1050");
  settings::WriteSetting(settings::kSessionSection, key::kColourDepth, "16");
  const Text content = BuildSessionFile(Inputs()).content;
  EXPECT_EQ(Line(content, 2), "desktopwidth:i:1680");
  EXPECT_EQ(Line(content, 3), "desktopheight:i:1050");
  EXPECT_EQ(Line(content, 4), "session bpp:i:16");
}

TEST_F(BuildSessionFileTest, ModeSwitchFollowsTheSettingAndCarriesOver) {
  settings::WriteDefaults();
  const auto forced = [](const char* value) {
    settings::WriteSetting(settings::kSessionSection, key::kForcedMode, value);
  };
  forced("1");
  EXPECT_EQ(BuildSessionFile(Inputs()).modeSwitch, " /console ");
  forced("");
  EXPECT_EQ(BuildSessionFile(Inputs()).modeSwitch, " /console ");
  forced("2");
  EXPECT_EQ(BuildSessionFile(Inputs()).modeSwitch, " ");
  forced("9");
  EXPECT_EQ(BuildSessionFile(Inputs()).modeSwitch, " ");
  forced("0");
  EXPECT_EQ(BuildSessionFile(Inputs()).modeSwitch, " /admin ");
}

TEST_F(BuildSessionFileTest, MissingSettingsFileKeepsTheSwitchAndFallsBackOnSize) {
  settings::WriteDefaults();
  settings::WriteSetting(settings::kSessionSection, key::kForcedMode, "1");
  ASSERT_EQ(BuildSessionFile(Inputs()).modeSwitch, " /console ");
  testing_support::TempDirectory empty;
  SetProgramDirectory(empty.Path());
  const SessionFile file = BuildSessionFile(Inputs());
  EXPECT_EQ(file.modeSwitch, " /console ");
  EXPECT_EQ(Line(file.content, 1), "screen mode id:i:1");
  EXPECT_EQ(Line(file.content, 2), "desktopwidth:i:800");
  EXPECT_EQ(Line(file.content, 3), "desktopheight:i:600");
  SetProgramDirectory(directory_.Path());
}

TEST_F(BuildSessionFileTest, AHostNamedLikeADeviceConnectsUnderItsOwnName) {
  settings::WriteDefaults();
  SessionInputs inputs = Inputs();
  inputs.host = "con.example.com";
  const SessionFile file = BuildSessionFile(inputs);
  EXPECT_EQ(file.path, directory_.Path() + "\\History\\_con.example.com.rdp");
  EXPECT_EQ(Line(file.content, 6), "full address:s:con.example.com:3389");
}

TEST_F(BuildSessionFileTest, HostIsUsedUnchangedInThePath) {
  settings::WriteDefaults();
  SessionInputs inputs = Inputs();
  inputs.host = "服务器.example";
  EXPECT_EQ(BuildSessionFile(inputs).path, directory_.Path() + "\\History\\服务器.example.rdp");
}

}  // namespace
}  // namespace lumora::launcher
