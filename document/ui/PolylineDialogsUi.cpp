#include "document/ui/PolylineDialogsUi.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "entities/GPlane.h"
#include "foundation/NumberText.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "platform/qt/QtUserDialogs.h"

namespace sarnova {

namespace {

const char* const NotANumber = "Unable to convert text to number";

// Strict number from an edit; on failure the user is told, the edit focused, and false returned.
bool EditToFloat(QLineEdit* Edit, double& Value, QWidget* Dialog) {
    if (TryStrToFloat(Edit->text().toStdString(), Value)) return true;
    QMessageBox::warning(Dialog, Dialog->windowTitle(), NotANumber);
    Edit->setFocus();
    return false;
}

bool EditToInteger(QLineEdit* Edit, int& Value, QWidget* Dialog) {
    if (TryStrToInt(Edit->text().trimmed().toStdString(), Value)) return true;
    QMessageBox::warning(Dialog, Dialog->windowTitle(), NotANumber);
    Edit->setFocus();
    return false;
}

QWidget* DialogParent() { return QApplication::activeWindow(); }

// OK and Cancel at the foot of the dialog; OK runs Accept, which closes the dialog once its fields
// have been read.
template <class F>
QDialogButtonBox* AddOkCancel(QDialog& Dialog, QVBoxLayout* Layout, F Accept) {
    auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &Dialog);
    Layout->addWidget(Buttons);
    QObject::connect(Buttons, &QDialogButtonBox::rejected, &Dialog, &QDialog::reject);
    QObject::connect(Buttons, &QDialogButtonBox::accepted, &Dialog, Accept);
    return Buttons;
}

void SetEnabled(std::initializer_list<QWidget*> Widgets, bool On) {
    for (QWidget* W : Widgets) W->setEnabled(On);
}

}  // namespace

// ---- TSliceForm ----

TSliceForm::TSliceForm(QWidget* Parent) : QDialog(Parent) {
    auto* Layout = new QVBoxLayout(this);
    auto* PlaneGroup = new QGroupBox(" Slicing Plane ", this);
    auto* PlaneLayout = new QHBoxLayout(PlaneGroup);
    Axes[0] = new QRadioButton("XY", PlaneGroup);
    Axes[1] = new QRadioButton("YZ", PlaneGroup);
    Axes[2] = new QRadioButton("XZ", PlaneGroup);
    for (QRadioButton* R : Axes) PlaneLayout->addWidget(R);
    Axes[0]->setChecked(true);
    PlaneButton = new QRadioButton("Plane ", PlaneGroup);
    PlaneList = new QComboBox(PlaneGroup);
    PlaneLayout->addWidget(PlaneButton);
    PlaneLayout->addWidget(PlaneList);
    Layout->addWidget(PlaneGroup);

    PositionGroup = new QGroupBox(" Position of Slicing Plane ", this);
    auto* PositionLayout = new QHBoxLayout(PositionGroup);
    PositionLabel = new QLabel("Z =", PositionGroup);
    Position = new QLineEdit("0.000", PositionGroup);
    CloseBox = new QCheckBox("Close if Original is Closed", PositionGroup);
    PositionLayout->addWidget(PositionLabel);
    PositionLayout->addWidget(Position);
    PositionLayout->addWidget(CloseBox);
    Layout->addWidget(PositionGroup);

    const char* const Labels[] = {"Z =", "X =", "Y ="};
    for (int I = 0; I < 3; ++I)
        connect(Axes[I], &QRadioButton::toggled, this, [this, Label = Labels[I]](bool On) {
            if (!On) return;
            PositionLabel->setText(Label);
            UsePosition(true);
        });
    // A plane entity is where it is: no position to type.
    connect(PlaneButton, &QRadioButton::toggled, this, [this](bool On) {
        if (On) UsePosition(false);
    });
    connect(PlaneList, &QComboBox::activated, this, [this](int) { PlaneButton->setChecked(true); });

    QDialogButtonBox* Buttons = AddOkCancel(*this, Layout, [this] { Accept(); });
    OkButton = Buttons->button(QDialogButtonBox::Ok);
    OkButton->setText("Ok");
    CancelButton = Buttons->button(QDialogButtonBox::Cancel);
    UsePosition(true);
}

void TSliceForm::Setup(const std::string& Name, TGeometryList& ADocument, bool AAllowClosing) {
    Document = &ADocument;
    AllowClosing = AAllowClosing;
    setWindowTitle(QString::fromStdString("Slice " + Name));
    PlaneList->clear();
    for (const std::string& PlaneName : NamedPlanes(ADocument)) PlaneList->addItem(QString::fromStdString(PlaneName));
    // Without a named plane entity the choice has nothing to offer.
    PlaneButton->setEnabled(PlaneList->count() > 0);
    PlaneList->setEnabled(PlaneList->count() > 0);
    if (PlaneList->count() > 0) PlaneList->setCurrentIndex(0);
    UsePosition(!PlaneButton->isChecked());
}

void TSliceForm::UsePosition(bool On) {
    SetEnabled({PositionLabel, PositionGroup, Position}, On);
    CloseBox->setEnabled(On && AllowClosing);
}

void TSliceForm::Accept() {
    if (PlaneButton->isChecked()) {
        // A name that no longer belongs to a plane entity keeps the dialog open.
        if (Document == nullptr || !FindNamedPlane(*Document, PlaneList->currentText().toStdString(), FPlane)) return;
        FClose = CloseBox->isChecked();
        accept();
        return;
    }
    double Value = 0;
    if (!EditToFloat(Position, Value, this)) return;
    // XY is the plane z = position, YZ x = position, XZ y = position.
    const TPlaneDirection Code = Axes[1]->isChecked() ? 1 : Axes[2]->isChecked() ? 2 : 0;
    FPlane = PlaneFromDirection(Code, Value);
    FClose = CloseBox->isChecked();
    accept();
}

bool ShowSliceDialog(const std::string& Name, TGeometryList& Document, bool AllowClosing, bool& Close, TMPlane& Plane) {
    TSliceForm Form(DialogParent());
    Form.Setup(Name, Document, AllowClosing);
    if (Form.exec() != QDialog::Accepted) return false;
    Plane = Form.Plane();
    Close = Form.Close();
    return true;
}

// ---- TVertexForm ----

TVertexForm::TVertexForm(QWidget* Parent) : QDialog(Parent) {
    auto* Layout = new QVBoxLayout(this);

    auto* CountGroup = new QGroupBox(" Number of Vertices ", this);
    auto* CountLayout = new QGridLayout(CountGroup);
    ByCount = new QRadioButton("Maximum Number of Points", CountGroup);
    CountEdit = new QLineEdit("0", CountGroup);
    BySpacing = new QRadioButton("Maximum Point Spacing", CountGroup);
    SpacingEdit = new QLineEdit("1.00", CountGroup);
    MaintainShape = new QCheckBox("Maintain Shape", CountGroup);
    RemoveColinear = new QCheckBox("Remove Colinear Points", CountGroup);
    CountLayout->addWidget(ByCount, 0, 0);
    CountLayout->addWidget(CountEdit, 0, 1);
    CountLayout->addWidget(BySpacing, 1, 0);
    CountLayout->addWidget(SpacingEdit, 1, 1);
    CountLayout->addWidget(MaintainShape, 2, 0);
    CountLayout->addWidget(RemoveColinear, 2, 1);
    ByCount->setChecked(true);
    Layout->addWidget(CountGroup);

    KnuckleGroup = new QGroupBox(" Knuckle Points ", this);
    auto* KnuckleLayout = new QHBoxLayout(KnuckleGroup);
    Detect = new QCheckBox("Detect Knuckle Points", KnuckleGroup);
    AngleLabel = new QLabel("Knuckle Angle Threshold:", KnuckleGroup);
    AngleEdit = new QLineEdit("25", KnuckleGroup);
    Degrees = new QLabel("deg", KnuckleGroup);
    for (QWidget* W : {static_cast<QWidget*>(Detect), static_cast<QWidget*>(AngleLabel),
                       static_cast<QWidget*>(AngleEdit), static_cast<QWidget*>(Degrees)})
        KnuckleLayout->addWidget(W);
    Layout->addWidget(KnuckleGroup);

    WaterGroup = new QGroupBox(" Modify Points to Waterplane ", this);
    auto* WaterLayout = new QGridLayout(WaterGroup);
    Enable = new QCheckBox("Enable", WaterGroup);
    DraughtLabel = new QLabel("Draught =", WaterGroup);
    DraughtEdit = new QLineEdit("100", WaterGroup);
    TrimLabel = new QLabel("Trim Angle (Bow down +ve) = ", WaterGroup);
    TrimEdit = new QLineEdit("0", WaterGroup);
    BelowLabel = new QLabel("Number of points below waterplane:", WaterGroup);
    BelowEdit = new QLineEdit("10", WaterGroup);
    MaintainCount = new QCheckBox("Maintain \"Maximum Number of Points\" on polylines", WaterGroup);
    WaterLayout->addWidget(Enable, 0, 0);
    WaterLayout->addWidget(DraughtLabel, 1, 0);
    WaterLayout->addWidget(DraughtEdit, 1, 1);
    WaterLayout->addWidget(TrimLabel, 2, 0);
    WaterLayout->addWidget(TrimEdit, 2, 1);
    WaterLayout->addWidget(BelowLabel, 3, 0);
    WaterLayout->addWidget(BelowEdit, 3, 1);
    WaterLayout->addWidget(MaintainCount, 4, 0, 1, 2);
    Layout->addWidget(WaterGroup);

    // What a choice does to the other choices; the enabled states then follow in Follow.
    connect(MaintainShape, &QCheckBox::toggled, this, [this](bool On) {
        if (On) {
            ByCount->setChecked(true);
            RemoveColinear->setChecked(false);
            Detect->setChecked(false);
            Enable->setChecked(false);
        }
        Follow();
    });
    connect(BySpacing, &QRadioButton::toggled, this, [this](bool On) {
        if (On) Enable->setChecked(false);
        Follow();
    });
    connect(ByCount, &QRadioButton::toggled, this, [this] { Follow(); });
    connect(Detect, &QCheckBox::toggled, this, [this] { Follow(); });
    connect(Enable, &QCheckBox::toggled, this, [this](bool On) {
        if (On) {
            RemoveColinear->setChecked(!MaintainCount->isChecked());
            CountEdit->setText("30");
        }
        Follow();
    });
    connect(MaintainCount, &QCheckBox::toggled, this, [this](bool On) {
        RemoveColinear->setChecked(!On);
        Follow();
    });

    QDialogButtonBox* Buttons = AddOkCancel(*this, Layout, [this] { Accept(); });
    OkButton = Buttons->button(QDialogButtonBox::Ok);
    CancelButton = Buttons->button(QDialogButtonBox::Cancel);
    Follow();
}

void TVertexForm::SetupForList(const TPolylineList& List) {
    setWindowTitle("Modify Polyline List Vertices");
    int Most = 0;
    for (int I = 0; I < List.Count(); ++I) Most = std::max(Most, List.Items(I)->Count());
    CountEdit->setText(QString::number(Most));
}

void TVertexForm::SetupForPolyline(const TPolyline& Polyline) {
    setWindowTitle("Modify Polyline Vertices");
    CountEdit->setText(QString::number(Polyline.Count()));
    // One polyline has no waterplane distribution.
    WaterGroup->hide();
    adjustSize();
}

void TVertexForm::Follow() {
    const bool Shape = MaintainShape->isChecked();
    const bool Water = Enable->isChecked();
    BySpacing->setEnabled(!Shape);
    CountEdit->setEnabled(ByCount->isChecked());
    SpacingEdit->setEnabled(BySpacing->isChecked() && !Shape);
    RemoveColinear->setEnabled(!Shape && !Water);
    KnuckleGroup->setEnabled(!Shape);
    SetEnabled({AngleLabel, AngleEdit, Degrees}, Detect->isChecked());
    WaterGroup->setEnabled(!Shape);
    Enable->setEnabled(!Shape && ByCount->isChecked());
    SetEnabled({DraughtLabel, DraughtEdit, TrimLabel, TrimEdit, BelowLabel, BelowEdit, MaintainCount}, Water);
}

void TVertexForm::Accept() {
    TVertexOptions Read;
    Read.Mode = BySpacing->isChecked() ? 2 : 1;
    if (!EditToInteger(CountEdit, Read.PointCount, this) || !EditToInteger(BelowEdit, Read.PointsBelowWaterplane, this) ||
        !EditToFloat(AngleEdit, Read.KnuckleAngle, this) || !EditToFloat(DraughtEdit, Read.Draught, this) ||
        !EditToFloat(TrimEdit, Read.TrimAngle, this) || !EditToFloat(SpacingEdit, Read.PointSpacing, this))
        return;
    Read.MaintainShape = MaintainShape->isChecked();
    Read.RemoveColinear = RemoveColinear->isChecked();
    Read.DetectKnuckles = Detect->isChecked();
    Read.WaterplaneEnabled = Enable->isChecked();
    Read.MaintainPointCount = MaintainCount->isChecked();
    FOptions = Read;
    accept();
}

TVertexOptions ShowVertexDialogForPolyline(const TPolyline& Polyline) {
    TVertexForm Form(DialogParent());
    Form.SetupForPolyline(Polyline);
    Form.exec();
    return Form.Options();
}

TVertexOptions ShowVertexDialogForList(const TPolylineList& List) {
    TVertexForm Form(DialogParent());
    Form.SetupForList(List);
    Form.exec();
    return Form.Options();
}

void RegisterPolylineDialogs() {
    TPolylineDialogs& Dialogs = PolylineDialogs();
    Dialogs.ShowSliceDialog = ShowSliceDialog;
    Dialogs.ShowVertexDialogForPolyline = ShowVertexDialogForPolyline;
    Dialogs.ShowVertexDialogForList = ShowVertexDialogForList;
    Dialogs.InputQuery = InputQuery;
}

}  // namespace sarnova
