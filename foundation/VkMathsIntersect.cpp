// Intersections, closest points, triangle cuts, circle and arc frames and the elliptic vector.
#include "foundation/VkMathsIntersect.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "foundation/Errors.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

namespace {

constexpr double ParallelTolerance = 1e-9;
constexpr double CutSideTolerance = 1e-10;
// The ends of an arc within this fraction of the radius of lying opposite each other make a half circle.
constexpr double DiameterTolerance = 1e-9;

// Where Point + t Direction meets the plane, with one correcting step when the first result misses
// the plane by more than 1e-9. False, and nothing written, when the line is within 1e-9 of parallel.
bool LineMeetsPlane(const TMVector& Point, const TMVector& Direction, const TMPlane& Plane, TMVector& Hit,
                    double& T) {
    const double A = VectorDot(Direction, Plane.Normal);
    if (std::fabs(A) < ParallelTolerance) return false;
    double Param = (Plane.Distance - VectorDot(Point, Plane.Normal)) / A;
    TMVector P = VectorAdd(Point, VectorScale(Direction, Param));
    if (std::fabs(VectorDot(Plane.Normal, P) - Plane.Distance) > ParallelTolerance) {
        const double G = (Plane.Distance - VectorDot(P, Plane.Normal)) / A;
        P = VectorAdd(P, VectorScale(Direction, G));
        Param += G;
    }
    Hit = P;
    T = Param;
    return true;
}

// The common point of three planes; false, and nothing written, when two or three of them are
// within 1e-9 of parallel.
bool ThreePlanesMeet(const TMPlane& P1, const TMPlane& P2, const TMPlane& P3, TMVector& Point) {
    // VectorCross(B, A) is A x B.
    const TMVector N23 = VectorCross(P3.Normal, P2.Normal);
    const TMVector N31 = VectorCross(P1.Normal, P3.Normal);
    const TMVector N12 = VectorCross(P2.Normal, P1.Normal);
    const double Det = VectorDot(P1.Normal, N23);
    if (std::fabs(Det) <= ParallelTolerance) return false;
    Point = VectorScale(VectorSum3(VectorScale(N23, P1.Distance), VectorScale(N31, P2.Distance),
                                   VectorScale(N12, P3.Distance)),
                        1 / Det);
    return true;
}

// The crossing of an edge whose ends the side test put on opposite sides of the plane. A long edge
// can graze the plane so closely that the line routine calls it parallel; such an edge still crosses,
// so it is cut where the signed distances of its ends say rather than failing the whole slice.
TMVector EdgeCrossing(const TMVector& P, const TMVector& Q, const TMPlane& Plane) {
    TMVector Hit;
    double T;
    if (LineMeetsPlane(P, VectorNormalise(VectorFromTo(P, Q)), Plane, Hit, T)) return Hit;
    const double SP = VectorDot(Plane.Normal, P) - Plane.Distance;
    const double SQ = VectorDot(Plane.Normal, Q) - Plane.Distance;
    return VectorAdd(P, VectorScale(VectorFromTo(P, Q), SP / (SP - SQ)));
}

// Records one point of an axis-plane cut; true once the second point (the end) is in.
bool RecordCutPoint(const TMVector& P, int& Count, TMSegment& Cut) {
    if (Count == 0) {
        Cut.Start = P;
        Count = 1;
        return false;
    }
    Cut.End = P;
    Count = 2;
    return true;
}

// Cut by the plane w = H where w is one coordinate: exact comparisons and linear interpolation only.
int AxisPlaneCutsTriangle(double TMVector::*W, double H, const TMVector* V, TMSegment& Cut) {
    if (V[0].*W == V[1].*W && V[1].*W == V[2].*W) {
        Cut = {};
        return V[0].*W == H ? ptcInPlane : ptcNone;
    }
    int Count = 0;
    for (int I = 0; I < 3; ++I)
        if (V[I].*W == H && RecordCutPoint(V[I], Count, Cut)) return ptcSegment;
    for (int I = 0; I < 3; ++I) {
        const TMVector& P = V[I];
        const TMVector& Q = V[(I + 1) % 3];
        if (P.*W == H || Q.*W == H || !Between(P.*W, Q.*W, H)) continue;
        TMVector X = VectorAdd(P, VectorScale(VectorFromTo(P, Q), (H - P.*W) / (Q.*W - P.*W)));
        X.*W = H;
        if (RecordCutPoint(X, Count, Cut)) return ptcSegment;
    }
    if (Count == 1) {
        Cut.End = Cut.Start;
        return ptcTouch;
    }
    Cut = {};
    return ptcNone;
}

int GeneralPlaneCutsTriangle(const TMPlane& Plane, const TMVector* V, TMSegment& Cut) {
    const int S[3] = {PlaneSide(Plane, V[0], CutSideTolerance), PlaneSide(Plane, V[1], CutSideTolerance),
                      PlaneSide(Plane, V[2], CutSideTolerance)};
    int OnPlane = 0;
    for (int Side : S) OnPlane += Side == 0;
    if (OnPlane == 3 || (OnPlane == 0 && S[0] == S[1] && S[1] == S[2])) {
        Cut = {};
        return OnPlane == 3 ? ptcInPlane : ptcNone;
    }
    if (OnPlane == 2) {
        const int Off = S[0] != 0 ? 0 : S[1] != 0 ? 1 : 2;
        Cut.Start = V[Off == 0 ? 1 : 0];
        Cut.End = V[Off == 2 ? 1 : 2];
        return ptcSegment;
    }
    if (OnPlane == 1) {
        const int On = S[0] == 0 ? 0 : S[1] == 0 ? 1 : 2;
        const TMVector& A = V[On == 0 ? 1 : 0];
        const TMVector& B = V[On == 2 ? 1 : 2];
        Cut.Start = V[On];
        if (S[(On + 1) % 3] == S[(On + 2) % 3]) {
            Cut.End = V[On];
            return ptcTouch;
        }
        Cut.End = EdgeCrossing(A, B, Plane);
        return ptcCrossing;
    }
    // No vertex on the plane: one vertex lies alone on its side.
    const int Lone = S[1] == S[2] ? 0 : S[0] == S[2] ? 1 : 2;
    const TMVector& A = V[Lone == 0 ? 1 : 0];
    const TMVector& B = V[Lone == 2 ? 1 : 2];
    Cut.Start = EdgeCrossing(A, V[Lone], Plane);
    Cut.End = EdgeCrossing(B, V[Lone], Plane);
    return ptcCrossing;
}

// Projections of a cut's ends on U, the cut turned so that its start comes first along U.
void OrderAlong(const TMVector& U, TMSegment& Cut, double& S, double& E) {
    S = VectorDot(Cut.Start, U);
    E = VectorDot(Cut.End, U);
    if (S > E) {
        std::swap(Cut.Start, Cut.End);
        std::swap(S, E);
    }
}

// The common terms of two lines Point + t Direction.
struct TLinePairTerms {
    double A, B, C, D, E, Det;
};

TLinePairTerms LinePairTerms(const TMVector& D1, const TMVector& D2, const TMVector& W) {
    TLinePairTerms R;
    R.A = VectorDot(D1, D1);
    R.B = VectorDot(D1, D2);
    R.C = VectorDot(D2, D2);
    R.D = VectorDot(D1, W);
    R.E = VectorDot(D2, W);
    R.Det = R.A * R.C - R.B * R.B;
    return R;
}

TLinePairTerms LinePairTerms(const TMLine& L1, const TMLine& L2) {
    return LinePairTerms(L1.Direction, L2.Direction, VectorFromTo(L2.Point, L1.Point));
}


bool IsZero(const TMVector& V) { return V.X == 0 && V.Y == 0 && V.Z == 0; }

// Sweep from XAxis to the direction ToEnd, taken the long way round (2 pi minus the angle) when the
// turn from the start to the end does not run about Normal.
double SweepAbout(const TMVector& XAxis, const TMVector& ToEnd, const TMVector& Turn, const TMVector& Normal) {
    const double Angle = VectorAngle(XAxis, ToEnd);
    return VectorLength(VectorAdd(Turn, Normal)) >= 0.5 ? Angle : 2 * std::numbers::pi - Angle;
}

// Centre, radius, start axis and start angle shared by the arcs built from their ends and centre.
TMArc ArcFromEnds(const TMVector& S, const TMVector& E, const TMVector& C) {
    TMArc Arc;
    Arc.Centre = C;
    Arc.Radius = (VectorDistance(C, S) + VectorDistance(C, E)) / 2;
    Arc.XAxis = VectorNormalise(VectorFromTo(C, S));
    Arc.StartAngle = 0;
    return Arc;
}

// Unit normal along unit(E - C) x unit(S - C).
TMVector EndsNormal(const TMVector& S, const TMVector& E, const TMVector& C) {
    return VectorNormalise(VectorCross(VectorNormalise(VectorFromTo(C, S)), VectorNormalise(VectorFromTo(C, E))));
}

}  // namespace

// ---- Lines and planes ----

TMVector IntersectionOfLineAndPlane(const TMLine& L, const TMPlane& Plane, double& T) {
    TMVector Hit;
    if (!LineMeetsPlane(L.Point, L.Direction, Plane, Hit, T))
        throw EError("VkMaths - IntersectionOfLineAndPlane: Intersection attempted with a line parallel to plane");
    return Hit;
}

TMVector IntersectionPointOfLineAndPlane(const TMLine& L, const TMPlane& Plane) {
    double T;
    return IntersectionOfLineAndPlane(L, Plane, T);
}

TMVector IntersectionOfPointsAndPlane(const TMVector& A, const TMVector& B, const TMPlane& Plane) {
    TMVector Hit;
    double T;
    if (!LineMeetsPlane(A, VectorNormalise(VectorFromTo(A, B)), Plane, Hit, T))
        throw EError("VkMaths - IntersectionOfPointsAndPlane: Intersection attempted with a line parallel to plane");
    return Hit;
}

TMLine IntersectionOfTwoPlanes(const TMPlane& P1, const TMPlane& P2) {
    const TMVector& N1 = P1.Normal;
    const TMVector& N2 = P2.Normal;
    TMLine Line;
    Line.Direction = VectorNormalise(VectorCross(N1, N2));
    if (!(VectorLength(Line.Direction) > 0)) return Line;
    const double K = VectorDot(N1, N2);
    const double Q = 1 - K * K;
    Line.Point = VectorAdd(VectorScale(N1, (P1.Distance - K * P2.Distance) / Q),
                           VectorScale(N2, (P2.Distance - K * P1.Distance) / Q));
    return Line;
}

TMVector IntersectionOfThreePlanes(const TMPlane& P1, const TMPlane& P2, const TMPlane& P3) {
    TMVector Point;
    if (!ThreePlanesMeet(P1, P2, P3, Point))
        throw EError("VkMaths.IntersectionOfThreePlanes - Two/Three planes are parallel");
    return Point;
}

bool LineIntersectsTriangle(const TMLine& L, const TMVector& V0, const TMVector& V1, const TMVector& V2) {
    const TMVector E1 = VectorFromTo(V0, V1);
    const TMVector E2 = VectorFromTo(V0, V2);
    const TMVector Q = VectorCross(L.Direction, E2);
    const double A = VectorDot(Q, E1);
    if (A > -ParallelTolerance && A < ParallelTolerance) return false;
    const double F = 1 / A;
    const TMVector S = VectorFromTo(V0, L.Point);
    const double U = F * VectorDot(S, Q);
    if (U < 0 || U > 1) return false;
    const double V = F * VectorDot(L.Direction, VectorCross(S, E1));
    if (V < 0 || V > 1) return false;
    return U + V <= 1;
}

// ---- Closest points ----

TMVector PointOnLineClosestToPoint(const TMLine& L, const TMVector& P) {
    const double DD = VectorDot(L.Direction, L.Direction);
    if (!(DD > 0))
        throw EError("VkMaths.PointOnLineClosestToPoint - Line has zero magnitude direction vector");
    // The closed form of meeting the plane through P normal to the line. Going through the line-plane
    // routine would refuse short directions (D . D below 1e-9) as "parallel".
    return PointOnLine(L, VectorDot(VectorFromTo(L.Point, P), L.Direction) / DD);
}

double DistanceFromPointToLine(const TMVector& P, const TMLine& L) {
    if (!(VectorDot(L.Direction, L.Direction) > 0))
        throw EError("VkMaths.DistanceFromPointToLine - Line has zero magnitude direction vector");
    return VectorDistance(P, PointOnLineClosestToPoint(L, P));
}


TMVector PointOnLineClosestToLine(const TMLine& L1, const TMLine& L2) {
    const TLinePairTerms K = LinePairTerms(L1, L2);
    if (std::fabs(K.Det) < ParallelTolerance)
        throw EError("VkMaths - PointOnLineClosestToLine: attempted with parallel lines");
    return PointOnLine(L1, (K.B * K.E - K.C * K.D) / K.Det);
}

TMVector PointOnLineClosestToSegment(const TMLine& L, const TMSegment& S) {
    const TMVector U = VectorFromTo(S.Start, S.End);
    const TLinePairTerms K = LinePairTerms(L.Direction, U, VectorFromTo(S.Start, L.Point));
    if (std::fabs(K.Det) >= ParallelTolerance) {
        const double Q = (K.A * K.E - K.B * K.D) / K.Det;
        if (Q < 0) return PointOnLineClosestToPoint(L, S.Start);
        if (Q > 1) return PointOnLineClosestToPoint(L, S.End);
        return PointOnLine(L, (K.B * K.E - K.C * K.D) / K.Det);
    }
    // A segment of no length is a point; the plane normal to it below would have no normal at all.
    if (K.C == 0) return PointOnLineClosestToPoint(L, S.Start);
    return IntersectionPointOfLineAndPlane(L, PlaneFromNormalAndPoint(U, VectorMidpoint(S.Start, S.End)));
}

TMClosestApproach ClosestApproachOfLines(const TMLine& L1, const TMLine& L2) {
    const TLinePairTerms K = LinePairTerms(L1, L2);
    TMClosestApproach R;
    R.LineA = L1;
    R.LineB = L2;
    R.Det = K.Det;
    if (std::fabs(K.Det) < ParallelTolerance) return R;
    R.TA = (K.B * K.E - K.C * K.D) / K.Det;
    R.TB = (K.A * K.E - K.B * K.D) / K.Det;
    R.PA = PointOnLine(L1, R.TA);
    R.PB = PointOnLine(L2, R.TB);
    R.Join = LineThroughPoints(R.PA, R.PB);
    return R;
}

TMClosestApproach ClosestApproachOfSegments(const TMLine& S1, const TMLine& S2) {
    const TLinePairTerms K = LinePairTerms(S1, S2);
    double SN, SD, TN, TD;
    if (K.Det < ParallelTolerance) {
        SN = 0;
        SD = 1;
        TN = K.E;
        TD = K.C;
    } else {
        SD = TD = K.Det;
        SN = K.B * K.E - K.C * K.D;
        if (SN < 0) {
            SN = 0;
            TN = K.E;
            TD = K.C;
        } else if (SN > SD) {
            SN = SD;
            TN = K.E + K.B;
            TD = K.C;
        } else {
            TN = K.A * K.E - K.B * K.D;
        }
    }
    // Clamping the second segment moves the first one's point again.
    auto ClampFirst = [&](double Num) {
        if (Num < 0) {
            SN = 0;
        } else if (Num > K.A) {
            SN = SD;
        } else {
            SN = Num;
            SD = K.A;
        }
    };
    if (TN < 0) {
        TN = 0;
        ClampFirst(-K.D);
    }
    if (TN > TD) {
        TN = TD;
        ClampFirst(K.B - K.D);
    }
    TMClosestApproach R;
    R.LineA = S1;
    R.LineB = S2;
    R.TA = std::fabs(SN) < ParallelTolerance ? 0 : SN / SD;
    R.TB = std::fabs(TN) < ParallelTolerance ? 0 : TN / TD;
    R.PA = PointOnLine(S1, R.TA);
    R.PB = PointOnLine(S2, R.TB);
    R.Join = {R.PA, VectorFromTo(R.PA, R.PB)};
    R.Det = K.Det;
    return R;
}

TMVector PointBetweenTwoLines(const TMLine& L1, const TMLine& L2) {
    const TMClosestApproach R = ClosestApproachOfLines(L1, L2);
    if (std::fabs(R.Det) < ParallelTolerance)
        throw EError("VkMaths - PointBetweenTwoLines: attempted with parallel lines");
    return VectorMidpoint(R.PA, R.PB);
}

// ---- Triangles ----

bool TriangleStraddlesPlane(const TMPlane& Plane, const TMVector& V0, const TMVector& V1, const TMVector& V2) {
    const int S = PlaneSide(Plane, V0, 0) + PlaneSide(Plane, V1, 0) + PlaneSide(Plane, V2, 0);
    return S > -3 && S < 3;
}

bool TriangleArrayStraddlesPlane(const TMPlane& Plane, const TMTriangle& T) {
    return TriangleStraddlesPlane(Plane, T[0], T[1], T[2]);
}

int PlaneCutsTriangle(const TMPlane& Plane, const TMVector& V0, const TMVector& V1, const TMVector& V2,
                      TMSegment& Cut) {
    const TMVector V[3] = {V0, V1, V2};
    const TMVector& N = Plane.Normal;
    // A plane normal to an axis is w = Distance / N.w (plus or minus Distance for a unit normal).
    if (N.Y == 0 && N.Z == 0 && N.X != 0) return AxisPlaneCutsTriangle(&TMVector::X, Plane.Distance / N.X, V, Cut);
    if (N.X == 0 && N.Z == 0 && N.Y != 0) return AxisPlaneCutsTriangle(&TMVector::Y, Plane.Distance / N.Y, V, Cut);
    if (N.X == 0 && N.Y == 0 && N.Z != 0) return AxisPlaneCutsTriangle(&TMVector::Z, Plane.Distance / N.Z, V, Cut);
    return GeneralPlaneCutsTriangle(Plane, V, Cut);
}

int PlaneCutsTriangleArray(const TMPlane& Plane, const TMTriangle& T, TMSegment& Cut) {
    return PlaneCutsTriangle(Plane, T[0], T[1], T[2], Cut);
}

bool IntersectionOfTriangles(const TMTriangle& T1, const TMTriangle& T2, TMSegment& Cut) {
    Cut = {};
    const TMPlane P1 = PlaneFromTriangle(T1);
    const TMPlane P2 = PlaneFromTriangle(T2);
    if (VectorDot(P1.Normal, P2.Normal) >= 1) return false;
    if (!TriangleArrayStraddlesPlane(P1, T2) || !TriangleArrayStraddlesPlane(P2, T1)) return false;
    TMSegment C1, C2;
    const int Code2 = PlaneCutsTriangleArray(P1, T2, C2);
    const int Code1 = PlaneCutsTriangleArray(P2, T1, C1);
    auto IsSegment = [](int Code) { return Code == ptcCrossing || Code == ptcSegment; };
    if (!IsSegment(Code1) || !IsSegment(Code2)) return false;
    const TMVector U = IntersectionOfTwoPlanes(P1, P2).Direction;
    double S1, E1, S2, E2;
    OrderAlong(U, C1, S1, E1);
    OrderAlong(U, C2, S2, E2);
    if (!(E2 >= S1 && E1 >= S2)) return false;
    Cut.Start = S1 >= S2 ? C1.Start : C2.Start;
    Cut.End = E1 <= E2 ? C1.End : C2.End;
    return true;
}

// ---- Circles and arcs ----

TMCircle MakeCircle(const TMVector& Centre, const TMVector& Normal, double Radius) {
    TMCircle Circle;
    Circle.Centre = Centre;
    Circle.Radius = Radius;
    const TMVector N = VectorLength(Normal) == 0 ? ZAxisVector : VectorNormalise(Normal);
    Circle.Normal = N;
    const double A = std::fabs(N.X), B = std::fabs(N.Y), C = std::fabs(N.Z);
    const TMVector U0 = A >= B && A >= C ? YAxisVector : XAxisVector;
    Circle.YAxis = VectorNormalise(VectorCross(N, U0));
    Circle.XAxis = VectorNormalise(VectorCross(N, Circle.YAxis));
    return Circle;
}

TMCircle CircleFromCentreAndPoints(const TMVector& P1, const TMVector& P2, const TMVector& Centre) {
    return MakeCircle(Centre, EndsNormal(P1, P2, Centre),
                      (VectorDistance(Centre, P1) + VectorDistance(Centre, P2)) / 2);
}

TMArc ArcThroughPoints(const TMVector& A, const TMVector& B, const TMVector& C) {
    TMArc Arc;
    if (!(TriangleArea(A, B, C) > 0)) return Arc;  // collinear or coincident: radius 0
    const TMVector P = VectorNormalise(VectorFromTo(A, B));
    const TMVector Q = VectorNormalise(VectorFromTo(B, C));
    const TMVector N = VectorNormalise(VectorCross(P, Q));
    // The planes miss each other only when the turn at B is within 1e-9 of straight (or of a full
    // reversal): such points are as good as collinear and get radius 0 as well, rather than an error
    // from a routine that answers collinear points with a value.
    TMVector Centre;
    if (!ThreePlanesMeet(PlaneFromNormalAndPoint(N, A), PlaneFromNormalAndPoint(P, VectorMidpoint(A, B)),
                         PlaneFromNormalAndPoint(Q, VectorMidpoint(B, C)), Centre))
        return Arc;
    Arc.Normal = N;
    Arc.Centre = Centre;
    const TMVector ToA = VectorFromTo(Arc.Centre, A);
    const TMVector ToC = VectorFromTo(Arc.Centre, C);
    Arc.Radius = VectorLength(ToA);
    Arc.XAxis = VectorNormalise(ToA);
    Arc.YAxis = VectorNormalise(VectorCross(N, Arc.XAxis));
    Arc.StartAngle = 0;
    // A and C on one diameter: the centre found carries rounding, so the turn from A to C is a
    // rounding-noise vector of either sign, and C counts as opposite A when it is within a tolerance
    // relative to the radius. Judged by exact equality, such a half circle got a zero sweep.
    if (VectorLength(VectorAdd(ToA, ToC)) <= DiameterTolerance * Arc.Radius) {
        Arc.Sweep = std::numbers::pi;
        return Arc;
    }
    const TMVector G = VectorNormalise(VectorCross(VectorNormalise(ToA), VectorNormalise(ToC)));
    if (!IsZero(G))
        Arc.Sweep = SweepAbout(Arc.XAxis, ToC, G, N);
    else  // A and C the same point
        Arc.Sweep = 0;
    return Arc;
}

TMArc ArcFromEndsAndCentre(const TMVector& S, const TMVector& E, const TMVector& C) {
    TMArc Arc = ArcFromEnds(S, E, C);
    Arc.Normal = EndsNormal(S, E, C);
    Arc.YAxis = VectorNormalise(VectorCross(Arc.Normal, Arc.XAxis));
    Arc.Sweep = VectorAngle(Arc.XAxis, VectorFromTo(C, E));
    return Arc;
}

TMArc ArcFromEndsCentreAndNormal(const TMVector& S, const TMVector& E, const TMVector& C, const TMVector& Ref) {
    TMArc Arc = ArcFromEnds(S, E, C);
    const TMVector N = EndsNormal(S, E, C);
    if (VectorLength(N) < 1e-4)  // S and E on one line through C: the turn is Ref's
        Arc.Normal = Ref;
    else if (VectorLength(VectorAdd(N, Ref)) < 0.9)
        Arc.Normal = VectorNegate(N);
    else
        Arc.Normal = N;
    Arc.YAxis = VectorNormalise(VectorCross(Arc.Normal, Arc.XAxis));
    // Measured with the unflipped normal, so that the arc runs positively about Ref.
    Arc.Sweep = SweepAbout(Arc.XAxis, VectorFromTo(C, E), N, Ref);
    return Arc;
}

TMArc ArcFromAngles(const TMVector& Centre, const TMVector& Normal, double Radius, double Start, double End) {
    TMArc Arc;
    Arc.Centre = Centre;
    Arc.Normal = Normal;
    Arc.Radius = Radius;
    Arc.XAxis = {std::cos(Start), std::sin(Start), 0};
    Arc.YAxis = VectorNormalise(VectorCross(Normal, Arc.XAxis));
    Arc.StartAngle = 0;
    Arc.Sweep = End - Start;
    return Arc;
}

// ---- Ellipse ----

TMVector EllipticVector(const TMVector& A, const TMVector& B, const TMVector& D) {
    TMVector M = A, O = B;
    if (VectorLength(A) < std::fabs(VectorDot(B, VectorNormalise(A)))) std::swap(M, O);
    const TMVector UM = VectorNormalise(M);
    const TMVector N = VectorNormalise(VectorCross(VectorNormalise(O), UM));
    const TMVector K = VectorNormalise(VectorCross(UM, N));
    const double X = std::fabs(VectorDot(O, UM));
    const double Y = std::fabs(VectorDot(O, K));
    const double SemiA = VectorLength(M);
    const double SemiB = std::sqrt(Y * Y / (1 - X * X / (SemiA * SemiA)));
    const TMVector T = VectorNormalise(VectorCross(N, VectorNormalise(D)));
    double TX = 0, TY = 0;
    Solve3DLinearEquation(UM, K, T, TX, TY, true);
    const double F = 1 / std::sqrt(TX * TX / (SemiA * SemiA) + TY * TY / (SemiB * SemiB));
    return VectorScale(VectorAdd(VectorScale(UM, TX), VectorScale(K, TY)), F);
}

}  // namespace sarnova
