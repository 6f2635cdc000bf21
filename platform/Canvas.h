// A 2-D drawing surface (a window, an image, a printer page) with a pen, a brush and a font, addressed in
// integer pixels; and the polygon-region test that goes with it. The GUI paints with the toolkit's
// painter; tests record the calls.
#pragma once
#include <span>
#include <string>

#include "foundation/Colors.h"
#include "platform/Font.h"
#include "foundation/Types.h"

namespace sarnova {

class ICanvas {
public:
    virtual ~ICanvas() = default;

    // Lines and outlines are drawn in the pen colour, filled areas in the brush colour. A brush of
    // clNone fills nothing, and text then goes on a transparent background.
    virtual TColor GetPenColor() const = 0;
    virtual void SetPenColor(TColor Color) = 0;
    virtual TColor GetBrushColor() const = 0;
    virtual void SetBrushColor(TColor Color) = 0;
    // Line width in pixels; 0 and 1 both draw the thinnest line. 1 to begin with.
    virtual int GetPenWidth() const = 0;
    virtual void SetPenWidth(int Width) = 0;

    // Sets the current position without drawing.
    virtual void MoveTo(int X, int Y) = 0;
    // A line from the current position to (X, Y), which becomes the current position.
    virtual void LineTo(int X, int Y) = 0;
    // Open line through the points in the pen colour.
    virtual void Polyline(std::span<const TPoint> Points) = 0;
    // Closed area through the points, filled with the brush (winding rule) and outlined with the pen.
    virtual void Polygon(std::span<const TPoint> Points) = 0;
    // The rectangle and the ellipse inside the box R, filled with the brush and outlined with the pen;
    // as with the platform's rectangles, the box's right and bottom edges lie just outside.
    virtual void Rectangle(const TRect& R) = 0;
    virtual void Ellipse(const TRect& R) = 0;
    // R filled with the brush colour, without an outline.
    virtual void FillRect(const TRect& R) = 0;
    // Drawing is limited to R until ResetClip.
    virtual void SetClipRect(const TRect& R) = 0;
    virtual void ResetClip() = 0;

    // Text whose top-left corner is at (X, Y), in the current font and its colour, on a background of
    // the brush colour; with a font angle the text turns counter-clockwise about that corner.
    virtual void TextOut(int X, int Y, const std::string& Text) = 0;
    virtual int TextWidth(const std::string& Text) = 0;
    virtual int TextHeight(const std::string& Text) = 0;
    // The font of text. Until one is set, a canvas writes black in its device's own font, and GetFont
    // answers a font without a name.
    virtual const TFont& GetFont() const = 0;
    virtual void SetFont(const TFont& Font) = 0;
    // Angle of the font's writing direction in tenths of a degree, counter-clockwise.
    virtual int GetFontAngle() const = 0;
    virtual void SetFontAngle(int Angle) = 0;
};

// Whether pixel P belongs to the region that the polygon covers with the winding fill rule. A pixel
// counts when its centre lies inside, so a rectangle's left and top edges belong to it and its right
// and bottom edges do not, as with the platform's polygon regions.
bool PointInPolygonRegion(std::span<const TPoint> Polygon, TPoint P);

}  // namespace sarnova
