#include "naval/ui/PermForm.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "document/GeometryList.h"
#include "foundation/PolyList.h"
#include "naval/Arrangement.h"
#include "naval/GSetup.h"
#include "naval/ui/HullCalculationForm.h"
#include "platform/Screen.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtUserDialogs.h"
#include "platform/qt/QtMenus.h"
#include "views/ViewWinAPI.h"

namespace sarnova {

TPermForm::TPermForm(QWidget* Parent)
    : QDialog(Parent), Arrangement(std::make_unique<arrangement::TArrangement>()) {
    setObjectName("PermForm");
    setWindowTitle("Permeability Plot");
    resize(800, 600);

    auto* Top = new QHBoxLayout;
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setText("Print");
    SpeedButton1->setToolTip("Print");
    Button1 = new QPushButton("Update", this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    Edit1 = new QLineEdit(DefaultSetupLayout, this);
    Edit1->setObjectName("Edit1");
    Top->addWidget(SpeedButton1);
    Top->addWidget(Button1);
    Top->addWidget(new QLabel("Setup:", this));
    Top->addWidget(Edit1, 1);

    ViewWinAPI1 = new TViewWinAPI(this);
    ViewWinAPI1->setObjectName("ViewWinAPI1");
    ViewWinAPI1->SetLineColor(clWhite);
    ViewWinAPI1->SetFillColor(clBlack);
    ViewWinAPI1->SetColor(clBlack);
    ViewWinAPI1->SetInteractionMode(imZoom);
    ViewWinAPI1->SetProjection(TProjection::Orthographic);
    ViewWinAPI1->SetDrawAxes(true);
    ViewWinAPI1->OnResize = [this](void*) { ViewWinAPI1->ZoomAll(); };

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addLayout(Top);
    Layout->addWidget(ViewWinAPI1, 1);
    Layout->addWidget(StatusBar1);

    connect(Button1, &QPushButton::clicked, this, [this] { RunMenuCommand([this] { Button1Click(); }); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { SpeedButton1Click(); }); });
    if (const QScreen* Screen = QGuiApplication::primaryScreen())
        move(Screen->availableGeometry().center() - QRect(QPoint(), size()).center());
}

TPermForm::~TPermForm() = default;

void TPermForm::SetDocument(TGeometryList* ADocument) {
    Document = ADocument;
    Setup = nullptr;
    if (!Document) return;
    TGeometry* Found = Document->FindByName("Setup");
    if (!Found) {
        Setup = static_cast<TGeoSetup*>(Document->Add(std::make_unique<TGeoSetup>()));
    } else if (auto* Existing = dynamic_cast<TGeoSetup*>(Found)) {
        Setup = Existing;
    } else {
        ProgramUserDialogs().MessageBox(
            "Error", "There is already an entity which is called setup but is not a arrangement drawing setup",
            TMsgDlgType::mtError, mbOK);
    }
    if (Setup) Edit1->setText(QString::fromStdString(Setup->GetViewLayout()));
}

void TPermForm::Rebuild() {
    StatusBar1->showMessage("Please Wait, Surfacing Objects...");
    ProcessPendingMessages();
    if (Document) Arrangement->Build(*Document);
    LayoutOutlines();
    ViewWinAPI1->ZoomAll();
    // An empty plot says what it needs.
    if (Arrangement->GetProblem().empty())
        StatusBar1->clearMessage();
    else
        StatusBar1->showMessage(QString::fromStdString(Arrangement->GetProblem()));
    ProcessPendingMessages();
}

void TPermForm::LayoutOutlines() {
    Outlines.reset();
    Outlines = Arrangement->ViewPolylines(Edit1->text().toStdString());
    ViewWinAPI1->update();
}

void TPermForm::Button1Click() {
    THourGlassCursor Cursor;
    // Through the setup's change, so that the document knows it has something new to save.
    if (Setup && Document && Document->Contains(Setup)) Setup->SetViewLayout(Edit1->text().toStdString());
    LayoutOutlines();
    ViewWinAPI1->ZoomAll();
}

void TPermForm::SpeedButton1Click() {
    QPrintDialog PrintDialog1(&GetPrinter(), this);
    if (PrintDialog1.exec() != QDialog::Accepted) return;
    ViewWinAPI1->Print("Sarnova - Permeability Plot");
}

void TPermForm::View2D1Redraw(IGraphics& View) {
    if (Outlines) Outlines->Draw(View);
}

void TPermForm::paintEvent(QPaintEvent* Event) {
    QDialog::paintEvent(Event);
    if (Painted) return;
    Painted = true;
    // After the paint: building processes events and repaints the window.
    QTimer::singleShot(0, this, [this] {
        RunMenuCommand([this] {
            THourGlassCursor Cursor;
            Rebuild();
            ViewWinAPI1->OnRedraw = [this](void*, IGraphics& View) { View2D1Redraw(View); };
            ViewWinAPI1->OnPreviewRedraw = ViewWinAPI1->OnRedraw;
            ViewWinAPI1->ZoomAll();
        });
    });
}

void OpenPermeabilityPlot(TGeometryList* Document) {
    TPermForm Form;
    Form.SetDocument(Document);
    Form.exec();
}

}  // namespace sarnova
