#include <gtest/gtest.h>

#include <QImage>

#include <tuple>
#include <vector>

#include "ControlsTestSupport.h"
#include "controls/MeshEditSelector.h"

namespace sarnova {
namespace {

TEST(MeshSelectorHit, NearestLineAndInsertPosition) {
    struct Case {
        TMeshEditSelectorView View;
        int Count, X, Y, Grid, Insert;
    };
    // The rectangle 20 .. 180 both ways: U lines every 40 pixels for 5 lines.
    const Case Cases[] = {
        {svU, 5, 20 + 45, 0, 2, 2},   // d = 1.125
        {svU, 5, 20 + 60, 0, 2, 3},   // d = 1.5: halves go to the even integer
        {svU, 5, 20, 0, 0, 1},        // on the first line: 0.5 rounds to the even 0
        {svU, 5, 0, 0, 0, 1},         // left of the rectangle: limited
        {svU, 5, 400, 0, 4, 4},       // right of it
        {svV, 4, 0, 180, 0, 1},       // the bottom line is V index 0
        {svV, 4, 0, 20, 3, 3},        // the top line
        {svV, 4, 0, 20 + 80, 1, 1},   // the middle: d = 1.5
    };
    const TMeshSelectorRect Rect{20, 20, 180, 180};
    for (const Case& C : Cases) {
        int Grid = -9, Insert = -9;
        ASSERT_TRUE(MeshSelectorHit(C.View, Rect, C.Count, C.Count, C.X, C.Y, Grid, Insert)) << C.X << "," << C.Y;
        EXPECT_EQ(std::make_pair(Grid, Insert), std::make_pair(C.Grid, C.Insert)) << C.X << "," << C.Y;
    }
    int Grid = 0, Insert = 0;
    EXPECT_FALSE(MeshSelectorHit(svUV, Rect, 4, 4, 50, 50, Grid, Insert));
    EXPECT_FALSE(MeshSelectorHit(svU, Rect, 1, 4, 50, 50, Grid, Insert));  // one line: nothing to tell apart
    EXPECT_FALSE(MeshSelectorHit(svV, {20, 20, 10, 10}, 4, 4, 50, 50, Grid, Insert));
}

TEST(MeshEditSelector, ClicksReportTheLineAndSelectionIsKeptInRange) {
    TMeshEditSelector Selector;
    Selector.SetBorderStyle(bsNone);
    Selector.resize(200, 200);
    EXPECT_EQ(Selector.GetColor(), clWhite);
    std::vector<std::tuple<TMeshEditSelectorView, int, int>> Seen;
    Selector.OnMeshSelect = [&](QObject*, TMeshEditSelectorView View, int Grid, int Insert) {
        Seen.emplace_back(View, Grid, Insert);
    };
    test::Click(&Selector, {100, 100});  // svUV: nothing
    Selector.SetGridView(svU);
    Selector.SetGridUCount(5);
    test::Click(&Selector, {65, 100});
    Selector.SetGridView(svV);
    test::Click(&Selector, {100, 180});
    EXPECT_EQ(Seen, (std::vector<std::tuple<TMeshEditSelectorView, int, int>>{{svU, 2, 2}, {svV, 0, 1}}));
    // The selector leaves the selection to its owner.
    EXPECT_EQ(Selector.GetGridUSelected(), 0);

    Selector.SetGridUCount(4);
    Selector.SetGridUSelected(4);
    EXPECT_EQ(Selector.GetGridUSelected(), 0);
    Selector.SetGridUSelected(3);
    EXPECT_EQ(Selector.GetGridUSelected(), 3);
    Selector.SetGridVSelected(-1);
    EXPECT_EQ(Selector.GetGridVSelected(), 0);
}

TEST(MeshEditSelector, SelectedVLineIsDrawnThickFromTheBottom) {
    TMeshEditSelector Selector;
    Selector.SetBorderStyle(bsNone);
    Selector.resize(200, 200);
    Selector.SetGridView(svV);
    Selector.SetGridVCount(4);
    Selector.SetGridVSelected(0);
    const QImage Image = Selector.grab().toImage();
    const auto Dark = [&](int Y) { return qGray(Image.pixel(100, Y)) < 128; };
    EXPECT_EQ(MeshSelectorLinePosition(20, 160, 3, 4), 180);
    // The thick line at the bottom covers the rows beside it; a thin one does not.
    EXPECT_TRUE(Dark(180));
    EXPECT_TRUE(Dark(179));
    EXPECT_TRUE(Dark(20));
    EXPECT_FALSE(Dark(21));
    EXPECT_EQ(Selector.GetDrawRect().Left, 20);
    EXPECT_EQ(Selector.GetDrawRect().Bottom, 180);
}

}  // namespace
}  // namespace sarnova
