// Double-buffered painting: draw into an off-screen bitmap of the area, copied to the
// target in one step when the object goes out of scope. A printing DC is drawn directly.
#pragma once

#include <afxwin.h>

class CODMemDC : public CDC {
 public:
  // rect null: the target's clip box. copyBackground: start from the target's pixels so
  // partial drawing keeps what was there.
  CODMemDC(CDC* pDC, const CRect* pRect = nullptr, BOOL bCopyBackground = FALSE);
  ~CODMemDC() override;

  CODMemDC(const CODMemDC&) = delete;
  CODMemDC& operator=(const CODMemDC&) = delete;

  CODMemDC* operator->() { return this; }
  operator CODMemDC*() { return this; }
  const CRect& GetRect() const { return m_rect; }
  BOOL IsMemDC() const { return m_bMemDC; }

 private:
  CBitmap m_bitmap;
  HGDIOBJ m_hOldBitmap = nullptr;  // a handle: temporary wrappers do not outlive idle time
  CDC* m_pDC;
  CRect m_rect;
  BOOL m_bMemDC;
};
