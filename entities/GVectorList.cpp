#include "entities/GVectorList.h"

#include "document/GeometryFile.h"
#include "foundation/BlockCount.h"
#include "foundation/TextFile.h"

namespace sarnova {

TGeoVectorList::TGeoVectorList() : FVectors(std::make_unique<TVectorList>()) {
    SetCapabilities(GetCapabilities() | cpUndoable);
}

TGeoVectorList::~TGeoVectorList() = default;

void TGeoVectorList::SetScale(double Value) {
    Undraw();
    FVectors->Scale = Value;
    // The drawn tips moved: zooming to the extents and the views' depth range must see them.
    UpdateExtents();
    Redraw();
}

void TGeoVectorList::GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) {
    if (Index < 0 || Index >= GetPointCount()) return;
    // The tips are no stored points: the handle holds none, and nothing edits through it.
    if (auto* R = dynamic_cast<TRPointInfo*>(&Info)) R->RPoint = nullptr;
    const TRPointVector& V = *FVectors->Vector(Index / 2);
    const TMVector Base = V.Point1->Vector();
    Info.SetPoint(Index % 2 == 0 ? Base : VectorAdd(Base, V.Point2->Vector()), false, true, View);
}

IGeometryFrame* TGeoVectorList::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(VectorListFrameName, *this, Owner)) return Frame;
    return TGeometry::CreateFrame(Owner);
}

void TGeoVectorList::UpdateFrame() {
    if (GetFrame() != nullptr) GetFrame()->Refresh();
}

void TGeoVectorList::Transform(const TMMatrix& M) {
    BeginChange();
    FVectors->Assign(*FVectors->Transformed(M));
    EndChange();
}

void TGeoVectorList::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoVectorList*>(&Source)) FVectors->Assign(*Other->FVectors);
}

void TGeoVectorList::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FVectors->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName | ckColor);
    Out.WriteLine("");
}

void TGeoVectorList::LoadFromText(TTextReader& In) {
    // The scale line, then the count of the vectors, one a line.
    CheckListCount(In, {.SkipLines = 1});
    FVectors->LoadFromText(In);
    TBlockLine Line;
    while (ReadBlockLine(In, Line))
        if (Line.Key == "NAME" || Line.Key == "COLOR") ReadCommonKey(*this, Line);
}

}  // namespace sarnova
