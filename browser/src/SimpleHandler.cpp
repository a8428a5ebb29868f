#include "SimpleHandler.h"

#include <windows.h>

#include <string>

namespace {
SimpleHandler* g_instance = nullptr;
}

SimpleHandler::SimpleHandler() { g_instance = this; }

SimpleHandler::~SimpleHandler() {
  if (g_instance == this) g_instance = nullptr;
}

SimpleHandler* SimpleHandler::GetInstance() { return g_instance; }

bool SimpleHandler::OnProcessMessageReceived(vcef::RefPtr<vcef::Browser>, vcef::ProcessId,
                                             vcef::RefPtr<vcef::ProcessMessage>) {
  return false;
}

void SimpleHandler::OnTitleChange(vcef::RefPtr<vcef::Browser> browser, const vcef::String&) {
  // Only a popup window takes the popup size; the panel must keep the size its host gave it.
  if (!browser || !browser->IsPopup()) return;
  HWND hwnd = browser->GetHost()->GetWindowHandle();
  if (!hwnd) return;
  brellin::PopupSize size = brellin::PopupSizeForScreen(GetSystemMetrics(SM_CXSCREEN));
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, size.width, size.height, SWP_NOMOVE);
}

bool SimpleHandler::OnBeforePopup(vcef::RefPtr<vcef::Browser>, vcef::RefPtr<vcef::Frame>, const vcef::String&,
                                  const vcef::String&, vcef::WindowOpenDisposition, bool, const vcef::PopupFeatures&,
                                  vcef::WindowInfo& windowInfo, vcef::RefPtr<vcef::Client>&, vcef::BrowserSettings&,
                                  bool*) {
  brellin::PopupRequest req;
  req.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  vcef::RefPtr<vcef::Browser> first;
  if (browsers_.First(&first)) {
    RECT r{};
    HWND panel = first->GetHost()->GetWindowHandle();
    if (panel && GetWindowRect(panel, &r)) {
      req.hasBrowser = true;
      req.anchorLeft = r.left;
      req.anchorTop = r.top;
    }
  }
  brellin::PopupDecision d;
  {
    std::lock_guard<std::mutex> lock(flagsMutex_);
    req.popupOpen = flags_.popupOpen;
    d = brellin::DecidePopup(req);
    if (d.markOpen) flags_.popupOpen = true;
  }
  if (d.cancel) return true;
  if (d.positioned) {
    windowInfo.x = d.x;
    windowInfo.y = d.y;
    windowInfo.width = d.width;
    windowInfo.height = d.height;
  }
  return false;
}

void SimpleHandler::OnAfterCreated(vcef::RefPtr<vcef::Browser> browser) { browsers_.Add(browser); }

bool SimpleHandler::RunModal(vcef::RefPtr<vcef::Browser>) { return false; }

bool SimpleHandler::DoClose(vcef::RefPtr<vcef::Browser>) {
  std::lock_guard<std::mutex> lock(flagsMutex_);
  brellin::OnDoClose(flags_, browsers_.Size());
  return false;
}

void SimpleHandler::OnBeforeClose(vcef::RefPtr<vcef::Browser> browser) {
  if (browsers_.Remove(browser)) vcef::QuitMessageLoop();
}

void SimpleHandler::OnLoadError(vcef::RefPtr<vcef::Browser>, vcef::RefPtr<vcef::Frame> frame, vcef::ErrorCode errorCode,
                                const vcef::String& errorText, const vcef::String& failedUrl) {
  std::string html;
  if (!frame || !brellin::BuildErrorPage(failedUrl.ToString(), errorText.ToString(), errorCode, &html)) return;
  frame->LoadHtml(html, failedUrl);
}

bool SimpleHandler::OnBeforeBrowse(vcef::RefPtr<vcef::Browser>, vcef::RefPtr<vcef::Frame>,
                                   vcef::RefPtr<vcef::Request> request, bool, bool) {
  if (!request) return false;
  return brellin::ShouldCancelBrowse(request->GetURL().ToString(), request->GetTransitionType());
}

vcef::ReturnValue SimpleHandler::OnBeforeResourceLoad(vcef::RefPtr<vcef::Browser>, vcef::RefPtr<vcef::Frame>,
                                                      vcef::RefPtr<vcef::Request>,
                                                      vcef::RefPtr<vcef::RequestCallback>) {
  return vcef::RV_CONTINUE;
}

void SimpleHandler::OnProtocolExecution(vcef::RefPtr<vcef::Browser>, const vcef::String& url, bool& allowOsExecution) {
  const std::string address = url.ToString();
  allowOsExecution = brellin::AllowOsProtocol(address);
  if (!allowOsExecution) {
    // Logging of the runtime is off: the refusal goes to the debugger's channel.
    std::string line = "Brellin: address not handed to the system: " + address.substr(0, 200) + "\n";
    ::OutputDebugStringA(line.c_str());
  }
}

bool SimpleHandler::IsClosing() {
  std::lock_guard<std::mutex> lock(flagsMutex_);
  return flags_.isClosing;
}
