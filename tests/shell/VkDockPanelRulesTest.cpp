#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shell/DockLayoutNodes.h"
#include "controls/VkDockPanelRules.h"

namespace sarnova {
namespace {

struct TZoneCase {
    int W, H, X, Y;
    bool Centre;
    TVkAlign Zone;
    TRect Preview;
};

TEST(DockZoneAt, PicksTheFirstZoneThatHoldsThePointAndItsPreview) {
    const TRect Untouched{-1, -1, -1, -1};
    const TZoneCase Cases[] = {
        // 100 x 50: W5 = 20, 4W5 = 80, H5 = 10, 4H5 = 40, W2 = 50, H2 = 25.
        {100, 50, 0, 0, true, alLeft, {0, 0, 50, 50}},
        {100, 50, 19, 49, true, alLeft, {0, 0, 50, 50}},
        {100, 50, 20, 5, true, alTop, {0, 0, 100, 25}},
        {100, 50, 80, 20, true, alRight, {50, 0, 100, 50}},
        {100, 50, 50, 40, true, alBottom, {0, 25, 100, 50}},
        {100, 50, 20, 10, true, alClient, {20, 10, 80, 40}},  // on x = W5 and y = H5: centre
        {100, 50, 79, 39, true, alClient, {20, 10, 80, 40}},
        // Without the centre the halves take the middle band.
        {100, 50, 49, 25, false, alLeft, {0, 0, 50, 50}},
        {100, 50, 50, 25, false, alRight, {50, 0, 100, 50}},
        {100, 50, 0, 9, false, alTop, {0, 0, 100, 25}},
        {100, 50, 99, 40, false, alBottom, {0, 25, 100, 50}},
        // W5 is truncated: 4W5 = 4 * (99 / 5) = 76, not 4 * 99 / 5.
        {99, 50, 76, 25, true, alRight, {49, 0, 99, 50}},
        {99, 50, 75, 25, true, alClient, {19, 10, 76, 40}},
        // 4 pixels wide: W5 = 0, no left zone, the right zone spans the panel.
        {4, 50, 0, 25, true, alRight, {2, 0, 4, 50}},
        // Outside: no zone, the preview stays.
        {100, 50, 100, 10, true, alNone, Untouched},
        {100, 50, -1, 10, false, alNone, Untouched},
        {100, 50, 10, 50, true, alNone, Untouched},
    };
    for (const TZoneCase& C : Cases) {
        TRect Preview = Untouched;
        EXPECT_EQ(DockZoneAt(C.W, C.H, {C.X, C.Y}, C.Centre, Preview), C.Zone) << C.W << "x" << C.H << " at " << C.X << "," << C.Y;
        EXPECT_EQ(Preview, C.Preview) << C.W << "x" << C.H << " at " << C.X << "," << C.Y;
    }
}

TEST(CollapsedDockRect, IsAStripAsThickAsTheUndockedWindow) {
    const TRect Layer{1, 2, 3, 4};
    const TPoint Origin{100, 200};
    EXPECT_EQ(CollapsedDockRect(alTop, Origin, 300, 0, 50, 60, Layer), (TRect{100, 200, 400, 260}));
    EXPECT_EQ(CollapsedDockRect(alBottom, Origin, 300, 0, 50, 60, Layer), (TRect{100, 140, 400, 200}));
    EXPECT_EQ(CollapsedDockRect(alLeft, Origin, 0, 400, 50, 60, Layer), (TRect{100, 200, 150, 600}));
    EXPECT_EQ(CollapsedDockRect(alRight, Origin, 0, 400, 50, 60, Layer), (TRect{50, 200, 100, 600}));
    EXPECT_EQ(CollapsedDockRect(alClient, Origin, 0, 400, 50, 60, Layer), Layer);
}

TEST(CanDockSource, FollowsGroupsAndTakesConjoinedSitesOnlyOnEmptyPanels) {
    EXPECT_TRUE(GroupsCompatible(0, 3));
    EXPECT_TRUE(GroupsCompatible(3, 0));
    EXPECT_TRUE(GroupsCompatible(2, 2));
    EXPECT_FALSE(GroupsCompatible(2, 3));

    EXPECT_FALSE(CanDockSource(2, 0, TVkDockSource::ToolWindow, 3));
    EXPECT_TRUE(CanDockSource(2, 0, TVkDockSource::ToolWindow, 0));
    EXPECT_TRUE(CanDockSource(0, 5, TVkDockSource::TabbedSite, 7));
    EXPECT_FALSE(CanDockSource(2, 0, TVkDockSource::TabbedSite, 3));
    EXPECT_TRUE(CanDockSource(0, 0, TVkDockSource::ConjoinedSite, 0));
    EXPECT_FALSE(CanDockSource(0, 1, TVkDockSource::ConjoinedSite, 0));
    EXPECT_FALSE(CanDockSource(0, 0, TVkDockSource::Other, 0));
}

TEST(UniqueSiteName, RaisesTheNumberUntilTheNameIsFree) {
    const std::set<std::string> Taken{"Site2", "Site3"};
    auto IsTaken = [&](const std::string& Name) { return Taken.count(Name) > 0; };
    EXPECT_EQ(UniqueSiteName("Site1", IsTaken), "Site1");
    EXPECT_EQ(UniqueSiteName("Site2", IsTaken), "Site4");
    EXPECT_EQ(JoinCaptions({"Entities", "Attributes"}), "Entities, Attributes");
    EXPECT_EQ(JoinCaptions({}), "");
}

TEST(DockLayoutFromRects, ReadsNestedRowsAndColumnsAcrossSplitterGaps) {
    // 0 on the left; 1 above 2 on the right, with 4-pixel gaps between them.
    const std::vector<TRect> Rects{{0, 0, 100, 200}, {104, 0, 200, 98}, {104, 102, 200, 200}};
    EXPECT_EQ(DockLayoutFromRects(Rects), Split(true, {Leaf(0), Split(false, {Leaf(1), Leaf(2)})}));
    EXPECT_EQ(DockLayoutFromRects({{0, 0, 10, 10}}), Leaf(0));
    // Listed out of order: the tree follows the positions.
    EXPECT_EQ(DockLayoutFromRects({{0, 50, 10, 100}, {0, 0, 10, 45}}), Split(false, {Leaf(1), Leaf(0)}));
}

TEST(InsertDockLeaf, PlacesTheNewWindowOnTheZoneSide) {
    const TVkDockLayoutNode Column = Split(false, {Leaf(0), Leaf(1)});
    // Beside one window across the column: that window splits.
    EXPECT_EQ(InsertDockLeaf(Column, 1, 2, alLeft), Split(false, {Leaf(0), Split(true, {Leaf(2), Leaf(1)})}));
    // Along the column: a sibling.
    EXPECT_EQ(InsertDockLeaf(Column, 0, 2, alTop), Split(false, {Leaf(2), Leaf(0), Leaf(1)}));
    EXPECT_EQ(InsertDockLeaf(Column, 0, 2, alBottom), Split(false, {Leaf(0), Leaf(2), Leaf(1)}));
    // Beside the whole tree.
    EXPECT_EQ(InsertDockLeaf(Column, -1, 2, alRight), Split(true, {Column, Leaf(2)}));
    EXPECT_EQ(InsertDockLeaf(Leaf(0), 0, 1, alTop), Split(false, {Leaf(1), Leaf(0)}));
}

}  // namespace
}  // namespace sarnova
