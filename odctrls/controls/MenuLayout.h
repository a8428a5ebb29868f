// Layout, placement, hit test and key navigation of the popup menu window CODMenuWnd, as
// portable arithmetic over columns of entries.
#pragma once

#include <vector>

namespace vesk {
namespace odctrls {

struct MenuRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct MenuEntry {
  bool separator = false;
  bool enabled = true;
  bool hasSubmenu = false;
  bool command = false;  // executes on a click even with a sub-menu
  int textWidth = 0;
};

struct MenuMetrics {
  int textGap = 8, leftGap = 4, rightGap = 4, spacing = 2, separatorHeight = 5, columnGap = 1;
  int imageColumn = 16, rightColumn = 16, itemHeight = 20;
  MenuRect margins{1, 1, 1, 1};  // widths of the frame on each side
  // Sizes of the extra parts that are present, inside the margins: the left part's width,
  // the top part's height, the right part's width, the bottom part's height (0: none).
  MenuRect parts{0, 0, 0, 0};
};

class MenuLayout {
 public:
  static constexpr int kMaxColumns = 16;
  static constexpr int kMaxEntries = 256;  // per column

  // Sets the column width (the widest item plus its gaps and columns) and content height.
  void Layout();
  int Columns() const { return static_cast<int>(m_columns.size()); }
  int Width() const;   // the menu window's width with margins
  int Height() const;  // the menu window's height with margins
  // The inner rectangle of a menu window of the given client size: less the margins and the
  // extra parts; the columns start at its top-left.
  MenuRect Inner(int clientW, int clientH) const;
  // The entry's rectangle in client coordinates (inner rectangle from the margins and parts).
  MenuRect EntryRect(int column, int row) const;
  // The enabled item (not separator) under the point; false when none.
  bool HitTest(int x, int y, int* column, int* row) const;
  // The next enabled item from (column, row) by one step; dir -1 up, +1 down, wrapping
  // into the neighbouring column as the keys do.
  bool Step(int* column, int* row, int dir) const;
  // The n-th (from 1) enabled item of a column.
  int NthEnabled(int column, int n) const;

  std::vector<std::vector<MenuEntry>> m_columns;
  MenuMetrics m;
  int m_columnWidth = 0, m_contentHeight = 0;
};

enum {
  kMenuAlignCentreX = 0x04,
  kMenuAlignRight = 0x08,
  kMenuAlignCentreY = 0x10,
  kMenuAlignBottom = 0x20,
  kMenuPushInside = 0x4000
};
enum { kEdgeLeft = 0, kEdgeTop = 1, kEdgeRight = 2, kEdgeBottom = 3 };

// The screen less the task bar on the given edge (edge -1: no task bar).
MenuRect WorkArea(int screenW, int screenH, int edge, const MenuRect& bar);
// Where a root menu of w x h tracked at (x, y) goes.
MenuRect PlaceRootMenu(int flags, int x, int y, int w, int h, const MenuRect& area);
// Where a sub-menu of w x h tracked at (x, y) goes; prevLeft is the opener's left or null.
MenuRect PlaceSubMenu(int x, int y, int w, int h, const MenuRect& area, const int* prevLeft);

}  // namespace odctrls
}  // namespace vesk
