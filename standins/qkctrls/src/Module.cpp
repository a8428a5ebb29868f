// The in-process server of the chat, avatar and advertisement controls (the test harness
// registers the library in its Wine prefix with regsvr32).
#include <windows.h>
#include <ole2.h>

#include "Controls.h"
#include "CtrlBase.h"
#include "CtrlModule.h"

namespace {
CCtrlFactory g_chat(NewChatControl), g_avatar(NewAvatarControl), g_ad(NewAdControl);
const CtrlClass kClasses[] = {{&CLSID_QKChatEx, "QKChatEx Control", &g_chat},
                              {&CLSID_QKAvatar, "QKAvatar Control", &g_avatar},
                              {&CLSID_QKAdCtrl, "QKAdCtrl Control", &g_ad}};
}  // namespace

VESK_CTRL_MODULE(kClasses)
