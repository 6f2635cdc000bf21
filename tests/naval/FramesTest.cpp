#include "naval/Frames.h"

#include <gtest/gtest.h>

namespace sarnova {
namespace {

TEST(FramesTest, ThePositionComesFromTheLastRangeHoldingTheFrame) {
    TFrames Frames;
    EXPECT_EQ(Frames.Count(), 0);
    EXPECT_EQ(Frames.FramePosition(3), -1);
    Frames.Add({0.6, 0, -60000, 12, -100000, 20});
    Frames.Add({0.7, -2, 12, 1e33, 20, 300000});
    EXPECT_DOUBLE_EQ(Frames.FramePosition(10), 6);
    EXPECT_DOUBLE_EQ(Frames.FramePosition(19.5), 11.7);
    EXPECT_DOUBLE_EQ(Frames.FramePosition(20), 12);  // a range holds its first frame, not its last
    EXPECT_EQ(Frames.FramePosition(300000), -1);
    Frames.Add({2, 0, 0, 0, 0, 5});  // overlaps: the later range decides
    EXPECT_DOUBLE_EQ(Frames.FramePosition(3), 6);
}

}  // namespace
}  // namespace sarnova
