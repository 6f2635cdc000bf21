// The property frame of an image plane: name (the colour shown only: image planes do not keep one),
// the plane and its offset, the picture rectangle and its pixel aspect ratio with the aspect lock, the
// scaling selection window with its display and editing switches and the rescale command, and the
// picture commands.
#pragma once
#include <array>

#include "entities/GImage.h"
#include "entities/ui/EntityFrame.h"

class QCheckBox;
class QRadioButton;
class QToolButton;

namespace sarnova {

class TImageFrame : public TEntityFrame, public IImageFrame {
public:
    TImageFrame(TGeoImagePlane& AEntity, QWidget* Parent);

    void Refresh() override;
    void UpdateDragged() override;
    void GeometryDestroyed() override { Forget(); }

    TVkGroupBox* VkGroupBox2;
    std::array<QRadioButton*, 3> RadioButtons{};  // X, Y and Z plane
    TVkSpinEdit* VkSpinEdit1;                     // plane offset
    TVkGroupBox* VkGroupBox3;
    std::array<TVkSpinEdit*, 4> ExtentEdits{};  // min u, min v, max u, max v (VkSpinEdit2 to 5)
    TVkSpinEdit* VkSpinEdit10;                  // pixel aspect ratio
    QCheckBox* CheckBox3;                       // lock aspect ratio
    TVkGroupBox* VkGroupBox4;
    std::array<TVkSpinEdit*, 4> WindowEdits{};  // VkSpinEdit6 to 9
    QCheckBox* CheckBox1;                       // show scaling selection
    QCheckBox* CheckBox2;                       // edit scaling selection
    QToolButton* BitBtn1;                       // rescale
    TVkGroupBox* VkGroupBox5;
    QToolButton* BitBtn2;  // select image
    QToolButton* BitBtn3;  // negative

private:
    TGeoImagePlane* Entity() const { return static_cast<TGeoImagePlane*>(GetGeometry()); }
    void ShowExtents();
    void ShowSwitches();
};

void RegisterImageFrame();

}  // namespace sarnova
