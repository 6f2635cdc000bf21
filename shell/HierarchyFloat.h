// The "Hierarchy" tool window: the compartment arrangement of the active document.
#pragma once
#include "shell/EntityTreeFloat.h"

namespace sarnova {

class THierarchyForm : public TEntityTreeForm {
    Q_OBJECT
public:
    explicit THierarchyForm(QWidget* Parent = nullptr);

protected:
    void FillTree(TGeometryList& Document) override;
};

// The Hierarchy window, made on first use.
THierarchyForm* GetHierarchyForm();

}  // namespace sarnova
