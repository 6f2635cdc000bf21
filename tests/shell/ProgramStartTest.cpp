#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "document/Geometry.h"
#include "document/GeometryClasses.h"
#include "document/GeometryList.h"
#include "document/Settings.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "shell/MainUnit.h"
#include "shell/ProgramStart.h"
#include "shell/ShellTestSupport.h"
#include "shell/TestDocumentWindow.h"

namespace sarnova {
namespace {

class TTestHull : public TGeometry {
public:
    static std::string GetKeyword() { return "TTestHull"; }
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TTestHull>(); }
};

std::filesystem::path DataHome() { return std::getenv("XDG_DATA_HOME"); }
std::filesystem::path ConfigHome() { return std::getenv("XDG_CONFIG_HOME"); }

std::string ReadAll(const std::filesystem::path& Path) {
    std::ifstream In(Path);
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

class ProgramStart : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartModelGlobals();
        GGeometryClasses->AddClass(GeometryClassOf<TTestHull>());
    }
    static void TearDownTestSuite() { StopModelGlobals(); }

    void SetUp() override {
        GSettings->InitiallyOpenProject = false;
        GConsole->OnLine = [this](const std::string& Line) { Console.push_back(Line); };
        GDocumentWindowFactory = [this](TMainForm&) {
            auto* Window = new TTestDocumentWindow;
            Made.push_back(Window);
            return Window;
        };
        Existing = std::filesystem::temp_directory_path() / "sarnova-start-test.geo";
        std::ofstream(Existing) << "\n";
    }
    void TearDown() override {
        Form.reset();
        Settle();
        GConsole->OnLine = nullptr;
        GDocumentWindowFactory = nullptr;
        GProcessMessages = nullptr;
        std::filesystem::remove(Existing);
    }

    void Start(const std::vector<std::string>& Arguments) {
        Made.clear();
        Console.clear();
        Form = StartProgram(Arguments, 0);
        Settle();
    }
    int Line(const std::string& Text) const {
        for (size_t I = 0; I < Console.size(); ++I)
            if (Console[I] == Text) return static_cast<int>(I);
        return -1;
    }

    std::unique_ptr<TMainForm> Form;
    std::vector<TTestDocumentWindow*> Made;
    std::vector<std::string> Console;
    std::filesystem::path Existing;
};

TEST_F(ProgramStart, ShowsTheMainWindowAndListsTheEntityClasses) {
    Start({});
    ASSERT_TRUE(Form);
    EXPECT_EQ(Form->windowTitle(), "Sarnova 8.0");
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(QApplication::applicationDisplayName(), "Sarnova");
    EXPECT_EQ(GExceptionHandler->ApplicationTitle, "Sarnova");
    EXPECT_TRUE(Made.empty());
    const int Header = Line("Currently Supported Entities:-");
    ASSERT_GE(Header, 0);
    ASSERT_EQ(static_cast<int>(Console.size()), Header + 1 + GGeometryClasses->Count());
    EXPECT_EQ(Console.back(), " TTestHull Implementing TTestHull");
}

TEST_F(ProgramStart, OnlyOneArgumentNamingAFileIsOpened) {
    const std::string File = Existing.string();
    const std::string Missing = (std::filesystem::temp_directory_path() / "no-such-sarnova.geo").string();
    const std::string Folder = std::filesystem::temp_directory_path().string();
    struct Case {
        std::vector<std::string> Arguments;
        bool InitiallyOpenProject;
        size_t Windows;
        std::string Opened;
    };
    const Case Cases[] = {
        {{File}, false, 1, File},      {{File}, true, 1, File},     {{}, false, 0, ""},
        {{}, true, 1, ""},             {{Missing}, false, 0, ""},   {{Missing}, true, 1, ""},
        {{File, File}, false, 0, ""},  {{File, File}, true, 1, ""}, {{Folder}, false, 0, ""},
    };
    for (const Case& C : Cases) {
        GSettings->InitiallyOpenProject = C.InitiallyOpenProject;
        Start(C.Arguments);
        const std::string Label = std::to_string(C.Arguments.size()) + " argument(s), initially open " +
                                  std::to_string(C.InitiallyOpenProject) + ", first " +
                                  (C.Arguments.empty() ? "" : C.Arguments[0]);
        EXPECT_EQ(Made.size(), C.Windows) << Label;
        EXPECT_EQ(Form->MdiArea->subWindowList().size(), static_cast<qsizetype>(C.Windows)) << Label;
        if (!Made.empty()) {
            EXPECT_EQ(Made[0]->Opened, C.Opened) << Label;
        }
        if (!C.Opened.empty()) {
            EXPECT_LT(Line("Loading " + C.Opened + "..."), Line("Currently Supported Entities:-")) << Label;
        }
        Form.reset();
        Settle();
    }
}

TEST_F(ProgramStart, WithoutDocumentWindowsTheDocumentStepOpensNothing) {
    GDocumentWindowFactory = nullptr;
    GSettings->InitiallyOpenProject = true;
    Start({Existing.string()});
    EXPECT_TRUE(Form->MdiArea->subWindowList().isEmpty());
    EXPECT_GE(Line("Currently Supported Entities:-"), 0);
}

TEST_F(ProgramStart, TheSplashIsUpForTheWholeWait) {
    bool SplashShown = false;
    int Passes = 0;
    GProcessMessages = [&] {
        ++Passes;
        for (QWidget* W : QApplication::topLevelWidgets())
            if (W->objectName() == "SplashForm" && W->isVisible()) SplashShown = true;
    };
    const auto Begin = std::chrono::steady_clock::now();
    Form = StartProgram({}, 300);
    EXPECT_GE(std::chrono::steady_clock::now() - Begin, std::chrono::milliseconds(300));
    EXPECT_EQ(Passes, 1);
    EXPECT_TRUE(SplashShown);
    Settle();
    for (QWidget* W : QApplication::topLevelWidgets()) EXPECT_NE(W->objectName(), "SplashForm");
}

TEST_F(ProgramStart, TakesTheGeoAssociationBackAndLeavesItsOwnAlone) {
    // Another program holds ".geo".
    std::filesystem::create_directories(DataHome() / "applications");
    std::ofstream(DataHome() / "applications" / "other.desktop")
        << "[Desktop Entry]\nType=Application\nName=other\nExec=\"/usr/bin/other\" %f\n";
    std::ofstream(ConfigHome() / "mimeapps.list") << "[Default Applications]\napplication/x-geo=other.desktop\n";
    ASSERT_FALSE(IsFileTypeRegistered(".geo", true));
    Start({});
    EXPECT_TRUE(IsFileTypeRegistered(".geo", true));

    // Already ours: the entry is not written again.
    const auto Ours = DataHome() / "applications" / (ProgramIdentifier() + ".desktop");
    std::ofstream(Ours, std::ios::app) << "X-Kept=1\n";
    Form.reset();
    Start({});
    EXPECT_NE(ReadAll(Ours).find("X-Kept=1"), std::string::npos);
}

TEST_F(ProgramStart, AFailedRegistrationIsAConsoleLine) {
    std::filesystem::remove(ConfigHome() / "mimeapps.list");
    const auto Applications = DataHome() / "applications";
    std::filesystem::remove_all(Applications);
    std::ofstream(Applications) << "not a folder\n";
    Start({});
    std::filesystem::remove(Applications);
    EXPECT_TRUE(Form->isVisible());
    bool Noted = false;
    for (const std::string& L : Console) Noted = Noted || L.find("Unable to register the file type .geo") == 0;
    EXPECT_TRUE(Noted);
}

TEST(CommandLineDocument, NamesOneExistingFile) {
    const auto File = std::filesystem::temp_directory_path() / "sarnova-cmd-test.geo";
    std::ofstream(File) << "\n";
    EXPECT_EQ(CommandLineDocument({File.string()}), File);
    EXPECT_FALSE(CommandLineDocument({}));
    EXPECT_FALSE(CommandLineDocument({File.string(), File.string()}));
    EXPECT_FALSE(CommandLineDocument({""}));
    std::filesystem::remove(File);
    EXPECT_FALSE(CommandLineDocument({File.string()}));
}

}  // namespace
}  // namespace sarnova
