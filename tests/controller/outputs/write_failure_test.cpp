// Writes that fail after their file was opened: reported with the reason, and no file left half written.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <streambuf>

#include "controller/outputs/html_file_writer.h"
#include "controller/outputs/text_file_writer.h"
#include "tests/controller/outputs/outputs_fixture.h"

namespace ph {
namespace {

// The machine's file system on a disk with room for only so many more bytes.
class NearlyFullDisk : public FileSystem {
 public:
  NearlyFullDisk(FileSystem& inner, std::size_t room) : inner_(inner), room_(room) {}
  bool Exists(const std::string& p) override { return inner_.Exists(p); }
  bool MakeFolders(const std::string& p) override { return inner_.MakeFolders(p); }
  void RemoveTree(const std::string& p) override { inner_.RemoveTree(p); }
  bool RemoveFile(const std::string& p) override { return inner_.RemoveFile(p); }
  bool MoveReplacing(const std::string& f, const std::string& t) override { return inner_.MoveReplacing(f, t); }
  std::string ModuleFolder() override { return inner_.ModuleFolder(); }
  std::optional<Bytes> ReadAll(const std::string& p, std::size_t max) override { return inner_.ReadAll(p, max); }
  std::optional<std::uint64_t> FileSize(const std::string& p) override { return inner_.FileSize(p); }
  bool Truncate(const std::string& p, std::uint64_t size) override { return inner_.Truncate(p, size); }
  std::unique_ptr<std::ostream> OpenWrite(const std::string& p, bool append) override {
    std::unique_ptr<std::ostream> file = inner_.OpenWrite(p, append);
    if (!file) return nullptr;
    return std::make_unique<Limited>(std::move(file), &room_);
  }

 private:
  // Passes bytes on while there is room, then fails as a full disk does.
  class Limited : public std::ostream, private std::streambuf {
   public:
    Limited(std::unique_ptr<std::ostream> file, std::size_t* room)
        : std::ostream(static_cast<std::streambuf*>(this)), file_(std::move(file)), room_(room) {}

   private:
    using Traits = std::streambuf::traits_type;
    std::streambuf::int_type overflow(std::streambuf::int_type c) override {
      if (Traits::eq_int_type(c, Traits::eof())) return Traits::not_eof(c);
      if (*room_ == 0) {
        errno = ENOSPC;
        return Traits::eof();
      }
      --*room_;
      file_->put(Traits::to_char_type(c));
      file_->flush();
      return c;
    }
    std::unique_ptr<std::ostream> file_;
    std::size_t* room_;
  };

  FileSystem& inner_;
  std::size_t room_;
};

class WriteFailure : public test::OutputsTest {
 protected:
  OutputContext Content(const std::string& name) {
    OutputContext c;
    c.text = std::string(5000, 't');
    c.html = "<p>" + std::string(5000, 'h') + "</p>";
    c.path = Path(name);
    return c;
  }
  OutputPorts FullPorts() {
    return OutputPorts{settings_, disk_, *urls_, *fetcher_, clipboard_, *xml_, clock_, user_, code_page_, diagnostics_};
  }
  std::size_t EntriesInFolder() {
    std::size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) n += !entry.path().empty();
    return n;
  }
  NearlyFullDisk disk_{*files_, 1000};
};

TEST_F(WriteFailure, ATextFileThatDoesNotFitIsReportedWithTheReasonAndTheOldFileStays) {
  WriteFile(Path("out.txt"), "kept");
  OutputPorts ports = FullPorts();
  EXPECT_EQ(WriteTextFile(Content("out.txt"), ports), 0);
  EXPECT_EQ(ReadFile(Path("out.txt")), "kept");
  EXPECT_EQ(EntriesInFolder(), 1u);
  const Message m = OnlyMessage();
  EXPECT_NE(m.text.find("Failure to write file"), std::string::npos);
  EXPECT_NE(m.text.find(Path("out.txt")), std::string::npos);
  EXPECT_NE(m.text.find(std::strerror(ENOSPC)), std::string::npos);
  EXPECT_EQ(m.caption, "Error");
}

TEST_F(WriteFailure, AnAppendThatDoesNotFitLeavesNoHalfRecord) {
  settings_.append_files = 1;
  WriteFile(Path("log.txt"), "first record\r\n");
  OutputPorts ports = FullPorts();
  EXPECT_EQ(WriteTextFile(Content("log.txt"), ports), 0);
  EXPECT_EQ(ReadFile(Path("log.txt")), "first record\r\n");
}

TEST_F(WriteFailure, AnHtmlPageThatDoesNotFitLeavesNoPartialPage) {
  OutputPorts ports = FullPorts();
  EXPECT_EQ(WriteHtmlFile(Content("page.htm"), ports), 0);
  EXPECT_FALSE(Exists(Path("page.htm")));
  EXPECT_EQ(EntriesInFolder(), 0u);
  EXPECT_EQ(user_.messages().size(), 1u);
}

}  // namespace
}  // namespace ph
