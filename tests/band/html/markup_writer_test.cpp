// The markup writer writes elements as the browser serialises them.
#include <gtest/gtest.h>

#include "band/html/markup_writer.h"

namespace ph {
namespace {

TEST(MarkupWriter, VoidElementsHaveNoEndTag) {
  for (const char16_t* tag : {u"AREA", u"BASE", u"BASEFONT", u"BGSOUND", u"BR", u"COL", u"EMBED", u"FRAME", u"HR",
                              u"IMG", u"INPUT", u"KEYGEN", u"LINK", u"META", u"PARAM", u"SOURCE", u"TRACK", u"WBR"}) {
    MemoryNode div;
    div.SetTag(u"DIV");
    AppendNode(&div, MemoryNode::Type::kElement, tag)->SetAttribute(u"id", u"v");
    AppendNode(&div, MemoryNode::Type::kText, u"after");
    EXPECT_EQ(OuterMarkup(div), u"<DIV><" + WideString(tag) + u" id=\"v\">after</DIV>");
  }
}

}  // namespace
}  // namespace ph
