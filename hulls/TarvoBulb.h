// The parametric bulbous bow: a 6 by 7 B-spline surface in front of and under the stem of a main
// surface, described by ten dimensions. Coordinates follow the hull: x forward, y half-breadth, z up.
#pragma once
#include <cstdint>
#include <memory>

#include "surfaces/BSurface.h"

namespace sarnova {

class TTextReader;
class TTextWriter;

// X of a bulb that has not found its stem.
inline constexpr double BulbNotLocated = -1e33;

class TTarvoBulb {
public:
    // The default dimensions, built as soon as X is known.
    TTarvoBulb();
    // MainSurface (not owned) positions the bulb at its stem.
    explicit TTarvoBulb(TBSplineSurface* AMainSurface);
    TTarvoBulb(const TTarvoBulb&) = delete;
    TTarvoBulb& operator=(const TTarvoBulb&) = delete;

    TBSplineSurface& Surface() const { return *FSurface; }
    TBSplineSurface* MainSurface = nullptr;
    std::uint8_t StemEdge = 0;
    // The stem's x at the bulb's height plus 1e-4; BulbNotLocated until found.
    double X = BulbNotLocated;

    bool IsLocated() const { return X >= -0.5e33; }
    double BulbLength() const { return FBulbLength; }
    double TailLength() const { return FTailLength; }
    double Height() const { return FHeight; }
    double TailBeam() const { return FTailBeam; }
    double Beam() const { return FBeam; }
    double PointHeight() const { return FPointHeight; }
    double TailHeight() const { return FTailHeight; }
    double BeamPointSeparation() const { return FBeamPointSeparation; }
    double SoftNose() const { return FSoftNose; }
    double BarWidth() const { return FBarWidth; }
    // Each stores the value and builds.
    void SetBulbLength(double V);
    void SetTailLength(double V);
    void SetHeight(double V);
    void SetTailBeam(double V);
    void SetBeam(double V);
    void SetPointHeight(double V);
    void SetTailHeight(double V);
    void SetBeamPointSeparation(double V);
    void SetSoftNose(double V);
    void SetBarWidth(double V);

    // X not located and the default dimensions, then Build.
    void SetDefaults();
    // Locate, then Build.
    void Rebuild();
    // The boundary edge of the main surface whose end control points lie furthest forward (the lower
    // code on ties); 0 without a main surface or without points.
    std::uint8_t FindStemEdge() const;
    // X from the stem edge's control polygon at the bulb's height; not located when it does not
    // reach that height. Nothing without a main surface.
    void Locate();
    // The control points from the dimensions; locates first when needed, and changes nothing while
    // X stays unknown.
    void Build();

    // Eleven "Key=value" lines, X first; values with three decimals unless that would change them.
    void SaveToText(TTextWriter& F) const;
    // Eleven lines by position; the surface is not rebuilt. Nothing changes when a value is not a
    // number.
    void LoadFromText(TTextReader& F);

private:
    std::unique_ptr<TBSplineSurface> FSurface;
    double FBulbLength = 2.958;
    double FTailLength = 14.35;
    double FHeight = 4.195;
    double FTailBeam = 2.76;
    double FBeam = 4.8;
    double FPointHeight = 4.195 / 2;
    double FTailHeight = 4.195 / 2;
    double FBeamPointSeparation = 1.7;
    double FSoftNose = 1.8;
    double FBarWidth = 0.4;
};

}  // namespace sarnova
