// What the main frame asks of the program: the game connection's state words and requests,
// the document's close state and leave requests, the boxes and the game's dialogs. Also the
// settings dialog of the table view's settings button, applied to the view, the document,
// the sounds and the profile.
#pragma once
#include "MainFrame.h"

class CVeskFrameSite : public CMainFrameSite {
 public:
  BOOL IsConnected() override;
  BOOL IsTrustExitDone() override;
  BOOL IsConnectionEnded() override;
  BOOL IsEndedByServer() override;
  DWORD OptionFlags() override;
  void RequestTrustExit() override;
  void QuitAndClose() override;
  BOOL SendOptionFlags(int nType, DWORD dwValue) override;
  BOOL IsWatching() override;
  BOOL IsQuietClose() override;
  BOOL IsInTrusteeship() override;
  int LeaveRequests() override;
  void SendLeaveRequest() override;
  void ForceQuit() override;
  void RestartMusicIfOn() override;
  BOOL ChatMayClose() override;
  void SetRunLogField(const char* key, const char* value) override;
  BOOL AskYesNo(const char* text, UINT style, int countdown) override;
  int RunExitDialog(BOOL askAllowed, BOOL trustAllowed) override;
  void ShowAbout() override;
  void OpenSettings() override;
  CWnd* CreateHelpWindow(CWnd* pParent) override;
  std::string SharePath() override;
  std::string SkinFolder() override;
  CGameViewSite* ViewSite() override;
};

// The program's main frame: the frame with the program's site.
class CVeskFrame : public CMainFrame {
  DECLARE_DYNCREATE(CVeskFrame)
 public:
  CVeskFrame();

 private:
  CVeskFrameSite m_site;
};

// The settings dialog over the table view; nothing without a document and a view.
void OpenSettingsDialog();
