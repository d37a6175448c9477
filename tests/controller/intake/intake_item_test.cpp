// The intake item made from a received hand-off record.
#include "controller/intake/intake_item.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"

namespace ph {
namespace {

TEST(IntakeItem, FieldsAreConvertedToAnsiAndLayoutValuesStartAtZero) {
  Windows1252 cp;
  const IntakeItem item = MakeIntakeItem(
      HandoffFields{u"<p>e\u0301</p>", u"\u4E2D!", u"http://h/", u"T\u00E9", u"<style></style>"}, cp);
  EXPECT_EQ(item.html, "<p>\xE9</p>");
  EXPECT_EQ(item.text, " !");
  EXPECT_EQ(item.url, "http://h/");
  EXPECT_EQ(item.title, "T\xE9");
  EXPECT_EQ(item.style, "<style></style>");
  EXPECT_EQ(item.layout_id, 0);
  EXPECT_EQ(item.quick_save, 0);
}

}  // namespace
}  // namespace ph
