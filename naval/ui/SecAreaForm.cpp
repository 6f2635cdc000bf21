#include "naval/ui/SecAreaForm.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "foundation/NumberText.h"
#include "foundation/PolyList.h"
#include "naval/HullSelection.h"
#include "naval/HydroTable.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGraph.h"
#include "controls/VkGrid.h"
#include "controls/VkStatusBar.h"

namespace sarnova {

TSecAreaForm::TSecAreaForm(QWidget* Parent) : THullCalculationForm(Parent) {
    setObjectName("SecAreaForm");
    setWindowTitle("Section Area Curve");
    resize(720, 520);
    Edit1->setText("(0.1, 2, 0.1), 0.25");

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    auto* Top = new QHBoxLayout(Panel1);
    auto* Fields = new QVBoxLayout;
    auto* DraughtRow = new QHBoxLayout;
    DraughtRow->addWidget(new QLabel("Draughts:", Panel1));
    Edit1->setParent(Panel1);
    DraughtRow->addWidget(Edit1, 1);
    Button1->setParent(Panel1);
    DraughtRow->addWidget(Button1);
    auto* RangeRow = new QHBoxLayout;
    RangeRow->addWidget(new QLabel("Min Draught:", Panel1));
    Label4->setParent(Panel1);
    RangeRow->addWidget(Label4);
    RangeRow->addWidget(new QLabel("Max Draught:", Panel1));
    Label5->setParent(Panel1);
    RangeRow->addWidget(Label5);
    RangeRow->addStretch(1);
    Fields->addLayout(DraughtRow);
    Fields->addLayout(RangeRow);
    Top->addLayout(Fields, 1);

    GroupBox1 = new QGroupBox(" Displayed Function ", Panel1);
    GroupBox1->setObjectName("GroupBox1");
    auto* Functions = new QVBoxLayout(GroupBox1);
    RadioButton1 = new QRadioButton("Half Area", GroupBox1);
    RadioButton2 = new QRadioButton("Full Area", GroupBox1);
    RadioButton3 = new QRadioButton("Local Area / Max Area", GroupBox1);
    RadioButton4 = new QRadioButton("Local Area / (Local Beam * Local Draught)", GroupBox1);
    int Index = 1;
    for (QRadioButton* Button : {RadioButton1, RadioButton2, RadioButton3, RadioButton4}) {
        Button->setObjectName(QString("RadioButton%1").arg(Index++));
        Functions->addWidget(Button);
        connect(Button, &QRadioButton::clicked, this, [this] { RunMenuCommand([this] { Calculate(); }); });
    }
    RadioButton1->setChecked(true);
    Top->addWidget(GroupBox1);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    VkGraph1 = new TVkGraph(PageControl1);
    VkGraph1->setObjectName("VkGraph1");
    VkGraph1->SetTitle("Section Area Curve");
    VkGraph1->GetXAxis().SetTitle("X (m)");
    VkGraph1->GetYAxis().SetTitle("Area (m2)");
    for (TVkAxis* Axis : {&VkGraph1->GetXAxis(), &VkGraph1->GetYAxis()}) {
        Axis->SetAutoMin(true);
        Axis->SetAutoMax(true);
        Axis->SetAutoGap(true);
        Axis->SetGridLines(true);
    }
    VkGraph1->SetChartColor(clWhite);
    VkGraph1->SetShowLegend(false);
    PageControl1->addTab(VkGraph1, "Section Area Curves");
    VkGrid1 = new TVkGrid(PageControl1);
    VkGrid1->setObjectName("VkGrid1");
    VkGrid1->SetFixedRows(1);
    VkGrid1->SetFixedColumns(1);
    VkGrid1->FloatFormat().SetFormat(ffFixed);
    VkGrid1->FloatFormat().SetDigits(3);
    PageControl1->addTab(VkGrid1, "Section Area Data");

    StatusBar1->Panels().Add()->SetWidth(400);
    StatusBar1->Loaded();

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(Panel1);
    Layout->addWidget(PageControl1, 1);
    Layout->addWidget(StatusBar1);
}

TSecAreaForm::~TSecAreaForm() = default;

void TSecAreaForm::EnableControls(bool On) {
    THullCalculationForm::EnableControls(On);
    for (QWidget* W : std::initializer_list<QWidget*>{RadioButton1, RadioButton2, RadioButton3, RadioButton4,
                                                      VkGraph1, Panel1})
        W->setEnabled(On);
}

TSectionAreaFunction TSecAreaForm::DisplayedFunction() const {
    if (RadioButton2->isChecked()) return safFullArea;
    if (RadioButton3->isChecked()) return safAreaRatio;
    if (RadioButton4->isChecked()) return safLocalCoefficient;
    return safHalfArea;
}

void TSecAreaForm::Calculate() {
    const std::vector<double> Draughts = DraughtsFromText(Edit1->text().toStdString());
    EnableControls(false);
    TVkSeriesList& Series = VkGraph1->GetSeriesList();
    Series.BeginUpdate();
    VkGrid1->BeginUpdate();
    struct TRestore {
        TSecAreaForm& Form;
        ~TRestore() {
            Form.VkGrid1->EndUpdate();
            Form.VkGraph1->GetSeriesList().EndUpdate();
            Form.EnableControls(true);
            Form.StatusBar1->Panels().Item(0)->SetText("");
        }
    } Restore{*this};
    SetStatusText("Calculating Section Area Curves...");
    Series.Clear();

    const int SectionCount = Sections ? Sections->Count() : 0;
    VkGrid1->SetSize(static_cast<int>(Draughts.size()) + 1, SectionCount + 1);
    for (std::size_t D = 0; D < Draughts.size(); ++D) {
        // The text of a number becomes the number: it shows in the cell's own fixed format.
        TVkCell& Header = VkGrid1->Cell(static_cast<int>(D) + 1, 0);
        Header.FloatFormat().SetFormat(ffFixed);
        Header.FloatFormat().SetDigits(3);
        Header.SetValue(Fixed3(Draughts[D]));
        Header.SetAlignment(laCentre);
    }
    for (int S = 0; S < SectionCount; ++S) {
        TVkCell& Header = VkGrid1->Cell(0, S + 1);
        Header.SetFormat(lfText);
        Header.SetValue("X" + Fixed3(Sections->Items(S)->GetStation()));
        Header.SetAlignment(laCentre);
        for (std::size_t D = 0; D < Draughts.size(); ++D) VkGrid1->Cell(static_cast<int>(D) + 1, S + 1).SetValue(TVkValue());
    }
    if (!Sections) return;

    const TSectionAreaFunction Function = DisplayedFunction();
    for (std::size_t D = 0; D < Draughts.size(); ++D) {
        const std::string Draught = FloatToStr(Draughts[D]);
        SetStatusText("Calculating Section Area Curves (Draught: " + Draught + ")...");
        ProcessPendingMessages();
        const TSectionAreaCurve Curve = SectionAreaCurve(*Sections, Draughts[D], Function);
        auto Line = std::make_unique<TVkSeries>();
        Line->SetName("Draught " + Draught);
        for (const TSectionAreaPoint& P : Curve.Points) Line->AddXY(P.Station, P.Value);
        for (int S = 0; S < SectionCount; ++S) {
            TVkCell& Cell = VkGrid1->Cell(static_cast<int>(D) + 1, S + 1);
            Cell.SetFormat(lfNumeric);
            Cell.SetValue(Curve.SectionValues[static_cast<std::size_t>(S)]);
            Cell.SetAlignment(laRightJustify);
        }
        Series.AddSeries(std::move(Line));
    }

    TVkAxis& Y = VkGraph1->GetYAxis();
    switch (Function) {
        case safHalfArea:
        case safFullArea:
            Y.SetTitle("Area (m²)");
            VkGraph1->SetTitle(Function == safHalfArea ? "Half Section Area" : "Section Area");
            Y.SetAutoMin(true);
            Y.SetAutoMax(true);
            Y.SetAutoGap(true);
            break;
        case safAreaRatio:
        case safLocalCoefficient:
            Y.SetTitle(Function == safAreaRatio ? "Area/MaxArea" : "Cx");
            VkGraph1->SetTitle(Function == safAreaRatio ? "Area/MaxArea" : "Local Section Area Coefficient");
            Y.SetMax(1);
            Y.SetGap(0.1);
            break;
    }
}

bool CanOpenSectionAreaCurve(TGeometryList* Document) { return DocumentHasSelectedHull(Document); }

void OpenSectionAreaCurve(TGeometryList* Document) {
    TSecAreaForm Form;
    Form.SetDocument(Document);
    Form.exec();
}

}  // namespace sarnova
