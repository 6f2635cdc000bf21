// The popup menu's display switches of the surfaces: saved with the document, so each one marks it
// modified and is one undo step.
#include <gtest/gtest.h>

#include <string>

#include "entities/EntityFixtures.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

const char* const Document =
    "[TPolyline]\nNumPoints=2\n0 0 0\n1 0 0\nName=A\n\n"
    "[TPolyline]\nNumPoints=2\n0 1 0\n1 1 0\nName=B\n\n"
    "[TExtrudedSurface]\nCurve1=A\nCurve2=\nOptions=[]\nDivisions=1\nMinExtrusion=0\nMaxExtrusion=1\n\n"
    "[TRuledSurface]\nCurve1=A\nCurve2=B\n\n"
    "[TMesh]\nNumU=2\nNumV=2\n0 0 0 1\n0 1 0 1\n1 0 0 1\n1 1 1 1\n\n"
    "[TBSplineSurface]\nOrderU=2\nOrderV=2\nNumU=2\nNumV=2\n0 0 0 1\n0 5 1 1\n10 0 0 1\n10 5 1 1\n\n"
    "[TCoonsPatch]\nInterpolationMethod=cpBiLinear\nNumCurves=2\nA\nB\n\n"
    "[TN-SidedPatch]\nPatchType=ptWeightedG1\nNumCurves=2\nA\nB\n\n";

TEST(DisplaySwitchTest, EachSwitchMarksTheDocumentModifiedAndIsOneUndoStep) {
    RegisterEntityClasses();
    TGeometryInterface Doc;
    LoadDocumentText(Doc, Document);
    ASSERT_EQ(Doc.Count(), 8);
    int Switches = 0;
    for (int I = 2; I < Doc.Count(); ++I)
        for (const char* Caption : {"Show Parameters", "Show Mesh", "Show Contours", "Show Outline"}) {
            const std::string What = Doc.Items(I).ClassName() + " " + Caption;
            TMenuItem* Item = Doc.Items(I).PopupMenu()->Find(Caption);
            if (Item == nullptr) continue;
            ++Switches;
            Doc.SetModified(false);
            ExpectOneUndoStep(Doc, What, [&] {
                Item->Click();
                EXPECT_TRUE(Doc.GetModified()) << What;
            });
        }
    // Parameters and contours on all six, the outline on the extruded and the ruled surface.
    EXPECT_EQ(Switches, 14);
}

}  // namespace
}  // namespace sarnova::test
