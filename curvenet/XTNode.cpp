#include "curvenet/XTNode.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "foundation/Errors.h"

namespace sarnova {

namespace {

// Change walks are numbered; a node remembers the last walk that reached it. A reference that carries
// a walk on to its owner leaves the walk's number here for the owner's Changed to pick up; a Changed
// that finds none starts a walk of its own.
std::uint64_t GLastWalk = 0;
std::uint64_t GPendingWalk = 0;

[[noreturn]] void ThrowIndex(const char* Where, int Index) {
    throw EError(std::string(Where) + " - List index out of bounds (" + std::to_string(Index) + ")");
}

}  // namespace

TXTMessage::~TXTMessage() = default;

// ---- TXTReferences ----

TXTReference* TXTReferences::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowIndex("TXTReferences.Items", Index);
    return FItems[static_cast<std::size_t>(Index)];
}

TXTNode* TXTReferences::OwnerOf(int Index) const {
    TXTReference* R = Items(Index);
    return R ? R->GetOwner() : nullptr;
}

TXTNode* TXTReferences::TargetOf(int Index) const {
    TXTReference* R = Items(Index);
    return R ? R->GetTarget() : nullptr;
}

bool TXTReferences::Contains(const TXTReference* Reference) const {
    return Reference && std::find(FItems.begin(), FItems.end(), Reference) != FItems.end();
}

void TXTReferences::Add(TXTReference* Reference) {
    if (Reference) FItems.push_back(Reference);
}

void TXTReferences::Remove(TXTReference* Reference) {
    auto It = std::find(FItems.begin(), FItems.end(), Reference);
    if (It == FItems.end() || !Reference) return;
    if (FDispatching > 0) {
        *It = nullptr;
        FHoles = true;
    } else {
        FItems.erase(It);
    }
}

void TXTReferences::Clear() {
    if (FDispatching > 0) {
        std::fill(FItems.begin(), FItems.end(), nullptr);
        FHoles = true;
    } else {
        FItems.clear();
    }
}

void TXTReferences::Dispatch(TXTMessage& Message) {
    ++FDispatching;
    struct TEnd {
        TXTReferences& L;
        ~TEnd() {
            if (--L.FDispatching == 0 && L.FHoles) {
                std::erase(L.FItems, nullptr);
                L.FHoles = false;
            }
        }
    } End{*this};
    // References added meanwhile go after the start and are not reached.
    for (int I = Count() - 1; I >= 0; --I) {
        if (I >= Count()) continue;
        if (TXTReference* R = FItems[static_cast<std::size_t>(I)]) R->HandleMessage(Message);
    }
}

// ---- Node lists ----

TXTNodes::~TXTNodes() = default;

int TXTNodes::IndexOf(const TXTNode* Node) const {
    for (int I = 0; I < Count(); ++I)
        if (Items(I) == Node) return I;
    return -1;
}

TXTNode* TXTNodeList::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowIndex("TXTNodeList.Items", Index);
    return FNodes[static_cast<std::size_t>(Index)];
}

void TXTNodeList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ThrowIndex("TXTNodeList.Delete", Index);
    FNodes.erase(FNodes.begin() + Index);
}

void TXTNodeList::Remove(TXTNode* Node) {
    const int I = IndexOf(Node);
    if (I >= 0) Delete(I);
}

// ---- TXTNode ----

TXTNode::TXTNode() = default;

TXTNode::~TXTNode() {
    NotifyDestroying();
    // A dependent whose handler did not let go is unlinked here; so is an input whose part outlives
    // the node. Nothing is left pointing at this node.
    for (int I = FDependents.Count() - 1; I >= 0; --I)
        if (TXTReference* R = FDependents.Items(I)) R->Release();
    for (int I = FInputs.Count() - 1; I >= 0; --I)
        if (TXTReference* R = FInputs.Items(I)) R->Release();
}

void TXTNode::NotifyDestroying() {
    if (FDestroying) return;
    FDestroying = true;
    TXTDeleteNodeMessage Message;
    SendMessage(Message);
}

bool TXTNode::HasDependent(const TXTNode* Node) const {
    if (!Node) return false;
    if (Node == this) return true;
    // Depth first through the dependents' owners; a node met on two paths is searched once.
    std::unordered_set<const TXTNode*> Seen{this};
    std::vector<const TXTNode*> Stack{this};
    while (!Stack.empty()) {
        const TXTNode* N = Stack.back();
        Stack.pop_back();
        for (int I = N->FDependents.Count() - 1; I >= 0; --I) {
            const TXTReference* R = N->FDependents.Items(I);
            const TXTNode* Owner = R ? R->GetOwner() : nullptr;
            if (!Owner) continue;
            if (Owner == Node) return true;
            if (Seen.insert(Owner).second) Stack.push_back(Owner);
        }
    }
    return false;
}

std::vector<const TXTNode*> TXTNode::DependentPath(const TXTNode* Node) const {
    // Breadth first through the dependents' owners, remembering where each was reached from.
    std::unordered_map<const TXTNode*, const TXTNode*> From{{this, nullptr}};
    std::vector<const TXTNode*> Queue{this};
    for (std::size_t Next = 0; Next < Queue.size(); ++Next) {
        const TXTNode* N = Queue[Next];
        if (N == Node) {
            std::vector<const TXTNode*> Path;
            for (const TXTNode* X = N; X != nullptr; X = From[X]) Path.push_back(X);
            std::reverse(Path.begin(), Path.end());
            return Path;
        }
        for (int I = 0; I < N->FDependents.Count(); ++I) {
            const TXTReference* R = N->FDependents.Items(I);
            const TXTNode* Owner = R ? R->GetOwner() : nullptr;
            if (Owner && From.emplace(Owner, N).second) Queue.push_back(Owner);
        }
    }
    return {};
}

bool TXTNode::HasInput(const TXTNode* Node) const {
    if (!Node) return false;
    for (int I = 0; I < FInputs.Count(); ++I)
        if (TXTReference* R = FInputs.Items(I); R && R->GetTarget() == Node) return true;
    return false;
}

TXTNode* TXTNode::FindNode(const std::string& Name) const { return Manager ? Manager->FindNode(Name) : nullptr; }

void TXTNode::SendMessage(TXTMessage& Message) {
    Message.Node = this;
    HandleMessage(Message);
    FDependents.Dispatch(Message);
}

void TXTNode::Regenerate() {
    ValidateReferences();
    for (int I = 0; I < FInputs.Count(); ++I) {
        TXTReference* R = FInputs.Items(I);
        TXTNode* Target = R ? R->GetTarget() : nullptr;
        if (Target && !Target->IsUpToDate()) Target->Regenerate();
    }
}

void TXTNode::Changed() {
    const std::uint64_t Walk = GPendingWalk ? GPendingWalk : ++GLastWalk;
    GPendingWalk = 0;
    FWalk = Walk;
    for (int I = 0; I < FDependents.Count(); ++I)
        if (TXTReference* R = FDependents.Items(I)) R->NotifyInWalk(this, Walk);
    if (OnChange) OnChange(this);
}

void TXTNode::ReportInfo(const TInfoMessage& Message) {
    if (!Manager) throw EError(Message.Text);
    TInfoMessage M = Message;
    M.Sender = this;
    Manager->AddInfoMessage(M);
}

void TXTNode::ClearInfoMessages(const TXTNode* Sender) {
    if (Manager) Manager->ClearInfoMessages(Sender ? Sender : this);
}

// ---- TXTReference ----

TXTReference::TXTReference(TXTNode* AOwner) : FOwner(AOwner) {}

TXTReference::~TXTReference() {
    for (TAliveMark* M = FAlive; M; M = M->Outer) M->Alive = false;
    // The holder is on its way out too: only the owner hears of the lost input.
    OnChange = nullptr;
    OnMessage = nullptr;
    SetTarget(nullptr);
}

TXTNode* TXTReference::GetTarget() {
    if (FTarget) {
        FName = FTarget->GetName();
        return FTarget;
    }
    if (FName.empty() || !FOwner) return nullptr;
    if (TXTNode* Found = FOwner->FindNode(FName)) SetTarget(Found);
    return FTarget;
}

const std::string& TXTReference::GetName() {
    if (FTarget) FName = FTarget->GetName();
    return FName;
}

void TXTReference::SetTarget(TXTNode* Node) {
    if (Node == FTarget) return;
    Detach();
    Attach(Node);
}

void TXTReference::SetName(const std::string& Name) {
    if (Name == GetName()) return;
    FName = Name;
    if (Name.empty()) {
        SetTarget(nullptr);
        return;
    }
    TXTNode* Found = FOwner ? FOwner->FindNode(Name) : nullptr;
    if (Found) {
        SetTarget(Found);
        // Refused (a cycle): the name still says what is wanted.
        if (!FTarget) FName = Name;
    } else {
        // A target of another name is let go, so that the reference stands for the name it was given.
        Detach();
        FName = Name;
    }
}

void TXTReference::Attach(TXTNode* Node) {
    if (!Node || !FOwner || Node->FDestroying || FOwner->HasDependent(Node)) return;
    FTarget = Node;
    FName = Node->GetName();
    FOwner->FInputs.Add(this);
    Node->FDependents.Add(this);
    Notify(nullptr);
}

void TXTReference::Detach() {
    if (!FTarget) return;
    Release();
    Notify(nullptr);
}

void TXTReference::Notify(TXTNode* Sender) { NotifyInWalk(Sender, 0); }

void TXTReference::NotifyInWalk(TXTNode* Sender, std::uint64_t Walk) {
    if (OnChange) OnChange(Sender);
    // A node already told in this walk has told everything resting on it.
    if (!FOwner || FOwner->FDestroying || (Walk != 0 && FOwner->FWalk == Walk)) return;
    struct TReset {
        ~TReset() { GPendingWalk = 0; }
    } Reset;
    GPendingWalk = Walk;
    // Its next rebuild follows the input (points rest on it, free points move along): what it keeps
    // now is what an undo of this change gives back.
    if (FOwner->OnFollowingInput && FOwner->IsUpToDate()) FOwner->OnFollowingInput(FOwner);
    FOwner->Changed();
}

void TXTReference::Release() {
    if (!FTarget) return;
    if (FOwner) FOwner->FInputs.Remove(this);
    FTarget->FDependents.Remove(this);
    FTarget = nullptr;
}

void TXTReference::HandleMessage(TXTMessage& Message) {
    if (FTarget != nullptr && Message.Node == FTarget && FOwner != nullptr && FOwner != FTarget &&
        FOwner->OnLosingInput && dynamic_cast<TXTDeleteNodeMessage*>(&Message) != nullptr)
        FOwner->OnLosingInput(FOwner);
    if (OnMessage) {
        // Kept until OnMessage returns or raises; the destructor clears Alive when OnMessage frees
        // this reference, and then nothing of it may be touched.
        struct TWatch {
            TXTReference* Reference;
            TAliveMark Mark;
            explicit TWatch(TXTReference* R) : Reference(R) {
                Mark.Outer = R->FAlive;
                R->FAlive = &Mark;
            }
            ~TWatch() {
                if (Mark.Alive) Reference->FAlive = Mark.Outer;
            }
        } Watch(this);
        OnMessage(Message);
        if (!Watch.Mark.Alive) return;
    }
    if (dynamic_cast<TXTDeleteNodeMessage*>(&Message) && Message.Node == FTarget) SetTarget(nullptr);
}

// ---- TXTNodeReferences ----

TXTNodeReferences::TXTNodeReferences(TXTNode* AOwner) : FOwner(AOwner) {}

TXTNodeReferences::~TXTNodeReferences() {
    // Freed with the owner: the references let go without telling it.
    for (auto& R : FReferences) R->Release();
    FReferences.clear();
}

TXTNode* TXTNodeReferences::Items(int Index) const { return Reference(Index).GetTarget(); }

TXTReference& TXTNodeReferences::Reference(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowIndex("TXTNodeReferences.Items", Index);
    return *FReferences[static_cast<std::size_t>(Index)];
}

std::unique_ptr<TXTReference> TXTNodeReferences::NewReference() {
    auto R = std::make_unique<TXTReference>(FOwner);
    R->OnMessage = [this](TXTMessage& M) { HandleMessage(M); };
    return R;
}

void TXTNodeReferences::Add(TXTNode* Node) {
    auto R = NewReference();
    R->SetTarget(Node);
    FReferences.push_back(std::move(R));
    if (FOwner) FOwner->Changed();
}

void TXTNodeReferences::AddByName(const std::string& Name) {
    auto R = NewReference();
    R->SetName(Name);
    FReferences.push_back(std::move(R));
    if (FOwner) FOwner->Changed();
}

bool TXTNodeReferences::CanAdd(const TXTNode* Node) const {
    if (!FOwner) return true;
    return !(FOwner->HasDependent(Node) || FOwner->HasInput(Node));
}

void TXTNodeReferences::Delete(int Index) {
    Reference(Index);  // checks the index
    std::unique_ptr<TXTReference> R = std::move(FReferences[static_cast<std::size_t>(Index)]);
    FReferences.erase(FReferences.begin() + Index);
    R->SetTarget(nullptr);
    R.reset();
    if (FOwner) FOwner->Changed();
}

void TXTNodeReferences::Remove(TXTNode* Node) {
    const int I = IndexOf(Node);
    if (I != -1) Delete(I);
}

void TXTNodeReferences::Clear() {
    std::vector<std::unique_ptr<TXTReference>> Old;
    Old.swap(FReferences);
    for (auto& R : Old) R->SetTarget(nullptr);
    Old.clear();
    if (FOwner) FOwner->Changed();
}

void TXTNodeReferences::HandleMessage(TXTMessage& Message) {
    if (!dynamic_cast<TXTDeleteNodeMessage*>(&Message) || !Message.Node) return;
    if (!Contains(Message.Node)) return;
    Remove(Message.Node);
    if (FOwner) FOwner->Changed();
}

void TXTNodeReferences::AssignNames(TXTNodeReferences& Other) {
    // Other may be this list.
    std::vector<std::string> Names;
    for (auto& R : Other.FReferences)
        if (!R->GetName().empty()) Names.push_back(R->GetName());
    Clear();
    for (const std::string& Name : Names) AddByName(Name);
}

void TXTNodeReferences::RemoveUnresolved() {
    for (int I = Count() - 1; I >= 0; --I)
        if (I < Count() && !Items(I)) Delete(I);
}

}  // namespace sarnova
