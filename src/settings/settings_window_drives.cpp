#include "settings/settings_window_drives.h"

#include <string_view>

#include "forms/settings_window.h"
#include "platform/drives.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"

namespace lumora::settings {
namespace {

using platform::DriveType;

bool MayBeListed(DriveType type) {
  return type == DriveType::kRemovable || type == DriveType::kFixed || type == DriveType::kRemote ||
         type == DriveType::kCdRom;
}

// The stored value names a drive when one of its ";"-separated parts is that drive's text.
bool Names(std::string_view stored, std::string_view drive) {
  while (!stored.empty()) {
    const std::size_t end = stored.find(';');
    if (stored.substr(0, end) == drive) {
      return true;
    }
    if (end == std::string_view::npos) {
      break;
    }
    stored.remove_prefix(end + 1);
  }
  return false;
}

}  // namespace

void FillDriveList() {
  forms::Control list = SettingsControl(forms::settings_control::kDriveList);
  list.DeleteAllRows();
  const platform::Drives& drives = platform::CurrentDrives();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const Text drive{letter, ':'};
    if (!MayBeListed(drives.SystemDriveType(drive))) {
      continue;
    }
    const Text root = drive + "\\";
    if (drives.AutomationDriveType(root) != platform::kAutomationFixedDisk) {
      continue;
    }
    const platform::VolumeInformation volume = drives.Volume(root);
    const int row = list.AppendRow(drive);
    list.SetCellText(row, 1, volume.label);
    list.SetCellText(row, 2, volume.fileSystem);
  }
  const int rows = list.RowCount();
  if (rows == 0) {
    ShowSettingsTip("磁盘列表为空!");
    return;
  }
  settings::ConnectionSettings& current = settings::CurrentConnectionSettings();
  current.Set(settings::key::kLocalDrives,
              settings::ReadSetting(settings::kSessionSection, settings::key::kLocalDrives));
  const Text& stored = current.Get(settings::key::kLocalDrives);
  for (int row = 0; row < rows; ++row) {
    if (Names(stored, list.CellText(row, 0))) {
      list.SetRowChecked(row, true);
    }
  }
}

Text TickedDrives() {
  const forms::Control list = SettingsControl(forms::settings_control::kDriveList);
  Text drives;
  for (int row = 0; row < list.RowCount(); ++row) {
    if (list.RowChecked(row)) {
      drives += list.CellText(row, 0) + ";";
    }
  }
  return drives;
}

}  // namespace lumora::settings
