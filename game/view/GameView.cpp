#include "GameView.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "resource.h"

using tableview::Box;
using tableview::Pt;

namespace {

const char kSettings[] = "Settings";
const char kFace[] = "\xCB\xCE\xCC\xE5";  // the table's Chinese face
const char kAskTrustee[] =
    "\xBD\xAB\xD3\xC9\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xD0\xB9\xDC\xD3\xCE\xCF\xB7\xA3\xAC\xCA\xC7\xB7\xF1\xBC\xCC\xD0\xF8"
    "\xA3\xBF";
const char kPassText[] = "\xB2\xBB\xB3\xF6";
const char kDeclarerText[] = "\xB5\xD8\xD6\xF7";
const char kBaseFmt[] = "\xB5\xD7\xB7\xD6: %d";
const char kMultFmt[] = "\xB1\xB6\xCA\xFD: %d";
const char kShownText[] = "\xC3\xF7\xC5\xC6";
const char* const kBidTexts[4] = {"\xB2\xBB\xBD\xD0", "1\xB7\xD6", "2\xB7\xD6", "3\xB7\xD6"};

const COLORREF kShadow = RGB(0, 0, 128);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kFrame = RGB(15, 17, 18);

// Strings of the resource library the view shows, with the text used when the library
// has none.
struct StringText {
  int id;
  const char* text;
};
const StringText kStrings[] = {
    {3002, "\xB5\xC8\xB4\xFD\xC6\xE4\xCB\xFB\xCD\xE6\xBC\xD2\xBF\xAA\xCA\xBC..."},
};

std::string LoadText(int id) {
  char buf[512];
  HINSTANCE hRes = AfxGetResourceHandle();
  if (hRes && ::LoadStringA(hRes, (UINT)id, buf, sizeof buf) > 0) return buf;
  for (const StringText& s : kStrings)
    if (s.id == id) return s.text;
  return std::string();
}

RECT ToRect(const Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }

void FillRect(HDC dc, int x, int y, int w, int h, COLORREF c) {
  RECT r{x, y, x + w, y + h};
  ::SetBkColor(dc, c);
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void VerticalGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  TRIVERTEX v[2] = {{r.left, r.top, (COLOR16)(GetRValue(top) << 8), (COLOR16)(GetGValue(top) << 8),
                     (COLOR16)(GetBValue(top) << 8), 0},
                    {r.right, r.bottom, (COLOR16)(GetRValue(bottom) << 8), (COLOR16)(GetGValue(bottom) << 8),
                     (COLOR16)(GetBValue(bottom) << 8), 0}};
  GRADIENT_RECT g{0, 1};
  ::GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

void RoundBox(HDC dc, const RECT& r, COLORREF fill, COLORREF edge, int radius) {
  HBRUSH b = ::CreateSolidBrush(fill);
  HPEN p = ::CreatePen(PS_SOLID, 1, edge);
  HGDIOBJ ob = ::SelectObject(dc, b), op = ::SelectObject(dc, p);
  ::RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
  ::SelectObject(dc, ob);
  ::SelectObject(dc, op);
  ::DeleteObject(b);
  ::DeleteObject(p);
}

void Disc(HDC dc, int x, int y, int w, int h, COLORREF fill, COLORREF edge) {
  HBRUSH b = ::CreateSolidBrush(fill);
  HPEN p = ::CreatePen(PS_SOLID, 1, edge);
  HGDIOBJ ob = ::SelectObject(dc, b), op = ::SelectObject(dc, p);
  ::Ellipse(dc, x, y, x + w, y + h);
  ::SelectObject(dc, ob);
  ::SelectObject(dc, op);
  ::DeleteObject(b);
  ::DeleteObject(p);
}

void CenteredText(HDC dc, const RECT& r, const char* text, COLORREF color) {
  RECT rr = r;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, color);
  ::DrawTextA(dc, text, -1, &rr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

HBITMAP LoadBmpFile(const std::string& path) {
  if (path.empty()) return nullptr;
  return (HBITMAP)::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
}

void StretchBmp(HDC dc, HBITMAP bmp, const RECT& to) {
  BITMAP bm;
  if (!bmp || !::GetObjectA(bmp, sizeof bm, &bm)) return;
  HDC src = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(src, bmp);
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, src, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  ::SelectObject(src, old);
  ::DeleteDC(src);
}

// A tiny table button: a rounded, lit face with its caption, grey when disabled.
class CTableButton : public CButton {
 public:
  void DrawItem(LPDRAWITEMSTRUCT dis) override {
    HDC dc = dis->hDC;
    RECT r = dis->rcItem;
    const bool disabled = (dis->itemState & ODS_DISABLED) != 0;
    const bool pressed = (dis->itemState & ODS_SELECTED) != 0;
    const bool tool = (r.bottom - r.top) > 28 && (r.right - r.left) < 60;
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
};

}  // namespace

// One control of the form: its id, caption, tooltip and the window.
struct CGameView::Control {
  UINT nID;
  const char* caption;
  CTableButton wnd;
};

namespace {
struct ControlSpec {
  UINT nID;
  const char* caption;
};
const ControlSpec kControls[] = {
    {IDC_LASTROUND, "\xC9\xCF\xC2\xD6"},
    {IDC_SCOREBOARD, "\xBC\xC7\xB7\xD6"},
    {IDC_SORT, "\xC0\xED\xC5\xC6"},
    {IDC_SHOWCARD, "\xC3\xF7\xC5\xC6"},
    {IDC_SCREENSHOT, "\xBD\xD8\xCD\xBC"},
    {IDC_TRUSTEE, "\xCD\xD0\xB9\xDC"},
    {IDC_CANCELTRUSTEE, "\xBD\xE2\xCD\xD0"},
    {IDC_SEAT_CCW, "\xC4\xE6"},
    {IDC_SEAT_CW, "\xCB\xB3"},
    {IDC_SETTINGS, "\xC9\xE8\xD6\xC3"},
    {IDC_SURVEY, "\xB5\xF7\xB2\xE9"},
    {IDC_CALL1, "1\xB7\xD6"},
    {IDC_CALL2, "2\xB7\xD6"},
    {IDC_CALL3, "3\xB7\xD6"},
    {IDC_CALL0, "\xB2\xBB\xBD\xD0"},
    {IDC_START, "\xBF\xAA\xCA\xBC"},
    {IDC_TAKEOUT, "\xB3\xF6\xC5\xC6"},
    {IDC_PASS, "\xB2\xBB\xB3\xF6"},
    {IDC_SEARCH, "\xCC\xE1\xCA\xBE"},
};
const int kControlCount = sizeof kControls / sizeof kControls[0];

// Tooltips of the tool buttons: a string of the resource library or a fixed text.
struct TipSpec {
  UINT nID;
  int stringId;
  const char* text;
};
const TipSpec kTips[] = {
    {IDC_LASTROUND, 6004, nullptr},
    {IDC_SCOREBOARD, 6003, nullptr},
    {IDC_SORT, 6001, nullptr},
    {IDC_SHOWCARD, 9007, nullptr},
    {IDC_SCREENSHOT, 6005, nullptr},
    {IDC_TRUSTEE, 0, "\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xD0\xB9\xDC"},
    {IDC_CANCELTRUSTEE, 0, "\xBD\xE2\xB3\xFD\xCD\xD0\xB9\xDC"},
    {IDC_SEAT_CCW, 0, "\xC7\xD0\xBB\xBB\xB5\xBD\xC4\xE6\xCA\xB1\xD5\xEB\xB3\xF6\xC5\xC6"},
    {IDC_SEAT_CW, 0, "\xC7\xD0\xBB\xBB\xB5\xBD\xCB\xB3\xCA\xB1\xD5\xEB\xB3\xF6\xC5\xC6"},
    {IDC_SETTINGS, 6000, nullptr},
};
// The site of a view that no program has wired (a table without a connection).
class CUnwiredSite : public CGameViewSite {
 public:
  bool IsBusySending() override { return false; }
  uint32_t OptionFlags() override { return 0; }
  bool GameProgressArrived() override { return true; }
  int IdleSeconds() override { return 120; }
  void SendKeepAlive() override {}
  bool AskYesNo(const char*) override { return false; }
  void ToggleScoreBoard() override {}
  void OpenSettings() override {}
  void SaveScreenshot() override {}
  void OpenUrl(const std::string&) override {}
  void TickerText(const std::string&) override {}
  void PostToAvatar(int, UINT, WPARAM) override {}
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
      m_sizeBack(0, 0),
      m_bCardsLoaded(false),
      m_pControls(new Control[kControlCount]),
      m_nControls(kControlCount),
      m_nClockSeconds(-1),
      m_bMarkerShown(false),
      m_nMarkerPosition(-1),
      m_bBlinkOn(true),
      m_nFloatTicks(0),
      m_bPaused(false) {
  for (int i = 0; i < kControlCount; ++i) {
    m_pControls[i].nID = kControls[i].nID;
    m_pControls[i].caption = kControls[i].caption;
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
  for (HBITMAP b : {m_theme.hFill, m_theme.hBackground, m_theme.hLogo, m_theme.hPlayer})
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
    if (m_pControls[i].nID == nID && m_pControls[i].wnd.GetSafeHwnd()) return &m_pControls[i].wnd;
  return nullptr;
}

// ---- creation --------------------------------------------------------------------------------

int CGameView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFormView::OnCreate(lpcs) == -1) return -1;
  if (CWinApp* app = AfxGetApp()) {
    if (app->GetProfileInt(kSettings, "KeyValue3", 0) != 73729) app->WriteProfileInt(kSettings, "KeyValue3", 73729);
  }
  return 0;
}

void CGameView::CreateControls() {
  ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)m_font14.GetSafeHandle(), FALSE);
  for (int i = 0; i < m_nControls; ++i) {
    Control& c = m_pControls[i];
    if (c.wnd.GetSafeHwnd()) continue;
    // The form template carries the controls; a template without one gets it made here.
    HWND hItem = ::GetDlgItem(m_hWnd, (int)c.nID);
    if (hItem) {
      c.wnd.SubclassWindow(hItem);
      c.wnd.ModifyStyle(0x0F, BS_OWNERDRAW);
    } else {
      c.wnd.Create(c.caption, WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 82, 26), this, c.nID);
    }
    c.wnd.SetWindowText(c.caption);
    ::SendMessageA(c.wnd.GetSafeHwnd(), WM_SETFONT, (WPARAM)m_font14.GetSafeHandle(), FALSE);
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
  // The template's marker and clock statics: the view draws both itself.
  for (int id : {IDC_TURNMARK, IDC_TURNCLOCK, IDC_NOTICE})
    if (HWND h = ::GetDlgItem(m_hWnd, id)) ::ShowWindow(h, SW_HIDE);
}

void CGameView::LoadTheme() {
  auto find = [this](const char* rel) -> HBITMAP {
    for (const std::string& base : {m_strNetSkin, m_strProfilePath}) {
      if (base.empty()) continue;
      if (HBITMAP b = LoadBmpFile(base + rel)) return b;
    }
    return nullptr;
  };
  m_theme.hFill = find("\\theme\\bkgFill.bmp");
  m_theme.hBackground = find("\\theme\\background.bmp");
  m_theme.hLogo = find("\\theme\\logo_0.bmp");
  m_theme.hPlayer = find("\\theme\\respic\\player.bmp");
  // Sizes 8 and 16 of the card library beside the program.
  char path[MAX_PATH];
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  if (char* slash = std::strrchr(path, '\\')) *slash = 0;
  m_bCardsLoaded = m_painter.Initialization(8 | 16, path) != FALSE || (m_painter.GetLoadedMask() & 8);
}

void CGameView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  SetScrollSizes(MM_TEXT, CSize(0, 0));
  m_font14.CreateFont(14, 7, 0, 0, 500, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, kFace);
  m_font16.CreateFont(16, 8, 0, 0, 600, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0, kFace);
  CreateControls();
  LoadTheme();
  SetTimer(IDT_IDLE, 1000, nullptr);
  SetTimer(IDT_BLINK, 250, nullptr);
  LayOut();
  ShowBidButtons(false);
  for (UINT id : {IDC_SHOWCARD, IDC_CANCELTRUSTEE, IDC_START, IDC_PASS, IDC_SEARCH, IDC_TAKEOUT, IDC_SEAT_CCW,
                  IDC_SEAT_CW, IDC_SURVEY})
    ShowControl(id, false);
  m_nClockSeconds = -1;
  m_bMarkerShown = false;
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
  InvalidateTable();
}

void CGameView::SetSite(CGameViewSite* pSite) { m_pSite = pSite ? pSite : &s_unwiredSite; }

void CGameView::OnDestroy() {
  if (!Watching()) KillTimer(IDT_IDLE);
  KillTimer(IDT_BLINK);
  KillTimer(IDT_CLOCK);
  KillTimer(IDT_FLOAT);
  KillTimer(IDT_AUTOPLAY);
  KillTimer(IDT_LASTROUND);
  if (m_bPaused) {
    KillTimer(IDT_PAUSE);
    m_bPaused = false;
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
  if (!m_hOldBack) m_hOldBack = old;
  else ::DeleteObject(old);
  m_sizeBack = CSize(rc.Width(), rc.Height());
  return true;
}

void CGameView::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  if (cx <= 0 || cy <= 0) return;
  EnsureBuffers();
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
    in.topCount = in.playerCount == 4 ? std::max(0, std::min<int>(doc->m_Seats[3].nCardCount, CGameDocCore::MAX_CARDS)) : 0;
    in.topOpen = in.playerCount == 4 && HandShown(3);
    in.phase = doc->GetSchedule();
  }
  in.levelW = 16;
  in.levelH = 16;
  tableview::ComputeLayout(in, &m_layout);
  m_bLayoutDirty = false;
  PlaceControls();
}

const tableview::Layout& CGameView::GetLayout() {
  if (m_bLayoutDirty) LayOut();
  return m_layout;
}

void CGameView::PlaceControls() {
  const tableview::Layout& l = m_layout;
  struct {
    UINT id;
    const Box* box;
  } places[] = {{IDC_START, &l.start},         {IDC_PASS, &l.pass},         {IDC_TAKEOUT, &l.takeOut},
                {IDC_SEARCH, &l.hint},         {IDC_CALL1, &l.bid[0]},      {IDC_CALL2, &l.bid[1]},
                {IDC_CALL3, &l.bid[2]},        {IDC_CALL0, &l.bid[3]},      {IDC_SHOWCARD, &l.showCards},
                {IDC_TRUSTEE, &l.trustee},     {IDC_CANCELTRUSTEE, &l.trustee}, {IDC_SURVEY, &l.survey},
                {IDC_LASTROUND, &l.lastRound}, {IDC_SORT, &l.sort},         {IDC_SCOREBOARD, &l.score},
                {IDC_SETTINGS, &l.settings},   {IDC_SCREENSHOT, &l.screenshot}};
  for (auto& p : places) {
    CWnd* w = GetControl(p.id);
    if (!w) continue;
    w->SetWindowPos(nullptr, p.box->left, p.box->top, p.box->Width(), p.box->Height(),
                    SWP_NOZORDER | SWP_NOACTIVATE);
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
  if (m_bLayoutDirty) {
    LayOut();
    m_bTableDirty = true;
  }
  if (m_bTableDirty) {
    BuildTable(&m_dcBack);
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
    CTableButton& b = m_pControls[i].wnd;
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

void CGameView::BuildTable(CDC* pDC) {
  HDC dc = pDC->GetSafeHdc();
  HGDIOBJ oldFont = ::SelectObject(dc, m_font14.GetSafeHandle());
  DrawBackground(pDC);
  CGameDocCore* doc = GetGameDoc();
  if (doc) {
    const bool four = PlayerCount() == 4;
    const int order[4] = {3, 2, 0, 1};
    for (int p : order)
      if (p != 3 || four) DrawPlayerPanel(pDC, p);
    for (int p : order)
      if (p != 3 || four) DrawHand(pDC, p);
    if (!four) DrawBottomCards(pDC);
  }
  ::SelectObject(dc, oldFont);
}

void CGameView::DrawBackground(CDC* pDC) {
  HDC dc = pDC->GetSafeHdc();
  const tableview::Layout& l = m_layout;
  RECT table{0, 0, l.W, l.H};
  if (m_theme.hFill) {
    StretchBmp(dc, m_theme.hFill, table);
    StretchBmp(dc, m_theme.hBackground, table);
  } else {
    // The felt: a lit centre fading to darker edges, with a faint oval rail.
    VerticalGradient(dc, RECT{0, 0, l.W, l.H / 2}, RGB(0, 86, 40), RGB(0, 122, 58));
    VerticalGradient(dc, RECT{0, l.H / 2, l.W, l.H}, RGB(0, 122, 58), RGB(0, 80, 38));
    HPEN rail = ::CreatePen(PS_SOLID, 3, RGB(0, 140, 70));
    HGDIOBJ op = ::SelectObject(dc, rail), ob = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, 40, 30, l.W - 40, l.H - 20, 260, 260);
    ::SelectObject(dc, op);
    ::SelectObject(dc, ob);
    ::DeleteObject(rail);
  }
  if (m_theme.hLogo) {
    BITMAP bm;
    if (::GetObjectA(m_theme.hLogo, sizeof bm, &bm))
      StretchBmp(dc, m_theme.hLogo, RECT{l.cx - bm.bmWidth / 2, l.cy - bm.bmHeight / 2, l.cx + (bm.bmWidth + 1) / 2,
                                         l.cy + (bm.bmHeight + 1) / 2});
  }
  if (!l.strip.IsEmpty()) {
    RECT s = ToRect(l.strip);
    if (m_theme.hFill)
      StretchBmp(dc, m_theme.hFill, s);
    else
      VerticalGradient(dc, s, RGB(0, 70, 34), RGB(0, 56, 28));
  }
}

void CGameView::DrawShadowText(CDC* pDC, int x, int y, const char* text, COLORREF color) {
  HDC dc = pDC->GetSafeHdc();
  ::SetBkMode(dc, TRANSPARENT);
  const int n = (int)std::strlen(text);
  ::SetTextColor(dc, kShadow);
  ::TextOutA(dc, x + 1, y + 1, text, n);
  ::SetTextColor(dc, color);
  ::TextOutA(dc, x, y, text, n);
}

bool CGameView::HandShown(int nPosition) const {
  CGameDocCore* doc = GetGameDoc();
  if (!doc || nPosition == CGameDocCore::OWN_POSITION) return true;
  const int n = doc->m_Seats[nPosition].nCardCount;
  if (n <= 0) return false;
  const int phase = doc->GetSchedule();
  if (phase == SCHEDULE_PLAY) {
    // The declarer playing with open cards.
    return doc->m_bDeclarerShown && doc->m_nDeclarerSeat >= 0 &&
           doc->SeatToPosition(doc->m_nDeclarerSeat) == nPosition;
  }
  if (phase == SCHEDULE_BID) return false;
  // After a hand the document lays every remaining hand open.
  const CARD_INFO& c = doc->m_Hands[nPosition][0];
  return c.bFaceUp && c.nCode != 255;
}

bool CGameView::CardFaceUp(int nPosition, const CARD_INFO& card) const {
  if (!card.bFaceUp) return false;
  CGameDocCore* doc = GetGameDoc();
  if (doc && doc->IsWatching() && !doc->m_Seats[nPosition].bAllowWatching) return false;
  return true;
}

void CGameView::DrawCard(CDC* pDC, const CARD_INFO& card, int x, int y, bool faceUp, bool raise) {
  if (card.nDrawState1) return;
  if (raise && card.bSelected) y -= tableview::RAISE;
  const int cell = tableview::CardCell(card, faceUp);
  if (cell == 0) return;
  const bool large = m_layout.cardW == tableview::CARD_W_LARGE;
  const int w = m_layout.drawW, h = m_layout.drawH;
  HDC dc = pDC->GetSafeHdc();
  RECT r{x, y, x + w, y + h};
  if (!::RectVisible(dc, &r)) return;
  if (m_bCardsLoaded &&
      m_painter.ShowCard(pDC, (WORD)cell, (WORD)x, (WORD)y, 0, 0, large ? 16 : 8, 0, 0, 0, 0, nullptr) == CARD_DRAWN)
    return;
  // Without the card library: a plain card with its rank.
  RoundBox(dc, r, cell == tableview::CELL_BACK ? RGB(40, 70, 160) : kWhite, RGB(60, 60, 60), 8);
  if (cell != tableview::CELL_BACK) {
    static const char* const kFaces[] = {"", "A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    const int face = cell & 15;
    const char* t = (cell == tableview::CELL_SMALL_JOKER || cell == tableview::CELL_BIG_JOKER) ? "JK" : kFaces[face];
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, (cell >> 4) == 2 || (cell >> 4) == 4 ? RGB(200, 0, 0) : RGB(0, 0, 0));
    ::TextOutA(dc, x + 4, y + 3, t, (int)std::strlen(t));
  }
}

void CGameView::DrawPlayerPanel(CDC* pDC, int p) {
  CGameDocCore* doc = GetGameDoc();
  const tableview::Layout& l = m_layout;
  const int slot = SlotOf(p);
  HDC dc = pDC->GetSafeHdc();
  const SEAT_INFO& seat = doc->m_Seats[p];
  ::SetBkMode(dc, TRANSPARENT);

  // Panel background.
  const Pt panel = l.panel[slot];
  RECT pr{panel.x, panel.y, panel.x + tableview::PANEL_W, panel.y + tableview::PANEL_H};
  if (m_theme.hPlayer) {
    HDC src = ::CreateCompatibleDC(dc);
    HGDIOBJ o = ::SelectObject(src, m_theme.hPlayer);
    ::BitBlt(dc, pr.left, pr.top, tableview::PANEL_W, tableview::PANEL_H, src, slot == 0 ? tableview::PANEL_W : 0, 0,
             SRCCOPY);
    ::SelectObject(src, o);
    ::DeleteDC(src);
  } else {
    RoundBox(dc, pr, RGB(0, 64, 32), RGB(90, 170, 110), 14);
  }

  // Avatar: a framed portrait of the seat.
  const Pt a = l.avatar[slot];
  RECT ar{a.x, a.y, a.x + tableview::AVATAR_W, a.y + tableview::AVATAR_H};
  const bool present = seat.szUserName[0] != 0;
  VerticalGradient(dc, ar, present ? RGB(190, 220, 240) : RGB(90, 110, 100), present ? RGB(110, 150, 190) : RGB(60, 80, 70));
  if (present) {
    static const COLORREF kShirts[4] = {RGB(200, 60, 60), RGB(40, 90, 200), RGB(60, 150, 60), RGB(150, 90, 30)};
    HRGN clip = ::CreateRectRgn(ar.left, ar.top, ar.right, ar.bottom);
    ::SelectClipRgn(dc, clip);
    Disc(dc, a.x + 13, a.y + 70, 64, 80, kShirts[p & 3], RGB(60, 40, 40));
    Disc(dc, a.x + 27, a.y + 20, 36, 42, RGB(250, 210, 170), RGB(120, 80, 60));
    ::SelectClipRgn(dc, nullptr);
    ::DeleteObject(clip);
  }
  HGDIOBJ ob = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  HPEN edge = ::CreatePen(PS_SOLID, 1, RGB(230, 230, 200));
  HGDIOBJ op = ::SelectObject(dc, edge);
  ::Rectangle(dc, ar.left, ar.top, ar.right, ar.bottom);
  ::SelectObject(dc, op);
  ::SelectObject(dc, ob);
  ::DeleteObject(edge);
  // Status marks: offline, trusteeship, ready.
  const char* mark = nullptr;
  COLORREF markColor = kWhite;
  if (seat.dwState & SEAT_TRUST_EXIT) {
    mark = "\xCD\xD0\xB9\xDC";
    markColor = RGB(255, 160, 60);
  } else if (seat.dwState & SEAT_OFFLINE) {
    mark = "\xB6\xCF\xCF\xDF";  // offline
    markColor = RGB(200, 200, 200);
  } else if (seat.dwState & SEAT_TRUSTEESHIP) {
    mark = "\xCD\xD0\xB9\xDC";
    markColor = RGB(255, 160, 60);
  } else if (seat.dwState & SEAT_READY) {
    mark = "\xD2\xD1\xD7\xBC\xB1\xB8";  // ready
    markColor = RGB(120, 255, 120);
  }
  if (mark) {
    RECT mr{ar.left, ar.bottom - 20, ar.right, ar.bottom};
    RoundBox(dc, mr, RGB(0, 40, 20), RGB(0, 40, 20), 6);
    CenteredText(dc, mr, mark, markColor);
  }

  // Names: nickname and [user name].
  const Pt n = l.name[slot];
  char nick[24], user[28];
  std::snprintf(nick, sizeof nick, "%.20s", seat.szNickName[0] ? seat.szNickName : seat.szUserName);
  std::snprintf(user, sizeof user, "[%.20s]", seat.szUserName);
  HGDIOBJ of = ::SelectObject(dc, m_font12.GetSafeHandle());
  if (present) {
    ::SelectObject(dc, m_font14.GetSafeHandle());
    DrawShadowText(pDC, n.x, n.y, nick, kWhite);
    ::SelectObject(dc, m_font12.GetSafeHandle());
    DrawShadowText(pDC, n.x, n.y + 17, user, RGB(220, 240, 220));
  }
  ::SelectObject(dc, m_font14.GetSafeHandle());
  // Remaining cards in the playing phase.
  if (doc->GetSchedule() == SCHEDULE_PLAY && present) {
    char count[16];
    std::snprintf(count, sizeof count, "%d", (int)seat.nCardCount);
    const int x = slot == 0 ? n.x - 37 : n.x + 100;
    if (seat.nCardCount <= 5) {
      ::SetTextColor(dc, kYellow);
      ::TextOutA(dc, x, n.y, count, (int)std::strlen(count));
    } else {
      DrawShadowText(pDC, x, n.y, count, kWhite);
    }
  }
  // The own text block: base score, multiplier and the open-cards note.
  if (p == CGameDocCore::OWN_POSITION) {
    char line[48];
    const Pt t = l.textOrigin;
    std::snprintf(line, sizeof line, kBaseFmt, doc->m_nBidValue);
    DrawShadowText(pDC, t.x, t.y, line, kWhite);
    std::snprintf(line, sizeof line, kMultFmt, doc->m_nMultiplier);
    DrawShadowText(pDC, t.x, t.y + 16, line, kWhite);
    if (doc->m_bDeclarerShown) DrawShadowText(pDC, t.x, t.y + 32, kShownText, kWhite);
  }
  // The declarer's badge.
  if (doc->m_nDeclarerSeat >= 0 && doc->SeatToPosition(doc->m_nDeclarerSeat) == p) {
    const Pt b = l.badge[slot];
    Disc(dc, b.x + 2, b.y + 4, 36, 36, RGB(230, 170, 20), RGB(120, 60, 0));
    ::SelectObject(dc, m_font12.GetSafeHandle());
    CenteredText(dc, RECT{b.x, b.y + 4, b.x + 40, b.y + 40}, kDeclarerText, RGB(120, 0, 0));
    ::SelectObject(dc, m_font14.GetSafeHandle());
  }
  // The last bid of the seat before the current bidder.
  if (doc->GetSchedule() == SCHEDULE_BID && p != CGameDocCore::OWN_POSITION &&
      p == tableview::PreviousBidder(doc->m_nTurnPosition, PlayerCount()) &&
      doc->m_nTurnPosition != doc->SeatToPosition(doc->m_nFirstBidder) && doc->m_nLastBid >= 0 &&
      doc->m_nLastBid <= 3) {
    const Pt pl = l.play[slot];
    const int x = slot == 0 ? pl.x - 58 - 26 : pl.x;
    RECT br{x, pl.y + 30, x + 58, pl.y + 30 + 19};
    RoundBox(dc, br, RGB(250, 230, 150), RGB(140, 90, 0), 8);
    CenteredText(dc, br, kBidTexts[doc->m_nLastBid], RGB(150, 40, 0));
  }
  // Ranked level from the table information.
  const int info = doc->FindTableInfo(seat.szUserName);
  if (info >= 0) {
    int32_t level = 0;
    std::memcpy(&level, doc->m_TableInfo + 8 + 44 * info + 20, 4);
    if (level > 0) {
      const Pt lv = l.level[slot];
      char t[8];
      std::snprintf(t, sizeof t, "%d", level > 99 ? 99 : level);
      Disc(dc, lv.x, lv.y, 16, 16, RGB(60, 120, 220), kWhite);
      ::SelectObject(dc, m_font12.GetSafeHandle());
      CenteredText(dc, RECT{lv.x, lv.y, lv.x + 16, lv.y + 16}, t, kWhite);
      ::SelectObject(dc, m_font14.GetSafeHandle());
    }
  }
  ::SelectObject(dc, of);
  DrawSeatHand(pDC, p);
}

void CGameView::DrawSeatHand(CDC* pDC, int p) {
  CGameDocCore* doc = GetGameDoc();
  const tableview::Layout& l = m_layout;
  const int slot = SlotOf(p);
  const int n = std::max(0, std::min<int>(doc->m_Seats[p].nCardCount, CGameDocCore::MAX_CARDS));
  if (n == 0) return;
  CARD_INFO* hand = doc->m_Hands[p];
  if (p == CGameDocCore::OWN_POSITION) {
    doc->SortCards(hand, n, 0, doc->m_nSortMode);
    for (int i = 0; i < n; ++i) DrawCard(pDC, hand[i], l.hand[1].x + i * l.step, l.hand[1].y, CardFaceUp(p, hand[i]));
    return;
  }
  if (!HandShown(p)) return;
  for (int i = 0; i < n; ++i) {
    Pt o = slot == 3 ? tableview::TopCardOrigin(l, i) : tableview::SideCardOrigin(l, slot, i, n);
    DrawCard(pDC, hand[i], o.x, o.y, CardFaceUp(p, hand[i]), false);
  }
}

void CGameView::DrawHand(CDC* pDC, int p) {
  CGameDocCore* doc = GetGameDoc();
  const tableview::Layout& l = m_layout;
  const int slot = SlotOf(p);
  const int n = std::max(0, std::min<int>(doc->m_Seats[p].nLastPlayCount, CGameDocCore::MAX_CARDS));
  if (n > 0) {
    const Box row = tableview::PlayRowBox(l, slot, n);
    for (int i = 0; i < n; ++i) {
      CARD_INFO c = doc->m_LastPlays[p][i];
      c.bSelected = 0;
      DrawCard(pDC, c, row.left + i * l.step, row.top, true, false);
    }
    return;
  }
  if (doc->GetSchedule() == SCHEDULE_PLAY && p != doc->m_nTurnPosition && doc->m_bPlayedThisRound[p] &&
      !doc->m_bNewRound) {
    const Pt a = l.play[slot];
    const int w = 60, h = 30;
    int x = slot == 0 ? a.x - w : slot == 2 ? a.x : a.x - w / 2;
    RECT r{x, a.y + 30, x + w, a.y + 30 + h};
    HDC dc = pDC->GetSafeHdc();
    RoundBox(dc, r, RGB(0, 50, 25), RGB(160, 200, 160), 10);
    HGDIOBJ of = ::SelectObject(dc, m_font16.GetSafeHandle());
    CenteredText(dc, r, kPassText, RGB(255, 230, 120));
    ::SelectObject(dc, of);
  }
}

void CGameView::DrawBottomCards(CDC* pDC) {
  CGameDocCore* doc = GetGameDoc();
  const int phase = doc->GetSchedule();
  if (phase == SCHEDULE_WAIT || phase == SCHEDULE_PHASE3) return;
  const int n = std::max(0, std::min<int>(doc->m_nBottomCount, CGameDocCore::MAX_BOTTOM));
  // Before the bottom cards are known the table shows three backs.
  const int shown = n > 0 ? n : 3;
  for (int i = 0; i < shown; ++i) {
    CARD_INFO c{};
    bool faceUp = false;
    if (n > 0) {
      c = doc->m_BottomCards[i];
      faceUp = c.bFaceUp != 0;
    }
    c.bSelected = 0;
    c.nDrawState1 = 0;
    const Pt o = tableview::BottomCardOrigin(m_layout, i, shown);
    DrawCard(pDC, c, o.x, o.y, faceUp, false);
  }
}

void CGameView::DrawOverlays(CDC* pDC) {
  HDC dc = pDC->GetSafeHdc();
  const tableview::Layout& l = m_layout;
  HGDIOBJ of = ::SelectObject(dc, m_font16.GetSafeHandle());
  // The blinking turn marker: an arrow in a lit disc.
  if (m_bMarkerShown && m_bBlinkOn && m_nMarkerPosition >= 0 && m_nMarkerPosition < 4) {
    const Pt m = l.marker[SlotOf(m_nMarkerPosition)];
    Disc(dc, m.x, m.y, 32, 32, RGB(255, 220, 60), RGB(140, 70, 0));
    POINT tri[3] = {{m.x + 9, m.y + 8}, {m.x + 25, m.y + 16}, {m.x + 9, m.y + 24}};
    HBRUSH b = ::CreateSolidBrush(RGB(200, 40, 20));
    HGDIOBJ ob = ::SelectObject(dc, b);
    ::Polygon(dc, tri, 3);
    ::SelectObject(dc, ob);
    ::DeleteObject(b);
  }
  // The turn clock, bottom 6 pixels above the tool column.
  if (m_nClockSeconds >= 0) {
    const Pt c = l.clock;
    RECT r{c.x, c.y - 40, c.x + 40, c.y};
    Disc(dc, r.left, r.top, 40, 40, RGB(250, 250, 240), RGB(160, 20, 20));
    char t[8];
    std::snprintf(t, sizeof t, "%d", m_nClockSeconds);
    CenteredText(dc, r, t, m_nClockSeconds <= 5 ? RGB(220, 0, 0) : RGB(30, 30, 30));
  }
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
  // Floating text rises over the table's centre while it lasts.
  if (m_nFloatTicks > 0 && !m_strFloat.empty()) {
    const int rise = (12 - m_nFloatTicks) * 4;
    RECT r{l.cx - 200, l.cy - 60 - rise, l.cx + 200, l.cy - 30 - rise};
    RECT sh = r;
    ::OffsetRect(&sh, 2, 2);
    CenteredText(dc, sh, m_strFloat.c_str(), RGB(60, 0, 0));
    CenteredText(dc, r, m_strFloat.c_str(), RGB(255, 210, 40));
  }
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
  m_nClockSeconds = std::max(0, std::min(nSeconds, 99));
  if (m_hWnd) SetTimer(IDT_CLOCK, 1000, nullptr);
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::HideTurnClock() {
  m_nClockSeconds = -1;
  if (m_hWnd) {
    KillTimer(IDT_CLOCK);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
  }
}

void CGameView::HideTurnMarker() {
  m_bMarkerShown = false;
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
  m_bBlinkOn = true;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CGameView::ShowControl(UINT nID, bool bShow) {
  CGameDocCore* doc = GetGameDoc();
  if ((nID == IDC_SEAT_CCW || nID == IDC_SEAT_CW) && doc && doc->m_nShowOrder >= 10) return;
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
  m_strFloat = text;
  m_nFloatTicks = 12;
  if (m_hWnd) SetTimer(IDT_FLOAT, 150, nullptr);
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
  if (m_hWnd) SetTimer(IDT_LASTROUND, (UINT)std::max(1, nMs), nullptr);
}

void CGameView::PhaseChanged(int nPhase) {
  CGameDocCore* doc = GetGameDoc();
  if (!doc) return;
  m_bLayoutDirty = true;
  LayOut();  // the bid and play rows move with the phase
  const bool watching = doc->IsWatching();
  const bool quiet = doc->m_bOwnTrusteeship || doc->m_bOwnTrustExit;
  const int t = doc->m_nTurnPosition;
  switch (nPhase) {
    case SCHEDULE_WAIT:
      CloseWaitNotice();
      if (watching) {
        SetStatusTextId(CGameDocCore::IDS_WAIT_START);
      } else if (!quiet) {
        doc->m_Seats[1].nLastPlayCount = 0;
        ShowBidButtons(false);
        for (UINT id : {IDC_TAKEOUT, IDC_PASS, IDC_SEARCH}) ShowControl(id, false);
        for (UINT id : {IDC_TRUSTEE, IDC_CANCELTRUSTEE})
          if (CWnd* w = GetControl(id)) w->EnableWindow(FALSE);
        EnableStart(true);
        ShowControl(IDC_START, true);
      }
      m_bMarkerShown = false;
      break;
    case SCHEDULE_BID:
      if (t == 1 && !watching && !quiet) {
        ShowControl(IDC_START, false);
        ShowBidButtons(true);
        bool enabled[4];
        tableview::BidButtonsEnabled(doc->m_nBidValue, doc->CountBombs(1), enabled);
        const UINT ids[4] = {IDC_CALL1, IDC_CALL2, IDC_CALL3, IDC_CALL0};
        for (int i = 0; i < 4; ++i)
          if (CWnd* w = GetControl(ids[i])) w->EnableWindow(enabled[i]);
      } else {
        ShowBidButtons(false);
        // A start button has no meaning once the cards are dealt.
        if (!watching) ShowControl(IDC_START, false);
      }
      MoveMarker(t);
      break;
    case SCHEDULE_PLAY: {
      if (t < 0) return;
      ShowBidButtons(false);
      ShowControl(IDC_START, false);
      if (watching) {
        for (UINT id : {IDC_TRUSTEE, IDC_CANCELTRUSTEE})
          if (CWnd* w = GetControl(id)) w->EnableWindow(FALSE);
      } else if (m_pSite->OptionFlags() & 1) {
        SetTrusteeshipButtons(doc->m_bOwnTrusteeship != 0);
      } else {
        ShowControl(IDC_CANCELTRUSTEE, false);
        if (CWnd* w = GetControl(IDC_TRUSTEE)) w->EnableWindow(FALSE);
      }
      if (!quiet) CloseWaitNotice();
      if (CWnd* w = GetControl(IDC_TAKEOUT)) w->EnableWindow(FALSE);
      EnablePass(false);
      if (doc->m_bHintFlag)
        EnableHint(false);
      else
        ShowControl(IDC_SEARCH, false);
      if (t < 4) doc->m_Seats[t].nLastPlayCount = 0;
      if (t == 1 && !watching && !quiet) {
        ShowControl(IDC_TAKEOUT, true);
        ShowControl(IDC_PASS, true);
        if (doc->m_bHintFlag) ShowControl(IDC_SEARCH, true);
        EnablePass(!doc->m_bFreeLead);
        EnableHint(!doc->m_bFreeLead);
        UpdateSelectedCount();
        if (CWnd* w = GetControl(IDC_TAKEOUT)) w->EnableWindow(m_nSelected > 0);
        if (doc->m_bFreeLead && doc->m_Seats[1].nCardCount == 1) SetTimer(IDT_AUTOPLAY, 2000, nullptr);
      } else {
        for (UINT id : {IDC_START, IDC_TAKEOUT, IDC_PASS, IDC_SEARCH}) ShowControl(id, false);
      }
      MoveMarker(t);
      break;
    }
    default:
      break;
  }
  InvalidateTable();
}

void CGameView::AnimatePlay(int p) {
  CGameDocCore* doc = GetGameDoc();
  if (!m_bMoveCards || !doc || !m_hWnd || !IsWindowVisible() || !m_pSite->GameProgressArrived()) return;
  if (p < 0 || p >= PlayerCount()) return;
  const int n = std::max(0, std::min<int>(doc->m_Seats[p].nLastPlayCount, CGameDocCore::MAX_CARDS));
  if (n == 0 || !EnsureBuffers()) return;
  // The table under the moving cards: everything but this play.
  const int saved = doc->m_Seats[p].nLastPlayCount;
  doc->m_Seats[p].nLastPlayCount = 0;
  LayOut();
  BuildTable(&m_dcBack);
  doc->m_Seats[p].nLastPlayCount = saved;
  const tableview::Layout& l = m_layout;
  const int slot = SlotOf(p);
  const Box target = tableview::PlayRowBox(l, slot, n);
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
    ::BitBlt(scratch, dirty.left, dirty.top, dirty.Width(), dirty.Height(), m_dcBack.GetSafeHdc(), dirty.left,
             dirty.top, SRCCOPY);
    for (int i = 0; i < n; ++i) {
      CARD_INFO c = doc->m_LastPlays[p][i];
      c.bSelected = 0;
      DrawCard(&dc, c, at.x + i * l.step, at.y, true, false);
    }
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
      m_pSite->PostToAvatar(p, AVATAR_MSG_WATCHER, 3);
    else if (p == 1)
      m_pSite->PostToAvatar(1, AVATAR_MSG_PLAYER, 0);
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
  tableview::ApplyCardClick(doc->m_Hands[1], n, hit, (nFlags & MK_CONTROL) != 0);
  InvalidateTable();
  EnablePlayIfSelected();
}

void CGameView::OnLButtonDown(UINT nFlags, CPoint point) { ClickCards(nFlags, point); }
void CGameView::OnLButtonDblClk(UINT nFlags, CPoint point) { ClickCards(nFlags, point); }

void CGameView::OnRButtonDown(UINT, CPoint point) {
  CGameDocCore* doc = GetGameDoc();
  if (doc && doc->GetSchedule() == SCHEDULE_PLAY) OnTakeOut();
  ClickAvatars(point, true);
}

void CGameView::OnMouseMove(UINT nFlags, CPoint point) { Default(); (void)nFlags; (void)point; }

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
  if (m_pSite->AskYesNo(kAskTrustee)) doc->RequestTrusteeship(1);
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

void CGameView::OnScreenshot() { m_pSite->SaveScreenshot(); }

void CGameView::OnLastRound() {
  if (CGameDocCore* doc = GetGameDoc()) doc->ShowLastRound();
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
  switch (nIDEvent) {
    case IDT_IDLE:
      // The keep-alive goes out every IdleSecond ticks whatever the user does.
      if (tableview::IdleTick(&m_nIdleTicks, m_pSite->IdleSeconds())) m_pSite->SendKeepAlive();
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
      if (m_bPaused) {
        m_bPaused = false;
        m_pSite->HoldMessages(false);
      }
      break;
    case IDT_CLOCK:
      if (m_nClockSeconds > 0 && !m_bPaused) {
        --m_nClockSeconds;
        if (m_nClockSeconds == 0) {
          // The clock's command at zero is the document's.
          KillTimer(IDT_CLOCK);
          if (doc) doc->OnClockExpired();
        }
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
      }
      break;
    case IDT_BLINK:
      if (m_bMarkerShown) {
        m_bBlinkOn = !m_bBlinkOn;
        const Pt m = GetLayout().marker[SlotOf(m_nMarkerPosition < 0 ? 1 : m_nMarkerPosition)];
        RECT r{m.x, m.y, m.x + 32, m.y + 32};
        ::InvalidateRect(m_hWnd, &r, FALSE);
      }
      break;
    case IDT_FLOAT:
      if (--m_nFloatTicks <= 0) {
        KillTimer(IDT_FLOAT);
        m_strFloat.clear();
      }
      ::InvalidateRect(m_hWnd, nullptr, FALSE);
      break;
    case IDT_LASTROUND:
      KillTimer(IDT_LASTROUND);
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
  InvalidateTable();
  return 0;
}
