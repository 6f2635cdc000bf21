// The property frame of the N-sided patch: name and colour, the line counts and the technique.
#pragma once
#include <array>

#include "entities/GNPatch.h"
#include "entities/ui/ExtrudedSurfaceFrame.h"

class QRadioButton;

namespace sarnova {

class TNPatchFrame : public TGeneratedSurfaceFrame {
public:
    TNPatchFrame(TGeoNPatch& AEntity, QWidget* Parent);

    void UpdateControls() override;

    // One button a technique, in the order of their values.
    std::array<QRadioButton*, 4> RadioButtons{};

private:
    TGeoNPatch* Entity() const { return static_cast<TGeoNPatch*>(GetGeometry()); }
};

void RegisterNPatchFrame();

}  // namespace sarnova
