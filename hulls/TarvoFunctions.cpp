#include "hulls/TarvoFunctions.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "foundation/Curvature.h"
#include "foundation/Errors.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineOps.h"
#include "hulls/TarvoCurve.h"
#include "hulls/WeightBlend.h"

namespace sarnova {

namespace {

// A / B, or 1 where B is 0: a point level with the reference moves with it in full.
double Share(double A, double B) { return B != 0 ? A / B : 1.0; }

// Index of the smallest (Largest: largest) x of the curve's control points, the highest on ties.
int ExtremeXIndex(const TTarvoCurve& Curve, bool Largest) {
    int Best = 0;
    for (int i = 1; i < Curve.Count(); ++i) {
        const double X = Curve.Point(i)->X, B = Curve.Point(Best)->X;
        if (Largest ? X >= B : X <= B) Best = i;
    }
    return Best;
}

void MoveParallelBody(TTarvoCurve& Curve, double Old, double New, bool Aft) {
    const int n = Curve.Count();
    if (n < 3) return;
    const double D = New - Old;
    const int d = ExtremeXIndex(Curve, Aft);
    const TRPoint& Pd = *Curve.Point(d);
    const double Xd = Pd.X, Yd = Pd.Y, Zd = Pd.Z;
    const double ZLast = Curve.Last()->Z, YFirst = Curve.First()->Y;
    for (int i = std::max(d, 1); i <= n - 2; ++i) {
        TRPoint& P = *Curve.Point(i);
        P.X += D * Share(P.Z - ZLast, Zd - ZLast);
    }
    for (int i = 1; i < d; ++i) {
        TRPoint& P = *Curve.Point(i);
        P.X += D * Share(P.Y - YFirst, Yd - YFirst);
        P.X = Aft ? std::min(P.X, Xd + D) : std::max(P.X, Xd + D);
    }
    Curve.Invalidate(false);
}

void MoveParallelDeck(TTarvoCurve& Curve, double Old, double New, bool Aft) {
    const int n = Curve.Count();
    if (n == 0) return;
    const double D = New - Old;
    const int c = ExtremeXIndex(Curve, Aft);
    const double Zc = Curve.Point(c)->Z, ZLast = Curve.Last()->Z;
    for (int i = c + 1; i < n; ++i) {
        TRPoint& P = *Curve.Point(i);
        P.X += D * Share(P.Z - Zc, ZLast - Zc);
    }
    Curve.Invalidate(false);
}

// ---- The turn of the bilge ----

// A section prepared for the bilge search: coincident neighbours removed (each point tagged with
// its index in the section, the point after a removed one marked) and the curvature at each point.
struct TBilgeAnalysis {
    TPolyline Copy;
    std::vector<double> C;
    int b = 0;            // the largest curvature, the first on ties
    bool Distinct = false;  // the largest curvature stands out from the mean

    explicit TBilgeAnalysis(const TRPoints& Points) {
        for (int i = 0; i < Points.Count(); ++i) {
            auto P = Points.Point(i)->Clone();
            P->Tag = i;
            Copy.Add(std::move(P));
        }
        int i = 1;
        while (i < Copy.Count() - 1) {
            if (Copy.Point(i - 1)->IsEqual(*Copy.Point(i))) {
                Copy.Delete(i - 1);
                Copy.Point(i)->Marked = true;
            } else {
                ++i;
            }
        }
        TCurveAnalysis A;
        A.AnalysePolyline(Copy);
        const int n = Copy.Count();
        double S = 0;
        for (int k = 0; k < n; ++k) {
            C.push_back(k < A.Count() ? A.Items(k).Curvature : 0.0);
            S += C.back();
            if (C[k] > C[b]) b = k;
        }
        // A section without any curvature has no bilge either.
        Distinct = n > 0 && C[b] > 0 && !((S / n) / C[b] > 0.25);
    }

    int Tag(int k) const { return Copy.Point(k)->Tag; }
    bool Marked(int k) const { return Copy.Point(k)->Marked; }

    // The candidate j in First .. Last whose two straight lines, (A, c_A) to (j, c_j) and on to
    // (B, c_B), stay least above the curvature in between; the first on ties.
    int BestKnee(int First, int Last, int A, int B) const {
        int Best = -1;
        double BestE = std::numeric_limits<double>::infinity();
        const auto Line = [this](int From, int To, int k) {
            return C[From] + (C[To] - C[From]) * (k - From) / double(To - From);
        };
        for (int j = First; j <= Last; ++j) {
            double E = 0;
            for (int k = First; k <= Last; ++k) {
                if (k == j) continue;
                const double L = k < j ? Line(A, j, k) : Line(j, B, k);
                const double Above = PositivePart(L - C[k]);
                E += Above * Above;
            }
            if (E < BestE) {
                BestE = E;
                Best = j;
            }
        }
        return Best;
    }
};

std::unique_ptr<TPolyline> SectionInYZ(const TRPoints& Points) {
    auto Copy = std::make_unique<TPolyline>();
    for (int i = 0; i < Points.Count(); ++i) {
        auto P = Points.Point(i)->Clone();
        P->X = 0;
        Copy->Add(std::move(P));
    }
    return Copy;
}

// The first index a >= 1 whose segment (a - 1, a) rises more than it runs out; 0 when none.
int FirstSteepSegment(const TPolyline& S) {
    for (int a = 1; a < S.Count(); ++a)
        if (std::fabs(S.Point(a)->Y - S.Point(a - 1)->Y) < std::fabs(S.Point(a)->Z - S.Point(a - 1)->Z)) return a;
    return 0;
}

// The pair I in ILo .. IHi, J from JHi down to I + 2, whose points between are collinear and which
// lie farthest apart, farther than Limit; the first such pair wins ties. BestI and BestJ keep their
// values when no pair qualifies.
void LongestStraightRun(const TPolyline& S, int ILo, int IHi, int JHi, double Limit, int& BestI, int& BestJ) {
    for (int i = ILo; i <= IHi; ++i)
        for (int j = JHi; j >= i + 2; --j) {
            if (!PolylinePointsCollinear(i, j, S)) continue;
            const double D = S.Point(i)->Distance(*S.Point(j));
            if (D > Limit) {
                Limit = D;
                BestI = i;
                BestJ = j;
            }
        }
}

TMPlane FlatPlaneThrough(const TPolyline& S, int i, int j) {
    const TMVector Pi = S.Point(i)->Vector();
    const TMVector N = VectorNormalise(VectorCross(VectorFromTo(Pi, S.Point(j)->Vector()), {1, 0, 0}));
    return {N, VectorDot(N, Pi)};
}

void CheckSameCount(const TTarvoCurve& A, const TTarvoCurve& B, const char* Routine) {
    if (A.Count() != B.Count())
        throw EGeometryError(std::string("TarvoFunctions.") + Routine + " - Curves have different numbers of points");
}

struct TXG {
    double X = 0;
    double G = 0;
};

// Where the line through A and B meets the line through C and D; NaN when they do not meet.
TXG MeetXG(const TXG& A, const TXG& B, const TXG& C, const TXG& D) {
    TXG M{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    LinesIntersection2D(A.X, A.G, B.X, B.G, C.X, C.G, D.X, D.G, M.X, M.G);
    if (!std::isfinite(M.X) || !std::isfinite(M.G)) return {std::numeric_limits<double>::quiet_NaN(), 0};
    return M;
}

bool WithinRange(double V, double A, double B) { return V >= std::min(A, B) - 1e-4 && V <= std::max(A, B) + 1e-4; }

// Cuts every loop of the profile: where a segment crosses a later one that is not its neighbour, the
// points between become the crossing.
void RemoveLoops(std::vector<TXG>& Q) {
    for (bool Changed = true; Changed;) {
        Changed = false;
        const int m = static_cast<int>(Q.size());
        for (int s = 1; s + 1 < m && !Changed; ++s)
            for (int t = s + 2; t + 1 < m && !Changed; ++t) {
                const TXG &A = Q[s], &B = Q[s + 1], &C = Q[t], &D = Q[t + 1];
                if (std::max(A.X, B.X) < std::min(C.X, D.X) - 1e-4 || std::max(C.X, D.X) < std::min(A.X, B.X) - 1e-4 ||
                    std::max(A.G, B.G) < std::min(C.G, D.G) - 1e-4 || std::max(C.G, D.G) < std::min(A.G, B.G) - 1e-4)
                    continue;
                const TXG M = MeetXG(A, B, C, D);
                if (!(WithinRange(M.X, A.X, B.X) && WithinRange(M.G, A.G, B.G) && WithinRange(M.X, C.X, D.X) &&
                      WithinRange(M.G, C.G, D.G)))
                    continue;
                for (int k = s + 1; k <= t; ++k) Q[k] = M;
                Q.erase(std::unique(Q.begin(), Q.end(), [](const TXG& P, const TXG& R) { return P.X == R.X && P.G == R.G; }),
                        Q.end());
                Changed = true;
            }
    }
}

// x of the line through A and B at girth G; A's x when the line runs along x.
double XAtGirth(const TXG& A, const TXG& B, double G) {
    return B.G != A.G ? A.X + (G - A.G) * (B.X - A.X) / (B.G - A.G) : A.X;
}

}  // namespace

double Clamp01(double X) { return X < 0 ? 0 : X > 1 ? 1 : X; }

double PositivePart(double X) { return X > 0 ? X : 0; }

void ShiftCurveX(TTarvoCurve& Curve, double D) {
    for (int i = 0; i < Curve.Count(); ++i) Curve.Point(i)->X += D;
    Curve.Invalidate(false);
}

void ScaleCurveX(TTarvoCurve& Curve, double S) {
    for (int i = 0; i < Curve.Count(); ++i) Curve.Point(i)->X *= S;
    Curve.Invalidate(false);
}

void ChangeCurveBeam(TTarvoCurve& Curve, int Index, double Old, double New) {
    if (Curve.Count() == 0) return;
    const TMBox Box = Curve.Extents();
    if (Box.Max.Y - Box.Min.Y <= 2e-4) return;
    if (Index == -1) Index = BilgeStartIndex(Curve.Spline());
    const double Y = Curve.Point(Index)->Y;
    // A bilge start on the centre line has no breadth to scale the points below it by.
    const double F = Y != 0 ? (New - Old + 2 * Y) / (2 * Y) : 1.0;
    for (int i = 0; i < Index; ++i) Curve.Point(i)->Y *= F;
    for (int i = Index; i < Curve.Count(); ++i) Curve.Point(i)->Y += (New - Old) / 2;
    Curve.Invalidate(false);
}

void ChangeCurveDepth(TTarvoCurve& Curve, int Index, double Old, double New) {
    if (Curve.Count() == 0) return;
    if (Index == -1) Index = BilgeEndIndex(Curve.Spline());
    const double Z = Curve.Point(Index)->Z;
    // An old depth at the bilge end's own height gives no scale.
    if (Old == Z) return;
    for (int i = Index + 1; i < Curve.Count(); ++i) {
        TRPoint& P = *Curve.Point(i);
        P.Z = Z + (P.Z - Z) * (New - Z) / (Old - Z);
    }
    Curve.Invalidate(false);
}

void MoveParallelBodyFore(TTarvoCurve& Curve, double Old, double New) { MoveParallelBody(Curve, Old, New, false); }
void MoveParallelBodyAft(TTarvoCurve& Curve, double Old, double New) { MoveParallelBody(Curve, Old, New, true); }
void MoveParallelDeckFore(TTarvoCurve& Curve, double Old, double New) { MoveParallelDeck(Curve, Old, New, false); }
void MoveParallelDeckAft(TTarvoCurve& Curve, double Old, double New) { MoveParallelDeck(Curve, Old, New, true); }

int BilgeStartIndex(const TRPoints& Points) {
    const TBilgeAnalysis A(Points);
    if (A.Copy.Count() == 0) return -1;
    if (A.Marked(A.b)) return A.Tag(A.b);
    if (!A.Distinct) return Points.Count() - 1;
    // No point between the keel and the largest curvature: the bilge starts there.
    if (A.b <= 1) return A.Tag(A.b);
    return A.Tag(A.BestKnee(1, A.b - 1, 0, A.b));
}

int BilgeEndIndex(const TRPoints& Points) {
    const TBilgeAnalysis A(Points);
    const int n = A.Copy.Count();
    if (n == 0) return -1;
    if (A.Marked(A.b)) return A.Tag(A.b);
    if (!A.Distinct) return 0;
    if (A.b >= n - 2) return A.Tag(A.b);
    return A.Tag(A.BestKnee(A.b + 1, n - 2, A.b, n - 1));
}

TMPlane FlatBottomPlane(const TRPoints& Points) {
    const auto S = SectionInYZ(Points);
    const int k = FirstSteepSegment(*S);
    // A section that never rises steeply has no flat of bottom to tell apart.
    if (k == 0) return {};
    int BestI = 0, BestJ = 0;
    LongestStraightRun(*S, 0, k - 2, k, 0.66 * S->Point(0)->Distance(*S->Point(k - 1)), BestI, BestJ);
    return FlatPlaneThrough(*S, BestI, BestJ);
}

TMPlane FlatSidePlane(const TRPoints& Points) {
    const auto S = SectionInYZ(Points);
    const int n = S->Count();
    if (n == 0) return {{0, 0, 0}, -1};
    const int a = FirstSteepSegment(*S);
    const int k = a > 0 ? a - 1 : 0;
    int BestI = -1, BestJ = -1;
    LongestStraightRun(*S, k, n - 3, n - 1, 0.6 * S->Point(k)->Distance(*S->Point(n - 1)), BestI, BestJ);
    if (BestI < 0) return {{0, 0, 0}, -1};
    return FlatPlaneThrough(*S, BestI, BestJ);
}

bool PointOnPlane(const TMVector& P, const TMPlane& Plane) {
    return std::fabs(VectorDot(Plane.Normal, P) - Plane.Distance) < 1e-4;
}

double AverageDistanceBetweenPoints(const TTarvoCurve& A, const TTarvoCurve& B) {
    CheckSameCount(A, B, "AverageDistanceBetweenPoints");
    if (A.Count() == 0) return 0;
    double Sum = 0;
    for (int i = 0; i < A.Count(); ++i) Sum += A.Point(i)->Distance(*B.Point(i));
    return Sum / A.Count();
}

std::unique_ptr<TPolyline> OffsetProfile(TRPoints& Points, const TMVector& Direction, double DeckOffset,
                                         double KeelOffset) {
    auto Result = std::make_unique<TPolyline>();
    const int n = Points.Count();
    if (n == 0) return Result;
    const TMVector U = VectorNormalise(Direction);
    TPolyline R;
    for (int i = 0; i < n; ++i) R.Add(Points.Point(i)->Clone());
    R.RoundCoordinates();

    // The girth, measured across the direction, in W.
    std::vector<double> G(static_cast<std::size_t>(n), 0.0);
    for (int i = 1; i < n; ++i) {
        G[i] = G[i - 1] + VectorLength(VectorPerpendicularPart(
                              U, VectorFromTo(Points.Point(i - 1)->Vector(), Points.Point(i)->Vector())));
        Points.Point(i)->W = G[i];
    }
    // The offset of each point, blended between keel and deck by how its section runs there.
    std::vector<double> Off(static_cast<std::size_t>(n), 0.0);
    Off[0] = KeelOffset;
    Off[n - 1] = DeckOffset;
    for (int i = 1; i < n - 1; ++i) {
        const TMVector T =
            VectorPerpendicularPart(U, VectorFromTo(Points.Point(i - 1)->Vector(), Points.Point(i + 1)->Vector()));
        const double Ty = std::fabs(T.Y), Tz = std::fabs(T.Z);
        Off[i] = Ty + Tz > 0 ? (KeelOffset * Ty + DeckOffset * Tz) / (Ty + Tz) : 0;
    }
    if (n == 1) {
        Result->Add(NewRPoint(R.Point(0)->X, 0, 0));
        Result->Point(0)->W = 0;
        return Result;
    }

    // Each segment moved along its normal in the (x, g) plane, by its points' own offsets.
    const auto Moved = [&](int Point, int Segment) {
        const double Dx = R.Point(Segment + 1)->X - R.Point(Segment)->X, Dg = G[Segment + 1] - G[Segment];
        const double L = std::hypot(Dx, Dg);
        const double Ux = L > 0 ? Dx / L : 0, Ug = L > 0 ? Dg / L : 0;
        return TXG{R.Point(Point)->X + Off[Point] * Ug, G[Point] - Off[Point] * Ux};
    };
    std::vector<TXG> Q;
    Q.push_back(Moved(0, 0));
    for (int i = 1; i < n - 1; ++i) {
        const TXG A = Moved(i, i - 1), B = Moved(i, i);
        if (std::fabs(A.X - B.X) >= 1e-4 || std::fabs(A.G - B.G) >= 1e-4) {
            const TXG M = MeetXG(Moved(i - 1, i - 1), A, B, Moved(i + 1, i));
            // Segments that run on in one line have no corner to meet at.
            Q.push_back(std::isfinite(M.X) ? M : A);
        } else {
            Q.push_back(A);
        }
    }
    Q.push_back(Moved(n - 1, n - 2));

    // Extended along the end segments to girth 0 and to the whole girth.
    const double Total = G[n - 1];
    Q.insert(Q.begin(), TXG{XAtGirth(Q[0], Q[1], 0), 0});
    const std::size_t m = Q.size();
    Q.push_back(TXG{XAtGirth(Q[m - 2], Q[m - 1], Total), Total});
    RemoveLoops(Q);

    for (const TXG& P : Q) {
        Result->Add(NewRPoint(P.X, 0, 0));
        Result->Last()->W = P.G;
    }
    return Result;
}

void BuildFlatTangentCurve(const TMVector& Direction, TTarvoCurve& Boundary, const TTarvoCurve& EndCurve,
                           TTarvoCurve& Control, double Percent) {
    TTarvoCurve& B = Boundary;
    const int n = B.Count();
    if (n == 0 || EndCurve.Count() == 0) return;
    // The girths are scratch in the boundary's W: they go back to 1.0 whatever happens.
    struct TResetW {
        TTarvoCurve& C;
        ~TResetW() {
            for (int i = 0; i < C.Count(); ++i) C.Point(i)->W = 1.0;
        }
    } Reset{B};
    const double S = Sign(EndCurve.Point(0)->X - B.Point(0)->X);
    const double Deck = S * B.Point(n - 1)->Distance(*EndCurve.Point(EndCurve.Count() - 1)) * Percent / 100;
    const double Keel = S * B.Point(0)->Distance(*EndCurve.Point(0)) * Percent / 200;
    const auto O = OffsetProfile(B.Spline(), Direction, Deck, Keel);
    for (int i = 0; i < O->Count(); ++i) O->Point(i)->Z = O->Point(i)->W;

    std::vector<double> X(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        // The keel point sits at girth 0.
        const double Girth = i == 0 ? 0.0 : B.Point(i)->W;
        const auto P = O->PointAtZ(Girth);
        if (P == nullptr) throw EGeometryError("No Point Obtained while offseting curve");
        X[i] = (B.Point(i)->X + P->X) / 2;
    }
    Control.Spline().Assign(B.Spline());
    for (int i = 0; i < n; ++i) {
        Control.Point(i)->X = X[i];
        Control.Point(i)->W = 1.0;
    }
    Control.SetSurfaceOperation(soTangent);
    Control.Invalidate(false);
}

void SetupVolumeBlend(const TTarvoCurve& P, const TTarvoCurve& Q, TWeightBlend& Blend, double Fraction, int& R0,
                      int& R1) {
    const TMPlane Bottom = FlatBottomPlane(P.Spline());
    const TMPlane Side = FlatSidePlane(P.Spline());
    const int n = Q.Count();
    const auto On = [&Q](int i, const TMPlane& Plane) { return PointOnPlane(Q.Point(i)->Vector(), Plane); };

    int s = 0, e = 0;
    if (Bottom.Normal != TMVector{})
        for (int i = n - 1; i >= 0; --i)
            if (On(i, Bottom)) {
                e = s = i;
                while (s > 0 && On(s - 1, Bottom)) --s;
                break;
            }
    int s2 = n - 1, e2 = n - 1;
    if (VectorDot(Side.Normal, {1, 1, 1}) != 0 || Side.Distance != -1)
        for (int i = 0; i < n; ++i)
            if (On(i, Side)) {
                s2 = e2 = i;
                while (e2 < n - 1 && On(e2 + 1, Side)) ++e2;
                break;
            }

    if (s2 == e2) {
        Blend.SetEndKind(1);
        R1 = n - 1;
    } else {
        Blend.SetEndKind(2);
        R1 = s2 + 1;
    }
    if (e == s) {
        Blend.SetStartKind(1);
        R0 = 0;
    } else {
        Blend.SetStartKind(2);
        R0 = e - 1;
    }
    Blend.SetPosition(Fraction);
    Blend.SetStartValue(0.5);
    Blend.SetEndValue(0.8);
}

void BuildVolumeCurve(const TTarvoCurve& P, const TTarvoCurve& Q, TTarvoCurve& Control, double Fraction) {
    CheckSameCount(P, Q, "BuildVolumeCurve");
    const int n = P.Count();
    TWeightBlend Blend;
    int R0 = 0, R1 = 0;
    SetupVolumeBlend(P, Q, Blend, Fraction, R0, R1);

    Control.Spline().Assign(P.Spline());
    for (int i = 0; i < n; ++i) {
        TRPoint& C = *Control.Point(i);
        C.SetXYZ(0, (P.Point(i)->Y + Q.Point(i)->Y) / 2, (P.Point(i)->Z + Q.Point(i)->Z) / 2);
        C.W = 0;
    }
    // The girth of the mean section over the range, as a fraction of the range's whole girth.
    double G = 0;
    for (int i = R0 + 1; i <= R1; ++i) {
        const TRPoint &A = *Control.Point(i - 1), &B = *Control.Point(i);
        G += std::hypot(B.Y - A.Y, B.Z - A.Z);
        Control.Point(i)->W = G;
    }
    if (G > 0)
        for (int i = 0; i < n; ++i) Control.Point(i)->W /= G;

    for (int i = 0; i < n; ++i) {
        const double T = Control.Point(i < R0 ? R0 : i > R1 ? R1 : i)->W;
        const double w = 2 * Blend.PointAtX(T).Y - 1;
        const TRPoint &A = *P.Point(i), &B = *Q.Point(i);
        const double Dx = B.X - A.X, Dy = B.Y - A.Y, Dz = B.Z - A.Z;
        TRPoint& C = *Control.Point(i);
        // Sections at one station have no length to spread the shift in x over.
        C.X = (A.X + B.X) / 2 + (Dx != 0 ? Dy * Dy * w / (2 * Dx) : 0);
        C.Y = (A.Y + B.Y) / 2 - w * Dy / 2;
        C.Z = (A.Z + B.Z) / 2 - w * Dz / 2;
    }
    Control.Invalidate(false);
}

}  // namespace sarnova
