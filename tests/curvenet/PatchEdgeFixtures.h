// Faces of curve-network edges built by hand for the patch tests: splines and ribbons are set
// directly on the edges and fins, so no curves or cross-boundary computation are involved.
#pragma once
#include <array>
#include <memory>
#include <vector>

#include "curvenet/XTEdges.h"
#include "curvenet/XTPatchEdge.h"
#include "surfaces/BSurface.h"
#include "surfaces/Manifold.h"
#include "surfaces/ManifoldFixtures.h"

namespace sarnova::test {

// A spline through the given control points, order 4 unless fewer points are given.
inline std::unique_ptr<TXTBSpline> MakeSpline(const std::vector<TMVector>& Points, int Order = 4) {
    auto S = std::make_unique<TXTBSpline>();
    S->SetOrder(std::min<int>(Order, static_cast<int>(Points.size())));
    for (const TMVector& P : Points) S->AddPoint(P);
    S->Spline().UpdateKnots();
    return S;
}

// The straight cubic from A to B, control points at the thirds.
inline std::vector<TMVector> StraightCubic(const TMVector& A, const TMVector& B) {
    return {A, VectorLerp(A, B, 1.0 / 3), VectorLerp(A, B, 2.0 / 3), B};
}

// One face over a loop of points (face 0) closed on its other side by the reversed loop; every edge
// a straight cubic and every fin's ribbon the unit vector in the loop's plane across its edge,
// pointing to the loop's centre (into face 0, out of the closing face).
struct TPatchFaceFixture {
    TManifold M;
    TFace* Face = nullptr;
    std::vector<TMVector> Points;

    // Edges listed in Reversed (as loop positions: edge i runs from Loop[i] to Loop[i + 1]) are
    // reversed after building, so their splines run the other way.
    TPatchFaceFixture(const std::vector<TMVector>& APoints, const std::vector<int>& Loop,
                      const std::vector<int>& Reversed = {})
        : Points(APoints) {
        UseXTEdgeFactories(M);
        std::vector<int> Back(Loop.rbegin(), Loop.rend());
        sarnova::testing::BuildManifold(M, Points, {Loop, Back});
        Face = M.Faces().Face(0);
        const int N = static_cast<int>(Loop.size());
        for (int I : Reversed) Edge(Loop[I], Loop[(I + 1) % N])->Reverse();
        TMVector Centre;
        for (int I : Loop) Centre = VectorAdd(Centre, Points[static_cast<std::size_t>(I)]);
        Centre = VectorScale(Centre, 1.0 / N);
        for (int I = 0; I < N; ++I) {
            const TMVector A = Points[static_cast<std::size_t>(Loop[I])];
            const TMVector B = Points[static_cast<std::size_t>(Loop[(I + 1) % N])];
            const TMVector Along = VectorNormalise(VectorFromTo(A, B));
            const TMVector ToCentre = VectorFromTo(VectorLerp(A, B, 0.5), Centre);
            const TMVector Across =
                VectorNormalise(VectorFromTo(VectorScale(Along, VectorDot(Along, ToCentre)), ToCentre));
            SetSpline(Loop[I], Loop[(I + 1) % N], StraightCubic(A, B));
            SetRibbon(Loop[I], Loop[(I + 1) % N], {Across, Across});
        }
    }

    TVertex* Vertex(int I) const { return M.Vertices().Vertex(I); }

    TXTEdge* Edge(int A, int B) const {
        for (int I = 0; I < Vertex(A)->EdgeCount(); ++I)
            if (Vertex(A)->Edge(I)->OtherVertex(Vertex(A)) == Vertex(B)) return static_cast<TXTEdge*>(Vertex(A)->Edge(I));
        return nullptr;
    }

    // The fin of face 0 running from A to B.
    TXTFin* Fin(int A, int B) const {
        auto* F = static_cast<TXTFin*>(Edge(A, B)->GetFin(Vertex(B)));
        return F->GetFace() == Face ? F : static_cast<TXTFin*>(F->OtherFin());
    }

    // The edge's spline from control points given in the direction A to B.
    void SetSpline(int A, int B, std::vector<TMVector> Control) {
        TXTEdge* E = Edge(A, B);
        if (E->Fin1()->GetVertex() != Vertex(A)) std::reverse(Control.begin(), Control.end());
        E->SetSpline(MakeSpline(Control));
    }

    // The ribbon of face 0's fin from A to B, control vectors given from A to B; the closing face's
    // fin gets the negation.
    void SetRibbon(int A, int B, std::vector<TMVector> Control) {
        TXTEdge* E = Edge(A, B);
        if (E->Fin1()->GetVertex() != Vertex(A)) std::reverse(Control.begin(), Control.end());
        std::vector<TMVector> Negated;
        for (const TMVector& V : Control) Negated.push_back(VectorNegate(V));
        TXTFin* Inner = Fin(A, B);
        Inner->SetRibbon(MakeSpline(Control));
        static_cast<TXTFin*>(Inner->OtherFin())->SetRibbon(MakeSpline(Negated));
    }
};

// A curved quad: side 0 (0 -> 1 in the loop below) has seven control points, the others bulge up.
struct TCurvedQuad : TPatchFaceFixture {
    TCurvedQuad() : TPatchFaceFixture({{0, 0, 0}, {3, 0, 0}, {3, 2, 0}, {0, 2, 0}}, {1, 0, 3, 2}) {
        SetSpline(0, 1, {{0, 0, 0}, {0.5, -0.2, 0.3}, {1, 0, 0.5}, {1.5, 0.1, 0.2}, {2, 0, 0.6}, {2.5, 0.1, 0.1}, {3, 0, 0}});
        SetSpline(1, 2, {{3, 0, 0}, {3.2, 0.7, 0.4}, {3.1, 1.3, 0.4}, {3, 2, 0}});
        SetSpline(2, 3, {{3, 2, 0}, {2, 2.3, 0.5}, {1, 2.2, 0.5}, {0, 2, 0}});
        SetSpline(3, 0, {{0, 2, 0}, {-0.3, 1.3, 0.2}, {-0.1, 0.6, 0.2}, {0, 0, 0}});
    }
};

inline TMVector SideAt(TXTPatchEdge& E, double S) {
    TMVector P, D;
    E.PointAt(S, P, D);
    return P;
}

// The first derivative of a spline at its start or end.
inline TMVector Tangent(TXTBSpline& S, bool AtEnd) {
    TCurveDerivatives D;
    S.Spline().UpdateKnots();
    S.Derivatives(AtEnd ? S.MaxT() : S.MinT(), D);
    return D[1];
}

// The bicubic Bezier patch of the net P, point (i, j) at P[i + 4 j].
inline std::unique_ptr<TBSplineSurface> BicubicPatch(const std::array<TMVector, 16>& P) {
    auto S = std::make_unique<TBSplineSurface>(4, 4);
    for (int J = 0; J < 4; ++J)
        for (int I = 0; I < 4; ++I) S->Point(I, J).SetVector(P[static_cast<std::size_t>(I + 4 * J)]);
    S->UpdateKnots();
    return S;
}

// The four sides of that patch, each one cubic segment with the patch's own cross derivative.
inline void SetBicubicSides(TXTPatchEdges& Edges, const std::array<TMVector, 16>& P) {
    const auto At = [&](int I, int J) { return P[static_cast<std::size_t>(I + 4 * J)]; };
    const auto Across = [&](int I, int J, int IInner, int JInner) { return VectorScale(VectorFromTo(At(I, J), At(IInner, JInner)), 3); };
    for (int Side = 0; Side < 4; ++Side) {
        std::vector<TMVector> Curve, Cross;
        for (int K = 0; K < 4; ++K) {
            switch (Side) {
                case 0: Curve.push_back(At(K, 0)); Cross.push_back(Across(K, 0, K, 1)); break;
                case 1: Curve.push_back(At(0, K)); Cross.push_back(Across(0, K, 1, K)); break;
                case 2: Curve.push_back(At(K, 3)); Cross.push_back(Across(K, 3, K, 2)); break;
                default: Curve.push_back(At(3, K)); Cross.push_back(Across(3, K, 2, K)); break;
            }
        }
        TXTPatchEdge& E = Edges.Edge(Side);
        E.Curve().Assign(*MakeSpline(Curve));
        E.CrossDerivative().Assign(*MakeSpline(Cross));
        E.Collapsed = 0;
    }
}

// A non-planar net whose corner twists differ.
inline std::array<TMVector, 16> SampleNet() {
    std::array<TMVector, 16> P;
    for (int J = 0; J < 4; ++J)
        for (int I = 0; I < 4; ++I)
            P[static_cast<std::size_t>(I + 4 * J)] = {I + 0.1 * J * J, J - 0.15 * I, 0.2 * ((I * 7 + J * 3) % 5) - 0.1 * I * J};
    return P;
}

}  // namespace sarnova::test
