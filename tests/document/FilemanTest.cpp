#include "document/Fileman.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "platform/Registry.h"
#include "platform/ScriptedUserDialogs.h"

namespace sarnova {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& Name) {
    std::ifstream In(Name, std::ios::binary);
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

void WriteFile(const fs::path& Name, const std::string& Text) { std::ofstream(Name, std::ios::binary) << Text; }

// A document window as the file manager sees it: it logs every event and writes the document text
// when asked to save.
class FilemanTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove(RegistryFileName());
        Folder = fs::path(std::getenv("HOME")) / "documents";
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        Manager.RegistryKey = "GeoFiles";
        Manager.UnSavedName = "untitled.geo";
        Manager.OpenDialog = &OpenDialog;
        Manager.SaveDialog = &SaveDialog;
        Manager.OnNewFile = [this](TFileManager*) { Log.push_back("new"); };
        Manager.OnCloseFile = [this](TFileManager*) { Log.push_back("close"); };
        Manager.OnOpenFile = [this](TFileManager*, const std::string& Name) { Log.push_back("open " + Name); };
        Manager.OnSaveFile = [this](TFileManager*, const std::string& Name) {
            Log.push_back("save " + Name);
            WriteFile(Name, Document);
        };
        Manager.OnUpDateFileName = [this](TFileManager*, const std::string&, const std::string& Short) {
            Log.push_back("name " + Short);
        };
        Manager.New();
        Log.clear();
    }
    void TearDown() override { fs::remove(RegistryFileName()); }

    // An existing file in the test folder.
    std::string File(const std::string& Name) {
        const fs::path Path = Folder / Name;
        if (!fs::exists(Path)) WriteFile(Path, "stored " + Name);
        return Path.string();
    }

    std::vector<std::string> Recent() const {
        std::vector<std::string> Names;
        for (int I = 0; I < Manager.RecentFiles().Count(); ++I)
            Names.push_back(fs::path(Manager.RecentFiles().Items(I)).filename().string());
        return Names;
    }

    static std::string Stored(const std::string& Name) {
        return TRegIniFile(ProgramRegistryKey(GExeName)).ReadString("GeoFiles", Name, "<missing>");
    }

    fs::path Folder;
    TScriptedUserDialogs Dialogs;
    TOpenDialog OpenDialog;
    TSaveDialog SaveDialog;
    TFileManager Manager{Dialogs};
    std::vector<std::string> Log;
    std::string Document = "edited";
};

using Strings = std::vector<std::string>;

TEST_F(FilemanTest, RecentListKeepsTheFiveNewestAndMovesAReopenedFileToTheTop) {
    for (const char* Name : {"a.geo", "b.geo", "c.geo", "d.geo", "e.geo", "f.geo"}) Manager.SetFileName(File(Name));
    EXPECT_EQ(Recent(), (Strings{"f.geo", "e.geo", "d.geo", "c.geo", "b.geo"}));

    Manager.SetFileName(File("d.geo"));
    EXPECT_EQ(Recent(), (Strings{"d.geo", "f.geo", "e.geo", "c.geo", "b.geo"}));
    EXPECT_EQ(Stored("NumberOfFiles"), "5");
    EXPECT_EQ(Stored("File0"), File("d.geo"));
    EXPECT_EQ(Stored("File4"), File("b.geo"));

    // Names differing only in letter case are different files here.
    Manager.SetFileName(File("D.geo"));
    EXPECT_EQ(Recent(), (Strings{"D.geo", "d.geo", "f.geo", "e.geo", "c.geo"}));
}

TEST_F(FilemanTest, RecentListDropsMissingFilesAndEmptyNamesWhenLoaded) {
    {
        TRegIniFile Ini(ProgramRegistryKey(GExeName));
        Ini.WriteInteger("GeoFiles", "NumberOfFiles", 2000000000);  // damaged: reads no more than a list holds
        Ini.WriteString("GeoFiles", "File0", File("kept.geo"));
        Ini.WriteString("GeoFiles", "File1", (Folder / "gone.geo").string());
        Ini.WriteString("GeoFiles", "File2", "");
        Ini.WriteString("GeoFiles", "File3", Folder.string());  // a folder is no file
        Ini.WriteString("GeoFiles", "File4", File("also.geo"));
        Ini.WriteString("GeoFiles", "File5", File("beyond.geo"));
        Ini.Flush();
    }
    TFileUnitList List;
    List.Load("GeoFiles");
    ASSERT_EQ(List.Count(), 2);
    EXPECT_EQ(List.Items(0), File("kept.geo"));
    EXPECT_EQ(List.Items(1), File("also.geo"));
}

TEST_F(FilemanTest, WithoutRegistryAccessTheListStaysInMemory) {
    Manager.EnableRegistryAccess = false;
    Manager.SetFileName((Folder / "nowhere.geo").string());
    EXPECT_EQ(Recent(), Strings{"nowhere.geo"});
    EXPECT_EQ(Stored("NumberOfFiles"), "<missing>");
}

TEST_F(FilemanTest, NewAsksAboutUnsavedChangesAndSavesOnYes) {
    Manager.SetFileName(File("hull.geo"));
    Manager.Modified = true;
    Log.clear();
    Dialogs.Answer(TModalResult::mrYes);
    EXPECT_TRUE(Manager.New());
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "hull.geo is unsaved, Save?");
    EXPECT_EQ(Dialogs.Shown[0].Icon, TMsgDlgType::mtInformation);
    EXPECT_EQ(Dialogs.Shown[0].Buttons, mbYes | mbNo | mbCancel);
    EXPECT_EQ(Log, (Strings{"save " + File("hull.geo"), "close", "name untitled.geo", "new"}));
    EXPECT_EQ(ReadFile(File("hull.geo")), "edited");
    EXPECT_EQ(Manager.GetFileName(), "untitled.geo");
    EXPECT_FALSE(Manager.Modified);

    // No drops the changes.
    Manager.Modified = true;
    Log.clear();
    Dialogs.Answer(TModalResult::mrNo);
    EXPECT_TRUE(Manager.New());
    EXPECT_EQ(Log, (Strings{"close", "name untitled.geo", "new"}));
}

// Each way of leaving the current document must keep it when the user cancels, or when the save the
// user asked for does not happen. A recent-file click answers nothing: its effects tell.
struct TLeaveCase {
    const char* Name;
    bool (*Leave)(TFileManager&);
    bool AsksWithoutSaveHandler;
};
const TLeaveCase LeaveCases[] = {
    {"New", [](TFileManager& M) { return M.New(); }, true},
    {"Open", [](TFileManager& M) { return M.Open(); }, true},
    {"CloseQuery", [](TFileManager& M) { return M.CloseQuery(); }, false},
    {"recent file",
     [](TFileManager& M) {
         TMenuItem Item;
         Item.Tag = RecentFileItemTag;
         M.MRUClick(Item);
         return false;
     },
     true},
};

TEST_F(FilemanTest, CancelInThePromptKeepsTheDocument) {
    Manager.SetFileName(File("other.geo"));  // the recent file offered
    Manager.SetFileName("untitled.geo");
    for (const TLeaveCase& Case : LeaveCases) {
        Manager.Modified = true;
        Log.clear();
        Dialogs.Answer(TModalResult::mrCancel);
        EXPECT_FALSE(Case.Leave(Manager)) << Case.Name;
        EXPECT_TRUE(Log.empty()) << Case.Name;
        EXPECT_TRUE(Dialogs.ShownFileDialogs.empty()) << Case.Name;
        EXPECT_TRUE(Manager.Modified) << Case.Name;
        EXPECT_EQ(Manager.GetFileName(), "untitled.geo") << Case.Name;
    }
}

TEST_F(FilemanTest, ASaveThatDoesNotHappenKeepsTheDocument) {
    const TFileIoEvent Writer = Manager.OnSaveFile;
    Manager.SetFileName(File("other.geo"));
    for (const TLeaveCase& Case : LeaveCases) {
        // Yes on a document without a name asks for one; cancelling that dialog saves nothing.
        Manager.SetFileName("untitled.geo");
        Manager.Modified = true;
        Log.clear();
        Dialogs.Answer(TModalResult::mrYes);
        Dialogs.CancelFileDialog();
        EXPECT_FALSE(Case.Leave(Manager)) << Case.Name;
        EXPECT_TRUE(Log.empty()) << Case.Name;
        EXPECT_TRUE(Manager.Modified) << Case.Name;
        EXPECT_EQ(Manager.GetFileName(), "untitled.geo") << Case.Name;

        // A failing write passes its error on and leaves the flag set.
        Manager.SetFileName(File("locked.geo"));
        Manager.OnSaveFile = [](TFileManager*, const std::string&) { throw EInOutError("Cannot write file"); };
        Log.clear();
        Dialogs.Answer(TModalResult::mrYes);
        EXPECT_THROW(Case.Leave(Manager), EInOutError) << Case.Name;
        EXPECT_TRUE(Log.empty()) << Case.Name;
        EXPECT_TRUE(Manager.Modified) << Case.Name;
        EXPECT_EQ(Manager.GetFileName(), File("locked.geo")) << Case.Name;

        // Without a save handler there is nothing to save with.
        Manager.OnSaveFile = nullptr;
        if (Case.AsksWithoutSaveHandler) {
            Dialogs.Answer(TModalResult::mrYes);
            EXPECT_FALSE(Case.Leave(Manager)) << Case.Name;
            EXPECT_TRUE(Log.empty()) << Case.Name;
            EXPECT_TRUE(Manager.Modified) << Case.Name;
        }
        Manager.OnSaveFile = Writer;
        Manager.SetFileName(File("other.geo"));
    }
}

TEST_F(FilemanTest, OpenClearsThenOpensTheChosenFile) {
    OpenDialog.FileName = "left over";
    Dialogs.ChooseFile(File("hull.geo"));
    EXPECT_TRUE(Manager.Open());
    ASSERT_EQ(Dialogs.ShownFileDialogs.size(), 1u);
    EXPECT_EQ(Dialogs.ShownFileDialogs[0].FileName, "");
    EXPECT_EQ(Log, (Strings{"close", "name untitled.geo", "new", "name hull.geo", "open " + File("hull.geo")}));
    EXPECT_EQ(Manager.GetFileName(), File("hull.geo"));
    EXPECT_EQ(Recent(), Strings{"hull.geo"});

    // Cancel in the dialog leaves the new, empty document.
    Log.clear();
    Dialogs.CancelFileDialog();
    EXPECT_FALSE(Manager.Open());
    EXPECT_EQ(Log, (Strings{"close", "name untitled.geo", "new"}));
}

TEST_F(FilemanTest, SaveOfAnUnnamedDocumentAsksForAName) {
    Manager.Modified = true;
    Dialogs.ChooseFile((Folder / "new.geo").string());
    EXPECT_TRUE(Manager.Save());
    ASSERT_EQ(Dialogs.ShownFileDialogs.size(), 1u);
    EXPECT_TRUE(Dialogs.ShownFileDialogs[0].Save);
    EXPECT_EQ(Dialogs.ShownFileDialogs[0].FileName, "untitled.geo");
    EXPECT_EQ(Log, (Strings{"save " + (Folder / "new.geo").string(), "name new.geo"}));
    EXPECT_FALSE(Manager.Modified);

    // Named now: Save writes without asking.
    Manager.Modified = true;
    Log.clear();
    EXPECT_TRUE(Manager.Save());
    EXPECT_EQ(Log, Strings{"save " + (Folder / "new.geo").string()});
    EXPECT_EQ(Dialogs.ShownFileDialogs.size(), 1u);
}

TEST_F(FilemanTest, MissingDialogsAreReported) {
    Manager.OpenDialog = nullptr;
    Manager.SaveDialog = nullptr;
    EXPECT_FALSE(Manager.Open());
    EXPECT_FALSE(Manager.SaveAs());
    ASSERT_EQ(Dialogs.Shown.size(), 2u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Open Dialog Unassigned");
    EXPECT_EQ(Dialogs.Shown[1].Text, "Save Dialog Unassigned");
}

TEST_F(FilemanTest, CloseQueryWithoutASaveHandlerClosesWithoutAsking) {
    Manager.OnSaveFile = nullptr;
    Manager.Modified = true;
    EXPECT_TRUE(Manager.CloseQuery());
    EXPECT_TRUE(Dialogs.Shown.empty());
    EXPECT_EQ(Log, Strings{"close"});
    EXPECT_FALSE(Manager.Modified);
}

// The File menu of a document window: recent files go after the hidden "MRU" placeholder.
class FilemanMenuTest : public FilemanTest {
protected:
    void SetUp() override {
        FilemanTest::SetUp();
        for (const char* Caption : {"&Open", "-", "MRU", "-", "E&xit"}) Menu.Add(Caption);
        Manager.MRUMenu = &Menu;
    }
    Strings Captions() const {
        Strings Result;
        for (int I = 0; I < Menu.Count(); ++I)
            if (Menu.Items(I).Visible) Result.push_back(Menu.Items(I).Caption);
        return Result;
    }
    TMenuItem Menu;
};

TEST_F(FilemanMenuTest, ListsTheRecentFilesNumberedAfterThePlaceholder) {
    const std::string A = File("a.geo"), B = File("b.geo");
    Manager.SetFileName(A);
    Manager.SetFileName(B);
    EXPECT_EQ(Captions(), (Strings{"&Open", "-", "&1 " + B, "&2 " + A, "-", "-", "E&xit"}));
    EXPECT_EQ(Menu.Items(3).Tag, RecentFileItemTag);
    EXPECT_EQ(Menu.Items(4).Tag, RecentFileItemTag + 1);

    // A file gone from disk leaves the list at the next refresh, and its item is hidden.
    fs::remove(A);
    Manager.RefreshMRUMenu();
    EXPECT_EQ(Captions(), (Strings{"&Open", "-", "&1 " + B, "-", "-", "E&xit"}));
}

TEST_F(FilemanMenuTest, APathHoldingMRUIsNoPlaceholder) {
    fs::create_directories(Folder / "MRU");
    const std::string A = File("MRU/a.geo"), B = File("b.geo");
    Manager.SetFileName(A);
    Manager.SetFileName(B);
    Manager.RefreshMRUMenu();
    EXPECT_EQ(Captions(), (Strings{"&Open", "-", "&1 " + B, "&2 " + A, "-", "-", "E&xit"}));
}

TEST_F(FilemanMenuTest, ClickingARecentFileOpensIt) {
    const std::string A = File("a.geo");
    Manager.SetFileName(A);
    Manager.SetFileName("untitled.geo");
    Log.clear();
    Menu.Items(3).Click();
    EXPECT_EQ(Log, (Strings{"close", "name untitled.geo", "new", "name a.geo", "open " + A}));

    // The main window opens recent files its own way.
    Strings Opened;
    Manager.OnMRUOpenFile = [&](TFileManager*, const std::string& Name) { Opened.push_back(Name); };
    Log.clear();
    Menu.Items(3).Click();
    EXPECT_EQ(Opened, Strings{A});
    EXPECT_TRUE(Log.empty());
}

TEST_F(FilemanMenuTest, AFileGoneSinceTheMenuWasBuiltIsReportedAndDropped) {
    const std::string A = File("a.geo"), B = File("b.geo");
    Manager.SetFileName(A);
    Manager.SetFileName(B);
    Strings Opened;
    Manager.OnMRUOpenFile = [&](TFileManager*, const std::string& Name) { Opened.push_back(Name); };
    fs::remove(A);
    Menu.Items(4).Click();  // "&2 a.geo", still offered
    EXPECT_TRUE(Opened.empty());
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, A + " no longer exists; it is removed from the recent files.");
    EXPECT_EQ(Captions(), (Strings{"&Open", "-", "&1 " + B, "-", "-", "E&xit"}));
    EXPECT_EQ(Stored("NumberOfFiles"), "1");
    EXPECT_EQ(Stored("File0"), B);
}

TEST_F(FilemanTest, ARelativeNameIsListedAsItsAbsolutePath) {
    const std::string A = File("a.geo");
    const fs::path Before = fs::current_path();
    fs::current_path(Folder);
    Manager.SetFileName("a.geo");
    Manager.SetFileName("./sub/../a.geo");
    fs::current_path(Before);
    ASSERT_EQ(Manager.RecentFiles().Count(), 1);
    EXPECT_EQ(Manager.RecentFiles().Items(0), A);
    EXPECT_EQ(Stored("File0"), A);
}

TEST_F(FilemanMenuTest, EveryWindowShowsANewRecentFile) {
    TMenuItem Popup;
    TFileManager Other(Dialogs);
    Other.RegistryKey = "GeoFiles";
    Other.PopUpMRUMenu = &Popup;
    Manager.SetFileName(File("a.geo"));
    Manager.SetFileName(File("b.geo"));
    ASSERT_EQ(Popup.Count(), 2);
    EXPECT_EQ(Popup.Items(0).Caption, "&1 " + File("b.geo"));
    EXPECT_EQ(Popup.Items(1).Caption, "&2 " + File("a.geo"));
}

TEST_F(FilemanTest, AutoSaveSettingsAndTimer) {
    int Changes = 0;
    Manager.OnAutoSaveTimerChange = [&](TFileManager*) { ++Changes; };
    Manager.OnAutoSaveFile = [](TFileManager*, const std::string&) {};
    {
        TRegIniFile Ini(ProgramRegistryKey(GExeName));
        Ini.WriteString("GeoFiles", "AutoSaveEnabled", "1");
        Ini.WriteString("GeoFiles", "AutoSaveInterval", "0");  // would fire without pause: ignored
        Ini.Flush();
    }
    EXPECT_FALSE(Manager.AutoSaveTimerRunning());
    Manager.Loaded();
    EXPECT_GT(Changes, 0);
    EXPECT_TRUE(Manager.AutoSaveTimerRunning());
    EXPECT_EQ(Manager.AutoSaveTimerInterval(), 10 * 60000);

    for (int Ignored : {0, -5}) {
        Manager.SetAutoSaveInterval(Ignored);
        EXPECT_EQ(Manager.GetAutoSaveInterval(), 10);
    }
    Manager.SetAutoSaveInterval(3);
    EXPECT_EQ(Manager.AutoSaveTimerInterval(), 180000);
    Manager.SetAutoSaveInterval(1000000);  // beyond what a timer holds
    EXPECT_EQ(Manager.AutoSaveTimerInterval(), 2147483647);

    Manager.SetAutoSaveInterval(7);
    Manager.SetAutoSaveEnabled(false);
    EXPECT_FALSE(Manager.AutoSaveTimerRunning());
    Manager.SaveAutoSaveSettings();
    EXPECT_EQ(Stored("AutoSaveEnabled"), "0");
    EXPECT_EQ(Stored("AutoSaveInterval"), "7");
}

TEST_F(FilemanTest, AutoSaveWritesACopyAndNeverTheUsersFile) {
    const std::string Hull = File("hull.geo");
    const std::string Copy = (Folder / "hull.autosave.geo").string();
    EXPECT_EQ(AutoSaveFileName(Hull), Copy);
    Manager.OnAutoSaveFile = [this](TFileManager*, const std::string& Name) { WriteFile(Name, Document); };

    // Unnamed, or unchanged: nothing to do.
    Manager.Modified = true;
    Manager.AutoSaveTick();
    Manager.SetFileName(Hull);
    Manager.Modified = false;
    Manager.AutoSaveTick();
    EXPECT_EQ(fs::directory_iterator(Folder)->path(), Hull);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder), fs::directory_iterator()), 1);

    Manager.Modified = true;
    Manager.AutoSaveTick();
    EXPECT_EQ(ReadFile(Copy), "edited");
    EXPECT_EQ(ReadFile(Hull), "stored hull.geo");
    EXPECT_TRUE(Manager.Modified);
    EXPECT_EQ(Manager.GetFileName(), Hull);

    // A write that fails half-way leaves the last copy and no scraps.
    Manager.OnAutoSaveFile = [](TFileManager*, const std::string& Name) {
        WriteFile(Name, "half");
        throw EInOutError("Cannot write file");
    };
    EXPECT_THROW(Manager.AutoSaveTick(), EInOutError);
    EXPECT_EQ(ReadFile(Copy), "edited");
    EXPECT_EQ(ReadFile(Hull), "stored hull.geo");
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder), fs::directory_iterator()), 2);

    // A copy is as private as its document, and the temporary of a killed auto-save does not stop
    // the next one.
    fs::permissions(Hull, fs::perms::owner_read | fs::perms::owner_write);
    fs::remove(Copy);
    WriteFile(Copy + ".tmp", "left by a killed auto-save");
    fs::permissions(Copy + ".tmp", fs::perms::owner_read);
    Manager.OnAutoSaveFile = [this](TFileManager*, const std::string& Name) { WriteFile(Name, Document); };
    Manager.AutoSaveTick();
    EXPECT_EQ(ReadFile(Copy), "edited");
    EXPECT_EQ(fs::status(Copy).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(Copy + ".tmp"));

    // The user's own save makes the copy out of date.
    EXPECT_TRUE(Manager.Save());
    EXPECT_FALSE(fs::exists(Copy));
    EXPECT_EQ(ReadFile(Hull), "edited");
}

}  // namespace
}  // namespace sarnova
