#include "NotYetBuilt.h"

#include "NetSkinConfig.h"

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


void CNotYetBuilt::RefreshChatLists() { Missing("chat view", "RefreshChatLists"); }
void CNotYetBuilt::PanelReload() { Missing("chat view", "PanelReload"); }
void CNotYetBuilt::ShowAdRecord(const uint8_t*) { Missing("advertisements", "ShowAdRecord"); }
// The net skin is built; only its place among the chat view's hooks is not.
void CNotYetBuilt::HandleNetSkinData(const std::string& text) { NetSkinConfig().HandleNetSkinData(text); }

void CNotYetBuilt::PostToAvatar(int, UINT, WPARAM) { Missing("avatars", "PostToAvatar"); }
