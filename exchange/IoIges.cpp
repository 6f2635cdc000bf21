#include "exchange/IoIges.h"

#include <unordered_set>

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
#include "exchange/ExportItems.h"
#include "exchange/IoImport.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
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

    // False for an object IGES export has no form for.
    bool Object(const TGeometryQueryItem& Item) {
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
        } else {
            return false;
        }
        return true;
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
        // Numbers that are only rounding noise are written as 0, so that the arc read back gives the
        // same file again.
        const double Radius = VectorLength(VectorFromTo(Centre, Start));
        X = WithoutNoise(X, 1.0);
        Y = WithoutNoise(Y, 1.0);
        Centre = WithoutNoise(Centre, Radius + VectorLength(Centre));
        const TMMatrix M = MatrixFromAxes(X, Y, WithoutNoise(Cross(X, Y), 1.0), Centre);
        const TMMatrix Inverse = MatrixInverse(M);
        Add<TIGESEntity124>().SetMatrix(M);
        const int MatrixDE = 2 * F.Count() - 1;
        auto& A = Add<TIGESEntity100>();
        A.StartPoint = TRPoint(WithoutNoise(MatrixTransformPoint(Inverse, Start), Radius));
        A.EndPoint = TRPoint(WithoutNoise(MatrixTransformPoint(Inverse, End), Radius));
        A.Centre = TRPoint(WithoutNoise(MatrixTransformPoint(Inverse, Centre), Radius));
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

    void Surface(const TBSplineSurface& Given) {
        const std::unique_ptr<TBSplineSurface> Equivalent = WritableEquivalent(Given);
        const TBSplineSurface& S = Equivalent ? *Equivalent : Given;
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
        // Curves in a surface's parameter space (u, v), not in model space: those a curve on a
        // surface points at as its parameter curve, and those whose use flag says so.
        std::unordered_set<int> ParameterCurves;
        for (int I = 0; I < F.Count(); ++I) {
            TIGESEntity& E = *F.Items(I);
            if (E.Status.EntityUse == 5 && IsCurve(E.EntityType)) ParameterCurves.insert(E.DirectorySequence);
            if (E.EntityType == 142) {
                const std::vector<double> P = E.ReadParameters(4);
                if (P.size() > 3) ParameterCurves.insert(static_cast<int>(P[3]));
            }
        }
        for (int I = 0; I < F.Count(); ++I) {
            TIGESEntity& E = *F.Items(I);
            if (ParameterCurves.contains(E.DirectorySequence)) {
                Skipped.Add("parameter-space curve");
                continue;
            }
            try {
                if (!Entity(E)) Skipped.Add(KindName(E.EntityType));
            } catch (const std::exception& Err) {
                // Messages of the entity classes that do not say where they arose.
                if (GConsole && std::string(Err.what()).find("directory entry") == std::string::npos)
                    GConsole->WriteLine("IGES: the error arose reading " + E.Where());
                throw;
            }
        }
    }

    TSkippedKinds Skipped;

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

    // The entity as the class its type number names; a mismatch is refused rather than misread.
    template <class T>
    static T& Of(TIGESEntity& E) {
        if (auto* Typed = dynamic_cast<T*>(&E)) return *Typed;
        throw EError("IGES directory entry " + std::to_string(E.DirectorySequence) + " of type " +
                     std::to_string(E.EntityType) + " could not be read as that type");
    }

    static bool IsCurve(int Type) {
        switch (Type) {
            case 100: case 102: case 104: case 106: case 110: case 112: case 126: return true;
            default: return false;
        }
    }

    static std::string KindName(int Type) {
        const char* Name = nullptr;
        switch (Type) {
            case 141: Name = "boundary"; break;
            case 142: Name = "curve on a surface"; break;
            case 143: Name = "bounded surface"; break;
            case 144: Name = "trimmed surface"; break;
            case 186: Name = "B-rep solid"; break;
            case 502: Name = "vertex list"; break;
            case 504: Name = "edge list"; break;
            case 508: Name = "loop"; break;
            case 510: Name = "face"; break;
            case 514: Name = "shell"; break;
            default: break;
        }
        return Name ? std::string(Name) + " (type " + std::to_string(Type) + ")" : "type " + std::to_string(Type) + " entity";
    }

    // False for an entity this import does not read.
    bool Entity(TIGESEntity& E) {
        switch (E.EntityType) {
            case 100: {
                auto& A = Of<TIGESEntity100>(E);
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
            case 106: AddPolyline(Of<TIGESPolylineEntity>(E).GetPolyline()); break;
            case 108: {
                auto G = std::make_unique<TGeoPlane>();
                // In the form a document reads it back in.
                G->Plane().SetPlane(PlaneOfUnitNormal(Of<TIGESEntity108>(E).GetPlane()));
                Add(std::move(G));
                break;
            }
            case 110: {
                auto& L = Of<TIGESEntity110>(E);
                TPolyline P;
                P.AddPointCopy(&L.GetStartPoint());
                P.AddPointCopy(&L.GetEndPoint());
                AddPolyline(P);
                break;
            }
            case 126: {
                auto& C = Of<TIGESEntity126>(E);
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
                auto& S = Of<TIGESEntity128>(E);
                if (S.IsSupported()) {
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
            case 124: break;  // matrices are read through the entities that use them
            default: return false;
        }
        return true;
    }

    TIGESFile& F;
    TImportedEntities& Entities;
    TMMatrix Scale = IdentityMatrix;
    bool Scaled = false;
};

}  // namespace

bool TIGESFile::AddGeometry(const TGeometryQueryItem& Object) { return TIgesWriter(*this).Object(Object); }

void ImportIGES(const std::string& FileName, TGeometryList& Document) {
    RunImport("IGES", FileName, Document, [&](TImportedEntities& Entities) {
        TIGESFile File;
        File.LoadFromFile(FileName);
        TIgesReader Reader(File, Entities);
        Reader.Run();
        Reader.Skipped.Report("IGES", FileName);
        if (Entities.empty()) ThrowNothingImported(FileName, Reader.Skipped.Empty() ? "the file holds no entities"
                                                                                   : "not imported: " + Reader.Skipped.Text());
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
    TLeftOut LeftOut;
    for (int I = 0; I < Query.Count(); ++I) {
        const int Mark = File.Count();
        try {
            if (!File.AddGeometry(Query.Item(I))) LeftOut.Add(Query.Item(I).Name, "IGES export has no form for it");
        } catch (const std::exception& E) {
            File.Truncate(Mark);
            LeftOut.Add(Query.Item(I).Name, E.what());
        }
    }
    File.SaveToFile(FileName);
    LeftOut.Report("IGES", FileName);
}

}  // namespace sarnova
