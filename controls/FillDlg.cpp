#include "controls/FillDlg.h"

#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <exception>

#include "controls/FormatGridWidget.h"
#include "foundation/Polyline.h"
#include "controls/EditNumbers.h"

namespace sarnova {

TFillDlg::TFillDlg(const std::string& CaptionSuffix, int Axis) {
    QDialog& F = *Form;
    F.setWindowTitle(QString::fromStdString("Fill Values to " + CaptionSuffix));
    SetFormSize(297, 223);
    Bevel1 = new QFrame(&F);
    Bevel1->setObjectName("Bevel1");
    // A line at the left of its box.
    Bevel1->setGeometry(200, 4, 2, 189);
    Bevel1->setFrameStyle(QFrame::VLine | QFrame::Sunken);

    RGroupBox1 = new QGroupBox(" Point component to fill to ", &F);
    RGroupBox1->setObjectName("RGroupBox1");
    RGroupBox1->setGeometry(8, 4, 185, 105);
    const char* const Items[] = {"Fill to X Coordinate", "Fill to Y Coordinate", "Fill to Z Coordinate"};
    for (int I = 0; I < 3; ++I) {
        RGroupItems[I] = new QRadioButton(Items[I], RGroupBox1);
        RGroupItems[I]->setObjectName(QString("RGroupItem%1").arg(I));
        RGroupItems[I]->setGeometry(8, 20 + I * 26, 169, 21);
    }
    const int Chosen = std::clamp(Axis, -1, 2);
    if (Chosen >= 0) RGroupItems[Chosen]->setChecked(true);

    GroupBox2 = new QGroupBox(" Value to Fill ", &F);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(8, 120, 185, 69);
    Edit1 = new QLineEdit("0.000", GroupBox2);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(16, 28, 153, 21);

    Button1 = new QPushButton("Ok", &F);
    Button1->setObjectName("Button1");
    Button1->setGeometry(208, 8, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton("Cancel", &F);
    Button2->setObjectName("Button2");
    Button2->setGeometry(208, 44, 75, 25);

    QWidget::setTabOrder(Edit1, RGroupItems[0]);
    QWidget::setTabOrder(RGroupItems[0], Button1);
    QWidget::setTabOrder(Button1, Button2);
    Edit1->setFocus();
    QObject::connect(Button1, &QPushButton::clicked, &F, [this] { Ok(); });
    QObject::connect(Button2, &QPushButton::clicked, &F, [this] { CloseWith(TModalResult::mrCancel); });
}

int TFillDlg::ItemIndex() const {
    for (int I = 0; I < 3; ++I)
        if (RGroupItems[I]->isChecked()) return I;
    return -1;
}

void TFillDlg::Ok() {
    try {
        Result.Value = EditToFloat(Edit1, true);
    } catch (const std::exception& E) {
        ReportUiError(E);
        return;
    }
    Result.Axis = ItemIndex();
    Result.Ok = true;
    CloseWith(TModalResult::mrOk);
}

TFillDlgResult ExecuteFillDialog(const std::string& CaptionSuffix, int Axis) {
    TFillDlg Dialog(CaptionSuffix, Axis);
    Dialog.ShowModal();
    return Dialog.Result;
}

void FillPolylineCoordinate(TPolyline& Points, int Axis) {
    const std::string Name = Points.ClassName();
    const TFillDlgResult Result = ExecuteFillDialog(Name.empty() ? Name : Name.substr(1), Axis);
    if (!Result.Ok || Result.Axis < 0 || Result.Axis > 2) return;
    for (int I = 0; I < Points.Count(); ++I) {
        TRPoint& P = *Points.Point(I);
        (Result.Axis == 0 ? P.X : Result.Axis == 1 ? P.Y : P.Z) = Result.Value;
    }
}

}  // namespace sarnova
