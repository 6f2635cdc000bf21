// The property frame of the polyline lists: name and colour, the current section chosen with the
// arrows or on a picture of the sections, and a grid of its points with buttons that insert, delete,
// fill and copy them.
#pragma once
#include <QWidget>

#include "naval/GPList.h"

class QLabel;
class QTableWidget;
class QToolButton;

namespace sarnova {

class TFrameNameColor;
class TMeshEditSelector;
class TVkGroupBox;
class TVkGroupBoxManager;

class TPlistFrame : public QWidget, public IPlistFrame {
    Q_OBJECT
public:
    TPlistFrame(TGeoPList& AEntity, QWidget* Parent);
    ~TPlistFrame() override;

    void Refresh() override;
    void UpdateSelectedRows() override;
    void GeometryDestroyed() override;

    TGeoPList* GetEntity() const { return Entity; }

    void LeftButClick();
    void RightButClick();
    void MeshEditSelector1MeshSelect(int Index);
    void DelButClick();
    void FloodValueButClick();
    // Grid rows and columns as the grid counts them: row 0 and column 0 are the fixed headers.
    void VkGrid1SelectRange(int Left, int Top, int Right, int Bottom);
    void VkGrid1EditCell(int Column, double Value, int Row);
    void InsAboveButClick();
    void InsBelowButClick();
    void DelRowButClick();
    void CopyButClick();

    QLabel* EntityClass;
    TFrameNameColor* VkGroupBox1;
    TVkGroupBox* VkGroupBox3;
    QToolButton* InsAboveBut;
    QToolButton* InsBelowBut;
    QToolButton* FloodValueBut;
    QToolButton* DelRowBut;
    QToolButton* LeftBut;
    QToolButton* RightBut;
    QToolButton* CopyBut;
    QToolButton* DelBut;
    TMeshEditSelector* MeshEditSelector1;
    QTableWidget* VkGrid1;
    TVkGroupBoxManager* VkGroupBoxManager1;

private:
    void FillRow(int Row);
    // Commits a cell the user is typing in before the points change under it.
    void EndCellEdit();
    void CellChanged(int Row, int Column);
    void SelectionChanged();
    // The first selected range of point rows; false when none.
    bool SelectedRows(int& Top, int& Bottom) const;

    TGeoPList* Entity;
    bool Filling = false;
};

// Registers the polyline-list frame and the section tools' dialogs; the GUI calls it at start-up.
void RegisterPlistUi();

}  // namespace sarnova
