// The frame assembler fed arbitrary bytes in arbitrary chunks, with inflation and transform
// installation as the socket does them. Input: byte 0 picks the chunk pattern, the rest is the stream.

#include <cstdlib>

#include "FrameAssembler.h"
#include "WireTransform.h"
#include "ZlibAdapter.h"

using namespace netcore;

namespace {

class ChunkSource : public IByteSource {
 public:
  ChunkSource(const uint8_t* d, size_t n, uint8_t pattern) : m_d(d), m_n(n), m_pattern(pattern) {}
  CWireTransform recv;
  long Read(uint8_t* buf, size_t max, int* error) override {
    ++m_turn;
    if ((m_pattern & 0x80) && m_turn % 5 == 0) {
      *error = NETERR_WOULDBLOCK;
      return -1;
    }
    size_t chunk = 1 + (m_turn * (m_pattern | 1u)) % 23;
    size_t n = std::min(std::min(chunk, max), m_n - m_pos);
    if (n == 0) return 0;
    std::copy(m_d + m_pos, m_d + m_pos + n, buf);
    recv.Apply(buf, n);
    m_pos += n;
    return long(n);
  }

 private:
  const uint8_t* m_d;
  size_t m_n, m_pos = 0, m_turn = 0;
  uint8_t m_pattern;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  ChunkSource src(data + 1, size - 1, data[0]);
  CFrameAssembler as(4096);
  for (int turn = 0; turn < 4 * int(size) + 8; ++turn) {
    size_t before = as.Held();
    size_t limit = as.NextReadSize();
    int err = 0;
    CFrameAssembler::Status st = as.ReadOnce(src, &err);
    if (as.Held() > before + limit) abort();  // read past the frame
    if (st == CFrameAssembler::kWouldBlock) {
      if (as.Held() != before) abort();
      continue;
    }
    if (st != CFrameAssembler::kIncomplete && st != CFrameAssembler::kFrame) break;
    if (st != CFrameAssembler::kFrame) continue;
    std::vector<uint8_t> f = as.TakeFrame();
    if (FrameTotalSize(f.data(), f.size()) != f.size()) abort();
    uint32_t id = ReadU32(f.data());
    if (IsCompressedId(id)) {
      std::vector<uint8_t> plain;
      if (InflateFrame(f, ZlibUncompress, &plain, 4096) != InflateResult::kOk) break;
      if (FrameTotalSize(plain.data(), plain.size()) != plain.size()) abort();
      f.swap(plain);
      id = ReadU32(f.data());
    }
    if (id == MSG_WIRE_CODE) {
      WireCode code;
      if (!ParseWireCode(FrameBody(f), f.size() - HeaderSizeForId(id), &code)) break;
      src.recv.Install(code.recv, code.recvState);
    }
  }
  return 0;
}
