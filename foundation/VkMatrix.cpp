#include "foundation/VkMatrix.h"

#include <cmath>
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

// Gauss-Jordan elimination. Each column takes the largest remaining pivot: taking merely the
// first non-zero one loses all precision when that pivot is tiny next to the others.
std::unique_ptr<TVkMatrix> TVkMatrix::Inverse() const {
    if (FRows != FCols) return nullptr;
    const int n = FRows;
    TVkMatrix W(*this);
    auto R = std::make_unique<TVkMatrix>(n, n);
    for (int j = 1; j <= n; ++j) {
        int k = 0;
        double Largest = 0.0;
        for (int a = j; a <= n; ++a) {
            const double Size = std::fabs(W.At(a, j));
            if (Size >= 1e-30 && Size > Largest) {
                Largest = Size;
                k = a;
            }
        }
        if (k == 0) return nullptr;  // singular
        if (k != j)
            for (int b = 1; b <= n; ++b) {
                std::swap(W.At(k, b), W.At(j, b));
                std::swap(R->At(k, b), R->At(j, b));
            }
        const double Scale = 1.0 / W.At(j, j);
        for (int b = 1; b <= n; ++b) {
            W.At(j, b) *= Scale;
            R->At(j, b) *= Scale;
        }
        for (int a = 1; a <= n; ++a) {
            if (a == j) continue;
            const double F = W.At(a, j);
            for (int b = 1; b <= n; ++b) {
                W.At(a, b) -= F * W.At(j, b);
                R->At(a, b) -= F * R->At(j, b);
            }
        }
    }
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

}  // namespace sarnova
