// Pressure fields: facet meshes in which every triangle or quadrilateral carries one pressure, as an
// outside analysis delivers them for a hull, with the pressure range, the colour range that maps
// pressures from blue to red, and their text form.
#pragma once
#include <memory>
#include <string_view>

#include "foundation/Polygon.h"

namespace sarnova {

// The colour of Value on the blue-to-red hue ramp from Min to Max: blue below Min, red above Max.
// A range without width (Min = Max) shows the values on it in the ramp's start colour.
TColor PressureRampColour(double Min, double Max, double Value);

class TPressurePolygon : public TPolygon {
public:
    double Pressure = 0;

    TPressurePolygon() = default;
    explicit TPressurePolygon(int Shape) : TPolygon(Shape) {}

    // TPolygon::Assign, then the pressure when F is a pressure polygon.
    void Assign(const TPolygon& F);

    // "3 " or "4 ", the corners and the pressure, every number "%.6f", one blank between them.
    void SaveToText(std::string& Text) const override;
    // Reads such a line; a count other than 3 or 4, or a missing or malformed number, throws
    // EInOutError quoting the line and leaves the facet as it was.
    void LoadFromText(std::string_view Line) override;
};

// A new pressure polygon of F's shape, Assign'ed from F.
std::unique_ptr<TPressurePolygon> CopyPressurePolygon(const TPressurePolygon& F);
// The corners (and vertex normals) carried through M as TransformedPolygon carries them; colours,
// shape, selection and pressure kept.
std::unique_ptr<TPressurePolygon> TransformedPressurePolygon(const TPressurePolygon& F, const TMMatrix& M);

// A facet mesh in which every facet carries a pressure; facets enter as pressure polygons.
class TPressureField : public TPolygonList {
public:
    // Set by CalculateRange.
    double MaxPressure = 0;
    double MinPressure = 0;
    // The pressures shown red and blue.
    double ColourMax = 0;
    double ColourMin = 0;

    // The pressure of facet Index; the list's index error outside 0 .. Count - 1.
    double Pressure(int Index) const { return FacetValue(Index); }
    void SetPressure(int Index, double Value) { SetFacetValue(Index, Value); }
    // A pressure polygon holding everything facet Index holds.
    std::unique_ptr<TPressurePolygon> PressurePolygon(int Index) const;
    int Add(const TPressurePolygon& F);
    int Add(const std::unique_ptr<TPressurePolygon>& F) { return Add(*F); }

    // Clear, ShowNormals copied, then a copy of every facet of Other with its colours and pressure.
    // The four range values stay as they were.
    void Assign(const TPressureField& Other);
    // TransformedPressurePolygon of every facet; ShowNormals copied; range values left at 0.
    std::unique_ptr<TPressureField> Transformed(const TMMatrix& M) const;

    // MinPressure and MaxPressure over the facets (an empty field keeps 1.7e308 and -1.7e308), and
    // the colour range set to them.
    void CalculateRange();
    // Every facet and its edges coloured by PressureRampColour over the colour range.
    void ApplyColours();
    // The colour range, then ApplyColours; the pressure range stays.
    void SetColourRange(double Minimum, double Maximum);
    // Every quadrilateral (0, 1, 2, 3) becomes the triangle (0, 1, 2) followed by the triangle
    // (0, 2, 3), which has its pressure, colours and selection.
    void SplitQuads();

    // The count line and the facets, then CalculateRange and ApplyColours. A count that is no integer
    // throws EConvertError; a facet line that is missing (the block ends before the count is reached)
    // or damaged throws EInOutError naming the facet and the line.
    void LoadFromText(TTextReader& In) override;

protected:
    // The pressure polygon's line.
    void SaveFacet(int Index, std::string& Text) const override;
};

}  // namespace sarnova
