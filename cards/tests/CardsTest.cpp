// The exported class Cards of QKCards.dll: loading, result codes and drawing.
#include <gtest/gtest.h>

#include "Cards.h"
#include "CardCells.h"
#include "QKBitmap.h"
#include "TestCanvas.h"
#include "WinProbe.h"

namespace {

const COLORREF kFelt = RGB(0, 110, 50);

TEST(CardsLibrary, ResultCodes) {
  Cards cards;
  ASSERT_EQ(cards.Initialization(0x14), 1);  // types 4 and 16
  Canvas c(300, 300, kFelt);
  struct {
    CDC* dc;
    unsigned short code, type;
    int expected;
  } cases[] = {
      {nullptr, 0x11, 4, CARD_NO_DC}, {&c.dc, 0x11, 1, CARD_TYPE_NOT_LOADED}, {&c.dc, 0x0F, 4, CARD_BAD_ROW},
      {&c.dc, 0x50, 4, CARD_BAD_ROW}, {&c.dc, 0x10, 4, CARD_BAD_COLUMN},      {&c.dc, 0x1F, 16, CARD_BAD_COLUMN},
      {&c.dc, 0x11, 4, CARD_DRAWN},   {&c.dc, 0x4E, 16, CARD_DRAWN},          {&c.dc, 0x11, 0, CARD_BAD_TYPE},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(cards.ShowCard(k.dc, k.code, 0, 0, 0, 0, k.type, 0, 0), k.expected)
        << std::hex << k.code << " type " << std::dec << k.type;
    RECT r{0, 0, 9, 9};
    EXPECT_EQ(cards.ShowCard(k.dc, k.code, &r, k.type, nullptr), k.expected);
  }
  Cards three;
  ASSERT_EQ(three.Initialization(3), 1);
  EXPECT_EQ(three.ShowCard(&c.dc, 0x1E, 0, 0, 0, 0, 3, 0, 0), CARD_BAD_TYPE);
  EXPECT_EQ(three.m_pSheet8, nullptr);
  EXPECT_NE(three.m_pSheet1, nullptr);
  EXPECT_NE(three.m_pSheet2, nullptr);
}

TEST(CardsLibrary, DefaultSizesAndInclusiveRectangle) {
  Cards cards;
  ASSERT_EQ(cards.Initialization(0x1F), 1);
  // Type 8 with all sizes 0 fills 142 x 192 from a 71 x 96 cell.
  Canvas c(400, 400, kFelt);
  EXPECT_EQ(cards.ShowCard(&c.dc, 0x3E, 10, 20, 0, 0, 8, 0, 0), CARD_DRAWN);
  RECT r = c.Drawn(kFelt);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right, 152);
  EXPECT_EQ(r.bottom, 212);

  // The rectangle form is opaque (no mask) and right/bottom inclusive.
  Canvas d(100, 100, kFelt);
  RECT rr{5, 5, 31, 42};
  EXPECT_EQ(cards.ShowCard(&d.dc, 0x11, &rr, 4, nullptr), CARD_DRAWN);
  RECT got = d.Drawn(kFelt);
  EXPECT_EQ(got.right, 32);
  EXPECT_EQ(got.bottom, 43);
  EXPECT_EQ(d.At(5, 5), RGB(0, 0, 0));  // the sheet's black corner, not the table
}

TEST(CardsLibrary, JokersBackAndMaskCells) {
  Cards cards;
  ASSERT_EQ(cards.Initialization(16), 1);
  Canvas c(106, 144, kFelt);
  cards.ShowCard(&c.dc, 0x4E, 0, 0, 106, 144, 16, 0, 0);
  EXPECT_EQ(c.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(c.At(53, 72), RGB(0, 0, 0));
  int reds = 0, blues = 0, greys = 0;
  auto count = [&](unsigned short code) {
    Canvas k(106, 144, kFelt);
    cards.ShowCard(&k.dc, code, 0, 0, 106, 144, 16, 0, 0);
    int r = 0, b = 0, g = 0;
    for (int y = 0; y < 144; ++y)
      for (int x = 0; x < 106; ++x) {
        COLORREF p = k.At(x, y);
        r += GetRValue(p) > 180 && GetGValue(p) < 80;
        b += GetBValue(p) > 120 && GetRValue(p) < 80;
        g += GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p) && GetRValue(p) > 60 && GetRValue(p) < 220;
      }
    reds = r, blues = b, greys = g;
  };
  count(0x1E);
  EXPECT_GT(reds, 200) << "the colour joker is in colour";
  count(0x2E);
  EXPECT_LT(reds, 5) << "the grey joker has no red";
  EXPECT_GT(greys, 200);
  count(0x3E);
  EXPECT_GT(blues, 106 * 144 / 3) << "the back is patterned blue";
}

TEST(CardsLibrary, SecondInitialisationReplacesSheets) {
  Cards cards;
  ASSERT_EQ(cards.Initialization(1), 1);
  ASSERT_EQ(cards.Initialization(1 | 16), 1);
  EXPECT_NE(cards.m_pSheet1, nullptr);
  EXPECT_NE(cards.m_pSheet16, nullptr);
  EXPECT_EQ(cards.m_wTypeMask, 17);
}

TEST(CardsLibrary, NullRectangleFillsTheWindowClientArea) {
  Cards cards;
  ASSERT_EQ(cards.Initialization(4), 1);
  HWND wnd = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 60, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(wnd, nullptr);
  HDC wdc = ::GetDC(wnd);
  CDC dc;
  dc.Attach(wdc);
  EXPECT_EQ(cards.ShowCard(&dc, 0x3E, nullptr, 4, nullptr), CARD_DRAWN);
  dc.Detach();
  ::ReleaseDC(wnd, wdc);
  ::DestroyWindow(wnd);
}

// The sheets double as test material for the bitmap loaders that read resources.
TEST(CardsLibrary, SheetsThroughTheBitmapLoaders) {
  HMODULE mod = ::GetModuleHandleA("QKCards.dll");
  ASSERT_NE(mod, nullptr);
  HBITMAP h = LoadSkinImage(mod, 151, 0);
  ASSERT_NE(h, nullptr);
  BITMAP bm;
  ::GetObjectA(h, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 1484);
  ::DeleteObject(h);
  EXPECT_EQ(LoadSkinImage(mod, 151, 4), nullptr);  // unknown type
  EXPECT_EQ(LoadSkinImage(mod, 151, 1), nullptr);  // no "JPG" resource of that id

  HINSTANCE saved = AfxGetResourceHandle();
  AfxSetResourceHandle(mod);
  CQKBitmap pal, rgb;
  EXPECT_TRUE(pal.LoadBitmapResource(135, TRUE));
  EXPECT_TRUE(rgb.LoadBitmapResource(131, TRUE));
  CQKBitmap missing;
  EXPECT_FALSE(missing.LoadBitmapResource(999, TRUE));
  AfxSetResourceHandle(saved);
  int w = 0, hh = 0;
  ASSERT_TRUE(pal.GetSize(w, hh));
  EXPECT_EQ(w, 756);
  EXPECT_EQ(hh, 288);
  EXPECT_EQ(pal.m_nColours, 256u);
  EXPECT_EQ(rgb.m_nColours, 0u);
  EXPECT_EQ(rgb.RealizePalette(nullptr, nullptr, TRUE), 0u);  // no palette on a true-colour screen

  // Transparent drawing of one cell with the sheet's own mask cell keeps the corners.
  const COLORREF felt = RGB(0, 110, 50);
  Canvas c(60, 80, felt);
  POINT src{0, 0}, mask{13 * 54, 3 * 72};
  SIZE cell{54, 72};
  EXPECT_TRUE(pal.DrawAt(&c.dc, 2, 3, QKBMP_TRANSPARENT, &src, &mask, &cell));
  EXPECT_EQ(c.At(2, 3), felt);
  EXPECT_NE(c.At(2 + 27, 3), felt);
  EXPECT_EQ(c.At(2 + 54, 3 + 30), felt);
}

}  // namespace
