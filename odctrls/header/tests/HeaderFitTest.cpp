// Fitting columns to a width: proportional shares, limits, and an end even when the
// limits cannot meet the target.
#include "HeaderFit.h"

#include <gtest/gtest.h>

#include <numeric>

using odheader::FitColumn;
using odheader::FitWidths;

namespace {

int Sum(const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); }

TEST(HeaderFit, SharesTheTargetWithinLimits) {
  struct Case {
    const char* what;
    std::vector<FitColumn> columns;
    int target;
    std::vector<int> expected;
  } cases[] = {
      {"proportional", {{100, 0, 0}, {100, 0, 0}}, 300, {150, 150}},
      {"rounding rest", {{1, 0, 0}, {1, 0, 0}, {1, 0, 0}}, 100, {34, 33, 33}},
      {"maximum holds", {{100, 0, 120}, {100, 0, 0}}, 300, {120, 180}},
      {"minimum holds", {{100, 90, 0}, {100, 0, 0}}, 100, {90, 10}},
      {"limits cannot meet the target", {{10, 10, 10}, {10, 10, 10}}, 100, {10, 10}},
      {"target below the minimums", {{50, 40, 0}, {50, 40, 0}}, 10, {40, 40}},
      {"zero widths", {{0, 0, 0}, {0, 0, 0}}, 10, {5, 5}},
      {"nothing", {}, 10, {}},
  };
  for (const auto& c : cases) {
    const std::vector<int> got = FitWidths(c.columns, c.target);
    EXPECT_EQ(got, c.expected) << c.what;
  }
  EXPECT_EQ(Sum(FitWidths({{37, 5, 0}, {61, 5, 0}, {3, 5, 0}}, 400)), 400);
}

TEST(HeaderFit, ADividerDragLeavesTheLaterColumnsTheirLimits) {
  struct Case {
    const char* what;
    int minWidth, maxWidth, room;
    std::vector<FitColumn> after;
    int expectMin, expectMax;
  } cases[] = {
      {"last column: as given", 10, 0, 300, {}, 10, 0x4000},
      {"later minimums cap the maximum", 10, 0, 300, {{50, 40, 0}, {50, 60, 0}}, 10, 200},
      {"later maximums raise the minimum", 10, 0, 300, {{50, 0, 80}, {50, 0, 100}}, 120, 300},
      {"own limits stay when tighter", 100, 150, 300, {{50, 40, 250}}, 100, 150},
  };
  for (const auto& c : cases) {
    const odheader::Limits l = odheader::NarrowForFit(c.minWidth, c.maxWidth, c.room, c.after);
    EXPECT_EQ(l.minWidth, c.expectMin) << c.what;
    EXPECT_EQ(l.maxWidth, c.expectMax) << c.what;
  }
}

}  // namespace
