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

void CNotYetBuilt::PostToAvatar(int, UINT, WPARAM) { Missing("avatars", "PostToAvatar"); }
