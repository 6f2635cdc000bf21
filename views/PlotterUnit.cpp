#include "views/PlotterUnit.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <GL/gl.h>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/UserDialogs.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtMenus.h"
#include "platform/qt/QtUserDialogs.h"
#include "controls/ToolIcons.h"
#include "controls/VkSpin.h"
#include "views/GeometryPlotter.h"
#include "views/OpenGLView.h"
#include "views/VkPrinting.h"

namespace sarnova {

// ---- Printable entities ----

int CountPrintableEntities(TGeometryList& List) {
    int Count = 0;
    for (int I = 0; I < List.Count(); ++I)
        if (!List.Items(I).HasCapability(cpInternal)) ++Count;
    return Count;
}

bool HasPrintableEntities(TGeometryList& List) { return CountPrintableEntities(List) > 0; }

void ShowScalePrinting(TGeometryList& List, IUserDialogs& Dialogs) {
    TPlotterForm Form(Dialogs, QApplication::activeWindow());
    Form.Setup(List);
    Form.exec();
}

// ---- The preview's OpenGL switches ----

// Reaches OpenGL only while the preview renders: its measuring pass draws without a context.
class TPlotterForm::TSheetSwitches : public IPlotterSheetSwitches {
public:
    explicit TSheetSwitches(TOpenGLView& View) : View(View) {}

    void DepthTestOff() override {
        if (!Rendering()) return;
        glDisable(GL_DEPTH_TEST);
        // The page's lines lie at the paper's depth; should a later draw switch the test on again,
        // they must still pass it.
        glDepthFunc(GL_LEQUAL);
    }

    void LineStipple(int Factor, std::uint16_t Pattern) override {
        if (!Rendering()) return;
        if (Pattern == 0) {
            glDisable(GL_LINE_STIPPLE);
            return;
        }
        glLineStipple(Factor, Pattern);
        glEnable(GL_LINE_STIPPLE);
    }

private:
    bool Rendering() const {
        const TOpenGLViewFlags Flags = View.GetStateFlags();
        return (Flags & vfRendering) && !(Flags & vfMeasuring);
    }

    TOpenGLView& View;
};

// ---- TPlotterForm ----

TPlotterForm::TPlotterForm(IUserDialogs& ADialogs, QWidget* Parent, QPrinter* APrinter)
    : QDialog(Parent), Dialogs(ADialogs), Printer(APrinter ? *APrinter : GetPrinter()) {
    setWindowTitle("Scale Printing");
    resize(800, 600);
    Devices = std::make_unique<TQtPrinterDevices>(Printer);
    PlotterPrinter = std::make_unique<TQtPlotterPrinter>(Printer);
    Plotter = std::make_unique<TGeometryPlotter>(*PlotterPrinter);

    InputQuery = sarnova::InputQuery;
    ExecutePrintDialog = [this](TPrintChoice& Choice) {
        QPrintDialog Dialog(&Printer, this);
        Dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                          QAbstractPrintDialog::PrintSelection);
        Dialog.setMinMax(Choice.FromPage, Choice.ToPage);
        Dialog.setFromTo(Choice.FromPage, Choice.ToPage);
        if (Dialog.exec() != QDialog::Accepted) return false;
        switch (Dialog.printRange()) {
            case QAbstractPrintDialog::Selection: Choice.Range = TPrintRange::Selection; break;
            case QAbstractPrintDialog::PageRange:
                Choice.Range = TPrintRange::PageNums;
                Choice.FromPage = Dialog.fromPage();
                Choice.ToPage = Dialog.toPage();
                break;
            default: Choice.Range = TPrintRange::AllPages; break;
        }
        Choice.Copies = Printer.copyCount();
        return true;
    };
    ExecutePrinterSetupDialog = [this] {
        QPageSetupDialog Dialog(&Printer, this);
        Dialog.exec();
    };

    BuildControls();
    Switches = std::make_unique<TSheetSwitches>(*OpenGLView2);
    Plotter->SheetSwitches = Switches.get();
    InstallPreviewEvents();
}

TPlotterForm::~TPlotterForm() {
    // The preview outlives this body (it is a child widget) and must not reach the plotter.
    OpenGLView2->OnRedraw = nullptr;
    OpenGLView2->OnMouseDown = nullptr;
    OpenGLView2->OnMouseMove = nullptr;
    OpenGLView2->OnMouseUp = nullptr;
    Plotter->SheetSwitches = nullptr;
}

void TPlotterForm::Run(void (TPlotterForm::*Handler)()) {
    RunMenuCommand([this, Handler] { (this->*Handler)(); });
}

void TPlotterForm::BuildControls() {
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);

    auto* Menu = new QMenuBar(this);
    QMenu* File1 = Menu->addMenu("&File");
    Print1 = CreateCommandAction(*this, "Print1", "&Print...", QKeySequence("Ctrl+P"), Qt::WindowShortcut,
                                 [this] { Print(); });
    PrinterSettings1 = CreateCommandAction(*this, "PrinterSettings1", "Printer Settings...", {}, Qt::WindowShortcut,
                                           [this] { PrinterSettings(); });
    Close1 = CreateCommandAction(*this, "Close1", "&Close", QKeySequence("Alt+F4"), Qt::WindowShortcut,
                                 [this] { close(); });
    Print1->setIcon(ToolIcon("print"));
    PrinterSettings1->setIcon(ToolIcon("print-setup"));
    File1->addAction(Print1);
    File1->addAction(PrinterSettings1);
    File1->addSeparator();
    File1->addAction(Close1);
    Layout->setMenuBar(Menu);

    // Two rows, so that every control shows in the window's width: the page, then the model on it.
    auto* Bar = new QToolBar(this);
    Bar->setObjectName("PageToolBar");
    Layout->addWidget(Bar);
    // A tool button with the program's own icon; its hint is the tooltip.
    auto Button = [this, &Bar](const char* Name, const char* Caption, const char* Hint, const char* Icon,
                               std::function<void()> Execute) {
        QAction* Action = CreateCommandAction(*this, Name, Caption, {}, Qt::WindowShortcut, std::move(Execute));
        Action->setIcon(ToolIcon(Icon));
        Action->setToolTip(Hint);
        Bar->addAction(Action);
        return Action;
    };
    auto Group = [this](std::initializer_list<QAction*> Actions) {
        auto* G = new QActionGroup(this);
        G->setExclusive(true);
        for (QAction* A : Actions) {
            A->setCheckable(true);
            G->addAction(A);
        }
    };

    SpeedButton5 = Button("SpeedButton5", "Print", "Print", "print", [this] { Print(); });
    SpeedButton6 = Button("SpeedButton6", "Setup", "Printer Settings...", "print-setup",
                          [this] { PrinterSettings(); });
    VkPrinterComboBox1 = new TVkPrinterComboBox(*Devices, this);
    VkPrinterComboBox1->setToolTip("Selected Printer");
    VkPrinterComboBox1->OnChange = [this](QObject*) { Run(&TPlotterForm::PrinterChange); };
    Bar->addWidget(VkPrinterComboBox1);
    VkPageSizeComboBox1 = new TVkPageSizeComboBox(*Devices, this);
    VkPageSizeComboBox1->setToolTip("Current Page Size");
    VkPageSizeComboBox1->OnChange = [this](QObject*) { Run(&TPlotterForm::PageSizeChange); };
    Bar->addWidget(VkPageSizeComboBox1);
    Bar->addSeparator();

    SpeedButton10 = Button("SpeedButton10", "|<", "First Page", "first-page", [this] { FirstPage(); });
    SpeedButton11 = Button("SpeedButton11", "<", "Previous Page", "previous-page", [this] { PreviousPage(); });
    VkSpinEdit2 = new TVkSpinEdit(this);
    VkSpinEdit2->SetSpinType(spInteger);
    VkSpinEdit2->setToolTip("Current Page");
    VkSpinEdit2->setFixedWidth(56);
    VkSpinEdit2->OnChange = [this](QObject*) { Run(&TPlotterForm::PageNumberChange); };
    Bar->addWidget(VkSpinEdit2);
    SpeedButton12 = Button("SpeedButton12", ">", "Next Page", "next-page", [this] { NextPage(); });
    SpeedButton13 = Button("SpeedButton13", ">|", "Last Page", "last-page", [this] { LastPage(); });
    SpeedButton16 = Button("SpeedButton16", "All", "Apply Settings to All Pages", "all-pages", [this] { ApplyToAllClick(); });
    SpeedButton16->setCheckable(true);
    Bar->addSeparator();

    SpeedButton14 = Button("SpeedButton14", "Portrait", "Portrait Print Orientation", "portrait",
                           [this] { OrientationClick(0); });
    SpeedButton15 = Button("SpeedButton15", "Landscape", "Landscape Print Orientation", "landscape",
                           [this] { OrientationClick(1); });
    Group({SpeedButton14, SpeedButton15});
    Bar = new QToolBar(this);
    Bar->setObjectName("ModelToolBar");
    Layout->addWidget(Bar);
    SpeedButton7 = Button("SpeedButton7", "XY", "XY Model Orientation (Waterlines)", "plane-xy", [this] { ViewPlaneClick(0); });
    SpeedButton8 = Button("SpeedButton8", "YZ", "YZ Model Orientation (Stations)", "plane-yz", [this] { ViewPlaneClick(1); });
    SpeedButton9 = Button("SpeedButton9", "XZ", "XZ Model Orientation (Buttocks)", "plane-xz", [this] { ViewPlaneClick(2); });
    Group({SpeedButton7, SpeedButton8, SpeedButton9});
    Bar->addSeparator();

    ComboBox1 = new QComboBox(this);
    ComboBox1->setToolTip("Model Design Units");
    ComboBox1->addItems({"Metres", "Centimetres", "Millimetres", "Feet", "Inches"});
    connect(ComboBox1, &QComboBox::activated, this, [this](int) { Run(&TPlotterForm::UnitsChange); });
    Bar->addWidget(ComboBox1);
    ComboBox3 = new QComboBox(this);
    ComboBox3->setToolTip("Print Scale Factor");
    ComboBox3->addItems({"1:1", "1:1", "Scale To Fit", "Custom Scale Factor...", "2:1", "4:1", "5:1", "1:2", "1:4",
                         "1:5", "1:10", "1:25", "1:33", "1:50", "1:100", "1:200", "1:500"});
    connect(ComboBox3, &QComboBox::activated, this, [this](int) { Run(&TPlotterForm::ScaleChange); });
    Bar->addWidget(ComboBox3);
    Bar->addSeparator();

    SpeedButton18 = Button("SpeedButton18", "Extents", "Zoom to Extents", "zoom-all", [this] { ZoomToExtents(); });
    SpeedButton17 = Button("SpeedButton17", "Page", "Zoom to Page Extents", "zoom-page",
                           [this] { ZoomToPageExtents(); });
    ToolButton3 = Button("ToolButton3", "Zoom", "Zoom", "zoom", [this] { PreviewModeClick(imZoom); });
    ToolButton4 = Button("ToolButton4", "Pan", "Pan the Page", "pan", [this] { PreviewModeClick(imPan); });
    ToolButton5 = Button("ToolButton5", "Offset", "Offset Geometry", "offset", [this] { PreviewModeClick(imUser); });
    Group({ToolButton3, ToolButton4, ToolButton5});
    ToolButton3->setChecked(true);
    ToolButton6 = Button("ToolButton6", "Reset", "Reset Offset", "reset-offset", [this] { ResetOffsetClick(); });

    OpenGLView2 = new TOpenGLView(this);
    OpenGLView2->SetProjection(cmParallel);
    OpenGLView2->SetColor(clBlack);
    OpenGLView2->SetLineColor(clWhite);
    OpenGLView2->GetGrid().SetEnabled(false);
    OpenGLView2->SetAxisIcon(aiNone);
    OpenGLView2->SetInteractionMode(imZoom);
    OpenGLView2->SetFieldOfView(35);
    OpenGLView2->SetTextMode(tmBitmap);
    OpenGLView2->DefaultLighting = true;
    OpenGLView2->AdaptiveDegration = adWhenRequired;
    OpenGLView2->AdaptiveDegrationThreshold = 250;
    Layout->addWidget(OpenGLView2, 1);

    StatusBar1 = new QStatusBar(this);
    Layout->addWidget(StatusBar1);
}

void TPlotterForm::InstallPreviewEvents() {
    OpenGLView2->OnRedraw = [this](void*, IGraphics& View) {
        // A fit asked for before the preview had its rendering context runs once it draws.
        if (FitPending) {
            FitPending = false;
            QTimer::singleShot(0, this, [this] { OpenGLView2->ZoomAll(); });
        }
        Plotter->DrawPreview(View);
    };
    OpenGLView2->OnMouseDown = [this](void*, TMouseButton Button, TShiftState, int X, int Y) {
        PreviewMouseDown(Button, X, Y);
    };
    OpenGLView2->OnMouseMove = [this](void*, TShiftState Shift, int X, int Y) { PreviewMouseMove(Shift, X, Y); };
    OpenGLView2->OnMouseUp = [this](void*, TMouseButton Button, TShiftState, int X, int Y) {
        PreviewMouseUp(Button, X, Y);
    };
}

// ---- Offset drag in the preview (its user mode) ----

void TPlotterForm::PreviewMouseDown(TMouseButton Button, int X, int Y) {
    if (Button == mbLeft) Plotter->BeginOffsetDrag(*OpenGLView2, X, Y);
}

void TPlotterForm::PreviewMouseMove(TShiftState Shift, int X, int Y) {
    OpenGLView2->SetCursor(crSizeAll);
    if (!(Shift & ssLeft)) return;
    Plotter->DragOffset(*OpenGLView2, X, Y);
    OpenGLView2->Render();
}

void TPlotterForm::PreviewMouseUp(TMouseButton Button, int X, int Y) {
    if (Button == mbLeft) Plotter->EndOffsetDrag(*OpenGLView2, X, Y);
}

// ---- Setup and controls ----

void TPlotterForm::Setup(TGeometryList& List) {
    bool Split = false;
    if (CountPrintableEntities(List) >= 2)
        Split = Dialogs.MessageBox("Information", "Split Geometry elements into separate pages",
                                   TMsgDlgType::mtInformation, mbYes | mbNo) != TModalResult::mrNo;
    Plotter->Paginate(List, Split);
    ZoomToExtents();
    UpdateControls();
}

void TPlotterForm::UpdateControls() {
    const TFlagScope Setting(Updating);
    TGeometryPlotter& P = *Plotter;
    ComboBox1->setCurrentIndex(P.Units);
    UpdateScaleCombo();
    (P.GetOrientation() == 1 ? SpeedButton15 : SpeedButton14)->setChecked(true);
    QAction* const Planes[3] = {SpeedButton7, SpeedButton8, SpeedButton9};
    if (P.GetViewPlane() < 3) Planes[P.GetViewPlane()]->setChecked(true);
    SpeedButton16->setChecked(P.ApplyToAll);
    const int Count = P.PageCount();
    const int Current = P.GetCurrentIndex();
    if (Count == 0) {
        VkSpinEdit2->MinValue = 0;
        VkSpinEdit2->MaxValue = 0;
        VkSpinEdit2->SetValueI(0);
        VkSpinEdit2->setEnabled(false);
    } else {
        VkSpinEdit2->MinValue = 1;
        VkSpinEdit2->MaxValue = static_cast<float>(Count);
        VkSpinEdit2->SetValueI(Current + 1);
        VkSpinEdit2->setEnabled(true);
    }
    SpeedButton10->setEnabled(Current > 0);
    SpeedButton11->setEnabled(Current > 0);
    SpeedButton12->setEnabled(Current < Count - 1);
    SpeedButton13->setEnabled(Current < Count - 1);
}

void TPlotterForm::UpdateScaleCombo() {
    const QSignalBlocker Batch(ComboBox3);
    if (Plotter->GetFit()) {
        ComboBox3->setCurrentIndex(2);
        return;
    }
    const QString Text = QString::fromStdString(Plotter->GetScaleText());
    const int Found = ComboBox3->findText(Text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (Found >= 0) {
        ComboBox3->setCurrentIndex(Found);
        return;
    }
    ComboBox3->setItemText(0, Text);
    ComboBox3->setCurrentIndex(0);
}

// ---- Handlers ----

void TPlotterForm::Print() {
    TGeometryPlotter& P = *Plotter;
    if (P.PageCount() == 0) return;
    TPrintChoice Choice;
    Choice.FromPage = 1;
    Choice.ToPage = P.PageCount();
    if (!ExecutePrintDialog || !ExecutePrintDialog(Choice)) return;
    VkPrinterComboBox1->Refresh();
    VkPageSizeComboBox1->Refresh();
    P.PrinterChanged();
    ZoomToExtents();
    Printer.setCopyCount(Choice.Copies);
    Printer.setPageOrientation(QPageLayout::Portrait);
    switch (Choice.Range) {
        case TPrintRange::AllPages: P.PrintAll(""); break;
        case TPrintRange::Selection: P.PrintCurrent(""); break;
        case TPrintRange::PageNums: P.PrintRange(Choice.FromPage - 1, Choice.ToPage - 1, ""); break;
    }
}

void TPlotterForm::PrinterSettings() {
    if (ExecutePrinterSetupDialog) ExecutePrinterSetupDialog();
    VkPrinterComboBox1->Refresh();
    VkPageSizeComboBox1->Refresh();
    Plotter->PrinterChanged();
    ZoomToExtents();
}

void TPlotterForm::PrinterChange() {
    VkPageSizeComboBox1->Refresh();
    Plotter->PrinterChanged();
    ZoomToExtents();
}

void TPlotterForm::PageSizeChange() {
    Plotter->PrinterChanged();
    ZoomToExtents();
}

void TPlotterForm::FirstPage() {
    Plotter->SetCurrentIndex(0);
    ZoomToExtents();
    UpdateControls();
}

void TPlotterForm::PreviousPage() {
    const int Current = Plotter->GetCurrentIndex();
    if (Current > 0) Plotter->SetCurrentIndex(Current - 1);
    ZoomToExtents();
    UpdateControls();
}

void TPlotterForm::NextPage() {
    const int Current = Plotter->GetCurrentIndex();
    if (Current < Plotter->PageCount() - 1) Plotter->SetCurrentIndex(Current + 1);
    ZoomToExtents();
    UpdateControls();
}

void TPlotterForm::LastPage() {
    if (Plotter->GetCurrentIndex() < Plotter->PageCount() - 1) Plotter->SetCurrentIndex(Plotter->PageCount() - 1);
    ZoomToExtents();
    UpdateControls();
}

void TPlotterForm::PageNumberChange() {
    if (Updating) return;
    Plotter->SetCurrentIndex(VkSpinEdit2->GetValueI() - 1);
    ZoomToExtents();
    UpdateControls();
}

void TPlotterForm::ApplyToAllClick() {
    Plotter->ApplyToAll = !Plotter->ApplyToAll;
    SpeedButton16->setChecked(Plotter->ApplyToAll);
}

void TPlotterForm::OrientationClick(std::uint8_t Orientation) {
    Plotter->SetOrientation(Orientation);
    ZoomToExtents();
}

void TPlotterForm::ViewPlaneClick(std::uint8_t Plane) {
    Plotter->SetViewPlane(Plane);
    OpenGLView2->Render();
}

void TPlotterForm::UnitsChange() {
    Plotter->Units = static_cast<std::uint8_t>(std::max(0, ComboBox1->currentIndex()));
    Plotter->ResetOffsets();
    ZoomToExtents();
}

void TPlotterForm::ScaleChange() {
    const int Index = ComboBox3->currentIndex();
    if (Index == 2) {
        Plotter->SetFit(true);
    } else if (Index == 3) {
        std::string Text = "1:1";
        if (InputQuery && InputQuery("Custom Scale Factor", "Scale Factor", Text)) {
            Plotter->SetScaleText(Text);
            Plotter->SetFit(false);
        }
    } else if (Index >= 0) {
        Plotter->SetScaleText(ComboBox3->itemText(Index).toStdString());
        Plotter->SetFit(false);
    }
    ZoomToExtents();
    UpdateScaleCombo();
}

void TPlotterForm::ZoomToExtents() {
    if (OpenGLView2->IsContextReady())
        OpenGLView2->ZoomAll();
    else
        FitPending = true;
}

void TPlotterForm::ZoomToPageExtents() {
    if (TGeometryPage* Page = Plotter->CurrentPage()) OpenGLView2->ZoomToBox(Page->SheetBox());
}

void TPlotterForm::PreviewModeClick(TInteractionMode Mode) { OpenGLView2->SetInteractionMode(Mode); }

void TPlotterForm::ResetOffsetClick() {
    Plotter->ResetOffsets();
    ZoomToExtents();
}

}  // namespace sarnova
