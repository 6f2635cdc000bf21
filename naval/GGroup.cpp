#include "naval/GGroup.h"

#include <algorithm>
#include <set>
#include <utility>

#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/GeometryReference.h"
#include "foundation/BlockCount.h"
#include "foundation/TextUtils.h"
#include "foundation/GeomBox.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"
#include "naval/GOpening.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

void WriteConsole(const std::string& Text) {
    if (GConsole) GConsole->WriteLine(Text);
}

bool IsGroup(const TGeometry& Entity) { return dynamic_cast<const TGeoGroup*>(&Entity) != nullptr; }

// The value of a block line read by position: the text after its first "=" (the whole line when it
// has none), at most 255 characters.
std::string PositionalValue(const std::string& Line) {
    const auto Equals = Line.find('=');
    return Trim(Line.substr(Equals == std::string::npos ? 0 : Equals + 1, 255));
}

int ReadCount(TTextReader& In) { return StrToInt(PositionalValue(In.ReadLine())); }

// Count parameter lines as stored.
void ReadParameters(TTextReader& In, int Count, std::vector<std::string>& Parameters) {
    Parameters.clear();
    for (int I = 0; I < Count && !In.Eof(); ++I) Parameters.push_back(In.ReadLine());
}

// One bracket of List with flags 3 around Body, closed also when Body throws.
template <class F>
void InListUpdate(TGeometryList* List, F Body) {
    if (List == nullptr) {
        Body();
        return;
    }
    List->BeginUpdate(ufEndEditing | ufHourGlass);
    try {
        Body();
    } catch (...) {
        try {
            List->EndUpdate();
        } catch (...) {
            // The body's error is the one to report.
        }
        throw;
    }
    List->EndUpdate();
}

// The group name of a CLOSEDGROUP or OPENGROUP line: the text one character past the keyword.
std::string GroupNameOf(const std::string& Line, const std::string& Keyword) {
    const std::string Start = Trim(Line);
    return Start.size() > Keyword.size() + 1 ? Trim(Start.substr(Keyword.size() + 1, 255)) : std::string();
}

// Reads the lines of a group block after its opening line up to "END": parameter lines go to the
// group, the other lines to Line (upper-cased). Raises "No END for GROUP <Name>" at BlockLine when
// the file ends first; a last line that is not "END" is not taken.
template <class F>
void ReadGroupBlock(TMacroFile& Macro, TGeoGroup& Group, const std::string& Name, F Line) {
    const int BlockLine = Macro.GetCursor();
    bool Ended = false;
    while (!Macro.Eof()) {
        const std::string Read = Macro.NextLine();
        const std::string U = UpperCase(Read);
        if (U == "END") {
            Ended = true;
            break;
        }
        if (Macro.Eof()) break;
        if (U.find('=') != std::string::npos)
            Group.Parameters.push_back(Read);
        else
            Line(U);
    }
    if (!Ended) Macro.ErrorAtLine("No END for GROUP " + Name, BlockLine);
}

// A new group of kind T named by the macro's current line when its first word is Keyword; nullptr
// for any other line.
template <class T>
std::unique_ptr<T> StartGroupBlock(TMacroFile& Macro, const std::string& Keyword, std::string& Name) {
    const std::string Line = Macro.GetCurrentLine();
    if (UpperCase(ExtractWord(Line, 1)) != Keyword) return nullptr;
    Name = GroupNameOf(Line, Keyword);
    auto Group = std::make_unique<T>();
    Group->SetName(Name);
    WriteConsole("Creating Group " + Name + "...");
    return Group;
}

TGeometry* FindMacroEntity(TMacroFile& Macro, TGeometryList& List, const std::string& Name) {
    TGeometry* Entity = List.FindByName(Name);
    if (Entity == nullptr) Macro.Error(Name + " not found");
    return Entity;
}

}  // namespace

// ---- TGeoGroup ----

TGeoGroup::TGeoGroup() { SetName("Group1"); }

TGeoGroup::~TGeoGroup() = default;

std::string TGeoGroup::ParameterName(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(Parameters.size())) return {};
    const std::string& Line = Parameters[static_cast<std::size_t>(Index)];
    return Line.substr(0, Line.find('='));
}

std::string TGeoGroup::ParameterValue(const std::string& Name) const {
    const std::string Key = UpperCase(Name);
    for (const std::string& Line : Parameters) {
        const auto Equals = Line.find('=');
        if (Equals != std::string::npos && UpperCase(Line.substr(0, Equals)) == Key) return Line.substr(Equals + 1);
    }
    return {};
}

template <class F>
void TGeoGroup::InDocumentChange(F Body) {
    InListUpdate(GetOwnerList(), [&] {
        BeginChange();
        Body();
        EndChange();
    });
}

void TGeoGroup::AddMemberByName(const std::string& Name) {
    if (GetOwnerList() == nullptr) return;
    if (TGeometry* Entity = GetOwnerList()->FindByName(Name)) AddMember(Entity);
}

void TGeoGroup::RemoveMemberByName(const std::string& Name) {
    if (TGeometry* Entity = FindMember(Name)) RemoveMember(Entity);
}

void TGeoGroup::RemoveMembers(const std::vector<TGeometry*>& Members) {
    InDocumentChange([&] {
        for (TGeometry* Member : Members) {
            Member->SetSelected(false);
            RemoveMember(Member);
        }
    });
}

void TGeoGroup::AddParameter() {
    BeginChange();
    Parameters.push_back("NewParameter" + std::to_string(Parameters.size() + 1) + "=");
    EndChange();
}

void TGeoGroup::DeleteParameter(int Index) {
    if (Index < 0 || Index >= static_cast<int>(Parameters.size())) return;
    BeginChange();
    Parameters.erase(Parameters.begin() + Index);
    EndChange();
}

void TGeoGroup::SetParameter(int Index, const std::string& Name, const std::string& Value) {
    if (Index < 0 || Index >= static_cast<int>(Parameters.size())) return;
    BeginChange();
    Parameters[static_cast<std::size_t>(Index)] = Name + "=" + Value;
    EndChange();
}

void TGeoGroup::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoGroup*>(&Source)) Parameters = Other->Parameters;
}

void TGeoGroup::AfterListChange() {
    if (GetOwnerList() == nullptr || GetOwnerList() == GClipboard) return;
    if (GetMemberCount() == 0 && !KeptAsReadInstead()) DeleteFromList();
}

IGeometryFrame* TGeoGroup::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(GroupFrameName, *this, Owner)) return Frame;
    return TGeometry::CreateFrame(Owner);
}

void TGeoGroup::UpdateFrame() {
    if (IGeometryFrame* Frame = GetFrame(); Frame != nullptr && !Frame->IsDefaultFrame())
        Frame->Refresh();
    else
        TGeometry::UpdateFrame();
}

void TGeoGroup::SaveHeader(TTextWriter& Out, const std::string& Keyword) {
    Out.WriteLine("[" + Keyword + "]");
    Out.WriteLine("Name=" + GetName());
    Out.WriteLine("NumParameters=" + std::to_string(Parameters.size()));
    for (const std::string& Line : Parameters) Out.WriteLine(Line);
}

void TGeoGroup::LoadHeader(TTextReader& In) {
    SetName(PositionalValue(In.ReadLine()));
    ReadParameters(In, ReadCount(In), Parameters);
}

void TGeoGroup::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (List.SelectedCount() <= 1) return;
    for (int I = 0; I < Menu.Count(); ++I)
        if (Menu.Items(I).Caption.find("Group") != std::string::npos) return;
    std::vector<TGeoClosedGroup*> Closed;
    for (int I = 0; I < List.Count(); ++I)
        if (auto* Group = dynamic_cast<TGeoClosedGroup*>(&List.Items(I)); Group != nullptr && Group->GetSelected())
            Closed.push_back(Group);
    // Both group classes are asked: the second finds the items of the first, whatever the groups' names.
    if (!Closed.empty() && Menu.Find("Explode " + Closed.front()->GetName()) != nullptr) return;
    if (Menu.Count() > 0) Menu.Add("-");
    for (TGeoClosedGroup* Group : Closed) {
        Menu.Add("Explode " + Group->GetName(), [Group](TMenuItem&) { Group->Explode(); });
        Menu.Add("Edit " + Group->GetName(), [Group](TMenuItem&) { Group->ToggleEditing(); });
    }
    if (!Closed.empty()) return;
    Menu.Add(NewGMenuItem("Create Closed Group", &List, [](TMenuItem& Sender) {
        if (TGeometryList* Document = GeometryListOf(Sender)) TGeoClosedGroup::CreateClosedGroup(*Document);
    }));
    Menu.Add(NewGMenuItem("Create Open Group", &List, [](TMenuItem& Sender) {
        if (TGeometryList* Document = GeometryListOf(Sender)) TGeoOpenGroup::CreateOpenGroup(*Document);
    }));
}

// ---- TGeoClosedGroup ----

TGeoClosedGroup::TGeoClosedGroup() : FMembers(std::make_unique<TGeometryList>()) {
    SetCapabilities(GetCapabilities() | cpUndoable);
}

TGeoClosedGroup::~TGeoClosedGroup() = default;

TGeometry* TGeoClosedGroup::GetMember(int Index) { return &FMembers->Items(Index); }

TGeometry* TGeoClosedGroup::FindMember(const std::string& Name) { return FMembers->FindByName(Name); }

int TGeoClosedGroup::GetMemberCount() { return FMembers->Count(); }

void TGeoClosedGroup::AddMember(TGeometry* Entity) {
    if (Entity == nullptr) return;
    std::unique_ptr<TGeometry> Copy = Entity->Clone();
    if (!Copy) {
        // Taking it in would lose it: it stays in the document.
        WriteConsole("Warning: " + Entity->DescribedName() + " cannot be copied into group " + GetName() +
                     " and stays in the document");
        return;
    }
    FMembers->Add(std::move(Copy));
    Entity->DeleteFromList();
    MarkChanged();
}

void TGeoClosedGroup::AddSelected() {
    TGeometryList* Document = GetOwnerList();
    if (Document == nullptr) return;
    InDocumentChange([&] {
        // Entities that could not be copied stay selected in the document: passed over on the next scan.
        std::set<const TGeometry*> Refused;
        for (;;) {
            TGeometry* Next = nullptr;
            for (int I = 0; I < Document->Count() && Next == nullptr; ++I) {
                TGeometry& E = Document->Items(I);
                if (E.GetSelected() && !IsGroup(E) && !Refused.contains(&E)) Next = &E;
            }
            if (Next == nullptr) break;
            const int Before = FMembers->Count();
            AddMember(Next);
            if (FMembers->Count() == Before) Refused.insert(Next);
        }
    });
    RefreshFrame();
}

void TGeoClosedGroup::RemoveMember(TGeometry* Entity) {
    FMembers->DeleteGeometry(Entity);
    MarkChanged();
}

void TGeoClosedGroup::ClearMembers() {
    FMembers->Clear();
    MarkChanged();
}

void TGeoClosedGroup::Explode() {
    TGeometryList* Document = GetOwnerList();
    if (Document == nullptr) return;
    FMembers->ClearSelection();
    InListUpdate(Document, [&] {
        for (int I = 0; I < FMembers->Count(); ++I) Document->Add(FMembers->Items(I).Clone());
        DeleteFromList();
    });
}

void TGeoClosedGroup::CreateClosedGroup(TGeometryList& Document) {
    InListUpdate(&Document, [&] {
        auto Group = std::make_unique<TGeoClosedGroup>();
        InListUpdate(Group->FMembers.get(), [&] {
            for (int I = Document.Count() - 1; I >= 0; --I) {
                if (I >= Document.Count()) continue;
                TGeometry& E = Document.Items(I);
                if (E.GetSelected() && !IsGroup(E) && E.HasCapability(cpUndoable)) Group->AddMember(&E);
            }
        });
        Document.Add(std::move(Group));
    });
}

bool TGeoClosedGroup::CreateFromMacro(TMacroFile& Macro, TGeometryList& List) {
    std::string Name;
    std::unique_ptr<TGeoClosedGroup> Group = StartGroupBlock<TGeoClosedGroup>(Macro, "CLOSEDGROUP", Name);
    if (!Group) return false;
    // The members are taken only once the whole block has been read: a block that fails leaves every
    // entity it named in the document.
    std::vector<TGeometry*> Named;
    ReadGroupBlock(Macro, *Group, Name, [&](const std::string& U) {
        TGeometry* Entity = FindMacroEntity(Macro, List, U);
        if (std::find(Named.begin(), Named.end(), Entity) == Named.end()) Named.push_back(Entity);
    });
    for (TGeometry* Entity : Named) Group->AddMember(Entity);
    List.Add(std::move(Group));
    return true;
}

void TGeoClosedGroup::Assign(const TGeometry& Source) {
    TGeoGroup::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoClosedGroup*>(&Source))
        FMembers->TransferFrom(*Other->FMembers, tmCopyAll, true);
}

namespace {

// Puts the members of a cloned group, and of the closed groups among them, back in the order the
// clone reversed.
void UndoCloneOrder(TGeometryList& Members) {
    Members.Reverse();
    for (int I = 0; I < Members.Count(); ++I)
        if (auto* Inner = dynamic_cast<TGeoClosedGroup*>(&Members.Items(I))) UndoCloneOrder(Inner->Members());
}

}  // namespace

std::unique_ptr<TGeometry> TGeoClosedGroup::Replica() const {
    std::unique_ptr<TGeometry> Copy = Clone();
    if (auto* Group = dynamic_cast<TGeoClosedGroup*>(Copy.get())) UndoCloneOrder(Group->Members());
    return Copy;
}

TMBox TGeoClosedGroup::CalculateExtents() { return FMembers->GetExtents(); }

void TGeoClosedGroup::Transform(const TMMatrix& M) {
    BeginChange();
    FMembers->TransformSelected(M, false);
    EndChange();
}

void TGeoClosedGroup::Draw(IGraphics& View) {
    for (int I = 0; I < FMembers->Count(); ++I) FMembers->Items(I).Draw(View);
}

void TGeoClosedGroup::DrawOutline(IGraphics& View) {
    for (int I = 0; I < FMembers->Count(); ++I) FMembers->Items(I).DrawOutline(View);
}

double TGeoClosedGroup::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    double Nearest = 1e33;
    for (int I = 0; I < FMembers->Count(); ++I)
        Nearest = std::min(Nearest, FMembers->Items(I).DistanceToPoint(ScreenPoint, View));
    return Nearest;
}

bool TGeoClosedGroup::InRect(const TRect& Rect, IGraphics& View) {
    for (int I = 0; I < FMembers->Count(); ++I)
        if (FMembers->Items(I).InRect(Rect, View)) return true;
    return false;
}

void TGeoClosedGroup::Query(TGeometryQuery& Query) { FMembers->Query(Query, false); }

void TGeoClosedGroup::HandleMessage(TGeoMessage& Message) {
    TGeoGroup::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectClosedGroups*>(&Message) != nullptr) SetSelected(true);
}

void TGeoClosedGroup::AddMenuItems(TMenuItem& Root) {
    TGeoGroup::AddMenuItems(Root);
    Root.Add("-");
    Root.Add("Explode", [this](TMenuItem&) { Explode(); });
}

void TGeoClosedGroup::SaveToText(TTextWriter& Out) {
    SaveHeader(Out, GetKeyword());
    Out.WriteLine("");
    FMembers->SaveToText(Out);
    Out.WriteLine("[End Group]");
    Out.WriteLine("");
}

void TGeoClosedGroup::LoadFromText(TTextReader& In) {
    LoadHeader(In);
    FMembers->LoadFromText(In);
}

// ---- TGeoOpenGroup ----

TGeoOpenGroup::TGeoOpenGroup() : FReferences(std::make_unique<TGeometryReferencesList>(this)) {
    SetCapabilities(GetCapabilities() | cpUndoable);
}

TGeoOpenGroup::~TGeoOpenGroup() {
    // Only linked members: the document may be freeing its entities around this group.
    for (int I = 0; I < FReferences->Count(); ++I)
        if (FReferences->Items(I).Assigned()) FReferences->Items(I).GetGeometry()->SetHighlighted(false);
}

TGeometry* TGeoOpenGroup::GetMember(int Index) { return FReferences->Items(Index).GetGeometry(); }

TGeometry* TGeoOpenGroup::FindMember(const std::string& Name) {
    TGeometryReference* Reference = FReferences->FindByName(Name);
    return Reference != nullptr ? Reference->GetGeometry() : nullptr;
}

int TGeoOpenGroup::GetMemberCount() { return FReferences->Count(); }

void TGeoOpenGroup::AddMember(TGeometry* Entity) {
    if (Entity == nullptr) return;
    if (Entity->GetName().empty()) {
        const std::string Base = Entity->GetClass().GetKeyword().substr(1);
        Entity->SetName(GetOwnerList() != nullptr ? GetOwnerList()->UniqueName(Base) : Base);
    }
    FReferences->AddGeometry(Entity);
    MarkChanged();
}

void TGeoOpenGroup::AddSelected() {
    TGeometryList* Document = GetOwnerList();
    if (Document == nullptr) return;
    InDocumentChange([&] {
        for (int I = 0; I < Document->Count(); ++I) {
            TGeometry& E = Document->Items(I);
            if (E.GetSelected() && !IsGroup(E)) AddMember(&E);
        }
    });
    RefreshFrame();
}

void TGeoOpenGroup::RemoveMember(TGeometry* Entity) {
    FReferences->RemoveGeometry(Entity);
    MarkChanged();
}

void TGeoOpenGroup::ClearMembers() { FReferences->Clear(); }

void TGeoOpenGroup::CreateOpenGroup(TGeometryList& Document) {
    InListUpdate(&Document, [&] {
        auto Group = std::make_unique<TGeoOpenGroup>();
        // Attached first, so that unnamed members are named uniquely in the document.
        Group->SetOwnerList(&Document);
        for (int I = 0; I < Document.Count(); ++I) {
            TGeometry& E = Document.Items(I);
            if (E.GetSelected() && !IsGroup(E)) Group->AddMember(&E);
        }
        Document.Add(std::move(Group));
    });
}

bool TGeoOpenGroup::CreateFromMacro(TMacroFile& Macro, TGeometryList& List) {
    std::string Name;
    std::unique_ptr<TGeoOpenGroup> Group = StartGroupBlock<TGeoOpenGroup>(Macro, "OPENGROUP", Name);
    if (!Group) return false;
    Group->SetOwnerList(&List);
    ReadGroupBlock(Macro, *Group, Name, [&](const std::string& U) {
        if (U.find("SELECT") != std::string::npos) {
            for (int I = 0; I < List.Count(); ++I)
                if (List.Items(I).GetSelected()) Group->AddMember(&List.Items(I));
        } else {
            Group->AddMember(FindMacroEntity(Macro, List, U));
        }
    });
    List.Add(std::move(Group));
    return true;
}

void TGeoOpenGroup::Assign(const TGeometry& Source) {
    TGeoGroup::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoOpenGroup*>(&Source)) FReferences->Assign(*Other->FReferences);
}

void TGeoOpenGroup::SetSelected(bool Value) {
    for (int I = 0; I < GetMemberCount(); ++I)
        if (TGeometry* Member = GetMember(I)) Member->SetHighlighted(Value);
    TGeoGroup::SetSelected(Value);
}

void TGeoOpenGroup::SetDisplayState(std::uint8_t Value) {
    for (int I = 0; I < GetMemberCount(); ++I)
        if (TGeometry* Member = GetMember(I); Member != nullptr && !Member->GetSelected()) Member->SetDisplayState(Value);
    TGeoGroup::SetDisplayState(Value);
}

TMBox TGeoOpenGroup::CalculateExtents() {
    TMBox Box;
    InitEmptyBox(Box);
    for (int I = 0; I < GetMemberCount(); ++I)
        if (TGeometry* Member = GetMember(I)) Box = UniteBoxes(Box, Member->GetExtents());
    return Box;
}

void TGeoOpenGroup::AfterListChange() {
    if (TGeometryList* Document = GetOwnerList(); Document != nullptr && GetMemberCount() == 0 && !GetName().empty())
        for (int I = 0; I < Document->Count(); ++I)
            if (const auto* Opening = dynamic_cast<const TGeoOpening*>(&Document->Items(I));
                Opening != nullptr && Opening->ConnectsGroup(GetName()))
                return;
    TGeoGroup::AfterListChange();
}

void TGeoOpenGroup::HandleMessage(TGeoMessage& Message) {
    TGeoGroup::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectOpenGroups*>(&Message) != nullptr) SetSelected(true);
}

bool TGeoOpenGroup::ExecuteMacroCommand(TMacroFile& Macro) {
    // The command is the word after the ".", whole: "G1.NAME=ADDER" renames, it adds nothing.
    const std::string Key = MacroCommandKey(Macro.GetCurrentLine());
    const std::string Command = ExtractWord(Key, 1);
    if (Command != "ADD" && Command != "DELETE") return TGeoGroup::ExecuteMacroCommand(Macro);
    const std::string Line = Macro.GetCurrentLine();
    const auto Blank = Line.find(' ');
    const std::string Names = Blank == std::string::npos ? std::string() : Trim(Line.substr(Blank + 1));
    // One change of the group, so that one undo takes it back.
    InDocumentChange([&] {
        for (int I = 1; I <= WordCount(Names); ++I) {
            if (Command == "ADD")
                AddMemberByName(ExtractWord(Names, I));
            else
                RemoveMemberByName(ExtractWord(Names, I));
        }
    });
    return true;
}

void TGeoOpenGroup::SaveToText(TTextWriter& Out) {
    SaveHeader(Out, GetKeyword());
    Out.WriteLine("NumObjects=" + std::to_string(FReferences->Count()));
    for (int I = 0; I < FReferences->Count(); ++I) Out.WriteLine(FReferences->Items(I).GetName());
    Out.WriteLine("");
}

void TGeoOpenGroup::LoadFromText(TTextReader& In) {
    LoadHeader(In);
    // Checked against the names that follow before any is taken: a count too small would drop member
    // names, one too large would take lines of the next block for names.
    CheckListCount(In, {.Names = true});
    const int Count = ReadCount(In);
    FReferences->Clear();
    for (int I = 0; I < Count && !In.Eof(); ++I) FReferences->AddName(Trim(In.ReadLine()));
}

// ---- TGeoOldGroupLoader ----

TGeoOldGroupLoader::TGeoOldGroupLoader() = default;

TGeoOldGroupLoader::~TGeoOldGroupLoader() {
    // Said on the console rather than raised: a destructor must not throw.
    if (PendingOpen)
        WriteConsole("Old style OpenGroup not imported properly");
    else if (PendingClosed)
        WriteConsole("Old style ClosedGroup not imported properly");
}

void TGeoOldGroupLoader::LoadFromText(TTextReader& In) {
    const std::string Name = PositionalValue(In.ReadLine());
    const bool Open = UpperCase(In.ReadLine()).find("OPEN") != std::string::npos;
    if (Open) {
        auto Group = std::make_unique<TGeoOpenGroup>();
        Group->SetName(Name);
        ReadParameters(In, ReadCount(In), Group->Parameters);
        const int Count = ReadCount(In);
        for (int I = 0; I < Count && !In.Eof(); ++I) Group->References().AddName(Trim(In.ReadLine()));
        PendingOpen = std::move(Group);
        WriteConsole("Old Format Open Group Loaded");
    } else {
        auto Group = std::make_unique<TGeoClosedGroup>();
        Group->SetName(Name);
        ReadParameters(In, ReadCount(In), Group->Parameters);
        Group->Members().LoadFromText(In);
        PendingClosed = std::move(Group);
        WriteConsole("Old Format Closed Group Loaded");
    }
}

void TGeoOldGroupLoader::SetOwnerList(TGeometryList* List) {
    TGeometry::SetOwnerList(List);
    if (List == nullptr) return;
    // Adding a group may validate the list, which frees this loader: nothing of it is used after that.
    std::unique_ptr<TGeoOpenGroup> Open = std::move(PendingOpen);
    std::unique_ptr<TGeoClosedGroup> Closed = std::move(PendingClosed);
    if (Open) {
        List->Add(std::move(Open));
        WriteConsole("Old Format Open Group Sucessfully imported");
    }
    if (Closed) {
        List->Add(std::move(Closed));
        WriteConsole("Old Format Closed Group Sucessfully imported");
    }
}

void TGeoOldGroupLoader::AfterListChange() {
    // Nothing of its own to show once the group is handed over; it leaves without the warning that an
    // emptied entity gets.
    if (GetOwnerList() != nullptr && GetOwnerList() != GClipboard) DeleteFromList();
}

}  // namespace sarnova
