#include "surfaces/Manifold.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "platform/RecordingGraphics.h"
#include "platform/ScriptedUserDialogs.h"
#include "surfaces/ManifoldFixtures.h"

namespace sarnova {
namespace {

using testing::BuildManifold;
using testing::CheckLinks;

std::string ReadFile(const std::filesystem::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

// Routes message boxes to a script for the life of the test.
struct TScriptedMessages {
    TScriptedUserDialogs Dialogs;
    IUserDialogs* Saved = GExceptionHandler->UserDialogs;
    TScriptedMessages() { GExceptionHandler->UserDialogs = &Dialogs; }
    ~TScriptedMessages() { GExceptionHandler->UserDialogs = Saved; }
};

// ---- Containers ----

TEST(ManifoldContainers, KeepOrderAndIndicesThroughRemovalsAndAppends) {
    // The containers keep holes and count live entries with a tree; compare with a plain vector
    // through a long run of removals anywhere, appends and packing.
    TManifold M;
    std::vector<TVertex*> Model;
    for (int I = 0; I < 200; ++I) Model.push_back(M.AddVertex({double(I), 0, 0}));
    std::mt19937 Random(7);
    for (int Step = 0; Step < 600; ++Step) {
        if (Step % 3 == 2 || Model.empty()) {
            Model.push_back(M.AddVertex({double(1000 + Step), 0, 0}));
        } else {
            const auto K = Random() % Model.size();
            if (Step % 2 == 0)
                M.Vertices().Remove(Model[K]);
            else
                M.Vertices().Delete(static_cast<int>(K));
            Model.erase(Model.begin() + static_cast<std::ptrdiff_t>(K));
        }
        // Packing now and then squeezes the holes out without changing the order.
        if (Step % 97 == 0) M.Pack();
        ASSERT_EQ(M.Vertices().Count(), static_cast<int>(Model.size()));
        for (int I = 0; I < static_cast<int>(Model.size()); I += 7) {
            ASSERT_EQ(M.Vertices().Vertex(I), Model[static_cast<std::size_t>(I)]) << "step " << Step;
            ASSERT_EQ(Model[static_cast<std::size_t>(I)]->Index(), I) << "step " << Step;
        }
    }
    EXPECT_THROW(M.Vertices().Vertex(M.Vertices().Count()), EError);
    EXPECT_THROW(M.Vertices().Delete(-1), EError);
}

TEST(ManifoldContainers, FreeOnlyTheirOwnManifoldsElements) {
    TManifold A;
    TManifold B;
    TVertex* Own = A.AddVertex({1, 0, 0});
    TVertex* Foreign = B.AddVertex({2, 0, 0});
    A.Vertices().Add(Foreign);
    EXPECT_EQ(A.Vertices().Count(), 2);
    A.Vertices().Remove(Foreign);  // not A's: listed, never freed
    EXPECT_EQ(Foreign->Position.X, 2);
    EXPECT_EQ(B.Vertices().IndexOf(Foreign), 0);

    TVertices Plain;
    Plain.Add(Own);
    Plain.Clear();  // a plain list frees nothing
    EXPECT_EQ(Own->Index(), 0);
    EXPECT_EQ(A.Vertices().Count(), 1);

    TEdges Edges;
    EXPECT_THROW(Edges.Assign(A.Vertices()), EError);  // vertices are no edges
    TVertices Copy;
    Copy.Assign(A.Vertices());
    EXPECT_EQ(Copy.Vertex(0), Own);
}

TEST(ManifoldContainers, FindByPositionUsesABoxOfHalfAHundredth) {
    TManifold M;
    M.AddVertex({5, 5, 5});
    TVertex* V = M.AddVertex({0, 0, 0});
    M.AddVertex({0, 0, 0.001});  // the first match wins
    EXPECT_EQ(M.Vertices().FindByPosition({0.0049, 0, 0}), V);
    EXPECT_EQ(M.Vertices().FindByPosition({0, -0.0049, 0.0049}), V);
    EXPECT_EQ(M.Vertices().FindByPosition({0, 0, -0.005}), nullptr);
    EXPECT_EQ(M.Vertices().FindByPosition({0.005, 0, 0}), nullptr);
}

// ---- Factories ----

struct TMyVertex : TVertex {
    using TVertex::TVertex;
};
struct TMyEdge : TEdge {
    using TEdge::TEdge;
    int Assigned = 0;
    void Assign(const TEdge& Source) override {
        TEdge::Assign(Source);
        ++Assigned;
    }
};
struct TMyFin : TFin {
    using TFin::TFin;
};
struct TMyFace : TFace {
    using TFace::TFace;
};

void UseMyFactories(TManifold& M) {
    M.VertexFactory = [](TManifold* Owner) { return std::make_unique<TMyVertex>(Owner); };
    M.EdgeFactory = [](TManifold* Owner) { return std::make_unique<TMyEdge>(Owner); };
    M.FinFactory = [](TManifold* Owner, TEdge* E) { return std::make_unique<TMyFin>(Owner, E); };
    M.FaceFactory = [](TManifold* Owner) { return std::make_unique<TMyFace>(Owner); };
}

TEST(ManifoldFactories, UnassignedFactoriesRaiseTheirMessages) {
    const std::pair<const char*, std::function<void(TManifold&)>> Cases[] = {
        {"TManifold.CreateVertex - Vertex Factory not assigned",
         [](TManifold& M) { M.VertexFactory = nullptr; M.AddVertex({}); }},
        {"TManifold.CreateEdge - Edge Factory not assigned",
         [](TManifold& M) { M.EdgeFactory = nullptr; M.AddEdge(nullptr, nullptr); }},
        {"TManifold.CreateFin - Fin Factory not assigned",
         [](TManifold& M) { M.FinFactory = nullptr; M.CreateEdge(); }},
        {"TManifold.CreateFace - Face Factory not assigned",
         [](TManifold& M) { M.FaceFactory = nullptr; M.CreateFace(); }},
    };
    for (const auto& [Message, Act] : Cases) {
        TManifold M;
        try {
            Act(M);
            ADD_FAILURE() << Message;
        } catch (const EGeometryError& E) {
            EXPECT_STREQ(E.what(), Message);
        }
        EXPECT_EQ(M.Edges().Count(), 0);
    }
}

TEST(ManifoldFactories, AddEdgeSetsHeadsAndDirection) {
    TManifold M;
    TVertex* A = M.AddVertex({0, 0, 0});
    TVertex* B = M.AddVertex({3, 4, 0});
    TEdge* E = M.AddEdge(A, B);
    EXPECT_EQ(E->Fin1()->GetVertex(), A);
    EXPECT_EQ(E->Fin2()->GetVertex(), B);
    EXPECT_EQ(E->GetFin(B), E->Fin2());
    EXPECT_EQ(E->OtherVertex(A), B);
    EXPECT_EQ(E->OtherVertex(nullptr), nullptr);
    EXPECT_DOUBLE_EQ(E->Length(), 5);
    TMVector D{9, 9, 9};
    E->Direction(0, D);
    EXPECT_EQ(D, (TMVector{0.6, 0.8, 0}));
    E->Direction(2, D);  // another end leaves it as it was
    EXPECT_EQ(D, (TMVector{0.6, 0.8, 0}));
    EXPECT_EQ(E->Fin1()->Direction(), (TMVector{0.6, 0.8, 0}));   // leaves A
    EXPECT_EQ(E->Fin2()->Direction(), (TMVector{-0.6, -0.8, 0})); // leaves B
    TVertex* C = M.AddVertex({});
    try {
        E->GetFin(C);
        ADD_FAILURE();
    } catch (const EGeometryError& Error) {
        EXPECT_STREQ(Error.what(), "TEdge.GetFin - End for vertex not found, edge not connected to vertex");
    }
    EXPECT_TRUE(A->HasEdge(E));
    EXPECT_FALSE(C->HasEdge(E));
}

// ---- A closed cube ----

TEST(ManifoldCube, ClosedCubeOfTwelveTrianglesIsAConsistentSphere) {
    TManifold M;
    BuildManifold(M, testing::CubePoints(), testing::CubeTriangles());
    ASSERT_EQ(CheckLinks(M), "");
    const int V = M.Vertices().Count(), E = M.Edges().Count(), F = M.Faces().Count();
    EXPECT_EQ(V, 8);
    EXPECT_EQ(E, 18);
    EXPECT_EQ(F, 12);
    EXPECT_EQ(V - E + F, 2);
    for (int I = 0; I < E; ++I) {
        const TEdge* Edge = M.Edges().Edge(I);
        EXPECT_NE(Edge->Fin1()->GetFace(), nullptr);
        EXPECT_NE(Edge->Fin2()->GetFace(), nullptr);
        EXPECT_NE(Edge->Fin1()->GetFace(), Edge->Fin2()->GetFace());
    }
    const TMVector Centre{0.5, 0.5, 0.5};
    for (int I = 0; I < F; ++I) {
        TFace* Face = M.Faces().Face(I);
        Face->Validate();
        Face->CalculateCentroidAndNormal();
        EXPECT_NEAR(VectorLength(Face->Normal()), 1, 1e-12);
        // Loops turn counter-clockwise from outside: Newell's normal points out.
        EXPECT_GT(VectorDot(Face->Normal(), VectorFromTo(Centre, Face->Centroid)), 0.4) << I;
    }
    for (int I = 0; I < V; ++I) {
        TVertex* Vertex = M.Vertices().Vertex(I);
        Vertex->UpdateNormal();
        EXPECT_NEAR(VectorLength(Vertex->Normal), 1, 1e-12);
        // Vertex normals point against the loops' right-handed normals: into the cube.
        EXPECT_GT(VectorDot(Vertex->Normal, VectorFromTo(Vertex->Position, Centre)), 0.5) << I;
        // Around a closed vertex the next-edge walk comes back to the first edge.
        TEdge* Walk = Vertex->FirstEdge();
        int Steps = 0;
        do {
            Walk = Vertex->NextEdge(Walk);
            ++Steps;
        } while (Walk != Vertex->FirstEdge() && Steps < 100);
        EXPECT_EQ(Steps, Vertex->EdgeCount());
    }
}

TEST(ManifoldCube, IteratorsWalkEdgesAndLoops) {
    TManifold M;
    BuildManifold(M, testing::CubePoints(), testing::CubeTriangles());
    TVertex* V = M.Vertices().Vertex(0);
    auto Edges = V->EdgeIterator();
    int Count = 0;
    while (Edges->MoveNext()) EXPECT_EQ(Edges->Current(), V->Edge(Count++));
    EXPECT_EQ(Count, V->EdgeCount());
    EXPECT_FALSE(Edges->MoveNext());
    EXPECT_EQ(Edges->Current(), nullptr);

    TFace* Face = M.Faces().Face(0);
    auto Fins = Face->FinIterator();
    std::vector<TFin*> Seen;
    while (Fins->MoveNext()) Seen.push_back(Fins->Current());
    EXPECT_EQ(Seen, Face->Fins());
    EXPECT_EQ(Fins->Current(), nullptr);

    TFace Empty(&M);
    EXPECT_FALSE(Empty.FinIterator()->MoveNext());
}

// ---- Faces from fin cycles ----

// A triangle whose three fins (one per edge, the heads in order A, B, C) are linked in a loop
// but belong to no face yet.
struct TTriangleLoop {
    TManifold M;
    TVertex* A = M.AddVertex({0, 0, 0});
    TVertex* B = M.AddVertex({1, 0, 0});
    TVertex* C = M.AddVertex({0, 1, 0});
    TEdge* AB = M.AddEdge(A, B);
    TEdge* BC = M.AddEdge(B, C);
    TEdge* CA = M.AddEdge(C, A);
    TFin* Fins[3] = {AB->Fin2(), BC->Fin2(), CA->Fin2()};
    TTriangleLoop() {
        for (int I = 0; I < 3; ++I) {
            Fins[I]->NextFin = Fins[(I + 1) % 3];
            Fins[(I + 1) % 3]->PrevFin = Fins[I];
        }
    }
};

TEST(ManifoldAddFace, TakesTheCycleWithTheNextFinFirst) {
    TTriangleLoop T;
    TFace* Face = T.M.AddFace(T.Fins[2]);
    EXPECT_EQ(Face->FirstFin(), T.Fins[0]);
    EXPECT_EQ(Face->FinCount(), 3);
    EXPECT_EQ(Face->GetExtents(), (TMBox{{1, 1, 0}, {0, 0, 0}}));
    EXPECT_EQ(CheckLinks(T.M), "");
}

TEST(ManifoldAddFace, RefusesACycleAlreadyBoundedWithoutChangingAnything) {
    TTriangleLoop T;
    TFace* First = T.M.AddFace(T.Fins[0]);
    try {
        T.M.AddFace(T.Fins[1]);
        ADD_FAILURE();
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "TManiFold.AddFace - Partial Empty Fin Cycle Found");
    }
    EXPECT_EQ(T.M.Faces().Count(), 1);
    for (TFin* F : T.Fins) EXPECT_EQ(F->GetFace(), First);
    EXPECT_EQ(CheckLinks(T.M), "");
}

TEST(ManifoldAddFace, RefusesOpenCyclesAndCyclesThatNeverReturn) {
    {
        TTriangleLoop T;
        T.Fins[2]->NextFin = nullptr;  // open
        T.Fins[0]->PrevFin = nullptr;
        EXPECT_THROW(T.M.AddFace(T.Fins[0]), EGeometryError);
        EXPECT_EQ(T.M.Faces().Count(), 0);
    }
    {
        TTriangleLoop T;
        // A tail into a loop that avoids the start: the walk would never come back.
        TVertex* D = T.M.AddVertex({5, 5, 5});
        TEdge* Tail = T.M.AddEdge(D, T.A);
        Tail->Fin2()->NextFin = T.Fins[0];
        try {
            T.M.AddFace(Tail->Fin2());
            ADD_FAILURE();
        } catch (const EGeometryError& E) {
            EXPECT_STREQ(E.what(), "TManiFold.AddFace - Open Fin Cycle Found");
        }
        EXPECT_EQ(T.M.Faces().Count(), 0);
        EXPECT_THROW(TFace(&T.M).RebuildFromFin(Tail->Fin2()), EGeometryError);
    }
}

TEST(ManifoldNonManifoldInput, IsRefusedAndLeavesEveryLinkIntact) {
    // Three triangles on the edge 0-1, and two triangles running along it the same way.
    const std::vector<TMVector> P = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}};
    const testing::TIndexPolygons Cases[] = {
        {{0, 1, 2}, {1, 0, 3}, {0, 1, 4}},
        {{0, 1, 2}, {0, 1, 3}},
    };
    for (const auto& Polygons : Cases) {
        TManifold M;
        EXPECT_THROW(BuildManifold(M, P, Polygons), EGeometryError);
        EXPECT_EQ(CheckLinks(M), "");
        EXPECT_EQ(M.Faces().Count(), static_cast<int>(Polygons.size()) - 1);
        for (int I = 0; I < M.Faces().Count(); ++I) M.Faces().Face(I)->Validate();
    }
    // Linking the shared fin into a new loop by hand cannot make a second face of it either.
    TManifold M;
    BuildManifold(M, P, {{0, 1, 2}});
    TEdge* E01 = M.Edges().Edge(0);
    EXPECT_THROW(M.AddFace(E01->GetFin(M.Vertices().Vertex(1))), EGeometryError);
    EXPECT_EQ(M.Faces().Count(), 1);
}

// ---- Copying ----

TEST(ManifoldAssign, CopiesTheCubeThroughTheCopysOwnFactories) {
    TManifold Source;
    BuildManifold(Source, testing::CubePoints(), testing::CubeTriangles());
    Source.Faces().Face(3)->Exterior = 1;
    Source.Vertices().Vertex(5)->Normal = {0, 0, 1};
    TManifold Copy;
    UseMyFactories(Copy);
    Copy.AddVertex({7, 7, 7});  // cleared first
    ASSERT_EQ(Copy.Assign(Source), 0);
    ASSERT_EQ(CheckLinks(Copy), "");
    ASSERT_EQ(Copy.Vertices().Count(), 8);
    ASSERT_EQ(Copy.Edges().Count(), 18);
    ASSERT_EQ(Copy.Faces().Count(), 12);
    for (int I = 0; I < 8; ++I) {
        EXPECT_EQ(Copy.Vertices().Vertex(I)->Position, Source.Vertices().Vertex(I)->Position);
        EXPECT_NE(dynamic_cast<TMyVertex*>(Copy.Vertices().Vertex(I)), nullptr);
        EXPECT_EQ(Source.Vertices().Vertex(I)->CopyLink, nullptr);
    }
    EXPECT_EQ(Copy.Vertices().Vertex(5)->Normal, (TMVector{0, 0, 1}));
    for (int I = 0; I < 18; ++I) {
        auto* E = dynamic_cast<TMyEdge*>(Copy.Edges().Edge(I));
        ASSERT_NE(E, nullptr);
        EXPECT_EQ(E->Assigned, 1);
        EXPECT_NE(dynamic_cast<TMyFin*>(E->Fin2()), nullptr);
        EXPECT_EQ(E->Fin1()->GetVertex()->Index(), Source.Edges().Edge(I)->Fin1()->GetVertex()->Index());
    }
    for (int I = 0; I < 12; ++I) {
        const TFace* S = Source.Faces().Face(I);
        const TFace* C = Copy.Faces().Face(I);
        EXPECT_NE(dynamic_cast<const TMyFace*>(C), nullptr);
        EXPECT_EQ(C->IsExterior(), I == 3);
        ASSERT_EQ(C->FinCount(), S->FinCount());
        for (int K = 0; K < S->FinCount(); ++K)
            EXPECT_EQ(C->Fins()[K]->GetVertex()->Index(), S->Fins()[K]->GetVertex()->Index());
    }
    EXPECT_EQ(Copy.Assign(Copy), 0);  // itself: kept as it is
    EXPECT_EQ(Copy.Faces().Count(), 12);
}

TEST(ManifoldAssign, CopiesLoopLinksOfAManifoldWithoutFaces) {
    TTriangleLoop T;
    TManifold Copy;
    ASSERT_EQ(Copy.Assign(T.M), 0);
    ASSERT_EQ(Copy.Edges().Count(), 3);
    EXPECT_EQ(Copy.Faces().Count(), 0);
    for (int I = 0; I < 3; ++I) {
        const TFin* F = Copy.Edges().Edge(I)->Fin2();
        EXPECT_EQ(F->NextFin, Copy.Edges().Edge((I + 1) % 3)->Fin2());
        EXPECT_EQ(F->PrevFin, Copy.Edges().Edge((I + 2) % 3)->Fin2());
        EXPECT_EQ(Copy.Edges().Edge(I)->Fin1()->NextFin, nullptr);
    }
    EXPECT_EQ(CheckLinks(Copy), "");
}

TEST(ManifoldAssign, ABrokenSourceLoopGivesOneAndAnEmptyCopy) {
    TTriangleLoop T;
    T.M.AddFace(T.Fins[0]);
    T.Fins[1]->NextFin = nullptr;  // the face's loop is now open
    TManifold Copy;
    EXPECT_EQ(Copy.Assign(T.M), 1);
    EXPECT_EQ(Copy.Vertices().Count(), 0);
    EXPECT_EQ(Copy.Edges().Count(), 0);
    EXPECT_EQ(Copy.Faces().Count(), 0);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(T.M.Edges().Edge(I)->CopyLink, nullptr);
}

// ---- Normals ----

TEST(ManifoldNormals, FewerThanTwoEdgesGiveZero) {
    TManifold M;
    TVertex* A = M.AddVertex({0, 0, 0});
    EXPECT_EQ(A->CalculateNormal(), ZeroVector);
    M.AddEdge(A, M.AddVertex({1, 0, 0}));
    EXPECT_EQ(A->CalculateNormal(), ZeroVector);
}

TEST(ManifoldNormals, TwoEdgesWithoutFacesShowAMessagePerMissingFace) {
    TScriptedMessages Messages;
    TTriangleLoop T;  // linked but no face
    const TMVector N = T.A->CalculateNormal();
    ASSERT_EQ(Messages.Dialogs.Shown.size(), 2u);
    for (const auto& Box : Messages.Dialogs.Shown)
        EXPECT_EQ(Box.Text, "TVertex.CalculateNormal - AFin1.Face not assigned in normal vector calculation");
    // The unsigned cross product of the two edges at A: (A->B) x (A->C) or its opposite.
    EXPECT_NEAR(std::fabs(N.Z), 1, 1e-12);
}

TEST(ManifoldNormals, TwoEdgesWithFacesPointAgainstTheLoop) {
    TScriptedMessages Messages;
    // A triangle bounded on both sides: its front loop A, B, C turns counter-clockwise about +z.
    TManifold M;
    BuildManifold(M, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {2, 1, 0}});
    for (int I = 0; I < 3; ++I) {
        const TMVector N = M.Vertices().Vertex(I)->CalculateNormal();
        EXPECT_NEAR(N.Z, -1, 1e-12) << I;
    }
    EXPECT_TRUE(Messages.Dialogs.Shown.empty());
}

// ---- Drawing and the dump ----

TEST(ManifoldDraw, VerticesEdgesAndInsetFaces) {
    TManifold M;
    BuildManifold(M, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    M.Vertices().Vertex(0)->Normal = {0, 0, 1};
    M.Vertices().Vertex(1)->Normal = {0, 0, 0.5};  // too short to draw
    TRecordingGraphics G;
    M.Draw(G);
    std::map<std::string, int> Count;
    for (const auto& Call : G.Calls) ++Count[Call.Name];
    EXPECT_EQ(Count["EditHandle"], 3);
    EXPECT_EQ(Count["Vector"], 1);
    EXPECT_EQ(Count["LineVectors"], 3);
    EXPECT_EQ(Count["Polygon"], 1);  // the inset triangle, filled
    EXPECT_EQ(Count["Polyline"], 1);
    for (const auto& Call : G.Calls) {
        if (Call.Name == "EditHandle") {
            EXPECT_EQ(Call.Kind, 2);
        }
        if (Call.Name == "Polygon") {
            EXPECT_EQ(Call.FillColor, 0xFF0000u);
        }
        if (Call.Name == "Polyline") {
            ASSERT_EQ(Call.Points.size(), 4u);
            // From the first fin's head (1, 0, 0), 95 % of the way from the centre.
            EXPECT_NEAR(Call.Points[0].X, 1 / 3.0 + 0.95 * (2 / 3.0), 1e-12);
            EXPECT_EQ(Call.Points[3], Call.Points[0]);
        }
    }
    G.Calls.clear();
    M.Faces().Face(0)->Exterior = 1;
    M.Faces().Draw(G);
    EXPECT_TRUE(G.Calls.empty());
}

TEST(ManifoldDump, TriangleWritesVerticesEdgesAndItsLoop) {
    TManifold M;
    BuildManifold(M, {{0, 0, 0}, {1.25, 0, 0}, {0, -1, 2}}, {{0, 1, 2}});
    const auto Path = std::filesystem::temp_directory_path() / "manifold-dump-test.man";
    M.SaveToFile(Path);
    EXPECT_EQ(ReadFile(Path),
              "V 0.000000 0.000000 0.000000\n"
              "V 1.250000 0.000000 0.000000\n"
              "V 0.000000 -1.000000 2.000000\n"
              "E 1 2\n"
              "E 2 3\n"
              "E 3 1\n"
              "F 2 3 1\n");
    std::filesystem::remove(Path);
    EXPECT_THROW(M.SaveToFile(Path / "no-such-folder" / "x.man"), EInOutError);
}

// ---- Lifetime ----

TEST(ManifoldLifetime, FreeingAnEdgeDirectlyLeavesNoDanglingLinks) {
    TManifold M;
    BuildManifold(M, testing::CubePoints(), testing::CubeTriangles());
    TEdge* E = M.Edges().Edge(4);
    TFace* F1 = E->Fin1()->GetFace();
    TFace* F2 = E->Fin2()->GetFace();
    M.Edges().Delete(4);  // no merge, but the edge leaves its vertices, faces and loops
    EXPECT_EQ(F1->FinCount(), 2);
    EXPECT_EQ(F2->FinCount(), 2);
    for (int I = 0; I < M.Edges().Count(); ++I)
        for (const TFin* F : {M.Edges().Edge(I)->Fin1(), M.Edges().Edge(I)->Fin2()}) {
            if (F->NextFin != nullptr) {
                EXPECT_EQ(F->NextFin->PrevFin, F);
            }
            if (F->PrevFin != nullptr) {
                EXPECT_EQ(F->PrevFin->NextFin, F);
            }
        }
    int Incident = 0;
    for (int I = 0; I < M.Vertices().Count(); ++I) Incident += M.Vertices().Vertex(I)->EdgeCount();
    EXPECT_EQ(Incident, 2 * M.Edges().Count());
    M.Vertices().Delete(0);  // its edges lose that end
    M.Clear();
    EXPECT_EQ(M.Vertices().Count() + M.Edges().Count() + M.Faces().Count(), 0);
}

// ---- Size ----

TEST(ManifoldSize, HundredsOfThousandsOfFacesBuildCopyAndClear) {
    // 299,538 faces; the time per face of building, copying and clearing, which must not grow with
    // the manifold, is measured by the manifold benchmark.
    std::vector<TMVector> P;
    testing::TIndexPolygons T;
    testing::GridMesh(388, P, T);
    TManifold Large;
    BuildManifold(Large, P, T);
    EXPECT_EQ(Large.Faces().Count(), 2 * 387 * 387);
    EXPECT_EQ(Large.Vertices().Count() - Large.Edges().Count() + Large.Faces().Count(), 1);  // a disc
    EXPECT_EQ(CheckLinks(Large), "");

    TManifold Copy;
    ASSERT_EQ(Copy.Assign(Large), 0);
    EXPECT_EQ(Copy.Faces().Count(), Large.Faces().Count());
    EXPECT_EQ(CheckLinks(Copy), "");
    Copy.Clear();
    EXPECT_EQ(Copy.Vertices().Count() + Copy.Edges().Count() + Copy.Faces().Count(), 0);
}

}  // namespace
}  // namespace sarnova
