// RC6-32/20/b block cipher: 32-bit words, 20 rounds, 44 round keys, ECB over
// 16-byte blocks. Portable core behind CRC6Cipher and the enciphered INI files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

class Rc6Core {
 public:
  static constexpr int kRounds = 20;
  static constexpr int kRoundKeys = 2 * kRounds + 4;  // 44
  static constexpr int kMaxKeyWords = 8;
  static constexpr size_t kBlockSize = 16;
  // Tail bytes of a buffer (length mod 16) are only XORed with this byte.
  static constexpr uint8_t kTailByte = 0xA7;

  Rc6Core();

  // Keys the cipher with `bits / 32` whole words of `key` (at most 8). A key
  // shorter than one word is scheduled as a single zero word.
  void SetKey(const uint8_t* key, size_t bits);
  bool IsKeyed() const { return m_bKeyed; }

  // A never-keyed object keys itself with the built-in 160-bit text first.
  void EncryptBlock(const uint8_t in[16], uint8_t out[16]);
  void DecryptBlock(const uint8_t in[16], uint8_t out[16]);

  // In place: every whole block in ECB mode, the remaining bytes XORed with kTailByte.
  void EncryptBuffer(uint8_t* data, size_t length);
  void DecryptBuffer(uint8_t* data, size_t length);

  const uint32_t* RoundKeys() const { return m_S; }

  // The instruction sets the buffer calls may use, narrowest first. The
  // widest the processor has is chosen on first use; tests pick each in turn
  // (every kernel gives the same bytes).
  enum class Kernel { Portable, Sse2, Avx2, Avx512 };
  static bool KernelAvailable(Kernel kernel);
  // False (and no change) when the processor lacks it.
  static bool SelectKernel(Kernel kernel);
  static Kernel SelectedKernel();

 private:
  void EnsureKeyed();

  uint32_t m_S[kRoundKeys];
  bool m_bKeyed;
};

// The text a never-keyed cipher uses (40 characters, keyed at 160 bits).
extern const char kRc6UnkeyedText[];

}  // namespace vesk
