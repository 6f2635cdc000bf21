// What the property frames of the entities share: the title with the entity kind, the group
// "Name and Color", whose edit renames the entity on every change and whose swatch recolours it, and
// the rows of coordinates that their grids show with three decimals.
#pragma once
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <string>

#include "foundation/VkMaths.h"
#include "controls/VkColorPanel.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

class TGeometry;

// The kind of entity a frame shows, in the frames' title style.
QLabel* NewFrameTitle(const std::string& Text, QWidget* Parent);

// Row of Grid shows V in its first three columns, fixed with three decimals; missing cells are made.
void SetCoordinateRow(QTableWidget& Grid, int Row, const TMVector& V);
// Row of Grid shows Index, centred and read-only, in column 0 and P in columns 1 to 3, fixed with three
// decimals; missing cells are made.
void SetIndexedPointRow(QTableWidget& Grid, int Row, int Index, const TMVector& P);
// Puts columns 1 to 3 of every row from 1 on the clipboard: cells separated by tabs, rows ended by
// CR LF.
void CopyPointRowsToClipboard(const QTableWidget& Grid);
// The number typed into a cell ("," as good as "."); false for a text that is none.
bool CellNumber(const QTableWidget& Grid, int Row, int Column, double& Value);
// The grid as text: a header line "\tX\tY\tZ", then per row its number and its cells, tab-separated,
// every line ended by CR LF.
QString CoordinateGridText(const QTableWidget& Grid);
// Commits and closes a cell editor open in Grid, so that a button acts on the typed value.
void EndGridCellEdit(QTableWidget& Grid);

class TFrameNameColor : public TVkGroupBox {
    Q_OBJECT
public:
    // Edits Entity, which the frame must forget (SetEntity(nullptr)) before the entity dies.
    TFrameNameColor(TGeometry* Entity, QWidget* Parent);

    void SetEntity(TGeometry* Value) { Entity = Value; }
    // The entity's name and colour, without renaming or recolouring it.
    void Refresh();

    QLineEdit* NameEdit;
    TVkColorPanel* ColorPanel;

private:
    TGeometry* Entity;
};

}  // namespace sarnova
