// How the rest of the program asks entities for something without knowing their classes: queries for
// the kernel objects they hold, object-snap requests, menu items that remember their document, and
// the texts of the option sets that the settings keep in the registry.
#pragma once
#include <bitset>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/Geometry.h"
#include "platform/Menu.h"
#include "foundation/Types.h"

namespace sarnova {

// ---- Option sets ----

// A document's modelling switches, combined as bits.
enum TProjectOption : std::uint8_t { poGridSnap = 1, poObjectSnap = 2, po3DEditing = 4, poHighlight = 8 };
using TProjectOptions = std::uint8_t;

// Snap kinds: element numbers of TSnapOptions; a lower kind beats a higher one. Kinds 0 and 3 (the
// points of curve-network curves) have no name of their own: stPoint and stCurve switch them.
enum TSnapKind : std::uint8_t {
    stPoint = 1,
    stPolygonList = 2,
    stCurve = 4,
    stSurfaceEdge = 5,
    stSurface = 6,
    stPolylineList = 7,
};
inline constexpr std::uint8_t stCurveNetPoint = 0;
inline constexpr std::uint8_t stCurveNetCurve = 3;
using TSnapOptions = std::bitset<256>;

// Highlight groups: element n is the entity selection type n; bit n of THighlightGroups.
enum THighlightGroup : std::uint8_t {
    hgPolyline = 1,
    hgCurve = 2,
    hgBSplineCurve = 3,
    hgSurface = 4,
    hgMesh = 5,
    hgBSplineSurface = 6,
    hgPolylineList = 7,
    hgPolygons = 8,
};
using THighlightGroups = std::uint16_t;

// The option sets as the registry stores them: "[", the member names joined by ", ", "]". Reading
// takes every name that stands in the text as a whole name (exact case, no letter or digit on either
// side); "stPoint" also adds kind 0 and "stCurve" kind 3.
std::string ProjectOptionsToText(TProjectOptions Options);
TProjectOptions TextToProjectOptions(std::string_view Text);
std::string SnapOptionsToText(const TSnapOptions& Options);
TSnapOptions TextToSnapOptions(std::string_view Text);
std::string HighlightGroupsToText(THighlightGroups Groups);
THighlightGroups TextToHighlightGroups(std::string_view Text);

// ---- Queries ----

// Kinds of kernel object a query asks for: element n of TGeometryQuery::Kinds is bit n. Elements 14
// to 31 are answered by no entity.
inline constexpr int qkPointCloud = 0;
inline constexpr int qkCircle = 1;
inline constexpr int qkArc = 2;
inline constexpr int qkPlane = 3;
inline constexpr int qkPolyline = 4;         // a curve's display polyline, or each of a polyline list
inline constexpr int qkCurve = 5;            // a curve in its own kernel form
inline constexpr int qkBSplineCurve = 6;     // a curve as a B-spline, made for the query if need be
inline constexpr int qkSampledMesh = 7;      // a mesh sampled from each surface, made for the query
inline constexpr int qkSurface = 8;          // each kernel surface (also 9)
inline constexpr int qkSurfaceList = 10;     // the entity's surfaces as a whole (also 11)
inline constexpr int qkPolygonList = 12;     // facets; sampled ones are made for the query
inline constexpr int qkPolylineList = 13;

constexpr std::uint32_t QueryKinds(std::initializer_list<int> Elements) {
    std::uint32_t Set = 0;
    for (int E : Elements) Set |= std::uint32_t{1} << E;
    return Set;
}

// One object collected by a query, with the name of the entity that gave it. An item that owns its
// object (made for the query) frees it with itself; a reference stays the entity's.
class TGeometryQueryItem {
public:
    TGeometryQueryItem(std::string AName, TDataObject AInstance, std::function<void()> AFree);
    ~TGeometryQueryItem();
    TGeometryQueryItem(const TGeometryQueryItem&) = delete;
    TGeometryQueryItem& operator=(const TGeometryQueryItem&) = delete;

    std::string Name;
    TDataObject Instance;
    bool Owned() const { return static_cast<bool>(Free); }
    // The object when it is exactly a T, else nullptr.
    template <class T>
    T* As() const {
        return Instance.Type != nullptr && *Instance.Type == typeid(T) ? static_cast<T*>(Instance.Object) : nullptr;
    }

private:
    std::function<void()> Free;
};

// A request that entities answer with their kernel objects of the kinds asked for, or with a count.
// Callers fill Kinds and CountOnly, run TGeometryList::Query and read the items or Count().
//
// An entity's Query: when Kinds holds none of its kinds, nothing; in count-only mode CountItem once;
// otherwise, for the first of its kinds (in its own order of preference) that the query asks for, it
// adds its object or each of its objects under its own name: objects it keeps with AddReference,
// objects made for the query with AddInstance. A group passes the query on to its members.
class TGeometryQuery {
public:
    TGeometryQuery() = default;
    ~TGeometryQuery() { Clear(); }
    TGeometryQuery(const TGeometryQuery&) = delete;
    TGeometryQuery& operator=(const TGeometryQuery&) = delete;

    std::uint32_t Kinds = 0;
    bool CountOnly = false;

    bool Asks(int Kind) const { return Kind >= 0 && Kind < 32 && (Kinds >> Kind) & 1u; }
    // The first of Preferred that the query asks for; -1 when none.
    int FirstAsked(std::initializer_list<int> Preferred) const;

    // The matches counted in count-only mode, else the items collected.
    int Count() const { return CountOnly ? Matches : static_cast<int>(Items.size()); }
    TGeometryQueryItem& Item(int Index) const;
    TGeometryQueryItem* First() const { return Items.empty() ? nullptr : Items.front().get(); }
    // Frees every item, and so every object made for the query.
    void Clear() { Items.clear(); }

    // Appends an object the entity keeps. Throws in count-only mode.
    template <class T>
    void AddReference(T* Object, const std::string& Name) {
        CheckCollecting("TGeometryQuery.AddReference - Querying Object data Only, Cannot Add Reference");
        Items.push_back(std::make_unique<TGeometryQueryItem>(Name, TDataObject::Of(Object), nullptr));
    }
    // Appends an object made for this query, which the query frees. Throws in count-only mode.
    template <class T>
    void AddInstance(std::unique_ptr<T> Object, const std::string& Name) {
        CheckCollecting("TGeometryQuery.AddReference - Querying Object data Only, Cannot Add Instance");
        const TDataObject Data = TDataObject::Of(Object.get());
        T* Raw = Object.release();
        Items.push_back(std::make_unique<TGeometryQueryItem>(Name, Data, [Raw] { delete Raw; }));
    }
    void CountItem() { ++Matches; }
    // The sampling purpose entities pass when they make meshes or facets for a query.
    static int Resolution() { return 4; }

private:
    void CheckCollecting(const char* Message) const;

    std::vector<std::unique_ptr<TGeometryQueryItem>> Items;
    int Matches = 0;
};

// ---- Snap requests ----

// One object-snap request: the asker runs it through every entity's OfferSnapPoints and, when Found,
// takes BestPoint, SnapTarget and BestKind. Any candidate of a lower kind inside the tolerance beats
// every candidate of a higher kind, however close; within one kind the nearest wins and equal
// distances keep the first.
class TGeometrySnapInfo {
public:
    // Tolerance: the asker's owner list's SnapDistance when the asker is an entity in a list, else 30.
    TGeometrySnapInfo(TPoint AScreenPoint, IGraphics* AView, TGeometryObject* AAsker, const TMVector& APosition);

    IGraphics* View;
    TGeometryObject* Asker;
    TGeometry* SnapTarget = nullptr;
    TPoint ScreenPoint;
    TMVector Position;
    TMVector BestPoint = ZeroVector;
    std::uint8_t BestKind = 255;
    double Tolerance = 30.0;
    double BestDistance = 1.7e308;

    // The snap kinds switched on in the settings.
    TSnapOptions SnapTypes() const;
    void TryRPoint(const TRPoint& Point, std::uint8_t Kind, TGeometry* Entity);
    void TryPoint(const TMVector& Point, std::uint8_t Kind, TGeometry* Entity);
    bool Found() const { return BestDistance < Tolerance; }
};

// ---- Menu items ----

// A menu item that remembers the document its click acts on, for class-level menu handlers that run
// without an entity: the handler gets the clicked item and takes the document from GeometryList.
class TGMenuItem : public TMenuItem {
public:
    TGMenuItem(std::string ACaption, TGeometryList* AList, TMenuAction AOnClick)
        : TMenuItem(std::move(ACaption), std::move(AOnClick)), GeometryList(AList) {}
    TGeometryList* GeometryList;
};

// A new item for the caller to add to a menu.
std::unique_ptr<TGMenuItem> NewGMenuItem(const std::string& Caption, TGeometryList* List, TMenuAction OnClick);
// The document of a clicked TGMenuItem; nullptr for any other item.
TGeometryList* GeometryListOf(const TMenuItem& Sender);

}  // namespace sarnova
