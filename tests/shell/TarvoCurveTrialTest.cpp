// A Tarvo curve as a user makes one in a document window: drawn with clicks from the Create menu,
// given a straight run from its popup menu, a point dragged in the view, and the drag undone.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

#include <cstdlib>
#include <memory>
#include <string>

#include "document/GeoFace.h"
#include "hulls/GTarvoCurve.h"
#include "platform/Menu.h"
#include "tests/shell/DocumentWindowFixture.h"
#include "shell/ShellTestSupport.h"
#include "shell/MouseTestSupport.h"
#include "shell/ViewUnit.h"
#include "views/OpenGLView.h"

namespace sarnova {
namespace {

using TarvoCurveTrial = test::TDocumentWindowFixture;

TEST_F(TarvoCurveTrial, DrawnConstrainedDraggedAndUndone) {
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    TOpenGLView& View = W->GetView();
    TGeometryInterface& Doc = W->GetDocument();
    SubWindow(W)->showMaximized();
    View.ViewXY();
    Doc.SetProjectOptions(static_cast<TProjectOptions>(Doc.GetProjectOptions() & ~(poGridSnap | poObjectSnap)));
    Settle();

    ASSERT_TRUE(ClickMenuItem(OpenMenu(*Form, W->Create1), "TarvoCurve"));
    const QSize Size = View.size();
    const QPoint Clicks[] = {{Size.width() * 2 / 10, Size.height() * 7 / 10}, {Size.width() * 35 / 100, Size.height() * 4 / 10},
                             {Size.width() * 5 / 10, Size.height() * 6 / 10}, {Size.width() * 65 / 100, Size.height() * 3 / 10},
                             {Size.width() * 8 / 10, Size.height() * 5 / 10}};
    for (QPoint At : Clicks) Click(View, At, Qt::LeftButton);
    Click(View, Clicks[4], Qt::RightButton);
    ASSERT_EQ(Doc.Count(), 1);
    auto* T = dynamic_cast<TGeoTarvoCurve*>(&Doc.Items(0));
    ASSERT_NE(T, nullptr);
    EXPECT_EQ(T->GetName(), "TarvoCurve1");
    ASSERT_EQ(T->Curve().Count(), 5);

    // Edit mode from the popup menu, points 1 to 3 picked by a rubber band, then "Straight Points".
    Doc.SelectOnly(T);
    T->PopupMenu()->Find("Edit")->Click();
    Settle();
    ASSERT_TRUE(T->Editing());
    T->MarkRows(1, 3);
    T->FreePopupMenu();
    TMenuItem* Straight = T->PopupMenu()->Find("Straight Points");
    ASSERT_TRUE(Straight != nullptr && Straight->Enabled);
    Straight->Click();
    Settle();
    ASSERT_EQ(T->Curve().Constraints().Count(), 1);
    const TMVector Chord = VectorMidpoint(T->Curve().Point(1)->Vector(), T->Curve().Point(3)->Vector());
    EXPECT_NEAR(VectorDistance(T->Curve().Point(2)->Vector(), Chord), 0, 1e-9);

    // The end of the straight run dragged: the driven middle point follows it.
    for (int I = 0; I < 5; ++I) T->Curve().Point(I)->Marked = false;
    const TMVector Before = T->Curve().Point(3)->Vector();
    const QPoint From = PixelOf(View, *T->Curve().Point(3));
    const QPoint To = From + QPoint(Size.width() / 10, Size.height() / 5);
    SendMouse(View, QEvent::MouseMove, From, Qt::NoButton, Qt::NoButton);
    SendMouse(View, QEvent::MouseButtonPress, From, Qt::LeftButton, Qt::LeftButton);
    for (int Step = 1; Step <= 4; ++Step)
        SendMouse(View, QEvent::MouseMove, From + (To - From) * Step / 4, Qt::NoButton, Qt::LeftButton);
    SendMouse(View, QEvent::MouseButtonRelease, To, Qt::LeftButton, Qt::NoButton);
    Settle();
    const TMVector After = T->Curve().Point(3)->Vector();
    EXPECT_GT(VectorDistance(After, Before), 0.1);
    T->GetPolyline();  // evaluated as the next frame draws it
    const TMVector NewChord = VectorMidpoint(T->Curve().Point(1)->Vector(), After);
    EXPECT_NEAR(VectorDistance(T->Curve().Point(2)->Vector(), NewChord), 0, 1e-9);
    if (const char* Shots = std::getenv("SARNOVA_TRIAL_SHOTS"))
        QGuiApplication::primaryScreen()->grabWindow(0).save(QString(Shots) + "/tarvo-dragged.png");

    Doc.Undo();
    Settle();
    auto* Undone = dynamic_cast<TGeoTarvoCurve*>(&Doc.Items(0));
    ASSERT_NE(Undone, nullptr);
    EXPECT_NEAR(VectorDistance(Undone->Curve().Point(3)->Vector(), Before), 0, 1e-9);
    EXPECT_EQ(Undone->Curve().Constraints().Count(), 1);
    if (const char* Shots = std::getenv("SARNOVA_TRIAL_SHOTS"))
        QGuiApplication::primaryScreen()->grabWindow(0).save(QString(Shots) + "/tarvo-undone.png");
}

}  // namespace
}  // namespace sarnova
