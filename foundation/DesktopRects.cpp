#include "foundation/DesktopRects.h"

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
    const auto Cross = [](const TPoint& O, const TPoint& U, const TPoint& V) {
        return static_cast<long long>(U.X - O.X) * (V.Y - O.Y) - static_cast<long long>(U.Y - O.Y) * (V.X - O.X);
    };
    const long long Area = Cross(A, B, C);
    if (Area == 0) return false;
    for (long long D : {Cross(A, B, P), Cross(B, C, P), Cross(C, A, P)})
        if (Area > 0 ? D < 0 : D > 0) return false;
    return true;
}

}  // namespace sarnova
