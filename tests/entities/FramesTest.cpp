// The frames entity: its block, the FRAMES macro line, the scale and labels it draws, the limits that
// follow the document, picking, snapping, its menu and the definition edits of its frame.
#include "document/GFrames.h"

#include <gtest/gtest.h>

#include "EntityFixtures.h"
#include "document/GeometryQuery.h"
#include "foundation/Errors.h"

namespace sarnova::test {
namespace {

class FramesTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    TGeoFrames& Frames() {
        Doc.GetFrames();
        return *EntitiesOf<TGeoFrames>(Doc).front();
    }

    TGeometryInterface Doc;
};

TEST_F(FramesTest, BlockLoadsAndSavesUnchanged) {
    const std::string Text = "[TFrames]\nFrames 5 0.6 10 0.7 \n\n";
    ExpectLoadsAndSavesUnchanged(Text);
    LoadDocumentText(Doc, Text);
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(Doc.Items(0).GetName(), "Frames");
    // A new table: the default definition, nothing else.
    TGeometryInterface Fresh;
    Fresh.GetFrames();
    EXPECT_EQ(SavedText(Fresh), "[TFrames]\nFrames 0 1\n\n");
}

TEST_F(FramesTest, MacroLineSetsTheDocumentsTable) {
    RunMacroText(Doc, "frames 5 0.5\n");
    ASSERT_EQ(EntitiesOf<TGeoFrames>(Doc).size(), 1u);
    EXPECT_EQ(Frames().Frames().GetDefinition(), "Frames 5 0.5");
    EXPECT_DOUBLE_EQ(Doc.EvaluateNumber("#4"), 7);

    const std::pair<const char*, const char*> Refused[] = {
        {"FRAMES 0 1 10\n", "Error in frame Definition, Wrong number of Parameters"},
        {"FRAMES 0\n", "Error in frame Definition, Wrong number of Parameters"},
        {"FRAMES 0 x\n", "Unable to convert string to number (x)"},
        {"FRAMES 0 0\n", "Error in frame Definition, spacing 0 is not positive"},
        {"FRAMES 0 0.6 20 0.7 10 0.8\n", "Error in frame Definition, frame 10 is out of order"},
    };
    for (auto [Line, Message] : Refused) {
        EXPECT_EQ(MacroError(Doc, Line), Message) << Line;
        // A refused definition leaves the table, and so the entity, as it was.
        EXPECT_EQ(Frames().Frames().GetDefinition(), "Frames 5 0.5") << Line;
    }
}

TEST_F(FramesTest, DefinitionChangesAreUndoneByteForByte) {
    RunMacroText(Doc, "FRAMES 0 0.6 20 0.7\n");
    ExpectOneUndoStep(Doc, "macro", [&] { RunMacroText(Doc, "FRAMES 5 0.5\n"); });
    ExpectOneUndoStep(Doc, "frame", [&] { Frames().UpdateDefinition("1 2"); });
    TMMatrix M = IdentityMatrix;
    M[0][0] = 2;
    M[0][3] = 3;
    ExpectOneUndoStep(Doc, "transform", [&] { Frames().Transform(M); });
}

TEST_F(FramesTest, FrameShowsTheDefinitionWithoutItsKeyword) {
    TGeoFrames& F = Frames();
    EXPECT_EQ(F.DefinitionText(), "0 1");
    F.UpdateDefinition("5 0.6 10 0.7");
    EXPECT_EQ(F.DefinitionText(), "5 0.6 10 0.7 ");
    EXPECT_THROW(F.UpdateDefinition("1 2 3"), EError);
    EXPECT_THROW(F.UpdateDefinition("1 two"), EConvertError);
    EXPECT_EQ(F.DefinitionText(), "5 0.6 10 0.7 ");
}

TEST_F(FramesTest, TransformMapsTheTableAlongX) {
    TMMatrix M = IdentityMatrix;
    M[0][0] = 2;
    M[0][3] = 3;
    M[1][3] = 50;  // y and z do not touch a scale on the x axis
    Frames().Transform(M);
    EXPECT_EQ(Frames().Frames().GetDefinition(), "Frames 3 2");
    EXPECT_DOUBLE_EQ(Frames().Frames().FramePosition(4), 11);
}

TEST_F(FramesTest, ScaleAndLabelsOfAnEmptyDocument) {
    TRenderView View;
    Frames().Draw(View);
    const auto Lines = View.Of("Line");
    // The axis, then two ticks for each of the 111 frames from -10 to 100.
    ASSERT_EQ(Lines.size(), 1u + 2 * 111);
    EXPECT_DOUBLE_EQ(Lines[0].Points[0].X, -10);
    EXPECT_DOUBLE_EQ(Lines[0].Points[1].X, 100);
    for (std::size_t I = 1; I < Lines.size(); I += 2) {
        const double X = Lines[I].Points[0].X;
        const double H = std::fmod(X, 10) == 0 ? 1 : 0.5;
        EXPECT_DOUBLE_EQ(Lines[I].Points[1].Z, -H) << X;
        EXPECT_DOUBLE_EQ(Lines[I + 1].Points[1].Y, H) << X;
    }

    // Labels at every tenth frame, centred under the long tick's lower end.
    const auto Labels = View.Of("TextOut");
    ASSERT_EQ(Labels.size(), 12u);
    EXPECT_EQ(Labels[0].Text, "-10");
    EXPECT_EQ(Labels[11].Text, "100");
    // Frame 10 at window (300, 310), y downwards: "10" is 16 wide and 16 high, its top at the tick.
    EXPECT_EQ(Labels[2].Text, "10");
    EXPECT_DOUBLE_EQ(Labels[2].Points[0].X, 300 - 8);
    EXPECT_DOUBLE_EQ(Labels[2].Points[0].Y, 310 + 16);
    EXPECT_EQ(View.Overlays, 1);
    EXPECT_EQ(View.OverlaysOpen, 0);

    // Outside the view's depth range, or on a target that cannot place them: the scale alone.
    for (bool Projects : {true, false}) {
        TRenderView Other;
        Other.Depth = 1.5;
        Other.CanProject = Projects;
        Frames().Draw(Other);
        EXPECT_EQ(Other.Of("Line").size(), Lines.size());
        EXPECT_TRUE(Other.Of("TextOut").empty());
        EXPECT_EQ(Other.Overlays, 0);
    }
    // A drawing target that does not render (a printer's canvas): the scale alone.
    TRecordingGraphics Canvas;
    Frames().Draw(Canvas);
    EXPECT_EQ(Canvas.Calls.size(), Lines.size());
    TRenderView Simple;
    Frames().DrawSimplified(Simple);
    EXPECT_EQ(Simple.Overlays, 0);
}

TEST_F(FramesTest, ScaleFollowsTheDocumentsExtentsAlongX) {
    TFrames& Table = Frames().Frames();
    AddPline(Doc, {{0, 0, 0}, {60, 1, 0}}, "Long");
    EXPECT_DOUBLE_EQ(Table.XMin, 0);
    EXPECT_DOUBLE_EQ(Table.XMax, 60);
    Doc.DeleteGeometry(Doc.FindByName("Long"));
    AddPline(Doc, {{0, 0, 0}, {8, 1, 0}}, "Short");
    EXPECT_DOUBLE_EQ(Table.XMin, -10);
    EXPECT_DOUBLE_EQ(Table.XMax, 100);
}

TEST_F(FramesTest, PickedAndSnappedAtFramePositions) {
    TFakeView View;
    TGeoFrames& F = Frames();
    F.UpdateDefinition("0 2");
    // Frame 6 lies at x = 12, pixel (220, 100).
    EXPECT_DOUBLE_EQ(F.DistanceToPoint({221, 104}, View), std::hypot(1, 4));
    EXPECT_TRUE(F.InRect({218, 98, 222, 102}, View));
    EXPECT_FALSE(F.InRect({221, 98, 225, 102}, View));

    TGeometrySnapInfo Request(Px(12.8, 1), &View, nullptr, {});
    F.AddSnapPoints(Request);
    ASSERT_TRUE(Request.Found());
    ExpectNear(Request.BestPoint, {12, 0, 0});
    EXPECT_EQ(Request.SnapTarget, &F);

    // Looking along the x axis, either way, offers nothing.
    for (double Direction : {1.0, -1.0}) {
        View.Camera.Look({Direction, 0, 0}, ZAxisVector);
        TGeometrySnapInfo Along({100, 100}, &View, nullptr, {});
        F.AddSnapPoints(Along);
        EXPECT_FALSE(Along.Found());
    }

    F.SetDisplayState(dsHidden);
    EXPECT_EQ(F.DistanceToPoint({220, 100}, View), 1e33);
    EXPECT_FALSE(F.InRect({0, 0, 400, 400}, View));
}

TEST_F(FramesTest, MenuHidesTheFrames) {
    TGeoFrames& F = Frames();
    F.SetSelected(true);
    EXPECT_EQ(MenuCaptions(*F.PopupMenu()), (std::vector<std::string>{"Show Attributes...", "-", "Show Frames"}));
    EXPECT_TRUE(F.PopupMenu()->Find("Show Frames")->Checked);
    ClickPopupItem(F, "Show Frames");
    EXPECT_TRUE(F.IsHidden());
    EXPECT_FALSE(F.GetSelected());

    // The Create menu's item selects the document's frames entity, which it makes when missing.
    TGeometryInterface Other;
    TMenuItem Menu;
    TGeoFrames::AddCreateMenuItems(Menu, Other);
    ASSERT_EQ(Menu.Count(), 1);
    EXPECT_EQ(Menu.Items(0).Caption, "&Frames...");
    Menu.Items(0).Click();
    ASSERT_EQ(Other.Count(), 1);
    EXPECT_TRUE(Other.Items(0).GetSelected());
}

}  // namespace
}  // namespace sarnova::test
