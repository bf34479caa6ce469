// The faults a user meets with the files beside the program, seen from the main window: each ends
// in a message and leaves the user's files as they were.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "app/program.h"
#include "app/server_list.h"
#include "forms/headless/headless_window_system.h"
#include "forms/host_editor_window.h"
#include "forms/main_window.h"
#include "forms/window_model.h"
#include "platform/echo_probe.h"
#include "platform/locked_file.h"
#include "platform/program_directory.h"
#include "services/jet/change_journal.h"
#include "services/jet/database.h"
#include "services/jet/disk_writes.h"
#include "status/location_database_builder.h"
#include "status/reachability_pass.h"
#include "support/catalogue_file.h"
#include "support/file_bytes.h"
#include "support/last_record.h"
#include "support/reachability_wait.h"
#include "support/temp_directory.h"

namespace lumora::app {
namespace {

using forms::MainWindow;
using testing_support::ServerRow;
namespace toolbar = forms::main_toolbar;

// Every probe answers at once unless the test says that probing is impossible here.
class ScriptedProbe : public platform::EchoProbe {
 public:
  std::optional<unsigned> Echo(const Text&, unsigned) override {
    if (!available_) {
      return std::nullopt;
    }
    return 1;
  }
  bool Available() override { return available_; }
  void MakeUnavailable() { available_ = false; }

 private:
  bool available_ = true;
};

using testing_support::ReadBytes;
using testing_support::WriteBytes;

class FaultPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    status::SetEchoProbeForTesting(&probe_);
    forms::InstallWindowSystem(system_);
    RegisterWindows();
  }
  void TearDown() override {
    WaitForReachability();
    status::SetEchoProbeForTesting(nullptr);
    writer_.reset();
  }

  // Workers post to this test's window system: it must outlive them, and the rows must not
  // change under an assertion.
  void WaitForReachability() { testing_support::WaitForReachabilityPasses(system_); }

  void CreateCatalogue() {
    ASSERT_TRUE(testing_support::CreateCatalogue(
        ProgramFile("mstsc.mdb"), {ServerRow("127.0.0.1", "3389", "admin", "pw1", "一号"),
                                   ServerRow("127.0.0.2", "3390", "ops", "pw2", "二号")}));
  }
  std::string CatalogueBytes() const { return ReadBytes(directory_.NativePath("mstsc.mdb")); }

  void StartMainWindow() {
    ASSERT_TRUE(forms::LoadWindow(MainWindow()));
    WaitForReachability();
  }

  // Adds a server through the host editor as the user would, then closes the editor.
  void AddServer(const Text& address) {
    system_.QueueModalScript([&] {
      const forms::WindowDefinition& editor = forms::HostEditorWindow();
      ASSERT_TRUE(system_.Type(editor, "编辑框_编辑IP", address));
      ASSERT_TRUE(system_.Type(editor, "编辑框_端口", "3389"));
      ASSERT_TRUE(system_.Type(editor, "编辑框_用户", "u"));
      ASSERT_TRUE(system_.Click(editor, "按钮_编辑"));
      if (forms::IsLoaded(editor)) {
        ASSERT_TRUE(system_.CloseBox(editor));
      }
    });
    ASSERT_TRUE(system_.ClickToolbarButton(MainWindow(), "工具条1", toolbar::kAdd));
    WaitForReachability();
  }

  bool ShownBox(const Text& part) const {
    for (const auto& box : system_.MessageBoxes()) {
      if (box.text.find(part) != Text::npos) {
        return true;
      }
    }
    return false;
  }
  bool ShownTip(const Text& text) const {
    for (const auto& balloon : system_.Balloons()) {
      if (balloon.text == text) {
        return true;
      }
    }
    return false;
  }

  testing_support::TempDirectory directory_;
  forms::HeadlessWindowSystem system_;
  ScriptedProbe probe_;
  std::optional<jet::Database> writer_;
};

// How the catalogue was spoilt: from its sound bytes to what lies beside the program.
struct CatalogueDamage {
  const char* name;
  std::function<std::string(const std::string&)> spoil;
};

class DamagedCatalogueTest : public FaultPathsTest,
                             public ::testing::WithParamInterface<CatalogueDamage> {};

TEST_P(DamagedCatalogueTest, IsReportedAtStartAndNeverWritten) {
  CreateCatalogue();
  const std::string damaged = GetParam().spoil(CatalogueBytes());
  WriteBytes(directory_.NativePath("mstsc.mdb"), damaged);
  StartMainWindow();
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_TRUE(ShownBox("mstsc.mdb"));
  EXPECT_EQ(forms::ServerList().RowCount(), 0);
  EXPECT_TRUE(forms::IsLoaded(MainWindow()));
  // The add says why it cannot be made, instead of failing after the user typed the server.
  AddServer("127.0.0.9");
  EXPECT_TRUE(ShownBox("无法修改："));
  EXPECT_FALSE(ShownBox("服务器添加失败!"));
  EXPECT_TRUE(CatalogueBytes() == damaged) << "the damaged file was written";
}

std::string Garbage(std::size_t size) {
  std::mt19937 random(20261208);
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(random() & 0xFF);
  }
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    FaultPaths, DamagedCatalogueTest,
    ::testing::Values(
        CatalogueDamage{"Empty", [](const std::string&) { return std::string(); }},
        CatalogueDamage{"Text", [](const std::string&) { return std::string("not Access\r\n"); }},
        CatalogueDamage{"Garbage", [](const std::string& sound) { return Garbage(sound.size()); }},
        CatalogueDamage{"HeaderOfAnotherKind",
                        [](const std::string& sound) {
                          std::string bytes = sound;
                          bytes[0x14] = 0x00;  // the version of a Jet 3 file
                          return bytes;
                        }},
        CatalogueDamage{"OnlyTheHeaderPage",
                        [](const std::string& sound) { return sound.substr(0, 4096); }},
        CatalogueDamage{"CutInThePage",
                        [](const std::string& sound) { return sound.substr(0, 4096 + 100); }},
        CatalogueDamage{
            "CutBeforeTheLastPage",
            [](const std::string& sound) { return sound.substr(0, sound.size() - 4096); }}),
    [](const ::testing::TestParamInfo<CatalogueDamage>& damage) { return damage.param.name; });

TEST_F(FaultPathsTest, CatalogueHeldByAnotherWriterIsShownAndSaidToBeReadOnly) {
  CreateCatalogue();
  writer_ = jet::Database::Open(ProgramFile("mstsc.mdb"), /*read_only=*/false);
  ASSERT_TRUE(writer_.has_value());
  StartMainWindow();
  EXPECT_EQ(forms::ServerList().RowCount(), 2);
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_TRUE(ShownBox("mstsc.mdb"));
  EXPECT_TRUE(ShownBox("只能查看"));
  EXPECT_TRUE(ShownBox("数据文件正被其他程序使用"));
  const std::string before = CatalogueBytes();
  AddServer("127.0.0.9");
  EXPECT_TRUE(ShownBox("服务器添加失败!数据文件正被其他程序使用"));
  EXPECT_EQ(forms::ServerList().RowCount(), 2);
  EXPECT_TRUE(CatalogueBytes() == before) << "the held file was written";
}

TEST_F(FaultPathsTest, CatalogueIsWrittenOnceTheOtherWriterHasLetItGo) {
  CreateCatalogue();
  writer_ = jet::Database::Open(ProgramFile("mstsc.mdb"), /*read_only=*/false);
  ASSERT_TRUE(writer_.has_value());
  StartMainWindow();
  ASSERT_TRUE(ShownBox("只能查看"));
  writer_.reset();
  AddServer("127.0.0.9");
  EXPECT_TRUE(ShownBox("服务器添加成功,可以继续添加!"));
  EXPECT_EQ(testing_support::StoredServers(ProgramFile("mstsc.mdb")).size(), 3u);
  EXPECT_EQ(forms::ServerList().RowCount(), 3);
}

// Cut at a page edge after its first data pages: readable, but only some of its rows are left.
TEST_F(FaultPathsTest, CatalogueCutShortShowsNoneOfItsServers) {
  std::vector<testing_support::CatalogueRow> rows;
  for (int i = 0; i < 400; ++i) {
    rows.push_back(ServerRow("10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250),
                             "3389", "admin", "pw", "一排很长的备注，让行占满几页"));
  }
  ASSERT_TRUE(testing_support::CreateCatalogue(ProgramFile("mstsc.mdb"), rows));
  const std::string sound = CatalogueBytes();
  const std::string cut = sound.substr(0, sound.size() - 2 * 4096);
  WriteBytes(directory_.NativePath("mstsc.mdb"), cut);
  {
    // Without the check it would pass for a catalogue with fewer servers.
    const std::optional<jet::Database> reader = jet::Database::Open(ProgramFile("mstsc.mdb"));
    ASSERT_TRUE(reader.has_value());
    ASSERT_FALSE(reader->Check().SafeToWrite());
  }
  StartMainWindow();
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_TRUE(ShownBox("无法打开"));
  EXPECT_EQ(forms::ServerList().RowCount(), 0);
  AddServer("127.0.0.9");
  EXPECT_TRUE(CatalogueBytes() == cut) << "the damaged file was written";
}

// A journal beside mstsc.mdb that some other file's change left (the file was replaced by a copy
// from elsewhere): the catalogue is shown and written as it is, and the user is told where the
// journal went.
TEST_F(FaultPathsTest, AJournalOfAnotherFileIsSetAsideAndSaidSoAtStart) {
  CreateCatalogue();
  const Text other = ProgramFile("other.mdb");
  ASSERT_TRUE(testing_support::CreateCatalogue(other, {ServerRow("10.0.0.1")}));
  {
    const std::unique_ptr<platform::LockedFile> file =
        platform::OpenLockedFile(other, platform::OpenMode::kExisting);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(
        jet::WriteJournal(ProgramFile("mstsc.mdb-journal"), *file, {{9 * 4096, Bytes(4096, 0)}}));
  }
  const std::string before = CatalogueBytes();
  StartMainWindow();
  EXPECT_TRUE(ShownBox("发现不属于当前数据文件的恢复日志，已保留为 " +
                       ProgramFile("mstsc.mdb-journal.other-1")));
  EXPECT_EQ(forms::ServerList().RowCount(), 2);
  EXPECT_TRUE(CatalogueBytes() == before);
  EXPECT_FALSE(directory_.Contains("mstsc.mdb-journal"));
  EXPECT_TRUE(directory_.Contains("mstsc.mdb-journal.other-1"));
}

// The catalogue cannot take the new server: the disk is full, or the file or its folder is
// read-only (marked so: an administrator, who may write it all the same, is refused too). The user
// is told which, at the start where it is known then, and when the add fails.
struct WriteFault {
  const char* name;
  const char* reason;
  // Puts the fault in place (given the program directory) before the start, or, for a full
  // disk, just before the add; takes it away again after.
  std::function<void(const std::filesystem::path&, bool)> apply;
  bool known_at_start;
};

class WriteFaultTest : public FaultPathsTest, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(WriteFaultTest, IsNamedAndNothingIsWritten) {
  CreateCatalogue();
  const std::filesystem::path directory(directory_.NativePath(""));
  const WriteFault& fault = GetParam();
  if (fault.known_at_start) {
    fault.apply(directory, true);
  }
  StartMainWindow();
  EXPECT_EQ(forms::ServerList().RowCount(), 2);
  EXPECT_EQ(ShownBox(Text("只能查看，添加、修改和删除服务器都不会保存：") + fault.reason),
            fault.known_at_start);
  const std::string before = CatalogueBytes();
  if (!fault.known_at_start) {
    fault.apply(directory, true);
  }
  AddServer("127.0.0.9");
  fault.apply(directory, false);
  EXPECT_TRUE(ShownBox(Text("服务器添加失败!") + fault.reason));
  EXPECT_EQ(forms::ServerList().RowCount(), 2);
  EXPECT_TRUE(CatalogueBytes() == before) << "the file was written";
}

void SetWritable(const std::filesystem::path& path, bool writable) {
  using std::filesystem::perms;
  std::filesystem::permissions(
      path, perms::owner_write | perms::group_write | perms::others_write,
      writable ? std::filesystem::perm_options::add : std::filesystem::perm_options::remove);
}

std::vector<WriteFault> WriteFaults() {
  std::vector<WriteFault> faults = {{"DiskFull", "磁盘空间不足",
                                     [](const std::filesystem::path&, bool on) {
                                       jet::testing::StopDiskWritesAfter(
                                           on ? std::optional<int>(0) : std::nullopt, false,
                                           platform::FileError::kDiskFull);
                                     },
                                     false},
                                    {"ReadOnlyFile", "数据文件是只读的",
                                     [](const std::filesystem::path& directory, bool on) {
                                       SetWritable(directory / "mstsc.mdb", !on);
                                     },
                                     true}};
#ifndef _WIN32
  // Windows keeps no read-only mark on folders that stops a file being written in them.
  faults.push_back(
      {"ReadOnlyFolder", "数据文件是只读的",
       [](const std::filesystem::path& directory, bool on) { SetWritable(directory, !on); }, true});
#endif
  return faults;
}

INSTANTIATE_TEST_SUITE_P(Faults, WriteFaultTest, ::testing::ValuesIn(WriteFaults()),
                         [](const ::testing::TestParamInfo<WriteFault>& fault) {
                           return fault.param.name;
                         });

#ifndef _WIN32
// A pipe under the catalogue's name: the program says it is no file it can use, at once, instead
// of waiting for something to be written into it.
TEST_F(FaultPathsTest, CatalogueThatIsAPipeIsRefusedAtOnce) {
  ASSERT_EQ(::mkfifo(directory_.NativePath("mstsc.mdb").c_str(), 0644), 0);
  StartMainWindow();
  EXPECT_TRUE(ShownBox("数据文件mstsc.mdb无法打开：数据文件不是普通文件"));
  EXPECT_EQ(forms::ServerList().RowCount(), 0);
  AddServer("127.0.0.9");
  EXPECT_TRUE(ShownBox("数据文件无法打开，无法修改：数据文件不是普通文件"));
}
#endif

TEST_F(FaultPathsTest, CatalogueFreeAtStartIsNotCalledReadOnly) {
  CreateCatalogue();
  StartMainWindow();
  EXPECT_TRUE(system_.MessageBoxes().empty());
  AddServer("127.0.0.9");
  EXPECT_EQ(forms::ServerList().RowCount(), 3);
}

TEST_F(FaultPathsTest, HistoryThatIsAFileRefusesTheConnectionAndKeepsTheFile) {
  CreateCatalogue();
  WriteBytes(directory_.NativePath("History"), "the user's own notes");
  StartMainWindow();
  ASSERT_TRUE(system_.DoubleClickRow(MainWindow(), "超级列表框1", 0));
  EXPECT_EQ(testing_support::LastBalloon(system_).text, "远程RDP文件写出出错!");
  ASSERT_TRUE(system_.ClickToolbarButton(MainWindow(), "工具条1", toolbar::kClearHistory));
  ASSERT_EQ(system_.MessageBoxes().size(), 1u);
  EXPECT_EQ(ReadBytes(directory_.NativePath("History")), "the user's own notes");
}

// A location database cut short at any length says so in the location column instead of showing
// stray bytes as places; the list fills and the rows get their reachability all the same.
TEST_F(FaultPathsTest, TruncatedLocationDatabaseIsNamedInTheLocationColumn) {
  status::testing::LocationDatabaseBuilder builder;
  const std::uint32_t loopback = builder.DirectRecord(0x7FFFFFFF, "本机地址", "回环");
  const std::uint32_t rest = builder.DirectRecord(0xFFFFFFFF, "其他", "地区");
  builder.Index(0x00000000, rest);
  builder.Index(0x7F000000, loopback);
  const std::string sound = builder.Finish();
  CreateCatalogue();
  StartMainWindow();
  const auto expectLocations = [&](const Text& expected, std::size_t length) {
    WriteBytes(directory_.NativePath("QQWry.dat"), sound.substr(0, length));
    FillServerList();
    WaitForReachability();
    const forms::Control list = forms::ServerList();
    ASSERT_EQ(list.RowCount(), 2) << length;
    for (int row = 0; row < 2; ++row) {
      EXPECT_EQ(list.CellText(row, 6), expected) << length;
      EXPECT_EQ(list.CellText(row, 3), "在线") << length;
    }
  };
  for (std::size_t length = 1; length < sound.size(); length += 3) {
    expectLocations("IP数据库文件已损坏", length);
  }
  expectLocations("IP数据库文件已损坏", sound.size() - 1);
  expectLocations("本机地址回环", sound.size());
}

TEST_F(FaultPathsTest, ProbingThatCannotBeDoneIsToldNotShownAsOffline) {
  CreateCatalogue();
  probe_.MakeUnavailable();
  StartMainWindow();
  const forms::Control list = forms::ServerList();
  ASSERT_EQ(list.RowCount(), 2);
  for (int row = 0; row < 2; ++row) {
    EXPECT_NE(list.CellText(row, 3), "离线");
    EXPECT_EQ(list.CellText(row, 3), "未知");
    EXPECT_EQ(list.CellText(row, 4), "无法检测");
    EXPECT_EQ(list.RowImage(row), 3);
  }
  EXPECT_TRUE(ShownTip(status::kProbingImpossibleTip));
}

}  // namespace
}  // namespace lumora::app
