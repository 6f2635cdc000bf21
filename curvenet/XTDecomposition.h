// The decomposition of a many-sided curve-network face by parallel plane cuts: along one coordinate
// axis every vertex of the face gives a level, and from each a cut runs across the face in that
// level's plane to the opposite side. The bands between the cuts are four-sided; the axis whose
// pieces are the most compact is used. Each cut becomes a cubic Bezier edge whose ends follow the
// surface, with its own cross-boundary ribbons.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "curvenet/XTPoints.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class TEdge;
class TFace;
class TFin;
class TXTDecomposition;
class TXTDecompositionDirection;

// One end of a cut. A slice's start part can become another slice's end part when the two merge.
struct TXTSliceEnd {
    TFin* Fin = nullptr;  // the fin whose vertex is this end, or whose edge the cut crosses
    bool Inside = false;  // the end lies inside Fin's edge
    TMVector Point;
    TBeadAddress Address = InvalidBeadAddress;  // on Fin's edge's curve, when Inside
    TMVector Tangent;
};

class TXTDecompositionSlice {
public:
    TXTDecompositionSlice(TXTDecompositionDirection* ADirection, TFin* AStartFin);

    double Level = 0;
    // Side counts of the pieces on the two sides of the cut, filled during planning.
    std::int32_t SidesBefore = 0;
    std::int32_t SidesAfter = 0;
    TXTSliceEnd Start;
    TXTSliceEnd End;

    TFin* StartFin() const { return Start.Fin; }
    TFin* EndFin() const { return End.Fin; }
    bool EndInside() const { return End.Inside; }
    const TMVector& StartPoint() const { return Start.Point; }
    const TMVector& EndPoint() const { return End.Point; }
    const TBeadAddress& EndAddress() const { return End.Address; }
    const TMVector& StartTangent() const { return Start.Tangent; }
    const TMVector& EndTangent() const { return End.Tangent; }
    bool HasEnd() const { return End.Fin != nullptr; }

    // The plane with normal Axis at distance Level.
    TMPlane Plane() const;
    // Walks the face loop for the edge the slice plane crosses on the far side; the slice keeps no
    // end when none is crossed. Nothing when the slice already has an end.
    void FindOpposite();
    // The side counts (before, after) of the two pieces the cut leaves; (0, 0) without an end.
    void SideCounts(int& P, int& Q) const;
    // The elongation of the two pieces (larger over smaller of their two largest principal sizes);
    // 1e33 both without an end.
    void AspectRatios(double& R1, double& R2) const;
    // The cut leaves a corner of the face outside the corner's angle.
    bool IsReflexCut() const;
    // Splits the crossed edge at the cut and gives the cut its end tangents. A crossed edge that can
    // only be split at a curve address, without one inside the edge, leaves the slice without a cut.
    void Prepare();
    // Keeps the fins right after Edge was split.
    void Repoint(const TEdge* Edge);
    // The cut edge with its Bezier spline and ribbons. True on failure: the two ends no longer lie in
    // one face.
    bool Cut();
    // The cut's tangent at fin A's vertex, B at the other end. Throws EGeometryError
    // "TXTDecompositionSlice.Derivative - Failed to find derivative, face seems to be boundard by only
    // one curve!" when the whole loop lies on A's curve.
    TMVector Derivative(TFin* A, TFin* B) const;

private:
    bool SharesEdge() const;
    const TMVector& Axis() const;
    TXTDecompositionDirection* FDirection;
};

class TXTDecompositionDirection {
public:
    explicit TXTDecompositionDirection(TXTDecomposition* AOwner) : FOwner(AOwner) {}

    TMVector Axis;
    double Score = 1e33;
    bool Failed = false;

    TXTDecomposition* Owner() const { return FOwner; }
    int SliceCount() const { return static_cast<int>(FSlices.size()); }
    TXTDecompositionSlice* Slice(int Index) const { return FSlices[static_cast<std::size_t>(Index)].get(); }

    // The slices along AAxis, merged, trimmed and scored; Failed when the axis cannot cut the face.
    void Build(const TMVector& AAxis);
    // Prepares, then cuts, every slice in level order. True as soon as a cut fails.
    bool Execute();
    // Repoints every slice but Except after Edge was split.
    void UpdateSlices(const TEdge* Edge, const TXTDecompositionSlice* Except);

private:
    void DeleteSlice(int Index);
    TXTDecomposition* FOwner;
    std::vector<std::unique_ptr<TXTDecompositionSlice>> FSlices;
};

class TXTDecomposition {
public:
    TXTDecomposition() = default;
    TXTDecomposition(const TXTDecomposition&) = delete;
    TXTDecomposition& operator=(const TXTDecomposition&) = delete;

    TFace* Face() const { return FFace; }
    const TMVector& Normal() const { return FNormal; }
    int DirectionCount() const { return static_cast<int>(FDirections.size()); }
    TXTDecompositionDirection* Direction(int Index) const { return FDirections[static_cast<std::size_t>(Index)].get(); }
    // nullptr until Execute chose one.
    TXTDecompositionDirection* Chosen() const { return FChosen; }

    // True when the face cannot be decomposed: three sides or fewer, no axis far enough from the
    // face's normal, or every axis failed.
    bool Plan(TFace* AFace);
    // Cuts along the unfailed direction of the lowest score; false (nothing cut) when there is none.
    // True on failure.
    bool Execute();

private:
    std::vector<std::unique_ptr<TXTDecompositionDirection>> FDirections;
    TFace* FFace = nullptr;
    TMVector FNormal;
    TXTDecompositionDirection* FChosen = nullptr;
};

// Plans and executes a decomposition of Face; true on failure (also when it cannot be planned).
bool Decompose(TFace* Face);

}  // namespace sarnova
