// The program-wide registry of entity classes. Through it the document reader finds the class of a
// block by its keyword, lists and the clipboard clone entities, the document window fills its Create
// and Tools menus, the document its multiple-selection menu, and the macro interpreter offers each
// line to every class.
#pragma once
#include <memory>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "document/Geometry.h"

namespace sarnova {

class TGeometryClasses {
public:
    // Appends the class; registering a class twice gives two entries.
    void AddClass(const TGeometryClass& Class);
    // Inserts the class at its place in the program's fixed registration order (by keyword: "TFrames",
    // "TPolygonList", "TBox", ... "TN-SidedPatch"), behind classes of the same or an earlier place; a
    // class outside that order goes last. Entity modules may so be started in any order and keyword
    // lookup, the Tools menu and macro dispatch still see the classes in the program's order.
    void Register(const TGeometryClass& Class);
    int Count() const { return static_cast<int>(Classes.size()); }
    // Throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    const TGeometryClass& ClassAt(int Index) const;
    const TGeometryClass& Items(int Index) const { return ClassAt(Index); }
    bool IsRegistered(const TGeometryClass& Class) const;
    // The first registered class whose keyword equals Keyword, letter case ignored; the placeholder
    // class TGeoUnknown when none has it. Never fails.
    const TGeometryClass& FindClass(const std::string& Keyword) const;
    // The first registered class that Entity is an instance of; nullptr when none.
    const TGeometryClass* FindEntry(const TGeometry& Entity) const;
    // A new, unowned entity of Entity's registered class with Entity's state copied in (Assign);
    // nullptr when Entity is not undoable or its class is not registered.
    std::unique_ptr<TGeometry> Clone(const TGeometry& Entity) const;
    void Clear() {
        Classes.clear();
        EntryOfType.clear();
    }

    // The Create menu: the classes by menu order (equal orders in registration order), a separator
    // "-" before each new group of ten (order / 10), then each class's own items.
    void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& Document) const;
    // Every class's Tools items, in registration order.
    void AddToolsMenuItems(TMenuItem& Menu, TGeometryList& Document) const;
    // Every class's items of the multiple-selection menu, in registration order.
    void AddGroupMenuItems(TMenuItem& Menu, TGeometryList& Document) const;
    // Offers the macro's current line to every class in registration order; true when one took it.
    bool ExecuteMacro(TMacroFile& Macro, TGeometryList& Document) const;
    // Writes "Currently Supported Entities:-" and " <class> Implementing <keyword>" per class to the
    // console.
    void ListClasses() const;

private:
    std::vector<const TGeometryClass*> Classes;
    // FindEntry's answers by the entity's dynamic type (undo clones every entity of a step), forgotten
    // when the classes change.
    mutable std::unordered_map<std::type_index, const TGeometryClass*> EntryOfType;
};

// The registry; created by the first registration.
extern std::unique_ptr<TGeometryClasses> GGeometryClasses;

// Called by each entity module's start-up routine (explicitly, not from a static initialiser, which
// a static library may drop): creates GGeometryClasses when needed and Registers the class.
void RegisterGeometryClass(const TGeometryClass& Class);

// The class for a file keyword: GGeometryClasses's FindClass, or TGeoUnknown before any registration.
const TGeometryClass& FindGeometryClass(const std::string& Keyword);

}  // namespace sarnova
