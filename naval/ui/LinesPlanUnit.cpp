#include "naval/ui/LinesPlanUnit.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "document/GContoursSetup.h"
#include "document/GCustomPline.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "document/GeometryQuery.h"
#include "foundation/Contours.h"
#include "foundation/GeomBox.h"
#include "foundation/PolyList.h"
#include "naval/GPList.h"
#include "naval/Linesplan.h"
#include "platform/Screen.h"
#include "foundation/UserDialogs.h"
#include "platform/qt/QtPrinter.h"
#include "controls/ColCombo.h"
#include "platform/qt/QtMenus.h"
#include "controls/ToolIcons.h"
#include "controls/VkSpin.h"
#include "views/OpenGLView.h"

namespace sarnova {

namespace {

// The extended colours the colour boxes offer after the sixteen standard ones.
constexpr std::pair<TColor, const char*> ExtendedColors[] = {
    {clMoneyGreen, "MoneyGreen"}, {clSkyBlue, "SkyBlue"}, {clCream, "Cream"}, {clMedGray, "MedGray"}};

}  // namespace

TLinesPlanForm::TLinesPlanForm(IUserDialogs& ADialogs, QWidget* Parent)
    : QDialog(Parent), Dialogs(ADialogs), FPlan(std::make_unique<TLinesPlan>()) {
    setObjectName("LinesPlanForm");
    setWindowTitle("Lines Plan");
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint);
    resize(960, 680);
    FPlan->PickDistance = 10;
    BuildControls();
    InstallViewEvents();
}

TLinesPlanForm::~TLinesPlanForm() {
    // The view is a child widget and outlives this body: it must not reach the plan.
    OpenGLView1->OnRedraw = nullptr;
    OpenGLView1->OnSelectPoint = nullptr;
    OpenGLView1->OnMouseDown = nullptr;
    OpenGLView1->OnMouseMove = nullptr;
    OpenGLView1->OnMouseUp = nullptr;
}

void TLinesPlanForm::BuildControls() {
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);

    auto Command = [this](const char* Name, const char* Caption, std::function<void()> Execute) {
        return CreateCommandAction(*this, Name, Caption, {}, Qt::WindowShortcut, std::move(Execute));
    };
    auto* Menu = new QMenuBar(this);
    QMenu* File1 = Menu->addMenu("&File");
    ConvertToPolylineList1 = Command("ConvertToPolylineList1", "&Convert to Polyline List...",
                                     [this] { ConvertToPolylineList(); });
    ExportasDXF1 = Command("ExportasDXF1", "Export as DXF...", [this] { ExportAsDXF(); });
    Print1 = Command("Print1", "Print...", [this] { Print(); });
    CopytoClipboard1 = Command("CopytoClipboard1", "&Copy to Clipboard", [this] { CopyToClipboard(); });
    PrinterSettings1 = Command("PrinterSettings1", "Printer &Settings", [this] { PrinterSettings(); });
    Close1 = Command("Close1", "Close", [this] { close(); });
    File1->addAction(ConvertToPolylineList1);
    File1->addAction(ExportasDXF1);
    File1->addSeparator();
    File1->addAction(Print1);
    File1->addAction(CopytoClipboard1);
    File1->addSeparator();
    File1->addAction(PrinterSettings1);
    File1->addSeparator();
    File1->addAction(Close1);
    Layout->setMenuBar(Menu);

    auto* Bar = new QToolBar(this);
    Bar->setObjectName("ToolBar1");
    Bar->setIconSize(QSize(25, 25));
    Layout->addWidget(Bar);
    auto Button = [&](const char* Name, const char* Hint, const char* Icon, std::function<void()> Execute) {
        QAction* Action = Command(Name, Hint, std::move(Execute));
        Action->setIcon(ToolIcon(Icon));
        Action->setToolTip(Hint);
        Bar->addAction(Action);
        return Action;
    };
    ToolButton1 = Button("ToolButton1", "Convert to Polyline List", "entities", [this] { ConvertToPolylineList(); });
    ToolButton12 = Button("ToolButton12", "Export as DXF", "save", [this] { ExportAsDXF(); });
    ToolButton2 = Button("ToolButton2", "Print", "print", [this] { Print(); });
    ToolButton3 = Button("ToolButton3", "Copy to Clipboard", "copy", [this] { CopyToClipboard(); });
    Bar->addSeparator();

    OpenGLView1 = new TOpenGLView(this);
    OpenGLView1->setObjectName("OpenGLView1");
    // A plan set up before the window shows is fitted once the view can draw, at its real size.
    connect(OpenGLView1, &QOpenGLWidget::frameSwapped, this, [this] {
        if (!OpenGLView1->IsContextReady()) return;
        if (FitWhenReady) {
            FitWhenReady = false;
            FitAndKeep();
        } else if (FittedCamera && OpenGLView1->size() != FittedSize) {
            if (*OpenGLView1->GetCamera().SaveState() == *FittedCamera)
                FitAndKeep();
            else
                FittedCamera.reset();
        }
    });
    ToolButton5 = Button("ToolButton5", "Zoom In", "zoom-in", [this] { OpenGLView1->ZoomIn(); });
    ToolButton6 = Button("ToolButton6", "Zoom Out", "zoom-out", [this] { OpenGLView1->ZoomOut(); });
    ToolButton7 = Button("ToolButton7", "Zoom All", "zoom-all", [this] { OpenGLView1->ZoomAll(); });
    ToolButton10 = Button("ToolButton10", "Zoom Previous", "zoom-previous", [this] { OpenGLView1->ZoomPrevious(); });
    auto Mode = [this](TInteractionMode M) {
        return [this, M] {
            OpenGLView1->SetInteractionMode(M);
            OpenGLView1->Render();
        };
    };
    ToolButton9 = Button("ToolButton9", "Zoom", "zoom", Mode(imZoom));
    ToolButton8 = Button("ToolButton8", "Zoom to Window", "zoom-window", Mode(imZoomWindow));
    ToolButton11 = Button("ToolButton11", "Pan", "pan", Mode(imPan));
    ToolButton14 = Button("ToolButton14", "Edit Contour Text Lines", "select", Mode(imUser));
    auto* Group = new QActionGroup(this);
    for (QAction* A : {ToolButton9, ToolButton8, ToolButton11, ToolButton14}) {
        A->setCheckable(true);
        Group->addAction(A);
    }
    ToolButton11->setChecked(true);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(BuildOptionsPage(), "Options");
    PageControl1->addTab(BuildLayoutPage(), "Layout");
    PageControl1->addTab(BuildContoursPage(), "Contours");
    PageControl1->setFixedWidth(260);

    OpenGLView1->SetProjection(cmParallel);
    OpenGLView1->SetColor(clBlack);
    OpenGLView1->SetLineColor(clWhite);
    OpenGLView1->GetGrid().SetEnabled(false);
    OpenGLView1->SetAxisIcon(aiModelOrigin);
    OpenGLView1->SetTextMode(tmBitmap);
    OpenGLView1->SetInteractionMode(imPan);
    OpenGLView1->AdaptiveDegration = adWhenRequired;
    OpenGLView1->AdaptiveDegrationThreshold = 250;
    OpenGLView1->CopyBackBuffer = true;

    auto* Body = new QHBoxLayout;
    Body->setContentsMargins(0, 0, 0, 0);
    Body->addWidget(PageControl1);
    Body->addWidget(OpenGLView1, 1);
    Layout->addLayout(Body, 1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    Layout->addWidget(StatusBar1);
}

QWidget* TLinesPlanForm::BuildOptionsPage() {
    auto* Page = new QWidget;
    auto* Column = new QVBoxLayout(Page);
    auto Check = [this](QLayout* In, const char* Name, const char* Caption, void (TLinesPlan::*Set)(bool)) {
        auto* Box = new QCheckBox(Caption, this);
        Box->setObjectName(Name);
        In->addWidget(Box);
        connect(Box, &QCheckBox::clicked, this, [this, Set](bool On) {
            Change([this, Set, On] {
                ((*FPlan).*Set)(On);
                EnableDependentControls();
            });
        });
        return Box;
    };
    auto* Options = new QGroupBox(" Options ", Page);
    auto* OptionsLayout = new QVBoxLayout(Options);
    CheckBox5 = Check(OptionsLayout, "CheckBox5", "Generate Grid", &TLinesPlan::SetShowGrid);
    CheckBox8 = Check(OptionsLayout, "CheckBox8", "Border", &TLinesPlan::SetShowBorder);
    CheckBox9 = Check(OptionsLayout, "CheckBox9", "Information Box", &TLinesPlan::SetShowInfoBox);
    CheckBox10 = Check(OptionsLayout, "CheckBox10", "Grid Identifiers (Text)", &TLinesPlan::SetShowGridText);
    CheckBox11 = Check(OptionsLayout, "CheckBox11", "Contour Identifiers (Text)", &TLinesPlan::SetShowContourText);
    CheckBox1 = Check(OptionsLayout, "CheckBox1", "Surface Edges", &TLinesPlan::SetShowSurfaceEdges);
    Column->addWidget(Options);

    auto* Reverse = new QGroupBox(" Reverse Views ", Page);
    auto* ReverseLayout = new QVBoxLayout(Reverse);
    CheckBox6 = Check(ReverseLayout, "CheckBox6", "Flip Waterlines", &TLinesPlan::SetFlipWaterlines);
    CheckBox7 = Check(ReverseLayout, "CheckBox7", "Flip Sections", &TLinesPlan::SetFlipSections);
    Column->addWidget(Reverse);

    auto* Colours = new QGroupBox(" Colours ", Page);
    auto* ColourGrid = new QGridLayout(Colours);
    auto Colour = [&](const char* Name, const char* Caption, void (TLinesPlan::*Set)(TColor)) {
        auto* Box = new TColorComboBox(this);
        Box->setObjectName(Name);
        Box->OnGetColorNum = [](QObject*, int& Num) { Num = 16 + static_cast<int>(std::size(ExtendedColors)); };
        Box->OnGetColor = [](QObject*, int Index, TColor& Color, std::string& ColorName) {
            if (Index < 16) return;
            Color = ExtendedColors[Index - 16].first;
            ColorName = ExtendedColors[Index - 16].second;
        };
        Box->Loaded();
        Box->OnChange = [this, Box, Set](QObject*) { Change([this, Box, Set] { ((*FPlan).*Set)(Box->GetSelectedColor()); }); };
        const int Row = ColourGrid->rowCount();
        ColourGrid->addWidget(new QLabel(Caption, Colours), Row, 0);
        ColourGrid->addWidget(Box, Row, 1);
        return Box;
    };
    ColorBox1 = Colour("ColorBox1", "Grid Lines:", &TLinesPlan::SetGridColor);
    ColorBox2 = Colour("ColorBox2", "Waterlines:", &TLinesPlan::SetWaterlineColor);
    ColorBox3 = Colour("ColorBox3", "Sections:", &TLinesPlan::SetSectionColor);
    ColorBox4 = Colour("ColorBox4", "Buttocks:", &TLinesPlan::SetButtockColor);
    ColorBox5 = Colour("ColorBox5", "Surfaces:", &TLinesPlan::SetSurfaceColor);
    Column->addWidget(Colours);

    auto* Parameters = new QGroupBox(" Generation Parameters ", Page);
    auto* ParameterGrid = new QGridLayout(Parameters);
    auto Spin = [&](QGroupBox* In, QGridLayout* Grid, const char* Name, const char* Caption, float Min, float Max,
                    std::function<void(float)> Set) {
        auto* Edit = new TVkSpinEdit(this);
        Edit->setObjectName(Name);
        Edit->SetSpinType(spFloat);
        Edit->MinValue = Min;
        Edit->MaxValue = Max;
        Edit->SetIncrement(0.01f);
        Edit->OnChange = [this, Edit, Set](QObject*) { Change([Edit, Set] { Set(Edit->GetValue()); }); };
        const int Row = Grid->rowCount();
        Grid->addWidget(new QLabel(Caption, In), Row, 0);
        Grid->addWidget(Edit, Row, 1);
        return Edit;
    };
    VkSpinEdit4 = Spin(Parameters, ParameterGrid, "VkSpinEdit4", "Grid Text Size:", 0, 1000,
                       [this](float V) { FPlan->SetGridTextSize(V); });
    VkSpinEdit5 = Spin(Parameters, ParameterGrid, "VkSpinEdit5", "Contour Text Size:", 0, 1000,
                       [this](float V) { FPlan->SetContourTextSize(V); });
    Column->addWidget(Parameters);
    Column->addStretch(1);

    // The layout page's spin edits are made here too, so that one helper serves both pages.
    auto* Dimensions = new QGroupBox(" Layout Dimension ", this);
    Dimensions->setObjectName("LayoutDimension");
    auto* DimensionGrid = new QGridLayout(Dimensions);
    VkSpinEdit1 = Spin(Dimensions, DimensionGrid, "VkSpinEdit1", "View Border Distance:", 0, 1000,
                       [this](float V) { FPlan->SetViewGap(V); });
    VkSpinEdit2 = Spin(Dimensions, DimensionGrid, "VkSpinEdit2", "Section Reflection Plane:", -1000000, 1000000,
                       [this](float V) { FPlan->SetReflectionPlane(V); });
    auto* Polygonisation = new QGroupBox(" Polygonisation Quality ", this);
    Polygonisation->setObjectName("PolygonisationQuality");
    auto* PolygonisationGrid = new QGridLayout(Polygonisation);
    VkSpinEdit6 = Spin(Polygonisation, PolygonisationGrid, "VkSpinEdit6", "Surface Polygonisation Density:", 1, 100,
                       [this](float) { FPlan->SetDensity(VkSpinEdit6->GetValueI()); });
    VkSpinEdit6->SetSpinType(spInteger);
    VkSpinEdit6->SetIncrement(1);
    VkSpinEdit6->ChangeWhileDragging = false;
    VkSpinEdit6->SetValueQuietly(1);
    return Page;
}

QWidget* TLinesPlanForm::BuildLayoutPage() {
    auto* Page = new QWidget;
    auto* Column = new QVBoxLayout(Page);
    Column->addWidget(findChild<QGroupBox*>("LayoutDimension"));
    auto* Orientation = new QGroupBox(" Orientation ", Page);
    auto* OrientationLayout = new QVBoxLayout(Orientation);
    const std::tuple<QRadioButton**, const char*, const char*, std::uint8_t> Buttons[] = {
        {&RadioButton1, "RadioButton1", "Sections Above", 0},
        {&RadioButton2, "RadioButton2", "Sections Centred", 3},
        {&RadioButton3, "RadioButton3", "Sections Right", 2},
        {&RadioButton4, "RadioButton4", "Sections Overlayed over Buttocks", 1}};
    for (auto [Field, Name, Caption, Layout] : Buttons) {
        auto* Button = new QRadioButton(Caption, Orientation);
        Button->setObjectName(Name);
        OrientationLayout->addWidget(Button);
        connect(Button, &QRadioButton::clicked, this, [this, Layout = Layout] { LayoutClick(Layout); });
        *Field = Button;
    }
    Column->addWidget(Orientation);
    Column->addStretch(1);
    return Page;
}

QWidget* TLinesPlanForm::BuildContoursPage() {
    auto* Page = new QWidget;
    auto* Column = new QVBoxLayout(Page);
    auto* Polygonisation = findChild<QGroupBox*>("PolygonisationQuality");
    auto* Setup = new QPushButton("Setup Contours", Polygonisation);
    Setup->setObjectName("BitBtn1");
    connect(Setup, &QPushButton::clicked, this, [this] { Change([this] { SetupContours(); }); });
    static_cast<QGridLayout*>(Polygonisation->layout())->addWidget(Setup, 1, 0, 1, 2);
    Column->addWidget(Polygonisation);
    Column->addStretch(1);
    return Page;
}

void TLinesPlanForm::InstallViewEvents() {
    OpenGLView1->OnRedraw = [this](void*, IGraphics& View) {
        FPlan->EditingLabelLines = OpenGLView1->GetInteractionMode() == imUser;
        FPlan->Draw(View);
    };
    OpenGLView1->OnSelectPoint = [this](IGraphics& View, int X, int Y, TShiftState, TSelectAction& Action) {
        FPlan->SelectHandle(View, X, Y, Action);
        OpenGLView1->Render();
    };
    OpenGLView1->OnMouseDown = [this](void*, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button != mbLeft) return;
        Dragging = true;
        FPlan->MouseDown(X, Y, *OpenGLView1);
    };
    OpenGLView1->OnMouseMove = [this](void*, TShiftState, int X, int Y) {
        if (!Dragging) return;
        FPlan->MouseMove(X, Y, *OpenGLView1);
        OpenGLView1->Render();
    };
    OpenGLView1->OnMouseUp = [this](void*, TMouseButton, TShiftState, int X, int Y) {
        if (!Dragging) return;
        FPlan->MouseUp(X, Y, *OpenGLView1);
        Dragging = false;
    };
}

void TLinesPlanForm::Change(const std::function<void()>& Handler) {
    if (Refreshing) return;
    RunMenuCommand(Handler);
    OpenGLView1->Render();
}

void TLinesPlanForm::LayoutClick(std::uint8_t Layout) {
    if (Refreshing) return;
    RunMenuCommand([this, Layout] {
        FPlan->SetLayout(Layout);
        OpenGLView1->ZoomAll();
    });
}

void TLinesPlanForm::SetupContours() {
    ShowContourSetupForBox(FPlan->Contours(), FPlan->GetExtents());
    FPlan->ContoursChanged();
}

void TLinesPlanForm::Setup(TGeometryList* ADocument) {
    Document = ADocument;
    if (Document) {
        auto Query = GenerateLinesPlanQuery();
        Document->Query(*Query, true);
        for (int I = 0; I < Query->Count(); ++I) FPlan->AddSurface(Query->Item(I).Instance);
        // The plan keeps pointers into the query's objects: they live as long as the window.
        FQuery = std::move(Query);
    }
    const TMBox Box = FPlan->GetExtents();
    FPlan->SetReflectionPlane(BoxCentre(Box).X);
    SetContourSpacing(Box, FPlan->Contours(), 1, 1, 1);
    FPlan->Update();
    FitWhenReady = !OpenGLView1->IsContextReady();
    OpenGLView1->ZoomAll();
    RefreshControls();
}

void TLinesPlanForm::FitAndKeep() {
    OpenGLView1->FitAll();
    FittedSize = OpenGLView1->size();
    FittedCamera = OpenGLView1->GetCamera().SaveState();
}

void TLinesPlanForm::RefreshControls() {
    const TFlagScope Setting(Refreshing);
    TLinesPlan& P = *FPlan;
    switch (P.GetLayout()) {
        case 1: RadioButton4->setChecked(true); break;
        case 2: RadioButton3->setChecked(true); break;
        case 3: RadioButton2->setChecked(true); break;
        default: RadioButton1->setChecked(true); break;
    }
    ColorBox1->SetSelectedColor(P.GetGridColor());
    ColorBox2->SetSelectedColor(P.GetWaterlineColor());
    ColorBox3->SetSelectedColor(P.GetSectionColor());
    ColorBox4->SetSelectedColor(P.GetButtockColor());
    ColorBox5->SetSelectedColor(P.GetSurfaceColor());
    CheckBox1->setChecked(P.GetShowSurfaceEdges());
    CheckBox5->setChecked(P.GetShowGrid());
    CheckBox6->setChecked(P.GetFlipWaterlines());
    CheckBox7->setChecked(P.GetFlipSections());
    CheckBox8->setChecked(P.GetShowBorder());
    CheckBox9->setChecked(P.GetShowInfoBox());
    CheckBox10->setChecked(P.GetShowGridText());
    CheckBox11->setChecked(P.GetShowContourText());
    VkSpinEdit1->SetValue(static_cast<float>(P.GetViewGap()));
    VkSpinEdit2->SetValue(static_cast<float>(P.GetReflectionPlane()));
    VkSpinEdit6->SetValueI(P.GetDensity());
    VkSpinEdit4->SetValue(static_cast<float>(P.GetGridTextSize()));
    VkSpinEdit5->SetValue(static_cast<float>(P.GetContourTextSize()));
    EnableDependentControls();
}

void TLinesPlanForm::EnableDependentControls() {
    const TLinesPlan& P = *FPlan;
    CheckBox9->setEnabled(P.GetShowBorder());
    CheckBox10->setEnabled(P.GetShowGrid());
    VkSpinEdit4->setEnabled(P.GetShowGrid() && P.GetShowGridText());
    VkSpinEdit5->setEnabled(P.GetShowContourText());
}

void TLinesPlanForm::ConvertToPolylineList() {
    if (!Document) return;
    auto Entity = std::make_unique<TGeoPList>();
    Entity->Polylines().Assign(*FPlan->ToPolylineList());
    InListUpdate(*Document, [&] { Document->Add(std::move(Entity))->Redraw(); });
    close();
}

void TLinesPlanForm::ExportAsDXF() {
    TSaveDialog Dialog;
    Dialog.Title = "Export to DXF";
    Dialog.DefaultExt = "dxf";
    Dialog.Filter = "AutoCAD DXF (*.dxf)|*.dxf";
    if (!Dialogs.ExecuteSaveDialog(Dialog)) return;
    THourGlassCursor Cursor;
    FPlan->SaveToDXF(Dialog.FileName);
}

void TLinesPlanForm::Print() {
    // The sheet fills the page: the dialog already shows the page turned the way the sheet is longer.
    OpenGLView1->PrintFitted("Lines Plan", GetPrinter(), [this] {
        QPrintDialog Dialog(&GetPrinter(), this);
        return Dialog.exec() == QDialog::Accepted;
    });
}

void TLinesPlanForm::CopyToClipboard() { OpenGLView1->CopyToClipboard(); }

void TLinesPlanForm::PrinterSettings() {
    QPageSetupDialog Dialog(&GetPrinter(), this);
    Dialog.exec();
}

bool CanGenerateLinesPlan(TGeometryList* Document) {
    if (!Document) return false;
    auto Query = GenerateLinesPlanQuery();
    Query->CountOnly = true;
    Document->Query(*Query, true);
    return Query->Count() > 0;
}

void ShowLinesPlanForm(TGeometryList* Document, IUserDialogs& Dialogs) {
    TLinesPlanForm Form(Dialogs, QApplication::activeWindow());
    Form.Setup(Document);
    Form.exec();
}

}  // namespace sarnova
