// The spreadsheet grid without its window: cells with their values, kinds, alignments, number formats
// and colours; rows and columns; the update bracket; where each cell lies and how the grid scrolls;
// the current cell and the selected range with the mouse and keyboard rules that move them; the
// rules that turn an edited text into a value; and the clipboard text. The window (controls/VkGrid.h)
// derives from this class and supplies the hooks below; tests drive it without any window.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/NumberText.h"
#include "platform/Font.h"
#include "foundation/Keys.h"
#include "foundation/Types.h"
#include "controls/VkDockPanelRules.h"
#include "controls/VkGridPrint.h"

namespace sarnova {

enum TVkAlignment : std::uint8_t { laDefault, laLeftJustify, laRightJustify, laCentre };

// The kind of a cell.
enum TVkFormat : std::uint8_t { lfGeneral, lfNumeric, lfText, lfComboBox, lfButton };

enum TVkGridOption : std::uint16_t {
    loSelecting = 1u << 0,
    loEditing = 1u << 1,
    loRangeSelection = 1u << 2,
    loRowSizing = 1u << 3,
    loColumnSizing = 1u << 4,
    loClearing = 1u << 5,
    loRowLines = 1u << 6,
    loColumnLines = 1u << 7,
    loAutoSizeRows = 1u << 8,
    loAutoSizeColumns = 1u << 9,
    loAllowMultiCellEntry = 1u << 10,
    loPersistentFocus = 1u << 11,
    loDeSelectionEvent = 1u << 12,
};
using TVkGridOptions = std::uint16_t;

inline constexpr TVkGridOptions DefaultGridOptions = loSelecting | loEditing | loRangeSelection | loRowSizing |
                                                     loColumnSizing | loClearing | loRowLines | loColumnLines;

// The split cursors shown over column and row edges.
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;

// A range of cells, inclusive; all -1 for "nothing".
struct TVkGridRect {
    int Left = -1;
    int Top = -1;
    int Right = -1;
    int Bottom = -1;
    bool operator==(const TVkGridRect&) const = default;
};

// A cell's value: nothing yet, a 32-bit integer, a double or a text.
class TVkValue {
public:
    enum TKind : std::uint8_t { vkEmpty, vkInteger, vkDouble, vkString };

    TVkValue() = default;
    TVkValue(int Value) : FKind(vkInteger), FInteger(Value) {}
    TVkValue(double Value) : FKind(vkDouble), FDouble(Value) {}
    TVkValue(std::string Value) : FKind(vkString), FString(std::move(Value)) {}
    TVkValue(const char* Value) : FKind(vkString), FString(Value ? Value : "") {}
    TVkValue(bool) = delete;

    TKind Kind() const { return FKind; }
    bool IsEmpty() const { return FKind == vkEmpty; }
    bool IsNumeric() const { return FKind == vkInteger || FKind == vkDouble; }
    bool IsString() const { return FKind == vkString; }
    // An empty value reads as 0; a text as the number it holds (EConvertError when it holds none).
    double AsDouble() const;
    // The integer, or the double rounded half to even; an empty value reads as 0.
    int AsInteger() const;
    // An integer as its digits, a double as FloatToStr (15 significant digits, "."), empty as "".
    std::string AsString() const;

    // Numbers compare by value whatever their kind; texts compare as texts; nothing equals a value.
    bool operator==(const TVkValue& Other) const;

private:
    TKind FKind = vkEmpty;
    int FInteger = 0;
    double FDouble = 0.0;
    std::string FString;
};

class TVkGridModel;
class TVkGridComponent;

// Anything that sends a change notice: a grid component or a number format.
class TVkGridObject {
public:
    virtual ~TVkGridObject() = default;
};

// The number format of a grid, a row, a column or a cell: FloatToStrF's format, precision and digits.
class TVkFloatFormat : public TVkGridObject {
public:
    // Without owner: a free-standing format to hand to a SetFloatFormat.
    TVkFloatFormat() = default;
    TVkFloatFormat(TVkGridComponent* Owner, TVkGridModel* Grid, bool OwnedByCell)
        : FOwner(Owner), FGrid(Grid), FOwnedByCell(OwnedByCell) {}
    TVkFloatFormat(TFloatFormat Format, int Precision, int Digits)
        : FFormat(Format), FPrecision(Precision), FDigits(Digits) {}
    TVkFloatFormat(const TVkFloatFormat&) = delete;
    TVkFloatFormat& operator=(const TVkFloatFormat&) = delete;

    TFloatFormat GetFormat() const { return FFormat; }
    int GetPrecision() const { return FPrecision; }
    int GetDigits() const { return FDigits; }
    // Each write notifies the owner; writing the value already held notifies too, except in a cell.
    void SetFormat(TFloatFormat Value);
    void SetPrecision(int Value);
    void SetDigits(int Value);

    // Copies the three values; notifies the owner unless Quiet.
    void CopyFrom(const TVkFloatFormat& Source, bool Quiet);
    bool SameAs(const TVkFloatFormat& Other) const {
        return FFormat == Other.FFormat && FPrecision == Other.FPrecision && FDigits == Other.FDigits;
    }
    // The value as FloatToStrF writes it with these settings ("." always).
    std::string FloatToText(double Value) const;
    void Changed();

private:
    TVkGridComponent* FOwner = nullptr;
    TVkGridModel* FGrid = nullptr;
    bool FOwnedByCell = false;
    TFloatFormat FFormat = ffGeneral;
    int FPrecision = 10;
    int FDigits = 3;
};

// Base of cells, rows and columns: a change is passed to the owner component, or to the grid.
class TVkGridComponent : public TVkGridObject {
public:
    TVkGridComponent(TVkGridComponent* Owner, TVkGridModel* Grid) : FOwner(Owner), FGrid(Grid) {}
    virtual void Changed(TVkGridObject* Sender);
    TVkGridModel& GetGrid() const { return *FGrid; }

protected:
    void Changed() { Changed(this); }
    TVkGridComponent* FOwner;
    TVkGridModel* FGrid;
};

class TVkCell : public TVkGridComponent {
public:
    explicit TVkCell(TVkGridModel* Grid) : TVkGridComponent(nullptr, Grid), FFloatFormat(this, Grid, true) {}

    // Where the cell was last reached through TVkGridModel::Cell.
    int GetColumn() const { return FColumn; }
    int GetRow() const { return FRow; }

    TVkAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TVkAlignment Value);
    TVkFormat GetFormat() const { return FFormat; }
    // An lfNumeric cell whose value is not a number (text or nothing) takes the integer 0.
    void SetFormat(TVkFormat Value);
    TVkFloatFormat& FloatFormat() { return FFloatFormat; }
    const TVkFloatFormat& FloatFormat() const { return FFloatFormat; }
    // The background colour; written by TVkRow::SetColor.
    TColor GetColor() const { return FColor; }
    TColor GetTextColor() const { return FTextColor; }
    // Also clears ParentTextColor.
    void SetTextColor(TColor Value);
    TFontStyles GetFontStyle() const { return FFontStyle; }
    // Also clears ParentFontStyle.
    void SetFontStyle(TFontStyles Value);
    // While set, the grid's colour, font colour and font style are used instead of the cell's.
    bool ParentColor = true;
    bool ParentTextColor = true;
    bool ParentFontStyle = true;

    const TVkValue& GetValue() const { return FValue; }
    // Numeric text becomes a number: a whole one the nearest integer, else a double; other text in
    // an lfNumeric cell becomes the integer 0.
    void SetValue(const TVkValue& Value);

    // The tooltip over the cell.
    std::string Hint;

    std::string DisplayText() const;
    // 0 left, 1 centre, 2 right.
    int DrawAlignment() const;
    int ColumnWidth() const;

private:
    friend class TVkGridModel;
    friend class TVkRow;
    friend class TVkColumn;

    int FColumn = 0;
    int FRow = 0;
    TVkAlignment FAlignment = laDefault;
    TVkFormat FFormat = lfGeneral;
    TVkFloatFormat FFloatFormat;
    TColor FColor = clWindow;
    TColor FTextColor = clWindowText;
    TFontStyles FFontStyle = 0;
    TVkValue FValue;
};

// What a row and a column share: a size, an index, the auto-size flag and an own number format.
// The operations on cells touch only the data cells of the row (column).
class TVkRowColumn : public TVkGridComponent {
public:
    TVkRowColumn(TVkGridModel* Grid, int Size, bool IsRow)
        : TVkGridComponent(nullptr, Grid), FSize(Size), FIsRow(IsRow), FFloatFormat(this, Grid, false) {}

    // The index it was last reached at.
    int GetIndex() const { return FIndex; }
    // Whether it shares the free client size with loAutoSizeRows (loAutoSizeColumns).
    bool AutoSize = true;

    void SetAlignment(TVkAlignment Value);
    // The format of the first data cell (or the grid's when there is none), copied quietly into the
    // own format, which is returned. Writing Format, Precision or Digits of the result reformats the
    // data cells of the row (column).
    TVkFloatFormat& FloatFormat();
    void Changed(TVkGridObject* Sender) override;
    using TVkGridComponent::Changed;

protected:
    friend class TVkGridModel;
    int GetSize() const { return FSize; }
    void SetSize(int Value);
    // The data cells of the row (column), from the first non-fixed index on.
    std::vector<TVkCell*> DataCells();

    int FSize;
    int FIndex = 0;
    bool FIsRow;
    TVkFloatFormat FFloatFormat;
};

class TVkRow : public TVkRowColumn {
public:
    explicit TVkRow(TVkGridModel* Grid, int Height) : TVkRowColumn(Grid, Height, true) {}
    int GetHeight() const { return GetSize(); }
    // At least 4 pixels; nothing when unchanged.
    void SetHeight(int Value) { SetSize(Value); }
    // The format byte only: values are not converted.
    void SetFormat(TVkFormat Value);
    // Quiet copy into the own format and into each data cell's.
    void SetFloatFormat(const TVkFloatFormat& Value);
    // Background colour of the data cells (clears their ParentColor).
    void SetColor(TColor Value);
    // Text colour of the data cells (clears their ParentTextColor).
    void SetTextColor(TColor Value);
};

class TVkColumn : public TVkRowColumn {
public:
    explicit TVkColumn(TVkGridModel* Grid, int Width) : TVkRowColumn(Grid, Width, false) {}
    int GetWidth() const { return GetSize(); }
    // At least 4 pixels; nothing when unchanged.
    void SetWidth(int Value) { SetSize(Value); }
    // TVkCell::SetFormat on each data cell (lfNumeric turns text into 0).
    void SetFormat(TVkFormat Value);
    // Quiet copy into each data cell's format.
    void SetFloatFormat(const TVkFloatFormat& Value);
};

class TVkGridModel {
public:
    using TSelectCell = std::function<void(TVkGridModel* Sender, int Col, int Row, bool& CanSelect)>;
    using TSelectRange = std::function<void(TVkGridModel* Sender, TVkGridRect Range)>;
    using TSelectDropDownCell =
        std::function<void(TVkGridModel* Sender, int Col, int Row, std::vector<std::string>& Items)>;
    using TEditCell = std::function<void(TVkGridModel* Sender, int Col, int Row, TVkValue& Value)>;
    using TMultiEditCell =
        std::function<void(TVkGridModel* Sender, const TVkGridRect& Selection, const TVkValue& Value)>;
    using TMouseEvent = std::function<void(TVkGridModel* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(TVkGridModel* Sender, TShiftState Shift, int X, int Y)>;
    using TKeyEvent = std::function<void(TVkGridModel* Sender, TKeyCode& Key, TShiftState Shift)>;
    using TKeyPressEvent = std::function<void(TVkGridModel* Sender, char32_t& Key)>;
    using TNotify = std::function<void(TVkGridModel* Sender)>;

    TVkGridModel();
    virtual ~TVkGridModel();
    TVkGridModel(const TVkGridModel&) = delete;
    TVkGridModel& operator=(const TVkGridModel&) = delete;

    // ---- Cells, rows and columns ----

    // Throws EError "TVkCells.GetCell - Invalid cell location (<col>,<row>)" outside the grid.
    TVkCell& Cell(int Column, int Row);
    // Throw EError "List index out of bounds (<Index>)" outside the list.
    TVkRow& Row(int Index);
    TVkColumn& Column(int Index);
    int GetRowCount() const { return FRowCount; }
    int GetColCount() const { return FColCount; }
    void SetRowCount(int Value) { SetSize(FColCount, Value); }
    void SetColCount(int Value) { SetSize(Value, FRowCount); }
    // Appends or deletes columns at the end, then rows; negative counts count as 0.
    void SetSize(int Columns, int Rows);
    // None (and no change) for an index outside 0 .. count.
    TVkRow* InsertRow(int Index);
    TVkColumn* InsertColumn(int Index);
    // Clear the selection; nothing for an index outside the grid.
    void DeleteRow(int Index);
    void DeleteColumn(int Index);

    void BeginUpdate();
    // The last close repaints and lays the grid out. Throws EError "TVkGrid.EndUpdate - Mismatch
    // between number of BeginUpdate and EndUpdate issues" without an open bracket.
    void EndUpdate();
    bool IsUpdating() const { return FUpdateCount > 0; }
    // The end of every change notice: repaints unless a bracket is open.
    virtual void ComponentChanged(TVkGridObject* Sender);

    int CurrentColumn() const { return FCurrentColumn; }
    int CurrentRow() const { return FCurrentRow; }
    // None while the current cell lies outside the grid.
    TVkCell* CurrentCell();
    bool IsEditing() const { return FEditing; }

    // ---- Properties ----

    bool RowForwarding = true;  // Enter moves to the next row
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TVkAlign Align = alNone;  // the sides that a parent layout sizes; auto size leaves them alone
    TVkAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TVkAlignment Value);
    TVkFormat GetFormat() const { return FFormat; }
    void SetFormat(TVkFormat Value);
    // Writing Format, Precision or Digits of the grid's own format reformats every data cell.
    TVkFloatFormat& FloatFormat() { return FFloatFormat; }
    void SetFloatFormat(const TVkFloatFormat& Value);
    int GetRowHeight() const { return FRowHeight; }
    void SetRowHeight(int Value);
    int GetColWidth() const { return FColWidth; }
    void SetColWidth(int Value);
    int GetFixedColumns() const { return FFixedColumns; }
    void SetFixedColumns(int Value);
    int GetFixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);
    TColor GetFixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    const TFont& GetFont() const { return FFont; }
    void SetFont(const TFont& Value);
    const TFont& GetFixedFont() const { return FFixedFont; }
    void SetFixedFont(const TFont& Value);
    TVkAlignment GetFixedAlignment() const { return FFixedAlignment; }
    void SetFixedAlignment(TVkAlignment Value);
    TVkFormat GetFixedFormat() const { return FFixedFormat; }
    void SetFixedFormat(TVkFormat Value);
    TVkGridOptions GetOptions() const { return FOptions; }
    void SetOptions(TVkGridOptions Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TVkGridPagePrintManager& PrintOptions() { return *FPrintManager; }
    // Assigned into the print manager; nothing for none.
    void SetPrintOptions(const TVkGridPagePrintOptions* Value);

    TSelectCell OnSelectCell;
    TSelectRange OnSelectRange;
    TSelectDropDownCell OnSelectDropDownCell;
    TEditCell OnCellButton;
    TEditCell OnEditCell;
    TMultiEditCell OnMultiEditCell;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotify OnDblClick;

    // ---- Layout and scrolling (client pixels) ----

    TRect CellRect(int Column, int Row);
    // -1 for no cell; with Clamp, the last index for a point beyond the last row (column).
    void CellAtPoint(int X, int Y, bool Clamp, int& Column, int& Row);
    TRect DataRect();
    bool IsCellVisible(int Column, int Row);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    int GetLeftCol() const { return FLeftCol; }
    int GetTopRow() const { return FTopRow; }
    // The last data column (row) shown whole, or -1 when everything from LeftCol (TopRow) on fits.
    int GetLastCol() const { return FLastCol; }
    int GetLastRow() const { return FLastRow; }
    void SetLeftCol(int Column);
    void SetTopRow(int Row);
    int MaxLeftCol();
    int MaxTopRow();
    void ShowColumnAtRight(int Column);
    void ShowRowAtBottom(int Row);
    void MakeCellVisible(int Column, int Row);
    // A scroll bar moved to Position (bar 0 horizontal, 1 vertical).
    void ScrollTo(int Bar, int Position);
    void UpdateAutoSize();
    void AutoSizeColumns();
    // Widens every column that does not fill the client to its widest text, headers included, and
    // to at least MinWidth, so that no title or value is cut.
    void FitColumnsToText(int MinWidth);
    void AutoSizeRows();
    void UpdateLastCol();
    void UpdateLastRow();
    void UpdateScrollBars();
    // The layout pass that follows a change of size.
    void Resize();
    int FixedWidths();
    int FixedHeights();

    // ---- Current cell and selection ----

    const TVkGridRect& Selection() const { return FSelection; }
    // False for cells outside the data area and cells that OnSelectCell refuses.
    bool SetCurrentCell(int Column, int Row);
    bool CanSelectCell(int Column, int Row);
    bool SelectColumn(int Column);
    bool SelectRow(int Row);
    void ExtendSelection(int Column, int Row);
    void MoveSelectionEdge(int Columns, int Rows);
    void SetSelection(const TVkGridRect& Range);
    void SelectAll();
    void UnselectRange();
    void ClearSelection();
    bool InSelection(int Column, int Row) const;
    bool IsCurrentCell(int Column, int Row) const { return Column == FCurrentColumn && Row == FCurrentRow; }
    int ClampColumn(int Column) const;
    int ClampRow(int Row) const;
    TVkGridRect NormalizeRange(const TVkGridRect& Range) const;
    void DoSelectRange();

    // ---- Mouse and keyboard (client pixels, virtual-key codes) ----

    int ColumnEdgeAt(int X, int Y);
    int RowEdgeAt(int X, int Y);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseMove(TShiftState Shift, int X, int Y);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseWheel(int Delta);
    void DblClick();
    // The grid's keys; keys it does not know go to OnKeyDown unless a modifier is held.
    void KeyDown(TKeyCode Key, TShiftState Shift);
    // A character typed on the grid: Backspace and printable characters open the editor with it.
    void KeyPress(char32_t Key);
    void KeyUp(TKeyCode Key, TShiftState Shift);
    int GetSizingColumn() const { return FSizingColumn; }
    int GetSizingRow() const { return FSizingRow; }
    // Where the sizing line of a resize under way lies.
    int GetSizingPosition() const { return FSizingPos; }
    bool GetMouseSelecting() const { return FMouseSelecting; }

    // ---- Editing ----

    // True opens the editor when it is closed; false commits an open list and editor.
    void SetEditing(bool Value);
    void ShowEditor();
    void ShowEditorWithChar(char32_t Key);
    void EndEdit(bool Accept);
    bool GetEditMode() const { return FEditMode; }
    void SetCellValue(TVkCell& Cell, TVkValue Value);
    void SetCurrentCellValue(const TVkValue& Value);
    void MultiCellEntry();
    void ClearSelectedCells();
    void FillDropDownList(int Column, int Row);
    const std::vector<std::string>& DropDownItems() const { return FDropDownItems; }
    void CellButtonClick();
    // A key pressed in the editor: true when the grid takes it (the editor then ignores it).
    bool EditorKeyDown(TKeyCode Key, TShiftState Shift);
    // A character typed in the editor: true when consumed, false when the editor inserts it.
    bool EditorKeyPress(char32_t Key);

    // ---- Clipboard ----

    // Tab between cells, CR LF after every row. Empty when nothing is selected.
    std::string SelectionText();
    std::string AllText(bool IncludeFixed);
    // To the program's text clipboard (platform/Clipboard.h).
    void CopySelectionToClipboard();
    void CopyAllToClipboard(bool IncludeFixed);

    // ---- Printing ----

    // Nothing while the printer is busy; an empty title prints as GExeName + " - Grid".
    void Print(const std::string& Title);
    IVkGridPrinter* GetPrinter() const { return FPrinter; }
    void SetPrinter(IVkGridPrinter* Value) { FPrinter = Value; }

    // ---- What the window supplies; the defaults serve a grid without one ----

    virtual int ClientWidth() const { return FClientWidth; }
    virtual int ClientHeight() const { return FClientHeight; }
    // Sets the client size and runs the layout of a resize (a grid without window).
    void SetClientSize(int Width, int Height);
    virtual int ScreenTextWidth(const TFont& Font, const std::string& Text);
    int ButtonWidth = 16;

protected:
    virtual bool WindowExists() const { return true; }
    virtual void Invalidate() {}
    virtual void ChangeClientSize(int Width, int Height);
    virtual void SetScrollBarInfo(int Bar, int Min, int Max, int PageSize) {}
    virtual void SetScrollBarPosition(int Bar, int Position) {}
    virtual void SetGridCursor(TCursor Cursor) {}
    virtual void BusyCursor(bool On) {}
    virtual void FocusGrid() {}
    virtual bool EditorFocused() const { return false; }
    virtual void Beep() {}
    // Shows the editor at Bounds with Text all selected and gives it the focus.
    virtual void ShowInplaceEditor(const TRect& Bounds, const std::string& Text);
    virtual void HideInplaceEditor() { FEditor.Visible = false; }
    virtual bool InplaceEditorVisible() const { return FEditor.Visible; }
    virtual std::string InplaceEditorText() const { return FEditor.Text; }
    // Text with the characters from SelStart to the end selected.
    virtual void SetInplaceEditorText(const std::string& Text, int SelStart);
    // Caret and selection in characters.
    virtual void InplaceEditorCaret(int& Caret, int& SelStart, int& SelEnd) const;
    // Hands a character to the editor as if typed there.
    virtual void PostEditorChar(char32_t Key);
    virtual void HideCellButtons(bool DropDown, bool Ellipsis) {}
    virtual void ReleaseCellButton() {}
    // Closes an open drop-down list, storing its selected item when accepted.
    virtual void CloseDropDown(bool Accept) {}
    virtual bool DropDownOpen() const { return false; }
    void SetEditingFlag(bool Value) { FEditing = Value; }
    // Fixed counts above the row (column) count are lowered to it, as drawing needs.
    void ClampFixedCounts();

private:
    friend class TVkRowColumn;
    friend class TVkCell;

    std::unique_ptr<TVkCell> NewCell(int Column, int Row);
    void ApplyGridFloatFormat();
    void LayoutPass();
    int SumWidths(int From, int To);
    int SumHeights(int From, int To);
    std::string RangeText(int Left, int Top, int Right, int Bottom);
    bool AutoComplete(const std::string& Text);

    std::vector<std::unique_ptr<TVkCell>> FCells;  // column by column: entry column * RowCount + row
    std::vector<std::unique_ptr<TVkRow>> FRows;
    std::vector<std::unique_ptr<TVkColumn>> FColumns;
    int FRowCount = 0;
    int FColCount = 0;
    // Counts deletions, so that work that called out to a handler knows its cell may be gone.
    unsigned FStructureChanges = 0;

    TVkFloatFormat FFloatFormat{nullptr, this, false};
    std::unique_ptr<TVkGridPagePrintManager> FPrintManager;
    IVkGridPrinter* FPrinter = nullptr;

    bool FAutoSize = false;
    TVkAlignment FAlignment = laDefault;
    TVkFormat FFormat = lfGeneral;
    int FRowHeight = 24;
    int FColWidth = 64;
    int FFixedColumns = 1;
    int FFixedRows = 1;
    TColor FFixedColor = clBtnFace;
    TFont FFont{"", 8, 0, clWindowText};
    TFont FFixedFont{"", 8, 0, clWindowText};
    TVkAlignment FFixedAlignment = laCentre;
    TVkFormat FFixedFormat = lfGeneral;
    TVkGridOptions FOptions = DefaultGridOptions;
    TColor FColor = clWindow;

    int FCurrentColumn = 0;
    int FCurrentRow = 0;
    TVkGridRect FSelection;
    int FUpdateCount = 0;
    int FLeftCol = 0;
    int FTopRow = 0;
    int FLastCol = -1;
    int FLastRow = -1;
    int FSizingColumn = -1;
    int FSizingRow = -1;
    int FSizingOffset = 0;
    int FSizingPos = 0;
    bool FMouseSelecting = false;
    bool FEditing = false;
    bool FEditMode = false;
    std::vector<std::string> FDropDownItems;

    int FClientWidth = 196;
    int FClientHeight = 146;
    struct TEditorState {
        bool Visible = false;
        std::string Text;
        int SelStart = 0;
        int SelEnd = 0;
    } FEditor;
};

// ---- Rules of the editor and the drop-down list that need no window ----

// Whether the in-place editor hands a key to the grid. In typing mode (not EditMode) Up and Down
// leave the cell, and Left / Home (Right / End) leave it with Ctrl or from the start (end) of the
// text; in edit mode they move the caret.
bool EditorForwardsKey(TKeyCode Key, TShiftState Shift, bool EditMode, int Caret, int SelStart, int SelEnd,
                       int TextLength);
// Whether a character may be typed into a cell of the kind: an lfNumeric cell takes signs, digits,
// the decimal separator and control characters only.
bool EditorAcceptsChar(TVkFormat Format, char32_t Key);
// The first item that starts with Prefix, ignoring case; -1 for none or an empty prefix.
int FindItemByPrefix(const std::vector<std::string>& Items, const std::string& Prefix);
// Rows a drop-down list shows for Count items.
int DropDownRowCount(int Count);
// Where a drop-down list of Width x Height opens under a button (screen rectangle): its top-right
// corner at the button's bottom-right, or above the button when it would pass ScreenBottom.
TRect DropDownListRect(const TRect& Button, int Width, int Height, int ScreenBottom);

// Incremental search of the drop-down list: characters typed within 2 s of each other add up.
class TVkListSearch {
public:
    // Index of the item to select for the typed character, or -1 when none matches. Backspace and
    // Esc empty the search text.
    int KeyPress(char32_t Key, std::uint64_t TickMs, const std::vector<std::string>& Items);
    const std::string& SearchText() const { return FSearchText; }

private:
    std::string FSearchText;
    std::uint64_t FLastTick = 0;
    bool FTyped = false;
};

}  // namespace sarnova
