#include "WireBytes.h"

#include <gtest/gtest.h>

TEST(WireBytes, ReadsLittleEndianAndStopsAtTheEnd) {
  const uint8_t body[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 'a', 'b', 0, 'x'};
  wire::Reader r(body, sizeof body);
  uint32_t u;
  uint16_t h;
  std::string s;
  ASSERT_TRUE(r.U32(&u));
  EXPECT_EQ(u, 0x04030201u);
  ASSERT_TRUE(r.U16(&h));
  EXPECT_EQ(h, 0x0605);
  bool terminated = false;
  ASSERT_TRUE(r.CString(&s, &terminated));
  EXPECT_EQ(s, "ab");
  EXPECT_TRUE(terminated);
  ASSERT_TRUE(r.CString(&s, &terminated));  // runs to the end without a zero
  EXPECT_EQ(s, "x");
  EXPECT_FALSE(terminated);
  EXPECT_FALSE(r.U8(reinterpret_cast<uint8_t*>(&h)));
  EXPECT_FALSE(r.ok());
  EXPECT_FALSE(r.Skip(0));  // a failed reader stays failed
}

TEST(WireBytes, FieldsAreBoundedBothWays) {
  wire::Writer w;
  w.Field("abc", 5);
  w.Field("toolong", 4);
  ASSERT_EQ(w.bytes().size(), 9u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(w.bytes().data()), 9), std::string("abc\0\0too\0", 9));
  wire::Reader r(w.bytes().data(), w.bytes().size());
  std::string a, b;
  ASSERT_TRUE(r.Field(5, &a));
  ASSERT_TRUE(r.Field(4, &b));
  EXPECT_EQ(a, "abc");
  EXPECT_EQ(b, "too");
  EXPECT_FALSE(r.Field(1, &a));
  const char full[4] = {'w', 'x', 'y', 'z'};  // no zero inside the field
  wire::Reader f(full, 4);
  ASSERT_TRUE(f.Field(4, &a));
  EXPECT_EQ(a, "wxyz");
}
