#include "document/GeometryReference.h"

#include <algorithm>

#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {
// Calls a copy of Event, so that an event that frees its reference does not destroy itself mid-call.
void Fire(const std::function<void(TGeometry*)>& Event, TGeometry* Target) {
    if (!Event) return;
    const auto Call = Event;
    Call(Target);
}
}  // namespace

// ---- TGeometryReference ----

TGeometryReference::TGeometryReference(TGeometry* AOwner) : Owner(AOwner) {
    if (Owner != nullptr) Owner->AddReference(this);
}

TGeometryReference::~TGeometryReference() {
    *Alive = false;
    // The events belong to the holder, which may be half destroyed already.
    OnModified = nullptr;
    Detach();
    if (Owner != nullptr) Owner->RemoveReference(this);
}

std::string TGeometryReference::GetName() const {
    if (Target != nullptr) TargetName = Target->GetName();
    return TargetName;
}

TGeometry* TGeometryReference::GetGeometry() {
    if (Target != nullptr) {
        TargetName = Target->GetName();
        return Target;
    }
    if (TargetName.empty()) return nullptr;
    TGeometry* Found = FindGeometry(TargetName);
    if (Found != nullptr) SetGeometry(Found);
    return Found;
}

void TGeometryReference::SetName(const std::string& Given) {
    // As entity names are stored: the holder writes the name into the document file.
    const std::string Name = NameWithoutControls(Given);
    if (Name == TargetName) return;
    TargetName = Name;
    if (Name.empty()) {
        SetGeometry(nullptr);
    } else if (TGeometry* Found = FindGeometry(Name)) {
        SetGeometry(Found);
    }
}

void TGeometryReference::SetGeometry(TGeometry* Entity) {
    if (Entity == Target) return;
    Detach();
    Attach(Entity);
}

TGeometry* TGeometryReference::FindGeometry(const std::string& Name) const {
    if (Owner == nullptr || Owner->GetOwnerList() == nullptr) return nullptr;
    return Owner->GetOwnerList()->FindByName(Name);
}

void TGeometryReference::Assign(const TGeometryReference& Other) { TargetName = Other.GetName(); }

void TGeometryReference::Bind() {
    if (Target != nullptr || TargetName.empty()) return;
    TGeometry* Found = FindGeometry(TargetName);
    // Only the exact name: a link would write the target's spelling of it.
    if (Found == nullptr || Found == Owner || Found->GetName() != TargetName) return;
    Target = Found;
    Found->AddObserver(this);
}

void TGeometryReference::Attach(TGeometry* Entity) {
    if (Entity == nullptr) return;
    Target = Entity;
    TargetName = Entity->GetName();
    Entity->AddObserver(this);
    Modified();
}

void TGeometryReference::Detach() {
    if (Target == nullptr) return;
    Target->RemoveObserver(this);
    Target = nullptr;
    TargetName.clear();
    Modified();
}

void TGeometryReference::DoChanging() { Fire(OnChanging, Target); }
void TGeometryReference::Modified() { DoModified(); }
void TGeometryReference::DoChanged() { Fire(OnChanged, Target); }
void TGeometryReference::DoModified() { Fire(OnModified, Target); }
void TGeometryReference::DoDestroyed() { Fire(OnDestroyed, Target); }

void TGeometryReference::TargetDestroyed() {
    // The holder loses the reference now: its undo snapshot, taken first, keeps it, so that undoing
    // the deletion gives the reference back with the entity.
    if (Owner != nullptr) Owner->RecordChange();
    const std::shared_ptr<bool> StillAlive = Alive;
    try {
        DoDestroyed();
    } catch (...) {
        // Never left pointing at an entity that is going away.
        if (*StillAlive) SetGeometry(nullptr);
        throw;
    }
    if (*StillAlive) SetGeometry(nullptr);
}

void TGeometryReference::Release() {
    if (Target == nullptr) return;
    const std::string Name = Target->GetName();
    Detach();
    TargetName = Name;
}

// ---- TGeometryReferences ----

TGeometryReferences::~TGeometryReferences() = default;

void TGeometryReferences::Add(TGeometryReference* Reference) {
    References.push_back(Reference);
    DoChange();
}

bool TGeometryReferences::Take(TGeometryReference* Reference) {
    const auto Found = std::find(References.begin(), References.end(), Reference);
    if (Found == References.end()) return false;
    References.erase(Found);
    return true;
}

void TGeometryReferences::Remove(TGeometryReference* Reference) {
    Take(Reference);
    DoChange();
}

void TGeometryReferences::Clear() {
    References.clear();
    DoChange();
}

TGeometryReference& TGeometryReferences::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return *References[static_cast<std::size_t>(Index)];
}

int TGeometryReferences::IndexOfName(const std::string& Name) const {
    const std::string Wanted = UpperCase(Name);
    for (int I = 0; I < Count(); ++I)
        if (UpperCase(References[static_cast<std::size_t>(I)]->GetName()) == Wanted) return I;
    return -1;
}

TGeometryReference* TGeometryReferences::FindByName(const std::string& Name) const {
    const int Index = IndexOfName(Name);
    return Index >= 0 ? References[static_cast<std::size_t>(Index)] : nullptr;
}

int TGeometryReferences::IndexOfGeometry(const TGeometry* Entity) const {
    if (Entity == nullptr) return -1;
    // Resolving may link a reference, which fires its events; walk a copy.
    const std::vector<TGeometryReference*> Walk = References;
    for (std::size_t I = 0; I < Walk.size(); ++I)
        if (Walk[I]->GetGeometry() == Entity) {
            const auto Found = std::find(References.begin(), References.end(), Walk[I]);
            if (Found != References.end()) return static_cast<int>(Found - References.begin());
        }
    return -1;
}

void TGeometryReferences::DoChange() {
    if (OnChange) OnChange(*this);
}

// ---- TGeometryReferencesList ----

TGeometryReferencesList::~TGeometryReferencesList() {
    OnChange = nullptr;
    TGeometryReferencesList::Clear();
}

void TGeometryReferencesList::Free(TGeometryReference* Reference) {
    const auto Found = std::find_if(Owned.begin(), Owned.end(), [&](const auto& R) { return R.get() == Reference; });
    if (Found == Owned.end()) return;
    // Out of the owned list before it is freed: its destructor unlinks it, which may call back here.
    const std::unique_ptr<TGeometryReference> Doomed = std::move(*Found);
    Owned.erase(Found);
}

void TGeometryReferencesList::Remove(TGeometryReference* Reference) {
    Take(Reference);
    Free(Reference);
    DoChange();
}

void TGeometryReferencesList::Clear() {
    while (!References.empty()) {
        TGeometryReference* Reference = References.back();
        References.pop_back();
        Free(Reference);
    }
    DoChange();
}

TGeometryReference* TGeometryReferencesList::AddOwned(std::unique_ptr<TGeometryReference> Reference) {
    TGeometryReference* Added = Reference.get();
    // The reference told is the one removed, so that every reference to a freed target goes, however
    // many there are.
    Added->OnDestroyed = [this, Added](TGeometry*) { Remove(Added); };
    Owned.push_back(std::move(Reference));
    Add(Added);
    return Added;
}

TGeometryReference* TGeometryReferencesList::AddName(const std::string& Name) {
    auto Reference = std::make_unique<TGeometryReference>(Owner);
    Reference->SetName(Name);
    return AddOwned(std::move(Reference));
}

TGeometryReference* TGeometryReferencesList::AddGeometry(TGeometry* Entity) {
    auto Reference = std::make_unique<TGeometryReference>(Owner);
    Reference->SetGeometry(Entity);
    return AddOwned(std::move(Reference));
}

void TGeometryReferencesList::RemoveGeometry(const TGeometry* Entity) {
    const int Index = IndexOfGeometry(Entity);
    if (Index >= 0) Remove(References[static_cast<std::size_t>(Index)]);
}

void TGeometryReferencesList::Assign(const TGeometryReferencesList& Other) {
    if (&Other == this) return;
    std::vector<std::string> Names;
    for (int I = 0; I < Other.Count(); ++I) Names.push_back(Other.Items(I).GetName());
    Clear();
    for (const std::string& Name : Names) AddName(Name);
}

}  // namespace sarnova
