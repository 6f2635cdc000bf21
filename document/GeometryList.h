// The ordered list that owns the entities of a document (and of the clipboard and of closed groups):
// unique names, nested update brackets with one notification at the outermost end, broadcasts,
// selection and visibility, copy and move between lists, transform of the selection, queries and
// drawing. The document object derives from it and overrides the hooks.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "document/Geometry.h"
#include "document/Settings.h"
#include "document/TrackInfo.h"
#include "foundation/AddressTable.h"

namespace sarnova {

class TContours;
class TFrames;

// Flags of BeginUpdate, read only by the outermost bracket.
inline constexpr std::uint8_t ufEndEditing = 1;  // end point editing
inline constexpr std::uint8_t ufHourGlass = 2;   // hourglass cursor until the bracket closes

// Modes of TransferFrom.
inline constexpr std::uint8_t tmCopyAll = 0;
inline constexpr std::uint8_t tmMoveAll = 1;
inline constexpr std::uint8_t tmCopySelected = 2;
inline constexpr std::uint8_t tmMoveSelected = 3;

class TGeometryList {
public:
    TGeometryList();
    // Frees every entity (through this class's Clear; a derived list clears its own state first).
    virtual ~TGeometryList();
    TGeometryList(const TGeometryList&) = delete;
    TGeometryList& operator=(const TGeometryList&) = delete;

    // Called with every broadcast, after the entities.
    std::function<void(TGeoMessage& Message)> OnMessage;
    // Called at the end of Draw.
    std::function<void(IGraphics& View)> OnDraw;
    // Object-snap tolerance in pixels.
    double SnapDistance = 30.0;

    // ---- Virtual operations ----
    // Makes Entity the edited entity (nullptr ends editing). Entities without cpPointEditing are
    // refused. With more than one selected entity, all are deselected first.
    virtual void SetEditedGeometry(TGeometry* Entity);
    virtual void SetProjectOptions(TProjectOptions Value);
    virtual TContours* GetContours();
    virtual TFrames* GetFrames();
    // An undoable entity is about to change.
    virtual void BeforeChange(TGeometry& Entity);
    // An undoable entity is about to change along with another one; BeforeChange unless overridden.
    virtual void BeforeFollowingChange(TGeometry& Entity) { BeforeChange(Entity); }
    virtual void Added(TGeometry& Entity);
    // Entity left the list and is about to be freed.
    virtual void Removed(TGeometry& Entity);
    // Appends the entity, its (non-empty) name made unique first; returns it, nullptr for nullptr.
    virtual TGeometry* Add(std::unique_ptr<TGeometry> Entity);
    // Frees every entity, without Removed notifications, and drops every tracked message.
    virtual void Clear();
    virtual void BeginUpdate(std::uint8_t Flags);
    // Throws EError "TGeometryList.EndUpdate - TGeometryList is not Updating" without a bracket.
    virtual void EndUpdate();
    // Throws the macro error "Unable to convert <Text> to number" through Macro.
    virtual double EvaluateMacroNumber(const std::string& Text, TMacroFile& Macro);
    virtual double EvaluateNumber(const std::string& Text);
    // Only Entity selected (nullptr deselects all); a hidden Entity is shown first.
    virtual void SelectOnly(TGeometry* Entity);
    virtual void SelectAll();
    virtual void ClearSelection();
    virtual void InvertSelection();
    // View hooks; the base has no views.
    virtual void InvalidateViews();
    virtual void RefreshViews();
    virtual void InvalidateGeometry(TGeometry& Entity);
    virtual void DrawGeometry(TGeometry& Entity);
    virtual void EraseGeometry(TGeometry& Entity);
    // Unselected entities, then selected ones over them, the highlighted one, then OnDraw.
    virtual void Draw(IGraphics& View);
    virtual void EraseAll(IGraphics& View);
    virtual void DrawPreview(IGraphics& View);
    // Entities from the last to the first, then OnMessage, then validation after a TGeoListChange.
    virtual void DispatchMessage(TGeoMessage& Message);
    // Reads entity blocks until the end of the text or a "[END GROUP]" line (document/GeometryFile.cpp).
    // A block that fails to read is kept as a TGeoUnknown with a console warning naming its line.
    virtual void LoadFromText(TTextReader& In);

    // ---- Contents ----
    int Count() const { return static_cast<int>(Held.size() - Holes); }
    // Throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    TGeometry& Items(int Index) const;
    int IndexOf(const TGeometry* Entity) const;
    bool Contains(const TGeometry* Entity) const { return IndexOf(Entity) >= 0; }
    // The first entity whose name equals Name, letter case ignored.
    TGeometry* FindByName(const std::string& Name) const;
    int IndexOfName(const std::string& Name) const;
    bool ContainsName(const std::string& Name) const;
    // Name itself when no entity bears it, else the first free name of its IncrementNameNumber chain.
    std::string UniqueName(const std::string& Name) const;

    TGeometry* SingleSelection() const;
    int SelectedCount() const { return static_cast<int>(SelectedSet.Count()); }
    TGeometry* GetEditedGeometry() const { return EditedGeometry; }
    TGeometry* GetHighlightedGeometry() const { return HighlightedGeometry; }
    // The document sets the entity under the mouse; nothing else happens.
    void SetHighlightedGeometry(TGeometry* Entity) { HighlightedGeometry = Entity; }
    TProjectOptions GetProjectOptions() const { return ProjectOptions; }
    TTrackInfo& GetTracker() { return Tracker; }

    // Union of the entities' cached extents, starting from the empty box.
    TMBox GetExtents();
    TMBox GetSelectedExtents();
    // The edited entity's focus box, else the selected extents.
    TMBox GetFocusExtents(IGraphics& View);

    bool Updating() const { return UpdateCount > 0; }
    int GetUpdateCount() const { return UpdateCount; }
    // The flags of the outermost open bracket; 0 outside one.
    std::uint8_t GetUpdateFlags() const { return UpdateCount > 0 ? UpdateFlags : 0; }
    bool IsChanged() const { return Changed; }
    // Sets the changed mark, so that the next notification is a TGeoListChange.
    void SetChanged() { Changed = true; }

    // ---- Changes ----
    void Delete(int Index);
    // Nothing when the list does not hold Entity.
    void DeleteGeometry(TGeometry* Entity);
    // Moves a held entity to Index.
    void MoveTo(int Index, TGeometry* Entity);
    // The entities in the opposite order, as one change.
    void Reverse();
    void DeleteSelected();
    void SelectByName(const std::string& Name);
    // Selects the entities with a data object whose class is Class, deselects the others.
    void SelectClass(const TGeometryClass& Class);
    void SelectClassName(const std::string& ClassName);
    void ClearHighlight();
    void HideAll();
    void ShowAll();
    void HideSelected();
    void HideUnselected();

    // The list becomes the sender when there is none, and its list; then dispatch. Freed afterwards.
    void SendMessage(std::unique_ptr<TGeoMessage> Message);
    // Broadcasts TGeoListChange when the changed mark is set, else TGeoSelectionChange; nothing
    // while updating.
    void NotifyChange();
    // Applies the pending change of every entity, also of those after one that fails, so that one
    // entity that cannot be rebuilt leaves none of the others stale; the first failure is thrown
    // afterwards. With OnFailure, each failure goes to it instead and nothing is thrown.
    void ApplyChanges(const std::function<void(TGeometry&, const std::exception&)>& OnFailure = {});
    // Lets every entity check itself after a list change (empty ones delete themselves), then binds
    // the references that name an entity of the list (TGeometry::BindReferences).
    void ValidateEntities();
    void BindReferences();
    void Query(TGeometryQuery& Query, bool SelectedOnly);
    void CollectSnapPoints(TGeometrySnapInfo& Request);
    void AddInfoMessage(const TInfoMessage& Message);
    void ClearInfoMessages(const TGeometry& Entity);

    // ---- The document file (document/GeometryFile.cpp) ----
    // Every block and the version line, written beside Path and moved over it only when complete: a
    // failure leaves an existing file as it was and propagates.
    void SaveToFile(const std::filesystem::path& Path);
    // Every entity's block, first to last. An entity that cannot be written whole is written as its
    // last good block (LastGoodBlock; nothing when it has none) and named on the console; nothing
    // is thrown for it.
    void SaveToText(TTextWriter& Out);
    // Appends the file's entities inside one update bracket. Only a regular file with a document's
    // shape (HasDocumentShape, after a byte-order mark) is read; anything else throws EInOutError
    // "not a document: <Path>". A block that cannot make a valid entity is kept as it was read, with a
    // console warning; an error of the file itself (it ends early, a number is missing) passes on with
    // the file and line in front ("<Path>, line <n>: "), in words, and the entities read before it stay.
    // An end line outside a group stops the reading with a console warning naming its line.
    void LoadFromFile(const std::filesystem::path& Path);

    // Copies (modes 0, 2) or moves (1, 3) all (0, 1) or the selected (2, 3) entities of Source, from
    // its last to its first, so that they arrive in reverse order.
    void TransferFrom(TGeometryList& Source, std::uint8_t Mode, bool ClearFirst);
    // Transforms the selected entities, or adds transformed clones of them.
    void TransformSelected(const TMMatrix& M, bool Copy);

protected:
    // While Removed runs for a deletion: the index the entity had in the list; -1 otherwise.
    int RemovedFrom = -1;
    // While an undo or redo step runs and settles: the step has put back a state the document held, so
    // the check after the list change removes nothing (an entity that was to leave at the next list
    // change, like a renamed setup, is put back as it was and leaves with the action that removed it).
    bool Restoring = false;

private:
    friend class TGeometry;

    // Whether an entity that finds itself to have no place in the list stays all the same.
    bool KeepsEntities() const { return Restoring && Validating; }

    // The trailing numbers in use after one name prefix, as runs of consecutive numbers, so that the
    // first free number at or above a given one is found without walking the run.
    struct TNumberRuns {
        std::map<long long, long long> Runs;  // first -> last of each run
        // The uses of a number beyond the first; numbers used once, nearly all of them, have no entry.
        std::unordered_map<long long, int> ExtraUses;
        void Insert(long long N);
        void Remove(long long N);
        long long FirstFreeFrom(long long N) const;
    };

    // One block the reader made an entity of, kept until the entity's first regeneration.
    struct TReadBlock;
    // A placeholder holding the block whose lines In reads next, as they stand in the file; the console
    // names the block, its line and the reason.
    static std::unique_ptr<TGeometry> KeepDamagedBlock(TTextReader& In, const std::string& Keyword,
                                                       const std::string& Name, int LineNumber,
                                                       const std::string& Reason);
    // Applies the first change of every entity read; one whose regeneration fails is replaced by its
    // block, kept unchanged.
    void SettleReadEntities(TTextReader& In, const std::vector<TReadBlock>& Read);
    // Puts Entity in the place of the one at Index, which is freed. References to the old entity keep
    // its name and are resolved again on their next use, without hearing of its end.
    void Replace(int Index, std::unique_ptr<TGeometry> Entity);
    // Takes the entity at Index out of the list and its indexes, without notifications.
    std::unique_ptr<TGeometry> Extract(int Index);
    // The same, leaving a gap in the store while the list updates, so that many deletions from the
    // last to the first cost no more than their number; the gaps close when the order is next needed.
    std::unique_ptr<TGeometry> Take(int Index);
    // Closes the gaps and makes the moves that wait.
    void Settle() const;
    // The entities in list order, settled.
    std::vector<std::unique_ptr<TGeometry>>& Entities() const {
        if (Holes != 0 || !Placements.empty()) Settle();
        return Held;
    }
    // Takes every selected entity out, in list order, without notifications; Places gets the index
    // each had.
    std::vector<std::unique_ptr<TGeometry>> ExtractSelected(std::vector<int>& Places);
    // Frees an entity that has left the list, its observers told while it is whole.
    void FreeEntity(std::unique_ptr<TGeometry> Entity);
    // Closes a bracket on the way out of a failure, keeping the first exception.
    void EndUpdateQuietly();
    template <class F>
    void Bracketed(std::uint8_t Flags, F Body);
    void IndexEntity(TGeometry& Entity);
    void IndexName(TGeometry& Entity);
    void UnindexName(TGeometry& Entity);
    void UnindexEntity(TGeometry& Entity);
    void SelectionChanged(TGeometry& Entity);
    // Keeps the names' numbered runs for UniqueName.
    void CountName(const std::string& Key, int Delta);
    void RebuildPositions() const;
    // Runs Call for every entity in list order inside a bracket with flags 3.
    template <class F>
    void ForEachInBracket(F Call);

    // The entities, in list order once settled: gaps (nullptr) left by Take, and the entities whose
    // MoveTo waits in Placements standing at the end.
    mutable std::vector<std::unique_ptr<TGeometry>> Held;
    static constexpr std::size_t NoHole = SIZE_MAX;
    mutable std::size_t Holes = 0;
    // The store's first gap; NoHole without one.
    mutable std::size_t FirstHole = NoHole;
    struct TPlacement {
        TGeometry* Entity;
        int Target;
    };
    // Moves that wait, by increasing target, of entities that were last in the list when moved.
    mutable std::vector<TPlacement> Placements;
    int UpdateCount = 0;
    std::uint8_t UpdateFlags = 0;
    bool Changed = false;
    TGeometry* EditedGeometry = nullptr;
    bool Validating = false;
    // While the reader settles the entities it made: asked by an entity about to delete itself for
    // having nothing to show, true when it was kept as its block instead.
    std::function<bool(TGeometry&)> KeepInsteadOfDeleting;
    // Set by the destructor: the entities are being freed and the list no longer reacts.
    bool Destroying = false;
    TProjectOptions ProjectOptions = 0;
    TTrackInfo Tracker;
    TGeometry* HighlightedGeometry = nullptr;
    // Line of the "[End Group]" that ended the last LoadFromText; 0 when it read to the end.
    int EndLineStop = 0;

    // Whether the entities' HoldingIndex may be out of date: renumbered on demand after an insertion
    // or removal in the middle. An entity's HoldingIndex is its place in the store, valid when that
    // place holds it.
    mutable bool PositionsStale = false;
    // Upper-cased name -> the entities bearing it (unnamed entities are not indexed): an open-addressed
    // table of the entities (empty: a free slot). A slot keeps the top three bits of the hash of the name
    // the entity is indexed under (its name upper-cased) in the pointer's alignment bits, so that a probe
    // looks at only one in eight of the other entities, and a slot stays one pointer wide (a document of
    // a million small entities feels every byte). At most half full.
    struct TNameSlot {
        std::uintptr_t Bits = 0;
        TNameSlot() = default;
        TNameSlot(TGeometry* Entity, std::uint32_t Hash) : Bits(reinterpret_cast<std::uintptr_t>(Entity) | Hash >> 29) {}
        TGeometry* Entity() const { return reinterpret_cast<TGeometry*>(Bits & ~std::uintptr_t{7}); }
        bool MayHold(std::uint32_t Hash) const { return (Bits & 7) == Hash >> 29; }
        explicit operator bool() const { return Bits != 0; }
    };
    static_assert(alignof(TGeometry) >= 8, "the name slots keep three bits in an entity's address");
    std::vector<TNameSlot> NameSlots;
    std::size_t NamedCount = 0;
    // The first slot of Hash's probe run.
    std::size_t FirstNameSlot(std::uint32_t Hash) const { return Hash & (NameSlots.size() - 1); }
    // Upper-cased prefix -> the trailing numbers in use, so that UniqueName jumps over taken runs.
    std::unordered_map<std::string, TNumberRuns> NumberIndex;
    // The selected entities (keys only).
    TAddressTable SelectedSet;
};

}  // namespace sarnova
