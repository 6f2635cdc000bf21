#include "exchange/GridGenFile.h"

#include "exchange/DXFFile.h"
#include "foundation/NumberText.h"
#include "foundation/Geom.h"
#include "foundation/TextFile.h"

namespace sarnova {

std::string GridGenVariableName(std::string_view Name) {
    std::string Result(Name);
    for (char& C : Result) {
        const bool Keep = (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') || C == '_';
        if (!Keep) C = '_';
    }
    return Result;
}

void TGridGenFile::AddLine(std::string_view Text) { Lines.push_back(std::string(static_cast<std::size_t>(Indent), ' ') + std::string(Text)); }

void TGridGenFile::AddComment(std::string_view Text) { Lines.push_back("# " + std::string(Text)); }

void TGridGenFile::BeginCatch() {
    AddLine("catch {");
    AddLine("");
    IndentMore();
}

void TGridGenFile::EndCatch() {
    IndentLess();
    AddLine("");
    AddLine("}");
}

void TGridGenFile::BeginConnector() {
    AddLine("gg::conBegin");
    IndentMore();
}

void TGridGenFile::BeginSegment(TGridGenSegmentType Type, double Rho) {
    static const char* const Names[] = {"3D_LINE", "CUBIC",   "AKIMA",    "CIRCULAR_ARC", "CONIC",
                                        "DB_LINE", "DB_CUBIC", "DB_AKIMA", "POLE"};
    std::string Line = std::string("gg::segBegin -type ") + Names[Type];
    if (Type == gstConic) Line += " -rho " + DXFNumberText(Rho);
    AddLine(Line);
    IndentMore();
}

void TGridGenFile::AddControlPoint(TGridGenPointKind Kind, double X, double Y, double Z) {
    const char* Prefix = Kind == gpkCentre     ? "gg::segAddControlPt -alternate CENTRE "
                         : Kind == gpkArcPoint ? "gg::segAddControlPt -alternate ARCPOINT "
                                               : "gg::segAddControlPt ";
    AddLine(Prefix + FormatWithPoint("{%.4f %.4f %.4f}", {X, Y, Z}));
}

void TGridGenFile::AddPoint(const TRPoint& Point, TGridGenPointKind Kind) { AddControlPoint(Kind, Point.X, Point.Y, Point.Z); }

void TGridGenFile::EndSegment() {
    IndentLess();
    AddLine("gg::segEnd");
}

void TGridGenFile::BeginEntity() {
    BeginCatch();
    BeginConnector();
}

void TGridGenFile::EndEntity(std::string_view Name) {
    IndentLess();
    ++ConnectorCount;
    const std::string Variable = Name.empty() ? "Entity" + std::to_string(ConnectorCount) : GridGenVariableName(Name);
    AddLine("set " + Variable + " [gg::conEnd]");
    EndCatch();
    AddLine("");
}

void TGridGenFile::SaveToFile(const std::filesystem::path& FileName) const {
    TTextWriter Out;
    for (const std::string& L : Lines) Out.WriteLine(L);
    Out.SaveToFile(FileName);
}

}  // namespace sarnova
