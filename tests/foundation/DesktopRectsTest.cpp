#include <gtest/gtest.h>

#include "foundation/DesktopRects.h"

namespace sarnova {
namespace {

TEST(RectsOverlap, TouchingCounts) {
    const TRect A{0, 0, 10, 10};
    EXPECT_TRUE(RectsOverlap(A, {10, 0, 20, 10}));  // sharing only an edge
    EXPECT_TRUE(RectsOverlap(A, {5, 5, 6, 6}));
    EXPECT_FALSE(RectsOverlap(A, {11, 0, 20, 10}));
    EXPECT_FALSE(RectsOverlap(A, {0, -20, 10, -1}));
}

TEST(PixelPicking, DistanceAndTriangles) {
    EXPECT_DOUBLE_EQ(PixelDistance({1, 2}, {4, 6}), 5);
    EXPECT_DOUBLE_EQ(PixelDistance({-3, 0}, {-3, 0}), 0);

    const TPoint A{0, 0}, B{10, 0}, C{0, 10};
    const struct {
        TPoint P;
        bool Inside;
    } Cases[] = {{{2, 2}, true},  {{0, 0}, true},   {{10, 0}, true},  {{5, 5}, true},  // edges count
                 {{6, 5}, false}, {{-1, 3}, false}, {{3, 12}, false}, {{11, 0}, false}};
    for (const auto& K : Cases) {
        EXPECT_EQ(PointInTriangle(K.P, A, B, C), K.Inside) << K.P.X << "," << K.P.Y;
        EXPECT_EQ(PointInTriangle(K.P, A, C, B), K.Inside) << "other winding";
    }
    EXPECT_FALSE(PointInTriangle({1, 1}, {0, 0}, {2, 2}, {4, 4}));  // no area
}

TEST(MoveIntoDesktop, BringsAWindowWhollyOffTheDesktopToTheNearestEdge) {
    const TRect Desktop{0, 0, 1920, 1080};
    const struct {
        TRect Bounds;
        TRect Expected;
    } Cases[] = {
        {{1800, 100, 2400, 500}, {1800, 100, 2400, 500}},  // half on the desktop: left alone
        {{3000, 100, 3400, 400}, {1520, 100, 1920, 400}},  // to the right: right edge on the desktop's
        {{-900, 100, -100, 400}, {0, 100, 800, 400}},      // to the left
        {{100, -800, 500, -300}, {100, 0, 500, 500}},      // above
        {{100, 2000, 500, 2300}, {100, 780, 500, 1080}},   // below
        {{3000, 2000, 3400, 2300}, {1520, 780, 1920, 1080}},
        // Taller than the desktop: the top edge wins over the bottom.
        {{100, 2000, 500, 3500}, {100, 0, 500, 1500}},
    };
    for (const auto& C : Cases) {
        const TRect Moved = MoveIntoDesktop(C.Bounds, Desktop);
        EXPECT_EQ(Moved, C.Expected) << C.Bounds.Left << "," << C.Bounds.Top;
    }
}

TEST(MoveIntoDesktop, ExtremeBoundsStayWithinIntegers) {
    const TRect Moved = MoveIntoDesktop({2000000000, 0, 2147483647, 10}, {0, 0, 100, 100});
    // Wider than the desktop: the left edge wins over the right.
    EXPECT_EQ(Moved, (TRect{0, 0, 147483647, 10}));
}

}  // namespace
}  // namespace sarnova
