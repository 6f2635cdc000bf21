#include "foundation/Plane.h"

#include <gtest/gtest.h>

#include "RecordingRenderTarget.h"
#include "TextBlock.h"
#include "VkMathsExpect.h"
#include "foundation/GeomBox.h"

using namespace sarnova;

namespace {

TPlane Loaded(const std::string& Text) {
    TPlane P;
    LoadText(P, Text);
    return P;
}

TPlane PlaneInBox(int Divisions) {
    TPlane P;
    P.SetPlane({{0, 0, 1}, 2});
    P.SetExtents(MakeBox(0, 0, 0, 4, 3, 5));
    P.Divisions = Divisions;
    return P;
}

}  // namespace

TEST(Plane, NewPlaneWritesZIsZeroInShortestForm) {
    EXPECT_EQ(SavedText(TPlane()), "Normal=(0,0,1)\nOffset=0\n");
}

TEST(Plane, SetPlaneOrientsAndAssignPlaneKeepsWhatItIsGiven) {
    TPlane P;
    P.SetPlane({{0, 0, -1}, 2});
    EXPECT_EQ(P.Plane(), (TMPlane{{0, 0, 1}, -2}));
    P.SetPlane({{0, -2, 0}, 1});  // not normalised
    EXPECT_EQ(P.Plane(), (TMPlane{{0, 2, 0}, -1}));
    P.AssignPlane({{0, 0, -1}, 2});
    EXPECT_EQ(P.Plane(), (TMPlane{{0, 0, -1}, 2}));

    TPlane Other;
    Other.SetExtents(MakeBox(0, 0, 0, 1, 1, 1));
    Other.Divisions = 3;
    Other.Assign(P);
    EXPECT_EQ(Other.Plane(), P.Plane());
    EXPECT_EQ(Other.Extents(), MakeBox(0, 0, 0, 1, 1, 1));
    EXPECT_EQ(Other.Divisions, 3);
}

TEST(Plane, ReadsLinesByPositionWithEitherDecimalSeparatorAndOrients) {
    const TPlane P = Loaded("Anything=(0, 0,-1)\nOffset=1,5\n");
    EXPECT_EQ(P.Plane(), (TMPlane{{0, 0, 1}, -1.5}));
    EXPECT_EQ(Loaded("Normal=(0,0,1) trailing words\nOffset= 1.5 \n").Offset(), 1.5);
}

TEST(Plane, ANormalNotOfUnitLengthIsScaledWithTheOffsetSoThePlaneStays) {
    const std::pair<const char*, TMPlane> Cases[] = {
        {"Normal=(0,0,2)\nOffset=3\n", {{0, 0, 1}, 1.5}},
        {"Normal=(0,-0.5,0)\nOffset=1\n", {{0, 1, 0}, -2}},
        {"Normal=(3,0,4)\nOffset=10\n", {{0.6, 0, 0.8}, 2}},
        {"Normal=(0,0.6,0.8)\nOffset=-2.25\n", {{0, 0.6, 0.8}, -2.25}},  // unit: kept as written
    };
    for (const auto& [Text, Expected] : Cases) {
        const TPlane P = Loaded(Text);
        ExpectNear(P.Normal(), Expected.Normal, 1e-15);
        EXPECT_NEAR(P.Offset(), Expected.Distance, 1e-15) << Text;
    }
    EXPECT_EQ(SavedText(Loaded("Normal=(0,0,2)\nOffset=3\n")), "Normal=(0,0,1)\nOffset=1.5\n");
    ExpectError([] { Loaded("Normal=(0,0,0)\nOffset=1\n"); }, "Plane normal is not a direction");
}

TEST(Plane, SaveLoadSaveGivesTheSameText) {
    const TMPlane Planes[] = {{{0, 0, 1}, 0}, {{0.267261241912424, 0.534522483824849, 0.801783725737273}, -1234.5678},
                              {{1e-20, 0.6, 0.8}, 1e20 / 3}};
    for (const TMPlane& Plane : Planes) {
        TPlane P;
        P.SetPlane(Plane);
        const std::string Text = SavedText(P);
        EXPECT_EQ(SavedText(Loaded(Text)), Text);
    }
}

TEST(Plane, MalformedLinesFailWithTheNumberMessage) {
    const std::pair<const char*, const char*> Cases[] = {
        {"Normal=0,0,1\nOffset=0\n", "Unable to convert string to number ()"},     // no parenthesis
        {"Normal=(0,0 1)\nOffset=0\n", "Unable to convert string to number ()"},    // one comma
        {"Normal=(0,0,1\nOffset=0\n", "Unable to convert string to number ()"},     // no closing one
        {"Normal=(0,x,1)\nOffset=0\n", "Unable to convert string to number (x)"},
        {"Normal=(0,0,1)\nOffset=1.5.2\n", "Unable to convert string to number (1.5.2)"},
        {"Normal=(0,0,1)\n", "Unable to convert string to number ()"},              // text ends early
    };
    for (auto [Text, Message] : Cases) ExpectError([&] { Loaded(Text); }, Message);
}

TEST(Plane, DrawsTheDisplayRectangleAsOneClosedStrip) {
    const TPlane P = PlaneInBox(25);
    const auto C = PlaneBoxRectangle(P.Plane(), P.Extents());
    TRecordingGraphics G;
    P.Draw(G);
    EXPECT_EQ(G.Names(), (std::vector<std::string>{"LineStartVector", "LineNextVector", "LineNextVector",
                                                   "LineNextVector", "LineNextVector", "LineFinish"}));
    const TMVector Order[] = {C[0], C[1], C[2], C[3], C[0]};
    for (int I = 0; I < 5; ++I) EXPECT_EQ(G.Calls[I].Points.at(0), Order[I]);
}

TEST(Plane, RenderWithOneDivisionIsTheRectangleItself) {
    TPlane P = PlaneInBox(1);
    const auto C = PlaneBoxRectangle(P.Plane(), P.Extents());
    TRecordingRenderTarget T;
    P.Render(static_cast<IGraphics&>(T));
    ASSERT_EQ(T.Rendered.size(), 7u);
    EXPECT_EQ(T.Rendered[0].Name, "Normal");
    EXPECT_EQ(T.Rendered[0].V, (TMVector{0, 0, -1}));
    EXPECT_EQ(T.Rendered[1].Name, "Begin");
    EXPECT_EQ(T.Rendered[1].Kind, TRenderPrimitive::QuadStrip);
    EXPECT_EQ(T.Of("Vertex"), (std::vector<TMVector>{C[0], C[1], C[3], C[2]}));
    EXPECT_EQ(T.Rendered.back().Name, "End");
}

TEST(Plane, RenderCutsTheRectangleIntoRowsOfQuads) {
    TPlane P = PlaneInBox(3);
    const auto C = PlaneBoxRectangle(P.Plane(), P.Extents());
    TRecordingRenderTarget T;
    P.Render(T);
    EXPECT_EQ(T.Of("Normal").size(), 1u);
    EXPECT_EQ(T.Of("Begin").size(), 3u);
    const auto V = T.Of("Vertex");
    ASSERT_EQ(V.size(), 3u * 8u);
    // Row 1 runs along C0-C3 between a third and two thirds of the way from C0-C3 to C1-C2.
    ExpectNear(V[8], VectorLerp(C[0], C[1], 1.0 / 3));
    ExpectNear(V[9], VectorLerp(C[0], C[1], 2.0 / 3));
    ExpectNear(V[15], VectorLerp(C[3], C[2], 2.0 / 3));

    // A view that cannot render gets nothing, and is not drawn on either.
    TRecordingGraphics G;
    P.Render(G);
    EXPECT_TRUE(G.Calls.empty());
}
