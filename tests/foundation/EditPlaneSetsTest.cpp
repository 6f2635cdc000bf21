#include <gtest/gtest.h>

#include <initializer_list>

#include "foundation/EditPlaneSets.h"

using namespace sarnova;

namespace {

TEditPlaneSet SetOf(std::initializer_list<int> Kinds) {
    TEditPlaneSet S = 0;
    for (int K : Kinds) S |= TEditPlaneSet(1u << K);
    return S;
}

}  // namespace

TEST(EditConstraintSets, NextCyclesThroughTheMembersInIncreasingOrder) {
    struct TCase {
        std::uint8_t Current;
        TEditPlaneSet Set;
        std::uint8_t Next;
    };
    const TCase Cases[] = {
        {3, SetOf({1, 3}), 1},        {1, SetOf({1, 3}), 3},  {0, SetOf({1, 3}), 1},
        {3, 0, 3},                    // empty: unchanged
        {200, SetOf({2}), 2},         // counts on past 255 to 0
        {15, SetOf({15}), 15},        // a single member comes round again
    };
    for (const TCase& C : Cases) {
        std::uint8_t Current = C.Current;
        EditConstraintNext(Current, C.Set);
        EXPECT_EQ(Current, C.Next) << int(C.Current);
    }

    std::uint8_t Current = 3;
    EditConstraintEnsure(Current, SetOf({1, 3}));
    EXPECT_EQ(Current, 3);
    EditConstraintEnsure(Current, SetOf({4, 6}));
    EXPECT_EQ(Current, 4);
    EditConstraintEnsure(Current, 0);
    EXPECT_EQ(Current, 4);
}

TEST(EditConstraintSets, TextListsTheMembersForTheDragHint) {
    const std::pair<TEditPlaneSet, const char*> Cases[] = {
        {SetOf({1, 2, 4}), "[X, XY, YZ]"},
        {SetOf({0, 5}), "[X, Y, Z, XY, YZ, XZ]"},
        {SetOf({8, 7, 3, 6}), "[Z, ZX, in Plane, along Vector]"},
        {SetOf({9, 15}), "[]"},
        {0, "[]"},
    };
    for (const auto& [Set, Text] : Cases) EXPECT_EQ(EditConstraintSetText(Set), Text) << Set;
}
