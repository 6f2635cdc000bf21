// The dependency graph under the Tarvo curves, surfaces and hulls: named nodes whose derived data is
// rebuilt lazily, parents first, and references by which one node depends on another. A change
// invalidates everything downstream; a reference that would close a cycle is refused.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sarnova {

class IGraphics;
class TTextReader;
class TTextWriter;
class TNode;
class TNodeReference;
class TNodes;

enum TNodeState : std::uint8_t {
    nsInvalid = 0,     // derived data must be rebuilt
    nsEvaluating = 1,  // parents or the node itself are being evaluated
    nsValid = 2        // derived data is current
};

// Something a node tells itself and the nodes that depend on it. Node is the sender, stamped by
// SendMessage.
class TNodeMessage {
public:
    virtual ~TNodeMessage();
    TNode* Node = nullptr;
};

// The sender is being destroyed: every reference to it lets go.
class TDeleteNodeMessage : public TNodeMessage {};

// Resolves node names; the Tarvo entities implement it over their document list.
class INodeManager {
public:
    virtual ~INodeManager() = default;
    // The node of that name, or nullptr.
    virtual TNode* FindNode(const std::string& Name) = 0;
    // Every node of the document, in list order; the list does not own them.
    virtual std::unique_ptr<TNodes> Nodes() = 0;
};

// A list of references that owns none of them.
class TNodeReferences {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TNodeReference* Items(int Index) const;
    TNode* OwnerNode(int Index) const;
    // GetNode of the reference at Index.
    TNode* TargetNode(int Index) const;
    void Add(TNodeReference* Reference);
    void Remove(TNodeReference* Reference);
    void Clear() { FItems.clear(); }
    // HandleMessage of every reference, last first, so that a reference may leave the list (or take
    // later ones with it) while the message goes round.
    void Broadcast(TNodeMessage& Message);

private:
    std::vector<TNodeReference*> FItems;
};

using TNodeNotifyEvent = std::function<void(TNode* Sender)>;
using TNodeMessageEvent = std::function<void(TNodeMessage& Message)>;

class TNode {
public:
    std::string Name;
    TNodeNotifyEvent OnInvalidate;
    TNodeNotifyEvent OnChange;
    TNodeMessageEvent OnMessage;
    // A node this one depends on is being destroyed: fired before this node lets go of it, so that
    // its holder can keep what it had (an undo snapshot).
    TNodeNotifyEvent OnLosingParent;
    // The node is about to evaluate itself (its parents are up to date): fired before Evaluate may
    // change what the node holds, so that its holder can keep the state before (an undo snapshot).
    TNodeNotifyEvent OnEvaluating;

    TNode();
    TNode(const TNode&) = delete;
    TNode& operator=(const TNode&) = delete;
    // Announces the deletion (unless a subclass did already) and lets go of every reference still
    // held.
    virtual ~TNode();

    TNodeState GetState() const { return FState; }
    bool IsValid() const { return FState == nsValid; }
    // The attached references this node holds, and those of other nodes that point at it.
    const TNodeReferences& Parents() const { return FParents; }
    const TNodeReferences& Dependents() const { return FDependents; }

    void SetManager(INodeManager* Manager) { FManager = Manager; }
    bool HasManager() const { return FManager != nullptr; }
    INodeManager* Manager() const { return FManager; }
    // The manager's node of that name; nullptr without a manager.
    TNode* FindNode(const std::string& NodeName) const;
    // Some reference of Parents resolves to Node.
    bool HasParent(const TNode* Node) const;

    // Marks the derived data stale and walks the dependents. Without Force a node that is not valid
    // is left alone, and so are its dependents, which are stale already.
    void Invalidate(bool Force);
    // Updates every parent that is not valid.
    void EvaluateParents();
    // Brings the node up to date, parents first. A node being evaluated is not entered again. When
    // evaluating fails the node goes back to invalid, so the next Update tries again, and the error
    // passes on.
    void Update();
    // Stamps the message with this node, hands it to this node's HandleMessage, then to every
    // reference pointing here, last first. The message is freed also when a handler throws.
    void SendMessage(std::unique_ptr<TNodeMessage> Message);

    virtual void DoChange();
    virtual void DoInvalidate();
    virtual void DoMessage(TNodeMessage& Message);
    // A message this node sent, or one a parent sent (references pass their messages on to their
    // owner). The base fires OnMessage.
    virtual void HandleMessage(TNodeMessage& Message);
    virtual void Draw(IGraphics& G) {}
    virtual void LoadFromText(TTextReader& F) {}
    virtual void SaveToText(TTextWriter& F) {}

protected:
    // Rebuilds the derived data; called only by Update, with every parent up to date.
    virtual void Evaluate() = 0;
    // Sends the delete message once. A subclass whose handling of messages needs its own parts calls
    // it first thing in its destructor, while those parts are still there.
    void AnnounceDeletion();

private:
    friend class TNodeReference;

    TNodeState FState = nsInvalid;
    TNodeReferences FParents;
    TNodeReferences FDependents;
    INodeManager* FManager = nullptr;
    bool FDeletionAnnounced = false;
};

// True when Other is Node or depends on it, directly or through other nodes: a reference owned by
// Node must not point at Other.
bool IsDependentNode(const TNode* Node, const TNode* Other);
// True when Other owns one of the references pointing at Node (one step only).
bool IsDirectDependent(const TNode* Node, const TNode* Other);

// A list of nodes that owns none of them; a node is held at most once.
class TNodes {
public:
    TNodes() = default;
    TNodes(const TNodes&) = delete;
    TNodes& operator=(const TNodes&) = delete;
    virtual ~TNodes() = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    TNode* Items(int Index) const;
    // Appends Node unless the list holds it already (or it is nullptr).
    void Add(TNode* Node);
    // Inserts Node before Index (0 .. Count) unless the list holds it already.
    void Insert(int Index, TNode* Node);
    virtual void Clear() { FItems.clear(); }
    // Throw the list index error on an empty list.
    TNode* First() const;
    TNode* Last() const;
    // -1 when absent.
    int IndexOf(const TNode* Node) const;

protected:
    std::vector<TNode*> FItems;
};

// A dependency of its Owner on a target node, named so that it can be resolved late. Whoever creates
// a reference owns it; the owner node and the lists never do. It stands in the owner's Parents and in
// the target's Dependents exactly while it is attached.
class TNodeReference {
public:
    std::function<void(TNodeReference* Sender)> OnChange;
    TNodeMessageEvent OnMessage;

    explicit TNodeReference(TNode* Owner);
    TNodeReference(const TNodeReference&) = delete;
    TNodeReference& operator=(const TNodeReference&) = delete;
    // Detaches.
    ~TNodeReference();

    TNode* Owner() const { return FOwner; }
    // The target: the attached node, else the owner's node of that name, which is attached now when
    // the cycle test allows (it is returned either way; a refused one is looked up again next time).
    TNode* GetNode();
    // The attached target without looking anything up.
    TNode* AttachedNode() const { return FNode; }
    // The target's current name while attached, else the name given.
    const std::string& GetName();
    // Detaches from the current target and attaches to Node; nothing when Node is the target.
    void SetNode(TNode* Node);
    // A new name: an empty one detaches; one that a node bears attaches to that node; any other
    // keeps the current target and is resolved later.
    void SetName(const std::string& NewName);
    // Takes Other's name and target.
    void Assign(TNodeReference& Other);
    // Fires OnChange and invalidates the owner.
    void Changed();
    // Fires OnMessage, passes the message on to the owner's HandleMessage, and detaches when the
    // message announces the deletion of the target.
    void HandleMessage(TNodeMessage& Message);
    bool IsAssigned() { return GetNode() != nullptr; }
    // Attaches to Target unless it is nullptr or depends on the owner (refused silently), updates
    // the target and invalidates the owner.
    void Attach(TNode* Target);
    // Leaves both lists and invalidates the owner; nothing when not attached.
    void Detach();
    // Attaches to the node that the name stands for, when not attached yet, without invalidating the
    // owner: what the owner holds was made from that node already (it was read from a file or given
    // back by an undo step), and from now on it follows the node's renames and changes.
    void Bind();
    // A new name for a reference not attached yet, bound at once as Bind does: the node that bears it
    // is not brought up to date now, as it may itself be half restored.
    void BindName(const std::string& Name);

private:
    friend class TNode;

    std::string FName;
    TNode* FNode = nullptr;
    TNode* FOwner;
    // While the owner handles a message passed on by this reference, the owner may hand it back
    // here (it is not passed on again) or destroy this reference (the destructor raises the flag
    // that FDestroyed points at, so the message handling stops touching it).
    bool FPassingOn = false;
    bool* FDestroyed = nullptr;
};

}  // namespace sarnova
