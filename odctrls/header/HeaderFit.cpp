#include "HeaderFit.h"

#include <algorithm>

namespace odheader {

namespace {
int MaxOf(const FitColumn& c) { return c.maxWidth > 0 ? c.maxWidth : 0x4000; }
}  // namespace

std::vector<int> FitWidths(const std::vector<FitColumn>& columns, int target) {
  std::vector<int> out;
  long long sum = 0, minSum = 0;
  for (const FitColumn& c : columns) sum += std::max(0, c.width), minSum += std::max(0, c.minWidth);
  if (target < minSum) target = static_cast<int>(std::min<long long>(minSum, 0x7FFFFFFF));
  if (sum < 1) sum = 1;
  long long now = 0;
  for (const FitColumn& c : columns) {
    long long w = static_cast<long long>(std::max(0, c.width)) * target / sum;
    w = std::clamp<long long>(w, std::max(0, c.minWidth), std::max(MaxOf(c), std::max(0, c.minWidth)));
    out.push_back(static_cast<int>(w));
    now += w;
  }
  // Hand out the rest one pixel at a time; a round that moves nothing ends it.
  while (now != target && !out.empty()) {
    bool moved = false;
    for (size_t i = 0; i < out.size() && now != target; ++i) {
      const FitColumn& c = columns[i];
      if (now < target && out[i] < MaxOf(c))
        ++out[i], ++now, moved = true;
      else if (now > target && out[i] > std::max(0, c.minWidth))
        --out[i], --now, moved = true;
    }
    if (!moved) break;
  }
  return out;
}

Limits NarrowForFit(int minWidth, int maxWidth, int room, const std::vector<FitColumn>& after) {
  Limits l{minWidth, maxWidth > 0 ? maxWidth : 0x4000};
  if (after.empty()) return l;
  long long sumMin = 0, sumMax = 0;
  for (const FitColumn& c : after) {
    sumMin += c.minWidth > 0 ? c.minWidth : 0;
    sumMax += c.maxWidth > 0 ? c.maxWidth : 0x4000;
  }
  l.maxWidth = (int)std::min<long long>(l.maxWidth, room - sumMin);
  l.minWidth = (int)std::max<long long>(l.minWidth, room - sumMax);
  return l;
}

}  // namespace odheader
