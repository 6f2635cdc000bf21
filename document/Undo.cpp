#include "document/Undo.h"

#include <cinttypes>
#include <cstdio>
#include <stdexcept>

#include "foundation/Errors.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

// ---- Records ----

TUndo::~TUndo() = default;

std::string TUndo::Description() const { return "TUndo"; }

void TUndo::Dump(std::vector<std::string>& Lines) const { Lines.push_back(Description()); }

void TUndo::PushInverse(std::unique_ptr<TUndo> Record) {
    if (Manager != nullptr) Manager->AddInverse(std::move(Record));
}

void TUndoStack::Push(std::unique_ptr<TUndo> Record) {
    if (Record) Records.push_back(std::move(Record));
}

std::unique_ptr<TUndo> TUndoStack::Pop() {
    if (Records.empty()) return nullptr;
    std::unique_ptr<TUndo> Record = std::move(Records.back());
    Records.pop_back();
    return Record;
}

TUndo& TUndoStack::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return *Records[static_cast<std::size_t>(Index)];
}

void TUndoStack::Dump(std::vector<std::string>& Lines) const {
    Lines.clear();
    for (const auto& Record : Records) Record->Dump(Lines);
}

// ---- Relocation map ----

const TPointerRelocationMap::TPair& TPointerRelocationMap::Items(int Index) const {
    if (Index < 0 || Index >= LiveCount) throw std::out_of_range("TPointerRelocationMap::Items");
    if (Slots.size() != static_cast<std::size_t>(LiveCount)) Compact();
    return Slots[static_cast<std::size_t>(Index)].Pair;
}

void TPointerRelocationMap::Chain(std::uint32_t Slot) const {
    // The slot goes at the end of its key's chain in one table.
    const auto Append = [&](TAddressTable& Table, void* Key, std::uint32_t TSlot::*Next) {
        TAddressTable::TEntry& Entry = Table.Insert(Key);
        if (Entry.First == TAddressTable::None)
            Entry.First = Slot;
        else
            Slots[Entry.Last].*Next = Slot;
        Entry.Last = Slot;
    };
    Append(ByOld, Slots[Slot].Pair.OldObject, &TSlot::NextByOld);
    Append(ByNew, Slots[Slot].Pair.NewObject, &TSlot::NextByNew);
}

void TPointerRelocationMap::Add(void* OldObject, void* NewObject) {
    if (OldObject == nullptr || NewObject == nullptr) return;
    const auto Slot = static_cast<std::uint32_t>(Slots.size());
    Slots.push_back({{NewObject, OldObject}, TAddressTable::None, TAddressTable::None, true});
    Chain(Slot);
    ++LiveCount;
}

namespace {

// Unlinks from Entry's chain (linked through Next) every slot that Drop picks; the entry goes when
// its chain is left empty.
template <class TSlots, class TNext, class TDrop>
void Unchain(TAddressTable& Table, TAddressTable::TEntry* Entry, TSlots& Slots, TNext Next, TDrop Drop) {
    std::uint32_t Previous = TAddressTable::None;
    for (std::uint32_t Slot = Entry->First; Slot != TAddressTable::None;) {
        const std::uint32_t Following = Slots[Slot].*Next;
        if (Drop(Slots[Slot])) {
            if (Previous == TAddressTable::None)
                Entry->First = Following;
            else
                Slots[Previous].*Next = Following;
            if (Entry->Last == Slot) Entry->Last = Previous;
        } else {
            Previous = Slot;
        }
        Slot = Following;
    }
    if (Entry->First == TAddressTable::None) Table.Erase(Entry);
}

}  // namespace

void TPointerRelocationMap::Remove(void* OldObject, void* NewObject) {
    TAddressTable::TEntry* Old = ByOld.Find(OldObject);
    if (Old == nullptr) return;
    const int Before = LiveCount;
    Unchain(ByOld, Old, Slots, &TSlot::NextByOld, [&](TSlot& Slot) {
        if (Slot.Pair.NewObject != NewObject) return false;
        Slot.Live = false;
        --LiveCount;
        return true;
    });
    if (LiveCount == Before) return;
    // The pairs just dropped are the dead ones of NewObject's chain.
    if (TAddressTable::TEntry* New = ByNew.Find(NewObject))
        Unchain(ByNew, New, Slots, &TSlot::NextByNew, [](const TSlot& Slot) { return !Slot.Live; });
    if (LiveCount == 0) {
        Clear();
        return;
    }
    // Holes are reclaimed once they outnumber the pairs, so that memory stays proportional.
    if (Slots.size() > 64 && Slots.size() > 2 * static_cast<std::size_t>(LiveCount)) Compact();
}

void TPointerRelocationMap::Compact() const {
    std::vector<TSlot> Kept;
    Kept.reserve(static_cast<std::size_t>(LiveCount));
    for (const TSlot& Slot : Slots)
        if (Slot.Live) Kept.push_back({Slot.Pair, TAddressTable::None, TAddressTable::None, true});
    Slots = std::move(Kept);
    ByOld.Clear();
    ByNew.Clear();
    ByOld.Reserve(Slots.size());
    ByNew.Reserve(Slots.size());
    for (std::size_t I = 0; I < Slots.size(); ++I) Chain(static_cast<std::uint32_t>(I));
}

void* TPointerRelocationMap::Relocate(void* P) const {
    const TAddressTable::TEntry* Found = ByOld.Find(P);
    return Found == nullptr ? P : Slots[Found->First].Pair.NewObject;
}

void* TPointerRelocationMap::Original(void* P) const {
    const TAddressTable::TEntry* Found = ByNew.Find(P);
    return Found == nullptr ? P : Slots[Found->First].Pair.OldObject;
}

void TPointerRelocationMap::Clear() {
    std::vector<TSlot>().swap(Slots);
    ByOld.Clear();
    ByNew.Clear();
    LiveCount = 0;
}

void TPointerRelocationMap::Reserve(std::size_t Count) {
    Slots.reserve(Slots.size() + Count);
    ByOld.Reserve(static_cast<std::size_t>(LiveCount) + Count);
    ByNew.Reserve(static_cast<std::size_t>(LiveCount) + Count);
}

TPointerRelocationMap TPointerRelocationMap::Inverted() const {
    TPointerRelocationMap Result;
    Result.Reserve(static_cast<std::size_t>(LiveCount));
    for (const TSlot& Slot : Slots)
        if (Slot.Live) Result.Add(Slot.Pair.NewObject, Slot.Pair.OldObject);
    return Result;
}

void TUndoPRMOperation::Execute() {
    if (Manager != nullptr) Manager->MergeRelocations(Map);
    PushInverse(CreateInverted(Map));
}

void TUndoPRMOperation::Dump(std::vector<std::string>& Lines) const {
    for (int I = 0; I < Map.Count(); ++I) {
        char Line[64];
        std::snprintf(Line, sizeof Line, "PRM %08" PRIXPTR " -> %08" PRIXPTR,
                      reinterpret_cast<std::uintptr_t>(Map.Items(I).OldObject),
                      reinterpret_cast<std::uintptr_t>(Map.Items(I).NewObject));
        Lines.push_back(Line);
    }
}

// ---- Groups ----

std::string TUndoGroup::Description() const { return "UndoGroup(" + std::to_string(Members.Count()) + ")"; }

void TUndoGroup::Execute() {
    // The members' inverses collect in a new group, which EndUndo stores on the opposite stack.
    Manager->BeginUndo();
    try {
        while (Members.Count() > 0) Manager->ExecuteTop(Members);
    } catch (...) {
        Manager->EndUndo();
        throw;
    }
    Manager->EndUndo();
}

void TUndoGroup::Dump(std::vector<std::string>& Lines) const {
    Lines.push_back(Description());
    std::vector<std::string> MemberLines;
    for (int I = 0; I < Members.Count(); ++I) Members.Items(I).Dump(MemberLines);
    for (const std::string& Line : MemberLines) Lines.push_back("   " + Line);
}

// ---- Object records ----

void TUndoObject::Capture(void*) {}

void* TUndoObject::CurrentObject() const { return Manager != nullptr ? Manager->Relocate(Subject) : Subject; }

void TUndoCreateObject::Execute() {
    // Gone already in this step: its deletion is recorded.
    if (Manager != nullptr && Manager->IsGone(Subject)) return;
    // The inverse first, so that it captures the object while it still exists.
    PushInverse(CreateInverse());
    void* Current = CurrentObject();
    void* Outer = Manager != nullptr ? Manager->GetDeleting() : nullptr;
    if (Manager != nullptr) Manager->SetDeleting(Current);
    try {
        Apply(Current);
    } catch (...) {
        if (Manager != nullptr) Manager->SetDeleting(Outer);
        throw;
    }
    if (Manager != nullptr) {
        Manager->SetDeleting(Outer);
        Manager->RemoveRelocation(Subject, Current);
        // Records of this step that named it by its present address do nothing now.
        if (Current != Subject) Manager->ObjectGone(Current);
    }
}

void TUndoModifyObject::Execute() {
    if (Manager != nullptr && Manager->IsGone(Subject)) return;
    PushInverse(CreateInverse());
    Apply(CurrentObject());
}

void TUndoDestroyObject::Execute() {
    void* Recreated = Apply(CurrentObject());
    if (Recreated == nullptr) return;
    if (Manager != nullptr) {
        Manager->ObjectBack(Subject);
        Manager->ObjectBack(Recreated);
        Manager->AddRelocation(Subject, Recreated);
    }
    PushInverse(CreateInverse());
}

// ---- Manager ----

TUndoManager::TUndoManager() = default;

TUndoManager::~TUndoManager() = default;

void TUndoManager::SetEnabled(bool Value) {
    if (Value == Enabled) return;
    Enabled = Value;
    Clear();
}

void TUndoManager::Clear() {
    Relocations.Clear();
    UndoStack.Clear();
    RedoStack.Clear();
}

void TUndoManager::PushTo(std::unique_ptr<TUndo> Record, TUndoStack& Stack) {
    if (!Record) return;
    Record->Manager = this;
    Stack.Push(std::move(Record));
}

void TUndoManager::AddUndo(std::unique_ptr<TUndo> Record) {
    if (!Record || !Enabled || Mode != TUndoMode::Editing) return;
    if (GroupDepth > 0) {
        PushTo(std::move(Record), GetUndoGroup()->Members);
        return;
    }
    if (Relocations.Empty()) {
        PushTo(std::move(Record), UndoStack);
        RedoStack.Clear();
        return;
    }
    // The pending relocations are frozen into a group with the action, as its first member.
    BeginUndo();
    try {
        AddUndo(std::move(Record));
    } catch (...) {
        EndUndo();
        throw;
    }
    EndUndo();
}

void TUndoManager::AddInverse(std::unique_ptr<TUndo> Record) {
    if (!Record || !Enabled) return;
    if (GroupDepth > 0 && Mode != TUndoMode::Editing) {
        PushTo(std::move(Record), GetUndoGroup()->Members);
    } else if (Mode == TUndoMode::Undoing) {
        PushTo(std::move(Record), RedoStack);
    } else if (Mode == TUndoMode::Redoing) {
        PushTo(std::move(Record), UndoStack);
    }
}

TUndoStack* TUndoManager::InverseTarget() {
    if (!Enabled) return nullptr;
    if (GroupDepth > 0 && CurrentGroup) return &CurrentGroup->Members;
    if (Mode == TUndoMode::Undoing) return &RedoStack;
    if (Mode == TUndoMode::Redoing) return &UndoStack;
    return nullptr;
}

void TUndoManager::BeginUndo() {
    if (GroupDepth > 0) {
        ++GroupDepth;
        return;
    }
    CurrentGroup = std::make_unique<TUndoGroup>();
    CurrentGroup->Manager = this;
    GroupDepth = 1;
    FirstMemberIsFrozenMap = false;
    if (Mode != TUndoMode::Editing || Relocations.Empty()) return;
    // While editing, the relocations made by earlier undos are frozen into this step.
    if (Enabled) {
        PushTo(std::make_unique<TUndoPRMOperation>(std::move(Relocations)), CurrentGroup->Members);
        FirstMemberIsFrozenMap = true;
    }
    Relocations.Clear();
}

void TUndoManager::BeginUndoJoiningLast() {
    const bool Join =
        GroupDepth == 0 && Enabled && Mode == TUndoMode::Editing && Relocations.Empty() && UndoStack.Count() > 0;
    std::unique_ptr<TUndo> Last = Join ? UndoStack.Pop() : nullptr;
    BeginUndo();
    if (Last) PushTo(std::move(Last), CurrentGroup->Members);
}

void TUndoManager::EndUndo() {
    if (GroupDepth == 0) throw EError("TUndoManager.EndUndo - EndUndo without BeginUndo");
    if (--GroupDepth > 0 || !CurrentGroup) return;
    std::unique_ptr<TUndoGroup> Group = std::move(CurrentGroup);
    if (FirstMemberIsFrozenMap && Group->Members.Count() == 1) {
        // Nothing happened in this bracket beyond freezing the relocations: recording them alone would
        // make a step that undoes nothing and would empty the redo stack, so that a bracket as harmless
        // as a click (or the validation that follows every undo) would make an undone deletion
        // impossible to redo. The relocations stay pending for the next real action instead.
        auto& Frozen = static_cast<TUndoPRMOperation&>(Group->Members.Items(0)).Map;
        for (int I = 0; I < Relocations.Count(); ++I)
            Frozen.Add(Relocations.Items(I).OldObject, Relocations.Items(I).NewObject);
        Relocations = std::move(Frozen);
        return;
    }
    if (Group->Members.Count() == 0) return;
    if (Group->Members.Count() == 1) {
        HandOn(Group->Members.Pop());
        return;
    }
    HandOn(std::move(Group));
}

void TUndoManager::HandOn(std::unique_ptr<TUndo> Record) {
    if (Mode == TUndoMode::Editing)
        AddUndo(std::move(Record));
    else
        AddInverse(std::move(Record));
}

TUndoGroup* TUndoManager::GetUndoGroup() const {
    if (GroupDepth <= 0) return nullptr;
    if (!CurrentGroup)
        throw EError("TUndoManager.GetUndoGroup - In group undo mode but not TUndoGroup available");
    return CurrentGroup.get();
}

void TUndoManager::ExecuteTop(TUndoStack& Stack) {
    std::unique_ptr<TUndo> Record = Stack.Pop();
    if (!Record) return;
    if (Record->Manager == nullptr) Record->Manager = this;
    TUndoStack* Target = InverseTarget();
    const int Mark = Target != nullptr ? Target->Count() : 0;
    try {
        Record->Execute();
    } catch (...) {
        // The record goes back, so that the history still describes the document. A group has already
        // recorded the inverses of the members that ran and keeps only those that did not.
        auto* Group = dynamic_cast<TUndoGroup*>(Record.get());
        if (Group == nullptr) {
            while (Target != nullptr && Target->Count() > Mark) Target->Pop();
            Stack.Push(std::move(Record));
        } else if (Group->Members.Count() > 0) {
            Stack.Push(std::move(Record));
        }
        throw;
    }
}

void TUndoManager::Run(TUndoStack& Stack, TUndoMode AMode, const char* Message) {
    if (Mode != TUndoMode::Editing) throw EError(Message);
    Mode = AMode;
    // One bracket round the step, so that what it sets off (an entity deleted or changed along with
    // the one the record restores) lands in the same step as the record's own inverse.
    BeginUndo();
    try {
        ExecuteTop(Stack);
        if (OnStepExecuted) OnStepExecuted();
    } catch (...) {
        try {
            EndUndo();
        } catch (...) {
        }
        Mode = TUndoMode::Editing;
        Gone.Clear();
        Deleting = nullptr;
        throw;
    }
    EndUndo();
    Mode = TUndoMode::Editing;
    Gone.Clear();
}

void TUndoManager::Undo() {
    Run(UndoStack, TUndoMode::Undoing, "TUndoManager.Undo - Unable to Undo, not in editing mode");
}

void TUndoManager::Redo() {
    Run(RedoStack, TUndoMode::Redoing, "TUndoManager.Redo - Unable to Redo, not in editing mode");
}

bool TUndoManager::UndoTopIsGroup() const { return dynamic_cast<TUndoGroup*>(UndoStack.Top()) != nullptr; }

bool TUndoManager::RedoTopIsGroup() const { return dynamic_cast<TUndoGroup*>(RedoStack.Top()) != nullptr; }

void TUndoManager::AddRelocation(void* OldObject, void* NewObject) {
    if (OldObject == NewObject || OldObject == nullptr || NewObject == nullptr) return;
    Relocations.Add(OldObject, NewObject);
}

void TUndoManager::RemoveRelocation(void* OldObject, void* NewObject) { Relocations.Remove(OldObject, NewObject); }

void TUndoManager::MergeRelocations(const TPointerRelocationMap& Other) {
    TPointerRelocationMap Merged;
    for (int I = 0; I < Other.Count(); ++I) {
        void* Old = Other.Items(I).OldObject;
        void* Current = Other.Items(I).NewObject;
        void* Resolved = Relocations.Relocate(Current);
        if (Old != Resolved) Merged.Add(Old, Resolved);
        if (Resolved != Current) Relocations.Remove(Current, Resolved);
    }
    for (int I = 0; I < Merged.Count(); ++I) Relocations.Add(Merged.Items(I).OldObject, Merged.Items(I).NewObject);
}

void TUndoManager::ShowInformationForm(IUserDialogs& Dialogs, const std::string& Caption) const {
    Dialogs.MessageBox(Caption, "TUndoManager.ShowInformationForm - Undo Debug Form Diabled", TMsgDlgType::mtInformation,
                       mbOK);
}

}  // namespace sarnova
