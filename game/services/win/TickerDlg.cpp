#include "TickerDlg.h"

#include <vector>

#include "resource.h"

namespace {

// The strip's template when the resource library has none: a borderless child in the
// dialog font of the table.
std::vector<WORD> StripTemplate() {
  std::vector<WORD> t;
  auto dword = [&t](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  dword(WS_CHILD | DS_SETFONT | DS_3DLOOK);
  dword(0);
  t.push_back(0);  // no controls
  t.push_back(0);
  t.push_back(0);
  t.push_back(100);
  t.push_back(12);
  t.push_back(0);  // menu
  t.push_back(0);  // class
  t.push_back(0);  // title
  t.push_back(9);  // point size
  for (const wchar_t* f = VESK_FACE_SONG_W; *f; ++f) t.push_back(static_cast<WORD>(*f));
  t.push_back(0);
  return t;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTickerDlg, CDialog)
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CTickerDlg::CTickerDlg() = default;

CTickerDlg::~CTickerDlg() {
  if (m_hWnd) DestroyWindow();
  FreeStrip();
  m_queue.Clear();
}

BOOL CTickerDlg::Create(CWnd* pParent, int nLeft, int nTop, int nWidth, int nHeight) {
  m_nLeft = nLeft;
  m_nTop = nTop;
  m_nWidth = nWidth > 0 ? nWidth : 0;
  m_nHeight = nHeight > 0 ? nHeight : 0;
  HINSTANCE res = AfxGetResourceHandle();
  BOOL ok = FALSE;
  if (res && ::FindResourceA(res, MAKEINTRESOURCEA(IDD), MAKEINTRESOURCEA(5)))  // RT_DIALOG
    ok = CDialog::Create(UINT(IDD), pParent);
  if (!ok) {
    static const std::vector<WORD> tmpl = StripTemplate();
    ok = CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(tmpl.data()), pParent);
  }
  if (ok) ShowWindow(SW_SHOW);
  return ok;
}

HFONT CTickerDlg::StripFont() const {
  HFONT f = m_hWnd ? reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)) : nullptr;
  return f ? f : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

BOOL CTickerDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_hFont = StripFont();
  m_pMotion.reset(new CTickerMotion(m_nWidth, m_nHeight));
  Place(0);
  HDC screen = ::GetDC(m_hWnd);
  m_hMemDC = ::CreateCompatibleDC(screen);
  m_hBitmap = ::CreateCompatibleBitmap(screen, m_nWidth > 0 ? m_nWidth : 1, m_nHeight > 0 ? m_nHeight : 1);
  ::ReleaseDC(m_hWnd, screen);
  m_hOldBitmap = ::SelectObject(m_hMemDC, m_hBitmap);
  DrawStrip();
  SetTimer(CTickerMotion::TIMER_WAIT, CTickerMotion::Interval(CTickerMotion::TIMER_WAIT));
  return TRUE;
}

void CTickerDlg::AddLine(LPCSTR lpszText, int nLength) {
  TICKER_LINE line;
  line.text = CutTickerText(lpszText, nLength > 0 ? size_t(nLength) : 0);
  // A DC of its own: AddLine may run on any thread, the strip's DC belongs to the UI thread.
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, m_hFont ? m_hFont : StripFont());
  SIZE sz = {0, 0};
  if (!line.text.empty())
    ::GetTextExtentPoint32A(dc, line.text.c_str(), int(line.text.size()), &sz);
  else
    ::GetTextExtentPoint32A(dc, " ", 1, &sz), sz.cx = 0;
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  line.nWidth = sz.cx;
  line.nHeight = sz.cy;
  m_queue.Add(std::move(line));
}

void CTickerDlg::Place(int nHeight) {
  ::SetWindowPos(m_hWnd, nullptr, m_nLeft, m_nTop, nHeight > 0 ? m_nWidth : 0, nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTickerDlg::DrawStrip() {
  if (!m_hMemDC) return;
  RECT r = {0, 0, m_nWidth, m_nHeight};
  HBRUSH back = ::CreateSolidBrush(m_crBack);
  ::FillRect(m_hMemDC, &r, back);
  ::DeleteObject(back);
  if (m_pMotion && m_pMotion->HasLine()) {
    const TICKER_LINE& line = m_pMotion->Line();
    HGDIOBJ old = ::SelectObject(m_hMemDC, m_hFont);
    ::SetBkMode(m_hMemDC, TRANSPARENT);
    ::SetTextColor(m_hMemDC, m_crText);
    ::TextOutA(m_hMemDC, m_pMotion->LineX(), m_pMotion->LineY(), line.text.c_str(), int(line.text.size()));
    ::SelectObject(m_hMemDC, old);
  }
}

void CTickerDlg::OnTimer(UINT_PTR nIDEvent) {
  if (!m_pMotion || int(nIDEvent) != m_pMotion->ActiveTimer()) return;
  int before = m_pMotion->ActiveTimer();
  int after = m_pMotion->Tick(m_queue);
  if (before == CTickerMotion::TIMER_OPEN || before == CTickerMotion::TIMER_CLOSE) Place(m_pMotion->WindowHeight());
  if (before == CTickerMotion::TIMER_SCROLL || after == CTickerMotion::TIMER_SCROLL) {
    DrawStrip();
    HDC dc = ::GetDC(m_hWnd);
    ::BitBlt(dc, 0, 0, m_nWidth, m_pMotion->WindowHeight(), m_hMemDC, 0, 0, SRCCOPY);
    ::ReleaseDC(m_hWnd, dc);
  }
  if (after != before) {
    KillTimer(UINT_PTR(before));
    SetTimer(UINT_PTR(after), CTickerMotion::Interval(after));
  }
}

void CTickerDlg::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  if (m_hMemDC) ::BitBlt(dc, 0, 0, m_nWidth, m_nHeight, m_hMemDC, 0, 0, SRCCOPY);
  ::EndPaint(m_hWnd, &ps);
}

void CTickerDlg::OnDestroy() {
  for (UINT_PTR t = 1; t <= 4; ++t) KillTimer(t);
  m_queue.Clear();
  CDialog::OnDestroy();
}

void CTickerDlg::FreeStrip() {
  if (m_hMemDC) {
    ::SelectObject(m_hMemDC, m_hOldBitmap);
    ::DeleteDC(m_hMemDC);
    m_hMemDC = nullptr;
  }
  if (m_hBitmap) {
    ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
  }
}
