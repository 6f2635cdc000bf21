#include "exchange/IoGridGen.h"

#include "document/GCustomPline.h"
#include "document/GeometryList.h"
#include "exchange/GridGenFile.h"
#include "foundation/Arc.h"
#include "foundation/Polyline.h"

namespace sarnova {

void ExportGridGen(const std::string& FileName, TGeometryList& Document) {
    TGridGenFile File;
    for (int I = 0; I < Document.Count(); ++I) {
        TGeometry& Entity = Document.Items(I);
        // Every curve entity keeps its kernel curve as a polyline or one of its descendants.
        const auto* CurveEntity = dynamic_cast<TGeoCustomPLine*>(&Entity);
        TPolyline* Curve = CurveEntity ? CurveEntity->GetCurve() : nullptr;
        if (!Curve) {
            const TDataObject Data = Entity.GetDataObject();
            if (Data && *Data.Type == typeid(TPolyline)) Curve = static_cast<TPolyline*>(Data.Object);
        }
        if (Curve) {
            std::unique_ptr<TPolyline> Points = Curve->Digitise();
            Points->RemoveDuplicatePoints();
            File.AddComment("A Polyline");
            File.BeginEntity();
            File.BeginSegment(gstLine3D);
            for (int K = 0; K < Points->Count(); ++K) File.AddPoint(*Points->Point(K), gpkPlain);
            File.EndSegment();
            File.EndEntity(Entity.GetName());
            continue;
        }
        const TDataObject Data = Entity.GetDataObject();
        if (!Data || *Data.Type != typeid(TArc)) continue;
        const TArc& Arc = *static_cast<TArc*>(Data.Object);
        File.AddComment("A Arc");
        File.BeginEntity();
        File.BeginSegment(gstCircularArc);
        File.AddPoint(*Arc.GetPoint(0), gpkPlain);
        File.AddPoint(*Arc.GetPoint(2), gpkPlain);
        File.AddPoint(*Arc.GetPoint(1), gpkArcPoint);
        File.EndSegment();
        File.EndEntity(Entity.GetName());
    }
    File.SaveToFile(FileName);
}

}  // namespace sarnova
