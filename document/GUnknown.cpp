#include "document/GUnknown.h"

#include "document/GeometryClasses.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

bool IsBlockLine(const std::string& Trimmed) {
    return Trimmed.size() >= 2 && Trimmed.front() == '[' && Trimmed.back() == ']';
}

}  // namespace

bool BlockHoldsMembers(const std::string& Keyword, TTextReader& In) {
    const std::string Key = UpperCase(Keyword);
    if (Key == "TCLOSEDGROUP") return true;
    if (Key != "TGROUP") return false;
    const TTextReader::TMark Start = In.Mark();
    In.ReadLine();
    const bool Open = UpperCase(In.ReadLine()).find("OPEN") != std::string::npos;
    In.Restore(Start);
    return !Open;
}

namespace {

// Whether the end lines ahead close more groups than are open around a block of an unknown kind that
// ended just before: then that block is a group of a kind this version does not know, and its members
// run to the first end line too many. The look stops at the next block of an unknown kind, which may be
// the group instead.
bool ClosesUnknownGroup(TTextReader& In, int EnclosingGroups) {
    const TTextReader::TMark Start = In.Mark();
    int Balance = 0;
    bool Closes = false;
    while (!In.Eof()) {
        const std::string Trimmed = Trim(In.ReadLine());
        if (!IsBlockLine(Trimmed)) continue;
        if (UpperCase(Trimmed) == "[END GROUP]") {
            if (--Balance < -EnclosingGroups) {
                Closes = true;
                break;
            }
            continue;
        }
        const std::string Keyword = Trimmed.substr(1, Trimmed.size() - 2);
        if (&FindGeometryClass(Keyword) == &GeometryClassOf<TGeoUnknown>()) break;
        if (BlockHoldsMembers(Keyword, In)) ++Balance;
    }
    In.Restore(Start);
    return Closes;
}

}  // namespace

TGeoUnknown::TGeoUnknown() { SetCapabilities(GetCapabilities() | cpUndoable); }

void TGeoUnknown::LoadFromText(TTextReader& In) {
    if (GConsole) GConsole->WriteLine("Warning: Unknow Object loaded " + BlockKeyword + ", object will be stored");
    ReadLines(In, true);
}

void TGeoUnknown::ReadLines(TTextReader& In, bool MayHoldMembers) {
    StoredLines.clear();
    const int FirstLine = In.LineNumber() - 1;
    int Depth = BlockHoldsMembers(BlockKeyword, In) ? 1 : 0;
    while (!In.Eof()) {
        std::string Line = In.ReadLine();
        // Only a line of length 0 ends a plain block: a line of blanks is part of it.
        if (Depth == 0 && Line.empty()) {
            if (!MayHoldMembers || !ClosesUnknownGroup(In, EnclosingGroups)) return;
            // A group of an unknown kind: its members and its end line are kept with it.
            MayHoldMembers = false;
            Depth = 1;
            StoredLines.push_back(std::move(Line));
            continue;
        }
        const std::string Trimmed = Trim(Line);
        const bool Nests = Depth > 0 && IsBlockLine(Trimmed);
        StoredLines.push_back(std::move(Line));
        if (!Nests) continue;
        if (UpperCase(Trimmed) != "[END GROUP]") {
            if (BlockHoldsMembers(Trimmed.substr(1, Trimmed.size() - 2), In)) ++Depth;
        } else if (--Depth == 0) {
            // The group's own end line; the empty line after it closes the block and is written back
            // by SaveToText.
            const TTextReader::TMark After = In.Mark();
            if (!In.ReadLine().empty()) In.Restore(After);
            return;
        }
    }
    if (Depth > 0 && GConsole)
        GConsole->WriteLine("Warning: " + BlockKeyword + " block of line " + std::to_string(FirstLine) +
                            " has no [End Group] line, kept to the end of the file");
}

void TGeoUnknown::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoUnknown*>(&Source)) {
        BlockKeyword = Other->BlockKeyword;
        StoredLines = Other->StoredLines;
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
