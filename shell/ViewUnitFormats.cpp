#include "shell/ViewUnitFormats.h"

#include "document/GeoFace.h"
#include "exchange/IoAnsys.h"
#include "exchange/IoCSV.h"
#include "exchange/IoDxf.h"
#include "exchange/IoGF.h"
#include "exchange/IoGridGen.h"
#include "exchange/IoIV.h"
#include "exchange/IoIdf.h"
#include "exchange/IoIges.h"
#include "exchange/IoKeldane.h"
#include "exchange/IoNapa.h"
#include "exchange/IoOff.h"
#include "exchange/IoProteus.h"
#include "exchange/IoSTL.h"
#include "exchange/IoShipGen.h"
#include "exchange/IoSrf.h"
#include "exchange/IoSus.h"

namespace sarnova {

namespace {

using enum TFormatDialog;
using enum TImportZoom;

void ImportGeometry(const std::string& FileName, TGeometryInterface& Document) { Document.LoadText(FileName); }

// The exchange procedures take any entity list; the menus hand them the window's document.
template <void (*Procedure)(const std::string&, TGeometryList&)>
void Run(const std::string& FileName, TGeometryInterface& Document) {
    Procedure(FileName, Document);
}

template <void (*Procedure)(IUserDialogs&, TGeometryList&)>
void Ask(IUserDialogs& Dialogs, TGeometryInterface& Document) {
    Procedure(Dialogs, Document);
}

const TFileFormat Imports[] = {
    {"Geometry...", fdGeometry, "Open Geometry File", "geo", "Geometry File (*.geo)|*.geo", ImportGeometry, nullptr,
     izAfterImport},
    {"Keldane...", fdNone, nullptr, nullptr, nullptr, nullptr, Ask<ImportKeldaneHull>, izNever},
    {"Hull Definition SUS...", fdOwn, "Import Hull Definition SUS File", "sus", "Hull Definition (*.sus)|*.sus",
     Run<ImportSus>, nullptr, izAlways},
    {"Proteus DAM...", fdOwn, "Import Proteus DAM File", "dam", "Hull Definition (*.dam)|*.dam",
     Run<ImportProteusDam>, nullptr, izAlways},
    {"Napa Offset Table...", fdOwn, "Import NAPA Offset Table", "", "Napa Offset Table (*.*)|*.*",
     Run<ImportNapaOffsets>, nullptr, izAlways},
    {"CSV (Polylines)", fdOwn, "Import CSV Polyline Data", "", "Comma Separate Values (*.csv)|*.csv",
     Run<ImportCSVPolylines>, nullptr, izAlways},
    {"AutoSHIP GF...", fdOwn, "Import AutoSHIP GF File", "gf", "AutoSHIP (*.gf)|*.gf;*.gf?", Run<ImportGF>, nullptr,
     izAlways},
    {"AutoCAD DXF...", fdDxf, "Import AutoCAD DXF", "dxf", "AutoCAD DXF (*.dxf)|*.dxf", Run<ImportDXF>, nullptr,
     izAfterImport},
    {"IGES 5.0...", fdOwn, "Import IGES File", "igs", "IGES 5.0 (*.igs)|*.igs", Run<ImportIGES>, nullptr,
     izAlways},
    {"Defcar - ShipGEN...", fdOwn, "Import ShipGEN File", "pla", "Defcar ShipGEN (*.pla)|*.pla", Run<ImportShipGen>,
     nullptr, izAlways},
    {"Stereolithography STL...", fdOwn, "Import Stereolithography File", "stl", "Stereolithography (*.stl)|*.stl",
     Run<ImportSTL>, nullptr, izAlways},
    {"Ansys Element Script...", fdOwn, "Import Ansys Element Script File", "*", "Ansys Script (*.*)|*.*",
     Run<ImportAnsys>, nullptr, izAlways},
    {"Open Inventor IV (Basic)...", fdOwn, "Import Open Inventor File", "iv", "Open Inventor (*.iv)|*.iv",
     Run<ImportInventor>, nullptr, izAlways},
    {"FastShip SRF...", fdOwn, "Import FastShip Surface File", "srf", "FastShip (*.srf)|*.srf", Run<ImportSrf>,
     nullptr, izAlways},
    {"IMSA IDF...", fdOwn, "Import IDF File", "idf", "IDF (*.idf)|*.idf", Run<ImportIdf>, nullptr, izAlways},
    {"IMS Offsets OFF...", fdOwn, "Import IMS Offsets File", "off", "IMS Offsets (*.off)|*.off", Run<ImportOff>,
     nullptr, izAlways},
};

const TFileFormat Exports[] = {
    {"Hull Definition SUS...", fdOwn, "Export Hull Definition SUS File", "sus", "Hull Definition (*.sus)|*.sus",
     Run<ExportSus>, nullptr, izNever},
    {"Proteus DAM && SUS...", fdOwn, "Export Proteus Geometry Files", "dam",
     "Proteus Geometry File (*.dam;*.sus)|*.dam;*.sus", Run<ExportProteusDam>, nullptr, izNever},
    {"AutoSHIP GF...", fdOwn, "Export AutoSHIP GF File", "gf", "AutoSHIP (*.gf)|*.gf;*.gf?", Run<ExportGF>, nullptr,
     izNever},
    {"AutoCAD DXF...", fdDxf, "Export AutoCAD DXF", "dxf", "AutoCAD DXF (*.dxf)|*.dxf", Run<ExportDXF>, nullptr,
     izNever},
    {"IGES 5.0...", fdOwn, "Export IGES File", "igs", "IGES (*.igs)|*.igs", Run<ExportIGES>, nullptr, izNever},
    {"FastShip SRF...", fdOwn, "Export FastShip Surface File", "srf", "FastShip (*.srf)|*.srf", Run<ExportSrf>,
     nullptr, izNever},
    {"IMS Offsets OFF...", fdNone, nullptr, nullptr, nullptr, nullptr, Ask<ExportOff>, izNever},
    {"Ansys Element Script...", fdOwn, "Export Ansys Element Script", "*", "Ansys Script (*.txt)|*.txt",
     Run<ExportAnsys>, nullptr, izNever},
    {"GridGen Glyph...", fdOwn, "Export GridGEN Glyph File", "glf", "GridGEN Glyph (*.glf)|*.glf",
     Run<ExportGridGen>, nullptr, izNever},
};

}  // namespace

std::span<const TFileFormat> ImportFormats() { return Imports; }
std::span<const TFileFormat> ExportFormats() { return Exports; }

}  // namespace sarnova
