// The macro editor on its own document: saving before a run, the run and its message list, jumps to
// the named line, find and replace, inserting entity names, and the questions before closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <tuple>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "document/GCustomPline.h"
#include "document/GeoFace.h"
#include "document/Settings.h"
#include "foundation/Console.h"
#include "foundation/Polyline.h"
#include "platform/ScriptedUserDialogs.h"
#include "shell/ShellTestSupport.h"
#include "shell/TextEdit.h"
#include "shell/ViewUnit.h"
#include "tests/document/TestPoint.h"
#include "tests/shell/DocumentWindowFixture.h"

namespace sarnova {
namespace {

namespace fs = std::filesystem;
using test::TTestPoint;

std::string ReadFile(const fs::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

class TextEdit : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!GSettings) InitializeSettings();
        test::RegisterTestClasses();
    }

    void SetUp() override {
        Dir = fs::path(std::getenv("HOME")) / "macros";
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        GConsole->OnLine = [this](const std::string& Line) { Console.push_back(Line); };
        Editor = new TTextEditForm(Dialogs);
        Editor->SetDocument(&Doc);
        Editor->show();
        Settle();
    }
    void TearDown() override {
        GConsole->OnLine = nullptr;
        delete Editor.data();
        Settle();
    }

    fs::path Write(const std::string& Name, const std::string& Text) {
        const fs::path Path = Dir / Name;
        std::ofstream(Path, std::ios::binary) << Text;
        return Path;
    }
    // What the user types: the text replaces the editor's.
    void Type(const std::string& Text) {
        Editor->RichEdit1->selectAll();
        Editor->RichEdit1->insertPlainText(QString::fromStdString(Text));
    }
    // Opens Path through the open dialog.
    void Open(const fs::path& Path) {
        Dialogs.ChooseFile(Path.string());
        ASSERT_TRUE(Editor->OpenFile());
    }
    TTestPoint& Point(int Index) { return dynamic_cast<TTestPoint&>(Doc.Items(Index)); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> Lines;
        for (int I = 0; I < Editor->ListBox1->count(); ++I)
            Lines.push_back(Editor->ListBox1->item(I)->text().toStdString());
        return Lines;
    }
    int CaretLine() const { return Editor->RichEdit1->textCursor().blockNumber(); }
    std::string SelectedText() const { return Editor->RichEdit1->textCursor().selectedText().toStdString(); }
    bool Ran() const {
        for (const std::string& Line : Console)
            if (Line.rfind("Running Macro ", 0) == 0) return true;
        return false;
    }
    std::string Panel(int I) const { return Editor->StatusPanels[I]->text().toStdString(); }

    fs::path Dir;
    TScriptedUserDialogs Dialogs;
    TGeometryInterface Doc;
    QPointer<TTextEditForm> Editor;
    std::vector<std::string> Console;
};

TEST_F(TextEdit, ANewEditorShowsAnEmptyUntitledText) {
    EXPECT_EQ(Editor->windowTitle(), "Macro Editor - untitled.cmd");
    EXPECT_EQ(Panel(0), "   1:   1");
    EXPECT_EQ(Panel(1), "");
    EXPECT_EQ(Panel(2), "Insert");
    EXPECT_TRUE(Editor->ListBox1->isHidden());
    EXPECT_TRUE(Editor->FirstRun);

    Type("SELECT ALL\nMOVE X=1");
    EXPECT_EQ(Panel(0), "   2:   9");
    EXPECT_EQ(Panel(1), "Modified");
    QKeyEvent Insert(QEvent::KeyPress, Qt::Key_Insert, Qt::NoModifier);
    QApplication::sendEvent(Editor->RichEdit1, &Insert);
    EXPECT_TRUE(Editor->Overwrite);
    EXPECT_EQ(Panel(2), "Overwrite");
    EXPECT_TRUE(Editor->RichEdit1->overwriteMode());
    // The settings' look is no edit.
    Editor->ApplyEditorSettings();
    Editor->FileManager1->Modified = false;
    Editor->ApplyEditorSettings();
    EXPECT_FALSE(Editor->IsModified());
}

TEST_F(TextEdit, AnUntitledTextIsSavedBeforeItRunsAndTheRunIsOneUndoStep) {
    Doc.Add(std::make_unique<TTestPoint>("P", 1, 2, 3));
    Doc.GetUndoManager().Clear();
    Type("SELECT ALL\nMOVE X=1\nMOVE Y=2\n");

    Dialogs.CancelFileDialog();
    Editor->RunMacro();
    EXPECT_FALSE(Ran()) << "a text whose save dialog was cancelled is not run";
    EXPECT_TRUE(Editor->IsModified());
    ASSERT_EQ(Dialogs.ShownFileDialogs.size(), 1u);
    EXPECT_EQ(Dialogs.ShownFileDialogs[0].Title, "Save Command File");
    EXPECT_EQ(Dialogs.ShownFileDialogs[0].FileName, "untitled.cmd");

    const fs::path File = Dir / "move.cmd";
    Dialogs.ChooseFile(File.string());
    Editor->RunMacro();
    EXPECT_TRUE(Ran());
    EXPECT_EQ(ReadFile(File), "SELECT ALL\nMOVE X=1\nMOVE Y=2\n\n");
    EXPECT_EQ(Editor->windowTitle(), "Macro Editor - move.cmd");
    EXPECT_FALSE(Editor->FirstRun);
    EXPECT_TRUE(Editor->ListBox1->isHidden());
    EXPECT_DOUBLE_EQ(Point(0).Point.X, 2);
    EXPECT_DOUBLE_EQ(Point(0).Point.Y, 4);

    Doc.Undo();
    EXPECT_DOUBLE_EQ(Point(0).Point.X, 1);
    EXPECT_DOUBLE_EQ(Point(0).Point.Y, 2);
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(TextEdit, TheFirstRunOfAModifiedOpenedFileAsksWhereToSave) {
    const fs::path File = Write("opened.cmd", "A = 1\n");
    Open(File);
    EXPECT_TRUE(Editor->FirstRun);
    EXPECT_FALSE(Editor->IsModified());
    Type("A = 2");

    Dialogs.Answer(TModalResult::mrCancel);
    Editor->RunMacro();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Caption, "Warning");
    EXPECT_EQ(Dialogs.Shown[0].Text,
              "This file is being run for the first time since opened and modified and will be saved under the "
              "current file name.\nDo you wish to save the file under an new name?");
    EXPECT_EQ(Dialogs.Shown[0].Buttons, mbYes | mbNo | mbCancel);
    EXPECT_FALSE(Ran());
    EXPECT_EQ(ReadFile(File), "A = 1\n");

    Dialogs.Answer(TModalResult::mrNo);
    Editor->RunMacro();
    EXPECT_TRUE(Ran());
    EXPECT_EQ(ReadFile(File), "A = 2\n");

    // The second run saves without asking.
    Console.clear();
    Type("A = 3");
    Editor->RunMacro();
    EXPECT_EQ(Dialogs.Shown.size(), 2u);
    EXPECT_TRUE(Ran());
    EXPECT_EQ(ReadFile(File), "A = 3\n");

    // Yes saves under a new name, which the editor then carries.
    Open(File);
    Type("A = 4");
    Dialogs.Answer(TModalResult::mrYes);
    Dialogs.ChooseFile((Dir / "renamed.cmd").string());
    Editor->RunMacro();
    EXPECT_EQ(ReadFile(Dir / "renamed.cmd"), "A = 4\n");
    EXPECT_EQ(ReadFile(File), "A = 3\n");
    EXPECT_EQ(Editor->FileManager1->GetFileName(), (Dir / "renamed.cmd").string());
}

TEST_F(TextEdit, AnErrorIsListedInTheUsersWordsAndLoggedInTheProgramsOwn) {
    // An opening with two zero extents: the program's wording names its class and routine.
    const fs::path File = Write("opening.cmd", "OPENING B\nXMAX 1\nSEARCH Z 3\nEND\n");
    Open(File);
    Console.clear();
    Editor->RunMacro();
    const std::string Internal = "TRectangleExtents.CheckValidity - There should be only one set of extents which is zero";
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Error: " + File.string() +
                                                    "(2): There should be only one set of extents which is zero"}));
    EXPECT_NE(std::find_if(Console.begin(), Console.end(),
                           [&](const std::string& Line) { return Line.find(Internal) != std::string::npos; }),
              Console.end());
    EXPECT_EQ(CaretLine(), 1);
}

TEST_F(TextEdit, AFailingRunListsItsMessagesAndTheErrorAndSelectsTheFailingLine) {
    const fs::path File = Write("fails.cmd", "MESSAGE one\nA = 1\nMESSAGE two\n\nFROBNICATE\nA = 2\n");
    Open(File);
    Editor->RunMacro();
    const std::string Name = File.string();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Message: " + Name + "(1): ONE", "Message: " + Name + "(3): TWO",
                                                    "Error: " + Name + "(5): Command not found FROBNICATE"}));
    EXPECT_FALSE(Editor->ListBox1->isHidden());
    EXPECT_TRUE(Editor->ViewErrorsAction->isChecked());
    EXPECT_EQ(Editor->ListBox1->currentRow(), 2);
    EXPECT_EQ(Editor->ListBox1->toolTip().toStdString(), "Error: " + Name + "(5): Command not found FROBNICATE");
    EXPECT_EQ(CaretLine(), 4);
    EXPECT_EQ(SelectedText(), "FROBNICATE");

    // A double click on another line goes there; one that names no line leaves the caret alone.
    Editor->ListBox1->setCurrentRow(0);
    Editor->JumpToMessage();
    EXPECT_EQ(CaretLine(), 0);
    EXPECT_EQ(SelectedText(), "MESSAGE one");
    Editor->ListBox1->addItem("Error: Cannot open file \"x.cmd\"");
    Editor->ListBox1->setCurrentRow(3);
    Editor->JumpToMessage();
    EXPECT_EQ(CaretLine(), 0);

    // A save that fails is no macro error: it goes to the program's error handler, and nothing runs.
    Console.clear();
    Editor->FileManager1->SetFileName((Dir / "gone" / "fails.cmd").string());
    EXPECT_THROW(Editor->RunMacro(), EInOutError);
    EXPECT_FALSE(Ran());
}

TEST_F(TextEdit, AMessageOfAnIncludedMacroOpensThatFile) {
    const fs::path Part = Write("part.cmd", "A = 1\nMIRROR\n");
    const fs::path Main = Write("main.cmd", "B = 1\nINCLUDE " + Part.string() + "\n");
    Open(Main);
    Editor->RunMacro();
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back(), "Error: " + Part.string() + "(2): Mirror Transform incorrectly Specified");
    EXPECT_EQ(Editor->FileManager1->GetFileName(), Part.string());
    EXPECT_EQ(Editor->RichEdit1->toPlainText().toStdString(), "A = 1\nMIRROR");
    EXPECT_EQ(CaretLine(), 1);
    EXPECT_EQ(SelectedText(), "MIRROR");

    // Back to the outer file from a message naming it; a modified text is asked about first.
    Editor->ListBox1->addItem(QString::fromStdString("Message: " + Main.string() + "(2): back"));
    Editor->ListBox1->setCurrentRow(Editor->ListBox1->count() - 1);
    Type("A = 1\nMIRROR XY 0");
    Dialogs.Answer(TModalResult::mrCancel);
    Editor->JumpToMessage();
    EXPECT_EQ(Editor->FileManager1->GetFileName(), Part.string());
    EXPECT_EQ(Editor->RichEdit1->toPlainText().toStdString(), "A = 1\nMIRROR XY 0");
    Dialogs.Answer(TModalResult::mrYes);
    Editor->JumpToMessage();
    EXPECT_EQ(ReadFile(Part), "A = 1\nMIRROR XY 0\n");
    EXPECT_EQ(Editor->FileManager1->GetFileName(), Main.string());
    EXPECT_EQ(CaretLine(), 1);
    EXPECT_EQ(SelectedText(), "INCLUDE " + Part.string());
}

TEST_F(TextEdit, FindAndReplace) {
    Type("alpha beta\nALPHA alphabet\nalpha");
    Editor->RichEdit1->moveCursor(QTextCursor::Start);
    Editor->FindText("alpha", frDown | frWholeWord);
    EXPECT_EQ(Editor->RichEdit1->textCursor().selectionStart(), 0);
    Editor->FindText("alpha", frDown | frWholeWord | frMatchCase);
    EXPECT_EQ(CaretLine(), 2) << "ALPHA differs in case and alphabet is no whole word";
    EXPECT_TRUE(Dialogs.Shown.empty());
    Editor->FindText("alpha", frDown);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Text not found: \"alpha\"");
    EXPECT_EQ(Dialogs.Shown[0].Buttons, static_cast<TMsgDlgButtons>(mbOK));
    Editor->FindText("", frDown);
    EXPECT_EQ(Dialogs.Shown.size(), 2u) << "an empty search text finds nothing";

    // Replace All from the start replaces every later match and says nothing at the end.
    Editor->RichEdit1->moveCursor(QTextCursor::Start);
    Editor->ReplaceText("alpha", "gamma", frDown | frReplaceAll);
    EXPECT_EQ(Editor->RichEdit1->toPlainText().toStdString(), "gamma beta\ngamma gammabet\ngamma");
    EXPECT_EQ(Dialogs.Shown.size(), 2u);
    // A replacement that holds the search text does not run on for ever.
    Editor->RichEdit1->moveCursor(QTextCursor::Start);
    Editor->ReplaceText("gamma", "gammagamma", frDown | frReplaceAll);
    EXPECT_EQ(Editor->RichEdit1->toPlainText().toStdString(),
              "gammagamma beta\ngammagamma gammagammabet\ngammagamma");

    // A single Replace: the selected match (letter case aside) is replaced and the next one selected;
    // past the last match the not-found box shows.
    Type("one ONE one");
    Editor->RichEdit1->moveCursor(QTextCursor::Start);
    Editor->FindText("one", frDown | frMatchCase);
    Editor->ReplaceText("one", "two", frDown | frMatchCase | frReplace);
    EXPECT_EQ(Editor->RichEdit1->toPlainText().toStdString(), "two ONE one");
    EXPECT_EQ(Editor->RichEdit1->textCursor().selectionStart(), 8);
    Editor->ReplaceText("one", "two", frDown | frMatchCase | frReplace);
    EXPECT_EQ(Editor->RichEdit1->toPlainText().toStdString(), "two ONE two");
    EXPECT_EQ(Dialogs.Shown.size(), 3u);
    EXPECT_EQ(Dialogs.Shown.back().Text, "Text not found: \"one\"");
}

TEST_F(TextEdit, SelectedEntityNamesGoAboveTheCaretLineInDocumentOrder) {
    for (const char* Name : {"Stem", "Keel", "Deck", "Transom"}) Doc.Add(std::make_unique<TTestPoint>(Name, 0));
    Doc.Items(0).SetSelected(true);
    Doc.Items(2).SetSelected(true);
    Doc.Items(3).SetSelected(true);
    Type("first\nsecond");
    Editor->RichEdit1->moveCursor(QTextCursor::End);
    Editor->InsertSelectedEntities();
    EXPECT_EQ(Editor->RichEdit1->toPlainText().toStdString(), "first\nStem\nDeck\nTransom\nsecond");
}

TEST_F(TextEdit, ClosingAModifiedMacroAsksAndCancelKeepsItOpen) {
    Type("A = 1");
    Dialogs.Answer(TModalResult::mrCancel);
    EXPECT_FALSE(Editor->close());
    Settle();
    ASSERT_TRUE(Editor);
    EXPECT_TRUE(Editor->isVisible());
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "untitled.cmd is unsaved, Save?");

    // Asked by the document window: Cancel, or a save dialog cancelled, keeps everything.
    Dialogs.Answer(TModalResult::mrCancel);
    EXPECT_FALSE(Editor->DocumentCloseQuery());
    Dialogs.Answer(TModalResult::mrYes);
    Dialogs.CancelFileDialog();
    EXPECT_FALSE(Editor->DocumentCloseQuery());
    EXPECT_TRUE(Editor->IsModified());
    EXPECT_EQ(Editor->RichEdit1->toPlainText().toStdString(), "A = 1");
    // Yes with a name saves it; an unmodified text is not asked about.
    Dialogs.Answer(TModalResult::mrYes);
    Dialogs.ChooseFile((Dir / "kept.cmd").string());
    EXPECT_TRUE(Editor->DocumentCloseQuery());
    EXPECT_EQ(ReadFile(Dir / "kept.cmd"), "A = 1\n");
    EXPECT_TRUE(Editor->DocumentCloseQuery());
    EXPECT_EQ(Dialogs.Shown.size(), 4u);

    // Closing with the document asks nothing more and frees the editor.
    Editor->CloseWithDocument();
    Settle();
    EXPECT_FALSE(Editor);
}

TEST_F(TextEdit, AnEditorClosedWithItsDocumentSavesAnUnaskedModifiedMacro) {
    const fs::path File = Write("unasked.cmd", "A = 1\n");
    Open(File);
    Type("A = 5");
    Editor->CloseWithDocument();
    Settle();
    EXPECT_FALSE(Editor);
    EXPECT_EQ(ReadFile(File), "A = 5\n");
    EXPECT_TRUE(Dialogs.Shown.empty());
}

// ---- The editor of a document window ----

class MacroEditorOfADocument : public test::TDocumentWindowFixture {
protected:
    // The document of a polyline "Stem" from (0, 0, 0) to (1, 0, 2), opened in a new window.
    TViewform* OpenStem() {
        return OpenWindow(WriteFile("stem.geo", "[TPolyline]\nNumPoints=2\n0 0 0\n1 0 2\nName=Stem\n\n"));
    }
    static const TRPoint& StemStart(TViewform& W) {
        return *dynamic_cast<TGeoCustomPLine&>(W.GetDocument().Items(0)).GetCurve()->First();
    }
    // The main window's Macro Editor command for the active window.
    TTextEditForm* ShowEditor() {
        Form->UpdateActions();
        TViewform* W = Active();
        Form->MacroAction->trigger();
        Settle();
        return W ? W->MacroEditor.data() : nullptr;
    }
    static void Type(TTextEditForm& Editor, const std::string& Text) {
        Editor.RichEdit1->selectAll();
        Editor.RichEdit1->insertPlainText(QString::fromStdString(Text));
    }
};

TEST_F(MacroEditorOfADocument, AMacroRunOnTheDocumentIsUndoneInOneStep) {
    TViewform* W = OpenStem();
    ASSERT_NE(W, nullptr);
    ASSERT_EQ(W->GetDocument().Count(), 1);
    TTextEditForm* Editor = ShowEditor();
    ASSERT_NE(Editor, nullptr);
    EXPECT_TRUE(Editor->isVisible());
    EXPECT_EQ(Editor->Document, &W->GetDocument());
    Form->UpdateActions();
    EXPECT_TRUE(Form->MacroAction->isChecked());
    // One editor per window.
    EXPECT_EQ(ShowEditor(), Editor);

    Type(*Editor, "SELECT STEM\nMOVE X=1\nMOVE Z=2\nMESSAGE moved\nFROBNICATE\nMOVE X=100\n");
    Dialogs.ChooseFile((Folder / "move.cmd").string());
    Editor->RunAction->trigger();
    EXPECT_DOUBLE_EQ(StemStart(*W).X, 1);
    EXPECT_DOUBLE_EQ(StemStart(*W).Z, 2);
    EXPECT_TRUE(W->IsModified());
    // The error ends the run and takes the caret to its line.
    ASSERT_EQ(Editor->ListBox1->count(), 2);
    EXPECT_EQ(Editor->RichEdit1->textCursor().blockNumber(), 4);
    EXPECT_EQ(Editor->RichEdit1->textCursor().selectedText().toStdString(), "FROBNICATE");
    Editor->ListBox1->setCurrentRow(0);
    Editor->JumpToMessage();
    EXPECT_EQ(Editor->RichEdit1->textCursor().blockNumber(), 3);

    Form->UpdateActions();
    ASSERT_TRUE(Form->UndoAction->isEnabled());
    Form->UndoAction->trigger();
    EXPECT_DOUBLE_EQ(StemStart(*W).X, 0);
    EXPECT_DOUBLE_EQ(StemStart(*W).Z, 0);
    EXPECT_FALSE(W->CanUndo());
}

TEST_F(MacroEditorOfADocument, ClosingTheWindowAsksAboutAModifiedMacroAndCancelKeepsBothOpen) {
    TViewform* W = OpenStem();
    ASSERT_NE(W, nullptr);
    QPointer<TTextEditForm> Editor = ShowEditor();
    ASSERT_TRUE(Editor);
    Type(*Editor, "SELECT ALL");
    QPointer<QMdiSubWindow> Sub = SubWindow(W);

    Dialogs.Answer(TModalResult::mrCancel);
    EXPECT_FALSE(Sub->close());
    Settle();
    ASSERT_TRUE(Sub);
    ASSERT_TRUE(Editor);
    EXPECT_TRUE(Editor->isVisible());
    EXPECT_EQ(Editor->RichEdit1->toPlainText().toStdString(), "SELECT ALL");
    EXPECT_EQ(W->GetDocument().Count(), 1);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "untitled.cmd is unsaved, Save?");

    // Yes with the save dialog cancelled keeps them too; a chosen name saves and both close.
    Dialogs.Answer(TModalResult::mrYes);
    Dialogs.CancelFileDialog();
    EXPECT_FALSE(Sub->close());
    Settle();
    ASSERT_TRUE(Editor);
    Dialogs.Answer(TModalResult::mrYes);
    Dialogs.ChooseFile((Folder / "closing.cmd").string());
    EXPECT_TRUE(Sub->close());
    Settle();
    EXPECT_FALSE(Sub);
    EXPECT_FALSE(Editor);
    EXPECT_EQ(ReadFile(Folder / "closing.cmd"), "SELECT ALL\n");
}

TEST_F(MacroEditorOfADocument, AnotherWindowHidesTheEditorOfThePreviousOne) {
    TViewform* First = OpenStem();
    ASSERT_NE(First, nullptr);
    QPointer<TTextEditForm> Editor = ShowEditor();
    ASSERT_TRUE(Editor);
    TViewform* Second = NewWindow();
    ASSERT_NE(Second, First);
    EXPECT_FALSE(Editor->isVisible());
    EXPECT_FALSE(Second->MacroEditor);
    Form->UpdateActions();
    EXPECT_FALSE(Form->MacroAction->isChecked());
    // Back in the first window its editor stays hidden until asked for.
    Form->MdiArea->setActiveSubWindow(SubWindow(First));
    Settle();
    EXPECT_FALSE(Editor->isVisible());
    EXPECT_EQ(ShowEditor(), Editor.data());
    EXPECT_TRUE(Editor->isVisible());

    // The editor closed by the user is freed and the window forgets it.
    Editor->close();
    Settle();
    EXPECT_FALSE(Editor);
    EXPECT_FALSE(First->MacroEditor);
}

}  // namespace
}  // namespace sarnova
