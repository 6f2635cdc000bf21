// Calculation sections: a hull given as section polylines, a surface, a list of surfaces or a facet
// mesh turned into closed transverse sections from aft to fore, ready for the section hydrostatics.
// A mesh is cut at stations whose number grows with the hull's slenderness, and the spacing is then
// halved wherever three neighbouring sections do not describe the sectional area as a parabola.
#pragma once
#include <memory>
#include <variant>

#include "foundation/PolyList.h"

namespace sarnova {

class TPolygonList;
class TSurface;
class TSurfaces;

// The sections the volumes report works from; a polyline list of its own class.
class TCalculationSections : public TPolylineList {};

// The kernel object a hull entity hands over. Kinds not listed give no sections.
using THullObject = std::variant<std::monostate, const TPolylineList*, TSurface*, TSurfaces*, const TPolygonList*>;

// The sections of a hydrostatic calculation, a new list the caller owns; nullptr for an object of
// another kind. A polyline list is copied (completed by its mirror image when its least y, or for a
// port-side list its greatest y, is exactly 0); a surface or surface list is turned into facets for calculation sections and cut like a mesh.
std::unique_ptr<TPolylineList> CalculationSectionsOf(const THullObject& Hull);
// The chord error a surface is faceted to as a hull, as a fraction of the hull's size (the diagonal
// of its box): fine enough that the facets' volume, areas and centres are within 0.01 % of the
// surface's down to a tenth of its depth.
inline constexpr double HullFacetTolerance = 5e-6;
// At most this many steps along each parameter of a surface.
inline constexpr int MaxHullFacetSteps = 240;
// Facets of a surface within Tolerance of it, sampled evenly in its parameters as densely as its
// curvature asks, with no rounding of the points; a plain mesh gives its own cells.
std::unique_ptr<TPolygonList> SurfaceFacetsWithin(TSurface& Surface, double Tolerance);
// The facets a surface or surface list is cut from for its calculation sections and hydrostatics,
// within HullFacetTolerance of the hull's size, a new list the caller owns; nullptr for an object of
// another kind.
std::unique_ptr<TPolygonList> HullSurfaceFacets(const THullObject& Hull);
// The sections of the volumes report: a polyline list as above but mirrored only when none of its
// polylines is closed, then sorted by station; only B-spline surfaces and surface lists, plain meshes
// (their own cells) and facet meshes give sections. The mesh cut keeps the full length and takes the
// hull for a half hull only when its least y is exactly 0.
std::unique_ptr<TCalculationSections> CreateCalculationSections(const THullObject& Hull);

// The number of station intervals for a hull of this box: from r = length / max(breadth, depth),
// k = (r + r^2 / 2 + 3.5) / 2 truncated, n = 2k - 2, at least 2 and at most MaxCalculationIntervals,
// so always even. A box without breadth and depth gives 2.
inline constexpr int MaxCalculationIntervals = 10000;
int CalculationStationCount(const TMBox& Box);

// Area in the y-z plane of the polyline's own points (taken as closed).
double SectionArea(TPolyline& Section);
struct TPlanarArea {
    double Area = 0;
    TMVector Centroid;
};
// Area and centroid of a closed polyline of at least 3 points from a fan of triangles about its
// first point (each triangle's area from its side lengths, signed by its turn in the y-z plane); 0
// for an open polyline or fewer points.
TPlanarArea PlanarSectionArea(const TPolyline& Section);

// The mesh cut at calculation stations and refined (CalculationSectionsOf's road); an empty list for
// a mesh without facets.
std::unique_ptr<TPolylineList> CalculationSectionsOfMesh(const TPolygonList& Mesh);
// The same cut as the volumes report makes it.
std::unique_ptr<TCalculationSections> CalculationSectionsFromMesh(const TPolygonList& Mesh);

}  // namespace sarnova
