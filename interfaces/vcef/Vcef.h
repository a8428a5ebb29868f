// Class interface of the browser runtime: reference-counted handler objects,
// settings structures, a string type and the browser, host and frame objects.
//
// Objects cross the library boundary only as interfaces: whoever creates an
// object also deletes it (Release is virtual), and strings are passed by
// reference and copied by the receiver, so no block allocated on one side is
// freed on the other.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#ifdef VCEF_BUILDING
#define VCEF_EXPORT extern "C" __declspec(dllexport)
#else
#define VCEF_EXPORT extern "C" __declspec(dllimport)
#endif

namespace vcef {

// ---- reference counting -------------------------------------------------------

class RefCounted {
 public:
  virtual void AddRef() const = 0;
  virtual bool Release() const = 0;  // true when the object was deleted
  virtual bool HasOneRef() const = 0;

 protected:
  virtual ~RefCounted() {}
};

// The counter an implementation embeds; see VCEF_IMPLEMENT_REFCOUNTING.
class RefCount {
 public:
  void AddRef() const { count_.fetch_add(1, std::memory_order_relaxed); }
  bool Release() const { return count_.fetch_sub(1, std::memory_order_acq_rel) == 1; }
  bool HasOneRef() const { return count_.load(std::memory_order_acquire) == 1; }

 private:
  mutable std::atomic<int> count_{0};
};

#define VCEF_IMPLEMENT_REFCOUNTING(ClassName)                        \
 public:                                                             \
  void AddRef() const override { ref_count_.AddRef(); }              \
  bool Release() const override {                                    \
    if (ref_count_.Release()) {                                      \
      delete static_cast<const ClassName*>(this);                    \
      return true;                                                   \
    }                                                                \
    return false;                                                    \
  }                                                                  \
  bool HasOneRef() const override { return ref_count_.HasOneRef(); } \
                                                                     \
 private:                                                            \
  ::vcef::RefCount ref_count_

template <class T>
class RefPtr {
 public:
  RefPtr() = default;
  RefPtr(std::nullptr_t) {}
  RefPtr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  RefPtr(const RefPtr& o) : RefPtr(o.p_) {}
  template <class U>
  RefPtr(const RefPtr<U>& o) : RefPtr(o.get()) {}
  RefPtr(RefPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~RefPtr() {
    if (p_) p_->Release();
  }
  RefPtr& operator=(RefPtr o) noexcept {
    T* t = p_;
    p_ = o.p_;
    o.p_ = t;
    return *this;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  bool operator==(const RefPtr& o) const { return p_ == o.p_; }
  bool operator!=(const RefPtr& o) const { return p_ != o.p_; }

 private:
  T* p_ = nullptr;
};

// ---- strings and settings -----------------------------------------------------

// 8-bit text as the host gives it (addresses, titles, switches).
class String {
 public:
  String() = default;
  String(const char* s) : s_(s ? s : "") {}
  String(const std::string& s) : s_(s) {}
  const std::string& ToString() const { return s_; }
  const char* c_str() const { return s_.c_str(); }
  bool empty() const { return s_.empty(); }
  size_t length() const { return s_.size(); }
  bool operator==(const String& o) const { return s_ == o.s_; }

 private:
  std::string s_;
};

struct MainArgs {
  MainArgs() = default;
  explicit MainArgs(HINSTANCE inst) : instance(inst) {}
  HINSTANCE instance = nullptr;
};

enum LogSeverity {
  LOGSEVERITY_DEFAULT = 0,
  LOGSEVERITY_VERBOSE = 1,
  LOGSEVERITY_INFO = 2,
  LOGSEVERITY_WARNING = 3,
  LOGSEVERITY_ERROR = 4,
  LOGSEVERITY_DISABLE = 99
};

struct Settings {
  size_t size = sizeof(Settings);
  bool no_sandbox = false;
  String browser_subprocess_path;  // the runtime's helper program (recorded, never started here)
  bool multi_threaded_message_loop = false;
  String cache_path;
  int log_severity = LOGSEVERITY_DEFAULT;
};

struct BrowserSettings {
  size_t size = sizeof(BrowserSettings);
};

struct WindowInfo {
  DWORD ex_style = 0;
  String window_name;
  DWORD style = 0;
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HWND parent_window = nullptr;

  void SetAsChild(HWND parent, const RECT& r) {
    style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE;
    parent_window = parent;
    x = r.left;
    y = r.top;
    width = r.right - r.left;
    height = r.bottom - r.top;
  }
  void SetAsPopup(HWND parent, const String& name) {
    style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE;
    parent_window = parent;
    window_name = name;
  }
};

struct PopupFeatures {
  int x = 0, y = 0, width = 0, height = 0;
  bool xSet = false, ySet = false, widthSet = false, heightSet = false;
};

enum WindowOpenDisposition {
  WOD_UNKNOWN,
  WOD_CURRENT_TAB,
  WOD_NEW_FOREGROUND_TAB,
  WOD_NEW_BACKGROUND_TAB,
  WOD_NEW_POPUP,
  WOD_NEW_WINDOW
};

// Transition types: a core value in the low byte, qualifier flags above.
enum TransitionType : unsigned {
  TT_LINK = 0,
  TT_EXPLICIT = 1,
  TT_FORWARD_BACK_FLAG = 0x01000000,
  TT_CHAIN_START_FLAG = 0x10000000,
  TT_CHAIN_END_FLAG = 0x20000000,
};

enum ErrorCode {
  ERR_NONE = 0,
  ERR_ABORTED = -3,
  ERR_FILE_NOT_FOUND = -6,
  ERR_ACCESS_DENIED = -10,
  ERR_NAME_NOT_RESOLVED = -105,
  ERR_INVALID_URL = -300,
  ERR_UNKNOWN_URL_SCHEME = -302,
};

enum ReturnValue { RV_CANCEL = 0, RV_CONTINUE = 1, RV_CONTINUE_ASYNC = 2 };
enum ProcessId { PID_BROWSER = 0, PID_RENDERER = 1 };

// ---- runtime objects ----------------------------------------------------------

class Browser;
class Client;

class CommandLine : public virtual RefCounted {
 public:
  virtual void AppendSwitch(const String& name) = 0;
  virtual void AppendSwitchWithValue(const String& name, const String& value) = 0;
  virtual bool HasSwitch(const String& name) = 0;
};

class Request : public virtual RefCounted {
 public:
  virtual const String& GetURL() = 0;
  virtual unsigned GetTransitionType() = 0;
};

class RequestCallback : public virtual RefCounted {
 public:
  virtual void Continue(bool allow) = 0;
  virtual void Cancel() = 0;
};

class ProcessMessage : public virtual RefCounted {
 public:
  virtual const String& GetName() = 0;
};

class Frame : public virtual RefCounted {
 public:
  virtual bool IsMain() = 0;
  virtual void LoadURL(const String& url) = 0;
  // Shows `html` as the frame's content with `url` as its address.
  virtual void LoadHtml(const String& html, const String& url) = 0;
  virtual const String& GetURL() = 0;  // valid on the runtime's UI thread
  virtual RefPtr<Browser> GetBrowser() = 0;
};

class BrowserHost : public virtual RefCounted {
 public:
  // Creates a browser window asynchronously; the client hears of it in OnAfterCreated.
  static bool CreateBrowser(const WindowInfo& windowInfo, RefPtr<Client> client, const String& url,
                            const BrowserSettings& settings);

  virtual RefPtr<Browser> GetBrowser() = 0;
  virtual HWND GetWindowHandle() = 0;
  virtual void CloseBrowser(bool forceClose) = 0;
};

class Browser : public virtual RefCounted {
 public:
  virtual RefPtr<BrowserHost> GetHost() = 0;
  virtual RefPtr<Frame> GetMainFrame() = 0;
  virtual int GetIdentifier() = 0;
  virtual bool IsSame(RefPtr<Browser> that) = 0;
  virtual bool IsPopup() = 0;
  virtual bool CanGoBack() = 0;
  virtual void GoBack() = 0;
  virtual bool CanGoForward() = 0;
  virtual void GoForward() = 0;
};

// ---- handlers the host implements -----------------------------------------------

class BrowserProcessHandler : public virtual RefCounted {
 public:
  virtual void OnContextInitialized() {}
};

class App : public virtual RefCounted {
 public:
  virtual void OnBeforeCommandLineProcessing(const String& processType, RefPtr<CommandLine> commandLine) {
    (void)processType;
    (void)commandLine;
  }
  virtual RefPtr<BrowserProcessHandler> GetBrowserProcessHandler() { return nullptr; }
};

class DisplayHandler : public virtual RefCounted {
 public:
  virtual void OnAddressChange(RefPtr<Browser> browser, RefPtr<Frame> frame, const String& url) {
    (void)browser, (void)frame, (void)url;
  }
  virtual void OnTitleChange(RefPtr<Browser> browser, const String& title) { (void)browser, (void)title; }
};

class LifeSpanHandler : public virtual RefCounted {
 public:
  // Return true to cancel the popup; windowInfo, client and settings may be changed.
  virtual bool OnBeforePopup(RefPtr<Browser> browser, RefPtr<Frame> frame, const String& targetUrl,
                             const String& targetFrameName, WindowOpenDisposition disposition, bool userGesture,
                             const PopupFeatures& features, WindowInfo& windowInfo, RefPtr<Client>& client,
                             BrowserSettings& settings, bool* noJavascriptAccess) {
    (void)browser, (void)frame, (void)targetUrl, (void)targetFrameName, (void)disposition, (void)userGesture;
    (void)features, (void)windowInfo, (void)client, (void)settings, (void)noJavascriptAccess;
    return false;
  }
  virtual void OnAfterCreated(RefPtr<Browser> browser) { (void)browser; }
  virtual bool RunModal(RefPtr<Browser> browser) {
    (void)browser;
    return false;
  }
  // Return false to let the window close.
  virtual bool DoClose(RefPtr<Browser> browser) {
    (void)browser;
    return false;
  }
  virtual void OnBeforeClose(RefPtr<Browser> browser) { (void)browser; }
};

class LoadHandler : public virtual RefCounted {
 public:
  virtual void OnLoadStart(RefPtr<Browser> browser, RefPtr<Frame> frame) { (void)browser, (void)frame; }
  virtual void OnLoadEnd(RefPtr<Browser> browser, RefPtr<Frame> frame, int httpStatusCode) {
    (void)browser, (void)frame, (void)httpStatusCode;
  }
  virtual void OnLoadError(RefPtr<Browser> browser, RefPtr<Frame> frame, ErrorCode errorCode, const String& errorText,
                           const String& failedUrl) {
    (void)browser, (void)frame, (void)errorCode, (void)errorText, (void)failedUrl;
  }
};

class RequestHandler : public virtual RefCounted {
 public:
  // Return true to cancel the navigation.
  virtual bool OnBeforeBrowse(RefPtr<Browser> browser, RefPtr<Frame> frame, RefPtr<Request> request, bool userGesture,
                              bool isRedirect) {
    (void)browser, (void)frame, (void)request, (void)userGesture, (void)isRedirect;
    return false;
  }
  virtual ReturnValue OnBeforeResourceLoad(RefPtr<Browser> browser, RefPtr<Frame> frame, RefPtr<Request> request,
                                           RefPtr<RequestCallback> callback) {
    (void)browser, (void)frame, (void)request, (void)callback;
    return RV_CONTINUE;
  }
  // An address no browser handles: set allowOsExecution to pass it to the system.
  virtual void OnProtocolExecution(RefPtr<Browser> browser, const String& url, bool& allowOsExecution) {
    (void)browser, (void)url, (void)allowOsExecution;
  }
};

class Client : public virtual RefCounted {
 public:
  virtual RefPtr<DisplayHandler> GetDisplayHandler() { return nullptr; }
  virtual RefPtr<LifeSpanHandler> GetLifeSpanHandler() { return nullptr; }
  virtual RefPtr<LoadHandler> GetLoadHandler() { return nullptr; }
  virtual RefPtr<RequestHandler> GetRequestHandler() { return nullptr; }
  virtual bool OnProcessMessageReceived(RefPtr<Browser> browser, ProcessId source, RefPtr<ProcessMessage> message) {
    (void)browser, (void)source, (void)message;
    return false;
  }
};

}  // namespace vcef

// ---- the runtime library's exports ---------------------------------------------

VCEF_EXPORT int vcef_initialize(const vcef::MainArgs* args, const vcef::Settings* settings, vcef::App* app,
                                void* sandboxInfo);
VCEF_EXPORT void vcef_shutdown();
VCEF_EXPORT void vcef_quit_message_loop();
VCEF_EXPORT int vcef_create_browser(const vcef::WindowInfo* windowInfo, vcef::Client* client, const char* url,
                                    const vcef::BrowserSettings* settings);
// What the runtime was given and did, for tests and diagnostics: copies the text of
// `key` into buf (always terminated) and returns its full length, or -1 for an unknown key.
VCEF_EXPORT int vcef_query(const char* key, char* buf, int size);
// The same for one browser window: "address", "title", "text", "popup".
VCEF_EXPORT int vcef_query_browser(HWND window, const char* key, char* buf, int size);

namespace vcef {

inline bool Initialize(const MainArgs& args, const Settings& settings, RefPtr<App> app, void* sandboxInfo) {
  return vcef_initialize(&args, &settings, app.get(), sandboxInfo) != 0;
}
inline void Shutdown() { vcef_shutdown(); }
inline void QuitMessageLoop() { vcef_quit_message_loop(); }
inline bool BrowserHost::CreateBrowser(const WindowInfo& windowInfo, RefPtr<Client> client, const String& url,
                                       const BrowserSettings& settings) {
  return vcef_create_browser(&windowInfo, client.get(), url.c_str(), &settings) != 0;
}

// Messages the runtime's browser windows accept as WM_COPYDATA (dwData), standing in
// for what a page would do: follow a link, open a new window, go back or forward.
constexpr ULONG_PTR kCopyNavigate = 0x56434E56;  // lpData: address, a link the user followed
constexpr ULONG_PTR kCopyPopup = 0x56435055;     // lpData: address, a link with target=_blank
constexpr ULONG_PTR kCopyBack = 0x5643424B;
constexpr ULONG_PTR kCopyForward = 0x56434657;

// Window class of the runtime's browser windows.
constexpr char kBrowserWindowClass[] = "VcefBrowserWindow";

}  // namespace vcef
