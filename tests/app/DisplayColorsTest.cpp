#include "DisplayColors.h"

#include <gtest/gtest.h>

namespace {

struct DepthCase {
    int bitsPerPixel;
    int colors;
};

class DisplayColorsTest : public ::testing::TestWithParam<DepthCase> {};

TEST_P(DisplayColorsTest, ColourCountFollowsTheDepth) {
    EXPECT_EQ(DisplayColorsForDepth(GetParam().bitsPerPixel), GetParam().colors);
}

// Up to 8 bits a display has 2^depth colours; deeper ones, and depths no screen reports, count
// as more than 256.
INSTANTIATE_TEST_SUITE_P(Depths, DisplayColorsTest,
                         ::testing::Values(DepthCase{1, 2}, DepthCase{4, 16}, DepthCase{8, 256},
                                           DepthCase{15, 257}, DepthCase{16, 257},
                                           DepthCase{24, 257}, DepthCase{32, 257},
                                           DepthCase{0, 257}, DepthCase{-1, 257}));

} // namespace
