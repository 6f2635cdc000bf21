#include "surfaces/VectorList.h"

#include <gtest/gtest.h>

#include <numbers>

#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextBlock.h"
#include "platform/RecordingGraphics.h"

namespace sarnova {
namespace {

std::unique_ptr<TRPointVector> PV(const TMVector& P, const TMVector& V) {
    return std::make_unique<TRPointVector>(NewRPointFromVector(P), NewRPointFromVector(V));
}

TEST(VectorList, ANewListWritesScaleAndCountOnly) {
    TVectorList L;
    EXPECT_EQ(SavedText(L), "Scale=1.000000\nNumberOfVectors=0\n");
}

TEST(VectorList, TextBlockRoundTripsAndReadingAppends) {
    TVectorList L;
    L.Scale = 2.5;
    L.Add(PV({1, -2, 3.25}, {0, 0, 1}));
    L.Add(PV({0.1234567, 0, 0}, {-1, 2, 0}));
    const std::string Text = SavedText(L);
    EXPECT_EQ(Text,
              "Scale=2.500000\nNumberOfVectors=2\n"
              "1.000000 -2.000000 3.250000 0.000000 0.000000 1.000000\n"
              "0.123457 0.000000 0.000000 -1.000000 2.000000 0.000000\n");
    TVectorList Read;
    LoadText(Read, Text);
    EXPECT_EQ(SavedText(Read), Text);

    TVectorList More;
    More.Add(PV({9, 9, 9}, {1, 0, 0}));
    LoadText(More, "Scale = 0,5\nNumberOfVectors=1\n1 2 3 4 5 6 trailing words\n");
    EXPECT_EQ(More.Count(), 2);
    EXPECT_EQ(More.Scale, 0.5);
    EXPECT_EQ(More.Vector(1)->Point2->Vector(), (TMVector{4, 5, 6}));
}

TEST(VectorList, BadBlocksRaiseAndKeepWhatWasRead) {
    const std::pair<const char*, const char*> Cases[] = {
        {"Scale=abc\nNumberOfVectors=0\n", "Unable to convert string to number (abc)"},
        {"Scale=1\nNumberOfVectors=two\n", "'two' is not a valid integer value"},
        {"Scale=1\nNumberOfVectors=2\n1 2 3 4 5 6\n1 2 x 4 5 6\n", "I/O Result 106"},
        {"Scale=1\nNumberOfVectors=2000000000\n1 2 3 4 5 6\n", "I/O Result 100"},
    };
    for (auto [Text, Message] : Cases) {
        TVectorList L;
        try {
            LoadText(L, Text);
            ADD_FAILURE() << Text;
        } catch (const EError& E) {
            EXPECT_STREQ(E.what(), Message);
        }
        EXPECT_LE(L.Count(), 1);
    }
    TVectorList L;
    EXPECT_THROW(LoadText(L, "Scale=1\nNumberOfVectors=2\n1 2 3 4 5 6\n1 2"), EInOutError);
    EXPECT_EQ(L.Count(), 1);
}

TEST(VectorList, ExtentsCountScaledArrowsAndZeroVectors) {
    TVectorList L;
    L.Scale = 2;
    L.Add(PV({0, 0, 0}, {1, 0, 0}));
    EXPECT_EQ(L.GetExtents(), MakeBox(0, 0, 0, 2, 0, 0));
    L.Add(PV({0, -3, 0}, {0, 0, 0}));  // drawn nowhere, yet in the box
    EXPECT_EQ(L.GetExtents(), MakeBox(0, -3, 0, 2, 0, 0));
    EXPECT_EQ(TVectorList().GetExtents(), EmptyBox);

    TRecordingGraphics G;
    L.Draw(G);
    ASSERT_EQ(G.Calls.size(), 1u);
    EXPECT_EQ(G.Calls[0].Name, "VectorPoints");
    EXPECT_EQ(G.Calls[0].Size, 2);
    EXPECT_FALSE(G.Calls[0].Flag);
}

TEST(VectorList, TransformMovesPointsAndTurnsVectors) {
    TVectorList L;
    L.Scale = 3;
    L.Add(PV({1, 0, 0}, {1, 0, 0}));
    auto Moved = L.Transformed(MatrixTranslation(0, 5, 0));
    EXPECT_EQ(Moved->Scale, 3);
    EXPECT_EQ(Moved->Vector(0)->Point1->Vector(), (TMVector{1, 5, 0}));
    EXPECT_EQ(Moved->Vector(0)->Point2->Vector(), (TMVector{1, 0, 0}));
    auto Turned = L.Transformed(MatrixRotationAboutAxis(ZAxisVector, std::numbers::pi / 2));
    EXPECT_NEAR(Turned->Vector(0)->Point1->Y, 1, 1e-12);
    EXPECT_NEAR(Turned->Vector(0)->Point2->Y, 1, 1e-12);
    EXPECT_NEAR(Turned->Vector(0)->Point2->X, 0, 1e-12);

    TVectorList Copy;
    Copy.Add(PV({}, {}));
    Copy.Assign(*Moved);
    EXPECT_EQ(Copy.Count(), 1);
    EXPECT_EQ(Copy.Scale, 3);
    EXPECT_NE(Copy.Vector(0), Moved->Vector(0));
    Copy.Clear();
    EXPECT_EQ(Copy.Count(), 0);
    EXPECT_EQ(Copy.Scale, 3);
    EXPECT_THROW(Copy.Vector(0), EError);
}

}  // namespace
}  // namespace sarnova
