// The hydrostatics of a facet body at many draughts from its facets sorted by height, against the
// whole mesh clipped at each waterplane and integrated in one pass: the same figures to 1e-9.
#include "naval/MeshDraughts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Polygon.h"
#include "naval/HullMeshes.h"
#include "naval/VkHydro.h"

namespace sarnova::test {
namespace {

// A body of revolution about the x axis whose radius swells twice along its length (a bulb and a
// body), so that sections come in several wet arcs near the top, with its axis at Z.
std::unique_ptr<TPolygonList> BulbousBody(int Around, int Along, double Z) {
    auto M = std::make_unique<TPolygonList>();
    auto P = [&](int I, int J) {
        const double X = -10 + 20.0 * J / Along, Theta = 2 * std::numbers::pi * I / Around;
        const double R = std::sqrt(std::max(0.0, 1 - X * X / 100)) * (2 + std::sin(X));
        return TMVector{X, R * std::cos(Theta), Z + R * std::sin(Theta)};
    };
    for (int J = 0; J < Along; ++J)
        for (int I = 0; I < Around; ++I) {
            M->Add(TriangleFromVectors(P(I, J), P(I, J + 1), P(I + 1, J + 1)));
            M->Add(TriangleFromVectors(P(I, J), P(I + 1, J + 1), P(I + 1, J)));
        }
    return M;
}

void ExpectSameFigures(const TPolygonList& Body, double Draught, const std::string& Name) {
    auto Triangles = Body.Clone();
    Triangles->Triangulate();
    const TMeshDraughts Draughts(*Triangles);
    THydrostaticsData Got, Want;
    ResetHydrostatics(Got);
    ResetHydrostatics(Want);
    const bool Wet = Draughts.AtDraught(Draught, Got);
    const auto Clipped = ClipPolygonsByPlane(Body, 0, WaterplaneAtDraught(Draught));
    ASSERT_EQ(Wet, Clipped && Clipped->Count() > 0) << Name << " at " << Draught;
    if (!Wet) return;
    MeshHydrostatics(*Clipped, Want);
    const std::pair<const char*, double THydrostaticsData::*> Fields[] = {
        {"LWL", &THydrostaticsData::LWL}, {"BWL", &THydrostaticsData::BWL},
        {"Draught", &THydrostaticsData::Draught}, {"Volume", &THydrostaticsData::Volume},
        {"LCB", &THydrostaticsData::LCB}, {"TCB", &THydrostaticsData::TCB}, {"VCB", &THydrostaticsData::VCB},
        {"CB", &THydrostaticsData::CB}, {"CM", &THydrostaticsData::CM}, {"CP", &THydrostaticsData::CP},
        {"CWP", &THydrostaticsData::CWP}, {"WettedArea", &THydrostaticsData::WettedArea},
        {"MaxSectionArea", &THydrostaticsData::MaxSectionArea}, {"WaterPlanArea", &THydrostaticsData::WaterPlanArea},
        {"BMT", &THydrostaticsData::BMT}, {"BML", &THydrostaticsData::BML}, {"LCF", &THydrostaticsData::LCF},
        {"LCFPercent", &THydrostaticsData::LCFPercent}, {"MCT", &THydrostaticsData::MCT}};
    // A body lying flat in the waterplane has no volume and no depth: only its areas are figures.
    // A body wholly under water has no waterplane: its centre of flotation is rounding noise.
    const bool Flat = std::fabs(Want.Volume) < 1e-9;
    const bool Submerged = std::fabs(Want.WaterPlanArea) < 1e-9;
    for (const auto& [Field, Member] : Fields) {
        const double G = Got.*Member, W = Want.*Member;
        if (!std::isfinite(W) && (Flat || G == W || (std::isnan(G) && std::isnan(W)))) continue;
        if (Submerged && std::string(Field).starts_with("LCF")) continue;
        if (Flat && std::string(Field).find("Area") == std::string::npos && std::string(Field) != "Volume") continue;
        EXPECT_NEAR(G, W, 1e-9 * std::max(1.0, std::fabs(W))) << Name << " " << Field << " at draught " << Draught;
    }
}

TEST(MeshDraughts, EveryDraughtGivesTheFiguresOfTheClippedMesh) {
    constexpr double L = 100, B = 10, T = 6.25;
    const auto Wigley = WigleyHull(L, B, T, 60, 24);
    // Quadrilaterals, a lid, and draughts at the very heights of the bottom, the lid and no facet.
    const auto Box = BoxMesh(0, 20, -4, 4, 0, 5, true);
    const auto HalfBox = BoxMesh(0, 20, 0, 4, 0, 5, true, true);
    const auto Bulb = BulbousBody(48, 40, 0);
    const struct {
        std::string Name;
        const TPolygonList* Body;
        std::vector<double> Draughts;
    } Cases[] = {
        {"Wigley", Wigley.get(), {0.01, T / 24, 1.0, 3.3, T / 2, 6.2, T}},
        {"box", Box.get(), {-1, 0, 1e-12, 2.5, 5 - 1e-12, 5, 6}},
        {"half box", HalfBox.get(), {0.5, 4.999}},
        {"bulbous body", Bulb.get(), {-2.5, -1, 0, 0.7, 1.9, 2.9, 3.5}},
    };
    for (const auto& C : Cases)
        for (double D : C.Draughts) ExpectSameFigures(*C.Body, D, C.Name);
}

// One body asked at draught after draught, up and down and again, keeps the sections it cut for the
// next draughts: every record is the very one a body asked only once gives.
TEST(MeshDraughts, DraughtAfterDraughtGivesWhatAFirstDraughtGives) {
    const auto Wigley = WigleyHull(100, 10, 6.25, 60, 24);
    // Its length changes with the draught, and so do its stations.
    const auto Bulb = BulbousBody(48, 40, 0);
    for (const TPolygonList* Body : {Wigley.get(), Bulb.get()}) {
        auto Triangles = Body->Clone();
        Triangles->Triangulate();
        const TMeshDraughts Asked(*Triangles);
        for (double D : {1.0, 3.3, 2.0, 6.0, 3.3, 0.5, 1.0, 5.2}) {
            const TMeshDraughts Fresh(*Triangles);
            THydrostaticsData Got, Want;
            ResetHydrostatics(Got);
            ResetHydrostatics(Want);
            ASSERT_EQ(Asked.AtDraught(D, Got), Fresh.AtDraught(D, Want)) << D;
            EXPECT_EQ(Got.MaxSectionArea, Want.MaxSectionArea) << D;
            EXPECT_EQ(Got.Volume, Want.Volume) << D;
            EXPECT_EQ(Got.CM, Want.CM) << D;
            EXPECT_EQ(Got.CP, Want.CP) << D;
        }
    }
}

}  // namespace
}  // namespace sarnova::test
