#include "ConnectionManager.h"

#include <cstdarg>
#include <cstring>
#include <ctime>

#include "ConnLogTexts.h"
#include "SpeedTest.h"

namespace {
const char kShareKey[] = "Software\\Orvane\\Game\\Share";
const char kProxyKey[] = "Software\\Orvane\\Game\\Share\\Proxy";

bool RegDword(const char* keyName, const char* value, DWORD* out) {
  HKEY key;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = sizeof *out;
  bool ok = ::RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(out), &size) == ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof *out;
  ::RegCloseKey(key);
  return ok;
}

std::string RegPath(const char* keyName, const char* value) {
  HKEY key;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::string();
  std::vector<char> buf(MAX_PATH + 1, 0);
  DWORD type = 0, size = MAX_PATH;
  LONG r = ::RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size);
  ::RegCloseKey(key);
  if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::string();
  return netcore::RegStringFromBuffer(buf.data(), MAX_PATH, size);
}
}  // namespace

// The path choice's view of this object.
class CConnectionManager::Host : public connmgr::ConnectHost {
 public:
  explicit Host(CConnectionManager& m) : m_m(m) {}
  void Log(const std::string& line) override { m_m.WriteLog("%s", line.c_str()); }
  bool OtherProxy() override { return m_m.m_bOtherProxy != FALSE; }
  bool Use80PortSvr() override { return m_m.m_bUse80PortSvr != FALSE; }
  std::optional<std::string> FirewallProxyHost() override {
    std::string v = m_m.IniString(m_m.LangRscPath(), "VodoVozev", "80PortIP", 40);
    if (v.empty()) return std::nullopt;
    return v;
  }
  int UseInterconnect() override {
    std::string dat = m_m.DatPath();
    std::string section = m_m.ScrambleValue("Setting"), key = m_m.ScrambleValue("UseZuzeZed");
    char value[16] = "";
    ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, dat.c_str());
    if (!value[0]) {
      ::WritePrivateProfileStringA(section.c_str(), key.c_str(), "1", dat.c_str());
      return 1;
    }
    return atoi(value);
  }
  std::optional<std::string> InterconnectHostForPort(int port) override {
    std::string file = m_m.LangRscPath();
    return connmgr::FindInterconnectHost(
        [&](const std::string& key) -> std::optional<std::string> {
          char value[512];
          DWORD n = ::GetPrivateProfileStringA("VodoVozev", key.c_str(), "\x01", value, sizeof value, file.c_str());
          if (n == 1 && value[0] == '\x01') return std::nullopt;
          return std::string(value, n);
        },
        port);
  }
  bool ServerMarkedForInterconnect(const std::string& host, int port) override {
    std::string section = m_m.ScrambleValue(std::to_string(port)), key = m_m.ScrambleValue(host);
    if (section.empty() || key.empty()) return false;
    char value[11] = "";
    ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, m_m.DatPath().c_str());
    return value[0] != 0;
  }
  bool ConnectDirect(const std::string& host, int port, bool interactive) override {
    return m_m.ConnectDirect(host.c_str(), UINT(port), interactive) != FALSE;
  }
  bool ConnectViaProxy(const std::string& host, int port, bool interactive, bool p80) override {
    return m_m.ConnectViaProxy(host.c_str(), UINT(port), interactive, p80) != FALSE;
  }
  bool Cancelled() override { return m_m.m_bCancelled || m_m.IsAborted(); }
  void ClearOutsideCancel() override {
    if (volatile int* f = m_m.GetCancelFlag()) *f = 0;
  }
  void SetInterconnectHost(const std::string& host) override { m_m.m_strProxyHost = host.substr(0, 39); }

 private:
  CConnectionManager& m_m;
};

// The speed-test window's view of this object.
class CConnectionManager::SpeedProber : public CSpeedTestWnd::Prober {
 public:
  explicit SpeedProber(CConnectionManager& m) : m_m(m) {}
  long ProbeSpeed(bool viaInterconnect, uint32_t value) override { return m_m.ProbeSpeed(viaInterconnect, value); }
  void LogLine(const char* line) override { m_m.WriteLog("%s", line); }

 private:
  CConnectionManager& m_m;
};

CConnectionManager::CConnectionManager() : m_pSpeedProber(new SpeedProber(*this)) { Init(); }

CConnectionManager::~CConnectionManager() {
  StopSpeedTest();
  ClearSpeedTables();
  if (m_pLog) fclose(m_pLog);
}

std::string CConnectionManager::IniString(const std::string& file, const char* section, const char* key,
                                          size_t cap) const {
  std::vector<char> buf(cap, 0);
  DWORD n = ::GetPrivateProfileStringA(section, key, "", buf.data(), DWORD(cap), file.c_str());
  return std::string(buf.data(), n < cap ? n : cap - 1);
}

void CConnectionManager::Init() {
  m_strBasePath = RegPath(kShareKey, "Path");
  if (!m_strBasePath.empty() && m_strBasePath.back() != '\\') m_strBasePath += '\\';
  m_nProxyPort = ::GetPrivateProfileIntA("VodoVozev", "Port", 80, LangRscPath().c_str());
  DWORD v = 0;
  m_bUse80PortSvr = RegDword(kShareKey, "Use80PortSvr", &v) && v != 0;
  v = 0;
  m_bOtherProxy = RegDword(kProxyKey, "ProxyEnable", &v) && v != 0;
  m_strWellUser = IniString(LangRscPath(), "VodoVozev", "WellUser", 64);
  m_strWellPwd = IniString(LangRscPath(), "VodoVozev", "WellPwd", 64);
  std::string dat = DatPath();
  char enc[16] = "";
  ::GetPrivateProfileStringA("Debug", "Encrypt", "", enc, sizeof enc, dat.c_str());
  m_bScramble = !enc[0] || atoi(enc) != 0;
  if (m_pLog) {
    fclose(m_pLog);
    m_pLog = nullptr;
  }
  if (!m_strBasePath.empty() && int(::GetPrivateProfileIntA("Debug", "log", 0, dat.c_str())) > 0) {
    m_pLog = fopen((m_strBasePath + "VodoVozev.log").c_str(), "at+");
    if (m_pLog) {
      fprintf(m_pLog, "%s\n", std::string(85, '-').c_str());
      fflush(m_pLog);
    }
  }
  ClearSpeedTables();
  SetTunnelAllowed(TRUE);
}

void CConnectionManager::WriteLog(const char* fmt, ...) {
  if (!m_pLog) return;
  char msg[1024];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(msg, sizeof msg, fmt, ap);
  va_end(ap);
  char when[32];
  time_t now = time(nullptr);
  struct tm* lt = localtime(&now);
  if (!lt || !strftime(when, sizeof when, "%y/%m/%d %H:%M:%S", lt)) when[0] = 0;
  std::string line = connmgr::FormatLogLine(when, int(::GetCurrentProcessId()), msg);
  fputs(line.c_str(), m_pLog);
  fflush(m_pLog);
}

BOOL CConnectionManager::Connect(LPCSTR lpszHost, UINT nPort, BOOL bInteractive) {
  if (!lpszHost) return FALSE;
  Host host(*this);
  return connmgr::ChooseConnectPath(host, lpszHost, int(nPort), bInteractive != FALSE);
}

BOOL CConnectionManager::ConnectDirect(LPCSTR lpszHost, UINT nPort, BOOL bInteractive) {
  m_strGameHost = std::string(lpszHost).substr(0, 39);
  m_nGamePort = nPort;
  m_bViaInterconnect = FALSE;
  WriteLog(connmgr::kLogDirectMode, m_strGameHost.c_str(), int(nPort));
  BOOL ok = CGameSocket::Connect(lpszHost, nPort, bInteractive);
  WriteLog(ok ? connmgr::kLogDirectOk : connmgr::kLogDirectFail, m_strGameHost.c_str(), int(nPort));
  return ok;
}

BOOL CConnectionManager::ConnectViaProxy(LPCSTR lpszHost, UINT nPort, BOOL bInteractive, BOOL bP80) {
  m_strGameHost = std::string(lpszHost).substr(0, 39);
  m_nGamePort = nPort;
  WriteLog(connmgr::kLogProxyPrepare, m_strProxyHost.c_str(), int(m_nProxyPort));
  SetRemappedPort(-1, 0);
  BOOL savedInteractive = IsInteractive();
  int savedTimeout = SetReplyTimeout(10);
  auto restore = [&] {
    SetInteractive(savedInteractive);
    SetReplyTimeout(savedTimeout);
  };
  SetInteractive(FALSE);
  if (CGameSocket::Connect(m_strProxyHost.c_str(), m_nProxyPort, FALSE)) {
    WriteLog(connmgr::kLogProxyConnected, m_strProxyHost.c_str(), int(m_nProxyPort));
    SetRemappedPort(0, 0);  // the target port is looked up for the game port itself
    int mapped = MapP80Port(nPort);
    SetRemappedPort(-1, 0);
    UINT target = mapped > 0 ? UINT(mapped) : nPort;
    SetInteractive(FALSE);
    netcore::CSocks5Handshake hs(m_strGameHost, uint16_t(target), m_strWellUser, m_strWellPwd);
    if (RunHandshake(hs)) {
      WriteLog(connmgr::kLogSocks5Sent, m_strProxyHost.c_str(), int(m_nProxyPort));
      restore();
      if (bP80 && mapped > 0) {
        std::vector<uint8_t> f = netcore::BuildP80Header(nPort, 0);
        SendMsg(f.data());
        WriteLog(connmgr::kLogP80Header, int(nPort));
      }
      m_bViaInterconnect = TRUE;
      WriteLog(connmgr::kLogViaProxy, m_strGameHost.c_str(), int(nPort), m_strProxyHost.c_str(), int(m_nProxyPort));
      return TRUE;
    }
    BOOL aborted = IsAborted();
    Close();
    if (aborted) {
      WriteLog(connmgr::kLogSocks5Cancelled, m_strProxyHost.c_str(), int(m_nProxyPort));
      restore();
      return FALSE;
    }
    WriteLog(connmgr::kLogSocks5FailDirect, m_strProxyHost.c_str(), int(m_nProxyPort));
  } else {
    if (m_bCancelled || IsAborted()) {
      WriteLog(connmgr::kLogProxyCancelled, m_strProxyHost.c_str(), int(m_nProxyPort));
      restore();
      return FALSE;
    }
    WriteLog(connmgr::kLogProxyFailDirect, m_strProxyHost.c_str(), int(m_nProxyPort));
  }
  if (volatile int* f = GetCancelFlag()) *f = 0;
  SetRemappedPort(0, 0);
  restore();
  return ConnectDirect(lpszHost, nPort, bInteractive);
}

void CConnectionManager::Close() {
  StopSpeedTest();
  ClearSpeedTables();
  m_bCancelled = IsAborted();
  CGameSocket::Close();
}

void CConnectionManager::OnClose(int nErrorCode) {
  StopSpeedTest();
  ClearSpeedTables();
  CGameSocket::OnClose(nErrorCode);
  WriteLog("%s", connmgr::kLogOnClose);
}

void CConnectionManager::ClearSpeedTables() {
  std::lock_guard<std::mutex> lock(m_speedLock);
  m_directSpeeds.clear();
  m_proxySpeeds.clear();
}

void CConnectionManager::SetMaxSpeedRecords(int nMax) {
  std::lock_guard<std::mutex> lock(m_speedLock);
  m_nMaxSpeedRecords = nMax;
}

std::vector<connmgr::SpeedRecord> CConnectionManager::SpeedTable(bool viaInterconnect) const {
  std::lock_guard<std::mutex> lock(m_speedLock);
  return viaInterconnect ? m_proxySpeeds : m_directSpeeds;
}

BOOL CConnectionManager::StartSpeedTest(LPCSTR lpszHost, UINT nPort) {
  if (m_speedWnd.IsRunning() || !lpszHost) return FALSE;
  m_speedTarget.gameHost = std::string(lpszHost).substr(0, 39);
  m_speedTarget.gamePort = nPort;
  m_speedTarget.proxyHost = m_strProxyHost;
  m_speedTarget.proxyPort = m_nProxyPort;
  m_speedTarget.user = m_strWellUser;
  m_speedTarget.password = m_strWellPwd;
  return m_speedWnd.Start(m_pSpeedProber.get());
}

connmgr::SpeedStopOutcome CConnectionManager::StopSpeedTest() { return m_speedWnd.Stop(); }

BOOL CConnectionManager::ConnectProbe(CGameSocket& probe, bool viaInterconnect) {
  const SpeedTarget& t = m_speedTarget;
  if (!viaInterconnect) return probe.Connect(t.gameHost.c_str(), t.gamePort, FALSE);
  probe.SetRemappedPort(-1, 0);
  if (!probe.Connect(t.proxyHost.c_str(), t.proxyPort, FALSE)) return FALSE;
  // The target port is looked up for the game port itself, as for the game's own connect.
  probe.SetRemappedPort(0, 0);
  int mapped = probe.MapP80Port(t.gamePort);
  probe.SetRemappedPort(-1, 0);
  UINT target = mapped > 0 ? UINT(mapped) : t.gamePort;
  netcore::CSocks5Handshake hs(t.gameHost, uint16_t(target), t.user, t.password);
  if (!probe.RunHandshake(hs)) return FALSE;
  if (mapped > 0) {
    std::vector<uint8_t> f = netcore::BuildP80Header(t.gamePort, 0);
    probe.SendMsg(f.data());
  }
  return TRUE;
}

long CConnectionManager::ProbeSpeed(bool viaInterconnect, uint32_t value) {
  // A socket of this thread's own, not interactive, with the probe's own short time-out;
  // a stop of the speed test ends its waits at once.
  CGameSocket probe;
  probe.SetCancelFlag(m_speedWnd.CancelFlag());
  probe.SetInteractive(FALSE);
  probe.SetReplyTimeout(10);
  const char* host = m_speedTarget.gameHost.c_str();
  int port = int(m_speedTarget.gamePort);
  if (!ConnectProbe(probe, viaInterconnect)) {
    WriteLog(viaInterconnect ? connmgr::kLogSpeedViaFail : connmgr::kLogSpeedDirectFail, host, port);
    return -1;
  }
  std::optional<uint32_t> echoed;
  for (int i = 0; i < 2; ++i) {
    auto body = connmgr::EncodeSpeedProbe(value, ::GetTickCount());
    BYTE* reply = nullptr;
    bool sent = !*m_speedWnd.CancelFlag() &&
                probe.SendMsg(connmgr::kSpeedProbeId, body.data(), body.size(), &reply, connmgr::kSpeedProbeId) &&
                reply;
    if (sent && i == 1) {
      // Our own assembler built the frame: header plus the length its header gives.
      netcore::NET_MSG_HEADER h;
      size_t n = netcore::DecodeHeader(reply, netcore::NET_SHORT_HEADER, &h)
                     ? netcore::HeaderSizeForId(h.id) + size_t(h.length)
                     : 0;
      echoed = connmgr::DecodeSpeedEcho(reply, n);
      sent = echoed.has_value();
    }
    if (reply) CGameSocket::FreeFrame(reply);
    if (!sent) {
      const char* text = viaInterconnect ? (i == 0 ? connmgr::kLogSpeedViaFirst : connmgr::kLogSpeedViaSecond)
                                         : (i == 0 ? connmgr::kLogSpeedDirectFirst : connmgr::kLogSpeedDirectSecond);
      WriteLog(text, host, port);
      return -1;
    }
  }
  int32_t v = connmgr::SpeedResult(::GetTickCount(), *echoed);
  WriteLog(viaInterconnect ? connmgr::kLogSpeedViaOk : connmgr::kLogSpeedDirectOk, int(v));
  std::lock_guard<std::mutex> lock(m_speedLock);
  connmgr::AddSpeedRecord(viaInterconnect ? m_proxySpeeds : m_directSpeeds, m_nMaxSpeedRecords, v);
  return v;
}
