// Readers beside a writer: a reader sees the file before or after another writer's change, never
// in the middle of it, and a change a writer left cut short when it died is undone for a reader
// even while another program holds the file.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <optional>
#include <thread>

#include "platform/locked_file.h"
#include "services/db_connection.h"
#include "services/jet/change_journal.h"
#include "services/jet/database.h"
#include "services/jet/disk_writes.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing_support::ServerRow;

class JetReadersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testing::FileIn(directory_, "mstsc.mdb");
    ASSERT_TRUE(testing_support::CreateCatalogue(
        path_, {ServerRow("127.0.0.1"), ServerRow("127.0.0.2"), ServerRow("127.0.0.3")}));
    sound_ = testing::ReadWholeFile(path_);
  }
  void TearDown() override {
    testing::StopDiskWritesAfter(std::nullopt);
    testing::RunBeforeDiskOperation(0, nullptr);
  }

  // The rows a reader finds, or -1 when it cannot read the file or calls it damaged.
  int RowsSeen() const {
    const std::optional<Database> reader = Database::Open(path_);
    if (!reader || !reader->Check().Ok()) {
      return -1;
    }
    return static_cast<int>(reader->OpenTable("Server")->ReadAll().size());
  }

  // Whether a reader could start reading now, without waiting.
  bool ReaderGetsIn() const {
    const std::unique_ptr<platform::LockedFile> file =
        platform::OpenLockedFile(path_, platform::OpenMode::kRead);
    const bool in = file && file->LockChanges(false, false);
    if (in) {
      file->UnlockChanges();
    }
    return in;
  }

  static bool AddOne(Database& database) {
    return database.InsertRow("Server", {{"服务器名", Text("127.0.0.4")}});
  }

  testing_support::TempDirectory directory_;
  Text path_;
  Bytes sound_;
};

// At every disk operation of a commit, no reader gets in; between changes every reader does.
TEST_F(JetReadersTest, NoReaderGetsInWhileAChangeIsBroughtIntoTheFile) {
  bool reached = true;
  for (int operation = 0; reached; ++operation) {
    SCOPED_TRACE(operation);
    ASSERT_TRUE(testing::WriteWholeFile(path_, sound_));
    std::optional<Database> writer = Database::Open(path_, false);
    ASSERT_TRUE(writer.has_value());
    EXPECT_TRUE(ReaderGetsIn());
    reached = false;
    bool got_in = true;
    testing::RunBeforeDiskOperation(operation, [&] {
      reached = true;
      got_in = ReaderGetsIn();
    });
    ASSERT_TRUE(AddOne(*writer));
    testing::RunBeforeDiskOperation(0, nullptr);
    EXPECT_FALSE(reached && got_in);
    EXPECT_TRUE(ReaderGetsIn());
    EXPECT_EQ(RowsSeen(), 4);
  }
}

// A writer that died in the middle of its change left its journal; another program holds the
// file now, so nobody can play it back. Readers see the rows of before, and a second writer is
// told the file is in use, not that it is damaged.
TEST_F(JetReadersTest, ADeadWritersChangeIsUndoneForReadersWhileTheFileIsHeld) {
  int journals = 0;
  for (int cut = 0; cut < 40; ++cut) {
    SCOPED_TRACE(cut);
    ASSERT_TRUE(testing::WriteWholeFile(path_, sound_));
    {
      std::optional<Database> writer = Database::Open(path_, false);
      ASSERT_TRUE(writer.has_value());
      testing::StopDiskWritesAfter(cut, true);
      AddOne(*writer);
      testing::StopDiskWritesAfter(std::nullopt);
    }
    if (!directory_.Contains("mstsc.mdb-journal")) {
      continue;
    }
    ++journals;
    const std::unique_ptr<platform::LockedFile> other =
        platform::OpenLockedFile(path_, platform::OpenMode::kExisting);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(RowsSeen(), 3);
    services::DBConnection connection;
    ASSERT_TRUE(connection.OpenAccess(path_, ""));
    EXPECT_TRUE(connection.ReadOnly());
    EXPECT_FALSE(connection.Damaged());
    EXPECT_EQ(connection.Report().error, platform::FileError::kInUse);
    EXPECT_TRUE(directory_.Contains("mstsc.mdb-journal"));
  }
  EXPECT_GT(journals, 0);
}

#ifndef _WIN32
// The same with two processes: a writer caught in the middle of its commit in a child process; a
// reader in this one waits for it and then sees the whole change.
TEST_F(JetReadersTest, AReaderInAnotherProcessWaitsForTheCommit) {
  int paused[2];
  int resume[2];
  ASSERT_EQ(::pipe(paused), 0);
  ASSERT_EQ(::pipe(resume), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::optional<Database> writer = Database::Open(path_, false);
    testing::RunBeforeDiskOperation(5, [&] {
      char signal = 'p';
      if (::write(paused[1], &signal, 1) != 1 || ::read(resume[0], &signal, 1) != 1) {
        ::_exit(2);
      }
    });
    ::_exit(writer && AddOne(*writer) ? 0 : 1);
  }
  char signal = 0;
  ASSERT_EQ(::read(paused[0], &signal, 1), 1);
  EXPECT_FALSE(ReaderGetsIn());
  int seen = 0;
  std::thread reader([&] { seen = RowsSeen(); });
  ASSERT_EQ(::write(resume[1], &signal, 1), 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  reader.join();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(seen, 4);
  for (const int end : {paused[0], paused[1], resume[0], resume[1]}) {
    ::close(end);
  }
}
#endif

}  // namespace
}  // namespace lumora::jet
