#include "entities/PressureField.h"

#include <string>

#include "foundation/TextUtils.h"
#include "foundation/ColorNames.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// The hue at the start of the ramp, where a range without width shows its values.
constexpr int RampStartHue = 160;

// An empty line, a key line or a block head cannot be a facet: the block has ended.
bool EndsBlock(std::string_view Line) {
    const std::string_view T = TrimmedView(Line);
    return T.empty() || T.front() == '[' || T.find('=') != std::string_view::npos;
}

}  // namespace

TColor PressureRampColour(double Min, double Max, double Value) {
    if (Min == Max && Value == Min) return ColorHLSToRGB(RampStartHue, 120, 240);
    return LinearHueColor(Min, Max, Value);
}

// ---- TPressurePolygon ----

void TPressurePolygon::Assign(const TPolygon& F) {
    TPolygon::Assign(F);
    if (const auto* P = dynamic_cast<const TPressurePolygon*>(&F)) Pressure = P->Pressure;
}

void TPressurePolygon::SaveToText(std::string& Text) const {
    Text += CornerCount() == 4 ? "4" : "3";
    for (int I = 0; I < CornerCount(); ++I) {
        const TFacetCorner& P = PolygonCornerOrOrigin(*this, I);
        Text += FormatWithPoint(" %.6f %.6f %.6f", {P.X, P.Y, P.Z});
    }
    Text += FormatWithPoint(" %.6f", {Pressure});
    Text += '\n';
}

void TPressurePolygon::LoadFromText(std::string_view Line) {
    // The pressure follows the corners; it is read first, so that a damaged line changes nothing.
    int Count = 0;
    double Value = 0;
    const bool CountRead = TryStrToInt(ExtractWord(Line, 1), Count) && (Count == 3 || Count == 4);
    if (!CountRead || !TryStrToFloat(ExtractWord(Line, 2 + 3 * Count), Value)) {
        // The corners' own error where they are at fault, else the pressure's.
        TPolygon Probe;
        Probe.LoadFromText(Line);
        throw EInOutError("TPressurePolygon.LoadFromText - Pressure missing or malformed in line " + QuotedLine(Line));
    }
    TPolygon::LoadFromText(Line);
    Pressure = Value;
}

std::unique_ptr<TPressurePolygon> CopyPressurePolygon(const TPressurePolygon& F) {
    auto Copy = std::make_unique<TPressurePolygon>(F.GetShape());
    Copy->Assign(F);
    return Copy;
}

std::unique_ptr<TPressurePolygon> TransformedPressurePolygon(const TPressurePolygon& F, const TMMatrix& M) {
    auto Result = std::make_unique<TPressurePolygon>(F.GetShape());
    Result->TPolygon::Assign(*TransformedPolygon(F, M));
    Result->Pressure = F.Pressure;
    return Result;
}

// ---- TPressureField ----

std::unique_ptr<TPressurePolygon> TPressureField::PressurePolygon(int Index) const {
    auto F = std::make_unique<TPressurePolygon>();
    CopyInto(Index, *F);
    F->Pressure = Pressure(Index);
    return F;
}

int TPressureField::Add(const TPressurePolygon& F) {
    const int Index = TPolygonList::Add(F);
    SetPressure(Index, F.Pressure);
    return Index;
}

void TPressureField::SaveFacet(int Index, std::string& Text) const { PressurePolygon(Index)->SaveToText(Text); }

void TPressureField::Assign(const TPressureField& Other) {
    if (&Other == this) return;
    Clear();
    ShowNormals = Other.ShowNormals;
    for (int I = 0; I < Other.Count(); ++I) {
        auto F = CopyPolygon(Other.Polygon(I));
        SetPressure(TPolygonList::Add(*F), Other.Pressure(I));
    }
}

std::unique_ptr<TPressureField> TPressureField::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TPressureField>();
    Result->ShowNormals = ShowNormals;
    for (int I = 0; I < Count(); ++I) Result->Add(TransformedPressurePolygon(*PressurePolygon(I), M));
    return Result;
}

void TPressureField::CalculateRange() {
    MaxPressure = -1.7e308;
    MinPressure = 1.7e308;
    for (int I = 0; I < Count(); ++I) {
        const double P = Pressure(I);
        if (P > MaxPressure) MaxPressure = P;
        if (P < MinPressure) MinPressure = P;
    }
    ColourMax = MaxPressure;
    ColourMin = MinPressure;
}

void TPressureField::ApplyColours() {
    for (int I = 0; I < Count(); ++I) {
        TFacetRef F = Polygon(I);
        const TColor C = PressureRampColour(ColourMin, ColourMax, Pressure(I));
        F.SetColor(C);
        F.SetEdgeColor(C);
    }
}

void TPressureField::SetColourRange(double Minimum, double Maximum) {
    ColourMin = Minimum;
    ColourMax = Maximum;
    ApplyColours();
}

void TPressureField::SplitQuads() { SplitQuadrilaterals(true); }

void TPressureField::LoadFromText(TTextReader& In) {
    const std::string Head = In.ReadLine();
    const std::size_t Equals = Head.find('=');
    const int N = StrToInt(std::string_view(Head).substr(Equals == std::string::npos ? 0 : Equals + 1, 255));
    // Facets are read line by line, never allocated ahead by the count, so a damaged count cannot
    // exhaust memory; one that runs past the block stops at the block's end.
    for (int I = 0; I < N; ++I) {
        const std::string What = "TPressureField.LoadFromText - Polygon " + std::to_string(I + 1) + " of " +
                                 std::to_string(N);
        if (In.Eof()) throw EInOutError(What + " is missing: the file ends at line " + std::to_string(In.LineNumber()));
        const std::string Line = In.ReadLine();
        const std::string At = " at line " + std::to_string(In.LastLineNumber());
        if (EndsBlock(Line)) throw EInOutError(What + " is missing: the block ends" + At);
        auto F = std::make_unique<TPressurePolygon>();
        try {
            F->LoadFromText(Line);
        } catch (const std::exception& E) {
            throw EInOutError(What + At + ": " + E.what());
        }
        Add(std::move(F));
    }
    CalculateRange();
    ApplyColours();
}

}  // namespace sarnova
