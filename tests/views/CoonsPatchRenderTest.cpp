// A Coons patch in the rendered display state, drawn by a real view: the patch its curves bound shows
// lit in the entity's colour; a patch its curves do not form shows nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/GBSpline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "document/ShadedRenderer.h"
#include "entities/GCoonsPatch.h"
#include "foundation/BSpline.h"
#include "views/GLRenderer.h"
#include "views/OpenGLViewFixture.h"

namespace sarnova {
namespace {

class CoonsPatchRenderTest : public OpenGLViewFixture {
protected:
    void TearDown() override { RegisterGLRenderer({}); }
    QColor At(double X, double Y) {
        const TPoint S = View->WorldToScreen(X, Y, 0);
        return PixelAt(S.X, S.Y);
    }
    // A patch over straight sides through Corners (the last side closing the loop when Closed).
    TGeometry* AddPatch(const std::vector<TMVector>& Corners, bool Closed) {
        auto Patch = std::make_unique<TGeoCoonsPatch>();
        const std::size_t Sides = Closed ? Corners.size() : Corners.size() - 1;
        for (std::size_t I = 0; I < Sides; ++I) {
            const TMVector A = Corners[I];
            const TMVector B = Corners[(I + 1) % Corners.size()];
            auto Curve = std::make_unique<TGeoBSpline>();
            for (int K = 0; K < 4; ++K)
                Curve->Spline().AddVector({A.X + K * (B.X - A.X) / 3, A.Y + K * (B.Y - A.Y) / 3, 0});
            const std::string Name = "Side" + std::to_string(Doc.Count() + 1);
            Curve->SetName(Name);
            Doc.Add(std::move(Curve));
            Patch->AddCurveName(Name);
        }
        TGeometry* Added = Doc.Add(std::move(Patch));
        Doc.ApplyChanges();
        Added->SetColor(clRed);
        Added->SetDisplayState(dsRendered);
        return Added;
    }
    void Draw(TGeometry* Patch) {
        View->OnRedraw = [Patch](void*, IGraphics& G) {
            G.EditHandle(9, -6, -6, 0);
            G.EditHandle(9, 6, 6, 0);
            Patch->DrawEntity(G);
        };
        View->SetProjection(cmParallel);
        View->ViewXY();
        View->Render();
    }

    TGeometryInterface Doc;
};

TEST_F(CoonsPatchRenderTest, RenderedPatchShowsItsShadedSurface) {
    RegisterGeometryClasses();
    InstallGLRenderer();
    TGeometry* Patch = AddPatch({{-5, -5, 0}, {3, -5, 0}, {3, 5, 0}, {-5, 5, 0}}, true);
    ASSERT_NE(Patch->GetRenderer(), nullptr);
    Draw(Patch);
    const auto LitRed = [](const QColor& C) { return C.red() > 150 && C.green() < 60 && C.blue() < 60; };
    for (const auto& [X, Y] : {std::pair{-3.0, 0.0}, std::pair{2.0, -4.0}, std::pair{0.0, 4.0}})
        EXPECT_TRUE(LitRed(At(X, Y))) << X << ", " << Y << ": " << At(X, Y).name().toStdString();
    EXPECT_EQ(At(4.5, 0), QColor(Qt::black));
}

TEST_F(CoonsPatchRenderTest, PatchItsCurvesDoNotFormShowsNothing) {
    RegisterGeometryClasses();
    InstallGLRenderer();
    TGeometry* Patch = AddPatch({{-5, -5, 0}, {3, -5, 0}, {3, 5, 0}, {-5, 5, 0}}, false);
    EXPECT_EQ(Patch->GetRenderer(), nullptr);
    Draw(Patch);
    EXPECT_EQ(At(-3, 0), QColor(Qt::black));
}

}  // namespace
}  // namespace sarnova
