// The yacht hull-lines entity in a document: form curves until generated, generation that is skipped
// while the net is current, picking of the mirrored side, explode, the file block and the import of
// a project file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "DialogsScope.h"
#include "document/CurveFixtures.h"
#include "document/GBSpline.h"
#include "document/GeoFace.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/GCorvane.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

class GCorvaneTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    TGeoCorvane* AddHull() { return static_cast<TGeoCorvane*>(Doc.Add(std::make_unique<TGeoCorvane>())); }
    TGeoCorvane* Hull(int I = 0) { return dynamic_cast<TGeoCorvane*>(&Doc.Items(I)); }
    static std::filesystem::path WriteProject(const std::string& Name, const std::string& Text) {
        const auto Path = std::filesystem::temp_directory_path() / Name;
        std::ofstream(Path) << Text;
        return Path;
    }
    static int MenuIndex(const TMenuItem& Menu, const std::string& Caption) {
        for (int i = 0; i < Menu.Count(); ++i)
            if (Menu.Items(i).Caption == Caption) return i;
        return -1;
    }

    TGeometryInterface Doc;
};

const std::string Project =
    "Loa=11\nLwl=9.5\nBMax=3.1\nBwl=3\nBTransom=1.9\nTc=0.6\nOvh=0.8\nFreeBow=1.4\nFreeMid=1.3\n"
    "FreeAft=1.2\nBowCurve=5\nForeFoot=0.3\nTransomAngle=20\nCp=0.55\nCm=0.74\nCwp=0.7\nLcf=54\n"
    "LCB=52\nFlareAngle=10\n";

TEST_F(GCorvaneTest, NewHullDrawsItsFormCurvesAndOffersOnlyTheImport) {
    TGeoCorvane* H = AddHull();
    EXPECT_EQ(H->GetClass().GetDescription(), "Corvane");
    EXPECT_FALSE(H->Generated());
    EXPECT_EQ(H->GetSurface(), nullptr);
    EXPECT_FALSE(H->GetDrawParameters());
    TPlanView Plain;
    H->Draw(Plain);
    EXPECT_GE(Plain.Calls.size(), 25u);  // profile, sheer, waterline, transom and 21 sections

    TMenuItem* Menu = H->PopupMenu();
    ASSERT_NE(Menu, nullptr);
    for (const char* Caption : {"Generate Polygon Mesh", "Convert to BSpline Surface", "Convert to Mesh",
                                "Explode Generation Curves", "Create Calculation Sections"}) {
        ASSERT_NE(Menu->Find(Caption), nullptr) << Caption;
        EXPECT_FALSE(Menu->Find(Caption)->Enabled) << Caption;
    }
    const int Explode = MenuIndex(*Menu, "Explode Generation Curves");
    const int Import = MenuIndex(*Menu, "Import Parameters from Corvane Project...");
    const int Boundaries = MenuIndex(*Menu, "Show Boundaries");
    EXPECT_EQ(Import, Explode + 2);
    EXPECT_EQ(Boundaries, Import + 2);
    EXPECT_EQ(Menu->Items(Import - 1).Caption, "-");
    EXPECT_TRUE(Menu->Items(Import).Enabled);
    ASSERT_NE(Menu->Find("Mirrored"), nullptr);
    EXPECT_EQ(Menu->Find("Show Mirrored"), nullptr);

    H->Generate();
    EXPECT_TRUE(H->Generated());
    EXPECT_EQ(H->Generator().NumULine(), 9 * 7);
    EXPECT_EQ(H->Generator().NumVLine(), 9 * 6);
    H->UpdateMenuItems(*Menu);
    EXPECT_TRUE(Menu->Find("Explode Generation Curves")->Enabled);
    H->SetMirrored(true);
    H->UpdateMenuItems(*Menu);
    EXPECT_TRUE(Menu->Find("Mirrored")->Checked);
}

TEST_F(GCorvaneTest, UpdateLeavesACurrentNetAlone) {
    TGeoCorvane* H = AddHull();
    H->Generate();
    // A net point moved by hand shows whether the net was built again.
    TRPoint Moved = H->Generator().PointByIndex(8);
    Moved.Z += 1;
    H->Generator().SetPoint(1, 1, Moved);
    auto MovedStays = [&] { return H->Generator().PointByIndex(8).Z == Moved.Z; };
    ASSERT_TRUE(MovedStays());

    H->Generate();
    EXPECT_TRUE(MovedStays());

    // An edit that keeps the value (a retyped cell) leaves the entity ungenerated without touching
    // the generator: "Update" makes it generated again, still without building the net.
    H->Generator().SetParameter(TCorvane::pLoa, 12);
    H->SetUngenerated();
    H->Generate();
    EXPECT_TRUE(H->Generated());
    EXPECT_TRUE(MovedStays());

    H->Generator().SetParameter(TCorvane::pLoa, 12.5);
    H->SetUngenerated();
    H->Generate();
    EXPECT_TRUE(H->Generated());
    EXPECT_FALSE(MovedStays());
}

TEST_F(GCorvaneTest, PicksTheMirroredSideOnlyWhenMirrored) {
    TGeoCorvane* H = AddHull();
    H->Generator().UpdateAll();
    const TRPoint Top = *H->Generator().GetPickPoints()->Point(0);  // the sheer at the transom
    ASSERT_GT(Top.Y, 0.5);
    TPlanView View;
    const TPoint Other = View.WorldToScreen(Top.X, -Top.Y, Top.Z);
    EXPECT_GT(H->DistanceToPoint(Other, View), 0.5);
    H->SetMirrored(true);
    EXPECT_EQ(H->DistanceToPoint(Other, View), 0);
    H->SetDisplayState(dsHidden);
    EXPECT_EQ(H->DistanceToPoint(Other, View), 1e33);
}

TEST_F(GCorvaneTest, ExplodeAddsTheFormCurvesInPlaceOfTheHull) {
    TGeoCorvane* H = AddHull();
    H->Generate();
    H->ExplodeGenerationCurves();
    ASSERT_EQ(Doc.Count(), 28);
    for (const char* N : {"Corvane.Sheerline", "Corvane.Profile", "Corvane.Waterline", "Corvane.DiagonalA",
                          "Corvane.DiagonalB", "Corvane.DiagonalC", "Corvane.Transom", "Corvane.Section(0)",
                          "Corvane.Section(10)", "Corvane.Section(20)"})
        EXPECT_NE(dynamic_cast<TGeoBSpline*>(Doc.FindByName(N)), nullptr) << N;
    for (int i = 0; i < Doc.Count(); ++i) EXPECT_NE(dynamic_cast<TGeoBSpline*>(&Doc.Items(i)), nullptr) << i;
}

TEST_F(GCorvaneTest, SavedHullReloadsAsItWas) {
    for (bool Generate : {false, true}) {
        TGeometryInterface Source;
        auto* H = static_cast<TGeoCorvane*>(Source.Add(std::make_unique<TGeoCorvane>()));
        H->Generator().SetParameter(TCorvane::pBMax, 3.4);
        if (Generate) H->Generate();
        H->SetName("Yacht");
        H->SetDrawOutline(true);
        H->SetDrawParameters(true);
        TTextWriter Out;
        Source.SaveToText(Out);
        const std::string Text = Out.Text();
        EXPECT_NE(Text.find("[TCorvane]\nLoa=12.000\nLwl=10.000\n"), std::string::npos);
        EXPECT_NE(Text.find("Name=Yacht\n"), std::string::npos);
        EXPECT_NE(Text.find("DrawBoundaries=TRUE\nDrawParameters=TRUE\nDrawOutline=TRUE\n"), std::string::npos);

        TGeometryInterface Back;
        TTextReader In(Text);
        Back.LoadFromText(In);
        ASSERT_EQ(Back.Count(), 1);
        auto* R = dynamic_cast<TGeoCorvane*>(&Back.Items(0));
        ASSERT_NE(R, nullptr);
        EXPECT_EQ(R->Generated(), Generate);
        EXPECT_EQ(R->GetName(), "Yacht");
        EXPECT_DOUBLE_EQ(R->Generator().Parameter(TCorvane::pBMax), 3.4);
        TTextWriter Again;
        Back.SaveToText(Again);
        EXPECT_EQ(Again.Text(), Text);
    }
}

TEST_F(GCorvaneTest, ImportIsOneUndoStepAndGeneratesOnlyWhenInteractive) {
    TDialogsScope Scope;
    const auto Path = WriteProject("gcorvane_import.cvp", Project);
    for (bool Interactive : {false, true}) {
        Doc.Clear();
        TGeoCorvane* H = AddHull();
        H->Generate();
        H->InteractiveUpdate = Interactive;
        Doc.GetUndoManager().Clear();
        Scope.Dialogs.ChooseFile(Path.string());
        H->ImportParameters();
        ASSERT_FALSE(Scope.Dialogs.ShownFileDialogs.empty());
        EXPECT_EQ(Scope.Dialogs.ShownFileDialogs.back().Title, "Import Corvane Project File");
        H = Hull();
        EXPECT_EQ(H->Generator().Parameter(TCorvane::pLoa), 11) << Interactive;
        EXPECT_EQ(H->Generated(), Interactive);
        if (Interactive) {
            EXPECT_NEAR(H->Generator().GetExtents().Max.X, 11, 1e-6);
        }
        Doc.Undo();
        EXPECT_EQ(Hull()->Generator().Parameter(TCorvane::pLoa), 12) << Interactive;
        EXPECT_TRUE(Hull()->Generated()) << Interactive;
    }

    // Cancel changes nothing; a bad file changes nothing either and closes the change.
    TGeoCorvane* H = Hull();
    Scope.Dialogs.CancelFileDialog();
    H->ImportParameters();
    EXPECT_EQ(H->Generator().Parameter(TCorvane::pLoa), 12);
    std::string Bad = Project;
    Bad.replace(Bad.find("Cm=0.74"), 7, "Cm=x");
    for (const auto& File : {WriteProject("gcorvane_bad.cvp", Bad), std::filesystem::temp_directory_path() / "gcorvane_none.cvp"}) {
        EXPECT_THROW(H->ImportProjectFile(File), EError) << File;
        H = Hull();
        EXPECT_EQ(H->Generator().Parameter(TCorvane::pLoa), 12);
        EXPECT_TRUE(H->Generated());
        EXPECT_FALSE(H->IsChangePending());
    }
}

}  // namespace
}  // namespace sarnova::test
