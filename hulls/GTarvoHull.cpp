#include "hulls/GTarvoHull.h"

#include <string>
#include <utility>
#include <vector>

#include "document/GCustomPline.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova {

TGeoTarvoHull::TGeoTarvoHull() : TGeoTarvoSurface(std::make_unique<TTarvoHull>(), "TarvoHull1") {
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
    // A change of any curve the hull rests on re-fits it, and the fit is part of what the file keeps:
    // the hull as it stood goes into the undo step of that change.
    Surface().OnInvalidate = [this](TNode*) {
        RecordFollowingChange();
        MarkChanged();
    };
}

void TGeoTarvoHull::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (!OnlyTarvoCurvesSelected(List)) return;
    if (Menu.Count() > 0) Menu.Add("-");
    Menu.Add(NewGMenuItem("Create TarvoHull", &List, [](TMenuItem& Sender) {
        if (TGeometryList* Document = GeometryListOf(Sender)) CreateFromSelection(*Document);
    }));
}

TGeoTarvoHull* TGeoTarvoHull::CreateFromSelection(TGeometryList& List) {
    auto Entity = std::make_unique<TGeoTarvoHull>();
    AddSelectedCurves(*Entity, List);
    Entity->SetDrawParameters(true);
    TGeoTarvoHull* Result = Entity.get();
    List.Add(std::move(Entity));
    Result->Redraw();
    List.InvalidateViews();
    return Result;
}

void TGeoTarvoHull::SetDrawBulb(bool Value) {
    if (Value == FDrawBulb) return;
    Undraw();
    FDrawBulb = Value;
    Redraw();
    UpdateFrame();
}

TNode* TGeoTarvoHull::FindNode(const std::string& Name) {
    TGeometryList* List = GetOwnerList();
    return List != nullptr ? NodeOf(List->FindByName(Name)) : nullptr;
}

void TGeoTarvoHull::SetParameter(int Index, double Value) {
    TFTParameters& P = Hull().Parameters();
    if (Index < 0 || Index >= P.Count() || P.Items(Index).GetValue() == Value) return;
    InFitChange([&] {
        Hull().Update();
        P.SetValueAt(Index, Value);
    });
    InvalidateViews();
}

void TGeoTarvoHull::InFitChange(const std::function<void()>& Body) {
    std::vector<TGeometry*> Curves;
    if (TGeometryList* List = GetOwnerList()) {
        const TTarvoReferenceCurves& References = Hull().ReferenceCurves();
        for (int I = 0; I < References.Count(); ++I)
            if (TGeometry* Curve = List->FindByName(References.Reference(I).GetName()); Curve != nullptr && Curve != this)
                Curves.push_back(Curve);
    }
    for (TGeometry* Curve : Curves) Curve->BeginChange();
    const auto EndCurves = [&] {
        for (auto It = Curves.rbegin(); It != Curves.rend(); ++It) (*It)->EndChange();
    };
    try {
        InRedrawnChange(*this, Body);
    } catch (...) {
        EndCurves();
        throw;
    }
    EndCurves();
}

void TGeoTarvoHull::SetApplyBulb(bool Value) {
    if (Value == Hull().ApplyBulb()) return;
    InRedrawnChange(*this, [&] { Hull().SetApplyBulb(Value); });
    InvalidateViews();
}

void TGeoTarvoHull::UpdateBulbSurface() {
    InRedrawnChange(*this, [&] { Hull().Invalidate(true); });
    InvalidateViews();
}

TDataObject TGeoTarvoHull::GetDataObject() { return TDataObject::Of(&Hull().Surface()); }

void TGeoTarvoHull::Assign(const TGeometry& Source) {
    TGeoSurface::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoTarvoHull*>(&Source);
    if (Other == nullptr || Other == this) return;
    FDrawBlends = Other->FDrawBlends;
    FDrawCurves = Other->FDrawCurves;
    FDrawBulb = Other->FDrawBulb;
    // The hull goes by its block, as the file keeps it: curves by name, parameters and bulb as they
    // stand, so that an undo snapshot gives back the fit that was there instead of fitting again.
    TTextWriter Block;
    Other->Hull().SaveToText(Block);
    TTextReader In(Block.Text());
    Hull().LoadFromText(In);
    StoreName(Hull().Name);
}

IGeometryFrame* TGeoTarvoHull::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(TarvoHullFrameName, *this, Owner)) return Frame;
    return TGeoTarvoSurface::CreateFrame(Owner);
}

void TGeoTarvoHull::DrawConstruction(IGraphics& View) {
    TGeoTarvoSurface::DrawConstruction(View);
    if (FDrawBulb && Hull().ApplyBulb()) Hull().Bulb().Surface().Draw(View);
}

void TGeoTarvoHull::AddConstructionMenuItems() {
    AddMenuItem("Show Curves", [this](TMenuItem&) { SetDrawCurves(!FDrawCurves); });
    AddMenuItem("Show Blends", [this](TMenuItem&) { SetDrawBlends(!FDrawBlends); });
    AddMenuItem("Show Bulb Surface", [this](TMenuItem&) { SetDrawBulb(!FDrawBulb); });
}

void TGeoTarvoHull::UpdateMenuItems(TMenuItem& Root) {
    TGeoTarvoSurface::UpdateMenuItems(Root);
    if (TMenuItem* Item = Root.Find("Show Curves")) Item->Checked = FDrawCurves;
    if (TMenuItem* Item = Root.Find("Show Bulb Surface")) {
        Item->Checked = FDrawBulb;
        Item->Enabled = Hull().ApplyBulb();
    }
}

std::vector<std::pair<const char*, bool>> TGeoTarvoHull::Switches() const {
    return {
        {"DrawBlends=", FDrawBlends},       {"DrawCurves=", FDrawCurves},           {"DrawBulb=", FDrawBulb},
        {"DrawOutline=", GetDrawOutline()}, {"DrawParameters=", GetDrawParameters()}, {"DrawContours=", DrawContours()},
        {"Mirrored=", Mirrored()},
    };
}

void TGeoTarvoHull::LoadSwitch(const std::string& Key, bool On) {
    if (Key == "DRAWBULB") FDrawBulb = On;
}

bool TGeoTarvoHull::ExecuteMacroCommand(TMacroFile& Macro) {
    const std::string Line = Trim(Macro.GetCurrentLine());
    const std::string Key = MacroCommandKey(Line);
    TFTParameters& P = Hull().Parameters();
    const int Index = P.IndexOf(Key);
    if (Key == "COLOR" || Key == "NAME") return TGeoTarvoSurface::ExecuteMacroCommand(Macro);
    // Left unhandled, the line would go on to become a variable of the macro, and a mistyped
    // parameter would pass unnoticed.
    if (Index < 0) Macro.Error(GetName() + " has no parameter " + Key);
    const std::size_t Equals = Line.find('=');
    const std::string Text = Equals == std::string::npos ? std::string() : Trim(Line.substr(Equals + 1));
    const double Value = GetOwnerList() != nullptr ? GetOwnerList()->EvaluateMacroNumber(Text, Macro) : ParseFloat(Text);
    // A hull not yet built would only store the value, and its next build would write over it. The
    // change is recorded like one made in the hull's frame, so that undo gives the hull back.
    InFitChange([&] {
        Hull().Update();
        P.SetValueAt(Index, Value);
    });
    // A fit leaves the hull valid: the entity learns of the new surface here.
    MarkChanged();
    return true;
}

}  // namespace sarnova
