#include "document/ui/PolylineDialogsUi.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "entities/GPlane.h"
#include "foundation/DuZezOrideFormat.h"
#include "foundation/Polyline.h"

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
void AddOkCancel(QDialog& Dialog, QVBoxLayout* Layout, F Accept) {
    auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &Dialog);
    Layout->addWidget(Buttons);
    QObject::connect(Buttons, &QDialogButtonBox::rejected, &Dialog, &QDialog::reject);
    QObject::connect(Buttons, &QDialogButtonBox::accepted, &Dialog, Accept);
}

}  // namespace

bool ShowSliceDialog(const std::string& Name, TGeometryList& Document, bool AllowClosing, bool& Close, TMPlane& Plane) {
    QDialog Dialog(DialogParent());
    Dialog.setWindowTitle(QString::fromStdString("Slice " + Name));
    auto* Layout = new QVBoxLayout(&Dialog);

    auto* PlaneGroup = new QGroupBox(" Slicing Plane ", &Dialog);
    auto* PlaneLayout = new QHBoxLayout(PlaneGroup);
    QRadioButton* Axes[] = {new QRadioButton("XY", PlaneGroup), new QRadioButton("YZ", PlaneGroup),
                            new QRadioButton("XZ", PlaneGroup)};
    for (QRadioButton* R : Axes) PlaneLayout->addWidget(R);
    Axes[0]->setChecked(true);
    // The named plane entities of the document; without one the choice has nothing to offer.
    auto* PlaneButton = new QRadioButton("Plane ", PlaneGroup);
    auto* PlaneList = new QComboBox(PlaneGroup);
    for (const std::string& PlaneName : NamedPlanes(Document)) PlaneList->addItem(QString::fromStdString(PlaneName));
    PlaneButton->setEnabled(PlaneList->count() > 0);
    PlaneList->setEnabled(PlaneList->count() > 0);
    if (PlaneList->count() > 0) PlaneList->setCurrentIndex(0);
    PlaneLayout->addWidget(PlaneButton);
    PlaneLayout->addWidget(PlaneList);
    Layout->addWidget(PlaneGroup);

    auto* PositionGroup = new QGroupBox(" Position of Slicing Plane ", &Dialog);
    auto* PositionLayout = new QHBoxLayout(PositionGroup);
    auto* PositionLabel = new QLabel("Z =", PositionGroup);
    auto* Position = new QLineEdit("0.000", PositionGroup);
    auto* CloseBox = new QCheckBox("Close if Original is Closed", PositionGroup);
    CloseBox->setEnabled(AllowClosing);
    PositionLayout->addWidget(PositionLabel);
    PositionLayout->addWidget(Position);
    PositionLayout->addWidget(CloseBox);
    Layout->addWidget(PositionGroup);
    const char* const Labels[] = {"Z =", "X =", "Y ="};
    // An axis plane is placed by its position; a plane entity is where it is.
    const auto UsePosition = [=](bool On) {
        for (QWidget* W : std::initializer_list<QWidget*>{PositionLabel, PositionGroup, Position}) W->setEnabled(On);
        CloseBox->setEnabled(On && AllowClosing);
    };
    for (int I = 0; I < 3; ++I)
        QObject::connect(Axes[I], &QRadioButton::toggled, PositionLabel, [=, Label = Labels[I]](bool On) {
            if (!On) return;
            PositionLabel->setText(Label);
            UsePosition(true);
        });
    QObject::connect(PlaneButton, &QRadioButton::toggled, PositionGroup, [=](bool On) {
        if (On) UsePosition(false);
    });
    QObject::connect(PlaneList, &QComboBox::activated, PlaneButton, [PlaneButton](int) { PlaneButton->setChecked(true); });

    AddOkCancel(Dialog, Layout, [&] {
        if (PlaneButton->isChecked()) {
            // A name that no longer belongs to a plane entity keeps the dialog open.
            if (!FindNamedPlane(Document, PlaneList->currentText().toStdString(), Plane)) return;
            Close = CloseBox->isChecked();
            Dialog.accept();
            return;
        }
        double Value = 0;
        if (!EditToFloat(Position, Value, &Dialog)) return;
        // XY is the plane z = position, YZ x = position, XZ y = position.
        const TPlaneDirection Code = Axes[1]->isChecked() ? 1 : Axes[2]->isChecked() ? 2 : 0;
        Plane = PlaneFromDirection(Code, Value);
        Close = CloseBox->isChecked();
        Dialog.accept();
    });
    return Dialog.exec() == QDialog::Accepted;
}

TVertexOptions ShowVertexDialog(const TPolyline& Polyline) {
    TVertexOptions Options;
    QDialog Dialog(DialogParent());
    Dialog.setWindowTitle("Modify Polyline Vertices");
    auto* Layout = new QVBoxLayout(&Dialog);

    auto* CountGroup = new QGroupBox(" Number of Vertices ", &Dialog);
    auto* CountLayout = new QGridLayout(CountGroup);
    auto* ByCount = new QRadioButton("Maximum Number of Points", CountGroup);
    auto* CountEdit = new QLineEdit(QString::number(Polyline.Count()), CountGroup);
    auto* BySpacing = new QRadioButton("Maximum Point Spacing", CountGroup);
    auto* SpacingEdit = new QLineEdit("1.00", CountGroup);
    auto* MaintainShape = new QCheckBox("Maintain Shape", CountGroup);
    auto* RemoveColinear = new QCheckBox("Remove Colinear Points", CountGroup);
    CountLayout->addWidget(ByCount, 0, 0);
    CountLayout->addWidget(CountEdit, 0, 1);
    CountLayout->addWidget(BySpacing, 1, 0);
    CountLayout->addWidget(SpacingEdit, 1, 1);
    CountLayout->addWidget(MaintainShape, 2, 0);
    CountLayout->addWidget(RemoveColinear, 2, 1);
    ByCount->setChecked(true);
    Layout->addWidget(CountGroup);

    auto* KnuckleGroup = new QGroupBox(" Knuckle Points ", &Dialog);
    auto* KnuckleLayout = new QHBoxLayout(KnuckleGroup);
    auto* Detect = new QCheckBox("Detect Knuckle Points", KnuckleGroup);
    auto* AngleLabel = new QLabel("Knuckle Angle Threshold:", KnuckleGroup);
    auto* AngleEdit = new QLineEdit("25", KnuckleGroup);
    auto* Degrees = new QLabel("deg", KnuckleGroup);
    for (QWidget* W : std::initializer_list<QWidget*>{Detect, AngleLabel, AngleEdit, Degrees}) KnuckleLayout->addWidget(W);
    Layout->addWidget(KnuckleGroup);

    const auto Follow = [&] {
        const bool Shape = MaintainShape->isChecked();
        if (Shape) {
            ByCount->setChecked(true);
            RemoveColinear->setChecked(false);
            Detect->setChecked(false);
        }
        BySpacing->setEnabled(!Shape);
        RemoveColinear->setEnabled(!Shape);
        KnuckleGroup->setEnabled(!Shape);
        CountEdit->setEnabled(ByCount->isChecked());
        SpacingEdit->setEnabled(BySpacing->isChecked() && !Shape);
        for (QWidget* W : std::initializer_list<QWidget*>{AngleLabel, AngleEdit, Degrees}) W->setEnabled(Detect->isChecked());
    };
    for (QAbstractButton* B : std::initializer_list<QAbstractButton*>{ByCount, BySpacing, MaintainShape, Detect})
        QObject::connect(B, &QAbstractButton::toggled, &Dialog, Follow);
    Follow();

    AddOkCancel(Dialog, Layout, [&] {
        TVertexOptions Read;
        Read.Mode = BySpacing->isChecked() ? 2 : 1;
        if (!EditToInteger(CountEdit, Read.PointCount, &Dialog) || !EditToFloat(SpacingEdit, Read.PointSpacing, &Dialog) ||
            !EditToFloat(AngleEdit, Read.KnuckleAngle, &Dialog))
            return;
        Read.MaintainShape = MaintainShape->isChecked();
        Read.RemoveColinear = RemoveColinear->isChecked();
        Read.DetectKnuckles = Detect->isChecked();
        Options = Read;
        Dialog.accept();
    });
    if (Dialog.exec() != QDialog::Accepted) Options.Mode = 0;
    return Options;
}

bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value) {
    bool Ok = false;
    const QString Text = QInputDialog::getText(DialogParent(), QString::fromStdString(Caption),
                                               QString::fromStdString(Prompt), QLineEdit::Normal,
                                               QString::fromStdString(Value), &Ok);
    if (Ok) Value = Text.toStdString();
    return Ok;
}

void RegisterPolylineDialogs() {
    TPolylineDialogs& Dialogs = PolylineDialogs();
    Dialogs.ShowSliceDialog = ShowSliceDialog;
    Dialogs.ShowVertexDialog = ShowVertexDialog;
    Dialogs.InputQuery = InputQuery;
}

}  // namespace sarnova
