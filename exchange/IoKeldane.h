// Hull surfaces of the Keldane hull program (".kdn"): a list of sections in millimetres read as the
// control net of one B-spline surface.
#pragma once
#include <string>

namespace sarnova {

class IUserDialogs;
class TGeometryList;

// The file holds, by line: 1 to 7 ignored, 8 the order of both directions, 9 to 12 ignored, 13 the
// number of curves C, then C times a line with the point count n and n lines "a b c" in millimetres.
// Point (a, b, c) is placed at (c, a, b) / 1000. The curves are the U lines of the net; the V lines
// run from the last point listed to the first. At most 21 curves of at most 25 points, all of one
// count: anything else, a bad number or a cut file is an error naming the file and line, and then
// nothing is added.
void ImportKeldaneHullFile(const std::string& FileName, TGeometryList& Document);
// Asks for the file ("Import Keldane Hull"), then imports it; a cancelled dialog does nothing.
void ImportKeldaneHull(IUserDialogs& Dialogs, TGeometryList& Document);

}  // namespace sarnova
