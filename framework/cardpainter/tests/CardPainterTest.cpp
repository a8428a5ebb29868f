// CCardPainter against the real QKCards.dll: loading, result codes, the mask composite,
// blending, and PNG pictures of whole sheets and a hand for people to look at.
#include "CardPainter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "QKBitmap.h"
#include "TestCanvas.h"
#include "WinProbe.h"

namespace {

const COLORREF kFelt = RGB(0, 110, 50);

std::string CurrentFolder() {
  char buf[MAX_PATH];
  ::GetCurrentDirectoryA(sizeof buf, buf);
  return buf;
}

// A table felt with a soft gradient so transparent corners are easy to judge.
void PaintFelt(Canvas& c) {
  for (int y = 0; y < c.h; ++y) c.Fill(0, y, c.w, 1, RGB(0, 96 + 40 * y / c.h, 44 + 20 * y / c.h));
}

TEST(CardPainter, LoadingAndFallbacks) {
  CCardPainter p;
  // A folder without the library falls back to the bare name (found beside this program).
  EXPECT_TRUE(p.Initialization(0x1F, "C:\\no\\such\\folder"));
  EXPECT_EQ(p.GetLoadedMask(), 0x1F);
  EXPECT_TRUE(p.Initialization(0x1F, CurrentFolder().c_str()));

  // A file that is no library: nothing loads, the resource module stays as it was.
  ::CreateDirectoryA("broken", nullptr);
  FILE* f = fopen("broken\\QKCards.dll", "wb");
  fputs("not a library", f);
  fclose(f);
  HINSTANCE before = AfxGetResourceHandle();
  CCardPainter q;
  EXPECT_FALSE(q.Initialization(0x1F, (CurrentFolder() + "\\broken").c_str()));
  EXPECT_EQ(AfxGetResourceHandle(), before);
  EXPECT_EQ(q.GetLoadedMask(), 0);
  Canvas c(120, 150, kFelt);
  EXPECT_EQ(q.ShowCard(&c.dc, 0x11, 0, 0, 0, 0, 1, 0, 0, 0, 0, nullptr), CARD_TYPE_NOT_LOADED);
  EXPECT_EQ(c.At(5, 5), kFelt);
}

// Sheets named for later load at the first card drawn, or when asked, exactly once; a
// library that does not load leaves the same result codes as a load at once.
TEST(CardPainter, DeferredLoading) {
  CCardPainter p;
  p.InitializeLater(0x14, CurrentFolder().c_str());
  EXPECT_TRUE(p.IsDeferred());
  EXPECT_EQ(p.GetLoadedMask(), 0);
  Canvas c(120, 150, kFelt);
  EXPECT_EQ(p.ShowCard(&c.dc, 0x4D, 0, 0, 0, 0, 16, 0, 0, 0, 0, nullptr), CARD_DRAWN);
  EXPECT_FALSE(p.IsDeferred());
  EXPECT_EQ(p.GetLoadedMask(), 0x14);
  EXPECT_NE(c.At(53, 72), kFelt);
  EXPECT_TRUE(p.LoadDeferred());

  CCardPainter asked;
  asked.InitializeLater(0x1F, nullptr);
  EXPECT_TRUE(asked.LoadDeferred());
  EXPECT_EQ(asked.GetLoadedMask(), 0x1F);
  // Named again: the old sheets go, the new ones wait.
  asked.InitializeLater(0x08, nullptr);
  EXPECT_EQ(asked.GetLoadedMask(), 0);
  EXPECT_TRUE(asked.LoadDeferred());
  EXPECT_EQ(asked.GetLoadedMask(), 0x08);

  ::CreateDirectoryA("broken", nullptr);
  FILE* f = fopen("broken\\QKCards.dll", "wb");
  fputs("not a library", f);
  fclose(f);
  HINSTANCE before = AfxGetResourceHandle();
  CCardPainter q;
  q.InitializeLater(0x1F, (CurrentFolder() + "\\broken").c_str());
  Canvas d(120, 150, kFelt);
  EXPECT_EQ(q.ShowCard(&d.dc, 0x11, 0, 0, 0, 0, 1, 0, 0, 0, 0, nullptr), CARD_TYPE_NOT_LOADED);
  EXPECT_FALSE(q.LoadDeferred());
  EXPECT_EQ(AfxGetResourceHandle(), before);
  EXPECT_EQ(d.At(5, 5), kFelt);
}

TEST(CardPainter, ResultCodes) {
  CCardPainter p;
  ASSERT_TRUE(p.Initialization(0x14, nullptr));
  Canvas c(120, 150, kFelt);
  struct {
    CDC* dc;
    WORD code, type;
    int expected;
  } cases[] = {
      {nullptr, 0x11, 4, CARD_NO_DC},         {&c.dc, 0x11, 1, CARD_TYPE_NOT_LOADED},
      {&c.dc, 0x11, 2, CARD_TYPE_NOT_LOADED}, {&c.dc, 0x0A, 4, CARD_BAD_ROW},
      {&c.dc, 0x50, 16, CARD_BAD_ROW},        {&c.dc, 0x30, 4, CARD_BAD_COLUMN},
      {&c.dc, 0x2F, 16, CARD_BAD_COLUMN},     {&c.dc, 0x11, 0, CARD_BAD_TYPE},
      {&c.dc, 0x4D, 16, CARD_DRAWN},          {&c.dc, 0x1E, 4, CARD_DRAWN},
  };
  for (const auto& k : cases)
    EXPECT_EQ(p.ShowCard(k.dc, k.code, 0, 0, 0, 0, k.type, 0, 0, 0, 0, nullptr), k.expected)
        << std::hex << k.code << " type " << std::dec << k.type;
}

TEST(CardPainter, MaskCompositeKeepsTheTableInTheCorners) {
  CCardPainter p;
  ASSERT_TRUE(p.Initialization(0x1F, nullptr));
  struct {
    WORD type;
    int w, h;
  } sizes[] = {{1, 54, 72}, {2, 42, 56}, {4, 27, 38}, {8, 71, 96}, {16, 106, 144}};
  for (const auto& s : sizes) {
    Canvas c(200, 200, kFelt);
    ASSERT_EQ(p.ShowCard(&c.dc, 0x11, 10, 20, 0, 0, s.type, 0, 0, 0, 0, nullptr), CARD_DRAWN);
    RECT r = c.Drawn(kFelt);
    EXPECT_EQ(r.left, 10) << s.type;
    EXPECT_EQ(r.top, 20) << s.type;
    EXPECT_EQ(r.right, 10 + s.w) << s.type;  // 1:1, type 8 and 16 not doubled
    EXPECT_EQ(r.bottom, 20 + s.h) << s.type;
    EXPECT_EQ(c.At(10, 20), kFelt) << "corner of type " << s.type;
    EXPECT_EQ(c.At(10 + s.w - 1, 20 + s.h - 1), kFelt) << "corner of type " << s.type;
    EXPECT_NE(c.At(10 + s.w / 2, 20), kFelt) << "top edge of type " << s.type;
  }
}

// Every cell code draws its own cell: inside the card the painter's output equals the
// sheet cell copied opaque, outside it the table stays.
TEST(CardPainter, EachCodeDrawsItsCell) {
  CCardPainter p;
  ASSERT_TRUE(p.Initialization(0x1F, nullptr));
  HMODULE lib = ::LoadLibraryA("QKCards.dll");
  ASSERT_NE(lib, nullptr);
  for (const CardSheetSpec& s : {kCardSheets[1], kCardSheets[0]}) {
    HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(lib);
    CQKBitmap sheet;
    ASSERT_TRUE(sheet.LoadBitmapResource(static_cast<UINT>(s.resourceId), FALSE));
    AfxSetResourceHandle(saved);
    Canvas mask(s.cellW, s.cellH, kFelt);
    POINT mo{13 * s.cellW, 3 * s.cellH};
    SIZE cell{s.cellW, s.cellH};
    sheet.DrawAt(&mask.dc, 0, 0, 0, &mo, nullptr, &cell);
    for (int row = 1; row <= 4; ++row)
      for (int col = 1; col <= 14; ++col) {
        const WORD code = static_cast<WORD>(row << 4 | col);
        Canvas painted(s.cellW, s.cellH, kFelt), raw(s.cellW, s.cellH, kFelt);
        ASSERT_EQ(p.ShowCard(&painted.dc, code, 0, 0, 0, 0, s.type, 0, 0, 0, 0, nullptr), CARD_DRAWN);
        POINT o{(col - 1) * s.cellW, (row - 1) * s.cellH};
        sheet.DrawAt(&raw.dc, 0, 0, 0, &o, nullptr, &cell);
        int wrong = 0;
        for (int y = 0; y < s.cellH; ++y)
          for (int x = 0; x < s.cellW; ++x) {
            const bool opaque = mask.At(x, y) == RGB(0, 0, 0);
            const COLORREF want = opaque ? raw.At(x, y) : (raw.At(x, y) | kFelt);
            wrong += painted.At(x, y) != want;
          }
        EXPECT_EQ(wrong, 0) << "type " << s.type << " code " << std::hex << code;
      }
  }
  ::FreeLibrary(lib);
}

TEST(CardPainter, ShiftMovesCardAndMaskTogether) {
  CCardPainter p;
  ASSERT_TRUE(p.Initialization(16, nullptr));
  Canvas a(106, 144, kFelt), b(106, 144, kFelt);
  p.ShowCard(&a.dc, 0x15, 0, 0, 0, 0, 16, 0, 0, 0, 0, nullptr);
  p.ShowCard(&b.dc, 0x15, 0, 0, 0, 0, 16, 0, 0, 1, 0, nullptr);
  int same = 0;
  for (int y = 10; y < 134; y += 3)
    for (int x = 0; x < 104; ++x) same += b.At(x, y) == a.At(x + 1, y);
  EXPECT_EQ(same, 42 * 104);
}

TEST(CardPainter, BlendMixesWithTheTable) {
  CCardPainter p;
  ASSERT_TRUE(p.Initialization(16, nullptr));
  Canvas a(106, 144, kFelt), b(106, 144, kFelt);
  p.ShowCard(&a.dc, 0x12, 0, 0, 0, 0, 16, 0, 0, 0, 0, nullptr);
  BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
  p.ShowCard(&b.dc, 0x12, 0, 0, 0, 0, 16, 0, 0, 0, 0, &half);
  const COLORREF paper = a.At(60, 72), mixed = b.At(60, 72);
  ASSERT_GT(GetRValue(paper), 240);
  EXPECT_NEAR(GetRValue(mixed), (GetRValue(paper) + GetRValue(kFelt)) / 2, 3);
  EXPECT_NEAR(GetGValue(mixed), (GetGValue(paper) + GetGValue(kFelt)) / 2, 3);
  EXPECT_NEAR(GetBValue(mixed), (GetBValue(paper) + GetBValue(kFelt)) / 2, 3);
  EXPECT_EQ(b.At(0, 0), kFelt);
}

TEST(CardPainter, LargerDestinationGrowsTheWorkBitmap) {
  CCardPainter p;
  ASSERT_TRUE(p.Initialization(16, nullptr));
  Canvas a(300, 300, kFelt), b(300, 300, kFelt);
  EXPECT_EQ(p.ShowCard(&a.dc, 0x11, 0, 0, 200, 200, 16, 0, 0, 0, 0, nullptr), CARD_DRAWN);
  p.ShowCard(&b.dc, 0x11, 0, 0, 0, 0, 16, 0, 0, 0, 0, nullptr);
  // The card itself is whole, and nothing lands outside the destination.
  int same = 0;
  for (int y = 0; y < 144; y += 2)
    for (int x = 0; x < 106; ++x) same += a.At(x, y) == b.At(x, y);
  EXPECT_EQ(same, 72 * 106);
  RECT r = a.Drawn(kFelt);
  EXPECT_LE(r.right, 200);
  EXPECT_LE(r.bottom, 200);
  // A later small card still draws right after the work bitmap grew.
  Canvas c(120, 150, kFelt);
  p.ShowCard(&c.dc, 0x11, 0, 0, 0, 0, 16, 0, 0, 0, 0, nullptr);
  EXPECT_EQ(c.At(53, 72), b.At(53, 72));
}

TEST(CardPainter, InitialisingAgainReleasesTheOldObjects) {
  CCardPainter p;
  ASSERT_TRUE(p.Initialization(0x1F, nullptr));
  const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(p.Initialization(0x1F, nullptr));
  EXPECT_LE(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), before + 2);
}

TEST(CardPainter, PicturesOfEverySheetAndAHand) {
  CCardPainter p;
  ASSERT_TRUE(p.Initialization(0x1F, nullptr));
  for (const CardSheetSpec& s : kCardSheets) {
    const int gap = 6;
    Canvas c(14 * (s.cellW + gap) + gap, 4 * (s.cellH + gap) + gap, kFelt);
    PaintFelt(c);
    for (int row = 1; row <= 4; ++row)
      for (int col = 1; col <= 14; ++col)
        EXPECT_EQ(p.ShowCard(&c.dc, static_cast<WORD>(row << 4 | col), gap + (col - 1) * (s.cellW + gap),
                             gap + (row - 1) * (s.cellH + gap), 0, 0, s.type, 0, 0, 0, 0, nullptr),
                  CARD_DRAWN);
    const std::string name = "cards_sheet_type" + std::to_string(s.type) + ".png";
    EXPECT_TRUE(c.SavePng(name.c_str())) << name;
  }
  // A hand as the table shows it: overlapping large cards, two raised, and small bottom cards.
  Canvas t(900, 330, kFelt);
  PaintFelt(t);
  const WORD hand[] = {0x2E, 0x1E, 0x1D, 0x2D, 0x3C, 0x4B, 0x11, 0x21, 0x3A,
                       0x49, 0x17, 0x26, 0x35, 0x44, 0x32, 0x43, 0x13};
  int x = 20;
  for (size_t i = 0; i < sizeof hand / sizeof hand[0]; ++i, x += 32)
    p.ShowCard(&t.dc, hand[i], static_cast<WORD>(x), (i == 5 || i == 6) ? 150 : 166, 0, 0, 16, 0, 0, 0, 0, nullptr);
  const WORD bottom[] = {0x3E, 0x3E, 0x3E};
  for (int i = 0; i < 3; ++i)
    p.ShowCard(&t.dc, bottom[i], static_cast<WORD>(380 + i * 60), 20, 0, 0, 1, 0, 0, 0, 0, nullptr);
  const WORD played[] = {0x1B, 0x2B, 0x3B, 0x45};
  for (int i = 0; i < 4; ++i)
    p.ShowCard(&t.dc, played[i], static_cast<WORD>(40 + i * 16), 30, 0, 0, 2, 0, 0, 0, 0, nullptr);
  const WORD tiny[] = {0x1E, 0x2E, 0x3E, 0x4A, 0x14};
  for (int i = 0; i < 5; ++i)
    p.ShowCard(&t.dc, tiny[i], static_cast<WORD>(640 + i * 30), 30, 0, 0, 4, 0, 0, 0, 0, nullptr);
  const WORD mid[] = {0x18, 0x28, 0x38};
  for (int i = 0; i < 3; ++i)
    p.ShowCard(&t.dc, mid[i], static_cast<WORD>(200 + i * 20), 20, 0, 0, 8, 0, 0, 0, 0, nullptr);
  EXPECT_TRUE(t.SavePng("cards_table_hand.png"));
}

}  // namespace
