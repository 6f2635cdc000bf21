// A canvas for tests: it draws nothing and records every drawing call with the pen, brush, font and
// font angle in force, and measures text predictably (a fixed width per character, a fixed height).
#pragma once
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace sarnova {

enum TCanvasCallKind {
    ccMoveTo,
    ccLineTo,
    ccPolyline,
    ccPolygon,
    ccTextOut,
    ccRectangle,
    ccEllipse,
    ccFillRect,
    ccClip,  // SetClipRect, or ResetClip when it has no points
};

struct TCanvasCall {
    TCanvasCallKind Kind = ccMoveTo;
    // One point for MoveTo, LineTo and TextOut; top-left and bottom-right for the rectangle calls.
    std::vector<TPoint> Points;
    std::string Text;
    TColor PenColor = 0;
    TColor BrushColor = 0;
    int FontAngle = 0;
    int PenWidth = 1;
    TFont Font;
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
    int GetPenWidth() const override { return PenWidth; }
    void SetPenWidth(int Width) override { PenWidth = Width; }
    void MoveTo(int X, int Y) override;
    void LineTo(int X, int Y) override;
    void Polyline(std::span<const TPoint> Points) override;
    void Polygon(std::span<const TPoint> Points) override;
    void Rectangle(const TRect& R) override;
    void Ellipse(const TRect& R) override;
    void FillRect(const TRect& R) override;
    void SetClipRect(const TRect& R) override;
    void ResetClip() override;
    void TextOut(int X, int Y, const std::string& Text) override;
    int TextWidth(const std::string& Text) override;
    int TextHeight(const std::string& Text) override;
    int GetFontAngle() const override { return FontAngle; }
    void SetFontAngle(int Angle) override { FontAngle = Angle; }
    const TFont& GetFont() const override { return Font; }
    void SetFont(const TFont& Value) override { Font = Value; }

private:
    void Record(TCanvasCallKind Kind, std::vector<TPoint> Points, std::string Text = {});

    TColor PenColor;
    TColor BrushColor;
    int FontAngle = 0;
    int PenWidth = 1;
    TFont Font;
};

}  // namespace sarnova
