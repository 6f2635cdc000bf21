// Lists of polylines: how sections, contours, cut outlines, mesh intersections and knuckle lines
// travel between the parts of the program. The owning TPolylineList with its text block and the
// section-hydrostatics queries, the B-spline list and the plain list of B-splines with its iterator,
// and welding: polylines whose ends meet joined into longer ones, the two nearest ends first.
#pragma once
#include <memory>
#include <vector>

#include "foundation/Polyline.h"

namespace sarnova {

class IGraphics;
class TBSpline;
class TSectionsSummary;
class TTextReader;
class TTextWriter;
struct THydrostaticsData;
struct TVolumeAndCentre;

// The section-hydrostatics queries of a list of transverse sections: each polyline is a closed
// section at its station. The naval calculations fill the records, so TPolylineList's queries are
// defined beside them (naval/SectionHydrostatics.cpp).
class IHydroSections {
public:
    virtual ~IHydroSections() = default;
    // Volume and centre of the sections clipped below the waterplane.
    virtual TVolumeAndCentre UnderwaterVolume(const TMPlane& Plane) = 0;
    // The hydrostatic particulars below the waterplane.
    virtual void HydrostaticSummary(const TMPlane& Plane, THydrostaticsData& R) = 0;
    // Least and greatest Normal . P over every point (the plane's distance is not used); HugeValue
    // and -HugeValue when there are no points.
    virtual void ExtentAlong(const TMPlane& Plane, double& Min, double& Max) const = 0;
    virtual void Extents(TMBox& Box) const = 0;
};

// An owning, ordered list of polylines (any TPolyline descendant).
class TPolylineList : public IHydroSections {
public:
    TPolylineList() = default;
    TPolylineList(const TPolylineList&) = delete;
    TPolylineList& operator=(const TPolylineList&) = delete;
    ~TPolylineList() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // The polyline at Index; outside 0 .. Count - 1 throws EError "List index out of bounds (Index)".
    TPolyline* Items(int Index);
    const TPolyline* Items(int Index) const;
    TPolyline* First() { return Items(0); }
    TPolyline* Last() { return Items(Count() - 1); }
    // Appends P; the list takes ownership. nullptr is ignored.
    void Add(std::unique_ptr<TPolyline> P);
    // Inserts P before position Index (0 .. Count); nullptr is ignored.
    void Insert(int Index, std::unique_ptr<TPolyline> P);
    // Frees the polyline at Index and removes its entry.
    void Delete(int Index);
    // Takes P out without freeing it and hands it back; FormerIndex receives its position. nullptr
    // (and -1) when P is not in the list.
    std::unique_ptr<TPolyline> Remove(const TPolyline* P, int* FormerIndex = nullptr);
    int IndexOf(const TPolyline* P) const;
    void Clear();
    // Clear, then plain TPolyline copies of Other's polylines.
    void Assign(const TPolylineList& Other);
    std::unique_ptr<TPolylineList> Clone() const;
    // Appends plain TPolyline copies of Other's polylines.
    void AddCopies(const TPolylineList& Other);
    // Moves every polyline of Other into this list, taking them from Other's end: Other ends empty
    // and its polylines arrive in reverse order.
    void TakeFrom(TPolylineList& Other);
    // Plain polylines of the points carried through M.
    std::unique_ptr<TPolylineList> Transformed(const TMMatrix& M) const;
    // The box of every polyline; the empty box for an empty list.
    TMBox Extents() const;
    // Ascending by the x of each polyline's last point; equal keys in no particular order. A
    // polyline without points throws the list's index error, before anything moves.
    void SortByStation();
    // Flags off, fill colour 0 and line colour white on every polyline.
    void ResetStyles();
    // Each polyline's own Draw, in list order.
    void Draw(IGraphics& G);
    void DrawOutlines(IGraphics& G);
    void DrawDirections(IGraphics& G);

    // "NumPolylines=<count>" and each polyline's own block.
    virtual void SaveToText(TTextWriter& F);
    // Appends the polylines of a "NumPolylines=" block, each read as a plain TPolyline. A count that
    // is not an integer throws EGeometryError "Error in field PolylineList.NumPolylines"; a polyline
    // that fails to read is dropped and its error passed on, the ones before it stay.
    virtual void LoadFromText(TTextReader& F);

    // From each section's area, centroid, extents, depth and station only; zero below two sections.
    TVolumeAndCentre UnderwaterVolume(const TMPlane& Plane) override;
    // The summary of SectionsSummary integrated into R; R is left alone below two sections.
    void HydrostaticSummary(const TMPlane& Plane, THydrostaticsData& R) override;
    // Volume and centre of the whole sections, not clipped: each polyline's own points, depth 1.
    TVolumeAndCentre SectionsVolume();
    void ExtentAlong(const TMPlane& Plane, double& Min, double& Max) const override;
    void Extents(TMBox& Box) const override { Box = Extents(); }
    // One record per section below the waterplane, with area, waterline, girth and depth, prepared
    // by one hydrostatics pass (crossings inserted, dry sections removed, weights computed). A
    // polyline without points throws the point iterator's "no points" error.
    std::unique_ptr<TSectionsSummary> SectionsSummary(const TMPlane& Plane);

private:
    friend class TWelds;
    std::vector<std::unique_ptr<TPolyline>> FItems;
};

// A polyline list that holds B-splines (and possibly other polylines).
class TBSplineList : public TPolylineList {
public:
    // Item Index as a B-spline; nullptr when it is another kind of polyline.
    TBSpline* BSplines(int Index);
    // B-splines carried through M as B-splines, other items as plain polylines.
    std::unique_ptr<TBSplineList> Transformed(const TMMatrix& M) const;
    // For each item: "[<class name>]", its own block and an empty line; nothing for an empty list.
    // There is no count line, so the inherited reader does not read this back.
    void SaveToText(TTextWriter& F) override;
};

class TBSplineIterator;

// A plain list of B-splines it does not own.
class TBSplines {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws the list's index error outside 0 .. Count - 1.
    TBSpline* Items(int Index) const;
    int Add(TBSpline* S);
    void Clear() { FItems.clear(); }
    std::unique_ptr<TBSplineIterator> Iterator();

private:
    std::vector<TBSpline*> FItems;
};

// Walks a B-spline list when List is set, else Splines; neither is owned.
class TBSplineIterator {
public:
    TBSplineList* List = nullptr;
    TBSplines* Splines = nullptr;
    // -1 before the first MoveNext.
    int Position = -1;

    explicit TBSplineIterator(TBSplines* ASplines = nullptr) : Splines(ASplines) {}
    // Moves on; false past the end or when there is nothing to walk.
    bool MoveNext();
    // The item at Position; nullptr when there is nothing to walk.
    TBSpline* Current() const;
};

// ---- Welding ----

// The least of the four distances between the ends of A and B.
double EndGap(const TRPoints& A, const TRPoints& B);

// A candidate join: two polylines of the list being welded (not owned) and their EndGap.
class TWeld {
public:
    double Gap;
    TPolyline* PolylineA;
    TPolyline* PolylineB;

    TWeld(TPolyline* A, double AGap, TPolyline* B) : Gap(AGap), PolylineA(A), PolylineB(B) {}
    // PolylineA joined with PolylineB at their nearest ends.
    std::unique_ptr<TPolyline> Join() const;
};

// Welds a list in place: while two polylines have ends closer than the limit, the pair with the
// smallest gap is joined (equal gaps in the order of the ends in the list, the earlier polyline as
// PolylineA), the two are freed and the joined polyline is appended. Polylines without points take
// no part. Each end's nearest partner is found through a search tree over the end points, so
// welding n polylines costs about n log n rather than a look at every pair.
class TWelds {
public:
    // No limit: everything that can be chained ends in one polyline.
    explicit TWelds(TPolylineList& List);
    // Only gaps below Tolerance are joined.
    TWelds(TPolylineList& List, double Tolerance);
    ~TWelds();
    TWelds(const TWelds&) = delete;
    TWelds& operator=(const TWelds&) = delete;

    bool Limited() const { return FLimited; }
    double Tolerance() const { return FTolerance; }
    void WeldAll();

private:
    struct TState;
    TPolylineList& FPolylines;
    bool FLimited;
    double FTolerance;
};

// A welded copy of List with no gap limit.
std::unique_ptr<TPolylineList> WeldAllPolylines(const TPolylineList& List);
// A copy of List in which chains of polylines whose ends meet within Tolerance are joined.
std::unique_ptr<TPolylineList> WeldPolylinesWithin(const TPolylineList& List, double Tolerance);
// The first polyline of a welded copy of List (with no limit, the whole list joined into one). An
// empty list throws the list's index error.
std::unique_ptr<TPolyline> JoinPolylines(const TPolylineList& List);

}  // namespace sarnova
