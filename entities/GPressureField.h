// The pressure-field entity: a facet mesh coloured by pressure, read from documents (it has no
// creator), shaded through a renderer of its own, offered to queries as facets, with a property frame
// in which the colour range is narrowed, and turned into a plain polygon list on request.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "document/ShadedRenderer.h"
#include "entities/PressureField.h"

namespace sarnova {

// The name under which the GUI registers the pressure-field frame.
inline const char* const PressureFieldFrameName = "PressureFieldFrame";

// The renderer's own copies of a field, recoloured without being built again.
class IPressureFieldInstance {
public:
    virtual ~IPressureFieldInstance() = default;
    virtual void SetColourRange(double Minimum, double Maximum) = 0;
};

// A renderer holding one pressure-field instance over Field, and that instance (owned by the renderer).
struct TPressureFieldRendering {
    std::unique_ptr<IGLRenderer> Renderer;
    IPressureFieldInstance* Instance = nullptr;
};
// The maker the GUI registers; empty without a GUI, where the field keeps drawing its facets.
using TPressureFieldRendererCreator = std::function<TPressureFieldRendering(TPressureField& Field, bool Mirrored)>;
TPressureFieldRendererCreator& PressureFieldRendererCreator();

class TGeoPressureField : public TGeometry {
public:
    // An empty field; undoable and renderable.
    TGeoPressureField();
    ~TGeoPressureField() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoPressureField>(); }
    static std::string GetKeyword() { return "TPressureField"; }

    TPressureField& Field() const { return *FField; }
    double MinPressure() const { return FField->MinPressure; }
    double MaxPressure() const { return FField->MaxPressure; }
    double ColourMin() const { return FField->ColourMin; }
    double ColourMax() const { return FField->ColourMax; }

    // Recolours the field and the renderer's copies and redraws; a display setting, not a change (no
    // undo step, not saved).
    void SetColourRange(double Minimum, double Maximum);
    // Replaces this entity by a polygon list of its facets in their colours, as one undo step. This
    // entity is freed: nothing may touch it afterwards.
    void ExtractPolygons();

    // ---- Overrides ----
    TDataObject GetDataObject() override { return TDataObject::Of(FField.get()); }
    // "-", "Extract Polygons".
    void AddMenuItems(TMenuItem& Root) override;
    TMBox CalculateExtents() override { return FField->Extents(); }
    // The pressure-field frame when the GUI has one, else the default frame.
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    // Pressures, colours and the range stay.
    void Transform(const TMMatrix& M) override;
    // The facets with their colours and the four range values, so that a copy keeps its scale.
    void Assign(const TGeometry& Source) override;
    // Over the facet corners on screen.
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;
    // The facets filled in their colours.
    void Draw(IGraphics& View) override { FField->DrawFilled(View); }
    void DrawOutline(IGraphics& View) override { FField->Draw(View); }
    void DrawSimplified(IGraphics& View) override { DrawBox(View); }
    // "[TPressureField]", the field's lines, "Name=" when named and an empty line.
    void SaveToText(TTextWriter& Out) override;
    // The field's lines, then key lines up to an empty line; only a key exactly "Name" (not trimmed,
    // letter case kept) is read, and its value is taken as it is.
    void LoadFromText(TTextReader& In) override;
    // A plain copy of the facets, whatever the purpose.
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void CreateRenderer() override;
    void FreeRenderer() override;
    // Polygon-list queries get the field itself.
    void Query(TGeometryQuery& Query) override;

    IPressureFieldInstance* GetRendererInstance() const { return RendererInstance; }

private:
    IPressureFieldInstance* RendererInstance = nullptr;
    std::unique_ptr<TPressureField> FField;
};

}  // namespace sarnova
