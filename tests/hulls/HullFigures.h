// The figures a naval architect reads off a generated half hull: where its skin lies against the
// centre plane, its beams, its length and depth, and the hydrostatics of its finely faceted
// underwater body.
#pragma once
#include <algorithm>
#include <memory>

#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"
#include "naval/VkHydro.h"
#include "surfaces/BSurface.h"

namespace sarnova::test {

struct THullFigures {
    double MinY = 1e30;          // least y of the skin
    double MinControlY = 1e30;   // least y of the control net
    double MaxBeam = 0;          // twice the greatest half-breadth
    double Length = 0, Depth = 0;
    double MinX = 1e30, MaxX = -1e30, MinZ = 1e30, MaxZ = -1e30;
    THydrostaticsData H;         // the underwater body below Draught, both sides
};

inline THullFigures MeasureHull(TBSplineSurface& S, double Draught, int Density = 8) {
    THullFigures F;
    for (int K = 0; K < S.PointCount(); ++K) F.MinControlY = std::min(F.MinControlY, double(S.PointByIndex(K).Y));
    const std::unique_ptr<TPolygonList> Skin = S.CreatePolygonsSized(Density * S.NumU(), Density * S.NumV());
    double MaxY = 0;
    for (int I = 0; I < Skin->Count(); ++I) {
        const TFacetRef P = Skin->Polygon(I);
        for (int J = 0; J < P.CornerCount(); ++J) {
            const TMVector V = P.StoredCorner(J).Vector();
            F.MinY = std::min(F.MinY, V.Y);
            MaxY = std::max(MaxY, V.Y);
            F.MinX = std::min(F.MinX, V.X);
            F.MaxX = std::max(F.MaxX, V.X);
            F.MinZ = std::min(F.MinZ, V.Z);
            F.MaxZ = std::max(F.MaxZ, V.Z);
        }
    }
    F.MaxBeam = 2 * MaxY;
    F.Length = F.MaxX - F.MinX;
    F.Depth = F.MaxZ - F.MinZ;
    const std::unique_ptr<TPolygonList> Under = ClipPolygonsByPlane(*Skin, 0, WaterplaneAtDraught(Draught));
    ResetHydrostatics(F.H);
    if (Under->Count() > 0) MeshHydrostatics(*Under, F.H);
    return F;
}

}  // namespace sarnova::test
