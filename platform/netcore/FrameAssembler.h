// Assembles NET_MSG_HEADER frames from a byte stream without ever reading past the end of the
// current frame, so a stream transform can be switched on exactly between two frames.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "NetFrame.h"

namespace netcore {

// Where the assembler reads from: the client socket, a peer's POSIX socket, a test script.
class IByteSource {
 public:
  virtual ~IByteSource() = default;
  // Reads up to max bytes: n > 0 bytes read, 0 the peer closed, -1 failure with *error set
  // (NETERR_WOULDBLOCK / NETERR_INPROGRESS: nothing there yet).
  virtual long Read(uint8_t* buf, size_t max, int* error) = 0;
};

class CFrameAssembler {
 public:
  enum Status {
    kIncomplete,  // bytes taken, the frame is not complete yet
    kFrame,       // a complete frame is held: TakeFrame
    kWouldBlock,  // nothing to read now; the held count is unchanged
    kClosed,      // the peer closed the stream
    kError,       // the read failed (error code in the out parameter)
    kTooLong,     // the header announces a body beyond the bound
  };

  explicit CFrameAssembler(uint32_t maxBody = NET_MAX_BODY) : m_maxBody(maxBody) {}

  // How many bytes the next read may take without crossing the current frame's end.
  size_t NextReadSize() const;
  // Takes at most NextReadSize() bytes (the rest is left to the caller: the return says how
  // many were consumed) and reports the state through *status.
  size_t Append(const uint8_t* data, size_t n, Status* status);
  // One read from the source, as one receive notification does.
  Status ReadOnce(IByteSource& src, int* error);
  bool HasFrame() const;
  // The complete frame; the assembler starts over empty.
  std::vector<uint8_t> TakeFrame();
  size_t Held() const { return m_buf.size(); }
  void Clear() {
    m_buf.clear();
    m_buf.shrink_to_fit();
  }

 private:
  Status State() const;
  size_t Target() const;  // bytes the current frame needs so far (8, 12, header+length)

  std::vector<uint8_t> m_buf;
  uint32_t m_maxBody;
};

}  // namespace netcore
