#include "entities/GDefinedCurve.h"

#include "document/GPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineOps.h"
#include "foundation/TextFile.h"

namespace sarnova {

// ---- TShapeRepresentation ----

TShapeRepresentation::TShapeRepresentation(TGeometry& AGeometry, TMake AMake)
    : TGeometryRepresentation(AGeometry), Make(std::move(AMake)) {}

TShapeRepresentation::~TShapeRepresentation() = default;

TPolyline& TShapeRepresentation::Polyline() {
    // A polyline asked for outside drawing (picking, snapping, a query after a macro moved the
    // entity) shows the entity as it is now.
    Update();
    if (!Shape) Shape = Make();
    return *Shape;
}

void TShapeRepresentation::DoDraw(IGraphics& View) {
    if (Shape) Shape->Draw(View);
}

void TShapeRepresentation::DoDrawOutline(IGraphics& View) {
    if (Shape) Shape->Draw(View);
}

void TShapeRepresentation::Rebuild() { Shape = Make(); }

// ---- TGeoDefinedCurve ----

TGeoDefinedCurve::TGeoDefinedCurve()
    : Shape(std::make_unique<TShapeRepresentation>(*this, [this] { return MakePolyline(); })) {
    SetCapabilities(GetCapabilities() | cpUndoable);
}

TGeoDefinedCurve::~TGeoDefinedCurve() = default;

void TGeoDefinedCurve::MarkPointRange(int First, int Last) {
    if (!Editing()) return;
    for (int I = 0; I < HandleCount(); ++I) Handle(I).Marked = I >= First && I <= Last;
    Redraw();
}

void TGeoDefinedCurve::SetPointCoordinate(int Index, int Axis, double Value) {
    if (Index < 0 || Index >= HandleCount() || Axis < 0 || Axis > 2) return;
    ChangeInFrame([&] {
        TRPoint& P = Handle(Index);
        (Axis == 0 ? P.X : Axis == 1 ? P.Y : P.Z) = Value;
    });
}

void TGeoDefinedCurve::ConvertToPolyline() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    auto Polyline = std::make_unique<TGeoPline>();
    Polyline->Polyline().Assign(DisplayPolyline());
    InListUpdate(*List, [&] {
        List->DeleteGeometry(this);  // frees this entity
        List->Add(std::move(Polyline));
    });
}

int TGeoDefinedCurve::GetPointCount() { return Editing() ? HandleCount() : DisplayPolyline().Count(); }

TRPoint* TGeoDefinedCurve::GetPoint(int Index) {
    if (Editing()) return Index >= 0 && Index < HandleCount() ? &Handle(Index) : nullptr;
    TPolyline& Points = DisplayPolyline();
    return Index >= 0 && Index < Points.Count() ? Points.Point(Index) : nullptr;
}

void TGeoDefinedCurve::InvalidateRepresentations() {
    TGeoDraggable::InvalidateRepresentations();
    Shape->Invalidate();
}

void TGeoDefinedCurve::AddSnapPoints(TGeometrySnapInfo& Request) {
    const TSnapOptions Kinds = Request.SnapTypes();
    if (Kinds.test(stPoint))
        for (int I = 0; I < HandleCount(); ++I)
            if (const TRPoint& P = Handle(I); !P.Marked) Request.TryRPoint(P, stPoint, this);
    if (Kinds.test(stCurve) && !Editing() && Request.View != nullptr) {
        const std::unique_ptr<TRPoint> Nearest =
            PolylineNearestScreenPoint(Request.ScreenPoint, DisplayPolyline(), *Request.View);
        if (Nearest) Request.TryRPoint(*Nearest, stCurve, this);
    }
}

void TGeoDefinedCurve::DrawHighlighted(IGraphics& View) {
    DrawHighlightOverlay(*this, View, [&] { Shape->Draw(View); });
}

void TGeoDefinedCurve::DrawHandles(IGraphics& View, bool InColour) {
    if (!Editing()) return;
    const TGeometryColors& C = Colors();
    for (int I = 0; I < HandleCount(); ++I) {
        const TRPoint& P = Handle(I);
        if (InColour) View.SetLineColor(P.Marked ? C.SelectColor() : C.ControlPolygonColor());
        View.EditHandlePoint(P, 0);
    }
    if (InColour) DrawExtraHandles(View);
}

void TGeoDefinedCurve::Draw(IGraphics& View) {
    Shape->Draw(View);
    DrawHandles(View, true);
}

void TGeoDefinedCurve::DrawOutline(IGraphics& View) {
    Shape->DrawOutline(View);
    DrawHandles(View, false);
}

void TGeoDefinedCurve::DrawSimplified(IGraphics& View) { Shape->Draw(View); }

void TGeoDefinedCurve::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetClass().GetKeyword() + "]");
    SaveKernel(Out);
    WriteCommonKeys(Out, *this, ckName | ckColor);
    Out.WriteLine("");
}

void TGeoDefinedCurve::LoadFromText(TTextReader& In) {
    LoadKernel(In);
    TBlockLine Line;
    while (ReadBlockLine(In, Line))
        if (Line.Key == "NAME" || Line.Key == "COLOR") ReadCommonKey(*this, Line);
}

IShapeFrame* TGeoDefinedCurve::ShapeFrame() const { return dynamic_cast<IShapeFrame*>(GetFrame()); }

void TGeoDefinedCurve::UpdateFrame() {
    if (IShapeFrame* Frame = ShapeFrame())
        Frame->UpdateFromEntity();
    else
        TGeoDraggable::UpdateFrame();
}

void TGeoDefinedCurve::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    DragCopy = std::make_unique<TPolyline>();
    for (int I = 0; I < HandleCount(); ++I) DragCopy->AddPointCopy(&Handle(I));
}

void TGeoDefinedCurve::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    DragCopy.reset();
}

void TGeoDefinedCurve::DragMarkedHandles(const TMVector& Offset) {
    if (!DragCopy) return;
    for (int I = 0; I < HandleCount(); ++I)
        if (TRPoint& P = Handle(I); P.Marked) P.SetVector(VectorAdd(DragCopy->Point(I)->Vector(), Offset));
    Dragged();
}

void TGeoDefinedCurve::Dragged() {
    Shape->Invalidate();
    if (IShapeFrame* Frame = ShapeFrame()) Frame->UpdateDragged();
}

}  // namespace sarnova
