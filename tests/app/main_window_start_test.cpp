#include "app/main_window_start.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/program.h"
#include "forms/headless/headless_window_system.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "platform/profile.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"
#include "support/temp_directory.h"

namespace lumora::app {
namespace {

class MainWindowStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    std::ofstream(directory_.NativePath("mstsc.mdb")) << "catalogue";
    forms::InstallWindowSystem(system_);
    RegisterWindows();
  }

  testing_support::TempDirectory directory_;
  forms::HeadlessWindowSystem system_;
};

TEST_F(MainWindowStartTest, MissingSettingsFileIsWrittenWithDefaults) {
  ASSERT_FALSE(directory_.Contains("config.ini"));
  ASSERT_TRUE(forms::LoadWindow(forms::MainWindow()));
  EXPECT_TRUE(directory_.Contains("config.ini"));
  EXPECT_EQ(settings::ReadSetting(settings::kSessionSection, settings::key::kWindowSize),
            "800×600");
  EXPECT_TRUE(system_.MessageBoxes().empty());
}

TEST_F(MainWindowStartTest, ExistingSettingsFileIsLeftAsItIs) {
  ASSERT_TRUE(platform::WriteProfileText(settings::SettingsFile(), settings::kSessionSection,
                                         settings::key::kClipboard, "0"));
  ASSERT_TRUE(forms::LoadWindow(forms::MainWindow()));
  EXPECT_EQ(settings::ReadSetting(settings::kSessionSection, settings::key::kClipboard), "0");
  EXPECT_EQ(settings::ReadSetting(settings::kSessionSection, settings::key::kWindowSize), "");
}

}  // namespace
}  // namespace lumora::app
