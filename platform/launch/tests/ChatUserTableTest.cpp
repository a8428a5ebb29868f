#include "ChatUserTable.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

}  // namespace

TEST(ChatUserTable, TwoColumnsMakeFiftySixBytes) {
  CHAT_TABLE_LAYOUT layout;
  auto widths = ChatTableWidths(layout);
  auto block = BuildChatUserTable(widths, ChatOwnRow(layout, "alice", "Alice", "gold", 7, ""));
  ASSERT_EQ(block.size(), 56u);
  EXPECT_EQ(U32(block, 0), 56u);
  EXPECT_EQ(U32(block, 4), 2u);
  EXPECT_EQ(U32(block, 8), 20u);
  EXPECT_STREQ(reinterpret_cast<const char*>(&block[16]), "alice");
  EXPECT_STREQ(reinterpret_cast<const char*>(&block[36]), "Alice");
}

TEST(ChatUserTable, OptionalColumnsAndCutFields) {
  CHAT_TABLE_LAYOUT layout;
  layout.bColumnA = layout.bColumnB = layout.bWatched = true;
  auto widths = ChatTableWidths(layout);
  ASSERT_EQ(widths, (std::vector<uint32_t>{20, 20, 16, 16, 20}));
  auto block = BuildChatUserTable(widths, ChatOwnRow(layout, std::string(30, 'u'), "n", "gold", -42, "bob"));
  size_t header = 8 + 4 * 5;
  ASSERT_EQ(block.size(), header + 92);
  EXPECT_EQ(U32(block, 0), block.size());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[header])), std::string(19, 'u'));
  EXPECT_STREQ(reinterpret_cast<const char*>(&block[header + 40]), "gold");
  EXPECT_STREQ(reinterpret_cast<const char*>(&block[header + 56]), "-42");
  EXPECT_STREQ(reinterpret_cast<const char*>(&block[header + 72]), "bob");
  // A GBK name is cut between characters.
  auto gbk =
      BuildChatUserTable({20}, {"u\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0"});
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&gbk[12])).size(), 19u);
  auto even =
      BuildChatUserTable({20}, {"\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0"});
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&even[12])).size(), 18u);
  // Fewer fields than columns leave the rest empty.
  auto titles = BuildChatUserTable(widths, {"a"});
  EXPECT_EQ(titles[header + 20], 0);
}
