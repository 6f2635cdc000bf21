#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>

#include <string>

#include "shell/Command.h"
#include "shell/ConsoleFloat.h"
#include "shell/ShellTestSupport.h"

namespace sarnova {
namespace {

// A control with room for Rows rows, shown.
struct TConsoleFixture {
    explicit TConsoleFixture(int Rows) {
        Console.resize(300, Rows * Console.RowHeight() + 4);
        Console.show();
    }
    // Whether text is drawn in the row that starts at y = Top.
    bool RowHasInk(int Top) {
        const QImage Image = Console.grab().toImage();
        const QRgb Blank = Image.pixel(Console.width() - 4, Top + 1);
        for (int Y = Top; Y < Top + Console.RowHeight() && Y < Image.height() - 2; ++Y) {
            for (int X = 3; X < 60; ++X) {
                if (Image.pixel(X, Y) != Blank) return true;
            }
        }
        return false;
    }
    TVCLConsole Console;
};

TEST(VCLConsole, KeepsTheNewest201LinesCutTo200Characters) {
    TVCLConsole Console;
    for (int I = 1; I <= 250; ++I) Console.WriteLine("Line " + std::to_string(I));
    EXPECT_EQ(Console.GetLineCount(), 250);
    const auto& Lines = Console.GetLines();
    EXPECT_EQ(Lines[0], "Line 250");
    EXPECT_EQ(Lines[200], "Line 50");

    Console.WriteLine(std::string(300, 'x'));
    EXPECT_EQ(Console.GetLines()[0], std::string(200, 'x'));
    // A character is never cut in half.
    std::string Accents;
    for (int I = 0; I < 201; ++I) Accents += "\xC3\xA9";
    Console.WriteLine(Accents);
    EXPECT_EQ(Console.GetLines()[0].size(), 400u);
}

TEST(VCLConsole, SplitsAtLineEndsAndIgnoresEmptyTexts) {
    TVCLConsole Console;
    Console.WriteLine("A\r\nB");
    Console.Write("C\nD\r\n");
    Console.WriteLine("");
    EXPECT_EQ(Console.GetLineCount(), 4);
    const auto& Lines = Console.GetLines();
    EXPECT_EQ(Lines[3], "A");
    EXPECT_EQ(Lines[2], "B");
    EXPECT_EQ(Lines[1], "C");
    EXPECT_EQ(Lines[0], "D");
}

TEST(VCLConsole, FillsRowsFromTheTopThenScrollsWithTheNewestAtTheBottom) {
    TConsoleFixture F(5);
    ASSERT_EQ(F.Console.VisibleRows(), 5);
    const int H = F.Console.RowHeight();
    F.Console.WriteLine("AAAA");
    F.Console.WriteLine("BBBB");
    EXPECT_TRUE(F.RowHasInk(2));
    EXPECT_TRUE(F.RowHasInk(2 + H));
    EXPECT_FALSE(F.RowHasInk(2 + 2 * H));

    for (int I = 0; I < 6; ++I) F.Console.WriteLine("CCCC");
    EXPECT_FALSE(F.Console.GetRepaintPending());
    const int Bottom = F.Console.height() - 2;
    EXPECT_TRUE(F.RowHasInk(Bottom - H));

    // Clear empties the control; the next line is on the first row again.
    F.Console.Clear();
    EXPECT_EQ(F.Console.GetLineCount(), 0);
    EXPECT_TRUE(F.Console.GetRepaintPending());
    EXPECT_FALSE(F.RowHasInk(Bottom - H));
    F.Console.WriteLine("DDDD");
    EXPECT_EQ(F.Console.GetLineCount(), 1);
    EXPECT_TRUE(F.RowHasInk(2));
    EXPECT_FALSE(F.RowHasInk(Bottom - H));
}

TEST(ConsoleForm, ShowsTheConsoleLogWhileItExists) {
    TConsoleForm* Form = GetConsoleForm();
    ASSERT_EQ(Form, GConsoleForm);
    EXPECT_EQ(GetConsoleForm(), Form);
    EXPECT_EQ(Form->windowTitle(), "Console Messages");
    EXPECT_EQ(GConsole->Console, Form->VCLConsole1);
    GConsole->WriteLine("Hello");
    EXPECT_EQ(Form->VCLConsole1->GetLines()[0], "Hello");

    Form->show();
    Form->close();
    EXPECT_EQ(GConsoleForm, nullptr);
    Settle();
    EXPECT_EQ(GConsole->Console, nullptr);
    GConsole->WriteLine("Unseen");

    TConsoleForm* Again = GetConsoleForm();
    EXPECT_EQ(Again->VCLConsole1->GetLineCount(), 0);
    delete Again;
    EXPECT_EQ(GConsoleForm, nullptr);
    EXPECT_EQ(GConsole->Console, nullptr);
}

}  // namespace
}  // namespace sarnova
