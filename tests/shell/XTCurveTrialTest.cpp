// Two curve-network curves as a user draws them in a document window: the second one started on the
// first, so that it follows when a vertex of the first is dragged, and both on the screen in their
// colours where the camera puts them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMouseEvent>

#include <cmath>
#include <cstdlib>
#include <string>

#include "curvenet/GXTCurve.h"
#include "curvenet/XTReferencePoints.h"
#include "document/GeoFace.h"
#include "foundation/ColorNames.h"
#include "platform/Menu.h"
#include "shell/ShellTestSupport.h"
#include "shell/MouseTestSupport.h"
#include "shell/ViewUnit.h"
#include "tests/shell/DocumentWindowFixture.h"
#include "views/OpenGLView.h"

namespace sarnova {
namespace {

// Whether the picture holds Colour within Reach pixels of At.
bool ShowsNear(const QImage& Picture, QPoint At, const QColor& Colour, int Reach = 3) {
    for (int DY = -Reach; DY <= Reach; ++DY)
        for (int DX = -Reach; DX <= Reach; ++DX) {
            const int X = At.x() + DX, Y = At.y() + DY;
            if (Picture.valid(X, Y) && Picture.pixelColor(X, Y) == Colour) return true;
        }
    return false;
}

using XTCurveTrial = test::TDocumentWindowFixture;

TEST_F(XTCurveTrial, ACurveDrawnOntoAnotherFollowsItAndBothShowInTheirColours) {
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    TOpenGLView& View = W->GetView();
    TGeometryInterface& Doc = W->GetDocument();
    SubWindow(W)->showMaximized();
    View.ViewXY();
    // Snapping to objects, not to the grid; "Snap onto Curves" from the status bar's menu, off and on
    // again, so that it takes the network curves along.
    Doc.SetProjectOptions(static_cast<TProjectOptions>((Doc.GetProjectOptions() & ~poGridSnap) | poObjectSnap));
    Form->CurveSnapAction->trigger();
    if (!GSettings->SnapOptions.test(stCurve)) Form->CurveSnapAction->trigger();
    ASSERT_TRUE(GSettings->SnapOptions.test(stCurveNetCurve));
    SettleExposed(*Form);

    // The first curve: three clicks across the view and a right click.
    ASSERT_TRUE(ClickMenuItem(OpenMenu(*Form, W->Create1), "D-Azadavaz Curve"));
    const QSize Size = View.size();
    const QPoint Clicks[] = {{Size.width() * 2 / 10, Size.height() * 4 / 10},
                             {Size.width() * 5 / 10, Size.height() * 35 / 100},
                             {Size.width() * 8 / 10, Size.height() * 4 / 10}};
    for (QPoint At : Clicks) Click(View, At, Qt::LeftButton);
    Click(View, Clicks[2], Qt::RightButton);
    ASSERT_EQ(Doc.Count(), 1);
    auto* Host = dynamic_cast<TGeoXTCurve*>(&Doc.Items(0));
    ASSERT_NE(Host, nullptr);
    ASSERT_EQ(Host->Curve().PointCount(), 3);

    // The second one starts a few pixels off the first one's middle and runs down the view.
    const TPolyline& HostLine = *Host->GetPolyline();
    const QPoint OnHost = PixelOf(View, HostLine.Point(HostLine.Count() * 3 / 8)->Vector()) + QPoint(0, 5);
    const QPoint Below(OnHost.x() + Size.width() / 20, Size.height() * 85 / 100);
    Click(View, OnHost, Qt::LeftButton);
    Click(View, Below, Qt::LeftButton);
    Click(View, Below, Qt::RightButton);
    // A right click with nothing entered puts the tool away.
    Click(View, Below, Qt::RightButton);
    ASSERT_EQ(Doc.Count(), 2);
    auto* Rib = dynamic_cast<TGeoXTCurve*>(&Doc.Items(1));
    ASSERT_NE(Rib, nullptr);
    EXPECT_EQ(Rib->GetName(), "XTCurve2");
    auto* Bead = dynamic_cast<TXTBead*>(Rib->Curve().PointAt(0));
    ASSERT_NE(Bead, nullptr) << "the first vertex rests on the first curve";
    EXPECT_EQ(Bead->GetTargetNode(), &Host->Curve());

    // The first curve's middle vertex dragged up, in edit mode: the second curve's end goes with it.
    Host->SetColor(clRed);
    Rib->SetColor(clLime);
    Doc.SelectOnly(Host);
    Host->PopupMenu()->Find("Edit")->Click();
    Settle();
    ASSERT_TRUE(Host->Editing());
    const TMVector StartBefore = Rib->Curve().PointAt(0)->GetPosition();
    const TMVector MiddleBefore = Host->Curve().PointAt(1)->GetPosition();
    const QPoint From = PixelOf(View, Host->Curve().PointAt(1)->GetPosition());
    const QPoint To = From - QPoint(0, Size.height() / 6);
    SendMouse(View, QEvent::MouseMove, From, Qt::NoButton, Qt::NoButton);
    SendMouse(View, QEvent::MouseButtonPress, From, Qt::LeftButton, Qt::LeftButton);
    for (int Step = 1; Step <= 4; ++Step)
        SendMouse(View, QEvent::MouseMove, From + (To - From) * Step / 4, Qt::NoButton, Qt::LeftButton);
    SendMouse(View, QEvent::MouseButtonRelease, To, Qt::LeftButton, Qt::NoButton);
    Settle();
    EXPECT_NEAR(PixelOf(View, Host->Curve().PointAt(1)->GetPosition()).y(), To.y(), 2);
    Rib->Curve().Regenerate();
    const TMVector StartAfter = Rib->Curve().PointAt(0)->GetPosition();
    const double Raised = Host->Curve().PointAt(1)->GetPosition().Y - MiddleBefore.Y;
    EXPECT_GT(Raised, 0);
    EXPECT_GT(StartAfter.Y - StartBefore.Y, Raised / 4) << "the second curve's end follows the first curve up";
    EXPECT_NE(dynamic_cast<TXTBead*>(Rib->Curve().PointAt(0)), nullptr);

    // Out of edit mode and unselected, both show in their own colours along their lengths.
    Doc.SetEditedGeometry(nullptr);
    Doc.ClearSelection();
    Settle();
    View.Render();
    Settle();
    const QImage Shot = ScreenOf(View);
    if (const char* Shots = std::getenv("SARNOVA_TRIAL_SHOTS")) Shot.save(QString(Shots) + "/xtcurve-trial.png");
    const auto Along = [&](TGeoXTCurve& Curve, const QColor& Colour, const char* What) {
        const TPolyline& Line = *Curve.GetPolyline();
        for (int K = 1; K <= 3; ++K) {
            const QPoint At = PixelOf(View, Line.Point(Line.Count() * K / 4)->Vector());
            EXPECT_TRUE(ShowsNear(Shot, At, Colour)) << What << " at " << At.x() << "," << At.y();
        }
    };
    Along(*Host, QColor(255, 0, 0), "first curve");
    Along(*Rib, QColor(0, 255, 0), "second curve");
}

}  // namespace
}  // namespace sarnova
