// Finding and replacing text in the macro editor: the search itself, and the modeless find and replace
// dialogs that ask for the text and the options.
#pragma once
#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace sarnova {

// Options of the find and replace dialogs, combined as a set of bits. frReplace and frReplaceAll say
// which button of the replace dialog was pressed.
enum TFindOption : unsigned {
    frDown = 1,
    frWholeWord = 2,
    frMatchCase = 4,
    frReplace = 8,
    frReplaceAll = 16,
};
using TFindOptions = unsigned;

// Searches the editor's text for Text: with frDown forward from the end of the selection, else backward
// from its start; no wrap at either end. A match is selected and scrolled into view, with the focus in
// the editor; true when there was one. An empty Text finds nothing.
bool SearchRichEdit(QPlainTextEdit& RichEdit, const std::string& Text, TFindOptions Options);

// Asks for a search text, whole word, match case and the direction (down at first). Stays open while
// the user searches; OnFind runs for every press of Find Next.
class TFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* Parent = nullptr);

    std::string FindText() const;
    void SetFindText(const std::string& Text);
    // frDown, frWholeWord and frMatchCase as set, plus the button of the last action.
    TFindOptions Options() const;
    void SetOptions(TFindOptions Options);

    std::function<void()> OnFind;

signals:
    // The search text was edited.
    void FindTextChanged();

protected:
    // The fields of the dialog; the replace dialog adds its own below them.
    QLineEdit* FindEdit;
    QCheckBox* WholeWordBox;
    QCheckBox* MatchCaseBox;
    QGroupBox* DirectionBox;
    QRadioButton* UpButton;
    QRadioButton* DownButton;
    TFindOptions LastAction = 0;
};

// The find dialog with a replacement text and the Replace and Replace All buttons; OnReplace runs for
// either, with frReplace or frReplaceAll among the options.
class TReplaceDialog : public TFindDialog {
    Q_OBJECT
public:
    explicit TReplaceDialog(QWidget* Parent = nullptr);

    std::string ReplaceText() const;
    void SetReplaceText(const std::string& Text);

    std::function<void()> OnReplace;

private:
    QLineEdit* ReplaceEdit;
};

}  // namespace sarnova
