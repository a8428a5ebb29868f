// Column dragging on the owner-drawn header, without windows: where a dragged column would
// land, the order array after the drop, and the drop marker's arrow shape and place.
#pragma once

#include <vector>

namespace odheader {

struct DragItem {
  int left = 0, right = 0;  // client x range of the item
};

// Drop index for a cursor x over items given in display order: the order of the item under
// x, plus one past its middle; -1 off the items.
int DropIndexAt(const std::vector<DragItem>& itemsInOrder, int x);

// Dropping at the dragged column's own place or just right of it changes nothing: -1.
int EffectiveDropIndex(int dropIndex, int draggedOrder);

// The order array (header indices by display position) with the item at draggedOrder moved
// to dropIndex (0..count); the same array when either is out of range.
std::vector<int> MoveInOrder(const std::vector<int>& order, int draggedOrder, int dropIndex);

// Whether the cursor has left the system drag rectangle around the press point.
bool LeftDragRect(int pressX, int pressY, int x, int y, int cxDrag, int cyDrag);

struct MarkerPoint {
  int x, y;
};
// The drop marker: 12 pixels wide, headerHeight + 20 high, a downward arrow on top and an
// upward arrow at the bottom (seven points each).
constexpr int kMarkerWidth = 12;
int MarkerHeight(int headerHeight);
void MarkerArrows(int headerHeight, MarkerPoint down[7], MarkerPoint up[7]);
// The divider x the marker's centre line sits on for a drop index; false when the index
// has no divider (below 0 or above the item count).
bool MarkerX(const std::vector<DragItem>& itemsInOrder, int dropIndex, int* x);

}  // namespace odheader
