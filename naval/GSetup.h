// The hidden entity that keeps the permeability plot's view layout in the document, so that
// the plot's layout is saved with the project.
#pragma once
#include <string>

#include "document/Geometry.h"

namespace sarnova {

// The most characters a stored layout keeps, so that what is stored reads back the same.
inline constexpr std::size_t MaxSetupLayoutLength = 256;
inline constexpr const char* DefaultSetupLayout = "Z=1 Z=3 Z=5 Z=7 Z=10 Z=12 PROF";

// Named "Setup", always hidden, never selected; no geometry, no data object, no frame. It removes
// itself from its document once its layout text is empty or its name is no longer "Setup".
class TGeoSetup : public TGeometry {
public:
    TGeoSetup();
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoSetup>(); }
    static std::string GetKeyword() { return "TSetup"; }
    static int GetImageIndex() { return 59; }

    const std::string& GetViewLayout() const { return ViewLayout; }
    // A changed layout is one change of the entity (the document is modified); the text is
    // cut at MaxSetupLayoutLength characters.
    void SetViewLayout(const std::string& Value);

    void SetSelected(bool Value) override;
    void SetDisplayState(std::uint8_t Value) override;
    void Assign(const TGeometry& Source) override;
    TDataObject GetDataObject() override { return {}; }
    void AfterListChange() override;
    // "[TSetup]", "Setup=" and the layout, an empty line; nothing for an empty layout
    // or an entity that is due to remove itself (it stays in the list until the next list change, so
    // that the document's other entities are all written).
    void SaveToText(TTextWriter& Out) override;
    // One line: the layout is the text after its first "=", the whole line without one.
    void LoadFromText(TTextReader& In) override;

private:
    // The entity no longer belongs in the document.
    bool Obsolete() const;

    std::string ViewLayout = DefaultSetupLayout;
};

}  // namespace sarnova
