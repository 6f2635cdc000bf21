// The property frame of the polygon list: one row per shared point of the selected facets, edits
// that move every corner of a row, rows that select corners, the fill button and the copied grid.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <memory>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/GGonList.h"
#include "entities/ui/GGonFrame.h"
#include "foundation/GeomFacet.h"
#include "platform/Clipboard.h"
#include "shell/ControlsTestSupport.h"
#include "controls/VkGrid.h"

namespace sarnova {
namespace {

class GGonFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterGGonFrame();
        auto Entity = std::make_unique<TGeoPGonlist>();
        Entity->Facets().Add(TriangleFromVectors({0, 0, 0}, {4, 0, 0}, {0, 4, 0}));
        Entity->Facets().Add(TriangleFromVectors({4, 0, 0}, {4, 4, 0}, {0, 4, 0}));
        List = static_cast<TGeoPGonlist*>(Doc.Add(std::move(Entity)));
        Doc.SetEditedGeometry(List);
        List->SelectAllPoints();
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TGGonFrame*>(List->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override {
        Doc.SetEditedGeometry(nullptr);
        List->FreeFrame();
    }
    std::string Text(int Column, int Row) const { return Frame->Grid->Cell(Column, Row).DisplayText(); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoPGonlist* List = nullptr;
    TGGonFrame* Frame = nullptr;
};

TEST_F(GGonFrameTest, SharedCornersShowAsOneRowAndAnEditMovesThemAll) {
    EXPECT_EQ(Frame->EntityClass->text(), "Polygon List");
    ASSERT_EQ(Frame->Grid->GetRowCount(), 5);
    const char* Labels[] = {"0", "1 (x2)", "2 (x2)", "3"};
    for (int K = 0; K < 4; ++K) EXPECT_EQ(Text(0, K + 1), Labels[K]);
    EXPECT_EQ(Text(1, 0), "X");
    EXPECT_EQ(Text(1, 2), "4.000");
    EXPECT_EQ(Text(2, 3), "4.000");

    Frame->Grid->SetCurrentCell(1, 2);
    Frame->Grid->SetCurrentCellValue(TVkValue(6.5));
    EXPECT_EQ(List->Facets().Polygon(0)->Corner(1)->X, 6.5);
    EXPECT_EQ(List->Facets().Polygon(1)->Corner(0)->X, 6.5);
    EXPECT_EQ(Text(1, 2), "6.500");
    ASSERT_TRUE(Doc.CanUndo());
    Doc.Undo();
    EXPECT_EQ(List->Facets().Polygon(1)->Corner(0)->X, 4);
    EXPECT_FALSE(Doc.CanUndo());

    // Fewer selected facets, fewer rows; none selected, only the header.
    Doc.SetEditedGeometry(nullptr);
    EXPECT_EQ(Frame->Grid->GetRowCount(), 1);
}

TEST_F(GGonFrameTest, RowsSelectTheirCornersAndFillSetsOneColumn) {
    Frame->Grid->SetSelection({3, 2, 3, 3});
    EXPECT_TRUE(Frame->FillButton->isEnabled());
    const auto Marked = [this](int Facet, int Corner) { return List->Facets().Polygon(Facet)->CornerMarked(Corner); };
    EXPECT_FALSE(Marked(0, 0));
    EXPECT_TRUE(Marked(0, 1) && Marked(0, 2) && Marked(1, 0) && Marked(1, 2));
    EXPECT_FALSE(Marked(1, 1));
    Frame->Grid->SetSelection({1, 1, 2, 1});
    EXPECT_FALSE(Frame->FillButton->isEnabled());

    // The fill dialog asks for Z (the current column) and sets it at every corner of every row.
    Frame->Grid->SetCurrentCell(3, 1);
    test::WhenModal([](QWidget* Dialog) {
        EXPECT_EQ(Dialog->windowTitle(), "Fill Values to Selected Points");
        Dialog->findChild<QLineEdit*>("Edit1")->setText("-2");
        Dialog->findChild<QPushButton*>("Button1")->click();
    });
    Frame->FillButton->click();
    for (int I = 0; I < 2; ++I)
        for (int C = 0; C < 3; ++C) EXPECT_EQ(List->Facets().Polygon(I)->Corner(C)->Z, -2);
    EXPECT_EQ(Text(3, 4), "-2.000");
    Doc.Undo();
    EXPECT_EQ(List->Facets().Polygon(0)->Corner(0)->Z, 0);

    // Cancel changes nothing and leaves no step.
    test::WhenModal([](QWidget* Dialog) { Dialog->findChild<QPushButton*>("Button2")->click(); });
    Frame->FillButton->click();
    EXPECT_EQ(List->Facets().Polygon(0)->Corner(0)->Z, 0);
    EXPECT_FALSE(Doc.CanUndo());

    TMemoryClipboard Clipboard;
    SetTextClipboard(&Clipboard);
    Frame->CopyButton->click();
    EXPECT_EQ(Clipboard.GetText().substr(0, 20), "0.000\t0.000\t0.000\r\n4");
    SetTextClipboard(nullptr);
}

}  // namespace
}  // namespace sarnova
