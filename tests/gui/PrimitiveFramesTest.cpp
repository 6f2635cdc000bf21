// The property frames of frames, boxes, arcs and circles: what they show, and their edits as changes of
// the entity that undo takes back.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolButton>

#include <memory>

#include "../DialogsScope.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/ui/BoxFrame.h"
#include "entities/ui/DimensionFrame.h"
#include "entities/ui/FrameParts.h"
#include "entities/ui/FramesFrame.h"
#include "entities/ui/GGonFrame.h"
#include "entities/ui/ShapeFrame.h"
#include "foundation/GeomBox.h"
#include "platform/Clipboard.h"
#include "foundation/VkMathsIntersect.h"
#include "controls/VkColorPanel.h"
#include "controls/VkSpin.h"

namespace sarnova {
namespace {

class PrimitiveFramesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterPrimitiveFrames();
        RegisterGGonFrame();
        RegisterDimensionFrame();
    }
    // Entity added to the document with its frame open; the frame is freed with the test.
    template <class TFrame, class T>
    TFrame* Open(T& Entity) {
        Opened = &Entity;
        Doc.GetUndoManager().Clear();
        auto* Frame = dynamic_cast<TFrame*>(Entity.CreateFrameFor(&Owner));
        EXPECT_NE(Frame, nullptr);
        return Frame;
    }
    void TearDown() override {
        if (Opened != nullptr) Opened->FreeFrame();
    }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeometry* Opened = nullptr;
};

TEST_F(PrimitiveFramesTest, FramesFrameUpdatesTheDefinition) {
    test::TDialogsScope Dialogs;
    Doc.GetFrames();
    auto& Entity = static_cast<TGeoFrames&>(Doc.Items(0));
    TFramesFrame* Frame = Open<TFramesFrame>(Entity);
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "Frames");
    EXPECT_EQ(Frame->NameColor->NameEdit->text(), "Frames");
    EXPECT_EQ(Frame->Edit2->text(), "0 1");
    EXPECT_FALSE(Frame->UpdateDefinitionButton->isEnabled());
    Frame->Edit2->setText("0 0.6 20 0.7");
    EXPECT_TRUE(Frame->UpdateDefinitionButton->isEnabled());
    Frame->Edit2->setText("0 1");
    EXPECT_FALSE(Frame->UpdateDefinitionButton->isEnabled());

    Frame->Edit2->setText("0 0.6 20 0.7");
    Frame->UpdateDefinitionButton->click();
    EXPECT_EQ(Entity.Frames().GetDefinition(), "Frames 0 0.6 20 0.7 ");
    EXPECT_EQ(Frame->Edit2->text(), "0 0.6 20 0.7 ");
    EXPECT_FALSE(Frame->UpdateDefinitionButton->isEnabled());
    Doc.Undo();
    EXPECT_EQ(Entity.Frames().GetDefinition(), "Frames 0 1");

    // A refused definition: the error box, and the table as it was.
    Frame->Edit2->setText("0 1 10");
    Frame->UpdateDefinitionButton->click();
    ASSERT_EQ(Dialogs.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Dialogs.Shown[0].Text, "Error in frame Definition");
    EXPECT_EQ(Entity.Frames().GetDefinition(), "Frames 0 1");
    EXPECT_TRUE(Frame->UpdateDefinitionButton->isEnabled());
}

TEST_F(PrimitiveFramesTest, BoxFrameEditsOneDimensionPerChange) {
    auto* Box = static_cast<TGeoBox*>(Doc.Add(std::make_unique<TGeoBox>()));
    Box->SetName("B");
    TBoxFrame* Frame = Open<TBoxFrame>(*Box);
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "Box");
    EXPECT_FLOAT_EQ(Frame->VkSpinEdits[3]->GetValue(), 10);
    EXPECT_FLOAT_EQ(Frame->VkSpinEdits[0]->GetValue(), 0);
    // Refreshing changes nothing.
    Frame->Refresh();
    EXPECT_FALSE(Doc.CanUndo());

    Frame->VkSpinEdits[4]->SetValue(4);  // the width
    EXPECT_EQ(Box->GetExtents(), MakeBox(-5, -2, -5, 5, 2, 5));
    Frame->VkSpinEdits[0]->SetValue(3);  // the centre's x
    EXPECT_EQ(Box->GetExtents(), MakeBox(-2, -2, -5, 8, 2, 5));
    Doc.Undo();
    Doc.Undo();
    EXPECT_EQ(Box->GetExtents(), MakeBox(-5, -5, -5, 5, 5, 5));
    EXPECT_FALSE(Doc.CanUndo());

    Frame->NameColor->NameEdit->setText("Tank");
    EXPECT_EQ(Box->GetName(), "Tank");
}

TEST_F(PrimitiveFramesTest, PolygonListFrameShowsAndEditsNameAndColour) {
    auto* List = static_cast<TGeoPGonlist*>(Doc.Add(std::make_unique<TGeoPGonlist>()));
    List->SetName("Hull");
    TGGonFrame* Frame = Open<TGGonFrame>(*List);
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "Polygon List");
    EXPECT_EQ(Frame->NameColor->NameEdit->text(), "Hull");
    EXPECT_EQ(Frame->width(), 259);
    Frame->NameColor->NameEdit->setText("Deck");
    EXPECT_EQ(List->GetName(), "Deck");
    List->SetName("Keel");
    List->UpdateFrame();
    EXPECT_EQ(Frame->NameColor->NameEdit->text(), "Keel");
}

TEST_F(PrimitiveFramesTest, ArcFrameShowsAndEditsItsPoints) {
    auto Made = std::make_unique<TGeoArc>();
    Made->Arc().GetPoint(1)->SetXYZ(1, 1.23456, 0);
    Made->Arc().GetPoint(2)->SetXYZ(2, 0, 0);
    auto* Arc = static_cast<TGeoArc*>(Doc.Add(std::move(Made)));
    TArcFrame* Frame = Open<TArcFrame>(*Arc);
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "Arc");
    ASSERT_EQ(Frame->VkGrid1->rowCount(), 3);
    EXPECT_EQ(Frame->VkGrid1->verticalHeaderItem(1)->text(), "Middle");
    EXPECT_EQ(Frame->VkGrid1->item(1, 1)->text(), "1.235");

    Frame->VkGrid1->item(2, 0)->setText("4");
    EXPECT_DOUBLE_EQ(Arc->Arc().GetPoint(2)->X, 4);
    EXPECT_EQ(Frame->VkGrid1->item(2, 0)->text(), "4.000");
    Doc.Undo();
    EXPECT_DOUBLE_EQ(Arc->Arc().GetPoint(2)->X, 2);
    // Not a number: the cell shows the point again.
    Frame->VkGrid1->item(0, 2)->setText("deep");
    EXPECT_EQ(Frame->VkGrid1->item(0, 2)->text(), "0.000");

    // Rows select points in edit mode.
    Arc->SetEditing(true);
    Frame->VkGrid1->setRangeSelected(QTableWidgetSelectionRange(1, 0, 2, 2), true);
    EXPECT_FALSE(Arc->Arc().GetPoint(0)->Marked);
    EXPECT_TRUE(Arc->Arc().GetPoint(1)->Marked);
    EXPECT_TRUE(Arc->Arc().GetPoint(2)->Marked);
}

TEST_F(PrimitiveFramesTest, CircleFrameSetsCentreAndRadius) {
    auto Made = std::make_unique<TGeoCircle>();
    Made->Circle().SetFrame(MakeCircle({1, 0, 0}, ZAxisVector, 2.5));
    auto* Circle = static_cast<TGeoCircle*>(Doc.Add(std::move(Made)));
    TCircleFrame* Frame = Open<TCircleFrame>(*Circle);
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "Circle");
    ASSERT_EQ(Frame->VkGrid1->rowCount(), 1);
    EXPECT_EQ(Frame->VkGrid1->verticalHeaderItem(0)->text(), "Centre");
    EXPECT_EQ(Frame->VkGrid1->item(0, 0)->text(), "1.000");
    EXPECT_FLOAT_EQ(Frame->VkSpinEdit1->GetValue(), 2.5);

    // A negative radius is taken as its size.
    Frame->VkSpinEdit1->GetEdit()->setText("-3");
    EXPECT_DOUBLE_EQ(Circle->Circle().Radius(), 3);
    Frame->VkGrid1->item(0, 1)->setText("2");
    EXPECT_DOUBLE_EQ(Circle->Circle().Point(0)->Y, 2);
    EXPECT_DOUBLE_EQ(Circle->Circle().Radius(), 3);
    Doc.Undo();
    Doc.Undo();
    EXPECT_DOUBLE_EQ(Circle->Circle().Radius(), 2.5);
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(PrimitiveFramesTest, DimensionFrameShowsTheDistancesAndMovesThePoints) {
    auto Made = std::make_unique<TGeoDimension>();
    Made->Line().Point2->SetXYZ(3, 4, 12);
    auto* Dimension = static_cast<TGeoDimension*>(Doc.Add(std::move(Made)));
    TDimensionFrame* Frame = Open<TDimensionFrame>(*Dimension);
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "Dimension");
    ASSERT_EQ(Frame->VkGrid1->rowCount(), 2);
    EXPECT_EQ(Frame->VkGrid1->item(1, 2)->text(), "12.000");
    const QStringList Expected = {"13.000", "3.000", "4.000", "12.000", "5.000", "12.649", "12.369"};
    for (int I = 0; I < 7; ++I) EXPECT_EQ(Frame->Values[static_cast<std::size_t>(I)]->text(), Expected[I]) << I;

    // The points without header or row titles, tab-separated, CR LF line ends.
    Frame->CopyBut->click();
    EXPECT_EQ(TextClipboard().GetText(), "0.000\t0.000\t0.000\r\n3.000\t4.000\t12.000\r\n");

    // A cell moves its point as one change; the distances follow.
    Frame->VkGrid1->item(0, 2)->setText("12");
    EXPECT_DOUBLE_EQ(Dimension->Line().Point1->Z, 12);
    EXPECT_EQ(Frame->Values[0]->text(), "5.000");
    Doc.Undo();
    EXPECT_DOUBLE_EQ(Dimension->Line().Point1->Z, 0);
    EXPECT_EQ(Frame->Values[0]->text(), "13.000");
}

}  // namespace
}  // namespace sarnova
