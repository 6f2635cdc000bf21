#include "controls/VkDockPanelStream.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

// ---- Byte streams ----

void TVkByteWriter::WriteInt32(std::int32_t Value) {
    const auto Bits = static_cast<std::uint32_t>(Value);
    for (int Shift = 0; Shift < 32; Shift += 8) WriteByte(static_cast<std::uint8_t>(Bits >> Shift));
}

void TVkByteWriter::WriteString(std::string_view Text) {
    WriteInt32(static_cast<std::int32_t>(Text.size()));
    FBytes.append(Text);
}

void TVkByteReader::Fail(const char* Field, const char* Problem) const {
    throw EInOutError("Damaged desktop file: " + std::string(Field) + " " + Problem + " (byte " +
                      std::to_string(FBase + FPos) + ")");
}

void TVkByteReader::Need(std::size_t Count, const char* Field) const {
    if (Count > Remaining()) Fail(Field, "runs past the end");
}

std::uint8_t TVkByteReader::ReadByte(const char* Field) {
    Need(1, Field);
    return static_cast<std::uint8_t>(FBytes[FPos++]);
}

std::int32_t TVkByteReader::ReadInt32(const char* Field) {
    Need(4, Field);
    std::uint32_t Bits = 0;
    for (int Shift = 0; Shift < 32; Shift += 8) Bits |= std::uint32_t(static_cast<std::uint8_t>(FBytes[FPos++])) << Shift;
    return static_cast<std::int32_t>(Bits);
}

std::string TVkByteReader::ReadString(const char* Field) {
    const std::int32_t Length = ReadInt32(Field);
    if (Length <= 0) return {};
    Need(static_cast<std::size_t>(Length), Field);
    std::string Text(FBytes.substr(FPos, static_cast<std::size_t>(Length)));
    FPos += static_cast<std::size_t>(Length);
    return Text;
}

TVkByteReader TVkByteReader::ReadBlock(std::int64_t Count, const char* Field) {
    if (Count < 0) Fail(Field, "has a negative size");
    Need(static_cast<std::size_t>(Count), Field);
    TVkByteReader Block(FBytes.substr(FPos, static_cast<std::size_t>(Count)));
    Block.FBase = FBase + FPos;
    FPos += static_cast<std::size_t>(Count);
    return Block;
}

std::int32_t TVkByteReader::ReadCount(const char* Field, std::size_t MinItemBytes) {
    const std::int32_t Count = ReadInt32(Field);
    if (Count <= 0) return 0;
    if (static_cast<std::size_t>(Count) > Remaining() / std::max<std::size_t>(MinItemBytes, 1))
        Fail(Field, "is more than the file holds");
    return Count;
}

// ---- Placement ----

namespace {

std::int32_t ReadRanged(TVkByteReader& In, const char* Field, std::int32_t Low, std::int32_t High) {
    const std::int32_t Value = In.ReadInt32(Field);
    if (Value < Low || Value > High) In.Fail(Field, "is out of range");
    return Value;
}

}  // namespace

void WritePlacement(TVkByteWriter& Out, const TVkDesktopPlacement& Placement, bool ToolWindow) {
    Out.WriteInt32(Placement.Left);
    Out.WriteInt32(Placement.Top);
    Out.WriteInt32(Placement.Width);
    Out.WriteInt32(Placement.Height);
    Out.WriteInt32(Placement.WindowState);
    if (ToolWindow) Out.WriteInt32(Placement.FormStyle);
    Out.WriteByte(Placement.Visible ? 1 : 0);
}

TVkDesktopPlacement ReadPlacement(TVkByteReader& In, bool ToolWindow) {
    TVkDesktopPlacement P;
    P.Left = In.ReadInt32("placement Left");
    P.Top = In.ReadInt32("placement Top");
    P.Width = In.ReadInt32("placement Width");
    P.Height = In.ReadInt32("placement Height");
    P.WindowState = ReadRanged(In, "placement WindowState", 0, 2);
    if (ToolWindow) P.FormStyle = ReadRanged(In, "placement FormStyle", 0, 3);
    P.Visible = In.ReadByte("placement Visible") != 0;
    return P;
}

// ---- Dock layout ----

namespace {

enum : std::uint8_t { nkNone = 0, nkLeaf = 1, nkRow = 2, nkColumn = 3 };
constexpr int MaxLayoutDepth = 32;

void WriteNode(TVkByteWriter& Out, const TVkDockLayoutNode& Node, const std::vector<TVkDesktopLeaf>& Leaves) {
    if (Node.IsLeaf()) {
        const TVkDesktopLeaf& Leaf = Leaves.at(static_cast<std::size_t>(Node.Leaf));
        Out.WriteByte(nkLeaf);
        Out.WriteString(Leaf.Name);
        Out.WriteInt32(Leaf.Width);
        Out.WriteInt32(Leaf.Height);
        return;
    }
    Out.WriteByte(Node.Horizontal ? nkRow : nkColumn);
    Out.WriteInt32(static_cast<std::int32_t>(Node.Children.size()));
    for (const TVkDockLayoutNode& Child : Node.Children) WriteNode(Out, Child, Leaves);
}

TVkDockLayoutNode ReadNode(TVkByteReader& In, std::uint8_t Kind, std::vector<TVkDesktopLeaf>& Leaves, int Depth) {
    if (Depth > MaxLayoutDepth) In.Fail("dock layout", "nests too deep");
    TVkDockLayoutNode Node;
    if (Kind == nkLeaf) {
        TVkDesktopLeaf Leaf;
        Leaf.Name = In.ReadString("docked window name");
        Leaf.Width = In.ReadInt32("docked window width");
        Leaf.Height = In.ReadInt32("docked window height");
        Node.Leaf = static_cast<int>(Leaves.size());
        Leaves.push_back(std::move(Leaf));
        return Node;
    }
    if (Kind != nkRow && Kind != nkColumn) In.Fail("dock layout node", "has an unknown kind");
    Node.Horizontal = Kind == nkRow;
    const std::int32_t Count = In.ReadCount("dock layout child count", 1);
    if (Count == 0) In.Fail("dock layout child count", "is out of range");
    for (std::int32_t I = 0; I < Count; ++I)
        Node.Children.push_back(ReadNode(In, In.ReadByte("dock layout node"), Leaves, Depth + 1));
    return Node;
}

bool PruneInto(const TVkDockLayoutNode& Node, const std::vector<bool>& Keep, TVkDockLayoutNode& Out) {
    if (Node.IsLeaf()) {
        if (static_cast<std::size_t>(Node.Leaf) >= Keep.size() || !Keep[static_cast<std::size_t>(Node.Leaf)]) return false;
        Out = Node;
        return true;
    }
    TVkDockLayoutNode Kept;
    Kept.Horizontal = Node.Horizontal;
    for (const TVkDockLayoutNode& Child : Node.Children) {
        TVkDockLayoutNode Pruned;
        if (PruneInto(Child, Keep, Pruned)) Kept.Children.push_back(std::move(Pruned));
    }
    if (Kept.Children.empty()) return false;
    if (Kept.Children.size() == 1) {
        Out = std::move(Kept.Children.front());
    } else {
        Out = std::move(Kept);
    }
    return true;
}

void AddInsertions(const TVkDockLayoutNode& Node, std::vector<TVkDockInsertion>& Steps) {
    if (Node.IsLeaf()) return;
    const TVkAlign Side = Node.Horizontal ? alRight : alBottom;
    for (std::size_t I = 1; I < Node.Children.size(); ++I)
        Steps.push_back({Node.Children[I].FirstLeaf(), Node.Children[I - 1].FirstLeaf(), Side});
    for (const TVkDockLayoutNode& Child : Node.Children) AddInsertions(Child, Steps);
}

}  // namespace

void WriteDockLayout(TVkByteWriter& Out, const TVkDesktopLayout& Layout) {
    if (Layout.Leaves.empty() || (!Layout.Tree.IsLeaf() && Layout.Tree.Children.empty())) {
        Out.WriteByte(nkNone);
        return;
    }
    WriteNode(Out, Layout.Tree, Layout.Leaves);
}

TVkDesktopLayout ReadDockLayout(TVkByteReader& In) {
    TVkDesktopLayout Layout;
    const std::uint8_t Kind = In.ReadByte("dock layout node");
    if (Kind != nkNone) Layout.Tree = ReadNode(In, Kind, Layout.Leaves, 0);
    return Layout;
}

TVkDockLayoutNode PruneDockLayout(const TVkDockLayoutNode& Tree, const std::vector<bool>& Keep) {
    TVkDockLayoutNode Out;
    if (!PruneInto(Tree, Keep, Out)) return {};
    return Out;
}

std::vector<TVkDockInsertion> DockLayoutInsertions(const TVkDockLayoutNode& Tree) {
    std::vector<TVkDockInsertion> Steps;
    if (!Tree.IsLeaf() && Tree.Children.empty()) return Steps;
    Steps.push_back({Tree.FirstLeaf(), -1, alNone});
    AddInsertions(Tree, Steps);
    return Steps;
}

// ---- Tabs and sites ----

void WriteTabs(TVkByteWriter& Out, const TVkDesktopTabs& Tabs) {
    Out.WriteInt32(static_cast<std::int32_t>(Tabs.Names.size()));
    Out.WriteInt32(Tabs.TabPosition);
    for (const std::string& Name : Tabs.Names) Out.WriteString(Name);
    Out.WriteString(Tabs.ActiveName);
}

TVkDesktopTabs ReadTabs(TVkByteReader& In) {
    TVkDesktopTabs Tabs;
    const std::int32_t Count = In.ReadCount("tab count", 4);
    Tabs.TabPosition = ReadRanged(In, "tab position", tpTop, tpRight);
    for (std::int32_t I = 0; I < Count; ++I) Tabs.Names.push_back(In.ReadString("tab window name"));
    Tabs.ActiveName = In.ReadString("active tab name");
    return Tabs;
}

bool IsTabbedSiteName(std::string_view Name) { return Name.find(TabbedSiteClassName) != std::string_view::npos; }

bool IsConjoinSiteName(std::string_view Name) { return Name.find(ConjoinSiteClassName) != std::string_view::npos; }

// ---- The desktop ----

namespace {

std::string PanelLayoutBytes(const TVkDesktopPanel& Panel) {
    TVkByteWriter Out;
    if (Panel.ToolWindow) {
        WritePlacement(Out, Panel.Placement, true);
        return Out.Bytes();
    }
    Out.WriteInt32(Panel.Width);
    Out.WriteInt32(Panel.Height);
    Out.WriteByte(Panel.Visible ? 1 : 0);
    WriteDockLayout(Out, Panel.Layout);
    Out.WriteInt32(static_cast<std::int32_t>(Panel.TabbedSites.size()));
    for (const auto& [Name, Tabs] : Panel.TabbedSites) {
        Out.WriteString(Name);
        WriteTabs(Out, Tabs);
    }
    return Out.Bytes();
}

TVkDesktopPanel ReadPanelLayout(TVkByteReader& In, std::string FullName, bool EdgePanel) {
    TVkDesktopPanel Panel;
    Panel.FullName = std::move(FullName);
    Panel.ToolWindow = !EdgePanel;
    if (!EdgePanel) {
        Panel.Placement = ReadPlacement(In, true);
        return Panel;
    }
    Panel.Width = In.ReadInt32("panel Width");
    Panel.Height = In.ReadInt32("panel Height");
    Panel.Visible = In.ReadByte("panel Visible") != 0;
    Panel.Layout = ReadDockLayout(In);
    const std::int32_t Count = In.ReadCount("panel tabbed site count", 16);
    for (std::int32_t I = 0; I < Count; ++I) {
        std::string Name = In.ReadString("tabbed site name");
        Panel.TabbedSites.emplace_back(std::move(Name), ReadTabs(In));
    }
    return Panel;
}

}  // namespace

std::string WriteDesktop(const TVkDesktop& Desktop) {
    TVkByteWriter Out;
    Out.WriteString(Desktop.Name);
    Out.WriteInt32(static_cast<std::int32_t>(Desktop.FreeWindows.size()));
    for (const std::string& Name : Desktop.FreeWindows) Out.WriteString(Name);
    Out.WriteInt32(static_cast<std::int32_t>(Desktop.Sites.size()));
    for (const TVkDesktopSite& Site : Desktop.Sites) {
        Out.WriteString(Site.Name);
        WritePlacement(Out, Site.Placement, false);
        if (Site.Tabbed) {
            WriteTabs(Out, Site.Tabs);
        } else {
            WriteDockLayout(Out, Site.Layout);
        }
    }
    // The records are gathered first: the block is preceded by their count and size.
    TVkByteWriter Records;
    std::int32_t Count = 0;
    for (const TVkDesktopPanel& Panel : Desktop.Panels) {
        const std::string Layout = PanelLayoutBytes(Panel);
        if (Layout.empty()) continue;
        Records.WriteString(Panel.FullName);
        Records.WriteInt32(static_cast<std::int32_t>(Layout.size()));
        Records.WriteBytes(Layout);
        ++Count;
    }
    Out.WriteInt32(Count);
    Out.WriteInt32(static_cast<std::int32_t>(Records.Size()));
    Out.WriteBytes(Records.Bytes());
    return Out.Bytes();
}

TVkDesktop ReadDesktop(TVkByteReader& In, const std::function<bool(const std::string&)>& IsEdgePanel) {
    TVkDesktop Desktop;
    Desktop.Name = In.ReadString("desktop name");
    const std::int32_t Free = In.ReadCount("free window count", 4);
    for (std::int32_t I = 0; I < Free; ++I) Desktop.FreeWindows.push_back(In.ReadString("free window name"));
    const std::int32_t Sites = In.ReadCount("site count", 4 + 21);
    for (std::int32_t I = 0; I < Sites; ++I) {
        TVkDesktopSite Site;
        Site.Name = In.ReadString("site name");
        // The tabbed class is tried first, as a site is created by it.
        Site.Tabbed = IsTabbedSiteName(Site.Name);
        if (!Site.Tabbed && !IsConjoinSiteName(Site.Name))
            throw EInOutError("Damaged desktop file: site \"" + Site.Name + "\" is of no known kind");
        Site.Placement = ReadPlacement(In, false);
        if (Site.Tabbed) {
            Site.Tabs = ReadTabs(In);
        } else {
            Site.Layout = ReadDockLayout(In);
        }
        Desktop.Sites.push_back(std::move(Site));
    }
    const std::int32_t Records = In.ReadCount("panel record count", 8);
    TVkByteReader Block = In.ReadBlock(In.ReadInt32("panel block size"), "panel block");
    for (std::int32_t I = 0; I < Records; ++I) {
        std::string FullName = Block.ReadString("panel name");
        TVkByteReader Layout = Block.ReadBlock(Block.ReadInt32("panel layout size"), "panel layout");
        const bool Edge = IsEdgePanel && IsEdgePanel(FullName);
        Desktop.Panels.push_back(ReadPanelLayout(Layout, std::move(FullName), Edge));
    }
    return Desktop;
}

// ---- Files ----

std::string ReadDesktopBytes(const std::filesystem::path& FileName) {
    const std::string Failure = "Cannot read desktop file \"" + FileName.string() + "\"";
    std::error_code Error;
    const std::uintmax_t Size = std::filesystem::file_size(FileName, Error);
    if (Error || Size > MaxDesktopFileSize) throw EInOutError(Failure);
    std::ifstream In(FileName, std::ios::binary);
    if (!In) throw EInOutError(Failure);
    std::string Bytes(static_cast<std::size_t>(Size), '\0');
    In.read(Bytes.data(), static_cast<std::streamsize>(Size));
    if (In.gcount() != static_cast<std::streamsize>(Size)) throw EInOutError(Failure);
    return Bytes;
}

void WriteDesktopBytes(const std::filesystem::path& FileName, const std::string& Bytes) {
    std::error_code Error;
    const std::filesystem::path Folder = FileName.parent_path();
    if (!Folder.empty() && !IsDirectory(Folder)) {
        std::filesystem::create_directories(Folder, Error);
        if (Error || !IsDirectory(Folder)) throw EInOutError("Unable to create path to save desktop file");
    }
    TTextWriter Out;
    Out.Write(Bytes);
    Out.SaveToFile(FileName);
}

std::filesystem::path DesktopFileFor(std::string_view Name) {
    const std::string Clean = KeepFileNameCharacters(Name);
    if (Clean.empty()) return {};
    return std::filesystem::path(GUserFolder) / (Clean + ".dsk");
}

// ---- Named desktops ----

void TVkDockingDesktops::Add(const std::string& Name, const std::filesystem::path& FileName) {
    if (Name.empty() || IndexOf(Name) >= 0) return;
    Items.push_back(std::make_unique<TVkDockingDesktop>(TVkDockingDesktop{Name, FileName}));
}

int TVkDockingDesktops::IndexOf(std::string_view Name) const {
    const std::string Wanted = UpperCase(Name);
    for (std::size_t I = 0; I < Items.size(); ++I)
        if (UpperCase(Items[I]->Name) == Wanted) return static_cast<int>(I);
    return -1;
}

void TVkDockingDesktops::Scan(const std::filesystem::path& Folder) {
    Clear();
    std::error_code Error;
    std::vector<std::filesystem::path> Files;
    for (std::filesystem::directory_iterator It(Folder, Error), End; !Error && It != End; It.increment(Error)) {
        const std::filesystem::path& Path = It->path();
        std::error_code KindError;
        if (Path.extension() == ".dsk" && It->is_regular_file(KindError)) Files.push_back(Path);
    }
    std::sort(Files.begin(), Files.end());
    for (const std::filesystem::path& File : Files) {
        try {
            const std::string Bytes = ReadDesktopBytes(File);
            TVkByteReader In(Bytes);
            Add(In.ReadString("desktop name"), File);
        } catch (const EError&) {
            // An unreadable file is no desktop of the list.
        }
    }
}

}  // namespace sarnova
