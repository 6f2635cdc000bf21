// The mesh entity: a plain net of control points shown as the polylines of its rows and columns,
// edited point by point or line by line, and its creator, which drags the mesh out as a rectangle.
#pragma once
#include <memory>

#include "document/GCreator.h"
#include "entities/GCusMesh.h"

namespace sarnova {

class TGeoMesh : public TGeoCustomMesh {
public:
    // A 4 by 4 net, parameter lines and outline shown.
    TGeoMesh();
    ~TGeoMesh() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoMesh>(); }

    static std::string GetKeyword() { return "TMesh"; }
    static int GetMenuOrder() { return 41; }
    static int GetImageIndex() { return 45; }
    // "Drag Mesh".
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);

    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    std::uint8_t GetSelectionType() override { return 5; }
    // The net points, then, with surface-edge snapping and outside editing, the point of each edge
    // nearest the request's pixel.
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    void CreateRenderer() override;
    // Meshes: the net itself; polygon lists: facets made for the query.
    void Query(TGeometryQuery& Query) override;
    void HandleMessage(TGeoMessage& Message) override;
    // The four edges of the net: a plain net answers the two-line sampling with all its lines.
    void AddBoundaryLines(TPolylineList& List) override;

    // Adds a B-spline surface entity on a copy of the net, of orders up to 4; the mesh stays.
    void MakeBSplineSurface();
    // Adds polylines Name.MinUEdge, Name.MinVEdge, Name.MaxUEdge and Name.MaxVEdge; the mesh stays.
    void ExtractEdges();
    // Replace the mesh by a polyline list of its lines (i, 0 .. NumV - 1), of its rows
    // (0 .. NumU - 1, j), or of both, as one undo step. The mesh is freed.
    void ExplodeULines();
    void ExplodeVLines();
    void ExplodeUVLines();

private:
    void ExplodeLines(bool Lines, bool Rows);

public:

private:
    std::unique_ptr<TMesh> Mesh;
};

// Drags a rectangle in the view and makes a 2 by 2 mesh of its corners.
class TGeoMeshCreator : public TGeoDraggableRectCreator {
public:
    using TGeoDraggableRectCreator::TGeoDraggableRectCreator;
    void CreateGeometry() override;
};

}  // namespace sarnova
