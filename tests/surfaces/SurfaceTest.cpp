#include "surfaces/Surface.h"

#include <gtest/gtest.h>

#include "foundation/Errors.h"
#include "foundation/GeomBox.h"

namespace sarnova {
namespace {

TEST(MeshTest, PointsAreStoredRowByRowAndGrowOnDemand) {
    TMesh Mesh(3, 2);
    EXPECT_EQ(Mesh.PointCount(), 0);
    Mesh.Point(1, 1).SetXYZ(1, 2, 3);
    EXPECT_EQ(Mesh.PointCount(), 5);  // item 1 + 1 * 3
    EXPECT_EQ(Mesh.PointByIndex(4).Z, 3);
    EXPECT_EQ(Mesh.PointByIndex(0).W, 1.0);
    EXPECT_THROW(Mesh.Point(0, -1), EError);

    TRPoint Source(MakeVector(7, 8, 9));
    Source.Tag = 5;
    Mesh.SetPoint(2, 1, Source);
    TMesh Copy(0, 0);
    Copy.Assign(Mesh);
    EXPECT_EQ(Copy.NumU(), 3);
    EXPECT_EQ(Copy.NumV(), 2);
    EXPECT_EQ(Copy.PointCount(), 6);
    EXPECT_EQ(Copy.Point(2, 1).Tag, 5);
    EXPECT_EQ(Copy.GetExtents(), MakeBox(0, 0, 0, 7, 8, 9));
}

TEST(MeshTest, ResizingLeavesThePointsAlone) {
    TMesh Mesh(2, 2);
    Mesh.Point(1, 1);
    Mesh.SetSize(4, 4);
    EXPECT_EQ(Mesh.PointCount(), 4);
    Mesh.Clear();
    EXPECT_EQ(Mesh.PointCount(), 0);
    EXPECT_EQ(Mesh.NumU(), 4);
}

}  // namespace
}  // namespace sarnova
