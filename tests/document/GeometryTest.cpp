#include "document/Geometry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TestPoint.h"
#include "foundation/Errors.h"
#include "platform/Menu.h"
#include "platform/RecordingGraphics.h"

namespace sarnova::test {
namespace {

class GeometryTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    TRecordingList List;
};

// Records what an entity tells its observers; may unregister itself when told the entity is freed.
class TRecordingObserver : public TGeometryObserver {
public:
    TRecordingObserver(TGeometry& ATarget, std::vector<std::string>& ALog, std::string AName)
        : Target(&ATarget), Log(ALog), Name(std::move(AName)) {
        Target->AddObserver(this);
    }
    ~TRecordingObserver() override {
        if (Target) Target->RemoveObserver(this);
    }
    void DoChanging() override { Log.push_back(Name + " changing"); }
    void Modified() override { Log.push_back(Name + " modified"); }
    void DoChanged() override { Log.push_back(Name + " changed"); }
    void TargetDestroyed() override {
        Log.push_back(Name + " destroyed");
        Target->RemoveObserver(this);
        Target = nullptr;
    }

    TGeometry* Target;
    std::vector<std::string>& Log;
    std::string Name;
};

TEST(GeometryClassTest, DescriptionsComeFromTheKeyword) {
    const std::pair<const char*, const char*> Cases[] = {
        {"TBSplineSurface", "BSpline Surface"}, {"TN-SidedPatch", "N-Sided Patch"}, {"TPolyline", "Polyline"},
        {" Unknown Data", "Unknown Data"},      {"T", "T"},                         {"", ""},
        {"TXTCurve", "XTCurve"}};
    for (auto [Keyword, Description] : Cases) EXPECT_EQ(DescriptionFromKeyword(Keyword), Description) << Keyword;
    EXPECT_EQ(GeometryClassOf<TTestPoint>().GetDescription(), "Test Point");
    EXPECT_EQ(GeometryClassOf<TTestPoint>().ClassName(), "TTestPoint");
    EXPECT_EQ(GeometryClassOf<TTestPoint>().GetMenuOrder(), 100);
    EXPECT_EQ(GeometryClassOf<TTestPoint>().GetImageIndex(), 40);
}

TEST(GeometryClassTest, TheRegistryClonesOnlyUndoableRegisteredEntities) {
    RegisterTestClasses();
    TTestPoint Source("P", 1, 2, 3);
    Source.SetColor(clRed);
    Source.SetSelected(true);
    auto Copy = Source.Clone();
    ASSERT_NE(Copy, nullptr);
    auto& P = dynamic_cast<TTestPoint&>(*Copy);
    EXPECT_EQ(P.GetName(), "P");
    EXPECT_EQ(P.GetColor(), clRed);
    EXPECT_TRUE(P.GetSelected());
    EXPECT_EQ(P.Point.Z, 3);
    EXPECT_EQ(P.GetOwnerList(), nullptr);
    EXPECT_TRUE(P.IsChangePending());
    EXPECT_EQ(TPlainEntity().Clone(), nullptr);
}

TEST(GeometryClassTest, TheTestEntityWritesAndReadsItsBlock) {
    TTestPoint Source("P", 1.5, -2, 3);
    TTextWriter Out;
    Source.SaveToText(Out);
    EXPECT_EQ(Out.Text(), "[TTestPoint]\n1.5 -2 3\n\n");
    TTextReader In(Out.Text());
    In.SkipLine();
    TTestPoint Read;
    Read.LoadFromText(In);
    EXPECT_EQ(Read.Point.Vector(), Source.Point.Vector());
}

TEST_F(GeometryTest, ANewEntityHasTheDefaultState) {
    TGeometry G;
    EXPECT_EQ(G.GetCapabilities(), 0x400C);
    EXPECT_EQ(G.GetState(), 0);
    EXPECT_EQ(G.GetDisplayState(), dsNormal);
    EXPECT_EQ(G.GetColor(), CurrentSettings().DrawColor);
    EXPECT_TRUE(G.IsChangePending());
    EXPECT_EQ(G.GetName(), "");
    EXPECT_EQ(G.GetExtents(), EmptyBox);
    EXPECT_THROW(
        {
            try {
                G.Expression("X");
            } catch (const EError& E) {
                EXPECT_STREQ(E.what(), "Entry into TGeometry.Expression, This should not happen");
                throw;
            }
        },
        EError);
}

TEST_F(GeometryTest, EditorFlagsFollowCapabilitiesAndPickModes) {
    struct TCase {
        std::uint16_t Capabilities;
        std::uint16_t State;
        std::uint8_t Flags;
    };
    const TCase Cases[] = {
        {0, 0, 0},
        {cpClickPick, 0, 1},
        {cpRectPick | cpPointEditing, 0, 3},
        {cpAllMouseMoves, 0, 4},
        {cpInsertKnotKey, 0, 8},
        {cpClickPick | cpKeys, gsInsertPoint, 12},
        {cpPointEditing, gsInsertKnot, 6},
    };
    for (const auto& Case : Cases) {
        TGeometry G;
        G.SetCapabilities(Case.Capabilities);
        G.SetState(Case.State);
        EXPECT_EQ(G.GetEditorFlags(), Case.Flags) << Case.Capabilities << " " << Case.State;
    }
}

TEST_F(GeometryTest, AChangeOutsideABracketIsAppliedAtOnce) {
    auto* P = List.AddPoint("P", 1);
    List.ApplyChanges();
    std::vector<std::string> Log;
    TRecordingObserver Watcher(*P, Log, "w");
    List.Messages.clear();
    const int Before = P->Recalculations;
    P->MoveTo(4, 0, 0);
    EXPECT_EQ(P->Recalculations, Before + 1);
    EXPECT_FALSE(P->IsChangePending());
    EXPECT_DOUBLE_EQ(P->GetExtents().Max.X, 4.5);
    EXPECT_EQ(List.Messages, std::vector<std::string>{"TGeoGeometryChange"});
    EXPECT_EQ(List.Senders.back(), P);
    EXPECT_EQ(List.Snapshots.back(), P);  // undoable: the list was asked for a snapshot first
    EXPECT_EQ(Log, (std::vector<std::string>{"w changing", "w modified", "w changed"}));
}

TEST_F(GeometryTest, ADragKeepsTheChangePendingUntilItEnds) {
    auto* P = List.AddPoint("P", 1);
    List.ApplyChanges();
    P->SetState(P->GetState() | gsDragging);
    P->MoveTo(2, 0, 0);
    EXPECT_TRUE(P->IsChangePending());
    P->SetState(P->GetState() & ~gsDragging);
    P->ApplyChange();
    EXPECT_FALSE(P->IsChangePending());
    EXPECT_DOUBLE_EQ(P->GetExtents().Min.X, 1.5);
}

TEST_F(GeometryTest, AChangeWithoutAListStaysPending) {
    TTestPoint P("P", 1);
    P.Recalculations = 0;
    P.MoveTo(2, 0, 0);
    EXPECT_TRUE(P.IsChangePending());
    EXPECT_EQ(P.Recalculations, 0);
}

TEST_F(GeometryTest, RenamingComparesExactlyAndNotifies) {
    auto* P = List.AddPoint("Hull", 1);
    List.Messages.clear();
    P->SetName("Hull");
    EXPECT_TRUE(List.Messages.empty());
    P->SetName("HULL");
    EXPECT_EQ(P->GetName(), "HULL");
    EXPECT_EQ(List.Messages, (std::vector<std::string>{"TGeoSelectionChange", "TGeoGeometryChange"}));
    EXPECT_FALSE(P->IsChangePending());  // renaming marks no change
    List.Messages.clear();
    List.BeginUpdate(0);
    P->SetName("Deck");
    List.EndUpdate();
    EXPECT_EQ(List.Messages, std::vector<std::string>{"TGeoSelectionChange"});
}

TEST_F(GeometryTest, HiddenEntitiesCannotBeSelected) {
    auto* P = List.AddPoint("P", 1);
    P->SetSelected(true);
    P->SetDisplayState(dsHidden);
    EXPECT_FALSE(P->GetSelected());
    EXPECT_EQ(List.SelectedCount(), 0);
    P->SetSelected(true);
    EXPECT_FALSE(P->GetSelected());
    EXPECT_FALSE(P->CanPick(0));
}

TEST_F(GeometryTest, TheRenderedStateNeedsItsCapability) {
    TGeometry G;
    G.SetDisplayState(dsRendered);
    EXPECT_EQ(G.GetDisplayState(), dsNormal);
    auto* P = List.AddPoint("P", 1);
    P->SetDisplayState(dsRendered);
    EXPECT_EQ(P->GetDisplayState(), dsRendered);
    P->SetDisplayState(dsBox);
    EXPECT_EQ(P->GetDisplayState(), dsBox);
}

TEST_F(GeometryTest, ARenderedSelectedEntityDrawsItsMarkerBeforeItsImage) {
    auto* P = List.AddPoint("P", 1);
    P->SetColor(clRed);
    P->SetDisplayState(dsRendered);
    ASSERT_NE(P->Renderer(), nullptr);
    P->SetSelected(true);
    TRecordingGraphics View;
    P->DrawEntity(View);
    const auto Names = View.Names();
    const auto Render = std::find(Names.begin(), Names.end(), "RenderObject");
    ASSERT_NE(Render, Names.end());
    EXPECT_EQ(std::count(Names.begin(), Render, "LineVectors"), 24);
    EXPECT_EQ(P->Renderer()->Diffuse, clRed);
    EXPECT_EQ(P->Renderer()->Specular, clWhite);
    EXPECT_EQ(P->Renderer()->Shininess, 110);
    P->SetMirrored(true);
    P->ApplyChange();
    EXPECT_TRUE(P->Renderer()->Mirrored);
    EXPECT_EQ(P->Renderer()->Rebuilds, 1);
    P->SetDisplayState(dsNormal);
    EXPECT_EQ(P->GetRenderer(), nullptr);
}

TEST_F(GeometryTest, EntitiesOnTheClipboardAreNeitherValidatedNorMeasured) {
    TRecordingList Clipboard;
    GClipboard = &Clipboard;
    auto* P = Clipboard.AddPoint("P", 1);
    P->Size = 0;
    Clipboard.ApplyChanges();
    Clipboard.SetChanged();
    Clipboard.NotifyChange();
    EXPECT_EQ(Clipboard.Count(), 1);
    EXPECT_EQ(P->GetExtents(), EmptyBox);
    GClipboard = nullptr;
}

TEST_F(GeometryTest, ObserversHearTheEntityBeingFreedAndMayLeave) {
    auto* P = List.AddPoint("P", 1);
    std::vector<std::string> Log;
    TRecordingObserver First(*P, Log, "first");
    TRecordingObserver Second(*P, Log, "second");
    List.DeleteGeometry(P);
    EXPECT_EQ(Log, (std::vector<std::string>{"second destroyed", "first destroyed"}));
    EXPECT_EQ(First.Target, nullptr);
}

TEST_F(GeometryTest, MessagesOfAnEntityWithoutAListGoNowhere) {
    static int Freed = 0;
    struct TCounted : TGeoMessage {
        ~TCounted() override { ++Freed; }
    };
    TTestPoint Loose;
    Loose.SendMessage(std::make_unique<TCounted>());
    EXPECT_EQ(Freed, 1);
    List.SendMessage(std::make_unique<TCounted>());  // an empty list still frees it
    EXPECT_EQ(Freed, 2);
}

TEST_F(GeometryTest, ThePopupMenuHasTheStandardItems) {
    auto* P = List.AddPoint("P", 1);
    TMenuItem* Root = P->PopupMenu();
    ASSERT_NE(Root, nullptr);
    EXPECT_EQ(Root->Caption, "Test Point");
    ASSERT_EQ(Root->Count(), 2);
    EXPECT_EQ(Root->Items(0).Caption, "Edit");
    EXPECT_TRUE(Root->Items(0).Default);
    Root->Items(0).Click();
    EXPECT_TRUE(P->Editing());
    EXPECT_EQ(Root->Items(0).Caption, "Finish Editing");
    List.Messages.clear();
    Root->Items(1).Click();
    EXPECT_EQ(List.Messages, std::vector<std::string>{"TGeoShowAttributesPanel"});
    P->PopupMenu()->Items(0).Click();
    EXPECT_FALSE(P->Editing());
    EXPECT_EQ(P->GetPopupRoot()->Items(0).Caption, "Edit");

    auto* Plain = List.Add(std::make_unique<TPlainEntity>());
    EXPECT_EQ(Plain->AddSubMenuItem("Sub", {}), nullptr);
    ASSERT_NE(Plain->PopupMenu(), nullptr);
    EXPECT_EQ(Plain->GetPopupRoot()->Items(0).Caption, "Show Attributes...");
    EXPECT_TRUE(Plain->GetPopupRoot()->Items(0).Default);
    Plain->SetSelected(true);
    Plain->SetSelected(false);  // deselecting frees the menu
    EXPECT_EQ(Plain->GetPopupRoot(), nullptr);
}

TEST_F(GeometryTest, EntityCommandsSetColourAndName) {
    auto* P = List.AddPoint("Stem", 1);
    TMacroFile Color = MacroAt("color.cmd", "Stem.Color = red");
    EXPECT_TRUE(P->ExecuteMacroCommand(Color));
    EXPECT_EQ(P->GetColor(), clRed);
    TMacroFile Name = MacroAt("name.cmd", "Stem.Name = Bow");
    P->ExecuteMacroCommand(Name);
    EXPECT_EQ(P->GetName(), "Bow");
    // The key between "." and "=" decides, not a keyword somewhere in the value.
    TMacroFile Key = MacroAt("key.cmd", "Bow.Name = ColorStripe");
    P->ExecuteMacroCommand(Key);
    EXPECT_EQ(P->GetName(), "ColorStripe");
    P->SetName("Bow");

    const std::pair<const char*, const char*> Errors[] = {
        {"Bow.Color = Mauve", "Mauve is not a valid color description does not have any associated funtions"},
        {"Bow.Size = 3", "Test Point (Bow) does not have any associated funtions"}};
    for (auto [Line, Text] : Errors) {
        TMacroFile Macro = MacroAt("errors.cmd", Line);
        try {
            P->ExecuteMacroCommand(Macro);
            ADD_FAILURE() << "no error for " << Line;
        } catch (const EError& E) {
            EXPECT_NE(std::string(E.what()).find(Text), std::string::npos) << E.what();
        }
    }
}

TEST_F(GeometryTest, DrawingFollowsTheDisplayStateAndTheEditedEntity) {
    auto* A = List.AddPoint("A", 1);
    auto* B = List.AddPoint("B", 2);
    A->SetColor(clRed);
    B->SetColor(clBlue);
    EXPECT_EQ(A->Colors().DrawColor(), clRed);
    List.SetEditedGeometry(A);
    EXPECT_EQ(A->Colors().DrawColor(), clRed);
    EXPECT_EQ(B->Colors().DrawColor(), CurrentSettings().NonEditColor);
    List.SetEditedGeometry(nullptr);
    EXPECT_EQ(A->Colors().DrawColor(), CurrentSettings().SelectColor);

    TRecordingGraphics View;
    auto Lines = [&] {
        const auto Names = View.Names();
        return std::count(Names.begin(), Names.end(), "Line");
    };
    B->SetDisplayState(dsBox);
    B->DrawEntity(View);
    EXPECT_EQ(Lines(), 12);
    B->SetDisplayState(dsHidden);
    View.Calls.clear();
    B->DrawEntity(View);
    B->DrawPreview(View);
    EXPECT_EQ(Lines(), 0);
    EXPECT_EQ(B->DistanceToPoint({0, 0}, View), 1e33);
    EXPECT_FALSE(B->InRect({-1000, -1000, 1000, 1000}, View));
}

}  // namespace
}  // namespace sarnova::test
