#include <gtest/gtest.h>

#include <string>

#include "NetFrame.h"
#include "ZlibAdapter.h"

using namespace netcore;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> v) { return std::vector<uint8_t>(v.begin(), v.end()); }

}  // namespace

TEST(NetFrame, HeaderGoldenBytes) {
  const uint8_t body[3] = {0xAA, 0xBB, 0xCC};
  EXPECT_EQ(BuildFrame(0x204, body, 3), Bytes({0x04, 0x02, 0, 0, 3, 0, 0, 0, 0xAA, 0xBB, 0xCC}));
  EXPECT_EQ(BuildFrame(0x80000204, body, 1, 0x01020304), Bytes({0x04, 0x02, 0, 0x80, 1, 0, 0, 0, 4, 3, 2, 1, 0xAA}));
  EXPECT_EQ(BuildP80Header(8000, 7), Bytes({0x63, 0x06, 0, 0, 8, 0, 0, 0, 0x40, 0x1F, 0, 0, 7, 0, 0, 0}));

  NET_MSG_HEADER h;
  auto reply = BuildFrame(0x80000200, body, 2, 9);
  ASSERT_TRUE(DecodeHeader(reply.data(), reply.size(), &h));
  EXPECT_EQ(h.id, 0x80000200u);
  EXPECT_EQ(h.length, 2u);
  EXPECT_EQ(h.status, 9u);
  EXPECT_FALSE(DecodeHeader(reply.data(), 11, &h)) << "a reply header needs its status word";
  EXPECT_FALSE(DecodeHeader(reply.data(), 7, &h));
  EXPECT_EQ(FrameTotalSize(reply.data(), reply.size()), 14u);
}

TEST(NetFrame, SendLimitCountsHeaderAndBody) {
  std::vector<uint8_t> body(NET_SEND_LIMIT - 8);
  auto atLimit = BuildFrame(0x300, body.data(), body.size());
  EXPECT_EQ(FrameTotalSize(atLimit.data(), atLimit.size()), 65536u);
  auto over = BuildFrame(0x80000300, body.data(), body.size());
  EXPECT_EQ(FrameTotalSize(over.data(), over.size()), 65540u);
  EXPECT_GT(FrameTotalSize(over.data(), over.size()), NET_SEND_LIMIT);
}

TEST(NetFrame, CompressedIdBit) {
  EXPECT_TRUE(IsCompressedId(0x40000204));
  EXPECT_TRUE(IsCompressedId(0xC0000204));
  EXPECT_FALSE(IsCompressedId(0x204));
  EXPECT_FALSE(IsCompressedId(MSG_FATAL)) << "the fatal message is never inflated";
}

TEST(NetFrame, InflateRoundTripKeepsHeader) {
  std::string text(3000, 'x');
  for (size_t i = 0; i < text.size(); i += 7) text[i] = char('a' + i % 26);
  for (uint32_t id : {0x205u, 0x80000205u}) {
    auto plain = BuildFrame(id, text.data(), text.size(), 77);
    std::vector<uint8_t> packed, back;
    ASSERT_TRUE(CompressFrame(plain, ZlibCompress, &packed));
    EXPECT_TRUE(IsCompressedId(ReadU32(packed.data())));
    EXPECT_LT(packed.size(), plain.size());
    ASSERT_EQ(InflateFrame(packed, ZlibUncompress, &back), InflateResult::kOk);
    EXPECT_EQ(back, plain);
  }
}

TEST(NetFrame, InflateRejectsBadBodies) {
  std::string text = "hello hello hello";
  auto plain = BuildFrame(0x205, text.data(), text.size());
  std::vector<uint8_t> packed, out;
  ASSERT_TRUE(CompressFrame(plain, ZlibCompress, &packed));

  // Body shorter than its 4-byte length word.
  auto shortBody = BuildFrame(0x40000205, "\x01\x00", 2);
  EXPECT_EQ(InflateFrame(shortBody, ZlibUncompress, &out), InflateResult::kTooShort);
  // Announced length beyond the bound: refused before anything is allocated.
  auto huge = packed;
  WriteU32(huge.data() + 8, NET_MAX_BODY + 1);
  EXPECT_EQ(InflateFrame(huge, ZlibUncompress, &out), InflateResult::kTooLarge);
  // Stream that inflates to more than announced.
  auto lying = packed;
  WriteU32(lying.data() + 8, 5);
  EXPECT_EQ(InflateFrame(lying, ZlibUncompress, &out), InflateResult::kFailed);
  // Corrupt stream.
  auto corrupt = packed;
  corrupt[14] ^= 0xFF;
  corrupt[15] ^= 0xFF;
  EXPECT_EQ(InflateFrame(corrupt, ZlibUncompress, &out), InflateResult::kFailed);
  // Body length beyond the buffer.
  auto cut = packed;
  cut.pop_back();
  EXPECT_EQ(InflateFrame(cut, ZlibUncompress, &out), InflateResult::kTooShort);
  EXPECT_EQ(InflateFrame(packed, nullptr, &out), InflateResult::kNoInflater);
  EXPECT_TRUE(out.empty()) << "no failure leaves a result behind";
}

TEST(NetFrame, ErrorStringTable) {
  const std::pair<int, int> cases[] = {
      {0, 29900},     {10054, 29900}, {10061, 29901}, {10052, 29902}, {10053, 29903}, {10201, 29904}, {10202, 29905},
      {10060, 29907}, {11001, 29909}, {10200, 0},     {-1, 0},        {10203, 29906}, {10204, 29906}, {12345, 29906},
  };
  for (auto [code, id] : cases) EXPECT_EQ(ErrorStringId(code), id) << code;
}
