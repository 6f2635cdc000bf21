// How the surface and mesh entities make the calculation sections of their "Create Calculation
// Sections" command: the cut belongs to the naval calculations, which install it here when the entity
// classes are registered.
#pragma once
#include <functional>
#include <memory>

namespace sarnova {

class TPolygonList;
class TPolylineList;
class TSurface;
class TSurfaces;

// Each makes a new list the caller owns; nullptr (as an empty maker) when there are no sections.
struct TCalculationSectionMakers {
    std::function<std::unique_ptr<TPolylineList>(TSurface& Surface)> OfSurface;
    std::function<std::unique_ptr<TPolylineList>(TSurfaces& Surfaces)> OfSurfaces;
    std::function<std::unique_ptr<TPolylineList>(const TPolygonList& Mesh)> OfMesh;
};

// The program's makers, empty until the entity classes are registered.
TCalculationSectionMakers& CalculationSectionMakers();

}  // namespace sarnova
