// The canvas on a QPainter: windows, images and printer pages are drawn on alike.
#pragma once
#include <QColor>
#include <QFont>

#include "platform/Canvas.h"
#include "platform/Font.h"

class QPainter;

namespace sarnova {

// The colour a TColor stands for: system colours come from the application palette, clNone is
// transparent, anything else is its red, green and blue bytes.
QColor ColorToQColor(TColor Color);
// The red, green and blue of a colour chosen on screen as a TColor.
TColor QColorToColor(const QColor& Color);
// The font a TFont describes: family, point size (when given) and style bits; its colour is the
// caller's.
QFont FontToQFont(const TFont& Font);

// Draws on an active painter, which it does not own. A pen of width 0 or 1 is cosmetic (one device
// pixel wide), wider pens have round ends; polygons fill by the winding rule. Text is drawn on the brush
// colour in the font set last, or black in the painter's own font until one is set.
class TQtCanvas : public ICanvas {
public:
    explicit TQtCanvas(QPainter& Painter, TColor PenColor = clBlack, TColor BrushColor = clWhite);

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
    void SetFont(const TFont& Value) override;

private:
    void UsePen();
    void UsePenAndBrush();

    QPainter& Painter;
    TColor PenColor;
    TColor BrushColor;
    TPoint Position;
    int FontAngle = 0;
    int PenWidth = 1;
    TFont Font;
};

}  // namespace sarnova
