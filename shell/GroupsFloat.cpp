#include "shell/GroupsFloat.h"

#include <QPointer>
#include <QTreeWidget>

#include "document/GeometryList.h"
#include "naval/GGroup.h"
#include "shell/MainUnit.h"
#include "shell/ToolWindow.h"

namespace sarnova {

namespace {
QPointer<TGroupsForm> GGroupsForm;
}  // namespace

TGroupsForm::TGroupsForm(QWidget* Parent) : TEntityTreeForm(Parent, "GroupsForm", "Groups", "Zoom to Selected Groups") {
    Rebuild();
}

void TGroupsForm::FillTree(TGeometryList& Document) {
    for (int I = 0; I < Document.Count(); ++I) {
        auto* Group = dynamic_cast<TGeoGroup*>(&Document.Items(I));
        if (Group == nullptr) continue;
        auto* Node = new QTreeWidgetItem(TreeView1);
        FillEntityNode(Node, *Group, Group->GetClass().GetImageIndex());
        for (int M = 0; M < Group->GetMemberCount(); ++M)
            if (TGeometry* Member = Group->GetMember(M))
                FillEntityNode(new QTreeWidgetItem(Node), *Member, Member->GetClass().GetImageIndex());
    }
}

void TGroupsForm::EntitySelected(TGeometryList& Document, TGeometry& Entity) {
    Document.SelectOnly(&Entity);
    if (!GetZoom() || !GMainForm) return;
    if (IDocumentWindow* Window = GMainForm->ActiveDocumentWindow()) Window->ZoomSelection();
}

TGroupsForm* GetGroupsForm() { return GetToolWindow(GGroupsForm); }

}  // namespace sarnova
