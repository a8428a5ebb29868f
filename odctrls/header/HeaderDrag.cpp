#include "HeaderDrag.h"

#include <cstdlib>

namespace odheader {

int DropIndexAt(const std::vector<DragItem>& itemsInOrder, int x) {
  for (size_t i = 0; i < itemsInOrder.size(); ++i) {
    const DragItem& it = itemsInOrder[i];
    if (x < it.left || x >= it.right) continue;
    const int middle = it.left + (it.right - it.left) / 2;
    return (int)i + (x > middle ? 1 : 0);
  }
  return -1;
}

int EffectiveDropIndex(int dropIndex, int draggedOrder) {
  if (dropIndex == draggedOrder || dropIndex == draggedOrder + 1) return -1;
  return dropIndex;
}

std::vector<int> MoveInOrder(const std::vector<int>& order, int draggedOrder, int dropIndex) {
  const int count = (int)order.size();
  if (draggedOrder < 0 || draggedOrder >= count || dropIndex < 0 || dropIndex > count) return order;
  std::vector<int> out = order;
  const int moved = out[(size_t)draggedOrder];
  out.erase(out.begin() + draggedOrder);
  // Removing the item shifts every place right of it one to the left.
  const int at = dropIndex > draggedOrder ? dropIndex - 1 : dropIndex;
  out.insert(out.begin() + at, moved);
  return out;
}

bool LeftDragRect(int pressX, int pressY, int x, int y, int cxDrag, int cyDrag) {
  return std::abs(x - pressX) > cxDrag / 2 || std::abs(y - pressY) > cyDrag / 2;
}

int MarkerHeight(int headerHeight) { return (headerHeight < 0 ? 0 : headerHeight) + 20; }

void MarkerArrows(int headerHeight, MarkerPoint down[7], MarkerPoint up[7]) {
  const int h = MarkerHeight(headerHeight);
  const MarkerPoint d[7] = {{8, 0}, {8, 4}, {11, 4}, {6, 9}, {1, 4}, {4, 4}, {4, 0}};
  const MarkerPoint u[7] = {{4, h}, {4, h - 4}, {0, h - 4}, {6, h - 10}, {12, h - 4}, {8, h - 4}, {8, h}};
  for (int i = 0; i < 7; ++i) down[i] = d[i], up[i] = u[i];
}

bool MarkerX(const std::vector<DragItem>& itemsInOrder, int dropIndex, int* x) {
  const int count = (int)itemsInOrder.size();
  if (dropIndex < 0 || dropIndex > count || !x) return false;
  *x = dropIndex == count ? (count ? itemsInOrder.back().right : 0) : itemsInOrder[(size_t)dropIndex].left - 1;
  return true;
}

}  // namespace odheader
