// The test hull of TarvoHullFixture.h as a document: its seven sections as Tarvo curve entities and
// a hull entity made from them with "Create TarvoHull".
#pragma once
#include <cmath>
#include <memory>
#include <string>

#include "document/GeoFace.h"
#include "hulls/GTarvoCurve.h"
#include "hulls/GTarvoHull.h"
#include "hulls/TarvoHullFixture.h"
#include "platform/Menu.h"

namespace sarnova::test {

inline TGeoTarvoCurve& AddHullSection(TGeometryList& Doc, const std::string& Name, double X, double YScale,
                                      TSurfaceOperation Op = soControl) {
    auto T = std::make_unique<TGeoTarvoCurve>();
    for (const TMVector& P : HullSection(X, YScale)) T->Curve().AddPointVector(P);
    T->SetName(Name);
    T->Curve().SetSurfaceOperation(Op);
    return static_cast<TGeoTarvoCurve&>(*Doc.Add(std::move(T)));
}

// The curves, then the hull, which is the last entity of Doc; nullptr when the selection menu does
// not offer the command.
inline TGeoTarvoHull* MakeHullEntity(TGeometryInterface& Doc) {
    AddHullSection(Doc, "Stem", 100, 0);
    AddHullSection(Doc, "StemTangent", 92, 0.35, soTangent);
    TGeoTarvoCurve& Fore = AddHullSection(Doc, "ForeBoundary", 60, 1, soPanelBreak);
    AddHullSection(Doc, "Midship", 50, 1);
    TGeoTarvoCurve& Aft = AddHullSection(Doc, "AftBoundary", 40, 1, soPanelBreak);
    AddHullSection(Doc, "SternTangent", 8, 0.8, soTangent);
    AddHullSection(Doc, "Stern", 0, 0.7);
    for (int i = 0; i < Fore.Curve().Count(); ++i) {
        Fore.Curve().Point(i)->X += 1.5 * std::abs(i - 8);
        Aft.Curve().Point(i)->X -= 1.5 * std::abs(i - 8);
    }
    for (TGeoTarvoCurve* C : {&Fore, &Aft}) {
        TOffsetConstraint::Add(C->Curve());
        C->Curve().Constraints().OffsetConstraint()->ReferenceCurve().SetName("Midship");
        C->Curve().Constraints().OffsetConstraint()->SetAxis(oaX);
    }
    for (int i = 0; i < Doc.Count(); ++i) Doc.Items(i).SetSelected(true);
    TMenuItem Menu;
    TGeoTarvoHull::AddSelectionMenuItems(Menu, Doc);
    TMenuItem* Create = Menu.Find("Create TarvoHull");
    if (Create == nullptr) return nullptr;
    Create->Click();
    Doc.ApplyChanges();
    return dynamic_cast<TGeoTarvoHull*>(&Doc.Items(Doc.Count() - 1));
}

}  // namespace sarnova::test
