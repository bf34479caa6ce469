#include "forms/window_model.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "forms/headless/headless_window_system.h"

namespace lumora::forms {
namespace {

// What the handlers saw, in order.
std::vector<std::string> journal;

const ControlDefinition kFirstControls[] = {
    {.name = "按钮1", .kind = ControlKind::kButton, .rect = {1, 1, 40, 20}},
    {.name = "编辑框1",
     .kind = ControlKind::kEditBox,
     .rect = {1, 30, 40, 20},
     .visible = false,
     .properties = {.text = "初始"}},
    {.name = "分组框1", .kind = ControlKind::kGroupBox, .rect = {1, 60, 100, 100}},
    {.name = "单选框1",
     .kind = ControlKind::kRadioButton,
     .rect = {5, 5, 40, 20},
     .container = "分组框1",
     .properties = {.checked = true}},
    {.name = "单选框2",
     .kind = ControlKind::kRadioButton,
     .rect = {5, 30, 40, 20},
     .container = "分组框1"},
    {.name = "单选框3", .kind = ControlKind::kRadioButton, .rect = {5, 170, 40, 20}},
    {.name = "选择框1", .kind = ControlKind::kCheckBox, .rect = {5, 200, 40, 20}},
    {.name = "气球提示框1", .kind = ControlKind::kBalloonTip},
    {.name = "工具条1",
     .kind = ControlKind::kToolbar,
     .rect = {0, 0, 100, 30},
     .properties = {.buttons = {}}},
};

const ToolbarButton kButtons[] = {
    {.image = 0, .caption = "甲", .tooltip = "甲"},
    {.image = 1, .caption = "乙", .tooltip = "乙", .hidden = true},
    {.image = 2, .caption = "丙", .tooltip = "丙"},
};

const ControlDefinition kSecondControls[] = {
    {.name = "按钮1", .kind = ControlKind::kButton, .rect = {1, 1, 40, 20}},
    {.name = "工具条1",
     .kind = ControlKind::kToolbar,
     .rect = {0, 0, 100, 30},
     .properties = {.buttons = kButtons}},
};

const WindowDefinition kFirst{
    .name = "FirstWindow", .title = "第一", .rect = {50, 50, 300, 200}, .controls = kFirstControls};
const WindowDefinition kSecond{.name = "SecondWindow",
                               .title = "第二",
                               .rect = {50, 50, 300, 200},
                               .controls = kSecondControls};

HandlerResult Record(const std::string& what) {
  const EventSource source = CurrentEventSource();
  std::string entry = what;
  if (source.window != nullptr) {
    entry += std::string("@") + source.window->name;
  }
  if (source.control != nullptr) {
    entry += std::string("/") + source.control;
  }
  journal.push_back(entry);
  return std::nullopt;
}

HandlerResult FirstCreated(EventArgs) {
  return Record("created");
}
HandlerResult FirstDestroyed(EventArgs) {
  // The controls can still be read while the window is destroyed.
  return Record("destroyed:" + Control(kFirst, "编辑框1").GetText());
}
HandlerResult FirstButton(EventArgs) {
  return Record("clicked");
}
HandlerResult SecondToolbar(EventArgs args) {
  return Record("toolbar:" + std::to_string(args.empty() ? -1 : args[0]));
}
HandlerResult SwallowPress(EventArgs) {
  return 0;
}

const EventBinding kFirstBindings[] = {
    {nullptr, event::kCreated, FirstCreated},
    {nullptr, event::kDestroyed, FirstDestroyed},
    {"按钮1", event::kClicked, FirstButton},
    {"选择框1", event::kLeftDown, SwallowPress},
};
const EventBinding kSecondBindings[] = {
    {"工具条1", event::kClicked, SecondToolbar},
};

// A backend whose controls send notifications while they are built, as real ones do.
class NoisyWindowSystem : public HeadlessWindowSystem {
 public:
  bool CreateControl(const WindowDefinition& window, int index) override {
    if (window.controls[index].kind == ControlKind::kButton) {
      RaiseEvent(window.name, window.controls[index].name, event::kClicked);
    }
    return HeadlessWindowSystem::CreateControl(window, index);
  }
};

class WindowModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    InstallWindowSystem(system_);
    RegisterWindow(kFirst, kFirstBindings);
    RegisterWindow(kSecond, kSecondBindings);
  }

  NoisyWindowSystem system_;
};

TEST_F(WindowModelTest, EventsDuringBuildAreDroppedAndCreatedComesFirst) {
  ASSERT_TRUE(LoadWindow(kFirst));
  ASSERT_FALSE(journal.empty());
  EXPECT_EQ(journal.front(), "created@FirstWindow");
  EXPECT_EQ(journal.size(), 1u);
  EXPECT_TRUE(system_.IsShown(kFirst));
}

TEST_F(WindowModelTest, ABindingToAControlTheWindowLacksIsAFatalError) {
  const EventBinding misnamed[] = {{"按钮2", event::kClicked, FirstButton}};
  RegisterWindow(kFirst, misnamed);
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_NE(system_.MessageBoxes()[0].text.find("FirstWindow.按钮2"), std::string::npos);
  EXPECT_TRUE(ProgramEnded());
}

TEST_F(WindowModelTest, ControlsStartInTheirDefinedStates) {
  ASSERT_TRUE(LoadWindow(kFirst));
  EXPECT_TRUE(Control(kFirst, "按钮1").Visible());
  EXPECT_FALSE(Control(kFirst, "编辑框1").Visible());
  EXPECT_EQ(Control(kFirst, "编辑框1").GetText(), "初始");
  EXPECT_TRUE(Control(kFirst, "单选框1").Checked());
  EXPECT_FALSE(Control(kFirst, "气球提示框1").Visible());
}

TEST_F(WindowModelTest, HandlersSeeTheirEventSource) {
  ASSERT_TRUE(LoadWindow(kFirst));
  EXPECT_TRUE(system_.Click(kFirst, "按钮1"));
  EXPECT_EQ(journal.back(), "clicked@FirstWindow/按钮1");
  EXPECT_EQ(CurrentEventSource().window, nullptr);
}

TEST_F(WindowModelTest, LoadingALoadedWindowMakesNoSecondInstance) {
  ASSERT_TRUE(LoadWindow(kFirst));
  Control(kFirst, "编辑框1").SetText("改过");
  ASSERT_TRUE(LoadWindow(kFirst));
  EXPECT_EQ(system_.CreatedWindows().size(), 1u);
  EXPECT_EQ(Control(kFirst, "编辑框1").GetText(), "改过");
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "created@FirstWindow"), 1);
}

TEST_F(WindowModelTest, CloseIsPostedAndDestroyedEventReadsControls) {
  ASSERT_TRUE(LoadWindow(kFirst));
  Control(kFirst, "编辑框1").SetText("最后");
  CloseWindow(kFirst);
  EXPECT_TRUE(IsLoaded(kFirst));
  EXPECT_TRUE(IsClosing(kFirst));
  system_.Pump();
  EXPECT_FALSE(IsLoaded(kFirst));
  EXPECT_EQ(journal.back(), "destroyed:最后@FirstWindow");
}

TEST_F(WindowModelTest, LoadingAClosingWindowBuildsAFreshOne) {
  ASSERT_TRUE(LoadWindow(kFirst));
  Control(kFirst, "编辑框1").SetText("改过");
  CloseWindow(kFirst);
  ASSERT_TRUE(LoadWindow(kFirst));
  EXPECT_EQ(system_.CreatedWindows().size(), 2u);
  EXPECT_EQ(Control(kFirst, "编辑框1").GetText(), "初始");
  // The close posted for the old instance must not reach the new one.
  system_.Pump();
  EXPECT_TRUE(IsLoaded(kFirst));
}

TEST_F(WindowModelTest, ModalLoadDisablesOtherWindowsUntilClosed) {
  ASSERT_TRUE(LoadWindow(kFirst));
  bool firstEnabledWhileModal = true;
  bool secondShownWhileModal = false;
  system_.QueueModalScript([&] {
    firstEnabledWhileModal = system_.IsFrameEnabled(kFirst);
    secondShownWhileModal = system_.IsShown(kSecond);
    CloseWindow(kSecond);
  });
  ASSERT_TRUE(LoadWindow(kSecond, true));
  EXPECT_FALSE(firstEnabledWhileModal);
  EXPECT_TRUE(secondShownWhileModal);
  EXPECT_FALSE(IsLoaded(kSecond));
  EXPECT_TRUE(system_.IsFrameEnabled(kFirst));
  EXPECT_EQ(system_.ModalWindowsLeftOpen(), 0);
}

TEST_F(WindowModelTest, DisabledWindowTakesNoClicks) {
  ASSERT_TRUE(LoadWindow(kFirst));
  system_.SetFrameEnabled(kFirst, false);
  EXPECT_FALSE(system_.Click(kFirst, "按钮1"));
  EXPECT_EQ(journal.size(), 1u);
}

TEST_F(WindowModelTest, RadioButtonsAreExclusiveWithinTheirGroupBoxOnly) {
  ASSERT_TRUE(LoadWindow(kFirst));
  ASSERT_TRUE(system_.Click(kFirst, "单选框3"));
  EXPECT_TRUE(Control(kFirst, "单选框1").Checked());
  ASSERT_TRUE(system_.Click(kFirst, "单选框2"));
  EXPECT_FALSE(Control(kFirst, "单选框1").Checked());
  EXPECT_TRUE(Control(kFirst, "单选框2").Checked());
  EXPECT_TRUE(Control(kFirst, "单选框3").Checked());
}

TEST_F(WindowModelTest, AMouseHandlerReturningFalseKeepsTheClickFromTheControl) {
  ASSERT_TRUE(LoadWindow(kFirst));
  system_.Click(kFirst, "选择框1");
  EXPECT_FALSE(Control(kFirst, "选择框1").Checked());
}

TEST_F(WindowModelTest, HiddenToolbarButtonsCannotBeClicked) {
  ASSERT_TRUE(LoadWindow(kSecond));
  EXPECT_FALSE(system_.ClickToolbarButton(kSecond, "工具条1", 1));
  EXPECT_TRUE(system_.ClickToolbarButton(kSecond, "工具条1", 2));
  EXPECT_EQ(journal.back(), "toolbar:2@SecondWindow/工具条1");
}

TEST_F(WindowModelTest, ProgramRunsUntilTheLastWindowIsDestroyed) {
  ASSERT_TRUE(LoadWindow(kFirst));
  ASSERT_TRUE(LoadWindow(kSecond));
  EXPECT_EQ(RunProgram(), HeadlessWindowSystem::kIdle);
  CloseWindow(kFirst);
  EXPECT_EQ(RunProgram(), HeadlessWindowSystem::kIdle);
  EXPECT_TRUE(IsLoaded(kSecond));
  ASSERT_TRUE(system_.CloseBox(kSecond));
  EXPECT_EQ(RunProgram(), 0);
}

TEST_F(WindowModelTest, ProgramWithoutWindowsEndsAtOnce) {
  EXPECT_EQ(RunProgram(), 0);
}

struct FatalCase {
  const char* window;
  const char* control;
  const char* message;
};

class FatalEventTest : public WindowModelTest, public ::testing::WithParamInterface<FatalCase> {};

TEST_P(FatalEventTest, ShowsOneBoxAndEndsWithMinusOne) {
  ASSERT_TRUE(LoadWindow(kFirst));
  RaiseEvent(GetParam().window, GetParam().control, event::kClicked);
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_EQ(system_.MessageBoxes()[0].text,
            std::string("运行时出错!\r\n\r\n错误信息：") + GetParam().message + "\r\n");
  EXPECT_EQ(system_.MessageBoxes()[0].title, "信息：");
  EXPECT_EQ(system_.EndedWith(), -1);
  EXPECT_TRUE(ProgramEnded());
  // Nothing is delivered after the end.
  EXPECT_FALSE(LoadWindow(kSecond));
  EXPECT_EQ(RunProgram(), -1);
}

INSTANTIATE_TEST_SUITE_P(
    BadBindings, FatalEventTest,
    ::testing::Values(FatalCase{"NoSuchWindow", "", "未找到引发事件的窗口"},
                      FatalCase{"FirstWindow", "没有这个", "未找到引发事件的窗口组件"},
                      FatalCase{"FirstWindow", "气球提示框1", "引发事件的窗口组件无效"}));

TEST_F(WindowModelTest, ClosingAWindowThatIsNotLoadedIsFatal) {
  CloseWindow(kSecond);
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_NE(system_.MessageBoxes()[0].text.find("指定窗口或窗口组件不存在或尚未载入"),
            std::string::npos);
  EXPECT_EQ(system_.EndedWith(), -1);
}

TEST_F(WindowModelTest, FatalErrorWithCodeSpellsItOut) {
  FatalError("载入窗口模板数据段出错!", 7);
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_EQ(system_.MessageBoxes()[0].text,
            "运行时出错!\r\n\r\n错误代码：7\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n");
}

TEST_F(WindowModelTest, MessageBoxesAreTaskModalUnlessSystemModal) {
  ShowMessageBox("一", box::kIconHand, "题");
  ShowMessageBox("二", box::kSystemModal);
  ASSERT_EQ(system_.MessageBoxes().size(), 2u);
  EXPECT_EQ(system_.MessageBoxes()[0].style, box::kIconHand | box::kTaskModal);
  EXPECT_EQ(system_.MessageBoxes()[1].style, box::kSystemModal);
  EXPECT_EQ(system_.MessageBoxes()[1].title, "信息：");
}

}  // namespace
}  // namespace lumora::forms
