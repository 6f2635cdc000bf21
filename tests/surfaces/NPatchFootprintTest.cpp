#include "surfaces/NPatchFootprint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/VkMathsExpect.h"
#include "platform/RecordingGraphics.h"
#include "surfaces/PatchFixtures.h"

namespace sarnova {
namespace {

std::unique_ptr<TFootprintNPatch> Footprint(const std::vector<std::unique_ptr<TBSpline>>& Curves, std::uint8_t Type = 0) {
    auto Patch = std::make_unique<TFootprintNPatch>();
    Patch->FootprintType = Type;
    Patch->SetBoundaryCurves(SplineList(Curves));
    return Patch;
}

TFootprintNPatchEdge& EdgeAt(const TFootprintNPatch& Patch, int k) { return *Patch.Loop()[static_cast<std::size_t>(k)]; }

TEST(NPatchFootprintTest, RegularSquare) {
    const auto Curves = SquareLoop(0.3);
    const auto Patch = Footprint(Curves);
    ASSERT_TRUE(Patch->FootprintValid());
    ASSERT_EQ(Patch->Loop().size(), 4u);
    const TMVector Corners[4] = {{0, 1, 0}, {1, 0, 0}, {0, -1, 0}, {-1, 0, 0}};
    for (int k = 0; k < 4; ++k) {
        ExpectNear(EdgeAt(*Patch, k).DomainCorner, Corners[k]);
        EXPECT_TRUE(EdgeAt(*Patch, k).ParallelNeighbours);
    }
    ExpectNear(Patch->DomainCentre, ZeroVector);
    // Edge 0's sector is the quarter square between two side midpoints, its corner and the centre.
    const TFootprintNPatchEdge& E = EdgeAt(*Patch, 0);
    ExpectNear(E.SidePoint, {-0.5, 0.5, 0});
    ExpectNear(E.Focus, E.SidePoint);
    ExpectNear(E.SectorPoint(0, 0), {-0.5, 0.5, 0});
    ExpectNear(E.SectorPoint(1, 0), {0, 1, 0});
    ExpectNear(E.SectorPoint(1, 1), {0.5, 0.5, 0});
    ExpectNear(E.SectorPoint(0, 1), {0, 0, 0});
    ExpectNear(E.SectorPoint(0.5, 0.5), {0, 0.5, 0});
}

TEST(NPatchFootprintTest, SideCoordinates) {
    const auto Square = Footprint(SquareLoop(0));
    TFootprintNPatchEdge& S = EdgeAt(*Square, 1);  // from (0, 1, 0) to (1, 0, 0)
    const struct {
        TMVector Q;
        double Distance, Position;
    } Cases[] = {
        {{0, 1, 0}, 0, 0},
        {{1, 0, 0}, 0, 1},
        {{0.25, 0.75, 0}, 0, 0.25},
        {{0, 0, 0}, std::sqrt(0.5), 0.5},
        {{2, -1, 0}, 0, 1},  // beyond the side's end, held to 1
        {{-1, 2, 0}, 0, 0},
    };
    for (const auto& C : Cases) {
        S.SetDomainPoint(C.Q);
        EXPECT_NEAR(S.SideDistance, C.Distance, 1e-12);
        EXPECT_NEAR(S.SidePosition, C.Position, 1e-12);
    }

    // A triangle's sides converge: each focus is the opposite corner, and the position is where the
    // line from the focus through the point meets the side.
    const auto Triangle = Footprint(TriangleLoop(0));
    ASSERT_TRUE(Triangle->FootprintValid());
    for (int k = 0; k < 3; ++k) {
        const TFootprintNPatchEdge& E = EdgeAt(*Triangle, k);
        EXPECT_FALSE(E.ParallelNeighbours);
        ExpectNear(E.Focus, EdgeAt(*Triangle, (k + 1) % 3).DomainCorner);
    }
    TFootprintNPatchEdge& T = EdgeAt(*Triangle, 0);
    const TMVector C0 = EdgeAt(*Triangle, 2).DomainCorner, C1 = T.DomainCorner;
    for (const double s : {0.0, 0.3, 1.0}) {
        T.SetDomainPoint(VectorLerp(C0, C1, s));
        EXPECT_NEAR(T.SideDistance, 0, 1e-12);
        EXPECT_NEAR(T.SidePosition, s, 1e-12);
    }
    // Halfway from the focus to the side's point at 0.3: still 0.3.
    T.SetDomainPoint(VectorMidpoint(T.Focus, VectorLerp(C0, C1, 0.3)));
    EXPECT_NEAR(T.SidePosition, 0.3, 1e-12);
    // The distance is measured along that line.
    EXPECT_NEAR(T.SideDistance, VectorDistance(T.Focus, VectorLerp(C0, C1, 0.3)) / 2, 1e-12);
    // On the focus itself every line through it would do: its foot, the side's middle, at the
    // triangle's height.
    T.SetDomainPoint(T.Focus);
    EXPECT_NEAR(T.SidePosition, 0.5, 1e-12);
    EXPECT_NEAR(T.SideDistance, 1.5, 1e-12);
    // Sectors of converging sides: the side point, the corner, the next side point, the centre.
    ExpectNear(T.SectorPoint(1, 0), C1, 1e-12);
    ExpectNear(T.SectorPoint(0, 1), Triangle->DomainCentre, 1e-12);
    ExpectNear(T.SectorPoint(0, 0), T.SidePoint, 1e-12);
    ExpectNear(T.SectorPoint(1, 1), EdgeAt(*Triangle, 1).SidePoint, 1e-12);
}

TEST(NPatchFootprintTest, ChordLengthAndProjectedFootprints) {
    // Chords 1, 1 and 2: the corners at angles 0, pi / 2 and pi.
    std::vector<std::unique_ptr<TBSpline>> Curves;
    Curves.push_back(MakeCurve({{0, 0, 0}, {1, 0, 0}}, 2));
    Curves.push_back(MakeCurve({{1, 0, 0}, {2, 0, 0}}, 2));
    Curves.push_back(MakeCurve({{2, 0, 0}, {1, 2, 0}, {0, 0, 0}}, 3));
    const auto Chord = Footprint(Curves, 1);
    ASSERT_TRUE(Chord->FootprintValid());
    ExpectNear(EdgeAt(*Chord, 0).DomainCorner, {0, 1, 0});
    ExpectNear(EdgeAt(*Chord, 1).DomainCorner, {1, 0, 0});
    ExpectNear(EdgeAt(*Chord, 2).DomainCorner, {0, -1, 0});
    // Projected: a skew quadrilateral goes onto its best-fit plane z = 0.5.
    const auto Skew = LoopCurves({{0, 0, 0}, {4, 0, 1}, {4, 4, 0}, {0, 4, 1}}, 0.2);
    const auto Projected = Footprint(Skew, 2);
    ASSERT_TRUE(Projected->FootprintValid());
    ExpectNear(EdgeAt(*Projected, 0).DomainCorner, {4, 0, 0.5}, 1e-9);
    ExpectNear(EdgeAt(*Projected, 3).DomainCorner, {0, 0, 0.5}, 1e-9);
    ExpectNear(Projected->DomainCentre, {2, 2, 0.5}, 1e-9);
}

TEST(NPatchFootprintTest, SectorSampling) {
    const auto Curves = SquareLoop(0.3);
    auto Patch = Footprint(Curves);
    Patch->SectorGridDensity = 3;
    EXPECT_EQ(Patch->CreatePolygons()->Count(), 4 * 2 * 3 * 3);
    TPolylineList Lines;
    Lines.Add(std::make_unique<TPolyline>());
    Patch->AddParameterLines(Lines);
    ASSERT_EQ(Lines.Count(), 4 * 2 * 4);
    EXPECT_EQ(Lines.Items(0)->Count(), 4);
    TRecordingGraphics G;
    Patch->Draw(G);
    int Strips = 0;
    for (const auto& C : G.Calls) Strips += C.Name == "LineStartVector";
    EXPECT_EQ(Strips, 32);
    // The base has no surface: every sample is zero.
    EXPECT_EQ(Lines.Items(5)->Point(2)->Vector(), ZeroVector);
}

TEST(NPatchFootprintTest, LoopsWithoutAUsableFootprint) {
    // Two curves: a lens, whose footprint would have no area.
    std::vector<std::unique_ptr<TBSpline>> Lens;
    Lens.push_back(MakeCurve({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}}, 3));
    Lens.push_back(MakeCurve({{0, 0, 0}, {1, -1, 0}, {2, 0, 0}}, 3));
    // Three curves with their corners on one line, projected.
    std::vector<std::unique_ptr<TBSpline>> Flat;
    Flat.push_back(MakeCurve({{0, 0, 0}, {1, 0, 0}}, 2));
    Flat.push_back(MakeCurve({{1, 0, 0}, {2, 0, 0}}, 2));
    Flat.push_back(MakeCurve({{2, 0, 0}, {1, 2, 0}, {0, 0, 0}}, 3));
    const auto Square = SquareLoop(0);
    const std::pair<const std::vector<std::unique_ptr<TBSpline>>*, std::uint8_t> Cases[] = {
        {&Lens, 0}, {&Flat, 2}, {&Square, 7}};
    for (const auto& [Curves, Type] : Cases) {
        auto Patch = Footprint(*Curves, Type);
        EXPECT_FALSE(Patch->FootprintValid()) << int(Type);
        EXPECT_EQ(Patch->CreatePolygons()->Count(), 0);
        TPolylineList Lines;
        Patch->AddParameterLines(Lines);
        EXPECT_EQ(Lines.Count(), 0);
    }
    // An open loop.
    TFootprintNPatch Open;
    Open.AddBoundaryCurve(Square[0].get(), nullptr);
    Open.AddBoundaryCurve(Square[1].get(), nullptr);
    Open.Update();
    EXPECT_FALSE(Open.FootprintValid());
}

}  // namespace
}  // namespace sarnova
