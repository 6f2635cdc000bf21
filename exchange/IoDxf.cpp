#include "exchange/IoDxf.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "document/GBSpline.h"
#include "document/GPline.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/Settings.h"
#include "entities/GArc.h"
#include "entities/GBSurf.h"
#include "entities/GGonList.h"
#include "entities/GMesh.h"
#include "entities/GPointList.h"
#include "entities/PointList.h"
#include "entities/PressureField.h"
#include "exchange/DXFFile.h"
#include "exchange/ExportItems.h"
#include "exchange/IoImport.h"
#include "exchange/PolyMesh.h"
#include "foundation/Arc.h"
#include "foundation/BSpline.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/VkMathsIntersect.h"
#include "naval/CalcSections.h"
#include "surfaces/BSurface.h"
#include "surfaces/Gregory.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

TMMatrix OCSMatrix(const TMVector& Extrusion) {
    const TMVector N = VectorNormalise({TruncateDecimals(Extrusion.X, 8), TruncateDecimals(Extrusion.Y, 8),
                                        TruncateDecimals(Extrusion.Z, 8)});
    const double Limit = 1.0 / 64.0;
    const TMVector W = std::fabs(N.X) < Limit && std::fabs(N.Y) < Limit ? TMVector{0, 1, 0} : TMVector{0, 0, 1};
    // VectorCross(A, B) is B x A.
    const TMVector Ax = VectorNormalise(VectorCross(N, W));
    const TMVector Ay = VectorNormalise(VectorCross(Ax, N));
    return MatrixFromAxes(Ax, Ay, N, {0, 0, 0});
}

// ---- Import ----

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;

// A file that holds nothing to read, with the reason.
struct ENothingInFile : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class TDxfReader {
public:
    TDxfReader(TDXFFile& AFile, TImportedEntities& AEntities) : F(AFile), Entities(AEntities) {}

    void Run() {
        ReadUnits();
        const bool Sections = F.FindEntitiesSection();
        if (GConsole) GConsole->WriteLine("IoDXF: Reading entities...");
        while (!F.NextIsEndSec()) {
            switch (F.NextEntityKind()) {
                case dekLine: ReadLine(); break;
                case dekArc: ReadArc(); break;
                case dekCircle: ReadCircle(); break;
                case dekLWPolyline: ReadLWPolyline(); break;
                case dek3DFace: Read3DFace(); break;
                case dekPoint: ReadPoint(); break;
                case dekPolyline: ReadPolyline(); break;
                default:
                    // A file without sections is read from its start: its section and table records
                    // are no drawing entities left out.
                    if (Sections && F.EntityKind() != dekSeqEnd)
                        Skipped.Add(PrintableText(UpperCase(Trim(F.Value())), 32));
                    break;
            }
        }
        if (Faces) {
            auto E = std::make_unique<TGeoPGonlist>();
            E->Facets().Assign(*Faces);
            Entities.push_back(std::move(E));
        }
        if (Points) {
            auto E = std::make_unique<TGeoPointList>();
            E->Cloud().Assign(*Points);
            Entities.push_back(std::move(E));
        }
        if (Bulges > 0) Skipped.Add(Bulges == 1 ? "polyline bulge (drawn straight)" : "polyline bulges (drawn straight)", Bulges);
        if (Entities.empty() && !Sections &&
            [&] {
                for (int I = 0; I < F.LineCount(); ++I)
                    if (TrimmedView(F.LineAt(I)) == "SECTION") return true;
                return false;
            }())
            throw ENothingInFile("the file has no ENTITIES section");
        if (UnitScale != 1.0) {
            const TMMatrix M = MatrixScaling(UnitScale, UnitScale, UnitScale);
            for (auto& E : Entities) E->Transform(M);
        }
    }

    TSkippedKinds Skipped;
    // The drawing's unit in the document's, and its name; 1 and empty when the file gives none.
    double UnitScale = 1.0;
    std::string UnitName;

private:
    // $INSUNITS of the HEADER section, when there is one.
    void ReadUnits() {
        static const std::pair<const char*, double> Units[] = {
            {"", 0},           {"inches", 0.0254},      {"feet", 0.3048},      {"miles", 1609.344},
            {"millimetres", 0.001}, {"centimetres", 0.01}, {"metres", 1.0},    {"kilometres", 1000.0},
            {"microinches", 2.54e-8}, {"mils", 2.54e-5},  {"yards", 0.9144},   {"angstroms", 1e-10},
            {"nanometres", 1e-9}, {"microns", 1e-6},      {"decimetres", 0.1},  {"decametres", 10.0},
            {"hectometres", 100.0}, {"gigametres", 1e9},  {"astronomical units", 1.495978707e11},
            {"light years", 9.4607304725808e15}, {"parsecs", 3.0856775814913673e16}};
        F.Reset();
        if (F.FindSection("HEADER")) {
            // Header variables are groups 9 and their values, up to the section's end (group 0).
            while (F.ReadCode() != 0) {
                if (F.GroupCode != 9 || Trim(F.Value()) != "$INSUNITS") continue;
                const int Code = F.ReadCode() == 70 ? F.ValueAsInteger() : 0;
                if (Code > 0 && Code < static_cast<int>(std::size(Units))) {
                    UnitName = Units[Code].first;
                    UnitScale = Units[Code].second / MetresPerDesignUnit();
                }
                break;
            }
        }
        F.Reset();
    }

    // Groups 10/20/30 + Offset into V; true when Code was one of them.
    bool Coordinate(int Code, int Offset, TMVector& V) {
        if (Code == 10 + Offset) V.X = F.ValueAsFloat();
        else if (Code == 20 + Offset) V.Y = F.ValueAsFloat();
        else if (Code == 30 + Offset) V.Z = F.ValueAsFloat();
        else return false;
        return true;
    }
    bool Extrusion(int Code, TMVector& V) {
        if (Code == 210) V.X = F.ValueAsFloat();
        else if (Code == 220) V.Y = F.ValueAsFloat();
        else if (Code == 230) V.Z = F.ValueAsFloat();
        else return false;
        return true;
    }

    void Add(std::unique_ptr<TGeometry> E) { Entities.push_back(std::move(E)); }

    void AddPolyline(const TPolyline& P, bool Closed, const TMMatrix* OCS) {
        auto E = std::make_unique<TGeoPline>();
        E->Polyline().AddCopies(P);
        if (Closed) E->Polyline().SetClosed(true);
        if (OCS) E->Transform(*OCS);
        Add(std::move(E));
    }

    void ReadLine() {
        TMVector A, B;
        while (!F.AtEntityStart()) {
            const int Code = F.ReadCode();
            if (!Coordinate(Code, 0, A)) Coordinate(Code, 1, B);
        }
        TPolyline P;
        P.AddVector(A);
        P.AddVector(B);
        AddPolyline(P, false, nullptr);
    }

    void ReadArc() {
        TMVector Centre, Ext{0, 0, 1};
        double Radius = 0, Start = 0, End = 0;
        while (!F.AtEntityStart()) {
            const int Code = F.ReadCode();
            if (Coordinate(Code, 0, Centre) || Extrusion(Code, Ext)) continue;
            if (Code == 40) Radius = F.ValueAsFloat();
            else if (Code == 50) Start = F.ValueAsFloat();
            else if (Code == 51) End = F.ValueAsFloat();
        }
        // Whole turns at once: a loop adding 360 would not end for an angle of 1e300.
        if (End < Start) End += 360.0 * std::ceil((Start - End) / 360.0);
        if (End < Start) End += 360.0;
        auto E = std::make_unique<TGeoArc>();
        E->Arc().SetFrame(ArcFromAngles(Centre, {0, 0, -1}, Radius, Start * DegToRad, End * DegToRad));
        E->Transform(OCSMatrix(Ext));
        Add(std::move(E));
    }

    void ReadCircle() {
        TMVector Centre, Ext{0, 0, 1};
        double Radius = 0;
        while (!F.AtEntityStart()) {
            const int Code = F.ReadCode();
            if (Coordinate(Code, 0, Centre) || Extrusion(Code, Ext)) continue;
            if (Code == 40) Radius = F.ValueAsFloat();
        }
        TPolyline P;
        for (int I = 0; I <= 99; ++I) {
            const double A = I / 99.0 * 2 * std::numbers::pi;
            P.AddPoint(Centre.X + Radius * std::cos(A), Centre.Y + Radius * std::sin(A), Centre.Z);
        }
        const TMMatrix M = OCSMatrix(Ext);
        AddPolyline(P, false, &M);
    }

    void ReadLWPolyline() {
        TMVector Ext{0, 0, 1};
        double X = 0, Elevation = 0;
        int Flags = 0;
        TPolyline P;
        while (!F.AtEntityStart()) {
            const int Code = F.ReadCode();
            if (Extrusion(Code, Ext)) continue;
            if (Code == 10) X = F.ValueAsFloat();
            else if (Code == 20) P.AddPoint(X, F.ValueAsFloat(), 0);
            else if (Code == 38) Elevation = F.ValueAsFloat();
            else if (Code == 70) Flags = F.ValueAsInteger();
            else if (Code == 42 && F.ValueAsFloat() != 0) ++Bulges;
        }
        for (int I = 0; I < P.Count(); ++I) P.Point(I)->Z = Elevation;
        const TMMatrix M = OCSMatrix(Ext);
        AddPolyline(P, (Flags & 1) != 0, &M);
    }

    void Read3DFace() {
        TMVector C[4];
        while (!F.AtEntityStart()) {
            const int Code = F.ReadCode();
            for (int K = 0; K < 4; ++K)
                if (Coordinate(Code, K, C[K])) break;
        }
        if (!Faces) Faces = std::make_unique<TPolygonList>();
        // A fourth corner on the third or on the first closes a triangle: writers use either form.
        if (C[2] != C[3] && C[0] != C[3])
            Faces->Add(QuadFromVectors(C[0], C[1], C[2], C[3]));
        else
            Faces->Add(TriangleFromVectors(C[0], C[1], C[2]));
    }

    void ReadPoint() {
        TMVector P;
        while (!F.AtEntityStart()) Coordinate(F.ReadCode(), 0, P);
        if (!Points) Points = std::make_unique<TPointCloud>();
        Points->AddXYZ(P.X, P.Y, P.Z);
    }

    // The POLYLINE header's groups, then its kind's reader.
    void ReadPolyline() {
        TMVector Ext{0, 0, 1};
        int Flags = 0, M = 0, N = 0, UDensity = 0, VDensity = 0, Type = 0;
        const int HeaderLine = F.LineIndex - 1;
        while (!F.AtEntityStart()) {
            const int Code = F.ReadCode();
            if (Extrusion(Code, Ext)) continue;
            switch (Code) {
                case 70: Flags = F.ValueAsInteger(); break;
                case 71: M = F.ValueAsInteger(); break;
                case 72: N = F.ValueAsInteger(); break;
                case 73: UDensity = F.ValueAsInteger(); break;
                case 74: VDensity = F.ValueAsInteger(); break;
                case 75: Type = F.ValueAsInteger(); break;
                default: break;
            }
        }
        const TMMatrix OCS = OCSMatrix(Ext);
        const TMMatrix* Transform = (Flags & 8) ? nullptr : &OCS;
        if (Flags & 64)
            ReadPolyface(Transform);
        else if ((Flags & 16) && Type != 0)
            ReadSmoothedSurface(M, N, UDensity, VDensity, Type, HeaderLine);
        else if (Flags & 16)
            ReadPolygonMesh(Flags, M, N, HeaderLine);
        else if (Type != 0)
            ReadSplineFit(Type, Transform);
        else
            ReadPlainPolyline((Flags & 1) != 0, Transform);
    }

    // Calls Vertex for every VERTEX up to SEQEND with its groups; coordinates a vertex lacks keep the
    // values of the vertex before.
    struct TVertexGroups {
        TMVector Position;
        int Flags = 0;
        int Index[4] = {-1, -1, -1, -1};
        bool HasFlags = false;
    };
    template <class V>
    void ForEachVertex(V Vertex) {
        TVertexGroups G;
        while (!F.NextIsSeqEnd()) {
            if (F.NextEntityKind() != dekVertex) continue;
            G.HasFlags = false;
            for (int& I : G.Index) I = -1;
            while (!F.AtEntityStart()) {
                const int Code = F.ReadCode();
                if (Coordinate(Code, 0, G.Position)) continue;
                if (Code == 70) {
                    G.Flags = F.ValueAsInteger();
                    G.HasFlags = true;
                } else if (Code == 42) {
                    if (F.ValueAsFloat() != 0) ++Bulges;
                } else if (Code >= 71 && Code <= 74) {
                    // Negative indices mark invisible edges; the absolute value of the lowest integer does
                    // not fit, and names no vertex either way.
                    const long long Index = std::llabs(static_cast<long long>(F.ValueAsInteger()));
                    G.Index[Code - 71] = static_cast<int>(std::min<long long>(Index, INT_MAX));
                }
            }
            Vertex(G);
        }
    }

    void ReadPlainPolyline(bool Closed, const TMMatrix* Transform) {
        TPolyline P;
        ForEachVertex([&](const TVertexGroups& G) { P.AddVector(G.Position); });
        AddPolyline(P, Closed, Transform);
    }

    void ReadSplineFit(int Type, const TMMatrix* Transform) {
        TBSpline S(4);
        ForEachVertex(
            [&](const TVertexGroups& G) {
                if (G.HasFlags && (G.Flags & 16)) S.AddVector(G.Position);
            });
        if (Type == 5) S.SetOrder(3);
        else if (Type == 6) S.SetOrder(4);
        else if (Type == 8) S.SetForcedBezier(true);
        auto E = std::make_unique<TGeoBSpline>();
        E->Spline().Assign(S);
        if (Transform) E->Transform(*Transform);
        Add(std::move(E));
    }

    void ReadPolyface(const TMMatrix* Transform) {
        TPolyMesh Mesh;
        int NextId = 1, Flags = 0;
        ForEachVertex(
            [&](const TVertexGroups& G) {
                if (G.HasFlags) Flags = G.Flags;
                if (Flags & 64) {
                    Mesh.AddVertexAt(NextId++, G.Position);
                    return;
                }
                TPolyMeshFace* Face = Mesh.AddFace();
                for (int I : G.Index)
                    if (I >= 0) Face->AddVertexId(I);
            });
        auto E = std::make_unique<TGeoPGonlist>();
        Mesh.ToPolygonList(E->Facets());
        if (Transform) E->Transform(*Transform);
        Add(std::move(E));
    }

    // A net of NumU x NumV points must fit in what is left of the file: each point needs a VERTEX
    // record of at least two groups, so a damaged count cannot make us allocate without end.
    void CheckNet(int NumU, int NumV, int HeaderLine) const {
        const long long Room = (static_cast<long long>(F.LineCount()) - F.LineIndex) / 4 + 1;
        if (NumU < 1 || NumV < 1 || static_cast<long long>(NumU) * NumV > Room)
            throw EInOutError(F.FileName + "(" + std::to_string(HeaderLine + 1) + "): " +
                              Format("Mesh of %d x %d vertices does not fit in the file", {NumU, NumV}));
    }

    // Stores the vertices whose flags pass Take in Net, M (= NumU) rows of N (= NumV) as the file
    // lists them: vertex m N + n is point (m, n), the writer's order, so that U and V survive a round trip.
    template <class T>
    void ReadNet(TMesh& Net, T Take) {
        const long long N = Net.NumV(), Size = static_cast<long long>(Net.NumU()) * N;
        for (int K = 0; K < Size; ++K) Net.PointByIndex(K);
        long long K = 0;
        ForEachVertex(
            [&](const TVertexGroups& G) {
                const int Flags = G.HasFlags ? G.Flags : 0;
                if (!Take(Flags) || K >= Size) return;
                Net.Point(static_cast<int>(K / N), static_cast<int>(K % N)).SetVector(G.Position);
                ++K;
            });
    }

    void ReadPolygonMesh(int Flags, int M, int N, int HeaderLine) {
        CheckNet(M, N, HeaderLine);
        TMesh Net(M, N);
        ReadNet(Net, [](int VertexFlags) { return (VertexFlags & 27) == 0; });
        if (Flags & 1) {
            // Closed in the M direction: the first M line once more at the end.
            Net.AppendU();
            for (int J = 0; J < Net.NumV(); ++J) Net.SetPoint(Net.NumU() - 1, J, Net.Point(0, J));
        }
        if (Flags & 32) {
            Net.AppendV();
            for (int I = 0; I < Net.NumU(); ++I) Net.SetPoint(I, Net.NumV() - 1, Net.Point(I, 0));
        }
        auto E = std::make_unique<TGeoMesh>();
        E->Net().Assign(Net);
        Add(std::move(E));
    }

    void ReadSmoothedSurface(int M, int N, int UDensity, int VDensity, int Type, int HeaderLine);

    TDXFFile& F;
    TImportedEntities& Entities;
    std::unique_ptr<TPolygonList> Faces;
    std::unique_ptr<TPointCloud> Points;
    int Bulges = 0;
};

void TDxfReader::ReadSmoothedSurface(int M, int N, int UDensity, int VDensity, int Type, int HeaderLine) {
    CheckNet(M, N, HeaderLine);
    auto E = std::make_unique<TGeoBSurf>();
    TBSplineSurface& S = E->Surface();
    S.Clear();
    S.SetSize(M, N);
    if (Type == 5 || Type == 6) {
        S.SetOrderU(Type == 5 ? 3 : 4);
        S.SetOrderV(Type == 5 ? 3 : 4);
    } else if (Type == 8) {
        S.SetForcedBezier(true);
    }
    ReadNet(S, [](int VertexFlags) { return (VertexFlags & 16) != 0; });
    S.UpdateKnots();
    // The densities count vertices, one more than the intervals the line counts give (the export
    // writes them so); a density the file leaves out (or gives below 2) keeps the entity's own count.
    if (UDensity > 1) E->SetNumULine(UDensity - 1);
    if (VDensity > 1) E->SetNumVLine(VDensity - 1);
    Add(std::move(E));
}

}  // namespace

void ImportDXF(const std::string& FileName, TGeometryList& Document) {
    RunImport("DXF", FileName, Document, [&](TImportedEntities& Entities) {
        TDXFFile File;
        File.LoadFromFile(FileName);
        TDxfReader Reader(File, Entities);
        try {
            Reader.Run();
        } catch (const ENothingInFile& E) {
            ThrowNothingImported(FileName, E.what());
        }
        Reader.Skipped.Report("DXF", FileName);
        if (Entities.empty() && !Reader.Skipped.Empty())
            ThrowNothingImported(FileName, "not imported: " + Reader.Skipped.Text());
        if (!Reader.UnitName.empty() && GConsole)
            GConsole->WriteLine("DXF import of " + FileName + ": the drawing is in " + Reader.UnitName +
                                (Reader.UnitScale == 1.0 ? ", the document's unit"
                                                         : ", converted to the document's unit (scale " +
                                                               FloatToStrWithPoint(Reader.UnitScale) + ")"));
    });
}

// ---- Export ----

namespace {

class TDxfWriter {
public:
    explicit TDxfWriter(TDXFFile& AFile) : F(AFile) {}

    // False for an object DXF has no form for.
    bool Object(const TGeometryQueryItem& Item) {
        if (auto* S = Item.As<TBSpline>()) Spline(*S);
        else if (auto* A = Item.As<TArc>()) Arc(*A);
        else if (auto* C = Item.As<TCircle>()) Circle(*C);
        else if (auto* P = Item.As<TPointCloud>()) PointCloud(*P);
        else if (auto* L = Item.As<TPolyline>()) Polyline3D(*L);
        else if (auto* G = Item.As<TGregorySurface>()) PolygonMesh(*G->CreateMeshSized(50, 50));
        else if (auto* B = Item.As<TBSplineSurface>()) Surface(*B);
        else if (auto* M = Item.As<TMesh>()) PolygonMesh(*M);
        else if (auto* SL = AsSurfaces(Item)) {
            for (int I = 0; I < SL->Count(); ++I)
                if (TBSplineSurface* B = SL->BSplineSurface(I)) Surface(*B);
        } else if (auto* PL = AsPolylineList(Item)) {
            for (int I = 0; I < PL->Count(); ++I) Polyline3D(*PL->Items(I));
        } else if (auto* Facets = AsFacets(Item)) {
            for (int I = 0; I < Facets->Count(); ++I) Face(Facets->Polygon(I));
        } else {
            return false;
        }
        return true;
    }

private:
    // Facet lists, pressure fields among them (their facets carry pressures DXF cannot hold).
    static TPolygonList* AsFacets(const TGeometryQueryItem& Item) {
        if (auto* L = Item.As<TPolygonList>()) return L;
        return Item.As<TPressureField>();
    }
    static TSurfaces* AsSurfaces(const TGeometryQueryItem& Item) {
        if (auto* L = Item.As<TBSplineSurfaces>()) return L;
        return Item.As<TBSplineSurfaceList>();
    }
    static TPolylineList* AsPolylineList(const TGeometryQueryItem& Item) {
        if (auto* L = Item.As<TPolylineList>()) return L;
        if (auto* L = Item.As<TCalculationSections>()) return L;
        return Item.As<TBSplineList>();
    }

    void Begin(const char* Name) {
        F.BeginEntity(Name);
        F.WriteString(8, "0");
    }
    void Handle() { F.WriteString(5, Format("%.5x", {Handles++})); }
    void Coordinates(int Offset, const TMVector& V) {
        F.WriteFloat(10 + Offset, V.X);
        F.WriteFloat(20 + Offset, V.Y);
        F.WriteFloat(30 + Offset, V.Z);
    }
    void PolylineHeader() {
        F.WriteInteger(66, 1);
        F.WriteInteger(10, 0);
        F.WriteInteger(20, 0);
        F.WriteInteger(30, 0);
    }
    void Vertex(const TMVector& V, int Flags, bool WithHandle) {
        Begin("VERTEX");
        if (WithHandle) Handle();
        Coordinates(0, V);
        F.WriteInteger(70, Flags);
    }
    void SeqEnd() { F.WriteString(0, "SEQEND"); }

    void PointCloud(const TPointCloud& Cloud) {
        for (int I = 0; I < Cloud.Count(); ++I) {
            Begin("POINT");
            Coordinates(0, Cloud.Point(I)->Vector());
            ++Handles;
        }
    }

    void Polyline3D(const TPolyline& P) {
        Begin("POLYLINE");
        PolylineHeader();
        F.WriteInteger(70, 8);
        for (int I = 0; I < P.Count(); ++I) Vertex(P.Point(I)->Vector(), 32, false);
        SeqEnd();
    }

    void Face(const TFacetRef& Facet) {
        Begin("3DFACE");
        for (int K = 0; K < 3; ++K) Coordinates(K, Facet.Corner(K)->Vector());
        Coordinates(3, Facet.CornerCount() == 4 ? Facet.Corner(3)->Vector() : Facet.Corner(0)->Vector());
    }

    // An arc frame runs clockwise about its normal and a DXF arc counter-clockwise about its
    // extrusion: the extrusion is the normal reversed, and the arc runs from its start to its end, as
    // the import reads it, so that what is read back is the arc that was written.
    void Arc(const TArc& A) {
        const TMArc Frame = A.Frame();
        const TMVector Extrusion = WithoutNoise(VectorScale(Frame.Normal, -1.0), 1.0);
        const TMMatrix OCS = OCSMatrix(Extrusion);
        const TMMatrix Inverse = MatrixInverse(OCS);
        const double Size = Frame.Radius + VectorLength(Frame.Centre);
        const TMVector Centre = WithoutNoise(MatrixTransformPoint(Inverse, Frame.Centre), Size);
        // Directions: the inverse without its translation (the OCS matrix has none). A component that
        // is only noise is 0 (+0: atan2 tells -0 from +0 on the negative x axis).
        const auto AngleOf = [&](const TRPoint* P) {
            const TMVector D = WithoutNoise(
                MatrixTransformPoint(Inverse, VectorNormalise(VectorFromTo(Frame.Centre, P->Vector()))), 1.0);
            return std::atan2(D.Y, D.X) / DegToRad;
        };
        Begin("ARC");
        Coordinates(0, Centre);
        F.WriteFloat(40, Frame.Radius);
        F.WriteFloat(50, AngleOf(A.GetPoint(0)));
        F.WriteFloat(51, AngleOf(A.GetPoint(2)));
        Coordinates(200, Extrusion);
    }

    void Circle(const TCircle& C) {
        const TMCircle Frame = C.Frame();
        const TMMatrix Inverse = MatrixInverse(OCSMatrix(Frame.Normal));
        Begin("CIRCLE");
        Coordinates(0, WithoutNoise(MatrixTransformPoint(Inverse, Frame.Centre), Frame.Radius + VectorLength(Frame.Centre)));
        F.WriteFloat(40, Frame.Radius);
        Coordinates(200, WithoutNoise(Frame.Normal, 1.0));
    }

    void Spline(TBSpline& S) {
        const int P = S.GetOrder(), N = S.Count();
        const bool Open = S.KnotType == ktOpen;
        int Type = 0;
        if (Open && P == 3) Type = 5;
        else if (Open && P == 4) Type = 6;
        else if (Open && N == P) Type = 8;
        Begin("POLYLINE");
        PolylineHeader();
        F.WriteInteger(70, Type != 0 ? 12 : 8);
        if (Type != 0) F.WriteInteger(75, Type);
        S.UpdateKnots();
        const int Segments = S.DisplaySegments;
        for (int I = 0; I <= Segments; ++I) {
            const double T = Segments > 0 ? S.MaxT() * I / Segments : 0.0;
            Vertex(S.EvaluatePoint(T), Type != 0 ? 40 : 32, false);
        }
        if (Type != 0)
            for (int I = 0; I < N; ++I) Vertex(S.Point(I)->Vector(), 16, false);
        SeqEnd();
    }

    void PolygonMesh(const TMesh& M) {
        Begin("POLYLINE");
        Handle();
        PolylineHeader();
        F.WriteInteger(70, 16);
        F.WriteInteger(71, M.NumU());
        F.WriteInteger(72, M.NumV());
        for (int I = 0; I < M.NumU(); ++I)
            for (int J = 0; J < M.NumV(); ++J) Vertex(M.Point(I, J).Vector(), 64, true);
        SeqEnd();
    }

    void Surface(TBSplineSurface& Given) {
        const std::unique_ptr<TBSplineSurface> Equivalent = WritableEquivalent(Given);
        TBSplineSurface& S = Equivalent ? *Equivalent : Given;
        const bool Open = S.KnotType == ktOpen;
        const int OU = S.OrderU(), OV = S.OrderV(), NU = S.NumU(), NV = S.NumV();
        const int LU = S.NumULine(), LV = S.NumVLine();
        int Type = 0;
        if (Open && OU == 3 && OV == 3) Type = 5;
        else if (Open && OU == 4 && OV == 4) Type = 6;
        else if (Open && OU == NU && OV == NV) Type = 8;
        // A smoothed mesh can only say open knots of these orders; any other surface is written as
        // the mesh of its sampled points, which every reader takes as it is.
        const bool Smooth = Type != 0;
        Begin("POLYLINE");
        Handle();
        PolylineHeader();
        F.WriteInteger(70, Smooth ? 20 : 16);
        if (Smooth) {
            F.WriteInteger(71, NU);
            F.WriteInteger(72, NV);
            F.WriteInteger(73, LU + 1);
            F.WriteInteger(74, LV + 1);
        } else {
            F.WriteInteger(71, LU + 1);
            F.WriteInteger(72, LV + 1);
        }
        F.WriteInteger(75, Type);
        S.UpdateKnots();
        for (int I = 0; I <= LU; ++I)
            for (int J = 0; J <= LV; ++J) {
                const double U = LU > 0 ? S.MaxU() * I / LU : 0.0, V = LV > 0 ? S.MaxV() * J / LV : 0.0;
                Vertex(S.Evaluate(U, V), Smooth ? 72 : 64, true);
            }
        if (Smooth)
            for (int I = 0; I < NU; ++I)
                for (int J = 0; J < NV; ++J) Vertex(S.Point(I, J).Vector(), 80, true);
        SeqEnd();
    }

    TDXFFile& F;
    int Handles = 48;
};

}  // namespace

void ExportDXF(const std::string& FileName, TGeometryList& Document) {
    TDXFFile File;
    File.BeginSection("ENTITIES");
    TGeometryQuery Query;
    Query.Kinds = 0x3AD7;
    Document.Query(Query, false);
    // Room for the text of the common objects at once: a text of a hundred megabytes that grows step
    // by step copies all it holds at each step.
    std::size_t Estimate = 64;
    for (int I = 0; I < Query.Count(); ++I) {
        const TGeometryQueryItem& Item = Query.Item(I);
        if (const auto* P = Item.As<TPolyline>()) Estimate += 110 * static_cast<std::size_t>(P->Count()) + 80;
        else if (const auto* F = Item.As<TPolygonList>()) Estimate += 260 * static_cast<std::size_t>(F->Count());
        else if (const auto* C = Item.As<TPointCloud>()) Estimate += 90 * static_cast<std::size_t>(C->Count());
    }
    File.Written.reserve(Estimate);
    TDxfWriter Writer(File);
    TLeftOut LeftOut;
    for (int I = 0; I < Query.Count(); ++I) {
        const std::size_t Mark = File.Written.size();
        try {
            if (!Writer.Object(Query.Item(I))) LeftOut.Add(Query.Item(I).Name, "DXF has no form for it");
        } catch (const std::exception& E) {
            File.Written.resize(Mark);
            LeftOut.Add(Query.Item(I).Name, E.what());
        }
    }
    File.EndSection();
    File.WriteEOF();
    File.SaveToFile(FileName);
    LeftOut.Report("DXF", FileName);
}

}  // namespace sarnova
