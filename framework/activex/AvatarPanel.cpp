#include "AvatarPanel.h"

#include <cstdlib>
#include <cstring>

#include "AvatarLayout.h"

BEGIN_MESSAGE_MAP(CAvatarPanel, CWnd)
  ON_WM_SIZE()
  ON_WM_PAINT()
END_MESSAGE_MAP()

int CAvatarPanel::Create(LPCSTR text, long value, CWnd* pParent, UINT idBase, int border) {
  if (!pParent || !pParent->GetSafeHwnd()) return 0;
  m_nBorder = border;
  m_nSizeType = 3;
  int w = 0, h = 0;
  avatarlayout::PresetSize(3, m_nBorder, &w, &h);
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
  if (!CWnd::CreateEx(0, cls, "", WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, w, h), pParent, idBase + 27000)) return 0;
  if (!m_wndInner.CreateEx(0, cls, "", WS_CHILD | WS_CLIPCHILDREN,
                           CRect(m_nBorder, m_nBorder, w - m_nBorder, h - m_nBorder), this, idBase + 27010))
    return 0;
  if (!m_Avatar.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, avatarlayout::kControlWidth, avatarlayout::kControlHeight),
                       &m_wndInner, idBase + 27020))
    return 0;
  SetText(text);
  m_Avatar.Invoke20(1);
  m_Avatar.Invoke12(1);
  m_Avatar.Invoke1(nullptr);
  m_Avatar.Invoke14(value);
  ShowWindow(SW_SHOW);
  m_wndInner.ShowWindow(SW_SHOW);
  m_Avatar.ShowWindow(SW_SHOW);
  // Place the control for the panel's size now that it exists.
  CRect rc;
  GetClientRect(&rc);
  OnSize(SIZE_RESTORED, rc.Width(), rc.Height());
  return 1;
}

void CAvatarPanel::SetSizeType(int x, int y, int type, int width, int height) {
  int w = width, h = height;
  if (type == -1) {
    CRect rc;
    GetWindowRect(&rc);
    w = rc.Width();
    h = rc.Height();
  } else if (type != 0 && !avatarlayout::PresetSize(type, m_nBorder, &w, &h)) {
    return;  // no preset: nothing changes
  }
  if (type != -1) m_nSizeType = type;
  MoveWindow(x, y, w, h);
}

void CAvatarPanel::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (!m_wndInner.GetSafeHwnd()) return;
  if (m_nSizeType == 0) {
    m_nWidth = cx;
    m_nHeight = cy;
  }
  m_nInnerWidth = cx - 2 * m_nBorder;
  m_nInnerHeight = cy - 2 * m_nBorder;
  m_wndInner.MoveWindow(m_nBorder, m_nBorder, m_nInnerWidth, m_nInnerHeight);
  if (!m_Avatar.GetSafeHwnd()) return;
  m_nOffsetX = avatarlayout::OffsetX(m_nInnerWidth);
  m_nOffsetY = avatarlayout::ResizeOffsetY(m_nInnerHeight);
  m_Avatar.MoveWindow(m_nOffsetX, m_nOffsetY, avatarlayout::kControlWidth, avatarlayout::kControlHeight);
  SetStatusMark(m_dwFlags);
}

void CAvatarPanel::SetStatusMark(uint32_t flags) {
  m_dwFlags = flags;
  if (!m_Avatar.GetSafeHwnd()) return;
  int id = avatarlayout::MarkBitmap(flags);
  HBITMAP bmp = id ? ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)) : nullptr;
  if (!bmp) {
    m_Avatar.Invoke10(0, 0, 14, 14, nullptr);
    return;
  }
  BITMAP bm;
  ::GetObject(bmp, sizeof bm, &bm);
  // The bottom-right corner of the part of the control that shows.
  int x = m_nInnerWidth + (m_nOffsetX < 0 ? -m_nOffsetX : 0) - bm.bmWidth;
  int y = m_nInnerHeight + (m_nOffsetY < 0 ? -m_nOffsetY : 0) - bm.bmHeight;
  LONG_PTR handle = (LONG_PTR)bmp;
  m_Avatar.Invoke10((short)x, (short)y, (short)bm.bmWidth, (short)bm.bmHeight, &handle);
  ::DeleteObject(bmp);
}

int CAvatarPanel::ShowAvatar(CDC* pDC, int x, int y, int width, int height) {
  if (width == 0) width = 71;
  if (height == 0) height = 96;
  int ox = avatarlayout::OffsetX(width), oy = avatarlayout::ShowOffsetY(height);
  if (m_Avatar.GetSafeHwnd() && pDC)
    m_Avatar.Invoke23((LONG_PTR)pDC->GetSafeHdc(), x, y, std::abs(ox), std::abs(oy), width, height, 0, 0);
  return 1;
}

void CAvatarPanel::SetValue(long value) { m_Avatar.Invoke14(value); }

void CAvatarPanel::SetText(LPCSTR text) {
  if (!m_Avatar.GetSafeHwnd()) return;
  char record[116] = {};
  if (text) strncpy(record, text, sizeof record - 1);
  m_Avatar.Invoke8((LONG_PTR)record, sizeof record);
}

HWND CAvatarPanel::GetAvatarWindow() {
  if (!m_Avatar.GetSafeHwnd()) return nullptr;
  // The control answers with a 32-bit handle; window handles keep their meaning sign-extended.
  HWND h = (HWND)(LONG_PTR)m_Avatar.Invoke17();
  return h && ::IsWindow(h) ? h : m_Avatar.GetSafeHwnd();
}

void CAvatarPanel::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  if (m_nBorder <= 0) rc.InflateRect(3, 3);
  ::DrawEdge(dc.GetSafeHdc(), &rc, BDR_RAISEDOUTER | BDR_SUNKENINNER, BF_RECT);
}
