// The hydrostatic table window: the particulars of the selected hull for a list of draughts, one row
// per draught, the quantities chosen from the grid's popup menu, copied as tab-separated text or
// printed.
#pragma once
#include <memory>
#include <vector>

#include "naval/ui/HullCalculationForm.h"

class QAction;
class QMenu;
class QToolButton;

namespace sarnova {

class TGeometryList;
class THydrostaticsTable;
class TVkGrid;
struct THydrostaticsData;

class THydrostaticsForm : public THullCalculationForm {
    Q_OBJECT
public:
    explicit THydrostaticsForm(QWidget* Parent = nullptr);
    ~THydrostaticsForm() override;

    THydrostaticsTable& Table() const { return *FTable; }

    void Calculate() override;
    void ComputeRow(double Draught);
    // The grid from the kept table: column 0 and every ticked quantity, in table order.
    void FillGrid();
    // A quantity's item was ticked or unticked (the menu toggles it): the grid is refilled from the
    // kept table, nothing is recomputed.
    void MenuItemClick(QAction* Item);
    void CopyButtonClick();
    void PrintButtonClick();

    QToolButton* CopyButton;
    QToolButton* PrintButton;
    TVkGrid* VkGrid1;
    QMenu* PopupMenu1;
    // The popup's items, quantity 1 first; the tag (data) of each is its index minus one.
    std::vector<QAction*> MenuItems;

protected:
    bool UsesHydrostatics() const override { return true; }
    // Where the figures come from.
    std::string IdleStatusText() const override;

private:
    std::unique_ptr<THydrostaticsTable> FTable;
};

// Shows the window modally for Document.
void OpenHydrostaticTable(TGeometryList* Document);
bool CanOpenHydrostaticTable(TGeometryList* Document);

}  // namespace sarnova
