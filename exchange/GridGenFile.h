// The writer of GridGen Glyph scripts (the mesh generator's Tcl command language): indented lines,
// connectors made of segments, each connector kept in a Tcl variable.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/VkMaths.h"

namespace sarnova {

class TRPoint;

enum TGridGenSegmentType {
    gstLine3D,
    gstCubic,
    gstAkima,
    gstCircularArc,
    gstConic,
    gstDBLine,
    gstDBCubic,
    gstDBAkima,
    gstPole,
};

// Kinds of control point: plain, an arc's centre, a point on an arc.
enum TGridGenPointKind { gpkPlain, gpkCentre, gpkArcPoint };

// A valid Tcl variable name for an entity name: every character but letters, digits and "_"
// becomes "_".
std::string GridGenVariableName(std::string_view Name);

class TGridGenFile {
public:
    std::vector<std::string> Lines;
    int Indent = 0;
    int ConnectorCount = 0;

    void AddLine(std::string_view Text);
    // "# " and the text, not indented.
    void AddComment(std::string_view Text);
    void IndentMore() { Indent += 4; }
    void IndentLess() { Indent = Indent >= 4 ? Indent - 4 : 0; }
    void BeginCatch();
    void EndCatch();
    void BeginConnector();
    // "gg::segBegin -type <type>", for a conic with " -rho <rho>".
    void BeginSegment(TGridGenSegmentType Type, double Rho = 0);
    // Coordinates with four decimals and a point whatever the locale.
    void AddControlPoint(TGridGenPointKind Kind, double X, double Y, double Z);
    void AddPoint(const TRPoint& Point, TGridGenPointKind Kind);
    void EndSegment();
    void BeginEntity();
    // Stores the connector in the variable of Name, or "Entity<n>" for an unnamed entity.
    void EndEntity(std::string_view Name);
    // Lines ended by LF, through a temporary file renamed over the target.
    void SaveToFile(const std::filesystem::path& FileName) const;
};

}  // namespace sarnova
