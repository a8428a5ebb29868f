#include <gtest/gtest.h>

#include "NetFrame.h"
#include "WireTransform.h"

using namespace netcore;

namespace {

std::vector<uint8_t> Sample(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint8_t(i * 31 + 7);
  return v;
}

}  // namespace

// The table server implements the same family: these bytes pin the keystream down.
TEST(WireTransform, GoldenKeystream) {
  std::vector<uint8_t> zero(8, 0);
  uint32_t st = 0;
  CWireProgram({{WIRE_XOR, 0x12345678}}).Apply(zero.data(), zero.size(), &st);
  EXPECT_EQ(st, 8u);
  std::vector<uint8_t> again(8, 0);
  uint32_t st2 = 0;
  CWireProgram({{WIRE_ADD, 0x12345678}}).Apply(again.data(), again.size(), &st2);
  EXPECT_EQ(zero, again) << "xor and add agree on a zero input";
  EXPECT_NE(zero, std::vector<uint8_t>(8, 0));
  // Pinned values of Mix32(key ^ pos * 0x9E3779B9) & 0xFF for key 0x12345678, positions 0..7.
  const uint8_t golden[8] = {0xbc, 0x7c, 0x1c, 0x30, 0x0b, 0xd1, 0xed, 0xd2};
  EXPECT_EQ(zero, std::vector<uint8_t>(golden, golden + 8));
}

TEST(WireTransform, InverseUndoesEveryOperation) {
  const std::vector<WireStep> programs[] = {
      {{WIRE_XOR, 1}}, {{WIRE_ADD, 2}},
      {{WIRE_SUB, 3}}, {{WIRE_ROL, 4}},
      {{WIRE_ROR, 5}}, {{WIRE_ADD, 0xDEADBEEF}, {WIRE_ROL, 9}, {WIRE_XOR, 77}, {WIRE_SUB, 1}, {WIRE_ROR, 0}},
  };
  for (const auto& steps : programs) {
    CWireProgram p(steps);
    auto data = Sample(300), orig = data;
    uint32_t a = 0xFFFFFFF0, b = 0xFFFFFFF0;  // wraps through zero
    p.Apply(data.data(), data.size(), &a);
    EXPECT_NE(data, orig);
    p.Inverse().Apply(data.data(), data.size(), &b);
    EXPECT_EQ(data, orig);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, 0xFFFFFFF0u + 300u);
  }
}

TEST(WireTransform, ChunkingDoesNotChangeTheStream) {
  CWireProgram p({{WIRE_ADD, 11}, {WIRE_XOR, 22}});
  auto whole = Sample(100), chunked = whole;
  uint32_t s1 = 5, s2 = 5;
  p.Apply(whole.data(), whole.size(), &s1);
  for (size_t off = 0, n = 1; off < chunked.size(); off += n, n = n % 7 + 1)
    p.Apply(chunked.data() + off, std::min(n, chunked.size() - off), &s2);
  EXPECT_EQ(whole, chunked);
  EXPECT_EQ(s1, s2);
}

TEST(WireTransform, BlockParsing) {
  CWireProgram p({{WIRE_ROL, 0xA1B2C3D4}, {WIRE_SUB, 5}});
  auto block = p.Serialize();
  const std::vector<uint8_t> golden = {'V', 'T', 1, 2, 4, 0, 0, 0, 0xD4, 0xC3, 0xB2, 0xA1, 3, 0, 0, 0, 5, 0, 0, 0};
  EXPECT_EQ(block, golden);
  CWireProgram back;
  ASSERT_TRUE(CWireProgram::Parse(block.data(), block.size(), &back));
  EXPECT_EQ(back.Serialize(), block);
  ASSERT_TRUE(CWireProgram::Parse(nullptr, 0, &back));
  EXPECT_TRUE(back.IsIdentity());

  struct Bad {
    const char* why;
    size_t at;
    uint8_t value;
    int resize;
  };
  const Bad cases[] = {
      {"magic", 0, 'X', 0},         {"version", 2, 2, 0},     {"no steps", 3, 0, 0}, {"too many steps", 3, 9, 0},
      {"count vs length", 3, 3, 0}, {"unknown op", 4, 6, 0},  {"op zero", 4, 0, 0},  {"reserved byte", 5, 1, 0},
      {"trailing byte", 0, 'V', 1}, {"cut step", 0, 'V', -1},
  };
  for (const Bad& c : cases) {
    auto b = golden;
    b[c.at] = c.value;
    b.resize(size_t(int(b.size()) + c.resize));
    EXPECT_FALSE(CWireProgram::Parse(b.data(), b.size(), &back)) << c.why;
  }
  EXPECT_FALSE(CWireProgram::Parse(golden.data(), 3, &back));
}

TEST(WireTransform, WireCodeBodyChecksLengths) {
  WireCode code;
  code.sendState = 1;
  code.recvState = 2;
  code.send = CWireProgram({{WIRE_XOR, 3}});
  code.recv = CWireProgram({{WIRE_ADD, 4}, {WIRE_ROR, 5}});
  auto body = BuildWireCodeBody(code);
  ASSERT_EQ(body.size(), 16u + 12u + 20u);
  WireCode got;
  ASSERT_TRUE(ParseWireCode(body.data(), body.size(), &got));
  EXPECT_EQ(got.sendState, 1u);
  EXPECT_EQ(got.recvState, 2u);
  EXPECT_EQ(got.send.Serialize(), code.send.Serialize());
  EXPECT_EQ(got.recv.Serialize(), code.recv.Serialize());

  auto longer = body;
  longer.push_back(0);
  EXPECT_FALSE(ParseWireCode(longer.data(), longer.size(), &got)) << "bytes behind the blocks";
  EXPECT_FALSE(ParseWireCode(body.data(), body.size() - 1, &got)) << "blocks cut short";
  EXPECT_FALSE(ParseWireCode(body.data(), 15, &got));
  auto overflow = body;
  WriteU32(&overflow[8], 0xFFFFFFF0u);  // lengths that wrap a 32-bit sum
  WriteU32(&overflow[12], 0x20u + 12u);
  EXPECT_FALSE(ParseWireCode(overflow.data(), overflow.size(), &got));
  auto swapped = body;  // send length 20, receive length 12: blocks no longer parse
  WriteU32(&swapped[8], 20);
  WriteU32(&swapped[12], 12);
  EXPECT_FALSE(ParseWireCode(swapped.data(), swapped.size(), &got));
}

TEST(WireTransform, DirectionIsOffUntilInstalled) {
  CWireTransform t;
  auto data = Sample(10), orig = data;
  t.Apply(data.data(), data.size());
  EXPECT_EQ(data, orig);
  t.Install(CWireProgram({{WIRE_XOR, 1}}), 100);
  t.Apply(data.data(), data.size());
  EXPECT_NE(data, orig);
  EXPECT_EQ(t.State(), 110u);
  t.Off();
  EXPECT_FALSE(t.IsOn());
  EXPECT_EQ(t.State(), 0u);
}
