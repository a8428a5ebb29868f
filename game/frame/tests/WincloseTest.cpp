// Closing the main window, driven by WM_CLOSE against a site that plays the connection, the
// document and the player: which state closes at once, which asks, what each answer sends,
// and how long the frame waits for the chat control.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainFrame.h"
#include "ResLoad.h"
#include "resource.h"

namespace {

struct FakeSite : CMainFrameSite {
  // The state.
  BOOL connected = TRUE, trustExitDone = FALSE, ended = FALSE, endedByServer = FALSE;
  DWORD options = 0;
  BOOL watching = FALSE, quiet = FALSE, inTrusteeship = FALSE;
  int leaveRequests = 0;
  // The player's answers: the exit dialog's choice and the Yes/No boxes in turn.
  int exitChoice = IDC_EXITCANCEL;
  std::vector<BOOL> answers;
  // A Yes/No box that clears quiet close while it is open (a hand started meanwhile).
  BOOL askClearsQuiet = FALSE;
  // The chat control holds the close back for this many queries (-1: always).
  int chatRefusals = 0;
  // What the frame did.
  std::vector<std::string> calls;
  std::vector<DWORD> chatQueries;
  struct Ask {
    std::string text;
    UINT style;
    int countdown;
  };
  std::vector<Ask> asks;
  BOOL exitAskAllowed = FALSE, exitTrustAllowed = FALSE;

  int Count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
  }

  BOOL IsConnected() override { return connected; }
  BOOL IsTrustExitDone() override { return trustExitDone; }
  BOOL IsConnectionEnded() override { return ended; }
  BOOL IsEndedByServer() override { return endedByServer; }
  DWORD OptionFlags() override { return options; }
  void RequestTrustExit() override { calls.push_back("trust-exit"); }
  void QuitAndClose() override { calls.push_back("quit"); }
  BOOL SendOptionFlags(int, DWORD) override { return TRUE; }
  BOOL IsWatching() override { return watching; }
  BOOL IsQuietClose() override { return quiet; }
  BOOL IsInTrusteeship() override { return inTrusteeship; }
  int LeaveRequests() override { return leaveRequests; }
  void SendLeaveRequest() override { calls.push_back("leave-request"); }
  void ForceQuit() override { calls.push_back("force-quit"); }
  void RestartMusicIfOn() override {}
  BOOL ChatMayClose() override {
    chatQueries.push_back(::GetTickCount());
    if (chatRefusals < 0) return FALSE;
    return chatRefusals-- <= 0;
  }
  void SetRunLogField(const char* key, const char*) override { calls.push_back(std::string("log ") + key); }
  BOOL AskYesNo(const char* text, UINT style, int countdown) override {
    asks.push_back({text, style, countdown});
    if (askClearsQuiet) quiet = FALSE;
    BOOL yes = FALSE;
    if (!answers.empty()) {
      yes = answers.front();
      answers.erase(answers.begin());
    }
    return yes;
  }
  int RunExitDialog(BOOL askAllowed, BOOL trustAllowed) override {
    calls.push_back("exit-dialog");
    exitAskAllowed = askAllowed;
    exitTrustAllowed = trustAllowed;
    return exitChoice;
  }
  void ShowAbout() override {}
  void OpenSettings() override {}
  CWnd* CreateHelpWindow(CWnd*) override { return nullptr; }
  std::string SharePath() override { return std::string(); }
  std::string SkinFolder() override { return std::string(); }
  CGameViewSite* ViewSite() override { return nullptr; }
};

// The frame without its views: closing does not look at them.
class CBareFrame : public CMainFrame {
 public:
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override { return TRUE; }
};

std::string LoadText(UINT id) {
  CString s;
  s.LoadString(id);
  return (LPCSTR)s;
}

// Runs the thread's messages until `done` holds or `ms` pass; the last answer of `done`.
template <typename Done>
bool PumpUntil(Done done, DWORD ms) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    // Bounded as well: a window that keeps posting to itself must not hold the test here.
    while (::GetTickCount() - start < ms && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (::GetTickCount() - start >= ms) return done();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

class CloseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    AfxGetApp()->SetRegistryKey("Orvane\\Game");
    char folder[MAX_PATH];
    GetModuleFolder(folder, sizeof folder, nullptr);
    HINSTANCE res = ::LoadLibraryA((std::string(folder) + "Vesk_Res.dll").c_str());
    ASSERT_NE(res, nullptr);
    AfxSetResourceHandle(res);
    BuildConfigPaths("Vesk", FALSE, nullptr);
  }
  void SetUp() override {
    m_frame = new CBareFrame;
    m_frame->SetSite(&m_site);
    ASSERT_TRUE(m_frame->Create(nullptr, "close test", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
    m_hwnd = m_frame->GetSafeHwnd();
  }
  void TearDown() override {
    if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
  }
  // Asks the frame to close as the caption's close button does; TRUE when it went away.
  bool CloseAndWait(DWORD ms = 3000) {
    ::PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
    return PumpUntil([&] { return !::IsWindow(m_hwnd); }, ms);
  }
  FakeSite m_site;
  CBareFrame* m_frame = nullptr;
  HWND m_hwnd = nullptr;
};

}  // namespace

TEST_F(CloseTest, GrantedTrusteeshipExitClosesAtOnceWithoutAsking) {
  m_site.trustExitDone = TRUE;
  m_site.ended = TRUE;
  ASSERT_TRUE(CloseAndWait());
  EXPECT_EQ(m_site.Count("log SocketClose"), 1);
  EXPECT_EQ(m_site.Count("log MainFrameClose"), 1);
  EXPECT_EQ(m_site.Count("quit"), 0);
  EXPECT_TRUE(m_site.asks.empty());
}

TEST_F(CloseTest, RunningHandWithoutTrusteeshipKeepsTheWindowAndSendsNothing) {
  m_site.options = 2;
  EXPECT_FALSE(CloseAndWait(500));
  EXPECT_EQ(m_site.Count("trust-exit"), 0);
  EXPECT_EQ(m_site.Count("quit"), 0);
  EXPECT_TRUE(m_site.asks.empty());
  EXPECT_TRUE(m_site.chatQueries.empty());
}

TEST_F(CloseTest, RunningHandWithTrusteeshipAsksTheServerThenThePlayer) {
  struct Case {
    BOOL yes;
    int requests;
  } cases[] = {{FALSE, 1}, {TRUE, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.yes ? "Yes" : "No");
    m_site.options = 1;
    m_site.calls.clear();
    m_site.asks.clear();
    m_site.answers = {c.yes};
    EXPECT_FALSE(CloseAndWait(500));
    EXPECT_EQ(m_site.Count("trust-exit"), c.requests);
    ASSERT_EQ(m_site.asks.size(), 1u);
    EXPECT_EQ(m_site.asks[0].text, LoadText(IDS_TRUSTEXITASK));
    EXPECT_EQ(m_site.asks[0].style, 0x124u);
    EXPECT_EQ(m_site.asks[0].countdown, 10);
    EXPECT_EQ(m_site.Count("quit"), 0);
  }
}

TEST_F(CloseTest, EndedByTheServerQuitsWithoutAsking) {
  m_site.ended = m_site.endedByServer = TRUE;
  ASSERT_TRUE(CloseAndWait());
  EXPECT_EQ(m_site.Count("quit"), 1);
  EXPECT_EQ(m_site.Count("exit-dialog"), 0);
  EXPECT_TRUE(m_site.asks.empty());
}

TEST_F(CloseTest, ExitDialogChoices) {
  struct Case {
    const char* name;
    int choice;
    std::vector<BOOL> answers;
    bool closes;
    const char* sent;  // the one call the choice makes
  } cases[] = {
      {"ask the others", 1004, {}, false, "leave-request"}, {"force, Yes", 1003, {TRUE}, true, "force-quit"},
      {"force, No", 1003, {FALSE}, false, nullptr},         {"trusteeship", 1028, {}, false, "trust-exit"},
      {"cancel", IDC_EXITCANCEL, {}, false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!::IsWindow(m_hwnd)) SetUp();
    m_site = FakeSite();
    m_site.ended = TRUE;
    m_site.options = 1;
    m_site.leaveRequests = 2;
    m_site.exitChoice = c.choice;
    m_site.answers = c.answers;
    EXPECT_EQ(CloseAndWait(c.closes ? 3000 : 500), c.closes);
    EXPECT_EQ(m_site.Count("exit-dialog"), 1);
    EXPECT_TRUE(m_site.exitAskAllowed);
    EXPECT_TRUE(m_site.exitTrustAllowed);
    EXPECT_EQ(m_site.Count("quit"), c.closes ? 1 : 0);
    for (const char* call : {"leave-request", "force-quit", "trust-exit"})
      EXPECT_EQ(m_site.Count(call), c.sent && std::string(c.sent) == call ? 1 : 0) << call;
    if (c.choice == 1003) {
      ASSERT_EQ(m_site.asks.size(), 1u);
      EXPECT_EQ(m_site.asks[0].text, LoadText(IDS_FORCEQUIT));
      EXPECT_EQ(m_site.asks[0].style, 0x124u);
      EXPECT_EQ(m_site.asks[0].countdown, 10);
    }
  }
}

TEST_F(CloseTest, ExitDialogOffersAskingOnlyUpToTwoRequestsAndTrusteeshipOnlyWithBitZero) {
  m_site.ended = TRUE;
  m_site.leaveRequests = 3;
  m_site.options = 2;
  EXPECT_FALSE(CloseAndWait(500));
  EXPECT_FALSE(m_site.exitAskAllowed);
  EXPECT_FALSE(m_site.exitTrustAllowed);
}

TEST_F(CloseTest, NotConnectedOrWatchingClosesWithoutAsking) {
  m_site.ended = TRUE;
  m_site.connected = FALSE;
  ASSERT_TRUE(CloseAndWait());
  EXPECT_EQ(m_site.Count("exit-dialog"), 0);
  SetUp();
  m_site = FakeSite();
  m_site.ended = TRUE;
  m_site.watching = TRUE;
  ASSERT_TRUE(CloseAndWait());
  EXPECT_EQ(m_site.Count("exit-dialog"), 0);
  EXPECT_EQ(m_site.Count("quit"), 1);
}

TEST_F(CloseTest, BetweenHandsAsksWithACountdownBox) {
  struct Case {
    const char* name;
    BOOL trusteeship, yes, clearsQuiet;
    bool closes, dialog;
  } cases[] = {
      {"in trusteeship", TRUE, FALSE, FALSE, true, false},
      {"Yes", FALSE, TRUE, FALSE, true, false},
      {"No", FALSE, FALSE, FALSE, false, false},
      {"a hand began while asking", FALSE, TRUE, TRUE, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!::IsWindow(m_hwnd)) SetUp();
    m_site = FakeSite();
    m_site.ended = m_site.quiet = TRUE;
    m_site.inTrusteeship = c.trusteeship;
    m_site.answers = {c.yes};
    m_site.askClearsQuiet = c.clearsQuiet;
    EXPECT_EQ(CloseAndWait(c.closes ? 3000 : 500), c.closes);
    EXPECT_EQ(m_site.Count("exit-dialog"), c.dialog ? 1 : 0);
    if (!c.trusteeship) {
      ASSERT_EQ(m_site.asks.size(), 1u);
      EXPECT_EQ(m_site.asks[0].text, LoadText(IDS_CONFIRMQUIT));
      EXPECT_EQ(m_site.asks[0].style, 0x124u);
      EXPECT_EQ(m_site.asks[0].countdown, 10);
    }
  }
}

TEST_F(CloseTest, ChatControlHoldsTheCloseBackWithoutABusyLoop) {
  m_site.ended = m_site.endedByServer = TRUE;
  m_site.chatRefusals = 3;
  ASSERT_TRUE(CloseAndWait(5000));
  ASSERT_EQ(m_site.chatQueries.size(), 4u);
  EXPECT_EQ(m_site.Count("quit"), 1);
  // Asked again on a timer, not as fast as messages can be posted.
  EXPECT_GE(m_site.chatQueries.back() - m_site.chatQueries.front(), 3u * (CMainFrame::CLOSE_RETRY_MS - 50));
}

TEST_F(CloseTest, RefusingChatKeepsAConnectedWindowButNotAGoneConnection) {
  m_site.ended = m_site.endedByServer = TRUE;
  m_site.chatRefusals = -1;
  // Connected: the frame keeps asking and stays.
  EXPECT_FALSE(CloseAndWait(0));
  ASSERT_TRUE(PumpUntil([&] { return m_site.chatQueries.size() >= 5; }, 5000));
  EXPECT_TRUE(::IsWindow(m_hwnd));
  // The connection goes: the frame gives up waiting once the time is over.
  m_site.connected = FALSE;
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(m_hwnd); }, CMainFrame::CLOSE_GIVE_UP_MS + 5000));
}
