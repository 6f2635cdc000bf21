#include "document/GeometryQuery.h"

#include <cmath>
#include <span>

#include "document/GeometryList.h"
#include "document/Settings.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"

namespace sarnova {

namespace {

// ---- Option texts ----
// Every set is handled as element numbers: project option bit 2^n is element n, snap kinds and
// highlight groups are their own element numbers.

struct TMemberName {
    std::string_view Name;
    int Element;
    int AlsoElement;  // switched with the named one, never written; -1 when none
};

constexpr TMemberName ProjectOptionNames[] = {
    {"poGridSnap", 0, -1}, {"poObjectSnap", 1, -1}, {"po3DEditing", 2, -1}, {"poHighlight", 3, -1}};
constexpr TMemberName SnapOptionNames[] = {{"stPoint", stPoint, stCurveNetPoint},
                                           {"stCurve", stCurve, stCurveNetCurve},
                                           {"stSurfaceEdge", stSurfaceEdge, -1},
                                           {"stSurface", stSurface, -1},
                                           {"stPolylineList", stPolylineList, -1},
                                           {"stPolygonList", stPolygonList, -1}};
constexpr TMemberName HighlightGroupNames[] = {
    {"hgPolyline", hgPolyline, -1},         {"hgCurve", hgCurve, -1},
    {"hgBSplineCurve", hgBSplineCurve, -1}, {"hgSurface", hgSurface, -1},
    {"hgMesh", hgMesh, -1},                 {"hgBSplineSurface", hgBSplineSurface, -1},
    {"hgPolylineList", hgPolylineList, -1}, {"hgPolygons", hgPolygons, -1}};

bool IsLetterOrDigit(char C) { return (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }

// Name occurs in Text with no letter or digit right before or after it: "stSurface" is not found in
// "[stSurfaceEdge]".
bool HasWholeName(std::string_view Text, std::string_view Name) {
    for (auto Pos = Text.find(Name); Pos != std::string_view::npos; Pos = Text.find(Name, Pos + 1)) {
        const auto End = Pos + Name.size();
        if ((Pos == 0 || !IsLetterOrDigit(Text[Pos - 1])) && (End == Text.size() || !IsLetterOrDigit(Text[End])))
            return true;
    }
    return false;
}

std::string MembersToText(std::span<const TMemberName> Names, const std::bitset<256>& Set) {
    std::string Text = "[";
    for (const auto& M : Names) {
        if (!Set.test(static_cast<std::size_t>(M.Element))) continue;
        if (Text.size() > 1) Text += ", ";
        Text += M.Name;
    }
    return Text + "]";
}

std::bitset<256> TextToMembers(std::span<const TMemberName> Names, std::string_view Text) {
    std::bitset<256> Set;
    for (const auto& M : Names) {
        if (!HasWholeName(Text, M.Name)) continue;
        Set.set(static_cast<std::size_t>(M.Element));
        if (M.AlsoElement >= 0) Set.set(static_cast<std::size_t>(M.AlsoElement));
    }
    return Set;
}

}  // namespace

std::string ProjectOptionsToText(TProjectOptions Options) {
    return MembersToText(ProjectOptionNames, std::bitset<256>(Options));
}

TProjectOptions TextToProjectOptions(std::string_view Text) {
    return static_cast<TProjectOptions>(TextToMembers(ProjectOptionNames, Text).to_ulong() & 0xFF);
}

std::string SnapOptionsToText(const TSnapOptions& Options) { return MembersToText(SnapOptionNames, Options); }

TSnapOptions TextToSnapOptions(std::string_view Text) { return TextToMembers(SnapOptionNames, Text); }

std::string HighlightGroupsToText(THighlightGroups Groups) {
    return MembersToText(HighlightGroupNames, std::bitset<256>(Groups));
}

THighlightGroups TextToHighlightGroups(std::string_view Text) {
    return static_cast<THighlightGroups>(TextToMembers(HighlightGroupNames, Text).to_ulong() & 0xFFFF);
}

// ---- Queries ----

TGeometryQueryItem::TGeometryQueryItem(std::string AName, TDataObject AInstance, std::function<void()> AFree)
    : Name(std::move(AName)), Instance(AInstance), Free(std::move(AFree)) {}

TGeometryQueryItem::~TGeometryQueryItem() {
    if (Free) Free();
}

int TGeometryQuery::FirstAsked(std::initializer_list<int> Preferred) const {
    for (int Kind : Preferred)
        if (Asks(Kind)) return Kind;
    return -1;
}

TGeometryQueryItem& TGeometryQuery::Item(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(Items.size()))
        throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return *Items[static_cast<std::size_t>(Index)];
}

void TGeometryQuery::CheckCollecting(const char* Message) const {
    if (CountOnly) throw EError(Message);
}

// ---- Snap requests ----

TGeometrySnapInfo::TGeometrySnapInfo(TPoint AScreenPoint, IGraphics* AView, TGeometryObject* AAsker,
                                     const TMVector& APosition)
    : View(AView), Asker(AAsker), ScreenPoint(AScreenPoint), Position(APosition) {
    if (const auto* Entity = dynamic_cast<const TGeometry*>(AAsker); Entity != nullptr && Entity->GetOwnerList() != nullptr)
        Tolerance = Entity->GetOwnerList()->SnapDistance;
}

TSnapOptions TGeometrySnapInfo::SnapTypes() const { return CurrentSettings().SnapOptions; }

void TGeometrySnapInfo::TryRPoint(const TRPoint& Point, std::uint8_t Kind, TGeometry* Entity) {
    TryPoint(Point.Vector(), Kind, Entity);
}

void TGeometrySnapInfo::TryPoint(const TMVector& Point, std::uint8_t Kind, TGeometry* Entity) {
    if (View == nullptr || !SnapTypes().test(Kind)) return;
    const TPoint P = View->WorldToScreenVector(Point);
    const double D = std::hypot(double(P.X) - ScreenPoint.X, double(P.Y) - ScreenPoint.Y);
    if ((D < Tolerance && Kind < BestKind) || (D < BestDistance && Kind == BestKind)) {
        BestDistance = D;
        BestPoint = Point;
        SnapTarget = Entity;
        BestKind = Kind;
    }
}

// ---- Menu items ----

std::unique_ptr<TGMenuItem> NewGMenuItem(const std::string& Caption, TGeometryList* List, TMenuAction OnClick) {
    return std::make_unique<TGMenuItem>(Caption, List, std::move(OnClick));
}

TGeometryList* GeometryListOf(const TMenuItem& Sender) {
    const auto* Item = dynamic_cast<const TGMenuItem*>(&Sender);
    return Item != nullptr ? Item->GeometryList : nullptr;
}

}  // namespace sarnova
