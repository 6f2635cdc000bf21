// The "Scale Printing" window and its printer and paper lists: what the controls set in the plotter,
// the split question, the scale list, and the print dialog's choices printed to a PDF file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWidgetAction>

#include <GL/gl.h>

#include <memory>
#include <string>
#include <vector>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "platform/ScriptedUserDialogs.h"
#include "controls/VkSpin.h"
#include "views/GeometryPlotter.h"
#include "views/OpenGLView.h"
#include "views/PlotterUnit.h"
#include "views/VkPrinting.h"
#include "platform/qt/QtCanvas.h"

namespace sarnova {
namespace {

class TTestLine : public TGeometry {
public:
    explicit TTestLine(double Length) : Length(Length) {}
    TMBox CalculateExtents() override { return MakeBox(0, 0, 0, Length, Length / 2, 0); }
    void Draw(IGraphics& View) override {
        View.SetLineColor(clRed);
        View.Line(0, 0, 0, Length, Length / 2, 0);
    }
    double Length;
};

int PdfPages(const QString& Name) {
    QFile File(Name);
    if (!File.open(QIODevice::ReadOnly)) return -1;
    const QString Text = QString::fromLatin1(File.readAll());
    return static_cast<int>(Text.count(QRegularExpression("/Type\\s*/Page(?!s)")));
}

class PlotterFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(PdfName());
        Form = std::make_unique<TPlotterForm>(Dialogs, nullptr, &Printer);
    }
    void AddLines(int Count, bool WithInternal = true) {
        for (int I = 1; I <= Count; ++I) List.Add(std::make_unique<TTestLine>(I));
        if (!WithInternal) return;
        auto Internal = std::make_unique<TTestLine>(50);
        Internal->SetCapabilities(Internal->GetCapabilities() | cpInternal);
        List.Add(std::move(Internal));
    }
    // Three pages, one line on each.
    void ThreePages() {
        AddLines(3);
        Dialogs.Answer(TModalResult::mrYes);
        Form->Setup(List);
        ASSERT_EQ(Plotter().PageCount(), 3);
    }
    TGeometryPlotter& Plotter() { return Form->GetPlotter(); }
    QString PdfName() const { return Folder.filePath("plot.pdf"); }
    // Chooses item Index of the scale list as a user would.
    void ChooseScale(int Index) {
        Form->ComboBox3->setCurrentIndex(Index);
        Form->ScaleChange();
    }

    QTemporaryDir Folder;
    QPrinter Printer{QPrinter::HighResolution};
    TScriptedUserDialogs Dialogs;
    TGeometryList List;
    std::unique_ptr<TPlotterForm> Form;
};

TEST_F(PlotterFormTest, OnePrintableEntityGivesOnePageWithoutAsking) {
    AddLines(1);
    Form->Setup(List);
    EXPECT_TRUE(Dialogs.Shown.empty());
    EXPECT_EQ(Plotter().PageCount(), 1);
    EXPECT_EQ(CountPrintableEntities(List), 1);
    EXPECT_TRUE(HasPrintableEntities(List));
    EXPECT_EQ(Form->windowTitle(), "Scale Printing");
    EXPECT_EQ(Form->VkSpinEdit2->GetValueI(), 1);
    EXPECT_TRUE(Form->VkSpinEdit2->isEnabled());
    EXPECT_FALSE(Form->SpeedButton10->isEnabled());
    EXPECT_FALSE(Form->SpeedButton13->isEnabled());
    EXPECT_EQ(Form->ComboBox3->currentIndex(), 0);
    EXPECT_EQ(Form->ComboBox1->currentText(), "Metres");
    EXPECT_TRUE(Form->SpeedButton14->isChecked());
    EXPECT_TRUE(Form->SpeedButton7->isChecked());
    EXPECT_TRUE(Form->SpeedButton16->isChecked());

    TGeometryList Internal;
    auto Contours = std::make_unique<TTestLine>(1);
    Contours->SetCapabilities(Contours->GetCapabilities() | cpInternal);
    Internal.Add(std::move(Contours));
    EXPECT_FALSE(HasPrintableEntities(Internal));
}

TEST_F(PlotterFormTest, EveryToolbarControlShowsInTheWindowWithAnIcon) {
    AddLines(1);
    Form->Setup(List);
    Form->show();
    QApplication::processEvents();
    const QList<QToolBar*> Bars = Form->findChildren<QToolBar*>();
    ASSERT_EQ(Bars.size(), 2);
    for (QToolBar* Bar : Bars) {
        for (QAction* Action : Bar->actions()) {
            if (Action->isSeparator()) continue;
            const std::string Name = Action->objectName().toStdString() + Action->toolTip().toStdString();
            QWidget* Control = Bar->widgetForAction(Action);
            ASSERT_NE(Control, nullptr) << Name;
            EXPECT_TRUE(Control->isVisible()) << Name << " is behind the toolbar's extension button";
            EXPECT_TRUE(Bar->rect().contains(Control->geometry())) << Name;
            if (!qobject_cast<QWidgetAction*>(Action)) {
                EXPECT_FALSE(Action->icon().isNull()) << Name;
            }
        }
        EXPECT_LE(Bar->sizeHint().width(), Form->width());
    }
}

TEST_F(PlotterFormTest, SeveralEntitiesAskWhetherToSplitThem) {
    AddLines(3);
    Dialogs.Answer(TModalResult::mrNo);
    Form->Setup(List);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Split Geometry elements into separate pages");
    EXPECT_EQ(Dialogs.Shown[0].Icon, TMsgDlgType::mtInformation);
    EXPECT_EQ(Dialogs.Shown[0].Buttons, mbYes | mbNo);
    EXPECT_EQ(Plotter().PageCount(), 1);

    Dialogs.Answer(TModalResult::mrYes);
    Form->Setup(List);
    EXPECT_EQ(Plotter().PageCount(), 3);
    EXPECT_EQ(Form->VkSpinEdit2->MaxValue, 3);
    EXPECT_TRUE(Form->SpeedButton12->isEnabled());
}

TEST_F(PlotterFormTest, PageNavigationMovesTheCurrentPageAndTheControlsFollow) {
    ThreePages();
    Form->SpeedButton13->trigger();
    EXPECT_EQ(Plotter().GetCurrentIndex(), 2);
    EXPECT_EQ(Form->VkSpinEdit2->GetValueI(), 3);
    EXPECT_FALSE(Form->SpeedButton12->isEnabled());
    EXPECT_TRUE(Form->SpeedButton11->isEnabled());
    Form->SpeedButton11->trigger();
    EXPECT_EQ(Plotter().GetCurrentIndex(), 1);
    Form->SpeedButton10->trigger();
    EXPECT_EQ(Plotter().GetCurrentIndex(), 0);
    Form->SpeedButton12->trigger();
    EXPECT_EQ(Plotter().GetCurrentIndex(), 1);
    // Typing a page number.
    Form->VkSpinEdit2->SetValueI(3);
    EXPECT_EQ(Plotter().GetCurrentIndex(), 2);
}

TEST_F(PlotterFormTest, TheScaleListShowsTheCurrentScale) {
    AddLines(1);
    Form->Setup(List);
    std::string Typed;
    bool Confirm = true;
    std::vector<std::string> Asked;
    Form->InputQuery = [&](const std::string& Caption, const std::string& Prompt, std::string& Value) {
        Asked.push_back(Caption + "|" + Prompt + "|" + Value);
        Value = Typed;
        return Confirm;
    };

    // A custom scale that the list lacks goes into entry 0.
    Typed = "3:1";
    ChooseScale(3);
    EXPECT_EQ(Asked, std::vector<std::string>{"Custom Scale Factor|Scale Factor|1:1"});
    EXPECT_EQ(Plotter().GetScaleText(), "3:1");
    EXPECT_EQ(Form->ComboBox3->currentIndex(), 0);
    EXPECT_EQ(Form->ComboBox3->itemText(0), "3:1");
    // One the list has is selected there.
    Typed = "1:50";
    ChooseScale(3);
    EXPECT_EQ(Form->ComboBox3->currentText(), "1:50");
    EXPECT_EQ(Form->ComboBox3->currentIndex(), 13);
    // Cancelled: the scale stays, the list shows it again.
    Confirm = false;
    ChooseScale(3);
    EXPECT_EQ(Plotter().GetScaleText(), "1:50");
    EXPECT_EQ(Form->ComboBox3->currentIndex(), 13);
    // A rejected text is raised and changes nothing.
    Confirm = true;
    Typed = "1:0";
    EXPECT_THROW(ChooseScale(3), EError);
    EXPECT_EQ(Plotter().GetScaleText(), "1:50");

    ChooseScale(2);
    EXPECT_TRUE(Plotter().GetFit());
    EXPECT_EQ(Form->ComboBox3->currentText(), "Scale To Fit");
    ChooseScale(14);
    EXPECT_FALSE(Plotter().GetFit());
    EXPECT_DOUBLE_EQ(Plotter().Pages(0).Ratio, 0.01);
}

TEST_F(PlotterFormTest, WithoutApplyToAllTheButtonsChangeOnlyTheCurrentPage) {
    ThreePages();
    Form->SpeedButton12->trigger();  // page 2
    Form->SpeedButton16->trigger();
    EXPECT_FALSE(Plotter().ApplyToAll);
    EXPECT_FALSE(Form->SpeedButton16->isChecked());
    Form->SpeedButton15->trigger();
    Form->SpeedButton9->trigger();
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(Plotter().Pages(I).Orientation, I == 1 ? 1 : 0) << I;
        EXPECT_EQ(Plotter().Pages(I).ViewPlane, I == 1 ? 2 : 0) << I;
    }

    // Units reset the offsets of the current page only, then of all pages with ApplyToAll.
    for (int I = 0; I < 3; ++I) Plotter().Pages(I).Offset = {1, 2, 0};
    Form->ComboBox1->setCurrentIndex(3);
    Form->UnitsChange();
    EXPECT_EQ(Plotter().Units, 3);
    EXPECT_EQ(Plotter().Pages(0).Offset, (TMVector{1, 2, 0}));
    EXPECT_EQ(Plotter().Pages(1).Offset, ZeroVector);
    Form->SpeedButton16->trigger();
    Form->ComboBox1->setCurrentIndex(4);
    Form->UnitsChange();
    for (int I = 0; I < 3; ++I) EXPECT_EQ(Plotter().Pages(I).Offset, ZeroVector) << I;
    Plotter().Pages(2).Offset = {1, 2, 0};
    Form->ToolButton6->trigger();
    EXPECT_EQ(Plotter().Pages(2).Offset, ZeroVector);
}

TEST_F(PlotterFormTest, ThePrintDialogsChoicePrintsThosePages) {
    ThreePages();
    std::vector<TPrintChoice> Offered;
    TPrintChoice Answer;
    bool Confirm = true;
    Form->ExecutePrintDialog = [&](TPrintChoice& Choice) {
        Offered.push_back(Choice);
        Choice = Answer;
        return Confirm;
    };
    const struct {
        TPrintRange Range;
        int From, To;
        int Pages;
    } Cases[] = {{TPrintRange::AllPages, 1, 3, 3}, {TPrintRange::Selection, 1, 3, 1}, {TPrintRange::PageNums, 2, 3, 2}};
    for (const auto& C : Cases) {
        QFile::remove(PdfName());
        Answer = {C.Range, C.From, C.To, 2};
        Form->SpeedButton5->trigger();
        EXPECT_EQ(PdfPages(PdfName()), C.Pages) << int(C.Range);
        EXPECT_EQ(Printer.copyCount(), 2);
    }
    ASSERT_EQ(Offered.size(), 3u);
    EXPECT_EQ(Offered[0].FromPage, 1);
    EXPECT_EQ(Offered[0].ToPage, 3);
    EXPECT_EQ(Printer.docName().toStdString(), GExeName + " - Plotter");

    // Cancelled, nothing is printed; without pages there is no dialog.
    QFile::remove(PdfName());
    Confirm = false;
    Form->Print1->trigger();
    EXPECT_FALSE(QFile::exists(PdfName()));
    Plotter().ClearPages();
    Form->Print();
    EXPECT_EQ(Offered.size(), 4u);
}

TEST_F(PlotterFormTest, ThePreviewShowsThePageOnItsSheet) {
    AddLines(1);
    Form->Setup(List);
    Plotter().SetFit(true);
    Form->show();
    TOpenGLView& View = *Form->OpenGLView2;
    for (int I = 0; I < 200 && !View.IsContextReady(); ++I) QApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(View.IsContextReady()) << "no OpenGL context: run the GUI tests under xvfb-run";
    // The fit asked for before the preview could draw runs once it draws.
    for (int I = 0; I < 20; ++I) QApplication::processEvents(QEventLoop::AllEvents, 10);
    View.Render();
    auto PixelAt = [&View](TPoint P) {
        View.makeCurrent();
        GLubyte RGBA[4] = {};
        glReadPixels(P.X, View.GetClientHeight() - 1 - P.Y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, RGBA);
        return QColor(RGBA[0], RGBA[1], RGBA[2]);
    };
    // The fitted line crosses the printable area's centre, over the paper at the same depth.
    const TPoint Centre =
        View.WorldToScreen(Plotter().GetPrintableWidth() / 2.0, Plotter().GetPrintableHeight() / 2.0, 0);
    bool Red = false;
    for (int D = -1; D <= 1; ++D) Red = Red || PixelAt({Centre.X, Centre.Y + D}) == QColor(Qt::red);
    EXPECT_TRUE(Red);
    EXPECT_EQ(PixelAt(View.WorldToScreen(Plotter().GetPrintableWidth() - 10, 10, 0)), ColorToQColor(clWindow));
    EXPECT_EQ(View.GetBackColor(), clAppWorkSpace);
}

TEST_F(PlotterFormTest, APdfPrinterOffersTheUsualSheets) {
    EXPECT_EQ(Form->VkPageSizeComboBox1->count(), 13);
    Printer.setPageSize(QPageSize(QPageSize::A3));
    Form->VkPageSizeComboBox1->Refresh();
    EXPECT_EQ(Form->VkPageSizeComboBox1->currentText(), "A3");
    Form->VkPageSizeComboBox1->setCurrentIndex(Form->VkPageSizeComboBox1->findText("A4"));
    Form->VkPageSizeComboBox1->Change();
    EXPECT_EQ(Printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(Plotter().GetPrintableWidth(), Printer.widthMM());
}

// ---- The printer and paper lists on a scripted platform ----

class TScriptedDevices : public IPrinterDevices {
public:
    std::vector<std::string> Names;
    int Selected = -1;
    bool Settings = true;
    int Paper = 0;
    std::vector<TPaperSize> Sizes;
    int Reselects = 0;

    std::vector<std::string> PrinterNames() override { return Names; }
    int GetPrinterIndex() override { return Selected; }
    void SetPrinterIndex(int Index) override { Selected = Index; }
    bool HasDeviceSettings() override { return Settings; }
    int GetPaperSize() override { return Paper; }
    void SetPaperSize(int Code) override { Paper = Code; }
    void ReselectPrinter() override { ++Reselects; }
    std::vector<TPaperSize> PaperSizes() override { return Sizes; }
};

std::vector<std::string> Items(const QComboBox& Box) {
    std::vector<std::string> Result;
    for (int I = 0; I < Box.count(); ++I) Result.push_back(Box.itemText(I).toStdString());
    return Result;
}

TEST(VkPrinterComboBox, ListsThePrintersSortedAndSelectsTheChosenOne) {
    TScriptedDevices Devices;
    Devices.Names = {"Zeta", "alpha", "Alpha"};
    Devices.Selected = 0;
    TVkPrinterComboBox Box(Devices);
    EXPECT_EQ(Items(Box), (std::vector<std::string>{"alpha", "Alpha", "Zeta"}));
    EXPECT_EQ(Box.currentText(), "Zeta");
    int Changes = 0;
    Box.OnChange = [&](QObject*) { ++Changes; };
    Box.setCurrentIndex(1);
    Box.Change();
    EXPECT_EQ(Devices.Selected, 2);
    EXPECT_EQ(Changes, 1);

    // A selected printer the list lacks leaves no selection.
    Devices.Names = {"Beta"};
    Devices.Selected = -1;
    Box.Refresh();
    EXPECT_EQ(Box.currentIndex(), -1);
}

TEST(VkPageSizeComboBox, ListsThePrintersPapersWithTheirCodes) {
    TScriptedDevices Devices;
    Devices.Sizes = {{"Letter", 1}, {"A4", 9}, {std::string("A5\0junk", 7), 11}, {"A4 Small", 9}};
    Devices.Paper = 9;
    TVkPageSizeComboBox Box(Devices);
    EXPECT_EQ(Items(Box), (std::vector<std::string>{"A4", "A4 Small", "A5", "Letter"}));
    // The last item of the printer's code.
    EXPECT_EQ(Box.currentText(), "A4 Small");
    EXPECT_EQ(Box.GetPaperCode(), 9);
    Box.setCurrentIndex(3);
    const int Before = Devices.Reselects;
    Box.Change();
    EXPECT_EQ(Devices.Paper, 1);
    EXPECT_GT(Devices.Reselects, Before);

    // A device that reports no sizes leaves the list as it was.
    Devices.Sizes.clear();
    Box.Refresh();
    EXPECT_EQ(Box.count(), 4);

    // A printer without device settings: no code, no selection, paper changes ignored.
    Devices.Sizes = {{"A4", 9}};
    Devices.Settings = false;
    Box.Refresh();
    EXPECT_EQ(Box.GetPaperCode(), -1);
    EXPECT_EQ(Box.currentIndex(), -1);
    Box.SetPaperCode(9);
    EXPECT_EQ(Devices.Paper, 1);
}

}  // namespace
}  // namespace sarnova
