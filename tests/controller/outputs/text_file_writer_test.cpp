// Text files: the header, appending with a blank line, the portion, byte-exact content.
#include "controller/outputs/text_file_writer.h"

#include "tests/controller/outputs/outputs_fixture.h"
#include "tests/support/mixed_script.h"

namespace ph {
namespace {

class TextFile : public test::OutputsTest {
 protected:
  OutputContext Content(std::string text) {
    OutputContext c;
    c.text = std::move(text);
    c.html = "<b>bold</b>";
    c.url = "http://example.test/page";
    c.path = Path("out.txt");
    return c;
  }
};

TEST_F(TextFile, NewFileWithHeader) {
  settings_.datetime_url = 1;
  ASSERT_EQ(WriteTextFile(Content("hello"), ports()), 1);
  EXPECT_EQ(ReadFile(Path("out.txt")),
            "date: 2026-03-07\r\ntime: 09:05:04\r\nurl: http://example.test/page\r\n\r\nhello\r\n");
  EXPECT_TRUE(user_.messages().empty());
}

TEST_F(TextFile, AppendingSetsTheNewContentOffByAnEmptyLine) {
  settings_.append_files = 1;
  ASSERT_EQ(WriteTextFile(Content("first"), ports()), 1);
  ASSERT_EQ(WriteTextFile(Content("second"), ports()), 1);
  EXPECT_EQ(ReadFile(Path("out.txt")), "first\r\n\r\n\r\nsecond\r\n");
}

TEST_F(TextFile, ReplacingAnExistingFileStillStartsWithTwoBreaks) {
  WriteFile(Path("out.txt"), "old content that must go");
  ASSERT_EQ(WriteTextFile(Content("new"), ports()), 1);
  EXPECT_EQ(ReadFile(Path("out.txt")), "\r\n\r\nnew\r\n");
}

TEST_F(TextFile, ContentIsWrittenExactlyAsItCame) {
  const std::string text = "a\r\nb\nc\rd\r\n\r\ne" + test::Utf8Of(test::kMixedScript);
  ASSERT_EQ(WriteTextFile(Content(text), ports()), 1);
  EXPECT_EQ(ReadFile(Path("out.txt")), text + "\r\n");
}

TEST_F(TextFile, HtmlPortionWritesTheSourceAndOtherPortionsTheText) {
  OutputContext c = Content("plain");
  c.portion = kPortionHtml;
  ASSERT_EQ(WriteTextFile(c, ports()), 1);
  EXPECT_EQ(ReadFile(c.path), "<b>bold</b>\r\n");
  c.portion = kPortionText;
  ASSERT_EQ(WriteTextFile(c, ports()), 1);
  EXPECT_EQ(ReadFile(c.path), "\r\n\r\nplain\r\n");
}

TEST_F(TextFile, FileThatCannotBeOpenedIsReported) {
  OutputContext c = Content("x");
  c.path = Path("no-such-folder") + kPathSeparator + "out.txt";
  EXPECT_EQ(WriteTextFile(c, ports()), 0);
  const Message m = OnlyMessage();
  EXPECT_EQ(m.text, "Failure to open file");
  EXPECT_EQ(m.caption, "Error");
  EXPECT_EQ(m.icon, MessageIcon::kError);
}

}  // namespace
}  // namespace ph
