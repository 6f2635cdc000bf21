#include "hulls/GraftSurface.h"

#include <cmath>

#include <algorithm>
#include <limits>
#include <vector>

#include "foundation/CSpline.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/Polygon.h"
#include "surfaces/BSurface.h"
#include "surfaces/MeshGridDirections.h"

namespace sarnova {

namespace {

// The triangles 0, 1, 2 and, for a quadrilateral, 0, 2, 3.
template <class F>
void ForEachTriangle(const TPolygon& P, F Body) {
    if (P.CornerCount() != 4) {
        Body(P);
        return;
    }
    for (const int Third : {1, 2}) {
        TPolygon T(0);
        T.Assign(P);
        T.SetCorner(0, P.CornerPoint(0));
        T.SetCorner(1, P.CornerPoint(Third));
        T.SetCorner(2, P.CornerPoint(Third + 1));
        Body(T);
    }
}

}  // namespace

TBSPNode::TBSPNode(const TPolygon& Polygon) { SetPlane(Polygon); }

TBSPNode::~TBSPNode() = default;

void TBSPNode::SetPlane(const TPolygon& F) {
    Normal = PolygonNormal(F);
    Distance = VectorDot(Normal, F.StoredCorner(0).Vector());
    HasPlane = true;
}

TBSPSide TBSPNode::PointSide(const TMVector& P) const {
    const double S = VectorDot(Normal, P) - Distance;
    if (std::fabs(S) < DefaultTolerance) return bsOn;
    return S > 0 ? bsFront : bsBack;
}

TBSPSide TBSPNode::ClassifyPolygon(const TPolygon& F) const {
    int Z = 0, N = 0, P = 0;
    for (int i = 0; i < 3; ++i) switch (PointSide(F.StoredCorner(i).Vector())) {
            case bsOn: ++Z; break;
            case bsBack: ++N; break;
            default: ++P; break;
        }
    if (Z == 3) return bsOn;
    if (N > 0 && P > 0) return bsSpanning;
    return N > 0 ? bsBack : bsFront;
}

void TBSPNode::AddTo(std::unique_ptr<TBSPNode>& Child, const TPolygon& F) {
    ForEachTriangle(F, [&](const TPolygon& T) {
        if (T.Area() <= BSPAreaThreshold) return;
        if (Child) {
            Child->InsertPolygon(T);
        } else {
            Child = std::make_unique<TBSPNode>(T);
            Child->Polygon = CopyPolygon(T);
        }
    });
}

void TBSPNode::AddBack(const TPolygon& F) { AddTo(Back, F); }

void TBSPNode::AddFront(const TPolygon& F) { AddTo(Front, F); }

void TBSPNode::InsertPolygon(const TPolygon& F) {
    if (F.Area() <= BSPAreaThreshold) return;
    switch (ClassifyPolygon(F)) {
        case bsBack: AddBack(F); break;
        case bsFront: AddFront(F); break;
        case bsSpanning: {
            std::unique_ptr<TPolygon> Above, Below;
            SplitTriangleByPlane(F, Plane(), Above, Below);
            if (Below) AddBack(*Below);
            if (Above) AddFront(*Above);
            break;
        }
        default: break;  // on the plane: dropped
    }
}

TBSPSide TBSPNode::ClassifyPoint(const TMVector& P) const {
    const TBSPSide C = PointSide(P);
    if (C == bsBack && Back) return Back->ClassifyPoint(P);
    if (C == bsFront && Front) return Front->ClassifyPoint(P);
    if (C != bsOn) return C;
    TBSPSide Result = bsOn;
    if (Back && Back->ClassifyPoint(P) == bsFront) Result = bsFront;
    if (Front && Front->ClassifyPoint(P) == bsBack) Result = bsBack;
    return Result;
}

void TBSPNode::AddSurface(const TBSplineSurface& Surface) {
    const auto Add = [this](const TRPoint& A, const TRPoint& B, const TRPoint& C) {
        TPolygon T(0);
        T.SetCorner(0, A);
        T.SetCorner(1, B);
        T.SetCorner(2, C);
        if (T.Area() <= BSPAreaThreshold) return;
        if (HasPlane)
            InsertPolygon(T);
        else
            SetPlane(T);
    };
    for (int j = 0; j + 1 < Surface.NumV(); ++j)
        for (int i = 0; i + 1 < Surface.NumU(); ++i) {
            Add(Surface.Point(i, j), Surface.Point(i + 1, j), Surface.Point(i, j + 1));
            Add(Surface.Point(i, j + 1), Surface.Point(i + 1, j), Surface.Point(i + 1, j + 1));
        }
}

void TBSPNode::ClipTriangle(const TPolygon& F, TBSPSide Side, TPolygonList& List) const {
    const auto Down = [&](const std::unique_ptr<TBSPNode>& Child, TBSPSide ChildSide, const TPolygon& Part) {
        if (Child)
            Child->ClipPolygon(Part, Side, List);
        else if (Side == ChildSide)
            List.Add(CopyPolygon(Part));
    };
    switch (ClassifyPolygon(F)) {
        case bsBack: Down(Back, bsBack, F); break;
        case bsFront: Down(Front, bsFront, F); break;
        case bsSpanning: {
            std::unique_ptr<TPolygon> Above, Below;
            SplitTriangleByPlane(F, Plane(), Above, Below);
            if (Below) Down(Back, bsBack, *Below);
            if (Above) Down(Front, bsFront, *Above);
            break;
        }
        default: break;
    }
}

void TBSPNode::ClipPolygon(const TPolygon& F, TBSPSide Side, TPolygonList& List) const {
    ForEachTriangle(F, [&](const TPolygon& T) { ClipTriangle(T, Side, List); });
}

// ---- Grafting ----

namespace {

TMVector Minus(const TMVector& A, const TMVector& B) { return VectorFromTo(B, A); }

TMVector Mid(const TRPoint& A, const TRPoint& B) { return VectorScale(VectorAdd(A.Vector(), B.Vector()), 0.5); }

double Dist(const TMVector& A, const TMVector& B) { return VectorLength(Minus(A, B)); }

// Point (R, C) of a net with R across Direction: (R, C) for U, (C, R) for V.
TRPoint& At(TBSplineSurface& N, int Direction, int R, int C) { return Direction == 0 ? N.Point(R, C) : N.Point(C, R); }
const TRPoint& At(const TBSplineSurface& N, int Direction, int R, int C) {
    return Direction == 0 ? N.Point(R, C) : N.Point(C, R);
}

// The selection's bounds across Direction (the lines) and along it.
void Bounds(const TNetSelection& S, int Direction, int& Lo, int& Hi, int& ALo, int& AHi) {
    Lo = Direction == 0 ? S.MinU : S.MinV;
    Hi = Direction == 0 ? S.MaxU : S.MaxV;
    ALo = Direction == 0 ? S.MinV : S.MinU;
    AHi = Direction == 0 ? S.MaxV : S.MaxU;
}

void NetDirections(const TBSplineSurface& N, TMVector& U, TMVector& V) {
    const int LU = N.NumU() - 1, LV = N.NumV() - 1;
    U = VectorNormalise(Minus(Mid(N.Point(LU, 0), N.Point(LU, LV)), Mid(N.Point(0, 0), N.Point(0, LV))));
    V = VectorNormalise(Minus(Mid(N.Point(0, LV), N.Point(LU, LV)), Mid(N.Point(0, 0), N.Point(LU, 0))));
}

// The signed turning of the control polygon at (I, J) along the first index (Direction 0) or the
// second.
double Turn(TBSplineSurface& A, int I, int J, int Direction) {
    const TMVector P = A.Point(I, J).Vector();
    const TMVector Prev = (Direction == 0 ? A.Point(I - 1, J) : A.Point(I, J - 1)).Vector();
    const TMVector Next = (Direction == 0 ? A.Point(I + 1, J) : A.Point(I, J + 1)).Vector();
    const TMVector T = Direction == 0 ? MeshPointVDirection(A, I, J) : MeshPointUDirection(A, I, J);
    const TMVector D1 = Minus(P, Prev), D2 = Minus(Next, P);
    const auto Across = [&](const TMVector& D) {
        return VectorNormalise(Minus(D, VectorScale(T, VectorDot(D, T))));
    };
    const double G = VectorLength(VectorAdd(Across(D1), Across(D2)));
    const double Magnitude = G == 0 || G >= 2 ? 0 : 2 * std::sin(2 * std::asin(G / 2)) / G;
    const TMVector W = VectorNormalise(Minus(VectorNormalise(D1), VectorNormalise(D2)));
    const TMVector N = MeshPointNormal(A, I, J);
    return VectorLength(VectorAdd(W, N)) >= std::sqrt(2.0) ? Magnitude : -Magnitude;
}

// The natural cubic through four points at parameter T (0 .. 3).
TMVector CubicAt(const TMVector (&P)[4], double T) {
    TCSpline S;
    for (const TMVector& X : P) S.Add(std::make_unique<TRPoint>(X));
    S.SolveCoefficients();
    const std::unique_ptr<TRPoint> Q = S.PointAt(T);
    return Q ? Q->Vector() : P[1];
}

// The midpoint of the main lines R (from AFrom to ATo along) nearer the local line's midpoint M:
// true when line Beyond is strictly nearer than line R.
bool BeyondIsNearer(const TBSplineSurface& A, int Direction, const TMVector& M, int R, int Beyond, int ALo, int AHi) {
    const TMVector A0 = Mid(At(A, Direction, R, ALo), At(A, Direction, R, AHi));
    const TMVector A1 = Mid(At(A, Direction, Beyond, ALo), At(A, Direction, Beyond, AHi));
    return Dist(M, A0) > Dist(M, A1);
}

void MarkByTree(TBSplineSurface& Net, const TBSPTree& Tree, TBSPSide Wanted) {
    for (int j = 0; j < Net.NumV(); ++j)
        for (int i = 0; i < Net.NumU(); ++i) {
            TRPoint& P = Net.Point(i, j);
            P.Marked = Tree.ClassifyPoint(P.Vector()) == Wanted;
        }
}

}  // namespace

TNetSelection MarkedSelection(const TBSplineSurface& Net) {
    TNetSelection S;
    for (int j = 0; j < Net.NumV(); ++j)
        for (int i = 0; i < Net.NumU(); ++i) {
            if (!Net.Point(i, j).Marked) continue;
            if (S.MinU < 0) {
                S = {i, i, j, j};
                continue;
            }
            S.MinU = std::min(S.MinU, i);
            S.MaxU = std::max(S.MaxU, i);
            S.MinV = std::min(S.MinV, j);
            S.MaxV = std::max(S.MaxV, j);
        }
    return S;
}

void OrientLocal(const TBSplineSurface& Main, TBSplineSurface& Local) {
    TMVector UM, VM, UL, VL;
    NetDirections(Main, UM, VM);
    NetDirections(Local, UL, VL);
    if (std::fabs(VectorDot(UL, UM)) < std::fabs(VectorDot(UL, VM))) {
        Local.SwapUV();
        NetDirections(Local, UL, VL);
    }
    if (VectorLength(VectorAdd(UL, UM)) < std::sqrt(2.0)) {
        Local.ReverseU();
        NetDirections(Local, UL, VL);
    }
    if (VectorLength(VectorAdd(VL, VM)) < std::sqrt(2.0)) Local.ReverseV();
}

void InsertGraftKnots(TBSplineSurface& A, const TNetSelection& MainSel, const TBSplineSurface& L,
                      const TNetSelection& LocalSel, int Direction) {
    A.UpdateKnots();
    int Lo, Hi, ALo, AHi, LLo, LHi, LALo, LAHi;
    Bounds(MainSel, Direction, Lo, Hi, ALo, AHi);
    Bounds(LocalSel, Direction, LLo, LHi, LALo, LAHi);
    const int Lines = Direction == 0 ? A.NumU() : A.NumV();
    int Pos = Lo, C = LLo, Best = -1;
    std::vector<double> Inserted;
    // Every pass either moves on by one line or inserts one knot, so this many passes always suffice.
    const long long PassLimit = 4LL * (LHi - LLo + 2) * (LHi - LLo + 2) + 16;
    for (long long Pass = 0; Hi - Lo < LHi - LLo; ++Pass) {
        if (Pass > PassLimit) throw EGeometryError("GraftSurface - knot insertion does not converge");
        const int R = Pos + 1;
        if (R >= (Direction == 0 ? A.NumU() : A.NumV()))
            throw EGeometryError("GraftSurface - the main surface has too few lines for the graft");
        // The plane across the main line R.
        TMVector Mean{0, 0, 0};
        for (int c = ALo; c <= AHi; ++c)
            Mean = VectorAdd(Mean, Direction == 0 ? MeshPointNormal(A, R, c) : MeshPointNormal(A, c, R));
        Mean = VectorNormalise(Mean);
        const TMVector Along = VectorNormalise(Minus(At(A, Direction, R, AHi).Vector(), At(A, Direction, R, ALo).Vector()));
        const TMVector N = VectorNormalise(VectorCross(Mean, Along));
        const double D = VectorDot(N, At(A, Direction, R, ALo).Vector());
        const auto EndDistance = [&](int l) {
            return VectorDot(N, At(L, Direction, l, LALo).Vector()) - D + VectorDot(N, At(L, Direction, l, LAHi).Vector()) - D;
        };
        double Smallest = 1.7e308;
        for (int l = C + 1; l <= LHi - 1; ++l)
            if (const double E = std::fabs(EndDistance(l)); E < Smallest) {
                Smallest = E;
                Best = l;
            }
        if (Best == C + 1) {
            ++Pos;
            ++C;
            continue;
        }
        const int Order = Direction == 0 ? A.OrderU() : A.OrderV();
        if (Lines + (Hi - Lo) + Order + 1 > MaxKnots || static_cast<int>(Inserted.size()) >= MaxKnots)
            throw EGeometryError("GraftSurface - the main surface cannot take more knots (limit 499)");
        const auto Knot = [&](int I) { return Direction == 0 ? A.KnotU(I) : A.KnotV(I); };
        const double K0 = Knot(Pos + 1), K1 = Knot(Pos + Order);
        // The ratio of the chords from line C to C + 1 and on to Best, on both boundary lines.
        double Ratio = 0;
        for (const int Line : {LALo, LAHi}) {
            const TMVector Pa = At(L, Direction, C, Line).Vector(), Pb = At(L, Direction, C + 1, Line).Vector(),
                           Pc = At(L, Direction, Best, Line).Vector();
            const double Ab = Dist(Pa, Pb), Cb = Dist(Pc, Pb);
            Ratio += Ab + Cb > 0 ? Ab / (Ab + Cb) / 2 : 0.25;
        }
        const double K = TruncateDecimals(K0 + (K1 - K0) * Ratio, 4);
        Inserted.insert(std::upper_bound(Inserted.begin(), Inserted.end(), K), K);
        if (Direction == 0)
            A.InsertKnotU(K);
        else
            A.InsertKnotV(K);
        A.UpdateKnots();
        ++Hi;
        Pos = Lo;
        C = LLo;
    }
}

bool IsOutlier(TBSplineSurface& A, int I, int J) {
    const double Tu = Turn(A, I, J, 0), Tv = Turn(A, I, J, 1);
    const double S = Turn(A, I, J - 1, 0), P = Turn(A, I, J + 1, 0);
    const double Q = Turn(A, I - 1, J, 1), R = Turn(A, I + 1, J, 1);
    const double LowU = std::min(S, P) - 2 * std::fabs(std::min(Q, R));
    const double HighU = std::max(S, P) + 2 * std::fabs(std::max(Q, R));
    const double LowV = std::min(Q, R) - 2 * std::fabs(std::min(S, P));
    const double HighV = std::max(Q, R) + 2 * std::fabs(std::max(S, P));
    constexpr double Tol = 1e-4;
    return LowU - Tol >= Tu || HighU + Tol <= Tu || LowV - Tol >= Tv || HighV + Tol <= Tv;
}

void Smooth(TBSplineSurface& A, int I, int J) {
    if (I <= 0 || I >= A.NumU() - 1 || J <= 0 || J >= A.NumV() - 1 || !IsOutlier(A, I, J)) return;
    const TMVector P = A.Point(I, J).Vector();
    const auto Along = [&](int Direction) {
        const int Last = (Direction == 0 ? A.NumU() : A.NumV()) - 1;
        const int K = Direction == 0 ? I : J;
        TMVector Q[4];
        const int Offsets[4] = {-2, -1, 1, 2};
        for (int n = 0; n < 4; ++n) {
            const int X = std::clamp(K + Offsets[n], 0, Last);
            Q[n] = (Direction == 0 ? A.Point(X, J) : A.Point(I, X)).Vector();
        }
        const double D1 = Dist(P, Q[1]), D2 = Dist(P, Q[2]);
        return CubicAt(Q, 1 + (D1 + D2 > 0 ? D1 / (D1 + D2) : 0.5));
    };
    const TMVector M = VectorScale(VectorAdd(Along(0), Along(1)), 0.5);
    TRPoint& Target = A.Point(I, J);
    Target.X = M.X;
    Target.Y = M.Y;
    Target.Z = M.Z;
}

std::unique_ptr<TBSplineSurface> GraftSurface(const TBSplineSurface& Main, const TBSplineSurface& Local) {
    std::unique_ptr<TBSplineSurface> A = CloneBSplineSurface(Main);
    std::unique_ptr<TBSplineSurface> L = CloneBSplineSurface(Local);
    OrientLocal(*A, *L);

    TNetSelection LocalSel, MainSel;
    {
        TBSPTree Tree;
        Tree.AddSurface(*A);
        MarkByTree(*L, Tree, bsFront);
        LocalSel = MarkedSelection(*L);
    }
    TBSPTree LocalTree;
    LocalTree.AddSurface(*L);
    const TMBox Box = L->GetExtents();
    for (int j = 0; j < A->NumV(); ++j)
        for (int i = 0; i < A->NumU(); ++i) {
            TRPoint& P = A->Point(i, j);
            const bool Inside = P.X >= Box.Min.X && P.X <= Box.Max.X && P.Y >= Box.Min.Y && P.Y <= Box.Max.Y &&
                                P.Z >= Box.Min.Z && P.Z <= Box.Max.Z;
            P.Marked = Inside && LocalTree.ClassifyPoint(P.Vector()) == bsBack;
        }
    MainSel = MarkedSelection(*A);
    // Nothing stands out, or nothing of the main net lies in the local surface: nothing to graft.
    if (LocalSel.IsEmpty() || MainSel.IsEmpty()) return CloneBSplineSurface(Main);

    // Each side of the main selection may take one more line where that lies nearer the local edge.
    if (MainSel.MinU > 0) {
        const TMVector M = Mid(L->Point(LocalSel.MinU, LocalSel.MinV), L->Point(LocalSel.MinU, LocalSel.MaxV));
        if (BeyondIsNearer(*A, 0, M, MainSel.MinU, MainSel.MinU - 1, MainSel.MinV, MainSel.MaxV)) --MainSel.MinU;
    }
    if (MainSel.MaxU < A->NumU() - 1) {
        const TMVector M = Mid(L->Point(LocalSel.MaxU, LocalSel.MinV), L->Point(LocalSel.MaxU, LocalSel.MaxV));
        if (BeyondIsNearer(*A, 0, M, MainSel.MaxU, MainSel.MaxU + 1, MainSel.MinV, MainSel.MaxV)) ++MainSel.MaxU;
    }
    if (MainSel.MinV > 0) {
        const TMVector M = Mid(L->Point(LocalSel.MinU, LocalSel.MinV), L->Point(LocalSel.MaxU, LocalSel.MinV));
        if (BeyondIsNearer(*A, 1, M, MainSel.MinV, MainSel.MinV - 1, MainSel.MinU, MainSel.MaxU)) --MainSel.MinV;
    }
    if (MainSel.MaxV < A->NumV() - 1) {
        const TMVector M = Mid(L->Point(LocalSel.MinU, LocalSel.MaxV), L->Point(LocalSel.MaxU, LocalSel.MaxV));
        if (BeyondIsNearer(*A, 1, M, MainSel.MaxV, MainSel.MaxV + 1, MainSel.MinU, MainSel.MaxU)) ++MainSel.MaxV;
    }

    InsertGraftKnots(*A, MainSel, *L, LocalSel, 0);
    MainSel.MaxU += (LocalSel.MaxU - LocalSel.MinU) - (MainSel.MaxU - MainSel.MinU);
    InsertGraftKnots(*A, MainSel, *L, LocalSel, 1);
    MainSel.MaxV += (LocalSel.MaxV - LocalSel.MinV) - (MainSel.MaxV - MainSel.MinV);

    for (int j = MainSel.MinV; j <= MainSel.MaxV; ++j)
        for (int i = MainSel.MinU; i <= MainSel.MaxU; ++i) {
            TRPoint& P = A->Point(i, j);
            P.Marked = LocalTree.ClassifyPoint(P.Vector()) != bsFront;
        }
    const int dU = LocalSel.MinU - MainSel.MinU, dV = LocalSel.MinV - MainSel.MinV;
    for (int j = MainSel.MinV; j <= MainSel.MaxV; ++j)
        for (int i = MainSel.MinU; i <= MainSel.MaxU; ++i) {
            TRPoint& P = A->Point(i, j);
            if (!P.Marked) continue;
            const TRPoint& S = L->Point(i + dU, j + dV);
            P.X = S.X;
            P.Y = S.Y;
            P.Z = S.Z;
            P.W = S.W;
            P.T = S.T;
        }

    // Smoothing along the edge of the transplanted region.
    const int NU = A->NumU(), NV = A->NumV();
    Smooth(*A, 3, 8);
    // From each end of every line of the region inwards to its first marked point: all lines from
    // their low end, then all from their high end.
    for (int Direction = 0; Direction < 2; ++Direction) {
        int Lo, Hi, ALo, AHi;
        Bounds(MainSel, Direction, Lo, Hi, ALo, AHi);
        const int Count = Direction == 0 ? NU : NV;
        for (const bool Upward : {true, false})
            for (int c = ALo; c <= AHi; ++c) {
                const auto Marked = [&](int r) { return At(*A, Direction, r, c).Marked; };
                int r = Upward ? Lo : Hi;
                if (Upward)
                    while (!Marked(r) && r < Hi - 2) ++r;
                else
                    while (!Marked(r) && r - 1 > Lo + 2) --r;
                if (Marked(r) && 1 < r && r < Count - 3) Direction == 0 ? Smooth(*A, r, c) : Smooth(*A, c, r);
            }
    }
    for (int j = 0; j < NV; ++j)
        for (int i = 0; i < NU; ++i) A->Point(i, j).W = 1.0;
    return A;
}

}  // namespace sarnova
