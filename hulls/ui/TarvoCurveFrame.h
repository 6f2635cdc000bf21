// The property frame of the Tarvo curve: name and colour, the constraint buttons and list, the plane
// and offset settings of the selected constraint, the curve's role in a surface, and the grid of its
// control points, whose driven rows are greyed and read-only.
#pragma once
#include <QWidget>

#include "hulls/GTarvoCurve.h"

class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QTableWidget;
class QToolButton;

namespace sarnova {

class TFrameNameColor;
class TVkGroupBox;
class TVkSpinEdit;

class TTarvoCurveFrame : public QWidget, public ITarvoCurveFrame {
    Q_OBJECT
public:
    TTarvoCurveFrame(TGeoTarvoCurve& AEntity, QWidget* Parent);
    ~TTarvoCurveFrame() override;

    void UpdateFromEntity() override;
    void UpdatePointCells() override;
    void UpdateConstraintButtons() override;
    void GeometryDestroyed() override;

    TGeoTarvoCurve* GetEntity() const { return Entity; }
    // Every row of the grid, tab-separated with the headers, rows ended by CR LF.
    QString GridText() const;

    QLabel* EntityClass;
    TFrameNameColor* NameColor;
    QToolButton* StraightButton;
    QToolButton* CurveButton;
    QToolButton* KnuckleButton;
    QToolButton* PlaneButton;
    QToolButton* OffsetButton;
    QToolButton* DeleteModifierButton;
    QToolButton* DeleteAllModifiersButton;
    QListWidget* ListBox1;
    TVkGroupBox* PlaneGroup;
    QRadioButton* PlaneButtons[6];  // RBPlaneX .. RBPlaneYaw, kinds 1 to 6
    QLabel* Label4;
    TVkSpinEdit* VkSpinEdit1;
    TVkGroupBox* OffsetGroup;
    QComboBox* OffsetCurvesList;
    QRadioButton* AxisButtons[4];  // X-Axis, Y-Axis, Z-Axis, by Vector
    TVkGroupBox* OperationGroup;
    QRadioButton* OperationButtons[3];  // Control Curve, Tangent Curve, Panel Break
    QToolButton* InsAboveBut;
    QToolButton* InsBelowBut;
    QToolButton* FloodValueBut;
    QToolButton* DelRowBut;
    QToolButton* CopyBut;
    QTableWidget* VkGrid1;

private:
    // The constraint selected in the list, or nullptr.
    TConstraint* SelectedConstraint() const;
    void ShowConstraintGroups();
    void FillRow(int Index);
    void SelectRange();
    void EditCell(int Row, int Column);
    void EndCellEdit();
    void FloodValue();

    TGeoTarvoCurve* Entity;
    bool Filling = false;
};

void RegisterTarvoCurveFrame();

}  // namespace sarnova
