// Proxy peers for tests and local play: a SOCKS4/4a/5 proxy and an HTTP proxy (CONNECT with
// Basic authorisation; plain GET/POST forwarded by their Host header). Both listen on
// 127.0.0.1, only ever connect to the loopback machine, stop by themselves, and can be told
// to misbehave in the ways a client must survive.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace peers {

enum class ProxyFault {
  kNone,
  kRefuse,       // close every connection as soon as it is accepted
  kWrongMethod,  // SOCKS5: no acceptable method; SOCKS4: request rejected (91); HTTP: 405
  kBadReply,     // a reply that is no valid reply
  kCloseEarly,   // read the request, then close without answering
  kSlow,         // answer one byte at a time, slowMs apart
};

struct ProxyOptions {
  uint16_t port = 0;           // 0: an ephemeral port
  int maxSeconds = 30;         // the proxy stops by itself after this; 0: runs until stopped
  std::string user, password;  // when set, required (SOCKS5 method 2, HTTP Basic)
  ProxyFault fault = ProxyFault::kNone;
  int slowMs = 50;
  uint8_t socks5ReplyType = 1;  // address type of the SOCKS5 reply: 1, 3 or 4
};

bool ParseProxyFault(const std::string& name, ProxyFault* out);

class CProxyPeer {
 public:
  explicit CProxyPeer(ProxyOptions opt) : m_opt(std::move(opt)) {}
  virtual ~CProxyPeer();
  bool Start();
  void Stop();
  uint16_t Port() const { return m_port; }
  bool Running() const { return m_running; }
  std::vector<std::string> Log() const;
  bool WaitForLog(const std::string& text, int timeoutMs) const;

 protected:
  // Handles one accepted client on its own thread; the socket is closed afterwards.
  virtual void Session(int fd) = 0;
  // Replies as the fault says: byte by byte when slow.
  bool Answer(int fd, const std::vector<uint8_t>& bytes);
  // Connects to the target on the loopback machine and relays both ways until one side closes.
  bool ConnectTarget(const std::string& host, uint16_t port, int* target);
  void Relay(int a, int b);
  void AddLog(const std::string& line);
  bool Stopping() const { return m_stop; }
  const ProxyOptions m_opt;

 private:
  void AcceptLoop();
  int m_listen = -1;
  uint16_t m_port = 0;
  std::thread m_thread;
  struct SessionThread {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void ReapSessions(bool all);
  std::vector<SessionThread> m_sessions;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_running{false};
  mutable std::mutex m_logLock;
  std::vector<std::string> m_log;
};

class CSocksProxy : public CProxyPeer {
 public:
  using CProxyPeer::CProxyPeer;
  ~CSocksProxy() override { Stop(); }

 protected:
  void Session(int fd) override;

 private:
  void Socks4(int fd);
  void Socks5(int fd);
};

class CHttpProxy : public CProxyPeer {
 public:
  using CProxyPeer::CProxyPeer;
  ~CHttpProxy() override { Stop(); }

 protected:
  void Session(int fd) override;
};

}  // namespace peers
