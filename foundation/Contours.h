// Contour sets: the axis-aligned planes (stations, buttocks, waterlines) at which the contour lines of
// surfaces and meshes are drawn, with their text block, and the cutting of facet meshes by them.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class TFacetCutIndex;
class TLines;
class TPolygon;
class TPolygonList;
class TPolyline;
class TPolylineList;
class TTextReader;
class TTextWriter;

// One cutting plane: the coordinate Position on Axis (0 X, 1 Y, 2 Z).
class TContour {
public:
    std::uint8_t Axis = 0;
    double Position = 0;
};

// Contours of one axis, owned, in the order they were added.
class TContourList {
public:
    int Count() const noexcept { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TContour* Item(int Index) const;
    TContour* Add(std::uint8_t Axis, double Position);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TContour>> FItems;
};

// The X, Y and Z contours of a document. A global index runs over the X list, then Y, then Z.
// Nothing sorts the contours.
class TContours {
public:
    TContours() = default;
    TContours(const TContours&) = delete;
    TContours& operator=(const TContours&) = delete;

    // Appends a contour to the list of its axis; an axis other than 0, 1 or 2 adds nothing.
    void AddContour(int Axis, double Position);
    // N + 1 contours at First + I / N (Last - First), I = 0 .. N, in that order; N = 0 gives the one
    // contour at First and a negative N nothing.
    void AddContourRange(int Axis, int N, double First, double Last);

    // The contour at a global index; nullptr when Index is negative or not below Count.
    TContour* Contour(int Index) const;
    // The contour at an index of one list; the list's index error outside it.
    TContour* XContour(int Index) const { return FLists[0].Item(Index); }
    TContour* YContour(int Index) const { return FLists[1].Item(Index); }
    TContour* ZContour(int Index) const { return FLists[2].Item(Index); }
    int XCount() const noexcept { return FLists[0].Count(); }
    int YCount() const noexcept { return FLists[1].Count(); }
    int ZCount() const noexcept { return FLists[2].Count(); }
    int Count() const noexcept { return XCount() + YCount() + ZCount(); }

    void Clear();
    void ClearX() { FLists[0].Clear(); }
    void ClearY() { FLists[1].Clear(); }
    void ClearZ() { FLists[2].Clear(); }
    // Clear, then copies of Other's contours, X, Y, then Z.
    void Assign(const TContours& Other);
    std::unique_ptr<TContours> Clone() const;

    // "NumContours=<count>", then one line per contour, X, Y, then Z: the axis code (1 X, 2 Y, 3 Z)
    // in 10 characters and the position with 3 decimals in 10 more; a position that fills its 10
    // characters or more is set off from the code by a blank.
    void SaveToText(TTextWriter& Out) const;
    // Clear, then reads such a block; lines with another code are skipped. A count that is no integer
    // throws EConvertError; a missing or malformed number throws the reader's EInOutError and keeps
    // the contours read before it.
    void LoadFromText(TTextReader& In);

private:
    TContourList FLists[3];
};

// For each axis in the order X, Y, Z with spacing D (DX, DY, DZ) and box range [Min, Max]: when
// |D| > 1e-4 and Max > Min, the contours of that axis are replaced by contours at K D for K from
// trunc(Min / D) - 1 to trunc(Max / D) + 1 (each quotient cut through single precision), so one lies
// beyond each end of the box; otherwise that axis stays as it is. Throws EGeometryError
// "SetContourSpacing - Too many contours" rather than filling an axis with more than
// MaxContoursPerAxis contours, leaving that axis as it was.
inline constexpr int MaxContoursPerAxis = 100000;
void SetContourSpacing(const TMBox& Box, TContours& Contours, double DX, double DY, double DZ);

// An X contour at the station of every polyline of List that lies in a plane of constant x (its
// fitted plane's normal has |x| above 1 - 1e-4) and has no X contour within 1e-4 of it yet.
void AddStationContours(const TPolylineList& List, TContours& Contours);

// The colours of contour lines by axis: X (stations), Y (buttocks), Z (waterlines).
struct TContourColors {
    TColor X = 0;
    TColor Y = 0;
    TColor Z = 0;
    TColor ForAxis(int Axis) const { return Axis == 0 ? X : Axis == 1 ? Y : Z; }
};

// The contour lines of the facets at every contour of the set, as polylines coloured by axis with
// Colors; nullptr for a null facet list, an empty set, or when nothing
// is cut. Writes "  Creating Contours from Polygon Representation..." to the console. Only triangles
// are cut; corners within the mesh's on-plane tolerance (TPlaneCutter) count as on a contour's
// plane, so closed meshes give closed contours through their vertices. Cut points within 1e-4 of each
// other are merged; each line grows from its lowest segment at both ends, taking at a branch the
// lowest segment; closed lines end on a point equal to their first; lines shorter than 0.001 are
// dropped. The mesh is indexed once per axis (TFacetCutIndex); each level then costs about s log s
// for the s segments it cuts.
std::unique_ptr<TPolylineList> ContoursFromPolygons(const TPolygonList* Facets, const TContours& Contours,
                                                   const TContourColors& Colors);

// Adds to Lines the segment where the triangle Facet crosses the plane of coordinate Position on Axis
// (0 X, 1 Y, 2 Z): between the corners lying exactly on the plane (copies) and the points where edges
// with both ends off the plane cross it, whose axis coordinate is exactly Position. Nothing for a
// quadrilateral, a facet in a plane of constant coordinate (within 1e-4), a single touching corner, a
// segment shorter than 1e-4 in every coordinate, or another axis.
void CutFacetWithAxisPlane(const TPolygon& Facet, int Axis, TLines& Lines, double Position);

// The closed section of a hull mesh at station X: the plane cut joined into one polyline. A cut that
// is not closed already loses repeated and close points, is turned to run from its bottom inboard end
// to its top outboard end, is completed by its mirror image in y = 0 when it reaches within 0.05 of
// the centre plane, and is closed. nullptr when the plane misses the mesh.
std::unique_ptr<TPolyline> PolygonSectionAtX(const TPolygonList& Facets, double X);
// The same section through an index of the mesh along x, for callers that cut many stations: build
// the index once (TFacetCutIndex(Facets, XAxisVector)) and cut every station through it.
std::unique_ptr<TPolyline> PolygonSectionAtX(const TFacetCutIndex& Index, double X);
// The sections of every body the plane at X cuts (the hulls of a catamaran), each made as
// PolygonSectionAtX makes one; cut lines whose boxes meet belong to one body. nullptr when the
// plane misses the mesh.
std::unique_ptr<TPolylineList> PolygonSectionsAtX(const TFacetCutIndex& Index, double X);

}  // namespace sarnova
