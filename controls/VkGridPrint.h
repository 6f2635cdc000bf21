// Printing a grid: the options behind the grid's PrintOptions, and the manager that scales the grid,
// splits it into page bands, repeats the header rows and columns on every page and prints through a
// printer interface. No toolkit header: the Qt printer is behind IVkGridPrinter, tests record it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Colors.h"
#include "platform/Font.h"
#include "foundation/Types.h"

namespace sarnova {

class TVkGridModel;
struct TVkGridRect;

enum TVkGridPrintDirection : std::uint8_t { pdDownFirst, pdAcrossFirst };

// Set of fpWide and fpHigh.
enum TVkGridPrintFitPage : std::uint8_t { fpWide = 1, fpHigh = 2 };
using TVkGridPrintFitPages = std::uint8_t;

// Edges of a printed cell that get a line, as a set.
enum TVkGridCellEdge : std::uint8_t { ceLeft = 1, ceTop = 2, ceRight = 4, ceBottom = 8, ceAll = 15 };

// The printer as the grid sees it: one job of pages, printer pixels with (0, 0) at the top-left corner
// of the printable area, text in a font, filled rectangles and black lines.
class IVkGridPrinter {
public:
    virtual ~IVkGridPrinter() = default;
    // Whether a job is under way.
    virtual bool Printing() const = 0;
    virtual void SetTitle(const std::string& Title) = 0;
    virtual void BeginDoc() = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    // The printable page in printer pixels.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    virtual int TextWidth(const TFont& Font, const std::string& Text) = 0;
    virtual void FillRect(const TRect& Rect, TColor Color) = 0;
    // One line of text in Font (its colour and style), centred vertically in Rect, placed left (0),
    // centred (1) or right (2); nothing behind it is painted.
    virtual void DrawText(const TRect& Rect, const std::string& Text, const TFont& Font, int Alignment) = 0;
    // Black lines PenWidth pixels wide.
    virtual void Line(int X0, int Y0, int X1, int Y1, int PenWidth) = 0;
    virtual void FrameRect(const TRect& Rect, int PenWidth) = 0;
};

class TVkGridPagePrintOptions {
public:
    virtual ~TVkGridPagePrintOptions() = default;

    int GetWideFitPages() const { return FWideFitPages; }
    // On a change also adds fpWide to FitPages.
    void SetWideFitPages(int Value);
    int GetHighFitPages() const { return FHighFitPages; }
    // On a change also adds fpHigh to FitPages.
    void SetHighFitPages(int Value);
    int GetScale() const { return FScale; }
    // Percent. On a change also empties FitPages.
    void SetScale(int Value);
    int GetRowSpaces() const { return FRowSpaces; }
    // When positive, a blank gap after every RowSpaces rows of a page.
    void SetRowSpaces(int Value);
    TVkGridPrintFitPages GetFitPages() const { return FFitPages; }
    void SetFitPages(TVkGridPrintFitPages Value);
    bool GetRowHeaders() const { return FRowHeaders; }
    // The fixed columns at the left of every page.
    void SetRowHeaders(bool Value);
    bool GetColumnHeaders() const { return FColumnHeaders; }
    // The fixed rows at the top of every page.
    void SetColumnHeaders(bool Value);

    TVkGridPrintDirection PrintDirection = pdAcrossFirst;
    bool GridLines = false;   // every printed cell framed
    bool CellColors = true;   // cells with a colour of their own are filled with it

    // Copies all ten values, then Changed.
    void Assign(const TVkGridPagePrintOptions& Source);
    virtual void Changed() {}

protected:
    int FWideFitPages = 1;
    int FHighFitPages = 1;
    int FScale = 100;
    int FRowSpaces = 0;
    TVkGridPrintFitPages FFitPages = 0;
    bool FRowHeaders = false;
    bool FColumnHeaders = false;
};

class TVkGridPagePrintManager : public TVkGridPagePrintOptions {
public:
    explicit TVkGridPagePrintManager(TVkGridModel& Grid);
    ~TVkGridPagePrintManager() override;

    // Ends the pagination: the page bands no longer match the options.
    void Changed() override;

    // Measures the print ratio, fits the scale when FitPages asks for it (never above 100) and splits
    // the grid into page bands. Throws "TVkGridPagePrintManager.BeginPagination - Already Paginating".
    void BeginPagination();
    void EndPagination();
    bool IsPaginating() const { return FPaginating; }
    void CreateRanges();
    void PaginateColumns();
    void PaginateRows();
    int GetPageCount() const;
    TVkGridRect GetPageCellRange(int PageIndex) const;
    int FitWideScale() const;
    int FitHighScale() const;
    // Prints the cells of Range on the current page; answers the bottom of what was printed.
    int PrintPage(const TVkGridRect& Range);
    void PrintCell(int Column, int Row, const TRect& Rect, std::uint8_t Edges, const TFont& Font);
    // One print job of every page; the job and the pagination are ended also when printing fails.
    void PrintGrid(const std::string& Title);

    // Printer pixels per 1000 screen pixels.
    int GetPrintRatio() const { return FPrintRatio; }
    // First column (row) of each page band, in order.
    const std::vector<int>& ColumnBands() const { return FColumnBands; }
    const std::vector<int>& RowBands() const { return FRowBands; }

    int PrintedWidth(int Column) const;
    int PrintedHeight(int Row) const;

private:
    IVkGridPrinter& Printer() const;
    int RowGap() const;

    TVkGridModel& FGrid;
    bool FPaginating = false;
    bool FRangesExist = false;
    std::vector<int> FRowBands;
    std::vector<int> FColumnBands;
    int FPrintRatio = 1000;
};

}  // namespace sarnova
