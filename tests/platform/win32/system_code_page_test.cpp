// The table conversion and the system's CP_ACP conversion agree on every unit and every byte.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/code_page.h"

namespace ph {
namespace {

class SystemCodePageAgreement : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::GetACP() != 1252) GTEST_SKIP() << "the table stands for code page 1252, this system uses " << ::GetACP();
  }
  std::unique_ptr<CodePage> system_ = MakeSystemCodePage();
  Windows1252 table_;
};

TEST_F(SystemCodePageAgreement, EveryBmpUnitConvertsAlike) {
  for (char32_t u = 1; u <= 0xFFFF; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;  // lone surrogates: checked in pairs below
    const WideString s(1, static_cast<char16_t>(u));
    ASSERT_EQ(system_->ToAnsi(s), table_.ToAnsi(s)) << "unit U+" << std::hex << static_cast<unsigned>(u);
  }
  EXPECT_EQ(system_->ToAnsi(u"a\U0001F600b"), table_.ToAnsi(u"a\U0001F600b"));
}

TEST_F(SystemCodePageAgreement, EveryBaseWithEveryCombiningMarkConvertsAlike) {
  for (char16_t base = 0x20; base < 0x250; ++base) {
    for (char16_t mark = 0x300; mark <= 0x36F; ++mark) {
      const WideString s = {base, mark, u'x'};
      ASSERT_EQ(system_->ToAnsi(s), table_.ToAnsi(s))
          << "U+" << std::hex << static_cast<unsigned>(base) << " U+" << static_cast<unsigned>(mark);
    }
  }
  EXPECT_EQ(system_->ToAnsi(u"a\u0308\u0301"), table_.ToAnsi(u"a\u0308\u0301"));
}

TEST_F(SystemCodePageAgreement, EveryByteConvertsAlike) {
  for (int b = 1; b < 256; ++b) {
    const std::string s(1, static_cast<char>(b));
    ASSERT_EQ(system_->FromAnsi(s), table_.FromAnsi(s)) << "byte " << b;
  }
}

}  // namespace
}  // namespace ph
