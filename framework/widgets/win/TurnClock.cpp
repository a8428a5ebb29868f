#include "TurnClock.h"

#include <cstdio>

namespace {

class CEveryQuarterSecond : public CClockTickSource {
 public:
  bool WaitTick(HANDLE hStop) override { return ::WaitForSingleObject(hStop, widgets::CLOCK_STEP_MS) == WAIT_TIMEOUT; }
};
CEveryQuarterSecond s_quarterSecond;

enum { IDT_CLOCK_FALLBACK = 1 };

}  // namespace

IMPLEMENT_DYNAMIC(CTurnClock, CStatic)

BEGIN_MESSAGE_MAP(CTurnClock, CStatic)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_DESTROY()
  ON_WM_TIMER()
  ON_MESSAGE(CTurnClock::WM_CLOCK_EVENT, &CTurnClock::OnClockEvent)
END_MESSAGE_MAP()

CTurnClock::CTurnClock()
    : m_hStrip(nullptr),
      m_sizeCell(0, 0),
      m_nCells(11),
      m_nMode(5),
      m_bCountUp(FALSE),
      m_nID(0),
      m_nTickSound(0),
      m_nZeroSound(0),
      m_pPause(nullptr),
      m_hThread(nullptr),
      m_hStop(nullptr),
      m_bTimerFallback(false),
      m_nSteps(0),
      m_hTarget(nullptr),
      m_pSource(&s_quarterSecond) {}

CTurnClock::~CTurnClock() {
  // The thread reads the members: it ends before they do.
  StopThread();
  if (m_hStrip) ::DeleteObject(m_hStrip);
}

BOOL CTurnClock::Create(CWnd* pParent, UINT nID, UINT nBitmapId, const int* pPause, UINT nTickSound, UINT nZeroSound,
                        int nTickInterval, BOOL bCountUp, int nMode, UINT /*nDrawFlags*/, int nCells) {
  if (!pParent || !pParent->GetSafeHwnd() || GetSafeHwnd()) return FALSE;
  if (::GetDlgItem(pParent->GetSafeHwnd(), (int)nID)) {
    if (!SubclassDlgItem(nID, pParent)) return FALSE;
  } else if (!CStatic::Create("", WS_CHILD, CRect(0, 0, 1, 1), pParent, nID)) {
    return FALSE;
  }
  ShowWindow(SW_HIDE);
  m_hStrip = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapId), IMAGE_BITMAP, 0, 0,
                                   LR_CREATEDIBSECTION);
  BITMAP bm;
  if (!m_hStrip || !::GetObjectA(m_hStrip, sizeof bm, &bm) || nCells <= 0) return FALSE;
  m_nCells = nCells;
  m_nMode = nMode;
  m_bCountUp = bCountUp;
  // Only the opaque eleven-cell strip is drawn here: glyphs are copied as they stand.
  m_sizeCell = CSize(bm.bmWidth / nCells, bm.bmHeight);
  const int glyphs = (int)widgets::ClockGlyphs(nMode, 0).size();
  CRect r;
  GetWindowRect(&r);
  pParent->ScreenToClient(&r);
  SetWindowPos(nullptr, r.left, r.top, glyphs * m_sizeCell.cx, m_sizeCell.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  m_nID = nID;
  m_nTickSound = nTickSound;
  m_nZeroSound = nZeroSound;
  m_core.Configure(nTickInterval, true);
  m_pPause = pPause;
  m_hTarget = m_hWnd;
  StartThread();
  return TRUE;
}

void CTurnClock::Start(int nSeconds) {
  m_core.Start(nSeconds);
  if (m_hWnd) {
    ShowWindow(SW_SHOWNA);
    Invalidate(TRUE);
  }
}

void CTurnClock::Stop() {
  m_core.Stop();
  if (m_hWnd) ShowWindow(SW_HIDE);
}

void CTurnClock::Resume() {
  m_core.Resume();
  if (m_hWnd) {
    ShowWindow(SW_SHOWNA);
    Invalidate(TRUE);
  }
}

void CTurnClock::SetTickSource(CClockTickSource* pSource) {
  const bool wasRunning = m_hThread != nullptr;
  StopThread();
  m_pSource = pSource ? pSource : &s_quarterSecond;
  if (wasRunning) StartThread();
}

void CTurnClock::StartThread() {
  m_hStop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  m_hThread = m_hStop ? ::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr) : nullptr;
  if (!m_hThread) {
    // No thread: the window's own timer steps the clock.
    m_bTimerFallback = true;
    if (m_hWnd) SetTimer(IDT_CLOCK_FALLBACK, widgets::CLOCK_STEP_MS, nullptr);
  }
}

void CTurnClock::StopThread() {
  if (m_hThread) {
    ::SetEvent(m_hStop);
    ::WaitForSingleObject(m_hThread, INFINITE);
    ::CloseHandle(m_hThread);
    m_hThread = nullptr;
  }
  if (m_hStop) {
    ::CloseHandle(m_hStop);
    m_hStop = nullptr;
  }
}

DWORD WINAPI CTurnClock::ThreadProc(LPVOID pParam) {
  static_cast<CTurnClock*>(pParam)->RunThread();
  return 0;
}

void CTurnClock::RunThread() {
  while (m_pSource->WaitTick(m_hStop)) Step();
}

// One step, on the thread (or the fallback timer): the window is only invalidated and
// told what happened; sounds and the command happen on the window's thread.
void CTurnClock::Step() {
  bool changed = false;
  const widgets::ClockEvent e = m_core.Tick(m_pPause && *m_pPause != 0, &changed);
  HWND target = m_hTarget.load();
  if (changed && target) ::InvalidateRect(target, nullptr, TRUE);
  if (e != widgets::CLOCK_NONE && target) ::PostMessageA(target, WM_CLOCK_EVENT, (WPARAM)e, 0);
  ++m_nSteps;
}

LRESULT CTurnClock::OnClockEvent(WPARAM wParam, LPARAM) {
  if (wParam == widgets::CLOCK_TICK_SOUND) {
    if (m_core.Running()) PlaySound(m_nTickSound);
  } else if (wParam == widgets::CLOCK_ZERO && m_core.Expired()) {
    PlaySound(m_nZeroSound);
    CWnd* parent = GetParent();
    if (parent) parent->SendMessage(WM_COMMAND, MAKEWPARAM(m_nID, 0), (LPARAM)m_hWnd);
  }
  return 0;
}

void CTurnClock::PlaySound(UINT nId) {
  if (nId && m_player) m_player(nId);
}

void CTurnClock::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == IDT_CLOCK_FALLBACK && m_bTimerFallback) Step();
  Default();
}

BOOL CTurnClock::OnEraseBkgnd(CDC*) { return TRUE; }

void CTurnClock::DrawDigits(HDC dc, int x, int y) {
  const int ms = m_bCountUp ? m_core.ElapsedMs() : m_core.RemainingMs();
  const std::vector<int> glyphs = widgets::ClockGlyphs(m_nMode, ms / 1000);
  HDC src = m_hStrip ? ::CreateCompatibleDC(dc) : nullptr;
  HGDIOBJ old = src ? ::SelectObject(src, m_hStrip) : nullptr;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const int g = glyphs[i];
    const int gx = x + (int)i * m_sizeCell.cx;
    if (src && g < m_nCells) {
      ::BitBlt(dc, gx, y, m_sizeCell.cx, m_sizeCell.cy, src, g * m_sizeCell.cx, 0, SRCCOPY);
    } else {
      const char c = g == widgets::CLOCK_COLON ? ':' : (char)('0' + g);
      ::TextOutA(dc, gx, y, &c, 1);
    }
  }
  if (src) {
    ::SelectObject(src, old);
    ::DeleteDC(src);
  }
}

void CTurnClock::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  DrawDigits(dc, 0, 0);
  ::EndPaint(m_hWnd, &ps);
}

void CTurnClock::OnDestroy() {
  // Nothing more is posted to this window, and the thread is gone before it is.
  m_hTarget = nullptr;
  StopThread();
  if (m_bTimerFallback) KillTimer(IDT_CLOCK_FALLBACK);
  CStatic::OnDestroy();
}
