// The property frame of the ruled surface: name and colour, the two curves picked by name, and the
// line counts.
#pragma once
#include "entities/GRuledSurface.h"
#include "entities/ui/ExtrudedSurfaceFrame.h"

namespace sarnova {

class TRuledSurfaceFrame : public TGeneratedSurfaceFrame {
public:
    TRuledSurfaceFrame(TGeoRuledSurface& AEntity, QWidget* Parent);

    void UpdateControls() override;

    QComboBox* ComboBox1;
    QComboBox* ComboBox2;

private:
    TGeoRuledSurface* Entity() const { return static_cast<TGeoRuledSurface*>(GetGeometry()); }
    void CurveChosen(TGeometryReference& Reference, const QString& Name);
};

void RegisterRuledSurfaceFrame();

}  // namespace sarnova
