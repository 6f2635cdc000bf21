// The vector-list entity: located vectors (forces, velocities) brought in from an analysis, drawn as
// arrows stretched by a display scale. It enters documents through the reader, clone or paste only.
#pragma once
#include <memory>
#include <string>

#include "document/Geometry.h"
#include "surfaces/VectorList.h"

namespace sarnova {

// The name under which the GUI registers the vector-list frame.
inline const char* const VectorListFrameName = "VectorListFrame";

class TGeoVectorList : public TGeometry {
public:
    // An empty list, scale 1; undoable.
    TGeoVectorList();
    ~TGeoVectorList() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoVectorList>(); }
    static std::string GetKeyword() { return "TVectorList"; }

    TVectorList& Vectors() const { return *FVectors; }
    double GetScale() const { return FVectors->Scale; }
    // A display setting: redrawn at once and saved, but no undo step. The extents follow the arrows.
    void SetScale(double Value);

    // ---- Overrides ----
    TDataObject GetDataObject() override { return TDataObject::Of(FVectors.get()); }
    // Base points and unscaled tips (point + vector), in pairs: 2 i the base of vector i, 2 i + 1 its
    // tip. Picking goes by these.
    int GetPointCount() override { return 2 * FVectors->Count(); }
    void GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) override;
    // Base points and drawn tips (point + scale * vector).
    TMBox CalculateExtents() override { return FVectors->GetExtents(); }
    // The vector-list frame when the GUI has one, else the default frame.
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    // Points carried through M, vectors as M(point + vector) - M(point); the scale stays.
    void Transform(const TMMatrix& M) override;
    // The vectors and the scale.
    void Assign(const TGeometry& Source) override;
    void Draw(IGraphics& View) override { FVectors->Draw(View); }
    void DrawOutline(IGraphics& View) override { FVectors->Draw(View); }
    void DrawSimplified(IGraphics& View) override { DrawBox(View); }
    // "[TVectorList]", the list's lines, "Name=" when named, "Color=" when not the draw colour, an
    // empty line.
    void SaveToText(TTextWriter& Out) override;
    // The list's lines, then NAME and COLOR key lines up to the first line without a key.
    void LoadFromText(TTextReader& In) override;

private:
    std::unique_ptr<TVectorList> FVectors;
};

}  // namespace sarnova
