// The dockable "Console Messages" tool window: shows every line written to the console log while it
// is open.
#pragma once
#include "shell/Command.h"
#include "controls/VkDockPanel.h"

namespace sarnova {

class TConsoleForm : public TVkDockForm {
    Q_OBJECT
public:
    // Attaches VCLConsole1 to GConsole.
    explicit TConsoleForm(QWidget* Parent = nullptr);
    // Detaches it again.
    ~TConsoleForm() override;

    TVkDockPanel* VkDockPanel1;
    TVCLConsole* VCLConsole1;

protected:
    // The window frees itself; the next request creates a new, empty one.
    void closeEvent(QCloseEvent* Event) override;
};

// The console window while it exists.
extern TConsoleForm* GConsoleForm;
// The console window, created (floating, hosted by the docking manager's main window) on first use.
TConsoleForm* GetConsoleForm();

}  // namespace sarnova
