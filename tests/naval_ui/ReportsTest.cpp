// The compartment volumes and entity extents reports: their grids, layouts, copying, and the document
// window's actions that open them.
#include <gtest/gtest.h>

#include <QAction>
#include <QTimer>
#include <QToolButton>

#include "document/GPline.h"
#include "document/GeoFace.h"
#include "foundation/TextUtils.h"
#include "naval/Compartments.h"
#include "naval/GGroup.h"
#include "naval/VolumesUnit.h"
#include "naval/ui/ExtentsUnit.h"
#include "naval/ui/VolumesUnit.h"
#include "platform/Clipboard.h"
#include "shell/DocumentWindowFixture.h"
#include "controls/VkGrid.h"
#include "controls/VkStatusBar.h"

namespace sarnova::test {
namespace {

class Reports : public TDocumentWindowFixture {
protected:
    void SetUp() override {
        TDocumentWindowFixture::SetUp();
        SetTextClipboard(&Clipboard);
        W = NewWindow();
        ASSERT_NE(W, nullptr);
        Doc = &W->GetDocument();
    }
    void TearDown() override {
        SetTextClipboard(nullptr);
        TDocumentWindowFixture::TearDown();
    }
    static std::vector<std::string> RowOf(TVkGrid& G, int R) {
        std::vector<std::string> Cells;
        for (int C = 0; C < G.GetColCount(); ++C) Cells.push_back(G.Cell(C, R).DisplayText());
        return Cells;
    }
    // A box compartment named C1 of 20 x 4 x 7, and A and B of volumes 10 and 20 in group Tanks.
    void AddCompartments() {
        Doc->Add(BoxList("C1", 1.0, 0, 20, 2, 6, 1, 8));
        Doc->Add(BoxList("A", 0.9, 0, 2, 0, 5, 0, 1));
        Doc->Add(BoxList("B", 0.95, 5, 10, 0, 2, 0, 2));
        auto Group = std::make_unique<TGeoOpenGroup>();
        Group->SetName("Tanks");
        Group->SetOwnerList(Doc);
        Group->AddMember(Doc->FindByName("A"));
        Group->AddMember(Doc->FindByName("B"));
        Doc->Add(std::move(Group));
    }

    TMemoryClipboard Clipboard;
    TViewform* W = nullptr;
    TGeometryInterface* Doc = nullptr;
};

using TCells = std::vector<std::string>;

TEST_F(Reports, VolumesGridListsCompartmentsAndGroups) {
    TVolumesForm Empty;
    Empty.Fill(*Doc);
    EXPECT_EQ(Empty.VkGrid1->GetRowCount(), 1);
    EXPECT_EQ(RowOf(*Empty.VkGrid1, 0), (TCells{"Name", "Type", "Permeability", "Volume", "X", "Y", "Z", "VNet"}));

    AddCompartments();
    TVolumesForm Form;
    EXPECT_EQ(Form.windowTitle(), "Compartment Volumes and Centres");
    Form.Fill(*Doc);
    TVkGrid& G = *Form.VkGrid1;
    ASSERT_EQ(G.GetRowCount(), 5);
    EXPECT_EQ(RowOf(G, 1), (TCells{"C1", "Compartment", "1.00", "560.000", "10.000", "4.000", "4.500", "560.000"}));
    EXPECT_EQ(RowOf(G, 4), (TCells{"Tanks", "Group", "", "30.000", "5.333", "1.500", "0.833", "28.000"}));
    // The first, third ... data rows are shaded.
    EXPECT_EQ(G.Cell(1, 1).GetColor(), TColor(14474460));
    EXPECT_NE(G.Cell(1, 2).GetColor(), TColor(14474460));
    EXPECT_EQ(Form.StatusBar1->Panels().Item(0)->GetText(), GroupVolumeNote);

    Form.SpeedButton1->click();
    const std::string Text = Clipboard.GetText();
    EXPECT_EQ(Text.substr(0, Text.find('\r')), "Name\tType\tPermeability\tVolume\tX\tY\tZ\tVNet");
    EXPECT_NE(Text.find("Tanks\tGroup\t\t30.000"), std::string::npos) << Text;

    const auto Artifacts = std::filesystem::path(GExeDir) / "artifacts";
    std::filesystem::create_directories(Artifacts);
    Form.show();
    Settle();
    EXPECT_TRUE(Form.grab().save(QString::fromStdString((Artifacts / "volumes-report.png").string())));
}

TEST_F(Reports, ExtentsGridInBothLayouts) {
    Doc->Add(BoxList("Box", 1, 1, 2, 3, 4, 5, 6));
    // A straight line along x spans one axis only.
    auto Line = std::make_unique<TGeoPline>();
    Line->Polyline().AddPoint(1, 1, 1);
    Line->Polyline().AddPoint(5, 1, 1);
    Doc->Add(std::move(Line));
    TExtentsForm Form;
    EXPECT_EQ(Form.windowTitle(), "Entity Extents");
    Form.Fill(*Doc);
    TVkGrid& G = *Form.VkGrid1;
    ASSERT_EQ(G.GetRowCount(), 3);
    EXPECT_EQ(RowOf(G, 2), (TCells{"unnamed", "-", "-", "-", "-", "-", "-"}));
    EXPECT_EQ(G.Cell(1, 2).DrawAlignment(), 1);
    // The second, fourth ... data rows are shaded.
    EXPECT_EQ(G.Cell(1, 2).GetColor(), TColor(14474460));
    EXPECT_EQ(RowOf(G, 0), (TCells{"Name", "Minimum X", "Minimum Y", "Minimum Z", "Maximum X", "Maximum Y", "Maximum Z"}));
    EXPECT_EQ(RowOf(G, 1), (TCells{"Box", "1.000", "3.000", "5.000", "2.000", "4.000", "6.000"}));
    Form.SpeedButton4->click();
    EXPECT_EQ(RowOf(G, 0), (TCells{"Name", "Minimum X", "Maximum X", "Minimum Y", "Maximum Y", "Minimum Z", "Maximum Z"}));
    EXPECT_EQ(RowOf(G, 1), (TCells{"Box", "1.000", "2.000", "3.000", "4.000", "5.000", "6.000"}));
    Form.SpeedButton3->click();
    EXPECT_EQ(RowOf(G, 1)[2], "3.000");
}

TEST_F(Reports, TheDocumentWindowOpensBoth) {
    AddCompartments();
    for (const char* Name : {"CompartmentVolumesAction", "EntityExtentsAction"}) {
        auto* Action = W->findChild<QAction*>(Name);
        ASSERT_NE(Action, nullptr) << Name;
        EXPECT_TRUE(Action->isEnabled()) << Name;
        int Rows = 0;
        QTimer::singleShot(0, [&] {
            TReportForm* Shown = VolumesForm ? static_cast<TReportForm*>(VolumesForm) : ExtentsForm;
            if (Shown == nullptr) return;
            Rows = Shown->VkGrid1->GetRowCount();
            Shown->reject();
        });
        Action->trigger();
        EXPECT_GT(Rows, 1) << Name;
        EXPECT_EQ(VolumesForm, nullptr);
        EXPECT_EQ(ExtentsForm, nullptr);
    }
}

}  // namespace
}  // namespace sarnova::test
