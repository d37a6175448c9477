// HTML files: the page around the selection, with pictures and style sheets from a loopback server.
#include "controller/outputs/html_file_writer.h"

#include <filesystem>

#include "controller/outputs/linked_file_capture.h"
#include "tests/controller/outputs/outputs_fixture.h"
#include "tests/support/mixed_script.h"
#include "tests/support/loopback_http_server.h"

namespace ph {
namespace {

constexpr char kGif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04";

const std::string kCharsetMeta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">";

class HtmlFile : public test::OutputsTest {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.ok()); }

  OutputContext Content(std::string html) {
    OutputContext c;
    c.title = "Title <1>";
    c.html = std::move(html);
    c.text = "plain & text";
    c.url = server_.Url("/dir/index.html");
    c.path = Path("page.htm");
    return c;
  }
  std::string Companion(const std::string& rel) {
    std::string p = Path("page_files");
    for (char c : "/" + rel) p += c == '/' ? kPathSeparator : c;
    return p;
  }

  test::LoopbackHttpServer server_;
};

TEST_F(HtmlFile, PageAroundTheSelectionWithHeaderInTheUtf8ItDeclares) {
  settings_.datetime_url = 1;
  const std::string mixed = test::Utf8Of(test::kMixedScript), title = test::Utf8Of(test::kJapaneseTitle);
  OutputContext c = Content("<p>" + mixed + "</p>");
  c.title = title;
  c.style = "<style>p{}</style>";
  ASSERT_EQ(WriteHtmlFile(c, ports()), 1);
  EXPECT_EQ(ReadFile(c.path),
            "<html>\r\n<head>\r\n" + kCharsetMeta + "\r\n<title>" + title +
                "</title>\r\n<style>p{}</style></head>\r\n<body>\r\n"
                "date: 2026-03-07<br>\r\ntime: 09:05:04<br>\r\nurl: " +
                c.url + "<br>\r\n\r\n<p>" + mixed + "</p></body>\r\n</html>\r\n");
}

TEST_F(HtmlFile, AutoAndHtmlPortionsGiveTheSameFileWithoutStyleOrHeader) {
  OutputContext c = Content("a\r\nb");
  ASSERT_EQ(WriteHtmlFile(c, ports()), 1);
  const std::string automatic = ReadFile(c.path);
  c.portion = kPortionHtml;
  ASSERT_EQ(WriteHtmlFile(c, ports()), 1);
  EXPECT_EQ(ReadFile(c.path), automatic);
  EXPECT_EQ(automatic, "<html>\r\n<head>\r\n" + kCharsetMeta +
                           "\r\n<title>Title <1></title>\r\n</head>\r\n<body>\r\na\r\nb</body>\r\n</html>\r\n");
}

TEST_F(HtmlFile, TextPortionIsAPreBlockOnly) {
  settings_.datetime_url = 1;
  OutputContext c = Content("<img src=x.gif>");
  c.portion = kPortionText;
  ASSERT_EQ(WriteHtmlFile(c, ports()), 1);
  EXPECT_EQ(ReadFile(c.path), "<pre>\r\nplain & text\r\n</pre>\r\n");
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(HtmlFile, PicturesAndStyleSheetsAreCapturedAndLinksMadeAbsolute) {
  server_.Serve("/dir/images/a.gif", {200, "image/gif", std::string(kGif, sizeof kGif - 1)});
  server_.Serve("/css/site.css", {200, "text/css", "body { color: red }"});
  OutputContext c = Content("<IMG SRC=images/a.gif><a href='/other.html'>o</a><img src=\"images/a.gif\">");
  c.style = "<link rel=\"stylesheet\" href=\"/css/site.css\">";
  ASSERT_EQ(WriteHtmlFile(c, ports()), 1);

  const std::string page = ReadFile(c.path);
  EXPECT_NE(page.find("<link rel=\"stylesheet\" href=\"page_files/css/site.css\"></head>"), std::string::npos) << page;
  EXPECT_NE(page.find("<IMG SRC=page_files/dir/images/a.gif><a href='" + server_.Url("/other.html") +
                      "'>o</a><img src=\"page_files/dir/images/a.gif\">"),
            std::string::npos)
      << page;
  EXPECT_EQ(ReadFile(Companion("dir/images/a.gif")), std::string(kGif, sizeof kGif - 1));
  EXPECT_EQ(ReadFile(Companion("css/site.css")), "body { color: red }");
  // The picture used twice is fetched once; the hyperlink is never fetched.
  const std::vector<std::string> requests = server_.Requests();
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "/dir/images/a.gif"), 1);
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "/other.html"), 0);
  EXPECT_TRUE(diagnostics_.str().empty());
  EXPECT_TRUE(user_.messages().empty());
}

TEST_F(HtmlFile, SavingAgainRemovesTheOldCompanionFolder) {
  ASSERT_TRUE(files_->MakeFolders(Companion("stale/old.gif")));
  WriteFile(Companion("stale/old.gif"), "old");
  ASSERT_EQ(WriteHtmlFile(Content("<p>x</p>"), ports()), 1);
  EXPECT_FALSE(Exists(Path("page_files")));
}

TEST_F(HtmlFile, MissingAndCutOffFilesStayReferencedLeaveNothingAndAreNamedToTheUser) {
  server_.Serve("/dir/a.gif", {200, "image/gif", std::string(kGif, sizeof kGif - 1)});
  server_.Serve("/dir/cut.gif", {200, "image/gif", "GIF89a", false, true});
  ASSERT_EQ(WriteHtmlFile(Content("<img src=\"a.gif\"><img src=\"gone.gif\"><img src=\"cut.gif\">"), ports()), 1);
  EXPECT_NE(ReadFile(Path("page.htm")).find("<img src=\"page_files/dir/gone.gif\">"), std::string::npos);
  EXPECT_EQ(ReadFile(Companion("dir/a.gif")), std::string(kGif, sizeof kGif - 1));
  for (const char* name : {"dir/gone.gif", "dir/cut.gif"}) EXPECT_FALSE(Exists(Companion(name))) << name;
  EXPECT_EQ(std::filesystem::directory_iterator(Companion("dir"))->path().filename(), "a.gif");

  const Message told = OnlyMessage();
  EXPECT_EQ(told.icon, MessageIcon::kWarning);
  EXPECT_NE(told.text.find("2 pictures or style sheets could not be downloaded"), std::string::npos) << told.text;
  EXPECT_NE(told.text.find(server_.Url("/dir/gone.gif")), std::string::npos);
  EXPECT_EQ(told.text.find("a.gif\r\n"), std::string::npos);
}

TEST_F(HtmlFile, HostileUrlsStayInsideTheCompanionFolder) {
  // However a client spells these on the wire, the server answers them all alike.
  server_.ServeOtherwise({200, "image/gif", "evil"});
  OutputContext c = Content("<img src='/%2e%2e/%2e%2e/escape.gif'><img src='/a/..%2f..%2fescape2.gif'><img src=/CON>");
  ASSERT_EQ(WriteHtmlFile(c, ports()), 1);
  EXPECT_FALSE(Exists(Path("escape.gif")));
  EXPECT_FALSE(Exists(dir_ + kPathSeparator + ".." + kPathSeparator + "escape.gif"));
  EXPECT_EQ(ReadFile(Companion("escape.gif")), "evil");
  EXPECT_EQ(ReadFile(Companion("a/escape2.gif")), "evil");
  EXPECT_EQ(ReadFile(Companion("_CON")), "evil");
  const std::string page = ReadFile(c.path);
  EXPECT_NE(page.find("<img src='page_files/escape.gif'><img src='page_files/a/escape2.gif'><img src=page_files/_CON>"),
            std::string::npos)
      << page;
}

TEST_F(HtmlFile, ReferencesThatCannotBeFetchedAreLeftAlone) {
  const std::string markup = "<img src=\"data:image/gif;base64,R0lGOD\"><a href=\"javascript:void(0)\">j</a>";
  ASSERT_EQ(WriteHtmlFile(Content(markup), ports()), 1);
  EXPECT_NE(ReadFile(Path("page.htm")).find("<img src=\"data:image/gif;base64,R0lGOD\">"), std::string::npos);
}

TEST_F(HtmlFile, MalformedMarkupIsReportedButWrittenWhole) {
  const std::string markup = "<p>before</p><img src=\"images/a.gif><p>after the fault</p>";
  ASSERT_EQ(WriteHtmlFile(Content(markup), ports()), 1);
  EXPECT_NE(ReadFile(Path("page.htm")).find(markup + "</body>\r\n</html>\r\n"), std::string::npos);
  EXPECT_EQ(diagnostics_.str(), "Error 2\n");
}

TEST_F(HtmlFile, FileThatCannotBeOpenedIsReported) {
  OutputContext c = Content("x");
  c.path = Path("missing") + kPathSeparator + "page.htm";
  EXPECT_EQ(WriteHtmlFile(c, ports()), 0);
  EXPECT_EQ(OnlyMessage().text, "Failure to open file");
}

TEST(CompanionName, CutsTheExtensionAtTheLastFullStop) {
  EXPECT_EQ(CompanionName(std::string("out") + kPathSeparator + "page.htm"), "page_files");
  EXPECT_EQ(CompanionName("a.b.htm"), "a.b_files");
  EXPECT_EQ(CompanionName(".htm"), "_files");
  EXPECT_EQ(CompanionName("noext"), "noext_files");
}

}  // namespace
}  // namespace ph
