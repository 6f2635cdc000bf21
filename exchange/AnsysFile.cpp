#include "exchange/AnsysFile.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

constexpr double Tolerance = 1e-4;

int CompareCoordinate(double A, double B) {
    if (std::fabs(A - B) < Tolerance) return 0;
    return A < B ? -1 : 1;
}

// Numbers 1, 2, ... by position; points at one place keep their order.
std::vector<int> NumbersByPosition(const std::vector<TMVector>& Points) {
    std::vector<int> Order(Points.size());
    std::iota(Order.begin(), Order.end(), 0);
    std::stable_sort(Order.begin(), Order.end(),
                     [&](int A, int B) { return CompareAnsysPositions(Points[A], Points[B]) < 0; });
    std::vector<int> Numbers(Points.size());
    for (std::size_t I = 0; I < Order.size(); ++I) Numbers[static_cast<std::size_t>(Order[I])] = static_cast<int>(I) + 1;
    return Numbers;
}

}  // namespace

int CompareAnsysPositions(const TMVector& A, const TMVector& B) {
    if (const int C = CompareCoordinate(A.Z, B.Z)) return C;
    if (const int C = CompareCoordinate(A.Y, B.Y)) return C;
    return CompareCoordinate(A.X, B.X);
}

void TAnsysFile::Clear() {
    KeyPoints.clear();
    Nodes.clear();
    Entities.clear();
    FKeyIndex.clear();
    FNodeIndex.clear();
}

void TAnsysFile::LoadFromFile(const std::string& FileName) {
    Clear();
    const std::vector<std::string> Lines = ReadFileLines(FileName);
    std::unordered_map<int, int> KeyByNumber, NodeByNumber;
    std::vector<std::string_view> Fields;
    for (std::size_t N = 0; N < Lines.size(); ++N) {
        const std::string_view Line = Lines[N];
        Fields.clear();
        for (std::size_t Start = 0;;) {
            const std::size_t Comma = Line.find(',', Start);
            Fields.push_back(TrimmedView(Line.substr(Start, Comma == Line.npos ? Line.npos : Comma - Start)));
            if (Comma == Line.npos) break;
            Start = Comma + 1;
        }
        if (Fields.size() < 2) continue;
        const std::string Command = UpperCase(std::string(Fields[0]));
        const auto Fail = [&](std::string_view Field, const char* What) {
            throw EConvertError(FileName + "(" + std::to_string(N + 1) + "): '" + std::string(Field) + "' is not a valid " +
                                What);
        };
        const auto Int = [&](std::size_t I) {
            int V = 0;
            if (!TryStrToInt(Fields[I], V)) Fail(Fields[I], "integer value");
            return V;
        };
        const auto Real = [&](std::size_t I) {
            double V = 0;
            if (!TryStrToFloat(Fields[I], V)) Fail(Fields[I], "floating point value");
            return V;
        };
        const auto Find = [](const std::unordered_map<int, int>& Map, int Number) {
            const auto It = Map.find(Number);
            return It == Map.end() ? -1 : It->second;
        };
        if ((Command == "K" || Command == "N") && Fields.size() == 5) {
            const bool Key = Command == "K";
            std::vector<TMVector>& Points = Key ? KeyPoints : Nodes;
            const int Number = Int(1);
            const TMVector P{Real(2), Real(3), Real(4)};
            if ((Key ? KeyByNumber : NodeByNumber).emplace(Number, static_cast<int>(Points.size())).second)
                Points.push_back(P);
        } else if (Command == "L" && Fields.size() == 3) {
            const int A = Find(KeyByNumber, Int(1)), B = Find(KeyByNumber, Int(2));
            if (A >= 0 && B >= 0) Entities.push_back({TAnsysKind::akLine, {A, B}});
        } else if (Command == "LARC" && Fields.size() == 5) {
            const int A = Find(KeyByNumber, Int(1)), B = Find(KeyByNumber, Int(2)), C = Find(KeyByNumber, Int(3));
            const double R = Real(4);
            if (A >= 0 && B >= 0 && C >= 0) Entities.push_back({TAnsysKind::akArc, {A, B, C}, R});
        } else if (Command == "E" && Fields.size() >= 4) {
            TAnsysEntity E{TAnsysKind::akElement, {}};
            bool Complete = true;
            for (std::size_t I = 1; I < Fields.size(); ++I) {
                const int P = Find(NodeByNumber, Int(I));
                Complete = Complete && P >= 0;
                E.Points.push_back(P);
            }
            if (Complete) Entities.push_back(std::move(E));
        }
    }
}

std::string TAnsysFile::Text() const {
    TTextWriter Out;
    for (const char* L : {"/BATCH", "/NOPR", "/COM, Tavik/Sarnova Ansys Interface - Version 1.0", "/PREP7", ""})
        Out.WriteLine(L);
    const std::vector<int> KeyNumbers = NumbersByPosition(KeyPoints), NodeNumbers = NumbersByPosition(Nodes);
    std::vector<char> KeyWritten(KeyPoints.size()), NodeWritten(Nodes.size());
    const auto WritePoint = [&](bool Key, int I) {
        std::vector<char>& Written = Key ? KeyWritten : NodeWritten;
        if (Written[static_cast<std::size_t>(I)]) return;
        Written[static_cast<std::size_t>(I)] = 1;
        const TMVector& P = (Key ? KeyPoints : Nodes)[static_cast<std::size_t>(I)];
        Out.WriteLine(FormatWithPoint(Key ? "K,%d,%g,%g,%g" : "N,%d,%g,%g,%g",
                                      {(Key ? KeyNumbers : NodeNumbers)[static_cast<std::size_t>(I)], P.X, P.Y, P.Z}));
    };
    const auto Number = [&](int I) { return KeyNumbers[static_cast<std::size_t>(I)]; };
    for (const TAnsysEntity& E : Entities) {
        const bool Key = E.Kind != TAnsysKind::akElement;
        for (int P : E.Points) WritePoint(Key, P);
        switch (E.Kind) {
        case TAnsysKind::akLine:
            Out.WriteLine(FormatWithPoint("L,%d,%d", {Number(E.Points[0]), Number(E.Points[1])}));
            Out.WriteLine("");
            break;
        case TAnsysKind::akArc:
            Out.WriteLine(FormatWithPoint("LARC,%d,%d,%d,%.2f",
                                          {Number(E.Points[0]), Number(E.Points[1]), Number(E.Points[2]), E.Radius}));
            Out.WriteLine("");
            break;
        case TAnsysKind::akElement: {
            std::string Line = "E";
            for (int P : E.Points) Line += ", " + std::to_string(NodeNumbers[static_cast<std::size_t>(P)]);
            Out.WriteLine(Line);
            break;
        }
        }
    }
    for (const char* L : {"", "FINI", "SAVE", "/GOPR", "/EXIT,MODEL,SARNOVA"}) Out.WriteLine(L);
    return Out.Text();
}

void TAnsysFile::SaveToFile(const std::string& FileName) const {
    ReplaceFileText(FileName, Text(), "Cannot write file \"" + FileName + "\"");
}

int TAnsysFile::FindOrAdd(std::vector<TMVector>& Points, std::map<TMVector, int, TPositionLess>& Index,
                          const TMVector& P) {
    const auto [It, Added] = Index.emplace(P, static_cast<int>(Points.size()));
    if (Added) Points.push_back(P);
    return It->second;
}

void TAnsysFile::AddLine(const TMVector& Start, const TMVector& Finish) {
    Entities.push_back({TAnsysKind::akLine, {FindOrAdd(KeyPoints, FKeyIndex, Start), FindOrAdd(KeyPoints, FKeyIndex, Finish)}});
}

void TAnsysFile::AddArc(const TMVector& Start, const TMVector& Finish, const TMVector& Centre, double Radius) {
    Entities.push_back({TAnsysKind::akArc,
                        {FindOrAdd(KeyPoints, FKeyIndex, Start), FindOrAdd(KeyPoints, FKeyIndex, Finish),
                         FindOrAdd(KeyPoints, FKeyIndex, Centre)},
                        Radius});
}

void TAnsysFile::AddQuadElement(const TMVector& A, const TMVector& B, const TMVector& C, const TMVector& D) {
    const TMVector Corners[] = {A, B, C, D};
    AddElement(Corners, 4);
}

void TAnsysFile::AddElement(const TMVector* Corners, int Count) {
    TAnsysEntity E{TAnsysKind::akElement, {}};
    for (int I = 0; I < Count; ++I) E.Points.push_back(FindOrAdd(Nodes, FNodeIndex, Corners[I]));
    Entities.push_back(std::move(E));
}

}  // namespace sarnova
