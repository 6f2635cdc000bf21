// Documents with damaged, degenerate or unusual blocks, and imports that once made unreadable files:
// each opens, its edits undo to the bytes it had and redo to the bytes they made, and what it saves
// opens again and saves the same bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "document/DocumentFixture.h"
#include "document/GeoFace.h"
#include "document/TestPoint.h"
#include "exchange/IoCSV.h"
#include "exchange/IoIges.h"
#include "exchange/IoProteus.h"
#include "foundation/Console.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

namespace fs = std::filesystem;

const fs::path Files = fs::path(SARNOVA_SOURCE_DIR) / "tests" / "document" / "files";
const fs::path Golden = fs::path(SARNOVA_SOURCE_DIR) / "tests" / "golden";

using TOpen = std::function<void(TGeometryInterface&, const fs::path&)>;

void Load(TGeometryInterface& Doc, const fs::path& Path) { Doc.LoadFromFile(Path); }

template <void (*Import)(const std::string&, TGeometryList&)>
void ImportInto(TGeometryInterface& Doc, const fs::path& Path) {
    Import(Path.string(), Doc);
}

class DocumentFilesRoundTrip : public TDocumentFixture {
protected:
    // "" when the texts are equal, else the first line where they differ, both ways.
    static std::string Difference(const std::string& A, const std::string& B) {
        if (A == B) return "";
        std::istringstream InA(A), InB(B);
        std::string LineA, LineB;
        for (int Line = 1;; ++Line) {
            const bool MoreA = static_cast<bool>(std::getline(InA, LineA));
            const bool MoreB = static_cast<bool>(std::getline(InB, LineB));
            if (!MoreA && !MoreB) return "differ in their last line end";
            if (!MoreA || !MoreB || LineA != LineB)
                return "line " + std::to_string(Line) + ": \"" + (MoreA ? LineA : "<end>") + "\" against \"" +
                       (MoreB ? LineB : "<end>") + "\"";
        }
    }
    static std::string ReadFile(const fs::path& Path) {
        std::ifstream In(Path, std::ios::binary);
        std::stringstream S;
        S << In.rdbuf();
        return S.str();
    }

    // A macro (lines joined by ';') or "POPUP <entity>:<item>". A failing edit stays as one step.
    void Apply(TGeometryInterface& Doc, const std::string& Edit) {
        try {
            if (Edit.rfind("POPUP ", 0) == 0) {
                TMenuItem* Item = PopupItem(Doc, Edit.substr(6));
                ASSERT_NE(Item, nullptr) << Edit;
                Item->Click();
                return;
            }
            RunMacro(Doc, Edit, true);
        } catch (const std::exception&) {
        }
    }

    // Opens File, makes the edits, undoes and redoes them all with byte compares, then saves and opens
    // the saved file again.
    void RoundTrip(const fs::path& File, const TOpen& Open, const std::vector<std::string>& Edits) {
        TGeometryInterface Doc;
        ASSERT_NO_THROW(Open(Doc, File));
        const std::string Original = Text(Doc);
        const int Before = Doc.GetUndoManager().GetUndoStack().Count();
        for (const std::string& Edit : Edits) Apply(Doc, Edit);
        const std::string Edited = Text(Doc);
        const int Steps = Doc.GetUndoManager().GetUndoStack().Count() - Before;
        for (int Step = 0; Step < Steps; ++Step) ASSERT_NO_THROW(Doc.Undo()) << "undo " << Step + 1;
        EXPECT_EQ(Difference(Text(Doc), Original), "") << "after undoing " << Steps << " steps";
        for (int Step = 0; Step < Steps; ++Step) ASSERT_NO_THROW(Doc.Redo()) << "redo " << Step + 1;
        EXPECT_EQ(Difference(Text(Doc), Edited), "") << "after redoing " << Steps << " steps";

        const fs::path Saved = Dir / "saved.geo";
        ASSERT_NO_THROW(Doc.SaveToFile(Saved));
        TGeometryInterface Again;
        ASSERT_NO_THROW(Again.LoadFromFile(Saved));
        ASSERT_NO_THROW(Again.SaveToFile(Dir / "again.geo"));
        EXPECT_EQ(Difference(ReadFile(Dir / "again.geo"), ReadFile(Saved)), "") << "the saved file reads back otherwise";
    }

};

TEST_F(DocumentFilesRoundTrip, OpenEditUndoRedoSaveAndOpenAgain) {
    const TOpen Geo = Load;
    const struct {
        const char* File;
        TOpen Open;
        std::vector<std::string> Edits;
    } Cases[] = {
        // Patches whose boundary curve goes and comes back.
        {"coons-boundaries.geo", Geo, {"DELETE Top"}},
        {"coons-boundaries.geo", Geo, {"SELECT NONE;SELECT TOP;DELETE SELECTED"}},
        {"coons-bicubic.geo", Geo, {"DELETE Bottom"}},
        {"n-sided-gregory.geo", Geo, {"DELETE Edge1"}},
        // Closed groups whose members fail to build, as read and as the program wrote them; a group
        // given back by undo holds its members in their order.
        {"closed-group-failing-members.geo", Geo, {}},
        {"closed-group-damaged-member.geo", Geo, {}},
        {"closed-group-as-saved.geo", Geo, {}},
        // Blocks that cannot be built, or counts that do not match, kept as they were read.
        {"tarvo-offset-missing.geo", Geo, {}},
        {"ruled-unmergeable-knots.geo", Geo, {}},
        {"extruded-divisions-huge.geo", Geo, {}},
        {"coons-numcurves-too-large.geo", Geo, {}},
        {"coincident-points.geo", Geo, {}},
        {"damaged-host.geo", Geo, {}},
        {"missing-host.geo", Geo, {}},
        // Groups of kinds this program does not know, with members and end lines.
        {"unknown-group.geo", Geo, {}},
        {"unknown-group-nested.geo", Geo, {}},
        // Names with control characters: imported, written by an older save, given by a macro.
        {"name-with-escape.dam", ImportInto<ImportProteusDam>, {}},
        {"name-with-escape-as-saved.geo", Geo, {}},
        {"", Geo, {"POLYLINE P1;0 0 0;1 1 0;END;P1.NAME=A\x1b" "B"}},
        // A Tarvo hull and surface with their display switches, on curves of an older format.
        {"tarvo-hull-with-old-curve.geo", Geo, {"TarvoHull1.D=9"}},
        // Imports whose entities once changed at the next load.
        {"plane-unnormalised.igs", ImportInto<ImportIGES>, {}},
        {"empty-group.dam", ImportInto<ImportProteusDam>, {}},
        {"degenerate.csv", ImportInto<ImportCSVPolylines>, {}},
    };
    const TOpen Nothing = [](TGeometryInterface&, const fs::path&) {};
    for (const auto& Case : Cases) {
        const fs::path File = *Case.File != 0 ? Files / Case.File : fs::path();
        const TOpen& Open = *Case.File != 0 ? Case.Open : Nothing;
        SCOPED_TRACE(*Case.File != 0 ? Case.File : Case.Edits.front().c_str());
        RoundTrip(File, Open, Case.Edits);
        // Everything goes and comes back, damaged blocks and group members included.
        RoundTrip(File, Open, {"DELETE ALL"});
    }
}

TEST_F(DocumentFilesRoundTrip, DamagedNetworkBlocks) {
    for (const auto& Entry : fs::directory_iterator(Files / "network-damaged")) {
        SCOPED_TRACE(Entry.path().filename().string());
        RoundTrip(Entry.path(), Load, {"DELETE ALL"});
    }
}

// The three golden hull documents in one: a Tarvo hull whose edits once left a number it could not
// write, and whose parameter set by macro (a fit that moves its curves) once had no undo.
TEST_F(DocumentFilesRoundTrip, TarvoHullEditsSaveAndOpenAgain) {
    std::string Net;
    for (const char* Case : {"xtsurface-hull", "tarvo-hull-fit", "compartments-wigley"})
        Net += ReadFile(Golden / Case / "expected.geo");
    const fs::path File = Dir / "net.geo";
    std::ofstream(File, std::ios::binary) << Net;
    RoundTrip(File, Load,
              {"TarvoHull1.D=9", "SternTangent.NAME=SternTR674", "DELETE SternTR674", "POPUP StemTangent:Control Points to Polyline",
               "SELECT NONE;SELECT Stern;ROTATE Z=90", "SELECT NONE;SELECT Midship;ROTATE Z=30", "DELETE ForeBoundary"});
}

}  // namespace
}  // namespace sarnova::test
