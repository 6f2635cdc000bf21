#include "document/GContours.h"

#include "document/GContoursSetup.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/BlockCount.h"
#include "foundation/Contours.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

// The contours entity holding Set in List; nullptr when none does.
TGeoContours* OwnerOf(const TContours& Set, const TGeometryList& List) {
    for (int I = 0; I < List.Count(); ++I)
        if (auto* Entity = dynamic_cast<TGeoContours*>(&List.Items(I)); Entity && &Entity->Contours() == &Set)
            return Entity;
    return nullptr;
}

std::string SetText(const TContours& Set) {
    TTextWriter Out;
    Set.SaveToText(Out);
    return Out.Text();
}

// Edit changes Set in place (the dialog does); a change becomes one undo step of Set's entity. The
// entity records itself holding the set as it was, and then takes the edited set.
template <class F>
void RecordedEdit(TGeometryList& List, TContours& Set, F Edit) {
    const std::unique_ptr<TContours> Before = Set.Clone();
    Edit();
    if (SetText(Set) == SetText(*Before)) return;
    TGeoContours* Entity = OwnerOf(Set, List);
    if (Entity == nullptr) return;
    const std::unique_ptr<TContours> After = Set.Clone();
    Set.Assign(*Before);
    Entity->RecordChange();
    Set.Assign(*After);
}

void ContoursClick(TMenuItem& Sender) {
    TGeometryList* List = GeometryListOf(Sender);
    if (List == nullptr) return;
    // A list without contour settings of its own (not a document) has nothing to set up.
    TContours* Set = List->GetContours();
    if (Set == nullptr) return;
    RecordedEdit(*List, *Set, [&] { ShowContourSetup(*Set, List); });
    // The set may be gone after this bracket (an emptied set removes its entity): not used again.
    List->BeginUpdate(0);
    try {
        for (int I = 0; I < List->Count(); ++I)
            if (List->Items(I).DrawContours()) List->Items(I).MarkChanged();
    } catch (...) {
        List->EndUpdate();
        throw;
    }
    List->EndUpdate();
    List->InvalidateViews();
}

void ContoursOffClick(TMenuItem& Sender) {
    TGeometryList* List = GeometryListOf(Sender);
    if (List == nullptr) return;
    for (int I = 0; I < List->Count(); ++I)
        if (List->Items(I).DrawContours()) List->Items(I).SetDrawContours(false);
    List->InvalidateViews();
}

}  // namespace

TGeoContours::TGeoContours() : FContours(std::make_unique<TContours>()) {
    StoreName("Contours");
    DisplayState = dsHidden;
    // Undoable: a rename makes the set leave the document at the next change of the list, and undo
    // must be able to give it back.
    Capabilities |= cpInternal | cpUndoable;
}

TGeoContours::~TGeoContours() = default;

void TGeoContours::AddToolsMenuItems(TMenuItem& Menu, TGeometryList& List) {
    Menu.Add(NewGMenuItem("&Contours...", &List, ContoursClick));
    Menu.Add(NewGMenuItem("Contours &Off", &List, ContoursOffClick));
}

TDataObject TGeoContours::GetDataObject() { return TDataObject::Of(FContours.get()); }

void TGeoContours::SetSelected(bool) { TGeometry::SetSelected(false); }

void TGeoContours::SetDisplayState(std::uint8_t) { TGeometry::SetDisplayState(dsHidden); }

bool TGeoContours::CleanUp() {
    TContours& Set = *FContours;
    if (Set.Count() > 0) {
        const bool LoneX = Set.XCount() == 1 && Set.XContour(0)->Position == 0;
        const bool LoneY = Set.YCount() == 1 && Set.YContour(0)->Position == 0;
        const bool LoneZ = Set.ZCount() == 1 && Set.ZContour(0)->Position == 0;
        // Left as it is when nothing would remain: the entity goes with its set, and a save that
        // only skips it leaves the removal to the next list change.
        if (Set.Count() == int(LoneX) + int(LoneY) + int(LoneZ)) return false;
        if (LoneX) Set.ClearX();
        if (LoneY) Set.ClearY();
        if (LoneZ) Set.ClearZ();
    }
    if (GetName() != "Contours") return false;
    if (TGeometryList* List = GetOwnerList(); List != nullptr && List->GetContours() != &Set) return false;
    return true;
}

void TGeoContours::AfterListChange() {
    if (!CleanUp()) DeleteFromList();
}

void TGeoContours::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoContours*>(&Source)) FContours->Assign(*Other->FContours);
}

void TGeoContours::SaveToText(TTextWriter& Out) {
    if (!CleanUp() || FContours->Count() == 0) return;
    Out.WriteLine("[" + GetKeyword() + "]");
    FContours->SaveToText(Out);
    Out.WriteLine("");
}

void TGeoContours::LoadFromText(TTextReader& In) {
    CheckListCount(In);
    FContours->LoadFromText(In);
}

TContours* FindListContours(const TGeometryList& List) {
    for (int I = 0; I < List.Count(); ++I)
        if (auto* Entity = dynamic_cast<TGeoContours*>(&List.Items(I))) return &Entity->Contours();
    return nullptr;
}

TContours* ListContours(TGeometryList& List) {
    if (TContours* Found = FindListContours(List)) return Found;
    // An empty set made on demand is no action of the user: it arrives without an undo step (and
    // writes nothing), and what is later set in it is recorded as a change.
    auto Made = std::make_unique<TGeoContours>();
    Made->SetCapabilities(Made->GetCapabilities() & ~cpUndoable);
    List.Add(std::move(Made));
    // Adding runs the entities' checks, which may already have removed the new one.
    TContours* Set = FindListContours(List);
    if (TGeoContours* Entity = Set != nullptr ? OwnerOf(*Set, List) : nullptr)
        Entity->SetCapabilities(Entity->GetCapabilities() | cpUndoable);
    return Set;
}

}  // namespace sarnova
