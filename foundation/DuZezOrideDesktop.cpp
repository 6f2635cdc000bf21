#include "foundation/DuZezOrideDesktop.h"

#include <algorithm>
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

}  // namespace sarnova
