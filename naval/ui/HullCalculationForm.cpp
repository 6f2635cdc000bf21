#include "naval/ui/HullCalculationForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/PolyList.h"
#include "naval/HullSelection.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkStatusBar.h"
#include "controls/VkControls.h"

namespace sarnova {

std::string Fixed3(double Value) { return FloatToStrF(Value, ffFixed, 15, 3); }

void ProcessPendingMessages() {
    if (GProcessMessages)
        GProcessMessages();
    else
        QCoreApplication::processEvents();
}

THullCalculationForm::THullCalculationForm(QWidget* Parent) : QDialog(Parent), Extents(EmptyBox) {
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Button1 = new QPushButton("Calculate", this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    Label4 = new QLabel("0.00", this);
    Label4->setObjectName("Label4");
    Label5 = new QLabel("0.00", this);
    Label5->setObjectName("Label5");
    // Room for any draught the labels show, so that a longer one never pushes the row past the edge.
    for (QLabel* Label : {Label4, Label5}) Label->setMinimumWidth(Label->fontMetrics().horizontalAdvance("-0000.000"));
    StatusBar1 = new TVkStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    connect(Button1, &QPushButton::clicked, this, [this] { RunMenuCommand([this] { Calculate(); }); });
}

THullCalculationForm::~THullCalculationForm() = default;

void THullCalculationForm::SetStatusText(const std::string& Text) {
    if (StatusBar1->Panels().Count() > 0) StatusBar1->Panels().Item(0)->SetText(Text);
}

void THullCalculationForm::EnableControls(bool On) {
    Button1->setEnabled(On);
    Edit1->setEnabled(On);
    if (On)
        QApplication::restoreOverrideCursor();
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void THullCalculationForm::Prepare() {
    if (Busy || !DocumentHasSelectedHull(Document)) return;
    Busy = true;
    SetStatusText("Please Wait, Creating Calculation Sections... ");
    EnableControls(false);
    struct TRestore {
        THullCalculationForm& Form;
        ~TRestore() {
            Form.SetStatusText(Form.IdleStatusText());
            Form.EnableControls(true);
            Form.Busy = false;
        }
    } Restore{*this};
    ProcessPendingMessages();
    Sections.reset();
    Hydrostatics.reset();
    // A hull that gives no sections, or is refused, is not tried again at every paint.
    FailedHull = SelectedHull(Document);
    Sections = CalculationSectionsOfSelection(Document);
    if (Sections && UsesHydrostatics()) {
        try {
            Hydrostatics = HullHydrostaticsOfEntity(*FailedHull);
        } catch (...) {
            Sections.reset();
            throw;
        }
    }
    Extents = Sections ? Sections->Extents() : EmptyBox;
    if (!Sections) return;
    FailedHull = nullptr;
    Label4->setText(QString::fromStdString(Fixed3(Extents.Min.Z)));
    Label5->setText(QString::fromStdString(Fixed3(Extents.Max.Z)));
    Edit1->setText(QString::fromStdString(Fixed3((Extents.Min.Z + Extents.Max.Z) / 2)));
    Calculate();
}

void THullCalculationForm::paintEvent(QPaintEvent* Event) {
    QDialog::paintEvent(Event);
    // Not from inside the paint: the work processes events and repaints the window.
    if (Sections || Busy || PrepareQueued) return;
    if (FailedHull != nullptr && SelectedHull(Document) == FailedHull) return;
    PrepareQueued = true;
    QTimer::singleShot(0, this, [this] {
        PrepareQueued = false;
        if (!Sections) RunMenuCommand([this] { Prepare(); });
    });
}

}  // namespace sarnova
