// Modal questions to the user (message boxes, open and save file dialogs) as the model sees them. The
// GUI shows real dialogs; tests answer from a script. Model code never includes the GUI to ask
// something.
#pragma once
#include <string>

namespace sarnova {

// The icon of a message box.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// The buttons of a message box, combined as a set ("mbYes | mbNo | mbCancel").
enum TMsgDlgBtn : unsigned { mbYes = 1u << 0, mbNo = 1u << 1, mbOK = 1u << 2, mbCancel = 1u << 3 };
using TMsgDlgButtons = unsigned;

// The answer of a modal box or dialog; the values are the usual modal results (1 for OK).
enum class TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// A file dialog's settings, kept by the form that owns the dialog between uses. Filter pairs each
// description with its patterns, all separated by "|": "Macro Command Files (*.cmd)|*.cmd|Any File
// (*.*)|*.*". DefaultExt (without the ".") is added to a typed name that has no extension.
struct TFileDialog {
    std::string Title;
    std::string Filter;
    std::string DefaultExt;
    std::string InitialDir;
    // Preset before the dialog runs; the chosen file after OK.
    std::string FileName;
};

// Only an existing file can be chosen.
struct TOpenDialog : TFileDialog {};
// Choosing an existing file asks before it is replaced.
struct TSaveDialog : TFileDialog {};

class IUserDialogs {
public:
    virtual ~IUserDialogs() = default;

    // Shows Text in a modal box captioned Caption with the given icon and buttons and returns the
    // button the user pressed.
    virtual TModalResult MessageBox(const std::string& Caption, const std::string& Text, TMsgDlgType Icon,
                                    TMsgDlgButtons Buttons) = 0;

    // Run the dialog modally. True on OK, with the chosen file in Dialog.FileName; false on Cancel,
    // with Dialog left as it was.
    virtual bool ExecuteOpenDialog(TOpenDialog& Dialog) = 0;
    virtual bool ExecuteSaveDialog(TSaveDialog& Dialog) = 0;
};

}  // namespace sarnova
