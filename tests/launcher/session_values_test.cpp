// Every line of the session file against the client's documented properties (name, type and the
// values it accepts), for every value the settings window can store and for an empty config.ini.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "launcher/session_file.h"
#include "session_lines.h"
#include "settings/settings_store.h"
#include "settings/settings_window_options.h"

namespace lumora::launcher {
namespace {

namespace key = settings::key;

// What the client accepts on one line.
struct Documented {
  char type;                     // 'i' number, 's' text, 'b' binary as hexadecimal
  std::set<std::string> values;  // accepted values; empty: see `low`, `high` or any text
  int low = 0;
  int high = -1;  // a number range when low <= high
};

Documented Flag() {
  return {'i', {"0", "1"}};
}
Documented Range(int low, int high) {
  return {'i', {}, low, high};
}
Documented AnyText() {
  return {'s', {}};
}

// The documented session-file properties of the client, in the order the program writes them.
const std::vector<std::pair<std::string, Documented>>& Properties() {
  static const std::vector<std::pair<std::string, Documented>> properties = {
      {"screen mode id", {'i', {"1", "2"}}},
      {"desktopwidth", Range(200, 8192)},
      {"desktopheight", Range(200, 8192)},
      {"session bpp", {'i', {"8", "15", "16", "24", "32"}}},
      {"winposstr", AnyText()},
      {"full address", AnyText()},
      {"compression", Flag()},
      {"keyboardhook", Range(0, 2)},
      {"audiomode", Range(0, 2)},
      {"redirectdrives", Flag()},
      {"redirectprinters", Flag()},
      {"redirectcomports", Flag()},
      {"redirectsmartcards", Flag()},
      {"displayconnectionbar", Flag()},
      {"autoreconnection enabled", Flag()},
      {"username", AnyText()},
      {"domain", AnyText()},
      {"alternate shell", AnyText()},
      {"shell working directory", AnyText()},
      {"password 51", {'b', {}}},
      {"disable wallpaper", Flag()},
      {"disable full window drag", Flag()},
      {"disable menu anims", Flag()},
      {"disable themes", Flag()},
      {"disable cursor setting", Flag()},
      {"bitmapcachepersistenable", Flag()},
      {"use multimon", Flag()},
      {"audiocapturemode", Flag()},
      {"videoplaybackmode", Flag()},
      {"connection type", Range(1, 7)},
      {"allow font smoothing", Flag()},
      {"allow desktop composition", Flag()},
      {"redirectclipboard", Flag()},
      {"redirectposdevices", Flag()},
      {"redirectdirectx", Flag()},
      {"drivestoredirect", AnyText()},  // checked by DriveListIsDocumented
      {"devicestoredirect", {'s', {"", "*", "DynamicDevices"}}},
      {"authentication level", Range(0, 3)},
      {"prompt for credentials", Flag()},
      {"negotiate security layer", Flag()},
      {"remoteapplicationmode", Flag()},
      {"gatewayhostname", AnyText()},
      {"gatewayusagemethod", Range(0, 4)},
      {"gatewaycredentialssource", Range(0, 5)},
      {"gatewayprofileusagemethod", Flag()},
      {"promptcredentialonce", Flag()},
      {"use redirection server name", Flag()},
  };
  return properties;
}

// "C:;D:;", "C:\;", "*", "DynamicDrives" or nothing.
bool DriveListIsDocumented(const std::string& list) {
  if (list.empty() || list == "*" || list == "DynamicDrives") {
    return true;
  }
  for (std::size_t at = 0; at < list.size();) {
    if (list.size() - at < 3 || list[at] < 'A' || list[at] > 'Z' || list[at + 1] != ':') {
      return false;
    }
    at += 2;
    if (list[at] == '\\') {
      ++at;
    }
    if (at >= list.size() || list[at] != ';') {
      return false;
    }
    ++at;
  }
  return true;
}

// Why `line` (number `index` from 0) is not what the client documents; empty when it is.
std::string Fault(const std::string& line, std::size_t index) {
  const auto& [name, documented] = Properties()[index];
  const std::string prefix = name + ":" + documented.type + ":";
  if (line.compare(0, prefix.size(), prefix) != 0) {
    return "expected " + prefix;
  }
  const std::string value = line.substr(prefix.size());
  if (documented.low <= documented.high) {
    const bool number = !value.empty() && value.size() < 6 &&
                        value.find_first_not_of("0123456789") == std::string::npos;
    if (!number || std::stoi(value) < documented.low || std::stoi(value) > documented.high) {
      return "not a number from " + std::to_string(documented.low) + " to " +
             std::to_string(documented.high);
    }
  } else if (!documented.values.empty() && documented.values.count(value) == 0) {
    return "not one of the documented values";
  } else if (documented.type == 'b' &&
             value.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
    return "not hexadecimal";
  } else if (name == "drivestoredirect" && !DriveListIsDocumented(value)) {
    return "not a drive list";
  }
  return {};
}

// Every value the settings window stores for each key, and the fresh file's.
std::map<std::string, std::vector<std::string>> WindowValues() {
  std::map<std::string, std::vector<std::string>> values = {
      {key::kWindowMode, {"0", "1"}},
      {key::kWindowSize, {"800×600", "1024×768", "1280×800", "1280×1024", "1440×900", "1680×1050"}},
      {key::kColourDepth, {"4", "8", "16", "24", "32", "31"}},
      {key::kDriveMapping, {"0", "1"}},
      {key::kSmartCards, {"0", "1"}},
      {key::kLocalDrives, {"", "C:;", "C:;D:;Z:;"}},
  };
  for (const settings::CheckBoxOption& box : settings::PlainCheckBoxes()) {
    values[box.key] = {"0", "1"};
  }
  for (const settings::RadioOption& radio : settings::RadioGroups()) {
    values[radio.key].push_back(radio.value);
  }
  return values;
}

settings::ConnectionSettings Defaults() {
  settings::ConnectionSettings values;
  for (const settings::SettingDefault& entry : settings::SessionDefaults()) {
    values.Set(entry.key, entry.value);
  }
  return values;
}

void ExpectDocumented(const settings::ConnectionSettings& values, const std::string& what) {
  const ServerValues server{"10.0.0.7", "3389", "administrator", "0102AB0", ""};
  const std::vector<std::string> lines = testing::SplitCrLf(SessionFileContent(server, values));
  ASSERT_EQ(lines.size(), Properties().size()) << what;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string fault = Fault(lines[i], i);
    EXPECT_TRUE(fault.empty()) << what << ": line " << i + 1 << " \"" << lines[i] << "\" " << fault;
  }
}

TEST(SessionValuesTest, EveryValueTheSettingsWindowStoresIsOneTheClientDocuments) {
  ExpectDocumented(settings::ConnectionSettings(), "an empty config.ini");
  ExpectDocumented(Defaults(), "a fresh config.ini");
  for (const auto& [name, stored] : WindowValues()) {
    for (const std::string& value : stored) {
      settings::ConnectionSettings values = Defaults();
      values.Set(name, value);
      ExpectDocumented(values, name + " = " + value);
    }
    settings::ConnectionSettings edited = Defaults();
    edited.Set(name, "x");
    ExpectDocumented(edited, name + " edited by hand");
  }
}

// The values whose meaning differs between config.ini and the client.
TEST(SessionValuesTest, StoredValuesBecomeWhatTheClientReadsForThem) {
  const struct {
    const char* key;
    const char* stored;
    std::size_t line;
    const char* expected;
  } cases[] = {
      {key::kWindowMode, "0", 1, "screen mode id:i:2"},
      {key::kWindowMode, "1", 1, "screen mode id:i:1"},
      {key::kWindowMode, "", 1, "screen mode id:i:1"},
      {key::kColourDepth, "4", 4, "session bpp:i:8"},
      {key::kColourDepth, "31", 4, "session bpp:i:32"},
      {key::kColourDepth, "", 4, "session bpp:i:32"},
      {key::kColourDepth, "24", 4, "session bpp:i:24"},
      {key::kPnpDevices, "1", 37, "devicestoredirect:s:*"},
      {key::kPnpDevices, "0", 37, "devicestoredirect:s:"},
      {key::kDesktopBackground, "1", 21, "disable wallpaper:i:0"},
      {key::kDesktopTheme, "0", 24, "disable themes:i:1"},
  };
  const ServerValues server{"h", "3389", "u", "0", ""};
  for (const auto& c : cases) {
    settings::ConnectionSettings values = Defaults();
    values.Set(c.key, c.stored);
    const std::vector<std::string> lines = testing::SplitCrLf(SessionFileContent(server, values));
    ASSERT_GE(lines.size(), c.line);
    EXPECT_EQ(lines[c.line - 1], c.expected) << c.key << " = " << c.stored;
  }
}

}  // namespace
}  // namespace lumora::launcher
