#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include "document/ui/MirrorForm.h"
#include "document/ui/MoveForm.h"
#include "document/ui/RotateForm.h"
#include "document/ui/ScaleForm.h"
#include "foundation/Console.h"
#include "platform/ScriptedUserDialogs.h"

namespace sarnova {
namespace {

// Error boxes of the forms come here instead of the screen.
class TransformFormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = GExceptionHandler->UserDialogs;
        GExceptionHandler->UserDialogs = &Dialogs;
    }
    void TearDown() override { GExceptionHandler->UserDialogs = Saved; }

    TScriptedUserDialogs Dialogs;
    IUserDialogs* Saved = nullptr;
};

TEST_F(TransformFormsTest, OkBuildsTheTransformFromTheEdits) {
    TMoveForm Move;
    EXPECT_EQ(Move.windowTitle(), "Translate Selected Entites");
    Move.Edit1->setText(" 1.5 ");
    Move.Edit3->setText("-2");
    Move.Button1->click();
    EXPECT_EQ(Move.result(), QDialog::Accepted);
    EXPECT_EQ(Move.Transform, MatrixTranslation(1.5, 0, -2));

    // The defaults of the mirror dialog reflect y in the plane y = 0.
    TMirrorForm Mirror;
    Mirror.Button1->click();
    EXPECT_EQ(Mirror.Transform, MatrixMirror(2, 0));
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(TransformFormsTest, ATextThatIsNoNumberKeepsTheDialogOpenOnItsPage) {
    TRotateForm Rotate;
    Rotate.Edit5->setText("1,5");
    ASSERT_EQ(Rotate.PageControl1->currentIndex(), 0);
    Rotate.Button1->click();
    EXPECT_NE(Rotate.result(), QDialog::Accepted);
    EXPECT_EQ(Rotate.Transform, IdentityMatrix);
    EXPECT_EQ(Rotate.PageControl1->currentIndex(), 1);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Unable to convert text to number.");
}

TEST_F(TransformFormsTest, MirrorChoicesEnableTheirOwnOffset) {
    TMirrorForm Mirror;
    EXPECT_TRUE(Mirror.RadioButton3->isChecked());
    EXPECT_EQ((std::array{Mirror.Edit1->isEnabled(), Mirror.Edit2->isEnabled(), Mirror.Edit3->isEnabled()}),
              (std::array{false, false, true}));
    Mirror.RadioButton1->click();
    EXPECT_EQ((std::array{Mirror.Edit1->isEnabled(), Mirror.Edit2->isEnabled(), Mirror.Edit3->isEnabled()}),
              (std::array{true, false, false}));
    Mirror.Edit1->setText("2");
    Mirror.Button1->click();
    EXPECT_EQ(Mirror.Transform, MatrixMirror(0, 2));
}

TEST_F(TransformFormsTest, ScaleFactorsFollowTheLockAndThePresets) {
    TScaleForm Scale;
    EXPECT_EQ(Scale.PageControl1->tabText(Scale.PageControl1->currentIndex()), "Scale Origin");
    Scale.PageControl1->setCurrentWidget(Scale.FactorsPage);

    Scale.Edit1->setText("2");
    EXPECT_EQ(Scale.Edit2->text(), "2");
    EXPECT_EQ(Scale.Edit3->text(), "2");

    Scale.SpeedButton1->click();  // up
    Scale.Edit1->setText("3");
    EXPECT_EQ(Scale.Edit2->text(), "2");

    // A preset fills all three; typing a factor on the factors page goes back to custom factors.
    Scale.SpeedButton1->click();  // down
    Scale.PageControl1->setCurrentIndex(1);
    Scale.Presets[2]->click();
    EXPECT_EQ(Scale.Presets[2]->text(), "Metres to Feet");
    EXPECT_EQ(Scale.Edit1->text(), "3.2808399");
    EXPECT_EQ(Scale.Edit3->text(), "3.2808399");
    EXPECT_TRUE(Scale.Presets[2]->isChecked());
    Scale.PageControl1->setCurrentWidget(Scale.FactorsPage);
    Scale.Edit2->setText("4");
    EXPECT_TRUE(Scale.RadioButton1->isChecked());
    EXPECT_EQ(Scale.Edit1->text(), "4");

    Scale.Edit4->setText("1");
    Scale.Button1->click();
    EXPECT_EQ(Scale.result(), QDialog::Accepted);
    const TMVector P = MatrixTransformPoint(Scale.Transform, {2, 0, 0});
    EXPECT_DOUBLE_EQ(P.X, 5);
    EXPECT_DOUBLE_EQ(P.Y, 0);
}

}  // namespace
}  // namespace sarnova
