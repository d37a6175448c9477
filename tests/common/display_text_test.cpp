// Display forms shared by both deliverables: modifier sets and the highlight colour.
#include <gtest/gtest.h>

#include "common/highlight_color.h"
#include "common/modifier_set.h"

namespace ph {
namespace {

TEST(ModifierSetText, NamesCtrlAltShiftInThatOrder) {
  EXPECT_EQ(ModifierSetText(0), "None");
  EXPECT_EQ(ModifierSetText(kModShift), "Shift");
  EXPECT_EQ(ModifierSetText(kModCtrl | kModAlt), "Ctrl + Alt");
  EXPECT_EQ(ModifierSetText(7), "Ctrl + Alt + Shift");
  EXPECT_EQ(ModifierSetText(kModShift | kModAlt), "Alt + Shift");
  // Bits beyond the three keys name nothing.
  EXPECT_EQ(ModifierSetText(8), "None");
  EXPECT_EQ(ModifierSetText(8 | kModCtrl), "Ctrl");
  EXPECT_EQ(MakeModifierSet(true, true, false), kModShift | kModCtrl);
}

TEST(HighlightColor, MarkupIsRedGreenBlueInLowerCaseHex) {
  EXPECT_EQ(kDefaultHighlightColor, 13421823u);
  EXPECT_EQ(ColorToMarkup(kDefaultHighlightColor), "#ffcccc");
  EXPECT_EQ(ColorToMarkup(MakeColorRef(0x01, 0xAB, 0x0F)), "#01ab0f");
  EXPECT_EQ(ColorToMarkup(0), "#000000");
  // The unused high byte never leaks into the markup.
  EXPECT_EQ(ColorToMarkup(0xFF000000u | MakeColorRef(1, 2, 3)), "#010203");
}

}  // namespace
}  // namespace ph
