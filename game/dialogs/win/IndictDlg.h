// CIndictDlg and CWaitIndictDlg: the modeless complaint dialogs after a hand. The farmers'
// dialog counts down, shows the fees and offers complain / do not complain; the declarer's
// only counts down. Both keep the connection alive while open and show the outcome.
#pragma once
#include <afxwin.h>

#include <cstdint>

#include "CoolButton.h"
#include "IndictRules.h"
#include "SkinDialog.h"
#include "resource.h"

// What the dialogs send and ask of the program.
class CIndictSite {
 public:
  virtual ~CIndictSite() = default;
  virtual void SendComplaint() = 0;
  virtual void SendDecline() = 0;
  virtual void SendKeepAlive() = 0;
  virtual void FlashIfInactive() = 0;
  // The main window's normal rectangle (the dialogs centre on it).
  virtual CRect MainWindowRect() = 0;
  // Puts the score board centred above the dialog's rectangle.
  virtual void PlaceScoreBoardAbove(const CRect& dialog) = 0;
};

class CWaitIndictDlg : public CSkinDialog {
 public:
  enum { IDT_COUNTDOWN = 1, IDT_KEEPALIVE = 2 };
  CWaitIndictDlg(CIndictSite& site, CWnd* pParent = nullptr, UINT nTemplate = IDD_WAITINDICT,
                 const char* skin = "WaitIndict");

  void Prompt(const uint8_t* frame);
  void Update(const uint8_t* frame);
  void Result(const uint8_t* frame);
  int GetCountdown() const { return m_nCountdown; }
  const uint8_t* PromptRecord() const { return m_prompt; }
  const uint8_t* ResultRecord() const { return m_result; }
  const uint8_t* FeeRecord() const { return m_fees; }

 protected:
  virtual bool IsWaitDialog() const { return true; }
  virtual void OnPrompt() {}
  virtual void OnCountdownOver() { KillTimer(IDT_COUNTDOWN); }
  virtual void HideChoices() {}
  virtual bool Complained() const { return false; }
  BOOL OnInitDialog() override;
  void SetItemText(UINT nID, const std::string& text);
  void SetMainText(const std::string& text);
  void ShowCountdown();
  void CentreOnMain();
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()

  CIndictSite& m_site;
  UINT m_nTextId, m_nCountdownId;
  uint8_t m_prompt[indict::PROMPT_RECORD] = {};
  uint8_t m_result[indict::RESULT_RECORD] = {};
  uint8_t m_fees[indict::FEE_RECORD] = {};
  int m_nCountdown = 0;
  int m_nCountdownSeconds = 0;
  DWORD m_dwCountdownStart = 0;
};

class CIndictDlg : public CWaitIndictDlg {
 public:
  CIndictDlg(CIndictSite& site, CWnd* pParent = nullptr);
  BOOL IsComplained() const { return m_bComplained; }

 protected:
  bool IsWaitDialog() const override { return false; }
  void OnPrompt() override;
  void OnCountdownOver() override;
  void HideChoices() override;
  bool Complained() const override { return m_bComplained != FALSE; }
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  void Choose(bool complain);
  CCoolButton m_btnYes, m_btnNo;
  BOOL m_bComplained = FALSE;
};
