// The property frame of the Gregory surface: class label, name and colour, a grid of the 20 control
// points that edits them, "Float Values" and "Copy Grid", and the parameter-line counts.
#pragma once
#include <QWidget>

#include "entities/GGregory.h"

class QLabel;
class QSpinBox;
class QTableWidget;
class QToolButton;

namespace sarnova {

class TFrameNameColor;

class TGregoryFrame : public QWidget, public IGregoryFrame {
public:
    TGregoryFrame(TGeoGregorySurface& AEntity, QWidget* Parent);
    ~TGregoryFrame() override;

    void Refresh() override;
    void RefreshSelectedRows() override;
    void GeometryDestroyed() override;

    // Sets one coordinate of every point: the grid's column offers it, the fill dialog asks.
    void FloodValueButClick();

    QLabel* EntityClass;
    TFrameNameColor* NameColor;
    QToolButton* FloodValueBut;
    QToolButton* CopyBut;
    QTableWidget* VkGrid1;
    QSpinBox* VkSpinEdit1;
    QSpinBox* VkSpinEdit2;

private:
    void FillRow(int Row);
    void SelectCell(int Row, int Column);
    void EditCell(int Row, int Column);

    TGeoGregorySurface* Entity;
    bool Filling = false;
};

// Registers the Gregory frame with the model; the GUI calls it at start-up.
void RegisterGregoryUi();

}  // namespace sarnova
