#include "exchange/ui/OFFFileForm.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "exchange/IoOff.h"
#include "exchange/OFFFile.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "controls/EditNumbers.h"
#include "foundation/UserDialogs.h"
#include "platform/qt/QtUserDialogs.h"

namespace sarnova {

namespace {

// At least one and at most three decimals.
QString Dimension(double V) {
    std::string S = FormatWithPoint("%.3f", {V});
    while (S.size() > 1 && S.back() == '0' && S[S.size() - 2] != '.') S.pop_back();
    return QString::fromStdString(S);
}

const char* const LOAHint =
    "Length Overall of the hull (not including bowsprit).\r\nThis is now a required field used for the pitching\r\n"
    "resistance.";
const char* const SFJHint =
    "Distance from the stem to the forward end of J. This is\r\noverridden if there is either a non-zero value in the "
    ".DAT\r\nfile SFJ field or by a non-zero value in SFBI below.";
const char* const SFBIHint =
    "Stem to mast distance, SFJ + J. This is used to locate\r\nthe mast to get HBI (Height of sheer at the Base of "
    "I).\r\nThis is overridden if there is a non-zero value\r\nin the .DAT file SFJ field.";

}  // namespace

TOFFFileForm::TOFFFileForm(TOFFFile& File, IUserDialogs& Dialogs, QWidget* Parent)
    : QDialog(Parent), FFile(File), FDialogs(Dialogs) {
    setWindowTitle("Export IMS Offsets");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* Layout = new QVBoxLayout(this);

    auto* Ident = new QGroupBox(" Identification ", this);
    auto* IdentLayout = new QFormLayout(Ident);
    Edit1 = new QLineEdit(Ident);
    Button4 = new QPushButton("Browse", Ident);
    auto* FileRow = new QHBoxLayout;
    FileRow->addWidget(Edit1);
    FileRow->addWidget(Button4);
    IdentLayout->addRow("Filename:", FileRow);
    Edit2 = new QLineEdit(QString::fromStdString(File.YachtName), Ident);
    Edit2->setMaxLength(24);
    IdentLayout->addRow("Yacht Name:", Edit2);
    Edit6 = new QLineEdit(QString::fromStdString(File.MeasurerNumber), Ident);
    Edit6->setMaxLength(5);
    IdentLayout->addRow("Measurer Number:", Edit6);
    Layout->addWidget(Ident);

    auto* Dims = new QGroupBox(" Dimensions ", this);
    auto* DimsLayout = new QFormLayout(Dims);
    Edit3 = new QLineEdit(Dimension(File.LOA), Dims);
    Edit4 = new QLineEdit(Dimension(File.SFJ), Dims);
    Edit5 = new QLineEdit(Dimension(File.SFBI), Dims);
    const std::pair<QLineEdit*, const char*> Rows[] = {{Edit3, LOAHint}, {Edit4, SFJHint}, {Edit5, SFBIHint}};
    const char* const Captions[] = {"LOA:", "SFJ:", "SFBI:"};
    for (int I = 0; I < 3; ++I) {
        auto* Label = new QLabel(Captions[I], Dims);
        Label->setToolTip(Rows[I].second);
        Rows[I].first->setToolTip(Rows[I].second);
        DimsLayout->addRow(Label, Rows[I].first);
    }
    Layout->addWidget(Dims);

    auto* Units = new QGroupBox(" Measurement Units ", this);
    auto* UnitsLayout = new QVBoxLayout(Units);
    RadioButton1 = new QRadioButton("Imperial (Definition in Hundreths of Feet)", Units);
    RadioButton2 = new QRadioButton("Metric (Definition in Millimetres)", Units);
    (File.Metric ? RadioButton2 : RadioButton1)->setChecked(true);
    UnitsLayout->addWidget(RadioButton1);
    UnitsLayout->addWidget(RadioButton2);
    Layout->addWidget(Units);

    auto* Tools = new QGroupBox(" Tools ", this);
    auto* ToolsLayout = new QVBoxLayout(Tools);
    auto* Text = new QLabel(
        "Vessel should be orientated with the origin at the forward extent of the hull and in increasing 'x' to "
        "the stern.  The definition is flipped on the basis of the given LOA:",
        Tools);
    Text->setWordWrap(true);
    ToolsLayout->addWidget(Text);
    Button3 = new QPushButton("Flip 'x' Orientation using LOA", Tools);
    Button3->setEnabled(false);
    ToolsLayout->addWidget(Button3);
    Layout->addWidget(Tools);

    auto* Buttons = new QHBoxLayout;
    Button1 = new QPushButton("&Save", this);
    Button1->setDefault(true);
    Button2 = new QPushButton("&Cancel", this);
    Buttons->addStretch();
    Buttons->addWidget(Button1);
    Buttons->addWidget(Button2);
    Layout->addLayout(Buttons);
    connect(Button1, &QPushButton::clicked, this, &TOFFFileForm::Save);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button4, &QPushButton::clicked, this, &TOFFFileForm::Browse);
}

void TOFFFileForm::Browse() {
    TSaveDialog Dialog;
    Dialog.Title = "Export IMS Offsets File";
    Dialog.DefaultExt = "off";
    Dialog.Filter = "IMS Offsets (*.off)|*.off";
    Dialog.FileName = Edit1->text().toStdString();
    if (FDialogs.ExecuteSaveDialog(Dialog)) Edit1->setText(QString::fromStdString(Dialog.FileName));
}

void TOFFFileForm::Save() {
    try {
        const int Measurer = EditToInteger(Edit6, true);
        const double LOA = EditToFloat(Edit3, true), SFJ = EditToFloat(Edit4, true), SFBI = EditToFloat(Edit5, true);
        FFile.SetYachtName(Edit2->text().toStdString());
        FFile.SetMeasurerNumber(std::to_string(Measurer));
        FFile.Metric = !RadioButton1->isChecked();
        FFile.LOA = LOA;
        FFile.SFJ = SFJ;
        FFile.SFBI = SFBI;
    } catch (const std::exception& E) {
        FDialogs.MessageBox("Error", E.what(), TMsgDlgType::mtError, mbOK);
        return;
    }
    accept();
}

bool ShowOFFFileForm(TOFFFile& File, std::string& FileName) {
    TOFFFileForm Form(File, ProgramUserDialogs(), QApplication::activeWindow());
    if (Form.exec() != QDialog::Accepted) return false;
    FileName = Form.Edit1->text().toStdString();
    return true;
}

void RegisterOFFFileForm() { OFFExportDialog() = ShowOFFFileForm; }

}  // namespace sarnova
