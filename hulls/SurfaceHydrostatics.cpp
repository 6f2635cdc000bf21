#include "hulls/SurfaceHydrostatics.h"

#include "surfaces/BSurface.h"

namespace sarnova {

std::unique_ptr<TPolygonList> FineFacets(TBSplineSurface& S) {
    return S.CreatePolygonsSized(HydrostaticsDensity * S.NumU(), HydrostaticsDensity * S.NumV());
}

THydrostaticsData SurfaceHydrostatics(TBSplineSurface& S, double Draught) {
    THydrostaticsData H;
    ResetHydrostatics(H);
    if (S.NumU() < 2 || S.NumV() < 2) return H;
    const std::unique_ptr<TPolygonList> Under = ClipPolygonsByPlane(*FineFacets(S), 0, WaterplaneAtDraught(Draught));
    if (Under->Count() > 0) MeshHydrostatics(*Under, H);
    return H;
}

}  // namespace sarnova
