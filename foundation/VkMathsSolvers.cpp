// The numeric toolkit: solvers, Jacobi, Hermite, Brent, number lists and vector iterators.
#include "foundation/VkMathsSolvers.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

// Below this a determinant, a length or a component counts as zero in the two-vector solvers.
constexpr double SolverTolerance = 1e-5;
// How far S A + T B may miss C after the general solve of Solve3DPlaneEquation: absolutely, or
// relative to the largest of the three vectors when they are long.
constexpr double PlaneCheckTolerance = 1e-10;
constexpr double PlaneCheckRelativeTolerance = 1e-9;

void ReportSolverFailure(const std::string& RaiseMessage, const std::string& ConsoleLine, bool Raise) {
    if (Raise) throw EError(RaiseMessage);
    if (GConsole) GConsole->WriteLine(ConsoleLine);
}

// One component pair of S A + T B = C: a, b, c the components kept, Det = a1 b2 - b1 a2.
struct TComponentPair {
    double A1, A2, B1, B2, C1, C2;
    bool Usable;
    double Det() const { return A1 * B2 - B1 * A2; }
};

}  // namespace

bool Solve3DLinearEquation(const TMVector& A, const TMVector& B, const TMVector& C, double& S, double& T,
                           bool Raise) {
    const bool SmallX = std::abs(C.X) < SolverTolerance;
    const bool SmallY = std::abs(C.Y) < SolverTolerance;
    const bool SmallZ = std::abs(C.Z) < SolverTolerance;
    const double AxisLength = 1 - SolverTolerance;
    // A pair cannot see a C that points along the axis it leaves out.
    const TComponentPair Pairs[] = {
        {A.X, A.Y, B.X, B.Y, C.X, C.Y, !(SmallX && SmallY && std::abs(C.Z) > AxisLength)},
        {A.X, A.Z, B.X, B.Z, C.X, C.Z, !(SmallX && std::abs(C.Y) > AxisLength && SmallZ)},
        {A.Y, A.Z, B.Y, B.Z, C.Y, C.Z, !(std::abs(C.X) > AxisLength && SmallY && SmallZ)},
    };
    for (const TComponentPair& P : Pairs) {
        const double Det = P.Det();
        if (!P.Usable || !(std::abs(Det) >= SolverTolerance)) continue;
        S = (P.B2 * P.C1 - P.B1 * P.C2) / Det;
        T = (P.A1 * P.C2 - P.A2 * P.C1) / Det;
        return false;
    }
    ReportSolverFailure("Solve3DLinearEquation", "Solve3DLinearEquation failed", Raise);
    return true;
}

namespace {

// C / V in the first component where both exceed the solver tolerance; Ratio unchanged when none does.
void ComponentRatio(const TMVector& C, const TMVector& V, double& Ratio) {
    const double Cs[] = {C.X, C.Y, C.Z};
    const double Vs[] = {V.X, V.Y, V.Z};
    for (int k = 0; k < 3; ++k) {
        if (std::abs(Vs[k]) > SolverTolerance && std::abs(Cs[k]) > SolverTolerance) {
            Ratio = Cs[k] / Vs[k];
            return;
        }
    }
}

}  // namespace

bool Solve3DPlaneEquation(const TMVector& A, const TMVector& B, const TMVector& C, double& S, double& T,
                          bool Raise) {
    TMVector Check;
    double Tolerance = 0;  // 0: the componentwise strict comparison after a ratio
    if (VectorLength(A) < SolverTolerance) {
        S = 0;
        ComponentRatio(C, B, T);
        Check = VectorScale(B, T);
    } else if (VectorLength(B) < SolverTolerance) {
        T = 0;
        ComponentRatio(C, A, S);
        Check = VectorScale(A, S);
    } else {
        if (Solve3DLinearEquation(A, B, C, S, T, Raise)) return true;
        // The pair solved leaves the third equation open: C may stand out of the plane of A and B.
        const TMVector SA = VectorScale(A, S), TB = VectorScale(B, T);
        Check = VectorAdd(SA, TB);
        Tolerance = std::max(PlaneCheckTolerance, PlaneCheckRelativeTolerance *
                                                      std::max({VectorLength(C), VectorLength(SA), VectorLength(TB)}));
    }
    if (Tolerance > 0 ? VectorDistance(Check, C) <= Tolerance : VectorsEqualStrict(Check, C)) return false;
    ReportSolverFailure("Solve3DPlaneEquation - Vectors not planar",
                        "Solve3DPlaneEquation failed - Vectors not planar", Raise);
    return true;
}

TMVector IntoNearPlane(const TMVector& A, const TMVector& B, const TMVector& C, double Tolerance) {
    const TMVector N = VectorCross(A, B);
    const double NLength = VectorLength(N), CLength = VectorLength(C);
    // A and B parallel to a part in a million: no plane to move into.
    if (!(NLength > 1e-6 * VectorLength(A) * VectorLength(B)) || CLength == 0) return C;
    const double Out = VectorDot(C, N) / NLength;
    if (std::abs(Out) > Tolerance * CLength || std::abs(Out) <= 1e-12 * CLength) return C;
    return VectorFromTo(VectorScale(N, Out / NLength), C);
}

namespace {

// The Jacobi rotation of the pair (g, k).
inline void Rotate(double& G, double& K, double S, double Tau) {
    const double g = G;
    const double k = K;
    G = g - S * (k + g * Tau);
    K = k + S * (g - k * Tau);
}

// X + G leaves X unchanged: G is negligible beside X. Extended precision, as the rotation thresholds
// were tuned for it.
inline bool Negligible(double G, double X) {
    const long double Magnitude = std::abs(X);
    return Magnitude + static_cast<long double>(G) == Magnitude;
}

}  // namespace

void Jacobi(TMMatrix& A, int N, std::array<double, 4>& D, TMMatrix& V, int& NRot) {
    if (N < 0 || N > 4) throw EError("Geom.Jacobi - Matrix size must be between 0 and 4");
    V = ZeroMatrix;
    for (int i = 0; i < N; ++i) {
        V[i][i] = 1;
        D[i] = A[i][i];
    }
    NRot = 0;
    for (int Sweep = 1; Sweep <= 50; ++Sweep) {
        double Sum = 0;
        for (int p = 0; p < N; ++p)
            for (int q = p + 1; q < N; ++q) Sum += std::abs(A[p][q]);
        if (Sum == 0) return;
        const double Threshold = Sweep < 4 ? 0.2 * Sum / (N * N) : 0.0;
        for (int p = 0; p < N; ++p) {
            for (int q = p + 1; q < N; ++q) {
                const double G = 100 * std::abs(A[p][q]);
                if (Sweep > 4 && Negligible(G, D[p]) && Negligible(G, D[q])) {
                    A[p][q] = 0;
                    continue;
                }
                if (!(std::abs(A[p][q]) > Threshold)) continue;
                const double H = D[q] - D[p];
                double t;
                if (Negligible(G, H)) {
                    t = A[p][q] / H;
                } else {
                    const double Theta = 0.5 * H / A[p][q];
                    t = 1 / (std::abs(Theta) + std::sqrt(1 + Theta * Theta));
                    if (Theta < 0) t = -t;
                }
                const double c = 1 / std::sqrt(1 + t * t);
                const double s = t * c;
                const double Tau = s / (1 + c);
                const double h = t * A[p][q];
                D[p] -= h;
                D[q] += h;
                A[p][q] = 0;
                for (int j = 0; j < p; ++j) Rotate(A[j][p], A[j][q], s, Tau);
                for (int j = p + 1; j < q; ++j) Rotate(A[p][j], A[j][q], s, Tau);
                for (int j = q + 1; j < N; ++j) Rotate(A[p][j], A[q][j], s, Tau);
                for (int j = 0; j < N; ++j) Rotate(V[j][p], V[j][q], s, Tau);
                ++NRot;
            }
        }
    }
    throw EError("Geom.Jacobi - Iterations have exceeded 50, this should not happen");
}

std::array<double, 4> HermiteBasis(double T) {
    const double T2 = T * T;
    const double T3 = T2 * T;
    return {1 - 3 * T2 + 2 * T3, 3 * T2 - 2 * T3, T3 - 2 * T2 + T, T3 - T2};
}

std::array<std::array<double, 4>, 3> HermiteBasisDerivatives(double T) {
    const double T2 = T * T;
    return {HermiteBasis(T),
            {-6 * T + 6 * T2, 6 * T - 6 * T2, 3 * T2 - 4 * T + 1, 3 * T2 - 2 * T},
            {12 * T - 6, 6 - 12 * T, 6 * T - 4, 6 * T - 2}};
}

TMVector HermiteInterpolate(const TMVector& P0, const TMVector& T0, const TMVector& P1, const TMVector& T1,
                            double T) {
    const std::array<double, 4> H = HermiteBasis(T);
    return VectorSum4(VectorScale(P0, H[0]), VectorScale(P1, H[1]), VectorScale(T0, H[2]),
                      VectorScale(T1, H[3]));
}

double FindValueBrent(int Flags, double X1, double X2, double Target, const TRealFunction& Func) {
    double LastArgument = 0;
    auto F = [&](double X) {
        LastArgument = X;
        return Func(X) - Target;
    };
    constexpr double Tolerance = 1e-4;
    constexpr double Epsilon = 1e-29;
    constexpr int MaxIterations = 100;

    // A function that is not a number cannot bracket anything, and the search would end at a
    // meaningless argument as though it had found one.
    const auto Checked = [](double Value) {
        if (std::isnan(Value)) throw EError("VkMaths.FindValueBrent - The function is not a number");
        return Value;
    };
    double a = X1, b = X2;
    double fa = Checked(F(a)), fb = Checked(F(b));
    double Answer = 0;
    bool Found = false;
    if (fa * fb > 0) {
        if (!(Flags & FindValueClampToBracket))
            throw EError("VkMaths.FindValueBrent - Value is outside of Bracket");
        Answer = std::abs(fa) < std::abs(fb) ? a : b;
        Found = true;
    }
    double c = b, fc = fb;
    double d = 0, e = 0;
    for (int Iteration = 0; !Found && Iteration < MaxIterations; ++Iteration) {
        if ((fb > 0 && fc > 0) || (fb < 0 && fc < 0)) {
            c = a;
            fc = fa;
            e = d = b - a;
        }
        if (std::abs(fc) < std::abs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double Tol1 = Epsilon * std::abs(b) + 0.5 * Tolerance;
        const double xm = (c - b) / 2;
        if (std::abs(xm) <= Tol1 || fb == 0) {
            Answer = b;
            Found = true;
            break;
        }
        bool Bisect = true;
        if (std::abs(e) >= Tol1 && std::abs(fa) > std::abs(fb)) {
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2 * xm * s;
                q = 1 - s;
            } else {
                q = fa / fc;
                const double r = fb / fc;
                p = s * (2 * xm * q * (q - r) - (b - a) * (r - 1));
                q = (q - 1) * (r - 1) * (s - 1);
            }
            if (p > 0) q = -q;
            p = std::abs(p);
            if (2 * p < std::min(3 * xm * q - std::abs(Tol1 * q), std::abs(e * q))) {
                e = d;
                d = p / q;
                Bisect = false;
            }
        }
        if (Bisect) {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        if (std::abs(d) > Tol1)
            b += d;
        else
            b += xm > 0 ? Tol1 : -Tol1;
        fb = Checked(F(b));
    }
    if (!Found) throw EError("VkMaths.FindValueBrent - Maximum number of iterations exceeded");
    // Leave an object whose state follows Func in the state of the answer.
    if ((Flags & FindValueEvaluateAnswer) && LastArgument != Answer) Func(Answer);
    return Answer;
}

double FindValue(int Flags, double X1, double X2, double Target, const TRealFunction& Func) {
    return FindValueBrent(Flags, X1, X2, Target, Func);
}

double Brent(double X1, double X2, const TRealFunction& Func) {
    constexpr double GoldenSection = 0.381966;
    constexpr int MaxIterations = 100;
    double a = std::min(X1, X2), b = std::max(X1, X2);
    double x = (a + b) / 2, w = x, v = x;
    double fx = Func(x), fw = fx, fv = fx;
    double d = 0, e = 0;
    for (int Iteration = 0; Iteration < MaxIterations; ++Iteration) {
        const double xm = (a + b) / 2;
        const double Tol1 = 1e-4 * std::abs(x) + 1e-10;
        const double Tol2 = 2 * Tol1;
        if (std::abs(x - xm) <= Tol2 - (b - a) / 2) return fx;
        bool Golden = true;
        if (std::abs(e) > Tol1) {
            const double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2 * (q - r);
            if (q > 0) p = -p;
            q = std::abs(q);
            const double Etemp = e;
            e = d;
            if (!(std::abs(p) >= std::abs(q * Etemp / 2) || p <= q * (a - x) || p >= q * (b - x))) {
                d = p / q;
                const double u = x + d;
                if (u - a < Tol2 || b - u < Tol2) d = CopySign(Tol1, xm - x);
                Golden = false;
            }
        }
        if (Golden) {
            e = x >= xm ? a - x : b - x;
            d = GoldenSection * e;
        }
        const double u = std::abs(d) >= Tol1 ? x + d : x + CopySign(Tol1, d);
        const double fu = Func(u);
        if (fu <= fx) {
            if (u >= x)
                a = x;
            else
                b = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            if (u < x)
                a = u;
            else
                b = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    throw EError("Brent - too many iterations");
}

// ---- TArray ----

namespace {

// The list refuses to grow beyond this, as a list of pointers would on a 32-bit address space.
constexpr int MaxListSize = 134217727;

// A bad index is a programming error: out_of_range, which the error reporter names as such.
[[noreturn]] void ListIndexError(int Index) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
}

}  // namespace

int TArray::Add(double Value) {
    FValues.push_back(Value);
    return Count() - 1;
}

void TArray::Insert(int Index, double Value) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    FValues.insert(FValues.begin() + Index, Value);
}

void TArray::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    FValues.erase(FValues.begin() + Index);
}

double TArray::GetValue(int Index) {
    if (Index < 0) ListIndexError(Index);
    if (Index >= MaxListSize)
        throw std::out_of_range("List capacity out of bounds (" + std::to_string(Index) + ")");
    if (Index >= Count()) FValues.resize(static_cast<std::size_t>(Index) + 1, 0.0);
    return FValues[Index];
}

double TArray::First() const {
    if (FValues.empty()) ListIndexError(0);
    return FValues.front();
}

double TArray::Last() const {
    if (FValues.empty()) ListIndexError(-1);
    return FValues.back();
}

void TArray::Sort() {
    // NaNs compare as the largest values, so that the order stays strict and the sort well defined.
    std::sort(FValues.begin(), FValues.end(),
              [](double L, double R) { return L < R || (!std::isnan(L) && std::isnan(R)); });
}

void TArray::RemoveDuplicates() {
    FValues.erase(std::unique(FValues.begin(), FValues.end()), FValues.end());
}

// ---- ArrayFromString ----

namespace {

// Appends the evenly spaced values of the range "Start End Step" held in Group.
void AddRange(TArray& Result, const std::string& Group) {
    static const char* const TooMany = "ArrayFromString: Too many values between Parenthesis";
    if (WordCount(Group) != 3) throw EError("Wrong Number of Parameters between Parenthesis");
    const double Start = ParseFloat(ExtractWord(Group, 1));
    const double End = ParseFloat(ExtractWord(Group, 2));
    const double Step = ParseFloat(ExtractWord(Group, 3));
    if (Step == 0) throw EError("ArrayFromString: Step between Parenthesis is zero");
    const double Quotient = (End - Start) / Step;
    // A range running the wrong way adds nothing, however long it is.
    if (Quotient < -ArrayFromStringMaxCount) return;
    if (Quotient > ArrayFromStringMaxCount) throw EError(TooMany);
    const int N = TruncSingle(Quotient);
    if (N < 0) return;
    if (N >= ArrayFromStringMaxCount - Result.Count()) throw EError(TooMany);  // N + 1 values
    if (N == 0) {
        Result.Add(Start);
        return;
    }
    for (int k = 0; k <= N; ++k) Result.Add(Start + (End - Start) * k / N);
}

}  // namespace

std::unique_ptr<TArray> ArrayFromString(const std::string& Text) {
    auto Result = std::make_unique<TArray>();
    std::string Rest = Trim(CommasToSpaces(Text));
    while (!Rest.empty()) {
        const std::size_t From = Rest.find('(');
        if (From == std::string::npos) {
            const int Words = WordCount(Rest);
            for (int i = 1; i <= Words; ++i) Result->Add(ParseFloat(ExtractWord(Rest, i)));
            break;
        }
        const std::size_t To = Rest.find(')');
        if (To == std::string::npos || From >= To) throw EError("ArrayFromString: Parenthesis do not match");
        const std::string Group = Rest.substr(From + 1, To - From - 1);
        Rest = Trim(Rest.substr(0, From) + Rest.substr(To + 1));
        AddRange(*Result, Group);
    }
    Result->Sort();
    return Result;
}

// ---- TMVectorIterator ----

TMVector TMVectorIterator::GetFirst() {
    FCurrent = FirstVector();
    return FCurrent;
}

TMVector TMVectorIterator::GetNext() {
    FCurrent = NextVector();
    return FCurrent;
}

}  // namespace sarnova
