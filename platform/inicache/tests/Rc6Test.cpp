#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Rc6Core.h"

using vesk::Rc6Core;

namespace {

std::vector<uint8_t> Hex(const std::string& hex) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(uint8_t(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return out;
}

struct Vector {
  const char* key;
  const char* plain;
  const char* cipher;
};

// Published RC6-32/20/b vectors.
const Vector kVectors[] = {
    {"00000000000000000000000000000000", "00000000000000000000000000000000", "8fc3a53656b1f778c129df4e9848a41e"},
    {"0123456789abcdef0112233445566778", "02132435465768798a9bacbdcedfe0f1", "524e192f4715c6231f51f6367ea43f18"},
    {"000000000000000000000000000000000000000000000000", "00000000000000000000000000000000",
     "6cd61bcb190b30384e8a3f168690ae82"},
    {"0123456789abcdef0112233445566778899aabbccddeeff0", "02132435465768798a9bacbdcedfe0f1",
     "688329d019e505041e52e92af95291d4"},
    {"0000000000000000000000000000000000000000000000000000000000000000", "00000000000000000000000000000000",
     "8f5fbd0510d15fa893fa3fda6e857ec2"},
    {"0123456789abcdef0112233445566778899aabbccddeeff01032547698badcfe", "02132435465768798a9bacbdcedfe0f1",
     "c8241816f0d7e48920ad16a1674e5d48"},
};

std::vector<uint8_t> Encrypt(Rc6Core& c, const std::vector<uint8_t>& in) {
  std::vector<uint8_t> out(16);
  c.EncryptBlock(in.data(), out.data());
  return out;
}

}  // namespace

TEST(Rc6, PublishedVectorsEncryptAndDecrypt) {
  for (const Vector& v : kVectors) {
    SCOPED_TRACE(v.key);
    std::vector<uint8_t> key = Hex(v.key), plain = Hex(v.plain), cipher = Hex(v.cipher);
    Rc6Core c;
    c.SetKey(key.data(), key.size() * 8);
    EXPECT_EQ(Encrypt(c, plain), cipher);
    std::vector<uint8_t> back(16);
    c.DecryptBlock(cipher.data(), back.data());
    EXPECT_EQ(back, plain);
  }
}

TEST(Rc6, KeyUsesOnlyWholeWordsAndAtMostEight) {
  std::vector<uint8_t> key = Hex("0123456789abcdef0112233445566778899aabbccddeeff01032547698badcfe");
  std::vector<uint8_t> block = Hex("02132435465768798a9bacbdcedfe0f1");
  Rc6Core ref16, ref32;
  ref16.SetKey(key.data(), 128);
  ref32.SetKey(key.data(), 256);

  std::vector<uint8_t> longKey = key;
  longKey.insert(longKey.end(), {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x11, 0x22});
  struct Case {
    size_t bits;
    Rc6Core* same;
  } cases[] = {{128 + 8, &ref16}, {128 + 31, &ref16}, {256 + 64, &ref32}, {256 + 8, &ref32}};
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.bits);
    Rc6Core c;
    c.SetKey(longKey.data(), tc.bits);
    EXPECT_EQ(Encrypt(c, block), Encrypt(*tc.same, block));
  }
}

TEST(Rc6, KeyShorterThanOneWordIsOneZeroWord) {
  const uint8_t zeros[4] = {};
  Rc6Core zeroWord;
  zeroWord.SetKey(zeros, 32);
  std::vector<uint8_t> block(16, 0x5C);
  const uint8_t shortKey[3] = {0x41, 0x42, 0x43};
  for (size_t bytes = 0; bytes <= 3; ++bytes) {
    SCOPED_TRACE(bytes);
    Rc6Core c;
    c.SetKey(shortKey, bytes * 8);
    EXPECT_TRUE(c.IsKeyed());
    EXPECT_EQ(Encrypt(c, block), Encrypt(zeroWord, block));
  }
}

TEST(Rc6, NeverKeyedObjectUsesBuiltInText) {
  Rc6Core unkeyed, keyed;
  EXPECT_FALSE(unkeyed.IsKeyed());
  keyed.SetKey(reinterpret_cast<const uint8_t*>(vesk::kRc6UnkeyedText), 160);
  ASSERT_EQ(std::strlen(vesk::kRc6UnkeyedText), 40u);
  std::vector<uint8_t> block = Hex("000102030405060708090a0b0c0d0e0f");
  EXPECT_EQ(Encrypt(unkeyed, block), Encrypt(keyed, block));
  EXPECT_TRUE(unkeyed.IsKeyed());

  Rc6Core buf;
  std::vector<uint8_t> data(block);
  buf.DecryptBuffer(data.data(), data.size());  // deciphering keys it too
  std::vector<uint8_t> expect(16);
  keyed.DecryptBlock(block.data(), expect.data());
  EXPECT_EQ(data, expect);
}

TEST(Rc6, BufferEnciphersWholeBlocksAndXorsTheTail) {
  std::vector<uint8_t> key = Hex("00112233445566778899aabbccddeeff");
  Rc6Core c;
  c.SetKey(key.data(), 128);

  std::vector<uint8_t> text(20);
  for (size_t i = 0; i < text.size(); ++i) text[i] = uint8_t('a' + i);
  std::vector<uint8_t> buf = text;
  c.EncryptBuffer(buf.data(), buf.size());
  std::vector<uint8_t> firstBlock(16);
  c.EncryptBlock(text.data(), firstBlock.data());
  EXPECT_TRUE(std::equal(firstBlock.begin(), firstBlock.end(), buf.begin()));
  for (size_t i = 16; i < 20; ++i) EXPECT_EQ(buf[i], uint8_t(text[i] ^ Rc6Core::kTailByte));

  std::vector<uint8_t> ten(text.begin(), text.begin() + 10), tenBuf = ten;
  c.EncryptBuffer(tenBuf.data(), tenBuf.size());
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(tenBuf[i], uint8_t(ten[i] ^ Rc6Core::kTailByte));
}

TEST(Rc6, BufferRoundTripsAtEveryTailLength) {
  std::mt19937 rng(7);
  const char* key = "KESTRAVO";
  for (size_t len = 0; len <= 70; ++len) {
    SCOPED_TRACE(len);
    std::vector<uint8_t> data(len);
    for (auto& b : data) b = uint8_t(rng());
    std::vector<uint8_t> work = data;
    Rc6Core enc, dec;
    enc.SetKey(reinterpret_cast<const uint8_t*>(key), 64);
    dec.SetKey(reinterpret_cast<const uint8_t*>(key), 64);
    enc.EncryptBuffer(work.data(), work.size());
    if (len >= 16) {
      EXPECT_NE(work, data);
    }
    dec.DecryptBuffer(work.data(), work.size());
    EXPECT_EQ(work, data);
  }
}

// Buffers are enciphered many blocks at a time (vector and scalar lanes side
// by side, then narrower steps for the rest): every block must still be what
// the single-block call gives, whatever the kernel, block count and tail,
// both ways.
TEST(Rc6, BufferMatchesBlockByBlock) {
  const Rc6Core::Kernel kernels[] = {Rc6Core::Kernel::Portable, Rc6Core::Kernel::Sse2, Rc6Core::Kernel::Avx2,
                                     Rc6Core::Kernel::Avx512};
  const Rc6Core::Kernel chosen = Rc6Core::SelectedKernel();
  std::mt19937 rng(11);
  const char* key = "KESTRAVO";
  Rc6Core c;
  c.SetKey(reinterpret_cast<const uint8_t*>(key), 64);
  int tried = 0;
  for (Rc6Core::Kernel kernel : kernels) {
    if (!Rc6Core::SelectKernel(kernel)) continue;
    ++tried;
    for (size_t blocks :
         {1u, 3u, 4u, 5u, 8u, 11u, 15u, 16u, 17u, 20u, 31u, 32u, 35u, 48u, 50u, 63u, 64u, 67u, 96u, 113u}) {
      for (size_t tail : {0u, 3u, 15u}) {
        SCOPED_TRACE(testing::Message() << "kernel " << int(kernel) << ", " << blocks << " blocks, tail " << tail);
        std::vector<uint8_t> data(16 * blocks + tail);
        for (auto& b : data) b = uint8_t(rng());
        std::vector<uint8_t> work = data, expect = data;
        for (size_t k = 0; k < blocks; ++k) c.EncryptBlock(&data[16 * k], &expect[16 * k]);
        for (size_t i = 16 * blocks; i < data.size(); ++i) expect[i] = uint8_t(data[i] ^ Rc6Core::kTailByte);
        c.EncryptBuffer(work.data(), work.size());
        EXPECT_EQ(work, expect);

        std::vector<uint8_t> back = expect;
        for (size_t k = 0; k < blocks; ++k) c.DecryptBlock(&back[16 * k], &back[16 * k]);
        for (size_t i = 16 * blocks; i < data.size(); ++i) back[i] ^= Rc6Core::kTailByte;
        EXPECT_EQ(back, data);
        c.DecryptBuffer(work.data(), work.size());
        EXPECT_EQ(work, data);
      }
    }
  }
  EXPECT_GE(tried, 1);
  EXPECT_TRUE(Rc6Core::SelectKernel(chosen));
  std::printf("RC6 kernels tried: %d, in use: %d\n", tried, int(chosen));
}
