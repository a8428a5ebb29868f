// The connection manager under Wine: the interconnect proxy (SOCKS5 with user and password),
// its fallbacks and the connection log, against the native peers.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ConnLogTexts.h"
#include "ConnectionManager.h"
#include "PeerPorts.h"

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

TEST_F(ConnectionManagerTest, SpeedTestStopsWhenAsked) {
  NEED_PEERS();
  CConnectionManager m;
  ASSERT_TRUE(m.StartSpeedTest("127.0.0.1", PeerPort("table")));
  m.StopSpeedTest();  // joins: returns only once the worker ended
  ASSERT_TRUE(m.StartSpeedTest("127.0.0.1", PeerPort("table")));
  m.StopSpeedTest();
}

}  // namespace
