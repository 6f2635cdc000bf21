// The property frame of the curve-network curve: name and colour, the surface the curve lies on (a
// parametric plane or an offset from another curve), the surface tangent along it, its options and
// the grid of its vertices, whose reference points show in blue.
#pragma once
#include <QWidget>

#include "curvenet/GXTCurve.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QTableWidget;
class QToolButton;

namespace sarnova {

class TFrameNameColor;
class TVkGroupBox;
class TVkGroupBoxManager;
class TVkSpinEdit;

class TXTCurveFrame : public QWidget, public IXTCurveFrame {
    Q_OBJECT
public:
    TXTCurveFrame(TGeoXTCurve& AEntity, QWidget* Parent);
    ~TXTCurveFrame() override;

    void Refresh() override;
    void UpdateGridValues() override;
    void GeometryDestroyed() override;

    TGeoXTCurve* GetEntity() const { return Entity; }

    QLabel* EntityClass;
    TFrameNameColor* VkGroupBox1;
    TVkGroupBox* VkGroupBox4;
    QRadioButton* RBNoLocationSurface;
    QRadioButton* PlaneButtons[6];  // RBPlaneX .. RBPlaneYaw, directions 1 to 6
    QLabel* Label4;
    TVkSpinEdit* VkSpinEdit1;
    QComboBox* ComboBox1;
    QComboBox* cbOffsetContraintCurve;
    QRadioButton* rbodX;
    QRadioButton* rbodY;
    QRadioButton* rbodZ;
    TVkGroupBox* VkGroupBox3;
    QRadioButton* TangentButtons[7];  // RBrtcNone .. RBrtcTangentialToCurve, ribbon kinds 0 to 6
    TVkGroupBox* VkGroupBox5;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    TVkGroupBox* VkGroupBox2;
    QToolButton* InsAboveBut;
    QToolButton* InsBelowBut;
    QToolButton* FloodValueBut;
    QToolButton* DelRowBut;
    QToolButton* CopyBut;
    // Row 0 holds the column captions and column 0 the vertex numbers: vertex i is on row i + 1.
    QTableWidget* VkGrid1;
    TVkGroupBoxManager* VkGroupBoxManager1;

private:
    void ShowLocation();
    void ShowPoints(bool Resize);
    void SelectRange();
    void EditCell(int Row, int Column);
    void InsertRow(bool Above);
    void DeleteRows();
    void FloodValue();

    TGeoXTCurve* Entity;
    bool Filling = false;
};

void RegisterXTCurveFrame();

}  // namespace sarnova
