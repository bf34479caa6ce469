// The server store over the built-in engine: tables in memory, and catalogue files made by
// jet::Database::Create.
#include "catalogue/server_store.h"

#include <gtest/gtest.h>

#include "services/db_test_support.h"
#include "services/jet/database.h"
#include "services/jet/jet_write_support.h"
#include "services/jet_engine.h"
#include "support/temp_directory.h"

namespace lumora::catalogue {
namespace {

using services::DBConnection;
using services::RecordSet;

TEST(ServerStatementsTest, SelectionCondition) {
  EXPECT_EQ(SelectServerCondition("10.0.0.1"), "服务器名='10.0.0.1'");
}

TEST(ServerStatementsTest, UpdateStatementKeepsItsShape) {
  const ServerRecord server{.server_name = "host",
                            .port = "3389",
                            .user_name = "admin",
                            .password = "pw",
                            .domain = "corp",
                            .remark = "备注一",
                            .record_number = "12"};
  EXPECT_EQ(UpdateServerStatement(server),
            "update Server set 服务器名='host',端口='3389',用户名='admin',密码='pw',域='corp',"
            "备注='备注一' where 编号=12");
}

TEST(ServerStatementsTest, DeleteStatementKeepsItsShape) {
  EXPECT_EQ(DeleteServersStatement("host"), "delete from Server where 服务器名='host'");
}

TEST(ServerStatementsTest, QuotesInValuesAreDoubled) {
  EXPECT_EQ(SelectServerCondition("x' or '1'='1"), "服务器名='x'' or ''1''=''1'");
  EXPECT_EQ(DeleteServersStatement("o'brien"), "delete from Server where 服务器名='o''brien'");
  ServerRecord server;
  server.remark = "it's";
  server.record_number = "1";
  EXPECT_EQ(UpdateServerStatement(server),
            "update Server set 服务器名='',端口='',用户名='',密码='',域='',备注='it''s' "
            "where 编号=1");
}

enum class Backing { kMemory, kFile };

class ServerStoreTest : public ::testing::TestWithParam<Backing> {
 protected:
  void SetUp() override {
    std::vector<std::unique_ptr<services::DatabaseEngine>> engines;
    if (GetParam() == Backing::kMemory) {
      auto store = std::make_shared<services::sql::MemoryTableStore>();
      ASSERT_TRUE(store->AddTable(kServerTable, ServerTableColumns()));
      engines.push_back(services::testing::MemoryEngine(store));
    } else {
      path_ = jet::testing::FileIn(directory_, "mstsc.mdb");
      ASSERT_TRUE(jet::Database::Create(path_));
      engines.push_back(services::MakeJetEngine());
    }
    connection_ = std::make_unique<DBConnection>(std::move(engines));
    ASSERT_TRUE(connection_->OpenAccess(path_, ""));
    ASSERT_TRUE(records_.SetConnection(*connection_));
  }

  // Whatever a test did, the file stays one that needs no repair.
  void TearDown() override {
    if (GetParam() != Backing::kFile) {
      return;
    }
    const std::optional<jet::Database> database = jet::Database::Open(path_);
    ASSERT_TRUE(database.has_value());
    const jet::CheckReport report = database->Check();
    EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
  }

  static ServerRecord Server(const Text& name, const Text& remark = "") {
    return ServerRecord{.server_name = name,
                        .port = "3389",
                        .user_name = "admin",
                        .password = "secret",
                        .domain = "",
                        .remark = remark};
  }

  void Add(const ServerRecord& server) {
    ASSERT_FALSE(Stored(server.server_name)) << server.server_name;
    ASSERT_TRUE(AddServer(records_, server)) << server.server_name;
  }

  std::vector<ServerRecord> List() {
    std::vector<ServerRecord> servers;
    EXPECT_TRUE(ListServers(records_, servers));
    return servers;
  }

  std::string Names() {
    std::string names;
    for (const ServerRecord& server : List()) {
      names += (names.empty() ? "" : ",") + server.server_name;
    }
    return names;
  }

  Text ReadField(const Text& name, const char* column) {
    EXPECT_TRUE(SelectServer(records_, name));
    Text value;
    records_.GetFieldText(column, value);
    return value;
  }

  // Whether the row found for `name` carries that very name (Jet finds it without regard to case).
  bool Stored(const Text& name) { return ReadField(name, kColumnServerName) == name; }

  testing_support::TempDirectory directory_;
  Text path_ = "memory.mdb";
  std::unique_ptr<DBConnection> connection_;
  RecordSet records_;
};

TEST_P(ServerStoreTest, EmptyTableGivesAnEmptyList) {
  std::vector<ServerRecord> servers = {Server("left over")};
  EXPECT_TRUE(ListServers(records_, servers));
  EXPECT_TRUE(servers.empty());
  EXPECT_EQ(records_.RecordCount(), 0);
}

TEST_P(ServerStoreTest, ListGivesTheShownMembersInTableOrder) {
  Add(Server("10.0.0.1", "第一台"));
  Add(Server("主机乙"));
  const std::vector<ServerRecord> servers = List();
  ASSERT_EQ(servers.size(), 2u);
  EXPECT_EQ(servers[0], (ServerRecord{.server_name = "10.0.0.1",
                                      .port = "3389",
                                      .user_name = "admin",
                                      .password = "",
                                      .domain = "",
                                      .remark = "第一台",
                                      .record_number = "1"}));
  EXPECT_EQ(servers[1].server_name, "主机乙");
}

TEST_P(ServerStoreTest, SelectionReadsSingleFields) {
  Add(Server("alpha"));
  Add(Server("beta"));
  EXPECT_EQ(ReadField("beta", kColumnPassword), "secret");
  EXPECT_EQ(ReadField("beta", kColumnNumber), "2");
  EXPECT_EQ(ReadField("gamma", kColumnPassword), "");
}

TEST_P(ServerStoreTest, DomainOfAnAddedRowIsNull) {
  Add(Server("alpha"));
  ASSERT_TRUE(records_.OpenWhere(kServerTable, "域 is null"));
  EXPECT_EQ(records_.RecordCount(), 1);
}

TEST_P(ServerStoreTest, UpdateWritesEveryColumnButTheNumber) {
  Add(Server("alpha"));
  Add(Server("beta"));
  const ServerRecord changed{.server_name = "alpha2",
                             .port = "3390",
                             .user_name = "root",
                             .password = "new",
                             .domain = "corp",
                             .remark = "改过",
                             .record_number = ReadField("alpha", kColumnNumber)};
  ASSERT_TRUE(UpdateServer(records_, changed));
  EXPECT_EQ(ReadField("alpha2", kColumnNumber), "1");
  EXPECT_EQ(ReadField("alpha2", kColumnPassword), "new");
  const std::vector<ServerRecord> servers = List();
  ASSERT_EQ(servers.size(), 2u);
  EXPECT_EQ(servers[0], (ServerRecord{.server_name = "alpha2",
                                      .port = "3390",
                                      .user_name = "root",
                                      .domain = "corp",
                                      .remark = "改过",
                                      .record_number = "1"}));
  EXPECT_EQ(servers[1].server_name, "beta");
}

TEST_P(ServerStoreTest, RenameToAnExistingNameThenDeleteTakesBoth) {
  Add(Server("alpha"));
  Add(Server("beta"));
  Add(Server("gamma"));
  ServerRecord renamed = Server("alpha");
  renamed.record_number = ReadField("beta", kColumnNumber);
  ASSERT_TRUE(UpdateServer(records_, renamed));
  EXPECT_EQ(Names(), "alpha,alpha,gamma");
  ASSERT_TRUE(DeleteServers(*connection_, "alpha"));
  EXPECT_EQ(Names(), "gamma");
}

TEST_P(ServerStoreTest, NameWithAQuoteWorksLikeAnyOther) {
  Add(Server("o'brien"));
  Add(Server("other"));
  EXPECT_TRUE(Stored("o'brien"));
  EXPECT_EQ(ReadField("o'brien", kColumnPassword), "secret");

  ServerRecord changed = Server("o'brien's box", "it's mine");
  changed.record_number = ReadField("o'brien", kColumnNumber);
  ASSERT_EQ(changed.record_number, "1");
  ASSERT_TRUE(UpdateServer(records_, changed));
  EXPECT_EQ(ReadField("o'brien's box", kColumnRemark), "it's mine");

  ASSERT_TRUE(DeleteServers(*connection_, "o'brien's box"));
  EXPECT_EQ(Names(), "other");
}

TEST_P(ServerStoreTest, CraftedNameDeletesNothingElse) {
  Add(Server("alpha"));
  Add(Server("beta"));
  const Text crafted = "x' or '1'='1";
  EXPECT_FALSE(Stored(crafted));
  EXPECT_EQ(ReadField(crafted, kColumnNumber), "");
  ASSERT_TRUE(DeleteServers(*connection_, crafted));
  EXPECT_EQ(Names(), "alpha,beta");

  // The crafted text is an ordinary name: stored, found and deleted on its own.
  Add(Server(crafted));
  EXPECT_TRUE(Stored(crafted));
  ASSERT_TRUE(DeleteServers(*connection_, crafted));
  EXPECT_EQ(Names(), "alpha,beta");
}

TEST_P(ServerStoreTest, NonNumericRecordNumberIsRefused) {
  Add(Server("alpha"));
  ServerRecord server = Server("beta");
  server.record_number = "1 or 1=1";
  EXPECT_FALSE(UpdateServer(records_, server));
  EXPECT_EQ(Names(), "alpha");
}

INSTANTIATE_TEST_SUITE_P(Backings, ServerStoreTest,
                         ::testing::Values(Backing::kMemory, Backing::kFile),
                         [](const ::testing::TestParamInfo<Backing>& param) {
                           return param.param == Backing::kMemory ? "Memory" : "File";
                         });

}  // namespace
}  // namespace lumora::catalogue
