// The infinite plane as the document shows it: a rectangle cut out of the plane by a display box,
// drawn as an outline and rendered as a shaded grid. Also the line forms that the plane, circle and
// arc blocks of a document share.
#pragma once
#include <string>
#include <string_view>

#include "foundation/Graphics.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class IRenderTarget;
class TTextReader;
class TTextWriter;

class TPlane : public IRenderable {
public:
    // Grid cells per side of the rendered rectangle.
    int Divisions = 25;

    // The plane z = 0 with zero extents.
    TPlane() = default;

    const TMPlane& Plane() const { return FPlane; }
    const TMVector& Normal() const { return FPlane.Normal; }
    double Offset() const { return FPlane.Distance; }
    // Stores P oriented by OrientPlane; the normal is not normalised.
    void SetPlane(const TMPlane& P);
    // Stores P as it is.
    void AssignPlane(const TMPlane& P) { FPlane = P; }
    void SetNormal(const TMVector& N) { FPlane.Normal = N; }
    void SetOffset(double D) { FPlane.Distance = D; }
    // Takes Other's plane; extents and divisions stay.
    void Assign(const TPlane& Other) { FPlane = Other.FPlane; }

    // The box inside which the plane is shown.
    const TMBox& Extents() const { return FExtents; }
    void SetExtents(const TMBox& B) { FExtents = B; }

    // The outline of the display rectangle as one closed line strip. A zero normal throws
    // PlaneExtents' EGeometryError.
    void Draw(IGraphics& View) const;
    TMBox GetBounds() override { return FExtents; }
    // Renders through the view's render target, if it has one.
    void Render(IGraphics& View) override;
    // The rectangle cut into Divisions x Divisions quadrilaterals, one quad strip per row, lit from the
    // side the normal points away from.
    void Render(IRenderTarget& Target) const;

    // "Normal=(x,y,z)" and "Offset=d".
    void SaveToText(TTextWriter& Out) const;
    // Reads the two lines by position (their keys are not checked), scales a normal that is not of unit
    // length to one (the offset with it) and orients the plane. A value that is not a number throws
    // ParseFloat's EConvertError; a normal of no length throws EGeometryError.
    void LoadFromText(TTextReader& In);

private:
    TMPlane FPlane = XYPlane;
    TMBox FExtents{};
};

// P with its normal scaled to unit length and its offset with it, the plane staying where it was: the
// form a plane block is read in. A unit normal, or one of no length or not finite, is kept as it is.
TMPlane PlaneOfUnitNormal(const TMPlane& P);

// ---- Line forms of the plane, circle and arc blocks ----

// "<Key>=(x,y,z)", each number as "%g".
std::string VectorLineText(std::string_view Key, const TMVector& V);
// "<Key>=d" with d as "%g".
std::string ValueLineText(std::string_view Key, double D);
// The triple of a line "...(x,y,z)...": the text after the first "(" (the whole line without one, at
// most 255 characters) cut before the first ")", split at its first two commas. Whatever precedes the
// "(" is ignored. Each part goes through ParseFloat, so a missing parenthesis or comma throws its
// EConvertError.
TMVector ParseVectorLine(std::string_view Line);
// The number after the first "=" of a line (the whole line without one, at most 255 characters),
// through ParseFloat.
double ParseValueLine(std::string_view Line);

}  // namespace sarnova
