// The connection manager under Wine: the interconnect proxy (SOCKS5 with user and password),
// its fallbacks and the connection log, against the native peers.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ConnLogTexts.h"
#include "ConnectionManager.h"
#include "PeerPorts.h"
#include "SpeedTest.h"
#include "SpeedTestWnd.h"

namespace {

const char kShareKey[] = "Software\\Orvane\\Game\\Share";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class ConnectionManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, cwd);
    m_base = std::string(cwd) + "\\connmgr_share\\";
    ::CreateDirectoryA(m_base.c_str(), nullptr);
    ::DeleteFileA((m_base + "langrsc.ini").c_str());
    ::DeleteFileA((m_base + "VodoVozev.dat").c_str());
    ::DeleteFileA((m_base + "VodoVozev.log").c_str());
    HKEY key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kShareKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    char old[MAX_PATH] = "";
    DWORD size = sizeof old - 1, type = 0;
    m_hadPath = ::RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    m_oldPath = old;
    ::RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_base.c_str()), DWORD(m_base.size() + 1));
    ::RegCloseKey(key);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Orvane\\Game\\Share\\Proxy");
    Ini("Debug", "log", "1", "VodoVozev.dat");
  }
  void TearDown() override {
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kShareKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
      if (m_hadPath)
        ::RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_oldPath.c_str()),
                         DWORD(m_oldPath.size() + 1));
      else
        ::RegDeleteValueA(key, "Path");
      ::RegCloseKey(key);
    }
  }
  void Ini(const char* section, const char* key, const std::string& value, const char* file = "langrsc.ini") {
    ASSERT_TRUE(::WritePrivateProfileStringA(section, key, value.c_str(), (m_base + file).c_str()));
  }
  void Interconnect(int proxyPort) {
    Ini("VodoVozev", "Port", std::to_string(proxyPort));
    Ini("VodoVozev", "WellUser", "player");
    Ini("VodoVozev", "WellPwd", "secret9");
    Ini("VodoVozev", "1", "10.9.9.9;1;2");
    Ini("VodoVozev", "2", "127.0.0.1;5;" + std::to_string(PeerPort("table")));
  }
  std::string Log() { return ReadFile(m_base + "VodoVozev.log"); }
  static bool Has(const std::string& log, const std::string& text) { return log.find(text) != std::string::npos; }
  static std::string Fmt(const char* fmt, const char* s, int n) {
    char buf[512];
    snprintf(buf, sizeof buf, fmt, s, n);
    return buf;
  }

  std::string m_base, m_oldPath;
  bool m_hadPath = false;
};

void Echo(CGameSocket& s, uint32_t id, const std::string& text) {
  BYTE* reply = nullptr;
  ASSERT_EQ(s.SendMsg(id, text.data(), text.size(), &reply), 1) << s.GetLastErrorCode();
  ASSERT_NE(reply, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(reply) + 12, netcore::ReadU32(reply + 4)), text);
  CGameSocket::FreeFrame(reply);
}

TEST_F(ConnectionManagerTest, MarkedServerGoesThroughTheInterconnectProxy) {
  NEED_PEERS();
  Interconnect(PeerPort("socksauth"));
  int port = PeerPort("table");
  // The server is marked in VodoVozev.dat under its scrambled port and host names.
  Ini(connmgr::ScrambleName(std::to_string(port), true).c_str(), connmgr::ScrambleName("127.0.0.1", true).c_str(), "1",
      "VodoVozev.dat");
  CConnectionManager m;
  EXPECT_TRUE(m.IsLogOpen());
  ASSERT_TRUE(m.Connect("127.0.0.1", port, TRUE)) << m.GetLastErrorCode();
  EXPECT_TRUE(m.IsViaInterconnect());
  EXPECT_TRUE(m.IsInteractive());  // restored after the quiet proxy attempt
  Echo(m, 800, "through the interconnect");
  std::string log = Log();
  EXPECT_EQ(log.substr(0, 87), std::string(85, '-') + "\r\n");  // a text-mode file
  EXPECT_TRUE(Has(log, Fmt(connmgr::kLogClientConnect, "127.0.0.1", port)));
  EXPECT_TRUE(Has(log, connmgr::kLogGameConfigured));
  EXPECT_TRUE(Has(log, connmgr::kLogServerUsesProxy));
  EXPECT_TRUE(Has(log, Fmt(connmgr::kLogSocks5Sent, "127.0.0.1", PeerPort("socksauth"))));
  // Lines are "yy/mm/dd hh:mm:ss pid message".
  char pid[16];
  snprintf(pid, sizeof pid, " %5d ", int(::GetCurrentProcessId()));
  EXPECT_TRUE(Has(log, pid));
  // UseZuzeZed was missing: written as "1" under its scrambled names.
  std::string dat = ReadFile(m_base + "VodoVozev.dat");
  EXPECT_TRUE(Has(dat, "[" + connmgr::ScrambleName("Setting", true) + "]"));
  EXPECT_TRUE(Has(dat, connmgr::ScrambleName("UseZuzeZed", true) + "=1"));
}

TEST_F(ConnectionManagerTest, UnmarkedServerIsTriedDirectlyFirst) {
  NEED_PEERS();
  Interconnect(PeerPort("socksauth"));
  CConnectionManager m;
  ASSERT_TRUE(m.Connect("127.0.0.1", PeerPort("table"), TRUE));
  EXPECT_FALSE(m.IsViaInterconnect());
  Echo(m, 801, "direct");
  std::string log = Log();
  EXPECT_TRUE(Has(log, Fmt(connmgr::kLogServerNotSupported, "127.0.0.1", PeerPort("table"))));
  EXPECT_TRUE(Has(log, Fmt(connmgr::kLogDirectOk, "127.0.0.1", PeerPort("table"))));
}

TEST_F(ConnectionManagerTest, FailedProxyFallsBackToDirect) {
  NEED_PEERS();
  for (const char* peer : {"", "socksbad"}) {  // nothing listening; a broken handshake
    Interconnect(*peer ? PeerPort(peer) : DeadPort());
    int port = PeerPort("table");
    Ini(connmgr::ScrambleName(std::to_string(port), true).c_str(), connmgr::ScrambleName("127.0.0.1", true).c_str(),
        "1", "VodoVozev.dat");
    CConnectionManager m;
    ASSERT_TRUE(m.Connect("127.0.0.1", port, TRUE)) << peer;
    EXPECT_FALSE(m.IsViaInterconnect());
    Echo(m, 802, "fallback");
    std::string log = Log();
    const char* text = *peer ? connmgr::kLogSocks5FailDirect : connmgr::kLogProxyFailDirect;
    EXPECT_TRUE(Has(log, Fmt(text, "127.0.0.1", *peer ? PeerPort(peer) : 0).substr(0, 20))) << peer;
    EXPECT_TRUE(Has(log, Fmt(connmgr::kLogDirectOk, "127.0.0.1", port)));
  }
}

TEST_F(ConnectionManagerTest, ManualSwitchAndOtherProxyMeanDirect) {
  NEED_PEERS();
  Interconnect(PeerPort("socksauth"));
  Ini(connmgr::ScrambleName("Setting", true).c_str(), connmgr::ScrambleName("UseZuzeZed", true).c_str(), "0",
      "VodoVozev.dat");
  {
    CConnectionManager m;
    ASSERT_TRUE(m.Connect("127.0.0.1", PeerPort("table"), TRUE));
    EXPECT_TRUE(Has(Log(), connmgr::kLogManualOff));
  }
  HKEY key;
  ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Game\\Share\\Proxy", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
  DWORD one = 1;
  ::RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
  ::RegCloseKey(key);
  {
    CConnectionManager m;
    ASSERT_TRUE(m.Connect("127.0.0.1", PeerPort("table"), TRUE));
    EXPECT_TRUE(Has(Log(), connmgr::kLogOtherProxy));
  }
  ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Orvane\\Game\\Share\\Proxy");
}

// The speed-test message to the window, as a caller on another thread sends it.
int32_t SendProbe(HWND w, uint32_t value, connmgr::SpeedProbePath path) {
  connmgr::SpeedProbeRecord rec;
  rec.value = value;
  LRESULT r = ::SendMessageA(w, connmgr::kSpeedTestMessage, reinterpret_cast<WPARAM>(&rec), path);
  EXPECT_EQ(r, LRESULT(rec.result));
  return rec.result;
}

std::string ReadPeerLog(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& ch : p)
    if (ch == '/') ch = '\\';
  return ReadFile(p);
}

std::string Hex32(uint32_t v) {  // as the table server logs a little-endian word
  char buf[16];
  snprintf(buf, sizeof buf, "%02x%02x%02x%02x", v & 255, (v >> 8) & 255, (v >> 16) & 255, v >> 24);
  return buf;
}

// Each probe: two requests 272 {value, tick} to the game table, directly or through the
// interconnect proxy with its credentials; the result is logged and, once a maximum is set,
// kept in the path's table.
TEST_F(ConnectionManagerTest, SpeedTestWindowProbesBothPaths) {
  NEED_PEERS();
  int port = PeerPort("speed");
  Interconnect(PeerPort("socksauth"));
  Ini("VodoVozev", "2", "127.0.0.1;5;" + std::to_string(port));
  CConnectionManager m;
  ASSERT_TRUE(m.Connect("127.0.0.1", port, TRUE));  // tried directly; the proxy is now known
  EXPECT_FALSE(m.IsViaInterconnect());
  ASSERT_TRUE(m.StartSpeedTest("127.0.0.1", port));
  EXPECT_FALSE(m.StartSpeedTest("127.0.0.1", port));  // one worker at a time
  HWND w = m.GetSpeedTestWnd();
  ASSERT_TRUE(::IsWindow(w));
  EXPECT_NE(::GetWindowThreadProcessId(w, nullptr), ::GetCurrentThreadId());

  // As the client leaves it: no maximum, nothing kept.
  int32_t first = SendProbe(w, 0x11223344u, connmgr::kSpeedDirect);
  EXPECT_GE(first, connmgr::kSpeedMin);
  EXPECT_LE(first, connmgr::kSpeedMax);
  EXPECT_TRUE(m.SpeedTable(false).empty());

  m.SetMaxSpeedRecords(2);
  std::string log;
  for (auto path : {connmgr::kSpeedDirect, connmgr::kSpeedInterconnect}) {
    bool via = path == connmgr::kSpeedInterconnect;
    std::vector<int32_t> results;
    for (uint32_t i = 0; i < 3; ++i) {
      results.push_back(SendProbe(w, (via ? 0xE1E1E100u : 0xD1D1D100u) + i, path));
      ASSERT_GE(results.back(), connmgr::kSpeedMin) << via;
      ASSERT_LE(results.back(), connmgr::kSpeedMax) << via;
    }
    // The third record took the place of the first (the smallest sequence).
    auto table = m.SpeedTable(via);
    ASSERT_EQ(table.size(), 2u) << via;
    EXPECT_EQ(table[0].sequence, 2u);
    EXPECT_EQ(table[0].value, uint32_t(results[2]));
    EXPECT_EQ(table[1].sequence, 1u);
    EXPECT_EQ(table[1].value, uint32_t(results[1]));
    log = Log();
    char line[128];
    for (int32_t r : results) {
      snprintf(line, sizeof line, via ? connmgr::kLogSpeedViaOk : connmgr::kLogSpeedDirectOk, int(r));
      EXPECT_TRUE(Has(log, line)) << line;
    }
  }
  EXPECT_TRUE(m.SpeedTable(false).size() == 2u && m.SpeedTable(true).size() == 2u);

  EXPECT_EQ(m.StopSpeedTest(), connmgr::SpeedStopOutcome::kEnded);
  EXPECT_FALSE(::IsWindow(w));
  EXPECT_EQ(m.StopSpeedTest(), connmgr::SpeedStopOutcome::kNotRunning);
  log = Log();
  EXPECT_FALSE(Has(log, connmgr::kLogSpeedStopWorker));
  EXPECT_FALSE(Has(log, connmgr::kLogSpeedForced));

  // The table saw every request with the value it was given: two per probe.
  std::string seen;
  for (int i = 0; i < 100; ++i) {
    seen = ReadPeerLog(g_peerArgs["speedlog"]);
    if (Has(seen, "id=0x00000110 " + Hex32(0xE1E1E102u))) break;
    ::Sleep(50);
  }
  auto count = [&](const std::string& text) {
    size_t n = 0;
    for (size_t at = seen.find(text); at != std::string::npos; at = seen.find(text, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("id=0x00000110 " + Hex32(0x11223344u)), 2u) << seen;
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(count("id=0x00000110 " + Hex32(0xD1D1D100u + i)), 2u) << i;
    EXPECT_EQ(count("id=0x00000110 " + Hex32(0xE1E1E100u + i)), 2u) << i;
  }
  // A closed connection ends the test and empties the tables.
  m.Close();
  EXPECT_TRUE(m.SpeedTable(false).empty());
}

// Through the interconnect proxy a game port that P80Port remaps is asked of the proxy as
// the remapped port, and the server first gets MSG_P80_HEADER {game port, 0}.
TEST_F(ConnectionManagerTest, SpeedProbeThroughTheProxySendsTheP80Header) {
  NEED_PEERS();
  int port = PeerPort("speed"), asked = DeadPort();
  char exe[MAX_PATH];
  ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string share = exe;
  share = share.substr(0, share.rfind('\\'));
  share = share.substr(0, share.rfind('\\')) + "\\Share";  // where the program's folder leads
  ::CreateDirectoryA(share.c_str(), nullptr);
  std::string ini = share + "\\LangRsc.ini";
  ASSERT_TRUE(::WritePrivateProfileStringA("P80Port", std::to_string(asked).c_str(), std::to_string(port).c_str(),
                                           ini.c_str()));
  Interconnect(PeerPort("socksauth"));
  Ini("VodoVozev", "2", "127.0.0.1;5;" + std::to_string(port));
  CConnectionManager m;
  ASSERT_TRUE(m.Connect("127.0.0.1", port, TRUE));  // makes the interconnect proxy known
  ASSERT_TRUE(m.StartSpeedTest("127.0.0.1", asked));
  int32_t r = SendProbe(m.GetSpeedTestWnd(), 0xC3C3C3C3u, connmgr::kSpeedInterconnect);
  EXPECT_GE(r, connmgr::kSpeedMin);
  EXPECT_LE(r, connmgr::kSpeedMax);
  m.StopSpeedTest();
  ::DeleteFileA(ini.c_str());
  std::string seen;
  for (int i = 0; i < 100; ++i) {
    seen = ReadPeerLog(g_peerArgs["speedlog"]);
    if (Has(seen, "id=0x00000110 " + Hex32(0xC3C3C3C3u))) break;
    ::Sleep(50);
  }
  size_t header = seen.find("id=0x00000663 " + Hex32(uint32_t(asked)) + "00000000");
  size_t probe = seen.find("id=0x00000110 " + Hex32(0xC3C3C3C3u));
  ASSERT_NE(header, std::string::npos) << seen;
  ASSERT_NE(probe, std::string::npos);
  EXPECT_LT(header, probe);
}

// A probe that cannot reach the server, or has no interconnect proxy, fails with its line.
// A stop while a probe waits for its reply ends the wait: the worker ends in time.
TEST_F(ConnectionManagerTest, SpeedProbeFailuresAndStopDuringAWait) {
  NEED_PEERS();
  int dead = DeadPort();
  {
    CConnectionManager m;  // never connected: no interconnect proxy is known
    ASSERT_TRUE(m.StartSpeedTest("127.0.0.1", dead));
    EXPECT_EQ(SendProbe(m.GetSpeedTestWnd(), 1, connmgr::kSpeedDirect), -1);
    EXPECT_EQ(SendProbe(m.GetSpeedTestWnd(), 2, connmgr::kSpeedInterconnect), -1);
    std::string log = Log();
    EXPECT_TRUE(Has(log, Fmt(connmgr::kLogSpeedDirectFail, "127.0.0.1", dead))) << log;
    EXPECT_TRUE(Has(log, Fmt(connmgr::kLogSpeedViaFail, "127.0.0.1", dead))) << log;
  }
  // A server that takes the request and never answers.
  SOCKET l = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(l, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(::listen(l, 1), 0);
  int len = sizeof a;
  ::getsockname(l, reinterpret_cast<sockaddr*>(&a), &len);
  int mute = ntohs(a.sin_port);
  CConnectionManager m;
  ASSERT_TRUE(m.StartSpeedTest("127.0.0.1", mute));
  HWND w = m.GetSpeedTestWnd();
  static connmgr::SpeedProbeRecord rec;  // the worker writes it after this test's wait ends
  rec.value = 5;
  ASSERT_TRUE(::PostMessageA(w, connmgr::kSpeedTestMessage, reinterpret_cast<WPARAM>(&rec), connmgr::kSpeedDirect));
  fd_set fds;
  FD_ZERO(&fds);
  FD_SET(l, &fds);
  timeval tv = {10, 0};
  ASSERT_EQ(::select(0, &fds, nullptr, nullptr, &tv), 1);
  SOCKET c = ::accept(l, nullptr, nullptr);
  ASSERT_NE(c, INVALID_SOCKET);
  // The whole first request arrived: the probe now waits for the answer.
  char got[16];
  int have = 0;
  while (have < 16) {
    FD_ZERO(&fds);
    FD_SET(c, &fds);
    tv = {10, 0};
    ASSERT_EQ(::select(0, &fds, nullptr, nullptr, &tv), 1);
    int n = ::recv(c, got + have, 16 - have, 0);
    ASSERT_GT(n, 0);
    have += n;
  }
  EXPECT_EQ(netcore::ReadU32(reinterpret_cast<uint8_t*>(got)), 272u);
  EXPECT_EQ(netcore::ReadU32(reinterpret_cast<uint8_t*>(got) + 8), 5u);
  EXPECT_EQ(m.StopSpeedTest(), connmgr::SpeedStopOutcome::kEnded);
  EXPECT_FALSE(::IsWindow(w));
  EXPECT_EQ(rec.result, -1);
  std::string log = Log();
  EXPECT_TRUE(Has(log, Fmt(connmgr::kLogSpeedDirectFirst, "127.0.0.1", mute))) << log;
  EXPECT_FALSE(Has(log, connmgr::kLogSpeedForced));
  ::closesocket(c);
  ::closesocket(l);
}

// A prober that does not come back within the stop's wait is ended by force, with both
// lines; its window goes with its thread.
TEST(SpeedTestWndTest, StuckWorkerIsEndedByForce) {
  struct Stuck : CSpeedTestWnd::Prober {
    HANDLE entered = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<std::string> lines;
    long ProbeSpeed(bool, uint32_t) override {
      ::SetEvent(entered);
      for (;;) ::Sleep(100);  // deaf to the stop event
    }
    void LogLine(const char* line) override { lines.push_back(line); }
  } stuck;
  CSpeedTestWnd wnd;
  ASSERT_TRUE(wnd.Start(&stuck));
  HWND w = wnd.GetSafeHwnd();
  // The system's list of message-only windows tells: Wine keeps the process's own handle
  // entry of a window whose thread was ended by force, so IsWindow still says yes there.
  auto listed = [] { return ::FindWindowExA(HWND_MESSAGE, nullptr, "VeskSpeedTestWnd", nullptr) != nullptr; };
  EXPECT_TRUE(listed());
  static connmgr::SpeedProbeRecord rec;
  ASSERT_TRUE(::PostMessageA(w, connmgr::kSpeedTestMessage, reinterpret_cast<WPARAM>(&rec), connmgr::kSpeedDirect));
  ASSERT_EQ(::WaitForSingleObject(stuck.entered, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(wnd.Stop(), connmgr::SpeedStopOutcome::kForced);
  EXPECT_FALSE(wnd.IsRunning());
  EXPECT_EQ(stuck.lines, (std::vector<std::string>{connmgr::kLogSpeedStopWorker, connmgr::kLogSpeedForced}));
  for (int i = 0; i < 100 && listed(); ++i) ::Sleep(20);
  EXPECT_FALSE(listed());
  // The window can run again after a forced end.
  struct Quick : CSpeedTestWnd::Prober {
    long ProbeSpeed(bool via, uint32_t value) override { return via ? -1 : long(value); }
    void LogLine(const char*) override {}
  } quick;
  ASSERT_TRUE(wnd.Start(&quick));
  EXPECT_EQ(SendProbe(wnd.GetSafeHwnd(), 42, connmgr::kSpeedDirect), 42);
  EXPECT_EQ(SendProbe(wnd.GetSafeHwnd(), 42, connmgr::kSpeedInterconnect), -1);
  EXPECT_EQ(::SendMessageA(wnd.GetSafeHwnd(), connmgr::kSpeedTestMessage, 0, 0), -1);  // no record
  EXPECT_EQ(wnd.Stop(), connmgr::SpeedStopOutcome::kEnded);
  ::CloseHandle(stuck.entered);
}

}  // namespace
