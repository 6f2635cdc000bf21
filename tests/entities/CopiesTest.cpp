// Copies and undo keep whole entities: a clone writes the same block as its original, a deletion comes
// back at its old place, and every macro change is one undo step.
#include <gtest/gtest.h>

#include <functional>

#include "EntityFixtures.h"
#include "document/GContours.h"
#include "document/GUnknown.h"
#include "document/GFrames.h"
#include "entities/GMesh.h"
#include "entities/GPlane.h"
#include "foundation/Console.h"

namespace sarnova::test {
namespace {

// One block of each kind the program writes, each with the optional keys it keeps set.
const std::string EveryKind =
    "[TFrames]\nFrames 0 0.6 20 0.7 \n\n"
    "[TContours]\nNumContours=2\n         1     2.000\n         3     0.500\n\n"
    "[TPolyline]\nNumPoints=2\n     0.000      0.000      0.000\n     1.000      2.000      0.000\nName=Sheer\n"
    "Color=clBlue\n\n"
    "[TFutureSurface]\nName=Deck\nPanels=3\n\n"
    "[TBSpline]\nKnotType=NonUniform\nKnot=[0 0 0.5 1 1]\nMinTParameter=0\nMaxTParameter=1\nOrder=2\nNumPoints=3\n"
    "  0.000000   0.000000   0.000000\n  1.000000   1.000000   0.000000\n  2.000000   0.000000   0.000000\n"
    "Name=Stem\n\n"
    "[TMesh]\nNumU=2\nNumV=2\n     0.000000      0.000000      0.000000      1.000\n"
    "     0.000000      1.000000      0.500000      1.000\n     4.000000      0.000000      0.000000      1.000\n"
    "     4.000000      1.000000      0.500000      2.500\nName=Deck\nDrawParameters=FALSE\nDrawContours=TRUE\n"
    "Mirrored=TRUE\n"
    "Color=clRed\n\n"
    "[TCBSpline]\nContinuity=FirstOrder\nStartCondition=Clamped [1, 0.5, 0]\nEndCondition=Bessel\n"
    "AccountForChordLength=True\nNumPoints=3\n     0.000      0.000      0.000\n     1.000      2.000      0.000\n"
    "     3.000      2.000      0.000\nName=Chine\nColor=clGreen\n\n"
    "[TCSpline]\nNumPoints=3\n     0.000      0.000      0.000\n     1.000      0.500      0.000\n"
    "     2.000      0.000      1.000\nName=Keel\n\n"
    "[TBox]\n    -1.000    -2.000     0.000\n    -1.000     2.000     0.000\n    -1.000     2.000     3.500\n"
    "    -1.000    -2.000     3.500\n    11.000    -2.000     0.000\n    11.000    -2.000     3.500\n"
    "    11.000     2.000     3.500\n    11.000     2.000     0.000\nName=Tank\nColor=clRed\n\n"
    "[TArc]\nStartPoint=(0,0,0)\nMidPoint=(1,0.5,0)\nEndPoint=(2,0,0)\nName=Bow\nColor=clBlue\n\n"
    "[TCircle]\nRadius=2.5\nCentre=(1,0,0)\nNormal=(0,0,1)\nName=Port\n\n"
    "[TPlane]\nNormal=(0,0.6,0.8)\nOffset=-2.25\nName=Roll\nShowCurveIntersections=TRUE\nSort=Y\nShowNormal=FALSE\n"
    "ShowAxes=TRUE\nShowSurfaceIntersections=TRUE\nShowIntersectionCurve=TRUE\n\n"
    "[TPointCloud]\nNumPoints=2\n     1.235     -2.000      0.000\n  1000.500      0.000     -7.250\nName=Cloud\n\n";

std::string BlockOf(TGeometry& Entity) {
    TTextWriter Out;
    Entity.SaveToText(Out);
    return Out.Text();
}

class CopiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterEntityClasses();
        LoadDocumentText(Doc, EveryKind);
        Doc.GetUndoManager().Clear();
    }

    TGeometryInterface Doc;
};

TEST_F(CopiesTest, ACloneWritesTheBlockOfItsOriginal) {
    ASSERT_EQ(SavedText(Doc), EveryKind);
    for (int I = 0; I < Doc.Count(); ++I) {
        TGeometry& Original = Doc.Items(I);
        // The document's one contour set is not copied: it belongs to the document, not to a shape.
        if (dynamic_cast<TGeoContours*>(&Original) != nullptr) continue;
        const std::unique_ptr<TGeometry> Copy = Original.Clone();
        ASSERT_NE(Copy, nullptr) << Original.ClassName();
        EXPECT_EQ(BlockOf(*Copy), BlockOf(Original)) << Original.ClassName();
    }
}

TEST_F(CopiesTest, DeletionsAreUndoneInTheirPlaces) {
    const std::pair<const char*, std::function<void()>> Cases[] = {
        {"everything", [&] { RunMacroText(Doc, "DELETE ALL\n"); }},
        {"some in the middle", [&] { RunMacroText(Doc, "DELETE STEM TANK ROLL\n"); }},
        {"the unknown block",
         [&] {
             Doc.SelectOnly(EntitiesOf<TGeoUnknown>(Doc).front());
             Doc.DeleteSelected();
         }},
    };
    for (const auto& [What, Delete] : Cases) {
        ExpectOneUndoStep(Doc, What, Delete);
        Doc.Redo();
        Doc.Undo();
        EXPECT_EQ(SavedText(Doc), EveryKind) << What;
    }
}

TEST_F(CopiesTest, EntityCommandsOfAMacroAreOneUndoStepEach) {
    for (const char* Line : {"STEM.COLOR=GREEN\n", "PORT.NAME=Starboard\n", "SHEER.COLOR=GREEN\nBOW.COLOR=RED\n"})
        ExpectOneUndoStep(Doc, Line, [&] { RunMacroText(Doc, Line); });
}

TEST_F(CopiesTest, SwitchesTheBlockKeepsAreOneUndoStepEach) {
    auto& Mesh = *EntitiesOf<TGeoMesh>(Doc).front();
    auto& Plane = *EntitiesOf<TGeoPlane>(Doc).front();
    const std::pair<const char*, std::function<void()>> Edits[] = {
        {"mirrored", [&] { Mesh.SetMirrored(false); }},
        {"parameter lines", [&] { Mesh.ToggleDrawParameters(); }},
        {"contours", [&] { Mesh.SetDrawContours(false); }},
        {"plane axes", [&] { Plane.SetShowAxes(false); }},
        {"plane sort", [&] { Plane.SetSortAxis(2); }},
    };
    for (const auto& [What, Edit] : Edits) ExpectOneUndoStep(Doc, What, Edit);
    Mesh.SetDrawContours(false);
    ExpectOneUndoStep(Doc, "contours shown", [&] { Mesh.SetDrawContours(true); });
}

TEST_F(CopiesTest, ATransformThatTurnsXAwayLeavesTheFrameTableAndSaysSo) {
    std::vector<std::string> Warnings;
    GConsole->OnLine = [&](const std::string& Line) {
        if (Line.rfind("Warning", 0) == 0) Warnings.push_back(Line);
    };
    for (const char* Transform : {"ROTATE Z=90", "ROTATE Y=90", "SCALE X=-1", "MIRROR YZ 0", "SCALE X=0"}) {
        Warnings.clear();
        RunMacroText(Doc, std::string("SELECT FRAMES\n") + Transform + "\n");
        EXPECT_EQ(EntitiesOf<TGeoFrames>(Doc).front()->Frames().GetDefinition(), "Frames 0 0.6 20 0.7 ") << Transform;
        ASSERT_EQ(Warnings.size(), 1u) << Transform;
        EXPECT_EQ(Warnings[0].rfind("Warning: Frames not transformed, the frame spacing would become ", 0), 0u)
            << Warnings[0];
    }
    GConsole->OnLine = nullptr;
}

}  // namespace
}  // namespace sarnova::test
