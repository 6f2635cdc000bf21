// A curve-network curve with its tangent ribbon in the OpenGL view.
#include <gtest/gtest.h>

#include <QColor>

#include "curvenet/GXTCurve.h"
#include "startup/RegisterClasses.h"
#include "views/OpenGLView.h"
#include "views/OpenGLViewFixture.h"

namespace sarnova::test {
namespace {

class XTCurveViewTest : public OpenGLViewFixture {};

TEST_F(XTCurveViewTest, ACurveAndItsRibbonShowWhereTheCameraPutsThem) {
    TGeoXTCurve Curve;
    Curve.Curve().AddPointAt({-6, 0, 0});
    Curve.Curve().AddPointAt({6, 0, 0});
    Curve.Curve().SetRibbonKind(rkY);
    View->OnRedraw = [&Curve](void*, IGraphics& G) {
        G.SetLineColor(clRed);
        Curve.Draw(G);
    };
    View->SetProjection(cmParallel);
    View->ViewXY();
    for (double X : {-4.0, 0.0, 4.0}) {
        const TPoint P = View->WorldToScreen(X, 0, 0);
        EXPECT_TRUE(ShowsNear(P, QColor(255, 0, 0))) << X;
        // The ribbon reaches some pixels across the curve.
        EXPECT_TRUE(ShowsNear({P.X, P.Y - 7}, QColor(255, 0, 0)) || ShowsNear({P.X, P.Y + 7}, QColor(255, 0, 0))) << X;
    }
    EXPECT_EQ(PixelAt(2, 2), QColor(0, 0, 0));
}

}  // namespace
}  // namespace sarnova::test
