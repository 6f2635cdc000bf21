// The lines-plan window on a Wigley-hull B-spline surface (under Xvfb): the sheet on screen, the
// option controls, the layouts and the conversion into a polyline-list entity.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QRadioButton>

#include <algorithm>
#include <filesystem>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/GBSurf.h"
#include "foundation/PolyList.h"
#include "naval/GPList.h"
#include "naval/HullMeshes.h"
#include "naval/Linesplan.h"
#include "naval/ui/LinesPlanUnit.h"
#include "platform/ScriptedUserDialogs.h"
#include "controls/VkSpin.h"
#include "views/OpenGLView.h"

namespace sarnova::test {
namespace {

class LinesPlanWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        auto Entity = std::make_unique<TGeoBSurf>();
        AssignBSplineSurface(Entity->Surface(), *WigleySurface(10, 2, 1));
        Hull = Doc.Add(std::move(Entity));
    }

    TScriptedUserDialogs Dialogs;
    TGeometryInterface Doc;
    TGeometry* Hull = nullptr;
};

TEST_F(LinesPlanWindow, NeedsASelectedSurface) {
    EXPECT_FALSE(CanGenerateLinesPlan(&Doc));
    Hull->SetSelected(true);
    EXPECT_TRUE(CanGenerateLinesPlan(&Doc));
}

TEST_F(LinesPlanWindow, ShowsTheThreeViewsOfTheHull) {
    Hull->SetSelected(true);
    TLinesPlanForm Form(Dialogs);
    Form.Setup(&Doc);
    ASSERT_EQ(Form.Plan().SurfaceCount(), 1);
    Form.show();
    TOpenGLView& View = *Form.OpenGLView1;
    for (int I = 0; I < 200 && !(View.GetStateFlags() & vfContextReady); ++I)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(View.GetStateFlags() & vfContextReady) << "no OpenGL context: run the GUI tests under xvfb-run";
    View.SetAxisIcon(aiNone);
    View.ZoomAll();
    View.Render();
    const QImage Shot = View.grabFramebuffer();
    EXPECT_TRUE(Shot.save(QString::fromStdString((std::filesystem::temp_directory_path() / "LinesPlan.png").string())));
    // Every view's contours show in their own colour somewhere along their first line.
    TLinesPlan& Plan = Form.Plan();
    for (TLinesPlanView* V : {&Plan.WaterlinesView(), &Plan.StationsView(), &Plan.ButtocksView()}) {
        ASSERT_GT(V->Contours().Count(), 0);
        const TPolyline& Line = *V->Contours().Items(0);
        const QColor Want(V->ContourColor & 0xFF, (V->ContourColor >> 8) & 0xFF, (V->ContourColor >> 16) & 0xFF);
        bool Seen = false;
        for (int K = 0; K < Line.Count() && !Seen; ++K) {
            const TPoint P = View.WorldToScreen(Line.Point(K)->X, Line.Point(K)->Y, Line.Point(K)->Z);
            for (int DY = -1; DY <= 1 && !Seen; ++DY)
                for (int DX = -1; DX <= 1 && !Seen; ++DX)
                    Seen = Shot.rect().contains(P.X + DX, P.Y + DY) && Shot.pixelColor(P.X + DX, P.Y + DY) == Want;
        }
        EXPECT_TRUE(Seen) << "view " << int(V->GetKind());
    }
}

TEST_F(LinesPlanWindow, ThePlanIsFittedToTheViewWhenTheWindowFirstShows) {
    Hull->SetSelected(true);
    TLinesPlanForm Form(Dialogs);
    Form.resize(900, 600);
    Form.Setup(&Doc);
    Form.show();
    TOpenGLView& View = *Form.OpenGLView1;
    for (int I = 0; I < 200 && !(View.GetStateFlags() & vfContextReady); ++I)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(View.GetStateFlags() & vfContextReady) << "no OpenGL context: run the GUI tests under xvfb-run";
    for (int I = 0; I < 20; ++I) QApplication::processEvents(QEventLoop::AllEvents, 10);
    // The whole sheet on screen, and filling the view one way or the other.
    View.MeasureExtents();
    const TMBox Box = View.GetModelExtents();
    int Left = View.width(), Right = 0, Top = View.height(), Bottom = 0;
    for (double X : {Box.Min.X, Box.Max.X})
        for (double Y : {Box.Min.Y, Box.Max.Y})
            for (double Z : {Box.Min.Z, Box.Max.Z}) {
                const TPoint P = View.WorldToScreen(X, Y, Z);
                Left = std::min(Left, P.X);
                Right = std::max(Right, P.X);
                Top = std::min(Top, P.Y);
                Bottom = std::max(Bottom, P.Y);
            }
    EXPECT_GE(Left, -1);
    EXPECT_LE(Right, View.width() + 1);
    EXPECT_GE(Top, -1);
    EXPECT_LE(Bottom, View.height() + 1);
    EXPECT_TRUE(Right - Left > View.width() * 8 / 10 || Bottom - Top > View.height() * 8 / 10)
        << Left << " " << Right << " " << Top << " " << Bottom << " in " << View.width() << " x " << View.height();
}

TEST_F(LinesPlanWindow, OptionsFollowTheirControls) {
    Hull->SetSelected(true);
    TLinesPlanForm Form(Dialogs);
    Form.Setup(&Doc);
    EXPECT_TRUE(Form.CheckBox10->isEnabled());
    Form.CheckBox5->click();
    EXPECT_FALSE(Form.Plan().GetShowGrid());
    EXPECT_FALSE(Form.CheckBox10->isEnabled());
    EXPECT_FALSE(Form.VkSpinEdit4->isEnabled());
    EXPECT_FALSE(Form.CheckBox9->isEnabled());
    Form.CheckBox8->click();
    EXPECT_TRUE(Form.Plan().GetShowBorder());
    EXPECT_TRUE(Form.CheckBox9->isEnabled());

    const std::pair<QRadioButton*, int> Layouts[] = {
        {Form.RadioButton4, 1}, {Form.RadioButton3, 2}, {Form.RadioButton2, 3}, {Form.RadioButton1, 0}};
    for (auto [Button, Layout] : Layouts) {
        Button->click();
        EXPECT_EQ(Form.Plan().GetLayout(), Layout) << Button->text().toStdString();
    }
    Form.VkSpinEdit1->SetValue(3.5f);
    EXPECT_DOUBLE_EQ(Form.Plan().GetViewGap(), 3.5);
    // The controls show what the plan holds.
    Form.Plan().SetLayout(2);
    Form.Plan().SetFlipSections(true);
    Form.RefreshControls();
    EXPECT_TRUE(Form.RadioButton3->isChecked());
    EXPECT_TRUE(Form.CheckBox7->isChecked());
}

TEST_F(LinesPlanWindow, ConvertAddsTheSheetAsAPolylineList) {
    Hull->SetSelected(true);
    TLinesPlanForm Form(Dialogs);
    Form.Setup(&Doc);
    const int Before = Doc.Count();
    Form.ToolButton1->trigger();
    ASSERT_EQ(Doc.Count(), Before + 1);
    auto* List = dynamic_cast<TGeoPList*>(&Doc.Items(Doc.Count() - 1));
    ASSERT_NE(List, nullptr);
    const TPolylineList& P = List->Polylines();
    ASSERT_GT(P.Count(), 0);
    bool Sections = false, Waterlines = false, Buttocks = false;
    for (int I = 0; I < P.Count(); ++I) {
        const TPolyline* L = P.Items(I);
        EXPECT_TRUE(L->OwnColors);
        Sections |= L->LineColor == Form.Plan().GetSectionColor();
        Waterlines |= L->LineColor == Form.Plan().GetWaterlineColor();
        Buttocks |= L->LineColor == Form.Plan().GetButtockColor();
        for (int K = 0; K < L->Count(); ++K) EXPECT_EQ(L->Point(K)->Z, 0);
    }
    EXPECT_TRUE(Sections && Waterlines && Buttocks);
}

}  // namespace
}  // namespace sarnova::test
