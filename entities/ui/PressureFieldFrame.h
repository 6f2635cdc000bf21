// The property frames of the pressure field (name, colour and the shading controller that chooses
// the colour range) and of the vector list (name, colour and the arrows' display scale).
#pragma once
#include "entities/GPressureField.h"
#include "entities/GVectorList.h"
#include "entities/ui/EntityFrame.h"

namespace sarnova {

class TVkShadingController;

class TPressureFieldFrame : public TEntityFrame, public IGeometryFrame {
public:
    TPressureFieldFrame(TGeoPressureField& AEntity, QWidget* Parent);

    bool IsDefaultFrame() const override { return false; }
    // UpdateControls: name and colour, the scale over the pressures and the markers at the colour range.
    void Refresh() override;
    void GeometryDestroyed() override { Forget(); }

    TVkGroupBox* VkGroupBox2;
    TVkShadingController* VkShadingController1;

private:
    TGeoPressureField* Entity() const { return static_cast<TGeoPressureField*>(GetGeometry()); }
};

class TVectorListFrame : public TEntityFrame, public IGeometryFrame {
public:
    TVectorListFrame(TGeoVectorList& AEntity, QWidget* Parent);

    bool IsDefaultFrame() const override { return false; }
    void Refresh() override;
    void GeometryDestroyed() override { Forget(); }

    TVkGroupBox* VkGroupBox2;
    TVkSpinEdit* VkSpinEdit1;

private:
    TGeoVectorList* Entity() const { return static_cast<TGeoVectorList*>(GetGeometry()); }
};

// The pressure-field renderer and the two frames; the GUI calls it at start-up.
void RegisterPressureFieldUi();

}  // namespace sarnova
