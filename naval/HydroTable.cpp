#include "naval/HydroTable.h"

#include <algorithm>
#include <cmath>

#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

const std::array<THydrostaticsColumn, HydrostaticsColumnCount>& HydrostaticsColumns() {
    using D = THydrostaticsData;
    static const std::array<THydrostaticsColumn, HydrostaticsColumnCount> Columns = {{
        {"T", &D::Draught, true},        {"DISPM", &D::Displacement, true}, {"VOLM", &D::Volume, true},
        {"LCB", &D::LCB, true},          {"LCB%", &D::LCBPercent, false},   {"VCB", &D::VCB, true},
        {"TCB", &D::TCB, false},         {"KMT", &D::KMT, true},            {"WPA", &D::WaterPlanArea, false},
        {"LCF", &D::LCF, true},          {"LCF%", &D::LCFPercent, false},   {"TCF", &D::TCF, false},
        {"TPC", &D::TPC, true},          {"CB", &D::CB, true},              {"CP", &D::CP, false},
        {"CWP", &D::CWP, false},         {"CM", &D::CM, false},             {"BMT", &D::BMT, false},
        {"BML", &D::BML, false},         {"KML", &D::KML, false},           {"WSA", &D::WettedArea, true},
        {"MCT", &D::MCT, false},
    }};
    return Columns;
}

void THydrostaticsTable::Reset() {
    SetSize(HydrostaticsColumnCount, 1);
    for (int Column = 0; Column < HydrostaticsColumnCount; ++Column)
        SetCellValue(Column, 0, std::string(HydrostaticsColumns()[static_cast<std::size_t>(Column)].Label));
}

void THydrostaticsTable::AddRecord(const THydrostaticsData& R) {
    const std::int32_t Row = RowCount();
    InsertRow(Row);
    for (int Column = 0; Column < ColCount() && Column < HydrostaticsColumnCount; ++Column)
        SetCellValue(Column, Row, R.*HydrostaticsColumns()[static_cast<std::size_t>(Column)].Field);
}

namespace {

[[noreturn]] void ThrowTooManyDraughts() { throw EError("Too many draughts: at most " + IntToStr(MaxDraughtCount)); }

// The draughts of one range "start end step".
void AddDraughtRange(const std::string& Group, std::vector<double>& Draughts) {
    // The list reader's own errors for a malformed range.
    ArrayFromString("(" + Group + ")");
    const std::string Words = CommasToSpaces(Group);
    const double Start = ParseFloat(ExtractWord(Words, 1)), End = ParseFloat(ExtractWord(Words, 2));
    const double Step = std::fabs(ParseFloat(ExtractWord(Words, 3)));
    if (!std::isfinite(Start) || !std::isfinite(End) || !std::isfinite(Step))
        throw EError("The draught list yields a value that is not a finite number");
    const double Steps = std::fabs(End - Start) / Step;
    if (Steps > MaxDraughtCount) ThrowTooManyDraughts();
    const int N = static_cast<int>(std::floor(Steps + 1e-9));
    const bool Even = std::fabs(Steps - N) <= 1e-9 * std::max(1.0, Steps);
    const double Signed = End >= Start ? Step : -Step;
    for (int K = 0; K <= N; ++K)
        // An even range is spread from its start to its end, so its last value is the end itself.
        Draughts.push_back(Even && N > 0 ? Start + (End - Start) * K / N : Start + K * Signed);
    if (!Even) Draughts.push_back(End);
}

}  // namespace

std::vector<double> DraughtsFromText(const std::string& Text) {
    std::vector<double> Draughts;
    std::string Rest = Text;
    for (std::size_t From; (From = Rest.find('(')) != std::string::npos;) {
        const std::size_t To = Rest.find(')', From);
        // The list reader says what is wrong with the parentheses.
        if (To == std::string::npos) ArrayFromString(Text);
        AddDraughtRange(Rest.substr(From + 1, To - From - 1), Draughts);
        if (static_cast<int>(Draughts.size()) > MaxDraughtCount) ThrowTooManyDraughts();
        Rest = Rest.substr(0, From) + " " + Rest.substr(To + 1);
    }
    const std::unique_ptr<TArray> Values = ArrayFromString(Rest);
    for (int I = 0; I < Values->Count(); ++I) Draughts.push_back(Values->GetValue(I));
    if (static_cast<int>(Draughts.size()) > MaxDraughtCount) ThrowTooManyDraughts();
    for (double D : Draughts)
        if (!std::isfinite(D)) throw EError("The draught list yields a value that is not a finite number");
    std::sort(Draughts.begin(), Draughts.end());
    return Draughts;
}

void HydrostaticsAtDraught(TPolylineList& Sections, double Draught, THydrostaticsData& R) {
    ResetHydrostatics(R);
    Sections.HydrostaticSummary(WaterplaneAtDraught(Draught), R);
}

std::string DraughtStatusText(const THydrostaticsData& R) {
    return FormatWithPoint("Draught: %5.3f; Disp: %9.3f", {R.Draught, R.Displacement});
}

}  // namespace sarnova
