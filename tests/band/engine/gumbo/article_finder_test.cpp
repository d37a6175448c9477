// The article rule of Auto Selection on small pages of the kinds sites are built of.
#include "band/engine/article_finder.h"

#include <gtest/gtest.h>

#include "common/settings_names.h"
#include "tests/band/engine/gumbo/engine_harness.h"

namespace ph {
namespace {

// A paragraph of n words.
std::string Para(int n, const std::string& word = "story") {
  std::string p = "<p>";
  for (int i = 0; i < n; ++i) p += (i ? " " : "") + word + std::to_string(i);
  return p + "</p>";
}
std::string Story(int paragraphs) {
  std::string s;
  for (int i = 0; i < paragraphs; ++i) s += Para(40);
  return s;
}
std::string Links(int n) {
  std::string s = "<ul>";
  for (int i = 0; i < n; ++i) s += "<li><a href=\"/a\">Other story number " + std::to_string(i) + " of the day</a></li>";
  return s + "</ul>";
}
const std::string kNav = "<header><a href=\"/\">Site</a><nav>" + Links(8) + "</nav></header>";
const std::string kComments = "<section id=\"comments\"><h3>Comments</h3>" + Para(60, "reader") + Para(60, "reader") +
                              Para(60, "reader") + Para(60, "reader") + "</section>";
const std::string kRelated = "<div class=\"related\"><h3>Related</h3>" + Links(10) + "</div>";
const std::string kShare = "<div class=\"share\"><a href=\"#\">Facebook</a> <a href=\"#\">Email</a></div>";

std::string Want(const std::shared_ptr<MemoryDocument>& doc) {
  ElementPtr pick = FindArticle(CollectDocuments(doc));
  if (!pick) return "nothing";
  const auto id = pick->Id();
  return id && !id->empty() ? std::string(id->begin(), id->end()) : "(no id)";
}

TEST(ArticleFinder, PicksTheBlockOfTheStoryWithItsHeadingAndWithoutTheBoxesAround) {
  const struct {
    const char* name;
    std::string body;
  } pages[] = {
      {"article", kNav + "<main><article id=\"want\"><h1>Headline</h1>" + kShare + Story(6) + "</article>" + kComments +
                      "</main><aside>" + Links(12) + "</aside>"},
      {"main", kNav + "<main id=\"want\"><h1>Headline</h1>" + Story(5) + "</main>" + kRelated + kComments},
      {"nested sections", kNav + "<div><article id=\"want\" class=\"post\"><h1>Headline</h1><section>" + Story(2) +
                              "<section>" + Story(2) + "</section></section><section>" + Story(3) +
                              "</section></article>" + kRelated + kComments + "</div>"},
      {"heading outside the article", kNav + "<div id=\"want\" class=\"page\"><div class=\"hero\"><h1>Headline</h1></div>"
                                          "<article>" + Story(6) + "</article></div>" + kComments},
      {"split by advertisements", kNav + "<div id=\"want\" class=\"story\"><h1>Headline</h1><div>" + Story(2) +
                                      "</div><div class=\"ad\">Advertisement</div><div>" + Story(2) +
                                      "</div><div class=\"ad\">Advertisement</div><div>" + Story(2) + "</div></div>" +
                                      kRelated + kComments},
      {"story in a table cell", "<table><tr><td>" + Links(15) + "</td><td id=\"want\"><h1>Headline</h1>" + Story(5) +
                                    "</td><td>" + Links(6) + "</td></tr></table>"},
      {"plain divs", "<div>" + Links(6) + "</div><div id=\"want\"><div><b>Headline</b></div><div>"
                     "one two three four five six seven eight nine ten<br><br>eleven twelve thirteen fourteen "
                     "fifteen sixteen seventeen eighteen nineteen twenty<br><br>twenty-one twenty-two twenty-three "
                     "twenty-four twenty-five twenty-six</div></div>" + kComments},
  };
  for (const auto& page : pages) {
    auto doc = MemoryDocument::Parse("<html><body>" + page.body + "</body></html>", u"http://site.test/a");
    EXPECT_EQ(Want(doc), "want") << page.name;
  }
}

TEST(ArticleFinder, APageOfLinksAloneHasNoArticle) {
  auto doc = MemoryDocument::Parse("<html><body>" + kNav + "<div>" + Links(30) + "</div><div>" + kShare +
                                       "</div></body></html>",
                                   u"http://site.test/a");
  EXPECT_EQ(FindArticle(CollectDocuments(doc)), nullptr);
}

TEST(ArticleFinder, NamesComeInTheOrderOfTheOutline) {
  auto doc = MemoryDocument::Parse("<html><body><div id=\"a\"><p class=\"b\" role=\"c\"></p></div><span></span></body></html>",
                                   u"http://site.test/a");
  const auto outline = doc->Outline(false);
  const auto names = doc->OutlineNames();
  ASSERT_EQ(names.size(), outline.entries.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const WideString& tag = outline.tags[outline.entries[i].tag];
    const WideString want = tag == u"DIV" ? u"a  " : tag == u"P" ? u" b c" : u"  ";
    EXPECT_EQ(names[i], want) << i;
  }
}

// The band's setting chooses the rule; the article rule's failure is the band's own message.
TEST(ArticleFinder, TheBandsSettingChoosesTheRule) {
  test::EngineHarness h;
  const std::string page = "<html><body><div id=\"page\">" + kNav + "<article id=\"story\"><h1>Headline</h1>" + Story(4) +
                           "</article>" + kComments + "</div></body></html>";
  auto picked = [&] {
    h.ShowHtml(page);
    h.engine.AutoSelect();
    if (h.engine.selection_list().empty()) return std::string("nothing");
    const auto id = h.engine.selection_list().back().element->Id().value_or(u"");
    h.FireTimer(kAutoSelectTimer);
    return std::string(id.begin(), id.end());
  };
  EXPECT_EQ(picked(), "page");  // the outer block loses no words to blocks inside it
  auto key = h.registry.Create(RegistryRoot::kCurrentUser, reg::kProductKey);
  const std::uint32_t one = 1;
  key->Set(reg::kAutoSelectionMode, RegistryType::kBinary, &one, 4);
  EXPECT_EQ(picked(), "story");

  h.ShowHtml("<html><body>" + kNav + "<div>" + Links(20) + "</div></body></html>");
  h.engine.AutoSelect();
  EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{"Unable to auto selection"});
}

}  // namespace
}  // namespace ph
