// The docking framework's decisions that need no window: drop zones, previews, acceptance, site names,
// captions and the tree of windows arranged side by side or above each other.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Types.h"

namespace sarnova {

// Where a dropped window goes, with the alignment codes that also name the zones.
enum TVkAlign { alNone = 0, alTop = 1, alBottom = 2, alLeft = 3, alRight = 4, alClient = 5 };

// Groups that dock together: group 0 docks with every group.
bool GroupsCompatible(int A, int B);

// What is being dragged onto a dock panel.
enum class TVkDockSource { ConjoinedSite, TabbedSite, ToolWindow, Other };

// Whether a panel of PanelGroup that holds ChildCount child controls takes Source, whose group is
// SourceGroup (a site's group, or the group of a tool window's own panel). A conjoined site only
// goes onto an empty panel.
bool CanDockSource(int PanelGroup, int ChildCount, TVkDockSource Source, int SourceGroup);

// The zone of a panel of client size Width x Height that holds client point P, tested in the order
// left, top, right, bottom, centre (the centre only when CentreAllowed). The zone's preview, in client
// coordinates, is stored in Preview; a point outside the panel gives alNone and leaves Preview as it was.
TVkAlign DockZoneAt(int Width, int Height, TPoint P, bool CentreAllowed, TRect& Preview);

// The preview of a drop onto a collapsed edge panel of alignment Align whose client origin lies at
// screen point Origin: a strip as thick as the dragged window's undocked size along the panel's edge.
// Any other alignment keeps LayerRect.
TRect CollapsedDockRect(TVkAlign Align, TPoint Origin, int ClientWidth, int ClientHeight, int UndockWidth,
                        int UndockHeight, const TRect& LayerRect);

// Name unless Taken says (ignoring case is the caller's business) that it is in use; otherwise Name
// with its trailing number raised until a free one is found.
std::string UniqueSiteName(std::string_view Name, const std::function<bool(const std::string&)>& Taken);

// The caption of a site: the captions of its visible windows in docking order, joined by ", ".
std::string JoinCaptions(const std::vector<std::string>& Captions);

// The arrangement of docked windows as a tree: a leaf names one window (an index into the caller's
// list); an inner node lays out its children side by side (Horizontal) or above each other.
struct TVkDockLayoutNode {
    int Leaf = -1;
    bool Horizontal = false;
    std::vector<TVkDockLayoutNode> Children;

    bool IsLeaf() const { return Leaf >= 0; }
    int FirstLeaf() const { return IsLeaf() ? Leaf : Children.front().FirstLeaf(); }
    bool operator==(const TVkDockLayoutNode&) const = default;
};

// Reads the tree back from the windows' rectangles (at least one), which tile an area as nested rows
// and columns do; the gaps of splitters between them do not matter. Leaves keep the windows' order
// within each row or column. Rectangles that no straight cut separates are laid side by side.
TVkDockLayoutNode DockLayoutFromRects(const std::vector<TRect>& Rects);

// Tree with window NewLeaf placed beside the node that holds window Target (or beside the whole tree
// when Target is -1), on side Align (alLeft, alTop, alRight or alBottom).
TVkDockLayoutNode InsertDockLeaf(const TVkDockLayoutNode& Tree, int Target, int NewLeaf, TVkAlign Align);

}  // namespace sarnova
