// The "Hierarchy" tool window: the compartment arrangement of the active document, the hull at the
// root and every space under the compartment it lies in.
#pragma once
#include <memory>

#include "shell/EntityTreeFloat.h"

namespace sarnova {

namespace arrangement {
class TArrangement;
}

class THierarchyForm : public TEntityTreeForm {
    Q_OBJECT
public:
    explicit THierarchyForm(QWidget* Parent = nullptr);
    ~THierarchyForm() override;

protected:
    void FillTree(TGeometryList& Document) override;

private:
    std::unique_ptr<arrangement::TArrangement> Arrangement;
};

// The Hierarchy window, made on first use.
THierarchyForm* GetHierarchyForm();

}  // namespace sarnova
