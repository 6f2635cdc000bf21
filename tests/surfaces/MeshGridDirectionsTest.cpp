#include "surfaces/MeshGridDirections.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "foundation/Curvature.h"
#include "foundation/VkMathsExpect.h"
#include "surfaces/Surface.h"

namespace sarnova {
namespace {

// A NumU x NumV grid with point (i, j) at F(i, j).
template <typename Fn>
std::unique_ptr<TMesh> MakeMesh(int NumU, int NumV, Fn F) {
    auto Mesh = std::make_unique<TMesh>(NumU, NumV);
    for (int j = 0; j < NumV; ++j)
        for (int i = 0; i < NumU; ++i) Mesh->Point(i, j).SetVector(F(i, j));
    return Mesh;
}

TEST(MeshDirections, FlatGridGivesItsAxesAndTheirNormalEverywhere) {
    // First index along x, second along y, unequal spacing: every point, corners and edges included.
    auto Mesh = MakeMesh(3, 3, [](int i, int j) { return TMVector{2.0 * i, 0.5 * j, 0}; });
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            ExpectNear(MeshPointNormal(*Mesh, i, j), {0, 0, 1});
            ExpectNear(MeshPointUDirection(*Mesh, i, j), {1, 0, 0});
            ExpectNear(MeshPointVDirection(*Mesh, i, j), {0, 1, 0});
        }
}

TEST(MeshDirections, InnerPointsUseCentralAndEdgesOneSidedDifferences) {
    // Heights z = i^2 along the first index: the central difference at i = 1 spans i = 0 .. 2
    // (rise 4 over 2), the edge at i = 0 only i = 0 .. 1 (rise 1 over 1), at i = 2 only 1 .. 2.
    auto Mesh = MakeMesh(3, 2, [](int i, int j) { return TMVector{double(i), double(j), double(i * i)}; });
    const double a = 1 / std::sqrt(5.0), b = 1 / std::sqrt(2.0), c = 1 / std::sqrt(10.0);
    ExpectNear(MeshPointUDirection(*Mesh, 1, 0), {a, 0, 2 * a});
    ExpectNear(MeshPointUDirection(*Mesh, 0, 1), {b, 0, b});
    ExpectNear(MeshPointUDirection(*Mesh, 2, 1), {c, 0, 3 * c});
    ExpectNear(MeshPointNormal(*Mesh, 1, 0), {-2 * a, 0, a});
    // Points built by hand give the same normal.
    const TRPoint L({0, 0, 0}), R({2, 0, 4}), U({1, 1, 1}), D({1, 0, 1});
    ExpectNear(NormalFromCrossDifferences(L, R, U, D), {-2 * a, 0, a});
}

TEST(MeshDirections, DegenerateGridsGiveZeroAndOutsidePointsAnError) {
    // A single row has no extent along the second index: no V direction and no normal, but no NaN.
    auto Row = MakeMesh(3, 1, [](int i, int) { return TMVector{double(i), 0, 0}; });
    EXPECT_EQ(MeshPointVDirection(*Row, 1, 0), (TMVector{0, 0, 0}));
    EXPECT_EQ(MeshPointNormal(*Row, 1, 0), (TMVector{0, 0, 0}));
    ExpectNear(MeshPointUDirection(*Row, 1, 0), {1, 0, 0});

    auto Mesh = MakeMesh(3, 3, [](int i, int j) { return TMVector{double(i), double(j), 0}; });
    ExpectError([&] { MeshPointNormal(*Mesh, 3, 0); }, "MeshPointNormal - Grid point (3, 0) is outside the mesh");
    ExpectError([&] { MeshPointUDirection(*Mesh, -1, 2); },
                "MeshPointUDirection - Grid point (-1, 2) is outside the mesh");
    ExpectError([&] { MeshPointVDirection(*Mesh, 0, 3); },
                "MeshPointVDirection - Grid point (0, 3) is outside the mesh");
    EXPECT_EQ(Mesh->PointCount(), 9);
}

}  // namespace
}  // namespace sarnova
