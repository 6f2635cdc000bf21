// A 2-D drawing surface (a window, an image, a printer page) with a pen, a brush and a font, addressed in
// integer pixels; and the polygon-region test that goes with it. The GUI paints with the toolkit's
// painter; tests record the calls.
#pragma once
#include <span>
#include <string>

#include "foundation/Colors.h"
#include "platform/Types.h"

namespace sarnova {

class ICanvas {
public:
    virtual ~ICanvas() = default;

    // Lines and outlines are drawn in the pen colour, filled areas in the brush colour.
    virtual TColor GetPenColor() const = 0;
    virtual void SetPenColor(TColor Color) = 0;
    virtual TColor GetBrushColor() const = 0;
    virtual void SetBrushColor(TColor Color) = 0;

    // Sets the current position without drawing.
    virtual void MoveTo(int X, int Y) = 0;
    // A line from the current position to (X, Y), which becomes the current position.
    virtual void LineTo(int X, int Y) = 0;
    // Open line through the points in the pen colour.
    virtual void Polyline(std::span<const TPoint> Points) = 0;
    // Closed area through the points, filled with the brush (winding rule) and outlined with the pen.
    virtual void Polygon(std::span<const TPoint> Points) = 0;

    // Text whose top-left corner is at (X, Y), in the current font, on a background of the brush
    // colour; with a font angle the text turns counter-clockwise about that corner.
    virtual void TextOut(int X, int Y, const std::string& Text) = 0;
    virtual int TextWidth(const std::string& Text) = 0;
    virtual int TextHeight(const std::string& Text) = 0;
    // Angle of the font's writing direction in tenths of a degree, counter-clockwise.
    virtual int GetFontAngle() const = 0;
    virtual void SetFontAngle(int Angle) = 0;
};

// Whether pixel P belongs to the region that the polygon covers with the winding fill rule. A pixel
// counts when its centre lies inside, so a rectangle's left and top edges belong to it and its right
// and bottom edges do not, as with the platform's polygon regions.
bool PointInPolygonRegion(std::span<const TPoint> Polygon, TPoint P);

}  // namespace sarnova
