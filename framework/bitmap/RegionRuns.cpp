#include "RegionRuns.h"

void ResolveKeyPoint(int width, int height, int* x, int* y) {
  if (*x < 0 || *x >= width) *x = width - 1;
  if (*y < 0 || *y >= height) *y = height - 1;
}

std::vector<RunRect> KeyedRuns(const uint16_t* pixels, int width, int height, size_t stridePixels, uint16_t key) {
  std::vector<RunRect> out;
  if (!pixels || width <= 0 || height <= 0) return out;
  for (int y = 0; y < height; ++y) {
    const uint16_t* row = pixels + static_cast<size_t>(y) * stridePixels;
    int x = 0;
    while (x < width) {
      while (x < width && row[x] == key) ++x;
      if (x == width) break;
      const int start = x;
      while (x < width && row[x] != key) ++x;
      out.push_back({start, y, x, y + 1});
    }
  }
  return out;
}
