#include <gtest/gtest.h>

#include <vector>

#include "platform/Canvas.h"

namespace sarnova {
namespace {

TEST(PointInPolygonRegion, RectangleHoldsItsLeftAndTopEdgesOnly) {
    const std::vector<TPoint> Square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const std::pair<TPoint, bool> Cases[] = {
        {{0, 0}, true},   {{9, 9}, true},    {{0, 5}, true},   {{5, 0}, true},  {{10, 5}, false},
        {{5, 10}, false}, {{-1, 5}, false},  {{5, -1}, false}, {{10, 10}, false},
    };
    for (auto [P, Inside] : Cases) EXPECT_EQ(PointInPolygonRegion(Square, P), Inside) << P.X << "," << P.Y;
    // The winding order does not matter.
    const std::vector<TPoint> Reversed{{0, 10}, {10, 10}, {10, 0}, {0, 0}};
    for (auto [P, Inside] : Cases) EXPECT_EQ(PointInPolygonRegion(Reversed, P), Inside) << P.X << "," << P.Y;
}

TEST(PointInPolygonRegion, FillsByWindingSoOverlapsStayInside) {
    // A five-pointed star drawn in one stroke: its centre is wound twice, which the alternate rule
    // would leave empty.
    const std::vector<TPoint> Star{{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    EXPECT_TRUE(PointInPolygonRegion(Star, {50, 50}));
    EXPECT_TRUE(PointInPolygonRegion(Star, {50, 10}));  // a tip, wound once
    EXPECT_FALSE(PointInPolygonRegion(Star, {5, 80}));
}

TEST(PointInPolygonRegion, TriangleAndDegenerateOutlines) {
    const std::vector<TPoint> Triangle{{0, 0}, {20, 0}, {0, 20}};
    EXPECT_TRUE(PointInPolygonRegion(Triangle, {2, 2}));
    EXPECT_FALSE(PointInPolygonRegion(Triangle, {15, 15}));
    EXPECT_FALSE(PointInPolygonRegion(std::vector<TPoint>{}, {0, 0}));
    EXPECT_FALSE(PointInPolygonRegion(std::vector<TPoint>{{0, 0}, {10, 10}}, {5, 5}));
}

}  // namespace
}  // namespace sarnova
