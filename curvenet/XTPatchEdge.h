// The four sides of a face filled by a four-sided patch: for each side a copy of its boundary curve,
// the cross-boundary tangent ribbon of the face's side and the cross derivative of the patch along it.
//
// The parameter square every four-sided patch uses: side 0 lies on v = 0 and side 2 on v = 1, both
// running with u from 0 to 1; side 1 lies on u = 0 and side 3 on u = 1, both running with v. Every
// cross derivative points into the patch: dS/dv along side 0, dS/du along side 1, -dS/dv along
// side 2 and -dS/du along side 3. So at a corner it equals the tangent of the side leaving it.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>

#include "curvenet/XTBSpline.h"
#include "foundation/Polyline.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class IGraphics;
class TFace;
class TFin;
class TVertex;
class TXTPatchEdges;
struct TXTSurfaceOptions;

// Position and first to third derivative of the curve, then the cross derivative and its first to
// third derivative, at one fraction of a side.
using TXTPatchEdgeDerivatives = std::array<TMVector, 8>;

class TXTPatchEdge {
public:
    TXTPatchEdge(TXTPatchEdges* AOwner, int AIndex);
    ~TXTPatchEdge();
    TXTPatchEdge(const TXTPatchEdge&) = delete;
    TXTPatchEdge& operator=(const TXTPatchEdge&) = delete;

    TXTPatchEdges* Owner() const { return FOwner; }
    int Index() const { return FIndex; }
    TXTBSpline& Curve() { return *FCurve; }
    TXTBSpline& Ribbon() { return *FRibbon; }
    TXTBSpline& CrossDerivative() { return *FCrossDerivative; }
    const TXTBSpline& Curve() const { return *FCurve; }
    const TXTBSpline& Ribbon() const { return *FRibbon; }
    const TXTBSpline& CrossDerivative() const { return *FCrossDerivative; }

    // 1 for a side shrunk to one corner point (faces of two or three sides).
    std::uint8_t Collapsed = 0;
    // The derivative the cross derivative is to have at its start and at its end: the corner twist
    // seen from this side. Zero unless twist compatibility is asked for.
    TMVector StartTwist;
    TMVector EndTwist;

    // Curves, collapsed flag and twists; the index stays.
    void CopyFrom(const TXTPatchEdge& Other);

    // The side from a fin: the curve is a copy of its edge's spline, the ribbon a copy of the fin's.
    // Throws EGeometryError "TXTEdgeGeometry.Assign - Fin did not connect to a TXTEdge" unless the
    // fin belongs to a curve-network edge. The cross derivative is left to GenerateCrossDerivative.
    void Assign(TFin& Fin);
    // The side collapsed at Vertex between two fins: four copies of the vertex position, and a
    // straight cross derivative from the tangent of the start fin's edge leaving the vertex to that
    // of the end fin's edge. Each fin or its other fin must have Vertex as its head. Throws
    // EGeometryError "TXTPatchEdge.Assign - AStartFin or AEndFin not assigned", "TXTPatchEdge.Assign
    // - AStartFin or Adjacent Fin does not connect to vertex" or the same for AEndFin. The ribbon is
    // not touched.
    void Assign(const TVertex& Vertex, TFin* AStartFin, TFin* AEndFin);

    // First and last control point of the curve.
    TMVector StartPoint() const;
    TMVector EndPoint() const;
    int PointCount() const { return FCurve->Count(); }
    // The larger order of the curve and the cross derivative.
    int MaxOrder() const;
    const TKnotArray& GetKnots() const { return FCurve->Spline().Knots(); }
    // Control point I of the curve with control vector I of the cross derivative.
    std::pair<TMVector, TMVector> ControlPair(int I) const;
    std::pair<TMVector, TMVector> StartPair() const;
    std::pair<TMVector, TMVector> EndPair() const;
    TMBox GetExtents() const;

    // The derivative of the cross derivative at its start and at its end, from its end legs.
    TMVector StartTwistEstimate();
    TMVector EndTwistEstimate();

    // For 0 <= S <= 1, the curve point and the cross derivative at fraction S of each curve's range.
    // The vector is zero below two control vectors or for S outside [0, 1]; Point is then left as it
    // is. Returns whether S lies inside.
    bool PointAt(double S, TMVector& Point, TMVector& Cross);
    // The curve's and the cross derivative's position and derivatives at fraction S; the cross part
    // is zero below two control vectors or for S outside [0, 1].
    TXTPatchEdgeDerivatives DerivativesAt(double S);

    void SetStartPoint(const TMVector& P);
    void SetEndPoint(const TMVector& P);
    // Reverses the curve, the ribbon and the cross derivative.
    void Reverse();
    // The curve and the cross derivative brought to one order of at least N and one knot vector.
    void MakeCompatible(int N);
    // The same knot values inserted into the curve and the cross derivative.
    void RefineKnots(std::span<const double> Values);
    // Moves the nearest pair of ends of this side and Other to their midpoint.
    void JoinNearestEnds(TXTPatchEdge& Other);

    // The cross derivative alpha C' + beta R with alpha and beta linear along the side, equal to V0
    // at the start and V1 at the end; nothing unless the curve and the ribbon have two points or
    // more. When V0 or V1 is not in the plane of the curve's tangent and the ribbon, the console gets
    // "TXTPatchEdge.GenerateCrossDerivative - Solve3DPlaneEquation failed at (x, y, z)" for that
    // corner and the cross derivative runs straight from V0 to V1.
    void GenerateCrossDerivative(const TMVector& V0, const TMVector& V1);
    // Where the cross derivative's end derivative turns away from StartTwist or EndTwist by more than
    // the options' twist compatibility angle, a knot is inserted near that end (into the curve too)
    // and the control vector next to the end set so that the end derivative becomes the twist.
    void EnforceTwistCompatibility(const TXTSurfaceOptions& Options);

    // Control polygon with a handle at each control point, then the curve.
    void DrawCurve(IGraphics& G);
    // 101 hairs to half Scale times the ribbon, their tips joined.
    void DrawRibbon(IGraphics& G, double Scale);
    // 101 hairs of a third of the cross derivative.
    void DrawCrossDerivative(IGraphics& G);
    // 101 hairs of length Scale along the patch normal from the cross derivative and the tangent,
    // their tips joined.
    void DrawNormals(IGraphics& G, double Scale);

private:
    TXTPatchEdges* FOwner;
    int FIndex;
    std::unique_ptr<TXTBSpline> FCurve;
    std::unique_ptr<TXTBSpline> FRibbon;
    std::unique_ptr<TXTBSpline> FCrossDerivative;
};

// The four sides of one face.
class TXTPatchEdges {
public:
    TXTPatchEdges();
    ~TXTPatchEdges();
    TXTPatchEdges(const TXTPatchEdges&) = delete;
    TXTPatchEdges& operator=(const TXTPatchEdges&) = delete;

    TXTPatchEdge& Edge(int Index) { return *FEdges.at(static_cast<std::size_t>(Index)); }
    const TXTPatchEdge& Edge(int Index) const { return *FEdges.at(static_cast<std::size_t>(Index)); }
    int Count() const { return 4; }
    // CopyFrom side by side.
    void Assign(const TXTPatchEdges& Other);
    TMBox GetExtents() const;

    // The four sides from a face of 2, 3 or 4 fins, oriented on the parameter square, with knots on
    // [0, 1] and cross derivatives from the tangents of the neighbouring sides; with the options'
    // ForceTwistCompatibility the corner twists are made to agree. A face of another size keeps its
    // sides and only gets the knots, cross derivatives and twists again.
    void Build(const TFace& Face, const TXTSurfaceOptions& Options);
    // JoinNearestEnds on the side pairs (0, 1), (1, 2), (2, 3), (3, 0).
    void JoinCorners();
    // Two sides brought to one order (at least 4), one knot vector and one control point count, for
    // the curves and the cross derivatives alike.
    void MakeSidesCompatible(int A, int B);

    void DrawCurves(IGraphics& G);
    void DrawRibbons(IGraphics& G, double Scale);
    void DrawCrossDerivatives(IGraphics& G);
    void DrawNormals(IGraphics& G, double Scale);

private:
    std::array<std::unique_ptr<TXTPatchEdge>, 4> FEdges;
};

}  // namespace sarnova
