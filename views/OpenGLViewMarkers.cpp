#include "views/OpenGLViewMarkers.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

#include "platform/qt/OpenGLHelpers.h"
#include "views/OpenGLView.h"
#include "views/OpenGLViewGlyphs.h"

namespace sarnova {

namespace {

// Lighting and the depth test off until the end of the scope; both come back as they were.
class TGLFlatDrawing {
public:
    explicit TGLFlatDrawing(bool DepthTestOff = true) {
        glPushAttrib(GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT);
        glDisable(GL_LIGHTING);
        if (DepthTestOff) glDisable(GL_DEPTH_TEST);
    }
    ~TGLFlatDrawing() { glPopAttrib(); }
    TGLFlatDrawing(const TGLFlatDrawing&) = delete;
    TGLFlatDrawing& operator=(const TGLFlatDrawing&) = delete;
};

TMVector AxisPoint(int Axis, double Along, double Off1, double Off2) {
    double C[3] = {0, 0, 0};
    C[Axis] = Along;
    C[(Axis + 1) % 3] = Off1;
    C[(Axis + 2) % 3] = Off2;
    return {C[0], C[1], C[2]};
}

// Four head lines from Back along the axis and Off aside, in each of the two other axes, to the tip.
void GLArrowHead(int Axis, double Tip, double Back, double Off) {
    const TMVector T = AxisPoint(Axis, Tip, 0, 0);
    const TMVector Sides[4] = {AxisPoint(Axis, Back, Off, 0), AxisPoint(Axis, Back, -Off, 0),
                               AxisPoint(Axis, Back, 0, Off), AxisPoint(Axis, Back, 0, -Off)};
    for (const TMVector& S : Sides) {
        GLVertexVector(S);
        GLVertexVector(T);
    }
}

// The edit marker's arrow along an axis: -1 to 1 with a head at each end.
void GLDoubleArrow(int Axis) {
    glBegin(GL_LINES);
    GLVertexVector(AxisPoint(Axis, -1, 0, 0));
    GLVertexVector(AxisPoint(Axis, 1, 0, 0));
    GLArrowHead(Axis, 1, 0.6, 0.1);
    GLArrowHead(Axis, -1, -0.6, 0.1);
    glEnd();
}

// A closed square through (+-0.8, +-0.8) in the plane of the two axes.
void GLSquare(int AxisA, int AxisB) {
    const double Corners[4][2] = {{-0.8, -0.8}, {0.8, -0.8}, {0.8, 0.8}, {-0.8, 0.8}};
    glBegin(GL_LINE_LOOP);
    for (const auto& C : Corners) {
        double P[3] = {0, 0, 0};
        P[AxisA] = C[0];
        P[AxisB] = C[1];
        glVertex3d(P[0], P[1], P[2]);
    }
    glEnd();
}

}  // namespace

// ---- TMarkerState ----

void TMarkerState::SetPosition(const TMVector& P) {
    if (VectorsEqual(P, Position)) return;
    if (Visible) Erase();
    Position = P;
}

void TMarkerState::SetVisible(bool Value) {
    if (Value == Visible) return;
    if (Visible) Erase();
    if (Value) View.MarkDrawn();
    Visible = Value;
}

void TMarkerState::Draw() {
    if (!Visible) {
        Drawn = false;
        return;
    }
    if (View.IsContextReady()) {
        View.MakeCurrent();
        Show();
    }
    Drawn = true;
}

void TMarkerState::Erase() {
    if (!Drawn || !Visible) return;
    if (View.IsContextReady()) {
        View.MakeCurrent();
        Hide();
    }
    Drawn = false;
}

// ---- TSnapState ----

void TSnapState::SetKind(std::uint8_t Value) {
    if (Value == Kind) return;
    if (Visible) Erase();
    Kind = Value;
    if (Kind == 9) Visible = false;
}

void TSnapState::Show() {
    SetGLColor(View.SnapIconColor);
    DrawGlyph();
}

void TSnapState::Hide() {
    SetGLColor(View.GetColor());
    DrawGlyph();
}

void TSnapState::DrawGlyph() {
    static const TViewGlyph ByKind[8] = {vgRing,        vgHollowSquare, vgCross,      vgDot,
                                         vgThickSquare, vgThickRing,    vgThickCross, vgTriangle};
    const TGLFlatDrawing Flat;
    if (Kind == 3)
        DrawGLGlyphAt(Position, vgDot, 2, 2);
    else if (Kind < 8)
        DrawGLGlyphCentred(Position, ByKind[Kind]);
    View.MarkDrawn();
}

// ---- TEditState ----

void TEditState::SetKind(TEditPlaneKind Value) {
    if (Value == Kind) return;
    if (Visible) Erase();
    Kind = Value;
}

void TEditState::Orient(const TMVector& V) {
    Axis = VectorNormalise(VectorCross(V, ZAxisVector));
    Angle = VectorAngle(ZAxisVector, V) * 180 / std::numbers::pi;
}

void TEditState::SetPlane(const TMPlane& Value) {
    if (Visible) Erase();
    Plane = Value;
    Orient(Plane.Normal);
    Kind = epInPlane;
}

void TEditState::SetDirection(const TMVector& Value) {
    if (Visible) Erase();
    Direction = Value;
    Orient(Direction);
    Kind = epAlongVector;
}

void TEditState::SetVisible(bool Value) {
    const TPlaneDirection Code = View.GetCamera().ViewDirectionCode();
    if ((Code == 0 && Kind == epXY) || (Code == 1 && Kind == epYZ) || (Code == 2 && Kind == epZX)) {
        Visible = false;
        return;
    }
    TMarkerState::SetVisible(Value);
}

void TEditState::Show() {
    SetGLColor(View.EditIconColor);
    DrawFigure();
}

void TEditState::Hide() {
    SetGLColor(View.GetColor());
    DrawFigure();
}

void TEditState::DrawFigure() {
    // About 24 pixels per figure unit.
    const double S = View.GetCamera().WorldPerPixel(Position) * 24;
    glMatrixMode(GL_MODELVIEW);
    const TGLFlatDrawing Flat;
    const TGLMatrixSaver Keep(GL_MODELVIEW);
    glTranslated(Position.X, Position.Y, Position.Z);
    glScaled(S, S, S);
    switch (Kind) {
        case epXY: GLSquare(0, 1), GLDoubleArrow(0), GLDoubleArrow(1); break;
        case epYZ: GLSquare(1, 2), GLDoubleArrow(1), GLDoubleArrow(2); break;
        case epZX: GLSquare(0, 2), GLDoubleArrow(2), GLDoubleArrow(0); break;
        case epAlongX: GLDoubleArrow(0); break;
        case epAlongY: GLDoubleArrow(1); break;
        case epAlongZ: GLDoubleArrow(2); break;
        case epInPlane:
            glRotated(Angle, Axis.X, Axis.Y, Axis.Z);
            GLSquare(0, 1), GLDoubleArrow(0), GLDoubleArrow(1);
            break;
        case epAlongVector:
            glRotated(Angle, Axis.X, Axis.Y, Axis.Z);
            GLDoubleArrow(2);
            break;
        default: break;
    }
    if (Kind == epXY || Kind == epZX || Kind == epAlongX) DrawGLGlyphCentred({1.2, 0, 0}, vgLetterX);
    if (Kind == epXY || Kind == epYZ || Kind == epAlongY) DrawGLGlyphAt({0, 1.2, 0}, vgLetterY, 0, 0);
    if (Kind == epYZ || Kind == epZX || Kind == epAlongZ) DrawGLGlyphAt({0, 0, 1.2}, vgLetterZ, 0, 0);
    View.MarkDrawn();
}

// ---- The axis icon ----

void TOpenGLView::DrawAxisTriad(double Length, double HeadStart, double HeadOff, bool DepthTested) {
    glBegin(GL_LINES);
    for (int Axis = 0; Axis < 3; ++Axis) {
        GLVertexVector(ZeroVector);
        GLVertexVector(AxisPoint(Axis, Length, 0, 0));
        GLArrowHead(Axis, Length, HeadStart, HeadOff);
    }
    glEnd();
    const TGLFlatDrawing Flat(!DepthTested);
    const TViewGlyph Letters[3] = {vgLetterX, vgLetterY, vgLetterZ};
    for (int Axis = 0; Axis < 3; ++Axis) DrawGLGlyphAt(AxisPoint(Axis, Length, 0, 0), Letters[Axis], 0, 0);
}

void TOpenGLView::DrawAxisIcon() {
    if (AxisIcon == aiNone || !(State & vfContextReady)) return;
    SetDrawState(dsLines);
    SetGLColor(AxisIconColor);
    if (AxisIcon == aiModelOrigin) {
        const double S = Camera->WorldPerPixel(ZeroVector);
        DrawAxisTriad(40 * S, 35 * S, 3 * S, true);
        return;
    }
    // One unit a pixel, the origin 35 pixels from the lower-left corner, turned as the camera is.
    const TGLMatrixSaver KeepProjection(GL_PROJECTION);
    const TGLMatrixSaver KeepModelView(GL_MODELVIEW);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, GetClientWidth(), 0, GetClientHeight(), -200, 110);
    TMMatrix M = Camera->GetModelViewMatrix();
    M[3][0] = M[3][1] = M[3][2] = 0;
    M[0][3] = 35;
    M[1][3] = 35;
    M[2][3] = 0;
    LoadGLModelViewMatrix(M);
    DrawAxisTriad(40, 35, 3, false);
}

}  // namespace sarnova
