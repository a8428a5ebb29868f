#include "VeskDocSite.h"

#include <afxwin.h>

#include "AppLinks.h"
#include "GameView.h"
#include "Program.h"
#include "LogFile.h"
#include "VeskDoc.h"

int CVeskDocSite::ShowBoxId(int stringId, uint32_t style, int countdown, const std::string& arg) {
  return ShowStartupBoxId((UINT)stringId, style, countdown, arg.empty() ? nullptr : arg.c_str());
}

int CVeskDocSite::ShowBoxIdPair(int stringId, const std::string& arg, int tailId, uint32_t style, int countdown) {
  CString head, tail, text;
  if (!head.LoadString((UINT)stringId)) head.Format("%d", stringId);
  text.Format(head, arg.c_str());
  if (tail.LoadString((UINT)tailId)) text += tail;
  return ShowStartupBoxText(text, style, countdown);
}

int CVeskDocSite::ShowBoxText(const std::string& text, uint32_t style, int countdown) {
  return ShowStartupBoxText(text.c_str(), style, countdown);
}

void CVeskDocSite::SetRunLogField(const char* key, const std::string& value) {
  Program().SetRunLogField(key, value.c_str());
}

void CVeskDocSite::WriteGameLog(const std::string& line) { Program().GameLog().Write("%s", line.c_str()); }

void CVeskDocSite::StartTierQuery(const std::vector<std::string>& userNames) {
  CVeskDoc* pDoc = Program().GetVeskDoc();
  CGameView* pView = pDoc ? pDoc->GetGameView() : nullptr;
  ::StartTierQuery(Program().QualifyingSign(), userNames, m_pTiers, &Program().GameLog(),
                   pView ? pView->GetSafeHwnd() : nullptr);
}
