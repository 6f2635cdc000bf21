// The slice and vertex dialogs: their control rules, the answers they give, and the polyline's
// vertex item running the real dialog.
#include "document/ui/PolylineDialogsUi.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "document/GPline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "document/ui/PlineFrame.h"
#include "entities/GPlane.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "platform/Menu.h"
#include "shell/ControlsTestSupport.h"

namespace sarnova {
namespace {

class PolylineDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterGeometryClasses(); }
    TGeometryInterface Doc;
};

TEST_F(PolylineDialogsTest, TheSliceFormOffersNamedPlanesAndClosingOnlyWhereAllowed) {
    Doc.Add(std::make_unique<TGeoPlane>());  // unnamed: never listed
    {
        TSliceForm Form;
        Form.Setup("Polygon List", Doc, false);
        EXPECT_EQ(Form.windowTitle(), "Slice Polygon List");
        EXPECT_FALSE(Form.PlaneButton->isEnabled());
        EXPECT_FALSE(Form.PlaneList->isEnabled());
        // A facet list never closes, whatever plane is chosen.
        for (QRadioButton* Axis : {Form.Axes[1], Form.Axes[0]}) {
            Axis->setChecked(true);
            EXPECT_FALSE(Form.CloseBox->isEnabled());
            EXPECT_TRUE(Form.Position->isEnabled());
        }
    }

    auto Named = std::make_unique<TGeoPlane>();
    Named->SetName("Cut");
    Named->SetPlaneMode(pmX);
    Named->SetOffset(4);
    Doc.Add(std::move(Named));
    TSliceForm Form;
    Form.Setup("Polyline", Doc, true);
    EXPECT_TRUE(Form.CloseBox->isEnabled());
    ASSERT_EQ(Form.PlaneList->count(), 1);
    EXPECT_EQ(Form.PlaneList->currentText(), "Cut");
    Form.PlaneButton->setChecked(true);
    EXPECT_FALSE(Form.CloseBox->isEnabled());
    EXPECT_FALSE(Form.Position->isEnabled());
    EXPECT_FALSE(Form.PositionLabel->isEnabled());
    Form.Axes[2]->setChecked(true);
    EXPECT_EQ(Form.PositionLabel->text(), "Y =");
    EXPECT_TRUE(Form.CloseBox->isEnabled());
}

TEST_F(PolylineDialogsTest, TheSliceFormAnswersTheChosenPlane) {
    auto Named = std::make_unique<TGeoPlane>();
    Named->SetName("Cut");
    Named->SetPlaneMode(pmX);
    Named->SetOffset(4);
    TGeoPlane* Plane = static_cast<TGeoPlane*>(Doc.Add(std::move(Named)));

    TSliceForm Axis;
    Axis.Setup("Polyline", Doc, true);
    Axis.Axes[1]->setChecked(true);
    EXPECT_EQ(Axis.PositionLabel->text(), "X =");
    Axis.Position->setText("2.5");
    Axis.CloseBox->setChecked(true);
    Axis.OkButton->click();
    ASSERT_EQ(Axis.result(), QDialog::Accepted);
    EXPECT_EQ(Axis.Plane().Normal, (TMVector{1, 0, 0}));
    EXPECT_EQ(Axis.Plane().Distance, 2.5);
    EXPECT_TRUE(Axis.Close());

    TSliceForm Entity;
    Entity.Setup("Polyline", Doc, true);
    Entity.PlaneButton->setChecked(true);
    // The plane lost its name while the dialog was up: the dialog stays open.
    Plane->SetName("Renamed");
    Entity.OkButton->click();
    EXPECT_NE(Entity.result(), QDialog::Accepted);
    Plane->SetName("Cut");
    Entity.OkButton->click();
    ASSERT_EQ(Entity.result(), QDialog::Accepted);
    EXPECT_EQ(Entity.Plane().Normal, (TMVector{1, 0, 0}));
    EXPECT_EQ(Entity.Plane().Distance, 4);
}

TEST_F(PolylineDialogsTest, TheVertexFormRules) {
    TPolylineList List;
    for (int N : {3, 7}) {
        auto P = std::make_unique<TPolyline>();
        for (int I = 0; I < N; ++I) P->AddPoint(I, 0, 0);
        List.Add(std::move(P));
    }
    TVertexForm Form;
    Form.SetupForList(List);
    EXPECT_EQ(Form.windowTitle(), "Modify Polyline List Vertices");
    EXPECT_EQ(Form.CountEdit->text(), "7");
    EXPECT_FALSE(Form.SpacingEdit->isEnabled());
    EXPECT_FALSE(Form.AngleEdit->isEnabled());
    EXPECT_FALSE(Form.DraughtEdit->isEnabled());
    EXPECT_TRUE(Form.Enable->isEnabled());

    // The waterplane distribution sets its own count and decides on the collinear points.
    Form.Enable->setChecked(true);
    EXPECT_EQ(Form.CountEdit->text(), "30");
    EXPECT_TRUE(Form.RemoveColinear->isChecked());
    EXPECT_FALSE(Form.RemoveColinear->isEnabled());
    EXPECT_TRUE(Form.DraughtEdit->isEnabled());
    EXPECT_TRUE(Form.MaintainCount->isEnabled());
    Form.MaintainCount->setChecked(true);
    EXPECT_FALSE(Form.RemoveColinear->isChecked());

    // A spacing has no waterplane distribution.
    Form.BySpacing->setChecked(true);
    EXPECT_FALSE(Form.Enable->isChecked());
    EXPECT_FALSE(Form.Enable->isEnabled());
    EXPECT_FALSE(Form.DraughtEdit->isEnabled());
    EXPECT_TRUE(Form.SpacingEdit->isEnabled());
    EXPECT_FALSE(Form.CountEdit->isEnabled());
    EXPECT_TRUE(Form.RemoveColinear->isEnabled());

    // Keeping the shape allows only a count.
    Form.Detect->setChecked(true);
    EXPECT_TRUE(Form.AngleEdit->isEnabled());
    Form.RemoveColinear->setChecked(true);
    Form.MaintainShape->setChecked(true);
    EXPECT_TRUE(Form.ByCount->isChecked());
    EXPECT_FALSE(Form.BySpacing->isEnabled());
    EXPECT_FALSE(Form.SpacingEdit->isEnabled());
    EXPECT_FALSE(Form.RemoveColinear->isChecked());
    EXPECT_FALSE(Form.RemoveColinear->isEnabled());
    EXPECT_FALSE(Form.Detect->isChecked());
    EXPECT_FALSE(Form.KnuckleGroup->isEnabled());
    EXPECT_FALSE(Form.WaterGroup->isEnabled());
    EXPECT_FALSE(Form.Enable->isEnabled());
    Form.MaintainShape->setChecked(false);
    for (QWidget* W : {static_cast<QWidget*>(Form.BySpacing), static_cast<QWidget*>(Form.RemoveColinear),
                       static_cast<QWidget*>(Form.KnuckleGroup), static_cast<QWidget*>(Form.Enable)})
        EXPECT_TRUE(W->isEnabled());
    EXPECT_FALSE(Form.AngleEdit->isEnabled());
}

TEST_F(PolylineDialogsTest, TheVertexFormAnswersOrRefusesBadNumbers) {
    TPolyline Polyline;
    for (int I = 0; I < 4; ++I) Polyline.AddPoint(I, 0, 0);
    TVertexForm Form;
    Form.SetupForPolyline(Polyline);
    EXPECT_EQ(Form.windowTitle(), "Modify Polyline Vertices");
    EXPECT_EQ(Form.CountEdit->text(), "4");
    EXPECT_TRUE(Form.WaterGroup->isHidden());
    Form.BySpacing->setChecked(true);
    Form.SpacingEdit->setText("0.25");
    Form.Detect->setChecked(true);
    Form.AngleEdit->setText("40");
    Form.OkButton->click();
    ASSERT_EQ(Form.result(), QDialog::Accepted);
    const TVertexOptions O = Form.Options();
    EXPECT_EQ(O.Mode, 2);
    EXPECT_EQ(O.PointCount, 4);
    EXPECT_EQ(O.PointSpacing, 0.25);
    EXPECT_EQ(O.KnuckleAngle, 40);
    EXPECT_TRUE(O.DetectKnuckles);
    EXPECT_EQ(O.Draught, 100);
    EXPECT_EQ(O.PointsBelowWaterplane, 10);

    TVertexForm Bad;
    Bad.SetupForPolyline(Polyline);
    Bad.SpacingEdit->setText("wide");
    test::WhenModal([](QWidget* Message) { Message->close(); });
    Bad.OkButton->click();
    EXPECT_NE(Bad.result(), QDialog::Accepted);
    EXPECT_EQ(Bad.Options().Mode, 0);
}

TEST_F(PolylineDialogsTest, ThePolylineItemRunsTheVertexDialog) {
    RegisterCurveUi();
    auto Entity = std::make_unique<TGeoPline>();
    for (int I = 0; I < 5; ++I) Entity->Polyline().AddPoint(I, I % 2, 0);
    TGeoPline* P = static_cast<TGeoPline*>(Doc.Add(std::move(Entity)));
    Doc.GetUndoManager().Clear();
    // Keeping the shape with more points than there are changes nothing.
    test::WhenModal([](QWidget* Dialog) {
        auto* Form = static_cast<TVertexForm*>(Dialog);
        Form->MaintainShape->setChecked(true);
        Form->CountEdit->setText("20");
        Form->OkButton->click();
    });
    P->PopupMenu()->Find("Change Vertex Spacing...")->Click();
    EXPECT_EQ(P->Polyline().Count(), 5);

    test::WhenModal([](QWidget* Dialog) {
        auto* Form = static_cast<TVertexForm*>(Dialog);
        Form->CountEdit->setText("3");
        Form->OkButton->click();
    });
    P->PopupMenu()->Find("Change Vertex Spacing...")->Click();
    EXPECT_EQ(P->Polyline().Count(), 3);
    EXPECT_TRUE(Doc.CanUndo());
}

}  // namespace
}  // namespace sarnova
