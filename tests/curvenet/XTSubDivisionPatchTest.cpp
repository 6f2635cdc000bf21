#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "curvenet/XTPatchFixtures.h"
#include "curvenet/XTSubDivisionPatch.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "platform/RecordingGraphics.h"

using namespace sarnova;
using test::RegularPolygon;
using test::TXTPatchFace;

namespace {

TXTSubdivisionVertex* SubVertex(TVertex* V) { return static_cast<TXTSubdivisionVertex*>(V); }
TXTSubdivisionEdge* SubEdge(TEdge* E) { return static_cast<TXTSubdivisionEdge*>(E); }
TXTSubDivisionFin* SubFin(TFin* F) { return static_cast<TXTSubDivisionFin*>(F); }

// Sides bulging outwards in the plane by a fifth of their length.
std::vector<TMVector> Bulging(const TMVector& A, const TMVector& B) {
    const TMVector Out = VectorScale(VectorCross(VectorFromTo(A, B), {0, 0, 1}), 0.2);
    return {A, VectorAdd(VectorLerp(A, B, 1.0 / 3), Out), VectorAdd(VectorLerp(A, B, 2.0 / 3), Out), B};
}

int CountFacesWithFins(const TManifold& M, int Fins) {
    int N = 0;
    for (int I = 0; I < M.Faces().Count(); ++I) N += M.Faces().Face(I)->FinCount() == Fins;
    return N;
}

}  // namespace

TEST(SubdivisionPatch, TheUnrefinedFaceGivesAPolygonForThreeOrFourSidesOnly) {
    for (int N = 3; N <= 6; ++N) {
        TXTPatchFace Face(RegularPolygon(N));
        TXTSubDivisionPatch Patch(Face.Face);
        Patch.Levels = 0;
        Patch.Generate();
        const TManifold& M = *Patch.GetManifold();
        EXPECT_EQ(M.Faces().Count(), 1) << N;
        EXPECT_EQ(M.Faces().Face(0)->FinCount(), N) << N;
        EXPECT_EQ(M.Edges().Count(), N) << N;
        EXPECT_EQ(sarnova::testing::CheckLinks(M), "") << N;
        const auto Polygons = Patch.CreatePolygons();
        ASSERT_EQ(Polygons->Count(), N == 3 || N == 4 ? 1 : 0) << N;
        if (Polygons->Count() == 1) {
            // The corners in loop order from the face's first fin.
            auto It = Face.Face->FinIterator();
            for (int C = 0; It->MoveNext(); ++C)
                EXPECT_LT(VectorDistance(Polygons->First()->Corner(C)->Vector(), It->Current()->Position()), 1e-12) << N;
        }
    }
}

TEST(SubdivisionPatch, EachStepTurnsEveryFaceIntoOneQuadrilateralPerCorner) {
    // One step: an n-sided face becomes n quadrilaterals round one centre vertex of valence n.
    for (int N = 3; N <= 7; ++N) {
        TXTPatchFace Face(RegularPolygon(N), Bulging);
        TXTSubDivisionPatch Patch(Face.Face);
        Patch.Levels = 1;
        Patch.Generate();
        const TManifold& M = *Patch.GetManifold();
        EXPECT_EQ(sarnova::testing::CheckLinks(M), "") << N;
        EXPECT_EQ(M.Faces().Count(), N) << N;
        EXPECT_EQ(CountFacesWithFins(M, 4), N) << N;
        ASSERT_EQ(M.Vertices().Count(), 2 * N + 1) << N;
        int Centres = 0;
        for (int I = 0; I < M.Vertices().Count(); ++I) {
            auto* V = SubVertex(M.Vertices().Vertex(I));
            if (V->BoundaryKind == 0) {
                ++Centres;
                EXPECT_EQ(V->EdgeCount(), N) << N;
            }
        }
        EXPECT_EQ(Centres, 1) << N;
        EXPECT_EQ(Patch.CreatePolygons()->Count(), N) << N;
    }
    // Levels L on a four-sided face: 4^L quadrilaterals.
    for (int L = 1; L <= 4; ++L) {
        TXTPatchFace Face(RegularPolygon(4));
        TXTSubDivisionPatch Patch(Face.Face);
        Patch.Levels = L;
        Patch.Generate();
        const int Expected = 1 << (2 * L);
        EXPECT_EQ(CountFacesWithFins(*Patch.GetManifold(), 4), Expected) << L;
        EXPECT_EQ(Patch.GetManifold()->Faces().Count(), Expected) << L;
        EXPECT_EQ(Patch.CreatePolygons()->Count(), Expected) << L;
    }
}

TEST(SubdivisionPatch, CornersStayAndSideVerticesLieOnTheirCurves) {
    for (int N : {3, 5, 6}) {
        const std::vector<TMVector> Corners = RegularPolygon(N, 2.0);
        TXTPatchFace Face(Corners, Bulging);
        TXTSubDivisionPatch Patch(Face.Face);
        Patch.Levels = 3;
        Patch.Generate();
        const TManifold& M = *Patch.GetManifold();
        EXPECT_EQ(sarnova::testing::CheckLinks(M), "") << N;
        int CornerCount = 0;
        for (int I = 0; I < M.Vertices().Count(); ++I) {
            auto* V = SubVertex(M.Vertices().Vertex(I));
            // A flat face stays flat, and inside its bulging outline.
            EXPECT_NEAR(V->Position.Z, 0.0, 1e-12) << N;
            EXPECT_LT(VectorLength(V->Position), 2.0 * 1.2) << N;
            if (V->BoundaryKind == 0) continue;
            TXTSubdivisionEdge* Side = nullptr;
            for (int J = 0; J < V->EdgeCount() && Side == nullptr; ++J)
                if (SubEdge(V->Edge(J))->IsBoundary()) Side = SubEdge(V->Edge(J));
            ASSERT_NE(Side, nullptr) << N;
            TXTSubDivisionFin* At = SubFin(Side->GetFin(V));
            TMVector OnCurve, D;
            At->BoundaryDataAt(OnCurve, D);
            EXPECT_LT(VectorDistance(V->Position, OnCurve), 1e-12) << N << " at " << At->Parameter;
            if (V->BoundaryKind == 1) {
                ++CornerCount;
                bool Kept = false;
                for (const TMVector& C : Corners) Kept = Kept || VectorDistance(C, V->Position) == 0.0;
                EXPECT_TRUE(Kept) << N;
            }
        }
        EXPECT_EQ(CornerCount, N);
        // Each side was cut into 2^3 edges, every one on the side's curve.
        int BoundaryEdges = 0;
        for (int I = 0; I < M.Edges().Count(); ++I) BoundaryEdges += SubEdge(M.Edges().Edge(I))->IsBoundary();
        EXPECT_EQ(BoundaryEdges, N * 8);
    }
}

TEST(SubdivisionPatch, AFlatParallelogramRefinesToItsUniformGrid) {
    // Straight sides with in-plane ribbons describe a linear surface, which the scheme reproduces:
    // every vertex of Levels L sits on the grid of 2^L x 2^L cells of the parallelogram.
    const TMVector U{2, 0, 0}, V{0.5, 1, 0};
    const std::vector<TMVector> Corners = {{0, 0, 0}, U, VectorAdd(U, V), V};
    for (int L : {1, 2, 3}) {
        TXTPatchFace Face(Corners);
        TXTSubDivisionPatch Patch(Face.Face);
        Patch.Levels = L;
        Patch.Generate();
        const TManifold& M = *Patch.GetManifold();
        const double Cells = 1 << L;
        for (int I = 0; I < M.Vertices().Count(); ++I) {
            const TMVector P = M.Vertices().Vertex(I)->Position;
            // Coordinates along U and V.
            const double B = P.Y / V.Y;
            const double A = (P.X - B * V.X) / U.X;
            EXPECT_NEAR(A * Cells, std::round(A * Cells), 1e-9) << L << ": " << A << ", " << B;
            EXPECT_NEAR(B * Cells, std::round(B * Cells), 1e-9) << L << ": " << A << ", " << B;
            EXPECT_NEAR(P.Z, 0.0, 1e-12);
        }
        EXPECT_EQ(M.Vertices().Count(), ((1 << L) + 1) * ((1 << L) + 1)) << L;
    }
}

TEST(SubdivisionPatch, FollowsACurvedSurfaceThroughItsSidesAndRibbons) {
    // A quarter of a unit cylinder about the y axis: arcs at y = 0 and y = 1 and two straight rulings,
    // with ribbons in the cylinder's tangent planes. A wrong sign or weight in the boundary rules
    // pulls the refined vertices well off the cylinder.
    const double A0 = std::numbers::pi / 4;
    const double A1 = 3 * std::numbers::pi / 4;
    auto OnCylinder = [](double A, double Y) { return TMVector{std::cos(A), Y, std::sin(A)}; };
    const std::vector<TMVector> Corners = {OnCylinder(A1, 0), OnCylinder(A0, 0), OnCylinder(A0, 1), OnCylinder(A1, 1)};
    auto Shape = [](const TMVector& A, const TMVector& B) {
        if (std::abs(A.Y - B.Y) > 0.5)
            return std::vector<TMVector>{A, VectorLerp(A, B, 1.0 / 3), VectorLerp(A, B, 2.0 / 3), B};
        // The cubic Bezier of a circular arc.
        const double Half = std::atan2(A.X * B.Z - A.Z * B.X, A.X * B.X + A.Z * B.Z) / 2;
        const double K = 4.0 / 3 * std::tan(Half / 2);
        const TMVector TA{-A.Z, 0, A.X}, TB{-B.Z, 0, B.X};
        return std::vector<TMVector>{A, VectorAdd(A, VectorScale(TA, K)), VectorAdd(B, VectorScale(TB, -K)), B};
    };
    auto Normal = [](const TMVector& P) { return VectorNormalise({P.X, 0, P.Z}); };
    TXTPatchFace Face(Corners, Shape, Normal);
    TXTSubDivisionPatch Patch(Face.Face);
    Patch.Levels = 4;
    Patch.Generate();
    const TManifold& M = *Patch.GetManifold();
    double Worst = 0;
    for (int I = 0; I < M.Vertices().Count(); ++I) {
        const TMVector P = M.Vertices().Vertex(I)->Position;
        Worst = std::max(Worst, std::abs(std::hypot(P.X, P.Z) - 1));
        EXPECT_GE(P.Y, -1e-9);
        EXPECT_LE(P.Y, 1 + 1e-9);
    }
    // What is left is the scheme's own approximation of the arc, under 1 % of the radius.
    EXPECT_LT(Worst, 1e-2);
    // The bulge of the quarter cylinder is reached: the middle rises to the top of the cylinder.
    double Top = 0;
    for (int I = 0; I < M.Vertices().Count(); ++I) Top = std::max(Top, M.Vertices().Vertex(I)->Position.Z);
    EXPECT_NEAR(Top, 1.0, 1e-2);
    for (int I = 0; I < M.Edges().Count(); ++I) EXPECT_EQ(SubEdge(M.Edges().Edge(I))->SolveFailed, 0);
}

TEST(SubdivisionPatch, WithoutRibbonsTheCrossDerivativeRunsBetweenTheCornerTangents) {
    TXTPatchFace Face(RegularPolygon(4), Bulging);
    auto It = Face.Face->FinIterator();
    while (It->MoveNext()) static_cast<TXTFin*>(It->Current())->Ribbon().Clear();
    TXTSubDivisionPatch Patch(Face.Face);
    Patch.Levels = 0;
    Patch.Generate();
    TXTSubdivisionEdge* E = SubEdge(Patch.GetManifold()->Edges().First());
    ASSERT_EQ(E->SolveFailed, 1);
    // The side's splines now run over [0, 2]: the targets are the neighbours' derivatives there.
    auto* Side = static_cast<TXTEdge*>(E->BoundaryFin->GetEdge());
    EXPECT_DOUBLE_EQ(Side->GetSpline().MinT(), 0.0);
    EXPECT_DOUBLE_EQ(Side->GetSpline().MaxT(), 2.0);
    TMVector C, D;
    E->BoundaryDataAt(0.5, C, D);
    EXPECT_LT(VectorDistance(D, VectorLerp(E->StartTarget, E->EndTarget, 0.25)), 1e-12);
    // Refining still works.
    Patch.Levels = 2;
    Patch.Generate();
    EXPECT_EQ(Patch.GetManifold()->Faces().Count(), 16);
}

TEST(SubdivisionPatch, CornerTargetsAreTheNeighbouringSidesTangents) {
    TXTPatchFace Face(RegularPolygon(5), Bulging);
    TXTSubDivisionPatch Patch(Face.Face);
    Patch.Levels = 0;
    Patch.Generate();
    const TManifold& M = *Patch.GetManifold();
    for (int I = 0; I < M.Edges().Count(); ++I) {
        TXTSubdivisionEdge* E = SubEdge(M.Edges().Edge(I));
        ASSERT_EQ(E->SolveFailed, 0);
        // The cross derivative reproduces the targets at the ends, and points into the face there:
        // along the neighbouring side, away from the corner.
        for (int End = 0; End < 2; ++End) {
            TMVector C, D;
            E->BoundaryDataAt(2.0 * End, C, D);
            EXPECT_LT(VectorDistance(D, End == 0 ? E->StartTarget : E->EndTarget), 1e-9) << I;
            TVertex* Corner = (End == 0 ? E->Fin1() : E->Fin2())->GetVertex();
            for (int J = 0; J < Corner->EdgeCount(); ++J) {
                TXTSubdivisionEdge* Other = SubEdge(Corner->Edge(J));
                if (Other == E) continue;
                const TMVector Away = VectorFromTo(Corner->Position, Other->OtherVertex(Corner)->Position);
                EXPECT_GT(VectorDot(D, Away), 0) << I;
            }
        }
        // A boundary edge's direction is the side's derivative, reversed at the second end.
        TMVector D0, D1;
        E->Direction(0, D0);
        E->Direction(1, D1);
        EXPECT_LT(VectorDistance(D0, SubFin(E->Fin1())->GetDerivative()), 1e-12);
        EXPECT_LT(VectorDistance(D1, SubFin(E->Fin2())->GetDerivative()), 1e-12);
        EXPECT_GT(VectorDot(D0, VectorFromTo(E->Fin1()->Position(), E->Fin2()->Position())), 0);
    }
}

TEST(SubdivisionPatch, ReportsFinsAndVerticesOffTheBoundary) {
    TXTPatchFace Face(RegularPolygon(4));
    TXTSubDivisionPatch Patch(Face.Face);
    Patch.Levels = 1;
    Patch.Generate();
    const TManifold& M = *Patch.GetManifold();
    TXTSubdivisionEdge* Interior = nullptr;
    TXTSubdivisionEdge* Boundary = nullptr;
    for (int I = 0; I < M.Edges().Count(); ++I) {
        TXTSubdivisionEdge* E = SubEdge(M.Edges().Edge(I));
        (E->IsBoundary() ? Boundary : Interior) = E;
    }
    ASSERT_NE(Interior, nullptr);
    ASSERT_NE(Boundary, nullptr);
    TVertex* Elsewhere = Interior->Fin1()->GetVertex() != Boundary->Fin1()->GetVertex() &&
                                 Interior->Fin1()->GetVertex() != Boundary->Fin2()->GetVertex()
                             ? Interior->Fin1()->GetVertex()
                             : Interior->Fin2()->GetVertex();
    TMVector C, D;
    const std::pair<std::function<void()>, std::string> Cases[] = {
        {[&] { SubFin(Interior->Fin1())->GetDerivative(); }, "TXTSubdivisionFin.GetDerivative - Fin is not on a boundary"},
        {[&] { SubFin(Interior->Fin1())->FBoundary(Interior->Fin1()->GetVertex(), C, D); },
         "TXTSubdivisionFin.FBoundary - Fin is not on a boundary"},
        {[&] { SubFin(Boundary->Fin1())->FBoundary(Elsewhere, C, D); },
         "TXTSubdivisionFin.FBoundary - Vertex does not belong to this edge"},
        {[&] { Interior->GenerateDerivative(); },
         "TXTSubdivisionEdge.GenerateDerivative - Face found on both sides of boundary edge"}};
    for (const auto& [Call, Message] : Cases) {
        try {
            Call();
            ADD_FAILURE() << "no exception: " << Message;
        } catch (const EGeometryError& E) {
            EXPECT_EQ(std::string(E.what()), Message);
        }
    }
}

TEST(SubdivisionPatch, DrawsEachFaceAsAClosedStripAndOnlyBoundaryEdgesWithTheirData) {
    TXTPatchFace Face(RegularPolygon(4), Bulging);
    TXTSubDivisionPatch Patch(Face.Face);
    Patch.Levels = 1;
    Patch.Generate();
    TRecordingGraphics G;
    Patch.Draw(G);
    std::vector<std::string> Strip = {"LineStartVector", "LineNextVector", "LineNextVector", "LineNextVector",
                                      "LineNextVector", "LineFinish"};
    std::vector<std::string> Expected;
    for (int F = 0; F < 4; ++F) Expected.insert(Expected.end(), Strip.begin(), Strip.end());
    EXPECT_EQ(G.Names(), Expected);
    EXPECT_EQ(G.Calls[0].Points[0], G.Calls[4].Points[0]);

    const TManifold& M = *Patch.GetManifold();
    for (int I = 0; I < M.Edges().Count(); ++I) {
        TXTSubdivisionEdge* E = SubEdge(M.Edges().Edge(I));
        TRecordingGraphics EG;
        E->Draw(EG);
        const auto Names = EG.Names();
        const auto Hairs = std::count(Names.begin(), Names.end(), "LineVectors");
        const auto Arrows = std::count(Names.begin(), Names.end(), "Vector");
        EXPECT_EQ(Hairs, E->IsBoundary() ? 31 : 0) << I;
        EXPECT_EQ(Arrows, E->IsBoundary() ? 2 : 0) << I;
        if (E->IsBoundary()) {
            // The first hair starts on the side at the edge's first fin.
            for (const TGraphicsCall& C : EG.Calls)
                if (C.Name == "LineVectors") {
                    EXPECT_LT(VectorDistance(C.Points[0], E->Fin1()->Position()), 1e-12) << I;
                    break;
                }
        }
    }
}

TEST(SubdivisionPatch, ListsEveryEdgeAsALine) {
    TXTPatchFace Face(RegularPolygon(6));
    TXTSubDivisionPatch Patch(Face.Face);
    Patch.Levels = 1;
    Patch.Generate();
    TPolylineList Lines;
    Patch.AddEdgeLines(Lines);
    const TManifold& M = *Patch.GetManifold();
    ASSERT_EQ(Lines.Count(), M.Edges().Count());
    for (int I = 0; I < Lines.Count(); ++I) {
        EXPECT_EQ(Lines.Items(I)->Count(), 2);
        EXPECT_LT(VectorDistance(Lines.Items(I)->Point(0)->Vector(), M.Edges().Edge(I)->Fin1()->Position()), 1e-15);
    }
}
