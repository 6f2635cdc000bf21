#include "surfaces/Surface.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/TextBlock.h"
#include "foundation/VkMathsExpect.h"
#include "platform/RecordingGraphics.h"

namespace sarnova {
namespace {

// A surface of its own kind: the plane z = u + 2 v over [0, 1] x [0, 1], shifted by Offset.
class TPlaneSurface : public TSurface {
public:
    double Offset = 0;
    TMVector Evaluate(double U, double V) const override { return {U + Offset, V, U + 2 * V}; }
};

// A mesh whose point (i, j) is (i, j, 10 i + j).
std::unique_ptr<TMesh> NumberedMesh(int NumU, int NumV) {
    auto Mesh = std::make_unique<TMesh>(NumU, NumV);
    for (int j = 0; j < NumV; ++j)
        for (int i = 0; i < NumU; ++i) Mesh->Point(i, j).SetXYZ(i, j, 10 * i + j);
    return Mesh;
}

// The z values (10 i + j) of a numbered mesh, row by row.
std::vector<double> Zs(const TMesh& Mesh) {
    std::vector<double> Result;
    for (int j = 0; j < Mesh.NumV(); ++j)
        for (int i = 0; i < Mesh.NumU(); ++i) Result.push_back(Mesh.Point(i, j).Z);
    return Result;
}

// ---- The surface base ----

TEST(SurfaceTest, LineSettingsAndTheEffectivePointCount) {
    TPlaneSurface S;
    EXPECT_EQ(S.NumULine(), 25);
    EXPECT_EQ(S.NumVLine(), 25);
    EXPECT_EQ(S.LinePointCount(), 50);
    S.SetNumULine(80);
    EXPECT_EQ(S.LinePointCount(), 80);
    EXPECT_EQ(S.StoredLinePointCount(), 50);
}

TEST(SurfaceTest, SampleCountsByPurposeAndSurfaceCount) {
    struct TCase {
        int Purpose, Count, NU, NV;
    };
    const TCase Cases[] = {{0, 1, 25, 30}, {0, 2, 18, 18},  {1, 1, 32, 32},  {3, 76, 6, 6},   {4, 1, 16, 16},
                           {6, 500, 6, 6}, {7, 151, 9, 9},  {8, 100, 18, 18}, {9, 500, 64, 64}, {9, 1, 64, 64},
                           {128 + 7, 2, 27, 27}, {12, 1, -1, -2}, {12, 2, -1, -2}};
    TPlaneSurface S;
    S.SetNumVLine(30);
    for (const TCase& C : Cases) {
        int NU = -1, NV = -2;
        S.SampleCounts(static_cast<TSamplingPurpose>(C.Purpose), C.Count, NU, NV);
        EXPECT_EQ(NU, C.NU) << C.Purpose << " " << C.Count;
        EXPECT_EQ(NV, C.NV) << C.Purpose << " " << C.Count;
    }
}

TEST(SurfaceTest, SamplingEvaluatesEvenlySpacedParameters) {
    TPlaneSurface S;
    TDigitisationParameters U, V;
    S.SampleParameters(4, 2, U, V);
    EXPECT_EQ(U, (TDigitisationParameters{0, 0.25, 0.5, 0.75, 1}));
    EXPECT_EQ(V, (TDigitisationParameters{0, 0.5, 1}));
    ExpectError([&] { S.SampleParameters(0, 2, U, V); },
                "TSurface.SampleParameters - 0 intervals in u, at least 1 needed");

    const auto Mesh = S.CreateMeshSized(4, 2);
    ASSERT_EQ(Mesh->NumU(), 5);
    ASSERT_EQ(Mesh->NumV(), 3);
    ExpectNear(Mesh->Point(3, 2).Vector(), {0.75, 1, 2.75});
    EXPECT_EQ(Mesh->Point(3, 2).W, 1.0);
    // Purpose 8 with one surface: 32 intervals.
    EXPECT_EQ(S.CreateMeshFor(8, 1)->NumU(), 33);
}

TEST(SurfaceTest, PolygonsAreTwoTrianglesPerCellAndRoundedForSections) {
    const auto Mesh = NumberedMesh(3, 2);
    const auto F = Mesh->CreatePolygons();
    ASSERT_EQ(F->Count(), 4);
    // Cell (1, 0): (P10, P20, P11), then (P11, P20, P21).
    const TFacetRef T = F->Polygon(2);
    ExpectNear(T->Corner(0)->Vector(), {1, 0, 10});
    ExpectNear(T->Corner(1)->Vector(), {2, 0, 20});
    ExpectNear(T->Corner(2)->Vector(), {1, 1, 11});
    ExpectNear(F->Polygon(3)->Corner(2)->Vector(), {2, 1, 21});
    EXPECT_EQ(NumberedMesh(1, 5)->CreatePolygons()->Count(), 0);
    // A plain mesh is its own triangulation whatever is asked.
    EXPECT_EQ(Mesh->CreatePolygonsSized(7, 9)->Count(), 4);
    EXPECT_EQ(Mesh->CreatePolygonsFor(8, 1)->Count(), 4);

    TPlaneSurface S;
    S.Offset = 0.12345;
    S.SetNumULine(2);
    S.SetNumVLine(3);
    EXPECT_EQ(S.CreatePolygons()->Count(), 2 * 2 * 3);
    // Calculation sections (purpose 8) see coordinates on the 0.001 grid; other purposes do not.
    const auto Sections = S.CreatePolygonsFor(8, 2);
    EXPECT_EQ(Sections->Count(), 2 * 27 * 27);
    EXPECT_DOUBLE_EQ(Sections->Polygon(0)->Corner(0)->X, 0.123);
    EXPECT_DOUBLE_EQ(S.CreatePolygonsFor(4, 2)->Polygon(0)->Corner(0)->X, 0.12345);
}

TEST(SurfaceTest, CreateMeshSizedCopiesAPlainMeshButSamplesOtherSurfaces) {
    const auto Mesh = NumberedMesh(3, 2);
    const auto Copy = Mesh->CreateMeshSized(7, 9);
    EXPECT_EQ(Copy->NumU(), 3);
    EXPECT_EQ(Copy->NumV(), 2);
    EXPECT_EQ(Zs(*Copy), Zs(*Mesh));
    EXPECT_EQ(Mesh->CreateMesh()->NumU(), 3);
}

TEST(SurfaceTest, ParameterLines) {
    // A plain mesh: every line of constant i, then every row.
    const auto Mesh = NumberedMesh(3, 2);
    const auto Lines = Mesh->CreateParameterLines();
    ASSERT_EQ(Lines->Count(), 5);
    EXPECT_EQ(Lines->Items(1)->Count(), 2);
    ExpectNear(Lines->Items(1)->Point(1)->Vector(), {1, 1, 11});
    EXPECT_EQ(Lines->Items(4)->Count(), 3);
    ExpectNear(Lines->Items(4)->Point(2)->Vector(), {2, 1, 21});

    // Other surfaces: lines at the sample positions, each of the stored point count over [0, 1].
    TPlaneSurface S;
    S.SetNumULine(2);
    S.SetNumVLine(3);
    S.SetLinePointCount(5);
    TPolylineList List;
    S.AddParameterLines(List, 0, 1);
    ASSERT_EQ(List.Count(), 3 + 4);
    EXPECT_EQ(List.Items(0)->Count(), 5);
    ExpectNear(List.Items(1)->Point(3)->Vector(), S.Evaluate(0.5, 0.75));
    ExpectNear(List.Items(6)->Point(1)->Vector(), S.Evaluate(0.25, 1));
    S.SetLinePointCount(1);
    TPolylineList Short;
    S.AddParameterLines(Short, 0, 1);
    EXPECT_EQ(Short.Items(0)->Count(), 1);
}

TEST(SurfaceTest, DrawingGoesThroughLineStrips) {
    TPlaneSurface S;
    S.SetNumULine(2);
    S.SetNumVLine(1);
    S.SetLinePointCount(4);
    TRecordingGraphics G;
    S.Draw(G);
    // 3 lines of constant u and 2 of constant v, each a start, 4 next and a finish.
    ASSERT_EQ(G.Calls.size(), 5u * 6);
    EXPECT_EQ(G.Calls[0].Name, "LineStartVector");
    EXPECT_EQ(G.Calls[5].Name, "LineFinish");
    ExpectNear(G.Calls[6 + 2].Points[0], S.Evaluate(0.5, 0.5));
    ExpectNear(G.Calls[18 + 3].Points[0], S.Evaluate(0.75, 0));

    TRecordingGraphics M;
    NumberedMesh(3, 2)->Draw(M);
    EXPECT_EQ(M.Names(), (std::vector<std::string>{"LineStartPoint", "LineNextPoint", "LineFinish", "LineStartPoint",
                                                   "LineNextPoint", "LineFinish", "LineStartPoint", "LineNextPoint",
                                                   "LineFinish", "LineStartPoint", "LineNextPoint", "LineNextPoint",
                                                   "LineFinish", "LineStartPoint", "LineNextPoint", "LineNextPoint",
                                                   "LineFinish"}));
    TRecordingGraphics Empty;
    TMesh(3, 0).Draw(Empty);
    EXPECT_TRUE(Empty.Calls.empty());
}

// ---- The point grid ----

TEST(MeshTest, PointsAreStoredRowByRowAndGrowOnDemand) {
    TMesh Mesh(4, 4);
    const TRPoint& P = Mesh.Point(3, 2);
    EXPECT_EQ(Mesh.PointCount(), 12);
    ExpectNear(P.Vector(), {0, 0, 0});
    EXPECT_EQ(P.W, 1.0);
    // Reading through a const mesh never grows it.
    const TMesh& Const = Mesh;
    EXPECT_EQ(Const.Point(3, 3).W, 1.0);
    EXPECT_EQ(Mesh.PointCount(), 12);
    ExpectError([&] { Mesh.Point(0, -1); }, "TMesh.Point - Index (0, -1) outside the net of 4 x 4 points");
    ExpectError([&] { Mesh.PointByIndex(-4); }, "List index out of bounds (-4)");

    TRPoint Source(MakeVector(7, 8, 9));
    Source.Tag = 5;
    Source.W = 0.5;
    Mesh.SetPoint(2, 1, Source);
    TMesh Copy(0, 0);
    Copy.Assign(Mesh);
    EXPECT_EQ(Copy.NumU(), 4);
    EXPECT_EQ(Copy.PointCount(), 16);
    EXPECT_EQ(Copy.Point(2, 1).Tag, 5);
    EXPECT_EQ(Copy.Point(2, 1).W, 0.5);
    Copy.Assign(Copy);
    EXPECT_EQ(Copy.Point(2, 1).Tag, 5);

    Mesh.SetSize(2, 2);
    EXPECT_EQ(Mesh.PointCount(), 12);
    Mesh.Clear();
    EXPECT_EQ(Mesh.PointCount(), 0);
    EXPECT_EQ(Mesh.NumU(), 2);
}

TEST(MeshTest, ExtentsCoverTheGridOnly) {
    auto Mesh = NumberedMesh(3, 2);
    Mesh->PointByIndex(10).SetXYZ(100, 100, 100);  // beyond the grid
    EXPECT_EQ(Mesh->GetExtents(), MakeBox(0, 0, 0, 2, 1, 21));
    EXPECT_EQ(TMesh(0, 0).GetExtents(), EmptyBox);
}

TEST(MeshTest, InsertingAndDeletingLines) {
    auto Mesh = NumberedMesh(3, 2);
    Mesh->Point(1, 0).Tag = 7;
    for (const int Index : {0, 3, -1}) {
        Mesh->InsertU(Index);
        Mesh->DeleteU(Index == 0 ? 3 : Index);
        Mesh->InsertV(Index == 3 ? 2 : Index);
        Mesh->DeleteV(2);
    }
    EXPECT_EQ(Zs(*Mesh), (std::vector<double>{0, 10, 20, 1, 11, 21}));

    Mesh->InsertU(1);
    ASSERT_EQ(Mesh->NumU(), 4);
    EXPECT_EQ(Zs(*Mesh), (std::vector<double>{0, 5, 10, 20, 1, 6, 11, 21}));
    // The midpoints are new points; the others keep their values.
    EXPECT_EQ(Mesh->Point(1, 0).Tag, 0);
    EXPECT_EQ(Mesh->Point(2, 0).Tag, 7);
    Mesh->InsertV(1);
    EXPECT_EQ(Zs(*Mesh), (std::vector<double>{0, 5, 10, 20, 0.5, 5.5, 10.5, 20.5, 1, 6, 11, 21}));
    Mesh->DeleteV(0);
    Mesh->DeleteU(3);
    EXPECT_EQ(Zs(*Mesh), (std::vector<double>{0.5, 5.5, 10.5, 1, 6, 11}));
    Mesh->DeleteU(0);
    Mesh->DeleteU(0);
    Mesh->DeleteU(0);
    EXPECT_EQ(Mesh->NumU(), 0);
    EXPECT_EQ(Mesh->PointCount(), 0);

    auto Two = NumberedMesh(2, 1);
    Two->InsertU(1);
    EXPECT_EQ(Zs(*Two), (std::vector<double>{0, 5, 10}));
    auto Three = NumberedMesh(2, 3);
    Three->DeleteU(0);
    EXPECT_EQ(Zs(*Three), (std::vector<double>{10, 11, 12}));
}

TEST(MeshTest, AppendingReversingAndSwapping) {
    auto Mesh = NumberedMesh(2, 2);
    Mesh->AppendU();
    EXPECT_EQ(Zs(*Mesh), (std::vector<double>{0, 10, 0, 1, 11, 0}));
    Mesh->AppendV();
    EXPECT_EQ(Mesh->NumV(), 3);
    EXPECT_EQ(Zs(*Mesh), (std::vector<double>{0, 10, 0, 1, 11, 0, 0, 0, 0}));

    auto Grid = NumberedMesh(3, 2);
    Grid->Point(2, 0).Tag = 4;
    Grid->ReverseU();
    EXPECT_EQ(Zs(*Grid), (std::vector<double>{20, 10, 0, 21, 11, 1}));
    EXPECT_EQ(Grid->Point(0, 0).Tag, 4);
    Grid->ReverseV();
    EXPECT_EQ(Zs(*Grid), (std::vector<double>{21, 11, 1, 20, 10, 0}));
    Grid->SwapUV();
    EXPECT_EQ(Grid->NumU(), 2);
    EXPECT_EQ(Grid->NumV(), 3);
    EXPECT_EQ(Zs(*Grid), (std::vector<double>{21, 20, 11, 10, 1, 0}));
}

TEST(MeshTest, GridLinesAndEdges) {
    const auto Mesh = NumberedMesh(3, 2);
    const auto Line = Mesh->GridLine(0, 2);
    ASSERT_EQ(Line->Count(), 2);
    ExpectNear(Line->Point(1)->Vector(), {2, 1, 21});
    EXPECT_EQ(Mesh->GridLine(5, 0)->Count(), 0);
    const double Expected[4][2] = {{0, 1}, {0, 20}, {20, 21}, {1, 21}};  // z of the first and last point
    for (int Code = 0; Code < 4; ++Code) {
        const auto Edge = Mesh->EdgePolyline(Code);
        EXPECT_EQ(Edge->First()->Z, Expected[Code][0]) << Code;
        EXPECT_EQ(Edge->Last()->Z, Expected[Code][1]) << Code;
    }
    EXPECT_EQ(Mesh->EdgePolyline(7)->Count(), 3);
    EXPECT_EQ(Mesh->EdgePolyline(7)->Last()->Z, 21);
    EXPECT_EQ(Mesh->GridLines(true)->Count(), 2);
    EXPECT_EQ(Mesh->GridLines(false)->Count(), 3);
    EXPECT_EQ(Mesh->GridLines(false)->Items(1)->Last()->Z, 11);
}

TEST(MeshTest, CopiesAndTransformedCopies) {
    auto Mesh = NumberedMesh(2, 2);
    Mesh->Point(1, 1).W = 3;
    const auto Moved = Mesh->CreateTransformed(MatrixTranslation(1, 0, 0));
    ExpectNear(Moved->Point(1, 1).Vector(), {2, 1, 11});
    EXPECT_EQ(Moved->Point(1, 1).W, 3);
    EXPECT_EQ(Zs(*Mesh->Clone()), Zs(*Mesh));
}

TEST(MeshTest, RoundToThousandth) {
    const std::pair<double, double> Cases[] = {{1.2347, 1.235}, {-1.2347, -1.235}, {1.2343, 1.234},
                                               {0.0004, 0},     {2, 2},            {-0.0006, -0.001}};
    for (auto [In, Out] : Cases) EXPECT_NEAR(RoundToThousandth(In), Out, 1e-12) << In;
    auto Mesh = NumberedMesh(1, 1);
    Mesh->Point(0, 0).SetXYZ(1.2347, -1.2343, 5);
    Mesh->RoundPoints();
    ExpectNear(Mesh->Point(0, 0).Vector(), {1.235, -1.234, 5});
}

// ---- The text block ----

TEST(MeshTextTest, WritesFixedColumnsAndReadsThemBack) {
    auto Mesh = NumberedMesh(2, 2);
    Mesh->Point(1, 0).SetXYZ(-1.25, 1234567.1234567, 0.0000004);
    Mesh->Point(1, 0).W = 0.3333;
    const std::string Text = SavedText(*Mesh);
    EXPECT_EQ(Text,
              "NumU=2\nNumV=2\n"
              "     0.000000      0.000000      0.000000      1.000\n"
              "     0.000000      1.000000      1.000000      1.000\n"
              "    -1.250000 1234567.123457      0.000000      0.333\n"
              "     1.000000      1.000000     11.000000      1.000\n");
    TMesh Read(0, 0);
    LoadText(Read, Text);
    EXPECT_EQ(Read.NumU(), 2);
    EXPECT_EQ(Read.PointCount(), 4);
    ExpectNear(Read.Point(1, 0).Vector(), {-1.25, 1234567.123457, 0});
    EXPECT_EQ(Read.Point(1, 0).W, 0.333);
    EXPECT_EQ(SavedText(Read), Text);
}

TEST(MeshTextTest, ReadsFreeFormatAndRefusesBadCounts) {
    TMesh Mesh(0, 0);
    LoadText(Mesh, "A=1\r\nB = 2 \r\n1 2\n3 4 extra\n 5 6 7 8\n");
    ExpectNear(Mesh.Point(0, 0).Vector(), {1, 2, 3});
    EXPECT_EQ(Mesh.Point(0, 0).W, 4);
    ExpectNear(Mesh.Point(0, 1).Vector(), {5, 6, 7});

    const std::pair<const char*, const char*> Bad[] = {{"NumU=x\nNumV=1\n", "Error in field Mesh.NumU"},
                                                       {"NumU=-2\nNumV=1\n", "Error in field Mesh.NumU"},
                                                       {"NumU=1\nNumV=\n", "Error in field Mesh.NumV"},
                                                       // A damaged count ends with the text.
                                                       {"NumU=2000000000\nNumV=2000000000\n1 2 3 1\n",
                                                        "I/O Result 100"},
                                                       {"NumU=1\nNumV=1\n1 2 x 4\n", "I/O Result 106"}};
    for (auto [Text, Message] : Bad) {
        auto Target = NumberedMesh(2, 2);
        ExpectError([&] { LoadText(*Target, Text); }, Message);
        // A failed read leaves the mesh as it was.
        EXPECT_EQ(Target->NumU(), 2);
        EXPECT_EQ(Zs(*Target), (std::vector<double>{0, 10, 1, 11}));
    }
}

}  // namespace
}  // namespace sarnova
