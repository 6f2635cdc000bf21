#include "document/Geometry.h"

#include <cxxabi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <typeindex>
#include <unordered_map>

#include "document/GeometryClasses.h"
#include "document/GeometryList.h"
#include "document/GeometryReference.h"
#include "document/GeometryRepresentation.h"
#include "document/Settings.h"
#include "foundation/Box.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/ColorNames.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/GeomBox.h"
#include "foundation/MacroFile.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova {

TGeometryList* GClipboard = nullptr;

std::string ClassNameOf(const std::type_info& Type) {
    // Asked for every undo record: each type is demangled once. Never freed, so that a name is still
    // found while static objects are destroyed at exit.
    static auto& Known = *new std::unordered_map<std::type_index, std::string>;
    const auto Found = Known.find(Type);
    if (Found != Known.end()) return Found->second;
    int Status = 0;
    std::unique_ptr<char, void (*)(void*)> Demangled(
        abi::__cxa_demangle(Type.name(), nullptr, nullptr, &Status), std::free);
    std::string Name = (Status == 0 && Demangled) ? Demangled.get() : Type.name();
    const auto Colon = Name.rfind("::");
    return Known.emplace(Type, Colon == std::string::npos ? Name : Name.substr(Colon + 2)).first->second;
}

TGeoMessage::~TGeoMessage() = default;
TGeometryObserver::~TGeometryObserver() = default;
IGeometryFrame::~IGeometryFrame() = default;
TPointInfo::~TPointInfo() = default;
TGeometryClass::~TGeometryClass() = default;

// ---- Frames ----

namespace {
std::map<std::string, TFrameCreator>& FrameCreators() {
    static std::map<std::string, TFrameCreator> Creators;
    return Creators;
}
}  // namespace

void RegisterGeometryFrame(const std::string& FrameName, TFrameCreator Creator) {
    FrameCreators()[FrameName] = std::move(Creator);
}

IGeometryFrame* CreateGeometryFrame(const std::string& FrameName, TGeometry& Geometry, void* Owner) {
    const auto Found = FrameCreators().find(FrameName);
    if (Found == FrameCreators().end() || !Found->second) return nullptr;
    return Found->second(Geometry, Owner);
}

// ---- Colours ----

const TSarnovaSettings& CurrentSettings() {
    if (GSettings) return *GSettings;
    static const TSarnovaSettings Defaults = [] {
        TSarnovaSettings S;
        S.SetDefaults();
        return S;
    }();
    return Defaults;
}

TColor TGeometryColors::DrawColor() const {
    if (Geometry.SelectedOrHighlighted() && !Geometry.Editing()) return SelectColor();
    const TGeometryList* List = Geometry.GetOwnerList();
    if (Geometry.Editing() || List == nullptr || List->GetEditedGeometry() == nullptr) return Geometry.GetColor();
    return NonEditColor();
}

TColor TGeometryColors::BackColor() const { return CurrentSettings().BackColor; }
TColor TGeometryColors::ControlPolygonColor() const { return CurrentSettings().ControlPolygonColor; }
TColor TGeometryColors::StartColor() const { return CurrentSettings().StartColor; }
TColor TGeometryColors::SelectColor() const { return CurrentSettings().SelectColor; }
TColor TGeometryColors::NonEditColor() const { return CurrentSettings().NonEditColor; }

// ---- Point handles ----

void TPointInfo::SetPoint(const TMVector& APoint, bool ASelected, bool AVisible, IGraphics* View) {
    Point = APoint;
    Selected = ASelected;
    Visible = AVisible;
    if (View != nullptr) ScreenPoint = View->WorldToScreenVector(APoint);
}

void TRPointInfo::SetSelected(bool Value) {
    if (RPoint != nullptr) RPoint->Marked = Value;
}

void TRPointInfo::SetRPoint(TRPoint* APoint, IGraphics* View, bool AVisible) {
    RPoint = APoint;
    if (APoint != nullptr)
        SetPoint(APoint->Vector(), APoint->Marked, AVisible, View);
    else
        SetPoint(ZeroVector, false, false, View);
}

// ---- Classes ----

std::string DescriptionFromKeyword(const std::string& Keyword) {
    if (Keyword.size() < 2) return Keyword;
    std::string Text = Keyword.substr(1, 255);
    auto IsUpper = [](char C) { return C >= 'A' && C <= 'Z'; };
    auto IsLower = [](char C) { return C >= 'a' && C <= 'z'; };
    for (std::size_t I = Text.size() - 1; I >= 1; --I)
        if (IsUpper(Text[I]) && IsLower(Text[I - 1])) Text.insert(I, " ");
    return Text;
}

std::string TGeometryClass::GetDescription() const { return DescriptionFromKeyword(GetKeyword()); }

// ---- The entity ----

TGeometry::TGeometry() : Extents(EmptyBox), Color(CurrentSettings().DrawColor) {}

TGeometry::~TGeometry() {
    if (!Rare) return;
    // A reference the entity does not hold as a member may outlive it: it forgets its owner.
    for (TGeometryReference* Reference : Rare->References) Reference->OwnerFreed();
    Rare->References.clear();
    Rare->Renderer.reset();
    if (Rare->Frame != nullptr) Rare->Frame->GeometryDestroyed();
    NotifyFreeing();
}

TGeometry::TRareParts::TRareParts() = default;
TGeometry::TRareParts::~TRareParts() = default;

TGeometry::TRareParts& TGeometry::MakeRare() {
    if (!Rare) Rare = std::make_unique<TRareParts>();
    return *Rare;
}

TGeometry::TSubclassPart* TGeometry::FindPart(TPartSlot Slot) const {
    return Rare ? Rare->SubclassParts[static_cast<std::size_t>(Slot)].get() : nullptr;
}

TGeometry::TSubclassPart& TGeometry::KeepPart(TPartSlot Slot, std::unique_ptr<TSubclassPart> Part) {
    std::unique_ptr<TSubclassPart>& Kept = MakeRare().SubclassParts[static_cast<std::size_t>(Slot)];
    Kept = std::move(Part);
    return *Kept;
}

void TGeometry::DropPart(TPartSlot Slot) noexcept {
    if (Rare) Rare->SubclassParts[static_cast<std::size_t>(Slot)].reset();
}

void TGeometry::NotifyFreeing() {
    // Each reference unlinks itself (or is freed by its list), which takes it off Observers. A holder
    // whose reaction fails cannot keep the entity alive: the others are told all the same, and this
    // may run in a destructor, which must not throw.
    NotifyObservers([](TGeometryObserver& O) {
        try {
            O.TargetDestroyed();
        } catch (...) {
        }
    });
    if (Rare) Rare->Observers.clear();
}

template <class F>
void TGeometry::NotifyObservers(F Call) {
    if (!Rare || Rare->Observers.empty()) return;
    // A call may unregister or free observers; only those still registered are called.
    const std::vector<TGeometryObserver*> Snapshot = Rare->Observers;
    for (auto It = Snapshot.rbegin(); It != Snapshot.rend(); ++It) {
        const std::vector<TGeometryObserver*>& Now = Rare->Observers;
        if (std::find(Now.begin(), Now.end(), *It) != Now.end()) Call(**It);
    }
}

const TGeometryClass& TGeometry::GetClass() const { return GeometryClassOf<TGeometry>(); }

std::uint8_t TGeometry::GetEditorFlags() {
    std::uint8_t Flags = 0;
    if (Capabilities & (cpClickPick | cpRectPick)) Flags |= efSelectPoints;
    if (Capabilities & cpPointEditing) Flags |= efDragMoves;
    if (Capabilities & cpAllMouseMoves) Flags |= efAllMoves;
    if (Capabilities & (cpKeys | cpInsertPointKey | cpInsertKnotKey)) Flags |= efKeys;
    if (State & (gsInsertPoint | gsInsertKnot)) {
        Flags &= static_cast<std::uint8_t>(~efSelectPoints);
        Flags |= efAllMoves;
    }
    return Flags;
}

void TGeometry::BeginEdit() {
    if (Editing() || !HasCapability(cpPointEditing) || OwnerList == nullptr) return;
    State |= gsEditing;
    if (DisplayState != dsNormal) {
        DisplayState = dsNormal;
        FreeRenderer();
    }
    StoreSelected(true);
    if (TMenuItem* Root = PopupMenu(); Root != nullptr && Root->Count() > 0) Root->Items(0).Caption = "Finish Editing";
}

void TGeometry::EndEdit() {
    if (!Editing()) return;
    if (TMenuItem* Root = GetPopupRoot(); Root != nullptr && Root->Count() > 0) Root->Items(0).Caption = "Edit";
    State &= static_cast<std::uint16_t>(~gsEditing);
}

std::string TGeometry::GetName() const { return Name; }

std::string TGeometry::DescribedName() const {
    const std::string Named = GetName();
    return GetDescription() + (Named.empty() ? "" : " " + Named);
}

std::string NameWithoutControls(std::string Name) {
    for (char& C : Name)
        if (static_cast<unsigned char>(C) < ' ' || C == '\x7f') C = '_';
    return Name;
}

void TGeometry::SetName(const std::string& Given) {
    const std::string Value = NameWithoutControls(Given);
    if (Value == Name || Renaming) return;
    Renaming = true;
    try {
        BeginChange();
        StoreName(Value);
        RefreshFrame();
        NotifyOwner();
        if (OwnerList != nullptr && !OwnerList->Updating()) SendMessage(std::make_unique<TGeoGeometryChange>());
    } catch (...) {
        Renaming = false;
        throw;
    }
    Renaming = false;
}

void TGeometry::NameOnAdd(const std::string& Value) {
    // Detached while it is renamed, whatever list a caller attached it to before the Add: that list
    // would otherwise record a change of, or broadcast, an entity it does not hold.
    TGeometryList* const Attached = OwnerList;
    OwnerList = nullptr;
    try {
        SetName(Value);
    } catch (...) {
        OwnerList = Attached;
        throw;
    }
    OwnerList = Attached;
}

void TGeometry::SetOwnerList(TGeometryList* List) { OwnerList = List; }

void TGeometry::SetColor(TColor Value) {
    // The colour is kept in the file, so a new one is an undoable change like any other.
    if (Value != Color) BeginChange();
    Color = Value;
    Redraw();
    EndChange();
}

void TGeometry::SetCapabilities(std::uint16_t Value) { Capabilities = Value; }

TDataObject TGeometry::GetDataObject() { return {}; }

std::unique_ptr<TPointInfo> TGeometry::CreatePointInfo() { return std::make_unique<TRPointInfo>(this); }

void TGeometry::GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) {
    if (auto* R = dynamic_cast<TRPointInfo*>(&Info)) R->SetRPoint(GetPoint(Index), View, true);
}

void TGeometry::UpdateMenuItems(TMenuItem&) {}
void TGeometry::AddMenuItems(TMenuItem&) {}
int TGeometry::GetPointCount() { return 0; }
TRPoint* TGeometry::GetPoint(int) { return nullptr; }
std::uint8_t TGeometry::GetSelectionType() { return 0; }

void TGeometry::SetSelected(bool Value) {
    if (Value == Selected || DisplayState == dsHidden) return;
    if (!Value && Editing()) SetEditing(false);
    StoreSelected(Value);
    if (!Value) FreePopupMenu();
    Redraw();
    NotifyOwner();
}

void TGeometry::SetDisplayState(std::uint8_t Value) {
    if (Value == dsRendered && !HasCapability(cpRenderable)) Value = dsNormal;
    if (Value == DisplayState) return;
    bool NeedsRefresh = false;
    bool NeedsRedraw = false;
    if (DisplayState == dsNormal || DisplayState == dsBox) {
        Undraw();
    } else if (DisplayState == dsRendered) {
        FreeRenderer();
        NeedsRefresh = true;
    }
    DisplayState = Value;
    if (Value == dsNormal || Value == dsBox) {
        NeedsRedraw = true;
    } else if (Value == dsHidden) {
        StoreSelected(false);
        FreePopupMenu();
    } else if (Value == dsRendered) {
        CreateRenderer();
        NeedsRefresh = true;
    }
    if (NeedsRefresh)
        InvalidateViews();
    else if (NeedsRedraw)
        Redraw();
    NotifyOwner();
}

void TGeometry::AfterListChange() {
    if (ChangePending || (OwnerList != nullptr && OwnerList == GClipboard)) return;
    const TMBox B = GetExtents();
    // Nothing to show: an empty box or a single point.
    if (!(B.Max.X <= B.Min.X && B.Max.Y <= B.Min.Y && B.Max.Z <= B.Min.Z)) return;
    if (KeptAsReadInstead() || (OwnerList != nullptr && OwnerList->KeepsEntities())) return;
    // Said on the console, so that an entity an edit or a transform flattened does not vanish unnoticed.
    if (GConsole && OwnerList != nullptr)
        GConsole->WriteLine("Warning: " + DescribedName() + " has nothing left to show and was removed");
    DeleteFromList();
}

void TGeometry::Recalculate() { UpdateRenderer(); }
void TGeometry::InvalidateRepresentations() {
    if (Rare && Rare->ContourRepresentation) Rare->ContourRepresentation->Invalidate();
}
void TGeometry::AddSnapPoints(TGeometrySnapInfo&) {}

TMBox TGeometry::GetSelectionExtents(IGraphics& View) {
    TMBox B = EmptyBox;
    for (int I = 0; I < GetPointCount(); ++I) {
        const TPointInfo& Info = PointInfo(I, &View);
        if (Info.IsSelected()) ExtendBoxByVector(Info.GetPoint(), B);
    }
    return B;
}

TMBox TGeometry::CalculateExtents() { return EmptyBox; }

IGeometryFrame* TGeometry::CreateFrame(void* Owner) { return CreateGeometryFrame(DefaultGeometryFrameName, *this, Owner); }

std::string MacroCommandKey(const std::string& Line) {
    const auto Dot = Line.find('.');
    if (Dot == std::string::npos) return {};
    const auto Equals = Line.find('=', Dot + 1);
    return UpperCase(Trim(Line.substr(Dot + 1, Equals == std::string::npos ? std::string::npos : Equals - Dot - 1)));
}

bool TGeometry::ExecuteMacroCommand(TMacroFile& Macro) {
    const std::string& Line = Macro.GetCurrentLine();
    const std::string Key = MacroCommandKey(Line);
    // The text after the first "=" (the whole line when there is none), as the command's value.
    const auto Equals = Line.find('=');
    const std::size_t Start = Equals == std::string::npos ? 0 : Equals + 1;
    const std::string Value = Start < Line.size() ? Trim(Line.substr(Start, 255)) : std::string();
    if (Key == "COLOR") {
        TColor NewColor = Color;
        if (!ColorNameToColor(Value, NewColor))
            Macro.Error(Value + " is not a valid color description does not have any associated funtions");
        SetColor(NewColor);
    } else if (Key == "NAME") {
        SetName(Value);
    } else {
        Macro.Error(GetDescription() + " (" + GetName() + ") does not have any associated funtions");
    }
    return true;
}

void TGeometry::Transform(const TMMatrix&) {}

void TGeometry::Assign(const TGeometry& Source) {
    if (LastGoodBlockDeferred) TakeLastGoodBlock();
    StoreSelected(Source.Selected);
    Color = Source.Color;
    StoreName(Source.Name);
    if (Source.DrawContours())
        Contours().SetVisible(true);
    else if (DrawContours())
        Contours().SetVisible(false);
    // A copy or an undo snapshot keeps everything the entity's block keeps.
    SetMirrored(Source.Mirrored());
}

void TGeometry::SelectAllPoints() {
    if (!Editing()) return;
    for (int I = 0; I < GetPointCount(); ++I) PointInfo(I, nullptr).SetSelected(true);
    Redraw();
}

double TGeometry::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    double Best = 1e33;
    if (DisplayState == dsHidden) return Best;
    for (int I = 0; I < GetPointCount(); ++I) {
        const TPoint P = PointInfo(I, &View).GetScreenPoint();
        Best = std::min(Best, std::hypot(double(P.X) - ScreenPoint.X, double(P.Y) - ScreenPoint.Y));
    }
    return Best;
}

bool TGeometry::InRect(const TRect& Rect, IGraphics& View) {
    if (DisplayState == dsHidden) return false;
    for (int I = 0; I < GetPointCount(); ++I) {
        const TPoint P = PointInfo(I, &View).GetScreenPoint();
        if (P.X >= Rect.Left && P.X < Rect.Right && P.Y >= Rect.Top && P.Y < Rect.Bottom) return true;
    }
    return false;
}



std::unique_ptr<TPolyline> TGeometry::IntersectPlane(const TMPlane&) { return nullptr; }

namespace {
bool ListAccepts(const TGeometryList* List) { return List != nullptr && !List->Updating(); }
}  // namespace

void TGeometry::Redraw() {
    if (!ListAccepts(OwnerList)) return;
    if (DisplayState == dsRendered)
        OwnerList->InvalidateGeometry(*this);
    else
        OwnerList->DrawGeometry(*this);
}

void TGeometry::DrawInColor(TColor Colour, IGraphics& View) {
    if (!ListAccepts(OwnerList)) return;
    const TColor Own = Color;
    Color = Colour;
    try {
        View.SetLineColor(Colour);
        Draw(View);
    } catch (...) {
        Color = Own;
        throw;
    }
    Color = Own;
}

void TGeometry::DrawHighlighted(IGraphics&) {}

void DrawHighlightOverlay(const TGeometry& Entity, IGraphics& View, const std::function<void()>& Draw) {
    struct TWidthReset {
        IGraphics& View;
        ~TWidthReset() { View.SetLineWidth(1); }
    };
    View.SetLineWidth(3);
    const TWidthReset Reset{View};
    View.SetLineColor(Entity.Colors().DrawColor());
    Draw();
}

void TGeometry::Undraw() {
    if (ListAccepts(OwnerList) && DisplayState != dsRendered) OwnerList->EraseGeometry(*this);
}

void TGeometry::RedrawView() {
    if (!ListAccepts(OwnerList)) return;
    if (RedrawingView) {
        // The list passed the request back (its view draws an overlay): rendering now would tear the
        // overlay and asking again would never end, so the views repaint when they are next idle.
        OwnerList->InvalidateViews();
        return;
    }
    RedrawingView = true;
    try {
        OwnerList->InvalidateGeometry(*this);
    } catch (...) {
        RedrawingView = false;
        throw;
    }
    RedrawingView = false;
}

void TGeometry::Draw(IGraphics&) {}
void TGeometry::DrawOutline(IGraphics&) {}
void TGeometry::DrawSimplified(IGraphics&) {}

void TGeometry::DrawBox(IGraphics& View) {
    const TMBox B = GetExtents();
    if (BoxHasArea(B)) DrawBoxEdges(B, View);
}

void TGeometry::SaveToText(TTextWriter&) {}
void TGeometry::LoadFromText(TTextReader&) {}
std::unique_ptr<TPolygonList> TGeometry::CreatePolygonRepresentation(std::uint8_t) { return nullptr; }


double TGeometry::Expression(const std::string&) {
    throw EError("Entry into TGeometry.Expression, This should not happen");
}

void TGeometry::DeleteSelectedPoints() {}

void TGeometry::FreeFrame() {
    if (!Rare) return;
    delete Rare->Frame;
    Rare->Frame = nullptr;
}

void TGeometry::UpdateFrame() {
    if (IGeometryFrame* Frame = GetFrame(); Frame != nullptr && Frame->IsDefaultFrame()) Frame->Refresh();
}

void TGeometry::CreateRenderer() {}

void TGeometry::DrawRendered(IGraphics& View) {
    IShadedRenderer* Renderer = GetRenderer();
    if (Renderer == nullptr) {
        Draw(View);
        return;
    }
    Renderer->SetMaterial(Color, clWhite, 110);
    View.RenderObject(*Renderer);
}

void TGeometry::FreeRenderer() {
    if (Rare) Rare->Renderer.reset();
}

void TGeometry::UpdateRenderer() {
    IShadedRenderer* Renderer = GetRenderer();
    if (Renderer == nullptr) return;
    Renderer->SetMirrored(Mirrored());
    Renderer->Rebuild();
}

void TGeometry::Query(TGeometryQuery&) {}
void TGeometry::HandleMessage(TGeoMessage&) {}

void TGeometry::SetRenderer(std::unique_ptr<IShadedRenderer> Value) {
    if (Value || Rare) MakeRare().Renderer = std::move(Value);
}

void TGeometry::SetHighlighted(bool Value) {
    if (Value == Highlighted) return;
    Highlighted = Value;
    Redraw();
}

void TGeometry::SetEditing(bool Value) {
    if (OwnerList == nullptr) return;
    if (Value && !Editing())
        OwnerList->SetEditedGeometry(this);
    else if (!Value && Editing())
        OwnerList->SetEditedGeometry(nullptr);
}

void TGeometry::SetMirrored(bool Value) {
    if (Value == Mirrored()) return;
    RecordChange();
    // The mirrored copy must disappear from the views while it is still drawn.
    if (Mirrored()) Undraw();
    if (Value)
        State |= gsMirrored;
    else
        State &= static_cast<std::uint16_t>(~gsMirrored);
    MarkChanged();
    Redraw();
}

TGeometryContours& TGeometry::Contours() {
    TRareParts& R = MakeRare();
    if (!R.ContourRepresentation) R.ContourRepresentation = std::make_unique<TGeometryContours>(*this);
    return *R.ContourRepresentation;
}

bool TGeometry::DrawContours() const {
    return Rare && Rare->ContourRepresentation && Rare->ContourRepresentation->GetVisible();
}

void TGeometry::SetDrawContours(bool Value) {
    TGeometryContours& C = Contours();
    if (C.GetVisible() == Value) return;
    RecordChange();
    if (Value)
        State |= gsContours;
    else
        State &= static_cast<std::uint16_t>(~gsContours);
    C.SetVisible(Value);
    InvalidateViews();
    RefreshFrame();
}

TPointInfo& TGeometry::PointInfo(int Index, IGraphics* View) {
    // Made on first use rather than in the constructor, so that a derived class's handle type is used.
    TRareParts& R = MakeRare();
    if (!R.SharedPointInfo) R.SharedPointInfo = CreatePointInfo();
    R.SharedPointInfo->Index = Index;
    GetPointInfo(Index, *R.SharedPointInfo, View);
    return *R.SharedPointInfo;
}

TMBox TGeometry::GetExtents() {
    if (!BoxHasArea(Extents)) UpdateExtents();
    return Extents;
}

void TGeometry::UpdateExtents() {
    // Entities on the clipboard are never drawn; their extents stay as they came.
    if (OwnerList != nullptr && OwnerList == GClipboard) return;
    Extents = CalculateExtents();
}

TMBox TGeometry::GetFocusExtents(IGraphics& View) {
    const TMBox B = GetSelectionExtents(View);
    return BoxHasArea(B) ? B : GetExtents();
}

void TGeometry::BeginChange() {
    RecordChange();
    NotifyObservers([](TGeometryObserver& O) { O.DoChanging(); });
}

void TGeometry::RecordChange() {
    if (LastGoodBlockDeferred) TakeLastGoodBlock();
    if (OwnerList != nullptr && HasCapability(cpUndoable)) OwnerList->BeforeChange(*this);
}

const std::string& TGeometry::LastGoodBlock() const {
    static const std::string None;
    return Rare ? Rare->KeptBlock : None;
}

void TGeometry::KeepLastGoodBlock(std::string_view Block) {
    LastGoodBlockDeferred = WritesItsBlockFromState();
    if (!LastGoodBlockDeferred)
        MakeRare().KeptBlock.assign(Block);
    else if (Rare)
        std::string().swap(Rare->KeptBlock);
}

void TGeometry::TakeLastGoodBlock() {
    LastGoodBlockDeferred = false;
    TTextWriter Out;
    try {
        SaveToText(Out);
    } catch (const std::exception&) {
        // It was written whole when last read or saved and has not changed since: only a change that
        // bypassed RecordChange gets here, and then there is no good block to keep.
        return;
    }
    MakeRare().KeptBlock = Out.Text();
}

void TGeometry::RecordFollowingChange() {
    if (LastGoodBlockDeferred) TakeLastGoodBlock();
    if (OwnerList != nullptr && HasCapability(cpUndoable)) OwnerList->BeforeFollowingChange(*this);
}

void TGeometry::MarkChanged() {
    if (ChangePending) return;
    ChangePending = true;
    if (OwnerList != nullptr) OwnerList->SetChanged();
    InvalidateRepresentations();
    NotifyObservers([](TGeometryObserver& O) { O.Modified(); });
}

void TGeometry::EndChange() {
    MarkChanged();
    if (ListAccepts(OwnerList)) ApplyChange();
}

void TGeometry::ApplyChange() {
    if (!ChangePending || (State & (gsDragging | gsKeyMoving))) return;
    ChangePending = false;
    Recalculate();
    UpdateExtents();
    if (ListAccepts(OwnerList)) SendMessage(std::make_unique<TGeoGeometryChange>());
    if (GetFrame() != nullptr) UpdateFrame();
    NotifyObservers([](TGeometryObserver& O) { O.DoChanged(); });
}

void TGeometry::NotifyOwner() {
    if (OwnerList != nullptr) OwnerList->NotifyChange();
}

void TGeometry::RefreshFrame() {
    if (GetFrame() != nullptr) UpdateFrame();
}

void TGeometry::BeginListUpdate(std::uint8_t Flags) {
    if (OwnerList != nullptr) OwnerList->BeginUpdate(Flags);
}

void TGeometry::EndListUpdate() {
    if (OwnerList != nullptr) OwnerList->EndUpdate();
}

void TGeometry::SendMessage(std::unique_ptr<TGeoMessage> Message) {
    if (!Message) return;
    Message->SenderGeometry = this;
    Message->SenderList = nullptr;
    if (OwnerList != nullptr) OwnerList->SendMessage(std::move(Message));
}

void TGeometry::AddObserver(TGeometryObserver* Observer) {
    if (Observer != nullptr) MakeRare().Observers.push_back(Observer);
}

void TGeometry::RemoveObserver(TGeometryObserver* Observer) {
    if (!Rare) return;
    std::vector<TGeometryObserver*>& Observers = Rare->Observers;
    const auto Found = std::find(Observers.begin(), Observers.end(), Observer);
    if (Found != Observers.end()) Observers.erase(Found);
}

void TGeometry::AddReference(TGeometryReference* Reference) { MakeRare().References.push_back(Reference); }

void TGeometry::RemoveReference(TGeometryReference* Reference) {
    if (!Rare) return;
    // From the back: a list of references frees them last first.
    std::vector<TGeometryReference*>& References = Rare->References;
    const auto Found = std::find(References.rbegin(), References.rend(), Reference);
    if (Found != References.rend()) References.erase(std::next(Found).base());
}

void TGeometry::BindReferences() {
    if (!Rare || OwnerList == nullptr) return;
    // Linking fires no event and leaves this list as it is; the walk by index stays safe all the same.
    for (std::size_t I = 0; I < Rare->References.size(); ++I) Rare->References[I]->Bind();
}

void TGeometry::AddInfoMessage(TInfoMessage Message) {
    if (OwnerList == nullptr) return;
    Message.Sender = this;
    OwnerList->AddInfoMessage(Message);
    if (TObjectInfo* Info = OwnerList->GetTracker().FindInfo(this)) Info->Name = GetName();
}

void TGeometry::ClearInfoMessages() {
    if (OwnerList != nullptr) OwnerList->ClearInfoMessages(*this);
}

bool TGeometry::KeptAsReadInstead() {
    return OwnerList != nullptr && OwnerList->KeepInsteadOfDeleting && OwnerList->KeepInsteadOfDeleting(*this);
}

void TGeometry::DeleteFromList() {
    if (OwnerList == nullptr || OwnerList->KeepsEntities()) return;
    OwnerList->DeleteGeometry(this);
}

std::unique_ptr<TGeometry> TGeometry::Clone() const {
    if (!HasCapability(cpUndoable) || !GGeometryClasses) return nullptr;
    return GGeometryClasses->Clone(*this);
}

bool TGeometry::CanPick(int Mode) const {
    if (DisplayState == dsHidden) return false;
    if (Mode == 0) return HasCapability(cpClickPick);
    if (Mode == 1) return HasCapability(cpRectPick);
    return false;
}

void TGeometry::DrawEntity(IGraphics& View) {
    if (!ListAccepts(OwnerList)) return;
    // Drawing always shows the present state.
    ApplyChange();
    View.SetLineColor(Colors().DrawColor());
    switch (DisplayState) {
        case dsNormal:
            Draw(View);
            break;
        case dsBox:
            DrawBox(View);
            break;
        case dsRendered:
            // An entity without extents of its own (a plane) marks its selection itself.
            if (Selected && GetExtents().Max.X >= GetExtents().Min.X) DrawBoxCorners(GetExtents(), View);
            DrawRendered(View);
            break;
        default:
            break;
    }
    View.SetLineColor(Colors().DrawColor());
}

void TGeometry::Erase(IGraphics& View) {
    if (!ListAccepts(OwnerList)) return;
    View.SetLineColor(Colors().BackColor());
    if (DisplayState == dsNormal)
        DrawOutline(View);
    else if (DisplayState == dsBox)
        DrawBox(View);
    View.SetLineColor(Colors().DrawColor());
}

void TGeometry::DrawPreview(IGraphics& View) {
    if (!ListAccepts(OwnerList)) return;
    // Points are quick only for small documents; beyond 500 entities every entity shows its box.
    if (DisplayState == dsNormal) {
        if (OwnerList->Count() <= 500)
            DrawSimplified(View);
        else
            DrawBox(View);
    } else if (DisplayState == dsBox || DisplayState == dsRendered) {
        DrawBox(View);
    }
}

void TGeometry::InvalidateViews() {
    if (ListAccepts(OwnerList)) OwnerList->InvalidateViews();
}

void TGeometry::OfferSnapPoints(TGeometrySnapInfo& Request) {
    if (DisplayState != dsHidden) AddSnapPoints(Request);
}

TMenuItem* TGeometry::PopupMenu() {
    if (GetPopupRoot() == nullptr) {
        CreatePopupMenu();
    } else {
        SendMessage(std::make_unique<TGeoClearSarnovaPopup>());
        if (TMenuItem* Root = GetPopupRoot()) UpdateMenuItems(*Root);
    }
    return GetPopupRoot();
}

void TGeometry::CreatePopupMenu() {
    if (GetPopupRoot() != nullptr) return;
    TRareParts& R = MakeRare();
    R.PopupRoot = std::make_unique<TMenuItem>(GetDescription());
    R.LastMenuItem = nullptr;
    if (HasCapability(cpPointEditing)) AddMenuItem("Edit", [this](TMenuItem&) { ToggleEditing(); });
    AddMenuItem("Show Attributes...", [this](TMenuItem&) { ShowAttributes(); });
    AddMenuItems(*R.PopupRoot);
    if (R.PopupRoot->Count() == 0) {
        FreePopupMenu();
        return;
    }
    R.PopupRoot->Items(0).Default = true;
    R.PopupRoot->ImageIndex = GetClass().GetImageIndex();
}

void TGeometry::FreePopupMenu() {
    if (!Rare) return;
    Rare->PopupRoot.reset();
    Rare->LastMenuItem = nullptr;
}

TMenuItem* TGeometry::AddMenuItem(const std::string& Caption, std::function<void(TMenuItem&)> OnClick) {
    TMenuItem* Root = GetPopupRoot();
    if (Root == nullptr) return nullptr;
    Rare->LastMenuItem = &Root->Add(Caption, std::move(OnClick));
    return Rare->LastMenuItem;
}

TMenuItem* TGeometry::AddSubMenuItem(const std::string& Caption, std::function<void(TMenuItem&)> OnClick) {
    if (!Rare || Rare->LastMenuItem == nullptr) return nullptr;
    return &Rare->LastMenuItem->Add(Caption, std::move(OnClick));
}

void TGeometry::ShowAttributes() { SendMessage(std::make_unique<TGeoShowAttributesPanel>()); }

IGeometryFrame* TGeometry::CreateFrameFor(void* Owner) {
    IGeometryFrame* Frame = CreateFrame(Owner);
    if (Frame != nullptr || Rare) MakeRare().Frame = Frame;
    return Frame;
}

void TGeometry::StoreName(const std::string& Value) {
    // The list finds the entity under the name it indexed it by.
    if (HoldingList != nullptr) HoldingList->UnindexName(*this);
    Name = Value;
    if (HoldingList != nullptr) HoldingList->IndexName(*this);
}

void TGeometry::StoreSelected(bool Value) {
    if (Selected == Value) return;
    Selected = Value;
    if (HoldingList != nullptr) HoldingList->SelectionChanged(*this);
}

}  // namespace sarnova
