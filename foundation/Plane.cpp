#include "foundation/Plane.h"

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/RenderTarget.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// Lines are read as the short strings they were written to: at most 255 characters after the marker.
constexpr std::size_t MaxValueText = 255;

// The text before the first Separator; empty when there is none, so that a missing separator fails
// the number conversion instead of passing silently.
std::string_view Before(std::string_view Text, char Separator) {
    const auto Pos = Text.find(Separator);
    return Pos == std::string_view::npos ? std::string_view{} : Text.substr(0, Pos);
}

std::string_view After(std::string_view Text, char Separator) {
    const auto Pos = Text.find(Separator);
    return Text.substr(Pos == std::string_view::npos ? 0 : Pos + 1, MaxValueText);
}

}  // namespace

void TPlane::SetPlane(const TMPlane& P) {
    FPlane = P;
    OrientPlane(FPlane);
}

void TPlane::Draw(IGraphics& View) const {
    const auto C = PlaneBoxRectangle(FPlane, FExtents);
    View.LineStartVector(C[0]);
    View.LineNextVector(C[1]);
    View.LineNextVector(C[2]);
    View.LineNextVector(C[3]);
    View.LineNextVector(C[0]);
    View.LineFinish();
}

void TPlane::Render(IGraphics& View) {
    if (IRenderTarget* Target = RenderTargetOf(View)) Render(*Target);
}

void TPlane::Render(IRenderTarget& Target) const {
    const auto C = PlaneBoxRectangle(FPlane, FExtents);
    const int N = Divisions;
    Target.Normal(VectorNegate(FPlane.Normal));
    for (int I = 0; I < N; ++I) {
        Target.Begin(TRenderPrimitive::QuadStrip);
        for (int K = 0; K <= N; ++K) {
            const TMVector A = VectorLerp(C[0], C[3], static_cast<double>(K) / N);
            const TMVector B = VectorLerp(C[1], C[2], static_cast<double>(K) / N);
            Target.Vertex(VectorLerp(A, B, static_cast<double>(I) / N));
            Target.Vertex(VectorLerp(A, B, static_cast<double>(I + 1) / N));
        }
        Target.End();
    }
}

void TPlane::SaveToText(TTextWriter& Out) const {
    Out.WriteLine(VectorLineText("Normal", FPlane.Normal));
    Out.WriteLine(ValueLineText("Offset", FPlane.Distance));
}

void TPlane::LoadFromText(TTextReader& In) {
    const TMVector N = ParseVectorLine(In.ReadLine());
    const double D = ParseValueLine(In.ReadLine());
    const double Length = VectorLength(N);
    if (!(Length > 0) || !std::isfinite(Length)) throw EGeometryError("Plane normal is not a direction");
    SetPlane(PlaneOfUnitNormal({N, D}));
}

TMPlane PlaneOfUnitNormal(const TMPlane& P) {
    const double Length = VectorLength(P.Normal);
    // A unit normal is kept as it is, so that a plane read back is the plane written.
    if (!(Length > 0) || !std::isfinite(Length) || std::fabs(Length - 1) <= 1e-12) return P;
    return {VectorScale(P.Normal, 1.0 / Length), P.Distance / Length};
}

std::string VectorLineText(std::string_view Key, const TMVector& V) {
    return FormatWithPoint("%s=(%g,%g,%g)", {Key, V.X, V.Y, V.Z});
}

std::string ValueLineText(std::string_view Key, double D) { return FormatWithPoint("%s=%g", {Key, D}); }

TMVector ParseVectorLine(std::string_view Line) {
    const std::string_view Inside = Before(After(Line, '('), ')');
    const std::string_view Rest = After(Inside, ',');
    const double X = ParseFloat(Before(Inside, ','));
    const double Y = ParseFloat(Before(Rest, ','));
    const double Z = ParseFloat(After(Rest, ','));
    return {X, Y, Z};
}

double ParseValueLine(std::string_view Line) { return ParseFloat(After(Line, '=')); }

}  // namespace sarnova
