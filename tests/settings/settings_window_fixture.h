// The settings window over the headless backend, with drives made up by the test and helpers to
// read back what the window did.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "forms/headless/headless_window_system.h"
#include "forms/settings_window.h"
#include "forms/window_model.h"
#include "platform/drives.h"
#include "platform/program_directory.h"
#include "settings/settings_store.h"
#include "support/temp_directory.h"

namespace lumora::settings::testing {

// Drives as the test describes them; every other letter has no root directory.
class FakeDrives final : public platform::Drives {
 public:
  struct Drive {
    platform::DriveType system = platform::DriveType::kFixed;
    int automation = platform::kAutomationFixedDisk;
    platform::VolumeInformation volume;
  };

  void Add(char letter, Drive drive) { drives_[letter] = std::move(drive); }
  // The roots the automation object and the volume query were asked about, in order.
  const std::vector<Text>& AskedRoots() const { return asked_; }

  platform::DriveType SystemDriveType(const Text& drive) const override {
    const Drive* found = Find(drive, ":");
    return found == nullptr ? platform::DriveType::kNoRootDirectory : found->system;
  }
  int AutomationDriveType(const Text& root) const override {
    asked_.push_back(root);
    const Drive* found = Find(root, ":\\");
    return found == nullptr ? 0 : found->automation;
  }
  platform::VolumeInformation Volume(const Text& root) const override {
    const Drive* found = Find(root, ":\\");
    return found == nullptr ? platform::VolumeInformation{} : found->volume;
  }

 private:
  const Drive* Find(const Text& text, std::string_view suffix) const {
    if (text.size() != 1 + suffix.size() || text.substr(1) != suffix) {
      return nullptr;
    }
    const auto found = drives_.find(text[0]);
    return found == drives_.end() ? nullptr : &found->second;
  }

  std::map<char, Drive> drives_;
  mutable std::vector<Text> asked_;
};

// Puts a directory where config.ini was, for as long as it lives: no system can write the file
// then, not even for an administrator (for whom a read-only attribute may not count).
class UnwritableSettingsFile {
 public:
  explicit UnwritableSettingsFile(std::filesystem::path path) : path_(std::move(path)) {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    std::filesystem::create_directory(path_, ignored);
  }
  ~UnwritableSettingsFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  UnwritableSettingsFile(const UnwritableSettingsFile&) = delete;
  UnwritableSettingsFile& operator=(const UnwritableSettingsFile&) = delete;

 private:
  std::filesystem::path path_;
};

class SettingsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    forms::InstallWindowSystem(system_);
    app::RegisterWindows();
    platform::UseDrives(&drives_);
  }
  void TearDown() override { platform::UseDrives(nullptr); }

  static const forms::WindowDefinition& Window() { return forms::SettingsWindow(); }

  void Open() { ASSERT_TRUE(forms::LoadWindow(Window())); }
  void Close() { ASSERT_TRUE(system_.CloseBox(Window())); }
  void Click(const char* control) { ASSERT_TRUE(system_.Click(Window(), control)) << control; }
  void Drag(const char* slider, int position) {
    ASSERT_TRUE(system_.DragSlider(Window(), slider, position)) << slider;
  }

  static forms::Control Get(const char* control) { return forms::Control(Window(), control); }
  static bool Checked(const char* control) { return Get(control).Checked(); }
  static Text Stored(const char* key) {
    return settings::ReadSetting(settings::kSessionSection, key);
  }
  static void Store(const char* key, const Text& value) {
    ASSERT_TRUE(settings::WriteSetting(settings::kSessionSection, key, value));
  }
  void WriteEmptySettingsFile() const {
    std::ofstream(directory_.NativePath("config.ini"), std::ios::binary).flush();
  }

  std::vector<Text> Tips() const {
    std::vector<Text> texts;
    for (const auto& balloon : system_.Balloons()) {
      texts.push_back(balloon.text);
    }
    return texts;
  }
  Text LastTip() const { return system_.Balloons().empty() ? Text() : Tips().back(); }

  // The lines of the settings file that are not empty, as written.
  std::vector<std::string> FileLines() const {
    std::ifstream file(directory_.NativePath("config.ini"), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      if (!line.empty()) {
        lines.push_back(line);
      }
    }
    return lines;
  }

  testing_support::TempDirectory directory_;
  forms::HeadlessWindowSystem system_;
  FakeDrives drives_;
};

}  // namespace lumora::settings::testing
