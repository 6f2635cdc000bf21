#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "platform/ScriptedUserDialogs.h"

using namespace sarnova;

namespace {

std::string FileText(const std::filesystem::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

// Records what reaches the console window and the events, in order.
struct TRecorder : IConsoleInterface {
    std::vector<std::string> Seen;
    void WriteLine(const std::string& Line) override { Seen.push_back("window line " + Line); }
    void Write(const std::string& Text) override { Seen.push_back("window text " + Text); }
    void Clear() override { Seen.push_back("window clear"); }
};

TEST(Console, ExistsBeforeAnyTestRuns) {
    EXPECT_NE(GConsole, nullptr);
    EXPECT_NE(GExceptionHandler, nullptr);
}

TEST(Console, ForwardsToWindowThenEvents) {
    TConsole Console;
    Console.WriteLine("nobody listens");  // no window, no events, no log: nothing happens
    Console.Write("x");
    Console.Clear();

    TRecorder Window;
    Console.Console = &Window;
    Console.OnLine = [&](const std::string& Line) { Window.Seen.push_back("event line " + Line); };
    Console.OnWrite = [&](const std::string& Text) { Window.Seen.push_back("event text " + Text); };
    Console.OnProgress = [&](int Value) { Window.Seen.push_back("progress " + std::to_string(Value)); };
    Console.WriteLine("a");
    Console.Write("b");
    Console.Clear();
    Console.Progress(42);
    Console.Console = nullptr;  // the window detaches before it goes
    Console.WriteLine("c");
    const std::vector<std::string> Expected = {"window line a", "event line a", "window text b", "event text b",
                                               "window clear", "progress 42",   "event line c"};
    EXPECT_EQ(Window.Seen, Expected);
}

TEST(Console, LogFileIsWrittenThroughAtOnce) {
    const auto Path = std::filesystem::temp_directory_path() / "console-test.log";
    {
        TConsole Console;
        Console.SetLogging(false);  // not logging: nothing to close
        EXPECT_FALSE(Console.GetLogging());
        Console.LogFileName = Path.string();
        Console.SetLogging(true);
        Console.WriteLine("a");
        Console.SetLogging(true);  // already logging: the file is not emptied again
        Console.Write("b");
        Console.Clear();
        EXPECT_TRUE(Console.GetLogging());
        EXPECT_EQ(FileText(Path), "a\nb");
        Console.SetLogging(false);
        Console.WriteLine("not logged");
        EXPECT_EQ(FileText(Path), "a\nb");
        Console.SetLogging(true);  // a new log starts empty
        Console.WriteLine("c");
    }
    EXPECT_EQ(FileText(Path), "c\n");
    std::filesystem::remove(Path);
}

TEST(Console, LogFileFailures) {
    TConsole Console;
    for (const std::string Name : {"", "/nonexistent-folder/console.log"}) {
        Console.LogFileName = Name;
        try {
            Console.SetLogging(true);
            ADD_FAILURE() << Name;
        } catch (const EError& E) {
            EXPECT_EQ(E.what(), "Error in the attempt to begin logging to " + Name);
        }
        EXPECT_FALSE(Console.GetLogging());
    }
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    Console.LogFileName = "/dev/full";
    Console.SetLogging(true);
    EXPECT_THROW(Console.WriteLine("lost"), EInOutError);
}

class ExceptionHandler : public ::testing::Test {
protected:
    void SetUp() override {
        Handler.UserDialogs = &Dialogs;
        Handler.ApplicationTitle = "Sarnova";
    }
    std::string Shown(const std::exception& E) {
        Handler.HandleException(E);
        return Dialogs.Shown.empty() ? "(nothing)" : Dialogs.Shown.back().Text;
    }
    TScriptedUserDialogs Dialogs;
    TVkExceptionHandling Handler;
};

TEST_F(ExceptionHandler, FileErrorCodesBecomeTexts) {
    const std::pair<const char*, const char*> Cases[] = {
        {"I/O Result 32",
         "Unable to open the file because of a sharing violation, \r\n"
         "check that the file is not open in some other software package."},
        {"I/O Result 7", "Unknown File I/O Error 7."},
        {"Reading hull.geo: I/O Result 2", "Unable to find the file."},
        {"I/O Result 100 ", "Operation read over the end of the file."},
        // No whole number after the marker: the message stands as it is.
        {"I/O Result x", "I/O Result x."},
        {"I/O Result", "I/O Result."},
        {"I/O Result 2 of 3", "I/O Result 2 of 3."},
        {"I/O Result 99999999999", "I/O Result 99999999999."},
        {"Disk trouble", "Disk trouble."},
    };
    for (auto [Message, Text] : Cases) EXPECT_EQ(Shown(EInOutError(Message)), Text) << Message;
}

TEST_F(ExceptionHandler, OtherErrors) {
    EXPECT_EQ(Shown(EError("I/O Result 2")), "I/O Result 2.");  // only file errors carry codes
    EXPECT_EQ(Shown(std::out_of_range("vector::_M_range_check")),
              "An operation attempted to access an invalid TLIST entry.");
    EXPECT_EQ(Shown(std::runtime_error("TBSpline.SubCurve - UpperT is less than LowerT")),
              "TBSpline.SubCurve - UpperT is less than LowerT.");
    ASSERT_EQ(Dialogs.Shown.size(), 3u);
    EXPECT_EQ(Dialogs.Shown.back().Caption, "Sarnova");
    EXPECT_EQ(Dialogs.Shown.back().Icon, TMsgDlgType::mtError);
    EXPECT_EQ(Dialogs.Shown.back().Buttons, TMsgDlgButtons(mbOK));
}

TEST_F(ExceptionHandler, CaptionIsCutTo63Characters) {
    const std::pair<std::string, std::string> Cases[] = {
        {std::string(70, 'T'), std::string(63, 'T')},
        {std::string(63, 'T'), std::string(63, 'T')},
        {std::string(62, 'T') + "\xC3\xA9\xC3\xA9", std::string(62, 'T') + "\xC3\xA9"},  // never half a character
    };
    for (const auto& [Title, Caption] : Cases) {
        Handler.ApplicationTitle = Title;
        Handler.ShowError("x");
        EXPECT_EQ(Dialogs.Shown.back().Caption, Caption) << Title;
    }
}

}  // namespace
