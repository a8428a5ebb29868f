// The services under Wine: the game log's file and lock, the named-mutex guard, the ticket
// request against the native table server, and the ticker strip driven through its timers.
#include <gtest/gtest.h>

#include "GameSocket.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "LogFile.h"
#include "MutexGuard.h"
#include "Ticket.h"
#include "TickerDlg.h"
#include "WinProbe.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream s(text);
  std::string l;
  while (std::getline(s, l)) out.push_back(l);
  return out;
}

std::string TempPath(const char* name) {
  char dir[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, dir);
  std::string p = std::string(dir) + "\\" + name;
  ::DeleteFileA(p.c_str());
  return p;
}

TEST(LogFile, ClosedLogWritesNothing) {
  CLogFile log;
  EXPECT_EQ(log.Write("early"), 0);
  EXPECT_EQ(log.Open(), 0);  // no path yet
  EXPECT_FALSE(log.IsOpen());
  std::string path = TempPath("closed_log.txt");
  log.SetPath(path.c_str());
  ASSERT_EQ(log.Open(), 1);
  EXPECT_EQ(log.Open(), 1);  // already open: no second start line
  EXPECT_EQ(log.Write("n=%d", 5), 1);
  EXPECT_EQ(log.Close(), 1);
  EXPECT_EQ(log.Write("late"), 0);
  auto lines = Lines(ReadFile(path));
  ASSERT_EQ(lines.size(), 3u);
  const std::regex line(R"((\d\d/\d\d/\d\d) (\d\d:\d\d:\d\d) ([0-9a-f]{8}):(\d+) (.*))");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(lines[0], m, line)) << lines[0];
  EXPECT_EQ(m[3].str(), [] {
    char b[16];
    snprintf(b, sizeof b, "%08x", unsigned(::GetCurrentProcessId()));
    return std::string(b);
  }());
  EXPECT_EQ(m[4].str(), "1");
  EXPECT_EQ(m[5].str(), "StartLog------------------------");
  ASSERT_TRUE(std::regex_match(lines[1], m, line));
  EXPECT_EQ(m[4].str() + " " + m[5].str(), "2 n=5");
  ASSERT_TRUE(std::regex_match(lines[2], m, line));
  EXPECT_EQ(m[5].str(), "EndLog--------------------------");
}

TEST(LogFile, AppendsAcrossObjectsAndCutsLongMessages) {
  std::string path = TempPath("append_log.txt");
  {
    CLogFile log;
    log.SetPath(path.c_str());
    log.Open();
    log.Write("%s", std::string(5000, 'z').c_str());
  }  // the destructor closes
  {
    CLogFile log;
    log.SetPath(path.c_str());
    log.Open();
  }
  auto lines = Lines(ReadFile(path));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_NE(lines[1].find(std::string(1023, 'z')), std::string::npos);
  EXPECT_EQ(lines[1].find(std::string(1024, 'z')), std::string::npos);
  EXPECT_NE(lines[2].find("EndLog"), std::string::npos);
  EXPECT_NE(lines[3].find(":1 StartLog"), std::string::npos);  // the counter starts again
}

TEST(LogFile, CounterCountsLinesThatCannotBeWritten) {
  CLogFile log;
  log.SetPath("Z:\\no\\such\\folder\\log.txt");
  ASSERT_EQ(log.Open(), 1);
  EXPECT_EQ(log.Write("lost"), 0);
  EXPECT_EQ(log.GetLineCount(), 2);
}

TEST(LogFile, ThreadsWriteWholeLines) {
  std::string path = TempPath("threads_log.txt");
  CLogFile log;
  log.SetPath(path.c_str());
  log.Open();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&log, t] {
      for (int i = 0; i < 50; ++i) log.Write("thread %d line %d %s", t, i, std::string(200, char('a' + t)).c_str());
    });
  for (auto& th : threads) th.join();
  log.Close();
  auto lines = Lines(ReadFile(path));
  ASSERT_EQ(lines.size(), 202u);
  std::vector<bool> seen(203, false);
  const std::regex whole(R"(\S+ \S+ [0-9a-f]{8}:(\d+) (thread (\d) line \d+ ([a-d]{200})|StartLog-+|EndLog-+))");
  for (const auto& l : lines) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(l, m, whole)) << l.substr(0, 80);
    int n = atoi(m[1].str().c_str());
    ASSERT_TRUE(n >= 1 && n <= 202);
    EXPECT_FALSE(seen[n]) << n;
    seen[n] = true;
  }
}

// Several logs of one file (as the programs at one table write it) at the same moment: no
// line overwrites another.
TEST(LogFile, WritersOfOneFileLoseNoLine) {
  std::string path = TempPath("writers_log.txt");
  const int kWriters = 4, kLines = 1500;
  CLogFile logs[kWriters];
  for (CLogFile& log : logs) {
    log.SetPath(path.c_str());
    log.Open();
  }
  std::vector<std::thread> threads;
  for (CLogFile& log : logs)
    threads.emplace_back([&log] {
      for (int i = 0; i < kLines; ++i) log.Write("writer line %d", i);
    });
  for (auto& th : threads) th.join();
  auto lines = Lines(ReadFile(path));
  EXPECT_EQ(lines.size(), size_t(kWriters * (kLines + 1))) << "a start line and the lines of each";
  for (const auto& l : lines)
    EXPECT_TRUE(l.find("writer line") != std::string::npos || l.find("StartLog") != std::string::npos) << l;
}

TEST(MutexGuard, SecondOwnerTimesOutAndAbandonedIsAcquired) {
  const char* name = "VeskServicesTestMutex";
  {
    CMutexGuard first(name);
    ASSERT_TRUE(first.IsAcquired());
    BOOL other = TRUE;
    DWORD waited = 0;
    std::thread t([&] {
      DWORD start = ::GetTickCount();
      CMutexGuard second(name);
      waited = ::GetTickCount() - start;
      other = second.IsAcquired();
    });
    t.join();
    EXPECT_FALSE(other);
    EXPECT_GE(waited, 1900u);
    EXPECT_NE(first.Release(), 0);
    EXPECT_EQ(first.Release(), 0);  // no handle any more
  }
  // An owner thread that ends without releasing leaves the mutex abandoned: still acquired.
  std::thread owner([&] {
    HANDLE h = ::CreateMutexA(nullptr, TRUE, name);
    (void)h;  // left open and owned on purpose
  });
  owner.join();
  CMutexGuard after(name, 500);
  EXPECT_TRUE(after.IsAcquired());
}

// The other process of the next test (disabled: only that test runs it): holds the mutex
// until the parent has tried it.
TEST(MutexGuardChild, DISABLED_HoldForParent) {
  CMutexGuard hold("VeskServicesCrossMutex");
  ASSERT_TRUE(hold.IsAcquired());
  HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, "VeskServicesChildReady");
  HANDLE go = ::OpenEventA(SYNCHRONIZE, FALSE, "VeskServicesChildGo");
  ASSERT_TRUE(ready && go);
  ::SetEvent(ready);
  ::WaitForSingleObject(go, 20000);
  ::CloseHandle(ready);
  ::CloseHandle(go);
}

TEST(MutexGuard, CrossProcess) {
  HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, "VeskServicesChildReady");
  HANDLE go = ::CreateEventA(nullptr, TRUE, FALSE, "VeskServicesChildGo");
  char exe[MAX_PATH];
  ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string cmd = std::string("\"") + exe + "\" --gtest_filter=MutexGuardChild.* --gtest_also_run_disabled_tests";
  ::SetEnvironmentVariableA("VESK_MUTEX_CHILD", "1");
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  BOOL started = ::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  ::SetEnvironmentVariableA("VESK_MUTEX_CHILD", nullptr);
  ASSERT_TRUE(started);
  ASSERT_EQ(::WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);
  DWORD start = ::GetTickCount();
  {
    CMutexGuard second("VeskServicesCrossMutex");
    EXPECT_FALSE(second.IsAcquired());
    EXPECT_GE(::GetTickCount() - start, 1900u);
  }
  ::SetEvent(go);
  EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  {
    CMutexGuard after("VeskServicesCrossMutex");
    EXPECT_TRUE(after.IsAcquired());
  }
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  ::CloseHandle(ready);
  ::CloseHandle(go);
}

int Peer(const char* name) {
  const char* v = getenv(name);
  return v ? atoi(v) : 0;
}

TEST(Ticket, RequestAndReplies) {
  if (!Peer("VESK_PEER_TICKET")) GTEST_FAIL() << "the native table server did not start";
  CGameSocket::InitSockets();
  TICKET_RESULT r;
  EXPECT_EQ(GetTicket("127.0.0.1", Peer("VESK_PEER_TICKET"), "bob", "panel", &r), TICKET_OK);
  EXPECT_EQ(r.nTicket, 12345);
  EXPECT_EQ(r.strTicket, "tik-abc");
  EXPECT_TRUE(GetTicketOk("127.0.0.1", Peer("VESK_PEER_TICKET"), "bob", "panel", &r));

  // The echo peer answers with the request body: user name in 20 bytes cut to 19, then the text.
  TICKET_RESULT echo;
  ASSERT_EQ(GetTicket("127.0.0.1", Peer("VESK_PEER_ECHO"), "abcdefghijklmnopqrstuvwxyz", "tx", &echo), TICKET_OK);
  EXPECT_EQ(echo.nTicket, int('a' | 'b' << 8 | 'c' << 16 | 'd' << 24));
  EXPECT_EQ(echo.strTicket, "efghijklmnopqrs");

  struct Case {
    const char* what;
    const char* host;
    int port;
    int code;
  } cases[] = {
      {"status 2", "127.0.0.1", Peer("VESK_PEER_REFUSED"), TICKET_BAD_REPLY},
      {"body too short, then closed", "127.0.0.1", Peer("VESK_PEER_CLOSED"), TICKET_BAD_REPLY},
      {"empty host", "", Peer("VESK_PEER_TICKET"), TICKET_BAD_REQUEST},
      {"port 0", "127.0.0.1", 0, TICKET_BAD_REQUEST},
  };
  for (const auto& c : cases) {
    TICKET_RESULT none;
    EXPECT_EQ(GetTicket(c.host, UINT(c.port), "bob", "panel", &none), c.code) << c.what;
    EXPECT_EQ(none.nTicket, 0) << c.what;
    EXPECT_FALSE(GetTicketOk(c.host, UINT(c.port), "bob", "panel", &none)) << c.what;
  }
}

TEST(Ticket, NothingListening) {
  CGameSocket::InitSockets();
  // A port just released: nobody listens there.
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  int len = sizeof a;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  ::closesocket(s);
  TICKET_RESULT r;
  EXPECT_EQ(GetTicket("127.0.0.1", ntohs(a.sin_port), "bob", "panel", &r), TICKET_NO_CONNECTION);
}

// ---- ticker ----

struct TickerHost {
  HWND parent = nullptr;
  CWnd wrapper;
  TickerHost() {
    parent = ::CreateWindowExA(0, "STATIC", "table", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 200, nullptr,
                               nullptr, ::GetModuleHandleA(nullptr), nullptr);
    wrapper.Attach(parent);
  }
  ~TickerHost() {
    wrapper.Detach();
    ::DestroyWindow(parent);
  }
};

int Height(HWND w) {
  RECT r;
  ::GetWindowRect(w, &r);
  return r.bottom - r.top;
}

// One elapse of the strip's running timer, as the message loop would deliver it.
void Elapse(CTickerDlg& t) { ::SendMessageA(t.m_hWnd, WM_TIMER, WPARAM(t.GetActiveTimer()), 0); }

TEST(Ticker, RollsOpenScrollsAndRollsClosed) {
  TickerHost host;
  CTickerDlg ticker;
  ASSERT_TRUE(ticker.Create(&host.wrapper, 10, 20, 300, 20));
  EXPECT_EQ(Height(ticker.m_hWnd), 0);
  EXPECT_EQ(ticker.GetActiveTimer(), 1);
  Elapse(ticker);  // an empty queue keeps it closed
  EXPECT_EQ(Height(ticker.m_hWnd), 0);

  ticker.AddLine("\xC8\xB7\xB6\xA8 hello ticker", 200);  // "确定 hello ticker"
  ticker.AddLine("second line", 11);
  Elapse(ticker);
  EXPECT_EQ(ticker.GetActiveTimer(), 2);
  while (ticker.GetActiveTimer() == 2) Elapse(ticker);
  EXPECT_EQ(Height(ticker.m_hWnd), 20);
  RECT r;
  ::GetWindowRect(ticker.m_hWnd, &r);
  POINT p = {r.left, r.top};
  ::ScreenToClient(host.parent, &p);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 20);
  EXPECT_EQ(r.right - r.left, 300);

  const int lineWidth = ticker.GetMotion()->Line().nWidth;
  EXPECT_GT(lineWidth, 40);
  for (int i = 0; i < 150; ++i) Elapse(ticker);
  // Mid-scroll: blue strip with red text starting 150 pixels from the right edge.
  HDC dc = ticker.GetStripDC();
  {
    HDC copy = ::CreateCompatibleDC(dc);
    HBITMAP bmp = ::CreateCompatibleBitmap(dc, 300, 20);
    HGDIOBJ old = ::SelectObject(copy, bmp);
    ::BitBlt(copy, 0, 0, 300, 20, dc, 0, 0, SRCCOPY);
    ::SelectObject(copy, old);
    winprobe::SaveBitmapPng(bmp, L"ticker_scrolling.png");
    ::DeleteObject(bmp);
    ::DeleteDC(copy);
  }
  EXPECT_EQ(::GetPixel(dc, 5, 2), RGB(0, 0, 255));
  int red = 0;
  for (int x = 150; x < 300; ++x)
    for (int y = 0; y < 20; ++y) red += ::GetPixel(dc, x, y) == RGB(255, 0, 0);
  int redLeft = 0;
  for (int x = 0; x < 148; ++x)
    for (int y = 0; y < 20; ++y) redLeft += ::GetPixel(dc, x, y) == RGB(255, 0, 0);
  EXPECT_GT(red, 20);
  EXPECT_EQ(redLeft, 0);

  // The first line leaves after width + its width elapses; the second follows without closing.
  int scrolled = 150;
  while (ticker.GetMotion()->Line().text != "second line") {
    ASSERT_EQ(ticker.GetActiveTimer(), 4);
    Elapse(ticker);
    ++scrolled;
  }
  EXPECT_EQ(scrolled, 300 + lineWidth);
  EXPECT_EQ(Height(ticker.m_hWnd), 20);
  while (ticker.GetActiveTimer() == 4) Elapse(ticker);
  EXPECT_EQ(ticker.GetActiveTimer(), 3);
  while (ticker.GetActiveTimer() == 3) Elapse(ticker);
  EXPECT_EQ(Height(ticker.m_hWnd), 0);
  EXPECT_EQ(ticker.GetActiveTimer(), 1);
}

TEST(Ticker, LinesFromOtherThreadsAndDestroyWithQueue) {
  TickerHost host;
  auto* ticker = new CTickerDlg;
  ASSERT_TRUE(ticker->Create(&host.wrapper, 0, 0, 200, 18));
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([ticker] {
      for (int i = 0; i < 20; ++i) ticker->AddLine("from a worker", 13);
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(ticker->GetQueuedCount(), 60u);
  std::string huge(5000, 'w');
  ticker->AddLine(huge.c_str(), int(huge.size()));
  // Real timers run it for a moment; then the window goes with lines still queued.
  DWORD end = ::GetTickCount() + 1300;
  MSG msg;
  while (::GetTickCount() < end) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::Sleep(5);
  }
  EXPECT_NE(ticker->GetActiveTimer(), 1);
  EXPECT_GT(Height(ticker->m_hWnd), 0);
  delete ticker;
}

}  // namespace
