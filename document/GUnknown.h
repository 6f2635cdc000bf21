// The placeholder for a document block whose keyword no registered class has: it keeps the block's
// lines as they were and writes them back unchanged, so that a document written by a program that
// knows more entity classes survives a load and a save here.
#pragma once
#include <string>
#include <vector>

#include "document/Geometry.h"

namespace sarnova {

// The frame the GUI registers for the placeholder (the block shown read-only).
inline const char* const GUnknownFrameName = "GUnknownFrame";

class TTextReader;

// Whether the block opened by Keyword, whose lines In reads next, holds member blocks up to an
// "[End Group]" line: a closed group does; an old-style group does unless its kind line (the one after
// the name) says it is open. The reader is left where it was.
bool BlockHoldsMembers(const std::string& Keyword, TTextReader& In);

// Never registered: the file reader makes one when the registry knows no class for a keyword, or when a
// block of a known keyword cannot make a valid entity. It can be picked, cloned and undone (so deleting
// it can be taken back) but not edited, has no points, no extents and no data object, and is never
// deleted for having no extents.
class TGeoUnknown : public TGeometry {
public:
    TGeoUnknown();
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoUnknown>(); }
    // The leading blank keeps every file keyword from selecting this class; the description is
    // "Unknown Data".
    static std::string GetKeyword() { return " Unknown Data"; }

    // Logs "Warning: Unknow Object loaded <keyword>, object will be stored", then ReadLines.
    void LoadFromText(TTextReader& In) override;
    // Keeps every line, as read, up to the first empty line or the end of the file. A block that holds
    // member blocks (a closed group, or an old-style group that is not open) goes on to its matching
    // "[End Group]" line, nested groups counted, and takes the empty line after it.
    // A block of an unknown kind (MayHoldMembers) is a group when the end lines after it close more
    // groups than EnclosingGroups: it then goes on to its "[End Group]" too.
    void ReadLines(TTextReader& In, bool MayHoldMembers = false);
    // "[" BlockKeyword "]", the stored lines, an empty line.
    void SaveToText(TTextWriter& Out) override;
    void AfterListChange() override {}
    // The keyword and the stored lines, besides the base state.
    void Assign(const TGeometry& Source) override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    // The base refresh, and the placeholder's own frame shows the block again.
    void UpdateFrame() override;

    // The keyword found between the brackets; set by the reader before LoadFromText.
    std::string BlockKeyword;
    // The block's lines after the keyword line, without the empty closing line (a group block keeps the
    // empty lines between its members).
    std::vector<std::string> StoredLines;
    // The groups open around the block while the file is read; set by the reader before LoadFromText.
    int EnclosingGroups = 0;
};

}  // namespace sarnova
