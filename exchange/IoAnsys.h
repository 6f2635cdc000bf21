// Ansys element scripts read into and written from a document.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// Lines become two-point polylines, arcs arc entities, and elements of three or four nodes facets of
// one polygon list (added where the first such element stands); other elements and lone points add
// nothing. A script that fails to read adds nothing.
void ImportAnsys(const std::string& FileName, TGeometryList& Document);
// Curves as chains of lines, arcs as LARC parts of at most 90 degrees (an arc whose sweep is not
// positive is skipped with a console line), surfaces by their sampled mesh and meshes by their net
// as four-node elements.
void ExportAnsys(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
