#include "foundation/Console.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "foundation/Errors.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

std::unique_ptr<TConsole> GConsole = std::make_unique<TConsole>();
std::unique_ptr<TVkExceptionHandling> GExceptionHandler = std::make_unique<TVkExceptionHandling>();

// ---- TConsole ----

TConsole::~TConsole() {
    Console = nullptr;
    LogFile.reset();
}

void TConsole::WriteLine(const std::string& Line) {
    if (Console) Console->WriteLine(Line);
    if (OnLine) OnLine(Line);
    if (LogFile) WriteToLog(Line + "\n");
}

void TConsole::Write(const std::string& Text) {
    if (Console) Console->Write(Text);
    if (OnWrite) OnWrite(Text);
    if (LogFile) WriteToLog(Text);
}

void TConsole::Clear() {
    if (Console) Console->Clear();
}

void TConsole::Progress(int Value) {
    if (OnProgress) OnProgress(Value);
}

void TConsole::SetLogging(bool On) {
    if (On == GetLogging()) return;
    if (!On) {
        LogFile.reset();
        return;
    }
    LogFile.reset(LogFileName.empty() ? nullptr : std::fopen(LogFileName.c_str(), "wb"));
    if (!LogFile) throw EError("Error in the attempt to begin logging to " + LogFileName);
}

// Flushed after every write so that the log is complete even when the program dies.
void TConsole::WriteToLog(const std::string& Text) {
    errno = 0;
    const bool Written = std::fwrite(Text.data(), 1, Text.size(), LogFile.get()) == Text.size();
    if (Written && std::fflush(LogFile.get()) == 0) return;
    const int Code = errno != 0 ? errno : EIO;
    std::clearerr(LogFile.get());
    throw EInOutError("Unable to write to the log file " + LogFileName + ": " +
                      std::generic_category().message(Code));
}

// ---- TVkExceptionHandling ----

namespace {

constexpr const char* IOResultMarker = "I/O Result ";

// The code after the first "I/O Result " when the rest of the message is a whole number (blanks around
// it allowed); nothing otherwise, and the message is then shown as it stands.
bool ReadIOResultCode(const std::string& Message, int& Code) {
    const auto At = Message.find(IOResultMarker);
    if (At == std::string::npos) return false;
    const char* First = Message.data() + At + std::strlen(IOResultMarker);
    const char* Last = Message.data() + Message.size();
    while (First < Last && *First == ' ') ++First;
    while (Last > First && Last[-1] == ' ') --Last;
    const auto [End, Error] = std::from_chars(First, Last, Code);
    return Error == std::errc() && End == Last && First < Last;
}

// The first Count characters of a UTF-8 text, never splitting a character.
std::string LeadingCharacters(const std::string& Text, std::size_t Count) {
    std::size_t Bytes = 0;
    for (std::size_t Seen = 0; Bytes < Text.size(); ++Bytes) {
        const bool StartsCharacter = (static_cast<unsigned char>(Text[Bytes]) & 0xC0) != 0x80;
        if (StartsCharacter && Seen++ == Count) break;
    }
    return Text.substr(0, Bytes);
}

}  // namespace

void TVkExceptionHandling::HandleException(const std::exception& E) {
    if (dynamic_cast<const EInOutError*>(&E)) {
        int Code = 0;
        ShowError(ReadIOResultCode(E.what(), Code) ? IOErrorText(Code) : std::string(E.what()));
    } else if (dynamic_cast<const std::out_of_range*>(&E)) {
        ShowError("An operation attempted to access an invalid TLIST entry");
    } else {
        ShowError(E.what());
    }
}

void TVkExceptionHandling::ShowError(const std::string& Text) {
    const std::string Caption = LeadingCharacters(ApplicationTitle, 63);
    if (UserDialogs) {
        UserDialogs->MessageBox(Caption, Text + ".", TMsgDlgType::mtError, mbOK);
    } else {
        std::fprintf(stderr, "%s: %s.\n", Caption.c_str(), Text.c_str());
    }
}

std::string TVkExceptionHandling::IOErrorText(int Code) {
    switch (Code) {
        case 2: return "Unable to find the file";
        case 3: return "Unable to open the file, path to file not found";
        case 5: return "Unable to open the file, access denied";
        case 32:
            return "Unable to open the file because of a sharing violation, \r\n"
                   "check that the file is not open in some other software package";
        case 100: return "Operation read over the end of the file";
        case 101: return "The disk is full";
        case 102: return "The file variable is not assigned, blame the programmer";
        case 103: return "The file is not open, blame the programmer";
        case 104: return "The file open for input, blame the programmer";
        case 105: return "The file open for output, blame the programmer";
        case 106: return "Error in formatted input, file could be corrupt!";
        case 107: return "The file is already open";
        default: return "Unknown File I/O Error " + std::to_string(Code);
    }
}

}  // namespace sarnova
