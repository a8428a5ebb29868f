#include "BlinkButton.h"

namespace {
enum { IDT_BLINK = 1 };
// Painting the parent under the control paints the control again: one level only.
volatile LONG s_nPainting = 0;
}  // namespace

IMPLEMENT_DYNAMIC(CBlinkButton, CStatic)

BEGIN_MESSAGE_MAP(CBlinkButton, CStatic)
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CBlinkButton::CBlinkButton() : m_nFrame(0), m_bParentDraws(FALSE) {}

BOOL CBlinkButton::Create(CWnd* pParent, UINT nID, UINT nBitmapId, int cx, int cy, COLORREF crKey, UINT nPeriodMs) {
  return Create(pParent, nID, TRUE, nBitmapId, cx, cy, crKey, nPeriodMs);
}

BOOL CBlinkButton::Create(CWnd* pParent, UINT nID, BOOL bSubclass, UINT nBitmapId, int cx, int cy, COLORREF crKey,
                          UINT nPeriodMs) {
  if (!pParent || !pParent->GetSafeHwnd() || cx <= 0 || cy <= 0) return FALSE;
  if (!m_images.Create(cx, cy, ILC_MASK | ILC_COLOR8, 0, 1)) return FALSE;
  HBITMAP bmp = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapId), IMAGE_BITMAP, 0, 0, 0);
  if (!bmp) return FALSE;
  ImageList_AddMasked(m_images.GetSafeHandle(), bmp, crKey);
  ::DeleteObject(bmp);
  m_images.SetBkColor(crKey);
  const bool haveItem = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID) != nullptr;
  if (bSubclass && haveItem) {
    if (!SubclassDlgItem(nID, pParent)) return FALSE;
  } else if (!CStatic::Create("", WS_CHILD, CRect(0, 0, cx, cy), pParent, nID)) {
    return FALSE;
  }
  CRect r;
  GetWindowRect(&r);
  pParent->ScreenToClient(&r);
  SetWindowPos(nullptr, r.left, r.top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  SetTimer(IDT_BLINK, nPeriodMs, nullptr);
  m_nFrame = 0;
  return TRUE;
}

void CBlinkButton::Advance() {
  const int n = GetFrameCount();
  if (!m_hWnd || !IsWindowVisible() || n <= 0) return;
  m_nFrame = (m_nFrame + 1) % n;
  Invalidate(TRUE);
}

void CBlinkButton::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == IDT_BLINK) Advance();
}

void CBlinkButton::DrawFrame(CDC* pDC, int x, int y) {
  if (!pDC || !pDC->GetSafeHdc() || GetFrameCount() <= 0) return;
  ImageList_Draw(m_images.GetSafeHandle(), m_nFrame, pDC->GetSafeHdc(), x, y, ILD_TRANSPARENT);
}

BOOL CBlinkButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CBlinkButton::OnPaint() {
  if (s_nPainting != 0) return;  // the parent's repaint below: validated when it returns
  ::InterlockedIncrement(&s_nPainting);
  CWnd* parent = GetParent();
  CRect r;
  GetWindowRect(&r);
  if (parent) {
    parent->ScreenToClient(&r);
    parent->RedrawWindow(&r, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
  }
  ValidateRect(nullptr);
  if (!m_bParentDraws) {
    HDC dc = ::GetWindowDC(m_hWnd);
    ImageList_Draw(m_images.GetSafeHandle(), m_nFrame, dc, 0, 0, ILD_TRANSPARENT);
    ::ReleaseDC(m_hWnd, dc);
  }
  ::InterlockedDecrement(&s_nPainting);
}

void CBlinkButton::OnDestroy() {
  KillTimer(IDT_BLINK);
  CStatic::OnDestroy();
}
