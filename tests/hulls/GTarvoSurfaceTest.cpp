// The Tarvo surface entity in a document: names, the definition curves, the selection item, the
// file section with its switches, and the conversion.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/CurveFixtures.h"
#include "entities/GBSurf.h"
#include "foundation/TextFile.h"
#include "hulls/GTarvoCurve.h"
#include "hulls/GTarvoSurface.h"
#include "platform/Menu.h"
#include "surfaces/BSurface.h"

namespace sarnova::test {
namespace {

class GTarvoSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    // A section at station X, four points up the side.
    TGeoTarvoCurve* Section(const std::string& Name, double X, double Width) {
        auto T = std::make_unique<TGeoTarvoCurve>();
        for (int j = 0; j < 4; ++j) T->Curve().AddPointVector({X, Width, double(j)});
        T->SetName(Name);
        return static_cast<TGeoTarvoCurve*>(Doc.Add(std::move(T)));
    }
    std::vector<std::string> DefinitionNames(TGeoTarvoSurface& S) {
        std::vector<std::string> Names;
        for (int i = 0; i < S.Surface().ReferenceCurves().Count(); ++i)
            Names.push_back(S.Surface().ReferenceCurves().Reference(i).GetName());
        return Names;
    }

    static TBSplineSurface& Net(TGeoTarvoSurface& S) { return *static_cast<TBSplineSurface*>(S.GetSurface()); }

    TGeometryInterface Doc;
};

TEST_F(GTarvoSurfaceTest, CreatedFromTheSelectedCurvesInDocumentOrder) {
    TGeoTarvoCurve* A = Section("A", 0, 1);
    TGeoTarvoCurve* B = Section("B", 10, 2);
    TGeoTarvoCurve* C = Section("C", 20, 1);
    for (TGeoTarvoCurve* T : {C, A, B}) T->SetSelected(true);
    TMenuItem Menu;
    TGeoTarvoSurface::AddSelectionMenuItems(Menu, Doc);
    ASSERT_NE(Menu.Find("Create TarvoSurface"), nullptr);
    Menu.Find("Create TarvoSurface")->Click();
    ASSERT_EQ(Doc.Count(), 4);
    auto* S = dynamic_cast<TGeoTarvoSurface*>(&Doc.Items(3));
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(S->GetName(), "TarvoSurface1");
    EXPECT_EQ(S->GetClass().GetKeyword(), "TTarvoSurface");
    EXPECT_EQ(S->GetClass().GetImageIndex(), 73);
    EXPECT_EQ(S->GetCapabilities() & 0x200, 0x200);
    EXPECT_EQ(DefinitionNames(*S), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(Net(*S).NumU(), 3);
    EXPECT_EQ(S->FindCurve("B"), &B->Curve());
    EXPECT_EQ(S->FindCurve("TarvoSurface1"), nullptr);

    // Not offered while anything else is selected.
    S->SetSelected(true);
    TMenuItem Other;
    TGeoTarvoSurface::AddSelectionMenuItems(Other, Doc);
    EXPECT_EQ(Other.Find("Create TarvoSurface"), nullptr);
}

TEST_F(GTarvoSurfaceTest, DefinitionCurvesFollowNamesAndChanges) {
    TGeoTarvoCurve* A = Section("A", 0, 1);
    Section("B", 10, 1);
    auto* S = static_cast<TGeoTarvoSurface*>(Doc.Add(std::make_unique<TGeoTarvoSurface>()));
    S->AddDefinitionCurve("A");
    EXPECT_EQ(Net(*S).NumU(), 0);  // one curve: empty, no error
    for (const char* Ignored : {"Nowhere", "A", "TarvoSurface1"}) S->AddDefinitionCurve(Ignored);
    EXPECT_EQ(DefinitionNames(*S), (std::vector<std::string>{"A"}));
    S->AddDefinitionCurve("B");
    Doc.ApplyChanges();
    EXPECT_EQ(Net(*S).NumU(), 2);

    A->Curve().Point(0)->Y = 5;
    A->Curve().Invalidate(true);
    Doc.ApplyChanges();
    EXPECT_NEAR(Net(*S).Point(1, 0).Y, 5, 1e-12);  // the loft runs from high X to low

    S->RemoveDefinitionCurve("A");
    EXPECT_EQ(DefinitionNames(*S), (std::vector<std::string>{"B"}));
    EXPECT_EQ(Net(*S).NumU(), 0);
}

TEST_F(GTarvoSurfaceTest, OneUndoTakesBackADefinitionCurve) {
    Section("A", 0, 1);
    Section("B", 10, 1);
    Section("C", 20, 1);
    auto* S = static_cast<TGeoTarvoSurface*>(Doc.Add(std::make_unique<TGeoTarvoSurface>()));
    S->AddDefinitionCurve("A");
    S->AddDefinitionCurve("B");
    Doc.ApplyChanges();
    Doc.GetUndoManager().Clear();

    S->AddDefinitionCurve("C");
    Doc.ApplyChanges();
    ASSERT_EQ(DefinitionNames(*S), (std::vector<std::string>{"A", "B", "C"}));
    Doc.Undo();
    ASSERT_EQ(Doc.Count(), 4);
    S = dynamic_cast<TGeoTarvoSurface*>(&Doc.Items(3));
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(DefinitionNames(*S), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(Net(*S).NumU(), 2);

    S->RemoveDefinitionCurve("A");
    Doc.ApplyChanges();
    Doc.Undo();
    ASSERT_EQ(Doc.Count(), 4);
    S = dynamic_cast<TGeoTarvoSurface*>(&Doc.Items(3));
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(DefinitionNames(*S), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(Net(*S).NumU(), 2);
}

TEST_F(GTarvoSurfaceTest, SectionRoundTripsItsSwitches) {
    Section("A", 0, 1);
    Section("B", 10, 1);
    auto* S = static_cast<TGeoTarvoSurface*>(Doc.Add(std::make_unique<TGeoTarvoSurface>()));
    S->AddDefinitionCurve("A");
    S->AddDefinitionCurve("B");
    S->SetName("Hull");
    S->SetDrawBlends(true);
    S->SetMirrored(true);
    S->SetColor(clRed);
    const std::string Saved = SavedText(Doc);
    EXPECT_NE(Saved.find("[TTarvoSurface]\nName=Hull\nNumCurves=2\nA\nB\nDrawBlends=TRUE\n"), std::string::npos)
        << Saved;
    EXPECT_NE(Saved.find("Mirrored=TRUE\nColor=clRed\n\n"), std::string::npos) << Saved;
    TGeometryInterface Copy;
    TTextReader In(Saved);
    Copy.LoadFromText(In);
    EXPECT_EQ(SavedText(Copy), Saved);
    auto* S2 = dynamic_cast<TGeoTarvoSurface*>(&Copy.Items(2));
    ASSERT_NE(S2, nullptr);
    EXPECT_EQ(S2->GetName(), "Hull");
    EXPECT_EQ(Net(*S2).NumU(), 2);

    TGeometryInterface Bare;
    TTextReader BareIn("[TTarvoSurface]\nName=Plain\nNumCurves=0\n\n");
    Bare.LoadFromText(BareIn);
    auto* S3 = dynamic_cast<TGeoTarvoSurface*>(&Bare.Items(0));
    ASSERT_NE(S3, nullptr);
    EXPECT_EQ(S3->GetName(), "Plain");
    EXPECT_FALSE(S3->GetDrawBlends() || S3->GetDrawCurves() || S3->GetDrawParameters() || S3->GetDrawOutline() ||
                 S3->DrawContours() || S3->Mirrored());
    EXPECT_EQ(SavedText(Bare), "[TTarvoSurface]\nName=Plain\nNumCurves=0\n\n");
}

TEST_F(GTarvoSurfaceTest, ConvertToBSplineSurfaceKeepsTheNetAndTheCurves) {
    Section("A", 0, 1);
    Section("B", 10, 2);
    Section("C", 20, 1);
    for (int i = 0; i < 3; ++i) Doc.Items(i).SetSelected(true);
    TGeoTarvoSurface* S = TGeoTarvoSurface::CreateFromSelection(Doc);
    const std::unique_ptr<TBSplineSurface> Net = CloneBSplineSurface(*static_cast<TBSplineSurface*>(S->GetSurface()));
    TMenuItem* Root = S->PopupMenu();
    ASSERT_NE(Root, nullptr);
    Root->Find("Convert to BSpline Surface")->Click();
    ASSERT_EQ(Doc.Count(), 4);
    for (int i = 0; i < 3; ++i) EXPECT_NE(dynamic_cast<TGeoTarvoCurve*>(&Doc.Items(i)), nullptr);
    auto* B = dynamic_cast<TGeoBSurf*>(&Doc.Items(3));
    ASSERT_NE(B, nullptr);
    ASSERT_EQ(B->Surface().NumU(), Net->NumU());
    EXPECT_EQ(B->Surface().OrderU(), 3);
    for (int j = 0; j < Net->NumV(); ++j)
        for (int i = 0; i < Net->NumU(); ++i) EXPECT_EQ(B->Surface().Point(i, j).Y, Net->Point(i, j).Y);
}

}  // namespace
}  // namespace sarnova::test
