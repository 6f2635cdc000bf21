#include "controls/SimpleForm.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <exception>

#include "controls/FormatGridWidget.h"
#include "controls/EditNumbers.h"

namespace sarnova {

namespace {

// What the window frame takes of a form's outer size: the borders and the caption.
constexpr int FrameWidth = 6;
constexpr int FrameHeight = 28;

}  // namespace

TSimpleForm::TSimpleForm() : Form(std::make_unique<QDialog>()) {}

TSimpleForm::~TSimpleForm() = default;

void TSimpleForm::SetFormSize(int Width, int Height) { Form->setFixedSize(Width - FrameWidth, Height - FrameHeight); }

void TSimpleForm::CloseWith(TModalResult Result) { Form->done(static_cast<int>(Result)); }

TModalResult TSimpleForm::ShowModal() {
    if (CentreOnScreen)
        if (const QScreen* Screen = QGuiApplication::primaryScreen())
            Form->move(Screen->availableGeometry().center() - QRect(QPoint(), Form->size()).center());
    const int Result = Form->exec();
    // Escape and the close box reject the dialog, which is the cancel result.
    return Result == QDialog::Rejected ? TModalResult::mrCancel : static_cast<TModalResult>(Result);
}

TSimpleDlg::TSimpleDlg() {
    Form->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
    CentreOnScreen = true;
}

TDoubleDlg::TDoubleDlg(const std::string& Caption, const std::string& LabelText, const std::string& FrameCaption) {
    QDialog& F = *Form;
    F.setWindowTitle(QString::fromStdString(Caption));
    SetFormSize(331, 111);
    GroupBox1 = new QGroupBox(QString::fromStdString(" " + FrameCaption + " "), &F);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 8, 221, 69);
    Label1 = new QLabel(QString::fromStdString(LabelText), GroupBox1);
    Label1->setObjectName("Label1");
    Label1->setGeometry(8, 28, 78, 13);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Edit1 = new QLineEdit("0.000", GroupBox1);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(92, 24, 101, 21);
    Button1 = new QPushButton("Ok", &F);
    Button1->setObjectName("Button1");
    Button1->setGeometry(240, 8, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton("Cancel", &F);
    Button2->setObjectName("Button2");
    Button2->setGeometry(240, 44, 75, 25);
    QWidget::setTabOrder(Edit1, Button1);
    QWidget::setTabOrder(Button1, Button2);
    Edit1->setFocus();
    QObject::connect(Button1, &QPushButton::clicked, &F, [this] { Ok(); });
    QObject::connect(Button2, &QPushButton::clicked, &F, [this] { CloseWith(TModalResult::mrCancel); });
}

void TDoubleDlg::Ok() {
    try {
        Value = EditToFloat(Edit1, true);
    } catch (const std::exception& E) {
        ReportUiError(E);
        return;
    }
    CloseWith(TModalResult::mrOk);
}

}  // namespace sarnova
