#include "shell/ToolWindow.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "platform/Registry.h"
#include "shell/GeometryServer.h"
#include "shell/MainUnit.h"
#include "controls/VkDockPanelLayout.h"

namespace sarnova {

void* NodeData(const QTreeWidgetItem* Node) { return Node ? Node->data(0, NodeDataRole).value<void*>() : nullptr; }

void SetNodeData(QTreeWidgetItem* Node, void* Data) { Node->setData(0, NodeDataRole, QVariant::fromValue(Data)); }

int NodeImage(const QTreeWidgetItem* Node) {
    const QVariant Image = Node ? Node->data(0, ImageIndexRole) : QVariant();
    return Image.isValid() ? Image.toInt() : -1;
}

void SetNodeImage(QTreeWidgetItem* Node, int ImageIndex) { Node->setData(0, ImageIndexRole, ImageIndex); }

TGeometry* NodeEntity(const QTreeWidgetItem* Node, const TGeometryList* Document) {
    auto* Entity = static_cast<TGeometry*>(NodeData(Node));
    return Entity && Document && Document->Contains(Entity) ? Entity : nullptr;
}

std::string ShownName(const TGeometry& Entity) {
    const std::string Name = Entity.GetName();
    return Name.empty() ? "unnamed" : Name;
}

void FillEntityNode(QTreeWidgetItem* Node, TGeometry& Entity, int ImageIndex) {
    Node->setText(0, QString::fromStdString(ShownName(Entity)));
    SetNodeImage(Node, ImageIndex);
    SetNodeData(Node, &Entity);
    Node->setFlags(Node->flags() | Qt::ItemIsEditable);
    Node->setSelected(Entity.GetSelected());
}

QWidget* ToolWindowHost() { return HostMainWindow(); }

TToolWindowForm::TToolWindowForm(QWidget* Parent, const char* Name, const char* Caption, bool HubClient)
    : TVkDockForm(Parent) {
    setObjectName(Name);
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);
    VkDockPanel1 = new TVkDockPanel(this);
    VkDockPanel1->setObjectName("VkDockPanel1");
    VkDockPanel1->Group = 0;
    FContents = new QVBoxLayout(VkDockPanel1);
    FContents->setContentsMargins(0, 0, 0, 0);
    FContents->setSpacing(0);
    setWidget(VkDockPanel1);

    if (!HubClient) return;
    Client = std::make_unique<TGeometryClient>(GMainForm ? GMainForm->GeometryServer.get() : nullptr);
    Client->OnDocumentClosed = [this](TGeometryList* Document) { DocumentClosing(Document); };
}

void TToolWindowForm::DocumentClosing(TGeometryList* Document) {
    if (Document != FShownDocument) return;
    FShownDocument = nullptr;
    ShowNoDocument();
}

TToolWindowForm::~TToolWindowForm() = default;

TGeometryList* TToolWindowForm::ActiveDocument() {
    FShownDocument = Client ? Client->ActiveDocument() : nullptr;
    return FShownDocument;
}

int TToolWindowForm::ReadModeSetting(int Default) const {
    const TRegIniFile Ini(ProgramRegistryKey(GExeName));
    return Ini.ReadInteger(objectName().toStdString(), "Mode", Default);
}

bool TToolWindowForm::ReadZoomSetting(bool Default) const {
    const TRegIniFile Ini(ProgramRegistryKey(GExeName));
    return Ini.ReadBool(objectName().toStdString(), "Zoom", Default);
}

void TToolWindowForm::WriteSettings(std::optional<int> Mode, std::optional<bool> Zoom) const {
    try {
        TRegIniFile Ini(ProgramRegistryKey(GExeName));
        const std::string Section = objectName().toStdString();
        if (Mode) Ini.WriteInteger(Section, "Mode", *Mode);
        if (Zoom) Ini.WriteBool(Section, "Zoom", *Zoom);
        Ini.Flush();
    } catch (const std::exception&) {
        // A display setting that cannot be kept is not worth stopping a close for.
    }
}

void TToolWindowForm::closeEvent(QCloseEvent* Event) {
    Closing = true;
    TVkDockForm::closeEvent(Event);
}

}  // namespace sarnova
