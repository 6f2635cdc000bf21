// The tensor-product, non-rational B-spline surface: its control net is the grid of the TMesh it
// derives from; this adds the orders, the knot vectors of the four knot kinds, the parameter ranges,
// point and derivative evaluation, sampling and drawing by knot spans, edge curves and the text
// block. Knot insertion, refinement, subdivision, knuckles (BSurfaceRefine.cpp) and the surface
// built between an edge and the centre plane (BSurfaceBuild.cpp) are members too.
#pragma once
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "foundation/BSpline.h"
#include "surfaces/Surface.h"

namespace sarnova {

// A run of coincident control lines: lines First .. Last, when Found.
struct TKnuckleRun {
    int First = -1;
    int Last = -1;
    bool Found = false;
};

// Knot vectors hold MaxKnots (499) values, so NumU + OrderU and NumV + OrderV may not exceed 499.
// The net may grow past that through the mesh operations (AppendU, InsertU, ...); every operation that
// builds, reads, writes or evaluates the knots then throws EGeometryError naming the limit. Open knots
// are rebuilt from the counts and orders by UpdateKnots; NonUniform and Custom knots are stored data;
// Periodic knots are left as they are and have no parameter range.
class TBSplineSurface : public TMesh {
public:
    TKnotType KnotType = ktOpen;
    // The parameter limits of a Custom surface.
    double MaxUParameter = 0;
    double MaxVParameter = 0;
    double MinUParameter = 0;
    double MinVParameter = 0;

    // A net of ANumU x ANumV default points, orders 4, Open knots, 25 x 25 lines of 50 points.
    explicit TBSplineSurface(int ANumU = 4, int ANumV = 4);

    // NumU and NumV, orders 4, 25 x 25 lines of 50 points and Open knots, at every call; the forced-
    // Bezier flag, stored parameters, knots and points stay.
    void SetSize(int ANumU, int ANumV) override;

    int OrderU() const { return FOrderU; }
    int OrderV() const { return FOrderV; }
    // Clear ForcedBezier, then set the order. Throw EGeometryError for a negative order or one whose
    // knots would not fit the knot array with the present point count.
    void SetOrderU(int K);
    void SetOrderV(int K);
    bool GetForcedBezier() const { return FForcedBezier; }
    // True makes each order the point count of its direction (one Bezier patch); false only clears
    // the flag.
    void SetForcedBezier(bool B);

    // "Open", "Periodic", "NonUniform" or "Custom".
    std::string KnotTypeString() const;
    // The first of "OPEN", "PERIODIC", "NONUNIFORM", "CUSTOM" found in the upper-cased text; none
    // throws EGeometryError "TBSplineSurface.KnotTypeByString - Unknown knotType".
    void KnotTypeByString(std::string_view Text);

    // Knot I (1 .. 499) of each direction; other indices throw EGeometryError naming the limit.
    double KnotU(int I) const;
    double KnotV(int I) const;
    void SetKnotU(int I, double Value);
    void SetKnotV(int I, double Value);
    const TKnotArray& KnotsU() const { return FKnotsU; }
    const TKnotArray& KnotsV() const { return FKnotsV; }
    void SetKnotsU(const TKnotArray& Knots);
    void SetKnotsV(const TKnotArray& Knots);

    // Open: clamped uniform knots with integer steps (ForcedBezier first makes each order its point
    // count); NonUniform and Custom: the stored knots made non-decreasing away from knot k; Periodic:
    // untouched.
    void UpdateKnotsU();
    void UpdateKnotsV();
    void UpdateKnots();

    // The parameter range from the knots as they stand: knot k to knot n + 1, narrowed to the stored
    // limits for Custom. A Periodic surface throws EGeometryError "Undefinied Parameter range for
    // BSpline Surface".
    double MinU() const override;
    double MaxU() const override;
    double MinV() const override;
    double MaxV() const override;
    double URange() const { return MaxU() - MinU(); }
    double VRange() const { return MaxV() - MinV(); }

    // The surface point from the knots as they stand (callers run UpdateKnots after changing sizes,
    // orders, knot type or knots). Allocates nothing; the zero vector where no basis function is
    // non-zero.
    TMVector Evaluate(double U, double V) const override;
    // UpdateKnots, then position and derivatives from the knot spans holding (U, V); all zero outside
    // the parameter range or when a direction has fewer points than its order.
    TSurfaceDerivatives EvaluateDerivatives(double U, double V) override;
    // The same S, Su and Sv, bit for bit, without the second derivatives.
    TSurfaceFirstDerivatives EvaluateFirstDerivatives(double U, double V) override;
    void SampleCounts(TSamplingPurpose Purpose, int SurfaceCount, int& NU, int& NV) const override;
    // UpdateKnots, then max(NU, 2) values from MinU to MaxU spread evenly over the knot spans, and
    // likewise in v.
    void SampleParameters(int NU, int NV, TDigitisationParameters& UParams,
                          TDigitisationParameters& VParams) override;
    // A max(NU, 2) x max(NV, 2) mesh of surface points at the SampleParameters grid. The basis values
    // are computed once per parameter value, so the cost is linear in the samples.
    std::unique_ptr<TMesh> CreateMeshSized(int NU, int NV) override;
    // NumULine lines of constant u and NumVLine of constant v (spread over the knot spans), each of
    // LinePointCount points; nothing while a direction has fewer points than its order.
    void Draw(IGraphics& G) override;
    // Every row and column of the control net.
    void DrawControlNet(IGraphics& G) override;
    // One such line at MinU + URange Fraction (Direction 0) or MinV + VRange Fraction (1); other
    // directions draw nothing.
    void DrawIsoLine(int Direction, double Fraction, IGraphics& G);
    // Lines at the positions SampleCounts gives, spread over the knot spans; nothing unless both
    // directions have at least two points and as many as their order.
    void AddParameterLines(TPolylineList& List, TSamplingPurpose Purpose, int SurfaceCount) override;

    // A new curve of one boundary row of control points with that direction's order, knot type,
    // knots and range limits: 0 points (0, j), 1 (i, 0), 3 (i, NumV - 1), any other (NumU - 1, j).
    std::unique_ptr<TBSpline> EdgeCurve(int Code);

    using TMesh::Assign;
    // The net, both orders, both knot arrays and the knot type of Other, its effective parameter
    // range as the stored limits; ForcedBezier is not copied. A Periodic Other throws (it has no
    // range) before anything changes.
    void Assign(const TBSplineSurface& Other);
    // A new surface of transformed control points with this surface's orders, knots, knot type and
    // stored limits.
    std::unique_ptr<TBSplineSurface> CreateTransformed(const TMMatrix& M) const;

    // The net reversed; stored (NonUniform, Custom) knots mirrored so the surface is traced back.
    void ReverseU() override;
    void ReverseV() override;
    // The net transposed, the orders exchanged and, for stored knots, the knots and limits too.
    void SwapUV() override;

    // For a knot type other than Open "KnotType=", "KnotU=[...]", "KnotV=[...]" and the effective
    // "MinUParameter=", "MinVParameter=", "MaxUParameter=", "MaxVParameter=" (for a Periodic surface
    // knot k to knot n + 1 of each direction); "ForcedBezier" when set; "OrderU=", "OrderV="; then the
    // mesh block.
    void SaveToText(TTextWriter& F) const override;
    // Reads that block by line order. Knots and limits keep full double precision. Throws
    // EGeometryError "Error in field BSplineSurface.<field>" for a bad limit or order, and naming the
    // limit for more than 499 knots in a line or a net too large for its order.
    void LoadFromText(TTextReader& F) override;

    // ---- Refinement and knuckles (BSurfaceRefine.cpp) ----
    // These leave the surface's shape unchanged, except the knuckles. The results of insertion and
    // refinement are NonUniform (a Custom surface stays Custom with its limits), ForcedBezier off.

    // Inserts knot T once. Nothing when T lies at or outside the first or last knot; a T outside
    // [knot k, knot n + 1) throws EGeometryError "TBSplineSurface.InsertKnotU - Unable to insert Knot,
    // Index outside of range was accessed" ("InsertKnotV" across v) and changes nothing.
    void InsertKnotU(double T);
    void InsertKnotV(double T);
    // Inserts all values of X in one pass (in ascending order). A value outside the parameter range
    // throws EGeometryError and changes nothing; an empty X changes nothing.
    void RefineKnotsU(std::span<const double> X);
    void RefineKnotsV(std::span<const double> X);
    // A new surface with a knot in the middle of every non-empty span of Direction (0 u, 1 v): an
    // Open surface gives an Open one (its parameter doubled), others keep their knot values. nullptr
    // for another direction or when that direction has fewer points than its order.
    std::unique_ptr<TBSplineSurface> SubDivide(int Direction);

    // Open knots and 1 <= I < NumU - 1 (J < NumV - 1).
    bool CanKnuckleU(int I) const;
    bool CanKnuckleV(int J) const;
    // Open knots and a knuckle (order - 1 coincident control lines) near the index.
    bool IsKnuckleU(int I);
    bool IsKnuckleV(int J);
    // The run of order - 1 coincident control lines of Direction (0 u, 1 v) near Index.
    TKnuckleRun FindKnuckle(int Direction, int Index);
    // Makes a knuckle at line I (order - 2 copies of it inserted after it) where CanKnuckleU allows,
    // or removes the knuckle found there. Nothing unless the knot type is Open.
    void SetKnuckleU(int I, bool On);
    void SetKnuckleV(int J, bool On);

    // ---- Built surfaces (BSurfaceBuild.cpp) ----

    // A new surface between the boundary EdgeCurve(Code) (row 0) and its copy with y = 0 (row 1):
    // the edge's order, knot type and knots in u, order 2 in v.
    std::unique_ptr<TBSplineSurface> FillEdgeToCenterline(int Code);

protected:
    void CheckLoadedSize(int ANumU, int ANumV) const override;

private:
    // The point count, order and knot type a knot vector was last built for by UpdateKnotsU or
    // UpdateKnotsV. Building again from the same state gives the same knots, so it is skipped: every
    // derivative evaluation asks for it. Any change of the knots clears it.
    struct TBuiltKnots {
        int Points = -1;
        int Order = 0;
        TKnotType Type = ktOpen;
        bool operator==(const TBuiltKnots&) const = default;
    };
    void KnotsChanged() {
        FSortedU = -1;
        FSortedV = -1;
        FBuiltU = {};
        FBuiltV = {};
    }
    // UpdateKnots, then the spans of (U, V) and the basis functions of both directions with their
    // derivatives up to Count (1 or 2), rows of OrderU and OrderV values; false, with nothing
    // written, outside the parameter range or when a direction has fewer points than its order.
    bool DerivativeBases(double U, double V, int Count, int& SpanU, int& SpanV, std::span<double> Du,
                         std::span<double> Dv);
    // Throws EGeometryError naming the limit when the knots of either direction do not fit.
    void CheckKnotLimits() const;
    // The evaluable state: both directions with at least two points and as many as their order.
    bool CanEvaluate() const;
    // Knots in use are non-decreasing (cached until the knots change).
    bool SortedU() const;
    bool SortedV() const;
    // Sum of Nu[i - FirstU] Nv[j - FirstV] P(i - 1, j - 1) over the positive basis values.
    TMVector SumNet(const double* Nu, int FirstU, int LastU, const double* Nv, int FirstV, int LastV) const;
    // Points S(u, v) for fixed u over Vs (Direction 0) or fixed v over Us (Direction 1) as one line
    // strip.
    void DrawLine(IGraphics& G, int Direction, double At, const TDigitisationParameters& Along);

    int FOrderU = 4;
    int FOrderV = 4;
    bool FForcedBezier = false;
    TKnotArray FKnotsU{};
    TKnotArray FKnotsV{};
    mutable int FSortedU = -1;  // -1 unknown, 0 no, 1 yes
    mutable int FSortedV = -1;
    TBuiltKnots FBuiltU;
    TBuiltKnots FBuiltV;
};

// A new copy of S (net, orders, knots, knot type, effective range as limits).
std::unique_ptr<TBSplineSurface> CloneBSplineSurface(const TBSplineSurface& S);

}  // namespace sarnova
