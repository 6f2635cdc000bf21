// The document's macro interpreter and the macro items of the Calculation menu.
#include "document/GeoFaceMacro.h"

#include <algorithm>
#include <memory>
#include <numbers>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "document/GeoFace.h"
#include "document/GeometryClasses.h"
#include "document/MacroVariables.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/MacroFile.h"
#include "foundation/VkMaths.h"

namespace sarnova {

namespace {

// A macro that includes itself would otherwise recurse until the stack runs out.
constexpr int MaxMacroDepth = 32;

void WriteConsole(const std::string& Line) {
    if (GConsole) GConsole->WriteLine(Line);
}

// The words of Text, split at blanks, tabs and (when asked) commas.
std::vector<std::string> SplitWords(std::string_view Text, bool AtCommas = false) {
    std::vector<std::string> Words;
    std::string Word;
    for (const char C : Text) {
        if (C == ' ' || C == '\t' || (AtCommas && C == ',')) {
            if (!Word.empty()) Words.push_back(std::move(Word));
            Word.clear();
        } else {
            Word += C;
        }
    }
    if (!Word.empty()) Words.push_back(std::move(Word));
    return Words;
}

// Keywords are whole words: "DELETE BALL1" names an entity and does not mean ALL.
bool HasWord(const std::vector<std::string>& Words, std::string_view Word) {
    return std::find(Words.begin(), Words.end(), Word) != Words.end();
}

// The text of Line after its first word, trimmed.
std::string AfterCommandWord(const std::string& Line) {
    const std::string T = Trim(Line);
    const auto End = T.find_first_of(" \t");
    return End == std::string::npos ? std::string() : Trim(T.substr(End));
}

// The value text of a component such as "X=": the rest of the first word (after the command word)
// that begins with Key. "X = 30" has none: the pair must be written without blanks.
std::optional<std::string> Component(const std::vector<std::string>& Words, std::string_view Key) {
    for (std::size_t I = 1; I < Words.size(); ++I)
        if (Words[I].rfind(Key, 0) == 0) return Words[I].substr(Key.size());
    return std::nullopt;
}

// The three components of MOVE, ROTATE and SCALE, Missing where a component is not written.
TMVector Components(TGeometryInterface& Document, TMacroFile& Macro, const std::vector<std::string>& Words,
                    double Missing) {
    double Values[3] = {Missing, Missing, Missing};
    const char* Keys[3] = {"X=", "Y=", "Z="};
    for (int I = 0; I < 3; ++I)
        if (const auto Text = Component(Words, Keys[I])) Values[I] = Document.EvaluateMacroNumber(*Text, Macro);
    return TMVector{Values[0], Values[1], Values[2]};
}

}  // namespace

// ---- The run ----

void TGeometryInterface::RunMacro(TMacroFile& Macro) {
    BeginUpdate(ufEndEditing | ufHourGlass);
    ++MacroDepth;
    auto RunVariables = std::make_unique<TVariableList>();
    // Everything after the bracket was opened, also when a command failed: what was done stays in the
    // document as one undo step.
    auto Finish = [&] {
        Variables = nullptr;
        RunVariables.reset();
        --MacroDepth;
        WriteConsole("Ready");
        WriteConsole("");
        try {
            if (GetUpdateCount() == 1) ApplyChanges();
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        if (!Updating()) RefreshViews();
    };
    try {
        WriteConsole("Running Macro " + Macro.GetFileName() + "...");
        Variables = RunVariables.get();
        std::string U;
        do {
            Macro.NextLine();
            const int Start = Macro.GetCursor();
            if (GGeometryClasses && GGeometryClasses->ExecuteMacro(Macro, *this)) continue;
            if (ExecuteEntityCommand(Macro)) continue;
            U = UpperCase(Trim(Macro.GetCurrentLine()));
            ExecuteBuiltIn(Macro, U, Start);
        } while (!Macro.Eof() && U != "STOP");
    } catch (...) {
        try {
            Finish();
        } catch (...) {
            // The command's error is the one to report.
        }
        throw;
    }
    Finish();
}

void TGeometryInterface::ExecuteBuiltIn(TMacroFile& Macro, const std::string& U, int Start) {
    const std::string Command = ExtractWord(U, 1);
    if (Command == "DELETE") {
        MacroDelete(Macro);
    } else if (Command == "MOVE") {
        MacroMove(Macro);
    } else if (Command == "ROTATE") {
        MacroRotate(Macro);
    } else if (Command == "MIRROR") {
        MacroMirror(Macro);
    } else if (Command == "SCALE") {
        MacroScale(Macro);
    } else if (Command == "SELECT") {
        MacroSelect(Macro);
    } else if (Command == "SHOW") {
        MacroShow(Macro);
    } else if (Command == "HIDE") {
        MacroHide(Macro);
    } else if (Command == "MESSAGE") {
        Macro.Message(U.size() > 8 ? U.substr(8) : std::string());
    } else if (Command == "INCLUDE") {
        MacroInclude(Macro);
    } else if (Command == "IMPORT") {
        MacroImport(Macro);
    } else if (const auto Equals = U.find('='); Equals != std::string::npos) {
        const double Value = EvaluateMacroNumber(Trim(U.substr(Equals + 1)), Macro);
        const TVariable* Variable = Variables->SetValue(Trim(U.substr(0, Equals)), Value);
        WriteConsole(Format("Variable %s set to %f", {Variable->Name, Variable->Value}));
    } else if (Command == "LISTVARIABLES") {
        WriteConsole(" ");
        WriteConsole("Variables:");
        for (int I = 0; I < Variables->Count(); ++I)
            WriteConsole(Format(" %s = %f", {Variables->Items(I)->Name, Variables->Items(I)->Value}));
        WriteConsole(" ");
    } else if (Macro.GetCursor() == Start && U.find("STOP") == std::string::npos && !U.empty()) {
        Macro.Error("Command not found " + Macro.GetCurrentLine());
    }
}

bool TGeometryInterface::IsEntityCommand(const std::string& Line) {
    const std::string Word = ExtractWord(Line, 1);
    const auto Dot = Word.find('.');
    const auto Equals = Word.find('=');
    return Dot != std::string::npos && (Equals == std::string::npos || Dot < Equals);
}

bool TGeometryInterface::ExecuteEntityCommand(TMacroFile& Macro) {
    const std::string& Line = Macro.GetCurrentLine();
    if (!IsEntityCommand(Line)) return false;
    const std::string Name = Line.substr(0, Line.find('.'));
    TGeometry* Entity = FindByName(Name);
    if (Entity == nullptr) Macro.Error("Entity " + Name + " not found");
    return Entity->ExecuteMacroCommand(Macro);
}

// ---- Built-in commands ----

void TGeometryInterface::MacroDelete(TMacroFile& Macro) {
    const auto Names = SplitWords(UpperCase(AfterCommandWord(Macro.GetCurrentLine())));
    if (HasWord(Names, "ALL")) {
        ShowAll();
        SelectAll();
    } else if (!HasWord(Names, "SELECTED") && !HasWord(Names, "SELECT")) {
        ClearSelection();
        for (const std::string& Name : Names)
            if (TGeometry* Entity = FindByName(Name)) Entity->SetSelected(true);
    }
    DeleteSelected();
}

void TGeometryInterface::MacroMove(TMacroFile& Macro) {
    const auto Words = SplitWords(UpperCase(Macro.GetCurrentLine()));
    const TMVector D = Components(*this, Macro, Words, 0.0);
    if (D.X == 0 && D.Y == 0 && D.Z == 0) Macro.Error("No Translation Specified");
    TransformSelected(MatrixTranslation(D.X, D.Y, D.Z), HasWord(Words, "COPY"));
}

void TGeometryInterface::MacroRotate(TMacroFile& Macro) {
    const auto Words = SplitWords(UpperCase(Macro.GetCurrentLine()));
    const TMVector A = Components(*this, Macro, Words, 0.0);
    if (A.X == 0 && A.Y == 0 && A.Z == 0) Macro.Error("No Rotation Specified");
    constexpr double Radians = std::numbers::pi / 180.0;
    TransformSelected(MatrixFromRotationAngles(A.X * Radians, A.Y * Radians, A.Z * Radians),
                      HasWord(Words, "COPY"));
}

void TGeometryInterface::MacroMirror(TMacroFile& Macro) {
    const auto Words = SplitWords(UpperCase(Macro.GetCurrentLine()));
    const bool Copy = HasWord(Words, "COPY");
    std::optional<TPlaneDirection> Code;
    if (Words.size() == (Copy ? 4u : 3u)) {
        const std::string& Plane = Words[1];
        if (Plane == "XY" || Plane == "YX") Code = 0;
        if (Plane == "YZ" || Plane == "ZY") Code = 1;
        if (Plane == "ZX" || Plane == "XZ") Code = 2;
    }
    if (!Code) Macro.Error("Mirror Transform incorrectly Specified");
    const double Offset = EvaluateMacroNumber(Words[2], Macro);
    TransformSelected(MatrixMirror(*Code, Offset), Copy);
}

void TGeometryInterface::MacroScale(TMacroFile& Macro) {
    const auto Words = SplitWords(UpperCase(Macro.GetCurrentLine()));
    const bool Copy = HasWord(Words, "COPY");
    TMVector S;
    if (Component(Words, "X=") || Component(Words, "Y=") || Component(Words, "Z=")) {
        S = Components(*this, Macro, Words, 1.0);
    } else {
        if (Words.size() != (Copy ? 3u : 2u)) Macro.Error("No Scale Specified");
        const double F = EvaluateMacroNumber(Words[1], Macro);
        S = TMVector{F, F, F};
    }
    if (S.X == 1 && S.Y == 1 && S.Z == 1) Macro.Error("No Scale Transformation Specified");
    TransformSelected(MatrixScaling(S.X, S.Y, S.Z), Copy);
}

void TGeometryInterface::MacroSelect(TMacroFile& Macro) {
    const std::string A = UpperCase(AfterCommandWord(Macro.GetCurrentLine()));
    const auto Words = SplitWords(A, true);
    using TSelect = void (TGeometryInterface::*)();
    static const std::pair<const char*, TSelect> Kinds[] = {
        {"POLYLINES", &TGeometryInterface::SelectPolylines},
        {"PRIMITIVES", &TGeometryInterface::SelectPrimitives},
        {"CURVES", &TGeometryInterface::SelectCurves},
        {"POLYLISTS", &TGeometryInterface::SelectPolyLists},
        {"COMPARTMENTS", &TGeometryInterface::SelectPolyLists},
        {"MESHES", &TGeometryInterface::SelectMeshes},
        {"BSPLINESURFACES", &TGeometryInterface::SelectBSplineSurfaces},
        {"BSPLINES", &TGeometryInterface::SelectBSplines},
        {"POLYGONS", &TGeometryInterface::SelectPolygons},
        {"OPENGROUPS", &TGeometryInterface::SelectOpenGroups},
        {"CLOSEDGROUPS", &TGeometryInterface::SelectClosedGroups},
        {"OPENINGS", &TGeometryInterface::SelectOpenings}};
    if (HasWord(Words, "ALL")) return SelectAll();
    if (HasWord(Words, "NONE")) return ClearSelection();
    for (const auto& [Kind, Select] : Kinds)
        if (HasWord(Words, Kind)) return (this->*Select)();
    if (HasWord(Words, "INVERT")) return InvertSelection();
    ClearSelection();
    std::string::size_type From = 0;
    for (;;) {
        const auto Comma = A.find(',', From);
        if (TGeometry* Entity = FindByName(Trim(A.substr(From, Comma - From)))) Entity->SetSelected(true);
        if (Comma == std::string::npos) break;
        From = Comma + 1;
    }
}

void TGeometryInterface::MacroShow(TMacroFile& Macro) { SetDisplayStates(Macro, dsNormal); }

void TGeometryInterface::MacroHide(TMacroFile& Macro) { SetDisplayStates(Macro, dsHidden); }

void TGeometryInterface::SetDisplayStates(TMacroFile& Macro, std::uint8_t State) {
    const auto Names = SplitWords(UpperCase(AfterCommandWord(Macro.GetCurrentLine())));
    if (HasWord(Names, "ALL")) return State == dsHidden ? HideAll() : ShowAll();
    for (const std::string& Name : Names)
        if (TGeometry* Entity = FindByName(Name)) Entity->SetDisplayState(State);
}

namespace {

// The path of an INCLUDE or IMPORT line, in the letter case it was written; "File not found <path>"
// when it names no file.
std::filesystem::path MacroPath(TMacroFile& Macro) {
    const std::string Path = AfterCommandWord(Macro.GetCurrentLine());
    std::error_code Ignored;
    if (Path.empty() || !std::filesystem::is_regular_file(Path, Ignored)) Macro.Error("File not found " + Path);
    return Path;
}

}  // namespace

void TGeometryInterface::MacroInclude(TMacroFile& Macro) {
    const std::filesystem::path Path = MacroPath(Macro);
    if (MacroDepth >= MaxMacroDepth)
        Macro.Error("INCLUDE " + Path.string() + " nested more than " + std::to_string(MaxMacroDepth) +
                    " deep, does a macro include itself?");
    // The included run has variables of its own; the outer ones are back when it ends.
    TVariableList* Outer = Variables;
    Variables = nullptr;
    TMacroFile Included;
    auto Restore = [&] {
        Macro.AppendMessages(Included);
        Variables = Outer;
    };
    try {
        Included.LoadFromFile(Path);
        RunMacro(Included);
    } catch (...) {
        Restore();
        throw;
    }
    Restore();
}

void TGeometryInterface::MacroImport(TMacroFile& Macro) {
    const std::filesystem::path Path = MacroPath(Macro);
    // Only documents of this program can be imported here: a file of another format read as one
    // would add rubbish without a word.
    const std::string Extension = UpperCase(Path.extension().string());
    if (Extension != ".GEO")
        Macro.Error("IMPORT of " + (Extension.empty() ? std::string("files without extension")
                                                       : Extension.substr(1) + " files") +
                    " not available");
    LoadText(Path);
}

// ---- The Calculation menu's macros ----

void TMacroMenuItem::Click() {
    if (Document == nullptr) return;
    TMacroFile Macro;
    Macro.LoadFromFile(FileName);
    Document->RunMacro(Macro);
}

void ReadMacroMenuInfo(const std::filesystem::path& FileName, TMenuItem& Item) {
    TMacroFile Text;
    Text.LoadFromFile(FileName);
    bool HasName = false;
    bool HasShortCut = false;
    Item.Caption = FileName.filename().string();
    for (const std::string& Line : Text.GetLines()) {
        if (HasName && HasShortCut) break;
        const std::string U = UpperCase(Line);
        if (U.find("//MACRONAME") != std::string::npos) {
            Item.Caption = TextAfterKeyword("//MACRONAME", Line);
            HasName = true;
        } else if (U.find("//MACROSHORTCUT") != std::string::npos && WordCount(Line) == 2) {
            Item.ShortCut = TextToShortCut(ExtractWord(Line, 2));
            HasShortCut = true;
        }
    }
}

void AddMacroMenuItems(TMenuItem& Menu, TGeometryInterface& Document, const std::filesystem::path& Dir) {
    std::vector<std::filesystem::path> Files;
    std::error_code Error;
    for (std::filesystem::directory_iterator It(Dir, Error), End; !Error && It != End; It.increment(Error)) {
        std::error_code Ignored;
        if (UpperCase(It->path().extension().string()) == ".CMD" && !It->is_directory(Ignored))
            Files.push_back(It->path());
    }
    std::sort(Files.begin(), Files.end());
    if (!Files.empty() && (Menu.Count() == 0 || Menu.Items(Menu.Count() - 1).Caption != "-")) Menu.Add("-");
    for (const std::filesystem::path& File : Files) {
        auto Item = std::make_unique<TMacroMenuItem>();
        Item->FileName = File.string();
        Item->Document = &Document;
        try {
            ReadMacroMenuInfo(File, *Item);
        } catch (const EError&) {
            // An unreadable file still gets its item under its file name; a click reports the error.
        }
        Menu.Add(std::move(Item));
    }
}

void AddMacroMenuItems(TMenuItem& Menu, TGeometryInterface& Document) {
    AddMacroMenuItems(Menu, Document, std::filesystem::path(GExeDir) / "Macros");
}

}  // namespace sarnova
