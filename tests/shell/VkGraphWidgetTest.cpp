// The chart control in its window: painting, mouse events, printing, the desktop clipboard and the
// properties dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "shell/ShellTestSupport.h"
#include "controls/VkGraph.h"
#include "controls/VkGraphForm.h"

namespace sarnova {
namespace {

void FillChart(TVkGraphCore& Graph) {
    TVkSeriesList& List = Graph.GetSeriesList();
    List.BeginUpdate();
    TVkSeries& A = List.AddNew("A");
    A.AddXY(1, 2);
    A.AddXY(3, 4);
    List.AddNew("B").AddXY(5, 6);
    List.EndUpdate();
}

void SendMouse(QWidget& W, QEvent::Type Type, QPoint At, Qt::MouseButton Button, Qt::MouseButtons Buttons) {
    QMouseEvent Event(Type, QPointF(At), W.mapToGlobal(QPointF(At)), Button, Buttons, Qt::NoModifier);
    QApplication::sendEvent(&W, &Event);
}

TEST(VkGraphWidget, PaintsTheChartAndPansWithTheMouse) {
    TVkGraph Graph;
    FillChart(Graph);
    Graph.resize(420, 300);
    Graph.show();
    Settle();
    ASSERT_NE(Graph.GetPopupMenu(), nullptr);  // loaded when first shown
    Graph.repaint();
    const QImage Image = Graph.RenderImage();
    EXPECT_EQ(Image.size(), Graph.contentsRect().size());
    EXPECT_EQ(Image.pixelColor(1, 1), QColor(Qt::white));
    const TRect Plot = Graph.GetPlotRect();
    ASSERT_GT(Plot.Right - Plot.Left, 100);
    EXPECT_EQ(Image.pixelColor((Plot.Left + Plot.Right) / 2, Plot.Top + 3), QColor(0, 255, 255));  // clAqua

    Graph.SetMouseMode(lgmPan);
    EXPECT_EQ(Graph.cursor().shape(), Qt::OpenHandCursor);
    const double Min = Graph.GetXAxis().GetMin(), Max = Graph.GetXAxis().GetMax();
    const QPoint Origin = Graph.contentsRect().topLeft();
    const int Width = Plot.Right - Plot.Left;
    const QPoint Start = Origin + QPoint(Plot.Left + 10, Plot.Top + 10);
    SendMouse(Graph, QEvent::MouseButtonPress, Start, Qt::LeftButton, Qt::LeftButton);
    SendMouse(Graph, QEvent::MouseMove, Start + QPoint(Width / 2, 0), Qt::NoButton, Qt::LeftButton);
    SendMouse(Graph, QEvent::MouseButtonRelease, Start + QPoint(Width / 2, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(Graph.GetDragging());
    const double Shift = (Max - Min) * (Width / 2) / Width;
    EXPECT_NEAR(Graph.GetXAxis().GetMin(), Min - Shift, 1e-9);
    EXPECT_NEAR(Graph.GetXAxis().GetMax(), Max - Shift, 1e-9);
}

TEST(VkGraphWidget, PrintsToPdf) {
    TVkGraph Graph;
    FillChart(Graph);
    const auto Path = std::filesystem::temp_directory_path() / "sarnova-chart.pdf";
    QPrinter Printer(QPrinter::HighResolution);
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(QString::fromStdString(Path.string()));
    Graph.Print(Printer);
    EXPECT_EQ(Printer.docName(), QGuiApplication::applicationDisplayName() + " - Graph");
    std::ifstream In(Path, std::ios::binary);
    std::string Head(5, '\0');
    In.read(Head.data(), 5);
    EXPECT_EQ(Head, "%PDF-");
    EXPECT_GT(std::filesystem::file_size(Path), 1000u);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    std::filesystem::remove(Path);
}

TEST(VkGraphWidget, CopiesTextPicturesAndItsFormatToTheDesktopClipboard) {
    auto Source = std::make_unique<TVkGraph>();
    FillChart(*Source);
    Source->CopyToClipboard();
    const QMimeData* Data = QApplication::clipboard()->mimeData();
    ASSERT_NE(Data, nullptr);
    EXPECT_EQ(Data->text().toStdString(), "A\r\n1\t2\r\n3\t4\r\n\r\n\r\nB\r\n5\t6\r\n\r\n\r\n");
    EXPECT_EQ(qvariant_cast<QImage>(Data->imageData()).size(),
              QSize(Source->GetClientWidth(), Source->GetClientHeight()));
    EXPECT_TRUE(Data->data("application/pdf").startsWith("%PDF"));
    EXPECT_TRUE(Data->hasFormat(ChartClipboardMimeType));

    TVkGraph Target;
    Target.Paste();
    EXPECT_EQ(Target.GetSeriesList().Count(), 2);
    Source.reset();
    EXPECT_FALSE(Target.HasChartFormat());
    Target.Paste();
    EXPECT_EQ(Target.GetSeriesList().Count(), 2);
}

class GraphForm : public ::testing::Test {
protected:
    TVkGraphCore Graph;
    TVkGraphForm Form;

    template <class T>
    T* Control(const char* Name) {
        T* Result = Form.findChild<T*>(Name);
        EXPECT_NE(Result, nullptr) << Name;
        return Result;
    }
};

TEST_F(GraphForm, AxisSpinEditsAndAutoBoxes) {
    FillChart(Graph);
    Form.SetGraph(&Graph);
    auto* Auto = Control<QCheckBox>("CheckBox1");
    auto* Minimum = Control<QDoubleSpinBox>("VkSpinEdit2");
    EXPECT_TRUE(Auto->isChecked());
    EXPECT_EQ(Minimum->value(), Graph.GetXAxis().GetMin());
    Minimum->setValue(-3);
    EXPECT_FALSE(Auto->isChecked());
    EXPECT_FALSE(Graph.GetXAxis().GetAutoMin());
    EXPECT_EQ(Graph.GetXAxis().GetMin(), -3);
    Auto->click();
    EXPECT_TRUE(Graph.GetXAxis().GetAutoMin());
    EXPECT_EQ(Minimum->value(), 1);  // the automatic minimum again
    Control<QLineEdit>("Edit1")->setText("Area");
    EXPECT_EQ(Graph.GetYAxis().GetTitle(), "Area");
}

TEST_F(GraphForm, SeriesPageEditsAndDeletesSeries) {
    Graph.GetSeriesList().AddNew("Only");
    Form.SetGraph(&Graph);
    auto* Delete = Control<QPushButton>("DelButt");
    EXPECT_FALSE(Delete->isEnabled());
    Delete->setEnabled(true);
    Delete->click();  // fewer than two series: nothing
    EXPECT_EQ(Graph.GetSeriesList().Count(), 1);

    Graph.GetSeriesList().AddNew("Second");
    Form.RefreshControls();
    auto* List = Control<QListWidget>("SeriesListBox");
    ASSERT_EQ(List->count(), 2);
    EXPECT_EQ(List->item(1)->text(), "Series[1]: Second");
    Control<QLineEdit>("Edit5")->setText("First");
    EXPECT_EQ(Graph.GetSeriesList().GetSeries(0).GetName(), "First");
    EXPECT_EQ(List->item(0)->text(), "Series[0]: First");
    EXPECT_TRUE(Delete->isEnabled());
    Delete->click();
    ASSERT_EQ(Graph.GetSeriesList().Count(), 1);
    EXPECT_EQ(Graph.GetSeriesList().GetSeries(0).GetName(), "Second");
    EXPECT_EQ(Form.GetShownSeries(), &Graph.GetSeriesList().GetSeries(0));
}

}  // namespace
}  // namespace sarnova
