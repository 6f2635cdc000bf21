#include <gtest/gtest.h>

#include <clocale>

#include "ExchangeFixtures.h"
#include "document/GBSpline.h"
#include "document/GPline.h"
#include "entities/GArc.h"
#include "entities/GCircle.h"
#include "exchange/GridGenFile.h"
#include "exchange/IoGridGen.h"
#include "foundation/Arc.h"
#include "foundation/BSpline.h"
#include "foundation/VkMathsIntersect.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

struct TIoGridGen : TExchangeTest {
    TGeoPline& AddPolyline(const std::string& Name, std::initializer_list<TMVector> Points) {
        auto P = std::make_unique<TGeoPline>();
        for (const TMVector& V : Points) P->Polyline().AddVector(V);
        P->SetName(Name);
        return dynamic_cast<TGeoPline&>(*Doc.Add(std::move(P)));
    }
    std::string Export() {
        const std::string Path = TempFile("out.glf").string();
        ExportGridGen(Path, Doc);
        return ReadText(Path);
    }
};

}  // namespace

TEST_F(TIoGridGen, APolylineIsOneConnectorInItsVariable) {
    AddPolyline("Keel", {{0, 0, 0}, {1, 0, 0}});
    EXPECT_EQ(Export(), JoinLines({"# A Polyline", "catch {", "", "    gg::conBegin",
                                   "        gg::segBegin -type 3D_LINE",
                                   "            gg::segAddControlPt {0.0000 0.0000 0.0000}",
                                   "            gg::segAddControlPt {1.0000 0.0000 0.0000}", "        gg::segEnd",
                                   "    set Keel [gg::conEnd]", "", "}", ""}));
}

TEST_F(TIoGridGen, EntitiesInOrderUnnamedNumberedDuplicatesOnce) {
    AddPolyline("", {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    auto A = std::make_unique<TGeoArc>();
    A->Arc().SetFrame(ArcFromAngles({0, 0, 0}, {0, 0, -1}, 1, 0, 3.14159265358979 / 2));
    Doc.Add(std::move(A));
    auto C = std::make_unique<TGeoCircle>();
    C->Circle().SetFrame(MakeCircle({0, 0, 0}, {0, 0, 1}, 1));
    Doc.Add(std::move(C));
    const std::string Text = Export();
    EXPECT_EQ(Text.find("{1.0000 0.0000 0.0000}"), Text.rfind("{1.0000 0.0000 0.0000}", Text.find("# A Arc")));
    EXPECT_NE(Text.find("set Entity1 [gg::conEnd]"), std::string::npos);
    EXPECT_GT(Text.find("# A Arc"), Text.find("# A Polyline"));
    EXPECT_NE(Text.find("        gg::segBegin -type CIRCULAR_ARC\n"
                        "            gg::segAddControlPt {1.0000 0.0000 0.0000}\n"
                        "            gg::segAddControlPt {0.0000 1.0000 0.0000}\n"
                        "            gg::segAddControlPt -alternate ARCPOINT {0.7071 0.7071 0.0000}\n"),
              std::string::npos)
        << Text;
    EXPECT_NE(Text.find("set Entity2 [gg::conEnd]"), std::string::npos);
    // The circle is neither.
    EXPECT_EQ(Text.find("Entity3"), std::string::npos);
}

TEST_F(TIoGridGen, EmptyDocumentEmptyFileAndPointsWhateverTheLocale) {
    EXPECT_EQ(Export(), "");
    const std::string Restore = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    AddPolyline("P", {{1.23456, -0.00005, 2}, {0, 0, 0}});
    const std::string Text = Export();
    std::setlocale(LC_ALL, Restore.c_str());
    EXPECT_NE(Text.find("{1.2346 -0.0001 2.0000}"), std::string::npos) << Text;
}

TEST(GridGenFile, SegmentsAndPointKinds) {
    TGridGenFile F;
    F.BeginSegment(gstConic, 0.5);
    F.AddControlPoint(gpkCentre, 1, 2, 3);
    F.EndSegment();
    F.IndentLess();
    F.BeginSegment(gstPole);
    const std::vector<std::string> Expected = {"gg::segBegin -type CONIC -rho 0.5",
                                               "    gg::segAddControlPt -alternate CENTRE {1.0000 2.0000 3.0000}",
                                               "gg::segEnd", "gg::segBegin -type POLE"};
    EXPECT_EQ(F.Lines, Expected);
    EXPECT_EQ(GridGenVariableName("Keel 1$[x]_b"), "Keel_1__x__b");
}

TEST_F(TIoGridGen, TclRunsTheScript) {
    if (!HaveProgram("tclsh")) GTEST_SKIP() << "tclsh is not installed";
    AddPolyline("my keel$x", {{0, 0, 0}, {1, 0, 0}});
    AddPolyline("[exit 3]", {{0, 0, 0}, {1, 1, 0}});
    auto S = std::make_unique<TGeoBSpline>();
    for (int I = 0; I < 4; ++I) S->Spline().AddPoint(I, I * I, 0);
    Doc.Add(std::move(S));
    const std::string Script = TempFile("run.glf").string();
    ExportGridGen(Script, Doc);
    const std::string Stubs = WriteTemp("stubs.tcl",
                                        "namespace eval gg {\n"
                                        "  variable count 0\n"
                                        "  variable points 0\n"
                                        "  proc conBegin {} {}\n"
                                        "  proc segBegin {args} {}\n"
                                        "  proc segAddControlPt {args} { variable points; incr points }\n"
                                        "  proc segEnd {} {}\n"
                                        "  proc conEnd {} { variable count; incr count; return con$count }\n"
                                        "}\n"
                                        "source [lindex $argv 0]\n"
                                        "puts \"$gg::count $gg::points ${my_keel_x} ${_exit_3_} $Entity3\"\n");
    int Status = 0;
    const std::string Out = RunCommand("tclsh '" + Stubs + "' '" + Script + "'", Status);
    EXPECT_EQ(Status, 0) << Out;
    // Two points each for the polylines and the spline's 100 samples; the bracketed name runs nothing.
    EXPECT_EQ(Out, "3 104 con1 con2 con3\n");
}
