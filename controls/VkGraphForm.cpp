#include "controls/VkGraphForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

#include "foundation/TextUtils.h"
#include "platform/qt/QtCanvas.h"
#include "controls/ColCombo.h"
#include "controls/VkGraphCore.h"

namespace sarnova {

// The colour lists of the form: the standard colour combo box, read where the user picked an item.
class TGraphFormColorBox : public TColorComboBox {
public:
    using TColorComboBox::TColorComboBox;
    // The colour of the item the user picked.
    TColor PickedColor() {
        if (currentIndex() >= 0) SetSelectedColor(ItemColor(currentIndex()));
        return GetSelectedColor();
    }
};

namespace {

// Draws the items of the point-style box: the marker in the series colour, then the name.
class TPointStyleDelegate : public QStyledItemDelegate {
public:
    TPointStyleDelegate(QObject* Parent, TGraphFormColorBox* ColorBox)
        : QStyledItemDelegate(Parent), ColorBox(ColorBox) {}

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        const bool Selected = (Option.state & QStyle::State_Selected) != 0;
        const QPalette& Palette = Option.palette;
        const QRect R = Option.rect;
        Painter->save();
        Painter->fillRect(R, Selected ? Palette.highlight() : Palette.base());
        const int X = R.left() + 10, Y = R.top() + R.height() / 2;
        const QColor Marker = ColorToQColor(ColorBox->GetSelectedColor());
        Painter->setPen(Marker);
        Painter->setBrush(Marker);
        switch (Index.row()) {
            case 1: Painter->drawEllipse(QPoint(X, Y), 5, 5); break;
            case 2: Painter->drawRect(QRect(X - 4, Y - 4, 8, 8)); break;
            case 3: {
                const QPoint Triangle[] = {{X, Y - 6}, {X - 4, Y + 2}, {X + 4, Y + 2}};
                Painter->drawPolygon(Triangle, 3);
                break;
            }
            default: break;
        }
        Painter->setPen(Selected ? Palette.highlightedText().color() : Palette.text().color());
        Painter->drawText(QRect(X + 8, R.top(), R.right() - X - 8, R.height()), Qt::AlignLeft | Qt::AlignVCenter,
                          Index.data().toString());
        Painter->restore();
    }

private:
    TGraphFormColorBox* ColorBox;
};

QDoubleSpinBox* MakeFloatSpin(QWidget* Parent, const QString& Name) {
    auto* Spin = new QDoubleSpinBox(Parent);
    Spin->setObjectName(Name);
    Spin->setDecimals(6);
    Spin->setRange(-1e15, 1e15);
    Spin->setSingleStep(1);
    return Spin;
}

TFont FontFromQFont(const QFont& F, TColor Color) {
    TFont Result;
    Result.Name = F.family().toStdString();
    Result.Size = F.pointSize() > 0 ? F.pointSize() : 8;
    Result.Style = static_cast<TFontStyles>((F.bold() ? fsBold : 0) | (F.italic() ? fsItalic : 0) |
                                            (F.underline() ? fsUnderline : 0) | (F.strikeOut() ? fsStrikeOut : 0));
    Result.Color = Color;
    return Result;
}

QString SeriesLine(int Index, const TVkSeries& S) {
    return QString::fromStdString(Format("Series[%d]: %s", {Index, S.GetName()}));
}

}  // namespace

TVkGraphForm::TVkGraphForm(QWidget* Parent) : QDialog(Parent) {
    setObjectName("VkGraphForm");
    setWindowTitle("Chart Properties");
    setFixedSize(500, 340);
    auto* Layout = new QHBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl1");
    PageControl->addTab(MakeChartPage(), "Chart");
    PageControl->addTab(MakeAxisPage(XPage, true), "X-Axis");
    PageControl->addTab(MakeAxisPage(YPage, false), "Y-Axis");
    PageControl->addTab(MakeSeriesPage(), "Series Data");
    Layout->addWidget(PageControl, 1);
    auto* Right = new QVBoxLayout;
    auto* Close = new QPushButton("Close", this);
    Close->setObjectName("Button1");
    connect(Close, &QPushButton::clicked, this, &QDialog::accept);
    Right->addWidget(Close);
    Right->addStretch(1);
    Layout->addLayout(Right);
    PointStyleBox->addItems({"None", "Circle", "Square", "Triangle"});
}

TVkGraphForm::~TVkGraphForm() = default;

QWidget* TVkGraphForm::MakeChartPage() {
    auto* Page = new QWidget;
    auto* Grid = new QGridLayout(Page);
    Edit6 = new QLineEdit(Page);
    Edit6->setObjectName("Edit6");
    ColorComboBox2 = new TGraphFormColorBox(Page);
    ColorComboBox2->setObjectName("ColorComboBox2");
    ColorComboBox3 = new TGraphFormColorBox(Page);
    ColorComboBox3->setObjectName("ColorComboBox3");
    ColorComboBox4 = new TGraphFormColorBox(Page);
    ColorComboBox4->setObjectName("ColorComboBox4");
    CheckBox5 = new QCheckBox("Show Border", Page);
    CheckBox5->setObjectName("CheckBox5");
    CheckBox6 = new QCheckBox("Show Legend", Page);
    CheckBox6->setObjectName("CheckBox6");
    auto* Button2 = new QPushButton("Change", Page);
    Button2->setObjectName("Button2");
    Panel2 = new QLabel("AaBbYyZz", Page);
    Panel2->setObjectName("Panel2");
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Grid->addWidget(new QLabel("Chart Title:", Page), 0, 0);
    Grid->addWidget(Edit6, 0, 1);
    Grid->addWidget(new QLabel("Colour:", Page), 1, 0);
    Grid->addWidget(ColorComboBox2, 1, 1);
    Grid->addWidget(new QLabel("Chart Area Colour:", Page), 2, 0);
    Grid->addWidget(ColorComboBox3, 2, 1);
    Grid->addWidget(new QLabel("GridLines Colour", Page), 3, 0);
    Grid->addWidget(ColorComboBox4, 3, 1);
    Grid->addWidget(CheckBox5, 4, 0);
    Grid->addWidget(CheckBox6, 4, 1);
    Grid->addWidget(Panel2, 5, 0);
    Grid->addWidget(Button2, 5, 1);
    Grid->setRowStretch(6, 1);

    connect(Edit6, &QLineEdit::textChanged, this, [this](const QString& Text) {
        if (Graph != nullptr) Graph->SetTitle(Text.toStdString());
    });
    const auto OnColor = [this](TGraphFormColorBox* Box, void (TVkGraphCore::*Set)(TColor)) {
        connect(Box, &QComboBox::activated, this, [this, Box, Set] {
            if (Graph != nullptr) (Graph->*Set)(Box->PickedColor());
        });
    };
    OnColor(ColorComboBox2, &TVkGraphCore::SetColor);
    OnColor(ColorComboBox3, &TVkGraphCore::SetChartColor);
    OnColor(ColorComboBox4, &TVkGraphCore::SetGridLinesColor);
    connect(CheckBox5, &QCheckBox::clicked, this, [this](bool On) {
        if (Graph != nullptr) Graph->SetShowChartBorder(On);
    });
    connect(CheckBox6, &QCheckBox::clicked, this, [this](bool On) {
        if (Graph != nullptr) Graph->SetShowLegend(On);
    });
    connect(Button2, &QPushButton::clicked, this, &TVkGraphForm::ChooseFont);
    return Page;
}

QWidget* TVkGraphForm::MakeAxisPage(TAxisPage& P, bool IsX) {
    auto* Page = new QWidget;
    auto* Grid = new QGridLayout(Page);
    const char* Labels[] = {"Minimum", "Maximum", "Gap"};
    const int FirstBox = IsX ? 1 : 7, FirstSpin = IsX ? 2 : 5;
    for (int I = 0; I < 3; ++I) {
        Grid->addWidget(new QLabel(Labels[I], Page), I, 0);
        P.Value[I] = MakeFloatSpin(Page, QString("VkSpinEdit%1").arg(FirstSpin + I));
        Grid->addWidget(P.Value[I], I, 1);
        P.Auto[I] = new QCheckBox("Auto", Page);
        P.Auto[I]->setObjectName(QString("CheckBox%1").arg(FirstBox + I));
        Grid->addWidget(P.Auto[I], I, 2);
    }
    P.Title = new QLineEdit(Page);
    P.Title->setObjectName(IsX ? "Edit4" : "Edit1");
    Grid->addWidget(new QLabel("Axis Text:", Page), 3, 0);
    Grid->addWidget(P.Title, 3, 1, 1, 2);
    P.GridLines = new QCheckBox("Show Grid Lines", Page);
    P.GridLines->setObjectName(IsX ? "CheckBox4" : "CheckBox10");
    Grid->addWidget(P.GridLines, 4, 0, 1, 3);
    auto* Format = new QGroupBox("Axis Labelling Format", Page);
    auto* FormatLayout = new QHBoxLayout(Format);
    P.Loose = new QRadioButton("Loose", Format);
    P.Loose->setObjectName(IsX ? "RadioButton1" : "RadioButton3");
    P.Tight = new QRadioButton("Tight", Format);
    P.Tight->setObjectName(IsX ? "RadioButton2" : "RadioButton4");
    FormatLayout->addWidget(P.Loose);
    FormatLayout->addWidget(P.Tight);
    Grid->addWidget(Format, 5, 0, 1, 3);
    Grid->setRowStretch(6, 1);

    using TGet = double (TVkAxis::*)() const;
    using TSet = void (TVkAxis::*)(double);
    using TGetAuto = bool (TVkAxis::*)() const;
    using TSetAuto = void (TVkAxis::*)(bool);
    static const TGet Gets[] = {&TVkAxis::GetMin, &TVkAxis::GetMax, &TVkAxis::GetGap};
    static const TSet Sets[] = {&TVkAxis::SetMin, &TVkAxis::SetMax, &TVkAxis::SetGap};
    static const TGetAuto GetAutos[] = {&TVkAxis::GetAutoMin, &TVkAxis::GetAutoMax, &TVkAxis::GetAutoGap};
    static const TSetAuto SetAutos[] = {&TVkAxis::SetAutoMin, &TVkAxis::SetAutoMax, &TVkAxis::SetAutoGap};
    for (int I = 0; I < 3; ++I) {
        QCheckBox* Auto = P.Auto[I];
        QDoubleSpinBox* Value = P.Value[I];
        connect(Auto, &QCheckBox::clicked, this, [this, &P, I, Value](bool On) {
            if (Graph == nullptr) return;
            TVkAxis& Axis = AxisOf(P);
            (Axis.*SetAutos[I])(On);
            const QSignalBlocker Quiet(Value);
            Value->setValue((Axis.*Gets[I])());
        });
        connect(Value, &QDoubleSpinBox::valueChanged, this, [this, &P, I, Auto](double V) {
            if (Graph == nullptr) return;
            TVkAxis& Axis = AxisOf(P);
            (Axis.*Sets[I])(V);
            const QSignalBlocker Quiet(Auto);
            Auto->setChecked((Axis.*GetAutos[I])());
        });
    }
    connect(P.Title, &QLineEdit::textChanged, this, [this, &P](const QString& Text) {
        if (Graph != nullptr) AxisOf(P).SetTitle(Text.toStdString());
    });
    connect(P.GridLines, &QCheckBox::clicked, this, [this, &P](bool On) {
        if (Graph != nullptr) AxisOf(P).SetGridLines(On);
    });
    // Both buttons of a pair share one handler.
    const auto OnTickMode = [this, &P] {
        if (Graph != nullptr) AxisOf(P).SetTickMode(P.Loose->isChecked() ? tmLoose : tmTight);
    };
    connect(P.Loose, &QRadioButton::clicked, this, OnTickMode);
    connect(P.Tight, &QRadioButton::clicked, this, OnTickMode);
    return Page;
}

QWidget* TVkGraphForm::MakeSeriesPage() {
    auto* Page = new QWidget;
    auto* Grid = new QGridLayout(Page);
    SeriesListBox = new QListWidget(Page);
    SeriesListBox->setObjectName("SeriesListBox");
    Edit5 = new QLineEdit(Page);
    Edit5->setObjectName("Edit5");
    ColorComboBox1 = new TGraphFormColorBox(Page);
    ColorComboBox1->setObjectName("ColorComboBox1");
    PointStyleBox = new QComboBox(Page);
    PointStyleBox->setObjectName("PointStyleBox");
    PointStyleBox->setItemDelegate(new TPointStyleDelegate(PointStyleBox, ColorComboBox1));
    VkSpinEdit1 = new QSpinBox(Page);
    VkSpinEdit1->setObjectName("VkSpinEdit1");
    VkSpinEdit1->setRange(0, 20);
    DelButt = new QPushButton("Delete", Page);
    DelButt->setObjectName("DelButt");
    CopyButt = new QPushButton("Copy", Page);
    CopyButt->setObjectName("CopyButt");
    PastButt = new QPushButton("Paste", Page);
    PastButt->setObjectName("PastButt");
    Grid->addWidget(SeriesListBox, 0, 0, 6, 1);
    Grid->addWidget(new QLabel("Name:", Page), 0, 1);
    Grid->addWidget(Edit5, 0, 2);
    Grid->addWidget(new QLabel("Colour:", Page), 1, 1);
    Grid->addWidget(ColorComboBox1, 1, 2);
    Grid->addWidget(new QLabel("Point Style:", Page), 2, 1);
    Grid->addWidget(PointStyleBox, 2, 2);
    Grid->addWidget(new QLabel("Line Width:", Page), 3, 1);
    Grid->addWidget(VkSpinEdit1, 3, 2);
    auto* Buttons = new QHBoxLayout;
    Buttons->addWidget(DelButt);
    Buttons->addWidget(CopyButt);
    Buttons->addWidget(PastButt);
    Grid->addLayout(Buttons, 5, 1, 1, 2);

    connect(SeriesListBox, &QListWidget::itemClicked, this, [this] { ShowSeries(SeriesListBox->currentRow()); });
    connect(Edit5, &QLineEdit::textChanged, this, [this](const QString& Text) {
        if (Shown == nullptr) return;
        Shown->SetName(Text.toStdString());
        const int Row = SeriesListBox->currentRow();
        if (QListWidgetItem* Item = SeriesListBox->item(Row)) Item->setText(SeriesLine(Row, *Shown));
    });
    connect(ColorComboBox1, &QComboBox::activated, this, [this] {
        if (Shown == nullptr) return;
        Shown->SetColor(ColorComboBox1->PickedColor());
        PointStyleBox->update();
    });
    connect(PointStyleBox, &QComboBox::currentIndexChanged, this, [this](int Index) {
        if (Shown != nullptr && Index >= 0) Shown->SetPointType(static_cast<std::uint8_t>(Index));
    });
    connect(VkSpinEdit1, &QSpinBox::valueChanged, this, [this](int Value) {
        if (Shown != nullptr) Shown->SetLineWidth(Value);
    });
    connect(DelButt, &QPushButton::clicked, this, [this] {
        if (Graph == nullptr || Shown == nullptr || Graph->GetSeriesList().Count() < 2) return;
        const int Row = SeriesListBox->currentRow();
        if (Row < 0 || Row >= Graph->GetSeriesList().Count()) return;
        Shown = nullptr;
        Graph->GetSeriesList().Delete(Row);
        RefreshControls();
    });
    connect(CopyButt, &QPushButton::clicked, this, [this] {
        if (Graph != nullptr) Graph->CopyChartFormat();
    });
    connect(PastButt, &QPushButton::clicked, this, [this] {
        if (Graph == nullptr) return;
        Graph->Paste();
        RefreshControls();
    });
    return Page;
}

void TVkGraphForm::ChooseFont() {
    if (Graph == nullptr) return;
    bool Ok = false;
    const QFont Chosen = QFontDialog::getFont(&Ok, FontToQFont(Graph->GetFont()), this);
    if (!Ok) return;
    Graph->SetFont(FontFromQFont(Chosen, Graph->GetFont().Color));
    Panel2->setFont(Chosen);
}

TVkAxis& TVkGraphForm::AxisOf(const TAxisPage& Page) const {
    return &Page == &XPage ? Graph->GetXAxis() : Graph->GetYAxis();
}

void TVkGraphForm::SetGraph(TVkGraphCore* Value) {
    Graph = Value;
    PageControl->setCurrentIndex(0);
    RefreshControls();
}

void TVkGraphForm::RefreshAxis(TAxisPage& P, const TVkAxis& Axis) {
    const double Values[] = {Axis.GetMin(), Axis.GetMax(), Axis.GetGap()};
    const bool Autos[] = {Axis.GetAutoMin(), Axis.GetAutoMax(), Axis.GetAutoGap()};
    for (int I = 0; I < 3; ++I) {
        const QSignalBlocker QuietValue(P.Value[I]), QuietAuto(P.Auto[I]);
        P.Value[I]->setValue(Values[I]);
        P.Auto[I]->setChecked(Autos[I]);
    }
    const QSignalBlocker QuietTitle(P.Title), QuietGrid(P.GridLines), QuietLoose(P.Loose), QuietTight(P.Tight);
    P.Title->setText(QString::fromStdString(Axis.GetTitle()));
    P.GridLines->setChecked(Axis.GetGridLines());
    (Axis.GetTickMode() == tmLoose ? P.Loose : P.Tight)->setChecked(true);
}

void TVkGraphForm::RefreshControls() {
    if (Graph == nullptr) return;
    {
        const QSignalBlocker Q1(Edit6), Q2(ColorComboBox2), Q3(ColorComboBox3), Q4(ColorComboBox4), Q5(CheckBox5),
            Q6(CheckBox6);
        Edit6->setText(QString::fromStdString(Graph->GetTitle()));
        ColorComboBox2->SetSelectedColor(Graph->GetColor());
        ColorComboBox3->SetSelectedColor(Graph->GetChartColor());
        ColorComboBox4->SetSelectedColor(Graph->GetGridLinesColor());
        CheckBox5->setChecked(Graph->GetShowChartBorder());
        CheckBox6->setChecked(Graph->GetShowLegend());
        Panel2->setFont(FontToQFont(Graph->GetFont()));
    }
    RefreshAxis(XPage, Graph->GetXAxis());
    RefreshAxis(YPage, Graph->GetYAxis());
    const TVkSeriesList& List = Graph->GetSeriesList();
    DelButt->setEnabled(List.Count() > 1);
    PastButt->setEnabled(Graph->HasChartFormat());
    Shown = nullptr;
    {
        const QSignalBlocker Quiet(SeriesListBox);
        SeriesListBox->clear();
        for (int I = 0; I < List.Count(); ++I) SeriesListBox->addItem(SeriesLine(I, List.GetSeries(I)));
    }
    if (List.Count() > 0) {
        SeriesListBox->setCurrentRow(0);
        ShowSeries(0);
    }
}

void TVkGraphForm::ShowSeries(int Index) {
    if (Graph == nullptr || Index < 0 || Index >= Graph->GetSeriesList().Count()) return;
    TVkSeries& S = Graph->GetSeriesList().GetSeries(Index);
    // Shown only once the controls hold the series, so that filling them changes nothing.
    Shown = nullptr;
    {
        const QSignalBlocker Q1(Edit5), Q2(ColorComboBox1), Q3(PointStyleBox), Q4(VkSpinEdit1);
        Edit5->setText(QString::fromStdString(S.GetName()));
        ColorComboBox1->SetSelectedColor(S.GetColor());
        PointStyleBox->setCurrentIndex(S.GetPointType() < PointStyleBox->count() ? S.GetPointType() : -1);
        VkSpinEdit1->setValue(S.GetLineWidth());
    }
    Shown = &S;
}

}  // namespace sarnova
