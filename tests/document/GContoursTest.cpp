// The contours entity: its block through a document's save and load, the clean-up that keeps at most
// one set named "Contours", the Tools menu, and the setup dialogs' buttons and registry values.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestPoint.h"
#include "document/GContours.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "document/GContoursSetup.h"
#include "document/GeometryClasses.h"
#include "document/GeometryList.h"
#include "foundation/Contours.h"
#include "foundation/TextUtils.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "platform/Registry.h"

namespace sarnova {
namespace {

using test::TTestPoint;

// A selectable entity holding sections, as the polyline-list entity does.
class TSectionsEntity : public TGeometry {
public:
    TSectionsEntity() {
        auto Section = std::make_unique<TPolyline>();
        for (auto [Y, Z] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}}) Section->AddPoint(2.5, Y, Z);
        Sections.Add(std::move(Section));
    }
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TSectionsEntity>(); }
    TDataObject GetDataObject() override { return TDataObject::Of(&Sections); }
    TMBox CalculateExtents() override { return MakeBox(2.5, 0, 0, 2.5, 1, 1); }
    TPolylineList Sections;
};

std::string ReadFile(const std::filesystem::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

std::string SavedText(TGeometryList& List) {
    TTextWriter Out;
    List.SaveToText(Out);
    return Out.Text();
}

class GContoursTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool Registered = [] {
            RegisterGeometryClasses();
            test::RegisterTestClasses();
            return true;
        }();
        (void)Registered;
        // Each test starts from the dialog's defaults.
        TRegIniFile Ini(ProgramRegistryKey(GExeName));
        Ini.DeleteKey("Contours");
        Ini.Flush();
    }
    TContours& Set() { return *Document.GetContours(); }
    TGeometryInterface Document;
};

TEST_F(GContoursTest, TheBlockSurvivesASaveAndALoadByteForByte) {
    Set().AddContour(2, 1.25);
    Set().AddContour(0, -3);
    Set().AddContour(1, 12345.5);
    Document.Add(std::make_unique<TTestPoint>("P1", 1, 2, 3));
    const auto Folder = std::filesystem::temp_directory_path() / "gcontours-roundtrip";
    std::filesystem::create_directories(Folder);
    Document.SaveToFile(Folder / "a.geo");
    const std::string Saved = ReadFile(Folder / "a.geo");
    EXPECT_EQ(Saved.substr(0, Saved.find("[TTestPoint]")),
              "[TContours]\n"
              "NumContours=3\n"
              "         1    -3.000\n"
              "         2 12345.500\n"
              "         3     1.250\n"
              "\n");

    TGeometryInterface Loaded;
    Loaded.LoadFromFile(Folder / "a.geo");
    ASSERT_EQ(Loaded.Count(), 2);
    auto* Entity = dynamic_cast<TGeoContours*>(&Loaded.Items(0));
    ASSERT_NE(Entity, nullptr);
    EXPECT_EQ(Entity->GetName(), "Contours");
    EXPECT_TRUE(Entity->IsHidden());
    Loaded.SaveToFile(Folder / "b.geo");
    EXPECT_EQ(ReadFile(Folder / "b.geo"), Saved);
    std::filesystem::remove_all(Folder);
}

TEST_F(GContoursTest, ALoneZeroLeftByTheDialogRemovesTheEntity) {
    Set().AddContour(0, 0);
    ASSERT_EQ(Document.Count(), 1);
    // A save in the middle of the list's walk writes nothing and leaves the removal for later.
    EXPECT_EQ(SavedText(Document), "");
    EXPECT_EQ(Document.Count(), 1);
    Document.Add(std::make_unique<TTestPoint>("P1", 1, 2, 3));
    EXPECT_EQ(Document.Count(), 1);
    EXPECT_EQ(FindListContours(Document), nullptr);

    // A lone zero beside other axes clears only its own axis.
    Set().AddContour(1, 0);
    Set().AddContour(2, 0);
    Set().AddContour(2, 1);
    Document.SetChanged();
    Document.NotifyChange();
    ASSERT_NE(FindListContours(Document), nullptr);
    EXPECT_EQ(Set().YCount(), 0);
    EXPECT_EQ(Set().ZCount(), 2);
}

TEST_F(GContoursTest, ASecondSetRemovesItselfAndAnEmptySetStays) {
    Set().AddContour(0, 1);
    auto Second = std::make_unique<TGeoContours>();
    Second->Contours().AddContour(0, 5);
    Document.Add(std::move(Second));
    ASSERT_EQ(Document.Count(), 1);
    EXPECT_EQ(Set().XContour(0)->Position, 1);

    // A set that never held contours is kept: it is what the document makes when first asked.
    TGeometryInterface Fresh;
    ASSERT_NE(Fresh.GetContours(), nullptr);
    Fresh.SetChanged();
    Fresh.NotifyChange();
    EXPECT_EQ(Fresh.Count(), 1);
    EXPECT_EQ(SavedText(Fresh), "");

    // A list without contour settings of its own keeps no contours entity.
    TGeometryList Plain;
    EXPECT_EQ(ListContours(Plain), nullptr);
    EXPECT_EQ(Plain.Count(), 0);
}

TEST_F(GContoursTest, TheEntityIsHiddenUnselectableAndCopiesItsSet) {
    Set();
    TGeoContours& Entity = dynamic_cast<TGeoContours&>(Document.Items(0));
    Entity.SetDisplayState(dsNormal);
    Entity.SetSelected(true);
    EXPECT_EQ(Entity.GetDisplayState(), dsHidden);
    EXPECT_FALSE(Entity.GetSelected());
    EXPECT_TRUE(Entity.HasCapability(cpInternal));
    EXPECT_EQ(Entity.GetDataObject().Object, &Entity.Contours());

    Set().AddContour(1, 2);
    TGeoContours Copy;
    Copy.Assign(Entity);
    ASSERT_EQ(Copy.Contours().YCount(), 1);
    EXPECT_EQ(Copy.Contours().YContour(0)->Position, 2);
    EXPECT_EQ(&FindGeometryClass("TCONTOURS"), &GeometryClassOf<TGeoContours>());
}

TEST_F(GContoursTest, ToolsMenuOpensTheSetupAndSwitchesContoursOff) {
    TTestPoint* Shown = static_cast<TTestPoint*>(Document.Add(std::make_unique<TTestPoint>("P1", 1, 2, 3)));
    TTestPoint* Plain = static_cast<TTestPoint*>(Document.Add(std::make_unique<TTestPoint>("P2", 4, 5, 6)));
    Shown->SetDrawContours(true);
    // The additions applied, so that only what the menu marks is recalculated.
    Document.BeginUpdate(0);
    Document.EndUpdate();
    TMenuItem Menu;
    TGeoContours::AddToolsMenuItems(Menu, Document);
    ASSERT_EQ(Menu.Count(), 2);
    EXPECT_EQ(Menu.Items(0).Caption, "&Contours...");
    EXPECT_EQ(Menu.Items(1).Caption, "Contours &Off");

    int Shows = 0;
    SetContourSetupHandler([&](TContourForm& Form) {
        ++Shows;
        Form.XGrid.Cell(0, 0).SetNumber(4);
        Form.Button1Click();
        return TModalResult::mrOk;
    });
    const int Before = Shown->Recalculations;
    const int PlainBefore = Plain->Recalculations;
    Menu.Items(0).Click();
    SetContourSetupHandler(nullptr);
    EXPECT_EQ(Shows, 1);
    ASSERT_NE(FindListContours(Document), nullptr);
    EXPECT_EQ(Set().XContour(0)->Position, 4);
    // Entities that show contours are rebuilt for the new planes.
    EXPECT_GT(Shown->Recalculations, Before);
    EXPECT_EQ(Plain->Recalculations, PlainBefore);

    Menu.Items(1).Click();
    EXPECT_FALSE(Shown->DrawContours());
}

TEST_F(GContoursTest, TheSetupIsOneUndoStepAndACancelledOneNone) {
    TMenuItem Menu;
    TGeoContours::AddToolsMenuItems(Menu, Document);
    const auto Setup = [&](double Position, TModalResult Result) {
        SetContourSetupHandler([=](TContourForm& Form) {
            if (Result == TModalResult::mrOk) {
                Form.XGrid.Cell(0, 0).SetNumber(Position);
                Form.Button1Click();
            }
            return Result;
        });
        Menu.Items(0).Click();
        SetContourSetupHandler(nullptr);
    };
    const std::string Empty = SavedText(Document);
    Setup(4, TModalResult::mrOk);
    const std::string First = SavedText(Document);
    ASSERT_NE(First, Empty);
    Setup(7, TModalResult::mrOk);
    const std::string Second = SavedText(Document);
    ASSERT_NE(Second, First);
    // Opening the dialog and cancelling it changes nothing and records nothing.
    Setup(0, TModalResult::mrCancel);
    EXPECT_EQ(SavedText(Document), Second);

    Document.Undo();
    EXPECT_EQ(SavedText(Document), First);
    Document.Undo();
    EXPECT_EQ(SavedText(Document), Empty);
    EXPECT_FALSE(Document.CanUndo());
    Document.Redo();
    Document.Redo();
    EXPECT_EQ(SavedText(Document), Second);
}

// ---- The setup dialogs ----

std::vector<double> Rows(TFormatGrid& Grid) {
    std::vector<double> Result;
    for (int R = 0; R < Grid.GetRowCount(); ++R) Result.push_back(Grid.Cell(0, R).GetNumber());
    return Result;
}

TEST_F(GContoursTest, GridButtonsAddDeleteAndGroupRows) {
    TContourForm Form;
    Form.SetupForList(Set(), &Document);
    EXPECT_EQ(Rows(Form.XGrid), std::vector<double>{0});
    EXPECT_EQ(Form.XGrid.Cell(0, 0).GetText(), "0.000");
    Form.AddContourClick();
    EXPECT_EQ(Rows(Form.XGrid), (std::vector<double>{0, 0}));

    Set().AddContourRange(1, 2, 1, 3);
    Form.FillGrids();
    Form.ActivePage = 1;
    Form.YGrid.SetCurrent(0, 1);
    Form.AddContourClick();
    EXPECT_EQ(Rows(Form.YGrid), (std::vector<double>{1, 0, 2, 3}));
    Form.YGrid.SetCurrent(0, 0);
    Form.DeleteContourClick();
    EXPECT_EQ(Rows(Form.YGrid), (std::vector<double>{0, 2, 3}));

    // The last row cannot go: it stays, at 0.
    Form.ActivePage = 3;
    Form.ZGrid.Cell(0, 0).SetNumber(5);
    Form.DeleteContourClick();
    EXPECT_EQ(Rows(Form.ZGrid), std::vector<double>{0});

    Form.ActivePage = 0;
    Form.ShowStepsDialog = [](TContourStepsDlg& Dialog) {
        Dialog.StartText = "0";
        Dialog.EndText = " 10 ";
        Dialog.NumberText = "5";
        Dialog.OkClick();
        return TModalResult::mrOk;
    };
    Form.GroupClick();
    EXPECT_EQ(Rows(Form.XGrid), (std::vector<double>{0, 2.5, 5, 7.5, 10}));
    EXPECT_EQ(Form.XGrid.Cell(0, 1).GetText(), "2.500");

    Form.Button1Click();
    EXPECT_EQ(Set().XCount(), 5);
    EXPECT_EQ(Set().YCount(), 3);
    EXPECT_EQ(Set().ZCount(), 1);
    EXPECT_EQ(Set().Contour(5)->Position, 0);
}

TEST_F(GContoursTest, TheGroupDialogChecksItsBoxes) {
    struct TCase {
        const char* Start;
        const char* End;
        const char* Number;
        const char* Error;
    };
    const TCase Cases[] = {{"abc", "1", "2", "Unable to convert text to number"},
                           {"1", "2", "2.5", "Unable to convert text to number"},
                           {"3", "1", "2", "Start must be smaller than End"},
                           {"0", "1", "2000000000", "Too many contours"},
                           {"1", "1", "1", nullptr},
                           {"1,5", "2", "1", "Unable to convert text to number"}};
    for (const TCase& C : Cases) {
        TContourStepsDlg Dialog;
        Dialog.StartText = C.Start;
        Dialog.EndText = C.End;
        Dialog.NumberText = C.Number;
        try {
            Dialog.OkClick();
            EXPECT_EQ(C.Error, nullptr) << C.Start;
        } catch (const EError& E) {
            ASSERT_NE(C.Error, nullptr) << E.what();
            EXPECT_EQ(std::string(E.what()), C.Error);
        }
    }
    try {
        TContourStepsDlg Dialog;
        Dialog.EndText = "x";
        Dialog.EndExit();
        FAIL();
    } catch (const EEditNumberError& E) {
        EXPECT_EQ(E.Field, "End");
    }

    // One contour goes at Start; an empty interval or no contours leave the grid alone.
    TContourForm Form;
    Form.SetupForList(Set(), &Document);
    for (auto [Start, End, Number] : {std::tuple{"2", "4", "1"}, {"2", "2", "3"}, {"2", "4", "0"}}) {
        Form.ShowStepsDialog = [&](TContourStepsDlg& Dialog) {
            Dialog.StartText = Start;
            Dialog.EndText = End;
            Dialog.NumberText = Number;
            Dialog.OkClick();
            return TModalResult::mrOk;
        };
        Form.GroupClick();
    }
    EXPECT_EQ(Rows(Form.XGrid), std::vector<double>{2});
}

TEST_F(GContoursTest, DeleteAllActsAtOnceAndCancelKeepsIt) {
    Set().AddContour(0, 1);
    Set().AddContour(1, 2);
    Set().AddContour(1, 3);
    TContourForm Form;
    Form.SetupForList(Set(), &Document);
    Form.ActivePage = 1;
    Form.DeleteAllClick();
    EXPECT_EQ(Rows(Form.YGrid), std::vector<double>{0});
    // The dialog is cancelled: nothing more is copied, the Y contours stay deleted.
    EXPECT_EQ(Set().YCount(), 0);
    EXPECT_EQ(Set().XCount(), 1);
}

TEST_F(GContoursTest, GenerateFillsCheckedAxesAtTheirSpacing) {
    Set().AddContour(1, 7);
    TContourForm Form;
    Form.SetupForBox(Set(), MakeBox(0.5, 0, -2.5, 3.2, 1, 2.0));
    EXPECT_FALSE(Form.SelectedObjectsEnabled);
    EXPECT_TRUE(Form.SelectedObjects);
    EXPECT_EQ(Form.Edit1, "1.000");
    Form.YSpacingOn = false;
    Form.Edit3 = "0.5";
    Form.GenerateButClick();
    EXPECT_EQ(Rows(Form.XGrid), (std::vector<double>{-1, 0, 1, 2, 3, 4}));
    EXPECT_EQ(Rows(Form.YGrid), std::vector<double>{7});
    EXPECT_EQ(Set().ZCount(), 12);
    EXPECT_EQ(Set().ZContour(0)->Position, -3);

    // The values went to the registry: spacings in thousandths.
    const TRegIniFile Ini(ProgramRegistryKey(GExeName));
    EXPECT_EQ(Ini.ReadInteger("Contours", "ZSpacing", 0), 500);
    EXPECT_FALSE(Ini.ReadBool("Contours", "YSpacingOn", true));

    Form.Edit1 = "1..0";
    try {
        Form.GenerateButClick();
        FAIL();
    } catch (const EEditNumberError& E) {
        EXPECT_EQ(std::string(E.what()), "Unable to convert text to number");
        EXPECT_EQ(E.Field, "Edit1");
    }
}

TEST_F(GContoursTest, StoredSpacingsShowWithThreeDecimals) {
    {
        TRegIniFile Ini(ProgramRegistryKey(GExeName));
        Ini.WriteInteger("Contours", "XSpacing", 1234);
        Ini.WriteBool("Contours", "ZSpacingOn", false);
        Ini.Flush();
    }
    TContourForm Form;
    Form.SetupForList(Set(), &Document);
    EXPECT_EQ(Form.Edit1, "1.234");
    EXPECT_EQ(Form.Edit2, "1.000");
    EXPECT_FALSE(Form.ZSpacingOn);
    EXPECT_TRUE(Form.ClearYZContours);
    // Saving reads the boxes leniently.
    Form.Edit2 = "garbage";
    Form.Edit3 = "0.0005";
    Form.SaveSettings();
    const TRegIniFile Ini(ProgramRegistryKey(GExeName));
    EXPECT_EQ(Ini.ReadInteger("Contours", "YSpacing", -1), 0);
    EXPECT_EQ(Ini.ReadInteger("Contours", "ZSpacing", -1), 0);  // 0.5 rounds to the even 0
    EXPECT_EQ(SpacingToThousandths(1e300), 2147483647);
}

TEST_F(GContoursTest, SectionsGiveStationContours) {
    Set().AddContour(0, 9);
    Set().AddContour(2, 1);
    auto* Sections = Document.Add(std::make_unique<TSectionsEntity>());
    auto* Point = static_cast<TTestPoint*>(Document.Add(std::make_unique<TTestPoint>("P1", 1, 2, 3)));
    Point->SetSelected(true);
    {
        TContourForm Form;
        Form.SetupForList(Set(), &Document);
        EXPECT_TRUE(Form.SelectedObjectsEnabled);
        EXPECT_FALSE(Form.SectionsEnabled);
    }
    Sections->SetSelected(true);
    TContourForm Form;
    Form.SetupForList(Set(), &Document);
    EXPECT_TRUE(Form.SectionsEnabled);
    Form.ClearYZContours = false;
    Form.Button15Click();
    EXPECT_EQ(Rows(Form.XGrid), std::vector<double>{2.5});
    EXPECT_EQ(Set().ZCount(), 1);
    Form.ClearYZContours = true;
    Form.Button15Click();
    EXPECT_EQ(Set().XCount(), 1);
    EXPECT_EQ(Set().ZCount(), 0);

    // The box of the selected objects, or without a selection the whole document's.
    Sections->SetSelected(false);
    Form.SetupForList(Set(), &Document);
    Form.SelectedObjects = true;
    Form.GenerateButClick();
    EXPECT_EQ(Rows(Form.XGrid), (std::vector<double>{-1, 0, 1, 2}));
    Document.ClearSelection();
    Form.GenerateButClick();
    EXPECT_EQ(Rows(Form.XGrid), (std::vector<double>{-1, 0, 1, 2, 3}));
}

}  // namespace
}  // namespace sarnova
