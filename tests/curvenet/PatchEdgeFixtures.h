// Faces of curve-network edges built by hand for the patch tests: splines and ribbons are set
// directly on the edges and fins, so no curves or cross-boundary computation are involved.
#pragma once
#include <memory>
#include <vector>

#include "curvenet/XTEdges.h"
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

}  // namespace sarnova::test
