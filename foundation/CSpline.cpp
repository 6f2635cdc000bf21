#include "foundation/CSpline.h"

#include <cmath>

#include "foundation/Errors.h"

namespace sarnova {

namespace {

// Generate samples the cubic only between these point counts; outside them the points themselves
// are the curve.
constexpr int MinSplinePoints = 4;
constexpr int MaxSplinePoints = 200;

}  // namespace

TCSpline::TCSpline() = default;

TCSpline::~TCSpline() = default;

std::unique_ptr<TCSpline> TCSpline::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TCSpline>();
    for (int I = 0; I < Count(); ++I) Result->Add(Point(I)->Transformed(M));
    return Result;
}

double TCSpline::MaxT() const { return Count() - 1; }

double TCSpline::MinT() const { return 0; }

void TCSpline::DropCoefficients() {
    FXCoefficients.reset();
    FYCoefficients.reset();
    FZCoefficients.reset();
}

bool TCSpline::HasCoefficients() const { return FXCoefficients && FXCoefficients->GetRows() == Count() - 1; }

void TCSpline::SolveCoefficients() {
    DropCoefficients();
    const int n = Count();
    if (n < 2) return;
    // First derivatives D[1 .. n] at the points: the rows of the natural spline on unit spacing.
    TVkMatrix A(n, n);
    TVkMatrix R(n, 3);
    const auto SetRhs = [&](int Row, int From, int To) {
        const TMVector V = VectorScale(VectorFromTo(Point(From)->Vector(), Point(To)->Vector()), 3);
        R.SetValue(Row, 1, V.X);
        R.SetValue(Row, 2, V.Y);
        R.SetValue(Row, 3, V.Z);
    };
    A.SetValue(1, 1, 2);
    A.SetValue(1, 2, 1);
    SetRhs(1, 0, 1);
    for (int I = 2; I <= n - 1; ++I) {
        A.SetValue(I, I - 1, 1);
        A.SetValue(I, I, 4);
        A.SetValue(I, I + 1, 1);
        SetRhs(I, I - 2, I);
    }
    A.SetValue(n, n - 1, 1);
    A.SetValue(n, n, 2);
    SetRhs(n, n - 2, n - 1);
    const auto Inverse = A.Inverse();
    // Diagonally dominant, so never singular; checked all the same rather than trusted.
    if (!Inverse) throw EGeometryError("TCSpline.SolveCoefficients - The spline equations could not be solved");
    const auto D = Inverse->Multiply(R);
    std::unique_ptr<TVkMatrix>* Tables[3] = {&FXCoefficients, &FYCoefficients, &FZCoefficients};
    for (int Axis = 0; Axis < 3; ++Axis) {
        auto Table = std::make_unique<TVkMatrix>(n - 1, 4);
        for (int S = 1; S <= n - 1; ++S) {
            const double P0 = PointCoordinate(*Point(S - 1), static_cast<std::uint8_t>(Axis));
            const double P1 = PointCoordinate(*Point(S), static_cast<std::uint8_t>(Axis));
            const double D0 = D->GetValue(S, Axis + 1);
            const double D1 = D->GetValue(S + 1, Axis + 1);
            Table->SetValue(S, 1, P0);
            Table->SetValue(S, 2, D0);
            Table->SetValue(S, 3, 3 * (P1 - P0) - 2 * D0 - D1);
            Table->SetValue(S, 4, 2 * (P0 - P1) + D0 + D1);
        }
        *Tables[Axis] = std::move(Table);
    }
}

bool TCSpline::SelectSegment(double T, int& S, double& U) const {
    const int n = Count();
    if (n < 2 || !std::isfinite(T)) return false;
    // In doubles until the segment is known to exist: a huge T has no integer.
    const double E = std::trunc(T);
    double Segment = E + 1;
    U = T - E;
    if (Segment == n) {
        Segment = n - 1;
        U = 1;
    } else if (Segment < 1 || Segment > n) {
        return false;
    }
    S = static_cast<int>(Segment);
    return true;
}

std::unique_ptr<TRPoint> TCSpline::PointAt(double T) {
    int S;
    double U;
    if (!SelectSegment(T, S, U)) return nullptr;
    auto Result = std::make_unique<TRPoint>(Derivatives(T)[0]);
    Result->T = T;
    return Result;
}

TCurveDerivatives TCSpline::Derivatives(double T) {
    TCurveDerivatives Result{};
    int S;
    double U;
    if (!SelectSegment(T, S, U)) return Result;
    if (!HasCoefficients()) {
        const TMVector A = Point(S - 1)->Vector();
        const TMVector B = Point(S)->Vector();
        Result[0] = VectorLerp(A, B, U);
        Result[1] = VectorFromTo(A, B);
        return Result;
    }
    const TVkMatrix* Tables[3] = {FXCoefficients.get(), FYCoefficients.get(), FZCoefficients.get()};
    double Values[4][3];
    for (int Axis = 0; Axis < 3; ++Axis) {
        const TVkMatrix& C = *Tables[Axis];
        const double a = C.GetValue(S, 1), b = C.GetValue(S, 2), c = C.GetValue(S, 3), d = C.GetValue(S, 4);
        Values[0][Axis] = a + b * U + c * U * U + d * U * U * U;
        Values[1][Axis] = b + 2 * c * U + 3 * d * U * U;
        Values[2][Axis] = 2 * c + 6 * d * U;
        Values[3][Axis] = 6 * d;
    }
    for (int r = 0; r < 4; ++r) Result[static_cast<std::size_t>(r)] = {Values[r][0], Values[r][1], Values[r][2]};
    return Result;
}

void TCSpline::Generate() {
    const int n = Count();
    if (n < MinSplinePoints || n > MaxSplinePoints) {
        DropCoefficients();
        FGenerated = Clone();
        return;
    }
    SolveCoefficients();
    auto Result = std::make_unique<TPolyline>();
    for (const double T : DigitisationParameters(false)) {
        auto P = PointAt(T);
        P->W = T;
        P->T = T;
        Result->Add(std::move(P));
    }
    FGenerated = std::move(Result);
}

}  // namespace sarnova
