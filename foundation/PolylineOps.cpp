#include "foundation/PolylineOps.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>
#include <vector>

#include "foundation/Graphics.h"
#include "foundation/VkMathsIntersect.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

namespace {

// A point of a cut may be thinned away when it lies off the kept line by less than this many times the
// largest bend of the cut between the kept points: about every other point of an evenly curved stretch.
constexpr double BendAllowance = 2;
// Points of a cut within this of the kept line go whatever the bends: a straight run's bends are
// rounding.
constexpr double LeastCutAllowance = 1e-7;

TMVector Cross(const TMVector& A, const TMVector& B) { return VectorCross(B, A); }  // A x B

bool SameXYZ(const TRPoint& A, const TRPoint& B) { return A.X == B.X && A.Y == B.Y && A.Z == B.Z; }

// The fraction of segment AB at the foot of P, clamped to [0, 1]. A segment of no length answers
// its nearer end (B on a tie).
double SegmentFraction(const TMVector& P, const TMVector& A, const TMVector& B) {
    const TMVector D = VectorFromTo(A, B);
    const double DD = VectorDot(D, D);
    double F;
    if (std::fabs(DD) >= NearZero)
        F = (VectorDot(P, D) - VectorDot(A, D)) / DD;
    else
        F = VectorDistance(P, A) < VectorDistance(P, B) ? 0 : 1;
    if (std::isnan(F)) return 0;
    return std::clamp(F, 0.0, 1.0);
}

struct TNearestSegment {
    int Segment = -1;  // I of the segment (P[I - 1], P[I]); -1 when there is none
    double F = 0;
};

// The segment of the N points given by At that comes nearest to P; the first of equals wins.
template <typename TAt>
TNearestSegment NearestSegment(const TMVector& P, int N, TAt At) {
    TNearestSegment Best;
    double BestDistance = HugeValue;
    for (int I = 1; I < N; ++I) {
        const TMVector A = At(I - 1);
        const TMVector B = At(I);
        const double F = SegmentFraction(P, A, B);
        const double Distance = VectorDistance(P, VectorLerp(A, B, F));
        if (Distance < BestDistance) {
            BestDistance = Distance;
            Best = {I, F};
        }
    }
    return Best;
}

// Where a new point goes for the nearest segment I at fraction F: before the first point near the
// start of the first segment, after the last near the end of the last, else between the two ends.
int InsertIndex(const TNearestSegment& S, int N) {
    if (S.Segment < 0) return -1;
    if (S.Segment == 1 && S.F < 0.25) return 0;
    if (S.Segment == N - 1 && S.F > 0.75) return S.Segment + 1;
    return S.Segment;
}

// The screen positions of every point, as (x, y, 0).
std::vector<TMVector> ScreenPositions(const TPolyline& L, IGraphics& G) {
    std::vector<TMVector> Result;
    Result.reserve(static_cast<std::size_t>(L.Count()));
    for (int I = 0; I < L.Count(); ++I) {
        const TPoint S = G.WorldToScreenPoint(*L.Point(I));
        Result.push_back({static_cast<double>(S.X), static_cast<double>(S.Y), 0});
    }
    return Result;
}

// Takes Source's points as Target's own. Target keeps its flags and colours: the operations that
// rebuild a polyline change its points, not how it is drawn.
void TakePoints(TPolyline& Target, TPolyline& Source) {
    Source.OwnColors = Target.OwnColors;
    Source.Filled = Target.Filled;
    Source.FillColor = Target.FillColor;
    Source.LineColor = Target.LineColor;
    Target.Assign(Source);
}

// Copies of points Start .. Count - 1, then 0 .. Start - 1 (0 .. Start with RepeatStart).
std::unique_ptr<TPolyline> Restarted(const TPolyline& L, int Start, bool RepeatStart) {
    auto R = std::make_unique<TPolyline>();
    for (int I = Start; I < L.Count(); ++I) R->AddPointCopy(L.Point(I));
    for (int I = 0; I < Start + (RepeatStart ? 1 : 0); ++I) R->AddPointCopy(L.Point(I));
    return R;
}

// Distance between two boxes; 0 when they overlap or touch.
double BoxDistance(const TMBox& A, const TMBox& B) {
    const auto Gap = [](double MinA, double MaxA, double MinB, double MaxB) {
        return std::max({0.0, MinA - MaxB, MinB - MaxA});
    };
    const double X = Gap(A.Min.X, A.Max.X, B.Min.X, B.Max.X);
    const double Y = Gap(A.Min.Y, A.Max.Y, B.Min.Y, B.Max.Y);
    const double Z = Gap(A.Min.Z, A.Max.Z, B.Min.Z, B.Max.Z);
    return std::sqrt(X * X + Y * Y + Z * Z);
}

TMBox SegmentBox(const TMVector& A, const TMVector& B) {
    return {{std::max(A.X, B.X), std::max(A.Y, B.Y), std::max(A.Z, B.Z)},
            {std::min(A.X, B.X), std::min(A.Y, B.Y), std::min(A.Z, B.Z)}};
}

// Cuts a coordinate to 3 decimals towards zero after rounding it to single precision. Values that
// single precision cannot hold stay as they are; a negative zero becomes zero.
double CutToMillis(double V) {
    const double S = V * 1000;
    if (!(std::fabs(S) < 1e30)) return V;
    return std::trunc(static_cast<double>(static_cast<float>(S))) / 1000 + 0.0;
}

}  // namespace

// ---- Insertion and nearest points ----

void TPolyline::FindInsertPosition(const TRPoint& P, int& Index, double& F) const {
    const TNearestSegment S = NearestSegment(P.Vector(), Count(), [this](int I) { return Point(I)->Vector(); });
    Index = InsertIndex(S, Count());
    F = S.F;
}

void TPolyline::InsertNearest(const TRPoint& P) {
    int Index;
    double F;
    FindInsertPosition(P, Index, F);
    if (Index >= 0) Insert(Index, P.Clone());
}

void TPolyline::InsertScreenPoint(const TPoint& Pixel, IGraphics& G) {
    const int N = Count();
    const std::vector<TMVector> Screen = ScreenPositions(*this, G);
    const TMVector Pick{static_cast<double>(Pixel.X), static_cast<double>(Pixel.Y), 0};
    const int Index = InsertIndex(NearestSegment(Pick, N, [&Screen](int I) { return Screen[I]; }), N);
    if (Index < 0) return;
    // The depth comes from the segment the point goes into: (P[Index - 1], P[Index]), the first
    // segment before the start and the last one after the end.
    const int Segment = std::clamp(Index, 1, N - 1);
    const TMSegment Depth{Point(Segment - 1)->Vector(), Point(Segment)->Vector()};
    InsertVector(Index, PointOnLineClosestToSegment(G.ScreenToRayPoint(Pixel), Depth));
}

std::unique_ptr<TRPoint> PolylineNearestScreenPoint(const TPoint& Pixel, const TPolyline& Polyline, IGraphics& G) {
    auto Result = std::make_unique<TRPoint>();
    if (Polyline.Count() < 2) return Result;
    const std::vector<TMVector> Screen = ScreenPositions(Polyline, G);
    const TMVector Pick{static_cast<double>(Pixel.X), static_cast<double>(Pixel.Y), 0};
    const TNearestSegment S = NearestSegment(Pick, Polyline.Count(), [&Screen](int I) { return Screen[I]; });
    if (S.Segment < 0) return Result;
    const TRPoint& A = *Polyline.Point(S.Segment - 1);
    const TRPoint& B = *Polyline.Point(S.Segment);
    const auto Lerp = [F = S.F](double U, double V) { return U + F * (V - U); };
    Result->SetXYZ(Lerp(A.X, B.X), Lerp(A.Y, B.Y), Lerp(A.Z, B.Z));
    Result->W = Lerp(A.W, B.W);
    Result->T = Lerp(A.T, B.T);
    Result->Tag = A.Tag;
    return Result;
}

std::unique_ptr<TRPoint> PolylineNearestPoint(const TMVector& V, const TPolyline& Polyline) {
    const int N = Polyline.Count();
    if (N == 0) return std::make_unique<TRPoint>();
    if (N == 1) {
        auto Single = Polyline.Point(0)->Clone();
        Single->T = 0;
        return Single;
    }
    // The same search as NearestSegment, keeping the arc length up to the winning segment.
    int Best = 0;
    double BestF = 0, BestDistance = HugeValue, BestStart = 0, Arc = 0;
    for (int I = 1; I < N; ++I) {
        const TMVector A = Polyline.Point(I - 1)->Vector();
        const TMVector B = Polyline.Point(I)->Vector();
        const double F = SegmentFraction(V, A, B);
        const double Distance = VectorDistance(V, VectorLerp(A, B, F));
        if (Distance < BestDistance) {
            BestDistance = Distance;
            Best = I;
            BestF = F;
            BestStart = Arc;
        }
        Arc += VectorDistance(A, B);
    }
    auto Result = std::make_unique<TRPoint>();
    if (Best == 0) return Result;  // every distance was NaN
    const TRPoint& A = *Polyline.Point(Best - 1);
    const TRPoint& B = *Polyline.Point(Best);
    Result->SetVector(VectorLerp(A.Vector(), B.Vector(), BestF));
    Result->W = A.W + BestF * (B.W - A.W);
    Result->Tag = A.Tag;
    Result->T = BestStart + BestF * A.Distance(B);
    return Result;
}

int PolylineNearestPointIndex(const TRPoint& P, const TPolyline& Polyline) {
    int Result = 0;
    double Best = 1e33;
    for (int I = 0; I < Polyline.Count(); ++I) {
        const double D = P.Distance(*Polyline.Point(I));
        if (D < Best) {
            Best = D;
            Result = I;
        }
    }
    return Result;
}

// ---- Tidying, restarting and mirroring ----

bool PolylinePointsCollinear(int I, int J, const TPolyline& Polyline) {
    if (J - I < 2) return false;
    const TRPoint& A = *Polyline.Point(I);
    const TRPoint& B = *Polyline.Point(J);
    if (A.IsEqual(B)) {
        for (int K = I + 1; K < J; ++K)
            if (!Polyline.Point(K)->IsEqual(A)) return false;
        return true;
    }
    const TMLine Line = LineThroughPoints(A.Vector(), B.Vector());
    for (int K = I + 1; K < J; ++K)
        if (DistanceFromPointToLine(Polyline.Point(K)->Vector(), Line) > DefaultTolerance) return false;
    return true;
}

int TPolyline::RemoveDuplicatePoints() {
    const int N = Count();
    if (N < 2) return N - 1;
    // One pass: survivors move to the front (the points themselves, not copies), the rest is freed
    // from the end. Comparing with the last survivor is what removing one point at a time and
    // looking again would find.
    int Kept = 1;
    for (int I = 1; I < N; ++I) {
        if (SameXYZ(*TRPoints::Point(I), *TRPoints::Point(Kept - 1))) continue;
        if (I != Kept) Exchange(I, Kept);
        ++Kept;
    }
    while (Count() > Kept) Delete(Count() - 1);
    return Count();
}

void TPolyline::RemoveCollinearPoints() { ThinCollinear(false); }

void TPolyline::RemoveCutCollinearPoints() { ThinCollinear(true); }

void TPolyline::ThinCollinear(bool WithinBend) {
    const int N = Count();
    if (N < 3) return;
    auto At = [this](int I) { return TRPoints::Point(I)->Vector(); };
    auto Distance = [](const TMVector& P, const TMVector& A, const TMVector& B) {
        if (!(VectorLength(VectorFromTo(A, B)) > 0)) return VectorDistance(P, A);
        return DistanceFromPointToLine(P, LineThroughPoints(A, B));
    };
    // A point's bend: its distance from the line through its two neighbours.
    std::vector<double> Bend;
    if (WithinBend) {
        Bend.assign(static_cast<std::size_t>(N), 0.0);
        for (int K = 1; K < N - 1; ++K) Bend[static_cast<std::size_t>(K)] = Distance(At(K), At(K - 1), At(K + 1));
    }
    // Every point between A and B, as the polyline first had it, lies within the allowance of the line
    // through A and B. Measuring against the first points, not against what is left, keeps the
    // thinned line within the allowance of the original everywhere: deviations cannot add up.
    auto Spans = [&](int A, int B) {
        const TMVector PA = At(A), PB = At(B);
        if (!(VectorLength(VectorFromTo(PA, PB)) > 0)) return false;
        double Allowed = DefaultTolerance;
        if (WithinBend) {
            double Largest = 0;
            for (int K = A + 1; K < B; ++K)
                if (Bend[static_cast<std::size_t>(K)] > Largest) Largest = Bend[static_cast<std::size_t>(K)];
            Allowed = std::clamp(BendAllowance * Largest, LeastCutAllowance, DefaultTolerance);
        }
        const TMLine Line = LineThroughPoints(PA, PB);
        for (int K = A + 1; K < B; ++K)
            if (!(DistanceFromPointToLine(At(K), Line) < Allowed)) return false;
        return true;
    };
    // From each kept point, the next one kept is the farthest that a doubling search and then a
    // bisection find spanning: a run of k points costs about k log k tests, never k squared.
    std::vector<int> Kept{0};
    for (int A = 0; A < N - 1;) {
        int Good = A + 1;
        int Bad = N;
        for (int Step = 1; A + 1 + Step < N; Step *= 2) {
            if (!Spans(A, A + 1 + Step)) {
                Bad = A + 1 + Step;
                break;
            }
            Good = A + 1 + Step;
        }
        while (Bad - Good > 1) {
            const int Mid = Good + (Bad - Good) / 2;
            (Spans(A, Mid) ? Good : Bad) = Mid;
        }
        Kept.push_back(Good);
        A = Good;
    }
    // The survivors move to the front in order (the points themselves), the rest is freed.
    for (int I = 0; I < static_cast<int>(Kept.size()); ++I)
        if (Kept[static_cast<std::size_t>(I)] != I) Exchange(I, Kept[static_cast<std::size_t>(I)]);
    while (Count() > static_cast<int>(Kept.size())) Delete(Count() - 1);
}

void TPolyline::RoundCoordinates() {
    for (int I = 0; I < Count(); ++I) {
        TRPoint& P = *TRPoints::Point(I);
        P.SetXYZ(CutToMillis(P.X), CutToMillis(P.Y), CutToMillis(P.Z));
    }
}

void TPolyline::RotateToHalf() {
    const int H = Count() / 2;
    if (H < 1) ThrowIndexError(H - 1);
    auto R = Restarted(*this, H - 1, true);
    TakePoints(*this, *R);
}

void TPolyline::RotateToQuarter() {
    const int Q = Count() / 4;
    if (Q < 1) ThrowIndexError(Q - 1);
    auto R = Restarted(*this, Q - 1, true);
    TakePoints(*this, *R);
}

void TPolyline::RotateStart(int I) {
    if (I < 0 || I > Count()) ThrowIndexError(I);
    const bool Closed = IsClosed();
    auto R = Restarted(*this, I, false);
    if (Closed) R->SetClosed(true);
    R->RemoveDuplicatePoints();
    TakePoints(*this, *R);
}

std::unique_ptr<TPolyline> TPolyline::MirroredFullSection() const {
    auto R = std::make_unique<TPolyline>();
    for (int I = Count() - 1; I >= 1; --I) R->AddPointCopy(Point(I));
    for (int I = 0; I < Count(); ++I) {
        const TRPoint& P = *Point(I);
        R->AddPoint(P.X, -P.Y, P.Z);
    }
    return R;
}

int TPolyline::OrientSection() {
    RemoveDuplicatePoints();
    const int N = Count();
    // One point has no direction and no other start.
    if (N < 2) return N;
    const auto Z = [this](int I) { return TRPoints::Point(I)->Z; };
    const bool Closed = IsClosed();
    if (!Closed) {
        if (Z(0) > Z(N - 1) || Z(N - 2) + Z(N - 1) < Z(1) + Z(0)) Reverse();
    } else if (N > 3 && Z(1) > Z(N - 2)) {
        Reverse();
    }

    const TMBox Box = Extents();
    const int S = Sign((Box.Max.Y + Box.Min.Y) / 2);
    int Start = 0;
    double Least = 1e33;
    for (int I = 0; I < N; ++I) {
        TRPoint& P = *TRPoints::Point(I);
        P.W = S == -1 ? P.Z - P.Y : P.Y + P.Z;
        if (P.W < Least) {
            Least = P.W;
            Start = I;
        }
    }
    auto R = Restarted(*this, Start, false);
    R->SetClosed(Closed);
    R->RemoveDuplicatePoints();
    TakePoints(*this, *R);
    return Count();
}

// ---- Joining ----

std::unique_ptr<TPolyline> TPolyline::JoinAtNearestEnds(const TPolyline& Other) const {
    const TPolyline& A = *this;
    const TPolyline& B = Other;
    if (A.Count() == 0 || B.Count() == 0) return nullptr;
    const double D[4] = {A.First()->Distance(*B.First()), A.Last()->Distance(*B.First()),
                         A.First()->Distance(*B.Last()), A.Last()->Distance(*B.Last())};
    int Case = -1;
    double Best = 1e33;
    for (int I = 0; I < 4; ++I)
        if (D[I] < Best) {
            Best = D[I];
            Case = I;
        }
    if (Case < 0) return nullptr;
    // A shared end point is written once: the second polyline leaves out its joining end.
    const int Skip = Best == 0 ? 1 : 0;
    auto R = std::make_unique<TPolyline>();
    const auto Forward = [&R](const TPolyline& L, int From) {
        for (int I = From; I < L.Count(); ++I) R->AddPointCopy(L.Point(I));
    };
    const auto Backward = [&R](const TPolyline& L, int From) {
        for (int I = L.Count() - 1 - From; I >= 0; --I) R->AddPointCopy(L.Point(I));
    };
    switch (Case) {
        case 0:
            Backward(A, 0);
            Forward(B, Skip);
            break;
        case 1:
            Forward(A, 0);
            Forward(B, Skip);
            break;
        case 2:
            Forward(B, 0);
            Forward(A, Skip);
            break;
        default:
            Forward(A, 0);
            Backward(B, Skip);
            R->Reverse();
            break;
    }
    return R;
}

std::unique_ptr<TPolyline> TPolyline::MergeLoop(const TPolyline& Other) const {
    auto R = std::make_unique<TPolyline>();
    // Without a segment on each side there is no bridge: both point lists one after the other.
    const auto Unbridged = [&]() {
        R->AddCopies(*this);
        R->AddCopies(Other);
        R->RemoveDuplicatePoints();
        return std::move(R);
    };
    if (Count() < 2 || Other.Count() < 2) return Unbridged();
    const auto Gap = [](const TPolyline& L) { return L.First()->Distance(*L.Last()); };
    const bool ThisIsLoop = Gap(Other) >= Gap(*this);
    const TPolyline& Loop = ThisIsLoop ? *this : Other;
    const TPolyline& Host = ThisIsLoop ? Other : *this;

    std::vector<TMBox> LoopBoxes;
    for (int J = 1; J < Loop.Count(); ++J)
        LoopBoxes.push_back(SegmentBox(Loop.Point(J - 1)->Vector(), Loop.Point(J)->Vector()));
    int BestI = 0, BestJ = 0;
    double Best = HugeValue;
    TMVector Hp, Lp;
    for (int I = 1; I < Host.Count(); ++I) {
        const TMVector A = Host.Point(I - 1)->Vector();
        const TMLine HostSegment{A, VectorFromTo(A, Host.Point(I)->Vector())};
        const TMBox HostBox = SegmentBox(A, Host.Point(I)->Vector());
        for (int J = 1; J < Loop.Count(); ++J) {
            // The boxes' distance bounds the segments' from below: a pair whose boxes lie further
            // apart than the best so far cannot win.
            if (BoxDistance(HostBox, LoopBoxes[J - 1]) > Best * (1 + 1e-9)) continue;
            const TMVector C = Loop.Point(J - 1)->Vector();
            const TMClosestApproach K =
                ClosestApproachOfSegments(HostSegment, {C, VectorFromTo(C, Loop.Point(J)->Vector())});
            const double D = VectorDistance(K.PA, K.PB);
            if (D < Best) {
                Best = D;
                BestI = I;
                BestJ = J;
                Hp = K.PA;
                Lp = K.PB;
            }
        }
    }
    if (BestI == 0) return Unbridged();  // no distance could be measured (NaN coordinates)

    auto Ring = Restarted(Loop, BestJ, false);
    TMVector Turn = ZeroVector;
    for (int K = 1; K + 1 < Ring->Count(); ++K) {
        const TMVector P0 = Ring->Point(K - 1)->Vector();
        const TMVector P1 = Ring->Point(K)->Vector();
        const TMVector P2 = Ring->Point(K + 1)->Vector();
        Turn = VectorAdd(Turn, Cross(VectorNormalise(VectorFromTo(P0, P1)), VectorNormalise(VectorFromTo(P1, P2))));
    }
    const TMVector N1 = VectorNormalise(Turn);
    const TMVector HostDirection = VectorFromTo(Host.Point(BestI - 1)->Vector(), Host.Point(BestI)->Vector());
    const TMVector N2 =
        VectorNormalise(Cross(VectorNormalise(VectorFromTo(Hp, Lp)), VectorNormalise(HostDirection)));
    if (VectorLength(VectorAdd(N1, N2)) < std::sqrt(2.0)) Ring->Reverse();

    for (int I = 0; I < BestI; ++I) R->AddPointCopy(Host.Point(I));
    R->AddVector(Hp);
    R->AddVector(Lp);
    R->AddCopies(*Ring);
    R->AddVector(Lp);
    R->AddVector(Hp);
    for (int I = BestI; I < Host.Count(); ++I) R->AddPointCopy(Host.Point(I));
    R->RemoveDuplicatePoints();
    return R;
}

// ---- Crossings ----

namespace {

// The permutation that makes the chosen principal plane x-y: 1 y-z, 2 x-z, anything else x-y.
TMMatrix PlanePermutation(int PlaneCode) {
    if (PlaneCode == 1) return {{{0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}}};
    if (PlaneCode == 2) return {{{1, 0, 0, 0}, {0, 0, 1, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}}};
    return IdentityMatrix;
}

struct TSegmentBox2D {
    double MinX, MaxX, MinY, MaxY;
    int Index;  // I of the segment (P[I - 1], P[I])
    int Curve;  // 0 or 1
};

struct TCrossing {
    int I, J;
    std::unique_ptr<TRPoint> Point;
};

void AddSegmentBoxes(const TPolyline& L, int Curve, std::vector<TSegmentBox2D>& Boxes) {
    for (int I = 1; I < L.Count(); ++I) {
        const TRPoint& A = *L.Point(I - 1);
        const TRPoint& B = *L.Point(I);
        const TSegmentBox2D S{std::min(A.X, B.X), std::max(A.X, B.X), std::min(A.Y, B.Y), std::max(A.Y, B.Y), I,
                              Curve};
        // A box with a NaN overlaps nothing; leaving it out also keeps the sort below well defined.
        if (std::isnan(S.MinX) || std::isnan(S.MaxX) || std::isnan(S.MinY) || std::isnan(S.MaxY)) continue;
        Boxes.push_back(S);
    }
}

// Every crossing of a segment of P with a segment of Q in x-y, in the order of (segment of P,
// segment of Q). Only pairs whose boxes overlap (touching counts) are tried: a sweep along x keeps,
// for each curve, the segments whose x range still reaches the current one.
std::vector<TCrossing> SegmentCrossings(const TPolyline& P, const TPolyline& Q) {
    std::vector<TSegmentBox2D> Boxes;
    AddSegmentBoxes(P, 0, Boxes);
    AddSegmentBoxes(Q, 1, Boxes);
    std::sort(Boxes.begin(), Boxes.end(),
              [](const TSegmentBox2D& A, const TSegmentBox2D& B) { return A.MinX < B.MinX; });
    std::vector<TCrossing> Result;
    std::vector<const TSegmentBox2D*> Active[2];
    for (const TSegmentBox2D& S : Boxes) {
        auto& Others = Active[1 - S.Curve];
        std::erase_if(Others, [&S](const TSegmentBox2D* O) { return O->MaxX < S.MinX; });
        for (const TSegmentBox2D* O : Others) {
            if (O->MinY > S.MaxY || S.MinY > O->MaxY) continue;
            const TSegmentBox2D& SP = S.Curve == 0 ? S : *O;
            const TSegmentBox2D& SQ = S.Curve == 0 ? *O : S;
            auto X = IntersectLinesXY(*P.Point(SP.Index - 1), *P.Point(SP.Index), *Q.Point(SQ.Index - 1),
                                      *Q.Point(SQ.Index));
            constexpr double Slack = 1e-5;
            const bool InX = X->X >= std::max(SP.MinX, SQ.MinX) - Slack && X->X <= std::min(SP.MaxX, SQ.MaxX) + Slack;
            const bool InY = X->Y >= std::max(SP.MinY, SQ.MinY) - Slack && X->Y <= std::min(SP.MaxY, SQ.MaxY) + Slack;
            if (InX && InY) Result.push_back({SP.Index, SQ.Index, std::move(X)});
        }
        Active[S.Curve].push_back(&S);
    }
    std::sort(Result.begin(), Result.end(),
              [](const TCrossing& A, const TCrossing& B) { return A.I != B.I ? A.I < B.I : A.J < B.J; });
    return Result;
}

}  // namespace

std::unique_ptr<TPolyline> CurveCurveIntersections(TPolyline& C1, TPolyline& C2, int PlaneCode) {
    const TMMatrix M = PlanePermutation(PlaneCode);
    const auto P = C1.Digitise()->Transformed(M);
    const auto Q = C2.Digitise()->Transformed(M);
    auto R = std::make_unique<TPolyline>();
    if (P->Count() == 1 || Q->Count() == 1) {
        TPolyline& Single = P->Count() == 1 ? *P : *Q;
        TPolyline& Probed = P->Count() == 1 ? *Q : *P;
        const TRPoint& Point = *Single.First();
        const auto Hit = Probed.PointAtX(Point.X);
        if (Hit && std::fabs(Hit->Y - Point.Y) < 0.001) R->AddPointCopy(&Point);
    } else {
        for (TCrossing& C : SegmentCrossings(*P, *Q)) R->AddRPoint(std::move(C.Point));
    }
    const TMMatrix Back = MatrixTranspose(M);
    for (int I = 0; I < R->Count(); ++I) {
        TRPoint& X = *R->Point(I);
        X.SetVector(MatrixTransformPoint(Back, X.Vector()));
    }
    R->RoundCoordinates();
    R->RemoveDuplicatePoints();
    return R;
}

namespace {

// Where the straight segment from A to B, whose ends lie on either side of Plane, meets it; Fraction
// is the part of the segment before the crossing.
std::unique_ptr<TRPoint> SegmentPlaneCrossing(const TRPoint& A, const TRPoint& B, const TMPlane& Plane,
                                              double& Fraction) {
    const TMVector Direction = VectorFromTo(A.Vector(), B.Vector());
    if (std::fabs(VectorDot(Direction, Plane.Normal)) >= NearZero)
        return NewRPointFromVector(IntersectionOfLineAndPlane({A.Vector(), Direction}, Plane, Fraction));
    // The ends lie on either side but within 1e-9 of each other along the normal, too close for the
    // line routine: the crossing is interpolated between them.
    const double SA = VectorDot(Plane.Normal, A.Vector()) - Plane.Distance;
    const double SB = VectorDot(Plane.Normal, B.Vector()) - Plane.Distance;
    Fraction = SA / (SA - SB);
    return NewRPointFromVector(VectorLerp(A.Vector(), B.Vector(), Fraction));
}

}  // namespace

std::unique_ptr<TPolyline> CurvePlaneIntersections(const TMPlane& Plane, TPolyline& Curve) {
    auto R = std::make_unique<TPolyline>();
    const auto Side = [&Plane](const TRPoint& P) { return PlaneSide(Plane, P.Vector(), 0); };
    if (typeid(Curve) == typeid(TPolyline)) {
        const TPolyline& L = Curve;
        double Arc = 0;
        for (int I = 1; I < L.Count(); ++I) {
            const TRPoint& A = *L.Point(I - 1);
            const TRPoint& B = *L.Point(I);
            const double Length = A.Distance(B);
            if (Side(A) != Side(B)) {
                double T;
                auto X = SegmentPlaneCrossing(A, B, Plane, T);
                X->T = Arc + T * Length;
                R->AddRPoint(std::move(X));
            }
            Arc += Length;
        }
    } else {
        const auto Digitised = Curve.Digitise();
        const TPolyline& D = *Digitised;
        TCurvePlaneIntersection Root(Curve, Plane);
        for (int I = 1; I < D.Count(); ++I) {
            const TRPoint& A = *D.Point(I - 1);
            const TRPoint& B = *D.Point(I);
            if (Side(A) == Side(B)) continue;
            if (A.T == B.T) {
                // No parameter span between the two: the curve is drawn as its control polygon here
                // (a B-spline with fewer points than its order), and that is what the plane cuts.
                double T;
                auto X = SegmentPlaneCrossing(A, B, Plane, T);
                X->T = A.T;
                R->AddRPoint(std::move(X));
                continue;
            }
            if (auto X = Curve.PointAt(Root.FindRoot(A.T, B.T))) R->AddRPoint(std::move(X));
        }
    }
    R->RemoveDuplicatePoints();
    if (R->Count() == 0) return nullptr;
    return R;
}

std::unique_ptr<TPolyline> PolylinePlaneIntersections(TPolyline& Curve, const TMPlane& Plane) {
    return CurvePlaneIntersections(Plane, Curve);
}

double TCurvePlaneIntersection::Distance(double T) {
    const auto P = Curve->PointAt(T);
    if (!P) return std::nan("");
    return VectorDot(Plane.Normal, P->Vector()) - Plane.Distance;
}

double TCurvePlaneIntersection::FindRoot(double T1, double T2) {
    return FindValue(0, T1, T2, 0, [this](double T) { return Distance(T); });
}

// ---- Clipping and offsetting ----

std::unique_ptr<TPolyline> TPolyline::ClipAtHeight(int Side, bool Reclose, double H) const {
    if (Side != -1 && Side != 1) return nullptr;
    // Nothing of fewer than two points can remain.
    if (Count() < 2) return nullptr;
    const auto Inside = [Side, H](const TRPoint* P) { return Side < 0 ? P->Z < H : P->Z > H; };
    auto C = Clone();
    if (C->First()->Z > C->Last()->Z) C->Reverse();
    // A start on the cut would split the kept part; so would a start inside it.
    if (C->First()->Z == H && C->Last()->Z == H && C->Count() >= 4) C->RotateToQuarter();
    if (Inside(C->First()) && Inside(C->Last())) C->RotateToHalf();

    auto R = std::make_unique<TPolyline>();
    const TPolyline& L = *C;
    if (Inside(L.Point(0))) R->AddPointCopy(L.Point(0));
    for (int I = 1; I < L.Count(); ++I) {
        const TRPoint& A = *L.Point(I - 1);
        const TRPoint& B = *L.Point(I);
        if (Between(A.Z, B.Z, H) && A.Z != B.Z) R->AddRPoint(InterpolatePoints(A, B, 2, H));
        if (Inside(&B)) R->AddPointCopy(&B);
    }
    if (Reclose && C->IsClosed()) R->SetClosed(true);
    if (R->Count() < 2) return nullptr;
    return R;
}

void TPolyline::OffsetInYZ(double D) {
    const int N = Count();
    if (N < 2) return;
    // Each segment's offset; a segment with no extent in y-z has no direction there and moves with
    // the nearest one before it that has (or after it, at the start).
    std::vector<TMVector> Offset(static_cast<std::size_t>(N - 1));
    std::vector<bool> Degenerate(static_cast<std::size_t>(N - 1));
    for (int I = 0; I + 1 < N; ++I) {
        const TRPoint& A = *TRPoints::Point(I);
        const TRPoint& B = *TRPoints::Point(I + 1);
        const TMVector U = VectorNormalise(VectorFromTo(A.Vector(), B.Vector()));
        Offset[I] = {0, D * U.Z, -D * U.Y};
        Degenerate[I] = A.Y == B.Y && A.Z == B.Z;
    }
    const auto FirstReal = std::find(Degenerate.begin(), Degenerate.end(), false);
    if (FirstReal != Degenerate.end()) {
        const int F = static_cast<int>(FirstReal - Degenerate.begin());
        for (int I = 0; I + 1 < N; ++I)
            if (I < F)
                Offset[I] = Offset[F];
            else if (Degenerate[I])
                Offset[I] = Offset[I - 1];
    }

    const auto Moved = [this](int I, const TMVector& By) {
        return NewRPointFromVector(VectorAdd(TRPoints::Point(I)->Vector(), By));
    };
    auto R = std::make_unique<TPolyline>();
    auto Start = Moved(0, Offset[0]);
    auto B = Moved(1, Offset[0]);
    R->AddPointCopy(Start.get());
    for (int I = 1; I + 1 < N; ++I) {
        auto C = Moved(I, Offset[I]);
        auto E = Moved(I + 1, Offset[I]);
        if (Degenerate[I]) {
            // Nothing to meet: the previous offset line runs on to the next real segment.
            R->AddPointCopy(B.get());
            continue;
        }
        // Parallel offset lines (the section doubles back) have no corner; the previous end stays.
        const double CrossYZ = (B->Y - Start->Y) * (E->Z - C->Z) - (B->Z - Start->Z) * (E->Y - C->Y);
        const double Lengths = std::hypot(B->Y - Start->Y, B->Z - Start->Z) * std::hypot(E->Y - C->Y, E->Z - C->Z);
        if (B->IsEqual(*C) || !(std::fabs(CrossYZ) > NearZero * Lengths))
            R->AddPointCopy(B.get());
        else
            R->AddRPoint(IntersectLinesYZ(*Start, *B, *C, *E));
        Start = std::move(C);
        B = std::move(E);
    }
    R->AddPointCopy(B.get());
    TakePoints(*this, *R);
}

}  // namespace sarnova
