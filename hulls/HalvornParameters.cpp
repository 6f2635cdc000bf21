// The ship hull-lines generator: parameter setters and limits, defaults, the parameter table, the
// text record and the definition file.
#include <algorithm>
#include <cmath>

#include "foundation/TextUtils.h"
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
    P.Beam = Value;
    Rebuild(rbMidSection | rbBowFlat | rbAftFlat | rbDeck);
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

void THalvorn::SetParameter(int Index, double Value) {
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
