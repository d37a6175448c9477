// The in-memory document behaves as the browser's does where the engine relies on it.
#include "band/memdoc/memory_document.h"

#include <gtest/gtest.h>

#include "common/utf8.h"
#include "tests/support/test_paths.h"

namespace ph {
namespace {

std::shared_ptr<MemoryDocument> Doc(const std::string& html, WideString url = u"http://h.test/p") {
  return MemoryDocument::Parse(html, std::move(url));
}

std::vector<WideString> Tags(const CollectionPtr& c) {
  std::vector<WideString> tags;
  for (long i = 0; i < c->Length(); ++i) tags.push_back(*c->Item(i)->TagName());
  return tags;
}

TEST(MemoryDocument, TagNamesAreUpperCaseAndSourceIndicesFollowDocumentOrder) {
  auto doc = Doc("<p id=a>x<b id=b>y</b></p><custom-tag id=c></custom-tag>");
  EXPECT_EQ(*doc->Body()->TagName(), u"BODY");
  EXPECT_EQ(*doc->ById("c")->TagName(), u"CUSTOM-TAG");
  // HTML 0, HEAD 1, BODY 2, then the page's own elements.
  EXPECT_EQ(doc->Body()->SourceIndex(), 2);
  EXPECT_EQ(doc->ById("a")->SourceIndex(), 3);
  EXPECT_EQ(doc->ById("b")->SourceIndex(), 4);
  EXPECT_EQ(doc->ById("c")->SourceIndex(), 5);
  EXPECT_TRUE(SameElement(*doc->ById("b"), *doc->ElementAt(4)));
  EXPECT_EQ(*doc->ById("b")->Parent()->TagName(), u"P");
  EXPECT_EQ(doc->First("html")->Parent(), nullptr);
}

TEST(MemoryDocument, CollectionsAreLive) {
  auto doc = Doc("<div id=d><span>1</span><table><tr><td>a</td></tr></table><span>2</span></div>");
  auto div = doc->ById("d");
  auto children = div->Children();
  auto spans = children->Tags(u"span");
  auto tables = doc->ElementsByTagName(u"TABLE");
  EXPECT_EQ(Tags(children), (std::vector<WideString>{u"SPAN", u"TABLE", u"SPAN"}));
  EXPECT_EQ(spans->Length(), 2);
  EXPECT_EQ(tables->Length(), 1);
  ASSERT_TRUE(tables->Item(0)->SetOuterHtml(u"\r\n"));
  EXPECT_EQ(children->Length(), 2);
  EXPECT_EQ(tables->Length(), 0);
  EXPECT_EQ(tables->Item(0), nullptr);
  div->SetInnerHtml(u"<span>3</span><span>4</span><span>5</span>");
  EXPECT_EQ(spans->Length(), 3);
  EXPECT_EQ(*spans->Item(2)->InnerText(), u"5");
}

TEST(MemoryDocument, ElementsByTagNameOfAnElementListsDescendantsOnly) {
  auto doc = Doc("<table id=o><tr><td id=c1><table><tr><td>in</td></tr></table></td></tr></table><td>x</td>");
  EXPECT_EQ(doc->ById("o")->ElementsByTagName(u"td")->Length(), 2);
  EXPECT_EQ(doc->ById("c1")->ElementsByTagName(u"td")->Length(), 1);
  EXPECT_EQ(doc->ById("c1")->ElementsByTagName(u"table")->Length(), 1);
}

TEST(MemoryDocument, TableRowsGoThroughHeadBodiesAndFootAndCellsAreTdAndTh) {
  auto doc = Doc(
      "<table id=t><tfoot><tr id=f></tr></tfoot><tbody><tr id=b1><th>h</th><td>1</td><td>2</td></tr></tbody>"
      "<thead><tr id=h></tr></thead><tr id=b2><td><table><tr><td></td></tr></table></td></tr></table>");
  auto rows = doc->ById("t")->Rows();
  ASSERT_TRUE(rows);
  std::vector<long> order;
  for (long i = 0; i < rows->Length(); ++i) order.push_back(rows->Item(i)->SourceIndex());
  EXPECT_EQ(order, (std::vector<long>{doc->ById("h")->SourceIndex(), doc->ById("b1")->SourceIndex(),
                                      doc->ById("b2")->SourceIndex(), doc->ById("f")->SourceIndex()}));
  EXPECT_EQ(Tags(doc->ById("b1")->Cells()), (std::vector<WideString>{u"TH", u"TD", u"TD"}));
  EXPECT_EQ(doc->ById("b1")->Rows(), nullptr);
  EXPECT_EQ(doc->ById("t")->Cells(), nullptr);
}

TEST(MemoryDocument, InlineStyleReadsAndWritesTheStyleAttribute) {
  auto doc = Doc("<div id=a style='color: red; BACKGROUND-COLOR: #123456'>x</div><div id=b>y</div>");
  auto a = doc->ById("a")->InlineStyle();
  EXPECT_EQ(a->BackgroundColor(), StyleValue(u"#123456"));
  a->SetBackgroundColor(WideString(u"#ffcccc"));
  a->SetVisibility(u"hidden");
  EXPECT_EQ(*doc->ById("a")->OuterHtml(),
            u"<DIV id=\"a\" style=\"color: red; background-color: #ffcccc; visibility: hidden;\">x</DIV>");
  auto b = doc->ById("b");
  EXPECT_EQ(b->InlineStyle()->BackgroundColor(), std::nullopt);
  b->InlineStyle()->SetBackgroundColor(WideString(u"#000000"));
  b->InlineStyle()->SetBackgroundColor(std::nullopt);
  EXPECT_EQ(*b->OuterHtml(), u"<DIV id=\"b\">y</DIV>");
}

TEST(MemoryDocument, MarkupAndTextReadAndWrite) {
  auto doc = Doc("<div id=d>One <b>two</b>&amp; three<br>four<p>five</p><script>var x = 1 < 2;</script></div>");
  auto d = doc->ById("d");
  EXPECT_EQ(*d->InnerHtml(), u"One <B>two</B>&amp; three<BR>four<P>five</P><SCRIPT>var x = 1 < 2;</SCRIPT>");
  EXPECT_EQ(*d->InnerText(), u"One two& three\r\nfour\r\nfive");
  d->SetInnerText(u"<plain>");
  EXPECT_EQ(*d->InnerHtml(), u"&lt;plain&gt;");
  d->SetInnerHtml(u"<td>cell</td><i>it</i>");  // a cell outside a table is dropped by the parser
  EXPECT_EQ(*d->InnerHtml(), u"cell<I>it</I>");
  EXPECT_FALSE(doc->First("html")->SetOuterHtml(u"x"));
}

TEST(MemoryDocument, TextOfTablesSeparatesCellsAndRows) {
  auto doc = Doc("<table id=t><tr><td>a  b</td><td>c&nbsp;x</td></tr><tr><td>\n d <pre>p\n q</pre></td></tr></table>");
  EXPECT_EQ(*doc->ById("t")->InnerText(), u"a b\tc\u00a0x\r\nd\r\np\r\n q");
}

TEST(MemoryDocument, ContainmentScrollingRelUrlAndTitle) {
  auto doc = Doc("<title>T &amp; U</title><link id=l rel=StyleSheet href=a.css><div id=o><p id=i></p></div>",
                 u"http://Site.test/x");
  auto o = doc->ById("o"), i = doc->ById("i");
  EXPECT_TRUE(o->Contains(*i));
  EXPECT_TRUE(o->Contains(*o));
  EXPECT_FALSE(i->Contains(*o));
  i->ScrollIntoView(true);
  EXPECT_EQ(doc->scrolled(), std::vector<long>{i->SourceIndex()});
  EXPECT_EQ(doc->ById("l")->Rel(), std::optional<WideString>(u"StyleSheet"));
  EXPECT_EQ(o->Rel(), std::nullopt);
  EXPECT_EQ(doc->Url(), std::optional<WideString>(u"http://Site.test/x"));
  EXPECT_EQ(doc->Title(), std::optional<WideString>(u"T & U"));
}

TEST(MemoryDocument, AReplacedElementIsDetachedButItsHandleStillWorks) {
  auto doc = Doc("<div id=o><p id=i>text</p></div>");
  auto i = doc->ById("i");
  ASSERT_TRUE(i->SetOuterHtml(u"<p>new</p>"));
  EXPECT_LT(i->SourceIndex(), 0);
  EXPECT_EQ(i->Parent(), nullptr);
  EXPECT_EQ(*i->InnerText(), u"text");
  EXPECT_FALSE(doc->ById("o")->Contains(*i));
  EXPECT_EQ(*doc->ById("o")->InnerText(), u"new");
}

TEST(MemoryDocument, FramesAreChildDocumentsInOrder) {
  auto top = LoadPageFile(test::SourceDir() + "/tests/pages", "frameset.html");
  ASSERT_TRUE(top);
  EXPECT_EQ(*top->Body()->TagName(), u"FRAMESET");
  auto frames = top->FrameDocuments();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(*frames[0]->Url(), u"http://pages.test/frame_left.html");
  EXPECT_EQ(*frames[1]->Title(), u"Right");
  auto inner = frames[0]->FrameDocuments();
  ASSERT_EQ(inner.size(), 1u);
  EXPECT_EQ(*inner[0]->Url(), u"http://pages.test/frame_inner.html");
  EXPECT_EQ(LoadPageFile(test::SourceDir() + "/tests/pages", "missing.html"), nullptr);
}

TEST(MemoryDocument, EveryFrameIsADocumentWhetherItsSourceLoadedOrNot) {
  auto doc = MemoryDocument::Parse(
      "<iframe></iframe><iframe src=''></iframe><iframe src='about:blank'></iframe><iframe src=gone.html></iframe>"
      "<iframe src=ok.html></iframe>",
      u"http://h/top", [](const WideString& src, const WideString&) -> std::optional<FramePage> {
        if (src != u"ok.html") return std::nullopt;
        return FramePage{u"http://h/ok.html", "<p>loaded</p>"};
      });
  const auto frames = doc->FrameDocuments();
  ASSERT_EQ(frames.size(), 5u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(*frames[i]->Url(), u"about:blank");
    ASSERT_TRUE(frames[i]->Body());
    EXPECT_EQ(*frames[i]->Body()->InnerText(), u"");
  }
  EXPECT_EQ(*frames[4]->Body()->InnerText(), u"loaded");
}

TEST(MemoryDocument, TheTitleIsStrippedAndItsWhitespaceCollapsed) {
  EXPECT_EQ(*Doc("<title>\n    Market report,\n\t  Monday  </title>")->Title(), u"Market report, Monday");
}

TEST(MemoryDocument, RewritingAStyleKeepsValuesThatHoldSemicolons) {
  auto doc = Doc("<div id=d style=\"background-image: url(data:image/png;base64,AAAA); font-family: 'a;b'\">x</div>");
  auto style = doc->ById("d")->InlineStyle();
  style->SetBackgroundColor(WideString(u"#ffcccc"));
  style->SetBackgroundColor(std::nullopt);
  EXPECT_EQ(*doc->ById("d")->OuterHtml(),
            u"<DIV id=\"d\" style=\"background-image: url(data:image/png;base64,AAAA); font-family: 'a;b';\">x</DIV>");
}

TEST(MemoryDocument, APageThatFramesItselfEnds) {
  const std::string html = "<iframe src=self></iframe>";
  int loads = 0;
  auto doc = MemoryDocument::Parse(html, u"http://h/self", [&](const WideString&, const WideString&) {
    ++loads;
    return std::optional<FramePage>(FramePage{u"http://h/self", html});
  });
  EXPECT_EQ(loads, MemoryDocument::kMaxFrameDepth);
}

TEST(MemoryDocument, DeepTreesAreParsedWrittenAndFreed) {
  const int n = 200000;
  auto repeat = [n](std::string_view piece) {
    std::string out;
    for (int i = 0; i < n; ++i) out += piece;
    return out;
  };
  auto doc = Doc(repeat("<div>") + "deep &amp; down" + repeat("</div>"));
  EXPECT_EQ(*doc->Body()->InnerText(), u"deep & down");
  EXPECT_NE(doc->Body()->InnerHtml()->find(u"<DIV><DIV>deep &amp; down</DIV></DIV>"), WideString::npos);
  auto divs = doc->ElementsByTagName(u"div");
  ASSERT_GT(divs->Length(), 100);
  EXPECT_EQ(*divs->Item(divs->Length() - 1)->OuterHtml(), u"<DIV>deep &amp; down</DIV>");
  // Markup as deep, written into the page, is taken the same way.
  ASSERT_TRUE(divs->Item(0)->SetInnerHtml(Utf8ToUtf16(repeat("<i>") + "inner")));
  EXPECT_EQ(*doc->Body()->InnerText(), u"inner");
}

}  // namespace
}  // namespace ph
