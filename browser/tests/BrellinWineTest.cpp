// The browser library as the game client uses it: loaded by name, its five
// exports resolved, a panel browser created in a child window, loaded, moved,
// with its popup, navigation and error-page rules seen through the runtime's
// windows; and Shutdown ending a host process.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "Brellin.h"
#include "WinProbe.h"
#include "vcef/Vcef.h"

namespace {

typedef int(__cdecl* QueryFn)(const char*, char*, int);
typedef int(__cdecl* QueryBrowserFn)(HWND, const char*, char*, int);

struct Library {
  HMODULE module = nullptr;
  BrellinInitializeFn initialize = nullptr;
  BrellinCreateBrowserFn create = nullptr;
  BrellinLoadURLFn load = nullptr;
  BrellinMoveBrowseWindowFn move = nullptr;
  BrellinShutdownFn shutdown = nullptr;
  QueryFn query = nullptr;
  QueryBrowserFn queryBrowser = nullptr;
};

Library& Lib() {
  static Library lib = [] {
    Library l;
    l.module = LoadLibraryA("Brellin.dll");
    if (!l.module) return l;
    l.initialize = reinterpret_cast<BrellinInitializeFn>(GetProcAddress(l.module, "Initialize"));
    l.create = reinterpret_cast<BrellinCreateBrowserFn>(GetProcAddress(l.module, "CreateBrowser"));
    l.load = reinterpret_cast<BrellinLoadURLFn>(GetProcAddress(l.module, "LoadURL"));
    l.move = reinterpret_cast<BrellinMoveBrowseWindowFn>(GetProcAddress(l.module, "MoveBrowseWindow"));
    l.shutdown = reinterpret_cast<BrellinShutdownFn>(GetProcAddress(l.module, "Shutdown"));
    HMODULE runtime = GetModuleHandleA("libvcef.dll");
    if (runtime) {
      l.query = reinterpret_cast<QueryFn>(GetProcAddress(runtime, "vcef_query"));
      l.queryBrowser = reinterpret_cast<QueryBrowserFn>(GetProcAddress(runtime, "vcef_query_browser"));
    }
    return l;
  }();
  return lib;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Pumps this thread's messages until `done` holds or the time is up.
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 5000) {
  DWORD start = GetTickCount();
  for (;;) {
    Pump();
    if (done()) return true;
    if (GetTickCount() - start > ms) return false;
    Sleep(20);
  }
}

void PumpFor(DWORD ms) {
  WaitUntil([] { return false; }, ms);
}

std::string Record(const char* key) {
  char buf[2048];
  if (!Lib().query || Lib().query(key, buf, sizeof buf) < 0) return "<none>";
  return buf;
}

// Lines the library writes to the debugger's channel: the system raises them as an
// exception that a vectored handler sees before the system's own handling.
std::mutex g_debugMutex;
std::string g_debugLines;

LONG CALLBACK CatchDebugString(EXCEPTION_POINTERS* e) {
  const EXCEPTION_RECORD* r = e->ExceptionRecord;
  if (r->ExceptionCode == DBG_PRINTEXCEPTION_C && r->NumberParameters >= 2 && r->ExceptionInformation[1]) {
    std::lock_guard<std::mutex> lock(g_debugMutex);
    g_debugLines.append(reinterpret_cast<const char*>(r->ExceptionInformation[1]),
                        strnlen(reinterpret_cast<const char*>(r->ExceptionInformation[1]),
                                static_cast<size_t>(r->ExceptionInformation[0])));
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

std::string DebugLines() {
  std::lock_guard<std::mutex> lock(g_debugMutex);
  return g_debugLines;
}

int RecordInt(const char* key) {
  std::string v = Record(key);
  return v == "<none>" ? 0 : std::stoi(v);
}

std::string Page(HWND browser, const char* key) {
  char buf[8192];
  if (!Lib().queryBrowser || Lib().queryBrowser(browser, key, buf, sizeof buf) < 0) return "<none>";
  return buf;
}

std::vector<HWND> BrowserWindows(HWND parent) {
  std::vector<HWND> out;
  for (const auto& w : winprobe::ChildWindows(parent))
    if (w.className == vcef::kBrowserWindowClass) out.push_back(w.hwnd);
  return out;
}

std::vector<HWND> PopupWindows() {
  std::vector<HWND> out;
  for (const auto& w : winprobe::TopLevelWindows(GetCurrentProcessId()))
    if (w.className == vcef::kBrowserWindowClass) out.push_back(w.hwnd);
  return out;
}

std::string WindowText(HWND h) {
  char buf[4096] = {};
  GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

void SendCopy(HWND to, ULONG_PTR code, const std::string& text) {
  COPYDATASTRUCT cds{code, static_cast<DWORD>(text.size()), const_cast<char*>(text.data())};
  SendMessageA(to, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
}

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.find_last_of('\\'));
}

std::wstring Png(const char* name) {
  std::string s(name);
  return std::wstring(s.begin(), s.end());
}

// A window of another process is copied from the screen (it must be uncovered).
bool SaveScreenPng(HWND hwnd, const std::wstring& path) { return winprobe::SaveScreenArea(hwnd, path); }

std::vector<RECT> LinkRects(HWND browser) {
  std::vector<RECT> out;
  std::string s = Page(browser, "link_rects");
  size_t pos = 0;
  while (pos < s.size()) {
    RECT r{};
    if (sscanf(s.c_str() + pos, "%ld,%ld,%ld,%ld", &r.left, &r.top, &r.right, &r.bottom) != 4) break;
    out.push_back(r);
    size_t next = s.find(';', pos);
    if (next == std::string::npos) break;
    pos = next + 1;
  }
  return out;
}

void ClickLink(HWND browser, const RECT& r) {
  winprobe::ClickAt(browser, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

HWND MakeHost(const char* title, int x, int y, HWND* panel) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "BrellinTestWindow";
  RegisterClassA(&wc);
  HWND top = CreateWindowA("BrellinTestWindow", title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, x, y, 300,
                           420, nullptr, nullptr, wc.hInstance, nullptr);
  *panel = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 238, 350, top,
                         reinterpret_cast<HMENU>(100), wc.hInstance, nullptr);
  Pump();
  return top;
}

const char kFirstPage[] = "data:text/html,<title>Live panel</title><h2>Tonight's table</h2><p>Alice%20%26%20Bob</p>";

// ---- the library before and at initialisation ----------------------------------------

TEST(BrellinLibrary, LoadsByNameWithItsFiveExports) {
  Library& l = Lib();
  ASSERT_NE(l.module, nullptr) << "Brellin.dll did not load: " << GetLastError();
  EXPECT_NE(l.initialize, nullptr);
  EXPECT_NE(l.create, nullptr);
  EXPECT_NE(l.load, nullptr);
  EXPECT_NE(l.move, nullptr);
  EXPECT_NE(l.shutdown, nullptr);
  ASSERT_NE(l.query, nullptr);
  ASSERT_NE(l.queryBrowser, nullptr);
}

// The names in the loaded image's export table.
std::vector<std::string> ExportNames(HMODULE module, DWORD* functions) {
  std::vector<std::string> out;
  auto base = reinterpret_cast<const BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (!dir.VirtualAddress) return out;
  auto exp = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto names = reinterpret_cast<const DWORD*>(base + exp->AddressOfNames);
  for (DWORD i = 0; i < exp->NumberOfNames; ++i) out.push_back(reinterpret_cast<const char*>(base + names[i]));
  *functions = exp->NumberOfFunctions;
  return out;
}

TEST(BrellinLibrary, ExportsExactlyTheFiveCalls) {
  ASSERT_NE(Lib().module, nullptr);
  DWORD functions = 0;
  std::vector<std::string> names = ExportNames(Lib().module, &functions);
  EXPECT_EQ(functions, 5u);
  EXPECT_EQ(names,
            (std::vector<std::string>{"CreateBrowser", "Initialize", "LoadURL", "MoveBrowseWindow", "Shutdown"}));
}

TEST(BrellinLibrary, CallsBeforeInitializeDoNothing) {
  Library& l = Lib();
  ASSERT_NE(l.create, nullptr);
  HWND panel;
  HWND top = MakeHost("before init", 20, 20, &panel);
  l.create(panel, 0, 0, 238, 350, kFirstPage);
  l.load("http://example.com/");
  l.move(0, 0, 10, 10);
  PumpFor(300);
  EXPECT_TRUE(BrowserWindows(panel).empty());
  EXPECT_EQ(Record("initialize_calls"), "<none>");
  DestroyWindow(top);
}

TEST(BrellinLibrary, InitializesTheRuntimeOnceWithItsSettings) {
  Library& l = Lib();
  ASSERT_NE(l.initialize, nullptr);
  EXPECT_EQ(l.initialize(GetModuleHandleA(nullptr), "Vesk"), 1);
  EXPECT_EQ(l.initialize(GetModuleHandleA(nullptr), "Vesk"), 1);
  EXPECT_EQ(Record("initialize_calls"), "1");
  EXPECT_EQ(Record("subprocess"), ExeFolder() + "\\cefsimple.exe");
  EXPECT_EQ(Record("severity"), "99");
  EXPECT_EQ(Record("multithreaded"), "1");
  EXPECT_EQ(Record("switches"), "--force-device-scale-factor");
  std::string cache = Record("cache");
  const std::string tail = "\\AppData\\Local\\Vesk\\cache";
  ASSERT_GT(cache.size(), tail.size());
  EXPECT_EQ(cache.substr(cache.size() - tail.size()), tail);
  EXPECT_TRUE(WaitUntil([] { return Record("context_initialized") == "1"; }));

  // No browser yet: loading and moving do nothing.
  l.load("http://example.com/");
  l.move(0, 0, 100, 100);
  PumpFor(200);
  EXPECT_EQ(Record("browsers_created"), "<none>");
  EXPECT_EQ(Record("last_error"), "<none>");
}

// ---- one panel browser, driven through the exports ------------------------------------

class BrellinPanel : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Far enough right that the popup to the panel's left is on screen.
    top_ = MakeHost("Brellin panel test", 900, 30, &panel_);
    Lib().create(panel_, 0, 0, 238, 350, kFirstPage);
    WaitUntil([] { return BrowserWindows(panel_).size() == 1; });
    std::vector<HWND> found = BrowserWindows(panel_);
    browser_ = found.empty() ? nullptr : found[0];
  }
  static void TearDownTestSuite() { DestroyWindow(top_); }

  void SetUp() override {
    ASSERT_NE(Lib().initialize, nullptr);
    ASSERT_NE(browser_, nullptr) << "no browser window appeared in the panel";
  }

  // Loads through the export and waits until the page shows `address`.
  static bool LoadAndWait(const std::string& url, const std::string& address) {
    Lib().load(url.c_str());
    return WaitUntil([&] { return Page(browser_, "address") == address; });
  }

  static HWND top_, panel_, browser_;
};
HWND BrellinPanel::top_, BrellinPanel::panel_, BrellinPanel::browser_;

TEST_F(BrellinPanel, ChildBrowserShowsTheAddressAndPage) {
  ASSERT_TRUE(WaitUntil([] { return WindowText(browser_) == kFirstPage; }));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(browser_, GWL_STYLE)), 0x56010000u);
  EXPECT_EQ(GetParent(browser_), panel_);
  RECT r;
  GetClientRect(browser_, &r);
  EXPECT_EQ(r.right, 238);
  EXPECT_EQ(r.bottom, 350);
  EXPECT_EQ(Page(browser_, "title"), "Live panel");
  EXPECT_EQ(Page(browser_, "text"), "Tonight's table\nAlice & Bob");
  EXPECT_EQ(Record("browsers_created"), "1");
  PumpFor(200);
  EXPECT_TRUE(winprobe::SaveWindowPng(browser_, Png("brellin_panel.png")));
}

TEST_F(BrellinPanel, LoadURLShowsTheNewAddressAndMoveMovesIt) {
  const std::string url = "http://live.example.com/panel?user=a%20b&ticket=T1";
  ASSERT_TRUE(LoadAndWait(url, url));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(browser_) == url; }));
  EXPECT_EQ(Page(browser_, "title"), "live.example.com");

  Lib().move(12, 20, 212, 320);
  Pump();
  RECT r;
  GetWindowRect(browser_, &r);
  MapWindowPoints(nullptr, panel_, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 12);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 300);
  Lib().move(0, 0, 238, 350);
  Lib().load("");  // nothing to load: the page stays
  Lib().load(nullptr);
  PumpFor(200);
  EXPECT_EQ(Page(browser_, "address"), url);
  EXPECT_TRUE(winprobe::SaveWindowPng(browser_, Png("brellin_web_address.png")));
}

std::string WriteTestFile(const char* name, const std::string& bytes) {
  char dir[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, dir);
  std::string path = std::string(dir) + "\\" + name;
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return std::string();
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  std::string url = "file:///" + path;
  for (char& c : url)
    if (c == '\\') c = '/';
  return url;
}

TEST_F(BrellinPanel, LocalFilesShowTheirText) {
  // An HTML page in UTF-8 and a text file in GBK ("\xC5\xC6\xBE\xD6" means "card game").
  const std::string html = WriteTestFile("brellin_page.htm",
                                         "<html><head><title>Help</title></head><body><h2>How to play</h2>"
                                         "<p>Three players, one deck.</p></body></html>");
  ASSERT_FALSE(html.empty());
  ASSERT_TRUE(LoadAndWait(html, html));
  EXPECT_EQ(Page(browser_, "title"), "Help");
  EXPECT_EQ(Page(browser_, "text"), "How to play\nThree players, one deck.");

  const std::string text = WriteTestFile("brellin_notes.txt", "\xC5\xC6\xBE\xD6 1\r\n<b>not markup</b>");
  ASSERT_TRUE(LoadAndWait(text, text));
  EXPECT_EQ(Page(browser_, "title"), "brellin_notes.txt");
  EXPECT_EQ(Page(browser_, "text"), "\xC5\xC6\xBE\xD6 1\r\n<b>not markup</b>");
  UpdateWindow(browser_);
  EXPECT_TRUE(winprobe::SaveWindowPng(browser_, Png("brellin_local_text.png")));
}

TEST_F(BrellinPanel, FailedLoadShowsTheErrorPage) {
  const std::string url = "http://nowhere.invalid/live";
  ASSERT_TRUE(LoadAndWait(url, url));
  const std::string expected = "Failed to load URL " + url + " with error ERR_NAME_NOT_RESOLVED (-105).";
  EXPECT_TRUE(WaitUntil([&] { return Page(browser_, "text") == expected; })) << Page(browser_, "text");
  PumpFor(100);
  EXPECT_TRUE(winprobe::SaveWindowPng(browser_, Png("brellin_error_page.png")));

  // Markup in a failed address is shown as text, never as markup of the error page.
  const std::string hostile = "http://x.invalid/<b>bold</b>";
  ASSERT_TRUE(LoadAndWait(hostile, hostile));
  EXPECT_TRUE(WaitUntil([&] {
    return Page(browser_, "text") == "Failed to load URL " + hostile + " with error ERR_NAME_NOT_RESOLVED (-105).";
  })) << Page(browser_, "text");

  // A missing local file fails the same way.
  const std::string file = "file:///C:/no/such/page.htm";
  ASSERT_TRUE(LoadAndWait(file, file));
  EXPECT_TRUE(WaitUntil([&] {
    return Page(browser_, "text") == "Failed to load URL " + file + " with error ERR_FILE_NOT_FOUND (-6).";
  })) << Page(browser_, "text");
}

TEST_F(BrellinPanel, AbortedLoadKeepsThePage) {
  ASSERT_TRUE(LoadAndWait(kFirstPage, kFirstPage));
  // An address only the system handles is passed on and the load ends as aborted (-3).
  Lib().load("mailto:table@example.com");
  ASSERT_TRUE(WaitUntil([] { return Record("last_error") == "-3 mailto:table@example.com"; }));
  PumpFor(200);
  EXPECT_EQ(Record("os_protocol"), "mailto:table@example.com");
  EXPECT_EQ(Page(browser_, "address"), kFirstPage);
  EXPECT_EQ(Page(browser_, "text"), "Tonight's table\nAlice & Bob");
  // Any other handler the system knows is not started from a page: the load fails instead,
  // and the refusal is written to the debugger's channel.
  PVOID catcher = AddVectoredExceptionHandler(1, CatchDebugString);
  for (const char* other : {"steam://run/1", "ms-settings:network", "tel:+100"}) {
    Lib().load(other);
    ASSERT_TRUE(WaitUntil([other] { return Record("last_error") == std::string("-302 ") + other; }))
        << Record("last_error");
    EXPECT_EQ(Record("os_protocol"), "mailto:table@example.com") << other;
    EXPECT_NE(DebugLines().find(std::string("not handed to the system: ") + other), std::string::npos) << DebugLines();
  }
  RemoveVectoredExceptionHandler(catcher);
}

TEST_F(BrellinPanel, LobbyProtocolAndBackForwardAreRefused) {
  const std::string a = "http://a.example.com/", b = "http://b.example.com/";
  ASSERT_TRUE(LoadAndWait(a, a));
  ASSERT_TRUE(LoadAndWait(b, b));
  int cancelled = RecordInt("navigations_cancelled");
  struct Step {
    std::function<void()> act;
  } steps[] = {
      {[] { Lib().load("lobbyprotocol://joinroom?id=3"); }},
      {[] { SendCopy(browser_, vcef::kCopyNavigate, "LOBBYPROTOCOL://joinroom?id=4"); }},  // a link in the page
      {[] { SendCopy(browser_, vcef::kCopyBack, ""); }},
      {[] { PostMessageA(browser_, WM_KEYDOWN, VK_BACK, 0); }},
  };
  for (const Step& s : steps) {
    s.act();
    ASSERT_TRUE(WaitUntil([&] { return RecordInt("navigations_cancelled") == cancelled + 1; }));
    ++cancelled;
    EXPECT_EQ(Page(browser_, "address"), b);
  }
  // Forward: step back inside the runtime's history is refused, so there is nothing ahead.
  SendCopy(browser_, vcef::kCopyForward, "");
  PumpFor(200);
  EXPECT_EQ(Page(browser_, "address"), b);
  // An ordinary link is followed.
  SendCopy(browser_, vcef::kCopyNavigate, a);
  EXPECT_TRUE(WaitUntil([&] { return Page(browser_, "address") == a; }));
}

TEST_F(BrellinPanel, ClickedLinksFollowTheSameRules) {
  const std::string page =
      "data:text/html,<title>Links</title><p>Pick%20one</p>"
      "<a href='lobbyprotocol://join?room=7'>Join room 7</a><a href='http://next.example.com/'>Next page</a>";
  ASSERT_TRUE(LoadAndWait(page, page));
  UpdateWindow(browser_);
  std::vector<RECT> links;
  ASSERT_TRUE(WaitUntil([&] {
    links = LinkRects(browser_);
    return links.size() == 2;
  })) << Page(browser_, "link_rects");
  EXPECT_TRUE(winprobe::SaveWindowPng(browser_, Png("brellin_links.png")));
  int cancelled = RecordInt("navigations_cancelled");
  ClickLink(browser_, links[0]);
  ASSERT_TRUE(WaitUntil([&] { return RecordInt("navigations_cancelled") == cancelled + 1; }));
  EXPECT_EQ(Page(browser_, "address"), page);
  ClickLink(browser_, links[1]);
  EXPECT_TRUE(WaitUntil([&] { return Page(browser_, "address") == "http://next.example.com/"; }));
}

TEST_F(BrellinPanel, OnePopupAtATimeLeftOfThePanel) {
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1366);
  ASSERT_TRUE(PopupWindows().empty());
  RECT panelRect;
  GetWindowRect(browser_, &panelRect);
  // A link with target=_blank asks for a new window.
  const std::string page =
      "data:text/html,<title>Panel</title><p>Table%20rules:</p>"
      "<a href='http://rules.example.com/' target='_blank'>Open the rules</a>";
  ASSERT_TRUE(LoadAndWait(page, page));
  UpdateWindow(browser_);
  std::vector<RECT> links;
  ASSERT_TRUE(WaitUntil([&] {
    links = LinkRects(browser_);
    return links.size() == 1;
  }));
  ClickLink(browser_, links[0]);
  ASSERT_TRUE(WaitUntil([] { return PopupWindows().size() == 1; }));
  HWND popup = PopupWindows()[0];
  ASSERT_TRUE(WaitUntil([&] { return Page(popup, "title") == "rules.example.com"; }));
  PumpFor(100);
  RECT r;
  GetWindowRect(popup, &r);
  EXPECT_EQ(r.left, panelRect.left - 820);
  EXPECT_EQ(r.top, panelRect.top + 309);
  EXPECT_EQ(r.right - r.left, 820);
  EXPECT_EQ(r.bottom - r.top, 619);
  EXPECT_TRUE(GetWindowLongA(popup, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(Page(popup, "popup"), "1");
  // The panel keeps its own size when a page title changes.
  RECT panelNow;
  GetClientRect(browser_, &panelNow);
  EXPECT_EQ(panelNow.right, 238);
  EXPECT_EQ(panelNow.bottom, 350);
  EXPECT_TRUE(winprobe::SaveWindowPng(popup, Png("brellin_popup.png")));

  int refused = RecordInt("popups_refused");
  SendCopy(browser_, vcef::kCopyPopup, "http://second.example.com/");
  EXPECT_TRUE(WaitUntil([&] { return RecordInt("popups_refused") == refused + 1; }));
  EXPECT_EQ(PopupWindows().size(), 1u);

  // Once the popup is closed a new one may open.
  PostMessageA(popup, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(popup); }));
  SendCopy(browser_, vcef::kCopyPopup, "http://third.example.com/");
  ASSERT_TRUE(WaitUntil([] { return PopupWindows().size() == 1; }));
  HWND third = PopupWindows()[0];
  EXPECT_TRUE(WaitUntil([&] { return Page(third, "address") == "http://third.example.com/"; }));
  PostMessageA(third, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(third); }));
  // The panel is still the first browser: LoadURL still reaches it.
  EXPECT_TRUE(LoadAndWait("http://back.example.com/", "http://back.example.com/"));
}

// ---- Shutdown, seen from outside the host process ---------------------------------------

TEST(BrellinProcess, ShutdownEndsTheHostProcessWithCodeZero) {
  // "今晚的牌局" in UTF-8, as a page would send it.
  const std::string first =
      "data:text/html;charset=utf-8,<title>Host</title><h2>%E4%BB%8A%E6%99%9A%E7%9A%84%E7%89%8C%E5%B1%80</h2>"
      "<p>Live%20panel%20in%20a%20child%20process</p>";
  std::string cmd = "\"" + ExeFolder() + "\\BrellinTestHost.exe\" \"" + first + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, ExeFolder().c_str(), &si, &pi));
  HWND host = winprobe::WaitForWindow("Brellin test host", pi.dwProcessId, 15000);
  if (!host) {
    TerminateProcess(pi.hProcess, 99);
    DWORD code = 0;
    WaitForSingleObject(pi.hProcess, 5000);
    GetExitCodeProcess(pi.hProcess, &code);
    FAIL() << "host window did not appear; host exit code " << code;
  }
  HWND browser = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const auto& w : winprobe::ChildWindows(host))
          if (w.className == vcef::kBrowserWindowClass && w.text == first) browser = w.hwnd;
        return browser != nullptr;
      },
      10000));

  EXPECT_TRUE(SaveScreenPng(host, Png("brellin_host_first_page.png")));

  const std::string next = "http://live.example.com/panel?ticket=42";
  COPYDATASTRUCT load{1, static_cast<DWORD>(next.size()), const_cast<char*>(next.data())};
  SendMessageA(host, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&load));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(browser) == next; }));

  int rect[4] = {5, 6, 205, 306};
  COPYDATASTRUCT move{2, sizeof rect, rect};
  SendMessageA(host, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&move));
  RECT r;
  GetWindowRect(browser, &r);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 300);
  EXPECT_TRUE(SaveScreenPng(host, Png("brellin_host_process.png")));

  PostMessageA(host, WM_APP + 3, 0, 0);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 1234;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u) << "7: the host ended on its own; 9: Shutdown returned";
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
