// A test-only peer: reads an IGES file with OpenCASCADE's reader and prints what it found, one
// "key value" line each, so that the exchange tests can check our files with a reader we did not
// write. Exit status 0 when the file was read, 1 otherwise.
#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepBndLib.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <Bnd_Box.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <IGESControl_Reader.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shape.hxx>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    IGESControl_Reader Reader;
    if (Reader.ReadFile(argv[1]) != IFSelect_RetDone) {
        std::printf("read failed\n");
        return 1;
    }
    Reader.TransferRoots();
    std::printf("shapes %d\n", Reader.NbShapes());
    int Lines = 0, Circles = 0, BSplineCurves = 0, Others = 0, BSplineFaces = 0, Planes = 0, Faces = 0;
    bool Valid = true;
    Bnd_Box Box;
    for (int I = 1; I <= Reader.NbShapes(); ++I) {
        const TopoDS_Shape Shape = Reader.Shape(I);
        if (!BRepCheck_Analyzer(Shape).IsValid()) Valid = false;
        BRepBndLib::Add(Shape, Box);
        for (TopExp_Explorer E(Shape, TopAbs_EDGE, TopAbs_FACE); E.More(); E.Next()) {
            switch (BRepAdaptor_Curve(TopoDS::Edge(E.Current())).GetType()) {
                case GeomAbs_Line: ++Lines; break;
                case GeomAbs_Circle: ++Circles; break;
                case GeomAbs_BSplineCurve: ++BSplineCurves; break;
                default: ++Others; break;
            }
        }
        for (TopExp_Explorer E(Shape, TopAbs_FACE); E.More(); E.Next()) {
            ++Faces;
            const GeomAbs_SurfaceType T = BRepAdaptor_Surface(TopoDS::Face(E.Current())).GetType();
            if (T == GeomAbs_BSplineSurface) ++BSplineFaces;
            else if (T == GeomAbs_Plane) ++Planes;
        }
    }
    std::printf("lines %d\ncircles %d\nbsplinecurves %d\nothercurves %d\n", Lines, Circles, BSplineCurves, Others);
    std::printf("faces %d\nbsplinefaces %d\nplanes %d\nvalid %d\n", Faces, BSplineFaces, Planes, Valid ? 1 : 0);
    if (!Box.IsVoid()) {
        double X0, Y0, Z0, X1, Y1, Z1;
        Box.Get(X0, Y0, Z0, X1, Y1, Z1);
        std::printf("box %.9g %.9g %.9g %.9g %.9g %.9g\n", X0, Y0, Z0, X1, Y1, Z1);
    }
    return 0;
}
