#include "Complaints.h"

#include "AppLinks.h"
#include "Program.h"
#include "TableConnection.h"
#include "VeskDoc.h"

namespace {
const int kFlashCount = 5, kFlashMs = 20;
}  // namespace

CVeskComplaints& ProgramComplaints() {
  static CVeskComplaints s_complaints;
  return s_complaints;
}

CWaitIndictDlg* CVeskComplaints::Dialog(bool declarerWaits) {
  CWnd* main = AfxGetMainWnd();
  if (declarerWaits) {
    if (!m_pWait) {
      m_pWait.reset(new CWaitIndictDlg(*this, main));
      if (!m_pWait->Create(IDD_WAITINDICT, main)) m_pWait.reset();
    }
    return m_pWait.get();
  }
  if (!m_pIndict) {
    m_pIndict.reset(new CIndictDlg(*this, main));
    if (!m_pIndict->Create(IDD_INDICT, main)) m_pIndict.reset();
  }
  return m_pIndict.get();
}

bool CVeskComplaints::CreateComplaintDialogs() {
  const bool wait = Dialog(true) != nullptr;
  const bool farmers = Dialog(false) != nullptr;
  return wait && farmers;
}

void CVeskComplaints::ComplaintPrompt(const uint8_t* frame, bool declarerWaits) {
  if (CWaitIndictDlg* dlg = Dialog(declarerWaits)) dlg->Prompt(frame);
}

void CVeskComplaints::ComplaintResult(const uint8_t* frame, bool declarerWaits) {
  if (CWaitIndictDlg* dlg = Dialog(declarerWaits)) dlg->Result(frame);
}

void CVeskComplaints::ComplaintUpdate(const uint8_t* frame, bool declarerWaits) {
  if (CWaitIndictDlg* dlg = Dialog(declarerWaits)) dlg->Update(frame);
}

void CVeskComplaints::SendComplaint() {
  CVeskDoc* doc = Program().GetVeskDoc();
  if (!doc) return;
  // The accused is the other farmer.
  const int other = doc->SeatToPosition(doc->DeclarerSeat()) == 2 ? 0 : 2;
  doc->SendComplaint(doc->Seat(other).szUserName);
}

void CVeskComplaints::SendDecline() {
  if (CVeskDoc* doc = Program().GetVeskDoc()) doc->SendComplaintDecline();
}

void CVeskComplaints::SendKeepAlive() {
  if (Program().Connection().IsConnected()) Program().Connection().SendKeepAlive();
}

void CVeskComplaints::FlashIfInactive() {
  if (!Program().Connection().IsMainWindowActive()) Program().Connection().FlashMainWindow(kFlashCount, kFlashMs);
}

CRect CVeskComplaints::MainWindowRect() {
  CRect r(0, 0, 0, 0);
  CWnd* main = AfxGetMainWnd();
  WINDOWPLACEMENT wp = {sizeof wp};
  if (main && main->GetWindowPlacement(&wp)) r = wp.rcNormalPosition;
  return r;
}

void CVeskComplaints::PlaceScoreBoardAbove(const CRect& dialog) {
  CVeskDoc* doc = Program().GetVeskDoc();
  CDialog* pBoard = doc ? doc->GetScoreBoardWindow() : nullptr;
  if (!pBoard || !pBoard->GetSafeHwnd()) return;
  CRect board;
  pBoard->GetWindowRect(&board);
  pBoard->SetWindowPos(nullptr, dialog.CenterPoint().x - board.Width() / 2, dialog.top - board.Height(), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CVeskComplaints::Destroy() {
  m_pIndict.reset();
  m_pWait.reset();
}
