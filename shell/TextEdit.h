// The macro editor of a document window: a text editor for macro command files (".cmd") that saves
// the text and runs it on the window's document, lists the errors, warnings and messages of the run
// under the text, and takes the caret to the macro line a message names.
#pragma once
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <string>

#include "document/Fileman.h"
#include "foundation/UserDialogs.h"
#include "shell/TextEditSearch.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QToolBar;

namespace sarnova {

class TFormSave;
class TGeometryInterface;

// The caret goes to the start of line Line (from 0; clamped to the text's lines) and the line scrolls
// into view.
void GotoRichEditLine(int Line, QPlainTextEdit& RichEdit);

class TTextEditForm : public QMainWindow {
    Q_OBJECT
public:
    // Dialogs asks the questions and runs the file dialogs; it must outlive the editor. The editor
    // starts with a new text "untitled.cmd" and is freed when it is closed.
    explicit TTextEditForm(IUserDialogs& Dialogs, QWidget* Parent = nullptr);
    ~TTextEditForm() override;

    // ---- Fields ----
    // The document macros run on; not owned.
    TGeometryInterface* Document = nullptr;
    // The document window that made the editor; cleared when that window goes.
    QPointer<QWidget> DocumentWindow;
    // Set by New and Open until the editor's own Save: the first run of a modified file asks where to
    // save it.
    bool FirstRun = false;
    bool Overwrite = false;

    // ---- Operations ----
    void SetDocument(TGeometryInterface* ADocument) { Document = ADocument; }
    // Font, text colour and background from the settings' macro-editor values.
    void ApplyEditorSettings();
    // Each answers whether it went through.
    bool SaveFile();
    bool SaveFileAs();
    bool NewFile();
    bool OpenFile();
    // Saves the text as the rules of a run say, runs it on the document and shows the messages.
    void RunMacro();
    // The selected message's file is opened when it is another one, and its line selected.
    void JumpToMessage();
    // The names of the document's selected entities, one a line, above the caret's line.
    void InsertSelectedEntities();
    // The find and replace dialogs' actions.
    void FindText(const std::string& Text, TFindOptions Options);
    void ReplaceText(const std::string& Text, const std::string& Replacement, TFindOptions Options);
    void ShowCaretPosition();
    void ShowEditState();
    bool IsModified() const { return FileManager1->Modified; }

    // ---- For the document window ----
    // May the document window close? A modified macro is asked about (" is unsaved, Save?"): Yes saves
    // it (an untitled one through the save dialog), No drops the changes, and Cancel, or a save that
    // does not happen, answers false so that the window and its editor both stay open.
    bool DocumentCloseQuery();
    // The document window is being destroyed: a macro still modified (the window went without its
    // close query) is saved, then the editor closes without asking again. Errors are reported, not
    // thrown.
    void CloseWithDocument();

    // ---- Components ----
    QPlainTextEdit* RichEdit1;
    QSplitter* Splitter1;
    QListWidget* ListBox1;
    QStatusBar* StatusBar1;
    // Caret position, "Modified", "Insert" or "Overwrite".
    QLabel* StatusPanels[3];
    std::unique_ptr<TFileManager> FileManager1;
    TOpenDialog OpenDialog1;
    TSaveDialog SaveDialog1;
    // The File menu as the file manager sees it: the hidden "MRU" item after which it lists the
    // recent command files.
    TMenuItem FileMenuItems;
    TFormSave* MacroFormSave;
    TFindDialog* FindDialog1;
    TReplaceDialog* ReplaceDialog1;
    QToolBar* ToolBar1;
    QMenu* File1;
    QMenu* Edit1;
    QMenu* Macro1;
    QMenu* Help1;
    QMenu* PopupMenu1;
    QMenu* ListPopupMenu;

    QAction* NewAction;
    QAction* OpenAction;
    QAction* SaveAction;
    QAction* SaveAsAction;
    QAction* PrintAction;
    QAction* PrintSettingsAction;
    QAction* ExitAction;
    QAction* UndoAction;
    QAction* CutAction;
    QAction* CopyAction;
    QAction* PasteAction;
    QAction* DeleteAction;
    QAction* SelectAllAction;
    QAction* FindAction;
    QAction* FindNextAction;
    QAction* ReplaceAction;
    QAction* FontAction;
    QAction* BackColorAction;
    QAction* OnTopAction;
    QAction* RunAction;
    QAction* ViewErrorsAction;
    QAction* MacroCommandsAction;
    QAction* InsertSelectedEntitiesAction;
    QAction* HideListAction;

protected:
    void closeEvent(QCloseEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QAction* MakeAction(const char* Name, const char* Caption, const QKeySequence& Shortcut,
                        std::function<void()> Execute);
    void BuildActions();
    void BuildMenus();
    void SetText(const std::string& Text);
    void ShowMessageList(bool Show);
    void UpdateEditActions();
    void NotFound(const std::string& Text);
    void Print();
    void PrintSettings();
    void ChooseFont();
    void ChooseBackColor();
    void SetOnTop(bool OnTop);

    IUserDialogs& FDialogs;
    // Set while the editor itself replaces the text, which is no edit of the user's.
    bool FLoading = false;
    // Closing with the document window: its close query has already been answered.
    bool FClosingWithDocument = false;
};

}  // namespace sarnova
