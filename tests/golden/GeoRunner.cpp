// The golden-case runner: builds a document without a window and applies its arguments in order,
//   --load F.geo     read a document (the document is replaced)
//   --macro F.cmd    run a macro; its collected messages follow the run's console lines
//   --undo N         N steps back
//   --redo N         N steps forward
//   --save F.geo     write the document
//   --write F.geo    write the document as it stands, keeping its undo history (a save empties it)
//   --eval EXPR      "<EXPR> = <value>" of a number typed into the document
//   --classes        the registered entity classes
//   --select NAME    add the entity NAME to the selection
//   --create ITEM    click the item ITEM of the Create menu (the hull generators, for one)
//   --generate NAME  generate the hull of the hull generator NAME, as its frame's update button does
//   --name NAME      give the document's last entity (the one made last) the name NAME
//   --popup NAME:ITEM      click the item ITEM of the popup menu of the entity NAME
//   --selection-menu ITEM  click the item ITEM of the menu offered for the selection
//   --volumes        the rows of the compartment volumes report
//   --permeabilities the arrangement's compartments, nested, with their own and effective permeability
//   --hydrostatics DRAUGHTS       the hydrostatic table of the selected hull at the draughts of the list,
//                                 from its calculation sections, every column with 3 decimals
//   --mesh-hydrostatics DRAUGHTS  the same rows from the hull's facets below each waterplane
// The console log goes to standard output, a clock time "[hh:mm:ss]" in front of a line shown as
// "[time]" so that the log of a run is the same at any hour. The first error is written there as well and ends the
// run with exit status 1; a wrong argument gives status 2.
#include <cctype>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "document/GeoFace.h"
#include "document/GeometryClasses.h"
#include "document/GeometryList.h"
#include "startup/RegisterClasses.h"
#include "document/Settings.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/MacroFile.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "hulls/GHullLines.h"
#include "naval/Arrangement.h"
#include "naval/GPList.h"
#include "naval/HullSelection.h"
#include "naval/HydroTable.h"
#include "naval/VolumesUnit.h"
#include "platform/Menu.h"

namespace {

using namespace sarnova;

void Print(const std::string& Line) {
    std::fwrite(Line.data(), 1, Line.size(), stdout);
    std::fputc('\n', stdout);
}

// The length of a leading clock time "[h:mm:ss]" or "[hh:mm:ss AM]"; 0 when the line has none.
std::size_t ClockLength(const std::string& Line) {
    auto Digits = [&](std::size_t At, std::size_t Count) {
        for (std::size_t I = At; I < At + Count; ++I)
            if (I >= Line.size() || !std::isdigit(static_cast<unsigned char>(Line[I]))) return false;
        return true;
    };
    if (Line.empty() || Line[0] != '[') return 0;
    std::size_t At = Digits(1, 2) ? 3 : Digits(1, 1) ? 2 : 0;
    if (At == 0 || Line.compare(At, 1, ":") != 0 || !Digits(At + 1, 2) || Line.compare(At + 3, 1, ":") != 0 ||
        !Digits(At + 4, 2))
        return 0;
    At += 6;
    if (Line.compare(At, 4, " AM]") == 0 || Line.compare(At, 4, " PM]") == 0) return At + 4;
    return Line.compare(At, 1, "]") == 0 ? At + 1 : 0;
}

// A console line, its leading clock time masked.
void PrintConsoleLine(const std::string& Line) {
    const std::size_t Clock = ClockLength(Line);
    Print(Clock == 0 ? Line : "[time]" + Line.substr(Clock));
}

int Usage(const std::string& Problem) {
    std::fprintf(stderr,
                 "geo-runner: %s\nusage: geo-runner [--load F.geo] [--macro F.cmd] [--undo N] [--redo N] "
                 "[--save F.geo] [--write F.geo] [--eval EXPR] [--classes] ...\n",
                 Problem.c_str());
    return 2;
}

// One line of the hydrostatic table: the labels, or a record's figures.
void PrintHydrostaticsRow(const THydrostaticsData* R) {
    std::string Line;
    for (const THydrostaticsColumn& Column : HydrostaticsColumns()) {
        if (!Line.empty()) Line += ' ';
        Line += R ? FormatWithPoint("%10.3f", {R->*Column.Field}) : FormatWithPoint("%10s", {Column.Label});
    }
    Print(Line);
}

// The kernel object of the document's selected hull; throws when the selection is no hull.
THullObject SelectedHullObject(TGeometryInterface& Doc, std::unique_ptr<TGeometryQuery>& Query) {
    TGeometry* Hull = SelectedHull(&Doc);
    if (Hull == nullptr) throw std::runtime_error("select one hull object first");
    Query = HullQuery();
    Hull->Query(*Query);
    return HullObjectOfItem(Query->Item(0));
}

void PrintHydrostatics(TGeometryInterface& Doc, const std::string& Draughts, bool FromFacets) {
    const std::vector<double> Levels = DraughtsFromText(Draughts);
    std::unique_ptr<TGeometryQuery> Query;
    const THullObject Hull = SelectedHullObject(Doc, Query);
    PrintHydrostaticsRow(nullptr);
    if (!FromFacets) {
        // The rows of the hydrostatic table.
        const std::unique_ptr<THullHydrostatics> Hydrostatics = HullHydrostaticsOfEntity(*SelectedHull(&Doc));
        if (!Hydrostatics) throw std::runtime_error("the selected hull gives no hydrostatics");
        for (double Draught : Levels) {
            THydrostaticsData R;
            Hydrostatics->AtDraught(Draught, R);
            PrintHydrostaticsRow(&R);
        }
        return;
    }
    std::unique_ptr<TPolygonList> Facets = HullSurfaceFacets(Hull);
    const TPolygonList* Mesh = Facets.get();
    if (auto M = std::get_if<const TPolygonList*>(&Hull)) Mesh = *M;
    if (Mesh == nullptr) throw std::runtime_error("the selected hull has no facets");
    for (double Draught : Levels) {
        THydrostaticsData R;
        ResetHydrostatics(R);
        MeshHydrostatics(*ClipPolygonsByPlane(*Mesh, 0, WaterplaneAtDraught(Draught)), R);
        PrintHydrostaticsRow(&R);
    }
}

void PrintVolumes(TGeometryInterface& Doc) {
    Print(FormatWithPoint("%-16s %-11s %5s %10s %10s %10s %10s %10s",
                          {"Name", "Type", "Perm", "Volume", "X", "Y", "Z", "VNet"}));
    for (const TVolumeInformation& R : CompartmentVolumes(Doc))
        Print(FormatWithPoint("%-16s %-11s %5s %10.3f %10.3f %10.3f %10.3f %10.3f",
                              {R.Name, R.IsGroup ? "Group" : "Compartment",
                               R.IsGroup ? std::string() : FormatWithPoint("%5.2f", {R.Permeability}), R.Volume,
                               R.Centre[0], R.Centre[1], R.Centre[2], R.NetVolume}));
}

void PrintPermeabilities(TGeometryInterface& Doc) {
    using namespace arrangement;
    TArrangement Arrangement;
    Arrangement.Build(Doc);
    for (const auto& C : Arrangement.All()) {
        std::string Indent;
        for (TCompBase* P = C->GetParent(); P != &Arrangement && P != nullptr;
             P = static_cast<TCompartment*>(P)->GetParent())
            Indent += "  ";
        Print(FormatWithPoint("%-20s %8.4f %8.4f",
                              {Indent + C->GetName(), C->GetPList()->GetPermeability(), C->EffectivePermeability()}));
    }
}

// Applies the arguments to Doc; the exit status of a wrong argument (reported on the error stream), 0
// when all were applied.
int Apply(TGeometryInterface& Doc, const std::vector<std::string>& Args) {
    for (std::size_t I = 0; I < Args.size(); ++I) {
        const std::string& Option = Args[I];
        if (Option == "--classes") {
            if (GGeometryClasses) GGeometryClasses->ListClasses();
            continue;
        }
        if (Option == "--volumes") {
            PrintVolumes(Doc);
            continue;
        }
        if (Option == "--permeabilities") {
            PrintPermeabilities(Doc);
            continue;
        }
        if (I + 1 >= Args.size()) return Usage("missing value after " + Option);
        const std::string& Value = Args[++I];
        if (Option == "--load") {
            Doc.LoadFromFile(Value);
        } else if (Option == "--save") {
            Doc.SaveToFile(Value);
        } else if (Option == "--write") {
            Doc.TGeometryList::SaveToFile(Value);
        } else if (Option == "--macro") {
            TMacroFile Macro;
            Macro.LoadFromFile(Value);
            try {
                Doc.RunMacro(Macro);
            } catch (...) {
                for (const std::string& Line : Macro.GetMessages()) Print(Line);
                throw;
            }
            for (const std::string& Line : Macro.GetMessages()) Print(Line);
        } else if (Option == "--undo" || Option == "--redo") {
            int Steps = 0;
            if (!TryStrToInt(Value, Steps) || Steps < 0) return Usage("not a number of steps: " + Value);
            for (int Step = 0; Step < Steps; ++Step) Option == "--undo" ? Doc.Undo() : Doc.Redo();
        } else if (Option == "--select") {
            TGeometry* Entity = Doc.FindByName(Value);
            if (Entity == nullptr) return Usage("no entity named " + Value);
            Entity->SetSelected(true);
        } else if (Option == "--popup") {
            const std::size_t Colon = Value.find(':');
            TGeometry* Entity = Colon == std::string::npos ? nullptr : Doc.FindByName(Value.substr(0, Colon));
            TMenuItem* Menu = Entity != nullptr ? Entity->PopupMenu() : nullptr;
            TMenuItem* Item = Menu != nullptr ? Menu->Find(Value.substr(Colon + 1)) : nullptr;
            if (Item == nullptr) return Usage("no popup item " + Value);
            Item->Click();
        } else if (Option == "--create") {
            TMenuItem Menu;
            if (GGeometryClasses) GGeometryClasses->AddCreateMenuItems(Menu, Doc);
            TMenuItem* Item = Menu.Find(Value);
            if (Item == nullptr) return Usage("no create item " + Value);
            Item->Click();
        } else if (Option == "--generate") {
            // What the generator frame's update button does.
            auto* Hull = dynamic_cast<TGeoHullLines*>(Doc.FindByName(Value));
            if (Hull == nullptr) return Usage("no hull generator named " + Value);
            Hull->Generate();
        } else if (Option == "--name") {
            if (Doc.Count() == 0) return Usage("no entity to name " + Value);
            Doc.Items(Doc.Count() - 1).SetName(Value);
        } else if (Option == "--selection-menu") {
            TMenuItem Menu;
            if (GGeometryClasses) GGeometryClasses->AddGroupMenuItems(Menu, Doc);
            TMenuItem* Item = Menu.Find(Value);
            if (Item == nullptr) return Usage("no selection item " + Value);
            Item->Click();
        } else if (Option == "--hydrostatics" || Option == "--mesh-hydrostatics") {
            PrintHydrostatics(Doc, Value, Option == "--mesh-hydrostatics");
        } else if (Option == "--eval") {
            Print(Value + " = " + FloatToStr(Doc.EvaluateNumber(Value)));
        } else {
            return Usage("unknown option " + Option);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    InitializeProgramFolders(argc > 0 ? argv[0] : "");
    GConsole->OnLine = PrintConsoleLine;
    // The program's own start-up order: settings first, then the entity classes.
    InitializeSettings();
    RegisterGeometryClasses();
    int Status = 0;
    try {
        TGeometryInterface Doc;
        Status = Apply(Doc, std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& E) {
        Print(E.what());
        Status = 1;
    }
    std::fflush(stdout);
    GConsole->OnLine = nullptr;
    FinalizeSettings();
    return Status;
}
