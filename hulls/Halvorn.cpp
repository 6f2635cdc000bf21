// The ship hull-lines generator: stations and the curves drawn before generation.
#include "hulls/Halvorn.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"

namespace sarnova {

THalvorn::THalvorn()
    : TBSplineSurface(4, 4),
      FMidSection(std::make_unique<TBSpline>()),
      FStem(std::make_unique<TBSpline>()),
      FStern(std::make_unique<TBSpline>()),
      FSternSide(std::make_unique<TBSpline>()),
      FTransom(std::make_unique<TBSpline>()),
      FDeckLine(std::make_unique<TBSpline>()),
      FDeck(std::make_unique<TBSpline>()),
      FBowFlatTangenet(std::make_unique<TBSpline>()),
      FAftFlatTangent(std::make_unique<TBSpline>()),
      FBowFullness(std::make_unique<TBSpline>()),
      FProjection(std::make_unique<TBSpline>()),
      FFullStern(std::make_unique<TBSpline>()) {
    SetDefaults();
}

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

double THalvorn::StemFootX() const {
    return StemHeadX() - P.Depth * P.ForeOverHang / (P.Depth - P.Draught);
}

void THalvorn::BuildMidSection() {
    const double M = FMidshipStation, B = P.Beam, R = P.BilgeRadius, D = P.Depth;
    const double f = B / 2 - R;
    TBSpline& C = *FMidSection;
    C.Clear();
    for (double Y : {0.0, f / 3, 2 * f / 3, f, f + R / 2}) C.AddPoint(M, Y, 0);
    C.AddPoint(M, B / 2, R / 2);
    C.AddPoint(M, B / 2, R);
    for (int k = 1; k <= 4; ++k) C.AddPoint(M, B / 2, R + k * (D - R) / 5);
    C.AddPoint(M, B / 2, D);
}

void THalvorn::BuildBowFlatTangent() {
    const double B = P.Beam, R = P.BilgeRadius, D = P.Depth, PF = P.ParallelDeckF, BFS = FBowFlatStation;
    TBSpline& C = *FBowFlatTangenet;
    C.Clear();
    C.AddPoint(PF, B / 2, D);
    C.AddPoint(BFS + R / 2, B / 2, R);
    C.AddPoint(BFS, B / 2, R / 2);
    C.AddPoint(BFS, B / 2 - R / 2, 0);
    C.AddPoint(BFS, B / 2 - R, 0);
    C.AddPoint(BFS + R / 2, B / 2 - R, 0);
    C.AddPoint(PF, B / 2 - R, 0);
    const double KeelX = P.BowShape == 1 && FColumnCount >= 4 && FColumnCount - 4 < ColumnListCount()
                             ? Column(FColumnCount - 4).GetStation()
                             : StemFootX();
    C.AddPoint((PF + KeelX) / 2, 2.0 / 3 * (B / 2 - R), 0);
    C.AddPoint(KeelX, 0, 0);
}

void THalvorn::BuildAftFlatTangent() {
    const double B = P.Beam, R = P.BilgeRadius, D = P.Depth, AFS = FAftFlatStation;
    TBSpline& C = *FAftFlatTangent;
    C.Clear();
    C.AddPoint(P.ParallelDeckA, B / 2, D);
    C.AddPoint(AFS - R / 2, B / 2, R);
    C.AddPoint(AFS, B / 2, R / 2);
    C.AddPoint(AFS, B / 2 - R / 2, 0);
    C.AddPoint(AFS, B / 2 - R, 0);
    for (int k = 3; k >= 0; --k) {
        const TRPoint* Mk = FMidSection->Point(k);
        C.AddPoint(AFS, Mk->Y, Mk->Z);
    }
}

void THalvorn::BuildStem() {
    const double L = P.Lbp, T = P.Draught, D = P.Depth, FOH = P.ForeOverHang, SR = P.StemRadius;
    const double a = StemRakeAngle();
    const double m = std::hypot(FOH, D - T);
    const double c = std::numbers::pi / 2 - a;
    const double d = c * P.BowCurvature / 100;
    const double b = (a + d) / 2;
    const double e = P.BowShape == 1 ? std::tan(b) * T / 2 : std::tan(b) * P.ForeFootRadius;

    std::vector<std::pair<double, double>> Local;
    if (P.BowShape == 1) {
        Local.push_back({-(std::cos(d) - std::sin(d)) * SR, -(std::sin(d) + std::cos(d)) * SR});
        Local.push_back({-std::cos(d) * SR, -std::sin(d) * SR});
    } else {
        const double t0 = T / std::cos(c) - e;
        for (double t : {-(T / std::cos(c) - e / 2), -t0, -t0 / 2}) Local.push_back({t * std::cos(d), t * std::sin(d)});
    }
    const double h = m / 5;
    Local.push_back({0, 0});
    Local.push_back({h, h * std::tan(d)});
    Local.push_back({2 * h, h * (std::tan(d) + std::tan(d / 2))});
    Local.push_back({3 * h, h * (std::tan(d) + std::tan(d / 2))});
    Local.push_back({4 * h, h * std::tan(d)});
    Local.push_back({m, 0});

    TBSpline& C = *FStem;
    C.Clear();
    if (P.BowShape == 1) {
        C.AddPoint(StemFootX(), 0, 0);
        C.AddPoint(L, 0, 0);
        C.AddPoint(L + P.BulbLength, 0, T / 4);
        C.AddPoint(L + P.BulbLength, 0, 3 * T / 4);
    } else {
        const double X = L - std::tan(c - d) * T;
        for (double k : {1.5, 1.0, 0.5}) C.AddPoint(X - k * e, 0, 0);
    }
    // The local x axis runs up the raked stem line from the waterline at the forward perpendicular.
    for (const auto& [x, z] : Local)
        C.AddPoint(L + x * std::cos(a) - z * std::sin(a), 0, T + x * std::sin(a) + z * std::cos(a));
}

void THalvorn::BuildStern() {
    const double SB = P.StBossStart, SBR = P.StBossToRoot, RH = P.StRootHeight, SH = P.StShaftHeight,
                 SRad = P.StBossRadius, FOB = P.StFlatOfBottomStart;
    TBSpline& C = *FStern;
    C.Clear();
    C.AddPoint(-P.TransomBehindAP, 0, P.Draught - P.TransomImmersion);
    C.AddPoint((SB + SBR) / 2, 0, FSternKnuckleHeight);
    C.AddPoint(SB + SBR, 0, RH + 2 * (RH - SH) / 3);
    C.AddPoint(SB + SBR, 0, RH - (RH - SH) / 3);
    C.AddPoint(SB, 0, SH + SRad);
    C.AddPoint(SB, 0, SH - SRad);
    C.AddPoint(FOB, 0, 0);
    C.AddPoint(FOB + 0.012 * P.Lbp, 0, 0);
    C.AddPoint(FMidshipStation, 0, 0);

    TBSpline& S = *FSternSide;
    S.Assign(C);
    S.Point(3)->Y = SRad / 4;
    for (int i : {4, 5}) {
        S.Point(i)->Y = SRad;
        S.Point(i)->X += SRad;
    }
    const double Diagonal = SRad / (2 * std::sqrt(2.0));
    S.Point(6)->Y = SRad / 2;
    S.Point(6)->X += Diagonal;
    S.Point(6)->Z += Diagonal;
    S.Point(7)->Y = SRad / 4;
}

void THalvorn::BuildTransom() {
    const double Bottom = P.Draught - P.TransomImmersion;
    const double h = P.Depth - Bottom;
    const double g = std::hypot(P.TransomBeam / 2, h);
    const double ang = std::atan2(h, P.TransomBeam / 2);
    const double c = P.TransomCurvature / 100 * ang;
    const double s = g / 5, tc = std::tan(c), tc2 = std::tan(c / 2);
    std::vector<std::pair<double, double>> Local(7, {0.0, 0.0});
    Local.push_back({s, -s * tc});
    Local.push_back({2 * s, -s * (tc + tc2)});
    Local.push_back({3 * s, -s * (tc + tc2)});
    Local.push_back({4 * s, -s * tc});
    Local.push_back({g, 0});
    TBSpline& C = *FTransom;
    C.Clear();
    for (const auto& [y, z] : Local)
        C.AddPoint(-P.TransomBehindAP, y * std::cos(ang) - z * std::sin(ang),
                   Bottom + y * std::sin(ang) + z * std::cos(ang));
}

void THalvorn::BuildDeck() {
    const double AP = P.TransomBehindAP, PA = P.ParallelDeckA, PF = P.ParallelDeckF, B = P.Beam, D = P.Depth,
                 TB = P.TransomBeam, L = P.Lbp, XS = StemHeadX();
    const double o = (AP + PA) / 3;
    TBSpline& DL = *FDeckLine;
    DL.Clear();
    DL.AddPoint(-AP, TB / 2, D);
    DL.AddPoint(o - AP, TB / 2 + (B - TB) / 3, D);
    DL.AddPoint(2 * o - AP, B / 2, D);
    for (int i = 0; i < 3; ++i) DL.AddPoint(PA, B / 2, D);
    DL.AddPoint(FMidshipStation, B / 2, D);

    TBSpline& C = *FDeck;
    C.Clear();
    C.AddCopies(DL);
    for (int i = 0; i < 3; ++i) C.AddPoint(PF, B / 2, D);
    if (FStem->Count() < 12) return;
    const TRPoint Head = *FStem->Point(11);
    const double e = (L - P.StemRadius - 3 * P.BulbLength - FMidshipStation) / 5;
    TBSpline Bow(5);
    Bow.AddPoint(PF, B / 2, D);
    Bow.AddPoint(PF + (XS - PF) / 3, B / 2, D);
    Bow.AddPoint((XS + PF + e) / 2, (B + P.BowRadiusAtDeck) / 3, D);
    Bow.AddPoint(Head.X, P.BowRadiusAtDeck, Head.Z);
    Bow.AddPoint(Head.X, P.BowRadiusAtDeck / 2, Head.Z);
    for (int i = FFirstBowColumn; i <= FColumnCount - 3 && i < ColumnListCount(); ++i) {
        const double X = Column(i).GetStation();
        std::unique_ptr<TRPoint> At = X >= PF ? Bow.PointAtX(X) : nullptr;
        if (At)
            C.AddRPoint(std::move(At));
        else
            C.AddPoint(X, B / 2, D);
    }
    C.AddPointCopy(Bow.Last());
    C.AddPointCopy(&Head);
}

void THalvorn::Rebuild(unsigned What) {
    if (What & rbStations) {
        ClampFlatOfSide();
        BuildColumnStations();
    }
    if (What & rbMidSection) BuildMidSection();
    if (What & rbBowFlat) BuildBowFlatTangent();
    if (What & (rbAftFlat | rbMidSection)) BuildAftFlatTangent();
    if (What & rbStem) BuildStem();
    if (What & rbStern) BuildStern();
    if (What & rbTransom) BuildTransom();
    if (What & (rbDeck | rbStem)) BuildDeck();
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
    FLastChanged = Source.FLastChanged;
    FLastChangedFrom = Source.FLastChangedFrom;
    FBuilt = Source.FBuilt;
    UpdateCurves();
    TBSplineSurface::Assign(Source);
}

}  // namespace sarnova
