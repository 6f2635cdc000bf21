#include "shell/EntityFloat.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "document/GeometryReference.h"
#include "shell/GeometryServer.h"
#include "shell/MultiSelect.h"
#include "shell/NoSelectFrame.h"
#include "platform/qt/QtMenus.h"

namespace sarnova {

namespace {

QPointer<TEntityForm> GEntityForm;

// The frames the window makes itself; any other frame belongs to its entity.
bool IsOwnFrame(QWidget* Frame) {
    return qobject_cast<TMultiSelectFrame*>(Frame) || qobject_cast<TNoSelectionFrame*>(Frame);
}

}  // namespace

TEntityForm::TEntityForm(QWidget* Parent) : TToolWindowForm(Parent, "EntityForm", "Attributes") {
    resize(240, 480);
    auto* Top = new QWidget(VkDockPanel1);
    auto* TopRow = new QHBoxLayout(Top);
    TopRow->setContentsMargins(4, 4, 4, 4);
    TopRow->addWidget(new QLabel("Selection:", Top));
    ComboBox1 = new QComboBox(Top);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(false);
    TopRow->addWidget(ComboBox1, 1);
    Panel2 = new QFrame(VkDockPanel1);
    Panel2->setObjectName("Panel2");
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* Area = new QVBoxLayout(Panel2);
    Area->setContentsMargins(0, 0, 0, 0);
    FrameArea = new QScrollArea(Panel2);
    FrameArea->setObjectName("FrameArea");
    FrameArea->setWidgetResizable(true);
    // A frame wider than the window scrolls sideways rather than losing its right-hand side.
    FrameArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    FrameArea->setFrameShape(QFrame::NoFrame);
    Area->addWidget(FrameArea);
    Contents()->addWidget(Top);
    Contents()->addWidget(Panel2, 1);
    connect(ComboBox1, &QComboBox::activated, this,
            [this](int Index) { RunMenuCommand([&] { SelectionChosen(Index); }); });

    Reference = std::make_unique<TGeometryReference>(nullptr);
    Reference->OnDestroyed = [this](TGeometry* Entity) { EntityDestroyed(Entity); };
    Client->OnMessage = [this](TGeoMessage& Message) { HandleMessage(Message); };
    Refresh();
}

TEntityForm::~TEntityForm() {
    SetShownEntity(nullptr);
    SetFrame(nullptr);
}

void TEntityForm::HandleMessage(TGeoMessage& Message) {
    TBusyScope Scope(BusyFlag);
    if (dynamic_cast<TGeoListChange*>(&Message) || dynamic_cast<TGeoSelectionChange*>(&Message) ||
        dynamic_cast<TGeoActiveListChange*>(&Message)) {
        Refresh();
    } else if (dynamic_cast<TGeoClearingSelection*>(&Message)) {
        if (ShownEntity()) ShowOptions();
    } else if (dynamic_cast<TGeoShowAttributesPanel*>(&Message)) {
        ShowToolWindow(this);
    }
}

void TEntityForm::Refresh() {
    TBusyScope Scope(BusyFlag);
    FillSelectionBox();
    TGeometryList* Document = ActiveDocument();
    const int Selected = Document ? Document->SelectedCount() : 0;
    if (Selected == 1)
        ShowEntity();
    else if (Selected >= 2)
        ShowMultiSelection();
    else
        ShowOptions();
}

void TEntityForm::FillSelectionBox() {
    TBusyScope Scope(BusyFlag);
    const QSignalBlocker Quiet(ComboBox1);
    ComboBox1->clear();
    TGeometryList* Document = ActiveDocument();
    if (!Document) return;
    for (int I = 0; I < Document->Count(); ++I) {
        const TGeometry& E = Document->Items(I);
        if (!E.GetName().empty() && E.GetDisplayState() != dsHidden)
            ComboBox1->addItem(QString::fromStdString(E.GetName()));
    }
}

void TEntityForm::ShowEntity() {
    TGeometryList* Document = ActiveDocument();
    SetShownEntity(Document ? Document->SingleSelection() : nullptr);
    const QSignalBlocker Quiet(ComboBox1);
    ComboBox1->setCurrentIndex(
        ShownEntity() ? ComboBox1->findText(QString::fromStdString(Reference->GetName()), Qt::MatchFixedString) : -1);
}

void TEntityForm::ShowMultiSelection() {
    SetShownEntity(nullptr);
    auto* Multi = qobject_cast<TMultiSelectFrame*>(Frame);
    if (!Multi) {
        Multi = CreateMultiSelectFrame(Panel2);
        SetFrame(Multi);
    }
    Multi->Fill(ActiveDocument());
    const QSignalBlocker Quiet(ComboBox1);
    ComboBox1->setCurrentIndex(-1);
}

void TEntityForm::ShowOptions() {
    SetShownEntity(nullptr);
    if (TGeometryList* Document = ActiveDocument()) {
        auto* Options = qobject_cast<TNoSelectionFrame*>(Frame);
        if (!Options) {
            Options = CreateNoSelectionFrame(Panel2);
            SetFrame(Options);
        }
        Options->Fill(Document);
    } else {
        SetFrame(nullptr);
    }
    const QSignalBlocker Quiet(ComboBox1);
    ComboBox1->setCurrentIndex(-1);
}

TGeometry* TEntityForm::ShownEntity() const { return Reference->GetGeometry(); }

void TEntityForm::SetShownEntity(TGeometry* Entity) {
    TGeometry* Shown = ShownEntity();
    if (Entity == Shown) return;
    if (Shown) {
        SetFrame(nullptr);
        Shown->FreeFrame();
    }
    Reference->SetGeometry(Entity);
    if (!Entity) return;
    IGeometryFrame* Made = Entity->CreateFrameFor(Panel2);
    SetFrame(dynamic_cast<QWidget*>(Made));
    Entity->UpdateFrame();
}

void TEntityForm::SetFrame(QWidget* AFrame) {
    if (AFrame == Frame) return;
    if (Frame) {
        if (FrameArea->widget() == Frame) FrameArea->takeWidget();
        Frame->hide();
        // Not at once: the frame may be inside one of its own handlers.
        if (IsOwnFrame(Frame)) Frame->deleteLater();
    }
    Frame = AFrame;
    if (!Frame) return;
    FrameArea->setWidget(Frame);
    Frame->show();
    FitWidthToFrame();
}

void TEntityForm::FitWidthToFrame() {
    // A floating window grows to show the whole frame, as far as the screen allows; it never shrinks
    // under the user's hands.
    if (!isFloating() || HostSite() || !Frame) return;
    const int Wanted = Frame->minimumSizeHint().width() + FrameArea->verticalScrollBar()->sizeHint().width() +
                       2 * Panel2->frameWidth() + (width() - FrameArea->viewport()->width());
    const QScreen* Screen = screen();
    const int Limit = Screen ? Screen->availableGeometry().width() / 2 : Wanted;
    const int Width = std::min(Wanted, Limit);
    if (Width > width()) resize(Width, height());
}

void TEntityForm::DocumentClosing(TGeometryList* Document) {
    auto* Multi = qobject_cast<TMultiSelectFrame*>(Frame);
    auto* Options = qobject_cast<TNoSelectionFrame*>(Frame);
    if ((Multi && Multi->GetDocument() == Document) || (Options && Options->GetDocument() == Document))
        ShowNoDocument();
    TToolWindowForm::DocumentClosing(Document);
}

void TEntityForm::ShowNoDocument() {
    SetShownEntity(nullptr);
    SetFrame(nullptr);
    const QSignalBlocker Quiet(ComboBox1);
    ComboBox1->clear();
}

void TEntityForm::EntityDestroyed(TGeometry* Entity) {
    SetFrame(nullptr);
    if (Entity) Entity->FreeFrame();
    // What fits next is worked out once the document is whole again.
    QMetaObject::invokeMethod(
        this, [this] { RunMenuCommand([this] { Refresh(); }); }, Qt::QueuedConnection);
}

void TEntityForm::SelectionChosen(int Index) {
    if (Busy() || Index < 0) return;
    if (TGeometryList* Document = ActiveDocument()) Document->SelectByName(ComboBox1->itemText(Index).toStdString());
}

TEntityForm* GetEntityForm() { return GetToolWindow(GEntityForm); }

}  // namespace sarnova
