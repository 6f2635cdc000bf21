// The "Permeabilities" tool window: every polyline list of the active document with its own and its
// effective permeability in the compartment arrangement, the own one editable in place.
#pragma once
#include <memory>

#include "shell/ToolWindow.h"

class QLabel;
class QToolButton;

namespace sarnova {

class TGeoMessage;
class TVkGrid;
namespace arrangement {
class TArrangement;
}

class TPermeabilityForm : public TToolWindowForm {
    Q_OBJECT
public:
    explicit TPermeabilityForm(QWidget* Parent = nullptr);
    ~TPermeabilityForm() override;

    void HandleMessage(TGeoMessage& Message);
    // The arrangement built again and one row per polyline list below the header.
    void Refresh();
    // Column 1 of Row edited: the entity's permeability, keeping the spaces inside at their effective
    // permeabilities while PermBut is down.
    void EditPermeability(int Row, double Value);
    arrangement::TArrangement& GetArrangement() const { return *Arrangement; }

    TVkGrid* VkGrid1;
    QToolButton* PermBut;
    // What the arrangement needs, when the document has none.
    QLabel* ProblemLabel;

protected:
    void ShowNoDocument() override;

private:
    std::unique_ptr<arrangement::TArrangement> Arrangement;
};

// The window, made on first use.
TPermeabilityForm* GetPermeabilityForm();

}  // namespace sarnova
