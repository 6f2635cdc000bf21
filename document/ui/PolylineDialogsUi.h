// The dialogs of the polyline operations: the slicing plane, the vertex spacing and a text query.
#pragma once
#include <string>

#include "document/PolylineDialogs.h"

namespace sarnova {

// "Slice " + Name: an axis plane at a typed position, or one of the document's named plane entities;
// the close box is offered only when AllowClosing and an axis plane is chosen.
bool ShowSliceDialog(const std::string& Name, TGeometryList& Document, bool AllowClosing, bool& Close,
                     TMPlane& Plane);
// "Modify Polyline Vertices" starting from the polyline's point count; Mode 0 when cancelled.
TVertexOptions ShowVertexDialog(const TPolyline& Polyline);
bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value);

// Hands the dialogs above to the polyline operations.
void RegisterPolylineDialogs();

}  // namespace sarnova
