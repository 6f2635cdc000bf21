// The property frame of the extruded surface: name and colour, the shape and path curves picked by
// name, the sweep options or the linear extrusion's offsets and steps, and the line counts. Also the
// frame body the generated surfaces share.
#pragma once
#include <array>

#include "entities/GExtrudedSurface.h"
#include "entities/ui/EntityFrame.h"

class QCheckBox;
class QComboBox;
class QToolButton;

namespace sarnova {

class TVkGroupBox;
class TVkSpinEdit;

// Title, name and colour, and the group "Surface Properties" with "U Divisions:" and "V Divisions:"
// (2 to 200), which set the entity's line counts.
class TGeneratedSurfaceFrame : public TEntityFrame, public IGeneratedSurfaceFrame {
public:
    TGeneratedSurfaceFrame(TGeoSurface& AEntity, const std::string& Caption, const QString& Name, QWidget* Parent);

    void GeometryDestroyed() override { Forget(); }

    TVkGroupBox* PropertiesGroup = nullptr;
    TVkSpinEdit* VkSpinEdit1 = nullptr;
    TVkSpinEdit* VkSpinEdit2 = nullptr;

protected:
    // The group, where the subclass wants it.
    void AddDivisionsGroup();
    // Name, colour and line counts from the entity.
    void RefreshCommon();
    TGeoSurface* Surface() const { return static_cast<TGeoSurface*>(GetGeometry()); }
};

// An integer spin edit from Min to Max with a caption, in Box.
TVkSpinEdit* AddIntegerSpinEdit(TVkGroupBox& Box, const char* Caption, int Min, int Max);
// Fills Combo with the names of the named polyline-backed curves of Entity's list other than Except,
// after Leading when given; selects Selected, else item 0 when SelectFirst, else nothing.
void FillCurveNames(QComboBox& Combo, TGeometry& Entity, const std::string& Except, const std::string& Selected,
                    const char* Leading = nullptr, bool SelectFirst = false);

class TExtrudedSurfaceFrame : public TGeneratedSurfaceFrame {
public:
    TExtrudedSurfaceFrame(TGeoExtrudedSurface& AEntity, QWidget* Parent);

    void UpdateControls() override;

    QComboBox* ComboBox1;  // shape
    QComboBox* ComboBox2;  // path, "<linear extrusion>" first
    QToolButton* SpeedButton1;
    TVkGroupBox* SweepGroup;
    // "Orient Shape with Path", "Centre Shape with Path", "Rotate Shape with Path", "Scale Shape".
    std::array<QCheckBox*, 4> CheckBoxes{};
    TVkGroupBox* LinearGroup;
    TVkSpinEdit* VkSpinEdit3;  // min extrusion
    TVkSpinEdit* VkSpinEdit4;  // max extrusion
    TVkSpinEdit* VkSpinEdit5;  // divisions

private:
    TGeoExtrudedSurface* Entity() const { return static_cast<TGeoExtrudedSurface*>(GetGeometry()); }
    // The entity of the name at Index of the combo box is linked.
    void ShapeChosen(int Index);
    void PathChosen(int Index);
};

void RegisterExtrudedSurfaceFrame();

}  // namespace sarnova
