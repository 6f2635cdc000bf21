// Entity drawing through its list: colours, display states, previews, hit tests, requests to the
// list's view hooks, the popup menu and property frames.
#include <gtest/gtest.h>

#include <stdexcept>

#include "TestPoint.h"
#include "document/Geometry.h"
#include "foundation/GeomBox.h"
#include "platform/Menu.h"
#include "platform/RecordingGraphics.h"

namespace sarnova::test {
namespace {

// A view looking down Z whose pixels are the world's x and y.
class TPlanView : public TRecordingGraphics {
public:
    TPoint WorldToScreenVector(const TMVector& V) override { return {int(V.X), int(V.Y)}; }
};

// An entity of three points that writes what it was asked to draw into the view as text, so that
// the order of colours and drawing shows in the view's calls.
class TProbe : public TGeometry {
public:
    TProbe() {
        Points[0].SetXYZ(0, 0, 0);
        Points[1].SetXYZ(10, 0, 0);
        Points[2].SetXYZ(10, 10, 0);
    }
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TProbe>(); }
    static std::string GetKeyword() { return "TProbe"; }
    int GetPointCount() override { return 3; }
    TRPoint* GetPoint(int Index) override { return Index >= 0 && Index < 3 ? &Points[Index] : nullptr; }
    TMBox CalculateExtents() override { return MakeBox(0, 0, 0, 10, 10, 1); }

    void Draw(IGraphics& View) override {
        DrawnIn = GetColor();
        View.TextOut("Draw", 0, 0, 0);
        if (FailDraw) throw std::runtime_error("draw failed");
    }
    void DrawOutline(IGraphics& View) override { View.TextOut("DrawOutline", 0, 0, 0); }
    void DrawSimplified(IGraphics& View) override { View.TextOut("DrawSimplified", 0, 0, 0); }
    void AddMenuItems(TMenuItem&) override {
        AddMenuItem("Probe", {});
        AddSubMenuItem("Deeper", {});
    }
    void UpdateMenuItems(TMenuItem& Root) override { Updated = &Root; }

    TRPoint Points[3];
    TColor DrawnIn = 0;
    bool FailDraw = false;
    TMenuItem* Updated = nullptr;
};

// A list that logs what its entities ask of its view hooks. While Overlay is set it answers a full
// re-render by handing the request back to the entity, as the document does during overlay drawing.
class THookList : public TRecordingList {
public:
    void InvalidateViews() override { Hooks.push_back("InvalidateViews"); }
    void InvalidateGeometry(TGeometry& Entity) override {
        Hooks.push_back("InvalidateGeometry " + Entity.GetName());
        if (Overlay && ++Passes < 100) Entity.RedrawView();
    }
    void DrawGeometry(TGeometry& Entity) override { Hooks.push_back("DrawGeometry " + Entity.GetName()); }
    void EraseGeometry(TGeometry& Entity) override { Hooks.push_back("EraseGeometry " + Entity.GetName()); }

    std::vector<std::string> Hooks;
    bool Overlay = false;
    int Passes = 0;
};

class GeometryDrawTest : public ::testing::Test {
protected:
    TProbe* AddProbe(const std::string& Name) {
        auto P = std::make_unique<TProbe>();
        P->SetName(Name);
        return static_cast<TProbe*>(List.Add(std::move(P)));
    }
    // The view's calls as names, with the colour of colour calls and the text of text calls.
    static std::vector<std::string> Trace(const TRecordingGraphics& View) {
        std::vector<std::string> Result;
        for (const TGraphicsCall& C : View.Calls) {
            if (C.Name == "SetLineColor")
                Result.push_back("Colour " + std::to_string(C.Color));
            else if (C.Name == "TextOut")
                Result.push_back(C.Text);
            else if (C.Name != "WorldToScreenVector")
                Result.push_back(C.Name);
        }
        return Result;
    }
    static std::string Colour(TColor C) { return "Colour " + std::to_string(C); }

    THookList List;
};

TEST_F(GeometryDrawTest, ColoursFollowSelectionAndTheEditedEntity) {
    const TSarnovaSettings& S = CurrentSettings();
    TProbe* A = AddProbe("A");
    TProbe* B = AddProbe("B");
    A->SetColor(clRed);
    B->SetColor(clBlue);
    B->SetHighlighted(true);
    EXPECT_EQ(A->Colors().DrawColor(), clRed);
    EXPECT_EQ(B->Colors().DrawColor(), S.SelectColor);  // highlighted draws as selected
    B->SetHighlighted(false);

    A->SetCapabilities(A->GetCapabilities() | cpPointEditing);
    List.SetEditedGeometry(A);
    ASSERT_TRUE(A->Editing());
    EXPECT_EQ(A->Colors().DrawColor(), clRed);  // the edited entity is selected yet keeps its colour
    EXPECT_EQ(B->Colors().DrawColor(), S.NonEditColor);
    B->SetSelected(true);
    EXPECT_EQ(B->Colors().DrawColor(), S.SelectColor);

    EXPECT_EQ(A->Colors().BackColor(), S.BackColor);
    EXPECT_EQ(A->Colors().ControlPolygonColor(), S.ControlPolygonColor);
    EXPECT_EQ(A->Colors().StartColor(), S.StartColor);
}

TEST_F(GeometryDrawTest, DrawingAndErasingFollowTheDisplayState) {
    const TColor Back = CurrentSettings().BackColor;
    TProbe* P = AddProbe("P");
    P->SetColor(clRed);
    struct TCase {
        std::uint8_t State;
        std::vector<std::string> Drawn;   // between the two draw-colour calls
        std::vector<std::string> Erased;  // between the background and the draw colour
    };
    const std::vector<std::string> Box(12, "Line");
    const TCase Cases[] = {{dsNormal, {"Draw"}, {"DrawOutline"}},
                           {dsBox, Box, Box},
                           {dsRendered, {"Draw"}, {}},  // no renderer: the plain drawing
                           {dsHidden, {}, {}}};
    P->SetCapabilities(P->GetCapabilities() | cpRenderable);
    for (const TCase& C : Cases) {
        P->SetDisplayState(C.State);
        TRecordingGraphics View;
        P->DrawEntity(View);
        std::vector<std::string> Expected{Colour(clRed)};
        Expected.insert(Expected.end(), C.Drawn.begin(), C.Drawn.end());
        Expected.push_back(Colour(clRed));
        EXPECT_EQ(Trace(View), Expected) << int(C.State);

        View.Calls.clear();
        P->Erase(View);
        Expected = {Colour(Back)};
        Expected.insert(Expected.end(), C.Erased.begin(), C.Erased.end());
        Expected.push_back(Colour(clRed));
        EXPECT_EQ(Trace(View), Expected) << int(C.State);
    }

    // Nothing at all while the list updates, nor without a list.
    P->SetDisplayState(dsNormal);
    TRecordingGraphics View;
    List.BeginUpdate(0);
    P->DrawEntity(View);
    P->Erase(View);
    P->DrawPreview(View);
    P->DrawInColor(clGreen, View);
    List.EndUpdate();
    TProbe Loose;
    Loose.DrawEntity(View);
    EXPECT_TRUE(View.Calls.empty());
}

TEST_F(GeometryDrawTest, DrawingAppliesAPendingChangeFirst) {
    TProbe* P = AddProbe("P");
    P->SetState(gsDragging);  // a drag holds the change back
    P->BeginChange();
    P->EndChange();
    P->SetState(0);
    ASSERT_TRUE(P->IsChangePending());
    TRecordingGraphics View;
    P->DrawEntity(View);
    EXPECT_FALSE(P->IsChangePending());
}

TEST_F(GeometryDrawTest, PreviewDrawsPointsUpTo500EntitiesAndBoxesBeyond) {
    TProbe* P = AddProbe("P");
    for (int I = 1; I < 500; ++I) List.Add(std::make_unique<TPlainEntity>());
    ASSERT_EQ(List.Count(), 500);
    TRecordingGraphics View;
    P->DrawPreview(View);
    EXPECT_EQ(Trace(View), std::vector<std::string>{"DrawSimplified"});

    List.Add(std::make_unique<TPlainEntity>());
    View.Calls.clear();
    P->DrawPreview(View);
    EXPECT_EQ(Trace(View), std::vector<std::string>(12, "Line"));

    P->SetDisplayState(dsHidden);
    View.Calls.clear();
    P->DrawPreview(View);
    EXPECT_TRUE(View.Calls.empty());
}

TEST_F(GeometryDrawTest, DrawInColorLendsTheColourForOneDrawing) {
    TProbe* P = AddProbe("P");
    P->SetColor(clRed);
    TRecordingGraphics View;
    P->DrawInColor(clGreen, View);
    EXPECT_EQ(P->DrawnIn, clGreen);
    EXPECT_EQ(View.LineColor, clGreen);
    EXPECT_EQ(P->GetColor(), clRed);

    P->FailDraw = true;
    EXPECT_THROW(P->DrawInColor(clBlue, View), std::runtime_error);
    EXPECT_EQ(P->GetColor(), clRed);
}

TEST_F(GeometryDrawTest, HitTestsMeasureScreenPoints) {
    TProbe* P = AddProbe("P");
    TPlanView View;
    EXPECT_DOUBLE_EQ(P->DistanceToPoint({13, 14}, View), 5);  // from (10, 10)
    // Left and top edges lie inside the rectangle, right and bottom edges outside.
    const std::pair<TRect, bool> Rects[] = {
        {{0, 0, 1, 1}, true}, {{-5, -5, 0, 0}, false}, {{1, -5, 10, 20}, false}, {{9, 9, 11, 11}, true}};
    for (const auto& [R, Inside] : Rects)
        EXPECT_EQ(P->InRect(R, View), Inside) << R.Left << " " << R.Top << " " << R.Right << " " << R.Bottom;

    // The focus is the selected points' box when it has area, else the whole extents.
    EXPECT_EQ(P->GetFocusExtents(View), P->GetExtents());
    P->Points[0].Marked = true;
    P->Points[2].Marked = true;
    EXPECT_EQ(P->GetFocusExtents(View), MakeBox(0, 0, 0, 10, 10, 0));
    P->Points[2].Marked = false;
    EXPECT_EQ(P->GetFocusExtents(View), P->GetExtents());

    P->SetDisplayState(dsHidden);
    EXPECT_EQ(P->DistanceToPoint({10, 10}, View), 1e33);
    EXPECT_FALSE(P->InRect({-100, -100, 100, 100}, View));
    TGeometry NoPoints;
    EXPECT_EQ(NoPoints.DistanceToPoint({0, 0}, View), 1e33);
}

TEST_F(GeometryDrawTest, RequestsReachTheListsViewHooks) {
    TProbe* P = AddProbe("P");
    P->SetCapabilities(P->GetCapabilities() | cpRenderable);
    List.Hooks.clear();
    P->Redraw();
    P->Undraw();
    P->RedrawView();
    P->InvalidateViews();
    P->SetDisplayState(dsRendered);
    List.Hooks.clear();
    P->Redraw();
    P->Undraw();  // a rendered entity is not erased: the next render replaces it
    EXPECT_EQ(List.Hooks, (std::vector<std::string>{"InvalidateGeometry P"}));

    List.Hooks.clear();
    List.BeginUpdate(0);
    P->Redraw();
    P->RedrawView();
    P->InvalidateViews();
    EXPECT_TRUE(List.Hooks.empty());
    List.EndUpdate();
}

TEST_F(GeometryDrawTest, AReRenderHandedBackDuringAnOverlayEndsInOneInvalidation) {
    TProbe* P = AddProbe("P");
    List.Hooks.clear();
    List.Overlay = true;
    P->RedrawView();
    EXPECT_EQ(List.Hooks, (std::vector<std::string>{"InvalidateGeometry P", "InvalidateViews"}));
    // The guard is released: outside the overlay the request goes to the list again.
    List.Overlay = false;
    List.Hooks.clear();
    P->RedrawView();
    EXPECT_EQ(List.Hooks, (std::vector<std::string>{"InvalidateGeometry P"}));
}

TEST_F(GeometryDrawTest, ThePopupMenuIsBuiltOnceAndUpdatedOnEveryUse) {
    TProbe* P = AddProbe("P");
    TMenuItem* Root = P->PopupMenu();
    ASSERT_NE(Root, nullptr);
    EXPECT_EQ(Root->Caption, "Probe");
    EXPECT_EQ(Root->ImageIndex, TGeometry::GetImageIndex());
    ASSERT_EQ(Root->Count(), 2);
    EXPECT_EQ(Root->Items(0).Caption, "Show Attributes...");
    EXPECT_TRUE(Root->Items(0).Default);
    EXPECT_EQ(Root->Items(1).Caption, "Probe");
    ASSERT_EQ(Root->Items(1).Count(), 1);
    EXPECT_EQ(Root->Items(1).Items(0).Caption, "Deeper");
    EXPECT_EQ(P->Updated, nullptr);

    List.Messages.clear();
    EXPECT_EQ(P->PopupMenu(), Root);
    EXPECT_EQ(P->Updated, Root);
    EXPECT_EQ(List.Messages, std::vector<std::string>{"TGeoClearSarnovaPopup"});

    P->FreePopupMenu();
    EXPECT_EQ(P->GetPopupRoot(), nullptr);
    EXPECT_NE(P->PopupMenu(), nullptr);
}

// A frame that records what the entity asked of it.
class TFakeFrame : public IGeometryFrame {
public:
    TFakeFrame(bool ADefault, int& AFreed) : Default(ADefault), Freed(AFreed) {}
    ~TFakeFrame() override { ++Freed; }
    bool IsDefaultFrame() const override { return Default; }
    void Refresh() override { ++Refreshes; }
    void GeometryDestroyed() override {}
    bool Default;
    int& Freed;
    int Refreshes = 0;
};

// An entity with a frame of its own kind.
class TFramedProbe : public TProbe {
public:
    IGeometryFrame* CreateFrame(void*) override { return new TFakeFrame(false, Freed); }
    int Freed = 0;
};

TEST_F(GeometryDrawTest, FramesComeFromTheRegisteredFactoryAndOnlyTheDefaultOneIsRefreshed) {
    int Freed = 0;
    void* Owner = nullptr;
    RegisterGeometryFrame(DefaultGeometryFrameName, [&](TGeometry&, void* AOwner) -> IGeometryFrame* {
        Owner = AOwner;
        return new TFakeFrame(true, Freed);
    });
    TProbe* P = AddProbe("P");
    int Parent = 0;
    auto* Frame = static_cast<TFakeFrame*>(P->CreateFrameFor(&Parent));
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(P->GetFrame(), Frame);
    EXPECT_EQ(Owner, &Parent);
    P->UpdateFrame();
    EXPECT_EQ(Frame->Refreshes, 1);
    P->FreeFrame();
    EXPECT_EQ(P->GetFrame(), nullptr);
    EXPECT_EQ(Freed, 1);
    RegisterGeometryFrame(DefaultGeometryFrameName, {});
    EXPECT_EQ(P->CreateFrameFor(nullptr), nullptr);  // no GUI: no frame

    TFramedProbe Own;
    auto* OwnFrame = static_cast<TFakeFrame*>(Own.CreateFrameFor(nullptr));
    Own.UpdateFrame();
    EXPECT_EQ(OwnFrame->Refreshes, 0);
    Own.FreeFrame();
    EXPECT_EQ(Own.Freed, 1);
}

}  // namespace
}  // namespace sarnova::test
