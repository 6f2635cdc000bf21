// A main window whose New and Open make real document windows, with the program's dialogs scripted and
// a folder of its own for the files a test writes.
#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMdiSubWindow>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "document/Settings.h"
#include "foundation/Console.h"
#include "platform/ScriptedUserDialogs.h"
#include "shell/MainUnit.h"
#include "shell/ProgramStart.h"
#include "shell/ShellTestSupport.h"
#include "shell/ViewUnit.h"
#include "views/OpenGLView.h"

namespace sarnova::test {

class TDocumentWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartModelGlobals(); }
    static void TearDownTestSuite() { StopModelGlobals(); }

    void SetUp() override {
        GSettings->SetDefaults();
        GExceptionHandler->UserDialogs = &Dialogs;
        GDocumentWindowFactory = [this](TMainForm& MainForm) { return new TViewform(MainForm, Dialogs); };
        // Inside the run's own home folder: test runs of other builds on the machine use the same temp.
        Folder = std::filesystem::path(std::getenv("HOME")) / "document-window-test";
        std::filesystem::remove_all(Folder);
        std::filesystem::create_directories(Folder);
        Form = std::make_unique<TMainForm>();
        Form->show();
        Settle();
    }
    void TearDown() override {
        Form.reset();
        Settle();
        GDocumentWindowFactory = nullptr;
        GExceptionHandler->UserDialogs = nullptr;
        std::filesystem::remove_all(Folder);
    }

    TViewform* Active() const { return dynamic_cast<TViewform*>(Form->ActiveDocumentWindow()); }
    static QMdiSubWindow* SubWindow(TViewform* W) { return qobject_cast<QMdiSubWindow*>(W->parentWidget()); }
    // The active window once its view has drawn (it gets its rendering context when first exposed).
    TViewform* Drawn() const {
        TViewform* W = Active();
        QDeadlineTimer Deadline(5000);
        while (W && !W->GetView().IsContextReady() && !Deadline.hasExpired()) QCoreApplication::processEvents();
        Settle();
        return W;
    }
    TViewform* NewWindow() {
        Form->NewDocument();
        return Drawn();
    }
    TViewform* OpenWindow(const std::filesystem::path& Path) {
        Form->OpenDocumentFile(Path.string());
        return Drawn();
    }
    std::filesystem::path WriteFile(const std::string& Name, const std::string& Text) const {
        const auto Path = Folder / Name;
        std::ofstream(Path) << Text;
        return Path;
    }

    TScriptedUserDialogs Dialogs;
    std::unique_ptr<TMainForm> Form;
    std::filesystem::path Folder;
};

}  // namespace sarnova::test
