// References from one entity to another (a group to its members, a patch to its boundary curves, a
// window to the entity it watches). A reference names its target and, once linked, watches it as an
// observer: it follows renames, hears changes and unlinks itself when the target is freed, so it never
// points at a dead entity. A name whose entity does not exist yet (a file read front to back) is
// resolved through the owner's list on first use.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/Geometry.h"

namespace sarnova {

class TGeometryReference : public TGeometryObserver {
public:
    // Unlinked, with an empty name. Owner's list is where names are resolved.
    explicit TGeometryReference(TGeometry* AOwner);
    ~TGeometryReference() override;
    TGeometryReference(const TGeometryReference&) = delete;
    TGeometryReference& operator=(const TGeometryReference&) = delete;

    // Each is called with the current target (nullptr once unlinked).
    std::function<void(TGeometry*)> OnChanged;    // the target applied a change
    std::function<void(TGeometry*)> OnDestroyed;  // the target is being freed; may free this reference
    std::function<void(TGeometry*)> OnChanging;   // the target is about to change
    std::function<void(TGeometry*)> OnModified;   // the target was marked changed, or a link was made or undone

    TGeometry* GetOwner() const { return Owner; }
    // The target's present name while linked, else the name last set.
    std::string GetName() const;
    // The target; an unlinked reference with a name first looks the name up and links what it finds.
    TGeometry* GetGeometry();
    // Nothing when Name equals the present name exactly. An empty name unlinks; otherwise the entity
    // of that name in the owner's list is linked, and when there is none a present link stays.
    void SetName(const std::string& Name);
    void SetGeometry(TGeometry* Entity);
    // The entity of that name (letter case ignored) in the owner's list; nullptr without owner or list.
    TGeometry* FindGeometry(const std::string& Name) const;
    bool Assigned() const { return Target != nullptr; }
    // Takes the other's name only; the next GetGeometry resolves it.
    void Assign(const TGeometryReference& Other);
    // Links an unlinked reference to the entity of exactly its name in the owner's list, without the
    // events of a new link: the holder already stands as it would with the target found on first use.
    void Bind();
    // The owner is being freed before the reference: names are no longer resolved anywhere.
    void OwnerFreed() { Owner = nullptr; }

    // ---- Observer side ----
    void DoChanging() override;
    void Modified() override;
    void DoChanged() override;
    // DoDestroyed, then unlinks, unless the event freed this reference.
    void TargetDestroyed() override;
    // Unlinks without the destroyed event and keeps the name, so that the name is resolved again on
    // the next use (the target is being replaced by another entity).
    void Release();

protected:
    virtual void DoModified();
    virtual void DoDestroyed();

private:
    void Attach(TGeometry* Entity);
    void Detach();

    mutable std::string TargetName;
    TGeometry* Owner;
    TGeometry* Target = nullptr;
    // Cleared by the destructor, so that TargetDestroyed sees whether its event freed the reference.
    std::shared_ptr<bool> Alive = std::make_shared<bool>(true);
};

// A list of references; this base does not own them. Add, Remove and Clear fire OnChange.
class TGeometryReferences {
public:
    TGeometryReferences() = default;
    virtual ~TGeometryReferences();
    TGeometryReferences(const TGeometryReferences&) = delete;
    TGeometryReferences& operator=(const TGeometryReferences&) = delete;

    std::function<void(TGeometryReferences&)> OnChange;

    virtual void Add(TGeometryReference* Reference);
    virtual void Remove(TGeometryReference* Reference);
    virtual void Clear();

    int Count() const { return static_cast<int>(References.size()); }
    // Throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    TGeometryReference& Items(int Index) const;
    TGeometryReference* Last() const { return References.empty() ? nullptr : References.back(); }
    // The first reference whose name equals Name, letter case ignored; -1 when none.
    int IndexOfName(const std::string& Name) const;
    TGeometryReference* FindByName(const std::string& Name) const;
    bool ContainsName(const std::string& Name) const { return IndexOfName(Name) >= 0; }
    // The first reference whose target is Entity; resolves unlinked references on the way.
    int IndexOfGeometry(const TGeometry* Entity) const;
    bool ContainsGeometry(const TGeometry* Entity) const { return IndexOfGeometry(Entity) >= 0; }
    void DoChange();

protected:
    // Takes Reference out of the list without freeing it; false when it is not there.
    bool Take(TGeometryReference* Reference);

    std::vector<TGeometryReference*> References;
};

// The references of one entity, owned by the list: a reference whose target is freed is removed from
// the list and freed (its OnDestroyed is the list's).
class TGeometryReferencesList : public TGeometryReferences {
public:
    explicit TGeometryReferencesList(TGeometry* AOwner) : Owner(AOwner) {}
    ~TGeometryReferencesList() override;

    TGeometry* GetOwner() const { return Owner; }
    // Removes and frees the reference when the list owns it.
    void Remove(TGeometryReference* Reference) override;
    // Frees every reference, from the last to the first.
    void Clear() override;

    // A new reference named Name (linked when the entity exists), appended.
    TGeometryReference* AddName(const std::string& Name);
    // A new reference linked to Entity, appended.
    TGeometryReference* AddGeometry(TGeometry* Entity);
    // Removes and frees the reference to Entity; nothing when none.
    void RemoveGeometry(const TGeometry* Entity);
    // The other list's names, resolved in this list's owner's list.
    void Assign(const TGeometryReferencesList& Other);

private:
    TGeometryReference* AddOwned(std::unique_ptr<TGeometryReference> Reference);
    // Frees Reference when the list owns it.
    void Free(TGeometryReference* Reference);

    TGeometry* Owner;
    std::vector<std::unique_ptr<TGeometryReference>> Owned;
};

}  // namespace sarnova
