// The Tarvo surface in the document: the generated-surface entity that owns one surface lofted
// through Tarvo curves, resolves their names over its document, keeps the list of definition curves
// and shows the row splines and the curves of the loft on demand.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "entities/GExtrudedSurface.h"
#include "entities/GSurface.h"
#include "hulls/TarvoSurface.h"

namespace sarnova {

// The name under which the GUI registers the property frame.
inline const char* const TarvoSurfaceFrameName = "TarvoSurfaceFrame";

class TGeoTarvoSurface : public TGeoSurface, public INodeManager {
public:
    // A new surface named "TarvoSurface1" whose names resolve over this entity's document.
    TGeoTarvoSurface();
    ~TGeoTarvoSurface() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoTarvoSurface>(); }
    static std::string GetKeyword() { return "TTarvoSurface"; }
    static std::string ClassDescription() { return "TarvoSurface"; }
    static int GetImageIndex() { return 73; }
    // "Create TarvoSurface" when every selected entity is a Tarvo curve; then the base's items.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // A new surface through the selected Tarvo curves, in document order, added to List.
    static TGeoTarvoSurface* CreateFromSelection(TGeometryList& List);

    TTarvoSurface& Surface() const { return *FSurface; }
    bool GetDrawBlends() const { return FDrawBlends; }
    bool GetDrawCurves() const { return FDrawCurves; }
    void SetDrawBlends(bool Value);
    void SetDrawCurves(bool Value);

    // ---- Names of the document's nodes ----
    TNode* FindNode(const std::string& Name) override;
    std::unique_ptr<TNodes> Nodes() override;
    // FindNode restricted to Tarvo curves.
    TTarvoCurve* FindCurve(const std::string& Name);

    // A curve of that name that the surface may take becomes a definition curve (one undoable
    // change); any other name is ignored.
    void AddDefinitionCurve(const std::string& Name);
    void RemoveDefinitionCurve(const std::string& Name);
    // The names of the document's Tarvo curves that the surface may take, in document order.
    std::vector<std::string> CandidateCurves();
    // The names of the Tarvo curve entities selected in the document, in document order.
    std::vector<std::string> SelectedCurveNames();

    // ---- Overrides ----
    TDataObject GetDataObject() override;
    std::uint8_t GetSelectionType() override { return 4; }
    TSurface* GetSurface() override;
    std::string GetName() const override;
    void SetName(const std::string& Value) override;
    void Recalculate() override;
    void Assign(const TGeometry& Source) override;
    void AfterListChange() override;
    void CreateRenderer() override;
    void AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void Query(TGeometryQuery& Query) override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void AddMenuItems(TMenuItem& Root) override;
    void UpdateMenuItems(TMenuItem& Root) override;
    // "[TTarvoSurface]", the surface block, the switches that are on, the colour, an empty line.
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;

    // The node of an entity whose data object is a node (a Tarvo curve or surface); nullptr for any
    // other entity and for nullptr.
    static TNode* NodeOf(TGeometry* Entity);
    // Nothing is selected but Tarvo curves (also when nothing is selected).
    static bool OnlyTarvoCurvesSelected(const TGeometryList& List);

protected:
    // An entity of a derived class over its own node, named Name.
    TGeoTarvoSurface(std::unique_ptr<TTarvoSurface> Node, const std::string& Name);
    // The selected Tarvo curves of List, in document order, become definition curves of Entity.
    static void AddSelectedCurves(TGeoTarvoSurface& Entity, TGeometryList& List);

    // The construction drawn before the surface: the row splines and the curves when asked for.
    virtual void DrawConstruction(IGraphics& View);
    // The popup items that show or hide the construction.
    virtual void AddConstructionMenuItems();
    // The display switches of the section, in their order, with their states.
    virtual std::vector<std::pair<const char*, bool>> Switches() const;
    // A switch of the section that this class does not know; the base ignores it.
    virtual void LoadSwitch(const std::string& Key, bool On) {}

    bool FDrawBlends = false;
    bool FDrawCurves = false;

private:
    template <class F>
    void Change(F Body);

    std::unique_ptr<TTarvoSurface> FSurface;
};

}  // namespace sarnova
