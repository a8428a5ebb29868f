#include "MenuLayout.h"

#include <algorithm>

namespace vesk {
namespace odctrls {

static int EntryHeight(const MenuEntry& e, const MenuMetrics& m) {
  return m.spacing + (e.separator ? m.separatorHeight : m.itemHeight);
}

void MenuLayout::Layout() {
  if (m_columns.size() > static_cast<size_t>(kMaxColumns)) m_columns.resize(kMaxColumns);
  int widest = 0, tallest = 0;
  for (auto& col : m_columns) {
    if (col.size() > static_cast<size_t>(kMaxEntries)) col.resize(kMaxEntries);
    int h = 0;
    for (const MenuEntry& e : col) {
      h += EntryHeight(e, m);
      if (!e.separator) widest = std::max(widest, std::min(e.textWidth, 2000));
    }
    tallest = std::max(tallest, h);
  }
  m_columnWidth = m.leftGap + m.imageColumn + m.textGap + widest + m.rightColumn + m.rightGap;
  m_contentHeight = tallest + m.spacing;
}

// Part sizes from the theme or a caller are cut to sane widths.
static int PartSize(int v) { return std::max(0, std::min(v, 2000)); }

int MenuLayout::Width() const {
  int n = Columns();
  return n * m_columnWidth + std::max(0, n - 1) * m.columnGap + m.margins.left + m.margins.right +
         PartSize(m.parts.left) + PartSize(m.parts.right);
}

int MenuLayout::Height() const {
  return m_contentHeight + m.margins.top + m.margins.bottom + PartSize(m.parts.top) + PartSize(m.parts.bottom);
}

MenuRect MenuLayout::Inner(int clientW, int clientH) const {
  MenuRect rc;
  rc.left = m.margins.left + PartSize(m.parts.left);
  rc.top = m.margins.top + PartSize(m.parts.top);
  rc.right = std::max(rc.left, clientW - m.margins.right - PartSize(m.parts.right));
  rc.bottom = std::max(rc.top, clientH - m.margins.bottom - PartSize(m.parts.bottom));
  return rc;
}

MenuRect MenuLayout::EntryRect(int column, int row) const {
  MenuRect rc;
  if (column < 0 || column >= Columns() || row < 0 || row >= static_cast<int>(m_columns[column].size())) return rc;
  int top = m.margins.top + PartSize(m.parts.top);
  for (int i = 0; i < row; ++i) top += EntryHeight(m_columns[column][i], m);
  const MenuEntry& e = m_columns[column][row];
  rc.left = m.margins.left + PartSize(m.parts.left) + column * (m_columnWidth + m.columnGap);
  rc.right = rc.left + m_columnWidth;
  rc.top = top + m.spacing;
  rc.bottom = rc.top + (e.separator ? m.separatorHeight : m.itemHeight);
  return rc;
}

bool MenuLayout::HitTest(int x, int y, int* column, int* row) const {
  for (int c = 0; c < Columns(); ++c)
    for (int r = 0; r < static_cast<int>(m_columns[c].size()); ++r) {
      const MenuEntry& e = m_columns[c][r];
      if (e.separator || !e.enabled) continue;
      MenuRect rc = EntryRect(c, r);
      // The outer columns' items reach over the margins.
      if (c == 0) rc.left -= m.margins.left;
      if (c == Columns() - 1) rc.right += m.margins.right;
      if (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom) {
        *column = c;
        *row = r;
        return true;
      }
    }
  return false;
}

bool MenuLayout::Step(int* column, int* row, int dir) const {
  const int n = Columns();
  int total = 0;
  for (const auto& col : m_columns) total += static_cast<int>(col.size());
  if (n == 0 || total == 0) return false;
  int c = std::max(0, std::min(*column, n - 1)), r = *row;
  if (*column < 0 || *row < 0) r = dir > 0 ? -1 : static_cast<int>(m_columns[c].size());
  for (int guard = 0; guard <= total + n; ++guard) {
    r += dir;
    if (r < 0) {
      c = (c + n - 1) % n;
      r = static_cast<int>(m_columns[c].size()) - 1;
    } else if (r >= static_cast<int>(m_columns[c].size())) {
      c = (c + 1) % n;
      r = 0;
    }
    if (r < 0 || r >= static_cast<int>(m_columns[c].size())) continue;
    const MenuEntry& e = m_columns[c][r];
    if (!e.separator && e.enabled) {
      *column = c;
      *row = r;
      return true;
    }
  }
  return false;
}

int MenuLayout::NthEnabled(int column, int n) const {
  if (column < 0 || column >= Columns()) return -1;
  for (int r = 0; r < static_cast<int>(m_columns[column].size()); ++r) {
    const MenuEntry& e = m_columns[column][r];
    if (!e.separator && e.enabled && --n == 0) return r;
  }
  return -1;
}

MenuRect WorkArea(int screenW, int screenH, int edge, const MenuRect& bar) {
  MenuRect a{0, 0, screenW, screenH};
  switch (edge) {
    case kEdgeLeft:
      a.left = bar.right;
      break;
    case kEdgeRight:
      a.right = bar.left;
      break;
    case kEdgeTop:
      a.top = bar.bottom;
      break;
    case kEdgeBottom:
      a.bottom = bar.top;
      break;
    default:
      break;
  }
  return a;
}

MenuRect PlaceRootMenu(int flags, int x, int y, int w, int h, const MenuRect& area) {
  int left = x - ((flags & kMenuAlignRight) ? w : (flags & kMenuAlignCentreX) ? w / 2 : 0);
  int top = y - ((flags & kMenuAlignBottom) ? h : (flags & kMenuAlignCentreY) ? h / 2 : 0);
  if (flags < kMenuPushInside) {
    if (left < area.left) left = x;
    if (left + w > area.right) left = std::max(x - w, area.left);
    if (top < area.top) top = y;
    if (top + h > area.bottom) top = std::max(y - h, area.top);
  } else {
    if (left < area.left) left = area.left;
    if (left + w > area.right) left = area.right - w;
    if (top < area.top) top = area.top;
    if (top + h > area.bottom) top = area.bottom - h;
  }
  return MenuRect{left, top, left + w, top + h};
}

MenuRect PlaceSubMenu(int x, int y, int w, int h, const MenuRect& area, const int* prevLeft) {
  int left = x, top = y;
  if (left + w > area.right && prevLeft) left = *prevLeft - w;
  if (top + h > area.bottom) top -= top + h - area.bottom;
  return MenuRect{left, top, left + w, top + h};
}

}  // namespace odctrls
}  // namespace vesk
