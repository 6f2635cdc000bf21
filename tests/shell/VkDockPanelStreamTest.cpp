#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "shell/DesktopFixture.h"
#include "shell/DockLayoutNodes.h"
#include "controls/VkDockPanelStream.h"

namespace sarnova {
namespace {

bool IsMainPanel(const std::string& Name) { return Name.rfind("MainForm.", 0) == 0; }

TVkDesktop Read(const std::string& Bytes) {
    TVkByteReader In(Bytes);
    return ReadDesktop(In, IsMainPanel);
}

// A bit of everything: a free window, both kinds of site, an edge panel with a tabbed site in it.
TVkDesktop RichDesktop() {
    TVkDesktop D;
    D.Name = "Lines plan";
    D.FreeWindows = {"ConsoleForm", "GroupsForm", "OpeningsForm"};
    TVkDesktopSite Conjoined;
    Conjoined.Name = "TVkConjoinDockSiteForm1";
    Conjoined.Placement = {10, 20, 300, 400, 0, 0, true};
    Conjoined.Layout.Tree = Split(true, {Leaf(0), Leaf(1)});
    Conjoined.Layout.Leaves = {{"GroupsForm", 150, 400}, {"OpeningsForm", 146, 400}};
    TVkDesktopSite Tabbed;
    Tabbed.Name = "TVkTabbedDockSiteform2";
    Tabbed.Placement = {-5, 7, 250, 180, 2, 0, false};
    Tabbed.Tabbed = true;
    Tabbed.Tabs = {tpBottom, {"HelpForm", "ErrorsForm"}, "ErrorsForm"};
    D.Sites = {Conjoined, Tabbed};
    TVkDesktopPanel Console;
    Console.FullName = "ConsoleForm.VkDockPanel1";
    Console.ToolWindow = true;
    Console.Placement = {964, 213, 320, 200, 0, 3, true};
    TVkDesktopPanel Left;
    Left.FullName = "MainForm.VkDockPanel1";
    Left.Width = 240;
    Left.Height = 600;
    Left.Visible = true;
    Left.Layout.Tree = Split(false, {Leaf(0), Split(true, {Leaf(1), Leaf(2)})});
    Left.Layout.Leaves = {{"SelectionForm", 240, 300}, {"TVkTabbedDockSiteform3", 120, 296}, {"EntityForm", 116, 296}};
    Left.TabbedSites = {{"TVkTabbedDockSiteform3", {tpTop, {"HierarchyForm", "CalculatorForm"}, ""}}};
    D.Panels = {Console, Left};
    return D;
}

TEST(DesktopFile, TheEntitiesWindowFloatingIsWrittenByteForByte) {
    TVkDesktop D;
    D.FreeWindows = {"SelectionForm"};
    TVkDesktopPanel Panel;
    Panel.FullName = "SelectionForm.VkDockPanel1";
    Panel.ToolWindow = true;
    Panel.Placement = {964, 213, 200, 300, 0, 0, true};
    D.Panels = {Panel};
    EXPECT_EQ(WriteDesktop(D), EntitiesFloatingDesktop());
    EXPECT_EQ(Read(EntitiesFloatingDesktop()), D);
}

TEST(DesktopFile, NothingOpenIsNamesAndZeroCounts) {
    TVkDesktop D;
    D.Name = "A";
    const std::string Expected("\x01\0\0\0A" "\0\0\0\0" "\0\0\0\0" "\0\0\0\0" "\0\0\0\0", 21);
    EXPECT_EQ(WriteDesktop(D), Expected);
    EXPECT_EQ(Read(Expected), D);
}

TEST(DesktopFile, EverySiteAndPanelKindReadsBackAsWritten) {
    const TVkDesktop D = RichDesktop();
    const std::string Bytes = WriteDesktop(D);
    EXPECT_EQ(Read(Bytes), D);
}

TEST(DesktopFile, ATruncatedFileIsRefusedWhereverItEnds) {
    const std::string Bytes = WriteDesktop(RichDesktop());
    for (size_t Length = 0; Length < Bytes.size(); ++Length) {
        try {
            Read(Bytes.substr(0, Length));
            ADD_FAILURE() << "read " << Length << " of " << Bytes.size() << " bytes";
        } catch (const EInOutError& Error) {
            EXPECT_EQ(std::string(Error.what()).rfind("Damaged desktop file: ", 0), 0u) << Error.what();
        }
    }
}

// The fixture with four bytes at Offset replaced by Value.
std::string Patched(size_t Offset, std::int32_t Value) {
    std::string Bytes = EntitiesFloatingDesktop();
    TVkByteWriter Out;
    Out.WriteInt32(Value);
    Bytes.replace(Offset, 4, Out.Bytes());
    return Bytes;
}

TEST(DesktopFile, DamagedValuesAreRefusedWithoutAllocatingForThem) {
    const std::pair<std::string, const char*> Cases[] = {
        {Patched(8, 0x7FFFFFFF), "Damaged desktop file: free window name runs past the end (byte 12)"},
        {Patched(4, 0x7FFFFFFF), "Damaged desktop file: free window count is more than the file holds (byte 8)"},
        {Patched(33, -1), "Damaged desktop file: panel block has a negative size (byte 37)"},
        {Patched(33, 60), "Damaged desktop file: panel block runs past the end (byte 37)"},
        {Patched(29, 2), "Damaged desktop file: panel name runs past the end (byte 96)"},
        {Patched(67, 1000), "Damaged desktop file: panel layout runs past the end (byte 71)"},
        {Patched(87, 7), "Damaged desktop file: placement WindowState is out of range (byte 91)"},
    };
    for (const auto& [Bytes, Message] : Cases) {
        try {
            Read(Bytes);
            ADD_FAILURE() << Message;
        } catch (const EInOutError& Error) {
            EXPECT_STREQ(Error.what(), Message);
        }
    }
}

TEST(DesktopFile, ASiteOfNoKnownClassMakesTheFileUnreadable) {
    TVkByteWriter Out;
    Out.WriteString("");
    Out.WriteInt32(0);
    Out.WriteInt32(1);
    Out.WriteString("TPaletteForm1");
    WritePlacement(Out, {}, false);
    Out.WriteByte(0);
    Out.WriteInt32(0);
    Out.WriteInt32(0);
    EXPECT_THROW(
        {
            try {
                Read(Out.Bytes());
            } catch (const EInOutError& Error) {
                EXPECT_STREQ(Error.what(), "Damaged desktop file: site \"TPaletteForm1\" is of no known kind");
                throw;
            }
        },
        EInOutError);
}

TEST(DesktopFile, NegativeCountsAndLengthsAreNone) {
    TVkByteWriter Out;
    Out.WriteInt32(-4);  // name
    Out.WriteInt32(-1);  // F
    Out.WriteInt32(-2);  // S
    Out.WriteInt32(-3);  // P
    Out.WriteInt32(0);   // B
    EXPECT_EQ(Read(Out.Bytes()), TVkDesktop{});
}

TEST(DockLayoutStream, NestingAndChildCountsAreBounded) {
    TVkByteWriter Deep;
    for (int I = 0; I < 40; ++I) {
        Deep.WriteByte(2);
        Deep.WriteInt32(1);
    }
    Deep.WriteByte(1);
    Deep.WriteString("A");
    Deep.WriteInt32(1);
    Deep.WriteInt32(1);
    TVkByteReader In(Deep.Bytes());
    EXPECT_THROW(ReadDockLayout(In), EInOutError);

    const std::string NoChildren("\x03\0\0\0\0", 5), Unknown("\x07", 1), Many("\x02\xFF\xFF\xFF\x7F\x01", 6);
    for (const std::string& Bytes : {NoChildren, Unknown, Many}) {
        TVkByteReader Damaged(Bytes);
        EXPECT_THROW(ReadDockLayout(Damaged), EInOutError);
    }
    const std::string None("\x00", 1);
    TVkByteReader Empty(None);
    EXPECT_EQ(ReadDockLayout(Empty), TVkDesktopLayout{});
}

TEST(DockLayoutTree, PruningDropsWindowsAndCollapsesWhatIsLeft) {
    const TVkDockLayoutNode Tree = Split(true, {Leaf(0), Split(false, {Leaf(1), Leaf(2)}), Leaf(3)});
    EXPECT_EQ(PruneDockLayout(Tree, {true, true, true, true}), Tree);
    EXPECT_EQ(PruneDockLayout(Tree, {true, false, true, true}), Split(true, {Leaf(0), Leaf(2), Leaf(3)}));
    EXPECT_EQ(PruneDockLayout(Tree, {false, true, false, false}), Leaf(1));
    EXPECT_EQ(PruneDockLayout(Tree, {false, false, false, false}), TVkDockLayoutNode{});
    EXPECT_EQ(PruneDockLayout(Tree, {}), TVkDockLayoutNode{});
}

TEST(DockLayoutTree, InsertingWindowByWindowRebuildsTheTree) {
    const TVkDockLayoutNode Trees[] = {
        Leaf(0),
        Split(true, {Leaf(0), Split(false, {Leaf(1), Leaf(2)}), Leaf(3)}),
        Split(false, {Split(true, {Leaf(2), Split(false, {Leaf(0), Leaf(4)})}), Leaf(1), Leaf(3)}),
    };
    for (const TVkDockLayoutNode& Tree : Trees) {
        const std::vector<TVkDockInsertion> Steps = DockLayoutInsertions(Tree);
        ASSERT_FALSE(Steps.empty());
        EXPECT_EQ(Steps.front(), (TVkDockInsertion{Tree.FirstLeaf(), -1, alNone}));
        TVkDockLayoutNode Built = Leaf(Steps.front().Leaf);
        for (size_t I = 1; I < Steps.size(); ++I) Built = InsertDockLeaf(Built, Steps[I].Target, Steps[I].Leaf, Steps[I].Align);
        EXPECT_EQ(Built, Tree);
    }
    EXPECT_EQ(DockLayoutInsertions(Split(true, {Leaf(0), Split(false, {Leaf(1), Leaf(2)})})),
              (std::vector<TVkDockInsertion>{{0, -1, alNone}, {1, 0, alRight}, {2, 1, alBottom}}));
    EXPECT_TRUE(DockLayoutInsertions(TVkDockLayoutNode{}).empty());
}

class NamedDesktops : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = std::filesystem::temp_directory_path() / ("sarnova-desktops-" + std::to_string(::getpid()));
        std::filesystem::remove_all(Folder);
        std::filesystem::create_directories(Folder);
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }
    void WriteNamed(const std::string& File, const std::string& Name) {
        TVkDesktop D;
        D.Name = Name;
        WriteDesktopBytes(Folder / File, WriteDesktop(D));
    }
    std::filesystem::path Folder;
};

TEST_F(NamedDesktops, TheFirstFileOfANameWinsAndUnreadableOnesAreLeftOut) {
    WriteNamed("a.dsk", "Hull");
    WriteNamed("b.dsk", "HULL");
    WriteNamed("c.dsk", "Deck");
    WriteNamed("d.dsk", "");
    WriteNamed("e.txt", "Text");
    std::ofstream(Folder / "f.dsk", std::ios::binary) << std::string("\x09\0\0\0Cut", 7);
    TVkDockingDesktops Desktops;
    Desktops.Add("Old", Folder / "old.dsk");
    Desktops.Scan(Folder);
    ASSERT_EQ(Desktops.Count(), 2);
    EXPECT_EQ(Desktops.Item(0).Name, "Hull");
    EXPECT_EQ(Desktops.Item(0).FileName, Folder / "a.dsk");
    EXPECT_EQ(Desktops.Item(1).Name, "Deck");
    EXPECT_EQ(Desktops.IndexOf("deck"), 1);
    EXPECT_EQ(Desktops.IndexOf("Old"), -1);
}

TEST_F(NamedDesktops, FileNamesKeepOnlyFileNameCharacters) {
    EXPECT_EQ(DesktopFileFor("My Desk/1"), std::filesystem::path(GUserFolder) / "My Desk1.dsk");
    EXPECT_EQ(DesktopFileFor("../x"), std::filesystem::path(GUserFolder) / "..x.dsk");
    EXPECT_TRUE(DesktopFileFor("/*?").empty());
}

TEST_F(NamedDesktops, AFolderThatCannotBeMadeIsReportedAndAnOldFileSurvivesAFailedWrite) {
    std::ofstream(Folder / "plain") << "a file, not a folder";
    try {
        WriteDesktopBytes(Folder / "plain" / "sub" / "x.dsk", "bytes");
        ADD_FAILURE();
    } catch (const EInOutError& Error) {
        EXPECT_STREQ(Error.what(), "Unable to create path to save desktop file");
    }
    WriteNamed("keep.dsk", "Kept");
    EXPECT_EQ(ReadDesktopBytes(Folder / "keep.dsk"), WriteDesktop(TVkDesktop{"Kept", {}, {}, {}}));
    EXPECT_THROW(ReadDesktopBytes(Folder / "missing.dsk"), EInOutError);
}

}  // namespace
}  // namespace sarnova
