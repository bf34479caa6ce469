#include "launcher/session_inputs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/server_store.h"
#include "launcher/session_writer.h"
#include "platform/program_directory.h"
#include "services/db_connection.h"
#include "services/record_set.h"
#include "settings/settings_store.h"
#include "support/catalogue_file.h"
#include "support/file_bytes.h"
#include "support/temp_directory.h"

namespace lumora::launcher {
namespace {

using testing_support::ServerRow;

class SessionInputsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDirectory(directory_.Path());
    settings::WriteDefaults();
    testing_support::CatalogueRow domained = ServerRow("127.0.0.2", "3390", "ops", "pw2");
    domained[4].second = "CORP";
    ASSERT_TRUE(testing_support::CreateCatalogue(
        ProgramFile("mstsc.mdb"),
        {ServerRow("127.0.0.1", "3389", "admin", "pw1"), domained,
         ServerRow("SRV", "3389", "u", "upper-case"), ServerRow("srv", "3389", "u", "lower-case"),
         ServerRow("nopass", "3389", "u", "")}));
    ASSERT_TRUE(connection_.OpenAccess(ProgramFile("mstsc.mdb"), ""));
    ASSERT_TRUE(records_.SetConnection(connection_));
  }

  Text CurrentServerName() {
    Text name;
    records_.GetFieldText(catalogue::kColumnServerName, name);
    return name;
  }

  testing_support::TempDirectory directory_;
  services::DBConnection connection_;
  services::RecordSet records_;
};

TEST_F(SessionInputsTest, PasswordComesFromTheRecordAndTheRestFromTheRow) {
  const SessionInputs inputs =
      GatherSessionInputs(records_, {"127.0.0.2", "4000", "row-user", "ROW-DOMAIN"});
  EXPECT_EQ(inputs.host, "127.0.0.2");
  EXPECT_EQ(inputs.port, "4000");
  EXPECT_EQ(inputs.user, "row-user");
  EXPECT_EQ(inputs.domain, "ROW-DOMAIN");
  EXPECT_EQ(inputs.password, "pw2");
  EXPECT_EQ(CurrentServerName(), "127.0.0.2");
}

TEST_F(SessionInputsTest, NamesDifferingOnlyInLetterCaseKeepTheirOwnPasswords) {
  EXPECT_EQ(GatherSessionInputs(records_, {"srv", "3389", "u", ""}).password, "lower-case");
  EXPECT_EQ(CurrentServerName(), "srv");
  EXPECT_EQ(GatherSessionInputs(records_, {"SRV", "3389", "u", ""}).password, "upper-case");
  EXPECT_EQ(CurrentServerName(), "SRV");
  EXPECT_EQ(GatherSessionInputs(records_, {"Srv", "3389", "u", ""}).password, "");
}

TEST_F(SessionInputsTest, MissingRecordOrPasswordGivesTheEmptyPassword) {
  EXPECT_EQ(GatherSessionInputs(records_, {"nopass", "1", "u", ""}).password, "");
  const SessionInputs gone = GatherSessionInputs(records_, {"127.0.0.9", "1", "u", "d"});
  EXPECT_EQ(gone.password, "");
  EXPECT_EQ(gone.host, "127.0.0.9");
  // A quote in the name is a value, not a piece of the statement.
  EXPECT_EQ(GatherSessionInputs(records_, {"x' or '1'='1", "1", "u", ""}).password, "");
}

using testing_support::ReadBytes;

TEST_F(SessionInputsTest, WrittenFileLandsInTheHistoryFolderMadeForIt) {
  const std::optional<SessionFile> file =
      WriteSessionFile(GatherSessionInputs(records_, {"127.0.0.1", "3389", "admin", ""}));
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->path, directory_.Path() + "\\History\\127.0.0.1.rdp");
  EXPECT_EQ(ReadBytes(directory_.NativePath("History/127.0.0.1.rdp")), file->content);
  EXPECT_EQ(file->modeSwitch, " /admin ");
}

TEST_F(SessionInputsTest, HostThatIsNoPlainFileNameIsRefusedBeforeWriting) {
  for (const char* host : {"..", "..\\x", "a/b", "what?"}) {
    EXPECT_FALSE(WriteSessionFile(SessionInputs{host, "1", "u", "", ""}).has_value()) << host;
  }
  EXPECT_FALSE(directory_.Contains("History"));
}

}  // namespace
}  // namespace lumora::launcher
