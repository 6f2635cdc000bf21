// Coons patches carried out exactly in B-spline form: ruled or cubic-blended surfaces between
// opposite boundary curves, made compatible (common orders and knots) and combined by a Boolean sum.
// Four curves are blended bilinearly or bicubically; three become a four-sided patch with one side
// shrunk to a point, two a patch with two sides shrunk to points. The patch object watches its
// curves and regenerates when they or the method change. The curve and surface compatibility
// routines and the Boolean sum serve other patch builders too.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/BSpline.h"
#include "surfaces/BSurface.h"
#include "surfaces/NPatch.h"

namespace sarnova {

// Interpolation methods.
enum : std::uint8_t { cpBiLinear = 0, cpBiCubic = 1 };

// "cpBiCubic" for 1, "cpBiLinear" for anything else.
std::string CoonsMethodToText(std::uint8_t Method);
// 1 when the upper-cased text contains "BICUBIC", else 0.
std::uint8_t CoonsMethodFromText(std::string_view Text);

class TCoonsPatchEdge;

// A vertex or an edge of a patch.
class TCoonsPatchObject {
public:
    TCoonsPatchObject() = default;
    virtual ~TCoonsPatchObject();
    TCoonsPatchObject(const TCoonsPatchObject&) = delete;
    TCoonsPatchObject& operator=(const TCoonsPatchObject&) = delete;

    virtual bool IsComplete() const = 0;
    virtual void Update() = 0;
};

class TCoonsPatchVertex : public TCoonsPatchObject {
public:
    TCoonsPatchEdge* FirstEdge() const { return FEdges.First(); }
    TCoonsPatchEdge* SecondEdge() const { return FEdges.Second(); }
    int EdgeCount() const { return FEdges.Count(); }
    TCoonsPatchEdge* OtherEdge(const TCoonsPatchEdge* E) const { return FEdges.Other(E); }
    // Puts E into the first free slot; false when both are taken.
    bool AttachEdge(TCoonsPatchEdge* E) { return FEdges.Attach(E); }
    // The curve end at this vertex of the first edge (of the second when there is no first); zero
    // without either.
    TMVector Position() const;

    // Both slots filled.
    bool IsComplete() const override;
    // When complete and a curve end here moved: the moved end is copied onto the other curve's end,
    // or both go to their midpoint when both moved. The caller's curves are changed.
    void Update() override;

private:
    TEdgeSlots<TCoonsPatchEdge> FEdges;
};

// A side: the caller's curve (referenced, never freed) and a stored copy to detect changes.
class TCoonsPatchEdge : public TCoonsPatchObject {
public:
    TCoonsPatchEdge();
    ~TCoonsPatchEdge() override;

    bool Flipped() const { return FFlipped; }
    TBSpline* Curve() const { return FCurve; }
    void SetCurve(TBSpline* C) { FCurve = C; }
    const TBSpline& StoredCurve() const { return *FStored; }
    TCoonsPatchVertex* StartVertex() const { return FStartVertex; }
    TCoonsPatchVertex* EndVertex() const { return FEndVertex; }
    // Set and attach the vertex only when it has fewer than two edges; otherwise that end stays
    // empty and the patch is not valid.
    void SetStartVertex(TCoonsPatchVertex* V);
    void SetEndVertex(TCoonsPatchVertex* V);
    // Exchanges the vertices and toggles the flipped flag; the curve is not touched.
    void Flip();

    // The curve exists and differs from the stored copy.
    bool CurveChanged();
    // The curve end at V moved since the stored copy was taken (within 1e-30).
    bool EndMoved(const TCoonsPatchVertex* V) const;
    // The curve point at V: first point at the start vertex, last at the end vertex, exchanged when
    // flipped; nullptr without a curve.
    TRPoint* EndPoint(const TCoonsPatchVertex* V) const;

    // A curve and both vertices.
    bool IsComplete() const override;
    // The stored copy refreshed from the curve.
    void Update() override;

private:
    bool FFlipped = false;
    TBSpline* FCurve = nullptr;
    std::unique_ptr<TBSpline> FStored;
    TCoonsPatchVertex* FStartVertex = nullptr;
    TCoonsPatchVertex* FEndVertex = nullptr;
};

// Owning lists of patch objects.
class TCoonsPatchObjects {
public:
    TCoonsPatchObjects() = default;
    virtual ~TCoonsPatchObjects();
    TCoonsPatchObjects(const TCoonsPatchObjects&) = delete;
    TCoonsPatchObjects& operator=(const TCoonsPatchObjects&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // The list's index error outside 0 .. Count - 1.
    TCoonsPatchObject* Objects(int Index) const;
    bool AllComplete() const;
    void UpdateAll();
    void Clear() { FItems.clear(); }

protected:
    TCoonsPatchObject* Append(std::unique_ptr<TCoonsPatchObject> Item);

private:
    std::vector<std::unique_ptr<TCoonsPatchObject>> FItems;
};

class TCoonsPatchVertices : public TCoonsPatchObjects {
public:
    TCoonsPatchVertex* Items(int Index) const { return static_cast<TCoonsPatchVertex*>(Objects(Index)); }
    TCoonsPatchVertex* AddNew();
    // The first of the first Among vertices whose Position lies within 1e-4 of P; nullptr when none.
    TCoonsPatchVertex* FindByEnd(const TMVector& P, int Among) const;
};

class TCoonsPatchEdges : public TCoonsPatchObjects {
public:
    TCoonsPatchEdge* Items(int Index) const { return static_cast<TCoonsPatchEdge*>(Objects(Index)); }
    TCoonsPatchEdge* AddNew();
};

// The curves handed to a patch, not owned.
class TCoonsCurves {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // The list's index error outside 0 .. Count - 1.
    TBSpline* Items(int Index) const;
    // Appends C unless it is already listed.
    void Add(TBSpline* C);
    void Clear() { FItems.clear(); }

private:
    std::vector<TBSpline*> FItems;
};

// The owner sets the curves, chooses CoonsMethod and calls Update whenever the curves may have
// changed; the result surface lives as long as the patch and is overwritten by each generation.
class TCoonsPatch {
public:
    std::uint8_t CoonsMethod = cpBiLinear;

    TCoonsPatch();
    virtual ~TCoonsPatch();
    TCoonsPatch(const TCoonsPatch&) = delete;
    TCoonsPatch& operator=(const TCoonsPatch&) = delete;

    // Frees the vertices and edges.
    void Clear();
    // A new edge for Curve, its ends joined to the vertices at their positions (within 1e-4), new
    // vertices made where none is found. A missing or empty curve gives an edge without a curve.
    TCoonsPatchEdge* AddCurve(TBSpline* Curve);
    // Clear, AddCurve for each curve in order; IsValid.
    bool SetCurves(const TCoonsCurves& Curves);
    // Every vertex and edge complete, as many vertices as edges, and 2 to 4 edges.
    virtual bool IsValid() const;

    // A curve changed, or the method differs from the last generation's (a new patch always).
    bool NeedsUpdate();
    // Joins moved curve ends, then, when valid, orients the loop and replaces the surface by the
    // patch of its 2, 3 or 4 curves (4 curves bicubic when CoonsMethod is 1), then refreshes the
    // stored copies. An invalid-connection error of the construction passes to the caller and leaves
    // the stored copies as they were; so does a patch whose curves form more than one loop.
    void Generate();
    // Generate when NeedsUpdate; whether it did.
    bool Update();
    // The curves whose ends the next Generate moves to join them at the vertices, each once, so
    // that their owners can record them before they change.
    std::vector<TBSpline*> CurvesToJoin() const { return CurvesToJoinAt(FVertices); }

    // The method of the last generation; 2 before the first.
    std::uint8_t GeneratedMethod() const { return FGeneratedMethod; }
    TBSplineSurface& Surface() { return *FSurface; }
    const TBSplineSurface& Surface() const { return *FSurface; }
    TCoonsPatchVertices& Vertices() { return FVertices; }
    TCoonsPatchEdges& Edges() { return FEdges; }

private:
    // The curves in loop order from edge 0, every edge after it flipped to run on from its
    // predecessor's end vertex.
    std::vector<TBSpline*> OrientLoop();

    std::uint8_t FGeneratedMethod = 2;
    TCoonsPatchVertices FVertices;
    TCoonsPatchEdges FEdges;
    std::unique_ptr<TBSplineSurface> FSurface;
};

// Whether the curves make a valid patch, asked of a temporary patch.
bool CoonsCurvesValid(const TCoonsCurves& Curves);

// ---- Orientation of boundary curves (points compared within 1e-4) ----

// False when Curve starts at Point; reversed and false when it ends there; true (not connected)
// otherwise.
bool OrientCurveFrom(const TRPoint& Point, TBSpline& Curve);
// True when the curves connect. Afterwards C1 runs from A to B (bottom), C2 from A to D (left), C3
// from D to C (top) and C4 from B to C (right). Curves in loop order connect.
bool OrientFourCurves(TBSpline& C1, TBSpline& C2, TBSpline& C3, TBSpline& C4);
// True when the curves connect; afterwards they run in loop order C1, C2, C3.
bool OrientThreeCurves(TBSpline& C1, TBSpline& C2, TBSpline& C3);
// True when C2 runs (after reversing) from C1's first point to its last.
bool OrientTwoCurves(TBSpline& C1, TBSpline& C2);

// ---- Compatibility and the Boolean sum ----

// Both curves get knots on [0, 1], the larger of their orders and MinOrder, and one knot vector
// (knots closer than 1e-8 are one), keeping their shapes.
void MakeBSplinesCompatible(TBSpline& C1, TBSpline& C2, int MinOrder);
// The knots of Other that Knots lacks (values closer than 1e-8 are one), multiplicities counted; both
// sorted ascending.
std::vector<double> MissingKnots(const std::vector<double>& Knots, const std::vector<double>& Other);
// S's knots in Direction (0 u, 1 v) are divided by its largest parameter there (knot type
// NonUniform), its order there raised to Other's when lower, and the knots of Other that it lacks
// (closer than 1e-8 counts as equal) inserted.
void MakeSurfacesCompatible(TBSplineSurface& S, const TBSplineSurface& Other, int Direction);
// S2 made compatible with S1 in u, S1 with S2 in v, S3 with S1 in u and with S2 in v (all three are
// changed); the result is S3 with every control point S1 + S2 - S3. Throws EGeometryError when the
// nets still differ in size.
std::unique_ptr<TBSplineSurface> BooleanSumSurfaces(TBSplineSurface& S1, TBSplineSurface& S2, TBSplineSurface& S3);

// ---- The constructions (on copies: the given curves stay as they are) ----

// Four curves in any directions, meeting end to end: the bilinear Coons patch. Throws
// EGeometryError "CoonsPatch:BiLinearCoonsPatch(n=4) - Invalid Curve Connections" when they do not
// meet.
std::unique_ptr<TBSplineSurface> BiLinearCoonsPatch(const TBSpline& C1, const TBSpline& C2, const TBSpline& C3,
                                                    const TBSpline& C4);
// Three curves: a point curve is put at the corner where the loop turns least ("(n=3)" message).
std::unique_ptr<TBSplineSurface> BiLinearCoonsPatch(const TBSpline& C1, const TBSpline& C2, const TBSpline& C3);
// Two curves sharing both ends: point curves at the two ends ("(n=2)" message).
std::unique_ptr<TBSplineSurface> BiLinearCoonsPatch(const TBSpline& C1, const TBSpline& C2);
// Four curves blended with cubic Hermite terms from the end legs of the curves and twist estimates at
// the corners. Throws EGeometryError "Invalid Curve Connections" when they do not meet.
std::unique_ptr<TBSplineSurface> BiCubicCoonsPatch(const TBSpline& C1, const TBSpline& C2, const TBSpline& C3,
                                                   const TBSpline& C4);

}  // namespace sarnova
