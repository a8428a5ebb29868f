// Placeholder replaced below.
#include <gtest/gtest.h>
TEST(Gallery, Placeholder) {}
