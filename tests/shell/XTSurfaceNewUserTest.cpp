// A new user makes a surface from curves: four network curves drawn with the mouse round a square,
// selected, "Create XTSurface Group" from the selection menu, and the surface shown rendered.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <cstdlib>

#include "curvenet/GXTCurve.h"
#include "curvenet/GXTSurface.h"
#include "document/GeoFace.h"
#include "document/ShadedRenderer.h"
#include "platform/Menu.h"
#include "shell/ShellTestSupport.h"
#include "shell/MouseTestSupport.h"
#include "shell/ViewUnit.h"
#include "tests/shell/DocumentWindowFixture.h"
#include "views/GLRenderer.h"
#include "views/OpenGLView.h"

namespace sarnova {
namespace {

class XTSurfaceNewUser : public test::TDocumentWindowFixture {
protected:
    // The program's shaded renderer, as its start-up installs it.
    void SetUp() override {
        test::TDocumentWindowFixture::SetUp();
        InstallGLRenderer();
    }
    void TearDown() override {
        test::TDocumentWindowFixture::TearDown();
        RegisterGLRenderer({});
    }
};

TEST_F(XTSurfaceNewUser, DrawsFourCurvesGroupsThemAndSeesTheShadedPatch) {
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    TOpenGLView& View = W->GetView();
    TGeometryInterface& Doc = W->GetDocument();
    SubWindow(W)->showMaximized();
    View.ViewXY();
    Doc.SetProjectOptions(static_cast<TProjectOptions>(Doc.GetProjectOptions() & ~(poGridSnap | poObjectSnap)));
    Settle();

    ASSERT_TRUE(ClickMenuItem(OpenMenu(*Form, W->Create1), "D-Azadavaz Curve"));
    const QSize Size = View.size();
    const QPoint Corners[] = {{Size.width() * 3 / 10, Size.height() * 7 / 10}, {Size.width() * 7 / 10, Size.height() * 7 / 10},
                              {Size.width() * 7 / 10, Size.height() * 3 / 10}, {Size.width() * 3 / 10, Size.height() * 3 / 10}};
    for (int Side = 0; Side < 4; ++Side) {
        Click(View, Corners[Side], Qt::LeftButton);
        Click(View, Corners[(Side + 1) % 4], Qt::LeftButton);
        Click(View, Corners[(Side + 1) % 4], Qt::RightButton);
    }
    Click(View, Corners[0], Qt::RightButton);
    ASSERT_EQ(Doc.Count(), 4);

    Doc.SelectAll();
    TMenuItem* Menu = Doc.SelectionPopupMenu();
    ASSERT_NE(Menu, nullptr);
    TMenuItem* Group = Menu->Find("Create XTSurface Group");
    ASSERT_NE(Group, nullptr);
    Group->Click();
    Settle();
    ASSERT_EQ(Doc.Count(), 5);
    auto* Surface = dynamic_cast<TGeoXTSurface*>(&Doc.Items(4));
    ASSERT_NE(Surface, nullptr);
    EXPECT_EQ(Surface->Surface().Curves().Count(), 4);

    Doc.ClearSelection();
    Surface->SetColor(clRed);
    Surface->SetDisplayState(dsRendered);
    Settle();
    View.Render();
    const QImage Frame = View.grabFramebuffer();
    // The share of lit red pixels in a box of the view (fractions of its size): the grid, the axes
    // and the curves cross both boxes, so the shading is measured rather than one pixel read.
    const auto RedShare = [&](double X0, double Y0, double X1, double Y1) {
        int Red = 0, All = 0;
        for (int Y = static_cast<int>(Frame.height() * Y0); Y < static_cast<int>(Frame.height() * Y1); ++Y)
            for (int X = static_cast<int>(Frame.width() * X0); X < static_cast<int>(Frame.width() * X1); ++X) {
                const QColor C = Frame.pixelColor(X, Y);
                Red += C.red() > 100 && C.green() < 60 && C.blue() < 60;
                ++All;
            }
        return All > 0 ? static_cast<double>(Red) / All : 0.0;
    };
    EXPECT_GT(RedShare(0.35, 0.35, 0.65, 0.65), 0.7) << "the patch inside the square";
    EXPECT_EQ(RedShare(0.02, 0.02, 0.25, 0.98), 0.0) << "the background left of it";
    EXPECT_EQ(RedShare(0.75, 0.02, 0.98, 0.98), 0.0) << "the background right of it";
    if (const char* Shots = std::getenv("SARNOVA_TRIAL_SHOTS")) Frame.save(QString(Shots) + "/xtsurface-rendered.png");
}

}  // namespace
}  // namespace sarnova
