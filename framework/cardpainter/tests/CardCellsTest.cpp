// The request checks and cell arithmetic that both card painters share.
#include "CardCells.h"

#include <gtest/gtest.h>

namespace {

TEST(CardCells, ResultCodesInTheirOrder) {
  struct {
    bool dc;
    uint16_t type, mask, code;
    int expected;
  } cases[] = {
      {true, 1, 0x1F, 0x11, CARD_DRAWN},           {false, 7, 0, 0, CARD_NO_DC},         // the DC is checked first
      {true, 1, 0x14, 0x11, CARD_TYPE_NOT_LOADED},                                       // mask of types 4 and 16
      {true, 4, 0x14, 0x11, CARD_DRAWN},           {true, 0, 0, 0x11, CARD_BAD_TYPE},    // type 0 passes the mask test
      {true, 1, 0x1F, 0x0F, CARD_BAD_ROW},         {true, 1, 0x1F, 0x50, CARD_BAD_ROW},  // row before column
      {true, 1, 0x1F, 0xFFFF, CARD_BAD_ROW},       {true, 1, 0x1F, 0x10, CARD_BAD_COLUMN},
      {true, 1, 0x1F, 0x4F, CARD_BAD_COLUMN},      {true, 1, 0x1F, 0x4E, CARD_DRAWN},  // the mask cell itself
      {true, 3, 3, 0x1E, CARD_BAD_TYPE},  // two bits pass mask and code tests
      {true, 3, 1, 0x1E, CARD_TYPE_NOT_LOADED},    {true, 32, 32, 0x12, CARD_BAD_TYPE},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckCardRequest(c.dc, c.type, c.mask, c.code), c.expected)
        << "type " << c.type << " mask " << c.mask << " code " << std::hex << c.code;
}

TEST(CardCells, SheetsAndCells) {
  const uint16_t order[] = {1, 4, 2, 8, 16};
  const int ids[] = {135, 132, 133, 131, 151};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(kCardSheets[i].type, order[i]);
    EXPECT_EQ(kCardSheets[i].resourceId, ids[i]);
    EXPECT_EQ(FindCardSheet(order[i]), &kCardSheets[i]);
  }
  EXPECT_EQ(FindCardSheet(0), nullptr);
  EXPECT_EQ(FindCardSheet(6), nullptr);
  int x, y;
  CardCellOrigin(0x1E, 54, 72, &x, &y);  // colour joker
  EXPECT_EQ(x, 13 * 54);
  EXPECT_EQ(y, 0);
  CardCellOrigin(0x3E, 27, 38, &x, &y);  // back
  EXPECT_EQ(y, 2 * 38);
  CardCellOrigin(0x2A, 106, 144, &x, &y);  // ten of hearts
  EXPECT_EQ(x, 9 * 106);
  EXPECT_EQ(y, 144);
  CardMaskOrigin(71, 96, &x, &y);
  EXPECT_EQ(x, 923);
  EXPECT_EQ(y, 288);
}

TEST(CardCells, DefaultSizesOfBothForms) {
  uint16_t w = 0, h = 0, sw = 0, sh = 0;
  ApplyCardDefaults(CardDefaults::Painter, 8, &w, &h, &sw, &sh);
  EXPECT_EQ(w, 71);
  EXPECT_EQ(h, 96);
  w = h = sw = sh = 0;
  ApplyCardDefaults(CardDefaults::Library, 8, &w, &h, &sw, &sh);
  EXPECT_EQ(w, 142);
  EXPECT_EQ(h, 192);
  EXPECT_EQ(sw, 71);
  w = h = sw = sh = 0;
  ApplyCardDefaults(CardDefaults::Library, 16, &w, &h, &sw, &sh);
  EXPECT_EQ(w, 212);
  EXPECT_EQ(sh, 144);
  w = 30, h = 0, sw = 0, sh = 9;
  ApplyCardDefaults(CardDefaults::Library, 4, &w, &h, &sw, &sh);
  EXPECT_EQ(w, 30);
  EXPECT_EQ(h, 38);
  EXPECT_EQ(sw, 27);
  EXPECT_EQ(sh, 9);
  w = h = sw = sh = 0;
  ApplyCardDefaults(CardDefaults::Painter, 3, &w, &h, &sw, &sh);  // other types keep their values
  EXPECT_EQ(w, 0);
}

}  // namespace
