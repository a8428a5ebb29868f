// The in-process server of the web-browser control stand-in (registered in the harness's
// Wine prefix with regsvr32, in place of the system's control).
#include <windows.h>
#include <ole2.h>

#include "CtrlBase.h"
#include "CtrlModule.h"
#include "WebControl.h"

namespace {
CCtrlFactory g_web(NewWebControl);
const CtrlClass kClasses[] = {{&CLSID_VeskWebBrowser, "Web Browser Control", &g_web}};
}  // namespace

VESK_CTRL_MODULE(kClasses)
