#include "surfaces/SurfaceList.h"

#include <gtest/gtest.h>

#include <cmath>

#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/Polygon.h"
#include "foundation/TextBlock.h"
#include "foundation/VkMathsExpect.h"
#include "surfaces/SurfaceFixtures.h"

namespace sarnova {
namespace {

// A surface that reports its destruction.
class TTrackedSurface : public TBSplineSurface {
public:
    explicit TTrackedSurface(bool& Destroyed) : FDestroyed(Destroyed) {}
    ~TTrackedSurface() override { FDestroyed = true; }

private:
    bool& FDestroyed;
};

std::unique_ptr<TBSplineSurface> Shifted(double X) {
    return MakeSurface(4, 4, 4, 4, [X](int i, int j) -> TMVector { return {X + i * 0.12345, j * 0.3, i * j * 0.01}; });
}

TEST(SurfaceListTest, AnEmptyList) {
    TBSplineSurfaceList List;
    EXPECT_EQ(SavedText(List), "NumSurfaces=0\n");
    LoadText(List, "NumSurfaces=0\n");
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.GetExtents(), EmptyBox);
    EXPECT_EQ(List.CreatePolygons()->Count(), 0);
}

TEST(SurfaceListTest, TextBlockRoundTripWithListDisplaySettings) {
    TBSplineSurfaceList List;
    List.AddSurface(Shifted(0));
    auto Stored = Shifted(5);
    Stored->UpdateKnots();
    Stored->KnotType = ktNonUniform;  // the Open knots as stored ones
    List.Add(std::unique_ptr<TSurface>(std::move(Stored)));
    const std::string Text = SavedText(List);
    EXPECT_EQ(Text.substr(0, 30), "NumSurfaces=2\nOrderU=4\nOrderV=");

    TBSplineSurfaceList Read;
    LoadText(Read, Text);
    ASSERT_EQ(Read.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Read.Surface(i)->NumULine(), 5);
        EXPECT_EQ(Read.Surface(i)->NumVLine(), 5);
        EXPECT_EQ(Read.BSplineSurface(i)->StoredLinePointCount(), 10);
    }
    EXPECT_EQ(Read.BSplineSurface(1)->KnotType, ktNonUniform);
    EXPECT_EQ(SavedText(Read), Text);
    // Reading appends.
    LoadText(Read, Text);
    EXPECT_EQ(Read.Count(), 4);
}

TEST(SurfaceListTest, DamagedBlocks) {
    TBSplineSurfaceList List;
    ExpectError([&] { LoadText(List, "NumSurfaces=two\n"); }, "'two' is not a valid integer value");
    // A count larger than the blocks present: the surfaces read stay, the first missing one fails.
    TTextWriter One;
    Shifted(0)->SaveToText(One);
    ExpectError([&] { LoadText(List, "NumSurfaces=1000000000\n" + One.Text()); },
                "Error in field BSplineSurface.OrderU");
    EXPECT_EQ(List.Count(), 1);
}

TEST(SurfaceListTest, BorrowedItemsStayOwnedItemsAreFreed) {
    bool Destroyed = false;
    TTrackedSurface Local(Destroyed);
    {
        TBSplineSurfaces Borrowing;
        Borrowing.AddSurface(&Local);
        EXPECT_EQ(Local.NumULine(), 5);
        Borrowing.Add(&Local);
        Borrowing.Delete(0);
        EXPECT_EQ(Borrowing.Count(), 1);
    }
    EXPECT_FALSE(Destroyed);

    bool Freed = false;
    TBSplineSurfaceList Owning;
    Owning.AddSurface(std::make_unique<TTrackedSurface>(Freed));
    Owning.AddSurface(Shifted(1));
    Owning.Delete(0);
    EXPECT_TRUE(Freed);
    EXPECT_EQ(Owning.Count(), 1);
    ExpectError([&] { Owning.Delete(1); }, "List index out of bounds (1)");
    ExpectError([&] { Owning.Surface(-1); }, "List index out of bounds (-1)");
}

TEST(SurfaceListTest, CopiesAndTransformedLists) {
    auto A = Shifted(0);
    auto B = Shifted(10);
    TSurfaces Borrowed;
    Borrowed.Add(A.get());
    Borrowed.Add(B.get());
    TBSplineSurfaceList Copies;
    Copies.AddSurface(Shifted(99));
    Copies.AssignCopies(Borrowed);
    ASSERT_EQ(Copies.Count(), 2);
    EXPECT_NE(Copies.Surface(0), A.get());
    EXPECT_EQ(Copies.Surface(1)->NumULine(), 5);
    EXPECT_EQ(A->NumULine(), 25);
    EXPECT_EQ(ShapeDistance(*Copies.BSplineSurface(1), *B), 0);
    Copies.AddCopies(Copies);
    EXPECT_EQ(Copies.Count(), 4);

    const auto Moved = Copies.Transformed(MatrixTranslation(0, 0, 2));
    ASSERT_EQ(Moved->Count(), 4);
    ExpectNear(Moved->BSplineSurface(1)->Point(3, 3).Vector(), VectorAdd(B->Point(3, 3).Vector(), {0, 0, 2}));
    EXPECT_EQ(Moved->Surface(1)->NumVLine(), 5);

    TMBox Box = Borrowed.GetExtents();
    EXPECT_EQ(Box, UniteBoxes(A->GetExtents(), B->GetExtents()));

    TMesh Mesh(2, 2);
    TSurfaces Mixed;
    Mixed.Add(&Mesh);
    ExpectError([&] { Copies.AddCopies(Mixed); }, "TSurfaces.AddCopies - Surface 0 is not a B-spline surface");
    EXPECT_EQ(Copies.Count(), 4);
}

TEST(SurfaceListTest, PolygonsAreSampledForTheWholeSet) {
    TBSplineSurfaceList List;
    List.AddSurface(Shifted(0));
    List.AddSurface(Shifted(3));
    // Purpose 8 for two surfaces: 2 f NumU = 24 samples a direction, on the 0.001 grid.
    const auto F = List.CreatePolygonsFor(8);
    ASSERT_EQ(F->Count(), 2 * 2 * 23 * 23);
    bool OnGrid = true;
    for (int i = 0; i < F->Count(); ++i)
        for (int c = 0; c < 3; ++c) {
            const double x = F->Polygon(i)->Corner(c)->X * 1000;
            OnGrid = OnGrid && std::fabs(x - std::round(x)) < 1e-6;
        }
    EXPECT_TRUE(OnGrid);
    // Both surfaces arrive: corners beyond x = 3 come from the second.
    EXPECT_GT(F->Extents().Max.X, 3.3);
    EXPECT_EQ(List.CreatePolygons()->Count(), 2 * 2 * 11 * 11);
}

}  // namespace
}  // namespace sarnova
