// The theme's picture paths and the soft-mask blend, byte by byte.
#include "ThemeBitmapsCore.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace themebmp;

TEST(ThemeBitmaps, PathsFollowTheTableAndTheFolders) {
  EXPECT_STREQ(ThemeBitmapFile(136), "icon-5.bmp");
  EXPECT_STREQ(ThemeBitmapFile(29725), "BT-1-1.bmp");
  EXPECT_EQ(ThemeBitmapFile(137), nullptr);
  std::set<std::string> present = {"C:\\skin\\theme\\respic\\VESK32.bmp"};
  auto exists = [&](const std::string& p) { return present.count(p) > 0; };
  EXPECT_EQ(ThemeBitmapPath(155, "C:\\skin", "D:\\share", exists), "C:\\skin\\theme\\respic\\VESK32.bmp");
  // Missing under the net skin: the profile's folder, whether the file is there or not.
  EXPECT_EQ(ThemeBitmapPath(202, "C:\\skin", "D:\\share", exists), "D:\\share\\theme\\respic\\Farmer.bmp");
  EXPECT_EQ(ThemeBitmapPath(202, "", "D:\\share", exists), "D:\\share\\theme\\respic\\Farmer.bmp");
  EXPECT_EQ(ThemeBitmapPath(1, "C:\\skin", "D:\\share", exists), "");
}

TEST(ThemeBitmaps, BlendWeighsImageAndBackgroundByTheMask) {
  // Two pixels a row, two rows: stride 8 (6 bytes padded).
  const int w = 2, h = 2, stride = Stride24(w);
  ASSERT_EQ(stride, 8);
  std::vector<uint8_t> image(stride * h, 200), dst(stride * h, 100), mask(stride * h, 0);
  mask[0] = 255;               // pixel (0,0): all image
  mask[3] = 0;                 // pixel (1,0): all background
  mask[stride] = 128;          // pixel (0,1): half and half
  mask[stride + 3 + 1] = 255;  // only the blue byte counts: green and red are ignored
  std::vector<uint8_t> padding = dst;
  BlendRows(dst.data(), image.data(), mask.data(), w, h, stride);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(dst[c], (200 * 255) >> 8);
    EXPECT_EQ(dst[3 + c], (100 * 255) >> 8);
    EXPECT_EQ(dst[stride + c], (200 * 128 + 100 * 127) >> 8);
    EXPECT_EQ(dst[stride + 3 + c], (100 * 255) >> 8);
  }
  EXPECT_EQ(dst[6], padding[6]) << "the row padding is left alone";
  EXPECT_EQ(dst[7], padding[7]);
  BlendRows(nullptr, image.data(), mask.data(), w, h, stride);  // refused, no crash
  BlendRows(dst.data(), image.data(), mask.data(), w, h, 5);    // a stride too short is refused
}
