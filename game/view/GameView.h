// CGameView: the green card table, the left pane of the main frame. It keeps no game
// state: every paint reads the document core's seats, hands and plays. The document
// reaches it through the methods under "what the document asks" (one per view call of
// CDocHost); what belongs to the application (sending state, boxes, the screenshot,
// the settings dialog, the ticker) goes through a CGameViewSite.
#pragma once
#include <afxcmn.h>
#include <afxext.h>
#include <afxwin.h>

#include <string>

#include "CardPainter.h"
#include "GameDocCore.h"
#include "TableLayout.h"

// What the view needs from the program around it. Defaults suit a table without a
// connection (tests, a view not yet wired).
class CGameViewSite {
 public:
  virtual ~CGameViewSite() = default;
  virtual bool IsBusySending() { return false; }
  virtual uint32_t OptionFlags() { return 0; }
  virtual bool GameProgressArrived() { return true; }
  virtual int IdleSeconds() { return 120; }
  virtual void SendKeepAlive() {}
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const char* /*text*/) { return false; }
  virtual void ToggleScoreBoard() {}
  virtual void OpenSettings() {}
  virtual void SaveScreenshot() {}
  virtual void OpenUrl(const std::string& /*url*/) {}
  virtual void TickerText(const std::string& /*text*/) {}
  // The avatar control of a seat gets message 1235 or 1236 (no control: nothing).
  virtual void PostToAvatar(int /*position*/, UINT /*message*/, WPARAM /*wParam*/) {}
};

// Theme images of the table, looked up under the net-skin folder and then the folder
// of the profile's "Path"; any of them may be missing (the table then draws its own).
struct TableTheme {
  HBITMAP hFill = nullptr, hBackground = nullptr, hLogo = nullptr, hPlayer = nullptr;
};

class CGameView : public CFormView {
  DECLARE_DYNCREATE(CGameView)
 public:
  enum { IDT_IDLE = 1, IDT_AUTOPLAY = 2, IDT_CLOCK = 3, IDT_BLINK = 4, IDT_FLOAT = 5, IDT_LASTROUND = 6 };
  enum { WM_RELOAD_ORDER = 100, WM_CHAT_ECHO = 0x470 };
  enum { AVATAR_MSG_PLAYER = 1235, AVATAR_MSG_WATCHER = 1236 };

  CGameView();
  ~CGameView() override;

  // The document core and the site. With no explicit document the view's CDocument is
  // asked (the program's document derives from both).
  void SetGameDoc(CGameDocCore* pDoc) { m_pGameDoc = pDoc; }
  void SetSite(CGameViewSite* pSite) { m_pSite = pSite ? pSite : &s_defaultSite; }
  CGameDocCore* GetGameDoc() const;
  static void SetLargeCards(bool bLarge) { s_bLargeCards = bLarge; }
  void SetThemeFolders(const std::string& netSkin, const std::string& profilePath);

  // ---- what the document asks (CDocHost's view calls forward here) ----
  void OnSchedule(int nPhase);  // PhaseChanged
  void ShowTurnClock(int nSeconds);
  void HideTurnClock();
  void HideTurnMarker();
  void RefreshButtons();  // the waiting phase's buttons again
  void RedrawAvatar(int nPosition);
  void RedrawPlays();
  void RepaintTable();
  void RelayoutTable();
  void HideStartButton();
  void HideBidButtons();
  void ShowShowCardsButton();
  void HideShowCardsButton();
  void SetPlayButtons(bool bEnabled);
  void RaiseSelectedCards();
  void EnablePlayButton(bool bEnabled);
  void SetTrusteeshipButtons(bool bOn);
  void SetStatusText(const std::string& text);  // ShowStatusText
  void SetStatusTextId(int nStringId);
  void CloseWaitNotice();
  void ShowFloatingText(const std::string& text);  // ShowFlyText
  bool ShowNotice(const std::string& text);
  void SetSurveyTarget(const std::string& url);
  void FocusGameView();
  void MoveClockForHandEnd() {}
  void StartLastRoundTimer(int nMs);
  // A position's new play slides from its hand to the table (PlayRecorded with cards,
  // before RedrawPlays); only with the MoveCards setting.
  void AnimatePlay(int nPosition);
  void SetMoveCards(bool bOn) { m_bMoveCards = bOn ? 1 : 0; }

  // Buttons (also reached by their command ids).
  void EnableStart(bool bOn);
  void EnablePass(bool bOn);
  void EnableHint(bool bOn);
  void ShowBidButtons(bool bShow);
  void ShowControl(UINT nID, bool bShow);

  // The whole table as the screen shows it, into any DC of the client's size.
  void RenderTo(CDC* pDC);
  // The same with the visible buttons drawn in (screenshots of the table).
  void RenderWithControls(CDC* pDC);
  const tableview::Layout& GetLayout();
  int GetSelectedCount() const { return m_nSelected; }
  CWnd* GetControl(UINT nID);
  std::string GetToolTipText(UINT nID);
  const std::string& GetStatusText() const { return m_strStatus; }
  int GetClockSeconds() const { return m_nClockSeconds; }
  bool IsMarkerShown() const { return m_bMarkerShown; }
  int GetMarkerPosition() const { return m_nMarkerPosition; }

  void OnDraw(CDC* pDC) override;
  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Commands.
  afx_msg void OnTakeOut();
  afx_msg void OnStart();
  afx_msg void OnPass();
  afx_msg void OnSearch();
  afx_msg void OnTrustee();
  afx_msg void OnCancelTrustee();
  afx_msg void OnSwitchDirection();
  afx_msg void OnSettings();
  afx_msg void OnSurvey();
  afx_msg void OnScreenshot();
  afx_msg void OnLastRound();
  afx_msg void OnScoreBoard();
  afx_msg void OnSort();
  afx_msg void OnShowCards();
  afx_msg void OnBid1();
  afx_msg void OnBid2();
  afx_msg void OnBid3();
  afx_msg void OnBid0();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnChatEcho(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReloadOrder(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  struct Control;
  void CreateControls();
  void LoadTheme();
  void LayOut();
  void PlaceControls();
  void MoveMarker(int nPosition);
  void BuildTable(CDC* pDC);
  void DrawBackground(CDC* pDC);
  void DrawPlayerPanel(CDC* pDC, int nPosition);
  void DrawSeatHand(CDC* pDC, int nPosition);
  void DrawHand(CDC* pDC, int nPosition);  // the position's last play
  void DrawBottomCards(CDC* pDC);
  void DrawOverlays(CDC* pDC);
  void DrawCard(CDC* pDC, const CARD_INFO& card, int x, int y, bool faceUp, bool raise = true);
  void DrawShadowText(CDC* pDC, int x, int y, const char* text, COLORREF color);
  void InvalidateBox(const tableview::Box& box);
  void InvalidateSeat(int nPosition);
  void InvalidateTable();
  bool HandShown(int nPosition) const;
  bool CardFaceUp(int nPosition, const CARD_INFO& card) const;
  int PlayerCount() const;
  int SlotOf(int nPosition) const;
  bool Watching() const;
  void ClickCards(UINT nFlags, CPoint point);
  bool ClickAvatars(CPoint point, bool bRight);
  void UpdateSelectedCount();
  void ClearSelection();
  void EnablePlayIfSelected();
  bool EnsureBuffers();

  static CGameViewSite s_defaultSite;
  static bool s_bLargeCards;

  CGameDocCore* m_pGameDoc;
  CGameViewSite* m_pSite;
  tableview::Layout m_layout;
  bool m_bLayoutDirty;
  bool m_bTableDirty;
  int m_nSelected;
  int m_nIdleTicks;
  bool m_bInSettings;

  // Settings of the "Settings" section.
  int m_nUseBkColor;
  COLORREF m_crBkColor;
  std::string m_strBkBmp;
  int m_bTile;
  int m_bMoveCards;

  CDC m_dcBack;
  CBitmap m_bmpBack;
  HGDIOBJ m_hOldBack;
  CSize m_sizeBack;
  CPen m_penGrey;
  CBrush m_brushGrey;
  CFont m_font12, m_font14, m_font16;
  CCardPainter m_painter;
  bool m_bCardsLoaded;
  TableTheme m_theme;
  std::string m_strNetSkin, m_strProfilePath;

  CToolTipCtrl m_tooltip;
  Control* m_pControls;
  int m_nControls;

  int m_nClockSeconds;  // -1: hidden
  bool m_bMarkerShown;
  int m_nMarkerPosition;
  bool m_bBlinkOn;
  std::string m_strStatus;
  std::string m_strNotice;
  std::string m_strFloat;
  int m_nFloatTicks;
  std::string m_strSurvey;
};
