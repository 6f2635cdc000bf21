#include <gtest/gtest.h>

#include <cmath>

#include "ExchangeFixtures.h"
#include "document/GBSpline.h"
#include "document/GPline.h"
#include "entities/GArc.h"
#include "entities/GBSurf.h"
#include "entities/GCircle.h"
#include "entities/GGonList.h"
#include "entities/GMesh.h"
#include "entities/GPointList.h"
#include "entities/PointList.h"
#include "exchange/IoDxf.h"
#include "foundation/Arc.h"
#include "foundation/BSpline.h"
#include "foundation/Polygon.h"
#include "foundation/VkMathsIntersect.h"
#include "naval/GPList.h"
#include "surfaces/BSurface.h"
#include "surfaces/Surface.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

void ExpectNear(const TMVector& A, const TMVector& B, double Tol = 1e-9) {
    EXPECT_NEAR(A.X, B.X, Tol);
    EXPECT_NEAR(A.Y, B.Y, Tol);
    EXPECT_NEAR(A.Z, B.Z, Tol);
}

// An ENTITIES section holding Body, then EOF.
std::string EntitiesFile(const std::string& Body) {
    return "0\nSECTION\n2\nENTITIES\n" + Body + "0\nENDSEC\n0\nEOF\n";
}

// A 4 x 4 mesh entity of points (i, j, 0).
std::unique_ptr<TGeoMesh> GridMesh() {
    auto M = std::make_unique<TGeoMesh>();
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 4; ++J) M->Net().Point(I, J).SetXYZ(I, J, 0);
    return M;
}

struct TIoDxf : TExchangeTest {
    void Import(const std::string& Body) { ImportDXF(WriteTemp("in.dxf", EntitiesFile(Body)), Doc); }
    template <class T>
    T& Entity(int Index) {
        auto* E = dynamic_cast<T*>(&Doc.Items(Index));
        EXPECT_NE(E, nullptr) << Index;
        return *E;
    }
    TPolyline& Pline(int Index) { return Entity<TGeoPline>(Index).Polyline(); }
};

}  // namespace

TEST(OCSMatrix, ArbitraryAxes) {
    const TMMatrix Up = OCSMatrix({0, 0, 1});
    ExpectNear(MatrixTransformPoint(Up, {1, 2, 3}), {1, 2, 3});
    // Downwards: half a turn about Y.
    const TMMatrix Down = OCSMatrix({0, 0, -1});
    ExpectNear(MatrixTransformPoint(Down, {1, 2, 3}), {-1, 2, -3});
    // Below 1/64 in x and y the world Y axis builds the system, above it the Z axis.
    ExpectNear(VectorFromMatrixColumn(OCSMatrix({0.015, 0, 1}), 1), VectorNormalise({1, 0, -0.015}), 1e-6);
    ExpectNear(VectorFromMatrixColumn(OCSMatrix({1, 0, 0}), 1), {0, 1, 0});
    ExpectNear(VectorFromMatrixColumn(OCSMatrix({1, 0, 0}), 2), {0, 0, 1});
}

TEST_F(TIoDxf, LinesArcsCirclesAndLightweightPolylines) {
    Import(
        "0\nLINE\n8\n0\n10\n1\n20\n2\n30\n3\n11\n4\n21\n5\n31\n6\n"
        "0\nARC\n10\n1\n20\n1\n40\n2\n50\n350\n51\n10\n"
        "0\nCIRCLE\n10\n0\n20\n0\n30\n5\n40\n1\n210\n0\n220\n0\n230\n-1\n"
        "0\nLWPOLYLINE\n70\n1\n38\n2\n10\n0\n20\n0\n10\n1\n20\n0\n10\n1\n20\n1\n");
    ASSERT_EQ(Doc.Count(), 4);
    EXPECT_EQ(Pline(0).Count(), 2);
    ExpectNear(Pline(0).Point(1)->Vector(), {4, 5, 6});

    TArc& A = Entity<TGeoArc>(1).Arc();
    const double Rad = 3.14159265358979 / 180;
    ExpectNear(A.GetPoint(0)->Vector(), {1 + 2 * std::cos(350 * Rad), 1 + 2 * std::sin(350 * Rad), 0});
    ExpectNear(A.GetPoint(1)->Vector(), {3, 1, 0});
    ExpectNear(A.GetPoint(2)->Vector(), {1 + 2 * std::cos(10 * Rad), 1 + 2 * std::sin(10 * Rad), 0});

    // A circle of 100 points whose ends meet, its object z 5 turned to world z -5.
    TPolyline& C = Pline(2);
    ASSERT_EQ(C.Count(), 100);
    ExpectNear(C.Point(0)->Vector(), {-1, 0, -5});
    ExpectNear(C.Point(99)->Vector(), {-1, 0, -5});

    TPolyline& L = Pline(3);
    ASSERT_EQ(L.Count(), 4);
    EXPECT_TRUE(L.IsClosed());
    ExpectNear(L.Point(2)->Vector(), {1, 1, 2});
}

TEST_F(TIoDxf, PlainPolylinesFollowTheExtrusionUnless3D) {
    const char* Vertices = "0\nVERTEX\n10\n1\n20\n2\n0\nVERTEX\n10\n3\n0\nSEQEND\n";
    Import(std::string("0\nPOLYLINE\n66\n1\n70\n0\n210\n0\n220\n0\n230\n-1\n") + Vertices +
           "0\nPOLYLINE\n66\n1\n70\n8\n210\n0\n220\n0\n230\n-1\n" + Vertices);
    ASSERT_EQ(Doc.Count(), 2);
    ExpectNear(Pline(0).Point(0)->Vector(), {-1, 2, 0});
    // A vertex without a group keeps the value of the vertex before.
    ExpectNear(Pline(0).Point(1)->Vector(), {-3, 2, 0});
    ExpectNear(Pline(1).Point(1)->Vector(), {3, 2, 0});
}

TEST_F(TIoDxf, FacesPointsAndPolyfaceMeshes) {
    Import(
        "0\n3DFACE\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n1\n22\n1\n32\n0\n13\n1\n23\n1\n33\n0\n"
        "0\n3DFACE\n12\n1\n22\n1\n13\n0\n23\n1\n"
        "0\n3DFACE\n11\n1\n22\n1\n"
        "0\nPOINT\n10\n7\n20\n8\n30\n9\n0\nPOINT\n10\n1\n"
        "0\nPOLYLINE\n66\n1\n70\n64\n71\n4\n72\n2\n"
        "0\nVERTEX\n10\n0\n20\n0\n70\n192\n0\nVERTEX\n10\n1\n0\nVERTEX\n20\n1\n0\nVERTEX\n10\n0\n"
        "0\nVERTEX\n70\n128\n71\n1\n72\n2\n73\n3\n"
        "0\nVERTEX\n71\n1\n72\n-2\n73\n3\n74\n-4\n"
        "0\nSEQEND\n");
    // The polyface, then the facets of every 3DFACE and the points as one entity each.
    ASSERT_EQ(Doc.Count(), 3);
    // Face records without group 74 are triangles; negative indices count as positive.
    TPolygonList& Mesh = Entity<TGeoPGonlist>(0).Facets();
    ASSERT_EQ(Mesh.Count(), 2);
    EXPECT_EQ(Mesh.Polygon(0)->CornerCount(), 3);
    EXPECT_EQ(Mesh.Polygon(1)->CornerCount(), 4);
    ExpectNear(Mesh.Polygon(1)->Corner(2)->Vector(), {1, 1, 0});
    ExpectNear(Mesh.Polygon(1)->Corner(3)->Vector(), {0, 1, 0});

    // A fourth corner repeating the third or the first makes a triangle.
    TPolygonList& Faces = Entity<TGeoPGonlist>(1).Facets();
    ASSERT_EQ(Faces.Count(), 3);
    EXPECT_EQ(Faces.Polygon(0)->CornerCount(), 3);
    EXPECT_EQ(Faces.Polygon(1)->CornerCount(), 4);
    ExpectNear(Faces.Polygon(1)->Corner(3)->Vector(), {0, 1, 0});
    EXPECT_EQ(Faces.Polygon(2)->CornerCount(), 3);

    EXPECT_EQ(Entity<TGeoPointList>(2).Cloud().Point(0)->Vector(), (TMVector{7, 8, 9}));
}

TEST_F(TIoDxf, PolygonMeshesAndSplineFits) {
    Import(
        "0\nPOLYLINE\n66\n1\n70\n49\n71\n2\n72\n3\n"
        "0\nVERTEX\n10\n0\n70\n64\n0\nVERTEX\n10\n1\n70\n64\n0\nVERTEX\n10\n2\n70\n64\n"
        "0\nVERTEX\n20\n1\n10\n0\n70\n64\n0\nVERTEX\n10\n1\n70\n64\n0\nVERTEX\n10\n2\n70\n64\n0\nSEQEND\n"
        "0\nPOLYLINE\n66\n1\n70\n12\n75\n5\n"
        "0\nVERTEX\n10\n0\n70\n8\n0\nVERTEX\n10\n0\n70\n16\n0\nVERTEX\n10\n1\n70\n16\n0\nVERTEX\n10\n2\n20\n1\n70\n16\n"
        "0\nSEQEND\n");
    ASSERT_EQ(Doc.Count(), 2);
    TMesh& M = Entity<TGeoMesh>(0).Net();
    // M rows of N vertices are u and v; closed both ways: a line and a row repeat the first ones.
    ASSERT_EQ(M.NumU(), 3);
    ASSERT_EQ(M.NumV(), 4);
    ExpectNear(M.Point(1, 2).Vector(), {2, 1, 0});
    ExpectNear(M.Point(1, 3).Vector(), {0, 1, 0});
    ExpectNear(M.Point(2, 1).Vector(), {1, 0, 0});

    TBSpline& S = Entity<TGeoBSpline>(1).Spline();
    EXPECT_EQ(S.Count(), 3);
    EXPECT_EQ(S.GetOrder(), 3);
}

TEST_F(TIoDxf, SmoothedSurfacesRoundTrip) {
    auto B = std::make_unique<TGeoBSurf>();
    TBSplineSurface& S = B->Surface();
    S.Clear();
    S.SetSize(4, 5);
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 5; ++J) S.Point(I, J).SetXYZ(I, J, (I - 1.5) * (J - 2) * 0.25);
    S.UpdateKnots();
    B->SetNumULine(6);
    B->SetNumVLine(7);
    Doc.Add(std::move(B));
    const std::string Path = TempFile("surface.dxf").string();
    ExportDXF(Path, Doc);
    const std::string Text = ReadText(Path);
    // Smooth (both orders 4, open knots): 7 x 8 sampled vertices, then the 20 control points.
    EXPECT_NE(Text.find(" 70\r\n20\r\n 71\r\n4\r\n 72\r\n5\r\n 73\r\n7\r\n 74\r\n8\r\n 75\r\n6\r\n"),
              std::string::npos);

    TGeometryInterface Back;
    ImportDXF(Path, Back);
    ASSERT_EQ(Back.Count(), 1);
    auto& Read = dynamic_cast<TGeoBSurf&>(Back.Items(0));
    TBSplineSurface& R = Read.Surface();
    // The same net, u and v in their places, and the line counts as they were.
    ASSERT_EQ(R.NumU(), 4);
    ASSERT_EQ(R.NumV(), 5);
    EXPECT_EQ(R.OrderU(), 4);
    EXPECT_EQ(R.OrderV(), 4);
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 5; ++J) ExpectNear(R.Point(I, J).Vector(), S.Point(I, J).Vector());
    EXPECT_EQ(R.NumULine(), 6);
    EXPECT_EQ(R.NumVLine(), 7);
    const std::string Again = TempFile("surface-again.dxf").string();
    ExportDXF(Again, Back);
    EXPECT_EQ(ReadText(Again), Text);
}

TEST_F(TIoDxf, HeaderOnlyFileImportsNothingAndSaysSo) {
    const std::string Path =
        WriteTemp("header.dxf", "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n0\nEOF\n");
    EXPECT_EQ(ErrorOf([&] { ImportDXF(Path, Doc); }), Path + ": nothing was imported: the file has no ENTITIES section");
    EXPECT_EQ(Doc.Count(), 0);
}

TEST_F(TIoDxf, FailuresLeaveTheDocumentAsItWas) {
    Import("0\nLINE\n10\n1\n11\n2\n");
    const std::string Before = DocumentText(Doc);
    struct TCase {
        const char* Text;
        const char* Message;
    };
    const TCase Cases[] = {
        {"0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1\n0\nARC\n10\n", "(12): Unexpected end of file"},
        {"0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx\n0\nENDSEC\n0\nEOF\n", "(8): Unable to convert string to number (x)"},
        // A mesh larger than the file could hold is refused before anything is allocated.
        {"0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n70\n16\n71\n100000\n72\n100000\n0\nSEQEND\n0\nENDSEC\n0\nEOF\n",
         "(6): Mesh of 100000 x 100000 vertices does not fit in the file"},
    };
    for (const TCase& C : Cases) {
        const std::string Path = WriteTemp("bad.dxf", C.Text);
        std::string Message;
        const auto Lines = ConsoleLinesOf([&] { Message = ErrorOf([&] { ImportDXF(Path, Doc); }); });
        EXPECT_EQ(Message, Path + C.Message);
        EXPECT_EQ(Lines.back(), "DXF import of " + Path + " failed: " + Message);
        EXPECT_EQ(DocumentText(Doc), Before);
    }
}

TEST_F(TIoDxf, ExportWritesPolylinesAsVertexRecords) {
    auto P = std::make_unique<TGeoPline>();
    P->Polyline().AddPoint(0, 0, 0);
    P->Polyline().AddPoint(1, 0.5, 0);
    P->Polyline().AddPoint(2, 0, 1e-5);
    Doc.Add(std::move(P));
    const std::string Path = TempFile("pline.dxf").string();
    ExportDXF(Path, Doc);
    std::string Expected = JoinLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "POLYLINE", "  8", "0", " 66", "1",
                                      " 10", "0", " 20", "0", " 30", "0", " 70", "8"},
                                     "\r\n");
    const char* Coordinates[3][3] = {{"0", "0", "0"}, {"1", "0.5", "0"}, {"2", "0", "1E-5"}};
    for (auto& C : Coordinates)
        Expected += JoinLines({"  0", "VERTEX", "  8", "0", " 10", C[0], " 20", C[1], " 30", C[2], " 70", "32"}, "\r\n");
    Expected += JoinLines({"  0", "SEQEND", "  0", "ENDSEC", "  0", "EOF"}, "\r\n");
    EXPECT_EQ(ReadText(Path), Expected);
}

TEST_F(TIoDxf, ExportHandlesStartAt30ForEveryExport) {
    Doc.Add(GridMesh());
    for (int Run = 0; Run < 2; ++Run) {
        const std::string Path = TempFile("mesh.dxf").string();
        ExportDXF(Path, Doc);
        const std::string Text = ReadText(Path);
        EXPECT_NE(Text.find("POLYLINE\r\n  8\r\n0\r\n  5\r\n00030\r\n"), std::string::npos);
        EXPECT_NE(Text.find("  5\r\n00040\r\n"), std::string::npos);
    }
}

TEST_F(TIoDxf, ExportThenImportGivesTheSameGeometry) {
    auto P = std::make_unique<TGeoPline>();
    P->Polyline().AddPoint(0, 1, 2);
    P->Polyline().AddPoint(3.25, -1, 0.125);
    Doc.Add(std::move(P));
    auto A = std::make_unique<TGeoArc>();
    A->Arc().SetFrame(ArcFromAngles({1, 2, 3}, VectorNormalise({0, 1, -1}), 2, 0.3, 1.9));
    Doc.Add(std::move(A));
    auto C = std::make_unique<TGeoCircle>();
    C->Circle().SetFrame(MakeCircle({0, 0, 1}, {0, 0, 1}, 3));
    Doc.Add(std::move(C));
    auto F = std::make_unique<TGeoPGonlist>();
    F->Facets().Add(TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    F->Facets().Add(QuadFromVectors({0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}));
    Doc.Add(std::move(F));
    auto Cloud = std::make_unique<TGeoPointList>();
    Cloud->Cloud().AddXYZ(5, 6, 7);
    Cloud->Cloud().AddXYZ(8, 9, 10);
    Doc.Add(std::move(Cloud));
    auto List = std::make_unique<TGeoPList>();
    auto Section = std::make_unique<TPolyline>();
    Section->AddPoint(0, 0, 0);
    Section->AddPoint(0, 1, 1);
    List->Polylines().Add(std::move(Section));
    Doc.Add(std::move(List));

    const std::string Path = TempFile("round.dxf").string();
    ExportDXF(Path, Doc);
    TGeometryInterface Back;
    ImportDXF(Path, Back);
    // Polyline, arc, circle (as 100 points), the list's polyline, then the facets and the points.
    ASSERT_EQ(Back.Count(), 6);
    TPolyline& Line = dynamic_cast<TGeoPline&>(Back.Items(0)).Polyline();
    ExpectNear(Line.Point(1)->Vector(), {3.25, -1, 0.125});

    const TArc& Original = dynamic_cast<TGeoArc&>(Doc.Items(1)).Arc();
    const TArc& Read = dynamic_cast<TGeoArc&>(Back.Items(1)).Arc();
    // The arc is read back running the same way, about the same normal.
    ExpectNear(Read.GetPoint(0)->Vector(), Original.GetPoint(0)->Vector(), 1e-6);
    ExpectNear(Read.GetPoint(1)->Vector(), Original.GetPoint(1)->Vector(), 1e-6);
    ExpectNear(Read.GetPoint(2)->Vector(), Original.GetPoint(2)->Vector(), 1e-6);
    ExpectNear(Read.Frame().Normal, Original.Frame().Normal, 1e-6);

    TPolyline& Circle = dynamic_cast<TGeoPline&>(Back.Items(2)).Polyline();
    ASSERT_EQ(Circle.Count(), 100);
    for (int I = 0; I < 100; I += 11) {
        const TMVector V = Circle.Point(I)->Vector();
        EXPECT_NEAR(std::hypot(V.X, V.Y), 3, 1e-9);
        EXPECT_NEAR(V.Z, 1, 1e-9);
    }
    ExpectNear(dynamic_cast<TGeoPline&>(Back.Items(3)).Polyline().Point(1)->Vector(), {0, 1, 1});
    TPolygonList& Facets = dynamic_cast<TGeoPGonlist&>(Back.Items(4)).Facets();
    ASSERT_EQ(Facets.Count(), 2);
    EXPECT_EQ(Facets.Polygon(0)->CornerCount(), 3);
    EXPECT_EQ(Facets.Polygon(1)->CornerCount(), 4);
    ExpectNear(Facets.Polygon(1)->Corner(2)->Vector(), {1, 1, 1});
    EXPECT_EQ(dynamic_cast<TGeoPointList&>(Back.Items(5)).Cloud().Point(0)->Vector(), (TMVector{5, 6, 7}));
}

TEST_F(TIoDxf, EzdxfReadsTheExportWithACleanAudit) {
    if (!HavePythonModule("ezdxf")) GTEST_SKIP() << "python3-ezdxf is not installed";
    auto P = std::make_unique<TGeoPline>();
    P->Polyline().AddPoint(0, 0, 0);
    P->Polyline().AddPoint(1, 0, 0);
    P->Polyline().AddPoint(1, 1, 0);
    Doc.Add(std::move(P));
    auto A = std::make_unique<TGeoArc>();
    A->Arc().SetFrame(ArcFromAngles({0, 0, 0}, {0, 0, -1}, 1, 0, 1));
    Doc.Add(std::move(A));
    auto C = std::make_unique<TGeoCircle>();
    C->Circle().SetFrame(MakeCircle({1, 1, 0}, {0, 0, 1}, 2));
    Doc.Add(std::move(C));
    auto F = std::make_unique<TGeoPGonlist>();
    F->Facets().Add(TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    F->Facets().Add(TriangleFromVectors({0, 0, 0}, {1, 0, 1}, {0, 1, 0}));
    Doc.Add(std::move(F));
    auto Cloud = std::make_unique<TGeoPointList>();
    Cloud->Cloud().AddXYZ(1, 2, 3);
    Cloud->Cloud().AddXYZ(4, 5, 6);
    Doc.Add(std::move(Cloud));
    Doc.Add(GridMesh());
    auto S = std::make_unique<TGeoBSpline>();
    for (int I = 0; I < 5; ++I) S->Spline().AddPoint(I, I % 2, 0);
    Doc.Add(std::move(S));

    auto B = std::make_unique<TGeoBSurf>();
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 4; ++J) B->Surface().Point(I, J).SetXYZ(I, J, I * J * 0.1);
    B->SetNumULine(3);
    B->SetNumVLine(2);
    Doc.Add(std::move(B));

    const std::string Path = TempFile("ezdxf.dxf").string();
    ExportDXF(Path, Doc);
    const std::string Script = TempFile("count.py").string();
    WriteTemp("count.py",
              "import sys, collections\n"
              "from ezdxf import recover\n"
              "doc, auditor = recover.readfile(sys.argv[1])\n"
              "c = collections.Counter(e.dxftype() for e in doc.modelspace())\n"
              "v = sum(len(list(e.vertices)) for e in doc.modelspace() if e.dxftype() == 'POLYLINE')\n"
              "print('errors', len(auditor.errors))\n"
              "print(' '.join('%s=%d' % (k, c[k]) for k in ['POLYLINE', '3DFACE', 'POINT', 'ARC', 'CIRCLE']), 'VERTEX=%d' % v)\n");
    int Status = 0;
    const std::string Out = RunCommand(Python() + " '" + Script + "' '" + Path + "'", Status);
    ASSERT_EQ(Status, 0) << Out;
    EXPECT_NE(Out.find("errors 0\n"), std::string::npos) << Out;
    // Four polylines: 3 vertices, the 4 x 4 mesh's 16, the spline's 101 fit and 5 control points, and
    // the surface's 4 x 3 samples and 16 control points.
    EXPECT_NE(Out.find("POLYLINE=4 3DFACE=2 POINT=2 ARC=1 CIRCLE=1 VERTEX=153"), std::string::npos) << Out;
}
