// The image-plane entity: its block, picking over the picture, rubber bands, staying put under
// transforms, handles on the picture or the selection window, the menu's picture commands and the
// creator.
#include "entities/GImage.h"

#include <gtest/gtest.h>

#include "../DialogsScope.h"
#include "EntityFixtures.h"
#include "foundation/Errors.h"
#include "platform/ImageReader.h"

namespace sarnova::test {
namespace {

// Every file is a 2 x 2 picture: a red row under a blue one.
class TTwoColourReader : public IImageReader {
public:
    TPicture ReadPicture(const std::filesystem::path& FileName) override {
        if (FileName.string().find("broken") != std::string::npos) throw EError("Bitmap image is not valid");
        return {2, 2, {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255}};
    }
};

class ImageEntityTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterEntityClasses();
        SetImageReader(&Reader);
    }
    void TearDown() override { SetImageReader(nullptr); }
    TGeoImagePlane* AddImage(TImageExtentsRecord R, const std::string& Name = {}) {
        auto Image = std::make_unique<TGeoImagePlane>();
        Image->ImagePlane().ImageExtents().SetExtents(R);
        Image->SetName(Name);
        return static_cast<TGeoImagePlane*>(Doc.Add(std::move(Image)));
    }

    TTwoColourReader Reader;
    TGeometryInterface Doc;
    TFakeView View;
};

const char* const Block =
    "[TImagePlane]\nPlaneNormal=(0,1,0)\nPlaneOffset=1.5\nLockAspectRatio=FALSE\nMinV=-2\nMinV=0\nMaxV=4\nMaxV=3\n"
    "Width=2\nHeight=2\nCount=2\n010000ff01ff0000\nName=Plan\n\n";

TEST_F(ImageEntityTest, BlockLoadsAndSavesUnchangedWithoutColour) {
    ExpectLoadsAndSavesUnchanged(Block);
    TGeoImagePlane* Image = AddImage({0, 0, 2, 1});
    Image->SetColor(clRed);
    EXPECT_EQ(SavedText(Doc),
              "[TImagePlane]\nPlaneNormal=(0,0,1)\nPlaneOffset=0\nLockAspectRatio=FALSE\nMinV=0\nMinV=0\nMaxV=2\n"
              "MaxV=1\nWidth=0\nHeight=0\nCount=0\n\n");
    // A block whose picture does not read is kept as it was.
    const std::string Damaged =
        "[TImagePlane]\nPlaneNormal=(0,0,1)\nPlaneOffset=0\nMinV=0\nMinV=0\nMaxV=1\nMaxV=1\nWidth=1\nHeight=1\n"
        "Count=1\nnothex!!\n\n";
    TGeometryInterface Other;
    LoadDocumentText(Other, Damaged);
    EXPECT_TRUE(EntitiesOf<TGeoImagePlane>(Other).empty());
    EXPECT_EQ(SavedText(Other), Damaged);
}

TEST_F(ImageEntityTest, PickedAnywhereOverThePictureUnlessSomethingIsNearer) {
    TGeoImagePlane* Image = AddImage({0, 0, 10, 10}, "Image");
    TGeoPline* Line = AddPline(Doc, {{5, 0, 0}, {5, 10, 0}}, "Line");
    EXPECT_EQ(Image->DistanceToPoint(Px(8, 5), View), 29.0);
    EXPECT_EQ(Image->DistanceToPoint(Px(11, 5), View), HugeValue);
    // The line 5 pixels away wins; 30 pixels away the picture does.
    EXPECT_EQ(Doc.PickNearest(Px(5.5, 5), View, 1e30), Line);
    EXPECT_EQ(Doc.PickNearest(Px(8, 5), View, 1e30), Image);

    // A band wholly inside the picture, around no handle, selects it; one beside it does not.
    const TPoint A = Px(2, 8), B = Px(4, 6);
    EXPECT_TRUE(Image->InRect({A.X, A.Y, B.X, B.Y}, View));
    const TPoint C = Px(12, 8), D = Px(14, 6);
    EXPECT_FALSE(Image->InRect({C.X, C.Y, D.X, D.Y}, View));
}

TEST_F(ImageEntityTest, StaysWhereItIsWhenTheDocumentMoves) {
    TGeoImagePlane* Image = AddImage({0, 0, 2, 1}, "Image");
    AddPline(Doc, {{0, 0, 0}, {1, 1, 0}});
    const std::string Before = SavedText(Doc).substr(0, SavedText(Doc).find("[TPolyline]"));
    RunMacroText(Doc, "SELECT ALL\nMOVE X=1 Y=2 Z=3\nROTATE Z=45\n");
    ASSERT_EQ(Doc.FindByName("Image"), Image);
    EXPECT_EQ(SavedText(Doc).substr(0, Before.size()), Before);
}

TEST_F(ImageEntityTest, HandlesSitOnThePictureOrTheSelectionWindow) {
    TGeoImagePlane* Image = AddImage({0, 0, 4, 2});
    Image->ImagePlane().SelectionWindow().SetExtents({1, 0.5, 3, 1.5});
    ExpectNear(Image->GetPoint(3)->Vector(), {4, 1, 0});
    Doc.SetProjectOptions(po3DEditing);
    Doc.View = &View;
    Image->SetEditing(true);
    Image->SetShowSelection(true);
    Image->SetEditSelection(true);
    ExpectNear(Image->GetPoint(3)->Vector(), {3, 1, 0});

    // Dragging handle 4 moves the window's corner alone.
    Image->DeselectAllPoints();
    Image->GetPoint(4)->Marked = true;
    const TPoint From = Px(3, 1.5), To = Px(3.5, 2.5);
    View.Press(mbLeft, From.X, From.Y);
    View.Move(To.X, To.Y);
    View.Release(mbLeft, To.X, To.Y);
    const TImageExtents& W = Image->ImagePlane().SelectionWindow();
    EXPECT_NEAR(W.MaxU(), 3.5, 1e-9);
    EXPECT_NEAR(W.MaxV(), 2.5, 1e-9);
    EXPECT_EQ(W.MinU(), 1);
    const TImageExtents& E = Image->ImagePlane().ImageExtents();
    EXPECT_EQ(E.MaxU(), 4);
    EXPECT_EQ(E.MaxV(), 2);

    // With edit selection off the same drag moves the picture's corner.
    Image->SetEditSelection(false);
    Image->DeselectAllPoints();
    Image->GetPoint(4)->Marked = true;
    const TPoint Corner = Px(4, 2), Further = Px(5, 3);
    View.Press(mbLeft, Corner.X, Corner.Y);
    View.Move(Further.X, Further.Y);
    View.Release(mbLeft, Further.X, Further.Y);
    EXPECT_NEAR(E.MaxU(), 5, 1e-9);
    EXPECT_NEAR(E.MaxV(), 3, 1e-9);
}

TEST_F(ImageEntityTest, AHandleSeenEdgeOnStartsNoDrag) {
    TGeoImagePlane* Image = AddImage({0, 0, 4, 2});
    Image->SetEditing(true);
    const TPoint Corner = View.Camera.ToScreen({4, 2, 0});
    TSelectAction Action = saDoNothing;
    Image->SelectPoint(View, Corner.X, Corner.Y, 0, Action);
    EXPECT_EQ(Action, saMouseDrag);
    // Looking along x the pick ray runs in the plane z = 0: it never meets the plane to drag on.
    View.Camera.Look({1, 0, 0}, ZAxisVector);
    const TPoint EdgeOn = View.Camera.ToScreen({4, 2, 0});
    Image->SelectPoint(View, EdgeOn.X, EdgeOn.Y, 0, Action);
    EXPECT_EQ(Action, saDoNothing);
}

TEST_F(ImageEntityTest, EditPlanesAreHeldToTheImagesPlane) {
    TGeoImagePlane* Image = AddImage({0, 0, 4, 2});
    struct TCase {
        TMVector N;
        TEditPlaneSet Allowed;
    };
    const TCase Cases[] = {{{0, 0, 1}, 1u << epXY}, {{1, 0, 0}, 1u << epYZ}, {{0, 1, 0}, 1u << epZX},
                           {VectorNormalise({1, 1, 0}), 0xFF}};
    for (const TCase& C : Cases) {
        Image->ImagePlane().SetPlane(C.N, 0);
        TEditPlaneSet Allowed = 0xFF;
        Image->RestrictEditPlanes(Allowed);
        EXPECT_EQ(Allowed, C.Allowed);
    }
}

TEST_F(ImageEntityTest, MenuLoadsAndInvertsThePictureAndMarksTheDocument) {
    TDialogsScope Dialogs;
    TGeoImagePlane* Image = AddImage({0, 0, 4, 2});
    Doc.SetModified(false);
    TMenuItem* Root = Image->PopupMenu();
    ASSERT_NE(Root, nullptr);
    EXPECT_FALSE(Root->Find("Edit Selection")->Enabled);

    Dialogs.Dialogs.ChooseFile("plan.bmp");
    ClickPopupItem(*Image, "Select Image...");
    ASSERT_EQ(Dialogs.Dialogs.ShownFileDialogs.size(), 1u);
    EXPECT_EQ(Dialogs.Dialogs.ShownFileDialogs[0].Title, "Select Image");
    EXPECT_EQ(Image->ImagePlane().Image().Count(), 2);
    EXPECT_TRUE(Doc.GetModified());

    Doc.SetModified(false);
    ClickPopupItem(*Image, "Negative Image");
    EXPECT_EQ(Image->ImagePlane().Image().Runs(0), 0x01FFFF00u);
    EXPECT_TRUE(Doc.GetModified());

    // A picture that cannot be read throws and keeps the one there was.
    Dialogs.Dialogs.ChooseFile("broken.bmp");
    EXPECT_THROW(Image->SelectImage(), EError);
    EXPECT_EQ(Image->ImagePlane().Image().Count(), 2);

    ClickPopupItem(*Image, "Show Selection");
    EXPECT_TRUE(Image->GetShowSelection());
    Root = Image->PopupMenu();
    EXPECT_TRUE(Root->Find("Show Selection")->Checked);
    EXPECT_TRUE(Root->Find("Edit Selection")->Enabled);
}

TEST_F(ImageEntityTest, CreatorPutsThePictureWhereTheRectangleWasDragged) {
    TDialogsScope Dialogs;
    Doc.View = &View;
    // Looking along y, dragging from z = 1 to z = 5.
    View.Camera.Look({0, 1, 0}, ZAxisVector);
    RunCreator(std::make_unique<TGeoImagePlaneCreator>(Doc), View);
    Dialogs.Dialogs.CancelFileDialog();
    for (const TMVector& P : {TMVector{2, 0, 1}, TMVector{6, 0, 5}}) {
        const TPoint Pixel = View.Camera.ToScreen(P);
        View.Move(Pixel.X, Pixel.Y);
        View.Press(mbLeft, Pixel.X, Pixel.Y);
        View.Release(mbLeft, Pixel.X, Pixel.Y);
    }
    const auto Images = EntitiesOf<TGeoImagePlane>(Doc);
    ASSERT_EQ(Images.size(), 1u);
    TImagePlane& Made = Images.front()->ImagePlane();
    EXPECT_EQ(Made.Image().Count(), 0) << "cancelled: no picture";
    const TMBox B = Made.GetBounds();
    EXPECT_NEAR(B.Min.Z, 1, 1e-9);
    EXPECT_NEAR(B.Max.Z, 5, 1e-9);
    EXPECT_NEAR(B.Min.X, 2, 1e-9);
    EXPECT_NEAR(B.Max.X, 6, 1e-9);
    EXPECT_EQ(Dialogs.Dialogs.ShownFileDialogs.size(), 1u);
}

}  // namespace
}  // namespace sarnova::test
