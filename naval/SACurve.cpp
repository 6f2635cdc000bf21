#include "naval/SACurve.h"

#include <algorithm>
#include <cmath>

#include "foundation/PolyList.h"
#include "naval/VkHydro.h"

namespace sarnova {

namespace {

// Records and sections meet at the same station within this.
constexpr double StationTolerance = 1e-4;

double FunctionValue(const TSectionProperties& R, double MaxArea, TSectionAreaFunction Function) {
    switch (Function) {
        case safHalfArea:
            return R.Area / 2;
        case safFullArea:
            return R.Area;
        case safAreaRatio:
            return MaxArea > 0 ? R.Area / MaxArea : 0;
        case safLocalCoefficient:
            return R.Breadth != 0 && R.Height != 0 ? R.Area / (R.Breadth * R.Height) : 0;
    }
    return 0;
}

}  // namespace

TSectionAreaCurve SectionAreaCurve(TPolylineList& Sections, double Draught, TSectionAreaFunction Function) {
    TSectionAreaCurve Curve;
    const auto Summary = Sections.SectionsSummary(WaterplaneAtDraught(Draught));
    double MaxArea = 0;
    for (int I = 0; I < Summary->Count(); ++I) MaxArea = std::max(MaxArea, Summary->Items(I).Area);

    // The sections by station, so that each record finds its section without a scan of the list.
    std::vector<std::pair<double, int>> ByStation;
    for (int I = 0; I < Sections.Count(); ++I) ByStation.emplace_back(Sections.Items(I)->GetStation(), I);
    std::sort(ByStation.begin(), ByStation.end());
    Curve.SectionValues.assign(static_cast<std::size_t>(Sections.Count()), 0.0);
    std::vector<bool> Wet(static_cast<std::size_t>(Sections.Count()), false);

    for (int I = 0; I < Summary->Count(); ++I) {
        const TSectionProperties& R = Summary->Items(I);
        const double V = FunctionValue(R, MaxArea, Function);
        Curve.Points.push_back({R.Station, V});
        auto At = std::lower_bound(ByStation.begin(), ByStation.end(), std::make_pair(R.Station - StationTolerance, -1));
        for (; At != ByStation.end() && At->first <= R.Station + StationTolerance; ++At) {
            const auto Index = static_cast<std::size_t>(At->second);
            if (Wet[Index]) continue;
            Wet[Index] = true;
            Curve.SectionValues[Index] = V;
            break;
        }
    }
    for (std::size_t I = 0; I < Wet.size(); ++I)
        if (!Wet[I]) Curve.Points.push_back({Sections.Items(static_cast<int>(I))->GetStation(), 0});
    std::stable_sort(Curve.Points.begin(), Curve.Points.end(),
                     [](const TSectionAreaPoint& A, const TSectionAreaPoint& B) { return A.Station < B.Station; });
    return Curve;
}

}  // namespace sarnova
