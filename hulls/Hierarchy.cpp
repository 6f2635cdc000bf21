#include "hulls/Hierarchy.h"

#include <algorithm>
#include <unordered_set>

#include "foundation/NumberText.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

[[noreturn]] void NodeListIndexError(int Index) {
    throw EError(Format("List index out of bounds (%d)", {Index}));
}

template <class T>
T* ItemAt(const std::vector<T*>& Items, int Index) {
    if (Index < 0 || Index >= static_cast<int>(Items.size())) NodeListIndexError(Index);
    return Items[static_cast<std::size_t>(Index)];
}

}  // namespace

TNodeMessage::~TNodeMessage() = default;

// ---- TNodeReferences ----

TNodeReference* TNodeReferences::Items(int Index) const { return ItemAt(FItems, Index); }

TNode* TNodeReferences::OwnerNode(int Index) const { return Items(Index)->Owner(); }

TNode* TNodeReferences::TargetNode(int Index) const { return Items(Index)->GetNode(); }

void TNodeReferences::Add(TNodeReference* Reference) { FItems.push_back(Reference); }

void TNodeReferences::Remove(TNodeReference* Reference) {
    const auto It = std::find(FItems.begin(), FItems.end(), Reference);
    if (It != FItems.end()) FItems.erase(It);
}

void TNodeReferences::Broadcast(TNodeMessage& Message) {
    for (int i = Count() - 1; i >= 0; i = std::min(i, Count()) - 1) FItems[static_cast<std::size_t>(i)]->HandleMessage(Message);
}

// ---- TNode ----

TNode::TNode() = default;

TNode::~TNode() {
    try {
        AnnounceDeletion();
    } catch (...) {
        // A handler failed; the references are let go below all the same.
    }
    // Whatever still points here or is held here must not keep a pointer to a node that is gone.
    for (int i = FDependents.Count() - 1; i >= 0; --i) {
        TNodeReference* R = FDependents.Items(i);
        if (R->FOwner != nullptr) R->FOwner->FParents.Remove(R);
        R->FNode = nullptr;
    }
    for (int i = FParents.Count() - 1; i >= 0; --i) {
        TNodeReference* R = FParents.Items(i);
        if (R->FNode != nullptr) R->FNode->FDependents.Remove(R);
        R->FNode = nullptr;
    }
}

void TNode::AnnounceDeletion() {
    if (FDeletionAnnounced) return;
    FDeletionAnnounced = true;
    SendMessage(std::make_unique<TDeleteNodeMessage>());
}

TNode* TNode::FindNode(const std::string& NodeName) const {
    return FManager != nullptr ? FManager->FindNode(NodeName) : nullptr;
}

bool TNode::HasParent(const TNode* Node) const {
    for (int i = 0; i < FParents.Count(); ++i)
        if (FParents.TargetNode(i) == Node) return true;
    return false;
}

void TNode::Invalidate(bool Force) {
    if (!Force && !IsValid()) return;
    FState = nsInvalid;
    DoInvalidate();
    for (int i = 0; i < FDependents.Count(); ++i) {
        TNode* Owner = FDependents.OwnerNode(i);
        if (Owner != nullptr) Owner->Invalidate(false);
    }
}

void TNode::EvaluateParents() {
    for (int i = 0; i < FParents.Count(); ++i) {
        TNode* Target = FParents.TargetNode(i);
        if (Target != nullptr && !Target->IsValid()) Target->Update();
    }
}

void TNode::Update() {
    if (FState != nsInvalid) return;
    FState = nsEvaluating;
    try {
        EvaluateParents();
        if (OnEvaluating) OnEvaluating(this);
        Evaluate();
    } catch (...) {
        FState = nsInvalid;
        throw;
    }
    FState = nsValid;
    DoChange();
}

void TNode::SendMessage(std::unique_ptr<TNodeMessage> Message) {
    Message->Node = this;
    HandleMessage(*Message);
    FDependents.Broadcast(*Message);
}

void TNode::DoChange() {
    if (OnChange) OnChange(this);
}

void TNode::DoInvalidate() {
    if (OnInvalidate) OnInvalidate(this);
}

void TNode::DoMessage(TNodeMessage& Message) {
    if (OnMessage) OnMessage(Message);
}

void TNode::HandleMessage(TNodeMessage& Message) { DoMessage(Message); }

// ---- Free routines ----

bool IsDependentNode(const TNode* Node, const TNode* Other) {
    if (Node == nullptr) return false;
    // Depth first over the dependents; each node is walked once, so a graph where many paths meet
    // costs one pass.
    std::vector<const TNode*> Stack{Node};
    std::unordered_set<const TNode*> Seen{Node};
    while (!Stack.empty()) {
        const TNode* N = Stack.back();
        Stack.pop_back();
        if (N == Other) return true;
        const TNodeReferences& D = N->Dependents();
        for (int i = D.Count() - 1; i >= 0; --i) {
            const TNode* Owner = D.OwnerNode(i);
            if (Owner != nullptr && Seen.insert(Owner).second) Stack.push_back(Owner);
        }
    }
    return false;
}

bool IsDirectDependent(const TNode* Node, const TNode* Other) {
    if (Node == nullptr) return false;
    const TNodeReferences& D = Node->Dependents();
    for (int i = 0; i < D.Count(); ++i)
        if (D.OwnerNode(i) == Other) return true;
    return false;
}

// ---- TNodes ----

TNode* TNodes::Items(int Index) const { return ItemAt(FItems, Index); }

void TNodes::Add(TNode* Node) {
    if (Node != nullptr && IndexOf(Node) < 0) FItems.push_back(Node);
}

void TNodes::Insert(int Index, TNode* Node) {
    if (Index < 0 || Index > Count()) NodeListIndexError(Index);
    if (Node != nullptr && IndexOf(Node) < 0) FItems.insert(FItems.begin() + Index, Node);
}

TNode* TNodes::First() const { return Items(0); }

TNode* TNodes::Last() const { return Items(Count() - 1); }

int TNodes::IndexOf(const TNode* Node) const {
    const auto It = std::find(FItems.begin(), FItems.end(), Node);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

// ---- TNodeReference ----

TNodeReference::TNodeReference(TNode* Owner) : FOwner(Owner) {}

TNodeReference::~TNodeReference() {
    if (FDestroyed != nullptr) *FDestroyed = true;
    SetNode(nullptr);
}

TNode* TNodeReference::GetNode() {
    if (FNode != nullptr) {
        FName = FNode->Name;
        return FNode;
    }
    if (FName.empty() || FOwner == nullptr) return nullptr;
    TNode* Found = FOwner->FindNode(FName);
    if (Found != nullptr) SetNode(Found);
    return Found;
}

const std::string& TNodeReference::GetName() {
    if (FNode != nullptr) FName = FNode->Name;
    return FName;
}

void TNodeReference::SetNode(TNode* Node) {
    if (Node == FNode) return;
    Detach();
    Attach(Node);
}

void TNodeReference::SetName(const std::string& NewName) {
    if (NewName == FName) return;
    FName = NewName;
    if (NewName.empty()) {
        SetNode(nullptr);
        return;
    }
    if (FOwner == nullptr) return;
    if (TNode* Found = FOwner->FindNode(NewName)) SetNode(Found);
}

void TNodeReference::Assign(TNodeReference& Other) {
    FName = Other.GetName();
    SetNode(Other.GetNode());
}

void TNodeReference::Changed() {
    if (OnChange) OnChange(this);
    if (FOwner != nullptr) FOwner->Invalidate(false);
}

void TNodeReference::HandleMessage(TNodeMessage& Message) {
    const bool Deleting = dynamic_cast<TDeleteNodeMessage*>(&Message) != nullptr && Message.Node != nullptr &&
                          Message.Node == FNode;
    if (Deleting && FOwner != nullptr && FOwner != FNode && FOwner->OnLosingParent) FOwner->OnLosingParent(FOwner);
    if (OnMessage) OnMessage(Message);
    const auto LetGo = [&] {
        if (Deleting && FNode == Message.Node) SetNode(nullptr);
    };
    if (!FPassingOn && FOwner != nullptr) {
        bool Destroyed = false;
        FDestroyed = &Destroyed;
        FPassingOn = true;
        try {
            FOwner->HandleMessage(Message);
        } catch (...) {
            if (!Destroyed) {
                FPassingOn = false;
                FDestroyed = nullptr;
                LetGo();
            }
            throw;
        }
        if (Destroyed) return;
        FPassingOn = false;
        FDestroyed = nullptr;
    }
    LetGo();
}

void TNodeReference::Attach(TNode* Target) {
    if (Target == nullptr || FOwner == nullptr || IsDependentNode(FOwner, Target)) return;
    FNode = Target;
    FName = Target->Name;
    FOwner->FParents.Add(this);
    Target->FDependents.Add(this);
    try {
        Target->Update();
    } catch (...) {
        Changed();
        throw;
    }
    Changed();
}

void TNodeReference::Bind() {
    if (FNode != nullptr || FName.empty() || FOwner == nullptr) return;
    TNode* Target = FOwner->FindNode(FName);
    if (Target == nullptr || IsDependentNode(FOwner, Target)) return;
    FNode = Target;
    FOwner->FParents.Add(this);
    Target->FDependents.Add(this);
}

void TNodeReference::BindName(const std::string& Name) {
    if (FNode != nullptr) return;
    FName = Name;
    Bind();
}

void TNodeReference::Detach() {
    if (FNode == nullptr || FOwner == nullptr || !FOwner->HasParent(FNode)) return;
    FOwner->FParents.Remove(this);
    FNode->FDependents.Remove(this);
    FNode = nullptr;
    Changed();
}

}  // namespace sarnova
