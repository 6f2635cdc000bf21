// A small parametric hull for the tests and benchmarks: seven sections of one shape (a flat bottom,
// a bilge of radius 2 and a flat side, 16 points from keel to deck), 100 long, 8 deep, 16 broad.
// The two boundaries of the parallel middle body are offset copies of the midship section, their
// bilge at x = 60 and 40 and their keel and deck points 12 and 10.5 further out, so the hull has three panels,
// both flat-tangent controls and both volume controls.
#pragma once
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "hulls/TarvoHull.h"

namespace sarnova::test {

// The section at station X, its breadth scaled by YScale: points 0..6 on the bottom, 7..9 round the
// bilge, 10..15 up the side to the deck at z = 8.
inline std::vector<TMVector> HullSection(double X, double YScale) {
    const double s = std::sin(std::numbers::pi / 6), c = std::cos(std::numbers::pi / 6);
    std::vector<TMVector> P;
    for (int i = 0; i <= 6; ++i) P.push_back({X, YScale * i, 0});
    P.push_back({X, YScale * (6 + 2 * s), 2 * (1 - c)});
    P.push_back({X, YScale * (6 + 2 * c), 2 * (1 - s)});
    P.push_back({X, YScale * 8, 2});
    for (int i = 1; i <= 6; ++i) P.push_back({X, YScale * 8, 2.0 + i});
    return P;
}

// The curves of a small document and one hull over them, whose names all resolve here.
class TTestHull : public INodeManager {
public:
    std::vector<std::unique_ptr<TTarvoCurve>> Curves;
    std::unique_ptr<TTarvoHull> Hull = std::make_unique<TTarvoHull>();

    // Three panels unless Panels is 2 (then the aft boundary is an ordinary offset section).
    explicit TTestHull(int Panels = 3) {
        Hull->Name = "Hull";
        Hull->SetManager(this);
        Make("Stem", HullSection(100, 0));
        Make("StemTangent", HullSection(92, 0.35)).SetSurfaceOperation(soTangent);
        TTarvoCurve& Fore = Make("ForeBoundary", HullSection(60, 1));
        Make("Midship", HullSection(50, 1));
        TTarvoCurve& Aft = Make("AftBoundary", HullSection(40, 1));
        Make("SternTangent", HullSection(8, 0.8)).SetSurfaceOperation(soTangent);
        Make("Stern", HullSection(0, 0.7));
        // The flats of bottom and side carry on past the bilge, which marks the end of the body.
        for (int i = 0; i < Fore.Count(); ++i) {
            const double Beyond = 1.5 * std::abs(i - 8);
            Fore.Point(i)->X += Beyond;
            Aft.Point(i)->X -= Beyond;
        }
        Offset(Fore);
        Offset(Aft);
        Fore.SetSurfaceOperation(soPanelBreak);
        if (Panels != 2) Aft.SetSurfaceOperation(soPanelBreak);
        for (auto& C : Curves) Hull->ReferenceCurves().Add(C.get());
    }
    ~TTestHull() override {
        Hull.reset();
        Curves.clear();
    }

    TTarvoCurve& Make(const std::string& Name, const std::vector<TMVector>& Points) {
        auto C = std::make_unique<TTarvoCurve>();
        C->Name = Name;
        C->SetManager(this);
        for (const TMVector& P : Points) C->AddPointVector(P);
        Curves.push_back(std::move(C));
        return *Curves.back();
    }
    // A copy of the midship section free along x.
    void Offset(TTarvoCurve& C) {
        TOffsetConstraint::Add(C);
        TOffsetConstraint& O = *C.Constraints().OffsetConstraint();
        O.ReferenceCurve().SetName("Midship");
        O.SetAxis(oaX);
    }
    TTarvoCurve& Curve(const std::string& Name) { return *static_cast<TTarvoCurve*>(FindNode(Name)); }
    TNode* FindNode(const std::string& Name) override {
        for (auto& C : Curves)
            if (C->Name == Name) return C.get();
        return nullptr;
    }
    std::unique_ptr<TNodes> Nodes() override {
        auto List = std::make_unique<TNodes>();
        for (auto& C : Curves) List->Add(C.get());
        return List;
    }
};

}  // namespace sarnova::test
