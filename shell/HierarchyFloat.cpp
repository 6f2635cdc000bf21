#include "shell/HierarchyFloat.h"

#include <QPointer>

namespace sarnova {

namespace {
QPointer<THierarchyForm> GHierarchyForm;
}  // namespace

THierarchyForm::THierarchyForm(QWidget* Parent) : TEntityTreeForm(Parent, "HierarchyForm", "Hierarchy", nullptr) {
    Rebuild();
}

void THierarchyForm::FillTree(TGeometryList&) {
    // The compartment arrangement is built by the naval module, which the program does not have yet: a
    // document has no compartments.
}

THierarchyForm* GetHierarchyForm() { return GetToolWindow(GHierarchyForm); }

}  // namespace sarnova
