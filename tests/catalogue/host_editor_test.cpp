#include "catalogue/host_editor.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/program.h"
#include "catalogue/main_database.h"
#include "catalogue/server_store.h"
#include "forms/headless/headless_window_system.h"
#include "forms/host_editor_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "platform/echo_probe.h"
#include "platform/program_directory.h"
#include "services/jet/database.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/last_record.h"
#include "support/reachability_wait.h"
#include "support/temp_directory.h"

namespace lumora::catalogue {
namespace {

using forms::HostEditorWindow;
using forms::MainWindow;
using testing_support::ServerRow;
namespace toolbar = forms::main_toolbar;
namespace box = forms::box;

// Answers every probe at once: the rows' names never reach a resolver.
class InstantProbe : public platform::EchoProbe {
 public:
  std::optional<unsigned> Echo(const Text&, unsigned) override { return 1; }
};

class HostEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    status::SetEchoProbeForTesting(&probe_);
    forms::InstallWindowSystem(system_);
    app::RegisterWindows();
  }
  void TearDown() override {
    // Workers post to this test's window system: it must outlive them.
    testing_support::WaitForReachabilityPasses(system_);
    status::SetEchoProbeForTesting(nullptr);
    writer_.reset();
  }

  void Start(const std::vector<testing_support::CatalogueRow>& rows) {
    ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb"), rows));
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
  }
  // Another program holds the catalogue for writing; the main connection, opened again, can
  // only read.
  void LoseWriteAccess() {
    EXPECT_FALSE(catalogue::MainConnection().OpenAccess(ProgramFile("missing.mdb"), ""));
    writer_ = jet::Database::Open(ProgramFile("mstsc.mdb"), false);
    ASSERT_TRUE(writer_.has_value());
    ASSERT_TRUE(catalogue::MainConnection().OpenAccess(ProgramFile("mstsc.mdb"), ""));
  }

  bool Toolbar(int button) { return system_.ClickToolbarButton(MainWindow(), "工具条1", button); }
  // Runs `script` while the editor opened by `button` is open.
  void WithEditor(int button, std::function<void()> script) {
    system_.QueueModalScript(std::move(script));
    ASSERT_TRUE(Toolbar(button));
  }
  Text Field(const char* name) { return forms::Control(HostEditorWindow(), name).GetText(); }
  bool Type(const char* name, const Text& text) {
    return system_.Type(HostEditorWindow(), name, text);
  }
  bool Save() { return system_.Click(HostEditorWindow(), "按钮_编辑"); }
  void FillEditor(const Text& address, const Text& port, const Text& user) {
    ASSERT_TRUE(Type("编辑框_编辑IP", address));
    ASSERT_TRUE(Type("编辑框_端口", port));
    ASSERT_TRUE(Type("编辑框_用户", user));
  }

  void ExpectFocusIn(const char* field) const {
    EXPECT_EQ(system_.FocusedControl(HostEditorWindow()),
              forms::FindControlIndex(HostEditorWindow(), field))
        << field;
    EXPECT_TRUE(system_.FocusSelectedAll(HostEditorWindow())) << field;
  }
  const Text& LastTip() const { return testing_support::LastBalloon(system_).text; }
  const forms::WindowDefinition* LastTipWindow() const {
    return testing_support::LastBalloon(system_).window;
  }
  const Text& LastBox() const { return testing_support::LastMessageBox(system_).text; }

  std::vector<Text> ListedNames() {
    std::vector<Text> names;
    const forms::Control list = forms::ServerList();
    for (int row = 0; row < list.RowCount(); ++row) {
      names.push_back(list.CellText(row, 0));
    }
    return names;
  }
  // The table as a fresh connection reads it.
  std::vector<catalogue::ServerRecord> Stored() {
    return testing_support::StoredServers(ProgramFile("mstsc.mdb"));
  }
  std::vector<Text> StoredNames() {
    std::vector<Text> names;
    for (const catalogue::ServerRecord& server : Stored()) {
      names.push_back(server.server_name);
    }
    return names;
  }
  bool EditorWasOpened() const {
    const auto& created = system_.CreatedWindows();
    return std::find(created.begin(), created.end(), "HostEditorWindow") != created.end();
  }

  testing_support::TempDirectory directory_;
  forms::HeadlessWindowSystem system_;
  InstantProbe probe_;
  std::optional<jet::Database> writer_;
};

using Names = std::vector<Text>;

TEST_F(HostEditorTest, AddEditorOpensCentredOverADisabledMainWindow) {
  Start({});
  forms::MoveWindowTo(MainWindow(), {10, 20});
  WithEditor(toolbar::kAdd, [&] {
    EXPECT_FALSE(system_.IsFrameEnabled(MainWindow()));
    const forms::Rect editor = forms::WindowRect(HostEditorWindow());
    EXPECT_EQ(editor.left, 10 + 650 / 2 - 430 / 2);
    EXPECT_EQ(editor.top, 20 + 399 / 2 - 236 / 2);
    EXPECT_EQ(forms::WindowTitle(HostEditorWindow()), "添加主机");
    EXPECT_EQ(Field("按钮_编辑"), "添加主机");
    EXPECT_EQ(LastTip(), "添加主机");
    EXPECT_EQ(LastTipWindow(), &HostEditorWindow());
    EXPECT_EQ(Field("编辑框_编辑IP"), "");
    EXPECT_EQ(Field("编辑框_端口"), "");
    EXPECT_EQ(Field("编辑框_用户"), "Administrator");
    EXPECT_TRUE(system_.CloseBox(HostEditorWindow()));
  });
  EXPECT_FALSE(forms::IsLoaded(HostEditorWindow()));
  EXPECT_TRUE(system_.IsFrameEnabled(MainWindow()));
  EXPECT_EQ(system_.ModalWindowsLeftOpen(), 0);
}

TEST_F(HostEditorTest, AddStaysOpenForTheNextServerAndRefusesTheSameAddressTwice) {
  Start({ServerRow("127.0.0.1")});
  WithEditor(toolbar::kAdd, [&] {
    FillEditor(" 127.0. 0.2　", "3389", "管理　员");
    ASSERT_TRUE(Type("编辑框_备注", " 机房 "));
    ASSERT_TRUE(Save());
    ASSERT_EQ(system_.MessageBoxes().size(), 1u);
    EXPECT_EQ(LastBox(), "服务器添加成功,可以继续添加!");
    EXPECT_EQ(testing_support::LastMessageBox(system_).title, "提示信息!");
    EXPECT_EQ(testing_support::LastMessageBox(system_).style,
              box::kIconInformation | box::kTaskModal);
    EXPECT_EQ(ListedNames(), (Names{"127.0.0.1", "127.0.0.2"}));
    system_.Pump();
    EXPECT_TRUE(forms::IsLoaded(HostEditorWindow()));
    EXPECT_TRUE(forms::Control(HostEditorWindow(), "按钮_编辑").Enabled());
    EXPECT_EQ(Field("编辑框_编辑IP"), " 127.0. 0.2　");
    // Typing starts the next server's address, not more of the last password.
    ExpectFocusIn("编辑框_编辑IP");

    ASSERT_TRUE(Save());
    EXPECT_EQ(LastBox(), "目标服务器已存在,不必重复添加!");
    EXPECT_TRUE(forms::Control(HostEditorWindow(), "按钮_编辑").Enabled());
    EXPECT_TRUE(system_.CloseBox(HostEditorWindow()));
  });
  const std::vector<catalogue::ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[1].server_name, "127.0.0.2");
  EXPECT_EQ(stored[1].user_name, "管理员");
  EXPECT_EQ(stored[1].remark, " 机房 ");
  EXPECT_EQ(stored[1].domain, "");
}

TEST_F(HostEditorTest, ChecksTipOnTheEditorInTheirOrderAndWriteNothing) {
  Start({});
  WithEditor(toolbar::kAdd, [&] {
    ASSERT_TRUE(Type("编辑框_用户", ""));
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastTip(), "远程IP不能为空!");
    EXPECT_EQ(LastTipWindow(), &HostEditorWindow());
    FillEditor("localhost", "", "");
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastTip(), "请填写正确的IP或域名!");
    FillEditor("a.b", " ", "");
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastTip(), "远程端口不能为空!");
    FillEditor("a.b", "x", "　");
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastTip(), "远程端口必须是1到65535之间的数字!");
    ExpectFocusIn("编辑框_端口");  // the faulty field, its text selected for retyping
    FillEditor("a.b", "3389", "　");
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastTip(), "登录用户名不能为空!");
    ExpectFocusIn("编辑框_用户");
    FillEditor("a.b", "3389", "u");
    ASSERT_TRUE(Type("编辑框_备注", Text(256, 'r')));
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastTip(), "备注不能超过255个字符!");
    EXPECT_TRUE(system_.MessageBoxes().empty());
    EXPECT_TRUE(system_.CloseBox(HostEditorWindow()));
  });
  EXPECT_TRUE(StoredNames().empty());
}

// Jet, which keeps the catalogue on Windows, takes letter-case variants for one name.
TEST_F(HostEditorTest, LetterCaseVariantsAreTheSameServer) {
  Start({ServerRow("Host.LAN")});
  WithEditor(toolbar::kAdd, [&] {
    FillEditor("host.lan", "3389", "u");
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastBox(), "目标服务器已存在,不必重复添加!");
    EXPECT_TRUE(system_.CloseBox(HostEditorWindow()));
  });
  EXPECT_EQ(ListedNames(), (Names{"Host.LAN"}));
}

TEST_F(HostEditorTest, AddThatCannotBeStoredSaysSoAndLeavesTheList) {
  Start({ServerRow("127.0.0.1")});
  LoseWriteAccess();
  WithEditor(toolbar::kAdd, [&] {
    FillEditor("127.0.0.2", "3389", "u");
    ASSERT_TRUE(Save());
    // Another program writes the file now: the box says so.
    EXPECT_EQ(LastBox(), "服务器添加失败!数据文件正被其他程序使用");
    EXPECT_EQ(testing_support::LastMessageBox(system_).title, "提示信息!");
    EXPECT_TRUE(forms::Control(HostEditorWindow(), "按钮_编辑").Enabled());
    EXPECT_TRUE(system_.CloseBox(HostEditorWindow()));
  });
  EXPECT_EQ(ListedNames(), (Names{"127.0.0.1"}));
  writer_.reset();
  EXPECT_EQ(StoredNames(), (Names{"127.0.0.1"}));
}

TEST_F(HostEditorTest, ModifyFillsTheEditorWritesTheRowBackAndCloses) {
  testing_support::CatalogueRow withDomain =
      ServerRow("127.0.0.2", "3390", "admin", "secret", "备注");
  withDomain[4].second = Text("CORP");
  Start({ServerRow("127.0.0.1"), withDomain});
  ASSERT_TRUE(system_.ClickRow(MainWindow(), "超级列表框1", 1));
  WithEditor(toolbar::kModify, [&] {
    EXPECT_FALSE(system_.IsFrameEnabled(MainWindow()));
    EXPECT_EQ(forms::WindowTitle(HostEditorWindow()), "修改主机");
    EXPECT_EQ(Field("按钮_编辑"), "修改主机");
    EXPECT_EQ(Field("编辑框_编辑IP"), "127.0.0.2");
    EXPECT_EQ(Field("编辑框_端口"), "3390");
    EXPECT_EQ(Field("编辑框_用户"), "admin");
    EXPECT_EQ(Field("编辑框_密码"), "secret");
    EXPECT_EQ(Field("编辑框_备注"), "备注");
    FillEditor("127.0.0.3 ", "3391", "root");
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastTip(), "服务器修改成功!");
    EXPECT_EQ(LastTipWindow(), &HostEditorWindow());
    EXPECT_EQ(LastBox(), "服务器信息修改成功!");
    EXPECT_EQ(testing_support::LastMessageBox(system_).title, "提示信息!");
  });
  EXPECT_FALSE(forms::IsLoaded(HostEditorWindow()));
  EXPECT_EQ(system_.ModalWindowsLeftOpen(), 0);
  EXPECT_EQ(ListedNames(), (Names{"127.0.0.1", "127.0.0.3"}));
  const std::vector<catalogue::ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[1].port, "3391");
  EXPECT_EQ(stored[1].user_name, "root");
  // No editor field sets the domain: the row keeps the one it had.
  EXPECT_EQ(stored[1].domain, "CORP");
}

TEST_F(HostEditorTest, ModifyOfARowThatIsGoneFailsAndStaysOpen) {
  Start({ServerRow("127.0.0.1")});
  ASSERT_TRUE(system_.ClickRow(MainWindow(), "超级列表框1", 0));
  WithEditor(toolbar::kModify, [&] {
    ASSERT_TRUE(
        catalogue::MainConnection().Execute(catalogue::DeleteServersStatement("127.0.0.1")));
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastBox(), "服务器信息修改失败!");
    system_.Pump();
    EXPECT_TRUE(forms::IsLoaded(HostEditorWindow()));
    EXPECT_TRUE(forms::Control(HostEditorWindow(), "按钮_编辑").Enabled());
    EXPECT_TRUE(system_.CloseBox(HostEditorWindow()));
  });
  EXPECT_TRUE(StoredNames().empty());
}

TEST_F(HostEditorTest, ModifyAndDeleteNeedRowsAndModifyACurrentOne) {
  Start({});
  ASSERT_TRUE(Toolbar(toolbar::kModify));
  EXPECT_EQ(LastTip(), "服务器列表是空的!");
  EXPECT_EQ(LastTipWindow(), &MainWindow());
  ASSERT_TRUE(Toolbar(toolbar::kDelete));
  EXPECT_EQ(LastTip(), "服务器列表是空的!");
  EXPECT_FALSE(EditorWasOpened());

  forms::ServerList().AppendRow("127.0.0.1");
  ASSERT_TRUE(Toolbar(toolbar::kModify));
  EXPECT_EQ(LastTip(), "请选中要修改的服务器！");
  ASSERT_TRUE(system_.ClickRow(MainWindow(), "超级列表框1", 0));
  ASSERT_TRUE(Toolbar(toolbar::kDelete));
  EXPECT_EQ(LastTip(), "请选择要删除的服务器！");
  EXPECT_FALSE(EditorWasOpened());
  EXPECT_TRUE(system_.MessageBoxes().empty());
}

TEST_F(HostEditorTest, DeleteTakesExactlyTheTickedRowsAfterYes) {
  Start({ServerRow("127.0.0.1"), ServerRow("127.0.0.2"), ServerRow("127.0.0.3"),
         ServerRow("127.0.0.4"), ServerRow("127.0.0.5")});
  ASSERT_TRUE(system_.ClickRow(MainWindow(), "超级列表框1", 1));
  for (int row : {0, 2, 4}) {
    ASSERT_TRUE(system_.TickRow(MainWindow(), "超级列表框1", row, true));
  }
  system_.QueueAnswers({box::kAnswerYes});
  ASSERT_TRUE(Toolbar(toolbar::kDelete));
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_EQ(LastBox(), "确定要删除选中的3个服务器？");
  EXPECT_EQ(testing_support::LastMessageBox(system_).title, "警告！");
  EXPECT_EQ(testing_support::LastMessageBox(system_).style,
            box::kYesNo | box::kIconExclamation | box::kTaskModal);
  EXPECT_EQ(LastTip(), "删除服务器成功！");
  EXPECT_EQ(ListedNames(), (Names{"127.0.0.2", "127.0.0.4"}));
  EXPECT_EQ(StoredNames(), (Names{"127.0.0.2", "127.0.0.4"}));
}

TEST_F(HostEditorTest, DeleteAnsweredNoDeletesNothing) {
  Start({ServerRow("127.0.0.1"), ServerRow("127.0.0.2")});
  ASSERT_TRUE(system_.TickRow(MainWindow(), "超级列表框1", 0, true));
  system_.QueueAnswers({box::kAnswerNo});
  ASSERT_TRUE(Toolbar(toolbar::kDelete));
  EXPECT_EQ(LastBox(), "确定要删除选中的1个服务器？");
  EXPECT_TRUE(system_.Balloons().empty());
  EXPECT_EQ(ListedNames(), (Names{"127.0.0.1", "127.0.0.2"}));
  EXPECT_EQ(StoredNames(), (Names{"127.0.0.1", "127.0.0.2"}));
}

TEST_F(HostEditorTest, DeleteThatFailsPartWayShowsWhatTheTableHolds) {
  Start({ServerRow("127.0.0.1"), ServerRow("127.0.0.2"), ServerRow("127.0.0.3")});
  for (int row : {0, 1}) {
    ASSERT_TRUE(system_.TickRow(MainWindow(), "超级列表框1", row, true));
  }
  system_.QueueAnswers({box::kAnswerYes});
  // Runs with the messages let through after the first deletion.
  system_.PostToUiThread([this] { LoseWriteAccess(); });
  ASSERT_TRUE(Toolbar(toolbar::kDelete));
  EXPECT_EQ(LastTip(), "删除服务器失败！数据文件正被其他程序使用");
  EXPECT_EQ(ListedNames(), (Names{"127.0.0.2", "127.0.0.3"}));
  writer_.reset();
  EXPECT_EQ(StoredNames(), (Names{"127.0.0.2", "127.0.0.3"}));
}

TEST_F(HostEditorTest, NamesWithQuotesAreAddedModifiedAndDeleted) {
  Start({});
  WithEditor(toolbar::kAdd, [&] {
    FillEditor("o'hare.lan", "3389", "u");
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastBox(), "服务器添加成功,可以继续添加!");
    EXPECT_TRUE(system_.CloseBox(HostEditorWindow()));
  });
  ASSERT_TRUE(system_.ClickRow(MainWindow(), "超级列表框1", 0));
  WithEditor(toolbar::kModify, [&] {
    ASSERT_TRUE(Type("编辑框_编辑IP", "it's.lan"));
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastBox(), "服务器信息修改成功!");
  });
  EXPECT_EQ(ListedNames(), (Names{"it's.lan"}));
  ASSERT_TRUE(system_.TickRow(MainWindow(), "超级列表框1", 0, true));
  system_.QueueAnswers({box::kAnswerYes});
  ASSERT_TRUE(Toolbar(toolbar::kDelete));
  EXPECT_EQ(LastTip(), "删除服务器成功！");
  EXPECT_TRUE(StoredNames().empty());
}

TEST_F(HostEditorTest, DeleteRemovesTheTickedRowAndNotItsLetterCaseTwin) {
  Start({ServerRow("SRV.x"), ServerRow("srv.x")});
  ASSERT_TRUE(system_.TickRow(MainWindow(), "超级列表框1", 1, true));
  system_.QueueAnswers({box::kAnswerYes});
  ASSERT_TRUE(Toolbar(toolbar::kDelete));
  EXPECT_EQ(LastBox(), "确定要删除选中的1个服务器？");
  EXPECT_EQ(LastTip(), "删除服务器成功！");
  EXPECT_EQ(StoredNames(), (Names{"SRV.x"}));
  EXPECT_EQ(ListedNames(), (Names{"SRV.x"}));
}

TEST_F(HostEditorTest, RowsStoredTwiceUnderOneNameAreModifiedOneByOne) {
  Start({ServerRow("twin.lan", "1", "u", "first"), ServerRow("twin.lan", "2", "u", "second")});
  ASSERT_TRUE(system_.ClickRow(MainWindow(), "超级列表框1", 1));
  WithEditor(toolbar::kModify, [&] {
    EXPECT_EQ(Field("编辑框_密码"), "second");
    ASSERT_TRUE(Type("编辑框_端口", "3"));
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastBox(), "服务器信息修改成功!");
  });
  const std::vector<catalogue::ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].port, "1");
  EXPECT_EQ(stored[1].port, "3");
  // The first row still shows and sends its own password.
  ASSERT_TRUE(system_.ClickRow(MainWindow(), "超级列表框1", 0));
  WithEditor(toolbar::kModify, [&] {
    EXPECT_EQ(Field("编辑框_密码"), "first");
    EXPECT_TRUE(system_.CloseBox(HostEditorWindow()));
  });
}

TEST_F(HostEditorTest, RenameOntoAnotherServerIsRefusedAndBadPortsAreTipped) {
  Start({ServerRow("127.0.0.1"), ServerRow("127.0.0.2")});
  ASSERT_TRUE(system_.ClickRow(MainWindow(), "超级列表框1", 1));
  WithEditor(toolbar::kModify, [&] {
    ASSERT_TRUE(Type("编辑框_端口", "99999"));
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastTip(), "远程端口必须是1到65535之间的数字!");
    ASSERT_TRUE(Type("编辑框_端口", "3389"));
    ASSERT_TRUE(Type("编辑框_编辑IP", "127.0.0.1"));
    ASSERT_TRUE(Save());
    EXPECT_EQ(LastBox(), "目标服务器已存在,不必重复添加!");
    EXPECT_TRUE(forms::Control(HostEditorWindow(), "按钮_编辑").Enabled());
    EXPECT_TRUE(system_.CloseBox(HostEditorWindow()));
  });
  EXPECT_EQ(StoredNames(), (Names{"127.0.0.1", "127.0.0.2"}));
}

TEST_F(HostEditorTest, ClosingTheMainWindowDuringADeleteEndsTheProgramNormally) {
  Start({ServerRow("127.0.0.1"), ServerRow("127.0.0.2"), ServerRow("127.0.0.3")});
  for (int row : {0, 1, 2}) {
    ASSERT_TRUE(system_.TickRow(MainWindow(), "超级列表框1", row, true));
  }
  system_.QueueAnswers({box::kAnswerYes});
  // The user's click on the close box finds the window disabled; the system closes it anyway.
  bool userClosed = true;
  system_.PostToUiThread([&] { userClosed = system_.CloseBox(MainWindow()); });
  system_.PostToUiThread([] { forms::CloseWindow(MainWindow()); });
  ASSERT_TRUE(Toolbar(toolbar::kDelete));
  system_.Pump();
  EXPECT_FALSE(userClosed);
  EXPECT_FALSE(forms::IsLoaded(MainWindow()));
  EXPECT_NE(system_.EndedWith(), std::optional<int>(-1));
  for (const auto& shown : system_.MessageBoxes()) {
    EXPECT_EQ(shown.text.find("运行时出错!"), Text::npos);
  }
}

}  // namespace
}  // namespace lumora::catalogue
