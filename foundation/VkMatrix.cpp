#include "foundation/VkMatrix.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "foundation/Errors.h"

namespace sarnova {

namespace {
// Far beyond the few hundred rows of interpolation, yet an allocation that cannot run away.
constexpr long long MaxElements = 1LL << 27;
}  // namespace

TVkMatrix::TVkMatrix(int Rows, int Cols) : FRows(Rows), FCols(Cols) {
    if (Rows < 0 || Cols < 0 || static_cast<long long>(Rows) * Cols > MaxElements)
        throw EError("Matrix size out of range");
    FValues.assign(static_cast<std::size_t>(Rows) * static_cast<std::size_t>(Cols), 0.0);
    if (Rows == Cols)
        for (int i = 1; i <= Rows; ++i) At(i, i) = 1.0;
}

void TVkMatrix::CheckIndex(int Row, int Col) const {
    if (Row < 1 || Row > FRows) throw EError("Matrix row index out of bounds");
    if (Col < 1 || Col > FCols) throw EError("Matrix column index out of bounds");
}

double TVkMatrix::GetValue(int Row, int Col) const {
    CheckIndex(Row, Col);
    return At(Row, Col);
}

void TVkMatrix::SetValue(int Row, int Col, double Value) {
    CheckIndex(Row, Col);
    At(Row, Col) = Value;
}

std::unique_ptr<TVkMatrix> TVkMatrix::Multiply(const TVkMatrix& Other) const {
    if (FCols != Other.FRows) return nullptr;
    auto Result = std::make_unique<TVkMatrix>(FRows, Other.FCols);
    for (int a = 1; a <= FRows; ++a)
        for (int b = 1; b <= Other.FCols; ++b) {
            double Sum = 0.0;
            for (int i = 1; i <= Other.FRows; ++i) Sum += At(a, i) * Other.At(i, b);
            Result->At(a, b) = Sum;
        }
    return Result;
}

std::unique_ptr<TVkMatrix> TVkMatrix::Inverse() const {
    if (FRows != FCols) return nullptr;
    std::vector<double> Work = FValues;
    auto R = std::make_unique<TVkMatrix>(FRows, FCols);
    if (!GaussJordanInverse(Work, R->FValues, FRows)) return nullptr;
    return R;
}

std::unique_ptr<TVkMatrix> TVkMatrix::Transpose() const {
    if (FRows != FCols) return nullptr;
    auto Result = std::make_unique<TVkMatrix>(FCols, FRows);
    for (int i = 1; i <= FRows; ++i)
        for (int j = 1; j <= FCols; ++j) Result->At(j, i) = At(i, j);
    return Result;
}

void TVkMatrix::SetZero() {
    if (FRows == FCols) FValues.assign(FValues.size(), 0.0);
}

bool GaussJordanInverse(std::span<double> A, std::span<double> Inverse, int N) {
    const std::size_t n = static_cast<std::size_t>(N);
    const auto At = [n](std::span<double> M, std::size_t Row, std::size_t Col) -> double& { return M[Row * n + Col]; };
    constexpr double Epsilon = std::numeric_limits<double>::epsilon();

    // Each row's largest magnitude; Scale follows the rows through the exchanges, Original stays.
    std::vector<double> Scale(n), Original(n);
    double ScaledNorm = 0;  // infinity norm of the row-scaled matrix
    for (std::size_t i = 0; i < n; ++i) {
        double Largest = 0, Sum = 0;
        for (std::size_t j = 0; j < n; ++j) {
            const double Size = std::fabs(At(A, i, j));
            Largest = std::max(Largest, Size);
            Sum += Size;
        }
        if (!(Largest > 0) || !std::isfinite(Sum)) return false;
        Scale[i] = Original[i] = Largest;
        ScaledNorm = std::max(ScaledNorm, Sum / Largest);
    }
    std::fill(Inverse.begin(), Inverse.end(), 0.0);
    for (std::size_t i = 0; i < n; ++i) At(Inverse, i, i) = 1;

    for (std::size_t j = 0; j < n; ++j) {
        std::size_t k = j;
        double Best = -1;
        for (std::size_t a = j; a < n; ++a) {
            const double Relative = std::fabs(At(A, a, j)) / Scale[a];
            if (Relative > Best) {
                Best = Relative;
                k = a;
            }
        }
        // What is left of the column is rounding noise of its row: the rows were dependent.
        if (!(Best > Epsilon)) return false;
        if (k != j) {
            for (std::size_t b = 0; b < n; ++b) {
                std::swap(At(A, k, b), At(A, j, b));
                std::swap(At(Inverse, k, b), At(Inverse, j, b));
            }
            std::swap(Scale[k], Scale[j]);
        }
        const double Pivot = 1.0 / At(A, j, j);
        for (std::size_t b = 0; b < n; ++b) {
            At(A, j, b) *= Pivot;
            At(Inverse, j, b) *= Pivot;
        }
        for (std::size_t a = 0; a < n; ++a) {
            const double F = At(A, a, j);
            if (a == j || F == 0) continue;
            for (std::size_t b = 0; b < n; ++b) {
                At(A, a, b) -= F * At(A, j, b);
                At(Inverse, a, b) -= F * At(Inverse, j, b);
            }
        }
    }

    // The condition of the row-scaled matrix D^-1 A is its norm times that of A^-1 D, whose column j
    // is the inverse's column j scaled by row j's original scale.
    double InverseNorm = 0;
    for (std::size_t i = 0; i < n; ++i) {
        double Sum = 0;
        for (std::size_t j = 0; j < n; ++j) Sum += std::fabs(At(Inverse, i, j)) * Original[j];
        InverseNorm = std::max(InverseNorm, Sum);
    }
    const double Condition = ScaledNorm * InverseNorm;
    return std::isfinite(Condition) && Condition * Epsilon < 1;
}

}  // namespace sarnova
