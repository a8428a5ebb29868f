#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PanelUrl.h"

using namespace panelurl;

TEST(PanelUrl, Encoding) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"bob smith", "bob+smith"},
      {"a-b_c.d~e", "a-b_c.d~e"},
      {"\xE5\xBC\xA0\xE4\xB8\x89", "%E5%BC%A0%E4%B8%89"},  // a Chinese name in UTF-8
      {"a&b=c%", "a%26b%3Dc%25"},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.in), c.out) << c.in;
}

TEST(PanelUrl, RegisterServer) {
  EXPECT_EQ(RegisterServer("reg.example,2000"), "reg.example");
  EXPECT_EQ(RegisterServer(",reg.example"), ",reg.example");
  EXPECT_EQ(RegisterServer("reg.example"), "reg.example");
  EXPECT_EQ(RegisterServer(""), "");
}

TEST(PanelUrl, Substitution) {
  EXPECT_EQ(Substitute("http://p/?u=%UserName%&t=%Ticket%&again=%UserName%", "a+b", "T%26"),
            "http://p/?u=a+b&t=T%26&again=a+b");
  EXPECT_EQ(Substitute("http://p/plain", "x", "y"), "http://p/plain");
  EXPECT_EQ(Substitute("http://p/?t=%Ticket%", "x", ""), "http://p/?t=");
}

TEST(PanelUrl, RoomTextNeedsTheWholeField) {
  std::vector<uint8_t> block(42536, 0);
  std::memcpy(&block[kRoomTextOffset], "room 7", 6);
  EXPECT_EQ(RoomText(block.data(), block.size()), "room 7");
  // Unterminated: cut at the field's end.
  std::memset(&block[kRoomTextOffset], 'x', kRoomTextSize);
  EXPECT_EQ(RoomText(block.data(), block.size()).size(), kRoomTextSize);
  EXPECT_EQ(RoomText(block.data(), kRoomTextOffset + kRoomTextSize - 1), "");
  EXPECT_EQ(RoomText(nullptr, 0), "");
}

TEST(PanelUrl, ChatHeightCap) {
  EXPECT_EQ(CapChatHeight(200), 150);
  EXPECT_EQ(CapChatHeight(150), 150);
  EXPECT_EQ(CapChatHeight(-1), -1);
}
