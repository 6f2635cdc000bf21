// A small spreadsheet: a grid of cells that each hold a number, a text or a formula ("=A1*2"),
// formatted per cell. Formulas are evaluated by the expression evaluator, with A1-style references
// resolved by the grid, depth first, refusing circular references. This is the grid's model; the GUI
// shows it in a table widget (controls/FormatGridWidget.h) and forwards edits and keys to it.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "platform/Font.h"
#include "foundation/Keys.h"

namespace sarnova {

class TFormatGrid;

// What a cell holds: ftVariable decides by what is typed, ftText always keeps text, ftNumeric always
// a number.
enum TFormatType : std::uint8_t { ftVariable = 0, ftText = 1, ftNumeric = 2 };

// The number style of a cell: ffGeneral, ffExponent, ffFixed, ffNumber (TFloatFormat) or ffCurrency.
// There is no currency symbol in the program's locale, so ffCurrency is written like ffNumber.
using TNumericFormat = std::uint8_t;

enum TAlignment : std::uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// A formula refers back to itself through some chain of references.
class EGridCircularReference : public EError {
public:
    using EError::EError;
};

// Value formatted as a cell shows it.
std::string FormatCellNumber(double Value, TNumericFormat Format, int Precision, int Digits);

// One cell: its value, its look and, for ftVariable cells, its formula. Every cell the grid was ever
// asked for has one; a record without a grid is a template for new cells.
class TGridRec {
public:
    using TCellEvent = std::function<void(TGridRec& Sender, int ACol, int ARow)>;

    // Fired when the cell's look or value changes.
    TCellEvent OnChange;

    double GetNumber() const { return FNumber; }
    // Ignored for ftText; otherwise the value and its formatted text (an ftVariable cell is
    // right-aligned). A formula stays.
    void SetNumber(double Value);
    TFormatType GetFormatType() const { return FFormatType; }
    void SetFormatType(TFormatType Value) { FFormatType = Value; }
    TNumericFormat GetNumericFormat() const { return FNumericFormat; }
    // These three store the value and format a text that reads as a number again; no event.
    void SetNumericFormat(TNumericFormat Value);
    int GetPrecision() const { return FPrecision; }
    void SetPrecision(int Value);
    int GetDigits() const { return FDigits; }
    void SetDigits(int Value);
    const TFont& GetFont() const { return FFont; }
    void SetFont(const TFont& Value);
    TColor GetCellColor() const { return FCellColor; }
    void SetCellColor(TColor Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

    // What the cell shows.
    const std::string& GetText() const { return FText; }
    // By format type. ftText: kept as given. ftNumeric: "" counts as "0", a trailing decimal
    // separator gets a "0", the locale's separator becomes "."; a text that is no number shows
    // "Unable to convert <text> to a number" and keeps the value. ftVariable: a number is stored and
    // formatted, right-aligned; "=" starts a formula (at most 255 characters), right-aligned, shown
    // after the next recalculation; any other text is kept, left-aligned, and counts as 0 in formulas.
    // Numbers and formulas mark the grid dirty. OnChange fires at the end.
    void SetText(const std::string& Value);
    // The formula without its "="; empty for a cell without one.
    const std::string& GetFormula() const { return FFormula; }

    int GetCol() const { return FCol; }
    int GetRow() const { return FRow; }
    TFormatGrid* GetGrid() const { return FGrid; }
    // Set while the cell's formula is being evaluated.
    bool IsBusy() const { return FBusy; }

    // Copies number, alignment, format type, numeric format, font, colour, precision and digits, and
    // last the text through SetText. The formula is not copied.
    void Assign(const TGridRec& Source);

private:
    friend class TGridList;
    friend class TFormatGrid;

    void Changed();
    void MarkGridDirty();
    // Formats a text that reads as a number again with the present settings.
    void Reformat();

    double FNumber = 0;
    TFormatType FFormatType = ftVariable;
    TNumericFormat FNumericFormat = ffGeneral;
    TFont FFont{"MS Sans Serif", 8, 0, clWindowText};
    TColor FCellColor = clWindow;
    int FPrecision = 15;
    int FDigits = 2;
    TAlignment FAlignment = taLeftJustify;
    std::string FText;
    std::string FFormula;
    int FCol = 0;
    int FRow = 0;
    TFormatGrid* FGrid = nullptr;
    bool FBusy = false;
};

// The cells of a grid, found by position; a missing cell is made from the template on demand.
class TGridList {
public:
    TGridList(TFormatGrid* AGrid, const TGridRec* ATemplate) : FGrid(AGrid), FTemplate(ATemplate) {}
    TGridList(const TGridList&) = delete;
    TGridList& operator=(const TGridList&) = delete;

    // The cell at (ACol, ARow), made as a copy of the template when missing.
    TGridRec& Cell(int ACol, int ARow);
    // The cell at (ACol, ARow); nullptr when it was never made.
    TGridRec* Find(int ACol, int ARow) const;
    int Count() const { return static_cast<int>(FItems.size()); }
    TGridRec& Items(int Index) const { return *FItems.at(static_cast<std::size_t>(Index)); }
    void Clear();

private:
    TFormatGrid* FGrid;
    const TGridRec* FTemplate;
    std::vector<std::unique_ptr<TGridRec>> FItems;
    std::map<std::pair<int, int>, TGridRec*> FIndex;
};

// The stored form of one cell, as the grid's "Cells" property writes it.
struct TGridCellRecord {
    int Alignment = 0;
    int CellColor = 0;
    int Precision = 0;
    int Digits = 0;
    int FontColor = 0;
    std::string FontName;
    int FontSize = 0;
    int FontStyle = 0;
    int FormatType = 0;
    int NumericFormat = 0;
    double Number = 0;
    // "=" and the formula for a formula cell, else the cell's text.
    std::string Text;
};

class TFormatGrid {
public:
    using TGridEvent = std::function<void(TFormatGrid& Sender, int ACol, int ARow)>;

    TFormatGrid();
    virtual ~TFormatGrid();
    TFormatGrid(const TFormatGrid&) = delete;
    TFormatGrid& operator=(const TFormatGrid&) = delete;

    // The cell's record, made from InitialFormat when missing; its OnChange repaints the cell.
    TGridRec& Cell(int ACol, int ARow);
    // The template of new cells.
    TGridRec& InitialFormat() { return *FInitialFormat; }
    const TGridList& Cells() const { return *FCells; }

    int GetColCount() const { return FColCount; }
    int GetRowCount() const { return FRowCount; }
    // At least one more than the fixed columns and rows, as with any grid. Setting either re-applies
    // the headers when they are on.
    void SetColCount(int Value);
    void SetRowCount(int Value);
    // Fixed (header) columns and rows at the left and top; 1 each by default.
    int FixedCols = 1;
    int FixedRows = 1;

    // The current cell.
    int GetCol() const { return FCurrentCol; }
    int GetRow() const { return FCurrentRow; }
    void SetCurrent(int ACol, int ARow);

    bool GetHeaders() const { return FHeaders; }
    // On: row 0 of columns 1 and up shows the column names, column 0 of rows 1 and up the row
    // numbers, as bold, centred ftText cells. Off: those cells go back to InitialFormat.
    void SetHeaders(bool Value);
    // "A" .. "Z" for 1 .. 26, then two letters: 27 "AA", 52 "AZ", 53 "BA".
    static std::string ColumnName(int ACol);

    bool AutoCalculate = false;
    // Font of the fixed cells; setting it repaints the grid.
    const TFont& GetFixedFont() const { return FFixedFont; }
    void SetFixedFont(const TFont& Value);

    // After the user finished with a cell (moved away, pressed Enter, pasted, cut, deleted).
    TGridEvent OnFinishEditing;
    // After every recalculation.
    std::function<void(TFormatGrid& Sender)> OnCalculate;
    // The view's repaint requests: one cell, or the whole grid.
    std::function<void(int ACol, int ARow)> OnInvalidateCell;
    std::function<void()> OnInvalidate;

    bool IsDirty() const { return FDirty; }
    // Some number or formula changed since the last recalculation.
    void MarkDirty() { FDirty = true; }

    // Evaluates every cell's formula, column by column, each column from row 0, making records for
    // every cell; then repaints and fires OnCalculate. Throws EGridCircularReference "Unable to
    // handle circular references" (as part of the evaluator's message) for a formula that refers
    // back to itself, and passes the evaluator's errors on; the cells evaluated before keep their new
    // values and no cell stays busy.
    void Recalculate();
    // Evaluates Cell's formula (and, on demand, the cells it refers to); nothing without a formula.
    void CalculateCell(TGridRec& Cell);
    // The evaluator's callback for an upper-case name: "A1" is the cell in grid column 1 and row 1,
    // "AB1" column 28. Names with no digit, or with more than two letters before it, throw
    // EExpressionFunctionNotFound "Unknown function - <name>"; so does a row that is no whole number.
    double ResolveReference(const std::string& Name);

    // ---- Editing, as the view reports it ----
    // The editor's text for a cell: "=" and the formula for a formula cell, else the cell's text.
    std::string GetEditText(int ACol, int ARow);
    // The editor closed on Value: given to the cell when it differs from the cell's text.
    void SetEditText(int ACol, int ARow, const std::string& Value);
    // Keys of the grid outside the editor: Ctrl+C, Ctrl+V, Ctrl+X (text clipboard, at most 2550
    // characters) and Delete; each followed by the finish step. True when the key was taken.
    bool KeyDown(TKeyCode Key, TShiftState Shift);
    // An arrow key moved the current cell away from (ACol, ARow) while editing.
    void EditorMoved(int ACol, int ARow);
    // Enter closed the editor on the current cell.
    void EditorReturned();

    // ---- The stored "Cells" property ----
    // ColCount x RowCount records, column by column, each column from row 0.
    std::vector<TGridCellRecord> SaveCells();
    // Reads records in that order; codes out of range read as left, ftVariable and ffGeneral. An
    // ftNumeric cell takes the number, any other the text as it stands (no formula).
    void LoadCells(const std::vector<TGridCellRecord>& Records);

private:
    friend class TGridRec;

    // OnFinishEditing for the current cell, then a recalculation when AutoCalculate is on.
    void FinishStep();
    void ApplyHeaders();
    void ClearHeaders();
    void InvalidateCell(int ACol, int ARow);
    void Invalidate();

    bool FDirty = false;
    std::unique_ptr<TGridRec> FInitialFormat;
    std::unique_ptr<TGridList> FCells;
    bool FHeaders = false;
    TFont FFixedFont{"MS Sans Serif", 8, 0, clWindowText};
    int FColCount = 5;
    int FRowCount = 5;
    int FCurrentCol = 1;
    int FCurrentRow = 1;
    // Set when a circular reference was met during the running recalculation.
    bool FCircular = false;
};

}  // namespace sarnova
