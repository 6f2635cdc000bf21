// The user dialogs shown with Qt: message boxes and the open and save file dialogs.
#pragma once
#include <QStringList>

#include <string>

#include "foundation/UserDialogs.h"

class QWidget;

namespace sarnova {

class TQtUserDialogs : public IUserDialogs {
public:
    // A modal box over the application's active window.
    TModalResult MessageBox(const std::string& Caption, const std::string& Text, TMsgDlgType Icon,
                            TMsgDlgButtons Buttons) override;
    // Modal file dialogs over the application's active window.
    bool ExecuteOpenDialog(TOpenDialog& Dialog) override;
    bool ExecuteSaveDialog(TSaveDialog& Dialog) override;
};

// A modal one-line text query over the application's active window, Value its starting text. True
// with Value set to the text on OK; false, Value untouched, on Cancel.
bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value);

// The dialogs the program's windows ask through: the application's (the exception handler's), or
// plain Qt dialogs where the program has no application object of its own (a test).
IUserDialogs& ProgramUserDialogs();

// A filter "Text|*.a;*.b|Text|*" as Qt's name filters "Text (*.a *.b)". A description's own
// "(...)" is replaced by the patterns, and "*.*" (any file on Windows) becomes "*".
QStringList QtNameFilters(const std::string& Filter);

}  // namespace sarnova
