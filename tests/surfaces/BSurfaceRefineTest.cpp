#include "surfaces/BSurfaceRefine.h"

#include <gtest/gtest.h>

#include "foundation/Errors.h"
#include "foundation/VkMathsExpect.h"
#include "surfaces/SurfaceFixtures.h"

namespace sarnova {
namespace {

const auto Same = [](double t) { return t; };

// Every control point of the two nets, in order.
bool SameNet(const TBSplineSurface& A, const TBSplineSurface& B) {
    if (A.NumU() != B.NumU() || A.NumV() != B.NumV()) return false;
    for (int j = 0; j < A.NumV(); ++j)
        for (int i = 0; i < A.NumU(); ++i)
            if (A.Point(i, j).Vector() != B.Point(i, j).Vector()) return false;
    return true;
}

TEST(BSplineSurfaceRefineTest, InsertingAKnotKeepsTheShape) {
    auto S = MakeSurface(4, 4, 4, 4, WavyPoint);
    S->SetForcedBezier(true);
    const auto Before = CloneBSplineSurface(*S);
    S->InsertKnotU(0.5);
    EXPECT_EQ(S->NumU(), 5);
    EXPECT_EQ(KnotsU(*S), (std::vector<double>{0, 0, 0, 0, 0.5, 1, 1, 1, 1}));
    EXPECT_EQ(S->KnotType, ktNonUniform);
    EXPECT_FALSE(S->GetForcedBezier());
    EXPECT_LT(ShapeDistance(*Before, *S), 1e-12);

    S->InsertKnotV(0.25);
    EXPECT_EQ(S->NumV(), 5);
    EXPECT_EQ(KnotsV(*S), (std::vector<double>{0, 0, 0, 0, 0.25, 1, 1, 1, 1}));
    EXPECT_LT(ShapeDistance(*Before, *S), 1e-12);

    // At the ends of the knot vector nothing happens.
    const auto Kept = CloneBSplineSurface(*S);
    for (const double t : {0.0, 1.0, -2.0, 5.0}) S->InsertKnotU(t);
    EXPECT_TRUE(SameNet(*S, *Kept));
    EXPECT_EQ(KnotsU(*S), KnotsU(*Kept));
}

TEST(BSplineSurfaceRefineTest, InsertionOutsideTheRangeOfAnUnclampedVectorFails) {
    auto S = MakeSurface(4, 3, 3, 2, WavyPoint, ktNonUniform);
    const double U[] = {0, 1, 2, 3, 4, 5, 6};  // range [2, 4]
    for (int i = 0; i < 7; ++i) S->SetKnotU(i + 1, U[i]);
    const double V[] = {0, 0, 1, 2, 2};
    for (int i = 0; i < 5; ++i) S->SetKnotV(i + 1, V[i]);
    const auto Before = CloneBSplineSurface(*S);
    ExpectError([&] { S->InsertKnotU(1.5); },
                "TBSplineSurface.InsertKnotU - Unable to insert Knot, Index outside of range was accessed");
    ExpectError([&] { S->InsertKnotU(4); },
                "TBSplineSurface.InsertKnotU - Unable to insert Knot, Index outside of range was accessed");
    EXPECT_TRUE(SameNet(*S, *Before));
    S->InsertKnotU(3.5);
    EXPECT_EQ(S->NumU(), 5);
    EXPECT_LT(ShapeDistance(*Before, *S), 1e-12);
    ExpectError([&] { S->RefineKnotsV(std::vector<double>{0.5, 2.5}); },
                "TBSplineSurface.RefineKnotsV - Knot 2.5 lies outside the parameter range");
    EXPECT_EQ(S->NumV(), 3);
}

TEST(BSplineSurfaceRefineTest, RefinementInsertsAllKnotsInOnePass) {
    auto A = MakeSurface(6, 5, 4, 3, WavyPoint);
    auto B = CloneBSplineSurface(*A);
    A->RefineKnotsU(std::vector<double>{0.5});
    B->InsertKnotU(0.5);
    EXPECT_TRUE(SameNet(*A, *B));
    EXPECT_EQ(KnotsU(*A), KnotsU(*B));

    auto S = MakeSurface(6, 5, 4, 3, WavyPoint);
    const auto Before = CloneBSplineSurface(*S);
    S->RefineKnotsU(std::vector<double>{2.5, 0.5, 1, 1});
    S->RefineKnotsV(std::vector<double>{0.1, 2.9});
    EXPECT_EQ(S->NumU(), 10);
    EXPECT_EQ(S->NumV(), 7);
    EXPECT_EQ(KnotsU(*S), (std::vector<double>{0, 0, 0, 0, 0.5, 1, 1, 1, 2, 2.5, 3, 3, 3, 3}));
    EXPECT_LT(ShapeDistance(*Before, *S), 1e-12);
    S->RefineKnotsU({});
    EXPECT_EQ(S->NumU(), 10);
}

TEST(BSplineSurfaceRefineTest, CustomSurfacesKeepTheirLimits) {
    auto S = MakeSurface(6, 5, 4, 3, WavyPoint);
    S->UpdateKnots();
    S->KnotType = ktCustom;
    S->MinUParameter = 0.5;
    S->MaxUParameter = 2;
    const auto Before = CloneBSplineSurface(*S);
    S->InsertKnotU(1.5);
    EXPECT_EQ(S->KnotType, ktCustom);
    EXPECT_EQ(S->MinU(), 0.5);
    EXPECT_EQ(S->MaxU(), 2);
    EXPECT_LT(ShapeDistance(*Before, *S), 1e-12);
}

TEST(BSplineSurfaceRefineTest, SubdivisionHalvesEverySpan) {
    auto S = MakeSurface(5, 4, 4, 4, WavyPoint);
    const auto U = S->SubDivide(0);
    ASSERT_NE(U, nullptr);
    EXPECT_EQ(U->NumU(), 7);
    EXPECT_EQ(U->NumV(), 4);
    EXPECT_EQ(U->KnotType, ktOpen);
    U->UpdateKnots();
    EXPECT_EQ(KnotsU(*U), (std::vector<double>{0, 0, 0, 0, 1, 2, 3, 4, 4, 4, 4}));
    EXPECT_LT(ShapeDistance(*S, *U, [](double u) { return 2 * u; }, Same), 1e-12);
    const auto V = S->SubDivide(1);
    EXPECT_EQ(V->NumV(), 5);
    EXPECT_LT(ShapeDistance(*S, *V, Same, [](double v) { return 2 * v; }), 1e-12);
    EXPECT_EQ(S->NumU(), 5);  // the input stays

    // Stored knots keep their values: a knot is added in the middle of every span.
    auto N = MakeSurface(5, 3, 3, 3, WavyPoint, ktNonUniform);
    const double K[] = {0, 0, 0, 0.2, 0.9, 1, 1, 1};
    for (int i = 0; i < 8; ++i) N->SetKnotU(i + 1, K[i]);
    const double KV[] = {0, 0, 0, 1, 1, 1};
    for (int i = 0; i < 6; ++i) N->SetKnotV(i + 1, KV[i]);
    const auto NU = N->SubDivide(0);
    EXPECT_EQ(NU->KnotType, ktNonUniform);
    const std::vector<double> Expected{0, 0, 0, 0.1, 0.2, 0.55, 0.9, 0.95, 1, 1, 1};
    const std::vector<double> Actual = KnotsU(*NU);
    ASSERT_EQ(Actual.size(), Expected.size());
    for (std::size_t i = 0; i < Actual.size(); ++i) EXPECT_NEAR(Actual[i], Expected[i], 1e-15) << i;
    EXPECT_LT(ShapeDistance(*N, *NU), 1e-12);

    EXPECT_EQ(S->SubDivide(2), nullptr);
    EXPECT_EQ(MakeSurface(3, 4, 4, 4, WavyPoint)->SubDivide(0), nullptr);
}

TEST(BSplineSurfaceRefineTest, DegreeRaisingKeepsTheShape) {
    auto B = MakeSurface(3, 3, 3, 3, WavyPoint);
    const auto R = BSplineSurfaceRaiseDegreeU(*B, 4);
    EXPECT_EQ(R->NumU(), 4);
    EXPECT_EQ(R->OrderU(), 4);
    EXPECT_EQ(R->OrderV(), 3);
    EXPECT_EQ(R->KnotType, ktNonUniform);
    EXPECT_EQ(KnotsU(*R), (std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_LT(ShapeDistance(*B, *R), 1e-12);
    ExpectError([&] { BSplineSurfaceRaiseDegreeU(*B, 3); },
                "BSplineSurfaceRaiseDegreeU - Order must be greater than existing BSpline Surface (U Order)");
    ExpectError([&] { BSplineSurfaceRaiseDegreeV(*B, 2); },
                "BSplineSurfaceRaiseDegreeV - Order must be greater than existing BSpline Surface (V Order)");

    // Several spans: every distinct knot gains the raise.
    auto S = MakeSurface(6, 5, 3, 4, WavyPoint);
    const auto V = BSplineSurfaceRaiseDegreeV(*S, 6);
    EXPECT_EQ(V->OrderV(), 6);
    EXPECT_EQ(KnotsV(*V), (std::vector<double>{0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(V->NumV(), 9);
    EXPECT_LT(ShapeDistance(*S, *V), 1e-12);
    EXPECT_EQ(S->OrderV(), 4);
    EXPECT_EQ(S->NumV(), 5);
}

TEST(BSplineSurfaceRefineTest, Knuckles) {
    auto S = MakeSurface(6, 3, 4, 3, WavyPoint);
    EXPECT_TRUE(S->CanKnuckleU(1));
    EXPECT_TRUE(S->CanKnuckleU(4));
    EXPECT_FALSE(S->CanKnuckleU(5));
    EXPECT_FALSE(S->CanKnuckleV(0));
    EXPECT_FALSE(S->IsKnuckleU(2));

    S->SetKnuckleU(2, true);
    ASSERT_EQ(S->NumU(), 8);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(S->Point(3, j).Vector(), S->Point(2, j).Vector());
        EXPECT_EQ(S->Point(4, j).Vector(), S->Point(2, j).Vector());
        EXPECT_EQ(S->Point(5, j).Vector(), WavyPoint(3, j));
    }
    EXPECT_TRUE(S->IsKnuckleU(2));
    EXPECT_TRUE(S->IsKnuckleU(4));
    const TKnuckleRun Run = S->FindKnuckle(0, 3);
    EXPECT_TRUE(Run.Found);
    EXPECT_EQ(Run.First, 2);
    EXPECT_EQ(Run.Last, 4);
    // The surface passes through the knuckle line.
    S->UpdateKnots();
    ExpectNear(S->Evaluate(2, 0), S->Point(2, 0).Vector());
    S->SetKnuckleU(2, false);
    EXPECT_EQ(S->NumU(), 6);
    EXPECT_FALSE(S->IsKnuckleU(2));

    // Only where lines lie on both sides, and only for Open knots.
    S->SetKnuckleU(5, true);
    S->SetKnuckleU(0, true);
    EXPECT_EQ(S->NumU(), 6);
    S->KnotType = ktNonUniform;
    S->SetKnuckleU(2, true);
    EXPECT_EQ(S->NumU(), 6);

    auto V = MakeSurface(3, 5, 3, 3, WavyPoint);
    V->SetKnuckleV(1, true);
    EXPECT_EQ(V->NumV(), 6);
    EXPECT_TRUE(V->IsKnuckleV(2));
    EXPECT_EQ(V->Point(2, 2).Vector(), WavyPoint(2, 1));
}

}  // namespace
}  // namespace sarnova
