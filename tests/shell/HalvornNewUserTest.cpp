// A new user makes a ship hull: Create > "Halvorn Hull", selects it, generates it from its frame, and
// sees hull and frame.
#include <gtest/gtest.h>

#include <QLabel>
#include <QToolButton>

#include <cstdlib>

#include "document/GeoFace.h"
#include "hulls/GHalvorn.h"
#include "hulls/ui/HalvornFrame.h"
#include "shell/EntityFloat.h"
#include "shell/ShellTestSupport.h"
#include "tests/shell/DocumentWindowFixture.h"

namespace sarnova {
namespace {

class HalvornNewUser : public test::TDocumentWindowFixture {};

TEST_F(HalvornNewUser, CreatesAndGeneratesAHullFromTheMenus) {
    RegisterHalvornFrame();
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    QMenu* Create = OpenMenu(*Form, W->Create1);
    ASSERT_TRUE(ClickMenuItem(Create, "Halvorn Hull"));
    TGeometryInterface& Doc = W->GetDocument();
    ASSERT_EQ(Doc.Count(), 1);
    auto* Hull = dynamic_cast<TGeoHalvorn*>(&Doc.Items(0));
    ASSERT_NE(Hull, nullptr);
    EXPECT_EQ(Hull->GetDescription(), "Halvorn");

    Doc.SelectOnly(Hull);
    Settle();
    auto* Frame = dynamic_cast<THalvornFrame*>(GetEntityForm()->ShownFrame());
    ASSERT_NE(Frame, nullptr);
    Frame->SpeedButton1->click();
    Settle();
    EXPECT_TRUE(Hull->Generated());
    EXPECT_EQ(Frame->Panel2->text(), QString::fromUtf8("\u00AB\u00AB Hull Complete \u00BB\u00BB"));

    // A picture of the window and the frame for whoever looks at the run.
    if (const char* Shot = std::getenv("SARNOVA_SCREENSHOT_DIR")) {
        Form->grab().save(QString::fromUtf8(Shot) + "/halvorn-window.png");
        GetEntityForm()->grab().save(QString::fromUtf8(Shot) + "/halvorn-frame.png");
    }
}

}  // namespace
}  // namespace sarnova
