#include "surfaces/BSurface.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/TextBlock.h"
#include "foundation/VkMathsExpect.h"
#include "platform/RecordingGraphics.h"
#include "surfaces/AllocationCounter.h"
#include "surfaces/SurfaceFixtures.h"

namespace sarnova {
namespace {

// ---- Reference surfaces: values computed independently in exact rational arithmetic ----

struct TReference {
    double U, V;
    TMVector S, Su, Sv, Suu, Svv, Suv;
};

// 5 x 4 net, orders 4 x 3, Open knots u 0 0 0 0 1 2 2 2 2 and v 0 0 0 1 2 2 2.
std::unique_ptr<TBSplineSurface> OpenReferenceSurface() {
    return MakeSurface(5, 4, 4, 3, [](int i, int j) -> TMVector {
        return {i + 0.3 * j * j, j - 0.2 * i + i * j / 7.0, ((7 * i + 3 * j) % 5) / 3.0 - i * j / 4.0};
    });
}

const TReference OpenReference[] = {
    {0, 0, {0, 0, 0}, {3, -0.59999999999999998, 2}, {0.59999999999999998, 2, 2}, {-3, 0.59999999999999998, -2}, {0.29999999999999999, -1, -2.6666666666666665}, {0, 0.8571428571428571, -11.5}},
    {0.33333333333333331, 0.5, {1.1893518518518518, 0.81111111111111112, 0.28240740740740738}, {2.1666666666666665, -0.16250000000000001, -0.609375}, {0.75, 1.6825396825396826, -0.33950617283950618}, {-2, 0.14999999999999999, 2.75}, {0.29999999999999999, -1.1216931216931216, 0.80246913580246915}, {0, 0.4642857142857143, -2.4097222222222223}},
    {1, 1, {2.75, 1.5285714285714285, -0.20833333333333334}, {1.5, 0.021428571428571429, -0.1875}, {0.90000000000000002, 1.2857142857142858, -0.75}, {0, 0, 1.25}, {2.1000000000000001, 1.2857142857142858, 0.083333333333333329}, {0, 0.21428571428571427, -1.625}},
    {1.5, 1.75, {4.828125, 2.9857700892857144, -1.31396484375}, {1.875, 0.30301339285714285, -0.9814453125}, {2.4750000000000001, 2.453125, -1.70703125}, {1.5, 0.24241071428571428, 1.10546875}, {2.1000000000000001, 1.4017857142857142, -0.796875}, {0, 0.46875, -2.4609375}},
    {2, 2, {6.7000000000000002, 3.9142857142857141, -2.3333333333333335}, {3, 0.68571428571428572, -0.25}, {3, 3.1428571428571428, -3.3333333333333335}, {3, 0.68571428571428572, 4.75}, {2.1000000000000001, 1.5714285714285714, -3.3333333333333335}, {0, 0.8571428571428571, -1.5}},
    {0.69999999999999996, 2, {4.2365000000000004, 3.3512, -0.55929166666666663}, {1.635, 0.37371428571428572, -1.19875}, {3, 2.4390000000000001, -0.70491666666666664}, {-0.90000000000000002, -0.20571428571428571, 1.325}, {2.1000000000000001, 1.2195, -0.47954166666666664}, {0, 0.46714285714285714, 0.38250000000000001}},
    {2, 0.10000000000000001, {4.0614999999999997, -0.49357142857142855, 0.68333333333333335}, {3, -0.51642857142857146, 0.92874999999999996}, {0.63, 2.9857142857142858, -3}, {3, -0.51642857142857146, 4.05375}, {0.29999999999999999, -1.5714285714285714, 3.3333333333333335}, {0, 0.81428571428571428, -9.9250000000000007}},
};

// 5 x 5 net, orders 3 x 4, NonUniform knots u 0 0 0 0.3 0.7 1 1 1 and v 0 0 0 0 0.4 1 1 1 1.
std::unique_ptr<TBSplineSurface> NonUniformReferenceSurface() {
    auto S = MakeSurface(
        5, 5, 3, 4,
        [](int i, int j) -> TMVector {
            return {i * i / 3.0 - j / 5.0, (i + j) / 2.0 + i * j * j / 9.0, ((3 * i + 5 * j) % 7) / 2.0};
        },
        ktNonUniform);
    const double U[] = {0, 0, 0, 0.3, 0.7, 1, 1, 1};
    const double V[] = {0, 0, 0, 0, 0.4, 1, 1, 1, 1};
    for (int i = 0; i < 8; ++i) S->SetKnotU(i + 1, U[i]);
    for (int i = 0; i < 9; ++i) S->SetKnotV(i + 1, V[i]);
    return S;
}

const TReference NonUniformReference[] = {
    {0, 0, {0, 0, 0}, {2.2222222222222223, 3.3333333333333335, 10}, {-1.5, 3.75, 18.75}, {2.1164021164021163, -6.3492063492063489, -19.047619047619047}, {4.5, -11.25, -108.75}, {0, 5.5555555555555554, -175}},
    {0.20000000000000001, 0.90000000000000002, {-0.21952380952380951, 3.8426967796720883, 1.5276793062904175}, {2.6455026455026456, 7.9413025017963292, -1.1210464432686655}, {-0.87777777777777777, 5.6470801489320008, -0.60154320987654319}, {2.1164021164021163, -24.434776928604091, 12.104644326866548}, {-1.1111111111111112, 9.6803840877914951, 6.6604938271604937}, {0, 13.201254164217127, -3.8024691358024691}},
    {0.29999999999999999, 0.40000000000000002, {0.40190476190476193, 2.2047619047619049, 1.6228571428571428}, {2.8571428571428572, 2.6095238095238096, -2.1142857142857143}, {-0.59999999999999998, 3.3095238095238093, 0.59999999999999998}, {4.7619047619047619, 0, 7}, {0, 1.9047619047619047, -12}, {0, 3.6190476190476191, -18}},
    {0.5, 0.33333333333333331, {1.1091269841269842, 2.4621913580246915, 1.412037037037037}, {3.8095238095238093, 2.3765432098765431, -0.7142857142857143}, {-0.625, 3.9236111111111112, -1.0416666666666667}, {4.7619047619047619, 0, 0.46296296296296297}, {0.75, 0.625, 1.25}, {0, 3.373015873015873, 0}},
    {1, 1, {4.5333333333333332, 11.111111111111111, 2}, {15.555555555555555, 15.185185185185185, 10}, {-1, 18.055555555555557, -5}, {35.978835978835981, 28.924162257495592, 52.38095238095238}, {-1.3333333333333333, 32.962962962962962, -41.666666666666664}, {0, 25.925925925925927, 0}},
    {0.98999999999999999, 0.01, {5.1647998445767191, 2.0368741181878307, 2.3289116892857145}, {15.195767195767196, 3.3246124735449736, 9.459774642857143}, {-1.4555625000000001, 6.9502420701058201, -7.241790833333333}, {35.978835978835981, 6.4555582010582011, 52.298785714285714}, {4.3875000000000002, -7.641268518518519, 25.725166666666667}, {0, 5.504641534391534, -3.2580833333333334}},
};

// Within 1e-12 relative to the size of the value.
void ExpectClose(const TMVector& Actual, const TMVector& Expected, const char* What, double U, double V) {
    const double Tol = 1e-12 * std::max(1.0, VectorLength(Expected));
    EXPECT_LE(VectorDistance(Actual, Expected), Tol) << What << " at (" << U << ", " << V << ")";
}

TEST(BSplineSurfaceTest, EvaluatesAsTheIndependentReference) {
    struct TCase {
        std::unique_ptr<TBSplineSurface> (*Make)();
        std::span<const TReference> Table;
    };
    const TCase Cases[] = {{OpenReferenceSurface, OpenReference}, {NonUniformReferenceSurface, NonUniformReference}};
    for (const TCase& C : Cases) {
        const auto S = C.Make();
        S->UpdateKnots();
        for (const TReference& R : C.Table) {
            ExpectClose(S->Evaluate(R.U, R.V), R.S, "Evaluate", R.U, R.V);
            const TSurfaceDerivatives D = S->EvaluateDerivatives(R.U, R.V);
            ExpectClose(D.S, R.S, "S", R.U, R.V);
            ExpectClose(D.Su, R.Su, "Su", R.U, R.V);
            ExpectClose(D.Sv, R.Sv, "Sv", R.U, R.V);
            ExpectClose(D.Suu, R.Suu, "Suu", R.U, R.V);
            ExpectClose(D.Svv, R.Svv, "Svv", R.U, R.V);
            ExpectClose(D.Suv, R.Suv, "Suv", R.U, R.V);
        }
    }
}

TEST(BSplineSurfaceTest, FirstDerivativesAreThoseOfTheFullEvaluation) {
    for (auto Make : {OpenReferenceSurface, NonUniformReferenceSurface}) {
        const auto S = Make();
        for (const double u : {0.0, 0.3, 0.5, 1.0, 2.0, -0.5})
            for (const double v : {0.0, 0.4, 0.9, 1.0, 2.5}) {
                const TSurfaceDerivatives D = S->EvaluateDerivatives(u, v);
                const TSurfaceFirstDerivatives F = S->EvaluateFirstDerivatives(u, v);
                EXPECT_EQ(F.S, D.S) << u << ", " << v;
                EXPECT_EQ(F.Su, D.Su) << u << ", " << v;
                EXPECT_EQ(F.Sv, D.Sv) << u << ", " << v;
            }
    }
}

TEST(BSplineSurfaceTest, EvaluationRebuildsTheKnotsOnlyAfterAChange) {
    // Evaluations keep the knots they built; a changed knot, order, net size or knot type is built
    // again by the next one.
    auto S = NonUniformReferenceSurface();
    const TMVector Before = S->EvaluateDerivatives(0.5, 0.5).S;
    S->SetKnotU(5, 0.2);  // below knot 4 (0.3): evaluation puts the knots in order again
    const TMVector After = S->EvaluateDerivatives(0.5, 0.5).S;
    EXPECT_EQ(S->KnotU(5), 0.3);
    EXPECT_GT(VectorDistance(Before, After), 1e-3);
    S->KnotType = ktOpen;
    S->EvaluateFirstDerivatives(0.5, 0.5);
    EXPECT_EQ(KnotsU(*S), (std::vector<double>{0, 0, 0, 1, 2, 3, 3, 3}));
    S->SetOrderU(4);
    S->EvaluateDerivatives(0.5, 0.5);
    EXPECT_EQ(KnotsU(*S), (std::vector<double>{0, 0, 0, 0, 1, 2, 2, 2, 2}));
    S->AppendU();
    S->EvaluateDerivatives(0.5, 0.5);
    EXPECT_EQ(KnotsU(*S), (std::vector<double>{0, 0, 0, 0, 1, 2, 3, 3, 3, 3}));
    ExpectClose(S->EvaluateDerivatives(0, 0).S, S->Point(0, 0).Vector(), "corner", 0, 0);
}

TEST(BSplineSurfaceTest, BilinearPatchAgainstHandValues) {
    // Corners (0,0,0), (2,0,1), (2,3,5), (0,3,2): S(u, v) = bilinear blend.
    auto S = MakeSurface(2, 2, 2, 2, [](int i, int j) -> TMVector {
        const TMVector C[2][2] = {{{0, 0, 0}, {0, 3, 2}}, {{2, 0, 1}, {2, 3, 5}}};
        return C[i][j];
    });
    S->UpdateKnots();
    for (const double u : {0.0, 0.25, 0.6, 1.0})
        for (const double v : {0.0, 0.5, 0.9, 1.0}) {
            const TMVector Expected{2 * u, 3 * v, (1 - u) * (1 - v) * 0 + u * (1 - v) * 1 + u * v * 5 + (1 - u) * v * 2};
            ExpectClose(S->Evaluate(u, v), Expected, "bilinear", u, v);
            const TSurfaceDerivatives D = S->EvaluateDerivatives(u, v);
            ExpectClose(D.Suv, {0, 0, 0 - 1 + 5 - 2}, "Suv", u, v);
            ExpectClose(D.Suu, {0, 0, 0}, "Suu", u, v);
        }
}

TEST(BSplineSurfaceTest, CornersAndOutsideTheRange) {
    auto S = OpenReferenceSurface();
    S->UpdateKnots();
    EXPECT_EQ(S->Evaluate(S->MinU(), S->MinV()), S->Point(0, 0).Vector());
    ExpectNear(S->Evaluate(S->MaxU(), S->MaxV()), S->Point(4, 3).Vector());
    EXPECT_EQ(S->Evaluate(-1, 0.5), ZeroVector);
    const TSurfaceDerivatives D = S->EvaluateDerivatives(2.5, 0.5);
    EXPECT_EQ(D.S, ZeroVector);
    EXPECT_EQ(D.Suv, ZeroVector);
    // Fewer points than the order: nothing to evaluate.
    auto Small = MakeSurface(3, 3, 4, 4, WavyPoint);
    EXPECT_EQ(Small->EvaluateDerivatives(0, 0).S, ZeroVector);
}

TEST(BSplineSurfaceTest, EvaluationAllocatesNothing) {
    auto S = NonUniformReferenceSurface();
    S->UpdateKnots();
    S->EvaluateDerivatives(0.5, 0.5);
    const long Before = AllocationCount();
    TMVector Sum = ZeroVector;
    for (int a = 0; a <= 20; ++a)
        for (int b = 0; b <= 20; ++b) {
            Sum = VectorAdd(Sum, S->Evaluate(a / 20.0, b / 20.0));
            Sum = VectorAdd(Sum, S->EvaluateDerivatives(a / 20.0, b / 20.0).Suv);
        }
    EXPECT_EQ(AllocationCount() - Before, 0);
    EXPECT_TRUE(std::isfinite(Sum.X));
}

// ---- Knots and range ----

TEST(BSplineSurfaceTest, OpenAndForcedBezierKnots) {
    auto S = MakeSurface(6, 5, 4, 3, WavyPoint);
    S->UpdateKnots();
    EXPECT_EQ(KnotsU(*S), (std::vector<double>{0, 0, 0, 0, 1, 2, 3, 3, 3, 3}));
    EXPECT_EQ(KnotsV(*S), (std::vector<double>{0, 0, 0, 1, 2, 3, 3, 3}));
    EXPECT_EQ(S->MinU(), 0);
    EXPECT_EQ(S->MaxU(), 3);
    EXPECT_EQ(S->MinV(), 0);
    EXPECT_EQ(S->MaxV(), 3);
    EXPECT_EQ(S->URange(), 3);

    auto B = MakeSurface(5, 3, 4, 4, WavyPoint);
    B->SetForcedBezier(true);
    B->SetOrderU(2);  // clears the flag
    EXPECT_FALSE(B->GetForcedBezier());
    B->SetForcedBezier(true);
    B->UpdateKnots();
    EXPECT_EQ(B->OrderU(), 5);
    EXPECT_EQ(B->OrderV(), 3);
    EXPECT_EQ(KnotsU(*B), (std::vector<double>{0, 0, 0, 0, 0, 1, 1, 1, 1, 1}));
    EXPECT_EQ(KnotsV(*B), (std::vector<double>{0, 0, 0, 1, 1, 1}));
}

TEST(BSplineSurfaceTest, StoredKnotsAndRanges) {
    auto N = MakeSurface(3, 2, 2, 2, WavyPoint, ktNonUniform);
    const double K[] = {0, 0, 2, 1, 3};
    for (int i = 0; i < 5; ++i) N->SetKnotU(i + 1, K[i]);
    N->UpdateKnotsU();
    EXPECT_EQ(KnotsU(*N), (std::vector<double>{0, 0, 2, 2, 3}));

    auto C = MakeSurface(5, 2, 2, 2, WavyPoint, ktCustom);
    const double Spanning[] = {0, 0, 1, 2, 3, 4, 4};
    for (int i = 0; i < 7; ++i) C->SetKnotU(i + 1, Spanning[i]);
    C->MinUParameter = 1;
    C->MaxUParameter = 10;
    EXPECT_EQ(C->MinU(), 1);
    EXPECT_EQ(C->MaxU(), 4);

    C->KnotType = ktPeriodic;
    ExpectError([&] { C->MinU(); }, "Undefinied Parameter range for BSpline Surface");
    ExpectError([&] { C->MaxV(); }, "Undefinied Parameter range for BSpline Surface");
    // Periodic knots are left as they stand.
    C->UpdateKnots();
    EXPECT_EQ(C->KnotU(3), 1);

    ExpectError([&] { C->KnotU(500); }, "TBSplineSurface - Knot 500 lies outside the 499 knots");
}

TEST(BSplineSurfaceTest, KnotTypeNames) {
    TBSplineSurface S;
    const std::pair<const char*, TKnotType> Cases[] = {{"KnotType=Open", ktOpen},
                                                      {"periodic", ktPeriodic},
                                                      {"KnotType=NonUniform", ktNonUniform},
                                                      {"custom", ktCustom}};
    const char* Names[] = {"Open", "Periodic", "NonUniform", "Custom"};
    for (auto [Text, Type] : Cases) {
        S.KnotTypeByString(Text);
        EXPECT_EQ(S.KnotType, Type) << Text;
        EXPECT_EQ(S.KnotTypeString(), Names[Type]);
    }
    ExpectError([&] { S.KnotTypeByString("KnotType=Bezier"); }, "TBSplineSurface.KnotTypeByString - Unknown knotType");
}

TEST(BSplineSurfaceTest, SetSizeResetsOrdersAndKnotType) {
    auto S = MakeSurface(4, 4, 3, 3, WavyPoint, ktNonUniform);
    S->SetNumULine(5);
    S->SetSize(6, 7);
    EXPECT_EQ(S->OrderU(), 4);
    EXPECT_EQ(S->OrderV(), 4);
    EXPECT_EQ(S->KnotType, ktOpen);
    EXPECT_EQ(S->NumULine(), 25);
    EXPECT_EQ(S->StoredLinePointCount(), 50);
    EXPECT_EQ(S->NumV(), 7);
}

TEST(BSplineSurfaceTest, KnotLimitsAreEnforced) {
    auto S = MakeSurface(4, 4, 4, 4, WavyPoint);
    ExpectError([&] { S->SetOrderU(496); },
                "TBSplineSurface - 4 control points of order 496 in U need 500 knots, more than the limit of 499");
    ExpectError([&] { S->SetOrderV(-1); }, "TBSplineSurface - Order -1 is negative");
    ExpectError([&] { S->SetOrderU(0); }, "TBSplineSurface - Order 0 has no basis functions");
    EXPECT_EQ(S->OrderU(), 4);
    // The net may outgrow the knots through the grid operations; evaluating then refuses.
    for (int i = 0; i < 492; ++i) S->AppendU();
    const char* Message = "TBSplineSurface - 496 control points of order 4 in U need 500 knots, more than the limit of 499";
    ExpectError([&] { S->Evaluate(0, 0); }, Message);
    ExpectError([&] { S->UpdateKnots(); }, Message);
    ExpectError([&] { SavedText(*S); }, Message);
    ExpectError([&] { S->SetForcedBezier(true); },
                "TBSplineSurface - 496 control points of order 496 in U need 992 knots, more than the limit of 499");
}

// ---- Sampling and drawing ----

TEST(BSplineSurfaceTest, SampleCountsByPurpose) {
    struct TCase {
        int Purpose, Count, NU, NV;
    };
    const TCase Cases[] = {{0, 1, 25, 25},   {0, 2, 18, 18},  {1, 1, 24, 20},  {1, 76, 24, 20}, {2, 1, 12, 10},
                           {3, 1, 6, 5},     {3, 2, 9, 7},    {4, 1, 54, 45},  {4, 200, 6, 5},  {5, 1, 54, 45},
                           {5, 2, 36, 30},   {6, 1, 24, 20},  {6, 2, 18, 15},  {7, 1, 60, 50},  {7, 2, 36, 30},
                           {8, 1, 24, 20},   {8, 151, 12, 10}, {9, 1, 60, 50}, {9, 500, 60, 50}, {10, 1, -1, -1},
                           {130, 2, 18, 15}};
    auto S = MakeSurface(6, 5, 4, 4, WavyPoint);
    for (const TCase& C : Cases) {
        int NU = -1, NV = -1;
        S->SampleCounts(static_cast<TSamplingPurpose>(C.Purpose), C.Count, NU, NV);
        EXPECT_EQ(NU, C.NU) << C.Purpose << " " << C.Count;
        EXPECT_EQ(NV, C.NV) << C.Purpose << " " << C.Count;
    }
}

TEST(BSplineSurfaceTest, SamplesSpreadOverKnotSpansAndMatchEvaluate) {
    auto S = NonUniformReferenceSurface();
    TDigitisationParameters U, V;
    S->SampleParameters(1, 1, U, V);
    EXPECT_EQ(U, (TDigitisationParameters{0, 1}));
    S->SampleParameters(7, 4, U, V);
    // Every one of the three u spans gets the same share: 0, 0.15, 0.3, 0.5, 0.7, 0.85, 1.
    ASSERT_EQ(U.size(), 7u);
    EXPECT_NEAR(U[1], 0.15, 1e-15);
    EXPECT_NEAR(U[3], 0.5, 1e-15);
    EXPECT_EQ(V.size(), 4u);

    const auto Mesh = S->CreateMeshSized(7, 4);
    ASSERT_EQ(Mesh->NumU(), 7);
    ASSERT_EQ(Mesh->NumV(), 4);
    EXPECT_EQ(Mesh->PointCount(), 28);
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(Mesh->Point(i, j).Vector(), S->Evaluate(U[static_cast<std::size_t>(i)], V[static_cast<std::size_t>(j)]));
    EXPECT_EQ(S->CreateMeshSized(0, 1)->NumU(), 2);
    EXPECT_EQ(S->CreatePolygons()->Count(), 2 * 24 * 24);
}

TEST(BSplineSurfaceTest, DrawsIsoLinesAndParameterLines) {
    auto S = OpenReferenceSurface();
    S->SetNumULine(3);
    S->SetNumVLine(2);
    S->SetLinePointCount(6);
    TRecordingGraphics G;
    S->Draw(G);
    // 3 + 2 lines of 6 points each.
    ASSERT_EQ(G.Calls.size(), 5u * 7);
    ExpectNear(G.Calls[0].Points[0], S->Point(0, 0).Vector());
    ExpectNear(G.Calls[7 + 5].Points[0], S->Evaluate(1, 2));

    TRecordingGraphics Iso;
    S->DrawIsoLine(1, 0.5, Iso);
    ASSERT_EQ(Iso.Calls.size(), 7u);
    ExpectNear(Iso.Calls[5].Points[0], S->Evaluate(2, 1));
    S->DrawIsoLine(2, 0.5, Iso);
    EXPECT_EQ(Iso.Calls.size(), 7u);

    TRecordingGraphics Net;
    S->DrawControlNet(Net);
    EXPECT_EQ(Net.Calls.size(), 5u * 5 + 4u * 6);

    TPolylineList Lines;
    S->AddParameterLines(Lines, 1, 1);  // 4 NumU by 4 NumV positions
    ASSERT_EQ(Lines.Count(), 20 + 16);
    EXPECT_EQ(Lines.Items(0)->Count(), 6);

    // Fewer points than the order: nothing is drawn or listed.
    auto Small = MakeSurface(3, 5, 4, 4, WavyPoint);
    TRecordingGraphics None;
    Small->Draw(None);
    Small->DrawIsoLine(0, 0.5, None);
    EXPECT_TRUE(None.Calls.empty());
    TPolylineList NoLines;
    Small->AddParameterLines(NoLines, 0, 1);
    EXPECT_EQ(NoLines.Count(), 0);
}

// ---- Copies, edges and reshaping ----

TEST(BSplineSurfaceTest, EdgeCurvesCarryTheBoundaryRows) {
    auto S = NonUniformReferenceSurface();
    S->KnotType = ktCustom;
    S->MinUParameter = 0.1;
    S->MaxUParameter = 0.9;
    S->MinVParameter = -1;
    S->MaxVParameter = 2;
    struct TCase {
        int Code, Count, Order;
        TMVector FirstPoint, LastPoint;
        double Lower, Upper;
    };
    const TCase Cases[] = {{0, 5, 4, S->Point(0, 0).Vector(), S->Point(0, 4).Vector(), 0, 1},
                           {1, 5, 3, S->Point(0, 0).Vector(), S->Point(4, 0).Vector(), 0.1, 0.9},
                           {2, 5, 4, S->Point(4, 0).Vector(), S->Point(4, 4).Vector(), 0, 1},
                           {3, 5, 3, S->Point(0, 4).Vector(), S->Point(4, 4).Vector(), 0.1, 0.9},
                           {9, 5, 4, S->Point(4, 0).Vector(), S->Point(4, 4).Vector(), 0, 1}};
    for (const TCase& C : Cases) {
        const auto E = S->EdgeCurve(C.Code);
        EXPECT_EQ(E->Count(), C.Count) << C.Code;
        EXPECT_EQ(E->GetOrder(), C.Order) << C.Code;
        EXPECT_EQ(E->KnotType, ktCustom);
        EXPECT_EQ(E->First()->Vector(), C.FirstPoint) << C.Code;
        EXPECT_EQ(E->Last()->Vector(), C.LastPoint) << C.Code;
        EXPECT_EQ(E->MinTParameter, C.Lower) << C.Code;
        EXPECT_EQ(E->MaxTParameter, C.Upper) << C.Code;
        EXPECT_EQ(E->Knot(5), C.Order == 4 ? 0.4 : 0.7) << C.Code;
    }
    S->KnotType = ktNonUniform;
    const auto Edge = S->EdgeCurve(1);
    for (const double u : {0.0, 0.25, 0.6, 1.0}) ExpectNear(Edge->EvaluatePoint(u), S->Evaluate(u, 0));
}

TEST(BSplineSurfaceTest, CopiesKeepKnotsAndTakeTheEffectiveRange) {
    auto S = NonUniformReferenceSurface();
    S->KnotType = ktCustom;
    S->MinUParameter = -5;
    S->MaxUParameter = 0.8;
    S->MinVParameter = 0.2;
    S->MaxVParameter = 7;
    S->SetNumULine(9);
    const auto C = CloneBSplineSurface(*S);
    EXPECT_EQ(C->OrderU(), 3);
    EXPECT_EQ(KnotsV(*C), KnotsV(*S));
    EXPECT_EQ(C->MinUParameter, 0);
    EXPECT_EQ(C->MaxUParameter, 0.8);
    EXPECT_EQ(C->MinVParameter, 0.2);
    EXPECT_EQ(C->MaxVParameter, 1);
    EXPECT_EQ(C->NumULine(), 25);
    EXPECT_EQ(ShapeDistance(*S, *C), 0);

    const auto T = S->CreateTransformed(MatrixTranslation(0, 0, 1));
    EXPECT_EQ(T->MinUParameter, -5);
    EXPECT_EQ(T->KnotType, ktCustom);
    T->UpdateKnots();
    ExpectNear(T->Evaluate(0.5, 0.5), VectorAdd(S->Evaluate(0.5, 0.5), {0, 0, 1}));

    // A Periodic surface has no range to copy; the target stays as it was.
    auto P = OpenReferenceSurface();
    P->KnotType = ktPeriodic;
    auto Target = MakeSurface(2, 2, 2, 2, WavyPoint);
    ExpectError([&] { Target->Assign(*P); }, "Undefinied Parameter range for BSpline Surface");
    EXPECT_EQ(Target->NumU(), 2);
    EXPECT_EQ(Target->OrderU(), 2);
}

TEST(BSplineSurfaceTest, ReversingAndSwappingKeepTheShape) {
    auto S = MakeSurface(5, 4, 4, 3, WavyPoint, ktNonUniform);
    const double U[] = {0, 0, 0, 0, 1, 3, 3, 3, 3};
    for (int i = 0; i < 9; ++i) S->SetKnotU(i + 1, U[i]);
    const double V[] = {0, 0, 0, 0.5, 2, 2, 2};
    for (int i = 0; i < 7; ++i) S->SetKnotV(i + 1, V[i]);
    auto R = CloneBSplineSurface(*S);
    R->ReverseU();
    EXPECT_EQ(KnotsU(*R), (std::vector<double>{0, 0, 0, 0, 2, 3, 3, 3, 3}));
    EXPECT_LT(ShapeDistance(*S, *R, [](double u) { return 3 - u; }, [](double v) { return v; }), 1e-12);
    R->ReverseV();
    EXPECT_EQ(KnotsV(*R), (std::vector<double>{0, 0, 0, 1.5, 2, 2, 2}));
    EXPECT_LT(ShapeDistance(*S, *R, [](double u) { return 3 - u; }, [](double v) { return 2 - v; }), 1e-12);

    auto W = CloneBSplineSurface(*S);
    W->MinUParameter = 7;
    W->SwapUV();
    EXPECT_EQ(W->NumU(), 4);
    EXPECT_EQ(W->OrderU(), 3);
    EXPECT_EQ(W->MinVParameter, 7);
    EXPECT_EQ(KnotsU(*W), KnotsV(*S));
    W->UpdateKnots();
    S->UpdateKnots();
    for (const double u : {0.0, 1.3, 3.0})
        for (const double v : {0.0, 0.7, 2.0}) ExpectNear(W->Evaluate(v, u), S->Evaluate(u, v));

    // Open knots are rebuilt: only the net and the orders change.
    auto O = MakeSurface(5, 4, 4, 3, WavyPoint);
    O->UpdateKnots();
    auto OR = CloneBSplineSurface(*O);
    OR->ReverseU();
    EXPECT_EQ(KnotsU(*OR), KnotsU(*O));
    EXPECT_LT(ShapeDistance(*O, *OR, [](double u) { return 2 - u; }, [](double v) { return v; }), 1e-12);
}

// ---- Text block ----

TEST(BSplineSurfaceTextTest, OpenSurfacesWriteOrdersAndNet) {
    auto S = MakeSurface(2, 2, 2, 2, WavyPoint);
    EXPECT_EQ(SavedText(*S),
              "OrderU=2\nOrderV=2\nNumU=2\nNumV=2\n"
              "     0.000000      0.000000      0.000000      1.000\n"
              "     0.300000      1.000000      0.909297      1.000\n"
              "     1.000000     -0.200000      0.841471      1.000\n"
              "     1.300000      0.942857      0.141120      1.000\n");
    S->SetForcedBezier(true);
    EXPECT_EQ(SavedText(*S).substr(0, 30), "ForcedBezier\nOrderU=2\nOrderV=2");
    TBSplineSurface Read;
    LoadText(Read, SavedText(*S));
    EXPECT_TRUE(Read.GetForcedBezier());
    EXPECT_EQ(Read.OrderU(), 2);
    EXPECT_EQ(SavedText(Read), SavedText(*S));

}

TEST(BSplineSurfaceTextTest, PeriodicSurfaceSavesItsKnotsAndReadsBack) {
    // Unclamped knots 0, 1, 2, ...: the range written is knot k to knot n + 1.
    auto S = MakeSurface(5, 4, 3, 2, WavyPoint, ktPeriodic);
    for (int i = 1; i <= 8; ++i) S->SetKnotU(i, i - 1);
    for (int i = 1; i <= 6; ++i) S->SetKnotV(i, 0.5 * (i - 1));
    const std::string Text = SavedText(*S);
    EXPECT_EQ(Text.substr(0, Text.find("OrderU=")),
              "KnotType=Periodic\nKnotU=[0 1 2 3 4 5 6 7]\nKnotV=[0 0.5 1 1.5 2 2.5]\nMinUParameter=2\n"
              "MinVParameter=0.5\nMaxUParameter=5\nMaxVParameter=2\n");
    TBSplineSurface Read;
    LoadText(Read, Text);
    EXPECT_EQ(Read.KnotType, ktPeriodic);
    EXPECT_EQ(Read.NumU(), 5);
    EXPECT_EQ(Read.OrderU(), 3);
    EXPECT_EQ(Read.OrderV(), 2);
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(Read.KnotU(i), i - 1) << i;
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(Read.KnotV(i), 0.5 * (i - 1)) << i;
    EXPECT_EQ(SavedText(Read), Text);
}

TEST(BSplineSurfaceTextTest, StoredKnotsRoundTripExactly) {
    auto S = MakeSurface(40, 40, 4, 4, WavyPoint, ktNonUniform);
    for (int i = 1; i <= 44; ++i) {
        S->SetKnotU(i, std::clamp(i - 4, 0, 37) / 7.0);
        S->SetKnotV(i, std::clamp(i - 4, 0, 37) * 0.1);
    }
    const std::string Text = SavedText(*S);
    EXPECT_EQ(Text.substr(0, 40), "KnotType=NonUniform\nKnotU=[0 0 0 0 0.142");
    EXPECT_NE(Text.find("\nMinUParameter=0\nMinVParameter=0\nMaxUParameter=5.28571428571429\nMaxVParameter=3.7\n"
                        "OrderU=4\nOrderV=4\nNumU=40\n"),
              std::string::npos);
    TBSplineSurface Read;
    LoadText(Read, Text);
    EXPECT_EQ(Read.KnotType, ktNonUniform);
    ASSERT_EQ(Read.NumU(), 40);
    for (int i = 1; i <= 44; ++i) {
        EXPECT_EQ(Read.KnotU(i), StrToFloat(FloatToStr(S->KnotU(i)))) << i;
        EXPECT_EQ(Read.KnotV(i), StrToFloat(FloatToStr(S->KnotV(i)))) << i;
    }
    EXPECT_EQ(SavedText(Read), Text);

    // A Custom surface writes its effective range, which reads back as its limits.
    auto C = NonUniformReferenceSurface();
    C->KnotType = ktCustom;
    C->MinUParameter = -1;
    C->MaxUParameter = 0.75;
    C->MinVParameter = 0.125;
    C->MaxVParameter = 9;
    TBSplineSurface CR;
    LoadText(CR, SavedText(*C));
    EXPECT_EQ(CR.MinUParameter, 0);
    EXPECT_EQ(CR.MaxUParameter, 0.75);
    EXPECT_EQ(CR.MinVParameter, 0.125);
    EXPECT_EQ(CR.MaxVParameter, 1);
    EXPECT_EQ(SavedText(CR), SavedText(*C));
}

TEST(BSplineSurfaceTextTest, ReadsByLineOrderAndRefusesDamage) {
    TBSplineSurface S;
    LoadText(S,
             "  knottype = custom\r\nKnotU=[0 0,5 1 1]\r\nKnotV=[0\t0 2 2]\r\nA= 0.25\r\nB=1e-1\r\nC=3\r\nD=4\r\n"
             "ForcedBezier\r\nX=2\r\nY=2\r\nNumU=2\r\nNumV=2\r\n1 2 3 4\r\n1 2 4 1\r\n5 6 7 0.5\r\n5 6 8 1\r\n");
    EXPECT_EQ(S.KnotType, ktCustom);
    EXPECT_EQ(S.KnotU(2), 0.5);
    EXPECT_EQ(S.KnotV(3), 2);
    EXPECT_EQ(S.MinVParameter, 0.1);
    EXPECT_EQ(S.MaxVParameter, 4);
    EXPECT_TRUE(S.GetForcedBezier());
    EXPECT_EQ(S.OrderU(), 2);
    EXPECT_EQ(S.Point(1, 0).W, 0.5);

    const std::string Header = "KnotType=NonUniform\nKnotU=[0 0 1 1]\nKnotV=[0 0 1 1]\n";
    const std::string Net22 = "0 0 0 1\n0 1 0 1\n1 0 0 1\n1 1 0 1\n";
    const std::pair<std::string, const char*> Bad[] = {
        {"KnotType=Bezier\n", "TBSplineSurface.KnotTypeByString - Unknown knotType"},
        {Header + "MinUParameter=x\n", "Error in field BSplineSurface.MinUParameter"},
        {Header + "MinUParameter=0\nMinVParameter=\n", "Error in field BSplineSurface.MinVParameter"},
        {Header + "MinUParameter=0\nMinVParameter=0\nMaxUParameter=1,5\n", "Error in field BSplineSurface.MaxUParameter"},
        {Header + "MinUParameter=0\nMinVParameter=0\nMaxUParameter=1\nMaxVParameter=?\n",
         "Error in field BSplineSurface.MaxVParameter"},
        {"KnotType=NonUniform\nKnotU=[0 x]\n", "Unable to convert string to number (x)"},
        {"OrderU=four\n", "Error in field BSplineSurface.OrderU"},
        {"OrderU=-1\n", "Error in field BSplineSurface.OrderU"},
        {"OrderU=2\nOrderV=2.5\n", "Error in field BSplineSurface.OrderV"},
        {"OrderU=2\nOrderV=2\nNumU=498\nNumV=2\n",
         "TBSplineSurface - 498 control points of order 2 in U need 500 knots, more than the limit of 499"},
        {"ForcedBezier\nOrderU=2\nOrderV=2\nNumU=250\nNumV=2\n",
         "TBSplineSurface - 250 control points of order 250 in U need 500 knots, more than the limit of 499"},
        {"OrderU=2\nOrderV=2\nNumU=2\nNumV=2\n0 0 0 1\n", "I/O Result 100"},
        // Values that read but make no surface.
        {"OrderU=0\nOrderV=2\nNumU=2\nNumV=2\n" + Net22, "B-spline surface U order 0 is less than 1"},
        {"OrderU=2\nOrderV=3\nNumU=2\nNumV=2\n" + Net22, "B-spline surface V order 3 exceeds its 2 points"},
        {"KnotType=NonUniform\nKnotU=[1 1 1 1]\nKnotV=[0 0 1 1]\nA=0\nB=0\nC=1\nD=1\nOrderU=2\nOrderV=2\nNumU=2\nNumV=2\n" + Net22,
         "B-spline surface U knots span no parameter range"},
        {"KnotType=NonUniform\nKnotU=[0 0 1 1]\nKnotV=[0 1]\nA=0\nB=0\nC=1\nD=1\nOrderU=2\nOrderV=2\nNumU=2\nNumV=2\n" + Net22,
         "B-spline surface V has 2 knots where 2 points of order 2 need 4"},
        {"", "Error in field BSplineSurface.OrderU"}};
    for (const auto& [Text, Message] : Bad) {
        TBSplineSurface Target;
        ExpectError([&] { LoadText(Target, Text); }, Message);
    }
    std::string Many = "KnotType=NonUniform\nKnotU=[";
    for (int i = 0; i < 500; ++i) Many += "1 ";
    TBSplineSurface Target;
    ExpectError([&] { LoadText(Target, Many + "]\n"); },
                "TBSplineSurface.LoadFromText - 500 knots given, more than the limit of 499");
    EXPECT_EQ(Target.KnotU(1), 0);
}

}  // namespace
}  // namespace sarnova
