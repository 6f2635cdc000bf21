// FastShip surface files (".srf"): B-spline surfaces with orders, knot vectors and weighted control
// points, z pointing down unless a companion ".aux" file says otherwise.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// One B-spline surface entity per surface of the file. Z is negated unless a file of the same name
// with the extension ".aux" has a line "SET-POSITIVE-Z UP" (the last such line, UP or DOWN, wins).
// Non-open knot vectors are kept as written. A count the file cannot hold, a bad number or a cut
// file is an error naming the file and line, and then nothing is added.
void ImportSrf(const std::string& FileName, TGeometryList& Document);
// Every B-spline surface (members of surface lists as "<name>/Surf<k>") and mesh (a surface of
// orders 2) with z negated. Without any: an information box and no file.
void ExportSrf(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
