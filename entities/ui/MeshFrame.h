// The property frame of the control-net surfaces: class label, name and colour, the edit view and
// edited line with the net picture, line insertion and deletion, and a grid of the edited line's
// points that edits them, selects a point by its row and fills one coordinate ("Float Values").
#pragma once
#include <QWidget>

#include "entities/GCusMesh.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QSpinBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace sarnova {

class TMeshEditSelector;

class TMeshFrame : public QWidget, public IMeshFrame {
public:
    TMeshFrame(TGeoCustomMesh& AEntity, QWidget* Parent);
    ~TMeshFrame() override;

    void Refresh() override;
    void RefreshSelectedRows() override;
    void GeometryDestroyed() override { Entity = nullptr; }

    // 0 none, 1 the next selector click adds a V row, 2 a U column.
    void SetInsertMode(int Mode);
    int GetInsertMode() const { return InsertMode; }
    // The selector's report: edit that line, or insert before InsertIndex in an insert mode.
    void MeshSelect(int GridIndex, int InsertIndex);

    QLabel* EntityClass;
    QLineEdit* Edit1;
    QPushButton* VkColorPanel1;
    TMeshEditSelector* MeshEditSelector1;
    QToolButton* UVBut;
    QToolButton* UBut;
    QToolButton* VBut;
    QToolButton* AddUBut;
    QToolButton* AddVBut;
    QToolButton* DelBut;
    // "Edit U" and "Edit V" over the grid; both may be up.
    QToolButton* GridUBut;
    QToolButton* GridVBut;
    QToolButton* FloodValueBut;
    QToolButton* DecEditT;
    QToolButton* IncEditT;
    QToolButton* CopyBut;
    QTableWidget* VkGrid1;
    // Shown for a B-spline surface only.
    QToolButton* SubDivU;
    QToolButton* SubDivV;
    QGroupBox* BSplineGroup;
    QLabel* Label3;
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QSpinBox* VkSpinEdit1;
    QSpinBox* VkSpinEdit2;

private:
    void ChooseView(std::uint8_t View);
    void StepEditIndex(int Step);
    // The net point shown in grid row Row (1-based) of the edited line; nullptr in the all-points view.
    TRPoint* RowPoint(int Row) const;
    void FillRow(int Row);
    void EditCell(int Row, int Column);
    // A grid row picked while editing selects its point alone on the edited line.
    void SelectCell(int Row, int Column);
    // Asks for an axis and a value and sets that coordinate on every point of the edited line.
    void FloodValueButClick();
    // The order lists, the line counts and the subdivision buttons of a B-spline surface.
    void RefreshBSpline();

    TGeoCustomMesh* Entity;
    int InsertMode = 0;
    bool Filling = false;
};

// Registers the control-net frame with the model; the GUI calls it at start-up.
void RegisterSurfaceUi();

}  // namespace sarnova
