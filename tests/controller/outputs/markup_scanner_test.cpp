// The tag scanner: which values it rewrites, and that every other byte passes unchanged.
#include "controller/outputs/markup_scanner.h"

#include <gtest/gtest.h>

namespace ph {
namespace {

// Marks each rewritten value so that the tests see which ones were touched and how.
class MarkingRewriter : public ReferenceRewriter {
 public:
  void Rewrite(ReferenceKind kind, std::string_view value, std::string* out) override {
    out->append(kind == ReferenceKind::kCapture ? "C[" : "A[");
    out->append(value);
    out->append("]");
  }
};

struct Scan {
  std::string out;
  ScanOutcome outcome;
};

Scan ScanOf(std::string_view markup) {
  MarkingRewriter r;
  Scan s;
  s.outcome = ScanMarkup(markup, r, &s.out);
  return s;
}

std::string Out(std::string_view markup) { return ScanOf(markup).out; }

TEST(MarkupScanner, RewritesTheThreeReferencePairsInAnyCase) {
  EXPECT_EQ(Out("<img src=\"a.gif\">"), "<img src=\"C[a.gif]\">");
  EXPECT_EQ(Out("<IMG SRC=a.gif>"), "<IMG SRC=C[a.gif]>");
  EXPECT_EQ(Out("<Link rel=stylesheet HREF='s.css'>"), "<Link rel=stylesheet HREF='C[s.css]'>");
  EXPECT_EQ(Out("<a href='/x'>x</a>"), "<a href='A[/x]'>x</a>");
  EXPECT_EQ(Out("<A\r\n\tHref = \"u\" >"), "<A\r\n\tHref = \"A[u]\" >");
}

TEST(MarkupScanner, LeavesOtherTagsAndAttributesAlone) {
  for (const char* m : {"<img alt=\"src\" data-src=x>", "<a name=href>", "<image src=x>", "<abbr href=x>",
                        "<script src=x.js></script>", "<link src=x>", "<img srcset=\"a 1x\">"}) {
    EXPECT_EQ(Out(m), m);
  }
}

TEST(MarkupScanner, CopiesEverythingOutsideTheValuesByteForByte) {
  const std::string markup =
      "text \xe9\x01 before<!-- c --><p class=x  id = 'y'>para<img  src = \"i.png\"  alt='a>b' >\r\n"
      "<br/><input disabled><a href=h title=\"t\">l</a> tail";
  std::string expected = markup;
  expected.replace(expected.find("i.png"), 5, "C[i.png]");
  expected.replace(expected.find("=h ") + 1, 1, "A[h]");
  EXPECT_EQ(Out(markup), expected);
}

TEST(MarkupScanner, MarkupWithoutTagsOrWithBareAttributesIsUnchanged) {
  EXPECT_EQ(Out(""), "");
  EXPECT_EQ(Out("no tags at all > here"), "no tags at all > here");
  EXPECT_EQ(Out("<input checked disabled>"), "<input checked disabled>");
  EXPECT_EQ(Out("<img src>"), "<img src>");
  EXPECT_EQ(Out("a < b and c > d"), "a < b and c > d");
  EXPECT_EQ(Out("<   >< >"), "<   >< >");
}

TEST(MarkupScanner, QuotedValuesKeepTheirOtherQuoteAndAngleBrackets) {
  EXPECT_EQ(Out("<a title='say \"hi\" > go' href=\"x'y\">"), "<a title='say \"hi\" > go' href=\"A[x'y]\">");
}

TEST(MarkupScanner, EmptyValuesAreStillReferences) {
  EXPECT_EQ(Out("<a href=\"\">"), "<a href=\"A[]\">");
  EXPECT_EQ(Out("<a href=>"), "<a href=A[]>");
}

TEST(MarkupScanner, OpenTagAtTheEndIsWrittenAsItStands) {
  EXPECT_EQ(ScanOf("x<img").out, "x<img");
  EXPECT_EQ(ScanOf("x<img").outcome, ScanOutcome::kComplete);
  EXPECT_EQ(ScanOf("<img src=a.gif alt").out, "<img src=C[a.gif] alt");
  EXPECT_EQ(ScanOf("<a href=x ").out, "<a href=A[x] ");
  EXPECT_EQ(Out("<  "), "<  ");
}

TEST(MarkupScanner, MalformedValuesAreReportedAndTheRestIsKept) {
  Scan s = ScanOf("<img src=a><a href=   ==  ");
  EXPECT_EQ(s.outcome, ScanOutcome::kMissingValue);
  EXPECT_EQ(s.out, "<img src=C[a]><a href=   ==  ");
  EXPECT_EQ(ScanDiagnostic(s.outcome), "error 1");

  s = ScanOf("<a href=b>x</a><img src=\"unended.gif><p>more</p>");
  EXPECT_EQ(s.outcome, ScanOutcome::kUnendedValue);
  EXPECT_EQ(s.out, "<a href=A[b]>x</a><img src=\"unended.gif><p>more</p>");
  EXPECT_EQ(ScanDiagnostic(s.outcome), "Error 2");

  s = ScanOf("<img src=runs-to-the-end");
  EXPECT_EQ(s.outcome, ScanOutcome::kUnendedValue);
  EXPECT_EQ(s.out, "<img src=runs-to-the-end");
  EXPECT_EQ(ScanDiagnostic(ScanOutcome::kComplete), "");
}

// A rewritten value cannot close its attribute early and inject markup.
class HostileRewriter : public ReferenceRewriter {
 public:
  void Rewrite(ReferenceKind, std::string_view, std::string* out) override { out->append("a\"b'c d>e"); }
};

TEST(MarkupScanner, RewrittenValuesAreEscapedForTheirQuoting) {
  HostileRewriter r;
  std::string out;
  ScanMarkup("<a href=\"x\"><a href='x'><a href=x>", r, &out);
  EXPECT_EQ(out, "<a href=\"a%22b'c d>e\"><a href='a\"b%27c d>e'><a href=a\"b'c%20d%3Ee>");
}

}  // namespace
}  // namespace ph
