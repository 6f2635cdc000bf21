// The Tarvo surface's property frame: the definition curves it lists and offers, and its switches.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include <memory>
#include <string>
#include <vector>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "hulls/GTarvoCurve.h"
#include "hulls/ui/TarvoSurfaceFrame.h"

namespace sarnova {
namespace {

class TarvoSurfaceFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterTarvoSurfaceFrame();
    }
    void TearDown() override {
        if (Opened != nullptr) Opened->FreeFrame();
    }
    TGeoTarvoCurve* Section(const std::string& Name, double X) {
        auto T = std::make_unique<TGeoTarvoCurve>();
        for (int j = 0; j < 4; ++j) T->Curve().AddPointVector({X, 1, double(j)});
        T->SetName(Name);
        return static_cast<TGeoTarvoCurve*>(Doc.Add(std::move(T)));
    }
    TTarvoSurfaceFrame* Open(TGeometry& Entity) {
        Opened = &Entity;
        Doc.ApplyChanges();
        auto* Frame = dynamic_cast<TTarvoSurfaceFrame*>(Entity.CreateFrameFor(&Owner));
        EXPECT_NE(Frame, nullptr);
        return Frame;
    }
    static QStringList Lines(const QListWidget& L) {
        QStringList R;
        for (int i = 0; i < L.count(); ++i) R << L.item(i)->text();
        return R;
    }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeometry* Opened = nullptr;
};

TEST_F(TarvoSurfaceFrameTest, ListsAddsAndOffersCurves) {
    Section("A", 0);
    TGeoTarvoCurve* B = Section("B", 10);
    TGeoTarvoCurve* C = Section("C", 20);
    auto* S = static_cast<TGeoTarvoSurface*>(Doc.Add(std::make_unique<TGeoTarvoSurface>()));
    S->AddDefinitionCurve("A");
    TTarvoSurfaceFrame* F = Open(*S);
    ASSERT_NE(F, nullptr);
    EXPECT_EQ(Lines(*F->ListBox1), QStringList{"A"});

    // The drop-down offers only the curves not yet in the surface.
    F->FillPopup();
    QStringList Offered;
    for (QAction* A : F->PopupMenu1->actions()) Offered << A->text();
    EXPECT_EQ(Offered, (QStringList{"B", "C"}));
    F->PopupMenu1->actions().at(1)->trigger();
    EXPECT_EQ(Lines(*F->ListBox1), (QStringList{"A", "C"}));

    B->SetSelected(true);
    C->SetSelected(true);
    F->AddButton->click();
    EXPECT_EQ(Lines(*F->ListBox1), (QStringList{"A", "C", "B"}));

    F->ListBox1->setCurrentRow(0);
    F->DeleteEntities->click();
    EXPECT_EQ(Lines(*F->ListBox1), (QStringList{"C", "B"}));

    F->CheckBox5->setChecked(true);
    EXPECT_TRUE(S->GetDrawBlends());
    F->CheckBox1->setChecked(true);
    EXPECT_TRUE(S->GetDrawCurves());
    S->SetDrawBlends(false);
    EXPECT_FALSE(F->CheckBox5->isChecked());
}

}  // namespace
}  // namespace sarnova
