// The game socket under Wine against the native peers on 127.0.0.1: direct connects, every
// proxy path and its failure codes, reply waits, compression, the stream transforms.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "GameSocket.h"
#include "PeerPorts.h"
#include "WinProbe.h"
#include "ProxyTunnel.h"

namespace {

// Boxes go through the hooks: recorded, answered from a script.
struct Boxes {
  std::vector<UINT> ids;
  std::vector<UINT> styles;
  std::vector<int> answers;  // answers in order; IDNO once they run out
  int Answer() {
    if (answers.empty()) return IDNO;
    int a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
};
Boxes* g_boxes = nullptr;

int IdBox(UINT id, UINT style, int) {
  if (!g_boxes) return IDNO;
  g_boxes->ids.push_back(id);
  g_boxes->styles.push_back(style);
  return g_boxes->Answer();
}
int TextBox(LPCSTR, UINT style, int) {
  if (!g_boxes) return IDNO;
  g_boxes->ids.push_back(0);
  g_boxes->styles.push_back(style);
  return g_boxes->Answer();
}

class TestSocket : public CGameSocket {
 public:
  TestSocket() { SetBoxHooks(TextBox, IdBox); }
  int OnMessage(BYTE* pFrame) override {
    if (CGameSocket::OnMessage(pFrame) && netcore::ReadU32(pFrame) == netcore::MSG_WIRE_CODE) {
      messages.emplace_back(pFrame, pFrame + 8 + netcore::ReadU32(pFrame + 4));
      return 1;
    }
    netcore::NET_MSG_HEADER h;
    netcore::DecodeHeader(pFrame, 12, &h);
    size_t head = netcore::HeaderSizeForId(h.id);
    messages.emplace_back(pFrame, pFrame + head + h.length);
    return 0;
  }
  void OnClose(int nErrorCode) override {
    closes.push_back(nErrorCode);
    CGameSocket::OnClose(nErrorCode);
  }
  std::vector<std::vector<uint8_t>> messages;
  std::vector<int> closes;
};

const char kProxyKey[] = "Software\\Orvane\\Game\\Share\\Proxy";

void SetProxy(std::map<std::string, DWORD> dwords, std::map<std::string, std::string> strings) {
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kProxyKey);
  HKEY key;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kProxyKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  for (auto& d : dwords) ::RegSetValueExA(key, d.first.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&d.second), 4);
  for (auto& s : strings)
    ::RegSetValueExA(key, s.first.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(s.second.c_str()),
                     DWORD(s.second.size() + 1));
  ::RegCloseKey(key);
}

void SetSocks(int version, int port, const std::string& user = "", const std::string& pass = "") {
  std::map<std::string, std::string> s = {{"SocksServer", "127.0.0.1"}};
  if (!user.empty()) {
    s["UserName"] = user;
    s["Password"] = pass;
  }
  SetProxy({{"ProxyEnable", 1}, {"SocksPort", DWORD(port)}, {"SocksVersion", DWORD(version)}}, s);
}

std::string Body(const std::vector<uint8_t>& f) {
  size_t head = netcore::HeaderSizeForId(netcore::ReadU32(f.data()));
  return std::string(f.begin() + head, f.end());
}

class GameSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_boxes = &boxes;
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kProxyKey);
  }
  void TearDown() override {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kProxyKey);
    g_boxes = nullptr;
  }
  // One echoed request through an open connection: the server's answer comes back intact.
  void ExpectEcho(TestSocket& s, uint32_t id, const std::string& text) {
    BYTE* reply = nullptr;
    ASSERT_EQ(s.SendMsg(id, text.data(), text.size(), &reply), 1) << "last error " << s.GetLastErrorCode();
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(netcore::ReadU32(reply), id | 0x80000000u);
    std::vector<uint8_t> f(reply, reply + 12 + netcore::ReadU32(reply + 4));
    EXPECT_EQ(Body(f), text);
    CGameSocket::FreeFrame(reply);
  }
  Boxes boxes;
};

TEST_F(GameSocketTest, DirectConnectExchangesFrames) {
  NEED_PEERS();
  TestSocket s;
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE)) << s.GetLastErrorCode();
  EXPECT_EQ(s.GetConnectState(), 2);
  EXPECT_TRUE(s.IsConnected());
  EXPECT_FALSE(s.IsViaProxy());
  ExpectEcho(s, 600, "hello");
  ExpectEcho(s, 601, std::string(300, 'x'));
  EXPECT_TRUE(boxes.ids.empty());
}

TEST_F(GameSocketTest, HostNameIsResolved) {
  NEED_PEERS();
  TestSocket s;
  ASSERT_TRUE(s.Connect("localhost", PeerPort("table"), FALSE)) << s.GetLastErrorCode();
  ExpectEcho(s, 602, "by name");
}

TEST_F(GameSocketTest, SendLimitIsExactly64K) {
  NEED_PEERS();
  TestSocket s;
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
  // 8 + 65528 = 65536 bytes go out; the echo comes back compressed and is inflated.
  std::string body(65536 - 8, 'a');
  for (size_t i = 0; i < body.size(); ++i) body[i] = char('a' + i % 23);
  ExpectEcho(s, 603, body);
  EXPECT_TRUE(boxes.ids.empty());
  // One byte more: string 29674 as information and nothing sent.
  std::string over(65536 - 8 + 1, 'b');
  EXPECT_EQ(s.SendMsg(604, over.data(), over.size()), 0);
  ASSERT_EQ(boxes.ids.size(), 1u);
  EXPECT_EQ(boxes.ids[0], 29674u);
  EXPECT_EQ(boxes.styles[0], UINT(MB_ICONINFORMATION));
  EXPECT_TRUE(s.IsConnected());
  ExpectEcho(s, 605, "still in step");
}

TEST_F(GameSocketTest, ArrivalOnlyReplyStillReachesOnMessage) {
  NEED_PEERS();
  TestSocket s;
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
  ASSERT_EQ(s.SendMsg(606, "abc", 3, SENDMSG_ARRIVAL_ONLY), 1);
  ASSERT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(netcore::ReadU32(s.messages[0].data()), 606u | 0x80000000u);
  EXPECT_EQ(Body(s.messages[0]), "abc");
}

TEST_F(GameSocketTest, SilentServerTimesOut) {
  NEED_PEERS();
  {
    // Not interactive: no question, 10060, and a wait that keeps its reply closes. (Connect's
    // own flag holds for the connect only.)
    TestSocket s;
    ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), FALSE));
    EXPECT_TRUE(s.IsInteractive());
    s.SetInteractive(FALSE);
    s.SetReplyTimeout(1);
    BYTE* reply = nullptr;
    EXPECT_EQ(s.SendMsg(701, "q", 1, &reply), 0);
    EXPECT_EQ(reply, nullptr);
    EXPECT_FALSE(s.IsConnected());
    ASSERT_FALSE(s.closes.empty());
    EXPECT_EQ(s.closes.back(), 10060);
    EXPECT_TRUE(boxes.ids.empty());
  }
  {
    // Interactive: the question once per period; Yes waits on, No gives up without a box.
    TestSocket s;
    ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
    s.SetReplyTimeout(1);
    boxes = Boxes();
    boxes.answers = {IDYES, IDNO};
    DWORD start = ::GetTickCount();
    EXPECT_EQ(s.SendMsg(701, "q", 1, SENDMSG_ARRIVAL_ONLY), 0);
    DWORD took = ::GetTickCount() - start;
    EXPECT_GE(took, 1900u);
    ASSERT_EQ(boxes.ids.size(), 2u);
    EXPECT_EQ(boxes.ids[0], 29910u);
    EXPECT_EQ(boxes.styles[0], UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(s.GetLastErrorCode(), 10060);
    EXPECT_TRUE(s.IsAborted());
    EXPECT_TRUE(s.IsConnected());  // an arrival-only wait leaves the connection open
    EXPECT_EQ(::WSAGetLastError(), 10203);
  }
}

TEST_F(GameSocketTest, QuitDuringWaitIsPostedAgain) {
  NEED_PEERS();
  TestSocket s;
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
  ::PostQuitMessage(7);
  EXPECT_EQ(s.SendMsg(701, "q", 1, SENDMSG_ARRIVAL_ONLY), 0);
  EXPECT_EQ(s.GetLastErrorCode(), 10200);
  EXPECT_TRUE(boxes.ids.empty());
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, WPARAM(7));
}

TEST_F(GameSocketTest, TransformsSwitchExactlyBetweenFrames) {
  NEED_PEERS();
  TestSocket s;
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
  // The server sends MSG_WIRE_CODE right before its answer: the answer is already transformed.
  ASSERT_EQ(s.messages.size(), 0u);
  BYTE* reply = nullptr;
  ASSERT_EQ(s.SendMsg(710, "switch", 6, &reply), 1);
  ASSERT_NE(reply, nullptr);
  CGameSocket::FreeFrame(reply);
  ASSERT_GE(s.messages.size(), 1u);
  uint32_t wire = netcore::ReadU32(s.messages[0].data());
  EXPECT_EQ(wire, netcore::MSG_WIRE_CODE);
  EXPECT_TRUE(s.Session().SendTransform().IsOn());
  ExpectEcho(s, 711, "after the switch");
  ExpectEcho(s, 712, std::string(2000, 'z'));  // compressed and transformed
}

TEST_F(GameSocketTest, WaitingFramesBeforeCloseAreDelivered) {
  NEED_PEERS();
  TestSocket s;
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
  BYTE* reply = nullptr;
  ASSERT_EQ(s.SendMsg(730, "end", 3, &reply), 1);
  ASSERT_NE(reply, nullptr);
  CGameSocket::FreeFrame(reply);
  // The server closes right after: the socket notices, shows 29900 once and resets.
  DWORD start = ::GetTickCount();
  while (s.IsConnected() && ::GetTickCount() - start < 5000) {
    DWORD t = ::GetTickCount();
    s.WaitReply(&t, TRUE);
  }
  EXPECT_FALSE(s.IsConnected());
  ASSERT_EQ(boxes.ids.size(), 1u);
  EXPECT_EQ(boxes.ids[0], 29900u);
  EXPECT_EQ(boxes.styles[0], UINT(MB_ICONEXCLAMATION));
  EXPECT_EQ(s.SendMsg(731, "x", 1), 0);
}

TEST_F(GameSocketTest, BrokenFramesCloseWithTheGenericText) {
  NEED_PEERS();
  for (const char* peer : {"badzip", "badwire"}) {
    boxes = Boxes();
    TestSocket s;
    ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort(peer), TRUE)) << peer;
    DWORD start = ::GetTickCount();
    while (s.IsConnected() && ::GetTickCount() - start < 5000) {
      DWORD t = ::GetTickCount();
      s.WaitReply(&t, TRUE);
    }
    EXPECT_FALSE(s.IsConnected()) << peer;
    ASSERT_FALSE(s.closes.empty()) << peer;
    EXPECT_EQ(s.closes.back(), netcore::NETERR_BAD_FRAME) << peer;
    ASSERT_EQ(boxes.ids.size(), 1u) << peer;
    EXPECT_EQ(boxes.ids[0], 29906u);
    // Nothing of a broken frame reached a game handler (the test socket notes wire codes too).
    for (const auto& m : s.messages) EXPECT_EQ(netcore::ReadU32(m.data()), netcore::MSG_WIRE_CODE) << peer;
    EXPECT_FALSE(s.Session().ReceiveTransform().IsOn());
  }
}

TEST_F(GameSocketTest, CancelledConnectEndsWithoutABox) {
  NEED_PEERS();
  TestSocket s;
  volatile int cancel = 1;
  s.SetCancelFlag(&cancel);
  EXPECT_FALSE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
  EXPECT_EQ(s.GetLastErrorCode(), 10200);
  EXPECT_TRUE(s.IsAborted());
  EXPECT_FALSE(s.IsConnected());
  EXPECT_TRUE(boxes.ids.empty());
  // The worker was joined: the next connect starts afresh.
  cancel = 0;
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
  ExpectEcho(s, 607, "after a cancel");
}

// Without hooks the text from the resource library appears in a plain box; the picture of it
// is saved as gamesocket_refused_box.png in the test's working directory.
TEST_F(GameSocketTest, DefaultBoxShowsTheResourceText) {
  NEED_PEERS();
  std::string expected = CGameSocket::LoadText(29901);
  ASSERT_FALSE(expected.empty()) << "the resource library is not beside the test";
  std::string seenText;
  bool saved = false;
  CGameSocket s;  // no hooks
  const bool shown = winprobe::ActOnModalWindow(
      "Vesk", [&] { EXPECT_FALSE(s.Connect("127.0.0.1", DeadPort(), TRUE)); },
      [&](HWND box) {
        // A copy of the screen where the box stands: the box's own rendering leaves its
        // children out under Wine.
        saved = winprobe::SaveScreenArea(box, L"gamesocket_refused_box.png");
        for (const auto& c : winprobe::ChildWindows(box))
          if (c.className == "Static" && c.text.size() > seenText.size()) seenText = c.text;
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
      });
  ASSERT_TRUE(shown) << "no box";
  EXPECT_TRUE(saved);
  // The box's text is the resource string (Windows may trim the line breaks).
  EXPECT_NE(seenText.find(expected.substr(expected.rfind('\n') + 1)), std::string::npos) << seenText;
}

TEST_F(GameSocketTest, ConnectRefusedShowsItsText) {
  NEED_PEERS();
  TestSocket s;
  EXPECT_FALSE(s.Connect("127.0.0.1", DeadPort(), TRUE));
  ASSERT_EQ(boxes.ids.size(), 1u);
  EXPECT_EQ(boxes.ids[0], 29901u);  // 10061
  EXPECT_EQ(s.GetLastErrorCode(), 10061);
  EXPECT_FALSE(s.IsConnected());
}

struct ProxyCase {
  const char* name;
  int version;
  const char* peer;
  const char* host;
  const char* user;
  const char* pass;
};

class ProxyPaths : public GameSocketTest, public ::testing::WithParamInterface<ProxyCase> {};

TEST_P(ProxyPaths, ReachTheTableServer) {
  NEED_PEERS();
  const ProxyCase& c = GetParam();
  SetSocks(c.version, PeerPort(c.peer), c.user, c.pass);
  TestSocket s;
  ASSERT_TRUE(s.Connect(c.host, PeerPort("table"), TRUE)) << c.name << " error " << s.GetLastErrorCode();
  EXPECT_TRUE(s.IsViaProxy());
  ExpectEcho(s, 620, c.name);
  EXPECT_TRUE(boxes.ids.empty());
}

INSTANTIATE_TEST_SUITE_P(All, ProxyPaths,
                         ::testing::Values(ProxyCase{"socks4", 4, "socks", "127.0.0.1", "", ""},
                                           ProxyCase{"socks4a", 4, "socks", "localhost", "", ""},
                                           ProxyCase{"socks5", 5, "socks", "127.0.0.1", "", ""},
                                           ProxyCase{"socks5name", 5, "socks", "localhost", "", ""},
                                           ProxyCase{"socks5auth", 5, "socksauth", "127.0.0.1", "player", "secret9"},
                                           ProxyCase{"socks5domainreply", 5, "socksdomain", "127.0.0.1", "", ""}),
                         [](const ::testing::TestParamInfo<ProxyCase>& i) { return std::string(i.param.name); });

struct FailCase {
  const char* name;
  int version;
  const char* peer;  // empty: nothing listening
  const char* user;
  const char* pass;
  int error;
  UINT stringId;
};

class ProxyFailures : public GameSocketTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(ProxyFailures, EndWithTheirCode) {
  NEED_PEERS();
  const FailCase& c = GetParam();
  SetSocks(c.version, *c.peer ? PeerPort(c.peer) : DeadPort(), c.user, c.pass);
  TestSocket s;
  EXPECT_FALSE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
  EXPECT_EQ(s.GetLastErrorCode(), c.error);
  ASSERT_EQ(boxes.ids.size(), 1u);
  EXPECT_EQ(boxes.ids[0], c.stringId);
  EXPECT_FALSE(s.IsConnected());
}

INSTANTIATE_TEST_SUITE_P(All, ProxyFailures,
                         ::testing::Values(FailCase{"nothing_listening", 5, "", "", "", 10201, 29904},
                                           FailCase{"bad_reply", 5, "socksbad", "", "", 10202, 29905},
                                           FailCase{"socks4_bad_reply", 4, "socksbad", "", "", 10202, 29905},
                                           FailCase{"closed_early", 5, "socksearly", "", "", 10202, 29905},
                                           FailCase{"wrong_password", 5, "socksauth", "player", "wrong", 10202, 29905},
                                           FailCase{"no_credentials", 5, "socksauth", "", "", 10202, 29905}),
                         [](const ::testing::TestParamInfo<FailCase>& i) { return std::string(i.param.name); });

TEST_F(GameSocketTest, UnknownProxyKindConnectsDirectly) {
  NEED_PEERS();
  for (int version : {3, 1}) {  // 1 without tunnel settings is direct too
    SetSocks(version, PeerPort("socks"));
    TestSocket s;
    ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE)) << version;
    EXPECT_FALSE(s.IsViaProxy());
    ExpectEcho(s, 621, "direct");
  }
}

void SetTunnel(int type, int relayPort, int proxyPort, const std::string& user = "", const std::string& pass = "") {
  std::map<std::string, DWORD> d = {{"ProxyEnable", 1},
                                    {"SocksVersion", 1},
                                    {"SocksPort", 1},
                                    {"HttpProxyType", DWORD(type)},
                                    {"TransServerPort", DWORD(relayPort)}};
  std::map<std::string, std::string> s = {{"SocksServer", "127.0.0.1"}, {"TransServer", "127.0.0.1"}};
  if (type == 2) {
    d["HttpProxyPort"] = DWORD(proxyPort);
    s["HttpProxyServer"] = "127.0.0.1";
  }
  if (!user.empty()) {
    s["HttpProxyUser"] = user;
    s["HttpProxyPass"] = pass;
  }
  SetProxy(d, s);
}

struct TunnelCase {
  const char* name;
  int type;
  const char* relay;
  const char* proxy;
  const char* user;
  const char* pass;
  bool connectMode;
};

class TunnelPaths : public GameSocketTest, public ::testing::WithParamInterface<TunnelCase> {};

TEST_P(TunnelPaths, CarryFramesBothWays) {
  NEED_PEERS();
  const TunnelCase& c = GetParam();
  SetTunnel(c.type, PeerPort(c.relay), *c.proxy ? PeerPort(c.proxy) : 0, c.user, c.pass);
  TestSocket s;
  s.SetTunnelAllowed(TRUE);
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE)) << c.name << " error " << s.GetLastErrorCode();
  EXPECT_EQ(s.Tunnel().IsConnectMode(), c.connectMode);
  if (!c.connectMode) {
    EXPECT_FALSE(s.Tunnel().Serial().empty());
  }
  ExpectEcho(s, 640, c.name);
  ExpectEcho(s, 641, std::string(3000, 'q'));
  EXPECT_TRUE(boxes.ids.empty());
}

INSTANTIATE_TEST_SUITE_P(All, TunnelPaths,
                         ::testing::Values(TunnelCase{"relay_direct", 0, "relay", "", "", "", false},
                                           TunnelCase{"http_connect", 2, "relay", "http", "", "", true},
                                           TunnelCase{"http_connect_auth", 2, "relay", "httpauth", "player", "secret9",
                                                      true}),
                         [](const ::testing::TestParamInfo<TunnelCase>& i) { return std::string(i.param.name); });

TEST_F(GameSocketTest, TunnelFailures) {
  NEED_PEERS();
  {
    // Four redirects in a row: the tunnel fails and the connect with it.
    SetTunnel(0, PeerPort("relay302"), 0);
    TestSocket s;
    s.SetTunnelAllowed(TRUE);
    EXPECT_FALSE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
    EXPECT_FALSE(s.IsConnected());
    EXPECT_EQ(boxes.ids.size(), 1u);
  }
  {
    // A configured tunnel that the owner does not allow: direct.
    SetTunnel(0, PeerPort("relay302"), 0);
    TestSocket s;
    ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("table"), TRUE));
    EXPECT_FALSE(s.IsViaProxy());
    ExpectEcho(s, 642, "not allowed");
  }
}

// The P80Port section of the LangRsc.ini that the program's folder leads to.
std::string LangRscBesideProgram() {
  char path[MAX_PATH];
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  p = p.substr(0, p.rfind('\\'));  // program folder
  p = p.substr(0, p.rfind('\\'));  // its parent
  ::CreateDirectoryA((p + "\\Share").c_str(), nullptr);
  return p + "\\Share\\LangRsc.ini";
}

TEST_F(GameSocketTest, RemappedPortSendsTheHeaderFirst) {
  NEED_PEERS();
  std::string ini = LangRscBesideProgram();
  int asked = DeadPort();
  ASSERT_TRUE(::WritePrivateProfileStringA("P80Port", std::to_string(asked).c_str(),
                                           std::to_string(PeerPort("table")).c_str(), ini.c_str()));
  {
    TestSocket s;
    s.SetRemappedPort(0, 0x1234);
    ASSERT_TRUE(s.Connect("127.0.0.1", asked, TRUE)) << s.GetLastErrorCode();
    // The table server echoes the header; its answer arrives as an ordinary message.
    ExpectEcho(s, 650, "after the header");
    ASSERT_EQ(s.messages.size(), 1u);
    const auto& m = s.messages[0];
    ASSERT_EQ(m.size(), 12u + 8u);
    EXPECT_EQ(netcore::ReadU32(m.data()), 1635u | 0x80000000u);
    EXPECT_EQ(netcore::ReadU32(m.data() + 12), uint32_t(asked));
    EXPECT_EQ(netcore::ReadU32(m.data() + 16), 0x1234u);
  }
  {
    // -1 turns the remapping off: the port asked for has nothing listening.
    TestSocket s;
    s.SetRemappedPort(-1, 0);
    EXPECT_FALSE(s.Connect("127.0.0.1", asked, FALSE));
  }
  ::DeleteFileA(ini.c_str());
}

// A socket whose message handler throws: the process must end, with a non-zero code.
class ThrowingSocket : public CGameSocket {
 public:
  int OnMessage(BYTE*) override { throw std::runtime_error("handler broke"); }
};

TEST_F(GameSocketTest, HandlerExceptionEndsTheProcess) {
  NEED_PEERS();
  char exe[MAX_PATH];
  ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string cmd = std::string("\"") + exe + "\" --throw-child=" + std::to_string(PeerPort("table"));
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  EXPECT_EQ(code, 3u);
}

}  // namespace

int RunThrowingChild(int port) {
  ThrowingSocket s;
  if (!s.Connect("127.0.0.1", port, FALSE)) return 50;
  s.SendMsg(660, "boom", 4, SENDMSG_ARRIVAL_ONLY);
  return 0;  // not reached: the handler's exception ends the process first
}
