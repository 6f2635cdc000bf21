// The plane entity's cuts: the crossings of the document's curves, the lines across its surfaces, the
// curves made from the crossings, the cut of one selected surface and the projection of one curve.
#include <memory>
#include <vector>

#include "document/GBSpline.h"
#include "document/GCBSpline.h"
#include "document/GPline.h"
#include "document/GeometryClasses.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "entities/GConversions.h"
#include "entities/GPlane.h"
#include "entities/PlaneProjectionDlg.h"
#include "foundation/TextUtils.h"
#include "foundation/GeomBox.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonIntersect.h"
#include "platform/Menu.h"
#include "platform/Screen.h"

namespace sarnova {

namespace {

// The facet density the plane asks surfaces for.
constexpr std::uint8_t CutPurpose = 9;
// Crossings the curve commands need.
constexpr int PolylinePoints = 2;
constexpr int SplinePoints = 4;

// A new curve entity of class T through copies of Points.
template <class T>
std::unique_ptr<T> CurveThrough(const TPolyline& Points) {
    auto Entity = std::make_unique<T>();
    Entity->GetCurve()->AddCopies(Points);
    return Entity;
}

// The last selected plane and the first selected entity that Accepts, when exactly two entities are
// selected; false otherwise.
template <class F>
bool PlaneAndOther(TGeometryList& List, F Accepts, TGeoPlane*& Plane, TGeometry*& Other) {
    Plane = nullptr;
    Other = nullptr;
    if (List.SelectedCount() != 2) return false;
    for (int I = 0; I < List.Count(); ++I) {
        TGeometry& G = List.Items(I);
        if (!G.GetSelected()) continue;
        if (auto* P = dynamic_cast<TGeoPlane*>(&G)) Plane = P;
        if (Other == nullptr && Accepts(G)) Other = &G;
    }
    return Plane != nullptr && Other != nullptr;
}

}  // namespace

std::vector<TGeometry*> TGeoPlane::CutEntities(bool Surfaces) const {
    std::vector<TGeometry*> Result;
    const TGeometryList* List = GetOwnerList();
    if (List == nullptr) return Result;
    for (int I = 0; I < List->Count(); ++I) {
        TGeometry& G = List->Items(I);
        if (G.IsHidden() || &G == this) continue;
        if (Surfaces ? IsPlaneCutSurface(G) : G.HasCapability(cpSectioned)) Result.push_back(&G);
    }
    return Result;
}

bool TGeoPlane::ApplyPendingChanges() {
    const TGeometryList* List = GetOwnerList();
    if (List == nullptr) return true;
    for (int I = 0; I < List->Count(); ++I) {
        TGeometry& G = List->Items(I);
        if (&G == this || G.IsHidden() || !G.IsChangePending()) continue;
        if (IsPlaneCutSurface(G) || G.HasCapability(cpSectioned)) G.ApplyChange();
    }
    return true;
}

void TGeoPlane::CalculateCurveIntersections() {
    TPolyline& Points = *FCurveIntersections;
    Points.Clear();
    const TMPlane& Cut = FPlane->Plane();
    for (TGeometry* G : CutEntities(false)) {
        if (!PlaneCutsBox(Cut, G->GetExtents())) continue;
        if (const std::unique_ptr<TPolyline> Crossings = G->IntersectPlane(Cut)) Points.AddCopies(*Crossings);
    }
    Points.RemoveDuplicatePoints();
    Points.SortPoints(SortAxis);
}

void TGeoPlane::CalculateSurfaceIntersections() {
    FSurfaceIntersections->Clear();
    const TMPlane& Cut = FPlane->Plane();
    for (TGeometry* G : CutEntities(true)) {
        if (!PlaneCutsBox(Cut, G->GetExtents())) continue;
        const std::unique_ptr<TPolygonList> Facets = G->CreatePolygonRepresentation(CutPurpose);
        if (!Facets) continue;
        if (const std::unique_ptr<TPolylineList> Lines = IntersectPlaneWithPolygons(Cut, *Facets))
            FSurfaceIntersections->TakeFrom(*Lines);
    }
}

void TGeoPlane::RefreshIntersections() {
    ApplyPendingChanges();
    // The changes just applied announce themselves to this plane; what follows takes them in.
    IntersectionsStale = false;
    if (ShowCurveIntersections) CalculateCurveIntersections();
    if (ShowSurfaceIntersections) CalculateSurfaceIntersections();
}

void TGeoPlane::PolylineFromIntersections() {
    if (IntersectionsStale) RefreshIntersections();
    if (GetOwnerList() == nullptr || FCurveIntersections->Count() < PolylinePoints) return;
    GetOwnerList()->Add(CurveThrough<TGeoPline>(*FCurveIntersections))->Redraw();
}

void TGeoPlane::BSplineFromIntersections() {
    if (IntersectionsStale) RefreshIntersections();
    if (GetOwnerList() == nullptr || FCurveIntersections->Count() < SplinePoints) return;
    GetOwnerList()->Add(CurveThrough<TGeoBSpline>(*FCurveIntersections))->Redraw();
}

void TGeoPlane::CubicSplineFromIntersections() {
    if (IntersectionsStale) RefreshIntersections();
    if (GetOwnerList() == nullptr || FCurveIntersections->Count() < SplinePoints) return;
    GetOwnerList()->Add(CurveThrough<TGeoCBSpline>(*FCurveIntersections))->Redraw();
}

void TGeoPlane::IntersectSurfaceClick(TGeometryList& List) {
    TGeoPlane* Plane = nullptr;
    TGeometry* Surface = nullptr;
    if (!PlaneAndOther(List, IsPlaneCutSurface, Plane, Surface)) return;
    const std::unique_ptr<TPolygonList> Facets = Surface->CreatePolygonRepresentation(CutPurpose);
    if (!Facets) return;
    Facets->Triangulate();
    std::unique_ptr<TPolylineList> Lines;
    {
        THourGlassCursor Wait;
        Lines = IntersectPlaneWithPolygons(Plane->Plane().Plane(), *Facets);
    }
    if (!Lines || Lines->Count() == 0) return;
    std::unique_ptr<TGeometry> Entity;
    if (Lines->Count() == 1) {
        Entity = CurveThrough<TGeoPline>(*Lines->Items(0));
    } else {
        Entity = NewPolylineListEntity(*Lines);
        if (!Entity) return;
    }
    List.Add(std::move(Entity))->Redraw();
}

void TGeoPlane::ProjectCurveClick(TGeometryList& List) {
    TGeoPlane* Plane = nullptr;
    TGeometry* Curve = nullptr;
    const auto IsCurve = [](TGeometry& G) { return ProjectableCurve(G) != nullptr; };
    if (!PlaneAndOther(List, IsCurve, Plane, Curve)) return;
    const TMPlane Target = Plane->Plane().Plane();
    std::uint8_t Direction = pdNormalToPlane;
    bool CopyCurve = false;
    if (!ShowPlaneProjectionDialog(Target, Direction, CopyCurve)) return;
    TPolyline& Points = *ProjectableCurve(*Curve);
    // Projected aside first: a direction along the plane fails before anything is recorded or moved.
    const std::unique_ptr<TPolyline> Projected = Points.Clone();
    ProjectPointsOntoPlane(*Projected, Target, Direction);
    if (CopyCurve) {
        std::unique_ptr<TGeometry> Copy = Curve->Clone();
        if (!Copy) return;
        TPolyline& CopyPoints = *ProjectableCurve(*Copy);
        for (int I = 0; I < CopyPoints.Count() && I < Projected->Count(); ++I)
            CopyPoints.Point(I)->SetVector(Projected->Point(I)->Vector());
        List.Add(std::move(Copy));
    } else {
        Curve->BeginChange();
        for (int I = 0; I < Points.Count() && I < Projected->Count(); ++I)
            Points.Point(I)->SetVector(Projected->Point(I)->Vector());
        Curve->EndChange();
    }
    List.InvalidateViews();
}

void TGeoPlane::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    int Planes = 0;
    int Surfaces = 0;
    int Curves = 0;
    for (int I = 0; I < List.Count(); ++I) {
        TGeometry& G = List.Items(I);
        if (!G.GetSelected()) continue;
        Planes += dynamic_cast<TGeoPlane*>(&G) != nullptr ? 1 : 0;
        Surfaces += IsPlaneCutSurface(G) ? 1 : 0;
        Curves += ProjectableCurve(G) != nullptr ? 1 : 0;
    }
    if (Planes != 1 || (Surfaces != 1 && Curves != 1)) return;
    if (Menu.Count() > 0) Menu.Add("-");
    if (Surfaces == 1) AddDocumentItem(Menu, "Intersection between Plane and Surface", List, IntersectSurfaceClick);
    if (Curves == 1)
        AddDocumentItem(Menu, "Project Curve on to Plane...", List, ProjectCurveClick,
                        static_cast<bool>(PlaneProjectionDialog()));
}

}  // namespace sarnova
