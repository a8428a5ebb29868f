#include "SimpleApp.h"

void SimpleApp::OnBeforeCommandLineProcessing(const vcef::String& processType,
                                              vcef::RefPtr<vcef::CommandLine> commandLine) {
  (void)processType;
  // Pages are laid out at one scale whatever the desktop's DPI setting, as the panel's size is fixed.
  if (commandLine) commandLine->AppendSwitch("force-device-scale-factor");
}
