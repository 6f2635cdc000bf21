// The desktop file (".dsk") without any window: little-endian byte streams, the desktop as data, its
// writer and its reader, and the list of named desktops in the user's data folder. A desktop is read
// whole before anything is applied, so a damaged file changes nothing; every length and count read is
// checked against the bytes that are left before anything is allocated for it.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/VkDockPanelRules.h"

namespace sarnova {

// Collects little-endian values; strings are an int32 length followed by their bytes.
class TVkByteWriter {
public:
    void WriteByte(std::uint8_t Value) { FBytes.push_back(static_cast<char>(Value)); }
    void WriteInt32(std::int32_t Value);
    void WriteString(std::string_view Text);
    void WriteBytes(std::string_view Bytes) { FBytes.append(Bytes); }
    const std::string& Bytes() const { return FBytes; }
    std::size_t Size() const { return FBytes.size(); }

private:
    std::string FBytes;
};

// Reads what TVkByteWriter writes from a block of bytes it does not own. Reading past the end raises
// EInOutError "Damaged desktop file: <field> runs past the end (byte <offset>)", the offset counted
// from the start of the file also within a block.
class TVkByteReader {
public:
    explicit TVkByteReader(std::string_view Bytes) : FBytes(Bytes) {}

    std::uint8_t ReadByte(const char* Field);
    std::int32_t ReadInt32(const char* Field);
    // A length of 0 or less gives the empty string.
    std::string ReadString(const char* Field);
    // The next Count bytes, as a reader of their own.
    TVkByteReader ReadBlock(std::int64_t Count, const char* Field);
    // An int32 count of items that take at least MinItemBytes each; a negative count is none. A count
    // the remaining bytes cannot hold is refused before anything is read for it.
    std::int32_t ReadCount(const char* Field, std::size_t MinItemBytes);

    std::size_t Position() const { return FPos; }
    std::size_t Remaining() const { return FBytes.size() - FPos; }

    // Raises the reader's error for Field with Problem ("runs past the end", "is out of range" ...).
    [[noreturn]] void Fail(const char* Field, const char* Problem) const;

private:
    void Need(std::size_t Count, const char* Field) const;

    std::string_view FBytes;
    std::size_t FPos = 0;
    // Where FBytes starts in the whole file, so that errors name the file's byte.
    std::size_t FBase = 0;
};

enum TVkTabPosition : std::int32_t { tpTop = 0, tpBottom = 1, tpLeft = 2, tpRight = 3 };

// A form's place: 25 bytes for a tool window (with its form style), 21 for a site form. The window
// state (0 normal, 1 minimised, 2 maximised) and form style (0 normal, 1 MDI child, 2 MDI frame,
// 3 stay on top) are the ordinals that form placement stores too.
struct TVkDesktopPlacement {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t WindowState = 0;
    std::int32_t FormStyle = 0;
    bool Visible = false;
    bool operator==(const TVkDesktopPlacement&) const = default;
};
void WritePlacement(TVkByteWriter& Out, const TVkDesktopPlacement& Placement, bool ToolWindow);
TVkDesktopPlacement ReadPlacement(TVkByteReader& In, bool ToolWindow);

// The arrangement of the windows docked in a panel or a conjoined site: the tree of rows and columns
// whose leaves index Leaves, each window by its name with its size. Stored as nodes, depth first:
// one byte kind (0 no window, 1 window, 2 side by side, 3 above each other); a window is its name and
// int32 width and height, a row or column an int32 child count and the children.
struct TVkDesktopLeaf {
    std::string Name;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool operator==(const TVkDesktopLeaf&) const = default;
};
struct TVkDesktopLayout {
    TVkDockLayoutNode Tree;
    std::vector<TVkDesktopLeaf> Leaves;
    bool operator==(const TVkDesktopLayout&) const = default;
};
void WriteDockLayout(TVkByteWriter& Out, const TVkDesktopLayout& Layout);
// Leaves come out in the order the tree names them. Rows and columns nest at most 32 deep.
TVkDesktopLayout ReadDockLayout(TVkByteReader& In);

// Tree without the leaves whose Keep flag is false (leaf numbers stay as they are); a row or column
// left with one child becomes that child. Nothing kept gives the empty tree (no leaf, no children).
TVkDockLayoutNode PruneDockLayout(const TVkDockLayoutNode& Tree, const std::vector<bool>& Keep);

// One step of rebuilding a tree window by window: Leaf docks beside the window Target on side Align
// (the first step has Target -1 and alNone).
struct TVkDockInsertion {
    int Leaf = -1;
    int Target = -1;
    TVkAlign Align = alNone;
    bool operator==(const TVkDockInsertion&) const = default;
};
// The steps that rebuild Tree with InsertDockLeaf: the first windows of a row's children go side by
// side first, then each child is built within its own place.
std::vector<TVkDockInsertion> DockLayoutInsertions(const TVkDockLayoutNode& Tree);

// The pages of a tabbed site: their windows' names in page order and the name on the active page.
struct TVkDesktopTabs {
    std::int32_t TabPosition = tpTop;
    std::vector<std::string> Names;
    std::string ActiveName;
    bool operator==(const TVkDesktopTabs&) const = default;
};
void WriteTabs(TVkByteWriter& Out, const TVkDesktopTabs& Tabs);
TVkDesktopTabs ReadTabs(TVkByteReader& In);

// Site names carry their class name; that is how a reader knows what to create.
inline constexpr const char* ConjoinSiteClassName = "TVkConjoinDockSiteForm";
inline constexpr const char* TabbedSiteClassName = "TVkTabbedDockSiteform";
bool IsTabbedSiteName(std::string_view Name);
bool IsConjoinSiteName(std::string_view Name);

// A site form that floats: a conjoined one keeps Layout, a tabbed one Tabs.
struct TVkDesktopSite {
    std::string Name;
    TVkDesktopPlacement Placement;
    bool Tabbed = false;
    TVkDesktopLayout Layout;
    TVkDesktopTabs Tabs;
    bool operator==(const TVkDesktopSite&) const = default;
};

// The layout of one dock panel: a floating tool window's place, or the windows docked in an edge
// panel with the tabbed sites among them.
struct TVkDesktopPanel {
    std::string FullName;
    bool ToolWindow = false;
    TVkDesktopPlacement Placement;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool Visible = false;
    TVkDesktopLayout Layout;
    std::vector<std::pair<std::string, TVkDesktopTabs>> TabbedSites;
    bool operator==(const TVkDesktopPanel&) const = default;
};

struct TVkDesktop {
    std::string Name;
    std::vector<std::string> FreeWindows;
    std::vector<TVkDesktopSite> Sites;
    std::vector<TVkDesktopPanel> Panels;
    bool operator==(const TVkDesktop&) const = default;
};

// The whole file: name, free windows, free sites, then the panel records, counted and sized.
std::string WriteDesktop(const TVkDesktop& Desktop);
// Reads a whole desktop. A panel record is laid out as an edge panel's when IsEdgePanel says so for
// its full name, else as a tool window's place. Anything that does not read raises EInOutError
// "Damaged desktop file: ..."; a site whose name names neither site class is refused too.
TVkDesktop ReadDesktop(TVkByteReader& In, const std::function<bool(const std::string&)>& IsEdgePanel);

// Files: desktop files are small, so a file beyond this is damaged rather than read.
inline constexpr std::uintmax_t MaxDesktopFileSize = 16u << 20;
// The bytes of a desktop file; EInOutError "Cannot read desktop file "<name>"" when it cannot be read
// or is beyond MaxDesktopFileSize.
std::string ReadDesktopBytes(const std::filesystem::path& FileName);
// Writes the bytes through a temporary file, so a failure leaves an old file as it was. A folder that
// cannot be made raises EInOutError "Unable to create path to save desktop file".
void WriteDesktopBytes(const std::filesystem::path& FileName, const std::string& Bytes);
// The file of a named desktop: GUserFolder + KeepFileNameCharacters(Name) + ".dsk"; empty when
// nothing of the name is left.
std::filesystem::path DesktopFileFor(std::string_view Name);

class TVkDockingDesktop {
public:
    std::string Name;
    std::filesystem::path FileName;
};

// The named desktops, in the order found or added.
class TVkDockingDesktops {
public:
    int Count() const { return static_cast<int>(Items.size()); }
    const TVkDockingDesktop& Item(int Index) const { return *Items.at(static_cast<std::size_t>(Index)); }
    void Clear() { Items.clear(); }
    // Lists Name with FileName unless Name is empty or listed already (letter case ignored).
    void Add(const std::string& Name, const std::filesystem::path& FileName);
    // Index of Name, letter case ignored; -1 when absent.
    int IndexOf(std::string_view Name) const;
    // Clears the list, then lists every "*.dsk" file of Folder by the desktop name it starts with, in
    // file-name order; files that cannot be read are left out.
    void Scan(const std::filesystem::path& Folder);

private:
    std::vector<std::unique_ptr<TVkDockingDesktop>> Items;
};

}  // namespace sarnova
