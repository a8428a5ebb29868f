#include "ProxyPeers.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "LoopbackNet.h"
#include "ProxyHandshake.h"

namespace peers {

namespace {

constexpr int kIoTimeoutMs = 5000;

bool ReadByte(int fd, uint8_t* b) { return RecvExact(fd, b, 1, kIoTimeoutMs); }

// A zero-terminated text of at most `limit` bytes.
bool ReadZText(int fd, size_t limit, std::string* out) {
  out->clear();
  for (size_t i = 0; i <= limit; ++i) {
    uint8_t b;
    if (!ReadByte(fd, &b)) return false;
    if (b == 0) return true;
    out->push_back(char(b));
  }
  return false;
}

std::string Dotted(const uint8_t* ip) {
  return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
         std::to_string(ip[3]);
}

}  // namespace

bool ParseProxyFault(const std::string& name, ProxyFault* out) {
  static const std::pair<const char*, ProxyFault> kNames[] = {
      {"none", ProxyFault::kNone},
      {"refuse", ProxyFault::kRefuse},
      {"wrong-method", ProxyFault::kWrongMethod},
      {"bad-reply", ProxyFault::kBadReply},
      {"close-early", ProxyFault::kCloseEarly},
      {"slow", ProxyFault::kSlow},
  };
  for (auto& n : kNames)
    if (name == n.first) {
      *out = n.second;
      return true;
    }
  return false;
}

CProxyPeer::~CProxyPeer() { Stop(); }

bool CProxyPeer::Start() {
  m_listen = ListenLoopback(m_opt.port, &m_port);
  if (m_listen < 0) return false;
  m_stop = false;
  m_running = true;
  m_thread = std::thread([this] { AcceptLoop(); });
  return true;
}

void CProxyPeer::Stop() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  ReapSessions(true);
  CloseFd(m_listen);
  m_listen = -1;
}

void CProxyPeer::ReapSessions(bool all) {
  for (size_t i = m_sessions.size(); i-- > 0;) {
    if (!all && !*m_sessions[i].done) continue;
    if (m_sessions[i].thread.joinable()) m_sessions[i].thread.join();
    m_sessions.erase(m_sessions.begin() + long(i));
  }
}

void CProxyPeer::AddLog(const std::string& line) {
  std::lock_guard<std::mutex> g(m_logLock);
  m_log.push_back(line);
}

std::vector<std::string> CProxyPeer::Log() const {
  std::lock_guard<std::mutex> g(m_logLock);
  return m_log;
}

bool CProxyPeer::WaitForLog(const std::string& text, int timeoutMs) const {
  for (int waited = 0; waited <= timeoutMs; waited += 10) {
    for (const std::string& l : Log())
      if (l.find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void CProxyPeer::AcceptLoop() {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_opt.maxSeconds);
  while (!m_stop && (m_opt.maxSeconds <= 0 || std::chrono::steady_clock::now() < deadline)) {
    ReapSessions(false);
    if (!WaitReadable(m_listen, 50)) continue;
    int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    if (m_opt.fault == ProxyFault::kRefuse) {
      AddLog("refused");
      CloseFd(fd);
      continue;
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    m_sessions.push_back({std::thread([this, fd, done] {
                            Session(fd);
                            CloseFd(fd);
                            *done = true;
                          }),
                          done});
  }
  m_stop = true;  // sessions end their relays
  m_running = false;
}

bool CProxyPeer::Answer(int fd, const std::vector<uint8_t>& bytes) {
  if (m_opt.fault != ProxyFault::kSlow) return SendAll(fd, bytes.data(), bytes.size(), kIoTimeoutMs);
  for (uint8_t b : bytes) {
    std::this_thread::sleep_for(std::chrono::milliseconds(m_opt.slowMs));
    if (m_stop || !SendAll(fd, &b, 1, kIoTimeoutMs)) return false;
  }
  return true;
}

bool CProxyPeer::ConnectTarget(const std::string& host, uint16_t port, int* target) {
  if (!IsLoopbackTarget(host)) {
    AddLog("target refused " + host);
    return false;
  }
  *target = ConnectLoopback(port, 3000);
  AddLog((*target >= 0 ? "connect " : "connect failed ") + host + ":" + std::to_string(port));
  return *target >= 0;
}

void CProxyPeer::Relay(int a, int b) {
  char buf[16384];
  while (!m_stop) {
    pollfd p[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
    int r = poll(p, 2, 50);
    if (r <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      int from = i ? b : a, to = i ? a : b;
      ssize_t n = ::recv(from, buf, sizeof buf, MSG_DONTWAIT);
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) return;
      if (n > 0 && !SendAll(to, buf, size_t(n), kIoTimeoutMs)) return;
    }
  }
}

// --- SOCKS ---

void CSocksProxy::Session(int fd) {
  uint8_t version;
  if (!ReadByte(fd, &version)) return;
  if (version == 4)
    Socks4(fd);
  else if (version == 5)
    Socks5(fd);
  else
    AddLog("unknown version " + std::to_string(version));
}

void CSocksProxy::Socks4(int fd) {
  uint8_t req[7];
  std::string user, host;
  if (!RecvExact(fd, req, 7, kIoTimeoutMs) || !ReadZText(fd, 256, &user)) return;
  uint16_t port = uint16_t(req[1] << 8 | req[2]);
  const uint8_t* ip = req + 3;
  bool named = ip[0] == 0 && ip[1] == 0 && ip[2] == 0 && ip[3] != 0;
  if (named && !ReadZText(fd, 255, &host)) return;
  if (!named) host = Dotted(ip);
  AddLog("socks4 " + std::string(named ? "name " : "") + host + ":" + std::to_string(port) + " user=" + user);
  if (m_opt.fault == ProxyFault::kCloseEarly) return;
  if (m_opt.fault == ProxyFault::kBadReply) {
    Answer(fd, {'H', 'T', 'T', 'P', '/', '1', '.', '0'});
    return;
  }
  int target = -1;
  bool ok = req[0] == 1 && m_opt.fault != ProxyFault::kWrongMethod && ConnectTarget(host, port, &target);
  std::vector<uint8_t> reply = {0, uint8_t(ok ? 90 : 91), req[1], req[2], ip[0], ip[1], ip[2], ip[3]};
  if (Answer(fd, reply) && ok) Relay(fd, target);
  CloseFd(target);
}

void CSocksProxy::Socks5(int fd) {
  uint8_t count;
  if (!ReadByte(fd, &count)) return;
  std::vector<uint8_t> methods(count);
  if (count && !RecvExact(fd, methods.data(), count, kIoTimeoutMs)) return;
  bool wantAuth = !m_opt.user.empty();
  uint8_t want = wantAuth ? 2 : 0;
  bool offered = false;
  for (uint8_t m : methods) offered |= m == want;
  AddLog("socks5 methods " + std::to_string(count));
  if (m_opt.fault == ProxyFault::kCloseEarly) return;
  if (!offered || m_opt.fault == ProxyFault::kWrongMethod) {
    Answer(fd, {5, 0xFF});
    return;
  }
  if (!Answer(fd, {5, want})) return;
  if (wantAuth) {
    uint8_t ver, len;
    std::string user, pass;
    if (!ReadByte(fd, &ver) || !ReadByte(fd, &len)) return;
    user.resize(len);
    if (len && !RecvExact(fd, &user[0], len, kIoTimeoutMs)) return;
    if (!ReadByte(fd, &len)) return;
    pass.resize(len);
    if (len && !RecvExact(fd, &pass[0], len, kIoTimeoutMs)) return;
    bool good = ver == 1 && user == m_opt.user && pass == m_opt.password;
    AddLog(std::string("socks5 auth ") + (good ? "ok" : "bad") + " user=" + user);
    if (!Answer(fd, {1, uint8_t(good ? 0 : 1)}) || !good) return;
  }
  uint8_t head[4];
  if (!RecvExact(fd, head, 4, kIoTimeoutMs)) return;
  std::string host;
  if (head[3] == 1) {
    uint8_t ip[4];
    if (!RecvExact(fd, ip, 4, kIoTimeoutMs)) return;
    host = Dotted(ip);
  } else if (head[3] == 3) {
    uint8_t len;
    if (!ReadByte(fd, &len)) return;
    host.resize(len);
    if (len && !RecvExact(fd, &host[0], len, kIoTimeoutMs)) return;
  } else {
    AddLog("socks5 address type " + std::to_string(head[3]));
    Answer(fd, {5, 8, 0, 1, 0, 0, 0, 0, 0, 0});
    return;
  }
  uint8_t pb[2];
  if (!RecvExact(fd, pb, 2, kIoTimeoutMs)) return;
  uint16_t port = uint16_t(pb[0] << 8 | pb[1]);
  AddLog("socks5 " + host + ":" + std::to_string(port));
  if (m_opt.fault == ProxyFault::kBadReply) {
    Answer(fd, {5, 0, 0, 9, 1, 2, 3, 4, 0, 0});  // an address type that does not exist
    return;
  }
  int target = -1;
  bool ok = head[1] == 1 && ConnectTarget(host, port, &target);
  std::vector<uint8_t> reply = {5, uint8_t(ok ? 0 : 5), 0, m_opt.socks5ReplyType};
  switch (m_opt.socks5ReplyType) {
    case 3:
      reply.insert(reply.end(), {9, 'l', 'o', 'c', 'a', 'l', 'h', 'o', 's', 't'});
      break;
    case 4:
      reply.insert(reply.end(), 15, 0);
      reply.push_back(1);
      break;
    default:
      reply.insert(reply.end(), {127, 0, 0, 1});
      break;
  }
  reply.push_back(pb[0]);
  reply.push_back(pb[1]);
  if (Answer(fd, reply) && ok) Relay(fd, target);
  CloseFd(target);
}

// --- HTTP ---

namespace {

// Reads a request header up to its blank line (at most 8 KB).
bool ReadHeader(int fd, std::string* out) {
  out->clear();
  while (out->size() < 8192) {
    uint8_t b;
    if (!ReadByte(fd, &b)) return false;
    out->push_back(char(b));
    size_t n = out->size();
    if (n >= 4 && out->compare(n - 4, 4, "\r\n\r\n") == 0) return true;
    if (n >= 2 && out->compare(n - 2, 2, "\n\n") == 0) return true;
  }
  return false;
}

std::string HeaderValue(const std::string& header, const std::string& name) {
  size_t at = 0;
  while ((at = header.find('\n', at)) != std::string::npos) {
    ++at;
    if (header.compare(at, name.size(), name) == 0 && header.compare(at + name.size(), 1, ":") == 0) {
      size_t v = at + name.size() + 1;
      while (v < header.size() && header[v] == ' ') ++v;
      size_t end = header.find_first_of("\r\n", v);
      return header.substr(v, end == std::string::npos ? std::string::npos : end - v);
    }
  }
  return std::string();
}

bool SplitHostPort(const std::string& text, uint16_t defPort, std::string* host, uint16_t* port) {
  size_t colon = text.rfind(':');
  *host = text.substr(0, colon);
  *port = defPort;
  if (colon == std::string::npos) return !host->empty();
  long p = std::strtol(text.c_str() + colon + 1, nullptr, 10);
  if (p <= 0 || p > 65535) return false;
  *port = uint16_t(p);
  return !host->empty();
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

}  // namespace

void CHttpProxy::Session(int fd) {
  std::string header;
  if (!ReadHeader(fd, &header)) return;
  std::string method = header.substr(0, header.find(' '));
  size_t sp = header.find(' ');
  std::string uri = sp == std::string::npos ? "" : header.substr(sp + 1, header.find(' ', sp + 1) - sp - 1);
  AddLog("http " + method + " " + uri);
  if (m_opt.fault == ProxyFault::kCloseEarly) return;
  if (m_opt.fault == ProxyFault::kBadReply) {
    Answer(fd, Bytes("garbage without a status\r\n\r\n"));
    return;
  }
  if (m_opt.fault == ProxyFault::kWrongMethod) {
    Answer(fd, Bytes("HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\n\r\n"));
    return;
  }
  if (!m_opt.user.empty()) {
    std::string expected = "Basic " + netcore::Base64Encode(m_opt.user + ":" + m_opt.password);
    if (HeaderValue(header, "Proxy-Authorization") != expected) {
      AddLog("http auth bad");
      Answer(fd, Bytes("HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"vesk\"\r\n"
                       "Content-Length: 0\r\n\r\n"));
      return;
    }
  }
  std::string host;
  uint16_t port = 0;
  int target = -1;
  if (method == "CONNECT") {
    if (!SplitHostPort(uri, 443, &host, &port) || !ConnectTarget(host, port, &target)) {
      Answer(fd, Bytes("HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n"));
      return;
    }
    if (Answer(fd, Bytes("HTTP/1.1 200 Connection established\r\n\r\n"))) Relay(fd, target);
  } else if (method == "GET" || method == "POST") {
    if (!SplitHostPort(HeaderValue(header, "Host"), 80, &host, &port) || !ConnectTarget(host, port, &target)) {
      Answer(fd, Bytes("HTTP/1.0 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n"));
      return;
    }
    // The request goes on as it came; its body and the answer are relayed as they flow.
    if (SendAll(target, header.data(), header.size(), kIoTimeoutMs)) Relay(fd, target);
  } else {
    Answer(fd, Bytes("HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\n\r\n"));
  }
  CloseFd(target);
}

}  // namespace peers
