// Little-endian IO of the data files, above all its refusal to read past the data.
#include "common/le_io.h"

#include <gtest/gtest.h>

namespace ph {
namespace {

TEST(ByteIo, WritesLittleEndianAndReadsItBack) {
  ByteWriter w;
  w.U32(0x04030201);
  w.I32(-2);
  w.U16(0xBEEF);
  w.String("abc");
  const Bytes expected = {1, 2, 3, 4, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xBE, 3, 0, 0, 0, 'a', 'b', 'c'};
  ASSERT_EQ(w.bytes(), expected);

  ByteReader r(w.bytes());
  std::uint32_t u;
  std::int32_t i;
  std::uint16_t s;
  std::string text;
  ASSERT_TRUE(r.U32(&u) && r.I32(&i) && r.U16(&s) && r.String(&text));
  EXPECT_EQ(u, 0x04030201u);
  EXPECT_EQ(i, -2);
  EXPECT_EQ(s, 0xBEEF);
  EXPECT_EQ(text, "abc");
  EXPECT_TRUE(r.AtEnd());
  EXPECT_FALSE(r.U16(&s));
}

TEST(ByteIo, DamagedLengthsFailWithoutReadingOrAllocating) {
  const Bytes huge = {0xFF, 0xFF, 0xFF, 0xFF, 'x'};
  ByteReader r(huge);
  std::string text = "kept";
  EXPECT_FALSE(r.String(&text));
  EXPECT_EQ(text, "kept");

  const Bytes truncated = {1, 2, 3};
  ByteReader t(truncated);
  std::uint32_t u;
  EXPECT_FALSE(t.U32(&u));
  EXPECT_FALSE(t.Skip(4));
  EXPECT_TRUE(t.Skip(3));
  EXPECT_TRUE(t.AtEnd());
}

}  // namespace
}  // namespace ph
