// The chart's data: axis ranges and steps, extents and change notifications, the nearest-point query.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/Errors.h"
#include "platform/RecordingCanvas.h"
#include "controls/VkGraphCore.h"

namespace sarnova {
namespace {

// A chart that counts how often it was told to redraw.
class TCountingGraph : public TVkGraphCore {
public:
    int Invalidations = 0;
    void InvalidateControl() override { ++Invalidations; }
};

TEST(VkAxis, AutomaticRangesAndSteps) {
    struct Case {
        double DataMin, DataMax;
        TTickMode Mode;
        double Min, Max, Gap;
    };
    const Case Cases[] = {
        {0.3, 9.7, tmLoose, 0, 10, 1},
        {0.3, 9.7, tmTight, 0.3, 9.7, 1},
        {-10, -2, tmLoose, -10, -2, 1},
        {0, 57, tmLoose, 0, 60, 10},
        {0.05, 1.93, tmLoose, 0, 2, 0.2},
        // A single value shows about v - 1 .. v + 1 in steps of 0.2, whatever the mode.
        {5, 5, tmLoose, 4, 6, 0.2},
        {5, 5, tmTight, 4, 6, 0.2},
    };
    for (const Case& C : Cases) {
        TVkAxis Axis;
        Axis.DataMin = C.DataMin;
        Axis.DataMax = C.DataMax;
        Axis.SetTickMode(C.Mode);
        EXPECT_NEAR(Axis.GetMin(), C.Min, 1e-9) << C.DataMin << ".." << C.DataMax;
        EXPECT_NEAR(Axis.GetMax(), C.Max, 1e-9) << C.DataMin << ".." << C.DataMax;
        EXPECT_NEAR(Axis.GetGap(), C.Gap, 1e-12) << C.DataMin << ".." << C.DataMax;
    }
    EXPECT_DOUBLE_EQ(NiceStep(10), 1);
    EXPECT_DOUBLE_EQ(NiceStep(2), 0.2);
    EXPECT_DOUBLE_EQ(NiceStep(57), 10);
}

TEST(VkAxis, WrittenValuesAreFixed) {
    TCountingGraph Graph;
    TVkAxis& Axis = Graph.GetXAxis();
    Axis.SetMin(2);
    EXPECT_FALSE(Axis.GetAutoMin());
    Graph.GetSeriesList().AddNew("S").AddXY(-7, 1);
    Graph.GetSeriesList().GetSeries(0).AddXY(30, 1);
    EXPECT_EQ(Axis.GetMin(), 2);
    EXPECT_EQ(Axis.GetMax(), 30);  // still automatic, from the new data
    // A fixed gap that was never written is 0.
    Axis.SetAutoGap(false);
    EXPECT_EQ(Axis.GetGap(), 0);
    EXPECT_GT(Graph.Invalidations, 0);
}

TEST(VkSeriesList, UpdateBracketDefersExtentsAndNotifiesOnce) {
    TCountingGraph Graph;
    TVkSeriesList& List = Graph.GetSeriesList();
    List.BeginUpdate();
    List.BeginUpdate();  // brackets do not nest
    TVkSeries& S = List.AddNew("S");
    for (int I = 0; I < 5; ++I) S.AddXY(I, 10 * I);
    EXPECT_EQ(Graph.Invalidations, 0);
    EXPECT_EQ(List.GetExtents(), TGraphExtents{});
    List.EndUpdate();
    EXPECT_EQ(Graph.Invalidations, 1);
    EXPECT_EQ(List.GetExtents(), (TGraphExtents{0, 0, 4, 40}));
    EXPECT_EQ(Graph.GetYAxis().DataMax, 40);
    List.EndUpdate();  // no bracket open: nothing
    EXPECT_EQ(Graph.Invalidations, 1);
}

TEST(VkSeriesList, PointChangesResortAndRecompute) {
    TCountingGraph Graph;
    TVkSeries& S = Graph.GetSeriesList().AddNew("S");
    S.AutoSort = true;
    S.AddXY(1, 1);
    S.AddXY(2, 2);
    S.AddXY(3, 3);
    S.GetPoint(0).SetX(10);
    EXPECT_EQ(S.GetPoint(2).GetX(), 10);
    EXPECT_EQ(Graph.GetSeriesList().GetExtents(), (TGraphExtents{2, 1, 10, 3}));
    EXPECT_EQ(Graph.GetXAxis().DataMax, 10);
}

TEST(VkSeriesList, ClearedSeriesPullsTheExtentsToTheOrigin) {
    TVkSeriesList List;
    TVkSeries& A = List.AddNew("A");
    A.AddXY(5, 5);
    A.AddXY(6, 7);
    TVkSeries& B = List.AddNew("B");
    B.AddXY(10, 10);
    B.Clear();
    EXPECT_EQ(B.GetExtents(), TGraphExtents{});
    EXPECT_EQ(List.GetExtents(), (TGraphExtents{0, 0, 6, 7}));
}

TEST(VkSeries, AssignAppendsCopiesToExistingPoints) {
    TVkSeries Source;
    Source.SetName("Src");
    Source.SetColor(clRed);
    Source.SetPointType(ptSquare);
    Source.Tag = 7;
    Source.SetLineWidth(3);
    Source.AddXY(1, 2);
    Source.AddXY(3, 4);
    TVkSeries Target;
    Target.AddXY(9, 9);
    Target.AssignSeries(Source);
    ASSERT_EQ(Target.Count(), 3);
    EXPECT_EQ(Target.GetPoint(2).GetY(), 4);
    EXPECT_EQ(Target.GetName(), "Src");
    EXPECT_EQ(Target.GetColor(), clRed);
    EXPECT_EQ(Target.GetPointType(), ptSquare);
    EXPECT_EQ(Target.Tag, 0);
    EXPECT_EQ(Target.GetLineWidth(), 0);
    Target.AssignSeries(Target);  // onto itself: each point once more
    EXPECT_EQ(Target.Count(), 6);
    EXPECT_THROW(Target.GetPoint(6), EError);
}

TEST(VkSeries, PointTypeNames) {
    EXPECT_EQ(PointTypeToName(2), "Square");
    EXPECT_EQ(PointTypeToName(9), "None");
    const std::pair<const char*, int> Cases[] = {
        {"circle", 1}, {"BigSquare", 2}, {"x", 0}, {"Triangle", 3}, {"squarecircle", 1}};
    for (auto [Name, Type] : Cases) EXPECT_EQ(NameToPointType(Name), Type) << Name;
}

// A chart drawn once on a test canvas, so that its mapping is known: both series' data run over
// 0 .. 10 in X.
class GraphQuery : public ::testing::Test {
protected:
    TVkGraphCore Graph;
    TRecordingCanvas Canvas;

    void Draw() {
        Graph.SetClientSize(420, 300);
        Graph.DrawTo(Graph.GetClientRect(), Canvas, 1);
    }
};

TEST_F(GraphQuery, NearestSegmentPointOfAnySeries) {
    TVkSeries& A = Graph.GetSeriesList().AddNew("A");
    A.AddXY(0, 5);
    A.AddXY(10, 5);
    TVkSeries& Lone = Graph.GetSeriesList().AddNew("Lone");
    Lone.AddXY(5, 0);
    Draw();
    const TPoint Mid = Graph.WorldToScreen(5, 5);
    const TSeriesQueryResult R = Graph.GetSeriesList().Query({Mid.X, Mid.Y + 12});
    EXPECT_EQ(R.SeriesName, "A");
    EXPECT_EQ(R.ScreenX, Mid.X);
    EXPECT_EQ(R.ScreenY, Mid.Y);
    EXPECT_EQ(R.SquaredDistance, 144);
    EXPECT_NEAR(R.X, 5, 0.1);
    EXPECT_DOUBLE_EQ(R.Y, 5);
    // Beyond the segment's end the end point is nearest.
    const TPoint End = Graph.WorldToScreen(10, 5);
    const TSeriesQueryResult Beyond = Graph.GetSeriesList().Query({End.X + 30, End.Y});
    EXPECT_EQ(Beyond.ScreenX, End.X);
    EXPECT_EQ(Beyond.SquaredDistance, 900);
}

TEST_F(GraphQuery, SeriesWithoutSegmentsFindNothing) {
    Graph.GetSeriesList().AddNew("One").AddXY(1, 1);
    Graph.GetSeriesList().GetSeries(0).AddXY(1, 2);
    Graph.GetSeriesList().GetSeries(0).Clear();
    Graph.GetSeriesList().GetSeries(0).AddXY(3, 3);
    Draw();
    const TSeriesQueryResult R = Graph.GetSeriesList().Query({10, 10});
    EXPECT_EQ(R.SeriesName, "?notfound?");
    EXPECT_EQ(R.SquaredDistance, 1e33);
}

TEST_F(GraphQuery, TiesGoToTheEarlierSegmentAndSeries) {
    // An elbow: right along y = 2, then up along x = 5. A pixel up and left of the corner by the
    // same amount lies as far from either arm.
    for (const char* Name : {"Elbow", "Twin"}) {
        TVkSeries& S = Graph.GetSeriesList().AddNew(Name);
        S.AddXY(0, 2);
        S.AddXY(5, 2);
        S.AddXY(5, 8);
    }
    Draw();
    const TPoint Corner = Graph.WorldToScreen(5, 2);
    const TSeriesQueryResult R = Graph.GetSeriesList().Query({Corner.X - 10, Corner.Y - 10});
    EXPECT_EQ(R.SeriesName, "Elbow");
    EXPECT_EQ(R.SquaredDistance, 100);
    EXPECT_LT(R.X, 5);  // on the first arm
    EXPECT_DOUBLE_EQ(R.Y, 2);
}

}  // namespace
}  // namespace sarnova
