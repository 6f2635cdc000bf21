// The questions the polyline operations put to the user (the slicing plane, the vertex spacing, a weld
// tolerance) and the re-spacing that the vertex answers ask for. The GUI sets the dialogs at start-up;
// where one is not set, the operation that needs it is not offered.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "foundation/VkMaths.h"

namespace sarnova {

class TGeometryList;
class TPolyline;
class TPolylineList;

// The answers of the vertex dialog.
struct TVertexOptions {
    // 0 cancelled, 1 to a number of points, 2 to a maximum point spacing.
    std::uint8_t Mode = 0;
    int PointCount = 0;
    // Points wanted below the waterplane in the waterplane distribution of a list.
    int PointsBelowWaterplane = 10;
    double KnuckleAngle = 25;  // degrees
    // Height of the waterplane and its trim (degrees, bow down positive).
    double Draught = 100;
    double TrimAngle = 0;
    double PointSpacing = 1;
    // Only thin out to PointCount, leaving the other points where they are.
    bool MaintainShape = false;
    bool RemoveColinear = false;
    bool DetectKnuckles = false;
    // Lists only: the points distributed about the waterplane instead of along each polyline.
    bool WaterplaneEnabled = false;
    // Keep PointCount on every polyline in the waterplane distribution.
    bool MaintainPointCount = false;
};

// Rebuilds Polyline in place by Options: with MaintainShape only a reduction to PointCount; otherwise
// mode 2 re-spaces to PointSpacing and mode 1 to PointCount, keeping the knuckles above KnuckleAngle
// when DetectKnuckles is set; then collinear points go when RemoveColinear is set. Mode 0 does nothing.
// The re-spacing routines refuse a polyline of fewer than two points.
void ModifyPolylineVertices(TPolyline& Polyline, const TVertexOptions& Options);
// The same for every polyline of List, except that mode 1 with WaterplaneEnabled re-spaces the list
// about the waterplane at Draught and TrimAngle, PointsBelowWaterplane below it (knuckles kept only
// with DetectKnuckles); collinear points are then left alone.
void ModifyPolylineListVertices(TPolylineList& List, const TVertexOptions& Options);

struct TPolylineDialogs {
    // The slice dialog captioned "Slice " + Name: true on OK with the chosen plane and the state of
    // "Close if Original is Closed" (offered only when AllowClosing).
    std::function<bool(const std::string& Name, TGeometryList& Document, bool AllowClosing, bool& Close,
                       TMPlane& Plane)>
        ShowSliceDialog;
    // "Modify Polyline Vertices" for Polyline; Mode 0 when cancelled.
    std::function<TVertexOptions(const TPolyline& Polyline)> ShowVertexDialogForPolyline;
    // "Modify Polyline List Vertices" for every polyline of List, with the waterplane distribution.
    std::function<TVertexOptions(const TPolylineList& List)> ShowVertexDialogForList;
    // A text query: true on OK with the text typed into Value (which comes with the default).
    std::function<bool(const std::string& Caption, const std::string& Prompt, std::string& Value)> InputQuery;
};

// The dialogs the GUI has set; all empty without a GUI.
TPolylineDialogs& PolylineDialogs();

}  // namespace sarnova
