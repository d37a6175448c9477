// Quick Save with relocation: regions found by what they looked like where their paths fail, only
// when asked for, never a region unlike the stored one, and a layout chosen by its regions.
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

}  // namespace
}  // namespace ph
