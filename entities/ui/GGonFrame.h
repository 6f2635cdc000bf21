// The property frame of the polygon-list entity: name and colour, and the group of its points.
#pragma once
#include "entities/GGonList.h"
#include "entities/ui/EntityFrame.h"

namespace sarnova {

class TGGonFrame : public TEntityFrame, public IGeometryFrame {
public:
    TGGonFrame(TGeoPGonlist& AEntity, QWidget* Parent);

    bool IsDefaultFrame() const override { return false; }
    void Refresh() override { RefreshAll(); }
    void GeometryDestroyed() override { Forget(); }
    // Name, colour and points from the entity.
    void RefreshAll();

    TVkGroupBox* PointsGroup;

private:
    TGeoPGonlist* Entity() const { return static_cast<TGeoPGonlist*>(GetGeometry()); }
};

void RegisterGGonFrame();

}  // namespace sarnova
