// The Ansys element script: keypoints ("K"), nodes ("N"), lines ("L"), arcs ("LARC") and elements
// ("E") in a "/PREP7" block. A model is either read from a script or built position by position for
// writing one.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "foundation/VkMaths.h"

namespace sarnova {

// Positions ordered by z, then y, then x; coordinates closer than 1e-4 count as equal, and points equal
// in all three are the same point.
int CompareAnsysPositions(const TMVector& A, const TMVector& B);

enum class TAnsysKind { akLine, akArc, akElement };

// A line (two keypoints), an arc (start, finish and centre keypoints and its radius) or an element
// (its nodes). Points are indices into the file's keypoints or nodes.
struct TAnsysEntity {
    TAnsysKind Kind;
    std::vector<int> Points;
    double Radius = 0;
};

class TAnsysFile {
public:
    std::vector<TMVector> KeyPoints;
    std::vector<TMVector> Nodes;
    std::vector<TAnsysEntity> Entities;

    void Clear();
    // Reads a script. Lines of fewer than two comma-separated fields and unknown commands are skipped,
    // and so are commands with the wrong number of fields or naming a point the script has not
    // defined (when a number is defined twice the first stays). A field that is not a number is an
    // EConvertError naming the file and line.
    void LoadFromFile(const std::string& FileName);
    // Writes the script; each point is written once, just before the first command that uses it, and
    // points are numbered 1, 2, ... in position order.
    void SaveToFile(const std::string& FileName) const;
    std::string Text() const;

    // Builders: the points are found by position (within 1e-4) or added.
    void AddLine(const TMVector& Start, const TMVector& Finish);
    void AddArc(const TMVector& Start, const TMVector& Finish, const TMVector& Centre, double Radius);
    void AddQuadElement(const TMVector& A, const TMVector& B, const TMVector& C, const TMVector& D);
    // An element of Count nodes (3 or 4: a facet).
    void AddElement(const TMVector* Corners, int Count);

private:
    struct TPositionLess {
        bool operator()(const TMVector& A, const TMVector& B) const { return CompareAnsysPositions(A, B) < 0; }
    };
    int FindOrAdd(std::vector<TMVector>& Points, std::map<TMVector, int, TPositionLess>& Index, const TMVector& P);

    std::map<TMVector, int, TPositionLess> FKeyIndex;
    std::map<TMVector, int, TPositionLess> FNodeIndex;
};

}  // namespace sarnova
