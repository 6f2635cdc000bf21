// The formula grid: typed texts by cell kind, formulas with references evaluated depth first,
// circular references refused without leaving marks, headers, keys with the text clipboard, and
// the stored cell records.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "DialogsScope.h"
#include "document/FormatGrid.h"
#include "document/VkExpressionParser.h"
#include "foundation/Console.h"
#include "platform/Clipboard.h"

namespace sarnova {
namespace {

// A grid with headers, as a spreadsheet shows it: "A1" is grid cell (1, 1).
class FormatGridTest : public ::testing::Test {
protected:
    FormatGridTest() {
        Grid.SetColCount(6);
        Grid.SetRowCount(6);
        Grid.SetHeaders(true);
    }
    TGridRec& A1() { return Grid.Cell(1, 1); }
    TGridRec& B1() { return Grid.Cell(2, 1); }
    TFormatGrid Grid;
};

using test::TDialogsScope;

TEST_F(FormatGridTest, AFormulaTypedAndEnteredShowsItsValue) {
    Grid.AutoCalculate = true;
    A1().SetText("3");
    Grid.SetCurrent(2, 1);
    EXPECT_EQ(Grid.GetEditText(2, 1), "");
    Grid.SetEditText(2, 1, "=A1*2");
    EXPECT_TRUE(Grid.IsDirty());
    EXPECT_EQ(B1().GetText(), "");  // shown only after the recalculation
    Grid.EditorReturned();
    EXPECT_EQ(B1().GetText(), "6");
    EXPECT_EQ(B1().GetNumber(), 6);
    EXPECT_EQ(B1().GetAlignment(), taRightJustify);
    EXPECT_EQ(Grid.GetEditText(2, 1), "=A1*2");
    EXPECT_FALSE(Grid.IsDirty());
}

TEST_F(FormatGridTest, ReferencesAreEvaluatedOnDemandWhateverTheOrder) {
    // A1 is visited first but needs B1 and C2, which come later in the walk.
    A1().SetText("=B1+C2");
    B1().SetText("=C2*10");
    Grid.Cell(3, 2).SetText("1.5");
    int Calculations = 0;
    Grid.OnCalculate = [&](TFormatGrid&) { ++Calculations; };
    Grid.Recalculate();
    EXPECT_EQ(A1().GetNumber(), 16.5);
    EXPECT_EQ(A1().GetText(), "16.5");
    Grid.Cell(3, 2).SetText("2");
    Grid.Recalculate();
    EXPECT_EQ(A1().GetNumber(), 22);
    EXPECT_EQ(Calculations, 2);
}

TEST_F(FormatGridTest, CircularReferencesAreRefusedAndLeaveNoMarks) {
    for (const char* Formula : {"=A1", "=B1+1"}) {
        A1().SetText(Formula);
        B1().SetText("=A1+1");
        try {
            Grid.Recalculate();
            FAIL() << Formula;
        } catch (const EGridCircularReference& E) {
            EXPECT_NE(std::string(E.what()).find("Unable to handle circular references"), std::string::npos) << E.what();
        }
        for (int I = 0; I < Grid.Cells().Count(); ++I) EXPECT_FALSE(Grid.Cells().Items(I).IsBusy()) << Formula;
        // A sound grid recalculates again.
        A1().SetText("4");
        Grid.Recalculate();
        EXPECT_EQ(B1().GetNumber(), 5);
    }
}

TEST_F(FormatGridTest, ReferencesNameColumnsByOneOrTwoLetters) {
    Grid.Cell(28, 1).SetText("7");
    Grid.Cell(1, 12).SetText("8");
    EXPECT_EQ(Grid.ResolveReference("AB1"), 7);
    EXPECT_EQ(Grid.ResolveReference("A12"), 8);
    for (const char* Name : {"ABC1", "X", "1A", "A1.5", "_1", "A99999999999"}) {
        try {
            Grid.ResolveReference(Name);
            FAIL() << Name;
        } catch (const EExpressionFunctionNotFound& E) {
            EXPECT_EQ(std::string(E.what()), std::string("Unknown function - ") + Name);
        }
    }
    // The same error reaches the caller of a recalculation; cells before it keep their values.
    A1().SetText("=2");
    B1().SetText("=ABC1*2");
    try {
        Grid.Recalculate();
        FAIL();
    } catch (const EExpressionFunctionNotFound& E) {
        EXPECT_EQ(std::string(E.what()), "Unknown function - ABC1");
    }
    EXPECT_EQ(A1().GetText(), "2");
}

TEST_F(FormatGridTest, HeadersNameColumnsAndRows) {
    const std::pair<int, const char*> Names[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {30, "AD"}, {52, "AZ"}, {53, "BA"}};
    for (auto [Col, Name] : Names) EXPECT_EQ(TFormatGrid::ColumnName(Col), Name) << Col;

    Grid.SetColCount(31);
    EXPECT_EQ(Grid.Cell(27, 0).GetText(), "AA");
    EXPECT_EQ(Grid.Cell(30, 0).GetText(), "AD");
    const TGridRec& RowHeader = Grid.Cell(0, 3);
    EXPECT_EQ(RowHeader.GetText(), "3");
    EXPECT_EQ(RowHeader.GetFormatType(), ftText);
    EXPECT_EQ(RowHeader.GetAlignment(), taCenter);
    EXPECT_TRUE(RowHeader.GetFont().Style & fsBold);

    Grid.SetHeaders(false);
    EXPECT_EQ(Grid.Cell(27, 0).GetText(), "");
    EXPECT_EQ(Grid.Cell(0, 3).GetFormatType(), ftVariable);
    EXPECT_FALSE(Grid.Cell(0, 3).GetFont().Style & fsBold);
}

TEST_F(FormatGridTest, VariableCellsTellNumbersFormulasAndTexts) {
    TGridRec& Cell = A1();
    Cell.SetText("2.5");
    EXPECT_EQ(Cell.GetNumber(), 2.5);
    EXPECT_EQ(Cell.GetAlignment(), taRightJustify);
    Cell.SetText("=1+1");
    EXPECT_EQ(Cell.GetFormula(), "1+1");
    Cell.SetText("abc");
    EXPECT_EQ(Cell.GetFormula(), "");
    EXPECT_EQ(Cell.GetText(), "abc");
    EXPECT_EQ(Cell.GetAlignment(), taLeftJustify);
    // A formula is kept to 255 characters.
    Cell.SetText("=" + std::string(300, '1'));
    EXPECT_EQ(Cell.GetFormula().size(), 255u);
}

TEST_F(FormatGridTest, ACellEmptiedOrTurnedToTextFeedsZeroToFormulas) {
    Grid.AutoCalculate = true;
    A1().SetText("3");
    B1().SetText("=A1+1");
    Grid.Recalculate();
    EXPECT_EQ(B1().GetNumber(), 4);
    Grid.SetCurrent(1, 1);
    ASSERT_TRUE(Grid.KeyDown(VK_DELETE, 0));
    EXPECT_EQ(B1().GetNumber(), 1);
    A1().SetText("note");
    Grid.Recalculate();
    EXPECT_EQ(B1().GetNumber(), 1);
}

TEST_F(FormatGridTest, NumericCellsRefuseTextsThatAreNoNumber) {
    TDialogsScope Scope;
    TGridRec& Cell = A1();
    Cell.SetFormatType(ftNumeric);
    Cell.SetNumericFormat(ffFixed);
    Cell.SetDigits(3);
    Cell.SetText("2.5");
    EXPECT_EQ(Cell.GetText(), "2.500");
    int Changes = 0;
    Cell.OnChange = [&](TGridRec&, int, int) { ++Changes; };
    Cell.SetText("abc");
    ASSERT_EQ(Scope.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Scope.Dialogs.Shown[0].Text, "Unable to convert abc to a number");
    EXPECT_EQ(Scope.Dialogs.Shown[0].Icon, TMsgDlgType::mtError);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Cell.GetNumber(), 2.5);
    EXPECT_EQ(Cell.GetText(), "2.500");
    Cell.SetText("");
    EXPECT_EQ(Cell.GetNumber(), 0);
    EXPECT_EQ(Cell.GetText(), "0.000");
    // A numeric cell never takes a formula.
    Cell.SetText("=1");
    EXPECT_EQ(Cell.GetFormula(), "");
    EXPECT_EQ(Scope.Dialogs.Shown.size(), 2u);
}

TEST_F(FormatGridTest, NumericCellsReadTheLocaleDecimalSeparator) {
    const std::string Old = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "de_DE") == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma";
    TGridRec& Cell = A1();
    Cell.SetFormatType(ftNumeric);
    Cell.SetText("2,");
    const double Trailing = Cell.GetNumber();
    Cell.SetText("1,25");
    const double Comma = Cell.GetNumber();
    std::setlocale(LC_NUMERIC, Old.c_str());
    EXPECT_EQ(Trailing, 2.0);
    EXPECT_EQ(Comma, 1.25);
}

TEST_F(FormatGridTest, NewDigitsReformatNumbersOnly) {
    TGridRec& Number = A1();
    Number.SetNumericFormat(ffFixed);
    Number.SetDigits(3);
    Number.SetText("2.5");
    ASSERT_EQ(Number.GetText(), "2.500");
    Number.SetDigits(1);
    EXPECT_EQ(Number.GetText(), "2.5");
    TGridRec& Text = B1();
    Text.SetText("n/a");
    Text.SetDigits(1);
    Text.SetNumericFormat(ffExponent);
    EXPECT_EQ(Text.GetText(), "n/a");
}

TEST_F(FormatGridTest, KeysUseTheTextClipboardAndFinishTheCell) {
    TMemoryClipboard Clipboard;
    SetTextClipboard(&Clipboard);
    Grid.AutoCalculate = true;
    std::vector<std::pair<int, int>> Finished;
    Grid.OnFinishEditing = [&](TFormatGrid&, int C, int R) { Finished.push_back({C, R}); };
    B1().SetText("=A1*2");
    A1().SetText("21");
    Grid.SetCurrent(1, 1);

    ASSERT_TRUE(Grid.KeyDown('C', ssCtrl));
    EXPECT_EQ(Clipboard.GetText(), "21");
    EXPECT_EQ(B1().GetText(), "42");  // recalculated by the finish step

    Clipboard.SetText("5");
    Grid.SetCurrent(1, 2);
    ASSERT_TRUE(Grid.KeyDown('V', ssCtrl));
    EXPECT_EQ(Grid.Cell(1, 2).GetNumber(), 5);

    Grid.SetCurrent(1, 1);
    ASSERT_TRUE(Grid.KeyDown('X', ssCtrl));
    EXPECT_EQ(Clipboard.GetText(), "21");
    EXPECT_EQ(A1().GetText(), "");
    EXPECT_EQ(B1().GetText(), "0");

    Clipboard.SetText(std::string(3000, 'x'));
    ASSERT_TRUE(Grid.KeyDown('V', ssCtrl));
    EXPECT_EQ(A1().GetText().size(), 2550u);

    EXPECT_FALSE(Grid.KeyDown('C', 0));
    const std::vector<std::pair<int, int>> Expected = {{1, 1}, {1, 2}, {1, 1}, {1, 1}};
    EXPECT_EQ(Finished, Expected);
    SetTextClipboard(nullptr);
}

TEST_F(FormatGridTest, MovingOffAnEditedCellFinishesThatCell) {
    Grid.AutoCalculate = true;
    std::vector<std::pair<int, int>> Finished;
    Grid.OnFinishEditing = [&](TFormatGrid&, int C, int R) { Finished.push_back({C, R}); };
    Grid.SetEditText(1, 2, "=3*3");
    Grid.SetCurrent(1, 3);
    Grid.EditorMoved(1, 2);
    EXPECT_EQ(Grid.Cell(1, 2).GetText(), "9");
    ASSERT_EQ(Finished.size(), 1u);
    EXPECT_EQ(Finished[0], std::make_pair(1, 2));
}

TEST(FormatGridCells, StoredRecordsRoundTripAndMapUnknownCodes) {
    TFormatGrid Grid;
    Grid.FixedCols = 0;
    Grid.FixedRows = 0;
    Grid.SetColCount(1);
    Grid.SetRowCount(3);
    TGridRec& Numeric = Grid.Cell(0, 0);
    Numeric.SetFormatType(ftNumeric);
    Numeric.SetNumericFormat(ffFixed);
    Numeric.SetPrecision(10);
    Numeric.SetDigits(3);
    Numeric.SetText("1.25");
    Grid.Cell(0, 1).SetText("=1+2");
    Grid.Cell(0, 2).SetText("label");

    std::vector<TGridCellRecord> Records = Grid.SaveCells();
    ASSERT_EQ(Records.size(), 3u);
    EXPECT_EQ(Records[0].FormatType, 2);
    EXPECT_EQ(Records[0].NumericFormat, 2);
    EXPECT_EQ(Records[0].Number, 1.25);
    EXPECT_EQ(Records[0].Text, "1.250");
    EXPECT_EQ(Records[1].Text, "=1+2");
    EXPECT_EQ(Records[0].FontName, "MS Sans Serif");

    Records[0].Number = 7;
    Records[0].Text = "ignored";
    Records[2].Alignment = 9;
    Records[2].FormatType = 9;
    Records[2].NumericFormat = 9;
    Records[2].FontStyle = 0x11;
    TFormatGrid Copy;
    Copy.FixedCols = 0;
    Copy.FixedRows = 0;
    Copy.SetColCount(1);
    Copy.SetRowCount(3);
    Copy.LoadCells(Records);
    EXPECT_EQ(Copy.Cell(0, 0).GetNumber(), 7);
    EXPECT_EQ(Copy.Cell(0, 0).GetText(), "7.000");
    EXPECT_EQ(Copy.Cell(0, 1).GetText(), "=1+2");
    EXPECT_EQ(Copy.Cell(0, 1).GetFormula(), "");
    const TGridRec& Odd = Copy.Cell(0, 2);
    EXPECT_EQ(Odd.GetAlignment(), taLeftJustify);
    EXPECT_EQ(Odd.GetFormatType(), ftVariable);
    EXPECT_EQ(Odd.GetNumericFormat(), ffGeneral);
    EXPECT_EQ(Odd.GetFont().Style, fsBold);
    EXPECT_EQ(Odd.GetText(), "label");
}

}  // namespace
}  // namespace sarnova
