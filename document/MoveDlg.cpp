#include "document/MoveDlg.h"

namespace sarnova {

TMMatrix MoveTransform(double DX, double DY, double DZ) {
    TMMatrix Result = IdentityMatrix;
    Result[0][3] = DX;
    Result[1][3] = DY;
    Result[2][3] = DZ;
    return Result;
}

}  // namespace sarnova
