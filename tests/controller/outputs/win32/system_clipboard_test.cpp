// The clipboard writer against the Windows clipboard, read back as a pasting program reads it.
#include <windows.h>

#include "controller/outputs/clipboard_writer.h"
#include "tests/controller/outputs/outputs_fixture.h"
#include "tests/support/mixed_script.h"
#include "tests/support/win32/clipboard_contents.h"

namespace ph {
namespace {

using test::ClipboardBytes;

std::size_t Offset(const std::string& block, const std::string& field) {
  const std::size_t at = block.find(field + ":");
  return at == std::string::npos ? 0 : std::stoul(block.substr(at + field.size() + 1, 8));
}

class SystemClipboard : public test::OutputsTest {
 protected:
  std::unique_ptr<ClipboardPort> system_ = MakeSystemClipboard();
  OutputPorts system_ports_{settings_, *files_, *urls_, *fetcher_,  *system_,
                            *xml_,     clock_,  user_,  code_page_, diagnostics_};
  const UINT html_format_ = ::RegisterClipboardFormatA("HTML Format");
};

TEST_F(SystemClipboard, TextAndHtmlFormatReadBackWithEveryCharacter) {
  const std::string mixed = test::Utf8Of(test::kMixedScript);
  OutputContext c;
  c.text = mixed;
  c.html = "<p>" + mixed + "</p>";
  c.title = "Title";
  c.url = "http://example.test/a.html";
  c.style = "<style>p{}</style>";
  c.portion = kPortionText;
  ASSERT_EQ(CopyToClipboard(c, system_ports_), 1);
  EXPECT_TRUE(user_.messages().empty());

  const std::optional<std::string> text = ClipboardBytes(CF_UNICODETEXT);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(UnicodeTextOf(*text), test::kMixedScript);

  std::optional<std::string> html = ClipboardBytes(html_format_);
  ASSERT_TRUE(html.has_value());
  const std::string block = html->substr(0, html->find('\0'));
  EXPECT_EQ(Offset(block, "StartHTML"), 97u);
  EXPECT_EQ(Offset(block, "EndHTML"), block.size());
  EXPECT_EQ(block.compare(Offset(block, "StartHTML"), 10, "<!DOCTYPE>"), 0);
  EXPECT_EQ(block.compare(Offset(block, "StartFragment"), 20, "<!--StartFragment-->"), 0);
  EXPECT_EQ(block.substr(Offset(block, "EndFragment") - 20, 20), "<!--EndFragment-->\r\n");
  EXPECT_NE(block.find("<!--StartFragment-->\r\n<p>" + mixed + "</p>\r\n<!--EndFragment-->"), std::string::npos);
  EXPECT_NE(block.find("<base href=\"http://example.test/a.html\">\r\n<style>p{}</style></head>"), std::string::npos);
}

TEST_F(SystemClipboard, EmptyContentGivesTheFixedBlockOf236Bytes) {
  ASSERT_EQ(CopyToClipboard(OutputContext{}, system_ports_), 1);
  const std::optional<std::string> html = ClipboardBytes(html_format_);
  ASSERT_TRUE(html.has_value());
  ASSERT_GE(html->size(), 236u);  // the system may round the block up
  EXPECT_EQ(
      html->substr(0, 97),
      "Version:0.9\r\nStartHTML:00000097\r\nEndHTML:00000235\r\nStartFragment:00000175\r\nEndFragment:00000219\r\n");
  EXPECT_EQ((*html)[235], '\0');
}

}  // namespace
}  // namespace ph
