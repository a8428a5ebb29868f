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

}  // namespace odheader
