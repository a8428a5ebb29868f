#include "GbkText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kZhong = "\xD6\xD0";  // one two-byte character

}  // namespace

// Whole characters or none: a cut that would fall inside a pair leaves the pair out.
TEST(GbkText, FitKeepsWholeCharacters) {
  struct Case {
    std::string text;
    size_t limit, kept;
  } cases[] = {
      {kZhong + kZhong, 3, 2},
      {kZhong + kZhong, 4, 4},
      {kZhong + kZhong, 1, 0},
      {"a" + kZhong, 2, 1},
      {"ab" + kZhong, 3, 2},
      {"a" + kZhong + "b", 4, 4},
      {"a" + kZhong + "b", 3, 3},
      {kZhong + "\x81\x40", 3, 2},  // lowest lead and trail bytes
      {"\xFE\xFE" + kZhong, 3, 2},  // highest lead byte
      {"\x80\xFF" + kZhong, 3, 2},  // 0x80 and 0xFF are single bytes
      {"\xD6", 5, 1},               // a lone lead byte at the end is one byte
      {"abc\xD6", 4, 4},            // the text fits: nothing is cut
      {"abc\xD6\xD0", 4, 3},
      {"", 4, 0},
      {kZhong, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GbkFitLength(c.text.data(), c.text.size(), c.limit), c.kept) << c.limit << " " << c.text.size();
}

// A field: its text ends at the first zero; a field without one keeps the whole characters
// that leave room for the zero.
TEST(GbkText, FieldLength) {
  struct Case {
    std::string field;  // exactly the field's bytes
    size_t kept;
  } cases[] = {
      {std::string("ab\0\xD6\xD0", 5), 2},
      {"ab" + kZhong + "c", 4},       // 5 bytes, no zero: the last byte goes
      {"abc" + kZhong, 3},            // no zero: the last character goes whole
      {kZhong + kZhong + "\xD6", 4},  // a lead byte in the zero's place goes
      {std::string("\xD6\0zz", 4), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(GbkFieldTextLength(c.field.data(), c.field.size()), c.kept) << c.field.size();
  EXPECT_EQ(GbkFieldTextLength(nullptr, 4), 0u);
  EXPECT_EQ(GbkFieldTextLength("abc", 0), 0u);
}
