// Smoothed vertex normals of a triangle list: every corner gets the normal averaged over the facets
// that meet there, except across creases, so that a shaded facet list looks smooth but keeps its
// sharp edges.
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "foundation/Geom.h"
#include "foundation/PositionIndex.h"

namespace sarnova {

class TPolygon;
class TPolygons;

// One vertex and the facets that have a corner there (not owned), in the order they were added. A
// degenerate facet with two corners at the vertex is listed twice.
class TVertexPolygons {
public:
    explicit TVertexPolygons(const TRPoint& AVertex);
    TVertexPolygons(const TVertexPolygons&) = delete;
    TVertexPolygons& operator=(const TVertexPolygons&) = delete;
    virtual ~TVertexPolygons() = default;

    const TRPoint& Vertex() const { return FVertex; }
    int Count() const { return static_cast<int>(FPolygons.size()); }
    TPolygon* Items(int Index) const { return FPolygons.at(static_cast<std::size_t>(Index)); }
    void Add(TPolygon* Facet) { FPolygons.push_back(Facet); }

    // The normalised sum of the unit facet normals, one per listing, unweighted; zero for a zero sum.
    TMVector AverageNormal() const;
    // Normal becomes the vertex normal of every facet at this vertex.
    void SetNormal(const TMVector& Normal);
    // All facets share the average when each facet normal lies within half the crease angle of it;
    // otherwise CreaseSmooth.
    virtual void Smooth(double CreaseAngle);
    // Splits the facets, in their order, into runs of neighbours that share an edge here and fold by
    // less than CreaseAngle (the last run joins the first when they close the fan); each run shares
    // its own average. Without any crease between neighbours the vertex is shaded flat instead. Uses
    // the facets' Group field for the run numbers.
    void CreaseSmooth(double CreaseAngle);
    // The unit direction from a common neighbour corner to the vertex when F and G share an edge at
    // the vertex; nullopt when they do not.
    std::optional<TMVector> SharedEdge(const TPolygon& F, const TPolygon& G) const;

private:
    TRPoint FVertex;
    std::vector<TPolygon*> FPolygons;
};

// The vertex groups of a facet list: corners that lie within 1e-4 of each other on every axis share a
// group. Groups are found through a position index, so grouping costs about the same per corner
// however large the list; they are kept in the order their vertices were first met.
class TSmoothingList {
public:
    TSmoothingList() = default;
    TSmoothingList(const TSmoothingList&) = delete;
    TSmoothingList& operator=(const TSmoothingList&) = delete;
    virtual ~TSmoothingList() = default;

    int Count() const { return static_cast<int>(FGroups.size()); }
    TVertexPolygons* Items(int Index) const { return FGroups.at(static_cast<std::size_t>(Index)).get(); }

    // The group whose vertex equals P within the tolerance (the earliest such group when several do);
    // a new group for P when none does.
    TVertexPolygons& FindOrAdd(const TRPoint& P);
    // The facet joins the groups of its corners 0, 1 and 2, in that order.
    void AddPolygon(TPolygon& Facet);
    void AddPolygons(const TPolygons& List);
    // Smooth on every group.
    void Smooth(double CreaseAngle);
    // Frees every group.
    virtual void Clear();

protected:
    // The factory of FindOrAdd.
    virtual std::unique_ptr<TVertexPolygons> CreateGroup(const TRPoint& Vertex);

private:
    // Group i sits at position number i.
    TPositionIndex Places;
    std::vector<std::unique_ptr<TVertexPolygons>> FGroups;
};

// Gives every corner 0 to 2 of every facet of List a vertex normal, averaged across joins that fold
// by less than CreaseAngle (radians) and kept apart across creases.
void SmoothPolygonNormals(TPolygons& List, double CreaseAngle);

}  // namespace sarnova
