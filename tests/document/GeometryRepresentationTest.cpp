#include "document/GeometryRepresentation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <utility>

#include "TestPoint.h"
#include "document/Settings.h"
#include "foundation/Box.h"
#include "foundation/Contours.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"
#include "platform/RecordingGraphics.h"
#include "platform/Screen.h"

namespace sarnova::test {
namespace {

// A view looking down Z whose pixels are the world's x and y.
class TPlanView : public TRecordingGraphics {
public:
    TPoint WorldToScreenVector(const TMVector& V) override { return {int(V.X), int(V.Y)}; }
};

// The document's contour planes, held the way the contours entity holds them.
class TContourHolder : public TGeometry {
public:
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TContourHolder>(); }
    TDataObject GetDataObject() override { return TDataObject::Of(&Planes); }
    TMBox CalculateExtents() override { return MakeBox(0, 0, 0, 1, 1, 1); }
    TContours Planes;
};

// A solid box from (0, 0, 0) to (2, 2, 2) that shows its contours, counting the facets it hands out.
class TSolid : public TGeometry {
public:
    TSolid() { SetCapabilities(GetCapabilities() | cpPointEditing); }
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TSolid>(); }
    TMBox CalculateExtents() override { return MakeBox(0, 0, 0, 2, 2, 2); }
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override {
        ++FacetRequests;
        LastPurpose = Purpose;
        if (Fail) throw std::runtime_error("no facets");
        return TBox(2, 2, 2, 1, 1, 1).Facets();
    }
    void Draw(IGraphics& View) override { Contours().Draw(View); }
    void DrawOutline(IGraphics& View) override { Contours().DrawOutline(View); }

    int FacetRequests = 0;
    int LastPurpose = -1;
    bool Fail = false;
};

class GeometryRepresentationTest : public ::testing::Test {
protected:
    TSolid* AddSolid() { return static_cast<TSolid*>(List.Add(std::make_unique<TSolid>())); }
    TContours& AddPlanes() {
        auto* H = static_cast<TContourHolder*>(List.Add(std::make_unique<TContourHolder>()));
        return H->Planes;
    }
    static int PolylineCalls(const TRecordingGraphics& View) {
        int N = 0;
        for (const TGraphicsCall& C : View.Calls) N += C.Name == "Polyline";
        return N;
    }

    TRecordingList List;
};

TEST_F(GeometryRepresentationTest, WithoutAContoursEntityNothingIsBuilt) {
    TSolid* S = AddSolid();
    EXPECT_FALSE(S->DrawContours());
    S->SetDrawContours(true);
    EXPECT_TRUE(S->DrawContours());
    EXPECT_TRUE(S->GetState() & gsContours);
    EXPECT_FALSE(S->Contours().HasContours());
    TRecordingGraphics View;
    S->DrawEntity(View);
    EXPECT_EQ(S->FacetRequests, 0);
    EXPECT_EQ(S->Contours().GetPolylines(), nullptr);
    EXPECT_EQ(PolylineCalls(View), 0);
    EXPECT_EQ(List.Count(), 1);  // no contours entity was made on the way
}

TEST_F(GeometryRepresentationTest, ContoursAreCutFromTheDisplayFacetsAndRebuiltOnlyAfterAChange) {
    TSolid* S = AddSolid();
    AddPlanes().AddContour(2, 0.5);
    TRecordingGraphics View;
    S->DrawEntity(View);  // hidden: nothing
    EXPECT_EQ(S->FacetRequests, 0);

    S->SetDrawContours(true);
    S->DrawEntity(View);
    EXPECT_EQ(S->FacetRequests, 1);
    EXPECT_EQ(S->LastPurpose, 6);
    const TPolylineList* Lines = S->Contours().GetPolylines();
    ASSERT_NE(Lines, nullptr);
    ASSERT_EQ(Lines->Count(), 1);  // the waterline around the box
    const TPolyline& Waterline = *Lines->Items(0);
    EXPECT_TRUE(Waterline.IsClosed());
    for (int I = 0; I < Waterline.Count(); ++I) EXPECT_EQ(Waterline.Point(I)->Z, 0.5);
    EXPECT_EQ(PolylineCalls(View), 1);

    S->DrawEntity(View);
    EXPECT_EQ(S->FacetRequests, 1);
    S->BeginChange();
    S->EndChange();
    S->DrawEntity(View);
    EXPECT_EQ(S->FacetRequests, 2);

    // Hiding and showing again rebuilds once, on the next draw.
    S->SetDrawContours(false);
    EXPECT_FALSE(S->GetState() & gsContours);
    S->SetDrawContours(true);
    EXPECT_EQ(S->FacetRequests, 2);
    S->DrawEntity(View);
    S->DrawEntity(View);
    EXPECT_EQ(S->FacetRequests, 3);
}

TEST_F(GeometryRepresentationTest, MirroredContoursIncludeTheOtherHalfAndAreHitOnIt) {
    TSolid* S = AddSolid();
    AddPlanes().AddContour(2, 0.5);
    S->SetMirrored(true);
    S->SetDrawContours(true);
    TPlanView View;
    S->DrawEntity(View);
    const TPolylineList* Lines = S->Contours().GetPolylines();
    ASSERT_NE(Lines, nullptr);
    ASSERT_EQ(Lines->Count(), 2);
    const TMBox Both = Lines->Extents();
    EXPECT_EQ(Both.Min.Y, -2);
    EXPECT_EQ(Both.Max.Y, 2);

    // The built picture holds both halves; the hit tests mirror it once more, which changes nothing.
    const TGeometryContours& C = S->Contours();
    EXPECT_DOUBLE_EQ(C.DistanceToPoint({5, -6}, View), 5);  // from (2, -2)
    EXPECT_TRUE(C.InRect({-1, -3, 1, -1}, View));
    EXPECT_FALSE(C.InRect({3, 3, 10, 10}, View));
}

TEST_F(GeometryRepresentationTest, HitTestsMirrorThePictureOfAMirroredEntity) {
    TSolid* S = AddSolid();
    AddPlanes().AddContour(2, 0.5);
    S->SetDrawContours(true);
    TPlanView View;
    S->DrawEntity(View);
    const TGeometryContours& C = S->Contours();
    EXPECT_FALSE(C.InRect({-1, -3, 1, -1}, View));
    EXPECT_DOUBLE_EQ(C.DistanceToPoint({5, -6}, View), std::hypot(3, 6));  // from (2, 0)
    S->SetState(S->GetState() | gsMirrored);  // mirrored, picture not rebuilt yet
    EXPECT_TRUE(C.InRect({-1, -3, 1, -1}, View));
    EXPECT_DOUBLE_EQ(C.DistanceToPoint({5, -6}, View), 5);

    S->SetDrawContours(false);
    EXPECT_EQ(C.DistanceToPoint({2, 2}, View), 1e33);
    EXPECT_FALSE(C.InRect({-100, -100, 100, 100}, View));
}

TEST_F(GeometryRepresentationTest, ContoursWaitWhileTheEntityIsDraggedOrEdited) {
    TSolid* S = AddSolid();
    AddPlanes().AddContour(2, 0.5);
    S->SetDrawContours(true);
    TRecordingGraphics View;
    S->SetState(S->GetState() | gsDragging);
    S->Contours().Draw(View);
    EXPECT_EQ(S->FacetRequests, 0);
    S->SetState(S->GetState() & ~gsDragging);

    S->BeginEdit();
    ASSERT_TRUE(S->Editing());
    S->Contours().Draw(View);
    EXPECT_EQ(S->FacetRequests, 0);

    auto Saved = std::exchange(GSettings, std::make_unique<TSarnovaSettings>());
    GSettings->SetDefaults();
    GSettings->ShowSurfaceContoursWhileEditing = true;
    S->Contours().Draw(View);
    GSettings = std::move(Saved);
    EXPECT_EQ(S->FacetRequests, 1);
}

TEST_F(GeometryRepresentationTest, AFailedRebuildLeavesNoPictureAndIsNotRetried) {
    TSolid* S = AddSolid();
    AddPlanes().AddContour(2, 0.5);
    S->SetDrawContours(true);
    TRecordingGraphics View;
    S->DrawEntity(View);
    ASSERT_NE(S->Contours().GetPolylines(), nullptr);

    S->BeginChange();
    S->EndChange();
    S->Fail = true;
    EXPECT_THROW(S->Contours().Draw(View), std::runtime_error);
    const TGeometryContours& C = S->Contours();
    EXPECT_FALSE(C.GetNeedsRebuild());
    EXPECT_FALSE(C.IsRebuilding());
    EXPECT_EQ(C.GetPolylines(), nullptr);
    EXPECT_EQ(GetScreenCursor(), crDefault);
    S->Contours().Draw(View);
    EXPECT_EQ(S->FacetRequests, 2);
}

TEST_F(GeometryRepresentationTest, OutlinesDrawThePictureAsItStandsInTheViewsColour) {
    TSolid* S = AddSolid();
    AddPlanes().AddContour(2, 0.5);
    S->SetDrawContours(true);
    TRecordingGraphics View;
    S->Erase(View);  // nothing built yet, and erasing builds nothing
    EXPECT_EQ(S->FacetRequests, 0);
    EXPECT_EQ(PolylineCalls(View), 0);

    S->DrawEntity(View);
    View.Calls.clear();
    S->BeginChange();
    S->EndChange();  // stale, but erasing draws what is on the screen
    S->Erase(View);
    EXPECT_EQ(S->FacetRequests, 1);
    ASSERT_EQ(PolylineCalls(View), 1);
    for (const TGraphicsCall& C : View.Calls) {
        if (C.Name == "Polyline") {
            EXPECT_FALSE(C.OwnColors);
        }
    }
}

TEST_F(GeometryRepresentationTest, AssignShowsTheContoursOfTheSource) {
    TSolid* S = AddSolid();
    S->SetDrawContours(true);
    TSolid Copy;
    Copy.Assign(*S);
    EXPECT_TRUE(Copy.DrawContours());
    EXPECT_FALSE(Copy.GetState() & gsContours);
}

// A representation that counts its rebuilds and draws, and may draw itself again while rebuilding.
class TCounting : public TGeometryRepresentation {
public:
    using TGeometryRepresentation::TGeometryRepresentation;
    int Rebuilds = 0;
    int Draws = 0;
    int Outlines = 0;
    IGraphics* ReenterWith = nullptr;

protected:
    void DoDraw(IGraphics&) override { ++Draws; }
    void DoDrawOutline(IGraphics&) override { ++Outlines; }
    void Rebuild() override {
        ++Rebuilds;
        if (ReenterWith) {
            Draw(*ReenterWith);
            DrawAlways(*ReenterWith);
        }
    }
};

// A list that logs what its entities ask of its view hooks.
class THookList : public TRecordingList {
public:
    void DrawGeometry(TGeometry&) override { Hooks.push_back("Draw"); }
    void EraseGeometry(TGeometry&) override { Hooks.push_back("Erase"); }
    std::vector<std::string> Hooks;
};

TEST(GeometryRepresentation, ShowingErasesFirstAndRedrawsAfter) {
    THookList Hooks;
    auto* P = Hooks.AddPoint("P", 1);
    TCounting R(*P);
    EXPECT_TRUE(R.GetVisible());
    EXPECT_TRUE(R.GetNeedsRebuild());
    R.Update();
    R.SetVisible(true);
    EXPECT_TRUE(Hooks.Hooks.empty());
    R.SetVisible(false);
    EXPECT_EQ(Hooks.Hooks, (std::vector<std::string>{"Erase", "Draw"}));
    EXPECT_TRUE(R.GetNeedsRebuild());

    TRecordingGraphics View;
    R.Draw(View);
    R.DrawOutline(View);
    EXPECT_EQ(R.Draws + R.Outlines + R.Rebuilds, 1);  // only the earlier Update
    R.DrawAlways(View);
    EXPECT_EQ(R.Rebuilds, 2);
    EXPECT_EQ(R.Draws, 1);

    // Drawing from inside a rebuild neither rebuilds again nor shows the half-made picture.
    R.SetVisible(true);
    R.ReenterWith = &View;
    R.Draw(View);
    EXPECT_EQ(R.Rebuilds, 3);
    EXPECT_EQ(R.Draws, 3);  // the inner DrawAlways and the outer Draw
}

}  // namespace
}  // namespace sarnova::test
