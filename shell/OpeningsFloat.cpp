#include "shell/OpeningsFloat.h"

#include <QPointer>

namespace sarnova {

namespace {
QPointer<TOpeningsForm> GOpeningsForm;
}  // namespace

TOpeningsForm::TOpeningsForm(QWidget* Parent)
    : TEntityTreeForm(Parent, "OpeningsForm", "Openings", "Zoom to Selected Opening") {
    Rebuild();
}

void TOpeningsForm::FillTree(TGeometryList&) {
    // Openings are entities of the naval module, which the program does not have yet: a document holds none.
}

TOpeningsForm* GetOpeningsForm() { return GetToolWindow(GOpeningsForm); }

}  // namespace sarnova
