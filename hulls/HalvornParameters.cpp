// The ship hull-lines generator: parameter setters and limits, defaults, the parameter table, the
// text record and the definition file.
#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/Halvorn.h"

namespace sarnova {

namespace {

// The record's keys after "BowShape=", with the member each one holds.
struct TRecordField {
    const char* Key;
    double THalvornParameters::*Value;
};

constexpr TRecordField RecordFields[] = {
    {"Lbp", &THalvornParameters::Lbp},
    {"Beam", &THalvornParameters::Beam},
    {"Depth", &THalvornParameters::Depth},
    {"Draught", &THalvornParameters::Draught},
    {"ParallelDeckF", &THalvornParameters::ParallelDeckF},
    {"ParallelDeckA", &THalvornParameters::ParallelDeckA},
    {"FOSBow", &THalvornParameters::FOSBow},
    {"FOSAft", &THalvornParameters::FOSAft},
    {"BowRadiusAtDeck", &THalvornParameters::BowRadiusAtDeck},
    {"BilgeRadius", &THalvornParameters::BilgeRadius},
    {"TransomBehindAP", &THalvornParameters::TransomBehindAP},
    {"TransomImmersion", &THalvornParameters::TransomImmersion},
    {"TransomBeam", &THalvornParameters::TransomBeam},
    {"TransomCurvature", &THalvornParameters::TransomCurvature},
    {"BowCurvature", &THalvornParameters::BowCurvature},
    {"BulbRadius", &THalvornParameters::BulbRadius},
    {"ForeOverHang", &THalvornParameters::ForeOverHang},
    {"BulbLength", &THalvornParameters::BulbLength},
    {"ForeFootRadius", &THalvornParameters::ForeFootRadius},
    {"StemRadius", &THalvornParameters::StemRadius},
    {"StRootHeight", &THalvornParameters::StRootHeight},
    {"StShaftHeight", &THalvornParameters::StShaftHeight},
    {"StBossToRoot", &THalvornParameters::StBossToRoot},
    {"StBossRadius", &THalvornParameters::StBossRadius},
    {"StBossStart", &THalvornParameters::StBossStart},
    {"StFlatOfBottomStart", &THalvornParameters::StFlatOfBottomStart},
};

[[noreturn]] void BadIndex(int Index) {
    throw EError("Parameter Index out of bounds " + std::to_string(Index));
}

}  // namespace

// Three decimals as the record has always been written, unless that loses more than a rounding
// error of the value: the default StRootHeight (3.294666...) would not read back.
std::string RecordNumber(double Value) {
    std::string Text = FormatWithPoint("%.3f", {Value});
    if (std::fabs(ParseFloat(Text) - Value) > 1e-9) Text = FloatToStrWithPoint(Value);
    return Text;
}

std::string MessageNumber(double Value) {
    std::string Text = FormatWithPoint("%.4f", {Value});
    while (Text.back() == '0') Text.pop_back();
    if (Text.back() == '.') Text.pop_back();
    return Text == "-0" ? "0" : Text;
}

// The value of a record line: the text after its first "=", or the whole line.
std::string_view RecordValue(std::string_view Line) {
    const auto Eq = Line.find('=');
    return Eq == std::string_view::npos ? Line : Line.substr(Eq + 1);
}

// ---- Setters ----

void THalvorn::SetBowShape(std::uint8_t Value) {
    P.BowShape = Value;
    Rebuild(rbStem | rbBowFlat);
}

void THalvorn::SetLbp(double Value) {
    if (!std::isfinite(Value) || Value <= 0)
        throw EGeometryError("Lbp must be a length greater than zero (" + FloatToStr(Value) + ")");
    // A record may hold no length at all; then there is nothing to scale.
    const double k = P.Lbp > 0 && std::isfinite(P.Lbp) ? Value / P.Lbp : 1.0;
    P.Lbp = Value;
    FMidshipStation = P.Lbp / 2;
    for (double* Length :
         {&P.Beam, &P.Depth, &P.BilgeRadius, &P.BowRadiusAtDeck, &P.ParallelDeckF, &P.ParallelDeckA,
          &P.ForeOverHang, &P.Draught, &P.StemRadius, &P.BulbLength, &P.BulbRadius, &P.FOSBow,
          &P.ForeFootRadius, &P.TransomImmersion, &P.TransomBeam, &P.TransomBehindAP, &P.FOSAft,
          &P.StRootHeight, &P.StShaftHeight, &P.StBossToRoot, &P.StFlatOfBottomStart, &P.StBossRadius,
          &FSternKnuckleHeight, &P.StBossStart})
        *Length *= k;
    FParallelDeckLength = P.ParallelDeckF - P.ParallelDeckA;
    Rebuild(rbAll);
}

void THalvorn::SetBeam(double Value) {
    unsigned What = rbMidSection | rbBowFlat | rbAftFlat | rbDeck;
    // A transom wider than the hull would stick out of it: it keeps its share of the old beam.
    if (P.TransomBeam > Value && P.Beam > 0) {
        P.TransomBeam *= Value / P.Beam;
        What |= rbTransom;
    }
    P.Beam = Value;
    Rebuild(What);
}

void THalvorn::SetDepth(double Value) {
    P.Depth = Value;
    Rebuild(rbMidSection | rbBowFlat | rbAftFlat | rbStem | rbStern | rbTransom | rbDeck);
}

void THalvorn::SetDraught(double Value) {
    P.Draught = Value;
    Rebuild(rbStem);
}

void THalvorn::SetBilgeRadius(double Value) {
    Value = std::max(Value, 0.0);
    Value = std::min(Value, P.Beam / 2);
    Value = std::min(Value, P.Depth);
    P.BilgeRadius = Value;
    Rebuild(rbMidSection | rbBowFlat | rbAftFlat);
}

void THalvorn::SetBowRadiusAtDeck(double Value) {
    P.BowRadiusAtDeck = Value;
    Rebuild(rbDeck);
}

void THalvorn::SetParallelDeckF(double Value) {
    P.ParallelDeckF = Value;
    FParallelDeckLength = P.ParallelDeckF - P.ParallelDeckA;
    Rebuild(rbStations | rbBowFlat | rbAftFlat | rbDeck);
}

void THalvorn::SetParallelDeckA(double Value) {
    P.ParallelDeckA = Value;
    FParallelDeckLength = P.ParallelDeckF - P.ParallelDeckA;
    Rebuild(rbStations | rbBowFlat | rbAftFlat | rbDeck);
}

void THalvorn::SetFOSBow(double Value) {
    const double S = P.Lbp + P.ForeOverHang;
    // A flat of side standing at the stem head gives no proportion to keep.
    if (P.FOSBow != S) P.ParallelDeckF = S + (Value - S) * (P.ParallelDeckF - S) / (P.FOSBow - S);
    P.FOSBow = Value;
    FParallelDeckLength = P.ParallelDeckF - P.ParallelDeckA;
    Rebuild(rbStations | rbBowFlat | rbAftFlat | rbDeck);
}

void THalvorn::SetFOSAft(double Value) {
    const double S = -P.TransomBehindAP;
    if (P.FOSAft != S) P.ParallelDeckA = S + (Value - S) * (P.ParallelDeckA - S) / (P.FOSAft - S);
    P.FOSAft = Value;
    FParallelDeckLength = P.ParallelDeckF - P.ParallelDeckA;
    Rebuild(rbStations | rbBowFlat | rbAftFlat | rbDeck);
}

void THalvorn::SetForeOverHang(double Value) {
    P.ForeOverHang = std::min(std::max(Value, 0.0), P.Draught);
    Rebuild(rbStem | rbDeck);
}

void THalvorn::SetBowCurvature(double Value) {
    P.BowCurvature = std::clamp(Value, -100.0, 100.0);
    Rebuild(rbStem);
}

void THalvorn::SetBulbLength(double Value) {
    P.BulbLength = std::min(std::max(Value, 0.0), 1.5 * P.ForeOverHang);
    Rebuild(rbStem);
}

void THalvorn::SetForeFootRadius(double Value) {
    P.ForeFootRadius = std::min(std::max(Value, 0.0), P.Draught);
    Rebuild(rbStem);
}

void THalvorn::SetTransomImmersion(double Value) {
    P.TransomImmersion = Value;
    Rebuild(rbTransom | rbStern);
}

void THalvorn::SetTransomBeam(double Value) {
    P.TransomBeam = Value;
    Rebuild(rbTransom | rbDeck);
}

void THalvorn::SetTransomCurvature(double Value) {
    P.TransomCurvature = Value;
    Rebuild(rbTransom);
}

void THalvorn::SetTransomBehindAP(double Value) {
    P.TransomBehindAP = Value;
    Rebuild(rbTransom | rbStern | rbDeck);
}

void THalvorn::SetStRootHeight(double Value) {
    P.StRootHeight = Value;
    Rebuild(rbStern);
}

void THalvorn::SetStShaftHeight(double Value) {
    P.StShaftHeight = Value;
    Rebuild(rbStern);
}

void THalvorn::SetStBossToRoot(double Value) {
    P.StBossToRoot = Value;
    Rebuild(rbStern);
}

void THalvorn::SetStFlatOfBottomStart(double Value) {
    P.StFlatOfBottomStart = Value;
    Rebuild(rbStern);
}

void THalvorn::SetStBossRadius(double Value) {
    P.StBossRadius = Value;
    Rebuild(rbStern);
}

void THalvorn::SetStBossStart(double Value) {
    P.StBossStart = Value;
    Rebuild(rbStern);
}

void THalvorn::SetDefaults() {
    P.BowShape = 0;
    P.Lbp = 100;
    FMidshipStation = P.Lbp / 2;
    P.Beam = 20;
    P.Depth = 9.5;
    P.Draught = 4.172;
    FParallelDeckLength = 52;
    P.ParallelDeckF = FMidshipStation + FParallelDeckLength / 2;
    P.ParallelDeckA = FMidshipStation - FParallelDeckLength / 2;
    P.FOSBow = 60;
    P.FOSAft = 40;
    P.BowRadiusAtDeck = 5.235;
    P.BilgeRadius = 2.05;
    P.TransomBehindAP = 5;
    P.TransomImmersion = P.Draught - 5.032;
    P.TransomBeam = 12;
    P.TransomCurvature = 50;
    P.BowCurvature = 15;
    P.BulbRadius = 1.92;
    P.ForeOverHang = 2;
    P.BulbLength = 1.8;
    P.ForeFootRadius = 2;
    P.StemRadius = 0.1;
    P.StRootHeight = (P.Draught - P.TransomImmersion) * 2 / 3 - 0.06;
    P.StShaftHeight = 1.906;
    P.StBossToRoot = 1.3;
    P.StBossRadius = 0.332;
    P.StBossStart = 1.53;
    P.StFlatOfBottomStart = P.StBossToRoot * 1.7 + P.StBossStart;
    FSternKnuckleHeight = 4.55;
    FLastChanged = -1;
    FBuilt.reset();
    UpdateCurves();
}

// ---- The parameter table ----

std::string THalvorn::ParameterName(int Index) const {
    static const char* const Names[] = {
        "Lbp", "Draught", "Beam", "Depth", "BowRadiusAtDeck", "FlatOfSideBow", "FlatOfSideAft",
        "ParallelDeckF", "ParallelDeckA", "BilgeRadius", "StemRadius", "BowCurvature", "ForeOverHang",
        "TransomBehindAP", "TransomBeam", "TransomCurvature", "TransomImmersion", "StRootHeight",
        "StShaftHeight", "StBossToRoot", "StBossStart", "StBossRadius", "StFlatOfBottomStart"};
    if (Index >= 0 && Index <= 22) return Names[Index];
    if (Index == 23) return P.BowShape == 1 ? "BulbLength" : "ForeFootRadius";
    if (Index == 24) return "BulbRadius";
    BadIndex(Index);
}

double THalvorn::Parameter(int Index) const {
    switch (Index) {
        case 0: return P.Lbp;
        case 1: return P.Draught;
        case 2: return P.Beam;
        case 3: return P.Depth;
        case 4: return P.BowRadiusAtDeck;
        case 5: return P.FOSBow;
        case 6: return P.FOSAft;
        case 7: return P.ParallelDeckF;
        case 8: return P.ParallelDeckA;
        case 9: return P.BilgeRadius;
        case 10: return P.StemRadius;
        case 11: return P.BowCurvature;
        case 12: return P.ForeOverHang;
        case 13: return P.TransomBehindAP;
        case 14: return P.TransomBeam;
        case 15: return P.TransomCurvature;
        case 16: return P.TransomImmersion;
        case 17: return P.StRootHeight;
        case 18: return P.StShaftHeight;
        case 19: return P.StBossToRoot;
        case 20: return P.StBossStart;
        case 21: return P.StBossRadius;
        case 22: return P.StFlatOfBottomStart;
        case 23: return P.BowShape == 1 ? P.BulbLength : P.ForeFootRadius;
        case 24: return P.BulbRadius;
        default: BadIndex(Index);
    }
}

namespace {

// A table row's domain: each end included unless open, and what sets it when another parameter does.
struct TDomain {
    double Low, High;
    bool LowOpen, HighOpen;
    const char* LowWhy = nullptr;
    const char* HighWhy = nullptr;
};

std::string Limit(const char* Relation, double Value, const char* Why) {
    std::string Text = std::string(Relation) + MessageNumber(Value);
    if (Why != nullptr) Text += std::string(" (") + Why + ")";
    return Text;
}

}  // namespace

std::string THalvorn::DomainError(int Index, double Value) const {
    const std::string Name = ParameterName(Index);
    if (!std::isfinite(Value)) return Name + " must be a number";
    constexpr double Inf = std::numeric_limits<double>::infinity();
    const double B = P.Beam, D = P.Depth, T = P.Draught, Midships = P.Lbp / 2;
    const double StemHead = P.Lbp + P.ForeOverHang, Transom = -P.TransomBehindAP;
    TDomain R{0, Inf, true, true};
    switch (Index) {
        case 1: R = {0, D, true, true, nullptr, "Depth"}; break;
        case 2: {
            // The bilge and the bow's rounding at the deck must fit in the half-breadth.
            const double Bow = P.BowRadiusAtDeck + 2 * P.StemRadius;
            if (Bow > 2 * P.BilgeRadius && Bow > 0)
                R = {Bow, Inf, false, true, "BowRadiusAtDeck plus twice StemRadius"};
            else if (P.BilgeRadius > 0)
                R = {2 * P.BilgeRadius, Inf, false, true, "twice BilgeRadius"};
            break;
        }
        case 3:
            R = T >= P.BilgeRadius ? TDomain{T, Inf, true, true, "Draught"}
                                   : TDomain{P.BilgeRadius, Inf, false, true, "BilgeRadius"};
            break;
        case 4: R = {0, B - 2 * P.StemRadius, false, false, nullptr, "Beam less twice StemRadius"}; break;
        case 5: R = {Midships, StemHead, false, true, "midships", "the stem head"}; break;
        case 6: R = {Transom, Midships, true, false, "the transom", "midships"}; break;
        case 7: R = {P.ParallelDeckA, StemHead, true, true, "ParallelDeckA", "the stem head"}; break;
        case 8: R = {0, P.ParallelDeckF, false, true, "the aft perpendicular", "ParallelDeckF"}; break;
        case 9:
            R = B / 2 <= D ? TDomain{0, B / 2, true, false, nullptr, "half the Beam"}
                           : TDomain{0, D, true, false, nullptr, "Depth"};
            break;
        case 10: R = {0, B / 2, false, true, nullptr, "half the Beam"}; break;
        case 11:
        case 15: R = {-100, 100, false, false}; break;
        case 12: R = {0, T, false, false, nullptr, "Draught"}; break;
        case 13: R = {0, Inf, false, true}; break;
        case 14: R = {0, B, false, false, nullptr, "Beam"}; break;
        // The transom's bottom, at Draught - TransomImmersion, stands between the base line and the deck.
        case 16: R = {T - D, T, true, false, "Draught less Depth", "Draught"}; break;
        case 17:
            R = {P.StShaftHeight + P.StBossRadius, T - P.TransomImmersion, true, true,
                 "StShaftHeight plus StBossRadius", "the transom's bottom"};
            break;
        case 18:
            R = {P.StBossRadius, P.StRootHeight - P.StBossRadius, true, true, "StBossRadius",
                 "StRootHeight less StBossRadius"};
            break;
        case 20: R = {Transom, P.StFlatOfBottomStart, true, true, "the transom", "StFlatOfBottomStart"}; break;
        case 21: R = {0, P.StShaftHeight, true, true, nullptr, "StShaftHeight"}; break;
        case 22: R = {P.StBossStart, Midships, true, true, "StBossStart", "midships"}; break;
        case 23:
            R = P.BowShape == 1 ? TDomain{0, 1.5 * P.ForeOverHang, false, false, nullptr, "1.5 ForeOverHang"}
                                : TDomain{0, T, false, false, nullptr, "Draught"};
            break;
        case 24: R = {0, B / 2, true, false, nullptr, "half the Beam"}; break;
        default: break;
    }
    if (R.LowOpen ? !(Value > R.Low) : !(Value >= R.Low))
        return Name + " must be " + Limit(R.LowOpen ? "greater than " : "at least ", R.Low, R.LowWhy);
    if (R.HighOpen ? !(Value < R.High) : !(Value <= R.High))
        return Name + " must be " + Limit(R.HighOpen ? "less than " : "at most ", R.High, R.HighWhy);
    return {};
}

void THalvorn::SetParameter(int Index, double Value) {
    const std::string Error = DomainError(Index, Value);
    if (!Error.empty()) throw EGeometryError(Error);
    FLastChanged = Index;
    FLastChangedFrom = Parameter(Index);
    switch (Index) {
        case 0: SetLbp(Value); break;
        case 1: SetDraught(Value); break;
        case 2: SetBeam(Value); break;
        case 3: SetDepth(Value); break;
        case 4: SetBowRadiusAtDeck(Value); break;
        case 5: SetFOSBow(Value); break;
        case 6: SetFOSAft(Value); break;
        case 7: SetParallelDeckF(Value); break;
        case 8: SetParallelDeckA(Value); break;
        case 9: SetBilgeRadius(Value); break;
        case 10: SetStemRadius(Value); break;
        case 11: SetBowCurvature(Value); break;
        case 12: SetForeOverHang(Value); break;
        case 13: SetTransomBehindAP(Value); break;
        case 14: SetTransomBeam(Value); break;
        case 15: SetTransomCurvature(Value); break;
        case 16: SetTransomImmersion(Value); break;
        case 17: SetStRootHeight(Value); break;
        case 18: SetStShaftHeight(Value); break;
        case 19: SetStBossToRoot(Value); break;
        case 20: SetStBossStart(Value); break;
        case 21: SetStBossRadius(Value); break;
        case 22: SetStFlatOfBottomStart(Value); break;
        case 23:
            if (P.BowShape == 1)
                SetBulbLength(Value);
            else
                SetForeFootRadius(Value);
            break;
        case 24: SetBulbRadius(Value); break;
        default: BadIndex(Index);
    }
}

// ---- The record and the definition file ----

void THalvorn::SaveToText(TTextWriter& F) const {
    F.WriteLine("BowShape=" + IntToStr(P.BowShape));
    for (const auto& Field : RecordFields) F.WriteLine(std::string(Field.Key) + "=" + RecordNumber(P.*Field.Value));
    TBSplineSurface::SaveToText(F);
}

void THalvorn::LoadFromText(TTextReader& F) {
    THalvornParameters Read;
    Read.BowShape = StrToInt(Trim(RecordValue(F.ReadLineView()))) == 1 ? 1 : 0;
    for (const auto& Field : RecordFields) Read.*Field.Value = ParseFloat(Trim(RecordValue(F.ReadLineView())));

    // The surface block may still fail: keep what is needed to put the generator back.
    const THalvornParameters Old = P;
    TTextWriter OldSurface;
    TBSplineSurface::SaveToText(OldSurface);
    P = Read;
    FMidshipStation = P.Lbp / 2;
    FParallelDeckLength = P.ParallelDeckF - P.ParallelDeckA;
    try {
        UpdateCurves();
        TBSplineSurface::LoadFromText(F);
    } catch (...) {
        P = Old;
        FMidshipStation = P.Lbp / 2;
        FParallelDeckLength = P.ParallelDeckF - P.ParallelDeckA;
        UpdateCurves();
        TTextReader Back(OldSurface.Text());
        TBSplineSurface::LoadFromText(Back);
        throw;
    }
    // A stored net is the hull these parameters built.
    FLastChanged = -1;
    FBuilt.reset();
    if (PointCount() > 0) {
        const TMBox Box = GetExtents();
        if (Box.Max.X > Box.Min.X) FBuilt = TBuilt{P, FSternKnuckleHeight};
    }
}

void THalvorn::SaveToFile(const std::filesystem::path& FileName) const {
    TTextWriter F;
    F.WriteLine("[" + GeneratorClassName() + "]");
    SaveToText(F);
    F.SaveToFile(FileName);
}

void THalvorn::LoadFromFile(const std::filesystem::path& FileName) {
    TTextReader F = TTextReader::FromFile(FileName);
    const std::string_view First = F.ReadLineView();
    const std::string Name = GeneratorClassName();
    if (First.size() < Name.size() + 1 || First.substr(1, Name.size()) != Name)
        throw EGeometryError("File does not contain a Halvorn Definition");
    LoadFromText(F);
}

}  // namespace sarnova
