// Cutting facet meshes by planes: the one rule that decides where a plane crosses a triangle, with
// corners lying on the plane up to rounding counted as on it, and an index for callers that cut one
// mesh by many parallel planes (stations, waterlines, buttocks, drafts, the lines plan).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <cmath>
#include <vector>

#include "foundation/VkMathsIntersect.h"

namespace sarnova {

class TFacetRef;
class TPolygonList;

// How far a corner may lie from a cutting plane and still count as on it: a small fraction of the
// mesh's size (and of its distance from the origin), far above the rounding that puts the corners of
// a sphere's pole or a hull's stem a hair off the plane, far below any feature a mesh is drawn with.
// Corners that are not finite do not count; 0 for a mesh without finite corners.
class TCutTolerance {
public:
    void Add(const TMVector& P);
    double Tolerance() const;

private:
    TMVector FLow{HUGE_VAL, HUGE_VAL, HUGE_VAL};
    TMVector FHigh{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
};
// The tolerance of every corner of a mesh.
double OnPlaneTolerance(const TPolygonList& Mesh);
// Asks for the memory of a facet's corners, and no more (its normals are not read), for a pass that
// reads facets in an order of its own.
void PrefetchFacet(const TFacetRef& F);

// One cutting plane with the tolerance of the mesh it cuts. Every corner is judged by its position
// alone, so the facets that share a corner agree on its side, and a closed mesh gives closed cuts.
class TPlaneCutter {
public:
    TPlaneCutter(const TMPlane& Plane, double Tolerance);

    // Signed distance (in units of the normal) of P; 0 within the tolerance; NaN for a position that
    // is not finite.
    double Side(const TMVector& P) const;
    // The segment where the plane crosses the triangle: between its corners on the plane, or from a
    // corner on the plane (or an edge crossing) to an edge crossing. False when the plane misses the
    // triangle, only touches one corner, holds the whole triangle, or a corner is not finite. Points
    // come in the order: corners on the plane (corner order), then crossings of edges 0-1, 1-2, 2-0.
    // A plane normal to an axis gives points whose coordinate on that axis is exactly the plane's.
    // Corners, when given, receives for each point the corner it was taken from, -1 for a crossing.
    bool Cut(const TMTriangle& T, TMSegment& Segment, int* Corners = nullptr) const;

    const TMPlane& Plane() const { return FPlane; }

private:
    TMPlane FPlane;
    double FTolerance;
    // 0, 1, 2 for a plane normal to x, y, z; -1 otherwise.
    int FAxis = -1;
    // The plane's coordinate on that axis.
    double FLevel = 0;
};

// The triangles of one mesh (quadrilaterals as their triangles (0, 1, 2) and (0, 2, 3)) sorted into
// slabs along a direction. Built in one pass over the mesh that keeps only each triangle's extent
// along the direction; after that a cut at a level looks only at the triangles whose extent reaches
// it, in mesh order, reading their corners from the mesh, so that many cuts cost about what the
// triangles they cross cost. The index refers to the mesh: keep the mesh alive and unchanged while
// the index is used, and build a new index when the facet list changes.
class TFacetCutIndex {
public:
    // Direction need not have unit length; a zero direction is taken as x.
    TFacetCutIndex(const TPolygonList& Mesh, const TMVector& Direction);
    // The index reads its mesh when cutting: a mesh that is gone at the end of the statement will not do.
    TFacetCutIndex(TPolygonList&&, const TMVector&) = delete;

    const TMVector& Direction() const { return FDirection; }
    // The on-plane tolerance of the mesh, as OnPlaneTolerance gives it.
    double Tolerance() const { return FTolerance; }
    int TriangleCount() const { return static_cast<int>(FRange.size()); }
    // The corners of triangle I, read from the mesh.
    TMTriangle Triangle(int I) const;
    // The facet triangle I comes from, and whether that facet is a quadrilateral.
    int Facet(int I) const { return FCode.empty() ? I : static_cast<int>(Code(I) >> 2); }
    bool FromQuadrilateral(int I) const { return !FCode.empty() && (Code(I) & 1) != 0; }

    // Whether planes with this normal are parallel to the index's slabs.
    bool Parallel(const TMVector& Normal) const;
    // Calls Visit(I) in ascending order for every triangle that may meet the plane Direction . P =
    // Level: at least every triangle with a corner within the tolerance of that plane or on each side
    // of it. Triangles with a corner that is not finite are never visited.
    template <class TFunction>
    void ForEachNear(double Level, TFunction&& Visit) const {
        const std::size_t B = Slab(Level);
        if (B >= FSlabStart.size() - 1) return;
        const double Low = Level - FMargin, High = Level + FMargin;
        auto Near = [&](int I) {
            const auto& R = FRange[static_cast<std::size_t>(I)];
            return R[0] <= High && Low <= R[1];
        };
        const std::size_t End = FSlabStart[B + 1];
        for (std::size_t K = FSlabStart[B]; K < End; ++K) {
            // The corners of a triangle a few ahead are asked for while this one is cut.
            if (K + PrefetchAhead < End && Near(FSlabMembers[K + PrefetchAhead])) Prefetch(FSlabMembers[K + PrefetchAhead]);
            if (Near(FSlabMembers[K])) Visit(FSlabMembers[K]);
        }
    }
    // The same for a plane parallel to the slabs; every triangle (ascending) for any other plane.
    template <class TFunction>
    void ForEachNear(const TMPlane& Plane, TFunction&& Visit) const {
        double Level = 0;
        if (LevelOf(Plane, Level)) {
            ForEachNear(Level, Visit);
            return;
        }
        for (int I = 0; I < TriangleCount(); ++I)
            if (FRange[static_cast<std::size_t>(I)][0] <= FRange[static_cast<std::size_t>(I)][1]) Visit(I);
    }

private:
    static constexpr std::size_t PrefetchAhead = 6;
    // Asks for the memory of triangle I's corners.
    void Prefetch(int I) const;
    // Facet number times 4, plus 1 for a quadrilateral's first triangle and 3 for its second.
    std::uint32_t Code(int I) const { return FCode[static_cast<std::size_t>(I)]; }
    // The slab to look in for Level; past the last slab (none) for a level that is not a number.
    std::size_t Slab(double Level) const;
    // Level of a plane parallel to the slabs; false for any other plane.
    bool LevelOf(const TMPlane& Plane, double& Level) const;

    const TPolygonList* FMesh;
    TMVector FDirection;
    double FTolerance = 0;
    // Least and greatest Direction . corner of each triangle, rounded outwards to floats (half the
    // memory to write and read); [1, 0] for one that cannot be cut.
    std::vector<std::array<float, 2>> FRange;
    // Empty while every facet is a triangle (triangle I is facet I); else the code of every triangle.
    std::vector<std::uint32_t> FCode;
    // How far beyond its extent a triangle is still offered to a plane.
    double FMargin = 0;
    double FLow = 0;
    // Slab number per unit of level, counted from FLow.
    double FSlabsPerUnit = 1;
    // Members of slab B: FSlabMembers[FSlabStart[B] .. FSlabStart[B + 1]), ascending.
    std::vector<std::uint32_t> FSlabStart;
    std::vector<int> FSlabMembers;
};

}  // namespace sarnova
