// Editing of the polygon-list entity: picking facets and corners, dragging corners, inserting and
// deleting corners, merging, splitting and moving facets, and the shared points the frame edits.
#include <algorithm>
#include <vector>

#include "document/GCustomPline.h"
#include "document/GeoFace.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "entities/GGonList.h"
#include "entities/GPolygonCreator.h"
#include "foundation/DesktopRects.h"
#include "foundation/PolygonBuild.h"
#include "foundation/Polyline.h"
#include "foundation/VkMathsIntersect.h"
#include "foundation/Keys.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

// Corners closer than this on screen are picked by a click.
constexpr double PickDistance = 5.0;

// The facet covers pixel P on screen: its triangle 0, 1, 2, or for a quadrilateral also 0, 2, 3.
bool FacetUnderPixel(const TFacetRef& F, TPoint P, IGraphics& View) {
    TPoint S[4];
    for (int C = 0; C < F.CornerCount(); ++C) S[C] = View.WorldToScreenPoint(F.Corner(C)->AsPoint());
    return PointInTriangle(P, S[0], S[1], S[2]) || (F.CornerCount() == 4 && PointInTriangle(P, S[0], S[2], S[3]));
}

bool InsideRect(TPoint P, const TRect& R) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }

// Where a corner inserted at Pixel goes: Index a puts it between corners a - 1 and a (a = corner
// count: after the last), at Point, the place of that edge nearest to the pick ray.
struct TEdgePoint {
    int Index = -1;
    TMVector Point;
};

// The facet's edge nearest to Pixel on screen (the first of equally near ones).
TEdgePoint PolygonEdgePointAtPixel(const TPolygon& F, TPoint Pixel, IGraphics& View) {
    TPolygon Screen(F.GetShape());
    for (int C = 0; C < F.CornerCount(); ++C) {
        const TPoint S = View.WorldToScreenPoint(F.Corner(C)->AsPoint());
        Screen.Corner(C)->SetXYZ(S.X, S.Y, 0);
    }
    TRPoint Pick;
    Pick.SetXYZ(Pixel.X, Pixel.Y, 0);
    TEdgePoint Result;
    Result.Index = ClosestEdgePoint(Screen, Pick).Edge;
    if (Result.Index < 1) return Result;
    const TMSegment Edge{F.Corner(Result.Index - 1)->Vector(), F.Corner(Result.Index % F.CornerCount())->Vector()};
    Result.Point = PointOnLineClosestToSegment(View.ScreenToRayPoint(Pixel), Edge);
    return Result;
}

// One flag per facet of the list: whether it is selected.
std::vector<bool> SelectedFlags(const TPolygonList& Facets) {
    std::vector<bool> Flags(static_cast<std::size_t>(Facets.Count()));
    for (int I = 0; I < Facets.Count(); ++I) Flags[static_cast<std::size_t>(I)] = Facets.Polygon(I)->GetSelected();
    return Flags;
}

// Frees the facets whose flag is set.
void DeleteFacets(TPolygonList& Facets, const std::vector<bool>& Which) {
    TPolygonList Removed;
    Facets.MoveFacetsTo(Which, Removed);
}

}  // namespace

void TGeoPGonlist::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Polygons", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoPolygonCreator>(Document, nullptr);
                   });
}

// ---- State kept in step with the facets ----

void TGeoPGonlist::FacetsChanged() {
    FEdgesKey.Renew();
    FSelectedPoints.Clear();
    FSharedPoints.Build(*FFacets);
}

void TGeoPGonlist::SelectionChanged() {
    FSharedPoints.Build(*FFacets);
    UpdateFrame();
}

void TGeoPGonlist::UpdateInsertMode() {
    const std::uint16_t Caps = GetCapabilities();
    SetCapabilities(SelectedTriangle() >= 0 ? Caps | cpInsertPointKey
                                                  : static_cast<std::uint16_t>(Caps & ~cpInsertPointKey));
}

IGGonFrame* TGeoPGonlist::GonFrame() const { return dynamic_cast<IGGonFrame*>(GetFrame()); }

std::unique_ptr<TPointInfo> TGeoPGonlist::CreatePointInfo() { return std::make_unique<TCornerPointInfo>(this); }

void TGeoPGonlist::GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) {
    auto* C = dynamic_cast<TCornerPointInfo*>(&Info);
    if (C == nullptr) return TGeoDraggable::GetPointInfo(Index, Info, View);
    const bool Picked = Editing() && Index >= 0 && Index < FSelectedPoints.Count();
    C->SetCorner(Picked ? FSelectedPoints.Items(Index) : TCornerRef{}, View, true);
}

bool TGeoPGonlist::CanMerge() const {
    if (FFacets->SelectedCount() != 2) return false;
    const std::vector<int> Pair = FFacets->SelectedIndices();
    return FacetsShareEdge(*CopyPolygon(FFacets->Polygon(Pair.front())), *CopyPolygon(FFacets->Polygon(Pair.back())));
}

int TGeoPGonlist::SelectedTriangle() const {
    int Found = -1;
    for (int I = 0; I < FFacets->Count(); ++I) {
        if (!FFacets->Polygon(I)->GetSelected()) continue;
        if (Found >= 0) return -1;
        Found = I;
    }
    return Found >= 0 && FFacets->Polygon(Found)->CornerCount() == 3 ? Found : -1;
}

// ---- Picking ----

void TGeoPGonlist::SelectPoint(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) {
    Action = saDragRectangle;
    const TPoint Pixel{X, Y};
    const bool Ctrl = (Shift & ssCtrl) != 0;
    bool Changed = false;
    const auto Change = [&] {
        if (!Changed) Undraw();
        Changed = true;
    };
    FSelectedPoints.Clear();
    for (int I = 0; I < FFacets->Count(); ++I) {
        const TFacetRef F = FFacets->Polygon(I);
        if (!F.GetSelected()) continue;
        for (int C = 0; C < F.CornerCount(); ++C) {
            const TCornerRef Corner{FFacets.get(), I, C};
            if (PixelDistance(View.WorldToScreenPoint(Corner.Corner().AsPoint()), Pixel) >= PickDistance) {
                if (!Corner.Marked()) continue;
                if (Ctrl) {
                    FSelectedPoints.Add(Corner);
                } else {
                    Change();
                    Corner.SetMarked(false);
                }
            } else {
                if (!Corner.Marked()) Change();
                Corner.SetMarked(true);
                FSelectedPoints.Add(Corner);
                Action = saMouseDrag;
            }
        }
    }
    if (Action == saDragRectangle) {
        for (int I = 0; I < FFacets->Count(); ++I) {
            TFacetRef F = FFacets->Polygon(I);
            const bool Hit = FacetUnderPixel(F, Pixel, View);
            if (!Hit && Ctrl) continue;
            if (Hit || F.GetSelected()) Change();
            F.SetSelected(Hit && !(Ctrl && F.GetSelected()));
            for (int C = 0; C < F.CornerCount(); ++C) F.SetCornerMarked(C, false);
            if (Hit && F.GetSelected()) Action = saDoNothing;
        }
    }
    if (Changed) Redraw();
    UpdateInsertMode();
    SelectionChanged();
}

void TGeoPGonlist::SelectRect(IGraphics& View, const TRect& Rect, TShiftState Shift) {
    Undraw();
    const bool Ctrl = (Shift & ssCtrl) != 0;
    for (int I = 0; I < FFacets->Count(); ++I) {
        TFacetRef F = FFacets->Polygon(I);
        if (!Ctrl) F.SetSelected(false);
        for (int C = 0; C < F.CornerCount() && !F.GetSelected(); ++C)
            if (InsideRect(View.WorldToScreenPoint(F.Corner(C)->AsPoint()), Rect)) F.SetSelected(true);
    }
    UpdateInsertMode();
    FSharedPoints.Build(*FFacets);
    Redraw();
    UpdateFrame();
}

void TGeoPGonlist::SelectAllPoints() {
    if (!Editing()) return;
    for (int I = 0; I < FFacets->Count(); ++I) FFacets->Polygon(I)->SetSelected(true);
    UpdateInsertMode();
    SelectionChanged();
    Redraw();
}

void TGeoPGonlist::DeselectAllPoints() {
    for (int I = 0; I < FFacets->Count(); ++I) FFacets->Polygon(I)->SetSelected(false);
    FSharedPoints.Clear();
    FSelectedPoints.Clear();
    UpdateFrame();
}

void TGeoPGonlist::SelectSharedPoints(int First, int Last) {
    if (!Editing()) return;
    for (int K = 0; K < FSharedPoints.Count(); ++K) FSharedPoints.Items(K).SetSelected(K >= First && K <= Last);
    Redraw();
}

void TGeoPGonlist::AddSnapPoints(TGeometrySnapInfo& Request) {
    if (!Request.SnapTypes().test(stPolygonList)) return;
    for (int I = 0; I < FFacets->Count(); ++I) {
        const TFacetRef F = FFacets->Polygon(I);
        // Corner marks count only in selected facets: those corners are the ones being dragged.
        for (int C = 0; C < F.CornerCount(); ++C)
            if (!(F.GetSelected() && F.CornerMarked(C))) Request.TryRPoint(F.Corner(C)->AsPoint(), stPolygonList, this);
    }
}

// ---- Keys and facet commands ----

void TGeoPGonlist::KeyDown(TKeyCode& Key, TShiftState Shift) {
    if ((Shift & ssCtrl) && (Key == 'M' || Key == 'K')) {
        if (Key == 'M' && Editing() && CanMerge()) MergeSelected();
        if (Key == 'K' && Editing() && FFacets->SelectedCount() > 0) SplitSelected();
        return;
    }
    TGeoDraggable::KeyDown(Key, Shift);
}

void TGeoPGonlist::DeleteSelectedPoints() {
    int Quad = -1;
    int QuadCorner = -1;
    bool Any = false;
    for (int I = 0; I < FFacets->Count(); ++I) {
        const TFacetRef F = FFacets->Polygon(I);
        if (!F.GetSelected()) continue;
        Any = true;
        int K = 0;
        int Last = -1;
        for (int C = 0; C < F.CornerCount(); ++C)
            if (F.CornerMarked(C)) {
                ++K;
                Last = C;
            }
        if (K > 1 || (Quad >= 0 && K > 0)) return;
        if (Quad < 0 && K == 1 && F.CornerCount() == 4) {
            Quad = I;
            QuadCorner = Last;
        }
    }
    // Nothing selected leaves no undo step behind.
    if (!Any) return;
    BeginChange();
    Undraw();
    if (Quad >= 0)
        FFacets->Polygon(Quad).Delete(QuadCorner);
    else
        DeleteFacets(*FFacets, SelectedFlags(*FFacets));
    FacetsChanged();
    EndChange();
    Redraw();
}

void TGeoPGonlist::MergeSelected() {
    if (!CanMerge()) return;
    BeginChange();
    const std::vector<int> Pair = FFacets->SelectedIndices();
    std::unique_ptr<TPolygon> Merged =
        MergeFacetsToQuad(*CopyPolygon(FFacets->Polygon(Pair.front())), *CopyPolygon(FFacets->Polygon(Pair.back())));
    Undraw();
    DeleteFacets(*FFacets, SelectedFlags(*FFacets));
    FFacets->Add(std::move(Merged));
    FacetsChanged();
    Redraw();
    EndChange();
}

void TGeoPGonlist::SplitSelected() {
    if (FFacets->SelectedCount() == 0) return;
    BeginChange();
    const std::unique_ptr<TPolygonList> Parts = SubdivideFacets(*FFacets, FFacets->SelectedIndices());
    Undraw();
    DeleteFacets(*FFacets, SelectedFlags(*FFacets));
    FFacets->TakeFrom(*Parts);
    Redraw();
    FacetsChanged();
    EndChange();
}

void TGeoPGonlist::MoveToNewPolygonList() {
    TGeometryList* List = GetOwnerList();
    const int Selected = FFacets->SelectedCount();
    if (List == nullptr || Selected == 0 || Selected >= FFacets->Count()) return;
    // Taken before the bracket, whose end of editing deselects every facet.
    const std::vector<bool> Take = SelectedFlags(*FFacets);
    InListUpdate(*List, [&] {
        BeginChange();
        auto Entity = std::make_unique<TGeoPGonlist>();
        FFacets->MoveFacetsTo(Take, *Entity->FFacets);
        FacetsChanged();
        EndChange();
        List->Add(std::move(Entity));
    });
}

void TGeoPGonlist::AddPolygons() {
    auto* Document = dynamic_cast<TGeometryInterface*>(GetOwnerList());
    if (Document == nullptr || Document->View == nullptr) return;
    IOpenGLView& View = *Document->View;
    SetEditing(false);
    RunCreator(std::make_unique<TGeoPolygonCreator>(*Document, this), View);
}

// ---- The frame's edits ----

void TGeoPGonlist::SetSharedCoordinate(int Index, int Axis, double Value) {
    if (Index < 0 || Index >= FSharedPoints.Count() || Axis < 0 || Axis > 2) return;
    BeginChange();
    Undraw();
    FSharedPoints.Items(Index).SetCoordinate(Axis, Value);
    EndChange();
    InvalidateViews();
}

void TGeoPGonlist::FillSharedCoordinate(int Axis, double Value) {
    if (Axis < 0 || Axis > 2) return;
    BeginChange();
    Undraw();
    FSharedPoints.FillCoordinate(Axis, Value);
    EndChange();
    InvalidateViews();
}

// ---- Dragging and inserting ----

void TGeoPGonlist::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    FDragStart = std::make_unique<TPolyline>();
    FSelectedPoints.CopyToPolyline(*FDragStart);
}

void TGeoPGonlist::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    if (!FDragStart) return;
    const int N = std::min(FSelectedPoints.Count(), FDragStart->Count());
    for (int I = 0; I < N; ++I) {
        const TCornerRef P = FSelectedPoints.Items(I);
        if (P.Marked()) P.SetVector(VectorAdd(FDragStart->Point(I)->Vector(), Offset));
    }
    if (IGGonFrame* Frame = GonFrame()) Frame->RefreshPositions();
}

void TGeoPGonlist::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) { FDragStart.reset(); }

void TGeoPGonlist::InsertPointClick(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    const int Triangle = SelectedTriangle();
    if (Triangle < 0) return;
    BeginChange();
    Undraw();
    const TEdgePoint At = PolygonEdgePointAtPixel(*CopyPolygon(FFacets->Polygon(Triangle)), ScreenPoint, View);
    if (At.Index >= 1) FFacets->Polygon(Triangle).Insert(At.Index, At.Point);
    FacetsChanged();
    EndChange();
    InvalidateViews();
}

void TGeoPGonlist::DrawInsertPreview(TPoint ScreenPoint, IGraphics& View, TColor Colour) {
    const int Index = SelectedTriangle();
    if (Index < 0) return;
    const std::unique_ptr<TPolygon> Triangle = CopyPolygon(FFacets->Polygon(Index));
    const TEdgePoint At = PolygonEdgePointAtPixel(*Triangle, ScreenPoint, View);
    if (At.Index < 1) return;
    const int N = Triangle->CornerCount();
    const TFacetCorner& A = *Triangle->Corner(At.Index - 1);
    const TFacetCorner& B = *Triangle->Corner(At.Index > N - 1 ? 0 : At.Index);
    const TMVector& P = At.Point;
    View.SetLineColor(Colour);
    View.Line(A.X, A.Y, A.Z, P.X, P.Y, P.Z);
    View.Line(P.X, P.Y, P.Z, B.X, B.Y, B.Z);
    View.EditHandle(0, P.X, P.Y, P.Z);
}

void TGeoPGonlist::DrawInsertPointPreview(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    DrawInsertPreview(ScreenPoint, View, clYellow);
}

void TGeoPGonlist::EraseInsertPointPreview(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    DrawInsertPreview(ScreenPoint, View, View.GetBackColor());
}

}  // namespace sarnova
