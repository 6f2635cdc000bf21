// A change of a curve that a whole network rests on: a layered graph of State.range(0) layers of 50
// nodes, each node resting on two neighbouring nodes of the layer below and the bottom layer on one
// root. One iteration changes the root, which tells every node once. The time per node (counter
// per_node) should not grow with the number of layers; walking every path instead would double
// the work with each layer.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "curvenet/XTNode.h"

namespace {

using sarnova::TXTNode;
using sarnova::TXTReference;

constexpr int Width = 50;

struct TLayeredGraph {
    std::vector<std::unique_ptr<TXTNode>> Nodes;  // the root first
    std::vector<std::unique_ptr<TXTReference>> Links;

    void Link(TXTNode* Owner, TXTNode* Target) {
        Links.push_back(std::make_unique<TXTReference>(Owner));
        Links.back()->SetTarget(Target);
    }

    explicit TLayeredGraph(int Layers) {
        Nodes.push_back(std::make_unique<TXTNode>());
        std::vector<TXTNode*> Below{Nodes[0].get()};
        for (int L = 0; L < Layers; ++L) {
            std::vector<TXTNode*> Layer;
            for (int J = 0; J < Width; ++J) {
                Nodes.push_back(std::make_unique<TXTNode>());
                TXTNode* N = Nodes.back().get();
                Link(N, Below[static_cast<std::size_t>(J) % Below.size()]);
                if (Below.size() > 1) Link(N, Below[static_cast<std::size_t>(J + 1) % Below.size()]);
                Layer.push_back(N);
            }
            Below = Layer;
        }
    }
    ~TLayeredGraph() {
        // Links go before the nodes they join.
        Links.clear();
    }
};

void BM_ChangeRootOfLayeredGraph(benchmark::State& State) {
    TLayeredGraph Graph(static_cast<int>(State.range(0)));
    long Told = 0;
    for (auto& N : Graph.Nodes) N->OnChange = [&Told](TXTNode*) { ++Told; };
    for (auto _ : State) Graph.Nodes[0]->Changed();
    const double Nodes = static_cast<double>(Graph.Nodes.size());
    State.counters["nodes"] = Nodes;
    State.counters["per_node"] = benchmark::Counter(Nodes * static_cast<double>(State.iterations()),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (Told != static_cast<long>(Nodes) * static_cast<long>(State.iterations()))
        State.SkipWithError("a node was told more than once");
}
BENCHMARK(BM_ChangeRootOfLayeredGraph)->Arg(5)->Arg(10)->Arg(20)->Arg(40);

}  // namespace
