// The frames entity: the document's frame (station) numbering along x, which numbers typed as "#12"
// read. The document adds one when something asks for its frame table and it has none. It shows the
// numbering as a scale along the x axis with a label at every tenth frame, offers the frame positions
// to snapping, and is set from the FRAMES macro line and from its property frame.
#pragma once
#include <functional>
#include <string>

#include "document/Geometry.h"
#include "document/Frames.h"

namespace sarnova {

// The name under which the GUI registers the frames entity's property frame.
inline const char* const FramesFrameName = "FramesFrame";

class TGeoFrames : public TGeometry {
public:
    // Named "Frames", undoable, with the table "Frames 0 1" (frame n at x = n) drawn from x = -10
    // to 100.
    TGeoFrames();

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoFrames>(); }
    static std::string GetKeyword() { return "TFrames"; }
    static int GetMenuOrder() { return 1000; }
    static int GetImageIndex() { return 47; }
    // "&Frames...": the document's frames entity, made when missing, becomes the selection.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);
    // "FRAMES <origin> <spacing> [<frame> <spacing> ...]" (first word in any case) sets the document's
    // table, adding the frames entity when there is none.
    static bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List);

    TFrames& Frames() { return Table; }
    const TFrames& Frames() const { return Table; }

    // The definition as the property frame shows it: without its first word ("0 1" for the default).
    std::string DefinitionText() const;
    // Sets the table from a definition without its first word, as one change. A definition the table
    // refuses throws its error and leaves the table as it was; the entity is drawn again either way.
    void UpdateDefinition(const std::string& Text);
    // Sets the table from a whole definition line (the first word is not read), as one change; a
    // refused definition throws and leaves the table as it was.
    void SetDefinition(const std::string& Line);

    // The whole frames of the table between the frame numbers of its x limits, each rounded to the
    // nearest whole frame, in increasing order; Visit answers false to stop.
    void VisitShownFrames(const std::function<bool(int Frame, double X)>& Visit) const;

    TDataObject GetDataObject() override { return TDataObject::Of(&Table); }
    // A separator and "Show Frames" (checked), which deselects and hides the entity.
    void AddMenuItems(TMenuItem& Root) override;
    // A document keeps one frames entity: this one deletes itself when its table is empty or when its
    // list's frame table is another entity's. A list without a frame table (the clipboard) keeps it.
    void AfterListChange() override;
    // The frame position nearest to the pick ray, as a point, when points are snapped to.
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    // The table carried along x by the matrix's x row, as one change.
    void Transform(const TMMatrix& M) override;
    // Also copies the source's table when it has ranges; the x limits of the scale stay.
    void Assign(const TGeometry& Source) override;
    // The smallest pixel distance to a shown frame's point on the x axis; 1e33 when hidden or
    // without ranges.
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;
    // The scale, then the labels of every tenth frame in window pixels under the long ticks.
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    // The scale only.
    void DrawSimplified(IGraphics& View) override;
    // "[TFrames]", the table's definition and an empty line; nothing for an empty table. No name,
    // colour or display state is kept.
    void SaveToText(TTextWriter& Out) override;
    // Reads the definition line.
    void LoadFromText(TTextReader& In) override;
    void UpdateFrame() override;
    // After a list or entity change the scale spans the document's x extents when they exceed 10,
    // else -10 to 100.
    void HandleMessage(TGeoMessage& Message) override;

private:
    void DrawLabels(IGraphics& View);

    TFrames Table;
};

}  // namespace sarnova
