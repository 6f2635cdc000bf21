// The macro files of the program's "Macros" folder as entries of a document window's menu: each item
// runs its file on the window's document. The interpreter itself belongs to the document object
// (TGeometryInterface::RunMacro, document/GeoFaceMacro.cpp).
#pragma once
#include <filesystem>
#include <string>

#include "platform/Menu.h"

namespace sarnova {

class TGeometryInterface;

// Runs its macro file on its document when clicked.
class TMacroMenuItem : public TMenuItem {
public:
    // Loads FileName and runs it on Document. Errors pass to the caller; the file's collected messages
    // are dropped.
    void Click() override;

    // The full path of the macro file.
    std::string FileName;
    // Not owned.
    TGeometryInterface* Document = nullptr;
};

// Appends one item per "*.cmd" file of Dir (letter case of the extension ignored), in file-name order,
// after a separator "-" unless the menu already ends with one. Nothing when Dir holds no macro. The
// document window calls it once, for its "Calculation" menu, with GExeDir's "Macros" folder.
void AddMacroMenuItems(TMenuItem& Menu, TGeometryInterface& Document, const std::filesystem::path& Dir);
// The same for the "Macros" folder beside the program file.
void AddMacroMenuItems(TMenuItem& Menu, TGeometryInterface& Document);

// Caption and shortcut of a macro item from the file's header lines: the text after "//MACRONAME"
// (letter case ignored) is the caption, the word after "//MACROSHORTCUT" on a line of exactly two
// words ("//MACROSHORTCUT Ctrl+M") the shortcut. Without a name line the caption is the file name with
// its extension. A file that cannot be read throws EInOutError.
void ReadMacroMenuInfo(const std::filesystem::path& FileName, TMenuItem& Item);

}  // namespace sarnova
