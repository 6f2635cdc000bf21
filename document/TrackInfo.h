// The entity list's collector of problem reports: messages grouped per sending entity, dropped when
// the entity reports afresh or leaves the list, and shown as a tree in the errors window (one node
// per entity, one child per message).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "foundation/GeomInfo.h"

namespace sarnova {

// A node of the errors window's tree as the tracker fills it; the GUI wraps its tree items.
class ITreeNode {
public:
    virtual ~ITreeNode();
    virtual void SetText(const std::string& Text) = 0;
    // What the node stands for: a TObjectInfo for a top-level node, a TObjectInfoItem for a child.
    virtual void* GetData() const = 0;
    virtual void SetData(void* Data) = 0;
    virtual int ChildCount() const = 0;
    virtual ITreeNode& Child(int Index) = 0;
    // Appends a child without data.
    virtual ITreeNode& AddChild() = 0;
    virtual void DeleteChild(int Index) = 0;
    // Expands the node and all below it.
    virtual void ExpandAll() = 0;
};

// The errors window's tree.
class ITreeView {
public:
    virtual ~ITreeView();
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    virtual int TopCount() const = 0;
    virtual ITreeNode& Top(int Index) = 0;
    virtual ITreeNode& AddTop() = 0;
    virtual void DeleteTop(int Index) = 0;
};

// One message as recorded, with its own copy of the text.
class TObjectInfoItem {
public:
    explicit TObjectInfoItem(const TInfoMessage& AMessage) : Message(AMessage) {}
    TInfoMessage Message;
    const std::string& Text() const { return Message.Text; }
    TMBox GetBox() const { return Message.Box; }
};

// The messages of one entity, in order of arrival.
class TObjectInfo {
public:
    // The entity's name when it last reported.
    std::string Name;
    // The entity; nullptr until the first message (messages without a sender share one info).
    const void* Sender = nullptr;

    // Appends a copy; the first message also sets Sender.
    void Add(const TInfoMessage& Message);
    int Count() const { return static_cast<int>(MessageItems.size()); }
    TObjectInfoItem& Items(int Index) const;
    void Clear() { MessageItems.clear(); }
    // Node text := Name, data := this; children made to match the messages one to one.
    void FillNode(ITreeNode& Node);

private:
    std::vector<std::unique_ptr<TObjectInfoItem>> MessageItems;
};

class TTrackInfo : public ITrackInfo {
public:
    // Files the message under the info of its sender, made and appended when there is none.
    void AddInfoMessage(const TInfoMessage& Message) override;
    // Frees the info of Sender; nothing when there is none.
    void ClearInfoMessages(const void* Sender) override;

    void Clear() { Infos.clear(); }
    int Count() const { return static_cast<int>(Infos.size()); }
    TObjectInfo& Items(int Index) const;
    // The info of Sender, nullptr when none.
    TObjectInfo* FindInfo(const void* Sender) const;

    // Takes the info of Sender out (for an entity that moves to another list); nullptr when none.
    std::unique_ptr<TObjectInfo> ExtractInfo(const void* Sender);
    // Takes over an info extracted from another tracker; an info of the same sender here receives
    // its messages instead.
    void AdoptInfo(std::unique_ptr<TObjectInfo> Info);

    // Brings the tree in line with the infos, in place: nodes of infos that are gone are deleted, the
    // others refreshed, new infos appended, and every top-level node expanded.
    void FillTree(ITreeView& Tree);

private:
    std::vector<std::unique_ptr<TObjectInfo>> Infos;
};

}  // namespace sarnova
