#include "views/ViewGrid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "foundation/EditPlaneSets.h"
#include "views/Camera.h"

namespace sarnova {

namespace {

// The grid lies just below its principal plane, so that geometry drawn in the plane shows over it.
constexpr double PlaneOffset = -1e-4;

// A real truncated through single precision as the grid's integer conversions do; false for a value
// no integer index can hold.
bool IndexOf(double X, long long& Index) {
    if (!(std::fabs(X) < 1e9)) return false;
    Index = static_cast<long long>(std::trunc(static_cast<float>(X)));
    return true;
}

// The index range of the grid lines that cover Min..Max (and two more on each side).
bool IndexRange(double Min, double Max, double Step, long long& Lo, long long& Hi) {
    return IndexOf(std::trunc((Min - Step) / Step) - 2, Lo) && IndexOf(std::trunc((Max + Step) / Step) + 2, Hi);
}

}  // namespace

TViewGrid::TViewGrid(TCamera* ACamera) : Camera(ACamera) {}

void TViewGrid::Changed() {
    if (Camera) Camera->GetView().Invalidate();
}

void TViewGrid::Assign(const TViewGrid& Source) {
    if (&Source == this) return;
    GridStyle = Source.GridStyle;
    MajorLineSize = Source.MajorLineSize;
    MinorLineSize = Source.MinorLineSize;
    GridSize = Source.GridSize;
    MajorFrequency = Source.MajorFrequency;
    Enabled = Source.Enabled;
    MinorColor = Source.MinorColor;
    MajorColor = Source.MajorColor;
    Changed();
}

void TViewGrid::SetGridSize(double Value) {
    if (Value == GridSize) return;
    GridSize = Value;
    Changed();
}

void TViewGrid::SetEnabled(bool Value) {
    if (Value == Enabled) return;
    Enabled = Value;
    Changed();
}

void TViewGrid::SetMajorFrequency(int Value) {
    if (Value == MajorFrequency) return;
    MajorFrequency = Value;
    Changed();
}

void TViewGrid::SetMinorColor(TColor Value) {
    if (Value == MinorColor) return;
    MinorColor = Value;
    Changed();
}

void TViewGrid::SetMajorColor(TColor Value) {
    if (Value == MajorColor) return;
    MajorColor = Value;
    Changed();
}

// ---- Snapping ----

double TViewGrid::Snap(double C) const { return GridRound(C, GridSize); }

TMVector TViewGrid::SnapPoint(const TMVector& P) const { return {Snap(P.X), Snap(P.Y), Snap(P.Z)}; }

TMVector TViewGrid::SnapPointConstrained(const TMVector& P, TEditPlaneKind Code) const {
    TMVector R = P;
    if (Code == epXY || Code == epZX || Code == epAlongX) R.X = Snap(P.X);
    if (Code == epXY || Code == epYZ || Code == epAlongY) R.Y = Snap(P.Y);
    if (Code == epYZ || Code == epZX || Code == epAlongZ) R.Z = Snap(P.Z);
    return R;
}

// ---- Spacing and range ----

void TViewGrid::UpdatePixelMultiplier() {
    if (!Camera) return;
    const double W = Camera->WorldPerPixel(ZeroVector);
    const double S = GridSize < 1e-4 ? 1e-4 : GridSize;
    double K = 1;
    if (Camera->ViewDirectionCode() == 6) {
        const double DZ = std::fabs(Camera->ViewDirection().Z);
        // From 1 to 20 as the view turns horizontal.
        if (DZ <= 0.2) K = 38 * (1 - std::cos((0.2 - DZ) / 0.2 * std::numbers::pi / 3)) + 1;
    }
    const double M = K * W / S * 24;
    // A window without a pixel scale gives no number; it draws the finest grid that has one.
    if (!(M < double(INT_MAX)))
        PixelMultiplier = std::isnan(M) ? 1 : INT_MAX;
    else
        PixelMultiplier = std::max(1, static_cast<int>(std::trunc(static_cast<float>(M))));
}

void TViewGrid::UpdateRange() {
    if (!Camera) return;
    const ICameraView& View = Camera->GetView();
    const TMVector W0 = Camera->ScreenToWorld(0, 0, 0);
    const TMVector W1 = Camera->ScreenToWorld(View.GetClientWidth(), View.GetClientHeight(), 0);
    switch (Camera->ViewDirectionCode()) {
        case 0:
            MinU = W0.X, MaxU = W1.X, MinV = W1.Y, MaxV = W0.Y;
            break;
        case 1:
            MinU = W0.Y, MaxU = W1.Y, MinV = W1.Z, MaxV = W0.Z;
            break;
        case 2:
            MinU = W0.X, MaxU = W1.X, MinV = W1.Z, MaxV = W0.Z;
            break;
        default: break;
    }
}

// ---- Layout ----

TGridPicture TViewGrid::Layout() const {
    TGridPicture Picture;
    const double Step = PixelMultiplier * GridSize;
    if (!(Step > 0) || !Camera) return Picture;

    TPlaneDirection Plane = 0;
    long long LoU = 0, HiU = 0, LoV = 0, HiV = 0;
    const TPlaneDirection Code = Camera->ViewDirectionCode();
    if (Camera->GetMode() == cmPerspective || Code == 6) {
        // The model grid: in the XY plane, about four times the model's larger horizontal extent on
        // each side of its centre.
        const TMBox B = Camera->GetView().GetExtents();
        const double D = std::max(B.Max.X - B.Min.X, B.Max.Y - B.Min.Y);
        long long CX = 0, CY = 0, Lo = 0, Hi = 0;
        if (!IndexOf(std::trunc((B.Min.X + B.Max.X) / (2 * Step)), CX) ||
            !IndexOf(std::trunc((B.Min.Y + B.Max.Y) / (2 * Step)), CY) || !IndexRange(-4 * D, 4 * D, Step, Lo, Hi))
            return Picture;
        LoU = CX + Lo, HiU = CX + Hi, LoV = CY + Lo, HiV = CY + Hi;
    } else {
        Plane = Code;
        if (!IndexRange(MinU, MaxU, Step, LoU, HiU) || !IndexRange(MinV, MaxV, Step, LoV, HiV)) return Picture;
    }
    const long long CountU = HiU - LoU + 1, CountV = HiV - LoV + 1;

    // (u, v) in the grid plane to the world.
    auto At = [&](double U, double V) -> TMVector {
        switch (Plane) {
            case 1: return {PlaneOffset, U, V};
            case 2: return {U, PlaneOffset, V};
            default: return {U, V, PlaneOffset};
        }
    };
    auto IsMajor = [&](long long I) { return MajorFrequency >= 2 && I % MajorFrequency == 0; };

    if (GridStyle == gsDots) {
        if (CountU <= 0 || CountV <= 0 || CountU > MaxGridIndices || CountV > MaxGridIndices ||
            CountU * CountV > MaxGridDots)
            return Picture;
        Picture.Dots.reserve(static_cast<std::size_t>(CountU * CountV));
        for (long long U = LoU; U <= HiU; ++U)
            for (long long V = LoV; V <= HiV; ++V) Picture.Dots.push_back(At(U * Step, V * Step));
        return Picture;
    }
    // Lines along u at every v index, then lines along v at every u index.
    if (CountV > 0 && CountV <= MaxGridIndices)
        for (long long V = LoV; V <= HiV; ++V)
            Picture.Lines[0].push_back({At(LoU * Step, V * Step), At(HiU * Step, V * Step), IsMajor(V)});
    if (CountU > 0 && CountU <= MaxGridIndices)
        for (long long U = LoU; U <= HiU; ++U)
            Picture.Lines[1].push_back({At(U * Step, LoV * Step), At(U * Step, HiV * Step), IsMajor(U)});
    return Picture;
}

}  // namespace sarnova
