// How a curve-network surface is generated (patch scheme, edge and face preparation, subdivision)
// and which of its intermediate products are drawn: the records, their text forms and the presets.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sarnova {

enum TXTPatchType : std::uint8_t {
    sptLinearCoonsBezier = 0,
    sptCubicCoonsBezier = 1,
    sptCoons = 2,
    sptGregory = 3,
    sptCoonsBrown = 4,
    sptCoonsGregory = 5,
    sptSubdivision = 6,
    sptLSqrsNPatch_C0 = 7,
    sptLSqrsNPatch_C1 = 8,
    sptGregoryNPatch = 9,
};

enum TXTSurfaceDrawOption : int {
    sdoVertices = 0,
    sdoEdges = 1,
    sdoEdgeTangents = 2,
    sdoVertexNormals = 3,
    sdoEdgeSurfaceTangents = 4,
    sdoEdgeSurfaceNormals = 5,
    sdoGlobalFacePolygons = 6,
    sdoSurfaces = 7,
    sdoSurfacePolygons = 8,
    sdoSurfaceNormals = 9,
    sdoLocalEdges = 10,
    sdoLocalEdgeTangents = 11,
    sdoLocalEdgeDerivatives = 12,
    sdoLocalEdgeNormals = 13,
    sdoLocalFacePolygons = 14,
};

// A set of TXTSurfaceDrawOption values, one bit each; bit 15 is never set.
struct TXTSurfaceDrawOptions {
    std::uint16_t Bits = 0;

    bool Has(TXTSurfaceDrawOption O) const { return (Bits >> O) & 1u; }
    void Include(TXTSurfaceDrawOption O) { Bits = static_cast<std::uint16_t>(Bits | (1u << O)); }
    void Exclude(TXTSurfaceDrawOption O) { Bits = static_cast<std::uint16_t>(Bits & ~(1u << O)); }
    bool operator==(const TXTSurfaceDrawOptions&) const = default;
};

// The deepest subdivision a surface is generated with: every level quadruples the faces.
inline constexpr int MaxSubdivisionIterations = 8;

struct TXTSurfaceOptions {
    TXTPatchType PatchType = sptGregory;
    bool JoinAdjacentEdges = false;
    bool ForceBezierEdges = true;
    bool AllowTrianglePatches = false;
    bool UseRegularSubdivision = true;
    bool UseIrregularSubdivision = true;
    std::int32_t SubdivisionIterations = 0;
    bool LinearTangentInterpolation = false;
    bool ForceTwistCompatibility = false;
    double TwistCompatibilityAngle = 0.017453292519943295;  // radians: one degree

    bool operator==(const TXTSurfaceOptions&) const = default;
};

// The presets the property frame offers, with the frame's captions. A default-constructed
// TXTSurfaceOptions is the Gregory Bezier preset, the record of a new surface.
struct TXTSurfaceOptionsPreset {
    const char* Caption;
    TXTSurfaceOptions Options;
};
extern const TXTSurfaceOptions soBilinearBezierBlend;
extern const TXTSurfaceOptions soBicubicBezierBlend;
extern const TXTSurfaceOptions soBicubicBezierTwistCorrection;
extern const TXTSurfaceOptions soCoonsBezier;
extern const TXTSurfaceOptions soGregoryBezier;
extern const TXTSurfaceOptions soCoonsBrownTwist;
extern const TXTSurfaceOptions soCoonsGregoryTwist;
extern const TXTSurfaceOptions soSubdivision;
extern const std::array<TXTSurfaceOptionsPreset, 8> SurfaceOptionsPresets;
// The caption of the preset equal to Options, or "Customised" when none is.
std::string SurfaceOptionsPresetCaption(const TXTSurfaceOptions& Options);

// "[sdoVertices, sdoEdges]": the names of the set bits in the order 0 to 7, 10 to 14, 8, 9;
// "[]" for the empty set.
std::string DrawOptionsToText(TXTSurfaceDrawOptions Options);
// Every option whose name occurs in Text (letter case respected; brackets and separators optional).
TXTSurfaceDrawOptions TextToDrawOptions(std::string_view Text);

// The name of Type; a value above 9 gives "sptLinearCoonsBezier".
std::string SurfacePatchTypeToText(TXTPatchType Type);
// The first patch-type name found in Text, longer names tried before the shorter ones they contain;
// sptLinearCoonsBezier when none occurs.
TXTPatchType TextToSurfacePatchType(std::string_view Text);

// Ten comma-separated fields without blanks: patch type, JoinAdjacentEdges, ForceBezierEdges,
// AllowTrianglePatches, UseRegularSubdivision, UseIrregularSubdivision, LinearTangentInterpolation,
// SubdivisionIterations, ForceTwistCompatibility, TwistCompatibilityAngle. The angle is written with
// 17 significant digits so that it reads back equal.
std::string SurfaceOptionsToText(const TXTSurfaceOptions& Options);
// Reads what SurfaceOptionsToText writes. A boolean is true exactly when its upper-case text is
// "TRUE"; the iteration count raises EConvertError when it is not an integer, the angle when it is not
// a number ("," accepted as decimal separator). Files of older versions hold the angle as "0.0".
TXTSurfaceOptions TextToSurfaceOptions(std::string_view Text);
// TextToSurfaceOptions for the options of a surface read from a file: an iteration count above
// MaxSubdivisionIterations is clamped to it, with a console line naming SurfaceName.
TXTSurfaceOptions ReadSurfaceOptions(std::string_view Text, std::string_view SurfaceName);

// True when all ten fields are equal, the angle compared exactly.
bool SameSurfaceOptions(const TXTSurfaceOptions& A, const TXTSurfaceOptions& B);

}  // namespace sarnova
