#include "Rc6Core.h"

#include <atomic>
#include <initializer_list>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

#if defined(__SSE2__)
// Eight blocks side by side in SSE2, which every x86_64 processor has: two
// groups of four, each word of a group's four blocks in one register. SSE2
// has neither a 32-bit multiply nor a rotate by a per-lane count; both come
// from the 32x32->64-bit multiply. x * 2^n as a 64-bit product holds x << n
// in its low half and x >> (32 - n) in its high half, so their OR is the
// rotate, and 2^n is made by writing n into a float's exponent.
namespace sse2 {

constexpr size_t kGroups = 3;
// Blocks done with scalar instructions in the same rounds: they use the
// integer units, which sit idle while the vector units work.
constexpr size_t kScalar = 4;
constexpr size_t kBlocks = 4 * kGroups + kScalar;

// Low 32 bits of the lane-wise product.
inline __m128i MulLo(__m128i a, __m128i b) {
  const __m128i even = _mm_mul_epu32(a, b);
  const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
  const __m128 lo = _mm_shuffle_ps(_mm_castsi128_ps(even), _mm_castsi128_ps(odd), _MM_SHUFFLE(2, 0, 2, 0));
  return _mm_shuffle_epi32(_mm_castps_si128(lo), _MM_SHUFFLE(3, 1, 2, 0));
}

// 2^n for n in 0..31 (2^31 converts to 0x80000000, which is its bit pattern).
inline __m128i Pow2(__m128i n) {
  const __m128i bits = _mm_add_epi32(_mm_slli_epi32(n, 23), _mm_set1_epi32(127 << 23));
  return _mm_cvttps_epi32(_mm_castsi128_ps(bits));
}

// x rotated left by the lane's 2^n.
inline __m128i RotlPow2(__m128i x, __m128i p) {
  const __m128i even = _mm_mul_epu32(x, p);
  const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(x, 32), _mm_srli_epi64(p, 32));
  const __m128 fe = _mm_castsi128_ps(even), fo = _mm_castsi128_ps(odd);
  const __m128 lo = _mm_shuffle_ps(fe, fo, _MM_SHUFFLE(2, 0, 2, 0));
  const __m128 hi = _mm_shuffle_ps(fe, fo, _MM_SHUFFLE(3, 1, 3, 1));
  return _mm_shuffle_epi32(_mm_castps_si128(_mm_or_ps(lo, hi)), _MM_SHUFFLE(3, 1, 2, 0));
}

// rotl(x * (2x + 1), 5), and the low five bits of that as the rotate count
// 2^n for the other half of the round (they are the product's top five bits).
inline __m128i Mix(__m128i x, __m128i& pow2) {
  const __m128i f = MulLo(x, _mm_add_epi32(_mm_add_epi32(x, x), _mm_set1_epi32(1)));
  const __m128i top = _mm_srli_epi32(f, 27);
  pow2 = Pow2(top);
  return _mm_or_si128(_mm_slli_epi32(f, 5), top);
}

// Four blocks to words (A of the four blocks, B, C, D) and back: the same
// 4x4 transpose both ways.
inline void Transpose(__m128i& a, __m128i& b, __m128i& c, __m128i& d) {
  const __m128i t0 = _mm_unpacklo_epi32(a, b), t1 = _mm_unpacklo_epi32(c, d);
  const __m128i t2 = _mm_unpackhi_epi32(a, b), t3 = _mm_unpackhi_epi32(c, d);
  a = _mm_unpacklo_epi64(t0, t1);
  b = _mm_unpackhi_epi64(t0, t1);
  c = _mm_unpacklo_epi64(t2, t3);
  d = _mm_unpackhi_epi64(t2, t3);
}

struct Words {
  __m128i A[kGroups], B[kGroups], C[kGroups], D[kGroups];

  void Load(const uint8_t* data) {
    for (size_t g = 0; g < kGroups; ++g) {
      const uint8_t* in = data + 64 * g;
      A[g] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
      B[g] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16));
      C[g] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 32));
      D[g] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 48));
      Transpose(A[g], B[g], C[g], D[g]);
    }
  }
  void Store(uint8_t* data) {
    for (size_t g = 0; g < kGroups; ++g) {
      Transpose(A[g], B[g], C[g], D[g]);
      uint8_t* out = data + 64 * g;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), A[g]);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), B[g]);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 32), C[g]);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 48), D[g]);
    }
  }
};

void Encrypt(const uint32_t* S, uint8_t* data) {
  Words w;
  w.Load(data);
  uint32_t A[kScalar], B[kScalar], C[kScalar], D[kScalar];
  uint8_t* scalar = data + 64 * kGroups;
  for (size_t k = 0; k < kScalar; ++k) {
    const uint8_t* in = scalar + 16 * k;
    A[k] = Load32(in);
    B[k] = Load32(in + 4) + S[0];
    C[k] = Load32(in + 8);
    D[k] = Load32(in + 12) + S[1];
  }
  const __m128i s0 = _mm_set1_epi32(int(S[0])), s1 = _mm_set1_epi32(int(S[1]));
  for (size_t g = 0; g < kGroups; ++g) {
    w.B[g] = _mm_add_epi32(w.B[g], s0);
    w.D[g] = _mm_add_epi32(w.D[g], s1);
  }
  for (int r = 1; r <= Rc6Core::kRounds; ++r) {
    const __m128i k0 = _mm_set1_epi32(int(S[2 * r])), k1 = _mm_set1_epi32(int(S[2 * r + 1]));
    for (size_t g = 0; g < kGroups; ++g) {
      __m128i pt, pu;
      const __m128i t = Mix(w.B[g], pt);
      const __m128i u = Mix(w.D[g], pu);
      const __m128i a = _mm_add_epi32(RotlPow2(_mm_xor_si128(w.A[g], t), pu), k0);
      const __m128i c = _mm_add_epi32(RotlPow2(_mm_xor_si128(w.C[g], u), pt), k1);
      w.A[g] = w.B[g];
      w.B[g] = c;
      w.C[g] = w.D[g];
      w.D[g] = a;
    }
    const uint32_t q0 = S[2 * r], q1 = S[2 * r + 1];
    for (size_t k = 0; k < kScalar; ++k) {
      const uint32_t t = Rotl(B[k] * (2 * B[k] + 1), 5);
      const uint32_t u = Rotl(D[k] * (2 * D[k] + 1), 5);
      const uint32_t a = Rotl(A[k] ^ t, u) + q0;
      const uint32_t c = Rotl(C[k] ^ u, t) + q1;
      A[k] = B[k];
      B[k] = c;
      C[k] = D[k];
      D[k] = a;
    }
  }
  for (size_t k = 0; k < kScalar; ++k) {
    uint8_t* out = scalar + 16 * k;
    Store32(out, A[k] + S[2 * Rc6Core::kRounds + 2]);
    Store32(out + 4, B[k]);
    Store32(out + 8, C[k] + S[2 * Rc6Core::kRounds + 3]);
    Store32(out + 12, D[k]);
  }
  const __m128i s42 = _mm_set1_epi32(int(S[2 * Rc6Core::kRounds + 2]));
  const __m128i s43 = _mm_set1_epi32(int(S[2 * Rc6Core::kRounds + 3]));
  for (size_t g = 0; g < kGroups; ++g) {
    w.A[g] = _mm_add_epi32(w.A[g], s42);
    w.C[g] = _mm_add_epi32(w.C[g], s43);
  }
  w.Store(data);
}

void Decrypt(const uint32_t* S, uint8_t* data) {
  Words w;
  w.Load(data);
  uint32_t A[kScalar], B[kScalar], C[kScalar], D[kScalar];
  uint8_t* scalar = data + 64 * kGroups;
  for (size_t k = 0; k < kScalar; ++k) {
    const uint8_t* in = scalar + 16 * k;
    A[k] = Load32(in) - S[2 * Rc6Core::kRounds + 2];
    B[k] = Load32(in + 4);
    C[k] = Load32(in + 8) - S[2 * Rc6Core::kRounds + 3];
    D[k] = Load32(in + 12);
  }
  const __m128i s42 = _mm_set1_epi32(int(S[2 * Rc6Core::kRounds + 2]));
  const __m128i s43 = _mm_set1_epi32(int(S[2 * Rc6Core::kRounds + 3]));
  for (size_t g = 0; g < kGroups; ++g) {
    w.A[g] = _mm_sub_epi32(w.A[g], s42);
    w.C[g] = _mm_sub_epi32(w.C[g], s43);
  }
  const __m128i k31 = _mm_set1_epi32(31);
  for (int r = Rc6Core::kRounds; r >= 1; --r) {
    const __m128i k0 = _mm_set1_epi32(int(S[2 * r])), k1 = _mm_set1_epi32(int(S[2 * r + 1]));
    for (size_t g = 0; g < kGroups; ++g) {
      const __m128i a = w.D[g], b = w.A[g], c = w.B[g], d = w.C[g];
      const __m128i zero = _mm_setzero_si128();
      const __m128i f_u = MulLo(d, _mm_add_epi32(_mm_add_epi32(d, d), _mm_set1_epi32(1)));
      const __m128i f_t = MulLo(b, _mm_add_epi32(_mm_add_epi32(b, b), _mm_set1_epi32(1)));
      const __m128i u = _mm_or_si128(_mm_slli_epi32(f_u, 5), _mm_srli_epi32(f_u, 27));
      const __m128i t = _mm_or_si128(_mm_slli_epi32(f_t, 5), _mm_srli_epi32(f_t, 27));
      // Rotating right by n is rotating left by (32 - n) mod 32.
      const __m128i pt = Pow2(_mm_and_si128(_mm_sub_epi32(zero, t), k31));
      const __m128i pu = Pow2(_mm_and_si128(_mm_sub_epi32(zero, u), k31));
      w.C[g] = _mm_xor_si128(RotlPow2(_mm_sub_epi32(c, k1), pt), u);
      w.A[g] = _mm_xor_si128(RotlPow2(_mm_sub_epi32(a, k0), pu), t);
      w.B[g] = b;
      w.D[g] = d;
    }
    const uint32_t q0 = S[2 * r], q1 = S[2 * r + 1];
    for (size_t k = 0; k < kScalar; ++k) {
      const uint32_t a = D[k], b = A[k], c = B[k], d = C[k];
      const uint32_t u = Rotl(d * (2 * d + 1), 5);
      const uint32_t t = Rotl(b * (2 * b + 1), 5);
      C[k] = Rotr(c - q1, t) ^ u;
      A[k] = Rotr(a - q0, u) ^ t;
      B[k] = b;
      D[k] = d;
    }
  }
  for (size_t k = 0; k < kScalar; ++k) {
    uint8_t* out = scalar + 16 * k;
    Store32(out, A[k]);
    Store32(out + 4, B[k] - S[0]);
    Store32(out + 8, C[k]);
    Store32(out + 12, D[k] - S[1]);
  }
  const __m128i s0 = _mm_set1_epi32(int(S[0])), s1 = _mm_set1_epi32(int(S[1]));
  for (size_t g = 0; g < kGroups; ++g) {
    w.B[g] = _mm_sub_epi32(w.B[g], s0);
    w.D[g] = _mm_sub_epi32(w.D[g], s1);
  }
  w.Store(data);
}

}  // namespace sse2
#endif

#if defined(__x86_64__) || defined(__i386__)
// Wider kernels for processors that have them, chosen at run time (the
// program is built for any x86-64). AVX2 brings a 32-bit multiply and shifts
// by a per-lane count; AVX-512 a rotate by a per-lane count. Each takes
// kGroups groups of blocks, each word of a group's blocks in one register;
// the blocks of a register come in lane order of the loads, which the same
// transpose puts back.
namespace avx2 {

constexpr size_t kGroups = 2;
constexpr size_t kBlocks = 8 * kGroups;

#define VESK_AVX2 __attribute__((target("avx2")))

VESK_AVX2 inline __m256i Rotl5(__m256i x) { return _mm256_or_si256(_mm256_slli_epi32(x, 5), _mm256_srli_epi32(x, 27)); }

// n taken mod 32; a shift by 32 gives zero, which the rotate by 0 needs.
VESK_AVX2 inline __m256i Rotlv(__m256i x, __m256i n) {
  n = _mm256_and_si256(n, _mm256_set1_epi32(31));
  return _mm256_or_si256(_mm256_sllv_epi32(x, n), _mm256_srlv_epi32(x, _mm256_sub_epi32(_mm256_set1_epi32(32), n)));
}

VESK_AVX2 inline __m256i Rotrv(__m256i x, __m256i n) {
  n = _mm256_and_si256(n, _mm256_set1_epi32(31));
  return _mm256_or_si256(_mm256_srlv_epi32(x, n), _mm256_sllv_epi32(x, _mm256_sub_epi32(_mm256_set1_epi32(32), n)));
}

// rotl(x * (2x + 1), 5)
VESK_AVX2 inline __m256i F(__m256i x) {
  return Rotl5(_mm256_mullo_epi32(x, _mm256_add_epi32(_mm256_add_epi32(x, x), _mm256_set1_epi32(1))));
}

VESK_AVX2 inline void Transpose(__m256i& a, __m256i& b, __m256i& c, __m256i& d) {
  const __m256i t0 = _mm256_unpacklo_epi32(a, b), t1 = _mm256_unpacklo_epi32(c, d);
  const __m256i t2 = _mm256_unpackhi_epi32(a, b), t3 = _mm256_unpackhi_epi32(c, d);
  a = _mm256_unpacklo_epi64(t0, t1);
  b = _mm256_unpackhi_epi64(t0, t1);
  c = _mm256_unpacklo_epi64(t2, t3);
  d = _mm256_unpackhi_epi64(t2, t3);
}

VESK_AVX2 inline void Load(const uint8_t* data, __m256i* A, __m256i* B, __m256i* C, __m256i* D) {
  for (size_t g = 0; g < kGroups; ++g) {
    const __m256i* in = reinterpret_cast<const __m256i*>(data + 128 * g);
    A[g] = _mm256_loadu_si256(in);
    B[g] = _mm256_loadu_si256(in + 1);
    C[g] = _mm256_loadu_si256(in + 2);
    D[g] = _mm256_loadu_si256(in + 3);
    Transpose(A[g], B[g], C[g], D[g]);
  }
}

VESK_AVX2 inline void Store(uint8_t* data, __m256i* A, __m256i* B, __m256i* C, __m256i* D) {
  for (size_t g = 0; g < kGroups; ++g) {
    Transpose(A[g], B[g], C[g], D[g]);
    __m256i* out = reinterpret_cast<__m256i*>(data + 128 * g);
    _mm256_storeu_si256(out, A[g]);
    _mm256_storeu_si256(out + 1, B[g]);
    _mm256_storeu_si256(out + 2, C[g]);
    _mm256_storeu_si256(out + 3, D[g]);
  }
}

VESK_AVX2 void Encrypt(const uint32_t* S, uint8_t* data, size_t count) {
  for (; count; --count, data += 16 * kBlocks) {
    __m256i A[kGroups], B[kGroups], C[kGroups], D[kGroups];
    Load(data, A, B, C, D);
    const __m256i s0 = _mm256_set1_epi32(int(S[0])), s1 = _mm256_set1_epi32(int(S[1]));
    for (size_t g = 0; g < kGroups; ++g) {
      B[g] = _mm256_add_epi32(B[g], s0);
      D[g] = _mm256_add_epi32(D[g], s1);
    }
    for (int r = 1; r <= Rc6Core::kRounds; ++r) {
      const __m256i k0 = _mm256_set1_epi32(int(S[2 * r])), k1 = _mm256_set1_epi32(int(S[2 * r + 1]));
      for (size_t g = 0; g < kGroups; ++g) {
        const __m256i t = F(B[g]), u = F(D[g]);
        const __m256i a = _mm256_add_epi32(Rotlv(_mm256_xor_si256(A[g], t), u), k0);
        const __m256i c = _mm256_add_epi32(Rotlv(_mm256_xor_si256(C[g], u), t), k1);
        A[g] = B[g];
        B[g] = c;
        C[g] = D[g];
        D[g] = a;
      }
    }
    const __m256i s42 = _mm256_set1_epi32(int(S[2 * Rc6Core::kRounds + 2]));
    const __m256i s43 = _mm256_set1_epi32(int(S[2 * Rc6Core::kRounds + 3]));
    for (size_t g = 0; g < kGroups; ++g) {
      A[g] = _mm256_add_epi32(A[g], s42);
      C[g] = _mm256_add_epi32(C[g], s43);
    }
    Store(data, A, B, C, D);
  }
}

VESK_AVX2 void Decrypt(const uint32_t* S, uint8_t* data, size_t count) {
  for (; count; --count, data += 16 * kBlocks) {
    __m256i A[kGroups], B[kGroups], C[kGroups], D[kGroups];
    Load(data, A, B, C, D);
    const __m256i s42 = _mm256_set1_epi32(int(S[2 * Rc6Core::kRounds + 2]));
    const __m256i s43 = _mm256_set1_epi32(int(S[2 * Rc6Core::kRounds + 3]));
    for (size_t g = 0; g < kGroups; ++g) {
      A[g] = _mm256_sub_epi32(A[g], s42);
      C[g] = _mm256_sub_epi32(C[g], s43);
    }
    for (int r = Rc6Core::kRounds; r >= 1; --r) {
      const __m256i k0 = _mm256_set1_epi32(int(S[2 * r])), k1 = _mm256_set1_epi32(int(S[2 * r + 1]));
      for (size_t g = 0; g < kGroups; ++g) {
        const __m256i a = D[g], b = A[g], c = B[g], d = C[g];
        const __m256i u = F(d), t = F(b);
        C[g] = _mm256_xor_si256(Rotrv(_mm256_sub_epi32(c, k1), t), u);
        A[g] = _mm256_xor_si256(Rotrv(_mm256_sub_epi32(a, k0), u), t);
        B[g] = b;
        D[g] = d;
      }
    }
    const __m256i s0 = _mm256_set1_epi32(int(S[0])), s1 = _mm256_set1_epi32(int(S[1]));
    for (size_t g = 0; g < kGroups; ++g) {
      B[g] = _mm256_sub_epi32(B[g], s0);
      D[g] = _mm256_sub_epi32(D[g], s1);
    }
    Store(data, A, B, C, D);
  }
}

#undef VESK_AVX2

}  // namespace avx2

namespace avx512 {

constexpr size_t kGroups = 2;
constexpr size_t kBlocks = 16 * kGroups;

#define VESK_AVX512 __attribute__((target("avx512f")))

VESK_AVX512 inline __m512i F(__m512i x) {
  return _mm512_rol_epi32(_mm512_mullo_epi32(x, _mm512_add_epi32(_mm512_add_epi32(x, x), _mm512_set1_epi32(1))), 5);
}

VESK_AVX512 inline void Transpose(__m512i& a, __m512i& b, __m512i& c, __m512i& d) {
  const __m512i t0 = _mm512_unpacklo_epi32(a, b), t1 = _mm512_unpacklo_epi32(c, d);
  const __m512i t2 = _mm512_unpackhi_epi32(a, b), t3 = _mm512_unpackhi_epi32(c, d);
  a = _mm512_unpacklo_epi64(t0, t1);
  b = _mm512_unpackhi_epi64(t0, t1);
  c = _mm512_unpacklo_epi64(t2, t3);
  d = _mm512_unpackhi_epi64(t2, t3);
}

VESK_AVX512 inline void Load(const uint8_t* data, __m512i* A, __m512i* B, __m512i* C, __m512i* D) {
  for (size_t g = 0; g < kGroups; ++g) {
    const uint8_t* in = data + 256 * g;
    A[g] = _mm512_loadu_si512(in);
    B[g] = _mm512_loadu_si512(in + 64);
    C[g] = _mm512_loadu_si512(in + 128);
    D[g] = _mm512_loadu_si512(in + 192);
    Transpose(A[g], B[g], C[g], D[g]);
  }
}

VESK_AVX512 inline void Store(uint8_t* data, __m512i* A, __m512i* B, __m512i* C, __m512i* D) {
  for (size_t g = 0; g < kGroups; ++g) {
    Transpose(A[g], B[g], C[g], D[g]);
    uint8_t* out = data + 256 * g;
    _mm512_storeu_si512(out, A[g]);
    _mm512_storeu_si512(out + 64, B[g]);
    _mm512_storeu_si512(out + 128, C[g]);
    _mm512_storeu_si512(out + 192, D[g]);
  }
}

VESK_AVX512 void Encrypt(const uint32_t* S, uint8_t* data, size_t count) {
  for (; count; --count, data += 16 * kBlocks) {
    __m512i A[kGroups], B[kGroups], C[kGroups], D[kGroups];
    Load(data, A, B, C, D);
    const __m512i s0 = _mm512_set1_epi32(int(S[0])), s1 = _mm512_set1_epi32(int(S[1]));
    for (size_t g = 0; g < kGroups; ++g) {
      B[g] = _mm512_add_epi32(B[g], s0);
      D[g] = _mm512_add_epi32(D[g], s1);
    }
    for (int r = 1; r <= Rc6Core::kRounds; ++r) {
      const __m512i k0 = _mm512_set1_epi32(int(S[2 * r])), k1 = _mm512_set1_epi32(int(S[2 * r + 1]));
      for (size_t g = 0; g < kGroups; ++g) {
        const __m512i t = F(B[g]), u = F(D[g]);
        const __m512i a = _mm512_add_epi32(_mm512_rolv_epi32(_mm512_xor_si512(A[g], t), u), k0);
        const __m512i c = _mm512_add_epi32(_mm512_rolv_epi32(_mm512_xor_si512(C[g], u), t), k1);
        A[g] = B[g];
        B[g] = c;
        C[g] = D[g];
        D[g] = a;
      }
    }
    const __m512i s42 = _mm512_set1_epi32(int(S[2 * Rc6Core::kRounds + 2]));
    const __m512i s43 = _mm512_set1_epi32(int(S[2 * Rc6Core::kRounds + 3]));
    for (size_t g = 0; g < kGroups; ++g) {
      A[g] = _mm512_add_epi32(A[g], s42);
      C[g] = _mm512_add_epi32(C[g], s43);
    }
    Store(data, A, B, C, D);
  }
}

VESK_AVX512 void Decrypt(const uint32_t* S, uint8_t* data, size_t count) {
  for (; count; --count, data += 16 * kBlocks) {
    __m512i A[kGroups], B[kGroups], C[kGroups], D[kGroups];
    Load(data, A, B, C, D);
    const __m512i s42 = _mm512_set1_epi32(int(S[2 * Rc6Core::kRounds + 2]));
    const __m512i s43 = _mm512_set1_epi32(int(S[2 * Rc6Core::kRounds + 3]));
    for (size_t g = 0; g < kGroups; ++g) {
      A[g] = _mm512_sub_epi32(A[g], s42);
      C[g] = _mm512_sub_epi32(C[g], s43);
    }
    for (int r = Rc6Core::kRounds; r >= 1; --r) {
      const __m512i k0 = _mm512_set1_epi32(int(S[2 * r])), k1 = _mm512_set1_epi32(int(S[2 * r + 1]));
      for (size_t g = 0; g < kGroups; ++g) {
        const __m512i a = D[g], b = A[g], c = B[g], d = C[g];
        const __m512i u = F(d), t = F(b);
        C[g] = _mm512_xor_si512(_mm512_rorv_epi32(_mm512_sub_epi32(c, k1), t), u);
        A[g] = _mm512_xor_si512(_mm512_rorv_epi32(_mm512_sub_epi32(a, k0), u), t);
        B[g] = b;
        D[g] = d;
      }
    }
    const __m512i s0 = _mm512_set1_epi32(int(S[0])), s1 = _mm512_set1_epi32(int(S[1]));
    for (size_t g = 0; g < kGroups; ++g) {
      B[g] = _mm512_sub_epi32(B[g], s0);
      D[g] = _mm512_sub_epi32(D[g], s1);
    }
    Store(data, A, B, C, D);
  }
}

#undef VESK_AVX512

}  // namespace avx512
#define VESK_RC6_WIDE 1
#endif

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

namespace {

int DetectKernel() {
  for (Rc6Core::Kernel k : {Rc6Core::Kernel::Avx512, Rc6Core::Kernel::Avx2, Rc6Core::Kernel::Sse2})
    if (Rc6Core::KernelAvailable(k)) return int(k);
  return int(Rc6Core::Kernel::Portable);
}

// -1 until the first buffer call looks at the processor.
std::atomic<int> g_kernel{-1};

Rc6Core::Kernel ActiveKernel() {
  int k = g_kernel.load(std::memory_order_relaxed);
  if (k < 0) {
    k = DetectKernel();
    g_kernel.store(k, std::memory_order_relaxed);
  }
  return Rc6Core::Kernel(k);
}

}  // namespace

bool Rc6Core::KernelAvailable(Kernel kernel) {
  switch (kernel) {
    case Kernel::Portable:
      return true;
#if defined(__SSE2__)
    case Kernel::Sse2:
      return true;
#endif
#if defined(VESK_RC6_WIDE)
    // The checks also ask whether the system saves the wide registers.
    case Kernel::Avx2:
      return __builtin_cpu_supports("avx2");
    case Kernel::Avx512:
      return __builtin_cpu_supports("avx512f");
#endif
    default:
      return false;
  }
}

bool Rc6Core::SelectKernel(Kernel kernel) {
  if (!KernelAvailable(kernel)) return false;
  g_kernel.store(int(kernel), std::memory_order_relaxed);
  return true;
}

Rc6Core::Kernel Rc6Core::SelectedKernel() { return ActiveKernel(); }

// The widest kernel takes as many of its batches as fit; the narrower ones
// take what is left, down to single blocks.
void Rc6Core::EncryptBuffer(uint8_t* data, size_t length) {
  EnsureKeyed();
  const size_t whole = length - length % kBlockSize;
  size_t off = 0;
  switch (ActiveKernel()) {
#if defined(VESK_RC6_WIDE)
    case Kernel::Avx512: {
      const size_t n = (whole - off) / (avx512::kBlocks * kBlockSize);
      avx512::Encrypt(m_S, data + off, n);
      off += n * avx512::kBlocks * kBlockSize;
    }
      [[fallthrough]];
    case Kernel::Avx2: {
      const size_t n = (whole - off) / (avx2::kBlocks * kBlockSize);
      avx2::Encrypt(m_S, data + off, n);
      off += n * avx2::kBlocks * kBlockSize;
    }
      [[fallthrough]];
#endif
#if defined(__SSE2__)
    case Kernel::Sse2:
      for (; off + sse2::kBlocks * kBlockSize <= whole; off += sse2::kBlocks * kBlockSize)
        sse2::Encrypt(m_S, data + off);
      [[fallthrough]];
#endif
    default:
      break;
  }
  for (; off + kLanes * kBlockSize <= whole; off += kLanes * kBlockSize) EncryptLanes<kLanes>(m_S, data + off);
  for (; off < whole; off += kBlockSize) EncryptLanes<1>(m_S, data + off);
  for (size_t off = whole; off < length; ++off) data[off] ^= kTailByte;
}

void Rc6Core::DecryptBuffer(uint8_t* data, size_t length) {
  EnsureKeyed();
  const size_t whole = length - length % kBlockSize;
  size_t off = 0;
  switch (ActiveKernel()) {
#if defined(VESK_RC6_WIDE)
    case Kernel::Avx512: {
      const size_t n = (whole - off) / (avx512::kBlocks * kBlockSize);
      avx512::Decrypt(m_S, data + off, n);
      off += n * avx512::kBlocks * kBlockSize;
    }
      [[fallthrough]];
    case Kernel::Avx2: {
      const size_t n = (whole - off) / (avx2::kBlocks * kBlockSize);
      avx2::Decrypt(m_S, data + off, n);
      off += n * avx2::kBlocks * kBlockSize;
    }
      [[fallthrough]];
#endif
#if defined(__SSE2__)
    case Kernel::Sse2:
      for (; off + sse2::kBlocks * kBlockSize <= whole; off += sse2::kBlocks * kBlockSize)
        sse2::Decrypt(m_S, data + off);
      [[fallthrough]];
#endif
    default:
      break;
  }
  for (; off + kLanes * kBlockSize <= whole; off += kLanes * kBlockSize) DecryptLanes<kLanes>(m_S, data + off);
  for (; off < whole; off += kBlockSize) DecryptLanes<1>(m_S, data + off);
  for (size_t off = whole; off < length; ++off) data[off] ^= kTailByte;
}

}  // namespace vesk
