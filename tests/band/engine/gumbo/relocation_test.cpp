// Quick Save with relocation: regions found by what they looked like where their paths fail, only
// when asked for, never a region unlike the stored one (nor one whose content is of another kind), a
// layout chosen by its regions, and a region that moved found beside the others.
#include "band/engine/selection_engine.h"

#include <gtest/gtest.h>

#include "common/settings_names.h"
#include "platform/registry.h"
#include "tests/band/engine/gumbo/engine_harness.h"

namespace ph {
namespace {

constexpr char kFirst[] =
    "<div class=page><div class=headline><h1>First title</h1></div>"
    "<div class=story id=story-1><p>The first story runs to a good many words of its own.</p></div>"
    "<div class=related>Related links</div></div>";
// An advertisement pushes the story down: its path now names the advertisement.
constexpr char kShifted[] =
    "<div class=page><div class=headline><h1>Second title</h1></div><div class=ad>Buy now</div>"
    "<div class=story id=story-2><p>The second story is what a reader came for.</p></div>"
    "<div class=related>Related links</div></div>";

// The story picked on the first page, and a new band that knows only the files.
void LearnStory(test::EngineHarness& h, test::EngineHarness* later) {
  auto first = h.ShowHtml(kFirst);
  h.engine.OnFineSelectionCommand();
  h.SelectAndEnd(first->ById("story-1"));
  for (const char* name : {"/band/layouts.dat", "/band/selections.dat", "/band/regions.dat"})
    later->files[name] = h.files[name];
  later->engine.LoadStores();
}

std::vector<WideString> QuickSaveTexts(test::EngineHarness& h, const char* html) {
  h.ShowHtml(html);
  h.engine.OnDocumentComplete();
  h.engine.QuickSave();
  h.FireTimer(kQuickSaveTimer);
  std::vector<WideString> texts;
  for (const auto& sent : h.link.sent) texts.push_back(sent.text);
  return texts;
}

TEST(Relocation, TheBandRelocatesOnlyWhenSmartRelocationIsOn) {
  test::EngineHarness h, later;
  LearnStory(h, &later);
  // Off by default: the path is followed as it always was, to the advertisement.
  EXPECT_EQ(QuickSaveTexts(later, kShifted), std::vector<WideString>{u"Buy now"});

  auto key = later.registry.Create(RegistryRoot::kCurrentUser, reg::kProductKey);
  SetBinaryU32(*key, reg::kSmartRelocation, 1);
  later.link.sent.clear();
  EXPECT_EQ(QuickSaveTexts(later, kShifted), std::vector<WideString>{u"The second story is what a reader came for."});
  EXPECT_EQ(later.engine.settings().smart_relocation, 1);
}

TEST(Relocation, ARegionUnlikeTheStoredOneIsNotFoundRatherThanSavedWrong) {
  test::EngineHarness h, later;
  LearnStory(h, &later);
  later.engine.set_relocation_mode(RelocationMode::kSmart);
  // No story at all: the path names the related links, which are no story, and nothing else is.
  EXPECT_TRUE(QuickSaveTexts(later, "<div class=page><div class=headline><h1>Live</h1></div>"
                                    "<div class=related>Related links</div></div>")
                  .empty());
  EXPECT_EQ(later.MessageTexts().size(), 1u);
  EXPECT_EQ(later.MessageTexts()[0].rfind("Not all selections have been located.", 0), 0u);
}

TEST(Relocation, APageWhoseTablesChangedTakesTheStoredLayoutWhoseRegionsRelocate) {
  const char* posts = "<table><tr><td class=nav>Boards</td><td class=posts><p>Posts of %s</p></td></tr></table>";
  auto page = [&](const char* name, bool notice) {
    char body[256];
    std::snprintf(body, sizeof body, posts, name);
    return std::string(notice ? "<table><tr><td>Maintenance tonight</td></tr></table>" : "") + body;
  };
  test::EngineHarness h;
  auto first = h.ShowHtml(page("one", false));
  h.engine.OnFineSelectionCommand();
  h.SelectAndEnd(first->ElementsByTagName(u"td")->Item(1));

  h.engine.set_relocation_mode(RelocationMode::kPaths);
  EXPECT_EQ(QuickSaveTexts(h, page("two", true).c_str()).size(), 1u);
  EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{"layout not found!"});
  EXPECT_EQ(h.toolbar.enabled(kCmdQuickSave), false);

  h.engine.set_relocation_mode(RelocationMode::kSmart);
  const auto texts = QuickSaveTexts(h, page("two", true).c_str());
  EXPECT_EQ(h.toolbar.enabled(kCmdQuickSave), true);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1], u"Posts of two");
  EXPECT_EQ(h.link.sent[1].layout_id, 1);
  EXPECT_EQ(h.engine.layouts().entries().size(), 1u);
}

// The regions picked on a first page (in order), then Quick Save with relocation on each later page;
// what each sent, one text per page (empty when it sent nothing).
std::vector<WideString> PickThenQuickSave(const std::string& first_html, const std::vector<const char*>& picked,
                                          const std::vector<std::string>& later_pages,
                                          std::vector<std::string>* messages = nullptr) {
  test::EngineHarness h;
  auto first = h.ShowHtml(first_html);
  h.engine.OnFineSelectionCommand();
  for (std::size_t i = 0; i < picked.size(); ++i) {
    ElementPtr e = first->ByAttribute("data-pick", picked[i]);
    if (i + 1 < picked.size()) {
      h.Select(e);
    } else {
      h.SelectAndEnd(e);
    }
  }
  h.engine.set_relocation_mode(RelocationMode::kSmart);
  std::vector<WideString> texts;
  for (const auto& html : later_pages) {
    h.link.sent.clear();
    h.messages.shown.clear();
    const auto sent = QuickSaveTexts(h, html.c_str());
    texts.push_back(sent.empty() ? WideString() : sent.back());
    if (messages) *messages = h.MessageTexts();
  }
  return texts;
}

TEST(Relocation, AStoryThatKeepsItsUniqueIdIsFoundWhateverBlocksAndTablesSurroundIt) {
  const std::string first =
      "<div id=page class=site><div id=main class=col-8><div id=article-text class=article__text data-pick=1>"
      "<p>The first story of the magazine runs to a good many words, far more than the other one does, "
      "for it tells of the harbour, the river, the market and the long winter that came after them.</p>"
      "</div></div></div>";
  // Another page of the site: a layout table (so no stored table layout fits) and other wrappers.
  const std::string later =
      "<table class=frame><tr><td class=cell><section class=content-area><article class=post>"
      "<div id=article-text class=article__text><p>A shorter story about the bridge.</p></div>"
      "</article></section></td><td class=side>Teasers</td></tr></table>";
  std::vector<std::string> messages;
  EXPECT_EQ(PickThenQuickSave(first, {"1"}, {later}, &messages), std::vector<WideString>{u"A shorter story about the bridge."});
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST(Relocation, ARegionThatMovedUnderANewParentIsFoundBesideTheOthers) {
  const std::string first =
      "<div class=page><div class=article><div class=article-head><h1 data-pick=1>The title of the first feature</h1>"
      "</div><div class=story-text data-pick=2><p>The first story.</p><p>It goes on.</p></div></div></div>";
  // A picture at the top takes the title into a header of its own.
  const std::string later =
      "<div class=page><section class=hero><div class=hero__media></div><header class=hero__text>"
      "<h1>Title of the second feature</h1></header></section>"
      "<div class=article><div class=story-text><p>The second story.</p><p>It goes on too.</p></div></div></div>";
  std::vector<std::string> messages;
  const WideString sent = PickThenQuickSave(first, {"1", "2"}, {later}, &messages)[0];
  EXPECT_NE(sent.find(u"Title of the second feature"), WideString::npos);
  EXPECT_NE(sent.find(u"It goes on too."), WideString::npos);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST(Relocation, ABlockOfTheStoredMarksThatHoldsAnotherKindOfContentIsNotSaved) {
  const std::string first =
      "<div class=content><div class=article><h1 class=headline data-pick=1>Council opens the new bridge</h1>"
      "<div class=article-body data-pick=2><p>The council opened the new bridge over the river early on Monday, "
      "nearly a year later than planned.</p><p>A crowd gathered on both banks; the mayor spoke briefly and the "
      "first trams crossed at noon.</p><p>Traders in the market said the bridge would bring them customers "
      "again.</p></div></div></div>";
  // An index page of the site: the headline's marks on its title, the story's on a teaser.
  const std::string index =
      "<div class=content><div class=article><h1 class=headline>Latest news</h1><div class=article-body>"
      "<h2><a href=/bridge>Council opens the new bridge</a></h2><p>The trams crossed at noon.</p>"
      "<a class=more href=/bridge>Read more</a></div></div></div>";
  // An old article: the story's marks on the block around the story, its share bar and comments.
  const std::string old_article =
      "<div class=content><div class=article><h1 class=headline>Harbour reopens</h1><div class=article-body>"
      "<div class=entry-text><p>The harbour reopened after the winter storms had closed it for a month.</p>"
      "<p>Fishing boats went out again at dawn.</p></div><div class=share><a href=/s>Share by mail</a></div>"
      "<div class=comments><div class=comment>Good news at last.</div></div></div></div></div>";
  std::vector<std::string> messages;
  EXPECT_EQ(PickThenQuickSave(first, {"1", "2"}, {index, old_article}, &messages),
            (std::vector<WideString>{WideString(), WideString()}));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("Not all selections have been located.", 0), 0u);
}

}  // namespace
}  // namespace ph
