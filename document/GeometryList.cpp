#include "document/GeometryList.h"

#include <algorithm>
#include <climits>
#include <exception>

#include "document/GeometryReference.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/MacroFile.h"
#include "platform/Screen.h"

namespace sarnova {

namespace {

// A name split into the part before its trailing number and the number, when the number is written
// the way IncrementNameNumber writes it (no leading zero) and fits a 32-bit integer.
struct TNumberedName {
    std::size_t PrefixLength = 0;
    long long Number = -1;
    bool Numbered() const { return Number >= 0; }
};

TNumberedName SplitNumberedName(const std::string& Name) {
    std::size_t Start = Name.size();
    while (Start > 0 && Name[Start - 1] >= '0' && Name[Start - 1] <= '9') --Start;
    TNumberedName Result;
    Result.PrefixLength = Start;
    const std::size_t Digits = Name.size() - Start;
    if (Digits == 0 || Digits > 10 || (Digits > 1 && Name[Start] == '0')) return Result;
    const long long Number = std::stoll(Name.substr(Start));
    if (Number <= INT_MAX) Result.Number = Number;
    return Result;
}

}  // namespace

// ---- Runs of numbered names ----

void TGeometryList::TNumberRuns::Insert(long long N) {
    if (FirstFreeFrom(N) != N) {
        ++ExtraUses[N];
        return;
    }
    auto Next = Runs.find(N + 1);
    const long long Last = Next != Runs.end() ? Next->second : N;
    if (Next != Runs.end()) Runs.erase(Next);
    auto Before = Runs.upper_bound(N);
    if (Before != Runs.begin() && std::prev(Before)->second == N - 1)
        std::prev(Before)->second = Last;
    else
        Runs[N] = Last;
}

void TGeometryList::TNumberRuns::Remove(long long N) {
    if (auto Extra = ExtraUses.find(N); Extra != ExtraUses.end()) {
        if (--Extra->second == 0) ExtraUses.erase(Extra);
        return;
    }
    if (FirstFreeFrom(N) == N) return;  // not in use
    auto Run = std::prev(Runs.upper_bound(N));
    const long long First = Run->first;
    const long long Last = Run->second;
    Runs.erase(Run);
    if (First < N) Runs[First] = N - 1;
    if (N < Last) Runs[N + 1] = Last;
}

long long TGeometryList::TNumberRuns::FirstFreeFrom(long long N) const {
    auto Run = Runs.upper_bound(N);
    if (Run == Runs.begin()) return N;
    --Run;
    return Run->second >= N ? Run->second + 1 : N;
}

// ---- Construction ----

TGeometryList::TGeometryList() = default;

TGeometryList::~TGeometryList() {
    // Nobody listens to a list that is going away, and nothing in it is applied, broadcast or
    // validated any more: an entity freed here may be the target of others in the list, whose
    // reactions must neither reach half-freed entities nor throw out of a destructor.
    OnMessage = nullptr;
    OnDraw = nullptr;
    Destroying = true;
    Tracker.Clear();
    EditedGeometry = nullptr;
    HighlightedGeometry = nullptr;
    // Taken out before each is freed, so that nothing can reach a freed entity through the list.
    while (!Entities().empty()) {
        try {
            FreeEntity(Extract(Count() - 1));
        } catch (...) {
            // The entity is gone all the same.
        }
    }
}

// ---- Brackets ----

template <class F>
void TGeometryList::Bracketed(std::uint8_t Flags, F Body) {
    BeginUpdate(Flags);
    try {
        Body();
    } catch (...) {
        EndUpdateQuietly();
        throw;
    }
    EndUpdate();
}

template <class F>
void TGeometryList::ForEachInBracket(F Call) {
    Bracketed(ufEndEditing | ufHourGlass, [&] {
        // Receivers may delete entities while the walk goes on.
        for (int I = 0; I < Count(); ++I) Call(*Entities()[static_cast<std::size_t>(I)]);
    });
}

void TGeometryList::EndUpdateQuietly() {
    try {
        EndUpdate();
    } catch (...) {
    }
}

void TGeometryList::BeginUpdate(std::uint8_t Flags) {
    if (UpdateCount == 0) {
        UpdateFlags = Flags;
        if (Flags & ufHourGlass) SetScreenCursor(crHourGlass);
        if (Flags & ufEndEditing) SetEditedGeometry(nullptr);
    }
    ++UpdateCount;
}

void TGeometryList::EndUpdate() {
    if (UpdateCount <= 0) throw EError("TGeometryList.EndUpdate - TGeometryList is not Updating");
    if (UpdateCount == 1 && !Destroying) {
        // Applied while the list still counts as updating, so none of them broadcasts on its own.
        try {
            ApplyChanges();
        } catch (...) {
            // The bracket closes all the same; a list left updating would never notify again.
            if (--UpdateCount == 0) SetScreenCursor(crDefault);
            throw;
        }
    }
    if (--UpdateCount == 0) {
        SetScreenCursor(crDefault);
        NotifyChange();
        InvalidateViews();
    }
}

void TGeometryList::NotifyChange() {
    if (Updating() || Destroying) return;
    if (Changed) {
        Changed = false;
        SendMessage(std::make_unique<TGeoListChange>());
        Changed = false;
    } else if (!Validating) {
        // The validation after a list change announces only the deletions it made.
        SendMessage(std::make_unique<TGeoSelectionChange>());
    }
}

void TGeometryList::ApplyChanges(const std::function<void(TGeometry&, const std::exception&)>& OnFailure) {
    std::exception_ptr First;
    for (int I = 0; I < Count(); ++I) {
        TGeometry& Entity = *Entities()[static_cast<std::size_t>(I)];
        try {
            Entity.ApplyChange();
        } catch (const std::exception& E) {
            if (OnFailure)
                OnFailure(Entity, E);
            else if (!First)
                First = std::current_exception();
        }
    }
    if (First) std::rethrow_exception(First);
}

void TGeometryList::ValidateEntities() {
    if (Validating) return;
    Validating = true;
    try {
        Bracketed(0, [&] {
            for (int I = Count() - 1; I >= 0; --I)
                if (I < Count()) Entities()[static_cast<std::size_t>(I)]->AfterListChange();
        });
        BindReferences();
    } catch (...) {
        Validating = false;
        throw;
    }
    Validating = false;
}

void TGeometryList::BindReferences() {
    for (const auto& Entity : Entities()) Entity->BindReferences();
}

// ---- Messages ----

void TGeometryList::SendMessage(std::unique_ptr<TGeoMessage> Message) {
    if (!Message || Destroying) return;
    if (!Message->HasSender()) Message->SenderList = this;
    Message->List = this;
    DispatchMessage(*Message);
}

void TGeometryList::DispatchMessage(TGeoMessage& Message) {
    for (int I = Count() - 1; I >= 0; --I)
        if (I < Count()) Entities()[static_cast<std::size_t>(I)]->HandleMessage(Message);
    if (OnMessage) OnMessage(Message);
    if (dynamic_cast<TGeoListChange*>(&Message) != nullptr) ValidateEntities();
}

// ---- Indexes ----

void TGeometryList::RebuildPositions() const {
    for (std::size_t I = 0; I < Held.size(); ++I) Held[I]->HoldingIndex = static_cast<int>(I);
    PositionsStale = false;
}

void TGeometryList::Settle() const {
    if (Holes == 0 && Placements.empty()) return;
    if (Holes != 0) {
        std::erase_if(Held, [](const std::unique_ptr<TGeometry>& Entity) { return !Entity; });
        Holes = 0;
        FirstHole = NoHole;
    }
    if (!Placements.empty()) {
        // The placed entities stand behind the others in the order they were placed; the others keep
        // their order around the places.
        std::vector<std::unique_ptr<TGeometry>> Placed;
        std::vector<std::unique_ptr<TGeometry>> Others;
        Placed.reserve(Placements.size());
        Others.reserve(Held.size());
        for (auto& Entity : Held)
            if (Placed.size() < Placements.size() && Entity.get() == Placements[Placed.size()].Entity)
                Placed.push_back(std::move(Entity));
            else
                Others.push_back(std::move(Entity));
        std::size_t Next = 0;
        std::size_t Other = 0;
        for (std::size_t At = 0; At < Held.size(); ++At)
            Held[At] = Next < Placed.size() && static_cast<std::size_t>(Placements[Next].Target) == At
                           ? std::move(Placed[Next++])
                           : std::move(Others[Other++]);
        Placements.clear();
    }
    PositionsStale = true;
}

void TGeometryList::CountName(const std::string& Key, int Delta) {
    const TNumberedName Split = SplitNumberedName(Key);
    if (!Split.Numbered()) return;
    const std::string Prefix = Key.substr(0, Split.PrefixLength);
    if (Delta > 0) {
        NumberIndex[Prefix].Insert(Split.Number);
        return;
    }
    auto Found = NumberIndex.find(Prefix);
    if (Found == NumberIndex.end()) return;
    Found->second.Remove(Split.Number);
    if (Found->second.Runs.empty()) NumberIndex.erase(Found);
}

namespace {

std::uint32_t NameHash(std::string_view Key) {
    const std::size_t H = std::hash<std::string_view>{}(Key);
    return static_cast<std::uint32_t>(H ^ (H >> 32));
}

// Whether UpperCase(Name) == Key, without making the upper-cased copy.
bool SameUpperCase(std::string_view Name, std::string_view Key) {
    if (Name.size() != Key.size()) return false;
    for (std::size_t I = 0; I < Name.size(); ++I) {
        const char C = Name[I] >= 'a' && Name[I] <= 'z' ? static_cast<char>(Name[I] - 'a' + 'A') : Name[I];
        if (C != Key[I]) return false;
    }
    return true;
}

}  // namespace

void TGeometryList::IndexName(TGeometry& Entity) {
    if (Entity.Name.empty()) return;
    const std::string Key = UpperCase(Entity.Name);
    if (2 * (NamedCount + 1) > NameSlots.size()) {
        std::vector<TNameSlot> Old(std::max<std::size_t>(64, 2 * NameSlots.size()));
        Old.swap(NameSlots);
        for (const TNameSlot& Named : Old)
            if (Named) {
                std::size_t I = FirstNameSlot(Named.Entity()->IndexedNameHash);
                while (NameSlots[I]) I = (I + 1) & (NameSlots.size() - 1);
                NameSlots[I] = Named;
            }
    }
    Entity.IndexedNameHash = NameHash(Key);
    std::size_t I = FirstNameSlot(Entity.IndexedNameHash);
    while (NameSlots[I]) I = (I + 1) & (NameSlots.size() - 1);
    NameSlots[I] = {&Entity, Entity.IndexedNameHash};
    ++NamedCount;
    CountName(Key, +1);
}

void TGeometryList::UnindexName(TGeometry& Entity) {
    // The name has not changed since IndexName: StoreName unindexes before it stores a new one.
    if (Entity.Name.empty() || NameSlots.empty()) return;
    const std::size_t Mask = NameSlots.size() - 1;
    std::size_t I = FirstNameSlot(Entity.IndexedNameHash);
    while (NameSlots[I] && NameSlots[I].Entity() != &Entity) I = (I + 1) & Mask;
    // Not indexed (unindexed already): nothing to take back.
    if (!NameSlots[I]) return;
    // Later slots of the run move up into the gap unless their own run starts after it, so that
    // every entry stays reachable from its first slot without a mark for deleted slots.
    for (std::size_t J = (I + 1) & Mask; NameSlots[J]; J = (J + 1) & Mask) {
        const std::size_t Home = FirstNameSlot(NameSlots[J].Entity()->IndexedNameHash);
        const bool StaysBehindGap = I <= J ? (I < Home && Home <= J) : (I < Home || Home <= J);
        if (StaysBehindGap) continue;
        NameSlots[I] = NameSlots[J];
        I = J;
    }
    NameSlots[I] = {};
    --NamedCount;
    CountName(UpperCase(Entity.Name), -1);
}

void TGeometryList::IndexEntity(TGeometry& Entity) {
    Entity.HoldingList = this;
    IndexName(Entity);
    if (Entity.Selected) SelectedSet.Insert(&Entity);
}

void TGeometryList::UnindexEntity(TGeometry& Entity) {
    UnindexName(Entity);
    if (Entity.Selected) SelectedSet.Erase(&Entity);
    Entity.HoldingList = nullptr;
}

void TGeometryList::SelectionChanged(TGeometry& Entity) {
    if (Entity.Selected)
        SelectedSet.Insert(&Entity);
    else
        SelectedSet.Erase(&Entity);
}

void TGeometryList::Replace(int Index, std::unique_ptr<TGeometry> Entity) {
    std::unique_ptr<TGeometry> Old = Extract(Index);
    const std::vector<TGeometryObserver*> Observers = Old->Rare ? Old->Rare->Observers : std::vector<TGeometryObserver*>();
    for (TGeometryObserver* Observer : Observers)
        if (auto* Reference = dynamic_cast<TGeometryReference*>(Observer)) Reference->Release();
    TGeometry* New = Entity.get();
    Entities().insert(Entities().begin() + Index, std::move(Entity));
    PositionsStale = true;
    IndexEntity(*New);
    RemovedFrom = Index;
    Removed(*Old);
    RemovedFrom = -1;
    Added(*New);
    FreeEntity(std::move(Old));
}

std::unique_ptr<TGeometry> TGeometryList::Take(int Index) {
    const auto At = static_cast<std::size_t>(Index);
    // Places before the first gap are the same in the list and in the store.
    const bool Gap = Updating() && Placements.empty() && At + 1 < Held.size() && At < FirstHole;
    if (!Gap) return Extract(Index);
    std::unique_ptr<TGeometry> Entity = std::move(Held[At]);
    ++Holes;
    FirstHole = At;
    UnindexEntity(*Entity);
    return Entity;
}

std::unique_ptr<TGeometry> TGeometryList::Extract(int Index) {
    auto Position = Entities().begin() + Index;
    std::unique_ptr<TGeometry> Entity = std::move(*Position);
    Entities().erase(Position);
    UnindexEntity(*Entity);
    if (Index != Count()) PositionsStale = true;
    return Entity;
}

std::vector<std::unique_ptr<TGeometry>> TGeometryList::ExtractSelected(std::vector<int>& Places) {
    std::vector<std::unique_ptr<TGeometry>> Taken;
    std::vector<std::unique_ptr<TGeometry>> Kept;
    Places.clear();
    for (auto& Entity : Entities()) {
        if (Entity->Selected) Places.push_back(static_cast<int>(Taken.size() + Kept.size()));
        (Entity->Selected ? Taken : Kept).push_back(std::move(Entity));
    }
    Entities() = std::move(Kept);
    for (auto& Entity : Taken) UnindexEntity(*Entity);
    if (!Taken.empty()) PositionsStale = true;
    return Taken;
}

void TGeometryList::FreeEntity(std::unique_ptr<TGeometry> Entity) {
    if (Entity.get() == EditedGeometry) EditedGeometry = nullptr;
    if (Entity.get() == HighlightedGeometry) HighlightedGeometry = nullptr;
    Entity->NotifyFreeing();
    Entity.reset();
}

// ---- Contents ----

TGeometry& TGeometryList::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return *Entities()[static_cast<std::size_t>(Index)];
}

int TGeometryList::IndexOf(const TGeometry* Entity) const {
    if (Entity == nullptr || Entity->HoldingList != this) return -1;
    // A place that still holds the entity, before any gap and with no move waiting, is its place.
    const auto At = static_cast<std::size_t>(Entity->HoldingIndex);
    if (Placements.empty() && At < Held.size() && At < FirstHole && Held[At].get() == Entity) return Entity->HoldingIndex;
    Settle();
    if (PositionsStale) RebuildPositions();
    return Entity->HoldingIndex;
}

TGeometry* TGeometryList::FindByName(const std::string& Name) const {
    // Names are stored without control characters; a name given with them finds the entity all the same.
    const std::string Key = UpperCase(NameWithoutControls(Name));
    if (Key.empty()) {
        // Unnamed entities are not indexed; they are rare enough to look for.
        for (const auto& Entity : Entities())
            if (Entity->GetName().empty()) return Entity.get();
        return nullptr;
    }
    if (NameSlots.empty()) return nullptr;
    const std::uint32_t Hash = NameHash(Key);
    TGeometry* Earliest = nullptr;
    for (std::size_t I = FirstNameSlot(Hash); NameSlots[I]; I = (I + 1) & (NameSlots.size() - 1)) {
        if (!NameSlots[I].MayHold(Hash)) continue;
        TGeometry* Named = NameSlots[I].Entity();
        if (Named->IndexedNameHash != Hash || !SameUpperCase(Named->Name, Key)) continue;
        // Positions are asked for only when a name is borne twice.
        if (!Earliest || IndexOf(Named) < IndexOf(Earliest)) Earliest = Named;
    }
    return Earliest;
}

int TGeometryList::IndexOfName(const std::string& Name) const { return IndexOf(FindByName(Name)); }

bool TGeometryList::ContainsName(const std::string& Name) const { return FindByName(Name) != nullptr; }

std::string TGeometryList::UniqueName(const std::string& Name) const {
    if (!ContainsName(Name)) return Name;
    std::string Candidate = IncrementNameNumber(Name);
    while (ContainsName(Candidate)) {
        // The numbers from the candidate's on may be taken in a long run (Curve1 .. Curve5000):
        // jump to the last of the run, whose increment is the first free name of the chain.
        const std::string Key = UpperCase(Candidate);
        const TNumberedName Split = SplitNumberedName(Key);
        if (Split.Numbered()) {
            const auto Found = NumberIndex.find(Key.substr(0, Split.PrefixLength));
            if (Found != NumberIndex.end()) {
                const long long Last = std::min<long long>(Found->second.FirstFreeFrom(Split.Number) - 1, INT_MAX);
                if (Last > Split.Number) Candidate = Candidate.substr(0, Split.PrefixLength) + std::to_string(Last);
            }
        }
        Candidate = IncrementNameNumber(Candidate);
    }
    return Candidate;
}

TGeometry* TGeometryList::SingleSelection() const {
    if (SelectedSet.Count() != 1) return nullptr;
    TGeometry* Single = nullptr;
    SelectedSet.ForEachKey([&](const void* Key) { Single = const_cast<TGeometry*>(static_cast<const TGeometry*>(Key)); });
    return Single;
}

TMBox TGeometryList::GetExtents() {
    TMBox B = EmptyBox;
    for (const auto& Entity : Entities()) B = UniteBoxes(B, Entity->GetExtents());
    return B;
}

TMBox TGeometryList::GetSelectedExtents() {
    TMBox B = EmptyBox;
    for (const auto& Entity : Entities())
        if (Entity->Selected) B = UniteBoxes(B, Entity->GetExtents());
    return B;
}

TMBox TGeometryList::GetFocusExtents(IGraphics& View) {
    if (EditedGeometry != nullptr) return EditedGeometry->GetFocusExtents(View);
    return GetSelectedExtents();
}

// ---- Virtual operations ----

void TGeometryList::SetEditedGeometry(TGeometry* Entity) {
    if (Entity != nullptr && !Entity->HasCapability(cpPointEditing)) return;
    if (Entity == EditedGeometry) return;
    if (EditedGeometry != nullptr) EditedGeometry->EndEdit();
    EditedGeometry = Entity;
    if (SelectedSet.Count() > 1) {
        std::vector<TGeometry*> Deselect;
        Deselect.reserve(SelectedSet.Count());
        SelectedSet.ForEachKey(
            [&](const void* Key) { Deselect.push_back(const_cast<TGeometry*>(static_cast<const TGeometry*>(Key))); });
        for (TGeometry* G : Deselect) G->StoreSelected(false);
    }
    if (Entity != nullptr) Entity->BeginEdit();
    InvalidateViews();
    NotifyChange();
}

void TGeometryList::SetProjectOptions(TProjectOptions Value) {
    if (Value == ProjectOptions) return;
    ProjectOptions = Value;
    NotifyChange();
}

TContours* TGeometryList::GetContours() { return nullptr; }
TFrames* TGeometryList::GetFrames() { return nullptr; }
void TGeometryList::BeforeChange(TGeometry&) {}

void TGeometryList::Added(TGeometry& Entity) {
    Entity.SetOwnerList(this);
    Changed = true;
    NotifyChange();
}

void TGeometryList::Removed(TGeometry& Entity) {
    if (&Entity == EditedGeometry) SetEditedGeometry(nullptr);
    Changed = true;
    Tracker.ClearInfoMessages(&Entity);
    if (&Entity == HighlightedGeometry) HighlightedGeometry = nullptr;
    NotifyChange();
}

TGeometry* TGeometryList::Add(std::unique_ptr<TGeometry> Entity) {
    if (!Entity) return nullptr;
    const std::string Name = Entity->GetName();
    if (!Name.empty()) Entity->NameOnAdd(UniqueName(Name));
    TGeometry* Added = Entity.get();
    if (Holes != 0) Settle();
    Held.push_back(std::move(Entity));
    Added->HoldingIndex = static_cast<int>(Held.size()) - 1;
    IndexEntity(*Added);
    this->Added(*Added);
    return Added;
}

void TGeometryList::Clear() {
    Tracker.Clear();
    if (Entities().empty()) return;
    ClearSelection();
    Bracketed(ufEndEditing | ufHourGlass, [&] {
        // Taken out before each is freed, so that nothing can reach a freed entity through the list.
        while (!Entities().empty()) FreeEntity(Extract(Count() - 1));
        HighlightedGeometry = nullptr;
        Changed = true;
    });
}

double TGeometryList::EvaluateMacroNumber(const std::string& Text, TMacroFile& Macro) {
    try {
        return ParseFloat(Text);
    } catch (const EConvertError&) {
        Macro.Error("Unable to convert " + Text + " to number");
    }
}

double TGeometryList::EvaluateNumber(const std::string& Text) { return ParseFloat(Text); }

void TGeometryList::SelectOnly(TGeometry* Entity) {
    Bracketed(ufEndEditing | ufHourGlass, [&] {
        for (int I = 0; I < Count(); ++I) {
            TGeometry* G = Entities()[static_cast<std::size_t>(I)].get();
            if (G != Entity) G->SetSelected(false);
        }
        if (Entity != nullptr) {
            if (Entity->IsHidden()) Entity->SetDisplayState(dsNormal);
            Entity->SetSelected(true);
        }
    });
}

void TGeometryList::SelectAll() {
    if (EditedGeometry != nullptr && EditedGeometry->Editing()) {
        EditedGeometry->SelectAllPoints();
        return;
    }
    ForEachInBracket([](TGeometry& G) { G.SetSelected(true); });
}

void TGeometryList::ClearSelection() {
    ForEachInBracket([](TGeometry& G) { G.SetSelected(false); });
}

void TGeometryList::InvertSelection() {
    ForEachInBracket([](TGeometry& G) { G.SetSelected(!G.GetSelected()); });
}

void TGeometryList::InvalidateViews() {}
void TGeometryList::RefreshViews() {}
void TGeometryList::InvalidateGeometry(TGeometry&) {}
void TGeometryList::DrawGeometry(TGeometry&) {}
void TGeometryList::EraseGeometry(TGeometry&) {}

void TGeometryList::Draw(IGraphics& View) {
    // Selected entities are drawn over the others.
    for (int I = 0; I < Count(); ++I)
        if (!Entities()[static_cast<std::size_t>(I)]->Selected) Entities()[static_cast<std::size_t>(I)]->DrawEntity(View);
    for (int I = 0; I < Count(); ++I)
        if (Entities()[static_cast<std::size_t>(I)]->Selected) Entities()[static_cast<std::size_t>(I)]->DrawEntity(View);
    if (HighlightedGeometry != nullptr && EditedGeometry == nullptr) HighlightedGeometry->DrawHighlighted(View);
    if (OnDraw) OnDraw(View);
    View.SetLineColor(CurrentSettings().DrawColor);
}

void TGeometryList::EraseAll(IGraphics& View) {
    for (int I = 0; I < Count(); ++I) Entities()[static_cast<std::size_t>(I)]->Erase(View);
}

void TGeometryList::DrawPreview(IGraphics& View) {
    for (int I = 0; I < Count(); ++I) Entities()[static_cast<std::size_t>(I)]->DrawPreview(View);
}

// ---- Changes ----

void TGeometryList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    std::unique_ptr<TGeometry> Entity = Take(Index);
    RemovedFrom = Index;
    Removed(*Entity);
    RemovedFrom = -1;
    FreeEntity(std::move(Entity));
}

void TGeometryList::DeleteGeometry(TGeometry* Entity) {
    const int Index = IndexOf(Entity);
    if (Index >= 0) Delete(Index);
}

void TGeometryList::MoveTo(int Index, TGeometry* Entity) {
    // The last entity moved to a place behind the places of the moves that wait (undo giving back many
    // deleted entities, first to last): the move waits too, and all are made in one pass.
    // (The last in the store is the last in the list unless its own move waits.)
    if (Updating() && Holes == 0 && !Held.empty() && Held.back().get() == Entity && Index >= 0 && Index < Count() &&
        (Placements.empty() || (Index > Placements.back().Target && Placements.back().Entity != Entity))) {
        Placements.push_back({Entity, Index});
        Changed = true;
        NotifyChange();
        return;
    }
    const int From = IndexOf(Entity);
    if (From < 0) return;
    Items(Index);  // range check
    auto Moving = std::move(Entities()[static_cast<std::size_t>(From)]);
    Entities().erase(Entities().begin() + From);
    Entities().insert(Entities().begin() + Index, std::move(Moving));
    PositionsStale = true;
    Changed = true;
    NotifyChange();
}

void TGeometryList::Reverse() {
    if (Entities().size() < 2) return;
    std::reverse(Entities().begin(), Entities().end());
    PositionsStale = true;
    Changed = true;
    NotifyChange();
}

void TGeometryList::DeleteSelected() {
    if (SelectedSet.Empty()) return;
    SendMessage(std::make_unique<TGeoClearingSelection>());
    Bracketed(ufEndEditing | ufHourGlass, [&] {
        // Taken out in one pass (not one by one) so that large selections cost linear time; the
        // notifications still run from the last to the first. Every one hears of its removal before
        // any is freed, so that what each is told (an undo snapshot) still holds its references to
        // the others.
        std::vector<int> Places;
        auto Doomed = ExtractSelected(Places);
        for (std::size_t I = Doomed.size(); I-- > 0;) {
            RemovedFrom = Places[I];
            Removed(*Doomed[I]);
            RemovedFrom = -1;
        }
        while (!Doomed.empty()) {
            std::unique_ptr<TGeometry> Entity = std::move(Doomed.back());
            Doomed.pop_back();
            FreeEntity(std::move(Entity));
        }
    });
}

void TGeometryList::SelectByName(const std::string& Name) {
    if (TGeometry* Entity = FindByName(Name)) SelectOnly(Entity);
}

void TGeometryList::SelectClass(const TGeometryClass& Class) { SelectClassName(Class.ClassName()); }

void TGeometryList::SelectClassName(const std::string& ClassName) {
    const std::string Wanted = UpperCase(ClassName);
    ForEachInBracket([&](TGeometry& G) {
        if (G.GetDataObject()) G.SetSelected(UpperCase(G.ClassName()) == Wanted);
    });
}

void TGeometryList::ClearHighlight() {
    if (HighlightedGeometry == nullptr) return;
    HighlightedGeometry->SetHighlighted(false);
    HighlightedGeometry = nullptr;
    InvalidateViews();
}

void TGeometryList::HideAll() {
    ForEachInBracket([](TGeometry& G) { G.SetDisplayState(dsHidden); });
}

void TGeometryList::ShowAll() {
    ForEachInBracket([](TGeometry& G) { G.SetDisplayState(dsNormal); });
}

void TGeometryList::HideSelected() {
    ForEachInBracket([](TGeometry& G) {
        if (G.GetSelected()) G.SetDisplayState(dsHidden);
    });
}

void TGeometryList::HideUnselected() {
    ForEachInBracket([](TGeometry& G) {
        if (!G.GetSelected()) G.SetDisplayState(dsHidden);
    });
}

void TGeometryList::Query(TGeometryQuery& Query, bool SelectedOnly) {
    for (int I = 0; I < Count(); ++I) {
        TGeometry& G = *Entities()[static_cast<std::size_t>(I)];
        if (!SelectedOnly || G.Selected) G.Query(Query);
    }
}

void TGeometryList::CollectSnapPoints(TGeometrySnapInfo& Request) {
    for (int I = 0; I < Count(); ++I) Entities()[static_cast<std::size_t>(I)]->OfferSnapPoints(Request);
}

void TGeometryList::AddInfoMessage(const TInfoMessage& Message) { Tracker.AddInfoMessage(Message); }

void TGeometryList::ClearInfoMessages(const TGeometry& Entity) { Tracker.ClearInfoMessages(&Entity); }

void TGeometryList::TransferFrom(TGeometryList& Source, std::uint8_t Mode, bool ClearFirst) {
    const bool Copying = Mode == tmCopyAll || Mode == tmCopySelected;
    const bool SelectedOnly = Mode == tmCopySelected || Mode == tmMoveSelected;
    BeginUpdate(ufEndEditing | ufHourGlass);
    try {
        Source.BeginUpdate(ufEndEditing | ufHourGlass);
    } catch (...) {
        EndUpdateQuietly();
        throw;
    }
    try {
        if (ClearFirst) Clear();
        if (Copying)
            SendMessage(std::make_unique<TGeoPreCopyMessage>());
        else
            SendMessage(std::make_unique<TGeoPrePasteMessage>());
        for (int I = Source.Count() - 1; I >= 0; --I) {
            if (I >= Source.Count()) continue;
            TGeometry& G = *Source.Entities()[static_cast<std::size_t>(I)];
            if (SelectedOnly && !G.Selected) continue;
            if (Copying) {
                Add(G.Clone());
                continue;
            }
            // Moved without the source's Removed: no undo record there. Its tracked messages go
            // with it, and the source forgets it as edited or highlighted entity.
            std::unique_ptr<TGeometry> Moving = Source.Extract(I);
            if (Source.EditedGeometry == Moving.get()) Source.EditedGeometry = nullptr;
            if (Source.HighlightedGeometry == Moving.get()) Source.HighlightedGeometry = nullptr;
            Source.Changed = true;
            std::unique_ptr<TObjectInfo> Messages = Source.Tracker.ExtractInfo(Moving.get());
            Add(std::move(Moving));
            Tracker.AdoptInfo(std::move(Messages));
        }
        if (Copying)
            SendMessage(std::make_unique<TGeoPostCopyMessage>());
        else
            SendMessage(std::make_unique<TGeoPostPasteMessage>());
    } catch (...) {
        EndUpdateQuietly();
        Source.EndUpdateQuietly();
        throw;
    }
    try {
        EndUpdate();
    } catch (...) {
        Source.EndUpdateQuietly();
        throw;
    }
    Source.EndUpdate();
}

void TGeometryList::TransformSelected(const TMMatrix& M, bool Copy) {
    Bracketed(ufEndEditing | ufHourGlass, [&] {
        // Clones land behind the walked range and are not visited again.
        const int Walked = Count();
        for (int I = 0; I < Walked && I < Count(); ++I) {
            TGeometry& G = *Entities()[static_cast<std::size_t>(I)];
            if (!G.Selected) continue;
            if (!Copy) {
                G.Transform(M);
            } else if (TGeometry* Clone = Add(G.Clone())) {
                Clone->Transform(M);
            }
        }
    });
}

}  // namespace sarnova
