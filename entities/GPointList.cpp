#include "entities/GPointList.h"

#include "document/GCustomPline.h"
#include "document/GPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/Settings.h"
#include "foundation/BlockCount.h"
#include "foundation/GeomBox.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

const char* const PolylineCaption = "Polyline through Points";

int SelectedCount(const TPointCloud& Cloud) {
    int N = 0;
    for (int I = 0; I < Cloud.Count(); ++I) N += Cloud.Items(I)->Marked ? 1 : 0;
    return N;
}

}  // namespace

// ---- TGeoPointList ----

TGeoPointList::TGeoPointList() : Points(std::make_unique<TPointCloud>()) {
    SetCapabilities(GetCapabilities() | cpUndoable | cpInsertPointKey);
}

const char* TGeoPointList::HintText() const {
    return "Left Click to Select, Shift to Select by region, Ctrl to add to add to previous selection, Delete to "
           "remove points, 'A' to add points";
}

TGeoPointList::~TGeoPointList() = default;

void TGeoPointList::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Point Cloud", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoPointCloudCreator>(Document);
                   });
}

void TGeoPointList::PolylineThroughPoints() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    std::unique_ptr<TPolyline> Through;
    if (Editing()) {
        TPointCloud Selected;
        for (int I = 0; I < Points->Count(); ++I)
            if (Points->Items(I)->Marked) Selected.Add(Points->Items(I)->Clone());
        Through = Selected.PolylineThrough();
    } else {
        Through = Points->PolylineThrough();
    }
    auto Entity = std::make_unique<TGeoPline>();
    Entity->Polyline().Assign(*Through);
    List->Add(std::move(Entity))->Redraw();
}

void TGeoPointList::SetPointCoordinate(int Index, int Axis, double Value) {
    if (Index < 0 || Index >= Points->Count() || Axis < 0 || Axis > 2) return;
    BeginChange();
    Undraw();
    TRPoint& P = *Points->Items(Index);
    (Axis == 0 ? P.X : Axis == 1 ? P.Y : P.Z) = Value;
    Redraw();
    EndChange();
}

void TGeoPointList::SelectOnlyPoint(int Index) {
    if (!Editing()) return;
    for (int I = 0; I < Points->Count(); ++I) Points->Items(I)->Marked = I == Index;
    Redraw();
}

void TGeoPointList::AddOrigin() {
    BeginChange();
    Undraw();
    Points->AddXYZ(0, 0, 0);
    EndChange();
    Redraw();
}

void TGeoPointList::DeletePoint(int Index) {
    for (int I = 0; I < Points->Count(); ++I) Points->Items(I)->Marked = I == Index;
    DeleteSelectedPoints();
}

void TGeoPointList::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(PolylineCaption, [this](TMenuItem&) { PolylineThroughPoints(); });
    UpdateMenuItems(Root);
}

void TGeoPointList::UpdateMenuItems(TMenuItem& Root) {
    if (TMenuItem* Item = Root.Find(PolylineCaption))
        Item->Enabled = Editing() ? SelectedCount(*Points) > 1 : Points->Count() > 1;
}

TRPoint* TGeoPointList::GetPoint(int Index) {
    return Index >= 0 && Index < Points->Count() ? Points->Items(Index) : nullptr;
}

TMBox TGeoPointList::CalculateExtents() {
    TMBox B = EmptyBox;
    for (int I = 0; I < Points->Count(); ++I) ExtendBoxByVector(Points->Items(I)->Vector(), B);
    return B;
}

IPointListFrame* TGeoPointList::PointListFrame() const { return dynamic_cast<IPointListFrame*>(GetFrame()); }

IGeometryFrame* TGeoPointList::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(PointListFrameName, *this, Owner)) return Frame;
    return TGeoDraggable::CreateFrame(Owner);
}

void TGeoPointList::UpdateFrame() {
    if (IPointListFrame* Frame = PointListFrame())
        Frame->RefreshAll();
    else
        TGeoDraggable::UpdateFrame();
}

void TGeoPointList::Transform(const TMMatrix& M) {
    BeginChange();
    Points->Assign(*Points->Transformed(M));
    EndChange();
}

void TGeoPointList::Assign(const TGeometry& Source) {
    TGeoDraggable::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoPointList*>(&Source)) Points->Assign(*Other->Points);
}

void TGeoPointList::Query(TGeometryQuery& Query) {
    if (!Query.Asks(qkPointCloud)) return;
    if (Query.CountOnly)
        Query.CountItem();
    else
        Query.AddReference(Points.get(), GetName());
}

void TGeoPointList::DrawPoints(IGraphics& View, bool InColour) {
    if (!Editing()) {
        Points->Draw(View);
        return;
    }
    for (int I = 0; I < Points->Count(); ++I) {
        const TRPoint& P = *Points->Items(I);
        if (InColour) View.SetLineColor(P.Marked ? Colors().SelectColor() : Colors().ControlPolygonColor());
        View.EditHandlePoint(P, 0);
    }
}

void TGeoPointList::Draw(IGraphics& View) { DrawPoints(View, true); }

void TGeoPointList::DrawOutline(IGraphics& View) { DrawPoints(View, false); }

void TGeoPointList::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    Points->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName);
    Out.WriteLine("");
}

void TGeoPointList::LoadFromText(TTextReader& In) {
    CheckListCount(In);
    Points->LoadFromText(In);
    TBlockLine Line;
    while (ReadBlockLine(In, Line))
        if (Line.Key == "NAME" || Line.Key == "COLOR") ReadCommonKey(*this, Line);
}

void TGeoPointList::DeleteSelectedPoints() {
    const auto FirstSelected = [this] {
        for (int I = 0; I < Points->Count(); ++I)
            if (Points->Items(I)->Marked) return I;
        return -1;
    };
    // Nothing to delete leaves no undo step behind.
    if (Points->Count() <= 2 || FirstSelected() < 0) return;
    BeginChange();
    Undraw();
    for (int I = FirstSelected(); I >= 0 && Points->Count() > 2; I = FirstSelected()) Points->Delete(I);
    EndChange();
    Redraw();
}

void TGeoPointList::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    DragStart = Points->Clone();
}

void TGeoPointList::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    if (!DragStart) return;
    for (int I = 0; I < Points->Count() && I < DragStart->Count(); ++I) {
        TRPoint& P = *Points->Items(I);
        if (P.Marked) P.SetVector(VectorAdd(DragStart->Items(I)->Vector(), Offset));
    }
    if (IPointListFrame* Frame = PointListFrame()) Frame->RefreshPositions();
}

void TGeoPointList::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) { DragStart.reset(); }

// ---- TGeoPointCloudCreator ----

TGeoPointCloudCreator::TGeoPointCloudCreator(TGeometryList& List) : TGeoDraggableCreator(List) {}

void TGeoPointCloudCreator::MouseDown(IGraphics&, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button == mbLeft) {
        TMVector W;
        ScreenToWorld(X, Y, W);
        Phase = Cloud.Count() > 0 ? 2 : 1;
        Cloud.AddXYZ(W.X, W.Y, W.Z);
        if (View != nullptr) View->SetLineColor(clWhite);
        ShowFeedback();
    } else if (Button == mbRight) {
        HideFeedback();
        CreateGeometry();
        Reset();
        // Nothing is entered any more: Esc now ends the tool at once.
        Phase = 0;
        UpdateHint();
    }
}

void TGeoPointCloudCreator::GetReferencePoint(TMVector& Point) {
    Point = Cloud.Count() >= 2 ? Cloud.Items(Cloud.Count() - 2)->Vector() : ZeroVector;
}

void TGeoPointCloudCreator::CreateGeometry() {
    auto Entity = std::make_unique<TGeoPointList>();
    Entity->Cloud().Assign(Cloud);
    GetDocumentList().Add(std::move(Entity))->Redraw();
}

void TGeoPointCloudCreator::DrawCloud(TColor Colour) {
    if (View == nullptr) return;
    View->SetLineColor(Colour);
    Cloud.Draw(*View);
}

void TGeoPointCloudCreator::DrawShape() { DrawCloud(CurrentSettings().DrawColor); }

void TGeoPointCloudCreator::EraseShape() { DrawCloud(CurrentSettings().BackColor); }

}  // namespace sarnova
