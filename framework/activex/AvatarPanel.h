// A player's avatar: a framed child window holding an inner window that holds the avatar
// control (150 x 190), placed so that the part that matters shows at the panel's size; a
// status mark over it; and the control's picture drawn into any device context.
#pragma once
#include <afxwin.h>

#include "QKCtrls.h"

class CAvatarPanel : public CWnd {
 public:
  CAvatarPanel() = default;

  // 1, or 0 when the parent has no window or a window cannot be made. The border width
  // belongs to this panel (each panel keeps its own).
  int Create(LPCSTR text, long value, CWnd* pParent, UINT idBase, int border);
  // Type 0: the given size; 1 to 12: the preset; -1: the current size. Moves to (x, y).
  void SetSizeType(int x, int y, int type, int width, int height);
  void SetStatusMark(uint32_t flags);
  int ShowAvatar(CDC* pDC, int x, int y, int width, int height);
  void SetValue(long value);
  // The player the control shows: the 116-byte record with the name at its start (dispid 8).
  void SetText(LPCSTR text);
  // The window that takes the table's clicks for this avatar: the handle the control gives
  // (dispid 17), else the control's own window; null without a control.
  HWND GetAvatarWindow();
  CQKAvatar* GetAvatar() { return m_Avatar.GetSafeHwnd() ? &m_Avatar : nullptr; }
  int GetBorder() const { return m_nBorder; }
  uint32_t GetStatusFlags() const { return m_dwFlags; }

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  CWnd m_wndInner;
  CQKAvatar m_Avatar;
  int m_nSizeType = 0;
  int m_nWidth = 150, m_nHeight = 150;
  int m_nOffsetX = 0, m_nOffsetY = 0;
  uint32_t m_dwFlags = 0;
  int m_nInnerWidth = 14, m_nInnerHeight = 0;
  int m_nBorder = 2;
};
