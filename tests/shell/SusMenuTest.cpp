#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPushButton>

#include <filesystem>

#include "document/GeoFace.h"
#include "exchange/IoSus.h"
#include "exchange/ui/SusPropForm.h"
#include "naval/GPList.h"
#include "shell/ControlsTestSupport.h"
#include "tests/shell/DocumentWindowFixture.h"

namespace sarnova {
namespace {

using SusMenu = test::TDocumentWindowFixture;

QAction* ItemOf(QMenu* Menu, const std::string& Caption) {
    for (QAction* A : Menu->actions())
        if (A->text().toStdString() == Caption) return A;
    return nullptr;
}

// File > Export shows the properties window; its frame writes nothing, Close writes the file, and
// File > Import reads it back.
TEST_F(SusMenu, ExportShowsThePropertiesWindowAndImportReadsTheFile) {
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    TGeometryInterface& Doc = W->GetDocument();
    auto Hull = std::make_unique<TGeoPList>();
    auto Section = std::make_unique<TPolyline>();
    Section->AddPoint(0, 0, 0);
    Section->AddPoint(0, 1, 1);
    Hull->Polylines().Add(std::move(Section));
    Hull->SetName("Hull");
    Doc.Add(std::move(Hull));
    RegisterSusPropForm();
    W->UpdateActions();
    QAction* Export = ItemOf(W->Export1, "Hull Definition SUS...");
    QAction* Import = ItemOf(W->Import1, "Hull Definition SUS...");
    ASSERT_NE(Export, nullptr);
    ASSERT_NE(Import, nullptr);
    EXPECT_TRUE(Export->isEnabled());
    EXPECT_TRUE(Import->isEnabled());

    const auto Path = Folder / "menu.sus";
    Dialogs.ChooseFile(Path.string());
    test::WhenModal([](QWidget* Dialog) { static_cast<TSusPropForm*>(Dialog)->reject(); });
    Export->trigger();
    EXPECT_FALSE(std::filesystem::exists(Path));

    Dialogs.ChooseFile(Path.string());
    test::WhenModal([](QWidget* Dialog) { static_cast<TSusPropForm*>(Dialog)->Button1->click(); });
    Export->trigger();
    GShowSusProperties = nullptr;
    ASSERT_TRUE(std::filesystem::exists(Path));
    const int Before = Doc.Count();
    Dialogs.ChooseFile(Path.string());
    Import->trigger();
    EXPECT_EQ(Doc.Count(), Before + 1);
}

}  // namespace
}  // namespace sarnova
