// Every stand-in present: the binders bind and the calls of the Parts work through them.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "BinderTestSupport.h"
#include "GifImage.h"
#include "OutsideLibrary.h"

using namespace bindertest;

namespace {

const unsigned char kGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x00, 0x02, 0x00, 0xF1, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00,
    0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x21, 0xFF, 0x0B, 0x4E, 0x45, 0x54, 0x53, 0x43, 0x41, 0x50, 0x45, 0x32, 0x2E,
    0x30, 0x03, 0x01, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x00, 0x14, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x02, 0x00, 0x00, 0x02, 0x04, 0x04, 0x43, 0x71, 0x05, 0x00, 0x21, 0xF9, 0x04, 0x00, 0x14, 0x00, 0x00,
    0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00, 0x02, 0x04, 0x1C, 0xC5, 0x10, 0x05, 0x00, 0x3B};

unsigned Gradient(int x, int y) { return static_cast<unsigned>((x * 4) << 16 | (y * 5) << 8 | 0x40); }

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

unsigned PixelAt(HBITMAP bmp, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return static_cast<unsigned>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

class BindersPresent : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const char* n : {"QKJPG.dll", "QKPNG.dll", "QKGIFTGA.dll", "QKCompress.dll", "QKZip.dll", "Pendrel.dll"})
      ASSERT_TRUE(Install(StandinFolder(), n)) << n;
  }
};

}  // namespace

TEST_F(BindersPresent, JpegWrittenAtQualitySixtyDecodesBack) {
  HGLOBAL dib = PackedDib(64, 48, Gradient);
  std::string path = LibraryFolder() + "\\shot.jpg";
  JpgLib_WriteDibToJpeg(dib, path.c_str(), 60);
  GlobalFree(dib);
  auto bytes = ReadAll(path);
  ASSERT_GT(bytes.size(), 100u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  HBITMAP bmp = nullptr;
  HPALETTE pal = reinterpret_cast<HPALETTE>(1);
  int w = 0, h = 0;
  ASSERT_TRUE(JpgLib_LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size()), &bmp, &pal, &w, &h));
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 48);
  EXPECT_EQ(pal, nullptr);
  unsigned c = PixelAt(bmp, 40, 20), want = Gradient(40, 20) & 0xFFFFFF;
  for (int shift : {0, 8, 16})
    EXPECT_NEAR(static_cast<int>((c >> shift) & 0xFF), static_cast<int>((want >> shift) & 0xFF), 24);
  DeleteObject(bmp);
  EXPECT_NE(GetModuleHandleA("QKJPG.dll"), nullptr);
}

TEST_F(BindersPresent, PngDecodesExactly) {
  ASSERT_TRUE(BindPngLibrary());
  auto encode = reinterpret_cast<PFN_WRITEIMAGEDATATOPNGMEM>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("QKPNG.dll"), "WriteImageDataToPNGMem")));
  ASSERT_NE(encode, nullptr);
  std::vector<unsigned> px(8 * 4);
  for (int i = 0; i < 32; ++i) px[i] = 0xFF000000u | Gradient(i % 8, i / 8);
  DWORD size = 0;
  HGLOBAL png = encode(px.data(), 8, 4, &size);
  ASSERT_NE(png, nullptr);
  HBITMAP bmp = nullptr;
  int w = 0, h = 0;
  ASSERT_TRUE(PngLib_LoadFromMem(GlobalLock(png), size, &bmp, nullptr, &w, &h));
  GlobalUnlock(png);
  GlobalFree(png);
  EXPECT_EQ(w, 8);
  EXPECT_EQ(h, 4);
  EXPECT_EQ(PixelAt(bmp, 5, 3), Gradient(5, 3) & 0xFFFFFF);
  DeleteObject(bmp);
  EXPECT_FALSE(PngLib_LoadFromMem("not a png", 9, &bmp, nullptr, &w, &h));
}

TEST_F(BindersPresent, GifImageReadsEveryFrame) {
  CGifImage gif;
  EXPECT_FALSE(gif.GetImageSize(nullptr, nullptr, nullptr));  // no handle yet
  ASSERT_EQ(gif.LoadFromMemory(kGif, sizeof kGif), 0);
  int w = 0, h = 0, frames = 0;
  ASSERT_TRUE(gif.GetImageSize(&w, &h, &frames));
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(frames, 2);
  std::vector<unsigned> firstPixels;
  for (int i = 0; i < 2; ++i) {
    HBITMAP image = nullptr, mask = nullptr;
    int left = -1, top = -1, fw = 0, fh = 0, delay = 0, disposal = -1, transparent = -1, index = -1;
    ASSERT_TRUE(gif.GetNextImage(&image, &mask, &left, &top, &fw, &fh, &delay, &disposal, &transparent, &index));
    EXPECT_EQ(index, i);
    EXPECT_EQ(fw, 2);
    EXPECT_GT(delay, 0);
    firstPixels.push_back(PixelAt(image, 0, 0));
    DeleteObject(image);
    if (mask) DeleteObject(mask);
  }
  EXPECT_EQ(firstPixels[0], 0xFF0000u);  // palette entry 0
  EXPECT_EQ(firstPixels[1], 0xFFFFFFu);  // palette entry 3
  EXPECT_FALSE(
      gif.GetNextImage(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
  CGifImage bad;
  EXPECT_EQ(bad.LoadFromMemory("GIF89a broken", 13), 3);
  EXPECT_EQ(bad.LoadFromFile("no such file.gif"), 3);
  const GIF_LIBRARY* lib = GetGifLibrary();
  ASSERT_NE(lib, nullptr);
  EXPECT_NE(lib->pLoadTgaFromMem, nullptr);  // resolved although not required
}

TEST_F(BindersPresent, CompressAndZipInflateZlibStreams) {
  ASSERT_TRUE(BindCompressLibrary());
  auto qkCompress = reinterpret_cast<PFN_QK_ZIPCOMPRESS>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("QKCompress.dll"), "QK_ZIPCompress")));
  std::string text(5000, 'a');
  for (size_t i = 0; i < text.size(); i += 7) text[i] = static_cast<char>('a' + i % 26);
  std::vector<unsigned char> packed(6000);
  int n = qkCompress(packed.data(), static_cast<int>(packed.size()),
                     reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  ASSERT_GT(n, 0);
  std::vector<unsigned char> out(text.size());
  EXPECT_EQ(CompressLib_Uncompress(out.data(), static_cast<int>(out.size()), packed.data(), n),
            static_cast<int>(text.size()));
  EXPECT_EQ(std::memcmp(out.data(), text.data(), text.size()), 0);
  // A stated size smaller than the stream's content fails instead of overrunning.
  EXPECT_EQ(CompressLib_Uncompress(out.data(), 100, packed.data(), n), 0);

  unsigned long len = static_cast<unsigned long>(out.size());
  EXPECT_EQ(ZipLib_Uncompress(out.data(), &len, packed.data(), static_cast<unsigned long>(n)), 0);
  EXPECT_EQ(len, text.size());
  len = 10;
  EXPECT_NE(ZipLib_Uncompress(out.data(), &len, packed.data(), static_cast<unsigned long>(n)), 0);
}

TEST_F(BindersPresent, CodePageConverterGoesFromGbkToBig5) {
  ASSERT_TRUE(BindCodePageLibrary("936"));
  EXPECT_EQ(GetClientCodePage(), 936);
  EXPECT_TRUE(IsCodePageConverterBound());
  char dest[16] = {};
  TranStrCodePageBound("\xD6\xD0\xCE\xC4", dest, 936, 950);  // "中文"
  EXPECT_STREQ(dest, "\xA4\xA4\xA4\xE5");
  // Into a field of 4 bytes: one character and a zero, never half of the second.
  char field[4];
  std::memset(field, 'x', sizeof field);
  EXPECT_TRUE(ConvertCodePageToField("\xD6\xD0\xCE\xC4", field, sizeof field, 936, 950));
  EXPECT_STREQ(field, "\xA4\xA4");
}
