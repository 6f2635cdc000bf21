// ShipGEN patch files (".pla"): every "PARCHE" block is one Bezier patch.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// Inside a patch "NP n" and "NS n" give the net's size ((NP + 1) x (NS + 1) points; the counts carry
// over to the next patch) and the "PUNTOS" list sets control points by lines "(i,j) x y z"; each patch
// becomes one B-spline surface of orders NP + 1 and NS + 1. A file ending inside a patch or point list,
// an index outside the net or a bad number is an error naming the file and line, and then nothing is
// added.
void ImportShipGen(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
