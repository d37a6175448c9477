// The clipboard writer: CF_UNICODETEXT by portion, the "HTML Format" block and its offsets, failures.
#include "controller/outputs/clipboard_writer.h"

#include "controller/outputs/cf_html.h"
#include "tests/controller/outputs/outputs_fixture.h"
#include "tests/support/mixed_script.h"

namespace ph {
namespace {

// The offset that the header gives for a field, read back as a consumer reads it.
std::size_t Offset(const std::string& block, const std::string& field) {
  const std::size_t at = block.find(field + ":");
  return at == std::string::npos ? 0 : std::stoul(block.substr(at + field.size() + 1, 8));
}

TEST(CfHtml, EmptyPartsGiveTheFixedPiecesAndOffsets) {
  const std::string block = *BuildCfHtml({});
  EXPECT_EQ(
      block,
      "Version:0.9\r\nStartHTML:00000097\r\nEndHTML:00000235\r\nStartFragment:00000175\r\nEndFragment:00000219\r\n"
      "<!DOCTYPE>\r\n<html>\r\n<head>\r\n<title></title>\r\n<base href=\"\">\r\n</head>\r\n<body>\r\n"
      "<!--StartFragment-->\r\n\r\n<!--EndFragment-->\r\n</body>\r\n</html>");
  EXPECT_EQ(block.size(), 235u);
}

TEST(CfHtml, OffsetsPointAtTheirPieces) {
  const std::string block = *BuildCfHtml({"T", "http://x/", "<style>b{}</style>", "<b>frag</b>"});
  EXPECT_EQ(block.compare(Offset(block, "StartHTML"), 10, "<!DOCTYPE>"), 0);
  EXPECT_EQ(block.compare(Offset(block, "StartFragment"), 20, "<!--StartFragment-->"), 0);
  EXPECT_EQ(block.substr(Offset(block, "EndFragment") - 20), "<!--EndFragment-->\r\n</body>\r\n</html>");
  EXPECT_EQ(Offset(block, "EndHTML"), block.size());
  EXPECT_NE(block.find("<title>T</title>\r\n<base href=\"http://x/\">\r\n<style>b{}</style></head>"),
            std::string::npos);
}

TEST(CfHtml, TooLargeForEightDigitsGivesNoBlock) {
  const std::string big(kMaxCfHtmlBytes - 235 + 1, 'x');
  EXPECT_FALSE(BuildCfHtml({"", "", "", big}).has_value());
  const std::string fits(kMaxCfHtmlBytes - 235, 'x');
  const std::optional<std::string> block = BuildCfHtml({"", "", "", fits});
  ASSERT_TRUE(block.has_value());
  EXPECT_EQ(Offset(*block, "EndHTML"), 99999999u);
}

class Clipboard : public test::OutputsTest {
 protected:
  OutputContext Content() {
    OutputContext c;
    c.text = test::Utf8Of(test::kMixedScript);
    c.html = "<p>" + test::Utf8Of(test::kMixedScript) + "</p>";
    c.title = test::Utf8Of(test::kJapaneseTitle);
    c.url = "http://example.test/";
    return c;
  }
  // What CF_UNICODETEXT holds for the text, with its terminating zero unit.
  static std::string UnicodeBlock(const WideString& text) { return UnicodeTextBytes(text) + std::string(2, '\0'); }
  std::string Placed(ClipboardFormat f) {
    auto it = clipboard_.contents().find(f);
    return it == clipboard_.contents().end() ? "<none>" : it->second;
  }
};

TEST_F(Clipboard, TextByPortionAndHtmlAlwaysTheSelection) {
  OutputContext c = Content();
  c.portion = kPortionText;
  ASSERT_EQ(CopyToClipboard(c, ports()), 1);
  EXPECT_EQ(Placed(ClipboardFormat::kUnicodeText), UnicodeBlock(test::kMixedScript));
  EXPECT_NE(Placed(ClipboardFormat::kHtml).find(c.html), std::string::npos);
  c.portion = kPortionHtml;
  ASSERT_EQ(CopyToClipboard(c, ports()), 1);
  EXPECT_EQ(Placed(ClipboardFormat::kUnicodeText), UnicodeBlock(u"<p>" + test::kMixedScript + u"</p>"));
  EXPECT_FALSE(clipboard_.is_open());
}

TEST_F(Clipboard, HtmlBlockIsUtf8WithOffsetsInItsBytes) {
  ASSERT_EQ(CopyToClipboard(Content(), ports()), 1);
  std::string block = Placed(ClipboardFormat::kHtml);
  ASSERT_EQ(block.back(), '\0');
  block.pop_back();
  EXPECT_NE(block.find("<title>" + test::Utf8Of(test::kJapaneseTitle) + "</title>"), std::string::npos);
  EXPECT_EQ(Offset(block, "EndHTML"), block.size());
  const std::size_t start = Offset(block, "StartFragment") + std::string("<!--StartFragment-->\r\n").size();
  const std::size_t end = Offset(block, "EndFragment") - std::string("\r\n<!--EndFragment-->\r\n").size();
  EXPECT_EQ(block.substr(start, end - start), "<p>" + test::Utf8Of(test::kMixedScript) + "</p>");
}

TEST_F(Clipboard, ClipboardThatCannotBeOpenedGivesZeroSilently) {
  clipboard_.FailOpens(1);
  EXPECT_EQ(CopyToClipboard(Content(), ports()), 0);
  EXPECT_TRUE(clipboard_.contents().empty());
  EXPECT_TRUE(user_.messages().empty());
  // Open for the text, not for the HTML.
  clipboard_.FailOpens(0);
  MemoryClipboard& cb = clipboard_;
  struct SecondOpenFails : ClipboardPort {
    MemoryClipboard& inner;
    int opens = 0;
    explicit SecondOpenFails(MemoryClipboard& c) : inner(c) {}
    bool Open() override { return ++opens == 1 && inner.Open(); }
    void Close() override { inner.Close(); }
    bool Empty() override { return inner.Empty(); }
    bool Set(ClipboardFormat f, std::string_view b) override { return inner.Set(f, b); }
  } second(cb);
  OutputPorts p{settings_, *files_, *urls_, *fetcher_, second, *xml_, clock_, user_, code_page_, diagnostics_};
  EXPECT_EQ(CopyToClipboard(Content(), p), 0);
  EXPECT_EQ(Placed(ClipboardFormat::kUnicodeText), UnicodeBlock(test::kMixedScript));
  EXPECT_EQ(Placed(ClipboardFormat::kHtml), "<none>");
}

TEST_F(Clipboard, TextThatCannotBeSetIsReportedAndTheHtmlStillPlaced) {
  clipboard_.FailSetting(ClipboardFormat::kUnicodeText);
  EXPECT_EQ(CopyToClipboard(Content(), ports()), 1);
  const Message m = OnlyMessage();
  EXPECT_EQ(m.text, "Failed to set clipboard data");
  EXPECT_EQ(m.caption, "Error");
  EXPECT_EQ(m.icon, MessageIcon::kError);
  EXPECT_NE(Placed(ClipboardFormat::kHtml), "<none>");
}

TEST_F(Clipboard, SelectionTooLargeForTheOffsetsIsPlacedAsTextOnly) {
  OutputContext c = Content();
  c.html.assign(kMaxCfHtmlBytes, 'x');
  c.portion = kPortionHtml;
  EXPECT_EQ(CopyToClipboard(c, ports()), 1);
  EXPECT_EQ(Placed(ClipboardFormat::kUnicodeText).size(), 2 * kMaxCfHtmlBytes + 2);
  EXPECT_EQ(Placed(ClipboardFormat::kHtml), "<none>");
  EXPECT_NE(OnlyMessage().text.find("as text only"), std::string::npos);
  EXPECT_FALSE(clipboard_.is_open());
}

}  // namespace
}  // namespace ph
