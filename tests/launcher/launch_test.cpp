#include "launcher/launch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"
#include "support/file_bytes.h"
#include "support/temp_directory.h"

#ifndef _WIN32
#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <thread>
#endif

namespace lumora::launcher {
namespace {

std::vector<std::string> Entries(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(LaunchTipTest, EachOutcomeHasItsTip) {
  EXPECT_EQ(LaunchTip(LaunchOutcome::kStarted), "正在进行远程协助!");
  EXPECT_EQ(LaunchTip(LaunchOutcome::kWriteFailed), "远程RDP文件写出出错!");
  EXPECT_EQ(LaunchTip(LaunchOutcome::kClientNotStarted), "远程桌面程序启动失败!");
}

TEST(LaunchCommandLineTest, PathIsQuotedAndTheSwitchFollows) {
  EXPECT_EQ(ClientCommandLine("C:\\Program Files\\Lumora\\History\\h.rdp", " /admin "),
            "mstsc \"C:\\Program Files\\Lumora\\History\\h.rdp\" /admin ");
  EXPECT_EQ(ClientCommandLine("D:\\L\\History\\h.rdp", " "), "mstsc \"D:\\L\\History\\h.rdp\" ");
  EXPECT_EQ(ClientCommandLine("D:\\L\\History\\h.rdp", ""), "mstsc \"D:\\L\\History\\h.rdp\"");
}

class LaunchSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    settings::WriteDefaults();
  }

  static SessionInputs Inputs(const Text& host) {
    return SessionInputs{host, "3389", "admin", "secret", ""};
  }

  testing_support::TempDirectory directory_;
};

TEST_F(LaunchSessionTest, HostNameWithTwoDotsIsRefusedAndNothingIsWritten) {
  for (const char* host : {"..", "..\\..\\evil", "../evil", "sub\\evil", "a:b"}) {
    EXPECT_EQ(LaunchSession(Inputs(host)), LaunchOutcome::kWriteFailed) << host;
  }
  EXPECT_EQ(Entries(directory_.Path()), std::vector<std::string>{"config.ini"});
  EXPECT_FALSE(
      std::filesystem::exists(std::filesystem::path(directory_.Path()).parent_path() / "evil.rdp"));
}

TEST_F(LaunchSessionTest, UnwritableFileIsAWriteFailure) {
  // A folder in the file's place cannot be opened for writing.
  std::filesystem::create_directories(directory_.NativePath("History/busy.rdp"));
  EXPECT_EQ(LaunchSession(Inputs("busy")), LaunchOutcome::kWriteFailed);
}

TEST_F(LaunchSessionTest, MissingProgramDirectoryIsAWriteFailure) {
  SetProgramDirectory(directory_.Path() + "\\gone\\deeper");
  EXPECT_EQ(LaunchSession(Inputs("srv")), LaunchOutcome::kWriteFailed);
  EXPECT_FALSE(directory_.Contains("gone"));
}

#ifndef _WIN32

using testing_support::ReadBytes;

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A stand-in client: a shell script named "mstsc" that writes its arguments, one per line, to
// argv.txt in $LUMORA_STANDIN_LOG and copies the session file to session.rdp there. argv.txt
// appears last, by renaming.
class NativeLaunchTest : public LaunchSessionTest {
 protected:
  void SetUp() override {
    LaunchSessionTest::SetUp();
    const std::filesystem::path bin = tools_.NativePath("bin");
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(tools_.NativePath("empty"));
    std::filesystem::create_directories(tools_.NativePath("log"));
    const std::filesystem::path script = bin / "mstsc";
    std::ofstream(script, std::ios::binary)
        << "#!/bin/sh\n"
           "log=\"$LUMORA_STANDIN_LOG\"\n"
           "printf '%s\\n' \"$@\" > \"$log/argv.tmp\"\n"
           "cp \"$(printf '%s' \"$1\" | tr '\\\\' '/')\" \"$log/session.rdp\"\n"
           "mv \"$log/argv.tmp\" \"$log/argv.txt\"\n";
    ::chmod(script.c_str(), 0755);
  }

  // The stand-in's arguments once it has finished writing, or nothing after a generous wait.
  std::optional<std::vector<std::string>> WaitForArguments() const {
    const std::filesystem::path done = tools_.NativePath("log/argv.txt");
    for (int i = 0; i < 3000 && !std::filesystem::exists(done); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!std::filesystem::exists(done)) {
      return std::nullopt;
    }
    std::vector<std::string> lines;
    std::ifstream in(done);
    for (std::string line; std::getline(in, line);) {
      lines.push_back(line);
    }
    return lines;
  }

  // The stand-in's folder, then the usual search path (the script needs its tools).
  std::string StandInFirst() const {
    const char* usual = std::getenv("PATH");
    return tools_.NativePath("bin") + ":" + (usual ? usual : "/usr/bin:/bin");
  }

  testing_support::TempDirectory tools_;
};

TEST_F(NativeLaunchTest, StartsTheClientOnTheQuotedPathWithTheSwitch) {
  const Text program = directory_.Path() + "/with blanks in it";
  std::filesystem::create_directories(program);
  SetProgramDirectory(program);
  settings::WriteDefaults();
  const ScopedVariable path("PATH", StandInFirst());
  const ScopedVariable log("LUMORA_STANDIN_LOG", tools_.NativePath("log"));

  ASSERT_EQ(LaunchSession(Inputs("srv1")), LaunchOutcome::kStarted);
  const auto arguments = WaitForArguments();
  ASSERT_TRUE(arguments.has_value());
  const Text sessionPath = program + "\\History\\srv1.rdp";
  EXPECT_EQ(*arguments, (std::vector<std::string>{sessionPath, "/admin"}));
  const std::string written = ReadBytes(program + "/History/srv1.rdp");
  EXPECT_EQ(written.size() > 1000, true);
  EXPECT_EQ(ReadBytes(tools_.NativePath("log/session.rdp")), written);
}

TEST_F(NativeLaunchTest, MissingHistoryFolderIsCreated) {
  const ScopedVariable path("PATH", StandInFirst());
  const ScopedVariable log("LUMORA_STANDIN_LOG", tools_.NativePath("log"));
  ASSERT_FALSE(directory_.Contains("History"));
  ASSERT_EQ(LaunchSession(Inputs("srv2")), LaunchOutcome::kStarted);
  EXPECT_TRUE(directory_.Contains("History/srv2.rdp"));
  ASSERT_TRUE(WaitForArguments().has_value());
}

TEST_F(NativeLaunchTest, ConsoleSwitchFollowsTheSetting) {
  settings::WriteSetting(settings::kSessionSection, settings::key::kForcedMode, "1");
  const ScopedVariable path("PATH", StandInFirst());
  const ScopedVariable log("LUMORA_STANDIN_LOG", tools_.NativePath("log"));
  ASSERT_EQ(LaunchSession(Inputs("srv3")), LaunchOutcome::kStarted);
  const auto arguments = WaitForArguments();
  ASSERT_TRUE(arguments.has_value());
  EXPECT_EQ(arguments->back(), "/console");
}

TEST_F(NativeLaunchTest, MissingClientIsReportedAfterTheFileIsWritten) {
  const ScopedVariable path("PATH", tools_.NativePath("empty"));
  EXPECT_EQ(LaunchSession(Inputs("srv4")), LaunchOutcome::kClientNotStarted);
  EXPECT_TRUE(directory_.Contains("History/srv4.rdp"));
}

TEST_F(NativeLaunchTest, SecondConnectionOverwritesTheFile) {
  const ScopedVariable path("PATH", tools_.NativePath("empty"));
  ASSERT_EQ(LaunchSession(Inputs("srv5")), LaunchOutcome::kClientNotStarted);
  settings::WriteSetting(settings::kSessionSection, settings::key::kWindowSize, "1024×768");
  ASSERT_EQ(LaunchSession(Inputs("srv5")), LaunchOutcome::kClientNotStarted);
  const std::string written = ReadBytes(directory_.NativePath("History/srv5.rdp"));
  EXPECT_NE(written.find("desktopwidth:i:1024\r\n"), std::string::npos);
  EXPECT_EQ(Entries(directory_.NativePath("History")), std::vector<std::string>{"srv5.rdp"});
}

#endif

}  // namespace
}  // namespace lumora::launcher
