#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/Errors.h"
#include "surfaces/Manifold.h"
#include "surfaces/ManifoldFixtures.h"

namespace sarnova {
namespace {

using testing::BuildManifold;
using testing::CheckLinks;

std::string MessageOf(const std::function<void()>& Act) {
    try {
        Act();
    } catch (const EError& E) {
        return E.what();
    }
    return "(nothing raised)";
}

// The unit square bounded on both sides: the front loop 0, 1, 2, 3 and the back loop 3, 2, 1, 0.
struct TPillow {
    TManifold M;
    TPillow() { BuildManifold(M, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}, {3, 2, 1, 0}}); }
    TVertex* V(int I) { return M.Vertices().Vertex(I); }
    TFace* Front() { return M.Faces().Face(0); }
    TFace* Back() { return M.Faces().Face(1); }
};

// The heads of a face's loop from its first fin, as vertex indices.
std::vector<int> LoopOf(const TFace* Face) {
    std::vector<int> Heads;
    for (const TFin* F : ClosedFinLoop(Face->FirstFin(), "test")) Heads.push_back(F->GetVertex()->Index());
    return Heads;
}

// ---- Splitting faces ----

TEST(ManifoldSplitFace, AQuadrilateralSplitsIntoTwoValidTriangles) {
    TPillow P;
    TFaceSplit Split;
    P.Front()->SubDivide(P.V(0), P.V(2), Split);
    ASSERT_EQ(CheckLinks(P.M), "");
    EXPECT_EQ(Split.Face, P.Front());
    EXPECT_EQ(Split.NewFace, P.M.Faces().Face(2));
    EXPECT_EQ(Split.NewEdge->Fin1()->GetVertex(), P.V(0));
    EXPECT_EQ(Split.NewEdge->Fin2()->GetVertex(), P.V(2));
    EXPECT_EQ(Split.Fin1->GetVertex(), P.V(0));
    EXPECT_EQ(Split.Fin2->GetVertex(), P.V(2));
    EXPECT_EQ(LoopOf(Split.Face), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(LoopOf(Split.NewFace), (std::vector<int>{0, 1, 2}));
    Split.Face->Validate();
    Split.NewFace->Validate();
    EXPECT_EQ(P.M.Vertices().Count() - P.M.Edges().Count() + P.M.Faces().Count(), 2);
}

TEST(ManifoldSplitFace, VerticesOffTheFaceAreRefusedUnchanged) {
    TPillow P;
    TVertex* Loose = P.M.AddVertex({5, 5, 5});
    TFaceSplit Split;
    EXPECT_EQ(MessageOf([&] { P.Front()->SubDivide(Loose, P.V(2), Split); }),
              "TFace.SubDivide - Vertex1 is not part of face");
    EXPECT_EQ(MessageOf([&] { P.Front()->SubDivide(P.V(0), Loose, Split); }),
              "TFace.SubDivide - Vertex2 is not part of face");
    EXPECT_EQ(MessageOf([&] { P.Front()->SubDivide(P.V(1), P.V(1), Split); }),
              "TFace.SubDivide - Vertex1 and Vertex2 are the same loop corner");
    EXPECT_EQ(P.M.Edges().Count(), 4);
    EXPECT_EQ(P.M.Faces().Count(), 2);
    EXPECT_EQ(CheckLinks(P.M), "");
}

// ---- Struts ----

TEST(ManifoldStrut, RunsOutToTheEmptyVertexAndBack) {
    TManifold M;
    BuildManifold(M, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {2, 1, 0}});
    TFace* Face = M.Faces().Face(0);
    TVertex* Tip = M.AddVertex({0.3, 0.3, 0});
    TEdge* Strut = Face->AddStrut(Tip, M.Vertices().Vertex(0));
    ASSERT_EQ(CheckLinks(M), "");
    EXPECT_EQ(Face->FinCount(), 5);
    EXPECT_EQ(Strut->Fin1()->GetFace(), Face);
    EXPECT_EQ(Strut->Fin2()->GetFace(), Face);
    EXPECT_EQ(Strut->Fin1()->NextFin, Strut->Fin2());
    EXPECT_EQ(Strut->OtherVertex(Tip), M.Vertices().Vertex(0));
    Face->Validate();

    // A vertex with an edge, a loop vertex off the face, a fin of another face: refused, unchanged.
    TFace* Back = M.Faces().Face(1);
    TVertex* Loose = M.AddVertex({9, 9, 9});
    EXPECT_EQ(MessageOf([&] { Face->AddStrut(Tip, M.Vertices().Vertex(1)); }),
              "TFace.AddStrut - Strut can only be made to an empty vertex");
    EXPECT_EQ(MessageOf([&] { Face->AddStrut(Loose, Loose); }),
              "TFace.AddStrut - Edge Vertex was not found in the face loop");
    EXPECT_EQ(MessageOf([&] { Face->AddStrutAtFin(Loose, Back->FirstFin()); }),
              "TFace.AddStrut - Fin does not belong to this face");
    EXPECT_EQ(M.Edges().Count(), 4);
    EXPECT_EQ(Face->FinCount(), 5);
    EXPECT_EQ(CheckLinks(M), "");

    // Deleting the strut again: one face on both sides, and the tip goes with it.
    M.DeleteEdge(Strut);
    EXPECT_EQ(Face->FinCount(), 3);
    EXPECT_EQ(M.Vertices().Count(), 4);  // the loose vertex stays; the tip went
    EXPECT_EQ(CheckLinks(M), "");
}

TEST(ManifoldValidate, NoticesABrokenLoop) {
    TPillow P;
    P.Front()->Validate();
    TFin* F = P.Front()->FirstFin();
    F->NextFin->PrevFin = F->PrevFin;
    EXPECT_EQ(MessageOf([&] { P.Front()->Validate(); }), "TFace.Validate - Error in Fin Loop Integrity");
    F->NextFin->PrevFin = F;
    F->PrevFin->NextFin = nullptr;
    EXPECT_EQ(MessageOf([&] { P.Front()->Validate(); }), "TFace.Validate - Error in Fin Loop Integrity");
}

// ---- Splitting and joining edges ----

TEST(ManifoldSplitEdge, BothFacesGainAFinAndStayValid) {
    TPillow P;
    TEdge* E = P.M.Edges().Edge(1);  // 1 to 2
    ASSERT_EQ(E->Fin1()->GetVertex(), P.V(1));
    TEdgeSplit Split;
    E->SubDivide({1, 0.5, 0}, Split);
    ASSERT_EQ(CheckLinks(P.M), "");
    EXPECT_EQ(Split.Edge, E);
    EXPECT_EQ(Split.NewVertex->Position, (TMVector{1, 0.5, 0}));
    EXPECT_EQ(E->Fin1()->GetVertex(), P.V(1));
    EXPECT_EQ(E->Fin2()->GetVertex(), Split.NewVertex);
    EXPECT_EQ(Split.NewEdge->Fin1()->GetVertex(), Split.NewVertex);
    EXPECT_EQ(Split.NewEdge->Fin2()->GetVertex(), P.V(2));
    EXPECT_EQ(Split.NewVertex->EdgeCount(), 2);
    EXPECT_EQ(P.Front()->FinCount(), 5);
    EXPECT_EQ(P.Back()->FinCount(), 5);
    EXPECT_EQ(LoopOf(P.Front()), (std::vector<int>{1, 4, 2, 3, 0}));
    EXPECT_EQ(LoopOf(P.Back()), (std::vector<int>{2, 4, 1, 0, 3}));
}

TEST(ManifoldJoinEdge, JoiningAtATwoEdgeVertexUndoesASplit) {
    TPillow P;
    TEdge* E = P.M.Edges().Edge(1);
    TEdgeSplit Split;
    E->SubDivide({1, 0.5, 0}, Split);
    E->JoinToNext(E->Fin2());
    ASSERT_EQ(CheckLinks(P.M), "");
    EXPECT_EQ(P.M.Vertices().Count(), 4);
    EXPECT_EQ(P.M.Edges().Count(), 4);
    EXPECT_EQ(E->Fin2()->GetVertex(), P.V(2));
    EXPECT_EQ(LoopOf(P.Front()), (std::vector<int>{1, 2, 3, 0}));
    P.Front()->Validate();
    P.Back()->Validate();
}

TEST(ManifoldJoinEdge, RefusesVerticesOfThreeEdgesAndFreeEnds) {
    TManifold M;
    BuildManifold(M, testing::CubePoints(), testing::CubeTriangles());
    TEdge* E = M.Edges().Edge(0);
    EXPECT_EQ(MessageOf([&] { E->JoinToNext(E->Fin2()); }),
              "TEdge.JoinToNext - Can only join to next edge if there is only two edges at the next vertex");
    EXPECT_EQ(CheckLinks(M), "");

    // A strut of two pieces: joining into the piece that ends at the free tip would free that tip.
    TManifold S;
    BuildManifold(S, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {2, 1, 0}});
    TFace* Face = S.Faces().Face(0);
    TEdge* Strut = Face->AddStrut(S.AddVertex({0.2, 0.2, 0}), S.Vertices().Vertex(0));
    TEdgeSplit Split;
    Strut->SubDivide({0.1, 0.1, 0}, Split);
    ASSERT_EQ(CheckLinks(S), "");
    TEdge* Outer = Split.NewEdge;  // from the middle to the loop vertex
    EXPECT_EQ(MessageOf([&] { Outer->JoinToNext(Outer->GetFin(Split.NewVertex)); }),
              "TEdge.JoinToNext - The next edge ends at a free vertex");
    EXPECT_EQ(CheckLinks(S), "");
    EXPECT_EQ(Face->FinCount(), 7);
    // The other way round the tip stays and the strut is one edge again.
    Strut->JoinToNext(Strut->GetFin(Split.NewVertex));
    EXPECT_EQ(CheckLinks(S), "");
    EXPECT_EQ(Face->FinCount(), 5);
    EXPECT_EQ(Strut->OtherVertex(S.Vertices().Vertex(0)), S.Vertices().Vertex(3));
}

// ---- Reversing ----

TEST(ManifoldReverse, ReversingEveryEdgeTurnsEveryLoopAround) {
    TManifold M;
    BuildManifold(M, testing::CubePoints(), testing::CubeTriangles());
    const TMVector Centre{0.5, 0.5, 0.5};
    std::vector<std::vector<int>> Before;
    for (int I = 0; I < M.Faces().Count(); ++I) Before.push_back(LoopOf(M.Faces().Face(I)));
    TEdge* First = M.Edges().Edge(0);
    TFace* FirstFace = First->Fin1()->GetFace();
    for (int I = 0; I < M.Edges().Count(); ++I) M.Edges().Edge(I)->Reverse();
    EXPECT_EQ(First->Fin2()->GetFace(), FirstFace);  // the fins exchanged their faces
    ASSERT_EQ(CheckLinks(M), "");
    for (int I = 0; I < M.Faces().Count(); ++I) {
        TFace* Face = M.Faces().Face(I);
        Face->Validate();
        std::vector<int> Loop = LoopOf(Face);
        std::vector<int> Old = Before[static_cast<std::size_t>(I)];
        std::reverse(Old.begin(), Old.end());
        std::rotate(Old.begin(), std::find(Old.begin(), Old.end(), Loop.front()), Old.end());
        EXPECT_EQ(Loop, Old) << I;
        Face->CalculateCentroidAndNormal();
        EXPECT_LT(VectorDot(Face->Normal(), VectorFromTo(Centre, Face->Centroid)), 0) << I;
    }
}

// ---- Deleting ----

TEST(ManifoldDeleteEdge, TheOnlyEdgeTakesBothVertices) {
    TManifold M;
    TEdge* E = M.AddEdge(M.AddVertex({0, 0, 0}), M.AddVertex({1, 0, 0}));
    M.AddVertex({2, 0, 0});
    M.DeleteEdge(E);
    EXPECT_EQ(M.Edges().Count(), 0);
    EXPECT_EQ(M.Vertices().Count(), 1);
    EXPECT_EQ(M.Vertices().Vertex(0)->Position.X, 2);
}

TEST(ManifoldDeleteEdge, MergesTheFacesOnItsSidesKeepingAnInteriorOne) {
    // Two triangles on the diagonal 0-2 of a square, with an outside face around them.
    struct TCase {
        bool FirstExterior;
        bool SecondExterior;
        int Kept;  // 0: the first fin's face, 1: the second fin's
    };
    const TCase Cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 0}, {true, true, 0}};
    for (const TCase& C : Cases) {
        TManifold M;
        BuildManifold(M, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 2, 3}, {3, 2, 1, 0}});
        TEdge* Diagonal = M.Edges().Edge(2);
        ASSERT_EQ(Diagonal->Fin1()->GetVertex()->Index() + Diagonal->Fin2()->GetVertex()->Index(), 2);
        TFace* FirstFace = Diagonal->Fin1()->GetFace();
        TFace* SecondFace = Diagonal->Fin2()->GetFace();
        FirstFace->Exterior = C.FirstExterior;
        SecondFace->Exterior = C.SecondExterior;
        TFace* Kept = C.Kept == 0 ? FirstFace : SecondFace;
        M.DeleteEdge(Diagonal);
        ASSERT_EQ(CheckLinks(M), "") << C.FirstExterior << C.SecondExterior;
        EXPECT_EQ(M.Faces().Count(), 2);
        EXPECT_TRUE(M.Faces().Contains(Kept));
        EXPECT_EQ(Kept->FinCount(), 4);
        EXPECT_EQ(M.Vertices().Count(), 4);
        Kept->Validate();
    }
}

TEST(ManifoldDeleteVertex, OpensAHoleBoundedByOneFace) {
    TManifold M;
    BuildManifold(M, testing::CubePoints(), testing::CubeTriangles());
    TVertex* Corner = M.Vertices().Vertex(0);
    const int Degree = Corner->EdgeCount();
    M.DeleteVertex(Corner);
    ASSERT_EQ(CheckLinks(M), "");
    EXPECT_EQ(M.Vertices().Count(), 7);
    EXPECT_EQ(M.Edges().Count(), 18 - Degree);
    EXPECT_EQ(M.Faces().Count(), 12 - Degree + 1);
    EXPECT_EQ(M.Vertices().Count() - M.Edges().Count() + M.Faces().Count(), 2);
    for (int I = 0; I < M.Faces().Count(); ++I) M.Faces().Face(I)->Validate();

    TVertex* Lone = M.AddVertex({3, 3, 3});
    M.DeleteVertex(Lone);
    EXPECT_EQ(M.Vertices().Count(), 7);
}

TEST(ManifoldDeleteFreeEdges, RemovesOnlyEdgesWithoutFaces) {
    TManifold M;
    BuildManifold(M, testing::CubePoints(), testing::CubeTriangles());
    M.DeleteFreeEdges();
    EXPECT_EQ(M.Edges().Count(), 18);
    TVertex* A = M.AddVertex({2, 0, 0});
    TVertex* B = M.AddVertex({3, 0, 0});
    M.AddEdge(M.Vertices().Vertex(1), A);
    M.AddEdge(A, B);
    M.DeleteFreeEdges();
    EXPECT_EQ(M.Edges().Count(), 18);
    EXPECT_EQ(M.Vertices().Count(), 8);
    EXPECT_EQ(CheckLinks(M), "");
}

// ---- Size ----

TEST(ManifoldSize, EditsInALargeManifoldKeepEveryLink) {
    // Splits and deletes of interior edges across a grid of 299,538 faces (their time per edit,
    // which must not grow with the manifold, is measured by the manifold benchmark).
    std::vector<TMVector> Points;
    testing::TIndexPolygons Triangles;
    testing::GridMesh(388, Points, Triangles);
    TManifold M;
    BuildManifold(M, Points, Triangles);
    const std::vector<TEdge*> Interior = testing::InteriorEdges(M, 4000);
    ASSERT_EQ(Interior.size(), 8000u);
    testing::SplitAndDelete(M, Interior);
    EXPECT_EQ(CheckLinks(M), "");
}

}  // namespace
}  // namespace sarnova
