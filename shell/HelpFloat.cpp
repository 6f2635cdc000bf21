#include "shell/HelpFloat.h"

#include <QPointer>
#include <QVBoxLayout>

#include <string>

#include "foundation/TextUtils.h"
#include "controls/VkDockPanel.h"
#include "controls/VkHelpPanel.h"

namespace sarnova {

namespace {
QPointer<THelpForm> GHelpForm;
}  // namespace

std::string HelpIndexFileName() { return GExeDir + "help/index.html"; }

std::string HelpContextFileName(int Context) { return GExeDir + "help/topic" + std::to_string(Context) + ".html"; }

THelpForm::THelpForm(QWidget* Parent) : TToolWindowForm(Parent, "HelpForm", "Help", false) {
    resize(420, 480);
    VkHelpPanel1 = new TVkHelpPanel(VkDockPanel1);
    VkHelpPanel1->setObjectName("VkHelpPanel1");
    VkHelpPanel1->SetFileName(HelpIndexFileName());
    Contents()->addWidget(VkHelpPanel1);
}

THelpForm* GetHelpForm() { return GetToolWindow(GHelpForm); }

void ShowHelpContext(int Context) {
    THelpForm* Form = GetHelpForm();
    Form->VkHelpPanel1->SetFileName(HelpContextFileName(Context));
    ShowToolWindow(Form);
}

}  // namespace sarnova
