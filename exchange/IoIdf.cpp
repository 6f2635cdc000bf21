#include "exchange/IoIdf.h"

#include "exchange/IoImport.h"
#include "foundation/TextUtils.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "naval/GPList.h"

namespace sarnova {

namespace {

class TIdfReader {
public:
    TIdfReader(const std::string& FileName, TImportedEntities& Entities) : F(FileName), FEntities(Entities) {}

    void Read() {
        while (!F.Eof()) {
            if (Word(F.Next()) != "$IDF") continue;
            bool Found = false;
            while (!F.Eof() && !Found) Found = Word(F.Next()) == "$ENTITY";
            if (!Found) return;
            const std::string Kind = Word(F.Next());
            if (Kind == "SECTIONS") Sections();
            else if (Kind == "MESH") ShowExchangeInformation("Reading of IDF Mesh Entities has yet to be implemented");
            else if (Kind == "NURBS") ShowExchangeInformation("Reading of IDF NURBS Entities has yet to be implemented");
        }
    }

private:
    static std::string Word(std::string_view Line) { return UpperCase(TrimmedView(Line)); }

    // Count comma-separated fields of Line (further fields ignored).
    template <class T, class Convert>
    void Fields(std::string_view Line, T* Values, int Count, Convert C) {
        for (int I = 0; I < Count; ++I) {
            const std::size_t Comma = Line.find(',');
            if (Comma == Line.npos && I < Count - 1) F.Fail(std::to_string(Count) + " values separated by commas expected");
            Values[I] = C(Line.substr(0, Comma));
            Line = Comma == Line.npos ? std::string_view() : Line.substr(Comma + 1);
        }
    }

    // A count of items taking at least LinesEach lines each.
    int Count(std::size_t LinesEach) {
        const int N = F.Integer(F.Next());
        if (N < 0 || static_cast<std::size_t>(N) > F.Remaining() / LinesEach) F.Fail("the file cannot hold " + std::to_string(N) + " items");
        return N;
    }

    void Sections() {
        int Signs[3] = {1, 1, 1};
        for (;;) {
            const std::string W = Word(F.Next("$GEOMETRY"));
            if (W == "$GEOMETRY") break;
            if (W == "$COORDINATE SYSTEM")
                Fields(F.Next(), Signs, 3, [&](std::string_view T) { return F.Integer(T); });
        }
        const int Parts = Count(3);
        for (int P = 0; P < Parts; ++P) {
            if (Word(F.Next()) != "$PART") F.Fail("IDF Error: $PART expected but not found in file");
            const std::string Name(F.Next());
            const int Curves = Count(4);
            TPolylineList List;
            for (int C = 0; C < Curves; ++C) {
                if (Word(F.Next()) != "$CURVE") F.Fail("IDF Error: $CURVE expected but not found in file");
                F.Next();
                F.Next();
                const int Points = Count(1);
                auto Curve = std::make_unique<TPolyline>();
                for (int K = 0; K < Points; ++K) {
                    double V[3];
                    Fields(F.Next(), V, 3, [&](std::string_view T) { return F.Real(T); });
                    Curve->AddPoint(Signs[0] * V[0], Signs[1] * V[1], -Signs[2] * V[2]);
                }
                List.Add(std::move(Curve));
            }
            auto E = std::make_unique<TGeoPList>();
            E->SetName(Name);
            E->Polylines().AddCopies(List);
            FEntities.push_back(std::move(E));
        }
    }

    TImportLines F;
    TImportedEntities& FEntities;
};

}  // namespace

void ImportIdf(const std::string& FileName, TGeometryList& Document) {
    RunImport("IDF", FileName, Document, [&](TImportedEntities& Entities) { TIdfReader(FileName, Entities).Read(); });
}

}  // namespace sarnova
