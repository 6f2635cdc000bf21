#include "exchange/IoAnsys.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "document/GPline.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "entities/GArc.h"
#include "entities/GGonList.h"
#include "entities/PressureField.h"
#include "exchange/AnsysFile.h"
#include "exchange/ExportItems.h"
#include "exchange/IoImport.h"
#include "foundation/Arc.h"
#include "foundation/BSpline.h"
#include "foundation/Curve.h"
#include "foundation/Console.h"
#include "foundation/GeomFacet.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"
#include "foundation/VkMathsIntersect.h"
#include "surfaces/BSurface.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

void ImportAnsys(const std::string& FileName, TGeometryList& Document) {
    RunImport("Ansys", FileName, Document, [&](TImportedEntities& Entities) {
        TAnsysFile File;
        File.LoadFromFile(FileName);
        TGeoPGonlist* Facets = nullptr;
        const auto Key = [&](const TAnsysEntity& E, int I) { return File.KeyPoints[static_cast<std::size_t>(E.Points[I])]; };
        const auto Node = [&](const TAnsysEntity& E, int I) { return File.Nodes[static_cast<std::size_t>(E.Points[I])]; };
        for (const TAnsysEntity& E : File.Entities) {
            switch (E.Kind) {
            case TAnsysKind::akLine: {
                auto G = std::make_unique<TGeoPline>();
                const TMVector A = Key(E, 0), B = Key(E, 1);
                G->Polyline().AddPoint(A.X, A.Y, A.Z);
                G->Polyline().AddPoint(B.X, B.Y, B.Z);
                Entities.push_back(std::move(G));
                break;
            }
            case TAnsysKind::akArc: {
                auto G = std::make_unique<TGeoArc>();
                G->Arc().SetFrame(ArcFromEndsAndCentre(Key(E, 0), Key(E, 1), Key(E, 2)));
                Entities.push_back(std::move(G));
                break;
            }
            case TAnsysKind::akElement: {
                if (E.Points.size() != 3 && E.Points.size() != 4) break;
                if (!Facets) {
                    auto G = std::make_unique<TGeoPGonlist>();
                    Facets = G.get();
                    Entities.push_back(std::move(G));
                }
                Facets->Facets().Add(E.Points.size() == 3 ? TriangleFromVectors(Node(E, 0), Node(E, 1), Node(E, 2))
                                                          : QuadFromVectors(Node(E, 0), Node(E, 1), Node(E, 2), Node(E, 3)));
                break;
            }
            }
        }
    });
}

namespace {

void AddChain(TAnsysFile& File, TPolyline& P) {
    for (int K = 1; K < P.Count(); ++K) File.AddLine(P.Point(K - 1)->Vector(), P.Point(K)->Vector());
}

void AddMesh(TAnsysFile& File, const TMesh& M) {
    for (int A = 1; A < M.NumU(); ++A)
        for (int B = 1; B < M.NumV(); ++B)
            File.AddQuadElement(M.Point(A - 1, B - 1).Vector(), M.Point(A, B - 1).Vector(), M.Point(A, B).Vector(),
                                M.Point(A - 1, B).Vector());
}

void AddArc(TAnsysFile& File, const TArc& Arc, const std::string& Name) {
    const TMArc F = Arc.Frame();
    if (!(F.Sweep > 0) || !(F.Radius > 0)) {
        GConsole->WriteLine("Ansys export: arc " + Name + " skipped, its sweep is not positive");
        return;
    }
    const int Parts = static_cast<int>(std::ceil(F.Sweep / (std::numbers::pi / 2) - 1e-12));
    const auto At = [&](double Angle) {
        const double C = F.Radius * std::cos(Angle), S = F.Radius * std::sin(Angle);
        return TMVector{F.Centre.X + C * F.XAxis.X + S * F.YAxis.X, F.Centre.Y + C * F.XAxis.Y + S * F.YAxis.Y,
                        F.Centre.Z + C * F.XAxis.Z + S * F.YAxis.Z};
    };
    TMVector Start = Arc.GetPoint(0)->Vector();
    for (int P = 1; P <= Parts; ++P) {
        // Rounding noise written as 0, so that the arc read back gives the same script again.
        const TMVector End = WithoutNoise(At(P * F.Sweep / Parts), F.Radius + VectorLength(F.Centre));
        File.AddArc(Start, End, F.Centre, F.Radius);
        Start = End;
    }
}

// Facet lists (pressure fields among them): an element a facet, as the import reads them.
TPolygonList* AsFacets(const TGeometryQueryItem& Item) {
    if (auto* L = Item.As<TPolygonList>()) return L;
    return Item.As<TPressureField>();
}

void AddFacets(TAnsysFile& File, const TPolygonList& Facets) {
    for (int I = 0; I < Facets.Count(); ++I) {
        const TFacetRef F = Facets.Polygon(I);
        TMVector Corners[4];
        const int N = std::min(F.CornerCount(), 4);
        for (int K = 0; K < N; ++K) Corners[K] = F.Corner(K)->Vector();
        File.AddElement(Corners, N);
    }
}

void AddSurface(TAnsysFile& File, TBSplineSurface& B) {
    const std::unique_ptr<TBSplineSurface> Equivalent = WritableEquivalent(B);
    AddMesh(File, *(Equivalent ? Equivalent.get() : &B)->CreateMesh());
}

// False for an object the script has no form for.
bool AddItem(TAnsysFile& File, const TGeometryQueryItem& Item) {
    if (auto* S = Item.As<TBSpline>()) AddChain(File, *S->Digitise());
    else if (auto* G = Item.As<TGeneratedCurve>()) AddChain(File, *G->Digitise());
    else if (auto* P = Item.As<TPolyline>()) AddChain(File, *P);
    else if (auto* L = Item.As<TPolylineList>()) {
        for (int K = 0; K < L->Count(); ++K) AddChain(File, *L->Items(K));
    } else if (auto* A = Item.As<TArc>()) AddArc(File, *A, Item.Name);
    else if (auto* SL = Item.As<TBSplineSurfaces>()) {
        for (int K = 0; K < SL->Count(); ++K)
            if (TBSplineSurface* B = SL->BSplineSurface(K)) AddSurface(File, *B);
    } else if (auto* B = Item.As<TBSplineSurface>()) AddSurface(File, *B);
    else if (auto* M = Item.As<TMesh>()) AddMesh(File, *M);
    else if (auto* Facets = AsFacets(Item)) AddFacets(File, *Facets);
    else return false;
    return true;
}

}  // namespace

void ExportAnsys(const std::string& FileName, TGeometryList& Document) {
    TGeometryQuery Query;
    // The elements' kinds and facet lists, which the import reads back as elements.
    Query.Kinds = 0x22D6 | QueryKinds({qkPolygonList});
    Document.Query(Query, false);
    TAnsysFile File;
    TLeftOut LeftOut;
    for (int I = 0; I < Query.Count(); ++I) {
        const TGeometryQueryItem& Item = Query.Item(I);
        const std::size_t Mark = File.Entities.size();
        try {
            if (!AddItem(File, Item)) LeftOut.Add(Item.Name, "the Ansys script has no form for it");
        } catch (const std::exception& E) {
            File.Entities.resize(Mark);
            LeftOut.Add(Item.Name, E.what());
        }
    }
    File.SaveToFile(FileName);
    LeftOut.Report("Ansys", FileName);
}

}  // namespace sarnova
