#include "shell/GroupsFloat.h"

#include <QPointer>

#include "document/GeometryList.h"
#include "shell/MainUnit.h"

namespace sarnova {

namespace {
QPointer<TGroupsForm> GGroupsForm;
}  // namespace

TGroupsForm::TGroupsForm(QWidget* Parent) : TEntityTreeForm(Parent, "GroupsForm", "Groups", "Zoom to Selected Groups") {
    Rebuild();
}

void TGroupsForm::FillTree(TGeometryList&) {
    // Groups are entities of the naval module, which the program does not have yet: a document holds none.
}

void TGroupsForm::EntitySelected(TGeometryList& Document, TGeometry& Entity) {
    Document.SelectOnly(&Entity);
    if (!GetZoom() || !GMainForm) return;
    if (IDocumentWindow* Window = GMainForm->ActiveDocumentWindow()) Window->ZoomSelection();
}

TGroupsForm* GetGroupsForm() { return GetToolWindow(GGroupsForm); }

}  // namespace sarnova
