// The connection manager: for every connect, directly or through the platform's interconnect
// proxy (a SOCKS5 relay with user and password), with the fallbacks between them and the
// connection log VodoVozev.log. The choice itself is connmgr::ChooseConnectPath.
#pragma once
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ConnectionPlan.h"
#include "GameSocket.h"
#include "SpeedTestWnd.h"

class CConnectionManager : public CGameSocket {
 public:
  CConnectionManager();
  ~CConnectionManager() override;

  // Reads the settings again (base path, proxy port, switches, credentials, log).
  void Init();
  BOOL Connect(LPCSTR lpszHost, UINT nPort, BOOL bInteractive) override;
  void Close() override;
  void OnClose(int nErrorCode) override;

  BOOL ConnectDirect(LPCSTR lpszHost, UINT nPort, BOOL bInteractive);
  BOOL ConnectViaProxy(LPCSTR lpszHost, UINT nPort, BOOL bInteractive, BOOL bP80);
  void WriteLog(const char* fmt, ...);
  // Section and key names of VodoVozev.dat as stored (scrambled unless switched off).
  std::string ScrambleValue(const std::string& name) const { return connmgr::ScrambleName(name, m_bScramble); }

  // The speed test: the speed-test window on a worker of its own probes the game server
  // directly or through the interconnect proxy for each speed-test message it is sent;
  // nothing in the client starts it. The target and the proxy settings are taken as they
  // stand at the start.
  BOOL StartSpeedTest(LPCSTR lpszHost, UINT nPort);
  connmgr::SpeedStopOutcome StopSpeedTest();
  HWND GetSpeedTestWnd() const { return m_speedWnd.GetSafeHwnd(); }
  // One probe on the calling thread: two timed requests 272 and their replies; the result
  // (also logged and kept in its table), or -1.
  long ProbeSpeed(bool viaInterconnect, uint32_t value);
  // The tables keep nothing until a maximum is set; the client never sets one.
  void SetMaxSpeedRecords(int nMax);
  std::vector<connmgr::SpeedRecord> SpeedTable(bool viaInterconnect) const;

  BOOL IsViaInterconnect() const { return m_bViaInterconnect; }
  const std::string& BasePath() const { return m_strBasePath; }
  const std::string& InterconnectHost() const { return m_strProxyHost; }
  UINT InterconnectPort() const { return m_nProxyPort; }
  BOOL IsLogOpen() const { return m_pLog != nullptr; }

 private:
  class Host;
  friend class Host;
  class SpeedProber;
  // Where the speed test goes, fixed when it starts.
  struct SpeedTarget {
    std::string gameHost, proxyHost, user, password;
    UINT gamePort = 0, proxyPort = 0;
  };
  BOOL ConnectProbe(CGameSocket& probe, bool viaInterconnect);
  std::string LangRscPath() const { return m_strBasePath + "langrsc.ini"; }
  std::string DatPath() const { return m_strBasePath + "VodoVozev.dat"; }
  std::string IniString(const std::string& file, const char* section, const char* key, size_t cap) const;
  void ClearSpeedTables();

  std::string m_strBasePath;
  BOOL m_bUse80PortSvr = FALSE;
  BOOL m_bOtherProxy = FALSE;
  std::string m_strGameHost;
  UINT m_nGamePort = 0;
  std::string m_strProxyHost;
  UINT m_nProxyPort = 80;
  BOOL m_bViaInterconnect = FALSE;
  std::string m_strWellUser, m_strWellPwd;
  mutable std::mutex m_speedLock;  // the tables: the worker adds, the owner reads and clears
  std::vector<connmgr::SpeedRecord> m_directSpeeds, m_proxySpeeds;
  int m_nMaxSpeedRecords = 0;  // never set in this client: nothing is stored
  FILE* m_pLog = nullptr;
  SpeedTarget m_speedTarget;
  std::unique_ptr<SpeedProber> m_pSpeedProber;
  CSpeedTestWnd m_speedWnd;
  BOOL m_bScramble = TRUE;
  BOOL m_bCancelled = FALSE;
};
