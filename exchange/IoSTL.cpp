#include "exchange/IoSTL.h"

#include "entities/GGonList.h"
#include "exchange/IoImport.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// Position of Key (upper case) in Line, letter case ignored; npos when absent.
std::size_t FindKeyword(std::string_view Line, std::string_view Key) {
    if (Key.size() > Line.size()) return std::string_view::npos;
    for (std::size_t I = 0; I + Key.size() <= Line.size(); ++I) {
        std::size_t K = 0;
        while (K < Key.size()) {
            char C = Line[I + K];
            if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 32);
            if (C != Key[K]) break;
            ++K;
        }
        if (K == Key.size()) return I;
    }
    return std::string_view::npos;
}

bool HasKeyword(std::string_view Line, std::string_view Key) { return FindKeyword(Line, Key) != std::string_view::npos; }

bool IsBlank(char C) { return C == ' ' || C == '\t'; }

// A binary STL: an 80-byte header, a 32-bit facet count and 50 bytes a facet, the size matching the
// count exactly; or any file with a NUL byte in its first kilobyte. Its header may start "solid".
bool IsBinarySTL(std::string_view Head, std::uint64_t Size) {
    if (Head.size() >= 84) {
        const auto* B = reinterpret_cast<const unsigned char*>(Head.data()) + 80;
        const std::uint64_t Facets = B[0] | (B[1] << 8) | (B[2] << 16) | (static_cast<std::uint64_t>(B[3]) << 24);
        if (84 + 50 * Facets == Size) return true;
    }
    return Head.find('\0') != std::string_view::npos;
}

// Reads the file as it goes, block by block: a large file is never held whole beside its facets.
class TSTLReader {
public:
    explicit TSTLReader(const std::string& FileName) : Lines(FileName) {
        if (IsBinarySTL(Lines.Head(), Lines.Size()))
            throw EInOutError(FileName + " is a binary STL file: this program reads ASCII STL files only");
    }

    std::unique_ptr<TPolygonList> Read() {
        auto Facets = std::make_unique<TPolygonList>();
        bool Ended = true;
        std::string_view Line;
        while (FindSolid()) {
            Ended = false;
            while (NextLine(Line)) {
                if (HasKeyword(Line, "ENDSOLID")) {
                    Ended = true;
                    break;
                }
                if (HasKeyword(Line, "FACET")) ReadFacet(*Facets);
            }
        }
        if (Facets->Count() == 0) return nullptr;
        if (GConsole) {
            GConsole->WriteLine(Format("%d Facets imported", {Facets->Count()}));
            // A file cut at a facet boundary reads as whole facets: only the missing end tells.
            if (!Ended)
                GConsole->WriteLine(Format("STL File Import Warning: the file ends on line %d without ENDSOLID: it is "
                                           "truncated and facets may be missing",
                                           {static_cast<int>(Lines.Count())}));
        }
        return Facets;
    }

private:
    bool FindSolid() {
        std::string_view Line;
        while (NextLine(Line)) {
            const std::size_t At = FindKeyword(Line, "SOLID");
            if (At == std::string_view::npos) continue;
            if (GConsole)
                GConsole->WriteLine("Reading STL File containing " + PrintableText(Trim(Line.substr(At + 5))) + "...");
            return true;
        }
        return false;
    }

    [[noreturn]] void Fail(const std::string& What) const {
        throw EInOutError("STL File Import Error: " + What + ", line " + std::to_string(Count()));
    }

    // The next line; the file ending inside a facet is an error naming the line after the last.
    std::string_view Next() {
        std::string_view Line;
        if (!NextLine(Line)) {
            PastEnd = true;
            Fail("End of file inside a facet");
        }
        return Line;
    }

    bool NextLine(std::string_view& Line) { return Lines.Next(Line); }
    // The 1-based number of the last line read; past the end, the line after the last.
    std::size_t Count() const { return Lines.Count() + (PastEnd ? 1 : 0); }

    TRPoint ReadVertex(std::string_view Line, std::size_t At) {
        // The coordinates follow the keyword, split at runs of blanks or tabs.
        std::string_view Rest = Line.substr(std::min(Line.size(), At + 6));
        double V[3] = {0, 0, 0};
        for (double& X : V) {
            std::size_t Start = 0;
            while (Start < Rest.size() && IsBlank(Rest[Start])) ++Start;
            std::size_t End = Start;
            while (End < Rest.size() && !IsBlank(Rest[End])) ++End;
            try {
                X = ParseFloat(Rest.substr(Start, End - Start));
            } catch (const EConvertError& E) {
                throw EConvertError(std::string(E.what()) + ", line " + std::to_string(Count()));
            }
            Rest = Rest.substr(End);
        }
        TRPoint P;
        P.SetXYZ(V[0], V[1], V[2]);
        return P;
    }

    void ReadFacet(TPolygonList& Facets) {
        if (!HasKeyword(Next(), "OUTER LOOP")) Fail("OUTER LOOP expected");
        TRPoint Corners[4];
        int N = 0;
        for (;;) {
            const std::string_view Line = Next();
            if (HasKeyword(Line, "ENDLOOP")) break;
            const std::size_t At = FindKeyword(Line, "VERTEX");
            if (At == std::string_view::npos) Fail("VERTEX expected");
            const TRPoint P = ReadVertex(Line, At);
            if (N < 4) Corners[N].Assign(P);
            ++N;
        }
        if (N == 3)
            Facets.Add(NewTriangle(Corners[0], Corners[1], Corners[2]));
        else if (N == 4)
            Facets.Add(NewQuad(Corners[0], Corners[1], Corners[2], Corners[3]));
        else if (GConsole)
            GConsole->WriteLine(Format("SLT File Import Warning: Facet containing %d vertices, facet not imported", {N}));
        if (!HasKeyword(Next(), "ENDFACET")) Fail("ENDFACET expected");
    }

    TFileLines Lines;
    bool PastEnd = false;
};

}  // namespace

std::unique_ptr<TPolygonList> ReadSTL(const std::string& FileName) { return TSTLReader(FileName).Read(); }

void ImportSTL(const std::string& FileName, TGeometryList& Document) {
    RunImport("STL", FileName, Document, [&](TImportedEntities& Entities) {
        std::unique_ptr<TPolygonList> Facets = ReadSTL(FileName);
        if (!Facets) return;
        auto E = std::make_unique<TGeoPGonlist>();
        E->Facets().TakeFrom(*Facets);
        Entities.push_back(std::move(E));
    });
}

}  // namespace sarnova
