// Documents of a page and element paths on real pages, frames and vanished elements included.
#include "band/engine/element_path.h"

#include <gtest/gtest.h>

#include "tests/band/engine/gumbo/engine_harness.h"

namespace ph {
namespace {

using test::Page;

TEST(CollectDocuments, ListsFramesDepthFirstInOrder) {
  auto top = Page("frameset.html");
  std::vector<WideString> urls;
  for (const auto& d : CollectDocuments(top)) urls.push_back(*d->Url());
  EXPECT_EQ(urls, (std::vector<WideString>{u"http://pages.test/frameset.html", u"http://pages.test/frame_left.html",
                                           u"http://pages.test/frame_inner.html",
                                           u"http://pages.test/frame_right.html"}));
  EXPECT_EQ(CollectDocuments(Page("listing_1.html")).size(), 1u);
}

TEST(BuildPath, NamesFrameAndStepsAmongChildrenOfTheSameTag) {
  Windows1252 cp;
  auto top = Page("frameset.html");
  auto right = std::static_pointer_cast<MemoryDocument>(CollectDocuments(top)[3]);
  auto third = right->ById("third");  // after a TH and a TD
  const ElementPath path = BuildPath(top, third, cp);
  EXPECT_EQ(path, (ElementPath{{"frame", 3}, {"TABLE", 0}, {"TBODY", 0}, {"TR", 0}, {"TD", 1}}));
  EXPECT_TRUE(SameElement(*ResolvePath(top, path, cp), *third));
  EXPECT_EQ(BuildPath(top, right->Body(), cp), (ElementPath{{"frame", 3}}));
  auto inner = std::static_pointer_cast<MemoryDocument>(CollectDocuments(top)[2]);
  EXPECT_EQ(BuildPath(top, inner->ById("inner-note"), cp), (ElementPath{{"frame", 2}, {"DIV", 0}}));
}

TEST(BuildPath, TwoFramesOfOneUrlBothTakeTheFirstFramesIndex) {
  Windows1252 cp;
  auto top = Page("frames_same_url.html");
  auto docs = CollectDocuments(top);
  ASSERT_EQ(docs.size(), 3u);
  auto second = std::static_pointer_cast<MemoryDocument>(docs[2]);
  const ElementPath path = BuildPath(top, second->ById("story"), cp);
  EXPECT_EQ(path.front(), (PathStep{"frame", 1}));
  auto found = ResolvePath(top, path, cp);
  EXPECT_EQ(found->OwnerDocument(), docs[1]);
}

TEST(ResolvePath, EveryElementOfAPageComesBackAndWorksOnAnotherPageOfItsLayout) {
  Windows1252 cp;
  auto first = Page("listing_1.html");
  auto second = Page("listing_2.html");
  auto all = first->Body()->ElementsByTagName(u"*");
  ASSERT_GT(all->Length(), 30);
  for (long i = 0; i < all->Length(); ++i) {
    auto e = all->Item(i);
    auto back = ResolvePath(first, BuildPath(first, e, cp), cp);
    ASSERT_TRUE(back);
    EXPECT_TRUE(SameElement(*back, *e));
  }
  auto there = ResolvePath(second, BuildPath(first, first->ById("content"), cp), cp);
  ASSERT_TRUE(there);
  EXPECT_NE(there->InnerText()->find(u"Tuesday"), WideString::npos);
}

TEST(PagePaths, GiveWhatBuildPathGivesForEveryElementOfEveryDocument) {
  Windows1252 cp;
  for (const char* file : {"listing_1.html", "frameset.html", "frames_same_url.html"}) {
    const DocumentList docs = CollectDocuments(Page(file));
    PagePaths paths(docs, cp);
    for (const auto& doc : docs) {
      auto all = doc->ElementsByTagName(u"*");
      for (long i = 0; i < all->Length(); ++i) EXPECT_EQ(paths.PathOf(all->Item(i)), BuildPath(docs, all->Item(i), cp)) << file;
    }
  }
}

TEST(ResolvePath, FindsNothingRatherThanANeighbour) {
  Windows1252 cp;
  auto doc = MemoryDocument::Parse("<div></div><div></div><div></div><div id=d></div>", u"http://h/");
  const ElementPath path = BuildPath(doc, doc->ById("d"), cp);
  EXPECT_EQ(path, (ElementPath{{"frame", 0}, {"DIV", 3}}));
  doc->ById("d")->SetOuterHtml(u"");
  EXPECT_EQ(ResolvePath(doc, path, cp), nullptr);
  EXPECT_EQ(ResolvePath(doc, ElementPath{{"frame", 1}}, cp), nullptr);
  EXPECT_EQ(ResolvePath(doc, ElementPath{}, cp), nullptr);
  EXPECT_EQ(ResolvePath(doc, ElementPath{{"ignored", 0}, {"DIV", -1}}, cp), nullptr);
  EXPECT_TRUE(ResolvePath(doc, ElementPath{{"ignored", 0}, {"div", 2}}, cp));
}

TEST(BuildPath, AnElementOutsideTheBodyOrThePageHasNoFrameStep) {
  Windows1252 cp;
  auto doc = MemoryDocument::Parse("<title>t</title><p id=p>x</p>", u"http://h/");
  EXPECT_EQ(BuildPath(doc, doc->First("title"), cp), (ElementPath{{"HEAD", 0}, {"TITLE", 0}}));
  auto other = MemoryDocument::Parse("<p id=q>y</p>", u"http://elsewhere/");
  EXPECT_EQ(BuildPath(doc, other->ById("q"), cp), (ElementPath{{"P", 0}}));
  auto p = doc->ById("p");
  p->SetOuterHtml(u"z");
  EXPECT_TRUE(BuildPath(doc, p, cp).empty());
}

}  // namespace
}  // namespace ph
