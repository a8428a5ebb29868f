// The stream transforms that MSG_WIRE_CODE installs. The server does not send code: it picks
// a transform from a fixed family and sends its parameters. Each direction has its own block:
//
//   Transform block (little-endian), exactly 4 + 8 * n bytes, or empty (bytes pass unchanged):
//     +0      2  magic 'V' 'T'
//     +2      1  version, 1
//     +3      1  n, the number of steps, 1..8
//     +4 + 8i 1  step i's operation: 1 xor, 2 add, 3 subtract, 4 rotate left, 5 rotate right
//             3  zero
//             4  step i's key
//
// Every byte at stream position p (the u32 state, counting bytes since the message, wrapping)
// passes the steps in order; step i uses the key byte k = low byte of Mix32(key_i ^ (p * 0x9E3779B9)):
// xor b ^= k; add b += k; subtract b -= k; rotate by k & 7 bits. Afterwards the state is p + 1.
//
//   MSG_WIRE_CODE body: u32 send state, u32 receive state, u32 send length, u32 receive length,
//   the send block, the receive block; the two lengths must add up to the body exactly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace netcore {

enum WireOp : uint8_t { WIRE_XOR = 1, WIRE_ADD = 2, WIRE_SUB = 3, WIRE_ROL = 4, WIRE_ROR = 5 };
constexpr size_t WIRE_MAX_STEPS = 8;

struct WireStep {
  uint8_t op = WIRE_XOR;
  uint32_t key = 0;
};

class CWireProgram {
 public:
  CWireProgram() = default;
  explicit CWireProgram(std::vector<WireStep> steps) : m_steps(std::move(steps)) {}
  // False for a block that is not exactly a valid transform block (see above).
  static bool Parse(const uint8_t* block, size_t length, CWireProgram* out);
  std::vector<uint8_t> Serialize() const;
  // The transform that undoes this one at the same stream positions (the peer's side).
  CWireProgram Inverse() const;
  void Apply(uint8_t* buf, size_t length, uint32_t* state) const;
  bool IsIdentity() const { return m_steps.empty(); }
  const std::vector<WireStep>& Steps() const { return m_steps; }

 private:
  std::vector<WireStep> m_steps;
};

// One direction of a connection: off until installed, then keyed by its own stream position.
class CWireTransform {
 public:
  void Install(const CWireProgram& prog, uint32_t state) {
    m_prog = prog;
    m_state = state;
    m_on = true;
  }
  void Off() {
    m_on = false;
    m_prog = CWireProgram();
    m_state = 0;
  }
  void Apply(uint8_t* buf, size_t length) {
    if (m_on) m_prog.Apply(buf, length, &m_state);
  }
  bool IsOn() const { return m_on; }
  uint32_t State() const { return m_state; }

 private:
  CWireProgram m_prog;
  uint32_t m_state = 0;
  bool m_on = false;
};

struct WireCode {
  uint32_t sendState = 0;  // the client's send direction
  uint32_t recvState = 0;  // the client's receive direction
  CWireProgram send;
  CWireProgram recv;
};

// Parses a MSG_WIRE_CODE body; false for a malformed one (the connection is then closed).
bool ParseWireCode(const uint8_t* body, size_t length, WireCode* out);
std::vector<uint8_t> BuildWireCodeBody(const WireCode& code);

}  // namespace netcore
