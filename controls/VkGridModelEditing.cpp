// How the user changes values of the grid: the in-place editor's rules, entry into many cells,
// clearing, list cells and button cells.
#include <algorithm>
#include <cctype>

#include "foundation/TextUtils.h"
#include "controls/VkGridModel.h"

namespace sarnova {

namespace {

bool StartsWithIgnoringCase(const std::string& Text, const std::string& Prefix) {
    if (Prefix.size() > Text.size()) return false;
    for (size_t I = 0; I < Prefix.size(); ++I)
        if (std::tolower(static_cast<unsigned char>(Text[I])) != std::tolower(static_cast<unsigned char>(Prefix[I])))
            return false;
    return true;
}

// Characters of a UTF-8 text, so that carets (counted in characters) map to bytes.
size_t ByteOfChar(const std::string& Text, int Index) {
    size_t Byte = 0;
    for (int I = 0; I < Index && Byte < Text.size(); ++I) {
        ++Byte;
        while (Byte < Text.size() && (static_cast<unsigned char>(Text[Byte]) & 0xC0) == 0x80) ++Byte;
    }
    return Byte;
}

int CharCount(const std::string& Text) {
    return static_cast<int>(std::count_if(Text.begin(), Text.end(),
                                          [](char C) { return (static_cast<unsigned char>(C) & 0xC0) != 0x80; }));
}

}  // namespace

// ---- Rules without window ----

bool EditorForwardsKey(TKeyCode Key, TShiftState Shift, bool EditMode, int Caret, int SelStart, int SelEnd,
                       int TextLength) {
    const bool Ctrl = Shift & ssCtrl;
    switch (Key) {
        case VK_TAB: return !(Shift & ssAlt);
        case VK_ESCAPE:
        case VK_PRIOR:
        case VK_NEXT: return true;
        case VK_UP:
        case VK_DOWN: return !EditMode;
        case VK_HOME:
        case VK_LEFT:
            return !EditMode && (Ctrl || (Caret == 0 && SelStart == 0 && (SelEnd == 0 || SelEnd == TextLength)));
        case VK_END:
        case VK_RIGHT:
            return !EditMode && (Ctrl || (Caret == TextLength && SelEnd == TextLength &&
                                          (SelStart == 0 || SelStart == SelEnd)));
        case VK_DELETE: return Ctrl;
        default: return false;
    }
}

bool EditorAcceptsChar(TVkFormat Format, char32_t Key) {
    if (Format != lfNumeric) return true;
    if (Key == U'+' || Key == U'-' || (Key >= U'0' && Key <= U'9')) return true;
    if (Key == static_cast<char32_t>(LocaleDecimalSeparator())) return true;
    return Key < 32 && Key != U'\r';
}

int FindItemByPrefix(const std::vector<std::string>& Items, const std::string& Prefix) {
    if (Prefix.empty()) return -1;
    for (size_t I = 0; I < Items.size(); ++I)
        if (StartsWithIgnoringCase(Items[I], Prefix)) return static_cast<int>(I);
    return -1;
}

int DropDownRowCount(int Count) { return std::max(1, std::min(Count, 8)); }

TRect DropDownListRect(const TRect& Button, int Width, int Height, int ScreenBottom) {
    TRect R{Button.Right - Width, Button.Bottom, Button.Right, Button.Bottom + Height};
    if (R.Bottom > ScreenBottom) {
        R.Top = Button.Top - Height;
        R.Bottom = Button.Top;
    }
    return R;
}

int TVkListSearch::KeyPress(char32_t Key, std::uint64_t TickMs, const std::vector<std::string>& Items) {
    if (Key == U'\b' || Key == 27) {
        FSearchText.clear();
        return -1;
    }
    if (Key < 32) return -1;
    if (FTyped && TickMs - FLastTick > 2000) FSearchText.clear();
    FTyped = true;
    FLastTick = TickMs;
    if (CharCount(FSearchText) < 32) FSearchText += CharToUtf8(Key);
    return FindItemByPrefix(Items, FSearchText);
}

// ---- The editor ----

void TVkGridModel::SetEditing(bool Value) {
    if (Value) {
        if (!InplaceEditorVisible()) ShowEditor();
        return;
    }
    if (DropDownOpen()) CloseDropDown(true);
    if (InplaceEditorVisible()) EndEdit(true);
}

void TVkGridModel::ShowEditor() {
    if (!(FOptions & loEditing) || !CurrentCell() || FCurrentColumn < FFixedColumns || FCurrentRow < FFixedRows)
        return;
    FEditing = true;
    FEditMode = true;
    TRect R = CellRect(FCurrentColumn, FCurrentRow);
    R = {R.Left + 2, R.Top + 2, R.Right - 3, R.Bottom - 3};
    ShowInplaceEditor(R, CurrentCell()->DisplayText());
}

void TVkGridModel::ShowEditorWithChar(char32_t Key) {
    if (!(FOptions & loEditing) || !CurrentCell() || FCurrentColumn < FFixedColumns || FCurrentRow < FFixedRows)
        return;
    FEditing = true;
    FEditMode = false;
    TRect R = CellRect(FCurrentColumn, FCurrentRow);
    R = {R.Left + 2, R.Top + 2, R.Right - 3, R.Bottom - 3};
    ShowInplaceEditor(R, CurrentCell()->GetValue().AsString());
    PostEditorChar(Key);
}

// The flag drops before the editor hides: hiding takes its focus, and the loss of focus must not end
// the edit a second time.
void TVkGridModel::EndEdit(bool Accept) {
    const bool WasShown = InplaceEditorVisible();
    FEditing = false;
    HideInplaceEditor();
    if (!Accept || !WasShown) return;
    TVkCell* Current = CurrentCell();
    if (!Current) return;
    const std::string Text = InplaceEditorText();
    TVkValue Value;
    if (IsNumber(Text)) {
        int Whole = 0;
        // A number without decimal separator is an integer; one beyond 32 bits or in exponent form is
        // kept as a double rather than lost to a conversion error after the editor has closed.
        if (Current->GetFormat() != lfNumeric && Text.find(LocaleDecimalSeparator()) == std::string::npos &&
            TryStrToInt(Text, Whole))
            Value = Whole;
        else
            Value = ParseFloat(Text);
    } else {
        Value = Text;
    }
    SetCurrentCellValue(Value);
}

// A handler that rebuilds the grid may free the cell; its own values then stand.
void TVkGridModel::SetCellValue(TVkCell& Cell, TVkValue Value) {
    if (Cell.GetFormat() == lfNumeric && Value.IsString()) Value = 0;
    Cell.SetValue(Value);
    if (!OnEditCell) return;
    const int C = Cell.GetColumn();
    const int R = Cell.GetRow();
    const TVkValue Copy = Value;
    const unsigned Structure = FStructureChanges;
    OnEditCell(this, C, R, Value);
    if (Value == Copy || Structure != FStructureChanges) return;
    this->Cell(C, R).SetValue(Value);
}

void TVkGridModel::SetCurrentCellValue(const TVkValue& Value) {
    if (TVkCell* Current = CurrentCell()) SetCellValue(*Current, Value);
}

void TVkGridModel::MultiCellEntry() {
    if (!(FOptions & loAllowMultiCellEntry) || FSelection.Left < 0 || FSelection.Top < 0 || !CurrentCell()) return;
    BeginUpdate();
    try {
        const TVkGridRect S = FSelection;
        if (OnMultiEditCell) {
            OnMultiEditCell(this, S, CurrentCell()->GetValue());
        } else {
            for (int R = S.Top; R <= S.Bottom; ++R)
                for (int C = S.Left; C <= S.Right; ++C) {
                    TVkCell* Current = CurrentCell();
                    if (!Current) break;
                    const TVkValue Value = Current->GetValue();
                    SetCellValue(Cell(C, R), Value);
                }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TVkGridModel::ClearSelectedCells() {
    if (!(FOptions & loClearing) || FSelection.Left < 0 || FSelection.Top < 0) return;
    BeginUpdate();
    try {
        const TVkGridRect S = FSelection;
        for (int C = S.Left; C <= S.Right; ++C)
            for (int R = S.Top; R <= S.Bottom; ++R) {
                TVkCell& Target = Cell(C, R);
                SetCellValue(Target, Target.GetFormat() == lfNumeric ? TVkValue(0) : TVkValue(""));
            }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TVkGridModel::FillDropDownList(int C, int R) {
    FDropDownItems.clear();
    if (OnSelectDropDownCell) OnSelectDropDownCell(this, C, R, FDropDownItems);
}

// The value goes back to the cell whose button was pressed, also when the handler's dialog took the
// focus away and the grid forgot its current cell meanwhile.
void TVkGridModel::CellButtonClick() {
    if (!OnCellButton || !CurrentCell()) return;
    const int C = FCurrentColumn;
    const int R = FCurrentRow;
    TVkValue Value = CurrentCell()->GetValue();
    OnCellButton(this, C, R, Value);
    ReleaseCellButton();
    if (C < FColCount && R < FRowCount) SetCellValue(Cell(C, R), Value);
}

bool TVkGridModel::EditorKeyDown(TKeyCode Key, TShiftState Shift) {
    int Caret = 0;
    int SelStart = 0;
    int SelEnd = 0;
    InplaceEditorCaret(Caret, SelStart, SelEnd);
    if (!EditorForwardsKey(Key, Shift, FEditMode, Caret, SelStart, SelEnd, CharCount(InplaceEditorText())))
        return false;
    KeyDown(Key, Shift);
    return true;
}

bool TVkGridModel::EditorKeyPress(char32_t Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
    if (Key == 0) return true;
    if (Key == U'\n' && (FOptions & loAllowMultiCellEntry)) {
        EndEdit(true);
        MultiCellEntry();
        FocusGrid();
        if (RowForwarding) SelectRow(FCurrentRow + 1);
        return true;
    }
    if (Key == U'\r') {
        EndEdit(true);
        FocusGrid();
        if (RowForwarding) SelectRow(FCurrentRow + 1);
        return true;
    }
    if (Key == 27) {
        EndEdit(false);
        FocusGrid();
        return true;
    }
    const TVkCell* Current = CurrentCell();
    if (Current && !EditorAcceptsChar(Current->GetFormat(), Key)) {
        Beep();
        return true;
    }
    if (Key == U'\b' || Key == U'.') return false;
    int Caret = 0;
    int SelStart = 0;
    int SelEnd = 0;
    InplaceEditorCaret(Caret, SelStart, SelEnd);
    std::string Text = InplaceEditorText();
    const size_t From = ByteOfChar(Text, std::min(SelStart, SelEnd));
    const size_t To = ByteOfChar(Text, std::max(SelStart, SelEnd));
    Text.replace(From, To - From, CharToUtf8(Key));
    return AutoComplete(Text);
}

bool TVkGridModel::AutoComplete(const std::string& Text) {
    const TVkCell* Current = CurrentCell();
    if (!Current || Current->GetFormat() != lfComboBox) return false;
    const int Found = FindItemByPrefix(FDropDownItems, Text);
    if (Found < 0) return false;
    SetInplaceEditorText(FDropDownItems[static_cast<size_t>(Found)], CharCount(Text));
    return true;
}

// ---- The editor of a grid without window: a line of text with a caret and a selection ----

void TVkGridModel::ShowInplaceEditor(const TRect&, const std::string& Text) {
    FEditor.Visible = true;
    FEditor.Text = Text;
    FEditor.SelStart = 0;
    FEditor.SelEnd = CharCount(Text);
}

void TVkGridModel::SetInplaceEditorText(const std::string& Text, int SelStart) {
    FEditor.Text = Text;
    FEditor.SelStart = SelStart;
    FEditor.SelEnd = CharCount(Text);
}

void TVkGridModel::InplaceEditorCaret(int& Caret, int& SelStart, int& SelEnd) const {
    SelStart = FEditor.SelStart;
    SelEnd = FEditor.SelEnd;
    Caret = FEditor.SelEnd;
}

void TVkGridModel::PostEditorChar(char32_t Key) {
    if (EditorKeyPress(Key) || !FEditor.Visible) return;
    std::string& Text = FEditor.Text;
    const size_t From = ByteOfChar(Text, std::min(FEditor.SelStart, FEditor.SelEnd));
    const size_t To = ByteOfChar(Text, std::max(FEditor.SelStart, FEditor.SelEnd));
    int Caret = std::min(FEditor.SelStart, FEditor.SelEnd);
    if (Key == U'\b') {
        if (From != To) {
            Text.erase(From, To - From);
        } else if (Caret > 0) {
            const size_t Before = ByteOfChar(Text, Caret - 1);
            Text.erase(Before, From - Before);
            --Caret;
        }
    } else if (Key >= 32) {
        Text.replace(From, To - From, CharToUtf8(Key));
        ++Caret;
    }
    FEditor.SelStart = FEditor.SelEnd = Caret;
}

}  // namespace sarnova
