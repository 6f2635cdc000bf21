// The error of a macro run as the macro editor lists it: in the user's words, at the macro line it
// stopped on. The program's own wording ("TRectangleExtents.CheckValidity - ...") names a class and a
// routine that mean nothing to a user; it is kept for the log.
#pragma once
#include <optional>
#include <string>

namespace sarnova {

// Where a macro message points: "Error: /macros/hull.cmd(12): Command not found FOO" names the file
// "/macros/hull.cmd" and line 12. Nothing for a line without a parenthesised number before "):".
struct TMessageLocation {
    std::string FileName;
    int Line = 0;
};
bool ParseMessageLocation(const std::string& Message, TMessageLocation& Location);

// Text without a leading "TClass.Routine - " (a class name, "T" and a capital, one or more ".Member"
// parts, then " - ");
// any other text as it stands.
std::string WithoutRoutineName(const std::string& Text);

// A macro error that names its macro line ("Error: <file>(<line>): ...") and a routine of the program:
// the same error in the user's words; nothing for any other text, which is fine as it stands.
std::optional<std::string> LocatedMacroErrorForUser(const std::string& What);

// The listed error of a run that failed with What while the macro FileName was at Line (0: no line):
// an error that already names its macro line keeps it, any other is given Line; either way the text
// loses its routine name. "Error: <file>(<line>): <text>", or "Error: <text>" without a line.
std::string MacroErrorForUser(const std::string& What, const std::string& FileName, int Line);

}  // namespace sarnova
