// The file-system port on the real file system of the platform.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/test_paths.h"

namespace ph {
namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  std::string Path(std::initializer_list<const char*> parts) {
    std::string p = root_;
    for (const char* part : parts) p += kPathSeparator + std::string(part);
    return p;
  }
  std::string root_ = test::MakeScratchDir("fs");
  std::unique_ptr<FileSystem> fs_ = MakeSystemFileSystem();
};

TEST_F(FileSystemTest, MakeFoldersBuildsEveryFolderUpToTheLastComponentOnly) {
  const std::string file = Path({"a", "b", "c", "file.txt"});
  EXPECT_TRUE(fs_->MakeFolders(file));
  EXPECT_TRUE(fs_->Exists(Path({"a", "b", "c"})));
  EXPECT_FALSE(fs_->Exists(file));
  EXPECT_TRUE(fs_->MakeFolders(file));  // all there already
}

TEST_F(FileSystemTest, MakeFoldersStopsAtAFileInTheWay) {
  *fs_->OpenWrite(Path({"blocker"}), false) << "x";
  EXPECT_FALSE(fs_->MakeFolders(Path({"blocker", "sub", "file.txt"})));
}

TEST_F(FileSystemTest, WritesReplaceOrAppendAndReadBackByteForByte) {
  const std::string file = Path({"data.bin"});
  {
    auto out = fs_->OpenWrite(file, false);
    ASSERT_NE(out, nullptr);
    *out << "one\r\n" << std::string(1, '\0') << "\n";
  }
  { *fs_->OpenWrite(file, true) << "two"; }
  auto data = fs_->ReadAll(file, 1024);
  ASSERT_TRUE(data.has_value());
  EXPECT_EQ(std::string(data->begin(), data->end()), std::string("one\r\n\0\ntwo", 10));
  { *fs_->OpenWrite(file, false) << "new"; }
  EXPECT_EQ(fs_->ReadAll(file, 1024)->size(), 3u);
  // Over the bound, or missing: nothing.
  EXPECT_FALSE(fs_->ReadAll(file, 2).has_value());
  EXPECT_FALSE(fs_->ReadAll(Path({"missing"}), 1024).has_value());
  EXPECT_EQ(fs_->OpenWrite(Path({"no", "such", "folder", "f"}), false), nullptr);
}

TEST_F(FileSystemTest, WriteWholeFileReplacesTheFileAndSaysWhenItCannot) {
  const std::string file = Path({"whole.bin"});
  { *fs_->OpenWrite(file, false) << "a longer text than what replaces it"; }
  const Bytes bytes = {'x', 0, '\r', '\n'};
  EXPECT_TRUE(WriteWholeFile(*fs_, file, bytes));
  EXPECT_EQ(fs_->ReadAll(file, 1024), bytes);
  EXPECT_FALSE(WriteWholeFile(*fs_, Path({"no", "such", "folder", "f"}), bytes));
}

// The machine's file system, except that putting a finished file in place fails.
class ReplaceRefused : public FileSystem {
 public:
  explicit ReplaceRefused(FileSystem& inner) : inner_(inner) {}
  bool Exists(const std::string& p) override { return inner_.Exists(p); }
  bool MakeFolders(const std::string& p) override { return inner_.MakeFolders(p); }
  void RemoveTree(const std::string& p) override { inner_.RemoveTree(p); }
  bool RemoveFile(const std::string& p) override { return inner_.RemoveFile(p); }
  bool MoveReplacing(const std::string&, const std::string&) override { return false; }
  std::string ModuleFolder() override { return inner_.ModuleFolder(); }
  std::unique_ptr<std::ostream> OpenWrite(const std::string& p, bool append) override {
    return inner_.OpenWrite(p, append);
  }
  std::optional<Bytes> ReadAll(const std::string& p, std::size_t max) override { return inner_.ReadAll(p, max); }
  std::optional<std::uint64_t> FileSize(const std::string& p) override { return inner_.FileSize(p); }
  bool Truncate(const std::string& p, std::uint64_t size) override { return inner_.Truncate(p, size); }

 private:
  FileSystem& inner_;
};

TEST_F(FileSystemTest, AWholeFileWriteThatCannotFinishLeavesTheOldFileAndNoLeftovers) {
  const std::string file = Path({"layouts.dat"});
  { *fs_->OpenWrite(file, false) << "old"; }
  ReplaceRefused refusing(*fs_);
  EXPECT_FALSE(WriteWholeFile(refusing, file, Bytes(1000, 'n')));
  EXPECT_EQ(fs_->ReadAll(file, 1024), (Bytes{'o', 'l', 'd'}));
  std::size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(root_)) entries += entry.path() != file;
  EXPECT_EQ(entries, 0u);
}

TEST_F(FileSystemTest, RemoveTreeDeletesNestedFilesAndFolders) {
  const std::string top = Path({"tree"});
  fs_->MakeFolders(Path({"tree", "x", "y", "f"}));
  *fs_->OpenWrite(Path({"tree", "x", "y", "f"}), false) << "1";
  *fs_->OpenWrite(Path({"tree", "g"}), false) << "2";
  fs_->RemoveTree(top);
  EXPECT_FALSE(fs_->Exists(top));
  fs_->RemoveTree(top);  // gone already: no complaint
  EXPECT_TRUE(fs_->RemoveFile(Path({"tree"})) == false);
}

TEST_F(FileSystemTest, ModuleFolderEndsWithASeparatorAndCanBeOverridden) {
  const std::string folder = fs_->ModuleFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), kPathSeparator);
  EXPECT_TRUE(fs_->Exists(folder.substr(0, folder.size() - 1)));
  auto moved = MakeSystemFileSystem(root_);
  EXPECT_EQ(ModuleFolderFile(*moved, "actions.dat"), root_ + kPathSeparator + "actions.dat");
}

TEST(Paths, FolderAndFileNameSplitAtTheLastSeparator) {
  const std::string sep(1, kPathSeparator);
  EXPECT_EQ(FolderOfPath("a" + sep + "b" + sep + "c.txt"), "a" + sep + "b");
  EXPECT_EQ(FileNameOfPath("a" + sep + "b" + sep + "c.txt"), "c.txt");
  EXPECT_EQ(FolderOfPath("plain.txt"), "plain.txt");
  EXPECT_EQ(FileNameOfPath("plain.txt"), "plain.txt");
  EXPECT_EQ(FileNameOfPath("dir" + sep), "");
}

}  // namespace
}  // namespace ph
