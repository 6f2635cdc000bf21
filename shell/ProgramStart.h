// The program's start-up and shut-down: the program-wide model objects, the application object that
// reports every uncaught error, and the start-up sequence from the file association to the main
// window, the command-line document and the list of entity classes.
#pragma once
#include <QApplication>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sarnova {

class TMainForm;
class TQtUserDialogs;
class TQtClipboard;
class TQtImageReader;

// The program-wide model objects in their start-up order: settings with the clipboard list, then the
// entity classes. The program folders and the console come first, from InitializeProgramFolders.
void StartModelGlobals();
// Frees them in the reverse order.
void StopModelGlobals();

// The application object: an error that reaches the event loop is shown by the exception handler and
// the program carries on.
class TSarnovaApplication : public QApplication {
public:
    TSarnovaApplication(int& Argc, char** Argv);
    ~TSarnovaApplication() override;
    bool notify(QObject* Receiver, QEvent* Event) override;

private:
    std::unique_ptr<TQtUserDialogs> Dialogs;
    std::unique_ptr<TQtClipboard> Clipboard;
    // Reads the picture files of image planes.
    std::unique_ptr<TQtImageReader> ImageReader;
};

// The document the command line names: exactly one argument naming an existing file; none otherwise.
std::optional<std::filesystem::path> CommandLineDocument(const std::vector<std::string>& Arguments);

// The start-up sequence after the application object exists: the ".geo" association, the splash for
// SplashMilliseconds, the application title, the main window, the command-line document (or an empty
// one when the settings ask for it) and the list of entity classes on the console. Arguments are the
// command line without the program. The caller runs the event loop.
std::unique_ptr<TMainForm> StartProgram(const std::vector<std::string>& Arguments, int SplashMilliseconds = 1500);

}  // namespace sarnova
