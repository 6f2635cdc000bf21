// The yacht hull-lines entity.
#include "hulls/GCorvane.h"

#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GeometryList.h"
#include "foundation/Console.h"
#include "platform/Menu.h"
#include "platform/Screen.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

TGeoCorvane::TGeoCorvane() : TGeoHullLines(std::make_unique<TCorvane>()) {
    Generator().OnProgressText = [this](const std::string& Text) {
        // Drawing brings the form curves up to date; the view must not process events meanwhile.
        if (!FDrawing) ProgressText(Text);
    };
}

TGeoCorvane::~TGeoCorvane() = default;

void TGeoCorvane::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    TMenuItem& Item = Menu.Add(NewGMenuItem("Corvane Hull", &List, [](TMenuItem& Sender) {
        TGeometryList* Document = GeometryListOf(Sender);
        if (Document == nullptr) return;
        auto Hull = std::make_unique<TGeoCorvane>();
        Hull->Generator().UpdateAll();
        Document->Add(std::move(Hull));
        Document->RefreshViews();
    }));
    Item.ImageIndex = GetImageIndex();
}

TDataObject TGeoCorvane::GetDataObject() { return TDataObject::Of(&Generator()); }

void TGeoCorvane::DrawCurves(IGraphics& View) {
    Generator().SetMirrored(Mirrored());
    FDrawing = true;
    try {
        Generator().DrawFormCurves(View);
    } catch (...) {
        FDrawing = false;
        throw;
    }
    FDrawing = false;
}

void TGeoCorvane::DrawCurvesOutline(IGraphics& View) {
    Generator().SetMirrored(Mirrored());
    Generator().DrawFormCurvesOutline(View);
}

bool TGeoCorvane::AssignGenerator(const TGeoHullLines& Source) {
    const auto* Other = dynamic_cast<const TGeoCorvane*>(&Source);
    if (Other == nullptr) return false;
    Generator().Assign(Other->Generator());
    return true;
}

void TGeoCorvane::AddGeneratorMenuItems() {
    AddMenuItem("-", {});
    AddMenuItem("Import Parameters from Corvane Project...", [this](TMenuItem&) { ImportParameters(); });
}

void TGeoCorvane::ImportParameters() {
    IUserDialogs* Dialogs = GExceptionHandler ? GExceptionHandler->UserDialogs : nullptr;
    TOpenDialog Dialog;
    Dialog.Title = "Import Corvane Project File";
    Dialog.Filter = "Corvane Project (*.cvp)|*.cvp";
    Dialog.DefaultExt = "cvp";
    if (Dialogs != nullptr && Dialogs->ExecuteOpenDialog(Dialog)) ImportProjectFile(Dialog.FileName);
}

void TGeoCorvane::ImportProjectFile(const std::filesystem::path& FileName) {
    const THourGlassCursor Wait;
    BeginChange();
    // The change bracket closes on every path, a failed import included.
    try {
        Generator().ImportProject(FileName);
        if (InteractiveUpdate)
            Generate();
        else
            SetUngenerated();
    } catch (...) {
        EndChange();
        throw;
    }
    EndChange();
    if (TGeometryList* List = GetOwnerList()) List->RefreshViews();
}

void TGeoCorvane::ExplodeGenerationCurves() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr || !Generated()) return;
    TCorvane& G = Generator();
    G.UpdateAll();
    std::vector<std::unique_ptr<TGeometry>> Made;
    auto AddSpline = [&](const std::string& Curve, TFormCurve& Source) {
        auto E = std::make_unique<TGeoBSpline>();
        E->Spline().Assign(Source.Curve());
        E->SetName("Corvane." + Curve);
        Made.push_back(std::move(E));
    };
    AddSpline("Sheerline", G.SheerLine());
    AddSpline("Profile", G.Profile());
    AddSpline("Waterline", G.Waterline());
    AddSpline("DiagonalA", G.DiagonalA());
    AddSpline("DiagonalB", G.DiagonalB());
    AddSpline("DiagonalC", G.DiagonalC());
    AddSpline("Transom", G.Transom());
    for (int i = 0; i < TCorvane::SectionCount; ++i)
        AddSpline("Section(" + std::to_string(i) + ")", G.Section(i));

    InListUpdate(*List, [&] {
        for (auto& E : Made) List->Add(std::move(E));
        DeleteFromList();
    });
}

}  // namespace sarnova
