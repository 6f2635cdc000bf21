#include "surfaces/BSurfaceBuild.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/PolylineResample.h"

namespace sarnova {

namespace {

// A new B-spline surface holding a copy of Mesh as its net (orders 4, Open knots until set).
std::unique_ptr<TBSplineSurface> SurfaceOfNet(const TMesh& Mesh) {
    auto Result = std::make_unique<TBSplineSurface>(4, 4);
    static_cast<TMesh&>(*Result).Assign(Mesh);
    return Result;
}

// Custom limits of one direction that cover its whole knot range.
void WholeRangeU(TBSplineSurface& S) {
    S.MinUParameter = S.KnotU(S.OrderU());
    S.MaxUParameter = S.KnotU(S.NumU() + 1);
}

void WholeRangeV(TBSplineSurface& S) {
    S.MinVParameter = S.KnotV(S.OrderV());
    S.MaxVParameter = S.KnotV(S.NumV() + 1);
}

// The nearest point before (Step -1) or after (Step 1) Index that differs from point Index; the point
// itself when there is none.
TMVector DistinctNeighbour(const TRPoints& Path, int Index, int Step) {
    const TMVector Position = Path.Point(Index)->Vector();
    for (int i = Index + Step; i >= 0 && i < Path.Count(); i += Step) {
        const TMVector P = Path.Point(i)->Vector();
        if (!VectorsEqual(P, Position)) return P;
    }
    return Position;
}

// Brings the polyline with fewer points to the other's count, keeping its knuckles when that gives
// the count exactly, by equal arc length otherwise.
void MatchCount(TPolyline& Fewer, int Count, double KnuckleAngle) {
    MarkKnuckles(Fewer, KnuckleAngle);
    ResampleKeepingKnuckles(Count, Fewer);
    if (Fewer.Count() != Count) ResampleEqualArcLength(Count, Fewer);
}

double EndDistance(const TRPoints& A, bool LastOfA, const TRPoints& B, bool LastOfB) {
    return (LastOfA ? A.Last() : A.First())->Distance(*(LastOfB ? B.Last() : B.First()));
}

// B runs against A when joining crossed ends is shorter than joining like ends.
bool RunsAgainst(const TRPoints& A, const TRPoints& B) {
    return EndDistance(A, false, B, true) + EndDistance(A, true, B, false) <
           EndDistance(A, false, B, false) + EndDistance(A, true, B, true);
}

}  // namespace

// ---- Extrusion ----

std::unique_ptr<TMesh> ExtrudePolyline(const TPolyline& Curve, int Steps, double From, double To) {
    if (Steps <= 0) Steps = 1;
    const TMVector N = Curve.FittedPlane().Normal;
    const int n = Curve.Count();
    auto Result = std::make_unique<TMesh>(n, Steps + 1);
    for (int i = 0; i <= Steps; ++i) {
        const double d = From + (static_cast<double>(i) / Steps) * (To - From);
        for (int j = 0; j < n; ++j)
            Result->Point(j, i).SetVector(VectorAdd(Curve.Point(j)->Vector(), VectorScale(N, d)));
    }
    return Result;
}

std::unique_ptr<TBSplineSurface> ExtrudeBSpline(const TBSpline& Curve, int Steps, double From, double To) {
    auto C = Curve.Clone();
    C->UpdateKnots();
    auto Result = SurfaceOfNet(*ExtrudePolyline(*C, Steps, From, To));
    Result->SetOrderU(C->GetOrder());
    // Orders as the rows: a single step gives two rows of order 2.
    Result->SetOrderV(std::min(std::max(Steps, 1) + 1, 4));
    Result->UpdateKnots();
    Result->KnotType = C->KnotType;
    Result->SetKnotsU(C->Knots());
    Result->MinUParameter = C->MinT();
    Result->MaxUParameter = C->MaxT();
    if (Result->KnotType == ktCustom) WholeRangeV(*Result);
    return Result;
}

// ---- Sweeps ----

TPathFrame PathFrame(const TPolyline& Path, int Index) {
    const TRPoints& Points = Path;
    TPathFrame F;
    F.Position = Points.Point(Index)->Vector();
    const TMVector In = VectorNormalise(VectorFromTo(DistinctNeighbour(Points, Index, -1), F.Position));
    const TMVector Out = VectorNormalise(VectorFromTo(F.Position, DistinctNeighbour(Points, Index, 1)));
    F.Angle = VectorAngle(In, Out);
    F.Axis = VectorCross(In, Out);
    const TMVector Sum = VectorAdd(In, Out);
    F.Tangent = VectorLength(Sum) < 1e-4 ? ZeroVector : VectorNormalise(Sum);
    return F;
}

std::unique_ptr<TMesh> SweepProfile(TPolyline& Profile, const TPolyline& Path, std::uint8_t Flags) {
    const auto Shape = Profile.Digitise();
    const int NU = Shape->Count();
    const int NV = Path.Count();
    const TRPoints& PathPoints = Path;
    const TMMatrix T0 = MatrixTranslationByVector(
        VectorNegate(Flags & eoCentreWithPath ? BoxCentre(Shape->Extents()) : PathPoints.Point(0)->Vector()));
    TMMatrix R1 = IdentityMatrix;
    TMMatrix R2 = IdentityMatrix;
    const TPathFrame F0 = NV > 0 ? PathFrame(Path, 0) : TPathFrame{};
    if (Flags & eoOrientWithPath) {
        R1 = MatrixRotationBetween(Profile.FittedPlane().Normal, ZAxisVector);
        R2 = MatrixRotationBetween(ZAxisVector, F0.Tangent);
    }
    auto Result = std::make_unique<TMesh>(NU, NV);
    for (int i = 0; i < NV; ++i) {
        const TPathFrame F = PathFrame(Path, i);
        const TMMatrix R3 = Flags & eoRotateWithPath ? MatrixRotationBetween(F0.Tangent, F.Tangent) : IdentityMatrix;
        TMMatrix S = IdentityMatrix;
        if (Flags & eoScaleShape) {
            const TMVector w = VectorNormalise(VectorCross(F.Axis, ZAxisVector));
            const double s = std::sin(F.Angle / 2);
            S = MatrixScaling(1 + s * std::fabs(w.X), 1 + s * std::fabs(w.Y), 1 + s * std::fabs(w.Z));
        }
        // The rightmost factor acts first.
        TMMatrix M = MatrixMultiply(S, MatrixMultiply(R1, T0));
        M = MatrixMultiply(MatrixTranslationByVector(F.Position), MatrixMultiply(R3, MatrixMultiply(R2, M)));
        for (int j = 0; j < NU; ++j) Result->Point(j, i).SetVector(MatrixTransformPoint(M, Shape->Point(j)->Vector()));
    }
    return Result;
}

std::unique_ptr<TBSplineSurface> SweepBSpline(TBSpline& Profile, TBSpline& Path, std::uint8_t Flags) {
    Profile.UpdateKnots();
    Path.UpdateKnots();
    auto Result = SurfaceOfNet(*SweepProfile(Profile, Path, Flags));
    Result->SetOrderU(Profile.GetOrder());
    Result->SetOrderV(Path.GetOrder());
    const TKnotType A = Profile.KnotType;
    const TKnotType B = Path.KnotType;
    if (A == ktOpen && B == ktOpen) {
        Result->KnotType = ktOpen;
    } else if (A == ktPeriodic && B == ktPeriodic) {
        Result->KnotType = ktPeriodic;
    } else {
        // The u rows are samples of the profile, not its control points: they get the clamped
        // uniform knots an Open surface would have.
        Result->KnotType = ktOpen;
        Result->UpdateKnotsU();
        Result->SetKnotsV(Path.Knots());
        if (A == ktCustom || B == ktCustom) {
            Result->KnotType = ktCustom;
            WholeRangeU(*Result);
            Result->MinVParameter = Path.MinT();
            Result->MaxVParameter = Path.MaxT();
        } else {
            Result->KnotType = ktNonUniform;
        }
    }
    Result->UpdateKnots();
    return Result;
}

// ---- Ruled surfaces ----

std::unique_ptr<TMesh> RuledMesh(const TPolyline& A, const TPolyline& B, int Count, double KnuckleAngle) {
    if (Count < 2) throw EGeometryError(Format("RuledMesh - %d rows, at least 2 needed", {Count}));
    auto A2 = A.Clone();
    auto B2 = B.Clone();
    if (B2->Count() < A2->Count())
        MatchCount(*B2, A2->Count(), KnuckleAngle);
    else if (A2->Count() < B2->Count())
        MatchCount(*A2, B2->Count(), KnuckleAngle);
    if (A2->Count() > 0 && B2->Count() > 0 && RunsAgainst(*A2, *B2)) B2->Reverse();
    // Only a polyline without length keeps another count.
    const int n = std::min(A2->Count(), B2->Count());
    auto Result = std::make_unique<TMesh>(n, Count);
    for (int j = 0; j < Count; ++j)
        for (int i = 0; i < n; ++i)
            Result->Point(i, j).SetVector(
                VectorLerp(A2->Point(i)->Vector(), B2->Point(i)->Vector(), static_cast<double>(j) / (Count - 1)));
    return Result;
}

void RaiseSplineOrderTo(TBSpline& Curve, int Order) {
    if (Curve.GetOrder() < Order) Curve.Assign(*Curve.RaiseOrder(Order));
}

void MergeKnotVectors(TBSpline& Curve, const TKnotArray& Other) {
    const int m = Curve.KnotCount();
    std::vector<double> Missing;
    int i = 1;
    int j = 1;
    // Other is read no further than its last value, whatever it holds.
    while (i < m && j <= MaxKnots) {
        const double a = Curve.Knot(i);
        const double b = Other[static_cast<std::size_t>(j - 1)];
        if (a == b) {
            ++i;
            ++j;
        } else if (a > b) {
            Missing.push_back(b);
            ++j;
        } else {
            ++i;
        }
    }
    if (!Missing.empty()) Curve.RefineKnots(Missing);
}

std::unique_ptr<TBSplineSurface> RuledSurface(const TBSpline& A, const TBSpline& B) {
    // Without two points a curve has no knot vector to merge; say which one instead of failing on
    // the knots later.
    for (const auto& [Curve, Name] : {std::pair{&A, "first"}, std::pair{&B, "second"}})
        if (Curve->Count() < 2)
            throw EGeometryError(Format("BSurface.RuledSurface - The %s curve has %d control points, at least 2 are needed",
                                        {Name, Curve->Count()}));
    auto A2 = A.Clone();
    auto B2 = B.Clone();
    A2->UpdateKnots();
    B2->UpdateKnots();
    if (A2->Count() > 0 && B2->Count() > 0 && RunsAgainst(*A2, *B2)) B2->Reverse();
    A2->NormaliseKnots();
    B2->NormaliseKnots();
    const int Order = std::max(A2->GetOrder(), B2->GetOrder());
    RaiseSplineOrderTo(*A2, Order);
    RaiseSplineOrderTo(*B2, Order);
    const TKnotArray KnotsOfA = A2->Knots();
    MergeKnotVectors(*A2, B2->Knots());
    MergeKnotVectors(*B2, KnotsOfA);
    if (A2->Count() != B2->Count() || A2->GetOrder() != B2->GetOrder())
        throw EGeometryError("BSurface.RuledSurface - Merging of Knot Vectors failed");
    const int n = A2->Count();
    auto Result = std::make_unique<TBSplineSurface>(n, 2);
    for (int i = 0; i < n; ++i) {
        Result->SetPoint(i, 0, *A2->Point(i));
        Result->SetPoint(i, 1, *B2->Point(i));
    }
    Result->KnotType = A2->KnotType;
    Result->SetOrderU(A2->GetOrder());
    Result->SetKnotsU(A2->Knots());
    Result->SetOrderV(2);
    TKnotArray V{};
    V[2] = V[3] = 1;
    Result->SetKnotsV(V);
    if (Result->KnotType == ktCustom) {
        Result->MinUParameter = 0;
        Result->MaxUParameter = 1;
        Result->MinVParameter = 0;
        Result->MaxVParameter = 1;
    }
    return Result;
}

std::unique_ptr<TBSplineSurface> TBSplineSurface::FillEdgeToCenterline(int Code) {
    const auto E = EdgeCurve(Code);
    const int n = E->Count();
    auto Result = std::make_unique<TBSplineSurface>(n, 2);
    for (int i = 0; i < n; ++i) {
        TRPoint P = *E->Point(i);
        Result->SetPoint(i, 0, P);
        P.Y = 0;
        Result->SetPoint(i, 1, P);
    }
    Result->SetOrderU(E->GetOrder());
    Result->SetOrderV(2);
    Result->UpdateKnots();
    Result->KnotType = E->KnotType;
    Result->SetKnotsU(E->Knots());
    if (Result->KnotType == ktCustom) {
        Result->MinUParameter = E->MinTParameter;
        Result->MaxUParameter = E->MaxTParameter;
        WholeRangeV(*Result);
    }
    return Result;
}

// ---- Corner patches ----

std::unique_ptr<TMesh> CornerPointMesh(const TMVector& P00, const TMVector& P10, const TMVector& P11,
                                       const TMVector& P01) {
    auto Result = std::make_unique<TMesh>(2, 2);
    Result->Point(0, 0).SetVector(P00);
    Result->Point(1, 0).SetVector(P10);
    Result->Point(1, 1).SetVector(P11);
    Result->Point(0, 1).SetVector(P01);
    return Result;
}

std::unique_ptr<TBSplineSurface> CornerPointBSplineSurface(const TMVector& P00, const TMVector& P10,
                                                           const TMVector& P11, const TMVector& P01) {
    auto Result = SurfaceOfNet(*CornerPointMesh(P00, P10, P11, P01));
    Result->SetOrderU(2);
    Result->SetOrderV(2);
    Result->UpdateKnots();
    return Result;
}

}  // namespace sarnova
