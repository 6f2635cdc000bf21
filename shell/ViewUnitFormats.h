// The formats of the document window's Import and Export menus: the items' captions, the file dialog
// each runs, the procedure that reads or writes the file, and whether an import ends with a fit to
// the whole model. One table for both menus; a format whose reader or writer the program does not
// have yet is listed with no procedure, and its item stays disabled.
#pragma once
#include <span>
#include <string>

namespace sarnova {

class IUserDialogs;
class TGeometryInterface;

// Which file dialog a format runs.
enum class TFormatDialog {
    fdOwn,       // a dialog made for this one use, with the format's title, extension and filter
    fdGeometry,  // the window's own open dialog for documents, which keeps the last choice
    fdDxf,       // the window's DXF dialog of the direction (import or export), kept between uses
    fdNone,      // none: the procedure asks for its file itself
};

// When an import fits the view to the whole model afterwards.
enum class TImportZoom {
    izNever,
    izAfterImport,  // only after a confirmed import
    izAlways,       // also when the dialog is cancelled
};

struct TFileFormat {
    const char* Caption;
    TFormatDialog Dialog;
    const char* Title;
    const char* DefaultExt;
    const char* Filter;
    // The reader or writer with the chosen file (the formats with a dialog) ...
    void (*Procedure)(const std::string& FileName, TGeometryInterface& Document);
    // ... or, for the formats that ask for their file themselves, with the window's dialogs.
    void (*AskingProcedure)(IUserDialogs& Dialogs, TGeometryInterface& Document);
    TImportZoom Zoom;

    bool Available() const {
        return Dialog == TFormatDialog::fdNone ? AskingProcedure != nullptr : Procedure != nullptr;
    }
};

// In menu order.
std::span<const TFileFormat> ImportFormats();
std::span<const TFileFormat> ExportFormats();

}  // namespace sarnova
