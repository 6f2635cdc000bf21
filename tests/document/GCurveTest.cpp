// The curve entity base: picking along the display polyline, the curvature comb and its switch,
// copying the display state, drawing and the select-all-curves request.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "CurveFixtures.h"
#include "TestPoint.h"
#include "document/GCurve.h"
#include "document/GeometryClasses.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

// A list that logs what its entities ask of the views.
class THookList : public TGeometryList {
public:
    void InvalidateViews() override { Hooks.push_back("InvalidateViews"); }
    void DrawGeometry(TGeometry&) override { Hooks.push_back("Draw"); }
    void EraseGeometry(TGeometry&) override { Hooks.push_back("Erase"); }
    std::vector<std::string> Hooks;
};

// A polyline frame that counts its refreshes.
class TCountingFrame : public IPlineFrame {
public:
    explicit TCountingFrame(int& ARefreshes) : Refreshes(ARefreshes) {}
    void UpdateFromEntity() override { ++Refreshes; }
    void UpdateMarkedRows() override {}
    void GeometryDestroyed() override {}
    int& Refreshes;
};

class GCurveTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    void TearDown() override { RegisterGeometryFrame(PlineFrameName, {}); }

    // An L-shaped polyline 100 long on each leg, and Others further entities in its list.
    TGeoPline* LShape(TGeometryList& List, int Others) {
        TGeoPline* P = AddPline(List, {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}}, "L");
        for (int I = 0; I < Others; ++I) List.Add(std::make_unique<TTestPoint>("P", 500, 500));
        return P;
    }
};

TEST_F(GCurveTest, SmallDocumentsPickAlongTheDisplayPolylineLargeOnesByPoints) {
    // In edit mode the entity's own points are the curve's three corners, so the two rules differ
    // halfway along the first leg: the display polyline has a vertex within 4 pixels, the corners
    // are 50 away.
    struct TCase {
        int Others;
        bool ByDisplay;
    };
    for (const TCase C : {TCase{498, true}, TCase{499, false}}) {
        TGeometryList List;
        TGeoPline* P = LShape(List, C.Others);
        List.SetEditedGeometry(P);
        ASSERT_TRUE(P->Editing());
        TPlanView View;
        const double Distance = P->DistanceToPoint({50, 0}, View);
        const bool Inside = P->InRect({45, -1, 55, 2}, View);
        if (C.ByDisplay) {
            EXPECT_LT(Distance, 4) << List.Count();
            EXPECT_TRUE(Inside) << List.Count();
        } else {
            EXPECT_DOUBLE_EQ(Distance, 50) << List.Count();
            EXPECT_FALSE(Inside) << List.Count();
        }
    }
}

TEST_F(GCurveTest, OutsideEditModeThePointsAreTheDisplayPolylines) {
    TGeometryList List;
    TGeoPline* P = AddPline(List, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, "A");
    // Fifteen parts a segment: 31 vertices, built before anything was drawn.
    EXPECT_EQ(P->GetPointCount(), 31);
    EXPECT_EQ(P->GetPoint(15)->Vector(), (TMVector{1, 0, 0}));
    EXPECT_EQ(P->GetPoint(31), nullptr);
    List.SetEditedGeometry(P);
    EXPECT_EQ(P->GetPointCount(), 3);

    // The display polyline follows a change.
    List.SetEditedGeometry(nullptr);
    P->Transform(MatrixTranslation(0, 0, 5));
    EXPECT_EQ(P->GetPoint(0)->Z, 5);
}

TEST_F(GCurveTest, TheCurvatureSwitchActsOnceAndRefreshesTheFrame) {
    THookList List;
    TGeoPline* P = AddPline(List, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, "A");
    int Refreshes = 0;
    RegisterGeometryFrame(PlineFrameName, [&](TGeometry&, void*) -> IGeometryFrame* { return new TCountingFrame(Refreshes); });
    P->CreateFrameFor(nullptr);
    Refreshes = 0;
    List.Hooks.clear();

    P->SetDrawCurvature(true);
    EXPECT_TRUE(P->DrawCurvature());
    EXPECT_TRUE(P->GetState() & gsCurvature);
    EXPECT_TRUE(P->GetCurvatureRepresentation().GetVisible());
    EXPECT_EQ(List.Hooks, (std::vector<std::string>{"Erase", "Draw", "InvalidateViews"}));
    EXPECT_EQ(Refreshes, 1);

    P->SetDrawCurvature(true);
    EXPECT_EQ(List.Hooks.size(), 3u);
    EXPECT_EQ(Refreshes, 1);

    P->ToggleDrawCurvature();
    EXPECT_FALSE(P->DrawCurvature());
    EXPECT_FALSE(P->GetCurvatureRepresentation().GetVisible());
    P->FreeFrame();
}

TEST_F(GCurveTest, ACopyShowsTheCurvatureOfItsSource) {
    TGeometryList List;
    TGeoPline* P = AddPline(List, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, "A");
    P->SetDrawCurvature(true);
    const std::unique_ptr<TGeometry> Copy = P->Clone();
    auto* C = dynamic_cast<TGeoPline*>(Copy.get());
    ASSERT_NE(C, nullptr);
    EXPECT_TRUE(C->DrawCurvature());
    EXPECT_TRUE(C->GetCurvatureRepresentation().GetVisible());
    EXPECT_TRUE(C->PopupMenu()->Find("Show Curvature")->Checked);
    EXPECT_EQ(PointsOf(C->Polyline()), PointsOf(P->Polyline()));
}

TEST_F(GCurveTest, TheCombOfAnEditedCurveShowsWhenTheSettingsAskForIt) {
    TTestSettings Settings;
    TGeometryList List;
    TGeoPline* P = AddPline(List, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, "A");
    const TCurvatureAnalysisRepresentation& Comb = P->GetCurvatureRepresentation();
    List.SetEditedGeometry(P);
    EXPECT_FALSE(Comb.CanDraw());
    Settings->ShowSurfaceCurvatureWhileEditing = true;
    EXPECT_TRUE(Comb.CanDraw());
    List.SetEditedGeometry(nullptr);
    EXPECT_FALSE(Comb.CanDraw());
}

TEST_F(GCurveTest, DrawingShowsTheDensifiedCurveThenTheComb) {
    TGeometryList List;
    TGeoPline* P = AddPline(List, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, "A");
    TPlanView Plain;
    P->Draw(Plain);
    ASSERT_EQ(Plain.Names(), (std::vector<std::string>{"Polyline"}));
    EXPECT_EQ(Plain.Calls[0].Points.size(), 31u);

    P->SetDrawCurvature(true);
    TPlanView WithComb;
    P->Draw(WithComb);
    // One line a comb sample, after the curve.
    const int Teeth = P->GetCurvatureRepresentation().GetAnalysis().Count();
    EXPECT_EQ(Teeth, 3);
    std::vector<std::string> Expected{"Polyline"};
    Expected.insert(Expected.end(), Teeth, "LineVectors");
    EXPECT_EQ(WithComb.Names(), Expected);

    // Highlighted: the display polyline alone, thicker and in the draw colour, then the width back.
    TPlanView Highlight;
    P->DrawHighlighted(Highlight);
    EXPECT_EQ(Highlight.Names(),
              (std::vector<std::string>{"SetLineWidth", "SetLineColor", "Polyline", "SetLineWidth"}));
    EXPECT_EQ(Highlight.Calls[0].Size, 3);
    EXPECT_EQ(Highlight.Calls[1].Color, P->Colors().DrawColor());
    EXPECT_EQ(Highlight.Calls[3].Size, 1);
}

TEST_F(GCurveTest, SelectRequestsSelectCurvesAndPolylines) {
    for (bool Curves : {true, false}) {
        TGeometryList List;
        TGeoPline* P = AddPline(List, {{0, 0, 0}, {1, 1, 0}}, "A");
        TTestPoint* Other = static_cast<TTestPoint*>(List.Add(std::make_unique<TTestPoint>("B", 5)));
        if (Curves)
            List.SendMessage(std::make_unique<TGeoSelectCurves>());
        else
            List.SendMessage(std::make_unique<TGeoSelectPolylines>());
        EXPECT_TRUE(P->GetSelected()) << Curves;
        EXPECT_FALSE(Other->GetSelected()) << Curves;
    }
}

}  // namespace
}  // namespace sarnova::test
