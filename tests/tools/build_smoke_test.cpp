// The test programs link the whole core; this keeps the tools folder's test
// program present until the tools have tests of their own.
#include <gtest/gtest.h>

TEST(Build, CoreLinks) { SUCCEED(); }
