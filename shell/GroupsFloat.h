// The "Groups" tool window: the open and closed groups of the active document with their members.
#pragma once
#include "shell/EntityTreeFloat.h"

namespace sarnova {

class TGroupsForm : public TEntityTreeForm {
    Q_OBJECT
public:
    explicit TGroupsForm(QWidget* Parent = nullptr);

protected:
    void FillTree(TGeometryList& Document) override;
    // Selects only the group; with zoom on, the active document window zooms to it.
    void EntitySelected(TGeometryList& Document, TGeometry& Entity) override;
};

// The Groups window, made on first use.
TGroupsForm* GetGroupsForm();

}  // namespace sarnova
