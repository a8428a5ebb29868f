// The complaint dialogs in the program: the document's complaint messages go to the
// declarer's wait dialog or the farmers' dialog, which send through the document.
#pragma once
#include <afxwin.h>

#include <memory>

#include "DocHost.h"
#include "IndictDlg.h"

class CVeskComplaints : public CDocComplaints, public CIndictSite {
 public:
  // CDocComplaints
  bool CreateComplaintDialogs() override;
  void ComplaintPrompt(const uint8_t* record20, bool declarerWaits) override;
  void ComplaintResult(const uint8_t* record20, bool declarerWaits) override;
  void ComplaintUpdate(const uint8_t* frame, bool declarerWaits) override;
  // CIndictSite
  void SendComplaint() override;
  void SendDecline() override;
  void SendKeepAlive() override;
  void FlashIfInactive() override;
  CRect MainWindowRect() override;
  void PlaceScoreBoardAbove(const CRect& dialog) override;

  void Destroy();

 private:
  // The dialog for this player, made hidden at start-up (null when it cannot be made).
  CWaitIndictDlg* Dialog(bool declarerWaits);

  std::unique_ptr<CIndictDlg> m_pIndict;
  std::unique_ptr<CWaitIndictDlg> m_pWait;
};

// The program's one instance.
CVeskComplaints& ProgramComplaints();
