// The Proteus DAM file model, its line scans and its writer.
#include "exchange/ProteusFile.h"

#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

bool IsSectionClockwise(const TPolyline& Section) {
    const int n = Section.IsClosed() ? Section.Count() - 2 : Section.Count() - 1;
    if (n < 2) return false;  // no turn to judge
    int b = 0;
    for (int I = 1; I <= n; ++I) {
        const TRPoint &P = *Section.Point(I), &B = *Section.Point(b);
        if (P.Z < B.Z || (P.Z == B.Z && P.Y >= B.Y)) b = I;
    }
    int Ip = b - 1, Iq = b, Ir = b + 1;
    if (b == 0) Ip = n, Iq = 0, Ir = 1;
    else if (b == n) Ip = n - 1, Iq = n, Ir = 0;
    const TRPoint &P = *Section.Point(Ip), &Q = *Section.Point(Iq), &R = *Section.Point(Ir);
    return (Q.Y - P.Y) * (R.Z - P.Z) - (R.Y - P.Y) * (Q.Z - P.Z) < 0;
}

void TProteusLoader::LoadFromFile(const std::filesystem::path& Name) {
    FileName = Name.string();
    Cursor = 1;
    Lines = ReadFileLines(Name);
}

const std::string& TProteusLoader::ReadLine() {
    if (Eof())
        CurrentLine.clear();
    else
        CurrentLine.assign(TrimmedView(Lines[static_cast<std::size_t>(Cursor - 1)]));
    ++Cursor;
    return CurrentLine;
}

namespace {

// The text before the first occurrence of any of the comment marks, trimmed; a view into Line.
std::string_view CutComment(std::string_view Line, std::initializer_list<std::string_view> Marks) {
    std::size_t End = Line.size();
    for (std::string_view Mark : Marks) End = std::min(End, Line.find(Mark));
    return TrimmedView(Line.substr(0, End));
}

[[noreturn]] void Invalid(const std::string& What, const TProteusLoader& L, int Line) {
    throw EConvertError("Invalid Data: " + What + "\r\nLine: " + std::to_string(Line) + "\r\nFile Line: " +
                        L.CurrentLine);
}

int IntegerWord(const TLineWords& Words, int N, const TProteusLoader& L, int Line) {
    const std::string_view W = Words.Word(N);
    int Value = 0;
    if (!TryStrToInt(W, Value)) Invalid("Unable to convert string to Integer (" + std::string(W) + ")", L, Line);
    return Value;
}

double RealWord(const TLineWords& Words, int N, const TProteusLoader& L, int Line) {
    const std::string_view W = Words.Word(N);
    try {
        return ParseFloat(W);
    } catch (const EConvertError&) {
        Invalid("Unable to convert string to float (" + std::string(W) + ")", L, Line);
    }
}

// ASCII letter case ignored, as UpperCase compares.
bool SameText(std::string_view A, std::string_view B) {
    if (A.size() != B.size()) return false;
    for (std::size_t I = 0; I < A.size(); ++I) {
        char X = A[I], Y = B[I];
        if (X >= 'a' && X <= 'z') X = static_cast<char>(X - 'a' + 'A');
        if (Y >= 'a' && Y <= 'z') Y = static_cast<char>(Y - 'a' + 'A');
        if (X != Y) return false;
    }
    return true;
}

void ReadSections(TProteusLoader& L, TProteusDam& Dam) {
    int Separators = 0;
    TLineWords Words;
    while (!L.Eof()) {
        const int Line = L.Cursor;
        L.ReadLine();
        const std::string_view Text = CutComment(L.CurrentLine, {"#"});
        if (Text.empty()) {
            if (++Separators >= 2) return;
            continue;
        }
        if (SameText(Text, "END")) return;
        Words.Split(Text);
        const int Count = Words.Count();
        if (Separators == 1) {
            bool Point = Count == 4;
            for (int I = 1; Point && I <= 4; ++I) Point = IsNumber(Words.Word(I));
            if (!Point) return;
        }
        if (Count < 4) Invalid("Expected at least 4 Numbers", L, Line);
        double V[3];
        for (int I = 0; I < 3; ++I) {
            double Value = 0;
            if (!TryStrToFloat(Words.Word(I + 2), Value))
                Invalid("Unable to convert string to Integer (" + std::string(Words.Word(1)) + ")", L, Line);
            V[I] = Value;
        }
        if (Separators > 0 || Dam.Count() == 0) {
            Dam.Add(std::make_unique<TPolyline>());
            Separators = 0;
        }
        Dam.Last()->AddPoint(V[0], V[1], V[2]);
    }
}

void ReadDams(TProteusLoader& L, TProteusGFile& F) {
    L.Reset();
    TLineWords Words;
    while (!L.Eof()) {
        const int Line = L.Cursor;
        L.ReadLine();
        const std::string_view Text = CutComment(L.CurrentLine, {"#"});
        Words.Split(Text);
        if (!SameText(Words.Word(1), "DAM")) continue;
        auto Dam = std::make_unique<TProteusDam>();
        Dam->Line = Line;
        if (Words.Count() == 3) {
            Dam->Mirrored = Words.Word(2) == "2";
            Dam->DamValue = RealWord(Words, 3, L, Line);
        } else {
            Dam->IsOpening = true;
        }
        if (Line >= 2) {
            const std::string Before = Trim(L.Lines[static_cast<std::size_t>(Line - 2)]);
            const std::string Key = "#IOPROTEUSNAME";
            const std::size_t At = Before.find(Key);
            if (At != std::string::npos && WordCount(Before) >= 2)
                Dam->Name = Before.substr(std::min(Before.size(), At + Key.size() + 1), 255);
        }
        ReadSections(L, *Dam);
        if (Dam->Name.empty())
            Dam->Name = (Dam->IsOpening ? "Opening" : "Compartment") + std::to_string(F.Dams.size() + 1);
        F.Dams.push_back(std::move(Dam));
    }
}

// Lines whose first word, before any "#" or "//", is Keyword (letter case ignored).
template <class F>
void ScanKeyword(TProteusLoader& L, const char* Keyword, F Read) {
    L.Reset();
    TLineWords Words;
    while (!L.Eof()) {
        const int Line = L.Cursor;
        L.ReadLine();
        Words.Split(CutComment(L.CurrentLine, {"#", "//"}));
        if (SameText(Words.Word(1), Keyword)) Read(Words, Line);
    }
}

[[noreturn]] void MissingDam(const TProteusLoader& L, int Number, int Line) {
    throw EConvertError("Proteus File " + L.FileName + ": DAM " + std::to_string(Number) +
                        " does not exist\r\nLine: " + std::to_string(Line) + "\r\nFile Line: " +
                        Trim(L.Lines[static_cast<std::size_t>(Line - 1)]));
}

}  // namespace

void TProteusGFile::LoadFromFile(const std::filesystem::path& FileName) {
    GConsole->WriteLine("Loading " + FileName.string());
    TProteusLoader L;
    L.LoadFromFile(FileName);
    Dams.clear();
    Groups.clear();
    Openings.clear();
    Title = L.Lines.empty() ? std::string() : Trim(L.Lines.front());
    GConsole->WriteLine(" Translating DAMs...");
    ReadDams(L, *this);
    const int DamTotal = static_cast<int>(Dams.size());
    GConsole->WriteLine(" Translating GROUPs...");
    ScanKeyword(L, "GROUP", [&](const TLineWords& Words, int Line) {
        TProteusGroup G;
        G.Line = Line;
        G.FirstDam = IntegerWord(Words, 2, L, Line);
        G.LastDam = IntegerWord(Words, 3, L, Line);
        G.InitialWater = RealWord(Words, 4, L, Line);
        std::string Name;
        for (int I = 5; I <= Words.Count(); ++I) (Name += Words.Word(I)) += ' ';
        Name = Trim(Name);
        // The writer follows the name with the group's number in brackets.
        const std::size_t Open = Name.rfind(" (");
        if (Open != std::string::npos && Name.back() == ')') {
            const std::string Number = Name.substr(Open + 2, Name.size() - Open - 3);
            int N = 0;
            if (!Number.empty() && TryStrToInt(Number, N)) Name.erase(Open);
        }
        G.Name = Name.empty() ? "Group" + std::to_string(Groups.size() + 1) : Name;
        if (G.LastDam >= G.FirstDam && (G.FirstDam < 1 || G.LastDam > DamTotal))
            MissingDam(L, G.FirstDam < 1 ? G.FirstDam : G.LastDam, Line);
        Groups.push_back(G);
    });
    GConsole->WriteLine(" Translating OPENINGSs...");
    ScanKeyword(L, "OPENING", [&](const TLineWords& Words, int Line) {
        TProteusOpening O;
        O.Line = Line;
        O.Dam = IntegerWord(Words, 2, L, Line);
        O.GroupB = IntegerWord(Words, 3, L, Line);
        O.GroupA = IntegerWord(Words, 4, L, Line);
        O.CollapseHead = RealWord(Words, 5, L, Line);
        O.OpeningTime = IsNumber(Words.Word(8)) ? RealWord(Words, 8, L, Line) : 0.0;
        const bool In1 = Words.Word(6) == "1", In2 = Words.Word(7) == "1";
        O.Direction = In1 && In2 ? 2 : In2 ? 1 : 0;
        if (O.Dam < 1 || O.Dam > DamTotal) MissingDam(L, O.Dam, Line);
        Openings.push_back(O);
    });
}

std::string TProteusGFile::GroupName(int Number) const {
    if (Number == 0) return "Sea";
    if (Number < 0 || Number > static_cast<int>(Groups.size())) return {};
    return Groups[static_cast<std::size_t>(Number - 1)].Name;
}

int TProteusGFile::GroupNumber(const std::string& Name) const {
    if (SameText(Name, "SEA")) return 0;
    for (std::size_t I = 0; I < Groups.size(); ++I)
        if (SameText(Groups[I].Name, Name)) return static_cast<int>(I) + 1;
    throw EError("Proteus Group " + Name + " not found");
}

namespace {

void WritePoint(std::string& Out, int Number, const TRPoint& P) {
    Out += FormatWithPoint("%-2d   %10.3f %10.3f %10.3f\n", {Number, P.X, P.Y, P.Z});
}

}  // namespace

std::string TProteusGFile::SaveToText() const {
    std::string Out = Title + "\n\n";
    Out += "#--------------------------------------------------------\n";
    Out += "#  GROUP    Dam  Dam Water[t]                            \n";
    Out += "#  OPENING  Dam  Gr  Gr  CollapseHead  In In OpeningTime \n";
    Out += "#--------------------------------------------------------\n\n";
    for (std::size_t I = 0; I < Groups.size(); ++I) {
        const TProteusGroup& G = Groups[I];
        Out += FormatWithPoint("GROUP %4d %4d %10.3f %s (%d)\n",
                               {G.FirstDam, G.LastDam, G.InitialWater, G.Name, static_cast<int>(I + 1)});
    }
    Out += "\n\n\n";
    for (const TProteusOpening& O : Openings) {
        const int In1 = O.Direction == 0 || O.Direction == 2, In2 = O.Direction == 1 || O.Direction == 2;
        const char* Arrow = O.Direction == 0 ? " -> " : O.Direction == 1 ? " <- " : " <-> ";
        const std::string Description = GroupName(O.GroupB) + Arrow + GroupName(O.GroupA);
        const std::string Name =
            O.Dam >= 1 && O.Dam <= static_cast<int>(Dams.size()) ? Dams[static_cast<std::size_t>(O.Dam - 1)]->Name : "";
        if (O.OpeningTime > 0)
            Out += FormatWithPoint("OPENING %4d %4d %4d %10.3f %1d %1d %10.3f   // %s (%s)\n",
                                   {O.Dam, O.GroupB, O.GroupA, O.CollapseHead, In1, In2, O.OpeningTime,
                                    Description, Name});
        else
            Out += FormatWithPoint("OPENING %4d %4d %4d %10.3f %1d %1d              // %s (%s)\n",
                                   {O.Dam, O.GroupB, O.GroupA, O.CollapseHead, In1, In2, Description, Name});
    }
    Out += "\n\n";
    for (std::size_t K = 0; K < Dams.size(); ++K) {
        const TProteusDam& D = *Dams[K];
        Out += "#--------------------------- " + D.Name + (D.IsOpening ? " (Opening - " : " (Compartment - ") +
               std::to_string(K + 1) + ") -----------------------------\n";
        Out += "#IOPROTEUSNAME " + D.Name + "\n";
        if (D.IsOpening)
            Out += "DAM\n";
        else
            Out += FormatWithPoint("DAM %d %10.4f\n", {D.Mirrored ? 2 : 1, D.DamValue});
        for (int J = 0; J < D.Count(); ++J) {
            Out += "#" + std::to_string(J + 1) + "\n";
            const TPolyline& S = *D.Items(J);
            if (!D.IsOpening && IsSectionClockwise(S))
                for (int P = S.Count() - 1; P >= 0; --P) WritePoint(Out, P, *S.Point(P));
            else
                for (int P = 0; P < S.Count(); ++P) WritePoint(Out, P, *S.Point(P));
        }
        Out += "\n\n";
    }
    Out += "\n\nEND\n";
    return Out;
}

void TProteusGFile::SaveToFile(const std::filesystem::path& FileName) const {
    ReplaceFileText(FileName, SaveToText(), "Cannot write file \"" + FileName.string() + "\"");
}

}  // namespace sarnova
