#include "FrameAssembler.h"

#include <algorithm>
#include <cstring>

namespace netcore {

size_t CFrameAssembler::Target() const {
  if (m_buf.size() < NET_SHORT_HEADER) return NET_SHORT_HEADER;
  uint32_t id = ReadU32(m_buf.data());
  size_t hs = HeaderSizeForId(id);
  uint32_t len = ReadU32(m_buf.data() + 4);
  if (len > m_maxBody) return m_buf.size();  // nothing more is read; State reports kTooLong
  return hs + len;
}

CFrameAssembler::Status CFrameAssembler::State() const {
  if (m_buf.size() < NET_SHORT_HEADER) return kIncomplete;
  if (ReadU32(m_buf.data() + 4) > m_maxBody) return kTooLong;
  return m_buf.size() >= Target() ? kFrame : kIncomplete;
}

size_t CFrameAssembler::NextReadSize() const {
  if (State() != kIncomplete) return 0;
  return Target() - m_buf.size();
}

bool CFrameAssembler::HasFrame() const { return State() == kFrame; }

size_t CFrameAssembler::Append(const uint8_t* data, size_t n, Status* status) {
  size_t take = std::min(n, NextReadSize());
  if (take) {
    if (m_buf.size() + take > m_buf.capacity()) m_buf.reserve(Target());
    m_buf.insert(m_buf.end(), data, data + take);
    // Once the header is known, size the buffer for the whole frame in one step.
    if (State() == kIncomplete && m_buf.size() >= NET_SHORT_HEADER) m_buf.reserve(Target());
  }
  *status = State();
  return take;
}

CFrameAssembler::Status CFrameAssembler::ReadOnce(IByteSource& src, int* error) {
  *error = 0;
  Status st = State();
  if (st != kIncomplete) return st;
  size_t want = NextReadSize();
  size_t held = m_buf.size();
  m_buf.resize(held + want);
  long n = src.Read(m_buf.data() + held, want, error);
  if (n <= 0 || size_t(n) > want) {
    m_buf.resize(held);
    if (n == 0) return kClosed;
    if (n > 0) {  // a source that claims more than it was asked for is broken
      *error = NETERR_BAD_FRAME;
      return kError;
    }
    if (*error == NETERR_WOULDBLOCK || *error == NETERR_INPROGRESS) return kWouldBlock;
    return kError;
  }
  m_buf.resize(held + size_t(n));
  st = State();
  if (st == kIncomplete && m_buf.size() >= NET_SHORT_HEADER) m_buf.reserve(Target());
  return st;
}

std::vector<uint8_t> CFrameAssembler::TakeFrame() {
  std::vector<uint8_t> f;
  f.swap(m_buf);
  return f;
}

}  // namespace netcore
