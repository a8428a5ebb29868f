#include "TgaDecode.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Header(int type, int w, int h, int depth, int descriptor, int mapType = 0, int mapLen = 0,
                            int mapDepth = 0) {
  return {0,
          static_cast<uint8_t>(mapType),
          static_cast<uint8_t>(type),
          0,
          0,
          static_cast<uint8_t>(mapLen),
          static_cast<uint8_t>(mapLen >> 8),
          static_cast<uint8_t>(mapDepth),
          0,
          0,
          0,
          0,
          static_cast<uint8_t>(w),
          static_cast<uint8_t>(w >> 8),
          static_cast<uint8_t>(h),
          static_cast<uint8_t>(h >> 8),
          static_cast<uint8_t>(depth),
          static_cast<uint8_t>(descriptor)};
}

}  // namespace

TEST(TgaDecode, TrueColourBottomUpIsFlipped) {
  auto t = Header(2, 2, 2, 24, 0);
  // Bottom row first: blue, green; then the top row: red, white.
  for (uint8_t b : {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}) t.push_back(b);
  TgaImage img;
  ASSERT_TRUE(DecodeTga(t.data(), t.size(), img));
  EXPECT_EQ(img.width, 2);
  EXPECT_EQ(img.bgra[2], 255);  // top-left is red
  EXPECT_EQ(img.bgra[8], 255);  // bottom-left is blue
  EXPECT_EQ(img.alpha[0], 255);
}

TEST(TgaDecode, RunLengthAndColourMap) {
  auto t = Header(9, 3, 1, 8, 0x20, 1, 2, 24);
  for (uint8_t b : {10, 20, 30, 40, 50, 60}) t.push_back(b);  // two palette entries
  for (uint8_t b : {0x81, 1, 0x00, 0}) t.push_back(b);        // run of 2 x entry 1, raw 1 x entry 0
  TgaImage img;
  ASSERT_TRUE(DecodeTga(t.data(), t.size(), img));
  EXPECT_EQ(img.paletteCount(), 2);
  EXPECT_EQ(img.bgra[0], 40);
  EXPECT_EQ(img.bgra[4], 40);
  EXPECT_EQ(img.bgra[8], 10);
}

TEST(TgaDecode, RefusesDamagedImages) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"short header", std::vector<uint8_t>(17, 0)},
      {"zero width", Header(2, 0, 1, 24, 0)},
      {"huge", Header(2, 8193, 1, 24, 0)},
      {"unknown type", Header(5, 1, 1, 24, 0)},
      {"bad depth", Header(2, 1, 1, 12, 0)},
      {"truncated pixels",
       [] {
         auto t = Header(2, 2, 2, 32, 0);
         t.resize(t.size() + 15);
         return t;
       }()},
      {"index outside map",
       [] {
         auto t = Header(1, 1, 1, 8, 0, 1, 1, 24);
         for (uint8_t b : {1, 2, 3, 5}) t.push_back(b);
         return t;
       }()},
      {"rle truncated",
       [] {
         auto t = Header(10, 4, 1, 24, 0);
         for (uint8_t b : {0x83, 1, 2}) t.push_back(b);
         return t;
       }()},
  };
  for (const auto& c : cases) {
    TgaImage img;
    EXPECT_FALSE(DecodeTga(c.bytes.data(), c.bytes.size(), img)) << c.what;
  }
}
