// Undo and redo of any kind of action: records on two unbounded stacks, nested groups that make one
// step of many records, and a relocation map through which old records find an object that an undo
// re-created at a new address. Knows nothing about entities; the document feeds it its own records.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/AddressTable.h"

namespace sarnova {

class IUserDialogs;
class TUndoManager;

// ---- Records ----

// One undoable action. A record is owned by the stack or group that holds it; a popped record by
// whoever popped it.
class TUndo {
public:
    virtual ~TUndo();

    // Set when a manager pushes the record.
    TUndoManager* Manager = nullptr;

    virtual std::string Description() const;
    // Reverts the action, pushing the record that reverts the reversal (PushInverse).
    virtual void Execute() = 0;
    // Appends the record's diagnostic lines.
    virtual void Dump(std::vector<std::string>& Lines) const;

    // Hands Record to the manager as an inverse; without a manager it is dropped.
    void PushInverse(std::unique_ptr<TUndo> Record);
};

// A stack of owned records.
class TUndoStack {
public:
    int Count() const { return static_cast<int>(Records.size()); }
    void Push(std::unique_ptr<TUndo> Record);
    // Takes the top record out; nullptr when empty.
    std::unique_ptr<TUndo> Pop();
    // The top record, nullptr when empty.
    TUndo* Top() const { return Records.empty() ? nullptr : Records.back().get(); }
    // From the bottom; throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    TUndo& Items(int Index) const;
    void Clear() { Records.clear(); }
    // Replaces Lines with the records' lines, from the bottom to the top.
    void Dump(std::vector<std::string>& Lines) const;

private:
    std::vector<std::unique_ptr<TUndo>> Records;
};

// Which object now stands for an address that records keep. Pairs are kept in order; duplicates and
// chains are allowed and lookups take one step only. Lookups, additions and removals take constant
// time, so that undoing a deletion of a million entities stays linear.
class TPointerRelocationMap {
public:
    struct TPair {
        void* NewObject;
        void* OldObject;
        bool operator==(const TPair&) const = default;
    };

    int Count() const { return LiveCount; }
    bool Empty() const { return LiveCount == 0; }
    // The pairs in the order they were added; throws std::out_of_range outside 0 .. Count - 1.
    const TPair& Items(int Index) const;
    // A pair with a null object is not kept.
    void Add(void* OldObject, void* NewObject);
    // Deletes every pair of exactly these two objects.
    void Remove(void* OldObject, void* NewObject);
    // The NewObject of the first pair whose OldObject is P; P itself when there is none.
    void* Relocate(void* P) const;
    // The OldObject of the first pair whose NewObject is P; P itself when there is none.
    void* Original(void* P) const;
    void Clear();
    // Room for Count more pairs without growing.
    void Reserve(std::size_t Count);
    // The same pairs with each pair's objects swapped, in the same order.
    TPointerRelocationMap Inverted() const;

private:
    // Removed pairs leave a hole (Live false) until the next compaction. The pairs of one address
    // are chained in the order added, from the index entry's First to its Last.
    struct TSlot {
        TPair Pair;
        std::uint32_t NextByOld;
        std::uint32_t NextByNew;
        bool Live;
    };
    void Compact() const;
    // Appends the slot's pair to the ends of its two chains.
    void Chain(std::uint32_t Slot) const;

    mutable std::vector<TSlot> Slots;
    // The chains of the live pairs by OldObject and by NewObject.
    mutable TAddressTable ByOld;
    mutable TAddressTable ByNew;
    int LiveCount = 0;
};

// A frozen set of relocation pairs, recorded as the first member of the step that followed them.
// Executing it merges them back into the manager's map and pushes the inverted map.
class TUndoPRMOperation : public TUndo {
public:
    explicit TUndoPRMOperation(TPointerRelocationMap AMap) : Map(std::move(AMap)) {}
    static std::unique_ptr<TUndoPRMOperation> CreateInverted(const TPointerRelocationMap& AMap) {
        return std::make_unique<TUndoPRMOperation>(AMap.Inverted());
    }

    void Execute() override;
    // "PRM <old> -> <new>" per pair, addresses in upper-case hexadecimal of at least 8 digits.
    void Dump(std::vector<std::string>& Lines) const override;

    TPointerRelocationMap Map;
};

// Records that are undone and redone as one step, the last recorded first.
class TUndoGroup : public TUndo {
public:
    // "UndoGroup(<member count>)".
    std::string Description() const override;
    void Execute() override;
    // Its own line, then the members' lines indented by three blanks.
    void Dump(std::vector<std::string>& Lines) const override;

    TUndoStack Members;
};

// A record about one object, which it names by the address the object had when the first record
// about it was made. When an undo re-created the object elsewhere, the manager's relocation map leads
// from that address to the object that now stands for it.
class TUndoObject : public TUndo {
public:
    std::string Description() const override { return DescriptionText; }

    // Takes the snapshot the record needs and sets DescriptionText. The base takes nothing.
    virtual void Capture(void* Object);
    // The record that undoes this record's effect, made with CreateFrom.
    virtual std::unique_ptr<TUndo> CreateInverse() = 0;

    // The object that now stands for Subject.
    void* CurrentObject() const;

    // A record of class T about Object, which it captures.
    template <class T>
    static std::unique_ptr<T> Create(void* Object) {
        auto Record = std::make_unique<T>();
        Record->Subject = Object;
        Record->Capture(Object);
        return Record;
    }
    // A record of class T about Source's subject, with Source's manager, capturing the object that
    // stands for the subject now.
    template <class T>
    static std::unique_ptr<T> CreateFrom(const TUndoObject& Source) {
        auto Record = std::make_unique<T>();
        Record->Manager = Source.Manager;
        Record->Subject = Source.Subject;
        Record->Capture(Record->CurrentObject());
        return Record;
    }

    // Never changed once set.
    void* Subject = nullptr;
    std::string DescriptionText;
};

// Undoing a creation: the inverse (a destroy record) is pushed first, while the object still exists;
// then Apply removes and frees the object and its relocation pair goes.
class TUndoCreateObject : public TUndoObject {
public:
    void Execute() override;
    virtual void Apply(void* Object) = 0;
};

// Undoing a change: the inverse captures the present state, then Apply restores the snapshot.
class TUndoModifyObject : public TUndoObject {
public:
    void Execute() override;
    virtual void Apply(void* Object) = 0;
};

// Undoing a deletion: Apply re-creates the object and returns it (nullptr when it cannot); the
// re-created object is then found through the relocation map, and the inverse is a create record.
class TUndoDestroyObject : public TUndoObject {
public:
    void Execute() override;
    virtual void* Apply(void* Object) = 0;
};

// ---- The manager ----

enum class TUndoMode : std::uint8_t { Editing, Undoing, Redoing };

class TUndoManager {
public:
    TUndoManager();
    ~TUndoManager();
    TUndoManager(const TUndoManager&) = delete;
    TUndoManager& operator=(const TUndoManager&) = delete;

    // Run at the end of every undo and redo step, still in its mode and group: the owner brings up to
    // date what the step's records restored, so that whatever that sets off is recorded in the step.
    std::function<void()> OnStepExecuted;

    TUndoMode GetMode() const { return Mode; }
    bool GetEnabled() const { return Enabled; }
    // A new value empties the stacks and the map.
    void SetEnabled(bool Value);
    int GetGroupDepth() const { return GroupDepth; }
    const TUndoStack& GetUndoStack() const { return UndoStack; }
    const TUndoStack& GetRedoStack() const { return RedoStack; }
    const TPointerRelocationMap& GetRelocations() const { return Relocations; }

    // Empties the relocation map and both stacks.
    void Clear();

    // Records a new action: into the open group, else onto the undo stack, emptying the redo stack.
    // Pending relocations are frozen into a group with it. Dropped while disabled, undoing or redoing.
    void AddUndo(std::unique_ptr<TUndo> Record);
    // Records an inverse made while a record executes: into the open group, else onto the opposite
    // stack, which is not emptied. Dropped in any other mode or while disabled.
    void AddInverse(std::unique_ptr<TUndo> Record);

    // Open and close a group level. The outermost open freezes pending relocations into the group's
    // first member; the outermost close stores the group: nothing when it is empty (or holds only
    // those relocations, which then stay pending), its single member alone, else the group. Throws
    // EError "TUndoManager.EndUndo - EndUndo without BeginUndo" with no group open.
    void BeginUndo();
    void EndUndo();
    // BeginUndo, with the last step taken back off the undo stack as the group's first member, so
    // that what a change set off afterwards (a patch pulling its other curves along) is undone with
    // the change. A plain BeginUndo with a group open, no step recorded, relocations pending, or
    // outside editing.
    void BeginUndoJoiningLast();

    // Execute the top record of the undo (redo) stack; nothing when it is empty. Throw EError
    // "TUndoManager.Undo - Unable to Undo, not in editing mode" ("TUndoManager.Redo - Unable to Redo,
    // not in editing mode") while a record executes.
    //
    // A record that fails is not lost: it goes back where it came from, whatever inverse it had
    // already pushed is withdrawn, and the exception passes to the caller. A group that fails part-way
    // keeps the members that did not run, while the inverses of those that ran are recorded as usual,
    // so both stacks still match the document.
    void Undo();
    void Redo();
    // A record waits and no group is open.
    bool CanUndo() const { return UndoStack.Count() > 0 && GroupDepth == 0; }
    bool CanRedo() const { return RedoStack.Count() > 0 && GroupDepth == 0; }
    bool UndoTopIsGroup() const;
    bool RedoTopIsGroup() const;

    // The open group; nullptr with none open. Throws EError "TUndoManager.GetUndoGroup - In group undo
    // mode but not TUndoGroup available" when a level is open without a group.
    TUndoGroup* GetUndoGroup() const;

    // Old is now represented by New; ignored when they are equal or either is null.
    void AddRelocation(void* OldObject, void* NewObject);
    void RemoveRelocation(void* OldObject, void* NewObject);
    // Merges Other into the map so that merging a map and then its inverted copy restores the map.
    void MergeRelocations(const TPointerRelocationMap& Other);
    void* Relocate(void* P) const { return Relocations.Relocate(P); }
    // The address records name the object at P by: the old address a relocation leads from to P, else P.
    void* Original(void* P) const { return Relocations.Original(P); }

    // While a step executes, an object can go as a side effect of another record (a patch deleted with
    // the boundary curve a redo deletes). The document records its deletion as an inverse and names it
    // here; the step's later records about it then do nothing. Forgotten when the step ends.
    // A gone address that a relocation leads on from stands for the live object it leads to: freed
    // addresses come back, so an object that went in this step may have had the address another
    // object's records name it by.
    void ObjectGone(void* Subject) {
        if (Subject != nullptr) Gone.Insert(Subject);
    }
    bool IsGone(void* Subject) const {
        return !Gone.Empty() && Gone.Find(Subject) != nullptr && Relocations.Relocate(Subject) == Subject;
    }
    void ObjectBack(void* Subject) { Gone.Erase(Subject); }
    // The object a create record is deleting now, whose deletion that record has recorded itself.
    void* GetDeleting() const { return Deleting; }
    void SetDeleting(void* Object) { Deleting = Object; }

    // Sets the record's manager and pushes it.
    void PushTo(std::unique_ptr<TUndo> Record, TUndoStack& Stack);
    // Pops, executes and frees the top record, with the failure handling of Undo.
    void ExecuteTop(TUndoStack& Stack);

    // There is no undo history window; says so in a message box.
    void ShowInformationForm(IUserDialogs& Dialogs, const std::string& Caption) const;

private:
    void Run(TUndoStack& Stack, TUndoMode AMode, const char* Message);
    // Hands a finished record on: AddUndo while editing, AddInverse while undoing or redoing.
    void HandOn(std::unique_ptr<TUndo> Record);
    // Where an inverse made now would land.
    TUndoStack* InverseTarget();

    TUndoMode Mode = TUndoMode::Editing;
    bool Enabled = true;
    int GroupDepth = 0;
    std::unique_ptr<TUndoGroup> CurrentGroup;
    // The open group's BeginUndo froze the pending relocations into its first member.
    bool FirstMemberIsFrozenMap = false;
    TUndoStack UndoStack;
    TUndoStack RedoStack;
    TPointerRelocationMap Relocations;
    // The gone addresses (entries without numbers).
    TAddressTable Gone;
    void* Deleting = nullptr;
};

}  // namespace sarnova
