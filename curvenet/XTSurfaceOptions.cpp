#include "curvenet/XTSurfaceOptions.h"

#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"

namespace sarnova {

namespace {

constexpr const char* DrawOptionNames[15] = {
    "sdoVertices",          "sdoEdges",                "sdoEdgeTangents",       "sdoVertexNormals",
    "sdoEdgeSurfaceTangents", "sdoEdgeSurfaceNormals", "sdoGlobalFacePolygons", "sdoSurfaces",
    "sdoSurfacePolygons",   "sdoSurfaceNormals",       "sdoLocalEdges",         "sdoLocalEdgeTangents",
    "sdoLocalEdgeDerivatives", "sdoLocalEdgeNormals",  "sdoLocalFacePolygons"};

// The order the names are written in: the global products, the local ones, then the surface's own.
constexpr int DrawOptionTextOrder[15] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 8, 9};

constexpr const char* PatchTypeNames[10] = {
    "sptLinearCoonsBezier", "sptCubicCoonsBezier", "sptCoons",          "sptGregory",        "sptCoonsBrown",
    "sptCoonsGregory",      "sptSubdivision",      "sptLSqrsNPatch_C0", "sptLSqrsNPatch_C1", "sptGregoryNPatch"};

// A name that contains a shorter one comes first ("sptGregoryNPatch" before "sptGregory",
// "sptCoonsGregory" and "sptCoonsBrown" before "sptCoons").
constexpr TXTPatchType PatchTypeSearchOrder[10] = {
    sptLinearCoonsBezier, sptCubicCoonsBezier, sptGregoryNPatch, sptGregory,        sptCoonsBrown,
    sptCoonsGregory,      sptCoons,            sptSubdivision,   sptLSqrsNPatch_C0, sptLSqrsNPatch_C1};

constexpr TXTSurfaceOptions MakePreset(TXTPatchType Type, bool ForceBezierEdges, bool AllowTrianglePatches,
                                       int SubdivisionIterations, bool ForceTwistCompatibility) {
    TXTSurfaceOptions O;
    O.PatchType = Type;
    O.ForceBezierEdges = ForceBezierEdges;
    O.AllowTrianglePatches = AllowTrianglePatches;
    O.SubdivisionIterations = SubdivisionIterations;
    O.ForceTwistCompatibility = ForceTwistCompatibility;
    return O;
}

const char* BoolText(bool B) { return B ? "True" : "False"; }
bool TextToBool(const std::string& Text) { return UpperCase(Text) == "TRUE"; }

}  // namespace

constexpr TXTSurfaceOptions soBilinearBezierBlend = MakePreset(sptLinearCoonsBezier, false, true, 0, false);
constexpr TXTSurfaceOptions soBicubicBezierBlend = MakePreset(sptCubicCoonsBezier, false, true, 0, false);
constexpr TXTSurfaceOptions soBicubicBezierTwistCorrection = MakePreset(sptCubicCoonsBezier, false, true, 0, true);
constexpr TXTSurfaceOptions soCoonsBezier = MakePreset(sptCoons, true, false, 0, false);
constexpr TXTSurfaceOptions soGregoryBezier = MakePreset(sptGregory, true, false, 0, false);
constexpr TXTSurfaceOptions soCoonsBrownTwist = MakePreset(sptCoonsBrown, false, false, 0, false);
constexpr TXTSurfaceOptions soCoonsGregoryTwist = MakePreset(sptCoonsGregory, false, false, 0, false);
constexpr TXTSurfaceOptions soSubdivision = MakePreset(sptSubdivision, false, true, 5, false);

const std::array<TXTSurfaceOptionsPreset, 8> SurfaceOptionsPresets = {{
    {"Bi-Linear Bezier Blend", soBilinearBezierBlend},
    {"Bi-Cubic Bezier Blend", soBicubicBezierBlend},
    {"Bi-Cubic Bezier with Twist Correction", soBicubicBezierTwistCorrection},
    {"Coons Blend with Browns Square Twist", soCoonsBrownTwist},
    {"Coons Blend with Gregory Square Twist", soCoonsGregoryTwist},
    {"Coons Bezier", soCoonsBezier},
    {"Gregory Bezier", soGregoryBezier},
    {"Subdivision - Brennick", soSubdivision},
}};

std::string SurfaceOptionsPresetCaption(const TXTSurfaceOptions& Options) {
    for (const auto& P : SurfaceOptionsPresets)
        if (SameSurfaceOptions(P.Options, Options)) return P.Caption;
    return "Customised";
}

std::string DrawOptionsToText(TXTSurfaceDrawOptions Options) {
    std::string Names;
    for (int Bit : DrawOptionTextOrder)
        if (Options.Has(static_cast<TXTSurfaceDrawOption>(Bit))) {
            if (!Names.empty()) Names += ", ";
            Names += DrawOptionNames[Bit];
        }
    return "[" + Names + "]";
}

TXTSurfaceDrawOptions TextToDrawOptions(std::string_view Text) {
    // No name is contained in another (letter case counted), so a plain search suffices.
    TXTSurfaceDrawOptions Result;
    for (int Bit = 0; Bit < 15; ++Bit)
        if (Text.find(DrawOptionNames[Bit]) != std::string_view::npos)
            Result.Include(static_cast<TXTSurfaceDrawOption>(Bit));
    return Result;
}

std::string SurfacePatchTypeToText(TXTPatchType Type) {
    return Type <= sptGregoryNPatch ? PatchTypeNames[Type] : PatchTypeNames[sptLinearCoonsBezier];
}

TXTPatchType TextToSurfacePatchType(std::string_view Text) {
    for (TXTPatchType Type : PatchTypeSearchOrder)
        if (Text.find(PatchTypeNames[Type]) != std::string_view::npos) return Type;
    return sptLinearCoonsBezier;
}

std::string SurfaceOptionsToText(const TXTSurfaceOptions& O) {
    std::string Text = SurfacePatchTypeToText(O.PatchType);
    for (bool B : {O.JoinAdjacentEdges, O.ForceBezierEdges, O.AllowTrianglePatches, O.UseRegularSubdivision,
                   O.UseIrregularSubdivision, O.LinearTangentInterpolation}) {
        Text += ',';
        Text += BoolText(B);
    }
    Text += ',' + IntToStr(O.SubdivisionIterations);
    Text += ',';
    Text += BoolText(O.ForceTwistCompatibility);
    // Full precision: with fewer digits a reloaded surface would be patched with another tolerance.
    Text += ',' + FloatToStrF(O.TwistCompatibilityAngle, ffGeneral, 17, 0);
    return Text;
}

TXTSurfaceOptions TextToSurfaceOptions(std::string_view Text) {
    auto Field = [&](int N) { return CommaFieldCount(Text) >= N ? ExtractCommaField(Text, N) : std::string(); };
    TXTSurfaceOptions O;
    O.PatchType = TextToSurfacePatchType(Field(1));
    O.JoinAdjacentEdges = TextToBool(Field(2));
    O.ForceBezierEdges = TextToBool(Field(3));
    O.AllowTrianglePatches = TextToBool(Field(4));
    O.UseRegularSubdivision = TextToBool(Field(5));
    O.UseIrregularSubdivision = TextToBool(Field(6));
    O.LinearTangentInterpolation = TextToBool(Field(7));
    O.SubdivisionIterations = StrToInt(Field(8));
    O.ForceTwistCompatibility = TextToBool(Field(9));
    O.TwistCompatibilityAngle = ParseFloat(Field(10));
    return O;
}

TXTSurfaceOptions ReadSurfaceOptions(std::string_view Text, std::string_view SurfaceName) {
    TXTSurfaceOptions O = TextToSurfaceOptions(Text);
    if (O.SubdivisionIterations > MaxSubdivisionIterations) {
        if (GConsole)
            GConsole->WriteLine("Surface " + std::string(SurfaceName) + ": SubdivisionIterations " +
                                IntToStr(O.SubdivisionIterations) + " reduced to the maximum of " +
                                IntToStr(MaxSubdivisionIterations));
        O.SubdivisionIterations = MaxSubdivisionIterations;
    }
    return O;
}

bool SameSurfaceOptions(const TXTSurfaceOptions& A, const TXTSurfaceOptions& B) {
    return A.PatchType == B.PatchType && A.JoinAdjacentEdges == B.JoinAdjacentEdges &&
           A.ForceBezierEdges == B.ForceBezierEdges && A.AllowTrianglePatches == B.AllowTrianglePatches &&
           A.UseRegularSubdivision == B.UseRegularSubdivision &&
           A.UseIrregularSubdivision == B.UseIrregularSubdivision &&
           A.SubdivisionIterations == B.SubdivisionIterations &&
           A.LinearTangentInterpolation == B.LinearTangentInterpolation &&
           A.ForceTwistCompatibility == B.ForceTwistCompatibility &&
           A.TwistCompatibilityAngle == B.TwistCompatibilityAngle;
}

}  // namespace sarnova
