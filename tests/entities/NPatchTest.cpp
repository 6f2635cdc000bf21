// The N-sided patch entity: offered for a closed loop of B-spline curves, its technique kept in its
// block, its lines drawn at the entity's density, and nothing answered to geometry queries.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "EntityFixtures.h"
#include "document/CurveFixtures.h"
#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "entities/GNPatch.h"
#include "foundation/PolyList.h"
#include "platform/Menu.h"
#include "surfaces/LSqrsNPatch.h"
#include "surfaces/NPatch.h"

namespace sarnova::test {
namespace {

class NPatchTest : public TCurveDocumentTest<TGeoBSpline> {
protected:
    // Five curves round a pentagon of radius 10, each bulging up in its middle.
    std::vector<TGeoBSpline*> AddPentagon() {
        std::vector<TMVector> Corners;
        for (int I = 0; I < 5; ++I)
            Corners.push_back({10 * std::cos(I * 2 * M_PI / 5), 10 * std::sin(I * 2 * M_PI / 5), 0});
        std::vector<TGeoBSpline*> Curves;
        for (int I = 0; I < 5; ++I) {
            const TMVector A = Corners[static_cast<std::size_t>(I)];
            const TMVector B = Corners[static_cast<std::size_t>((I + 1) % 5)];
            const auto At = [&](double T, double Z) {
                return TMVector{A.X + T * (B.X - A.X), A.Y + T * (B.Y - A.Y), Z};
            };
            Curves.push_back(Add({A, At(1.0 / 3, 1), At(2.0 / 3, 1), B}, "Edge" + std::to_string(I + 1)));
        }
        return Curves;
    }
    TMenuItem* PatchItem() {
        Menu = std::make_unique<TMenuItem>();
        GGeometryClasses->AddGroupMenuItems(*Menu, Doc);
        return Menu->Find("N-Sided Patch");
    }
    TGeoNPatch* Patch() {
        const auto Found = EntitiesOf<TGeoNPatch>(Doc);
        return Found.size() == 1 ? Found.front() : nullptr;
    }
    int ParameterPoints() {
        Doc.ApplyChanges();
        TPolylineList Lines;
        Patch()->AddParameterLines(Lines);
        int Points = 0;
        for (int I = 0; I < Lines.Count(); ++I) Points += Lines.Items(I)->Count();
        return Points;
    }

    std::unique_ptr<TMenuItem> Menu;
};

TEST_F(NPatchTest, OfferedForAClosedLoopOfBSplines) {
    std::vector<TGeoBSpline*> Curves = AddPentagon();
    for (int I = 0; I < 4; ++I) Curves[static_cast<std::size_t>(I)]->SetSelected(true);
    EXPECT_EQ(PatchItem(), nullptr) << "an open chain";
    Curves[4]->SetSelected(true);
    ASSERT_NE(PatchItem(), nullptr);
    PatchItem()->Click();
    ASSERT_NE(Patch(), nullptr);
    Doc.ApplyChanges();
    EXPECT_TRUE(Patch()->IsValid());
    EXPECT_GT(ParameterPoints(), 0);
    // Drawn only: no geometry query finds it.
    EXPECT_EQ(QueryOf(Doc, {qkSurface, qkSurface + 1, qkSampledMesh, qkPolygonList}, true)->Count(), 0);
    EXPECT_FALSE(Patch()->PopupMenu()->Find("Convert to Mesh")->Enabled);
}

TEST_F(NPatchTest, TechniqueNamesReadAsWritten) {
    const std::pair<const char*, TNPatchTechnique> Cases[] = {
        {"PatchType=ptGregory", ptGregory},       {"PatchType=ptWeightedG0", ptWeightedG0},
        {"PatchType=PTWEIGHTEDG1", ptWeightedG1}, {"PatchType=ptSubdivision", ptSubdivision},
        {"PatchType=Coons", ptGregory},           {"", ptGregory}};
    for (auto [Line, Technique] : Cases) EXPECT_EQ(TextToPatchType(Line), Technique) << Line;
    for (TNPatchTechnique T = ptGregory; T <= ptSubdivision; ++T) EXPECT_EQ(TextToPatchType(PatchTypeToText(T)), T);
}

TEST_F(NPatchTest, EveryTechniqueSurvivesASaveAndSubdivisionBuildsNothing) {
    AddPentagon();
    const std::string Curves = "NumCurves=5\nEdge1\nEdge2\nEdge3\nEdge4\nEdge5\n";
    LoadDocumentText(Doc, "[TN-SidedPatch]\nPatchType=ptGregory\n" + Curves + "DrawParameters=TRUE\n\n");
    Doc.ApplyChanges();
    ASSERT_NE(Patch(), nullptr);
    const int GregoryPoints = ParameterPoints();
    EXPECT_GT(GregoryPoints, 0);

    Doc.GetUndoManager().Clear();
    Patch()->ChoosePatchType(ptWeightedG1);
    Doc.ApplyChanges();
    auto* LeastSquares = dynamic_cast<TLeastSquaresNPatch*>(Patch()->Patch());
    ASSERT_NE(LeastSquares, nullptr);
    EXPECT_EQ(LeastSquares->TangentContinuity, 1);
    EXPECT_TRUE(Patch()->IsValid());
    const std::string Saved = SavedText(Doc);
    EXPECT_NE(Saved.find("[TN-SidedPatch]\nPatchType=ptWeightedG1\n" + Curves), std::string::npos);
    Doc.Clear();
    LoadDocumentText(Doc, Saved);
    Doc.ApplyChanges();
    ASSERT_NE(dynamic_cast<TLeastSquaresNPatch*>(Patch()->Patch()), nullptr);
    EXPECT_EQ(SavedText(Doc), Saved);

    Patch()->ChoosePatchType(ptSubdivision);
    Doc.ApplyChanges();
    EXPECT_EQ(Patch()->Patch(), nullptr);
    EXPECT_EQ(ParameterPoints(), 0);
    EXPECT_EQ(Patch()->CreatePolygonRepresentation(4), nullptr);
    EXPECT_NE(SavedText(Doc).find("PatchType=ptSubdivision\n"), std::string::npos);
    Doc.Undo();
    Doc.ApplyChanges();
    EXPECT_EQ(Patch()->GetPatchType(), ptWeightedG1);
    EXPECT_TRUE(Patch()->IsValid());
}

TEST_F(NPatchTest, OnlyTheUCountSetsTheLineDensity) {
    AddPentagon();
    LoadDocumentText(Doc, "[TN-SidedPatch]\nPatchType=ptGregory\nNumCurves=5\nEdge1\nEdge2\nEdge3\nEdge4\nEdge5\n\n");
    ASSERT_NE(Patch(), nullptr);
    const int Default = ParameterPoints();
    Patch()->SetNumVLine(5);
    EXPECT_EQ(ParameterPoints(), Default);
    Patch()->SetNumULine(5);
    EXPECT_LT(ParameterPoints(), Default);
}

TEST_F(NPatchTest, AMovedCornerPullsItsNeighbourWithinTheSameUndoStep) {
    std::vector<TGeoBSpline*> Curves = AddPentagon();
    LoadDocumentText(Doc, "[TN-SidedPatch]\nPatchType=ptWeightedG0\nNumCurves=5\nEdge1\nEdge2\nEdge3\nEdge4\nEdge5\n\n");
    Doc.ApplyChanges();
    ASSERT_TRUE(Patch()->IsValid());
    Doc.GetUndoManager().Clear();
    const std::string Saved = SavedText(Doc);
    const TMVector Corner = Curves[0]->Spline().Point(0)->Vector();

    Curves[0]->SetPointCoordinate(0, 2, -2.0);
    Doc.ApplyChanges();
    EXPECT_EQ(Curves[4]->Spline().Point(3)->Vector(), (TMVector{Corner.X, Corner.Y, -2.0}));
    EXPECT_TRUE(Doc.GetUndoManager().UndoTopIsGroup()) << "the neighbour's move is recorded with the edit";
    Doc.Undo();
    Doc.ApplyChanges();
    EXPECT_EQ(SavedText(Doc), Saved);
    EXPECT_FALSE(Doc.CanUndo());
}

}  // namespace
}  // namespace sarnova::test
