#include "naval/Table.h"

#include "foundation/NumberText.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

// A table is a screenful of values; a size beyond this is a mistake, not a table.
constexpr std::int64_t MaxTableCells = std::int64_t{1} << 24;

const TCellValue EmptyText = std::string();

}  // namespace

int CellValueAsInteger(const TCellValue& Value) {
    if (const double* Number = std::get_if<double>(&Value)) return RoundToInteger(*Number);
    if (const std::string* Text = std::get_if<std::string>(&Value)) return StrToInt(Trim(*Text));
    return 0;
}

// ---- Range cells ----

int TRangeCell::GetAsInteger() const { throw EError("Invalid variant operation"); }
void TRangeCell::SetAsInteger(int) { throw EError("Invalid variant operation"); }

TCellValue TColCell::GetValue() const {
    return Table.IsValidCell(Index, 0) ? Table.GetCellValue(Index, 0) : EmptyText;
}

void TColCell::SetValue(const TCellValue& Value) {
    if (Index < 0 || Index >= Table.ColCount()) return;
    for (std::int32_t Row = 0; Row < Table.RowCount(); ++Row) Table.SetCellValue(Index, Row, Value);
}

TCellValue TRowCell::GetValue() const {
    return Table.IsValidCell(0, Index) ? Table.GetCellValue(0, Index) : EmptyText;
}

void TRowCell::SetValue(const TCellValue& Value) {
    if (Index < 0 || Index >= Table.RowCount()) return;
    for (std::int32_t Column = 0; Column < Table.ColCount(); ++Column) Table.SetCellValue(Column, Index, Value);
}

TCellValue TSheetCell::GetValue() const { return Table.IsValidCell(0, 0) ? Table.GetCellValue(0, 0) : EmptyText; }

void TSheetCell::SetValue(const TCellValue& Value) {
    for (std::int32_t Row = 0; Row < Table.RowCount(); ++Row)
        for (std::int32_t Column = 0; Column < Table.ColCount(); ++Column) Table.SetCellValue(Column, Row, Value);
}

// ---- The table ----

TTable::TTable()
    : FColCell(std::make_unique<TColCell>(*this)),
      FRowCell(std::make_unique<TRowCell>(*this)),
      FSheetCell(std::make_unique<TSheetCell>(*this)) {}

TTable::~TTable() = default;

void TTable::SetSize(std::int32_t Columns, std::int32_t Rows) {
    if (Columns < 0 || Rows < 0 || std::int64_t{Columns} * Rows > MaxTableCells) throw EError("Invalid Table Size");
    Clear();
    FCells.reserve(static_cast<std::size_t>(Columns) * static_cast<std::size_t>(Rows));
    for (std::int64_t I = 0; I < std::int64_t{Columns} * Rows; ++I) FCells.push_back(std::make_unique<TDataCell>(*this));
    FColCount = Columns;
    FRowCount = Rows;
}

bool TTable::IsValidCell(std::int32_t Column, std::int32_t Row) const {
    return Column >= 0 && Column < FColCount && Row >= 0 && Row < FRowCount;
}

TDataCell& TTable::Cell(std::int32_t Column, std::int32_t Row) {
    return const_cast<TDataCell&>(static_cast<const TTable&>(*this).Cell(Column, Row));
}

const TDataCell& TTable::Cell(std::int32_t Column, std::int32_t Row) const {
    if (!IsValidCell(Column, Row))
        throw EError("Invalid Cell Index [" + IntToStr(Column) + ", " + IntToStr(Row) + "]");
    return *FCells[static_cast<std::size_t>(Column) + static_cast<std::size_t>(Row) * static_cast<std::size_t>(FColCount)];
}

void TTable::InsertRow(std::int32_t Row) {
    if (Row < 0) throw EError("Invalid Row Index");
    if (std::int64_t{FColCount} * (std::int64_t{FRowCount} + 1) > MaxTableCells) throw EError("Invalid Table Size");
    const std::int32_t At = Row < FRowCount ? Row : FRowCount;
    std::vector<std::unique_ptr<TDataCell>> NewRow;
    for (std::int32_t Column = 0; Column < FColCount; ++Column) NewRow.push_back(std::make_unique<TDataCell>(*this));
    const auto Position = FCells.begin() + static_cast<std::ptrdiff_t>(At) * FColCount;
    FCells.insert(Position, std::make_move_iterator(NewRow.begin()), std::make_move_iterator(NewRow.end()));
    ++FRowCount;
}

void TTable::Clear() {
    FCells.clear();
    FColCount = 0;
    FRowCount = 0;
}

}  // namespace sarnova
