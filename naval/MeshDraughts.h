// The hydrostatics of a closed facet body at any draught, for tables of many draughts: the facets are
// sorted by height once, so that a draught adds up the facets wholly below it from running sums and
// clips only the facets its waterplane cuts.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "foundation/VkMathsIntersect.h"
#include "naval/MeshSums.h"

namespace sarnova {

class TFacetCutIndex;
class TPolygonList;
struct THydrostaticsData;

class TMeshDraughts {
public:
    // Triangles: the body's facets, all triangles, normals out of the body; not owned, and read at
    // every draught.
    explicit TMeshDraughts(const TPolygonList& ATriangles);
    ~TMeshDraughts();
    TMeshDraughts(const TMeshDraughts&) = delete;
    TMeshDraughts& operator=(const TMeshDraughts&) = delete;

    // The record that MeshHydrostatics gives for the facets clipped below the level waterplane
    // z = Draught (the same figures but for rounding); false, with R left alone, when nothing is
    // below.
    bool AtDraught(double Draught, THydrostaticsData& R) const;

private:
    // A triangle near a station, and where the station cuts it whole.
    struct TNearTriangle {
        int Triangle;
        bool Cut;
        TMSegment Segment;
    };
    // The triangles near the station x = X with their cuts by OnPlane, in the order the index visits
    // them; kept for later draughts, whose stations fall on the same places while the immersed body
    // keeps its length.
    const std::vector<TNearTriangle>& NearStation(double X, double OnPlane) const;

    const TPolygonList* Triangles;
    std::unique_ptr<TFacetCutIndex> Index;
    double Z0 = 0;
    // The lowest and the highest corner of each facet.
    std::vector<double> Lows;
    std::vector<double> Highs;
    // Facet numbers by their highest corner, and those heights.
    std::vector<int> ByTop;
    std::vector<double> Tops;
    // Sums of the first Stride * K facets by top.
    std::vector<TMeshSummer> Running;
    // Facet numbers of the ordinary facets by their lowest corner, those heights, and the greatest
    // height of an ordinary facet; facets much taller than most are looked at at every draught.
    std::vector<int> ByBottom;
    std::vector<double> Bottoms;
    std::vector<int> Tall;
    double Tallest = 0;
    // The stations cut so far, by the bits of station and tolerance; emptied when it grows beyond a few tables'
    // worth.
    mutable std::map<std::pair<std::uint64_t, std::uint64_t>, std::vector<TNearTriangle>> Kept;
};

}  // namespace sarnova
