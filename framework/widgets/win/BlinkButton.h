// CBlinkButton: a static that cycles through the frames of a masked image on a timer, to
// draw the eye to a place. It paints its frame itself over the parent's background, or,
// with the parent-draws flag, only advances and the parent draws DrawFrame into its own
// picture.
#pragma once
#include <afxcmn.h>
#include <afxwin.h>

class CBlinkButton : public CStatic {
  DECLARE_DYNAMIC(CBlinkButton)
 public:
  CBlinkButton();

  BOOL Create(CWnd* pParent, UINT nID, UINT nBitmapId, int cx, int cy, COLORREF crKey, UINT nPeriodMs);
  BOOL Create(CWnd* pParent, UINT nID, BOOL bSubclass, UINT nBitmapId, int cx, int cy, COLORREF crKey, UINT nPeriodMs);
  void DrawFrame(CDC* pDC, int x, int y);
  BOOL IsParentDrawn() const { return m_bParentDraws; }
  void SetParentDrawn(BOOL bOn) { m_bParentDraws = bOn; }
  int GetFrame() const { return m_nFrame; }
  int GetFrameCount() const { return m_images.GetSafeHandle() ? m_images.GetImageCount() : 0; }
  // One step of the timer.
  void Advance();

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  CImageList m_images;
  int m_nFrame;
  BOOL m_bParentDraws;
};
