#include "ODTxtMov.h"

#include "ODThemeSections.h"

using vesk::odctrls::TxtItem;
using vesk::odctrls::TxtSize;

CODTxtMov::CODTxtMov() : m_nMoveOffset(0), m_nWidth(0) {}
CODTxtMov::~CODTxtMov() { DestroyLines(); }

void CODTxtMov::SetText(LPCSTR lpszText) { m_store.SetText(lpszText ? lpszText : ""); }

BOOL CODTxtMov::AddItem(int nLine, LPCSTR lpszText, LPCSTR lpszLink, LPCSTR lpszTip, const int values[5]) {
  const int32_t v[5] = {values[0], values[1], values[2], values[3], values[4]};
  return m_store.AddItem(nLine, lpszText ? lpszText : "", lpszLink ? lpszLink : "", lpszTip ? lpszTip : "", v);
}

void CODTxtMov::SetHover(BOOL bTracking, POINT pt) {
  m_store.m_hoverRow = m_store.m_hoverItem = -1;
  m_store.m_tracking = bTracking != FALSE;
  m_store.m_ptX = pt.x;
  m_store.m_ptY = pt.y;
  Update(0, 1);
  HitTest();
}

void CODTxtMov::Update(int, int) {}

void CODTxtMov::HitTest() {
  int row = -1, item = -1;
  m_store.HitTest(m_store.m_ptX + m_nMoveOffset, m_store.m_ptY, &row, &item);
  m_store.m_hoverRow = row;
  m_store.m_hoverItem = item;
}

BOOL CODTxtMov::GetHoverString(int nKind, CString& str) const {
  std::string s;
  if (!m_store.GetHoverString(nKind, &s)) return FALSE;
  str = s.c_str();
  return TRUE;
}

void CODTxtMov::StartMoving() {
  if (!m_store.m_moving) m_store.m_moving = MoveSwitch(1);
}

void CODTxtMov::StopMoving() {
  if (m_store.m_moving && MoveSwitch(0)) m_store.m_moving = 0;
}

BOOL CODTxtMov::MoveSwitch(int nOn) {
  if (!nOn) m_nMoveOffset = 0;
  return TRUE;
}

void CODTxtMov::MoveStep() {
  if (!m_store.m_moving) return;
  // The text runs out at the left and comes back in from the right.
  ++m_nMoveOffset;
  if (m_nMoveOffset > m_store.Extent().cx) m_nMoveOffset = -m_nWidth;
}

void CODTxtMov::LayoutIn(HDC hDC, const RECT& rc, HFONT hFont) {
  HGDIOBJ old = ::SelectObject(hDC, hFont);
  m_store.Layout(rc.left, rc.top, [hDC](const std::string& s) {
    SIZE sz = {};
    ::GetTextExtentPoint32A(hDC, s.c_str(), static_cast<int>(s.size()), &sz);
    return TxtSize{sz.cx, sz.cy};
  });
  ::SelectObject(hDC, old);
  m_nWidth = rc.right - rc.left;
}

void CODTxtMov::Draw(HDC hDC, const RECT& rc, HFONT hFont) {
  LayoutIn(hDC, rc, hFont);
  const ODTxtMovTheme& t = ODTxtMovValues();
  HGDIOBJ old = ::SelectObject(hDC, hFont);
  int oldMode = ::SetBkMode(hDC, TRANSPARENT);
  HRGN clip = ::CreateRectRgnIndirect(&rc);
  ::SelectClipRgn(hDC, clip);
  for (size_t r = 0; r < m_store.m_lines.size(); ++r) {
    const auto& items = m_store.m_lines[r].items;
    for (size_t i = 0; i < items.size(); ++i) {
      const TxtItem& item = items[i];
      bool hot = m_store.m_tracking && int(r) == m_store.m_hoverRow && int(i) == m_store.m_hoverItem;
      COLORREF cr = item.kind == vesk::odctrls::kTxtItemVisited ? t.crVisited
                    : item.kind == vesk::odctrls::kTxtItemLink  ? (hot ? t.crLinkerFocus : t.crLinker)
                    : hot                                       ? t.crFocus
                                                                : t.crNormal;
      ::SetTextColor(hDC, cr);
      const auto& box = m_store.ItemRect(int(r), int(i));
      ::TextOutA(hDC, box.left - m_nMoveOffset, box.top, item.text.c_str(), int(item.text.size()));
      if (item.kind != vesk::odctrls::kTxtItemPlain) {
        // Links are underlined in their colour.
        HPEN pen = ::CreatePen(PS_SOLID, 1, cr);
        HGDIOBJ op = ::SelectObject(hDC, pen);
        ::MoveToEx(hDC, box.left - m_nMoveOffset, box.bottom - 1, nullptr);
        ::LineTo(hDC, box.right - m_nMoveOffset, box.bottom - 1);
        ::SelectObject(hDC, op);
        ::DeleteObject(pen);
      }
    }
  }
  ::SelectClipRgn(hDC, nullptr);
  ::DeleteObject(clip);
  ::SetBkMode(hDC, oldMode);
  ::SelectObject(hDC, old);
}
