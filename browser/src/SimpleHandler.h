// The client handler of every browser the library opens: keeps the open
// browsers, places popups, refuses some navigations and shows load errors.
#pragma once

#include <mutex>

#include "BrowserList.h"
#include "BrowserRules.h"
#include "vcef/Vcef.h"

class SimpleHandler : public vcef::Client,
                      public vcef::DisplayHandler,
                      public vcef::LifeSpanHandler,
                      public vcef::LoadHandler,
                      public vcef::RequestHandler {
 public:
  SimpleHandler();
  ~SimpleHandler() override;
  static SimpleHandler* GetInstance();

  // Client
  vcef::RefPtr<vcef::DisplayHandler> GetDisplayHandler() override { return this; }
  vcef::RefPtr<vcef::LifeSpanHandler> GetLifeSpanHandler() override { return this; }
  vcef::RefPtr<vcef::LoadHandler> GetLoadHandler() override { return this; }
  vcef::RefPtr<vcef::RequestHandler> GetRequestHandler() override { return this; }
  bool OnProcessMessageReceived(vcef::RefPtr<vcef::Browser> browser, vcef::ProcessId source,
                                vcef::RefPtr<vcef::ProcessMessage> message) override;

  // DisplayHandler
  void OnTitleChange(vcef::RefPtr<vcef::Browser> browser, const vcef::String& title) override;

  // LifeSpanHandler
  bool OnBeforePopup(vcef::RefPtr<vcef::Browser> browser, vcef::RefPtr<vcef::Frame> frame,
                     const vcef::String& targetUrl, const vcef::String& targetFrameName,
                     vcef::WindowOpenDisposition disposition, bool userGesture, const vcef::PopupFeatures& features,
                     vcef::WindowInfo& windowInfo, vcef::RefPtr<vcef::Client>& client, vcef::BrowserSettings& settings,
                     bool* noJavascriptAccess) override;
  void OnAfterCreated(vcef::RefPtr<vcef::Browser> browser) override;
  bool RunModal(vcef::RefPtr<vcef::Browser> browser) override;
  bool DoClose(vcef::RefPtr<vcef::Browser> browser) override;
  void OnBeforeClose(vcef::RefPtr<vcef::Browser> browser) override;

  // LoadHandler
  void OnLoadError(vcef::RefPtr<vcef::Browser> browser, vcef::RefPtr<vcef::Frame> frame, vcef::ErrorCode errorCode,
                   const vcef::String& errorText, const vcef::String& failedUrl) override;

  // RequestHandler
  bool OnBeforeBrowse(vcef::RefPtr<vcef::Browser> browser, vcef::RefPtr<vcef::Frame> frame,
                      vcef::RefPtr<vcef::Request> request, bool userGesture, bool isRedirect) override;
  vcef::ReturnValue OnBeforeResourceLoad(vcef::RefPtr<vcef::Browser> browser, vcef::RefPtr<vcef::Frame> frame,
                                         vcef::RefPtr<vcef::Request> request,
                                         vcef::RefPtr<vcef::RequestCallback> callback) override;
  void OnProtocolExecution(vcef::RefPtr<vcef::Browser> browser, const vcef::String& url,
                           bool& allowOsExecution) override;

  // The first browser of the list (the panel), if any.
  bool FirstBrowser(vcef::RefPtr<vcef::Browser>* out) const { return browsers_.First(out); }
  bool IsClosing();

 private:
  struct SameBrowser {
    bool operator()(const vcef::RefPtr<vcef::Browser>& a, const vcef::RefPtr<vcef::Browser>& b) const {
      return a && b && a->IsSame(b);
    }
  };
  brellin::BrowserList<vcef::RefPtr<vcef::Browser>, SameBrowser> browsers_;
  std::mutex flagsMutex_;
  brellin::HandlerFlags flags_;
  VCEF_IMPLEMENT_REFCOUNTING(SimpleHandler);
};
