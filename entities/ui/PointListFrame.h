// The property frame of the point-cloud entity: name and colour, and a grid of the points with
// buttons to add a point, delete one and copy the grid.
#pragma once
#include <QWidget>

#include "entities/GPointList.h"

class QLabel;
class QToolButton;
class QTableWidget;

namespace sarnova {

class TFrameNameColor;

class TPointListFrame : public QWidget, public IPointListFrame {
    Q_OBJECT
public:
    TPointListFrame(TGeoPointList& AEntity, QWidget* Parent);
    ~TPointListFrame() override;

    void RefreshAll() override;
    void RefreshPositions() override;
    void GeometryDestroyed() override;

    TGeoPointList* GetEntity() const { return Entity; }
    // The grid's text: the header row and one row per point, cells tab-separated, rows ended by CR LF.
    QString GridText() const;

    QLabel* Title;
    TFrameNameColor* NameColor;
    QToolButton* AddButton;
    QToolButton* DeleteButton;
    QToolButton* CopyButton;
    QTableWidget* Grid;

private:
    void FillRow(int Index);
    // Commits a cell the user is typing in before the points change under it.
    void EndCellEdit();
    void EditCell(int Row, int Column);

    TGeoPointList* Entity;
    bool Filling = false;
};

// Registers the point-cloud frame with the model; the GUI calls it at start-up.
void RegisterPointListUi();

}  // namespace sarnova
