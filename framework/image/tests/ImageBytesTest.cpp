// Which decoder picture bytes go to, and the BMP checks of the decoder.
#include "ImageBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace dibimage;

namespace {
std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// A 2 x 2 BMP of 24 bits; height negative for top-down rows.
std::vector<uint8_t> Bmp24(int height, uint32_t storedSize = 0) {
  const uint32_t rowBytes = 8, size = 14 + 40 + rowBytes * 2;
  std::vector<uint8_t> b(size, 0);
  std::fill(b.begin() + 54, b.end(), 0x11);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, storedSize ? storedSize : size);
  put32(6, 0);
  put32(10, 54);
  put32(14, 40);
  put32(18, 2);
  put32(22, static_cast<uint32_t>(height));
  b[26] = 1;
  b[27] = 0;
  b[28] = 24;
  b[29] = 0;
  put32(30, 0);
  put32(34, 0);
  return b;
}
}  // namespace

TEST(ImageBytes, SniffByFirstBytes) {
  struct {
    std::string data;
    ImageKind kind;
  } cases[] = {
      {"GIF89", ImageKind::None},         {"\x89PNG\r", ImageKind::None}, {"GIF87a;", ImageKind::Gif},
      {"GIF89a;", ImageKind::Gif},        {"GIF88a;", ImageKind::Jpeg},   {"\x89PNG\r\n\x1a\n", ImageKind::Png},
      {"xPNG\r\n\x1a\n", ImageKind::Png}, {"BM123456", ImageKind::Bmp},   {"\xFF\xD8\xFF\xE0JFIF", ImageKind::Jpeg},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> b = Bytes(c.data);
    EXPECT_EQ(SniffImage(b.data(), b.size()), c.kind) << c.data;
  }
  EXPECT_EQ(SniffImage(nullptr, 100), ImageKind::None);
}

TEST(ImageBytes, BmpChecks) {
  DibInfo info;
  std::vector<uint8_t> up = Bmp24(2), down = Bmp24(-2), wrongSize = Bmp24(2, 999), shortRows = Bmp24(5);
  EXPECT_EQ(CheckBmpBytes(up.data(), up.size(), &info), DibError::None);
  EXPECT_FALSE(info.topDown);
  EXPECT_EQ(CheckBmpBytes(down.data(), down.size(), &info), DibError::None);
  EXPECT_TRUE(info.topDown);
  EXPECT_NE(CheckBmpBytes(wrongSize.data(), wrongSize.size(), &info), DibError::None);
  EXPECT_NE(CheckBmpBytes(shortRows.data(), shortRows.size(), &info), DibError::None);
  EXPECT_NE(CheckBmpBytes(up.data(), 10, &info), DibError::None);
}
