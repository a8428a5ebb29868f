// The runtime's application object: command-line switches and the browser-process hook.
#pragma once

#include "vcef/Vcef.h"

class SimpleApp : public vcef::App, public vcef::BrowserProcessHandler {
 public:
  void OnBeforeCommandLineProcessing(const vcef::String& processType,
                                     vcef::RefPtr<vcef::CommandLine> commandLine) override;
  vcef::RefPtr<vcef::BrowserProcessHandler> GetBrowserProcessHandler() override { return this; }
  void OnContextInitialized() override {}

 private:
  VCEF_IMPLEMENT_REFCOUNTING(SimpleApp);
};
