// Parametric curves over point lists: the abstract curve every curve class answers to, and the
// polyline, the piecewise-linear curve through its points that also carries outlines, sections and
// most intermediate results of the program.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "foundation/Geom.h"
#include "foundation/GeomInfo.h"

namespace sarnova {

class IGraphics;
struct TPoint;
class TTextReader;
class TTextWriter;
class TPolyline;

// Position and first, second and third derivative of a curve at one parameter, in that order.
using TCurveDerivatives = std::array<TMVector, 4>;
// Position and first derivative: all that tangents, normals and Newton steps need.
using TCurveFirstDerivatives = std::array<TMVector, 2>;

// A curve's moving frame at one parameter, and its curvature there.
struct TFrenetFrame {
    TMVector Point;
    TMVector Tangent;
    TMVector Normal;
    TMVector Binormal;
    double Curvature = 0;
};

// The frame of a smooth curve from its derivatives: the tangent along d1, the binormal along
// d1 x d2, the normal completing the right-handed set, curvature |d1 x d2| / |d1|^3 (0 where d1
// vanishes). Zero vectors stay zero.
TFrenetFrame FrenetFrameFromDerivatives(const TCurveDerivatives& D);

// A point list read as a parametric curve. Never instantiated itself: every operation is answered by
// the concrete curve. Points and polylines returned are new and belong to the caller; nullptr means
// there is no such point. Evaluations are not const because curves may refresh caches (knots, a
// generated polyline) or, as the polyline does, record the parameter in their points.
class TCurve : public TRPoints {
public:
    // The parameter range.
    virtual double MaxT() const = 0;
    virtual double MinT() const = 0;
    // The point at parameter T; nullptr outside the range.
    virtual std::unique_ptr<TRPoint> PointAt(double T) = 0;
    // A point of the curve with the given coordinate; nullptr when the curve has none.
    virtual std::unique_ptr<TRPoint> PointAtX(double X) = 0;
    virtual std::unique_ptr<TRPoint> PointAtY(double Y) = 0;
    virtual std::unique_ptr<TRPoint> PointAtZ(double Z) = 0;
    virtual TCurveDerivatives Derivatives(double T) = 0;
    // The first two of Derivatives; curves that can skip the higher derivatives do.
    virtual TCurveFirstDerivatives FirstDerivatives(double T);
    virtual TFrenetFrame FrenetFrame(double T) = 0;
    // The bounding box; the empty box for a curve without points.
    virtual TMBox Extents() const = 0;
    // The parameters at which the curve is sampled for display and digitising. ByKnotInterval
    // spaces them by knot interval and means something to B-splines only.
    virtual TDigitisationParameters DigitisationParameters(bool ByKnotInterval) = 0;
    // The curve sampled into a new polyline.
    virtual std::unique_ptr<TPolyline> Digitise() = 0;

protected:
    // Shared coordinate search of the smooth curves: bisection on the parameter between Lo and Hi
    // for a point whose coordinate on Axis (0 X, 1 Y, 2 Z) is Value. Each round evaluates the ends
    // and the middle; an exact hit is returned at once, otherwise the half whose end coordinates
    // enclose Value (bounds included, either order, the lower half first) is kept, and the search
    // ends with PointAt(Mid) once the middle's coordinate is within Tolerance of Value. nullptr when
    // neither half encloses Value, when PointAt gives no point, or when the halvings run out before
    // the tolerance is met (a break in the curve at Value), so the search always ends.
    std::unique_ptr<TRPoint> SearchCoordinate(std::uint8_t Axis, double Value, double Lo, double Hi,
                                              double Tolerance);
};

// The piecewise-linear curve through its points. Its parameter is the arc length from the first
// point divided by the total length, and PointAt records each point's normalised arc length in the
// point's W. Tag carries knuckle markers (1 and -1) and other point codes. A polyline is closed when
// its first and last points are equal within 1e-4; there is no closed flag.
class TPolyline : public TCurve {
public:
    // Point at Index; an index at or past the end first appends points at the origin until it
    // exists. A negative index throws the list's index error.
    TRPoint* Point(int Index) override;
    using TRPoints::Point;

    // Both 0: the polyline's range is not exposed through MinT/MaxT (PointAt takes [0, 1]).
    double MaxT() const override;
    double MinT() const override;
    // The point at arc-length fraction T in [0, 1], nullptr outside (or NaN). Leaves every point's W
    // at its normalised arc length. A zero-length segment at T gives a copy of its end point. A
    // polyline with one point or no length is that point: nothing is changed and the result is a copy
    // of the first point; an empty one gives nullptr.
    std::unique_ptr<TRPoint> PointAt(double T) override;
    // The first crossing of the coordinate value along the point order: nullptr outside the range of
    // Extents; on a segment whose ends share the value, a copy of the later end; otherwise the point
    // interpolated there (W 1.0).
    std::unique_ptr<TRPoint> PointAtX(double X) override;
    std::unique_ptr<TRPoint> PointAtY(double Y) override;
    std::unique_ptr<TRPoint> PointAtZ(double Z) override;
    // All zero: a polyline has no smooth derivatives.
    TCurveDerivatives Derivatives(double T) override;
    TFrenetFrame FrenetFrame(double T) override;
    TMBox Extents() const override;
    // Empty: a polyline is digitised by its own points.
    TDigitisationParameters DigitisationParameters(bool ByKnotInterval) override;
    // Clone.
    std::unique_ptr<TPolyline> Digitise() override;

    // "NumPoints=<n>" and one "%10.3f %10.3f %10.3f" line per point.
    virtual void SaveToText(TTextWriter& Out);
    // Reads a "NumPoints=" block into the points: existing points are overwritten and points beyond
    // the count stay, so callers load into an empty polyline. A count that is not an integer throws
    // EGeometryError "Error in field Polyline.NumPoints"; a missing or malformed number throws the
    // reader's EInOutError and leaves the points read so far.
    virtual void LoadFromText(TTextReader& In);
    // Reverses the point order in place.
    virtual void Reverse();
    // The points through G.Polyline, which honours OwnColors and Filled.
    virtual void Draw(IGraphics& G);
    // The control polygon; for a plain polyline the same as Draw.
    virtual void DrawControlPolygon(IGraphics& G);

    // A new plain TPolyline (never a subclass) holding copies of the points, flags and colours.
    // Station is not copied.
    std::unique_ptr<TPolyline> Clone() const;
    // Appends a new point (W 1.0, T 0, Tag 0) and returns its index.
    int AddPoint(double X, double Y, double Z);
    int AddVector(const TMVector& V);
    // Inserts a new point (W 1.0) before position Index (0 .. Count).
    void InsertPoint(int Index, double X, double Y, double Z);
    void InsertVector(int Index, const TMVector& V);
    // Appends a copy of P; nullptr is ignored.
    void AddPointCopy(const TRPoint* P);
    // Appends P itself and returns its index; the polyline takes ownership.
    int AddRPoint(std::unique_ptr<TRPoint> P);
    // Appends a copy of every point of Other, in order.
    void AddCopies(const TPolyline& Other);
    // Appends N points at the origin.
    void AddZeroPoints(int N);
    // Copies P's values into Point(Index), growing the polyline when Index is past the end.
    void SetPoint(int Index, const TRPoint& P);
    // Sum of the distances between consecutive points; 0 below two points.
    double Length() const;
    // The x of the last point; the stored Station when there are no points.
    double GetStation() const;
    // Stores X as Station and moves every point to x = X.
    void SetStation(double X);
    // At least 3 points and the first and last equal within 1e-4.
    bool IsClosed() const;
    // Nothing with 2 points or fewer. Closing appends a copy of the first point when not closed;
    // opening removes last points while closed.
    void SetClosed(bool Closed);
    // Sorts ascending by X (Key 0), Y (1), Z (2) or W (3); equal keys keep no particular order, and
    // any other key leaves every point comparing equal.
    void SortPoints(int Key);
    // A new plain TPolyline of every point carried through M (W and Tag kept, T reset) with the flags
    // and colours copied; Station is not copied.
    std::unique_ptr<TPolyline> Transformed(const TMMatrix& M) const;
    // Writes "[<class name>]" and SaveToText into a new or overwritten file; a file that cannot be
    // written throws EInOutError.
    void SaveToFile(const std::filesystem::path& FileName);
    // Draw with OwnColors and Filled cleared, so the outline comes out in the target's colours.
    void DrawOutline(IGraphics& G);
    // An arrow on the first segment at least 1.0 long, pointing along the point order.
    void DrawDirection(IGraphics& G);
    // Unit normal of the polygon through the points (counter-clockwise seen from +z gives +z); the
    // zero vector below three points or for a degenerate polygon.
    TMVector AreaNormal() const;
    // The plane of the points: normal AreaNormal through the first point, oriented by OrientPlane.
    TMPlane FittedPlane() const;
    // The class name as written in file headers: "TPolyline", or the subclass's name.
    std::string ClassName() const;

    // ---- Editing and section operations (PolylineOps.cpp) ----

    // The segment nearest to P and where a new point for P goes: Index 0 before the first point, Count
    // after the last, I between points I - 1 and I; F the fraction of the nearest segment at the
    // foot of P. Index -1 (and F 0) below two points.
    void FindInsertPosition(const TRPoint& P, int& Index, double& F) const;
    // Inserts a copy of P where FindInsertPosition puts it; nothing below two points.
    void InsertNearest(const TRPoint& P);
    // Inserts the point picked at Pixel of G: on the pick ray, nearest to the segment it goes into.
    void InsertScreenPoint(const TPoint& Pixel, IGraphics& G);
    // Removes every point whose x, y and z equal its predecessor's exactly; returns the new count.
    // Below two points nothing changes and the result is the count minus one (-1 or 0).
    int RemoveDuplicatePoints();
    // Removes interior points so that every removed point lies within 1e-4 of the line through the
    // two kept points around it: the thinned polyline stays within 1e-4 of the original, and an area
    // it bounds moves by no more than that times its length. The first and last points stay.
    void RemoveCollinearPoints();
    // The same for a line cut from a mesh, thinned in proportion to how finely the mesh follows the
    // surface: a removed point lies off the kept line by less than twice the largest bend of the cut
    // between the two kept points around it (a point's bend: its distance from the line through its
    // neighbours), and by less than 1e-4. A finer mesh bends less from point to point, so it is thinned
    // less, and what thinning takes from the area its cut bounds shrinks as the mesh's own chord error
    // does; with the 1e-4 alone the thinned line would cut inside a convex section by nearly that much
    // everywhere, however fine the mesh. Straight runs lose their inner points.
    void RemoveCutCollinearPoints();
    // Cuts x, y and z of every point to 3 decimals towards zero (in single precision).
    void RoundCoordinates();
    // Restart at the middle (point Count / 2 - 1) or quarter (point Count / 4 - 1), which then stands
    // at both ends. Throw the list's index error below two (four) points.
    void RotateToHalf();
    void RotateToQuarter();
    // Restart at point I (0 .. Count, else the list's index error), keeping a closed polyline closed;
    // repeated points are removed.
    void RotateStart(int I);
    // The whole section from a half: points Count - 1 down to 1, then all points mirrored in y.
    std::unique_ptr<TPolyline> MirroredFullSection() const;
    // Makes a section run upward and start at its lowest inboard point; returns the final count.
    int OrientSection();
    // One polyline through this one and Other, joined at their nearest pair of ends (a shared end
    // point once); nullptr when either has no points.
    std::unique_ptr<TPolyline> JoinAtNearestEnds(const TPolyline& Other) const;
    // Splices the more closed of the two into the other through a two-way bridge between their
    // closest segments. When either has no segment, both point lists one after the other.
    std::unique_ptr<TPolyline> MergeLoop(const TPolyline& Other) const;
    // The part below (Side -1) or above (Side +1) z = H with the crossing points; nullptr when fewer
    // than two points remain or for another Side.
    std::unique_ptr<TPolyline> ClipAtHeight(int Side, bool Reclose, double H) const;
    // Replaces the points by the polyline offset by D in the y-z plane, corners mitred: each segment
    // moves by D (0, u.z, -u.y) for its unit direction u, so a section running up moves towards +y.
    void OffsetInYZ(double D);

private:
    // Both thinnings: WithinBend bounds each removal by the bends of the points as well as by 1e-4.
    void ThinCollinear(bool WithinBend);
    // The x position of a transverse section, used while the polyline has no points.
    double FStation = 0;
};

}  // namespace sarnova
