// main() of the gtest programs in the native and Windows trees.
#include "GTestSkip.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return VeskTestsResult(RUN_ALL_TESTS());
}
