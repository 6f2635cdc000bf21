// Boundary curves shared by the patch tests.
#pragma once
#include <initializer_list>
#include <memory>
#include <vector>

#include "foundation/BSpline.h"
#include "foundation/PolyList.h"

namespace sarnova {

inline std::unique_ptr<TBSpline> MakeCurve(std::initializer_list<TMVector> Points, int Order = 4) {
    auto C = std::make_unique<TBSpline>(Order);
    for (const TMVector& V : Points) C->AddVector(V);
    C->UpdateKnots();
    return C;
}

// A cubic side of five control points from A to B, bulging along Out and lifted by Lift out of the
// plane z = 0 (not symmetric, so no two sides are alike). Its Open knots run over [0, 2].
inline std::unique_ptr<TBSpline> SideCurve(const TMVector& A, const TMVector& B, const TMVector& Out, double Lift) {
    auto C = std::make_unique<TBSpline>(4);
    C->AddVector(A);
    for (int k = 1; k <= 3; ++k) {
        const TMVector P = VectorAdd(VectorLerp(A, B, k / 4.0 + 0.03 * (k - 2)), VectorScale(Out, 0.2 + 0.1 * k));
        C->AddVector(VectorAdd(P, {0, 0, Lift * (0.5 + 0.25 * k * (3 - k))}));
    }
    C->AddVector(B);
    C->UpdateKnots();
    return C;
}

// A loop of curves through Corners, each side bulging outwards from the loop's centre.
inline std::vector<std::unique_ptr<TBSpline>> LoopCurves(const std::vector<TMVector>& Corners, double Lift) {
    TMVector Centre{0, 0, 0};
    for (const TMVector& P : Corners) Centre = VectorAdd(Centre, P);
    Centre = VectorScale(Centre, 1.0 / static_cast<double>(Corners.size()));
    std::vector<std::unique_ptr<TBSpline>> Result;
    for (std::size_t k = 0; k < Corners.size(); ++k) {
        const TMVector& A = Corners[k];
        const TMVector& B = Corners[(k + 1) % Corners.size()];
        const TMVector Out = VectorNormalise(VectorFromTo(Centre, VectorMidpoint(A, B)));
        Result.push_back(SideCurve(A, B, Out, Lift));
    }
    return Result;
}

inline std::vector<std::unique_ptr<TBSpline>> SquareLoop(double Lift) {
    return LoopCurves({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, Lift);
}

inline std::vector<std::unique_ptr<TBSpline>> TriangleLoop(double Lift) {
    return LoopCurves({{0, 0, 0}, {4, 0, 0}, {2, 3, 0}}, Lift);
}

inline TBSplines SplineList(const std::vector<std::unique_ptr<TBSpline>>& Curves) {
    TBSplines L;
    for (const auto& C : Curves) L.Add(C.get());
    return L;
}

}  // namespace sarnova
