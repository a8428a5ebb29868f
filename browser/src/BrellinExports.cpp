// The library object and the five exports the game client calls.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "Brellin.h"
#include "SimpleApp.h"
#include "SimpleHandler.h"

namespace {

constexpr int kProfileFolder = 40;         // the user's profile folder
constexpr DWORD kChildStyle = 0x56010000;  // child, visible, clip children, clip siblings, tab stop

std::string ModuleFolder() {
  char path[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string(".");
  std::string s(path, n);
  size_t slash = s.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : s.substr(0, slash);
}

class BrowserWrapper {
 public:
  // Starts the runtime with the library's application and client objects.
  bool Start(HINSTANCE instance) {
    vcef::Settings settings;
    settings.no_sandbox = true;
    settings.browser_subprocess_path = ModuleFolder() + "\\cefsimple.exe";
    char profile[MAX_PATH + 1] = {};
    if (SHGetSpecialFolderPathA(nullptr, profile, kProfileFolder, FALSE))
      settings.cache_path = std::string(profile) + "\\AppData\\Local\\Vesk\\cache";
    settings.multi_threaded_message_loop = true;
    settings.log_severity = vcef::LOGSEVERITY_DISABLE;
    handler_ = new SimpleHandler();
    vcef::RefPtr<SimpleApp> app(new SimpleApp());
    return vcef::Initialize(vcef::MainArgs(instance), settings, app, nullptr);
  }

  void CreateBrowser(HWND parent, int left, int top, int right, int bottom, const char* url) {
    vcef::WindowInfo info;
    info.style = kChildStyle;
    info.parent_window = parent;
    info.x = left;
    info.y = top;
    // A reversed rectangle gives an empty window rather than a negative size.
    info.width = right > left ? right - left : 0;
    info.height = bottom > top ? bottom - top : 0;
    vcef::BrowserSettings settings;
    vcef::BrowserHost::CreateBrowser(info, handler_, url, settings);
  }

  void LoadURL(const char* url) {
    if (!*url) return;  // nothing to load: the shown page stays
    vcef::RefPtr<vcef::Browser> first;
    if (handler_->FirstBrowser(&first)) first->GetMainFrame()->LoadURL(url);
  }

  void Move(int left, int top, int right, int bottom) {
    vcef::RefPtr<vcef::Browser> first;
    if (!handler_->FirstBrowser(&first)) return;
    HWND hwnd = first->GetHost()->GetWindowHandle();
    if (hwnd) MoveWindow(hwnd, left, top, right > left ? right - left : 0, bottom > top ? bottom - top : 0, TRUE);
  }

 private:
  vcef::RefPtr<SimpleHandler> handler_;
};

BrowserWrapper* g_wrapper = nullptr;

}  // namespace

extern "C" {

int __cdecl Initialize(HINSTANCE instance, const char* programName) {
  (void)programName;
  try {
    if (g_wrapper) return 1;
    g_wrapper = new BrowserWrapper();
    (void)instance;  // the runtime is given the library's own module
    if (!g_wrapper->Start(GetModuleHandleA(nullptr))) {
      // Reported, not hidden: without a runtime every later call does nothing.
      delete g_wrapper;
      g_wrapper = nullptr;
      return 0;
    }
    return 1;
  } catch (...) {
    return 0;
  }
}

void __cdecl CreateBrowser(HWND parent, int left, int top, int right, int bottom, const char* url) {
  try {
    if (g_wrapper) g_wrapper->CreateBrowser(parent, left, top, right, bottom, url ? url : "");
  } catch (...) {
  }
}

void __cdecl LoadURL(const char* url) {
  try {
    if (g_wrapper) g_wrapper->LoadURL(url ? url : "");
  } catch (...) {
  }
}

void __cdecl MoveBrowseWindow(int left, int top, int right, int bottom) {
  try {
    if (g_wrapper) g_wrapper->Move(left, top, right, bottom);
  } catch (...) {
  }
}

int __cdecl Shutdown() {
  try {
    HANDLE self = OpenProcess(PROCESS_TERMINATE, FALSE, GetCurrentProcessId());
    TerminateProcess(self ? self : GetCurrentProcess(), 0);
    // Only reached when the process could not be ended.
    if (self) CloseHandle(self);
    delete g_wrapper;
    g_wrapper = nullptr;
  } catch (...) {
  }
  return 1;
}

}  // extern "C"
