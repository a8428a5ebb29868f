// The browser runtime stand-in: one UI thread of its own (the multi-threaded
// message loop), browser windows that show the address bar and a plain
// rendering of the page, and the handler calls a browser makes while it loads,
// opens popups and closes. No subprocess is started; what the host asked for is
// recorded and can be read back with vcef_query.
#define VCEF_BUILDING
#include "vcef/Vcef.h"

#include <algorithm>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "PageFetch.h"
#include "PageText.h"
#include "PlainPage.h"

namespace vcef {
namespace {

HINSTANCE g_module = nullptr;
constexpr UINT kRunTask = WM_APP + 1;
constexpr char kTaskWindowClass[] = "VcefTaskWindow";
constexpr size_t kMaxCopyData = 8192;

// ---- record of what the runtime was given ------------------------------------

std::mutex g_recordMutex;
std::map<std::string, std::string> g_record;

void RecordSet(const std::string& key, const std::string& value) {
  std::lock_guard<std::mutex> lock(g_recordMutex);
  g_record[key] = value;
}

void RecordCount(const std::string& key) {
  std::lock_guard<std::mutex> lock(g_recordMutex);
  std::string& v = g_record[key];
  v = std::to_string(v.empty() ? 1 : std::stoi(v) + 1);
}

int CopyOut(const std::string& value, char* buf, int size) {
  if (buf && size > 0) {
    size_t n = value.size() < static_cast<size_t>(size - 1) ? value.size() : static_cast<size_t>(size - 1);
    memcpy(buf, value.data(), n);
    buf[n] = '\0';
  }
  return static_cast<int>(value.size());
}

// ---- small runtime objects ----------------------------------------------------

class CommandLineImpl : public CommandLine {
 public:
  void AppendSwitch(const String& name) override { switches_.push_back("--" + name.ToString()); }
  void AppendSwitchWithValue(const String& name, const String& value) override {
    switches_.push_back("--" + name.ToString() + "=" + value.ToString());
  }
  bool HasSwitch(const String& name) override {
    for (const std::string& s : switches_)
      if (s == "--" + name.ToString() || s.rfind("--" + name.ToString() + "=", 0) == 0) return true;
    return false;
  }
  std::string Joined() const {
    std::string out;
    for (const std::string& s : switches_) out += (out.empty() ? "" : " ") + s;
    return out;
  }

 private:
  std::vector<std::string> switches_;
  VCEF_IMPLEMENT_REFCOUNTING(CommandLineImpl);
};

class RequestImpl : public Request {
 public:
  RequestImpl(const std::string& url, unsigned transition) : url_(url), transition_(transition) {}
  const String& GetURL() override { return url_; }
  unsigned GetTransitionType() override { return transition_; }

 private:
  String url_;
  unsigned transition_;
  VCEF_IMPLEMENT_REFCOUNTING(RequestImpl);
};

// ---- the runtime's UI thread --------------------------------------------------

struct Runtime {
  std::mutex mutex;
  bool initialized = false;
  HANDLE thread = nullptr;
  DWORD threadId = 0;
  HWND taskWindow = nullptr;
  HANDLE ready = nullptr;
  RefPtr<App> app;
  int nextId = 1;
};
Runtime g_rt;

// Runs `task` on the UI thread; false when the runtime is not running.
bool PostTask(std::function<void()> task) {
  HWND target;
  {
    std::lock_guard<std::mutex> lock(g_rt.mutex);
    target = g_rt.taskWindow;
  }
  if (!target) return false;
  auto* heap = new std::function<void()>(std::move(task));
  if (!PostMessageA(target, kRunTask, 0, reinterpret_cast<LPARAM>(heap))) {
    delete heap;
    return false;
  }
  return true;
}

const char* ErrorName(int code) {
  switch (code) {
    case ERR_ABORTED:
      return "ERR_ABORTED";
    case ERR_FILE_NOT_FOUND:
      return "ERR_FILE_NOT_FOUND";
    case ERR_ACCESS_DENIED:
      return "ERR_ACCESS_DENIED";
    case ERR_NAME_NOT_RESOLVED:
      return "ERR_NAME_NOT_RESOLVED";
    case ERR_INVALID_URL:
      return "ERR_INVALID_URL";
    case ERR_UNKNOWN_URL_SCHEME:
      return "ERR_UNKNOWN_URL_SCHEME";
    default:
      return "ERR_FAILED";
  }
}

Fetched FetchPage(const std::string& url) {
  Fetched f;
  UrlParts p = SplitUrl(url);
  if (!p.valid) {
    f.code = ERR_INVALID_URL;
  } else if (p.scheme == "about") {
    if (p.rest != "blank") f.code = ERR_INVALID_URL;
    f.mime = "text/html";
  } else if (p.scheme == "data") {
    if (!DecodeDataUrl(url, &f.mime, &f.body)) f.code = ERR_INVALID_URL;
  } else if (p.scheme == "file") {
    std::string path;
    if (!FileUrlToPath(url, &path)) {
      f.code = ERR_INVALID_URL;
    } else {
      f = ReadLocalFile(path);
    }
  } else if (p.scheme == "http" || p.scheme == "https") {
    // Web pages are fetched through WinINet.
    // Hosts under the reserved name "invalid" fail as a lookup would.
    const std::string& host = p.host;
    if (host.empty()) {
      f.code = ERR_INVALID_URL;
    } else if (host == "invalid" || (host.size() > 8 && host.compare(host.size() - 8, 8, ".invalid") == 0)) {
      f.code = ERR_NAME_NOT_RESOLVED;
    } else if (!FetchHttp(url, &f)) {
      // A server that cannot be reached shows the address with a note, as before.
      f.mime = "text/plain";
      f.body = "(web page; its content could not be fetched)";
    }
  } else {
    f.needsProtocolHandler = true;
  }
  return f;
}

// ---- browsers -----------------------------------------------------------------

class BrowserImpl;
std::map<HWND, RefPtr<BrowserImpl>> g_browsers;  // guarded by g_rt.mutex

enum class History { kPush, kBack, kForward, kReplaceSame };

class BrowserImpl : public Browser, public BrowserHost, public Frame {
 public:
  BrowserImpl(int id, RefPtr<Client> client, bool popup) : id_(id), client_(client), popup_(popup) {}

  // Browser
  RefPtr<BrowserHost> GetHost() override { return this; }
  RefPtr<Frame> GetMainFrame() override { return this; }
  int GetIdentifier() override { return id_; }
  bool IsSame(RefPtr<Browser> that) override { return that.get() == static_cast<Browser*>(this); }
  bool IsPopup() override { return popup_; }
  bool CanGoBack() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return historyIndex_ > 0;
  }
  bool CanGoForward() override {
    std::lock_guard<std::mutex> lock(mutex_);
    return historyIndex_ + 1 < history_.size();
  }
  void GoBack() override { Step(-1); }
  void GoForward() override { Step(1); }

  // BrowserHost
  RefPtr<Browser> GetBrowser() override { return this; }
  HWND GetWindowHandle() override { return hwnd_; }
  void CloseBrowser(bool force) override {
    RefPtr<BrowserImpl> self(this);
    PostTask([self, force] {
      if (!self->hwnd_) return;
      if (force)
        DestroyWindow(self->hwnd_);
      else
        SendMessageA(self->hwnd_, WM_CLOSE, 0, 0);
    });
  }

  // Frame
  bool IsMain() override { return true; }
  void LoadURL(const String& url) override {
    RefPtr<BrowserImpl> self(this);
    std::string u = url.ToString();
    PostTask([self, u] { self->Navigate(u, TT_EXPLICIT, false, History::kPush); });
  }
  void LoadHtml(const String& html, const String& url) override {
    RefPtr<BrowserImpl> self(this);
    std::string h = html.ToString(), u = url.ToString();
    PostTask([self, h, u] { self->Commit(u, "text/html", h, History::kReplaceSame); });
  }
  const String& GetURL() override { return committedUrl_; }

  // UI thread -------------------------------------------------------------------

  bool CreateWindowFor(const WindowInfo& wi) {
    DWORD style = wi.style ? wi.style : (WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    DWORD ex = wi.ex_style;
    int x = wi.x, y = wi.y, w = wi.width, h = wi.height;
    if (style & WS_CHILD) {
      ex |= WS_EX_NOPARENTNOTIFY;
      if (x == CW_USEDEFAULT) x = 0;
      if (y == CW_USEDEFAULT) y = 0;
      if (w == CW_USEDEFAULT) w = 0;
      if (h == CW_USEDEFAULT) h = 0;
    }
    if (w != CW_USEDEFAULT && w < 0) w = 0;
    if (h != CW_USEDEFAULT && h < 0) h = 0;
    HWND hwnd = CreateWindowExA(ex, kBrowserWindowClass, wi.window_name.c_str(), style, x, y, w, h, wi.parent_window,
                                nullptr, g_module, this);
    return hwnd != nullptr;
  }

  void Navigate(const std::string& url, unsigned transition, bool gesture, History mode) {
    RefPtr<RequestImpl> request(new RequestImpl(url, transition));
    RefPtr<RequestHandler> rh = client_ ? client_->GetRequestHandler() : nullptr;
    if (rh && rh->OnBeforeBrowse(this, this, request, gesture, false)) {
      RecordSet("last_cancelled", url);
      RecordCount("navigations_cancelled");
      return;
    }
    RefPtr<LoadHandler> lh = client_ ? client_->GetLoadHandler() : nullptr;
    if (lh) lh->OnLoadStart(this, this);
    if (rh && rh->OnBeforeResourceLoad(this, this, request, nullptr) == RV_CANCEL) {
      Fail(url, ERR_ABORTED, mode);
      return;
    }
    Fetched f = FetchPage(url);
    if (f.needsProtocolHandler) {
      bool allow = false;
      if (rh) rh->OnProtocolExecution(this, url, allow);
      if (allow) RecordSet("os_protocol", url);  // handed to the system: the page stays
      Fail(url, allow ? ERR_ABORTED : ERR_UNKNOWN_URL_SCHEME, mode);
      return;
    }
    if (f.code != ERR_NONE) {
      Fail(url, f.code, mode);
      return;
    }
    Commit(url, ContentType(f), f.body, mode);
    if (lh) lh->OnLoadEnd(this, this, 200);
  }

  void Fail(const std::string& url, int code, History mode) {
    // An aborted load commits nothing: the page that was shown stays.
    if (code != ERR_ABORTED)
      Commit(url, "text/plain", std::string("This page could not be loaded.\n") + ErrorName(code), mode);
    RecordSet("last_error", std::to_string(code) + " " + url);
    RefPtr<LoadHandler> lh = client_ ? client_->GetLoadHandler() : nullptr;
    if (lh) lh->OnLoadError(this, this, static_cast<ErrorCode>(code), ErrorName(code), url);
  }

  void Commit(const std::string& url, const std::string& mime, const std::string& body, History mode) {
    PlainPage page = MakePlainPage(url, mime, body);
    const std::string& title = page.title;
    bool titleChanged;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      switch (mode) {
        case History::kBack:
          if (historyIndex_ > 0) --historyIndex_;
          break;
        case History::kForward:
          if (historyIndex_ + 1 < history_.size()) ++historyIndex_;
          break;
        case History::kReplaceSame:
          if (!history_.empty() && history_[historyIndex_] == url) break;
          [[fallthrough]];  // a new address is a new entry
        case History::kPush:
          if (!history_.empty()) history_.resize(historyIndex_ + 1);
          history_.push_back(url);
          historyIndex_ = history_.size() - 1;
          break;
      }
      titleChanged = title != page_.title;
      page_ = page;
    }
    committedUrl_ = url;
    if (hwnd_) {
      SetWindowTextA(hwnd_, url.c_str());
      InvalidateRect(hwnd_, nullptr, TRUE);
    }
    RefPtr<DisplayHandler> dh = client_ ? client_->GetDisplayHandler() : nullptr;
    if (dh) {
      dh->OnAddressChange(this, this, url);
      if (titleChanged) dh->OnTitleChange(this, title);
    }
  }

  void Step(int delta) {
    RefPtr<BrowserImpl> self(this);
    PostTask([self, delta] {
      std::string target;
      {
        std::lock_guard<std::mutex> lock(self->mutex_);
        size_t i = self->historyIndex_;
        if (delta < 0 && i > 0) target = self->history_[i - 1];
        if (delta > 0 && i + 1 < self->history_.size()) target = self->history_[i + 1];
      }
      if (target.empty()) return;
      self->Navigate(target, TT_EXPLICIT | TT_FORWARD_BACK_FLAG, true, delta < 0 ? History::kBack : History::kForward);
    });
  }

  void OpenPopup(const std::string& url);

  std::string Query(const std::string& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (key == "address") return page_.address;
    if (key == "title") return page_.title;
    if (key == "text") return page_.text;
    if (key == "popup") return popup_ ? "1" : "0";
    if (key == "link_rects") {
      std::string out;
      for (const auto& e : linkRects_)
        out += (out.empty() ? "" : ";") + std::to_string(e.first.left) + "," + std::to_string(e.first.top) + "," +
               std::to_string(e.first.right) + "," + std::to_string(e.first.bottom);
      return out;
    }
    if (key == "links") {
      std::string out;
      for (const PageLink& l : page_.links) out += (out.empty() ? "" : "\n") + l.href;
      return out;
    }
    if (key == "history")
      return std::to_string(historyIndex_ + (history_.empty() ? 0 : 1)) + "/" + std::to_string(history_.size());
    return "\x01";
  }

  void Paint(HDC dc);
  void FollowLinkAt(int x, int y);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  std::atomic<HWND> hwnd_{nullptr};  // read by the host thread (GetWindowHandle)

 private:
  int id_;
  RefPtr<Client> client_;
  bool popup_;
  String committedUrl_;
  std::mutex mutex_;  // the fields below are read by vcef_query_browser on other threads
  PlainPage page_;
  PlacedLinks linkRects_;  // where the last paint put each link
  std::vector<std::string> history_;
  size_t historyIndex_ = 0;
  VCEF_IMPLEMENT_REFCOUNTING(BrowserImpl);
};

void CreateBrowserOnUi(const WindowInfo& wi, RefPtr<Client> client, const std::string& url, bool popup) {
  int id;
  {
    std::lock_guard<std::mutex> lock(g_rt.mutex);
    id = g_rt.nextId++;
  }
  RefPtr<BrowserImpl> b(new BrowserImpl(id, client, popup));
  if (!b->CreateWindowFor(wi)) {
    RecordCount("create_failed");
    return;
  }
  {
    std::lock_guard<std::mutex> lock(g_rt.mutex);
    g_browsers[b->hwnd_] = b;
  }
  RecordCount(popup ? "popups_created" : "browsers_created");
  RefPtr<LifeSpanHandler> ls = client ? client->GetLifeSpanHandler() : nullptr;
  if (ls) ls->OnAfterCreated(b);
  if (!url.empty()) b->Navigate(url, TT_EXPLICIT, false, History::kPush);
}

void BrowserImpl::OpenPopup(const std::string& url) {
  WindowInfo wi;
  wi.SetAsPopup(nullptr, String());
  RefPtr<Client> popupClient = client_;
  BrowserSettings settings;
  PopupFeatures features;
  bool noJavascriptAccess = false;
  RefPtr<LifeSpanHandler> ls = client_ ? client_->GetLifeSpanHandler() : nullptr;
  if (ls && ls->OnBeforePopup(this, this, url, String(), WOD_NEW_FOREGROUND_TAB, true, features, wi, popupClient,
                              settings, &noJavascriptAccess)) {
    RecordCount("popups_refused");
    return;
  }
  CreateBrowserOnUi(wi, popupClient, url, true);
}

void BrowserImpl::Paint(HDC target) {
  RECT client;
  GetClientRect(hwnd_, &client);
  PlainPage page;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    page = page_;
  }
  PlacedLinks placed;
  PaintPlainPage(target, client.right, client.bottom, page, true, &placed);
  std::lock_guard<std::mutex> lock(mutex_);
  linkRects_ = placed;
}

void BrowserImpl::FollowLinkAt(int x, int y) {
  PageLink link;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const PageLink* hit = LinkAt(linkRects_, x, y);
    if (!hit) return;
    link = *hit;
  }
  std::string target = link.target;
  for (char& c : target) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  if (target == "_blank" || target == "_new")
    OpenPopup(link.href);
  else
    Navigate(link.href, TT_LINK, true, History::kPush);
}

LRESULT BrowserImpl::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd_);
      return 0;
    case WM_LBUTTONUP:
      FollowLinkAt(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(hwnd_, &pt);
        bool overLink;
        {
          std::lock_guard<std::mutex> lock(mutex_);
          overLink = LinkAt(linkRects_, pt.x, pt.y) != nullptr;
        }
        SetCursor(LoadCursor(nullptr, overLink ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_KEYDOWN:
      if (wp == VK_BACK) GoBack();
      return 0;
    case WM_SYSKEYDOWN:
      if (wp == VK_LEFT) {
        GoBack();
        return 0;
      }
      if (wp == VK_RIGHT) {
        GoForward();
        return 0;
      }
      break;
    case WM_COPYDATA: {
      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      if (!cds) return FALSE;
      std::string url;
      if (cds->lpData && cds->cbData) {
        size_t n = cds->cbData < kMaxCopyData ? cds->cbData : kMaxCopyData;
        url.assign(static_cast<const char*>(cds->lpData), n);
        url.resize(strnlen(url.c_str(), url.size()));
      }
      switch (cds->dwData) {
        case kCopyNavigate:
          Navigate(url, TT_LINK, true, History::kPush);
          return TRUE;
        case kCopyPopup:
          OpenPopup(url);
          return TRUE;
        case kCopyBack:
          GoBack();
          return TRUE;
        case kCopyForward:
          GoForward();
          return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE: {
      RefPtr<LifeSpanHandler> ls = client_ ? client_->GetLifeSpanHandler() : nullptr;
      if (ls && ls->DoClose(this)) return 0;  // the host closes it itself
      DestroyWindow(hwnd_);
      return 0;
    }
    case WM_DESTROY: {
      RefPtr<LifeSpanHandler> ls = client_ ? client_->GetLifeSpanHandler() : nullptr;
      if (ls) ls->OnBeforeClose(this);
      RecordCount("browsers_closed");
      return 0;
    }
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK BrowserWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* b = static_cast<BrowserImpl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    b->hwnd_ = hwnd;
    b->AddRef();  // the window keeps its browser until WM_NCDESTROY
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(b));
  }
  auto* b = reinterpret_cast<BrowserImpl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!b) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
    RefPtr<BrowserImpl> gone;
    {
      std::lock_guard<std::mutex> lock(g_rt.mutex);
      auto it = g_browsers.find(hwnd);
      if (it != g_browsers.end()) {
        gone = it->second;
        g_browsers.erase(it);
      }
    }
    b->hwnd_ = nullptr;
    b->Release();
    return r;
  }
  return b->Handle(msg, wp, lp);
}

LRESULT CALLBACK TaskWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kRunTask) {
    std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lp));
    try {
      (*task)();
    } catch (...) {
      RecordCount("task_exceptions");
    }
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

DWORD WINAPI UiThread(LPVOID) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = TaskWndProc;
  wc.hInstance = g_module;
  wc.lpszClassName = kTaskWindowClass;
  RegisterClassA(&wc);
  WNDCLASSA bc{};
  bc.style = CS_DBLCLKS;
  bc.lpfnWndProc = BrowserWndProc;
  bc.hInstance = g_module;
  bc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  bc.lpszClassName = kBrowserWindowClass;
  RegisterClassA(&bc);
  HWND task = CreateWindowExA(0, kTaskWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_module, nullptr);
  {
    std::lock_guard<std::mutex> lock(g_rt.mutex);
    g_rt.taskWindow = task;
  }
  SetEvent(g_rt.ready);
  if (!task) return 1;
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  DestroyWindow(task);
  return 0;
}

void RecordSettings(const Settings& s) {
  RecordSet("subprocess", s.browser_subprocess_path.ToString());
  RecordSet("cache", s.cache_path.ToString());
  RecordSet("severity", std::to_string(s.log_severity));
  RecordSet("multithreaded", s.multi_threaded_message_loop ? "1" : "0");
  RecordSet("no_sandbox", s.no_sandbox ? "1" : "0");
}

}  // namespace
}  // namespace vcef

using namespace vcef;

BOOL WINAPI DllMain(HINSTANCE inst, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = inst;
    DisableThreadLibraryCalls(inst);
  }
  return TRUE;
}

VCEF_EXPORT int vcef_initialize(const MainArgs* args, const Settings* settings, App* app, void* sandboxInfo) {
  try {
    (void)sandboxInfo;
    RecordCount("initialize_calls");
    if (!args || !settings || settings->size != sizeof(Settings)) return 0;
    {
      std::lock_guard<std::mutex> lock(g_rt.mutex);
      if (g_rt.initialized) return 0;  // once per process
      g_rt.initialized = true;
      g_rt.app = app;
    }
    RecordSettings(*settings);
    RefPtr<CommandLineImpl> cl(new CommandLineImpl);
    if (app) app->OnBeforeCommandLineProcessing(String(), cl);
    RecordSet("switches", cl->Joined());
    // The runtime always runs its own UI thread, as with the multi-threaded message loop.
    g_rt.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_rt.thread = CreateThread(nullptr, 0, UiThread, nullptr, 0, &g_rt.threadId);
    if (!g_rt.thread || WaitForSingleObject(g_rt.ready, 10000) != WAIT_OBJECT_0 || !g_rt.taskWindow) {
      std::lock_guard<std::mutex> lock(g_rt.mutex);
      g_rt.initialized = false;
      g_rt.app = nullptr;
      return 0;
    }
    RefPtr<App> keep(app);
    PostTask([keep] {
      RefPtr<BrowserProcessHandler> bph = keep ? keep->GetBrowserProcessHandler() : nullptr;
      if (bph) bph->OnContextInitialized();
      RecordSet("context_initialized", "1");
    });
    return 1;
  } catch (...) {
    return 0;
  }
}

VCEF_EXPORT void vcef_shutdown() {
  try {
    HANDLE thread;
    {
      std::lock_guard<std::mutex> lock(g_rt.mutex);
      if (!g_rt.initialized) return;
      thread = g_rt.thread;
    }
    PostTask([] {
      std::vector<HWND> windows;
      {
        std::lock_guard<std::mutex> lock(g_rt.mutex);
        for (auto& e : g_browsers) windows.push_back(e.first);
      }
      for (HWND w : windows) DestroyWindow(w);
      PostQuitMessage(0);
    });
    WaitForSingleObject(thread, 10000);
    std::lock_guard<std::mutex> lock(g_rt.mutex);
    CloseHandle(g_rt.thread);
    CloseHandle(g_rt.ready);
    g_rt.thread = g_rt.ready = nullptr;
    g_rt.taskWindow = nullptr;
    g_rt.app = nullptr;
    g_rt.initialized = false;
    RecordCount("shutdowns");
  } catch (...) {
  }
}

VCEF_EXPORT void vcef_quit_message_loop() {
  // The host runs no loop of the runtime's (multi-threaded mode): the request is only noted.
  RecordCount("quit_requests");
}

VCEF_EXPORT int vcef_create_browser(const WindowInfo* windowInfo, Client* client, const char* url,
                                    const BrowserSettings* settings) {
  try {
    if (!windowInfo || !settings) return 0;
    WindowInfo wi = *windowInfo;
    RefPtr<Client> c(client);
    std::string u = url ? url : "";
    return PostTask([wi, c, u] { CreateBrowserOnUi(wi, c, u, false); }) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

VCEF_EXPORT int vcef_query(const char* key, char* buf, int size) {
  try {
    if (!key) return -1;
    std::string value;
    {
      std::lock_guard<std::mutex> lock(g_recordMutex);
      auto it = g_record.find(key);
      if (it == g_record.end()) {
        CopyOut("", buf, size);
        return -1;
      }
      value = it->second;
    }
    return CopyOut(value, buf, size);
  } catch (...) {
    return -1;
  }
}

VCEF_EXPORT int vcef_query_browser(HWND window, const char* key, char* buf, int size) {
  try {
    if (!key) return -1;
    RefPtr<BrowserImpl> b;
    {
      std::lock_guard<std::mutex> lock(g_rt.mutex);
      auto it = g_browsers.find(window);
      if (it != g_browsers.end()) b = it->second;
    }
    std::string value = b ? b->Query(key) : "\x01";
    if (value == "\x01") {
      CopyOut("", buf, size);
      return -1;
    }
    return CopyOut(value, buf, size);
  } catch (...) {
    return -1;
  }
}
