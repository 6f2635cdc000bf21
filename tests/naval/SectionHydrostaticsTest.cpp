#include <gtest/gtest.h>

#include <memory>

#include "foundation/PolyList.h"
#include "foundation/PolylineFixtures.h"
#include "foundation/VkMathsExpect.h"
#include "naval/VkHydro.h"

namespace sarnova {
namespace {

// Closed rectangle section at station X, y from -1 to 1 and z from 0 to 2.
std::unique_ptr<TPolyline> Rectangle(double X) {
    return MakePolyline({{X, -1, 0}, {X, 1, 0}, {X, 1, 2}, {X, -1, 2}, {X, -1, 0}});
}

TEST(PolylineListSections, BoxBargeHydrostatics) {
    // A box barge of eleven rectangle sections 2 x 2 from x = 0 to 10.
    TPolylineList L;
    for (int X = 0; X <= 10; ++X) L.Add(Rectangle(X));
    const TMPlane Waterline{{0, 0, 1}, 1};
    TVolumeAndCentre V = L.UnderwaterVolume(Waterline);
    EXPECT_NEAR(V.Volume, 20, 1e-9);
    EXPECT_NEAR(V.X, 5, 1e-9);
    EXPECT_NEAR(V.Z, 0.5, 1e-9);
    V = L.SectionsVolume();
    EXPECT_NEAR(V.Volume, 40, 1e-9);
    EXPECT_NEAR(V.Z, 1, 1e-9);
    THydrostaticsData H;
    L.HydrostaticSummary(Waterline, H);
    EXPECT_NEAR(H.Volume, 20, 1e-9);
    EXPECT_NEAR(H.WaterPlanArea, 20, 1e-9);
    // Bottom and sides, and the two immersed ends.
    EXPECT_NEAR(H.WettedArea, 44, 1e-9);
    auto Summary = L.SectionsSummary(Waterline);
    ASSERT_EQ(Summary->Count(), 11);
    EXPECT_NEAR(Summary->Items(1).LengthWeight, 4.0 / 3, 1e-12);
    EXPECT_NEAR(Summary->Items(5).WaterlineBreadth, 2, 1e-12);
    L.Add(std::make_unique<TPolyline>());
    ExpectError([&] { L.UnderwaterVolume(Waterline); }, "TRPointsIterator.Create - no points");
}

}  // namespace
}  // namespace sarnova
