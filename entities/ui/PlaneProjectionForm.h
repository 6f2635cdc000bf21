// The dialog "Project Curve on to Plane": the direction in which a curve's points move onto a plane
// entity, and whether a copy of the curve takes them.
#pragma once
#include <QDialog>

#include <cstdint>

#include "foundation/VkMaths.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace sarnova {

class TPlaneProjectionForm : public QDialog {
    Q_OBJECT
public:
    explicit TPlaneProjectionForm(QWidget* Parent = nullptr);

    // The axis buttons of directions parallel to Plane disabled, the normal chosen.
    void Setup(const TMPlane& Plane);
    // 0 to 2 along X, Y, Z; 3 normal to the plane.
    std::uint8_t Direction() const;
    bool CopyCurve() const;

    QRadioButton* DirectionButtons[4];
    QCheckBox* CopyCurveBox;
    QPushButton* OkButton;
    QPushButton* CancelButton;
};

// Shows the dialog for Plane; true on "Ok" with the chosen direction and "Copy Curve".
bool ShowPlaneProjectionForm(const TMPlane& Plane, std::uint8_t& Direction, bool& CopyCurve);

}  // namespace sarnova
