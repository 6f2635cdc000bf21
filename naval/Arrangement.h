// The compartment arrangement of a document: the hull at the root, every other permeable polyline
// list nested inside the innermost compartment whose box holds its centre. It gives each space its
// effective permeability and outline colour, fills the Hierarchy window's tree and lays out cuts of
// all compartments side by side for the permeability plot.
#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/GeomBox.h"

namespace sarnova {

class TContours;
class TGeoPList;
class TGeometry;
class TGeometryList;
class TPolygonList;
class TPolyline;
class TPolylineList;

// What the arrangement needs of a tree view: it is cleared, then nodes are added under their parent
// compartment's node (none for the root), each showing the entity's name and carrying the entity.
class ICompartmentTree {
public:
    virtual ~ICompartmentTree() = default;
    using TNode = void*;
    virtual void Clear() = 0;
    virtual TNode AddNode(TNode Parent, const std::string& Text, TGeometry* Entity) = 0;
};

// The outline colour of an effective permeability: -0.85 red ($FF0000 is blue in the high byte, so
// these are colour words), -0.95 blue, -0.6 yellow, -0.9 or below -0.96 silver, 0 black, anything
// else magenta.
TColor PermeabilityColor(double EffectivePermeability);

namespace arrangement {

class TArrangement;
class TCompartment;

// A list of compartments it does not own.
class TCompBase {
public:
    virtual ~TCompBase() = default;
    int Count() const { return static_cast<int>(Children.size()); }
    TCompartment* Items(int Index) const { return Children.at(static_cast<std::size_t>(Index)); }

protected:
    std::vector<TCompartment*> Children;
};

// One space of the arrangement; its children are the spaces directly inside it.
class TCompartment : public TCompBase {
public:
    TCompartment(TArrangement& AOwner, TCompBase* AParent, TGeoPList* AEntity, bool AIsRoot);
    ~TCompartment() override;

    TCompBase* GetParent() const { return Parent; }
    TGeoPList* GetPList() const { return PList; }
    bool GetIsRoot() const { return IsRoot; }

    // A new compartment for Entity inside this one; the arrangement owns it.
    TCompartment* AddChild(TGeoPList* Entity);
    std::string GetName() const;
    bool IsMirrored() const;
    // The entity's extents, reaching to -max y when it is mirrored.
    TMBox CompartmentExtents() const;
    // The facets of the entity's sections, made on first use (the console says so) and kept.
    TPolygonList& GetSurfaceDefinition();
    // This compartment when it stands for Entity, else the first one below it that does (depth first).
    TCompartment* Find(const TGeometry* Entity);
    void AddToTree(ICompartmentTree& Tree, ICompartmentTree::TNode ParentNode);
    // 0 for the root; otherwise the entity's own permeability plus the parent's effective one.
    double EffectivePermeability() const;
    // Gives this compartment's entity the permeability Value while every compartment inside keeps its
    // effective permeability.
    void SetPermeabilityKeepingChildren(double Value);
    // The compartment cut by the single contour of Contours, joined, closed, flattened into the
    // drawing plane and filled in its permeability colour; nullptr when nothing is cut.
    std::unique_ptr<TPolyline> CompartmentOutline(const TContours& Contours);

private:
    TArrangement& Owner;
    TCompBase* Parent;
    TGeoPList* PList;
    bool IsRoot;
    std::unique_ptr<TPolygonList> SurfaceDefinition;
};

class TArrangement : public TCompBase {
public:
    TArrangement();
    ~TArrangement() override;
    TArrangement(const TArrangement&) = delete;
    TArrangement& operator=(const TArrangement&) = delete;

    TCompartment* GetRoot() const { return Root; }
    // Why the last Build made no arrangement, as the windows say it; empty when it made one.
    const std::string& GetProblem() const { return Problem; }
    TGeometryList* GetDocument() const { return Document; }
    // Every compartment, the root first, in the order they were placed.
    const std::vector<std::unique_ptr<TCompartment>>& All() const { return Compartments; }

    void Clear();
    // The tree of Document's permeable polyline lists. The first must be named as a hull, or the
    // arrangement stays empty; a hull object that is not permeable is reported on the console.
    void Build(TGeometryList& ADocument);
    void FillTree(ICompartmentTree& Tree);
    TCompartment* Find(const TGeometry* Entity);
    // The union of every compartment's extents, kept until the next Clear.
    TMBox GetExtents();
    // The outlines of every compartment cut at Position on Axis (0 X, 1 Y, 2 Z), the root's first; an
    // X cut is mirrored in the drawing's x.
    std::unique_ptr<TPolylineList> ArrangementContours(int Axis, double Position);
    // The cuts a view layout asks for, laid out in rows: "X=", "Y=" and "Z=" and an expression
    // of the document for a section, buttock or waterline, a word with "PROF" for the profile, and
    // "(...)" for several views side by side. Throws the evaluator's error for an expression it
    // cannot evaluate.
    std::unique_ptr<TPolylineList> ViewPolylines(const std::string& ViewLayout);

private:
    friend class TCompartment;
    TCompartment* NewCompartment(TCompBase* Parent, TGeoPList* Entity, bool IsRoot);
    // Offers Entity to C: false when its centre lies outside C's box, else it is placed in C or
    // below.
    bool Place(TCompartment& C, TGeoPList* Entity);

    std::vector<std::unique_ptr<TCompartment>> Compartments;
    // Each entity's compartment, so that a window listing every space does not walk the tree for each.
    std::unordered_map<const TGeometry*, TCompartment*> ByEntity;
    TCompartment* Root = nullptr;
    TMBox Extents = EmptyBox;
    TGeometryList* Document = nullptr;
    std::string Problem;
};

}  // namespace arrangement

using arrangement::TArrangement;

}  // namespace sarnova
