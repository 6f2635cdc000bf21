// A canvas for tests: it draws nothing and records every drawing call with the pen, brush and font
// angle in force, and measures text predictably (a fixed width per character, a fixed height).
#pragma once
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace sarnova {

enum TCanvasCallKind { ccMoveTo, ccLineTo, ccPolyline, ccPolygon, ccTextOut };

struct TCanvasCall {
    TCanvasCallKind Kind = ccMoveTo;
    std::vector<TPoint> Points;  // one point for MoveTo, LineTo and TextOut
    std::string Text;
    TColor PenColor = 0;
    TColor BrushColor = 0;
    int FontAngle = 0;
};

class TRecordingCanvas : public ICanvas {
public:
    std::vector<TCanvasCall> Calls;
    int CharWidth = 8;    // TextWidth is CharWidth per byte of text
    int LineHeight = 16;  // TextHeight of any text

    TRecordingCanvas(TColor PenColor = 0, TColor BrushColor = 0xFFFFFF)
        : PenColor(PenColor), BrushColor(BrushColor) {}

    TColor GetPenColor() const override { return PenColor; }
    void SetPenColor(TColor Color) override { PenColor = Color; }
    TColor GetBrushColor() const override { return BrushColor; }
    void SetBrushColor(TColor Color) override { BrushColor = Color; }
    void MoveTo(int X, int Y) override;
    void LineTo(int X, int Y) override;
    void Polyline(std::span<const TPoint> Points) override;
    void Polygon(std::span<const TPoint> Points) override;
    void TextOut(int X, int Y, const std::string& Text) override;
    int TextWidth(const std::string& Text) override;
    int TextHeight(const std::string& Text) override;
    int GetFontAngle() const override { return FontAngle; }
    void SetFontAngle(int Angle) override { FontAngle = Angle; }

private:
    void Record(TCanvasCallKind Kind, std::vector<TPoint> Points, std::string Text = {});

    TColor PenColor;
    TColor BrushColor;
    int FontAngle = 0;
};

}  // namespace sarnova
