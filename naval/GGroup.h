// Group entities: entities gathered under one name, so that the damage-stability model can speak of
// them as one space. A closed group owns private copies of its members (the entities leave the
// document) and draws, picks, transforms and saves them as one entity; an open group only names
// entities that stay in the document and highlights them while it is selected. Both carry a free list
// of "name=value" parameters. The loader of the older "TGroup" block hands what it read over to the
// two new classes.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "document/Geometry.h"

namespace sarnova {

class TGeometryList;
class TGeometryReferencesList;

// The name under which the GUI registers the group frame.
inline const char* const GroupFrameName = "GroupFrame";

class TGeoGroup : public TGeometry {
public:
    // Named "Group1" (made unique when added to a document).
    TGeoGroup();
    ~TGeoGroup() override;

    // "Create Closed Group" and "Create Open Group" for a selection of several entities, or "Explode"
    // and "Edit" for every selected closed group; once per menu, however many group classes ask.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);

    // Lines of the form name "=" value, in order, duplicates allowed.
    std::vector<std::string> Parameters;
    // The value of the first parameter of that name (letter case ignored); empty when none.
    std::string ParameterValue(const std::string& Name) const;
    // The name part of parameter line Index.
    std::string ParameterName(int Index) const;

    virtual TGeometry* GetMember(int Index) = 0;
    virtual TGeometry* FindMember(const std::string& Name) = 0;
    virtual int GetMemberCount() = 0;
    virtual void AddMember(TGeometry* Entity) = 0;
    virtual void AddSelected() = 0;
    virtual void RemoveMember(TGeometry* Entity) = 0;
    virtual void ClearMembers() = 0;

    // The entity of that name in the group's document, when there is one.
    void AddMemberByName(const std::string& Name);
    void RemoveMemberByName(const std::string& Name);

    // ---- Operations of the frame, each one change ----
    // Deselects and removes the members (a closed group's copies are freed).
    void RemoveMembers(const std::vector<TGeometry*>& Members);
    // Appends "NewParameter<count + 1>=".
    void AddParameter();
    // Nothing outside 0 .. count - 1.
    void DeleteParameter(int Index);
    void SetParameter(int Index, const std::string& Name, const std::string& Value);

    void Assign(const TGeometry& Source) override;
    // A group without members deletes itself (not on the clipboard).
    void AfterListChange() override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;

protected:
    // "[Keyword]", "Name=", "NumParameters=" and the parameter lines.
    void SaveHeader(TTextWriter& Out, const std::string& Keyword);
    // The name, the count and that many parameter lines, read by position.
    void LoadHeader(TTextReader& In);
    // The update bracket of the group's document (flags 3) and the group's change around Body.
    template <class F>
    void InDocumentChange(F Body);
};

class TGeoClosedGroup : public TGeoGroup {
public:
    TGeoClosedGroup();
    ~TGeoClosedGroup() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoClosedGroup>(); }
    static std::string GetKeyword() { return "TClosedGroup"; }
    static int GetImageIndex() { return 56; }
    // A CLOSEDGROUP block.
    static bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List);
    // The selected entities that are not groups and can be copied, taken from the document into a new
    // closed group, last to first.
    static void CreateClosedGroup(TGeometryList& Document);

    TGeometryList& Members() const { return *FMembers; }

    TGeometry* GetMember(int Index) override;
    TGeometry* FindMember(const std::string& Name) override;
    int GetMemberCount() override;
    // A copy of Entity joins the group and Entity leaves its list. An entity that cannot be copied
    // stays where it is, with a console warning.
    void AddMember(TGeometry* Entity) override;
    void AddSelected() override;
    void RemoveMember(TGeometry* Entity) override;
    void ClearMembers() override;
    // Unselected copies of the members go into the document in member order, and the group is freed.
    void Explode();

    // The source's members copied, last to first.
    void Assign(const TGeometry& Source) override;
    // Members in this group's order (a clone holds them reversed).
    std::unique_ptr<TGeometry> Replica() const override;
    TMBox CalculateExtents() override;
    // Moves the selected members.
    void Transform(const TMMatrix& M) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override { DrawBox(View); }
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;
    void Query(TGeometryQuery& Query) override;
    void HandleMessage(TGeoMessage& Message) override;
    void AddMenuItems(TMenuItem& Root) override;
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;

private:
    std::unique_ptr<TGeometryList> FMembers;
};

class TGeoOpenGroup : public TGeoGroup {
public:
    TGeoOpenGroup();
    ~TGeoOpenGroup() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoOpenGroup>(); }
    static std::string GetKeyword() { return "TOpenGroup"; }
    static int GetImageIndex() { return 57; }
    // An OPENGROUP block.
    static bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List);
    // A new open group of the selected entities that are not groups.
    static void CreateOpenGroup(TGeometryList& Document);

    TGeometryReferencesList& References() const { return *FReferences; }

    // None when the reference cannot be resolved.
    TGeometry* GetMember(int Index) override;
    TGeometry* FindMember(const std::string& Name) override;
    int GetMemberCount() override;
    // An unnamed entity is named after its class first, uniquely in the group's document.
    void AddMember(TGeometry* Entity) override;
    void AddSelected() override;
    void RemoveMember(TGeometry* Entity) override;
    void ClearMembers() override;
    // An empty group stays while an opening of its document connects it: it is still a space of the
    // damage model (a DAM file may give a group no compartments), and deleting it would cut the opening.
    void AfterListChange() override;

    void Assign(const TGeometry& Source) override;
    // Highlights the members along with the group.
    void SetSelected(bool Value) override;
    void SetDisplayState(std::uint8_t Value) override;
    TMBox CalculateExtents() override;
    void HandleMessage(TGeoMessage& Message) override;
    // "Name.ADD a b ..." and "Name.DELETE a b ..." besides the base commands.
    bool ExecuteMacroCommand(TMacroFile& Macro) override;
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;

private:
    std::unique_ptr<TGeometryReferencesList> FReferences;
};

// Reads the older "TGroup" block, which held either kind, and hands the group it made to the document
// when it is added there; it then has nothing to show and leaves at the next list change.
class TGeoOldGroupLoader : public TGeometry {
public:
    TGeoOldGroupLoader();
    // A group still held was never handed over: it is freed and the console says so.
    ~TGeoOldGroupLoader() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoOldGroupLoader>(); }
    static std::string GetKeyword() { return "TGroup"; }

    void LoadFromText(TTextReader& In) override;
    // Nothing: the old form is only read.
    void SaveToText(TTextWriter&) override {}
    void SetOwnerList(TGeometryList* List) override;
    void AfterListChange() override;

private:
    std::unique_ptr<TGeoOpenGroup> PendingOpen;
    std::unique_ptr<TGeoClosedGroup> PendingClosed;
};

}  // namespace sarnova
