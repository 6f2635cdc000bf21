// A hull's hydrostatics at any draught, from the road that gives its true figures: a hull that has
// facets (a facet mesh, a surface or a list of surfaces) is clipped at the waterplane and integrated
// facet by facet, exactly for its polyhedron and with its true wetted area; a hull given only by
// sections is integrated along its length. Hulls the figures cannot be trusted for are refused with
// the hull's name and what is wrong.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "foundation/GeomBox.h"
#include "naval/CalcSections.h"

namespace sarnova {

class TMeshDraughts;
struct THydrostaticsData;

class THullHydrostatics {
public:
    // The hull object of the entity Name. A polyline list takes the section road, a mesh, surface
    // or surface list the facet road; a half hull (either side of the centre plane) is completed by
    // its mirror image. Throws EError "<Name>: ..." for an object that is no hull.
    THullHydrostatics(const THullObject& Hull, const std::string& Name);
    ~THullHydrostatics();

    bool FromFacets() const { return FFacets != nullptr; }
    // Which road the figures come from, as the windows show it.
    std::string MethodText() const;
    // The box of the whole hull.
    const TMBox& Extents() const { return FExtents; }
    // The sections of the section road; nullptr on the facet road.
    TPolylineList* Sections() const { return FSections.get(); }

    // The record at the level waterplane z = Draught, cleared first. LCB and LCF are model
    // coordinates on both roads, the percentages measured from the aft end of the immersed body;
    // the masses follow the water density and unit settings. Throws EError "<Name>: the hull is not
    // closed: N open edges below the waterline" for a mesh with holes under water.
    void AtDraught(double Draught, THydrostaticsData& R) const;

    // How many edges of a facet mesh only one facet uses and reach below Z (0 for a surface).
    int OpenEdgesBelow(double Z) const;

private:
    std::string FName;
    std::unique_ptr<TPolygonList> FFacets;
    std::unique_ptr<TPolylineList> FSections;
    // The facets' sums sorted by height, for any draught.
    std::unique_ptr<TMeshDraughts> FDraughts;
    std::vector<double> FOpenEdgeLows;
    TMBox FExtents;
    // Only a facet mesh is asked to be closed: surfaces leave their sheer, their transom and the
    // seams between patches open without losing volume.
    bool FCheckClosed = false;
};

// What the windows say about where their figures come from: "Figures from the hull's facets" or
// "Figures from the hull's sections".
std::string HydrostaticsMethodText(const THullHydrostatics& Hydrostatics);

}  // namespace sarnova
