// A document of curve-network curves for the tests: curves found by name, deleted as a document
// deletes them, and the info messages they report.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "curvenet/XTCurve.h"
#include "foundation/TextFile.h"

namespace sarnova::test {

// Curves of one document, found by name as the entities would present them.
class TCurveDocument : public IXTManager {
public:
    std::vector<std::unique_ptr<TXTCurve>> Curves;
    std::vector<TInfoMessage> Messages;

    ~TCurveDocument() override {
        // Curves resting on others go first, as a document deletes them.
        while (!Curves.empty()) Curves.pop_back();
    }

    TXTCurve* Add(const std::string& Name, const std::vector<TMVector>& Points, bool Interpolated = true) {
        Curves.push_back(std::make_unique<TXTCurve>());
        TXTCurve* C = Curves.back().get();
        C->SetName(Name);
        C->Manager = this;
        for (const TMVector& P : Points) C->AddPointAt(P);
        if (Interpolated) C->Constraints().Add(std::make_unique<TXTCubicSplineConstraint>());
        return C;
    }
    void Delete(TXTCurve* C) {
        std::erase_if(Curves, [C](const auto& Owned) { return Owned.get() == C; });
    }

    TXTNode* FindNode(const std::string& Name) override {
        for (auto& C : Curves)
            if (C->GetName() == Name) return C.get();
        return nullptr;
    }
    std::unique_ptr<TXTNodeList> Nodes() override {
        auto L = std::make_unique<TXTNodeList>();
        for (auto& C : Curves) L->Add(C.get());
        return L;
    }
    void AddInfoMessage(const TInfoMessage& M) override { Messages.push_back(M); }
    void ClearInfoMessages(const void*) override {}
};

// The curve's text block.
inline std::string Saved(TXTCurve& C) {
    TTextWriter W;
    C.SaveToText(W);
    return W.Text();
}

}  // namespace sarnova::test
