#include "shell/AboutBox.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <string>

#include "foundation/TextUtils.h"
#include "shell/SplashUnit.h"

namespace sarnova {

namespace {

std::string VersionValue(int Index) {
    std::string Value;
    GetVersionInfoValue(Index, Value);
    return Value;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* Parent) : QDialog(Parent) {
    setObjectName("AboutForm");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    const std::string ProductName = VersionValue(6);
    setWindowTitle(QString::fromStdString("About " + ProductName));

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName("Image1");
    Image1->setPixmap(SplashPicture().scaledToWidth(210, Qt::SmoothTransformation));
    auto* PanelFill = new QVBoxLayout(Panel1);
    PanelFill->setContentsMargins(2, 2, 2, 2);
    PanelFill->addWidget(Image1);

    Label1 = new QLabel(QString::fromStdString(ProductName), this);
    Label1->setObjectName("Label1");
    QFont Title("Arial", 14, QFont::Bold);
    Label1->setFont(Title);
    Label3 = new QLabel("Version:", this);
    Label3->setObjectName("Label3");
    Label4 = new QLabel(QString::fromStdString(VersionValue(2)), this);
    Label4->setObjectName("Label4");
    Label2 = new QLabel(QString::fromStdString(VersionValue(4)), this);
    Label2->setObjectName("Label2");
    Label2->setWordWrap(true);

    Button1 = new QPushButton("Ok", this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto* Texts = new QGridLayout;
    Texts->addWidget(Label1, 0, 0, 1, 2);
    Texts->addWidget(Label3, 1, 0);
    Texts->addWidget(Label4, 1, 1);
    Texts->addWidget(Label2, 2, 0, 1, 2);
    Texts->setRowStretch(3, 1);
    auto* Top = new QHBoxLayout;
    Top->addWidget(Panel1);
    Top->addLayout(Texts, 1);
    auto* Buttons = new QHBoxLayout;
    Buttons->addStretch();
    Buttons->addWidget(Button1);
    auto* Fill = new QVBoxLayout(this);
    Fill->addLayout(Top);
    Fill->addLayout(Buttons);

    adjustSize();
    if (const QScreen* Screen = QGuiApplication::primaryScreen()) move(Screen->geometry().center() - rect().center());
}

void ShowAboutBox(QWidget* Parent) {
    TAboutForm AboutForm(Parent);
    AboutForm.exec();
}

}  // namespace sarnova
