// The grid in OpenGL: the lines or dots that the grid lays out, in the minor and major colours and
// widths.
#include <GL/gl.h>

#include <algorithm>

#include "platform/qt/OpenGLHelpers.h"
#include "views/OpenGLView.h"
#include "views/ViewGrid.h"

namespace sarnova {

void TViewGrid::Draw(TOpenGLView& View) {
    UpdatePixelMultiplier();
    UpdateRange();
    const TGridPicture Picture = Layout();
    if (!Picture.Dots.empty()) {
        glBegin(GL_POINTS);
        for (const TMVector& P : Picture.Dots) GLVertexVector(P);
        glEnd();
    }
    // OpenGL refuses widths below 1 (and the refusal would fail every render).
    const GLfloat MinorWidth = GLfloat(std::max(MinorLineSize, 1));
    const GLfloat MajorWidth = GLfloat(std::max(MajorLineSize, 1));
    for (const std::vector<TGridLine>& Family : Picture.Lines) {
        if (Family.empty()) continue;
        // Each family starts in the minor style; a change of style ends the primitive.
        bool Major = false;
        SetGLColor(MinorColor);
        glLineWidth(MinorWidth);
        glBegin(GL_LINES);
        for (const TGridLine& L : Family) {
            if (L.Major != Major && (MajorWidth != MinorWidth || MajorColor != MinorColor)) {
                glEnd();
                SetGLColor(L.Major ? MajorColor : MinorColor);
                glLineWidth(L.Major ? MajorWidth : MinorWidth);
                glBegin(GL_LINES);
            }
            Major = L.Major;
            GLVertexVector(L.From);
            GLVertexVector(L.To);
        }
        glEnd();
    }
    glLineWidth(1);
    View.SetLineColor(View.GetStoredLineColor());
}

}  // namespace sarnova
