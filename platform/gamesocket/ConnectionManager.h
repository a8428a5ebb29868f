// The connection manager: for every connect, directly or through the platform's interconnect
// proxy (a SOCKS5 relay with user and password), with the fallbacks between them and the
// connection log VodoVozev.log. The choice itself is connmgr::ChooseConnectPath.
#pragma once
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "ConnectionPlan.h"
#include "GameSocket.h"

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

  // The speed test: a worker that probes the game server directly and through the proxy;
  // nothing in the client starts it. Stopping signals its event and joins it.
  BOOL StartSpeedTest(LPCSTR lpszHost, UINT nPort);
  void StopSpeedTest();
  // One probe: two timed requests 272 and their replies; the result or -1.
  long ProbeSpeed(bool viaInterconnect, HANDLE hStop);

  BOOL IsViaInterconnect() const { return m_bViaInterconnect; }
  const std::string& BasePath() const { return m_strBasePath; }
  const std::string& InterconnectHost() const { return m_strProxyHost; }
  UINT InterconnectPort() const { return m_nProxyPort; }
  BOOL IsLogOpen() const { return m_pLog != nullptr; }

 private:
  class Host;
  friend class Host;
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
  std::vector<connmgr::SpeedRecord> m_directSpeeds, m_proxySpeeds;
  int m_nMaxSpeedRecords = 0;  // never set in this client: nothing is stored
  FILE* m_pLog = nullptr;
  std::thread m_speedThread;
  HANDLE m_hSpeedStop = nullptr;
  volatile int m_nSpeedCancel = 0;
  BOOL m_bScramble = TRUE;
  BOOL m_bCancelled = FALSE;
};
