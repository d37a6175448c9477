// The hand-off record on the wire: layout and bounds of the unpacker.
#include "common/handoff_record.h"

#include <gtest/gtest.h>


namespace ph {
namespace {

HandoffFields Fields(WideString html, WideString text, WideString url, WideString title, WideString style) {
  return {std::move(html), std::move(text), std::move(url), std::move(title), std::move(style)};
}

TEST(HandoffRecord, EmptyFieldsGiveTenZeroBytes) {
  const Bytes record = PackHandoffRecord(HandoffFields{});
  EXPECT_EQ(record, Bytes(10, 0));
  EXPECT_EQ(UnpackHandoffRecord(record.data(), record.size()), HandoffFields{});
}

TEST(HandoffRecord, FieldsAreLittleEndianUnitsEachEndedByOneZeroUnit) {
  const Bytes record = PackHandoffRecord(Fields(u"A", u"\u20AC", u"", u"t", u""));
  const Bytes expected = {'A', 0, 0, 0, 0xAC, 0x20, 0, 0, 0, 0, 't', 0, 0, 0, 0, 0};
  EXPECT_EQ(record, expected);
}

TEST(HandoffRecord, RoundTripKeepsEveryFieldInPlace) {
  const HandoffFields in = Fields(u"<b>A</b>\r\n<i>B</i>", u"A\r\nB", u"http://example.test/p?q=1",
                                  u"Title \u4E2D", u"<style>p{}</style>\r\n<link rel=stylesheet>");
  const Bytes record = PackHandoffRecord(in);
  std::size_t units = 0;
  for (const auto& f : in) units += f.size() + 1;
  EXPECT_EQ(record.size(), 2 * units);
  EXPECT_EQ(UnpackHandoffRecord(record.data(), record.size()), in);
}

TEST(HandoffRecord, EmbeddedZeroUnitIsCutSoTheOtherFieldsStayInPlace) {
  WideString html = u"ab";
  html += u'\0';
  html += u"cd";
  const Bytes record = PackHandoffRecord(Fields(html, u"text", u"url", u"title", u"style"));
  EXPECT_EQ(UnpackHandoffRecord(record.data(), record.size()),
            Fields(u"ab", u"text", u"url", u"title", u"style"));
}

TEST(HandoffRecord, UnpackNeverReadsPastCbData) {
  const Bytes full = PackHandoffRecord(Fields(u"html", u"text", u"url", u"title", u"style"));
  // Every prefix of the record, copied into a buffer of exactly its size so that the sanitizer
  // catches any read beyond it.
  for (std::size_t size = 0; size <= full.size(); ++size) {
    std::vector<std::uint8_t> exact(full.begin(), full.begin() + size);
    const HandoffFields got = UnpackHandoffRecord(exact.empty() ? nullptr : exact.data(), size);
    (void)got;
  }
  // Three complete fields and half of the fourth: the cut field keeps what arrived, the rest are empty.
  const std::size_t cut = 2 * (5 + 5 + 4) + 2 * 3;  // "html\0text\0url\0" + "tit"
  EXPECT_EQ(UnpackHandoffRecord(full.data(), cut), Fields(u"html", u"text", u"url", u"tit", u""));
  // An odd trailing byte cannot form a unit.
  EXPECT_EQ(UnpackHandoffRecord(full.data(), 3), Fields(u"h", u"", u"", u"", u""));
  EXPECT_EQ(UnpackHandoffRecord(nullptr, 100), HandoffFields{});
}

TEST(HandoffRecord, ExtraDataAfterFiveTerminatorsIsIgnored) {
  Bytes record = PackHandoffRecord(Fields(u"a", u"b", u"c", u"d", u"e"));
  record.insert(record.end(), {'x', 0, 'y', 0});
  EXPECT_EQ(UnpackHandoffRecord(record.data(), record.size()), Fields(u"a", u"b", u"c", u"d", u"e"));
}

}  // namespace
}  // namespace ph
