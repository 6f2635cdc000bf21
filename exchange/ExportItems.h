// What the exports share: a surface without a parameter range of its own is written as its
// equivalent with explicit knots and range, and an item that cannot be written is left out and named
// rather than failing the whole file.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "foundation/VkMaths.h"

namespace sarnova {

class TBSplineSurface;
class TGeoPList;
class TGeometryList;

// The document's polyline lists in document order, those a closed group holds (at any depth) in the
// group's place: the compartment exports write them all.
std::vector<TGeoPList*> PolylineListsOf(TGeometryList& Document);

// A periodic surface as the same surface with its knots and range stated (custom knots spanning
// knot OrderU to knot NumU + 1, likewise in v); nullptr for a surface that can be written as it is.
std::unique_ptr<TBSplineSurface> WritableEquivalent(const TBSplineSurface& S);

// Rounding noise taken out of a computed value: a component within 1e-12 Size of 0 is written as 0
// (Size: the size of what it places, 1 for directions), so that an arc read back and written again
// gives the same numbers rather than fresh noise such as 6E-33.
double WithoutNoise(double Value, double Size);
TMVector WithoutNoise(const TMVector& V, double Size);

// The items an export left out, with the reason; the console names each.
class TLeftOut {
public:
    void Add(const std::string& Name, const std::string& Reason);
    bool Empty() const { return FItems.empty(); }
    // "<Format> export to <file>: <name> left out: <reason>" for each.
    void Report(const char* Format, const std::string& FileName) const;

private:
    std::vector<std::pair<std::string, std::string>> FItems;
};

}  // namespace sarnova
