#include "exchange/IoSrf.h"

#include <filesystem>

#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "entities/GBSurf.h"
#include "exchange/IoImport.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/TextFile.h"
#include "surfaces/BSurface.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

namespace {

// The largest count of points of a direction whose knots fit the knot vector with order 2.
constexpr int MaxPoints = MaxKnots - 2;

class TSrfReader {
public:
    TSrfReader(const std::string& FileName, TImportedEntities& Entities) : F(FileName), FEntities(Entities) {}

    void Read(double ZSign) {
        Next();
        const int Count = Integer(Next());
        // Each surface takes at least eight lines.
        if (Count < 0 || static_cast<std::size_t>(Count) > Remaining() / 8 + 1) Fail("bad number of surfaces");
        for (int S = 0; S < Count; ++S) Surface(ZSign);
    }

private:
    std::size_t Remaining() const { return F.Remaining(); }
    std::string_view Next() { return F.Next(); }
    [[noreturn]] void Fail(const std::string& What) const { F.Fail(What); }
    int Integer(std::string_view Text) const { return F.Integer(Text); }
    double Real(std::string_view Text) const { return F.Real(Text); }
    // The first two comma-separated fields (the second up to a further comma).
    std::pair<std::string_view, std::string_view> Pair(std::string_view Line) {
        const std::size_t C = Line.find(',');
        if (C == Line.npos) Fail("two values separated by a comma expected");
        std::string_view Second = Line.substr(C + 1);
        Second = Second.substr(0, Second.find(','));
        return {Line.substr(0, C), Second};
    }
    // Count reals separated by commas.
    void Reals(std::string_view Line, double* Values, int Count) {
        for (int I = 0; I < Count; ++I) {
            const std::size_t C = Line.find(',');
            if (C == Line.npos && I < Count - 1) Fail(std::to_string(Count) + " values expected");
            Values[I] = Real(Line.substr(0, C));
            Line = C == Line.npos ? std::string_view() : Line.substr(C + 1);
        }
    }
    void Knots(std::string_view Line, int Count, bool Keep, void (TBSplineSurface::*Set)(int, double), TBSplineSurface& S) {
        if (!Keep) return;
        std::vector<double> Values(static_cast<std::size_t>(Count));
        Reals(Line, Values.data(), Count);
        for (int K = 0; K < Count; ++K) (S.*Set)(K + 1, Values[static_cast<std::size_t>(K)]);
    }

    void Surface(double ZSign) {
        const std::string Name(TrimmedView(Next()));
        Next();
        const bool NonUniform = UpperCase(Next()).find("NONUNIFORM") != std::string::npos;
        const auto [OU, OV] = Pair(Next());
        const int OrderU = Integer(OU), OrderV = Integer(OV);
        const auto [CU, CV] = Pair(Next());
        const int NU = Integer(CU), NV = Integer(CV);
        if (NU < 1 || NV < 1 || NU > MaxPoints || NV > MaxPoints) Fail("bad numbers of points");
        if (OrderU < 1 || OrderV < 1 || NU + OrderU > MaxKnots || NV + OrderV > MaxKnots) Fail("bad orders");
        if (static_cast<std::size_t>(NU) * static_cast<std::size_t>(NV) + 2 > Remaining())
            Fail("the file ends before the surface's " + std::to_string(NU * NV) + " points");
        auto E = std::make_unique<TGeoBSurf>();
        TBSplineSurface& S = E->Surface();
        S.SetSize(NU, NV);
        S.SetOrderU(OrderU);
        S.SetOrderV(OrderV);
        if (NonUniform) S.KnotType = ktNonUniform;
        Knots(Next(), NU + OrderU, NonUniform, &TBSplineSurface::SetKnotU, S);
        Knots(Next(), NV + OrderV, NonUniform, &TBSplineSurface::SetKnotV, S);
        for (int I = 0; I < NU; ++I)
            for (int J = 0; J < NV; ++J) {
                double V[4];
                Reals(Next(), V, 4);
                TRPoint& P = S.Point(I, J);
                P.X = V[0];
                P.Y = V[1];
                P.Z = ZSign * V[2];
                P.W = V[3];
            }
        S.UpdateKnots();
        E->SetName(Name);
        FEntities.push_back(std::move(E));
    }

    TImportLines F;
    TImportedEntities& FEntities;
};

double ZSignOf(const std::string& FileName) {
    const std::filesystem::path Aux = std::filesystem::path(FileName).replace_extension(".aux");
    double Sign = -1;
    std::error_code Ec;
    if (!std::filesystem::exists(Aux, Ec)) return Sign;
    for (const std::string& Line : ReadFileLines(Aux)) {
        const std::string L = UpperCase(TrimmedView(Line));
        if (L.find("SET-POSITIVE-Z") == std::string::npos) continue;
        if (L.find("DOWN") != std::string::npos) Sign = -1;
        else if (L.find("UP") != std::string::npos) Sign = 1;
    }
    return Sign;
}

void WriteSurface(TTextWriter& Out, const TBSplineSurface& S, const std::string& Name) {
    const auto Knots = [&](const TKnotArray& K, int Count) {
        std::string Line;
        for (int I = 0; I < Count; ++I)
            Line += FormatWithPoint(I < Count - 1 ? "%g, " : "%g", {K[static_cast<std::size_t>(I)]});
        Out.WriteLine(Line);
    };
    const char* Type = S.KnotType == ktOpen ? "open" : "nonuniform";
    Out.WriteLine(Name);
    Out.WriteLine("nonrational, nonrational");
    Out.WriteLine(FormatWithPoint("%s, %s", {Type, Type}));
    Out.WriteLine(FormatWithPoint("%d, %d", {S.OrderU(), S.OrderV()}));
    Out.WriteLine(FormatWithPoint("%d, %d", {S.NumU(), S.NumV()}));
    Knots(S.KnotsU(), S.NumU() + S.OrderU());
    Knots(S.KnotsV(), S.NumV() + S.OrderV());
    for (int I = 0; I < S.NumU(); ++I)
        for (int J = 0; J < S.NumV(); ++J) {
            const TRPoint& P = S.Point(I, J);
            Out.WriteLine(FormatWithPoint("%g, %g, %g, %g", {P.X, P.Y, -P.Z, P.W}));
        }
}

TSurfaces* AsSurfaces(const TGeometryQueryItem& Item) {
    if (auto* L = Item.As<TBSplineSurfaces>()) return L;
    return Item.As<TBSplineSurfaceList>();
}

}  // namespace

void ImportSrf(const std::string& FileName, TGeometryList& Document) {
    RunImport("SRF", FileName, Document,
              [&](TImportedEntities& Entities) { TSrfReader(FileName, Entities).Read(ZSignOf(FileName)); });
}

void ExportSrf(const std::string& FileName, TGeometryList& Document) {
    TGeometryQuery Query;
    Query.Kinds = 0x280;
    Document.Query(Query, false);
    int Count = 0;
    for (int I = 0; I < Query.Count(); ++I) {
        const TGeometryQueryItem& Item = Query.Item(I);
        if (Item.As<TBSplineSurface>() || Item.As<TMesh>()) ++Count;
        else if (TSurfaces* L = AsSurfaces(Item))
            for (int J = 0; J < L->Count(); ++J) Count += L->BSplineSurface(J) != nullptr ? 1 : 0;
    }
    if (Count == 0) {
        ShowExchangeInformation("There are no entities that can be exported to this surface file format");
        return;
    }
    TTextWriter Out;
    Out.WriteLine("Untitled       ~None available");
    Out.WriteLine(std::to_string(Count));
    int Unnamed = 0;
    for (int I = 0; I < Query.Count(); ++I) {
        const TGeometryQueryItem& Item = Query.Item(I);
        const std::string Name = Item.Name.empty() ? "Surface" + std::to_string(Unnamed) : Item.Name;
        ++Unnamed;
        if (auto* S = Item.As<TBSplineSurface>()) {
            WriteSurface(Out, *S, Name);
        } else if (auto* M = Item.As<TMesh>()) {
            TBSplineSurface Bilinear(M->NumU(), M->NumV());
            Bilinear.Assign(*M);
            Bilinear.SetOrderU(2);
            Bilinear.SetOrderV(2);
            Bilinear.UpdateKnots();
            WriteSurface(Out, Bilinear, Name);
        } else if (TSurfaces* L = AsSurfaces(Item)) {
            int K = 0;
            for (int J = 0; J < L->Count(); ++J)
                if (TBSplineSurface* B = L->BSplineSurface(J)) WriteSurface(Out, *B, Name + "/Surf" + std::to_string(K++));
        }
    }
    Out.SaveToFile(FileName);
}

}  // namespace sarnova
