#include "document/GCSpline.h"

#include "document/GeometryQuery.h"
#include "foundation/CSpline.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

const char* const StraightenCaption = "Straighten Points";
const char* const CurvatureCaption = "Show Curvature";

// Joining the points by straight lines helps while the generated curve is this coarse.
constexpr int CoarseCurveCount = 10;

}  // namespace

// ---- TGeoCSpline ----

TGeoCSpline::TGeoCSpline() : FSpline(std::make_unique<TCSpline>()) {
    SetCapabilities(GetCapabilities() | cpUndoable);
}

TPolyline* TGeoCSpline::OwnCurve() const { return FSpline.get(); }

TGeoCSpline::~TGeoCSpline() = default;

void TGeoCSpline::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Cubic Spline", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoCSplineCreator>(Document);
                   });
}

void TGeoCSpline::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (!OnlyClassSelected<TGeoCSpline>(List)) return;
    if (Menu.Count() > 0) Menu.Add("-");
    AddDocumentItem(Menu, "Convert CSpline Curves to Polylines", List, ConvertSelectedCSplinesToPolylines);
    AddDocumentItem(Menu, "Convert CSpline Points to Polylines", List, ConvertSelectedCSplinePointsToPolylines);
}

void TGeoCSpline::DeleteSelectedPoints() {
    BeginChange();
    RemoveMarkedPoints(4);
    EndChange();
    InvalidateViews();
}

void TGeoCSpline::Transform(const TMMatrix& M) {
    BeginChange();
    FSpline->Assign(*FSpline->Transformed(M));
    EndChange();
}

void TGeoCSpline::Assign(const TGeometry& Source) {
    TGeoCustomPLine::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoCSpline*>(&Source)) FSpline->Assign(*Other->FSpline);
}

void TGeoCSpline::Query(TGeometryQuery& Query) {
    if (!Query.Asks(qkCurve) && !Query.Asks(qkPolyline)) return;
    if (Query.CountOnly)
        Query.CountItem();
    else if (Query.Asks(qkCurve))
        Query.AddReference(FSpline.get(), GetName());
    else if (TPolyline* Display = DisplayPolyline())
        Query.AddReference(Display, GetName());
}

void TGeoCSpline::Draw(IGraphics& View) {
    TGeoCustomPLine::Draw(View);
    if (!Editing()) return;
    View.SetLineColor(Colors().ControlPolygonColor());
    DrawPointHandles(View, *FSpline, true);
}

void TGeoCSpline::DrawOutline(IGraphics& View) {
    TGeoCustomPLine::DrawOutline(View);
    if (Editing()) DrawPointHandles(View, *FSpline, false);
}

void TGeoCSpline::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(StraightenCaption, [this](TMenuItem&) { StraightenPoints(); });
    AddMenuItem("-", {});
    AddMenuItem("Convert Curve to Polyline", [this](TMenuItem&) { ConvertToPolyline(); });
    AddMenuItem("Control Points to Polyline", [this](TMenuItem&) { ControlPointsToPolyline(); });
    AddMenuItem(ExtrudeSurfaceCaption, [this](TMenuItem&) { ExtrudeSurface(); });
    AddMenuItem("-", {});
    AddMenuItem(CurvatureCaption, [this](TMenuItem&) { ToggleDrawCurvature(); });
    UpdateMenuItems(Root);
}

void TGeoCSpline::UpdateMenuItems(TMenuItem& Root) {
    if (TMenuItem* I = Root.Find(StraightenCaption)) I->Enabled = MarkedPointCount() > 2;
    if (TMenuItem* I = Root.Find(CurvatureCaption)) I->Checked = DrawCurvature();
}

// ---- TGeoCSplineCreator ----

TGeoCSplineCreator::TGeoCSplineCreator(TGeometryList& List)
    : TGeoDraggableLineCreator(List, std::make_unique<TCSpline>()) {}

void TGeoCSplineCreator::CreateGeometry() {
    auto Entity = std::make_unique<TGeoCSpline>();
    Entity->Spline().Assign(GetPoints());
    GetDocumentList().Add(std::move(Entity))->Redraw();
}

void TGeoCSplineCreator::DrawShape() { DrawGeneratedCurveShape(*this, false); }

void TGeoCSplineCreator::EraseShape() { DrawGeneratedCurveShape(*this, true); }

// ---- Shared by the generated curves ----

void DrawGeneratedCurveShape(TGeoDraggableLineCreator& Creator, bool Erasing) {
    IOpenGLView* View = Creator.GetView();
    auto* Curve = dynamic_cast<TGeneratedCurve*>(&Creator.GetPoints());
    if (View == nullptr || Curve == nullptr) return;
    const TSarnovaSettings& Settings = CurrentSettings();
    View->SetLineColor(Erasing ? Settings.BackColor : Settings.DrawColor);
    if (Erasing || Curve->Generated().Count() < CoarseCurveCount) View->Polyline(*Curve);
    // Fewer points generate nothing: the generated polyline would still be the last curve's.
    if (Curve->Count() >= 2) Curve->Draw(*View);
    for (int I = 0; I < Curve->Count(); ++I) View->EditHandlePoint(*Curve->Point(I), 0);
}

// ---- Operations on the selected cubic splines ----

void ConvertSelectedCSplinesToPolylines(TGeometryList& List) {
    ForEachSelected<TGeoCSpline>(List, [](TGeoCSpline& Curve) { Curve.ConvertToPolyline(); });
}

void ConvertSelectedCSplinePointsToPolylines(TGeometryList& List) {
    ForEachSelected<TGeoCSpline>(List, [](TGeoCSpline& Curve) { Curve.ControlPointsToPolyline(); });
}

}  // namespace sarnova
