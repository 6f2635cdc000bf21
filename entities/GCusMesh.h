// The base of the surface entities whose shape is a rectangular net of control points: editing the
// whole net, one U line or one V line, dragging the selected points, inserting and deleting net
// lines, drawing the net while it is edited, and the entity block shared by the net kinds.
#pragma once
#include <cstdint>
#include <memory>

#include "entities/GSurface.h"

namespace sarnova {

class TMesh;
struct TBlockLine;

// The name under which the GUI registers the property frame of control-net entities.
inline const char* const MeshFrameName = "MeshFrame";

// The property frame of a control-net entity.
class IMeshFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    // Only the grid rows of the selected points (while they are dragged).
    virtual void RefreshSelectedRows() = 0;
};

// Edit views: all points, one U line, one V line (the values of the frame selector's views).
inline constexpr std::uint8_t mvUV = 0;
inline constexpr std::uint8_t mvU = 1;
inline constexpr std::uint8_t mvV = 2;

class TGeoCustomMesh : public TGeoDraggableSurface {
public:
    TGeoCustomMesh();
    ~TGeoCustomMesh() override;

    TDataObject GetDataObject() override;
    // Not editing, or in the all-points view: every net point in list order; else the points of the
    // edited line.
    int GetPointCount() override;
    TRPoint* GetPoint(int Index) override;
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    TMBox CalculateExtents() override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    // Large nets draw their extents box only.
    void DrawSimplified(IGraphics& View) override;
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void UpdateFrame() override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    // Every selected point goes to its position at the drag start plus Offset.
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;
    TSurface* GetSurface() override;

    // Whether the net may change its line structure; a B-spline surface asks the user.
    virtual bool CanChangeNet() { return true; }
    virtual void SetEditView(std::uint8_t View);
    virtual void DrawEditNet(IGraphics& View);

    TMesh& Net() const { return *FNet; }
    IMeshFrame* MeshFrame() const { return dynamic_cast<IMeshFrame*>(GetFrame()); }
    std::uint8_t GetEditView() const { return EditView; }
    // The edited line, always on the net: a change of the net (a flip of U and V, the undo of an
    // inserted line) may leave fewer lines than the index last set, and the last line is then edited.
    int GetEditIndex() const;
    // Index is taken into 0 .. the line count - 1.
    void SetEditIndex(int Index);
    int SelectedPointCount();
    // Line operations, each one change of the entity. A delete that would leave fewer than two lines
    // in its direction changes nothing.
    void InsertU(int Index);
    void InsertV(int Index);
    void DeleteU(int Index);
    void DeleteV(int Index);
    void DeleteEditedLine();
    void ReverseU();
    void ReverseV();
    void SwapUV();
    // The points of the edited line (views U and V only): the point shown in row Row of the line
    // (0-based), nullptr outside it; and one coordinate (Axis 0 to 2) set on every point of the line,
    // as one change.
    TRPoint* EditedLinePoint(int Row) const;
    void SetEditedLineCoordinate(int Axis, double Value);

protected:
    // The subclass owns the net and hands it over here once constructed.
    void SetNet(TMesh* Net) { FNet = Net; }
    // Opens the net's knots before its line structure changes (B-spline nets).
    virtual void OpenKnots() {}
    // Keys of a subclass, written after "Mirrored=" and before "Color=".
    virtual void SaveExtraKeys(TTextWriter&) {}
    // True when the subclass took the key.
    virtual bool LoadExtraKey(const TBlockLine&) { return false; }

private:
    // Changes the net's lines in one undoable step. A change that adds or removes lines needs Open
    // knots (the user is asked); one that only reorders them (KeepsKnots) carries any knots over exactly.
    template <class F>
    void ChangeLines(F Change, bool KeepsKnots = false);
    // The lines of the edit view's direction; 0 in the all-points view.
    int EditLineCount() const;
    // Draws the edited lines and handles; with colours unless Plain.
    void DrawNetLines(IGraphics& View, bool Plain);

    TMesh* FNet = nullptr;
    std::unique_ptr<TMesh> DragStart;
    int EditIndex = 0;
    std::uint8_t EditView = mvUV;
};

}  // namespace sarnova
