#include "radmill_run.h"

#include <gtest/gtest.h>

TEST(Smoke, BinaryRuns) { EXPECT_NE(radmill_test::run_radmill({}).status, -1); }
