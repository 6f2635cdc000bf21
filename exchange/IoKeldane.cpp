#include "exchange/IoKeldane.h"

#include <cmath>

#include "entities/GBSurf.h"
#include "exchange/IoImport.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/TextFile.h"
#include "foundation/UserDialogs.h"
#include "surfaces/BSurface.h"

namespace sarnova {

namespace {

constexpr int MaxCurves = 21;
constexpr int MaxPoints = 25;

class TKeldaneReader {
public:
    TKeldaneReader(const std::string& FileName) : FName(FileName), In(TTextReader::FromFile(FileName)) {}

    std::unique_ptr<TGeoBSurf> Read() {
        SkipLines(7);
        const int Order = ReadCount("order", 1, 1 << 20);
        SkipLines(4);
        const int Curves = ReadCount("number of curves", 1, MaxCurves);
        std::vector<TMVector> Points;
        Points.reserve(static_cast<std::size_t>(Curves) * MaxPoints);
        int N = 0;
        for (int C = 0; C < Curves; ++C) {
            const int Count = ReadCount("number of points", 1, MaxPoints);
            if (C > 0 && Count != N) Fail("curve " + std::to_string(C + 1) + " has " + std::to_string(Count) +
                                          " points, the first curves " + std::to_string(N));
            N = Count;
            for (int P = 0; P < N; ++P) {
                const double A = Number(), B = Number(), Cc = Number();
                In.SkipLine();
                Points.push_back({Cc / 1000, A / 1000, B / 1000});
            }
        }
        auto E = std::make_unique<TGeoBSurf>();
        TBSplineSurface& S = E->Surface();
        S.SetSize(Curves, N);
        try {
            S.SetOrderU(Order);
            S.SetOrderV(Order);
        } catch (const std::exception& Ex) {
            throw EInOutError(FName + "(8): " + Ex.what());
        }
        for (int J = 0; J < Curves; ++J)
            for (int K = 0; K < N; ++K) {
                const TMVector& V = Points[static_cast<std::size_t>(J * N + N - 1 - K)];
                TRPoint& Pt = S.Point(J, K);
                Pt.X = V.X;
                Pt.Y = V.Y;
                Pt.Z = V.Z;
            }
        S.UpdateKnots();
        return E;
    }

private:
    [[noreturn]] void Fail(const std::string& What) const {
        throw EInOutError(FName + "(" + std::to_string(In.LastLineNumber()) + "): " + What);
    }
    double Number() {
        try {
            return In.ReadReal();
        } catch (const EInOutError& E) {
            if (In.Eof()) throw EInOutError(FName + "(" + std::to_string(In.LineNumber()) + "): unexpected end of file");
            Fail(std::string("bad number (") + E.what() + ")");
        }
    }
    int ReadCount(const char* What, int Low, int High) {
        const double V = Number();
        In.SkipLine();
        if (V != std::floor(V) || V < Low || V > High)
            Fail(std::string("the ") + What + " must be a whole number from " + std::to_string(Low) + " to " +
                 std::to_string(High));
        return static_cast<int>(V);
    }
    void SkipLines(int Count) {
        for (int I = 0; I < Count; ++I) {
            if (In.Eof()) throw EInOutError(FName + "(" + std::to_string(In.LineNumber()) + "): unexpected end of file");
            In.SkipLine();
        }
    }

    std::string FName;
    TTextReader In;
};

}  // namespace

void ImportKeldaneHullFile(const std::string& FileName, TGeometryList& Document) {
    RunImport("Keldane", FileName, Document,
              [&](TImportedEntities& Entities) { Entities.push_back(TKeldaneReader(FileName).Read()); });
}

void ImportKeldaneHull(IUserDialogs& Dialogs, TGeometryList& Document) {
    TOpenDialog Dialog;
    Dialog.Title = "Import Keldane Hull";
    Dialog.Filter = "Keldane (*.kdn)|*.kdn";
    Dialog.DefaultExt = "kdn";
    if (Dialogs.ExecuteOpenDialog(Dialog)) ImportKeldaneHullFile(Dialog.FileName, Document);
}

}  // namespace sarnova
