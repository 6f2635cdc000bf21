// The GUI stack works where the tests run: a legacy OpenGL widget renders and its pixels read back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QSurfaceFormat>

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// Immediate-mode triangle on a blue background, drawn with the fixed-function pipeline the 3-D view uses.
class TriangleWidget : public QOpenGLWidget {
protected:
    void initializeGL() override { glClearColor(0.0f, 0.0f, 1.0f, 1.0f); }
    void paintGL() override {
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluOrtho2D(-1.0, 1.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glBegin(GL_TRIANGLES);
        glColor3f(1.0f, 0.0f, 0.0f);
        glVertex2f(-0.9f, -0.9f);
        glVertex2f(0.9f, -0.9f);
        glVertex2f(0.0f, 0.9f);
        glEnd();
        glEndList();
        glCallList(list);
        glDeleteLists(list, 1);
    }
};

}  // namespace

TEST(OpenGLSmoke, LegacyWidgetRendersATriangle) {
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRenderableType(QSurfaceFormat::OpenGL);
    // Ask for a context first: showing a GL widget where there is none crashes inside Qt.
    QOpenGLContext probe;
    probe.setFormat(format);
    ASSERT_TRUE(probe.create()) << "no OpenGL context: run the GUI tests under xvfb-run";

    TriangleWidget widget;
    widget.setFormat(format);
    widget.resize(64, 64);
    widget.show();
    QApplication::processEvents();

    ASSERT_TRUE(widget.isValid()) << "no OpenGL context: run the GUI tests under xvfb-run";
    ASSERT_TRUE(widget.context()->format().profile() != QSurfaceFormat::CoreProfile)
        << "the view needs legacy fixed-function OpenGL";
    const QImage image = widget.grabFramebuffer();
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.width(), 64);

    const QColor centre = image.pixelColor(32, 36);
    const QColor corner = image.pixelColor(1, 1);
    EXPECT_EQ(centre, QColor(255, 0, 0)) << centre.name().toStdString();
    EXPECT_EQ(corner, QColor(0, 0, 255)) << corner.name().toStdString();
}
