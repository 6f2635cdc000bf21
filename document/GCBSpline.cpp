#include "document/GCBSpline.h"

#include "document/GBSpline.h"
#include "document/GCSpline.h"
#include "document/GeometryQuery.h"
#include "foundation/Curve.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

const char* const StraightenCaption = "Straighten Points";
const char* const ControlPolygonCaption = "Show Control Polygon";
const char* const CurvatureCaption = "Show Curvature";

}  // namespace

// ---- TGeoCBSpline ----

TGeoCBSpline::TGeoCBSpline() : FSpline(std::make_unique<TCBSpline>()) {
    SetCapabilities(GetCapabilities() | cpUndoable);
}

TPolyline* TGeoCBSpline::OwnCurve() const { return FSpline.get(); }

TGeoCBSpline::~TGeoCBSpline() = default;

void TGeoCBSpline::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Cubic BSpline (Interpolating)", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoCBSplineCreator>(Document);
                   });
}

void TGeoCBSpline::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (!OnlyClassSelected<TGeoCBSpline>(List)) return;
    if (Menu.Count() > 0) Menu.Add("-");
    AddDocumentItem(Menu, "Convert Cubic BSpline Curves to Polylines", List, ConvertSelectedCBSplinesToPolylines);
    AddDocumentItem(Menu, "Convert Cubic BSpline Points to Polylines", List, ConvertSelectedCBSplinePointsToPolylines);
    AddDocumentItem(Menu, "Convert Cubic BSpline Curves to BSplines", List, ConvertSelectedCBSplinesToBSplines);
}

void TGeoCBSpline::SetShowControlPolygon(bool On) {
    Undraw();
    ShowControlPolygon = On;
    Redraw();
}

void TGeoCBSpline::ConvertToBSpline() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr || FSpline->Count() < 2) return;
    // The B-spline of the present points, also when the curve was never drawn.
    FSpline->Generate();
    auto Curve = std::make_unique<TGeoBSpline>();
    Curve->Spline().Assign(FSpline->Spline());
    ReplaceInList(std::move(Curve));
    List->InvalidateViews();
}

template <class T>
void TGeoCBSpline::ChangeSetting(T& Field, T Value) {
    if (Field == Value) return;
    Undraw();
    BeginChange();
    Field = Value;
    MarkChanged();
    // A change marked while another is still pending does not mark the pictures again.
    InvalidateCurveRepresentations();
    Redraw();
}

void TGeoCBSpline::SetContinuity(TSplineContinuity Value) { ChangeSetting(FSpline->Continuity, Value); }

void TGeoCBSpline::SetStartConditionKind(TEndConditionKind Kind) { ChangeSetting(FSpline->StartCondition.Kind, Kind); }

void TGeoCBSpline::SetEndConditionKind(TEndConditionKind Kind) { ChangeSetting(FSpline->EndCondition.Kind, Kind); }

void TGeoCBSpline::SetAccountForChordLength(bool Value) { ChangeSetting(FSpline->AccountForChordLength, Value); }

void TGeoCBSpline::DeleteSelectedPoints() {
    BeginChange();
    RemoveMarkedPoints(4);
    EndChange();
    InvalidateViews();
}

void TGeoCBSpline::Transform(const TMMatrix& M) {
    BeginChange();
    FSpline->Assign(*FSpline->Transformed(M));
    EndChange();
}

void TGeoCBSpline::Assign(const TGeometry& Source) {
    TGeoCustomPLine::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoCBSpline*>(&Source)) FSpline->Assign(*Other->FSpline);
}

void TGeoCBSpline::Query(TGeometryQuery& Query) {
    if (!Query.Asks(qkCurve) && !Query.Asks(qkBSplineCurve) && !Query.Asks(qkPolyline)) return;
    if (Query.CountOnly) {
        Query.CountItem();
    } else if (Query.Asks(qkCurve)) {
        Query.AddReference(FSpline.get(), GetName());
    } else if (Query.Asks(qkBSplineCurve)) {
        // The B-spline of the present points, also when the curve was never drawn.
        FSpline->Generate();
        Query.AddReference(&FSpline->Spline(), GetName());
    } else if (TPolyline* Display = DisplayPolyline()) {
        Query.AddReference(Display, GetName());
    }
}

void TGeoCBSpline::Draw(IGraphics& View) {
    TGeoCustomPLine::Draw(View);
    View.SetLineColor(Colors().DrawColor());
    if (ShowControlPolygon) FSpline->DrawControlPolygon(View);
    if (!Editing()) return;
    View.SetLineColor(Colors().ControlPolygonColor());
    DrawPointHandles(View, *FSpline, true);
}

void TGeoCBSpline::DrawOutline(IGraphics& View) {
    TGeoCustomPLine::DrawOutline(View);
    if (ShowControlPolygon) FSpline->DrawControlPolygon(View);
    if (Editing()) DrawPointHandles(View, *FSpline, false);
}

IGeometryFrame* TGeoCBSpline::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(CBSplineFrameName, *this, Owner)) return Frame;
    return TGeoDraggableCurve::CreateFrame(Owner);
}

void TGeoCBSpline::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(StraightenCaption, [this](TMenuItem&) { StraightenPoints(); });
    AddMenuItem("-", {});
    AddMenuItem("Convert Curve to Polyline", [this](TMenuItem&) { ConvertToPolyline(); });
    AddMenuItem("Control Points to Polyline", [this](TMenuItem&) { ControlPointsToPolyline(); });
    AddMenuItem("Convert Curve to BSpline", [this](TMenuItem&) { ConvertToBSpline(); });
    AddMenuItem(ExtrudeSurfaceCaption, [this](TMenuItem&) { ExtrudeSurface(); });
    AddMenuItem("-", {});
    AddMenuItem(ControlPolygonCaption, [this](TMenuItem&) { ToggleControlPolygon(); });
    AddMenuItem(CurvatureCaption, [this](TMenuItem&) { ToggleDrawCurvature(); });
    UpdateMenuItems(Root);
}

void TGeoCBSpline::UpdateMenuItems(TMenuItem& Root) {
    if (TMenuItem* I = Root.Find(StraightenCaption)) I->Enabled = MarkedPointCount() > 2;
    if (TMenuItem* I = Root.Find(ControlPolygonCaption)) I->Checked = ShowControlPolygon;
    if (TMenuItem* I = Root.Find(CurvatureCaption)) I->Checked = DrawCurvature();
}

// ---- TGeoCBSplineCreator ----

TGeoCBSplineCreator::TGeoCBSplineCreator(TGeometryList& List)
    : TGeoDraggableLineCreator(List, std::make_unique<TCBSpline>()) {}

void TGeoCBSplineCreator::CreateGeometry() {
    auto Entity = std::make_unique<TGeoCBSpline>();
    Entity->Spline().Assign(GetPoints());
    GetDocumentList().Add(std::move(Entity))->Redraw();
}

void TGeoCBSplineCreator::DrawShape() { DrawGeneratedCurveShape(*this, false); }

void TGeoCBSplineCreator::EraseShape() { DrawGeneratedCurveShape(*this, true); }

// ---- Operations on the selected interpolating cubic B-splines ----

void ConvertSelectedCBSplinesToPolylines(TGeometryList& List) {
    ForEachSelected<TGeoCBSpline>(List, [](TGeoCBSpline& Curve) { Curve.ConvertToPolyline(); });
}

void ConvertSelectedCBSplinePointsToPolylines(TGeometryList& List) {
    ForEachSelected<TGeoCBSpline>(List, [](TGeoCBSpline& Curve) { Curve.ControlPointsToPolyline(); });
}

void ConvertSelectedCBSplinesToBSplines(TGeometryList& List) {
    ForEachSelected<TGeoCBSpline>(List, [](TGeoCBSpline& Curve) { Curve.ConvertToBSpline(); });
}

}  // namespace sarnova
