// The property frame of the groups: name and colour, the members with their classes, the group's
// parameters in an editable grid, and the openings connected to the group.
#pragma once
#include <QWidget>

#include "document/Geometry.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace sarnova {

class TFrameNameColor;
class TGeoGroup;
class TVkGroupBox;
class TVkGroupBoxManager;

class TGroupFrame : public QWidget, public IGeometryFrame {
    Q_OBJECT
public:
    TGroupFrame(TGeoGroup& AGroup, QWidget* Parent);
    ~TGroupFrame() override;

    bool IsDefaultFrame() const override { return false; }
    void Refresh() override;
    void GeometryDestroyed() override;

    void AddButtonClick();
    // The members of the selected rows leave the group.
    void DeleteEntitiesClick();
    // A row's edited caption renames its member.
    void GroupListViewChange(QTreeWidgetItem* Item);
    void AddParamClick();
    // The parameter of the current grid row.
    void DelParamButClick();
    // Row Row of the grid becomes its parameter's line.
    void VkGrid1EditCell(int Row);

    QLabel* EntityClass;
    TFrameNameColor* VkGroupBox1;
    TVkGroupBox* VkGroupBox2;
    QPushButton* AddButton;
    QToolButton* DeleteEntities;
    QTreeWidget* GroupListView;
    TVkGroupBox* VkGroupBox3;
    QToolButton* AddParam;
    QToolButton* DelParamBut;
    QTableWidget* VkGrid1;
    TVkGroupBox* VkGroupBox4;
    QListWidget* ListBox1;
    TVkGroupBoxManager* VkGroupBoxManager1;

private:
    TGeoGroup* Group;
    bool Filling = false;
};

// Registers the group frame; the GUI calls it at start-up.
void RegisterGroupUi();

}  // namespace sarnova
