// Operations on sets of sections.
#include "foundation/PolyListSections.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <unordered_set>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/PolylineOps.h"
#include "foundation/PolylineResample.h"
#include "foundation/VkMathsIntersect.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

namespace {

// Replaces the polylines of List by those of Source, in Source's order, without copying.
void ReplaceWith(TPolylineList& List, TPolylineList& Source) {
    // Each TakeFrom reverses; two of them keep the order.
    TPolylineList Reversed;
    Reversed.TakeFrom(Source);
    List.Clear();
    List.TakeFrom(Reversed);
}

// The matrix that exchanges y and z; it is its own inverse.
constexpr TMMatrix SwapYZ{{{1, 0, 0, 0}, {0, 0, 1, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}}};

std::unique_ptr<TPolylineList> NullWhenEmpty(std::unique_ptr<TPolylineList> List) {
    if (List->Count() == 0) return nullptr;
    return List;
}

}  // namespace

// ---- Stations ----

std::unique_ptr<TPolyline> InterpolateSectionAt(const TPolylineList& List, double X) {
    for (int I = 1; I < List.Count(); ++I) {
        const TPolyline& A = *List.Items(I - 1);
        const TPolyline& B = *List.Items(I);
        if (IsBetween(A.First()->X, B.First()->X, X)) return InterpolateSection(A, B, X);
    }
    return nullptr;
}

void RespaceSections(int N, TPolylineList& List) {
    if (N < 1) throw EGeometryError("RespaceSections - the number of sections must be at least 1");
    if (N == List.Count() || List.Count() == 0) return;
    const double X0 = List.Items(0)->GetStation();
    const double X1 = List.Items(List.Count() - 1)->GetStation();
    TPolylineList Sections;
    for (int K = 0; K < N; ++K) {
        const double X = N == 1 ? X0 : X0 + static_cast<double>(K) / (N - 1) * (X1 - X0);
        Sections.Add(InterpolateSectionAt(List, X));
    }
    ReplaceWith(List, Sections);
}

void RespaceSectionsBySpacing(TPolylineList& List, double Spacing) {
    if (!(Spacing > 0)) throw EGeometryError("RespaceSectionsBySpacing - spacing must be greater than 0");
    if (List.Count() == 0) return;
    const TMBox Box = List.Extents();
    const std::int64_t K0 = TruncSingle(Box.Min.X / Spacing);
    const std::int64_t K1 = TruncSingle(Box.Max.X / Spacing);
    TPolylineList Sections;
    for (std::int64_t K = K0; K <= K1; ++K) Sections.Add(InterpolateSectionAt(List, static_cast<double>(K) * Spacing));
    ReplaceWith(List, Sections);
}

// ---- Cutting ----

std::unique_ptr<TPolylineList> ClipListAtHeight(const TPolylineList& List, int Side, bool Reclose, double H) {
    auto Result = std::make_unique<TPolylineList>();
    for (int I = 0; I < List.Count(); ++I) Result->Add(List.Items(I)->ClipAtHeight(Side, Reclose, H));
    return NullWhenEmpty(std::move(Result));
}

std::unique_ptr<TPolylineList> ClipListAtLevel(const TPolylineList& List, int Side, int Axis, double Level,
                                               bool Reclose) {
    if (Axis != 2) return ClipListAtHeight(List, Side, Reclose, Level);
    const auto Clipped = ClipListAtHeight(*List.Transformed(SwapYZ), Side, Reclose, Level);
    if (!Clipped) return nullptr;
    return Clipped->Transformed(SwapYZ);
}

std::unique_ptr<TPolylineList> SplitPolylineByPlane(const TPolyline& Polyline, int Side, const TMPlane& Plane,
                                                    bool KeepClosed, bool WeldAll) {
    // Every point tagged with its side (+1 above, -1 below or on the plane), and the crossing
    // points (Tag 0) inserted between points of different sides.
    TPolyline Tagged;
    for (int I = 0; I < Polyline.Count(); ++I) {
        const TRPoint& P = *Polyline.Point(I);
        const int Tag = PlaneSide(Plane, P.Vector(), 0);
        if (I > 0 && Tagged.Last()->Tag != Tag) {
            // From the signed distances, so that a point very near the plane never reads as a
            // segment parallel to it.
            const TMVector A = Tagged.Last()->Vector();
            const double DA = VectorDot(Plane.Normal, A) - Plane.Distance;
            const double DB = VectorDot(Plane.Normal, P.Vector()) - Plane.Distance;
            Tagged.AddVector(VectorLerp(A, P.Vector(), DA / (DA - DB)));
            Tagged.Last()->Tag = 0;
        }
        Tagged.AddPointCopy(&P);
        Tagged.Last()->Tag = Tag;
    }
    const bool JoinAlongPlane = KeepClosed && Polyline.IsClosed();
    TPolylineList Pieces;
    TPolyline* Piece = nullptr;
    for (int I = 0; I < Tagged.Count(); ++I) {
        const TRPoint* P = Tagged.Point(I);
        if (P->Tag != -Side) {
            if (!Piece) {
                Pieces.Add(std::make_unique<TPolyline>());
                Piece = Pieces.Last();
            }
            Piece->AddPointCopy(P);
        } else if (!JoinAlongPlane) {
            Piece = nullptr;
        }
    }
    return WeldAll ? WeldAllPolylines(Pieces) : WeldPolylinesWithin(Pieces, 1e-4);
}

std::unique_ptr<TPolylineList> ClipPolylinesByPlane(const TPolylineList& List, int Side, const TMPlane& Plane,
                                                    bool KeepClosed, bool WeldAll) {
    auto Result = std::make_unique<TPolylineList>();
    for (int I = 0; I < List.Count(); ++I)
        Result->TakeFrom(*SplitPolylineByPlane(*List.Items(I), Side, Plane, KeepClosed, WeldAll));
    return NullWhenEmpty(std::move(Result));
}

bool SegmentsCrossInPlane(const TMVector& A, const TMVector& B, const TMVector& C, const TMVector& D,
                          const TMPlane& Plane, double& F) {
    F = -1;
    const TMVector A1 = PointOnPlaneClosestToPoint(Plane, A);
    const TMVector B1 = PointOnPlaneClosestToPoint(Plane, B);
    const TMVector C1 = PointOnPlaneClosestToPoint(Plane, C);
    const TMVector D1 = PointOnPlaneClosestToPoint(Plane, D);
    const TMClosestApproach R = ClosestApproachOfLines(LineFromPointAndDirection(A1, VectorFromTo(A1, B1)),
                                                       LineFromPointAndDirection(C1, VectorFromTo(C1, D1)));
    // Parallel lines get no parameters from the closest-approach routine (the same limit as there).
    if (!(std::fabs(R.Det) >= 1e-9)) return false;
    if (R.TA < 0 || R.TA > 1 || R.TB < 0 || R.TB > 1) return false;
    F = R.TA;
    return true;
}

std::unique_ptr<TPolylineList> SplitPolylineByPolyline(const TPolyline& Polyline, const TPolyline& Cutter,
                                                       const TMPlane& Plane) {
    auto Result = std::make_unique<TPolylineList>();
    Result->Add(std::make_unique<TPolyline>());
    TPolyline* Piece = Result->Last();
    Piece->AddPointCopy(Polyline.First());
    for (int I = 1; I < Polyline.Count(); ++I) {
        const TMVector A = Polyline.Point(I - 1)->Vector();
        const TMVector B = Polyline.Point(I)->Vector();
        TArray Cuts;
        for (int J = 1; J < Cutter.Count(); ++J) {
            double F = 0;
            if (SegmentsCrossInPlane(A, B, Cutter.Point(J - 1)->Vector(), Cutter.Point(J)->Vector(), Plane, F))
                Cuts.Add(F);
        }
        Cuts.Sort();
        for (int K = 0; K < Cuts.Count(); ++K) {
            const TMVector X = VectorLerp(A, B, Cuts.GetValue(K));
            Piece->AddVector(X);
            Result->Add(std::make_unique<TPolyline>());
            Piece = Result->Last();
            Piece->AddVector(X);
        }
        Piece->AddVector(B);
    }
    for (int K = Result->Count() - 1; K >= 0; --K) {
        Result->Items(K)->RemoveDuplicatePoints();
        if (Result->Items(K)->Length() == 0) Result->Delete(K);
    }
    return Result;
}

std::unique_ptr<TPolyline> PlaneIntersectionsOfList(const TMPlane& Plane, TPolylineList& List) {
    auto Result = std::make_unique<TPolyline>();
    for (int I = 0; I < List.Count(); ++I)
        if (const auto Crossings = PolylinePlaneIntersections(*List.Items(I), Plane)) Result->AddCopies(*Crossings);
    if (Result->Count() == 0) return nullptr;
    return Result;
}

// ---- Tidying ----

void OrientPolylinesUpward(TPolylineList& List) {
    for (int I = 0; I < List.Count(); ++I) {
        TPolyline& P = *List.Items(I);
        if (P.Count() > 0 && P.First()->Z > P.Last()->Z) P.Reverse();
    }
}

void RemoveRepeatedPoints(TRPoints& Points) {
    struct TKey {
        double X, Y, Z;
        bool operator==(const TKey&) const = default;
    };
    struct THash {
        std::size_t operator()(const TKey& K) const {
            const std::hash<double> H;
            return H(K.X) ^ (H(K.Y) * 0x9E3779B97F4A7C15ull) ^ (H(K.Z) * 0xC2B2AE3D27D4EB4Full);
        }
    };
    // One pass with a set of the positions seen: the first of equal points stays. Adding 0.0 makes
    // -0 and +0 one key; points with a NaN equal nothing and always stay.
    std::unordered_set<TKey, THash> Seen;
    const int N = Points.Count();
    int Kept = 0;
    for (int I = 0; I < N; ++I) {
        const TRPoint& P = *static_cast<const TRPoints&>(Points).Point(I);
        const bool Comparable = !std::isnan(P.X) && !std::isnan(P.Y) && !std::isnan(P.Z);
        if (Comparable && !Seen.insert({P.X + 0.0, P.Y + 0.0, P.Z + 0.0}).second) continue;
        if (I != Kept) Points.Exchange(I, Kept);
        ++Kept;
    }
    while (Points.Count() > Kept) Points.Delete(Points.Count() - 1);
}

void TidySections(TPolylineList& List) {
    for (int I = 0; I < List.Count(); ++I) {
        TPolyline& Section = *List.Items(I);
        const double Station = Section.GetStation();
        TPolylineList Same;
        for (int J = I + 1; J < List.Count();) {
            if (std::fabs(List.Items(J)->GetStation() - Station) < 1e-4)
                Same.Add(List.Remove(List.Items(J)));
            else
                ++J;
        }
        if (Same.Count() > 0) {
            TPolylineList Parts;
            Parts.Add(Section.Clone());
            Parts.TakeFrom(Same);
            const auto Joined = JoinPolylines(Parts);
            // Only the points change; the section keeps its colours.
            for (int K = Section.Count() - 1; K >= 0; --K) Section.Delete(K);
            Section.AddCopies(*Joined);
        }
        Section.RoundCoordinates();
        RemoveRepeatedPoints(Section);
        Section.RemoveCollinearPoints();
        Section.OrientSection();
    }
}

void ResampleSections(TPolylineList& List, int NBelow, int NTotal, double Draught, double Trim, double Angle,
                      bool FixedTotal) {
    if (List.Count() == 0) return;
    const TMBox Box = List.Extents();
    // The floating position's frame: midships at x = 0, the waterline at z = 0, level.
    const TMMatrix M = MatrixMultiply(MatrixTranslation(-(Box.Max.X + Box.Min.X) / 2, 0, -Draught),
                                      MatrixFromRotationAngles(0, -Trim, 0));
    const auto Floating = List.Transformed(M);
    for (int I = 0; I < Floating->Count(); ++I)
        ResampleSection(NTotal, NBelow, FixedTotal, 0, Angle, *Floating->Items(I));
    auto Back = Floating->Transformed(MatrixInverse(M));
    ReplaceWith(List, *Back);
}

// ---- Knuckle lines ----

std::unique_ptr<TPolyline> MirrorAndJoin(const TPolyline& Polyline) {
    return Polyline.Transformed(MatrixMirror(2, 0))->JoinAtNearestEnds(Polyline);
}

std::unique_ptr<TPolyline> SectionKnuckles(TPolyline& Polyline) {
    MarkKnuckles(Polyline, 0.4363323129985824);  // 25 degrees
    auto Result = std::make_unique<TPolyline>();
    for (int I = 0; I < Polyline.Count(); ++I)
        if (Polyline.Point(I)->Tag == 1) Result->AddPointCopy(Polyline.Point(I));
    return Result;
}

std::unique_ptr<TPolylineList> KnuckleLinks(TPolyline& A, TPolyline& B) {
    const auto KA = SectionKnuckles(A);
    const auto KB = SectionKnuckles(B);
    const auto Links = LinkSections(*KA, *KB);
    auto Result = std::make_unique<TPolylineList>();
    const int N = Links->Count();
    for (int R = 0; R < N;) {
        // A run of links sharing a knuckle with its first link keeps its shortest link.
        const TLink Head = Links->Link(R);
        int Best = -1;
        double BestDistance = HugeValue;
        int K = R;
        for (; K < N && (Links->Link(K).First == Head.First || Links->Link(K).Second == Head.Second); ++K) {
            const double D = KA->Point(Links->Link(K).First)->Distance(*KB->Point(Links->Link(K).Second));
            if (D < BestDistance) {
                BestDistance = D;
                Best = K;
            }
        }
        R = K;
        if (Best < 0) continue;
        auto Line = std::make_unique<TPolyline>();
        Line->AddPointCopy(KA->Point(Links->Link(Best).First));
        Line->AddPointCopy(KB->Point(Links->Link(Best).Second));
        Result->Add(std::move(Line));
    }
    return Result;
}

std::unique_ptr<TPolylineList> KnuckleLines(TPolylineList& List, bool Mirror) {
    auto Result = std::make_unique<TPolylineList>();
    const TPolyline& FirstSection = *List.Items(0);
    const TPolyline& LastSection = *List.Items(List.Count() - 1);
    Result->Add(Mirror ? MirrorAndJoin(FirstSection) : FirstSection.Clone());
    Result->Add(Mirror ? MirrorAndJoin(LastSection) : LastSection.Clone());
    auto Chains = KnuckleLinks(*List.Items(0), *List.Items(1));
    for (int I = 2; I < List.Count(); ++I) {
        auto Links = KnuckleLinks(*List.Items(I - 1), *List.Items(I));
        TPolylineList Continued;
        for (int C = 0; C < Chains->Count(); ++C) {
            TPolyline* Chain = Chains->Items(C);
            for (int L = 0; L < Links->Count(); ++L) {
                TPolyline* Link = Links->Items(L);
                if (!Link->First()->IsEqual(*Chain->Last())) continue;
                Chain->AddPointCopy(Link->Last());
                Links->Delete(L);
                Continued.Add(Chains->Remove(Chain));
                --C;
                break;
            }
        }
        // Chains that found no link end here.
        ReplaceWith(*Chains, Continued);
    }
    if (Mirror) Result->TakeFrom(*Chains->Transformed(MatrixMirror(2, 0)));
    Result->TakeFrom(*Chains);
    return Result;
}

}  // namespace sarnova
