// The system half under Wine: login against the table server, and every system message the
// server sends on connect, with its boxes, lines, replies and close.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "GameSocket.h"
#include "LaunchRecord.h"
#include "PeerPorts.h"

namespace {

struct Seen {
  std::vector<std::pair<std::string, UINT>> texts;  // text boxes: text, style
  std::vector<int> countdowns;
  std::vector<std::pair<UINT, UINT>> ids;  // id boxes: id, style
  std::vector<std::string> questions, lines, urls;
};
Seen* g_seen = nullptr;

int TextHook(LPCSTR text, UINT style, int countdown) {
  g_seen->texts.emplace_back(text, style);
  g_seen->countdowns.push_back(countdown);
  return IDOK;
}
int IdHook(UINT id, UINT style, int) {
  g_seen->ids.emplace_back(id, style);
  return IDOK;
}
int InputHook(LPCSTR text, UINT, int, std::string* answer) {
  g_seen->questions.push_back(text);
  if (answer) *answer = "abc";
  return IDOK;
}
void Sink(LPCSTR line, void*) { g_seen->lines.push_back(line); }
BOOL UrlHook(LPCSTR url) {
  g_seen->urls.push_back(url);
  return TRUE;
}

class SysSocket : public CGameSocket {
 public:
  SysSocket() {
    SetBoxHooks(TextHook, IdHook);
    SetInputBoxHook(InputHook);
    SetSystemTextSink(Sink, nullptr);
    SetOpenUrlHook(UrlHook);
  }
};

GAME_LAUNCH_REC Record(int port) {
  GAME_LAUNCH_REC rec = {};
  strcpy(rec.szUserName, "player1");
  strcpy(rec.szLoginKey, "key");
  strcpy(rec.szRoomTitle, "room");
  strcpy(rec.szServerHost, "127.0.0.1");
  rec.wServerPort = uint16_t(port);
  rec.wLoginWord = 3;
  return rec;
}

class SystemMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { g_seen = &seen; }
  void TearDown() override { g_seen = nullptr; }
  Seen seen;
};

std::vector<UINT> g_progress;
void Progress(UINT id) { g_progress.push_back(id); }

// A program that leaves one hook unset is told which one (its start-up refuses to go on).
TEST(SocketHooks, MissingHookNamesTheFirstUnsetOne) {
  SysSocket s;
  EXPECT_STREQ(s.MissingHook(), "progress");
  s.SetProgressHook(Progress);
  EXPECT_STREQ(s.MissingHook(), "tip");
  s.SetTipHook([](const BYTE*) {});
  EXPECT_EQ(s.MissingHook(), nullptr);
  s.SetOpenUrlHook(nullptr);
  EXPECT_STREQ(s.MissingHook(), "open url");
  CGameSocket bare;
  EXPECT_STREQ(bare.MissingHook(), "text box");
}

TEST_F(SystemMessagesTest, LoginReturnsThePlayersAndBlocks) {
  NEED_PEERS();
  SysSocket s;
  g_progress.clear();
  s.SetProgressHook(Progress);
  CGameSocket::LOGIN_RESULT r;
  ASSERT_TRUE(s.Login(Record(PeerPort("login")), &r)) << s.GetLastErrorCode();
  EXPECT_TRUE(s.IsConnected());
  EXPECT_EQ(r.nPlayerCount, 3);
  ASSERT_EQ(r.players.size(), 3u * 48u);
  // The code page in the high word is cleared: the first word is the seat alone.
  EXPECT_EQ(netcore::ReadU32(r.players.data() + 48), 1u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.players.data() + 52)), "bob");
  EXPECT_EQ(std::string(r.options.begin(), r.options.end()), std::string("1 2,3\0", 6));
  EXPECT_EQ(r.watch, (std::vector<uint8_t>{0xAA, 0xBB, 0xCC, 0xDD}));
  EXPECT_EQ(s.GetLoginStatus(), 1);
  EXPECT_EQ(g_progress, (std::vector<UINT>{29908, 29913, 0}));
  EXPECT_FALSE(s.Session().NotificationsOn());  // the caller resumes once the table is set up
  s.ResumeNotifications();
  // The trust exit of the own name with status 1 ends the connection.
  s.RequestTrustExit();
  EXPECT_TRUE(s.IsTrustExitDone());
  EXPECT_FALSE(s.IsConnected());
  EXPECT_TRUE(seen.ids.empty());
}

TEST_F(SystemMessagesTest, RefusedLoginsShowTheirBoxAndClose) {
  NEED_PEERS();
  struct Case {
    const char* peer;
    UINT id;
  } cases[] = {{"login4", 29915}, {"login2", 29914}};
  for (const Case& c : cases) {
    seen = Seen();
    SysSocket s;
    CGameSocket::LOGIN_RESULT r;
    EXPECT_FALSE(s.Login(Record(PeerPort(c.peer)), &r)) << c.peer;
    EXPECT_FALSE(s.IsConnected());
    ASSERT_EQ(seen.ids.size(), 1u) << c.peer;
    EXPECT_EQ(seen.ids[0].first, c.id);
    EXPECT_EQ(seen.ids[0].second, UINT(MB_ICONHAND));
  }
}

std::string ReadUnixFile(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& ch : p)
    if (ch == '/') ch = '\\';
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST_F(SystemMessagesTest, ServerNoticesAreHandledInOrder) {
  NEED_PEERS();
  SysSocket s;
  s.SetOwnName("player1");
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("sysmsg"), TRUE));
  // The greeting ends with a fatal message that closes the connection.
  DWORD start = ::GetTickCount();
  while (s.IsConnected() && ::GetTickCount() - start < 10000) {
    DWORD t = ::GetTickCount();
    s.WaitReply(&t, TRUE);
  }
  ASSERT_FALSE(s.IsConnected());
  EXPECT_EQ(s.GetOptionFlags(), 5u);
  // User cut: a system line, then the base's box with the name, countdown 5.
  ASSERT_EQ(seen.lines.size(), 1u);
  EXPECT_EQ(seen.lines[0].rfind("[bob] ", 0), 0u);
  ASSERT_GE(seen.texts.size(), 2u);
  EXPECT_NE(seen.texts[0].first.find("bob"), std::string::npos) << seen.texts[0].first;
  EXPECT_EQ(seen.countdowns[0], 5);
  // Own info copied for the own name.
  EXPECT_EQ(s.OwnInfo()[40], 0x2A);
  // Only the dialog with a text was asked; the 16-byte one was dropped.
  ASSERT_EQ(seen.questions.size(), 1u);
  EXPECT_EQ(seen.questions[0], "name?");
  // The inline text box.
  EXPECT_EQ(seen.texts[1].first, "hi");
  EXPECT_EQ(seen.texts[1].second, 0x40u);
  EXPECT_EQ(seen.countdowns[1], 3);
  // A button set that does not exist (15) is shown with OK.
  ASSERT_GE(seen.texts.size(), 3u);
  EXPECT_EQ(seen.texts[2].first, "odd");
  EXPECT_EQ(seen.texts[2].second, 0x40u);
  // The notice without a box opens its web address, never the file address.
  ASSERT_EQ(seen.urls.size(), 1u);
  EXPECT_EQ(seen.urls[0], "http://example.test/");
  // Fatal code 4 with the own name: the own room lost, reason 3, and no second error text.
  EXPECT_EQ(s.m_nCloseReason, 3);
  ASSERT_EQ(seen.ids.size(), 1u);
  EXPECT_EQ(seen.ids[0].first, 29918u);
  EXPECT_EQ(seen.ids[0].second, UINT(MB_ICONHAND));
  // The server got both answers: the local port (8 bytes) and the dialog's (echo, button, "abc\0").
  std::string log;
  for (int i = 0; i < 40; ++i) {
    log = ReadUnixFile(g_peerArgs["sysmsglog"]);
    if (log.find("id=0x80000230") != std::string::npos) break;
    ::Sleep(50);
  }
  EXPECT_NE(log.find("id=0x80000231 len=8 status=0"), std::string::npos) << log;
  EXPECT_NE(log.find("id=0x80000230 len=12 status=0"), std::string::npos) << log;
}

}  // namespace

namespace {

TEST_F(SystemMessagesTest, QuitNoticeShowsOneBox) {
  NEED_PEERS();
  SysSocket s;
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("quit"), TRUE));
  s.SendMsg(740, "x", 1);  // the server answers and closes
  DWORD start = ::GetTickCount();
  while (s.IsConnected() && ::GetTickCount() - start < 5000) {
    DWORD t = ::GetTickCount();
    s.WaitReply(&t, TRUE);
  }
  // Let a late close notification arrive too.
  for (int i = 0; i < 50; ++i) {
    DWORD t = ::GetTickCount();
    s.WaitReply(&t, TRUE);
  }
  EXPECT_FALSE(s.IsConnected());
  EXPECT_EQ(s.m_nCloseReason, 5);
  ASSERT_EQ(seen.texts.size(), 1u);
  EXPECT_NE(seen.texts[0].first.find("bob"), std::string::npos);
  EXPECT_EQ(seen.texts[0].second, UINT(MB_ICONHAND));
  EXPECT_TRUE(seen.ids.empty());  // no connection-lost text behind it
}

// The own trusteeship text is shown with notifications on: frames that arrive while its box
// is open are handled (the table keeps following the server).
TEST_F(SystemMessagesTest, OwnTrusteeshipBoxLetsFramesThrough) {
  NEED_PEERS();
  CWinApp app("trust");
  CWnd main;
  ASSERT_TRUE(main.CreateEx(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr));
  app.m_pMainWnd = &main;
  static SysSocket* s_socket;
  static uint32_t s_flagsInBox;
  SysSocket s;
  s_socket = &s;
  s_flagsInBox = 0;
  s.SetOwnName("player1");
  s.SetBoxHooks(
      [](LPCSTR text, UINT style, int countdown) {
        g_seen->texts.emplace_back(text, style);
        g_seen->countdowns.push_back(countdown);
        // The box's own loop: wait (bounded) for the frame that follows.
        for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 5000;) {
          DWORD t = ::GetTickCount();
          s_socket->WaitReply(&t, TRUE);
          if (s_socket->GetOptionFlags() == 7) break;
        }
        s_flagsInBox = s_socket->GetOptionFlags();
        return IDOK;
      },
      IdHook);
  ASSERT_TRUE(s.Connect("127.0.0.1", PeerPort("trust"), TRUE));
  for (DWORD start = ::GetTickCount(); seen.texts.empty() && ::GetTickCount() - start < 10000;) {
    DWORD t = ::GetTickCount();
    s.WaitReply(&t, TRUE);
  }
  ASSERT_EQ(seen.texts.size(), 1u);
  EXPECT_EQ(seen.texts[0].second, UINT(MB_ICONINFORMATION));
  EXPECT_EQ(seen.countdowns[0], 0);
  EXPECT_EQ(s_flagsInBox, 7u) << "the next frame was held until the box closed";
  s.Close();
  app.m_pMainWnd = nullptr;
  main.DestroyWindow();
}

// A trusteeship result for the own name: status 1, the mode, one time of three.
std::vector<uint8_t> OwnTrusteeship(uint16_t mode) {
  std::vector<uint8_t> body = {uint8_t(mode), uint8_t(mode >> 8), 1, 3};
  const char name[] = "player1";
  body.insert(body.end(), name, name + sizeof name);
  return netcore::BuildFrame(0x8000021B, body.data(), body.size(), 1);
}

// The own trusteeship notice runs its loop with notifications on, so the next hand's notice
// arrives inside it. That one never opens inside the open box: the open box is closed as its
// countdown would close it, and the newest notice is shown in its place once it has returned.
// However many arrive, one box is open at a time.
TEST_F(SystemMessagesTest, OwnTrusteeshipNoticesReplaceEachOtherWithoutNesting) {
  CWinApp app("replace");
  CWnd main;
  ASSERT_TRUE(main.CreateEx(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr));
  app.m_pMainWnd = &main;
  static SysSocket* s_socket;
  static int s_depth, s_maxDepth, s_boxes;
  static std::vector<WPARAM> s_closedWith;
  SysSocket s;
  s_socket = &s;
  s_depth = s_maxDepth = s_boxes = 0;
  s_closedWith.clear();
  s.SetOwnName("player1");
  s.SetBoxHooks(
      [](LPCSTR text, UINT style, int countdown) {
        g_seen->texts.emplace_back(text, style);
        g_seen->countdowns.push_back(countdown);
        s_maxDepth = std::max(s_maxDepth, ++s_depth);
        // A dialog window with a default button, run by a loop of its own as a box is.
        HWND box = ::CreateWindowExA(0, "#32770", "box", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                     nullptr);
        ::SendMessageA(box, DM_SETDEFID, 29714, 0);
        if (s_boxes++ == 0) {
          // Hand after hand the notices arrive while this box waits: the last is a mode 0.
          for (int i = 0; i < 50; ++i) {
            std::vector<uint8_t> f = OwnTrusteeship(i == 49 ? 0 : uint16_t(1 + i % 2));
            s_socket->OnMessage(f.data());
          }
        }
        bool closed = false;
        for (DWORD start = ::GetTickCount(); !closed && s_boxes == 1 && ::GetTickCount() - start < 5000;) {
          MSG m;
          if (!::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            ::Sleep(5);
            continue;
          }
          if (m.hwnd == box && m.message == WM_COMMAND) {
            s_closedWith.push_back(m.wParam);
            closed = true;
            continue;
          }
          ::DispatchMessageA(&m);
        }
        ::DestroyWindow(box);
        --s_depth;
        return IDOK;
      },
      IdHook);
  std::vector<uint8_t> first = OwnTrusteeship(2);
  s.OnMessage(first.data());
  EXPECT_EQ(s_maxDepth, 1) << "a notice opened inside another";
  ASSERT_EQ(s_closedWith.size(), 1u) << "the open box was not closed for the newer one";
  EXPECT_EQ(s_closedWith[0], MAKEWPARAM(29714, BN_CLICKED)) << "closed with its default button";
  // The first notice (mode 2, no countdown) and then only the newest (mode 0, 5 seconds).
  EXPECT_EQ(seen.countdowns, (std::vector<int>{0, 5}));
  EXPECT_FALSE(s.IsBoxOpen(CGameSocket::BOX_OWN_TRUSTEESHIP));
  app.m_pMainWnd = nullptr;
  main.DestroyWindow();
}

// Arbitrary bodies under every system id: each is dropped or handled, never read past its end
// (the frames are exactly as long as their headers say, in buffers of their own).
TEST_F(SystemMessagesTest, ArbitraryBodiesAreDroppedOrHandled) {
  const uint32_t ids[] = {352,        417,        549,        553,        554,        557,        560,
                          561,        564,        580,        585,        0x80000202, 0x80000219, 0x8000021A,
                          0x8000021B, 0x8000021C, 0x80000233, 0xFFFFFFFF, 0x80000200, 12345};
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (int round = 0; round < 3000; ++round) {
    SysSocket s;
    s.SetOwnName(round % 3 ? "player1" : "bob");
    uint32_t id = ids[next() % (sizeof ids / sizeof ids[0])];
    size_t len = next() % (round % 10 == 0 ? 800 : 64);
    std::vector<uint8_t> body(len);
    for (auto& b : body) b = uint8_t(next() % 7 == 0 ? 0 : next());
    std::vector<uint8_t> f = netcore::BuildFrame(id, body.data(), body.size(), next() % 3);
    std::vector<uint8_t> exact(f);  // nothing behind the frame
    exact.shrink_to_fit();
    s.OnMessage(exact.data());
  }
  // Every URL that was opened is a web address.
  for (const auto& u : seen.urls) EXPECT_TRUE(u.rfind("http://", 0) == 0 || u.rfind("https://", 0) == 0) << u;
}

}  // namespace
