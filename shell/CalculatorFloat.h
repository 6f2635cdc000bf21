// The dockable "Calculator" tool window: the user types an expression, the active document evaluates
// it (so frame positions, macro variables and entity properties may be used) and the result is
// written below; typed expressions are kept in the combo box's list for reuse.
#pragma once
#include <QComboBox>
#include <QToolButton>

#include "shell/Command.h"
#include "controls/VkDockPanel.h"

namespace sarnova {

class TCalculatorForm : public TVkDockForm {
    Q_OBJECT
public:
    explicit TCalculatorForm(QWidget* Parent = nullptr);
    ~TCalculatorForm() override;

    // Evaluates ComboBox1's text with the active document and writes "<text> = <value>". Without a
    // document window it writes "calculator unavailable". Evaluation errors pass to the caller; then
    // nothing is written and the history is left as it was.
    void Calculate();

    TVkDockPanel* VkDockPanel1;
    QWidget* Panel1;
    QToolButton* SpeedButton1;
    QComboBox* ComboBox1;
    QToolButton* SpeedButton2;
    TVCLConsole* VCLConsole1;

protected:
    // The window frees itself; the next request creates a new one with empty results and history.
    void closeEvent(QCloseEvent* Event) override;
    // Enter in the expression box calculates.
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    // Calculate from a button, list choice or key: an error is shown and the program carries on.
    void CalculateReporting();
};

// The calculator window while it exists.
extern TCalculatorForm* GCalculatorForm;
// The calculator window, created (floating, hosted by the docking manager's main window) on first use.
TCalculatorForm* GetCalculatorForm();

}  // namespace sarnova
