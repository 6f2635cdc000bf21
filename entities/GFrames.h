// The frames entity: the document's frame (station) numbering along x, which numbers typed as "#12"
// read. The document adds one when something asks for its frame table and it has none.
#pragma once
#include <string>

#include "document/Geometry.h"
#include "naval/Frames.h"

namespace sarnova {

class TGeoFrames : public TGeometry {
public:
    // Named "Frames", undoable, with the table "Frames 0 1" (frame n at x = n) drawn from x = -10
    // to 100.
    TGeoFrames();

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoFrames>(); }
    static std::string GetKeyword() { return "TFrames"; }
    static int GetMenuOrder() { return 1000; }
    static int GetImageIndex() { return 47; }

    TFrames& Frames() { return Table; }
    const TFrames& Frames() const { return Table; }

    TDataObject GetDataObject() override { return TDataObject::Of(&Table); }
    // A document keeps one frames entity: this one deletes itself when its table is empty or when its
    // list's frame table is another entity's. A list without a frame table (the clipboard) keeps it.
    void AfterListChange() override;
    // Also copies the source's table when it has ranges; the x limits of the scale stay.
    void Assign(const TGeometry& Source) override;
    // "[TFrames]", the table's definition and an empty line; nothing for an empty table. No name,
    // colour or display state is kept.
    void SaveToText(TTextWriter& Out) override;
    // Reads the definition line.
    void LoadFromText(TTextReader& In) override;

private:
    TFrames Table;
};

}  // namespace sarnova
