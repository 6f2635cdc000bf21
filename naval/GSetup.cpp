#include "naval/GSetup.h"

#include "foundation/TextUtils.h"
#include "foundation/TextFile.h"

namespace sarnova {

TGeoSetup::TGeoSetup() {
    // Undoable, so that a rename (which makes it leave the document) and its layout can be taken back.
    SetCapabilities(GetCapabilities() | cpUndoable);
    SetName("Setup");
    SetDisplayState(dsHidden);
}

void TGeoSetup::SetViewLayout(const std::string& Value) {
    const std::string Text = Value.substr(0, MaxSetupLayoutLength);
    if (Text == ViewLayout) return;
    BeginChange();
    ViewLayout = Text;
    EndChange();
}

void TGeoSetup::SetSelected(bool) { TGeometry::SetSelected(false); }

void TGeoSetup::SetDisplayState(std::uint8_t) { TGeometry::SetDisplayState(dsHidden); }

void TGeoSetup::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoSetup*>(&Source)) ViewLayout = Other->ViewLayout;
}

bool TGeoSetup::Obsolete() const { return Trim(ViewLayout).empty() || GetName() != "Setup"; }

void TGeoSetup::AfterListChange() {
    if (GetOwnerList() != nullptr && Obsolete()) DeleteFromList();
}

void TGeoSetup::SaveToText(TTextWriter& Out) {
    if (Obsolete()) return;
    Out.WriteLine("[" + GetKeyword() + "]");
    Out.WriteLine("Setup=" + ViewLayout);
    Out.WriteLine("");
}

void TGeoSetup::LoadFromText(TTextReader& In) {
    const std::string Line = In.ReadLine();
    const std::size_t Equals = Line.find('=');
    ViewLayout = (Equals == std::string::npos ? Line : Line.substr(Equals + 1)).substr(0, MaxSetupLayoutLength);
}

}  // namespace sarnova
