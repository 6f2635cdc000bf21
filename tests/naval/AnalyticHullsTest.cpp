// The hydrostatics of hulls whose figures are known analytically, on every road a hull takes: its
// facets as a whole mesh and as either half (what the hydrostatic table and the quick hydrostatics
// window show), the mesh calculation on the facets below the waterplane, its sections in any order,
// and exact B-spline surfaces from the coarsest net up. The analytic values (L 60, B 10, T 4) were
// computed by numerical integration of the shapes to 1e-9.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "AnalyticHulls.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "foundation/Errors.h"
#include "naval/HullHydrostatics.h"
#include "naval/HullSelection.h"
#include "naval/VkHydro.h"

namespace sarnova::test {
namespace {

constexpr double L = 60, B = 10, T = 4;

struct TTruth {
    double Draught, Volume, LCB, VCB, WPA, LCF, BMT, BML, Wetted, CB, CP, CWP;
};

struct TField {
    const char* Name;
    double THydrostaticsData::*Got;
    double TTruth::*Want;
    // Positions along the length are compared with the length, not with themselves.
    bool Position;
};

const TField Fields[] = {
    {"volume", &THydrostaticsData::Volume, &TTruth::Volume, false},
    {"LCB", &THydrostaticsData::LCB, &TTruth::LCB, true},
    {"KB", &THydrostaticsData::VCB, &TTruth::VCB, false},
    {"WPA", &THydrostaticsData::WaterPlanArea, &TTruth::WPA, false},
    {"LCF", &THydrostaticsData::LCF, &TTruth::LCF, true},
    {"BMt", &THydrostaticsData::BMT, &TTruth::BMT, false},
    {"BMl", &THydrostaticsData::BML, &TTruth::BML, false},
    {"wetted area", &THydrostaticsData::WettedArea, &TTruth::Wetted, false},
    {"CB", &THydrostaticsData::CB, &TTruth::CB, false},
    {"CP", &THydrostaticsData::CP, &TTruth::CP, false},
    {"CWP", &THydrostaticsData::CWP, &TTruth::CWP, false},
};

struct THullCase {
    const char* Name;
    THullShape Shape;
    std::vector<TTruth> Truth;
};

const THullCase Hulls[] = {
    {"Wigley",
     THullShape::Wigley,
     {{1, 91.66666667, 0, 0.6590909091, 175, 0, 2.088068182, 343.6363636, 219.0023032, 0.3492063492, 0.6666666667, 0.6666666667},
      {2.5, 494.7916667, 0, 1.611842105, 343.75, 0, 2.931890273, 125.0526316, 475.3941047, 0.3838383838, 0.6666666667, 0.6666666667},
      {4, 1066.666667, 0, 2.5, 400, 0, 2.142857143, 67.5, 671.2296202, 0.4444444444, 0.6666666667, 0.6666666667}}},
    {"asymmetric",
     THullShape::Asym,
     {{1, 89.25781862, 4.827593348, 0.6581594139, 169.4621639, 4.632266762, 2.283125976, 309.7602013, 216.9554446, 0.3160548159, 0.596573123, 0.6000520048},
      {2.5, 475.1354459, 4.266654416, 1.606747266, 326.4403518, 3.726614539, 2.942199538, 114.5936896, 466.8653618, 0.3586879489, 0.6068578734, 0.6160886397},
      {4, 1016.291163, 3.753686209, 2.491369348, 378.6781857, 3, 2.067268032, 63.71596263, 661.2344421, 0.4234546844, 0.6168091082, 0.631130359}}},
    {"box barge",
     THullShape::Box,
     {{1, 600, 0, 0.5, 600, 0, 8.333333333, 300, 740, 1, 1, 1},
      {2.5, 1500, 0, 1.25, 600, 0, 3.333333333, 120, 950, 1, 1, 1},
      {4, 2400, 0, 2, 600, 0, 2.083333333, 75, 1160, 1, 1, 1}}},
    {"cylinder",
     THullShape::Cylinder,
     {{2, 670.942827, 0, 1.184473703, 480, 0, 3.815526297, 214.6233542, 578.7418917, 0.6988987781, 1, 1},
      {5, 2356.19449, 0, 2.877934092, 600, 0, 2.122065908, 76.39437268, 1021.017612, 0.7853981634, 1, 1},
      {8, 4041.446153, 0, 4.366563378, 480, 0, 0.6334366222, 35.63081, 1463.293333, 0.8419948929, 1, 0.8}}},
    {"spheroid",
     THullShape::Spheroid,
     {{1, 87.9645943, 0, 0.6607142857, 169.6460033, 0, 4.339285714, 156.2142857, 179.5119342, 0.4072434921, 0.5977845584, 0.7853981634},
      {5, 1570.796327, 0, 3.125, 471.238898, 0, 1.875, 67.5, 749.2328827, 0.5235987756, 0.6666666667, 0.7853981634},
      {8, 2814.867018, 0, 4.571428571, 301.5928947, 0, 0.4285714286, 15.42857143, 1156.555916, 0.5864306287, 0.6964999435, 0.5026548246}}},
};

// Every figure of R within Fraction of the analytic one (positions within Fraction of the length).
void ExpectAnalytic(const THydrostaticsData& R, const TTruth& Want, double Fraction, const std::string& What) {
    for (const TField& F : Fields) {
        const double Scale = F.Position ? L : std::fabs(Want.*F.Want);
        EXPECT_NEAR(R.*F.Got, Want.*F.Want, Fraction * Scale) << What << ", " << F.Name << " at draught " << Want.Draught;
    }
}

std::unique_ptr<TPolygonList> MeshOf(const TAnalyticHull& H, THullSide Side) {
    // Fine enough that the polyhedron is within a few hundredths of a percent of the shape.
    switch (H.Shape) {
        case THullShape::Cylinder:
            return AnalyticHullMesh(H, Side, 4, 320);
        case THullShape::Spheroid:
            return AnalyticHullMesh(H, Side, 192, 320);
        default:
            return AnalyticHullMesh(H, Side, 96, 72);
    }
}

TEST(AnalyticHulls, FacetsOfWholeAndHalfMeshesOnEitherSide) {
    const std::pair<THullSide, const char*> Sides[] = {
        {THullSide::Whole, "whole mesh"}, {THullSide::Starboard, "starboard half"}, {THullSide::Port, "port half"}};
    for (const THullCase& C : Hulls) {
        const TAnalyticHull H{C.Shape, L, B, T};
        for (auto [Side, SideName] : Sides) {
            const auto Mesh = MeshOf(H, Side);
            const THullHydrostatics Hull(Mesh.get(), "Hull");
            ASSERT_TRUE(Hull.FromFacets());
            for (const TTruth& Want : C.Truth) {
                THydrostaticsData R;
                Hull.AtDraught(Want.Draught, R);
                ExpectAnalytic(R, Want, 0.001, std::string(C.Name) + ", " + SideName + ", facets");
                EXPECT_EQ(R.Draught, Want.Draught);
                // The mesh calculation on the facets below the waterplane gives the same.
                THydrostaticsData M;
                ResetHydrostatics(M);
                MeshHydrostatics(*ClipPolygonsByPlane(*Mesh, 0, WaterplaneAtDraught(Want.Draught)), M);
                ExpectAnalytic(M, Want, 0.001, std::string(C.Name) + ", " + SideName + ", mesh calculation");
            }
        }
    }
}

TEST(AnalyticHulls, SectionListsInAnyOrder) {
    std::mt19937 Random(75);
    for (const THullCase& C : Hulls) {
        const TAnalyticHull H{C.Shape, L, B, T};
        auto Sections = AnalyticHullSections(H, 41, H.Revolved() ? 200 : 64);
        // Shuffled: the stations are taken in order of x whatever the list's order.
        TPolylineList Shuffled;
        while (Sections->Count() > 0) {
            const int J = std::uniform_int_distribution<int>(0, Sections->Count() - 1)(Random);
            Shuffled.Add(Sections->Remove(Sections->Items(J)));
        }
        Sections->TakeFrom(Shuffled);
        // The same half sections on the port side.
        const auto Port = Sections->Transformed(MirrorXZMatrix);
        const TPolylineList* Lists[] = {Sections.get(), Port.get()};
        for (const TPolylineList* List : Lists) {
            const THullHydrostatics Hull(List, "Hull");
            EXPECT_FALSE(Hull.FromFacets());
            for (const TTruth& Want : C.Truth) {
                THydrostaticsData R;
                Hull.AtDraught(Want.Draught, R);
                ExpectAnalytic(R, Want, 0.001, std::string(C.Name) + (List == Port.get() ? ", port" : "") + ", sections");
            }
        }
    }
}

// A fine end that leaves the water between two stations: V sections (45 degree deadrise) on a keel
// rising straight from a transom, so breadth, girth and area go as the distance d to where the keel
// meets the water, and d squared. The end's fit must take them exactly, moments included.
TEST(AnalyticHulls, FineEndBetweenStationsIsExact) {
    TPolylineList Sections;
    for (int I = 0; I <= 20; ++I) {
        const double X = I, Keel = X / 4, Deck = 8;
        auto S = std::make_unique<TPolyline>();
        S->AddPoint(X, 0, Keel);
        S->AddPoint(X, Deck - Keel, Deck);
        S->AddPoint(X, 0, Deck);
        Sections.Add(std::move(S));
    }
    const THullHydrostatics Hull(&Sections, "Hull");
    // The keel meets the water at x = 4 T, between stations 13 and 14.
    constexpr double Draught = 3.3;
    THydrostaticsData R;
    Hull.AtDraught(Draught, R);
    const double T = Draught;
    EXPECT_NEAR(R.Volume, 4 * T * T * T / 3, 1e-9);
    EXPECT_NEAR(R.LCB, T, 1e-9);
    EXPECT_NEAR(R.WaterPlanArea, 4 * T * T, 1e-9);
    EXPECT_NEAR(R.LCF, 4 * T / 3, 1e-9);
    EXPECT_NEAR(R.BML, 8 * T / 3, 1e-9);
    EXPECT_NEAR(R.LWL, 4 * T, 1e-9);
    // The sides are planes: girths times the slope, plus the transom.
    EXPECT_NEAR(R.WettedArea, 4 * std::sqrt(2.0) * T * T * std::sqrt(1 + 1.0 / 32) + T * T, 1e-6);
}

TEST(AnalyticHulls, WigleyBSplineSurfacesFromTheCoarsestNetUp) {
    RegisterGeometryClasses();
    const std::pair<const char*, double> Nets[] = {
        {"wigley-bspline-3x4.geo", 0.005}, {"wigley-bspline-4x6.geo", 0.001}, {"wigley-bspline-6x10.geo", 0.001}};
    for (auto [File, Fraction] : Nets) {
        TGeometryInterface Doc;
        Doc.LoadFromFile(std::filesystem::path(SARNOVA_SOURCE_DIR) / "tests" / "naval" / "data" / File);
        TGeometry* Entity = Doc.FindByName("Hull");
        ASSERT_NE(Entity, nullptr) << File;
        const auto Hull = HullHydrostaticsOfEntity(*Entity);
        ASSERT_NE(Hull, nullptr) << File;
        EXPECT_TRUE(Hull->FromFacets());
        for (const TTruth& Want : Hulls[0].Truth) {
            THydrostaticsData R;
            Hull->AtDraught(Want.Draught, R);
            ExpectAnalytic(R, Want, Fraction, File);
        }
    }
}

// Two demihulls side by side in one entity are one hull of twice the demihull's displacement, on
// both roads.
TEST(AnalyticHulls, CatamaranIsTwiceItsDemihull) {
    const TAnalyticHull H{THullShape::Wigley, L, B, T};
    constexpr double Gap = 16;
    const auto Demi = AnalyticHullMesh(H, THullSide::Whole, 64, 48);
    TPolygonList Twin;
    for (double Y : {Gap / 2, -Gap / 2}) {
        auto Moved = Demi->Transformed(MatrixTranslation(0, Y, 0));
        Twin.TakeFrom(*Moved);
    }
    auto DemiSections = AnalyticHullSections(H, 41, 64);
    auto DemiWhole = CalculationSectionsOf(static_cast<const TPolylineList*>(DemiSections.get()));
    TPolylineList TwinSections;
    for (double Y : {Gap / 2, -Gap / 2})
        for (int I = 0; I < DemiWhole->Count(); ++I) TwinSections.Add(DemiWhole->Items(I)->Transformed(MatrixTranslation(0, Y, 0)));
    // The calculation sections cut from the catamaran's mesh hold both hulls at every station.
    const auto DemiCut = CalculationSectionsOf(static_cast<const TPolygonList*>(Demi.get()));
    const auto TwinCut = CalculationSectionsOf(static_cast<const TPolygonList*>(&Twin));
    ASSERT_EQ(TwinCut->Count() % 2, 0);
    const THullHydrostatics DemiCutHull(DemiCut.get(), "Demihull"), TwinCutHull(TwinCut.get(), "Catamaran");
    const THullHydrostatics DemiFacets(Demi.get(), "Demihull"), TwinFacets(&Twin, "Catamaran");
    const THullHydrostatics DemiList(DemiWhole.get(), "Demihull"), TwinList(&TwinSections, "Catamaran");
    const std::pair<const THullHydrostatics*, const THullHydrostatics*> Roads[] = {
        {&DemiFacets, &TwinFacets}, {&DemiList, &TwinList}, {&DemiCutHull, &TwinCutHull}};
    for (auto [One, Two] : Roads)
        for (double D : {1.0, 2.5, 4.0}) {
            SCOPED_TRACE(One->MethodText() + " at draught " + std::to_string(D));
            THydrostaticsData R1, R2;
            One->AtDraught(D, R1);
            Two->AtDraught(D, R2);
            for (auto Field : {&THydrostaticsData::Volume, &THydrostaticsData::WaterPlanArea,
                               &THydrostaticsData::WettedArea, &THydrostaticsData::Displacement})
                EXPECT_NEAR(R2.*Field, 2 * (R1.*Field), 0.001 * (R1.*Field) * 2);
            EXPECT_NEAR(R2.VCB, R1.VCB, 0.001 * R1.VCB);
            EXPECT_NEAR(R2.LCB, R1.LCB, 0.001 * L);
            EXPECT_NEAR(R2.TCB, 0, 1e-6);
            // The demihulls' waterplanes stand Gap / 2 off the centre plane.
            const double IT = 2 * (R1.BMT * R1.Volume + R1.WaterPlanArea * Gap * Gap / 4);
            EXPECT_NEAR(R2.BMT, IT / R2.Volume, 0.001 * IT / R2.Volume);
        }
}

// A mesh with holes under water is refused with the hull's name and the count of its open edges;
// above the holes it still floats.
TEST(AnalyticHulls, AMeshWithHolesIsRefusedBelowThem) {
    const TAnalyticHull H{THullShape::Wigley, L, B, T};
    auto Mesh = AnalyticHullMesh(H, THullSide::Whole, 32, 24);
    // Two facets of the bottom gone.
    int Dropped = 0;
    for (int I = Mesh->Count() - 1; I >= 0 && Dropped < 2; --I)
        if (PolygonCornerOrOrigin(*Mesh->Polygon(I), 0).Z < 0.3 && I % 50 == 0) {
            Mesh->Delete(I);
            ++Dropped;
        }
    ASSERT_EQ(Dropped, 2);
    const THullHydrostatics Hull(Mesh.get(), "Hull1");
    THydrostaticsData R;
    try {
        Hull.AtDraught(2, R);
        FAIL() << "a mesh with holes gave figures";
    } catch (const EError& E) {
        EXPECT_EQ(std::string(E.what()), "Hull1: the hull is not closed: 6 open edges below the waterline");
    }
    EXPECT_EQ(Hull.OpenEdgesBelow(7), 6);
    EXPECT_EQ(Hull.OpenEdgesBelow(0), 0);
}

}  // namespace
}  // namespace sarnova::test
