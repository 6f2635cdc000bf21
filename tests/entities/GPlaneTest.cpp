// The plane entity: its block, the modes and their handles, the inclination, dragging, the outline,
// the display extents, drawing and the menus.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "PlaneFixtures.h"
#include "document/DragPoints.h"
#include "document/FakeView.h"
#include "foundation/Errors.h"
#include "document/GeometryClasses.h"
#include "document/GeometryQuery.h"
#include "foundation/GeomBox.h"

namespace sarnova::test {
namespace {

TEST(GPlaneBlock, TheModeFollowsTheZeroComponentsOfTheNormalRead) {
    const std::pair<const char*, TGeoPlaneMode> Cases[] = {
        {"(0,0,1)", pmZ},         {"(1,0,0)", pmX},           {"(0,1,0)", pmY},
        {"(0,0.6,0.8)", pmRoll},  {"(0.6,0,0.8)", pmPitch},   {"(0.6,0.8,0)", pmYaw},
        {"(0.48,0.6,0.64)", pmThreePoints},
    };
    for (auto [Normal, Mode] : Cases)
        EXPECT_EQ(ReadPlane(std::string("[TPlane]\nNormal=") + Normal + "\nOffset=1\n\n")->GetPlaneMode(), Mode)
            << Normal;
}

TEST(GPlaneBlock, AWholeBlockIsWrittenBackByteForByte) {
    const std::string Block =
        "[TPlane]\nNormal=(0,0.6,0.8)\nOffset=-2.5\nName=Cut\nColor=clRed\nShowCurveIntersections=TRUE\nSort=Y\n"
        "ShowNormal=FALSE\nShowAxes=TRUE\nShowSurfaceIntersections=TRUE\nShowIntersectionCurve=TRUE\n\n";
    const auto Plane = ReadPlane(Block);
    EXPECT_EQ(Plane->GetName(), "Cut");
    EXPECT_EQ(Plane->GetColor(), clRed);
    EXPECT_EQ(Plane->GetSortAxis(), 1);
    EXPECT_TRUE(Plane->GetShowCurveIntersections() && Plane->GetShowAxes() && Plane->GetShowSurfaceIntersections() &&
                Plane->GetShowIntersectionCurve());
    EXPECT_EQ(PlaneText(*Plane), Block);

    // A new plane: no name, the draw colour, the normal shown.
    TGeoPlane New;
    EXPECT_EQ(PlaneText(New),
              "[TPlane]\nNormal=(0,0,1)\nOffset=0\nShowCurveIntersections=FALSE\nSort=X\nShowNormal=TRUE\n"
              "ShowAxes=FALSE\nShowSurfaceIntersections=FALSE\nShowIntersectionCurve=FALSE\n\n");
}

TEST(GPlaneBlock, KeyLinesAreReadLeniently) {
    // Without a "ShowNormal=" line the normal stays hidden, unlike a new plane's.
    EXPECT_FALSE(ReadPlane("[TPlane]\nNormal=(0,0,1)\nOffset=0\n\n")->GetShowNormal());
    const std::pair<const char*, int> Sorts[] = {{"z", 2}, {"X", 0}, {"YZ", 1}, {"zy", 1}, {"q", 0}, {"", 0}};
    for (auto [Value, Axis] : Sorts)
        EXPECT_EQ(ReadPlane(std::string("[TPlane]\nNormal=(0,0,1)\nOffset=0\n  sort =") + Value + "\n\n")->GetSortAxis(),
                  Axis)
            << Value;
    const auto Plane = ReadPlane(
        "[TPlane]\nNormal=(0,0,1)\nOffset=0\nShowNormal=true\nShowAxes=yes\nOther=TRUE\nShowSurfaceIntersections= isTRUE\n"
        "no key here\nShowIntersectionCurve=TRUE\n");
    EXPECT_TRUE(Plane->GetShowNormal());
    EXPECT_FALSE(Plane->GetShowAxes());
    EXPECT_TRUE(Plane->GetShowSurfaceIntersections());
    EXPECT_FALSE(Plane->GetShowIntersectionCurve()) << "the block ended at the line without a key";
    // The plane comes oriented.
    const auto Down = ReadPlane("[TPlane]\nNormal=(0,0,-1)\nOffset=2\n\n");
    EXPECT_EQ(Down->Plane().Normal(), (TMVector{0, 0, 1}));
    EXPECT_EQ(Down->Plane().Offset(), -2);
    EXPECT_THROW(ReadPlane("[TPlane]\nNormal=(0,0\nOffset=2\n\n"), EConvertError);
}

TEST(GPlaneBlock, APlaneWithoutANormalHasNothingToDrawButDoesNotFail) {
    // No block makes one (the document keeps such a block unread), but the kernel plane can be set so.
    EXPECT_THROW(ReadPlane("[TPlane]\nNormal=(0,0,0)\nOffset=2\n\n"), EGeometryError);
    auto Plane = ReadPlane("[TPlane]\nNormal=(0,0,1)\nOffset=2\n\n");
    Plane->Plane().SetPlane({{0, 0, 0}, 2});
    TPlanView View;
    Plane->Draw(View);
    Plane->DrawRendered(View);
    EXPECT_EQ(Plane->GetPointCount(), 0);
}

TEST_F(PlaneDocumentTest, TheDisplayBoxIsTheDocumentsExtentsOrTenEachWay) {
    EXPECT_EQ(Plane->Plane().Extents(), MakeBox(-5, -5, 0, 5, 5, 2));
    // The plane adds nothing to the extents and survives the check of empty entities.
    EXPECT_EQ(Doc.GetExtents(), MakeBox(-5, -5, 0, 5, 5, 2));
    // The location handle starts at the rectangle's centre.
    ASSERT_EQ(Plane->Handles().Count(), 1);
    ExpectNear(Plane->Handles().Point(0)->Vector(), {0, 0, 0});
    Doc.DeleteGeometry(Line);
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(Plane->Plane().Extents(), MakeBox(-10, -10, -10, 10, 10, 10));
}

TEST_F(PlaneDocumentTest, TheOutlineHasAHundredPointsAroundTheRectangle) {
    for (TGeoPlaneMode Mode : {pmZ, pmX, pmThreePoints}) {
        Plane->SetPlaneMode(Mode);
        Plane->UpdateOutline();
        const TPolyline& Outline = Plane->Outline();
        ASSERT_EQ(Outline.Count(), 100) << Mode;
        EXPECT_EQ(Plane->GetPointCount(), 100) << "picked by its border";
        EXPECT_FALSE(VectorsEqual(Outline.Point(0)->Vector(), Outline.Point(99)->Vector())) << "not closed";
        for (int I = 1; I < 100; ++I)
            EXPECT_FALSE(VectorsEqual(Outline.Point(I - 1)->Vector(), Outline.Point(I)->Vector())) << Mode << " " << I;
    }
    // The Z plane at z = 0 lies in a face of the box: the same rectangle.
    Plane->SetPlaneMode(pmZ);
    Plane->UpdateOutline();
    const TMBox B = Plane->Outline().Extents();
    ExpectNear(B.Min, {-5, -5, 0});
    ExpectNear(B.Max, {5, 5, 0});
}

TEST_F(PlaneDocumentTest, ModesTakeTheirNormals) {
    struct TCase {
        TMVector From;
        TGeoPlaneMode Mode;
        TMVector Normal;
    };
    const TCase Cases[] = {
        {{0, 0, 1}, pmRoll, {0, 0, 1}},  {{0, 0, 1}, pmYaw, {0, 1, 0}},
        {{1, 0, 0}, pmRoll, {0, 0, 1}},  {{1, 0, 0}, pmPitch, {1, 0, 0}},
        {{0.48, 0.6, 0.64}, pmPitch, {0.6, 0, 0.8}}, {{0.48, 0.6, 0.64}, pmYaw, VectorNormalise({0.48, 0.6, 0})},
        {{0.48, 0.6, 0.64}, pmX, {1, 0, 0}},
    };
    for (const TCase& C : Cases) {
        auto Entity = ReadPlane("[TPlane]\nNormal=(" + std::to_string(C.From.X) + "," + std::to_string(C.From.Y) + "," +
                                std::to_string(C.From.Z) + ")\nOffset=3\n\n");
        Entity->SetPlaneMode(pmThreePoints);
        Entity->SetPlaneMode(C.Mode);
        ExpectNear(Entity->Plane().Normal(), C.Normal, "normal");
        EXPECT_EQ(Entity->Plane().Offset(), 3) << "the offset stays";
    }
}

TEST_F(PlaneDocumentTest, ThreePointModeStartsAtTheFootAndFollowsItsPoints) {
    Plane->SetOffset(1);
    Plane->SetPlaneMode(pmThreePoints);
    TPolyline& H = Plane->Handles();
    ASSERT_EQ(H.Count(), 3);
    ExpectNear(H.Point(0)->Vector(), {0, 0, 1});
    ExpectNear(H.Point(1)->Vector(), {1, 0, 1});
    ExpectNear(H.Point(2)->Vector(), {0, 1, 1});

    ExpectOneUndoStep(Doc, "point", [&] { Plane->SetHandleCoordinate(1, 2, 2); });
    Plane = PlaneAt(1);
    Plane->SetHandleCoordinate(1, 2, 2);
    // Through (0, 0, 1), (1, 0, 2), (0, 1, 1): z = 1 + x.
    ExpectNear(Plane->Plane().Normal(), VectorNormalise({-1, 0, 1}));
    EXPECT_NEAR(Plane->Plane().Offset(), std::sqrt(0.5), 1e-12);
    // Points on one line leave the plane as it was.
    Plane->SetHandleCoordinate(2, 0, 2);
    Plane->SetHandleCoordinate(2, 1, 0);
    const TMPlane Before = Plane->Plane().Plane();
    Plane->SetHandleCoordinate(2, 2, 3);
    EXPECT_EQ(Plane->Plane().Plane().Normal, Before.Normal);
    EXPECT_EQ(Plane->Plane().Plane().Distance, Before.Distance);
}

TEST_F(PlaneDocumentTest, TheInclinationTurnsThePlaneThroughTheLocationPoint) {
    Plane->SetPlaneMode(pmRoll);
    Plane->SetLocationCoordinate(1, 2);
    ExpectNear(Plane->Handles().Point(0)->Vector(), {0, 2, 0});
    ExpectOneUndoStep(Doc, "inclination", [&] { Plane->SetInclination(100 * Pi / 180); });
    Plane = PlaneAt(1);
    Plane->SetInclination(100 * Pi / 180);
    const TMVector N = Plane->Plane().Normal();
    EXPECT_NEAR(N.X, 0, 1e-12);
    EXPECT_NEAR(N.Y, -0.984807753, 1e-9);
    EXPECT_NEAR(N.Z, 0.173648178, 1e-9);
    EXPECT_NEAR(Plane->GetInclination() * 180 / Pi, -80, 1e-9);
    EXPECT_NEAR(Plane->Plane().Offset(), VectorDot(N, {0, 2, 0}), 1e-12);

    // Angles that are no number, far-off turns and the same angle again.
    Doc.GetUndoManager().Clear();
    for (double Angle : {std::numeric_limits<double>::infinity(), std::nan(""), Plane->GetInclination()})
        Plane->SetInclination(Angle);
    EXPECT_FALSE(Doc.CanUndo());
    Plane->SetInclination(1e300);
    EXPECT_GT(Plane->GetInclination(), -Pi / 2);
    EXPECT_LE(Plane->GetInclination(), Pi / 2);
    // Outside roll, pitch and yaw there is no inclination.
    Plane->SetPlaneMode(pmY);
    EXPECT_EQ(Plane->GetInclination(), 0);
    Doc.GetUndoManager().Clear();
    Plane->SetInclination(0.3);
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(PlaneDocumentTest, PositionChangesAreOneUndoStepEach) {
    ExpectOneUndoStep(Doc, "mode", [&] { Plane->SetPlaneMode(pmX); });
    Plane = PlaneAt(1);
    ExpectOneUndoStep(Doc, "offset", [&] { Plane->SetOffset(1.5); });
    Plane = PlaneAt(1);
    ExpectOneUndoStep(Doc, "transform", [&] {
        Doc.SelectOnly(Plane);
        Doc.TransformSelected(MatrixTranslation(1, 2, 3), false);
    });
    Plane = PlaneAt(1);
    Plane->Transform(MatrixTranslation(1, 2, 3));
    EXPECT_EQ(Plane->Plane().Offset(), 3);
    EXPECT_EQ(Plane->GetPlaneMode(), pmZ) << "a transform keeps the mode";
    // The display switches change without an undo step.
    Doc.GetUndoManager().Clear();
    Plane->SetShowAxes(true);
    Plane->SetSortAxis(2);
    Plane->SetSortAxis(3);
    EXPECT_FALSE(Doc.CanUndo());
    EXPECT_EQ(Plane->GetSortAxis(), 2);
}

TEST_F(PlaneDocumentTest, DraggingTheLocationInModeXMovesAlongXOnly) {
    TFakeView View;
    Doc.View = &View;
    Plane->SetPlaneMode(pmX);
    Doc.SetEditedGeometry(Plane);
    Plane->UpdateOutline(&View);
    ASSERT_EQ(Plane->GetPointCount(), 1);
    ExpectNear(Plane->Handles().Point(0)->Vector(), {0, 0, 1});
    // Well off the line along X.
    View.Press(mbLeft, Px(0, 0).X, Px(0, 0).Y);
    EXPECT_EQ(Plane->GetChosenEditPlane().Kind, epAlongX);
    View.Move(Px(3, 4).X, Px(3, 4).Y);
    View.Release(mbLeft, Px(3, 4).X, Px(3, 4).Y);
    ExpectNear(Plane->Plane().Normal(), {1, 0, 0});
    EXPECT_NEAR(Plane->Plane().Offset(), 3, 1e-9);
    ExpectNear(Plane->Handles().Point(0)->Vector(), {3, 0, 1});
    Doc.SetEditedGeometry(nullptr);
    Doc.View = nullptr;
    Doc.Undo();
    EXPECT_EQ(PlaneAt(1)->Plane().Offset(), 0);
}

TEST_F(PlaneDocumentTest, DraggingAnArmTurnsTheYawPlaneAboutZ) {
    TFakeView View;
    Doc.View = &View;
    Plane->SetPlaneMode(pmYaw);  // normal (0, 1, 0) through the origin
    Doc.SetEditedGeometry(Plane);
    Plane->UpdateOutline(&View);
    TPolyline& H = Plane->Handles();
    ASSERT_EQ(H.Count(), 3);
    // The arms lie 100 pixels (10 units) either side of the location point, across the axis.
    const TMVector Location = H.Point(0)->Vector();
    EXPECT_NEAR(VectorDistance(H.Point(1)->Vector(), Location), 10, 1e-9);
    EXPECT_NEAR(VectorDistance(H.Point(2)->Vector(), Location), 10, 1e-9);
    const TMVector Arm = H.Point(1)->Vector();
    View.Press(mbLeft, Px(Arm.X, Arm.Y).X, Px(Arm.X, Arm.Y).Y);
    View.Move(Px(Location.X + 5, Location.Y + 5).X, Px(Location.X + 5, Location.Y + 5).Y);
    // The plane now holds the axis through the location point and the dragged arm.
    const TMVector N = Plane->Plane().Normal();
    EXPECT_NEAR(std::fabs(N.X), std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(std::fabs(N.Y), std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(N.Z, 0, 1e-12);
    // A selected arm stays where the drag put it while the outline is updated.
    Plane->UpdateOutline(&View);
    ExpectNear(H.Point(1)->Vector(), {Location.X + 5, Location.Y + 5, Location.Z});
    View.Release(mbLeft, Px(Location.X + 5, Location.Y + 5).X, Px(Location.X + 5, Location.Y + 5).Y);
    Doc.SetEditedGeometry(nullptr);
    Doc.View = nullptr;
}

TEST_F(PlaneDocumentTest, DrawingShowsTheNormalAndItsLabelThirtyPixelsLong) {
    TTestSettings Settings;
    TPlanView View;
    Plane->SetOffset(1);
    Plane->Draw(View);
    const TGraphicsCall* Arrow = nullptr;
    const TGraphicsCall* Label = nullptr;
    for (const TGraphicsCall& Call : View.Calls) {
        if (Call.Name == "Vector") Arrow = &Call;
        if (Call.Name == "TextOut") Label = &Call;
    }
    ASSERT_NE(Arrow, nullptr);
    ExpectNear(Arrow->Points[0], {0, 0, 1});
    ExpectNear(Arrow->Points[1], {0, 0, 1});
    EXPECT_NEAR(Arrow->Size, 30, 1e-9);
    EXPECT_TRUE(Arrow->Flag);
    ASSERT_NE(Label, nullptr);
    EXPECT_EQ(Label->Text, "N");
    // Half the label's width right of the tip and one line above it on screen (the plan view's y
    // runs down the screen with y).
    ExpectNear(Label->Points[0], {4, -16, 31});

    // The axes add two arrows; without either switch nothing is labelled.
    View.Calls.clear();
    Plane->SetShowAxes(true);
    Plane->Draw(View);
    int Arrows = 0;
    for (const TGraphicsCall& Call : View.Calls) Arrows += Call.Name == "Vector";
    EXPECT_EQ(Arrows, 3);
    View.Calls.clear();
    Plane->SetShowAxes(false);
    Plane->SetShowNormal(false);
    Plane->Draw(View);
    for (const TGraphicsCall& Call : View.Calls) EXPECT_NE(Call.Name, "TextOut");
}

TEST_F(PlaneDocumentTest, ThePopupMenuFollowsTheSwitches) {
    TMenuItem* Menu = Plane->PopupMenu();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(MenuCaptions(*Menu),
              (std::vector<std::string>{"Edit", "Show Attributes...", "-", "Curve Intersections", "-",
                                        "Polyline from Curve Intersection Points",
                                        "BSpline from Curve Intersection Points",
                                        "Cubic Spline from Curve Intersection Points",
                                        "Cubic Interpolating BSpline from Curve Intersection Points", "-",
                                        "Show Curve Intersections", "Show Surface Intersections", "Show Normal",
                                        "Show Plane Axes"}));
    TMenuItem& Sub = *Menu->Find("Curve Intersections");
    EXPECT_EQ(MenuCaptions(Sub), (std::vector<std::string>{"Curve Through Intersections", "-", "Sort in X", "Sort in Y",
                                                           "Sort in Z"}));
    EXPECT_TRUE(Menu->Find("Show Normal")->Checked);
    EXPECT_FALSE(Menu->Find("Show Curve Intersections")->Checked);
    EXPECT_FALSE(Sub.Find("Curve Through Intersections")->Enabled);
    EXPECT_FALSE(Sub.Find("Sort in X")->Enabled);
    EXPECT_TRUE(Sub.Find("Sort in X")->Checked);

    Menu->Find("Show Curve Intersections")->Click();
    Menu->Find("Show Normal")->Click();
    Menu = Plane->PopupMenu();
    TMenuItem& Again = *Menu->Find("Curve Intersections");
    EXPECT_TRUE(Plane->GetShowCurveIntersections());
    EXPECT_FALSE(Plane->GetShowNormal());
    EXPECT_TRUE(Menu->Find("Show Curve Intersections")->Checked);
    EXPECT_FALSE(Menu->Find("Show Normal")->Checked);
    EXPECT_TRUE(Again.Find("Curve Through Intersections")->Enabled);
    EXPECT_FALSE(Again.Find("Sort in Y")->Enabled);
    Again.Find("Curve Through Intersections")->Click();
    Menu = Plane->PopupMenu();
    EXPECT_TRUE(Menu->Find("Curve Intersections")->Find("Curve Through Intersections")->Checked);
    ASSERT_TRUE(Menu->Find("Curve Intersections")->Find("Sort in Z")->Enabled);
    Menu->Find("Curve Intersections")->Find("Sort in Z")->Click();
    EXPECT_EQ(Plane->GetSortAxis(), 2);
}

TEST_F(PlaneDocumentTest, CreateMenuQueryAndNamedPlanes) {
    TMenuItem Create;
    TGeoPlane::AddCreateMenuItems(Create, Doc);
    ASSERT_EQ(MenuCaptions(Create), (std::vector<std::string>{"Plane"}));
    EXPECT_EQ(Create.Items(0).ImageIndex, 68);
    Create.Items(0).Click();
    ASSERT_EQ(Doc.Count(), 3);
    EXPECT_NE(dynamic_cast<TGeoPlane*>(&Doc.Items(2)), nullptr);
    EXPECT_EQ(Doc.SingleSelection(), &Doc.Items(2));

    Plane->SetName("Cut");
    Plane->SetOffset(0.5);
    TGeometryQuery Query;
    Query.Kinds = QueryKinds({qkPlane});
    Doc.Query(Query, false);
    ASSERT_EQ(Query.Count(), 2);
    EXPECT_EQ(Query.Item(0).As<TPlane>(), &Plane->Plane());
    EXPECT_EQ(Query.Item(0).Name, "Cut");

    // The slice dialog lists the named planes only, and finds them whatever the letter case.
    EXPECT_EQ(NamedPlanes(Doc), (std::vector<std::string>{"Cut"}));
    TMPlane Found;
    ASSERT_TRUE(FindNamedPlane(Doc, "cUT", Found));
    EXPECT_EQ(Found.Distance, 0.5);
    EXPECT_FALSE(FindNamedPlane(Doc, "Line", Found));
    EXPECT_FALSE(FindNamedPlane(Doc, "Nothing", Found));

    // The select-by-class message selects planes.
    Doc.ClearSelection();
    Doc.SendMessage(std::make_unique<TGeoSelectPlanes>());
    EXPECT_EQ(Doc.SelectedCount(), 2);
    EXPECT_FALSE(Line->GetSelected());
}

}  // namespace
}  // namespace sarnova::test
