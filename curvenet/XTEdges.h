// The edges and fins of a curve-network surface's manifold: an edge knows the piece of curve it lies
// on and caches that piece as a spline; a fin carries the cross-boundary tangent ribbon of its side.
#pragma once
#include <memory>

#include "curvenet/XTBSpline.h"
#include "curvenet/XTPoints.h"
#include "surfaces/Manifold.h"

namespace sarnova {

class TXTCurve;
class TXTEdge;

class TXTFin : public TFin {
public:
    TXTFin(TManifold* AManifold, TEdge* AEdge);
    ~TXTFin() override;

    // Tangent vectors along the edge pointing into this side's face, parametrised along the edge;
    // empty until the cross-boundary tangents are generated.
    TXTBSpline& Ribbon() { return *FRibbon; }
    const TXTBSpline& Ribbon() const { return *FRibbon; }
    void SetRibbon(std::unique_ptr<TXTBSpline> ARibbon) { FRibbon = std::move(ARibbon); }
    std::unique_ptr<TXTBSpline> TakeRibbon();

    // The edge's tangent at this fin's vertex, pointing along the edge away from it (not
    // normalised); zero for a fin that is neither of its edge's fins.
    TMVector EdgeTangent() const;

    void Assign(const TFin& Source) override;
    void Draw(IGraphics& Graphics) override { DrawRibbon(Graphics, 1.0); }
    // 101 hairs from the edge to the edge plus half Scale times the ribbon, their tips joined.
    void DrawRibbon(IGraphics& Graphics, double Scale);
    // 101 hairs of length Scale along the surface normal of this side, their tips joined.
    void DrawNormals(IGraphics& Graphics, double Scale);

private:
    TXTEdge* XTEdge() const;
    std::unique_ptr<TXTBSpline> FRibbon;
};

class TXTEdge : public TEdge {
public:
    explicit TXTEdge(TManifold* AManifold) : TEdge(AManifold) {}
    ~TXTEdge() override;

    // The spline is a single cubic Bezier; copied to the pieces made by splitting.
    bool ForceBezier = false;
    // nullptr for an edge made inside a face; its spline is then set directly. Not owned.
    TXTCurve* Curve = nullptr;
    TBeadAddress StartAddress;  // on the curve, at the first fin's vertex
    TBeadAddress EndAddress;    // at the second fin's vertex

    TXTFin* XTFin1() const { return static_cast<TXTFin*>(Fin1()); }
    TXTFin* XTFin2() const { return static_cast<TXTFin*>(Fin2()); }

    // The cached spline, built on first use: the curve's piece between the addresses (one cubic
    // Bezier with the same end derivatives when ForceBezier and the piece has more than 4 points),
    // or an empty spline without a curve.
    TXTBSpline& GetSpline() const;
    bool HasSpline() const { return FSpline != nullptr; }
    void SetSpline(std::unique_ptr<TXTBSpline> ASpline) { FSpline = std::move(ASpline); }
    // Builds the spline again from the curve.
    void InvalidateSpline();

    // End 0: the derivative at the start; end 1: the negated derivative at the end; the chord
    // between the fins' vertices while there is no spline of two points or more. Not normalised.
    void EndTangent(int EndIndex, TMVector& Tangent) const;
    void Direction(int EndIndex, TMVector& Dir) const override;

    // The first other edge at the first (second) fin's vertex that lies on the same curve.
    TXTEdge* NextOnCurveAtStart() const;
    TXTEdge* NextOnCurveAtEnd() const;

    // Splits at the curve address nearest to Point.
    void SubDivide(const TMVector& Point, TEdgeSplit& Split) override;
    // Throws EGeometryError "TXTEdge.SubDivide(Bead) - Attempting to subdivide a bezier edge with a
    // bead" for a Bezier edge. Both ribbons are split at the chord ratio of the new vertex.
    void SubDivideAtBead(const TBeadAddress& Address, TEdgeSplit& Split);
    // Splits the Bezier spline exactly at T. Throws EGeometryError "TXTEdge.SubDivide(T) -
    // Attempting to subdivide a non bezier edge with T" for an edge that is not a Bezier edge.
    void SubDivideAtT(TEdgeSplit& Split, double T);
    // Merges the next edge at Fin's vertex, which must lie on the same curve (else EGeometryError
    // "TXTEdge.JoinToNext - Can only join to an edge on the same curve"), joining the ribbons by
    // length; a spline already built is built again for the merged piece.
    void JoinToNext(TFin* Fin) override;
    // Also exchanges the fins' ribbons; the addresses stay.
    void Reverse() override;
    void Assign(const TEdge& Source) override;

    void Draw(IGraphics& Graphics) override;
    // The low byte of the display options: sdoEdges, sdoEdgeTangents, sdoEdgeSurfaceTangents and
    // sdoEdgeSurfaceNormals.
    void DrawWithOptions(IGraphics& Graphics, std::uint16_t Options, double Scale);

private:
    TXTEdge* NextOnCurveAt(const TVertex* V) const;
    // Gives the new edge of Split the curve, far address and Bezier flag; this edge ends at A.
    void HandOverEnd(const TEdgeSplit& Split, const TBeadAddress& A);
    // Where P lies along the edge's spline, as a fraction of its parameter range.
    double SplitRatio(const TMVector& P) const;
    // Ratio is the split's place as a fraction of the edge spline's parameter range: the ribbons run
    // with the spline's parameter, so each piece keeps the ribbon of its own stretch of curve.
    void SplitRibbons(const TEdgeSplit& Split, double Ratio);
    mutable std::unique_ptr<TXTBSpline> FSpline;
};

// A manifold whose factories make TXTEdge and TXTFin elements.
void UseXTEdgeFactories(TManifold& Manifold);

}  // namespace sarnova
