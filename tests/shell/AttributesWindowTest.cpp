#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QButtonGroup>

#include <memory>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "document/GPline.h"
#include "document/GUnknown.h"
#include "document/GeoFace.h"
#include "document/Settings.h"
#include "document/ui/DefaultGeometryFrame.h"
#include "document/ui/GUnknownFrame.h"
#include "document/ui/PlineFrame.h"
#include "foundation/Polyline.h"
#include "shell/EntityFloat.h"
#include "shell/MultiSelect.h"
#include "shell/NoSelectFrame.h"
#include "shell/ShellTestSupport.h"
#include "shell/TestDocumentWindow.h"
#include "controls/VkColorListBox.h"
#include "controls/VkColorPanel.h"
#include "controls/VkSpin.h"
#include "controls/VkVectorPanel.h"
#include "tests/shell/DocumentWindowFixture.h"
#include "views/ViewGrid.h"

namespace sarnova {
namespace {

// Puts the settings back as they were, in memory and in the store, so that no later test sees the
// options a test chose.
class TSettingsKeeper {
public:
    TSettingsKeeper()
        : Settings(*GSettings),
          X(GXContourColor),
          Y(GYContourColor),
          Z(GZContourColor),
          Units(GDesignUnits),
          Mass(GDesignMassUnit),
          Density(GWaterDensity) {}
    ~TSettingsKeeper() {
        *GSettings = Settings;
        GXContourColor = X;
        GYContourColor = Y;
        GZContourColor = Z;
        GDesignUnits = Units;
        GDesignMassUnit = Mass;
        GWaterDensity = Density;
        GSettings->Save();
    }

private:
    TSarnovaSettings Settings;
    TColor X, Y, Z;
    std::uint8_t Units, Mass;
    double Density;
};

class AttributesWindow : public test::TDocumentWindowFixture {
protected:
    void SetUp() override {
        test::TDocumentWindowFixture::SetUp();
        RegisterDefaultFrames();
        RegisterCurveUi();
        W = NewWindow();
        Form_ = GetEntityForm();
    }
    TGeometryInterface& Doc() { return W->GetDocument(); }
    TGeoPline& Curve(const std::string& Name, TColor Colour = clBlack) {
        auto Entity = std::make_unique<TGeoPline>();
        Entity->Polyline().AddPoint(0, 0, 0);
        Entity->Polyline().AddPoint(1, 2, 3);
        Entity->SetName(Name);
        Entity->SetColor(Colour);
        return *static_cast<TGeoPline*>(Doc().Add(std::move(Entity)));
    }
    TGeometry& Box(const std::string& Name) { return *Doc().Add(std::make_unique<TBoxEntity>(Name)); }
    template <class T>
    T* Shown() {
        Settle();
        return dynamic_cast<T*>(Form_->ShownFrame());
    }
    std::vector<std::string> ComboItems() {
        std::vector<std::string> Items;
        for (int I = 0; I < Form_->ComboBox1->count(); ++I)
            Items.push_back(Form_->ComboBox1->itemText(I).toStdString());
        return Items;
    }

    TSettingsKeeper Keeper;
    TViewform* W = nullptr;
    TEntityForm* Form_ = nullptr;
};

TEST_F(AttributesWindow, TheFrameFollowsTheSelection) {
    TGeoPline& P = Curve("P");
    TGeometry& B = Box("B");
    Box("H").SetDisplayState(dsHidden);
    Box("");
    ASSERT_NE(Shown<TNoSelectionFrame>(), nullptr);
    EXPECT_EQ(ComboItems(), (std::vector<std::string>{"P", "B"}));
    EXPECT_EQ(Form_->ComboBox1->currentIndex(), -1);

    Doc().SelectOnly(&P);
    ASSERT_NE(Shown<TPlineFrame>(), nullptr);
    EXPECT_EQ(Form_->ShownEntity(), &P);
    EXPECT_EQ(Form_->ComboBox1->currentText(), "P");

    Doc().SelectOnly(&B);
    auto* Default = Shown<TDefaultGeometryFrame>();
    ASSERT_NE(Default, nullptr);
    EXPECT_EQ(P.GetFrame(), nullptr);  // the curve freed its frame
    EXPECT_EQ(Default->Edit1->text(), "B");
    EXPECT_EQ(Form_->ComboBox1->currentText(), "B");

    P.SetSelected(true);
    auto* Multi = Shown<TMultiSelectFrame>();
    ASSERT_NE(Multi, nullptr);
    EXPECT_EQ(B.GetFrame(), nullptr);
    EXPECT_EQ(Form_->ComboBox1->currentIndex(), -1);
    EXPECT_EQ(Multi->Heading->text(), "Multiple Selection");

    // Choosing a name selects only that entity and shows its frame.
    emit Form_->ComboBox1->activated(0);
    EXPECT_TRUE(P.GetSelected());
    EXPECT_FALSE(B.GetSelected());
    EXPECT_NE(Shown<TPlineFrame>(), nullptr);
}

TEST_F(AttributesWindow, AFreedEntityTakesItsFrameWithIt) {
    TGeometry& B = Box("B");
    TGeometry& C = Box("C");
    Doc().SelectOnly(&B);
    ASSERT_NE(Shown<TDefaultGeometryFrame>(), nullptr);
    // Deleting the selection: the options come before the entity goes.
    Doc().DeleteSelected();
    EXPECT_NE(Shown<TNoSelectionFrame>(), nullptr);

    // Freed by other means, the entity's frame goes at once and the options follow.
    Doc().SelectOnly(&C);
    ASSERT_NE(Shown<TDefaultGeometryFrame>(), nullptr);
    Doc().DeleteGeometry(&C);
    EXPECT_EQ(Form_->ShownEntity(), nullptr);
    EXPECT_NE(Shown<TNoSelectionFrame>(), nullptr);

    // A closing document leaves the window empty.
    Box("D").SetSelected(true);
    ASSERT_NE(Shown<TDefaultGeometryFrame>(), nullptr);
    Dialogs.Answer(TModalResult::mrNo);
    SubWindow(W)->close();
    Settle();
    EXPECT_EQ(Form_->ShownFrame(), nullptr);
    EXPECT_EQ(Form_->ComboBox1->count(), 0);
}

TEST_F(AttributesWindow, TheDefaultFrameRenamesAtEveryKeystrokeAndSetsTheColour) {
    Box("P");
    TGeometry& B = Box("B");
    Doc().SelectOnly(&B);
    auto* Frame = Shown<TDefaultGeometryFrame>();
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text().toStdString(), B.GetDescription());
    Frame->Edit1->setText("P");
    emit Frame->Edit1->textEdited("P");
    EXPECT_EQ(B.GetName(), "P");  // not made unique
    Frame->VkColorPanel1->SetColor(clRed);
    Frame->VkColorPanel1Change();
    EXPECT_EQ(B.GetColor(), clRed);
}

TEST_F(AttributesWindow, ThePlaceholderShowsItsStoredBlock) {
    auto Unknown = std::make_unique<TGeoUnknown>();
    Unknown->BlockKeyword = "TFutureSurface";
    Unknown->StoredLines = {"Name=Deck", "Rows=3"};
    TGeometry* Entity = Doc().Add(std::move(Unknown));
    Doc().SelectOnly(Entity);
    auto* Frame = Shown<TGUnknownFrame>();
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "Unknown Data");
    EXPECT_EQ(Frame->Memo1->toPlainText(), "[TFutureSurface]\nName=Deck\nRows=3");
    EXPECT_TRUE(Frame->Memo1->isReadOnly());
}

TEST_F(AttributesWindow, SeveralEntitiesShowWhatTheyShareAndChangeTogether) {
    TGeoPline& Red = Curve("Red", clRed);
    TGeoPline& Blue = Curve("Blue", clBlue);
    TGeometry& Plain = Box("Plain");
    Red.SetMirrored(true);
    Blue.SetDrawCurvature(true);
    Red.SetSelected(true);
    Plain.SetSelected(true);
    auto* Frame = Shown<TMultiSelectFrame>();
    ASSERT_NE(Frame, nullptr);
    // A curve and another entity: the curvature box shows the curve's state.
    EXPECT_EQ(Frame->CurvatureCheckBox->checkState(), Qt::Unchecked);
    Blue.SetSelected(true);
    Red.SetSelected(false);
    Frame = Shown<TMultiSelectFrame>();
    EXPECT_EQ(Frame->CurvatureCheckBox->checkState(), Qt::Checked);
    EXPECT_EQ(Frame->UDivisionsEdit->GetValueI(), 0);  // no surface selected

    Red.SetSelected(true);
    Plain.SetSelected(false);
    Frame = Shown<TMultiSelectFrame>();
    EXPECT_EQ(Frame->VkColorPanel1->GetColor(), 0xFFFFFFu);
    ASSERT_TRUE(Frame->MirroredCheckBox->IsGrayed());
    Frame->MirroredCheckBox->click();  // grayed: nothing changes
    EXPECT_TRUE(Red.Mirrored());
    EXPECT_FALSE(Blue.Mirrored());
    EXPECT_TRUE(Frame->MirroredCheckBox->IsGrayed());

    Frame->ContoursCheckBox->click();
    EXPECT_TRUE(Red.DrawContours());
    EXPECT_TRUE(Blue.DrawContours());
    Frame->VkColorPanel1->SetColor(clGreen);
    Frame->VkColorPanel1->OnChange(Frame->VkColorPanel1);
    EXPECT_EQ(Red.GetColor(), clGreen);
    EXPECT_EQ(Blue.GetColor(), clGreen);
    EXPECT_EQ(Shown<TMultiSelectFrame>()->VkColorPanel1->GetColor(), clGreen);
}

TEST_F(AttributesWindow, AnOptionWrittenThroughTheFrameReachesTheStoreAndTheViews) {
    auto* Options = Shown<TNoSelectionFrame>();
    ASSERT_NE(Options, nullptr);
    GSettings->GridEnabled = true;
    Options->Fill(&Doc());
    ASSERT_TRUE(Options->GridCheckBox->isChecked());
    W->ApplySettings();
    ASSERT_TRUE(W->GetView().GetGrid().GetEnabled());
    Options->GridCheckBox->click();
    EXPECT_FALSE(GSettings->GridEnabled);
    EXPECT_FALSE(W->GetView().GetGrid().GetEnabled());
    EXPECT_FALSE(TSarnovaSettings().GridEnabled);  // a fresh load from the store
}

// ---- The options frame on its own, with windows that log what they are asked ----

class OptionsFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!GSettings) InitializeSettings();
    }
    void SetUp() override {
        Keeper = std::make_unique<TSettingsKeeper>();
        GSettings->SetDefaults();
        GDocumentWindowFactory = [this](TMainForm&) { return Window = new TTestDocumentWindow; };
        Main = std::make_unique<TMainForm>();
        Main->NewDocument();
        Frame = std::make_unique<TNoSelectionFrame>(nullptr);
        Frame->Fill(&Window->List);
        Window->Calls.clear();
    }
    void TearDown() override {
        Frame.reset();
        Main.reset();
        GDocumentWindowFactory = nullptr;
        Keeper.reset();
        Settle();
    }
    int Applied() const {
        return static_cast<int>(std::count(Window->Calls.begin(), Window->Calls.end(), "ApplySettings"));
    }
    static QAbstractButton* Button(QButtonGroup* Group, const char* Caption) {
        for (QAbstractButton* B : Group->buttons())
            if (B->text() == Caption) return B;
        return nullptr;
    }

    std::unique_ptr<TSettingsKeeper> Keeper;
    std::unique_ptr<TMainForm> Main;
    TTestDocumentWindow* Window = nullptr;
    std::unique_ptr<TNoSelectionFrame> Frame;
};

TEST_F(OptionsFrame, AnEvenLayerCountIsRaisedByOne) {
    Frame->LayerCountEdit->GetEdit()->setText("18");
    EXPECT_EQ(GSettings->CurvatureLayersCount, 19);
    EXPECT_EQ(Frame->LayerCountEdit->GetEdit()->text(), "19");
    EXPECT_EQ(TSarnovaSettings().CurvatureLayersCount, 19);
}

TEST_F(OptionsFrame, ControlsAreEnabledByTheOptionsTheyDependOn) {
    GSettings->ProjectOptions = 0;
    GSettings->AdaptiveDegradationOption = adWhenRequired;
    Frame->Fill(&Window->List);
    EXPECT_FALSE(Frame->GridSnapCheckBox->isEnabled());
    EXPECT_FALSE(Frame->ObjectSnapCheckBox->isEnabled());
    EXPECT_TRUE(Frame->DegradationDelayEdit->isEnabled());
    Button(Frame->DegradationButtons, "Never")->click();
    EXPECT_EQ(GSettings->AdaptiveDegradationOption, adNever);
    EXPECT_FALSE(Frame->DegradationDelayEdit->isEnabled());
    Frame->Edit3DCheckBox->click();
    EXPECT_EQ(GSettings->ProjectOptions, po3DEditing);
    EXPECT_TRUE(Frame->GridSnapCheckBox->isEnabled());
    GSettings->AdaptiveDegradationOption = adWhenRequired;
    Frame->Fill(&Window->List);
    EXPECT_TRUE(Frame->DegradationDelayEdit->isEnabled());
    EXPECT_TRUE(Button(Frame->DegradationButtons, "When Required Delay:")->isChecked());
}

TEST_F(OptionsFrame, AChosenColourIsStoredAndEveryWindowRedraws) {
    TVkColorListBox* List = Frame->VkColorListBox1;
    ASSERT_EQ(List->count(), 15);
    EXPECT_EQ(List->item(12)->text(), "Axis Color");
    EXPECT_EQ(List->ItemColor(12), GSettings->AxisIconColor);
    List->setCurrentRow(12);
    test::WhenModal([](QWidget* Dialog) {
        auto* Colours = qobject_cast<QColorDialog*>(Dialog);
        Colours->setCurrentColor(QColor(255, 0, 0));
        Colours->accept();
    });
    test::SendMouse(List->viewport(), QEvent::MouseButtonDblClick, List->visualItemRect(List->item(12)).center());
    EXPECT_EQ(GSettings->AxisIconColor, clRed);
    EXPECT_EQ(List->ItemColor(12), clRed);
    EXPECT_EQ(Applied(), 1);
    EXPECT_EQ(TSarnovaSettings().AxisIconColor, clRed);
}

TEST_F(OptionsFrame, UnitsAreSavedWithoutApplyingAndResetPointsTheLightDown) {
    Button(Frame->DesignUnitButtons, "Feet")->click();
    EXPECT_EQ(GDesignUnits, 3);
    EXPECT_EQ(Applied(), 0);
    GDesignUnits = 0;
    TSarnovaSettings().Load();
    EXPECT_EQ(GDesignUnits, 3);

    GSettings->ZebraVector = {1, 0, 0};
    Frame->ResetButton->click();
    EXPECT_EQ(GSettings->ZebraVector.Z, 1);
    EXPECT_EQ(Frame->VkVectorPanel1->GetDirection().Z, 1);
    EXPECT_EQ(TSarnovaSettings().ZebraVector.Z, 1);
    EXPECT_EQ(Applied(), 1);
}

TEST_F(OptionsFrame, AColourSchemeSetsEveryDrawingColourAndRefillsTheList) {
    GSettings->BackColor = 0x123456;
    Frame->Fill(&Window->List);
    Frame->ClassicSchemeButton->click();
    EXPECT_NE(GSettings->BackColor, 0x123456u);
    for (int I = 0; I < 15; ++I) EXPECT_EQ(Frame->VkColorListBox1->ItemColor(I), ColorListSetting(I)) << I;
    EXPECT_EQ(Applied(), 1);
}

TEST(ColorListBox, FindsNamesIgnoringCaseAndReportsTheUsersChange) {
    TVkColorListBox List;
    List.SetColorByName("Background", clBlack);
    List.SetColorByName("Selected", clYellow);
    List.SetColorByName("BACKGROUND", clWhite);  // the same item
    EXPECT_EQ(List.count(), 2);
    EXPECT_EQ(List.IndexOfName("selected"), 1);
    EXPECT_EQ(List.IndexOfName("Missing"), -1);
    EXPECT_EQ(List.ItemColor(0), clWhite);
    List.SetItemColor(1, clBlue);
    EXPECT_EQ(List.ItemColor(1), clBlue);

    int Index = -1;
    std::string Name;
    TColor Colour = 0;
    List.OnChange = [&](QObject*, int I, const std::string& N, TColor C) {
        Index = I;
        Name = N;
        Colour = C;
    };
    List.EditColor();  // no current item: no dialog
    EXPECT_EQ(Index, -1);
    List.setCurrentRow(1);
    test::WhenModal([](QWidget* Dialog) {
        auto* Colours = qobject_cast<QColorDialog*>(Dialog);
        Colours->setCurrentColor(QColor(0, 255, 0));
        Colours->accept();
    });
    List.EditColor();
    EXPECT_EQ(Index, 1);
    EXPECT_EQ(Name, "Selected");
    EXPECT_EQ(Colour, RGBColor(0, 255, 0));
}

TEST(StateReview, KeepsTheFirstValueAndNotesADifference) {
    TStateReview Review;
    TGrayableCheckBox Box("Mirrored", nullptr);
    Box.setChecked(true);
    Review.ApplyToCheckBox(Box);  // no value: left as it was
    EXPECT_TRUE(Box.isChecked());
    Review.AddBoolean(false);
    Review.ApplyToCheckBox(Box);
    EXPECT_EQ(Box.checkState(), Qt::Unchecked);
    Review.AddBoolean(false);
    EXPECT_FALSE(Review.Mixed);
    Review.AddBoolean(true);
    Review.AddBoolean(false);
    EXPECT_TRUE(Review.Mixed);
    EXPECT_FALSE(Review.BooleanValue);
    Review.ApplyToCheckBox(Box);
    EXPECT_TRUE(Box.IsGrayed());
    Box.click();
    EXPECT_TRUE(Box.IsGrayed());

    TStateReview Colours;
    Colours.AddColor(clRed);
    Colours.AddColor(clRed);
    EXPECT_FALSE(Colours.Mixed);
    Colours.AddColor(clBlue);
    EXPECT_TRUE(Colours.Mixed);
    EXPECT_EQ(Colours.ColorValue, clRed);
}

}  // namespace
}  // namespace sarnova
