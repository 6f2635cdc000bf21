// Undo and redo on whole documents that hold every kind of entity: after any series of edits, undoing
// all of them gives back the saved text byte for byte, and redoing all gives back the edited text.
// SARNOVA_UNDO_EDITS sets the number of random edits a seed makes (40 by default, a few seconds);
// SARNOVA_UNDO_SEEDS sets the seeds: a count N runs seeds 1..N (5 by default), "A-B" runs seeds A..B;
// SARNOVA_UNDO_DOCUMENT runs them on another document.
// SARNOVA_UNDO_LOG prints each edit as "EDIT <edit>"; SARNOVA_UNDO_CASE names a file of such edits, one a
// line, that UndoRoundTrip.FromFile runs (to cut a failing run down to the edits that show the fault).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "document/DocumentFixture.h"
#include "document/GeoFace.h"
#include "document/TestPoint.h"
#include "foundation/Console.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

namespace fs = std::filesystem;

const fs::path EveryKind = fs::path(SARNOVA_SOURCE_DIR) / "tests" / "golden" / "every-kind-reopen" / "input.geo";
// A curve network with its surface, a fitted Tarvo hull, compartments, groups and an opening.
// Every kind of block the document list itself reads, contour settings among them.
const fs::path WholeDocument = fs::path(SARNOVA_SOURCE_DIR) / "tests" / "golden" / "whole-document" / "input.geo";
// Three Tarvo curves, each offset in X from the one before.
const fs::path OffsetChain = fs::path(SARNOVA_SOURCE_DIR) / "tests" / "document" / "files" / "offset-chain.geo";
const fs::path NetworkHull = fs::path(SARNOVA_SOURCE_DIR) / "tests" / "document" / "files" / "network-hull-compartments.geo";

// One user action: a macro (lines joined by ';'), or "POPUP <entity>:<item>".
using TEdit = std::string;

class UndoRoundTrip : public TDocumentFixture {
protected:
    // Runs the edit; false when it failed (what it did stays, as one undo step).
    bool Apply(TGeometryInterface& Doc, const TEdit& Edit) {
        try {
            if (Edit.rfind("POPUP ", 0) == 0) {
                TMenuItem* Item = PopupItem(Doc, Edit.substr(6));
                if (Item == nullptr || !Item->Enabled) return false;
                Item->Click();
                return true;
            }
            RunMacro(Doc, Edit, true);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

    // Loads File, makes edits with Next (the document, the edit number; "" when done) and applies them,
    // then undoes every step and redoes every step, comparing the saved texts.
    template <class F>
    void RoundTrip(const fs::path& File, F Next) {
        TGeometryInterface Doc;
        Doc.LoadFromFile(File);
        const std::string Original = Text(Doc);
        int Edits = 0;
        for (;; ++Edits) {
            const TEdit Edit = Next(Doc, Edits);
            if (Edit.empty()) break;
            if (std::getenv("SARNOVA_UNDO_LOG") != nullptr) std::fprintf(stderr, "EDIT %s\n", Edit.c_str());
            Apply(Doc, Edit);
            ASSERT_EQ(Doc.GetUndoManager().GetGroupDepth(), 0) << "a group stays open after " << Edit;
        }
        const std::string Edited = Text(Doc);
        int Steps = 0;
        while (Doc.CanUndo()) {
            // Each edit makes one step at most: more means an undo recorded a new action of its own.
            ASSERT_LT(Steps, Edits) << "undo keeps finding steps to take back";
            ASSERT_NO_THROW(Doc.Undo()) << "undo " << Steps + 1;
            ++Steps;
        }
        EXPECT_EQ(Text(Doc), Original) << "after undoing " << Steps << " steps";
        for (int Step = 0; Step < Steps; ++Step) ASSERT_NO_THROW(Doc.Redo()) << "redo " << Step + 1;
        EXPECT_FALSE(Doc.CanRedo());
        EXPECT_EQ(Text(Doc), Edited) << "after redoing " << Steps << " steps";
    }

};

// Edits whose undo and redo lost or corrupted entities before.
TEST_F(UndoRoundTrip, KnownCases) {
    const struct {
        const char* Name;
        std::vector<TEdit> Edits;
        fs::path Document = EveryKind;
    } Cases[] = {
        {"delete a Coons boundary", {"DELETE Top"}},
        {"delete an N-sided boundary", {"DELETE Edge3"}},
        {"delete the selected boundary", {"SELECT NONE;SELECT TOP;DELETE SELECTED"}},
        {"polyline from a boundary", {"POPUP Top:Control Points to Polyline"}},
        {"Tarvo curve from a boundary", {"POPUP Top:Convert Curve to TarvoCurve"}},
        {"renames", {"Stem.NAME=StemR", "Loft.NAME=LoftR", "XTCurve1.NAME=XTCurve1R", "NetSurface.NAME=NetR"}},
        {"delete a network surface", {"DELETE NetSurface"}},
        {"delete a Tarvo surface", {"DELETE Loft"}},
        {"delete everything", {"DELETE ALL"}},
        {"delete a curve of the hull", {"DELETE AftBoundary"}},
        {"delete a network boundary", {"DELETE NetBottom"}},
        {"delete an offset reference", {"DELETE Midship"}},
        {"delete the hull", {"DELETE TarvoHull1"}},
        {"delete an open group", {"DELETE Tanks"}},
        {"delete a group member", {"DELETE Store"}},
        {"open group members added and removed", {"Tanks.ADD Line Bow", "Engine.DELETE Store"}},
        {"rename the setup", {"Setup.NAME=Layout"}},
        // The renamed setup leaves at the next change of the list; undoing that change puts it back as it was.
        {"rename the setup, then a copy", {"Setup.NAME=Layout", "SELECT NONE;SELECT Line;MOVE X=1 COPY"}},
        {"a plane over a B-spline of two points", {"POPUP Line:Create a BSpline from Points",
                                                   "SELECT NONE;SELECT Roll;MIRROR XZ -3"}},
        {"move everything, then a polyline from a Tarvo curve",
         {"SELECT ALL;MOVE X=-1", "POPUP Stem:Control Points to Polyline"}},
        {"delete a bead's host", {"DELETE XTCurve2"}},
        {"scale a curve of the hull", {"SELECT NONE;SELECT AftBoundary;SCALE X=2 Y=1 Z=0.5"}},
        // A copy of a curve names the curve it offsets; it must follow that curve's later renames like
        // the original does.
        {"rename after a copy of an offset curve", {"SELECT NONE;SELECT Frame;ROTATE Z=-77.1 COPY", "Stem.NAME=StemR"}},
        // The bead on XTCurve2 stays at its place along the host through undo and redo.
        {"move a bead's host", {"SELECT NONE;SELECT XTCurve2;MOVE X=-1.8 Y=1.4"}},
        {"scale a bead's host", {"SELECT NONE;SELECT XTCurve2;SCALE X=2 Y=1 Z=0.5"}},
        // A rename changes no shape: the hull keeps its figures through the edit, its undo and redo.
        {"rename a curve of the hull", {"Midship.NAME=MidshipR"}},
        // Undo gives the copy its curves back while the curve Frame offsets is still deleted.
        {"delete the offset reference of a copied surface's curve",
         {"SELECT NONE;SELECT Loft;SCALE X=1 Y=1.2 Z=0.7 COPY", "DELETE Stem"}},
        // OldSheer's points stand as read, off its blend; the conversion applies the blend first.
        {"a polyline from a blended Tarvo curve", {"POPUP OldSheer:Control Points to Polyline"}},
        {"a B-spline from a blended Tarvo curve", {"POPUP OldSheer:Convert TarvoCurve to BSpline"}},
        // The opening that undo gives back follows the undo of its group's rename.
        {"rename a group, then delete an opening on it", {"Tanks.NAME=TanksR12", "DELETE Manhole"}},
        // C2 offsets C1, which offsets C0. After C0 is scaled, C1 stands off it until something evaluates
        // C1: neither undoing the move of C2 nor converting C2 may leave C1 moved after undo all.
        {"scale the start of an offset chain, then move its end",
         {"SELECT NONE;SELECT C0;SCALE X=1 Y=0.9 Z=1.4", "SELECT NONE;SELECT C2;MOVE X=0.3 Y=-1.2"}, OffsetChain},
        // Renamed, the contour settings leave the document; undo gives them back.
        {"rename the contour settings", {"Contours.NAME=ContoursR916"}, WholeDocument},
        {"scale the start of an offset chain, then convert its end",
         {"SELECT NONE;SELECT C0;SCALE X=1 Y=0.9 Z=1.4", "POPUP C2:Control Points to Polyline"}, OffsetChain},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        RoundTrip(Case.Document, [&](TGeometryInterface&, int I) {
            return I < static_cast<int>(Case.Edits.size()) ? Case.Edits[static_cast<std::size_t>(I)] : TEdit();
        });
    }
}

// Seeded random edits of the kinds a user makes.
class TEditMaker {
public:
    explicit TEditMaker(unsigned Seed) : Rng(Seed) {}

    TEdit Next(TGeometryInterface& Doc) {
        std::vector<std::string> Names;
        for (int I = 0; I < Doc.Count(); ++I)
            if (!Doc.Items(I).GetName().empty()) Names.push_back(Doc.Items(I).GetName());
        if (Names.empty()) return "SELECT NONE";
        const std::string Name = Names[Pick(Names.size())];
        const std::string Select = "SELECT NONE;SELECT " + Name + ";";
        const std::string Copy = Pick(2) == 0 ? " COPY" : "";
        switch (Pick(8)) {
            case 0:
                return Select + "MOVE X=" + Number(-2, 2) + " Y=" + Number(-2, 2) + Copy;
            case 1:
                return Select + "ROTATE Z=" + Number(-90, 90) + Copy;
            case 2:
                return Select + "SCALE X=1 Y=" + Number(0.5, 1.5) + " Z=" + Number(0.5, 1.5) + Copy;
            case 3:
                return Select + "MIRROR ZX " + Number(-1, 1) + Copy;
            case 4:
                return "DELETE " + Name;
            case 5:
                return Name + ".NAME=" + Name + "R" + std::to_string(Pick(1000));
            case 6:
                return Name + ".COLOR=" + std::to_string(Pick(0x1000000));
            default: {
                static const char* const Items[] = {"Show Outline",         "Show Parameters",
                                                    "Show Contours",        "Show Mesh",
                                                    "Mirrored",             "Control Points to Polyline",
                                                    "Fit a Cubic Spline",   "Create a BSpline from Points",
                                                    "Convert Curve to TarvoCurve"};
                return "POPUP " + Name + ":" + Items[Pick(std::size(Items))];
            }
        }
    }

private:
    std::size_t Pick(std::size_t Count) { return std::uniform_int_distribution<std::size_t>(0, Count - 1)(Rng); }
    std::string Number(double Low, double High) {
        const int Tenths = static_cast<int>(std::uniform_int_distribution<int>(static_cast<int>(Low * 10),
                                                                               static_cast<int>(High * 10))(Rng));
        return std::to_string(Tenths / 10) + "." + std::to_string(std::abs(Tenths % 10));
    }

    std::mt19937 Rng;
};

int EditCount() {
    const char* Value = std::getenv("SARNOVA_UNDO_EDITS");
    return Value != nullptr ? std::atoi(Value) : 40;
}

std::vector<unsigned> Seeds() {
    unsigned First = 1, Last = 5;
    if (const char* Value = std::getenv("SARNOVA_UNDO_SEEDS")) {
        const std::string Text = Value;
        const std::size_t Dash = Text.find('-');
        if (Dash == std::string::npos) {
            Last = static_cast<unsigned>(std::atoi(Value));
        } else {
            First = static_cast<unsigned>(std::atoi(Text.substr(0, Dash).c_str()));
            Last = static_cast<unsigned>(std::atoi(Text.substr(Dash + 1).c_str()));
        }
    }
    std::vector<unsigned> Result;
    for (unsigned Seed = First; Seed <= Last; ++Seed) Result.push_back(Seed);
    return Result;
}

fs::path Document() {
    const char* Value = std::getenv("SARNOVA_UNDO_DOCUMENT");
    return Value != nullptr ? fs::path(Value) : EveryKind;
}

TEST_F(UndoRoundTrip, RandomEdits) {
    const int Count = EditCount();
    for (unsigned Seed : Seeds()) {
        SCOPED_TRACE("seed " + std::to_string(Seed));
        TEditMaker Maker(Seed);
        RoundTrip(Document(), [&](TGeometryInterface& Doc, int I) { return I < Count ? Maker.Next(Doc) : TEdit(); });
    }
}

// Random runs that went wrong once, kept whatever the defaults above become.
TEST_F(UndoRoundTrip, KnownSeeds) {
    const struct {
        const char* Name;
        fs::path Document;
        unsigned Seed;
        int Edits;
    } Cases[] = {
        // An opening given back by undo, then the undo of its group's rename.
        {"opening restored before its group's rename is undone", NetworkHull, 2, 40},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TEditMaker Maker(Case.Seed);
        RoundTrip(Case.Document, [&](TGeometryInterface& Doc, int I) { return I < Case.Edits ? Maker.Next(Doc) : TEdit(); });
    }
}

TEST_F(UndoRoundTrip, FromFile) {
    const char* File = std::getenv("SARNOVA_UNDO_CASE");
    if (File == nullptr) GTEST_SKIP();
    std::vector<TEdit> Edits;
    std::ifstream In(File);
    for (std::string Line; std::getline(In, Line);)
        if (!Line.empty()) Edits.push_back(Line);
    RoundTrip(Document(), [&](TGeometryInterface&, int I) {
        return I < static_cast<int>(Edits.size()) ? Edits[static_cast<std::size_t>(I)] : TEdit();
    });
}

// A macro that fails half-way leaves what it did before the failure, as one step that one undo takes
// back whole.
TEST_F(UndoRoundTrip, AFailedMacroIsOneStep) {
    TGeometryInterface Doc;
    Doc.LoadFromFile(EveryKind);
    const std::string Original = Text(Doc);
    EXPECT_FALSE(Apply(Doc, "SELECT NONE;SELECT Line;MOVE X=1;DELETE Top;Stem.NAME=StemR;NOSUCHCOMMAND;MOVE X=2"));
    EXPECT_EQ(Doc.GetUndoManager().GetGroupDepth(), 0);
    ASSERT_NE(Text(Doc), Original);
    ASSERT_TRUE(Doc.CanUndo());
    Doc.Undo();
    EXPECT_EQ(Text(Doc), Original);
    EXPECT_FALSE(Doc.CanUndo());
}

// The display switches that the file keeps are changes of the document: each marks it modified and is
// one undo step.
TEST_F(UndoRoundTrip, DisplaySwitchesAreUndoableChanges) {
    TGeometryInterface Doc;
    Doc.LoadFromFile(EveryKind);
    const std::string Original = Text(Doc);
    int Switched = 0;
    for (int I = 0; I < Doc.Count(); ++I) {
        TGeometry& Entity = Doc.Items(I);
        for (const char* Caption : {"Show Outline", "Show Parameters", "Show Contours", "Show Mesh"}) {
            TMenuItem* Menu = Entity.PopupMenu();
            TMenuItem* Item = Menu != nullptr ? Menu->Find(Caption) : nullptr;
            if (Item == nullptr || !Item->Enabled) continue;
            SCOPED_TRACE(Entity.GetName() + ": " + Caption);
            Doc.SetModified(false);
            Item->Click();
            if (Text(Doc) == Original) continue;  // a switch the file does not keep
            ++Switched;
            EXPECT_TRUE(Doc.GetModified());
            ASSERT_TRUE(Doc.CanUndo());
            Doc.Undo();
            EXPECT_EQ(Text(Doc), Original);
        }
    }
    EXPECT_GT(Switched, 10);
}

}  // namespace
}  // namespace sarnova::test
