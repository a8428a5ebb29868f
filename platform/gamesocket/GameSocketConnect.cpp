// CGameSocket::Connect: direct, SOCKS4, SOCKS5 or through the HTTP tunnel, with the port remap.
#include <cstdio>
#include <cstring>
#include <optional>
#include <memory>

#include "GameSocket.h"
#include "ProxyHandshake.h"
#include "ProxyTunnel.h"

namespace {
const char kProxyKey[] = "Software\\Orvane\\Game\\Share\\Proxy";
const char kShareKey[] = "Software\\Orvane\\Game\\share";

std::optional<uint32_t> RegDword(HKEY key, const char* name) {
  DWORD type = 0, v = 0, size = sizeof v;
  if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof v)
    return std::nullopt;
  return uint32_t(v);
}

// A string value read into a buffer of cap bytes, always terminated inside it.
std::optional<std::string> RegString(HKEY key, const char* name, size_t cap) {
  std::vector<char> buf(cap, 0);
  DWORD type = 0, size = DWORD(cap);
  LONG r = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size);
  if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  return netcore::RegStringFromBuffer(buf.data(), cap, size);
}

// Dotted address, else a name look-up; false when the host cannot be resolved.
bool ResolveIPv4(const std::string& host, in_addr* out) {
  uint8_t b[4];
  if (netcore::ParseDottedIPv4(host, b)) {
    memcpy(out, b, 4);
    return true;
  }
  addrinfo hints = {}, *res = nullptr;
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  if (::getaddrinfo(host.c_str(), nullptr, &hints, &res) != 0 || !res) return false;
  *out = reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr;
  ::freeaddrinfo(res);
  return true;
}
}  // namespace

void CGameSocket::ReadProxySettings() {
  netcore::RegProxyValues reg;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kProxyKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    reg.keyOpened = true;
    reg.proxyEnable = RegDword(key, "ProxyEnable");
    reg.socksServer = RegString(key, "SocksServer", netcore::PROXY_HOST_BUF);
    reg.socksPort = RegDword(key, "SocksPort");
    reg.socksVersion = RegDword(key, "SocksVersion");
    reg.userName = RegString(key, "UserName", netcore::PROXY_CRED_BUF);
    reg.password = RegString(key, "Password", netcore::PROXY_CRED_BUF);
    ::RegCloseKey(key);
  }
  m_proxy = netcore::DecideProxySettings(reg, m_proxy);
  m_bViaProxy = m_proxy.viaProxy;
}

int CGameSocket::MapP80Port(UINT nPort) {
  auto lookup = [](uint16_t port) -> int {
    char path[MAX_PATH] = "";
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file = (n > 0 && n < MAX_PATH) ? netcore::LangRscCandidate(path) : std::string();
    if (file.empty() || ::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
      file.clear();
      HKEY key = nullptr;
      if (::RegOpenKeyExA(HKEY_CURRENT_USER, kShareKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        auto share = RegString(key, "Path", MAX_PATH);
        ::RegCloseKey(key);
        if (share && !share->empty()) file = *share + "\\LangRsc.ini";
      }
    }
    if (file.empty() || ::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    char keyName[16], value[65] = "";
    snprintf(keyName, sizeof keyName, "%u", unsigned(port));
    ::GetPrivateProfileStringA("P80Port", keyName, "", value, sizeof value, file.c_str());
    return netcore::ParseP80Value(value);
  };
  return netcore::ResolveRemappedPort(m_nRemappedPort, uint16_t(nPort), lookup);
}

void CGameSocket::EndConnectWorker() {
  if (!m_connectThread.joinable()) return;
  m_bCancelConnect = true;
  m_connectThread.join();
  SOCKET s = SOCKET(m_hConnected.exchange(uintptr_t(INVALID_SOCKET)));
  if (s != INVALID_SOCKET && !m_bTunnelMode) ::closesocket(s);
  m_nConnectState = 0;
}

void CGameSocket::ConnectThreadProc() {
  auto fail = [this](int err) {
    m_nConnectError = err;
    m_nConnectState = 0;
  };
  if (m_bTunnelMode) {
    SOCKET s = m_pTunnel->Open(m_tunnelTarget, &m_bCancelConnect);
    if (s == INVALID_SOCKET) return fail(m_pTunnel->LastError());
    m_hConnected = uintptr_t(s);
    m_nConnectState = 2;
    return;
  }
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return fail(::WSAGetLastError());
  sockaddr_in any = {};
  any.sin_family = AF_INET;
  if (::bind(s, reinterpret_cast<sockaddr*>(&any), sizeof any) == SOCKET_ERROR) {
    int e = ::WSAGetLastError();
    ::closesocket(s);
    return fail(e);
  }
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(u_short(m_nConnectPort));
  if (!ResolveIPv4(m_strConnectHost, &to.sin_addr)) {
    int e = ::WSAGetLastError();
    ::closesocket(s);
    return fail(e ? e : WSAHOST_NOT_FOUND);
  }
  // Non-blocking connect, so that a give-up on the UI thread ends this thread promptly.
  u_long nb = 1;
  ::ioctlsocket(s, FIONBIO, &nb);
  int err = 0;
  if (::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR) {
    err = ::WSAGetLastError();
    if (err == WSAEWOULDBLOCK || err == WSAEINPROGRESS) {
      err = WSAETIMEDOUT;
      while (!m_bCancelConnect) {
        fd_set w, x;
        FD_ZERO(&w);
        FD_ZERO(&x);
        FD_SET(s, &w);
        FD_SET(s, &x);
        timeval tv = {0, 50000};
        int r = ::select(0, nullptr, &w, &x, &tv);
        if (r == SOCKET_ERROR) {
          err = ::WSAGetLastError();
          break;
        }
        if (r == 0) continue;
        int soErr = 0, len = sizeof soErr;
        ::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soErr), &len);
        err = FD_ISSET(s, &w) && soErr == 0 ? 0 : (soErr ? soErr : WSAECONNREFUSED);
        break;
      }
      if (m_bCancelConnect) err = netcore::NETERR_CANCELLED;
    }
  }
  if (err != 0) {
    ::closesocket(s);
    return fail(netcore::ConnectFailureCode(m_bViaProxy, err));
  }
  m_hConnected = uintptr_t(s);
  m_nConnectState = 2;
}

BOOL CGameSocket::Connect(LPCSTR lpszHost, UINT nPort, BOOL bInteractive) {
  if (m_bConnecting || !lpszHost) return FALSE;
  Close();
  m_bConnecting = TRUE;
  m_nCloseReason = 0;
  m_nStateEnded = 0;
  ReadProxySettings();
  int remapped = MapP80Port(nPort);

  tunnel::TunnelConfig tcfg;
  bool configured = m_pTunnel->IsConfigured(&tcfg);
  m_bTunnelMode = configured && tcfg.tunnel && m_bTunnelAllowed;
  if (configured && tcfg.tunnel && !m_bTunnelAllowed) m_bViaProxy = FALSE;
  if (m_bViaProxy && m_proxy.kind == netcore::PROXY_KIND_HTTP && !m_bTunnelMode) m_bViaProxy = FALSE;

  UINT target = remapped > 0 ? UINT(remapped) : nPort;
  BOOL savedInteractive = IsInteractive();
  auto finish = [&](BOOL ok) {
    SetInteractive(savedInteractive);
    m_bConnecting = FALSE;
    return ok;
  };
  if (m_bTunnelMode) {
    memset(&m_tunnelTarget, 0, sizeof m_tunnelTarget);
    m_tunnelTarget.sin_family = AF_INET;
    m_tunnelTarget.sin_port = htons(u_short(target));
    if (!ResolveIPv4(lpszHost, &m_tunnelTarget.sin_addr)) {
      SetInteractive(bInteractive);
      OnClose(WSAHOST_NOT_FOUND);
      return finish(FALSE);
    }
  } else if (m_bViaProxy) {
    m_strConnectHost = m_proxy.host;
    m_nConnectPort = m_proxy.port;
  } else {
    m_strConnectHost = lpszHost;
    m_nConnectPort = target;
  }

  SetInteractive(bInteractive);
  m_bCancelConnect = false;
  m_nConnectError = 0;
  m_hConnected = uintptr_t(INVALID_SOCKET);
  m_nConnectState = 1;
  try {
    m_connectThread = std::thread([this] { ConnectThreadProc(); });
  } catch (...) {
    m_nConnectState = 0;
    OnClose(int(::GetLastError()));
    return finish(FALSE);
  }
  DWORD start = ::GetTickCount();
  while (m_nConnectState == 1) {
    if (!WaitReply(&start, m_bPumpWhileConnecting)) {
      int err = GetLastErrorCode();
      EndConnectWorker();
      OnClose(err);
      return finish(FALSE);
    }
  }
  m_connectThread.join();
  if (m_nConnectState != 2) {
    OnClose(m_nConnectError);
    return finish(FALSE);
  }
  SOCKET s = SOCKET(m_hConnected.exchange(uintptr_t(INVALID_SOCKET)));
  if (s_wHighVersion >= 0x0200) {
    linger lg = {1, 5};
    ::setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&lg), sizeof lg);
  }
  m_bTunnelInUse = m_bTunnelMode;
  if (!Attach(s)) {
    int e = ::WSAGetLastError();
    if (m_bTunnelInUse) {
      m_pTunnel->Close();
      m_bTunnelInUse = FALSE;
    } else {
      ::closesocket(s);
    }
    OnClose(e);
    return finish(FALSE);
  }
  if (!m_bTunnelMode && m_bViaProxy) {
    BOOL ok = TRUE;
    if (m_proxy.kind == netcore::PROXY_KIND_SOCKS4)
      ok = Socks4Connect(lpszHost, nPort);
    else if (m_proxy.kind == netcore::PROXY_KIND_SOCKS5)
      ok = Socks5Connect(lpszHost, nPort);
    if (!ok) {
      OnClose(netcore::HandshakeFailureCode(IsAborted(), GetLastErrorCode()));
      return finish(FALSE);
    }
  }
  if (remapped > 0) {
    std::vector<uint8_t> f = netcore::BuildP80Header(nPort, m_dwRemappedExtra);
    SendMsg(f.data());
  }
  return finish(TRUE);
}

BOOL CGameSocket::RunHandshake(netcore::CProxyHandshake& hs) {
  struct Flag {
    BOOL& f;
    explicit Flag(BOOL& b) : f(b) { f = TRUE; }
    ~Flag() { f = FALSE; }
  } flag(m_bHandshaking);
  for (;;) {
    std::vector<uint8_t> out = hs.TakeOutput();
    if (!out.empty() && !m_session.SendAll(out.data(), out.size())) return FALSE;
    if (hs.GetStatus() != netcore::CProxyHandshake::kNeedMore) return hs.GetStatus() == netcore::CProxyHandshake::kDone;
    size_t want = hs.Wanted();
    std::vector<uint8_t> in(want);
    if (want == 0 || !m_session.ReceiveExact(in.data(), want)) return FALSE;
    hs.Feed(in.data(), want);
  }
}

BOOL CGameSocket::Socks4Connect(LPCSTR lpszHost, UINT nPort) {
  char user[257] = "";
  DWORD size = sizeof user;
  if (!::GetUserNameA(user, &size)) user[0] = 0;
  user[sizeof user - 1] = 0;
  int remapped = MapP80Port(nPort);
  netcore::CSocks4Handshake hs(lpszHost, uint16_t(remapped > 0 ? remapped : nPort), user);
  return RunHandshake(hs);
}

BOOL CGameSocket::Socks5Connect(LPCSTR lpszHost, UINT nPort) {
  int remapped = MapP80Port(nPort);
  netcore::CSocks5Handshake hs(lpszHost, uint16_t(remapped > 0 ? remapped : nPort), m_proxy.user, m_proxy.password);
  return RunHandshake(hs);
}
