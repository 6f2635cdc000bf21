// Short builders of dock layout trees for the docking tests: Split(true, {Leaf(0), Leaf(1)}) is two
// windows side by side.
#pragma once
#include <utility>
#include <vector>

#include "controls/VkDockPanelRules.h"

namespace sarnova {

inline TVkDockLayoutNode Leaf(int N) {
    TVkDockLayoutNode Node;
    Node.Leaf = N;
    return Node;
}

inline TVkDockLayoutNode Split(bool Horizontal, std::vector<TVkDockLayoutNode> Children) {
    TVkDockLayoutNode Node;
    Node.Horizontal = Horizontal;
    Node.Children = std::move(Children);
    return Node;
}

}  // namespace sarnova
