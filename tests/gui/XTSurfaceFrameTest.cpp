// The property frame of the curve-network surface: presets and custom fields set the scheme, the
// "Customised" button shows a scheme that no preset holds, display boxes and curve edits are one undo
// step each, and the lists follow the document.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

#include <functional>
#include <memory>
#include <string>

#include "curvenet/GXTCurve.h"
#include "curvenet/ui/XTSurfaceFrame.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "tests/document/CurveFixtures.h"

namespace sarnova {
namespace {

class XTSurfaceFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterXTSurfaceFrame();
        const TMVector Corners[] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}};
        for (int I = 0; I < 4; ++I) {
            auto E = std::make_unique<TGeoXTCurve>();
            E->Curve().AddPointAt(Corners[I]);
            E->Curve().AddPointAt(Corners[(I + 1) % 4]);
            E->SetName("Side" + std::to_string(I));
            Doc.Add(std::move(E))->SetSelected(I < 3);
        }
        S = TGeoXTSurface::CreateGroup(Doc);
        Doc.ClearSelection();
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TXTSurfaceFrame*>(S->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override { S->FreeFrame(); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoXTSurface* S = nullptr;
    TXTSurfaceFrame* Frame = nullptr;
};

TEST_F(XTSurfaceFrameTest, EveryControlIsOneUndoStepAndTheFrameFollows) {
    struct TCase {
        const char* What;
        std::function<void()> Edit;
        std::function<void()> Check;
    };
    const TCase Cases[] = {
        {"subdivision preset", [&] { Frame->PresetButtons[7]->click(); },
         [&] {
             EXPECT_EQ(S->Surface().Options().PatchType, sptSubdivision);
             EXPECT_EQ(S->Surface().Options().SubdivisionIterations, 5);
             EXPECT_TRUE(Frame->PresetButtons[7]->isChecked());
             EXPECT_EQ(Frame->ComboBox1->currentIndex(), 6);
         }},
        {"one custom field", [&] { Frame->OptionBoxes[0]->click(); },
         [&] {
             EXPECT_TRUE(S->Surface().Options().JoinAdjacentEdges);
             EXPECT_TRUE(Frame->RadioButton10->isChecked());
             for (QRadioButton* B : Frame->PresetButtons) EXPECT_FALSE(B->isChecked());
         }},
        {"patch type from the list", [&] { emit Frame->ComboBox1->activated(2); },
         [&] { EXPECT_EQ(S->Surface().Options().PatchType, sptCoons); }},
        {"display option", [&] { Frame->DisplayBoxes[2]->click(); },
         [&] { EXPECT_EQ(S->DrawOptions(), 1u << sdoEdges); }},
        {"curve removed", [&] {
             Frame->ListBox1->setCurrentRow(1);
             Frame->DeleteEntities->click();
         },
         [&] {
             ASSERT_EQ(Frame->ListBox1->count(), 2);
             EXPECT_EQ(Frame->ListBox1->item(1)->text(), "Side2");
         }},
    };
    for (const TCase& C : Cases) {
        test::ExpectOneUndoStep(Doc, C.What, [&] {
            C.Edit();
            C.Check();
        });
        Frame->Refresh();
    }
    EXPECT_TRUE(Frame->PresetButtons[6]->isChecked()) << "the new surface's Gregory Bezier scheme again";
}

TEST_F(XTSurfaceFrameTest, TheCurveMenuOffersTheCurvesTheSurfaceCanTake) {
    ASSERT_EQ(Frame->ListBox1->count(), 3);
    Frame->SpeedButton1->click();
    Frame->PopupMenu1->hide();
    ASSERT_EQ(Frame->PopupMenu1->actions().size(), 1);
    EXPECT_EQ(Frame->PopupMenu1->actions()[0]->text(), "Side3");
    Frame->PopupMenu1->actions()[0]->trigger();
    EXPECT_EQ(S->Surface().Curves().Count(), 4);
    EXPECT_EQ(Frame->ListBox1->count(), 4);
}

}  // namespace
}  // namespace sarnova
