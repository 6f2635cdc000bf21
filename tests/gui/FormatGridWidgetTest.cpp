// The formula grid and the contour dialogs in real widgets: typing into a cell, Enter and the arrows
// from the editor, the clipboard keys, and the dialogs' buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "DialogsScope.h"
#include "document/ui/ContourForm.h"
#include "controls/FormatGridWidget.h"
#include "foundation/Contours.h"
#include "foundation/Console.h"
#include "foundation/GeomBox.h"
#include "platform/Clipboard.h"

namespace sarnova {
namespace {

void SendKey(QWidget* Target, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QKeyEvent Press(QEvent::KeyPress, Key, Modifiers);
    QApplication::sendEvent(Target, &Press);
}

// Opens the editor on (Col, Row), types Text into it and returns the editor.
QLineEdit* Type(TFormatGridWidget& View, int Col, int Row, const QString& Text) {
    const QModelIndex Index = View.model()->index(Row, Col);
    View.setCurrentIndex(Index);
    View.edit(Index);
    auto* Editor = qobject_cast<QLineEdit*>(View.indexWidget(Index));
    if (Editor != nullptr) Editor->setText(Text);
    return Editor;
}

QString Shown(TFormatGridWidget& View, int Col, int Row) {
    return View.model()->data(View.model()->index(Row, Col), Qt::DisplayRole).toString();
}

using test::TDialogsScope;

class FormatGridWidgetTest : public ::testing::Test {
protected:
    FormatGridWidgetTest() {
        Grid.SetColCount(4);
        Grid.SetRowCount(4);
        Grid.SetHeaders(true);
        Grid.AutoCalculate = true;
        Grid.Cell(1, 1).SetText("3");
        View = std::make_unique<TFormatGridWidget>(Grid);
        View->resize(400, 200);
        View->show();
    }
    TFormatGrid Grid;
    std::unique_ptr<TFormatGridWidget> View;
};

TEST_F(FormatGridWidgetTest, EnterInTheEditorStoresAndRecalculates) {
    EXPECT_EQ(Shown(*View, 2, 0), "B");
    EXPECT_EQ(Shown(*View, 0, 2), "2");
    EXPECT_FALSE(View->model()->flags(View->model()->index(0, 2)) & Qt::ItemIsEditable);

    QLineEdit* Editor = Type(*View, 2, 1, "=A1*2");
    ASSERT_NE(Editor, nullptr);
    SendKey(Editor, Qt::Key_Return);
    EXPECT_EQ(Shown(*View, 2, 1), "6");
    EXPECT_EQ(View->model()->data(View->model()->index(1, 2), Qt::EditRole).toString(), "=A1*2");
    EXPECT_EQ(View->indexWidget(View->model()->index(1, 2)), nullptr);
}

TEST_F(FormatGridWidgetTest, AnArrowFromTheEditorFinishesTheCellLeft) {
    std::vector<std::pair<int, int>> Finished;
    Grid.OnFinishEditing = [&](TFormatGrid&, int C, int R) { Finished.push_back({C, R}); };
    QLineEdit* Editor = Type(*View, 2, 1, "=A1+1");
    ASSERT_NE(Editor, nullptr);
    SendKey(Editor, Qt::Key_Down);
    EXPECT_EQ(Shown(*View, 2, 1), "4");
    EXPECT_EQ(View->currentIndex().row(), 2);
    EXPECT_EQ(Grid.GetRow(), 2);
    ASSERT_EQ(Finished.size(), 1u);
    EXPECT_EQ(Finished[0], std::make_pair(2, 1));
}

// The in-memory clipboard: the X clipboard is shared with other suites running at the same time.
TEST_F(FormatGridWidgetTest, ClipboardKeysReachTheGrid) {
    TMemoryClipboard Clipboard;
    SetTextClipboard(&Clipboard);
    View->setCurrentIndex(View->model()->index(1, 1));
    SendKey(View.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard.GetText(), "3");
    Clipboard.SetText("12.5");
    View->setCurrentIndex(View->model()->index(2, 1));
    SendKey(View.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Shown(*View, 1, 2), "12.5");
    SendKey(View.get(), Qt::Key_Delete);
    EXPECT_EQ(Shown(*View, 1, 2), "");
    SetTextClipboard(nullptr);
}

TEST_F(FormatGridWidgetTest, ACircularFormulaIsReportedAndTheGridStaysUsable) {
    TDialogsScope Scope;
    QLineEdit* Editor = Type(*View, 1, 1, "=A1");
    ASSERT_NE(Editor, nullptr);
    SendKey(Editor, Qt::Key_Return);
    ASSERT_EQ(Scope.Dialogs.Shown.size(), 1u);
    EXPECT_NE(Scope.Dialogs.Shown[0].Text.find("Unable to handle circular references"), std::string::npos);
    Editor = Type(*View, 1, 1, "5");
    ASSERT_NE(Editor, nullptr);
    SendKey(Editor, Qt::Key_Return);
    EXPECT_EQ(Shown(*View, 1, 1), "5");
    EXPECT_EQ(Scope.Dialogs.Shown.size(), 1u);
}

QPushButton* Button(QWidget& Parent, const QString& Caption, int Index = 0) {
    int Seen = 0;
    for (QPushButton* B : Parent.findChildren<QPushButton*>())
        if (B->text() == Caption && Seen++ == Index) return B;
    return nullptr;
}

TEST(ContourDialogs, TheSetupEditsTheSetThroughItsPages) {
    TContours Set;
    Set.AddContour(0, 1);
    Set.AddContour(1, 2);
    TContourForm Form;
    Form.SetupForBox(Set, MakeBox(0, 0, 0, 1, 1, 1));
    TContourFormDialog Dialog(Form);
    EXPECT_EQ(Dialog.windowTitle(), "Contour Setup");
    EXPECT_FALSE(Dialog.SelectedObjects->isEnabled());
    EXPECT_FALSE(Dialog.SectionsGenerate->isEnabled());
    EXPECT_EQ(Dialog.SpacingEdit[0]->text(), "1.000");

    // "Add Contour" on the X page, then a typed position.
    Dialog.Pages->setCurrentIndex(0);
    Button(Dialog, "Add Contour", 0)->click();
    EXPECT_EQ(Form.XGrid.GetRowCount(), 2);
    QLineEdit* Editor = Type(*Dialog.Grids[0], 0, 0, "7.5");
    ASSERT_NE(Editor, nullptr);

    // "Delete All" on the Y page acts on the set at once.
    Dialog.Pages->setCurrentIndex(1);
    Button(Dialog, "Delete All", 1)->click();
    EXPECT_EQ(Set.YCount(), 0);

    Dialog.OkButton->click();
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
    ASSERT_EQ(Set.XCount(), 2);
    EXPECT_EQ(Set.XContour(0)->Position, 7.5);
    EXPECT_EQ(Set.XContour(1)->Position, 1);
}

TEST(ContourDialogs, BadSpacingFocusesItsBoxAndTheDialogStays) {
    TDialogsScope Scope;
    TContours Set;
    TContourForm Form;
    Form.SetupForBox(Set, MakeBox(0, 0, 0, 1, 1, 1));
    TContourFormDialog Dialog(Form);
    Dialog.show();
    Dialog.SpacingEdit[1]->setText("x");
    Dialog.Pages->setCurrentIndex(0);
    Dialog.GenerateBut->click();
    ASSERT_EQ(Scope.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Scope.Dialogs.Shown[0].Text.rfind("Unable to convert text to number", 0), 0u);
    EXPECT_EQ(Dialog.Pages->currentIndex(), 3);
    EXPECT_EQ(Set.Count(), 0);

    TContourStepsDlg Steps;
    TContourStepsDialog StepsDialog(Steps);
    EXPECT_EQ(StepsDialog.windowTitle(), "Add Contour Group");
    EXPECT_EQ(StepsDialog.StartEdit->text(), "0.000");
    StepsDialog.StartEdit->setText("3");
    StepsDialog.EndEdit->setText("1");
    StepsDialog.NumberEdit->setText("2");
    StepsDialog.OkButton->click();
    ASSERT_EQ(Scope.Dialogs.Shown.size(), 2u);
    EXPECT_EQ(Scope.Dialogs.Shown[1].Text.rfind("Start must be smaller than End", 0), 0u);
    EXPECT_NE(StepsDialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace sarnova
