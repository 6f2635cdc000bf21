// Curve-network faces built by hand for the patch tests: a closed loop of corners, each side a cubic
// Bezier edge spline, each face fin with a straight ribbon into the face, and the exterior face on
// the other side.
#pragma once
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

#include "curvenet/XTEdges.h"
#include "foundation/VkMaths.h"
#include "surfaces/ManifoldFixtures.h"

namespace sarnova::test {

struct TXTPatchFace {
    using TSideShape = std::function<std::vector<TMVector>(const TMVector& From, const TMVector& To)>;
    using TNormalAt = std::function<TMVector(const TMVector& P)>;

    TManifold M;
    TFace* Face = nullptr;

    // Corners in loop order, turning counter-clockwise about the surface normal. Shape gives the four
    // control points of a side from its start to its end (a straight cubic when empty); the ribbon of
    // the face's fin runs straight between Normal x tangent at the side's ends.
    TXTPatchFace(const std::vector<TMVector>& Corners, TSideShape Shape = {}, TNormalAt Normal = {}) {
        UseXTEdgeFactories(M);
        const int N = static_cast<int>(Corners.size());
        std::vector<int> Loop, Back;
        for (int I = 0; I < N; ++I) {
            Loop.push_back(I);
            Back.push_back(N - 1 - I);
        }
        sarnova::testing::BuildManifold(M, Corners, {Loop, Back});
        Face = M.Faces().Face(0);
        M.Faces().Face(1)->Exterior = 1;
        if (!Shape) Shape = [](const TMVector& A, const TMVector& B) {
            return std::vector<TMVector>{A, VectorLerp(A, B, 1.0 / 3), VectorLerp(A, B, 2.0 / 3), B};
        };
        if (!Normal) Normal = [](const TMVector&) { return TMVector{0, 0, 1}; };
        auto It = Face->FinIterator();
        while (It->MoveNext()) {
            auto* F = static_cast<TXTFin*>(It->Current());
            auto* E = static_cast<TXTEdge*>(F->GetEdge());
            auto Spline = std::make_unique<TXTBSpline>();
            for (const TMVector& P : Shape(E->Fin1()->Position(), E->Fin2()->Position())) Spline->AddPoint(P);
            // Inward: the normal across the side as the loop runs along it.
            const double Sign = F == E->Fin2() ? 1.0 : -1.0;
            auto Ribbon = std::make_unique<TXTBSpline>();
            Ribbon->SetOrder(2);
            TMVector T0, T1;
            Spline->StartDerivative(T0);
            Spline->EndDerivative(T1);
            TMVector P0, P1;
            Spline->FirstPoint(P0);
            Spline->LastPoint(P1);
            Ribbon->AddPoint(VectorScale(VectorNormalise(VectorCross(Normal(P0), T0)), Sign));
            Ribbon->AddPoint(VectorScale(VectorNormalise(VectorCross(Normal(P1), T1)), Sign));
            // Knots worked out now, as the ribbon generation leaves them: MinT and MaxT read them.
            Ribbon->Reparameterise(0, 1);
            E->SetSpline(std::move(Spline));
            F->SetRibbon(std::move(Ribbon));
        }
    }
};

// The corners of a regular N-gon of radius R about the origin in the XY plane, counter-clockwise.
inline std::vector<TMVector> RegularPolygon(int N, double R = 1.0) {
    std::vector<TMVector> P;
    for (int I = 0; I < N; ++I) {
        const double A = 2 * std::numbers::pi * I / N;
        P.push_back({R * std::cos(A), R * std::sin(A), 0});
    }
    return P;
}

}  // namespace sarnova::test
