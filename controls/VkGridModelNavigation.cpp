// The grid's layout, scrolling, current cell, selection, mouse and keyboard.
#include <algorithm>

#include "controls/VkGridModel.h"

namespace sarnova {

// ---- Layout ----

int TVkGridModel::SumWidths(int From, int To) {
    int Sum = 0;
    for (int C = From; C <= To; ++C) Sum += Column(C).GetWidth();
    return Sum;
}

int TVkGridModel::SumHeights(int From, int To) {
    int Sum = 0;
    for (int R = From; R <= To; ++R) Sum += Row(R).GetHeight();
    return Sum;
}

int TVkGridModel::FixedWidths() { return SumWidths(0, std::min(FFixedColumns, FColCount) - 1); }

int TVkGridModel::FixedHeights() { return SumHeights(0, std::min(FFixedRows, FRowCount) - 1); }

TRect TVkGridModel::CellRect(int C, int R) {
    TRect Rect;
    if (C < FFixedColumns)
        Rect.Left = SumWidths(0, C - 1);
    else if (C < FLeftCol)
        Rect.Left = FixedWidths() - SumWidths(C, FLeftCol - 1);
    else
        Rect.Left = FixedWidths() + SumWidths(FLeftCol, C - 1);
    Rect.Right = Rect.Left + Column(C).GetWidth();
    if (R < FFixedRows)
        Rect.Top = SumHeights(0, R - 1);
    else if (R < FTopRow)
        Rect.Top = FixedHeights() - SumHeights(R, FTopRow - 1);
    else
        Rect.Top = FixedHeights() + SumHeights(FTopRow, R - 1);
    Rect.Bottom = Rect.Top + Row(R).GetHeight();
    return Rect;
}

void TVkGridModel::CellAtPoint(int X, int Y, bool Clamp, int& C, int& R) {
    auto Walk = [&](int Pos, int Fixed, int First, int Count, auto Size) {
        int Edge = 0;
        for (int I = 0; I < std::min(Fixed, Count); ++I) {
            const int Next = Edge + Size(I);
            if (Pos >= Edge && Pos < Next) return I;
            Edge = Next;
        }
        for (int I = std::max(First, 0); I < Count; ++I) {
            if (Pos < Edge) break;
            const int Next = Edge + Size(I);
            if (Pos < Next) return I;
            Edge = Next;
        }
        return Clamp && Pos >= Edge ? Count - 1 : -1;
    };
    R = Walk(Y, FFixedRows, FTopRow, FRowCount, [this](int I) { return Row(I).GetHeight(); });
    C = Walk(X, FFixedColumns, FLeftCol, FColCount, [this](int I) { return Column(I).GetWidth(); });
}

TRect TVkGridModel::DataRect() { return {FixedWidths(), FixedHeights(), ClientWidth(), ClientHeight()}; }

bool TVkGridModel::IsCellVisible(int C, int R) {
    const TRect Cell = CellRect(C, R);
    const TRect Data = DataRect();
    return Cell.Left < Data.Right && Cell.Right > Data.Left && Cell.Top < Data.Bottom && Cell.Bottom > Data.Top;
}

int TVkGridModel::VisibleColCount() const {
    return FLastCol != -1 ? FLastCol - FLeftCol : FColCount - FFixedColumns;
}

int TVkGridModel::VisibleRowCount() const { return FLastRow != -1 ? FLastRow - FTopRow : FRowCount - FFixedRows; }

void TVkGridModel::UpdateLastRow() {
    FLastRow = -1;
    if (FColCount <= 0 || FFixedRows >= FRowCount) return;
    if (FTopRow < FRowCount) {
        for (int I = FTopRow; I < FRowCount; ++I)
            if (CellRect(0, I).Bottom > ClientHeight()) {
                FLastRow = I - 1;
                break;
            }
        return;
    }
    // Rows were deleted under the scrolled view: scroll back so that the last row ends the view.
    FTopRow = FRowCount - 1;
    const int Free = ClientHeight() - FixedHeights();
    int Total = 0;
    for (;;) {
        Total += Row(FTopRow).GetHeight();
        if (Total >= Free || FTopRow - 1 < FFixedRows) break;
        --FTopRow;
    }
    FLastRow = FRowCount - 1;
}

void TVkGridModel::UpdateLastCol() {
    FLastCol = -1;
    if (FRowCount <= 0 || FFixedColumns >= FColCount) return;
    if (FLeftCol < FColCount) {
        for (int I = FLeftCol; I < FColCount; ++I)
            if (CellRect(I, 0).Right > ClientWidth()) {
                FLastCol = I - 1;
                break;
            }
        return;
    }
    FLeftCol = FColCount - 1;
    const int Free = ClientWidth() - FixedWidths();
    int Total = 0;
    for (;;) {
        Total += Column(FLeftCol).GetWidth();
        if (Total >= Free || FLeftCol - 1 < FFixedColumns) break;
        --FLeftCol;
    }
    FLastCol = FColCount - 1;
}

void TVkGridModel::UpdateScrollBars() {
    SetScrollBarInfo(0, FFixedColumns, FColCount - 1, VisibleColCount());
    SetScrollBarInfo(1, FFixedRows, FRowCount - 1, VisibleRowCount());
}

void TVkGridModel::SetTopRow(int R) {
    if (R == FTopRow) return;
    const int Max = MaxTopRow();
    FTopRow = R < FFixedRows ? FFixedRows : std::min(R, Max);
    SetScrollBarPosition(1, FTopRow);
    UpdateLastRow();
    Invalidate();
}

void TVkGridModel::SetLeftCol(int C) {
    if (C == FLeftCol) return;
    const int Max = MaxLeftCol();
    FLeftCol = C < FFixedColumns ? FFixedColumns : std::min(C, Max);
    SetScrollBarPosition(0, FLeftCol);
    UpdateLastCol();
    Invalidate();
}

int TVkGridModel::MaxTopRow() {
    int Free = ClientHeight() - FixedHeights();
    int Answer = FFixedRows;
    for (int I = FRowCount - 1; I >= FFixedRows && Free > 0; --I) {
        Free -= Row(I).GetHeight();
        Answer = I;
    }
    return Free > 0 ? FFixedRows : Answer;
}

int TVkGridModel::MaxLeftCol() {
    int Free = ClientWidth() - FixedWidths();
    int Answer = FFixedColumns;
    for (int I = FColCount - 1; I >= FFixedColumns && Free > 0; --I) {
        Free -= Column(I).GetWidth();
        Answer = I;
    }
    return Free > 0 ? FFixedColumns : std::max(Answer, FFixedColumns);
}

void TVkGridModel::ShowRowAtBottom(int R) {
    int Free = ClientHeight() - FixedHeights();
    int Last = R + 1;
    for (int I = R; I >= FFixedRows && Free > 0; --I) {
        Free -= Row(I).GetHeight();
        Last = I;
    }
    SetTopRow(Free > 0 ? FFixedRows : Last + 1);
}

void TVkGridModel::ShowColumnAtRight(int C) {
    int Free = ClientWidth() - FixedWidths();
    int Last = C + 1;
    for (int I = C; I >= FFixedColumns && Free > 0; --I) {
        Free -= Column(I).GetWidth();
        Last = I;
    }
    SetLeftCol(Free > 0 ? FFixedColumns : Last + 1);
}

void TVkGridModel::MakeCellVisible(int C, int R) {
    if (C < FLeftCol)
        SetLeftCol(C);
    else if (FLastCol >= 0 && C > FLastCol)
        ShowColumnAtRight(C);
    if (R < FTopRow)
        SetTopRow(R);
    else if (FLastRow >= 0 && R > FLastRow)
        ShowRowAtBottom(R);
}

void TVkGridModel::ScrollTo(int Bar, int Position) {
    if (Bar == 0) {
        FLeftCol = Position;
        UpdateLastCol();
    } else {
        FTopRow = Position;
        UpdateLastRow();
    }
    Invalidate();
}

void TVkGridModel::UpdateAutoSize() {
    if (!FAutoSize) return;
    int Width = ClientWidth();
    int Height = ClientHeight();
    if (Align != alTop && Align != alBottom && Align != alClient && !(FOptions & loAutoSizeColumns))
        Width = SumWidths(0, FColCount - 1);
    if (Align != alLeft && Align != alRight && Align != alClient && !(FOptions & loAutoSizeRows))
        Height = SumHeights(0, FRowCount - 1);
    if (Width != ClientWidth() || Height != ClientHeight()) ChangeClientSize(Width, Height);
}

void TVkGridModel::AutoSizeColumns() {
    if (!(FOptions & loAutoSizeColumns)) return;
    int Taken = FixedWidths();
    int N = 0;
    for (int C = FFixedColumns; C < FColCount; ++C) {
        if (FColumns[C]->AutoSize)
            ++N;
        else
            Taken += FColumns[C]->FSize;
    }
    if (N < 1) return;
    const int W = (ClientWidth() - Taken) / N;
    if (W < 4) return;
    for (int C = FFixedColumns; C < FColCount; ++C)
        if (FColumns[C]->AutoSize) FColumns[C]->FSize = W;
}

void TVkGridModel::FitColumnsToText(int MinWidth) {
    // Room for the cell's margins and the grid line on both sides of the text.
    constexpr int Padding = 12;
    for (int C = 0; C < FColCount; ++C) {
        if (FColumns[C]->AutoSize) continue;
        int Width = MinWidth;
        for (int R = 0; R < FRowCount; ++R)
            Width = std::max(Width, ScreenTextWidth(FFont, Cell(C, R).DisplayText()) + Padding);
        FColumns[C]->SetWidth(Width);
    }
    AutoSizeColumns();
}

void TVkGridModel::AutoSizeRows() {
    if (!(FOptions & loAutoSizeRows)) return;
    int Taken = FixedHeights();
    int N = 0;
    for (int R = FFixedRows; R < FRowCount; ++R) {
        if (FRows[R]->AutoSize)
            ++N;
        else
            Taken += FRows[R]->FSize;
    }
    if (N < 1) return;
    const int H = (ClientHeight() - Taken) / N;
    if (H < 4) return;
    for (int R = FFixedRows; R < FRowCount; ++R)
        if (FRows[R]->AutoSize) FRows[R]->FSize = H;
}

void TVkGridModel::LayoutPass() {
    UpdateAutoSize();
    AutoSizeColumns();
    AutoSizeRows();
    UpdateLastCol();
    UpdateLastRow();
    UpdateScrollBars();
}

void TVkGridModel::Resize() { LayoutPass(); }

void TVkGridModel::ClampFixedCounts() {
    FFixedRows = std::min(FFixedRows, FRowCount);
    FFixedColumns = std::min(FFixedColumns, FColCount);
}

// ---- Current cell and selection ----

bool TVkGridModel::SetCurrentCell(int C, int R) {
    if (C < FFixedColumns || R < FFixedRows || C >= FColCount || R >= FRowCount) return false;
    if (IsCurrentCell(C, R) || !CanSelectCell(C, R)) return IsCurrentCell(C, R);
    if (FEditing) EndEdit(true);
    const TVkFormat Kind = Cell(C, R).GetFormat();
    HideCellButtons(Kind != lfComboBox, Kind != lfButton);
    FCurrentColumn = C;
    FCurrentRow = R;
    FSelection = {C, R, C, R};
    MakeCellVisible(C, R);
    FocusGrid();
    DoSelectRange();
    Invalidate();
    return true;
}

bool TVkGridModel::CanSelectCell(int C, int R) {
    if (!(FOptions & loSelecting)) return false;
    bool CanSelect = true;
    if (OnSelectCell) OnSelectCell(this, C, R, CanSelect);
    if (CanSelect && C >= 0 && R >= 0 && C < FColCount && R < FRowCount && Cell(C, R).GetFormat() == lfComboBox)
        FillDropDownList(C, R);
    return CanSelect;
}

bool TVkGridModel::SelectColumn(int C) { return SetCurrentCell(ClampColumn(C), FCurrentRow); }

bool TVkGridModel::SelectRow(int R) { return SetCurrentCell(FCurrentColumn, ClampRow(R)); }

int TVkGridModel::ClampColumn(int C) const {
    if (C < FFixedColumns) return FFixedColumns;
    return C >= FColCount ? FColCount - 1 : C;
}

int TVkGridModel::ClampRow(int R) const {
    if (R < FFixedRows) return FFixedRows;
    return R >= FRowCount ? FRowCount - 1 : R;
}

TVkGridRect TVkGridModel::NormalizeRange(const TVkGridRect& Range) const {
    TVkGridRect N{ClampColumn(Range.Left), ClampRow(Range.Top), ClampColumn(Range.Right), ClampRow(Range.Bottom)};
    if (N.Left > N.Right) std::swap(N.Left, N.Right);
    if (N.Top > N.Bottom) std::swap(N.Top, N.Bottom);
    return N;
}

void TVkGridModel::DoSelectRange() {
    if (OnSelectRange) OnSelectRange(this, FSelection);
}

void TVkGridModel::ExtendSelection(int C, int R) {
    FSelection.Left = std::max(std::min(FCurrentColumn, C), FFixedColumns);
    FSelection.Top = std::max(std::min(FCurrentRow, R), FFixedRows);
    FSelection.Right = std::min(std::max(FCurrentColumn, C), FColCount - 1);
    FSelection.Bottom = std::min(std::max(FCurrentRow, R), FRowCount - 1);
    MakeCellVisible(C, R);
    DoSelectRange();
    Invalidate();
}

// A selection that does not exist has no edge to move: moving it would make a range of fixed or
// missing cells.
void TVkGridModel::MoveSelectionEdge(int Columns, int Rows) {
    if (!(FOptions & loRangeSelection)) return;
    if (FSelection.Left < 0 || FSelection.Top < 0) return;
    TVkGridRect& S = FSelection;
    auto Move = [](int& Low, int& High, int Current, int Delta, int Min, int Max) {
        const long long Moved = (High > Low && High == Current ? Low : High) + static_cast<long long>(Delta);
        const int Clamped = static_cast<int>(std::clamp<long long>(Moved, -1LL << 31, (1LL << 31) - 1));
        if (High > Low && High == Current)
            Low = Clamped;
        else
            High = Clamped;
        if (High < Low) std::swap(Low, High);
        Low = std::max(Low, Min);
        High = std::min(High, Max);
    };
    if (Rows != 0) Move(S.Top, S.Bottom, FCurrentRow, Rows, FFixedRows, FRowCount - 1);
    if (Columns != 0) Move(S.Left, S.Right, FCurrentColumn, Columns, FFixedColumns, FColCount - 1);
    DoSelectRange();
    Invalidate();
}

void TVkGridModel::SetSelection(const TVkGridRect& Range) {
    if (!(FOptions & loRangeSelection)) return;
    const TVkGridRect N = NormalizeRange(Range);
    SetCurrentCell(N.Left, N.Top);
    FSelection = N;
    MakeCellVisible(N.Right, N.Bottom);
    MakeCellVisible(N.Left, N.Top);
    DoSelectRange();
    Invalidate();
}

void TVkGridModel::SelectAll() {
    if (FEditing) return;
    SetSelection({FFixedColumns, FFixedRows, FColCount - 1, FRowCount - 1});
}

void TVkGridModel::UnselectRange() {
    FSelection = TVkGridRect{};
    if (FOptions & loDeSelectionEvent) DoSelectRange();
}

void TVkGridModel::ClearSelection() {
    if ((FOptions & loPersistentFocus) || FEditing) return;
    CanSelectCell(-1, -1);
    FCurrentColumn = 0;
    FCurrentRow = 0;
    UnselectRange();
    Invalidate();
}

bool TVkGridModel::InSelection(int C, int R) const {
    return C >= FSelection.Left && C <= FSelection.Right && R >= FSelection.Top && R <= FSelection.Bottom &&
           FSelection.Left >= 0 && FSelection.Top >= 0;
}

// ---- Mouse ----

int TVkGridModel::ColumnEdgeAt(int X, int Y) {
    if (!(FOptions & loColumnSizing) || Y >= FixedHeights()) return -1;
    const int Last = FLastCol == -1 ? FColCount - 1 : FLastCol - 1;
    int Edge = FixedWidths();
    for (int C = std::max(FLeftCol, 0); C <= Last && C < FColCount; ++C) {
        Edge += Column(C).GetWidth();
        if (std::abs(X - Edge) < 5) return C;
    }
    return -1;
}

int TVkGridModel::RowEdgeAt(int X, int Y) {
    if (!(FOptions & loRowSizing) || X >= FixedWidths()) return -1;
    const int Last = FLastRow == -1 ? FRowCount - 1 : FLastRow - 1;
    int Edge = FixedHeights();
    for (int R = std::max(FTopRow, 0); R <= Last && R < FRowCount; ++R) {
        Edge += Row(R).GetHeight();
        if (std::abs(Y - Edge) < 5) return R;
    }
    return -1;
}

void TVkGridModel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button != mbLeft) {
        if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
        return;
    }
    if (const int C = ColumnEdgeAt(X, Y); C >= 0) {
        FSizingColumn = C;
        const int Edge = CellRect(C, 0).Right;
        FSizingOffset = Edge - X;
        FSizingPos = Edge;
        Invalidate();
        SetGridCursor(crHSplit);
        return;
    }
    if (const int R = RowEdgeAt(X, Y); R >= 0) {
        FSizingRow = R;
        const int Edge = CellRect(0, R).Bottom;
        FSizingOffset = Edge - Y;
        FSizingPos = Edge;
        Invalidate();
        SetGridCursor(crVSplit);
        return;
    }
    FSizingColumn = -1;
    FSizingRow = -1;
    SetGridCursor(crDefault);
    if (CurrentCell() && FCurrentColumn >= FFixedColumns && FCurrentRow >= FFixedRows) {
        if (EditorFocused()) {
            const TRect R = CellRect(FCurrentColumn, FCurrentRow);
            if (X < R.Left || X >= R.Right || Y < R.Top || Y >= R.Bottom) FocusGrid();
        } else {
            FocusGrid();
        }
    }
    int C = -1;
    int R = -1;
    CellAtPoint(X, Y, false, C, R);
    FMouseSelecting = SetCurrentCell(C, R);
}

void TVkGridModel::MouseMove(TShiftState Shift, int X, int Y) {
    if (FSizingColumn >= 0 || FSizingRow >= 0) {
        FSizingPos = (FSizingColumn >= 0 ? X : Y) + FSizingOffset;
        Invalidate();
        return;
    }
    if (!(Shift & ssLeft)) {
        if (ColumnEdgeAt(X, Y) >= 0) {
            SetGridCursor(crHSplit);
        } else if (RowEdgeAt(X, Y) >= 0) {
            SetGridCursor(crVSplit);
        } else {
            SetGridCursor(crDefault);
            if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
        }
        return;
    }
    if ((FOptions & loSelecting) && (FOptions & loRangeSelection) && FMouseSelecting && !FEditing) {
        int C = -1;
        int R = -1;
        CellAtPoint(X, Y, true, C, R);
        ExtendSelection(C, R);
        return;
    }
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TVkGridModel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FSizingColumn >= 0) {
        TVkColumn& C = Column(FSizingColumn);
        // Out of the sharing first, so that the layout pass of the new width keeps it.
        C.AutoSize = false;
        C.SetWidth(FSizingPos - CellRect(FSizingColumn, 0).Left);
        FSizingColumn = -1;
        UpdateAutoSize();
        AutoSizeColumns();
        Invalidate();
        UpdateLastCol();
        UpdateScrollBars();
        return;
    }
    if (FSizingRow >= 0) {
        TVkRow& R = Row(FSizingRow);
        R.AutoSize = false;
        R.SetHeight(FSizingPos - CellRect(0, FSizingRow).Top);
        FSizingRow = -1;
        UpdateAutoSize();
        AutoSizeRows();
        Invalidate();
        UpdateLastRow();
        UpdateScrollBars();
        return;
    }
    if (Button == mbLeft && FMouseSelecting) {
        FMouseSelecting = false;
        return;
    }
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TVkGridModel::MouseWheel(int Delta) {
    if (Delta > 0)
        SelectRow(FCurrentRow - 1);
    else if (Delta < 0)
        SelectRow(FCurrentRow + 1);
}

void TVkGridModel::DblClick() {
    ShowEditor();
    if (OnDblClick) OnDblClick(this);
}

// ---- Keyboard ----

void TVkGridModel::KeyDown(TKeyCode Key, TShiftState Shift) {
    const bool Ctrl = Shift & ssCtrl;
    const bool ShiftHeld = Shift & ssShift;
    if (Ctrl && ShiftHeld) {
        switch (Key) {
            case VK_LEFT: MoveSelectionEdge(-FColCount, 0); break;
            case VK_UP: MoveSelectionEdge(0, -FRowCount); break;
            case VK_RIGHT: MoveSelectionEdge(FColCount, 0); break;
            case VK_DOWN: MoveSelectionEdge(0, FRowCount); break;
            default: break;
        }
        return;
    }
    if (Ctrl) {
        switch (Key) {
            case VK_HOME:
                SelectColumn(FFixedColumns);
                SelectRow(FFixedRows);
                break;
            case VK_LEFT: SelectColumn(FFixedColumns); break;
            case VK_RIGHT: SelectColumn(FColCount - 1); break;
            case VK_UP: SelectRow(FFixedRows); break;
            case VK_DOWN: SelectRow(FRowCount - 1); break;
            case 'A': SelectAll(); break;
            case 'C': CopySelectionToClipboard(); break;
            default: break;
        }
        return;
    }
    if (ShiftHeld) {
        switch (Key) {
            case VK_LEFT: MoveSelectionEdge(-1, 0); break;
            case VK_UP: MoveSelectionEdge(0, -1); break;
            case VK_RIGHT: MoveSelectionEdge(1, 0); break;
            case VK_DOWN: MoveSelectionEdge(0, 1); break;
            default: break;
        }
        return;
    }
    switch (Key) {
        case VK_RETURN:
            if (!FEditing && RowForwarding) SelectRow(FCurrentRow + 1);
            break;
        case VK_DOWN: SelectRow(FCurrentRow + 1); break;
        case VK_UP: SelectRow(FCurrentRow - 1); break;
        case VK_PRIOR:
            SetTopRow(FTopRow - VisibleRowCount());
            SelectRow(FCurrentRow - VisibleRowCount());
            break;
        case VK_NEXT:
            SetTopRow(FTopRow + VisibleRowCount());
            SelectRow(FCurrentRow + VisibleRowCount());
            break;
        case VK_HOME: SelectColumn(FFixedColumns); break;
        case VK_LEFT: SelectColumn(FCurrentColumn - 1); break;
        case VK_RIGHT: SelectColumn(FCurrentColumn + 1); break;
        case VK_DELETE: ClearSelectedCells(); break;
        case VK_F2: ShowEditor(); break;
        default:
            if (OnKeyDown) OnKeyDown(this, Key, Shift);
            break;
    }
}

void TVkGridModel::KeyPress(char32_t Key) {
    if (Key == U'\b' || (Key >= 32 && Key != 127)) {
        ShowEditorWithChar(Key);
        return;
    }
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TVkGridModel::KeyUp(TKeyCode Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

}  // namespace sarnova
