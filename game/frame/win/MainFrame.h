// The main window: the platform's skinned game frame holding a splitter with the table
// view on the left and the chat pane on the right. It keeps one of two fixed sizes,
// remembers its placement, decides how closing goes by the state of the connection,
// restarts the music, toggles the help window and opens the about box.
#pragma once
#include <afxext.h>
#include <afxwin.h>

#include <string>

#include "QKGameFrameWnd.h"
#include "SplitterEx.h"
#include "resource.h"

class CChatView;
class CGameView;
class CGameViewSite;

#define WM_SEND_OPTION_FLAGS 0x52D
#define WM_CONFIRMED_CLOSE 0x812C

// 1 when the screen is smaller than 1024 by 768 (either side), else 2.
int GetScreenSizeClass();
// The right pane's width for the screen's class.
int GetRightPaneWidth();

// What the frame asks of the rest of the program: how closing goes, the settings, help and
// about boxes, and the folders and view site it hands to its panes. The program gives its
// frame the real connection and document, a test its own.
class CMainFrameSite {
 public:
  virtual ~CMainFrameSite() = default;
  // The connection's state words (see the close flow).
  virtual BOOL IsConnected() = 0;
  virtual BOOL IsTrustExitDone() = 0;
  virtual BOOL IsConnectionEnded() = 0;
  virtual BOOL IsEndedByServer() = 0;
  virtual DWORD OptionFlags() = 0;
  virtual void RequestTrustExit() = 0;
  virtual void QuitAndClose() = 0;
  virtual BOOL SendOptionFlags(int nType, DWORD dwValue) = 0;
  // The document's part.
  virtual BOOL IsWatching() = 0;
  virtual BOOL IsQuietClose() = 0;
  virtual BOOL IsInTrusteeship() = 0;
  virtual int LeaveRequests() = 0;
  virtual void SendLeaveRequest() = 0;
  virtual void ForceQuit() = 0;
  virtual void RestartMusicIfOn() = 0;
  // The chat control agrees to close (no chat control: always).
  virtual BOOL ChatMayClose() = 0;
  virtual void SetRunLogField(const char* key, const char* value) = 0;
  // A Yes/No question with a countdown; TRUE for Yes.
  virtual BOOL AskYesNo(const char* text, UINT style, int countdown) = 0;
  // The exit dialog's choice (a control id, 1152 when cancelled).
  virtual int RunExitDialog(BOOL askAllowed, BOOL trustAllowed) = 0;
  virtual void ShowAbout() = 0;
  // The settings dialog (the caption's setup button).
  virtual void OpenSettings() = 0;
  // The help window, created hidden on first use (null when it cannot be made).
  virtual CWnd* CreateHelpWindow(CWnd* pParent) = 0;
  // The platform's shared folder (the theme's home when the profile names none).
  virtual std::string SharePath() = 0;
  // The net skin's folder, empty without a net skin.
  virtual std::string SkinFolder() = 0;
  // What the table view asks of the program.
  virtual CGameViewSite* ViewSite() = 0;
};

class CMainFrame : public CQKGameFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  enum { IDT_CLOSE_RETRY = 0x812C, CLOSE_RETRY_MS = 200, CLOSE_GIVE_UP_MS = 10000 };
  CMainFrame();
  ~CMainFrame() override;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Placement from the profile, forced to the fixed size of the screen's class.
  void LoadWindowPos();
  void SaveWindowPos();
  void LoadSplitterInfo();
  int GetPlacementShowCmd() const { return m_nShowCmd; }
  CGameView* GetGameView() const;
  CChatView* GetChatView() const;
  CSplitterEx& GetSplitter() { return m_wndSplitter; }
  // Whether the frame may close (asks the player where the state says so).
  BOOL ConfirmExit();
  void SetRoundRegion();
  void SetSite(CMainFrameSite* pSite) { m_pSite = pSite; }
  CMainFrameSite* GetSite() const { return m_pSite; }
  CWnd* GetHelpWindow() const { return m_pHelp; }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
  afx_msg LRESULT OnDisplayChange(WPARAM, LPARAM);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnHelp();
  // The caption's setup and help buttons.
  void OnFrameSetup() override { m_pSite->OpenSettings(); }
  void OnFrameHelp() override { OnHelp(); }
  afx_msg LRESULT OnMciNotify(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSendOptionFlags(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnConfirmedClose(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFindGame(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  void CloseNow();
  void QuitThenConfirm();
  void RequestTrustExitAndAsk();
  BOOL ConfirmQuietClose(BOOL* pGoOn);
  BOOL RunExitChoice();
  void RecalcSplitter();

 private:
  CSplitterEx m_wndSplitter;
  BOOL m_bSplitterCreated = FALSE;
  int m_nShowCmd = SW_SHOWNORMAL;
  WINDOWPLACEMENT m_wp;
  CFont m_font;
  UINT m_nAboutId = 0;
  CWnd* m_pHelp = nullptr;
  CMainFrameSite* m_pSite = nullptr;
  DWORD m_dwCloseStart = 0;
};
