// The shading controller and the frames of pressure fields and vector lists: the controller's setters
// and marker drags, its painted band, and the frames' edits reaching the entities.
#include <gtest/gtest.h>

#include <QImage>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/ui/FrameParts.h"
#include "entities/ui/PressureFieldFrame.h"
#include "entities/ui/ShadingController.h"
#include "foundation/TextFile.h"
#include "shell/ControlsTestSupport.h"
#include "controls/VkColorPanel.h"
#include "controls/VkSpin.h"

namespace sarnova {
namespace {

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);

// The controller painted once at a size that shows the whole scale.
struct TPaintedController {
    TVkShadingController Control;
    int Changing = 0;
    int Changed = 0;
    TPaintedController() {
        Control.resize(120, 220);
        Control.OnChanging = [this](QObject* Sender) {
            EXPECT_EQ(Sender, &Control);
            ++Changing;
        };
        Control.OnChanged = [this](QObject*) { ++Changed; };
    }
    QImage Paint() { return Control.grab().toImage(); }
    // Presses on a marker, moves to row Y and releases there.
    void Drag(const QRect& Marker, int Y) {
        test::SendMouse(&Control, QEvent::MouseButtonPress, Marker.center());
        test::SendMouse(&Control, QEvent::MouseMove, {Marker.center().x(), Y}, Qt::NoButton, Qt::LeftButton);
        test::SendMouse(&Control, QEvent::MouseButtonRelease, {Marker.center().x(), Y});
    }
};

TEST(ShadingController, SettersResetOrClampTheLimitsWithoutEvents) {
    TPaintedController P;
    EXPECT_EQ(P.Control.size(), QSize(120, 220));
    TVkShadingController Fresh;
    EXPECT_EQ(Fresh.size(), QSize(80, 80));
    EXPECT_EQ(Fresh.GetMin(), -100);
    EXPECT_EQ(Fresh.GetClippingMax(), 100);

    TVkShadingController& C = P.Control;
    C.SetClippingMin(-20);
    C.SetClippingMax(30);
    C.SetShadingMethod(smLinear);  // the same method keeps the limits
    EXPECT_EQ(C.GetClippingMin(), -20);
    C.SetClippingMax(-50);
    EXPECT_EQ(C.GetClippingMax(), -20);
    C.SetMin(-10);
    EXPECT_EQ(C.GetClippingMin(), -10);
    EXPECT_EQ(C.GetClippingMax(), 100);
    C.SetClippingMin(50);
    C.SetMax(60);
    EXPECT_EQ(C.GetClippingMin(), -10);
    EXPECT_EQ(C.GetClippingMax(), 60);
    C.SetClippingMin(0);
    C.SetShadingMethod(smZeroCentred);
    EXPECT_EQ(C.GetClippingMin(), -10);
    EXPECT_EQ(P.Changing + P.Changed, 0);
}

TEST(ShadingController, TheUpperMarkerStopsAtTheLowerOneOrAtZero) {
    for (TShadingMethod Method : {smLinear, smZeroCentred}) {
        TPaintedController P;
        P.Control.SetShadingMethod(Method);
        P.Control.SetClippingMin(-50);
        P.Paint();
        P.Drag(P.Control.ClippingMaxMarker(), P.Control.ValueToY(-80));
        EXPECT_EQ(P.Control.GetClippingMax(), Method == smLinear ? -50 : 0) << Method;
        EXPECT_EQ(P.Changing, 2);
        EXPECT_EQ(P.Changed, 1);
        EXPECT_EQ(P.Control.GetDragState(), 0);
    }
    // A press beside the markers drags nothing.
    TPaintedController P;
    P.Paint();
    P.Drag(QRect(5, 100, 1, 1), 150);
    EXPECT_EQ(P.Changing + P.Changed, 0);
}

TEST(ShadingController, RowsOutsideTheLimitsArePaintedBlueAndRed) {
    TPaintedController P;
    P.Control.SetClippingMin(-50);
    P.Control.SetClippingMax(50);
    const QImage Shot = P.Paint();
    const int X = P.Control.ClippingMaxMarker().left() - 2;
    EXPECT_EQ(Shot.pixelColor(X, P.Control.ValueToY(80)), Red);
    EXPECT_EQ(Shot.pixelColor(X, P.Control.ValueToY(-80)), Blue);
    EXPECT_NE(Shot.pixelColor(X, P.Control.ValueToY(0)), Red);

    // One value: one colour over the band, and no failure.
    TPaintedController One;
    One.Control.SetMin(5);
    One.Control.SetMax(5);
    const QImage Flat = One.Paint();
    EXPECT_EQ(Flat.pixelColor(X, 30), Flat.pixelColor(X, 190));
}

class PressureFieldFramesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterPressureFieldUi();
    }
    void TearDown() override {
        if (Opened != nullptr) Opened->FreeFrame();
        PressureFieldRendererCreator() = nullptr;
    }
    template <class TFrame>
    TFrame* Open(TGeometry& Entity) {
        Opened = &Entity;
        Doc.GetUndoManager().Clear();
        auto* Frame = dynamic_cast<TFrame*>(Entity.CreateFrameFor(&Owner));
        EXPECT_NE(Frame, nullptr);
        return Frame;
    }
    TGeometry& Load(const std::string& Text) {
        TTextReader In(Text);
        Doc.LoadFromText(In);
        return Doc.Items(Doc.Count() - 1);
    }
    std::string Saved() {
        TTextWriter Out;
        Doc.SaveToText(Out);
        return Out.Text();
    }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeometry* Opened = nullptr;
};

TEST_F(PressureFieldFramesTest, ReleasingTheUpperMarkerRecoloursTheField) {
    auto& Field = dynamic_cast<TGeoPressureField&>(Load(
        "[TPressureField]\nNumberofPolygons=2\n3 0 0 0 1 0 0 0 1 0 1\n3 2 0 0 3 0 0 2 1 0 3\nName=P\n\n"));
    auto* Frame = Open<TPressureFieldFrame>(Field);
    EXPECT_EQ(Frame->EntityClass->text(), "PressureField");
    TVkShadingController& C = *Frame->VkShadingController1;
    EXPECT_EQ(C.GetMin(), 1);
    EXPECT_EQ(C.GetMax(), 3);
    EXPECT_EQ(C.GetClippingMin(), 1);
    EXPECT_EQ(C.GetClippingMax(), 3);

    C.resize(120, 240);
    C.grab();
    const int Y = C.ValueToY(2);
    const std::string Before = Saved();
    test::SendMouse(&C, QEvent::MouseButtonPress, C.ClippingMaxMarker().center());
    test::SendMouse(&C, QEvent::MouseMove, {C.ClippingMaxMarker().center().x(), Y}, Qt::NoButton, Qt::LeftButton);
    // Not while the marker moves.
    EXPECT_EQ(Field.ColourMax(), 3);
    test::SendMouse(&C, QEvent::MouseButtonRelease, {C.ClippingMaxMarker().center().x(), Y});
    EXPECT_NEAR(Field.ColourMax(), 2, 0.05);
    EXPECT_EQ(Field.Field().Polygon(0)->GetColor(), TColor(0xFF0000));
    EXPECT_EQ(Field.Field().Polygon(1)->GetColor(), TColor(0x0000FF));
    EXPECT_FALSE(Doc.CanUndo());

    // The range is no part of the document: read again, the field spans its pressures.
    EXPECT_EQ(Saved(), Before);
    TGeometryInterface Again;
    TTextReader In(Before);
    Again.LoadFromText(In);
    auto& Reread = dynamic_cast<TGeoPressureField&>(Again.Items(0));
    EXPECT_EQ(Reread.ColourMax(), 3);
}

TEST_F(PressureFieldFramesTest, TheVectorListFrameSetsTheScaleAndTheColourIsSaved) {
    auto& List = dynamic_cast<TGeoVectorList&>(
        Load("[TVectorList]\nScale=2.500000\nNumberOfVectors=1\n0 0 0 1 0 0\nName=V\n\n"));
    auto* Frame = Open<TVectorListFrame>(List);
    EXPECT_EQ(Frame->EntityClass->text(), "VectorList");
    EXPECT_EQ(Frame->VkSpinEdit1->GetValue(), 2.5f);
    Frame->VkSpinEdit1->SetValue(10);
    EXPECT_EQ(List.GetScale(), 10);
    EXPECT_EQ(List.GetExtents().Max.X, 10);

    Frame->NameColor->ColorPanel->SetColor(clLime);
    Frame->NameColor->ColorPanel->OnChange(Frame->NameColor->ColorPanel);
    const std::string Text = Saved();
    EXPECT_NE(Text.find("Scale=10.000000\n"), std::string::npos) << Text;
    TGeometryInterface Again;
    TTextReader In(Text);
    Again.LoadFromText(In);
    EXPECT_EQ(Again.Items(0).GetColor(), clLime);
}

}  // namespace
}  // namespace sarnova
