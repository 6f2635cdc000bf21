// The program-wide console log GConsole and the reporter of uncaught errors GExceptionHandler.
#pragma once
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace sarnova {

class IUserDialogs;

// Something that shows console text: the console itself and the console window's text control.
class IConsoleInterface {
public:
    virtual ~IConsoleInterface() = default;
    virtual void WriteLine(const std::string& Line) = 0;  // appends Line as a new line
    virtual void Write(const std::string& Text) = 0;      // appends Text without a line end
    virtual void Clear() = 0;                             // removes all text
};

// The message log every part of the program writes to. Each line goes to the attached console window,
// to the events and, while logging, to the log file. The log keeps no history of its own and adds no
// time stamp or prefix.
class TConsole : public IConsoleInterface {
public:
    TConsole() = default;
    TConsole(const TConsole&) = delete;
    TConsole& operator=(const TConsole&) = delete;
    // Detaches the window, then closes a log file that is still open.
    ~TConsole() override;

    // In this order: the attached window, OnLine, and the log file (Line and a line end, flushed at
    // once). A failed write to the log throws EInOutError naming the file.
    void WriteLine(const std::string& Line) override;
    // As WriteLine, through OnWrite and without a line end.
    void Write(const std::string& Text) override;
    // Clears the attached window only; the log file keeps what it has.
    void Clear() override;
    // Hands Value to OnProgress; nothing else.
    void Progress(int Value);

    // On: creates or empties the file LogFileName and logs to it; a file that cannot be opened throws
    // EError "Error in the attempt to begin logging to <name>" and logging stays off. Off: closes the
    // file. Switching to the state already in force does nothing.
    void SetLogging(bool On);
    bool GetLogging() const { return LogFile != nullptr; }

    // The console window's text control: attached when the window is created, detached (nullptr)
    // before it is destroyed. Not owned.
    IConsoleInterface* Console = nullptr;
    std::function<void(const std::string&)> OnLine;
    std::function<void(const std::string&)> OnWrite;
    std::function<void(int)> OnProgress;
    std::string LogFileName;

private:
    void WriteToLog(const std::string& Text);

    struct TFileCloser {
        void operator()(std::FILE* File) const { std::fclose(File); }
    };
    std::unique_ptr<std::FILE, TFileCloser> LogFile;
};

// Shows every error that reaches the event loop in a modal error box and carries on; nothing is rolled
// back. The shell routes its uncaught exceptions to HandleException.
class TVkExceptionHandling {
public:
    // EInOutError: a message holding "I/O Result <code>" shows the code's text, any other its own
    // message. std::out_of_range (a bad list index) shows "An operation attempted to access an invalid
    // TLIST entry". Anything else shows its message.
    void HandleException(const std::exception& E);

    // A modal error box with an OK button: Text followed by ".", captioned with ApplicationTitle cut to
    // 63 characters. Without dialogs (no window at all) the text goes to the standard error stream.
    void ShowError(const std::string& Text);

    // The readable text of a file input/output error code.
    static std::string IOErrorText(int Code);

    // Set by the shell once its dialogs exist. Not owned.
    IUserDialogs* UserDialogs = nullptr;
    std::string ApplicationTitle;
};

// Created while the program loads, so they exist before main() runs; other modules must not use them
// from their own static initialisation.
extern std::unique_ptr<TConsole> GConsole;
extern std::unique_ptr<TVkExceptionHandling> GExceptionHandler;

}  // namespace sarnova
