#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace sarnova {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

void WriteFile(const fs::path& Path, const std::string& Text) {
    std::ofstream(Path, std::ios::binary) << Text;
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        // HOME is the test run's own temporary folder.
        Folder = fs::path(std::getenv("HOME")) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        File = Folder / "store.ini";
    }
    void TearDown() override { fs::remove_all(Folder); }

    fs::path Folder;
    fs::path File;
};

TEST(RegistryFileNameTest, LiesInTheConfigFolder) {
    const fs::path Expected = fs::path(std::getenv("XDG_CONFIG_HOME")) / "Tavik" / "sarnova.ini";
    EXPECT_EQ(RegistryFileName(), Expected);
    EXPECT_EQ(ProgramRegistryKey("sarnova"), "Software\\Tavik\\sarnova");
}

TEST_F(RegistryTest, WritesSectionsInOrderWithEscapesAndReadsThemBack) {
    {
        TRegIniFile Ini("Software\\Tavik\\sarnova", File);
        Ini.WriteString("ViewOptions", "ProjectOptions", "[poObjectSnap, po3DEditing]");
        Ini.WriteInteger("ViewOptions", "GridSize", 20000);
        Ini.WriteBool("AutoSave", "Enabled", true);
        Ini.WriteString("AutoSave", "a=b\\c", "line 1\nline 2\r=\\");
        Ini.WriteString("AutoSave", "[odd", ";x");
        Ini.WriteInteger("ViewOptions", "GridSize", -7);  // a rewrite keeps the value's place
        Ini.Flush();
    }
    EXPECT_EQ(ReadFile(File),
              "[Software\\Tavik\\sarnova\\ViewOptions]\n"
              "ProjectOptions=[poObjectSnap, po3DEditing]\n"
              "GridSize=-7\n"
              "\n"
              "[Software\\Tavik\\sarnova\\AutoSave]\n"
              "Enabled=1\n"
              "a\\=b\\\\c=line 1\\nline 2\\r\\=\\\\\n"
              "\\[odd=;x\n");

    const TRegIniFile Ini("Software\\Tavik\\sarnova", File);
    EXPECT_EQ(Ini.ReadString("ViewOptions", "ProjectOptions", ""), "[poObjectSnap, po3DEditing]");
    EXPECT_EQ(Ini.ReadInteger("ViewOptions", "GridSize", 0), -7);
    EXPECT_TRUE(Ini.ReadBool("AutoSave", "Enabled", false));
    EXPECT_EQ(Ini.ReadString("AutoSave", "a=b\\c", ""), "line 1\nline 2\r=\\");
    EXPECT_EQ(Ini.ReadString("AutoSave", "[odd", ""), ";x");
}

TEST_F(RegistryTest, MissingOrUnreadableValuesGiveTheDefault) {
    WriteFile(File, "[Software\\Tavik\\sarnova\\S]\nNumber=12x\nHex=$FF\nBlank= 42\nEmpty=\nZero=0\n");
    const TRegIniFile Ini("Software\\Tavik\\sarnova", File);
    EXPECT_EQ(Ini.ReadInteger("S", "Number", 5), 5);
    EXPECT_EQ(Ini.ReadInteger("S", "Hex", 5), 255);
    EXPECT_EQ(Ini.ReadInteger("S", "Blank", 5), 42);
    EXPECT_EQ(Ini.ReadInteger("S", "Empty", 5), 5);
    EXPECT_EQ(Ini.ReadInteger("S", "Missing", 5), 5);
    EXPECT_EQ(Ini.ReadInteger("Missing", "Number", 5), 5);
    EXPECT_TRUE(Ini.ReadBool("S", "Number", true));
    EXPECT_FALSE(Ini.ReadBool("S", "Zero", true));
    EXPECT_EQ(Ini.ReadString("S", "Missing", "dflt"), "dflt");
    EXPECT_EQ(Ini.ReadString("S", "Empty", "dflt"), "");
}

TEST_F(RegistryTest, KeysOpenListAndDelete) {
    TRegistry Reg(File);
    EXPECT_FALSE(Reg.OpenKey("Software\\Tavik", false));
    ASSERT_TRUE(Reg.OpenKey("\\Software\\Tavik\\sarnova\\GeoFiles", true));
    Reg.WriteInteger("NumberOfFiles", 2);
    Reg.WriteString("File0", "/a.geo");
    Reg.WriteString("File1", "/b.geo");
    EXPECT_TRUE(Reg.OpenKey("\\Software\\Tavik\\sarnova\\CommandFiles", true));
    EXPECT_TRUE(Reg.OpenKey("Sub", true));  // relative to the current key
    EXPECT_EQ(Reg.CurrentPath(), "Software\\Tavik\\sarnova\\CommandFiles\\Sub");

    // Names ignore letter case, as the system registry's do.
    ASSERT_TRUE(Reg.OpenKey("\\software\\TAVIK\\Sarnova", false));
    EXPECT_EQ(Reg.GetKeyNames(), (std::vector<std::string>{"GeoFiles", "CommandFiles"}));
    EXPECT_TRUE(Reg.KeyExists("geofiles"));
    EXPECT_TRUE(Reg.KeyExists("\\Software"));
    ASSERT_TRUE(Reg.OpenKey("GeoFiles", false));
    EXPECT_EQ(Reg.GetValueNames(), (std::vector<std::string>{"NumberOfFiles", "File0", "File1"}));
    EXPECT_TRUE(Reg.ValueExists("file0"));
    EXPECT_EQ(Reg.ReadInteger("numberoffiles", 0), 2);
    EXPECT_TRUE(Reg.DeleteValue("File0"));
    EXPECT_FALSE(Reg.DeleteValue("File0"));
    EXPECT_EQ(Reg.GetValueNames(), (std::vector<std::string>{"NumberOfFiles", "File1"}));

    EXPECT_TRUE(Reg.DeleteKey("\\Software\\Tavik\\sarnova\\CommandFiles"));
    EXPECT_FALSE(Reg.KeyExists("\\Software\\Tavik\\sarnova\\CommandFiles\\Sub"));
    EXPECT_FALSE(Reg.DeleteKey("\\"));
    EXPECT_FALSE(Reg.CreateKey("\\Software\\Tavik"));
    Reg.Flush();

    TRegistry Again(File);
    ASSERT_TRUE(Again.OpenKey("Software\\Tavik\\sarnova", false));
    EXPECT_EQ(Again.GetKeyNames(), std::vector<std::string>{"GeoFiles"});
    ASSERT_TRUE(Again.OpenKey("GeoFiles", false));
    EXPECT_EQ(Again.GetValueNames(), (std::vector<std::string>{"NumberOfFiles", "File1"}));
}

TEST_F(RegistryTest, DamagedFileLoadsWhatItCan) {
    const char Binary[] = "\0\x01\xff\xfe garbage\n=\n[A]\nx=\xff\0\n\\";
    const std::pair<std::string, std::string> Cases[] = {
        {std::string(Binary, sizeof Binary - 1), std::string("\xff\0", 2)},
        // Values under a broken header are dropped, not filed under the key before it.
        {"stray=before any section\n[A]\nx=1\n[broken\nx=2\n[A]\nz=3\nno equals sign\n", "1"},
        {"[A]\r\nx=1\r\n[\r\n[]\r\n[\\\\]\r\nx=4\r\n; comment\r\n# comment\r\nx=5", "1"},
        {"[A]\nx=\\", "\\"},
        {std::string(100000, '[') + "\n[A]\nx=1", "1"},
        {"", "-"},
    };
    for (const auto& [Text, X] : Cases) {
        WriteFile(File, Text);
        TRegIniFile Ini("", File);
        EXPECT_EQ(Ini.ReadString("A", "x", "-"), X) << Text.substr(0, 40);
        // A flush writes a clean file that loads to the same contents.
        Ini.WriteInteger("B", "v", 9);
        Ini.Flush();
        const TRegIniFile Reread("", File);
        EXPECT_EQ(Reread.ReadString("A", "x", "-"), X);
        EXPECT_EQ(Reread.ReadInteger("B", "v", -1), 9);
    }

    fs::remove(File);
    fs::create_directory(File);  // not even a file
    EXPECT_EQ(TRegIniFile("", File).ReadInteger("A", "x", -1), -1);
}

TEST_F(RegistryTest, FlushKeepsTheWritesOfOtherRegistryObjects) {
    TRegIniFile First("Base", File);
    TRegIniFile Second("Base", File);
    First.WriteInteger("S", "a", 1);
    First.WriteInteger("S", "shared", 1);
    First.Flush();
    Second.WriteInteger("S", "b", 2);
    Second.WriteInteger("S", "shared", 2);
    Second.Flush();
    const TRegIniFile Reread("Base", File);
    EXPECT_EQ(Reread.ReadInteger("S", "a", 0), 1);
    EXPECT_EQ(Reread.ReadInteger("S", "b", 0), 2);
    EXPECT_EQ(Reread.ReadInteger("S", "shared", 0), 2);
}

TEST_F(RegistryTest, AFailedWriteLeavesTheOldFileAndReportsIt) {
    WriteFile(File, "[S]\nold=1\n");
    fs::permissions(Folder, fs::perms::owner_read | fs::perms::owner_exec);
    const bool CanStillWrite = std::ofstream(Folder / "probe").good();  // root ignores permissions
    TRegIniFile Ini("", File);
    Ini.WriteInteger("S", "new", 2);
    if (!CanStillWrite) {
        EXPECT_THROW(Ini.Flush(), EInOutError);
        EXPECT_TRUE(Ini.HasPendingChanges());
        EXPECT_EQ(ReadFile(File), "[S]\nold=1\n");
    }
    fs::permissions(Folder, fs::perms::owner_all);

    // Failures that do not depend on who runs the test: a folder that cannot be made, and a target
    // that cannot be replaced.
    WriteFile(Folder / "plain", "");
    fs::create_directories(Folder / "taken" / "x");
    for (const fs::path& Target : {Folder / "plain" / "store.ini", Folder / "taken"}) {
        TRegIniFile Blocked("", Target);
        Blocked.WriteInteger("S", "x", 1);
        try {
            Blocked.Flush();
            ADD_FAILURE() << "no error for " << Target;
        } catch (const EInOutError& E) {
            EXPECT_NE(std::string(E.what()).find(Target.string()), std::string::npos) << E.what();
        }
    }

    Ini.Flush();
    EXPECT_EQ(ReadFile(File), "[S]\nold=1\nnew=2\n");
    int Entries = 0;
    for ([[maybe_unused]] const auto& E : fs::directory_iterator(Folder)) ++Entries;
    EXPECT_EQ(Entries, CanStillWrite ? 4 : 3) << "no temporary file is left behind";
}

TEST_F(RegistryTest, DestructionWritesUnlessAnErrorIsUnwinding) {
    {
        TRegIniFile Ini("", File);
        Ini.WriteInteger("S", "kept", 1);
    }
    try {
        TRegIniFile Ini("", File);
        Ini.WriteInteger("S", "half", 1);
        throw std::runtime_error("failed half way");
    } catch (const std::runtime_error&) {
    }
    const TRegIniFile Ini("", File);
    EXPECT_EQ(Ini.ReadInteger("S", "kept", 0), 1);
    EXPECT_EQ(Ini.ReadInteger("S", "half", 0), 0);

    // Reading alone never writes.
    fs::remove(File);
    { const TRegIniFile ReadOnly("Software\\Tavik\\sarnova", File); }
    EXPECT_FALSE(fs::exists(File));
}

TEST_F(RegistryTest, ALineBreakInAKeyNameIsRefused) {
    TRegistry Reg(File);
    EXPECT_THROW(Reg.OpenKey("A\nB", true), ERegistryError);
}

}  // namespace
}  // namespace sarnova
