// "actions.dat" byte for byte, and what the reader makes of damaged files.
#include "controller/intake/actions_file.h"

#include <gtest/gtest.h>

#include "common/le_io.h"
#include "tests/controller/intake/intake_fakes.h"

namespace ph {
namespace {

ActionTable Parse(const Bytes& bytes) {
  ActionTable table;
  ParseActions(bytes.data(), bytes.size(), &table);
  return table;
}

Bytes Record(std::int32_t id, std::int32_t kind, std::int32_t portion, std::string_view folder) {
  ByteWriter w;
  w.I32(id);
  w.I32(kind);
  w.I32(portion);
  w.String(folder);
  return w.Take();
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const Bytes kEnd = {0, 0, 0, 0};

TEST(ActionsFile, EmptyTableIsFourZeroBytes) {
  EXPECT_EQ(SerializeActions({}), kEnd);
  EXPECT_TRUE(Parse(kEnd).empty());
}

TEST(ActionsFile, OneEntryIsTwentyFiveBytes) {
  const Bytes bytes = SerializeActions({{7, {kOutputText, kPortionText, "C:\\ab"}}});
  const Bytes expected = {7, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0,
                          'C', ':', '\\', 'a', 'b', 0, 0, 0, 0};
  EXPECT_EQ(bytes, expected);
}

TEST(ActionsFile, RecordsAreWrittenInAscendingIdOrderAndReadBack) {
  const ActionTable table = {{42, {kOutputClipboard, kPortionHtml, ""}},
                             {-3, {kOutputDatabase, kPortionAuto, ""}},
                             {5, {kOutputHtml, kPortionAuto, "D:\\pages"}}};
  const Bytes bytes = SerializeActions(table);
  EXPECT_EQ(bytes, Join({Record(-3, 4, 0, ""), Record(5, 2, 0, "D:\\pages"), Record(42, 3, 1, ""), kEnd}));
  EXPECT_EQ(Parse(bytes), table);
}

TEST(ActionsFile, AnEntryUnderIdZeroIsNotWrittenSinceItWouldEndTheFile) {
  const Bytes bytes = SerializeActions({{0, {kOutputText, 0, "x"}}, {1, {kOutputClipboard, 0, ""}}});
  EXPECT_EQ(Parse(bytes), (ActionTable{{1, {kOutputClipboard, 0, ""}}}));
}

TEST(ActionsFile, ReadingStopsAtTheFirstZeroIdWhateverFollows) {
  EXPECT_TRUE(Parse(Join({kEnd, Record(9, 1, 1, "x"), kEnd})).empty());
  EXPECT_EQ(Parse(Join({Record(9, 1, 1, "x"), kEnd, Record(10, 3, 0, ""), kEnd})).size(), 1u);
}

TEST(ActionsFile, FileWithoutTerminatorKeepsEveryWholeRecord) {
  const ActionTable table = Parse(Join({Record(1, 3, 2, ""), Record(2, 0, 1, "f")}));
  EXPECT_EQ(table, (ActionTable{{1, {3, 2, ""}}, {2, {0, 1, "f"}}}));
}

TEST(ActionsFile, ZeroByteInFolderEndsTheStringButNotTheRecord) {
  const ActionTable table =
      Parse(Join({Record(1, 0, 0, std::string("ab\0cd", 5)), Record(2, 3, 0, ""), kEnd}));
  EXPECT_EQ(table.at(1).folder, "ab");
  EXPECT_EQ(table.at(2).kind, 3);
}

TEST(ActionsFile, LaterRecordOfTheSameIdReplacesTheEarlierOne) {
  const ActionTable table = Parse(Join({Record(4, 0, 2, "old"), Record(4, 3, 0, ""), kEnd}));
  EXPECT_EQ(table.at(4), (LayoutAction{3, 0, ""}));
}

TEST(ActionsFile, DamagedLengthsNeverReadPastTheData) {
  // A folder length of 2^32-1 with only a few bytes behind it: the whole records before it stay,
  // the damaged one keeps its numbers and no folder.
  Bytes damaged = Join({Record(1, 3, 0, ""), Record(2, 0, 2, "")});
  damaged.resize(damaged.size() - 4);
  damaged.insert(damaged.end(), {0xFF, 0xFF, 0xFF, 0xFF, 'C', ':'});
  EXPECT_EQ(Parse(damaged), (ActionTable{{1, {3, 0, ""}}, {2, {0, 2, ""}}}));

  // Cut inside the numbers: the fields read in full are kept.
  const Bytes whole = Record(6, 2, 1, "folder");
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const ActionTable table = Parse(Bytes(whole.begin(), whole.begin() + size));
    if (size < 4) {
      EXPECT_TRUE(table.empty()) << size;
      continue;
    }
    ASSERT_EQ(table.count(6), 1u) << size;
    EXPECT_EQ(table.at(6).kind, size >= 8 ? 2 : 0) << size;
    EXPECT_EQ(table.at(6).portion, size >= 12 ? 1 : 0) << size;
    EXPECT_EQ(table.at(6).folder, "") << size;
  }
}

TEST(ActionsFile, LoadAndSaveGoThroughTheFileSystem) {
  test::MemoryFileSystem fs;
  const ActionTable table = {{3, {kOutputXml, kPortionHtml, "/data"}}};
  SaveActions(fs, "/app/actions.dat", table);
  EXPECT_EQ(fs.files.at("/app/actions.dat"), SerializeActions(table));

  ActionTable loaded;
  LoadActions(fs, "/app/actions.dat", &loaded);
  EXPECT_EQ(loaded, table);

  // Rewriting replaces the old file instead of appending to it.
  SaveActions(fs, "/app/actions.dat", {});
  EXPECT_EQ(fs.files.at("/app/actions.dat"), kEnd);
}

TEST(ActionsFile, MissingUnwritableOrOversizedFilesAreSilent) {
  test::MemoryFileSystem fs;
  ActionTable table = {{1, {kOutputClipboard, 0, ""}}};
  LoadActions(fs, "/app/actions.dat", &table);
  EXPECT_EQ(table.size(), 1u);

  fs.files["/app/actions.dat"] = Bytes(kMaxActionsFileSize + 1, 1);
  LoadActions(fs, "/app/actions.dat", &table);
  EXPECT_EQ(table.size(), 1u);

  fs.refuse_writes = true;
  SaveActions(fs, "/app/other.dat", table);
  EXPECT_EQ(fs.files.count("/app/other.dat"), 0u);
}

}  // namespace
}  // namespace ph
