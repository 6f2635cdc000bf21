// Section hydrostatics.
#include "naval/VkHydro.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "document/Settings.h"
#include "foundation/Errors.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

namespace {

// Design mass units per kilogram.
constexpr double MassPerKilogram[] = {0.001, 1.0, 0.0009842065276110606, 2.2046226218487757};

double SignedDistance(const TMPlane& Plane, const TMVector& P) {
    return VectorDot(Plane.Normal, P) - Plane.Distance;
}

// Weights exact for 1, x and x^2 over three sections spaced H0 and H1 (Simpson's rule when equal).
void AddThreePointWeights(double H0, double H1, double& W0, double& W1, double& W2) {
    const double D = H0 * H1 * (H0 + H1);
    const double M = (H1 * H1 - H0 * H0) / 2;
    const double N = (H0 * H0 * H0 + H1 * H1 * H1) / 3;
    const double A = (H1 * N - H1 * H1 * M) / D;
    const double C = (H0 * H0 * M + H0 * N) / D;
    W0 += A;
    W2 += C;
    W1 += H0 + H1 - A - C;
}

// Weights exact for cubics over four sections spaced H0, H1, H2, positions measured from the second.
void AddFourPointWeights(double H0, double H1, double H2, double& W0, double& W1, double& W2,
                         double& W3) {
    const double T0 = -H0;
    const double T2 = H1;
    const double T3 = H1 + H2;
    TMMatrix M = ZeroMatrix;
    double P0 = 1, P2 = 1, P3 = 1;
    for (int Row = 0; Row < 3; ++Row) {
        P0 *= T0;
        P2 *= T2;
        P3 *= T3;
        M[Row][0] = P2;
        M[Row][1] = P3;
        M[Row][2] = P0;
    }
    M[3][3] = 1;
    const TMVector Integrals{(T3 * T3 - H0 * H0) / 2, (T3 * T3 * T3 + H0 * H0 * H0) / 3,
                             (T3 * T3 * T3 * T3 - H0 * H0 * H0 * H0) / 4};
    const TMVector W = MatrixTransformPoint(MatrixInverse(M), Integrals);
    W2 += W.X;
    W3 += W.Y;
    W0 += W.Z;
    W1 += H0 + H1 + H2 - W.X - W.Y - W.Z;
}

// Where the body leaves the water between a wet section and the end point, the integrand is taken to
// fall to 0 as a power of the distance to that point, the power found from the section's value V at
// distance H from the end and the value VBeyond of its other neighbour at distance HBeyond (a round
// end goes as the square root, a fine end straight). Linear where the values say nothing.
double WaterlineEndPower(double H, double V, double VBeyond, double HBeyond) {
    if (!(V > 0) || !(VBeyond > V) || !(HBeyond > H) || !(H > 0)) return 1;
    return std::clamp(std::log(VBeyond / V) / std::log(HBeyond / H), 0.25, 3.0);
}

// A value whose square goes as d (A + B d) in the distance d to a waterline end: a round end (A > 0,
// as a waterline's breadth where a smooth hull leaves the water) and a fine one (A = 0) alike.
struct TSquareRootFit {
    double A = 0, B = 0;
    double operator()(double D) const { return std::sqrt(std::max(0.0, D * (A + B * D))); }
};

// The fit through the value V at distance H from the end and VBeyond at HBeyond; false where the
// values do not have that shape or do not fall towards the end all the way.
bool FitSquareRoot(double H, double V, double VBeyond, double HBeyond, TSquareRootFit& F) {
    if (!(V > 0) || !(VBeyond > V) || !(HBeyond > H) || !(H > 0)) return false;
    const double Q1 = V * V / H, Q2 = VBeyond * VBeyond / HBeyond;
    F.B = (Q2 - Q1) / (HBeyond - H);
    F.A = Q1 - F.B * H;
    return F.A >= -1e-12 * Q1 && F.A + 2 * F.B * HBeyond >= 0;
}

// The integral of F(d) G(d) for d from D0 to D1, by Gauss-Legendre in the square root of d, which
// takes the square root out of the integrand at the end.
template <typename TG>
double IntegrateSquareRootFit(const TSquareRootFit& F, double D0, double D1, TG G) {
    static constexpr double Nodes[] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267, 0.9602898564975363};
    static constexpr double Weights[] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};
    const double T0 = std::sqrt(D0), T1 = std::sqrt(D1), Mid = (T0 + T1) / 2, Half = (T1 - T0) / 2;
    double Sum = 0;
    for (int K = 0; K < 8; ++K) {
        const double T = Mid + Half * (K < 4 ? -Nodes[K] : Nodes[K - 4]);
        const double D = T * T;
        Sum += Weights[K % 4] * Half * F(D) * G(D) * 2 * T;
    }
    return Sum;
}

// Where the integration weights go: the weight of each section, and optionally what it adds to the
// first and second moments along x beyond the weight times its station (and its square). Values
// that fall to a waterline end as a square root are fitted so over the last two intervals
// (SquareRootEnds), as their steep fall spoils a polynomial there too; others by a power.
struct TWeightFields {
    double TSectionProperties::*Weight;
    double TSectionProperties::*Shift = nullptr;
    double TSectionProperties::*Spread = nullptr;
    bool SquareRootEnds = false;
};

// Integration weights into Fields, the groups formed from the stations and each spacing measured by
// Spacing(a, b). Groups share their end sections; they hold three sections, or four where only one
// would be left over before the last section or an interval taken on its own, and end early where a section coincides with the one before it. The interval
// up to a waterline end is a group of its own: the values Value(i) of the sections are taken to
// fall as a power of the distance to the end (WaterlineEndPower), which gives the wet section its
// weight and puts the piece's centroid and spread where that shape has them.
template <typename TSpacing, typename TValue>
void ComputeWeights(std::vector<TSectionProperties>& S, const TWeightFields& Fields, TSpacing Spacing,
                    TValue Value) {
    double TSectionProperties::*Field = Fields.Weight;
    for (TSectionProperties& R : S) {
        R.*Field = 0;
        if (Fields.Shift) R.*Fields.Shift = 0;
        if (Fields.Spread) R.*Fields.Spread = 0;
    }
    const int N = static_cast<int>(S.size());
    if (N < 2) return;
    auto X = [&S](int I) { return S[static_cast<std::size_t>(I)].Station; };
    auto W = [&S, Field](int I) -> double& { return S[static_cast<std::size_t>(I)].*Field; };
    // Whether the values next to the waterline end End, Near being the wet section next to it and
    // Far the one beyond, are fitted by a square root (F); the interval between Far and Near is then
    // a group of its own as well as the one up to the end.
    auto Fitted = [&](int Near, int End, int Far, TSquareRootFit& F) {
        const double H = Spacing(Near, End);
        return Fields.SquareRootEnds && FitSquareRoot(H, Value(Near), Value(Far), H + Spacing(Far, Near), F);
    };
    // Adds what the fitted values between distances D0 and D1 from the end give the section K at
    // distance DK, shared linearly with the section at distance DOther.
    auto AddFitted = [&](const TSquareRootFit& F, int K, double DK, double DOther, double D0, double D1,
                         double Scale) {
        const double V = Value(K);
        auto Share = [&](double D) { return DOther == DK ? 1.0 : (D - DOther) / (DK - DOther); };
        W(K) += IntegrateSquareRootFit(F, D0, D1, Share) / V;
        if (Fields.Shift)
            S[static_cast<std::size_t>(K)].*Fields.Shift +=
                Scale * IntegrateSquareRootFit(F, D0, D1, [&](double D) { return Share(D) * (DK - D); }) / V;
        if (Fields.Spread)
            S[static_cast<std::size_t>(K)].*Fields.Spread +=
                Scale * Scale *
                IntegrateSquareRootFit(F, D0, D1, [&](double D) { return Share(D) * (DK - D) * (DK - D); }) / V;
    };
    // The piece between the wet section Wet and the end point End, Beyond being Wet's other neighbour.
    auto AddEndPiece = [&](int Wet, int End, int Beyond) {
        const double H = Spacing(Wet, End), HBeyond = H + Spacing(Beyond, Wet);
        // The moments along x: the spacing may be measured along an inclined waterplane.
        const double Scale = H > 0 ? (X(End) - X(Wet)) / H : 0;
        TSquareRootFit F;
        if (Fitted(Wet, End, Beyond, F)) {
            AddFitted(F, Wet, H, H, 0, H, Scale);
            return;
        }
        // (distance to the end)^P: its integral, centroid and variance over the interval.
        const double P = WaterlineEndPower(H, Value(Wet), Value(Beyond), HBeyond);
        const double Offset = H / (P + 2);
        const double Far = (P + 1) / (P + 2);
        const double Weight = H / (P + 1);
        W(Wet) += Weight;
        if (Fields.Shift) S[static_cast<std::size_t>(Wet)].*Fields.Shift += Weight * Offset * Scale;
        if (Fields.Spread)
            S[static_cast<std::size_t>(Wet)].*Fields.Spread +=
                Weight * (Offset * Offset + H * H * ((P + 1) / (P + 3) - Far * Far)) * Scale * Scale;
    };
    // The interval between Far and Near, Near being next to the end End; false where not fitted.
    auto AddBeforeEndPiece = [&](int Near, int End, int Far) {
        TSquareRootFit F;
        if (!Fitted(Near, End, Far, F)) return false;
        const double H = Spacing(Near, End), HFar = H + Spacing(Far, Near);
        const double Scale = H > 0 ? (X(End) - X(Near)) / H : 0;
        AddFitted(F, Near, H, HFar, H, HFar, Scale);
        AddFitted(F, Far, HFar, H, H, HFar, Scale);
        return true;
    };
    auto IsEnd = [&S](int K) { return S[static_cast<std::size_t>(K)].WaterlineEnd; };
    // K is wet, its neighbour on the side Step a waterline end and its other neighbour wet too.
    auto NextToFittedEnd = [&](int K, int Step) {
        const int E = K + Step, O = K - Step;
        if (!Fields.SquareRootEnds || E < 0 || E >= N || O < 0 || O >= N) return false;
        TSquareRootFit F;
        return IsEnd(E) && !IsEnd(K) && !IsEnd(O) && Fitted(K, E, O, F);
    };
    // Whether a group must end at K: the last section, or the one before an interval taken on its own.
    auto RunEndsAt = [&](int K) { return K >= N - 1 || IsEnd(K + 1) || NextToFittedEnd(K + 1, 1); };
    if (N == 2) {
        const double H = Spacing(0, 1);
        W(0) += H / 2;
        W(1) += H / 2;
        return;
    }
    int I = 0;
    while (true) {
        int P = I;
        for (int J = I + 1; J < N; ++J) {
            if (X(J) < X(I) + DefaultTolerance) {
                // J coincides with the start: the later section starts the group.
                ++I;
                P = std::max(P, I);
                continue;
            }
            if (X(J) < X(J - 1) + DefaultTolerance) break;
            // Where the body leaves the water, the hull's shape is not a polynomial through the
            // stations on either side: the interval up to that point is taken on its own.
            if ((IsEnd(J) || NextToFittedEnd(J, 1)) && J > I + 1) break;
            P = J;
            if (IsEnd(P) || IsEnd(I) || NextToFittedEnd(P, 1) || NextToFittedEnd(I, -1)) break;
            const int Size = P - I + 1;
            if (Size == 4 || (Size == 3 && !RunEndsAt(P + 1))) break;
        }
        switch (P - I + 1) {
            case 2: {
                const double H = Spacing(I, I + 1);
                const bool EndAfter = S[static_cast<std::size_t>(I + 1)].WaterlineEnd && I > 0;
                const bool EndBefore = S[static_cast<std::size_t>(I)].WaterlineEnd && I + 2 < N;
                if (EndAfter && !S[static_cast<std::size_t>(I)].WaterlineEnd) {
                    AddEndPiece(I, I + 1, I - 1);
                } else if (EndBefore && !S[static_cast<std::size_t>(I + 1)].WaterlineEnd) {
                    AddEndPiece(I + 1, I, I + 2);
                } else if (!(NextToFittedEnd(I + 1, 1) && AddBeforeEndPiece(I + 1, I + 2, I)) &&
                           !(NextToFittedEnd(I, -1) && AddBeforeEndPiece(I, I - 1, I + 1))) {
                    W(I) += H / 2;
                    W(I + 1) += H / 2;
                }
                break;
            }
            case 3:
                AddThreePointWeights(Spacing(I, I + 1), Spacing(I + 1, I + 2), W(I), W(I + 1), W(I + 2));
                break;
            case 4:
                AddFourPointWeights(Spacing(I, I + 1), Spacing(I + 1, I + 2), Spacing(I + 2, I + 3), W(I),
                                    W(I + 1), W(I + 2), W(I + 3));
                break;
            default:
                break;
        }
        if (P >= N - 1) break;
        I = P;
    }
}

}  // namespace

// ---- The hydrostatic result record ----

void ResetHydrostatics(THydrostaticsData& R) { R = THydrostaticsData(); }

double MassOfVolume(double Density, double Volume) {
    const double Metres = MetresPerDesignUnit();
    const double Mass = GDesignMassUnit < std::size(MassPerKilogram) ? MassPerKilogram[GDesignMassUnit] : 1.0;
    return Density * Metres * Metres * Metres * Mass * Volume;
}

double DisplacementOfVolume(double Volume) { return MassOfVolume(GWaterDensity, Volume); }

double TonnesPerCentimetre(double WaterPlanArea) {
    return DisplacementOfVolume(WaterPlanArea * 0.01 / MetresPerDesignUnit());
}

// ---- Plane tests ----

int WaterplaneSide(const TMPlane& Plane, const TMVector& P) {
    const float D = static_cast<float>(SignedDistance(Plane, P));
    if (D > 1e-10) return 1;
    if (D < -1e-10) return -1;
    return 0;
}

bool IsOnWaterplane(const TMPlane& Plane, const TMVector& P) {
    return std::fabs(static_cast<float>(SignedDistance(Plane, P))) < 1e-10;
}

// ---- TUnderwaterSectionIterator ----

TUnderwaterSectionIterator::TUnderwaterSectionIterator(const TMPlane& Plane, IMVectorSource& Source)
    : FSource(Source.Iterator()), FPlane(Plane) {}

TMVector TUnderwaterSectionIterator::Crossing(const TMVector& A, const TMVector& B) const {
    // From the signed distances, so that points very near the plane never look parallel to it.
    const double DA = SignedDistance(FPlane, A);
    const double DB = SignedDistance(FPlane, B);
    return VectorLerp(A, B, DA / (DA - DB));
}

TMVector TUnderwaterSectionIterator::Advance() {
    TMVector Candidate;
    FPrevious = FLastSource;
    if (FSource->IsLast()) {
        // The outline closes on its first yielded point. Previous becomes that point the second
        // time round, so a closing crossing is made at most once.
        Candidate = FStart;
    } else {
        Candidate = FSource->Next();
        while (!FSource->IsLast() && Side(Candidate) > 0 && Side(FPrevious) >= 0) {
            FPrevious = Candidate;
            Candidate = FSource->Next();
        }
        if (FSource->IsLast() && Side(Candidate) > 0 && Side(FPrevious) >= 0) Candidate = FStart;
    }
    FLastSource = Candidate;
    return Candidate;
}

TMVector TUnderwaterSectionIterator::First() {
    bool Wet = Side(FSource->First()) <= 0;
    while (!Wet && !FSource->IsLast()) Wet = Side(FSource->Next()) <= 0;
    if (!Wet) {
        // Dry: one point on the plane at the section's station.
        const TMVector Last = FSource->Next();
        FStart = FCurrent = PointOnPlaneClosestToPoint(FPlane, {Last.X, 0, 0});
        FLastSource = FPrevious = FCurrent;
        return FCurrent;
    }
    FCurrent = FLastSource = FPrevious = FSource->First();
    if (Side(FCurrent) > 0) {
        FCurrent = Advance();
        if (Side(FCurrent) < 0 && Side(FPrevious) > 0) FCurrent = Crossing(FPrevious, FCurrent);
    }
    FStart = FCurrent;
    return FCurrent;
}

TMVector TUnderwaterSectionIterator::Next() {
    const TMVector SourcePoint = FSource->Current();
    if (VectorsEqualStrict(FCurrent, SourcePoint) || Side(SourcePoint) >= 0) {
        FCurrent = Advance();
        if (Side(FPrevious) * Side(FCurrent) == -1) FCurrent = Crossing(FPrevious, FCurrent);
    } else {
        // The last point yielded was a crossing; the source point after it is below the plane.
        FCurrent = SourcePoint;
    }
    return FCurrent;
}

bool TUnderwaterSectionIterator::Finished() const {
    return VectorsEqualStrict(FCurrent, FStart) && FSource->IsLast();
}

// ---- Per-section integrals ----

void SectionAreaProperties(IMVectorIterator& It, TSectionProperties& R) {
    double S = 0, My = 0, Mz = 0;
    TMBox Box = EmptyBox;
    TMVector P0 = It.First();
    ExtendBoxByVector(P0, Box);
    while (!It.IsLast()) {
        const TMVector P1 = It.Next();
        const double C = P0.Y * P1.Z - P1.Y * P0.Z;
        S += C;
        My += C * (P0.Y + P1.Y);
        Mz += C * (P0.Z + P1.Z);
        ExtendBoxByVector(P1, Box);
        P0 = P1;
    }
    R.Area = std::fabs(S) / 2;
    R.CentroidY = S != 0 ? My / (3 * S) : 0;
    R.CentroidZ = S != 0 ? Mz / (3 * S) : 0;
    R.Extents = Box;
    R.Breadth = Box.Max.Y - Box.Min.Y;
    R.Height = Box.Max.Z - Box.Min.Z;
}

void SectionWaterlineProperties(TUnderwaterSectionIterator& It, TSectionProperties& R) {
    const TMPlane& Plane = It.Plane();
    TMVector P0 = It.First();
    R.FirstX = P0.X;
    // Across the ship within the waterplane: n x X, so Y for a level waterplane.
    const TMVector U = VectorNormalise(VectorCross(XAxisVector, Plane.Normal));
    const TMPlane CentrePlane{U, 0};
    const TMPlane StationPlane{XAxisVector, P0.X};
    R.WaterlineRef = IntersectionOfThreePlanes(Plane, CentrePlane, StationPlane);
    double L = 0, M1 = 0, M2 = 0;
    auto AddSpan = [&](double A, double B) {
        const double D = A - B;
        const double Mid = (A + B) / 2;
        L += D;
        M1 += D * Mid;
        M2 += (D / 2) * (D / 2) * (D / 2) * 2 / 3 + Mid * Mid * D;
    };
    while (!It.IsLast()) {
        const TMVector P1 = It.Next();
        if (IsOnWaterplane(Plane, P0) && IsOnWaterplane(Plane, P1)) {
            const double S0 = VectorDot(U, P0);
            const double S1 = VectorDot(U, P1);
            if ((S0 < 0 && S1 > 0) || (S0 > 0 && S1 < 0)) {
                AddSpan(S0, 0);
                AddSpan(0, S1);
            } else {
                AddSpan(S0, S1);
            }
        }
        P0 = P1;
    }
    if (L < 0) {
        L = -L;
        M1 = -M1;
        M2 = -M2;
    }
    R.WaterlineBreadth = L;
    R.WaterlineMoment = M1;
    R.WaterlineInertia = M2;
    // Divided by the breadth, so the centre does not change sign with the direction of the outline.
    if (L > 0) R.WaterlineCentre = M1 / L;
}

double SectionWettedGirth(TUnderwaterSectionIterator& It) {
    const TMPlane& Plane = It.Plane();
    double Girth = 0;
    TMVector P0 = It.First();
    while (!It.IsLast()) {
        const TMVector P1 = It.Next();
        if (!(IsOnWaterplane(Plane, P0) && IsOnWaterplane(Plane, P1))) Girth += VectorDistance(P0, P1);
        P0 = P1;
    }
    return Girth;
}

double UnderwaterSectionDraught(TUnderwaterSectionIterator& It) {
    const TMPlane& Plane = It.Plane();
    double Depth = -1e33;
    Depth = std::max(Depth, -SignedDistance(Plane, It.First()));
    while (!It.IsLast()) Depth = std::max(Depth, -SignedDistance(Plane, It.Next()));
    return Depth;
}

double DrySectionDepth(const TMPlane& Plane, IMVectorSource& Section) {
    const std::unique_ptr<IMVectorIterator> It = Section.Iterator();
    double Depth = -SignedDistance(Plane, It->First());
    while (!It->IsLast()) Depth = std::max(Depth, -SignedDistance(Plane, It->Next()));
    return Depth;
}

namespace {

// Points at Count equal steps of the length of the chain P (Count + 1 points, both ends kept).
std::vector<TMVector> ResampleByLength(const std::vector<TMVector>& P, int Count) {
    std::vector<double> S(P.size(), 0.0);
    for (std::size_t I = 1; I < P.size(); ++I) S[I] = S[I - 1] + VectorDistance(P[I - 1], P[I]);
    std::vector<TMVector> R;
    R.reserve(static_cast<std::size_t>(Count) + 1);
    std::size_t K = 1;
    for (int J = 0; J <= Count; ++J) {
        const double At = S.back() * J / Count;
        while (K + 1 < P.size() && S[K] < At) ++K;
        const double Span = S[K] - S[K - 1];
        R.push_back(Span > 0 ? VectorLerp(P[K - 1], P[K], std::clamp((At - S[K - 1]) / Span, 0.0, 1.0)) : P[K]);
    }
    return R;
}

// The area of the ruled strip between two resampled outlines; to a point where Q is empty.
double RuledStripArea(const std::vector<TMVector>& P, const std::vector<TMVector>& Q, const TMVector& Apex) {
    double A = 0;
    for (std::size_t K = 0; K + 1 < P.size(); ++K) {
        if (Q.empty()) {
            A += TriangleArea(P[K], P[K + 1], Apex);
        } else {
            A += TriangleArea(P[K], P[K + 1], Q[K + 1]) + TriangleArea(P[K], Q[K + 1], Q[K]);
        }
    }
    return A;
}

double MeanY(const std::vector<TMVector>& P) {
    double Y = 0;
    for (const TMVector& V : P) Y += V.Y;
    return P.empty() ? 0 : Y / static_cast<double>(P.size());
}

}  // namespace

void SectionWettedOutline(TUnderwaterSectionIterator& It, TSectionProperties& R) {
    const TMPlane& Plane = It.Plane();
    std::vector<TMVector> Loop{It.First()};
    while (!It.IsLast()) Loop.push_back(It.Next());
    if (Loop.size() < 3) return;
    // The loop ends on its first point; open it after its first segment in the waterplane.
    const std::size_t N = Loop.size() - 1;
    std::size_t Cut = N;
    for (std::size_t I = 0; I < N && Cut == N; ++I)
        if (IsOnWaterplane(Plane, Loop[I]) && IsOnWaterplane(Plane, Loop[I + 1])) Cut = I;
    std::vector<TMVector> Chain;
    if (Cut < N) {
        for (std::size_t K = 1; K <= N; ++K) Chain.push_back(Loop[(Cut + K) % N]);
        // Ends in the waterplane too: drop the trailing run that lies in it.
        while (Chain.size() > 2 && IsOnWaterplane(Plane, Chain[Chain.size() - 1]) &&
               IsOnWaterplane(Plane, Chain[Chain.size() - 2]))
            Chain.pop_back();
        if (Chain.front().Y < Chain.back().Y) std::reverse(Chain.begin(), Chain.end());
    } else {
        // Submerged: a loop from its highest point, turning one way.
        std::size_t Top = 0;
        double S = 0;
        for (std::size_t I = 0; I < N; ++I) {
            if (Loop[I].Z > Loop[Top].Z) Top = I;
            S += Loop[I].Y * Loop[I + 1].Z - Loop[I + 1].Y * Loop[I].Z;
        }
        for (std::size_t K = 0; K <= N; ++K) Chain.push_back(Loop[(Top + K) % N]);
        // Starboard side first, as a cut section runs.
        if (S > 0) std::reverse(Chain.begin(), Chain.end());
    }
    double Length = 0;
    for (std::size_t I = 1; I < Chain.size(); ++I) Length += VectorDistance(Chain[I - 1], Chain[I]);
    if (!(Length > 0)) return;
    R.WettedOutlines.push_back(ResampleByLength(Chain, WettedOutlinePoints));
}

// ---- TSectionsSummary ----

namespace {
[[noreturn]] void ThrowIndexError(int Index) {
    throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}
}  // namespace

const TSectionProperties& TSectionsSummary::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowIndexError(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

int TSectionsSummary::Add(const TSectionProperties& R) {
    FItems.push_back(R);
    return Count() - 1;
}

void TSectionsSummary::Insert(int Index, const TSectionProperties& R) {
    if (Index < 0 || Index > Count()) ThrowIndexError(Index);
    FItems.insert(FItems.begin() + Index, R);
}

void TSectionsSummary::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ThrowIndexError(Index);
    FItems.erase(FItems.begin() + Index);
}

namespace {

// Where F, of opposite signs at Lo and Hi, is 0 between them, by bisection.
template <typename TF>
double RootBetween(TF F, double Lo, double Hi) {
    const bool PositiveAtLo = F(Lo) > 0;
    for (int I = 0; I < 60; ++I) {
        const double Mid = (Lo + Hi) / 2;
        ((F(Mid) > 0) == PositiveAtLo ? Lo : Hi) = Mid;
    }
    return (Lo + Hi) / 2;
}

// Where between the sections B and A, of depths of opposite signs, the depth is 0, as a fraction of
// the way from B to A: on the parabola through them and C where C is given and lies at its own
// station, else on the straight line.
double CrossingFraction(const TSectionProperties& B, const TSectionProperties& A, const TSectionProperties* C) {
    const double H = A.Station - B.Station;
    if (!(std::fabs(H) > 0)) return 0;
    const double Linear = -B.Depth / (A.Depth - B.Depth);
    if (C == nullptr || std::fabs(C->Station - A.Station) < DefaultTolerance ||
        std::fabs(C->Station - B.Station) < DefaultTolerance)
        return Linear;
    // Newton's form through B, A and C, in the fraction t of the way from B to A.
    const double Tc = (C->Station - B.Station) / H;
    const double D1 = A.Depth - B.Depth;
    const double Curvature = ((C->Depth - B.Depth) / Tc - D1) / (Tc - 1);
    auto Depth = [&](double T) { return B.Depth + D1 * T + Curvature * T * (T - 1); };
    // The parabola keeps the signs at 0 and 1, so a root lies between them.
    return RootBetween(Depth, 0.0, 1.0);
}

}  // namespace

void TSectionsSummary::InsertWaterlineCrossings() {
    std::vector<TSectionProperties> Out;
    Out.reserve(FItems.size());
    for (std::size_t K = 0; K < FItems.size(); ++K) {
        if (K > 0) {
            const TSectionProperties& B = FItems[K - 1];
            const TSectionProperties& A = FItems[K];
            if ((B.Depth > 0 && A.Depth < 0) || (B.Depth < 0 && A.Depth > 0)) {
                // The wet side's next section too, where there is one: the keel curves up to the
                // waterplane, and a straight line through two stations misplaces where it meets it.
                const TSectionProperties* C = nullptr;
                if (B.Depth > 0 && K >= 2 && FItems[K - 2].Depth > 0) C = &FItems[K - 2];
                if (A.Depth > 0 && K + 1 < FItems.size() && FItems[K + 1].Depth > 0) C = &FItems[K + 1];
                const double T = CrossingFraction(B, A, C);
                TSectionProperties X;
                X.Station = B.Station + (A.Station - B.Station) * T;
                X.FirstX = B.FirstX + (A.FirstX - B.FirstX) * T;
                X.WaterlineRef = VectorLerp(B.WaterlineRef, A.WaterlineRef, T);
                X.Extents.Max.X = X.Station;
                X.Extents.Min.X = X.Station;
                X.WaterlineEnd = true;
                Out.push_back(X);
            }
        }
        Out.push_back(FItems[K]);
    }
    FItems = std::move(Out);
}

void TSectionsSummary::RemoveDrySections() {
    std::erase_if(FItems, [](const TSectionProperties& R) { return R.Depth < 0; });
}

void TSectionsSummary::ComputeLengthWeights() {
    auto Spacing = [this](int A, int B) {
        return std::fabs(FItems[static_cast<std::size_t>(B)].Station - FItems[static_cast<std::size_t>(A)].Station);
    };
    ComputeWeights(FItems, {&TSectionProperties::LengthWeight, &TSectionProperties::LengthShift}, Spacing, [this](int I) { return FItems[static_cast<std::size_t>(I)].Area; });
    ComputeWeights(FItems, {&TSectionProperties::GirthWeight, nullptr, nullptr, true}, Spacing,
                   [this](int I) { return FItems[static_cast<std::size_t>(I)].Girth; });
}

namespace {

// Where between the wet section at index Wet and its neighbour Dry, which has no waterline, the
// waterline ends: where the parabola through the squared breadths of Wet and the two wet sections
// before it meets 0 (a round end), else where the breadths run straight to 0, else half way.
double WaterlineEndStation(const std::vector<TSectionProperties>& S, int Wet, int Dry) {
    const int Step = Wet - Dry;
    auto At = [&S](int K) -> const TSectionProperties& { return S[static_cast<std::size_t>(K)]; };
    auto Wetted = [&](int K) { return K >= 0 && K < static_cast<int>(S.size()) && At(K).WaterlineBreadth > 0; };
    const double X0 = At(Wet).Station, XDry = At(Dry).Station, B0 = At(Wet).WaterlineBreadth;
    if (Wetted(Wet + Step) && Wetted(Wet + 2 * Step)) {
        const double X1 = At(Wet + Step).Station, X2 = At(Wet + 2 * Step).Station;
        const double B1 = At(Wet + Step).WaterlineBreadth, B2 = At(Wet + 2 * Step).WaterlineBreadth;
        const double Q0 = B0 * B0, Q1 = B1 * B1, Q2 = B2 * B2;
        if (std::fabs(X1 - X0) > DefaultTolerance && std::fabs(X2 - X1) > DefaultTolerance) {
            const double D01 = (Q1 - Q0) / (X1 - X0), D12 = (Q2 - Q1) / (X2 - X1), C = (D12 - D01) / (X2 - X0);
            auto Q = [&](double X) { return Q0 + D01 * (X - X0) + C * (X - X0) * (X - X1); };
            if (Q(XDry) <= 0) return RootBetween(Q, X0, XDry);
        }
    }
    if (Wetted(Wet + Step)) {
        const double B1 = At(Wet + Step).WaterlineBreadth, X1 = At(Wet + Step).Station;
        if (B1 > B0) {
            const double X = X0 + (X0 - X1) * B0 / (B1 - B0);
            if ((X - X0) * (XDry - X) >= 0) return X;
        }
    }
    return (X0 + XDry) / 2;
}

}  // namespace

void TSectionsSummary::ComputeWaterplaneWeights() {
    // Where the waterline ends between two stations while the body goes on under the water (the
    // section without a waterline still has an area), a point of no breadth marks the end for the
    // waterplane alone.
    std::vector<TSectionProperties> Plane;
    std::vector<int> Source;
    Plane.reserve(FItems.size() + 2);
    const int N = Count();
    for (int K = 0; K < N; ++K) {
        if (K > 0) {
            const TSectionProperties& A = FItems[static_cast<std::size_t>(K - 1)];
            const TSectionProperties& B = FItems[static_cast<std::size_t>(K)];
            const TSectionProperties& Under = A.WaterlineBreadth > 0 ? B : A;
            if ((A.WaterlineBreadth > 0) != (B.WaterlineBreadth > 0) && !A.WaterlineEnd && !B.WaterlineEnd &&
                Under.Area > 0 && B.Station - A.Station > DefaultTolerance) {
                const double X = A.WaterlineBreadth > 0 ? WaterlineEndStation(FItems, K - 1, K)
                                                        : WaterlineEndStation(FItems, K, K - 1);
                TSectionProperties E;
                E.Station = X;
                E.WaterlineRef = VectorLerp(A.WaterlineRef, B.WaterlineRef, (X - A.Station) / (B.Station - A.Station));
                E.WaterlineEnd = true;
                Plane.push_back(E);
                Source.push_back(-1);
            }
        }
        // What the weights need of the section, without its outlines.
        const TSectionProperties& Section = FItems[static_cast<std::size_t>(K)];
        TSectionProperties Light;
        Light.Station = Section.Station;
        Light.WaterlineRef = Section.WaterlineRef;
        Light.WaterlineBreadth = Section.WaterlineBreadth;
        Light.WaterlineInertia = Section.WaterlineInertia;
        Light.WaterlineEnd = Section.WaterlineEnd;
        Plane.push_back(Light);
        Source.push_back(K);
    }
    auto Spacing = [&Plane](int A, int B) {
        return VectorDistance(Plane[static_cast<std::size_t>(A)].WaterlineRef, Plane[static_cast<std::size_t>(B)].WaterlineRef);
    };
    ComputeWeights(Plane,
                   {&TSectionProperties::WaterplaneWeight, &TSectionProperties::WaterplaneShift,
                    &TSectionProperties::WaterplaneSpread, true},
                   Spacing, [&Plane](int I) { return Plane[static_cast<std::size_t>(I)].WaterlineBreadth; });
    ComputeWeights(Plane, {&TSectionProperties::InertiaWeight}, Spacing,
                   [&Plane](int I) { return Plane[static_cast<std::size_t>(I)].WaterlineInertia; });
    for (std::size_t K = 0; K < Plane.size(); ++K) {
        if (Source[K] < 0) continue;
        TSectionProperties& R = FItems[static_cast<std::size_t>(Source[K])];
        R.WaterplaneWeight = Plane[K].WaterplaneWeight;
        R.WaterplaneShift = Plane[K].WaterplaneShift;
        R.WaterplaneSpread = Plane[K].WaterplaneSpread;
        R.InertiaWeight = Plane[K].InertiaWeight;
    }
}

namespace {

bool IsDry(const TSectionProperties& S) { return S.Depth < 0 || S.Area == 0; }

// Two sections at one station are parts of one section when their outlines lie apart.
bool ArePartsOfOneSection(const TSectionProperties& A, const TSectionProperties& B) {
    if (A.Station != B.Station) return false;
    if (IsDry(A) || IsDry(B)) return true;
    const double Gap = 1e-9 * std::max(1.0, std::fabs(A.Station));
    return A.Extents.Max.Y <= B.Extents.Min.Y + Gap || B.Extents.Max.Y <= A.Extents.Min.Y + Gap ||
           A.Extents.Max.Z <= B.Extents.Min.Z + Gap || B.Extents.Max.Z <= A.Extents.Min.Z + Gap;
}

// Adds the part P to the section S: areas, moments, girths and waterline integrals add.
void JoinPart(TSectionProperties& S, TSectionProperties& P) {
    const double Area = S.Area + P.Area;
    if (Area != 0) {
        S.CentroidY = (S.CentroidY * S.Area + P.CentroidY * P.Area) / Area;
        S.CentroidZ = (S.CentroidZ * S.Area + P.CentroidZ * P.Area) / Area;
    }
    S.Area = Area;
    if (!IsDry(P)) S.Extents = IsDry(S) ? P.Extents : UniteBoxes(S.Extents, P.Extents);
    S.Breadth = S.Extents.Max.Y - S.Extents.Min.Y;
    S.Height = S.Extents.Max.Z - S.Extents.Min.Z;
    S.WaterlineBreadth += P.WaterlineBreadth;
    S.WaterlineMoment += P.WaterlineMoment;
    S.WaterlineInertia += P.WaterlineInertia;
    if (S.WaterlineBreadth > 0) S.WaterlineCentre = S.WaterlineMoment / S.WaterlineBreadth;
    S.Depth = std::max(S.Depth, P.Depth);
    S.Girth += P.Girth;
    for (auto& Outline : P.WettedOutlines) S.WettedOutlines.push_back(std::move(Outline));
    std::stable_sort(S.WettedOutlines.begin(), S.WettedOutlines.end(),
                     [](const auto& A, const auto& B) { return MeanY(A) > MeanY(B); });
}

}  // namespace

void TSectionsSummary::JoinSectionParts() {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const TSectionProperties& A, const TSectionProperties& B) { return A.Station < B.Station; });
    std::vector<TSectionProperties> Out;
    Out.reserve(FItems.size());
    for (TSectionProperties& S : FItems) {
        if (!Out.empty() && ArePartsOfOneSection(Out.back(), S))
            JoinPart(Out.back(), S);
        else
            Out.push_back(std::move(S));
    }
    FItems = std::move(Out);
}

void TSectionsSummary::Prepare() {
    JoinSectionParts();
    InsertWaterlineCrossings();
    RemoveDrySections();
    ComputeLengthWeights();
}

TVolumeAndCentre TSectionsSummary::Integrate() const {
    TVolumeAndCentre R;
    double Mx = 0, My = 0, Mz = 0;
    for (const TSectionProperties& S : FItems) {
        const double A = S.Area * S.LengthWeight;
        R.Volume += A;
        Mx += A * S.Station + S.Area * S.LengthShift;
        My += A * S.CentroidY;
        Mz += A * S.CentroidZ;
    }
    if (R.Volume != 0) {
        R.X = Mx / R.Volume;
        R.Y = My / R.Volume;
        R.Z = Mz / R.Volume;
    }
    return R;
}

double TSectionsSummary::WettedArea() const {
    const std::size_t N = FItems.size();
    // Per interval, how much the ruled strips between the outlines exceed the girths times the
    // spacing: the slope of the hull along its length.
    std::vector<double> Factor(N > 0 ? N - 1 : 0, 1.0), Spacing(Factor.size(), 0.0);
    for (std::size_t K = 0; K + 1 < N; ++K) {
        const TSectionProperties& A = FItems[K];
        const TSectionProperties& B = FItems[K + 1];
        Spacing[K] = std::fabs(B.Station - A.Station);
        const double Flat = Spacing[K] * (A.Girth + B.Girth) / 2;
        if (!(Flat > 0)) continue;
        double Ruled = 0;
        if (A.WettedOutlines.size() == B.WettedOutlines.size()) {
            for (std::size_t P = 0; P < A.WettedOutlines.size(); ++P)
                Ruled += RuledStripArea(A.WettedOutlines[P], B.WettedOutlines[P], B.WaterlineRef);
        } else if (B.WettedOutlines.empty()) {
            for (const auto& P : A.WettedOutlines) Ruled += RuledStripArea(P, {}, B.WaterlineRef);
        } else if (A.WettedOutlines.empty()) {
            for (const auto& P : B.WettedOutlines) Ruled += RuledStripArea(P, {}, A.WaterlineRef);
        }
        // The slope can only add area; a strip that comes out smaller was not matched well.
        if (Ruled > Flat) Factor[K] = Ruled / Flat;
    }
    double Wetted = 0;
    for (std::size_t I = 0; I < N; ++I) {
        double F = 1, W = 0, Sum = 0;
        if (I > 0) {
            Sum += Factor[I - 1] * Spacing[I - 1];
            W += Spacing[I - 1];
        }
        if (I + 1 < N) {
            Sum += Factor[I] * Spacing[I];
            W += Spacing[I];
        }
        if (W > 0) F = Sum / W;
        Wetted += FItems[I].Girth * FItems[I].GirthWeight * F;
    }
    // The ends of the immersed body: a transom or a flat end is wet too.
    if (N > 0) Wetted += FItems.front().Area + (N > 1 ? FItems.back().Area : 0);
    return Wetted;
}

void TSectionsSummary::VolumeAndCentroid(TVolumeAndCentre& R) {
    if (Count() < 2) return;
    Prepare();
    R = Integrate();
    R.Volume = std::fabs(R.Volume);
}

void TSectionsSummary::Hydrostatics(THydrostaticsData& R) {
    if (Count() < 2) return;
    Prepare();
    ComputeWaterplaneWeights();
    TMBox Box = EmptyBox;
    for (const TSectionProperties& S : FItems) Box = UniteBoxes(Box, S.Extents);
    R.WaterPlane = WaterPlane;
    R.MinCorner = Box.Min;
    R.MaxCorner = Box.Max;

    const TVolumeAndCentre Body = Integrate();
    const double V = Body.Volume;
    double MaxArea = 0;
    double Aw = 0, AwX = 0, AwY = 0, AwXX = 0, Inertia = 0;
    for (const TSectionProperties& S : FItems) {
        MaxArea = std::max(MaxArea, S.Area);
        const double U = S.WaterplaneWeight;
        Aw += S.WaterlineBreadth * U;
        AwX += S.WaterlineBreadth * (S.Station * U + S.WaterplaneShift);
        AwXX += S.WaterlineBreadth * (S.Station * S.Station * U + 2 * S.Station * S.WaterplaneShift + S.WaterplaneSpread);
        AwY += S.WaterlineMoment * U;
        Inertia += S.WaterlineInertia * S.InertiaWeight;
    }
    R.Volume = V;
    R.LCB = Body.X;
    R.TCB = Body.Y;
    R.VCB = Body.Z;
    R.WettedArea = WettedArea();
    R.MaxSectionArea = MaxArea;

    R.LWL = Box.Max.X - Box.Min.X;
    R.BWL = Box.Max.Y - Box.Min.Y;
    R.Draught = WaterPlane.Distance;
    R.LCBPercent = (R.LCB - Box.Min.X) / R.LWL * 100;
    R.Displacement = DisplacementOfVolume(R.Volume);

    R.WaterPlanArea = Aw;
    if (Aw != 0) {
        R.TPC = TonnesPerCentimetre(Aw);
        R.LCF = AwX / Aw;
        R.TCF = AwY / Aw;
    } else {
        R.TPC = R.LCF = R.TCF = 0;
    }
    R.LCFPercent = (R.LCF - Box.Min.X) / R.LWL * 100;

    R.IL = AwXX - R.LCF * R.LCF * Aw;
    R.IT = Inertia - R.TCF * R.TCF * Aw;
    if (V != 0) {
        R.BMT = R.IT / V;
        R.BML = R.IL / V;
    }
    R.KMT = R.VCB + R.BMT;
    R.KML = R.VCB + R.BML;
    R.GMT = R.KMT - R.KG;
    R.GML = R.KML - R.KG;

    const double Height = Box.Max.Z - Box.Min.Z;
    if (R.LWL != 0 && R.BWL != 0 && Height != 0 && MaxArea != 0) {
        R.MCT = R.Displacement * R.GML / (100 * R.LWL);
        R.CB = V / (R.LWL * R.BWL * Height);
        R.CM = MaxArea / (R.BWL * R.Draught);
        R.CP = V / (R.LWL * MaxArea);
        R.CWP = Aw / (R.LWL * R.BWL);
    }
}

}  // namespace sarnova
