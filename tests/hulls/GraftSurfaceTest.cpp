#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"
#include "hulls/GraftSurface.h"
#include "surfaces/BSurface.h"

using namespace sarnova;

namespace {

std::unique_ptr<TPolygon> Make(std::initializer_list<TMVector> Corners) {
    auto F = std::make_unique<TPolygon>(Corners.size() == 4 ? 1 : 0);
    int i = 0;
    for (const TMVector& C : Corners) F->SetCorner(i++, TRPoint(C));
    return F;
}

// A node of the plane Normal . p = Distance.
std::unique_ptr<TBSPNode> PlaneNode(const TMVector& Normal, double Distance) {
    auto N = std::make_unique<TBSPNode>();
    N->Normal = Normal;
    N->Distance = Distance;
    N->HasPlane = true;
    return N;
}

}  // namespace

TEST(BSPTree, QuadrilateralsAreStoredAsTrianglesAndSmallFacetsDropped) {
    TBSPTree T;
    T.SetPlane(*Make({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    EXPECT_EQ(T.Polygon, nullptr);
    EXPECT_NEAR(T.Normal.Z, 1, 1e-12);
    // Non-planar, wholly in front: its second triangle stands behind the first one's plane.
    T.InsertPolygon(*Make({{0, 0, 1}, {1, 0, 1}, {1, 1, 2}, {0, 1, 1.2}}));
    ASSERT_NE(T.Front, nullptr);
    ASSERT_NE(T.Front->Polygon, nullptr);
    EXPECT_EQ(T.Front->Polygon->CornerCount(), 3);
    ASSERT_NE(T.Front->Back, nullptr);
    EXPECT_EQ(T.Front->Back->Polygon->CornerCount(), 3);
    EXPECT_NEAR(T.Front->Back->Polygon->StoredCorner(2).Z, 1.2, 1e-12);
    EXPECT_EQ(T.Back, nullptr);

    // Too small to matter; and a facet on the plane is dropped.
    T.InsertPolygon(*Make({{0, 0, -1}, {1e-6, 0, -1}, {0, 1e-5, -1}}));
    T.InsertPolygon(*Make({{5, 5, 0}, {6, 5, 0}, {5, 6, 0}}));
    EXPECT_EQ(T.Back, nullptr);

    // A facet across the plane is split: each part goes its own way.
    TBSPTree S;
    S.SetPlane(*Make({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    S.InsertPolygon(*Make({{0, 0, -1}, {1, 0, -1}, {0, 0, 1}}));
    ASSERT_NE(S.Back, nullptr);
    ASSERT_NE(S.Front, nullptr);
    EXPECT_LE(PolygonBox(*S.Back->Polygon).Max.Z, 1e-12);
    EXPECT_GE(PolygonBox(*S.Front->Polygon).Min.Z, -1e-12);
}

TEST(BSPTree, PointsOnAPlaneFollowTheSubtrees) {
    struct Case {
        bool WithBack, WithFront;
        TBSPSide Expected;
    };
    // The back subtree says Front and the front subtree says Back for the point (1, 0, 0), which
    // lies on the root plane z = 0: the front subtree's answer comes last and wins.
    const Case Cases[] = {
        {false, false, bsOn},
        {true, false, bsFront},
        {false, true, bsBack},
        {true, true, bsBack},
    };
    for (const Case& c : Cases) {
        auto Root = PlaneNode({0, 0, 1}, 0);
        if (c.WithBack) Root->Back = PlaneNode({1, 0, 0}, 0);
        if (c.WithFront) Root->Front = PlaneNode({-1, 0, 0}, 0);
        EXPECT_EQ(Root->ClassifyPoint({1, 0, 0}), c.Expected) << c.WithBack << c.WithFront;
    }
    auto Root = PlaneNode({0, 0, 1}, 0);
    Root->Front = PlaneNode({-1, 0, 0}, 0);
    EXPECT_EQ(Root->ClassifyPoint({1, 0, 2}), bsBack);
    EXPECT_EQ(Root->ClassifyPoint({-1, 0, 2}), bsFront);
    EXPECT_EQ(Root->ClassifyPoint({1, 0, -2}), bsBack);
}

TEST(BSPTree, ANetFixesTheRootPlaneAndTellsSides) {
    // A roof: two planes meeting at the ridge x = 1, normals up.
    TBSplineSurface Net(3, 2);
    for (int j = 0; j < 2; ++j) {
        Net.Point(0, j) = TRPoint({0, double(j), 0});
        Net.Point(1, j) = TRPoint({1, double(j), 1});
        Net.Point(2, j) = TRPoint({2, double(j), 0});
    }
    TBSPTree T;
    T.AddSurface(Net);
    ASSERT_TRUE(T.HasPlane);
    EXPECT_EQ(T.Polygon, nullptr);
    const struct {
        TMVector P;
        TBSPSide Side;
    } Points[] = {{{1, 0.5, 2}, bsFront}, {{1, 0.5, 0.5}, bsBack}, {{0.5, 0.5, 0.1}, bsBack}, {{1.5, 0.5, 0.9}, bsFront}};
    for (const auto& p : Points) EXPECT_EQ(T.ClassifyPoint(p.P), p.Side) << p.P.X << " " << p.P.Z;

    TPolygonList Outside;
    T.ClipPolygon(*Make({{0.5, 0.5, -1}, {0.6, 0.5, 3}, {0.5, 0.6, 3}}), bsFront, Outside);
    ASSERT_GT(Outside.Count(), 0);
    for (int i = 0; i < Outside.Count(); ++i) EXPECT_GE(PolygonBox(*Outside.Polygon(i)).Min.Z, 0.4);
}

namespace {

// An N by M net over x = i * Step, y = j * Step at height Z (normals up), orders 4.
std::unique_ptr<TBSplineSurface> Flat(int N, int M, double Step, double Z, double X0 = 0, double Y0 = 0) {
    auto S = std::make_unique<TBSplineSurface>(N, M);
    for (int j = 0; j < M; ++j)
        for (int i = 0; i < N; ++i) S->Point(i, j) = TRPoint({X0 + i * Step, Y0 + j * Step, Z});
    S->UpdateKnots();
    return S;
}

}  // namespace

TEST(GraftSurface, NothingStandingOutGivesAPlainCopy) {
    const auto Main = Flat(6, 6, 1, 0);
    const auto Below = Flat(4, 4, 0.5, -1, 1, 1);
    const std::unique_ptr<TBSplineSurface> R = GraftSurface(*Main, *Below);
    ASSERT_EQ(R->NumU(), 6);
    ASSERT_EQ(R->NumV(), 6);
    for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(R->Point(i, j).X, Main->Point(i, j).X);
            EXPECT_EQ(R->Point(i, j).Z, 0);
        }
    // The inputs are left as they were.
    EXPECT_EQ(Below->Point(0, 0).Z, -1);
}

TEST(GraftSurface, KnotInsertionMatchesTheLocalRows) {
    // Enough rows already: no knot, whatever the local net.
    {
        auto A = Flat(8, 8, 1, 0);
        const auto L = Flat(4, 4, 1, 1);
        InsertGraftKnots(*A, {1, 4, 1, 4}, *L, {0, 2, 0, 2}, 0);
        EXPECT_EQ(A->NumU(), 8);
    }
    // Two rows short: two knots, each with at most four decimals, across U only.
    auto A = Flat(8, 8, 1, 0);
    auto L = Flat(4, 4, 1, 0.5, 2, 2);
    L->Point(1, 1).X += 0.3;
    L->Point(1, 2).X += 0.3;
    InsertGraftKnots(*A, {2, 3, 2, 5}, *L, {0, 3, 0, 3}, 0);
    EXPECT_EQ(A->NumU(), 10);
    EXPECT_EQ(A->NumV(), 8);
    for (int k = 1; k <= A->NumU() + A->OrderU(); ++k) {
        const double Scaled = A->KnotU(k) * 1e4;
        EXPECT_NEAR(Scaled, std::round(Scaled), 1e-3) << k;
    }
}

TEST(GraftSurface, ADomeStandingOutIsTransplanted) {
    const auto Main = Flat(10, 10, 1, 0);
    auto Dome = Flat(5, 5, 0.75, -0.5, 3, 3);
    for (int j = 1; j < 4; ++j)
        for (int i = 1; i < 4; ++i) Dome->Point(i, j).Z = 1;
    const std::unique_ptr<TBSplineSurface> R = GraftSurface(*Main, *Dome);
    EXPECT_GE(R->NumU(), 10);
    EXPECT_GE(R->NumV(), 10);
    double Top = 0;
    for (int j = 0; j < R->NumV(); ++j)
        for (int i = 0; i < R->NumU(); ++i) {
            Top = std::max(Top, R->Point(i, j).Z);
            EXPECT_EQ(R->Point(i, j).W, 1.0);
        }
    EXPECT_NEAR(Top, 1, 1e-9);
    // The edge of the main net stays where it was.
    EXPECT_EQ(R->Point(0, 0).Z, 0);
}
