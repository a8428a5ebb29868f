#include "GameView.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "TableGdi.h"
#include "CoolButton.h"
#include "QKBitmap.h"
#include "ThemeBitmaps.h"
#include "ViewTexts.h"
#include "resource.h"

using tableview::Box;
using tableview::Pt;
using namespace viewtext;
using namespace tablegdi;

namespace {

const char kSettings[] = "Settings";
const COLORREF kShadow = RGB(0, 0, 128);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kFrame = RGB(15, 17, 18);
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

std::string LoadText(int id) {
  char buf[512];
  HINSTANCE hRes = AfxGetResourceHandle();
  if (hRes && ::LoadStringA(hRes, (UINT)id, buf, sizeof buf) > 0) return buf;
  for (const StringText& s : kStrings)
    if (s.id == id) return s.text;
  return std::string();
}

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

// The controls of the rules' buttons, in the order of tableview::TableButton.
const UINT kButtonIds[tableview::BTN_COUNT] = {IDC_START,   IDC_CALL1, IDC_CALL2,  IDC_CALL3,   IDC_CALL0,
                                               IDC_TAKEOUT, IDC_PASS,  IDC_SEARCH, IDC_TRUSTEE, IDC_CANCELTRUSTEE};

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
  bool IsBusySending() override { return false; }
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
};
CUnwiredSite s_unwiredSite;
}  // namespace

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
  return tableview::SlotOf(nPosition, doc ? doc->m_bOrder != 0 : true);
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
  return doc && p >= 0 && p < PlayerCount() && m_avatars[p].GetSafeHwnd() && doc->m_Seats[p].szUserName[0];
}

void CGameView::SyncAvatars() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc || !m_hWnd) return;
  if (PlayerCount() == 4 && !m_avatars[3].GetSafeHwnd()) CreateAvatars();
  for (int p = 0; p < PlayerCount(); ++p) {
    CAvatarPanel& a = m_avatars[p];
    if (!a.GetSafeHwnd()) continue;
    const SEAT_INFO& seat = doc->m_Seats[p];
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
  // Sizes 8 and 16 of the card library beside the program.
  char path[MAX_PATH];
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  if (char* slash = std::strrchr(path, '\\')) *slash = 0;
  m_bCardsLoaded = m_painter.Initialization(8 | 16, path) != FALSE || (m_painter.GetLoadedMask() & 8);
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
    ShowNotice(doc->m_strNotice);
    if (!Watching()) doc->SetSchedule(SCHEDULE_WAIT);
  }
  EnsureBuffers();
  PlaceTicker();
  InvalidateTable();
}

void CGameView::SetSite(CGameViewSite* pSite) { m_pSite = pSite ? pSite : &s_unwiredSite; }

void CGameView::OnDestroy() {
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

bool CGameView::EnsureBuffers() {
  CRect rc;
  GetClientRect(&rc);
  if (rc.Width() <= 0 || rc.Height() <= 0) return false;
  if (m_sizeBack.cx == rc.Width() && m_sizeBack.cy == rc.Height() && m_dcBack.GetSafeHdc()) return true;
  HDC screen = ::GetDC(m_hWnd);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, rc.Width(), rc.Height());
  if (!m_dcBack.GetSafeHdc()) m_dcBack.Attach(::CreateCompatibleDC(screen));
  ::ReleaseDC(m_hWnd, screen);
  if (!bmp) return false;  // keep the old buffer: the next resize tries again
  HGDIOBJ old = ::SelectObject(m_dcBack.GetSafeHdc(), bmp);
  if (!m_hOldBack)
    m_hOldBack = old;
  else
    ::DeleteObject(old);
  m_sizeBack = CSize(rc.Width(), rc.Height());
  // The band follows the size: 55 % of the height from 30 % down.
  m_nBandTop = rc.Height() * 30 / 100;
  m_nBandHeight = rc.Height() * 55 / 100;
  if (!m_hBandDC) m_hBandDC = ::CreateCompatibleDC(m_dcBack.GetSafeHdc());
  HBITMAP band = ::CreateCompatibleBitmap(m_dcBack.GetSafeHdc(), rc.Width(), std::max(1, m_nBandHeight));
  if (band && m_hBandDC) {
    HGDIOBJ was = ::SelectObject(m_hBandDC, band);
    if (!m_hOldBand) m_hOldBand = was;
    if (m_hBand) ::DeleteObject(m_hBand);
    m_hBand = band;
  }
  return true;
}

void CGameView::CopyBand() {
  if (!m_hBandDC || !m_hBand) return;
  ::BitBlt(m_hBandDC, 0, 0, m_sizeBack.cx, m_nBandHeight, m_dcBack.GetSafeHdc(), 0, m_nBandTop, SRCCOPY);
}

// What lies under `box`: from the band where the box crosses it, else the back buffer.
void CGameView::RestoreFromBand(HDC to, const Box& box) {
  ::BitBlt(to, box.left, box.top, box.Width(), box.Height(), m_dcBack.GetSafeHdc(), box.left, box.top, SRCCOPY);
  const int top = std::max(box.top, m_nBandTop), bottom = std::min(box.bottom, m_nBandTop + m_nBandHeight);
  if (m_hBandDC && m_hBand && bottom > top)
    ::BitBlt(to, box.left, top, box.Width(), bottom - top, m_hBandDC, box.left, top - m_nBandTop, SRCCOPY);
}

void CGameView::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  if (cx <= 0 || cy <= 0) return;
  // Floating texts rise from 65 % to 30 % of the height, centred on the table.
  m_float.SetParams(65, 30, cx / 2);
  EnsureBuffers();
  if (m_float.GetSafeHwnd()) PlaceTicker();  // after the initial update
  InvalidateTable();
}

// ---- layout ----------------------------------------------------------------------------------

void CGameView::LayOut() {
  CRect rc;
  GetClientRect(&rc);
  CGameDocCore* doc = GetGameDoc();
  tableview::LayoutInput in;
  in.clientW = rc.Width();
  in.clientH = rc.Height();
  in.largeCards = s_bLargeCards;
  in.playerCount = PlayerCount();
  if (doc) {
    in.scoreBoard = doc->m_bScoreBoard == 1 || doc->m_bScoreBoard == 2 ? doc->m_bScoreBoard : 0;
    in.ownCount = std::max(0, std::min<int>(doc->m_Seats[1].nCardCount, CGameDocCore::MAX_CARDS));
    in.topCount =
        in.playerCount == 4 ? std::max(0, std::min<int>(doc->m_Seats[3].nCardCount, CGameDocCore::MAX_CARDS)) : 0;
    in.topOpen = in.playerCount == 4 && Painter().HandShown(3);
    in.phase = doc->GetSchedule();
  }
  // The theme's level icons are square cells as high as their strip.
  BITMAP bm;
  const bool strip = m_theme.hLevel && ::GetObjectA(m_theme.hLevel, sizeof bm, &bm) && bm.bmHeight > 0;
  in.levelW = in.levelH = strip ? bm.bmHeight : 16;
  tableview::ComputeLayout(in, &m_layout);
  m_bLayoutDirty = false;
  PlaceControls();
  SyncAvatars();
  PlaceWidgets();  // the clock and marker windows follow a new size too
}

CTablePainter& CGameView::Painter() {
  TableFonts fonts;
  fonts.f12 = (HFONT)m_font12.GetSafeHandle();
  fonts.f14 = (HFONT)m_font14.GetSafeHandle();
  fonts.f16 = (HFONT)m_font16.GetSafeHandle();
  fonts.badge = (HFONT)m_fontBadge.GetSafeHandle();
  m_tablePainter.Set(GetGameDoc(), m_layout, fonts, m_bCardsLoaded);
  m_tablePainter.SetShowingPrevious(m_bShowingPrevious);
  m_tablePainter.SetTiers(m_nTier);
  m_tablePainter.SetNickNameSource([this](const char* user) { return m_pSite->NickNameOf(user); });
  return m_tablePainter;
}

void CGameView::BuildTable(CDC* pDC) { Painter().BuildTable(pDC); }

std::vector<CARD_INFO> CGameView::PlayShown(int nPosition) { return Painter().PlayShown(nPosition); }

std::string CGameView::PanelNickName(int nPosition) { return Painter().PanelNickName(nPosition); }

const tableview::Layout& CGameView::GetLayout() {
  if (m_bLayoutDirty) LayOut();
  return m_layout;
}

void CGameView::PlaceControls() {
  const tableview::Layout& l = m_layout;
  struct {
    UINT id;
    const Box* box;
  } places[] = {{IDC_START, &l.start},           {IDC_PASS, &l.pass},
                {IDC_TAKEOUT, &l.takeOut},       {IDC_SEARCH, &l.hint},
                {IDC_CALL1, &l.bid[0]},          {IDC_CALL2, &l.bid[1]},
                {IDC_CALL3, &l.bid[2]},          {IDC_CALL0, &l.bid[3]},
                {IDC_SHOWCARD, &l.showCards},    {IDC_TRUSTEE, &l.trustee},
                {IDC_CANCELTRUSTEE, &l.trustee}, {IDC_SURVEY, &l.survey},
                {IDC_LASTROUND, &l.lastRound},   {IDC_SORT, &l.sort},
                {IDC_SCOREBOARD, &l.score},      {IDC_SETTINGS, &l.settings},
                {IDC_SCREENSHOT, &l.screenshot}};
  for (auto& p : places) {
    CWnd* w = GetControl(p.id);
    if (!w) continue;
    w->SetWindowPos(nullptr, p.box->left, p.box->top, p.box->Width(), p.box->Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ---- painting --------------------------------------------------------------------------------

BOOL CGameView::OnEraseBkgnd(CDC*) { return TRUE; }

void CGameView::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  CDC cdc;
  cdc.Attach(dc);
  OnDraw(&cdc);
  cdc.Detach();
  ::EndPaint(m_hWnd, &ps);
}

void CGameView::OnDraw(CDC* pDC) {
  if (!IsWindowVisible()) return;
  RenderTo(pDC);
}

void CGameView::RenderTo(CDC* pDC) {
  if (!EnsureBuffers()) return;
  PullTiers();
  if (m_bLayoutDirty) {
    LayOut();
    m_bTableDirty = true;
  }
  if (m_bTableDirty) {
    BuildTable(&m_dcBack);
    CopyBand();
    m_bTableDirty = false;
  }
  // Overlays (marker, clock, floating text, status) go on a copy so they never stick.
  HDC screen = pDC->GetSafeHdc();
  const int w = m_sizeBack.cx, h = m_sizeBack.cy;
  HDC frame = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(m_dcBack.GetSafeHdc(), w, h);
  HGDIOBJ old = ::SelectObject(frame, bmp);
  ::BitBlt(frame, 0, 0, w, h, m_dcBack.GetSafeHdc(), 0, 0, SRCCOPY);
  CDC f;
  f.Attach(frame);
  DrawOverlays(&f);
  // A thin dark frame on the left, bottom and top edges.
  HPEN pen = ::CreatePen(PS_INSIDEFRAME, 1, kFrame);
  HGDIOBJ op = ::SelectObject(frame, pen);
  ::MoveToEx(frame, w - 1, 0, nullptr);
  ::LineTo(frame, 0, 0);
  ::LineTo(frame, 0, h - 1);
  ::LineTo(frame, w, h - 1);
  ::SelectObject(frame, op);
  ::DeleteObject(pen);
  DrawAvatars(&f);
  f.Detach();
  ::BitBlt(screen, 0, 0, w, h, frame, 0, 0, SRCCOPY);
  ::SelectObject(frame, old);
  ::DeleteObject(bmp);
  ::DeleteDC(frame);
}

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

void CGameView::DrawOverlays(CDC* pDC) {
  HDC dc = pDC->GetSafeHdc();
  const tableview::Layout& l = m_layout;
  HGDIOBJ of = ::SelectObject(dc, m_font16.GetSafeHandle());
  DrawWidgets(pDC);
  // Status line above the own play row.
  if (!m_strStatus.empty()) {
    RECT r{l.cx - 220, l.play[1].y - 30, l.cx + 220, l.play[1].y - 6};
    HGDIOBJ f2 = ::SelectObject(dc, m_font14.GetSafeHandle());
    RECT sh = r;
    ::OffsetRect(&sh, 1, 1);
    CenteredText(dc, sh, m_strStatus.c_str(), kShadow);
    CenteredText(dc, r, m_strStatus.c_str(), RGB(255, 255, 200));
    ::SelectObject(dc, f2);
  }
  // Floating texts rise over everything else.
  m_float.Draw(pDC);
  // A notice from the server in the top-left corner.
  if (!m_strNotice.empty()) {
    RECT r = ToRect(l.notice);
    RoundBox(dc, r, RGB(250, 245, 220), RGB(150, 120, 60), 8);
    RECT t = r;
    ::InflateRect(&t, -4, -4);
    HGDIOBJ f2 = ::SelectObject(dc, m_font12.GetSafeHandle());
    ::SetTextColor(dc, RGB(60, 40, 0));
    ::DrawTextA(dc, m_strNotice.c_str(), -1, &t, DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, f2);
  }
  ::SelectObject(dc, of);
}

// ---- invalidation ----------------------------------------------------------------------------

void CGameView::InvalidateBox(const Box& box) {
  m_bTableDirty = true;
  if (!m_hWnd || box.IsEmpty()) return;
  RECT r = ToRect(box);
  ::InvalidateRect(m_hWnd, &r, FALSE);
}

void CGameView::InvalidateTable() {
  m_bLayoutDirty = true;
  m_bTableDirty = true;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::InvalidateSeat(int p) {
  if (p < 0 || p >= 4) return;
  m_bLayoutDirty = true;
  // Seat areas move with the card count: repaint the whole table from the back buffer.
  InvalidateTable();
}

// ---- what the document asks ------------------------------------------------------------------

void CGameView::RepaintTable() { InvalidateTable(); }
void CGameView::RelayoutTable() { InvalidateTable(); }
void CGameView::RedrawAvatar(int nPosition) { InvalidateSeat(nPosition); }
void CGameView::RedrawPlays() { InvalidateTable(); }

void CGameView::RaiseSelectedCards() {
  UpdateSelectedCount();
  InvalidateTable();
}

void CGameView::ShowTurnClock(int nSeconds) {
  PlaceWidgets();
  m_clock.Start(std::max(0, std::min(nSeconds, 99)));
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::HideTurnClock() {
  m_clock.Stop();
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

int CGameView::GetClockSeconds() const {
  if (!m_clock.IsRunning()) return -1;
  return m_clock.GetRemainingMs() / 1000;
}

void CGameView::HideTurnMarker() {
  m_bMarkerShown = false;
  if (m_marker.GetSafeHwnd()) m_marker.ShowWindow(SW_HIDE);
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::MoveMarker(int nPosition) {
  CGameDocCore* doc = GetGameDoc();
  m_nMarkerPosition = nPosition;
  m_bMarkerShown = false;
  if (doc && nPosition >= 0 && nPosition < 4) {
    const int phase = doc->GetSchedule();
    const uint32_t state = doc->m_Seats[nPosition].dwState;
    m_bMarkerShown = (phase == SCHEDULE_BID || phase == SCHEDULE_PLAY) &&
                     !(state & (SEAT_OFFLINE | SEAT_TRUSTEESHIP | SEAT_TRUST_EXIT));
  }
  PlaceWidgets();
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::ShowControl(UINT nID, bool bShow) {
  CGameDocCore* doc = GetGameDoc();
  // Once the settings were saved ten times the direction buttons stay hidden for good.
  if ((nID == IDC_SEAT_CCW || nID == IDC_SEAT_CW) && doc && !tableview::DirectionButtonsShown(doc->m_nShowOrder))
    bShow = false;
  CWnd* w = GetControl(nID);
  if (!w) return;
  w->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
  CRect r;
  w->GetWindowRect(&r);
  ScreenToClient(&r);
  r.InflateRect(3, 3);
  ::InvalidateRect(m_hWnd, &r, FALSE);
}

void CGameView::EnableStart(bool bOn) {
  if (Watching()) return;
  if (CWnd* w = GetControl(IDC_START)) w->EnableWindow(bOn);
}

void CGameView::EnablePass(bool bOn) {
  if (Watching()) return;
  if (CWnd* w = GetControl(IDC_PASS)) w->EnableWindow(bOn);
}

void CGameView::EnableHint(bool bOn) {
  if (Watching()) return;
  CGameDocCore* doc = GetGameDoc();
  if (CWnd* w = GetControl(IDC_SEARCH)) w->EnableWindow(bOn && doc && doc->m_bHintFlag);
}

void CGameView::ShowBidButtons(bool bShow) {
  for (UINT id : {IDC_CALL1, IDC_CALL2, IDC_CALL3, IDC_CALL0}) ShowControl(id, bShow);
}

void CGameView::HideStartButton() { ShowControl(IDC_START, false); }
void CGameView::HideBidButtons() { ShowBidButtons(false); }
void CGameView::ShowShowCardsButton() {
  ShowControl(IDC_SHOWCARD, true);
  if (CWnd* w = GetControl(IDC_SHOWCARD)) w->EnableWindow(TRUE);
}
void CGameView::HideShowCardsButton() { ShowControl(IDC_SHOWCARD, false); }

void CGameView::SetPlayButtons(bool bPlay, bool bPassAndHint) {
  if (CWnd* w = GetControl(IDC_TAKEOUT)) w->EnableWindow(bPlay && m_nSelected > 0);
  EnablePass(bPassAndHint);
  EnableHint(bPassAndHint);
}

void CGameView::EnablePlayButton(bool bEnabled) {
  if (CWnd* w = GetControl(IDC_TAKEOUT)) w->EnableWindow(bEnabled);
}

void CGameView::SetTrusteeshipButtons(bool bOn) {
  ShowControl(IDC_TRUSTEE, !bOn);
  ShowControl(IDC_CANCELTRUSTEE, bOn);
  if (CWnd* w = GetControl(bOn ? IDC_CANCELTRUSTEE : IDC_TRUSTEE)) w->EnableWindow(TRUE);
}

void CGameView::RefreshButtons() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc || Watching()) return;
  ShowBidButtons(false);
  for (UINT id : {IDC_TAKEOUT, IDC_PASS, IDC_SEARCH}) ShowControl(id, false);
  ShowControl(IDC_START, true);
  EnableStart(true);
}

void CGameView::SetStatusText(const std::string& text) {
  m_strStatus = text;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::SetStatusTextId(int nStringId) { SetStatusText(LoadText(nStringId)); }

void CGameView::CloseWaitNotice() { SetStatusText(std::string()); }

void CGameView::ShowFloatingText(const std::string& text) {
  CGameDocCore* doc = GetGameDoc();
  if (!m_pSite->GameProgressArrived() || !doc || !doc->m_bFlyMsg) return;
  if (text.empty()) return;
  m_float.AddText(text.c_str());
}

void CGameView::ShowNotice(const std::string& text) {
  if (text.empty()) return;
  m_strNotice = text.substr(0, CGameDocCore::NOTICE_SIZE);
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::PlayRecorded(int nPosition, int, int nCount) {
  if (nCount > 0) AnimatePlay(nPosition);
}

void CGameView::PauseTable(uint32_t nMs) {
  // The table holds on a timer: the clock stops counting and the server's frames wait,
  // while the window keeps painting.
  if (!m_hWnd || nMs == 0) return;
  if (!m_bPaused) m_pSite->HoldMessages(true);
  m_bPaused = true;
  m_nClockPause = 1;
  SetTimer(IDT_PAUSE, nMs, nullptr);
}

void CGameView::SetSurveyTarget(const std::string& url) {
  m_strSurvey = url;
  ShowControl(IDC_SURVEY, true);
  if (CWnd* w = GetControl(IDC_SURVEY)) w->EnableWindow(TRUE);
}

void CGameView::FocusGameView() {
  if (m_hWnd) SetFocus();
}

void CGameView::StartLastRoundTimer(int nMs) {
  if (!m_hWnd) return;
  m_bShowingPrevious = true;
  InvalidateTable();
  SetTimer(IDT_LASTROUND, (UINT)std::max(1, nMs), nullptr);
}

void CGameView::PhaseChanged(int nPhase) {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  m_bLayoutDirty = true;
  LayOut();  // the bid and play rows move with the phase
  tableview::ScheduleInput in;
  in.phase = nPhase;
  in.turnPosition = doc->m_nTurnPosition;
  in.watching = doc->IsWatching();
  in.quiet = doc->m_bOwnTrusteeship || doc->m_bOwnTrustExit;
  in.trusteeAllowed = (m_pSite->OptionFlags() & 1) != 0;
  in.ownTrusteeship = doc->m_bOwnTrusteeship != 0;
  in.hintFlag = doc->m_bHintFlag != 0;
  in.freeLead = doc->m_bFreeLead != 0;
  in.ownCount = doc->m_Seats[1].nCardCount;
  UpdateSelectedCount();
  in.selectedCount = m_nSelected;
  in.currentBid = doc->m_nBidValue;
  in.ownBombs = nPhase == SCHEDULE_BID ? doc->CountBombs(1) : 0;
  const tableview::ScheduleResult r = tableview::OnScheduleRules(in);
  if (r.ignored) return;
  ApplySchedule(r);
  InvalidateTable();
}

void CGameView::ApplySchedule(const tableview::ScheduleResult& r) {
  CGameDocCore* doc = GetGameDoc();
  if (r.closeWait) CloseWaitNotice();
  if (r.waitTextId) SetStatusTextId(r.waitTextId);
  if (r.clearPlayOf >= 0) doc->ClearLastPlay(r.clearPlayOf);
  for (int b = 0; b < tableview::BTN_COUNT; ++b) {
    const UINT id = kButtonIds[b];
    const tableview::ButtonAct& a = r.buttons[b];
    if (a.show != tableview::KEEP) ShowControl(id, a.show == tableview::ON);
    if (a.enable != tableview::KEEP)
      if (CWnd* w = GetControl(id)) w->EnableWindow(a.enable == tableview::ON);
  }
  if (r.autoPlay) SetTimer(IDT_AUTOPLAY, 2000, nullptr);
  if (r.markerTo >= 0) {
    MoveMarker(r.markerTo);
  } else {
    m_bMarkerShown = false;
    PlaceWidgets();
  }
}

void CGameView::AnimatePlay(int p) {
  CGameDocCore* doc = GetGameDoc();
  if (!m_bMoveCards || !doc || !m_hWnd || !IsWindowVisible() || !m_pSite->GameProgressArrived()) return;
  if (p < 0 || p >= PlayerCount()) return;
  const int n = std::max(0, std::min<int>(doc->m_Seats[p].nLastPlayCount, CGameDocCore::MAX_CARDS));
  if (n == 0 || !EnsureBuffers()) return;
  // The table under the moving cards: everything but this play, band included.
  LayOut();
  Painter().SetSkipPlay(p);
  BuildTable(&m_dcBack);
  m_tablePainter.SetSkipPlay(-1);
  CopyBand();
  const tableview::Layout& l = m_layout;
  const int slot = SlotOf(p);
  const Box target = tableview::PlayRowBox(l, slot, n);
  const std::vector<CARD_INFO> play = PlayShown(p);
  const int remaining = std::max(0, std::min<int>(doc->m_Seats[p].nCardCount, CGameDocCore::MAX_CARDS));
  Pt from = l.hand[slot];
  if (slot == 1 || slot == 3)
    from.x += remaining * l.step / 2;  // the played cards came from somewhere in the row
  else
    from.y -= l.cardH / 2;
  const std::vector<Pt> steps = tableview::AnimationSteps(from, Pt{target.left, target.top});
  HDC screen = ::GetDC(m_hWnd);
  HDC scratch = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, m_sizeBack.cx, m_sizeBack.cy);
  HGDIOBJ old = ::SelectObject(scratch, bmp);
  CDC dc;
  dc.Attach(scratch);
  Box prev;
  for (const Pt& at : steps) {
    const Box cur = Box::At(at.x, at.y, target.Width(), target.Height());
    const Box dirty = prev.Union(cur);
    RestoreFromBand(scratch, dirty);
    for (int i = 0; i < n; ++i) m_tablePainter.DrawCard(&dc, play[i], at.x + i * l.step, at.y, true, false);
    ::BitBlt(screen, dirty.left, dirty.top, dirty.Width(), dirty.Height(), scratch, dirty.left, dirty.top, SRCCOPY);
    prev = cur;
    ::Sleep(5);
  }
  dc.Detach();
  ::SelectObject(scratch, old);
  ::DeleteObject(bmp);
  ::DeleteDC(scratch);
  ::ReleaseDC(m_hWnd, screen);
  InvalidateTable();
}

// ---- input -----------------------------------------------------------------------------------

void CGameView::UpdateSelectedCount() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  const int n = std::max(0, std::min<int>(doc->m_Seats[1].nCardCount, CGameDocCore::MAX_CARDS));
  m_nSelected = tableview::CountSelected(doc->m_Hands[1], n);
}

void CGameView::ClearSelection() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  for (int i = 0; i < CGameDocCore::MAX_CARDS; ++i) doc->m_Hands[1][i].bSelected = 0;
  m_nSelected = 0;
  InvalidateTable();
}

void CGameView::EnablePlayIfSelected() {
  CGameDocCore* doc = GetGameDoc();
  UpdateSelectedCount();
  const bool on = m_nSelected > 0 && !Watching() && doc && doc->m_nTurnPosition == 1;
  EnablePlayButton(on);
}

bool CGameView::ClickAvatars(CPoint point, bool bRight) {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return false;
  const tableview::Layout& l = GetLayout();
  for (int p = 0; p < PlayerCount(); ++p) {
    const Pt a = l.avatar[SlotOf(p)];
    if (!Box::At(a.x, a.y, tableview::AVATAR_W, tableview::AVATAR_H).Contains(point.x, point.y)) continue;
    if (bRight || doc->IsWatching())
      PostToAvatar(p, AVATAR_MSG_WATCHER, 3);
    else if (p == 1)
      PostToAvatar(1, AVATAR_MSG_PLAYER, 0);
    return true;
  }
  return false;
}

void CGameView::ClickCards(UINT nFlags, CPoint point) {
  if (ClickAvatars(point, false)) return;
  CGameDocCore* doc = GetGameDoc();
  if (!doc || doc->IsWatching() || doc->m_bPlaySent || m_pSite->IsBusySending()) return;
  const tableview::Layout& l = GetLayout();
  const int n = std::max(0, std::min<int>(doc->m_Seats[1].nCardCount, CGameDocCore::MAX_CARDS));
  const int hit = tableview::HitOwnCard(l, doc->m_Hands[1], n, point.x, point.y);
  if (hit < 0 || doc->GetSchedule() != SCHEDULE_PLAY) return;
  bool was[CGameDocCore::MAX_CARDS];
  for (int i = 0; i < n; ++i) was[i] = doc->m_Hands[1][i].bSelected != 0;
  tableview::ApplyCardClick(doc->m_Hands[1], n, hit, (nFlags & MK_CONTROL) != 0);
  // Only the cards that rose or fell are repainted, at once, not when the queue next runs dry.
  m_bLayoutDirty = true;
  for (int i = 0; i < n; ++i)
    if (was[i] != (doc->m_Hands[1][i].bSelected != 0)) InvalidateBox(tableview::OwnCardRepaintBox(l, i));
  UpdateWindow();
  EnablePlayIfSelected();
}

void CGameView::OnLButtonDown(UINT nFlags, CPoint point) { ClickCards(nFlags, point); }
void CGameView::OnLButtonDblClk(UINT nFlags, CPoint point) { ClickCards(nFlags, point); }

void CGameView::OnRButtonDown(UINT, CPoint point) {
  CGameDocCore* doc = GetGameDoc();
  if (doc && doc->GetSchedule() == SCHEDULE_PLAY) OnTakeOut();
  ClickAvatars(point, true);
}

void CGameView::OnMouseMove(UINT, CPoint point) {
  if (PullTiers()) InvalidateTable();
  // Over a seat's tier area its tier shows in the balloon, its corner just above the pointer.
  int tier = 0;
  for (int p = 0; p < PlayerCount() && !tier; ++p)
    if (m_nTier[p] >= 1 && m_nTier[p] <= 3 && TierArea(p).Contains(point.x, point.y)) tier = m_nTier[p];
  if (m_balloon.GetSafeHwnd()) {
    if (tier && !m_balloon.IsShown()) {
      char text[64];
      std::snprintf(text, sizeof text, kTierFmt, tier);
      m_balloon.Show(text, point.x, point.y - 10, point.x, point.y, 2);
    } else if (!tier && m_balloon.IsShown()) {
      m_balloon.Hide();
    }
  }
  Default();
}

BOOL CGameView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (pWnd == this && nHitTest == HTCLIENT) {
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    const tableview::Layout& l = GetLayout();
    for (int p = 0; p < PlayerCount(); ++p) {
      const Pt a = l.avatar[SlotOf(p)];
      if (Box::At(a.x, a.y, tableview::AVATAR_W, tableview::AVATAR_H).Contains(pt.x, pt.y)) {
        ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
    }
  }
  return CFormView::OnSetCursor(pWnd, nHitTest, message);
}

BOOL CGameView::PreTranslateMessage(MSG* pMsg) {
  m_tooltip.RelayEvent(pMsg);
  return CFormView::PreTranslateMessage(pMsg);
}

std::string CGameView::GetToolTipText(UINT nID) {
  CWnd* w = GetControl(nID);
  if (!w || !m_tooltip.GetSafeHwnd()) return std::string();
  CString s;
  m_tooltip.GetText(s, w);
  return (const char*)s;
}

// ---- buttons ---------------------------------------------------------------------------------

void CGameView::OnTakeOut() {
  KillTimer(IDT_AUTOPLAY);
  SetFocus();
  CGameDocCore* doc = GetGameDoc();
  if (!doc || doc->IsWatching() || doc->m_bBusy || doc->m_nTurnPosition != 1 || doc->m_bPlaySent ||
      m_pSite->IsBusySending())
    return;
  doc->PlaySelectedCards();
  UpdateSelectedCount();
  InvalidateTable();
}

void CGameView::OnStart() {
  KillTimer(IDT_AUTOPLAY);
  SetFocus();
  CGameDocCore* doc = GetGameDoc();
  if (!doc || doc->m_bBusy || m_pSite->IsBusySending()) return;
  EnableStart(false);
  if (doc->GetSchedule() == SCHEDULE_WAIT) doc->SendReady();
}

void CGameView::OnPass() {
  KillTimer(IDT_AUTOPLAY);
  SetFocus();
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  EnablePlayButton(false);
  EnablePass(false);
  EnableHint(false);
  if (!doc->m_bHintFlag) ShowControl(IDC_SEARCH, false);
  doc->Pass();
  ClearSelection();
}

void CGameView::OnSearch() {
  KillTimer(IDT_AUTOPLAY);
  CGameDocCore* doc = GetGameDoc();
  if (!doc || !doc->m_bHintFlag) return;
  SetFocus();
  const CARD_INFO* hint = nullptr;
  const int k = doc->FindHint(&hint);
  if (k <= 0 || !hint) {
    OnPass();
    return;
  }
  const int n = std::max(0, std::min<int>(doc->m_Seats[1].nCardCount, CGameDocCore::MAX_CARDS));
  for (int i = 0; i < n; ++i) {
    CARD_INFO& c = doc->m_Hands[1][i];
    c.bSelected = 0;
    for (int j = 0; j < k; ++j)
      if (hint[j].nCode == c.nCode) c.bSelected = 1;
  }
  InvalidateTable();
  EnablePlayIfSelected();
}

void CGameView::OnTrustee() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc || !(m_pSite->OptionFlags() & 1)) return;
  // The second button (No) is the default: a stray Enter keeps the player at the table.
  if (m_pSite->AskYesNo(kAskTrustee, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)) doc->RequestTrusteeship(1);
}

void CGameView::OnCancelTrustee() {
  CGameDocCore* doc = GetGameDoc();
  if (doc && (m_pSite->OptionFlags() & 1)) doc->RequestTrusteeship(0);
}

void CGameView::OnSwitchDirection() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  doc->ToggleOrder();
  ShowControl(IDC_SEAT_CCW, doc->m_bOrder != 0);
  ShowControl(IDC_SEAT_CW, doc->m_bOrder == 0);
  InvalidateTable();
  MoveMarker(m_nMarkerPosition);
}

void CGameView::OnSettings() {
  if (m_bInSettings) return;
  m_bInSettings = true;
  m_pSite->OpenSettings();
  m_bInSettings = false;
  InvalidateTable();
}

void CGameView::OnSurvey() {
  if (!m_strSurvey.empty()) m_pSite->OpenUrl(m_strSurvey);
}

void CGameView::OnScreenshot() {
  const std::string path = m_pSite->SaveScreenshot();
  if (path.empty()) return;
  char line[MAX_PATH + 64];
  std::snprintf(line, sizeof line, kScreenshotSavedFmt, path.c_str());
  m_pSite->ChatNotice(line, RGB(0, 0, 255), 10);
}

void CGameView::OnLastRound() {
  CGameDocCore* doc = GetGameDoc();
  // On the first trick there is nothing to show.
  if (!doc || !tableview::PreviousTrickExists(doc->m_nPrevPlayCount, PlayerCount())) return;
  doc->ShowLastRound();
}

void CGameView::OnScoreBoard() { m_pSite->ToggleScoreBoard(); }

void CGameView::OnSort() {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  doc->ToggleSortMode();
  const int phase = doc->GetSchedule();
  if (phase == SCHEDULE_BID || phase == SCHEDULE_PLAY) InvalidateSeat(1);
}

void CGameView::OnShowCards() {
  if (CGameDocCore* doc = GetGameDoc()) doc->SendShowCards();
}

void CGameView::OnBid1() {
  if (CGameDocCore* doc = GetGameDoc()) doc->SendBid(1);
}
void CGameView::OnBid2() {
  if (CGameDocCore* doc = GetGameDoc()) doc->SendBid(2);
}
void CGameView::OnBid3() {
  if (CGameDocCore* doc = GetGameDoc()) doc->SendBid(3);
}
void CGameView::OnBid0() {
  if (CGameDocCore* doc = GetGameDoc()) doc->SendBid(0);
}

// ---- timers and messages ---------------------------------------------------------------------

void CGameView::OnTimer(UINT_PTR nIDEvent) {
  CGameDocCore* doc = GetGameDoc();
  // Every timer message of the view is an idle tick: the keep-alive goes out every
  // IdleSecond ticks whatever the user does.
  if (tableview::IdleTick(&m_nIdleTicks, m_pSite->IdleSeconds())) m_pSite->SendKeepAlive();
  switch (nIDEvent) {
    case IDT_IDLE:
      break;
    case IDT_AUTOPLAY: {
      KillTimer(IDT_AUTOPLAY);
      if (!doc || doc->m_bOwnTrusteeship || doc->m_bOwnTrustExit || doc->GetSchedule() != SCHEDULE_PLAY) break;
      if (doc->m_Seats[1].nCardCount != 1 || doc->m_Hands[1][0].bSelected) break;
      doc->m_Hands[1][0].bSelected = 1;
      EnablePlayIfSelected();
      OnTakeOut();
      break;
    }
    case IDT_PAUSE:
      KillTimer(IDT_PAUSE);
      m_nClockPause = 0;
      if (m_bPaused) {
        m_bPaused = false;
        m_pSite->HoldMessages(false);
      }
      break;
    case IDT_LASTROUND:
      KillTimer(IDT_LASTROUND);
      m_bShowingPrevious = false;
      if (doc) doc->EndShowLastRound();
      break;
    default:
      break;
  }
}

LRESULT CGameView::OnChatEcho(WPARAM, LPARAM lParam) {
  CGameDocCore* doc = GetGameDoc();
  const char* line = reinterpret_cast<const char*>(lParam);
  if (!doc || !line || !doc->m_szHostName[0]) return 0;
  char host[sizeof doc->m_szHostName + 1];
  std::memcpy(host, doc->m_szHostName, sizeof doc->m_szHostName);
  host[sizeof doc->m_szHostName] = 0;
  // Chat lines are bounded by the chat control; never read past 4096 bytes.
  std::string text = tableview::ChatEchoForTicker(line, 4096, host);
  if (!text.empty()) m_pSite->TickerText(text);
  return 0;
}

LRESULT CGameView::OnReloadOrder(WPARAM, LPARAM) {
  LoadOrderImages(false);
  InvalidateTable();
  return 0;
}

void CGameView::LoadOrderImages(bool bNetSkinToo) {
  CGameDocCore* doc = GetGameDoc();
  for (int p = 0; p < 4; ++p) {
    if (m_theme.hOrder[p]) ::DeleteObject(m_theme.hOrder[p]);
    m_theme.hOrder[p] = nullptr;
    if (!doc) continue;
    // The seat's order number is its seat at the server.
    char rel[48];
    std::snprintf(rel, sizeof rel, "\\theme\\order_%d.bmp", (int)doc->m_Seats[p].wSeat);
    for (const std::string& base : {bNetSkinToo ? m_strNetSkin : std::string(), m_strProfilePath}) {
      if (base.empty()) continue;
      if ((m_theme.hOrder[p] = LoadBmpFile(base + rel)) != nullptr) break;
    }
  }
}
