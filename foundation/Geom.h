// Points and owned point lists: the element of every curve, outline, section and facet, and the
// list that every curve class derives from. Also the small helpers built on them: the point
// iterator, point pairs (segments and point-with-direction) and index links between two lists.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/VkMaths.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

// ---- Points ----

// A point object: position, weight, curve parameter, a code carried through copies and a mark.
// Where a point is used as a vector (dot, cross, normalise) X, Y, Z are its components.
class TRPoint {
public:
    double X = 0;
    double Y = 0;
    double Z = 0;
    // Weight; polylines keep the normalised arc-length parameter of the point here.
    double W = 1.0;
    // Curve parameter at which the point was evaluated.
    double T = 0;
    // Point code: knuckles and end points 1, smooth points -1; importers keep their codes here.
    std::int32_t Tag = 0;
    // Selected for editing.
    bool Marked = false;

    TRPoint() = default;
    explicit TRPoint(const TMVector& V) : X(V.X), Y(V.Y), Z(V.Z) {}

    // Points come and go by the million (facets, sections, the polylines of a document): they are
    // carved from large blocks and recycled, which saves the allocator's time and its per-block header.
    static void* operator new(std::size_t Size);
    static void operator delete(void* P, std::size_t Size) noexcept;

    // A new point holding this one's values (Marked stays false).
    std::unique_ptr<TRPoint> Clone() const;
    // Copies X, Y, Z, W, T and Tag; the mark stays as it was.
    TRPoint& Assign(const TRPoint& B);
    TRPoint& SetVector(const TMVector& V);
    void SetXYZ(double AX, double AY, double AZ) {
        X = AX;
        Y = AY;
        Z = AZ;
    }
    TMVector Vector() const { return {X, Y, Z}; }

    // The point carried through M (translation included); W and Tag are copied, T and Marked are not.
    std::unique_ptr<TRPoint> Transformed(const TMMatrix& M) const;
    double Distance(const TRPoint& B) const;
    // Every coordinate within 1e-4.
    bool IsEqual(const TRPoint& B) const;
    // New points from the coordinates only; the other fields are at their defaults.
    std::unique_ptr<TRPoint> Add(const TRPoint& B) const;
    std::unique_ptr<TRPoint> Subtract(const TRPoint& B) const;
    std::unique_ptr<TRPoint> MidPoint(const TRPoint& B) const;
    void Scale(double F);
    double Dot(const TRPoint& B) const;
    // B x this, the same handedness as VectorCross.
    std::unique_ptr<TRPoint> Cross(const TRPoint& B) const;
    double Length() const;
    // A zero vector stays zero.
    void Normalise();
    // Angle from this direction to B's, signed by the reference normal N; pi for opposite directions.
    double SignedAngle(const TRPoint& B, const TRPoint& N) const;

    // Grows B to contain the point.
    void AddToBox(TMBox& B) const;
    // Inside B on all three axes, bounds included.
    bool InsideBox(const TMBox& B) const;
};

std::unique_ptr<TRPoint> NewRPoint(double X, double Y, double Z);
std::unique_ptr<TRPoint> NewRPointFromVector(const TMVector& V);
// Every coordinate differs by less than Tol.
bool PointsEqual(const TRPoint& A, const TRPoint& B, double Tol);
// Lexicographic order on X, then Y, then Z, coordinates within 1e-4 counting as equal: -1, 0 or 1.
int ComparePoints(const TRPoint& A, const TRPoint& B);
// X, Y, Z, W for 0 to 3; 0 for any other index.
double PointCoordinate(const TRPoint& P, std::uint8_t Index);
// The point of segment AB whose coordinate on Axis (0 X, 1 Y, 2 Z) is Value; nullptr for another
// axis. Throws EGeometryError "Interpolation of TRPoints out of Range" when Value is outside the
// segment's range on that axis or both ends share that coordinate.
std::unique_ptr<TRPoint> InterpolatePoints(const TRPoint& A, const TRPoint& B, std::uint8_t Axis,
                                           double Value);
// Crossing of lines AB and CD seen in the XY plane; Z is interpolated along AB.
std::unique_ptr<TRPoint> IntersectLinesXY(const TRPoint& A, const TRPoint& B, const TRPoint& C,
                                          const TRPoint& D);
// Crossing of lines AB and CD seen in the YZ plane; X is interpolated along AB.
std::unique_ptr<TRPoint> IntersectLinesYZ(const TRPoint& A, const TRPoint& B, const TRPoint& C,
                                          const TRPoint& D);

// ---- Point lists ----

// Summary of the marked points of a list. Kind: 0 none, 1 exactly one, 2 one unbroken run of two or
// more, 3 scattered. The indices are -1 when nothing is marked.
struct TMarkedRange {
    std::uint8_t Kind = 0;
    std::int32_t FirstIndex = -1;
    std::int32_t LastIndex = -1;
    bool operator==(const TMarkedRange&) const = default;
};

class TRPointsIterator;

// A source of positions handed out one by one; the caller owns the iterator.
class IMVectorSource {
public:
    virtual ~IMVectorSource() = default;
    virtual std::unique_ptr<IMVectorIterator> Iterator() = 0;
};

// An owned list of points, the base of every curve class. Points are numbered from 0. The list owns
// every point it holds: Add and Insert take ownership, Remove hands the point back, Delete and Clear
// free. Pointers returned by Point, First and Last stay valid until that point leaves the list.
class TRPoints : public IMVectorSource {
public:
    // Drawing uses the list's own colours instead of the drawing target's current ones.
    bool OwnColors = false;
    // Drawn as a filled polygon instead of a polyline.
    bool Filled = false;
    // Brush and pen colours used with OwnColors. A new list has both 0; Clear resets them to clNone
    // and clWhite.
    TColor FillColor = 0;
    TColor LineColor = 0;

    TRPoints() = default;
    TRPoints(const TRPoints&) = delete;
    TRPoints& operator=(const TRPoints&) = delete;
    ~TRPoints() override;

    // Called in every inner loop: a plain read, no dispatch.
    int Count() const noexcept { return static_cast<int>(FCount); }

    // Point at Index; an index outside 0..Count-1 throws EError "List index out of bounds (Index)".
    // Subclasses override it to grow on demand (TPolyline appends zero points up to the index); an
    // override must bring the const overload back with `using TRPoints::Point;`.
    virtual TRPoint* Point(int Index);
    // Never grows: the plain checked access.
    const TRPoint* Point(int Index) const {
        CheckIndex(Index);
        return FPoints[Index];
    }
    // First and last point, bypassing the virtual Point; an empty list throws the index error.
    TRPoint* First();
    const TRPoint* First() const;
    TRPoint* Last();
    const TRPoint* Last() const;

    // Appends P and returns its index; the list takes ownership.
    int Add(std::unique_ptr<TRPoint> P);
    // Room for Capacity points without moving the list (a hint; the count does not change).
    void Reserve(int Capacity);
    // Inserts P before position Index (0..Count); the list takes ownership.
    void Insert(int Index, std::unique_ptr<TRPoint> P);
    // Takes P out without freeing it and hands it back; FormerIndex receives its position. nullptr
    // (and -1) when P is not in the list.
    std::unique_ptr<TRPoint> Remove(const TRPoint* P, int* FormerIndex = nullptr);
    // Removes and frees the point at Index.
    void Delete(int Index);
    void Exchange(int I, int J);
    // Frees every point and resets the flags and colours.
    virtual void Clear();
    // Resets the flags and colours (FillColor to 0, not "no colour"); the points stay.
    void ResetAttributes();
    // Clear, then clones of Source's points in order, and Source's flags and colours.
    void Assign(const TRPoints& Source);
    // A new plain TRPoints of every point carried through M, with the flags and colours copied.
    std::unique_ptr<TRPoints> Transformed(const TMMatrix& M) const;
    // Throws EError "TRPointsIterator.Create - no points" on an empty list.
    std::unique_ptr<IMVectorIterator> Iterator() override;
    TMarkedRange MarkedRange() const;

protected:
    void CheckIndex(int Index) const {
        if (Index < 0 || Index >= Count()) ThrowIndexError(Index);
    }
    [[noreturn]] static void ThrowIndexError(int Index);

private:
    // Room for at least Capacity points; the points stay where they are.
    void Grow(std::uint32_t Capacity);
    void FreePoints() noexcept;

    // The owned points in order, in one block of FCapacity pointers: a document holds lists of a
    // few points by the million, so the count sits in the padding after the colours and the
    // capacity in the word before the block.
    std::uint32_t FCount = 0;
    TRPoint** FPoints = nullptr;
};

// Hands out the positions of a point list one by one. The list must outlive the iterator and must
// not change while it is walked.
class TRPointsIterator : public TMVectorIterator {
public:
    // Throws EError "TRPointsIterator.Create - no points" when the list is empty.
    explicit TRPointsIterator(const TRPoints& Points);

protected:
    TMVector FirstVector() override;
    // Stays on the last point at the end; called first it yields point 0.
    TMVector NextVector() override;
    bool AtLast() const override;

private:
    const TRPoints* FPoints;
    int FIndex = -1;
};

// ---- Point pairs ----

// Two owned points; either may be null until created.
class TRPointPair {
public:
    std::unique_ptr<TRPoint> Point1;
    std::unique_ptr<TRPoint> Point2;

    // With CreatePoints set both points are made at the origin.
    explicit TRPointPair(bool CreatePoints = false);
    // Takes ownership of both points.
    TRPointPair(std::unique_ptr<TRPoint> P1, std::unique_ptr<TRPoint> P2);
    virtual ~TRPointPair();
    TRPointPair(const TRPointPair&) = delete;
    TRPointPair& operator=(const TRPointPair&) = delete;

    // Creates whichever point is still missing.
    void CreatePoints();
    // Copy P's values into the owned point, creating it when missing.
    void SetPoint1(const TRPoint& P);
    void SetPoint2(const TRPoint& P);
    // Copies the values of both of Other's points.
    void Assign(const TRPointPair& Other);
    // A new segment holding copies of both points.
    std::unique_ptr<class TRLine> CloneAsLine() const;
};

// A line segment from Point1 to Point2.
class TRLine : public TRPointPair {
public:
    using TRPointPair::TRPointPair;
};

// Point1 is a position, Point2 a direction vector.
class TRPointVector : public TRPointPair {
public:
    using TRPointPair::TRPointPair;
};

// Exchanges the points when Point1 is the larger by ComparePoints.
void OrderPointPair(TRPointPair& Pair);
// A new point-vector with copies of the pair's values.
std::unique_ptr<TRPointVector> PointVectorFromPair(const TRPointPair& Pair);
// Point1 carried through M; Point2 the direction carried through M with any scaling but without the
// translation: M(Point1 + Point2) - M(Point1).
std::unique_ptr<TRPointVector> TransformPointVector(const TRPointPair& PV, const TMMatrix& M);

// ---- Index links ----

// Two linked point indices, typically a point of one polyline and the matching point of another.
struct TLink {
    std::int32_t First = 0;
    std::int32_t Second = 0;
    bool operator==(const TLink&) const = default;
};

// An ordered list of links held by value. References from Link stay valid only until the next Add.
class TLinksList {
public:
    int Count() const noexcept { return static_cast<int>(FLinks.size()); }
    // Appends a link and returns its index.
    int Add(std::int32_t First, std::int32_t Second);
    // Throws EError "List index out of bounds (Index)" outside 0..Count-1.
    TLink& Link(int Index);
    const TLink& Link(int Index) const;
    void Clear() { FLinks.clear(); }
    // Exchanges First and Second in every link.
    void SwapAll();
    // Ascending by First, then by Second.
    void Sort();

private:
    std::vector<TLink> FLinks;
};

}  // namespace sarnova
