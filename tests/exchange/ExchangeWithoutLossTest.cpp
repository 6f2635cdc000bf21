// Exchange without silent loss: imports never add nothing in silence nor take a loss for success, nor
// link what they bring to what the document held; exports leave out only what they name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "ExchangeFixtures.h"
#include "document/GBSpline.h"
#include "entities/GBSurf.h"
#include "entities/GMesh.h"
#include "entities/GPressureField.h"
#include "entities/PressureField.h"
#include "entities/GGonList.h"
#include "exchange/IoAnsys.h"
#include "exchange/IoCSV.h"
#include "exchange/IoDxf.h"
#include "exchange/GFFile.h"
#include "exchange/IoGF.h"
#include "exchange/IoIV.h"
#include "exchange/IoIdf.h"
#include "exchange/IoIges.h"
#include "exchange/IoKeldane.h"
#include "exchange/IoNapa.h"
#include "exchange/IoOff.h"
#include "exchange/IoProteus.h"
#include "exchange/IoSTL.h"
#include "exchange/IoShipGen.h"
#include "exchange/IoSrf.h"
#include "entities/GArc.h"
#include "exchange/IoSus.h"
#include "document/GPline.h"
#include "naval/GGroup.h"
#include "naval/GPList.h"
#include "naval/GOpening.h"
#include "foundation/BSpline.h"
#include "surfaces/BSurface.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

using TExchangeWithoutLoss = TExchangeTest;

std::string Fixture(const char* Name) {
    return (std::filesystem::path(SARNOVA_SOURCE_DIR) / "tests" / "exchange" / "files" / Name).string();
}

// Every line printable: no control characters but tabs.
bool Printable(const std::vector<std::string>& Lines) {
    for (const std::string& L : Lines)
        for (char C : L)
            if ((static_cast<unsigned char>(C) < 0x20 && C != '\t' && C != '\r' && C != '\n') || C == 0x7F) return false;
    return true;
}

// Whether Lines holds Line; the lines shown when not.
::testing::AssertionResult HasLine(const std::vector<std::string>& Lines, const std::string& Line) {
    if (std::find(Lines.begin(), Lines.end(), Line) != Lines.end()) return ::testing::AssertionSuccess();
    std::string All;
    for (const std::string& L : Lines) All += "\n  " + L;
    return ::testing::AssertionFailure() << "no line \"" << Line << "\" among:" << All;
}

TEST_F(TExchangeWithoutLoss, EveryImporterGivenNothingUsableAddsNothingAndSaysWhy) {
    struct TImporter {
        const char* Extension;
        void (*Import)(const std::string&, TGeometryList&);
    };
    const TImporter Importers[] = {
        {"ans", ImportAnsys},  {"csv", ImportCSVPolylines}, {"dxf", ImportDXF},      {"gf", ImportGF},
        {"iv", ImportInventor}, {"idf", ImportIdf},         {"igs", ImportIGES},     {"kdn", ImportKeldaneHullFile},
        {"napa", ImportNapaOffsets}, {"off", ImportOff},    {"stl", ImportSTL},      {"pla", ImportShipGen},
        {"srf", ImportSrf},    {"sus", ImportSus},          {"dam", ImportProteusDam},
    };
    std::string Binary(300, '\0');
    for (std::size_t I = 0; I < Binary.size(); ++I) Binary[I] = static_cast<char>((I * 37 + 11) % 256);
    const std::pair<const char*, std::string> Contents[] = {
        {"empty", ""},
        {"binary", Binary},
        {"garbage", "hello there\nthis is no geometry at all\n"},
        // Bytes no text has, where a reader quotes the line it stopped at.
        {"damaged", "1\n\xfe\xff\x1b 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30\n"},
    };
    Doc.Add(std::make_unique<TGeoPline>());
    const std::string Before = DocumentText(Doc);
    for (const TImporter& Im : Importers)
        for (const auto& [Kind, Text] : Contents) {
            const std::string Path = WriteTemp(std::string(Kind) + "." + Im.Extension, Text);
            // A DAM file brings the SUS file of its name when there is one.
            if (Im.Import == ImportProteusDam) std::filesystem::remove(std::filesystem::path(Path).replace_extension(".sus"));
            std::string Error;
            const auto Console = ConsoleLinesOf([&] { Error = ErrorOf([&] { Im.Import(Path, Doc); }); });
            SCOPED_TRACE(Path);
            // Refused with a reason, the file named in it or in the console's failure line.
            EXPECT_FALSE(Error.empty());
            std::string Said = Error;
            for (const std::string& L : Console) Said += "\n" + L;
            EXPECT_NE(Said.find(Path), std::string::npos) << Said;
            EXPECT_EQ(DocumentText(Doc), Before);
            EXPECT_TRUE(Printable(Console));
            EXPECT_TRUE(Printable({Error})) << Error;
        }
}

TEST_F(TExchangeWithoutLoss, StlThatIsBinaryOrCutShort) {
    const std::string Binary = Fixture("stl-binary-solid-header.stl");
    std::string Error;
    const auto Console = ConsoleLinesOf([&] { Error = ErrorOf([&] { ImportSTL(Binary, Doc); }); });
    EXPECT_EQ(Error, Binary + " is a binary STL file: this program reads ASCII STL files only");
    EXPECT_EQ(Doc.Count(), 0);
    EXPECT_TRUE(Printable(Console));

    const auto Cut = ConsoleLinesOf([&] { ImportSTL(Fixture("stl-no-endsolid.stl"), Doc); });
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_TRUE(HasLine(Cut, "STL File Import Warning: the file ends on line 15 without ENDSOLID: it is truncated and "
                        "facets may be missing"));
}

TEST_F(TExchangeWithoutLoss, DxfCutBeforeItsEntitiesSaysSo) {
    const std::string Path = Fixture("dxf-cut-before-entities.dxf");
    EXPECT_EQ(ErrorOf([&] { ImportDXF(Path, Doc); }), Path + ": nothing was imported: the file has no ENTITIES section");
    EXPECT_EQ(Doc.Count(), 0);
}

TEST_F(TExchangeWithoutLoss, DxfCountsWhatItSkipsAndConvertsItsUnits) {
    const std::string Path = WriteTemp("skips.dxf", JoinLines({
        "0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015", "9", "$INSUNITS", "70", "4", "0", "ENDSEC",
        "0", "SECTION", "2", "ENTITIES",
        "0", "LINE", "10", "1000", "20", "0", "30", "0", "11", "2000", "21", "500", "31", "0",
        "0", "SPLINE", "70", "8",
        "0", "TEXT", "1", "label",
        "0", "SPLINE", "70", "8",
        "0", "INSERT", "2", "BLOCK1",
        "0", "ELLIPSE", "10", "0",
        "0", "LWPOLYLINE", "90", "2", "70", "0", "10", "0", "20", "0", "42", "0.5", "10", "1000", "20", "0",
        "0", "ENDSEC", "0", "EOF",
    }));
    const auto Console = ConsoleLinesOf([&] { ImportDXF(Path, Doc); });
    ASSERT_EQ(Doc.Count(), 2);
    const TPolyline& Line = dynamic_cast<TGeoPline&>(Doc.Items(0)).Polyline();
    EXPECT_DOUBLE_EQ(Line.Point(1)->X, 2.0);
    EXPECT_DOUBLE_EQ(Line.Point(1)->Y, 0.5);
    EXPECT_TRUE(HasLine(Console, "DXF import of " + Path + ": not imported: 2 SPLINE, 1 TEXT, 1 INSERT, 1 ELLIPSE, "
                        "1 polyline bulge (drawn straight)"));
    EXPECT_TRUE(HasLine(Console, "DXF import of " + Path +
                            ": the drawing is in millimetres, converted to the document's unit (scale 0.001)"));
}

TEST_F(TExchangeWithoutLoss, IgesTrimmedSurfaceGivesItsSurfaceAndCountsTheRest) {
    const std::string Path = Fixture("iges-occ-trimmed-mm.igs");
    const auto Console = ConsoleLinesOf([&] { ImportIGES(Path, Doc); });
    // The underlying surface only: its trimming curve lies in parameter space, not in the model.
    ASSERT_EQ(Doc.Count(), 1);
    auto* Surface = dynamic_cast<TGeoBSurf*>(&Doc.Items(0));
    ASSERT_NE(Surface, nullptr);
    // Written in millimetres, read into a document in metres.
    EXPECT_NEAR(Surface->Surface().Point(3, 4).X, 0.003, 1e-15);
    EXPECT_NEAR(Surface->Surface().Point(3, 4).Z, 0.0013125, 1e-15);
    EXPECT_TRUE(HasLine(Console, "IGES import of " + Path +
                            ": not imported: 1 trimmed surface (type 144), 1 curve on a surface (type 142), "
                            "1 parameter-space curve"));
}

TEST_F(TExchangeWithoutLoss, IgesControlCharacterBeforeTheTypeNumber) {
    // The entry is read as the type its number names, never as another class.
    ImportIGES(Fixture("iges-formfeed-in-type-field.igs"), Doc);
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_NE(dynamic_cast<TGeoBSurf*>(&Doc.Items(0)), nullptr);
    // A fuzzed file (NUL before the type, damaged parameters) is refused with its place named.
    const std::string Fuzzed = Fixture("iges-nul-in-type-field.igs");
    EXPECT_EQ(ErrorOf([&] { ImportIGES(Fuzzed, Doc); }),
              Fuzzed + ": directory entry 3, parameter line 5: '1\\xCE\\xC7' is not a number");
    EXPECT_EQ(Doc.Count(), 1);
}

TEST_F(TExchangeWithoutLoss, DamImportedTwiceLinksItsOwnGroupsAndUndoes) {
    const std::string Path = Fixture("dam-openings-export.dam");
    ImportProteusDam(Path, Doc);
    const int First = Doc.Count();
    const std::string Once = DocumentText(Doc);
    Doc.GetUndoManager().Clear();
    ImportProteusDam(Path, Doc);
    ASSERT_EQ(Doc.Count(), 2 * First);
    const std::string Twice = DocumentText(Doc);
    // The groups have no compartments in the file; the openings keep them, and they are saved.
    std::vector<TGeometry*> Groups, Openings;
    for (int I = First; I < Doc.Count(); ++I) {
        if (dynamic_cast<TGeoOpenGroup*>(&Doc.Items(I))) Groups.push_back(&Doc.Items(I));
        if (dynamic_cast<TGeoOpening*>(&Doc.Items(I))) Openings.push_back(&Doc.Items(I));
    }
    ASSERT_EQ(Groups.size(), 2u);
    ASSERT_EQ(Openings.size(), 4u);
    EXPECT_NE(Once.find("[TOpenGroup]\nName=Hold1\n"), std::string::npos);
    EXPECT_NE(Once.find("Connection=Hold1 <-> Hold2\n"), std::string::npos);
    // Each OPENING line gives the dam, group B, group A and the in-flags (A -> B, B -> A); the
    // second import's openings link the second import's groups (nullptr is the sea).
    struct TEnds {
        TGeometry *A, *B;
        int Direction;
    };
    const TEnds Expected[] = {{Groups[0], Groups[1], 2},  // OPENING 1 2 1 .. 1 1: Door
                              {Groups[1], nullptr, 0},    // OPENING 2 0 2 .. 1 0: Hatch
                              {Groups[0], nullptr, 0},    // OPENING 3 0 1 .. 1 0: Side Door
                              {Groups[1], nullptr, 1}};   // OPENING 4 0 2 .. 0 1: Damage
    for (std::size_t K = 0; K < 4; ++K) {
        auto& C = static_cast<TGeoOpening*>(Openings[K])->Connection();
        SCOPED_TRACE(Openings[K]->GetName());
        EXPECT_EQ(C.GroupA(), Expected[K].A);
        EXPECT_EQ(C.GroupB(), Expected[K].B);
        EXPECT_EQ(C.GetEndA(), Expected[K].A ? Expected[K].A->GetName() : "Sea");
        EXPECT_EQ(C.GetEndB(), Expected[K].B ? Expected[K].B->GetName() : "Sea");
        EXPECT_EQ(C.Direction, Expected[K].Direction);
    }
    Doc.Undo();
    EXPECT_EQ(DocumentText(Doc), Once);
    Doc.Redo();
    EXPECT_EQ(DocumentText(Doc), Twice);
    Doc.Undo();
    EXPECT_EQ(DocumentText(Doc), Once);
}

}  // namespace

namespace {

// A document of the kinds DXF and IGES both carry one to one: a polyline, a B-spline curve, a mesh,
// an open and a periodic B-spline surface.
void FillExchangeDocument(TGeometryList& Doc) {
    auto P = std::make_unique<TGeoPline>();
    for (int I = 0; I < 4; ++I) P->Polyline().AddPoint(I, I * I * 0.5, 1);
    Doc.Add(std::move(P));
    auto C = std::make_unique<TGeoBSpline>();
    for (int I = 0; I < 6; ++I) C->Spline().AddPoint(I, std::sin(I), 0.25 * I);
    Doc.Add(std::move(C));
    auto M = std::make_unique<TGeoMesh>();
    M->Net().SetSize(3, 4);
    for (int I = 0; I < 3; ++I)
        for (int J = 0; J < 4; ++J) M->Net().Point(I, J).SetXYZ(I, J, 0.1 * I * J);
    Doc.Add(std::move(M));
    for (const bool Periodic : {false, true}) {
        auto B = std::make_unique<TGeoBSurf>();
        TBSplineSurface& S = B->Surface();
        S.Clear();
        S.SetSize(5, 4);
        for (int I = 0; I < 5; ++I)
            for (int J = 0; J < 4; ++J) S.Point(I, J).SetXYZ(I + 10, J, 0.2 * (I - 2) * (J - 1.5));
        S.UpdateKnots();
        if (Periodic) {
            S.KnotType = ktPeriodic;
            TKnotArray U = S.KnotsU(), V = S.KnotsV();
            for (int K = 0; K < 9; ++K) U[static_cast<std::size_t>(K)] = K;
            for (int K = 0; K < 8; ++K) V[static_cast<std::size_t>(K)] = K;
            S.SetKnotsU(U);
            S.SetKnotsV(V);
        }
        Doc.Add(std::move(B));
    }
}

// The text without IGES global-section records, which name the file and the time of writing.
std::string WithoutGlobalSection(const std::string& Text) {
    std::string R;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        const std::size_t End = std::min(Text.find('\n', Start), Text.size());
        const std::string_view Line(Text.data() + Start, End - Start);
        if (!(Line.size() == 80 && Line[72] == 'G')) (R += Line) += '\n';
        Start = End + 1;
    }
    return R;
}

TEST_F(TExchangeWithoutLoss, EveryKindRoundTripsThroughDxfAndIges) {
    struct TFormat {
        const char* Extension;
        void (*Export)(const std::string&, TGeometryList&);
        void (*Import)(const std::string&, TGeometryList&);
        // DXF has no knots to give: a surface beyond its smoothed kinds travels as sampled points.
        const char* PeriodicAs;
    };
    const TFormat Formats[] = {{"dxf", ExportDXF, ImportDXF, "TGeoMesh"}, {"igs", ExportIGES, ImportIGES, "TGeoBSurf"}};
    FillExchangeDocument(Doc);
    for (const TFormat& F : Formats) {
        SCOPED_TRACE(F.Extension);
        const std::string First = TempFile(std::string("every-kind.") + F.Extension).string();
        const auto Console = ConsoleLinesOf([&] { F.Export(First, Doc); });
        // Nothing left out: the periodic surface is written as its equivalent.
        for (const std::string& L : Console) EXPECT_EQ(L.find("left out"), std::string::npos) << L;
        TGeometryInterface Back;
        const auto ImportConsole = ConsoleLinesOf([&] { F.Import(First, Back); });
        for (const std::string& L : ImportConsole) EXPECT_EQ(L.find("not imported"), std::string::npos) << L;
        ASSERT_EQ(Back.Count(), Doc.Count());
        for (int I = 0; I < 4; ++I) EXPECT_EQ(Back.Items(I).ClassName(), Doc.Items(I).ClassName()) << I;
        EXPECT_EQ(Back.Items(4).ClassName(), F.PeriodicAs);
        const TMesh& Net = dynamic_cast<TGeoMesh&>(Back.Items(2)).Net();
        ASSERT_EQ(Net.NumU(), 3);
        EXPECT_NEAR(Net.Point(2, 3).Z, 0.6, 1e-12);
        if (auto* Periodic = dynamic_cast<TGeoBSurf*>(&Back.Items(4))) {
            const TBSplineSurface& Given = dynamic_cast<TGeoBSurf&>(Doc.Items(4)).Surface();
            ASSERT_EQ(Periodic->Surface().NumU(), 5);
            ASSERT_EQ(Periodic->Surface().NumV(), 4);
            for (int I = 0; I < 5; ++I)
                for (int J = 0; J < 4; ++J) EXPECT_NEAR(Periodic->Surface().Point(I, J).Z, Given.Point(I, J).Z, 1e-12);
        }
        // Written again, read again and written once more: the same file. (The first file's numbers
        // were rounded to 15 digits once; from then on nothing changes.)
        const std::string Second = TempFile(std::string("every-kind-again.") + F.Extension).string();
        F.Export(Second, Back);
        TGeometryInterface Again;
        F.Import(Second, Again);
        ASSERT_EQ(Again.Count(), Doc.Count());
        F.Export(Second + ".third", Again);
        EXPECT_EQ(WithoutGlobalSection(ReadText(Second + ".third")), WithoutGlobalSection(ReadText(Second)));
    }
}

TEST_F(TExchangeWithoutLoss, PressureFieldsGoToDxfAsFacetsAndIgesNamesThemLeftOut) {
    auto Field = std::make_unique<TGeoPressureField>();
    Field->SetName("Slam");
    for (int I = 0; I < 3; ++I) {
        auto F = std::make_unique<TPressurePolygon>(0);
        F->SetCorner(0, TRPoint(TMVector{double(I), 0, 0}));
        F->SetCorner(1, TRPoint(TMVector{I + 1.0, 0, 0}));
        F->SetCorner(2, TRPoint(TMVector{double(I), 1, 0}));
        F->Pressure = I;
        Field->Field().Add(std::move(F));
    }
    Doc.Add(std::move(Field));
    auto Line = std::make_unique<TGeoPline>();
    Line->Polyline().AddPoint(0, 0, 0);
    Line->Polyline().AddPoint(1, 1, 1);
    Doc.Add(std::move(Line));

    const std::string Dxf = TempFile("pressure.dxf").string();
    ExportDXF(Dxf, Doc);
    TGeometryInterface Back;
    ImportDXF(Dxf, Back);
    ASSERT_EQ(Back.Count(), 2);
    EXPECT_EQ(dynamic_cast<TGeoPGonlist&>(Back.Items(1)).Facets().Count(), 3);

    const std::string Iges = TempFile("pressure.igs").string();
    const auto Console = ConsoleLinesOf([&] { ExportIGES(Iges, Doc); });
    EXPECT_TRUE(HasLine(Console, "IGES export to " + Iges + ": Slam left out: IGES export has no form for it"));
    TGeometryInterface FromIges;
    ImportIGES(Iges, FromIges);
    EXPECT_EQ(FromIges.Count(), 1);
}

TEST_F(TExchangeWithoutLoss, CompartmentsInsideClosedGroupsAreExported) {
    const auto Compartment = [&](const char* Name, double X) {
        auto L = std::make_unique<TGeoPList>();
        for (double Station : {X, X + 1}) {
            auto S = std::make_unique<TPolyline>();
            for (const auto& [Y, Z] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}}) S->AddPoint(Station, Y, Z);
            L->Polylines().Add(std::move(S));
        }
        L->SetName(Name);
        L->SetPermeability(0.9);
        return Doc.Add(std::move(L));
    };
    Compartment("Outside", 0);
    Compartment("Inside", 5)->SetSelected(true);
    TGeoClosedGroup::CreateClosedGroup(Doc);
    ASSERT_EQ(Doc.Count(), 2);

    const std::string Sus = TempFile("closed.sus").string();
    ExportSus(Sus, Doc);
    TGeometryInterface FromSus;
    ImportSus(Sus, FromSus);
    ASSERT_EQ(FromSus.Count(), 2);
    EXPECT_EQ(FromSus.Items(1).GetName(), "Inside");

    GFExportDialog() = [](TGFExportOptions&) { return true; };
    const std::string Gf = TempFile("closed.gf").string();
    ExportGF(Gf, Doc);
    GFExportDialog() = nullptr;
    TGeometryInterface FromGf;
    ImportGF(Gf, FromGf);
    EXPECT_EQ(FromGf.Count(), 2);

    // The closed group is a damage group of its own, with its compartment.
    const std::string Dam = TempFile("closed.dam").string();
    ExportProteusDam(Dam, Doc);
    TGeometryInterface FromDam;
    ImportProteusDam(Dam, FromDam);
    const auto Groups = [&] {
        std::vector<TGeoOpenGroup*> G;
        for (int I = 0; I < FromDam.Count(); ++I)
            if (auto* O = dynamic_cast<TGeoOpenGroup*>(&FromDam.Items(I))) G.push_back(O);
        return G;
    }();
    ASSERT_EQ(Groups.size(), 1u);
    ASSERT_EQ(Groups[0]->GetMemberCount(), 1);
    EXPECT_EQ(Groups[0]->GetMember(0)->GetName(), "Inside");
}

TEST_F(TExchangeWithoutLoss, CoinSceneImportsItsFacesAndNamesWhatItDoesNotRead) {
    const std::string Path = Fixture("iv-coin-pentagon.iv");
    const auto Console = ConsoleLinesOf([&] { ImportInventor(Path, Doc); });
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(dynamic_cast<TGeoPList&>(Doc.Items(0)).Polylines().Count(), 2);
    // Two quadrilaterals and a triangle, then the pentagon as three triangles.
    EXPECT_EQ(dynamic_cast<TGeoPGonlist&>(Doc.Items(1)).Facets().Count(), 6);
    EXPECT_TRUE(HasLine(Console, "IoIV: 1 face of more than 4 corners imported as a fan of triangles"));
    EXPECT_TRUE(HasLine(Console, "Open Inventor import of " + Path + ": not imported: 1 Transform"));
}

TEST_F(TExchangeWithoutLoss, EzdxfDrawingsOfEveryVersionImportWithTheirSkipsCounted) {
    if (!HavePythonModule("ezdxf")) GTEST_SKIP() << "python3-ezdxf is not installed";
    // One drawing in millimetres at each version; R12 has no $INSUNITS, LWPOLYLINE, SPLINE or ELLIPSE.
    const char* Versions[] = {"R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"};
    const std::string Script = WriteTemp("drawings.py", JoinLines({
        "import sys, ezdxf",
        "for ver in sys.argv[2:]:",
        "    doc = ezdxf.new(ver)",
        "    doc.header['$INSUNITS'] = 4",
        "    msp = doc.modelspace()",
        "    msp.add_line((0, 0, 0), (1000, 0, 0))",
        "    msp.add_circle((0, 0), 500)",
        "    msp.add_arc((0, 0), 500, 0, 90)",
        "    msp.add_3dface([(0, 0, 0), (1000, 0, 0), (0, 1000, 0)])",
        "    msp.add_polyline3d([(0, 0, 0), (1000, 1000, 1000), (2000, 0, 0)])",
        "    msp.add_text('hello')",
        "    doc.blocks.new(name='B1').add_line((0, 0), (1, 1))",
        "    msp.add_blockref('B1', (0, 0))",
        "    if ver != 'R12':",
        "        msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (1000, 0, 0, 0, 0), (1000, 1000)], format='xyseb')",
        "        msp.add_spline([(0, 0, 0), (1000, 500, 0), (2000, 0, 0), (3000, 500, 0)])",
        "        msp.add_ellipse((0, 0), major_axis=(1000, 0), ratio=0.5)",
        "    doc.saveas(sys.argv[1] + '/ezdxf-' + ver + '.dxf')",
    }));
    std::string Command = Python() + " '" + Script + "' '" + TempFile("").string() + "'";
    for (const char* V : Versions) Command += std::string(" ") + V;
    int Status = 0;
    const std::string Output = RunCommand(Command, Status);
    ASSERT_EQ(Status, 0) << Output;
    for (const char* V : Versions) {
        SCOPED_TRACE(V);
        const bool R12 = std::string(V) == "R12";
        const std::string Path = TempFile(std::string("ezdxf-") + V + ".dxf").string();
        TGeometryInterface Read;
        const auto Console = ConsoleLinesOf([&] { ImportDXF(Path, Read); });
        std::vector<std::string> Classes;
        for (int I = 0; I < Read.Count(); ++I) Classes.push_back(Read.Items(I).ClassName());
        // Line, circle, arc, 3-D polyline (and the light-weight polyline), then the facets.
        std::vector<std::string> Expected = {"TGeoPline", "TGeoPline", "TGeoArc", "TGeoPline"};
        if (!R12) Expected.push_back("TGeoPline");
        Expected.push_back("TGeoPGonlist");
        EXPECT_EQ(Classes, Expected);
        EXPECT_TRUE(HasLine(Console, "DXF import of " + Path + ": not imported: 1 TEXT, 1 INSERT" +
                                         (R12 ? "" : ", 1 SPLINE, 1 ELLIPSE, 1 polyline bulge (drawn straight)")));
        if (R12) continue;
        EXPECT_NEAR(dynamic_cast<TGeoPline&>(Read.Items(0)).Polyline().Point(1)->X, 1.0, 1e-12);
        EXPECT_TRUE(HasLine(Console, "DXF import of " + Path +
                                         ": the drawing is in millimetres, converted to the document's unit (scale 0.001)"));
    }
}

TEST_F(TExchangeWithoutLoss, EveryFormatWritesTheSameFileWhenItsImportIsWrittenAgain) {
    struct TFormat {
        const char* Extension;
        void (*Export)(const std::string&, TGeometryList&);
        void (*Import)(const std::string&, TGeometryList&);
    };
    const TFormat Formats[] = {
        {"dxf", ExportDXF, ImportDXF},   {"igs", ExportIGES, ImportIGES}, {"ans", ExportAnsys, ImportAnsys},
        {"sus", ExportSus, ImportSus},   {"gf", ExportGF, ImportGF},      {"dam", ExportProteusDam, ImportProteusDam},
        {"srf", ExportSrf, ImportSrf},
    };
    FillExchangeDocument(Doc);
    auto Arc = std::make_unique<TGeoArc>();
    Arc->Arc().SetStart(TRPoint(TMVector{1, 0, 0}));
    Arc->Arc().SetMid(TRPoint(TMVector{0, 1, 0}));
    Arc->Arc().SetEnd(TRPoint(TMVector{-1, 0, 0}));
    Doc.Add(std::move(Arc));
    for (const auto& [Name, X, Permeability] : {std::tuple{"Hull", 0.0, 1.0}, {"Hold", 2.0, 0.95}}) {
        auto L = std::make_unique<TGeoPList>();
        for (double Station : {X, X + 1, X + 2}) {
            auto S = std::make_unique<TPolyline>();
            for (const auto& [Y, Z] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}}) S->AddPoint(Station, Y, Z);
            L->Polylines().Add(std::move(S));
        }
        L->SetName(Name);
        L->SetPermeability(Permeability);
        TGeometry* Added = Doc.Add(std::move(L));
        if (std::string(Name) == "Hold") {
            auto G = std::make_unique<TGeoOpenGroup>();
            G->SetName("Holds");
            G->SetOwnerList(&Doc);
            G->AddMember(Added);
            Doc.Add(std::move(G));
        }
    }
    GFExportDialog() = [](TGFExportOptions&) { return true; };
    for (const TFormat& F : Formats) {
        SCOPED_TRACE(F.Extension);
        // One file name throughout: some formats write it into the file.
        const std::string Path = TempFile(std::string("fixed.") + F.Extension).string();
        std::string Files[3];
        int Counts[2] = {0, 0};
        TGeometryInterface Read[2];
        TGeometryList* From = &Doc;
        for (int Round = 0; Round < 3; ++Round) {
            F.Export(Path, *From);
            Files[Round] = WithoutGlobalSection(ReadText(Path));
            if (Round == 2) break;
            F.Import(Path, Read[Round]);
            Counts[Round] = Read[Round].Count();
            From = &Read[Round];
        }
        EXPECT_GT(Counts[0], 0);
        EXPECT_EQ(Counts[1], Counts[0]);
        // The first file rounds the document's numbers once; from then on nothing changes.
        EXPECT_EQ(Files[2], Files[1]);
    }
    GFExportDialog() = nullptr;
}

}  // namespace
