// Non-rational B-spline curves. The point list holds the control polygon, so every point-list
// operation edits the control points; the curve itself is evaluated on demand from the knot vector.
// Also the free evaluation routines that surfaces and interpolation share with the curve.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Polyline.h"

namespace sarnova {

class IGraphics;

// How the knot vector is obtained: Open (clamped, unit steps) and Periodic (0, 1, 2, ...) are rebuilt
// from the point count and the order; NonUniform and Custom keep the stored knots, Custom also limits
// the parameter range to MinTParameter .. MaxTParameter.
enum TKnotType : std::uint8_t { ktOpen = 0, ktPeriodic = 1, ktNonUniform = 2, ktCustom = 3 };

// Room of the knot vector. n control points of order k need n + k knots, so an order-4 curve holds
// at most 495 control points. Every way in (reading, setting, evaluating) refuses more.
inline constexpr int MaxKnots = 499;
// Knots u[1] .. u[499]; u[i] sits at index i - 1.
using TKnotArray = std::array<double, MaxKnots>;
// [derivative order][basis function].
using TBSplineDerivatives = std::vector<std::vector<double>>;

class TBSpline : public TPolyline {
public:
    // Number of sample parameters used by Draw and Digitise.
    int DisplaySegments = 100;
    // Accuracy in the coordinate of PointAtX, PointAtY and PointAtZ.
    double Tolerance = DefaultTolerance;
    TKnotType KnotType = ktOpen;
    // Parameter limits of a Custom curve; other knot types ignore them.
    double MaxTParameter = 0;
    double MinTParameter = 0;

    // An empty Open curve of the given order with all knots 0.
    explicit TBSpline(int AOrder = 4);

    std::unique_ptr<TBSpline> Clone() const;
    using TPolyline::Assign;
    // Points, flags and colours, then order, ForcedBezier, DisplaySegments, Tolerance, knot type,
    // all knots and both parameter limits (the basis values are not copied).
    void Assign(const TBSpline& Other);
    // Control points carried through M with the curve's settings; the list's flags and colours are
    // not copied.
    std::unique_ptr<TBSpline> Transformed(const TMMatrix& M) const;

    int GetOrder() const { return FOrder; }
    // Sets the order and switches ForcedBezier off. Throws EGeometryError for a negative order or one that would
    // need more than MaxKnots knots with the present points.
    void SetOrder(int K);
    bool GetForcedBezier() const { return FForcedBezier; }
    // On: the order becomes the point count (one Bezier segment) and stays so for Open knots.
    void SetForcedBezier(bool B);

    // n + k, the number of knots in use.
    int KnotCount() const { return Count() + FOrder; }
    // Knot u[I], I in 1 .. MaxKnots; anything else throws EGeometryError naming the limit.
    double Knot(int I) const;
    void SetKnot(int I, double Value);
    // u[1 ..] := Values, every later knot 0; more than MaxKnots values throw as SetKnot does.
    void SetKnots(std::span<const double> Values);
    const TKnotArray& Knots() const { return FKnots; }
    // N[I] of the last ComputeBasis, I in 1 .. MaxKnots; Basis(I) belongs to control point I - 1.
    double Basis(int I) const;

    // Builds the Open or Periodic knot vector, or makes stored knots non-decreasing away from u[k].
    // Throws EGeometryError when the curve needs more than MaxKnots knots.
    void UpdateKnots();

    // The parameter range, from the knots as they stand (no UpdateKnots).
    double MaxT() const override;
    double MinT() const override;
    double ParameterRange() const { return MaxT() - MinT(); }

    // Fills the basis values N[1 .. n] at T from the knots as they stand.
    void ComputeBasis(double T);
    // The curve point at T from the knots as they stand; a caller that changed the points or the
    // order calls UpdateKnots first. W is 1 and T is the parameter.
    std::unique_ptr<TRPoint> PointAt(double T) override;
    // The same point as a vector, without allocating: the routine for inner loops.
    TMVector EvaluatePoint(double T);
    // A curve point with the given coordinate found by bisection; nullptr when the curve does not
    // reach it or the bisection does not close in on it.
    std::unique_ptr<TRPoint> PointAtX(double X) override;
    std::unique_ptr<TRPoint> PointAtY(double Y) override;
    std::unique_ptr<TRPoint> PointAtZ(double Z) override;
    // Position and first to third derivative at T. Zero vectors when the curve has fewer points than
    // its order or T lies outside the knot spans of the range.
    TCurveDerivatives Derivatives(double T) override;
    // The first two of Derivatives (to rounding) at a little more than the cost of a point.
    TCurveFirstDerivatives FirstDerivatives(double T) override;
    TFrenetFrame FrenetFrame(double T) override;

    // 10 n parameters (at least 100), evenly by knot interval or over the whole knot vector.
    TDigitisationParameters DigitisationParameters(bool ByKnotInterval) override;
    // The curve sampled at DisplaySegments parameters; the control polygon when there are fewer
    // points than the order.
    std::unique_ptr<TPolyline> Digitise() override;
    // One line strip through DisplaySegments samples; the control polygon for curves that cannot or
    // need not be evaluated (fewer points than the order, order below 3, more than 200 points).
    void Draw(IGraphics& G) override;
    // Reverses the direction; stored knots and the Custom limits are mirrored so that the same curve
    // is traced backwards.
    void Reverse() override;

    // The text block: "KnotType=", "Knot=[...]", "MinTParameter=", "MaxTParameter=" for stored knots,
    // "ForcedBezier", "Order=", "NumPoints=" and one "%10.6f %10.6f %10.6f" line per control point.
    void SaveToText(TTextWriter& F) override;
    // Reads that block by line position. Knots and limits keep full double precision.
    void LoadFromText(TTextReader& F) override;

    // "Open", "Periodic", "NonUniform" or "Custom".
    std::string KnotTypeText() const;
    // Finds the first of "OPEN", "PERIODIC", "NONUNIFORM", "CUSTOM" in the upper-cased text; throws
    // EGeometryError "TBSpline.KnotTypeByString - Unknown knotType" when none is there.
    void KnotTypeByString(std::string_view S);
    // "[u1 u2 ... um]" in the general number format.
    std::string KnotsText() const;
    // Reads blank-separated knots from between "[" and "]" into u[1], u[2], ...; "," is accepted as
    // decimal separator. Knots beyond those given keep their values. Nothing changes on an error.
    void SetKnotsText(std::string_view S);

    // ---- Knot and curve operations (BSplineOps.cpp) ----
    // Operations that add knots or points throw EGeometryError when the result would need more than
    // MaxKnots knots, and then change nothing. Results built from stored knots are ktNonUniform.

    // Inserts one knot at T, keeping the curve; nothing unless u[1] < T < u[m]. Throws EGeometryError
    // "TBSpline.InsertKnot - Unable to insert Knot, Index outside of range was accessed" for a T
    // outside [u[k], u[n+1]) of an unclamped knot vector.
    void InsertKnot(double T);
    // Inserts all values of X at once, keeping the curve. The values are taken in ascending order and
    // must lie in the parameter range (EGeometryError otherwise); an empty X changes nothing.
    void RefineKnots(std::span<const double> X);
    void RefineKnotsList(const TArray& L);
    // Inserts each value of L until its multiplicity equals the order.
    void InsertKnotsFully(const TArray& L);
    // The parts before and after T, each with knots normalised to [0, 1]. T must lie strictly inside
    // the parameter range (EGeometryError otherwise).
    void Split(double T, std::unique_ptr<TBSpline>& Left, std::unique_ptr<TBSpline>& Right);
    // The part between the two parameters with knots normalised to [0, 1]; the whole range gives the
    // whole curve. A parameter within KnotSnapTolerance (of the range) from a knot is cut at that
    // knot. Throws EGeometryError "TBSpline.SubCurve - UpperT is less than LowerT", or for
    // parameters outside the range.
    std::unique_ptr<TBSpline> SubCurve(double LowerT, double UpperT);
    static constexpr double KnotSnapTolerance = 1e-8;
    // Maps the knots linearly so that u[k] goes to NewMin and the last knot to NewMax.
    void Reparameterise(double NewMin, double NewMax);
    void NormaliseKnots();
    // The same curve at a higher order: every distinct knot gains multiplicity NewOrder - k. Throws
    // EGeometryError "BSplineRaiseDegree - Order must be greater than existing BSpline curve".
    std::unique_ptr<TBSpline> RaiseOrder(int NewOrder);
    // Changes this curve and Other to one order and one knot vector on [0, 1], both keeping their
    // shape; with MinOrder the order is at least that.
    void MakeCompatible(TBSpline& Other);
    void MakeCompatibleWithOrder(TBSpline& Other, int MinOrder);
    // The curve whose control points are the sums of the two curves' made compatible.
    std::unique_ptr<TBSpline> Sum(const TBSpline& Other) const;
    // The coordinate-wise product (x1 x2, y1 y2, z1 z2) over the normalised ranges, of order
    // k1 + k2 - 1.
    std::unique_ptr<TBSpline> Multiply(const TBSpline& Other) const;
    // The derivative (hodograph) curve, of order k - 1.
    std::unique_ptr<TBSpline> Derivative();
    // The same curve with a knot added in the middle of every non-empty span.
    std::unique_ptr<TBSpline> Subdivide();
    // The cubic Bezier curve over [0, 1] with this curve's end points and end derivatives.
    std::unique_ptr<TBSpline> EndTangentBezier();
    // The two curves joined at their nearest ends: Exact joins the curves (the result passes through
    // this curve's end at the joint), otherwise their control polygons. nullptr when either has no
    // points.
    std::unique_ptr<TBSpline> JoinWith(const TBSpline& Other, bool Exact) const;
    // The curve point nearest to P, and its parameter in T: every local minimum of the distance over
    // 4n + 1 even samples is refined by Newton steps, and the nearest result is taken, so that a
    // curve that comes near itself answers from the right branch.
    TMVector ClosestPoint(const TMVector& P, double& T);
    // Knuckles: runs of k - 1 coincident interior control points of an Open curve (a corner).
    bool KnuckleAllowed(int Index) const;
    void FindKnuckle(int Index, int& First, int& Last, bool& Found) const;
    bool IsKnuckle(int Index) const;
    // Makes (inserts k - 2 copies of the point) or removes a knuckle at a control point.
    void SetKnuckle(int Index, bool On);
    // Same point count, order, knot type, points (within 1e-9) and knots in use.
    bool IsSameAs(TBSpline& Other);

private:
    // DisplaySegments, Tolerance, knot type, knots and parameter limits of Other.
    void CopyKnotSettings(const TBSpline& Other);
    double& U(int I) { return FKnots[static_cast<std::size_t>(I - 1)]; }
    double U(int I) const { return FKnots[static_cast<std::size_t>(I - 1)]; }
    // u[I] for 1 <= I <= MaxKnots, 0 otherwise (a degenerate order may point outside).
    double KnotOrZero(int I) const { return I >= 1 && I <= MaxKnots ? U(I) : 0.0; }
    void KnotsChanged() {
        FSortedKnots = -1;
        FBuiltCount = -1;
    }
    // Length of the non-decreasing run u[1] .. u[s] at the front of the knot vector.
    int SortedKnots() const;
    // ComputeBasis, returning the range of control points (1-based) whose basis may be non-zero.
    void ComputeBasisRange(double T, int& First, int& Last);
    // The point at T from the basis values left by ComputeBasisRange.
    TMVector SumBasis(int First, int Last) const;
    TMVector PointVector(int Index) const { return Point(Index)->Vector(); }
    // FindKnotSpan over the knots as they stand, trying the span of the last call first.
    int SpanOf(double T);
    // Position and derivatives 1 .. Levels (at most 3) at T into Out[0 .. Levels]; zero vectors where
    // Derivatives gives them.
    void DerivativesUpTo(double T, int Levels, TMVector* Out);

    int FOrder;
    bool FForcedBezier = false;
    TKnotArray FKnots{};
    TKnotArray FBasis{};
    mutable int FSortedKnots = -1;  // -1: not yet known since the last change
    // The point count, order and knot type UpdateKnots last built the knots for (-1: the knots have
    // changed since). Building again from the same state gives the same knots, so it is skipped:
    // every derivative evaluation asks for it.
    int FBuiltCount = -1;
    int FBuiltOrder = 0;
    TKnotType FBuiltType = ktOpen;
    // FBasis is zero outside [FBasisFirst, FBasisLast], so each evaluation clears only that window.
    int FBasisFirst = 1;
    int FBasisLast = 0;
    int FSpanHint = -1;
};

// Throws EGeometryError naming the limit when PointCount control points of order Order need more
// than MaxKnots knots.
void CheckKnotLimit(int PointCount, int Order);

// The knot span s (1-based) with u[s] <= T < u[s+1] among the spans Degree + 1 .. N; T = u[N+1]
// gives N. -1 when T lies outside u[Degree+1] .. u[N+1] or is not a number, or when N and Degree
// do not fit the knot array: the search always ends.
int FindKnotSpan(int N, int Degree, const TKnotArray& Knots, double T);

// The Degree + 1 non-zero basis functions of span Span (1-based) at T and their derivatives of order
// 1 .. Count: Result[r][j] belongs to control point Span - Degree - 1 + j (0-based). Orders above the
// degree come out zero. Throws EGeometryError when the span does not fit the knot array.
void BasisFunctionDerivatives(int Span, int Degree, int Count, TBSplineDerivatives& Result,
                              const TKnotArray& Knots, double T);

// The same table written into Ders, (Count + 1) rows of Degree + 1 values, row r at r (Degree + 1).
// Allocates nothing up to degree 15, so evaluations in inner loops can use it. Throws EGeometryError
// when the span does not fit the knot array or Ders is too small.
void BasisFunctionDerivativesInto(int Span, int Degree, int Count, const TKnotArray& Knots, double T,
                                  std::span<double> Ders);

// Basis values of the Cox-de Boor recursion, Values[1 .. N + Order] (index 0 unused).
using TBasisValues = std::array<double, MaxKnots + 2>;
// The N basis functions of order Order at T over Knots as they stand: Values[i] for i = First .. Last
// (1-based, control point i - 1) may be non-zero, every other function is zero (and not written).
// With Sorted (the knots in use are non-decreasing) only the span holding T is computed, which gives
// the values of the full recursion; otherwise the full recursion runs. T at the last knot gives
// N(N) = 1. Nothing is non-zero (First > Last) without points or below order 1. Allocates nothing;
// throws EGeometryError when N + Order exceeds MaxKnots.
void CoxDeBoorBasis(int N, int Order, const TKnotArray& Knots, bool Sorted, double T, TBasisValues& Values,
                    int& First, int& Last);
// Length of the non-decreasing run u[1] .. u[s] at the front of Knots.
int SortedKnotRun(const TKnotArray& Knots);

// "Open", "Periodic", "NonUniform" or "Custom" (any value above NonUniform).
std::string KnotTypeName(TKnotType Type);
// Type becomes the first of "OPEN", "PERIODIC", "NONUNIFORM", "CUSTOM" (tried in that order) found in
// the upper-cased text; false, and Type unchanged, when none is there.
bool KnotTypeFromText(std::string_view Text, TKnotType& Type);

// "[u1 u2 ... uCount]" in the general number format.
std::string KnotArrayText(const TKnotArray& Knots, int Count);
// Reads blank-separated knots from between "[" and "]" into u[1], u[2], ...; "," is accepted as
// decimal separator and knots beyond those given keep their values. Throws EGeometryError
// "<Routine> - <n> knots given, more than the limit of 499", or the number error, and then changes
// nothing. Returns the number of knots read.
int ReadKnotArrayText(std::string_view S, TKnotArray& Knots, const char* Routine);
// Checks a curve or one direction of a surface as read from a file: an order of at least 1 and at
// most the point count and, when knots were given (Given >= 0), exactly Points + Order of them that
// span a range of some length. Throws EGeometryError naming What and the fault.
void CheckReadKnots(const char* What, int Points, int Order, int Given, const TKnotArray& Knots);

// The Degree + 1 non-zero basis functions at T of span Span, here counted from 0 (u[Span+1] <= T <
// u[Span+2]). Result must hold Degree + 1 values. Throws EGeometryError when the span does not fit
// the knot array.
void BasisFunctions(int Span, int Degree, const TKnotArray& Knots, std::span<double> Result, double T);

// Sample parameters of a curve of N points and order Order: Samples values (at least 2) spread
// evenly over the knot intervals (ByKnotInterval) or over the whole knot vector, clamped to
// [MinT, MaxT]. Throws EGeometryError "BSpline.ParameterisationArray - Knot Interval not found" when
// the distinct knots do not cover MinT or MaxT.
TDigitisationParameters ParameterisationArray(int N, int Order, int Samples, bool ByKnotInterval,
                                              const TKnotArray& Knots, double MinT, double MaxT);

// A display segment count for a curve of N points: 4 N from 20 points on, more per point below.
int BSplineSegmentCount(int N);

}  // namespace sarnova
