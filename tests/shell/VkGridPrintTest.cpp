// Printing a grid without printer: options, fitting, page bands, gaps and the print job.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "foundation/TextUtils.h"
#include "controls/VkGridModel.h"
#include "shell/VkGridTestSupport.h"

namespace sarnova {
namespace {

// A printer whose text is 10 pixels a character at a print ratio of Ratio, and that records the job.
class TRecordingPrinter : public IVkGridPrinter {
public:
    int Width = 1000;
    int Height = 1000;
    int Ratio = 1000;
    bool Busy = false;
    int FailOnText = -1;  // throws on this DrawText call
    std::string Title;
    int Begun = 0;
    int Ended = 0;
    int NewPages = 0;
    int TextCalls = 0;
    std::vector<std::tuple<int, int, int, int>> Lines;
    std::vector<TRect> Frames;
    std::vector<std::pair<TRect, TColor>> Fills;

    bool Printing() const override { return Busy; }
    void SetTitle(const std::string& Value) override { Title = Value; }
    void BeginDoc() override { ++Begun; }
    void NewPage() override { ++NewPages; }
    void EndDoc() override { ++Ended; }
    int PageWidth() const override { return Width; }
    int PageHeight() const override { return Height; }
    int TextWidth(const TFont&, const std::string& Text) override {
        return static_cast<int>(Text.size()) * 10 * Ratio / 1000;
    }
    void FillRect(const TRect& Rect, TColor Color) override { Fills.emplace_back(Rect, Color); }
    void DrawText(const TRect&, const std::string&, const TFont&, int) override {
        if (TextCalls++ == FailOnText) throw std::runtime_error("paper jam");
    }
    void Line(int X0, int Y0, int X1, int Y1, int) override { Lines.emplace_back(X0, Y0, X1, Y1); }
    void FrameRect(const TRect& Rect, int) override { Frames.push_back(Rect); }
};

class TPrintGrid : public TVkGridModel {
public:
    TRecordingPrinter Printer;
    TPrintGrid() { SetPrinter(&Printer); }
    int ScreenTextWidth(const TFont&, const std::string& Text) override { return static_cast<int>(Text.size()) * 10; }
};

TEST(VkGridPrintOptions, WritesThatChangeTheFitting) {
    TPrintGrid G;
    TVkGridPagePrintManager& O = G.PrintOptions();
    O.SetFitPages(fpHigh);
    O.SetScale(80);
    EXPECT_EQ(O.GetFitPages(), 0);
    O.SetWideFitPages(2);
    EXPECT_EQ(O.GetFitPages(), fpWide);
    O.SetHighFitPages(3);
    EXPECT_EQ(O.GetFitPages(), fpWide | fpHigh);

    // A change of the options ends a pagination under way.
    O.BeginPagination();
    EXPECT_TRUE(O.IsPaginating());
    TVkGridPagePrintOptions Other;
    Other.SetRowSpaces(4);
    Other.GridLines = true;
    G.SetPrintOptions(&Other);
    EXPECT_FALSE(O.IsPaginating());
    EXPECT_EQ(O.GetRowSpaces(), 4);
    EXPECT_TRUE(O.GridLines);
    EXPECT_EQ(O.GetScale(), 100);
}

TEST(VkGridPrintOptions, FittingNeverEnlarges) {
    // Six data columns of 64 pixels: 384 pixels of data.
    const std::pair<int, int> Cases[] = {{768, 100}, {384, 100}, {192, 50}, {96, 25}};
    for (auto [PageWidth, Scale] : Cases) {
        TPrintGrid G;
        G.Printer.Width = PageWidth;
        G.PrintOptions().SetFitPages(fpWide);
        G.PrintOptions().BeginPagination();
        EXPECT_EQ(G.PrintOptions().GetScale(), Scale) << PageWidth;
        EXPECT_EQ(G.PrintOptions().GetFitPages(), fpWide);
    }
    TPrintGrid G;
    G.Printer.Ratio = 2000;
    G.PrintOptions().BeginPagination();
    EXPECT_EQ(G.PrintOptions().GetPrintRatio(), 2000);
    EXPECT_EQ(G.PrintOptions().PrintedWidth(1), 128);
}

TEST(VkGridPagination, PagesRunAcrossOrDownFirst) {
    TPrintGrid G;
    G.Printer.Width = 130;  // two columns a page
    G.Printer.Height = 80;  // three rows a page
    TVkGridPagePrintManager& M = G.PrintOptions();
    M.BeginPagination();
    EXPECT_EQ(M.ColumnBands(), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(M.RowBands(), (std::vector<int>{1, 4}));
    EXPECT_EQ(M.GetPageCount(), 6);
    EXPECT_EQ(M.GetPageCellRange(4), (TVkGridRect{3, 4, 4, 6}));
    M.PrintDirection = pdDownFirst;
    EXPECT_EQ(M.GetPageCellRange(4), (TVkGridRect{5, 1, 6, 3}));
    EXPECT_EQ(ErrorOf([&] { M.GetPageCellRange(6); }), "TVkGridPagePrintManager.GetPageCellRange - Index out of range");
    EXPECT_EQ(ErrorOf([&] { M.BeginPagination(); }), "TVkGridPagePrintManager.BeginPagination - Already Paginating");
    M.EndPagination();
    EXPECT_EQ(ErrorOf([&] { M.GetPageCount(); }),
              "TVkGridPagePrintManager.GetPageCount - Pages not available (not paginating)");
}

TEST(VkGridPagination, TheLastRowNeverOpensAPage) {
    TPrintGrid G;
    G.Printer.Height = 100;  // four rows a page
    G.SetSize(2, 6);         // five data rows
    G.PrintOptions().BeginPagination();
    EXPECT_EQ(G.PrintOptions().RowBands(), (std::vector<int>{1}));
    G.PrintOptions().EndPagination();
    G.SetRowCount(7);
    G.PrintOptions().BeginPagination();
    EXPECT_EQ(G.PrintOptions().RowBands(), (std::vector<int>{1, 5}));
}

TEST(VkGridPagination, ColumnsWiderThanThePageGetABandEachAndNoPageIsEmpty) {
    TPrintGrid G;
    G.Printer.Width = 50;
    G.PrintOptions().BeginPagination();
    EXPECT_EQ(G.PrintOptions().ColumnBands(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(G.PrintOptions().GetPageCellRange(0), (TVkGridRect{1, 1, 1, 6}));
}

TEST(VkGridPagination, HeadersWiderThanThePageCannotBePrinted) {
    TPrintGrid G;
    G.Printer.Width = 50;
    G.PrintOptions().SetRowHeaders(true);
    EXPECT_EQ(ErrorOf([&] { G.PrintOptions().BeginPagination(); }),
              "TVkGridPagePrintManager.PaginateColumns - The print width of the columns headers is greater than "
              "the width of the page");
    EXPECT_FALSE(G.PrintOptions().IsPaginating());
    G.PrintOptions().SetRowHeaders(false);
    G.Printer.Height = 20;
    G.PrintOptions().SetColumnHeaders(true);
    EXPECT_EQ(ErrorOf([&] { G.PrintOptions().BeginPagination(); }),
              "TVkGridPagePrintManager.PaginateRows - The print height of the rows headers is greater than the "
              "height of the page");
}

// The vertical lines RowHeaders draws through each gap: as long as a row is high.
std::vector<int> GapTops(const TRecordingPrinter& P, int Gap) {
    std::vector<int> Tops;
    for (auto [X0, Y0, X1, Y1] : P.Lines)
        if (X0 == X1 && Y1 - Y0 == Gap && (Tops.empty() || Tops.back() != Y0)) Tops.push_back(Y0);
    return Tops;
}

TEST(VkGridPrintPage, RowSpacesLeaveGapsButNotAfterTheLastRow) {
    const std::tuple<int, std::vector<int>, int> Cases[] = {
        {12, {120, 264}, 12 * 24 + 2 * 24},
        {10, {120}, 10 * 24 + 24},
    };
    for (const auto& [DataRows, Tops, Bottom] : Cases) {
        TPrintGrid G;
        G.Printer.Height = 2000;
        G.SetSize(3, DataRows + 1);
        TVkGridPagePrintManager& M = G.PrintOptions();
        M.SetRowSpaces(5);
        M.SetRowHeaders(true);
        M.BeginPagination();
        ASSERT_EQ(M.GetPageCount(), 1);
        EXPECT_EQ(M.PrintPage(M.GetPageCellRange(0)), Bottom) << DataRows;
        EXPECT_EQ(GapTops(G.Printer, 24), Tops) << DataRows;
    }
}

TEST(VkGridPrintPage, CellsAreFramedFilledAndEdged) {
    TPrintGrid G;
    G.SetSize(3, 3);
    G.Row(1).SetColor(clRed);
    TVkGridPagePrintManager& M = G.PrintOptions();
    M.GridLines = true;
    M.BeginPagination();
    M.PrintPage(M.GetPageCellRange(0));
    ASSERT_EQ(G.Printer.Frames.size(), 4u);  // the data cells only: no headers asked for
    EXPECT_EQ(G.Printer.Frames[0], (TRect{0, 0, 65, 25}));
    ASSERT_EQ(G.Printer.Fills.size(), 2u);
    EXPECT_EQ(G.Printer.Fills[0].second, clRed);
    EXPECT_EQ(G.Printer.Fills[0].first, (TRect{0, 0, 63, 23}));

    // Without grid lines and headers a page has no lines at all.
    TPrintGrid Plain;
    Plain.PrintOptions().BeginPagination();
    Plain.PrintOptions().PrintPage(Plain.PrintOptions().GetPageCellRange(0));
    EXPECT_TRUE(Plain.Printer.Lines.empty());
    EXPECT_TRUE(Plain.Printer.Frames.empty());
}

TEST(VkGridPrint, AJobIsTitledPagedAndAlwaysEnded) {
    TPrintGrid G;
    G.Printer.Width = 130;
    G.Printer.Height = 80;
    G.Print("");
    EXPECT_EQ(G.Printer.Title, GExeName + " - Grid");
    EXPECT_EQ(G.Printer.Begun, 1);
    EXPECT_EQ(G.Printer.NewPages, 5);
    EXPECT_EQ(G.Printer.Ended, 1);
    EXPECT_FALSE(G.PrintOptions().IsPaginating());

    G.Print("Hydrostatics");
    EXPECT_EQ(G.Printer.Title, "Hydrostatics");

    G.Printer.Busy = true;
    G.Print("Ignored");
    EXPECT_EQ(G.Printer.Title, "Hydrostatics");
    EXPECT_EQ(G.Printer.Begun, 2);

    G.Printer.Busy = false;
    G.Printer.FailOnText = G.Printer.TextCalls + 3;
    EXPECT_THROW(G.Print("Failing"), std::runtime_error);
    EXPECT_EQ(G.Printer.Ended, 3);
    EXPECT_FALSE(G.PrintOptions().IsPaginating());
}

}  // namespace
}  // namespace sarnova
