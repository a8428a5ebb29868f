// CDibImage, CImageStrip and the bitmap functions, checked pixel by pixel on memory DCs;
// the decoder front end on the stand-in codec libraries. Saves image_draw.png.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "DibImage.h"
#include "DibPixels.h"
#include "QKBitmap.h"
#include "DibCanvas.h"
#include "WinProbe.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255),
               kBlack = RGB(0, 0, 0), kKey = RGB(255, 0, 255), kGrey = RGB(128, 128, 128);

using Canvas = DibCanvas;

// The codec stand-ins are built into build/win/bin, two folders up from this program.
struct CodecFolder : ::testing::Environment {
  void SetUp() override {
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir = dir.substr(0, dir.find_last_of("\\/"));
    ::SetDllDirectoryA((dir + "\\..\\..\\bin").c_str());
  }
};
::testing::Environment* const kCodecFolder = ::testing::AddGlobalTestEnvironment(new CodecFolder);

const COLORREF kTeal = RGB(0, 128, 128);  // 0x808000: the colour the keyed strip compares with

WORD C565(COLORREF c) { return dibimage::ToRgb565(c); }

// An image of w x h filled with `fill`, one pixel set per entry.
void MakeImage(CDibImage& img, int w, int h, COLORREF fill) {
  ASSERT_TRUE(img.Create(w, h));
  img.Fill(0, 0, w, h, C565(fill));
}

// A strip of four 6 x 4 frames: red, green, blue, white, each with a key-coloured border
// column on the left and a dot at (3, 2).
HBITMAP StripBitmap(COLORREF key) {
  Canvas c(24, 4, kKey);
  const COLORREF colours[4] = {kRed, kGreen, kBlue, kWhite};
  for (int i = 0; i < 4; ++i) {
    c.Fill(i * 6, 0, 6, 4, colours[i]);
    c.Fill(i * 6, 0, 1, 4, key);
    c.Fill(i * 6 + 3, 2, 1, 1, kBlack);
  }
  return c.Copy();
}

}  // namespace

TEST(DibImage, CreateClearAndPixels) {
  CDibImage img;
  EXPECT_TRUE(img.IsEmpty());
  EXPECT_EQ(img.GetPixel(0, 0), 0u);
  EXPECT_FALSE(img.Create(0, 3));
  EXPECT_FALSE(img.Create(0x40000000, 4));  // overflowing sizes are refused, nothing kept
  EXPECT_TRUE(img.IsEmpty());
  MakeImage(img, 5, 3, kRed);
  EXPECT_EQ(img.GetPixel(4, 2), 0xF800u);
  EXPECT_EQ(img.GetPixel(5, 0) & 0xFFFF, 0u);
  EXPECT_EQ(img.GetPixel(-1, 0) & 0xFFFF, 0u);
  img.SetTransparentFromPixel(9, 9);  // outside: nothing
  EXPECT_EQ(img.GetTransparentMode(), 0);
  img.SetTransparentFromPixel(1, 1);
  EXPECT_EQ(img.GetTransparentMode(), 1);
  EXPECT_EQ(img.GetTransparentColor(), RGB(255, 0, 0));
  img.Clear();
  EXPECT_TRUE(img.IsEmpty());
  EXPECT_EQ(img.GetTransparentMode(), 0);
  EXPECT_EQ(img.GetWidth(), 0);
}

TEST(DibImage, CopyHonoursClipAndOriginAndDrawKeepsRowsTopDown) {
  CDibImage src, dst;
  MakeImage(src, 4, 4, kGreen);
  src.Fill(0, 0, 4, 1, C565(kRed));  // top row red: a flipped drawing would show it at the bottom
  MakeImage(dst, 8, 8, kBlue);
  CDibImage none;
  EXPECT_FALSE(dst.CopyFrom(none, nullptr, 0, 0));
  RECT clip{0, 0, 6, 6};
  dst.SetClipRect(&clip);
  dst.SetOrigin(1, 1);
  EXPECT_TRUE(dst.CopyFrom(src, nullptr, 3, 3));  // lands at (4, 4), cut at 6
  EXPECT_EQ(dst.GetPixel(4, 4), C565(kRed));
  EXPECT_EQ(dst.GetPixel(5, 5), C565(kGreen));
  EXPECT_EQ(dst.GetPixel(6, 6), C565(kBlue));
  EXPECT_EQ(dst.GetPixel(3, 3), C565(kBlue));

  Canvas c(10, 10, kWhite);
  RECT part{1, 0, 3, 2};
  EXPECT_TRUE(src.Draw(c.dc, &part, 2, 3));
  EXPECT_EQ(c.At(2, 3), kRed);
  EXPECT_EQ(c.At(3, 4), kGreen);
  EXPECT_EQ(c.At(4, 3), kWhite);
  EXPECT_EQ(c.At(2, 5), kWhite);
  EXPECT_TRUE(src.Draw(c.dc, nullptr, 70000, 0));  // nothing left after clipping still succeeds
}

TEST(DibImage, StretchedDrawingReadsTheRightRows) {
  CDibImage img;
  MakeImage(img, 2, 3, kGreen);
  img.Fill(0, 0, 2, 1, C565(kRed));
  img.Fill(0, 2, 2, 1, C565(kBlue));
  Canvas c(8, 8, kWhite);
  EXPECT_TRUE(img.DrawStretched(c.dc, RECT{0, 0, 4, 4}, RECT{0, 1, 2, 2}));
  EXPECT_EQ(c.At(0, 0), kGreen);
  EXPECT_EQ(c.At(3, 3), kGreen);
  EXPECT_EQ(c.At(4, 4), kWhite);
  EXPECT_TRUE(img.DrawStretched(c.dc, RECT{4, 0, 8, 6}, RECT{0, 0, 2, 3}));
  EXPECT_EQ(c.At(5, 0), kRed);
  EXPECT_EQ(c.At(5, 5), kBlue);
}

TEST(DibImage, KeyedDrawingOnEveryDeviceDepth) {
  for (int bits : {32, 24, 16}) {
    CDibImage img;
    MakeImage(img, 4, 4, kKey);
    img.Fill(1, 1, 2, 2, C565(kRed));
    img.SetTransparentTopLeft();
    Canvas c(6, 6, kBlue, bits);
    EXPECT_TRUE(img.DrawTransparent(c.dc, nullptr, 1, 1));
    EXPECT_EQ(c.At(1, 1), kBlue) << bits;
    EXPECT_EQ(c.At(2, 2), kRed) << bits;
    EXPECT_EQ(c.At(4, 4), kBlue) << bits;
    // Mode 1: a colour near the key but not equal to it in 5-6-5 stays opaque.
    CDibImage close;
    MakeImage(close, 3, 1, kKey);
    close.Fill(1, 0, 1, 1, C565(RGB(248, 8, 248)));
    close.SetTransparentColor(kKey);
    Canvas d(3, 1, kGreen, bits);
    close.DrawTransparent(d.dc, nullptr, 0, 0);
    EXPECT_EQ(d.At(0, 0), kGreen) << bits;
    EXPECT_NE(d.At(1, 0), kGreen) << bits;
  }
}

TEST(DibImage, BitmapRoundTrip) {
  Canvas c(5, 3, kBlue);
  c.Fill(0, 0, 1, 1, kRed);
  HBITMAP b = c.Copy();
  CDibImage img;
  ASSERT_TRUE(img.LoadFromBitmap(b));
  EXPECT_EQ(img.GetWidth(), 5);
  EXPECT_EQ(img.GetPixel(0, 0), C565(kRed));
  EXPECT_EQ(img.GetPixel(4, 2), C565(kBlue));
  HBITMAP back = img.CreateBitmap();
  ASSERT_TRUE(back);
  int w = 0, h = 0;
  EXPECT_TRUE(GetBitmapSize(back, &w, &h));
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 3);
  EXPECT_FALSE(GetBitmapSize(reinterpret_cast<HBITMAP>(::GetStockObject(WHITE_BRUSH)), &w, &h));
  ::DeleteObject(back);
  ::DeleteObject(b);
}

TEST(ImageStrip, FramesPlainKeyedAndTinted) {
  HBITMAP b = StripBitmap(kTeal);
  CImageStrip strip;
  EXPECT_EQ(strip.DrawFrame(nullptr, 0, 0, 0, 0), 0);
  EXPECT_FALSE(strip.Load(b, 30));  // frames narrower than a pixel are refused
  ASSERT_TRUE(strip.Load(b, 4));
  Canvas c(40, 6, kGrey);
  EXPECT_EQ(strip.DrawFrame(c.dc, 4, 0, 0, 0), 0);  // index equal to the frame count
  EXPECT_EQ(strip.DrawFrame(c.dc, -1, 0, 0, 0), 0);
  EXPECT_EQ(strip.DrawFrame(c.dc, 1, 0, 0, 0), 1);
  EXPECT_EQ(c.At(2, 1), kGreen);
  EXPECT_EQ(c.At(0, 1), dibimage::FromRgb565(C565(kTeal)));
  EXPECT_EQ(strip.DrawFrame(c.dc, 2, 10, 0, CImageStrip::DRAW_KEYED), 1);
  EXPECT_EQ(c.At(10, 1), kGrey);  // the teal key column is see-through
  EXPECT_EQ(c.At(12, 1), kBlue);
  EXPECT_EQ(c.At(13, 2), kBlack);
  strip.SetTintColor(kWhite);
  EXPECT_EQ(strip.DrawFrame(c.dc, 0, 20, 0, CImageStrip::DRAW_KEYED | CImageStrip::DRAW_TINT_STRONG), 1);
  EXPECT_EQ(c.At(20, 1), kGrey);
  const COLORREF tinted = c.At(22, 1);
  EXPECT_GT(GetGValue(tinted), 100);  // red pushed toward white
  EXPECT_EQ(GetRValue(tinted), 255);
  EXPECT_EQ(strip.DrawFrame(c.dc, 2, 30, 0, CImageStrip::DRAW_TINT_LIGHT), 1);  // white with 50/256 of blue
  EXPECT_GT(GetRValue(c.At(32, 1)), 180);
  EXPECT_EQ(GetBValue(c.At(32, 1)), 255);
  ::DeleteObject(b);
}

TEST(ImageFunctions, ModesAndTransparentBitmap) {
  Canvas pic(6, 3, kRed);
  pic.Fill(2, 0, 2, 3, kGreen);
  pic.Fill(4, 0, 2, 3, kBlue);
  HBITMAP b = pic.Copy();
  Canvas c(14, 7, kWhite);
  DrawBitmapMode(c.dc, RECT{0, 0, 14, 3}, b, 4, nullptr);
  EXPECT_EQ(c.At(0, 1), kRed);
  EXPECT_EQ(c.At(7, 1), kGreen);
  EXPECT_EQ(c.At(13, 1), kBlue);
  DrawBitmapMode(c.dc, RECT{0, 3, 8, 7}, b, 3, nullptr);
  EXPECT_EQ(c.At(6, 6), kRed);  // second tile, cut
  EXPECT_EQ(c.At(5, 4), kBlue);
  ::DeleteObject(b);

  Canvas key(3, 3, kKey);
  key.Fill(1, 1, 1, 1, kBlue);
  HBITMAP k = key.Copy();
  Canvas d(12, 6, kGreen);
  EXPECT_EQ(DrawTransparentBitmap(k, kKey, 3, d.dc, 0, 0, 0, 0, FALSE), 0);
  EXPECT_EQ(DrawTransparentBitmap(k, kKey, 1, d.dc, 0, 0, 0, 0, FALSE), 1);
  EXPECT_EQ(d.At(0, 0), kGreen);
  EXPECT_EQ(d.At(1, 1), kBlue);
  EXPECT_EQ(DrawTransparentBitmap(k, kKey, 1, d.dc, 3, 0, 6, 6, FALSE), 1);  // stretched twice
  EXPECT_EQ(d.At(3, 0), kGreen);
  EXPECT_EQ(d.At(6, 3), kBlue);
  ::DeleteObject(k);
}

TEST(ImageFunctions, RegionsFromBitmaps) {
  Canvas all(4, 4, kKey);
  HBITMAP a = all.Copy();
  EXPECT_EQ(BitmapToRegionByColor(a, kKey), nullptr);
  EXPECT_EQ(BitmapToRegionByPixel(a, -1, -1), nullptr);
  ::DeleteObject(a);
  // A checkerboard of 1000 single-pixel runs: built in batches, equal to the union.
  Canvas board(40, 50, kKey);
  for (int y = 0; y < 50; ++y)
    for (int x = (y & 1); x < 40; x += 2) board.Fill(x, y, 1, 1, kBlack);
  HBITMAP bb = board.Copy();
  HRGN r = BitmapToRegionByColor(bb, kKey);
  ASSERT_TRUE(r);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(::PtInRegion(r, x, y) != 0, ((x + y) & 1) == 0) << x << "," << y;
  ::DeleteObject(r);
  ::DeleteObject(bb);
}

namespace {
const BYTE kPng[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
                     0x52, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02, 0x00, 0x00, 0x00, 0x12,
                     0x16, 0xF1, 0x4D, 0x00, 0x00, 0x00, 0x12, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8,
                     0xCF, 0xC0, 0xC0, 0x00, 0xC1, 0xFF, 0xFF, 0x43, 0x69, 0x00, 0x48, 0xCB, 0x07, 0xF9, 0x8F,
                     0x88, 0x4C, 0x59, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

// A BMP of the given depth (1 or 24) and rows order; pixel (0, 0) is set, the rest clear.
std::vector<BYTE> Bmp(int w, int h, int bits, bool topDown) {
  const int stride = ((w * bits + 31) / 32) * 4, table = bits == 1 ? 8 : 0;
  const DWORD off = 14 + 40 + table, size = off + stride * h;
  std::vector<BYTE> b(size, 0);
  auto put32 = [&](size_t at, DWORD v) { memcpy(&b[at], &v, 4); };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, off);
  put32(14, 40);
  put32(18, w);
  put32(22, DWORD(topDown ? -h : h));
  b[26] = 1;
  b[28] = BYTE(bits);
  if (bits == 1) put32(54 + 4, 0xFFFFFF);
  const int firstRow = topDown ? 0 : h - 1;
  BYTE* row = &b[off + firstRow * stride];
  if (bits == 1)
    row[0] = 0x80;
  else
    row[0] = row[1] = row[2] = 0xFF;
  return b;
}

COLORREF PixelOf(HBITMAP bmp, int x, int y) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  COLORREF c = ::GetPixel(dc, x, y);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return c;
}
}  // namespace

TEST(ImageFunctions, DecodeFromMemory) {
  EXPECT_EQ(DecodeImageFromMemory(kPng, 5), nullptr);
  HBITMAP png = DecodeImageFromMemory(kPng, sizeof kPng);
  ASSERT_TRUE(png);
  EXPECT_EQ(PixelOf(png, 0, 0), kRed);
  EXPECT_EQ(PixelOf(png, 2, 1), kKey);
  ::DeleteObject(png);
  for (int bits : {1, 24})
    for (bool topDown : {false, true}) {
      std::vector<BYTE> b = Bmp(9, 3, bits, topDown);
      HBITMAP bmp = DecodeImageFromMemory(b.data(), DWORD(b.size()));
      ASSERT_TRUE(bmp) << bits << topDown;
      EXPECT_EQ(PixelOf(bmp, 0, 0), kWhite) << bits << topDown;
      EXPECT_EQ(PixelOf(bmp, 1, 0), kBlack) << bits << topDown;
      EXPECT_EQ(PixelOf(bmp, 0, 2), kBlack) << bits << topDown;
      ::DeleteObject(bmp);
      b[2] ^= 1;  // stored file size differs from the data
      EXPECT_EQ(DecodeImageFromMemory(b.data(), DWORD(b.size())), nullptr);
    }
  std::vector<BYTE> junk(64, 0x42);
  EXPECT_EQ(DecodeImageFromMemory(junk.data(), DWORD(junk.size())), nullptr);  // not a JPEG either
}

TEST(ImageFunctions, LoadFromFileAndPackedDib) {
  char path[MAX_PATH];
  ::GetTempPathA(MAX_PATH, path);
  std::string file = std::string(path) + "vesk_image_test.png";
  HANDLE f = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD wrote = 0;
  ::WriteFile(f, kPng, sizeof kPng, &wrote, nullptr);
  ::CloseHandle(f);
  HBITMAP b = LoadImageFromResourceOrFile(nullptr, file.c_str(), nullptr, 0);
  ASSERT_TRUE(b);
  EXPECT_EQ(PixelOf(b, 1, 0), kGreen);
  EXPECT_EQ(LoadImageFromResourceOrFile(nullptr, (file + ".missing").c_str(), nullptr, 0), nullptr);
  ::DeleteFileA(file.c_str());

  EXPECT_EQ(BitmapToPackedDib(b, BI_BITFIELDS, nullptr), nullptr);
  HGLOBAL dib = BitmapToPackedDib(b, BI_RGB, nullptr);
  ASSERT_TRUE(dib);
  const BITMAPINFOHEADER* h = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib));
  EXPECT_EQ(h->biWidth, 3);
  EXPECT_EQ(h->biHeight, 2);
  ::GlobalUnlock(dib);
  ::GlobalFree(dib);
  ::DeleteObject(b);
}

TEST(ImageFunctions, ClipboardGetsACopy) {
  Canvas c(4, 4, kBlue);
  HBITMAP b = c.Copy();
  ASSERT_EQ(CopyBitmapToClipboard(b), 1);
  ASSERT_TRUE(::OpenClipboard(nullptr));
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
  ::CloseClipboard();
  int w = 0, h = 0;
  EXPECT_TRUE(GetBitmapSize(b, &w, &h));  // the caller's bitmap is still its own
  ::DeleteObject(b);
}

// A picture of what the image classes draw, to look at.
TEST(ImageFunctions, SavesAPictureOfTheDrawing) {
  Canvas c(160, 60, RGB(200, 200, 200));
  HBITMAP strip = StripBitmap(kTeal);
  CImageStrip s;
  ASSERT_TRUE(s.Load(strip, 4));
  s.SetTintColor(kWhite);
  const UINT flags[4] = {0, CImageStrip::DRAW_KEYED, CImageStrip::DRAW_KEYED | CImageStrip::DRAW_TINT_STRONG,
                         CImageStrip::DRAW_TINT_LIGHT};
  for (int i = 0; i < 4; ++i)
    for (int f = 0; f < 4; ++f) s.DrawFrame(c.dc, i, 4 + f * 10, 4 + i * 6, flags[f]);
  Canvas pic(6, 6, kRed);
  pic.Fill(2, 0, 2, 6, kGreen);
  pic.Fill(4, 0, 2, 6, kBlue);
  pic.Fill(0, 2, 6, 2, kWhite);
  HBITMAP p = pic.Copy();
  DrawBitmapMode(c.dc, RECT{50, 4, 100, 28}, p, 3, nullptr);
  DrawBitmapMode(c.dc, RECT{50, 32, 100, 56}, p, 5, nullptr);
  DrawBitmapMode(c.dc, RECT{104, 4, 156, 56}, p, 0, nullptr);
  c.Save("image_draw.png");
  EXPECT_EQ(c.At(50, 4), kRed);
  ::DeleteObject(p);
  ::DeleteObject(strip);
}
