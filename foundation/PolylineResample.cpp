// Re-spacing polylines and matching sections.
#include "foundation/PolylineResample.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/PolylineOps.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

namespace {

void RequireTwoPoints(const TPolyline& Polyline, const char* Routine) {
    if (Polyline.Count() < 2) throw EGeometryError(std::string(Routine) + " - fewer than 2 points");
}

void RequireSpacing(double Spacing, const char* Routine) {
    if (!(Spacing > 0)) throw EGeometryError(std::string(Routine) + " - spacing must be greater than 0");
}

bool IsKnuckleMarked(const TPolyline& Polyline) {
    for (int I = 0; I < Polyline.Count(); ++I) {
        const std::int32_t Tag = Polyline.Point(I)->Tag;
        if (Tag != 1 && Tag != -1) return false;
    }
    return true;
}

// Index of the next point after From tagged 1; the last point when none is.
int NextKnuckle(const TPolyline& Polyline, int From) {
    const int Last = Polyline.Count() - 1;
    int E = From + 1;
    while (E < Last && Polyline.Point(E)->Tag != 1) ++E;
    return E;
}

// Squared distance of P from the line through its neighbours A and B; from A itself when the
// neighbours coincide (a spike), where the line is undefined.
double SquaredDeviation(const TMVector& A, const TMVector& P, const TMVector& B) {
    const TMLine L = LineThroughPoints(A, B);
    const double D = VectorDot(L.Direction, L.Direction) > 0 ? DistanceFromPointToLine(P, L) : VectorDistance(P, A);
    return D * D;
}

bool LinkLess(const TLink& A, const TLink& B) {
    return A.First < B.First || (A.First == B.First && A.Second < B.Second);
}

std::unique_ptr<TLinksList> ToLinksList(const std::vector<TLink>& Links) {
    auto Result = std::make_unique<TLinksList>();
    for (const TLink& L : Links) Result->Add(L.First, L.Second);
    return Result;
}

}  // namespace

// ---- Knuckles ----

void MarkKnuckles(TPolyline& Polyline, double Angle) {
    Polyline.RemoveDuplicatePoints();
    const int N = Polyline.Count();
    for (int I = 0; I < N; ++I) Polyline.Point(I)->Tag = -1;
    if (N == 0) return;
    Polyline.First()->Tag = 1;
    Polyline.Last()->Tag = 1;
    for (int I = 1; I < N - 1; ++I) {
        const TMVector P = Polyline.Point(I)->Vector();
        const TMVector U = VectorNormalise(VectorFromTo(Polyline.Point(I - 1)->Vector(), P));
        const TMVector V = VectorNormalise(VectorFromTo(P, Polyline.Point(I + 1)->Vector()));
        const double Theta = std::acos(std::clamp(VectorDot(U, V), -1.0, 1.0));
        const double Folded = VectorDistance(U, V) > std::numbers::sqrt2 ? std::numbers::pi - Theta : Theta;
        if (Angle < Folded) Polyline.Point(I)->Tag = 1;
    }
}

int CountKnuckles(const TPolyline& Polyline) {
    int Knuckles = 0;
    for (int I = 0; I < Polyline.Count(); ++I) {
        const std::int32_t Tag = Polyline.Point(I)->Tag;
        if (Tag == 1)
            ++Knuckles;
        else if (Tag != -1)
            return 0;
    }
    return Knuckles;
}

std::unique_ptr<TPolyline> KnucklePoints(const TPolyline& Polyline) {
    auto Result = std::make_unique<TPolyline>();
    for (int I = 1; I < Polyline.Count() - 1; ++I) {
        const TRPoint* P = Polyline.Point(I);
        if (P->Tag != 1) continue;
        auto Copy = P->Clone();
        Copy->Tag = I;
        Result->AddRPoint(std::move(Copy));
    }
    return Result;
}

std::unique_ptr<TPolyline> SubPolyline(const TPolyline& Polyline, int From, int To) {
    auto Result = std::make_unique<TPolyline>();
    for (int I = From; I <= To; ++I) Result->AddPointCopy(Polyline.Point(I));
    return Result;
}

// ---- Densifying and thinning ----

std::unique_ptr<TPolyline> DensifyPolyline(int N, const TPolyline& Polyline) {
    const int Count = Polyline.Count();
    if (Count >= N || Count < 2) return Polyline.Clone();
    const int K = std::min(N / (Count - 1), 15);
    auto Result = std::make_unique<TPolyline>();
    Result->AddVector(Polyline.First()->Vector());
    for (int I = 1; I < Count; ++I) {
        const TMVector A = Polyline.Point(I - 1)->Vector();
        const TMVector B = Polyline.Point(I)->Vector();
        for (int J = 1; J <= K; ++J) Result->AddVector(VectorLerp(A, B, static_cast<double>(J) / K));
    }
    return Result;
}

void ReducePointsToCount(int N, TRPoints& Points) {
    const int Count = Points.Count();
    const int Target = std::max(N, 2);
    if (Count <= Target) return;
    // The points stay where they are while the candidates are thinned out through a linked list;
    // only the two neighbours of a removed point change their deviation, so each round weighs just
    // those again and takes the least from an ordered set (ties to the earlier point, as the order of
    // the points never changes).
    std::vector<int> Prev(static_cast<std::size_t>(Count)), Next(static_cast<std::size_t>(Count));
    std::vector<char> Alive(static_cast<std::size_t>(Count), 1);
    for (int I = 0; I < Count; ++I) {
        Prev[static_cast<std::size_t>(I)] = I - 1;
        Next[static_cast<std::size_t>(I)] = I + 1;
    }
    std::set<std::pair<double, int>> Candidates;
    auto Weigh = [&](int I) {
        TRPoint* P = Points.Point(I);
        const TRPoints& C = Points;
        P->W = SquaredDeviation(C.Point(Prev[static_cast<std::size_t>(I)])->Vector(), P->Vector(),
                                C.Point(Next[static_cast<std::size_t>(I)])->Vector());
        // Weights that cannot win (not a number, or not below HugeValue) stay out of the race.
        if (P->W < HugeValue) Candidates.insert({P->W, I});
    };
    for (int I = 1; I < Count - 1; ++I) Weigh(I);
    int Remaining = Count;
    while (Remaining > Target) {
        if (Candidates.empty()) break;
        const int Victim = Candidates.begin()->second;
        Candidates.erase(Candidates.begin());
        Alive[static_cast<std::size_t>(Victim)] = 0;
        const int A = Prev[static_cast<std::size_t>(Victim)];
        const int B = Next[static_cast<std::size_t>(Victim)];
        Next[static_cast<std::size_t>(A)] = B;
        Prev[static_cast<std::size_t>(B)] = A;
        --Remaining;
        // The neighbours are weighed again for the next round; after the last round they keep the
        // weights they were judged by.
        if (Remaining <= Target) break;
        for (const int Neighbour : {A, B}) {
            if (Neighbour == 0 || Neighbour == Count - 1) continue;
            const double Old = Points.Point(Neighbour)->W;
            if (Old < HugeValue) Candidates.erase({Old, Neighbour});
            Weigh(Neighbour);
        }
    }
    // Close the gaps: the kept points move to the front in order, the removed ones are freed.
    int Kept = 0;
    for (int I = 0; I < Count; ++I) {
        if (!Alive[static_cast<std::size_t>(I)]) continue;
        if (I != Kept) Points.Exchange(Kept, I);
        ++Kept;
    }
    while (Points.Count() > Kept) Points.Delete(Points.Count() - 1);
}

// ---- Resampling ----

void ResampleEqualArcLength(int N, TPolyline& Polyline) {
    RequireTwoPoints(Polyline, "ResampleEqualArcLength");
    N = std::max(N, 2);
    const int Count = Polyline.Count();
    std::vector<double> S(static_cast<std::size_t>(Count), 0.0);
    int LastSegment = 0;
    for (int I = 1; I < Count; ++I) {
        const double D = Polyline.Point(I - 1)->Distance(*Polyline.Point(I));
        S[static_cast<std::size_t>(I)] = S[static_cast<std::size_t>(I - 1)] + D;
        if (D > 0) LastSegment = I;
    }
    const double L = S.back();
    if (!(L > 0) || !std::isfinite(L)) return;
    TPolyline Result;
    int Seg = 1;
    for (int K = 0; K < N; ++K) {
        const double C = K == N - 1 ? L : std::min(L * K / (N - 1), L);
        // The first segment of non-zero length that holds the target: a target on an interior vertex
        // is taken from the segment that ends there, and only once.
        while (Seg < LastSegment &&
               (C > S[static_cast<std::size_t>(Seg)] || S[static_cast<std::size_t>(Seg)] == S[static_cast<std::size_t>(Seg - 1)]))
            ++Seg;
        const double S0 = S[static_cast<std::size_t>(Seg - 1)];
        const double S1 = S[static_cast<std::size_t>(Seg)];
        // Lerp keeps the segment's ends exact, so knuckles and end points survive unchanged.
        Result.AddVector(VectorLerp(Polyline.Point(Seg - 1)->Vector(), Polyline.Point(Seg)->Vector(), (C - S0) / (S1 - S0)));
    }
    Polyline.Assign(Result);
}

void ResampleKeepingKnuckles(int N, TPolyline& Polyline) {
    RequireTwoPoints(Polyline, "ResampleKeepingKnuckles");
    if (!IsKnuckleMarked(Polyline)) {
        ResampleEqualArcLength(N, Polyline);
        return;
    }
    N = std::max(N, 2);
    const double L = Polyline.Length();
    if (!(L > 0)) return;
    // N points span N - 1 intervals; each piece gets as many intervals of that spacing as it holds.
    const double Spacing = L / (N - 1);
    const int Last = Polyline.Count() - 1;
    TPolyline Result;
    for (int B = 0; B < Last;) {
        const int E = NextKnuckle(Polyline, B);
        auto Piece = SubPolyline(Polyline, B, E);
        ResampleEqualArcLength(TruncSingle(Piece->Length() / Spacing) + 1, *Piece);
        for (int I = B == 0 ? 0 : 1; I < Piece->Count(); ++I) Result.AddVector(Piece->Point(I)->Vector());
        B = E;
    }
    Polyline.Assign(Result);
}

void ResampleBySpacing(TPolyline& Polyline, double Spacing) {
    RequireSpacing(Spacing, "ResampleBySpacing");
    RequireTwoPoints(Polyline, "ResampleBySpacing");
    ResampleKeepingKnuckles(std::max(TruncSingle(Polyline.Length() / Spacing) + 1, 2), Polyline);
}

void ResampleAtKnuckles(TPolyline& Polyline, double Spacing, double Angle) {
    RequireSpacing(Spacing, "ResampleAtKnuckles");
    RequireTwoPoints(Polyline, "ResampleAtKnuckles");
    auto Marked = Polyline.Clone();
    MarkKnuckles(*Marked, Angle);
    if (Marked->Count() < 2) return;  // no length
    TPolyline Result;
    for (int I = 0; I < Marked->Count() - 1;) {
        const int E = NextKnuckle(*Marked, I);
        auto Piece = SubPolyline(*Marked, I, E);
        ResampleBySpacing(*Piece, Spacing);
        Result.AddCopies(*Piece);
        I = E;
    }
    // The pieces share their knuckle points exactly.
    Result.RemoveDuplicatePoints();
    MarkKnuckles(Result, Angle);
    Polyline.Assign(Result);
}

void ResampleSection(int NTotal, int NBelow, bool FixedTotal, double Height, double Angle,
                     TPolyline& Polyline) {
    RequireTwoPoints(Polyline, "ResampleSection");
    const TMBox Box = Polyline.Extents();
    auto Whole = [&] {
        if (NTotal < Polyline.Count()) {
            ResampleAtKnuckles(Polyline, 0.2, Angle);
            Polyline.RemoveCollinearPoints();
        }
    };
    if (!(Height >= Box.Min.Z && Height <= Box.Max.Z)) {
        Whole();
        return;
    }
    auto Below = Polyline.ClipAtHeight(-1, true, Height);
    auto Above = Polyline.ClipAtHeight(+1, true, Height);
    if (!Below || !Above) {
        // The waterline only touches the section.
        Whole();
        return;
    }
    // Spacings count intervals: a part re-spaced at Length / (n - 1) gets n points.
    double SpacingBelow = Below->Length() / (Below->Count() - 1);
    if (NBelow < Below->Count()) {
        const double M = (Height - Polyline.First()->Z) / (Height - Box.Min.Z);
        if (M < 0.75) {
            ReducePointsToCount(NBelow, *Below);
        } else {
            MarkKnuckles(*Below, Angle);
            SpacingBelow = Below->Length() / std::max(NBelow - 1, 1);
            ResampleAtKnuckles(*Below, SpacingBelow, Angle);
        }
    }
    // Below and above share the waterline point, so spacing the part above like the part below
    // gives Count(Below) + Length(Above) / SpacingBelow points in all.
    if (!FixedTotal && NTotal > Below->Count() + Above->Length() / SpacingBelow) {
        ResampleAtKnuckles(*Above, SpacingBelow, Angle);
        Above->RemoveCollinearPoints();
    } else {
        const int Intervals = std::max(NTotal - Below->Count(), 1);
        ResampleAtKnuckles(*Above, Above->Length() / Intervals, Angle);
        if (!FixedTotal) Above->RemoveCollinearPoints();
    }
    if (auto Joined = Below->JoinAtNearestEnds(*Above)) Polyline.Assign(*Joined);
}

// ---- Matching sections ----

std::unique_ptr<TLinksList> MatchPoints(const TPolyline& A, const TPolyline& B) {
    const bool Flip = B.Count() > A.Count();
    const TPolyline& L = Flip ? B : A;
    const TPolyline& S = Flip ? A : B;
    std::vector<TLink> Links;
    Links.reserve(static_cast<std::size_t>(L.Count() + S.Count()));
    for (int I = 0; I < L.Count(); ++I) Links.push_back({I, PolylineNearestPointIndex(*L.Point(I), S)});
    std::sort(Links.begin(), Links.end(), LinkLess);
    std::vector<char> Reached(static_cast<std::size_t>(S.Count()), 0);
    for (const TLink& Link : Links)
        if (Link.Second >= 0 && Link.Second < S.Count()) Reached[static_cast<std::size_t>(Link.Second)] = 1;
    const int LastL = L.Count() - 1;
    const int LastS = S.Count() - 1;
    for (int J = 0; J < S.Count(); ++J) {
        if (Reached[static_cast<std::size_t>(J)]) continue;
        TLink New{LastL, J};
        if (J == 0) {
            New = {0, 0};
        } else if (J == LastS) {
            New = {LastL, LastS};
        } else {
            // The first link (not the last one) that reaches J or beyond lends its First.
            for (std::size_t K = 0; K + 1 < Links.size(); ++K) {
                if (Links[K].Second >= J) {
                    New.First = Links[K].First;
                    break;
                }
            }
        }
        Links.insert(std::upper_bound(Links.begin(), Links.end(), New, LinkLess), New);
    }
    if (Flip)
        for (TLink& Link : Links) std::swap(Link.First, Link.Second);
    return ToLinksList(Links);
}

std::unique_ptr<TLinksList> LinkSections(const TPolyline& A, const TPolyline& B) {
    std::vector<TLink> Anchors;
    if (CountKnuckles(A) > 2 && CountKnuckles(B) > 2) {
        const auto KA = KnucklePoints(A);
        const auto KB = KnucklePoints(B);
        const bool ScanA = KA->Count() >= KB->Count();
        const TPolyline& Scanned = ScanA ? *KA : *KB;
        const TPolyline& OtherKnuckles = ScanA ? *KB : *KA;
        const TPolyline& OtherSection = ScanA ? B : A;
        for (int I = 0; I < Scanned.Count(); ++I) {
            const TRPoint& K = *Scanned.Point(I);
            const double D = VectorDistance(K.Vector(), PolylineNearestPoint(K.Vector(), OtherSection)->Vector());
            const TRPoint& N = *OtherKnuckles.Point(PolylineNearestPointIndex(K, OtherKnuckles));
            if (K.Distance(N) < 1.2 * D) Anchors.push_back(ScanA ? TLink{K.Tag, N.Tag} : TLink{N.Tag, K.Tag});
        }
    }
    Anchors.push_back({0, 0});
    Anchors.push_back({A.Count() - 1, B.Count() - 1});
    std::sort(Anchors.begin(), Anchors.end(), LinkLess);
    std::vector<TLink> Result;
    for (std::size_t K = 1; K < Anchors.size(); ++K) {
        const TLink P = Anchors[K - 1];
        const TLink Q = Anchors[K];
        const auto PieceA = SubPolyline(A, P.First, Q.First);
        const auto PieceB = SubPolyline(B, P.Second, Q.Second);
        const auto Links = MatchPoints(*PieceA, *PieceB);
        for (int M = 0; M < Links->Count(); ++M) {
            const TLink Link{Links->Link(M).First + P.First, Links->Link(M).Second + P.Second};
            // The shared anchor pair ends one piece and starts the next.
            if (M == 0 && !Result.empty() &&
                (Link.First == Result.back().First || Link.Second == Result.back().Second))
                continue;
            Result.push_back(Link);
        }
    }
    return ToLinksList(Result);
}

std::unique_ptr<TPolyline> InterpolateSection(const TPolyline& A, const TPolyline& B, double X) {
    if (!IsBetween(A.GetStation(), B.GetStation(), X))
        throw EGeometryError("XPOLYLINE: X is not between Polylines");
    const auto Links = LinkSections(A, B);
    auto Result = std::make_unique<TPolyline>();
    for (int I = 0; I < Links->Count(); ++I) {
        const TRPoint& P = *A.Point(Links->Link(I).First);
        const TRPoint& Q = *B.Point(Links->Link(I).Second);
        const double DX = Q.X - P.X;
        const double F = DX != 0 ? (X - P.X) / DX : 0;
        Result->AddPoint(X, P.Y + F * (Q.Y - P.Y), P.Z + F * (Q.Z - P.Z));
    }
    return Result;
}

}  // namespace sarnova
