// CQKBitmap and the region and keyed-drawing functions, checked pixel by pixel on memory DCs.
#include "QKBitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TestCanvas.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255),
               kBlack = RGB(0, 0, 0), kKey = RGB(255, 0, 255), kGrey = RGB(128, 128, 128);

// Hands the canvas's bitmap over (deselected) to a CQKBitmap; the canvas keeps a 1 x 1 one.
void GiveTo(Canvas& c, CQKBitmap& q) {
  ::SelectObject(c.dc.GetSafeHdc(), c.old);
  q.Attach(c.bmp);
  c.bmp = MakeDib16(1, 1, 32, nullptr);
  c.old = ::SelectObject(c.dc.GetSafeHdc(), c.bmp);
}

// Counts pixels of a colour in a rectangle (right and bottom exclusive).
int Count(Canvas& c, RECT r, COLORREF col) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += c.At(x, y) == col;
  return n;
}

std::vector<BYTE> Bmp8(int w, int h, const std::vector<COLORREF>& palette, const std::vector<BYTE>& px) {
  const int stride = (w + 3) & ~3;
  const DWORD off = 14 + 40 + static_cast<DWORD>(palette.size()) * 4;
  std::vector<BYTE> b(off + stride * h, 0);
  auto put32 = [&](size_t at, DWORD v) { memcpy(&b[at], &v, 4); };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<DWORD>(b.size()));
  put32(10, off);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  b[26] = 1;
  b[28] = 8;
  put32(46, static_cast<DWORD>(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i) {
    b[54 + i * 4] = GetBValue(palette[i]);
    b[55 + i * 4] = GetGValue(palette[i]);
    b[56 + i * 4] = GetRValue(palette[i]);
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b[off + (h - 1 - y) * stride + x] = px[y * w + x];
  return b;
}

std::string WriteFile(const char* name, const std::vector<BYTE>& prefix, const std::vector<BYTE>& data) {
  FILE* f = fopen(name, "wb");
  fwrite(prefix.data(), 1, prefix.size(), f);
  fwrite(data.data(), 1, data.size(), f);
  fclose(f);
  return name;
}

// 4 x 2 picture: top row red, bottom row blue.
std::vector<BYTE> SmallBmp() { return Bmp8(4, 2, {kRed, kBlue}, {0, 0, 0, 0, 1, 1, 1, 1}); }

TEST(QKBitmapLoad, BmpByItsSignatureWithOffsetAndLength) {
  CQKBitmap a;
  ASSERT_TRUE(a.LoadFile(WriteFile("plain.dat", {}, SmallBmp()).c_str()));
  int w = 0, h = 0;
  ASSERT_TRUE(a.GetSize(w, h));
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(a.m_nColours, 2u);
  Canvas c(8, 8, kWhite);
  EXPECT_TRUE(a.DrawAt(&c.dc, 1, 1));
  EXPECT_EQ(c.At(1, 1), kRed);
  EXPECT_EQ(c.At(4, 2), kBlue);
  EXPECT_EQ(c.At(5, 2), kWhite);

  // Offset 100, length 0: from byte 100 to the end.
  CQKBitmap b;
  EXPECT_TRUE(b.LoadFile(WriteFile("packed.bin", std::vector<BYTE>(100, 0x55), SmallBmp()).c_str(), TRUE, 100, 0));
  CQKBitmap cut;
  EXPECT_FALSE(cut.LoadFile("packed.bin", TRUE, 100, 20));      // header cut short
  EXPECT_FALSE(cut.LoadFile("packed.bin", TRUE, 100, 100000));  // past the end
  EXPECT_FALSE(cut.LoadFile("packed.bin", TRUE, 100000, 0));
  EXPECT_FALSE(cut.LoadFile("no such file.bmp"));
  EXPECT_EQ(cut.GetSafeHandle(), nullptr);
}

TEST(QKBitmapLoad, MalformedBmpIsRefusedAndKeepsTheOldPicture) {
  CQKBitmap a;
  ASSERT_TRUE(a.LoadFile(WriteFile("good.bmp", {}, SmallBmp()).c_str()));
  HGDIOBJ before = a.GetSafeHandle();
  std::vector<BYTE> bad = SmallBmp();
  bad[46] = 0;
  bad[47] = 2;  // 512 colours
  EXPECT_FALSE(a.LoadFile(WriteFile("bad.bmp", {}, bad).c_str()));
  EXPECT_EQ(a.GetSafeHandle(), before);
  // A JPEG-like file named .BMP goes to the picture decoder, which refuses it.
  EXPECT_FALSE(a.LoadFile(WriteFile("photo.BMP.jpg", {}, {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0}).c_str()));
  EXPECT_EQ(a.GetSafeHandle(), before);
}

TEST(QKBitmapLoad, PictureSizeRoundsFromHimetric) {
  // A 1 x 1 GIF: 26 HIMETRIC at 96 dpi is 0.98 pixels and must give 1, not 0.
  const std::vector<BYTE> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0,  0,
                                 0,   ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 'D',  1, 0, ';'};
  CQKBitmap p;
  ASSERT_TRUE(p.LoadPicture(WriteFile("dot.gif", {}, gif).c_str()));
  int w = 0, h = 0;
  p.GetSize(w, h);
  EXPECT_EQ(w, 1);
  EXPECT_EQ(h, 1);
  Canvas c(3, 3, kWhite);
  p.DrawAt(&c.dc, 1, 1);
  EXPECT_EQ(c.At(1, 1), kRed);
}

// 20 x 10 source: left half image (red square on black), right half mask (black square on white).
void MakeMaskedSource(CQKBitmap& q) {
  Canvas s(20, 10, kBlack);
  s.Fill(2, 2, 6, 6, kRed);
  s.Fill(10, 0, 10, 10, kWhite);
  s.Fill(12, 2, 6, 6, kBlack);
  GiveTo(s, q);
}

TEST(QKBitmapDraw, TransparentWithoutOriginUsesTheRightHalfAsMask) {
  CQKBitmap q;
  MakeMaskedSource(q);
  Canvas c(30, 30, kGreen);
  ASSERT_TRUE(q.DrawAt(&c.dc, 5, 5, QKBMP_TRANSPARENT));
  EXPECT_EQ(Count(c, {7, 7, 13, 13}, kRed), 36);
  EXPECT_EQ(Count(c, {0, 0, 30, 30}, kGreen), 900 - 36);
}

TEST(QKBitmapDraw, CellsByOriginAndInclusiveRectangle) {
  Canvas s(30, 10, kRed);
  s.Fill(10, 0, 10, 10, kBlue);
  s.Fill(20, 0, 10, 10, kGrey);
  CQKBitmap q;
  GiveTo(s, q);
  Canvas c(40, 40, kWhite);
  POINT src{10, 0};
  SIZE cell{10, 10};
  q.DrawAt(&c.dc, 0, 0, 0, &src, nullptr, &cell);
  EXPECT_EQ(Count(c, {0, 0, 10, 10}, kBlue), 100);
  EXPECT_EQ(c.At(10, 0), kWhite);

  // {0,0,9,9} is a 10 x 10 area: a stretched cell fills exactly that.
  Canvas d(20, 20, kWhite);
  RECT r{0, 0, 9, 9};
  q.DrawInRect(&d.dc, &r, QKBMP_STRETCH, &src, nullptr, &cell);
  EXPECT_EQ(Count(d, {0, 0, 20, 20}, kBlue), 100);
  EXPECT_EQ(d.At(9, 9), kBlue);
  EXPECT_EQ(d.At(10, 10), kWhite);
  // A DC without a window draws nothing for a null rectangle.
  EXPECT_FALSE(q.DrawInRect(&d.dc, nullptr));
}

TEST(QKBitmapDraw, CentringTilingAndClipping) {
  Canvas s(4, 4, kBlue);
  CQKBitmap q;
  GiveTo(s, q);
  Canvas c(20, 20, kWhite);
  q.Draw(&c.dc, 0, 0, 10, 20, QKBMP_CENTER_H | QKBMP_CENTER_V);
  EXPECT_EQ(Count(c, {3, 8, 7, 12}, kBlue), 16);
  EXPECT_EQ(Count(c, {0, 0, 20, 20}, kBlue), 16);

  Canvas t(20, 20, kWhite);
  q.Draw(&t.dc, 1, 1, 10, 6, QKBMP_TILE | QKBMP_STRETCH);  // tile wins; clipped to 10 x 6
  EXPECT_EQ(Count(t, {0, 0, 20, 20}, kBlue), 60);
  EXPECT_EQ(t.At(10, 6), kBlue);
  EXPECT_EQ(t.At(11, 6), kWhite);

  // A zero-sized cell is refused instead of looping for ever.
  POINT src{0, 0};
  SIZE none{0, 0};
  EXPECT_TRUE(q.Draw(&t.dc, 0, 0, 10, 10, QKBMP_TILE, &src, nullptr, &none));
  CQKBitmap empty;
  EXPECT_FALSE(empty.DrawAt(&t.dc, 0, 0));
  EXPECT_FALSE(q.DrawAt(nullptr, 0, 0));
}

TEST(QKBitmapDraw, TransparentTilesAndStretchKeepTheBackground) {
  CQKBitmap q;
  MakeMaskedSource(q);
  Canvas c(40, 20, kGreen);
  q.Draw(&c.dc, 0, 0, 20, 10, QKBMP_TILE | QKBMP_TRANSPARENT);
  EXPECT_EQ(Count(c, {0, 0, 40, 20}, kRed), 72);
  Canvas d(40, 40, kGreen);
  q.Draw(&d.dc, 0, 0, 20, 20, QKBMP_STRETCH | QKBMP_TRANSPARENT);
  EXPECT_EQ(Count(d, {4, 4, 16, 16}, kRed), 144);
  EXPECT_EQ(d.At(1, 1), kGreen);
}

TEST(QKBitmapDraw, NineCellKeepsCornersAndTilesEdges) {
  // 30 x 30 picture: nine 10 x 10 cells, the corners red, edges blue, centre grey.
  Canvas s(30, 30, kBlue);
  for (int cy = 0; cy < 3; ++cy)
    for (int cx = 0; cx < 3; ++cx)
      if (cx != 1 && cy != 1) s.Fill(cx * 10, cy * 10, 10, 10, kRed);
  s.Fill(10, 10, 10, 10, kGrey);
  CQKBitmap q;
  GiveTo(s, q);
  Canvas c(80, 60, kWhite);
  RECT r{5, 5, 75, 55};
  q.DrawNineCell(&c.dc, &r, 0, TRUE);
  EXPECT_EQ(Count(c, {5, 5, 15, 15}, kRed), 100);
  EXPECT_EQ(Count(c, {65, 45, 75, 55}, kRed), 100);
  EXPECT_EQ(Count(c, {15, 5, 65, 15}, kBlue), 500);
  EXPECT_EQ(Count(c, {15, 15, 65, 45}, kGrey), 1500);
  EXPECT_EQ(c.At(4, 4), kWhite);
  EXPECT_EQ(c.At(75, 55), kWhite);
  Canvas d(80, 60, kWhite);
  q.DrawNineCell(&d.dc, &r, 2, FALSE);
  EXPECT_EQ(d.At(3, 3), kRed);
  EXPECT_EQ(Count(d, {13, 13, 67, 47}, kWhite), 54 * 34);
  // Pictures too small for three cells draw nothing and return.
  Canvas tiny(2, 2, kBlue);
  CQKBitmap t;
  GiveTo(tiny, t);
  t.DrawNineCell(&d.dc, &r, 0, TRUE);
}

TEST(QKBitmapDib, DepthsAndCopy) {
  for (int bits : {1, 2, 4, 8, 16, 24, 32}) {
    void* p = nullptr;
    HBITMAP h = MakeDib16(7, 3, bits, &p);
    if (bits == 2) {
      // Two-bit DIB sections are not universally supported; null is acceptable.
      if (h) ::DeleteObject(h);
      continue;
    }
    ASSERT_NE(h, nullptr) << bits;
    DIBSECTION ds;
    ASSERT_EQ(::GetObjectA(h, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBitsPixel, bits);
    EXPECT_EQ(ds.dsBm.bmWidthBytes % 4, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(static_cast<BYTE*>(p)[0], 0);
    if (bits == 16) {
      EXPECT_EQ(ds.dsBitfields[0], 0xF800u);
    }
    ::DeleteObject(h);
  }
  // Rows run top-down: the first bytes are the top row.
  void* p = nullptr;
  HBITMAP h = MakeDib16(2, 2, 16, &p);
  static_cast<WORD*>(p)[0] = 0xF800;
  HDC m0 = ::CreateCompatibleDC(nullptr);
  HGDIOBJ o0 = ::SelectObject(m0, h);
  EXPECT_GE(GetRValue(::GetPixel(m0, 0, 0)), 240);
  EXPECT_EQ(::GetPixel(m0, 0, 1), kBlack);
  ::SelectObject(m0, o0);
  ::DeleteDC(m0);
  ::DeleteObject(h);
  EXPECT_EQ(MakeDib16(4, 4, 12, nullptr), nullptr);
  EXPECT_EQ(MakeDib16(0, 4, 16, nullptr), nullptr);

  Canvas a(10, 10, kRed);
  a.Fill(0, 0, 5, 10, kBlue);
  HBITMAP dst = MakeDib16(20, 10, 32, nullptr);
  RECT sr{0, 0, 10, 10}, dr{0, 0, 20, 10};
  ::SelectObject(a.dc.GetSafeHdc(), a.old);  // a bitmap may sit in one DC only
  EXPECT_TRUE(CopyBitmap(dst, a.bmp, nullptr, &sr, &dr));
  a.old = ::SelectObject(a.dc.GetSafeHdc(), a.bmp);
  HDC m = ::CreateCompatibleDC(nullptr);
  HGDIOBJ o = ::SelectObject(m, dst);
  EXPECT_EQ(::GetPixel(m, 2, 5), kBlue);
  EXPECT_EQ(::GetPixel(m, 17, 5), kRed);
  ::SelectObject(m, o);
  ::DeleteDC(m);
  ::DeleteObject(dst);
}

// A picture for region tests: the key colour with shapes painted on it.
HBITMAP KeyedPicture(int w, int h, const std::vector<RECT>& shapes) {
  Canvas c(w, h, kKey);
  for (const RECT& r : shapes) c.Fill(r.left, r.top, r.right - r.left, r.bottom - r.top, kBlue);
  ::SelectObject(c.dc.GetSafeHdc(), c.old);
  HBITMAP h2 = c.bmp;
  c.bmp = MakeDib16(1, 1, 32, nullptr);
  c.old = ::SelectObject(c.dc.GetSafeHdc(), c.bmp);
  return h2;
}

TEST(QKBitmapRegion, ShapesFromKeyedPictures) {
  HBITMAP all = KeyedPicture(8, 8, {});
  EXPECT_EQ(BitmapToRegionKeyed(all, 0, 0), nullptr);
  ::DeleteObject(all);

  // Row (key, other, other, key): both middle pixels belong to the shape.
  HBITMAP row = KeyedPicture(4, 1, {{1, 0, 3, 1}});
  HRGN r = BitmapToRegionKeyed(row, 0, 0);
  ASSERT_NE(r, nullptr);
  RECT box;
  ::GetRgnBox(r, &box);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.right, 3);
  EXPECT_TRUE(::PtInRegion(r, 2, 0));
  ::DeleteObject(r);
  ::DeleteObject(row);

  // A card-like shape reaching the right edge covers the last column; key read at (-1, -1)
  // (the last pixel) which is key-coloured here.
  HBITMAP card = KeyedPicture(40, 30, {{2, 0, 38, 30}, {0, 2, 40, 28}});
  r = BitmapToRegionKeyed(card, -1, -1);
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(::PtInRegion(r, 39, 15));
  EXPECT_TRUE(::PtInRegion(r, 0, 2));
  EXPECT_FALSE(::PtInRegion(r, 0, 0));
  EXPECT_FALSE(::PtInRegion(r, 39, 29));
  ::DeleteObject(r);
  ::DeleteObject(card);

  // More than 800 runs: several batches united.
  std::vector<RECT> dots;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; x += 2) dots.push_back({x, y, x + 1, y + 1});
  HBITMAP many = KeyedPicture(60, 30, dots);
  r = BitmapToRegionKeyed(many, 1, 0);
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(::PtInRegion(r, 58, 29));
  EXPECT_FALSE(::PtInRegion(r, 59, 29));
  EXPECT_TRUE(::PtInRegion(r, 0, 0));
  ::DeleteObject(r);
  ::DeleteObject(many);
  EXPECT_EQ(BitmapToRegionKeyed(nullptr, 0, 0), nullptr);
}

TEST(KeyedDraw, KeyColourLeavesTheDestination) {
  HBITMAP pic = KeyedPicture(10, 10, {{2, 2, 8, 8}});
  Canvas c(20, 20, kGreen);
  RECT r{5, 5, 15, 15};
  DrawBitmapKeyedAtOrigin(&c.dc, r, pic, POINT{0, 0});
  EXPECT_EQ(Count(c, {7, 7, 13, 13}, kBlue), 36);
  EXPECT_EQ(Count(c, {0, 0, 20, 20}, kGreen), 400 - 36);

  // A source origin shifts the picture; the key is still read at the key point.
  Canvas d(20, 20, kGreen);
  DrawBitmapKeyed(&d.dc, r, pic, POINT{2, 2}, POINT{0, 0});
  EXPECT_EQ(Count(d, {5, 5, 11, 11}, kBlue), 36);
  EXPECT_EQ(d.At(11, 11), kGreen);
  ::DeleteObject(pic);
}

}  // namespace
