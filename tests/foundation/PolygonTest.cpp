#include "foundation/Polygon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "VkMathsExpect.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextFile.h"
#include "platform/RecordingGraphics.h"

using namespace sarnova;

namespace {

const TMVector A{0, 0, 0}, B{1, 0, 0}, C{1, 1, 0}, D{0, 1, 0};

std::vector<TMVector> CornersOf(const TPolygon& F) {
    std::vector<TMVector> Result;
    for (int I = 0; I < F.CornerCount(); ++I) Result.push_back(F.Corner(I)->Vector());
    return Result;
}

double TotalArea(const TPolygonList& Mesh) {
    double Sum = 0;
    for (int I = 0; I < Mesh.Count(); ++I) Sum += Mesh.Polygon(I)->Area();
    return Sum;
}

// A triangle whose first corner carries a weight, a parameter, a code and a mark, with a normal at
// corner 2, its own colour, an edge colour and the selection.
std::unique_ptr<TPolygon> RichTriangle() {
    auto F = std::make_unique<TPolygon>(0);
    TRPoint P(TMVector{1, 2, 3});
    P.W = 2.5;
    P.T = 0.75;
    P.Tag = 4;
    P.Marked = true;
    F->SetCorner(0, P);
    F->SetCorner(1, TRPoint(B));
    F->SetCorner(2, TRPoint(C));
    F->SetNormal(2, {0, 1, 1});
    F->SetColor(clRed);
    F->EdgeColor = clBlue;
    F->Selected = true;
    return F;
}

// A quadrilateral ABCD and the triangle (5, 5, 5), (6, 5, 5), (5, 6, 5).
void AddQuadAndTriangle(TPolygonList& Mesh) {
    Mesh.Add(QuadFromVectors(A, B, C, D));
    Mesh.Add(TriangleFromVectors({5, 5, 5}, {6, 5, 5}, {5, 6, 5}));
}

}  // namespace

TEST(TPolygonList, TriangulatedCopySplitsQuadrilateralsIntoFreshTriangles) {
    TPolygonList Mesh;
    AddQuadAndTriangle(Mesh);
    Mesh.ShowNormals = true;
    Mesh.Polygon(0)->SetSelected(true);
    Mesh.Polygon(0)->SetColor(clRed);
    Mesh.Polygon(1)->SetColor(clBlue);

    auto Copy = Mesh.TriangulatedCopy();
    ASSERT_EQ(Copy->Count(), 3);
    EXPECT_TRUE(Copy->ShowNormals);
    EXPECT_EQ(CornersOf(*Copy->Polygon(0)), (std::vector<TMVector>{A, B, C}));
    EXPECT_EQ(CornersOf(*Copy->Polygon(1)), (std::vector<TMVector>{A, C, D}));
    for (int I = 0; I < 2; ++I) {
        const TFacetRef T = Copy->Polygon(I);
        EXPECT_TRUE(T.GetSelected());
        EXPECT_FALSE(T.GetOwnColor());
        EXPECT_EQ(T.GetColor(), clNone);
    }
    // The triangle is copied unchanged, colour included; the original mesh is untouched.
    EXPECT_EQ(CornersOf(*Copy->Polygon(2)), CornersOf(*Mesh.Polygon(1)));
    EXPECT_EQ(Copy->Polygon(2)->GetColor(), clBlue);
    EXPECT_EQ(Mesh.Polygon(0)->GetShape(), 1);
}

TEST(TPolygonList, TriangulateWorksInPlace) {
    TPolygonList Mesh;
    AddQuadAndTriangle(Mesh);
    Mesh.Polygon(0)->SetNormal(0, {0, 0, 1});
    const std::vector<TMVector> Triangle = CornersOf(*Mesh.Polygon(1));

    Mesh.Triangulate();
    ASSERT_EQ(Mesh.Count(), 3);
    // The quadrilateral becomes the first triangle in its place and keeps its normal at corner 0.
    const TFacetRef Quad = Mesh.Polygon(0);
    EXPECT_EQ(CornersOf(*Quad), (std::vector<TMVector>{A, B, C}));
    ASSERT_NE(Quad->Normal(0), nullptr);
    EXPECT_EQ(CornersOf(*Mesh.Polygon(1)), (std::vector<TMVector>{A, C, D}));
    EXPECT_EQ(CornersOf(*Mesh.Polygon(2)), Triangle);

    Mesh.ReplaceByTriangles();
    EXPECT_EQ(Mesh.Count(), 3);
}

TEST(TPolygonList, TextBlockRoundTrips) {
    TPolygonList Mesh;
    Mesh.Add(TriangleFromVectors({0, 1.25, -2}, {1, 0, 0}, {0, 0, 1}));
    Mesh.Add(QuadFromVectors(A, B, C, D));
    TTextWriter Out;
    Mesh.SaveToText(Out);
    EXPECT_EQ(Out.Text(),
              "NumberofPolygons=2\n"
              "3 0.000 1.250 -2.000 1.000 0.000 0.000 0.000 0.000 1.000\n"
              "4 0.000 0.000 0.000 1.000 0.000 0.000 1.000 1.000 0.000 0.000 1.000 0.000\n");

    TTextReader In(Out.Text() + "next line\n");
    TPolygonList Loaded;
    Loaded.LoadFromText(In);
    ASSERT_EQ(Loaded.Count(), 2);
    EXPECT_EQ(CornersOf(*Loaded.Polygon(0)), CornersOf(*Mesh.Polygon(0)));
    EXPECT_EQ(CornersOf(*Loaded.Polygon(1)), CornersOf(*Mesh.Polygon(1)));
    EXPECT_EQ(In.ReadLine(), "next line");

    // Reading appends; the key is not checked.
    TTextReader Again("Whatever=1\r\n3 0 0 0 1 0 0 0 1 0\r\n");
    Loaded.LoadFromText(Again);
    EXPECT_EQ(Loaded.Count(), 3);
}

TEST(TPolygonList, DamagedTextBlocks) {
    struct TCase {
        const char* Text;
        int Facets;  // left in the mesh
        const char* Error;
    };
    const TCase Cases[] = {
        {"NumberofPolygons=0\n3 0 0 0 1 0 0 0 1 0\n", 0, nullptr},
        {"NumberofPolygons=-4\n", 0, nullptr},
        {"NumberofPolygons=two\n", 0, "EConvertError"},
        // A count far beyond the lines present ends at the end of the text, with what was read kept.
        {"NumberofPolygons=2000000000\n3 0 0 0 1 0 0 0 1 0\n", 1, "EInOutError"},
        {"NumberofPolygons=99999999999999\n", 0, "EConvertError"},
        {"NumberofPolygons=3\n3 0 0 0 1 0 0 0 1 0\n3 0 0 x\n3 0 0 0 1 0 0 0 1 0\n", 1, "EInOutError"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        TTextReader In(Case.Text);
        TPolygonList Mesh;
        std::string Raised;
        try {
            Mesh.LoadFromText(In);
        } catch (const EConvertError&) {
            Raised = "EConvertError";
        } catch (const EInOutError&) {
            Raised = "EInOutError";
        }
        EXPECT_EQ(Raised, Case.Error ? Case.Error : "");
        EXPECT_EQ(Mesh.Count(), Case.Facets);
    }
}

TEST(TPolygonList, ExtentsAndDrawingOfAnEmptyMesh) {
    TPolygonList Mesh;
    EXPECT_EQ(Mesh.Extents(), EmptyBox);
    Mesh.ShowNormals = true;
    TRecordingGraphics G;
    Mesh.Draw(G);
    Mesh.DrawFilled(G);
    EXPECT_TRUE(G.Calls.empty());
}

TEST(TPolygonList, DrawsEveryEdgeAndTheNormals) {
    TPolygonList Mesh;
    AddQuadAndTriangle(Mesh);
    EXPECT_EQ(Mesh.Extents(), MakeBox(0, 0, 0, 6, 6, 5));

    TRecordingGraphics G;
    Mesh.Draw(G);
    ASSERT_EQ(G.Calls.size(), 7u);
    const std::vector<std::vector<TMVector>> Edges = {
        {A, B}, {B, C}, {C, D}, {D, A}, {{5, 5, 5}, {6, 5, 5}}, {{6, 5, 5}, {5, 6, 5}}, {{5, 6, 5}, {5, 5, 5}}};
    for (std::size_t I = 0; I < Edges.size(); ++I) {
        EXPECT_EQ(G.Calls[I].Name, "Line");
        EXPECT_EQ(G.Calls[I].Points, Edges[I]);
    }

    // With normals: an arrow 1 % of the largest extent (6) long from each centroid, and the vertex
    // normals of a facet that has all three.
    Mesh.ShowNormals = true;
    for (int I = 0; I < 3; ++I) Mesh.Polygon(1)->SetNormal(I, {0, 0, -1});
    G.Calls.clear();
    Mesh.Draw(G);
    EXPECT_EQ(G.Names(), (std::vector<std::string>{"Line", "Line", "Line", "Line", "VectorPoints", "Line", "Line",
                                                   "Line", "VectorPoints", "Line", "Line", "Line"}));
    const TGraphicsCall& Arrow = G.Calls[4];
    EXPECT_EQ(Arrow.Points, (std::vector<TMVector>{{0.5, 0.5, 0}, {0, 0, 1}}));
    EXPECT_DOUBLE_EQ(Arrow.Size, 0.06);
    EXPECT_TRUE(Arrow.Flag);
    ExpectNear(G.Calls[9].Points[1], {5, 5, 4.94});

    G.Calls.clear();
    Mesh.DrawFilled(G);
    EXPECT_EQ(G.Names(), (std::vector<std::string>{"Polygon", "Polygon"}));
}

TEST(TPolygonList, DrawsEachSharedEdgeOnceAsTheFacetsFirstHaveIt) {
    using TLines = std::vector<std::vector<TMVector>>;
    const TMVector E{2, 1, 0}, F{0.5, -1, 0}, SignedZeroA{-0.0, 0, -0.0}, AlmostA{1e-12, 0, 0};
    struct TCase {
        const char* Name;
        TLines Facets;
        TLines Lines;
    };
    const TCase Cases[] = {
        {"shared the other way round", {{A, B, C, D}, {C, B, E}}, {{A, B}, {B, C}, {C, D}, {D, A}, {B, E}, {E, C}}},
        {"shared the same way round", {{A, B, C}, {A, B, F}}, {{A, B}, {B, C}, {C, A}, {B, F}, {F, A}}},
        {"a zero's sign does not count", {{A, B, C}, {C, B, SignedZeroA}}, {{A, B}, {B, C}, {C, A}}},
        {"positions apart however little", {{A, B, C}, {AlmostA, C, B}}, {{A, B}, {B, C}, {C, A}, {AlmostA, C}, {B, AlmostA}}},
        {"a collapsed edge once", {{A, A, B}, {B, A, A}}, {{A, A}, {A, B}}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TPolygonList Mesh;
        for (const auto& P : Case.Facets)
            Mesh.Add(P.size() == 4 ? QuadFromVectors(P[0], P[1], P[2], P[3]) : TriangleFromVectors(P[0], P[1], P[2]));
        TRecordingGraphics G;
        Mesh.DrawDistinctEdges(G);
        TLines Drawn;
        for (const TGraphicsCall& Call : G.Calls) {
            EXPECT_EQ(Call.Name, "Line");
            Drawn.push_back(Call.Points);
        }
        EXPECT_EQ(Drawn, Case.Lines);
    }

    // Many facets, beyond the first guess of the tables: a grid of N x N squares split along a diagonal
    // has N (N + 1) edges each way and N^2 diagonals, and loose triangles three edges each. A fan of
    // N triangles about one corner has N spokes and N rim edges, all the spokes meeting at the centre.
    const int N = 120;
    TPolygonList Grid, Loose, Fan;
    auto Rim = [](int K) { return TMVector{std::cos(K * 0.05), std::sin(K * 0.05), 1}; };
    for (int K = 0; K < N; ++K) Fan.Add(TriangleFromVectors({0, 0, 1}, Rim(K), Rim((K + 1) % N)));
    auto P = [](int I, int J) { return TMVector{0.1 * I, std::sin(0.05 * J), 0.3 * J}; };
    for (int I = 0; I < N; ++I)
        for (int J = 0; J < N; ++J) {
            Grid.Add(TriangleFromVectors(P(I, J), P(I + 1, J), P(I + 1, J + 1)));
            Grid.Add(TriangleFromVectors(P(I, J), P(I + 1, J + 1), P(I, J + 1)));
            Loose.Add(TriangleFromVectors(P(I, J), P(I + 1, J), {0.1 * I, 5, 0.3 * J}));
        }
    for (auto [Mesh, Count] : {std::pair{&Grid, 2 * N * (N + 1) + N * N}, std::pair{&Loose, 3 * N * N}, std::pair{&Fan, 2 * N}}) {
        TRecordingGraphics G;
        Mesh->DrawDistinctEdges(G);
        auto Key = [](const TMVector& V) { return std::tuple(V.X, V.Y, V.Z); };
        std::set<std::pair<std::tuple<double, double, double>, std::tuple<double, double, double>>> Edges;
        for (const TGraphicsCall& Call : G.Calls) Edges.insert(std::minmax(Key(Call.Points[0]), Key(Call.Points[1])));
        EXPECT_EQ(G.Calls.size(), std::size_t(Count));
        EXPECT_EQ(Edges.size(), std::size_t(Count));
    }

    TPolygonList Empty;
    TRecordingGraphics G;
    Empty.DrawDistinctEdges(G);
    EXPECT_TRUE(G.Calls.empty());
}

TEST(TPolygonList, CopiesMovesAndSelections) {
    TPolygonList Mesh;
    AddQuadAndTriangle(Mesh);
    Mesh.ShowNormals = true;

    auto Clone = Mesh.Clone();
    ASSERT_EQ(Clone->Count(), 2);
    EXPECT_TRUE(Clone->ShowNormals);
    EXPECT_EQ(CornersOf(*Clone->Polygon(0)), CornersOf(*Mesh.Polygon(0)));

    Clone->AddCopies(nullptr);
    Clone->AddCopies(Clone.get());
    EXPECT_EQ(Clone->Count(), 4);

    // TakeFrom moves the facets, last first.
    Clone->Polygon(3)->SetSelected(true);
    const std::vector<TMVector> First = CornersOf(*Clone->Polygon(0)), Last = CornersOf(*Clone->Polygon(3));
    TPolygonList Target;
    Target.Add(TriangleFromVectors(A, B, C));
    Target.TakeFrom(*Clone);
    EXPECT_EQ(Clone->Count(), 0);
    ASSERT_EQ(Target.Count(), 5);
    EXPECT_EQ(CornersOf(*Target.Polygon(1)), Last);
    EXPECT_TRUE(Target.Polygon(1)->GetSelected());
    EXPECT_EQ(CornersOf(*Target.Polygon(4)), First);

    EXPECT_EQ(Mesh.SelectedCount(), 0);
    EXPECT_TRUE(Mesh.SelectedIndices().empty());
    Mesh.Polygon(1)->SetSelected(true);
    EXPECT_EQ(Mesh.SelectedIndices(), std::vector<int>{1});
    EXPECT_EQ(Mesh.SelectedCount(), 1);
    EXPECT_EQ(Mesh.Polygon(1)->CornerCount(), 3);

    auto Moved = Mesh.Transformed(MatrixTranslation(0, 0, 2));
    EXPECT_TRUE(Moved->ShowNormals);
    EXPECT_EQ(Moved->Extents(), MakeBox(0, 0, 2, 6, 6, 7));

    Mesh.FlipNormals();
    EXPECT_EQ(CornersOf(*Mesh.Polygon(0)), (std::vector<TMVector>{C, B, A, D}));
}

TEST(ClipPolygonsByPlane, KeepsOneSideSplitIntoTriangles) {
    const TMPlane Z0{{0, 0, 1}, 0};
    TPolygonList Mesh;
    Mesh.Add(TriangleFromVectors({0, 0, -1}, {1, 0, -1}, {0, 0, 1}));

    auto Below = ClipPolygonsByPlane(Mesh, 0, Z0);
    ASSERT_EQ(Below->Count(), 2);  // a quadrilateral, split
    auto Above = ClipPolygonsByPlane(Mesh, 1, Z0);
    ASSERT_EQ(Above->Count(), 1);
    EXPECT_NEAR(TotalArea(*Below) + TotalArea(*Above), 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(Above->Extents().Min.Z, 0);
}

TEST(ClipPolygonsByPlane, ClipsAQuadrilateralAsBothItsTriangles) {
    const TMPlane Z0{{0, 0, 1}, 0};
    struct TCase {
        const char* Name;
        TMVector P0, P1, P2, P3;
        double AreaBelow;
    };
    const TCase Cases[] = {
        // A 1 x 2 upright rectangle cut across its middle.
        {"straddling", {0, 0, -1}, {1, 0, -1}, {1, 0, 1}, {0, 0, 1}, 1.0},
        // The first three corners below, the fourth above: kept only up to the plane.
        {"last corner above", {0, 0, -1}, {1, 0, -1}, {1, 0, -0.5}, {0, 0, 1}, 11.0 / 12.0},
        {"wholly below", {0, 0, -2}, {1, 0, -2}, {1, 0, -1}, {0, 0, -1}, 1.0},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TPolygonList Mesh;
        Mesh.Add(QuadFromVectors(Case.P0, Case.P1, Case.P2, Case.P3));
        auto Below = ClipPolygonsByPlane(Mesh, 0, Z0);
        EXPECT_NEAR(TotalArea(*Below), Case.AreaBelow, 1e-12);
        EXPECT_LE(Below->Extents().Max.Z, 0);
        for (int I = 0; I < Below->Count(); ++I) EXPECT_EQ(Below->Polygon(I)->GetShape(), 0);
    }
}

TEST(TPolygonList, FacetsShareCornerPositionsButAnEditMovesOnlyItsFacet) {
    TPolygonList Mesh;
    Mesh.Add(TriangleFromVectors(A, B, C));
    Mesh.Add(TriangleFromVectors(A, C, D));
    // A -0 is a position of its own: corners are shared only when equal bit for bit.
    Mesh.Add(TriangleFromVectors({-0.0, 0, 0}, B, D));
    EXPECT_EQ(Mesh.VertexCount(), 5);

    const std::vector<TMVector> Second = CornersOf(*Mesh.Polygon(1)), Third = CornersOf(*Mesh.Polygon(2));
    struct TEdit {
        const char* What;
        void (*Apply)(TFacetRef F);
        std::vector<TMVector> Expected;
    };
    const TEdit Edits[] = {
        {"MoveCorner", [](TFacetRef F) { F.MoveCorner(0, {0, 0, 7}); }, {{0, 0, 7}, B, C}},
        {"SetCorner", [](TFacetRef F) { F.SetCorner(2, TRPoint(TMVector{1, 1, 7})); }, {A, B, {1, 1, 7}}},
        {"AssignCorner", [](TFacetRef F) { F.AssignCorner(0, TRPoint(TMVector{0, 0, 7})); }, {{0, 0, 7}, B, C}},
        {"Insert", [](TFacetRef F) { F.Insert(3, {0.5, 0.5, 7}); }, {A, B, C, {0.5, 0.5, 7}}},
        {"Swap", [](TFacetRef F) { F.SwapCornerValues(0, 2); }, {C, B, A}},
    };
    for (const TEdit& Edit : Edits) {
        SCOPED_TRACE(Edit.What);
        TPolygonList Copy;
        Copy.Assign(Mesh);
        Edit.Apply(Copy.Polygon(0));
        EXPECT_EQ(CornersOf(*Copy.Polygon(0)), Edit.Expected);
        EXPECT_EQ(CornersOf(*Copy.Polygon(1)), Second);
        EXPECT_EQ(CornersOf(*Copy.Polygon(2)), Third);
        EXPECT_TRUE(std::signbit(Copy.Polygon(2)->Corner(0)->X));
    }
}

TEST(TPolygonList, MovedFacetsKeepEverythingTheyCarry) {
    // Normals, corner marks and extras, colours and selection travel with a facet between lists;
    // copies leave the marks behind, as CopyPolygon does.
    const auto F = RichTriangle();
    TPolygonList Source;
    Source.Add(TriangleFromVectors(A, B, D));
    Source.Add(*F);

    const auto Check = [](const TFacetRef& G, bool Marked) {
        EXPECT_EQ(G.CornerPoint(0).W, 2.5);
        EXPECT_EQ(G.CornerPoint(0).Tag, 4);
        EXPECT_EQ(G.CornerMarked(0), Marked);
        ASSERT_NE(G.Normal(2), nullptr);
        EXPECT_EQ(G.Normal(2)->Z, 1);
        EXPECT_EQ(G.Normal(0), nullptr);
        EXPECT_EQ(G.GetColor(), clRed);
        EXPECT_TRUE(G.GetOwnColor());
        EXPECT_EQ(G.GetEdgeColor(), clBlue);
        EXPECT_TRUE(G.GetSelected());
    };
    TPolygonList Copies, Moved, Taken;
    Copies.AddCopies(&Source);
    Check(Copies.Polygon(1), false);
    Source.MoveFacetsTo({false, true}, Moved);
    Check(Moved.Polygon(0), true);
    ASSERT_EQ(Source.Count(), 1);
    EXPECT_EQ(Source.Polygon(0)->Normal(2), nullptr);
    Taken.TakeFrom(Moved);
    Check(Taken.Polygon(0), true);
    EXPECT_EQ(Moved.Count(), 0);
}

TEST(TPolygonList, PositionsGivenUpByEditsAreDroppedInTime) {
    // Dragging corners over and over must not grow the mesh: positions no facet uses any more go.
    TPolygonList Mesh;
    for (int I = 0; I < 100; ++I) Mesh.Add(TriangleFromVectors({double(I), 0, 0}, {I + 1.0, 0, 0}, {double(I), 1, 0}));
    int Most = 0;
    for (int Step = 1; Step <= 200; ++Step) {
        for (int I = 0; I < Mesh.Count(); ++I) Mesh.Polygon(I).MoveCorner(2, {double(I), 1, 0.001 * Step});
        Most = std::max(Most, Mesh.VertexCount());
    }
    EXPECT_LT(Most, 4096 + 400);
    Mesh.Delete(0);
    for (int I = 0; I < Mesh.Count(); ++I)
        EXPECT_EQ(CornersOf(*Mesh.Polygon(I)),
                  (std::vector<TMVector>{{I + 1.0, 0, 0}, {I + 2.0, 0, 0}, {I + 1.0, 1, 0.2}}));
}

TEST(TPolygonList, TransformedGivesWhatEachFacetTransformedGives) {
    TPolygonList Mesh;
    Mesh.Add(RichTriangle());
    TPolygon OnlyParameter(0);
    TRPoint Q(TMVector{4, 5, 6});
    Q.T = 0.5;
    OnlyParameter.SetCorner(0, Q);
    OnlyParameter.SetCorner(1, TRPoint(D));
    OnlyParameter.SetCorner(2, TRPoint(C));
    Mesh.Add(OnlyParameter);
    Mesh.Add(QuadFromVectors(A, B, C, D));
    TPolygon Missing;  // no corners given: they count as the origin
    Mesh.Add(Missing);

    const TMMatrix M = MatrixMultiply(MatrixTranslation(1, -2, 3), MatrixRotationAboutAxis({0, 0, 1}, 0.3));
    const auto Moved = Mesh.Transformed(M);
    ASSERT_EQ(Moved->Count(), Mesh.Count());
    for (int I = 0; I < Mesh.Count(); ++I) {
        SCOPED_TRACE(I);
        const auto Expected = TransformedPolygon(*Mesh.Polygon(I), M);
        const TFacetRef Got = Moved->Polygon(I);
        ASSERT_EQ(Got.GetShape(), Expected->GetShape());
        for (int K = 0; K < 4; ++K) {
            ASSERT_EQ(Got.Corner(K) != nullptr, Expected->Corner(K) != nullptr);
            const TRPoint G = Got.CornerPoint(K), E = Expected->CornerPoint(K);
            EXPECT_EQ(G.Vector(), E.Vector());
            EXPECT_EQ(std::tie(G.W, G.T, G.Tag, G.Marked), std::tie(E.W, E.T, E.Tag, E.Marked));
        }
        for (int K = 0; K < 3; ++K) {
            ASSERT_EQ(Got.Normal(K) != nullptr, Expected->Normal(K) != nullptr);
            if (Got.Normal(K)) {
                EXPECT_EQ(*Got.Normal(K), *Expected->Normal(K));
            }
        }
        EXPECT_EQ(std::tuple(Got.GetColor(), Got.GetEdgeColor(), Got.GetOwnColor(), Got.GetSelected()),
                  std::tuple(Expected->Color, Expected->EdgeColor, Expected->OwnColor, Expected->Selected));
    }
    // The copy a mesh takes over keeps all of it but the corner marks.
    TPolygonList Copy;
    Copy.Assign(Mesh);
    EXPECT_FALSE(Copy.Polygon(0)->CornerMarked(0));
    EXPECT_EQ(Copy.Polygon(0)->CornerPoint(0).T, 0.75);
    EXPECT_EQ(CornersOf(*Copy.Polygon(2)), CornersOf(*Mesh.Polygon(2)));
}

TEST(TPolygonList, EveryFacetKeepsItsOwnColoursAmongThousands) {
    TPolygonList Mesh;
    for (int I = 0; I < 5000; ++I) {
        auto F = TriangleFromVectors({double(I), 0, 0}, {I + 1.0, 0, 0}, {double(I), 1, 0});
        F->SetColor(I);
        F->EdgeColor = 4999 - I % 7;
        Mesh.Add(F);
    }
    TPolygonList Copy;
    Copy.AddCopies(&Mesh);
    for (int I = 0; I < 5000; I += 997) {
        EXPECT_EQ(Copy.Polygon(I)->GetColor(), I);
        EXPECT_EQ(Copy.Polygon(I)->GetEdgeColor(), 4999 - I % 7);
    }
}
