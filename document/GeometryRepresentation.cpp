#include "document/GeometryRepresentation.h"

#include <algorithm>
#include <cmath>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "document/Settings.h"
#include "foundation/Contours.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"
#include "platform/Screen.h"

namespace sarnova {

// ---- TGeometryRepresentation ----

TGeometryRepresentation::TGeometryRepresentation(TGeometry& AGeometry) : Geometry(AGeometry) {}

TGeometryRepresentation::~TGeometryRepresentation() = default;

void TGeometryRepresentation::SetVisible(bool Value) {
    if (Value == Visible) return;
    Geometry.Undraw();
    Visible = Value;
    NeedsRebuild = true;
    Geometry.Redraw();
}

void TGeometryRepresentation::Update() {
    if (!NeedsRebuild || Rebuilding) return;
    Rebuilding = true;
    struct TDone {
        TGeometryRepresentation& Self;
        ~TDone() {
            Self.NeedsRebuild = false;
            Self.Rebuilding = false;
            Self.PictureKey.Renew();
        }
    } Done{*this};
    Rebuild();
}

void TGeometryRepresentation::Draw(IGraphics& View) {
    if (!CanDraw()) return;
    Update();
    DoDraw(View);
}

void TGeometryRepresentation::DrawOutline(IGraphics& View) {
    if (CanDraw()) DoDrawOutline(View);
}

void TGeometryRepresentation::DrawAlways(IGraphics& View) {
    Update();
    DoDraw(View);
}

bool TGeometryRepresentation::CanDraw() const { return Visible && !Rebuilding; }

// ---- TPolylistRepresentation ----

TPolylistRepresentation::TPolylistRepresentation(TGeometry& AGeometry) : TGeometryRepresentation(AGeometry) {
    StoreVisible(false);
}

TPolylistRepresentation::~TPolylistRepresentation() = default;

void TPolylistRepresentation::DoDraw(IGraphics& View) {
    if (!Polylines) return;
    if (View.KeepsLines() && !(GetGeometry().GetState() & gsDragging))
        View.KeptLines(GetPictureKey(), [this](IGraphics& G) { Polylines->Draw(G); });
    else
        Polylines->Draw(View);
}

void TPolylistRepresentation::DoDrawOutline(IGraphics& View) {
    if (Polylines) Polylines->DrawOutlines(View);
}

template <class F>
bool TPolylistRepresentation::AnyVertex(F Visit) const {
    if (!GetVisible() || !Polylines) return false;
    const bool Mirrored = GetGeometry().Mirrored();
    for (int I = 0; I < Polylines->Count(); ++I) {
        const TPolyline& P = *Polylines->Items(I);
        for (int J = 0; J < P.Count(); ++J) {
            const TMVector V = P.Point(J)->Vector();
            if (Visit(V)) return true;
            if (Mirrored && Visit(TMVector{V.X, -V.Y, V.Z})) return true;
        }
    }
    return false;
}

double TPolylistRepresentation::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) const {
    double Best = 1e33;
    AnyVertex([&](const TMVector& V) {
        const TPoint S = View.WorldToScreenVector(V);
        Best = std::min(Best, std::hypot(double(S.X) - ScreenPoint.X, double(S.Y) - ScreenPoint.Y));
        return false;
    });
    return Best;
}

bool TPolylistRepresentation::InRect(const TRect& Rect, IGraphics& View) const {
    return AnyVertex([&](const TMVector& V) {
        const TPoint S = View.WorldToScreenVector(V);
        return S.X >= Rect.Left && S.X < Rect.Right && S.Y >= Rect.Top && S.Y < Rect.Bottom;
    });
}

TContours* TPolylistRepresentation::FindContours() const {
    const TGeometryList* List = GetGeometry().GetOwnerList();
    if (List == nullptr) return nullptr;
    // The contours entity hands out its contour set as its data object; no other entity does.
    for (int I = 0; I < List->Count(); ++I) {
        const TDataObject Data = List->Items(I).GetDataObject();
        if (Data && *Data.Type == typeid(TContours)) return static_cast<TContours*>(Data.Object);
    }
    return nullptr;
}

// ---- TGeometryContours ----

bool TGeometryContours::CanDraw() const {
    const TGeometry& G = GetGeometry();
    return TGeometryRepresentation::CanDraw() && !(G.GetState() & gsDragging) &&
           (CurrentSettings().ShowSurfaceContoursWhileEditing || !G.Editing());
}

void TGeometryContours::Rebuild() {
    if (!GetVisible()) {
        Polylines.reset();
        return;
    }
    TContours* Planes = FindContours();
    if (Planes == nullptr) return;

    SetScreenCursor(crHourGlass);
    struct TRestoreCursor {
        ~TRestoreCursor() { SetScreenCursor(crDefault); }
    } RestoreCursor;

    Polylines.reset();
    const std::unique_ptr<TPolygonList> Facets = GetGeometry().CreatePolygonRepresentation(6);
    if (!Facets) return;  // an entity without facets shows no contours
    Facets->Triangulate();
    Polylines = ContoursFromPolygons(Facets.get(), *Planes, ContourColors());
    if (Polylines && GetGeometry().Mirrored()) {
        const std::unique_ptr<TPolylineList> Mirror = Polylines->Transformed(MirrorXZMatrix);
        Polylines->TakeFrom(*Mirror);
    }
}

}  // namespace sarnova
