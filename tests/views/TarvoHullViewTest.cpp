// The parametric hull after a fit, with its bulb, drawn by a real view: seen from the side, the bulb
// reaches out in front of the stem below the waterline once it is applied.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <string>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "foundation/TextUtils.h"
#include "hulls/TarvoHullEntities.h"
#include "views/OpenGLViewFixture.h"

namespace sarnova {
namespace {

using TarvoHullView = OpenGLViewFixture;

TEST_F(TarvoHullView, TheFittedHullShowsItsBulb) {
    RegisterGeometryClasses();
    TGeometryInterface Doc;
    TGeoTarvoHull* Hull = test::MakeHullEntity(Doc);
    ASSERT_NE(Hull, nullptr);
    Hull->SetSelected(false);
    Hull->GetSurface();
    TFTParameters& P = Hull->Hull().Parameters();
    Hull->SetParameter(P.IndexOf("DISP"), 4090);
    ASSERT_NEAR(P.GetValue("DISP"), 4090, 1);
    for (int I = 0; I < Doc.Count() - 1; ++I) Doc.Items(I).SetDisplayState(1);
    Doc.ApplyChanges();

    View->resize(480, 240);
    View->OnRedraw = [&Doc](void*, IGraphics& G) {
        G.EditHandle(9, -5, -10, -5);
        G.EditHandle(9, 110, 10, 13);
        for (int I = 0; I < Doc.Count(); ++I) Doc.Items(I).DrawEntity(G);
    };
    View->SetProjection(cmParallel);
    View->ViewZX();
    // Pixels in front of the stem (x 100) at mid-draught: lit only where the bulb is.
    const TPoint Low = View->WorldToScreen(102, 0, 0.5);
    const TPoint High = View->WorldToScreen(102, 0, 2.5);
    const auto LitRows = [&] {
        int Lit = 0;
        for (int Y = std::min(Low.Y, High.Y); Y <= std::max(Low.Y, High.Y); ++Y)
            if (PixelAt(Low.X, Y) != QColor(Qt::black)) ++Lit;
        return Lit;
    };
    View->Render();
    EXPECT_EQ(LitRows(), 0);
    Hull->SetApplyBulb(true);
    Doc.ApplyChanges();
    View->Render();
    const auto Artifacts = std::filesystem::path(GExeDir) / "artifacts";
    std::filesystem::create_directories(Artifacts);
    EXPECT_TRUE(View->grabFramebuffer().save(QString::fromStdString((Artifacts / "tarvo-hull-fit.png").string())));
    EXPECT_GT(LitRows(), 0);
}

}  // namespace
}  // namespace sarnova
