// The parametric hull's property frame: the parameter grid, the bulb group and its help buttons,
// and the view options.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <filesystem>
#include <string>
#include <vector>

#include "DialogsScope.h"
#include "startup/RegisterClasses.h"
#include "foundation/TextUtils.h"
#include "hulls/TarvoHullEntities.h"
#include "hulls/ui/TarvoHullFrame.h"
#include "shell/HelpFloat.h"
#include "controls/VkGrid.h"
#include "controls/VkGroupBox.h"
#include "controls/VkHelpPanel.h"
#include "controls/VkSpin.h"

namespace sarnova {
namespace {

class TarvoHullFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterTarvoHullFrame();
        Hull = test::MakeHullEntity(Doc);
        ASSERT_NE(Hull, nullptr);
        Hull->GetSurface();
        Frame = dynamic_cast<TTarvoHullFrame*>(Hull->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override {
        if (Hull != nullptr) Hull->FreeFrame();
    }
    int RowOf(const std::string& Name) const {
        for (int R = 1; R < Frame->VkGrid1->GetRowCount(); ++R)
            if (Frame->VkGrid1->Cell(0, R).GetValue().AsString() == Name) return R;
        return -1;
    }
    // What the user's typing in the value column hands the frame.
    void Edit(int Row, double Value) {
        TVkValue V(Value);
        Frame->VkGrid1->OnEditCell(Frame->VkGrid1, 1, Row, V);
    }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoTarvoHull* Hull = nullptr;
    TTarvoHullFrame* Frame = nullptr;
    test::TDialogsScope Scope;
};

TEST_F(TarvoHullFrameTest, GridListsTheParametersAndEditsChangeTheHull) {
    EXPECT_EQ(Frame->EntityClass->text(), "TarvoHULL");
    EXPECT_EQ(Frame->ListBox1->count(), 7);
    TVkGrid& G = *Frame->VkGrid1;
    ASSERT_EQ(G.GetRowCount(), 21);
    EXPECT_EQ(G.Cell(0, 0).GetValue().AsString(), "Parameter");
    EXPECT_EQ(G.Cell(1, 0).GetValue().AsString(), "Value");
    EXPECT_EQ(G.Cell(0, 1).GetValue().AsString(), "Draught");
    EXPECT_NEAR(G.Cell(1, 1).GetValue().AsDouble(), 3.2, 1e-12);

    // A new displacement fits the fullness to it.
    Edit(RowOf("DISP"), 4090);
    EXPECT_NEAR(G.Cell(1, RowOf("DISP")).GetValue().AsDouble(), 4090, 1);
    EXPECT_NE(G.Cell(1, RowOf("VolumeF%")).GetValue().AsDouble(), 50);
    Frame->resize(260, 900);
    const auto Artifacts = std::filesystem::path(GExeDir) / "artifacts";
    std::filesystem::create_directories(Artifacts);
    EXPECT_TRUE(Frame->grab().save(QString::fromStdString((Artifacts / "tarvo-hull-frame.png").string())));

    // A new fullness rebuilds the hull; the grid shows the new displacement.
    const double Disp = G.Cell(1, RowOf("DISP")).GetValue().AsDouble();
    Edit(RowOf("VolumeF%"), 90);
    Hull->GetSurface();
    Frame->UpdateControls();
    EXPECT_EQ(G.Cell(1, RowOf("VolumeF%")).GetValue().AsDouble(), 90);
    EXPECT_GT(G.Cell(1, RowOf("DISP")).GetValue().AsDouble(), Disp);

    EXPECT_TRUE(Scope.Dialogs.Shown.empty());
}

TEST_F(TarvoHullFrameTest, BulbDimensionsWaitForUpdateSurface) {
    auto* Group = Frame->findChild<TVkGroupBox*>("BulbGroup");
    ASSERT_NE(Group, nullptr);
    EXPECT_EQ(Group->GetState(), gsCollapsed);
    // Without the bulb its dimensions cannot be edited.
    EXPECT_FALSE(Frame->SpBeam->isEnabled());
    EXPECT_FALSE(Frame->CheckBox2->isEnabled());
    Frame->CheckBox7->setChecked(true);
    EXPECT_TRUE(Hull->Hull().ApplyBulb());
    EXPECT_TRUE(Frame->SpBeam->isEnabled());
    EXPECT_TRUE(Frame->CheckBox2->isEnabled());
    EXPECT_FALSE(Frame->SpeedButton18->isEnabled());
    const double Front = Hull->GetSurface()->GetExtents().Max.X;

    Frame->SpBulbLength->SetValue(4);
    EXPECT_EQ(Hull->Hull().Bulb().BulbLength(), 4);
    EXPECT_TRUE(Frame->SpeedButton18->isEnabled());
    // The hull surface keeps its graft until asked.
    EXPECT_TRUE(Hull->Hull().IsValid());
    Frame->SpeedButton18->click();
    EXPECT_FALSE(Frame->SpeedButton18->isEnabled());
    EXPECT_GT(Hull->GetSurface()->GetExtents().Max.X, Front);
}

TEST_F(TarvoHullFrameTest, EachHelpButtonOpensItsPage) {
    const int Topics[] = {1020, 1030, 1020, 1030, 1040, 1050, 1060, 1070, 1080};
    ASSERT_EQ(Frame->HelpButtons.size(), std::size(Topics));
    for (std::size_t I = 0; I < std::size(Topics); ++I) {
        Frame->HelpButtons[I]->click();
        EXPECT_EQ(GetHelpForm()->VkHelpPanel1->GetFileName(), HelpContextFileName(Topics[I])) << I;
        // The page is one of ours.
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(SARNOVA_SOURCE_DIR) / "help" /
                                            ("topic" + std::to_string(Topics[I]) + ".html")));
    }
    GetHelpForm()->close();
}

TEST_F(TarvoHullFrameTest, ViewOptionsFollowTheEntity) {
    Frame->CheckBox1->setChecked(true);
    EXPECT_TRUE(Hull->GetDrawCurves());
    Frame->CheckBox5->setChecked(true);
    EXPECT_TRUE(Hull->GetDrawBlends());
    Hull->SetDrawParameters(false);
    Frame->UpdateControls();
    EXPECT_FALSE(Frame->CheckBox3->isChecked());
    // Renaming through the frame renames the hull node.
    Hull->SetName("Ship");
    EXPECT_EQ(Hull->Hull().Name, "Ship");
}

}  // namespace
}  // namespace sarnova
