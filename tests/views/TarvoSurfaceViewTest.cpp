// A Tarvo surface lofted through three section curves, drawn by a real view with "Show Blends": the
// row blends show between the sections, across the gaps the surface (lines and outline off) leaves.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <string>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "foundation/TextUtils.h"
#include "hulls/GTarvoCurve.h"
#include "hulls/GTarvoSurface.h"
#include "views/OpenGLViewFixture.h"

namespace sarnova {
namespace {

using TarvoSurfaceView = OpenGLViewFixture;

TEST_F(TarvoSurfaceView, BlendsShowBetweenTheSections) {
    RegisterGeometryClasses();
    TGeometryInterface Doc;
    // Sections at x 0, 10, 20, each rising in y as it climbs, the middle one twice as wide.
    for (const auto& [Name, X, Width] : {std::tuple{"A", 0.0, 1.0}, std::tuple{"B", 10.0, 2.0}, std::tuple{"C", 20.0, 1.0}}) {
        auto Section = std::make_unique<TGeoTarvoCurve>();
        for (int J = 0; J < 4; ++J) Section->Curve().AddPointVector({X, Width * (1 + J), double(J)});
        Section->SetName(Name);
        Doc.Add(std::move(Section));
    }
    auto* Surface = static_cast<TGeoTarvoSurface*>(Doc.Add(std::make_unique<TGeoTarvoSurface>()));
    for (const char* Name : {"A", "B", "C"}) Surface->AddDefinitionCurve(Name);
    Surface->SetDrawParameters(false);
    Surface->SetDrawOutline(false);
    Doc.ApplyChanges();
    ASSERT_EQ(Surface->Surface().Blends().Count(), 4);

    View->OnRedraw = [&Doc](void*, IGraphics& G) {
        G.EditHandle(9, -2, -1, 0);
        G.EditHandle(9, 22, 9, 0);
        for (int I = 0; I < Doc.Count(); ++I) Doc.Items(I).DrawEntity(G);
    };
    View->SetProjection(cmParallel);
    View->ViewXY();

    // The column of pixels at x = 5, between the first two sections, across every row.
    const TPoint Low = View->WorldToScreen(5, 0, 0);
    const TPoint High = View->WorldToScreen(5, 9, 0);
    const auto LitRows = [&] {
        int Lit = 0;
        for (int Y = std::min(Low.Y, High.Y); Y <= std::max(Low.Y, High.Y); ++Y)
            if (PixelAt(Low.X, Y) != QColor(Qt::black)) ++Lit;
        return Lit;
    };
    View->Render();
    const int Without = LitRows();
    Surface->SetDrawBlends(true);
    View->Render();
    const auto Artifacts = std::filesystem::path(GExeDir) / "artifacts";
    std::filesystem::create_directories(Artifacts);
    EXPECT_TRUE(View->grabFramebuffer().save(QString::fromStdString((Artifacts / "tarvo-surface-blends.png").string())));
    EXPECT_GE(LitRows(), Without + 4);  // one crossing per blend at least
}

}  // namespace
}  // namespace sarnova
