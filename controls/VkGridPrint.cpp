#include "controls/VkGridPrint.h"

#include <algorithm>
#include <climits>

#include "foundation/Errors.h"
#include "controls/VkGridModel.h"

namespace sarnova {

namespace {

int ToInt(long long Value) { return static_cast<int>(std::clamp<long long>(Value, INT_MIN, INT_MAX)); }

}  // namespace

// ---- TVkGridPagePrintOptions ----

void TVkGridPagePrintOptions::SetWideFitPages(int Value) {
    if (Value == FWideFitPages) return;
    FWideFitPages = Value;
    FFitPages |= fpWide;
    Changed();
}

void TVkGridPagePrintOptions::SetHighFitPages(int Value) {
    if (Value == FHighFitPages) return;
    FHighFitPages = Value;
    FFitPages |= fpHigh;
    Changed();
}

void TVkGridPagePrintOptions::SetScale(int Value) {
    if (Value == FScale) return;
    FScale = Value;
    FFitPages = 0;
    Changed();
}

void TVkGridPagePrintOptions::SetRowSpaces(int Value) {
    if (Value == FRowSpaces) return;
    FRowSpaces = Value;
    Changed();
}

void TVkGridPagePrintOptions::SetFitPages(TVkGridPrintFitPages Value) {
    if (Value == FFitPages) return;
    FFitPages = Value;
    Changed();
}

void TVkGridPagePrintOptions::SetRowHeaders(bool Value) {
    if (Value == FRowHeaders) return;
    FRowHeaders = Value;
    Changed();
}

void TVkGridPagePrintOptions::SetColumnHeaders(bool Value) {
    if (Value == FColumnHeaders) return;
    FColumnHeaders = Value;
    Changed();
}

void TVkGridPagePrintOptions::Assign(const TVkGridPagePrintOptions& Source) {
    PrintDirection = Source.PrintDirection;
    FWideFitPages = Source.FWideFitPages;
    FHighFitPages = Source.FHighFitPages;
    FScale = Source.FScale;
    FFitPages = Source.FFitPages;
    FRowHeaders = Source.FRowHeaders;
    FColumnHeaders = Source.FColumnHeaders;
    GridLines = Source.GridLines;
    CellColors = Source.CellColors;
    FRowSpaces = Source.FRowSpaces;
    Changed();
}

// ---- TVkGridPagePrintManager ----

TVkGridPagePrintManager::TVkGridPagePrintManager(TVkGridModel& Grid) : FGrid(Grid) {}

TVkGridPagePrintManager::~TVkGridPagePrintManager() { EndPagination(); }

void TVkGridPagePrintManager::Changed() {
    if (FPaginating) EndPagination();
}

IVkGridPrinter& TVkGridPagePrintManager::Printer() const {
    IVkGridPrinter* P = FGrid.GetPrinter();
    if (!P) throw EError("TVkGridPagePrintManager - No printer");
    return *P;
}

int TVkGridPagePrintManager::PrintedWidth(int Column) const {
    return ToInt(static_cast<long long>(FGrid.Column(Column).GetWidth()) * FPrintRatio * FScale / 100000);
}

int TVkGridPagePrintManager::PrintedHeight(int Row) const {
    return ToInt(static_cast<long long>(FGrid.Row(Row).GetHeight()) * FPrintRatio * FScale / 100000);
}

int TVkGridPagePrintManager::RowGap() const {
    return ToInt(static_cast<long long>(FGrid.GetRowHeight()) * FPrintRatio * FScale / 100000);
}

void TVkGridPagePrintManager::BeginPagination() {
    if (FPaginating) throw EError("TVkGridPagePrintManager.BeginPagination - Already Paginating");
    IVkGridPrinter& P = Printer();
    const std::string Sample = "TVkGridPagePrintManager";
    const int Screen = FGrid.ScreenTextWidth(FGrid.GetFont(), Sample);
    FPrintRatio = std::max(1, ToInt(static_cast<long long>(P.TextWidth(FGrid.GetFont(), Sample)) * 1000 /
                                    std::max(1, Screen)));
    if (FFitPages != 0) {
        int A = 0;
        if (FFitPages == fpWide)
            A = FitWideScale();
        else if (FFitPages == fpHigh)
            A = FitHighScale();
        else
            A = std::min(FitWideScale(), FitHighScale());
        // A page too small for any scale still prints at 1 %, rather than at nothing.
        FScale = std::clamp(A, 1, 100);
    }
    FPaginating = true;
    try {
        CreateRanges();
        PaginateColumns();
        PaginateRows();
    } catch (...) {
        EndPagination();
        throw;
    }
}

void TVkGridPagePrintManager::EndPagination() {
    FRowBands.clear();
    FColumnBands.clear();
    FRangesExist = false;
    FPaginating = false;
}

void TVkGridPagePrintManager::CreateRanges() {
    if (FRangesExist) throw EError("TVkGridPagePrintManager.CreateRanges - Cell ranges already exist");
    FRowBands.clear();
    FColumnBands.clear();
    FRangesExist = true;
}

int TVkGridPagePrintManager::FitWideScale() const {
    const long long Available = static_cast<long long>(Printer().PageWidth()) * 1000 / std::max(1, FPrintRatio);
    long long Needed = 0;
    for (int C = FGrid.GetFixedColumns(); C < FGrid.GetColCount(); ++C) Needed += FGrid.Column(C).GetWidth();
    if (FRowHeaders)
        for (int C = 0; C < std::min(FGrid.GetFixedColumns(), FGrid.GetColCount()); ++C)
            Needed += static_cast<long long>(FWideFitPages) * FGrid.Column(C).GetWidth();
    // Nothing to fit: the scale stays as it is.
    if (Needed <= 0) return 100;
    return ToInt(static_cast<long long>(FWideFitPages) * 100 * Available / Needed);
}

int TVkGridPagePrintManager::FitHighScale() const {
    const long long Available = static_cast<long long>(Printer().PageHeight()) * 1000 / std::max(1, FPrintRatio);
    long long Needed = 0;
    for (int R = FGrid.GetFixedRows(); R < FGrid.GetRowCount(); ++R) Needed += FGrid.Row(R).GetHeight();
    if (FColumnHeaders)
        for (int R = 0; R < std::min(FGrid.GetFixedRows(), FGrid.GetRowCount()); ++R)
            Needed += static_cast<long long>(FHighFitPages) * FGrid.Row(R).GetHeight();
    if (FRowSpaces > 0)
        Needed += static_cast<long long>(FGrid.GetRowCount() - FGrid.GetFixedRows()) * FGrid.GetRowHeight() / FRowSpaces;
    if (Needed <= 0) return 100;
    return ToInt(static_cast<long long>(FHighFitPages) * 100 * Available / Needed);
}

// A column wider than the page gets a band of its own and is cut at the page edge; a band never
// starts before it holds a column, so no page is printed with headers alone.
void TVkGridPagePrintManager::PaginateColumns() {
    const int PageWidth = Printer().PageWidth();
    const int Fixed = std::min(FGrid.GetFixedColumns(), FGrid.GetColCount());
    long long Header = 0;
    if (FRowHeaders)
        for (int C = 0; C < Fixed; ++C) Header += PrintedWidth(C);
    if (Header > PageWidth)
        throw EError(
            "TVkGridPagePrintManager.PaginateColumns - The print width of the columns headers is greater than the "
            "width of the page");
    FColumnBands.assign(1, FGrid.GetFixedColumns());
    long long X = Header;
    for (int I = FGrid.GetFixedColumns(); I < FGrid.GetColCount(); ++I) {
        X += PrintedWidth(I);
        if (X > PageWidth && I != FColumnBands.back()) {
            FColumnBands.push_back(I);
            X = Header + PrintedWidth(I);
        }
    }
}

// The grid's last row never opens a page of its own: it stays on the page before.
void TVkGridPagePrintManager::PaginateRows() {
    const int PageHeight = Printer().PageHeight();
    const int Fixed = std::min(FGrid.GetFixedRows(), FGrid.GetRowCount());
    long long Header = 0;
    if (FColumnHeaders)
        for (int R = 0; R < Fixed; ++R) Header += PrintedHeight(R);
    if (Header > PageHeight)
        throw EError(
            "TVkGridPagePrintManager.PaginateRows - The print height of the rows headers is greater than the height "
            "of the page");
    FRowBands.assign(1, FGrid.GetFixedRows());
    long long Y = Header;
    int N = 0;
    const int Last = FGrid.GetRowCount() - 1;
    for (int I = FGrid.GetFixedRows(); I <= Last; ++I) {
        Y += PrintedHeight(I);
        if (Y > PageHeight && I != Last && I != FRowBands.back()) {
            FRowBands.push_back(I);
            Y = Header + PrintedHeight(I);
            N = 1;
        } else {
            ++N;
        }
        if (FRowSpaces > 0 && N % FRowSpaces == 0) Y += RowGap();
    }
}

int TVkGridPagePrintManager::GetPageCount() const {
    if (!FPaginating) throw EError("TVkGridPagePrintManager.GetPageCount - Pages not available (not paginating)");
    return static_cast<int>(FRowBands.size() * FColumnBands.size());
}

TVkGridRect TVkGridPagePrintManager::GetPageCellRange(int PageIndex) const {
    const int Count = GetPageCount();
    if (PageIndex < 0 || PageIndex >= Count)
        throw EError("TVkGridPagePrintManager.GetPageCellRange - Index out of range");
    const int ColumnBandCount = static_cast<int>(FColumnBands.size());
    const int RowBandCount = static_cast<int>(FRowBands.size());
    int RowBand = 0;
    int ColumnBand = 0;
    if (PrintDirection == pdAcrossFirst) {
        RowBand = PageIndex / ColumnBandCount;
        ColumnBand = PageIndex % ColumnBandCount;
    } else {
        RowBand = PageIndex % RowBandCount;
        ColumnBand = PageIndex / RowBandCount;
    }
    auto BandEnd = [](const std::vector<int>& Bands, int Band, int Count) {
        return Band + 1 < static_cast<int>(Bands.size()) ? Bands[static_cast<size_t>(Band) + 1] - 1 : Count - 1;
    };
    return {FColumnBands[static_cast<size_t>(ColumnBand)], FRowBands[static_cast<size_t>(RowBand)],
            BandEnd(FColumnBands, ColumnBand, FGrid.GetColCount()), BandEnd(FRowBands, RowBand, FGrid.GetRowCount())};
}

int TVkGridPagePrintManager::PrintPage(const TVkGridRect& Range) {
    const int FixedColumns = std::min(FGrid.GetFixedColumns(), FGrid.GetColCount());
    const int FixedRows = std::min(FGrid.GetFixedRows(), FGrid.GetRowCount());
    const TFont& FixedFont = FGrid.GetFixedFont();
    const TFont& Font = FGrid.GetFont();
    int X0 = 0;
    int Y = 0;
    // The corner above the row headers and left of the column headers.
    if (FRowHeaders && FColumnHeaders) {
        for (int R = 0; R < FixedRows; ++R) {
            int X = 0;
            const int H = PrintedHeight(R);
            for (int C = 0; C < FixedColumns; ++C) {
                std::uint8_t Edges = 0;
                if (C == 0) Edges |= ceLeft;
                if (C == FixedColumns - 1) Edges |= ceRight;
                if (R == 0) Edges |= ceTop;
                if (R == FixedRows - 1) Edges |= ceBottom;
                const int W = PrintedWidth(C);
                PrintCell(C, R, {X, Y, X + W, Y + H}, Edges, FixedFont);
                X += W;
            }
            X0 = X;
            Y += H;
        }
    }
    if (FColumnHeaders) {
        Y = 0;
        for (int R = 0; R < FixedRows; ++R) {
            int X = X0;
            const int H = PrintedHeight(R);
            for (int C = Range.Left; C <= Range.Right; ++C) {
                std::uint8_t Edges = 0;
                if (R == 0) Edges |= ceTop;
                if (R == FixedRows - 1) Edges |= ceBottom;
                if (C == Range.Right && FRowHeaders) Edges |= ceRight;
                const int W = PrintedWidth(C);
                PrintCell(C, R, {X, Y, X + W, Y + H}, Edges, FixedFont);
                X += W;
            }
            Y += H;
        }
    }
    const int LastRow = FGrid.GetRowCount() - 1;
    const int PenWidth = ToInt(static_cast<long long>(FScale) * FPrintRatio / 100000);
    int N = 0;
    for (int R = Range.Top; R <= Range.Bottom; ++R) {
        int X = 0;
        const int H = PrintedHeight(R);
        if (FRowHeaders)
            for (int C = 0; C < FixedColumns; ++C) {
                std::uint8_t Edges = 0;
                if (C == 0) Edges |= ceLeft;
                if (C == FixedColumns - 1) Edges |= ceRight;
                if (R == Range.Bottom) Edges |= ceBottom;
                const int W = PrintedWidth(C);
                PrintCell(C, R, {X, Y, X + W, Y + H}, Edges, FixedFont);
                X += W;
            }
        for (int C = Range.Left; C <= Range.Right; ++C) {
            std::uint8_t Edges = 0;
            if (R == Range.Bottom && FColumnHeaders) Edges |= ceBottom;
            if (C == Range.Right && FRowHeaders) Edges |= ceRight;
            const int W = PrintedWidth(C);
            PrintCell(C, R, {X, Y, X + W, Y + H}, Edges, Font);
            X += W;
        }
        Y += H;
        ++N;
        if (R != LastRow && FRowSpaces > 0 && N % FRowSpaces == 0) {
            const int Gap = RowGap();
            if (FRowHeaders && !GridLines) {
                IVkGridPrinter& P = Printer();
                for (int LineX : {0, X0, X}) P.Line(LineX, Y, LineX, Y + Gap, PenWidth);
            }
            Y += Gap;
        }
    }
    return Y;
}

void TVkGridPagePrintManager::PrintCell(int Column, int Row, const TRect& Rect, std::uint8_t Edges,
                                        const TFont& Font) {
    IVkGridPrinter& P = Printer();
    TVkCell& Cell = FGrid.Cell(Column, Row);
    TFont CellFont = Font;
    CellFont.Size = ToInt(static_cast<long long>(Font.Size) * FScale / 100);
    const TRect TextRect{Rect.Left, Rect.Top, Rect.Right - 1, Rect.Bottom - 1};
    if (CellColors && !Cell.ParentColor) P.FillRect(TextRect, Cell.GetColor());
    if (!Cell.ParentTextColor) CellFont.Color = Cell.GetTextColor();
    if (!Cell.ParentFontStyle) CellFont.Style = Cell.GetFontStyle();
    P.DrawText(TextRect, Cell.DisplayText(), CellFont, Cell.DrawAlignment());
    if (GridLines) Edges = ceAll;
    if (Edges == 0) return;
    const TRect E{Rect.Left, Rect.Top, Rect.Right + 1, Rect.Bottom + 1};
    const int PenWidth = ToInt(static_cast<long long>(FScale) * FPrintRatio / 100000);
    if (Edges == ceAll) {
        P.FrameRect(E, PenWidth);
        return;
    }
    if (Edges & ceLeft) P.Line(E.Left, E.Top, E.Left, E.Bottom, PenWidth);
    if (Edges & ceTop) P.Line(E.Left, E.Top, E.Right, E.Top, PenWidth);
    if (Edges & ceRight) P.Line(E.Right, E.Top, E.Right, E.Bottom, PenWidth);
    if (Edges & ceBottom) P.Line(E.Left, E.Bottom, E.Right, E.Bottom, PenWidth);
}

void TVkGridPagePrintManager::PrintGrid(const std::string& Title) {
    EndPagination();
    BeginPagination();
    IVkGridPrinter& P = Printer();
    try {
        P.SetTitle(Title);
        P.BeginDoc();
    } catch (...) {
        EndPagination();
        throw;
    }
    try {
        const int Count = GetPageCount();
        for (int I = 0; I < Count; ++I) {
            PrintPage(GetPageCellRange(I));
            if (I < Count - 1) P.NewPage();
        }
    } catch (...) {
        P.EndDoc();
        EndPagination();
        throw;
    }
    P.EndDoc();
    EndPagination();
}

}  // namespace sarnova
