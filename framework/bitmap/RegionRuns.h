// Window shapes from pictures: rows of pixels that differ from a key colour become
// rectangles. Portable: the Windows side turns the rectangles into a region.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct RunRect {
  int left, top, right, bottom;  // right and bottom exclusive
  bool operator==(const RunRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// Where the key colour is read: a negative x means the last column, a negative y the last row.
void ResolveKeyPoint(int width, int height, int* x, int* y);

// Every run of non-key pixels, row by row, left to right, as {start, row, end + 1, row + 1}:
// a run keeps all its pixels, including the last one of the row.
std::vector<RunRect> KeyedRuns(const uint16_t* pixels, int width, int height, size_t stridePixels, uint16_t key);
