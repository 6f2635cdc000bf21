#include "foundation/PositionIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace sarnova;

namespace {

// The answer by definition: the oldest position within the tolerance, else a new number.
int ReferenceFindOrAdd(std::vector<TMVector>& Positions, const TMVector& P, double Tol = DefaultTolerance) {
    const bool Finite = std::isfinite(P.X) && std::isfinite(P.Y) && std::isfinite(P.Z);
    for (std::size_t G = 0; Finite && G < Positions.size(); ++G)
        if (VectorsEqualWithin(Positions[G], P, Tol)) return static_cast<int>(G);
    Positions.push_back(P);
    return static_cast<int>(Positions.size()) - 1;
}

}  // namespace

TEST(TPositionIndex, FindsTheOldestPositionWithinTheToleranceAsItGrows) {
    // Positions crowded at about the tolerance's spacing, so that matches cross cell sides, chains
    // hold several positions and near corners find different older ones; met again exactly, nearly
    // and freshly in a mix, with the table growing many times on the way.
    std::mt19937 Random(11);
    std::uniform_real_distribution<double> Nudge(-0.6e-4, 0.6e-4);
    std::uniform_int_distribution<int> Lattice(-40, 40);
    // Lattice points 1.5e-4 apart, shifted by up to 0.6e-4: neighbours often lie within the tolerance.
    const auto Fresh = [&] { return TMVector{Lattice(Random) * 1.5e-4 + Nudge(Random), Lattice(Random) * 1.5e-4 + Nudge(Random), Nudge(Random)}; };
    std::uniform_int_distribution<int> Choice(0, 3);
    TPositionIndex Index;
    std::vector<TMVector> Reference, Given;
    for (int I = 0; I < 6000; ++I) {
        TMVector P;
        const int Kind = Given.empty() ? 0 : Choice(Random);
        if (Kind == 0) {
            P = Fresh();
        } else {
            P = Given[std::uniform_int_distribution<std::size_t>(0, Given.size() - 1)(Random)];
            if (Kind == 1) P = {P.X + Nudge(Random), P.Y + Nudge(Random), P.Z + Nudge(Random)};
        }
        Given.push_back(P);
        ASSERT_EQ(Index.FindOrAdd(P), ReferenceFindOrAdd(Reference, P)) << I;
    }
    EXPECT_EQ(Index.Count(), static_cast<int>(Reference.size()));
    EXPECT_GT(Index.Count(), 500);
    EXPECT_LT(Index.Count(), 2000);
    for (int G = 0; G < Index.Count(); ++G) ASSERT_EQ(Index.Position(G), Reference[static_cast<std::size_t>(G)]);

    // Not finite: a number of its own every time; a reserve and a clear keep the answers right.
    const int Broken = Index.FindOrAdd({INFINITY, 0, 0});
    EXPECT_EQ(Broken, Index.Count() - 1);
    EXPECT_NE(Index.FindOrAdd({INFINITY, 0, 0}), Broken);
    Index.Reserve(100000);
    EXPECT_EQ(Index.FindOrAdd(Given[4000]), ReferenceFindOrAdd(Reference, Given[4000]));
    Index.Clear();
    EXPECT_EQ(Index.FindOrAdd(Given[5]), 0);
    EXPECT_EQ(Index.FindOrAdd({Given[5].X + 0.5e-4, Given[5].Y, Given[5].Z}), 0);
    EXPECT_EQ(Index.Count(), 1);
}

TEST(TPositionIndex, KeepsItsOwnToleranceStrictlyOnEachAxis) {
    // A wider tolerance, as a surface's vertices use: the oldest position closer than it on every
    // axis, crowded positions again matched against the answer by definition.
    const double Tol = 0.005;
    std::mt19937 Random(5);
    std::uniform_real_distribution<double> Nudge(-0.6 * Tol, 0.6 * Tol);
    std::uniform_int_distribution<int> Lattice(-30, 30);
    TPositionIndex Index(Tol);
    std::vector<TMVector> Reference;
    for (int I = 0; I < 3000; ++I) {
        const TMVector P{Lattice(Random) * 1.5 * Tol + Nudge(Random), Lattice(Random) * 1.5 * Tol + Nudge(Random), Nudge(Random)};
        ASSERT_EQ(Index.FindOrAdd(P), ReferenceFindOrAdd(Reference, P, Tol)) << I;
    }
    TPositionIndex Fresh(Tol);
    Fresh.FindOrAdd({1, 1, 1});
    EXPECT_EQ(Fresh.FindOrAdd({1.0049, 0.9951, 1.0049}), 0);
    EXPECT_EQ(Fresh.FindOrAdd({1, 1, 1.0051}), 1) << "one axis beyond the tolerance is another place";
}
