#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>

#include "foundation/Errors.h"
#include "foundation/Polygon.h"
#include "foundation/VkMathsExpect.h"
#include "surfaces/AllocationCounter.h"
#include "surfaces/GregoryNPatch.h"
#include "surfaces/LSqrsNPatch.h"
#include "surfaces/PatchFixtures.h"

namespace sarnova {
namespace {

// A scheme under test: how it is made and what it must give on a side.
struct TScheme {
    std::string Name;
    std::function<std::unique_ptr<TFootprintNPatch>()> Make;
    bool Gregory;
};

std::vector<TScheme> Schemes() {
    const auto LSq = [](std::uint8_t Continuity, std::uint8_t Type) {
        return [=] {
            auto P = std::make_unique<TLeastSquaresNPatch>();
            P->TangentContinuity = Continuity;
            P->FootprintType = Type;
            return std::unique_ptr<TFootprintNPatch>(std::move(P));
        };
    };
    const auto Gregory = [](std::uint8_t Type) {
        return [=] {
            auto P = std::make_unique<TGregoryNPatch>();
            P->FootprintType = Type;
            return std::unique_ptr<TFootprintNPatch>(std::move(P));
        };
    };
    return {{"LSq C0", LSq(0, 0), false},   {"LSq C1", LSq(1, 0), false},       {"LSq C1 projected", LSq(1, 2), false},
            {"Gregory", Gregory(0), true}, {"Gregory chord", Gregory(1), true}, {"Gregory projected", Gregory(2), true}};
}

std::vector<std::vector<std::unique_ptr<TBSpline>>> Loops(double Lift) {
    std::vector<std::vector<std::unique_ptr<TBSpline>>> L;
    L.push_back(TriangleLoop(Lift));
    L.push_back(SquareLoop(Lift));
    L.push_back(LoopCurves({{0, 0, 0}, {4, 0, 0}, {5, 3, 0}, {2, 5, 0}, {-1, 3, 0}}, Lift));
    return L;
}

// On side E (dE = 0) the least-squares patch is W_E at E's side position, and the Gregory patch W_E
// at dP / (dP + dN).
void ExpectMeetsSides(TFootprintNPatch& Patch, bool Gregory, const std::string& What) {
    ASSERT_TRUE(Patch.FootprintValid()) << What;
    for (TFootprintNPatchEdge* E : Patch.Loop()) {
        const TMVector C0 = E->PreviousEdge()->DomainCorner, C1 = E->DomainCorner;
        for (const double s : {0.05, 0.3, 0.5, 0.77, 0.95}) {
            const TMVector R = Patch.EvaluateDomainPoint(VectorLerp(C0, C1, s));
            const double dP = E->PreviousEdge()->SideDistance, dN = E->NextEdge()->SideDistance;
            const double t = Gregory ? dP / (dP + dN) : E->SidePosition;
            ExpectNear(R, E->WorkingCurve()->EvaluatePoint(t), 1e-12);
            if (Patch.FootprintType == 0) {
                EXPECT_NEAR(t, s, 1e-12) << What;
            }
        }
    }
}

TEST(NPatchSchemesTest, PatchesMeetTheirSides) {
    for (const TScheme& S : Schemes()) {
        int N = 3;
        for (const auto& Curves : Loops(0.4)) {
            auto Patch = S.Make();
            ASSERT_TRUE(Patch->SetBoundaryCurves(SplineList(Curves)));
            ExpectMeetsSides(*Patch, S.Gregory, S.Name + " " + std::to_string(N++));
        }
    }
    // The working curves are the caller's, over [0, 1]: side 0 of the square at 0.3 is the first
    // curve at 0.6 of its range [0, 2].
    const auto Square = SquareLoop(0.4);
    TGregoryNPatch Patch;
    Patch.SetBoundaryCurves(SplineList(Square));
    ExpectNear(Patch.EvaluateDomainPoint({-0.7, 0.3, 0}), Square[0]->EvaluatePoint(0.6), 1e-12);
}

TEST(NPatchSchemesTest, CornersGiveTheBoundaryCorners) {
    for (const TScheme& S : Schemes())
        for (const auto& Curves : Loops(0.4)) {
            auto Patch = S.Make();
            Patch->SetBoundaryCurves(SplineList(Curves));
            for (TFootprintNPatchEdge* E : Patch->Loop())
                ExpectNear(Patch->EvaluateDomainPoint(E->DomainCorner), E->WorkingCurve()->Last()->Vector(), 1e-9);
            Patch->SectorGridDensity = 4;
            const auto Triangles = Patch->CreatePolygons();
            EXPECT_EQ(Triangles->Count(), static_cast<int>(Curves.size()) * 2 * 16);
            for (int i = 0; i < Triangles->Count(); ++i)
                for (int c = 0; c < 3; ++c) EXPECT_TRUE(std::isfinite(VectorLength(Triangles->Polygon(i)->Corner(c)->Vector()))) << S.Name;
        }
}

TEST(NPatchSchemesTest, PlanarBoundaryGivesAPlanarPatch) {
    for (const TScheme& S : Schemes())
        for (const auto& Curves : Loops(0)) {
            auto Patch = S.Make();
            Patch->SetBoundaryCurves(SplineList(Curves));
            Patch->SectorGridDensity = 5;
            const auto Triangles = Patch->CreatePolygons();
            ASSERT_GT(Triangles->Count(), 0);
            for (int i = 0; i < Triangles->Count(); ++i)
                for (int c = 0; c < 3; ++c) EXPECT_NEAR(Triangles->Polygon(i)->Corner(c)->Z, 0, 1e-12) << S.Name;
        }
}

TEST(NPatchSchemesTest, AffineInTheBoundary) {
    // Inside, the weights are positive and sum to one: moving the boundary moves the patch.
    const TMVector Shift{3, -1, 2};
    for (const TScheme& S : Schemes()) {
        const auto Curves = SquareLoop(0.4);
        auto Moved = SquareLoop(0.4);
        for (auto& C : Moved)
            for (int i = 0; i < C->Count(); ++i) C->Point(i)->SetVector(VectorAdd(C->Point(i)->Vector(), Shift));
        auto A = S.Make(), B = S.Make();
        A->SetBoundaryCurves(SplineList(Curves));
        B->SetBoundaryCurves(SplineList(Moved));
        // The same sector points (a projected footprint moves with the boundary).
        for (const auto& [a, b] : {std::pair{0.0, 1.0}, {0.3, 0.6}, {0.8, 0.1}})
            for (int k = 0; k < 4; ++k)
                ExpectNear(B->Loop()[static_cast<std::size_t>(k)]->EvaluateSector(a, b),
                           VectorAdd(A->Loop()[static_cast<std::size_t>(k)]->EvaluateSector(a, b), Shift), 1e-12);
    }
    // A straight-sided square: the centre of the domain is the centre of the square.
    std::vector<std::unique_ptr<TBSpline>> Straight;
    const TMVector Corners[4] = {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}};
    for (int k = 0; k < 4; ++k) Straight.push_back(MakeCurve({Corners[k], Corners[(k + 1) % 4]}, 2));
    for (const TScheme& S : Schemes()) {
        auto P = S.Make();
        P->SetBoundaryCurves(SplineList(Straight));
        ExpectNear(P->EvaluateDomainPoint(P->DomainCentre), {2, 2, 0}, 1e-12);
    }
}

// Flat quadrilaterals with straight sides. In a projected footprint sides count as parallel within a
// tolerance (about 0.8 degrees): a trapezoid has sides with one parallel and one converging neighbour,
// and a quadrilateral whose sides only nearly meet that tolerance has neighbours that are "parallel"
// without being so (a face of a curved hull, projected). Every sector still runs along its sides and
// neighbouring sectors meet, so the sampled patch keeps to the boundary and, flat, reproduces the
// quadrilateral itself.
TEST(NPatchSchemesTest, SectorsOfFlatQuadrilateralsKeepToTheirSides) {
    const struct {
        const char* Name;
        std::array<TMVector, 4> Corners;
    } Quads[] = {
        {"trapezoid", {{{0, 0, 0}, {2.5, 0, 0}, {1.8, 1, 0}, {0.7, 1, 0}}}},
        {"top tilted by half a degree", {{{0, 0, 0}, {2.5, 0, 0}, {1.8, 1.01, 0}, {0.7, 1, 0}}}},
        {"nearly a parallelogram", {{{0, 0, 0}, {2, 0, 0}, {2.51, 1, 0}, {0.5, 1.012, 0}}}},
    };
    for (const auto& [Name, Corners] : Quads) {
        std::vector<std::unique_ptr<TBSpline>> Straight;
        for (int k = 0; k < 4; ++k) Straight.push_back(MakeCurve({Corners[k], Corners[(k + 1) % 4]}, 2));
        // How far P lies from side k (beyond its ends counts), and on which side of it: positive inside.
        const auto OffSide = [&](const TMVector& P, int k) {
            const TMVector A = Corners[k], B = Corners[(k + 1) % 4];
            const TMVector D = VectorFromTo(A, B);
            const double T = VectorDot(VectorFromTo(A, P), D) / VectorDot(D, D);
            return VectorDistance(P, VectorAdd(A, VectorScale(D, T))) + std::max(0.0, -T) + std::max(0.0, T - 1);
        };
        const auto Inside = [&](const TMVector& P) {
            for (int k = 0; k < 4; ++k) {
                const TMVector A = Corners[k], B = Corners[(k + 1) % 4];
                if (VectorCross(VectorFromTo(A, P), VectorFromTo(A, B)).Z < -1e-12) return false;  // (B - A) x (P - A)
            }
            return true;
        };
        for (const TScheme& S : Schemes()) {
            auto P = S.Make();
            ASSERT_TRUE(P->SetBoundaryCurves(SplineList(Straight)));
            const std::string What = std::string(Name) + ", " + S.Name;
            for (std::size_t k = 0; k < 4; ++k) {
                TFootprintNPatchEdge& E = *P->Loop()[k];
                for (const double t : {0.0, 0.2, 0.5, 0.9, 1.0}) {
                    // B = 0 runs along the edge's own side, A = 1 along the next one.
                    EXPECT_LT(OffSide(E.EvaluateSector(t, 0), int(k)), 1e-12) << What << " side " << k << " at " << t;
                    EXPECT_LT(OffSide(E.EvaluateSector(1, t), int((k + 1) % 4)), 1e-12)
                        << What << " side " << k << " at " << t;
                    // Inside, the patch is the flat quadrilateral.
                    const TMVector Q = E.EvaluateSector(t, 0.5);
                    EXPECT_NEAR(Q.Z, 0, 1e-12) << What;
                    EXPECT_TRUE(Inside(Q)) << What;
                }
                // Neighbouring sectors share their edge through the centre.
                TFootprintNPatchEdge& X = *E.NextEdge();
                for (const double t : {0.25, 0.75})
                    EXPECT_LT(VectorDistance(E.EvaluateSector(t, 1), X.EvaluateSector(0, 1 - t)), 1e-12) << What;
            }
        }
    }
}

// A flat pentagon whose top corner is pushed up (convex), lies on the line (a curve running on
// through a T-junction) or is pushed in. Projected as it is, the straight corner leaves sectors of no
// width and the inward one folds them; such outlines are spaced by chord length, while a convex one
// keeps its projection. Either way the patch keeps to its sides and does not fold.
TEST(NPatchSchemesTest, ProjectedFootprintsOfOutlinesThatAreNotConvex) {
    const struct {
        double Lift;
        bool Projected;
    } Cases[] = {{0.3, true}, {-0.1, false}, {0, false}, {1e-5, false}};
    for (const auto& [Lift, Projected] : Cases) {
        const std::vector<TMVector> Corners = {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {2, 4 + Lift, 0}, {0, 4, 0}};
        std::vector<std::unique_ptr<TBSpline>> Straight;
        for (std::size_t k = 0; k < 5; ++k) Straight.push_back(MakeCurve({Corners[k], Corners[(k + 1) % 5]}, 2));
        TLeastSquaresNPatch P;
        P.TangentContinuity = 1;
        P.FootprintType = 2;
        ASSERT_TRUE(P.SetBoundaryCurves(SplineList(Straight)));
        ASSERT_TRUE(P.FootprintValid()) << Lift;
        const TFootprintNPatchEdge& First = *P.Loop()[0];
        EXPECT_EQ(VectorDistance(First.DomainCorner, First.EndVertex()->Position) < 1e-12, Projected) << Lift;
        ExpectMeetsSides(P, false, "lift " + std::to_string(Lift));
        // Every cell of the sector grids turns the same way, none is flat.
        constexpr int m = 8;
        int Left = 0, Right = 0;
        for (TFootprintNPatchEdge* E : P.Loop())
            for (int i = 0; i < m; ++i)
                for (int j = 0; j < m; ++j) {
                    const TMVector A = E->EvaluateSector(double(i) / m, double(j) / m);
                    const TMVector U = VectorFromTo(A, E->EvaluateSector(double(i + 1) / m, double(j) / m));
                    const TMVector V = VectorFromTo(A, E->EvaluateSector(double(i) / m, double(j + 1) / m));
                    const double Turn = VectorCross(V, U).Z;  // (U x V).Z
                    Left += Turn > 1e-9;
                    Right += Turn < -1e-9;
                }
        EXPECT_EQ(std::max(Left, Right), 5 * m * m) << Lift;
    }
}

TEST(NPatchSchemesTest, LeastSquaresC1) {
    const auto Curves = SquareLoop(0.4);
    TLeastSquaresNPatch C1;
    C1.TangentContinuity = 1;
    C1.TangentWeight = 0;
    C1.SetBoundaryCurves(SplineList(Curves));
    // With no tangent weight: the side curves blended with squared weights.
    const TMVector Q{0.3, -0.2, 0};
    const TMVector R = C1.EvaluateDomainPoint(Q);
    TMVector Sum{0, 0, 0};
    double Total = 0;
    for (TFootprintNPatchEdge* E : C1.Loop()) {
        double w = 1;
        for (TFootprintNPatchEdge* F : C1.Loop())
            if (F != E) w *= F->SideDistance * F->SideDistance;
        Sum = VectorAdd(Sum, VectorScale(E->WorkingCurve()->EvaluatePoint(E->SidePosition), w));
        Total += w;
    }
    ExpectNear(R, VectorScale(Sum, 1 / Total), 1e-12);
    // The tangent term bends the inside of the patch, not its sides.
    C1.TangentWeight = 1;
    EXPECT_GT(VectorDistance(C1.EvaluateDomainPoint(Q), R), 1e-3);
    ExpectMeetsSides(C1, false, "C1");
}

TEST(NPatchSchemesTest, EvaluationAllocatesNothing) {
    const auto Curves = SquareLoop(0.4);
    for (const TScheme& S : Schemes()) {
        auto P = S.Make();
        P->SetBoundaryCurves(SplineList(Curves));
        P->EvaluateDomainPoint({0.1, 0.1, 0});
        const long Before = AllocationCount();
        TMVector Sum{0, 0, 0};
        for (int a = 0; a <= 8; ++a)
            for (int b = 0; b <= 8; ++b) Sum = VectorAdd(Sum, P->Loop()[0]->EvaluateSector(a / 8.0, b / 8.0));
        EXPECT_EQ(AllocationCount() - Before, 0) << S.Name;
        EXPECT_TRUE(std::isfinite(Sum.X));
    }
}

TEST(NPatchSchemesTest, ChangeDetectionKeepsThePatchOnItsCurves) {
    for (const TScheme& S : Schemes()) {
        auto Curves = SquareLoop(0.4);
        Curves[2]->Reverse();
        auto Patch = S.Make();
        Patch->SetDetectChanges(true);
        ASSERT_TRUE(Patch->SetBoundaryCurves(SplineList(Curves)));
        ExpectMeetsSides(*Patch, S.Gregory, S.Name);
        // An inner control point and a corner move: the patch follows both at once.
        Curves[1]->Point(2)->SetXYZ(5, 2, 1);
        Curves[0]->First()->SetXYZ(-0.5, -0.5, 0.5);
        EXPECT_TRUE(Patch->Update());
        ExpectNear(Patch->Loop()[1]->WorkingCurve()->Point(2)->Vector(), {5, 2, 1});
        ExpectMeetsSides(*Patch, S.Gregory, S.Name + " moved");
        ExpectNear(Patch->EvaluateDomainPoint(Patch->Loop()[3]->DomainCorner), {-0.5, -0.5, 0.5}, 1e-9);
    }
}

TEST(NPatchSchemesTest, LoopsWithoutAFootprintAreRefused) {
    std::vector<std::unique_ptr<TBSpline>> Lens;
    Lens.push_back(MakeCurve({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}}, 3));
    Lens.push_back(MakeCurve({{0, 0, 0}, {1, -1, 0}, {2, 0, 0}}, 3));
    for (const TScheme& S : Schemes()) {
        auto Patch = S.Make();
        EXPECT_TRUE(Patch->SetBoundaryCurves(SplineList(Lens)));
        EXPECT_FALSE(Patch->FootprintValid());
        ExpectError([&] { Patch->EvaluateDomainPoint(ZeroVector); },
                    "TFootprintNPatch - The patch has no usable footprint (an open loop, fewer than three sides or "
                    "coincident corners)");
        EXPECT_EQ(Patch->CreatePolygons()->Count(), 0);
    }
}

}  // namespace
}  // namespace sarnova
