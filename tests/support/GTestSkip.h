// How a gtest program ends: a run in which no case failed but some were skipped ends with
// kSkippedExit, which ctest reports as skipped (SKIP_RETURN_CODE), so that a skip is never
// counted as a pass.
#pragma once
#include <gtest/gtest.h>

constexpr int kSkippedExit = 77;

inline int VeskTestsResult(int runAllTests) {
  if (runAllTests == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0) return kSkippedExit;
  return runAllTests;
}
