// The view's hooks for renderable objects: a world point placed in the pixels of the pixel overlay,
// with its depth, as the view shows it.
#include <gtest/gtest.h>

#include "foundation/RenderTarget.h"
#include "platform/qt/OpenGLHelpers.h"
#include "views/OpenGLViewFixture.h"

namespace sarnova {
namespace {

using RenderTargetHooksTest = OpenGLViewFixture;

TEST_F(RenderTargetHooksTest, WorldToWindowPlacesPointsAsTheViewShowsThem) {
    int Placed = 0;
    View->OnRedraw = [&](void*, IGraphics& G) {
        IRenderTarget* Target = RenderTargetOf(G);
        ASSERT_NE(Target, nullptr);
        TMVector Window;
        // Passes that only measure have no window to place points in.
        if (!Target->WorldToWindow({3, 2, 0}, Window)) return;
        ++Placed;
        const TPoint Screen = G.WorldToScreen(3, 2, 0);
        EXPECT_NEAR(Window.X, Screen.X, 1);
        EXPECT_NEAR(Window.Y, Screen.Y, 1);
        EXPECT_TRUE(Window.Z >= 0 && Window.Z <= 1);
    };
    View->SetProjection(cmParallel);
    View->ViewXY();
    EXPECT_GT(Placed, 0);
}

}  // namespace
}  // namespace sarnova
