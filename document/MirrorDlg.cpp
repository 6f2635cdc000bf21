#include "document/MirrorDlg.h"

namespace sarnova {

TMMatrix MirrorTransform(TMirrorChoice Choice, double Offset) {
    switch (Choice) {
        case TMirrorChoice::mcXYPlane: return MatrixMirror(0, Offset);
        case TMirrorChoice::mcYZPlane: return MatrixMirror(1, Offset);
        case TMirrorChoice::mcZXPlane: break;
    }
    return MatrixMirror(2, Offset);
}

}  // namespace sarnova
