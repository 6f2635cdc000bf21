#include "document/GCurve.h"

#include <algorithm>
#include <cmath>

#include "document/GPline.h"
#include "document/GeometryList.h"
#include "foundation/GeomBox.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineResample.h"

namespace sarnova {

namespace {

// Vertices of the display polyline: about this many for a plain polyline, so that picking by vertex
// also finds it along its segments.
constexpr int DisplayPointCount = 200;
// From this many entities on, picking uses the entities' points, which is cheaper.
constexpr int LargeDocumentCount = 500;

}  // namespace

// ---- TPolylineRepresentation ----

TPolylineRepresentation::TPolylineRepresentation(TGeoDraggableCurve& ACurve)
    : TGeometryRepresentation(ACurve), Curve(ACurve) {}

TPolylineRepresentation::~TPolylineRepresentation() = default;

void TPolylineRepresentation::Rebuild() {
    Display.reset();
    TPolyline* Source = Curve.GetPolyline();
    if (Source == nullptr) return;
    if (dynamic_cast<TGeoPline*>(&Curve) != nullptr)
        Display = DensifyPolyline(DisplayPointCount, *Source);
    else
        Display = Source->Digitise();
}

void TPolylineRepresentation::DoDraw(IGraphics& View) {
    if (Display) Display->Draw(View);
}

void TPolylineRepresentation::DoDrawOutline(IGraphics& View) {
    if (Display) Display->Draw(View);
}

double TPolylineRepresentation::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) const {
    double Best = 1e33;
    if (!GetVisible() || !Display) return Best;
    for (int I = 0; I < Display->Count(); ++I) {
        const TPoint P = View.WorldToScreenPoint(*Display->Point(I));
        Best = std::min(Best, std::hypot(double(P.X) - ScreenPoint.X, double(P.Y) - ScreenPoint.Y));
    }
    return Best;
}

bool TPolylineRepresentation::InRect(const TRect& Rect, IGraphics& View) const {
    if (!GetVisible() || !Display) return false;
    for (int I = 0; I < Display->Count(); ++I) {
        const TPoint P = View.WorldToScreenPoint(*Display->Point(I));
        if (P.X >= Rect.Left && P.X < Rect.Right && P.Y >= Rect.Top && P.Y < Rect.Bottom) return true;
    }
    return false;
}

// ---- TCurvatureAnalysisRepresentation ----

TCurvatureAnalysisRepresentation::TCurvatureAnalysisRepresentation(TGeoDraggableCurve& ACurve)
    : TGeometryRepresentation(ACurve), Curve(ACurve) {
    StoreVisible(false);
}

TCurvatureAnalysisRepresentation::~TCurvatureAnalysisRepresentation() = default;

bool TCurvatureAnalysisRepresentation::CanDraw() const {
    return TGeometryRepresentation::CanDraw() ||
           (Curve.Editing() && CurrentSettings().ShowSurfaceCurvatureWhileEditing);
}

void TCurvatureAnalysisRepresentation::DoDraw(IGraphics& View) { Analysis.Draw(View); }
void TCurvatureAnalysisRepresentation::DoDrawOutline(IGraphics& View) { Analysis.Draw(View); }
void TCurvatureAnalysisRepresentation::Rebuild() { Curve.AddToCurveAnalysis(Analysis); }

// ---- TGeoDraggableCurve ----

TGeoDraggableCurve::TGeoDraggableCurve() = default;

TGeoDraggableCurve::~TGeoDraggableCurve() { DropPart(TPartSlot::Pictures); }

TGeoDraggableCurve::TPictures::~TPictures() = default;

TGeoDraggableCurve::TPictures& TGeoDraggableCurve::MakePictures() const {
    if (TPictures* Made = MadePictures()) return *Made;
    // The pictures are the entity's own caches: making them does not change the entity.
    auto& Self = const_cast<TGeoDraggableCurve&>(*this);
    return static_cast<TPictures&>(Self.KeepPart(TPartSlot::Pictures, std::make_unique<TPictures>()));
}

TPolylineRepresentation* TGeoDraggableCurve::GetPolylineRepresentation() const {
    if (!HasDisplayPolyline) return nullptr;
    TPictures& Made = MakePictures();
    if (!Made.Polyline) Made.Polyline = std::make_unique<TPolylineRepresentation>(const_cast<TGeoDraggableCurve&>(*this));
    return Made.Polyline.get();
}

TCurvatureAnalysisRepresentation& TGeoDraggableCurve::GetCurvatureRepresentation() const {
    TPictures& Made = MakePictures();
    if (!Made.Comb) Made.Comb = std::make_unique<TCurvatureAnalysisRepresentation>(const_cast<TGeoDraggableCurve&>(*this));
    return *Made.Comb;
}

void TGeoDraggableCurve::AddToCurveAnalysis(TCurveAnalysis& Analysis) {
    if (TPolyline* Curve = GetPolyline())
        Analysis.Analyse(*Curve);
    else
        Analysis.Clear();
}

TPolyline* TGeoDraggableCurve::GetPolyline() {
    // Without an override only an exact polyline can be recognised behind the untyped data object.
    const TDataObject Data = GetDataObject();
    return Data && *Data.Type == typeid(TPolyline) ? static_cast<TPolyline*>(Data.Object) : nullptr;
}

void TGeoDraggableCurve::SetDrawCurvature(bool On) {
    if (On == DrawCurvature()) return;
    SetState(On ? GetState() | gsCurvature : GetState() & static_cast<std::uint16_t>(~gsCurvature));
    GetCurvatureRepresentation().SetVisible(On);
    InvalidateViews();
    RefreshFrame();
}

void TGeoDraggableCurve::InvalidateCurveRepresentations() {
    if (TPolylineRepresentation* Display = MadePolyline()) Display->Invalidate();
    if (TCurvatureAnalysisRepresentation* Comb = MadeComb()) Comb->Invalidate();
}

TPolyline* TGeoDraggableCurve::DisplayPolyline() {
    TPolylineRepresentation* Display = GetPolylineRepresentation();
    if (Display == nullptr) return nullptr;
    Display->Update();
    return Display->GetPolyline();
}

void TGeoDraggableCurve::InvalidateRepresentations() {
    TGeoDraggable::InvalidateRepresentations();
    InvalidateCurveRepresentations();
}

TMBox TGeoDraggableCurve::CalculateExtents() {
    TPolyline* Curve = GetPolyline();
    return Curve != nullptr ? Curve->Extents() : EmptyBox;
}

void TGeoDraggableCurve::Assign(const TGeometry& Source) {
    TGeoDraggable::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoDraggableCurve*>(&Source);
    if (Other == nullptr) return;
    // A picture not made yet is visible: it is made here only to take a hidden state.
    const TPolylineRepresentation* OtherDisplay = Other->MadePolyline();
    const bool Visible = !OtherDisplay || OtherDisplay->GetVisible();
    if (HasDisplayPolyline && Other->HasDisplayPolyline && (MadePolyline() || !Visible))
        GetPolylineRepresentation()->SetVisible(Visible);
    SetDrawCurvature(Other->DrawCurvature());
}

bool TGeoDraggableCurve::PicksByDisplayPolyline() const {
    const TGeometryList* List = GetOwnerList();
    return List != nullptr && List->Count() < LargeDocumentCount && HasDisplayPolyline &&
           (!MadePolyline() || MadePolyline()->GetVisible());
}

double TGeoDraggableCurve::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    if (!PicksByDisplayPolyline()) return TGeoDraggable::DistanceToPoint(ScreenPoint, View);
    // A curve that was never drawn (a document filled by a macro) is still picked where it lies.
    DisplayPolyline();
    return GetPolylineRepresentation()->DistanceToPoint(ScreenPoint, View);
}

bool TGeoDraggableCurve::InRect(const TRect& Rect, IGraphics& View) {
    if (!PicksByDisplayPolyline()) return TGeoDraggable::InRect(Rect, View);
    DisplayPolyline();
    return GetPolylineRepresentation()->InRect(Rect, View);
}

void TGeoDraggableCurve::DrawHighlighted(IGraphics& View) {
    DrawHighlightOverlay(*this, View, [&] {
        if (TPolylineRepresentation* Display = GetPolylineRepresentation()) Display->Draw(View);
    });
}

void TGeoDraggableCurve::Draw(IGraphics& View) {
    if (TPolylineRepresentation* Display = GetPolylineRepresentation()) Display->Draw(View);
    // A comb never shown is drawn only while the curve is edited (see its CanDraw).
    if (MadeComb() || Editing()) GetCurvatureRepresentation().Draw(View);
}

void TGeoDraggableCurve::DrawOutline(IGraphics& View) {
    // Pictures not made yet have nothing drawn to erase.
    if (TPolylineRepresentation* Display = MadePolyline()) Display->DrawOutline(View);
    if (TCurvatureAnalysisRepresentation* Comb = MadeComb()) Comb->DrawOutline(View);
}

void TGeoDraggableCurve::DrawSimplified(IGraphics& View) { DrawBox(View); }

void TGeoDraggableCurve::HandleMessage(TGeoMessage& Message) {
    TGeoDraggable::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectCurves*>(&Message) != nullptr) SetSelected(true);
}

}  // namespace sarnova
