#include "shell/OpeningsFloat.h"

#include <QPointer>
#include <QTreeWidget>

#include "document/GeometryList.h"
#include "foundation/GeomBox.h"
#include "naval/GGroup.h"
#include "naval/GOpening.h"
#include "shell/MainUnit.h"
#include "shell/ToolWindow.h"
#include "shell/ViewUnit.h"
#include "views/OpenGLView.h"

namespace sarnova {

namespace {
QPointer<TOpeningsForm> GOpeningsForm;

// A child node for one end: the end's name, filled from its group when the name resolves.
void AddEndNode(QTreeWidgetItem* Parent, const std::string& Name, TGeometry* Group) {
    auto* Node = new QTreeWidgetItem(Parent);
    if (Group != nullptr)
        FillEntityNode(Node, *Group, Group->GetClass().GetImageIndex());
    else
        Node->setText(0, QString::fromStdString(Name));
}
}  // namespace

TOpeningsForm::TOpeningsForm(QWidget* Parent)
    : TEntityTreeForm(Parent, "OpeningsForm", "Openings", "Zoom to Selected Opening") {
    Rebuild();
}

void TOpeningsForm::FillTree(TGeometryList& Document) {
    for (int I = 0; I < Document.Count(); ++I) {
        auto* Opening = dynamic_cast<TGeoOpening*>(&Document.Items(I));
        if (Opening == nullptr) continue;
        auto* Node = new QTreeWidgetItem(TreeView1);
        FillEntityNode(Node, *Opening, Opening->GetClass().GetImageIndex());
        TReferenceConnection& C = Opening->Connection();
        AddEndNode(Node, C.GetEndA(), C.GroupA());
        AddEndNode(Node, C.GetEndB(), C.GroupB());
    }
}

void TOpeningsForm::EntitySelected(TGeometryList& Document, TGeometry& Entity) {
    auto* Opening = dynamic_cast<TGeoOpening*>(&Entity);
    if (Opening == nullptr) {
        Document.SelectOnly(&Entity);
        return;
    }
    SelectOpening(Document, *Opening);
}

void TOpeningsForm::SelectOpening(TGeometryList& Document, TGeoOpening& Opening) {
    Document.BeginUpdate(ufEndEditing | ufHourGlass);
    try {
        for (int I = 0; I < Document.Count(); ++I) {
            TGeometry& G = Document.Items(I);
            if (dynamic_cast<TGeoOpenGroup*>(&G) != nullptr || dynamic_cast<TGeoOpening*>(&G) != nullptr)
                G.SetDisplayState(dsHidden);
        }
        Opening.SetDisplayState(dsNormal);
        Document.SelectOnly(&Opening);
        if (GetZoom() && GMainForm)
            if (auto* Window = dynamic_cast<TViewform*>(GMainForm->ActiveDocumentWindow())) {
                TMBox Box = Opening.GetExtents();
                for (TGeometry* End : {Opening.Connection().GroupA(), Opening.Connection().GroupB()})
                    if (End != nullptr) Box = UniteBoxes(Box, End->GetExtents());
                Window->GetView().ZoomToBox(Box);
            }
    } catch (...) {
        Document.EndUpdate();
        throw;
    }
    Document.EndUpdate();
}

TOpeningsForm* GetOpeningsForm() { return GetToolWindow(GOpeningsForm); }

}  // namespace sarnova
