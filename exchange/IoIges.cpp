#include "exchange/IoIges.h"

#include "curvenet/GBSurfL.h"
#include "document/GBSpline.h"
#include "document/GPline.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/Settings.h"
#include "entities/GArc.h"
#include "entities/GBSurf.h"
#include "entities/GCircle.h"
#include "entities/GMesh.h"
#include "entities/GPlane.h"
#include "exchange/IGESEntities.h"
#include "exchange/IGESFile.h"
#include "exchange/IoImport.h"
#include "foundation/DuZezOride.h"
#include "foundation/DuZezOrideConsole.h"
#include "foundation/Errors.h"
#include "foundation/Plane.h"
#include "foundation/PolyList.h"
#include "naval/CalcSections.h"
#include "platform/LoginName.h"
#include "surfaces/Gregory.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

namespace {

// A X B, right-handed.
TMVector Cross(const TMVector& A, const TMVector& B) { return VectorCross(B, A); }

// The document's design unit expressed in the file's unit; user-defined units carry no scale.
double FileUnitsPerDesignUnit(TIGESUnits Units) {
    return Units == iuUserDefined ? 1.0 : MetresPerDesignUnit() / IGESUnitMetres(Units);
}

class TIgesWriter {
public:
    explicit TIgesWriter(TIGESFile& AFile)
        : F(AFile), Scale(MatrixScaling(AFile.Scale, AFile.Scale, AFile.Scale)), Scaled(AFile.Scale != 1.0) {}

    void Object(const TGeometryQueryItem& Item) {
        if (auto* S = Item.As<TBSpline>()) Spline(*S);
        else if (auto* P = Item.As<TPolyline>()) Polyline(*P);
        else if (auto* Pl = Item.As<TPlane>()) Plane(Pl->Plane());
        else if (auto* A = Item.As<TArc>()) Arc(*A);
        else if (auto* C = Item.As<TCircle>()) Circle(*C);
        else if (auto* G = Item.As<TGregorySurface>()) Mesh(*G->CreateMeshSized(50, 50));
        else if (auto* L = AsPolylineList(Item)) {
            for (int I = 0; I < L->Count(); ++I) Curve(*L->Items(I));
        } else if (auto* B = Item.As<TBSplineSurface>()) Surface(*B);
        else if (auto* M = Item.As<TMesh>()) Mesh(*M);
        else if (auto* SL = AsSurfaces(Item)) {
            for (int I = 0; I < SL->Count(); ++I)
                if (TBSplineSurface* B = SL->BSplineSurface(I)) Surface(*B);
        }
    }

private:
    static TPolylineList* AsPolylineList(const TGeometryQueryItem& Item) {
        if (auto* L = Item.As<TPolylineList>()) return L;
        if (auto* L = Item.As<TCalculationSections>()) return L;
        return Item.As<TBSplineList>();
    }
    static TSurfaces* AsSurfaces(const TGeometryQueryItem& Item) {
        if (auto* L = Item.As<TBSplineSurfaces>()) return L;
        return Item.As<TBSplineSurfaceList>();
    }

    template <class T>
    T& Add() {
        return static_cast<T&>(*F.Add(std::make_unique<T>()));
    }

    // A list's B-spline items stay B-splines.
    void Curve(TPolyline& P) {
        if (auto* S = dynamic_cast<TBSpline*>(&P)) Spline(*S);
        else Polyline(P);
    }

    void Spline(const TBSpline& S) {
        if (Scaled) Add<TIGESEntity126>().SetSpline(*S.Transformed(Scale));
        else Add<TIGESEntity126>().SetSpline(S);
    }

    void Polyline(const TPolyline& P) {
        if (Scaled) Add<TIGESEntity106>().SetPolyline(*P.Transformed(Scale));
        else Add<TIGESEntity106>().SetPolyline(P);
    }

    void Plane(TMPlane P) {
        P.Distance *= F.Scale;
        Add<TIGESEntity108>().SetPlane(P);
    }

    // A matrix entity placing the arc's plane, then the arc in that plane about the origin.
    void PlacedArc(TMVector Centre, TMVector X, TMVector Y, const TMVector& Start, const TMVector& End) {
        const TMMatrix M = MatrixFromAxes(X, Y, Cross(X, Y), Centre);
        const TMMatrix Inverse = MatrixInverse(M);
        Add<TIGESEntity124>().SetMatrix(M);
        const int MatrixDE = 2 * F.Count() - 1;
        auto& A = Add<TIGESEntity100>();
        A.StartPoint = TRPoint(MatrixTransformPoint(Inverse, Start));
        A.EndPoint = TRPoint(MatrixTransformPoint(Inverse, End));
        A.Centre = TRPoint(MatrixTransformPoint(Inverse, Centre));
        A.TransformationMatrix = MatrixDE;
        A.EncodeParameters();
    }

    TMVector Place(const TMVector& V) const { return Scaled ? MatrixTransformPoint(Scale, V) : V; }

    void Arc(const TArc& A) {
        const TMArc Frame = A.Frame();
        PlacedArc(Place(Frame.Centre), Frame.XAxis, Frame.YAxis, Place(A.GetPoint(0)->Vector()),
                  Place(A.GetPoint(2)->Vector()));
    }

    void Circle(const TCircle& C) {
        const TMCircle Frame = C.Frame();
        const TMVector Start = Place(VectorAdd(Frame.Centre, VectorScale(Frame.XAxis, Frame.Radius)));
        PlacedArc(Place(Frame.Centre), Frame.XAxis, Frame.YAxis, Start, Start);
    }

    void Surface(const TBSplineSurface& S) {
        if (Scaled) Add<TIGESEntity128>().SetSurface(*S.CreateTransformed(Scale));
        else Add<TIGESEntity128>().SetSurface(S);
    }

    // A bilinear B-spline surface through the mesh points.
    void Mesh(const TMesh& M) {
        TBSplineSurface S(M.NumU(), M.NumV());
        S.TMesh::Assign(M);
        S.SetOrderU(2);
        S.SetOrderV(2);
        S.UpdateKnots();
        Surface(S);
    }

    TIGESFile& F;
    TMMatrix Scale;
    bool Scaled;
};

class TIgesReader {
public:
    TIgesReader(TIGESFile& AFile, TImportedEntities& AEntities) : F(AFile), Entities(AEntities) {}

    void Run() {
        const double S = F.GlobalSection.Units == iuUserDefined ? 1.0
                                                                 : 1.0 / FileUnitsPerDesignUnit(F.GlobalSection.Units);
        Scale = MatrixScaling(S, S, S);
        Scaled = S != 1.0;
        if (F.CountOfType(128) > 1) List = std::make_unique<TBSplineSurfaceList>();
        for (int I = 0; I < F.Count(); ++I) {
            TIGESEntity& E = *F.Items(I);
            try {
                Entity(E);
            } catch (const std::exception& Err) {
                // Messages of the entity classes that do not say where they arose.
                if (GConsole && std::string(Err.what()).find("directory entry") == std::string::npos)
                    GConsole->WriteLine("IGES: the error arose reading " + E.Where());
                throw;
            }
        }
        if (List) {
            auto E = std::make_unique<TGeoBSurfList>();
            E->Surfaces().AssignCopies(*List);
            // Its surfaces were scaled as they were collected.
            Entities.push_back(std::move(E));
        }
    }

private:
    void Add(std::unique_ptr<TGeometry> E) {
        if (Scaled) E->Transform(Scale);
        Entities.push_back(std::move(E));
    }

    void AddPolyline(const TPolyline& P) {
        auto E = std::make_unique<TGeoPline>();
        E->Polyline().AddCopies(P);
        Add(std::move(E));
    }

    void Entity(TIGESEntity& E) {
        switch (E.EntityType) {
            case 100: {
                auto& A = static_cast<TIGESEntity100&>(E);
                if (A.IsFullCircle()) {
                    auto G = std::make_unique<TGeoCircle>();
                    G->Circle().Assign(A.GetCircle());
                    Add(std::move(G));
                } else {
                    auto G = std::make_unique<TGeoArc>();
                    G->Arc().Assign(A.GetArc());
                    Add(std::move(G));
                }
                break;
            }
            case 102:
            case 106: AddPolyline(static_cast<TIGESPolylineEntity&>(E).GetPolyline()); break;
            case 108: {
                auto G = std::make_unique<TGeoPlane>();
                // In the form a document reads it back in.
                G->Plane().SetPlane(PlaneOfUnitNormal(static_cast<TIGESEntity108&>(E).GetPlane()));
                Add(std::move(G));
                break;
            }
            case 110: {
                auto& L = static_cast<TIGESEntity110&>(E);
                TPolyline P;
                P.AddPointCopy(&L.GetStartPoint());
                P.AddPointCopy(&L.GetEndPoint());
                AddPolyline(P);
                break;
            }
            case 126: {
                auto& C = static_cast<TIGESEntity126&>(E);
                if (C.IsSupported()) {
                    auto G = std::make_unique<TGeoBSpline>();
                    G->Spline().Assign(C.GetSpline());
                    Add(std::move(G));
                } else {
                    AddPolyline(*C.ControlPolygon());
                    if (GConsole) GConsole->WriteLine("Info: BSpline has too many points, polyline representation created");
                }
                break;
            }
            case 128: {
                auto& S = static_cast<TIGESEntity128&>(E);
                if (S.IsSupported() && List) {
                    auto Copy = std::make_unique<TBSplineSurface>();
                    Copy->Assign(S.GetSurface());
                    if (Scaled) Copy = Copy->CreateTransformed(Scale);
                    List->AddSurface(std::move(Copy));
                } else if (S.IsSupported()) {
                    auto G = std::make_unique<TGeoBSurf>();
                    G->Surface().Assign(S.GetSurface());
                    Add(std::move(G));
                } else {
                    auto G = std::make_unique<TGeoMesh>();
                    G->Net().Assign(*S.ControlNet());
                    Add(std::move(G));
                    if (GConsole)
                        GConsole->WriteLine("Info: BSpline Surface has too many points, Mesh representation created");
                }
                break;
            }
            default: break;
        }
    }

    TIGESFile& F;
    TImportedEntities& Entities;
    std::unique_ptr<TBSplineSurfaceList> List;
    TMMatrix Scale = IdentityMatrix;
    bool Scaled = false;
};

}  // namespace

void TIGESFile::AddGeometry(const TGeometryQueryItem& Object) { TIgesWriter(*this).Object(Object); }

void ImportIGES(const std::string& FileName, TGeometryList& Document) {
    RunImport("IGES", FileName, Document, [&](TImportedEntities& Entities) {
        TIGESFile File;
        File.LoadFromFile(FileName);
        TIgesReader(File, Entities).Run();
        if (!GConsole) return;
        const TIGESGlobalSection& G = File.GlobalSection;
        for (const std::string& Line :
             {std::string(" "), std::string("IGES Global Header:"), "  Filename : " + G.FileName,
              "  System ID : " + G.NativeSystemID, "  Preprocessor Version : " + G.PreprocessorVersion,
              "  Units : " + G.UnitsName, "  Author : " + G.Author, "  Organisation : " + G.Organisation,
              "  IGESVersion  : " + IGESVersionName(G.IGESVersion), std::string("IGES Importing Complete"),
              std::string(" ")})
            GConsole->WriteLine(Line);
    });
}

void ExportIGES(const std::string& FileName, TGeometryList& Document) {
    TIGESFile File;
    File.StartLines = {"Sarnova IGES File"};
    TIGESGlobalSection& G = File.GlobalSection;
    std::string Product, Version, Legal, Company;
    GetVersionInfoValue(6, Product);
    GetVersionInfoValue(2, Version);
    GetVersionInfoValue(4, Legal);
    GetVersionInfoValue(0, Company);
    G.NativeSystemID = Product + " " + Version + " " + Legal;
    G.Author = GetLoginName();
    G.Organisation = Company;
    File.EditProperties();
    File.Scale = FileUnitsPerDesignUnit(G.Units);
    TGeometryQuery Query;
    Query.Kinds = 0x1ADE;
    Document.Query(Query, false);
    for (int I = 0; I < Query.Count(); ++I) File.AddGeometry(Query.Item(I));
    File.SaveToFile(FileName);
}

}  // namespace sarnova
