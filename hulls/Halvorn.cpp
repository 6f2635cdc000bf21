// The ship hull-lines generator: stations and the curves drawn before generation.
#include "hulls/Halvorn.h"

#include <algorithm>
#include <cmath>

#include "foundation/DuZezOride.h"
#include "foundation/Errors.h"

namespace sarnova {

THalvorn::THalvorn() : TBSplineSurface(4, 4) { SetDefaults(); }

THalvorn::~THalvorn() = default;

TPolyline& THalvorn::Column(int I) {
    if (I < 0 || I >= ColumnListCount())
        throw EError("List index out of bounds (" + std::to_string(I) + ")");
    return *FColumns[static_cast<std::size_t>(I)];
}

double THalvorn::StemRakeAngle() const { return std::atan2(P.Depth - P.Draught, P.ForeOverHang); }

void THalvorn::ClampFlatOfSide() {
    const double M = FMidshipStation, R = P.BilgeRadius, L = P.Lbp;
    if (P.FOSAft > M) P.FOSAft = M;
    if (P.FOSBow < M) P.FOSBow = M;
    const double s = P.TransomBehindAP + P.StBossStart + P.StBossToRoot + R / 2;
    FAftFlatStation = s + (P.FOSAft - s) * 5 / 7;
    if (0.2 * L > FAftFlatStation) {
        FAftFlatStation = 0.2 * L;
        P.FOSAft = s + (FAftFlatStation - s) * 7 / 5;
    }
    const double Step = (FAftFlatStation - s) / 5;
    FBowFlatStation = P.FOSBow + Step - R / 2;
    if (FBowFlatStation > 0.8 * L) {
        FBowFlatStation = 0.8 * L;
        P.FOSBow = FBowFlatStation - (Step - R / 2);
    }
}

void THalvorn::BuildColumnStations() {
    const double R = P.BilgeRadius, L = P.Lbp;
    FColumns.clear();
    auto AddColumns = [this](int N) {
        for (int i = 0; i < N; ++i) FColumns.push_back(std::make_unique<TPolyline>());
    };
    auto Station = [this](int I) { return Column(I).GetStation(); };
    AddColumns(12);
    Column(0).SetStation(-P.TransomBehindAP);
    Column(3).SetStation(P.StBossStart + P.StBossToRoot);
    Column(2).SetStation(Station(3) - 2 * P.StBossToRoot);
    Column(1).SetStation((Station(0) + Station(2)) / 2);
    Column(8).SetStation(FAftFlatStation - R / 2);
    const double v = (Station(8) - Station(3)) / 5;
    for (int i = 4; i <= 10; ++i) Column(i).SetStation(Station(3) + (i - 3) * v);

    const double A = FAftFlatStation - R / 2 + 2 * v;
    const double Gap = (FBowFlatStation + R / 2) - A;
    // A gap shorter than nothing adds no column, as a short one does.
    const int n = std::max(0, TruncSingle(Gap / v));
    if (n >= 1) {
        AddColumns(n);
        for (int k = 1; k <= n; ++k) Column(10 + k).SetStation(A + k * Gap / n);
    }

    FFirstBowColumn = n + 10;
    FColumnCount = n + 19;
    const double J = FBowFlatStation + R / 2;
    const double BulbStart = L - P.StemRadius - 3 * P.BulbLength;
    const double K = (BulbStart - J) / 5;
    AddColumns(9);
    const double a = StemRakeAngle();
    for (int i = FFirstBowColumn; i < FColumnCount; ++i) {
        double X = J + (i - FFirstBowColumn) * K;
        if (i == FFirstBowColumn) {
            X = J;
        } else if (i == FColumnCount - 4) {
            X = BulbStart;
        } else if (i == FColumnCount - 3) {
            if (P.BowShape == 1) {
                X = L - P.StemRadius;
            } else {
                const double e = P.ForeOverHang * P.Depth / (P.Depth - P.Draught);
                const double g = P.ForeFootRadius * std::tan(a / 2);
                X = L + P.ForeOverHang - e - g / 2;
            }
        }
        Column(i).SetStation(X);
    }

    Clear();
    SetSize(FColumnCount, 12);
    for (auto& C : FColumns) C->Clear();
}

void THalvorn::Rebuild(unsigned What) {
    if (What & rbStations) {
        ClampFlatOfSide();
        BuildColumnStations();
    }
}

void THalvorn::UpdateCurves() { Rebuild(rbAll); }

void THalvorn::Assign(const THalvorn& Source) {
    P = Source.P;
    FMidshipStation = Source.FMidshipStation;
    FParallelDeckLength = Source.FParallelDeckLength;
    FAftFlatStation = Source.FAftFlatStation;
    FBowFlatStation = Source.FBowFlatStation;
    FBowFullnessBreadth = Source.FBowFullnessBreadth;
    FSternKnuckleHeight = Source.FSternKnuckleHeight;
    UpdateCurves();
    TBSplineSurface::Assign(Source);
}

}  // namespace sarnova
