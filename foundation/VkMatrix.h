// Dense matrix of doubles of any size, for the linear systems of curve and surface interpolation.
// Indices are 1-based and every access is bounds-checked.
#pragma once
#include <memory>
#include <span>
#include <vector>

namespace sarnova {

class TVkMatrix {
public:
    // Rows x Cols zeros; a square matrix starts as the identity. Throws EError for a negative or
    // absurdly large size.
    TVkMatrix(int Rows, int Cols);

    int GetRows() const { return FRows; }
    int GetCols() const { return FCols; }

    // Throw EError("Matrix row index out of bounds") or, the row being valid,
    // EError("Matrix column index out of bounds"); the matrix is then unchanged.
    double GetValue(int Row, int Col) const;
    void SetValue(int Row, int Col, double Value);

    // Self x Other; nullptr when Self's column count differs from Other's row count.
    std::unique_ptr<TVkMatrix> Multiply(const TVkMatrix& Other) const;
    // nullptr for a non-square or singular matrix (as GaussJordanInverse judges it).
    std::unique_ptr<TVkMatrix> Inverse() const;
    // nullptr unless the matrix is square.
    std::unique_ptr<TVkMatrix> Transpose() const;
    // Zeroes a square matrix; a non-square one is left as it is.
    void SetZero();

private:
    // Row-major storage; At takes 1-based indices already checked.
    double& At(int Row, int Col) { return FValues[Index(Row, Col)]; }
    double At(int Row, int Col) const { return FValues[Index(Row, Col)]; }
    std::size_t Index(int Row, int Col) const {
        return static_cast<std::size_t>(Row - 1) * static_cast<std::size_t>(FCols) +
               static_cast<std::size_t>(Col - 1);
    }
    void CheckIndex(int Row, int Col) const;

    int FRows;
    int FCols;
    std::vector<double> FValues;
};

// Inverts the N x N row-major matrix A (destroyed) into Inverse (N x N, overwritten) by Gauss-Jordan
// elimination. Pivots are chosen and judged against the scale of their own row, so a matrix of tiny
// but well-proportioned entries inverts as well as one of ones. False, Inverse then meaningless, for
// a singular matrix: a row of zeros or non-numbers, a pivot lost in the rounding noise of its row, or
// an estimated condition (of the row-scaled matrix) beyond what doubles resolve.
bool GaussJordanInverse(std::span<double> A, std::span<double> Inverse, int N);

}  // namespace sarnova
