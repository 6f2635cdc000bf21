#include "foundation/DuZezOrideDesktop.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sarnova {

namespace {
int ToInt(long long Value) {
    return static_cast<int>(std::clamp<long long>(Value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}
}  // namespace

bool RectsOverlap(const TRect& A, const TRect& B) {
    return !(A.Right < B.Left || B.Bottom < A.Top || B.Right < A.Left || A.Bottom < B.Top);
}

TRect MoveIntoDesktop(const TRect& Bounds, const TRect& Desktop) {
    if (RectsOverlap(Bounds, Desktop)) return Bounds;
    const long long Width = static_cast<long long>(Bounds.Right) - Bounds.Left;
    const long long Height = static_cast<long long>(Bounds.Bottom) - Bounds.Top;
    long long Left = Bounds.Left;
    long long Top = Bounds.Top;
    if (Top + Height > Desktop.Bottom) Top = Desktop.Bottom - Height;
    if (Left + Width > Desktop.Right) Left = Desktop.Right - Width;
    if (Top < Desktop.Top) Top = Desktop.Top;
    if (Left < Desktop.Left) Left = Desktop.Left;
    return {ToInt(Left), ToInt(Top), ToInt(Left + Width), ToInt(Top + Height)};
}

double PixelDistance(const TPoint& A, const TPoint& B) {
    return std::hypot(static_cast<double>(A.X) - B.X, static_cast<double>(A.Y) - B.Y);
}

bool PointInTriangle(const TPoint& P, const TPoint& A, const TPoint& B, const TPoint& C) {
    // In doubled coordinates the pixel's centre is (2x + 1, 2y + 1): every product stays exact.
    const long long PX = 2LL * P.X + 1, PY = 2LL * P.Y + 1;
    auto Side = [&](const TPoint& U, const TPoint& V) {
        const long long UX = 2LL * U.X, UY = 2LL * U.Y, VX = 2LL * V.X, VY = 2LL * V.Y;
        const long long Cross = (VX - UX) * (PY - UY) - (VY - UY) * (PX - UX);
        return (Cross > 0) - (Cross < 0);
    };
    const long long Area = (static_cast<long long>(B.X) - A.X) * (static_cast<long long>(C.Y) - A.Y) -
                           (static_cast<long long>(B.Y) - A.Y) * (static_cast<long long>(C.X) - A.X);
    if (Area == 0) return false;
    const int S1 = Side(A, B), S2 = Side(B, C), S3 = Side(C, A);
    const bool NoneNegative = S1 >= 0 && S2 >= 0 && S3 >= 0;
    const bool NonePositive = S1 <= 0 && S2 <= 0 && S3 <= 0;
    return NoneNegative || NonePositive;
}

}  // namespace sarnova
