// New entities of classes that other modules register, made from kernel objects: the facet lists and
// polyline lists that boxes, circles and planes turn into. The classes are found by their file
// keyword in the registry, so that a conversion is offered only once its target class is there.
#pragma once
#include <memory>
#include <string>

namespace sarnova {

class TGeometry;
class TGeometryList;
class TPolygonList;
class TPolylineList;

// The keywords of the target classes.
inline const char* const PolygonListKeyword = "TPolygonList";
inline const char* const PolylineListKeyword = "TPolylineList";

// Whether a class with exactly this keyword (letter case ignored) is registered.
bool IsClassRegistered(const std::string& Keyword);

// A new entity of the polygon-list class holding a copy of Facets; nullptr when that class is not
// registered or does not hold facets.
std::unique_ptr<TGeometry> NewPolygonListEntity(const TPolygonList& Facets);
// The same for the polyline-list class and a copy of Lines.
std::unique_ptr<TGeometry> NewPolylineListEntity(const TPolylineList& Lines);

// The new entity added to List and drawn; nullptr, and nothing added, without one.
TGeometry* AddPolygonListEntity(TGeometryList& List, const TPolygonList& Facets);
TGeometry* AddPolylineListEntity(TGeometryList& List, const TPolylineList& Lines);

}  // namespace sarnova
