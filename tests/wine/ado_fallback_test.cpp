// The ADO engine on a system without the Jet provider (Wine): it fails cleanly, and the
// connection falls back to the built-in engine.
#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include "catalogue/server_edit.h"
#include "catalogue/server_store.h"
#include "services/ado/ado_engine.h"
#include "services/ado/variant_text.h"
#include "services/db_connection.h"
#include "services/jet/database.h"
#include "services/record_set.h"
#include "support/temp_directory.h"
#include "support/wine_gap.h"

namespace lumora::services {
namespace {

class AdoFallbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = directory_.Path() + "\\mstsc.mdb";
    ASSERT_TRUE(jet::Database::Create(path_));
  }

  testing_support::TempDirectory directory_;
  Text path_;
};

TEST_F(AdoFallbackTest, AdoOpenFailsCleanlyWithoutTheJetProvider) {
  if (!testing_support::RunningUnderWine()) {
    GTEST_SKIP() << "a Windows system may have the Jet provider";
  }
  std::unique_ptr<DatabaseEngine> engine = ado::MakeAdoEngine();
  ASSERT_NE(engine, nullptr);
  EXPECT_FALSE(engine->Open({AccessConnectionString(path_, ""), path_, ""}));
  EXPECT_FALSE(engine->IsOpen());
  EXPECT_FALSE(engine->Execute("delete from Server", std::nullopt));
  EXPECT_FALSE(engine->Execute("delete from Server", 5));
}

TEST_F(AdoFallbackTest, UnopenedAdoRecordSetFailsEveryOperation) {
  std::unique_ptr<DatabaseEngine> engine = ado::MakeAdoEngine();
  std::unique_ptr<EngineRecordSet> records = engine->NewRecordSet();
  if (!records) {
    GTEST_SKIP() << "ADODB.Recordset is not registered";
  }
  records->Close();
  EXPECT_FALSE(records->Open("Server", 2, std::nullopt));
  EXPECT_FALSE(records->IsOpen());
  EXPECT_EQ(records->RecordCount(), 0);
  Text value = "left over";
  EXPECT_FALSE(records->GetFieldText("服务器名", value));
  EXPECT_EQ(value, "");
  EXPECT_FALSE(records->AddNew());
  EXPECT_FALSE(records->SetField("服务器名", Text("x")));
  EXPECT_FALSE(records->MoveNext());
}

TEST_F(AdoFallbackTest, OpenAccessFallsBackToTheBuiltInEngine) {
  DBConnection connection;
  RecordSet records;
  ASSERT_TRUE(records.SetConnection(connection));
  ASSERT_TRUE(connection.OpenAccess(path_, ""));
  EXPECT_EQ(connection.ConnectionString(),
            "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" + path_);

  catalogue::ServerRecord server;
  server.server_name = "主机甲";
  server.port = "3389";
  ASSERT_FALSE(catalogue::FindServer(records, server.server_name));
  ASSERT_TRUE(catalogue::AddServer(records, server));
  std::vector<catalogue::ServerRecord> servers;
  ASSERT_TRUE(catalogue::ListServers(records, servers));
  ASSERT_EQ(servers.size(), 1u);
  EXPECT_EQ(servers[0].server_name, "主机甲");
  ASSERT_TRUE(catalogue::DeleteServers(connection, "主机甲"));
  ASSERT_TRUE(catalogue::ListServers(records, servers));
  EXPECT_TRUE(servers.empty());
}

TEST_F(AdoFallbackTest, MissingFileFailsInEveryEngine) {
  DBConnection connection;
  EXPECT_FALSE(connection.OpenAccess(directory_.Path() + "\\missing.mdb", ""));
  EXPECT_FALSE(connection.Execute("delete from Server"));
}

TEST(AdoVariantTextTest, FollowsTheConversionTable) {
  VARIANT value;
  ::VariantInit(&value);
  EXPECT_EQ(ado::VariantText(value), "");
  value.vt = VT_NULL;
  EXPECT_EQ(ado::VariantText(value), "");
  value.vt = VT_I2;
  value.iVal = -12;
  EXPECT_EQ(ado::VariantText(value), "-12");
  value.vt = VT_UI1;
  value.bVal = 200;
  EXPECT_EQ(ado::VariantText(value), "200");
  value.vt = VT_I4;
  value.lVal = 123456;
  EXPECT_EQ(ado::VariantText(value), "123456");
  value.vt = VT_R4;
  value.fltVal = 1.5f;
  EXPECT_EQ(ado::VariantText(value), "1.5000");
  value.vt = VT_R8;
  value.dblVal = 444.555;
  EXPECT_EQ(ado::VariantText(value), "444.55500000");
  value.vt = VT_CY;
  value.cyVal.int64 = 35000;
  EXPECT_EQ(ado::VariantText(value), "3.5");
  value.vt = VT_DATE;
  value.date = 27293.5;  // 1974-09-21 12:00
  EXPECT_EQ(ado::VariantText(value), "1974-09-21 12:00:00");
  value.vt = VT_BOOL;
  value.boolVal = VARIANT_TRUE;
  EXPECT_EQ(ado::VariantText(value), "TRUE");
  value.boolVal = VARIANT_FALSE;
  EXPECT_EQ(ado::VariantText(value), "FALSE");
  value.vt = VT_VOID;
  value.ulVal = 0xabc;
  EXPECT_EQ(ado::VariantText(value), "     abc");
  value.vt = VT_ARRAY | VT_UI1;
  EXPECT_EQ(ado::VariantText(value), "[BLOB]");
  value.vt = VT_BLOB;
  EXPECT_EQ(ado::VariantText(value), "[BLOB]");
  value.vt = VT_DISPATCH;
  EXPECT_EQ(ado::VariantText(value), "UN_KNOW");

  VARIANT decimal;
  ::VariantInit(&decimal);
  decimal.vt = VT_R8;
  decimal.dblVal = 2.25;
  VARIANT converted;
  ::VariantInit(&converted);
  ASSERT_TRUE(SUCCEEDED(::VariantChangeType(&converted, &decimal, 0, VT_DECIMAL)));
  EXPECT_EQ(ado::VariantText(converted), "2.25000000");
}

TEST(AdoVariantTextTest, WideStringsBecomeGbk) {
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = ::SysAllocString(L"\u670D\u52A1\u5668 1");  // the wide form of "服务器 1"
  EXPECT_EQ(ado::VariantText(value), "服务器 1");
  ::VariantClear(&value);
}

}  // namespace
}  // namespace lumora::services
