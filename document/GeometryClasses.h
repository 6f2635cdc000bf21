// The program-wide registry of entity classes. Entity modules register their classes at start-up; the
// registry finds the class of an entity and clones undoable entities for copies and undo snapshots.
#pragma once
#include <memory>
#include <vector>

#include "document/Geometry.h"

namespace sarnova {

class TGeometryClasses {
public:
    // Appends the class; registering a class twice gives two entries.
    void AddClass(const TGeometryClass& Class);
    int Count() const { return static_cast<int>(Classes.size()); }
    // Throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    const TGeometryClass& ClassAt(int Index) const;
    bool IsRegistered(const TGeometryClass& Class) const;
    // The first registered class that Entity is an instance of; nullptr when none.
    const TGeometryClass* FindEntry(const TGeometry& Entity) const;
    // A new, unowned entity of Entity's registered class with Entity's state copied in (Assign);
    // nullptr when Entity is not undoable or its class is not registered.
    std::unique_ptr<TGeometry> Clone(const TGeometry& Entity) const;
    void Clear() { Classes.clear(); }

private:
    std::vector<const TGeometryClass*> Classes;
};

// The registry; created by the first registration.
extern std::unique_ptr<TGeometryClasses> GGeometryClasses;

void RegisterGeometryClass(const TGeometryClass& Class);

}  // namespace sarnova
