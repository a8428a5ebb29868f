// BMP checks against malformed headers, and the picture-size rounding.
#include "DibFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// A well-formed BMP file: 14-byte file header, 40-byte info header, colour table, rows.
std::vector<uint8_t> MakeBmp(int w, int h, int bits, uint32_t clrUsed = 0) {
  const uint32_t colours = bits <= 8 ? (clrUsed ? clrUsed : 1u << bits) : clrUsed;
  const size_t stride = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
  const size_t rows = static_cast<size_t>(h < 0 ? -h : h);
  const size_t off = 14 + 40 + colours * 4;
  std::vector<uint8_t> b(off + stride * rows, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, static_cast<uint32_t>(off));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(w));
  Put32(b, 22, static_cast<uint32_t>(h));
  Put16(b, 26, 1);
  Put16(b, 28, static_cast<uint32_t>(bits));
  Put32(b, 46, clrUsed);
  return b;
}

TEST(DibFormat, WellFormedFilesOfEveryDepthAndBothRowOrders) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    for (int h : {7, -7}) {
      auto b = MakeBmp(5, h, bits);
      DibInfo info;
      ASSERT_EQ(ValidateBmpFile(b.data(), b.size(), &info), DibError::None) << bits << " " << h;
      EXPECT_EQ(info.width, 5);
      EXPECT_EQ(info.topDown, h < 0);
      EXPECT_EQ(info.rowBytes, ((5u * bits + 31) / 32) * 4);
      EXPECT_EQ(info.bitsOffset + info.imageBytes, b.size() - 14);
      EXPECT_EQ(info.colourCount, bits <= 8 ? (1u << bits) : 0u);
    }
  }
}

TEST(DibFormat, ColourCountComesFromTheHeaderWhenGiven) {
  auto b = MakeBmp(3, 3, 8, 16);
  DibInfo info;
  ASSERT_EQ(ValidateBmpFile(b.data(), b.size(), &info), DibError::None);
  EXPECT_EQ(info.colourCount, 16u);
  EXPECT_EQ(info.bitsOffset, 40u + 64u);
}

struct Malformed {
  const char* what;
  void (*spoil)(std::vector<uint8_t>&);
  DibError expected;
};

TEST(DibFormat, MalformedHeadersAreRefused) {
  const Malformed cases[] = {
      {"no signature", [](std::vector<uint8_t>& b) { b[0] = 'X'; }, DibError::NoSignature},
      {"header size 12", [](std::vector<uint8_t>& b) { Put32(b, 14, 12); }, DibError::BadHeaderSize},
      {"header size huge", [](std::vector<uint8_t>& b) { Put32(b, 14, 0x7FFFFFFF); }, DibError::BadHeaderSize},
      {"header past data", [](std::vector<uint8_t>& b) { b.resize(14 + 30); }, DibError::TooShort},
      {"zero width", [](std::vector<uint8_t>& b) { Put32(b, 18, 0); }, DibError::BadSize},
      {"negative width", [](std::vector<uint8_t>& b) { Put32(b, 18, static_cast<uint32_t>(-4)); }, DibError::BadSize},
      {"zero height", [](std::vector<uint8_t>& b) { Put32(b, 22, 0); }, DibError::BadSize},
      {"most negative height", [](std::vector<uint8_t>& b) { Put32(b, 22, 0x80000000u); }, DibError::BadSize},
      {"huge width", [](std::vector<uint8_t>& b) { Put32(b, 18, 0x40000000u); }, DibError::BadSize},
      {"two planes", [](std::vector<uint8_t>& b) { Put16(b, 26, 2); }, DibError::BadPlanes},
      {"zero planes", [](std::vector<uint8_t>& b) { Put16(b, 26, 0); }, DibError::BadPlanes},
      {"7 bits", [](std::vector<uint8_t>& b) { Put16(b, 28, 7); }, DibError::BadBitCount},
      {"RLE8", [](std::vector<uint8_t>& b) { Put32(b, 30, 1); }, DibError::BadCompression},
      {"bitfields on 8 bits", [](std::vector<uint8_t>& b) { Put32(b, 30, 3); }, DibError::BadCompression},
      {"257 colours", [](std::vector<uint8_t>& b) { Put32(b, 46, 257); }, DibError::TooManyColours},
      {"huge colour count", [](std::vector<uint8_t>& b) { Put32(b, 46, 0xFFFFFFFFu); }, DibError::TooManyColours},
      {"table cut", [](std::vector<uint8_t>& b) { b.resize(14 + 40 + 100); }, DibError::TableOutside},
      {"offset inside headers", [](std::vector<uint8_t>& b) { Put32(b, 10, 20); }, DibError::BadOffset},
      {"offset below 14", [](std::vector<uint8_t>& b) { Put32(b, 10, 3); }, DibError::BadOffset},
      {"offset past end", [](std::vector<uint8_t>& b) { Put32(b, 10, 0xFFFFFFF0u); }, DibError::BadOffset},
      {"rows cut", [](std::vector<uint8_t>& b) { b.pop_back(); }, DibError::BitsOutside},
      {"taller than data", [](std::vector<uint8_t>& b) { Put32(b, 22, 9000); }, DibError::BitsOutside},
  };
  for (const auto& c : cases) {
    auto b = MakeBmp(8, 8, 8);
    c.spoil(b);
    EXPECT_EQ(ValidateBmpFile(b.data(), b.size(), nullptr), c.expected) << c.what;
  }
}

TEST(DibFormat, ColourLimitFollowsTheDepth) {
  auto b = MakeBmp(8, 8, 4, 17);  // 17 entries on 4 bits
  b.resize(b.size() + 4);
  EXPECT_EQ(ValidateBmpFile(b.data(), b.size(), nullptr), DibError::TooManyColours);
  auto c = MakeBmp(8, 8, 24, 300);
  EXPECT_EQ(ValidateBmpFile(c.data(), c.size(), nullptr), DibError::TooManyColours);
}

TEST(DibFormat, BitFieldMasksCountAfterAFortyByteHeader) {
  auto b = MakeBmp(4, 2, 16);
  Put32(b, 30, 3);
  EXPECT_EQ(ValidateBmpFile(b.data(), b.size(), nullptr), DibError::BadOffset);  // masks overlap the rows
  Put32(b, 10, 14 + 40 + 12);
  b.resize(b.size() + 12);
  DibInfo info;
  ASSERT_EQ(ValidateBmpFile(b.data(), b.size(), &info), DibError::None);
  EXPECT_EQ(info.bitsOffset, 52u);
}

TEST(DibFormat, ShortInputsAndPackedForm) {
  const uint8_t bm[] = {'B', 'M', 0};
  EXPECT_EQ(ValidateBmpFile(bm, sizeof bm, nullptr), DibError::TooShort);
  EXPECT_EQ(ValidateBmpFile(nullptr, 0, nullptr), DibError::TooShort);
  EXPECT_EQ(ValidatePackedDib(nullptr, 0, nullptr), DibError::TooShort);
  auto b = MakeBmp(2, 2, 24);
  EXPECT_EQ(ValidatePackedDib(b.data() + 14, b.size() - 14, nullptr), DibError::None);
  EXPECT_EQ(ValidatePackedDib(b.data() + 14, 39, nullptr), DibError::TooShort);
}

TEST(DibFormat, SignatureDecidesNotTheName) {
  const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0};
  const uint8_t bmp[] = {'B', 'M'};
  EXPECT_FALSE(HasBmpSignature(jpeg, sizeof jpeg));
  EXPECT_TRUE(HasBmpSignature(bmp, sizeof bmp));
  EXPECT_FALSE(HasBmpSignature(bmp, 1));
}

TEST(DibFormat, HimetricConvertsWithRounding) {
  struct {
    long him;
    int dpi;
    long px;
  } cases[] = {{2540, 96, 96}, {2646, 96, 100},  {2645, 96, 100},   {26, 96, 1},         {13, 96, 0},
               {0, 96, 0},     {2540, 120, 120}, {-2646, 96, -100}, {1000000, 96, 37795}};
  for (const auto& c : cases) EXPECT_EQ(HimetricToPixels(c.him, c.dpi), c.px) << c.him << " at " << c.dpi;
}

}  // namespace
