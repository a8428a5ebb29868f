#include "ProxyTunnel.h"

#include <cstring>
#include <optional>
#include <vector>

#include "ProxyHandshake.h"
#include "ProxySettings.h"

namespace {
const char kProxyKey[] = "Software\\Orvane\\Game\\Share\\Proxy";
const char kInternetKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::optional<uint32_t> Dword(HKEY key, const char* name) {
  DWORD type = 0, v = 0, size = sizeof v;
  if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof v)
    return std::nullopt;
  return uint32_t(v);
}

std::optional<std::string> String(HKEY key, const char* name, size_t cap) {
  std::vector<char> buf(cap, 0);
  DWORD type = 0, size = DWORD(cap);
  if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::nullopt;
  return netcore::RegStringFromBuffer(buf.data(), cap, size);
}

bool Resolve(const std::string& host, uint8_t out[4]) {
  if (netcore::ParseDottedIPv4(host, out)) return true;
  addrinfo hints = {}, *res = nullptr;
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  if (::getaddrinfo(host.c_str(), nullptr, &hints, &res) != 0 || !res) return false;
  memcpy(out, &reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr, 4);
  ::freeaddrinfo(res);
  return true;
}
}  // namespace

CProxyTunnel::CProxyTunnel() {
  for (SOCKET& s : m_channels) s = INVALID_SOCKET;
}

CProxyTunnel::~CProxyTunnel() { Reset(0); }

bool CProxyTunnel::IsConfigured(tunnel::TunnelConfig* cfg) {
  tunnel::TunnelRegistry reg;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kProxyKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    reg.proxyEnable = Dword(key, "ProxyEnable");
    reg.socksVersion = Dword(key, "SocksVersion");
    reg.httpProxyType = Dword(key, "HttpProxyType");
    reg.transServerPort = Dword(key, "TransServerPort");
    reg.httpProxyPort = Dword(key, "HttpProxyPort");
    reg.transServer = String(key, "TransServer", 100);
    reg.httpProxyServer = String(key, "HttpProxyServer", 100);
    reg.httpProxyUser = String(key, "HttpProxyUser", 64);
    reg.httpProxyPass = String(key, "HttpProxyPass", 64);
    ::RegCloseKey(key);
  }
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kInternetKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    reg.systemProxyEnable = Dword(key, "ProxyEnable");
    reg.systemProxyServer = String(key, "ProxyServer", 64);
    ::RegCloseKey(key);
  }
  m_cfg = tunnel::DecideTunnelConfig(reg, Resolve);
  if (cfg) *cfg = m_cfg;
  return m_cfg.configured;
}

SOCKET CProxyTunnel::Open(const sockaddr_in& target, const std::atomic<bool>* cancel) {
  m_pCancel = cancel;
  m_nLastError = 0;
  uint8_t addr[4];
  memcpy(addr, &target.sin_addr, 4);
  tunnel::OpenResult r = tunnel::OpenTunnel(*this, m_cfg, addr, ntohs(target.sin_port), &m_strRedirectLine);
  m_pCancel = nullptr;
  if (r.channel < 0) {
    if (!m_nLastError) m_nLastError = WSAECONNREFUSED;
    for (int i = 0; i < kChannels; ++i) Close(i);
    return INVALID_SOCKET;
  }
  auto take = [this](int ch) {
    if (ch < 0 || ch >= kChannels) return INVALID_SOCKET;
    SOCKET s = m_channels[ch];
    m_channels[ch] = INVALID_SOCKET;
    return s;
  };
  m_bConnectMode = r.connectMode;
  m_strSerial = r.serial;
  if (r.connectMode) {
    m_hConnect = take(r.connectCh);
  } else {
    m_hGet = take(r.getCh);
    m_hPost = take(r.postCh);
  }
  for (int i = 0; i < kChannels; ++i) Close(i);
  return r.connectMode ? m_hConnect : m_hGet;
}

int CProxyTunnel::Send(const char* data, int length, int flags) {
  SOCKET s = SendSocket();
  if (s == INVALID_SOCKET) {
    ::WSASetLastError(WSAENOTCONN);
    return SOCKET_ERROR;
  }
  return ::send(s, data, length, flags);
}

void CProxyTunnel::Reset(int error) {
  for (SOCKET* s : {&m_hGet, &m_hPost, &m_hConnect}) {
    if (*s != INVALID_SOCKET) ::closesocket(*s);
    *s = INVALID_SOCKET;
  }
  for (int i = 0; i < kChannels; ++i) Close(i);
  m_strSerial.clear();
  m_bConnectMode = false;
  m_nLastError = error;
}

int CProxyTunnel::Connect(const uint8_t addr[4], uint16_t port) {
  int ch = 0;
  while (ch < kChannels && m_channels[ch] != INVALID_SOCKET) ++ch;
  if (ch == kChannels) return -1;
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    m_nLastError = ::WSAGetLastError();
    return -1;
  }
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  memcpy(&to.sin_addr, addr, 4);
  if (::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR) {
    m_nLastError = ::WSAGetLastError();
    ::closesocket(s);
    return -1;
  }
  m_channels[ch] = s;
  return ch;
}

bool CProxyTunnel::SendAll(int ch, const std::string& bytes) {
  if (ch < 0 || ch >= kChannels || m_channels[ch] == INVALID_SOCKET) return false;
  size_t sent = 0;
  while (sent < bytes.size()) {
    int r = ::send(m_channels[ch], bytes.data() + sent, int(bytes.size() - sent), 0);
    if (r <= 0) {
      m_nLastError = r == 0 ? WSAECONNRESET : ::WSAGetLastError();
      return false;
    }
    sent += size_t(r);
  }
  return true;
}

int CProxyTunnel::Recv(int ch, char* buf, size_t n) {
  if (ch < 0 || ch >= kChannels || m_channels[ch] == INVALID_SOCKET) return -1;
  SOCKET s = m_channels[ch];
  // The receive time-out in short slices, so that a cancelled connect ends soon.
  for (int slice = 0; slice < m_nRecvTimeout * 10; ++slice) {
    if (m_pCancel && *m_pCancel) {
      m_nLastError = 10200;
      return -1;
    }
    fd_set r;
    FD_ZERO(&r);
    FD_SET(s, &r);
    timeval tv = {0, 100000};
    int sel = ::select(0, &r, nullptr, nullptr, &tv);
    if (sel == SOCKET_ERROR) {
      m_nLastError = ::WSAGetLastError();
      return -1;
    }
    if (sel == 0) continue;
    int got = ::recv(s, buf, int(n), 0);
    if (got <= 0) m_nLastError = got == 0 ? WSAECONNRESET : ::WSAGetLastError();
    return got;
  }
  m_nLastError = WSAETIMEDOUT;
  return -1;
}

void CProxyTunnel::Close(int ch) {
  if (ch < 0 || ch >= kChannels || m_channels[ch] == INVALID_SOCKET) return;
  ::closesocket(m_channels[ch]);
  m_channels[ch] = INVALID_SOCKET;
}
