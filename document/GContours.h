// The document's contour set as a hidden entity, so that it is saved with the document: the planes at
// which entities with their contours switched on draw contour lines. A document keeps at most one,
// named "Contours"; any other removes itself at the next list change.
#pragma once
#include <memory>
#include <string>

#include "document/Geometry.h"

namespace sarnova {

class TContours;

class TGeoContours : public TGeometry {
public:
    // Named "Contours", hidden, left out of scale plots and the entity tree.
    TGeoContours();
    ~TGeoContours() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoContours>(); }
    // The class name of the contour set, which opens the block.
    static std::string GetKeyword() { return "TContours"; }
    // "&Contours..." (the setup dialog) and "Contours &Off" (every entity's contours hidden).
    static void AddToolsMenuItems(TMenuItem& Menu, TGeometryList& List);

    // The contour set. (It hides the entity's contour overlay of the same name, which this entity
    // never shows.)
    TContours& Contours() { return *FContours; }

    TDataObject GetDataObject() override;
    // Never selected.
    void SetSelected(bool Value) override;
    // Always hidden.
    void SetDisplayState(std::uint8_t Value) override;
    // Clears an axis that holds a lone contour at exactly 0 (what the dialog leaves when everything
    // was deleted), then removes the entity when its set became empty, when it is not named
    // "Contours", or when it is not the list's contour set (another one comes first).
    void AfterListChange() override;
    // The base copy and, from another contours entity, its set.
    void Assign(const TGeometry& Source) override;
    // "[TContours]", the set's block and an empty line; nothing at all for an empty set, or for an
    // entity that the check above would remove (it is removed at the next list change, not in the
    // middle of the list's walk).
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;

private:
    // The check of AfterListChange: false when the entity should go.
    bool CleanUp();

    std::unique_ptr<TContours> FContours;
};

// The set of the first contours entity of List; nullptr when it has none.
TContours* FindListContours(const TGeometryList& List);
// The same, a contours entity made and added when there is none: the document's contour settings.
// nullptr when the new entity did not stay (a list whose GetContours does not answer with it).
TContours* ListContours(TGeometryList& List);

}  // namespace sarnova
