// Fitting header columns to a width, without windows: the columns share the target in
// proportion to their widths, within their limits, and the rounding rest is handed out one
// pixel at a time until the sum meets the target or a full round changes nothing.
#pragma once

#include <vector>

namespace odheader {

struct FitColumn {
  int width = 0;
  int minWidth = 0;
  int maxWidth = 0;  // 0 or less: no maximum
};

std::vector<int> FitWidths(const std::vector<FitColumn>& columns, int target);

// In fit mode a divider drag must leave the columns after the dragged one room within
// their limits: `room` is the header's client right + 1 less the dragged item's left, `after`
// the columns after it in display order. The item's limits (a maximum of 0 or less counts
// as 0x4000) come back narrowed; with nothing after it they stay as given.
struct Limits {
  int minWidth = 0;
  int maxWidth = 0x4000;
};
Limits NarrowForFit(int minWidth, int maxWidth, int room, const std::vector<FitColumn>& after);

}  // namespace odheader
