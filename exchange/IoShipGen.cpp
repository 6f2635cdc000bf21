#include "exchange/IoShipGen.h"

#include "entities/GBSurf.h"
#include "exchange/IoImport.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "surfaces/BSurface.h"

namespace sarnova {

namespace {

// The largest count whose knots fit the knot vector (count + 1 points and order count + 1).
constexpr int MaxCount = 248;

class TShipGenReader {
public:
    TShipGenReader(const std::string& FileName, TImportedEntities& Entities) : F(FileName), FEntities(Entities) {}

    void Read() {
        while (!F.Eof())
            if (UpperCase(TrimmedView(F.Next())) == "PARCHE") Patch();
    }

private:
    std::string Next(const char* Closing) { return UpperCase(F.Next(Closing)); }
    [[noreturn]] void Fail(const std::string& What) const { F.Fail(What); }
    int Integer(std::string_view Text) const { return F.Integer(Text); }
    double Real(std::string_view Text) const { return F.Real(Text); }

    void Patch() {
        for (;;) {
            const std::string Line = Next("/PARCHE");
            const std::string_view Trimmed = TrimmedView(Line);
            if (Trimmed == "/PARCHE") return;
            const std::string Word = ExtractWord(Line, 1);
            if (Word == "NS") FNS = Integer(ExtractWord(Line, 2));
            else if (Word == "NP") FNP = Integer(ExtractWord(Line, 2));
            else if (Trimmed == "PUNTOS") Points();
        }
    }

    void Points() {
        if (FNP < 1 || FNP > MaxCount || FNS < 1 || FNS > MaxCount)
            Fail("NP and NS must be from 1 to " + std::to_string(MaxCount) + ", not " + std::to_string(FNP) + " and " +
                 std::to_string(FNS));
        auto E = std::make_unique<TGeoBSurf>();
        TBSplineSurface& S = E->Surface();
        S.SetSize(FNP + 1, FNS + 1);
        for (;;) {
            const std::string Line = Next("/PUNTOS");
            const std::string_view T = TrimmedView(Line);
            if (T == "/PUNTOS") break;
            if (T.empty() || T[0] != '(') continue;
            const std::size_t Close = T.find(')'), Comma = T.find(',');
            if (Close == T.npos || Comma == T.npos || Comma > Close) Fail("\"(i,j)\" expected");
            const int I = Integer(TrimmedView(T.substr(1, Comma - 1)));
            const int J = Integer(TrimmedView(T.substr(Comma + 1, Close - Comma - 1)));
            if (I < 0 || I > FNP || J < 0 || J > FNS)
                Fail("point (" + std::to_string(I) + "," + std::to_string(J) + ") lies outside the " +
                     std::to_string(FNP + 1) + " x " + std::to_string(FNS + 1) + " net");
            const std::string_view Rest = T.substr(Close + 1);
            TRPoint& P = S.Point(I, J);
            P.X = Real(ExtractWord(Rest, 1));
            P.Y = Real(ExtractWord(Rest, 2));
            P.Z = Real(ExtractWord(Rest, 3));
        }
        S.SetOrderU(FNP + 1);
        S.SetOrderV(FNS + 1);
        S.UpdateKnots();
        FEntities.push_back(std::move(E));
    }

    TImportLines F;
    TImportedEntities& FEntities;
    int FNP = 0;
    int FNS = 0;
};

}  // namespace

void ImportShipGen(const std::string& FileName, TGeometryList& Document) {
    RunImport("ShipGEN", FileName, Document,
              [&](TImportedEntities& Entities) { TShipGenReader(FileName, Entities).Read(); });
}

}  // namespace sarnova
