#include "ODMemDC.h"

CODMemDC::CODMemDC(CDC* pDC, const CRect* pRect, BOOL bCopyBackground) : m_pDC(pDC), m_bMemDC(FALSE) {
  if (pDC == nullptr) return;
  if (pDC->m_bPrinting) {
    // Printers get the drawing straight away; borrow the target's handles.
    m_bPrinting = TRUE;
    m_hDC = pDC->m_hDC;
    m_hAttribDC = pDC->m_hAttribDC;
    return;
  }
  if (pRect != nullptr)
    m_rect = *pRect;
  else
    pDC->GetClipBox(&m_rect);
  m_rect.NormalizeRect();
  if (!CreateCompatibleDC(pDC)) {
    // Without a memory DC draw directly rather than lose the paint.
    m_hDC = pDC->m_hDC;
    m_hAttribDC = pDC->m_hAttribDC;
    return;
  }
  m_bMemDC = TRUE;
  // A zero-sized area still gets a (1x1) bitmap so drawing calls have a surface; nothing
  // is copied back for it.
  const int cx = m_rect.Width() > 0 ? m_rect.Width() : 1;
  const int cy = m_rect.Height() > 0 ? m_rect.Height() : 1;
  m_bitmap.CreateCompatibleBitmap(pDC, cx, cy);
  m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.GetSafeHandle());
  SetWindowOrg(m_rect.left, m_rect.top);
  if (bCopyBackground && !m_rect.IsRectEmpty())
    BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), pDC, m_rect.left, m_rect.top, SRCCOPY);
}

CODMemDC::~CODMemDC() {
  if (m_bMemDC) {
    if (!m_rect.IsRectEmpty())
      m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    if (m_hOldBitmap != nullptr) ::SelectObject(m_hDC, m_hOldBitmap);
    DeleteDC();
  } else {
    // Borrowed handles belong to the target.
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
  }
  m_bitmap.DeleteObject();
}
