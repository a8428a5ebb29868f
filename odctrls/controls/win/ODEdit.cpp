#include "ODEdit.h"

#include <windowsx.h>

#include "ODMemDC.h"
#include "ODPaint.h"
#include "ODTheme.h"
#include "ODThemeSections.h"

// The class's theme values are read on every theme load.
namespace {
const bool g_editLoader = (SetThemeClassLoader("ODEdit", &LoadODEditTheme), true);
}  // namespace

using vesk::odctrls::EditRequest;

IMPLEMENT_DYNAMIC(CODEdit, CWnd)

CODEdit::CODEdit()
    : CODPaintedWnd<CWnd>("ODEdit", 0x1001),
      m_bFocus(FALSE),
      m_bCaretOn(FALSE),
      m_bNotify(TRUE),
      m_rcBorder(1, 1, 1, 1),
      m_hFont(nullptr),
      m_nSpacing(0),
      m_bPwdImg(FALSE),
      m_nPwdGap(1),
      m_bDragging(FALSE),
      m_nDragAnchor(0) {
  int w = ODEditValues().nBorderWidth;
  w = w < 0 ? 0 : w > 16 ? 16 : w;
  m_rcBorder.SetRect(w, w, w, w);
  m_buffer.m_pwdChar = ODEditValues().pwdChar[0] ? std::string(1, ODEditValues().pwdChar[0]) : "*";
  LoadFont();
}

CODEdit::~CODEdit() {
  if (m_hWnd) DestroyWindow();
  if (m_hFont) ::DeleteObject(m_hFont);
}

BOOL CODEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_IBEAM));
  m_buffer.m_style = (int)(dwStyle & (ES_PASSWORD | ES_READONLY | ES_NUMBER));
  // The style keeps the edit bits, so a combo can tell a password part by its style.
  return CWnd::Create(cls, "", dwStyle, rect, pParentWnd, nID);
}

void CODEdit::OnThemeChanged() {
  const ODEditTheme& t = ODEditValues();
  m_buffer.m_pwdChar = t.pwdChar[0] ? std::string(1, t.pwdChar[0]) : "*";
  LoadFont();
  LoadImages();
  KeepCaretVisible();
}

LRESULT CODEdit::OnODMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_SETTEXT:
      return OnSetText((LPCSTR)lParam);
    case WM_GETTEXT:
      return OnGetText((int)wParam, (LPSTR)lParam);
    case WM_GETTEXTLENGTH:
      return (m_buffer.m_style & ES_PASSWORD) ? 0 : m_buffer.Length();
    case EM_SETSEL:
      SetSel((int)wParam, (int)lParam);
      return 0;
    case EM_LIMITTEXT:
      SetLimitText(wParam ? (int)wParam : -1);
      return 0;
    case WM_COPY:
      Copy();
      return 0;
    case WM_CUT:
      Cut();
      return 0;
    case WM_PASTE:
      Paste();
      return 0;
    case WM_CLEAR:
      m_buffer.DeleteSel();
      Changed();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ENABLE:
      m_buffer.ClearSel();
      Invalidate(FALSE);
      return 0;
    case WM_SETCURSOR: {
      POINT pt;
      ::GetCursorPos(&pt);
      ScreenToClient(&pt);
      if (InnerRect().PtInRect(pt)) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_IBEAM));
        return TRUE;
      }
      break;
    }
    case WM_CHAR:
      OnChar((UINT)wParam);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown((UINT)wParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp();
      return 0;
    case WM_LBUTTONDBLCLK:
      m_buffer.SelectAll();
      Invalidate(FALSE);
      return 0;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus();
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case ID_CUT:
          Cut();
          return 0;
        case ID_COPY:
          Copy();
          return 0;
        case ID_PASTE:
          Paste();
          return 0;
        case ID_CLEAR:
          m_buffer.DeleteSel();
          Changed();
          return 0;
        case ID_SELALL:
          m_buffer.SelectAll();
          Invalidate(FALSE);
          return 0;
      }
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

int CODEdit::OnCreate() {
  if (DefaultProc(WM_CREATE, 0, (LPARAM)GetCurrentMessage()->lParam) == -1) return -1;
  OnInitialize();
  ModifyStyle(WS_BORDER, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, SWP_FRAMECHANGED);
  LoadImages();
  return 0;
}

// Frames of an animated bitmap image turn at this pace; a GIF keeps its first frame's delay.
static UINT FramePeriod(const CODThemeImage& img) {
  const std::vector<CODThemeImage::GifFrame>& frames = img.GetGifFrames();
  if (!frames.empty() && frames[0].delay > 0) return UINT(frames[0].delay) * 10;
  return 250;
}

// The theme's "TextFont" when it reads, else the library's font.
void CODEdit::LoadFont() {
  vesk::odctrls::EditFontSpec spec;
  HFONT font = nullptr;
  if (vesk::odctrls::ParseEditFont(ODEditValues().textFont, &spec)) {
    LOGFONTA lf = {};
    lf.lfHeight = -spec.height;
    lf.lfWeight = spec.weight;
    lf.lfItalic = spec.italic ? TRUE : FALSE;
    lf.lfCharSet = GB2312_CHARSET;
    lstrcpynA(lf.lfFaceName, spec.face.c_str(), LF_FACESIZE);
    font = ::CreateFontIndirectA(&lf);
  }
  if (!font) font = ODCreateFont(12);
  if (m_hFont) ::DeleteObject(m_hFont);
  m_hFont = font;
}

void CODEdit::LoadImages() {
  const ODEditTheme& t = ODEditValues();
  KillTimer(TIMER_BKIMAGE);
  KillTimer(TIMER_PWDIMAGE);
  m_bkImage.Clear();
  m_pwdImage.Clear();
  if (t.bkImg[0]) LoadThemeImageSpec(t.bkImg, &m_bkImage);
  if (t.pwdImg[0]) LoadThemeImageSpec(t.pwdImg, &m_pwdImage);
  m_bPwdImg = t.bUsePwdImg && !m_pwdImage.IsEmpty() && m_pwdImage.GetCellWidth() > 0;
  if (!m_hWnd) return;
  if (m_pwdImage.StartAnimation()) SetTimer(TIMER_PWDIMAGE, FramePeriod(m_pwdImage), nullptr);
  if (m_bkImage.StartAnimation()) SetTimer(TIMER_BKIMAGE, FramePeriod(m_bkImage), nullptr);
}

int CODEdit::PasswordCellWidth() const { return m_pwdImage.GetCellWidth() + 2 * m_nPwdGap + m_nSpacing; }

LRESULT CODEdit::OnSetText(LPCSTR lpszText) {
  if (m_buffer.m_style & ES_PASSWORD) return 0;
  m_buffer.SetText(lpszText ? lpszText : "");
  KeepCaretVisible();
  Invalidate(FALSE);
  return 1;
}

LRESULT CODEdit::OnGetText(int nSize, LPSTR lpBuffer) const {
  if ((m_buffer.m_style & ES_PASSWORD) || !lpBuffer || nSize <= 0) return 0;
  lstrcpynA(lpBuffer, m_buffer.Text().c_str(), nSize);
  return lstrlenA(lpBuffer);
}

CString CODEdit::GetPassword() const { return CString(m_buffer.Text().c_str()); }

void CODEdit::SetPassword(LPCSTR lpszText) {
  m_buffer.SetText(lpszText ? lpszText : "");
  KeepCaretVisible();
  if (m_hWnd) Invalidate(FALSE);
}

void CODEdit::SetSel(int nStart, int nEnd) {
  m_buffer.SetSel(nStart, nEnd);
  KeepCaretVisible();
  if (m_hWnd) Invalidate(FALSE);
}

void CODEdit::GetSel(int& nStart, int& nEnd) const { m_buffer.SelRange(&nStart, &nEnd); }

void CODEdit::OnTextChanged() {
  CWnd* parent = GetParent();
  if (parent) parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_CHANGE), (LPARAM)m_hWnd);
}

void CODEdit::Changed() {
  KeepCaretVisible();
  Invalidate(FALSE);
  if (m_bNotify) OnTextChanged();
}

void CODEdit::Copy() {
  if (!m_buffer.HasSel() || (m_buffer.m_style & ES_PASSWORD)) return;
  std::string text = m_buffer.SelText();
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
  if (!mem) return;
  char* p = (char*)::GlobalLock(mem);
  if (!p) {
    ::GlobalFree(mem);
    return;
  }
  memcpy(p, text.c_str(), text.size() + 1);
  ::GlobalUnlock(mem);
  if (!::OpenClipboard(m_hWnd)) {
    ::GlobalFree(mem);
    return;
  }
  // The block belongs to the clipboard only once SetClipboardData took it.
  if (!::EmptyClipboard() || !::SetClipboardData(CF_TEXT, mem)) ::GlobalFree(mem);
  ::CloseClipboard();
}

void CODEdit::Cut() {
  if (m_buffer.m_style & (ES_PASSWORD | ES_READONLY)) return;
  Copy();
  m_buffer.DeleteSel();
  Changed();
}

void CODEdit::Paste() {
  if (m_buffer.m_style & (ES_PASSWORD | ES_READONLY)) return;
  if (!::IsClipboardFormatAvailable(CF_TEXT) || !::OpenClipboard(m_hWnd)) return;
  std::string text;
  if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
    SIZE_T size = ::GlobalSize(h);
    if (const char* p = (const char*)::GlobalLock(h)) {
      text.assign(p, strnlen(p, size));
      ::GlobalUnlock(h);
    }
  }
  ::CloseClipboard();
  const std::string before = m_buffer.Text();
  m_buffer.Paste(text);
  if (m_buffer.Text() != before) Changed();
}

void CODEdit::DoRequest(EditRequest req) {
  if (req == vesk::odctrls::kEditCopy)
    Copy();
  else if (req == vesk::odctrls::kEditCut)
    Cut();
  else if (req == vesk::odctrls::kEditPaste)
    Paste();
}

void CODEdit::OnChar(UINT nChar) {
  if (nChar > 0xFF) return;
  if (m_buffer.Char((unsigned char)nChar))
    Changed();
  else
    Invalidate(FALSE);
}

void CODEdit::OnKeyDown(UINT nKey) {
  const bool shift = (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
  const bool ctrl = (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
  bool changed = false;
  DoRequest(m_buffer.Key((int)nKey, shift, ctrl, &changed));
  if (changed)
    Changed();
  else {
    KeepCaretVisible();
    Invalidate(FALSE);
  }
}

CRect CODEdit::InnerRect() const {
  CRect rc;
  GetClientRect(&rc);
  rc.DeflateRect(m_rcBorder.left, m_rcBorder.top, m_rcBorder.right, m_rcBorder.bottom);
  return rc;
}

int CODEdit::PrefixWidth(int nBytes) const {
  std::string shown;
  if ((m_buffer.m_style & ES_PASSWORD) && m_bPwdImg) {
    int chars = 0;
    for (int i = 0; i < nBytes && i < m_buffer.Length(); i = m_buffer.NextBoundary(i)) ++chars;
    return chars * PasswordCellWidth();
  }
  if (m_buffer.m_style & ES_PASSWORD) {
    for (int i = 0; i < nBytes && i < m_buffer.Length(); i = m_buffer.NextBoundary(i)) shown += m_buffer.m_pwdChar;
  } else {
    shown = m_buffer.Text().substr(0, nBytes);
  }
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, m_hFont);
  SIZE sz = {};
  ::GetTextExtentPoint32A(dc, shown.c_str(), (int)shown.size(), &sz);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  return sz.cx;
}

int CODEdit::CaretX() const { return PrefixWidth(m_buffer.m_caret) + m_buffer.m_leftMargin + m_nSpacing + 1; }

void CODEdit::KeepCaretVisible() {
  if (!m_hWnd) return;
  m_buffer.ScrollToCaret(CaretX(), InnerRect().Width(), PrefixWidth(m_buffer.Length()));
}

int CODEdit::HitTest(int x) const {
  return m_buffer.HitTest(x, [this](int bytes) { return PrefixWidth(bytes) + m_buffer.m_leftMargin; });
}

void CODEdit::OnLButtonDown(CPoint pt) {
  SetFocus();
  SetCapture();
  m_buffer.ClearSel();
  m_bDragging = TRUE;
  CRect inner = InnerRect();
  m_buffer.m_caret = HitTest(pt.x - inner.left);
  m_nDragAnchor = m_buffer.m_caret;
  Invalidate(FALSE);
}

void CODEdit::OnMouseMove(CPoint pt) {
  if (!m_bDragging) return;
  CRect inner = InnerRect();
  int hit = HitTest(pt.x - inner.left);
  if (pt.x > inner.right)
    hit = m_buffer.NextBoundary(hit);
  else if (pt.x < inner.left && hit > 0)
    hit = m_buffer.PrevBoundary(hit);
  m_buffer.m_selStart = hit < m_nDragAnchor ? hit : m_nDragAnchor;
  m_buffer.m_selAnchor = m_nDragAnchor;
  m_buffer.m_selLength = hit - m_nDragAnchor;
  if (m_buffer.m_selLength == 0) m_buffer.ClearSel();
  m_buffer.m_caret = hit;
  KeepCaretVisible();
  Invalidate(FALSE);
}

void CODEdit::OnLButtonUp() {
  if (!m_bDragging) return;
  m_bDragging = FALSE;
  ReleaseCapture();
}

void CODEdit::OnSetFocus() {
  m_bFocus = m_bCaretOn = TRUE;
  SetTimer(TIMER_CARET, 500, nullptr);
  Invalidate(FALSE);
}

void CODEdit::OnKillFocus() {
  if (::GetCapture() == m_hWnd) ReleaseCapture();
  m_bDragging = FALSE;
  m_bFocus = m_bCaretOn = FALSE;
  KillTimer(TIMER_CARET);
  Invalidate(FALSE);
}

void CODEdit::OnTimer(UINT_PTR nID) {
  if (nID == TIMER_BKIMAGE || nID == TIMER_PWDIMAGE) {
    (nID == TIMER_BKIMAGE ? m_bkImage : m_pwdImage).OnAnimationTimer();
    if (nID == TIMER_BKIMAGE || (m_bPwdImg && m_buffer.Length() > 0)) Invalidate(FALSE);
    return;
  }
  if (nID != TIMER_CARET) return;
  m_bCaretOn = !m_bCaretOn;
  Invalidate(FALSE);
}

void CODEdit::PaintWindow() {
  ODPaintClient(m_hWnd, [this](HDC dc, const CRect& rc) {
    CRect inner = InnerRect();
    DrawBackground(dc, inner);
    DrawText(dc, inner);
    DrawBorder(dc, rc);
  });
}

void CODEdit::DrawBackground(HDC hDC, const RECT& rc) {
  const ODEditTheme& t = ODEditValues();
  // Mode 0 fills with the colour; any other mode lays the background image, when there is one.
  if (t.nBkMode != 0 && !m_bkImage.IsEmpty()) {
    m_bkImage.SetDrawMode(t.nBkMode == 2 ? CODThemeImage::DRAW_STRETCH : CODThemeImage::DRAW_TILED);
    m_bkImage.Draw(hDC, rc, IsWindowEnabled() ? 0 : 1);
    return;
  }
  ODFillSolid(hDC, rc, IsWindowEnabled() ? t.crBkgnd : t.crDisableBkgnd);
}

// One image per character, centred in its cell; a selected character takes the image's
// second state when it has one.
void CODEdit::DrawPasswordImages(HDC hDC, int x0, const RECT& rc) {
  const int cell = PasswordCellWidth(), cw = m_pwdImage.GetCellWidth(), ch = m_pwdImage.GetCellHeight();
  const int y = rc.top + ((rc.bottom - rc.top) - ch) / 2;
  int s = -1, e = -1;
  if (m_buffer.HasSel()) m_buffer.SelRange(&s, &e);
  int x = x0;
  for (int i = 0; i < m_buffer.Length(); i = m_buffer.NextBoundary(i), x += cell) {
    if (x + cell < rc.left) continue;
    if (x > rc.right) break;
    const bool selected = i >= s && i < e;
    RECT r = {x + m_nPwdGap, y, x + m_nPwdGap + cw, y + ch};
    m_pwdImage.Draw(hDC, r, selected && m_pwdImage.GetStateCount() > 1 ? 1 : 0);
  }
}

void CODEdit::DrawBorder(HDC hDC, const RECT& rc) { ODFrame(hDC, rc, ODEditValues().crBorder, m_rcBorder.left); }

void CODEdit::DrawText(HDC hDC, const RECT& rc) {
  const ODEditTheme& t = ODEditValues();
  const std::string shown = m_buffer.Display();
  HRGN clip = ::CreateRectRgnIndirect(&rc);
  ::SelectClipRgn(hDC, clip);
  HGDIOBJ old = ::SelectObject(hDC, m_hFont);
  ::SetBkMode(hDC, TRANSPARENT);
  ::SetTextColor(hDC, IsWindowEnabled() ? t.crText : t.crDisableText);
  const int x0 = rc.left + m_buffer.m_leftMargin - m_buffer.m_scroll;
  TEXTMETRICA tm = {};
  ::GetTextMetricsA(hDC, &tm);
  const int y = rc.top + ((rc.bottom - rc.top) - tm.tmHeight) / 2;
  if (m_bPwdImg && (m_buffer.m_style & ES_PASSWORD)) {
    if (m_buffer.HasSel()) {
      int s, e;
      m_buffer.SelRange(&s, &e);
      RECT sel = {x0 + PrefixWidth(s), rc.top + 1, x0 + PrefixWidth(e), rc.bottom - 1};
      ODFillSolid(hDC, sel, t.crSelBkgnd);
    }
    DrawPasswordImages(hDC, x0, rc);
  } else {
    ::TextOutA(hDC, x0, y, shown.c_str(), (int)shown.size());
    if (m_buffer.HasSel()) {
      int s, e;
      m_buffer.SelRange(&s, &e);
      RECT sel = {x0 + PrefixWidth(s), y, x0 + PrefixWidth(e), y + tm.tmHeight};
      ODFillSolid(hDC, sel, t.crSelBkgnd);
      ::SetTextColor(hDC, t.crSelText);
      const std::string part = (m_buffer.m_style & ES_PASSWORD) ? std::string() : m_buffer.Text().substr(s, e - s);
      std::string masked;
      if (m_buffer.m_style & ES_PASSWORD)
        for (int i = s; i < e; i = m_buffer.NextBoundary(i)) masked += m_buffer.m_pwdChar;
      const std::string& drawn = (m_buffer.m_style & ES_PASSWORD) ? masked : part;
      ::TextOutA(hDC, sel.left, y, drawn.c_str(), (int)drawn.size());
    }
  }
  if (m_bFocus && m_bCaretOn) {
    int cx = rc.left + CaretX() - m_buffer.m_scroll;
    RECT caret = {cx - 1, y, cx, y + tm.tmHeight};
    ODFillSolid(hDC, caret, t.crText);
  }
  ::SelectObject(hDC, old);
  ::SelectClipRgn(hDC, nullptr);
  ::DeleteObject(clip);
}

void CODEdit::OnContextMenu(CPoint pt) {
  const ODEditTheme& t = ODEditValues();
  if (!m_menu.Create(this, 1, TRUE)) return;
  m_menu.AddItem(t.menuCut, ID_CUT, nullptr, TRUE, 0);
  m_menu.AddItem(t.menuCopy, ID_COPY, nullptr, TRUE, 0);
  m_menu.AddItem(t.menuPaste, ID_PASTE, nullptr, TRUE, 0);
  m_menu.AddItem(t.menuClear, ID_CLEAR, nullptr, TRUE, 0);
  m_menu.AddItem("", 0, nullptr, FALSE, 0);
  m_menu.AddItem(t.menuSelAll, ID_SELALL, nullptr, TRUE, 0);
  if (pt.x == -1 && pt.y == -1) {
    CRect wr;
    GetWindowRect(&wr);
    pt = wr.TopLeft();
  }
  m_menu.Track(0, pt.x, pt.y, this);
}
