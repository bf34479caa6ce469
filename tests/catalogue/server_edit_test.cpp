#include "catalogue/server_edit.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "services/jet/consistency_check.h"
#include "services/jet/database.h"
#include "services/jet/jet_write_support.h"
#include "services/sql/memory_table_store.h"
#include "services/sql/store_engine.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"

namespace lumora::catalogue {
namespace {

using services::DBConnection;
using services::RecordSet;
using testing_support::ServerRow;

TEST(ServerFieldsTest, BlanksGoFromEveryFieldButTheRemark) {
  const ServerFields cleaned = CleanFields({.address = " 10. 0.0.1　",
                                            .port = "33 89",
                                            .user = "管理　员 ",
                                            .password = " p w ",
                                            .remark = " 机房 一　"});
  EXPECT_EQ(cleaned.address, "10.0.0.1");
  EXPECT_EQ(cleaned.port, "3389");
  EXPECT_EQ(cleaned.user, "管理员");
  EXPECT_EQ(cleaned.password, "pw");
  EXPECT_EQ(cleaned.remark, " 机房 一　");
}

TEST(ServerFieldsTest, ChecksRunInTheirOrder) {
  EXPECT_EQ(FieldProblem({}), "远程IP不能为空!");
  EXPECT_EQ(FieldProblem(CleanFields({.address = " 　 "})), "远程IP不能为空!");
  EXPECT_EQ(FieldProblem({.address = "server"}), "请填写正确的IP或域名!");
  // A port or a mask in the address is refused, before the dot test, with the reason.
  for (const char* address : {"10.0.0.6:3390", "10.0.0.0/24", "server:3389", "::1"}) {
    EXPECT_EQ(FieldProblem({.address = address, .port = "1", .user = "u"}),
              "远程IP中不能有“:”或“/”，端口请填在远程端口里!")
        << address;
  }
  EXPECT_EQ(FieldProblem({.address = "a.b"}), "远程端口不能为空!");
  EXPECT_EQ(FieldProblem({.address = "a.b", .port = "x"}), "远程端口必须是1到65535之间的数字!");
  EXPECT_EQ(FieldProblem({.address = "a.b", .port = "1"}), "登录用户名不能为空!");
  // Neither the password nor the remark needs anything in it.
  EXPECT_EQ(FieldProblem({.address = "a.b", .port = "1", .user = "u"}), "");
}

TEST(ServerFieldsTest, PortIsADecimalNumberFromOneTo65535) {
  for (const char* good : {"1", "3389", "65535", "03389"}) {
    EXPECT_TRUE(IsValidPort(good)) << good;
  }
  for (const char* bad : {"0", "65536", "99999", "abc", "33a", "-1", "+1", "１", "4294967297"}) {
    EXPECT_FALSE(IsValidPort(bad)) << bad;
  }
  EXPECT_EQ(FieldProblem(CleanFields({.address = "a.b", .port = " 3 389 ", .user = "u"})), "");
}

TEST(ServerFieldsTest, EveryTextFieldHoldsAtMost255Characters) {
  Text wide255;  // 255 double-byte characters
  for (int i = 0; i < 255; ++i) {
    wide255 += "机";
  }
  struct Case {
    ServerFields fields;
    const char* problem;
  };
  const Case cases[] = {
      {{.address = Text(252, 'a') + ".bc", .port = "1", .user = "u"}, ""},
      {{.address = Text(253, 'a') + ".bc", .port = "1", .user = "u"}, "远程IP不能超过255个字符!"},
      {{.address = "a.b", .port = "1", .user = wide255}, ""},
      {{.address = "a.b", .port = "1", .user = wide255 + "x"}, "登录用户名不能超过255个字符!"},
      {{.address = "a.b", .port = "1", .user = "u", .password = Text(256, 'p')},
       "登录密码不能超过255个字符!"},
      {{.address = "a.b", .port = "1", .user = "u", .remark = Text(256, 'r')},
       "备注不能超过255个字符!"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FieldProblem(c.fields), c.problem) << c.fields.address.size();
  }
}

TEST(ServerFieldsTest, DeleteQuestionCountsTheServers) {
  EXPECT_EQ(DeleteQuestion(3), "确定要删除选中的3个服务器？");
  EXPECT_EQ(DeleteQuestion(12), "确定要删除选中的12个服务器？");
}

class ServerEditTest : public ::testing::Test {
 protected:
  void SetUp() override { path_ = jet::testing::FileIn(directory_, "mstsc.mdb"); }

  void TearDown() override {
    records_.reset();
    connection_.reset();
    writer_.reset();
    const std::optional<jet::Database> database = jet::Database::Open(path_);
    ASSERT_TRUE(database.has_value());
    const jet::CheckReport report = database->Check();
    EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
  }

  void Open(const std::vector<testing_support::CatalogueRow>& rows = {}) {
    ASSERT_TRUE(testing_support::CreateCatalogue(path_, rows));
    Reopen();
  }
  void Reopen() {
    records_.reset();
    connection_ = std::make_unique<DBConnection>();
    ASSERT_TRUE(connection_->OpenAccess(path_, ""));
    records_ = std::make_unique<RecordSet>();
    ASSERT_TRUE(records_->SetConnection(*connection_));
  }
  // Another program takes the file for writing: this connection can then only read.
  void LoseWriteAccess() {
    ASSERT_TRUE(connection_->OpenAccess(path_ + ".missing", "") == false);
    writer_ = jet::Database::Open(path_, false);
    ASSERT_TRUE(writer_.has_value());
    ASSERT_TRUE(connection_->OpenAccess(path_, ""));
  }

  // The table as a fresh connection reads it.
  std::vector<ServerRecord> Stored() { return testing_support::StoredServers(path_); }
  std::string Names() {
    std::string names;
    for (const ServerRecord& server : Stored()) {
      names += (names.empty() ? "" : ",") + server.server_name;
    }
    return names;
  }

  // The record number of the row named `name` exactly; empty when there is none.
  Text Number(const Text& name) {
    const std::optional<ServerRecord> found = FindServer(*records_, name);
    return found ? found->record_number : Text();
  }
  std::vector<Text> Numbers(std::initializer_list<Text> names) {
    std::vector<Text> numbers;
    for (const Text& name : names) {
      numbers.push_back(Number(name));
    }
    return numbers;
  }

  static ServerFields Fields(const Text& address, const Text& remark = "") {
    return {.address = address,
            .port = "3389",
            .user = "Administrator",
            .password = "pw",
            .remark = remark};
  }

  testing_support::TempDirectory directory_;
  Text path_;
  std::unique_ptr<DBConnection> connection_;
  std::unique_ptr<RecordSet> records_;
  std::optional<jet::Database> writer_;
};

TEST_F(ServerEditTest, AddStoresTheCleanedFieldsWithoutDomain) {
  Open();
  const EditOutcome outcome =
      AddServerFromFields(*records_, {" 127.0.0.1 ", "3 389", "管理　员", " p ", " 一号机 "});
  EXPECT_EQ(outcome.result, EditResult::kAdded);
  EXPECT_EQ(outcome.message, "服务器添加成功,可以继续添加!");
  const std::vector<ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].server_name, "127.0.0.1");
  EXPECT_EQ(stored[0].port, "3389");
  EXPECT_EQ(stored[0].user_name, "管理员");
  EXPECT_EQ(stored[0].remark, " 一号机 ");
  EXPECT_EQ(stored[0].domain, "");
  EXPECT_EQ(FindServer(*records_, "127.0.0.1")->password, "p");
}

TEST_F(ServerEditTest, InvalidFieldsWriteNothing) {
  Open();
  EXPECT_EQ(AddServerFromFields(*records_, {}).message, "远程IP不能为空!");
  EXPECT_EQ(AddServerFromFields(*records_, Fields("localhost")).message, "请填写正确的IP或域名!");
  EXPECT_EQ(AddServerFromFields(*records_, Fields("a.b")).result, EditResult::kAdded);
  EXPECT_EQ(ModifyServerFromFields(*records_, Number("a.b"), {.address = "c.d"}, "").message,
            "远程端口不能为空!");
  EXPECT_EQ(Names(), "a.b");
}

// As Jet's "=" sees names (letter case ignored), which decides on Windows.
TEST_F(ServerEditTest, DuplicatesAreNamesThatJetTakesForTheSame) {
  Open({ServerRow("Host.LAN")});
  for (const char* twin : {"Host.LAN", " host.lan", "HOST.lan"}) {
    const EditOutcome again = AddServerFromFields(*records_, Fields(twin));
    EXPECT_EQ(again.result, EditResult::kDuplicate) << twin;
    EXPECT_EQ(again.message, "目标服务器已存在,不必重复添加!");
  }
  EXPECT_EQ(AddServerFromFields(*records_, Fields("host.lan2")).result, EditResult::kAdded);
  EXPECT_EQ(Names(), "Host.LAN,host.lan2");
}

TEST_F(ServerEditTest, AddThatCannotBeStoredSaysSoAndLeavesNoRemnant) {
  Open({ServerRow("127.0.0.1")});
  // Too long for the remark column: refused before anything is written, naming the field.
  const EditOutcome tooLong = AddServerFromFields(*records_, Fields("127.0.0.2", Text(300, 'r')));
  EXPECT_EQ(tooLong.result, EditResult::kInvalid);
  EXPECT_EQ(tooLong.message, "备注不能超过255个字符!");
  EXPECT_EQ(Names(), "127.0.0.1");

  LoseWriteAccess();
  EXPECT_EQ(AddServerFromFields(*records_, Fields("127.0.0.3")).message, "服务器添加失败!");
  writer_.reset();
  EXPECT_EQ(Names(), "127.0.0.1");
}

TEST_F(ServerEditTest, ModifyRenamesAndKeepsTheDomainItIsGiven) {
  testing_support::CatalogueRow row = ServerRow("127.0.0.1", "3389", "admin", "old");
  row[4].second = Text("CORP");
  Open({row, ServerRow("127.0.0.2")});
  const EditOutcome outcome = ModifyServerFromFields(
      *records_, Number("127.0.0.1"), {"127.0.0. 9", "3390", "root", "new", "备注"}, "CORP");
  EXPECT_EQ(outcome.result, EditResult::kModified);
  EXPECT_EQ(outcome.message, "服务器信息修改成功!");
  const std::vector<ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].server_name, "127.0.0.9");
  EXPECT_EQ(stored[0].port, "3390");
  EXPECT_EQ(stored[0].user_name, "root");
  EXPECT_EQ(stored[0].domain, "CORP");
  EXPECT_EQ(stored[0].remark, "备注");
  EXPECT_EQ(FindServer(*records_, "127.0.0.9")->password, "new");
  EXPECT_EQ(stored[1].server_name, "127.0.0.2");
}

TEST_F(ServerEditTest, ModifyChangesOnlyTheExactlyNamedRow) {
  Open({ServerRow("Host.LAN", "1"), ServerRow("host.lan", "2")});
  ASSERT_EQ(ModifyServerFromFields(*records_, Number("host.lan"), Fields("host.lan"), "").result,
            EditResult::kModified);
  const std::vector<ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].port, "1");
  EXPECT_EQ(stored[1].port, "3389");
}

TEST_F(ServerEditTest, ModifyOfAServerThatIsGoneFails) {
  Open({ServerRow("127.0.0.1")});
  const EditOutcome outcome =
      ModifyServerFromFields(*records_, Number("127.0.0.5"), Fields("a.b"), "");
  EXPECT_EQ(outcome.result, EditResult::kModifyFailed);
  EXPECT_EQ(outcome.message, "服务器信息修改失败!");
  EXPECT_EQ(Names(), "127.0.0.1");
}

TEST_F(ServerEditTest, NamesWithQuotesAreAddedModifiedAndDeleted) {
  Open({ServerRow("127.0.0.1")});
  ASSERT_EQ(AddServerFromFields(*records_, Fields("o'hare.lan")).result, EditResult::kAdded);
  EXPECT_EQ(AddServerFromFields(*records_, Fields("o'hare.lan")).result, EditResult::kDuplicate);
  ASSERT_EQ(ModifyServerFromFields(*records_, Number("o'hare.lan"), Fields("it's.lan"), "").result,
            EditResult::kModified);
  EXPECT_EQ(Names(), "127.0.0.1,it's.lan");
  EXPECT_TRUE(DeleteServersNumbered(*connection_, *records_, Numbers({"it's.lan"})).complete);
  EXPECT_EQ(Names(), "127.0.0.1");
}

TEST_F(ServerEditTest, DeleteStopsAtTheFirstFailure) {
  Open({ServerRow("127.0.0.1"), ServerRow("127.0.0.2"), ServerRow("127.0.0.3")});
  const std::vector<Text> numbers = Numbers({"127.0.0.1", "127.0.0.3", "127.0.0.2"});
  int calls = 0;
  const DeleteOutcome outcome = DeleteServersNumbered(*connection_, *records_, numbers, [&] {
    ++calls;
    LoseWriteAccess();
  });
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(outcome.deleted, 1);
  EXPECT_EQ(calls, 1);
  writer_.reset();
  EXPECT_EQ(Names(), "127.0.0.2,127.0.0.3");
}

TEST_F(ServerEditTest, DeleteTakesExactlyTheNumberedRowsNotTheirLetterCaseTwins) {
  Open({ServerRow("SRV.x"), ServerRow("srv.x"), ServerRow("127.0.0.3")});
  EXPECT_TRUE(DeleteServersNumbered(*connection_, *records_, Numbers({"srv.x"})).complete);
  EXPECT_EQ(Names(), "SRV.x,127.0.0.3");
  // A row that is not there (any more) is a failed deletion, not a success.
  const Text gone[] = {"999"};
  EXPECT_FALSE(DeleteServersNumbered(*connection_, *records_, gone).complete);
  EXPECT_FALSE(DeleteServersNumbered(*connection_, *records_, Numbers({"srv.x"})).complete);
  EXPECT_EQ(Names(), "SRV.x,127.0.0.3");
}

TEST_F(ServerEditTest, RenameOntoAnotherServersNameIsRefused) {
  Open({ServerRow("127.0.0.1", "1"), ServerRow("127.0.0.2", "2")});
  const EditOutcome outcome =
      ModifyServerFromFields(*records_, Number("127.0.0.2"), Fields("127.0.0.1"), "");
  EXPECT_EQ(outcome.result, EditResult::kDuplicate);
  EXPECT_EQ(outcome.message, "目标服务器已存在,不必重复添加!");
  EXPECT_EQ(Names(), "127.0.0.1,127.0.0.2");
  // Keeping its own name, or changing only its letter case, is no rename onto another.
  EXPECT_EQ(ModifyServerFromFields(*records_, Number("127.0.0.2"), Fields("127.0.0.2"), "").result,
            EditResult::kModified);
}

TEST_F(ServerEditTest, ARenameThatOnlyChangesLetterCaseIsNoDuplicateOfItself) {
  Open({ServerRow("a.lan", "1"), ServerRow("b.lan", "2")});
  const Text b = Number("b.lan");
  EXPECT_EQ(ModifyServerFromFields(*records_, b, Fields("A.LAN"), "").result,
            EditResult::kDuplicate);
  EXPECT_EQ(ModifyServerFromFields(*records_, b, Fields("B.LAN"), "").result,
            EditResult::kModified);
  EXPECT_EQ(Names(), "a.lan,B.LAN");
}

TEST_F(ServerEditTest, RowsStoredTwiceUnderOneNameAreEditedOneByOne) {
  // Made by another program: the same name twice (or in two letter cases), told apart only by
  // the record number.
  Open({ServerRow("twin.lan", "1", "u", "first"), ServerRow("Twin.lan", "2", "u", "second")});
  std::vector<ServerRecord> stored = Stored();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(FindServerNumbered(*records_, stored[1].record_number)->password, "second");
  ASSERT_EQ(ModifyServerFromFields(*records_, stored[1].record_number,
                                   {"Twin.lan", "3", "u", "third", ""}, "")
                .result,
            EditResult::kModified);
  EXPECT_EQ(FindServerNumbered(*records_, stored[0].record_number)->password, "first");
  EXPECT_EQ(FindServerNumbered(*records_, stored[1].record_number)->password, "third");
  const Text second[] = {stored[1].record_number};
  EXPECT_TRUE(DeleteServersNumbered(*connection_, *records_, second).complete);
  stored = Stored();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].port, "1");
}

// A catalogue made elsewhere with a narrower name column: the engine refuses a name that the
// editor's own check lets through, after the row was begun.
TEST(ServerEditRefusedFieldTest, AFieldTheEngineRefusesLeavesNoRow) {
  auto store = std::make_shared<services::sql::MemoryTableStore>();
  std::vector<services::sql::StoredColumn> columns = ServerTableColumns();
  columns[1].length = 20;  // 服务器名 Text(10)
  ASSERT_TRUE(store->AddTable(kServerTable, columns));
  std::vector<std::unique_ptr<services::DatabaseEngine>> engines;
  engines.push_back(std::make_unique<services::sql::StoreEngine>(
      [store](const services::ConnectionRequest&) { return store; }));
  DBConnection connection(std::move(engines));
  RecordSet records;
  ASSERT_TRUE(connection.OpenAccess("mstsc.mdb", ""));
  ASSERT_TRUE(records.SetConnection(connection));

  const ServerFields fields{"127.0.0.100", "3389", "u", "secret", ""};
  EXPECT_EQ(AddServerFromFields(records, fields).message, "服务器添加失败!");
  records.Open(kServerTable, RecordSet::kSourceTable);  // would store a row left pending
  EXPECT_EQ(records.RecordCount(), 0);
  EXPECT_EQ(AddServerFromFields(records, {"127.0.0.7", "3389", "u", "secret", ""}).result,
            EditResult::kAdded);
}

}  // namespace
}  // namespace lumora::catalogue
