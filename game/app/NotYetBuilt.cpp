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

void CNotYetBuilt::AddSeriesRow(uint32_t) { Missing("score board list", "AddSeriesRow"); }
void CNotYetBuilt::AddHandRow(int, const int*, int) { Missing("score board list", "AddHandRow"); }
void CNotYetBuilt::AddRangeRow(int, const int*, int) { Missing("score board list", "AddRangeRow"); }
void CNotYetBuilt::RemoveTotalRow() { Missing("score board list", "RemoveTotalRow"); }
void CNotYetBuilt::AddTotalRow(const int*, int) { Missing("score board list", "AddTotalRow"); }
void CNotYetBuilt::AddFinalRow(const int*, int) { Missing("score board list", "AddFinalRow"); }

void CNotYetBuilt::ShowScoreBoard(bool) {
  Missing("score board list", "ShowScoreBoard");
  if (CVeskDoc* pDoc = theApp.GetVeskDoc()) pDoc->ShowScoreBoardDialog();
}


void CNotYetBuilt::RefreshChatLists() { Missing("chat view", "RefreshChatLists"); }
void CNotYetBuilt::PanelReload() { Missing("chat view", "PanelReload"); }
void CNotYetBuilt::ShowAdRecord(const uint8_t*) { Missing("advertisements", "ShowAdRecord"); }
void CNotYetBuilt::HandleNetSkinData(const std::string&) { Missing("net skin", "HandleNetSkinData"); }

void CNotYetBuilt::PostToAvatar(int, UINT, WPARAM) { Missing("avatars", "PostToAvatar"); }
