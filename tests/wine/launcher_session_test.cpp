// Launching sessions for real: the stand-in client (tools/standin_mstsc) is found along the search
// path as "mstsc" and records how it was started.
#include "launcher/launch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/process.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"
#include "support/file_bytes.h"
#include "support/stand_in_client.h"
#include "support/temp_directory.h"

namespace lumora::launcher {
namespace {

using testing_support::StandInDirectory;

std::string Variable(const char* name) {
  std::string value(32768, '\0');
  const DWORD length = ::GetEnvironmentVariableA(name, value.data(), 32768);
  value.resize(length < 32768 ? length : 0);
  return value;
}

// Sets an environment variable of this process (and so of the programs it starts) for one test.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name), old_(Variable(name)) {
    ::SetEnvironmentVariableA(name, value.c_str());
  }
  ~ScopedVariable() { ::SetEnvironmentVariableA(name_, old_.empty() ? nullptr : old_.c_str()); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::string old_;
};

using testing_support::ReadBytes;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      end = text.size();
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

class Win32LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The system directory is searched before the path: a real client there would be started.
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    if (platform::FileExists(std::string(system) + "\\mstsc.exe")) {
      GTEST_SKIP() << "this system has its own mstsc.exe";
    }
    ASSERT_TRUE(platform::FileExists(StandInDirectory() + "\\mstsc.exe")) << StandInDirectory();
    SetProgramDirectory(program_.Path());
    settings::WriteDefaults();
  }

  // Puts the stand-in first on the search path and points its log at log_.
  void UseStandIn() {
    path_.emplace("PATH", StandInDirectory() + ";" + Variable("PATH"));
    log_variable_.emplace("LUMORA_STANDIN_LOG", log_.Path());
  }

  // True once the stand-in has finished writing its log; false after a generous wait.
  bool WaitForLog() const {
    for (int i = 0; i < 3000; ++i) {
      if (log_.Contains("command-line.txt")) {
        return true;
      }
      ::Sleep(10);
    }
    return false;
  }

  static SessionInputs Inputs(const Text& host) {
    return SessionInputs{host, "3389", "administrator", "secret", ""};
  }

  testing_support::TempDirectory program_;
  testing_support::TempDirectory log_;
  std::optional<ScopedVariable> path_;
  std::optional<ScopedVariable> log_variable_;
};

TEST_F(Win32LaunchTest, ClientGetsTheQuotedPathAndTheSwitch) {
  UseStandIn();
  ASSERT_EQ(LaunchSession(Inputs("srv1")), LaunchOutcome::kStarted);
  ASSERT_TRUE(WaitForLog());
  const Text path = program_.Path() + "\\History\\srv1.rdp";
  EXPECT_EQ(ReadBytes(log_.NativePath("command-line.txt")), "mstsc \"" + path + "\" /admin ");
  EXPECT_EQ(Lines(ReadBytes(log_.NativePath("argv.txt"))),
            (std::vector<std::string>{"mstsc", path, "/admin"}));
  const std::string written = ReadBytes(program_.NativePath("History/srv1.rdp"));
  EXPECT_EQ(written.size() > 1000, true);
  EXPECT_EQ(ReadBytes(log_.NativePath("session.rdp")), written);
}

// The client is looked for in the system's folder first; Wine has no mstsc.exe there, so the
// command line keeps the bare name that finds the bridge beside the program.
TEST(SystemProgramTest, OnlyProgramsOfTheSystemFolderAreFound) {
  const Text notepad = platform::SystemProgram("notepad.exe");
  ASSERT_FALSE(notepad.empty());
  EXPECT_EQ(AsciiLowerCase(notepad.substr(notepad.size() - 20)), "system32\\notepad.exe");
  EXPECT_EQ(platform::SystemProgram("mstsc.exe"), "");
  EXPECT_EQ(platform::SystemProgram("no-such-program.exe"), "");
  EXPECT_EQ(ClientCommandLine("C:\\h.rdp", ""), "mstsc \"C:\\h.rdp\"");
}

TEST_F(Win32LaunchTest, ProgramDirectoryWithBlanksWorks) {
  const Text program = program_.Path() + "\\Remote Desktop Tools";
  ASSERT_TRUE(platform::CreateFolder(program));
  SetProgramDirectory(program);
  settings::WriteDefaults();
  settings::WriteSetting(settings::kSessionSection, settings::key::kForcedMode, "1");
  UseStandIn();
  ASSERT_EQ(LaunchSession(Inputs("srv2")), LaunchOutcome::kStarted);
  ASSERT_TRUE(WaitForLog());
  const Text path = program + "\\History\\srv2.rdp";
  EXPECT_EQ(Lines(ReadBytes(log_.NativePath("argv.txt"))),
            (std::vector<std::string>{"mstsc", path, "/console"}));
  EXPECT_EQ(ReadBytes(log_.NativePath("session.rdp")),
            ReadBytes(program_.NativePath("Remote Desktop Tools/History/srv2.rdp")));
}

TEST_F(Win32LaunchTest, NoSwitchLeavesOneBlankAfterThePath) {
  settings::WriteSetting(settings::kSessionSection, settings::key::kForcedMode, "2");
  UseStandIn();
  ASSERT_EQ(LaunchSession(Inputs("srv3")), LaunchOutcome::kStarted);
  ASSERT_TRUE(WaitForLog());
  const Text path = program_.Path() + "\\History\\srv3.rdp";
  EXPECT_EQ(ReadBytes(log_.NativePath("command-line.txt")), "mstsc \"" + path + "\" ");
}

TEST_F(Win32LaunchTest, MissingHistoryFolderIsCreated) {
  ASSERT_FALSE(program_.Contains("History"));
  UseStandIn();
  ASSERT_EQ(LaunchSession(Inputs("srv4")), LaunchOutcome::kStarted);
  EXPECT_TRUE(program_.Contains("History/srv4.rdp"));
  ASSERT_TRUE(WaitForLog());
}

TEST_F(Win32LaunchTest, HostNameWithTwoDotsIsRefusedAndNothingIsWritten) {
  UseStandIn();
  for (const char* host : {"..\\evil", "..", "..\\..\\evil"}) {
    EXPECT_EQ(LaunchSession(Inputs(host)), LaunchOutcome::kWriteFailed) << host;
  }
  EXPECT_FALSE(program_.Contains("History"));
  EXPECT_FALSE(program_.Contains("evil.rdp"));
  EXPECT_FALSE(
      std::filesystem::exists(std::filesystem::path(program_.Path()).parent_path() / "evil.rdp"));
  // Nothing was started either.
  EXPECT_FALSE(log_.Contains("argv.txt"));
}

TEST_F(Win32LaunchTest, MissingClientIsReported) {
  path_.emplace("PATH", program_.Path());
  EXPECT_EQ(LaunchSession(Inputs("srv5")), LaunchOutcome::kClientNotStarted);
  EXPECT_TRUE(program_.Contains("History/srv5.rdp"));
}

TEST_F(Win32LaunchTest, LockedFileIsAWriteFailure) {
  ASSERT_TRUE(platform::CreateFolder(program_.Path() + "\\History"));
  ASSERT_TRUE(platform::WriteFileContent(program_.Path() + "\\History\\srv6.rdp", "old"));
  const HANDLE held = ::CreateFileA((program_.Path() + "\\History\\srv6.rdp").c_str(), GENERIC_READ,
                                    0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  UseStandIn();
  EXPECT_EQ(LaunchSession(Inputs("srv6")), LaunchOutcome::kWriteFailed);
  ::CloseHandle(held);
  EXPECT_EQ(ReadBytes(program_.NativePath("History/srv6.rdp")), "old");
  EXPECT_FALSE(log_.Contains("argv.txt"));
}

}  // namespace
}  // namespace lumora::launcher
