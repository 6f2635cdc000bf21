// The dependency graph of the curve network: named nodes (curves, surfaces) that rest on one another
// through by-name references, with change notification towards everything that rests on a node, lazy
// regeneration of stale inputs, node messages and the manager through which a node reaches its
// document.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/GeomInfo.h"

namespace sarnova {

class IGraphics;
class TTextReader;
class TTextWriter;
class TXTNode;
class TXTNodeList;
class TXTReference;
class TXTCurveElement;

// ---- Node messages ----

// Sent by a node to itself and to every reference that points at it; the sender frees it after
// delivery.
class TXTMessage {
public:
    virtual ~TXTMessage();
    // The sending node, set by TXTNode::SendMessage.
    TXTNode* Node = nullptr;
};

// The node is being destroyed: whatever rests on it must let go.
class TXTDeleteNodeMessage : public TXTMessage {};

// A point of a curve and its index in its list when the message was made (-1 when in no list).
class TXTChangePointsMessage : public TXTMessage {
public:
    explicit TXTChangePointsMessage(TXTCurveElement* AElement);
    TXTCurveElement* Element;
    int Index;
};

// A point was inserted at Index.
class TXTInsertPointMessage : public TXTChangePointsMessage {
public:
    using TXTChangePointsMessage::TXTChangePointsMessage;
};

// The point at Index is about to be removed (it is still in the list).
class TXTRemovePointMessage : public TXTChangePointsMessage {
public:
    using TXTChangePointsMessage::TXTChangePointsMessage;
};

class TXTReversePointsMessage : public TXTMessage {};
class TXTCurveReparameterisationMessage : public TXTMessage {};
class TXTRibbonTangentChangeMessage : public TXTMessage {};

// ---- The manager ----

// What a node needs of the document: the entity that holds the node implements it.
class IXTManager : public ITrackInfo {
public:
    // The node held by the document entity of that name; nullptr when there is none, when the entity
    // holds no node, or when the manager belongs to no document.
    virtual TXTNode* FindNode(const std::string& Name) = 0;
    // The nodes of every entity of the document that holds one, in document order; nullptr when the
    // manager belongs to no document.
    virtual std::unique_ptr<TXTNodeList> Nodes() = 0;
};

// ---- Reference lists ----

// A list of references that owns none of them. While a message is dispatched over the list, a
// reference that leaves it leaves an empty entry (nullptr) behind, so that the walk neither skips nor
// repeats anyone; the entries close up when the dispatch ends. Readers skip empty entries.
class TXTReferences {
public:
    TXTReferences() = default;
    TXTReferences(const TXTReferences&) = delete;
    TXTReferences& operator=(const TXTReferences&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // nullptr for an entry emptied during a dispatch.
    TXTReference* Items(int Index) const;
    TXTNode* OwnerOf(int Index) const;
    // The resolved target (TXTReference::GetTarget).
    TXTNode* TargetOf(int Index) const;
    bool Contains(const TXTReference* Reference) const;
    void Add(TXTReference* Reference);
    void Remove(TXTReference* Reference);
    // Empties the list; frees nothing.
    void Clear();
    // TXTReference::HandleMessage on every reference, last to first; a receiver may detach or free
    // its own reference meanwhile.
    void Dispatch(TXTMessage& Message);

private:
    std::vector<TXTReference*> FItems;
    int FDispatching = 0;
    bool FHoles = false;
};

// ---- Node lists ----

// An abstract list of nodes.
class TXTNodes {
public:
    virtual ~TXTNodes();
    virtual int Count() const = 0;
    virtual TXTNode* Items(int Index) const = 0;
    virtual void Add(TXTNode* Node) = 0;
    virtual void Clear() = 0;
    // The first index of Node, -1 when absent.
    int IndexOf(const TXTNode* Node) const;
    bool Contains(const TXTNode* Node) const { return IndexOf(Node) >= 0; }
};

// A plain list of nodes it does not own.
class TXTNodeList : public TXTNodes {
public:
    int Count() const override { return static_cast<int>(FNodes.size()); }
    TXTNode* Items(int Index) const override;
    void Add(TXTNode* Node) override { FNodes.push_back(Node); }
    void Clear() override { FNodes.clear(); }
    virtual void Delete(int Index);
    // Removes the first entry of Node; nothing when absent.
    virtual void Remove(TXTNode* Node);

private:
    std::vector<TXTNode*> FNodes;
};

// ---- Nodes ----

// A named node of the graph. Inputs holds the references of this node's parts that point at other
// nodes (what it rests on), Dependents the references of other nodes' parts that point at this one
// (who rests on it). Neither list owns its references.
//
// A concrete node calls NotifyDestroying() first thing in its destructor, so that the nodes resting on
// it let go while it is still whole; the base destructor does it otherwise.
class TXTNode {
public:
    TXTNode();
    virtual ~TXTNode();
    TXTNode(const TXTNode&) = delete;
    TXTNode& operator=(const TXTNode&) = delete;

    // Called after the dependents were told of a change; set by the entity that holds the node.
    std::function<void(TXTNode*)> OnChange;
    // A node this one rests on is being destroyed: fired before this node lets go of it, so that its
    // holder can keep what it had (an undo snapshot).
    std::function<void(TXTNode*)> OnLosingInput;
    // An input changed while this node was up to date: its next rebuild will change what it keeps to
    // follow (points moved along with a moved bead, a bead sliding along its reparameterised host), so
    // that its holder can record it first.
    std::function<void(TXTNode*)> OnFollowingInput;
    // The entity that holds the node; not owned.
    IXTManager* Manager = nullptr;

    const std::string& GetName() const { return FName; }
    // Stores the name; nothing is notified (references read the new name from their target).
    void SetName(const std::string& Name) { FName = Name; }
    TXTReferences& Inputs() { return FInputs; }
    const TXTReferences& Inputs() const { return FInputs; }
    TXTReferences& Dependents() { return FDependents; }
    const TXTReferences& Dependents() const { return FDependents; }

    // Node is this node or rests on it, directly or through other nodes.
    bool HasDependent(const TXTNode* Node) const;
    // This node, then each node resting on the one before, ending with Node; empty when Node does
    // not rest on this node.
    std::vector<const TXTNode*> DependentPath(const TXTNode* Node) const;
    // A reference in Inputs resolves to Node.
    bool HasInput(const TXTNode* Node) const;
    // The manager's node of that name; nullptr without a manager.
    TXTNode* FindNode(const std::string& Name) const;
    // Sets the message's Node, hands it to HandleMessage, then to every dependent reference, last to
    // first.
    void SendMessage(TXTMessage& Message);
    // Sends the delete message once; afterwards the node accepts no new dependents and its own
    // change notifications stop.
    void NotifyDestroying();
    bool IsDestroying() const { return FDestroying; }

    virtual void HandleMessage(TXTMessage& Message) {}
    // Brings the inputs up to date: ValidateReferences, then every stale input regenerated, in list
    // order. Subclasses then rebuild themselves.
    virtual void Regenerate();
    virtual bool IsUpToDate() const { return true; }
    // Tells every dependent, depth first in list order, then runs OnChange. Subclasses mark
    // themselves stale first and then call this.
    virtual void Changed();
    virtual void LoadFromText(TTextReader& F) {}
    virtual void SaveToText(TTextWriter& F) {}
    virtual void Draw(IGraphics& G) {}
    // With a manager the message, sent by this node, is recorded; without one it is raised as an
    // EError with the message's text.
    virtual void ReportInfo(const TInfoMessage& Message);
    // Drops the messages recorded for Sender (this node when nullptr); nothing without a manager.
    virtual void ClearInfoMessages(const TXTNode* Sender = nullptr);
    virtual void ResolveReferences() {}
    virtual void CheckReferences() {}
    virtual void ValidateReferences() {}

private:
    friend class TXTReference;

    std::string FName;
    TXTReferences FInputs;
    TXTReferences FDependents;
    bool FDestroying = false;
    // The change walk that last reached this node: a node reached again by another path is not
    // walked twice.
    std::uint64_t FWalk = 0;
};

// A by-name link from a part of its owner node to a target node. Unattached (no name), unresolved (a
// name, no target: the target is looked up on first use) or attached (then it is in the owner's
// Inputs and the target's Dependents, once each). It never links a node that rests on its owner: the
// graph has no cycles.
class TXTReference {
public:
    explicit TXTReference(TXTNode* AOwner);
    virtual ~TXTReference();
    TXTReference(const TXTReference&) = delete;
    TXTReference& operator=(const TXTReference&) = delete;

    // Called with the changed node when the target or the attachment changed.
    std::function<void(TXTNode*)> OnChange;
    // Called with every message of the target.
    std::function<void(TXTMessage&)> OnMessage;

    TXTNode* GetOwner() const { return FOwner; }
    // The target, resolved by name when there is none yet; nullptr when no node bears the name or
    // when attaching the one that does would close a cycle.
    TXTNode* GetTarget();
    // The target as it stands, without looking anything up.
    TXTNode* CurrentTarget() const { return FTarget; }
    // The name, refreshed from the target when attached.
    const std::string& GetName();
    void SetTarget(TXTNode* Node);
    // An empty name detaches. Otherwise the named node is attached when found; when it is not, the
    // reference is left unresolved with that name.
    void SetName(const std::string& Name);
    void AssignName(TXTReference& Other) { SetName(Other.GetName()); }
    // Links Node unless it is nullptr, is being destroyed or rests on the owner (a cycle); then tells
    // the owner.
    void Attach(TXTNode* Node);
    // Unlinks the target and tells the owner.
    void Detach();
    // OnChange with Sender, then the owner's Changed.
    void Notify(TXTNode* Sender);
    // OnMessage, then a delete message of the target detaches. OnMessage may free this reference.
    virtual void HandleMessage(TXTMessage& Message);

private:
    friend class TXTNode;
    friend class TXTNodeReferences;
    // Notify as a step of a change walk: an owner the walk reached already is not walked again.
    void NotifyInWalk(TXTNode* Sender, std::uint64_t Walk);
    // Unlinks the target without telling anyone.
    void Release();
    // Marks kept by HandleMessage calls in progress, so that they learn when OnMessage freed the
    // reference.
    struct TAliveMark {
        bool Alive = true;
        TAliveMark* Outer = nullptr;
    };

    std::string FName;
    TXTNode* FTarget = nullptr;
    TXTNode* FOwner;
    TAliveMark* FAlive = nullptr;
};

// The nodes an owner node rests on, held as references that the list owns (the base of a surface's
// curve list). Items are the references' resolved targets.
class TXTNodeReferences : public TXTNodes {
public:
    explicit TXTNodeReferences(TXTNode* AOwner);
    ~TXTNodeReferences() override;

    TXTNode* GetOwner() const { return FOwner; }
    int Count() const override { return static_cast<int>(FReferences.size()); }
    // The resolved target; nullptr when unresolved.
    TXTNode* Items(int Index) const override;
    TXTReference& Reference(int Index) const;
    // A new reference to Node, appended; then the owner's Changed.
    void Add(TXTNode* Node) override;
    // The same by name; the name is resolved now or on first use.
    void AddByName(const std::string& Name);
    // False when Node rests on the owner (or is it) or is an input of the owner already.
    bool CanAdd(const TXTNode* Node) const;
    // Detaches and frees the reference, then the owner's Changed.
    void Delete(int Index);
    void Remove(TXTNode* Node);
    // Every reference detached and freed, then the owner's Changed.
    void Clear() override;
    // A delete message of one of the nodes removes it.
    virtual void HandleMessage(TXTMessage& Message);
    // Clear, then the non-empty names of Other, in order.
    void AssignNames(TXTNodeReferences& Other);
    // Deletes every entry that does not resolve, last to first.
    void RemoveUnresolved();

private:
    std::unique_ptr<TXTReference> NewReference();
    TXTNode* FOwner;
    std::vector<std::unique_ptr<TXTReference>> FReferences;
};

}  // namespace sarnova
