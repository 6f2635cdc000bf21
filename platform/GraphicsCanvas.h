// Two reusable drawing targets: TCanvasInterface draws onto a 2-D canvas (window, image, printer page)
// through a world-to-pixel mapping that its descendants supply; TMatrixPipeline transforms every world
// coordinate by a 4x4 matrix and hands the drawing on to another target (the scale plotter puts one in
// front of its canvas to draw plans, profiles and sections).
#pragma once
#include "foundation/Graphics.h"
#include "platform/Canvas.h"

namespace sarnova {

// Draws onto a canvas with its pen and brush. Descendants map world points to pixels (WorldToScreen)
// and back (ScreenToWorld); the line strip rules are not checked.
class TCanvasInterface : public IGraphics {
public:
    // Takes the canvas's pen colour as line colour and its brush colour as fill colour. The canvas is
    // not owned and must outlive this target.
    TCanvasInterface(ICanvas& Canvas, int Width, int Height);

    int GetWidth() const { return Width; }
    int GetHeight() const { return Height; }
    ICanvas& GetCanvas() { return Canvas; }

    TColor GetLineColor() override;
    TColor GetFillColor() override;
    // Always white.
    TColor GetBackColor() override;
    // White lines would vanish on white paper: white becomes black.
    void SetLineColor(TColor C) override;
    void SetLineWidth(double Width) override;
    void SetFillColor(TColor C) override;
    // Ignored.
    void SetBackColor(TColor C) override;

    void Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) override;
    void Line2D(double X1, double Y1, double X2, double Y2) override;
    void LineStart(double X, double Y, double Z) override;
    void LineNext(double X, double Y, double Z) override;
    void LineFinish() override;
    // In the list's own colours when it has them; afterwards the pen is this target's line colour and
    // the brush white, whatever the list had.
    void Polyline(const TRPoints& Points) override;
    // Filled with the facet's Color, outlined with its EdgeColor; then pen and brush as after Polyline.
    void Polygon(const TPolygon& F) override;
    // Ignored: a canvas has no OpenGL and no edit handles.
    void RenderObject(IRenderable& Obj) override;
    void EditHandle(int Kind, double X, double Y, double Z) override;
    void EditHandlePoint(const TRPoint& P, int Kind) override;
    void VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size, bool Absolute) override;
    // A shaft and four head lines, all ending at the tip; a zero Direction draws nothing.
    void Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) override;
    // In the canvas's current font and colours.
    void TextOut(const std::string& Text, double X, double Y, double Z) override;
    double TextWidth(const std::string& Text) override;
    double TextHeight(const std::string& Text) override;

    TPoint WorldToScreen(double X, double Y, double Z) override = 0;
    TPoint WorldToScreenVector(const TMVector& V) override;
    TPoint WorldToScreenPoint(const TRPoint& P) override;
    TMVector ScreenToWorld(int X, int Y) override = 0;
    TMVector ScreenToWorldPoint(TPoint P) override;
    // The line through ScreenToWorld(X, Y) along (0, 0, 1).
    TMLine ScreenToRay(int X, int Y) override;
    TMLine ScreenToRayPoint(TPoint P) override;

protected:
    int Width;
    int Height;
    ICanvas& Canvas;
    TColor LineColor;
    TColor FillColor;

private:
    // Pen back to the line colour and brush to white, as after every filled shape.
    void RestorePenAndBrush();
};

// Transforms every world coordinate by Matrix and forwards the call to Target; pixel queries come back
// through the inverse matrix. Without a Target nothing is drawn and queries give fixed answers.
class TMatrixPipeline : public IGraphics {
public:
    TMatrixPipeline();

    // Not owned; may be null.
    void SetTarget(IGraphics* G) { Target = G; }
    IGraphics* GetTarget() const { return Target; }
    // A singular M makes Inverse the zero matrix, so every pixel query answers the origin.
    void SetMatrix(const TMMatrix& M);
    const TMMatrix& GetMatrix() const { return Matrix; }
    const TMMatrix& GetInverse() const { return Inverse; }
    TMVector TransformPoint(const TMVector& V) const;
    TMVector InverseTransformPoint(const TMVector& V) const;

    // White without a Target.
    TColor GetLineColor() override;
    TColor GetFillColor() override;
    // Black without a Target.
    TColor GetBackColor() override;
    void SetLineColor(TColor C) override;
    void SetLineWidth(double Width) override;
    void SetFillColor(TColor C) override;
    void SetBackColor(TColor C) override;

    // All line forms reach the Target as LineVectors, LineStartVector and LineNextVector.
    void Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) override;
    void Line2D(double X1, double Y1, double X2, double Y2) override;
    void LinePoints(const TRPoint& P1, const TRPoint& P2) override;
    void LineVectors(const TMVector& P1, const TMVector& P2) override;
    void LineStart(double X, double Y, double Z) override;
    void LineStartPoint(const TRPoint& P) override;
    void LineStartVector(const TMVector& V) override;
    void LineNext(double X, double Y, double Z) override;
    void LineNextPoint(const TRPoint& P) override;
    void LineNextVector(const TMVector& V) override;
    void LineFinish() override;
    // Forwards a transformed copy, freed afterwards even when the Target throws.
    void Polyline(const TRPoints& Points) override;
    void Polygon(const TPolygon& F) override;
    // Ignored.
    void RenderObject(IRenderable& Obj) override;
    void EditHandle(int Kind, double X, double Y, double Z) override;
    void EditHandlePoint(const TRPoint& P, int Kind) override;
    void VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size, bool Absolute) override;
    // Base and tip are transformed, so the arrow scales with the matrix.
    void Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) override;
    void TextOut(const std::string& Text, double X, double Y, double Z) override;
    // The Target's extents made positive; 0 without a Target.
    double TextWidth(const std::string& Text) override;
    double TextHeight(const std::string& Text) override;

    // Pixel (0, 0) without a Target.
    TPoint WorldToScreen(double X, double Y, double Z) override;
    TPoint WorldToScreenVector(const TMVector& V) override;
    TPoint WorldToScreenPoint(const TRPoint& P) override;
    // The origin without a Target.
    TMVector ScreenToWorld(int X, int Y) override;
    TMVector ScreenToWorldPoint(TPoint P) override;
    // The X axis through the origin without a Target.
    TMLine ScreenToRay(int X, int Y) override;
    TMLine ScreenToRayPoint(TPoint P) override;

private:
    TMMatrix Matrix;
    TMMatrix Inverse;
    IGraphics* Target = nullptr;
};

}  // namespace sarnova
