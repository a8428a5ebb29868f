#include <gtest/gtest.h>

#include <cstring>

#include "ChatCore.h"

using namespace qkchat;

TEST(ChatMarkup, RunsAndLines) {
  auto lines = ParseMarkup("\r\n<s=9,c=#FF#00#10,b>[a] cut<s=12,c=#00#00#00>!\r\n\nplain");
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[0].size(), 2u);
  EXPECT_EQ(lines[0][0].text, "[a] cut");
  EXPECT_EQ(lines[0][0].rgb, 0xFF0010u);
  EXPECT_TRUE(lines[0][0].bold);
  EXPECT_EQ(lines[0][1].size, 12);
  EXPECT_FALSE(lines[0][1].bold);
  EXPECT_EQ(lines[1][0].text, "plain");
}

TEST(ChatMarkup, MalformedTagsAreText) {
  const char* cases[] = {"<s=9>x", "<s=9,c=#GG#00#00>x", "<s=9,c=#00#00>x", "<s=9,c=#00#00#00,q>x",
                         "<b>x",   "<s=9,c=#00#00#00"};
  for (const char* c : cases) {
    auto lines = ParseMarkup(c);
    ASSERT_EQ(lines.size(), 1u) << c;
    ASSERT_EQ(lines[0].size(), 1u) << c;
    EXPECT_EQ(lines[0][0].text, c) << c;
  }
}

TEST(ChatMarkup, StyleTagRoundTrips) {
  EXPECT_EQ(StyleTag(9, 0x0A0B0C, true), "<s=9,c=#0A#0B#0C,b>");
  auto lines = ParseMarkup(StyleTag(10, 0x123456, false) + "t");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0][0].rgb, 0x123456u);
}

namespace {
std::vector<uint8_t> Block(const std::vector<std::pair<uint32_t, std::string>>& cols) {
  std::vector<uint8_t> b(8 + 4 * cols.size());
  auto put = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
  };
  put(4, uint32_t(cols.size()));
  for (size_t i = 0; i < cols.size(); ++i) put(8 + 4 * i, cols[i].first);
  for (auto& c : cols) {
    size_t at = b.size();
    b.resize(at + c.first);
    std::memcpy(&b[at], c.second.data(), std::min<size_t>(c.second.size(), c.first));
  }
  put(0, uint32_t(b.size()));
  return b;
}
}  // namespace

TEST(UserTable, ParsesAndRejects) {
  auto b = Block({{20, "alice"}, {20, "Alice"}, {16, "1000"}});
  std::vector<std::string> cells;
  ASSERT_TRUE(ParseUserTable(b.data(), b.size(), &cells));
  EXPECT_EQ(cells, (std::vector<std::string>{"alice", "Alice", "1000"}));
  // A field filled to its width has no terminator: it ends at the width.
  auto full = Block({{4, "abcd"}});
  ASSERT_TRUE(ParseUserTable(full.data(), full.size(), &cells));
  EXPECT_EQ(cells[0], "abcd");
  EXPECT_FALSE(ParseUserTable(b.data(), b.size() - 1, &cells));  // total beyond the given size
  auto bad = b;
  bad[8] = 200;  // widths no longer add up to the total
  EXPECT_FALSE(ParseUserTable(bad.data(), bad.size(), &cells));
  auto many = b;
  many[4] = 100;  // more columns than any table has
  EXPECT_FALSE(ParseUserTable(many.data(), many.size(), &cells));
  EXPECT_TRUE(cells.empty());
}

TEST(LineBuffer, SplitsAndBounds) {
  LineBuffer lb;
  lb.Append("SAY\ta\thi\r\nJO", 12);
  std::string line;
  ASSERT_TRUE(lb.Next(&line));
  EXPECT_EQ(SplitFields(line), (std::vector<std::string>{"SAY", "a", "hi"}));
  EXPECT_FALSE(lb.Next(&line));
  std::string big(LineBuffer::kMaxLine + 10, 'x');
  lb.Append(big.data(), big.size());
  ASSERT_TRUE(lb.Next(&line));
  EXPECT_EQ(line.size(), LineBuffer::kMaxLine);
  EXPECT_EQ(JoinFields({"SAY", "a\tb\nc"}), "SAY\ta b c");
}
