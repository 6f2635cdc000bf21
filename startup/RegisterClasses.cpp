#include "startup/RegisterClasses.h"

#include <memory>
#include <vector>

#include "document/GBSpline.h"
#include "document/GCBSpline.h"
#include "document/GCSpline.h"
#include "document/GContours.h"
#include "document/GPline.h"
#include "curvenet/GBSurfL.h"
#include "document/GeometryClasses.h"
#include "curvenet/GXTCurve.h"
#include "curvenet/GXTSurface.h"
#include "entities/GArc.h"
#include "entities/CalculationSectionMakers.h"
#include "entities/GBSurf.h"
#include "entities/GBox.h"
#include "entities/GCircle.h"
#include "entities/GCoonsPatch.h"
#include "entities/GDimension.h"
#include "entities/GExtrudedSurface.h"
#include "entities/GNPatch.h"
#include "entities/GRuledSurface.h"
#include "document/GFrames.h"
#include "entities/GGregory.h"
#include "entities/GGonList.h"
#include "entities/GImage.h"
#include "entities/GPlane.h"
#include "entities/GPointList.h"
#include "entities/GMesh.h"
#include "foundation/BSpline.h"
#include "hulls/GTarvoCurve.h"
#include "hulls/GTarvoHull.h"
#include "hulls/GTarvoSurface.h"
#include "naval/CalcSections.h"
#include "naval/GGroup.h"
#include "naval/GPList.h"
#include "naval/GSetup.h"
#include "entities/GPressureField.h"
#include "entities/GVectorList.h"
#include "naval/GOpening.h"
#include "hulls/GCorvane.h"
#include "hulls/GHalvorn.h"

namespace sarnova {

namespace {

template <typename T>
void RegisterOnce() {
    const TGeometryClass& Class = GeometryClassOf<T>();
    if (!GGeometryClasses || !GGeometryClasses->IsRegistered(Class)) RegisterGeometryClass(Class);
}

}  // namespace

void RegisterGeometryClasses() {
    RegisterOnce<TGeoFrames>();
    RegisterOnce<TGeoPlane>();
    RegisterOnce<TGeoPointList>();
    RegisterOnce<TGeoContours>();
    RegisterOnce<TGeoPline>();
    RegisterOnce<TGeoCSpline>();
    RegisterOnce<TGeoBSpline>();
    RegisterOnce<TGeoCBSpline>();
    RegisterOnce<TGeoMesh>();
    RegisterOnce<TGeoBSurf>();
    RegisterOnce<TGeoGregorySurface>();
    RegisterOnce<TGeoBSurfList>();
    RegisterOnce<TGeoBox>();
    RegisterOnce<TGeoArc>();
    RegisterOnce<TGeoCircle>();
    RegisterOnce<TGeoPGonlist>();
    RegisterOnce<TGeoPList>();
    RegisterOnce<TGeoOpenGroup>();
    RegisterOnce<TGeoClosedGroup>();
    RegisterOnce<TGeoOldGroupLoader>();
    RegisterOnce<TGeoSetup>();
    RegisterOnce<TGeoDimension>();
    RegisterOnce<TGeoImagePlane>();
    RegisterOnce<TGeoPressureField>();
    RegisterOnce<TGeoVectorList>();
    RegisterOnce<TGeoExtrudedSurface>();
    // Surfaces and meshes make their calculation sections through these.
    TCalculationSectionMakers& Sections = CalculationSectionMakers();
    Sections.OfSurface = [](TSurface& Surface) { return CalculationSectionsOf(&Surface); };
    Sections.OfSurfaces = [](TSurfaces& Surfaces) { return CalculationSectionsOf(&Surfaces); };
    Sections.OfMesh = [](const TPolygonList& Mesh) { return CalculationSectionsOfMesh(Mesh); };
    // Curves of the document make point clouds and extruded surfaces through these.
    SetPointCloudMaker([](const std::vector<const TPolyline*>& Polylines) -> std::unique_ptr<TGeometry> {
        auto Entity = std::make_unique<TGeoPointList>();
        for (const TPolyline* P : Polylines) Entity->Cloud().AddPolyline(*P);
        return Entity;
    });
    SetExtrudedSurfaceMaker(
        [](TGeoCustomPLine& Curve) -> std::unique_ptr<TGeometry> { return CreateExtrudedSurfaceFromCurve(Curve); });
    RegisterOnce<TGeoRuledSurface>();
    RegisterOnce<TGeoCoonsPatch>();
    RegisterOnce<TGeoNPatch>();
    RegisterOnce<TGeoOpening>();
    RegisterOnce<TGeoTarvoCurve>();
    RegisterOnce<TGeoOldCurveLoader>();
    // The B-spline curve's conversion makes Tarvo curves through this.
    SetTarvoCurveMaker([](const TBSpline& Spline) -> std::unique_ptr<TGeometry> {
        auto Entity = std::make_unique<TGeoTarvoCurve>();
        Entity->Curve().Spline().Assign(Spline);
        Entity->Curve().Invalidate(false);
        return Entity;
    });
    RegisterOnce<TGeoTarvoSurface>();
    RegisterOnce<TGeoTarvoHull>();
    RegisterOnce<TGeoHalvorn>();
    RegisterOnce<TGeoCorvane>();
    RegisterOnce<TGeoXTSurface>();
    RegisterOnce<TGeoXTCurve>();
    InstallXTCurveMaker();
}

}  // namespace sarnova
