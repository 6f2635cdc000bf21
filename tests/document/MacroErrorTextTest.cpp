#include "document/MacroErrorText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

namespace sarnova {
namespace {

TEST(ParseMessageLocation, FindsTheFileAndTheLine) {
    const struct {
        const char* Message;
        bool Found;
        const char* File;
        int Line;
    } Cases[] = {
        {"Error: /m/hull.cmd(12): Command not found FOO", true, "/m/hull.cmd", 12},
        {"Message: /m/a (copy).cmd(3): done", true, "/m/a (copy).cmd", 3},
        {"Warning: /m/x.cmd(7): value (2): too big", true, "/m/x.cmd", 7},
        {"Error: /m/x.cmd(seven): no number", false, "", 0},
        {"Error: Cannot open file \"/m/x.cmd\". No such file", false, "", 0},
        {"x.cmd(4) and no colon", false, "", 0},
        {"", false, "", 0},
    };
    for (const auto& C : Cases) {
        TMessageLocation Location;
        EXPECT_EQ(ParseMessageLocation(C.Message, Location), C.Found) << C.Message;
        if (!C.Found) continue;
        EXPECT_EQ(Location.FileName, C.File) << C.Message;
        EXPECT_EQ(Location.Line, C.Line) << C.Message;
    }
}

TEST(MacroErrorText, TheRoutineNameGoesAndTheLineIsKeptOrGiven) {
    const std::tuple<std::string, int, std::string> Cases[] = {
        {"Error: m.cmd(2): TRectangleExtents.CheckValidity - Two zero extents", 0, "Error: m.cmd(2): Two zero extents"},
        {"Error: m.cmd(5): Command not found FOO", 9, "Error: m.cmd(5): Command not found FOO"},
        {"TBSpline.SubCurve - UpperT is less than LowerT", 7, "Error: m.cmd(7): UpperT is less than LowerT"},
        {"TGeoBox.Create.Check - Bad", 0, "Error: Bad"},
        // Not a routine name: kept as it stands.
        {"Error in field Polyline.NumPoints", 3, "Error: m.cmd(3): Error in field Polyline.NumPoints"},
        {"TFoo - no member", 1, "Error: m.cmd(1): TFoo - no member"},
        {"Tank.Volume - a sentence about a tank", 1, "Error: m.cmd(1): Tank.Volume - a sentence about a tank"},
        {"TBar.Baz - ", 1, "Error: m.cmd(1): TBar.Baz - "},
    };
    for (const auto& [What, Line, Shown] : Cases) EXPECT_EQ(MacroErrorForUser(What, "m.cmd", Line), Shown) << What;

    // From a menu only a macro error with its line is rephrased; anything else is shown as it is.
    EXPECT_EQ(LocatedMacroErrorForUser("Error: m.cmd(2): TRectangleExtents.CheckValidity - Two zero extents"),
              "Error: m.cmd(2): Two zero extents");
    for (const char* Other : {"Error: m.cmd(5): Command not found FOO", "TBSpline.SubCurve - UpperT is less than LowerT",
                              "Error: Cannot open file \"x.cmd\""})
        EXPECT_EQ(LocatedMacroErrorForUser(Other), std::nullopt) << Other;
}

}  // namespace
}  // namespace sarnova
