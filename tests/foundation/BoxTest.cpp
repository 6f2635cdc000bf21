#include "foundation/Box.h"

#include <gtest/gtest.h>

#include <numbers>

#include "RecordingRenderTarget.h"
#include "TextBlock.h"
#include "VkMathsExpect.h"
#include "foundation/GeomBox.h"
#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"

using namespace sarnova;

namespace {

// The normals rendered for the six faces, in face order.
std::vector<TMVector> FaceNormals(const TBox& B) {
    TRecordingRenderTarget T;
    B.Render(T);
    return T.Of("Normal");
}

const std::vector<TMVector> AxisNormals = {{-1, 0, 0}, {1, 0, 0}, {0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}};

}  // namespace

TEST(Box, CornersAndDimensionsFromSizesAndCentre) {
    TBox B(2, 4, 6, 1, 1, 1);
    const TMVector Corners[] = {{0, -1, -2}, {0, 3, -2}, {0, 3, 4}, {0, -1, 4},
                                {2, -1, -2}, {2, -1, 4}, {2, 3, 4}, {2, 3, -2}};
    for (int I = 0; I < 8; ++I) EXPECT_EQ(B.Corner(I).Vector(), Corners[I]) << I;
    const std::pair<int, double> Dimensions[] = {{1, 1}, {2, 1}, {3, 1}, {4, 2}, {5, 4}, {6, 6}, {0, -1}, {7, -1}};
    for (auto [Code, Value] : Dimensions) EXPECT_EQ(B.Dimension(Code), Value) << Code;
    ExpectError([&] { B.Corner(8); }, "TBox.Corner - Index 8 out of bounds, only 0..7 allowed");
}

TEST(Box, SetDimensionChangesOneAndKeepsTheRest) {
    TBox B(2, 4, 6, 1, 1, 1);
    B.SetDimension(4, 10);
    const double Expected[] = {0, 1, 1, 1, 10, 4, 6};
    for (int Code = 1; Code <= 6; ++Code) EXPECT_EQ(B.Dimension(Code), Expected[Code]) << Code;
    B.SetDimension(9, 5);
    EXPECT_EQ(B.Dimension(4), 10);

    // A transformed box is measured by the bounds of its corners and rebuilt axis-aligned.
    const auto R = B.Transformed(MatrixRotationAboutAxis({0, 0, 1}, std::numbers::pi / 2));
    EXPECT_NEAR(R->Dimension(4), 4, 1e-12);
    EXPECT_NEAR(R->Dimension(5), 10, 1e-12);
    R->SetDimension(6, 2);
    EXPECT_NEAR(R->Corner(0).Y, -4, 1e-12);
    EXPECT_NEAR(R->Corner(6).Z, 2, 1e-12);
    const TMBox Bounds = R->GetBounds();
    ExpectNear(Bounds.Min, {-3, -4, 0});
    ExpectNear(Bounds.Max, {1, 6, 2});
}

TEST(Box, TextBlockOfTheUnitCube) {
    const TBox B(1, 1, 1, 0, 0, 0);
    const std::string Text = SavedText(B);
    EXPECT_EQ(Text.substr(0, 31), "    -0.500    -0.500    -0.500\n");
    EXPECT_EQ(std::count(Text.begin(), Text.end(), '\n'), 8);
    TBox C(0, 0, 0, 0, 0, 0);
    LoadText(C, Text);
    for (int I = 0; I < 8; ++I) EXPECT_EQ(C.Corner(I).Vector(), B.Corner(I).Vector());
}

TEST(Box, WideNumbersStaySeparateSoTheBlockReadsBack) {
    const TBox B(25000.5, 0.004, 3e5, -12345.678, 0, 0);
    const std::string Text = SavedText(B);
    EXPECT_EQ(Text.substr(0, Text.find('\n')), " -24845.928    -0.002 -150000.000");
    TBox C(0, 0, 0, 0, 0, 0);
    LoadText(C, Text);
    EXPECT_EQ(SavedText(C), Text);
    EXPECT_NEAR(C.Corner(0).X, -24845.928, 1e-9);
    EXPECT_NEAR(C.Corner(6).Z, 150000, 1e-9);
}

TEST(Box, ReadingFailsOnBadNumbersAndKeepsWhatWasRead) {
    TBox B(2, 2, 2, 0, 0, 0);
    const std::pair<const char*, const char*> Cases[] = {
        {"1 2 3\n4 5 x\n", "I/O Result 106"},
        {"1 2 3\n4 5\n", "I/O Result 100"},
    };
    for (auto [Text, Message] : Cases) {
        ExpectError([&] { LoadText(B, Text); }, Message);
        EXPECT_EQ(B.Corner(0).Vector(), (TMVector{1, 2, 3}));
        EXPECT_EQ(B.Corner(1).X, 4);
        EXPECT_EQ(B.Corner(2).Vector(), (TMVector{-1, 1, 1}));
    }
}

TEST(Box, DrawsTwelveEdgesBetweenCorners) {
    const TBox B(2, 4, 6, 1, 1, 1);
    TRecordingGraphics G;
    B.Draw(G);
    const int Edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}, {1, 7}, {2, 6}, {3, 5}, {4, 5}, {5, 6}, {6, 7}, {7, 4}};
    ASSERT_EQ(G.Calls.size(), 12u);
    for (int I = 0; I < 12; ++I) {
        EXPECT_EQ(G.Calls[I].Name, "LinePoints");
        EXPECT_EQ(G.Calls[I].Points, (std::vector<TMVector>{B.Corner(Edges[I][0]).Vector(),
                                                             B.Corner(Edges[I][1]).Vector()}));
    }

    // The free routine draws the same edges of a plain box from coordinates.
    TRecordingGraphics H;
    DrawBoxEdges(MakeBox(0, -1, -2, 2, 3, 4), H);
    ASSERT_EQ(H.Calls.size(), 12u);
    for (int I = 0; I < 12; ++I) {
        EXPECT_EQ(H.Calls[I].Name, "Line");
        EXPECT_EQ(H.Calls[I].Points, G.Calls[I].Points);
    }
}

TEST(Box, SelectionMarkerDrawsTheEndThirdsOfTheEnlargedEdges) {
    TRecordingGraphics G;
    DrawBoxCorners(MakeBox(-1, -1, -1, 1, 1, 1), G);
    ASSERT_EQ(G.Calls.size(), 24u);
    // Edge 0-1 of the box enlarged to +-1.05 runs along y at x = z = -1.05.
    ExpectNear(G.Calls[0].Points.at(0), {-1.05, -1.05, -1.05});
    ExpectNear(G.Calls[0].Points.at(1), {-1.05, -1.05 + 0.33 * 2.1, -1.05});
    ExpectNear(G.Calls[1].Points.at(0), {-1.05, 1.05, -1.05});
    ExpectNear(G.Calls[1].Points.at(1), {-1.05, -1.05 + 0.67 * 2.1, -1.05});
    for (const auto& C : G.Calls) EXPECT_EQ(C.Name, "LineVectors");
}

TEST(Box, RendersSixWhiteQuadsWithOutwardFaceNormals) {
    TBox B(2, 4, 6, 1, 1, 1);
    TRecordingRenderTarget T;
    B.Render(static_cast<IGraphics&>(T));
    ASSERT_EQ(T.Rendered.size(), 1u + 1 + 6 * 5 + 1);
    EXPECT_EQ(T.Rendered[0].Name, "Color");
    EXPECT_EQ(T.Rendered[0].V, (TMVector{1, 1, 1}));
    EXPECT_EQ(T.Rendered[1].Name, "Begin");
    EXPECT_EQ(T.Rendered[1].Kind, TRenderPrimitive::Quads);
    EXPECT_EQ(T.Of("Normal"), AxisNormals);
    const auto V = T.Of("Vertex");
    const int First[] = {3, 2, 1, 0};  // the face at minimum x
    for (int I = 0; I < 4; ++I) EXPECT_EQ(V[I], B.Corner(First[I]).Vector());
    EXPECT_EQ(T.Rendered.back().Name, "End");
}

TEST(Box, TurnedAndMirroredBoxesAreLitByTheirOwnFaces) {
    const TBox B(2, 4, 6, 1, 1, 1);
    const TMMatrix Turns[] = {MatrixRotationAboutAxis({1, 1, 0}, 0.7), MirrorXZMatrix,
                              MatrixMultiply(MatrixTranslation(5, 0, 0), MatrixScaling(-1, 2, 1))};
    for (const TMMatrix& M : Turns) {
        const auto R = B.Transformed(M);
        const auto Normals = FaceNormals(*R);
        ASSERT_EQ(Normals.size(), 6u);
        const TMMatrix Linear = MatrixMultiply(MatrixTranslation(-M[0][3], -M[1][3], -M[2][3]), M);
        for (int I = 0; I < 6; ++I) {
            // Outward: along the transformed axis normal, up to length, for these axis-preserving maps.
            const TMVector Axis = VectorNormalise(MatrixTransformPoint(Linear, AxisNormals[I]));
            ExpectNear(Normals[I], Axis, 1e-12);
        }
    }
}

TEST(Box, FlatBoxesDrawAndRenderWithoutFailing) {
    TBox B(0, 4, 6, 1, 1, 1);
    TRecordingGraphics G;
    B.Draw(G);
    EXPECT_EQ(G.Calls.size(), 12u);
    const auto Normals = FaceNormals(B);
    EXPECT_EQ(Normals, AxisNormals);  // faces without area keep the axis normals
    EXPECT_EQ(B.Dimension(4), 0);
    const auto F = B.Facets();
    ASSERT_EQ(F->Count(), 12);
    EXPECT_EQ(F->Polygon(4)->Area(), 0);  // the face at minimum y has no width in x
}

TEST(Box, FacetsOfTheUnitCubeEncloseItWithOutwardNormals) {
    TBox B(1, 1, 1, 0, 0, 0);
    const auto F = B.Facets();
    ASSERT_EQ(F->Count(), 12);
    double Volume = 0;  // divergence theorem: the sum of the signed tetrahedra from the origin
    for (int I = 0; I < F->Count(); ++I) {
        const TFacetRef T = F->Polygon(I);
        ASSERT_EQ(T.GetShape(), 0) << I;
        const TMVector A = T.Corner(0)->Vector(), C1 = T.Corner(1)->Vector(), C2 = T.Corner(2)->Vector();
        Volume += VectorDot(A, VectorCross(C2, C1)) / 6;  // VectorCross(C2, C1) is C1 x C2
        EXPECT_GT(VectorDot(PolygonNormal(T), PolygonCentroid(T)), 0.4) << I;
    }
    EXPECT_NEAR(Volume, 1, 1e-12);
    // The facets hold copies: the box may change afterwards.
    B.SetDimension(4, 3);
    EXPECT_EQ(F->Polygon(0)->Corner(0)->X, -0.5);
}
