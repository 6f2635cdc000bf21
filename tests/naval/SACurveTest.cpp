#include "naval/SACurve.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "naval/BoxSections.h"

using namespace sarnova;

TEST(SectionAreaCurve, EveryFunctionOnTheBoxHull) {
    auto Sections = BoxSections();
    // Each section is 2 wide; at draught 1 it has area 2 and is as full as its breadth and depth.
    const std::pair<TSectionAreaFunction, double> Cases[] = {
        {safHalfArea, 1}, {safFullArea, 2}, {safAreaRatio, 1}, {safLocalCoefficient, 1}};
    for (auto [Function, Value] : Cases) {
        const TSectionAreaCurve C = SectionAreaCurve(*Sections, 1, Function);
        ASSERT_EQ(C.Points.size(), 11u);
        ASSERT_EQ(C.SectionValues.size(), 11u);
        for (int I = 0; I < 11; ++I) {
            EXPECT_DOUBLE_EQ(C.Points[I].Station, I);
            EXPECT_NEAR(C.Points[I].Value, Value, 1e-12) << int(Function);
            EXPECT_NEAR(C.SectionValues[I], Value, 1e-12) << int(Function);
        }
    }
}

TEST(SectionAreaCurve, ADrySectionPlotsZeroWhereTheBodyLeavesTheWater) {
    auto Sections = BoxSections();
    // The last section's bottom rises to 1.5: dry at draught 1.
    TPolyline& Last = *Sections->Items(10);
    for (int I = 0; I < Last.Count(); ++I)
        if (Last.Point(I)->Z == 0) Last.Point(I)->Z = 1.5;
    const TSectionAreaCurve C = SectionAreaCurve(*Sections, 1, safAreaRatio);
    ASSERT_EQ(C.SectionValues.size(), 11u);
    EXPECT_EQ(C.SectionValues[10], 0);
    EXPECT_NEAR(C.SectionValues[9], 1, 1e-12);
    ASSERT_GE(C.Points.size(), 11u);
    EXPECT_TRUE(std::is_sorted(C.Points.begin(), C.Points.end(),
                               [](const auto& A, const auto& B) { return A.Station < B.Station; }));
    EXPECT_DOUBLE_EQ(C.Points.back().Station, 10);
    EXPECT_EQ(C.Points.back().Value, 0);
    // Nothing immersed at all: every section plots 0.
    for (double V : SectionAreaCurve(*Sections, -1, safAreaRatio).SectionValues) EXPECT_EQ(V, 0);
}
