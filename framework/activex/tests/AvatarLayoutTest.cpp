#include <gtest/gtest.h>

#include "AvatarLayout.h"

using namespace avatarlayout;

TEST(AvatarLayout, PresetSizes) {
  struct Case {
    int type, border, w, h;
  } cases[] = {{1, 0, 54, 72},   {1, 5, 54, 72},    {2, 2, 71, 96},    {3, 2, 64, 88},   {4, 2, 74, 102},
               {8, 2, 114, 158}, {11, 2, 144, 194}, {12, 2, 154, 194}, {12, 0, 150, 190}};
  for (const auto& c : cases) {
    int w = 0, h = 0;
    ASSERT_TRUE(PresetSize(c.type, c.border, &w, &h)) << c.type;
    EXPECT_EQ(w, c.w) << c.type;
    EXPECT_EQ(h, c.h) << c.type;
  }
  int w, h;
  EXPECT_FALSE(PresetSize(0, 2, &w, &h));
  EXPECT_FALSE(PresetSize(13, 2, &w, &h));
}

TEST(AvatarLayout, Offsets) {
  struct Case {
    int h, resize, show;
  } cases[] = {{40, -34, -34}, {54, -27, -27}, {60, -27, -27}, {78, -27, -27}, {85, -27, -27}, {100, -10, -26},
               {144, -6, -22}, {150, -5, -19}, {189, 14, 0},   {190, 0, 1},    {200, 5, 5}};
  for (const auto& c : cases) {
    EXPECT_EQ(ResizeOffsetY(c.h), c.resize) << c.h;
    EXPECT_EQ(ShowOffsetY(c.h), c.show) << c.h;
  }
  EXPECT_EQ(OffsetX(60), -45);
}

TEST(AvatarLayout, MarkByFlags) {
  struct Case {
    uint32_t flags;
    int bitmap;
  } cases[] = {{0x44, 29713}, {0x40, 29713}, {4, 29709},    {0x24, 29709}, {0x20, 29712},
               {0x10, 29712}, {2, 29708},    {0x12, 29712}, {0, 0},        {1, 0}};
  for (const auto& c : cases) EXPECT_EQ(MarkBitmap(c.flags), c.bitmap) << c.flags;
}
