#include "document/MacroErrorText.h"

#include <cctype>

#include "foundation/NumberText.h"
#include "foundation/TextUtils.h"

namespace sarnova {

namespace {

bool IsNameCharacter(char C) { return std::isalnum(static_cast<unsigned char>(C)) || C == '_'; }

}  // namespace

bool ParseMessageLocation(const std::string& Message, TMessageLocation& Location) {
    // The kind word ("Error", "Message" ...) ends at the first colon.
    const std::size_t Colon = Message.find(':');
    const std::string Rest = Trim(Colon == std::string::npos ? Message : Message.substr(Colon + 1));
    const std::size_t Close = Rest.find("):");
    if (Close == std::string::npos) return false;
    const std::size_t Open = Rest.rfind('(', Close);
    if (Open == std::string::npos) return false;
    int Line = 0;
    if (!TryStrToInt(Rest.substr(Open + 1, Close - Open - 1), Line)) return false;
    Location.FileName = Rest.substr(0, Open);
    Location.Line = Line;
    return true;
}

std::string WithoutRoutineName(const std::string& Text) {
    // A class name ("T" and a capital), then at least one ".Name", then " - ".
    if (Text.size() < 2 || Text[0] != 'T' || !std::isupper(static_cast<unsigned char>(Text[1]))) return Text;
    std::size_t At = 1;
    int Members = 0;
    while (true) {
        while (At < Text.size() && IsNameCharacter(Text[At])) ++At;
        if (At + 1 < Text.size() && Text[At] == '.' && IsNameCharacter(Text[At + 1])) {
            ++At;
            ++Members;
            continue;
        }
        break;
    }
    if (Members == 0 || Text.compare(At, 3, " - ") != 0 || At + 3 >= Text.size()) return Text;
    return Text.substr(At + 3);
}

std::optional<std::string> LocatedMacroErrorForUser(const std::string& What) {
    TMessageLocation Location;
    if (What.rfind("Error:", 0) != 0 || !ParseMessageLocation(What, Location)) return std::nullopt;
    const std::string Prefix = "Error: " + Location.FileName + "(" + std::to_string(Location.Line) + "): ";
    if (What.rfind(Prefix, 0) != 0) return std::nullopt;
    std::string Shown = Prefix + WithoutRoutineName(What.substr(Prefix.size()));
    if (Shown == What) return std::nullopt;
    return Shown;
}

std::string MacroErrorForUser(const std::string& What, const std::string& FileName, int Line) {
    TMessageLocation Location;
    if (What.rfind("Error:", 0) == 0 && ParseMessageLocation(What, Location))
        return LocatedMacroErrorForUser(What).value_or(What);
    const std::string Text = WithoutRoutineName(What);
    if (FileName.empty() || Line <= 0) return "Error: " + Text;
    return "Error: " + FileName + "(" + std::to_string(Line) + "): " + Text;
}

}  // namespace sarnova
