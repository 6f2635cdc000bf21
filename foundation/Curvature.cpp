#include "foundation/Curvature.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <typeinfo>
#include <utility>

#include "foundation/Graphics.h"
#include "foundation/Errors.h"
#include "foundation/Polyline.h"

namespace sarnova {

namespace {

// The polyline measure has no length in it; this factor makes its teeth readable beside the curve.
constexpr double PolylineCombScale = 6.0;

}  // namespace

TCurveAnalysis::~TCurveAnalysis() = default;

TPointDerivative& TCurveAnalysis::Items(int Index) {
    return const_cast<TPointDerivative&>(std::as_const(*this).Items(Index));
}

const TPointDerivative& TCurveAnalysis::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return *FItems[static_cast<std::size_t>(Index)];
}

void TCurveAnalysis::Add(std::unique_ptr<TPointDerivative> Sample) { FItems.push_back(std::move(Sample)); }

void TCurveAnalysis::Clear() { FItems.clear(); }

void TCurveAnalysis::Assign(const TCurveAnalysis& Other) {
    if (&Other == this) return;
    Clear();
    for (const auto& Sample : Other.FItems) Add(std::make_unique<TPointDerivative>(*Sample));
}

double TCurveAnalysis::LargestExtent(const TMBox& Box) {
    return std::max({Box.Max.X - Box.Min.X, Box.Max.Y - Box.Min.Y, Box.Max.Z - Box.Min.Z});
}

void TCurveAnalysis::Analyse(TPolyline& Curve) {
    // Only a plain polyline lacks display parameters; its subclasses are smooth curves.
    if (typeid(Curve) == typeid(TPolyline))
        AnalysePolyline(Curve);
    else
        AnalyseCurve(Curve);
}

void TCurveAnalysis::AnalysePolyline(TPolyline& Polyline) {
    Clear();
    if (Polyline.Count() < 3) return;
    const double L = LargestExtent(Polyline.Extents());
    const auto Copy = Polyline.Digitise();
    // A repeated point has no direction into or out of it.
    Copy->RemoveDuplicatePoints();
    const int N = Copy->Count();
    for (int k = 0; k < N; ++k) {
        auto Sample = std::make_unique<TPointDerivative>();
        Sample->Point = Copy->Point(k)->Vector();
        Sample->Tip = Sample->Point;
        if (k > 0 && k < N - 1) {
            const TMVector A = Copy->Point(k - 1)->Vector();
            const TMVector C = Copy->Point(k + 1)->Vector();
            Sample->Normal = ThreePointNormal(A, Sample->Point, C);
            Sample->Curvature = ThreePointTurn(A, Sample->Point, C);
            Sample->Tip = VectorAdd(Sample->Point,
                                    VectorScale(Sample->Normal, Sample->Curvature * PolylineCombScale * L));
        }
        Add(std::move(Sample));
    }
}

void TCurveAnalysis::AnalyseCurve(TPolyline& Curve) {
    Clear();
    // Without points there are neither extents nor knots to sample.
    if (Curve.Count() == 0) return;
    const double L = LargestExtent(Curve.Extents());
    for (const double T : Curve.DigitisationParameters(true)) {
        const TCurveDerivatives D = Curve.Derivatives(T);
        const TFrenetFrame Frame = FrenetFrameFromDerivatives(D);
        auto Sample = std::make_unique<TPointDerivative>();
        Sample->Point = D[0];
        Sample->Normal = Frame.Normal;
        Sample->Curvature = VectorLength(D[1]) > NearZero ? Frame.Curvature : 0;
        Sample->Tip = VectorFromTo(VectorScale(Sample->Normal, Sample->Curvature * L), Sample->Point);
        Add(std::move(Sample));
    }
}

void TCurveAnalysis::Draw(IGraphics& View) const {
    for (const auto& Sample : FItems) View.LineVectors(Sample->Point, Sample->Tip);
}

TMVector ThreePointNormal(const TMVector& A, const TMVector& B, const TMVector& C) {
    return VectorNormalise(
        VectorFromTo(VectorNormalise(VectorFromTo(B, C)), VectorNormalise(VectorFromTo(A, B))));
}

double ThreePointTurn(const TMVector& A, const TMVector& B, const TMVector& C) {
    const double S = VectorLength(VectorAdd(VectorNormalise(VectorFromTo(A, B)), VectorNormalise(VectorFromTo(B, C))));
    return std::sqrt(std::max(0.0, 4 - S * S));
}

TMVector UnitDifference(const TRPoint& From, const TRPoint& To) {
    return VectorNormalise(VectorFromTo(From.Vector(), To.Vector()));
}

TMVector NormalFromCrossDifferences(const TRPoint& Left, const TRPoint& Right, const TRPoint& Up,
                                    const TRPoint& Down) {
    // VectorCross(A, B) is B x A.
    return VectorNormalise(VectorCross(UnitDifference(Down, Up), UnitDifference(Left, Right)));
}

}  // namespace sarnova
