#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "curvenet/FaceFinder.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"

using namespace sarnova;

namespace {

// Vertices at Points and an edge per index pair, with no faces: what a surface hands the finder.
void BuildGraph(TManifold& M, const std::vector<TMVector>& Points, const std::vector<std::pair<int, int>>& Edges) {
    std::vector<TVertex*> V;
    for (const TMVector& P : Points) V.push_back(M.AddVertex(P));
    for (auto [A, B] : Edges) M.AddEdge(V[static_cast<std::size_t>(A)], V[static_cast<std::size_t>(B)]);
}

// The vertex indices of a face's loop, as a set.
std::set<int> Corners(const TFace* F) {
    std::set<int> S;
    for (const TFin* Fin : F->Fins()) S.insert(Fin->GetVertex()->Index());
    return S;
}

// Every edge has a face on each side, and every loop is closed and consistent.
void ExpectClosed(TManifold& M) {
    for (int I = 0; I < M.Edges().Count(); ++I) {
        const TEdge* E = M.Edges().Edge(I);
        EXPECT_NE(E->Fin1()->GetFace(), nullptr) << I;
        EXPECT_NE(E->Fin2()->GetFace(), nullptr) << I;
        EXPECT_NE(E->Fin1()->GetFace(), E->Fin2()->GetFace()) << I;
    }
    for (int I = 0; I < M.Faces().Count(); ++I) {
        const TFace* F = M.Faces().Face(I);
        for (const TFin* Fin : F->Fins()) {
            EXPECT_EQ(Fin->NextFin->PrevFin, Fin);
            EXPECT_EQ(Fin->NextFin->GetFace(), F);
            // The next fin leaves the vertex this one arrives at.
            EXPECT_EQ(Fin->NextFin->GetEdge()->OtherVertex(Fin->NextFin->GetVertex()), Fin->GetVertex());
        }
    }
}

int ExteriorCount(TManifold& M) {
    int N = 0;
    for (int I = 0; I < M.Faces().Count(); ++I) N += M.Faces().Face(I)->IsExterior();
    return N;
}

}  // namespace

TEST(FindFaces, SquareGivesOneFaceAndTheExteriorAndSavesThem) {
    TManifold M;
    BuildGraph(M, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
    EXPECT_FALSE(FindFaces(M, true));
    ASSERT_EQ(M.Faces().Count(), 2);
    EXPECT_FALSE(M.Faces().Face(0)->IsExterior());
    EXPECT_TRUE(M.Faces().Face(1)->IsExterior());
    EXPECT_EQ(M.Faces().Face(0)->FinCount(), 4);
    ExpectClosed(M);
    EXPECT_NEAR(std::fabs(M.Vertices().Vertex(0)->Normal.Z), 1.0, 1e-9);

    const auto Path = std::filesystem::temp_directory_path() / "quillmoor-square.txt";
    M.SaveToFile(Path);
    std::ifstream In(Path);
    std::string Line;
    int V = 0, E = 0, F = 0;
    while (std::getline(In, Line)) {
        V += Line.rfind("V ", 0) == 0;
        E += Line.rfind("E ", 0) == 0;
        F += Line.rfind("F", 0) == 0;
    }
    std::filesystem::remove(Path);
    EXPECT_EQ(V, 4);
    EXPECT_EQ(E, 4);
    EXPECT_EQ(F, 2);
}

TEST(FindFaces, DiagonalSplitsTheSquareIntoTwoTrianglesInSeedOrder) {
    TManifold M;
    // A B C D, sides first, then the diagonal AC.
    BuildGraph(M, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}});
    EXPECT_FALSE(FindFaces(M, true));
    ASSERT_EQ(M.Faces().Count(), 3);
    EXPECT_EQ(Corners(M.Faces().Face(0)), (std::set<int>{0, 1, 2}));
    EXPECT_EQ(Corners(M.Faces().Face(1)), (std::set<int>{0, 2, 3}));
    EXPECT_TRUE(M.Faces().Face(2)->IsExterior());
    EXPECT_EQ(Corners(M.Faces().Face(2)), (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(ExteriorCount(M), 1);
    ExpectClosed(M);
}

TEST(FindFaces, GridOfTwoByTwoSquaresGivesFourFacesAndTheExterior) {
    TManifold M;
    std::vector<TMVector> P;
    std::vector<std::pair<int, int>> E;
    for (int J = 0; J < 3; ++J)
        for (int I = 0; I < 3; ++I) P.push_back({double(I), double(J), 0});
    for (int J = 0; J < 3; ++J)
        for (int I = 0; I < 3; ++I) {
            if (I < 2) E.push_back({J * 3 + I, J * 3 + I + 1});
            if (J < 2) E.push_back({J * 3 + I, J * 3 + I + 3});
        }
    BuildGraph(M, P, E);
    EXPECT_FALSE(FindFaces(M, true));
    ASSERT_EQ(M.Faces().Count(), 5);
    EXPECT_EQ(ExteriorCount(M), 1);
    for (int I = 0; I < 5; ++I)
        EXPECT_EQ(M.Faces().Face(I)->FinCount(), M.Faces().Face(I)->IsExterior() ? 8 : 4) << I;
    ExpectClosed(M);
}

// Larger uneven grids, some cells cut by a diagonal: every cell becomes its own face (a quad, or two
// triangles), with one exterior face round the border, on grids long and wide.
TEST(FindFaces, UnevenGridsWithDiagonalsGiveEveryCellItsFaces) {
    struct TCase {
        int Columns, Rows;
        bool Diagonals;
    };
    for (const TCase Case : {TCase{12, 12, false}, TCase{9, 7, true}, TCase{30, 4, true}}) {
        TManifold M;
        std::vector<TMVector> P;
        std::vector<std::pair<int, int>> E;
        const int W = Case.Columns + 1, H = Case.Rows + 1;
        for (int J = 0; J < H; ++J)
            for (int I = 0; I < W; ++I)
                P.push_back({I + 0.2 * std::sin(1.7 * I + J), J + 0.2 * std::cos(0.9 * J + I), 0.1 * I * J / W});
        int Triangles = 0;
        for (int J = 0; J < H; ++J)
            for (int I = 0; I < W; ++I) {
                if (I + 1 < W) E.push_back({J * W + I, J * W + I + 1});
                if (J + 1 < H) E.push_back({J * W + I, J * W + I + W});
                if (Case.Diagonals && I + 1 < W && J + 1 < H && (I * 7 + J * 3) % 5 == 0) {
                    E.push_back({J * W + I, J * W + I + W + 1});
                    Triangles += 2;
                }
            }
        BuildGraph(M, P, E);
        const std::string Name = std::to_string(Case.Columns) + " x " + std::to_string(Case.Rows);
        EXPECT_FALSE(FindFaces(M, true)) << Name;
        const int Cells = Case.Columns * Case.Rows;
        EXPECT_EQ(M.Faces().Count(), Cells + Triangles / 2 + 1) << Name;
        EXPECT_EQ(ExteriorCount(M), 1) << Name;
        int Three = 0;
        for (int I = 0; I < M.Faces().Count(); ++I) {
            const TFace* F = M.Faces().Face(I);
            if (F->IsExterior()) continue;
            EXPECT_LE(F->FinCount(), 4) << Name;
            Three += F->FinCount() == 3;
        }
        EXPECT_EQ(Three, Triangles) << Name;
        ExpectClosed(M);
    }
}

TEST(FindFaces, DanglingEdgeIsRefusedBeforeAnyChange) {
    TManifold M;
    BuildGraph(M, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 2, 0}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {2, 4}});
    try {
        FindFaces(M, true);
        ADD_FAILURE();
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "TQuillmoor.CheckForStruts - Manifold Contains Struts, Cannot generate faces");
    }
    EXPECT_EQ(M.Faces().Count(), 0);
    EXPECT_EQ(M.Edges().Count(), 5);
}

TEST(FindFaces, TooFewEdgesEndWithoutFacesAndValidationNamesTheGaps) {
    TManifold M;
    BuildGraph(M, {{0, 0, 0}, {1, 0, 0}}, {{0, 1}, {1, 0}});
    EXPECT_FALSE(FindFaces(M, true));
    EXPECT_EQ(M.Faces().Count(), 0);

    std::vector<std::string> Console;
    GConsole->OnLine = [&](const std::string& Line) { Console.push_back(Line); };
    M.AddVertex({5, 5, 5});
    const bool Failed = TQuillmoor::ValidateManifold(M);
    GConsole->OnLine = nullptr;
    EXPECT_TRUE(Failed);
    const std::vector<std::string> Expected = {
        "TQuillmoor.ValidateManifold - Vertex 2 has less than two edges",
        "TQuillmoor.ValidateManifold - Fin1 of Edge 0 has no previous edge in a face cycle",
        "TQuillmoor.ValidateManifold - Fin1 of Edge 0 has no subsequent edge in a face cycle",
        "TQuillmoor.ValidateManifold - Fin1 of Edge 0 has no face",
        "TQuillmoor.ValidateManifold - Fin2 of Edge 0 has no previous edge in a face cycle",
        "TQuillmoor.ValidateManifold - Fin2 of Edge 0 has no subsequent edge in a face cycle",
        "TQuillmoor.ValidateManifold - Fin2 of Edge 0 has no face"};
    ASSERT_EQ(Console.size(), 2 * Expected.size() - 1);
    for (std::size_t I = 0; I < Expected.size(); ++I) EXPECT_EQ(Console[I], Expected[I]);
}
