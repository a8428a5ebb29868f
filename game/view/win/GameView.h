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
#include <vector>

#include "AvatarPanel.h"
#include "BalloonTipWnd.h"
#include "BlinkButton.h"
#include "CardPainter.h"
#include "CoolButton.h"
#include "FloatingText.h"
#include "TurnClock.h"
#include "GameDocCore.h"
#include "TableLayout.h"
#include "TablePainter.h"
#include "TableRules.h"

// What the view needs from the program around it.
class CGameViewSite {
 public:
  virtual ~CGameViewSite() = default;
  virtual uint32_t OptionFlags() = 0;
  virtual bool GameProgressArrived() = 0;
  virtual int IdleSeconds() = 0;
  virtual void SendKeepAlive() = 0;
  // A question box with an MB_ style; true for Yes.
  virtual bool AskYesNo(const char* text, UINT style) = 0;
  virtual void ToggleScoreBoard() = 0;
  virtual void OpenSettings() = 0;  // the settings dialog
  // Saves a picture of the main window; the file's path, empty when nothing was saved.
  virtual std::string SaveScreenshot() = 0;
  // A line for the player in the chat view, in a colour (COLORREF) and point size.
  virtual void ChatNotice(const std::string& text, COLORREF color, int size) = 0;
  // The nickname of a user the platform knows (the lobby's own nickname, the chat
  // control's user list); empty when it knows none.
  virtual std::string NickNameOf(const char* userName) = 0;
  // A WAVE resource through the sound player (the turn clock's sounds).
  virtual void PlayWave(int id) = 0;
  virtual void OpenUrl(const std::string& url) = 0;
  virtual void TickerText(const std::string& text) = 0;
  // The ticker strip over the table: made on the first call with the view as its parent,
  // moved on later ones.
  virtual void PlaceTicker(CWnd* pParent, const RECT& rect) = 0;
  // The program's main window (null before it exists): the status box shows only with it.
  virtual CWnd* MainWindow() = 0;
  // A seat's ranked tier from the latest tier query (0 for none).
  virtual int SeatTier(int position) = 0;
  // The server's frames wait (a paused table) or flow again.
  virtual void HoldMessages(bool hold) = 0;
};

class CWaitDlg;

class CGameView : public CFormView, public CDocTableView {
  DECLARE_DYNCREATE(CGameView)
 public:
  enum { IDT_IDLE = 1, IDT_AUTOPLAY = 2, IDT_LASTROUND = 6, IDT_PAUSE = 7 };
  // The turn clock's sounds: a tick every few seconds and the sound at zero.
  enum { CLOCK_TICK_SECONDS = 5, CLOCK_DIGITS = 2 };
  enum { WM_RELOAD_ORDER = 100, WM_CHAT_ECHO = 0x470 };
  enum { AVATAR_MSG_PLAYER = 1235, AVATAR_MSG_WATCHER = 1236 };
  enum { OWN_POSITION = CGameDocCore::OWN_POSITION };

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
  // The background chosen in the settings (mode 0 the theme's, 1 a plain colour, 2 a
  // picture file, tiled or stretched): kept for the profile and painted at once.
  void SetBackground(int nMode, COLORREF crColour, const std::string& file, bool bTile);
  // Reads the card sheets now if no card has been drawn yet (start-up, once the table shows).
  void LoadCardSheets();

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
  const TableTheme& GetTheme() const { return m_theme; }
  // Small digits, 11 pixels a cell, white transparent (empty when the library lacks them).
  const CImageList& GetDigitImages() const { return m_imgDigits; }
  int GetSelectedCount() const { return m_nSelected; }
  // A position's last play in the order it is drawn.
  std::vector<CARD_INFO> PlayShown(int nPosition);
  // The nickname a seat's panel shows.
  std::string PanelNickName(int nPosition);
  CWnd* GetControl(UINT nID);
  std::string GetToolTipText(UINT nID);
  // The status text of the wait box (empty while none is open) and the box itself.
  const std::string& GetStatusText() const { return m_strStatus; }
  CWaitDlg* GetWaitNotice() const { return m_pWaitNotice; }
  CToolTipCtrl& GetToolTip() { return m_tooltip; }
  // The band copy's place in the client (top, height); empty before the first paint.
  tableview::Box GetBandBox() const {
    return tableview::Box::At(0, m_nBandTop, m_sizeBack.cx, m_hBand ? m_nBandHeight : 0);
  }
  // The seconds the clock shows; -1 while it is hidden.
  int GetClockSeconds() const;
  CTurnClock& GetTurnClock() { return m_clock; }
  CFloatingText& GetFloatingText() { return m_float; }
  CBlinkButton& GetMarker() { return m_marker; }
  BalloonTipWnd& GetBalloon() { return m_balloon; }
  // A seat's ranked tier (1 to 3 shows a balloon over its tier area; 0 none), as the site
  // last gave it: the view takes the site's tiers before every paint and on pointer moves
  // (the query answers on a worker thread and only invalidates the view).
  int GetSeatTier(int nPosition) const { return nPosition >= 0 && nPosition < 4 ? m_nTier[nPosition] : 0; }
  // The avatar panel of a view position (its window stays hidden: the view paints it).
  CAvatarPanel& GetAvatarPanel(int nPosition) { return m_avatars[nPosition & 3]; }
  // The avatar control of a position gets message 1235 or 1236.
  void PostToAvatar(int nPosition, UINT message, WPARAM wParam);
  // The tier area of a position, where hovering shows its tier.
  tableview::Box TierArea(int nPosition);
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
  afx_msg void OnClockCommand();
  afx_msg LRESULT OnChatEcho(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReloadOrder(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  struct Control;
  void CreateControls();
  void SkinControl(Control& c);
  void CreateWidgets();
  void PlaceWidgets();
  void PlaceTicker();
  void DrawWidgets(CDC* pDC);
  void LoadTheme();
  // Each seat's order picture, under the net skin first when asked, else the profile's folder.
  void LoadOrderImages(bool bNetSkinToo);
  // The painter with the document, layout and fonts of now.
  CTablePainter& Painter();
  void BuildTable(CDC* pDC);
  void LayOut();
  void PlaceControls();
  void MoveMarker(int nPosition);
  // The wait box centred on the table, shown only with the main window.
  void PlaceWaitNotice();
  void SyncWaitNotice();
  void ApplySchedule(const tableview::ScheduleResult& r);
  void DrawOverlays(CDC* pDC);
  bool CreateAvatars();
  // Each panel follows its seat: the player it shows, its status mark and its place.
  void SyncAvatars();
  void DrawAvatars(CDC* pDC);
  bool AvatarShown(int nPosition) const;
  // The site's tiers into the view; true when one changed.
  bool PullTiers();
  void InvalidateBox(const tableview::Box& box);
  void InvalidateSeat(int nPosition);
  void InvalidateTable();
  int PlayerCount() const;
  int SlotOf(int nPosition) const;
  bool Watching() const;
  void ClickCards(UINT nFlags, CPoint point);
  bool ClickAvatars(CPoint point, bool bRight);
  void UpdateSelectedCount();
  void ClearSelection();
  void EnablePlayIfSelected();
  bool EnsureBuffers();
  // The band of the table (30 % to 85 % of the height) as last drawn in full: what lies
  // behind cards moving over it.
  void CopyBand();
  void RestoreFromBand(HDC to, const tableview::Box& box);

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
  std::string m_strBkLoaded;  // the picture file that m_theme.hBkPicture holds
  void LoadBackgroundChoice();
  int m_bMoveCards;

  CDC m_dcBack;
  CBitmap m_bmpBack;
  HGDIOBJ m_hOldBack;
  HDC m_hBandDC;
  HBITMAP m_hBand;
  HGDIOBJ m_hOldBand;
  int m_nBandTop, m_nBandHeight;
  CSize m_sizeBack;
  CPen m_penGrey;
  CBrush m_brushGrey;
  CFont m_font12, m_font14, m_font16, m_fontBadge;
  CCardPainter m_painter;
  bool m_bCardsLoaded;
  TableTheme m_theme;
  CImageList m_imgDigits;
  CTablePainter m_tablePainter;
  std::string m_strNetSkin, m_strProfilePath;

  CQKToolTipCtrl m_tooltip;
  CWaitDlg* m_pWaitNotice;
  CTurnClock m_clock;
  CFloatingText m_float;
  CBlinkButton m_marker;
  BalloonTipWnd m_balloon;
  Control* m_pControls;
  int m_nControls;

  bool m_bMarkerShown;
  int m_nMarkerPosition;
  std::string m_strStatus;
  std::string m_strNotice;
  std::string m_strSurvey;
  bool m_bPaused;
  int m_nClockPause;  // read by the clock's thread: non-zero while the table holds
  int m_nTier[4];     // each seat's ranked tier, 0 for none
  CAvatarPanel m_avatars[4];
  std::string m_strAvatarUser[4];  // the player each panel was given
  bool m_bShowingPrevious;         // the previous trick is on the table
};
