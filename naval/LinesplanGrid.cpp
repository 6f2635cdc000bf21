// The grids of the lines-plan views and the sheet's border with its information box.
#include <algorithm>

#include "foundation/Contours.h"
#include "foundation/NumberText.h"
#include "foundation/GeomBox.h"
#include "foundation/PolyList.h"
#include "naval/Linesplan.h"
#include "naval/PolyFont.h"

namespace sarnova {

namespace {

void AddLine(TPolylineList& Target, double X1, double Y1, double X2, double Y2) {
    auto P = std::make_unique<TPolyline>();
    P->AddPoint(X1, Y1, 0);
    P->AddPoint(X2, Y2, 0);
    Target.Add(std::move(P));
}

}  // namespace

// ---- TLinesPlanGridLines ----

void TLinesPlanGridLines::Changed() {
    if (FGrid) FGrid->Invalidate();
}

void TLinesPlanGridLines::Add(double Value) {
    if (FValues.empty() || Value > FValues.back()) {
        FValues.push_back(Value);
    } else if (Value < FValues.front()) {
        FValues.insert(FValues.begin(), Value);
    } else {
        std::size_t Lo = 0, Hi = FValues.size() - 1;
        if (FValues[Lo] == Value || FValues[Hi] == Value) return;
        while (Hi - Lo > 1) {
            const std::size_t Mid = (Lo + Hi) / 2;
            if (FValues[Mid] == Value) return;
            (FValues[Mid] < Value ? Lo : Hi) = Mid;
        }
        FValues.insert(FValues.begin() + static_cast<std::ptrdiff_t>(Hi), Value);
    }
    Changed();
}

void TLinesPlanGridLines::Clear() {
    FValues.clear();
    Changed();
}

void TLinesPlanGridLines::SetFromContours(const TContours& Contours, int Axis) {
    Clear();
    const int Count = Axis == 0 ? Contours.XCount() : Axis == 1 ? Contours.YCount() : Contours.ZCount();
    for (int I = 0; I < Count; ++I) {
        const TContour* C = Axis == 0 ? Contours.XContour(I) : Axis == 1 ? Contours.YContour(I) : Contours.ZContour(I);
        Add(C->Position);
    }
}

// ---- TLinesPlanGrid ----

TLinesPlanGrid::TLinesPlanGrid(TLinesPlanView* AView)
    : FPolylines(std::make_unique<TPolylineList>()), FView(AView) {}

TLinesPlanGrid::~TLinesPlanGrid() = default;

void TLinesPlanGrid::SetTextSize(double Value) {
    if (Value == FTextSize) return;
    FTextSize = Value;
    Invalidate();
}

void TLinesPlanGrid::SetOffset(const TMVector& Value) {
    if (Value == FOffset) return;
    FOffset = Value;
    Invalidate();
}

void TLinesPlanGrid::SetShowText(bool Value) {
    if (Value == FShowText) return;
    FShowText = Value;
    Invalidate();
}

void TLinesPlanGrid::SetFlip(bool Value) {
    if (Value == FFlip) return;
    FFlip = Value;
    Invalidate();
}

void TLinesPlanGrid::SetContours(const TContours& Contours, int Kind) {
    if (Kind == 1) {
        VerticalValues.SetFromContours(Contours, 2);
        HorizontalValues.Clear();
        // The body plan shows each buttock on both sides of the centre line.
        for (int I = 0; I < Contours.YCount(); ++I) {
            const double Y = Contours.YContour(I)->Position;
            if (Y < 0) continue;
            HorizontalValues.Add(Y);
            HorizontalValues.Add(-Y);
        }
    } else {
        VerticalValues.SetFromContours(Contours, Kind == 0 ? 1 : 2);
        HorizontalValues.SetFromContours(Contours, 0);
    }
}

TMBox TLinesPlanGrid::GetExtents() const {
    TMBox Box = EmptyBox;
    if (HorizontalValues.Count() > 0) {
        Box.Min.X = HorizontalValues.First();
        Box.Max.X = HorizontalValues.Last();
    }
    if (VerticalValues.Count() > 0) {
        Box.Min.Y = FFlip ? -VerticalValues.Last() : VerticalValues.First();
        Box.Max.Y = FFlip ? -VerticalValues.First() : VerticalValues.Last();
    }
    return Box;
}

void TLinesPlanGrid::Build() {
    FPolylines->Clear();
    FNeedsRebuild = false;
    if (HorizontalValues.Count() == 0 || VerticalValues.Count() == 0) return;
    const double HF = HorizontalValues.First(), HL = HorizontalValues.Last();
    const double VF = VerticalValues.First(), VL = VerticalValues.Last();
    const double Sgn = FFlip ? -1 : 1, OX = FOffset.X, OY = FOffset.Y;
    for (int I = 0; I < HorizontalValues.Count(); ++I) {
        const double H = HorizontalValues.Values(I);
        AddLine(*FPolylines, H + OX, Sgn * VF + OY, H + OX, Sgn * VL + OY);
        if (!FShowText) continue;
        auto Text = StrokeText(FormatOptionalDecimals(H, 4), 0, 0, FTextSize / 10, 0);
        if (Text->Count() == 0) continue;
        const TMBox B = Text->Extents();
        const double T = B.Max.Y - B.Min.Y, CX = (B.Min.X + B.Max.X) / 2;
        FPolylines->AddCopies(*Text->Transformed(MatrixTranslation(H + OX - CX, Sgn * VL + OY + T / 2, 0)));
        FPolylines->AddCopies(*Text->Transformed(MatrixTranslation(H + OX - CX, Sgn * VF + OY - 3 * T / 2, 0)));
    }
    for (int I = 0; I < VerticalValues.Count(); ++I) {
        const double V = VerticalValues.Values(I);
        AddLine(*FPolylines, HF + OX, Sgn * V + OY, HL + OX, Sgn * V + OY);
        if (!FShowText) continue;
        // The figure is the value itself, also where a flipped grid draws its line at -V.
        auto Text = StrokeText(FormatOptionalDecimals(V, 4), 0, 0, FTextSize / 10, 0);
        if (Text->Count() == 0) continue;
        const TMBox B = Text->Extents();
        const double W = B.Max.X - B.Min.X, T = B.Max.Y - B.Min.Y, CY = (B.Min.Y + B.Max.Y) / 2;
        FPolylines->AddCopies(*Text->Transformed(MatrixTranslation(HF + OX - W - T / 2, Sgn * V + OY - CY, 0)));
        FPolylines->AddCopies(*Text->Transformed(MatrixTranslation(HL + OX + T / 2, Sgn * V + OY - CY, 0)));
    }
}

const TPolylineList& TLinesPlanGrid::Polylines() {
    if (FNeedsRebuild) Build();
    return *FPolylines;
}

void TLinesPlanGrid::Draw(IGraphics& G) {
    if (FNeedsRebuild) Build();
    G.SetLineColor(Color);
    FPolylines->Draw(G);
}

// ---- TLinesPlanBorder ----

void AddFittedText(TPolylineList& Target, const std::string& Text, double CX, double CY, double BW, double BH) {
    auto Strokes = StrokeText(Text, 0, 0, 1, 0);
    if (Strokes->Count() == 0) return;
    const TMBox B = Strokes->Extents();
    const double W = B.Max.X - B.Min.X, T = B.Max.Y - B.Min.Y;
    double K = BH / T;
    if (K * W > BW) K = BW / W;
    const TMMatrix M = MatrixMultiply(
        MatrixTranslation(CX, CY, 0),
        MatrixMultiply(MatrixUniformScaling(K),
                       MatrixTranslation(-(B.Min.X + B.Max.X) / 2, -(B.Min.Y + B.Max.Y) / 2, 0)));
    Target.AddCopies(*Strokes->Transformed(M));
}

TLinesPlanBorder::TLinesPlanBorder(TLinesPlan* APlan)
    : FPlan(APlan), FBox(EmptyBox), FPolylines(std::make_unique<TPolylineList>()) {}

TLinesPlanBorder::~TLinesPlanBorder() = default;

void TLinesPlanBorder::SetShowInfoBox(bool Value) {
    if (Value == FShowInfoBox) return;
    FShowInfoBox = Value;
    Invalidate();
}

void TLinesPlanBorder::SetBox(const TMBox& Value) {
    if (Value == FBox) return;
    FBox = Value;
    Invalidate();
}

void TLinesPlanBorder::Build() {
    FPolylines->Clear();
    FNeedsRebuild = false;
    const double MinX = FBox.Min.X, MinY = FBox.Min.Y, MaxX = FBox.Max.X, MaxY = FBox.Max.Y;
    // The information box is as wide as the body plan; without one (no buttock at or above the
    // centre line) there is nothing to size it by and it is left out.
    const TMBox S = FPlan->StationsView().Grid().GetExtents();
    const bool InfoBox = FShowInfoBox && FPlan->StationsView().Grid().HorizontalValues.Count() > 0;
    const double WS = InfoBox ? S.Max.X - S.Min.X : 0;
    const double R = InfoBox && FPlan->GetLayout() != 2 ? MaxX + WS : MaxX;
    auto Outline = [&](double X1, double Y1, double X2, double Y2) {
        auto P = std::make_unique<TPolyline>();
        P->AddPoint(X1, Y1, 0);
        P->AddPoint(X2, Y1, 0);
        P->AddPoint(X2, Y2, 0);
        P->AddPoint(X1, Y2, 0);
        P->AddPoint(X1, Y1, 0);
        FPolylines->Add(std::move(P));
    };
    Outline(MinX, MinY, R, MaxY);
    if (!InfoBox) return;

    const double X1 = R - WS, X2 = R, Y1 = MinY, Y2 = MinY + WS / 1.6;
    auto PX = [&](double F) { return X1 + F * (X2 - X1); };
    auto PY = [&](double F) { return Y1 + F * (Y2 - Y1); };
    Outline(X1, Y1, X2, Y2);
    for (double FY : {0.75, 0.55, 0.1, 0.2}) AddLine(*FPolylines, PX(0), PY(FY), PX(1), PY(FY));
    AddLine(*FPolylines, PX(0.75), PY(0), PX(0.75), PY(0.1));
    AddLine(*FPolylines, PX(0.5), PY(0.1), PX(0.5), PY(0.2));
    const struct {
        const char* Text;
        double FX1, FX2, FY1, FY2;
    } Fields[] = {{"Sarnova", 0.05, 0.95, 0.8, 0.95},   {"Lines Plan", 0.05, 0.95, 0.6, 0.7},
                  {"Notes:", 0.01, 0.1, 0.5, 0.53},     {"Drawn By:", 0.01, 0.1, 0.07, 0.09},
                  {"Sheet:", 0.76, 0.85, 0.07, 0.09},   {"Scale:", 0.01, 0.1, 0.17, 0.19},
                  {"Date:", 0.51, 0.6, 0.17, 0.19}};
    for (const auto& F : Fields) {
        AddFittedText(*FPolylines, F.Text, (PX(F.FX1) + PX(F.FX2)) / 2, (PY(F.FY1) + PY(F.FY2)) / 2,
                      PX(F.FX2) - PX(F.FX1), PY(F.FY2) - PY(F.FY1));
    }
}

const TPolylineList& TLinesPlanBorder::Polylines() {
    if (FNeedsRebuild) Build();
    return *FPolylines;
}

void TLinesPlanBorder::Draw(IGraphics& G) {
    if (FNeedsRebuild) Build();
    G.SetLineColor(0xFFFFFF);
    FPolylines->Draw(G);
}

}  // namespace sarnova
