// Reads back the generated card sheets: size, depth, the grid, and that every card is
// black wherever the mask is white, so the painter's AND/OR leaves the table visible.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "CardCells.h"
#include "DibFormat.h"

namespace {

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool black() const { return r == 0 && g == 0 && b == 0; }
  bool white() const { return r == 255 && g == 255 && b == 255; }
};

struct Sheet {
  DibInfo info;
  std::vector<uint8_t> file;
  const uint8_t* dib() const { return file.data() + 14; }
  Rgb at(int x, int y) const {
    const int row = info.topDown ? y : std::abs(info.height) - 1 - y;
    const uint8_t* p = dib() + info.bitsOffset + static_cast<size_t>(row) * info.rowBytes;
    if (info.bitCount == 8) {
      const uint8_t* e = dib() + info.tableOffset + p[x] * 4;
      return {e[2], e[1], e[0]};
    }
    const uint8_t* q = p + x * (info.bitCount / 8);
    return {q[2], q[1], q[0]};
  }
};

Sheet Load(uint16_t type) {
  Sheet s;
  std::ifstream f(std::string(CARD_SHEET_DIR) + "/cards" + std::to_string(type) + ".bmp", std::ios::binary);
  s.file.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  EXPECT_EQ(ValidateBmpFile(s.file.data(), s.file.size(), &s.info), DibError::None) << "type " << type;
  return s;
}

class SheetCheck : public ::testing::TestWithParam<int> {};

TEST_P(SheetCheck, SizeDepthAndMaskAgreement) {
  const CardSheetSpec& spec = kCardSheets[GetParam()];
  Sheet s = Load(spec.type);
  if (HasFailure()) return;
  const int cw = spec.cellW, ch = spec.cellH;
  ASSERT_EQ(s.info.width, kCardColumns * cw);
  ASSERT_EQ(std::abs(s.info.height), kCardRows * ch);
  ASSERT_EQ(s.info.bitCount, spec.bitsPerPixel);
  if (spec.bitsPerPixel == 8) {
    EXPECT_GT(s.info.colourCount, 16u);
  }

  // The mask cell: only black and white, transparent corners, an opaque middle.
  int mx, my;
  CardMaskOrigin(cw, ch, &mx, &my);
  std::vector<bool> clear(static_cast<size_t>(cw) * ch);
  int clearCount = 0;
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) {
      Rgb p = s.at(mx + x, my + y);
      ASSERT_TRUE(p.black() || p.white()) << "mask pixel " << x << "," << y;
      clear[y * cw + x] = p.white();
      clearCount += p.white();
    }
  for (auto corner : {std::pair<int, int>{0, 0}, {cw - 1, 0}, {0, ch - 1}, {cw - 1, ch - 1}})
    EXPECT_TRUE(clear[corner.second * cw + corner.first]) << "corner " << corner.first << "," << corner.second;
  EXPECT_FALSE(clear[(ch / 2) * cw + cw / 2]);
  EXPECT_FALSE(clear[(ch / 2) * cw]);           // the left edge is card
  EXPECT_FALSE(clear[(ch / 2) * cw + cw - 1]);  // and so is the right edge
  EXPECT_LT(clearCount, cw * ch / 20);

  std::set<std::vector<uint8_t>> distinct;
  for (int row = 1; row <= kCardRows; ++row)
    for (int col = 1; col <= kCardColumns; ++col) {
      if (row == 4 && col == 14) continue;
      int ox, oy;
      CardCellOrigin(static_cast<uint16_t>(row << 4 | col), cw, ch, &ox, &oy);
      std::vector<uint8_t> bytes;
      int paper = 0, reds = 0;
      for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
          Rgb p = s.at(ox + x, oy + y);
          if (clear[y * cw + x]) {
            ASSERT_TRUE(p.black()) << "cell " << row << "," << col << " pixel " << x << "," << y;
          } else {
            paper += p.r > 200 && p.g > 200 && p.b > 200;
            reds += p.r > 150 && p.g < 90 && p.b < 90;
          }
          bytes.insert(bytes.end(), {p.r, p.g, p.b});
        }
      distinct.insert(bytes);
      if (col == 14) continue;
      EXPECT_GT(paper, cw * ch / 3) << "cell " << row << "," << col;
      // Number cards: red ink on hearts and diamonds only.
      if (col <= 10) {
        if (row == 2 || row == 3) {
          EXPECT_GT(reds, 6) << "cell " << row << "," << col;
        } else {
          EXPECT_EQ(reds, 0) << "cell " << row << "," << col;
        }
      }
    }
  EXPECT_EQ(distinct.size(), 55u) << "every card cell differs from the others";
}

INSTANTIATE_TEST_SUITE_P(AllSheets, SheetCheck, ::testing::Values(0, 1, 2, 3, 4));

}  // namespace
