#include "services/db_connection.h"

#include <gtest/gtest.h>

#include "services/db_test_support.h"

namespace lumora::services {
namespace {

using testing::CallLog;
using testing::RecordingEngine;

TEST(DbConnectionStringTest, EmptyPasswordAddsNoPasswordPart) {
  EXPECT_EQ(AccessConnectionString("C:\\Lumora\\mstsc.mdb", ""),
            "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=C:\\Lumora\\mstsc.mdb");
}

TEST(DbConnectionStringTest, PasswordEndsInPasswordPieceAndSemicolon) {
  EXPECT_EQ(AccessConnectionString("C:\\Lumora\\mstsc.mdb", "x"),
            "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=C:\\Lumora\\mstsc.mdb"
            ";Jet OLEDB:Database Password=x;");
}

class DbConnectionTest : public ::testing::Test {
 protected:
  DBConnection MakeConnection(bool first_opens, bool second_opens) {
    std::vector<std::unique_ptr<DatabaseEngine>> engines;
    engines.push_back(std::make_unique<RecordingEngine>("ado", first_opens, log_));
    engines.push_back(std::make_unique<RecordingEngine>("builtin", second_opens, log_));
    return DBConnection(std::move(engines));
  }

  CallLog log_ = std::make_shared<std::vector<std::string>>();
};

TEST_F(DbConnectionTest, ConnectionStringIsEmptyBeforeTheFirstOpen) {
  DBConnection connection = MakeConnection(true, true);
  EXPECT_EQ(connection.ConnectionString(), "");
  EXPECT_EQ(connection.ActiveEngine(), nullptr);
}

TEST_F(DbConnectionTest, FirstEngineThatOpensIsUsed) {
  DBConnection connection = MakeConnection(true, true);
  ASSERT_TRUE(connection.OpenAccess("a.mdb", ""));
  EXPECT_EQ(*log_, std::vector<std::string>(
                       {"ado open Provider=Microsoft.Jet.OLEDB.4.0; Data Source=a.mdb"}));
  EXPECT_EQ(connection.ConnectionString(), "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=a.mdb");
}

TEST_F(DbConnectionTest, FallsBackWhenTheFirstEngineCannotOpen) {
  DBConnection connection = MakeConnection(false, true);
  ASSERT_TRUE(connection.OpenAccess("a.mdb", ""));
  ASSERT_TRUE(connection.Execute("delete from Server"));
  EXPECT_EQ(log_->back(), "builtin execute delete from Server");
}

TEST_F(DbConnectionTest, FailsWhenNoEngineOpens) {
  DBConnection connection = MakeConnection(false, false);
  EXPECT_FALSE(connection.OpenAccess("a.mdb", "pw"));
  EXPECT_EQ(connection.ConnectionString(),
            "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=a.mdb;Jet OLEDB:Database Password=pw;");
  EXPECT_FALSE(connection.Execute("delete from Server"));
}

TEST_F(DbConnectionTest, ReopeningClosesTheOpenConnectionFirst) {
  DBConnection connection = MakeConnection(true, true);
  ASSERT_TRUE(connection.OpenAccess("a.mdb", ""));
  ASSERT_TRUE(connection.OpenAccess("b.mdb", ""));
  ASSERT_EQ(log_->size(), 3u);
  EXPECT_EQ((*log_)[1], "ado close");
  EXPECT_EQ((*log_)[2], "ado open Provider=Microsoft.Jet.OLEDB.4.0; Data Source=b.mdb");
}

TEST_F(DbConnectionTest, ExecutePassesTheTimeoutOnlyWhenGiven) {
  DBConnection connection = MakeConnection(true, true);
  ASSERT_TRUE(connection.OpenAccess("a.mdb", ""));
  ASSERT_TRUE(connection.Execute("delete from Server"));
  EXPECT_EQ(log_->back(), "ado execute delete from Server");
  ASSERT_TRUE(connection.Execute("delete from Server", 5));
  EXPECT_EQ(log_->back(), "ado execute delete from Server timeout 5");
}

TEST_F(DbConnectionTest, ExecuteBeforeOpenFails) {
  DBConnection connection = MakeConnection(true, true);
  EXPECT_FALSE(connection.Execute("delete from Server"));
  EXPECT_TRUE(log_->empty());
}

TEST(DbConnectionNoEngineTest, EveryOperationFails) {
  DBConnection connection{std::vector<std::unique_ptr<DatabaseEngine>>{}};
  EXPECT_FALSE(connection.OpenAccess("a.mdb", ""));
  EXPECT_FALSE(connection.Execute("delete from Server"));
}

}  // namespace
}  // namespace lumora::services
