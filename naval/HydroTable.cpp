#include "naval/HydroTable.h"

#include <cmath>

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

std::vector<double> DraughtsFromText(const std::string& Text) {
    const std::unique_ptr<TArray> Values = ArrayFromString(Text);
    if (Values->Count() > MaxDraughtCount)
        throw EError("Too many draughts: at most " + IntToStr(MaxDraughtCount));
    std::vector<double> Draughts;
    for (int I = 0; I < Values->Count(); ++I) {
        const double D = Values->GetValue(I);
        if (!std::isfinite(D)) throw EError("The draught list yields a value that is not a finite number");
        Draughts.push_back(D);
    }
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
