// An entity added under a name the document holds already is renamed by the Add itself: the Add is
// one undo step that records the creation under the new name and no change of an entity the document
// did not hold yet. Undo takes the entity out, redo brings it back under the name it got.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "document/DocumentFixture.h"
#include "document/GeoFace.h"
#include "document/TestPoint.h"
#include "foundation/Console.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"

namespace sarnova::test {
namespace {

namespace fs = std::filesystem;

const fs::path EveryKind = fs::path(SARNOVA_SOURCE_DIR) / "tests" / "golden" / "every-kind-reopen" / "input.geo";

class NameClashOnAdd : public TDocumentFixture {
public:

    static std::vector<std::string> UndoLines(TGeometryInterface& Doc) {
        std::vector<std::string> Lines;
        Doc.GetUndoManager().GetUndoStack().Dump(Lines);
        for (std::string& Line : Lines) Line.erase(0, Line.find_first_not_of(' '));
        return Lines;
    }

    static bool Has(const std::vector<std::string>& Lines, const std::string& Line) {
        return std::find(Lines.begin(), Lines.end(), Line) != Lines.end();
    }

};

TEST_F(NameClashOnAdd, EveryCallerAddsOneUndoableStepUnderTheNewName) {
    const struct {
        const char* Name;
        std::function<void(NameClashOnAdd&, TGeometryInterface&)> Act;
        // The entity as it was named and as the document named it.
        const char* Given;
        const char* Added;
    } Cases[] = {
        {"macro COPY",
         [](NameClashOnAdd& T, TGeometryInterface& Doc) { T.RunMacro(Doc, "SELECT NONE\nSELECT Keel\nMOVE X=1 COPY"); },
         "TGeoPline.Keel", "TGeoPline.Keel1"},
        {"macro OPENGROUP (attached to the document before it is added)",
         [](NameClashOnAdd& T, TGeometryInterface& Doc) { T.RunMacro(Doc, "OPENGROUP Tanks\nKeel\nSheer\nEND"); },
         "TGeoOpenGroup.Tanks", "TGeoOpenGroup.Tanks1"},
        {"macro CLOSEDGROUP",
         [](NameClashOnAdd& T, TGeometryInterface& Doc) { T.RunMacro(Doc, "CLOSEDGROUP Forward\nKeel\nEND"); },
         "TGeoClosedGroup.Forward", "TGeoClosedGroup.Forward1"},
        {"macro IMPORT of a document holding the same names",
         [](NameClashOnAdd& T, TGeometryInterface& Doc) {
             const fs::path Path = T.Dir / "clash.geo";
             std::ofstream(Path, std::ios::binary)
                 << "[TPolyline]\nNumPoints=2\n 0 0 0\n 1 1 1\nName=Keel\n\n"
                    "[TOpenGroup]\nName=Tanks\nNumParameters=0\nNumObjects=1\nKeel\n";
             T.RunMacro(Doc, "IMPORT " + Path.string());
         },
         "TGeoOpenGroup.Tanks", "TGeoOpenGroup.Tanks1"},
        // Every name clashes; the redo re-creates dozens of entities, at addresses the undo freed.
        {"macro IMPORT of the document into itself",
         [](NameClashOnAdd& T, TGeometryInterface& Doc) {
             const fs::path Path = T.Dir / "itself.geo";
             fs::copy_file(EveryKind, Path);
             T.RunMacro(Doc, "IMPORT " + Path.string());
         },
         "TGeoOpenGroup.Tanks", "TGeoOpenGroup.Tanks1"},
        {"paste from the clipboard",
         [](NameClashOnAdd&, TGeometryInterface& Doc) {
             TGeometryList Clipboard;
             Doc.SelectOnly(Doc.FindByName("Keel"));
             Clipboard.TransferFrom(Doc, tmCopySelected, true);
             Clipboard.SelectAll();
             Doc.TransferFrom(Clipboard, tmMoveSelected, false);
         },
         "TGeoPline.Keel", "TGeoPline.Keel1"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TGeometryInterface Doc;
        Doc.LoadFromFile(EveryKind);
        const std::string Original = Text(Doc);
        Doc.GetUndoManager().Clear();
        Case.Act(*this, Doc);
        const std::string Edited = Text(Doc);
        ASSERT_NE(Edited, Original);
        const std::vector<std::string> Lines = UndoLines(Doc);
        EXPECT_TRUE(Has(Lines, std::string("Create ") + Case.Added)) << ::testing::PrintToString(Lines);
        EXPECT_FALSE(Has(Lines, std::string("Change ") + Case.Given)) << "a change recorded for the entity being added";
        while (Doc.CanUndo()) ASSERT_NO_THROW(Doc.Undo());
        EXPECT_TRUE(Text(Doc) == Original) << "undo did not give back the document";
        while (Doc.CanRedo()) ASSERT_NO_THROW(Doc.Redo());
        EXPECT_TRUE(Text(Doc) == Edited) << "redo did not give back the edit";
        ASSERT_NO_THROW(Doc.Undo());
        EXPECT_TRUE(Text(Doc) == Original) << "undo did not give back the document";
    }
}

// A caller may attach the entity to the list before adding it; the rename of a clashing name must not
// reach the list as a change of an entity it does not hold.
TEST_F(NameClashOnAdd, TheRenameIsNoChangeTheListHears) {
    TRecordingList List;
    List.AddPoint("P");
    List.Snapshots.clear();
    List.Messages.clear();
    auto Entity = std::make_unique<TTestPoint>("p", 1, 0, 0);
    Entity->SetOwnerList(&List);
    TGeometry* Added = List.Add(std::move(Entity));
    EXPECT_EQ(Added->GetName(), "p1");
    EXPECT_EQ(Added->GetOwnerList(), &List);
    EXPECT_TRUE(List.Snapshots.empty());
    for (std::size_t I = 0; I < List.Messages.size(); ++I)
        EXPECT_FALSE(List.Messages[I] == "TGeoGeometryChange" && List.Senders[I] == Added) << "a change broadcast";
}

}  // namespace
}  // namespace sarnova::test
