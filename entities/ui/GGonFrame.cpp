#include "entities/ui/GGonFrame.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>

#include "entities/ui/FrameParts.h"
#include "foundation/Errors.h"
#include "controls/FillDlg.h"
#include "controls/VkGrid.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

TGGonFrame::TGGonFrame(TGeoPGonlist& AEntity, QWidget* Parent)
    : TEntityFrame(AEntity, "Polygon List", "TGGonFrame", Parent) {
    setFixedWidth(259);
    PointsGroup = AddGroupBox("Points", "VkGroupBox2");
    auto* Buttons = new QHBoxLayout;
    Buttons->setSpacing(2);
    FillButton = new QToolButton(PointsGroup);
    FillButton->setObjectName("FillBut");
    FillButton->setText("Fill");
    FillButton->setToolTip("Fill the selected coordinate of the selected points with one value");
    CopyButton = new QToolButton(PointsGroup);
    CopyButton->setObjectName("CopyBut");
    CopyButton->setText("Copy Grid");
    Buttons->addWidget(FillButton);
    Buttons->addWidget(CopyButton);
    Buttons->addStretch(1);
    static_cast<QVBoxLayout*>(PointsGroup->layout())->addLayout(Buttons);

    Grid = new TVkGrid(PointsGroup);
    Grid->setObjectName("VkGrid1");
    Grid->BeginUpdate();
    Grid->SetColCount(4);
    Grid->SetRowCount(1);
    Grid->SetFixedColumns(1);
    Grid->SetFixedRows(1);
    Grid->SetFloatFormat(TVkFloatFormat(ffFixed, 10, 3));
    Grid->SetOptions(Grid->GetOptions() | loRangeSelection);
    Grid->Column(0).SetWidth(50);
    const char* Titles[] = {"X", "Y", "Z"};
    for (int C = 1; C < 4; ++C) Grid->Cell(C, 0).SetValue(Titles[C - 1]);
    Grid->EndUpdate();
    Grid->setMinimumHeight(200);
    PointsGroup->layout()->addWidget(Grid);

    Grid->OnEditCell = [this](TVkGridModel*, int Column, int Row, TVkValue& Value) { EditCell(Column, Row, Value); };
    Grid->OnSelectRange = [this](TVkGridModel*, TVkGridRect Range) { SelectRows(Range); };
    connect(FillButton, &QToolButton::clicked, this, [this] { Fill(); });
    connect(CopyButton, &QToolButton::clicked, this, [this] { Grid->CopyAllToClipboard(false); });
    FinishLayout();
    RefreshAll();
}

std::string TGGonFrame::RowLabel(int K, int Corners) {
    if (Corners <= 1) return std::to_string(K);
    char Text[40];
    std::snprintf(Text, sizeof Text, "%d (x%d)", K, Corners);
    return Text;
}

void TGGonFrame::FillCoordinates(int Row, const TSharedPoint& Point) {
    Grid->Cell(1, Row).SetValue(Point.X());
    Grid->Cell(2, Row).SetValue(Point.Y());
    Grid->Cell(3, Row).SetValue(Point.Z());
}

void TGGonFrame::RefreshAll() {
    TGeoPGonlist* List = Entity();
    if (List == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    const TSharedPointList& Shared = List->SharedPoints();
    Grid->BeginUpdate();
    if (Grid->GetRowCount() != Shared.Count() + 1) Grid->SetRowCount(Shared.Count() + 1);
    for (int K = 0; K < Shared.Count(); ++K) {
        Grid->Cell(0, K + 1).SetValue(RowLabel(K, Shared.Items(K).Count()));
        FillCoordinates(K + 1, Shared.Items(K));
    }
    Grid->EndUpdate();
    const TVkGridRect& Range = Grid->Selection();
    FillButton->setEnabled(Range.Left >= 0 && Range.Left == Range.Right);
    Filling = false;
}

void TGGonFrame::RefreshPositions() {
    TGeoPGonlist* List = Entity();
    if (List == nullptr) return;
    TSharedPointList& Shared = List->SharedPoints();
    Shared.UpdatePositions();
    Filling = true;
    Grid->BeginUpdate();
    for (int K = 0; K < Shared.Count() && K + 1 < Grid->GetRowCount(); ++K) FillCoordinates(K + 1, Shared.Items(K));
    Grid->EndUpdate();
    Filling = false;
}

void TGGonFrame::EditCell(int Column, int Row, const TVkValue& Value) {
    TGeoPGonlist* List = Entity();
    if (Filling || List == nullptr || Column < 1 || Column > 3 || Row < 1) return;
    double Number = 0;
    try {
        Number = Value.AsDouble();
    } catch (const EError&) {
        // Not a number: the row shows the point as it is.
        RefreshAll();
        return;
    }
    List->SetSharedCoordinate(Row - 1, Column - 1, Number);
}

void TGGonFrame::SelectRows(const TVkGridRect& Range) {
    FillButton->setEnabled(Range.Left >= 0 && Range.Left == Range.Right);
    TGeoPGonlist* List = Entity();
    if (Filling || List == nullptr || !List->Editing()) return;
    List->SelectSharedPoints(Range.Top - 1, Range.Bottom - 1);
}

void TGGonFrame::Fill() {
    TGeoPGonlist* List = Entity();
    if (List == nullptr) return;
    Grid->SetEditing(false);
    const int Column = Grid->CurrentColumn();
    const TFillDlgResult Answer = ExecuteFillDialog("Selected Points", Column >= 1 && Column <= 3 ? Column - 1 : 0);
    if (Answer.Ok && Entity() != nullptr) Entity()->FillSharedCoordinate(Answer.Axis, Answer.Value);
}

void RegisterGGonFrame() {
    RegisterGeometryFrame(GGonFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* List = dynamic_cast<TGeoPGonlist*>(&Geometry);
        if (List == nullptr) return nullptr;
        return new TGGonFrame(*List, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
