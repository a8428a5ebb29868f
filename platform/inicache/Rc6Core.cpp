#include "Rc6Core.h"

#include <cstring>

namespace vesk {

const char kRc6UnkeyedText[] = "tqwnzkpfe#lmbsdyxauv38Rcgoihjt&NMv,pYkxe";

namespace {

constexpr uint32_t kP32 = 0xB7E15163u;
constexpr uint32_t kQ32 = 0x9E3779B9u;

// Written so that compilers emit one rotate instruction.
inline uint32_t Rotl(uint32_t x, uint32_t n) { return (x << (n & 31u)) | (x >> ((32u - n) & 31u)); }

inline uint32_t Rotr(uint32_t x, uint32_t n) { return (x >> (n & 31u)) | (x << ((32u - n) & 31u)); }

inline uint32_t Load32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void Store32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

// Whole blocks, kLanes at a time: a round's multiplies and rotates depend on
// each other within a block, so independent blocks side by side keep the
// processor busy. The round keys are read once per round for all lanes.
constexpr size_t kLanes = 4;

template <size_t N>
void EncryptLanes(const uint32_t* S, uint8_t* data) {
  uint32_t A[N], B[N], C[N], D[N];
  for (size_t k = 0; k < N; ++k) {
    const uint8_t* in = data + 16 * k;
    A[k] = Load32(in);
    B[k] = Load32(in + 4) + S[0];
    C[k] = Load32(in + 8);
    D[k] = Load32(in + 12) + S[1];
  }
  for (int r = 1; r <= Rc6Core::kRounds; ++r) {
    const uint32_t s0 = S[2 * r], s1 = S[2 * r + 1];
    for (size_t k = 0; k < N; ++k) {
      const uint32_t t = Rotl(B[k] * (2 * B[k] + 1), 5);
      const uint32_t u = Rotl(D[k] * (2 * D[k] + 1), 5);
      const uint32_t a = Rotl(A[k] ^ t, u) + s0;
      const uint32_t c = Rotl(C[k] ^ u, t) + s1;
      A[k] = B[k];
      B[k] = c;
      C[k] = D[k];
      D[k] = a;
    }
  }
  for (size_t k = 0; k < N; ++k) {
    uint8_t* out = data + 16 * k;
    Store32(out, A[k] + S[2 * Rc6Core::kRounds + 2]);
    Store32(out + 4, B[k]);
    Store32(out + 8, C[k] + S[2 * Rc6Core::kRounds + 3]);
    Store32(out + 12, D[k]);
  }
}

template <size_t N>
void DecryptLanes(const uint32_t* S, uint8_t* data) {
  uint32_t A[N], B[N], C[N], D[N];
  for (size_t k = 0; k < N; ++k) {
    const uint8_t* in = data + 16 * k;
    A[k] = Load32(in) - S[2 * Rc6Core::kRounds + 2];
    B[k] = Load32(in + 4);
    C[k] = Load32(in + 8) - S[2 * Rc6Core::kRounds + 3];
    D[k] = Load32(in + 12);
  }
  for (int r = Rc6Core::kRounds; r >= 1; --r) {
    const uint32_t s0 = S[2 * r], s1 = S[2 * r + 1];
    for (size_t k = 0; k < N; ++k) {
      // Undo the rotation of the four words first.
      const uint32_t a = D[k], b = A[k], c = B[k], d = C[k];
      const uint32_t u = Rotl(d * (2 * d + 1), 5);
      const uint32_t t = Rotl(b * (2 * b + 1), 5);
      C[k] = Rotr(c - s1, t) ^ u;
      A[k] = Rotr(a - s0, u) ^ t;
      B[k] = b;
      D[k] = d;
    }
  }
  for (size_t k = 0; k < N; ++k) {
    uint8_t* out = data + 16 * k;
    Store32(out, A[k]);
    Store32(out + 4, B[k] - S[0]);
    Store32(out + 8, C[k]);
    Store32(out + 12, D[k] - S[1]);
  }
}

}  // namespace

Rc6Core::Rc6Core() : m_S{}, m_bKeyed(false) {}

void Rc6Core::SetKey(const uint8_t* key, size_t bits) {
  size_t c = bits / 32;
  if (c > size_t(kMaxKeyWords)) c = kMaxKeyWords;
  uint32_t L[kMaxKeyWords] = {};
  for (size_t i = 0; i < c; ++i) L[i] = Load32(key + 4 * i);
  // Fewer than 32 bits: one zero word, so the schedule never divides by zero.
  if (c == 0) c = 1;

  m_S[0] = kP32;
  for (int i = 1; i < kRoundKeys; ++i) m_S[i] = m_S[i - 1] + kQ32;

  uint32_t A = 0, B = 0;
  size_t i = 0, j = 0;
  const size_t steps = 3 * size_t(kRoundKeys);  // c <= 44 always
  for (size_t s = 0; s < steps; ++s) {
    A = m_S[i] = Rotl(m_S[i] + A + B, 3);
    B = L[j] = Rotl(L[j] + A + B, A + B);
    // Wrapping by compare: a division per step costs more than the step.
    i = i + 1 == size_t(kRoundKeys) ? 0 : i + 1;
    j = j + 1 == c ? 0 : j + 1;
  }
  m_bKeyed = true;
}

void Rc6Core::EnsureKeyed() {
  if (!m_bKeyed) SetKey(reinterpret_cast<const uint8_t*>(kRc6UnkeyedText), 160);
}

void Rc6Core::EncryptBlock(const uint8_t in[16], uint8_t out[16]) {
  EnsureKeyed();
  if (out != in) std::memmove(out, in, kBlockSize);
  EncryptLanes<1>(m_S, out);
}

void Rc6Core::DecryptBlock(const uint8_t in[16], uint8_t out[16]) {
  EnsureKeyed();
  if (out != in) std::memmove(out, in, kBlockSize);
  DecryptLanes<1>(m_S, out);
}

void Rc6Core::EncryptBuffer(uint8_t* data, size_t length) {
  EnsureKeyed();
  size_t whole = length - length % kBlockSize;
  size_t off = 0;
  for (; off + kLanes * kBlockSize <= whole; off += kLanes * kBlockSize) EncryptLanes<kLanes>(m_S, data + off);
  for (; off < whole; off += kBlockSize) EncryptLanes<1>(m_S, data + off);
  for (size_t off = whole; off < length; ++off) data[off] ^= kTailByte;
}

void Rc6Core::DecryptBuffer(uint8_t* data, size_t length) {
  EnsureKeyed();
  size_t whole = length - length % kBlockSize;
  size_t off = 0;
  for (; off + kLanes * kBlockSize <= whole; off += kLanes * kBlockSize) DecryptLanes<kLanes>(m_S, data + off);
  for (; off < whole; off += kBlockSize) DecryptLanes<1>(m_S, data + off);
  for (size_t off = whole; off < length; ++off) data[off] ^= kTailByte;
}

}  // namespace vesk
