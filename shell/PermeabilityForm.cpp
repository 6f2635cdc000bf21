#include "shell/PermeabilityForm.h"

#include <QLabel>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

#include "document/GeometryList.h"
#include "naval/Arrangement.h"
#include "naval/GPList.h"
#include "shell/GeometryServer.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGrid.h"

namespace sarnova {

namespace {

QPointer<TPermeabilityForm> GPermeabilityForm;

constexpr TColor PositiveColor = 0x0000FF;

}  // namespace

TPermeabilityForm::TPermeabilityForm(QWidget* Parent)
    : TToolWindowForm(Parent, "PermeabilityForm", "Permeabilities"),
      Arrangement(std::make_unique<arrangement::TArrangement>()) {
    BusyFlag = true;
    PermBut = new QToolButton(VkDockPanel1);
    PermBut->setObjectName("PermBut");
    PermBut->setText("Modify Child Compartment Permeabilities");
    PermBut->setCheckable(true);
    PermBut->setChecked(true);
    PermBut->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    VkGrid1 = new TVkGrid(VkDockPanel1);
    VkGrid1->setObjectName("VkGrid1");
    VkGrid1->SetSize(3, 1);
    VkGrid1->SetFixedRows(1);
    VkGrid1->SetFixedColumns(0);
    VkGrid1->FloatFormat().SetFormat(ffFixed);
    VkGrid1->FloatFormat().SetDigits(3);
    const char* const Titles[3] = {"Name", "Permeability", "Actual Perm"};
    for (int C = 0; C < 3; ++C) VkGrid1->Cell(C, 0).SetValue(Titles[C]);
    VkGrid1->OnSelectCell = [this](TVkGridModel*, int Col, int Row, bool& CanSelect) {
        if (Busy()) return;
        TBusyScope Scope(BusyFlag);
        CanSelect = true;
        VkGrid1->SetOptions(Col == 1 ? (VkGrid1->GetOptions() | loEditing) : (VkGrid1->GetOptions() & ~loEditing));
        TGeometryList* Document = ActiveDocument();
        if (Document && Row >= 1) Document->SelectByName(VkGrid1->Cell(0, Row).GetValue().AsString());
    };
    VkGrid1->OnEditCell = [this](TVkGridModel*, int Col, int Row, TVkValue& Value) {
        if (Col == 1) EditPermeability(Row, Value.AsDouble());
    };
    ProblemLabel = new QLabel(VkDockPanel1);
    ProblemLabel->setObjectName("ProblemLabel");
    ProblemLabel->setWordWrap(true);
    Contents()->addWidget(PermBut);
    Contents()->addWidget(VkGrid1, 1);
    Contents()->addWidget(ProblemLabel);
    if (Client) Client->OnMessage = [this](TGeoMessage& Message) { HandleMessage(Message); };
    Refresh();
    BusyFlag = false;
}

TPermeabilityForm::~TPermeabilityForm() = default;

void TPermeabilityForm::HandleMessage(TGeoMessage& Message) {
    if (dynamic_cast<TGeoListChange*>(&Message) || dynamic_cast<TGeoActiveListChange*>(&Message)) Refresh();
}

void TPermeabilityForm::ShowNoDocument() {
    Arrangement->Clear();
    VkGrid1->SetRowCount(1);
    ProblemLabel->setText("");
}

void TPermeabilityForm::Refresh() {
    TBusyScope Scope(BusyFlag);
    VkGrid1->BeginUpdate();
    struct TEnd {
        TVkGrid* Grid;
        ~TEnd() { Grid->EndUpdate(); }
    } End{VkGrid1};
    VkGrid1->SetRowCount(1);
    TGeometryList* Document = ActiveDocument();
    if (!Document) {
        Arrangement->Clear();
        ProblemLabel->setText("");
        return;
    }
    Arrangement->Build(*Document);
    ProblemLabel->setText(QString::fromStdString(Arrangement->GetProblem()));
    std::vector<TGeoPList*> Lists;
    for (int I = 0; I < Document->Count(); ++I)
        if (auto* L = dynamic_cast<TGeoPList*>(&Document->Items(I))) Lists.push_back(L);
    VkGrid1->SetRowCount(static_cast<int>(Lists.size()) + 1);
    for (std::size_t I = 0; I < Lists.size(); ++I) {
        const int Row = static_cast<int>(I) + 1;
        VkGrid1->Cell(0, Row).SetFormat(lfText);
        VkGrid1->Cell(0, Row).SetValue(Lists[I]->GetName());
        VkGrid1->Cell(1, Row).SetFormat(lfNumeric);
        VkGrid1->Cell(1, Row).SetValue(Lists[I]->GetPermeability());
        TVkCell& Actual = VkGrid1->Cell(2, Row);
        Actual.SetValue(TVkValue());
        const arrangement::TCompartment* C = Arrangement->Find(Lists[I]);
        const double Effective = C ? C->EffectivePermeability() : 0;
        if (C && Effective != 0) {
            Actual.SetValue(Effective);
            Actual.SetTextColor(Effective > 0 ? PositiveColor : clBlack);
        }
    }
    // The names take the room the two numbers leave; the numbers keep their titles whole.
    VkGrid1->Column(0).AutoSize = true;
    VkGrid1->Column(1).AutoSize = false;
    VkGrid1->Column(2).AutoSize = false;
    VkGrid1->FitColumnsToText(40);
}

void TPermeabilityForm::EditPermeability(int Row, double Value) {
    TGeometryList* Document = ActiveDocument();
    if (!Document || Row < 1 || Row >= VkGrid1->GetRowCount()) return;
    auto* Entity = dynamic_cast<TGeoPList*>(Document->FindByName(VkGrid1->Cell(0, Row).GetValue().AsString()));
    if (!Entity) return;
    arrangement::TCompartment* C = Arrangement->Find(Entity);
    if (C && !C->GetIsRoot() && PermBut->isChecked())
        C->SetPermeabilityKeepingChildren(Value);
    else
        Entity->SetPermeability(Value);
    Refresh();
}

TPermeabilityForm* GetPermeabilityForm() { return GetToolWindow(GPermeabilityForm); }

}  // namespace sarnova
