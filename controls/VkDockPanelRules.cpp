#include "controls/VkDockPanelRules.h"

#include <algorithm>

#include "foundation/TextUtils.h"

namespace sarnova {

bool GroupsCompatible(int A, int B) { return A == 0 || B == 0 || A == B; }

bool CanDockSource(int PanelGroup, int ChildCount, TVkDockSource Source, int SourceGroup) {
    switch (Source) {
        case TVkDockSource::ConjoinedSite:
            return ChildCount == 0 && GroupsCompatible(PanelGroup, SourceGroup);
        case TVkDockSource::TabbedSite:
        case TVkDockSource::ToolWindow:
            return GroupsCompatible(PanelGroup, SourceGroup);
        case TVkDockSource::Other:
            break;
    }
    return false;
}

namespace {

// Left and top edges belong to a rectangle, right and bottom do not.
bool Holds(int Left, int Top, int Right, int Bottom, TPoint P) {
    return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom;
}

}  // namespace

TVkAlign DockZoneAt(int Width, int Height, TPoint P, bool CentreAllowed, TRect& Preview) {
    const int W = Width, H = Height;
    const int W5 = W / 5, H5 = H / 5, W45 = 4 * W5, H45 = 4 * H5, W2 = W / 2, H2 = H / 2;
    if (!Holds(0, 0, W, H, P)) return alNone;
    struct TZone {
        TVkAlign Align;
        TRect Area;
        TRect Preview;
    };
    const TZone WithCentre[] = {
        {alLeft, {0, 0, W5, H}, {0, 0, W2, H}},
        {alTop, {W5, 0, W45, H5}, {0, 0, W, H2}},
        {alRight, {W45, 0, W, H}, {W2, 0, W, H}},
        {alBottom, {W5, H45, W45, H}, {0, H2, W, H}},
        {alClient, {W5, H5, W45, H45}, {W5, H5, W45, H45}},
    };
    const TZone WithoutCentre[] = {
        {alLeft, {0, H5, W2, H45}, {0, 0, W2, H}},
        {alTop, {0, 0, W, H5}, {0, 0, W, H2}},
        {alRight, {W2, H5, W, H45}, {W2, 0, W, H}},
        {alBottom, {0, H45, W, H}, {0, H2, W, H}},
    };
    auto Find = [&](const auto& Zones) {
        for (const TZone& Zone : Zones) {
            if (Holds(Zone.Area.Left, Zone.Area.Top, Zone.Area.Right, Zone.Area.Bottom, P)) {
                Preview = Zone.Preview;
                return Zone.Align;
            }
        }
        return alNone;
    };
    return CentreAllowed ? Find(WithCentre) : Find(WithoutCentre);
}

TRect CollapsedDockRect(TVkAlign Align, TPoint Origin, int ClientWidth, int ClientHeight, int UndockWidth,
                        int UndockHeight, const TRect& LayerRect) {
    const int X = Origin.X, Y = Origin.Y;
    switch (Align) {
        case alTop:
            return {X, Y, X + ClientWidth, Y + UndockHeight};
        case alBottom:
            return {X, Y - UndockHeight, X + ClientWidth, Y};
        case alLeft:
            return {X, Y, X + UndockWidth, Y + ClientHeight};
        case alRight:
            return {X - UndockWidth, Y, X, Y + ClientHeight};
        default:
            return LayerRect;
    }
}

std::string UniqueSiteName(std::string_view Name, const std::function<bool(const std::string&)>& Taken) {
    std::string Result(Name);
    while (Taken(Result)) Result = IncrementNameNumber(Result);
    return Result;
}

std::string JoinCaptions(const std::vector<std::string>& Captions) {
    std::string Result;
    for (const std::string& Caption : Captions) {
        if (!Result.empty()) Result += ", ";
        Result += Caption;
    }
    return Result;
}

namespace {

// Splits Indices into the runs that straight cuts across the X (or Y) axis separate, in order.
std::vector<std::vector<int>> CutRuns(const std::vector<TRect>& Rects, std::vector<int> Indices, bool AlongX) {
    auto Low = [&](int I) { return AlongX ? Rects[I].Left : Rects[I].Top; };
    auto High = [&](int I) { return AlongX ? Rects[I].Right : Rects[I].Bottom; };
    std::stable_sort(Indices.begin(), Indices.end(), [&](int A, int B) { return Low(A) < Low(B); });
    std::vector<std::vector<int>> Runs;
    int Reach = 0;
    for (int I : Indices) {
        if (Runs.empty() || Low(I) >= Reach) {
            Runs.emplace_back();
            Reach = High(I);
        }
        Runs.back().push_back(I);
        Reach = std::max(Reach, High(I));
    }
    return Runs;
}

TVkDockLayoutNode LayoutOf(const std::vector<TRect>& Rects, const std::vector<int>& Indices) {
    TVkDockLayoutNode Node;
    if (Indices.size() == 1) {
        Node.Leaf = Indices.front();
        return Node;
    }
    for (bool AlongX : {true, false}) {
        const auto Runs = CutRuns(Rects, Indices, AlongX);
        if (Runs.size() < 2) continue;
        Node.Horizontal = AlongX;
        for (const auto& Run : Runs) Node.Children.push_back(LayoutOf(Rects, Run));
        return Node;
    }
    // Overlapping windows: no cut exists, so put them in a row in the order of their left edges.
    Node.Horizontal = true;
    std::vector<int> Sorted = Indices;
    std::stable_sort(Sorted.begin(), Sorted.end(), [&](int A, int B) { return Rects[A].Left < Rects[B].Left; });
    for (int I : Sorted) Node.Children.push_back(LayoutOf(Rects, {I}));
    return Node;
}

bool InsertBeside(TVkDockLayoutNode& Node, int Target, const TVkDockLayoutNode& New, bool Horizontal, bool Before) {
    for (size_t I = 0; I < Node.Children.size(); ++I) {
        TVkDockLayoutNode& Child = Node.Children[I];
        if (Child.IsLeaf() && Child.Leaf == Target) {
            if (Node.Horizontal == Horizontal) {
                Node.Children.insert(Node.Children.begin() + static_cast<long>(Before ? I : I + 1), New);
            } else {
                TVkDockLayoutNode Pair;
                Pair.Horizontal = Horizontal;
                Pair.Children = Before ? std::vector{New, Child} : std::vector{Child, New};
                Child = std::move(Pair);
            }
            return true;
        }
        if (!Child.IsLeaf() && InsertBeside(Child, Target, New, Horizontal, Before)) return true;
    }
    return false;
}

}  // namespace

TVkDockLayoutNode DockLayoutFromRects(const std::vector<TRect>& Rects) {
    std::vector<int> Indices(Rects.size());
    for (size_t I = 0; I < Rects.size(); ++I) Indices[I] = static_cast<int>(I);
    return LayoutOf(Rects, Indices);
}

TVkDockLayoutNode InsertDockLeaf(const TVkDockLayoutNode& Tree, int Target, int NewLeaf, TVkAlign Align) {
    const bool Horizontal = Align == alLeft || Align == alRight;
    const bool Before = Align == alLeft || Align == alTop;
    TVkDockLayoutNode New;
    New.Leaf = NewLeaf;
    const bool WholeTree = Target < 0 || (Tree.IsLeaf() && Tree.Leaf == Target);
    if (!WholeTree) {
        TVkDockLayoutNode Result = Tree;
        if (InsertBeside(Result, Target, New, Horizontal, Before)) return Result;
    }
    if (!Tree.IsLeaf() && Tree.Horizontal == Horizontal) {
        TVkDockLayoutNode Result = Tree;
        Result.Children.insert(Before ? Result.Children.begin() : Result.Children.end(), New);
        return Result;
    }
    TVkDockLayoutNode Pair;
    Pair.Horizontal = Horizontal;
    Pair.Children = Before ? std::vector{New, Tree} : std::vector{Tree, New};
    return Pair;
}

}  // namespace sarnova
