// The property frame of a dimension: name and colour, a grid of its two points whose cells move them,
// a button that copies the points, and the distances between them in space, along each axis and in
// each coordinate plane.
#pragma once
#include <array>

#include "entities/GDimension.h"
#include "entities/ui/ShapeFrame.h"

class QLabel;
class QToolButton;

namespace sarnova {

class TDimensionFrame : public TShapeFrame {
public:
    TDimensionFrame(TGeoDimension& AEntity, QWidget* Parent);

    void UpdateDragged() override;

    QToolButton* CopyBut;
    TVkGroupBox* VkGroupBox3;
    // The values, in the order of DimensionDistances.
    std::array<QLabel*, 7> Values{};

protected:
    void EditPoint(int Row, int Axis, double Value) override;
    void ShowOthers() override;
};

void RegisterDimensionFrame();

}  // namespace sarnova
