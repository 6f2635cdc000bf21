// The grid control in a window: filling, clipboard, typing into cells, buttons, painting and printing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtPrinter.h"
#include "shell/ShellTestSupport.h"
#include "controls/VkGrid.h"

namespace sarnova {
namespace {

void SendKey(QWidget* To, int Key, const QString& Text = {}, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QKeyEvent Press(QEvent::KeyPress, Key, Modifiers, Text);
    QApplication::sendEvent(To, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Key, Modifiers, Text);
    QApplication::sendEvent(To, &Release);
}

void Click(QWidget* On, QPoint At) {
    QMouseEvent Press(QEvent::MouseButtonPress, QPointF(At), On->mapToGlobal(QPointF(At)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(On, &Press);
    QMouseEvent Release(QEvent::MouseButtonRelease, QPointF(At), On->mapToGlobal(QPointF(At)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(On, &Release);
}

// A point table as the curve frames fill theirs: a header row, a number column, three coordinates.
void FillPoints(TVkGrid& Grid, int Points) {
    Grid.BeginUpdate();
    Grid.SetColCount(4);
    Grid.SetRowCount(Points + 1);
    Grid.SetFloatFormat(TVkFloatFormat(ffFixed, 10, 3));
    const char* Titles[] = {"Point", "X", "Y", "Z"};
    for (int C = 0; C < 4; ++C) Grid.Cell(C, 0).SetValue(Titles[C]);
    for (int R = 1; R <= Points; ++R) {
        Grid.Cell(0, R).SetValue(R);
        for (int C = 1; C < 4; ++C) Grid.Cell(C, R).SetValue(R + C / 10.0);
    }
    Grid.EndUpdate();
}

TEST(VkGrid, CopyAllGivesTabsAndCrLf) {
    TMemoryClipboard Clipboard;
    SetTextClipboard(&Clipboard);
    TVkGrid Grid;
    FillPoints(Grid, 2);
    Grid.CopyAllToClipboard(false);
    EXPECT_EQ(Clipboard.GetText(), "1.100\t1.200\t1.300\r\n2.100\t2.200\t2.300\r\n");
    Grid.CopyAllToClipboard(true);
    EXPECT_EQ(Clipboard.GetText(), "Point\tX\tY\tZ\r\n1\t1.100\t1.200\t1.300\r\n2\t2.100\t2.200\t2.300\r\n");
    Grid.SetSelection({2, 1, 3, 2});
    SendKey(&Grid, Qt::Key_C, "\x03", Qt::ControlModifier);
    EXPECT_EQ(Clipboard.GetText(), "1.200\t1.300\r\n2.200\t2.300\r\n");
    SetTextClipboard(nullptr);
}

TEST(VkGrid, TypingIntoACellFiresOnEditCellWithTheValue) {
    TVkGrid Grid;
    Grid.resize(400, 300);
    Grid.show();
    FillPoints(Grid, 3);
    std::vector<std::tuple<int, int, TVkValue>> Edits;
    Grid.OnEditCell = [&](TVkGridModel*, int C, int R, TVkValue& V) { Edits.emplace_back(C, R, V); };
    ASSERT_TRUE(Grid.SetCurrentCell(2, 1));
    SendKey(&Grid, Qt::Key_7, "7");
    ASSERT_TRUE(Grid.IsEditing());
    EXPECT_FALSE(Grid.InplaceEdit().isHidden());
    EXPECT_EQ(Grid.InplaceEdit().text(), "7");
    SendKey(&Grid.InplaceEdit(), Qt::Key_Period, ".");
    SendKey(&Grid.InplaceEdit(), Qt::Key_5, "5");
    SendKey(&Grid.InplaceEdit(), Qt::Key_Return, "\r");
    EXPECT_FALSE(Grid.IsEditing());
    EXPECT_TRUE(Grid.InplaceEdit().isHidden());
    ASSERT_EQ(Edits.size(), 1u);
    EXPECT_EQ(std::get<0>(Edits[0]), 2);
    EXPECT_EQ(std::get<1>(Edits[0]), 1);
    EXPECT_EQ(std::get<2>(Edits[0]), TVkValue(7.5));
    EXPECT_EQ(Grid.Cell(2, 1).DisplayText(), "7.500");
    EXPECT_EQ(Grid.CurrentRow(), 2);  // Enter moves on

    // A pending edit is committed before a form acts on the grid.
    Grid.SetEditing(true);
    EXPECT_EQ(Grid.InplaceEdit().text(), "2.200");
    Grid.InplaceEdit().setText("-3");
    Grid.SetEditing(false);
    ASSERT_EQ(Edits.size(), 2u);
    EXPECT_EQ(std::get<2>(Edits[1]), TVkValue(-3));
    EXPECT_EQ(Grid.Cell(2, 2).DisplayText(), "-3.000");
}

TEST(VkGrid, EscapeInTheEditorKeepsTheValue) {
    TVkGrid Grid;
    Grid.show();
    FillPoints(Grid, 2);
    Grid.SetCurrentCell(1, 1);
    SendKey(&Grid, Qt::Key_F2);
    ASSERT_TRUE(Grid.IsEditing());
    SendKey(&Grid.InplaceEdit(), Qt::Key_9, "9");
    SendKey(&Grid.InplaceEdit(), Qt::Key_Escape, "\x1b");
    EXPECT_FALSE(Grid.IsEditing());
    EXPECT_EQ(Grid.Cell(1, 1).DisplayText(), "1.100");
}

TEST(VkGrid, ColumnWidthsHaveAFloor) {
    TVkGrid Grid;
    FillPoints(Grid, 2);
    Grid.Column(1).SetWidth(1);
    EXPECT_EQ(Grid.Column(1).GetWidth(), 4);
    Grid.Column(2).SetWidth(120);
    EXPECT_EQ(Grid.Column(2).GetWidth(), 120);
    EXPECT_EQ(Grid.CellRect(3, 0).Left, 64 + 4 + 120);
}

TEST(VkGrid, ClickingACellSelectsItAndReportsTheRange) {
    TVkGrid Grid;
    Grid.resize(400, 300);
    Grid.show();
    FillPoints(Grid, 5);
    std::vector<TVkGridRect> Ranges;
    Grid.OnSelectRange = [&](TVkGridModel*, TVkGridRect R) { Ranges.push_back(R); };
    Click(&Grid, Grid.ToControl(Grid.CellRect(2, 3)).center());
    EXPECT_EQ(Grid.CurrentColumn(), 2);
    EXPECT_EQ(Grid.CurrentRow(), 3);
    ASSERT_FALSE(Ranges.empty());
    EXPECT_EQ(Ranges.back(), (TVkGridRect{2, 3, 2, 3}));
    SendKey(&Grid, Qt::Key_Down, {}, Qt::ShiftModifier);
    EXPECT_EQ(Grid.Selection(), (TVkGridRect{2, 3, 2, 4}));
}

TEST(VkGrid, PaintsSelectionAndOwnCellColours) {
    TVkGrid Grid;
    Grid.resize(400, 300);
    FillPoints(Grid, 5);
    Grid.Row(4).SetColor(clRed);
    Grid.SetSelection({1, 1, 2, 2});
    const QImage Image = Grid.grab().toImage();
    auto Pixel = [&](int C, int R) {
        const QRect Cell = Grid.ToControl(Grid.CellRect(C, R));
        return Image.pixelColor(Cell.left() + 5, Cell.bottom() - 4);
    };
    EXPECT_EQ(Pixel(2, 2), ColorToQColor(clHighlight));  // selected, not current
    EXPECT_EQ(Pixel(1, 1), ColorToQColor(clWindow));     // current
    EXPECT_EQ(Pixel(2, 4), QColor(Qt::red));
    EXPECT_EQ(Pixel(2, 5), ColorToQColor(clWindow));
}

TEST(VkGrid, ListCellsDropTheirItemsAndStoreTheChoice) {
    TVkGrid Grid;
    Grid.resize(400, 300);
    Grid.show();
    Grid.Cell(2, 2).SetFormat(lfComboBox);
    Grid.OnSelectDropDownCell = [](TVkGridModel*, int, int, std::vector<std::string>& Items) {
        Items = {"Steel", "Stainless", "Wood"};
    };
    std::vector<TVkValue> Edits;
    Grid.OnEditCell = [&](TVkGridModel*, int, int, TVkValue& V) { Edits.push_back(V); };
    Grid.SetCurrentCell(2, 2);
    Settle();
    TVkGridListButton& Button = Grid.ListButton();
    EXPECT_FALSE(Button.isHidden());
    Button.DropDown();
    ASSERT_TRUE(Button.GetDropped());
    EXPECT_TRUE(Grid.IsEditing());
    EXPECT_EQ(Button.List().count(), 3);
    Button.List().setCurrentRow(2);
    Button.CloseUp(true);
    EXPECT_FALSE(Button.GetDropped());
    EXPECT_FALSE(Grid.IsEditing());
    EXPECT_EQ(Grid.Cell(2, 2).GetValue(), TVkValue("Wood"));
    ASSERT_EQ(Edits.size(), 1u);

    // Closing with nothing chosen stores nothing.
    Button.DropDown();
    Button.CloseUp(true);
    EXPECT_EQ(Edits.size(), 1u);
    Grid.SetCurrentCell(1, 1);
    Settle();
    EXPECT_TRUE(Button.isHidden());
}

TEST(VkGrid, TheEllipsisButtonCallsTheFormOnceOnTheMouseDown) {
    TVkGrid Grid;
    Grid.resize(400, 300);
    Grid.show();
    Grid.Cell(3, 1).SetFormat(lfButton);
    int Calls = 0;
    Grid.OnCellButton = [&](TVkGridModel*, int, int, TVkValue& V) {
        ++Calls;
        V = "picked";
    };
    Grid.SetCurrentCell(3, 1);
    Settle();
    TVkGridButton& Button = Grid.CellButton();
    ASSERT_FALSE(Button.isHidden());
    QMouseEvent Press(QEvent::MouseButtonPress, QPointF(3, 3), Button.mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Button, &Press);
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(Grid.Cell(3, 1).GetValue(), TVkValue("picked"));
    EXPECT_FALSE(Button.GetPressed());
}

TEST(VkGrid, PrintingToAPdfFileGivesAPdf) {
    QTemporaryDir Folder;
    ASSERT_TRUE(Folder.isValid());
    const QString File = Folder.filePath("grid.pdf");
    QPrinter& Printer = GetPrinter();
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(File);
    TVkGrid Grid;
    FillPoints(Grid, 200);
    Grid.PrintOptions().SetColumnHeaders(true);
    Grid.PrintOptions().SetRowHeaders(true);
    Grid.Print("Points");
    std::ifstream In(File.toStdString(), std::ios::binary);
    const std::string Content((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    ASSERT_GT(Content.size(), 100u);
    EXPECT_EQ(Content.substr(0, 5), "%PDF-");
    EXPECT_EQ(Printer.docName(), "Points");
    // 200 rows do not fit one page.
    size_t Pages = 0;
    for (size_t At = Content.find("/Type /Page\n"); At != std::string::npos; At = Content.find("/Type /Page\n", At + 1))
        ++Pages;
    EXPECT_GT(Pages, 1u);
    Printer.setOutputFileName({});
}

}  // namespace
}  // namespace sarnova
