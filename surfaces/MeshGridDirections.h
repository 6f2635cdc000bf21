// The unit normal and the grid directions at a point of a point mesh, by central differences.
#pragma once
#include "foundation/VkMaths.h"

namespace sarnova {

class TMesh;

// At grid point (I, J) of Mesh, from the neighbours (I -+ 1, J) and (I, J -+ 1); on an edge the point
// itself stands in for the missing neighbour, so the difference there is one-sided. A grid point
// outside 0 .. NumU - 1, 0 .. NumV - 1 throws EGeometryError naming the routine.
// unit(unit(right - left) x unit(up - down)).
TMVector MeshPointNormal(TMesh& Mesh, int I, int J);
// unit(right - left), along the first index.
TMVector MeshPointUDirection(TMesh& Mesh, int I, int J);
// unit(up - down), along the second index.
TMVector MeshPointVDirection(TMesh& Mesh, int I, int J);

}  // namespace sarnova
