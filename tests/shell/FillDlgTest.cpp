#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ControlsTestSupport.h"
#include "DialogsScope.h"
#include "foundation/Polyline.h"
#include "controls/FillDlg.h"
#include "controls/SimpleForm.h"

namespace sarnova {
namespace {

using test::WhenModal;

template <class T>
T* Find(QWidget* Dialog, const char* Name) {
    T* Widget = Dialog->findChild<T*>(Name);
    EXPECT_NE(Widget, nullptr) << Name;
    return Widget;
}

// Types Text into the value box, picks coordinate Axis (unless -1) and presses Ok.
void FillAndOk(QWidget* Dialog, const char* Text, int Axis) {
    Find<QLineEdit>(Dialog, "Edit1")->setText(Text);
    if (Axis >= 0) Find<QRadioButton>(Dialog, QString("RGroupItem%1").arg(Axis).toUtf8().constData())->setChecked(true);
    Find<QPushButton>(Dialog, "Button1")->click();
}

void Cancel(QWidget* Dialog) { Find<QPushButton>(Dialog, "Button2")->click(); }

TEST(FillDialog, ShowsItsCaptionsAndTheOfferedAxis) {
    WhenModal([](QWidget* Dialog) {
        EXPECT_EQ(Dialog->windowTitle(), "Fill Values to Polyline");
        EXPECT_EQ(Find<QGroupBox>(Dialog, "RGroupBox1")->title(), " Point component to fill to ");
        EXPECT_EQ(Find<QGroupBox>(Dialog, "GroupBox2")->title(), " Value to Fill ");
        EXPECT_EQ(Find<QLineEdit>(Dialog, "Edit1")->text(), "0.000");
        EXPECT_TRUE(Find<QRadioButton>(Dialog, "RGroupItem2")->isChecked());
        EXPECT_EQ(Find<QRadioButton>(Dialog, "RGroupItem1")->text(), "Fill to Y Coordinate");
        EXPECT_EQ(Find<QPushButton>(Dialog, "Button1")->text(), "Ok");
        Cancel(Dialog);
    });
    const TFillDlgResult Result = ExecuteFillDialog("Polyline", 2);
    EXPECT_FALSE(Result.Ok);
}

TEST(FillDialog, OkReturnsTheChosenAxisAndValue) {
    WhenModal([](QWidget* Dialog) { FillAndOk(Dialog, "1.5", 1); });
    const TFillDlgResult Result = ExecuteFillDialog("Polyline", 0);
    EXPECT_TRUE(Result.Ok);
    EXPECT_EQ(Result.Axis, 1);
    EXPECT_DOUBLE_EQ(Result.Value, 1.5);
}

TEST(FillDialog, TextThatIsNoNumberIsReportedAndTheDialogStays) {
    test::TDialogsScope Scope;
    WhenModal([](QWidget* Dialog) {
        FillAndOk(Dialog, "abc", -1);
        EXPECT_TRUE(Dialog->isVisible());
        FillAndOk(Dialog, "-2.25", -1);
    });
    const TFillDlgResult Result = ExecuteFillDialog("Polyline", 0);
    ASSERT_EQ(Scope.Dialogs.Shown.size(), 1u);
    EXPECT_NE(Scope.Dialogs.Shown[0].Text.find("Unable to convert text to number"), std::string::npos);
    EXPECT_TRUE(Result.Ok);
    EXPECT_EQ(Result.Axis, 0);
    EXPECT_DOUBLE_EQ(Result.Value, -2.25);
}

TEST(FillPolylineCoordinate, SetsTheChosenCoordinateOfEveryPoint) {
    TPolyline Line;
    for (int I = 0; I < 3; ++I) Line.AddPoint(I, 10 + I, 20 + I);
    WhenModal([](QWidget* Dialog) {
        EXPECT_EQ(Dialog->windowTitle(), "Fill Values to Polyline");
        FillAndOk(Dialog, "7.5", -1);
    });
    FillPolylineCoordinate(Line, 2);
    for (int I = 0; I < 3; ++I) {
        EXPECT_DOUBLE_EQ(Line.Point(I)->X, I);
        EXPECT_DOUBLE_EQ(Line.Point(I)->Y, 10 + I);
        EXPECT_DOUBLE_EQ(Line.Point(I)->Z, 7.5);
    }
}

TEST(FillPolylineCoordinate, CancelChangesNothing) {
    TPolyline Line;
    for (int I = 0; I < 3; ++I) Line.AddPoint(I, 10 + I, 20 + I);
    WhenModal([](QWidget* Dialog) {
        Find<QLineEdit>(Dialog, "Edit1")->setText("99");
        Cancel(Dialog);
    });
    FillPolylineCoordinate(Line, 0);
    for (int I = 0; I < 3; ++I) {
        EXPECT_DOUBLE_EQ(Line.Point(I)->X, I);
        EXPECT_DOUBLE_EQ(Line.Point(I)->Z, 20 + I);
    }
}

TEST(DoubleDialog, AsksForOneNumber) {
    TDoubleDlg Dialog("Add Shell Thickness", "Shell Thickness:", "Shell Thickness");
    EXPECT_EQ(Dialog.GetForm().windowTitle(), "Add Shell Thickness");
    EXPECT_EQ(Dialog.GroupBox1->title(), " Shell Thickness ");
    EXPECT_EQ(Dialog.Label1->text(), "Shell Thickness:");
    EXPECT_EQ(Dialog.Edit1->text(), "0.000");
    WhenModal([](QWidget* Form) {
        Find<QLineEdit>(Form, "Edit1")->setText(" 0.25 ");
        Find<QPushButton>(Form, "Button1")->click();
    });
    EXPECT_EQ(Dialog.ShowModal(), TModalResult::mrOk);
    EXPECT_DOUBLE_EQ(Dialog.Value, 0.25);

    WhenModal([](QWidget* Form) { Find<QPushButton>(Form, "Button2")->click(); });
    EXPECT_EQ(Dialog.ShowModal(), TModalResult::mrCancel);
    WhenModal([](QWidget* Form) { static_cast<QDialog*>(Form)->reject(); });
    EXPECT_EQ(Dialog.ShowModal(), TModalResult::mrCancel);
}

}  // namespace
}  // namespace sarnova
