// The parametric hull in the document: a Tarvo surface entity whose node is a parametric hull. It
// shows the hull's B-spline surface, its construction and its bulb, saves the hull with its
// parameters, and sets a parameter from a macro line "<name>.<parameter>=<expression>".
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "hulls/GTarvoSurface.h"
#include "hulls/TarvoHull.h"

namespace sarnova {

// The name under which the GUI registers the property frame.
inline const char* const TarvoHullFrameName = "TarvoHullFrame";

class TGeoTarvoHull : public TGeoTarvoSurface {
public:
    // A new hull named "TarvoHull1" whose names resolve over this entity's document.
    TGeoTarvoHull();

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoTarvoHull>(); }
    static std::string GetKeyword() { return "TTarvoHull"; }
    static std::string ClassDescription() { return "TarvoHull"; }
    static int GetImageIndex() { return 73; }
    // "Create TarvoHull" when every selected entity is a Tarvo curve.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // A new hull through the selected Tarvo curves, in document order, with its parameter lines shown,
    // added to List.
    static TGeoTarvoHull* CreateFromSelection(TGeometryList& List);

    TTarvoHull& Hull() const { return static_cast<TTarvoHull&>(Surface()); }
    bool GetDrawBulb() const { return FDrawBulb; }
    void SetDrawBulb(bool Value);

    // The Tarvo curve or surface of that name, the name compared without regard to case.
    TNode* FindNode(const std::string& Name) override;

    // Sets one parameter in one change of the entity; a failure of the change (a fit that cannot
    // start) propagates after the entity has taken in what did change.
    void SetParameter(int Index, double Value);
    void SetApplyBulb(bool Value);
    // The bulb surface is regrafted: the hull is rebuilt in one change.
    void UpdateBulbSurface();

    // ---- Overrides ----
    TDataObject GetDataObject() override;
    void Assign(const TGeometry& Source) override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateMenuItems(TMenuItem& Root) override;
    // "<entity>.<parameter>=<expression>": the text between the first "." and the first "=" names
    // the parameter, compared whole without regard to case. Colour and name go to the base; a line
    // that names no parameter is a macro error, "<entity> has no parameter <NAME>".
    bool ExecuteMacroCommand(TMacroFile& Macro) override;

protected:
    void DrawConstruction(IGraphics& View) override;
    void AddConstructionMenuItems() override;
    std::vector<std::pair<const char*, bool>> Switches() const override;
    void LoadSwitch(const std::string& Key, bool On) override;

private:
    // Runs a change of the hull's parameters in one recorded change of the hull and of the curves it
    // rests on, which its fit moves.
    void InFitChange(const std::function<void()>& Body);

    bool FDrawBulb = false;
};

}  // namespace sarnova
