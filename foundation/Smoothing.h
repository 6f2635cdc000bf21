// Smoothed vertex normals of a triangle list: every corner gets the normal averaged over the facets
// that meet there, except across creases, so that a shaded facet list looks smooth but keeps its
// sharp edges.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "foundation/Geom.h"
#include "foundation/PositionIndex.h"

namespace sarnova {

class TFacetRef;
class TPolygonList;

// The vertex groups of a facet list: corners that lie within 1e-4 of each other on every axis share a
// group. Groups are numbered in the order their vertices were first met and found through a position
// index, so grouping costs about the same per corner however large the list. A group lists the
// facets that have a corner at its vertex in the order they were added; a degenerate facet with two
// corners at the vertex is listed twice. Everything is kept in flat arrays: facet lists of a million
// triangles are smoothed without an allocation per vertex.
class TSmoothingList {
public:
    int Count() const { return FPlaces.Count(); }
    // The vertex of group Group.
    const TMVector& Vertex(int Group) const { return FPlaces.Position(Group); }
    // The number of listings of group Group, and listing Index of it (the facet's index in its list).
    int FacetCount(int Group) const;
    int Facet(int Group, int Index) const;

    // The number of the group whose vertex equals P within the tolerance (the earliest such group when
    // several do); a new group for P when none does.
    int FindOrAdd(const TRPoint& P);
    // Every facet of List joins the groups of its corners 0, 1 and 2, in that order. The facets of one
    // list only: a second call forgets the facets of the first.
    void AddPolygons(TPolygonList& List);
    // Every group in turn gives its facets a vertex normal at its vertex. All facets share the average
    // of their unit normals when each lies within half the crease angle of it. Otherwise the facets,
    // in their order, split into runs of neighbours that share an edge at the vertex and fold by less
    // than CreaseAngle (the last run joins the first when they close the fan), and each run shares
    // its own average; without any crease between neighbours the vertex is shaded flat instead. The
    // runs are numbered per facet.
    void Smooth(double CreaseAngle);
    // Forgets every group and facet.
    void Clear();

private:
    // Sorts the corners by group, keeping their order within each group.
    void SortCorners() const;
    // Corners are numbered 3 F + C for corner C of facet number F. Limit is the cosine of half the
    // crease angle.
    void SmoothGroup(const TMVector& Vertex, std::span<const int> Corners, double CreaseAngle, double Limit);
    void CreaseSmooth(const TMVector& Vertex, std::span<const int> Corners, double CreaseAngle);

    TPositionIndex FPlaces;
    // The list whose facets are added, each facet's unit normal, computed once, the groups of its
    // corners and the run it belongs to while a crease is smoothed.
    TPolygonList* FList = nullptr;
    std::vector<std::int32_t> FRuns;
    std::vector<TMVector> FNormals;
    std::vector<int> FCornerGroups;
    // The corners by group: group G's are FByGroup[FGroupStart[G] .. FGroupStart[G + 1]).
    mutable std::vector<int> FByGroup;
    mutable std::vector<int> FGroupStart;
    mutable bool FSorted = false;
};

// Gives every corner 0 to 2 of every facet of List a vertex normal, averaged across joins that fold
// by less than CreaseAngle (radians) and kept apart across creases.
void SmoothPolygonNormals(TPolygonList& List, double CreaseAngle);

}  // namespace sarnova
