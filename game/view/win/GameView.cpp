#include "GameView.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "TableGdi.h"
#include "CoolButton.h"
#include "QKBitmap.h"
#include "ThemeBitmaps.h"
#include "GameViewShared.h"
#include "ViewTexts.h"
#include "resource.h"

using tableview::Box;
using tableview::Pt;
using namespace viewtext;
using namespace tablegdi;
using namespace gameview;

namespace {

const char kSettings[] = "Settings";
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const int kAvatarBorder = 2;  // the avatar panels' frame
const COLORREF kBadgeText = RGB(120, 0, 0);

// Strings of the resource library the view shows, with the text used when the library
// has none.
struct StringText {
  int id;
  const char* text;
};
const StringText kStrings[] = {
    {IDS_WAITSTART, kWaitStart},
};

}  // namespace

std::string gameview::LoadText(int id) {
  char buf[512];
  HINSTANCE hRes = AfxGetResourceHandle();
  if (hRes && ::LoadStringA(hRes, (UINT)id, buf, sizeof buf) > 0) return buf;
  for (const StringText& s : kStrings)
    if (s.id == id) return s.text;
  return std::string();
}

namespace {

// The table's own face of a button whose theme picture is missing: a rounded, lit face
// with its caption, grey when disabled (tool buttons blue, the row's buttons gold).
void DrawTableFace(LPDRAWITEMSTRUCT dis, bool tool) {
  HDC dc = dis->hDC;
  RECT r = dis->rcItem;
  const bool disabled = (dis->itemState & ODS_DISABLED) != 0;
  const bool pressed = (dis->itemState & ODS_SELECTED) != 0;
  FillRect(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, RGB(0, 100, 50));
  COLORREF top = tool ? RGB(70, 120, 170) : RGB(255, 214, 90);
  COLORREF bottom = tool ? RGB(20, 60, 110) : RGB(214, 120, 20);
  if (disabled) {
    top = RGB(170, 170, 170);
    bottom = RGB(120, 120, 120);
  } else if (pressed) {
    std::swap(top, bottom);
  }
  // Clip regions are in device units: follow the caller's viewport origin.
  POINT org;
  ::GetViewportOrgEx(dc, &org);
  HRGN rgn = ::CreateRoundRectRgn(r.left + org.x, r.top + org.y, r.right + 1 + org.x, r.bottom + 1 + org.y, 10, 10);
  ::SelectClipRgn(dc, rgn);
  VerticalGradient(dc, r, top, bottom);
  ::SelectClipRgn(dc, nullptr);
  ::DeleteObject(rgn);
  HBRUSH hollow = (HBRUSH)::GetStockObject(NULL_BRUSH);
  HPEN pen = ::CreatePen(PS_SOLID, 1, disabled ? RGB(90, 90, 90) : RGB(110, 50, 0));
  HGDIOBJ ob = ::SelectObject(dc, hollow), op = ::SelectObject(dc, pen);
  ::RoundRect(dc, r.left, r.top, r.right, r.bottom, 10, 10);
  ::SelectObject(dc, ob);
  ::SelectObject(dc, op);
  ::DeleteObject(pen);
  char text[64];
  ::GetWindowTextA(dis->hwndItem, text, sizeof text);
  HFONT font = (HFONT)::SendMessageA(::GetParent(dis->hwndItem), WM_GETFONT, 0, 0);
  HGDIOBJ of = font ? ::SelectObject(dc, font) : nullptr;
  if (pressed) ::OffsetRect(&r, 1, 1);
  RECT sh = r;
  ::OffsetRect(&sh, 1, 1);
  CenteredText(dc, sh, text, disabled ? RGB(200, 200, 200) : RGB(90, 40, 0));
  CenteredText(dc, r, text, disabled ? RGB(235, 235, 235) : kWhite);
  if (of) ::SelectObject(dc, of);
}

// A tool button: the theme's picture file, else the table's own face.
class CTableToolButton : public CCoolButton {
 public:
  void DrawItem(LPDRAWITEMSTRUCT dis) override {
    if (HasImage())
      CCoolButton::DrawItem(dis);
    else
      DrawTableFace(dis, true);
  }
};

// A button of the bid and play row: the theme's "respic" picture, else the table's face.
class CTableRowButton : public CQKBitmapButton2 {
 public:
  bool HasImage() const { return m_image.GetSafeHandle() != nullptr; }
  void DrawItem(LPDRAWITEMSTRUCT dis) override {
    if (HasImage())
      CQKBitmapButton2::DrawItem(dis);
    else
      DrawTableFace(dis, false);
  }
};

}  // namespace

// One control of the form: its id, caption, tooltip and the window.
struct CGameView::Control {
  UINT nID;
  const char* caption;
  UINT themeId;           // a tool button's picture in the theme's table
  const char* respicKey;  // a row button's key in the theme's "respic" section
  CTableToolButton tool;
  CTableRowButton row;
  CButton& wnd() { return themeId ? static_cast<CButton&>(tool) : static_cast<CButton&>(row); }
};

namespace {
struct ControlSpec {
  UINT nID;
  const char* caption;
  UINT themeId;
  const char* respicKey;
};
// The eleven tool buttons take their pictures from the theme's files, the eight buttons of
// the bid and play row from the theme's "respic" section.
const ControlSpec kControls[] = {
    {IDC_LASTROUND, kCapLastRound, IDB_ICON5, nullptr},
    {IDC_SCOREBOARD, kCapScore, IDB_ICON6, nullptr},
    {IDC_SORT, kCapSort, IDB_ICON4, nullptr},
    {IDC_SHOWCARD, kShownText, IDB_SHOWCARD, nullptr},
    {IDC_SCREENSHOT, kCapScreenshot, IDB_ICON7, nullptr},
    {IDC_TRUSTEE, kCapTrustee, IDB_ICON2A, nullptr},
    {IDC_CANCELTRUSTEE, kCapCancelTrustee, IDB_ICON2B, nullptr},
    {IDC_SEAT_CCW, kCapCcw, IDB_ICON3A, nullptr},
    {IDC_SEAT_CW, kCapCw, IDB_ICON3B, nullptr},
    {IDC_SETTINGS, kCapSettings, IDB_ICON1, nullptr},
    {IDC_SURVEY, kCapSurvey, IDB_ADVICE, nullptr},
    {IDC_CALL1, kBid1, 0, "IDB_CALL1"},
    {IDC_CALL2, kBid2, 0, "IDB_CALL2"},
    {IDC_CALL3, kBid3, 0, "IDB_CALL3"},
    {IDC_CALL0, kBidNone, 0, "IDB_CALL0"},
    {IDC_START, kCapStart, 0, "IDB_START"},
    {IDC_TAKEOUT, kCapTakeOut, 0, "IDB_TAKEOUT"},
    {IDC_PASS, kPassText, 0, "IDB_PASS"},
    {IDC_SEARCH, kCapHint, 0, "IDB_SEARCH"},
};
const int kControlCount = sizeof kControls / sizeof kControls[0];

// Tooltips of the tool buttons: a string of the resource library or a fixed text.
struct TipSpec {
  UINT nID;
  int stringId;
  const char* text;
};
const TipSpec kTips[] = {
    {IDC_LASTROUND, IDS_TIP_LASTROUND, nullptr},
    {IDC_SCOREBOARD, IDS_TIP_SCOREBOARD, nullptr},
    {IDC_SORT, IDS_TIP_SORT, nullptr},
    {IDC_SHOWCARD, IDS_SHOWCARDPLAY, nullptr},
    {IDC_SCREENSHOT, IDS_TIP_SCREENSHOT, nullptr},
    {IDC_TRUSTEE, 0, kTipTrustee},
    {IDC_CANCELTRUSTEE, 0, kTipCancelTrustee},
    {IDC_SEAT_CCW, 0, kTipCcw},
    {IDC_SEAT_CW, 0, kTipCw},
    {IDC_SETTINGS, IDS_TIP_SETTINGS, nullptr},
};
// The site of a view that no program has wired (a table without a connection).
class CUnwiredSite : public CGameViewSite {
 public:
  uint32_t OptionFlags() override { return 0; }
  bool GameProgressArrived() override { return true; }
  int IdleSeconds() override { return 120; }
  void SendKeepAlive() override {}
  bool AskYesNo(const char*, UINT) override { return false; }
  void ToggleScoreBoard() override {}
  void OpenSettings() override {}
  std::string SaveScreenshot() override { return std::string(); }
  void ChatNotice(const std::string&, COLORREF, int) override {}
  std::string NickNameOf(const char*) override { return std::string(); }
  void PlayWave(int) override {}
  void OpenUrl(const std::string&) override {}
  void TickerText(const std::string&) override {}
  void PlaceTicker(CWnd*, const RECT&) override {}
  int SeatTier(int) override { return 0; }
  void HoldMessages(bool) override {}
  CWnd* MainWindow() override { return nullptr; }
};
CUnwiredSite s_unwiredSite;
}  // namespace

// The controls of the rules' buttons, in the order of tableview::TableButton.
const UINT gameview::kButtonIds[tableview::BTN_COUNT] = {IDC_START,   IDC_CALL1,         IDC_CALL2,   IDC_CALL3,
                                                         IDC_CALL0,   IDC_TAKEOUT,       IDC_PASS,    IDC_SEARCH,
                                                         IDC_TRUSTEE, IDC_CANCELTRUSTEE, IDC_SHOWCARD};

bool CGameView::s_bLargeCards = false;

IMPLEMENT_DYNCREATE(CGameView, CFormView)

BEGIN_MESSAGE_MAP(CGameView, CFormView)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
  ON_WM_TIMER()
  ON_COMMAND(IDC_TURNCLOCK, &CGameView::OnClockCommand)
  ON_MESSAGE(CGameView::WM_CHAT_ECHO, &CGameView::OnChatEcho)
  ON_MESSAGE(CGameView::WM_RELOAD_ORDER, &CGameView::OnReloadOrder)
  ON_BN_CLICKED(IDC_TAKEOUT, &CGameView::OnTakeOut)
  ON_BN_CLICKED(IDC_START, &CGameView::OnStart)
  ON_BN_CLICKED(IDC_PASS, &CGameView::OnPass)
  ON_BN_CLICKED(IDC_SEARCH, &CGameView::OnSearch)
  ON_BN_CLICKED(IDC_TRUSTEE, &CGameView::OnTrustee)
  ON_BN_CLICKED(IDC_CANCELTRUSTEE, &CGameView::OnCancelTrustee)
  ON_BN_CLICKED(IDC_SEAT_CCW, &CGameView::OnSwitchDirection)
  ON_BN_CLICKED(IDC_SEAT_CW, &CGameView::OnSwitchDirection)
  ON_BN_CLICKED(IDC_SETTINGS, &CGameView::OnSettings)
  ON_BN_CLICKED(IDC_SURVEY, &CGameView::OnSurvey)
  ON_BN_CLICKED(IDC_SCREENSHOT, &CGameView::OnScreenshot)
  ON_BN_CLICKED(IDC_LASTROUND, &CGameView::OnLastRound)
  ON_BN_CLICKED(IDC_SCOREBOARD, &CGameView::OnScoreBoard)
  ON_BN_CLICKED(IDC_SORT, &CGameView::OnSort)
  ON_BN_CLICKED(IDC_SHOWCARD, &CGameView::OnShowCards)
  ON_BN_CLICKED(IDC_CALL1, &CGameView::OnBid1)
  ON_BN_CLICKED(IDC_CALL2, &CGameView::OnBid2)
  ON_BN_CLICKED(IDC_CALL3, &CGameView::OnBid3)
  ON_BN_CLICKED(IDC_CALL0, &CGameView::OnBid0)
END_MESSAGE_MAP()

CGameView::CGameView()
    : CFormView(IDD_GAMEVIEW),
      m_pGameDoc(nullptr),
      m_pSite(&s_unwiredSite),
      m_bLayoutDirty(true),
      m_bTableDirty(true),
      m_nSelected(0),
      m_nIdleTicks(0),
      m_bInSettings(false),
      m_hOldBack(nullptr),
      m_hBandDC(nullptr),
      m_hBand(nullptr),
      m_hOldBand(nullptr),
      m_nBandTop(0),
      m_nBandHeight(0),
      m_sizeBack(0, 0),
      m_bCardsLoaded(false),
      m_tablePainter(m_theme, m_painter),
      m_pWaitNotice(nullptr),
      m_pControls(new Control[kControlCount]),
      m_nControls(kControlCount),
      m_bMarkerShown(false),
      m_nMarkerPosition(-1),
      m_bPaused(false),
      m_nClockPause(0),
      m_nTier{0, 0, 0, 0},
      m_bShowingPrevious(false) {
  for (int i = 0; i < kControlCount; ++i) {
    m_pControls[i].nID = kControls[i].nID;
    m_pControls[i].caption = kControls[i].caption;
    m_pControls[i].themeId = kControls[i].themeId;
    m_pControls[i].respicKey = kControls[i].respicKey;
  }
  CWinApp* app = AfxGetApp();
  m_nUseBkColor = app ? (int)app->GetProfileInt(kSettings, "UseBkColor", 0) : 0;
  m_crBkColor = app ? (COLORREF)app->GetProfileInt(kSettings, "BkColor", 0x8000) : 0x8000;
  m_strBkBmp = app ? (const char*)app->GetProfileString(kSettings, "BkBmp", "") : "";
  m_bTile = app ? (int)app->GetProfileInt(kSettings, "Tile", 1) : 1;
  m_bMoveCards = app ? (int)app->GetProfileInt(kSettings, "MoveCards", 0) : 0;
  m_penGrey.CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
  m_brushGrey.CreateSolidBrush(RGB(192, 192, 192));
  m_font12.CreateFont(12, 6, 0, 0, 500, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, kFace);
}

CGameView::~CGameView() {
  if (CWinApp* app = AfxGetApp()) {
    app->WriteProfileInt(kSettings, "UseBkColor", m_nUseBkColor);
    app->WriteProfileInt(kSettings, "BkColor", (int)m_crBkColor);
    app->WriteProfileString(kSettings, "BkBmp", m_strBkBmp.c_str());
    app->WriteProfileInt(kSettings, "Tile", m_bTile);
    app->WriteProfileInt(kSettings, "MoveCards", m_bMoveCards);
  }
  if (m_hOldBack) ::SelectObject(m_dcBack.GetSafeHdc(), m_hOldBack);
  if (m_hBandDC) {
    ::SelectObject(m_hBandDC, m_hOldBand);
    ::DeleteDC(m_hBandDC);
  }
  if (m_hBand) ::DeleteObject(m_hBand);
  for (HBITMAP b : {m_theme.hFill, m_theme.hBackground, m_theme.hLogo, m_theme.hPlayer, m_theme.hBadge, m_theme.hFarmer,
                    m_theme.hBidStrip, m_theme.hPass, m_theme.hBkPicture, m_theme.hLevel})
    if (b) ::DeleteObject(b);
  for (HBITMAP b : m_theme.hOrder)
    if (b) ::DeleteObject(b);
  delete[] m_pControls;
}

CGameDocCore* CGameView::GetGameDoc() const {
  if (m_pGameDoc) return m_pGameDoc;
  return dynamic_cast<CGameDocCore*>(GetDocument());
}

void CGameView::SetThemeFolders(const std::string& netSkin, const std::string& profilePath) {
  m_strNetSkin = netSkin;
  m_strProfilePath = profilePath;
}

int CGameView::PlayerCount() const {
  CGameDocCore* doc = GetGameDoc();
  int n = doc ? doc->GetPlayerCount() : 3;
  return n == 4 ? 4 : 3;
}

int CGameView::SlotOf(int nPosition) const {
  CGameDocCore* doc = GetGameDoc();
  return tableview::SlotOf(nPosition, doc ? doc->IsOrderClockwise() : true);
}

bool CGameView::Watching() const {
  CGameDocCore* doc = GetGameDoc();
  return doc && doc->IsWatching();
}

CWnd* CGameView::GetControl(UINT nID) {
  for (int i = 0; i < m_nControls; ++i)
    if (m_pControls[i].nID == nID && m_pControls[i].wnd().GetSafeHwnd()) return &m_pControls[i].wnd();
  return nullptr;
}

// ---- creation --------------------------------------------------------------------------------

int CGameView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFormView::OnCreate(lpcs) == -1) return -1;
  if (CWinApp* app = AfxGetApp()) {
    if (app->GetProfileInt(kSettings, "KeyValue3", 0) != 73729) app->WriteProfileInt(kSettings, "KeyValue3", 73729);
  }
  return CreateAvatars() ? 0 : -1;
}

// ---- avatars ---------------------------------------------------------------------------------

// The panels stay hidden: the view paints their pictures into the table itself, so clicks
// on an avatar reach the view (which posts them to the control) and the table composes in
// one copy. The top seat's panel is made when a four-player table needs it.
bool CGameView::CreateAvatars() {
  for (int p = 0; p < 4; ++p) {
    if (p == 3 && PlayerCount() != 4) continue;
    if (!m_avatars[p].GetSafeHwnd() && !m_avatars[p].Create("", 0, this, (UINT)p, kAvatarBorder)) return false;
    m_avatars[p].ShowWindow(SW_HIDE);
  }
  return true;
}

bool CGameView::AvatarShown(int p) const {
  CGameDocCore* doc = GetGameDoc();
  return doc && p >= 0 && p < PlayerCount() && m_avatars[p].GetSafeHwnd() && doc->Seat(p).szUserName[0];
}

void CGameView::SyncAvatars() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc || !m_hWnd) return;
  if (PlayerCount() == 4 && !m_avatars[3].GetSafeHwnd()) CreateAvatars();
  for (int p = 0; p < PlayerCount(); ++p) {
    CAvatarPanel& a = m_avatars[p];
    if (!a.GetSafeHwnd()) continue;
    const SEAT_INFO& seat = doc->Seat(p);
    const std::string user(seat.szUserName, strnlen(seat.szUserName, sizeof seat.szUserName));
    if (user != m_strAvatarUser[p]) {
      a.SetText(user.c_str());
      m_strAvatarUser[p] = user;
    }
    if (seat.dwState != a.GetStatusFlags()) a.SetStatusMark(seat.dwState);
    const Pt pt = m_layout.avatar[SlotOf(p)];
    a.SetSizeType(pt.x, pt.y, 0, tableview::AVATAR_W, tableview::AVATAR_H);
  }
}

// Each seat's picture with its status mark, framed as the panel frames it.
void CGameView::DrawAvatars(CDC* pDC) {
  for (int p = 0; p < PlayerCount(); ++p) {
    if (!AvatarShown(p)) continue;
    CAvatarPanel& a = m_avatars[p];
    CRect r;
    a.GetWindowRect(&r);
    ScreenToClient(&r);
    const int b = a.GetBorder();
    a.ShowAvatar(pDC, r.left + b, r.top + b, r.Width() - 2 * b, r.Height() - 2 * b);
    ::DrawEdge(pDC->GetSafeHdc(), &r, BDR_RAISEDOUTER | BDR_SUNKENINNER, BF_RECT);
  }
}

void CGameView::PostToAvatar(int nPosition, UINT message, WPARAM wParam) {
  if (nPosition < 0 || nPosition >= 4) return;
  if (HWND h = m_avatars[nPosition].GetAvatarWindow()) ::PostMessageA(h, message, wParam, 0);
}

bool CGameView::PullTiers() {
  bool changed = false;
  for (int p = 0; p < 4; ++p) {
    const int t = p < PlayerCount() ? m_pSite->SeatTier(p) : 0;
    if (t == m_nTier[p]) continue;
    m_nTier[p] = t;
    changed = true;
  }
  if (changed) m_bTableDirty = true;
  return changed;
}

// A control takes its skin; without the theme's picture it keeps the table's own face.
void CGameView::SkinControl(Control& c) {
  if (c.themeId) {
    c.tool.LoadFile(this, c.nID, GetThemeBitmapPath(c.themeId, m_strNetSkin, m_strProfilePath).c_str(), TRUE);
    return;
  }
  if (c.row.LoadSkin(c.nID, "respic", c.respicKey, this)) return;
  if (!c.row.GetSafeHwnd()) c.row.SubclassDlgItem(c.nID, this);
  if (c.row.GetSafeHwnd()) c.row.ModifyStyle(0x0F, BS_OWNERDRAW);
}

void CGameView::CreateControls() {
  ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)m_font14.GetSafeHandle(), FALSE);
  for (int i = 0; i < m_nControls; ++i) {
    Control& c = m_pControls[i];
    if (c.wnd().GetSafeHwnd()) continue;
    // The form template carries the controls; a template without one gets it made here.
    if (!::GetDlgItem(m_hWnd, (int)c.nID))
      ::CreateWindowExA(0, "BUTTON", c.caption, WS_CHILD | BS_PUSHBUTTON, 0, 0, 82, 26, m_hWnd, (HMENU)(UINT_PTR)c.nID,
                        AfxGetInstanceHandle(), nullptr);
    SkinControl(c);
    CButton& w = c.wnd();
    if (!w.GetSafeHwnd()) continue;
    w.SetWindowText(c.caption);
    ::SendMessageA(w.GetSafeHwnd(), WM_SETFONT, (WPARAM)m_font14.GetSafeHandle(), FALSE);
  }
  if (m_tooltip.Create(this)) {
    for (const TipSpec& t : kTips) {
      CWnd* w = GetControl(t.nID);
      if (!w) continue;
      std::string text = t.text ? t.text : LoadText(t.stringId);
      if (text.empty()) {
        char caption[64];
        ::GetWindowTextA(w->GetSafeHwnd(), caption, sizeof caption);
        text = caption;
      }
      m_tooltip.AddTool(w, text.c_str());
    }
    m_tooltip.Activate(TRUE);
  }
  // The template's marker, clock and notice start hidden.
  for (int id : {IDC_TURNMARK, IDC_TURNCLOCK, IDC_NOTICE})
    if (HWND h = ::GetDlgItem(m_hWnd, id)) ::ShowWindow(h, SW_HIDE);
}

void CGameView::CreateWidgets() {
  // The clock's digits, the marker's frames and the overlay's timer; the clock's sounds
  // go through the program's sound player.
  m_clock.Create(this, IDC_TURNCLOCK, IDB_CLOCKDIGITS, &m_nClockPause, IDW_TICK, IDW_TIMEUP, CLOCK_TICK_SECONDS, FALSE,
                 CLOCK_DIGITS);
  m_clock.SetSoundPlayer([this](UINT id) { m_pSite->PlayWave((int)id); });
  m_clock.Stop();
  if (m_marker.Create(this, IDC_TURNMARK, IDB_TURNMARK, 32, 32, RGB(0, 255, 0), 250)) {
    // The view composes the table itself: the marker only keeps its frame.
    m_marker.SetParentDrawn(TRUE);
    m_marker.ShowWindow(SW_HIDE);
  }
  if (!m_float.GetSafeHwnd()) m_float.Create(this, IDC_FLOATINGTEXT);
  if (!m_balloon.GetSafeHwnd() && m_balloon.Create(this)) {
    m_balloon.SetTextColor(0x282828);
    m_balloon.SetOpacity(80);
    m_balloon.SetTail(12, 8);
    m_balloon.SetMinSize(150, 60);
    m_balloon.SetMaxSize(150, 300);
    m_balloon.SelectFont(0);
  }
}

tableview::Box CGameView::TierArea(int nPosition) {
  // The tier badge's size: the area the pointer must be over.
  return tableview::TierBox(GetLayout(), SlotOf(nPosition));
}

void CGameView::PlaceWidgets() {
  if (m_bLayoutDirty && m_hWnd) LayOut();
  const tableview::Layout& l = m_layout;
  if (m_clock.GetSafeHwnd()) {
    const CSize cell = m_clock.GetCellSize();
    m_clock.SetWindowPos(nullptr, l.clock.x, l.clock.y - cell.cy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (m_marker.GetSafeHwnd()) {
    const bool on = m_bMarkerShown && m_nMarkerPosition >= 0 && m_nMarkerPosition < 4;
    if (on) {
      const Pt m = l.marker[SlotOf(m_nMarkerPosition)];
      m_marker.SetWindowPos(nullptr, m.x, m.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_marker.ShowWindow(on ? SW_SHOWNA : SW_HIDE);
  }
}

// The clock and the marker are windows of their own; the table's picture shows them too,
// so that a repaint of the table never hides them and screenshots hold them.
void CGameView::DrawWidgets(CDC* pDC) {
  const tableview::Layout& l = m_layout;
  if (m_bMarkerShown && m_nMarkerPosition >= 0 && m_nMarkerPosition < 4) {
    const Pt m = l.marker[SlotOf(m_nMarkerPosition)];
    m_marker.DrawFrame(pDC, m.x, m.y);
  }
  if (m_clock.IsRunning()) m_clock.DrawDigits(pDC->GetSafeHdc(), l.clock.x, l.clock.y - m_clock.GetCellSize().cy);
}

// The ticker strip, 600 by 30 at the top centre of the table.
void CGameView::PlaceTicker() {
  CRect rc;
  GetClientRect(&rc);
  const RECT r{rc.Width() / 2 - 300, 0, rc.Width() / 2 + 300, 30};
  m_pSite->PlaceTicker(this, r);
}

void CGameView::OnClockCommand() {
  // The clock ran out: what that means is the document's.
  if (CGameDocCore* doc = GetGameDoc()) doc->OnClockExpired();
}

void CGameView::LoadTheme() {
  auto find = [this](const char* rel) -> HBITMAP {
    for (const std::string& base : {m_strNetSkin, m_strProfilePath}) {
      if (base.empty()) continue;
      if (HBITMAP b = LoadBmpFile(base + rel)) return b;
    }
    return nullptr;
  };
  // The background is a picture (JPEG): the picture decoder reads it, a BMP too.
  auto findPicture = [this](const char* rel) -> HBITMAP {
    for (const std::string& base : {m_strNetSkin, m_strProfilePath}) {
      if (base.empty()) continue;
      CQKBitmap pic;
      if (pic.LoadFile((base + rel).c_str())) return (HBITMAP)pic.Detach();
    }
    return nullptr;
  };
  // The player's own choices and the card sheets do not hang on the theme: a theme that
  // lacks a badge still leaves a playable table.
  LoadOrderImages(true);
  LoadBackgroundChoice();
  // Sizes 8 and 16 of the card library beside the program, read when the table is on the
  // screen or a card is drawn first (plain cards when they do not load).
  char path[MAX_PATH];
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  if (char* slash = std::strrchr(path, '\\')) *slash = 0;
  m_painter.InitializeLater(8 | 16, path);
  m_bCardsLoaded = true;
  m_theme.hLevel = find("\\theme\\respic\\level.bmp");
  // The theme's pictures in order; a missing badge or fill ends the theme there.
  m_theme.hBadge = LoadThemeBitmap(IDB_VESK32, m_strNetSkin, m_strProfilePath);
  m_theme.hFarmer = LoadThemeBitmap(IDB_FARMER, m_strNetSkin, m_strProfilePath);
  if (!m_theme.hBadge || !m_theme.hFarmer) return;
  BITMAP bm{};
  if (::GetObjectA(m_theme.hFarmer, sizeof bm, &bm) && bm.bmWidth >= 2 && bm.bmHeight > 0)
    m_theme.badgeCell = SIZE{bm.bmWidth / 2, bm.bmHeight};  // the right half is its mask
  if (!m_imgDigits.GetSafeHandle()) m_imgDigits.Create(IDB_DIGITS11, 11, 0, RGB(255, 255, 255));
  m_theme.hFill = find("\\theme\\bkgFill.bmp");
  if (!m_theme.hFill) return;
  m_theme.hBackground = findPicture("\\theme\\background.jpg");
  if (!m_theme.hBackground) m_theme.hBackground = find("\\theme\\background.bmp");
  m_theme.hLogo = find("\\theme\\logo_0.bmp");
  m_theme.hPlayer = find("\\theme\\respic\\player.bmp");
  m_theme.hBidStrip = LoadThemeBitmap(IDB_JF, m_strNetSkin, m_strProfilePath);
  m_theme.hPass = LoadThemeBitmap(IDB_PASS, m_strNetSkin, m_strProfilePath);
}

void CGameView::LoadCardSheets() {
  if (!m_painter.IsDeferred()) return;
  m_bCardsLoaded = m_painter.LoadDeferred() != FALSE || (m_painter.GetLoadedMask() & 8);
}

void CGameView::SetBackground(int nMode, COLORREF crColour, const std::string& file, bool bTile) {
  m_nUseBkColor = nMode;
  m_crBkColor = crColour;
  m_strBkBmp = file;
  m_bTile = bTile ? 1 : 0;
  LoadBackgroundChoice();
  InvalidateTable();
}

void CGameView::LoadBackgroundChoice() {
  m_theme.bkMode = m_nUseBkColor;
  m_theme.bkColour = m_crBkColor;
  m_theme.bkTile = m_bTile != 0;
  // The picture is read when it is chosen; the same file is not read again.
  if (m_nUseBkColor != 2 || m_strBkBmp == m_strBkLoaded) return;
  if (m_theme.hBkPicture) ::DeleteObject(m_theme.hBkPicture);
  m_theme.hBkPicture = nullptr;
  m_strBkLoaded = m_strBkBmp;
  CQKBitmap pic;
  if (!m_strBkBmp.empty() && pic.LoadFile(m_strBkBmp.c_str())) m_theme.hBkPicture = (HBITMAP)pic.Detach();
}

void CGameView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  SetScrollSizes(MM_TEXT, CSize(0, 0));
  m_font14.CreateFont(14, 7, 0, 0, 500, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, kFace);
  m_font16.CreateFont(16, 8, 0, 0, 600, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, kFace);
  m_fontBadge.CreateFont(18, 9, 0, 0, 800, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, kFace);
  CreateControls();
  LoadTheme();
  SetTimer(IDT_IDLE, 1000, nullptr);
  CreateWidgets();
  LayOut();
  ShowBidButtons(false);
  for (UINT id : {IDC_SHOWCARD, IDC_CANCELTRUSTEE, IDC_START, IDC_PASS, IDC_SEARCH, IDC_TAKEOUT, IDC_SEAT_CCW,
                  IDC_SEAT_CW, IDC_SURVEY})
    ShowControl(id, false);
  m_clock.Stop();
  m_bMarkerShown = false;
  if (m_marker.GetSafeHwnd()) m_marker.ShowWindow(SW_HIDE);
  if (CWnd* w = GetControl(IDC_TRUSTEE)) w->EnableWindow(FALSE);
  if (Watching())
    if (CWnd* w = GetControl(IDC_CANCELTRUSTEE)) w->EnableWindow(FALSE);
  for (UINT id : {IDC_START, IDC_PASS, IDC_SEARCH})
    if (CWnd* w = GetControl(id)) w->EnableWindow(FALSE);
  CGameDocCore* doc = GetGameDoc();
  if (doc) {
    doc->AttachTableView(this);
    ShowNotice(doc->Notice());
    if (!Watching()) doc->SetSchedule(SCHEDULE_WAIT);
  }
  EnsureBuffers();
  PlaceTicker();
  InvalidateTable();
}

void CGameView::SetSite(CGameViewSite* pSite) { m_pSite = pSite ? pSite : &s_unwiredSite; }

void CGameView::OnDestroy() {
  CloseWaitNotice();
  if (m_balloon.GetSafeHwnd()) m_balloon.DestroyWindow();
  if (!Watching()) KillTimer(IDT_IDLE);
  KillTimer(IDT_AUTOPLAY);
  KillTimer(IDT_LASTROUND);
  if (m_bPaused) {
    KillTimer(IDT_PAUSE);
    m_bPaused = false;
    m_nClockPause = 0;
    m_pSite->HoldMessages(false);
  }
  if (CGameDocCore* doc = GetGameDoc())
    if (doc->GetAttachedTableView() == this) doc->AttachTableView(nullptr);
  CFormView::OnDestroy();
}

// The screenshot form of the table: the visible buttons drawn into the same DC.
void CGameView::RenderWithControls(CDC* pDC) {
  RenderTo(pDC);
  HDC dc = pDC->GetSafeHdc();
  for (int i = 0; i < m_nControls; ++i) {
    CButton& b = m_pControls[i].wnd();
    if (!b.GetSafeHwnd() || !b.IsWindowVisible()) continue;
    CRect r;
    b.GetWindowRect(&r);
    ScreenToClient(&r);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = m_pControls[i].nID;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = b.IsWindowEnabled() ? 0 : ODS_DISABLED;
    dis.hwndItem = b.GetSafeHwnd();
    dis.hDC = dc;
    dis.rcItem = RECT{0, 0, r.Width(), r.Height()};
    POINT old;
    ::SetViewportOrgEx(dc, r.left, r.top, &old);
    b.DrawItem(&dis);
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
  }
}

void CGameView::LoadOrderImages(bool bNetSkinToo) {
  CGameDocCore* doc = GetGameDoc();
  for (int p = 0; p < 4; ++p) {
    if (m_theme.hOrder[p]) ::DeleteObject(m_theme.hOrder[p]);
    m_theme.hOrder[p] = nullptr;
    if (!doc) continue;
    // The seat's order number is its seat at the server.
    char rel[48];
    std::snprintf(rel, sizeof rel, "\\theme\\order_%d.bmp", (int)doc->Seat(p).wSeat);
    for (const std::string& base : {bNetSkinToo ? m_strNetSkin : std::string(), m_strProfilePath}) {
      if (base.empty()) continue;
      if ((m_theme.hOrder[p] = LoadBmpFile(base + rel)) != nullptr) break;
    }
  }
}
