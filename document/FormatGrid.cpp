#include "document/FormatGrid.h"

#include <algorithm>
#include <cstdio>

#include "document/VkExpressionParser.h"
#include "foundation/Console.h"
#include "platform/Clipboard.h"
#include "platform/Screen.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

namespace {

// Clipboard texts longer than this are cut, as the grid's editor buffer always was.
constexpr std::size_t MaxClipboardText = 2550;
constexpr std::size_t MaxFormula = 255;

// Whether Text is a number in the user's notation (the locale's decimal separator); its value.
bool ReadsAsNumber(const std::string& Text, double& Value) {
    std::string Point = Text;
    ToPointDecimal(Point);
    return TryStrToFloat(Point, Value);
}

void ShowConvertError(const std::string& Text) {
    const std::string Message = "Unable to convert " + Text + " to a number";
    if (GExceptionHandler && GExceptionHandler->UserDialogs != nullptr)
        GExceptionHandler->UserDialogs->MessageBox("Error", Message, TMsgDlgType::mtError, mbOK);
    else
        std::fprintf(stderr, "%s\n", Message.c_str());
}

}  // namespace

std::string FormatCellNumber(double Value, TNumericFormat Format, int Precision, int Digits) {
    const TFloatFormat Float = Format == ffCurrency ? ffNumber
                               : Format <= ffNumber ? static_cast<TFloatFormat>(Format)
                                                    : ffGeneral;
    return FloatToStrF(Value, Float, Precision, Digits);
}

// ---- TGridRec ----

void TGridRec::Changed() {
    if (OnChange) OnChange(*this, FCol, FRow);
}

void TGridRec::MarkGridDirty() {
    if (FGrid != nullptr) FGrid->MarkDirty();
}

void TGridRec::SetNumber(double Value) {
    if (FFormatType == ftText) return;
    FNumber = Value;
    if (FFormatType == ftVariable) FAlignment = taRightJustify;
    FText = FormatCellNumber(Value, FNumericFormat, FPrecision, FDigits);
    Changed();
}

void TGridRec::Reformat() {
    double Value = 0;
    if (ReadsAsNumber(FText, Value)) FText = FormatCellNumber(Value, FNumericFormat, FPrecision, FDigits);
}

void TGridRec::SetNumericFormat(TNumericFormat Value) {
    FNumericFormat = Value;
    Reformat();
}

void TGridRec::SetPrecision(int Value) {
    FPrecision = Value;
    Reformat();
}

void TGridRec::SetDigits(int Value) {
    FDigits = Value;
    Reformat();
}

void TGridRec::SetFont(const TFont& Value) {
    FFont = Value;
    Changed();
}

void TGridRec::SetCellColor(TColor Value) {
    FCellColor = Value;
    Changed();
}

void TGridRec::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Changed();
}

void TGridRec::SetText(const std::string& Value) {
    switch (FFormatType) {
        case ftText:
            FText = Value;
            break;
        case ftNumeric: {
            std::string Number = Value.empty() ? "0" : Value;
            if (Number.back() == LocaleDecimalSeparator()) Number += '0';
            double Parsed = 0;
            if (!ReadsAsNumber(Number, Parsed)) {
                ShowConvertError(Value);
                break;
            }
            SetNumber(Parsed);
            MarkGridDirty();
            return;
        }
        case ftVariable: {
            double Parsed = 0;
            if (ReadsAsNumber(Value, Parsed)) {
                FFormula.clear();
                FNumber = Parsed;
                FAlignment = taRightJustify;
                FText = FormatCellNumber(Parsed, FNumericFormat, FPrecision, FDigits);
            } else if (!Value.empty() && Value.front() == '=') {
                FFormula = Value.substr(1, MaxFormula);
                FAlignment = taRightJustify;
            } else {
                // A cell that shows no number must not feed a hidden old value into formulas.
                FFormula.clear();
                FNumber = 0;
                FText = Value;
                FAlignment = taLeftJustify;
            }
            MarkGridDirty();
            break;
        }
    }
    Changed();
}

void TGridRec::Assign(const TGridRec& Source) {
    FNumber = Source.FNumber;
    FAlignment = Source.FAlignment;
    FFormatType = Source.FFormatType;
    FNumericFormat = Source.FNumericFormat;
    FFont = Source.FFont;
    FCellColor = Source.FCellColor;
    FPrecision = Source.FPrecision;
    FDigits = Source.FDigits;
    SetText(Source.FText);
}

// ---- TGridList ----

TGridRec* TGridList::Find(int ACol, int ARow) const {
    const auto Found = FIndex.find({ACol, ARow});
    return Found == FIndex.end() ? nullptr : Found->second;
}

TGridRec& TGridList::Cell(int ACol, int ARow) {
    if (TGridRec* Existing = Find(ACol, ARow)) return *Existing;
    auto Rec = std::make_unique<TGridRec>();
    Rec->FCol = ACol;
    Rec->FRow = ARow;
    if (FTemplate != nullptr) Rec->Assign(*FTemplate);
    Rec->FGrid = FGrid;
    TGridRec& Made = *Rec;
    FItems.push_back(std::move(Rec));
    FIndex[{ACol, ARow}] = &Made;
    return Made;
}

void TGridList::Clear() {
    FIndex.clear();
    FItems.clear();
}

// ---- TFormatGrid ----

TFormatGrid::TFormatGrid() : FInitialFormat(std::make_unique<TGridRec>()) {
    FInitialFormat->FCellColor = clWindow;
    FInitialFormat->FAlignment = taLeftJustify;
    FCells = std::make_unique<TGridList>(this, FInitialFormat.get());
}

TFormatGrid::~TFormatGrid() = default;

TGridRec& TFormatGrid::Cell(int ACol, int ARow) {
    TGridRec& Rec = FCells->Cell(ACol, ARow);
    Rec.OnChange = [this](TGridRec&, int C, int R) { InvalidateCell(C, R); };
    return Rec;
}

void TFormatGrid::InvalidateCell(int ACol, int ARow) {
    if (OnInvalidateCell) OnInvalidateCell(ACol, ARow);
}

void TFormatGrid::Invalidate() {
    if (OnInvalidate) OnInvalidate();
}

void TFormatGrid::SetColCount(int Value) {
    FColCount = std::max(Value, FixedCols + 1);
    if (FHeaders) ApplyHeaders();
    Invalidate();
}

void TFormatGrid::SetRowCount(int Value) {
    FRowCount = std::max(Value, FixedRows + 1);
    if (FHeaders) ApplyHeaders();
    Invalidate();
}

void TFormatGrid::SetCurrent(int ACol, int ARow) {
    FCurrentCol = ACol;
    FCurrentRow = ARow;
}

std::string TFormatGrid::ColumnName(int ACol) {
    if (ACol < 1) return {};
    if (ACol <= 26) return std::string(1, static_cast<char>('A' + ACol - 1));
    const int First = (ACol - 1) / 26;
    const int Second = (ACol - 1) % 26;
    // Beyond "ZZ" (702) the first letter runs past "Z"; such grids are not made.
    return {static_cast<char>('A' + First - 1), static_cast<char>('A' + Second)};
}

void TFormatGrid::ApplyHeaders() {
    auto MakeHeader = [this](int C, int R, const std::string& Text) {
        TGridRec& Rec = Cell(C, R);
        Rec.SetFormatType(ftText);
        Rec.SetText(Text);
        TFont Bold = Rec.GetFont();
        Bold.Style |= fsBold;
        Rec.SetFont(Bold);
        Rec.SetAlignment(taCenter);
    };
    for (int C = 1; C < FColCount; ++C) MakeHeader(C, 0, ColumnName(C));
    for (int R = 1; R < FRowCount; ++R) MakeHeader(0, R, IntToStr(R));
}

void TFormatGrid::ClearHeaders() {
    for (int C = 1; C < FColCount; ++C) Cell(C, 0).Assign(*FInitialFormat);
    for (int R = 1; R < FRowCount; ++R) Cell(0, R).Assign(*FInitialFormat);
}

void TFormatGrid::SetHeaders(bool Value) {
    if (Value == FHeaders) return;
    FHeaders = Value;
    if (Value)
        ApplyHeaders();
    else
        ClearHeaders();
    Invalidate();
}

void TFormatGrid::SetFixedFont(const TFont& Value) {
    FFixedFont = Value;
    Invalidate();
}

// ---- Recalculation ----

void TFormatGrid::Recalculate() {
    THourGlassCursor Cursor;
    FDirty = false;
    FCircular = false;
    auto ClearBusy = [this] {
        for (int I = 0; I < FCells->Count(); ++I) FCells->Items(I).FBusy = false;
        Invalidate();  // the cells evaluated before the error show their new values
    };
    try {
        for (int C = 0; C < FColCount; ++C)
            for (int R = 0; R < FRowCount; ++R) CalculateCell(Cell(C, R));
    } catch (const EGridCircularReference&) {
        ClearBusy();
        throw;
    } catch (const EError& E) {
        ClearBusy();
        // The evaluator passes a resolver's error on as a plain error with its own prefix; the kind
        // is kept so that callers can tell a circular reference apart.
        if (FCircular) throw EGridCircularReference(E.what());
        throw;
    } catch (...) {
        ClearBusy();
        throw;
    }
    Invalidate();
    if (OnCalculate) OnCalculate(*this);
}

void TFormatGrid::CalculateCell(TGridRec& Rec) {
    if (Rec.FBusy) {
        FCircular = true;
        throw EGridCircularReference("Unable to handle circular references");
    }
    if (Rec.FFormula.empty()) return;
    Rec.FBusy = true;
    struct TBusyMark {
        TGridRec& Rec;
        ~TBusyMark() { Rec.FBusy = false; }
    } Mark{Rec};
    const double Value =
        Evaluate(Rec.FFormula, [this](const std::string& Name, double) { return ResolveReference(Name); });
    Rec.FNumber = Value;
    Rec.FText = FormatCellNumber(Value, Rec.FNumericFormat, Rec.FPrecision, Rec.FDigits);
}

double TFormatGrid::ResolveReference(const std::string& Name) {
    const std::size_t Digit = Name.find_first_of("0123456789");
    auto Unknown = [&] { return EExpressionFunctionNotFound("Unknown function - " + Name); };
    if (Digit != 1 && Digit != 2) throw Unknown();
    int Col = 0;
    for (std::size_t I = 0; I < Digit; ++I) {
        if (Name[I] < 'A' || Name[I] > 'Z') throw Unknown();
        Col = Col * 26 + (Name[I] - 'A' + 1);
    }
    int Row = 0;
    const std::string Rest = Name.substr(Digit);
    if (Rest.find_first_not_of("0123456789") != std::string::npos || !TryStrToInt(Rest, Row)) throw Unknown();
    TGridRec& Rec = Cell(Col, Row);
    CalculateCell(Rec);
    return Rec.FNumber;
}

// ---- Editing ----

std::string TFormatGrid::GetEditText(int ACol, int ARow) {
    const TGridRec& Rec = Cell(ACol, ARow);
    return Rec.FFormula.empty() ? Rec.FText : "=" + Rec.FFormula;
}

void TFormatGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
    TGridRec& Rec = Cell(ACol, ARow);
    if (Value != Rec.GetText()) Rec.SetText(Value);
}

void TFormatGrid::FinishStep() {
    if (OnFinishEditing) OnFinishEditing(*this, FCurrentCol, FCurrentRow);
    if (AutoCalculate) Recalculate();
}

bool TFormatGrid::KeyDown(TKeyCode Key, TShiftState Shift) {
    const bool Ctrl = (Shift & ssCtrl) != 0;
    if (Ctrl && (Key == 'C' || Key == 'X')) {
        TGridRec& Rec = Cell(FCurrentCol, FCurrentRow);
        TextClipboard().SetText(Rec.GetText().substr(0, MaxClipboardText));
        if (Key == 'X') Rec.SetText("");
    } else if (Ctrl && Key == 'V') {
        Cell(FCurrentCol, FCurrentRow).SetText(TextClipboard().GetText().substr(0, MaxClipboardText));
    } else if (Key == VK_DELETE && !Ctrl) {
        Cell(FCurrentCol, FCurrentRow).SetText("");
    } else {
        return false;
    }
    FinishStep();
    return true;
}

void TFormatGrid::EditorMoved(int ACol, int ARow) {
    if (OnFinishEditing) OnFinishEditing(*this, ACol, ARow);
    if (AutoCalculate) Recalculate();
}

void TFormatGrid::EditorReturned() {
    if (FDirty && AutoCalculate) Recalculate();
    if (OnFinishEditing) OnFinishEditing(*this, FCurrentCol, FCurrentRow);
}

// ---- Stored cells ----

std::vector<TGridCellRecord> TFormatGrid::SaveCells() {
    std::vector<TGridCellRecord> Records;
    for (int C = 0; C < FColCount; ++C)
        for (int R = 0; R < FRowCount; ++R) {
            const TGridRec& Rec = Cell(C, R);
            TGridCellRecord S;
            S.Alignment = Rec.FAlignment;
            S.CellColor = static_cast<int>(Rec.FCellColor);
            S.Precision = Rec.FPrecision;
            S.Digits = Rec.FDigits;
            S.FontColor = static_cast<int>(Rec.FFont.Color);
            S.FontName = Rec.FFont.Name;
            S.FontSize = Rec.FFont.Size;
            S.FontStyle = FontStyleToInteger(Rec.FFont.Style);
            S.FormatType = Rec.FFormatType;
            S.NumericFormat = Rec.FNumericFormat;
            S.Number = Rec.FNumber;
            S.Text = Rec.FFormula.empty() ? Rec.FText : "=" + Rec.FFormula;
            Records.push_back(std::move(S));
        }
    return Records;
}

void TFormatGrid::LoadCells(const std::vector<TGridCellRecord>& Records) {
    std::size_t Next = 0;
    for (int C = 0; C < FColCount; ++C)
        for (int R = 0; R < FRowCount && Next < Records.size(); ++R) {
            const TGridCellRecord& S = Records[Next++];
            TGridRec& Rec = Cell(C, R);
            Rec.FAlignment = S.Alignment == 1 ? taRightJustify : S.Alignment == 2 ? taCenter : taLeftJustify;
            Rec.FCellColor = static_cast<TColor>(S.CellColor);
            Rec.FPrecision = S.Precision;
            Rec.FDigits = S.Digits;
            Rec.FFont = TFont{S.FontName, S.FontSize, IntegerToFontStyle(S.FontStyle), static_cast<TColor>(S.FontColor)};
            Rec.FFormatType = S.FormatType == 1 ? ftText : S.FormatType == 2 ? ftNumeric : ftVariable;
            Rec.FNumericFormat = S.NumericFormat >= 1 && S.NumericFormat <= 4 ? S.NumericFormat : ffGeneral;
            Rec.FFormula.clear();
            if (Rec.FFormatType == ftNumeric) {
                Rec.FNumber = S.Number;
                Rec.FText = FormatCellNumber(S.Number, Rec.FNumericFormat, Rec.FPrecision, Rec.FDigits);
            } else {
                // Shown as stored: a formula written as "=..." comes back as its text.
                Rec.FText = S.Text;
            }
        }
    Invalidate();
}

}  // namespace sarnova
