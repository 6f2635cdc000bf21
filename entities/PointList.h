// The point cloud: a plain owned list of loose points with its text form, held by the point-cloud
// entity and made from polylines by the curve entities, the polyline lists and the DXF exchange.
#pragma once
#include <memory>
#include <vector>

#include "foundation/Geom.h"

namespace sarnova {

class IGraphics;
class TPolyline;
class TTextReader;
class TTextWriter;

class TPointCloud {
public:
    TPointCloud() = default;
    TPointCloud(const TPointCloud&) = delete;
    TPointCloud& operator=(const TPointCloud&) = delete;

    int Count() const { return static_cast<int>(Points.size()); }
    // The point at Index; throws EError "List index out of bounds (<Index>)" outside the list.
    TRPoint* Items(int Index) const;
    TRPoint* Point(int Index) const { return Items(Index); }
    // The first point; an empty cloud throws the index error.
    TRPoint* First() const { return Items(0); }

    // Appends P and takes it; nullptr is ignored.
    void Add(std::unique_ptr<TRPoint> P);
    void AddXYZ(double X, double Y, double Z);
    // Appends copies of every point of Polyline, in order.
    void AddPolyline(const TPolyline& Polyline);
    // Clear, then AddPolyline.
    void AssignPolyline(const TPolyline& Polyline);
    // Removes and frees the point at Index (the index error outside the list).
    void Delete(int Index);
    void Clear() { Points.clear(); }
    // Clear, then copies of every point of Other (a cloud assigned from itself stays as it is).
    void Assign(const TPointCloud& Other);
    std::unique_ptr<TPointCloud> Clone() const;
    // Copies of the points carried through M.
    std::unique_ptr<TPointCloud> Transformed(const TMMatrix& M) const;

    // Every point as an edit handle of kind 2, in the target's line colour.
    void Draw(IGraphics& View) const;

    // "NumPoints=<n>", then one "%10.3f %10.3f %10.3f" line per point.
    void SaveToText(TTextWriter& Out) const;
    // Appends the points of a "NumPoints=" block. A count that is not a whole number throws
    // EGeometryError "Error in field PointList.NumPoints"; a point line that is short or not numbers
    // throws the reader's EInOutError, the points read so far kept.
    void LoadFromText(TTextReader& In);

    // A new polyline through the points: the first two as they come, then every other point inserted
    // into the nearest segment (TPolyline::InsertNearest), in order. Fewer than two points give a
    // polyline of the points there are.
    std::unique_ptr<TPolyline> PolylineThrough() const;

private:
    std::vector<std::unique_ptr<TRPoint>> Points;
};

}  // namespace sarnova
