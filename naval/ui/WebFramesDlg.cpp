#include "naval/ui/WebFramesDlg.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/FormatGridWidget.h"
#include "controls/EditNumbers.h"

namespace sarnova {

TWebFramesForm::TWebFramesForm() {
    QDialog& F = *Form;
    F.setWindowTitle("Generate Web Frames from Sections");
    GroupBox1 = new QGroupBox(" Web Frame Dimension ", &F);
    auto* Grid = new QGridLayout(GroupBox1);
    Label1 = new QLabel("Web Depth:", GroupBox1);
    Label2 = new QLabel("Web Thickness:", GroupBox1);
    Edit1 = new QLineEdit("0.3", GroupBox1);
    Edit2 = new QLineEdit("0.01", GroupBox1);
    Grid->addWidget(Label1, 0, 0);
    Grid->addWidget(Edit1, 0, 1);
    Grid->addWidget(Label2, 1, 0);
    Grid->addWidget(Edit2, 1, 1);
    Button1 = new QPushButton("Ok", &F);
    Button1->setDefault(true);
    Button2 = new QPushButton("Cancel", &F);
    auto* Layout = new QGridLayout(&F);
    Layout->addWidget(GroupBox1, 0, 0, 2, 1);
    Layout->addWidget(Button1, 0, 1);
    Layout->addWidget(Button2, 1, 1);
    QObject::connect(Button1, &QPushButton::clicked, &F, [this] { Button1Click(); });
    QObject::connect(Button2, &QPushButton::clicked, &F, [this] { CloseWith(TModalResult::mrCancel); });
}

void TWebFramesForm::Button1Click() {
    try {
        const double Depth = EditToFloat(Edit1, true);
        const double Thickness = EditToFloat(Edit2, true);
        Result = {Depth, Thickness};
    } catch (const std::exception& E) {
        ReportUiError(E);
        return;
    }
    CloseWith(TModalResult::mrOk);
}

TWebFrameSize ShowWebFramesDialog() {
    TWebFramesForm Form;
    Form.ShowModal();
    return Form.Result;
}

}  // namespace sarnova
