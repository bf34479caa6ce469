#include <gtest/gtest.h>

#include "services/jet/database.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "services/values/field_text.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing::FileIn;
using testing::Utf8;

class JetWriteUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = FileIn(directory_, "update.mdb");
    ASSERT_TRUE(Database::Create(path_));
    database_ = Database::Open(path_, /*read_only=*/false);
    ASSERT_TRUE(database_.has_value());
    for (int index = 1; index <= 3; ++index) {
      ASSERT_TRUE(database_->InsertRow(
          "Server", {{"服务器名", "主机" + std::to_string(index)}, {"端口", Text("3389")}}));
    }
  }

  std::vector<Row> Rows() const { return database_->OpenTable("Server")->ReadAll(); }

  void ExpectHealthy() const {
    const CheckReport report = database_->Check();
    EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
  }

  testing_support::TempDirectory directory_;
  Text path_;
  std::optional<Database> database_;
};

TEST_F(JetWriteUpdate, ShorterValueIsWrittenInPlace) {
  const std::vector<Row> before = Rows();
  ASSERT_EQ(before.size(), 3u);
  ASSERT_TRUE(database_->UpdateRow("Server", before[1].id,
                                   {{"服务器名", Text("短")}, {"备注", std::nullopt}}));
  const std::vector<Row> after = Rows();
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[1].id, before[1].id);
  EXPECT_EQ(FieldToText(after[1].values[0]), "2");
  EXPECT_EQ(FieldToText(after[1].values[1]), "短");
  EXPECT_EQ(FieldToText(after[1].values[2]), "3389");
  EXPECT_EQ(FieldToText(after[0].values[1]), "主机1");
  EXPECT_EQ(FieldToText(after[2].values[1]), "主机3");
  ExpectHealthy();
  if (const auto csv = testing::MdbExport(directory_.NativePath("update.mdb"), "Server")) {
    const std::u16string text = u"短";
    EXPECT_NE(csv->find("2,\"" + Utf8(text) + "\",\"3389\""), std::string::npos) << *csv;
  }
}

TEST_F(JetWriteUpdate, LongerValueMovesTheRowButKeepsItsId) {
  const std::vector<Row> before = Rows();
  const Text long_note(200, 'n');
  ASSERT_TRUE(database_->UpdateRow("Server", before[0].id, {{"备注", long_note}}));
  std::vector<Row> after = Rows();
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0].id, before[0].id);
  EXPECT_EQ(FieldToText(after[0].values[6]), long_note);
  EXPECT_EQ(FieldToText(after[0].values[1]), "主机1");
  ExpectHealthy();

  // A moved row grows again, and then shrinks back into its new place.
  const Text longer = "中文" + Text(250, 'x');
  ASSERT_TRUE(database_->UpdateRow("Server", before[0].id, {{"用户名", longer}}));
  ASSERT_TRUE(database_->UpdateRow("Server", before[0].id, {{"备注", Text("'")}}));
  after = Rows();
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(FieldToText(after[0].values[3]), longer);
  EXPECT_EQ(FieldToText(after[0].values[6]), "'");
  ExpectHealthy();

  const std::string native = directory_.NativePath("update.mdb");
  if (const auto csv = testing::MdbExport(native, "Server")) {
    EXPECT_EQ(testing::Occurrences(*csv, "\n"), 4u) << *csv;
    EXPECT_NE(csv->find(Utf8(u"中文") + std::string(250, 'x')), std::string::npos) << *csv;
  }
  if (const auto json = testing::MdbReaderJson(native, "Server")) {
    EXPECT_NE(json->find(Utf8(u"中文") + std::string(250, 'x')), std::string::npos) << *json;
    EXPECT_EQ(testing::Occurrences(*json, Utf8(u"主机")), 3u);
  }
}

TEST_F(JetWriteUpdate, RefusedUpdatesChangeNothing) {
  const std::vector<Row> before = Rows();
  database_.reset();
  const Bytes bytes = testing::ReadWholeFile(directory_.NativePath("update.mdb"));
  database_ = Database::Open(path_, /*read_only=*/false);
  ASSERT_TRUE(database_.has_value());
  EXPECT_FALSE(database_->UpdateRow("Server", before[0].id, {{"编号", Text("9")}}));
  EXPECT_FALSE(database_->UpdateRow("Server", before[0].id, {{"端口", Text(300, 'x')}}));
  EXPECT_FALSE(
      database_->UpdateRow("Server", RowId{before[0].id.page, 200}, {{"端口", Text("1")}}));
  EXPECT_FALSE(database_->UpdateRow("Server", RowId{2, 0}, {{"端口", Text("1")}}));
  database_.reset();
  EXPECT_EQ(testing::ReadWholeFile(directory_.NativePath("update.mdb")), bytes);
}

}  // namespace
}  // namespace lumora::jet
