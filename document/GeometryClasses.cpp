#include "document/GeometryClasses.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "document/GUnknown.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "platform/Menu.h"

namespace sarnova {

std::unique_ptr<TGeometryClasses> GGeometryClasses;

namespace {

// The keywords of the entity classes in the order the program registers them. A constant table, so
// that registering works whenever it is called.
constexpr std::array<std::string_view, 38> RegistrationOrder = {
    "TFrames",          "TPolygonList",  "TBox",         "TMesh",          "TBSplineSurface", "TPlane",
    "TPointCloud",      "TBSplineSurfaceList",           "TGregorySurface", "TXTSurface",     "TXTCurve",
    "TPolyline",        "TCBSpline",     "TCSpline",     "TTarvoCurve",    "TCurve",          "TBSpline",
    "TExtrudedSurface", "TPolylineList", "TContours",    "TOpening",       "TOpenGroup",      "TClosedGroup",
    "TGroup",           "TArc",          "TCircle",      "TSetup",         "THalvorn",        "TVectorList",
    "TPressureField",   "TTarvoHull",    "TImagePlane",  "TTarvoSurface",  "TCorvane",        "TRuledSurface",
    "TCoonsPatch",      "TDimension",    "TN-SidedPatch"};

// Place of a class in RegistrationOrder; classes outside it come after all of them.
std::size_t RegistrationPlace(const TGeometryClass& Class) {
    const auto Found = std::find(RegistrationOrder.begin(), RegistrationOrder.end(), Class.GetKeyword());
    return static_cast<std::size_t>(Found - RegistrationOrder.begin());
}
}  // namespace

void RegisterGeometryClass(const TGeometryClass& Class) {
    if (!GGeometryClasses) GGeometryClasses = std::make_unique<TGeometryClasses>();
    GGeometryClasses->Register(Class);
}

const TGeometryClass& FindGeometryClass(const std::string& Keyword) {
    return GGeometryClasses ? GGeometryClasses->FindClass(Keyword) : GeometryClassOf<TGeoUnknown>();
}

void TGeometryClasses::AddClass(const TGeometryClass& Class) {
    Classes.push_back(&Class);
    EntryOfType.clear();
}

void TGeometryClasses::Register(const TGeometryClass& Class) {
    const std::size_t Place = RegistrationPlace(Class);
    const auto Behind = std::find_if(Classes.begin(), Classes.end(),
                                     [&](const TGeometryClass* C) { return RegistrationPlace(*C) > Place; });
    Classes.insert(Behind, &Class);
    EntryOfType.clear();
}

const TGeometryClass& TGeometryClasses::ClassAt(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return *Classes[static_cast<std::size_t>(Index)];
}

bool TGeometryClasses::IsRegistered(const TGeometryClass& Class) const {
    return std::find(Classes.begin(), Classes.end(), &Class) != Classes.end();
}

const TGeometryClass& TGeometryClasses::FindClass(const std::string& Keyword) const {
    // Asked once per block of a document: compared letter by letter, without an upper-case copy of
    // every keyword.
    auto Upper = [](char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; };
    for (const TGeometryClass* Class : Classes) {
        const std::string Candidate = Class->GetKeyword();
        if (Candidate.size() == Keyword.size() &&
            std::equal(Candidate.begin(), Candidate.end(), Keyword.begin(), [&](char A, char B) { return Upper(A) == Upper(B); }))
            return *Class;
    }
    return GeometryClassOf<TGeoUnknown>();
}

const TGeometryClass* TGeometryClasses::FindEntry(const TGeometry& Entity) const {
    const std::type_index Type(typeid(Entity));
    if (const auto Found = EntryOfType.find(Type); Found != EntryOfType.end()) return Found->second;
    const TGeometryClass* Entry = nullptr;
    for (const TGeometryClass* Class : Classes)
        if (Class->IsInstance(Entity)) {
            Entry = Class;
            break;
        }
    EntryOfType.emplace(Type, Entry);
    return Entry;
}

std::unique_ptr<TGeometry> TGeometryClasses::Clone(const TGeometry& Entity) const {
    const TGeometryClass* Class = FindEntry(Entity);
    // The placeholder of unread blocks is never registered, yet it is copied and undone like the rest.
    if (Class == nullptr && dynamic_cast<const TGeoUnknown*>(&Entity) != nullptr) Class = &GeometryClassOf<TGeoUnknown>();
    if (Class == nullptr || !Entity.HasCapability(cpUndoable)) return nullptr;
    auto Copy = Class->Create();
    Copy->Assign(Entity);
    return Copy;
}

void TGeometryClasses::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& Document) const {
    std::vector<const TGeometryClass*> Sorted = Classes;
    std::stable_sort(Sorted.begin(), Sorted.end(),
                     [](const TGeometryClass* A, const TGeometryClass* B) { return A->GetMenuOrder() < B->GetMenuOrder(); });
    int Group = 0;
    for (const TGeometryClass* Class : Sorted) {
        // A class that adds no item still opens its group.
        if (Group < Class->GetMenuOrder() / 10) {
            Menu.Add("-");
            Group = Class->GetMenuOrder() / 10;
        }
        Class->AddCreateMenuItems(Menu, Document);
    }
}

void TGeometryClasses::AddToolsMenuItems(TMenuItem& Menu, TGeometryList& Document) const {
    for (const TGeometryClass* Class : Classes) Class->AddToolsMenuItems(Menu, Document);
}

void TGeometryClasses::AddGroupMenuItems(TMenuItem& Menu, TGeometryList& Document) const {
    for (const TGeometryClass* Class : Classes) Class->AddSelectionMenuItems(Menu, Document);
}

bool TGeometryClasses::ExecuteMacro(TMacroFile& Macro, TGeometryList& Document) const {
    for (const TGeometryClass* Class : Classes)
        if (Class->CreateFromMacro(Macro, Document)) return true;
    return false;
}

void TGeometryClasses::ListClasses() const {
    if (!GConsole) return;
    GConsole->WriteLine("Currently Supported Entities:-");
    for (const TGeometryClass* Class : Classes)
        GConsole->WriteLine(" " + Class->ClassName() + " Implementing " + Class->GetKeyword());
}

}  // namespace sarnova
