// The property frame of the polyline-backed curves: class label, name and colour, the order of a
// B-spline curve, and a grid of the points' x, y and z that edits them.
#pragma once
#include <QWidget>

#include "document/GCustomPline.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace sarnova {

class TPlineFrame : public QWidget, public IPlineFrame {
public:
    TPlineFrame(TGeoCustomPLine& AEntity, QWidget* Parent);
    ~TPlineFrame() override;

    void UpdateFromEntity() override;
    void UpdateMarkedRows() override;
    void GeometryDestroyed() override { Entity = nullptr; }

    TGeoCustomPLine* GetEntity() const { return Entity; }

    // The grid's text of every point, tab-separated, rows ended by CR LF, without the headers.
    QString GridText() const;

    QLabel* EntityClass;
    QLineEdit* Edit1;
    QPushButton* VkColorPanel1;
    QGroupBox* CurveOrderGroupBox;
    QComboBox* ComboBox1;
    QToolButton* InsAboveBut;
    QToolButton* InsBelowBut;
    QToolButton* FloodValueBut;
    QToolButton* DelRowBut;
    QToolButton* CopyBut;
    QTableWidget* VkGrid1;

private:
    void FillRow(int Index);
    void ShowColor();
    void SelectRange();
    void EditCell(int Row, int Column);
    void FloodValue();

    TGeoCustomPLine* Entity;
    // Set while the frame writes its controls, so that their change signals are not edits.
    bool Filling = false;
};

// Registers the curve frame and the polyline dialogs with the model; the GUI calls it at start-up.
void RegisterCurveUi();

}  // namespace sarnova
