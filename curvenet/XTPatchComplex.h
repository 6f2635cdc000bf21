// The face class of a curve-network surface's manifold. A face that the options allow unsplit builds
// its patch itself; any other copies its loop into a manifold of its own, optionally merges sides
// that lie on one curve across a smooth point, and splits the copy: by regular subdivision (an
// n-sided face becomes n four-sided pieces round a centre vertex) or by decomposition with parallel
// plane cuts. Every piece is a plain patch face that builds its own patch.
#pragma once
#include <memory>
#include <vector>

#include "curvenet/XTPatchFace.h"
#include "curvenet/XTPoints.h"

namespace sarnova {

class TXTEdge;
class TXTFin;
class TXTRegularSubDivision;

class TXTPatchComplex : public TXTPatchFace {
public:
    explicit TXTPatchComplex(TManifold* AManifold);
    ~TXTPatchComplex() override;

    // nullptr while the face is not split (and after a failed regular subdivision).
    TManifold* LocalManifold() const { return FLocalManifold.get(); }

    // Nothing for an exterior face. A face of 4 fins, of 2, or of 3 with triangle patches allowed
    // builds its own patch; any other is copied, joined, split by the subdivision options and every
    // piece builds its patch. A failed split is reported through Report with the face's box; the
    // pieces then get no patch.
    void BuildPatch(const TXTSurfaceOptions& Options, const TXTReportRoutine& Report, TXTSurface& Surface) override;
    // The pieces in local face order when split, otherwise this face.
    void CollectFaces(TFaces& List) override;
    void Draw(IGraphics& Graphics) override;
    // The pieces' (or this face's) drawing, then this face's inset polygon for sdoGlobalFacePolygons.
    void DrawWithOptions(IGraphics& G, std::uint16_t Options, double Scale) override;
    void AddParameterLines(TPolylineList& List, int SurfaceCount) override;
    void AddPolygons(TPolygonList& List, std::uint8_t Purpose) override;
    // The patch face's copy, then a copy of the other complex's local manifold.
    void Assign(const TFace& Source) override;

    // The local manifold holding one face with this face's loop: same curves, addresses and edge
    // orientations, the ribbons of this face's fins; the outer loop has no face. Returns that face.
    TFace* CopyFace();
    // Merges, round the loop once from the start of a run on one curve, every pair of neighbouring
    // sides that CanJoinAtFin allows.
    static void JoinEdges(TFace& Face);
    // Fin's edge and the next fin's edge lie on one curve, with no knuckle or end point between them.
    static bool CanJoinAtFin(const TFin& Fin);
    // No corner of Local wider than 155 degrees, and the bisectors of every two consecutive sides of
    // this face meeting near the centre; always true for three sides.
    bool IsRegularSubdivisionSuitable(TFace& Local) const;

private:
    std::unique_ptr<TManifold> NewLocalManifold();
    // Reports Text with this face's box.
    void Report(const TXTReportRoutine& Report, const std::string& Text) const;
    // Splits the local face by the options; false when the pieces are not to get patches.
    bool Split(TFace& Local, const TXTSurfaceOptions& Options, const TXTReportRoutine& Report);

    std::unique_ptr<TManifold> FLocalManifold;
};

// One side of a face under regular subdivision.
class TXTRegularSubDivisionEdge {
public:
    TXTRegularSubDivisionEdge(TXTRegularSubDivision* ADivision, TXTFin* AFin) : Division(ADivision), Fin(AFin) {}

    TXTRegularSubDivision* Division;
    // The face's fin on this side; after the split the fin arriving at the midpoint vertex.
    TXTFin* Fin;
    TXTEdge* Strut = nullptr;
    double MidParameter = 0;
    TBeadAddress MidAddress = InvalidBeadAddress;
    TMVector MidPoint;
    TMVector Control2;  // next to the midpoint
    TMVector Control1;  // next to the centre
    TMVector Inner;

    // The point at half the side's length, its spline parameter and curve address.
    void FindMidpoint();
    // Control2 and Inner along the direction into the face at the midpoint.
    void StrutTangent();
    void InnerControl();
    // The side split at the midpoint, then the strut from the centre to it with its cubic Bezier.
    void AddStrut();
    void SplitSide();
    void MeetSplitSide();
    void StrutRibbons();
    // The direction into the face at the midpoint, blended in the side's tangent and ribbon frame
    // between the directions of the two neighbouring sides.
    TMVector CrossDirection() const;
};

// An n-sided face split into n four-sided faces round a centre vertex.
class TXTRegularSubDivision {
public:
    TMVector Centre;
    TVertex* CentreVertex = nullptr;
    TFace* Face = nullptr;
    std::vector<std::unique_ptr<TXTRegularSubDivisionEdge>> Edges;

    // True on failure: any exception on the way is caught.
    bool Execute(TFace* AFace);

private:
    void Build();
};

// Regular subdivision of Face; true on failure.
bool RegularSubdivide(TFace* Face);

}  // namespace sarnova
