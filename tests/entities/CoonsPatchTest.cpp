// The Coons patch entity: made from selected B-spline curves, regenerated as they move, gone with a
// deleted curve, and one undo step for each of those.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EntityFixtures.h"
#include "document/CurveFixtures.h"
#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "entities/GCoonsPatch.h"
#include "platform/Menu.h"
#include "surfaces/BSurface.h"
#include "surfaces/CoonsPatch.h"

namespace sarnova::test {
namespace {

// The four sides of a square of 10 with a raised middle, as B-splines meeting at the corners.
const std::vector<std::vector<TMVector>> Sides = {
    {{0, 0, 0}, {3, 0, 1}, {7, 0, 1}, {10, 0, 0}},
    {{10, 0, 0}, {10, 3, 1}, {10, 7, 1}, {10, 10, 0}},
    {{10, 10, 0}, {7, 10, 1}, {3, 10, 1}, {0, 10, 0}},
    {{0, 10, 0}, {0, 7, 1}, {0, 3, 1}, {0, 0, 0}},
};

class CoonsPatchTest : public TCurveDocumentTest<TGeoBSpline> {
protected:
    std::vector<TGeoBSpline*> AddSides() {
        std::vector<TGeoBSpline*> Curves;
        for (std::size_t I = 0; I < Sides.size(); ++I) Curves.push_back(Add(Sides[I], "Side" + std::to_string(I + 1)));
        return Curves;
    }
    void SelectOnly(const std::vector<TGeometry*>& Entities) {
        for (int I = 0; I < Doc.Count(); ++I) Doc.Items(I).SetSelected(false);
        for (TGeometry* G : Entities) G->SetSelected(true);
    }
    TMenuItem* CoonsItem() {
        Menu = std::make_unique<TMenuItem>();
        GGeometryClasses->AddGroupMenuItems(*Menu, Doc);
        return Menu->Find("Coons Patch");
    }
    TGeoCoonsPatch* Patch() {
        const auto Found = EntitiesOf<TGeoCoonsPatch>(Doc);
        return Found.size() == 1 ? Found.front() : nullptr;
    }
    // The patch's net, or nothing when it shows nothing.
    std::vector<TMVector> Net() {
        Doc.ApplyChanges();
        std::vector<TMVector> Points;
        TGeoCoonsPatch* P = Patch();
        auto* S = P != nullptr ? dynamic_cast<TBSplineSurface*>(P->GetSurface()) : nullptr;
        if (S == nullptr) return Points;
        for (int J = 0; J < S->NumV(); ++J)
            for (int I = 0; I < S->NumU(); ++I) Points.push_back(S->Point(I, J).Vector());
        return Points;
    }

    std::unique_ptr<TMenuItem> Menu;
};

bool Contains(const std::vector<TMVector>& Points, const TMVector& P) {
    for (const TMVector& Q : Points)
        if (VectorDistance(Q, P) < 1e-9) return true;
    return false;
}

TEST_F(CoonsPatchTest, OfferedForCurvesThatCloseAPatchOnly) {
    std::vector<TGeoBSpline*> Curves = AddSides();
    TGeoPline* Line = AddPline(Doc, {{20, 0, 0}, {30, 0, 0}}, "Line");
    SelectOnly({Curves[0], Curves[1], Curves[2], Curves[3], Line});
    EXPECT_EQ(CoonsItem(), nullptr) << "a polyline selected too";
    SelectOnly({Curves[0], Curves[1], Curves[2]});
    EXPECT_EQ(CoonsItem(), nullptr) << "an open chain";
    // Two curves joined at both ends make a two-sided patch; two apart do not.
    TGeoBSpline* Arch = Add({{0, 0, 0}, {3, -4, 0}, {7, -4, 0}, {10, 0, 0}}, "Arch");
    SelectOnly({Curves[0], Arch});
    EXPECT_NE(CoonsItem(), nullptr);
    SelectOnly({Curves[0], Curves[2]});
    EXPECT_EQ(CoonsItem(), nullptr);

    Curves[3]->SetName("");
    SelectOnly({Curves[0], Curves[1], Curves[2], Curves[3]});
    ASSERT_NE(CoonsItem(), nullptr);
    CoonsItem()->Click();
    ASSERT_NE(Patch(), nullptr);
    EXPECT_EQ(Curves[3]->GetName(), "Curve1");
    const std::vector<TMVector> Points = Net();
    ASSERT_FALSE(Points.empty());
    for (const auto& Side : Sides) EXPECT_TRUE(Contains(Points, Side.front()));
    EXPECT_NE(SavedText(Doc).find("[TCoonsPatch]\nInterpolationMethod=cpBiLinear\nNumCurves=4\n"
                                  "Side1\nSide2\nSide3\nCurve1\nDrawParameters=TRUE\n\n"),
              std::string::npos);
}

TEST_F(CoonsPatchTest, MovingAnEndRegeneratesAndOneUndoPutsEverythingBack) {
    std::vector<TGeoBSpline*> Curves = AddSides();
    SelectOnly({Curves[0], Curves[1], Curves[2], Curves[3]});
    CoonsItem()->Click();
    const std::vector<TMVector> Before = Net();
    ASSERT_FALSE(Before.empty());
    const std::string Saved = SavedText(Doc);

    // The corner shared by the bottom and the left side moves down: in an update bracket, as a macro
    // moves it, and on its own, as the frame does, the patch then regenerating when next drawn.
    for (const bool Bracketed : {true, false}) {
        SCOPED_TRACE(Bracketed ? "bracketed" : "on its own");
        Doc.GetUndoManager().Clear();
        const auto Move = [&] { Curves[0]->SetPointCoordinate(0, 2, -2.0); };
        if (Bracketed)
            InListUpdate(Doc, Move);
        else
            Move();
        const std::vector<TMVector> After = Net();
        EXPECT_TRUE(Contains(After, {0, 0, -2})) << "the patch follows the curve";
        EXPECT_EQ(Curves[3]->Spline().Point(3)->Vector(), (TMVector{0, 0, -2})) << "the adjoining end meets it";

        Doc.Undo();
        EXPECT_EQ(SavedText(Doc), Saved);
        EXPECT_EQ(Curves[3]->Spline().Point(3)->Vector(), (TMVector{0, 0, 0}));
        EXPECT_EQ(Net(), Before);
        EXPECT_FALSE(Doc.CanUndo()) << "one step";
    }
}

TEST_F(CoonsPatchTest, DeletingACurveDeletesThePatchAndOneUndoBringsBothBack) {
    std::vector<TGeoBSpline*> Curves = AddSides();
    SelectOnly({Curves[0], Curves[1], Curves[2], Curves[3]});
    CoonsItem()->Click();
    const std::vector<TMVector> Before = Net();
    Doc.GetUndoManager().Clear();
    const std::string Saved = SavedText(Doc);

    SelectOnly({Curves[1]});
    Doc.DeleteSelected();
    EXPECT_EQ(Patch(), nullptr);
    EXPECT_EQ(Doc.Count(), 3);

    Doc.Undo();
    EXPECT_EQ(SavedText(Doc), Saved);
    ASSERT_NE(Patch(), nullptr);
    EXPECT_EQ(Net(), Before);
}

TEST_F(CoonsPatchTest, CurvesThatFormNoPatchShowAndAnswerNothing) {
    AddSides();
    Add({{50, 0, 0}, {60, 0, 0}}, "Apart");
    LoadDocumentText(Doc, "[TCoonsPatch]\nInterpolationMethod=cpBiLinear\nNumCurves=2\nSide1\nApart\n\n"
                          "[TCoonsPatch]\nInterpolationMethod=cpBiLinear\nNumCurves=2\nSide1\nMissing\n\n");
    Doc.ApplyChanges();
    const auto Patches = EntitiesOf<TGeoCoonsPatch>(Doc);
    ASSERT_EQ(Patches.size(), 2u);
    for (TGeoCoonsPatch* P : Patches) {
        EXPECT_FALSE(P->IsValid());
        EXPECT_EQ(P->GetSurface(), nullptr);
        EXPECT_FALSE(P->GetDataObject());
        EXPECT_EQ(P->CreatePolygonRepresentation(4), nullptr);
    }
    EXPECT_EQ(QueryOf(Doc, {qkSurface, qkSampledMesh, qkPolygonList}, true)->Count(), 0);
}

TEST_F(CoonsPatchTest, BlockKeepsMethodCurvesAndSwitches) {
    AddSides();
    const std::pair<const char*, std::uint8_t> Methods[] = {
        {"InterpolationMethod=cpBiCubic", cpBiCubic}, {"InterpolationMethod=bicubic", cpBiCubic},
        {"Method=BICUBIC please", cpBiCubic},         {"InterpolationMethod=", cpBiLinear},
        {"InterpolationMethod=cpBiLinear", cpBiLinear}};
    for (auto [Line, Method] : Methods) {
        auto P = std::make_unique<TGeoCoonsPatch>();
        TTextReader In(std::string(Line) + "\nNumCurves=4\nSide1\nSide2\nSide3\nSide4\nDrawParameters=FALSE\n\n");
        P->LoadFromText(In);
        EXPECT_EQ(P->GetCoonsMethod(), Method) << Line;
        EXPECT_EQ(P->Curves().Count(), 4);
        EXPECT_FALSE(P->GetDrawParameters());
    }
    const std::string Block = "[TCoonsPatch]\nInterpolationMethod=cpBiCubic\nNumCurves=4\nSide1\nSide2\nSide3\nSide4\n"
                              "Name=Deck\nDrawParameters=FALSE\nNumULine=8\n\n";
    LoadDocumentText(Doc, Block);
    Doc.ApplyChanges();
    ASSERT_NE(Patch(), nullptr);
    EXPECT_TRUE(Patch()->IsValid());
    EXPECT_EQ(Patch()->Patch().GeneratedMethod(), cpBiCubic);
    EXPECT_NE(SavedText(Doc).find(Block), std::string::npos);
    // A count beyond the names that follow is refused before any name is taken.
    TGeoCoonsPatch Short;
    TTextReader In("InterpolationMethod=cpBiLinear\nNumCurves=2000000000\nSide1\n");
    EXPECT_THROW(Short.LoadFromText(In), EGeometryError);
    EXPECT_EQ(Short.Curves().Count(), 0);
}

}  // namespace
}  // namespace sarnova::test
