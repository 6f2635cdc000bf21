#include <gtest/gtest.h>

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
