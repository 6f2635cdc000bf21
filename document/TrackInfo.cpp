#include "document/TrackInfo.h"

#include <algorithm>

#include "foundation/Errors.h"

namespace sarnova {

ITreeNode::~ITreeNode() = default;
ITreeView::~ITreeView() = default;

void TObjectInfo::Add(const TInfoMessage& Message) {
    MessageItems.push_back(std::make_unique<TObjectInfoItem>(Message));
    if (Sender == nullptr) Sender = Message.Sender;
}

TObjectInfoItem& TObjectInfo::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return *MessageItems[static_cast<std::size_t>(Index)];
}

void TObjectInfo::FillNode(ITreeNode& Node) {
    Node.SetText(Name);
    Node.SetData(this);
    while (Node.ChildCount() < Count()) Node.AddChild();
    while (Node.ChildCount() > Count()) Node.DeleteChild(Node.ChildCount() - 1);
    for (int I = 0; I < Count(); ++I) {
        ITreeNode& Child = Node.Child(I);
        Child.SetText(Items(I).Text());
        Child.SetData(&Items(I));
    }
}

void TTrackInfo::AddInfoMessage(const TInfoMessage& Message) {
    TObjectInfo* Info = FindInfo(Message.Sender);
    if (Info == nullptr) {
        Infos.push_back(std::make_unique<TObjectInfo>());
        Info = Infos.back().get();
    }
    Info->Add(Message);
}

void TTrackInfo::ClearInfoMessages(const void* Sender) {
    auto Found = std::find_if(Infos.begin(), Infos.end(), [&](const auto& I) { return I->Sender == Sender; });
    if (Found != Infos.end()) Infos.erase(Found);
}

TObjectInfo& TTrackInfo::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return *Infos[static_cast<std::size_t>(Index)];
}

TObjectInfo* TTrackInfo::FindInfo(const void* Sender) const {
    for (const auto& Info : Infos)
        if (Info->Sender == Sender) return Info.get();
    return nullptr;
}

std::unique_ptr<TObjectInfo> TTrackInfo::ExtractInfo(const void* Sender) {
    auto Found = std::find_if(Infos.begin(), Infos.end(), [&](const auto& I) { return I->Sender == Sender; });
    if (Found == Infos.end()) return nullptr;
    auto Taken = std::move(*Found);
    Infos.erase(Found);
    return Taken;
}

void TTrackInfo::AdoptInfo(std::unique_ptr<TObjectInfo> Info) {
    if (!Info) return;
    if (TObjectInfo* Present = FindInfo(Info->Sender)) {
        for (int I = 0; I < Info->Count(); ++I) Present->Add(Info->Items(I).Message);
        Present->Name = Info->Name;
        return;
    }
    Infos.push_back(std::move(Info));
}

void TTrackInfo::FillTree(ITreeView& Tree) {
    Tree.BeginUpdate();
    try {
        std::vector<TObjectInfo*> ToShow;
        for (const auto& Info : Infos) ToShow.push_back(Info.get());
        // Nodes already showing an info keep it (and their expansion); only the rest get new nodes.
        for (int I = 0; I < Tree.TopCount(); ++I) {
            auto Shown = std::find(ToShow.begin(), ToShow.end(), Tree.Top(I).GetData());
            if (Shown != ToShow.end()) ToShow.erase(Shown);
        }
        for (int I = Tree.TopCount() - 1; I >= 0; --I) {
            auto* Info = static_cast<TObjectInfo*>(Tree.Top(I).GetData());
            const bool Alive = std::any_of(Infos.begin(), Infos.end(), [&](const auto& P) { return P.get() == Info; });
            if (Alive)
                Info->FillNode(Tree.Top(I));
            else
                Tree.DeleteTop(I);
        }
        for (TObjectInfo* Info : ToShow) Info->FillNode(Tree.AddTop());
        for (int I = 0; I < Tree.TopCount(); ++I) Tree.Top(I).ExpandAll();
    } catch (...) {
        Tree.EndUpdate();
        throw;
    }
    Tree.EndUpdate();
}

}  // namespace sarnova
