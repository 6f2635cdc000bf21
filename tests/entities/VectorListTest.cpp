// The vector-list entity: its block with the arrows' colour, the scale and the extents, transforms,
// copies, picking at base points and unscaled tips, and drawing.
#include "entities/GVectorList.h"

#include <gtest/gtest.h>

#include <numbers>

#include "EntityFixtures.h"
#include "foundation/Errors.h"

namespace sarnova::test {
namespace {

const std::string TwoVectors =
    "[TVectorList]\nScale=2.500000\nNumberOfVectors=2\n"
    "0.000000 0.000000 0.000000 1.000000 0.000000 0.000000\n"
    "1.000000 2.000000 3.000000 0.000000 0.000000 0.000000\n"
    "Name=Forces\nColor=clRed\n\n";

class VectorListTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    TGeoVectorList& Loaded(const std::string& Text = TwoVectors) {
        LoadDocumentText(Doc, Text);
        return *EntitiesOf<TGeoVectorList>(Doc).back();
    }
    TGeoVectorList& Added(double Scale) {
        auto Entity = std::make_unique<TGeoVectorList>();
        auto V = std::make_unique<TRPointVector>(true);
        V->Point2->SetXYZ(1, 0, 0);
        Entity->Vectors().Add(std::move(V));
        Entity->Vectors().Scale = Scale;
        return static_cast<TGeoVectorList&>(*Doc.Add(std::move(Entity)));
    }

    TTestSettings TestSettings;
    TGeometryInterface Doc;
};

TEST_F(VectorListTest, TheBlockKeepsVectorsScaleNameAndColour) {
    ExpectLoadsAndSavesUnchanged(TwoVectors);
    ExpectLoadsAndSavesUnchanged("[TVectorList]\nScale=1.000000\nNumberOfVectors=0\n\n");
    TGeoVectorList& List = Loaded();
    EXPECT_EQ(List.GetName(), "Forces");
    EXPECT_EQ(List.GetColor(), clRed);
    EXPECT_EQ(List.GetScale(), 2.5);
    EXPECT_EQ(List.GetPointCount(), 4);

    // Keys in any case; a colour set after reading is written back.
    TGeoVectorList& Other = Loaded("[TVectorList]\nScale=1\nNumberOfVectors=0\n name = B \nFuture=1\n\n");
    EXPECT_EQ(Other.GetName(), "B");
    EXPECT_EQ(Other.GetColor(), TestSettings->DrawColor);
    Other.SetColor(clBlue);
    TTextWriter Out;
    Other.SaveToText(Out);
    EXPECT_EQ(Out.Text(), "[TVectorList]\nScale=1.000000\nNumberOfVectors=0\nName=B\nColor=clBlue\n\n");
}

TEST_F(VectorListTest, DamagedBlocksAreKeptAsTheyWere) {
    const char* Damaged[] = {
        "[TVectorList]\nScale=big\nNumberOfVectors=0\n\n",
        "[TVectorList]\nScale=1\nNumberOfVectors=x\n\n",
        "[TVectorList]\nScale=1\nNumberOfVectors=1\n0 0 0 1 z 0\n\n",
    };
    for (const char* Text : Damaged) {
        ExpectLoadsAndSavesUnchanged(Text);
        TGeometryInterface D;
        LoadDocumentText(D, Text);
        EXPECT_TRUE(EntitiesOf<TGeoVectorList>(D).empty()) << Text;
    }
}

TEST_F(VectorListTest, TheScaleStretchesTheArrowsAndTheExtentsAtOnce) {
    // The second vector gives the extents an area, so that they are not simply computed again.
    TGeoVectorList& List = Loaded("[TVectorList]\nScale=1\nNumberOfVectors=2\n0 0 0 1 0 0\n0 1 0 0 0 0\n\n");
    EXPECT_EQ(List.GetExtents().Max.X, 1);
    Doc.GetUndoManager().Clear();
    List.SetScale(10);
    EXPECT_EQ(List.GetExtents().Max.X, 10);
    EXPECT_FALSE(Doc.CanUndo());

    TRecordingGraphics Shown;
    List.Draw(Shown);
    // The vector without length draws nothing.
    ASSERT_EQ(Shown.Names(), std::vector<std::string>{"VectorPoints"});
    EXPECT_EQ(Shown.Calls[0].Size, 10);
    EXPECT_EQ(List.GetPointCount(), 4);
}

TEST_F(VectorListTest, TransformsMoveBasePointsAndTurnVectorsKeepingTheScale) {
    TGeoVectorList& List = Added(10);
    List.Transform(MatrixTranslation(5, 0, 0));
    const TRPointVector& V = *List.Vectors().Vector(0);
    EXPECT_EQ(V.Point1->Vector(), (TMVector{5, 0, 0}));
    EXPECT_EQ(V.Point2->Vector(), (TMVector{1, 0, 0}));
    EXPECT_EQ(List.GetScale(), 10);

    // A quarter turn about z turns the vector (1, 0, 0) to (0, 1, 0) and the base to (0, 5, 0).
    List.Transform(MatrixRotationAboutAxis({0, 0, 1}, std::numbers::pi / 2));
    const TRPointVector& R = *List.Vectors().Vector(0);
    EXPECT_NEAR(R.Point2->X, 0, 1e-12);
    EXPECT_NEAR(R.Point2->Y, 1, 1e-12);
    EXPECT_NEAR(R.Point1->Y, 5, 1e-12);

    const std::unique_ptr<TGeometry> Copy = List.Clone();
    auto& Clone = dynamic_cast<TGeoVectorList&>(*Copy);
    EXPECT_EQ(Clone.GetScale(), 10);
    EXPECT_EQ(Clone.Vectors().Count(), 1);
}

TEST_F(VectorListTest, IsPickedAtBasePointsAndUnscaledTips) {
    TGeoVectorList& List = Added(10);
    TFakeView View;
    // The base (0, 0) is pixel (100, 100), the unscaled tip (1, 0) pixel (110, 100); the drawn tip at
    // x = 10 is no pick point.
    EXPECT_NEAR(List.DistanceToPoint({110, 103}, View), 3, 1e-9);
    EXPECT_NEAR(List.DistanceToPoint({100, 96}, View), 4, 1e-9);
    EXPECT_NEAR(List.DistanceToPoint({200, 100}, View), 90, 1e-9);
    EXPECT_TRUE(List.InRect({108, 98, 112, 102}, View));
    EXPECT_FALSE(List.InRect({195, 95, 205, 105}, View));
    List.SetDisplayState(dsHidden);
    EXPECT_EQ(List.DistanceToPoint({110, 100}, View), 1e33);
}

}  // namespace
}  // namespace sarnova::test
