#include "shell/TextEdit.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "document/GeoFace.h"
#include "document/Settings.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtPrinter.h"
#include "controls/FormSave.h"
#include "document/MacroErrorText.h"
#include "platform/qt/QtMenus.h"
#include "controls/ToolIcons.h"

namespace sarnova {

namespace {

constexpr const char* UnSavedCommandFile = "untitled.cmd";
constexpr int MessageListHeight = 59;

// The lines of a text file, joined with LF; a line end after the last line ends it rather than
// starting an empty one.
std::string ReadTextLines(const std::filesystem::path& FileName) {
    TTextReader Reader = TTextReader::FromFile(FileName);
    std::string Text;
    bool First = true;
    while (!Reader.Eof()) {
        if (!First) Text += '\n';
        Text += Reader.ReadLine();
        First = false;
    }
    return Text;
}

}  // namespace

void GotoRichEditLine(int Line, QPlainTextEdit& RichEdit) {
    QTextDocument* Text = RichEdit.document();
    const QTextBlock Block = Text->findBlockByNumber(std::clamp(Line, 0, Text->blockCount() - 1));
    QTextCursor Cursor = RichEdit.textCursor();
    Cursor.setPosition(Block.position());
    RichEdit.setTextCursor(Cursor);
    RichEdit.ensureCursorVisible();
}

TTextEditForm::TTextEditForm(IUserDialogs& Dialogs, QWidget* Parent) : QMainWindow(Parent), FDialogs(Dialogs) {
    setObjectName("TextEditForm");
    setWindowTitle("Macro Editor");
    setAttribute(Qt::WA_DeleteOnClose);
    resize(600, 450);
    MacroFormSave = new TFormSave(*this, "MacroFormSave");
    MacroFormSave->SaveFile = sfRegistryFile;

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setChildrenCollapsible(false);
    RichEdit1 = new QPlainTextEdit(Splitter1);
    RichEdit1->setObjectName("RichEdit1");
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setTabChangesFocus(false);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    RichEdit1->installEventFilter(this);
    ListBox1 = new QListWidget(Splitter1);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    setCentralWidget(Splitter1);

    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
    const int Widths[3] = {100, 70, 50};
    for (int I = 0; I < 3; ++I) {
        StatusPanels[I] = new QLabel(StatusBar1);
        StatusPanels[I]->setMinimumWidth(Widths[I]);
        if (I < 2) StatusPanels[I]->setAlignment(Qt::AlignCenter);
        StatusBar1->addWidget(StatusPanels[I]);
    }

    FindDialog1 = new TFindDialog(this);
    FindDialog1->OnFind = [this] { FindText(FindDialog1->FindText(), FindDialog1->Options()); };
    ReplaceDialog1 = new TReplaceDialog(this);
    ReplaceDialog1->OnFind = [this] { FindText(ReplaceDialog1->FindText(), ReplaceDialog1->Options()); };
    ReplaceDialog1->OnReplace = [this] {
        ReplaceText(ReplaceDialog1->FindText(), ReplaceDialog1->ReplaceText(), ReplaceDialog1->Options());
    };

    OpenDialog1.Title = "Open Command File";
    OpenDialog1.Filter = "Macro Command Files (*.cmd)|*.cmd|Any File (*.*)|*.*";
    OpenDialog1.DefaultExt = "cmd";
    SaveDialog1.Title = "Save Command File";
    SaveDialog1.Filter = "Macro Command Files (*.cmd)|*.cmd";
    SaveDialog1.DefaultExt = "cmd";
    FileMenuItems.Add("MRU").Visible = false;

    FileManager1 = std::make_unique<TFileManager>(Dialogs);
    FileManager1->UnSavedName = UnSavedCommandFile;
    FileManager1->RegistryKey = "CommandFiles";
    FileManager1->OpenDialog = &OpenDialog1;
    FileManager1->SaveDialog = &SaveDialog1;
    FileManager1->MRUMenu = &FileMenuItems;
    FileManager1->OnNewFile = [this](TFileManager*) {
        SetText({});
        FirstRun = true;
    };
    FileManager1->OnOpenFile = [this](TFileManager*, const std::string& Name) {
        SetText(ReadTextLines(Name));
        FirstRun = true;
    };
    FileManager1->OnSaveFile = [this](TFileManager*, const std::string& Name) {
        const std::string Text = RichEdit1->toPlainText().toStdString();
        TTextWriter Writer;
        Writer.Write(Text);
        if (!Text.empty()) Writer.Write("\n");
        Writer.SaveToFile(Name);
    };
    FileManager1->OnUpDateFileName = [this](TFileManager*, const std::string&, const std::string& ShortName) {
        setWindowTitle(QString::fromStdString("Macro Editor - " + ShortName));
    };

    BuildActions();
    BuildMenus();
    FileManager1->Loaded();

    connect(RichEdit1, &QPlainTextEdit::textChanged, this, [this] {
        if (FLoading) return;
        FileManager1->Modified = true;
        ShowEditState();
    });
    connect(RichEdit1, &QPlainTextEdit::cursorPositionChanged, this, &TTextEditForm::ShowCaretPosition);
    connect(RichEdit1, &QPlainTextEdit::customContextMenuRequested, this,
            [this](const QPoint& At) { PopupMenu1->popup(RichEdit1->viewport()->mapToGlobal(At)); });
    connect(ListBox1, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { ListPopupMenu->popup(ListBox1->viewport()->mapToGlobal(At)); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { RunMenuCommand([this] { JumpToMessage(); }); });
    connect(FindDialog1, &TFindDialog::FindTextChanged, this, &TTextEditForm::UpdateEditActions);

    // The placement of the last editor comes back before the editor's own creation.
    MacroFormSave->RestorePlacement();

    ShowMessageList(false);
    Overwrite = false;
    ApplyEditorSettings();
    FileManager1->Modified = false;
    FileManager1->New();
    ShowCaretPosition();
    ShowEditState();
    UpdateEditActions();
}

TTextEditForm::~TTextEditForm() {
    // The placement is stored while the editor is still whole.
    delete MacroFormSave;
    MacroFormSave = nullptr;
}

QAction* TTextEditForm::MakeAction(const char* Name, const char* Caption, const QKeySequence& Shortcut,
                                   std::function<void()> Execute) {
    return CreateCommandAction(*this, Name, Caption, Shortcut, Qt::WindowShortcut, std::move(Execute));
}

void TTextEditForm::BuildActions() {
    NewAction = MakeAction("NewAction", "&New", {}, [this] { NewFile(); });
    OpenAction = MakeAction("OpenAction", "&Open", {}, [this] { OpenFile(); });
    SaveAction = MakeAction("SaveAction", "&Save", {}, [this] { SaveFile(); });
    SaveAsAction = MakeAction("SaveAsAction", "Save &As...", {}, [this] { SaveFileAs(); });
    PrintAction = MakeAction("PrintAction", "&Print", QKeySequence("Ctrl+P"), [this] { Print(); });
    PrintSettingsAction = MakeAction("PrintSettingsAction", "Print Se&ttings...", {}, [this] { PrintSettings(); });
    ExitAction = MakeAction("ExitAction", "E&xit", {}, [this] { close(); });

    UndoAction = MakeAction("EditUndo1", "&Undo", QKeySequence("Ctrl+Z"), [this] { RichEdit1->undo(); });
    CutAction = MakeAction("EditCut1", "Cu&t", QKeySequence("Ctrl+X"), [this] { RichEdit1->cut(); });
    CopyAction = MakeAction("EditCopy1", "&Copy", QKeySequence("Ctrl+C"), [this] { RichEdit1->copy(); });
    PasteAction = MakeAction("EditPaste1", "&Paste", QKeySequence("Ctrl+V"), [this] { RichEdit1->paste(); });
    DeleteAction = MakeAction("EditDelete1", "&Delete", QKeySequence("Ctrl+Del"),
                              [this] { RichEdit1->textCursor().removeSelectedText(); });
    SelectAllAction =
        MakeAction("EditSelectAll1", "Select &All", QKeySequence("Ctrl+A"), [this] { RichEdit1->selectAll(); });
    FindAction = MakeAction("FindAction", "&Find...", QKeySequence("Ctrl+F"), [this] {
        FindDialog1->show();
        FindDialog1->raise();
        FindDialog1->activateWindow();
    });
    FindNextAction = MakeAction("FindNextAction", "Find &Next", QKeySequence(Qt::Key_F3),
                                [this] { FindText(FindDialog1->FindText(), FindDialog1->Options()); });
    ReplaceAction = MakeAction("ReplaceAction", "&Replace...", QKeySequence("Ctrl+R"), [this] {
        ReplaceDialog1->show();
        ReplaceDialog1->raise();
        ReplaceDialog1->activateWindow();
    });
    FontAction = MakeAction("FontAction", "Font...", {}, [this] { ChooseFont(); });
    BackColorAction = MakeAction("BackColorAction", "Background Color...", {}, [this] { ChooseBackColor(); });
    OnTopAction = MakeAction("OnTopAction", "On Top", {}, [this] { SetOnTop(GetFormStyle(*this) != fsStayOnTop); });
    OnTopAction->setCheckable(true);

    RunAction = MakeAction("RunAction", "&Run", QKeySequence(Qt::Key_F9), [this] { RunMacro(); });
    RunAction->setToolTip("Run Macro");
    ViewErrorsAction = MakeAction("ViewErrorsAction", "View &Errors", QKeySequence(Qt::Key_F11),
                                  [this] { ShowMessageList(ListBox1->isHidden()); });
    ViewErrorsAction->setCheckable(true);
    // The help of the macro commands has no viewer in this program yet.
    MacroCommandsAction = MakeAction("MacroCommandsAction", "Macro Commands", {}, [] {});
    MacroCommandsAction->setEnabled(false);
    InsertSelectedEntitiesAction =
        MakeAction("InsertSelectedEntitiesAction", "Insert Selected Entities", {}, [this] { InsertSelectedEntities(); });
    HideListAction = MakeAction("HideListAction", "Hide", {}, [this] { ShowMessageList(false); });

    connect(RichEdit1, &QPlainTextEdit::copyAvailable, this, [this](bool) { UpdateEditActions(); });
    connect(RichEdit1, &QPlainTextEdit::undoAvailable, this, [this](bool) { UpdateEditActions(); });
}

void TTextEditForm::BuildMenus() {
    File1 = menuBar()->addMenu("&File");
    File1->setObjectName("File1");
    for (QAction* Action : {NewAction, OpenAction, SaveAction, SaveAsAction, PrintAction, PrintSettingsAction})
        File1->addAction(Action);
    File1->addAction(ExitAction);
    // The recent command files: after the hidden "MRU" item, in front of Exit.
    new TQtMenuMirror(*File1, FileMenuItems, ExitAction);

    Edit1 = menuBar()->addMenu("&Edit");
    Edit1->setObjectName("Edit1");
    for (QAction* Action : {UndoAction, CutAction, CopyAction, PasteAction, DeleteAction, FindAction, FindNextAction,
                            ReplaceAction, SelectAllAction, FontAction, BackColorAction, OnTopAction})
        Edit1->addAction(Action);

    Macro1 = menuBar()->addMenu("&Macro");
    Macro1->setObjectName("Macro1");
    Macro1->addAction(RunAction);
    Macro1->addAction(ViewErrorsAction);

    Help1 = menuBar()->addMenu("&Help");
    Help1->setObjectName("Help1");
    Help1->addAction(MacroCommandsAction);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    for (QAction* Action : {UndoAction, InsertSelectedEntitiesAction, CutAction, CopyAction, PasteAction, DeleteAction,
                            SelectAllAction, FindAction, BackColorAction, OnTopAction})
        PopupMenu1->addAction(Action);
    ListPopupMenu = new QMenu(this);
    ListPopupMenu->setObjectName("ListPopupMenu");
    ListPopupMenu->addAction(HideListAction);

    ToolBar1 = addToolBar("ToolBar1");
    ToolBar1->setObjectName("ToolBar1");
    AddToolGroups(*ToolBar1, {
        {{NewAction, "new"}, {OpenAction, "open"}, {SaveAction, "save"}, {PrintAction, "print"}},
        {{UndoAction, "undo"}, {CutAction, "cut"}, {CopyAction, "copy"}, {PasteAction, "paste"}, {DeleteAction, "delete"}},
        {{FindAction, "find"}, {FindNextAction, "find-next"}, {ReplaceAction, "replace"}},
        {{RunAction, "run"}},
    });
}

void TTextEditForm::SetText(const std::string& Text) {
    FLoading = true;
    RichEdit1->setPlainText(QString::fromStdString(Text));
    FLoading = false;
}

void TTextEditForm::ApplyEditorSettings() {
    if (!GSettings) return;
    RichEdit1->setFont(FontToQFont(GSettings->MacroEditorFont));
    QPalette Colours = RichEdit1->palette();
    Colours.setColor(QPalette::Base, ColorToQColor(GSettings->MacroEditorBackColor));
    Colours.setColor(QPalette::Text, ColorToQColor(GSettings->MacroEditorFont.Color));
    RichEdit1->setPalette(Colours);
}

// ---- Files ----

bool TTextEditForm::SaveFile() {
    const bool Saved = FileManager1->Save();
    if (Saved) FirstRun = false;
    ShowEditState();
    return Saved;
}

bool TTextEditForm::SaveFileAs() {
    const bool Saved = FileManager1->SaveAs();
    ShowEditState();
    return Saved;
}

bool TTextEditForm::NewFile() {
    const bool Done = FileManager1->New();
    ShowEditState();
    return Done;
}

bool TTextEditForm::OpenFile() {
    const bool Done = FileManager1->Open();
    ShowEditState();
    return Done;
}

// ---- Running ----

void TTextEditForm::RunMacro() {
    ListBox1->clear();
    const bool Untitled = FileManager1->GetFileName() == UnSavedCommandFile;
    if (FileManager1->Modified && FirstRun && !Untitled) {
        const TModalResult Answer = FDialogs.MessageBox(
            "Warning",
            "This file is being run for the first time since opened and modified and will be saved under the "
            "current file name.\nDo you wish to save the file under an new name?",
            TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel);
        if (Answer == TModalResult::mrYes)
            SaveFileAs();
        else if (Answer == TModalResult::mrNo)
            SaveFile();
        else
            return;
    } else if (FileManager1->Modified && Untitled) {
        SaveFile();
    } else {
        // Also an unchanged text, so that the file always matches what is run.
        FileManager1->Save();
        ShowEditState();
    }

    // A save dialog the user cancelled leaves the text unsaved: nothing is run.
    if (!FileManager1->Modified && Document) {
        TMacroFile Macro;
        std::string Failure;
        bool Failed = false;
        try {
            Macro.LoadFromFile(FileManager1->GetFileName());
            Document->RunMacro(Macro);
        } catch (const std::exception& Error) {
            Failure = Error.what();
            Failed = true;
        }
        for (const std::string& Line : Macro.GetMessages()) ListBox1->addItem(QString::fromStdString(Line));
        if (Failed) {
            // The list speaks the user's words at the line the run stopped on; the program's own
            // wording, which names its classes, goes to the log.
            const std::string Shown = MacroErrorForUser(Failure, Macro.GetFileName(), Macro.GetCursor() - 1);
            if (Shown != Failure && GConsole) GConsole->WriteLine(Failure);
            ListBox1->addItem(QString::fromStdString(Shown));
        }
    }

    if (ListBox1->count() == 0) {
        ShowMessageList(false);
        return;
    }
    ShowMessageList(true);
    ListBox1->setCurrentRow(ListBox1->count() - 1);
    ListBox1->setToolTip(ListBox1->currentItem()->text());
    JumpToMessage();
}

void TTextEditForm::JumpToMessage() {
    QListWidgetItem* Item = ListBox1->currentItem();
    if (!Item) return;
    const std::string Line = Item->text().toStdString();
    ListBox1->setToolTip(Item->text());
    TMessageLocation Location;
    if (!ParseMessageLocation(Line, Location)) return;
    if (Location.FileName != FileManager1->GetFileName()) {
        // Read first: a file that cannot be read changes neither the text nor its name.
        ReadTextLines(Location.FileName);
        // Replacing a modified text asks first, as opening another file does.
        if (FileManager1->Modified && !FileManager1->New()) {
            ShowEditState();
            return;
        }
        FileManager1->SetFileName(Location.FileName);
        FileManager1->DoOpenFile();
        ShowEditState();
    }
    GotoRichEditLine(Location.Line - 1, *RichEdit1);
    RichEdit1->setFocus();
    QTextCursor Cursor = RichEdit1->textCursor();
    Cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    RichEdit1->setTextCursor(Cursor);
}

void TTextEditForm::InsertSelectedEntities() {
    if (!Document) return;
    const int Line = RichEdit1->document()->findBlock(RichEdit1->textCursor().selectionStart()).blockNumber();
    std::string Names;
    for (int I = 0; I < Document->Count(); ++I)
        if (Document->Items(I).GetSelected()) Names += Document->Items(I).GetName() + "\n";
    if (Names.empty()) return;
    QTextCursor Cursor(RichEdit1->document()->findBlockByNumber(Line));
    Cursor.insertText(QString::fromStdString(Names));
}

// ---- Find and replace ----

void TTextEditForm::NotFound(const std::string& Text) {
    FDialogs.MessageBox("Information", "Text not found: \"" + Text + "\"", TMsgDlgType::mtInformation, mbOK);
}

void TTextEditForm::FindText(const std::string& Text, TFindOptions Options) {
    if (!SearchRichEdit(*RichEdit1, Text, Options)) NotFound(Text);
}

void TTextEditForm::ReplaceText(const std::string& Text, const std::string& Replacement, TFindOptions Options) {
    const QString Wanted = QString::fromStdString(Text);
    const QString With = QString::fromStdString(Replacement);
    auto ReplaceSelection = [&] {
        QTextCursor Cursor = RichEdit1->textCursor();
        Cursor.insertText(With);
        RichEdit1->setTextCursor(Cursor);
    };
    // An empty search text matches no selection: the replacement is never typed in at the caret.
    if (!Text.empty() && RichEdit1->textCursor().selectedText().compare(Wanted, Qt::CaseInsensitive) == 0)
        ReplaceSelection();
    bool Found = SearchRichEdit(*RichEdit1, Text, Options);
    while (Found && (Options & frReplaceAll)) {
        ReplaceSelection();
        Found = SearchRichEdit(*RichEdit1, Text, Options);
    }
    if (!Found && (Options & frReplace)) NotFound(Text);
}

// ---- Status and state ----

void TTextEditForm::ShowCaretPosition() {
    const QTextCursor Cursor = RichEdit1->textCursor();
    char Text[32];
    std::snprintf(Text, sizeof Text, "%4d:%4d", Cursor.blockNumber() + 1, Cursor.positionInBlock() + 1);
    StatusPanels[0]->setText(Text);
}

void TTextEditForm::ShowEditState() {
    StatusPanels[2]->setText(Overwrite ? "Overwrite" : "Insert");
    StatusPanels[1]->setText(FileManager1->Modified ? "Modified" : "");
}

void TTextEditForm::ShowMessageList(bool Show) {
    if (Show && ListBox1->isHidden()) {
        ListBox1->show();
        const int Total = std::max(Splitter1->height(), MessageListHeight * 2);
        Splitter1->setSizes({Total - MessageListHeight, MessageListHeight});
    } else if (!Show) {
        ListBox1->hide();
    }
    ViewErrorsAction->setChecked(Show);
}

void TTextEditForm::UpdateEditActions() {
    const bool Selection = RichEdit1->textCursor().hasSelection();
    CutAction->setEnabled(Selection);
    CopyAction->setEnabled(Selection);
    DeleteAction->setEnabled(Selection);
    UndoAction->setEnabled(RichEdit1->document()->isUndoAvailable());
    FindNextAction->setEnabled(FindAction->isEnabled() && !FindDialog1->FindText().empty());
    OnTopAction->setChecked(GetFormStyle(*this) == fsStayOnTop);
}

void TTextEditForm::SetOnTop(bool OnTop) {
    SetFormStyle(*this, OnTop ? fsStayOnTop : fsNormal);
    UpdateEditActions();
}

// ---- Dialogs of the class library ----

void TTextEditForm::Print() {
    QPrinter& Printer = GetPrinter();
    QPrintDialog PrintDialog1(&Printer, this);
    if (PrintDialog1.exec() != QDialog::Accepted) return;
    QTextDocument Text;
    // The editor's font, always in black.
    Text.setDefaultFont(RichEdit1->font());
    Text.setPlainText(RichEdit1->toPlainText());
    Text.print(&Printer);
}

void TTextEditForm::PrintSettings() {
    QPageSetupDialog PrinterSetupDialog1(&GetPrinter(), this);
    PrinterSetupDialog1.exec();
}

void TTextEditForm::ChooseFont() {
    if (!GSettings) return;
    bool Chosen = false;
    const QFont Font = QFontDialog::getFont(&Chosen, FontToQFont(GSettings->MacroEditorFont), this);
    if (!Chosen) return;
    TFont& Stored = GSettings->MacroEditorFont;
    Stored.Name = Font.family().toStdString();
    if (Font.pointSize() > 0) Stored.Size = Font.pointSize();
    Stored.Style = static_cast<TFontStyles>((Font.bold() ? fsBold : 0) | (Font.italic() ? fsItalic : 0) |
                                            (Font.underline() ? fsUnderline : 0) | (Font.strikeOut() ? fsStrikeOut : 0));
    ApplyEditorSettings();
}

void TTextEditForm::ChooseBackColor() {
    if (!GSettings) return;
    const QColor Color = QColorDialog::getColor(ColorToQColor(GSettings->MacroEditorBackColor), this);
    if (!Color.isValid()) return;
    GSettings->MacroEditorBackColor = QColorToColor(Color);
    ApplyEditorSettings();
}

// ---- The document window ----

bool TTextEditForm::DocumentCloseQuery() {
    if (!FileManager1->Modified) return true;
    const bool MayClose = FileManager1->CloseQuery();
    ShowEditState();
    return MayClose;
}

void TTextEditForm::CloseWithDocument() {
    Document = nullptr;
    DocumentWindow = nullptr;
    RunMenuCommand([this] {
        if (FileManager1->Modified) SaveFile();
    });
    FClosingWithDocument = true;
    close();
}

// ---- Events ----

void TTextEditForm::closeEvent(QCloseEvent* Event) {
    if (!FClosingWithDocument && !FileManager1->CloseQuery()) {
        ShowEditState();
        Event->ignore();
        return;
    }
    FindDialog1->close();
    ReplaceDialog1->close();
    Event->accept();
}

void TTextEditForm::changeEvent(QEvent* Event) {
    QMainWindow::changeEvent(Event);
    if (Event->type() == QEvent::ActivationChange && isActiveWindow()) {
        ShowCaretPosition();
        ShowEditState();
        UpdateEditActions();
    }
    if (Event->type() == QEvent::WindowStateChange)
        RichEdit1->setFrameShape(isMaximized() ? QFrame::NoFrame : QFrame::StyledPanel);
}

void TTextEditForm::resizeEvent(QResizeEvent* Event) {
    QMainWindow::resizeEvent(Event);
    RichEdit1->setFrameShape(isMaximized() ? QFrame::NoFrame : QFrame::StyledPanel);
    ShowCaretPosition();
}

bool TTextEditForm::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == RichEdit1 && Event->type() == QEvent::KeyPress) {
        const auto* Key = static_cast<QKeyEvent*>(Event);
        const Qt::KeyboardModifiers Shifts = Key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (Key->key() == Qt::Key_Insert && Shifts == Qt::NoModifier) {
            Overwrite = !Overwrite;
            RichEdit1->setOverwriteMode(Overwrite);
            ShowEditState();
            return true;
        }
    }
    return QMainWindow::eventFilter(Watched, Event);
}

}  // namespace sarnova
