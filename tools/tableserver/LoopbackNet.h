// Small POSIX socket helpers for the native peers and their tests: everything is bound to
// 127.0.0.1 and every wait is bounded.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FrameAssembler.h"
#include "ProxyHandshake.h"
#include "WireTransform.h"

namespace peers {

// A listening socket on 127.0.0.1 (port 0: an ephemeral one); -1 on failure.
int ListenLoopback(uint16_t port, uint16_t* actual);
// Connects to 127.0.0.1:port within timeoutMs; -1 on failure with *error set to the errno.
int ConnectLoopback(uint16_t port, int timeoutMs, int* error = nullptr);
// Waits until fd is readable (or writable) for at most timeoutMs.
bool WaitReadable(int fd, int timeoutMs);
bool WaitWritable(int fd, int timeoutMs);
// Sends every byte or fails; partial sends continue while the socket becomes writable.
bool SendAll(int fd, const void* data, size_t n, int timeoutMs);
// Reads exactly n bytes or fails (closed, error, time-out).
bool RecvExact(int fd, void* data, size_t n, int timeoutMs);
void CloseFd(int fd);
// Target hosts the peers accept: every name is taken as the loopback machine, and dotted
// addresses must be 127.x.y.z, so no test ever reaches beyond this machine.
bool IsLoopbackTarget(const std::string& host);

// An IByteSource over a socket, applying a receive transform to every chunk.
class CSocketSource : public netcore::IByteSource {
 public:
  explicit CSocketSource(int fd) : m_fd(fd) {}
  long Read(uint8_t* buf, size_t max, int* error) override;
  netcore::CWireTransform recv;

 private:
  int m_fd;
};

// A blocking test client of the game server: frames out and in, transforms, proxy handshakes.
class CLoopbackClient {
 public:
  ~CLoopbackClient() { Close(); }
  bool Connect(uint16_t port, int* error = nullptr);
  // Runs a handshake over the connection; false when it fails or the proxy stops answering.
  bool Handshake(netcore::CProxyHandshake& h, int timeoutMs = 3000);
  bool SendFrame(const std::vector<uint8_t>& frame);
  // The next frame, inflated (zlib) when bit 30 is set; false on close, time-out or a bad frame.
  bool ReadFrame(std::vector<uint8_t>* frame, int timeoutMs = 3000);
  // Installs the transforms of a MSG_WIRE_CODE frame (client side).
  bool InstallWireCode(const std::vector<uint8_t>& frame);
  void Close();
  int Fd() const { return m_fd; }
  netcore::CWireTransform send;

 private:
  int m_fd = -1;
  CSocketSource* m_src = nullptr;
  netcore::CFrameAssembler m_as;
};

}  // namespace peers
