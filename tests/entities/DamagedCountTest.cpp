// A count in an entity block that does not match the lines after it keeps the block as it was, names
// the line, and leaves the blocks around it alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/GUnknown.h"
#include "entities/EntityFixtures.h"
#include "entities/GBox.h"
#include "foundation/Console.h"

namespace sarnova::test {
namespace {

// A block of Keyword: the lines Head, the count line "Key=<count>", the lines Tail. Count is what Tail
// holds. A grid's first count ends Head, and the warning names both.
struct TCountedBlock {
    const char* Keyword;
    const char* Head;
    const char* Key;
    int Count;
    const char* Tail;
};

const TCountedBlock Blocks[] = {
    {"TPolyline", "", "NumPoints", 2, "0 0 0\n1 0 0\nName=Keel\n"},
    {"TBSpline", "Order=2\n", "NumPoints", 3, "0 0 0\n1 0 0\n2 1 0\nName=Sheer\nColor=clRed\n"},
    {"TCBSpline",
     "Continuity=SecondOrderPiecewise\nStartCondition=Natural\nEndCondition=Natural\nAccountForChordLength=False\n",
     "NumPoints", 3, "0 0 0\n1 1 0\n2 0 0\nName=Arc\n"},
    {"TPointCloud", "", "NumPoints", 2, "1 2 3\n4 5 6\nName=Cloud\n"},
    {"TPolygonList", "", "NumberofPolygons", 2,
     "3 0 0 0 1 0 0 0 1 0\n3 0 0 1 1 0 1 0 1 1\nName=Hull\nColor=clRed\n"},
    {"TPressureField", "", "NumberofPolygons", 2,
     "3 0 0 0 1 0 0 0 1 0 1\n3 2 0 0 3 0 0 2 1 0 3\nName=Pressures\n"},
    {"TVectorList", "Scale=1\n", "NumberOfVectors", 2, "0 0 0 1 0 0\n0 1 0 0 0 1\nName=Forces\n"},
    {"TContours", "", "NumContours", 2, "         1    -3.000\n         2     1.500\n"},
    {"TMesh", "NumU=2\n", "NumV", 2,
     "0 0 0 1\n0 1 0 1\n1 0 0 1\n1 1 1 1\nName=Deck\nDrawParameters=FALSE\n"},
    {"TBSplineSurface", "OrderU=2\nOrderV=2\nNumU=2\n", "NumV", 2, "0 0 0 1\n0 5 1 1\n10 0 0 1\n10 5 1 1\nName=Deck\n"},
    {"TCoonsPatch", "InterpolationMethod=cpBiCubic\n", "NumCurves", 4,
     "Bottom\nRight\nTop\nLeft\nName=Deck4\nDrawParameters=TRUE\n"},
    {"TN-SidedPatch", "PatchType=ptWeightedG1\n", "NumCurves", 3, "Edge1\nEdge2\nEdge3\nName=Lid\n"},
    {"TOpenGroup", "Name=Tanks\nNumParameters=1\nFill=Ballast\n", "NumObjects", 2, "Before\nAfter\n"},
};

// Neighbours as a save writes them, so that the whole document saves back to the byte.
const char* const BoxBefore =
    "[TBox]\n"
    "     0.000     0.000     0.000\n"
    "     0.000     1.000     0.000\n"
    "     0.000     1.000     1.000\n"
    "     0.000     0.000     1.000\n"
    "     1.000     0.000     0.000\n"
    "     1.000     0.000     1.000\n"
    "     1.000     1.000     1.000\n"
    "     1.000     1.000     0.000\n"
    "Name=Before\n\n";
const char* const BoxAfter =
    "[TBox]\n"
    "     2.000     0.000     0.000\n"
    "     2.000     1.000     0.000\n"
    "     2.000     1.000     1.000\n"
    "     2.000     0.000     1.000\n"
    "     3.000     0.000     0.000\n"
    "     3.000     0.000     1.000\n"
    "     3.000     1.000     1.000\n"
    "     3.000     1.000     0.000\n"
    "Name=After\n\n";

int LineCount(const std::string& Text) { return static_cast<int>(std::count(Text.begin(), Text.end(), '\n')); }

class DamagedCountTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterEntityClasses();
        GConsole->OnLine = [this](const std::string& L) { Lines.push_back(L); };
    }
    void TearDown() override { GConsole->OnLine = nullptr; }

    // Loads Block between two boxes, and expects the boxes whole, Block kept as it was with a warning
    // naming its line and Named, and the document saved back to the byte.
    void ExpectKeptAsDamaged(const std::string& Keyword, const std::string& Block, const std::string& Named) {
        const std::string Text = BoxBefore + Block + BoxAfter;
        const std::string What = Block;
        TGeometryInterface Doc;
        Lines.clear();
        LoadDocumentText(Doc, Text);
        ASSERT_EQ(Doc.Count(), 3) << What;
        EXPECT_EQ(Doc.Items(0).GetName(), "Before") << What;
        EXPECT_EQ(Doc.Items(2).GetName(), "After") << What;
        EXPECT_NE(dynamic_cast<TGeoBox*>(&Doc.Items(2)), nullptr) << What;
        const auto* Kept = dynamic_cast<TGeoUnknown*>(&Doc.Items(1));
        ASSERT_NE(Kept, nullptr) << What;
        EXPECT_EQ(Kept->BlockKeyword, Keyword);
        const std::string Warning = "Warning: damaged [" + Keyword + "] block on line " +
                                    std::to_string(LineCount(BoxBefore) + 1) + ": ";
        ASSERT_EQ(Lines.size(), 1u) << What;
        EXPECT_EQ(Lines[0].rfind(Warning, 0), 0u) << Lines[0];
        EXPECT_NE(Lines[0].find(Named), std::string::npos) << Lines[0] << " should name " << Named;
        EXPECT_EQ(SavedText(Doc), Text);
    }

    std::vector<std::string> Lines;
};

TEST_F(DamagedCountTest, TheWrittenCountsLoad) {
    for (const TCountedBlock& B : Blocks) {
        const std::string Text = std::string(BoxBefore) + "[" + B.Keyword + "]\n" + B.Head + B.Key + "=" +
                                 std::to_string(B.Count) + "\n" + B.Tail + "\n" + BoxAfter;
        TGeometryInterface Doc;
        Lines.clear();
        LoadDocumentText(Doc, Text);
        ASSERT_EQ(Doc.Count(), 3) << B.Keyword;
        EXPECT_EQ(dynamic_cast<TGeoUnknown*>(&Doc.Items(1)), nullptr) << B.Keyword;
        for (const std::string& L : Lines) EXPECT_EQ(L.find("damaged"), std::string::npos) << L;
    }
}

TEST_F(DamagedCountTest, EveryWrongCountKeepsTheBlockAndItsNeighbours) {
    for (const TCountedBlock& B : Blocks)
        for (const int Count : {B.Count + 1, B.Count - 1, -1, -B.Count, 2000000000}) {
            const std::string CountLine = std::string(B.Key) + "=" + std::to_string(Count);
            const std::string Block = "[" + std::string(B.Keyword) + "]\n" + B.Head + CountLine + "\n" + B.Tail + "\n";
            int CountLineNo = LineCount(BoxBefore) + 2 + LineCount(B.Head);
            std::string Named = CountLine;
            if (std::string(B.Key) == "NumV" && Count >= 0) {
                Named = "NumU=2, " + Named;
                --CountLineNo;
            }
            ExpectKeptAsDamaged(B.Keyword, Block, Named + " on line " + std::to_string(CountLineNo));
        }
}

TEST_F(DamagedCountTest, ABlockWithoutItsEmptyLineLeavesTheNextBlockWhole) {
    // The keys end at the next keyword line, which the next block still needs.
    TGeometryInterface Doc;
    const std::string Coons = "[TCoonsPatch]\nInterpolationMethod=cpBiCubic\nNumCurves=1\nBottom\nName=Deck\n";
    LoadDocumentText(Doc, Coons + BoxAfter);
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(Doc.Items(0).GetName(), "Deck");
    EXPECT_NE(dynamic_cast<TGeoBox*>(&Doc.Items(1)), nullptr);
    EXPECT_EQ(Doc.Items(1).GetName(), "After");
    EXPECT_TRUE(Lines.empty());
}

TEST_F(DamagedCountTest, LineCountsOfSurfacesAreBounded) {
    const std::string Coons = "[TCoonsPatch]\nInterpolationMethod=cpBiCubic\nNumCurves=1\nBottom\n";
    const std::string Extruded = "[TExtrudedSurface]\nCurve1=Sheer\nCurve2=\nOptions=[]\nDivisions=";
    const std::string Limits = "\nMinExtrusion=0\nMaxExtrusion=1\n";
    const std::pair<std::string, std::string> Cases[] = {
        {Coons + "Name=A\nNumULine=100000\n\n", "NumULine=100000 on line 17"},
        {Coons + "NumVLine=0\n\n", "NumVLine=0 on line 16"},
        {"[TN-SidedPatch]\nPatchType=ptWeightedG1\nNumCurves=1\nEdge1\nNumVLine=-5\n\n", "NumVLine=-5 on line 16"},
        {Extruded + "999999999" + Limits + "\n", "Divisions=999999999 on line 16"},
        {Extruded + "2" + Limits + "NumULine=1001\n\n", "NumULine=1001 on line 19"},
    };
    for (const auto& [Block, Named] : Cases) {
        const std::string Keyword = Block.substr(1, Block.find(']') - 1);
        ExpectKeptAsDamaged(Keyword, Block, Named);
    }
    // The limits themselves load.
    TGeometryInterface Doc;
    LoadDocumentText(Doc, Extruded + "1000" + Limits + "NumULine=1000\nNumVLine=1\n\n");
    EXPECT_EQ(dynamic_cast<TGeoUnknown*>(&Doc.Items(0)), nullptr);
}

}  // namespace
}  // namespace sarnova::test
