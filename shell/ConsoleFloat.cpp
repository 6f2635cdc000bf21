#include "shell/ConsoleFloat.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QVBoxLayout>

#include "controls/VkDockPanelLayout.h"

namespace sarnova {

TConsoleForm* GConsoleForm = nullptr;

TConsoleForm::TConsoleForm(QWidget* Parent) : TVkDockForm(Parent) {
    setObjectName("ConsoleForm");
    setWindowTitle("Console Messages");
    setAttribute(Qt::WA_DeleteOnClose);
    VkDockPanel1 = new TVkDockPanel(this);
    VkDockPanel1->setObjectName("VkDockPanel1");
    VCLConsole1 = new TVCLConsole(VkDockPanel1);
    VCLConsole1->setObjectName("VCLConsole1");
    VCLConsole1->setFont(QFont("MS Sans Serif", 8));
    auto* Fill = new QVBoxLayout(VkDockPanel1);
    Fill->setContentsMargins(0, 0, 0, 0);
    Fill->addWidget(VCLConsole1);
    setWidget(VkDockPanel1);
    GConsole->Console = VCLConsole1;
}

TConsoleForm::~TConsoleForm() {
    if (GConsole && GConsole->Console == VCLConsole1) GConsole->Console = nullptr;
    if (GConsoleForm == this) GConsoleForm = nullptr;
}

void TConsoleForm::closeEvent(QCloseEvent* Event) {
    if (GConsoleForm == this) GConsoleForm = nullptr;
    TVkDockForm::closeEvent(Event);
}

TConsoleForm* GetConsoleForm() {
    if (!GConsoleForm) GConsoleForm = new TConsoleForm(HostMainWindow());
    return GConsoleForm;
}

}  // namespace sarnova
