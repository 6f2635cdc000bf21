// The subdivision patch of a curve-network face: the face's loop copied into a small manifold of its
// own and refined by Catmull-Clark steps inside, with boundary rules that keep every boundary vertex
// on its side curve and let the limit surface follow the sides' cross-boundary tangents.
#pragma once
#include <cstdint>
#include <memory>

#include "surfaces/Manifold.h"

namespace sarnova {

class IGraphics;
class TPolygonList;
class TPolylineList;
class TXTBSpline;
class TXTEdge;
class TXTFin;

class TXTSubdivisionVertex : public TVertex {
public:
    using TVertex::TVertex;
    // 0 interior (or new inside the face), 1 a corner of the patch face, 2 inside one of its sides.
    std::uint8_t BoundaryKind = 0;
    // The position the vertex takes at the end of the current step.
    TMVector NewPosition;
};

class TXTSubdivisionEdge : public TEdge {
public:
    using TEdge::TEdge;

    // The cross-derivative plane solve failed at either end: the cross derivative then runs straight
    // from StartTarget to EndTarget.
    std::uint8_t SolveFailed = 0;
    // a0, a1 (side tangent) and b0, b1 (ribbon) at the side's start and end.
    double StartTangentFactor = 0;
    double EndTangentFactor = 0;
    double StartRibbonFactor = 0;
    double EndRibbonFactor = 0;
    // The cross derivatives required at the side's end and start corners.
    TMVector EndTarget;
    TMVector StartTarget;
    // What the targets miss the plane of the side's tangent and ribbon by, when that is a trace of
    // placement error: the factors are solved for in the plane and the traces added back.
    TMVector StartTrace;
    TMVector EndTrace;
    // The patch face's fin of the side this edge lies on; nullptr for an interior edge. Not owned.
    TXTFin* BoundaryFin = nullptr;
    TMVector EdgePoint;
    // The vertex made when the edge was split in the current step.
    TVertex* SplitVertex = nullptr;

    bool IsBoundary() const { return BoundaryFin != nullptr; }
    // Makes this a boundary edge of Fin's side: the side's spline and ribbon are re-parameterised to
    // [0, 2], the first fin gets Parameter 0 and the second 2, and both vertices become corners.
    void MakeBoundary(TXTFin* Fin);
    // StartTarget and EndTarget from the neighbouring sides' tangents at the corners, and the
    // coefficients that give them from the side's tangent and ribbon. Throws EGeometryError
    // "TXTSubdivisionEdge.GenerateDerivative - Face found on both sides of boundary edge" unless
    // exactly one fin has a face.
    void GenerateDerivative();
    // The side curve's position C(X) and cross derivative D(X) at side parameter X in [0, 2].
    void BoundaryDataAt(double X, TMVector& Position, TMVector& Derivative) const;
    // The side curve's first derivative at X.
    TMVector SideDerivative(double X) const;

    // A boundary edge: the side's spline, the fins, 31 hairs along 0.25 of the cross derivative, and
    // the two targets as arrows. Nothing for an interior edge.
    void Draw(IGraphics& Graphics) override;
    // A boundary edge: the side curve's derivative at the first fin's parameter (end 0) or the
    // negated derivative at the second's (end 1); otherwise the inherited unit direction.
    void Direction(int EndIndex, TMVector& Dir) const override;
    // The inherited split; the half from the new vertex lies on the same side, with the same data,
    // and the new vertex becomes a side vertex half way between the edge's end parameters.
    void SubDivide(const TMVector& Point, TEdgeSplit& Split) override;

private:
    TXTEdge* SideEdge() const;
    TXTBSpline& SideSpline() const;
    void CopySideData(const TXTSubdivisionEdge& Source);
};

class TXTSubDivisionFin : public TFin {
public:
    using TFin::TFin;
    // The position of the fin's vertex along the side, 0 at the side's start and 2 at its end.
    double Parameter = 0;
    // The position that stands for the fin's vertex in the face point of the fin's face.
    TMVector BoundaryPosition;

    TXTSubdivisionEdge* SubdivisionEdge() const;
    // The boundary data of the fin's side at Parameter.
    void BoundaryDataAt(TMVector& Position, TMVector& Derivative) const;
    // The side curve's derivative at Parameter, negated for the edge's second fin. Throws
    // EGeometryError "TXTSubdivisionFin.GetDerivative - Fin is not on a boundary" or "... - Fin is
    // not on a TXTSubdivisionEdge".
    TMVector GetDerivative() const;
    // The boundary data at the parameter of the edge's fin at V. Throws EGeometryError
    // "TXTSubdivisionFin.FBoundary - Fin is not on a boundary" or "TXTSubdivisionFin.FBoundary -
    // Vertex does not belong to this edge".
    void FBoundary(const TVertex* V, TMVector& Position, TMVector& Derivative) const;
    // The position that stands for the fin's vertex in its face's face point, at boundary edge
    // parameter length C. Throws EGeometryError "TXTSubdivisionFin.CalculateBoundaryVertexSubdivision
    // Position - Incorrect topology for Edge Boundary Vertex" (or "... Corner Boundary Vertex") when
    // the faces round a boundary vertex are not laid out as refinement leaves them.
    void CalculateBoundaryVertexSubdivisionPosition(double C);
    // Copying a curve-network fin that has a face makes this fin's edge a boundary edge of it.
    void Assign(const TFin& Source) override;
};

class TXTSubDivisionFace : public TFace {
public:
    using TFace::TFace;
    TMVector FacePoint;
};

// Makes the four subdivision element classes.
void UseSubdivisionFactories(TManifold& Manifold);

class TXTSubDivisionPatch {
public:
    // Face's fins must be curve-network fins on curve-network edges, with their ribbons generated.
    explicit TXTSubDivisionPatch(TFace* AFace) : Face(AFace) {}
    ~TXTSubDivisionPatch();
    TXTSubDivisionPatch(const TXTSubDivisionPatch&) = delete;
    TXTSubDivisionPatch& operator=(const TXTSubDivisionPatch&) = delete;

    TFace* Face;
    std::int32_t Levels = 5;

    // nullptr until generated.
    TManifold* GetManifold() const { return FManifold.get(); }

    // The initial manifold, then Levels refinement steps.
    void Generate();
    // One face on a copy of the patch face's loop, one edge per side, with the sides' cross
    // derivatives. Re-parameterises the sides' splines and ribbons to [0, 2].
    void BuildInitialManifold();
    // Refinement step K (0 first): every face becomes one quadrilateral per corner.
    void SubdivideOnce(int K);

    // One triangle or quadrilateral per face of three or four fins; other faces are skipped.
    std::unique_ptr<TPolygonList> CreatePolygons() const;
    // Every manifold edge as a two-point polyline.
    void AddEdgeLines(TPolylineList& List) const;
    // Every face as a closed line strip.
    void Draw(IGraphics& Graphics) const;

private:
    std::unique_ptr<TManifold> FManifold;
};

}  // namespace sarnova
