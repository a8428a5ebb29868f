// The right pane: the chat control in its emotion window with the table's user list, the
// advertisement control and the live web panel, over the chat background.
#pragma once
#include <afxext.h>
#include <afxwin.h>

#include <string>

#include "BrowserHostDlg.h"
#include "EmotionWnd.h"
#include "QKBitmap.h"
#include "QKCtrls.h"

class CChatView;

// What the chat view needs from the program (implemented in game/app).
class CChatViewSite {
 public:
  virtual ~CChatViewSite() = default;
  virtual void RegisterChatView(CChatView* pView) = 0;  // null when it goes
  virtual std::string GetPanelTemplate() = 0;           // the live panel's address template
  virtual std::string GetWatchedName() = 0;             // the watched player while watching, else empty
  virtual BOOL IsWatching() = 0;
  virtual long GetChatLoginValue() = 0;  // the login reply's value for the chat control
  virtual void WriteConnectionLog(const char* text) = 0;
  // Seat i of the document: user name and score change of the running series; FALSE past the last.
  virtual BOOL GetSeat(int i, std::string* pName, int* pSeriesChange) = 0;
};
CChatViewSite& ChatViewSite();

class CChatView : public CFormView {
  DECLARE_DYNCREATE(CChatView)
 public:
  enum { IDD = 131 };
  enum { WM_PANEL_URL = WM_APP + 0x120 };
  CChatView();
  ~CChatView() override;

  // "\r\n<s=SIZE,c=#RR#GG#BB,b>" + text into the chat (method 75).
  void AppendLine(LPCSTR text, COLORREF color, int size);
  void RequestPanelReload();
  // Loads the browser library and builds the live panel's address, once: start-up calls it
  // when the table is on the screen, which nothing before needs the panel for.
  void StartPanel();
  void ReadUserScores();
  void UpdateUserScores();
  CQKChatEx* GetChat() const { return m_wndChat.GetChat(); }
  CQKAdCtrl* GetAdCtrl() { return m_AdCtrl.GetSafeHwnd() ? &m_AdCtrl : nullptr; }
  int GetChatHeight() const { return m_nChatHeight; }

  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  afx_msg LRESULT OnPanelUrl(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void Layout(int cx, int cy);
  void CreatePanel();
  void StartChat();
  // The address is built on a worker (it waits on the lobby's mutex and the ticket
  // server) and comes back as WM_PANEL_URL; wParam 1 creates the browser, 0 reloads it.
  void StartPanelUrl(BOOL bCreate);
  void StartMessageService();
  void LoadPictures();
  static DWORD WINAPI PanelUrlThread(LPVOID p);
  static DWORD WINAPI MessageThread(LPVOID p);

  CEmotionWnd m_wndChat;
  CQKAdCtrl m_AdCtrl;
  CRect m_rcAd;
  int m_nChatHeight = -1;
  int m_nChatviewPos = 0;
  BOOL m_bRead[4] = {FALSE, FALSE, FALSE, FALSE};
  int m_nBaseScore[4] = {0, 0, 0, 0};
  BrowserHostDlg* m_pPanel = nullptr;
  BOOL m_bPanelReload = FALSE;
  BOOL m_bPanelStarted = FALSE;
  std::string m_strLangRsc;
  // The theme's pictures: the chat background tile, the caption and news strips of both
  // size classes ([0] for class 1, [1] for class 2).
  CQKBitmap m_bmpTalk;
  CQKBitmap m_bmpCaption[2];
  CQKBitmap m_bmpNews[2];
};
