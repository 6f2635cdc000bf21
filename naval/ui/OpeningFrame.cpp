#include "naval/ui/OpeningFrame.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "document/GeometryList.h"
#include "entities/ui/FrameParts.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "controls/EditNumbers.h"
#include "naval/GGroup.h"
#include "naval/GOpening.h"
#include "platform/Clipboard.h"
#include "controls/FillDlg.h"
#include "controls/MeshEditSelector.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

namespace {

QToolButton* NewButton(const char* Name, const QString& Text, const QString& Hint, QWidget* Parent) {
    auto* Button = new QToolButton(Parent);
    Button->setObjectName(Name);
    Button->setText(Text);
    Button->setToolTip(Hint);
    return Button;
}

QString GeneralText(double Value) { return QString::fromStdString(FloatToStrF(Value, ffGeneral, 10, 3)); }

}  // namespace

TOpeningFrame::TOpeningFrame(TGeoOpening& AOpening, QWidget* Parent) : QWidget(Parent), Opening(&AOpening) {
    setObjectName("OpeningFrame");
    auto* Layout = new QVBoxLayout(this);
    EntityClass = NewFrameTitle("Opening", this);
    Layout->addWidget(EntityClass);
    VkGroupBox1 = new TFrameNameColor(&AOpening, this);
    VkGroupBox1->setObjectName("VkGroupBox1");
    Layout->addWidget(VkGroupBox1);

    VkGroupBox3 = new TVkGroupBox("Points", this);
    VkGroupBox3->setObjectName("VkGroupBox3");
    auto* PointsLayout = new QVBoxLayout(VkGroupBox3);
    PointsLayout->setContentsMargins(2, 2, 2, 2);
    auto* Buttons = new QHBoxLayout;
    Buttons->setSpacing(2);
    LeftBut = NewButton("LeftBut", "<", "Previous Section", VkGroupBox3);
    RightBut = NewButton("RightBut", ">", "Next Section", VkGroupBox3);
    InsAboveBut = NewButton("InsAboveBut", "Ins ^", "Insert Above", VkGroupBox3);
    InsBelowBut = NewButton("InsBelowBut", "Ins v", "Insert Below", VkGroupBox3);
    DelRowBut = NewButton("DelRowBut", "Del Row", "Delete Point", VkGroupBox3);
    SpeedButton1 = NewButton("SpeedButton1", "Fill", "Fill Column", VkGroupBox3);
    CopyBut = NewButton("CopyBut", "Copy", "Copy Grid", VkGroupBox3);
    DelBut = NewButton("DelBut", "Del", "Delete Column or Row", VkGroupBox3);
    for (QToolButton* B : {LeftBut, RightBut, InsAboveBut, InsBelowBut, DelRowBut, SpeedButton1, CopyBut, DelBut})
        Buttons->addWidget(B);
    Buttons->addStretch(1);
    PointsLayout->addLayout(Buttons);
    MeshEditSelector1 = new TMeshEditSelector(VkGroupBox3);
    MeshEditSelector1->setObjectName("MeshEditSelector1");
    MeshEditSelector1->setMinimumHeight(40);
    MeshEditSelector1->SetGridView(svU);
    MeshEditSelector1->SetGridVCount(1);
    MeshEditSelector1->SetGridColor(clBlack);
    PointsLayout->addWidget(MeshEditSelector1);
    VkGrid1 = new QTableWidget(2, 4, VkGroupBox3);
    VkGrid1->setObjectName("VkGrid1");
    VkGrid1->horizontalHeader()->hide();
    VkGrid1->verticalHeader()->hide();
    VkGrid1->verticalHeader()->setDefaultSectionSize(17);
    VkGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    PointsLayout->addWidget(VkGrid1, 1);
    Layout->addWidget(VkGroupBox3, 1);

    VkGroupBox5 = new TVkGroupBox("Connection", this);
    VkGroupBox5->setObjectName("VkGroupBox5");
    auto* Connection = new QGridLayout(VkGroupBox5);
    Connection->setContentsMargins(2, 2, 2, 2);
    ComboBox1 = new QComboBox(VkGroupBox5);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox2 = new QComboBox(VkGroupBox5);
    ComboBox2->setObjectName("ComboBox2");
    Connection->addWidget(new QLabel("Group A:", VkGroupBox5), 0, 0);
    Connection->addWidget(ComboBox1, 0, 1);
    Connection->addWidget(new QLabel("Group B:", VkGroupBox5), 1, 0);
    Connection->addWidget(ComboBox2, 1, 1);
    RadioButton1 = new QRadioButton("A to B", VkGroupBox5);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton2 = new QRadioButton("B to A", VkGroupBox5);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton3 = new QRadioButton("Bi-Directional", VkGroupBox5);
    RadioButton3->setObjectName("RadioButton3");
    RadioButton3->setChecked(true);
    Connection->addWidget(RadioButton1, 2, 0, 1, 2);
    Connection->addWidget(RadioButton2, 3, 0, 1, 2);
    Connection->addWidget(RadioButton3, 4, 0, 1, 2);
    Layout->addWidget(VkGroupBox5);

    VkGroupBox2 = new TVkGroupBox("Parameters", this);
    VkGroupBox2->setObjectName("VkGroupBox2");
    auto* Parameters = new QGridLayout(VkGroupBox2);
    Parameters->setContentsMargins(2, 2, 2, 2);
    Edit2 = new QLineEdit(VkGroupBox2);
    Edit2->setObjectName("Edit2");
    Edit3 = new QLineEdit(VkGroupBox2);
    Edit3->setObjectName("Edit3");
    Parameters->addWidget(new QLabel("Collapse Head:", VkGroupBox2), 0, 0);
    Parameters->addWidget(Edit2, 0, 1);
    Parameters->addWidget(new QLabel("Opening Time:", VkGroupBox2), 1, 0);
    Parameters->addWidget(Edit3, 1, 1);
    Layout->addWidget(VkGroupBox2);

    VkGroupBoxManager1 = new TVkGroupBoxManager(this);
    for (TVkGroupBox* Box : {static_cast<TVkGroupBox*>(VkGroupBox1), VkGroupBox3, VkGroupBox5, VkGroupBox2}) Box->Loaded();
    VkGroupBoxManager1->Loaded();

    const auto Wire = [this](QToolButton* Button, void (TOpeningFrame::*Click)()) {
        connect(Button, &QToolButton::clicked, this, [this, Click] { RunMenuCommand([this, Click] { (this->*Click)(); }); });
    };
    Wire(LeftBut, &TOpeningFrame::LeftButClick);
    Wire(RightBut, &TOpeningFrame::RightButClick);
    Wire(InsAboveBut, &TOpeningFrame::InsAboveButClick);
    Wire(InsBelowBut, &TOpeningFrame::InsBelowButClick);
    Wire(DelRowBut, &TOpeningFrame::DelRowButClick);
    Wire(SpeedButton1, &TOpeningFrame::SpeedButton1Click);
    Wire(CopyBut, &TOpeningFrame::CopyButClick);
    Wire(DelBut, &TOpeningFrame::DelButClick);
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int Column) { CellChanged(Row, Column); });
    connect(VkGrid1, &QTableWidget::currentCellChanged, this, [this] { UpdateRowButtons(); });
    MeshEditSelector1->OnMeshSelect = [this](QObject*, TMeshEditSelectorView, int GridIndex, int) {
        RunMenuCommand([this, GridIndex] { MeshEditSelector1MeshSelect(GridIndex); });
    };
    connect(ComboBox1, &QComboBox::activated, this, [this] { RunMenuCommand([this] { ComboBox1Change(); }); });
    connect(ComboBox2, &QComboBox::activated, this, [this] { RunMenuCommand([this] { ComboBox2Change(); }); });
    int Direction = 0;
    for (QRadioButton* Button : {RadioButton1, RadioButton2, RadioButton3}) {
        connect(Button, &QRadioButton::clicked, this,
                [this, Direction] { RunMenuCommand([this, Direction] { RadioButtonClick(Direction); }); });
        ++Direction;
    }
    connect(Edit2, &QLineEdit::textEdited, this, [this] { RunMenuCommand([this] { Edit2Change(); }); });
    connect(Edit3, &QLineEdit::textEdited, this, [this] { RunMenuCommand([this] { Edit3Change(); }); });
    Refresh();
}

TOpeningFrame::~TOpeningFrame() = default;

void TOpeningFrame::GeometryDestroyed() {
    Opening = nullptr;
    VkGroupBox1->SetEntity(nullptr);
}

void TOpeningFrame::Refresh() {
    if (Opening == nullptr) return;
    const TFlagScope Setting(Filling);
    VkGroupBox1->Refresh();

    const TPolylineList& Sections = Opening->Sections();
    const int Count = Sections.Count();
    const int Current = Opening->GetCurrentSection();
    const TPolyline* Section = Current >= 0 && Current < Count ? Sections.Items(Current) : nullptr;
    const int Points = Section != nullptr ? Section->Count() : 0;
    LeftBut->setEnabled(Current > 0);
    RightBut->setEnabled(Current < Count - 1);
    DelBut->setEnabled(Count > 3);
    VkGroupBox3->SetCaption(Format("Section %d of %d - %d Points", {Current + 1, Count, Points}));

    {
        const QSignalBlocker Quiet(VkGrid1);
        VkGrid1->setUpdatesEnabled(false);
        VkGrid1->setRowCount(Points + 1);
        VkGrid1->setColumnWidth(0, 20);
        const char* const Headers[] = {"", "X", "Y", "Z"};
        const auto Put = [this](int Row, int Column, const QString& Text, bool Editable) {
            auto* Item = new QTableWidgetItem(Text);
            Item->setTextAlignment(Column == 0 || Row == 0 ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
            if (!Editable) Item->setFlags(Qt::ItemIsEnabled);
            VkGrid1->setItem(Row, Column, Item);
        };
        for (int Column = 0; Column < 4; ++Column) Put(0, Column, Headers[Column], false);
        for (int Row = 1; Row <= Points; ++Row) {
            const TRPoint& P = *Section->Point(Row - 1);
            Put(Row, 0, QString::number(Row - 1), false);
            Put(Row, 1, QString::fromStdString(Format("%.3f", {P.X})), true);
            Put(Row, 2, QString::fromStdString(Format("%.3f", {P.Y})), true);
            Put(Row, 3, QString::fromStdString(Format("%.3f", {P.Z})), true);
        }
        VkGrid1->setUpdatesEnabled(true);
    }

    TReferenceConnection& C = Opening->Connection();
    FillGroupCombo(ComboBox1, C.GetEndA(), C.GetEndB());
    FillGroupCombo(ComboBox2, C.GetEndB(), C.GetEndA());
    QRadioButton* Buttons[] = {RadioButton1, RadioButton2, RadioButton3};
    Buttons[C.Direction <= 2 ? C.Direction : 2]->setChecked(true);
    // An edit being typed in keeps its text.
    if (!Edit2->hasFocus()) Edit2->setText(GeneralText(C.HeadOfWater));
    if (!Edit3->hasFocus()) Edit3->setText(GeneralText(C.OpeningTime));

    MeshEditSelector1->SetGridUCount(Count);
    MeshEditSelector1->SetGridUSelected(Current);
    UpdateRowButtons();
}

void TOpeningFrame::FillGroupCombo(QComboBox* Combo, const std::string& Current, const std::string& Other) {
    const QSignalBlocker Quiet(Combo);
    Combo->clear();
    Combo->addItem("Sea");
    const std::string UCurrent = UpperCase(Current), UOther = UpperCase(Other);
    int Selected = UCurrent == "SEA" ? 0 : -1;
    if (TGeometryList* List = Opening != nullptr ? Opening->GetOwnerList() : nullptr)
        for (int I = 0; I < List->Count(); ++I) {
            const auto* Group = dynamic_cast<const TGeoGroup*>(&List->Items(I));
            if (Group == nullptr) continue;
            const std::string Name = UpperCase(Group->GetName());
            if (Name == UOther) continue;
            if (Selected < 0 && Name == UCurrent) Selected = Combo->count();
            Combo->addItem(QString::fromStdString(Group->GetName()));
        }
    Combo->setCurrentIndex(Selected);
}

int TOpeningFrame::CurrentRow() const {
    const int Row = VkGrid1->currentRow();
    return Row >= 1 ? Row : 0;
}

void TOpeningFrame::UpdateRowButtons() {
    if (Opening == nullptr) return;
    const int Current = Opening->GetCurrentSection();
    const int Points = Current < Opening->Sections().Count() ? Opening->Sections().Items(Current)->Count() : 0;
    const bool OnRow = CurrentRow() >= 1;
    InsAboveBut->setEnabled(OnRow);
    InsBelowBut->setEnabled(OnRow);
    // A section keeps at least two points.
    DelRowBut->setEnabled(OnRow && Points > 2);
}

void TOpeningFrame::EndCellEdit() {
    QWidget* Editor = QApplication::focusWidget();
    if (Editor != nullptr && VkGrid1->viewport()->isAncestorOf(Editor)) {
        emit VkGrid1->itemDelegate()->commitData(Editor);
        emit VkGrid1->itemDelegate()->closeEditor(Editor);
    }
}

void TOpeningFrame::LeftButClick() {
    if (Opening != nullptr) Opening->SetCurrentSection(Opening->GetCurrentSection() - 1);
}

void TOpeningFrame::RightButClick() {
    if (Opening != nullptr) Opening->SetCurrentSection(Opening->GetCurrentSection() + 1);
}

void TOpeningFrame::MeshEditSelector1MeshSelect(int Index) {
    if (Opening != nullptr) Opening->SetCurrentSection(Index);
}

void TOpeningFrame::DelButClick() {
    if (Opening != nullptr) Opening->DeleteCurrentSection();
}

void TOpeningFrame::VkGrid1EditCell(int Column, double Value, int Row) {
    if (Opening != nullptr && Column >= 1 && Column <= 3) Opening->SetSectionPoint(Row - 1, Column - 1, Value);
}

void TOpeningFrame::CellChanged(int Row, int Column) {
    if (Filling || Opening == nullptr) return;
    double Value = 0;
    if (CellNumber(*VkGrid1, Row, Column, Value))
        RunMenuCommand([&] { VkGrid1EditCell(Column, Value, Row); });
    else
        Refresh();  // not a number: the cell shows the point again
}

void TOpeningFrame::InsAboveButClick() {
    EndCellEdit();
    if (Opening != nullptr && CurrentRow() >= 1) Opening->InsertPointBefore(CurrentRow() - 1);
}

void TOpeningFrame::InsBelowButClick() {
    EndCellEdit();
    if (Opening != nullptr && CurrentRow() >= 1) Opening->InsertPointAfter(CurrentRow() - 1);
}

void TOpeningFrame::DelRowButClick() {
    EndCellEdit();
    if (Opening != nullptr && CurrentRow() >= 1) Opening->DeleteSectionPoint(CurrentRow() - 1);
}

void TOpeningFrame::SpeedButton1Click() {
    if (Opening == nullptr) return;
    const int Current = Opening->GetCurrentSection();
    if (Current < 0 || Current >= Opening->Sections().Count()) return;
    Opening->BeginChange();
    EndCellEdit();
    const int Column = VkGrid1->currentColumn();
    FillPolylineCoordinate(*Opening->Sections().Items(Current), Column == 1 ? 0 : Column == 2 ? 1 : 2);
    Opening->EndChange();
    Opening->InvalidateViews();
}

void TOpeningFrame::CopyButClick() {
    std::string Text;
    for (int Row = 1; Row < VkGrid1->rowCount(); ++Row)
        for (int Column = 1; Column < VkGrid1->columnCount(); ++Column) {
            const QTableWidgetItem* Item = VkGrid1->item(Row, Column);
            Text += (Item != nullptr ? Item->text().toStdString() : std::string()) +
                    (Column < VkGrid1->columnCount() - 1 ? "\t" : "\r\n");
        }
    TextClipboard().SetText(Text);
}

namespace {
// The combo's end name: "Sea" or the group's name; empty when nothing is chosen.
std::string ComboEnd(const QComboBox* Combo) {
    return Combo->currentIndex() < 0 ? std::string() : Combo->currentText().toStdString();
}
}  // namespace

void TOpeningFrame::ComboBox1Change() {
    if (Opening == nullptr) return;
    Opening->SetEndA(ComboEnd(ComboBox1));
    if (Opening != nullptr) FillGroupCombo(ComboBox2, Opening->Connection().GetEndB(), Opening->Connection().GetEndA());
}

void TOpeningFrame::ComboBox2Change() {
    if (Opening == nullptr) return;
    Opening->SetEndB(ComboEnd(ComboBox2));
    if (Opening != nullptr) FillGroupCombo(ComboBox1, Opening->Connection().GetEndA(), Opening->Connection().GetEndB());
}

void TOpeningFrame::RadioButtonClick(int Direction) {
    if (Opening != nullptr) Opening->SetDirection(static_cast<std::uint8_t>(Direction));
}

void TOpeningFrame::Edit2Change() {
    if (Opening != nullptr) Opening->SetHeadOfWater(EditToFloat(Edit2, false));
}

void TOpeningFrame::Edit3Change() {
    if (Opening != nullptr) Opening->SetOpeningTime(EditToFloat(Edit3, false));
}

void RegisterOpeningUi() {
    RegisterGeometryFrame(OpeningFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Opening = dynamic_cast<TGeoOpening*>(&Geometry);
        if (Opening == nullptr) return nullptr;
        return new TOpeningFrame(*Opening, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
