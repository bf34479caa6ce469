// The settings window through the headless backend: loading the stored options, the controls'
// balloons and couplings, the drive list and saving on close.
#include <gtest/gtest.h>

#include "forms/main_window.h"
#include "settings/settings_window_fixture.h"
#include "support/catalogue_file.h"
#include "support/last_record.h"

namespace lumora::settings::testing {
namespace {

namespace key = settings::key;
using platform::DriveType;

TEST_F(SettingsWindowTest, FreshSettingsFileOpensWithItsValuesShown) {
  settings::WriteDefaults();
  Open();
  EXPECT_EQ(system_.Balloons().front().text, "系统设置");
  EXPECT_TRUE(Checked("单选框_窗口模式"));
  EXPECT_FALSE(Checked("单选框_全屏模式"));
  EXPECT_EQ(Get("滑块条_大小").SliderPosition(), 0);
  EXPECT_EQ(Get("标签_大小").GetText(), "窗口模式800×600");
  // "31" is no position of the colour slider: it stays at 32 bits.
  EXPECT_EQ(Get("滑块条_颜色").SliderPosition(), 40);
  EXPECT_EQ(Get("标签_颜色").GetText(), "监视器32位真彩色");
  for (const char* ticked :
       {"选择框_剪贴板", "选择框_重连", "选择框_压缩", "选择框_全屏连接栏", "选择框_桌面背景"}) {
    EXPECT_TRUE(Checked(ticked)) << ticked;
  }
  for (const char* cleared :
       {"选择框_映射", "选择框_打印机", "选择框_串行口", "选择框_智能卡", "选择框_桌面主题",
        "选择框_PnP设备", "选择框_录音", "选择框_安全密码"}) {
    EXPECT_FALSE(Checked(cleared)) << cleared;
  }
  for (const char* selected : {"单选框_admin", "单选框_无声音", "单选框_全屏组键"}) {
    EXPECT_TRUE(Checked(selected)) << selected;
  }
  for (const char* other : {"单选框_console", "单选框_无强制", "单选框_客户声音", "单选框_本机声音",
                            "单选框_本地组键", "单选框_远程组键"}) {
    EXPECT_FALSE(Checked(other)) << other;
  }
  EXPECT_FALSE(Get("超级列表框_磁盘").Enabled());
  for (const char* hidden : {"透明标签5", "编辑框1", "透明标签6", "编辑框2", "按钮_密码安全"}) {
    EXPECT_FALSE(Get(hidden).Visible()) << hidden;
  }

  Close();
  EXPECT_EQ(Stored(key::kColourDepth), "32");
  EXPECT_EQ(LastTip(), "系统配置修改成功!");
}

TEST_F(SettingsWindowTest, ClosingUntouchedWritesAllNineteenKeysInTableOrder) {
  WriteEmptySettingsFile();
  Open();
  Close();
  std::vector<std::string> expected = {"[RDP]"};
  for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
           {key::kWindowMode, "1"},      {key::kWindowSize, "800×600"},  {key::kColourDepth, "32"},
           {key::kDriveMapping, "0"},    {key::kLocalDrives, ""},        {key::kClipboard, "1"},
           {key::kPrinters, "0"},        {key::kSerialPorts, "0"},       {key::kSmartCards, "0"},
           {key::kReconnect, "1"},       {key::kForcedMode, "2"},        {key::kCompression, "1"},
           {key::kConnectionBar, "1"},   {key::kDesktopBackground, "0"}, {key::kDesktopTheme, "0"},
           {key::kPnpDevices, "0"},      {key::kRecording, "0"},         {key::kAudioPlayback, "2"},
           {key::kKeyCombinations, "2"},
       }) {
    expected.push_back(std::string(name) + "=" + value);
  }
  EXPECT_EQ(FileLines(), expected);
  EXPECT_EQ(LastTip(), "系统配置修改成功!");
}

TEST_F(SettingsWindowTest, WithoutSettingsFileClosingCreatesItFromTheControls) {
  Open();
  EXPECT_FALSE(directory_.Contains("config.ini"));
  // Nothing is loaded, so the drive list is not filled either.
  EXPECT_TRUE(drives_.AskedRoots().empty());
  Close();
  EXPECT_EQ(Stored(key::kWindowMode), "1");
  EXPECT_EQ(Stored(key::kForcedMode), "2");
  EXPECT_EQ(Stored(key::kKeyCombinations), "2");
}

TEST_F(SettingsWindowTest, SizeSliderToTheMaximumMeansFullScreenAndBackWindowed) {
  settings::WriteDefaults();
  Open();
  Drag("滑块条_大小", 60);
  EXPECT_TRUE(Checked("单选框_全屏模式"));
  EXPECT_FALSE(Checked("单选框_窗口模式"));
  EXPECT_EQ(Get("标签_大小").GetText(), "全屏模式");
  Drag("滑块条_大小", 20);
  EXPECT_TRUE(Checked("单选框_窗口模式"));
  EXPECT_FALSE(Checked("单选框_全屏模式"));
  EXPECT_EQ(Get("标签_大小").GetText(), "窗口模式1280×800");
  // A position between the steps changes neither the label nor the size.
  Drag("滑块条_大小", 25);
  EXPECT_EQ(Get("标签_大小").GetText(), "窗口模式1280×800");
  Drag("滑块条_颜色", 20);
  EXPECT_EQ(Get("标签_颜色").GetText(), "监视器16位颜色");
  Close();
  EXPECT_EQ(Stored(key::kWindowSize), "1280×800");
  EXPECT_EQ(Stored(key::kColourDepth), "16");
  EXPECT_EQ(Stored(key::kWindowMode), "1");
}

TEST_F(SettingsWindowTest, WindowedModeAfterFullScreenReturnsToTheStoredSize) {
  settings::WriteDefaults();
  Store(key::kWindowMode, "0");
  Store(key::kWindowSize, "1280×1024");
  Open();
  EXPECT_TRUE(Checked("单选框_全屏模式"));
  EXPECT_EQ(Get("滑块条_大小").SliderPosition(), 60);
  EXPECT_EQ(Get("标签_大小").GetText(), "全屏模式");

  Click("单选框_窗口模式");
  EXPECT_EQ(Get("滑块条_大小").SliderPosition(), 30);
  EXPECT_EQ(Get("标签_大小").GetText(), "窗口模式1280×1024");
  EXPECT_TRUE(Checked("单选框_窗口模式"));
  EXPECT_EQ(LastTip(), "远程窗口模式被开启");

  Click("单选框_全屏模式");
  EXPECT_EQ(Get("滑块条_大小").SliderPosition(), 60);
  EXPECT_EQ(Get("标签_大小").GetText(), "全屏模式");
  EXPECT_EQ(LastTip(), "远程全屏模式被开启");
  Close();
  EXPECT_EQ(Stored(key::kWindowMode), "0");
  EXPECT_EQ(Stored(key::kWindowSize), "1280×1024");
}

TEST_F(SettingsWindowTest, EveryOptionBoxAndRadioSaysWhatChanged) {
  settings::WriteDefaults();
  Open();
  const std::vector<std::tuple<const char*, const char*, const char*>> boxes = {
      {"选择框_剪贴板", "远程剪贴板被关闭!", "远程剪贴板开启!"},
      {"选择框_打印机", "远程打印机被开启!", "远程打印机被关闭!"},
      {"选择框_串行口", "远程串行口被开启!", "远程串行口被关闭!"},
      {"选择框_重连", "远程断开重连被关闭!", "远程断开重连被开启!"},
      {"选择框_压缩", "远程屏幕压缩被关闭!", "远程屏幕压缩被开启!"},
      {"选择框_全屏连接栏", "远程全屏连接栏被关闭!", "远程全屏连接栏被开启!"},
      {"选择框_桌面背景", "远程桌面背景被关闭!", "远程桌面背景开启!"},
      {"选择框_桌面主题", "远程桌面主题被开启!", "远程桌面主题被关闭!"},
      {"选择框_PnP设备", "远程PnP设备被开启!", "远程PnP设备被关闭!"},
      {"选择框_录音", "远程录音被开启!", "远程录音被关闭!"},
  };
  for (const auto& [box, first, second] : boxes) {
    Click(box);
    EXPECT_EQ(LastTip(), first) << box;
    Click(box);
    EXPECT_EQ(LastTip(), second) << box;
  }
  const std::vector<std::pair<const char*, const char*>> radios = {
      {"单选框_console", "远程强制连接console被开启!"},
      {"单选框_无强制", "远程强制连接被关闭!"},
      {"单选框_admin", "远程强制连接admin被开启!"},
      {"单选框_客户声音", "在客户机播放声音被开启!"},
      {"单选框_本机声音", "在本机播放声音被开启!"},
      {"单选框_无声音", "远程播放声音被关闭!"},
      {"单选框_本地组键", "本地组合键被开启!"},
      {"单选框_远程组键", "远程组合键被开启!"},
      {"单选框_全屏组键", "全屏组合键被开启!"},
  };
  for (const auto& [radio, tip] : radios) {
    Click(radio);
    EXPECT_EQ(LastTip(), tip) << radio;
  }
}

TEST_F(SettingsWindowTest, RadioButtonsAreExclusiveWithinTheirGroupOnly) {
  settings::WriteDefaults();
  Open();
  Click("单选框_console");
  EXPECT_TRUE(Checked("单选框_console"));
  EXPECT_FALSE(Checked("单选框_admin"));
  EXPECT_FALSE(Checked("单选框_无强制"));
  EXPECT_TRUE(Checked("单选框_无声音"));
  EXPECT_TRUE(Checked("单选框_全屏组键"));
  EXPECT_TRUE(Checked("单选框_窗口模式"));
  Click("单选框_本机声音");
  EXPECT_TRUE(Checked("单选框_console"));
  EXPECT_FALSE(Checked("单选框_无声音"));
  Close();
  EXPECT_EQ(Stored(key::kForcedMode), "1");
  EXPECT_EQ(Stored(key::kAudioPlayback), "1");
  EXPECT_EQ(Stored(key::kKeyCombinations), "2");
}

TEST_F(SettingsWindowTest, SmartCardsAndDriveMappingGoTogether) {
  drives_.Add('C', {});
  settings::WriteDefaults();
  Open();
  Click("选择框_智能卡");
  EXPECT_TRUE(Checked("选择框_映射"));
  EXPECT_TRUE(Get("超级列表框_磁盘").Enabled());
  EXPECT_EQ(Get("超级列表框_磁盘").RowCount(), 1);
  EXPECT_EQ(LastTip(), "远程智能卡被开启!");

  Click("选择框_映射");
  EXPECT_FALSE(Checked("选择框_智能卡"));
  EXPECT_FALSE(Get("超级列表框_磁盘").Enabled());
  EXPECT_EQ(LastTip(), "磁盘映射被关闭!");

  Click("选择框_映射");
  EXPECT_TRUE(Checked("选择框_智能卡"));
  EXPECT_TRUE(Get("超级列表框_磁盘").Enabled());
  EXPECT_EQ(LastTip(), "磁盘映射被开启,请在安全环境使用!");

  Click("选择框_智能卡");
  EXPECT_FALSE(Checked("选择框_映射"));
  EXPECT_EQ(LastTip(), "远程智能卡被关闭!");
  Close();
  EXPECT_EQ(Stored(key::kDriveMapping), "0");
  EXPECT_EQ(Stored(key::kSmartCards), "0");
  EXPECT_EQ(Stored(key::kLocalDrives), "");
}

TEST_F(SettingsWindowTest, DriveListHoldsOnlyFixedDisksWithLabelAndFileSystem) {
  drives_.Add('A', {.system = DriveType::kRemovable, .automation = 1});
  drives_.Add('C', {.volume = {"系统", "NTFS"}});
  drives_.Add('D', {.system = DriveType::kCdRom, .automation = 4});
  drives_.Add('E', {.system = DriveType::kRemote, .volume = {"", "FAT32"}});
  drives_.Add('R', {.system = DriveType::kRamDisk});
  drives_.Add('U', {.system = DriveType::kUnknown});
  settings::WriteDefaults();
  Store(key::kDriveMapping, "1");
  Open();
  forms::Control list = Get("超级列表框_磁盘");
  EXPECT_TRUE(list.Enabled());
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.CellText(0, 0), "C:");
  EXPECT_EQ(list.CellText(0, 1), "系统");
  EXPECT_EQ(list.CellText(0, 2), "NTFS");
  EXPECT_EQ(list.CellText(1, 0), "E:");
  EXPECT_EQ(list.CellText(1, 2), "FAT32");
  // Only the drives the system offers for redirection are put to the automation object.
  EXPECT_EQ(drives_.AskedRoots(), (std::vector<Text>{"A:\\", "C:\\", "D:\\", "E:\\"}));
}

TEST_F(SettingsWindowTest, StoredDrivesAreTickedAgainAndSavedInListOrder) {
  for (char letter : {'C', 'D', 'E'}) {
    drives_.Add(letter, {});
  }
  settings::WriteDefaults();
  Store(key::kDriveMapping, "1");
  Store(key::kLocalDrives, "E:;C:;");
  Open();
  forms::Control list = Get("超级列表框_磁盘");
  ASSERT_EQ(list.RowCount(), 3);
  EXPECT_TRUE(list.RowChecked(0));
  EXPECT_FALSE(list.RowChecked(1));
  EXPECT_TRUE(list.RowChecked(2));
  Close();
  EXPECT_EQ(Stored(key::kLocalDrives), "C:;E:;");
  EXPECT_EQ(Stored(key::kDriveMapping), "1");
  EXPECT_EQ(Stored(key::kSmartCards), "1");
}

TEST_F(SettingsWindowTest, TickedDrivesAreForgottenWhenMappingIsOff) {
  drives_.Add('C', {});
  settings::WriteDefaults();
  Store(key::kLocalDrives, "C:;");
  Open();
  EXPECT_TRUE(Get("超级列表框_磁盘").RowChecked(0));
  Close();
  EXPECT_EQ(Stored(key::kLocalDrives), "");
}

TEST_F(SettingsWindowTest, NoFixedDiskMeansAnEmptyListAndAnEmptyDriveValue) {
  drives_.Add('D', {.system = DriveType::kCdRom, .automation = 4});
  settings::WriteDefaults();
  Store(key::kLocalDrives, "D:;");
  Open();
  EXPECT_EQ(LastTip(), "磁盘列表为空!");
  Click("选择框_映射");
  EXPECT_EQ(LastTip(), "磁盘列表为空!");
  Close();
  EXPECT_EQ(Stored(key::kDriveMapping), "1");
  EXPECT_EQ(Stored(key::kLocalDrives), "");
}

TEST_F(SettingsWindowTest, HandEditedValuesLeaveTheControlsAsDefined) {
  settings::WriteDefaults();
  Store(key::kClipboard, "yes");
  Store(key::kForcedMode, "9");
  Store(key::kWindowSize, "640×480");
  Open();
  EXPECT_TRUE(Checked("选择框_剪贴板"));
  EXPECT_TRUE(Checked("单选框_无强制"));
  EXPECT_EQ(Get("滑块条_大小").SliderPosition(), 0);
  Close();
  EXPECT_EQ(Stored(key::kClipboard), "1");
  EXPECT_EQ(Stored(key::kForcedMode), "2");
  EXPECT_EQ(Stored(key::kWindowSize), "800×600");
}

TEST_F(SettingsWindowTest, UnwritableSettingsFileIsReportedInsteadOfSuccess) {
  settings::WriteDefaults();
  Open();
  Click("选择框_打印机");
  {
    UnwritableSettingsFile unwritable(directory_.NativePath("config.ini"));
    Close();
    system_.Pump();
  }
  for (const Text& tip : Tips()) {
    EXPECT_NE(tip, "系统配置修改成功!");
  }
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_EQ(system_.MessageBoxes()[0].title, "提示信息!");
  EXPECT_NE(system_.MessageBoxes()[0].text.find("config.ini"), Text::npos);
  EXPECT_EQ(Stored(key::kPrinters), "");
}

TEST_F(SettingsWindowTest, ToolbarOpensItModallyCentredOverTheMainWindow) {
  ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb")));
  ASSERT_TRUE(forms::LoadWindow(forms::MainWindow()));
  forms::MoveWindowTo(forms::MainWindow(), {100, 50});
  bool mainEnabledWhileOpen = true;
  forms::Rect own;
  system_.QueueModalScript([&] {
    mainEnabledWhileOpen = system_.IsFrameEnabled(forms::MainWindow());
    own = forms::WindowRect(Window());
    Click("选择框_录音");
    Close();
  });
  ASSERT_TRUE(system_.ClickToolbarButton(forms::MainWindow(), "工具条1", 7));
  EXPECT_FALSE(mainEnabledWhileOpen);
  EXPECT_TRUE(system_.IsFrameEnabled(forms::MainWindow()));
  EXPECT_FALSE(forms::IsLoaded(Window()));
  EXPECT_EQ(system_.ModalWindowsLeftOpen(), 0);
  const forms::Rect main = forms::WindowRect(forms::MainWindow());
  EXPECT_EQ(own.left, 100 + main.width / 2 - 468 / 2);
  EXPECT_EQ(own.top, 50 + main.height / 2 - 516 / 2);
  EXPECT_EQ(Stored(key::kRecording), "1");
  // The closing word is shown on the main window, which outlives the settings window.
  ASSERT_FALSE(system_.Balloons().empty());
  EXPECT_EQ(testing_support::LastBalloon(system_).window, &forms::MainWindow());
  EXPECT_EQ(LastTip(), "系统配置修改成功!");
}

}  // namespace
}  // namespace lumora::settings::testing
