// The property frame of the frames entity: name and colour, and the frame definition, which "Update"
// applies.
#pragma once
#include "document/GFrames.h"
#include "entities/ui/EntityFrame.h"

class QLineEdit;
class QToolButton;

namespace sarnova {

class TFramesFrame : public TEntityFrame, public IGeometryFrame {
public:
    TFramesFrame(TGeoFrames& AEntity, QWidget* Parent);

    bool IsDefaultFrame() const override { return false; }
    void Refresh() override;
    void GeometryDestroyed() override { Forget(); }

    // Applies the definition box. A definition the table refuses is reported in an error box, the
    // table stays as it was and the definition box gets the focus back.
    void UpdateDefinition();

    TVkGroupBox* VkGroupBox2;
    QLineEdit* Edit2;
    QToolButton* UpdateDefinitionButton;

private:
    TGeoFrames* Entity() const { return static_cast<TGeoFrames*>(GetGeometry()); }
    // Enabled exactly when the box differs from the definition in force.
    void UpdateButton();
};

void RegisterFramesFrame();

}  // namespace sarnova
