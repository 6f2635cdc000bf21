#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ExchangeFixtures.h"
#include "exchange/IGESEntities.h"
#include "foundation/NumberText.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

// Appends an entity of Type (its own class) whose parameters are Type and Values.
template <class T = TIGESEntity>
T& AddEntity(TIGESFile& F, int Type, const std::vector<double>& Values, int Matrix = 0) {
    auto E = TIGESEntity::CreateFromDirectory(Format("%8d", {Type}) + std::string(152, ' '), &F);
    E->TransformationMatrix = Matrix;
    E->AddIntegerParameter(Type);
    for (double V : Values) E->AddRealParameter(V);
    E->EndParameters();
    auto* Result = dynamic_cast<T*>(F.Add(std::move(E)));
    EXPECT_NE(Result, nullptr);
    return *Result;
}

void ExpectPoint(const TRPoint& P, double X, double Y, double Z) {
    EXPECT_NEAR(P.X, X, 1e-12);
    EXPECT_NEAR(P.Y, Y, 1e-12);
    EXPECT_NEAR(P.Z, Z, 1e-12);
}

// Parameters of a type 126 curve of N points (x = i) with the given knots and range.
std::vector<double> CurveParameters(int N, int Degree, const std::vector<double>& Knots, double V0, double V1) {
    std::vector<double> P = {double(N - 1), double(Degree), 0, 0, 1, 0};
    P.insert(P.end(), Knots.begin(), Knots.end());
    for (int I = 0; I < N; ++I) P.push_back(1);
    for (int I = 0; I < N; ++I) P.insert(P.end(), {double(I), double(I % 2), 0});
    P.insert(P.end(), {V0, V1, 0, 0, 1});
    return P;
}

}  // namespace

TEST(IGESEntities, CircularArcs) {
    TIGESFile F;
    // Quarter arc about (1, 1) at z = 2, radius 1, from 0 to 90 degrees.
    auto& Quarter = AddEntity<TIGESEntity100>(F, 100, {2, 1, 1, 2, 1, 1, 2});
    EXPECT_FALSE(Quarter.IsFullCircle());
    const TPolyline& Q = Quarter.GetPolyline();
    ASSERT_EQ(Q.Count(), 91);
    ExpectPoint(*const_cast<TPolyline&>(Q).Point(45), 1 + std::cos(std::numbers::pi / 4), 1 + std::sin(std::numbers::pi / 4), 2);
    const TMArc A = Quarter.GetArc().Frame();
    EXPECT_NEAR(A.Radius, 1, 1e-12);
    EXPECT_NEAR(A.Sweep, std::numbers::pi / 2, 1e-12);
    // The arc's middle point lies on the counter-clockwise quarter.
    ExpectPoint(*Quarter.GetArc().GetPoint(1), 1 + std::cos(std::numbers::pi / 4), 1 + std::sin(std::numbers::pi / 4), 2);

    auto& Full = AddEntity<TIGESEntity100>(F, 100, {0, 0, 0, 3, 0, 3, 0});
    EXPECT_TRUE(Full.IsFullCircle());
    EXPECT_EQ(Full.GetPolyline().Count(), 361);
    EXPECT_NEAR(Full.GetCircle().Radius(), 3, 1e-12);

    // Placed by a matrix: a translation by (10, 0, 0).
    AddEntity<TIGESEntity124>(F, 124, {1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0});
    auto& Moved = AddEntity<TIGESEntity100>(F, 100, {0, 0, 0, 1, 0, 0, 1}, 5);
    ExpectPoint(*Moved.GetArc().GetPoint(0), 11, 0, 0);
    ExpectPoint(*Moved.GetPolyline().Point(90), 10, 1, 0);
}

TEST(IGESEntities, CopiousData) {
    TIGESFile F;
    const TPolyline& Pairs = AddEntity<TIGESEntity106>(F, 106, {1, 3, 7, 0, 0, 1, 0, 1, 1}).GetPolyline();
    ASSERT_EQ(Pairs.Count(), 3);
    ExpectPoint(*const_cast<TPolyline&>(Pairs).Point(2), 1, 1, 7);
    const TPolyline& Sextuples = AddEntity<TIGESEntity106>(F, 106, {3, 2, 1, 2, 3, 9, 9, 9, 4, 5, 6, 9, 9, 9}).GetPolyline();
    ASSERT_EQ(Sextuples.Count(), 2);
    ExpectPoint(*const_cast<TPolyline&>(Sextuples).Point(1), 4, 5, 6);
    // A count that the parameters do not hold is refused before anything is made.
    auto& Huge = AddEntity<TIGESEntity106>(F, 106, {2, 1e8, 0, 0, 0});
    EXPECT_NE(ErrorOf([&] { Huge.GetPolyline(); }).find("directory entry 5: copious data points need"), std::string::npos);
    auto& Negative = AddEntity<TIGESEntity106>(F, 106, {2, -3});
    EXPECT_NE(ErrorOf([&] { Negative.GetPolyline(); }).find("is not a valid count"), std::string::npos);
}

TEST(IGESEntities, CompositeCurves) {
    TIGESFile F;
    AddEntity(F, 110, {0, 0, 0, 1, 0, 0});       // DE 1
    AddEntity(F, 110, {1, 0, 0, 1, 1, 0});       // DE 3, touching
    AddEntity(F, 110, {1, 1.5, 0, 0, 1.5, 0});   // DE 5, after a gap
    AddEntity(F, 104, {1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0});  // DE 7, a conic
    EXPECT_EQ(AddEntity<TIGESEntity102>(F, 102, {2, 1, 3}).GetPolyline().Count(), 3);
    EXPECT_EQ(AddEntity<TIGESEntity102>(F, 102, {2, 1, 5}).GetPolyline().Count(), 4);
    auto& Conic = AddEntity<TIGESEntity102>(F, 102, {2, 1, 7});
    EXPECT_EQ(ErrorOf([&] { Conic.GetPolyline(); }), "Entity 104 not supported in Composite Curve Entity");
    auto& Dangling = AddEntity<TIGESEntity102>(F, 102, {1, 99});
    EXPECT_NE(ErrorOf([&] { Dangling.GetPolyline(); }).find("member 99 is not a directory entry"), std::string::npos);
}

TEST(IGESEntities, BSplineCurveKnots) {
    TIGESFile F;
    // Five points of order 4: clamped unit knots on [0, 2] are what an Open curve has.
    auto& Open = AddEntity<TIGESEntity126>(F, 126, CurveParameters(5, 3, {0, 0, 0, 0, 1, 2, 2, 2, 2}, 0, 2));
    EXPECT_TRUE(Open.IsSupported());
    TBSpline& S = Open.GetSpline();
    EXPECT_EQ(S.KnotType, ktOpen);
    EXPECT_EQ(S.Count(), 5);
    EXPECT_EQ(S.GetOrder(), 4);
    ExpectPoint(*S.Point(3), 3, 1, 0);

    auto& Scaled = AddEntity<TIGESEntity126>(F, 126, CurveParameters(5, 3, {0, 0, 0, 0, 0.5, 1, 1, 1, 1}, 0, 1));
    TBSpline& C = Scaled.GetSpline();
    EXPECT_EQ(C.KnotType, ktCustom);
    EXPECT_DOUBLE_EQ(C.Knot(5), 0.5);
    EXPECT_DOUBLE_EQ(C.MinTParameter, 0);
    EXPECT_DOUBLE_EQ(C.MaxTParameter, 1);

    // Written and read again, both keep their knots and shape.
    for (TBSpline* Curve : {&S, &C}) {
        auto& Copy = static_cast<TIGESEntity126&>(*F.Add(std::make_unique<TIGESEntity126>()));
        Copy.SetSpline(*Curve);
        TBSpline& Back = Copy.GetSpline();
        EXPECT_EQ(Back.KnotType, Curve->KnotType);
        for (double T : {0.1, 0.5, 0.9}) {
            const TMVector A = Back.EvaluatePoint(T), B = Curve->EvaluatePoint(T);
            EXPECT_NEAR(A.X, B.X, 1e-12);
            EXPECT_NEAR(A.Y, B.Y, 1e-12);
        }
    }

    // A short parameter list is refused naming the entry; a very long curve is not supported.
    auto& Short = AddEntity<TIGESEntity126>(F, 126, {100000, 3, 0, 0, 1, 0});
    EXPECT_NE(ErrorOf([&] { Short.ControlPolygon(); }).find("B-spline curve points need"), std::string::npos);
    EXPECT_FALSE(AddEntity<TIGESEntity126>(F, 126, {599, 3}).IsSupported());
}

TEST(IGESEntities, BSplineSurfaces) {
    TIGESFile F;
    // A 3 x 2 net of orders 3 and 2 with the knots an Open surface has.
    std::vector<double> P = {2, 1, 2, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1};
    for (int I = 0; I < 6; ++I) P.push_back(1);
    for (int J = 0; J < 2; ++J)
        for (int I = 0; I < 3; ++I) P.insert(P.end(), {double(I), double(J), double(I * J)});
    P.insert(P.end(), {0, 1, 0, 1});
    auto& E = AddEntity<TIGESEntity128>(F, 128, P);
    EXPECT_TRUE(E.IsSupported());
    TBSplineSurface& S = E.GetSurface();
    EXPECT_EQ(S.NumU(), 3);
    EXPECT_EQ(S.NumV(), 2);
    EXPECT_EQ(S.OrderU(), 3);
    EXPECT_EQ(S.OrderV(), 2);
    EXPECT_EQ(S.KnotType, ktOpen);
    ExpectPoint(S.Point(2, 1), 2, 1, 2);
    // Bilinear surfaces are left to the mesh representation.
    EXPECT_FALSE(AddEntity<TIGESEntity128>(F, 128, {1, 1, 1, 1}).IsSupported());
    auto& Short = AddEntity<TIGESEntity128>(F, 128, {400, 400, 3, 3});
    EXPECT_NE(ErrorOf([&] { Short.GetSurface(); }).find("directory entry 5: B-spline surface knots, weights and points need"),
              std::string::npos);
}

TEST(IGESEntities, WeightsOtherThanOneAreReported) {
    TIGESFile F;
    std::vector<double> P = CurveParameters(5, 3, {0, 0, 0, 0, 1, 2, 2, 2, 2}, 0, 2);
    P[6 + 9 + 2] = 0.5;
    auto& E = AddEntity<TIGESEntity126>(F, 126, P);
    const auto Lines = ConsoleLinesOf([&] { E.GetSpline(); });
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_NE(Lines[0].find("weights other than 1"), std::string::npos);
}
