#include "surfaces/MeshGridDirections.h"

#include <string>

#include "foundation/Curvature.h"
#include "foundation/Errors.h"
#include "surfaces/Surface.h"

namespace sarnova {

namespace {

// The four neighbours of a grid point, the point itself where the grid ends.
struct TGridNeighbours {
    const TRPoint* Left;
    const TRPoint* Right;
    const TRPoint* Down;
    const TRPoint* Up;
};

TGridNeighbours GridNeighbours(TMesh& Mesh, int I, int J, const char* Routine) {
    // Outside the grid the point index would wrap into another row, or grow the mesh's point list.
    if (I < 0 || I >= Mesh.NumU() || J < 0 || J >= Mesh.NumV())
        throw EGeometryError(std::string(Routine) + " - Grid point (" + std::to_string(I) + ", " +
                             std::to_string(J) + ") is outside the mesh");
    return {&Mesh.Point(I > 0 ? I - 1 : I, J), &Mesh.Point(I < Mesh.NumU() - 1 ? I + 1 : I, J),
            &Mesh.Point(I, J > 0 ? J - 1 : J), &Mesh.Point(I, J < Mesh.NumV() - 1 ? J + 1 : J)};
}

}  // namespace

TMVector MeshPointNormal(TMesh& Mesh, int I, int J) {
    const TGridNeighbours N = GridNeighbours(Mesh, I, J, "MeshPointNormal");
    return NormalFromCrossDifferences(*N.Left, *N.Right, *N.Up, *N.Down);
}

TMVector MeshPointUDirection(TMesh& Mesh, int I, int J) {
    const TGridNeighbours N = GridNeighbours(Mesh, I, J, "MeshPointUDirection");
    return UnitDifference(*N.Left, *N.Right);
}

TMVector MeshPointVDirection(TMesh& Mesh, int I, int J) {
    const TGridNeighbours N = GridNeighbours(Mesh, I, J, "MeshPointVDirection");
    return UnitDifference(*N.Down, *N.Up);
}

}  // namespace sarnova
