#include "Rc6Core.h"

#include <cstring>

namespace vesk {

const char kRc6UnkeyedText[] = "tqwnzkpfe#lmbsdyxauv38Rcgoihjt&NMv,pYkxe";

namespace {

constexpr uint32_t kP32 = 0xB7E15163u;
constexpr uint32_t kQ32 = 0x9E3779B9u;

inline uint32_t Rotl(uint32_t x, uint32_t n) {
    n &= 31u;
    return n ? (x << n) | (x >> (32u - n)) : x;
}

inline uint32_t Rotr(uint32_t x, uint32_t n) {
    n &= 31u;
    return n ? (x >> n) | (x << (32u - n)) : x;
}

inline uint32_t Load32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void Store32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

}  // namespace

Rc6Core::Rc6Core() : m_S{}, m_bKeyed(false) {}

void Rc6Core::SetKey(const uint8_t* key, size_t bits) {
    size_t c = bits / 32;
    if (c > size_t(kMaxKeyWords))
        c = kMaxKeyWords;
    uint32_t L[kMaxKeyWords] = {};
    for (size_t i = 0; i < c; ++i)
        L[i] = Load32(key + 4 * i);
    // Fewer than 32 bits: one zero word, so the schedule never divides by zero.
    if (c == 0)
        c = 1;

    m_S[0] = kP32;
    for (int i = 1; i < kRoundKeys; ++i)
        m_S[i] = m_S[i - 1] + kQ32;

    uint32_t A = 0, B = 0;
    size_t i = 0, j = 0;
    const size_t steps = 3 * size_t(kRoundKeys);  // c <= 44 always
    for (size_t s = 0; s < steps; ++s) {
        A = m_S[i] = Rotl(m_S[i] + A + B, 3);
        B = L[j] = Rotl(L[j] + A + B, A + B);
        i = (i + 1) % kRoundKeys;
        j = (j + 1) % c;
    }
    m_bKeyed = true;
}

void Rc6Core::EnsureKeyed() {
    if (!m_bKeyed)
        SetKey(reinterpret_cast<const uint8_t*>(kRc6UnkeyedText), 160);
}

void Rc6Core::EncryptWords(const uint8_t* in, uint8_t* out) const {
    uint32_t A = Load32(in), B = Load32(in + 4), C = Load32(in + 8), D = Load32(in + 12);
    const uint32_t* S = m_S;
    B += S[0];
    D += S[1];
    for (int r = 1; r <= kRounds; ++r) {
        uint32_t t = Rotl(B * (2 * B + 1), 5);
        uint32_t u = Rotl(D * (2 * D + 1), 5);
        A = Rotl(A ^ t, u) + S[2 * r];
        C = Rotl(C ^ u, t) + S[2 * r + 1];
        uint32_t tmp = A;
        A = B;
        B = C;
        C = D;
        D = tmp;
    }
    A += S[2 * kRounds + 2];
    C += S[2 * kRounds + 3];
    Store32(out, A);
    Store32(out + 4, B);
    Store32(out + 8, C);
    Store32(out + 12, D);
}

void Rc6Core::DecryptWords(const uint8_t* in, uint8_t* out) const {
    uint32_t A = Load32(in), B = Load32(in + 4), C = Load32(in + 8), D = Load32(in + 12);
    const uint32_t* S = m_S;
    C -= S[2 * kRounds + 3];
    A -= S[2 * kRounds + 2];
    for (int r = kRounds; r >= 1; --r) {
        uint32_t tmp = D;
        D = C;
        C = B;
        B = A;
        A = tmp;
        uint32_t u = Rotl(D * (2 * D + 1), 5);
        uint32_t t = Rotl(B * (2 * B + 1), 5);
        C = Rotr(C - S[2 * r + 1], t) ^ u;
        A = Rotr(A - S[2 * r], u) ^ t;
    }
    D -= S[1];
    B -= S[0];
    Store32(out, A);
    Store32(out + 4, B);
    Store32(out + 8, C);
    Store32(out + 12, D);
}

void Rc6Core::EncryptBlock(const uint8_t in[16], uint8_t out[16]) {
    EnsureKeyed();
    EncryptWords(in, out);
}

void Rc6Core::DecryptBlock(const uint8_t in[16], uint8_t out[16]) {
    EnsureKeyed();
    DecryptWords(in, out);
}

void Rc6Core::EncryptBuffer(uint8_t* data, size_t length) {
    EnsureKeyed();
    size_t whole = length - length % kBlockSize;
    for (size_t off = 0; off < whole; off += kBlockSize)
        EncryptWords(data + off, data + off);
    for (size_t off = whole; off < length; ++off)
        data[off] ^= kTailByte;
}

void Rc6Core::DecryptBuffer(uint8_t* data, size_t length) {
    EnsureKeyed();
    size_t whole = length - length % kBlockSize;
    for (size_t off = 0; off < whole; off += kBlockSize)
        DecryptWords(data + off, data + off);
    for (size_t off = whole; off < length; ++off)
        data[off] ^= kTailByte;
}

}  // namespace vesk
