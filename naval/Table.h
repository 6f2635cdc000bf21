// A small table of cells: a grid of values, row after row, with cells that stand for a whole column,
// a whole row or the whole sheet. The hydrostatic table is built on it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace sarnova {

class TTable;

// What a cell holds: nothing, a number or a text.
using TCellValue = std::variant<std::monostate, double, std::string>;

// Nothing reads as 0, a number rounded half to even, a text as the integer it spells. Throws
// EConvertError for a text that is no integer and for a number without a 32-bit integer.
int CellValueAsInteger(const TCellValue& Value);

// A place in the table: one value or a range of values.
class TCell {
public:
    explicit TCell(TTable& ATable) : Table(ATable) {}
    virtual ~TCell() = default;
    TCell(const TCell&) = delete;
    TCell& operator=(const TCell&) = delete;

    virtual TCellValue GetValue() const = 0;
    virtual void SetValue(const TCellValue& Value) = 0;
    virtual int GetAsInteger() const = 0;
    virtual void SetAsInteger(int Value) = 0;

    TTable& Table;
};

// One value.
class TDataCell : public TCell {
public:
    using TCell::TCell;
    TCellValue GetValue() const override { return Value; }
    void SetValue(const TCellValue& AValue) override { Value = AValue; }
    int GetAsInteger() const override { return CellValueAsInteger(Value); }
    void SetAsInteger(int AValue) override { Value = static_cast<double>(AValue); }

    TCellValue Value;
};

// A range of cells: reading gives its first cell (an empty text when the range is outside the
// table), writing stores the value in every cell of it. Plain values have no digit count, so the
// integer access of a range throws EError "Invalid variant operation".
class TRangeCell : public TCell {
public:
    using TCell::TCell;
    int GetAsInteger() const override;
    void SetAsInteger(int Value) override;
};

// Column Index.
class TColCell : public TRangeCell {
public:
    using TRangeCell::TRangeCell;
    TCellValue GetValue() const override;
    void SetValue(const TCellValue& Value) override;
    int Index = 0;
};

// Row Index.
class TRowCell : public TRangeCell {
public:
    using TRangeCell::TRangeCell;
    TCellValue GetValue() const override;
    void SetValue(const TCellValue& Value) override;
    int Index = 0;
};

// Every cell of the table.
class TSheetCell : public TRangeCell {
public:
    using TRangeCell::TRangeCell;
    TCellValue GetValue() const override;
    void SetValue(const TCellValue& Value) override;
};

class TTable {
public:
    TTable();
    virtual ~TTable();
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;

    std::int32_t ColCount() const { return FColCount; }
    std::int32_t RowCount() const { return FRowCount; }

    // Frees every cell, then makes Columns x Rows empty ones. Throws EError "Invalid Table Size" for
    // a negative count or more cells than a table can hold.
    void SetSize(std::int32_t Columns, std::int32_t Rows);
    bool IsValidCell(std::int32_t Column, std::int32_t Row) const;
    // Throws EError "Invalid Cell Index [<column>, <row>]" outside the table.
    TDataCell& Cell(std::int32_t Column, std::int32_t Row);
    const TDataCell& Cell(std::int32_t Column, std::int32_t Row) const;
    TCellValue GetCellValue(std::int32_t Column, std::int32_t Row) const { return Cell(Column, Row).Value; }
    void SetCellValue(std::int32_t Column, std::int32_t Row, const TCellValue& Value) {
        Cell(Column, Row).Value = Value;
    }
    // A new empty row before Row when Row is below RowCount, else at the end. Throws EError
    // "Invalid Row Index" for a negative Row.
    void InsertRow(std::int32_t Row);
    // Frees every cell: 0 x 0.
    void Clear();

    TColCell& ColCell() { return *FColCell; }
    TRowCell& RowCell() { return *FRowCell; }
    TSheetCell& SheetCell() { return *FSheetCell; }

private:
    std::int32_t FColCount = 0;
    std::int32_t FRowCount = 0;
    std::vector<std::unique_ptr<TDataCell>> FCells;
    std::unique_ptr<TColCell> FColCell;
    std::unique_ptr<TRowCell> FRowCell;
    std::unique_ptr<TSheetCell> FSheetCell;
};

}  // namespace sarnova
