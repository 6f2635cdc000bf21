#include <gtest/gtest.h>

#include <sstream>

#include "ExchangeFixtures.h"
#include "entities/GGonList.h"
#include "exchange/IoSTL.h"
#include "foundation/Polygon.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

std::string Facet(std::initializer_list<const char*> Vertices, const char* Normal = "facet normal 0 0 1") {
    std::string Text = std::string(Normal) + "\nouter loop\n";
    for (const char* V : Vertices) Text += std::string("vertex ") + V + "\n";
    return Text + "endloop\nendfacet\n";
}

using TIoSTL = TExchangeTest;

}  // namespace

TEST_F(TIoSTL, ReadsTrianglesQuadsAndEverySolid) {
    const std::string Text = "solid one\n" + Facet({"0 0 0", "1 0 0", "0 1 0"}) +
                             Facet({"0 0 1", "1\t0  1", "1 1 1", "0 1 1"}) +
                             Facet({"0 0 0", "1 0 0", "1 1 0", "0 1 0", "0 0 0"}) + "endsolid one\n" +
                             "  SOLID Two\n  FACET NORMAL 0 0 1\n    OUTER LOOP\n      VERTEX 2 0 0\n"
                             "      VERTEX 3 0 0\n      VERTEX 2,5 1 0\n    ENDLOOP\n  ENDFACET\nENDSOLID Two\n";
    const auto Lines = ConsoleLinesOf([&] { ImportSTL(WriteTemp("a.stl", Text), Doc); });
    const std::vector<std::string> Expected = {
        "Reading STL File containing one...",
        "SLT File Import Warning: Facet containing 5 vertices, facet not imported",
        "Reading STL File containing Two...", "3 Facets imported"};
    EXPECT_EQ(Lines, Expected);
    ASSERT_EQ(Doc.Count(), 1);
    const TPolygonList& Facets = dynamic_cast<TGeoPGonlist&>(Doc.Items(0)).Facets();
    ASSERT_EQ(Facets.Count(), 3);
    int Quads = 0;
    for (int I = 0; I < 3; ++I) Quads += Facets.Polygon(I)->CornerCount() == 4;
    EXPECT_EQ(Quads, 1);
    // Corners keep the order of the file; "," is read as a decimal point.
    bool FoundLast = false;
    for (int I = 0; I < 3; ++I)
        if (Facets.Polygon(I)->Corner(2)->Vector() == TMVector{2.5, 1, 0}) FoundLast = true;
    EXPECT_TRUE(FoundLast);
}

TEST_F(TIoSTL, AFileWithoutFacetsAddsNothing) {
    EXPECT_EQ(ReadSTL(WriteTemp("empty.stl", "solid nothing\nendsolid nothing\n")), nullptr);
    const std::string Path = WriteTemp("empty.stl", "solid nothing\nendsolid nothing\n");
    EXPECT_NE(ErrorOf([&] { ImportSTL(Path, Doc); }).find(Path + ": nothing was imported: "), std::string::npos);
    EXPECT_EQ(Doc.Count(), 0);
}

TEST_F(TIoSTL, ErrorsNameTheLineAndAddNothing) {
    const std::string Good = "solid s\n" + Facet({"0 0 0", "1 0 0", "0 1 0"});
    const std::pair<std::string, const char*> Cases[] = {
        {"solid s\nfacet normal 0 0 1\nvertex 0 0 0\n", "STL File Import Error: OUTER LOOP expected, line 3"},
        {Good + "facet\nouter loop\nnormal 0 0 1\n", "STL File Import Error: VERTEX expected, line 11"},
        {"solid s\nfacet\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\nendloop\nendsolid\n",
         "STL File Import Error: ENDFACET expected, line 8"},
        {Good + "facet\nouter loop\nvertex 0 0 0\n", "STL File Import Error: End of file inside a facet, line 12"},
        {"solid s\nfacet\nouter loop\nvertex 0 0 zero\n", "Unable to convert string to number (zero), line 4"},
        {"solid s\nfacet\nouter loop\nvertex 0 0\n", "Unable to convert string to number (), line 4"},
    };
    for (const auto& [Text, Message] : Cases) {
        const std::string Path = WriteTemp("bad.stl", Text);
        std::string Error;
        const auto Lines = ConsoleLinesOf([&] { Error = ErrorOf([&] { ImportSTL(Path, Doc); }); });
        EXPECT_EQ(Error, Message);
        EXPECT_EQ(Lines.back(), "STL import of " + Path + " failed: " + Message);
        EXPECT_EQ(Doc.Count(), 0);
    }
}

TEST_F(TIoSTL, ReadsWhatAdmeshWrites) {
    if (!HaveProgram("admesh")) GTEST_SKIP() << "admesh is not installed";
    // A closed tetrahedron and a separate triangle.
    const std::string Ours = "solid t\n" + Facet({"0 0 0", "0 1 0", "1 0 0"}) + Facet({"0 0 0", "1 0 0", "0 0 1"}) +
                             Facet({"0 0 0", "0 0 1", "0 1 0"}) + Facet({"1 0 0", "0 1 0", "0 0 1"}) +
                             Facet({"5 5 5", "6 5 5", "5 6 5"}) + "endsolid t\n";
    const std::string In = WriteTemp("ours.stl", Ours);
    const std::string Out = TempFile("admesh.stl").string();
    int Status = 0;
    const std::string Report = RunCommand("admesh -c --write-ascii-stl='" + Out + "' '" + In + "'", Status);
    ASSERT_EQ(Status, 0) << Report;
    // admesh reports "Number of facets : <before> <after>".
    const auto At = Report.find("Number of facets");
    ASSERT_NE(At, std::string::npos) << Report;
    std::istringstream Line(Report.substr(Report.find(':', At) + 1));
    int Before = 0, After = 0;
    ASSERT_TRUE(Line >> Before >> After) << Report;
    ImportSTL(Out, Doc);
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(dynamic_cast<TGeoPGonlist&>(Doc.Items(0)).Facets().Count(), After);
}
