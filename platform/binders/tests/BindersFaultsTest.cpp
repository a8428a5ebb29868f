// Libraries missing, or lacking a function: each binder's own failure rule.
#include <gtest/gtest.h>

#include <cstring>

#include "BinderTestSupport.h"
#include "GifImage.h"
#include "OutsideLibrary.h"

using namespace bindertest;

TEST(BindersFaults, CodecMissingAFunctionFailsForGood) {
  ASSERT_TRUE(Install(BrokenFolder(), "QKJPG.dll"));  // lacks FreeDataHandle
  HBITMAP bmp = nullptr;
  EXPECT_FALSE(JpgLib_LoadFromMem("\xFF\xD8", 2, &bmp, nullptr, nullptr, nullptr));
  EXPECT_EQ(GetModuleHandleA("QKJPG.dll"), nullptr);  // freed again
  ASSERT_TRUE(Install(StandinFolder(), "QKJPG.dll"));
  EXPECT_FALSE(BindJpgLibrary());  // the good one is never tried
  EXPECT_EQ(GetModuleHandleA("QKJPG.dll"), nullptr);
  HGLOBAL dib = PackedDib(4, 4, [](int, int) { return 0u; });
  std::string path = LibraryFolder() + "\\none.jpg";
  JpgLib_WriteDibToJpeg(dib, path.c_str(), 60);
  GlobalFree(dib);
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(BindersFaults, AbsentCodecFailsForGood) {
  EXPECT_FALSE(PngLib_LoadFromMem("\x89PNG\r\n", 6, nullptr, nullptr, nullptr, nullptr));
  unsigned char out[8] = {};
  EXPECT_EQ(CompressLib_Uncompress(out, 8, out, 8), 0);
  ASSERT_TRUE(Install(StandinFolder(), "QKCompress.dll"));
  EXPECT_EQ(CompressLib_Uncompress(out, 8, out, 8), 0);
  EXPECT_FALSE(BindCompressLibrary());

  CGifImage gif;
  EXPECT_EQ(gif.LoadFromMemory("GIF89a", 6), 3);
  EXPECT_EQ(gif.LoadFromFile("x.gif"), 3);
  EXPECT_FALSE(gif.GetImageSize(nullptr, nullptr, nullptr));
  EXPECT_EQ(GetGifLibrary(), nullptr);
}

TEST(BindersFaults, ZipIsTriedAgainAtTheNextCall) {
  unsigned char out[16] = {};
  unsigned long len = sizeof out;
  EXPECT_EQ(ZipLib_Uncompress(out, &len, out, 4), -1);  // absent
  ASSERT_TRUE(Install(BrokenFolder(), "QKZip.dll"));    // lacks compress
  EXPECT_EQ(ZipLib_Uncompress(out, &len, out, 4), -1);
  EXPECT_EQ(GetModuleHandleA("QKZip.dll"), nullptr);
  ASSERT_TRUE(Install(StandinFolder(), "QKZip.dll"));
  const unsigned char stream[] = {0x78, 0x9C, 0x4B, 0x4C, 0x4A, 0x06, 0x00, 0x02, 0x4D, 0x01, 0x27};  // "abc"
  len = sizeof out;
  EXPECT_EQ(ZipLib_Uncompress(out, &len, stream, sizeof stream), 0);
  EXPECT_EQ(len, 3u);
  EXPECT_EQ(std::memcmp(out, "abc", 3), 0);
}

TEST(BindersFaults, CodePageConverterRules) {
  // No code page named: nothing is loaded.
  ASSERT_TRUE(Install(BrokenFolder(), "Pendrel.dll"));  // lacks TranStrCodePage
  EXPECT_FALSE(BindCodePageLibrary(""));
  EXPECT_EQ(GetModuleHandleA("Pendrel.dll"), nullptr);
  // Named, but the library lacks the text converter: not bound, yet it stays loaded.
  EXPECT_FALSE(BindCodePageLibrary("950"));
  EXPECT_EQ(GetClientCodePage(), 950);
  EXPECT_FALSE(IsCodePageConverterBound());
  EXPECT_NE(GetModuleHandleA("Pendrel.dll"), nullptr);
  char dest[8] = "zzzz";
  EXPECT_EQ(TranStrCodePageBound("abc", dest, 936, 950), 0);
  char field[4];
  EXPECT_FALSE(ConvertCodePageToField("\xD6\xD0\xCE\xC4", field, sizeof field, 936, 950));
  EXPECT_STREQ(field, "\xD6\xD0");  // copied as it is, bounded on a character boundary
}
