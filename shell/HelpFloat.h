// The "Help" tool window: the program's help pages, shown in a help panel inside a dockable window.
#pragma once
#include "shell/ToolWindow.h"

namespace sarnova {

class TVkHelpPanel;

// The first help page: "help/index.html" in the program's folder.
std::string HelpIndexFileName();
// The page of a context-help topic: "help/topic<Context>.html" in the program's folder.
std::string HelpContextFileName(int Context);

class THelpForm : public TToolWindowForm {
    Q_OBJECT
public:
    explicit THelpForm(QWidget* Parent = nullptr);

    TVkHelpPanel* VkHelpPanel1;
};

// The Help window, made on first use.
THelpForm* GetHelpForm();
// The Help window shown on the page of a context-help topic.
void ShowHelpContext(int Context);

}  // namespace sarnova
