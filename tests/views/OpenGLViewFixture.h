// A shown 3-D view with a real OpenGL context (the GUI tests run under Xvfb), a clock the test sets,
// and pixel reads of the frame as it is now.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>

#include <GL/gl.h>

#include <cstdint>
#include <memory>

#include "views/OpenGLView.h"

namespace sarnova {

class OpenGLViewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        View = std::make_unique<TOpenGLView>();
        View->resize(200, 160);
        View->show();
        for (int I = 0; I < 200 && !(View->GetStateFlags() & vfContextReady); ++I)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_TRUE(View->GetStateFlags() & vfContextReady) << "no OpenGL context: run the GUI tests under xvfb-run";
        View->MillisecondClock = [this] { return Now; };
        // The triad at the origin would cover the pixels these tests look at (and leave its colour).
        View->SetAxisIcon(aiNone);
    }

    // The pixel as the frame buffer holds it now (x right, y down), without painting again.
    QColor PixelAt(int X, int Y) {
        View->makeCurrent();
        GLubyte RGBA[4] = {};
        glReadPixels(X, View->GetClientHeight() - 1 - Y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, RGBA);
        return QColor(RGBA[0], RGBA[1], RGBA[2]);
    }

    // Whether the colour shows within one pixel of P.
    bool ShowsNear(TPoint P, const QColor& Colour) {
        for (int DY = -1; DY <= 1; ++DY)
            for (int DX = -1; DX <= 1; ++DX)
                if (PixelAt(P.X + DX, P.Y + DY) == Colour) return true;
        return false;
    }

    std::unique_ptr<TOpenGLView> View;
    std::uint32_t Now = 1000;
};

}  // namespace sarnova
