// Flooding openings: the area through which water passes between two spaces of the damage-stability
// model (two groups, or a group and the sea). An opening is stored as sections, short polylines laid
// across it side by side, and a connection naming the two spaces, the direction of flow, the time at
// which the opening opens and the head of water at which it fails. This module holds the value
// objects the macro blocks fill in, the constructions of the sections from a boundary or from the
// hull, and the opening entity itself.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "document/Geometry.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"

namespace sarnova {

class TGeometryReference;

// The name under which the GUI registers the opening frame.
inline const char* const OpeningFrameName = "OpeningFrame";

// One axis extent of a rectangle: set either by location and extent or by minimum and maximum.
class TExtent {
public:
    // 0 not set yet, 1 location and extent, 2 minimum and maximum.
    std::uint8_t ExtentType = 0;
    double Min = 0;
    double Max = 0;

    double Location() const { return (Min + Max) / 2; }
    double Extent() const { return Max - Min; }
    // Keeps the extent and centres it at V.
    void SetLocation(double V);
    // Keeps the location.
    void SetExtent(double E);
    void SetMin(double V);
    void SetMax(double V);
    // Throws EGeometryError when the axis was already set the other way.
    void SetExtentType(std::uint8_t T);
};

// A flat rectangle given by three axis extents: exactly one of them is 0, the other two positive.
class TRectangleExtents {
public:
    TExtent X, Y, Z;

    TExtent& Axis(int Index) { return Index == 0 ? X : Index == 1 ? Y : Z; }
    // False (or the error when Raise) for a negative extent or not exactly one zero extent.
    bool CheckValidity(bool Raise) const;
    // 0, 1 or 2 for the flat axis; raises for an invalid rectangle.
    int FlatAxis() const;
    // The closed five-point outline at the flat axis's location; raises for an invalid rectangle.
    std::unique_ptr<TPolyline> Boundary() const;
};

// The connection of an opening: two space names ("SEA" in any case names the sea), the direction of
// flow (0 A to B "->", 1 B to A "<-", 2 both ways "<->"), the opening time and the collapse head.
class TConnection {
public:
    virtual ~TConnection() = default;

    std::uint8_t Direction = 2;
    double OpeningTime = 0;
    double HeadOfWater = 0;

    virtual std::string GetEndA() const { return FEndA; }
    virtual std::string GetEndB() const { return FEndB; }
    virtual void SetEndA(const std::string& Name) { FEndA = Name; }
    virtual void SetEndB(const std::string& Name) { FEndB = Name; }
    virtual void Assign(const TConnection& Other);

    std::string DirectionText() const;
    // "A -> B".
    std::string Text() const;
    // Reads "A <-> B", "A->B", "A <- B"; a missing end is an empty name. Throws EGeometryError
    // "Connection argument is not one of <-, ->, <->" for a text without "-".
    void Parse(const std::string& Text);
    // Name equals one of the ends, letter case ignored.
    bool Involves(const std::string& Name) const;

private:
    std::string FEndA, FEndB;
};

// The connection held by an opening entity: its ends are references to entities of the opening's
// document, resolved by name when first needed, following renames and cleared when the entity goes.
class TReferenceConnection : public TConnection {
public:
    explicit TReferenceConnection(TGeometry* Owner);
    ~TReferenceConnection() override;

    TGeometry* GroupA();
    TGeometry* GroupB();
    std::string GetEndA() const override;
    std::string GetEndB() const override;
    void SetEndA(const std::string& Name) override;
    void SetEndB(const std::string& Name) override;
    void Assign(const TConnection& Other) override;

private:
    std::unique_ptr<TGeometryReference> RefA, RefB;
};

// An opening given by a closed boundary, cut into sections stacked along SearchAxis (0 x, 1 y, 2 z).
class TBoundaryOpening {
public:
    virtual ~TBoundaryOpening() = default;

    std::unique_ptr<TPolyline> Boundary = std::make_unique<TPolyline>();
    int SearchAxis = 0;
    int SectionCount = 7;
    TConnection Connection;
    bool Reflect = false;
    std::string Name;
    std::unique_ptr<TRPoint> Normal;

    virtual TPolyline* GetBoundary() { return Boundary.get(); }
};

// A flat rectangle given by extents.
class TOpening : public TBoundaryOpening {
public:
    TRectangleExtents Extents;
    // Replaces Boundary by the rectangle's outline.
    TPolyline* GetBoundary() override;
};

// A strip of the hull between two stations and optional top and bottom profiles.
class TRectangleOpening {
public:
    virtual ~TRectangleOpening() = default;

    double Length = 0;
    double Location = 0;
    std::unique_ptr<TPolyline> Top = std::make_unique<TPolyline>();
    std::unique_ptr<TPolyline> Bottom = std::make_unique<TPolyline>();
    int SectionCount = 7;
    std::unique_ptr<TPolygonList> HullPolygons;
    std::string HullName, Name;
    TConnection Connection;
    bool Reflect = false;
    std::unique_ptr<TRPoint> Normal;
};

// A side damage of given length reaching a transverse penetration at mid-length.
class TSolasOpening : public TRectangleOpening {
public:
    double Draught = 0;
    // A number, or "B" and the divisor of the waterline breadth.
    std::string Penetration;
};

// ---- The entity ----

class TGeoOpening : public TGeometry {
public:
    TGeoOpening();
    ~TGeoOpening() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoOpening>(); }
    static std::string GetKeyword() { return "TOpening"; }
    static int GetImageIndex() { return 58; }
    // The BOUNDARYOPENING, OPENING, RECTANGLEOPENING and SOLASOPENING blocks (GOpeningMacro.cpp).
    static bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List);
    // "Show Openings Normals" and "Hide Openings Normals" when every selected entity is an opening.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);

    TPolylineList& Sections() const { return *FSections; }
    TReferenceConnection& Connection() const { return *FConnection; }
    bool GetShowNormal() const { return ShowNormal; }
    int GetCurrentSection() const { return CurrentSection; }

    bool ConnectsGroup(const std::string& Name) const { return FConnection->Involves(Name); }
    // Nothing outside 0 .. sections - 1.
    void SetCurrentSection(int Index);
    void SetShowNormal(bool Value);
    void ToggleShowNormal() { SetShowNormal(!ShowNormal); }

    // Every section a line of at least two points, neighbours running the same way.
    void UnifySections();
    // The unit normal (B1 - A0) x (B0 - A1) of the first section A and the last B.
    TMVector Normal() const;
    // Reverses the order of the sections, which turns the normal.
    void FlipNormal();
    // Flips when the normal points more than 90 degrees away from Wanted.
    void OrientToNormal(const TMVector& Wanted);
    void DrawNormal(IGraphics& View);
    // Replaces the opening in its document by a polyline list of its sections.
    void ConvertToPolylineList();

    // ---- Connection edits of the frame, each one change of the entity ----
    void SetEndA(const std::string& Name);
    void SetEndB(const std::string& Name);
    void SetDirection(std::uint8_t Value);
    void SetHeadOfWater(double Value);
    void SetOpeningTime(double Value);

    // ---- Section edits of the frame, each one change ----
    // Removes the current section while more than three remain.
    void DeleteCurrentSection();
    // Coordinate (0 x, 1 y, 2 z) of point Index of the current section.
    void SetSectionPoint(int Index, int Coordinate, double Value);
    // Before point Index: 2 P0 - P1 before the first, else the midpoint of its neighbours.
    void InsertPointBefore(int Index);
    // After point Index: 2 Pn - Pn-1 after the last, else the midpoint of its neighbours.
    void InsertPointAfter(int Index);
    // Removes point Index of the current section while it keeps at least two points.
    void DeleteSectionPoint(int Index);

    TDataObject GetDataObject() override { return {}; }
    TMBox CalculateExtents() override;
    void Assign(const TGeometry& Source) override;
    void Transform(const TMMatrix& M) override;
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override;
    void HandleMessage(TGeoMessage& Message) override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void AddMenuItems(TMenuItem& Root) override;
    void UpdateMenuItems(TMenuItem& Root) override;
    // "Name.OPENINGTIME=" and "Name.COLLAPSEHEAD=" besides the base commands.
    bool ExecuteMacroCommand(TMacroFile& Macro) override;
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;

private:
    template <class F>
    void Change(F Body);
    TPolyline* Current() const;

    std::unique_ptr<TPolylineList> FSections;
    std::unique_ptr<TReferenceConnection> FConnection;
    bool ShowNormal = false;
    int CurrentSection = 0;
};

// ---- Constructions ----

// The opening of a boundary or extents description, not yet in a document.
std::unique_ptr<TGeoOpening> CreateOpeningFromBoundary(TBoundaryOpening& Description);
// Shortens Section where it crosses Boundary seen in the XZ plane (AxisCode 2) or XY plane (0, 1):
// Side 1 keeps what lies beyond the crossing, -1 what lies before it. Several crossings write
// "Line.geo", "Boundary.geo" and "CutError.geo" into the temporary folder and raise
// "GOpening:CutToBoundary - Multiple intersections".
void CutToBoundary(TPolyline& Section, TPolyline& Boundary, int Side, int AxisCode);

// Hull openings (GOpeningHull.cpp).
std::unique_ptr<TGeoOpening> CreateRectangleOpening(TRectangleOpening& Description);
std::unique_ptr<TGeoOpening> CreateSolasOpening(TSolasOpening& Description);
// Removes repeated points and every point after the first with the greatest y + z.
void TrimSectionAtDeckEdge(TPolyline& Section);
// The starboard half of a cut that runs round both sides of a whole hull: from where it crosses the
// centre plane lowest (the keel) out along the positive side until it comes back to the centre
// plane; nullptr for a cut that stays on one side.
std::unique_ptr<TPolyline> StarboardHalfOfCut(const TPolyline& Cut);
// The hull's contour at height Z as one polyline.
std::unique_ptr<TPolyline> HullWaterline(const TPolygonList& Hull, double Z);
// The hull's trace in the plane that M carries onto x = 0.
std::unique_ptr<TPolyline> SlantedHullCut(const TPolygonList& Hull, const TMMatrix& M);
// The transverse sections of the hull at N stations evenly spread over Location -+ Length / 2.
std::unique_ptr<TPolylineList> HullOpeningSections(const TPolygonList& Hull, double Location, double Length, int N);

}  // namespace sarnova
