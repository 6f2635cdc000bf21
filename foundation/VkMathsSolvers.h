// The small numeric toolkit of the geometry kernels: two-vector solvers, Jacobi eigenvalues, the cubic
// Hermite basis, Brent's root finder and minimiser, a growable list of numbers with a parser for
// number lists and ranges, and the iterator through which point sources hand out their points.
#pragma once
#include "foundation/VkMaths.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sarnova {

// ---- S A + T B = C ----

// Solves from the first usable pair of components (XY, XZ, YZ); the third equation is not checked.
// Returns true on failure: throws EError("Solve3DLinearEquation") when Raise is set, otherwise writes
// "Solve3DLinearEquation failed" to the console and leaves S and T unchanged.
bool Solve3DLinearEquation(const TMVector& A, const TMVector& B, const TMVector& C, double& S, double& T,
                           bool Raise);
// As Solve3DLinearEquation, but copes with A or B shorter than 1e-5 by taking a component ratio, and
// checks that the answer reproduces C: within 1e-10 after a ratio, within 1e-9 relative to the
// vectors' size (at least 1e-10) after the general solve. Returns true on failure, reported as "Vectors
// not planar" when the check fails.
bool Solve3DPlaneEquation(const TMVector& A, const TMVector& B, const TMVector& C, double& S, double& T,
                          bool Raise);

// Directions that stand out of a tangent plane by no more than this sine lie in it: the curve
// network's test of a continuous tangent plane.
inline constexpr double TangentPlaneTolerance = 1e-4;
// C moved into the plane of A and B (its nearest vector there) when it stands out of that plane by a
// sine of at most Tolerance; C itself when it stands out further, lies in the plane to rounding, or A
// and B do not span a plane. Directions measured along curves that meet in one tangent plane agree
// with it only to the precision the curves were placed with; a plane solve needs them exact.
TMVector IntoNearPlane(const TMVector& A, const TMVector& B, const TMVector& C, double Tolerance);

// ---- Eigenvalues ----

// Cyclic Jacobi on the symmetric leading N x N block of A (0 <= N <= 4): eigenvalues in D[0..N-1],
// unsorted, the eigenvector of D[i] in column i of V; NRot counts the rotations. The upper
// off-diagonal elements of A are destroyed. Throws EError after 50 sweeps without convergence.
void Jacobi(TMMatrix& A, int N, std::array<double, 4>& D, TMMatrix& V, int& NRot);

// ---- Cubic Hermite segments, T in [0, 1] ----

// Weights of start point, end point, start tangent, end tangent.
std::array<double, 4> HermiteBasis(double T);
// Row 0 the basis, row 1 its first and row 2 its second derivatives, same column order.
std::array<std::array<double, 4>, 3> HermiteBasisDerivatives(double T);
// The point at T of the segment from P0 (tangent T0) to P1 (tangent T1).
TMVector HermiteInterpolate(const TMVector& P0, const TMVector& T0, const TMVector& P1, const TMVector& T1,
                            double T);

// ---- Brent's methods ----

using TRealFunction = std::function<double(double)>;

// Flags of FindValueBrent.
inline constexpr int FindValueClampToBracket = 1;  // a target outside the bracket gives the nearer end
inline constexpr int FindValueEvaluateAnswer = 2;  // Func is last evaluated at the answer

// An X in [X1, X2] with Func(X) = Target, to within 1e-4 in X. Throws EError when the target is
// outside the bracket (unless FindValueClampToBracket), when Func gives NaN, or after 100 evaluations. Without
// FindValueEvaluateAnswer Func may last have been evaluated elsewhere than at the answer, which
// matters when Func moves an object along.
double FindValueBrent(int Flags, double X1, double X2, double Target, const TRealFunction& Func);
double FindValue(int Flags, double X1, double X2, double Target, const TRealFunction& Func);
// The smallest value of Func found between X1 and X2 (either order). The minimising argument is not
// returned, and Func was last evaluated at the last trial point, not necessarily at the minimum.
double Brent(double X1, double X2, const TRealFunction& Func);

// ---- Number lists ----

// A growable list of numbers, index 0 first.
class TArray {
public:
    int Count() const { return static_cast<int>(FValues.size()); }
    // Appends Value; returns its index.
    int Add(double Value);
    void Insert(int Index, double Value);
    void Delete(int Index);
    // Reading past the end appends zeros until Index exists.
    double GetValue(int Index);
    double First() const;
    double Last() const;
    // Ascending; NaNs go last.
    void Sort();
    // Drops every value exactly equal to the one before it; meant for a sorted list.
    void RemoveDuplicates();
    void Clear() { FValues.clear(); }

private:
    std::vector<double> FValues;
};

// Most values ArrayFromString makes: a range cannot ask for an unbounded list.
inline constexpr int ArrayFromStringMaxCount = 1000000;

// Numbers and ranges from a text such as "0.5 (1 2 0.5) 3": blanks or commas separate numbers, and a
// parenthesised "start end step" adds evenly spaced values from start to end. The result is sorted
// ascending and keeps duplicates. Throws EError on unmatched parentheses, a range without exactly
// three numbers, a zero step or a range of more than ArrayFromStringMaxCount values, and the number
// parser's error on a word that is not a number.
std::unique_ptr<TArray> ArrayFromString(const std::string& Text);

// ---- Vector iterators ----

// Sequential access to the points of a source. The owner deletes it through this interface.
class IMVectorIterator {
public:
    virtual ~IMVectorIterator() = default;
    // Positions on the first vector and returns it.
    virtual TMVector First() = 0;
    // Moves to the next vector and returns it; at the end it stays on the last one.
    virtual TMVector Next() = 0;
    // The vector last returned by First or Next.
    virtual TMVector Current() const = 0;
    virtual bool IsLast() const = 0;
};

// Base of the iterators: keeps the vector last handed out; subclasses walk their source, which must
// outlive them.
class TMVectorIterator : public IMVectorIterator {
public:
    TMVector First() override { return GetFirst(); }
    TMVector Next() override { return GetNext(); }
    TMVector Current() const override { return FCurrent; }
    bool IsLast() const override { return GetIsLast(); }

protected:
    virtual TMVector FirstVector() = 0;
    // The last vector again at the end.
    virtual TMVector NextVector() = 0;
    virtual bool AtLast() const = 0;

    TMVector GetFirst();
    TMVector GetNext();
    bool GetIsLast() const { return AtLast(); }

private:
    TMVector FCurrent;
};

}  // namespace sarnova
