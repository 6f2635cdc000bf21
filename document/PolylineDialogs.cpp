#include "document/PolylineDialogs.h"

#include <numbers>

#include "foundation/PolyList.h"
#include "foundation/PolyListSections.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineResample.h"

namespace sarnova {

void ModifyPolylineVertices(TPolyline& Polyline, const TVertexOptions& Options) {
    if (Options.Mode == 0) return;
    if (Options.MaintainShape) {
        ReducePointsToCount(Options.PointCount, Polyline);
        return;
    }
    const double Angle = Options.KnuckleAngle * std::numbers::pi / 180;
    // Knuckle marks left from an earlier re-spacing would otherwise be kept although knuckle
    // detection is off now.
    if (!Options.DetectKnuckles)
        for (int I = 0; I < Polyline.Count(); ++I) Polyline.Point(I)->Tag = 0;
    if (Options.Mode == 2) {
        if (Options.DetectKnuckles)
            ResampleAtKnuckles(Polyline, Options.PointSpacing, Angle);
        else
            ResampleBySpacing(Polyline, Options.PointSpacing);
    } else {
        if (Options.DetectKnuckles) MarkKnuckles(Polyline, Angle);
        ResampleKeepingKnuckles(Options.PointCount, Polyline);
    }
    if (Options.RemoveColinear) Polyline.RemoveCollinearPoints();
}

void ModifyPolylineListVertices(TPolylineList& List, const TVertexOptions& Options) {
    if (Options.Mode == 0) return;
    if (Options.Mode == 1 && Options.WaterplaneEnabled && !Options.MaintainShape) {
        const double Angle = (Options.DetectKnuckles ? Options.KnuckleAngle : 360) * std::numbers::pi / 180;
        ResampleSections(List, Options.PointsBelowWaterplane, Options.PointCount, Options.Draught,
                         Options.TrimAngle * std::numbers::pi / 180, Angle, Options.MaintainPointCount);
        return;
    }
    for (int I = 0; I < List.Count(); ++I) ModifyPolylineVertices(*List.Items(I), Options);
}

TPolylineDialogs& PolylineDialogs() {
    static TPolylineDialogs Dialogs;
    return Dialogs;
}

}  // namespace sarnova
