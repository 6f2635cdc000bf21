// A new user makes a yacht hull: Create > "Corvane Hull", selects it and sees its form curves and
// its frame; "Update" generates it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QToolButton>

#include <cstdlib>

#include "document/GeoFace.h"
#include "hulls/GCorvane.h"
#include "hulls/ui/CorvaneFrame.h"
#include "shell/EntityFloat.h"
#include "shell/ShellTestSupport.h"
#include "tests/shell/DocumentWindowFixture.h"

namespace sarnova {
namespace {

class CorvaneNewUser : public test::TDocumentWindowFixture {};

TEST_F(CorvaneNewUser, CreatesAHullWhoseFormCurvesShowUntilItIsGenerated) {
    RegisterCorvaneFrame();
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    QMenu* Create = OpenMenu(*Form, W->Create1);
    ASSERT_TRUE(ClickMenuItem(Create, "Corvane Hull"));
    TGeometryInterface& Doc = W->GetDocument();
    ASSERT_EQ(Doc.Count(), 1);
    auto* Hull = dynamic_cast<TGeoCorvane*>(&Doc.Items(0));
    ASSERT_NE(Hull, nullptr);
    EXPECT_FALSE(Hull->Generated());
    // The form curves are current as soon as the hull is in the document.
    EXPECT_TRUE(Hull->Generator().Section(10).UpToDate());

    Doc.SelectOnly(Hull);
    W->GetView().FitAll();
    Settle();
    auto* Frame = dynamic_cast<TCorvaneFrame*>(GetEntityForm()->ShownFrame());
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->Label1->text(), "Corvane");
    // A picture of the window with the form curves of the new hull for whoever looks at the run.
    const char* Shot = std::getenv("SARNOVA_SCREENSHOT_DIR");
    if (Shot) Form->grab().save(QString::fromUtf8(Shot) + "/corvane-window.png");

    // An edit leaves the form curves to be brought up to date by the next drawing, which must not
    // report progress from inside the view's paint.
    Frame->EditParameter(TCorvane::pBMax, "3.4");
    Settle();
    EXPECT_TRUE(Hull->Generator().SheerLine().UpToDate());
    EXPECT_EQ(Frame->Panel2->text().toStdString(), "\u00AB\u00AB Hull Ungenerated \u00BB\u00BB");

    Frame->SpeedButton1->click();
    Settle();
    EXPECT_TRUE(Hull->Generated());
    EXPECT_FALSE(Frame->SpeedButton1->isEnabled());
    if (Shot) {
        Form->grab().save(QString::fromUtf8(Shot) + "/corvane-generated.png");
        GetEntityForm()->grab().save(QString::fromUtf8(Shot) + "/corvane-frame.png");
    }
}

}  // namespace
}  // namespace sarnova
