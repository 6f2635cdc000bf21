#include "document/GeoFace.h"

#include "document/GContours.h"
#include "document/GeometryClasses.h"
#include "document/GFrames.h"
#include "foundation/ViewContract.h"
#include "foundation/Console.h"
#include "document/Frames.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

TGeometry* AsGeometry(void* Object) { return static_cast<TGeometry*>(Object); }

std::string RecordName(const char* Action, const TGeometry& Entity) {
    return std::string(Action) + Entity.ClassName() + "." + Entity.GetName();
}

constexpr double PickTolerance = 30.0;

// A record of what the undo or redo step under way set off, naming the entity by the address the
// step's records name it by.
template <class T>
std::unique_ptr<T> SideEffectRecord(TUndoManager& Manager, TGeometry& Entity) {
    auto Record = std::make_unique<T>();
    Record->Manager = &Manager;
    Record->Subject = Manager.Original(&Entity);
    Record->Capture(&Entity);
    return Record;
}

}  // namespace

// ---- Entity records ----

void TUndoCreateObjectGeometry::Capture(void* Object) {
    TGeometry* Entity = AsGeometry(Object);
    OwnerList = Entity->GetOwnerList();
    DescriptionText = RecordName("Create ", *Entity);
}

std::unique_ptr<TUndo> TUndoCreateObjectGeometry::CreateInverse() {
    return CreateFrom<TUndoDestroyObjectGeometry>(*this);
}

void TUndoCreateObjectGeometry::Apply(void* Object) {
    if (OwnerList != nullptr) OwnerList->DeleteGeometry(AsGeometry(Object));
}

void TUndoModifyObjectGeometry::Capture(void* Object) {
    TGeometry* Entity = AsGeometry(Object);
    Snapshot = Entity->Clone();
    DescriptionText = RecordName("Change ", *Entity);
}

std::unique_ptr<TUndo> TUndoModifyObjectGeometry::CreateInverse() {
    return CreateFrom<TUndoModifyObjectGeometry>(*this);
}

void TUndoModifyObjectGeometry::Apply(void* Object) {
    TGeometry* Entity = AsGeometry(Object);
    if (!Snapshot || Entity == nullptr) return;
    TGeometryList* List = Entity->GetOwnerList();
    if (List != nullptr && List->GetEditedGeometry() != Entity) List->SetEditedGeometry(nullptr);
    Entity->Assign(*Snapshot);
    Entity->MarkChanged();
}

void TUndoDestroyObjectGeometry::Capture(void* Object) {
    TGeometry* Entity = AsGeometry(Object);
    OwnerList = Entity->GetOwnerList();
    if (OwnerList != nullptr) Index = OwnerList->IndexOf(Entity);
    Snapshot = Entity->Clone();
    DescriptionText = RecordName("Delete ", *Entity);
}

std::unique_ptr<TUndo> TUndoDestroyObjectGeometry::CreateInverse() {
    return CreateFrom<TUndoCreateObjectGeometry>(*this);
}

void* TUndoDestroyObjectGeometry::Apply(void*) {
    if (!Snapshot || OwnerList == nullptr) return nullptr;
    TGeometry* Restored = OwnerList->Add(std::move(Snapshot));
    if (Restored != nullptr && Index >= 0 && Index < OwnerList->Count() - 1) OwnerList->MoveTo(Index, Restored);
    return Restored;
}

// ---- Construction ----

TGeometryInterface::TGeometryInterface()
    : UndoManager(std::make_unique<TUndoManager>()),
      MultipleSelectionMenu(std::make_unique<TMenuItem>("Multiple Selection")) {
    SetProjectOptions(poObjectSnap | po3DEditing);
    // Entities regenerate what the step gave back before the step closes: a curve resting on a
    // restored one follows it now, as part of the step, not as a new action that would end redo.
    UndoManager->OnStepExecuted = [this] { RebuildAfterStep(SteppingForward); };
}

TGeometryInterface::~TGeometryInterface() {
    // The history goes first: its snapshots are not in the list, and nothing may be recorded while
    // the list frees its entities.
    UndoManager.reset();
    OnInvalidate = nullptr;
    OnModifiedChange = nullptr;
    View = nullptr;
}

void TGeometryInterface::SetModified(bool Value) {
    Modified = Value;
    if (OnModifiedChange) OnModifiedChange(this);
}

// ---- Overrides of the list ----

void TGeometryInterface::SetEditedGeometry(TGeometry* Entity) {
    TGeometryList::SetEditedGeometry(Entity);
    if (View != nullptr) View->SetEditorInterface(GetEditedGeometry());
}

TFrames* TGeometryInterface::GetFrames() {
    // The class exactly: a class derived from it is not the document's frame numbering.
    for (int I = 0; I < Count(); ++I)
        if (auto* Frames = dynamic_cast<TGeoFrames*>(&Items(I)); Frames && Frames->ClassName() == "TGeoFrames")
            return &Frames->Frames();
    auto* Added = static_cast<TGeoFrames*>(Add(std::make_unique<TGeoFrames>()));
    return &Added->Frames();
}

TContours* TGeometryInterface::GetContours() { return ListContours(*this); }

bool TGeometryInterface::Recording() const {
    return UndoManager && UndoManager->GetEnabled() && UndoManager->GetMode() == TUndoMode::Editing;
}

void TGeometryInterface::RecordUndo(std::unique_ptr<TUndo> Record) {
    if (UndoManager) UndoManager->AddUndo(std::move(Record));
}

void TGeometryInterface::BeforeChange(TGeometry& Entity) {
    // Only an entity the document holds: one on its way in is recorded by its creation, one on its
    // way out (freed after its deletion was recorded) must not be named by a later record.
    if (!UndoManager || !UndoManager->GetEnabled() || IndexOf(&Entity) < 0) return;
    if (UndoManager->GetMode() == TUndoMode::Editing) {
        RecordUndo(TUndoObject::Create<TUndoModifyObjectGeometry>(&Entity));
        // A change worth a step back is a change of the document, also one (a display switch that
        // the file keeps) that sends no change message.
        if (!Modified) SetModified(true);
        return;
    }
    if (&Entity == UndoManager->GetDeleting()) return;
    // A side effect of the record that runs (a group letting go of a member a redo deletes): the
    // step's inverse keeps the entity as it was, under the address the step's records name it by.
    UndoManager->AddInverse(SideEffectRecord<TUndoModifyObjectGeometry>(*UndoManager, Entity));
}

void TGeometryInterface::BeforeFollowingChange(TGeometry& Entity) {
    if (!UndoManager) return;
    UndoManager->BeginUndoJoiningLast();
    try {
        BeforeChange(Entity);
    } catch (...) {
        UndoManager->EndUndo();
        throw;
    }
    UndoManager->EndUndo();
}

void TGeometryInterface::Added(TGeometry& Entity) {
    if (!Entity.HasCapability(cpUndoable) || !Recording()) {
        TGeometryList::Added(Entity);
        return;
    }
    // The creation is recorded before the list hears of it, in a group with what the notification
    // records: the validation that follows may delete the entity again (a second frames entity
    // does), and that deletion must come after the creation, in the same step.
    auto Record = TUndoObject::Create<TUndoCreateObjectGeometry>(&Entity);
    Record->OwnerList = this;
    UndoManager->BeginUndo();
    try {
        RecordUndo(std::move(Record));
        TGeometryList::Added(Entity);
    } catch (...) {
        UndoManager->EndUndo();
        throw;
    }
    UndoManager->EndUndo();
}

void TGeometryInterface::Removed(TGeometry& Entity) {
    TGeometryList::Removed(Entity);
    if (!Entity.HasCapability(cpUndoable) || !UndoManager || !UndoManager->GetEnabled()) return;
    if (UndoManager->GetMode() == TUndoMode::Editing) {
        auto Record = TUndoObject::Create<TUndoDestroyObjectGeometry>(&Entity);
        // The entity has left the list already; the list says where it stood.
        Record->Index = RemovedFrom;
        RecordUndo(std::move(Record));
        return;
    }
    if (&Entity == UndoManager->GetDeleting()) return;
    // A side effect of the record that runs (a patch going with its boundary curve): its deletion is
    // recorded in the same step, under the address the step's records name it by, and their later
    // records about it do nothing.
    auto Record = SideEffectRecord<TUndoDestroyObjectGeometry>(*UndoManager, Entity);
    Record->Index = RemovedFrom;
    void* Subject = Record->Subject;
    UndoManager->RemoveRelocation(Subject, &Entity);
    UndoManager->ObjectGone(Subject);
    UndoManager->AddInverse(std::move(Record));
}

void TGeometryInterface::Clear() {
    // Entities are freed without Removed, so the records about them must go first.
    if (UndoManager) UndoManager->Clear();
    TGeometryList::Clear();
}

void TGeometryInterface::BeginUpdate(std::uint8_t Flags) {
    if (UndoManager) UndoManager->BeginUndo();
    try {
        TGeometryList::BeginUpdate(Flags);
    } catch (...) {
        if (UndoManager) UndoManager->EndUndo();
        throw;
    }
}

void TGeometryInterface::EndUpdate() {
    const int Depth = GetUpdateCount();
    try {
        TGeometryList::EndUpdate();
    } catch (...) {
        // The list closes its bracket even when applying the changes fails; the undo group follows it.
        if (UndoManager && GetUpdateCount() < Depth) {
            try {
                UndoManager->EndUndo();
            } catch (...) {
            }
        }
        throw;
    }
    if (UndoManager) UndoManager->EndUndo();
}

double TGeometryInterface::EvaluateMacroNumber(const std::string& Text, TMacroFile& Macro) {
    return sarnova::EvaluateMacroNumber(*this, Text, Macro);
}

double TGeometryInterface::EvaluateNumber(const std::string& Text) { return sarnova::EvaluateNumber(*this, Text); }

void TGeometryInterface::InvalidateViews() {
    if (OnInvalidate) OnInvalidate(this);
}

void TGeometryInterface::RefreshViews() {
    if (View != nullptr) View->ZoomAll();
}

void TGeometryInterface::ResetLineColor() { View->SetLineColor(CurrentSettings().DrawColor); }

void TGeometryInterface::InvalidateGeometry(TGeometry& Entity) {
    if (View == nullptr) return;
    if (!View->IsOverlayDrawing()) {
        View->Render();
    } else if (HandingBack) {
        // Asked again from inside the hand-off: the views repaint once the overlay is over.
        InvalidateViews();
    } else {
        // A render now would tear the overlay: the entity is asked to redraw itself instead.
        HandingBack = true;
        try {
            Entity.RedrawView();
        } catch (...) {
            HandingBack = false;
            throw;
        }
        HandingBack = false;
    }
    ResetLineColor();
}

template <class F>
void TGeometryInterface::InOverlay(F Paint) {
    if (View == nullptr) return;
    const bool Began = !View->IsOverlayDrawing();
    if (Began) View->BeginOverlayDraw();
    try {
        Paint(*View);
    } catch (...) {
        if (Began) View->EndOverlayDraw();
        ResetLineColor();
        throw;
    }
    if (Began) View->EndOverlayDraw();
    ResetLineColor();
}

void TGeometryInterface::DrawGeometry(TGeometry& Entity) {
    InOverlay([&](IGraphics& Target) { Entity.DrawEntity(Target); });
}

void TGeometryInterface::EraseGeometry(TGeometry& Entity) {
    InOverlay([&](IGraphics& Target) { Entity.Erase(Target); });
}

void TGeometryInterface::DispatchMessage(TGeoMessage& Message) {
    if (dynamic_cast<TGeoGeometryChange*>(&Message) != nullptr || dynamic_cast<TGeoListChange*>(&Message) != nullptr)
        SetModified(true);
    TGeometryList::DispatchMessage(Message);
}

void TGeometryInterface::LoadFromText(TTextReader& In) {
    if (View != nullptr) View->MakeCurrent();
    TGeometryList::LoadFromText(In);
}

// ---- Files ----

void TGeometryInterface::SaveToFile(const std::filesystem::path& Name) {
    if (GConsole) GConsole->WriteLine("Saving " + Name.string() + "...");
    TGeometryList::SaveToFile(Name);
    FileName = Name.string();
    UndoManager->Clear();
    SetModified(false);
}

void TGeometryInterface::LoadFromFile(const std::filesystem::path& Name) {
    Clear();
    UndoManager->SetEnabled(false);
    try {
        LoadText(Name);
    } catch (...) {
        // Part of a file under the previous file's name would be saved over that file: the document
        // is left empty and untitled instead.
        UndoManager->SetEnabled(true);
        try {
            Clear();
        } catch (...) {
        }
        FileName.clear();
        SetModified(false);
        throw;
    }
    UndoManager->SetEnabled(true);
    FileName = Name.string();
    SetModified(false);
}

void TGeometryInterface::LoadText(const std::filesystem::path& Name) {
    if (GConsole) GConsole->WriteLine("Loading " + Name.string() + "...");
    TGeometryList::LoadFromFile(Name);
}

// ---- Undo ----

// The records have put back what each entity held. What is rebuilt from that must not fail the step:
// the step is done and recorded either way, and the next undo must be able to go on.
void TGeometryInterface::RebuildAfterStep(bool Forward) {
    const char* Action = Forward ? "redo" : "undo";
    // Restored snapshots name their targets: linked now, they follow the renames of later steps.
    BindReferences();
    ApplyChanges([Action](TGeometry& Entity, const std::exception& E) {
        if (GConsole)
            GConsole->WriteLine(std::string("Warning: ") + Entity.DescribedName() + " cannot be rebuilt after the " +
                                Action + " (" + E.what() + "), it keeps its restored state");
    });
}

void TGeometryInterface::Step(bool Forward) {
    SteppingForward = Forward;
    Restoring = true;
    struct TRestored {
        bool& Flag;
        ~TRestored() { Flag = false; }
    } Restored{Restoring};
    // The list's own bracket: undoing must not open an undo group of its own.
    const bool Group = Forward ? UndoManager->RedoTopIsGroup() : UndoManager->UndoTopIsGroup();
    TGeometryList::BeginUpdate(Group ? ufEndEditing | ufHourGlass : ufHourGlass);
    try {
        if (Forward)
            UndoManager->Redo();
        else
            UndoManager->Undo();
        NotifyChange();
        InvalidateViews();
    } catch (...) {
        try {
            TGeometryList::EndUpdate();
        } catch (...) {
            // The record's own failure is the one to report.
        }
        throw;
    }
    if (GetUpdateCount() == 1) RebuildAfterStep(Forward);
    try {
        TGeometryList::EndUpdate();
    } catch (const std::exception& E) {
        if (GConsole)
            GConsole->WriteLine(std::string("Warning: the document cannot be rebuilt after the ") +
                                (Forward ? "redo" : "undo") + " (" + E.what() + "), it keeps its restored state");
    }
}

void TGeometryInterface::Undo() { Step(false); }

void TGeometryInterface::Redo() { Step(true); }

template <class F>
void TGeometryInterface::InBracket(std::uint8_t Flags, F Body) {
    BeginUpdate(Flags);
    try {
        Body();
    } catch (...) {
        try {
            EndUpdate();
        } catch (...) {
        }
        throw;
    }
    EndUpdate();
}

// ---- Selection ----

TMenuItem* TGeometryInterface::SelectionPopupMenu() {
    if (Count() == 0 || SelectedCount() == 0) return nullptr;
    if (TGeometry* Single = SingleSelection()) return Single->PopupMenu();
    SendMessage(std::make_unique<TGeoClearSarnovaPopup>());
    for (int I = MultipleSelectionMenu->Count() - 1; I >= 0; --I) MultipleSelectionMenu->Delete(I);
    if (GGeometryClasses) GGeometryClasses->AddGroupMenuItems(*MultipleSelectionMenu, *this);
    if (MultipleSelectionMenu->Count() == 0) MultipleSelectionMenu->Add("No Actions").Enabled = false;
    return MultipleSelectionMenu.get();
}

template <class TMessage>
void TGeometryInterface::SelectKind() {
    InBracket(ufEndEditing | ufHourGlass, [&] { SendMessage(std::make_unique<TMessage>()); });
}

void TGeometryInterface::SelectPolylines() { SelectKind<TGeoSelectPolylines>(); }
void TGeometryInterface::SelectArcs() { SelectKind<TGeoSelectArcs>(); }
void TGeometryInterface::SelectCircles() { SelectKind<TGeoSelectCircles>(); }
void TGeometryInterface::SelectPlanes() { SelectKind<TGeoSelectPlanes>(); }
void TGeometryInterface::SelectPolyLists() { SelectKind<TGeoSelectPolyLists>(); }
void TGeometryInterface::SelectBSplines() { SelectKind<TGeoSelectBSplines>(); }
void TGeometryInterface::SelectCurves() { SelectKind<TGeoSelectCurves>(); }
void TGeometryInterface::SelectMeshes() { SelectKind<TGeoSelectMeshes>(); }
void TGeometryInterface::SelectBSplineSurfaces() { SelectKind<TGeoSelectBSplineSurfaces>(); }
void TGeometryInterface::SelectSurfaces() { SelectKind<TGeoSelectSurfaces>(); }
void TGeometryInterface::SelectPolygons() { SelectKind<TGeoSelectPolygons>(); }
void TGeometryInterface::SelectPrimitives() { SelectKind<TGeoSelectPrimitives>(); }
void TGeometryInterface::SelectOpenGroups() { SelectKind<TGeoSelectOpenGroups>(); }
void TGeometryInterface::SelectClosedGroups() { SelectKind<TGeoSelectClosedGroups>(); }
void TGeometryInterface::SelectOpenings() { SelectKind<TGeoSelectOpenings>(); }

// ---- Picking ----

namespace {

bool ClickPickable(const TGeometry& Entity) { return Entity.HasCapability(cpClickPick) && !Entity.IsHidden(); }

}  // namespace

TGeometry* TGeometryInterface::Nearest(TPoint Point, IGraphics& AView, double Tolerance, bool HighlightableOnly) {
    const THighlightGroups Groups = CurrentSettings().HighlightGroups;
    TGeometry* Nearest = nullptr;
    double Best = Tolerance;
    for (int I = 0; I < Count(); ++I) {
        TGeometry& Entity = Items(I);
        if (!ClickPickable(Entity)) continue;
        if (HighlightableOnly) {
            const unsigned Type = Entity.GetSelectionType();
            if (Type >= 16 || (Groups & (1u << Type)) == 0) continue;
        }
        const double Distance = Entity.DistanceToPoint(Point, AView);
        if (Distance < Best) {
            Best = Distance;
            Nearest = &Entity;
        }
    }
    return Nearest;
}

TGeometry* TGeometryInterface::PickNearest(TPoint Point, IGraphics& AView, double Tolerance) {
    return Nearest(Point, AView, Tolerance, false);
}

TGeometry* TGeometryInterface::PickNearestHighlightable(TPoint Point, IGraphics& AView, double Tolerance) {
    return Nearest(Point, AView, Tolerance, true);
}

std::string TGeometryInterface::EntityHintAt(TPoint Point, IGraphics& AView) {
    TGeometry* Entity = PickNearest(Point, AView, PickTolerance);
    if (Entity == nullptr) return {};
    return Entity->GetDescription() + ":" + Entity->GetName();
}

void TGeometryInterface::UpdateHighlight(TPoint Point, IGraphics& AView) {
    TGeometry* Entity = PickNearestHighlightable(Point, AView, PickTolerance);
    if (Entity == GetHighlightedGeometry()) return;
    SetHighlightedGeometry(Entity);
    InvalidateViews();
}

void TGeometryInterface::SelectInRect(const TRect& Rect, IGraphics& AView, TShiftState Shift) {
    const bool Adding = (Shift & ssCtrl) != 0;
    InBracket(ufEndEditing, [&] {
        for (int I = 0; I < Count(); ++I) {
            TGeometry& Entity = Items(I);
            if (!Adding && Entity.HasCapability(cpRectPick)) Entity.SetSelected(false);
            if (Entity.HasCapability(cpRectPick) && !Entity.IsHidden() && Entity.InRect(Rect, AView))
                Entity.SetSelected(!Entity.GetSelected());
        }
    });
}

bool TGeometryInterface::SelectAtPoint(TPoint Point, IGraphics& AView, TShiftState Shift) {
    const bool Adding = (Shift & ssCtrl) != 0;
    bool Result = false;
    InBracket(ufEndEditing, [&] {
        double Best = PickTolerance;
        TGeometry* Single = SingleSelection();
        TGeometry* Highlighted = GetHighlightedGeometry();
        TGeometry* Found = nullptr;
        if (Highlighted != nullptr && Highlighted != Single) {
            if (ClickPickable(*Highlighted) && Highlighted->DistanceToPoint(Point, AView) < PickTolerance) {
                if (!Adding)
                    for (int I = 0; I < Count(); ++I) Items(I).SetSelected(false);
                Highlighted->SetSelected(true);
                Found = Highlighted;
                Result = true;
            }
        } else if (Single != nullptr) {
            Best = Single->DistanceToPoint(Point, AView);
            if (Best > PickTolerance && !Adding) {
                Best = PickTolerance;
                Single->SetSelected(false);
            }
        }
        if (Found == nullptr) {
            for (int I = 0; I < Count(); ++I) {
                TGeometry& Entity = Items(I);
                if (!ClickPickable(Entity)) {
                    Entity.SetSelected(false);
                    continue;
                }
                const double Distance = Entity.DistanceToPoint(Point, AView);
                if (Best > Distance) {
                    Best = Distance;
                    Found = &Entity;
                    if (Single != nullptr && Single != &Entity && !Adding) Single->SetSelected(false);
                } else if (!Adding && &Entity != Single) {
                    Entity.SetSelected(false);
                }
            }
            if (Found != nullptr) {
                Found->SetSelected(true);
                Result = true;
            }
        }
    });
    return Result;
}

// ---- Names in numbers ----

bool TGeometryInterface::FramesDefined() {
    const TFrames* Frames = GetFrames();
    return Frames != nullptr && Frames->Count() > 0;
}

double TGeometryInterface::FramePosition(double Frame) {
    const TFrames* Frames = GetFrames();
    return Frames != nullptr ? Frames->FramePosition(Frame) : -1;
}

std::optional<double> TGeometryInterface::EntityExpression(const std::string& Entity, const std::string& Property) {
    TGeometry* Found = FindByName(Entity);
    if (Found == nullptr) return std::nullopt;
    return Found->Expression(Property);
}

}  // namespace sarnova
