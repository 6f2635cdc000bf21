// The parameter domain of an N-sided patch: a footprint polygon with one corner per patch vertex, the
// side coordinates (distance from each side and position along it) of any domain point, and the
// division of the domain into one quadrilateral sector per corner, sampled to draw the patch, to make
// its triangles and its parameter lines. The surface point of a domain point comes from the blending
// schemes (LSqrsNPatch.h, GregoryNPatch.h); here it is zero.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "surfaces/NPatch.h"

namespace sarnova {

class TFootprintNPatch;

// A side of the footprint: it runs from the previous edge's DomainCorner (position 0) to this edge's
// DomainCorner (position 1). This edge also owns the sector of the domain around its DomainCorner.
class TFootprintNPatchEdge : public TNPatchEdge {
public:
    // The previous and next sides are parallel (within 1e-4 of a unit cosine).
    bool ParallelNeighbours = false;
    // Footprint position of the end vertex.
    TMVector DomainCorner;
    // Where the previous and next sides meet; the SidePoint when they are parallel.
    TMVector Focus;
    // Where the line from the domain centre to the focus crosses this side; its midpoint when the
    // neighbours are parallel.
    TMVector SidePoint;
    // Side coordinates of the last point given to SetDomainPoint.
    double SideDistance = 0;
    double SidePosition = 0;

    explicit TFootprintNPatchEdge(TFootprintNPatch& Owner);

    TFootprintNPatch& FootprintPatch() const;
    // The neighbours as footprint edges; nullptr where the loop is open.
    TFootprintNPatchEdge* PreviousEdge() const;
    TFootprintNPatchEdge* NextEdge() const;

    // SideDistance and SidePosition of Q. With converging neighbours H is where the line from the
    // focus through Q meets the side line, and the position is |C0 H| / |C0 C1|; with parallel
    // neighbours (or Q on the focus) H is the foot of Q on the side line and the position is limited
    // to [0, 1]. The distance is |Q H|.
    virtual void SetDomainPoint(const TMVector& Q);
    // The interpolant of the side for the blending schemes; zero here.
    virtual TMVector SideInterpolant(double Distance, double Position);

    // The footprint point at sector coordinates (A, B) in [0, 1]^2: (0, 0) this side's SidePoint,
    // (1, 0) the DomainCorner, (1, 1) the next side's SidePoint, (0, 1) the domain centre.
    TMVector SectorPoint(double A, double B) const;
    // The patch's surface point there.
    TMVector EvaluateSector(double A, double B);
    // The line of this edge's pencil through a footprint point: through the focus, or with parallel
    // neighbours along them. The sector edges are made of these lines.
    TMLine PencilLine(const TMVector& Through) const;
};

// An N-sided patch over a footprint of FootprintType: 0 the regular polygon with its first corner at
// (0, 1, 0), 1 the polygon on the unit circle spaced by chord length, 2 the patch outline projected
// onto its best-fit plane (spaced as 1 where that projection is not convex). A loop that does not
// close, has fewer than three sides, or whose footprint has coincident corners or undefined sectors
// has no usable footprint (FootprintValid false): its sampled outputs are empty and the schemes
// refuse to evaluate it.
class TFootprintNPatch : public TNPatch {
public:
    // Sector samples per side of a sector (below 1 counts as 1).
    int SectorGridDensity = 20;
    TMVector DomainCentre;
    std::uint8_t FootprintType = 0;

    TFootprintNPatch() = default;

    std::unique_ptr<TNPatchEdge> NewEdge() override;
    TFootprintNPatchEdge* FirstEdge() const;
    // The loop's edges from the first along NextEdge, as the last Build found them.
    const std::vector<TFootprintNPatchEdge*>& Loop() const { return FLoop; }
    bool FootprintValid() const { return FValid; }

    // The inherited Build, then the footprint corners, the domain centre, and each edge's parallel
    // flag, focus and side point.
    void Build() override;
    // Clears Lines, then per edge m + 1 lines of constant A and m + 1 of constant B of its sector,
    // m + 1 points each.
    void AddParameterLines(TPolylineList& Lines) override;
    // Per edge the (m + 1) x (m + 1) sector grid as 2 m m triangles.
    std::unique_ptr<TPolygonList> CreatePolygons() override;
    // The same lines as AddParameterLines, as line strips.
    void Draw(IGraphics& G) override;

    // Side coordinates of Q for every edge.
    virtual void SetDomainPoint(const TMVector& Q);
    // The surface point of footprint point Q; zero here.
    virtual TMVector EvaluateDomainPoint(const TMVector& Q);

protected:
    // Throws EGeometryError unless the footprint is usable.
    void CheckFootprint() const;
    // The boundary point at the footprint corner nearest to Q: the end of that edge's working curve.
    // The schemes answer it where every blending weight vanishes.
    TMVector NearestCornerPoint(const TMVector& Q) const;
    // CheckFootprint and SetDomainPoint (Q), then the mean of the edges' SideInterpolants weighted by
    // Weight (edge); edges of weight 0 are passed over, since their interpolants may be undefined
    // where they do not count. Where all weights vanish, NearestCornerPoint.
    template <typename F>
    TMVector BlendSides(const TMVector& Q, F Weight) {
        CheckFootprint();
        SetDomainPoint(Q);
        TMVector Sum{0, 0, 0};
        double Total = 0;
        for (TFootprintNPatchEdge* E : FLoop) {
            const double w = Weight(*E);
            if (w == 0) continue;
            Total += w;
            Sum = VectorAdd(Sum, VectorScale(E->SideInterpolant(E->SideDistance, E->SidePosition), w));
        }
        if (!(Total > 0) || !(Total < HugeValue)) return NearestCornerPoint(Q);
        return VectorScale(Sum, 1 / Total);
    }

private:
    // m + 1 sector points per line: the lines of constant A (Direction 0) or B (1) of one sector.
    template <typename F>
    void ForEachSectorLine(F Line);

    std::vector<TFootprintNPatchEdge*> FLoop;
    bool FValid = false;
};

}  // namespace sarnova
