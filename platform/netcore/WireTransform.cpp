#include "WireTransform.h"

#include "NetFrame.h"

namespace netcore {

namespace {

inline uint32_t Mix32(uint32_t x) {
  x ^= x >> 16;
  x *= 0x85EBCA6Bu;
  x ^= x >> 13;
  x *= 0xC2B2AE35u;
  x ^= x >> 16;
  return x;
}

inline uint8_t Rol8(uint8_t b, unsigned r) { return r ? uint8_t((b << r) | (b >> (8 - r))) : b; }
inline uint8_t Ror8(uint8_t b, unsigned r) { return r ? uint8_t((b >> r) | (b << (8 - r))) : b; }

}  // namespace

bool CWireProgram::Parse(const uint8_t* block, size_t length, CWireProgram* out) {
  if (length == 0) {
    *out = CWireProgram();
    return true;
  }
  if (length < 4 || block[0] != 'V' || block[1] != 'T' || block[2] != 1) return false;
  size_t n = block[3];
  if (n == 0 || n > WIRE_MAX_STEPS || length != 4 + 8 * n) return false;
  std::vector<WireStep> steps(n);
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* s = block + 4 + 8 * i;
    if (s[0] < WIRE_XOR || s[0] > WIRE_ROR || s[1] || s[2] || s[3]) return false;
    steps[i].op = s[0];
    steps[i].key = ReadU32(s + 4);
  }
  *out = CWireProgram(std::move(steps));
  return true;
}

std::vector<uint8_t> CWireProgram::Serialize() const {
  if (m_steps.empty()) return {};
  std::vector<uint8_t> b(4 + 8 * m_steps.size(), 0);
  b[0] = 'V';
  b[1] = 'T';
  b[2] = 1;
  b[3] = uint8_t(m_steps.size());
  for (size_t i = 0; i < m_steps.size(); ++i) {
    b[4 + 8 * i] = m_steps[i].op;
    WriteU32(&b[8 + 8 * i], m_steps[i].key);
  }
  return b;
}

CWireProgram CWireProgram::Inverse() const {
  std::vector<WireStep> inv(m_steps.rbegin(), m_steps.rend());
  for (WireStep& s : inv) {
    switch (s.op) {
      case WIRE_ADD:
        s.op = WIRE_SUB;
        break;
      case WIRE_SUB:
        s.op = WIRE_ADD;
        break;
      case WIRE_ROL:
        s.op = WIRE_ROR;
        break;
      case WIRE_ROR:
        s.op = WIRE_ROL;
        break;
      default:
        break;
    }
  }
  return CWireProgram(std::move(inv));
}

void CWireProgram::Apply(uint8_t* buf, size_t length, uint32_t* state) const {
  if (m_steps.empty()) return;
  uint32_t pos = *state;
  for (size_t i = 0; i < length; ++i, ++pos) {
    uint8_t b = buf[i];
    uint32_t spread = pos * 0x9E3779B9u;
    for (const WireStep& s : m_steps) {
      uint8_t k = uint8_t(Mix32(s.key ^ spread));
      switch (s.op) {
        case WIRE_XOR:
          b ^= k;
          break;
        case WIRE_ADD:
          b = uint8_t(b + k);
          break;
        case WIRE_SUB:
          b = uint8_t(b - k);
          break;
        case WIRE_ROL:
          b = Rol8(b, k & 7);
          break;
        case WIRE_ROR:
          b = Ror8(b, k & 7);
          break;
      }
    }
    buf[i] = b;
  }
  *state = pos;
}

bool ParseWireCode(const uint8_t* body, size_t length, WireCode* out) {
  if (length < 16) return false;
  uint64_t sendLen = ReadU32(body + 8), recvLen = ReadU32(body + 12);
  if (16 + sendLen + recvLen != length) return false;
  WireCode w;
  w.sendState = ReadU32(body);
  w.recvState = ReadU32(body + 4);
  if (!CWireProgram::Parse(body + 16, size_t(sendLen), &w.send)) return false;
  if (!CWireProgram::Parse(body + 16 + sendLen, size_t(recvLen), &w.recv)) return false;
  *out = std::move(w);
  return true;
}

std::vector<uint8_t> BuildWireCodeBody(const WireCode& code) {
  std::vector<uint8_t> s = code.send.Serialize(), r = code.recv.Serialize();
  std::vector<uint8_t> b(16);
  WriteU32(&b[0], code.sendState);
  WriteU32(&b[4], code.recvState);
  WriteU32(&b[8], uint32_t(s.size()));
  WriteU32(&b[12], uint32_t(r.size()));
  b.insert(b.end(), s.begin(), s.end());
  b.insert(b.end(), r.begin(), r.end());
  return b;
}

}  // namespace netcore
