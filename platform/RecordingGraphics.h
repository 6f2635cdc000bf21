// A drawing target for tests: it records every call (drawing, colours and pixel queries) with its
// world points, and answers the pixel queries predictably: WorldToScreen gives ScreenAnswer,
// ScreenToWorld(X, Y) the point (X, Y, 0), ScreenToRay the line through it along (0, 0, 1), and text
// is CharWidth per byte wide and LineHeight high.
#pragma once
#include <string>
#include <vector>

#include "foundation/Graphics.h"

namespace sarnova {

struct TGraphicsCall {
    std::string Name;               // the operation, "Line", "Vector", "SetLineColor", ...
    std::vector<TMVector> Points;   // the world points in argument order (all points of a list)
    TColor Color = 0;               // a colour argument; the line or edge colour of a list or facet
    TColor FillColor = 0;           // the fill colour of a list or facet
    bool OwnColors = false;         // a list's or facet's own-colour flag
    bool Flag = false;              // Vector's Absolute; a list's Filled flag
    double Size = 0;                // Vector's Size
    int Kind = 0;                   // an edit handle's kind
    TPoint Pixel;                   // the pixel of a pixel-to-world query
    std::string Text;
};

class TRecordingGraphics : public IGraphics {
public:
    std::vector<TGraphicsCall> Calls;
    TColor LineColor = 0;
    TColor FillColor = 0;
    TColor BackColor = 0xFFFFFF;
    double LineWidth = 1;
    TPoint ScreenAnswer;
    double CharWidth = 8;
    double LineHeight = 16;

    // The names of the recorded calls, in order.
    std::vector<std::string> Names() const;

    TColor GetLineColor() override { return LineColor; }
    TColor GetFillColor() override { return FillColor; }
    TColor GetBackColor() override { return BackColor; }
    void SetLineColor(TColor C) override;
    void SetFillColor(TColor C) override;
    void SetBackColor(TColor C) override;
    // Recorded with the width as Size.
    void SetLineWidth(double Width) override;

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
    void Polyline(const TRPoints& Points) override;
    void Polygon(const TPolygon& F) override;
    void RenderObject(IRenderable& Obj) override;
    void EditHandle(int Kind, double X, double Y, double Z) override;
    void EditHandlePoint(const TRPoint& P, int Kind) override;
    void VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size, bool Absolute) override;
    void Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) override;
    void TextOut(const std::string& Text, double X, double Y, double Z) override;
    double TextWidth(const std::string& Text) override;
    double TextHeight(const std::string& Text) override;

    TPoint WorldToScreen(double X, double Y, double Z) override;
    TPoint WorldToScreenVector(const TMVector& V) override;
    TPoint WorldToScreenPoint(const TRPoint& P) override;
    TMVector ScreenToWorld(int X, int Y) override;
    TMVector ScreenToWorldPoint(TPoint P) override;
    TMLine ScreenToRay(int X, int Y) override;
    TMLine ScreenToRayPoint(TPoint P) override;

private:
    TGraphicsCall& Record(std::string Name, std::vector<TMVector> Points = {});
    TGraphicsCall& RecordPixel(std::string Name, int X, int Y);
};

}  // namespace sarnova
