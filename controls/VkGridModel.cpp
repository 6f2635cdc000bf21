#include "controls/VkGridModel.h"

#include <algorithm>
#include <exception>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "platform/Clipboard.h"

namespace sarnova {

namespace {

// Opens an update bracket for the lifetime of a scope. When the scope is left by an exception, a
// failure of the closing layout pass gives way to the exception already on its way.
class TUpdateBracket {
public:
    explicit TUpdateBracket(TVkGridModel& Grid) : FGrid(Grid), FPending(std::uncaught_exceptions()) {
        Grid.BeginUpdate();
    }
    ~TUpdateBracket() noexcept(false) {
        if (std::uncaught_exceptions() > FPending) {
            try {
                FGrid.EndUpdate();
            } catch (...) {
            }
        } else {
            FGrid.EndUpdate();
        }
    }

private:
    TVkGridModel& FGrid;
    int FPending;
};

std::string ListIndexError(int Index) { return Format("List index out of bounds (%d)", {Index}); }

}  // namespace

// ---- TVkValue ----

double TVkValue::AsDouble() const {
    switch (FKind) {
        case vkInteger: return FInteger;
        case vkDouble: return FDouble;
        case vkString: return ParseFloat(FString);
        default: return 0.0;
    }
}

int TVkValue::AsInteger() const {
    switch (FKind) {
        case vkInteger: return FInteger;
        case vkEmpty: return 0;
        default: return RoundToInteger(AsDouble());
    }
}

std::string TVkValue::AsString() const {
    switch (FKind) {
        case vkInteger: return IntToStr(FInteger);
        case vkDouble: return FloatToStr(FDouble);
        case vkString: return FString;
        default: return "";
    }
}

bool TVkValue::operator==(const TVkValue& Other) const {
    if (IsNumeric() && Other.IsNumeric()) {
        if (FKind == vkInteger && Other.FKind == vkInteger) return FInteger == Other.FInteger;
        return AsDouble() == Other.AsDouble();
    }
    if (FKind != Other.FKind) return false;
    return FKind == vkEmpty || FString == Other.FString;
}

// ---- TVkFloatFormat ----

void TVkFloatFormat::SetFormat(TFloatFormat Value) {
    if (Value == FFormat && FOwnedByCell) return;
    FFormat = Value;
    Changed();
}

void TVkFloatFormat::SetPrecision(int Value) {
    if (Value == FPrecision && FOwnedByCell) return;
    FPrecision = Value;
    Changed();
}

void TVkFloatFormat::SetDigits(int Value) {
    if (Value == FDigits && FOwnedByCell) return;
    FDigits = Value;
    Changed();
}

void TVkFloatFormat::CopyFrom(const TVkFloatFormat& Source, bool Quiet) {
    FFormat = Source.FFormat;
    FPrecision = Source.FPrecision;
    FDigits = Source.FDigits;
    if (!Quiet) Changed();
}

std::string TVkFloatFormat::FloatToText(double Value) const {
    if (FFormat == ffCurrency) return FloatToStrF(Value, ffNumber, FPrecision, FDigits);
    return FloatToStrF(Value, FFormat, FPrecision, FDigits);
}

void TVkFloatFormat::Changed() {
    if (FOwner)
        FOwner->Changed(this);
    else if (FGrid)
        FGrid->ComponentChanged(this);
}

// ---- TVkGridComponent ----

void TVkGridComponent::Changed(TVkGridObject* Sender) {
    if (FOwner)
        FOwner->Changed(this);
    else
        FGrid->ComponentChanged(this);
}

// ---- TVkCell ----

void TVkCell::SetAlignment(TVkAlignment Value) {
    FAlignment = Value;
    Changed();
}

void TVkCell::SetFormat(TVkFormat Value) {
    FFormat = Value;
    if (Value == lfNumeric && !FValue.IsNumeric()) FValue = 0;
    Changed();
}

void TVkCell::SetTextColor(TColor Value) {
    FTextColor = Value;
    ParentTextColor = false;
    Changed();
}

void TVkCell::SetFontStyle(TFontStyles Value) {
    FFontStyle = Value;
    ParentFontStyle = false;
    Changed();
}

void TVkCell::SetValue(const TVkValue& Value) {
    FValue = Value;
    if (Value.IsString()) {
        const std::string& Text = GetValue().AsString();
        if (IsNumber(Text)) {
            const double X = ParseFloat(Text);
            // Whole numbers beyond 32 bits keep their value as a double.
            if (IsWholeNumber(X))
                FValue = RoundToInteger(X);
            else
                FValue = X;
        } else if (FFormat == lfNumeric) {
            FValue = 0;
        }
    }
    Changed();
}

std::string TVkCell::DisplayText() const {
    if (FFormat == lfNumeric) {
        // Text can reach a numeric cell through a row's or the fixed format; it shows as it is.
        if (FValue.IsString() && !IsNumber(FValue.AsString())) return FValue.AsString();
        return FFloatFormat.FloatToText(FValue.AsDouble());
    }
    if (FValue.Kind() == TVkValue::vkDouble) return FFloatFormat.FloatToText(FValue.AsDouble());
    if (FValue.Kind() == TVkValue::vkInteger && FFloatFormat.GetFormat() == ffFixed)
        return FFloatFormat.FloatToText(FValue.AsDouble());
    return FValue.AsString();
}

int TVkCell::DrawAlignment() const {
    switch (FAlignment) {
        case laLeftJustify: return 0;
        case laCentre: return 1;
        case laRightJustify: return 2;
        default:
            if (FFormat == lfComboBox) return 0;
            if (FFormat == lfNumeric) return 2;
            return FValue.IsNumeric() ? 2 : 0;
    }
}

int TVkCell::ColumnWidth() const { return FGrid->Column(FColumn).GetWidth(); }

// ---- Rows and columns ----

std::vector<TVkCell*> TVkRowColumn::DataCells() {
    TVkGridModel& G = *FGrid;
    std::vector<TVkCell*> Result;
    if (FIsRow) {
        const auto It = std::find_if(G.FRows.begin(), G.FRows.end(), [this](auto& R) { return R.get() == this; });
        FIndex = static_cast<int>(It - G.FRows.begin());
        if (FIndex < G.FFixedRows) return Result;
        for (int C = G.FFixedColumns; C < G.FColCount; ++C) Result.push_back(&G.Cell(C, FIndex));
    } else {
        const auto It =
            std::find_if(G.FColumns.begin(), G.FColumns.end(), [this](auto& C) { return C.get() == this; });
        FIndex = static_cast<int>(It - G.FColumns.begin());
        if (FIndex < G.FFixedColumns) return Result;
        for (int R = G.FFixedRows; R < G.FRowCount; ++R) Result.push_back(&G.Cell(FIndex, R));
    }
    return Result;
}

void TVkRowColumn::SetSize(int Value) {
    if (Value == FSize) return;
    TUpdateBracket Bracket(*FGrid);
    FSize = std::max(Value, 4);
    Changed();
}

void TVkRowColumn::SetAlignment(TVkAlignment Value) {
    TUpdateBracket Bracket(*FGrid);
    for (TVkCell* C : DataCells()) C->SetAlignment(Value);
}

TVkFloatFormat& TVkRowColumn::FloatFormat() {
    const std::vector<TVkCell*> Cells = DataCells();
    FFloatFormat.CopyFrom(Cells.empty() ? FGrid->FloatFormat() : Cells.front()->FloatFormat(), true);
    return FFloatFormat;
}

void TVkRowColumn::Changed(TVkGridObject* Sender) {
    if (Sender == &FFloatFormat) {
        if (FIsRow)
            static_cast<TVkRow*>(this)->SetFloatFormat(FFloatFormat);
        else
            static_cast<TVkColumn*>(this)->SetFloatFormat(FFloatFormat);
    }
    FGrid->ComponentChanged(this);
}

void TVkRow::SetFormat(TVkFormat Value) {
    TUpdateBracket Bracket(*FGrid);
    for (TVkCell* C : DataCells()) {
        C->FFormat = Value;
        C->Changed();
    }
}

void TVkRow::SetFloatFormat(const TVkFloatFormat& Value) {
    TUpdateBracket Bracket(*FGrid);
    if (&Value != &FFloatFormat) FFloatFormat.CopyFrom(Value, true);
    for (TVkCell* C : DataCells()) C->FloatFormat().CopyFrom(Value, true);
}

void TVkRow::SetColor(TColor Value) {
    TUpdateBracket Bracket(*FGrid);
    for (TVkCell* C : DataCells()) {
        C->FColor = Value;
        C->ParentColor = false;
        C->Changed();
    }
}

void TVkRow::SetTextColor(TColor Value) {
    TUpdateBracket Bracket(*FGrid);
    for (TVkCell* C : DataCells()) C->SetTextColor(Value);
}

void TVkColumn::SetFormat(TVkFormat Value) {
    TUpdateBracket Bracket(*FGrid);
    for (TVkCell* C : DataCells()) C->SetFormat(Value);
}

void TVkColumn::SetFloatFormat(const TVkFloatFormat& Value) {
    TUpdateBracket Bracket(*FGrid);
    for (TVkCell* C : DataCells()) C->FloatFormat().CopyFrom(Value, true);
}

// ---- TVkGridModel: cells, rows and columns ----

TVkGridModel::TVkGridModel() {
    FPrintManager = std::make_unique<TVkGridPagePrintManager>(*this);
    SetSize(7, 7);
    FLeftCol = FFixedColumns;
    FTopRow = FFixedRows;
}

TVkGridModel::~TVkGridModel() {
    FPrintManager.reset();
    FRows.clear();
    FColumns.clear();
    FCells.clear();
}

TVkCell& TVkGridModel::Cell(int Column, int Row) {
    if (Column < 0 || Row < 0 || Column >= FColCount || Row >= FRowCount)
        throw EError(Format("TVkCells.GetCell - Invalid cell location (%d,%d)", {Column, Row}));
    TVkCell& C = *FCells[static_cast<size_t>(Column) * FRowCount + Row];
    C.FColumn = Column;
    C.FRow = Row;
    return C;
}

TVkRow& TVkGridModel::Row(int Index) {
    if (Index < 0 || Index >= FRowCount) throw EError(ListIndexError(Index));
    TVkRow& R = *FRows[Index];
    R.FIndex = Index;
    return R;
}

TVkColumn& TVkGridModel::Column(int Index) {
    if (Index < 0 || Index >= FColCount) throw EError(ListIndexError(Index));
    TVkColumn& C = *FColumns[Index];
    C.FIndex = Index;
    return C;
}

std::unique_ptr<TVkCell> TVkGridModel::NewCell(int Column, int Row) {
    auto C = std::make_unique<TVkCell>(this);
    C->FColumn = Column;
    C->FRow = Row;
    if (Column < FFixedColumns || Row < FFixedRows) {
        C->FAlignment = FFixedAlignment;
        C->FFormat = FFixedFormat;
    } else {
        C->FAlignment = FAlignment;
        C->FFormat = FFormat;
        C->FFloatFormat.CopyFrom(FFloatFormat, true);
    }
    return C;
}

TVkRow* TVkGridModel::InsertRow(int Index) {
    if (Index < 0 || Index > FRowCount) return nullptr;
    TUpdateBracket Bracket(*this);
    for (int C = FColCount - 1; C >= 0; --C)
        FCells.insert(FCells.begin() + static_cast<std::ptrdiff_t>(C) * FRowCount + Index, NewCell(C, Index));
    ++FRowCount;
    FRows.insert(FRows.begin() + Index, std::make_unique<TVkRow>(this, FRowHeight));
    return &Row(Index);
}

TVkColumn* TVkGridModel::InsertColumn(int Index) {
    if (Index < 0 || Index > FColCount) return nullptr;
    TUpdateBracket Bracket(*this);
    ++FColCount;
    for (int R = FRowCount - 1; R >= 0; --R)
        FCells.insert(FCells.begin() + static_cast<std::ptrdiff_t>(Index) * FRowCount, NewCell(Index, R));
    FColumns.insert(FColumns.begin() + Index, std::make_unique<TVkColumn>(this, FColWidth));
    return &Column(Index);
}

void TVkGridModel::DeleteRow(int Index) {
    if (Index < 0 || Index >= FRowCount) return;
    TUpdateBracket Bracket(*this);
    for (int C = FColCount - 1; C >= 0; --C)
        FCells.erase(FCells.begin() + static_cast<std::ptrdiff_t>(C) * FRowCount + Index);
    --FRowCount;
    FRows.erase(FRows.begin() + Index);
    ++FStructureChanges;
    UnselectRange();
    if (FCurrentRow > FRowCount - 1) FCurrentRow = FRowCount - 1;
}

void TVkGridModel::DeleteColumn(int Index) {
    if (Index < 0 || Index >= FColCount) return;
    TUpdateBracket Bracket(*this);
    const auto First = FCells.begin() + static_cast<std::ptrdiff_t>(Index) * FRowCount;
    FCells.erase(First, First + FRowCount);
    --FColCount;
    FColumns.erase(FColumns.begin() + Index);
    ++FStructureChanges;
    UnselectRange();
    if (FCurrentColumn > FColCount - 1) FCurrentColumn = FColCount - 1;
}

// Columns one at a time at the end, as InsertColumn and DeleteColumn would; rows in one pass over the
// store, which gives the same cells as row-by-row insertion without moving the store once per row.
void TVkGridModel::SetSize(int Columns, int Rows) {
    Columns = std::max(Columns, 0);
    Rows = std::max(Rows, 0);
    TUpdateBracket Bracket(*this);
    while (FColCount < Columns) InsertColumn(FColCount);
    while (FColCount > Columns) DeleteColumn(FColCount - 1);
    if (Rows == FRowCount) return;
    const int Keep = std::min(FRowCount, Rows);
    std::vector<std::unique_ptr<TVkCell>> Cells;
    Cells.reserve(static_cast<size_t>(FColCount) * Rows);
    for (int C = 0; C < FColCount; ++C) {
        for (int R = 0; R < Keep; ++R) Cells.push_back(std::move(FCells[static_cast<size_t>(C) * FRowCount + R]));
        for (int R = Keep; R < Rows; ++R) Cells.push_back(NewCell(C, R));
    }
    FCells = std::move(Cells);
    const bool Deleted = Rows < FRowCount;
    FRows.resize(static_cast<size_t>(Keep));
    while (static_cast<int>(FRows.size()) < Rows) FRows.push_back(std::make_unique<TVkRow>(this, FRowHeight));
    FRowCount = Rows;
    if (Deleted) {
        ++FStructureChanges;
        UnselectRange();
        if (FCurrentRow > FRowCount - 1) FCurrentRow = FRowCount - 1;
    }
}

void TVkGridModel::BeginUpdate() { ++FUpdateCount; }

void TVkGridModel::EndUpdate() {
    if (FUpdateCount < 1)
        throw EError("TVkGrid.EndUpdate - Mismatch between number of BeginUpdate and EndUpdate issues");
    if (--FUpdateCount == 0 && WindowExists()) {
        Invalidate();
        LayoutPass();
    }
}

void TVkGridModel::ComponentChanged(TVkGridObject* Sender) {
    if (Sender == &FFloatFormat) ApplyGridFloatFormat();
    if (!IsUpdating()) {
        UpdateScrollBars();
        Invalidate();
    }
}

TVkCell* TVkGridModel::CurrentCell() {
    if (FCurrentColumn < 0 || FCurrentRow < 0 || FCurrentColumn >= FColCount || FCurrentRow >= FRowCount)
        return nullptr;
    return &Cell(FCurrentColumn, FCurrentRow);
}

// ---- Properties ----

namespace {

// Shows the busy cursor for a scope.
class TBusy {
public:
    TBusy(std::function<void(bool)> Set) : FSet(std::move(Set)) { FSet(true); }
    ~TBusy() { FSet(false); }

private:
    std::function<void(bool)> FSet;
};

}  // namespace

void TVkGridModel::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    UpdateAutoSize();
    Invalidate();
}

void TVkGridModel::SetAlignment(TVkAlignment Value) {
    TUpdateBracket Bracket(*this);
    FAlignment = Value;
    for (int C = FFixedColumns; C < FColCount; ++C)
        for (int R = FFixedRows; R < FRowCount; ++R) Cell(C, R).FAlignment = Value;
}

void TVkGridModel::SetFormat(TVkFormat Value) {
    TUpdateBracket Bracket(*this);
    TBusy Busy([this](bool On) { BusyCursor(On); });
    FFormat = Value;
    for (int C = FFixedColumns; C < FColCount; ++C)
        for (int R = FFixedRows; R < FRowCount; ++R) Cell(C, R).SetFormat(Value);
}

void TVkGridModel::ApplyGridFloatFormat() {
    TUpdateBracket Bracket(*this);
    TBusy Busy([this](bool On) { BusyCursor(On); });
    for (int C = FFixedColumns; C < FColCount; ++C)
        for (int R = FFixedRows; R < FRowCount; ++R) Cell(C, R).FloatFormat().CopyFrom(FFloatFormat, true);
}

void TVkGridModel::SetFloatFormat(const TVkFloatFormat& Value) {
    FFloatFormat.CopyFrom(Value, true);
    ApplyGridFloatFormat();
}

void TVkGridModel::SetRowHeight(int Value) {
    TUpdateBracket Bracket(*this);
    FRowHeight = Value;
    for (int R = 0; R < FRowCount; ++R) Row(R).SetHeight(Value);
}

void TVkGridModel::SetColWidth(int Value) {
    TUpdateBracket Bracket(*this);
    FColWidth = Value;
    for (int C = 0; C < FColCount; ++C) Column(C).SetWidth(Value);
}

void TVkGridModel::SetFixedColumns(int Value) {
    if (Value == FFixedColumns) return;
    FFixedColumns = std::min(Value, FColCount);
    FLeftCol = FFixedColumns;
    if (IsUpdating() || !WindowExists()) return;
    UpdateLastCol();
    Invalidate();
    AutoSizeColumns();
    UpdateScrollBars();
}

void TVkGridModel::SetFixedRows(int Value) {
    if (Value == FFixedRows) return;
    FFixedRows = std::min(Value, FRowCount);
    FTopRow = FFixedRows;
    if (IsUpdating() || !WindowExists()) return;
    UpdateLastRow();
    Invalidate();
    AutoSizeRows();
    UpdateScrollBars();
}

void TVkGridModel::SetFixedColor(TColor Value) {
    FFixedColor = Value;
    Invalidate();
}

void TVkGridModel::SetFont(const TFont& Value) {
    FFont = Value;
    Invalidate();
}

void TVkGridModel::SetFixedFont(const TFont& Value) {
    FFixedFont = Value;
    ComponentChanged(nullptr);
}

void TVkGridModel::SetFixedAlignment(TVkAlignment Value) {
    TUpdateBracket Bracket(*this);
    FFixedAlignment = Value;
    for (int C = 0; C < FColCount; ++C)
        for (int R = 0; R < FRowCount; ++R)
            if (C < FFixedColumns || R < FFixedRows) Cell(C, R).FAlignment = Value;
}

void TVkGridModel::SetFixedFormat(TVkFormat Value) {
    TUpdateBracket Bracket(*this);
    FFixedFormat = Value;
    for (int C = 0; C < FColCount; ++C)
        for (int R = 0; R < FRowCount; ++R)
            if (C < FFixedColumns || R < FFixedRows) Cell(C, R).FFormat = Value;
}

void TVkGridModel::SetOptions(TVkGridOptions Value) {
    const TVkGridOptions NewlyOn = Value & ~FOptions;
    FOptions = Value;
    if (!WindowExists()) return;
    if (NewlyOn & loAutoSizeColumns) {
        AutoSizeColumns();
        UpdateLastCol();
    }
    if (NewlyOn & loAutoSizeRows) {
        AutoSizeRows();
        UpdateLastRow();
    }
    if (NewlyOn & (loAutoSizeColumns | loAutoSizeRows)) {
        UpdateAutoSize();
        UpdateScrollBars();
    }
    Invalidate();
}

void TVkGridModel::SetColor(TColor Value) {
    FColor = Value;
    Invalidate();
}

void TVkGridModel::SetPrintOptions(const TVkGridPagePrintOptions* Value) {
    if (Value) FPrintManager->Assign(*Value);
}

// ---- Clipboard ----

std::string TVkGridModel::RangeText(int Left, int Top, int Right, int Bottom) {
    std::string Text;
    for (int R = Top; R <= Bottom; ++R)
        for (int C = Left; C <= Right; ++C) {
            Text += Cell(C, R).DisplayText();
            Text += C < Right ? "\t" : "\r\n";
        }
    return Text;
}

std::string TVkGridModel::SelectionText() {
    if (FSelection.Left < 0 || FSelection.Top < 0) return "";
    return RangeText(FSelection.Left, FSelection.Top, FSelection.Right, FSelection.Bottom);
}

std::string TVkGridModel::AllText(bool IncludeFixed) {
    return RangeText(IncludeFixed ? 0 : FFixedColumns, IncludeFixed ? 0 : FFixedRows, FColCount - 1, FRowCount - 1);
}

// The whole text goes to the clipboard, however long: a cut copy would pass for a complete one.
void TVkGridModel::CopySelectionToClipboard() {
    if (FSelection.Left < 0 || FSelection.Top < 0) return;
    TextClipboard().SetText(SelectionText());
}

void TVkGridModel::CopyAllToClipboard(bool IncludeFixed) { TextClipboard().SetText(AllText(IncludeFixed)); }

// ---- Printing ----

void TVkGridModel::Print(const std::string& Title) {
    if (!FPrinter || FPrinter->Printing()) return;
    const std::string JobTitle = Title.empty() ? GExeName + " - Grid" : Title;
    FPrinter->SetTitle(JobTitle);
    FPrintManager->PrintGrid(JobTitle);
}

// ---- A grid without window ----

void TVkGridModel::SetClientSize(int Width, int Height) {
    FClientWidth = Width;
    FClientHeight = Height;
    Resize();
}

void TVkGridModel::ChangeClientSize(int Width, int Height) {
    FClientWidth = Width;
    FClientHeight = Height;
}

int TVkGridModel::ScreenTextWidth(const TFont& Font, const std::string& Text) {
    return static_cast<int>(Text.size()) * std::max(1, Font.Size * 3 / 4);
}

}  // namespace sarnova
