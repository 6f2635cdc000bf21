#include "entities/GRuledSurface.h"

#include <algorithm>

#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/GeometryReference.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "surfaces/BSurface.h"
#include "surfaces/BSurfaceBuild.h"

namespace sarnova {

TGeoRuledSurface::TGeoRuledSurface() = default;
TGeoRuledSurface::~TGeoRuledSurface() = default;

void TGeoRuledSurface::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (TwoCurvesSelected(List)) {
        if (Menu.Count() > 0) Menu.Add("-");
        Menu.Add(NewGMenuItem("Ruled Surface", &List, [](TMenuItem& Sender) {
            if (TGeometryList* Document = GeometryListOf(Sender)) RuleSelectedCurves(*Document);
        }));
    }
    AddSurfaceSelectionItems(GeometryClassOf<TGeoRuledSurface>(), Menu, List);
}

void TGeoRuledSurface::RuleSelectedCurves(TGeometryList& List) {
    TGeoCustomPLine* First = nullptr;
    TGeoCustomPLine* Second = nullptr;
    if (!NameSelectedCurves(List, First, Second)) return;
    auto Entity = std::make_unique<TGeoRuledSurface>();
    Entity->Curve1().SetGeometry(First);
    Entity->Curve2().SetGeometry(Second);
    Entity->SetDrawOutline(true);
    Entity->SetDrawParameters(true);
    List.Add(std::move(Entity));
    List.InvalidateViews();
}

IGeometryFrame* TGeoRuledSurface::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(RuledSurfaceFrameName, *this, Owner)) return Frame;
    return TGeoCurveSurface::CreateFrame(Owner);
}

void TGeoRuledSurface::Assign(const TGeometry& Source) {
    TGeoCurveSurface::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoRuledSurface*>(&Source);
    if (Other == nullptr) return;
    FCurve1->SetName(Other->FCurve1->GetName());
    FCurve2->SetName(Other->FCurve2->GetName());
}

void TGeoRuledSurface::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    Out.WriteLine("Curve1=" + FCurve1->GetName());
    Out.WriteLine("Curve2=" + FCurve2->GetName());
    WriteSurfaceBlockKeys(Out, *this, true);
    Out.WriteLine("");
}

void TGeoRuledSurface::LoadFromText(TTextReader& In) {
    FCurve1->SetName(PositionalValue(In.ReadLine()));
    FCurve2->SetName(PositionalValue(In.ReadLine()));
    ReadSurfaceBlockKeys(In, *this);
}

void TGeoRuledSurface::BuildResult() {
    TGeoCustomPLine* A = CurveOf(*FCurve1);
    TGeoCustomPLine* B = CurveOf(*FCurve2);
    if (A == nullptr || B == nullptr) return;
    auto* SplineA = dynamic_cast<TGeoBSpline*>(A);
    auto* SplineB = dynamic_cast<TGeoBSpline*>(B);
    if (SplineA != nullptr && SplineB != nullptr) {
        FSurface = RuledSurface(SplineA->Spline(), SplineB->Spline());
        FSurface->SetNumULine(GetNumULine());
        FSurface->SetNumVLine(GetNumVLine());
        return;
    }
    if (A->GetPolyline() == nullptr || B->GetPolyline() == nullptr) return;
    const std::unique_ptr<TPolyline> PointsA = A->GetPolyline()->Digitise();
    const std::unique_ptr<TPolyline> PointsB = B->GetPolyline()->Digitise();
    // A count read from a file may be below the two lines a mesh needs, or absurdly large.
    const int Lines = std::clamp(GetNumULine(), 2, MaxSurfaceLineCount);
    FMesh = RuledMesh(*PointsA, *PointsB, Lines, RuledKnuckleAngle);
}

std::unique_ptr<TPolygonList> TGeoRuledSurface::MeshPolygons(TMesh& Net, std::uint8_t) { return Net.CreatePolygons(); }

}  // namespace sarnova
