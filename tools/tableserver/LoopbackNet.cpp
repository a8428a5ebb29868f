#include "LoopbackNet.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "ZlibAdapter.h"

namespace peers {

namespace {

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

bool WaitFor(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  for (;;) {
    int r = poll(&p, 1, timeoutMs);
    if (r < 0 && errno == EINTR) continue;
    return r > 0;
  }
}

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

int ListenLoopback(uint16_t port, uint16_t* actual) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in a = Loopback(port);
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 16) != 0) {
    close(fd);
    return -1;
  }
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  if (actual) *actual = ntohs(a.sin_port);
  return fd;
}

int ConnectLoopback(uint16_t port, int timeoutMs, int* error) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    if (error) *error = errno;
    return -1;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  sockaddr_in a = Loopback(port);
  int r = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  int err = 0;
  if (r != 0 && errno != EINPROGRESS) {
    err = errno;
  } else if (r != 0) {
    if (!WaitWritable(fd, timeoutMs)) {
      err = ETIMEDOUT;
    } else {
      socklen_t len = sizeof err;
      getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
    }
  }
  if (err) {
    close(fd);
    if (error) *error = err;
    return -1;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

bool WaitReadable(int fd, int timeoutMs) { return WaitFor(fd, POLLIN, timeoutMs); }
bool WaitWritable(int fd, int timeoutMs) { return WaitFor(fd, POLLOUT, timeoutMs); }

bool SendAll(int fd, const void* data, size_t n, int timeoutMs) {
  const char* p = static_cast<const char*>(data);
  long long end = NowMs() + timeoutMs;
  while (n > 0) {
    long long left = end - NowMs();
    if (left <= 0 || !WaitWritable(fd, int(left))) return false;
    ssize_t r = send(fd, p, n, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (r < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
      return false;
    }
    p += r;
    n -= size_t(r);
  }
  return true;
}

bool RecvExact(int fd, void* data, size_t n, int timeoutMs) {
  char* p = static_cast<char*>(data);
  long long end = NowMs() + timeoutMs;
  while (n > 0) {
    long long left = end - NowMs();
    if (left <= 0 || !WaitReadable(fd, int(left))) return false;
    ssize_t r = recv(fd, p, n, MSG_DONTWAIT);
    if (r == 0) return false;
    if (r < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
      return false;
    }
    p += r;
    n -= size_t(r);
  }
  return true;
}

void CloseFd(int fd) {
  if (fd >= 0) close(fd);
}

bool IsLoopbackTarget(const std::string& host) {
  uint8_t ip[4];
  if (!netcore::ParseDottedIPv4(host, ip)) return !host.empty();
  return ip[0] == 127;
}

long CSocketSource::Read(uint8_t* buf, size_t max, int* error) {
  ssize_t r = ::recv(m_fd, buf, max, MSG_DONTWAIT);
  if (r < 0) {
    *error = (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? netcore::NETERR_WOULDBLOCK : 10054;
    return -1;
  }
  if (r > 0) recv.Apply(buf, size_t(r));
  return long(r);
}

bool CLoopbackClient::Connect(uint16_t port, int* error) {
  Close();
  m_fd = ConnectLoopback(port, 3000, error);
  if (m_fd < 0) return false;
  m_src = new CSocketSource(m_fd);
  return true;
}

bool CLoopbackClient::Handshake(netcore::CProxyHandshake& h, int timeoutMs) {
  for (int guard = 0; guard < 4096; ++guard) {
    std::vector<uint8_t> out = h.TakeOutput();
    if (!out.empty() && !SendAll(m_fd, out.data(), out.size(), timeoutMs)) return false;
    if (h.GetStatus() != netcore::CProxyHandshake::kNeedMore) break;
    // Exactly what the handshake wants, as the client's exact read does.
    std::vector<uint8_t> in(h.Wanted());
    if (!RecvExact(m_fd, in.data(), in.size(), timeoutMs)) return false;
    h.Feed(in.data(), in.size());
  }
  return h.GetStatus() == netcore::CProxyHandshake::kDone;
}

bool CLoopbackClient::SendFrame(const std::vector<uint8_t>& frame) {
  std::vector<uint8_t> copy = frame;  // the caller's frame is never changed
  send.Apply(copy.data(), copy.size());
  return SendAll(m_fd, copy.data(), copy.size(), 3000);
}

bool CLoopbackClient::ReadFrame(std::vector<uint8_t>* frame, int timeoutMs) {
  if (!m_src) return false;
  long long end = NowMs() + timeoutMs;
  for (;;) {
    int err = 0;
    netcore::CFrameAssembler::Status st = m_as.ReadOnce(*m_src, &err);
    if (st == netcore::CFrameAssembler::kFrame) break;
    if (st == netcore::CFrameAssembler::kIncomplete) continue;
    if (st != netcore::CFrameAssembler::kWouldBlock) return false;
    long long left = end - NowMs();
    if (left <= 0 || !WaitReadable(m_fd, int(left))) return false;
  }
  std::vector<uint8_t> f = m_as.TakeFrame();
  if (netcore::IsCompressedId(netcore::ReadU32(f.data()))) {
    std::vector<uint8_t> plain;
    if (netcore::InflateFrame(f, netcore::ZlibUncompress, &plain) != netcore::InflateResult::kOk) return false;
    f.swap(plain);
  }
  *frame = std::move(f);
  return true;
}

bool CLoopbackClient::InstallWireCode(const std::vector<uint8_t>& frame) {
  netcore::WireCode code;
  size_t hs = netcore::HeaderSizeForId(netcore::ReadU32(frame.data()));
  if (!netcore::ParseWireCode(frame.data() + hs, frame.size() - hs, &code)) return false;
  send.Install(code.send, code.sendState);
  m_src->recv.Install(code.recv, code.recvState);
  return true;
}

void CLoopbackClient::Close() {
  delete m_src;
  m_src = nullptr;
  CloseFd(m_fd);
  m_fd = -1;
  m_as.Clear();
}

}  // namespace peers
