#include <gtest/gtest.h>

#include <clocale>

#include "ExchangeFixtures.h"
#include "exchange/DXFFile.h"
#include "exchange/PolyMesh.h"
#include "foundation/Colors.h"
#include "foundation/Polygon.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

// The lines to read, as a loaded file of that text.
void Load(TDXFFile& F, std::initializer_list<const char*> Lines) {
    std::string Text;
    for (const char* L : Lines) (Text += L) += '\n';
    F.LoadFromText(Text);
    F.FileName = "t.dxf";
}

}  // namespace

TEST(DXFFile, WritersFormatCodesAndValues) {
    TDXFFile F;
    F.WriteString(0, "LINE");
    F.WriteString(10, "x");
    F.WriteInteger(62, 7);
    F.WriteInteger(210, -1);
    F.WriteFloat(10, 0.5);
    F.BeginSection("entities");
    F.BeginEntity("vertex");
    const std::vector<std::string> Expected = {"  0", "LINE", " 10", "x",   " 62",     "7",        " 210", "-1",
                                               " 10", "0.5",  "  0", "SECTION", "  2", "ENTITIES", "  0",  "VERTEX"};
    EXPECT_EQ(F.Lines(), Expected);
}

TEST(DXFFile, NumberTextIsGeneralWithAPointWhateverTheLocale) {
    const char* Saved = std::setlocale(LC_ALL, nullptr);
    const std::string Restore = Saved ? Saved : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const std::pair<double, const char*> Cases[] = {{0.0001, "0.0001"}, {0.00001, "1E-5"}, {1e20, "1E20"},
                                                     {1.5, "1.5"},       {0, "0"},           {-2.25, "-2.25"},
                                                     {1e15, "1E15"},     {123456789012345.0, "123456789012345"}};
    for (auto [Value, Text] : Cases) EXPECT_EQ(DXFNumberText(Value), Text) << Value;
    std::setlocale(LC_ALL, Restore.c_str());
}

TEST(DXFFile, ColorIndexNamedAndNearest) {
    const std::pair<TColor, int> Cases[] = {
        {RGBColor(255, 0, 0), 1},     {RGBColor(250, 0, 0), 1},       {RGBColor(255, 255, 0), 2},
        {RGBColor(0, 0, 255), 5},     {RGBColor(255, 255, 255), 7},   {RGBColor(128, 128, 128), 8},
        {RGBColor(192, 192, 192), 9}, {RGBColor(0, 0, 0), 18},        {RGBColor(76, 0, 0), 18},
        {RGBColor(51, 51, 51), 250},  {RGBColor(255, 127, 127), 11}};
    for (auto [Colour, Index] : Cases) EXPECT_EQ(DXFColorIndex(Colour), Index) << std::hex << Colour;
}

TEST(DXFFile, EntityKindsIgnoreCaseAndBlanks) {
    const std::pair<const char*, TDXFEntityKind> Cases[] = {
        {"POLYLINE", dekPolyline}, {"LWPOLYLINE", dekLWPolyline}, {"3dface", dek3DFace},
        {" Line ", dekLine},       {"ELLIPSE", dekOther},         {"SeqEnd", dekSeqEnd}};
    for (auto [Name, Kind] : Cases) EXPECT_EQ(DXFEntityKindOf(Name), Kind) << Name;
}

TEST(DXFFile, ReadsGroupsWithBlanksAroundCodes) {
    TDXFFile F;
    Load(F, {"  0", "LINE", "0", "ARC", " 0 ", "CIRCLE", " 10", " 1,5 ", "0", "EOF"});
    EXPECT_EQ(F.NextEntityName(), "LINE");
    EXPECT_TRUE(F.AtEntityStart());
    EXPECT_EQ(F.NextEntityKind(), dekArc);
    EXPECT_TRUE(F.PeekEntityIs("CIRCLE"));
    EXPECT_EQ(F.LineIndex, 4);
    F.ReadGroup();
    EXPECT_EQ(F.ReadCode(), 10);
    EXPECT_EQ(F.Value(), " 1,5 ");
    EXPECT_DOUBLE_EQ(F.ValueAsFloat(), 1.5);
    EXPECT_TRUE(F.AtEntityStart());
}

TEST(DXFFile, SectionSearchAndPeekCase) {
    TDXFFile F;
    Load(F, {"0", "SECTION", "2", "HEADER", "0", "ENDSEC", "0", "section", "2", "entities", "0", "LINE",
                         "0", "endsec", "0", "ENDSEC", "0", "EOF"});
    EXPECT_TRUE(F.FindEntitiesSection());
    EXPECT_EQ(F.LineIndex, 10);
    F.NextEntityName();
    // Only an exact "ENDSEC" ends a section.
    EXPECT_FALSE(F.NextIsEndSec());
    F.NextEntityName();
    EXPECT_TRUE(F.NextIsEndSec());

    TDXFFile NoEntities;
    Load(NoEntities, {"0", "SECTION", "2", "HEADER", "0", "ENDSEC", "0", "EOF"});
    EXPECT_FALSE(NoEntities.FindEntitiesSection());
    EXPECT_EQ(NoEntities.LineIndex, 0);
}

TEST(DXFFile, ReadErrorsNameFileAndLine) {
    struct TCase {
        std::vector<const char*> Lines;
        void (*Read)(TDXFFile&);
        const char* Message;
    };
    const TCase Cases[] = {
        {{"0", "LINE", "10"}, [](TDXFFile& F) { F.ReadUntilCode(5); }, "t.dxf(4): Unexpected end of file"},
        {{"0", "LINE", "1x", "A"}, [](TDXFFile& F) { F.ReadUntilCode(5); }, "t.dxf(3): '1x' is not a valid group code"},
        {{"10", "abc"}, [](TDXFFile& F) { F.ReadGroup(), F.ValueAsFloat(); },
         "t.dxf(2): Unable to convert string to number (abc)"},
        {{"70", "1.5"}, [](TDXFFile& F) { F.ReadGroup(), F.ValueAsInteger(); },
         "t.dxf(2): '1.5' is not a valid integer value"},
        {{"10", "1", "20"}, [](TDXFFile& F) { F.ReadGroup(), F.NextIsSeqEnd(); }, "t.dxf(4): Unexpected end of file"},
    };
    for (const TCase& C : Cases) {
        TDXFFile F;
        F.FileName = "t.dxf";
        std::string Text;
        for (const char* L : C.Lines) (Text += L) += '\n';
        F.LoadFromText(Text);
        EXPECT_EQ(ErrorOf([&] { C.Read(F); }), C.Message);
    }
}

TEST(DXFFile, SavesWithCrLfAndLoadsLf) {
    TDXFFile F;
    F.WriteString(0, "EOF");
    const std::string Path = TempFile("crlf.dxf").string();
    F.SaveToFile(Path);
    EXPECT_EQ(ReadText(Path), "  0\r\nEOF\r\n");
    TDXFFile G;
    const auto Lines = ConsoleLinesOf([&] { G.LoadFromFile(WriteTemp("lf.dxf", "0\nEOF\n")); });
    EXPECT_EQ(Lines, std::vector<std::string>{"DXF: Reading file to memory..."});
    EXPECT_EQ(G.NextEntityName(), "EOF");
}

TEST(DXFFile, ProgressFollowsTheCursor) {
    TDXFFile F;
    Load(F, {"0", "A", "0", "B", "0", "C", "0", "D"});
    std::vector<int> Seen;
    GConsole->OnProgress = [&](int P) { Seen.push_back(P); };
    while (!F.Eof()) F.ReadGroup();
    GConsole->OnProgress = nullptr;
    EXPECT_EQ(Seen, (std::vector<int>{25, 50, 75, 100}));
}

TEST(PolyMesh, VerticesSortedAndFacesConverted) {
    TPolyMesh M;
    M.AddVertexXYZ(3, 1, 1, 0);
    M.AddVertexXYZ(1, 0, 0, 0);
    M.AddVertexXYZ(2, 1, 0, 0);
    M.AddVertexXYZ(4, 0, 1, 0);
    EXPECT_EQ(M.Vertices.Items(0)->Id, 1);
    EXPECT_EQ(M.Vertices.Items(2)->Id, 3);
    EXPECT_EQ(M.Vertices.IndexOfId(5), -1);
    EXPECT_EQ(ErrorOf([&] { M.AddVertex(2); }), "TPolyMesh.AddVertex - PolyMesh already contains Vertex Id 2");
    EXPECT_EQ(M.Vertices.Count(), 4);

    TPolygonList List;
    List.Add(TriangleFromVectors({}, {}, {}));
    M.ToPolygonList(List);
    EXPECT_EQ(List.Count(), 0);

    const std::vector<std::vector<int>> Faces = {{1, 2, 3}, {1, 2}, {1, 2, 3, 4}, {1, 2, 3, 4, 1}, {1, 9, 2, 3}};
    for (const auto& Ids : Faces) {
        TPolyMeshFace* F = M.AddFace();
        for (int Id : Ids) F->AddVertexId(Id);
    }
    M.ToPolygonList(List);
    // The face naming vertex 9 keeps its three known vertices.
    ASSERT_EQ(List.Count(), 3);
    EXPECT_EQ(List.Polygon(0)->CornerCount(), 3);
    EXPECT_EQ(List.Polygon(1)->CornerCount(), 4);
    EXPECT_EQ(List.Polygon(1)->Corner(2)->Vector(), (TMVector{1, 1, 0}));
    EXPECT_EQ(List.Polygon(2)->CornerCount(), 3);
}
