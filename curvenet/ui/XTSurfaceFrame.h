// The property frame of the curve-network surface: name and colour, the definition curves, the grid
// of the points of its curves, the patch scheme as presets or field by field, and the display options
// of the surface and of its construction.
#pragma once
#include <QWidget>

#include "curvenet/GXTSurface.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QRadioButton;
class QTableWidget;
class QToolButton;

namespace sarnova {

class TFrameNameColor;
class TVkGroupBox;
class TVkGroupBoxManager;
class TVkSpinEdit;

class TXTSurfaceFrame : public QWidget, public IXTSurfaceFrame {
    Q_OBJECT
public:
    TXTSurfaceFrame(TGeoXTSurface& AEntity, QWidget* Parent);
    ~TXTSurfaceFrame() override;

    void Refresh() override;
    void RefreshGrid() override;
    void GeometryDestroyed() override;
    // The preset buttons and the custom controls from the options.
    void RefreshPatchType();
    void RefreshDisplayOptions();

    TGeoXTSurface* GetEntity() const { return Entity; }

    QLabel* EntityClass;
    TFrameNameColor* VkGroupBox1;
    TVkGroupBox* CurvesGroup;
    QToolButton* AddButton;
    QToolButton* SpeedButton1;
    QToolButton* DeleteEntities;
    QListWidget* ListBox1;
    QMenu* PopupMenu1;
    TVkGroupBox* PointsGroup;
    QToolButton* CopyBut;
    QTableWidget* VkGrid1;
    TVkGroupBox* PatchTypeGroup;
    // RadioButton1 .. RadioButton8 in the order of the presets list, then "Customised".
    QRadioButton* PresetButtons[8];
    QRadioButton* RadioButton10;
    TVkGroupBox* CustomGroup;
    QComboBox* ComboBox1;
    // CheckBox13 .. CheckBox18, then CheckBox1 (twist compatibility).
    QCheckBox* OptionBoxes[7];
    TVkSpinEdit* VkSpinEdit1;
    TVkGroupBox* ViewGroup;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox22;
    TVkGroupBox* ExtendedGroup;
    // The fourteen display-option boxes, in the order of their groups.
    QCheckBox* DisplayBoxes[14];
    TVkGroupBoxManager* VkGroupBoxManager1;

private:
    void ShowCurves();
    void ShowPoints(bool Resize);
    void ShowViewOptions();
    void FillCurveMenu();
    void SelectRange();
    void EditCell(int Row, int Column);
    void ChangeOption(int Field, int Value);
    void StoreDisplayOptions();

    TGeoXTSurface* Entity;
    bool Filling = false;
};

void RegisterXTSurfaceFrame();

}  // namespace sarnova
