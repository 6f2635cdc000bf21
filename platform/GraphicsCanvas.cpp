#include "platform/GraphicsCanvas.h"

#include <cmath>
#include <memory>
#include <vector>

#include "foundation/Geom.h"
#include "foundation/GeomFacet.h"

namespace sarnova {

namespace {

constexpr TColor White = 0xFFFFFF;

}  // namespace

// ---- TCanvasInterface ----

TCanvasInterface::TCanvasInterface(ICanvas& Canvas, int Width, int Height)
    : Width(Width),
      Height(Height),
      Canvas(Canvas),
      LineColor(Canvas.GetPenColor()),
      FillColor(Canvas.GetBrushColor()) {}

TColor TCanvasInterface::GetLineColor() { return LineColor; }

TColor TCanvasInterface::GetFillColor() { return FillColor; }

TColor TCanvasInterface::GetBackColor() { return White; }

void TCanvasInterface::SetLineColor(TColor C) {
    if (C == White) C = 0;
    LineColor = C;
    Canvas.SetPenColor(C);
}

void TCanvasInterface::SetLineWidth(double Width) { Canvas.SetPenWidth(DrawableLineWidth(Width)); }

void TCanvasInterface::SetFillColor(TColor C) {
    FillColor = C;
    Canvas.SetBrushColor(C);
}

void TCanvasInterface::SetBackColor(TColor) {}

void TCanvasInterface::RestorePenAndBrush() {
    Canvas.SetPenColor(LineColor);
    Canvas.SetBrushColor(White);
}

void TCanvasInterface::Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) {
    const TPoint A = WorldToScreen(X1, Y1, Z1);
    const TPoint B = WorldToScreen(X2, Y2, Z2);
    Canvas.SetPenColor(LineColor);
    Canvas.MoveTo(A.X, A.Y);
    Canvas.LineTo(B.X, B.Y);
}

void TCanvasInterface::Line2D(double X1, double Y1, double X2, double Y2) { Line(X1, Y1, 0, X2, Y2, 0); }

void TCanvasInterface::LineStart(double X, double Y, double Z) {
    const TPoint A = WorldToScreen(X, Y, Z);
    Canvas.SetPenColor(LineColor);
    Canvas.MoveTo(A.X, A.Y);
}

void TCanvasInterface::LineNext(double X, double Y, double Z) {
    const TPoint A = WorldToScreen(X, Y, Z);
    Canvas.LineTo(A.X, A.Y);
}

void TCanvasInterface::LineFinish() {}

void TCanvasInterface::Polyline(const TRPoints& Points) {
    std::vector<TPoint> Pixels;
    Pixels.reserve(static_cast<std::size_t>(Points.Count()));
    for (int i = 0; i < Points.Count(); ++i) Pixels.push_back(WorldToScreenPoint(*Points.Point(i)));
    if (Points.OwnColors) {
        Canvas.SetPenColor(Points.LineColor);
        Canvas.SetBrushColor(Points.FillColor);
    }
    if (!Pixels.empty()) {
        if (Points.Filled)
            Canvas.Polygon(Pixels);
        else
            Canvas.Polyline(Pixels);
    }
    RestorePenAndBrush();
}

void TCanvasInterface::Polygon(const TPolygon& F) {
    std::vector<TPoint> Pixels;
    for (int i = 0; i < F.CornerCount(); ++i) Pixels.push_back(WorldToScreenPoint(F.Corner(i)->AsPoint()));
    Canvas.SetPenColor(F.EdgeColor);
    Canvas.SetBrushColor(F.Color);
    Canvas.Polygon(Pixels);
    RestorePenAndBrush();
}

void TCanvasInterface::RenderObject(IRenderable&) {}

void TCanvasInterface::EditHandle(int, double, double, double) {}

void TCanvasInterface::EditHandlePoint(const TRPoint&, int) {}

void TCanvasInterface::VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size, bool Absolute) {
    Vector(Base.Vector(), Direction.Vector(), Size, Absolute);
}

void TCanvasInterface::Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) {
    TArrowLines Lines;
    if (!ArrowLines(Base, Direction, Size, Absolute, Lines)) return;
    for (const auto& [From, To] : Lines) LineVectors(From, To);
}

void TCanvasInterface::TextOut(const std::string& Text, double X, double Y, double Z) {
    const TPoint A = WorldToScreen(X, Y, Z);
    Canvas.TextOut(A.X, A.Y, Text);
}

double TCanvasInterface::TextWidth(const std::string& Text) { return Canvas.TextWidth(Text); }

double TCanvasInterface::TextHeight(const std::string& Text) { return Canvas.TextHeight(Text); }

TPoint TCanvasInterface::WorldToScreenVector(const TMVector& V) { return WorldToScreen(V.X, V.Y, V.Z); }

TPoint TCanvasInterface::WorldToScreenPoint(const TRPoint& P) { return WorldToScreen(P.X, P.Y, P.Z); }

TMVector TCanvasInterface::ScreenToWorldPoint(TPoint P) { return ScreenToWorld(P.X, P.Y); }

TMLine TCanvasInterface::ScreenToRay(int X, int Y) { return {ScreenToWorld(X, Y), {0, 0, 1}}; }

TMLine TCanvasInterface::ScreenToRayPoint(TPoint P) { return ScreenToRay(P.X, P.Y); }

// ---- TMatrixPipeline ----

TMatrixPipeline::TMatrixPipeline() : Matrix(IdentityMatrix), Inverse(IdentityMatrix) {}

void TMatrixPipeline::SetMatrix(const TMMatrix& M) {
    Matrix = M;
    Inverse = MatrixInverse(M);
}

TMVector TMatrixPipeline::TransformPoint(const TMVector& V) const { return MatrixTransformPoint(Matrix, V); }

TMVector TMatrixPipeline::InverseTransformPoint(const TMVector& V) const {
    return MatrixTransformPoint(Inverse, V);
}

TColor TMatrixPipeline::GetLineColor() { return Target ? Target->GetLineColor() : White; }

TColor TMatrixPipeline::GetFillColor() { return Target ? Target->GetFillColor() : White; }

TColor TMatrixPipeline::GetBackColor() { return Target ? Target->GetBackColor() : 0; }

void TMatrixPipeline::SetLineColor(TColor C) {
    if (Target) Target->SetLineColor(C);
}

void TMatrixPipeline::SetLineWidth(double Width) {
    if (Target) Target->SetLineWidth(Width);
}

void TMatrixPipeline::SetFillColor(TColor C) {
    if (Target) Target->SetFillColor(C);
}

void TMatrixPipeline::SetBackColor(TColor C) {
    if (Target) Target->SetBackColor(C);
}

void TMatrixPipeline::Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) {
    LineVectors({X1, Y1, Z1}, {X2, Y2, Z2});
}

void TMatrixPipeline::Line2D(double X1, double Y1, double X2, double Y2) { LineVectors({X1, Y1, 0}, {X2, Y2, 0}); }

void TMatrixPipeline::LinePoints(const TRPoint& P1, const TRPoint& P2) { LineVectors(P1.Vector(), P2.Vector()); }

void TMatrixPipeline::LineVectors(const TMVector& P1, const TMVector& P2) {
    if (Target) Target->LineVectors(TransformPoint(P1), TransformPoint(P2));
}

void TMatrixPipeline::LineStart(double X, double Y, double Z) { LineStartVector({X, Y, Z}); }

void TMatrixPipeline::LineStartPoint(const TRPoint& P) { LineStartVector(P.Vector()); }

void TMatrixPipeline::LineStartVector(const TMVector& V) {
    if (Target) Target->LineStartVector(TransformPoint(V));
}

void TMatrixPipeline::LineNext(double X, double Y, double Z) { LineNextVector({X, Y, Z}); }

void TMatrixPipeline::LineNextPoint(const TRPoint& P) { LineNextVector(P.Vector()); }

void TMatrixPipeline::LineNextVector(const TMVector& V) {
    if (Target) Target->LineNextVector(TransformPoint(V));
}

void TMatrixPipeline::LineFinish() {
    if (Target) Target->LineFinish();
}

void TMatrixPipeline::Polyline(const TRPoints& Points) {
    if (!Target) return;
    const std::unique_ptr<TRPoints> Copy = Points.Transformed(Matrix);
    Target->Polyline(*Copy);
}

void TMatrixPipeline::Polygon(const TPolygon& F) {
    if (!Target) return;
    const std::unique_ptr<TPolygon> Copy = TransformedPolygon(F, Matrix);
    Target->Polygon(*Copy);
}

void TMatrixPipeline::RenderObject(IRenderable&) {}

void TMatrixPipeline::EditHandle(int, double, double, double) {}

void TMatrixPipeline::EditHandlePoint(const TRPoint&, int) {}

void TMatrixPipeline::VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size, bool Absolute) {
    Vector(Base.Vector(), Direction.Vector(), Size, Absolute);
}

void TMatrixPipeline::Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) {
    if (!Target) return;
    const TMVector B = TransformPoint(Base);
    const TMVector Tip = TransformPoint(VectorAdd(Base, Direction));
    Target->Vector(B, VectorFromTo(B, Tip), Size, Absolute);
}

void TMatrixPipeline::TextOut(const std::string& Text, double X, double Y, double Z) {
    if (!Target) return;
    const TMVector P = TransformPoint({X, Y, Z});
    Target->TextOut(Text, P.X, P.Y, P.Z);
}

double TMatrixPipeline::TextWidth(const std::string& Text) { return Target ? std::fabs(Target->TextWidth(Text)) : 0; }

double TMatrixPipeline::TextHeight(const std::string& Text) {
    return Target ? std::fabs(Target->TextHeight(Text)) : 0;
}

TPoint TMatrixPipeline::WorldToScreen(double X, double Y, double Z) { return WorldToScreenVector({X, Y, Z}); }

TPoint TMatrixPipeline::WorldToScreenVector(const TMVector& V) {
    return Target ? Target->WorldToScreenVector(TransformPoint(V)) : TPoint{0, 0};
}

TPoint TMatrixPipeline::WorldToScreenPoint(const TRPoint& P) { return WorldToScreenVector(P.Vector()); }

TMVector TMatrixPipeline::ScreenToWorld(int X, int Y) {
    return Target ? InverseTransformPoint(Target->ScreenToWorld(X, Y)) : ZeroVector;
}

TMVector TMatrixPipeline::ScreenToWorldPoint(TPoint P) { return ScreenToWorld(P.X, P.Y); }

TMLine TMatrixPipeline::ScreenToRay(int X, int Y) {
    if (!Target) return {ZeroVector, XAxisVector};
    const TMLine Ray = Target->ScreenToRay(X, Y);
    const TMVector P = InverseTransformPoint(Ray.Point);
    const TMVector Q = InverseTransformPoint(VectorAdd(Ray.Point, Ray.Direction));
    return {P, VectorFromTo(P, Q)};
}

TMLine TMatrixPipeline::ScreenToRayPoint(TPoint P) { return ScreenToRay(P.X, P.Y); }

}  // namespace sarnova
