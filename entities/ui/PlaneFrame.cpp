#include "entities/ui/PlaneFrame.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "entities/PlaneProjectionDlg.h"
#include "entities/ui/FrameParts.h"
#include "entities/ui/PlaneProjectionForm.h"
#include "foundation/Polyline.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

namespace {

constexpr double Pi = 3.14159265358979323846;

const char* const ModeCaptions[7] = {" X", "Y", "Z", "Roll", "Pitch", "Yaw", "Three Location Points"};
const char* const LocationLabels[3] = {"X =", "Y =", "Z ="};

// A grid of fixed-format coordinates with the header row "X", "Y", "Z".
QTableWidget* NewCoordinateGrid(int Rows, QWidget* Parent) {
    auto* Grid = new QTableWidget(Rows, 3, Parent);
    Grid->setHorizontalHeaderLabels({"X", "Y", "Z"});
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int Row = 0; Row < Rows; ++Row) SetCoordinateRow(*Grid, Row, ZeroVector);
    Grid->setFixedHeight(Grid->horizontalHeader()->sizeHint().height() + Rows * Grid->verticalHeader()->defaultSectionSize() + 4);
    return Grid;
}

TVkSpinEdit* NewFloatEdit(QWidget* Parent) {
    auto* Edit = new TVkSpinEdit(Parent);
    Edit->SetSpinType(spFloat);
    Edit->SetIncrement(0.01f);
    Edit->SetPrecision(3);
    Edit->QuietValueUpdateDelay = 1000;
    Edit->setFixedHeight(22);
    return Edit;
}

}  // namespace

TPlaneFrame::TPlaneFrame(TGeoPlane& AEntity, QWidget* Parent) : QScrollArea(Parent), Entity(&AEntity) {
    setObjectName("PlaneFrame");
    setFixedWidth(232);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* Body = new QWidget(this);
    auto* Layout = new QVBoxLayout(Body);

    Title = NewFrameTitle("Plane", Body);
    Layout->addWidget(Title);
    NameColor = new TFrameNameColor(&AEntity, Body);
    Layout->addWidget(NameColor);

    ModeGroup = new TVkGroupBox("Plane Mode", Body);
    ModeGroup->setObjectName("PlaneMode");
    auto* ModeLayout = new QGridLayout(ModeGroup);
    auto* Modes = new QButtonGroup(ModeGroup);
    for (int Tag = 0; Tag < 7; ++Tag) {
        ModeButtons[Tag] = new QRadioButton(ModeCaptions[Tag], ModeGroup);
        Modes->addButton(ModeButtons[Tag], Tag);
        // The three axes side by side, the turns below them, the three points on a row of their own.
        if (Tag < 6)
            ModeLayout->addWidget(ModeButtons[Tag], Tag / 3, Tag % 3);
        else
            ModeLayout->addWidget(ModeButtons[Tag], 2, 0, 1, 3);
    }
    Layout->addWidget(ModeGroup);

    LocationGroup = new TVkGroupBox("Location", Body);
    LocationGroup->setObjectName("Location");
    auto* LocationLayout = new QHBoxLayout(LocationGroup);
    LocationLabel = new QLabel(LocationGroup);
    OffsetEdit = NewFloatEdit(LocationGroup);
    LocationLayout->addWidget(LocationLabel);
    LocationLayout->addWidget(OffsetEdit, 1);
    Layout->addWidget(LocationGroup);

    InclinationGroup = new TVkGroupBox("Point Location and Inclination", Body);
    InclinationGroup->setObjectName("PointLocationAndInclination");
    auto* InclinationLayout = new QVBoxLayout(InclinationGroup);
    LocationGrid = NewCoordinateGrid(1, InclinationGroup);
    LocationGrid->verticalHeader()->hide();
    InclinationLayout->addWidget(LocationGrid);
    auto* AngleRow = new QHBoxLayout;
    AngleRow->addWidget(new QLabel("Inclination = ", InclinationGroup));
    InclinationEdit = NewFloatEdit(InclinationGroup);
    AngleRow->addWidget(InclinationEdit, 1);
    InclinationLayout->addLayout(AngleRow);
    Layout->addWidget(InclinationGroup);

    PointsGroup = new TVkGroupBox("Three Location Points", Body);
    PointsGroup->setObjectName("ThreeLocationPoints");
    auto* PointsLayout = new QVBoxLayout(PointsGroup);
    PointsGrid = NewCoordinateGrid(3, PointsGroup);
    PointsGrid->setVerticalHeaderLabels({"1", "2", "3"});
    PointsGrid->verticalHeader()->setFixedWidth(40);
    PointsLayout->addWidget(PointsGrid);
    Layout->addWidget(PointsGroup);
    Layout->addStretch();
    setWidget(Body);

    connect(Modes, &QButtonGroup::idClicked, this, [this](int Tag) {
        if (!Filling && Entity != nullptr) Entity->SetPlaneMode(static_cast<TGeoPlaneMode>(Tag));
    });
    OffsetEdit->OnChange = [this](QObject*) {
        if (!Filling && Entity != nullptr) Entity->SetOffset(OffsetEdit->GetValue());
    };
    InclinationEdit->OnChange = [this](QObject*) {
        if (!Filling && Entity != nullptr) Entity->SetInclination(InclinationEdit->GetValue() / 180.0 * Pi);
    };
    connect(LocationGrid, &QTableWidget::cellChanged, this, [this](int, int Column) { EditLocationCell(Column); });
    connect(PointsGrid, &QTableWidget::cellChanged, this, [this](int Row, int Column) { EditPointCell(Row, Column); });
    connect(PointsGrid, &QTableWidget::currentCellChanged, this, [this](int Row, int, int, int) {
        if (!Filling && Entity != nullptr && Row >= 0) Entity->SelectOnlyHandle(Row);
    });

    RefreshAll();
}

TPlaneFrame::~TPlaneFrame() = default;

void TPlaneFrame::GeometryDestroyed() {
    Entity = nullptr;
    NameColor->SetEntity(nullptr);
}

void TPlaneFrame::ShowGroups() {
    const TGeoPlaneMode Mode = Entity->GetPlaneMode();
    LocationGroup->setVisible(Mode <= pmZ);
    InclinationGroup->setVisible(Mode >= pmRoll && Mode <= pmYaw);
    PointsGroup->setVisible(Mode == pmThreePoints);
}

void TPlaneFrame::RefreshAll() {
    if (Entity == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    const TGeoPlaneMode Mode = Entity->GetPlaneMode();
    ModeButtons[Mode]->setChecked(true);
    LocationLabel->setText(LocationLabels[Mode <= pmZ ? Mode : 0]);
    ShowGroups();
    Filling = false;
    RefreshPosition();
}

void TPlaneFrame::RefreshPosition() {
    if (Entity == nullptr) return;
    Filling = true;
    const QSignalBlocker BlockLocation(LocationGrid);
    const QSignalBlocker BlockPoints(PointsGrid);
    OffsetEdit->SetValueQuietly(static_cast<float>(Entity->Plane().Offset()));
    TPolyline& Handles = Entity->Handles();
    SetCoordinateRow(*LocationGrid, 0, Handles.Count() > 0 ? Handles.Point(0)->Vector() : ZeroVector);
    InclinationEdit->SetValueQuietly(static_cast<float>(Entity->GetInclination() * 180.0 / Pi));
    for (int Row = 0; Row < 3; ++Row)
        SetCoordinateRow(*PointsGrid, Row, Row < Handles.Count() ? Handles.Point(Row)->Vector() : ZeroVector);
    Filling = false;
}

void TPlaneFrame::EditLocationCell(int Column) {
    if (Filling || Entity == nullptr) return;
    double Value = 0;
    if (CellNumber(*LocationGrid, 0, Column, Value))
        Entity->SetLocationCoordinate(Column, Value);
    else
        RefreshPosition();
}

void TPlaneFrame::EditPointCell(int Row, int Column) {
    if (Filling || Entity == nullptr) return;
    double Value = 0;
    if (CellNumber(*PointsGrid, Row, Column, Value))
        Entity->SetHandleCoordinate(Row, Column, Value);
    else
        RefreshPosition();
}

void RegisterPlaneUi() {
    RegisterGeometryFrame(PlaneFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Plane = dynamic_cast<TGeoPlane*>(&Geometry);
        if (Plane == nullptr) return nullptr;
        return new TPlaneFrame(*Plane, static_cast<QWidget*>(Owner));
    });
    PlaneProjectionDialog() = ShowPlaneProjectionForm;
}

}  // namespace sarnova
