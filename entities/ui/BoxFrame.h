// The property frame of the box entity: name and colour, the centre and the three sizes, each spin
// edit a change of its own.
#pragma once
#include <array>

#include "entities/GBox.h"
#include "entities/ui/EntityFrame.h"

namespace sarnova {

class TBoxFrame : public TEntityFrame, public IGeometryFrame {
public:
    TBoxFrame(TGeoBox& AEntity, QWidget* Parent);

    bool IsDefaultFrame() const override { return false; }
    void Refresh() override;
    void GeometryDestroyed() override { Forget(); }

    TVkGroupBox* VkGroupBox2;
    TVkGroupBox* VkGroupBox3;
    // Centre x, y, z and length, width, height: the box's dimension codes 1 to 6, in that order.
    std::array<TVkSpinEdit*, 6> VkSpinEdits{};

private:
    TGeoBox* Entity() const { return static_cast<TGeoBox*>(GetGeometry()); }
};

void RegisterBoxFrame();

}  // namespace sarnova
