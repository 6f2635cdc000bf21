#include "document/GUnknown.h"

#include "foundation/DuZezOrideConsole.h"
#include "foundation/TextFile.h"

namespace sarnova {

void TGeoUnknown::LoadFromText(TTextReader& In) {
    if (GConsole) GConsole->WriteLine("Warning: Unknow Object loaded " + BlockKeyword + ", object will be stored");
    StoredLines.clear();
    // Only a line of length 0 ends the block: a line of blanks is part of it.
    while (!In.Eof()) {
        std::string Line = In.ReadLine();
        if (Line.empty()) break;
        StoredLines.push_back(std::move(Line));
    }
}

void TGeoUnknown::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + BlockKeyword + "]");
    for (const std::string& Line : StoredLines) Out.WriteLine(Line);
    Out.WriteLine("");
}

IGeometryFrame* TGeoUnknown::CreateFrame(void* Owner) { return CreateGeometryFrame(GUnknownFrameName, *this, Owner); }

void TGeoUnknown::UpdateFrame() {
    TGeometry::UpdateFrame();
    if (IGeometryFrame* Frame = GetFrame(); Frame != nullptr && !Frame->IsDefaultFrame()) Frame->Refresh();
}

}  // namespace sarnova
