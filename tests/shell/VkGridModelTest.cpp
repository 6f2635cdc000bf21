// The grid without window: cells, values, formats, layout, selection, keys, mouse and editing.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/Clipboard.h"
#include "controls/VkGridModel.h"
#include "shell/VkGridTestSupport.h"

namespace sarnova {
namespace {

// A grid without window that counts what it is asked to do.
class TProbeGrid : public TVkGridModel {
public:
    int Notices = 0;
    int Beeps = 0;
    void ComponentChanged(TVkGridObject* Sender) override {
        ++Notices;
        TVkGridModel::ComponentChanged(Sender);
    }
    void Type(char32_t Key) { PostEditorChar(Key); }
    std::string EditorText() const { return InplaceEditorText(); }
    bool EditorShown() const { return InplaceEditorVisible(); }
    void Caret(int& C, int& S, int& E) const { InplaceEditorCaret(C, S, E); }
    void SetEditorText(const std::string& Text, int SelStart) { SetInplaceEditorText(Text, SelStart); }

protected:
    void Beep() override { ++Beeps; }
};

TEST(VkGridModel, NewGridHasSevenBySevenCellsAndRefusesOthers) {
    TProbeGrid G;
    EXPECT_EQ(G.GetColCount(), 7);
    EXPECT_EQ(G.GetRowCount(), 7);
    EXPECT_EQ(ErrorOf([&] { G.Cell(7, 0); }), "TVkCells.GetCell - Invalid cell location (7,0)");
    EXPECT_EQ(ErrorOf([&] { G.Cell(0, -1); }), "TVkCells.GetCell - Invalid cell location (0,-1)");
    EXPECT_EQ(G.Cell(6, 6).GetRow(), 6);
    EXPECT_EQ(ErrorOf([&] { G.Row(7); }), "List index out of bounds (7)");
    EXPECT_EQ(ErrorOf([&] { G.Column(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(G.Selection(), TVkGridRect{});
    EXPECT_EQ(G.GetTopRow(), 1);
    EXPECT_EQ(G.GetLeftCol(), 1);
}

TEST(VkGridModel, TextValuesBecomeNumbersWhereTheyAreNumbers) {
    TProbeGrid G;
    TVkCell& General = G.Cell(1, 1);
    General.SetValue("12");
    EXPECT_EQ(General.GetValue().Kind(), TVkValue::vkInteger);
    EXPECT_EQ(General.GetValue().AsInteger(), 12);
    General.SetValue("1.5");
    EXPECT_EQ(General.GetValue().Kind(), TVkValue::vkDouble);
    EXPECT_EQ(General.GetValue().AsDouble(), 1.5);
    General.SetValue("abc");
    EXPECT_EQ(General.GetValue().AsString(), "abc");
    // Beyond 32 bits a whole number keeps its value as a double.
    General.SetValue("3000000000");
    EXPECT_EQ(General.GetValue().Kind(), TVkValue::vkDouble);
    EXPECT_EQ(General.GetValue().AsDouble(), 3e9);

    TVkCell& Numeric = G.Cell(2, 1);
    Numeric.SetFormat(lfNumeric);
    EXPECT_EQ(Numeric.GetValue(), TVkValue(0));
    Numeric.SetValue("abc");
    EXPECT_EQ(Numeric.GetValue().Kind(), TVkValue::vkInteger);
    EXPECT_EQ(Numeric.GetValue().AsInteger(), 0);
    General.SetValue("text");
    General.SetFormat(lfNumeric);
    EXPECT_EQ(General.GetValue(), TVkValue(0));
}

TEST(VkGridModel, DisplayTextFollowsKindAndNumberFormat) {
    TProbeGrid G;
    G.SetFormat(lfNumeric);
    G.SetFloatFormat(TVkFloatFormat(ffFixed, 10, 3));
    G.Cell(1, 1).SetValue(2);
    G.Cell(2, 1).SetValue(1.5);
    EXPECT_EQ(G.Cell(1, 1).DisplayText(), "2.000");
    EXPECT_EQ(G.Cell(2, 1).DisplayText(), "1.500");
    EXPECT_EQ(G.Cell(3, 1).DisplayText(), "0.000");  // nothing reads as 0
    // Fixed cells keep the default format and kind.
    G.Cell(0, 1).SetValue(2.5);
    EXPECT_EQ(G.Cell(0, 1).DisplayText(), "2.5");

    TProbeGrid General;
    General.Cell(1, 1).SetValue(2);
    General.Cell(2, 1).SetValue(1.5);
    EXPECT_EQ(General.Cell(1, 1).DisplayText(), "2");
    EXPECT_EQ(General.Cell(2, 1).DisplayText(), "1.5");
    General.FloatFormat().SetFormat(ffFixed);
    EXPECT_EQ(General.Cell(1, 1).DisplayText(), "2.000");
    General.FloatFormat().SetFormat(ffExponent);
    General.FloatFormat().SetPrecision(4);
    General.FloatFormat().SetDigits(2);
    EXPECT_EQ(General.Cell(2, 1).DisplayText(), "1.500E+00");
}

TEST(VkGridModel, DefaultAlignmentDependsOnKindAndValue) {
    TProbeGrid G;
    G.Cell(1, 1).SetValue(3);
    G.Cell(2, 1).SetValue("x");
    G.Cell(3, 1).SetFormat(lfComboBox);
    G.Cell(3, 1).SetValue(3);
    G.Cell(4, 1).SetFormat(lfNumeric);
    EXPECT_EQ(G.Cell(1, 1).DrawAlignment(), 2);
    EXPECT_EQ(G.Cell(2, 1).DrawAlignment(), 0);
    EXPECT_EQ(G.Cell(3, 1).DrawAlignment(), 0);
    EXPECT_EQ(G.Cell(4, 1).DrawAlignment(), 2);
    EXPECT_EQ(G.Cell(0, 0).DrawAlignment(), 1);  // fixed cells are centred
    G.Cell(1, 1).SetAlignment(laLeftJustify);
    EXPECT_EQ(G.Cell(1, 1).DrawAlignment(), 0);
}

TEST(VkGridModel, InsertAndDeleteKeepCellsInPlace) {
    TProbeGrid G;
    G.Cell(2, 3).SetValue("a");
    G.Cell(4, 5).SetValue("b");
    ASSERT_NE(G.InsertRow(7), nullptr);
    EXPECT_EQ(G.GetRowCount(), 8);
    EXPECT_EQ(G.InsertRow(9), nullptr);
    EXPECT_EQ(G.InsertColumn(-1), nullptr);
    EXPECT_EQ(G.GetRowCount(), 8);
    G.InsertRow(2);
    EXPECT_EQ(G.Cell(2, 4).GetValue().AsString(), "a");
    G.InsertColumn(3);
    EXPECT_EQ(G.GetColCount(), 8);
    EXPECT_EQ(G.Cell(2, 4).GetValue().AsString(), "a");
    EXPECT_EQ(G.Cell(5, 6).GetValue().AsString(), "b");
    EXPECT_TRUE(G.Cell(3, 6).GetValue().IsEmpty());
    G.DeleteColumn(3);
    G.DeleteRow(2);
    EXPECT_EQ(G.Cell(2, 3).GetValue().AsString(), "a");
    EXPECT_EQ(G.Cell(4, 5).GetValue().AsString(), "b");
    G.DeleteRow(99);
    EXPECT_EQ(G.GetRowCount(), 8);
}

TEST(VkGridModel, SetSizeKeepsTheRemainingCellsAndClampsNegativeCounts) {
    TProbeGrid G;
    G.Cell(2, 1).SetValue(21);
    G.Cell(1, 6).SetValue(16);
    G.SetSelection({1, 1, 2, 1});
    G.SetSize(3, 2);
    EXPECT_EQ(G.GetColCount(), 3);
    EXPECT_EQ(G.GetRowCount(), 2);
    EXPECT_EQ(G.Cell(2, 1).GetValue().AsInteger(), 21);
    EXPECT_EQ(G.Selection(), TVkGridRect{});
    G.SetRowCount(7);
    EXPECT_TRUE(G.Cell(1, 6).GetValue().IsEmpty());
    EXPECT_EQ(G.Row(6).GetHeight(), 24);
    G.SetSize(-2, -5);
    EXPECT_EQ(G.GetColCount(), 0);
    EXPECT_EQ(G.GetRowCount(), 0);
}

TEST(VkGridModel, NewFixedRowsKeepTheFormatTheirCellsWereMadeWith) {
    TProbeGrid G;
    G.SetAlignment(laRightJustify);
    G.SetFixedRows(2);
    EXPECT_EQ(G.GetFixedRows(), 2);
    EXPECT_EQ(G.Cell(3, 1).GetAlignment(), laRightJustify);
    G.SetFixedAlignment(laLeftJustify);
    EXPECT_EQ(G.Cell(3, 1).GetAlignment(), laLeftJustify);
    EXPECT_EQ(G.Cell(3, 2).GetAlignment(), laRightJustify);
    G.SetFixedColumns(10);
    EXPECT_EQ(G.GetFixedColumns(), 7);
}

TEST(VkGridModel, SizesHaveAFloorAndUnchangedSizesSendNoNotice) {
    TProbeGrid G;
    G.Column(1).SetWidth(2);
    EXPECT_EQ(G.Column(1).GetWidth(), 4);
    const int Before = G.Notices;
    G.Row(1).SetHeight(24);
    EXPECT_EQ(G.Notices, Before);
    G.Row(1).SetHeight(30);
    EXPECT_GT(G.Notices, Before);
    G.SetColWidth(50);
    EXPECT_EQ(G.Column(0).GetWidth(), 50);
    EXPECT_EQ(G.Column(6).GetWidth(), 50);
}

TEST(VkGridModel, AColumnsFormatReformatsThatColumnOnly) {
    TProbeGrid G;
    G.SetFloatFormat(TVkFloatFormat(ffFixed, 10, 3));
    for (int C = 1; C < 7; ++C)
        for (int R = 1; R < 7; ++R) G.Cell(C, R).SetValue(1.25);
    G.Column(2).FloatFormat().SetDigits(1);
    for (int R = 1; R < 7; ++R) {
        EXPECT_EQ(G.Cell(2, R).DisplayText(), "1.3") << R;
        EXPECT_EQ(G.Cell(3, R).DisplayText(), "1.250") << R;
    }
    G.Row(4).FloatFormat().SetDigits(2);
    EXPECT_EQ(G.Cell(5, 4).DisplayText(), "1.25");
    EXPECT_EQ(G.Cell(5, 3).DisplayText(), "1.250");
}

TEST(VkGridModel, UpdateBracketsNestAndMismatchRaises) {
    TProbeGrid G;
    EXPECT_EQ(ErrorOf([&] { G.EndUpdate(); }),
              "TVkGrid.EndUpdate - Mismatch between number of BeginUpdate and EndUpdate issues");
    EXPECT_FALSE(G.IsUpdating());
    G.BeginUpdate();
    G.BeginUpdate();
    G.EndUpdate();
    EXPECT_TRUE(G.IsUpdating());
    G.EndUpdate();
    EXPECT_FALSE(G.IsUpdating());
}

// ---- Layout and scrolling ----

TEST(VkGridLayout, MaxTopRowLetsTheLastRowShowInPart) {
    TProbeGrid G;
    G.SetSize(3, 10);
    G.SetRowHeight(30);
    G.SetClientSize(200, 130);  // a free height of 100
    EXPECT_EQ(G.MaxTopRow(), 6);
    G.SetClientSize(200, 120);
    EXPECT_EQ(G.MaxTopRow(), 7);
    G.SetClientSize(200, 1000);
    EXPECT_EQ(G.MaxTopRow(), 1);
}

TEST(VkGridLayout, CellRectsHitTestsAndLastWholeRow) {
    TProbeGrid G;
    G.SetClientSize(200, 100);
    EXPECT_EQ(G.CellRect(2, 3), (TRect{128, 72, 192, 96}));
    int C = 0;
    int R = 0;
    G.CellAtPoint(130, 73, false, C, R);
    EXPECT_EQ(std::make_pair(C, R), std::make_pair(2, 3));
    G.CellAtPoint(1000, 1000, false, C, R);
    EXPECT_EQ(std::make_pair(C, R), std::make_pair(-1, -1));
    G.CellAtPoint(1000, 1000, true, C, R);
    EXPECT_EQ(std::make_pair(C, R), std::make_pair(6, 6));
    EXPECT_EQ(G.GetLastRow(), 3);  // rows 1 to 3 fit below the fixed row, row 4 not wholly
    EXPECT_EQ(G.GetLastCol(), 2);
    G.SetTopRow(3);
    EXPECT_EQ(G.CellRect(1, 2).Top, 0);  // scrolled off: above the data area
    EXPECT_FALSE(G.IsCellVisible(1, 2));
    EXPECT_TRUE(G.IsCellVisible(1, 3));
}

TEST(VkGridLayout, DeletedRowsUnderAScrolledViewPullItBack) {
    TProbeGrid G;
    G.SetSize(3, 20);
    G.SetClientSize(200, 100);
    G.SetTopRow(15);
    EXPECT_EQ(G.GetTopRow(), 15);
    G.SetRowCount(10);
    EXPECT_EQ(G.GetTopRow(), 6);
    EXPECT_EQ(G.GetLastRow(), 9);
    G.SetTopRow(6);
    G.SetRowCount(3);
    EXPECT_EQ(G.GetTopRow(), 1);
}

TEST(VkGridLayout, AutoSizedColumnsShareTheFreeWidth) {
    TProbeGrid G;
    G.SetSize(4, 3);
    G.SetClientSize(364, 100);
    G.SetOptions(G.GetOptions() | loAutoSizeColumns);
    EXPECT_EQ(G.Column(1).GetWidth(), 100);
    G.Column(2).AutoSize = false;
    G.Column(2).SetWidth(40);
    EXPECT_EQ(G.Column(1).GetWidth(), 130);
    EXPECT_EQ(G.Column(3).GetWidth(), 130);
}

// ---- Selection, keys and mouse ----

struct TSelectionLog {
    std::vector<TVkGridRect> Ranges;
    std::vector<std::pair<int, int>> Asked;
    void Bind(TVkGridModel& G) {
        G.OnSelectRange = [this](TVkGridModel*, TVkGridRect R) { Ranges.push_back(R); };
        G.OnSelectCell = [this](TVkGridModel*, int C, int R, bool&) { Asked.emplace_back(C, R); };
    }
};

TEST(VkGridSelection, ClickingMakesADataCellCurrent) {
    TProbeGrid G;
    G.SetClientSize(600, 400);
    TSelectionLog Log;
    Log.Bind(G);
    G.MouseDown(mbLeft, ssLeft, 10, 80);  // a fixed cell
    EXPECT_FALSE(G.GetMouseSelecting());
    EXPECT_TRUE(Log.Ranges.empty());
    G.MouseDown(mbLeft, ssLeft, 140, 80);
    G.MouseUp(mbLeft, 0, 140, 80);
    EXPECT_EQ(G.CurrentColumn(), 2);
    EXPECT_EQ(G.CurrentRow(), 3);
    ASSERT_EQ(Log.Ranges.size(), 1u);
    EXPECT_EQ(Log.Ranges[0], (TVkGridRect{2, 3, 2, 3}));
    // Clicking the current cell again does not ask OnSelectCell.
    const size_t Asked = Log.Asked.size();
    G.MouseDown(mbLeft, ssLeft, 141, 81);
    EXPECT_EQ(Log.Asked.size(), Asked);
}

TEST(VkGridSelection, DraggingPastTheEndSelectsToTheLastCell) {
    TProbeGrid G;
    G.SetClientSize(600, 400);
    G.MouseDown(mbLeft, ssLeft, 140, 80);
    G.MouseMove(ssLeft, 5000, 5000);
    G.MouseUp(mbLeft, 0, 5000, 5000);
    EXPECT_EQ(G.Selection(), (TVkGridRect{2, 3, 6, 6}));
    EXPECT_FALSE(G.GetMouseSelecting());
}

TEST(VkGridSelection, ShiftArrowsMoveTheEdgeAwayFromTheCurrentCell) {
    TProbeGrid G;
    G.SetClientSize(600, 400);
    G.SetCurrentCell(2, 2);
    G.KeyDown(VK_DOWN, ssShift);
    G.KeyDown(VK_DOWN, ssShift);
    EXPECT_EQ(G.Selection(), (TVkGridRect{2, 2, 2, 4}));
    G.KeyDown(VK_UP, ssShift);
    EXPECT_EQ(G.Selection(), (TVkGridRect{2, 2, 2, 3}));

    G.SetCurrentCell(2, 5);
    G.KeyDown(VK_UP, ssShift);
    G.KeyDown(VK_UP, ssShift);
    EXPECT_EQ(G.Selection(), (TVkGridRect{2, 3, 2, 5}));
    G.KeyDown(VK_UP, ssShift);
    EXPECT_EQ(G.Selection(), (TVkGridRect{2, 2, 2, 5}));

    G.KeyDown(VK_RIGHT, ssShift | ssCtrl);
    EXPECT_EQ(G.Selection(), (TVkGridRect{2, 2, 6, 5}));
    G.KeyDown(VK_LEFT, ssShift | ssCtrl);
    EXPECT_EQ(G.Selection(), (TVkGridRect{1, 2, 2, 5}));
    EXPECT_EQ(G.CurrentColumn(), 2);

    // Without a selection there is no edge to move.
    G.UnselectRange();
    G.KeyDown(VK_DOWN, ssShift);
    EXPECT_EQ(G.Selection(), TVkGridRect{});
}

TEST(VkGridSelection, NavigationKeysMoveTheCurrentCell) {
    struct Case {
        TKeyCode Key;
        TShiftState Shift;
        int Column, Row;
    };
    const Case Cases[] = {
        {VK_DOWN, 0, 3, 4},         {VK_UP, 0, 3, 2},         {VK_RETURN, 0, 3, 4},
        {VK_LEFT, 0, 2, 3},         {VK_RIGHT, 0, 4, 3},      {VK_HOME, 0, 1, 3},
        {VK_HOME, ssCtrl, 1, 1},    {VK_RIGHT, ssCtrl, 6, 3}, {VK_DOWN, ssCtrl, 3, 6},
        {VK_UP, ssCtrl | ssAlt, 3, 1},
    };
    for (const Case& K : Cases) {
        TProbeGrid G;
        G.SetClientSize(600, 400);
        G.SetCurrentCell(3, 3);
        G.KeyDown(K.Key, K.Shift);
        EXPECT_EQ(std::make_pair(G.CurrentColumn(), G.CurrentRow()), std::make_pair(K.Column, K.Row))
            << "key " << K.Key << " shift " << K.Shift;
    }
    TProbeGrid G;
    G.SetClientSize(600, 400);
    G.SetCurrentCell(3, 3);
    G.RowForwarding = false;
    G.KeyDown(VK_RETURN, 0);
    EXPECT_EQ(G.CurrentRow(), 3);
    G.KeyDown('A', ssCtrl);
    EXPECT_EQ(G.Selection(), (TVkGridRect{1, 1, 6, 6}));
    G.MouseWheel(120);
    EXPECT_EQ(G.CurrentRow(), 1);  // SelectAll made (1, 1) current; the wheel stops at the top
    G.MouseWheel(-120);
    EXPECT_EQ(G.CurrentRow(), 2);
}

TEST(VkGridSelection, PageDownOnAGridThatFitsSelectsTheLastRow) {
    TProbeGrid G;
    G.SetClientSize(400, 7 * 24 + 10);
    G.SetCurrentCell(1, 1);
    G.KeyDown(VK_NEXT, 0);
    EXPECT_EQ(G.GetTopRow(), 1);
    EXPECT_EQ(G.CurrentRow(), 6);
}

TEST(VkGridSelection, WithoutSelectingNoCellBecomesCurrent) {
    TProbeGrid G;
    G.SetClientSize(600, 400);
    G.SetOptions(G.GetOptions() & ~loSelecting);
    G.MouseDown(mbLeft, ssLeft, 140, 80);
    G.KeyDown(VK_DOWN, 0);
    EXPECT_FALSE(G.SetCurrentCell(2, 2));
    EXPECT_EQ(std::make_pair(G.CurrentColumn(), G.CurrentRow()), std::make_pair(0, 0));
}

TEST(VkGridSelection, ClearSelectionUnlessPersistent) {
    TProbeGrid G;
    TSelectionLog Log;
    Log.Bind(G);
    G.SetCurrentCell(2, 2);
    G.SetOptions(G.GetOptions() | loPersistentFocus);
    G.ClearSelection();
    EXPECT_EQ(G.Selection(), (TVkGridRect{2, 2, 2, 2}));
    G.SetOptions(G.GetOptions() & ~loPersistentFocus);
    G.ClearSelection();
    EXPECT_EQ(G.Selection(), TVkGridRect{});
    EXPECT_EQ(Log.Asked.back(), std::make_pair(-1, -1));
    EXPECT_EQ(G.CurrentColumn(), 0);
    const size_t Ranges = Log.Ranges.size();
    G.SetOptions(G.GetOptions() | loDeSelectionEvent);
    G.UnselectRange();
    EXPECT_EQ(Log.Ranges.size(), Ranges + 1);
}

TEST(VkGridSelection, OnSelectCellCanRefuse) {
    TProbeGrid G;
    G.OnSelectCell = [](TVkGridModel*, int C, int, bool& CanSelect) { CanSelect = C != 3; };
    EXPECT_TRUE(G.SetCurrentCell(2, 2));
    EXPECT_FALSE(G.SetCurrentCell(3, 2));
    EXPECT_EQ(G.CurrentColumn(), 2);
    EXPECT_FALSE(G.SetCurrentCell(0, 2));
    EXPECT_FALSE(G.SetCurrentCell(7, 2));
}

TEST(VkGridMouse, DraggingAColumnEdgeResizesItOutOfTheSharing) {
    TProbeGrid G;
    G.SetSize(4, 3);
    G.SetClientSize(364, 100);
    G.SetOptions(G.GetOptions() | loAutoSizeColumns);
    ASSERT_EQ(G.Column(1).GetWidth(), 100);
    // The right edge of column 1 lies at 164, inside the fixed row.
    EXPECT_EQ(G.ColumnEdgeAt(166, 10), 1);
    EXPECT_EQ(G.ColumnEdgeAt(166, 40), -1);
    G.MouseDown(mbLeft, ssLeft, 166, 10);
    EXPECT_EQ(G.GetSizingColumn(), 1);
    G.MouseMove(ssLeft, 196, 10);
    G.MouseUp(mbLeft, 0, 196, 10);
    EXPECT_EQ(G.GetSizingColumn(), -1);
    EXPECT_EQ(G.Column(1).GetWidth(), 130);
    EXPECT_FALSE(G.Column(1).AutoSize);
    EXPECT_EQ(G.Column(2).GetWidth(), 85);

    G.MouseDown(mbLeft, ssLeft, 194, 10);
    G.MouseMove(ssLeft, -500, 10);
    G.MouseUp(mbLeft, 0, -500, 10);
    EXPECT_EQ(G.Column(1).GetWidth(), 4);
}

// ---- Editing ----

struct TEditLog {
    std::vector<std::tuple<int, int, TVkValue>> Calls;
    void Bind(TVkGridModel& G) {
        G.OnEditCell = [this](TVkGridModel*, int C, int R, TVkValue& V) { Calls.emplace_back(C, R, V); };
    }
};

TEST(VkGridEditing, TypingIntoANumericCellStoresADouble) {
    TProbeGrid G;
    G.SetFormat(lfNumeric);
    TEditLog Log;
    Log.Bind(G);
    G.SetCurrentCell(2, 2);
    G.KeyPress(U'7');
    EXPECT_TRUE(G.IsEditing());
    EXPECT_FALSE(G.GetEditMode());
    EXPECT_EQ(G.EditorText(), "7");
    G.Type(U'x');
    G.Type(U'e');
    EXPECT_EQ(G.Beeps, 2);
    EXPECT_EQ(G.EditorText(), "7");
    G.Type(U'\r');
    EXPECT_FALSE(G.IsEditing());
    EXPECT_FALSE(G.EditorShown());
    EXPECT_EQ(G.CurrentRow(), 3);
    ASSERT_EQ(Log.Calls.size(), 1u);
    EXPECT_EQ(std::get<0>(Log.Calls[0]), 2);
    EXPECT_EQ(std::get<1>(Log.Calls[0]), 2);
    EXPECT_EQ(std::get<2>(Log.Calls[0]).Kind(), TVkValue::vkDouble);
    EXPECT_EQ(std::get<2>(Log.Calls[0]).AsDouble(), 7.0);
    EXPECT_EQ(G.Cell(2, 2).GetValue().Kind(), TVkValue::vkDouble);
}

TEST(VkGridEditing, EnteredTextBecomesAValueByItsForm) {
    const std::tuple<const char*, TVkValue::TKind, const char*> Cases[] = {
        {"12", TVkValue::vkInteger, "12"},
        {"12.5", TVkValue::vkDouble, "12.5"},
        {"abc", TVkValue::vkString, "abc"},
        // Exponent forms and integers beyond 32 bits are kept as numbers, not refused.
        {"1e5", TVkValue::vkDouble, "100000"},
        {"9999999999", TVkValue::vkDouble, "9999999999"},
    };
    for (const auto& [Text, Kind, Shown] : Cases) {
        TProbeGrid G;
        G.SetCurrentCell(1, 1);
        G.ShowEditor();
        G.SetEditorText(Text, 0);
        G.SetEditing(false);
        EXPECT_EQ(G.Cell(1, 1).GetValue().Kind(), Kind) << Text;
        EXPECT_EQ(G.Cell(1, 1).DisplayText(), Shown) << Text;
    }
}

TEST(VkGridEditing, EscDropsTheTextAndTheHandlerMayCorrectTheValue) {
    TProbeGrid G;
    G.SetCurrentCell(1, 1);
    G.Cell(1, 1).SetValue(4);
    G.KeyPress(U'9');
    G.Type(27);
    EXPECT_FALSE(G.IsEditing());
    EXPECT_EQ(G.Cell(1, 1).GetValue(), TVkValue(4));
    EXPECT_EQ(G.CurrentRow(), 1);

    G.OnEditCell = [](TVkGridModel*, int, int, TVkValue& V) { V = 0; };
    G.KeyPress(U'9');
    G.Type(U'\r');
    EXPECT_EQ(G.Cell(1, 1).GetValue(), TVkValue(0));
}

TEST(VkGridEditing, AHandlerThatRebuildsTheGridIsNotWrittenOver) {
    TProbeGrid G;
    G.SetCurrentCell(1, 3);
    G.OnEditCell = [](TVkGridModel* Sender, int, int, TVkValue& V) {
        Sender->SetRowCount(2);
        V = 5;
    };
    G.SetCurrentCellValue(7);
    EXPECT_EQ(G.GetRowCount(), 2);
}

TEST(VkGridEditing, F2OpensTheDisplayTextInEditMode) {
    TProbeGrid G;
    G.SetFloatFormat(TVkFloatFormat(ffFixed, 10, 3));
    G.Cell(1, 1).SetValue(2);
    G.SetCurrentCell(1, 1);
    G.KeyDown(VK_F2, 0);
    EXPECT_TRUE(G.GetEditMode());
    EXPECT_EQ(G.EditorText(), "2.000");
    EXPECT_FALSE(G.EditorKeyDown(VK_LEFT, 0));
    EXPECT_FALSE(G.EditorKeyDown(VK_DOWN, 0));
    EXPECT_TRUE(G.EditorKeyDown(VK_NEXT, 0));  // leaves the cell, storing the text
    EXPECT_FALSE(G.IsEditing());
    EXPECT_EQ(G.Cell(1, 1).GetValue(), TVkValue(2.0));

    // Typing starts from the value, not from its formatted text.
    G.Column(2).SetFormat(lfNumeric);
    G.Cell(2, 1).SetValue(2);
    G.SetCurrentCell(2, 1);
    G.KeyPress(U'x');
    EXPECT_EQ(G.EditorText(), "2");
    EXPECT_EQ(G.Beeps, 1);
    G.Type(U'\b');
    EXPECT_EQ(G.EditorText(), "");
}

TEST(VkGridEditing, EditorKeysLeaveTheCellOnlyInTypingModeAtTheTextEdges) {
    struct Case {
        TKeyCode Key;
        TShiftState Shift;
        bool EditMode;
        int Caret, SelStart, SelEnd, Length;
        bool Forwarded;
    };
    const Case Cases[] = {
        {VK_RIGHT, 0, false, 3, 3, 3, 3, true},   {VK_RIGHT, 0, false, 1, 1, 1, 3, false},
        {VK_RIGHT, ssCtrl, false, 1, 1, 1, 3, true}, {VK_RIGHT, 0, true, 3, 3, 3, 3, false},
        {VK_LEFT, 0, false, 0, 0, 0, 3, true},    {VK_LEFT, 0, false, 0, 0, 3, 3, true},
        {VK_LEFT, 0, false, 2, 2, 2, 3, false},   {VK_HOME, 0, true, 0, 0, 0, 3, false},
        {VK_UP, 0, false, 1, 1, 1, 3, true},      {VK_DOWN, 0, true, 1, 1, 1, 3, false},
        {VK_TAB, 0, true, 0, 0, 0, 0, true},      {VK_TAB, ssAlt, true, 0, 0, 0, 0, false},
        {VK_ESCAPE, 0, true, 0, 0, 0, 0, true},   {VK_DELETE, 0, false, 0, 0, 0, 0, false},
        {VK_DELETE, ssCtrl, false, 0, 0, 0, 0, true},
    };
    for (const Case& K : Cases)
        EXPECT_EQ(EditorForwardsKey(K.Key, K.Shift, K.EditMode, K.Caret, K.SelStart, K.SelEnd, K.Length),
                  K.Forwarded)
            << "key " << K.Key << " edit mode " << K.EditMode << " caret " << K.Caret;
}

TEST(VkGridEditing, RightAtTheEndOfTypedTextStoresItAndMovesOn) {
    TProbeGrid G;
    TEditLog Log;
    Log.Bind(G);
    G.SetCurrentCell(1, 1);
    G.KeyPress(U'4');
    G.Type(U'2');
    EXPECT_TRUE(G.EditorKeyDown(VK_RIGHT, 0));
    EXPECT_EQ(G.CurrentColumn(), 2);
    EXPECT_EQ(G.Cell(1, 1).GetValue(), TVkValue(42));
    EXPECT_EQ(Log.Calls.size(), 1u);
}

TEST(VkGridEditing, MultiCellEntryFillsTheSelectionRowByRow) {
    TProbeGrid G;
    G.SetOptions(G.GetOptions() | loAllowMultiCellEntry);
    TEditLog Log;
    Log.Bind(G);
    G.SetSelection({1, 1, 3, 2});
    G.KeyPress(U'5');
    G.Type(U'\n');
    for (int C = 1; C <= 3; ++C)
        for (int R = 1; R <= 2; ++R) EXPECT_EQ(G.Cell(C, R).GetValue(), TVkValue(5)) << C << "," << R;
    ASSERT_EQ(Log.Calls.size(), 7u);
    EXPECT_EQ(std::get<0>(Log.Calls[2]), 2);
    EXPECT_EQ(std::get<1>(Log.Calls[2]), 1);
    EXPECT_EQ(G.CurrentRow(), 2);

    TProbeGrid H;
    H.SetOptions(H.GetOptions() | loAllowMultiCellEntry);
    TVkGridRect Got;
    H.OnMultiEditCell = [&](TVkGridModel*, const TVkGridRect& S, const TVkValue&) { Got = S; };
    H.SetSelection({1, 1, 3, 2});
    H.KeyPress(U'5');
    H.Type(U'\n');
    EXPECT_EQ(Got, (TVkGridRect{1, 1, 3, 2}));
    EXPECT_EQ(H.Cell(1, 1).GetValue(), TVkValue(5));
    EXPECT_TRUE(H.Cell(2, 1).GetValue().IsEmpty());
}

TEST(VkGridEditing, DeleteClearsTheSelectionByKind) {
    TProbeGrid G;
    G.Column(1).SetFormat(lfNumeric);
    for (int R = 1; R <= 2; ++R) {
        G.Cell(1, R).SetValue(3);
        G.Cell(2, R).SetValue("t");
    }
    G.KeyDown(VK_DELETE, 0);  // no selection
    EXPECT_EQ(G.Cell(1, 1).GetValue(), TVkValue(3));
    G.SetSelection({1, 1, 2, 2});
    G.SetOptions(G.GetOptions() & ~loClearing);
    G.KeyDown(VK_DELETE, 0);
    EXPECT_EQ(G.Cell(2, 2).GetValue(), TVkValue("t"));
    G.SetOptions(G.GetOptions() | loClearing);
    TEditLog Log;
    Log.Bind(G);
    G.KeyDown(VK_DELETE, 0);
    EXPECT_EQ(G.Cell(1, 2).GetValue(), TVkValue(0));
    EXPECT_EQ(G.Cell(2, 2).GetValue(), TVkValue(""));
    EXPECT_EQ(Log.Calls.size(), 4u);
}

TEST(VkGridEditing, ListCellsCompleteTypedText) {
    TProbeGrid G;
    G.Cell(2, 2).SetFormat(lfComboBox);
    G.OnSelectDropDownCell = [](TVkGridModel*, int, int, std::vector<std::string>& Items) {
        Items = {"Steel", "Stainless"};
    };
    G.SetCurrentCell(2, 2);
    ASSERT_EQ(G.DropDownItems().size(), 2u);
    G.KeyPress(U'S');
    G.Type(U'T');
    EXPECT_EQ(G.EditorText(), "Steel");
    int Caret = 0;
    int SelStart = 0;
    int SelEnd = 0;
    G.Caret(Caret, SelStart, SelEnd);
    EXPECT_EQ(std::make_pair(SelStart, SelEnd), std::make_pair(2, 5));
    G.Type(U'a');
    G.Type(U'x');
    EXPECT_EQ(G.EditorText(), "Stax");

    EXPECT_EQ(DropDownRowCount(3), 3);
    EXPECT_EQ(DropDownRowCount(20), 8);
    EXPECT_EQ(DropDownRowCount(0), 1);
    EXPECT_EQ(FindItemByPrefix({"Steel", "Stainless"}, ""), -1);
    // Near the bottom of the screen the list opens upwards.
    EXPECT_EQ(DropDownListRect({100, 500, 116, 520}, 80, 50, 1000), (TRect{36, 520, 116, 570}));
    EXPECT_EQ(DropDownListRect({100, 980, 116, 1000}, 80, 50, 1000), (TRect{36, 930, 116, 980}));
}

TEST(VkGridEditing, ListSearchAddsCharactersTypedInQuickSuccession) {
    const std::vector<std::string> Items = {"apple", "Steel", "Stainless", "stone", "axe"};
    TVkListSearch Search;
    EXPECT_EQ(Search.KeyPress(U's', 1000, Items), 1);
    EXPECT_EQ(Search.KeyPress(U't', 1500, Items), 1);
    EXPECT_EQ(Search.KeyPress(U'o', 2000, Items), 3);
    EXPECT_EQ(Search.KeyPress(U'a', 4500, Items), 0);
    EXPECT_EQ(Search.SearchText(), "a");
    EXPECT_EQ(Search.KeyPress(U'x', 4600, Items), 4);
    Search.KeyPress(U'\b', 4700, Items);
    EXPECT_EQ(Search.SearchText(), "");
}

TEST(VkGridEditing, ACellButtonReturnsItsValueToItsOwnCell) {
    TProbeGrid G;
    G.Cell(2, 2).SetFormat(lfButton);
    G.SetCurrentCell(2, 2);
    int Calls = 0;
    G.OnCellButton = [&](TVkGridModel* Sender, int C, int R, TVkValue& V) {
        ++Calls;
        EXPECT_EQ(std::make_pair(C, R), std::make_pair(2, 2));
        // A dialog takes the focus, which clears the selection.
        Sender->ClearSelection();
        V = "chosen";
    };
    TEditLog Log;
    Log.Bind(G);
    G.CellButtonClick();
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(G.Cell(2, 2).GetValue(), TVkValue("chosen"));
    EXPECT_TRUE(G.Cell(0, 0).GetValue().IsEmpty());
    EXPECT_EQ(Log.Calls.size(), 1u);
}

// ---- Clipboard ----

TEST(VkGridClipboard, SelectionTextHasTabsAndCrLf) {
    TProbeGrid G;
    G.SetFloatFormat(TVkFloatFormat(ffFixed, 10, 3));
    G.Cell(1, 1).SetValue(1);
    G.Cell(2, 1).SetValue(2);
    G.Cell(1, 2).SetValue(3);
    G.Cell(2, 2).SetValue(4);
    TMemoryClipboard Clipboard;
    SetTextClipboard(&Clipboard);
    Clipboard.SetText("before");
    G.CopySelectionToClipboard();  // nothing selected
    EXPECT_EQ(Clipboard.GetText(), "before");
    G.SetSelection({1, 1, 2, 2});
    G.KeyDown('C', ssCtrl);
    EXPECT_EQ(Clipboard.GetText(), "1.000\t2.000\r\n3.000\t4.000\r\n");
    SetTextClipboard(nullptr);
}

TEST(VkGridClipboard, CopyAllLeavesTheFixedCellsOutUnlessAsked) {
    TProbeGrid G;
    G.SetSize(3, 3);
    G.Cell(1, 0).SetValue("X");
    G.Cell(2, 0).SetValue("Y");
    G.Cell(0, 1).SetValue("1");
    G.Cell(1, 1).SetValue("a");
    G.Cell(2, 2).SetValue(2.5);
    EXPECT_EQ(G.AllText(false), "a\t\r\n\t2.5\r\n");
    EXPECT_EQ(G.AllText(true), "\tX\tY\r\n1\ta\t\r\n\t\t2.5\r\n");
}

}  // namespace
}  // namespace sarnova
