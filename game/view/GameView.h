// CGameView: the green card table, the left pane of the main frame. It keeps no game
// state: every paint reads the document core's seats, hands and plays. It is the
// document's CDocTableView (attached while the view exists); what belongs to the
// application (sending state, boxes, the screenshot, the settings dialog, the ticker)
// goes through a CGameViewSite.
#pragma once
#include <afxcmn.h>
#include <afxext.h>
#include <afxwin.h>

#include <string>

#include "CardPainter.h"
#include "GameDocCore.h"
#include "TableLayout.h"

// What the view needs from the program around it.
class CGameViewSite {
 public:
  virtual ~CGameViewSite() = default;
  virtual bool IsBusySending() = 0;
  virtual uint32_t OptionFlags() = 0;
  virtual bool GameProgressArrived() = 0;
  virtual int IdleSeconds() = 0;
  virtual void SendKeepAlive() = 0;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const char* text) = 0;
  virtual void ToggleScoreBoard() = 0;
  virtual void OpenSettings() = 0;  // the settings dialog
  virtual void SaveScreenshot() = 0;
  virtual void OpenUrl(const std::string& url) = 0;
  virtual void TickerText(const std::string& text) = 0;
  // The avatar control of a seat gets message 1235 or 1236.
  virtual void PostToAvatar(int position, UINT message, WPARAM wParam) = 0;
  // The server's frames wait (a paused table) or flow again.
  virtual void HoldMessages(bool hold) = 0;
};

// Theme images of the table, looked up under the net-skin folder and then the folder
// of the profile's "Path"; any of them may be missing (the table then draws its own).
struct TableTheme {
  HBITMAP hFill = nullptr, hBackground = nullptr, hLogo = nullptr, hPlayer = nullptr;
};

class CGameView : public CFormView, public CDocTableView {
  DECLARE_DYNCREATE(CGameView)
 public:
  enum { IDT_IDLE = 1, IDT_AUTOPLAY = 2, IDT_CLOCK = 3, IDT_BLINK = 4, IDT_FLOAT = 5, IDT_LASTROUND = 6, IDT_PAUSE = 7 };
  enum { WM_RELOAD_ORDER = 100, WM_CHAT_ECHO = 0x470 };
  enum { AVATAR_MSG_PLAYER = 1235, AVATAR_MSG_WATCHER = 1236 };

  CGameView();
  ~CGameView() override;

  // The document core and the site. With no explicit document the view's CDocument is
  // asked (the program's document derives from both). Until a site is set the view acts
  // as a table without a connection.
  void SetGameDoc(CGameDocCore* pDoc) { m_pGameDoc = pDoc; }
  void SetSite(CGameViewSite* pSite);
  CGameDocCore* GetGameDoc() const;
  static void SetLargeCards(bool bLarge) { s_bLargeCards = bLarge; }
  void SetThemeFolders(const std::string& netSkin, const std::string& profilePath);

  // ---- CDocTableView: what the document asks ----
  void PhaseChanged(int nPhase) override;
  void ShowTurnClock(int nSeconds) override;
  void HideTurnClock() override;
  void HideTurnMarker() override;
  void RefreshButtons() override;  // the waiting phase's buttons again
  void RedrawAvatar(int nPosition) override;
  void RedrawPlays() override;
  void RepaintTable() override;
  void RelayoutTable() override;
  void HideStartButton() override;
  void HideBidButtons() override;
  void ShowShowCardsButton() override;
  void HideShowCardsButton() override;
  void SetPlayButtons(bool bPlay, bool bPassAndHint) override;
  void RaiseSelectedCards() override;
  void EnablePlayButton(bool bEnabled) override;
  void SetTrusteeshipButtons(bool bOn) override;
  void SetStatusText(const std::string& text) override;  // ShowStatusText
  void SetStatusTextId(int nStringId) override;
  void ShowFloatingText(const std::string& text) override;  // ShowFlyText
  void ShowNotice(const std::string& text) override;
  void SetSurveyTarget(const std::string& url) override;
  void FocusGameView() override;
  void MoveClockForHandEnd() override {}
  void StartLastRoundTimer(int nMs) override;
  // A play with cards slides from the hand to the table (before RedrawPlays), with the
  // MoveCards setting.
  void PlayRecorded(int nPosition, int nType, int nCount) override;
  void PauseTable(uint32_t nMs) override;

  void CloseWaitNotice();
  // A position's new play slides from its hand to the table; only with the MoveCards setting.
  void AnimatePlay(int nPosition);
  bool IsPaused() const { return m_bPaused; }
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
  bool m_bPaused;
};
