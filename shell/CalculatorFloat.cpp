#include "shell/CalculatorFloat.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QStyle>
#include <QVBoxLayout>

#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "shell/MainUnit.h"
#include "controls/VkDockPanelLayout.h"

namespace sarnova {

TCalculatorForm* GCalculatorForm = nullptr;

TCalculatorForm::TCalculatorForm(QWidget* Parent) : TVkDockForm(Parent) {
    setObjectName("CalculatorForm");
    setWindowTitle("Calculator");
    setAttribute(Qt::WA_DeleteOnClose);
    VkDockPanel1 = new TVkDockPanel(this);
    VkDockPanel1->setObjectName("VkDockPanel1");

    Panel1 = new QWidget(VkDockPanel1);
    Panel1->setObjectName("Panel1");
    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setText("Calculate");
    ComboBox1 = new QComboBox(Panel1);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(true);
    // The history is kept by Calculate, not by the combo box's own insertion on Enter.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    SpeedButton2 = new QToolButton(Panel1);
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    SpeedButton2->setToolTip("Clear");
    auto* Top = new QHBoxLayout(Panel1);
    Top->setContentsMargins(2, 2, 2, 2);
    Top->addWidget(SpeedButton1);
    Top->addWidget(ComboBox1);
    Top->addWidget(SpeedButton2);

    VCLConsole1 = new TVCLConsole(VkDockPanel1);
    VCLConsole1->setObjectName("VCLConsole1");
    VCLConsole1->setFont(QFont("System"));
    auto* Fill = new QVBoxLayout(VkDockPanel1);
    Fill->setContentsMargins(0, 0, 0, 0);
    Fill->setSpacing(0);
    Fill->addWidget(Panel1);
    Fill->addWidget(VCLConsole1, 1);
    setWidget(VkDockPanel1);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { CalculateReporting(); });
    connect(ComboBox1, &QComboBox::activated, this, [this] { CalculateReporting(); });
    // Enter is taken before the combo box sees it: its own handling would select a matching list entry
    // (replacing the typed letter case) and report it as a second choice. The combo box holds the focus
    // and hands keys to its line edit directly, so both are watched.
    ComboBox1->installEventFilter(this);
    ComboBox1->lineEdit()->installEventFilter(this);
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { VCLConsole1->Clear(); });
}

TCalculatorForm::~TCalculatorForm() {
    if (GCalculatorForm == this) GCalculatorForm = nullptr;
}

void TCalculatorForm::Calculate() {
    IDocumentWindow* Window = GMainForm ? GMainForm->ActiveDocumentWindow() : nullptr;
    if (!Window || !Window->Document()) {
        VCLConsole1->WriteLine("calculator unavailable");
        return;
    }
    const std::string Text = ComboBox1->currentText().toStdString();
    const double Value = Window->Document()->EvaluateNumber(Text);
    VCLConsole1->WriteLine(Text + " = " + FloatToStrF(Value, ffGeneral, 15, 0));

    const std::string Upper = UpperCase(Text);
    for (int I = 0; I < ComboBox1->count(); ++I)
        if (UpperCase(ComboBox1->itemText(I).toStdString()) == Upper) return;
    // Adding the first item would make it current and replace the typed text; keep what was typed.
    const QString Typed = ComboBox1->currentText();
    ComboBox1->addItem(Typed);
    ComboBox1->setEditText(Typed);
}

bool TCalculatorForm::eventFilter(QObject* Watched, QEvent* Event) {
    if ((Watched == ComboBox1 || Watched == ComboBox1->lineEdit()) && Event->type() == QEvent::KeyPress) {
        const int Key = static_cast<QKeyEvent*>(Event)->key();
        if (Key == Qt::Key_Return || Key == Qt::Key_Enter) {
            CalculateReporting();
            return true;
        }
    }
    return TVkDockForm::eventFilter(Watched, Event);
}

void TCalculatorForm::CalculateReporting() {
    try {
        Calculate();
    } catch (const std::exception& Error) {
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
    }
}

void TCalculatorForm::closeEvent(QCloseEvent* Event) {
    if (GCalculatorForm == this) GCalculatorForm = nullptr;
    TVkDockForm::closeEvent(Event);
}

TCalculatorForm* GetCalculatorForm() {
    if (!GCalculatorForm) GCalculatorForm = new TCalculatorForm(HostMainWindow());
    return GCalculatorForm;
}

}  // namespace sarnova
