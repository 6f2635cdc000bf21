// Start-up registration of every entity class with the class registry. The program, the golden-case
// runner and tests call it once before documents are read; it is the one list of entity classes, so a
// new entity module adds its class here (a static initialiser in a static library may be dropped).
#pragma once

namespace sarnova {

// Registers each entity class once, in any order (the registry sorts them into the program's order).
// Calling it again does nothing.
void RegisterGeometryClasses();

}  // namespace sarnova
