#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "foundation/Console.h"
#include "naval/VkHydro.h"
#include "naval/HullMeshes.h"

using namespace sarnova;

namespace {

// Console lines written while F runs.
template <typename TFunc>
std::vector<std::string> ConsoleLinesOf(TFunc F) {
    std::vector<std::string> Lines;
    auto Saved = GConsole->OnLine;
    GConsole->OnLine = [&](const std::string& L) { Lines.push_back(L); };
    F();
    GConsole->OnLine = Saved;
    return Lines;
}

THydrostaticsData HydrostaticsOf(const TPolygonList& Mesh) {
    THydrostaticsData R;
    ResetHydrostatics(R);
    MeshHydrostatics(Mesh, R);
    return R;
}

}  // namespace

TEST(MeshHydrostatics, OpenBoxWholeAndHalf) {
    struct TCase {
        const char* Name;
        std::unique_ptr<TPolygonList> Mesh;
        double LCB, TCB, BMT;
    };
    TCase Cases[] = {
        {"whole", BoxMesh(0, 10, -1, 1, 0, 1), 5, 0, (2.0 / 3 * 10) / 20},
        // The half body's LCB is measured from the origin, the whole body's from the aft end.
        {"half", BoxMesh(0, 10, 0, 1, 0, 1, false, true), 5, 0, 0},
        {"half moved forward", BoxMesh(2, 12, 0, 1, 0, 1, false, true), 7, 0, 0},
    };
    for (TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const THydrostaticsData R = HydrostaticsOf(*C.Mesh);
        EXPECT_NEAR(R.Volume, 20, 1e-12);
        EXPECT_NEAR(R.Displacement, 20.5, 1e-12);
        EXPECT_NEAR(R.WaterPlanArea, 20, 1e-12);
        EXPECT_NEAR(R.MaxSectionArea, 2, 1e-12);
        EXPECT_NEAR(R.WettedArea, 44, 1e-12);
        for (double K : {R.CB, R.CP, R.CM, R.CWP}) EXPECT_NEAR(K, 1, 1e-12);
        EXPECT_NEAR(R.LWL, 10, 1e-12);
        EXPECT_NEAR(R.BWL, 2, 1e-12);
        EXPECT_NEAR(R.Draught, 1, 1e-12);
        EXPECT_NEAR(R.LCB, C.LCB, 1e-12);
        EXPECT_NEAR(R.LCF, 5, 1e-12);
        EXPECT_NEAR(R.LCBPercent, C.LCB * 10, 1e-10);
        EXPECT_NEAR(R.TCB, C.TCB, 1e-12);
        EXPECT_NEAR(R.VCB, 0.5, 1e-12);
        EXPECT_NEAR(R.TPC, 0.01 * 20 * 1.025, 1e-12);
        EXPECT_NEAR(R.BMT, C.BMT, 1e-12);
        EXPECT_NEAR(R.MinCorner.Y, -1, 1e-12);
        // The waterplane is the caller's.
        EXPECT_EQ(R.WaterPlane, XYPlane);
    }
}

TEST(MeshHydrostatics, WhichSideCountsAsAHalfBody) {
    // Volume of the mesh itself: a half body counts twice.
    const std::pair<double, double> Cases[] = {{-0.00005, 2 * 10.0005}, {-0.001, 10.01}};
    for (auto [Y0, Volume] : Cases) {
        const THydrostaticsData R = HydrostaticsOf(*BoxMesh(0, 10, Y0, 1, 0, 1));
        EXPECT_NEAR(R.Volume, Volume, 1e-9) << Y0;
    }
    // The half on the negative side is a whole body of its own.
    EXPECT_NEAR(HydrostaticsOf(*BoxMesh(0, 10, -1, 0, 0, 1)).Volume, 10, 1e-12);
}

TEST(MeshHydrostatics, LidCancelsTheWaterplaneButNotTheVolume) {
    const THydrostaticsData R = HydrostaticsOf(*BoxMesh(0, 10, -1, 1, 0, 1, true));
    EXPECT_NEAR(R.Volume, 20, 1e-12);
    EXPECT_NEAR(R.WaterPlanArea, 0, 1e-12);
}

TEST(MeshHydrostatics, InwardNormalsGiveTheSameFiguresAndSaySo) {
    auto Outward = BoxMesh(0, 10, -1, 1, 0, 1);
    auto Inward = Outward->Clone();
    Inward->FlipNormals();
    const THydrostaticsData Expected = HydrostaticsOf(*Outward);
    THydrostaticsData R;
    const auto Lines = ConsoleLinesOf([&] { R = HydrostaticsOf(*Inward); });
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_NE(Lines[0].find("inwards"), std::string::npos);
    for (auto [Got, Want] : {std::pair{R.Volume, Expected.Volume}, {R.Displacement, Expected.Displacement},
                             {R.WaterPlanArea, Expected.WaterPlanArea}, {R.MaxSectionArea, Expected.MaxSectionArea},
                             {R.LCB, Expected.LCB}, {R.VCB, Expected.VCB}, {R.BMT, Expected.BMT},
                             {R.CM, Expected.CM}, {R.CP, Expected.CP}})
        EXPECT_NEAR(Got, Want, 1e-12);
    EXPECT_TRUE(ConsoleLinesOf([&] { HydrostaticsOf(*Outward); }).empty());
}

TEST(MeshHydrostatics, EmptyMeshLeavesTheRecordAlone) {
    THydrostaticsData R;
    R.Volume = 7;
    R.KG = 3;
    TPolygonList Empty;
    MeshHydrostatics(Empty, R);
    EXPECT_EQ(R.Volume, 7);
    EXPECT_EQ(R.KG, 3);
}

TEST(MeshHydrostatics, WigleyHullMatchesItsClosedForm) {
    const double L = 100, B = 10, T = 6.25;
    const auto Mesh = WigleyHull(L, B, T, 500, 200);
    ASSERT_EQ(Mesh->Count(), 400000);
    THydrostaticsData R;
    ResetHydrostatics(R);
    R.KG = 2;
    MeshHydrostatics(*Mesh, R);
    auto ExpectWithin = [](double Got, double Want, double Fraction, const char* What) {
        EXPECT_NEAR(Got, Want, std::fabs(Want) * Fraction) << What;
    };
    ExpectWithin(R.Volume, 4 * L * B * T / 9, 0.001, "volume");
    ExpectWithin(R.VCB, 5 * T / 8, 0.001, "KB");
    ExpectWithin(R.BMT, 3 * B * B / (35 * T), 0.001, "BMT");
    ExpectWithin(R.CP, 2.0 / 3, 0.001, "CP");
    ExpectWithin(R.CWP, 2.0 / 3, 0.001, "CWP");
    EXPECT_NEAR(R.LCB, L / 2, 1e-3);
    EXPECT_NEAR(R.TCB, 0, 1e-9);
    EXPECT_NEAR(R.GMT, R.VCB + R.BMT - 2, 1e-12);
}

TEST(Hydrostatics, WaterplaneAtDraughtIsLevel) {
    EXPECT_EQ(WaterplaneAtDraught(2.5), (TMPlane{{0, 0, 1}, 2.5}));
}
