// The "Hydrostatics" tool window following the selection of a document window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "HullSections.h"
#include "document/GeoFace.h"
#include "naval/VkHydro.h"
#include "shell/HydrostaticsFloatForm.h"
#include "shell/DocumentWindowFixture.h"
#include "controls/VkGrid.h"

namespace sarnova::test {
namespace {

class HydrostaticsFloat : public TDocumentWindowFixture {
protected:
    void SetUp() override {
        TDocumentWindowFixture::SetUp();
        W = NewWindow();
        ASSERT_NE(W, nullptr);
        Doc = &W->GetDocument();
        Hull = static_cast<TGeoPList*>(Doc->Add(BoxHull("Hull")));
        Other = static_cast<TGeoPList*>(Doc->Add(BoxHull("Other")));
        Form->UpdateActions();
        Form->HydrostaticsAction->trigger();
        Settle();
        Float = GetHydrostaticsFloatForm();
    }
    std::string Cell(int Col, int Row) { return Float->VkGrid1->Cell(Col, Row).DisplayText(); }

    TViewform* W = nullptr;
    TGeometryInterface* Doc = nullptr;
    TGeoPList* Hull = nullptr;
    TGeoPList* Other = nullptr;
    THydrostaticsFloatForm* Float = nullptr;
};

TEST_F(HydrostaticsFloat, SelectTakesTheSelectedHullAtHalfItsHeight) {
    ASSERT_NE(Float, nullptr);
    EXPECT_TRUE(Float->isVisible());
    EXPECT_EQ(Float->GetHull(), nullptr);
    EXPECT_FALSE(Float->SelectButton->isEnabled());
    std::vector<std::string> Labels;
    for (int R = 0; R < 8; ++R) Labels.push_back(Cell(0, R));
    EXPECT_EQ(Labels, (std::vector<std::string>{"Draught", "Displacement", "LCB", "VCB", "KMT", "CB", "CP",
                                                "WettedArea"}));
    EXPECT_EQ(Float->ComboBox1->count(), 2);

    Doc->SelectOnly(Hull);
    Settle();
    EXPECT_TRUE(Float->SelectButton->isEnabled());
    Other->SetSelected(true);
    Settle();
    EXPECT_FALSE(Float->SelectButton->isEnabled());
    Doc->SelectOnly(Hull);
    Settle();
    Float->SelectButton->click();
    EXPECT_EQ(Float->GetHull(), Hull);
    EXPECT_EQ(Float->GetDraught(), 1);
    EXPECT_EQ(Cell(1, 0), "1.000");
    EXPECT_EQ(Cell(1, 1), "20.500");
    EXPECT_EQ(Cell(1, 7), "44.000");
    EXPECT_EQ(Float->MethodLabel->text(), "Figures from the hull's sections");
    EXPECT_EQ(Float->ComboBox1->currentText(), "Hull");

    // The draught cell is typed over; the same value again changes nothing.
    TVkValue Two(2.0);
    Float->VkGrid1->OnEditCell(Float->VkGrid1, 1, 0, Two);
    EXPECT_EQ(Cell(1, 1), "41.000");
    bool CanSelect = true;
    Float->VkGrid1->OnSelectCell(Float->VkGrid1, 1, 1, CanSelect);
    EXPECT_FALSE(CanSelect);
}

// A displacement of five digits before the point shows whole: the column fits its figures.
TEST_F(HydrostaticsFloat, TheFiguresColumnFitsItsWidestFigure) {
    ASSERT_NE(Float, nullptr);
    THydrostaticsData R;
    ResetHydrostatics(R);
    R.Displacement = 10566.373;
    Float->ShowHydrostatics(R);
    TVkGrid& G = *Float->VkGrid1;
    EXPECT_EQ(Cell(1, 1), "10566.373");
    EXPECT_GT(G.Column(1).GetWidth(), G.ScreenTextWidth(G.GetFont(), "10566.373"));
}

TEST_F(HydrostaticsFloat, TheHullIsFollowedByNameAndLetGoWhenDeleted) {
    Float->SelectHullByName("other");
    EXPECT_EQ(Float->GetHull(), Other);
    Float->SelectHullByName("Nothing");
    EXPECT_EQ(Float->GetHull(), Other);
    Other->SetName("");
    Settle();
    EXPECT_EQ(Float->HullName(), "(Polyline List)");
    Float->FillHullNames();
    EXPECT_EQ(Float->ComboBox1->count(), 1);  // an unnamed hull is not offered
    Doc->SelectOnly(Other);
    Doc->DeleteSelected();
    Settle();
    EXPECT_EQ(Float->GetHull(), nullptr);
    EXPECT_EQ(Cell(1, 1), "0.000");
}

}  // namespace
}  // namespace sarnova::test
