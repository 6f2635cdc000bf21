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

// Draws on an active painter, which it does not own. The pen is cosmetic (one device pixel wide),
// polygons fill by the winding rule, and text is black on the brush colour in the painter's font.
class TQtCanvas : public ICanvas {
public:
    explicit TQtCanvas(QPainter& Painter, TColor PenColor = clBlack, TColor BrushColor = clWhite);

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
    void UsePen();
    void UsePenAndBrush();

    QPainter& Painter;
    TColor PenColor;
    TColor BrushColor;
    TPoint Position;
    int FontAngle = 0;
};

}  // namespace sarnova
