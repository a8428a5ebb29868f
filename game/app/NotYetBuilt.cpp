#include "NotYetBuilt.h"

#include "VeskApp.h"
#include "VeskDoc.h"

CNotYetBuilt& NotYetBuilt() {
  static CNotYetBuilt s_instance;
  return s_instance;
}

void CNotYetBuilt::Missing(const char* what, const char* call) {
  ++m_nCount;
  theApp.m_GameLog.Write("not built yet: %s (%s)", what, call);
}

void CNotYetBuilt::ComplaintPrompt(const uint8_t*, bool) { Missing("complaint dialogs", "ComplaintPrompt"); }
void CNotYetBuilt::ComplaintResult(const uint8_t*, bool) { Missing("complaint dialogs", "ComplaintResult"); }
void CNotYetBuilt::ComplaintUpdate(const uint8_t*, bool) { Missing("complaint dialogs", "ComplaintUpdate"); }


void CNotYetBuilt::PostToAvatar(int, UINT, WPARAM) { Missing("avatars", "PostToAvatar"); }
void CNotYetBuilt::OpenSettings() { Missing("settings dialog", "OpenSettings"); }
void CNotYetBuilt::ShowTipWindow() { Missing("tip window", "ShowTipWindow"); }
