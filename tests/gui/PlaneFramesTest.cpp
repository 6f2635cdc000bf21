// The frames of the plane and the point cloud, the projection dialog, and the slice dialog's choice
// of a named plane: what they show, and that their edits reach the entity as undoable changes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QRadioButton>
#include <QTableWidget>

#include <cmath>
#include <memory>

#include "document/GPline.h"
#include "document/GeoFace.h"
#include "document/PolylineDialogs.h"
#include "startup/RegisterClasses.h"
#include "document/ui/PlineFrame.h"
#include "entities/GPlane.h"
#include "entities/GPointList.h"
#include "entities/PlaneProjectionDlg.h"
#include "entities/ui/FrameParts.h"
#include "entities/ui/PlaneFrame.h"
#include "entities/ui/PlaneProjectionForm.h"
#include "entities/ui/PointListFrame.h"
#include "foundation/TextFile.h"
#include "platform/Clipboard.h"
#include "shell/ControlsTestSupport.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {
namespace {

std::string Saved(TGeometryList& List) {
    TTextWriter Out;
    List.SaveToText(Out);
    return Out.Text();
}

class PlaneFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterPlaneUi();
        RegisterPointListUi();
        Plane = static_cast<TGeoPlane*>(Doc.Add(std::make_unique<TGeoPlane>()));
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TPlaneFrame*>(Plane->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override {
        if (Plane != nullptr) Plane->FreeFrame();
        PlaneProjectionDialog() = nullptr;
    }
    bool Shown(QWidget* W) const { return W->isVisibleTo(Frame); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoPlane* Plane = nullptr;
    TPlaneFrame* Frame = nullptr;
};

TEST_F(PlaneFrameTest, TheGroupsFollowTheMode) {
    EXPECT_EQ(Frame->Title->text(), "Plane");
    EXPECT_TRUE(Frame->ModeButtons[pmZ]->isChecked());
    EXPECT_EQ(Frame->LocationLabel->text(), "Z =");
    EXPECT_TRUE(Shown(Frame->LocationGroup));
    EXPECT_FALSE(Shown(Frame->InclinationGroup));
    EXPECT_FALSE(Shown(Frame->PointsGroup));

    Frame->ModeButtons[pmRoll]->click();
    EXPECT_EQ(Plane->GetPlaneMode(), pmRoll);
    EXPECT_FALSE(Shown(Frame->LocationGroup));
    EXPECT_TRUE(Shown(Frame->InclinationGroup));
    Frame->ModeButtons[pmThreePoints]->click();
    EXPECT_TRUE(Shown(Frame->PointsGroup));
    EXPECT_EQ(Frame->PointsGrid->item(1, 0)->text(), "1.000");
    Frame->ModeButtons[pmX]->click();
    EXPECT_EQ(Frame->LocationLabel->text(), "X =");
    EXPECT_EQ(Plane->Plane().Normal(), (TMVector{1, 0, 0}));
}

TEST_F(PlaneFrameTest, EditsAreUndoableChangesOfThePlane) {
    const std::string Before = Saved(Doc);
    Frame->OffsetEdit->SetValue(2.5f);
    EXPECT_EQ(Plane->Plane().Offset(), 2.5);
    Doc.Undo();
    EXPECT_EQ(Saved(Doc), Before);

    Frame->ModeButtons[pmRoll]->click();
    Frame->InclinationEdit->SetValue(30);
    EXPECT_NEAR(Plane->GetInclination(), 30 * 3.14159265358979323846 / 180, 1e-6);
    EXPECT_NEAR(Frame->InclinationEdit->GetValue(), 30, 1e-4);

    Frame->ModeButtons[pmThreePoints]->click();
    Doc.GetUndoManager().Clear();
    const std::string Flat = Saved(Doc);
    Frame->PointsGrid->item(1, 2)->setText("1");
    EXPECT_NE(Saved(Doc), Flat);
    EXPECT_EQ(Plane->Handles().Point(1)->Z, 1);
    // Not a number: the cell shows the point again and nothing changes.
    Frame->PointsGrid->item(2, 0)->setText("abc");
    EXPECT_EQ(Frame->PointsGrid->item(2, 0)->text(), "0.000");
    Doc.Undo();
    EXPECT_EQ(Saved(Doc), Flat);
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(PlaneFrameTest, TheNameEditRenamesOnEveryChange) {
    Frame->NameColor->NameEdit->setText("Cut");
    EXPECT_EQ(Plane->GetName(), "Cut");
    Plane->SetName("Other");
    EXPECT_EQ(Frame->NameColor->NameEdit->text(), "Other");
}

TEST_F(PlaneFrameTest, TheProjectionDialogOffersTheDirectionsThatCrossThePlane) {
    TPlaneProjectionForm Form;
    Form.Setup({{1, 0, 0}, 2});
    EXPECT_EQ(Form.windowTitle(), "Project Curve on to Plane");
    EXPECT_TRUE(Form.DirectionButtons[0]->isEnabled());
    EXPECT_FALSE(Form.DirectionButtons[1]->isEnabled());
    EXPECT_FALSE(Form.DirectionButtons[2]->isEnabled());
    EXPECT_TRUE(Form.DirectionButtons[3]->isChecked());
    EXPECT_FALSE(Form.CopyCurveBox->isChecked());

    test::WhenModal([](QWidget* Dialog) {
        auto* Form = static_cast<TPlaneProjectionForm*>(Dialog);
        Form->DirectionButtons[0]->setChecked(true);
        Form->CopyCurveBox->setChecked(true);
        Form->OkButton->click();
    });
    std::uint8_t Direction = 9;
    bool Copy = false;
    ASSERT_TRUE(ShowPlaneProjectionForm({{1, 0, 0}, 2}, Direction, Copy));
    EXPECT_EQ(Direction, pdParallelToX);
    EXPECT_TRUE(Copy);
    test::WhenModal([](QWidget* Dialog) { static_cast<TPlaneProjectionForm*>(Dialog)->CancelButton->click(); });
    EXPECT_FALSE(ShowPlaneProjectionForm({{1, 0, 0}, 2}, Direction, Copy));
}

TEST_F(PlaneFrameTest, TheSliceDialogOffersTheNamedPlanes) {
    RegisterCurveUi();
    const auto Answer = [](bool ChoosePlane, bool* PlaneEnabled) {
        test::WhenModal([=](QWidget* Dialog) {
            QRadioButton* PlaneButton = nullptr;
            for (QRadioButton* R : Dialog->findChildren<QRadioButton*>())
                if (R->text() == "Plane ") PlaneButton = R;
            *PlaneEnabled = PlaneButton != nullptr && PlaneButton->isEnabled();
            if (ChoosePlane && *PlaneEnabled) PlaneButton->setChecked(true);
            Dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
    };
    bool Enabled = true;
    bool Close = false;
    TMPlane Chosen;
    // The plane has no name yet: nothing to offer.
    Answer(true, &Enabled);
    ASSERT_TRUE(PolylineDialogs().ShowSliceDialog("Polyline", Doc, true, Close, Chosen));
    EXPECT_FALSE(Enabled);
    EXPECT_EQ(Chosen.Normal, (TMVector{0, 0, 1}));

    Plane->SetName("Cut");
    Plane->SetPlaneMode(pmX);
    Plane->SetOffset(4);
    Answer(true, &Enabled);
    ASSERT_TRUE(PolylineDialogs().ShowSliceDialog("Polyline", Doc, true, Close, Chosen));
    EXPECT_TRUE(Enabled);
    EXPECT_EQ(Chosen.Normal, (TMVector{1, 0, 0}));
    EXPECT_EQ(Chosen.Distance, 4);
}

class PointListFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterPointListUi();
        auto Entity = std::make_unique<TGeoPointList>();
        Entity->Cloud().AddXYZ(0, 0, 0);
        Entity->Cloud().AddXYZ(1.23456, 2, -3);
        Cloud = static_cast<TGeoPointList*>(Doc.Add(std::move(Entity)));
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TPointListFrame*>(Cloud->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override { Cloud->FreeFrame(); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoPointList* Cloud = nullptr;
    TPointListFrame* Frame = nullptr;
};

TEST_F(PointListFrameTest, ShowsThePointsAndCopiesTheGrid) {
    EXPECT_EQ(Frame->Title->text(), "PointCloud");
    EXPECT_EQ(Frame->GridText(), "\tX\tY\tZ\r\n0\t0.000\t0.000\t0.000\r\n1\t1.235\t2.000\t-3.000\r\n");
    Frame->CopyButton->click();
    EXPECT_EQ(TextClipboard().GetText(), Frame->GridText().toStdString());
}

TEST_F(PointListFrameTest, GridEditsAndButtonsChangeTheCloud) {
    const std::string Before = Saved(Doc);
    Frame->Grid->item(1, 2)->setText("7,5");
    EXPECT_EQ(Cloud->Cloud().Items(1)->Z, 7.5);
    EXPECT_EQ(Frame->Grid->item(1, 2)->text(), "7.500");
    Doc.Undo();
    EXPECT_EQ(Saved(Doc), Before);
    EXPECT_EQ(Frame->Grid->item(1, 2)->text(), "-3.000");

    // Two points stay two.
    Frame->Grid->setCurrentCell(0, 0);
    Frame->DeleteButton->click();
    EXPECT_EQ(Cloud->Cloud().Count(), 2);
    Frame->AddButton->click();
    ASSERT_EQ(Cloud->Cloud().Count(), 3);
    EXPECT_EQ(Frame->Grid->rowCount(), 3);
    Frame->Grid->setCurrentCell(0, 0);
    Frame->DeleteButton->click();
    ASSERT_EQ(Cloud->Cloud().Count(), 2);
    EXPECT_EQ(Cloud->Cloud().Items(0)->X, 1.23456);
    EXPECT_EQ(Frame->Grid->rowCount(), 2);
}

}  // namespace
}  // namespace sarnova
