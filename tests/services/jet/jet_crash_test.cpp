// Writes cut short at every point, as a crash or a power cut would leave them: after each disk
// operation of an add, a modify and a delete the engine is stopped (the write it stops in torn in
// half, or not written at all), and the next open must find every row of before (or the whole
// change), a file that passes the check, and room for the next add.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/files.h"
#include "platform/locked_file.h"
#include "services/jet/change_journal.h"
#include "services/jet/consistency_check.h"
#include "services/jet/database.h"
#include "services/jet/disk_writes.h"
#include "services/jet/jet_test_support.h"
#include "services/jet/jet_write_support.h"
#include "services/values/field_text.h"
#include "support/catalogue_file.h"
#include "support/temp_directory.h"

namespace lumora::jet {
namespace {

using testing_support::ServerRow;

// Every row of table Server as "name port password", in table order.
std::vector<std::string> StoredRows(const Database& database) {
  std::vector<std::string> rows;
  const std::optional<TableReader> table = database.OpenTable("Server");
  if (!table) {
    return rows;
  }
  const std::optional<std::size_t> name = table->FindColumn("服务器名");
  const std::optional<std::size_t> port = table->FindColumn("端口");
  const std::optional<std::size_t> password = table->FindColumn("密码");
  for (const Row& row : table->ReadAll()) {
    rows.push_back(FieldToText(row.values[*name]) + " " + FieldToText(row.values[*port]) + " " +
                   FieldToText(row.values[*password]));
  }
  return rows;
}

std::optional<RowId> RowNamed(const Database& database, const std::string& wanted) {
  const std::optional<TableReader> table = database.OpenTable("Server");
  const std::optional<std::size_t> name = table->FindColumn("服务器名");
  for (const Row& row : table->ReadAll()) {
    if (FieldToText(row.values[*name]) == wanted) {
      return row.id;
    }
  }
  return std::nullopt;
}

struct Change {
  const char* name;
  std::function<bool(Database&)> write;
  std::vector<std::string> after;
};

const std::vector<std::string> kBefore = {"127.0.0.1 3389 one", "127.0.0.2 3389 two",
                                          "127.0.0.3 3389 three"};

std::vector<Change> Changes() {
  return {
      {"add",
       [](Database& database) {
         return database.InsertRow("Server",
                                   {{"服务器名", "127.0.0.4"}, {"端口", "3389"}, {"密码", "four"}});
       },
       {"127.0.0.1 3389 one", "127.0.0.2 3389 two", "127.0.0.3 3389 three", "127.0.0.4 3389 four"}},
      // Longer than before: the row cannot stay where it was.
      {"modify",
       [](Database& database) {
         const std::optional<RowId> row = RowNamed(database, "127.0.0.2");
         return row && database.UpdateRow("Server", *row,
                                          {{"服务器名", "127.0.0.2.a-much-longer-name.lan"},
                                           {"密码", std::string(200, 'p')}});
       },
       {"127.0.0.1 3389 one", "127.0.0.2.a-much-longer-name.lan 3389 " + std::string(200, 'p'),
        "127.0.0.3 3389 three"}},
      {"delete",
       [](Database& database) {
         const std::optional<RowId> row = RowNamed(database, "127.0.0.1");
         return row && database.DeleteRow("Server", *row);
       },
       {"127.0.0.2 3389 two", "127.0.0.3 3389 three"}},
  };
}

// Which change, and whether the last write before the stop is torn in the middle, as a power cut
// leaves a page.
class JetCrashTest : public ::testing::TestWithParam<std::tuple<std::size_t, bool>> {
 protected:
  void TearDown() override { testing::StopDiskWritesAfter(std::nullopt); }
};

TEST_P(JetCrashTest, AChangeCutAfterAnyDiskOperationIsWhollyThereOrWhollyGone) {
  const auto [which, tear] = GetParam();
  const Change change = Changes()[which];
  SCOPED_TRACE(std::string(change.name) + (tear ? ", torn" : ""));
  bool completed = false;
  for (int cut = 0; cut < 200 && !completed; ++cut) {
    SCOPED_TRACE(cut);
    testing_support::TempDirectory directory;
    const Text path = testing::FileIn(directory, "mstsc.mdb");
    ASSERT_TRUE(
        testing_support::CreateCatalogue(path, {ServerRow("127.0.0.1", "3389", "admin", "one"),
                                                ServerRow("127.0.0.2", "3389", "admin", "two"),
                                                ServerRow("127.0.0.3", "3389", "admin", "three")}));
    bool written = false;
    {
      std::optional<Database> database = Database::Open(path, false);
      ASSERT_TRUE(database.has_value());
      testing::StopDiskWritesAfter(cut, tear);
      written = change.write(*database);
      testing::StopDiskWritesAfter(std::nullopt);
    }  // the process "dies" here: nothing more is written
    completed = written;
    // The next start finds the file as the change left it, and the journal beside it.
    std::optional<Database> reopened = Database::Open(path, false);
    ASSERT_TRUE(reopened.has_value());
    EXPECT_FALSE(directory.Contains("mstsc.mdb-journal"));
    EXPECT_EQ(StoredRows(*reopened), written ? change.after : kBefore);
    const CheckReport report = reopened->Check();
    EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
    // No stale counter or half-made index entry refuses the next add.
    EXPECT_TRUE(reopened->InsertRow("Server", {{"服务器名", "127.0.0.9"}}));
    reopened.reset();
    if (const std::optional<std::string> csv = testing::MdbExport(path, "Server")) {
      EXPECT_EQ(testing::Occurrences(*csv, "\n"), (written ? change.after : kBefore).size() + 2);
    }
  }
  EXPECT_TRUE(completed) << "the change never completed";
}

INSTANTIATE_TEST_SUITE_P(AddModifyDelete, JetCrashTest,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Bool()));

// Runs `change` on the catalogue `path` put back to `before`, with no journal beside it, stopped
// after `allowed` disk operations (none: whole).
void RunCut(const Change& change, const Text& path, const Bytes& before,
            std::optional<int> allowed) {
  ASSERT_TRUE(testing::WriteWholeFile(path, before));
  std::remove(JournalPath(path).c_str());
  std::optional<Database> database = Database::Open(path, false);
  ASSERT_TRUE(database.has_value());
  testing::StopDiskWritesAfter(allowed);
  change.write(*database);
  testing::StopDiskWritesAfter(std::nullopt);
}

// The journal of `change` as it stands once it is durable: the last stop that leaves the file
// untouched.
Bytes DurableJournal(const Change& change, const Text& path, const Bytes& before) {
  Bytes journal;
  for (int allowed = 0; allowed < 20; ++allowed) {
    RunCut(change, path, before, allowed);
    if (testing::ReadWholeFile(path) != before) {
      break;
    }
    journal = testing::ReadWholeFile(JournalPath(path));
  }
  return journal;
}

// A power cut may leave the writes since the last flush in any order: any of a change's page
// writes may have landed, whole or torn, while the others did not. The journal was flushed before
// the first of them, so the next open puts back what was there before.
class JetPowerCutTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  void TearDown() override { testing::StopDiskWritesAfter(std::nullopt); }
};

TEST_P(JetPowerCutTest, AnyMixOfAChangesPageWritesIsUndoneByItsJournal) {
  const Change change = Changes()[GetParam()];
  SCOPED_TRACE(change.name);
  testing_support::TempDirectory directory;
  const Text path = testing::FileIn(directory, "mstsc.mdb");
  ASSERT_TRUE(
      testing_support::CreateCatalogue(path, {ServerRow("127.0.0.1", "3389", "admin", "one"),
                                              ServerRow("127.0.0.2", "3389", "admin", "two"),
                                              ServerRow("127.0.0.3", "3389", "admin", "three")}));
  const Bytes before = testing::ReadWholeFile(path);
  Bytes flushedJournal;
  ASSERT_NO_FATAL_FAILURE(flushedJournal = DurableJournal(change, path, before));
  ASSERT_FALSE(flushedJournal.empty());
  ASSERT_NO_FATAL_FAILURE(RunCut(change, path, before, std::nullopt));
  const Bytes after = testing::ReadWholeFile(path);
  ASSERT_NE(after, before);

  constexpr std::size_t kPage = 4096;
  std::vector<std::size_t> changed;
  for (std::size_t page = 0; page * kPage < std::max(before.size(), after.size()); ++page) {
    const auto part = [&](const Bytes& bytes) {
      return page * kPage < bytes.size()
                 ? Bytes(bytes.begin() + page * kPage,
                         bytes.begin() + std::min(bytes.size(), (page + 1) * kPage))
                 : Bytes();
    };
    if (part(before) != part(after)) {
      changed.push_back(page);
    }
  }
  ASSERT_FALSE(changed.empty());
  std::mt19937 random(20261209 + GetParam());
  for (int trial = 0; trial < 40; ++trial) {
    SCOPED_TRACE(trial);
    Bytes state = before;
    for (const std::size_t page : changed) {
      const unsigned landed = random() % 3;  // not at all, whole, or its first half only
      if (landed == 0 || page * kPage >= after.size()) {
        continue;
      }
      const std::size_t end = landed == 1 ? (page + 1) * kPage : page * kPage + kPage / 2;
      if (state.size() < end) {
        state.resize(end, 0);
      }
      std::copy(after.begin() + page * kPage, after.begin() + std::min(end, after.size()),
                state.begin() + page * kPage);
    }
    ASSERT_TRUE(testing::WriteWholeFile(path, state));
    ASSERT_TRUE(testing::WriteWholeFile(JournalPath(path), flushedJournal));
    std::optional<Database> reopened = Database::Open(path, false);
    ASSERT_TRUE(reopened.has_value());
    EXPECT_FALSE(directory.Contains("mstsc.mdb-journal"));
    EXPECT_EQ(StoredRows(*reopened), kBefore);
    EXPECT_TRUE(reopened->Check().Ok());
    EXPECT_TRUE(reopened->InsertRow("Server", {{"服务器名", "127.0.0.9"}}));
  }
}

INSTANTIATE_TEST_SUITE_P(AddModifyDelete, JetPowerCutTest, ::testing::Values(0, 1, 2));

TEST(JetJournal, ATornJournalIsRemovedAndTheFileUsedAsItIs) {
  testing_support::TempDirectory directory;
  const Text path = testing::FileIn(directory, "mstsc.mdb");
  ASSERT_TRUE(testing_support::CreateCatalogue(path, {ServerRow("127.0.0.1")}));
  // A journal whose writing was cut: its checksum cannot hold.
  ASSERT_TRUE(testing::WriteWholeFile(directory.NativePath("mstsc.mdb-journal"),
                                      Bytes{'L', 'u', 'm', 'o', 'r', 'a', 'J', '1', 0, 0}));
  std::optional<Database> database = Database::Open(path, true);
  ASSERT_TRUE(database.has_value());
  EXPECT_EQ(StoredRows(*database).size(), 1u);
  EXPECT_FALSE(directory.Contains("mstsc.mdb-journal"));
}

// A journal that holds together but for one byte (its checksum fails) is never played back:
// played back, its flipped byte would land in the file.
TEST(JetJournal, AJournalWhoseChecksumFailsIsNotPlayedBack) {
  testing_support::TempDirectory directory;
  const Text path = testing::FileIn(directory, "mstsc.mdb");
  ASSERT_TRUE(testing_support::CreateCatalogue(path, {ServerRow("127.0.0.1")}));
  const Bytes before = testing::ReadWholeFile(path);
  Bytes journal;
  ASSERT_NO_FATAL_FAILURE(journal = DurableJournal(Changes()[0], path, before));
  ASSERT_GT(journal.size(), 40u);
  journal[32] ^= 0xFF;  // the first original byte of the first range
  ASSERT_TRUE(testing::WriteWholeFile(path, before));
  ASSERT_TRUE(testing::WriteWholeFile(JournalPath(path), journal));
  EXPECT_TRUE(Database::Open(path, true).has_value());
  EXPECT_EQ(testing::ReadWholeFile(path), before);
}

// The files a user may put in place of the catalogue while a journal of it lies beside it: a
// backup of it from before its third server, one from another computer, and an empty one made
// anew (in the same second, so that even its header page may equal the old file's).
std::vector<std::pair<const char*, Bytes>> ReplacementFiles() {
  testing_support::TempDirectory elsewhere;
  const Text backup = testing::FileIn(elsewhere, "backup.mdb");
  const Text other = testing::FileIn(elsewhere, "other.mdb");
  const Text empty = testing::FileIn(elsewhere, "empty.mdb");
  EXPECT_TRUE(
      testing_support::CreateCatalogue(backup, {ServerRow("127.0.0.1", "3389", "admin", "one"),
                                                ServerRow("127.0.0.2", "3389", "admin", "two")}));
  EXPECT_TRUE(testing_support::CreateCatalogue(
      other, {ServerRow("10.1.1.1", "3390", "root", "x"), ServerRow("10.1.1.2"),
              ServerRow("10.1.1.3"), ServerRow("10.1.1.4")}));
  EXPECT_TRUE(Database::Create(empty));
  return {{"backup", testing::ReadWholeFile(backup)},
          {"other", testing::ReadWholeFile(other)},
          {"empty", testing::ReadWholeFile(empty)}};
}

// After a change cut short at any point, the user puts another file in the catalogue's place:
// neither a reader nor a writer changes a byte of it, and the journal does not stay under its
// name to be played onto a later file.
TEST_P(JetCrashTest, AFilePutInPlaceOfTheCutShortOneIsLeftAsItWasPutThere) {
  const auto [which, tear] = GetParam();
  const Change change = Changes()[which];
  SCOPED_TRACE(std::string(change.name) + (tear ? ", torn" : ""));
  const std::vector<std::pair<const char*, Bytes>> replacements = ReplacementFiles();
  testing_support::TempDirectory directory;
  const Text path = testing::FileIn(directory, "mstsc.mdb");
  ASSERT_TRUE(
      testing_support::CreateCatalogue(path, {ServerRow("127.0.0.1", "3389", "admin", "one"),
                                              ServerRow("127.0.0.2", "3389", "admin", "two"),
                                              ServerRow("127.0.0.3", "3389", "admin", "three")}));
  const Bytes before = testing::ReadWholeFile(path);
  int journals = 0;
  for (int cut = 0; cut < 200; ++cut) {
    SCOPED_TRACE(cut);
    ASSERT_TRUE(testing::WriteWholeFile(path, before));
    bool written = false;
    {
      std::optional<Database> database = Database::Open(path, false);
      ASSERT_TRUE(database.has_value());
      testing::StopDiskWritesAfter(cut, tear);
      written = change.write(*database);
      testing::StopDiskWritesAfter(std::nullopt);
    }
    const Bytes journal = testing::ReadWholeFile(JournalPath(path));
    if (written) {
      break;
    }
    journals += journal.empty() ? 0 : 1;
    for (const auto& [kind, bytes] : replacements) {
      SCOPED_TRACE(kind);
      for (const bool read_only : {true, false}) {
        ASSERT_TRUE(testing::WriteWholeFile(path, bytes));
        if (!journal.empty()) {
          ASSERT_TRUE(testing::WriteWholeFile(JournalPath(path), journal));
        }
        OpenReport report;
        EXPECT_TRUE(Database::Open(path, read_only, &report).has_value());
        EXPECT_EQ(testing::ReadWholeFile(path), bytes);
        EXPECT_FALSE(directory.Contains("mstsc.mdb-journal"));
        if (report.journal.kind == JournalOutcome::Kind::kSetAside) {
          EXPECT_EQ(testing::ReadWholeFile(report.journal.set_aside_as), journal);
          std::remove(report.journal.set_aside_as.c_str());
        }
      }
    }
    // Deleted, and a new one created in its place.
    std::remove(path.c_str());
    if (!journal.empty()) {
      ASSERT_TRUE(testing::WriteWholeFile(JournalPath(path), journal));
    }
    OpenReport created;
    ASSERT_TRUE(Database::Create(path, nullptr, &created));
    const Bytes fresh = testing::ReadWholeFile(path);
    EXPECT_TRUE(Database::Open(path, false).has_value());
    EXPECT_EQ(testing::ReadWholeFile(path), fresh);
    EXPECT_FALSE(directory.Contains("mstsc.mdb-journal"));
    EXPECT_EQ(created.journal.kind == JournalOutcome::Kind::kSetAside, !journal.empty());
    std::remove(created.journal.set_aside_as.c_str());
  }
  EXPECT_GT(journals, 0) << "no cut point left a journal";
}

// A journal's bytes with a valid checksum around `body` (everything after the magic).
Bytes SealedJournal(const Bytes& body) {
  Bytes journal = {'L', 'u', 'm', 'o', 'r', 'a', 'J', '2'};
  journal.insert(journal.end(), body.begin(), body.end());
  std::uint64_t hash = 14695981039346656037ull;
  for (const std::uint8_t byte : journal) {
    hash = (hash ^ byte) * 1099511628211ull;
  }
  for (int i = 0; i < 8; ++i) {
    journal.push_back(static_cast<std::uint8_t>(hash >> (8 * i)));
  }
  return journal;
}

Bytes Numbers(std::initializer_list<std::pair<std::uint64_t, int>> numbers) {
  Bytes bytes;
  for (const auto& [value, size] : numbers) {
    for (int i = 0; i < size; ++i) {
      bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
  }
  return bytes;
}

// Journals nobody's change left, each whole with a valid checksum: opening the file for reading
// or writing never changes a byte of it.
TEST(JetJournal, CraftedJournalsNeverChangeTheFile) {
  testing_support::TempDirectory directory;
  const Text path = testing::FileIn(directory, "mstsc.mdb");
  ASSERT_TRUE(testing_support::CreateCatalogue(
      path, {ServerRow("127.0.0.1", "3389", "a", "one"), ServerRow("127.0.0.2")}));
  const Bytes file = testing::ReadWholeFile(path);
  // A real journal of this file's next change, made against a copy that differs in one byte.
  Bytes altered = file;
  altered[9 * 4096 + 16] ^= 1;
  const Text copy = testing::FileIn(directory, "copy.mdb");
  ASSERT_TRUE(testing::WriteWholeFile(copy, altered));
  {
    const std::unique_ptr<platform::LockedFile> locked =
        platform::OpenLockedFile(copy, platform::OpenMode::kExisting);
    ASSERT_NE(locked, nullptr);
    ASSERT_TRUE(WriteJournal(JournalPath(copy), *locked, {{9 * 4096, Bytes(4096, 7)}}));
  }
  std::mt19937 random(29);
  Bytes noise(300);
  for (std::uint8_t& byte : noise) {
    byte = static_cast<std::uint8_t>(random());
  }
  const std::vector<std::pair<const char*, Bytes>> journals = {
      // The 28 bytes that emptied a catalogue: size 0, no ranges.
      {"empty file", SealedJournal(Numbers({{0, 8}, {0, 8}, {0, 8}, {0, 4}}))},
      {"old size only", SealedJournal(Numbers({{4096, 8}, {4096, 8}, {0, 8}, {0, 4}}))},
      {"range past the end", SealedJournal(Numbers({{file.size(), 8},
                                                    {file.size(), 8},
                                                    {0, 8},
                                                    {1, 4},
                                                    {file.size() + 4096, 8},
                                                    {4096, 4},
                                                    {0, 4}}))},
      {"noise", SealedJournal(noise)},
      {"another file's", testing::ReadWholeFile(JournalPath(copy))},
  };
  for (const auto& [name, journal] : journals) {
    for (const bool read_only : {true, false}) {
      SCOPED_TRACE(std::string(name) + (read_only ? ", reading" : ", writing"));
      ASSERT_TRUE(testing::WriteWholeFile(JournalPath(path), journal));
      const std::optional<Database> database = Database::Open(path, read_only);
      ASSERT_TRUE(database.has_value());
      EXPECT_EQ(StoredRows(*database).size(), 2u);
      EXPECT_EQ(testing::ReadWholeFile(path), file);
      EXPECT_FALSE(directory.Contains("mstsc.mdb-journal"));
      for (const std::string& kept : platform::FindFiles(path + "-journal.*")) {
        std::remove(directory.NativePath(kept).c_str());
      }
    }
  }
}

// A journal the engine can neither play back nor move away (here a folder under its name) keeps
// the file from being written, and the open says so instead of blaming another program.
TEST(JetJournal, AJournalThatCannotBeDealtWithIsReportedAndTheFileStillRead) {
  testing_support::TempDirectory directory;
  const Text path = testing::FileIn(directory, "mstsc.mdb");
  ASSERT_TRUE(testing_support::CreateCatalogue(path, {ServerRow("127.0.0.1")}));
  ASSERT_TRUE(platform::CreateFolder(JournalPath(path)));
  ASSERT_TRUE(platform::CreateFolder(JournalPath(path) + "/inside"));
  OpenReport report;
  EXPECT_FALSE(Database::Open(path, false, &report).has_value());
  EXPECT_EQ(report.journal.kind, JournalOutcome::Kind::kStuck);
  const std::optional<Database> reader = Database::Open(path, true);
  ASSERT_TRUE(reader.has_value());
  EXPECT_EQ(StoredRows(*reader).size(), 1u);
}

}  // namespace
}  // namespace lumora::jet
