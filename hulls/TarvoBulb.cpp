#include "hulls/TarvoBulb.h"

#include <array>
#include <cmath>
#include <string>

#include "foundation/NumberText.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"
#include "foundation/VkMaths.h"
#include "hulls/TarvoCurve.h"

namespace sarnova {

namespace {

// Three decimals, unless they lose more than 1e-9 of the value: then the value's shortest full form.
std::string BulbValueText(double V) {
    const std::string Short = FormatWithPoint("%.3f", {V});
    if (std::fabs(ParseFloat(Short) - V) <= 1e-9) return Short;
    return FloatToStrWithPoint(V);
}

}  // namespace

TTarvoBulb::TTarvoBulb() : FSurface(std::make_unique<TBSplineSurface>(6, 7)) {
    SetDefaults();
}

TTarvoBulb::TTarvoBulb(TBSplineSurface* AMainSurface) : MainSurface(AMainSurface), FSurface(std::make_unique<TBSplineSurface>(6, 7)) {
    SetDefaults();
    X = BulbNotLocated;
}

void TTarvoBulb::SetBulbLength(double V) { FBulbLength = V; Build(); }
void TTarvoBulb::SetTailLength(double V) { FTailLength = V; Build(); }
void TTarvoBulb::SetHeight(double V) { FHeight = V; Build(); }
void TTarvoBulb::SetTailBeam(double V) { FTailBeam = V; Build(); }
void TTarvoBulb::SetBeam(double V) { FBeam = V; Build(); }
void TTarvoBulb::SetPointHeight(double V) { FPointHeight = V; Build(); }
void TTarvoBulb::SetTailHeight(double V) { FTailHeight = V; Build(); }
void TTarvoBulb::SetBeamPointSeparation(double V) { FBeamPointSeparation = V; Build(); }
void TTarvoBulb::SetSoftNose(double V) { FSoftNose = V; Build(); }
void TTarvoBulb::SetBarWidth(double V) { FBarWidth = V; Build(); }

void TTarvoBulb::SetDefaults() {
    X = BulbNotLocated;
    FBulbLength = 2.958;
    FTailLength = 14.35;
    FHeight = 4.195;
    FTailBeam = 2.76;
    FBeam = 4.8;
    FPointHeight = FHeight / 2;
    FTailHeight = FPointHeight;
    FBeamPointSeparation = 1.7;
    FSoftNose = 1.8;
    FBarWidth = 0.4;
    Build();
}

void TTarvoBulb::Rebuild() {
    Locate();
    Build();
}

std::uint8_t TTarvoBulb::FindStemEdge() const {
    if (MainSurface == nullptr) return 0;
    const TMBox Box = MainSurface->GetExtents();
    if (Box.Max.X < Box.Min.X) return 0;
    const TBSplineSurface& M = *MainSurface;
    const int U = M.NumU() - 1, V = M.NumV() - 1;
    if (U < 0 || V < 0) return 0;
    const std::array<double, 4> Mean = {
        (M.Point(0, 0).X + M.Point(0, V).X) / 2,
        (M.Point(0, 0).X + M.Point(U, 0).X) / 2,
        (M.Point(U, 0).X + M.Point(U, V).X) / 2,
        (M.Point(0, V).X + M.Point(U, V).X) / 2,
    };
    std::uint8_t Best = 0;
    for (std::uint8_t e = 1; e < 4; ++e)
        if (Mean[e] > Mean[Best]) Best = e;
    return Best;
}

void TTarvoBulb::Locate() {
    if (MainSurface == nullptr) return;
    StemEdge = FindStemEdge();
    const std::unique_ptr<TPolyline> Edge = MainSurface->EdgePolyline(StemEdge);
    const std::unique_ptr<TRPoint> P = Edge ? Edge->PointAtZ(FHeight) : nullptr;
    X = P ? P->X + 1e-4 : BulbNotLocated;
}

void TTarvoBulb::Build() {
    if (!IsLocated()) Locate();
    if (!IsLocated()) return;
    const double L = FBulbLength, T = FTailLength, H = FHeight, TB = FTailBeam, B = FBeam, PH = FPointHeight,
                 TH = FTailHeight, S = FBeamPointSeparation, N = FSoftNose, W = FBarWidth;
    TBSplineSurface& Net = *FSurface;
    // The columns of a section of breadth b whose widest part stands at height h.
    const auto Section = [&](int i, double b, double h, auto XOf) {
        const double Y[7] = {0, W / 2, W / 6 + b / 3, b / 2, b / 2, b / 3, 0};
        const double Z[7] = {0, 0, (h - S / 2) / 3, h - S / 2, h + S / 2, 0.8 * H + 0.2 * (h + S / 2), H};
        for (int j = 0; j < 7; ++j) {
            TRPoint& P = Net.Point(i, j);
            P.X = XOf(Y[j]);
            P.Y = Y[j];
            P.Z = Z[j];
        }
    };
    Section(0, TB, TH, [&](double) { return X - T; });
    Section(1, TB, TH, [&](double) { return X - (T + 2.5 * L) / 2; });
    Section(2, B, PH, [&](double y) { return 1.5 * y + (X - 2.5 * L); });
    Section(3, B, PH, [&](double y) { return 1.3 * y + (X - L); });
    // The nose section, closed on the centreline by the tip row.
    const double NoseX[7] = {X - 2 * L / 3, X, X + 0.5 * L, X + L, X + L, X + 0.5 * L, X};
    const double NoseY[7] = {0, W / 2, N / 4, N / 2, N / 2, N / 4, 0};
    const double NoseZ[7] = {0, 0, (PH - S / 2) / 3, PH - S / 2, PH + S / 2, 0.8 * H + 0.2 * (PH + S / 2), H};
    for (int j = 0; j < 7; ++j) {
        TRPoint& P4 = Net.Point(4, j);
        P4.X = NoseX[j];
        P4.Y = NoseY[j];
        P4.Z = NoseZ[j];
        TRPoint& P5 = Net.Point(5, j);
        P5.X = NoseX[j];
        P5.Y = 0;
        P5.Z = NoseZ[j];
    }
}

void TTarvoBulb::SaveToText(TTextWriter& F) const {
    const std::pair<const char*, double> Lines[] = {
        {"X=", X},
        {"BulbLength=", FBulbLength},
        {"TailLength=", FTailLength},
        {"Height=", FHeight},
        {"TailBeam=", FTailBeam},
        {"Beam=", FBeam},
        {"PointHeight=", FPointHeight},
        {"TailHeight=", FTailHeight},
        {"BeamPointSeparation=", FBeamPointSeparation},
        {"SoftNose=", FSoftNose},
        {"BarWidth=", FBarWidth},
    };
    for (const auto& [Key, Value] : Lines) F.WriteLine(std::string(Key) + BulbValueText(Value));
}

void TTarvoBulb::LoadFromText(TTextReader& F) {
    double V[11];
    for (double& Value : V) Value = ParseFloat(TarvoFieldText(F.ReadLine()));
    X = V[0];
    FBulbLength = V[1];
    FTailLength = V[2];
    FHeight = V[3];
    FTailBeam = V[4];
    FBeam = V[5];
    FPointHeight = V[6];
    FTailHeight = V[7];
    FBeamPointSeparation = V[8];
    FSoftNose = V[9];
    FBarWidth = V[10];
}

}  // namespace sarnova
