#include "foundation/Arc.h"

#include <cmath>
#include <numbers>

#include "foundation/Graphics.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/Plane.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

constexpr int SweepSteps = 100;

// The point of a frame at angle A.
TMVector FramePoint(const TMVector& Centre, const TMVector& XAxis, const TMVector& YAxis, double Radius,
                    double A) {
    return VectorSum3(Centre, VectorScale(XAxis, Radius * std::cos(A)), VectorScale(YAxis, Radius * std::sin(A)));
}

// The SweepSteps + 1 points from angle 0 to Sweep. A full turn of 2 pi gives exactly the angles
// i pi / 50, since doubling is exact.
std::array<TMVector, SweepSteps + 1> SweepPoints(const TMVector& Centre, const TMVector& XAxis,
                                                 const TMVector& YAxis, double Radius, double Sweep) {
    std::array<TMVector, SweepSteps + 1> Points;
    for (int I = 0; I <= SweepSteps; ++I) Points[I] = FramePoint(Centre, XAxis, YAxis, Radius, I * Sweep / SweepSteps);
    return Points;
}

std::array<TMVector, SweepSteps + 1> CirclePoints(const TMCircle& F) {
    return SweepPoints(F.Centre, F.XAxis, F.YAxis, F.Radius, 2 * std::numbers::pi);
}

std::array<TMVector, SweepSteps + 1> ArcPoints(const TMArc& F) {
    return SweepPoints(F.Centre, F.XAxis, F.YAxis, F.Radius, F.Sweep);
}

template <std::size_t N>
TMBox BoxOf(const std::array<TMVector, N>& Points) {
    TMBox B;
    InitEmptyBox(B);
    for (const auto& P : Points) ExtendBoxByVector(P, B);
    return B;
}

template <std::size_t N>
std::unique_ptr<TPolyline> PolylineOf(const std::array<TMVector, N>& Points) {
    auto Result = std::make_unique<TPolyline>();
    for (const auto& P : Points) Result->AddVector(P);
    return Result;
}

template <std::size_t N>
void DrawStrip(const std::array<TMVector, N>& Points, IGraphics& View) {
    View.LineStartVector(Points[0]);
    for (std::size_t I = 1; I < N; ++I) View.LineNextVector(Points[I]);
    View.LineFinish();
}

// Centre, centre + r X, centre + r Y, centre - r X, centre - r Y.
std::array<TMVector, 5> QuadrantPoints(const TMCircle& F) {
    const TMVector X = VectorScale(F.XAxis, F.Radius);
    const TMVector Y = VectorScale(F.YAxis, F.Radius);
    return {F.Centre, VectorAdd(F.Centre, X), VectorAdd(F.Centre, Y), VectorFromTo(X, F.Centre),
            VectorFromTo(Y, F.Centre)};
}

[[noreturn]] void ThrowIndex(const char* Routine, int Index, int Last) {
    throw EError(std::string(Routine) + " - Index " + std::to_string(Index) + " out of bounds, only 0.." +
                 std::to_string(Last) + " allowed");
}

}  // namespace

// ---- TCircle ----

void TCircle::Assign(const TCircle& Other) {
    for (std::size_t I = 0; I < FPoints.size(); ++I) FPoints[I].Assign(Other.FPoints[I]);
    FRead = Other.FRead;
}

std::unique_ptr<TCircle> TCircle::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TCircle>();
    for (std::size_t I = 0; I < FPoints.size(); ++I) Result->FPoints[I].Assign(*FPoints[I].Transformed(M));
    return Result;
}

TMCircle TCircle::Frame() const {
    return CircleFromCentreAndPoints(FPoints[1].Vector(), FPoints[2].Vector(), FPoints[0].Vector());
}

double TCircle::Radius() const { return FPoints[1].Distance(FPoints[0]); }

TMVector TCircle::Normal() const { return Frame().Normal; }

TRPoint* TCircle::Point(int Index) {
    if (Index < 0 || Index > 4) ThrowIndex("TCircle.Point", Index, 4);
    return &FPoints[static_cast<std::size_t>(Index)];
}

const TRPoint* TCircle::Point(int Index) const { return const_cast<TCircle*>(this)->Point(Index); }

int TCircle::OppositePoint(int Index) const {
    switch (Index) {
        case 1: return 3;
        case 2: return 4;
        case 3: return 1;
        case 4: return 2;
        default: return -1;
    }
}

void TCircle::SetFrame(const TMCircle& F) {
    const auto P = QuadrantPoints(F);
    for (std::size_t I = 0; I < FPoints.size(); ++I) FPoints[I].SetVector(P[I]);
}

TMCircle TCircle::PlacedFrame() const {
    // Frame() reports the normal of (P2 - P0) x (P1 - P0); laying the points from that normal would
    // turn the circle over and swap two handles on every edit.
    const TMCircle F = Frame();
    return MakeCircle(F.Centre, VectorNegate(F.Normal), F.Radius);
}

void TCircle::SetRadius(double R) {
    TMCircle F = PlacedFrame();
    F.Radius = std::fabs(R);
    SetFrame(F);
}

void TCircle::SetPoint(int Index, const TMVector& V) {
    if (Index == 0) {
        TMCircle F = PlacedFrame();
        F.Centre = V;
        SetFrame(F);
    } else {
        Point(Index)->SetVector(V);
    }
}

TMBox TCircle::Extents() const { return BoxOf(CirclePoints(Frame())); }

std::unique_ptr<TPolyline> TCircle::AsPolyline() const { return PolylineOf(CirclePoints(Frame())); }

std::unique_ptr<TPolyline> TCircle::ControlPolyline() const {
    auto Result = std::make_unique<TPolyline>();
    for (const auto& P : FPoints) Result->AddVector(P.Vector());
    return Result;
}

void TCircle::SaveToText(TTextWriter& Out) const {
    double R = Radius();
    TMVector N = PlacedFrame().Normal;
    bool AsRead = false;
    if (FRead) {
        const auto Laid = QuadrantPoints(MakeCircle(FPoints[0].Vector(), FRead->Normal, FRead->Radius));
        bool Same = true;
        for (std::size_t I = 0; I < FPoints.size(); ++I) Same = Same && FPoints[I].Vector() == Laid[I];
        if (Same) {
            R = FRead->Radius;
            N = FRead->Normal;
            AsRead = true;
        }
    }
    // A reader takes the normal as a direction only: it is written as a unit vector. One read as a unit
    // vector is written as read: dividing it by its length again would change its last digit.
    if (const double Length = VectorLength(N); Length > 0 && !AsRead) N = VectorScale(N, 1.0 / Length);
    Out.WriteLine(ValueLineText("Radius", R));
    Out.WriteLine(VectorLineText("Centre", FPoints[0].Vector()));
    Out.WriteLine(VectorLineText("Normal", N));
}

void TCircle::LoadFromText(TTextReader& In) {
    const double R = ParseValueLine(In.ReadLine());
    const TMVector C = ParseVectorLine(In.ReadLine());
    const TMVector N = ParseVectorLine(In.ReadLine());
    if (!std::isfinite(R)) throw EGeometryError("Circle radius is not a number");
    if (R < 0) throw EGeometryError("Circle radius " + FloatToStr(R) + " is negative");
    const double Length = VectorLength(N);
    if (!(Length > 0) || !std::isfinite(Length)) throw EGeometryError("Circle normal is not a direction");
    SetFrame(MakeCircle(C, N, R));
    FRead = TReadValues{R, std::fabs(Length - 1) <= 1e-12 ? N : VectorScale(N, 1.0 / Length)};
}

// ---- TArc ----

void TArc::Assign(const TArc& Other) {
    for (std::size_t I = 0; I < FPoints.size(); ++I) FPoints[I].Assign(Other.FPoints[I]);
}

std::unique_ptr<TArc> TArc::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TArc>();
    for (std::size_t I = 0; I < FPoints.size(); ++I)
        Result->FPoints[I].SetVector(MatrixTransformPoint(M, FPoints[I].Vector()));
    return Result;
}

TRPoint* TArc::GetPoint(int Index) {
    if (Index < 0 || Index > 2) ThrowIndex("TArc.GetPoint", Index, 2);
    return &FPoints[static_cast<std::size_t>(Index)];
}

const TRPoint* TArc::GetPoint(int Index) const { return const_cast<TArc*>(this)->GetPoint(Index); }

TMArc TArc::Frame() const {
    return ArcThroughPoints(FPoints[0].Vector(), FPoints[1].Vector(), FPoints[2].Vector());
}

void TArc::SetFrame(const TMArc& F) {
    const auto At = [&F](double A) { return FramePoint(F.Centre, F.XAxis, F.YAxis, F.Radius, A); };
    FPoints[0].SetVector(At(0));
    FPoints[1].SetVector(At(F.Sweep / 2));
    FPoints[2].SetVector(At(F.Sweep));
}

TMBox TArc::Extents() const { return BoxOf(ArcPoints(Frame())); }

std::unique_ptr<TPolyline> TArc::AsPolyline() const { return PolylineOf(ArcPoints(Frame())); }

std::unique_ptr<TPolyline> TArc::ControlPolyline() const {
    auto Result = std::make_unique<TPolyline>();
    for (const auto& P : FPoints) Result->AddPointCopy(&P);
    return Result;
}

void TArc::SaveToText(TTextWriter& Out) const {
    Out.WriteLine(VectorLineText("StartPoint", FPoints[0].Vector()));
    Out.WriteLine(VectorLineText("MidPoint", FPoints[1].Vector()));
    Out.WriteLine(VectorLineText("EndPoint", FPoints[2].Vector()));
}

void TArc::LoadFromText(TTextReader& In) {
    for (auto& P : FPoints) P.SetVector(ParseVectorLine(In.ReadLine()));
}

// ---- Drawing ----

void DrawCircle(const TMCircle& F, IGraphics& View) { DrawStrip(CirclePoints(F), View); }

void DrawArc(const TMArc& F, IGraphics& View) { DrawStrip(ArcPoints(F), View); }

}  // namespace sarnova
