// Gathering shaded primitives for vertex and index buffers: which vertices are shared, that every
// corner comes back exactly through its index, and what the buffers cannot hold.
#include "views/GLIndexedDrawing.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "foundation/RecordingRenderTarget.h"

using namespace sarnova;

namespace {

// Position and normal of corner K as the builder keeps it.
std::vector<float> CornerData(const TGLIndexedBuilder& B, std::size_t K) {
    const float* V = &B.Vertices()[6 * B.Indices()[K]];
    return {V, V + 6};
}

std::vector<float> Floats(const TMVector& P, const TMVector& N) {
    return {float(P.X), float(P.Y), float(P.Z), float(N.X), float(N.Y), float(N.Z)};
}

}  // namespace

TEST(TGLIndexedBuilder, SharesAVertexOnlyWherePositionAndNormalAgreeBitForBit) {
    struct TCase {
        std::string Name;
        TMVector P2, N2;
        std::size_t Vertices;
    };
    const TMVector P{1, 2, 3}, N{0, 0, 1};
    const TCase Cases[] = {
        {"the same corner", P, N, 1},
        {"another normal", P, {0, 1, 0}, 2},
        {"another position", {1, 2, 3.5}, N, 2},
        // Equal as numbers, not as what is sent.
        {"a negative zero", P, {-0.0, 0, 1}, 2},
        // Apart as doubles, the same once sent as floats.
        {"the same float", {1 + 1e-12, 2, 3}, N, 1},
    };
    for (const TCase& C : Cases) {
        TRecordingRenderTarget View;
        TGLIndexedBuilder B(View);
        B.Begin(TRenderPrimitive::Triangles);
        B.Normal(N);
        B.Vertex(P);
        B.Normal(C.N2);
        B.Vertex(C.P2);
        B.End();
        EXPECT_TRUE(B.FitsBuffers()) << C.Name;
        EXPECT_EQ(B.VertexCount(), C.Vertices) << C.Name;
        EXPECT_EQ(CornerData(B, 1), Floats(C.P2, C.N2)) << C.Name;
    }
}

TEST(TGLIndexedBuilder, EveryCornerComesBackThroughItsIndexInRunsOfItsPrimitives) {
    // A grid of 120 x 120 points visited as quadrilaterals in a shuffled order, far beyond the
    // table's first size and the recent corners, with a normal per point or per cell.
    TRecordingRenderTarget View;
    TGLIndexedBuilder B(View);
    std::vector<int> Cells(119 * 119);
    for (std::size_t I = 0; I < Cells.size(); ++I) Cells[I] = int(I);
    std::shuffle(Cells.begin(), Cells.end(), std::mt19937(7));
    std::vector<std::vector<float>> Sent;
    auto Point = [](int I, int J) { return TMVector{I * 0.1, J * 0.3, std::sin(I * 0.05) * J}; };
    for (int Pass = 0; Pass < 2; ++Pass) {
        B.Begin(Pass == 0 ? TRenderPrimitive::Quads : TRenderPrimitive::Triangles);
        for (int Cell : Cells) {
            const int I = Cell % 119, J = Cell / 119;
            const int Corners[4][2] = {{I, J}, {I + 1, J}, {I + 1, J + 1}, {I, J + 1}};
            for (int K = 0; K < (Pass == 0 ? 4 : 3); ++K) {
                const auto [CI, CJ] = Corners[K];
                const TMVector N = Pass == 0 ? TMVector{0, 0, double(CI + CJ)} : TMVector{0, 1, double(Cell)};
                B.Normal(N);
                B.Vertex(Point(CI, CJ));
                Sent.push_back(Floats(Point(CI, CJ), N));
            }
        }
        B.End();
    }
    ASSERT_TRUE(B.FitsBuffers());
    ASSERT_EQ(B.Indices().size(), Sent.size());
    for (std::size_t K = 0; K < Sent.size(); ++K) ASSERT_EQ(CornerData(B, K), Sent[K]) << K;
    // Every point once with its own normal; every triangle corner with its cell's normal.
    EXPECT_EQ(B.VertexCount(), 120u * 120u + 3u * Cells.size());
    ASSERT_EQ(B.Runs().size(), 2u);
    EXPECT_EQ(B.Runs()[0].Mode, unsigned(GL_QUADS));
    EXPECT_EQ(B.Runs()[0].Count, 4 * Cells.size());
    EXPECT_EQ(B.Runs()[1].Mode, unsigned(GL_TRIANGLES));
    EXPECT_EQ(B.Runs()[1].First, 4 * Cells.size());
    EXPECT_EQ(B.LastNormal()[2], float(Cells.back()));
}

TEST(TGLIndexedBuilder, WhatBuffersCannotHoldLeavesTheDrawingUnfit) {
    const std::pair<std::string, std::function<void(IRenderTarget&)>> Cases[] = {
        {"a vertex before any normal", [](IRenderTarget& T) { T.Vertex({0, 0, 0}); }},
        {"a colour", [](IRenderTarget& T) { T.Color(1, 0, 0); }},
        {"a material", [](IRenderTarget& T) { T.Material(0, 0, 1); }},
        {"a primitive opened twice", [](IRenderTarget& T) { T.Begin(TRenderPrimitive::Triangles); }},
        {"pixels", [](IRenderTarget& T) { T.BeginPixelOverlay(); }},
    };
    for (const auto& [Name, Send] : Cases) {
        TRecordingRenderTarget View;
        TGLIndexedBuilder B(View);
        B.Begin(TRenderPrimitive::Triangles);
        Send(B);
        B.Normal({0, 0, 1});
        B.Vertex({1, 0, 0});
        B.End();
        EXPECT_FALSE(B.FitsBuffers()) << Name;
    }
}
