#include "foundation/GeomBox.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "foundation/Errors.h"
#include "foundation/Geom.h"

using namespace sarnova;

namespace {

void ExpectVector(const TMVector& V, double X, double Y, double Z, double Tol = 1e-12) {
    EXPECT_NEAR(V.X, X, Tol);
    EXPECT_NEAR(V.Y, Y, Tol);
    EXPECT_NEAR(V.Z, Z, Tol);
}

std::unique_ptr<TRPoints> PointsOf(std::initializer_list<TMVector> Vs) {
    auto L = std::make_unique<TRPoints>();
    for (const auto& V : Vs) L->Add(NewRPointFromVector(V));
    return L;
}

}  // namespace

TEST(Boxes, EmptyBoxPassesThroughAsAValue) {
    TMBox B;
    InitEmptyBox(B);
    TRPoint(TMVector{1, 2, 3}).AddToBox(B);
    EXPECT_EQ(B.Max, (TMVector{1, 2, 3}));
    EXPECT_EQ(B.Min, (TMVector{1, 2, 3}));

    const TMBox A = MakeBox(0, 0, 0, 1, 1, 1);
    EXPECT_EQ(UniteBoxes(EmptyBox, A), A);
    TMBox R = A;
    EXPECT_FALSE(IntersectBoxes(A, EmptyBox, R));
    EXPECT_EQ(R, EmptyBox);
    TMBox E = EmptyBox;
    TransformBox(E, MatrixFromRotationAngles(0.3, 0.2, 0.1));
    EXPECT_EQ(E, EmptyBox);
}

TEST(Boxes, IntersectBoxes) {
    const TMBox A = MakeBox(0, 0, 0, 1, 1, 1);
    TMBox R;
    EXPECT_TRUE(IntersectBoxes(A, MakeBox(1, 0, 0, 2, 1, 1), R));  // touching along a face
    EXPECT_EQ(R, MakeBox(1, 0, 0, 1, 1, 1));
    EXPECT_TRUE(IntersectBoxes(A, MakeBox(0.5, -1, 0.5, 3, 0.5, 3), R));
    EXPECT_EQ(R, MakeBox(0.5, 0, 0.5, 1, 0.5, 1));
    EXPECT_FALSE(IntersectBoxes(A, MakeBox(2, 0, 0, 3, 1, 1), R));
    EXPECT_EQ(R, EmptyBox);
}

TEST(Boxes, SizesAndShapes) {
    EXPECT_TRUE(BoxHasArea(MakeBox(0, 0, 5, 2, 3, 5)));
    EXPECT_FALSE(BoxHasArea(MakeBox(0, 1, 1, 2, 1, 1)));
    EXPECT_EQ(BoxMaxSize(MakeBox(0, 0, 0, 2, 5, 3)), 5);
    TMBox B = MakeBox(0, 0, 0, 2, 4, 6);
    ScaleBox(B, 0.5);
    EXPECT_EQ(B, MakeBox(0.5, 1, 1.5, 1.5, 3, 4.5));
    EXPECT_TRUE(VectorInBox({1.5, 3, 4.5}, B));
    EXPECT_FALSE(TRPoint(TMVector{1.5, 3, 4.6}).InsideBox(B));

    const std::pair<double, double> Cases[][2] = {
        {{2, 5}, {-5, 5}}, {{-3, -1}, {-3, 3}}, {{-4, 4}, {-4, 4}}};
    for (const auto& [In, Out] : Cases) {
        const TMBox S = CopyBoxSymmetricY(MakeBox(1, In.first, 2, 3, In.second, 4));
        EXPECT_EQ(S, MakeBox(1, Out.first, 2, 3, Out.second, 4)) << In.first << " " << In.second;
    }
}

TEST(Boxes, TransformBoxHoldsEveryTransformedCorner) {
    const TMBox B = MakeBox(-1, -2, -3, 4, 5, 6);
    const TMMatrix M = MatrixMultiply(MatrixTranslation(1, 2, 3), MatrixRotationAboutAxis({1, 1, 0}, 0.7));
    TMBox T = B;
    TransformBox(T, M);
    for (int I = 0; I < 8; ++I) {
        const TMVector C{(I & 1) ? B.Max.X : B.Min.X, (I & 2) ? B.Max.Y : B.Min.Y, (I & 4) ? B.Max.Z : B.Min.Z};
        const TMVector P = MatrixTransformPoint(M, C);
        EXPECT_TRUE(VectorInBox(P, T)) << I;
    }
    // A quarter turn about z of the unit cube lands exactly on [-1, 0] x [0, 1] x [0, 1].
    TMBox Cube = MakeBox(0, 0, 0, 1, 1, 1);
    TransformBox(Cube, MatrixRotationAboutAxis(ZAxisVector, std::numbers::pi / 2));
    ExpectVector(Cube.Min, -1, 0, 0);
    ExpectVector(Cube.Max, 0, 1, 1);
}

TEST(Planes, PlaneCutsBox) {
    const TMBox B = MakeBox(0, 0, 0, 1, 1, 1);
    EXPECT_TRUE(PlaneCutsBox({ZAxisVector, 0.5}, B));
    EXPECT_FALSE(PlaneCutsBox({ZAxisVector, 2}, B));
    EXPECT_FALSE(PlaneCutsBox({ZAxisVector, 1}, B));  // a face in the plane counts as below
    EXPECT_TRUE(PlaneCutsBox({ZAxisVector, 0}, B));
}

TEST(Planes, ProjectPointsOntoPlane) {
    auto Owned = PointsOf({{1, 2, 3}, {-4, 5, 6}});
    TRPoints& L = *Owned;
    L.Point(0)->Tag = 9;
    ProjectPointsOntoPlane(L, {ZAxisVector, 1}, 2);
    ExpectVector(L.Point(0)->Vector(), 1, 2, 1);
    ExpectVector(L.Point(1)->Vector(), -4, 5, 1);
    EXPECT_EQ(L.Point(0)->Tag, 9);

    const TMPlane Tilted = PlaneFromNormalAndPoint({1, 0, 1}, {0, 0, 0});
    ProjectPointsOntoPlane(L, Tilted, 7);  // along the normal
    EXPECT_NEAR(DistanceFromPointToPlane(Tilted, L.Point(1)->Vector()), 0, 1e-12);
    EXPECT_NEAR(L.Point(1)->Y, 5, 1e-12);

    auto M = PointsOf({{1, 2, 3}});
    try {
        ProjectPointsOntoPlane(*M, YZPlane, 2);
        ADD_FAILURE();
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "Geom.ProjectPointsOntoPlane - Projection is Parallel to Plane");
    }
    ExpectVector(M->Point(0)->Vector(), 1, 2, 3);
}

TEST(Planes, PlaneExtentsAndRectangle) {
    const TMBox B = MakeBox(-1, -2, -3, 1, 2, 3);
    EXPECT_EQ(PlaneExtents(XYPlane, B), MakeRealRect(-1, -2, 1, 2));
    const auto Corners = PlaneBoxRectangle({XAxisVector, 5}, B);
    // PlaneAxes of the x normal are U = y and V = z.
    ExpectVector(Corners[0], 5, -2, -3);
    ExpectVector(Corners[2], 5, 2, 3);
    EXPECT_THROW(PlaneExtents({ZeroVector, 0}, B), EGeometryError);
}

TEST(Planes, FitPlaneToPointsLeastSquares) {
    const auto Flat = PointsOf({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}});
    TMPlane P;
    FitPlaneToPoints(*Flat, 2, P);
    ExpectVector(P.Normal, 0, 0, 1);
    EXPECT_NEAR(P.Distance, 1, 1e-12);

    // x = 1 + y - z, fitted as x over (y, z): normal (1, -1, 1) / sqrt 3, distance 1 / sqrt 3.
    const auto Slope = PointsOf({{1, 0, 0}, {2, 1, 0}, {0, 0, 1}, {3, 3, 1}});
    FitPlaneToPoints(*Slope, 0, P);
    const double R = 1 / std::sqrt(3.0);
    ExpectVector(P.Normal, R, -R, R);
    EXPECT_NEAR(P.Distance, R, 1e-12);

    // A plane parallel to the fitted axis has no such fit: refused, not answered with zeros.
    const TMPlane Before{{0, 1, 0}, 7};
    P = Before;
    EXPECT_THROW(FitPlaneToPoints(*Flat, 0, P), EGeometryError);
    EXPECT_EQ(P, Before);
    EXPECT_THROW(FitPlaneToPoints(TRPoints(), 2, P), EGeometryError);
    FitPlaneToPoints(*Flat, 4, P);
    EXPECT_EQ(P, Before);
}

TEST(Planes, FitPlaneToPointsOrthogonal) {
    // A tilted square through (0, 0, 1): normal along (1, 0, -1) in either sense.
    const auto Square = PointsOf({{0, 0, 1}, {1, 0, 2}, {0, 1, 1}, {1, 1, 2}});
    TMPlane P;
    FitPlaneToPoints(*Square, 3, P);
    const double R = 1 / std::sqrt(2.0);
    const double S = P.Normal.X > 0 ? 1 : -1;
    ExpectVector(P.Normal, S * R, 0, -S * R, 1e-9);
    EXPECT_NEAR(P.Distance, -S * R, 1e-9);

    // Points on a line have no single plane: the caller's plane stays.
    const TMPlane Before{{0, 1, 0}, 7};
    P = Before;
    FitPlaneToPoints(*PointsOf({{1, 0, 0}, {2, 0, 0}, {3, 0, 0}}), 3, P);
    EXPECT_EQ(P, Before);
}

TEST(Planes, PrincipalAxes) {
    const auto Line = PointsOf({{0, 0, 0}, {1, 2, 0}, {2, 4, 0}, {-1, -2, 0}});
    const TMOrientedBox B = PrincipalAxes(*Line);
    const TMVector A = B.Axis1;
    EXPECT_NEAR(std::fabs(A.X * 2 - A.Y), 0, 1e-9);
    EXPECT_NEAR(A.Z, 0, 1e-9);
    EXPECT_NEAR(B.Size1, 3 * std::sqrt(5.0), 1e-9);
    EXPECT_NEAR(B.Size2, 0, 1e-9);
    EXPECT_NEAR(B.Size3, 0, 1e-9);
    ExpectVector(B.Centre, 0.5, 1, 0, 1e-9);

    // A flat 4 x 2 rectangle: the axes follow the spread.
    const TMOrientedBox R = PrincipalAxes(*PointsOf({{0, 0, 5}, {4, 0, 5}, {0, 2, 5}, {4, 2, 5}}));
    EXPECT_NEAR(std::fabs(R.Axis1.X), 1, 1e-9);
    EXPECT_NEAR(std::fabs(R.Axis2.Y), 1, 1e-9);
    EXPECT_NEAR(R.Size1, 4, 1e-9);
    EXPECT_NEAR(R.Size2, 2, 1e-9);
    ExpectVector(R.Centre, 2, 1, 5, 1e-9);
    EXPECT_THROW(PrincipalAxes(TRPoints()), EGeometryError);
}
