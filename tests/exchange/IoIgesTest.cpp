#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "ExchangeFixtures.h"
#include "IgesPeer.h"
#include "curvenet/GBSurfL.h"
#include "document/GBSpline.h"
#include "document/GPline.h"
#include "document/Settings.h"
#include "entities/GArc.h"
#include "entities/GBSurf.h"
#include "entities/GCircle.h"
#include "entities/GMesh.h"
#include "entities/GPlane.h"
#include "exchange/IGESEntities.h"
#include "exchange/IGESFile.h"
#include "exchange/IoIges.h"
#include "foundation/Plane.h"
#include "foundation/VkMathsIntersect.h"
#include "surfaces/SurfaceList.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

void ExpectNear(const TMVector& A, const TMVector& B, double Tol = 1e-9) {
    EXPECT_NEAR(A.X, B.X, Tol);
    EXPECT_NEAR(A.Y, B.Y, Tol);
    EXPECT_NEAR(A.Z, B.Z, Tol);
}

// A B-spline surface of 4 x 5 points, orders 4 and 3, curved in z.
std::unique_ptr<TBSplineSurface> SampleSurface(double Shift) {
    auto S = std::make_unique<TBSplineSurface>(4, 5);
    S->SetOrderV(3);
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 5; ++J) S->Point(I, J).SetXYZ(I + Shift, J, 0.1 * I * J);
    S->UpdateKnots();
    return S;
}

std::unique_ptr<TGeoArc> ArcThrough(const TMVector& A, const TMVector& B, const TMVector& C) {
    auto E = std::make_unique<TGeoArc>();
    E->Arc().SetStart(TRPoint(A));
    E->Arc().SetMid(TRPoint(B));
    E->Arc().SetEnd(TRPoint(C));
    return E;
}

struct TIoIges : TExchangeTest {
    std::string Path = TempFile("out.igs").string();

    template <class T>
    T& Entity(int Index) {
        auto* E = dynamic_cast<T*>(&Doc.Items(Index));
        EXPECT_NE(E, nullptr) << Index;
        return *E;
    }

    // Exports the document in Units and imports the file into a fresh document.
    void RoundTrip(TGeometryInterface& Into, TIGESUnits Units = iuMetres) {
        TUnitsAnswer Answer(Units);
        ExportIGES(Path, Doc);
        ImportIGES(Path, Into);
    }

    std::string Save(TIGESFile& F, const char* Name) {
        const std::string P = TempFile(Name).string();
        F.SaveToFile(P);
        return P;
    }
};

}  // namespace

TEST_F(TIoIges, EverySurfaceImportsAsASurfaceOfItsOwn) {
    TIGESFile F;
    static_cast<TIGESEntity128&>(*F.Add(std::make_unique<TIGESEntity128>())).SetSurface(*SampleSurface(0));
    ImportIGES(Save(F, "one.igs"), Doc);
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(Entity<TGeoBSurf>(0).Surface().NumV(), 5);
    EXPECT_EQ(Entity<TGeoBSurf>(0).Surface().OrderV(), 3);

    static_cast<TIGESEntity128&>(*F.Add(std::make_unique<TIGESEntity128>())).SetSurface(*SampleSurface(10));
    TGeometryInterface Two;
    ImportIGES(Save(F, "two.igs"), Two);
    ASSERT_EQ(Two.Count(), 2);
    auto* Second = dynamic_cast<TGeoBSurf*>(&Two.Items(1));
    ASSERT_NE(Second, nullptr);
    EXPECT_DOUBLE_EQ(Second->Surface().Point(0, 0).X, 10.0);
}

TEST_F(TIoIges, LongCurveAndBilinearSurfaceImportAsTheirControlPoints) {
    TIGESFile F;
    TBSpline Long(4);
    for (int I = 0; I < 600; ++I) Long.AddPoint(I, std::sin(I * 0.1), 0);
    // The writer stores what the curve holds; the knots of a 600-point curve do not fit the kernel,
    // so the parameters are written by hand.
    auto& C = *F.Add(std::make_unique<TIGESEntity126>());
    for (double V : {126.0, 599.0, 3.0, 0.0, 0.0, 1.0, 0.0}) C.AddRealParameter(V);
    for (int I = 0; I < 604; ++I) C.AddRealParameter(std::clamp(I - 3, 0, 597));
    for (int I = 0; I < 600; ++I) C.AddRealParameter(1);
    for (int I = 0; I < 600; ++I)
        for (double V : {double(I), std::sin(I * 0.1), 0.0}) C.AddRealParameter(V);
    for (double V : {0.0, 597.0, 0.0, 0.0, 1.0}) C.AddRealParameter(V);
    C.EndParameters();
    TBSplineSurface Bilinear(3, 3);
    Bilinear.SetOrderU(2);
    Bilinear.SetOrderV(2);
    for (int I = 0; I < 3; ++I)
        for (int J = 0; J < 3; ++J) Bilinear.Point(I, J).SetXYZ(I, J, I * J);
    static_cast<TIGESEntity128&>(*F.Add(std::make_unique<TIGESEntity128>())).SetSurface(Bilinear);
    const std::string P = Save(F, "long.igs");
    const auto Lines = ConsoleLinesOf([&] { ImportIGES(P, Doc); });
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(Entity<TGeoPline>(0).Polyline().Count(), 600);
    EXPECT_DOUBLE_EQ(Entity<TGeoPline>(0).Polyline().Point(599)->X, 599);
    EXPECT_EQ(Entity<TGeoMesh>(1).Net().NumU(), 3);
    EXPECT_DOUBLE_EQ(Entity<TGeoMesh>(1).Net().Point(2, 2).Z, 4);
    EXPECT_NE(std::find(Lines.begin(), Lines.end(), "Info: BSpline has too many points, polyline representation created"),
              Lines.end());
    EXPECT_NE(std::find(Lines.begin(), Lines.end(), "Info: BSpline Surface has too many points, Mesh representation created"),
              Lines.end());
}

TEST_F(TIoIges, ConsoleReportsTheGlobalHeader) {
    auto P = std::make_unique<TGeoPline>();
    P->Polyline().AddPoint(0, 0, 0);
    P->Polyline().AddPoint(1, 0, 0);
    Doc.Add(std::move(P));
    {
        TUnitsAnswer Answer(iuMillimetres);
        ExportIGES(Path, Doc);
    }
    TGeometryInterface Back;
    const auto Lines = ConsoleLinesOf([&] { ImportIGES(Path, Back); });
    ASSERT_GE(Lines.size(), 11u);
    const std::vector<std::string> Tail(Lines.end() - 11, Lines.end());
    EXPECT_EQ(Tail[1], "IGES Global Header:");
    EXPECT_EQ(Tail[2], "  Filename : out.igs");
    EXPECT_EQ(Tail[4], "  Preprocessor Version : Tavik IGES Translator 2.0");
    EXPECT_EQ(Tail[5], "  Units : MM");
    EXPECT_EQ(Tail[7], "  Organisation : Test Yard");
    EXPECT_EQ(Tail[8], "  IGESVersion  : IGES Version 5.1 [NIST91?]");
    EXPECT_EQ(Tail[9], "IGES Importing Complete");
    EXPECT_EQ(ReadText(Path).substr(0, 17), "Sarnova IGES File");
}

TEST_F(TIoIges, MeshExportsAsBilinearSurface) {
    auto M = std::make_unique<TGeoMesh>();
    M->Net().SetSize(3, 4);
    for (int I = 0; I < 3; ++I)
        for (int J = 0; J < 4; ++J) M->Net().Point(I, J).SetXYZ(I, J, 0);
    Doc.Add(std::move(M));
    TUnitsAnswer Answer(iuMetres);
    ExportIGES(Path, Doc);
    TIGESFile F;
    F.LoadFromFile(Path);
    ASSERT_EQ(F.Count(), 1);
    const std::vector<double> P = F.Items(0)->ReadParameters();
    EXPECT_EQ(std::vector<double>(P.begin(), P.begin() + 5), (std::vector<double>{128, 2, 3, 1, 1}));
    for (const std::string& L : ReadFileLines(Path)) EXPECT_EQ(L.size(), 80u);
}

TEST_F(TIoIges, CurvesAndSurfacesComeBack) {
    // Tilted about x; the middle point is halfway along.
    Doc.Add(ArcThrough({1, 0, 0}, {0, std::cos(0.3), std::sin(0.3)}, {-1, 0, 0}));
    auto C = std::make_unique<TGeoCircle>();
    C->Circle().SetFrame(MakeCircle({1, 2, 3}, VectorNormalise({0, 1, 1}), 2.5));
    Doc.Add(std::move(C));
    auto S = std::make_unique<TGeoBSpline>();
    for (int I = 0; I < 6; ++I) S->Spline().AddPoint(I, I * I, 1);
    Doc.Add(std::move(S));
    auto Surf = std::make_unique<TGeoBSurf>();
    Surf->Surface().Assign(*SampleSurface(0));
    Doc.Add(std::move(Surf));
    auto Pl = std::make_unique<TGeoPlane>();
    Pl->Plane().SetPlane({{0, 0, 1}, 2});
    Doc.Add(std::move(Pl));

    TGeometryInterface Back;
    RoundTrip(Back);
    ASSERT_EQ(Back.Count(), 5);
    auto* A = dynamic_cast<TGeoArc*>(&Back.Items(0));
    ASSERT_NE(A, nullptr);
    const TArc& Original = Entity<TGeoArc>(0).Arc();
    for (int I = 0; I < 3; ++I) ExpectNear(A->Arc().GetPoint(I)->Vector(), Original.GetPoint(I)->Vector());
    auto* Circle = dynamic_cast<TGeoCircle*>(&Back.Items(1));
    ASSERT_NE(Circle, nullptr);
    const TMCircle CF = Circle->Circle().Frame(), OF = Entity<TGeoCircle>(1).Circle().Frame();
    ExpectNear(CF.Centre, OF.Centre);
    EXPECT_NEAR(CF.Radius, 2.5, 1e-9);
    EXPECT_NEAR(std::fabs(VectorDot(CF.Normal, OF.Normal)), 1.0, 1e-9);
    auto* Spline = dynamic_cast<TGeoBSpline*>(&Back.Items(2));
    ASSERT_NE(Spline, nullptr);
    EXPECT_EQ(Spline->Spline().KnotType, ktOpen);
    Entity<TGeoBSpline>(2).Spline().UpdateKnots();
    ExpectNear(Spline->Spline().EvaluatePoint(1.3), Entity<TGeoBSpline>(2).Spline().EvaluatePoint(1.3));
    auto* BS = dynamic_cast<TGeoBSurf*>(&Back.Items(3));
    ASSERT_NE(BS, nullptr);
    ExpectNear(BS->Surface().Evaluate(0.7, 1.2), Entity<TGeoBSurf>(3).Surface().Evaluate(0.7, 1.2));
    auto* Plane = dynamic_cast<TGeoPlane*>(&Back.Items(4));
    ASSERT_NE(Plane, nullptr);
    EXPECT_NEAR(Plane->Plane().Offset(), 2, 1e-12);
}

TEST_F(TIoIges, APlaneComesInAsADocumentReadsItBack) {
    // A normal of any length in the file: the plane is saved as a document reads it, so that a save
    // after a reload writes the same text.
    auto Pl = std::make_unique<TGeoPlane>();
    Pl->Plane().SetPlane({{3, 4, 3}, 2});
    Doc.Add(std::move(Pl));
    TGeometryInterface Back;
    RoundTrip(Back);
    ASSERT_EQ(Back.Count(), 1);
    auto* Imported = dynamic_cast<TGeoPlane*>(&Back.Items(0));
    ASSERT_NE(Imported, nullptr);
    EXPECT_NEAR(VectorLength(Imported->Plane().Normal()), 1, 1e-12);
    const std::string Saved = DocumentText(Back);
    const auto Path = TempFile("plane.geo");
    Back.SaveToFile(Path);
    TGeometryInterface Reloaded;
    Reloaded.LoadFromFile(Path);
    EXPECT_EQ(DocumentText(Reloaded), Saved);
    auto* Plane = dynamic_cast<TGeoPlane*>(&Reloaded.Items(0));
    ASSERT_NE(Plane, nullptr);
    EXPECT_NEAR(Plane->Plane().Offset() * VectorLength({3, 4, 3}), 2, 1e-12);
}

TEST_F(TIoIges, CoordinatesFollowTheFileUnit) {
    auto P = std::make_unique<TGeoPline>();
    P->Polyline().AddPoint(1.25, -2.5, 3.125);
    P->Polyline().AddPoint(0.001, 123.456789, 1e-7);
    Doc.Add(std::move(P));
    auto S = std::make_unique<TGeoBSpline>();
    for (int I = 0; I < 5; ++I) S->Spline().AddPoint(I * 0.3, 1.7, -I);
    Doc.Add(std::move(S));
    Doc.Add(ArcThrough({1, 0, 0}, {0, 1, 0}, {-1, 0, 0}));
    {
        TUnitsAnswer Answer(iuMillimetres);
        ExportIGES(Path, Doc);
    }
    TIGESFile F;
    F.LoadFromFile(Path);
    EXPECT_EQ(F.GlobalSection.Units, iuMillimetres);
    EXPECT_EQ(F.GlobalSection.UnitsName, "MM");
    const std::vector<double> Pl = F.Items(0)->ReadParameters();
    EXPECT_DOUBLE_EQ(Pl[3], 1250.0);
    EXPECT_DOUBLE_EQ(Pl[4], -2500.0);

    for (TIGESUnits U : {iuInches, iuMillimetres, iuFeet, iuMiles, iuMetres, iuKilometres, iuMils, iuMicrons,
                         iuCentimetres, iuMicroinches, iuUserDefined}) {
        TGeometryInterface Back;
        RoundTrip(Back, U);
        ASSERT_EQ(Back.Count(), 3) << U;
        const TPolyline& Q = dynamic_cast<TGeoPline&>(Back.Items(0)).Polyline();
        const TPolyline& O = Entity<TGeoPline>(0).Polyline();
        for (int I = 0; I < 2; ++I) {
            const TMVector A = const_cast<TPolyline&>(Q).Point(I)->Vector(), B = const_cast<TPolyline&>(O).Point(I)->Vector();
            EXPECT_NEAR(A.X, B.X, 1e-9 * std::fabs(B.X)) << U;
            EXPECT_NEAR(A.Y, B.Y, 1e-9 * std::fabs(B.Y)) << U;
            EXPECT_NEAR(A.Z, B.Z, 1e-9 * std::fabs(B.Z)) << U;
        }
        ExpectNear(dynamic_cast<TGeoBSpline&>(Back.Items(1)).Spline().Point(4)->Vector(), {1.2, 1.7, -4}, 1e-12);
        ExpectNear(dynamic_cast<TGeoArc&>(Back.Items(2)).Arc().GetPoint(1)->Vector(), {0, 1, 0}, 1e-12);
    }
}

TEST_F(TIoIges, DesignUnitsAreConverted) {
    const std::uint8_t Saved = GDesignUnits;
    GDesignUnits = 2;  // millimetres
    auto P = std::make_unique<TGeoPline>();
    P->Polyline().AddPoint(1000, 0, 0);
    P->Polyline().AddPoint(0, 0, 0);
    Doc.Add(std::move(P));
    {
        TUnitsAnswer Answer(iuMetres);
        ExportIGES(Path, Doc);
    }
    GDesignUnits = Saved;
    TIGESFile F;
    F.LoadFromFile(Path);
    EXPECT_DOUBLE_EQ(F.Items(0)->ReadParameters()[3], 1.0);
}

TEST_F(TIoIges, FailedImportLeavesTheDocumentAsItWas) {
    Doc.Add(ArcThrough({1, 0, 0}, {0, 1, 0}, {-1, 0, 0}));
    const std::string Before = DocumentText(Doc);
    TGeometryInterface Source;
    for (int I = 0; I < 3; ++I) {
        auto P = std::make_unique<TGeoPline>();
        P->Polyline().AddPoint(I, 0, 0);
        P->Polyline().AddPoint(I, 1, 0);
        Source.Add(std::move(P));
    }
    {
        TUnitsAnswer Answer(iuMetres);
        ExportIGES(Path, Source);
    }
    std::vector<std::string> Lines = ReadFileLines(Path);
    struct TCase {
        const char* Name;
        std::function<void(std::vector<std::string>&)> Damage;
        std::string Expected;
    };
    const std::string Bad = TempFile("bad.igs").string();
    const TCase Cases[] = {
        {"records missing", [](auto& L) { L.erase(L.end() - 3); }, Bad + "(" + std::to_string(Lines.size() - 1) + "): IGES Format Error (Terminate Section)"},
        {"pointer past the end", [](auto& L) {
             for (auto& R : L)
                 if (R[72] == 'D' && R.substr(73) == "      5") R.replace(8, 8, "      40");
         }, "parameter pointer 40"},
        {"bad real", [](auto& L) {
             for (auto& R : L)
                 if (R[72] == 'P') {
                     R.replace(4, 1, "x");
                     break;
                 }
         }, "directory entry 1, parameter line 1: '"},
    };
    for (const TCase& C : Cases) {
        std::vector<std::string> Damaged = Lines;
        C.Damage(Damaged);
        std::string Text;
        for (const auto& L : Damaged) Text += L + "\n";
        WriteTemp("bad.igs", Text);
        std::string Error;
        const auto Console = ConsoleLinesOf([&] { Error = ErrorOf([&] { ImportIGES(Bad, Doc); }); });
        EXPECT_NE(Error.find(C.Expected), std::string::npos) << C.Name << ": " << Error;
        ASSERT_FALSE(Console.empty()) << C.Name;
        EXPECT_NE(Console.back().find("IGES import of"), std::string::npos) << C.Name;
        EXPECT_EQ(DocumentText(Doc), Before) << C.Name;
    }
}

TEST_F(TIoIges, PeerReadsWhatWeWrite) {
    if (!HavePeer()) GTEST_SKIP() << "OpenCASCADE's IGES reader is not installed";
    struct TCase {
        const char* Name;
        std::function<void(TGeometryInterface&)> Fill;
        TIGESUnits Units;
        std::map<std::string, std::string> Expected;
    };
    const TCase Cases[] = {
        {"polyline",
         [](TGeometryInterface& D) {
             auto P = std::make_unique<TGeoPline>();
             for (int I = 0; I < 4; ++I) P->Polyline().AddPoint(I, I % 2, 0);
             D.Add(std::move(P));
         },
         // Copious data comes in as one straight B-spline edge per segment.
         iuMetres, {{"bsplinecurves", "3"}, {"box", "0 0 0 3000 1000 0"}}},
        {"arc and circle",
         [](TGeometryInterface& D) {
             D.Add(ArcThrough({1, 0, 0}, {0, 1, 0}, {-1, 0, 0}));
             auto C = std::make_unique<TGeoCircle>();
             C->Circle().SetFrame(MakeCircle({0, 0, 5}, {1, 0, 0}, 2));
             D.Add(std::move(C));
         },
         iuMetres, {{"circles", "2"}}},
        {"spline in millimetres",
         [](TGeometryInterface& D) {
             auto S = std::make_unique<TGeoBSpline>();
             for (int I = 0; I < 6; ++I) S->Spline().AddPoint(I, 0, 0);
             D.Add(std::move(S));
         },
         iuMillimetres, {{"bsplinecurves", "1"}, {"box", "0 0 0 5000 0 0"}}},
        {"surface and mesh",
         [](TGeometryInterface& D) {
             auto S = std::make_unique<TGeoBSurf>();
             S->Surface().Assign(*SampleSurface(0));
             D.Add(std::move(S));
             auto M = std::make_unique<TGeoMesh>();
             M->Net().SetSize(3, 4);
             for (int I = 0; I < 3; ++I)
                 for (int J = 0; J < 4; ++J) M->Net().Point(I, J).SetXYZ(I + 10, J, 0);
             D.Add(std::move(M));
         },
         iuMetres, {{"faces", "2"}, {"bsplinefaces", "2"}, {"box", "0 0 0 12000 4000 1200"}}},
    };
    // The reader gives its shapes in millimetres.
    for (const TCase& C : Cases) {
        TGeometryInterface D;
        C.Fill(D);
        const std::string File = TempFile(std::string("peer-") + C.Name + ".igs").string();
        {
            TUnitsAnswer Answer(C.Units);
            ExportIGES(File, D);
        }
        auto Report = PeerReport(File);
        EXPECT_EQ(Report["status"], "0") << C.Name;
        EXPECT_EQ(Report["valid"], "1") << C.Name;
        for (const auto& [Key, Value] : C.Expected) {
            if (Key != "box") {
                EXPECT_EQ(Report[Key], Value) << C.Name << " " << Key;
                continue;
            }
            std::istringstream Got(Report[Key]), Want(Value);
            double G = 0, W = 0;
            for (int I = 0; I < 6; ++I) {
                Got >> G;
                Want >> W;
                // The reader widens its boxes by its own tolerance.
                EXPECT_NEAR(G, W, 1e-3 * std::max(1.0, std::fabs(W))) << C.Name << " box " << I;
            }
        }
    }
}
